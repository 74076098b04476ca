// Markup objects that sit in markup without being content (the script
// element): their parent only keeps a reference to them.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupExtension : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupExtension)
};
