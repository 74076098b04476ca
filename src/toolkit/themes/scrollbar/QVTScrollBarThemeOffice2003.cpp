#include "toolkit/themes/scrollbar/QVTScrollBarThemeOffice2003.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/color/QVTColorManager.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarThemeOffice2003, CQVTScrollBarThemeFlat)

namespace {
#define SCROLL2003_RGB(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

// Face, frame and track of one scheme: the toolbars' light colour, their
// shadow line and the dock bars' light colour.
struct ScrollBar2003Set
{
    COLORREF face;
    COLORREF border;
    COLORREF track;
    COLORREF hotBorder;
};

const ScrollBar2003Set kScrollBar2003Blue = {SCROLL2003_RGB(0xDDECFE), SCROLL2003_RGB(0x3B619C),
                                             SCROLL2003_RGB(0xC4DAFA), SCROLL2003_RGB(0x000080)};
const ScrollBar2003Set kScrollBar2003Olive = {SCROLL2003_RGB(0xF4F7DE), SCROLL2003_RGB(0x608058),
                                              SCROLL2003_RGB(0xF2F1E4), SCROLL2003_RGB(0x3F5D38)};
const ScrollBar2003Set kScrollBar2003Silver = {SCROLL2003_RGB(0xF9F9FF), SCROLL2003_RGB(0x7C7C94),
                                               SCROLL2003_RGB(0xF3F3F7), SCROLL2003_RGB(0x4B4B6F)};
}  // namespace

void CQVTScrollBarThemeOffice2003::RefreshMetrics()
{
    CQVTScrollBarThemeFlat::RefreshMetrics();
    const ScrollBar2003Set* pSet = nullptr;
    switch (QVTColorManager()->GetCurrentSystemTheme())
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        pSet = &kScrollBar2003Blue;
        break;
    case qvtSystemThemeOlive:
        pSet = &kScrollBar2003Olive;
        break;
    case qvtSystemThemeSilver:
        pSet = &kScrollBar2003Silver;
        break;
    default:
        break;
    }
    if (pSet)
    {
        m_crBackground = pSet->face;
        m_crBorder = pSet->border;
        m_crBorderHilite = pSet->border;
        m_crBackHilite = pSet->track;
        m_crHotFace = SCROLL2003_RGB(0xFFF2C8);
        m_crHotBorder = pSet->hotBorder;
        m_crPressedFace = SCROLL2003_RGB(0xFE8E4B);
    }
    else
    {
        m_crBackground = GetColorByIndex(COLOR_3DFACE);
        m_crBorder = GetColorByIndex(COLOR_3DSHADOW);
        m_crBorderHilite = m_crBorder;
        m_crBackHilite =
            CQVTColorManager::BlendColors(GetColorByIndex(COLOR_3DFACE), GetColorByIndex(COLOR_WINDOW), 50);
        m_crHotFace = GetColorByIndex(31);
        m_crHotBorder = GetColorByIndex(32);
        m_crPressedFace = GetColorByIndex(33);
    }
    m_crBackPushed = m_crPressedFace;
}

void CQVTScrollBarThemeOffice2003::DrawPart(CDC* pDC, const CRect& rc, int nState)
{
    if (rc.IsRectEmpty())
        return;
    const COLORREF clrFace = nState == 3 ? m_crPressedFace : nState == 2 ? m_crHotFace : m_crBackground;
    const COLORREF clrFrame = nState == 2 || nState == 3 ? m_crHotBorder : m_crBorder;
    pDC->FillSolidRect(rc, clrFace);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

void CQVTScrollBarThemeOffice2003::DrawOffice2003Arrows(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawPart(pDC, parts.rcArrowFirst, GetPartState(pScrollBar, qvtScrollHitUpArrow, parts.bEnabled));
    DrawPart(pDC, parts.rcArrowSecond, GetPartState(pScrollBar, qvtScrollHitDownArrow, parts.bEnabled));
}

void CQVTScrollBarThemeOffice2003::DrawOffice2003Track(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    if (parts.rcTrack.IsRectEmpty())
        return;
    pDC->FillSolidRect(parts.rcTrack, m_crBackHilite);
    if (!parts.bEnabled)
        return;
    const int nPressed = pScrollBar->GetPressedPart();
    if (nPressed == qvtScrollHitPageUp && !parts.rcPageBefore.IsRectEmpty())
        pDC->FillSolidRect(parts.rcPageBefore, m_crBackPushed);
    else if (nPressed == qvtScrollHitPageDown && !parts.rcPageAfter.IsRectEmpty())
        pDC->FillSolidRect(parts.rcPageAfter, m_crBackPushed);
}

void CQVTScrollBarThemeOffice2003::DrawOffice2003Thumb(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    if (parts.rcTrack.IsRectEmpty() || parts.rcThumb.IsRectEmpty())
        return;
    DrawPart(pDC, parts.rcThumb, GetPartState(pScrollBar, qvtScrollHitThumb, parts.bEnabled));
}

void CQVTScrollBarThemeOffice2003::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Arrows(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeOffice2003::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Arrows(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeOffice2003::DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Track(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeOffice2003::DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Track(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeOffice2003::DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Thumb(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeOffice2003::DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOffice2003Thumb(pDC, pScrollBar, parts);
}

#undef SCROLL2003_RGB
