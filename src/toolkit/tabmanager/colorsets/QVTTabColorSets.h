// The colour sets SetColor makes from an id.
#pragma once

#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

// A new colour set for the id (the default set for ids it does not know);
// null when it cannot be allocated.
CQVTTabPaintManagerColorSet* AFXAPI CreateTabColorSet(int nColorSet);
