#include "toolkit/ribbon/bar/QVTRibbonScrollableBar.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

IMPLEMENT_SERIAL(CQVTRibbonGroupScrollButton, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTRibbonGroupScrollButton::CQVTRibbonGroupScrollButton() : m_pScrollableBar(nullptr), m_bScrollLeft(TRUE)
{
    m_bTemporary = TRUE;
    m_dwFlags = qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable;
}

CSize CQVTRibbonGroupScrollButton::GetSize(CDC*)
{
    return m_rcControl.Size();
}

CSize CQVTRibbonGroupScrollButton::Draw(CDC* pDC)
{
    CQVTCommandBar* pBar = GetParent();
    CQVTPaintManager* pPaintManager = pBar ? pBar->GetPaintManager() : nullptr;
    CQVTRibbonPaintManager* pRibbonPaintManager =
        pPaintManager ? pPaintManager->GetRibbonPaintManager() : nullptr;
    if (pRibbonPaintManager)
        pRibbonPaintManager->DrawRibbonScrollButton(pDC, this, m_bScrollLeft);
    return m_rcControl.Size();
}

void CQVTRibbonGroupScrollButton::OnExecute()
{
    if (m_pScrollableBar)
        m_pScrollableBar->OnGroupsScroll(m_bScrollLeft);
}

void CQVTRibbonGroupScrollButton::OnClick(BOOL bKeyboard, CPoint)
{
    if (bKeyboard)
    {
        OnExecute();
        return;
    }
    if ((::GetKeyState(VK_LBUTTON) & 0x8000) == 0)
        return;
    TrackScroll();
}

void CQVTRibbonGroupScrollButton::TrackScroll()
{
    CQVTCommandBar* pBar = GetParent();
    if (!pBar || !pBar->GetSafeHwnd() || !m_pScrollableBar)
        return;
    CQVTObjectRef<CQVTControl> keepAlive(this);
    CQVTCommandBarRef keepBar(pBar);
    m_bPressed = TRUE;
    RedrawParent(FALSE);
    OnExecute();

    const UINT nDoubleClick = ::GetDoubleClickTime();
    pBar->SetTimer(kTimerScrollRepeat, nDoubleClick * 4 / 5, nullptr);
    pBar->SetCapture();
    BOOL bFirstRepeat = TRUE;
    while (::GetCapture() == pBar->GetSafeHwnd() && IsVisible())
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            // The application is quitting: the hold ends, the quit goes on.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_TIMER && msg.hwnd == pBar->GetSafeHwnd() && msg.wParam == kTimerScrollRepeat)
        {
            OnExecute();
            if (bFirstRepeat && pBar->GetSafeHwnd())
                pBar->SetTimer(kTimerScrollRepeat, nDoubleClick / 10, nullptr);
            bFirstRepeat = FALSE;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        if (!pBar->GetSafeHwnd())
            break;
    }
    if (pBar->GetSafeHwnd())
    {
        if (::GetCapture() == pBar->GetSafeHwnd())
            ::ReleaseCapture();
        pBar->KillTimer(kTimerScrollRepeat);
    }
    m_bPressed = FALSE;
    if (!IsVisible())
        m_bSelected = FALSE;
    if (pBar->GetSafeHwnd())
        pBar->Redraw();
}

CQVTRibbonScrollableBar::CQVTRibbonScrollableBar()
    : m_pScrollBar(nullptr), m_pScrollLeft(nullptr), m_pScrollRight(nullptr), m_nGroupsScrollPos(0),
      m_pHighlightedGroup(nullptr)
{
}

CQVTRibbonScrollableBar::~CQVTRibbonScrollableBar() {}

CQVTRibbonScrollableBar* AFX_CDECL CQVTRibbonScrollableBar::GetScrollableBar(CQVTCommandBar* pBar)
{
    if (!pBar)
        return nullptr;
    if (pBar->IsRibbonBar())
        return static_cast<CQVTRibbonBar*>(pBar);
    if (CQVTRibbonGroupPopupToolBar* pGroupPopup = DYNAMIC_DOWNCAST(CQVTRibbonGroupPopupToolBar, pBar))
        return pGroupPopup;
    if (CQVTRibbonTabPopupToolBar* pTabPopup = DYNAMIC_DOWNCAST(CQVTRibbonTabPopupToolBar, pBar))
        return pTabPopup;
    return nullptr;
}

void CQVTRibbonScrollableBar::InitScrollableBar(CQVTCommandBar* pBar)
{
    m_pScrollBar = pBar;
    m_nGroupsScrollPos = 0;
    m_pScrollRight = new CQVTRibbonGroupScrollButton();
    m_pScrollRight->m_pScrollableBar = this;
    m_pScrollRight->m_bScrollLeft = FALSE;
    m_pScrollRight->SetHideFlags(QVT_RIBBON_HIDE_SCROLL);
    pBar->GetControls()->InsertControl(m_pScrollRight, -1);
    m_pScrollLeft = new CQVTRibbonGroupScrollButton();
    m_pScrollLeft->m_pScrollableBar = this;
    m_pScrollLeft->m_bScrollLeft = TRUE;
    m_pScrollLeft->SetHideFlags(QVT_RIBBON_HIDE_SCROLL);
    pBar->GetControls()->InsertControl(m_pScrollLeft, -1);
}

void CQVTRibbonScrollableBar::ShowScrollButtons(BOOL bScrollLeft, BOOL bScrollRight)
{
    if (!m_pScrollLeft || !m_pScrollRight)
        return;
    const CRect rcArea = GetGroupsArea();
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const int cx = pDpi->ScaleX(12);
    const int nOne = pDpi->ScaleX(1);
    const DWORD dwLeft = m_pScrollLeft->GetHideFlags();
    const DWORD dwRight = m_pScrollRight->GetHideFlags();
    m_pScrollLeft->SetHideFlags(bScrollLeft ? (dwLeft & ~QVT_RIBBON_HIDE_SCROLL)
                                            : (dwLeft | QVT_RIBBON_HIDE_SCROLL));
    m_pScrollRight->SetHideFlags(bScrollRight ? (dwRight & ~QVT_RIBBON_HIDE_SCROLL)
                                              : (dwRight | QVT_RIBBON_HIDE_SCROLL));
    if (bScrollLeft)
        m_pScrollLeft->SetRect(CRect(rcArea.left - nOne, rcArea.top, rcArea.left + cx, rcArea.bottom));
    if (bScrollRight)
        m_pScrollRight->SetRect(CRect(rcArea.right - cx, rcArea.top, rcArea.right + nOne, rcArea.bottom));
}

BOOL CQVTRibbonScrollableBar::IsScrollButtonVisible(BOOL bLeft) const
{
    const CQVTRibbonGroupScrollButton* pButton = bLeft ? m_pScrollLeft : m_pScrollRight;
    return pButton && pButton->IsVisible();
}

void CQVTRibbonScrollableBar::SetGroupsScrollPos(int nScrollPos)
{
    nScrollPos = std::max(0, nScrollPos);
    if (nScrollPos == m_nGroupsScrollPos)
        return;
    m_nGroupsScrollPos = nScrollPos;
    OnScrollPosChanged();
}

void CQVTRibbonScrollableBar::OnScrollPosChanged()
{
    if (m_pScrollBar && m_pScrollBar->IsRibbonBar())
    {
        // A held scroll button steps on from the last layout's offset: the
        // layout is done now, not at the next idle time.
        static_cast<CQVTRibbonBar*>(m_pScrollBar)->RequestLayout();
        CQVTCommandBars* pCommandBars = m_pScrollBar->GetCommandBars();
        if (pCommandBars)
            pCommandBars->UpdateDelayedFrameLayout();
        m_pScrollBar->Redraw();
    }
    else if (m_pScrollBar)
        m_pScrollBar->OnRecalcLayout();
}

void CQVTRibbonScrollableBar::OnGroupsScroll(BOOL bScrollLeft)
{
    CQVTRibbonGroups* pGroups = GetScrolledGroups();
    const int nOffset = pGroups ? pGroups->GetScrollOffset() : m_nGroupsScrollPos;
    const int nStep = QVTDpiScaler()->ScaleX(kScrollStep);
    SetGroupsScrollPos(bScrollLeft ? std::max(0, nOffset - nStep) : nOffset + nStep);
}

void CQVTRibbonScrollableBar::EnsureVisible(CQVTRibbonGroups* pGroups, CRect rc)
{
    const int nOffset = pGroups ? pGroups->GetScrollOffset() : m_nGroupsScrollPos;
    const int nMargin = QVTDpiScaler()->ScaleX(12);
    const int nWidth = GetGroupsArea().Width();
    int nPos = m_nGroupsScrollPos;
    if (rc.left < nMargin && IsScrollButtonVisible(TRUE))
        nPos = std::max(0, nOffset + rc.left - nMargin);
    else if (rc.right > nWidth && IsScrollButtonVisible(FALSE))
        nPos = std::max(0, nOffset + rc.right - nWidth + nMargin);
    SetGroupsScrollPos(nPos);
}

void CQVTRibbonScrollableBar::HighlightGroup(CQVTRibbonGroup* pGroup)
{
    if (m_pHighlightedGroup == pGroup)
        return;
    CQVTRibbonGroup* pOld = m_pHighlightedGroup;
    m_pHighlightedGroup = pGroup;
    if (!m_pScrollBar || !m_pScrollBar->GetSafeHwnd())
        return;
    if (pOld)
        m_pScrollBar->Redraw(pOld->GetRect(), TRUE);
    if (pGroup)
        m_pScrollBar->Redraw(pGroup->GetRect(), TRUE);
}

// Keyboard navigation across the laid-out controls.

namespace QVTRibbonNavigationDetail {

// The rectangle a control takes part in a move with.
CRect NavigationRect(CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bVertical, BOOL bUp, BOOL bCurrent)
{
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    if (pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonGroupOption)) && pGroup)
    {
        CRect rc = pGroup->GetCaptionRect();
        const int nInset = QVTDpiScaler()->ScaleX(4);
        rc.DeflateRect(nInset, 0);
        return rc;
    }
    CRect rc = pControl->GetRect();
    if (bVertical && !pGroup && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlQuickAccessPopup)) &&
        pBar->GetSafeHwnd())
    {
        CRect rcClient;
        pBar->GetClientRect(&rcClient);
        rc.right = rcClient.right;
    }
    if (bUp && bCurrent && pBar->IsRibbonBar() &&
        pControl == static_cast<CQVTControl*>(static_cast<CQVTRibbonBar*>(pBar)->GetControlTab()))
    {
        CQVTRibbonTab* pTab = static_cast<CQVTRibbonBar*>(pBar)->GetCurrentTab();
        if (pTab)
            rc = pTab->GetRect();
    }
    return rc;
}

// Whether two rectangles share rows (or columns, for vertical moves).
BOOL SharesBand(const CRect& rc, const CRect& rcOther, BOOL bVertical)
{
    const int nStart = bVertical ? rc.left : rc.top;
    const int nEnd = bVertical ? rc.right : rc.bottom;
    const int nOtherStart = bVertical ? rcOther.left : rcOther.top;
    const int nOtherEnd = bVertical ? rcOther.right : rcOther.bottom;
    return (nOtherStart >= nStart - 1 && nOtherStart < nEnd) ||
           (nStart >= nOtherStart - 1 && nStart < nOtherEnd);
}

}  // namespace QVTRibbonNavigationDetail

BOOL CQVTRibbonScrollableBar::NavigateGroups(int nCode)
{
    using namespace QVTRibbonNavigationDetail;
    CQVTCommandBar* pBar = m_pScrollBar;
    if (!pBar)
        return FALSE;
    const int nSelected = pBar->GetSelectedIndex();
    CQVTControl* pSelected = pBar->GetControl(nSelected);
    if (!pSelected)
        return FALSE;
    if (nCode == CQVTCommandBar::navigateExecute || nCode == CQVTCommandBar::navigateSystemMenu)
    {
        CQVTObjectRef<CQVTControl> keepAlive(pSelected);
        if (pSelected->IsFocusable())
            pSelected->OnClick(TRUE, CPoint(0, 0));
        else
            pSelected->OnUnderlineActivate();
        return TRUE;
    }
    const BOOL bRight = nCode == CQVTCommandBar::navigateNextHorizontal;
    const BOOL bLeft = nCode == CQVTCommandBar::navigatePreviousHorizontal;
    const BOOL bDown = nCode == CQVTCommandBar::navigateExpand;
    const BOOL bUp = nCode == CQVTCommandBar::navigateCollapse;
    if (!bRight && !bLeft && !bDown && !bUp)
        return FALSE;
    const BOOL bVertical = bUp || bDown;
    const CRect rcCurrent = NavigationRect(pBar, pSelected, bVertical, bUp, TRUE);
    const int nCurrentCentre = bVertical ? rcCurrent.CenterPoint().x : rcCurrent.CenterPoint().y;

    int nBest = -1;  // the winner beyond the current control
    int nWrap = -1;  // the winner of the whole band, for a wrap
    CRect rcBest;
    CRect rcWrap;
    // Smaller keys win: the deciding edge, then the distance of the centres.
    auto key = [&](const CRect& rc) -> int {
        if (bRight)
            return rc.left;
        if (bLeft)
            return -rc.right;
        if (bDown)
            return rc.top;
        return -rc.bottom;
    };
    auto better = [&](const CRect& rc, const CRect& rcOther) {
        if (key(rc) != key(rcOther))
            return key(rc) < key(rcOther);
        const int nDistance =
            std::abs((bVertical ? rc.CenterPoint().x : rc.CenterPoint().y) - nCurrentCentre);
        const int nOtherDistance =
            std::abs((bVertical ? rcOther.CenterPoint().x : rcOther.CenterPoint().y) - nCurrentCentre);
        return nDistance < nOtherDistance;
    };
    for (int i = 0; i < pBar->GetControlCount(); ++i)
    {
        CQVTControl* pControl = pBar->GetControl(i);
        if (i == nSelected || !pControl->IsVisible() || (pControl->GetFlags() & qvtFlagSkipFocus))
            continue;
        const CRect rc = NavigationRect(pBar, pControl, bVertical, bUp, FALSE);
        if (!SharesBand(rcCurrent, rc, bVertical))
            continue;
        BOOL bBeyond = FALSE;
        if (bRight)
            bBeyond = rc.left >= rcCurrent.right;
        else if (bLeft)
            bBeyond = rc.right <= rcCurrent.left;
        else if (bDown)
            bBeyond = rc.top >= rcCurrent.bottom;
        else
            bBeyond = rc.bottom <= rcCurrent.top;
        if (bBeyond && (nBest == -1 || better(rc, rcBest)))
        {
            nBest = i;
            rcBest = rc;
        }
        if (!bVertical && (nWrap == -1 || better(rc, rcWrap)))
        {
            nWrap = i;
            rcWrap = rc;
        }
    }
    // Left and right wrap to the other end of the row; up and down stop.
    const int nTarget = nBest != -1 ? nBest : (bVertical ? -1 : nWrap);
    if (nTarget == -1)
        return TRUE;
    pBar->SetSelected(nTarget, bDown || bRight ? CQVTCommandBar::selectByKeyboardForward
                                               : CQVTCommandBar::selectByKeyboardBackward);
    if (pBar->IsRibbonBar())
        static_cast<CQVTRibbonBar*>(pBar)->OnGroupRectChanged(pBar->GetControl(nTarget));
    return TRUE;
}
