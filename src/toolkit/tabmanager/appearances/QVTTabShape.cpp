#include "toolkit/tabmanager/appearances/QVTTabShape.h"

#include <algorithm>

#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"

int CQVTTabShape::Along() const
{
    return m_nPosition == 1 || m_nPosition == 3 ? m_rc.Height() : m_rc.Width();
}

int CQVTTabShape::Across() const
{
    return m_nPosition == 1 || m_nPosition == 3 ? m_rc.Width() : m_rc.Height();
}

CPoint CQVTTabShape::Map(int u, int v) const
{
    switch (m_nPosition)
    {
    case 1:
        return CPoint(m_rc.left + v, m_rc.top + u);
    case 2:
        return CPoint(m_rc.left + u, m_rc.bottom - 1 - v);
    case 3:
        return CPoint(m_rc.right - 1 - v, m_rc.top + u);
    default:
        return CPoint(m_rc.left + u, m_rc.top + v);
    }
}

CRect CQVTTabShape::MapRect(int u0, int v0, int u1, int v1) const
{
    if (u1 <= u0 || v1 <= v0)
        return CRect(0, 0, 0, 0);
    const CPoint a = Map(u0, v0), b = Map(u1 - 1, v1 - 1);
    return CRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
}

void CQVTTabShape::FillRect(CDC* pDC, int u0, int v0, int u1, int v1, COLORREF clr) const
{
    if (clr == 0xFFFFFFFF)
        return;
    const CRect rc = MapRect(u0, v0, u1, v1);
    if (!rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clr);
}

void CQVTTabShape::LineAlong(CDC* pDC, int u, int v, int nLength, COLORREF clr) const
{
    FillRect(pDC, u, v, u + nLength, v + 1, clr);
}

void CQVTTabShape::LineAcross(CDC* pDC, int u, int v, int nLength, COLORREF clr) const
{
    FillRect(pDC, u, v, u + 1, v + nLength, clr);
}

void CQVTTabShape::Pixel(CDC* pDC, int u, int v, COLORREF clr) const
{
    if (clr != 0xFFFFFFFF)
        pDC->SetPixel(Map(u, v), clr);
}

void CQVTTabShape::BlendPixel(CDC* pDC, int u, int v, COLORREF clr, int nWeight) const
{
    if (clr == 0xFFFFFFFF)
        return;
    const CPoint pt = Map(u, v);
    const COLORREF clrOld = pDC->GetPixel(pt);
    if (clrOld == CLR_INVALID)
        return;
    pDC->SetPixel(pt, CQVTDrawHelpers::BlendColors(clr, clrOld, nWeight / 255.0));
}

CRect AFXAPI QVTTabWidenAlong(CRect rc, int nPosition, int nBefore, int nAfter)
{
    if (nPosition == 0 || nPosition == 2)
        rc.InflateRect(nBefore, 0, nAfter, 0);
    else
        rc.InflateRect(0, nBefore, 0, nAfter);
    return rc;
}

CQVTTabPixelBlock::CQVTTabPixelBlock(int cx, int cy) : m_cx(cx), m_cy(cy)
{
    LPBYTE lpBits = nullptr;
    m_hBitmap = CQVTImageManager::Create32BitDIBSection(nullptr, cx, cy, &lpBits);
    m_pBits = m_hBitmap ? reinterpret_cast<DWORD*>(lpBits) : nullptr;
}

CQVTTabPixelBlock::~CQVTTabPixelBlock()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

void AFXAPI QVTTabDrawTurned(CDC* pDC, const CRect& rc, int nPosition,
                             const std::function<void(CDC*, CRect)>& drawTop)
{
    if (nPosition == 0)
    {
        drawTop(pDC, rc);
        return;
    }
    const CQVTTabShape shape(rc, nPosition);
    const int w = shape.Along(), h = shape.Across();
    if (w <= 0 || h <= 0)
        return;
    CQVTTabPixelBlock actual(rc.Width(), rc.Height()), top(w, h);
    CDC dcMemory;
    if (!actual.IsValid() || !top.IsValid() || !dcMemory.CreateCompatibleDC(pDC))
        return;
    // What lies under the item, seen from the top position; the image on it;
    // then every pixel back where it belongs.
    HGDIOBJ hOld = ::SelectObject(dcMemory.GetSafeHdc(), actual.GetBitmap());
    ::BitBlt(dcMemory.GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), pDC->GetSafeHdc(), rc.left, rc.top,
             SRCCOPY);
    ::GdiFlush();
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u)
        {
            const CPoint pt = shape.Map(u, v) - rc.TopLeft();
            top.At(u, v) = actual.At(pt.x, pt.y);
        }
    ::SelectObject(dcMemory.GetSafeHdc(), top.GetBitmap());
    drawTop(&dcMemory, CRect(0, 0, w, h));
    ::GdiFlush();
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u)
        {
            const CPoint pt = shape.Map(u, v) - rc.TopLeft();
            actual.At(pt.x, pt.y) = top.At(u, v);
        }
    ::SelectObject(dcMemory.GetSafeHdc(), actual.GetBitmap());
    ::BitBlt(pDC->GetSafeHdc(), rc.left, rc.top, rc.Width(), rc.Height(), dcMemory.GetSafeHdc(), 0, 0,
             SRCCOPY);
    ::SelectObject(dcMemory.GetSafeHdc(), hOld);
}

namespace QVTTabDraw {

void Draw3dRect(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (rc.IsRectEmpty())
        return;
    if (clrTopLeft != 0xFFFFFFFF)
    {
        pDC->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, clrTopLeft);
        pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, clrTopLeft);
    }
    if (clrBottomRight != 0xFFFFFFFF)
    {
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrBottomRight);
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrBottomRight);
    }
}

void FrameRect(CDC* pDC, const CRect& rc, COLORREF clr)
{
    Draw3dRect(pDC, rc, clr, clr);
}

CRect HeaderSide(const CRect& rc, int nPosition, int nWidth)
{
    switch (nPosition)
    {
    case qvtTabPositionLeft:
        return CRect(rc.left, rc.top, rc.left + nWidth, rc.bottom);
    case qvtTabPositionBottom:
        return CRect(rc.left, rc.bottom - nWidth, rc.right, rc.bottom);
    case qvtTabPositionRight:
        return CRect(rc.right - nWidth, rc.top, rc.right, rc.bottom);
    default:
        return CRect(rc.left, rc.top, rc.right, rc.top + nWidth);
    }
}

void Line(CDC* pDC, CPoint ptFrom, CPoint ptTo, COLORREF clr)
{
    if (clr == 0xFFFFFFFF)
        return;
    CQVTPenDC pen(pDC->GetSafeHdc(), clr);
    pDC->MoveTo(ptFrom);
    pDC->LineTo(ptTo);
    pDC->SetPixel(ptTo, clr);
}

}  // namespace QVTTabDraw
