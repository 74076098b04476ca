// How shapes, viewboxes and images fill the room they are given.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

enum QVTMarkupStretch
{
    qvtStretchNone = 0,
    qvtStretchFill = 1,
    qvtStretchUniform = 2,
    qvtStretchUniformToFill = 3,
};

// "None", "Fill", "Uniform" and "UniformToFill", in any case.
CQVTMarkupObject* AFX_CDECL ConvertMarkupStretch(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource,
                                                 CQVTMarkupDependencyProperty* pProperty);
