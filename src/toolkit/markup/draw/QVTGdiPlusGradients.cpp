#include "toolkit/markup/draw/QVTGdiPlusGradients.h"

namespace QVTGdiPlus {
BOOL AFXAPI IsValidBlend(const float* pFactors, const float* pPositions, int nCount)
{
    if (nCount < 2 || pFactors == nullptr || pPositions == nullptr)
        return FALSE;
    if (pPositions[0] != 0.0f || pPositions[nCount - 1] != 1.0f)
        return FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        // Written so that NaN fails every test.
        if (!(pFactors[i] >= 0.0f && pFactors[i] <= 1.0f))
            return FALSE;
        if (i > 0 && !(pPositions[i] >= pPositions[i - 1]))
            return FALSE;
    }
    return TRUE;
}

CGpBrush AFXAPI CreateLinearGradient(const Gdiplus::PointF& ptFrom, const Gdiplus::PointF& ptTo,
                                     Gdiplus::ARGB argbFrom, Gdiplus::ARGB argbTo, const float* pFactors,
                                     const float* pPositions, int nCount)
{
    CGpBrush brush;
    Gdiplus::GpLineGradient* pGradient = nullptr;
    if (GdipCreateLineBrush(&ptFrom, &ptTo, argbFrom, argbTo, Gdiplus::WrapModeTileFlipXY, &pGradient) !=
        Gdiplus::Ok)
        return brush;
    brush.Reset(pGradient);
    if (nCount != 0)
    {
        if (!IsValidBlend(pFactors, pPositions, nCount) ||
            GdipSetLineBlend(pGradient, pFactors, pPositions, nCount) != Gdiplus::Ok)
            brush.Reset();
    }
    return brush;
}

CGpBrush AFXAPI CreateEllipseGradient(const Gdiplus::RectF& rcEllipse, Gdiplus::ARGB argbCentre,
                                      Gdiplus::ARGB argbSurround, const float* pFactors,
                                      const float* pPositions, int nCount)
{
    CGpBrush brush;
    CGpPath path;
    if (GdipCreatePath(Gdiplus::FillModeAlternate, path.Receive()) != Gdiplus::Ok ||
        GdipAddPathEllipse(path, rcEllipse.X, rcEllipse.Y, rcEllipse.Width, rcEllipse.Height) != Gdiplus::Ok)
        return brush;
    Gdiplus::GpPathGradient* pGradient = nullptr;
    if (GdipCreatePathGradientFromPath(path, &pGradient) != Gdiplus::Ok)
        return brush;
    brush.Reset(pGradient);
    INT nColors = 1;
    Gdiplus::PointF ptCentre(rcEllipse.X + rcEllipse.Width / 2, rcEllipse.Y + rcEllipse.Height / 2);
    if (GdipSetPathGradientCenterPoint(pGradient, &ptCentre) != Gdiplus::Ok ||
        GdipSetPathGradientCenterColor(pGradient, argbCentre) != Gdiplus::Ok ||
        GdipSetPathGradientSurroundColorsWithCount(pGradient, &argbSurround, &nColors) != Gdiplus::Ok)
    {
        brush.Reset();
        return brush;
    }
    if (nCount != 0)
    {
        if (!IsValidBlend(pFactors, pPositions, nCount) ||
            GdipSetPathGradientBlend(pGradient, pFactors, pPositions, nCount) != Gdiplus::Ok)
            brush.Reset();
    }
    return brush;
}
}  // namespace QVTGdiPlus
