#include "toolkit/themes/resource/QVTSliderResourceTheme.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTSliderResourceTheme, CQVTSliderThemeOffice2007System)

namespace {
using QVTResourceThemeColors::kKey;

// Frame 2 pressed, 1 hot, 0 otherwise.
int StateFrame(BOOL bPressed, BOOL bHot)
{
    return bPressed ? 2 : bHot ? 1 : 0;
}
}  // namespace

CQVTSliderResourceTheme::CQVTSliderResourceTheme(CQVTPaintManager* pPaintManager)
    : CQVTSliderThemeOffice2007System(pPaintManager), m_szArrowButton(0, 0), m_nThumbWidth(0)
{
}

void CQVTSliderResourceTheme::RefreshMetrics()
{
    CQVTSliderThemeOffice2007System::RefreshMetrics();
    m_szArrowButton = CSize(0, 0);
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    CQVTResourceImages* pImages = pTheme ? pTheme->GetResourceImages() : nullptr;
    if (pImages && pImages->IsValid())
    {
        // Only the size is kept: the image itself is fetched at each drawing.
        if (CQVTResourceImage* pUp = pTheme->LoadImage(_T("SLIDERUP")))
        {
            const CRect rcFrame = pUp->GetSource(0, 3);
            m_szArrowButton =
                CSize(CQVTPaintManager::DpiX(rcFrame.Width()), CQVTPaintManager::DpiY(rcFrame.Height()));
            m_cxHScroll = m_szArrowButton.cx;
            m_cyHScroll = m_szArrowButton.cy;
        }
    }
    m_nThumbWidth = CQVTPaintManager::DpiX(11);
    m_nThumbSize = m_nThumbWidth;
}

void CQVTSliderResourceTheme::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    CQVTResourceImages* pImages = pTheme ? pTheme->GetResourceImages() : nullptr;
    const BOOL bValid = pDC && pScrollBar && pImages && pImages->IsValid();
    CQVTResourceImage* pTrack = bValid ? pTheme->LoadImage(_T("SLIDERTRACK")) : nullptr;
    CQVTResourceImage* pTick = bValid ? pTheme->LoadImage(_T("SLIDERTICK")) : nullptr;
    CQVTResourceImage* pUp = bValid ? pTheme->LoadImage(_T("SLIDERUP")) : nullptr;
    CQVTResourceImage* pDown = bValid ? pTheme->LoadImage(_T("SLIDERDOWN")) : nullptr;
    CQVTResourceImage* pThumb = bValid ? pTheme->LoadImage(_T("SLIDERTHUMB")) : nullptr;
    if (!pTrack || !pTick || !pUp || !pDown || !pThumb)
    {
        CQVTSliderThemeOffice2007System::DrawScrollBar(pDC, pScrollBar);
        return;
    }
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    const CRect rcBar(spi.rc);
    if (rcBar.IsRectEmpty())
        return;
    const int nPressed = pScrollBar->GetPressedPart();
    const int nHot = pScrollBar->GetHotPart();
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);

    // The track image across the channel at its own height, centred.
    const CRect rcTrackSource = pTrack->GetSource(0, 1);
    const int cyTrack = CQVTPaintManager::DpiY(rcTrackSource.Height());
    const int yMiddle = rcBar.CenterPoint().y;
    const CRect rcChannel(parts.rcTrack.left, yMiddle - cyTrack / 2, parts.rcTrack.right,
                          yMiddle - cyTrack / 2 + cyTrack);
    pTrack->DrawImageStretched(pDC, rcChannel, rcTrackSource);

    // Ticks at their positions within the channel less 6 px at each end;
    // without tick marks one at the centre.
    const CRect rcTickSource = pTick->GetSource(0, 1);
    const CSize szTick(CQVTPaintManager::DpiX(rcTickSource.Width()),
                       CQVTPaintManager::DpiY(rcTickSource.Height()));
    auto drawTick = [&](int x) {
        const CRect rcTick(CPoint(x - szTick.cx / 2, yMiddle - szTick.cy / 2), szTick);
        pTick->DrawImageColorKeyed(pDC, rcTick, rcTickSource, CRect(0, 0, 0, 0), kKey);
    };
    CRect rcTicks(rcChannel);
    rcTicks.DeflateRect(CQVTPaintManager::DpiX(6), 0);
    IQVTSliderTicks* pTicks = dynamic_cast<IQVTSliderTicks*>(pScrollBar);
    if (pTicks && pTicks->GetTickCount() > 0 && spi.posMax > spi.posMin)
    {
        const LONGLONG nRange = static_cast<LONGLONG>(spi.posMax) - spi.posMin;
        for (int i = 0; i < pTicks->GetTickCount(); ++i)
        {
            const LONGLONG nOffset = static_cast<LONGLONG>(pTicks->GetTick(i)) - spi.posMin;
            if (nOffset < 0 || nOffset > nRange || rcTicks.Width() <= 0)
                continue;
            drawTick(rcTicks.left + static_cast<int>(nOffset * rcTicks.Width() / nRange));
        }
    }
    else
        drawTick(rcChannel.CenterPoint().x);

    pUp->DrawImageStretched(
        pDC, parts.rcArrowFirst,
        pUp->GetSource(StateFrame(nPressed == qvtScrollHitUpArrow, nHot == qvtScrollHitUpArrow), 3));
    pDown->DrawImageStretched(
        pDC, parts.rcArrowSecond,
        pDown->GetSource(StateFrame(nPressed == qvtScrollHitDownArrow, nHot == qvtScrollHitDownArrow), 3));

    if (parts.bEnabled && !parts.rcThumb.IsRectEmpty())
    {
        const BOOL bPageHot = nHot == qvtScrollHitPageUp || nHot == qvtScrollHitPageDown;
        const BOOL bPagePressed = nPressed == qvtScrollHitPageUp || nPressed == qvtScrollHitPageDown;
        const int nFrame = nPressed == qvtScrollHitThumb                             ? 2
                           : (nHot == qvtScrollHitThumb || bPageHot || bPagePressed) ? 1
                                                                                     : 0;
        const CRect rcThumbSource = pThumb->GetSource(nFrame, 3);
        const CSize szThumb(CQVTPaintManager::DpiX(rcThumbSource.Width()),
                            CQVTPaintManager::DpiY(rcThumbSource.Height()));
        const CPoint ptCentre = parts.rcThumb.CenterPoint();
        pThumb->DrawImageColorKeyed(
            pDC, CRect(CPoint(ptCentre.x - szThumb.cx / 2, ptCentre.y - szThumb.cy / 2), szThumb),
            rcThumbSource, CRect(0, 0, 0, 0), kKey);
    }
}
