#include "toolkit/markup/extensions/QVTMarkupExtension.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupExtension, CQVTMarkupObject, nullptr, nullptr)
