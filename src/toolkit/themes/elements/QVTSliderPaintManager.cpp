#include "toolkit/themes/elements/QVTSliderPaintManager.h"

#include <algorithm>

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTSliderPaintManager, CQVTScrollBarPaintManager)
IMPLEMENT_DYNAMIC(CQVTSliderThemeOffice2007System, CQVTSliderPaintManager)

CQVTSliderPaintManager::CQVTSliderPaintManager(CQVTPaintManager* pPaintManager)
    : m_pPaintManager(pPaintManager)
{
}

void CQVTSliderPaintManager::RefreshMetrics()
{
    CQVTScrollBarPaintManager::RefreshMetrics();
    m_cxHScroll = CQVTPaintManager::DpiX(16);
    m_cyHScroll = CQVTPaintManager::DpiY(16);
    m_nThumbSize = CQVTPaintManager::DpiX(11);
}

CQVTSliderThemeOffice2007System::CQVTSliderThemeOffice2007System(CQVTPaintManager* pPaintManager)
    : CQVTSliderPaintManager(pPaintManager)
{
}

void CQVTSliderThemeOffice2007System::DrawTick(CDC* pDC, int x, int y)
{
    const COLORREF clrDark = GetColorByIndex(COLOR_3DSHADOW), clrLight = GetColorByIndex(COLOR_3DHILIGHT);
    pDC->FillSolidRect(x, y, 1, 4, clrDark);
    pDC->FillSolidRect(x, y + 5, 1, 2, clrDark);
    pDC->FillSolidRect(x + 1, y, 1, 7, clrLight);
}

void CQVTSliderThemeOffice2007System::DrawButton(CDC* pDC, const CRect& rcArrow, BOOL bHot, BOOL bPressed,
                                                 BOOL bPlus)
{
    const int nSide = std::min(rcArrow.Width(), rcArrow.Height());
    if (nSide <= 0)
        return;
    CRect rc(
        CPoint(rcArrow.left + (rcArrow.Width() - nSide) / 2, rcArrow.top + (rcArrow.Height() - nSide) / 2),
        CSize(nSide, nSide));
    const COLORREF clrFill = GetColorByIndex(bHot ? COLOR_3DHILIGHT : COLOR_3DFACE);
    CQVTPaintManager::DrawAntialiasedCircle(pDC, rc, GetColorByIndex(COLOR_3DSHADOW), clrFill);
    if (!bPressed && nSide > 2)
    {
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        CQVTPaintManager::DrawAntialiasedCircle(pDC, rcInner, GetColorByIndex(COLOR_3DHILIGHT), clrFill);
    }
    const CPoint c = rc.CenterPoint();
    const COLORREF clrSign = GetColorByIndex(COLOR_3DSHADOW);
    pDC->FillSolidRect(c.x - 4, c.y - 1, 8, 2, clrSign);
    if (bPlus)
        pDC->FillSolidRect(c.x - 1, c.y - 4, 2, 8, clrSign);
}

void CQVTSliderThemeOffice2007System::DrawThumb(CDC* pDC, const CRect& rcThumb, BOOL bHot, BOOL bPressed)
{
    // 8 by 13 px, centred on the thumb's place, its point downwards.
    const int x = rcThumb.CenterPoint().x - 4, y = rcThumb.CenterPoint().y - 6;
    const POINT outline[] = {{x, y},          {x + 7, y},      {x + 7, y + 9},
                             {x + 4, y + 12}, {x + 3, y + 12}, {x, y + 9}};
    CBrush brush(GetColorByIndex(bHot ? COLOR_3DHILIGHT : COLOR_3DFACE));
    CPen pen(PS_SOLID, 1, GetColorByIndex(COLOR_3DSHADOW));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(outline, 6);
    if (!bPressed)
    {
        CPen penLight(PS_SOLID, 1, GetColorByIndex(COLOR_3DHILIGHT));
        pDC->SelectObject(&penLight);
        const POINT inner[] = {{x + 1, y + 8}, {x + 1, y + 1}, {x + 6, y + 1}};
        pDC->Polyline(inner, 3);
        pDC->SelectObject(&pen);
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void CQVTSliderThemeOffice2007System::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    const CRect rcBar(spi.rc);
    if (rcBar.IsRectEmpty())
        return;
    const int nPressed = pScrollBar->GetPressedPart();
    const int nHot = pScrollBar->GetHotPart();
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);

    // The channel between the buttons, two lines through the middle.
    const int yMiddle = rcBar.CenterPoint().y;
    CRect rcChannel(parts.rcTrack.left, yMiddle - 1, parts.rcTrack.right, yMiddle + 1);
    pDC->FillSolidRect(rcChannel.left, yMiddle - 1, rcChannel.Width(), 1, GetColorByIndex(COLOR_3DSHADOW));
    pDC->FillSolidRect(rcChannel.left, yMiddle, rcChannel.Width(), 1, GetColorByIndex(COLOR_3DHILIGHT));

    // Ticks within the channel less 6 px at each end, and always the centre mark.
    CRect rcTicks(rcChannel);
    rcTicks.DeflateRect(CQVTPaintManager::DpiX(6), 0);
    const int yTick = yMiddle - 3;
    IQVTSliderTicks* pTicks = dynamic_cast<IQVTSliderTicks*>(pScrollBar);
    if (pTicks && spi.posMax > spi.posMin && rcTicks.Width() > 0)
    {
        const LONGLONG nRange = static_cast<LONGLONG>(spi.posMax) - spi.posMin;
        for (int i = 0; i < pTicks->GetTickCount(); ++i)
        {
            const LONGLONG nOffset = static_cast<LONGLONG>(pTicks->GetTick(i)) - spi.posMin;
            if (nOffset < 0 || nOffset > nRange)
                continue;
            DrawTick(pDC, rcTicks.left + static_cast<int>(nOffset * rcTicks.Width() / nRange), yTick);
        }
    }
    DrawTick(pDC, rcTicks.CenterPoint().x, yTick);

    DrawButton(pDC, parts.rcArrowFirst, nHot == qvtScrollHitUpArrow, nPressed == qvtScrollHitUpArrow, FALSE);
    DrawButton(pDC, parts.rcArrowSecond, nHot == qvtScrollHitDownArrow, nPressed == qvtScrollHitDownArrow,
               TRUE);

    if (parts.bEnabled && !parts.rcThumb.IsRectEmpty())
    {
        CRect rcThumb(parts.rcThumb);
        rcThumb.IntersectRect(rcThumb, parts.rcTrack);
        const BOOL bThumbHot = nHot == qvtScrollHitThumb;
        DrawThumb(pDC, rcThumb, bThumbHot, nPressed == qvtScrollHitThumb);
    }
}
