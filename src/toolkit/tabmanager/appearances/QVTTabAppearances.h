// The appearance objects SetAppearance makes from an id.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

// A new appearance for the id (the classic one for ids it does not know),
// with the header margins of that id; null when it cannot be allocated.
CQVTTabPaintManagerTheme* AFXAPI CreateTabAppearance(int nAppearance);
