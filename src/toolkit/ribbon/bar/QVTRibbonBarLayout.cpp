// The ribbon's height for a width, the placement of its rows, controls,
// caption and context headers, and its painting.
#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

namespace QVTRibbonBarLayoutDetail {

int BarScaleX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}
int BarScaleY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}
void SetBarHideFlag(CQVTControl* pControl, DWORD dwFlag, BOOL bSet)
{
    const DWORD dwOld = pControl->GetHideFlags();
    const DWORD dwNew = bSet ? (dwOld | dwFlag) : (dwOld & ~dwFlag);
    if (dwNew != dwOld)
        pControl->SetHideFlags(dwNew);
}
// Minimum width of a context header.
const int kMinHeaderWidth = 40;

}  // namespace QVTRibbonBarLayoutDetail

using namespace QVTRibbonBarLayoutDetail;

// Heights.

int CQVTRibbonBar::GetTabsHeight() const
{
    if (m_bBackstageMode)
        return m_nBackstageBand;
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    return pRibbonPaintManager ? pRibbonPaintManager->GetTabsHeight() : BarScaleY(23);
}

int CQVTRibbonBar::GetGroupsHeightIfVisible() const
{
    return GetCurrentTab() && !m_bMinimized ? GetGroupsHeight() : 0;
}

int CQVTRibbonBar::GetGroupsControlsHeight() const
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    return 3 * (pRibbonPaintManager ? pRibbonPaintManager->GetRowHeight() : 22);
}

int CQVTRibbonBar::CalcGroupsHeight(int nControlsHeight) const
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    return nControlsHeight + (pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0) +
           BarScaleY(10);
}

int CQVTRibbonBar::GetGroupsHeight() const
{
    return CalcGroupsHeight(GetGroupsControlsHeight());
}

int CQVTRibbonBar::GetQuickAccessHeight() const
{
    // Measured on a memory DC: a window's DC costs trips to the window server
    // at every layout, and the text measures the same.
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr))
        return GetButtonSize().cy + m_nQuickAccessCaptionGap;
    CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(const_cast<CQVTRibbonBar*>(this)));
    int nHeight = GetButtonSize().cy;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (IsQuickAccessControl(pControl) && pControl->IsVisible(qvtHideWrap | qvtHideGeneric))
            nHeight = std::max(nHeight, static_cast<int>(pControl->GetSize(&dc).cy));
    }
    return nHeight + m_nQuickAccessCaptionGap;
}

int CQVTRibbonBar::GetCaptionHeight() const
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    int nHeight = pRibbonPaintManager ? pRibbonPaintManager->GetRibbonCaptionHeight(this)
                                      : ::GetSystemMetrics(SM_CYCAPTION);
    if (m_bShowQuickAccess && !m_bShowQuickAccessBelow)
    {
        if (IsFrameThemeEnabled() && !IsDwmEnabled())
            nHeight = std::max(nHeight, m_nQuickAccessHeight);
        else
            nHeight = std::max(nHeight, m_nQuickAccessHeight - BarScaleY(4));
    }
    return nHeight;
}

// The layout.

CSize CQVTRibbonBar::CalcDockingLayout(int nLength, DWORD dwMode, int)
{
    m_bUpdatePending = FALSE;
    CWnd* pSite = GetSite();
    CRect rcSite(0, 0, 0, 0);
    if (pSite && pSite->GetSafeHwnd())
        pSite->GetClientRect(&rcSite);
    const BOOL bShown = nLength >= m_nMinVisibleWidth && (!pSite || rcSite.Height() >= m_nMinVisibleWidth);
    if (bShown != m_bContentShown)
        m_bContentShown = bShown;
    if (!m_bContentShown)
    {
        if (dwMode & LM_COMMIT)
        {
            for (int i = 0; i < GetControlCount(); ++i)
                SetBarHideFlag(GetControl(i), qvtHideWrap, TRUE);
        }
        return CSize(nLength, 0);
    }
    m_nQuickAccessHeight = GetQuickAccessHeight();
    int nHeight = GetCaptionHeight() + GetFrameTopBorder() + GetGroupsHeightIfVisible() + GetTabsHeight();
    if (m_bShowQuickAccessBelow)
        nHeight += BarScaleY(1) + m_nQuickAccessHeight;
    else if (GetGroupsHeightIfVisible() == 0)
        nHeight += BarScaleY(2);

    if (dwMode & LM_COMMIT)
    {
        CWnd* pWnd = GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow();
        CClientDC dc(pWnd);
        CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(this));
        RepositionControls(&dc, nLength, nHeight);
        if (m_bUpdatePending)
        {
            m_bUpdatePending = FALSE;
            OnUpdateCmdUI();
        }
        if (IsRedrawPending() || IsLayoutPending())
        {
            m_dwPending &= ~static_cast<DWORD>(pendingLayout);
            Redraw();
        }
    }
    return CSize(nLength, nHeight);
}

void CQVTRibbonBar::RepositionControls(CDC* pDC, int nWidth, int)
{
    SetRowRects(nWidth);
    std::vector<CQVTControl*> arrQuickAccess;
    std::vector<CQVTControl*> arrOthers;
    GetRowControls(arrQuickAccess, arrOthers);
    SetQuickAccessRect(nWidth);
    const int nTabContentStart = RepositionLeftControls(pDC, arrOthers, RepositionSystemButton(pDC));
    RepositionQuickAccess(pDC, arrQuickAccess, nWidth);
    const int nRight = RepositionRightControls(pDC, arrOthers, nWidth);
    const CRect rcTabRow = RepositionTabRow(pDC, nTabContentStart, nRight);
    RepositionGroups(pDC, m_rcGroups);
    RepositionCaptionButtons();
    RepositionContextHeaders();
    MarkControlsBesideTabs(arrOthers, rcTabRow);
}

// The system button at the left of the tab row (or in the caption strip);
// answers where the tab row's content starts: 2 px without a button.
int CQVTRibbonBar::RepositionSystemButton(CDC* pDC)
{
    CQVTRibbonControlSystemButton* pButton = m_pControlSystemButton;
    if (!pButton || m_bBackstageMode)
        return BarScaleX(2);
    SetBarHideFlag(pButton, qvtHideWrap, FALSE);
    if (pButton->GetStyle() != qvtButtonAutomatic)
    {
        const CSize sz = pButton->GetSize(pDC);
        CQVTRibbonPaintManager* pPaintManager = GetRibbonPaintManager();
        const CRect rcMargins = pPaintManager ? pPaintManager->m_rcFileButtonMargin : CRect(0, 0, 0, 0);
        pButton->SetRect(CRect(rcMargins.left, m_rcTabControl.top + rcMargins.top, rcMargins.left + sz.cx,
                               m_rcTabControl.top + GetTabsHeight()));
        if (!GetFrameHook())
            m_rcQuickAccess.left = BarScaleX(2);
        return rcMargins.left + sz.cx + BarScaleX(4) + BarScaleX(3) + rcMargins.right;
    }
    // The caption kind: a square that spans the caption and the tab row.
    const int nSize = GetTabsHeight() + m_nQuickAccessHeight - BarScaleY(3);
    pButton->SetRect(CRect(0, m_rcCaption.top + BarScaleY(3), nSize,
                           m_rcCaption.top + BarScaleY(3) + nSize - BarScaleY(1)));
    return nSize + BarScaleX(4);
}

// The rows, then the caption row above them.
void CQVTRibbonBar::SetRowRects(int nWidth)
{
    const int nTabsHeight = GetTabsHeight();
    const int nGroupsHeight = GetGroupsHeightIfVisible();
    const int nFrameTop = GetFrameTopBorder();
    const int nCaptionHeight = GetCaptionHeight();
    m_rcTabControl.SetRect(BarScaleX(2), 0, nWidth - BarScaleX(2), nTabsHeight);
    m_rcGroups.SetRect(0, nTabsHeight, nWidth, nTabsHeight + nGroupsHeight);
    m_rcCaption.SetRect(-BarScaleX(4), nFrameTop - BarScaleY(4), nWidth + BarScaleX(4),
                        nCaptionHeight + nFrameTop);
    m_rcTabControl.OffsetRect(0, nCaptionHeight + nFrameTop);
    m_rcGroups.OffsetRect(0, nCaptionHeight + nFrameTop);
    m_rcCaptionArea.SetRect(0, 0, nWidth, m_rcCaption.bottom);
    m_rcCaptionText = IsFrameThemeEnabled() ? m_rcCaptionArea : CRect(0, 0, 0, 0);
}

// Quick-access controls in their order; the other free controls.
void CQVTRibbonBar::GetRowControls(std::vector<CQVTControl*>& arrQuickAccess,
                                   std::vector<CQVTControl*>& arrOthers)
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (IsQuickAccessControl(pControl))
        {
            arrQuickAccess.push_back(pControl);
            continue;
        }
        if (pControl->GetRibbonGroup() || pControl == GetSystemButton() || IsScrollButton(pControl) ||
            pControl == static_cast<CQVTControl*>(m_pControlTab) ||
            pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlCaptionButton)))
            continue;
        if (pControl->IsVisible(QVT_RIBBON_HIDE_TABROW | qvtHideWrap))
            arrOthers.push_back(pControl);
    }
    // Keep the customize button last among the quick-access controls, the
    // more button after it.
    std::stable_partition(arrQuickAccess.begin(), arrQuickAccess.end(), [this](CQVTControl* pControl) {
        return pControl != m_pControlQuickAccess && pControl != m_pControlQuickAccessMore;
    });
}

// Below the groups, or in the caption strip after the icon.
void CQVTRibbonBar::SetQuickAccessRect(int nWidth)
{
    // A caption-kind system button spans the caption and the tab row.
    const int nStart = m_pControlSystemButton && m_pControlSystemButton->GetStyle() == qvtButtonAutomatic
                           ? GetTabsHeight() + m_nQuickAccessHeight - BarScaleY(3)
                           : BarScaleX(10) + ::GetSystemMetrics(SM_CXSMICON);
    if (m_bShowQuickAccessBelow && m_bShowQuickAccess)
    {
        m_rcQuickAccess.SetRect(0, m_rcGroups.bottom, nWidth, m_rcGroups.bottom + m_nQuickAccessHeight);
        return;
    }
    m_rcQuickAccess.SetRect(nStart + BarScaleX(3), m_rcCaption.top + BarScaleY(2), m_rcCaption.right,
                            m_rcCaption.top + BarScaleY(2) + m_nQuickAccessHeight);
    // Without a frame hook the toolbar moves up into the caption strip.
    if (!IsFrameThemeEnabled() || IsDwmEnabled())
    {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain->GetSafeHwnd() && !(pMain->GetStyle() & WS_MAXIMIZE))
            m_rcQuickAccess.OffsetRect(0, -BarScaleY(4));
        else
            m_rcQuickAccess.OffsetRect(0, -BarScaleY(2));
    }
}

// Left-aligned free controls in the tab row from x on; answers where the
// tabs may start.
int CQVTRibbonBar::RepositionLeftControls(CDC* pDC, const std::vector<CQVTControl*>& arrOthers, int x)
{
    for (CQVTControl* pControl : arrOthers)
    {
        if (pControl->GetFlags() & qvtFlagRightAlign)
            continue;
        SetBarHideFlag(pControl, QVT_RIBBON_HIDE_TABROW, FALSE);
        if (!pControl->IsVisible(qvtHideWrap))
            continue;
        const CSize sz = pControl->GetSize(pDC);
        if (pControl->GetBeginGroup())
            x += BarScaleX(6);
        const int y = m_rcTabControl.top + (m_rcTabControl.Height() - sz.cy) / 2;
        pControl->SetRect(CRect(CPoint(x, y), sz));
        x += sz.cx;
        SetBarHideFlag(pControl, qvtHideWrap, FALSE);
        pControl->SetRowRect(CRect(BarScaleX(2), m_rcTabControl.top,
                                   pControl->GetRect().Height() - BarScaleX(2), m_rcTabControl.bottom));
    }
    return x;
}

// The quick-access toolbar: controls up to the limit, the rest behind the
// more button.
void CQVTRibbonBar::RepositionQuickAccess(CDC* pDC, const std::vector<CQVTControl*>& arrQuickAccess,
                                          int nWidth)
{
    const int nRightLimit =
        (!m_bShowQuickAccess || !m_bShowQuickAccessBelow)
            ? (IsDwmEnabled() ? nWidth - BarScaleX(115) : nWidth - 3 * m_rcCaption.Height())
            : nWidth - BarScaleX(15);
    SetBarHideFlag(m_pControlQuickAccessMore, qvtHideGeneric, TRUE);
    int xQuick = m_rcQuickAccess.left + (m_bShowQuickAccessBelow ? BarScaleX(2) : 0);
    BOOL bOverflow = FALSE;
    BOOL bPlacedOrdinary = FALSE;
    const BOOL bAbove = !m_bShowQuickAccessBelow;
    for (CQVTControl* pControl : arrQuickAccess)
    {
        const BOOL bOwnButton = pControl == m_pControlQuickAccess || pControl == m_pControlQuickAccessMore;
        if (!m_bShowQuickAccess)
        {
            SetBarHideFlag(pControl, qvtHideWrap, TRUE);
            continue;
        }
        if (pControl != m_pControlQuickAccessMore)
            SetBarHideFlag(pControl, qvtHideWrap, bOverflow);
        if (pControl == m_pControlQuickAccess && bAbove && bPlacedOrdinary)
            xQuick += BarScaleX(12);
        if (!pControl->IsVisible(qvtHideWrap) || (bOverflow && !bOwnButton))
            continue;
        if (pControl == m_pControlQuickAccess && bOverflow)
            continue;
        const CSize sz = pControl->GetSize(pDC);
        int y = m_rcQuickAccess.top + (m_rcQuickAccess.Height() + BarScaleY(1) - sz.cy) / 2;
        if (bAbove && !bOwnButton)
            y += BarScaleY(2);
        if (pControl->GetBeginGroup() && !bOwnButton)
            xQuick += BarScaleX(6);
        if (!bOwnButton && xQuick + sz.cx > nRightLimit)
        {
            bOverflow = TRUE;
            SetBarHideFlag(pControl, qvtHideWrap, TRUE);
            SetBarHideFlag(m_pControlQuickAccessMore, qvtHideGeneric, FALSE);
            continue;
        }
        pControl->SetRect(CRect(CPoint(xQuick, y), sz));
        SetBarHideFlag(pControl, qvtHideWrap, FALSE);
        pControl->SetRowRect(m_rcQuickAccess);
        if (!bOwnButton)
        {
            xQuick += sz.cx;
            bPlacedOrdinary = TRUE;
        }
    }
    if (bOverflow)
        SetBarHideFlag(m_pControlQuickAccess, qvtHideWrap, TRUE);
    if (bAbove)
        m_nQuickAccessRight = xQuick;
}

// Right-aligned free controls, last to first; answers where the tabs must end.
int CQVTRibbonBar::RepositionRightControls(CDC* pDC, const std::vector<CQVTControl*>& arrOthers, int nWidth)
{
    int nRight = nWidth;
    for (auto it = arrOthers.rbegin(); it != arrOthers.rend(); ++it)
    {
        CQVTControl* pControl = *it;
        if (!(pControl->GetFlags() & qvtFlagRightAlign))
            continue;
        SetBarHideFlag(pControl, QVT_RIBBON_HIDE_TABROW, FALSE);
        if (!pControl->IsVisible(qvtHideWrap))
            continue;
        const CSize sz = pControl->GetSize(pDC);
        const int y = m_rcTabControl.top + (m_rcTabControl.Height() - sz.cy) / 2;
        pControl->SetRect(CRect(nRight - sz.cx, y, nRight, y + sz.cy));
        SetBarHideFlag(pControl, qvtHideWrap, FALSE);
        nRight -= sz.cx;
        pControl->SetBeginGroup(FALSE);
    }
    return nRight;
}

// The tab row between the free controls, empty when they leave no room.
CRect CQVTRibbonBar::RepositionTabRow(CDC* pDC, int nTabContentStart, int nRight)
{
    CRect rcTabRow;
    if (nTabContentStart + BarScaleX(6) > nRight)
        rcTabRow.SetRect(0, m_rcTabControl.top, 0, m_rcTabControl.bottom + 1);
    else
        rcTabRow.SetRect(nTabContentStart, m_rcTabControl.top, nRight, m_rcTabControl.bottom + 1);
    SetBarHideFlag(m_pControlTab, qvtHideGeneric, FALSE);
    SetBarHideFlag(m_pControlTab, qvtHideWrap, FALSE);
    m_pControlTab->SetRect(rcTabRow);
    CQVTTabPaintManager* pTabPaintManager = GetTabPaintManager();
    if (pTabPaintManager)
        pTabPaintManager->RepositionTabControl(m_pControlTab, pDC, rcTabRow);
    return rcTabRow;
}

void CQVTRibbonBar::MarkControlsBesideTabs(const std::vector<CQVTControl*>& arrOthers, const CRect& rcTabRow)
{
    for (CQVTControl* pControl : arrOthers)
    {
        const CRect rc = pControl->GetRect();
        const BOOL bBeside = rc.top >= m_rcTabControl.top && rc.bottom <= m_rcTabControl.bottom + 1 &&
                             (rc.right <= rcTabRow.left || rc.left >= rcTabRow.right);
        const DWORD dwFlags = pControl->GetFlags();
        pControl->SetFlags(bBeside ? (dwFlags | QVT_RIBBON_FLAG_BESIDE_TABS)
                                   : (dwFlags & ~QVT_RIBBON_FLAG_BESIDE_TABS));
    }
}

void CQVTRibbonBar::RepositionGroups(CDC* pDC, CRect rcGroups)
{
    m_rcGroups = rcGroups;
    CQVTRibbonTab* pTab = GetCurrentTab();
    if (!pTab || IsBackstageViewVisible())
    {
        ShowScrollButtons(FALSE, FALSE);
        return;
    }
    if (m_bMinimized)
    {
        ShowScrollButtons(FALSE, FALSE);
        return;
    }
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int nGap = pRibbonPaintManager && pRibbonPaintManager->GetGroupSpacing() > 0 ? BarScaleX(4) : 0;
    const CRect rcMargins(rcGroups.left + nGap, rcGroups.top + BarScaleY(3), nGap + BarScaleX(4), 0);
    pTab->GetGroups()->CalcLayout(pDC, rcGroups.Width(), LM_COMMIT, rcMargins);
}

void CQVTRibbonBar::RepositionCaptionButtons()
{
    // Without a frame hook the site's own frame has the buttons.
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    CWnd* pSite = GetSite();
    if (!pHook || !pSite || !pSite->GetSafeHwnd())
        return;
    if (m_bShowQuickAccessBelow || !m_bShowQuickAccess)
        m_rcCaptionArea.left = BarScaleX(GetSystemButton() ? 70 : 30);
    else
        m_rcCaptionArea.left =
            m_nQuickAccessRight +
            (m_pControlQuickAccess ? m_pControlQuickAccess->GetRect().Width() + BarScaleX(2) : BarScaleX(12));
    m_rcCaptionArea.top += GetFrameTopBorder();
    m_rcCaptionArea.bottom -= BarScaleY(3);

    const DWORD dwStyle = pSite->GetStyle();
    const BOOL bToolWindow = (pSite->GetExStyle() & WS_EX_TOOLWINDOW) != 0;
    const BOOL bSysMenu = (dwStyle & WS_SYSMENU) != 0;
    const BOOL bChildMaximized = (dwStyle & WS_CHILD) && (dwStyle & WS_MAXIMIZE);
    const BOOL bPair = bSysMenu && !bToolWindow && (dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    BOOL bCloseEnabled = TRUE;
    if (HMENU hMenu = ::GetSystemMenu(pSite->GetSafeHwnd(), FALSE))
    {
        const UINT nState = ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND);
        bCloseEnabled = nState == static_cast<UINT>(-1) || !(nState & (MF_GRAYED | MF_DISABLED));
    }
    const BOOL bMaximized = (dwStyle & WS_MAXIMIZE) != 0;
    const BOOL bControls = !pHook->IsDwmEnabled() && !bChildMaximized;
    const BOOL bShowClose = bControls && bSysMenu;
    const BOOL bShowRestore = bControls && bPair && bMaximized;
    const BOOL bShowMaximize = bControls && bPair && !bMaximized;
    const BOOL bShowMinimize = bControls && bPair;
    AddCaptionButton(SC_CLOSE, bShowClose, bCloseEnabled, m_rcCaptionArea);
    AddCaptionButton(SC_RESTORE, bShowRestore, (dwStyle & WS_MAXIMIZEBOX) != 0, m_rcCaptionArea);
    AddCaptionButton(SC_MAXIMIZE, bShowMaximize, (dwStyle & WS_MAXIMIZEBOX) != 0, m_rcCaptionArea);
    AddCaptionButton(SC_MINIMIZE, bShowMinimize, (dwStyle & WS_MINIMIZEBOX) != 0, m_rcCaptionArea);
    // Room for the buttons the frame itself draws.
    if (!bChildMaximized)
    {
        const int cxSize = ::GetSystemMetrics(SM_CXSIZE);
        if (!bShowClose && bSysMenu && bCloseEnabled)
            m_rcCaptionArea.right -= cxSize;
        if (!bShowRestore && !bShowMaximize && bPair && (dwStyle & WS_MAXIMIZEBOX))
            m_rcCaptionArea.right -= cxSize;
        if (!bShowMinimize && bPair && (dwStyle & WS_MINIMIZEBOX))
            m_rcCaptionArea.right -= cxSize;
    }
    RepositionCaptionTitle();
}

void CQVTRibbonBar::AddCaptionButton(int nId, BOOL bShow, BOOL bEnabled, CRect& rcCaption)
{
    CQVTControl* pButton = m_pControls->FindControl(nId);
    if (pButton && !pButton->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlCaptionButton)))
        pButton = nullptr;
    if (!bShow)
    {
        if (pButton)
            m_pControls->Remove(pButton);
        return;
    }
    if (!pButton)
    {
        pButton = m_pControls->Add(new CQVTRibbonBarControlCaptionButton(), nId, nullptr, -1, TRUE);
        if (!pButton)
            return;
        pButton->SetFlags(pButton->GetFlags() | qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable);
        pButton->SetCaption(_T(""));
        CString strTooltip;
        CWnd* pSite = GetSite();
        if (HMENU hMenu = pSite ? ::GetSystemMenu(pSite->GetSafeHwnd(), FALSE) : nullptr)
        {
            TCHAR szText[256] = {};
            if (::GetMenuString(hMenu, static_cast<UINT>(nId), szText, 255, MF_BYCOMMAND) > 0)
                strTooltip = szText;
        }
        const int nTab = strTooltip.Find(_T('\t'));
        if (nTab >= 0)
            strTooltip = strTooltip.Left(nTab);
        // The menu's mnemonics are no part of a tip or an accessible name.
        CQVTDrawHelpers::StripMnemonics(strTooltip);
        pButton->SetTooltip(strTooltip);
    }
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    CQVTFramePaintManager* pFramePaintManager = pHook ? pHook->GetFramePaintManager() : nullptr;
    CSize sz(::GetSystemMetrics(SM_CXSIZE), ::GetSystemMetrics(SM_CYSIZE));
    CRect rcMargin(0, 0, 0, 0);
    if (pFramePaintManager)
    {
        sz = pFramePaintManager->GetCaptionButtonSize(nId, GetSite()->GetSafeHwnd());
        rcMargin = pFramePaintManager->GetCaptionButtonMargin();
    }
    CRect rcButton(rcCaption.right - sz.cx, rcCaption.top, rcCaption.right, rcCaption.top + sz.cy);
    rcButton.OffsetRect(-rcMargin.right, rcMargin.top);
    rcCaption.right -= sz.cx + rcMargin.left + rcMargin.right;
    pButton->SetHideFlags(pButton->GetHideFlags() & ~static_cast<DWORD>(qvtHideWrap | qvtHideGeneric));
    pButton->SetRect(rcButton);
    pButton->SetEnabled(bEnabled);
}

// The site's title in the caption area, centred on the bar where it fits.
void CQVTRibbonBar::RepositionCaptionTitle()
{
    CWnd* pSite = GetSite();
    pSite->GetWindowText(m_strCaptionText);
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    CQVTFramePaintManager* pFramePaintManager = pHook ? pHook->GetFramePaintManager() : nullptr;
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTFontDC font(&dc, pFramePaintManager ? pFramePaintManager->GetCaptionFont() : nullptr);
    const int nWidth = dc.GetTextExtent(m_strCaptionText).cx + BarScaleX(20);
    const CRect& rcArea = m_rcCaptionArea;
    if (nWidth >= rcArea.Width())
    {
        m_rcCaptionText = rcArea;
        return;
    }
    const BOOL bCentered = pFramePaintManager ? pFramePaintManager->m_bCaptionCenterAligned : TRUE;
    if (!bCentered)
    {
        m_rcCaptionText.SetRect(rcArea.left, rcArea.top, rcArea.left + nWidth, rcArea.bottom);
        return;
    }
    CRect rcBar(rcArea);
    if (GetSafeHwnd())
        GetClientRect(&rcBar);
    const int nLeft = (rcBar.Width() - nWidth) / 2;
    m_rcCaptionText.SetRect(nLeft, rcArea.top, nLeft + nWidth, rcArea.bottom);
    if (m_rcCaptionText.left < rcArea.left + BarScaleX(10) ||
        m_rcCaptionText.right > rcArea.right + BarScaleX(10))
    {
        const int nInside = rcArea.left + (rcArea.Width() - nWidth) / 2;
        m_rcCaptionText.SetRect(nInside, rcArea.top, nInside + nWidth, rcArea.bottom);
    }
}

void CQVTRibbonBar::BuildContextHeaders()
{
    for (int i = 0; i < GetTabCount(); ++i)
        GetTab(i)->SetContextHeader(nullptr);
    m_contextHeaders.RemoveAll();
    CQVTRibbonTabContextHeader* pCurrent = nullptr;
    for (int i = 0; i < GetTabCount(); ++i)
    {
        CQVTRibbonTab* pTab = GetTab(i);
        if (!pTab->IsVisible())
            continue;
        if (pTab->GetContextColor() == 0 || pTab->GetContextCaption().IsEmpty())
        {
            pCurrent = nullptr;
            continue;
        }
        const CRect rcTab = pTab->GetRect();
        if (pCurrent && pCurrent->m_nColor == pTab->GetContextColor() &&
            pCurrent->m_strCaption == pTab->GetContextCaption())
        {
            pCurrent->m_pLastTab = pTab;
            pCurrent->m_rcRect.right = rcTab.right;
            pTab->SetContextHeader(pCurrent);
            continue;
        }
        pCurrent = new CQVTRibbonTabContextHeader(pTab);
        pCurrent->m_rcRect.SetRect(rcTab.left, m_rcCaption.top + BarScaleY(4), rcTab.right,
                                   m_rcCaption.bottom);
        m_contextHeaders.Add(pCurrent);
    }
}

BOOL CQVTRibbonBar::FitContextHeaders()
{
    const int nCount = m_contextHeaders.GetCount();
    if (nCount == 0)
        return TRUE;
    const int nMin = BarScaleX(kMinHeaderWidth);
    int x = m_rcCaptionArea.left;
    for (int i = 0; i < nCount; ++i)
    {
        CRect& rc = m_contextHeaders.GetAt(i)->m_rcRect;
        if (rc.left >= x && rc.Width() >= nMin)
            break;
        rc.left = std::max(static_cast<int>(rc.left), x);
        rc.right = std::max(static_cast<int>(rc.right), static_cast<int>(rc.left) + nMin);
        x = rc.right;
    }
    int nLimit = m_rcCaptionArea.right;
    for (int i = nCount - 1; i >= 0; --i)
    {
        CRect& rc = m_contextHeaders.GetAt(i)->m_rcRect;
        if (rc.right <= nLimit)
            break;
        rc.right = std::min(static_cast<int>(rc.right), nLimit);
        rc.left = std::min(static_cast<int>(rc.left), static_cast<int>(rc.right) - nMin);
        nLimit = rc.left;
        if (i > 0 && nLimit < m_contextHeaders.GetAt(i - 1)->m_rcRect.right)
            return FALSE;
    }
    return m_contextHeaders.GetAt(0)->m_rcRect.left >= m_rcCaptionArea.left;
}

void CQVTRibbonBar::MoveTitleBesideHeaders()
{
    if (m_contextHeaders.GetCount() == 0 || m_rcCaptionText.IsRectEmpty())
        return;
    const CRect rcSpan(m_contextHeaders.GetAt(0)->m_rcRect.left, m_rcCaption.top + BarScaleY(6),
                       m_contextHeaders.GetAt(m_contextHeaders.GetCount() - 1)->m_rcRect.right,
                       m_rcCaption.bottom);
    CRect rcIntersect;
    if (!rcIntersect.IntersectRect(m_rcCaptionText, rcSpan))
        return;
    const int nWidth = m_rcCaptionText.Width();
    if (m_rcCaptionText.CenterPoint().x > rcSpan.CenterPoint().x)
    {
        m_rcCaptionText.left = rcSpan.right;
        m_rcCaptionText.right = std::min(static_cast<int>(m_rcCaptionArea.right), rcSpan.right + nWidth);
    }
    else
    {
        m_rcCaptionText.right = rcSpan.left;
        m_rcCaptionText.left = std::max(static_cast<int>(m_rcCaptionArea.left), rcSpan.left - nWidth);
    }
    m_rcCaptionText.DeflateRect(BarScaleX(4), 0);
}

void CQVTRibbonBar::RepositionContextHeaders()
{
    if (GetTabCount() == 0)
    {
        m_contextHeaders.RemoveAll();
        return;
    }
    if (m_bShowQuickAccess && !m_bShowQuickAccessBelow && !IsFrameThemeEnabled())
        m_rcCaptionArea.left =
            m_nQuickAccessRight +
            (m_pControlQuickAccess ? m_pControlQuickAccess->GetRect().Width() + BarScaleX(2) : BarScaleX(12));
    BuildContextHeaders();
    if (!FitContextHeaders())
    {
        for (int i = 0; i < GetTabCount(); ++i)
            GetTab(i)->SetContextHeader(nullptr);
        m_contextHeaders.RemoveAll();
        return;
    }
    MoveTitleBesideHeaders();
}

// Painting.

void CQVTRibbonBar::DrawSelectionOutline(CDC* pDC, CRect rc)
{
    pDC->Draw3dRect(rc, 0, 0);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, 0, 0);
}

void CQVTRibbonBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    CQVTPaintManager* pPaintManager = GetPaintManager();
    pDC->SetBkMode(TRANSPARENT);
    CQVTFontDC font(pDC, pPaintManager->GetCommandBarFont(this));
    if (!pRibbonPaintManager)
    {
        CQVTMenuBar::DrawCommandBar(pDC, rcClipBox);
        return;
    }
    pRibbonPaintManager->FillRibbonBar(pDC, this);
    CRect rcIntersect;
    if (rcIntersect.IntersectRect(m_rcCaption, rcClipBox))
    {
        if (IsFrameThemeEnabled())
            pRibbonPaintManager->DrawRibbonFrameCaption(pDC, this, IsFrameActive());
        else
            pRibbonPaintManager->DrawRibbonFrameCaptionBar(pDC, this, FALSE);
    }
    CQVTRibbonTab* pTab = GetCurrentTab();
    const BOOL bGroupsShown = GetGroupsHeightIfVisible() > 0 && !m_bBackstageMode;
    if (bGroupsShown)
        pRibbonPaintManager->FillGroupsArea(pDC, pTab, m_rcGroups);

    CQVTTabPaintManager* pTabPaintManager = GetTabPaintManager();
    if (pTabPaintManager)
    {
        pTabPaintManager->m_bDrawTextHidePrefix = !IsKeyboardCuesVisible();
        if (rcIntersect.IntersectRect(m_pControlTab->GetRect(), rcClipBox) && !m_bBackstageMode)
            pTabPaintManager->DrawTabControl(m_pControlTab, pDC, m_pControlTab->GetRect());
    }

    if (bGroupsShown && pTab)
    {
        CQVTRibbonGroups* pGroups = pTab->GetGroups();
        for (int i = 0; i < pGroups->GetCount(); ++i)
        {
            CQVTRibbonGroup* pGroup = pGroups->GetAt(i);
            if (pGroup->IsVisible() && rcIntersect.IntersectRect(pGroup->GetRect(), rcClipBox))
                pGroup->Draw(pDC, rcClipBox);
        }
    }

    BOOL bFirst = TRUE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetRibbonGroup() || !pControl->IsVisible() || pControl == m_pControlTab)
            continue;
        if (pControl->GetBeginGroup() && !bFirst)
            pPaintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
        bFirst = FALSE;
        if (m_bBackstageMode && (pControl->GetFlags() & QVT_RIBBON_FLAG_BESIDE_TABS))
            continue;
        if (rcIntersect.IntersectRect(pControl->GetRect(), rcClipBox))
            pControl->Draw(pDC);
    }
    if (IsCustomizeMode() && GetCommandBars())
    {
        CQVTControl* pDrag = GetCommandBars()->GetDragControl();
        if (pDrag && pDrag->GetParent() == this)
            DrawSelectionOutline(pDC, pDrag->GetRect());
    }
}
