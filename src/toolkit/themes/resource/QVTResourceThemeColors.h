// Colours every theme drawn from resource images shares.
#pragma once

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

namespace QVTResourceThemeColors {
// Keyed images mark their transparent pixels in magenta.
const COLORREF kKey = RGB(255, 0, 255);
// A scheme value of -1 or a missing key: nothing is filled or framed.
const COLORREF kNoColor = CQVTPaintManagerColor::noColor;
}  // namespace QVTResourceThemeColors
