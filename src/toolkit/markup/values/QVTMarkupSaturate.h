// Whole device pixels from wider arithmetic: layout sums are taken in 64 bits
// or in floats and brought back into 32 bits without wrapping round.
#pragma once

#include <afx.h>

#include <algorithm>
#include <climits>

inline int MarkupSaturate(__int64 nValue)
{
    return static_cast<int>(std::clamp<__int64>(nValue, INT_MIN, INT_MAX));
}

// Toward zero; values beyond 32 bits, and NaN, saturate.
inline int MarkupTruncate(double dValue)
{
    if (!(dValue > -2147483648.0))
        return INT_MIN;
    if (dValue >= 2147483647.0)
        return INT_MAX;
    return static_cast<int>(dValue);
}
