// Gradient brushes over the flat GDI+ API: linear ones between two points and
// path gradients filling an ellipse from its centre, each with an optional
// blend (factors at positions from 0 to 1).
#pragma once

#include "toolkit/markup/draw/QVTGdiPlus.h"

namespace QVTGdiPlus {
// A blend the flat API accepts: at least two stops, positions rising from 0
// to 1, factors within 0 and 1. Anything else is refused by GDI+ anyway, so
// callers check before they keep one.
BOOL AFXAPI IsValidBlend(const float* pFactors, const float* pPositions, int nCount);

// From argbFrom at ptFrom to argbTo at ptTo, mirrored beyond the end points;
// the blend applies when nCount is not 0. None when GDI+ refuses.
CGpBrush AFXAPI CreateLinearGradient(const Gdiplus::PointF& ptFrom, const Gdiplus::PointF& ptTo,
                                     Gdiplus::ARGB argbFrom, Gdiplus::ARGB argbTo,
                                     const float* pFactors = nullptr, const float* pPositions = nullptr,
                                     int nCount = 0);

// Fills the ellipse of the rectangle: argbCentre at its centre, argbSurround
// on its outline; the blend's position 0 is the outline, 1 the centre.
CGpBrush AFXAPI CreateEllipseGradient(const Gdiplus::RectF& rcEllipse, Gdiplus::ARGB argbCentre,
                                      Gdiplus::ARGB argbSurround, const float* pFactors = nullptr,
                                      const float* pPositions = nullptr, int nCount = 0);
}  // namespace QVTGdiPlus
