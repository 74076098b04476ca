#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/color/QVTColorManager.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarThemeWindowsClassic, CQVTScrollBarPaintManager)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeWindowsUx, CQVTScrollBarThemeWindowsClassic)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeFlat, CQVTScrollBarThemeWindowsUx)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeUltraFlat, CQVTScrollBarThemeFlat)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeOffice2000, CQVTScrollBarThemeWindowsUx)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeOfficeXP, CQVTScrollBarThemeWindowsUx)

namespace {
// Visual-style parts and state groups of the "SCROLLBAR" class.
enum
{
    partArrowButton = 1,
    partThumbHorz = 2,
    partThumbVert = 3,
    partPageBeforeHorz = 4,
    partPageAfterHorz = 5,
    partPageBeforeVert = 6,
    partPageAfterVert = 7,
    partGripperHorz = 8,
    partGripperVert = 9,
    partSizeBox = 10
};
enum
{
    arrowUpStates = 1,
    arrowDownStates = 5,
    arrowLeftStates = 9,
    arrowRightStates = 13
};

BOOL IsArrowPressed(CQVTScrollBase* pScrollBar, int nPart)
{
    return pScrollBar->GetPressedPart() == nPart;
}

// A one-pixel frame: top-left in one colour, bottom-right in the other.
void FrameEdges(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!rc.IsRectEmpty())
        pDC->Draw3dRect(rc, clrTopLeft, clrBottomRight);
}

HBRUSH GetOwnerScrollBarBrush(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    CWnd* pOwner = pScrollBar->GetParentWindow();
    if (!pOwner || !pOwner->GetSafeHwnd())
        return ::GetSysColorBrush(COLOR_SCROLLBAR);
    HWND hWnd = pOwner->GetSafeHwnd();
    HBRUSH hBrush = reinterpret_cast<HBRUSH>(::DefWindowProc(hWnd, WM_CTLCOLORSCROLLBAR,
                                                             reinterpret_cast<WPARAM>(pDC->GetSafeHdc()),
                                                             reinterpret_cast<LPARAM>(hWnd)));
    return hBrush ? hBrush : ::GetSysColorBrush(COLOR_SCROLLBAR);
}
}  // namespace

// Classic.

void CQVTScrollBarThemeWindowsClassic::DrawClassicArrows(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                         const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    const UINT nInactive = parts.bEnabled ? 0 : DFCS_INACTIVE;
    CRect rcFirst(parts.rcArrowFirst), rcSecond(parts.rcArrowSecond);
    if (!rcFirst.IsRectEmpty())
        pDC->DrawFrameControl(rcFirst, DFC_SCROLL,
                              (bVert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | nInactive |
                                  (IsArrowPressed(pScrollBar, qvtScrollHitUpArrow) ? DFCS_PUSHED : 0));
    if (!rcSecond.IsRectEmpty())
        pDC->DrawFrameControl(rcSecond, DFC_SCROLL,
                              (bVert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | nInactive |
                                  (IsArrowPressed(pScrollBar, qvtScrollHitDownArrow) ? DFCS_PUSHED : 0));
}

void CQVTScrollBarThemeWindowsClassic::DrawClassicTrack(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts, BOOL bThumb)
{
    if (parts.rcTrack.IsRectEmpty())
        return;
    ::FillRect(pDC->GetSafeHdc(), parts.rcTrack, GetOwnerScrollBarBrush(pDC, pScrollBar));
    if (pScrollBar->GetPressedPart() == qvtScrollHitPageUp && !parts.rcPageBefore.IsRectEmpty())
        pDC->InvertRect(parts.rcPageBefore);
    if (bThumb && !parts.rcThumb.IsRectEmpty())
    {
        CRect rcThumb(parts.rcThumb);
        pDC->FillSolidRect(rcThumb, GetColorByIndex(COLOR_3DFACE));
        pDC->DrawEdge(rcThumb, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
}

void CQVTScrollBarThemeWindowsClassic::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                            const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicArrows(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeWindowsClassic::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                            const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicArrows(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeWindowsClassic::DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                     const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicTrack(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeWindowsClassic::DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                     const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicTrack(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeWindowsClassic::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    CRect rc(pScrollBar->GetScrollBarPosInfo()->rc);
    pDC->DrawFrameControl(rc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

// Visual style.

CQVTScrollBarThemeWindowsUx::CQVTScrollBarThemeWindowsUx() : m_pTheme(new CQVTWinThemeWrapper()) {}

CQVTScrollBarThemeWindowsUx::~CQVTScrollBarThemeWindowsUx()
{
    delete m_pTheme;
}

void CQVTScrollBarThemeWindowsUx::RefreshMetrics()
{
    CQVTScrollBarThemeWindowsClassic::RefreshMetrics();
    m_pTheme->CloseThemeData();
    if (!m_pTheme->OpenThemeData(nullptr, u"SCROLLBAR"))
        CQVTScrollBarThemeWindowsClassic::RefreshMetrics();
}

void CQVTScrollBarThemeWindowsUx::DrawUxArrows(CDC* pDC, CQVTScrollBase* pScrollBar,
                                               const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    const int nFirst = bVert ? arrowUpStates : arrowLeftStates;
    const int nSecond = bVert ? arrowDownStates : arrowRightStates;
    const HDC hDC = pDC->GetSafeHdc();
    if (!parts.rcArrowFirst.IsRectEmpty())
        m_pTheme->DrawThemeBackground(
            hDC, partArrowButton, nFirst + GetPartState(pScrollBar, qvtScrollHitUpArrow, parts.bEnabled) - 1,
            parts.rcArrowFirst, nullptr);
    if (!parts.rcArrowSecond.IsRectEmpty())
        m_pTheme->DrawThemeBackground(hDC, partArrowButton,
                                      nSecond +
                                          GetPartState(pScrollBar, qvtScrollHitDownArrow, parts.bEnabled) - 1,
                                      parts.rcArrowSecond, nullptr);
}

void CQVTScrollBarThemeWindowsUx::DrawUxTrack(CDC* pDC, CQVTScrollBase* pScrollBar,
                                              const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    if (parts.rcTrack.IsRectEmpty())
        return;
    const HDC hDC = pDC->GetSafeHdc();
    if (!parts.rcPageBefore.IsRectEmpty())
        m_pTheme->DrawThemeBackground(hDC, bVert ? partPageBeforeVert : partPageBeforeHorz,
                                      GetPartState(pScrollBar, qvtScrollHitPageUp, parts.bEnabled),
                                      parts.rcPageBefore, nullptr);
    if (!parts.rcPageAfter.IsRectEmpty())
        m_pTheme->DrawThemeBackground(hDC, bVert ? partPageAfterVert : partPageAfterHorz,
                                      GetPartState(pScrollBar, qvtScrollHitPageDown, parts.bEnabled),
                                      parts.rcPageAfter, nullptr);
}

void CQVTScrollBarThemeWindowsUx::DrawUxThumb(CDC* pDC, CQVTScrollBase* pScrollBar,
                                              const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    if (parts.rcTrack.IsRectEmpty() || parts.rcThumb.IsRectEmpty())
        return;
    const HDC hDC = pDC->GetSafeHdc();
    const int nState = GetPartState(pScrollBar, qvtScrollHitThumb, parts.bEnabled);
    m_pTheme->DrawThemeBackground(hDC, bVert ? partThumbVert : partThumbHorz, nState, parts.rcThumb, nullptr);
    const int nLength = bVert ? parts.rcThumb.Height() : parts.rcThumb.Width();
    if (nLength > 13)
        m_pTheme->DrawThemeBackground(hDC, bVert ? partGripperVert : partGripperHorz, nState, parts.rcThumb,
                                      nullptr);
}

void CQVTScrollBarThemeWindowsUx::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxArrows(pDC, pScrollBar, parts, FALSE);
    else
        CQVTScrollBarThemeWindowsClassic::DrawArrowButtonsHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeWindowsUx::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxArrows(pDC, pScrollBar, parts, TRUE);
    else
        CQVTScrollBarThemeWindowsClassic::DrawArrowButtonsVert(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeWindowsUx::DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxTrack(pDC, pScrollBar, parts, FALSE);
    else
        CQVTScrollBarThemeWindowsClassic::DrawTrackHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeWindowsUx::DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxTrack(pDC, pScrollBar, parts, TRUE);
    else
        CQVTScrollBarThemeWindowsClassic::DrawTrackVert(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeWindowsUx::DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxThumb(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeWindowsUx::DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsThemed())
        DrawUxThumb(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeWindowsUx::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!IsThemed())
    {
        CQVTScrollBarThemeWindowsClassic::DrawSizeBox(pDC, pScrollBar);
        return;
    }
    CRect rc(pScrollBar->GetScrollBarPosInfo()->rc);
    pDC->FillSolidRect(rc, m_pTheme->GetThemeSysColor(COLOR_3DFACE));
    m_pTheme->DrawThemeBackground(pDC->GetSafeHdc(), partSizeBox, 0, rc, nullptr);
}

// Flat.

void CQVTScrollBarThemeFlat::RefreshMetrics()
{
    CQVTScrollBarThemeWindowsUx::RefreshMetrics();
    m_crBorderHilite = GetColorByIndex(COLOR_3DHILIGHT);
    m_crBorder = GetColorByIndex(COLOR_3DSHADOW);
}

void CQVTScrollBarThemeFlat::DrawFlatArrows(CDC* pDC, CQVTScrollBase* pScrollBar,
                                            const QVT_SCROLLBAR_PARTS& parts)
{
    const CRect* arrows[] = {&parts.rcArrowFirst, &parts.rcArrowSecond};
    const int hits[] = {qvtScrollHitUpArrow, qvtScrollHitDownArrow};
    for (int i = 0; i < 2; ++i)
    {
        if (arrows[i]->IsRectEmpty())
            continue;
        pDC->FillSolidRect(arrows[i], m_crBackground);
        const BOOL bPressed = parts.bEnabled && IsArrowPressed(pScrollBar, hits[i]);
        FrameEdges(pDC, *arrows[i], bPressed ? m_crBorder : m_crBorderHilite,
                   bPressed ? m_crBorderHilite : m_crBorder);
    }
}

void CQVTScrollBarThemeFlat::DrawFlatGlyphs(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    const COLORREF clr = parts.bEnabled ? RGB(0, 0, 0) : GetColorByIndex(COLOR_3DSHADOW);
    DrawArrowGlyphPair(pDC, parts, bVert, clr, clr);
}

void CQVTScrollBarThemeFlat::DrawFlatThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts)
{
    if (parts.rcTrack.IsRectEmpty() || parts.rcThumb.IsRectEmpty())
        return;
    pDC->FillSolidRect(parts.rcThumb, m_crBackground);
    FrameEdges(pDC, parts.rcThumb, m_crBorderHilite, m_crBorder);
}

void CQVTScrollBarThemeFlat::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                  const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatArrows(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeFlat::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                  const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatArrows(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeFlat::DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* /*pScrollBar*/,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatGlyphs(pDC, parts, FALSE);
}

void CQVTScrollBarThemeFlat::DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* /*pScrollBar*/,
                                                 const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatGlyphs(pDC, parts, TRUE);
}

void CQVTScrollBarThemeFlat::DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                           const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicTrack(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeFlat::DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                           const QVT_SCROLLBAR_PARTS& parts)
{
    DrawClassicTrack(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeFlat::DrawThumbHorz(CDC* pDC, CQVTScrollBase* /*pScrollBar*/,
                                           const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatThumb(pDC, parts);
}

void CQVTScrollBarThemeFlat::DrawThumbVert(CDC* pDC, CQVTScrollBase* /*pScrollBar*/,
                                           const QVT_SCROLLBAR_PARTS& parts)
{
    DrawFlatThumb(pDC, parts);
}

void CQVTScrollBarThemeFlat::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    pDC->FillSolidRect(&pScrollBar->GetScrollBarPosInfo()->rc, GetColorByIndex(COLOR_3DFACE));
}

void CQVTScrollBarThemeUltraFlat::RefreshMetrics()
{
    CQVTScrollBarThemeFlat::RefreshMetrics();
    m_crBorderHilite = m_crBorder;
    m_crBackPushed =
        CQVTColorManager::BlendColors(GetColorByIndex(COLOR_3DSHADOW), GetColorByIndex(COLOR_3DFACE), 50);
    m_crBackHilite =
        CQVTColorManager::BlendColors(GetColorByIndex(COLOR_3DFACE), GetColorByIndex(COLOR_WINDOW), 30);
}

// Office.

void CQVTScrollBarThemeOffice2000::DrawOfficeArrows(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                    const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    DrawClassicArrows(pDC, pScrollBar, parts, bVert);
    const CRect* arrows[] = {&parts.rcArrowFirst, &parts.rcArrowSecond};
    const int hits[] = {qvtScrollHitUpArrow, qvtScrollHitDownArrow};
    const COLORREF clrLight = GetColorByIndex(COLOR_3DHILIGHT), clrDark = GetColorByIndex(COLOR_3DSHADOW);
    for (int i = 0; i < 2; ++i)
    {
        const BOOL bPressed = parts.bEnabled && IsArrowPressed(pScrollBar, hits[i]);
        FrameEdges(pDC, *arrows[i], bPressed ? clrDark : clrLight, bPressed ? clrLight : clrDark);
    }
}

void CQVTScrollBarThemeOffice2000::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOfficeArrows(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeOffice2000::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawOfficeArrows(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeOfficeXP::RefreshMetrics()
{
    CQVTScrollBarThemeWindowsUx::RefreshMetrics();
    m_crBackPushed = GetColorByIndex(33);
    m_crBackHilite = GetColorByIndex(31);
    m_crBorderHilite = GetColorByIndex(32);
}
