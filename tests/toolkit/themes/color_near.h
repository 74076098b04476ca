// Colour comparisons for drawing tests that sample gradients and stretched
// images: a pixel within a few steps of each channel, and the colour a
// two-colour gradient has at a share of its length.
#pragma once

#include <afxwin.h>

#include <algorithm>
#include <cstdlib>

#include "sondrel_gtest.h"

inline ::testing::AssertionResult NearColor(COLORREF clrExpected, COLORREF clrActual, int nTolerance = 3)
{
    const int d = std::max({std::abs(GetRValue(clrExpected) - GetRValue(clrActual)),
                            std::abs(GetGValue(clrExpected) - GetGValue(clrActual)),
                            std::abs(GetBValue(clrExpected) - GetBValue(clrActual))});
    if (d <= nTolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hex << "expected #" << clrExpected << ", got #" << clrActual;
}

inline COLORREF MixColor(COLORREF a, COLORREF b, double dShare)
{
    auto c = [dShare](int x, int y) { return static_cast<int>(x + (y - x) * dShare + 0.5); };
    return RGB(c(GetRValue(a), GetRValue(b)), c(GetGValue(a), GetGValue(b)), c(GetBValue(a), GetBValue(b)));
}
