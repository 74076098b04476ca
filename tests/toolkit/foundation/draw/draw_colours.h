// The colours the drawing tests paint and read back.
#pragma once

#include <windows.h>

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
