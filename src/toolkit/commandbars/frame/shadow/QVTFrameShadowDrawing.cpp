// CQVTFrameShadow: placing the bands and drawing the gradients into them.
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"

#include <algorithm>

#include "toolkit/markup/draw/QVTGdiPlusGradients.h"

namespace {
const float kShadowOverhang = 0.1f;

Gdiplus::ARGB FrameShadowColour(COLORREF clr, BYTE nAlpha)
{
    return (static_cast<Gdiplus::ARGB>(nAlpha) << 24) | (static_cast<Gdiplus::ARGB>(GetRValue(clr)) << 16) |
           (static_cast<Gdiplus::ARGB>(GetGValue(clr)) << 8) | GetBValue(clr);
}

const float* FrameShadowStops(const std::vector<float>& values)
{
    return values.empty() ? nullptr : values.data();
}

// A top-down 32-bit DIB section, its bits zeroed by the system.
HBITMAP FrameShadowCreateBits(int cx, int cy, void** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, ppBits, nullptr, 0);
}
}  // namespace

void AFX_CDECL CQVTFrameShadow::ComputeBandRects(const CRect& rcShadow, const CRect& rcFrame, CRect* pBands)
{
    const int nTop = std::min(std::max(rcFrame.top, rcShadow.top), rcShadow.bottom);
    const int nBottom = std::max(std::min(rcFrame.bottom, rcShadow.bottom), nTop);
    const int nLeft = std::min(std::max(rcFrame.left, rcShadow.left), rcShadow.right);
    const int nRight = std::max(std::min(rcFrame.right, rcShadow.right), nLeft);
    pBands[bandTop] = CRect(rcShadow.left, rcShadow.top, rcShadow.right, nTop);
    pBands[bandBottom] = CRect(rcShadow.left, nBottom, rcShadow.right, rcShadow.bottom);
    pBands[bandLeft] = CRect(rcShadow.left, nTop, nLeft, nBottom);
    pBands[bandRight] = CRect(nRight, nTop, rcShadow.right, nBottom);
}

void CQVTFrameShadow::Update(BOOL bReposition, BOOL bRedraw)
{
    if (!m_bEnabled || !m_bShown || m_bUpdating)
        return;
    if (::IsIconic(m_hWndFrame))
    {
        // Back only once the restored frame has painted its border.
        m_bMinimized = TRUE;
        m_bUpdatePending = TRUE;
        HideBands();
        return;
    }
    if (m_bSuspended || m_bMinimized || !::IsWindowVisible(m_hWndFrame))
    {
        m_bUpdatePending = TRUE;
        return;
    }
    if (::IsZoomed(m_hWndFrame))
    {
        HideBands();
        return;
    }
    m_bUpdating = TRUE;
    CRect rcFrame;
    ::GetWindowRect(m_hWndFrame, &rcFrame);
    CRect rcShadow = rcFrame;
    rcShadow.InflateRect(m_nOuterSize, m_nOuterSize);
    rcShadow.OffsetRect(m_ptOffset);
    BOOL bChanged = rcShadow.Size() != m_rcShadow.Size() || rcFrame.Size() != m_rcFrame.Size();
    for (int i = 0; i < bandCount && !bChanged; ++i)
        bChanged = m_pBands[i]->GetSafeHwnd() != nullptr && !m_pBands[i]->IsWindowVisible();
    m_rcShadow = rcShadow;
    m_rcFrame = rcFrame;
    // Drawn before the bands show: a layered window shown before its first
    // bitmap shows black where no compositor blends it.
    if (bRedraw || bChanged || m_bUpdatePending)
        Redraw();
    if (bReposition || bChanged)
        PlaceBands(bChanged);
    m_bUpdatePending = FALSE;
    m_bUpdating = FALSE;
}

void CQVTFrameShadow::PlaceBands(BOOL bSizeChanged)
{
    CRect rcBands[bandCount];
    ComputeBandRects(m_rcShadow, m_rcFrame, rcBands);
    for (int i = 0; i < bandCount; ++i)
    {
        CBand* pBand = m_pBands[i];
        if (pBand == nullptr || pBand->GetSafeHwnd() == nullptr)
            continue;
        if (rcBands[i].IsRectEmpty())
        {
            if (pBand->IsWindowVisible())
                pBand->SetWindowPos(nullptr, 0, 0, 0, 0,
                                    SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        UINT nFlags = SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;
        CRect rcWindow;
        pBand->GetWindowRect(&rcWindow);
        if (!bSizeChanged && rcWindow.Size() == rcBands[i].Size())
            nFlags |= SWP_NOSIZE;
        if (!pBand->IsWindowVisible())
            nFlags |= SWP_SHOWWINDOW;
        ::SetWindowPos(pBand->GetSafeHwnd(), m_hWndFrame, rcBands[i].left, rcBands[i].top, rcBands[i].Width(),
                       rcBands[i].Height(), nFlags);
    }
}

BYTE CQVTFrameShadow::GetConstantAlpha() const
{
    const int nOptions = m_pManager->GetEffectiveOptions();
    const int nHidden = CQVTFrameShadowManager::optionInvisible | CQVTFrameShadowManager::optionNoHitTest;
    if ((nOptions & nHidden) == nHidden)
        return 0;
    // Nearly invisible, yet it still catches the mouse.
    if (nOptions & CQVTFrameShadowManager::optionInvisible)
        return 2;
    return m_nTransparency;
}

void CQVTFrameShadow::Redraw()
{
    CRect rcBands[bandCount];
    ComputeBandRects(m_rcShadow, m_rcFrame, rcBands);
    for (int i = 0; i < bandCount; ++i)
        if (!rcBands[i].IsRectEmpty() && m_pBands[i] != nullptr && m_pBands[i]->GetSafeHwnd() != nullptr)
            DrawBand(i, rcBands[i]);
}

void CQVTFrameShadow::DrawBand(int nBand, const CRect& rcBand)
{
    if (m_pManager->m_pfnUpdateLayeredWindow == nullptr)
        return;
    void* pBits = nullptr;
    HBITMAP hBitmap = FrameShadowCreateBits(rcBand.Width(), rcBand.Height(), &pBits);
    if (hBitmap == nullptr)
        return;
    const int nOptions = m_pManager->GetEffectiveOptions();
    const int nHidden = CQVTFrameShadowManager::optionInvisible | CQVTFrameShadowManager::optionNoHitTest;
    if ((nOptions & nHidden) != nHidden && QVTGdiPlus::EnsureStarted())
    {
        // GDI+ draws on a bitmap of its own over the section's bits: a
        // graphics made on the DC would drop the alpha it writes.
        QVTGdiPlus::CGpImage image;
        Gdiplus::GpBitmap* pBitmap = nullptr;
        if (QVTGdiPlus::GdipCreateBitmapFromScan0(rcBand.Width(), rcBand.Height(), rcBand.Width() * 4,
                                                  PixelFormat32bppPARGB, static_cast<BYTE*>(pBits),
                                                  &pBitmap) == Gdiplus::Ok)
        {
            image.Reset(pBitmap);
            QVTGdiPlus::CGpGraphics graphics;
            if (QVTGdiPlus::GdipGetImageGraphicsContext(image, graphics.Receive()) == Gdiplus::Ok)
            {
                QVTGdiPlus::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
                QVTGdiPlus::GdipTranslateWorldTransform(
                    graphics, static_cast<float>(m_rcShadow.left - rcBand.left),
                    static_cast<float>(m_rcShadow.top - rcBand.top), Gdiplus::MatrixOrderPrepend);
                DrawShadow(graphics.Get());
                QVTGdiPlus::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
            }
        }
    }
    HDC hMemDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    POINT ptDst = {rcBand.left, rcBand.top};
    SIZE size = {rcBand.Width(), rcBand.Height()};
    POINT ptSrc = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, GetConstantAlpha(), AC_SRC_ALPHA};
    m_pManager->m_pfnUpdateLayeredWindow(m_pBands[nBand]->GetSafeHwnd(), nullptr, &ptDst, &size, hMemDC,
                                         &ptSrc, 0, &blend, ULW_ALPHA);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    ::DeleteObject(hBitmap);
}

BOOL CQVTFrameShadow::DrawShadow(Gdiplus::GpGraphics* pGraphics)
{
    using Gdiplus::PointF;
    const int cx = m_rcShadow.Width();
    const int cy = m_rcShadow.Height();
    const CDrawingRects rects = ComputeDrawingRects(cx, cy, m_nOuterSize, m_nInnerSize);
    const Gdiplus::ARGB argbOpaque = FrameShadowColour(m_clrShadow, 255);
    const Gdiplus::ARGB argbClear = FrameShadowColour(m_clrShadow, 0);
    const float* pFactors = FrameShadowStops(m_edgeFactors);
    const float* pPositions = FrameShadowStops(m_edgePositions);
    const int nStops = static_cast<int>(m_edgeFactors.size());
    const float w = static_cast<float>(rects.szCorner.cx);
    const float h = static_cast<float>(rects.szCorner.cy);
    const float o = kShadowOverhang;
    // Each edge from the frame's side (opaque) outwards (clear).
    const PointF edgeFrom[4] = {PointF(w + o, 0), PointF(0, h + o), PointF(cx - w - o, 0),
                                PointF(0, cy - h - o)};
    const PointF edgeTo[4] = {PointF(-o, 0), PointF(0, -o), PointF(cx + o, 0), PointF(0, cy + o)};
    BOOL bDrawn = TRUE;
    for (int i = 0; i < 4; ++i)
    {
        const CRect& rc = rects.rcEdges[i];
        if (rc.IsRectEmpty())
            continue;
        QVTGdiPlus::CGpBrush brush = QVTGdiPlus::CreateLinearGradient(
            edgeFrom[i], edgeTo[i], argbOpaque, argbClear, pFactors, pPositions, nStops);
        bDrawn &= brush && QVTGdiPlus::GdipFillRectangleI(pGraphics, brush, rc.left, rc.top, rc.Width(),
                                                          rc.Height()) == Gdiplus::Ok;
    }
    if (!rects.rcCentre.IsRectEmpty())
    {
        QVTGdiPlus::CGpBrush brush = QVTGdiPlus::CreateLinearGradient(
            PointF(0, 0), PointF(0, static_cast<float>(std::max(1, rects.rcCentre.Height()))), argbOpaque,
            argbClear, FrameShadowStops(m_centreFactors), FrameShadowStops(m_centrePositions),
            static_cast<int>(m_centreFactors.size()));
        bDrawn &= brush && QVTGdiPlus::GdipFillRectangleI(pGraphics, brush, rects.rcCentre.left,
                                                          rects.rcCentre.top, rects.rcCentre.Width(),
                                                          rects.rcCentre.Height()) == Gdiplus::Ok;
    }
    if (w <= 0 || h <= 0)
        return bDrawn;
    // Quarter ellipses around the inner corner points, their outline clear.
    const PointF corners[4] = {PointF(w, h), PointF(cx - w, h), PointF(cx - w, cy - h), PointF(w, cy - h)};
    const float startAngles[4] = {270, 0, 90, 180};
    for (int i = 0; i < 4; ++i)
    {
        const Gdiplus::RectF rcEllipse =
            QVTGdiPlus::MakeRectF(corners[i].X - w, corners[i].Y - h, 2 * w, 2 * h);
        QVTGdiPlus::CGpBrush brush = QVTGdiPlus::CreateEllipseGradient(
            rcEllipse, argbOpaque, argbClear, FrameShadowStops(m_cornerFactors),
            FrameShadowStops(m_cornerPositions), static_cast<int>(m_cornerFactors.size()));
        bDrawn &=
            brush && QVTGdiPlus::GdipFillPie(pGraphics, brush, rcEllipse.X, rcEllipse.Y, rcEllipse.Width,
                                             rcEllipse.Height, startAngles[i], -90) == Gdiplus::Ok;
    }
    return bDrawn;
}
