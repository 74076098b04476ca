#include "toolkit/themes/office2013/QVTSliderThemeOffice2013.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTSliderThemeOffice2013, CQVTSliderPaintManager)

CQVTSliderThemeOffice2013::CQVTSliderThemeOffice2013(CQVTPaintManager* pPaintManager)
    : CQVTSliderPaintManager(pPaintManager)
{
}

void CQVTSliderThemeOffice2013::RefreshMetrics()
{
    CQVTSliderPaintManager::RefreshMetrics();
    QVTReadIniColor(m_clrSlider, _T("CommandBars.Slider"), _T("Slider"), RGB(171, 171, 171));
    QVTReadIniColor(m_clrScrollBar, _T("CommandBars.Slider"), _T("ScrollBar"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrHighlight, _T("CommandBars.Slider"), _T("Highlight"), RGB(62, 109, 181));
}

void CQVTSliderThemeOffice2013::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    if (CRect(spi.rc).IsRectEmpty())
        return;
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);
    const COLORREF clrNormal = pScrollBar->GetThemeStyle() == sliderStyle ? m_clrSlider : m_clrScrollBar;
    const COLORREF clrHot = m_clrHighlight;
    // While the slider holds the mouse, the part it tracks stays hot.
    const int nHot = pScrollBar->IsTracking() ? spi.ht : pScrollBar->GetHotPart();
    auto fill = [pDC](const CRect& rc, COLORREF clr) {
        if (clr != CQVTPaintManagerColor::noColor && !rc.IsRectEmpty())
            pDC->FillSolidRect(rc, clr);
    };
    const int cxBar = CQVTPaintManager::DpiX(2);
    const int cyBar = CQVTPaintManager::DpiY(2);

    const CRect& rcMinus = parts.rcArrowFirst;
    const int yMinus = rcMinus.CenterPoint().y - cyBar / 2;
    fill(CRect(rcMinus.left + CQVTPaintManager::DpiX(5), yMinus, rcMinus.right - CQVTPaintManager::DpiX(5),
               yMinus + cyBar),
         nHot == qvtScrollHitUpArrow ? clrHot : clrNormal);

    const CRect& rcPlus = parts.rcArrowSecond;
    const COLORREF clrPlus = nHot == qvtScrollHitDownArrow ? clrHot : clrNormal;
    const CPoint ptPlus = rcPlus.CenterPoint();
    fill(CRect(rcPlus.left + CQVTPaintManager::DpiX(4), ptPlus.y - cyBar / 2,
               rcPlus.right - CQVTPaintManager::DpiX(4), ptPlus.y - cyBar / 2 + cyBar),
         clrPlus);
    fill(CRect(ptPlus.x - cxBar / 2, rcPlus.top + CQVTPaintManager::DpiY(4), ptPlus.x - cxBar / 2 + cxBar,
               rcPlus.bottom - CQVTPaintManager::DpiY(4)),
         clrPlus);

    const int yTrack = parts.rcTrack.CenterPoint().y;
    fill(CRect(parts.rcTrack.left, yTrack, parts.rcTrack.right, yTrack + 1), clrNormal);

    if (!parts.rcThumb.IsRectEmpty())
    {
        const BOOL bThumbHot =
            nHot == qvtScrollHitPageUp || nHot == qvtScrollHitPageDown || nHot == qvtScrollHitThumb;
        CRect rcThumb(parts.rcThumb);
        rcThumb.DeflateRect(CQVTPaintManager::DpiX(4), CQVTPaintManager::DpiY(2), CQVTPaintManager::DpiX(4),
                            CQVTPaintManager::DpiY(4));
        fill(rcThumb, bThumbHot ? clrHot : clrNormal);
    }
}
