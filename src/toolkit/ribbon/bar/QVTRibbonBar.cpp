#include "toolkit/ribbon/bar/QVTRibbonBar.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/bar/QVTRibbonQuickAccess.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

IMPLEMENT_SERIAL(CQVTRibbonBar, CQVTMenuBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBarControlCaptionButton, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNAMIC(CQVTRibbonBarControlQuickAccessButton, CQVTControlPopup)
IMPLEMENT_SERIAL(CQVTRibbonBarControlQuickAccessPopup, CQVTRibbonBarControlQuickAccessButton,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBarControlQuickAccessMorePopup, CQVTRibbonBarControlQuickAccessButton,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BEGIN_MESSAGE_MAP(CQVTRibbonBar, CQVTMenuBar)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_COMMAND_RANGE(QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSBELOW, QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSABOVE2,
                     &CQVTRibbonBar::OnCustomizeCommand)
    ON_MESSAGE(WM_INITIALUPDATE, &CQVTRibbonBar::OnInitialUpdate)
    ON_MESSAGE(QVTWM_CONTROLNOTIFY, &CQVTRibbonBar::OnControlNotify)
END_MESSAGE_MAP()

namespace QVTRibbonBarDetail {

// The ids of the caption buttons: close, restore, maximize, minimize.
const int kCaptionButtonIds[] = {SC_CLOSE, SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE};

// Copies of the ribbon's buttons also draw in popups: the ribbon paint
// manager of whatever bar holds them.
CQVTRibbonPaintManager* RibbonPaintManagerOf(const CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->IsRibbonBar())
        return static_cast<CQVTRibbonBar*>(pBar)->GetRibbonPaintManager();
    CQVTPaintManager* pPaintManager = pBar ? pBar->GetPaintManager() : nullptr;
    return pPaintManager ? pPaintManager->GetRibbonPaintManager() : nullptr;
}

// The quick-access buttons are as high as a control row and 13/22 of it
// wide, so that they grow with the ribbon's font.
CSize QuickAccessButtonSize(const CQVTControl* pControl)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = RibbonPaintManagerOf(pControl);
    const int nHeight =
        pRibbonPaintManager ? pRibbonPaintManager->GetRowHeight() : QVTDpiScaler()->ScaleY(22);
    return CSize(nHeight * QVTDpiScaler()->ScaleY(13) / QVTDpiScaler()->ScaleY(22), nHeight);
}

// The ribbon whose quick-access button this is or was copied from.
CQVTRibbonBar* QuickAccessRibbonOf(const CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->IsRibbonBar())
        return static_cast<CQVTRibbonBar*>(pBar);
    CQVTRibbonBarMorePopupToolBar* pMore = DYNAMIC_DOWNCAST(CQVTRibbonBarMorePopupToolBar, pBar);
    return pMore ? pMore->GetRibbonBar() : nullptr;
}

}  // namespace QVTRibbonBarDetail

using namespace QVTRibbonBarDetail;

// The bar's own small controls.

CQVTRibbonBarControlCaptionButton::CQVTRibbonBarControlCaptionButton()
{
    m_dwFlags = qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable;
}

CSize CQVTRibbonBarControlCaptionButton::Draw(CDC* pDC)
{
    CQVTRibbonBar* pRibbonBar = DYNAMIC_DOWNCAST(CQVTRibbonBar, m_pParent);
    CQVTCommandBarsFrameHook* pHook = pRibbonBar ? pRibbonBar->GetFrameHook() : nullptr;
    CQVTFramePaintManager* pFramePaintManager = pHook ? pHook->GetFramePaintManager() : nullptr;
    if (pFramePaintManager)
        pFramePaintManager->DrawCaptionButton(pDC, m_rcControl, m_nId, GetSelected(), GetPressed(),
                                              GetEnabled() && pHook->IsFrameActive(), pHook->IsFrameActive(),
                                              pRibbonBar);
    return m_rcControl.Size();
}

void CQVTRibbonBarControlCaptionButton::OnExecute()
{
    CWnd* pSite = m_pParent ? m_pParent->GetSite() : nullptr;
    if (pSite && pSite->GetSafeHwnd())
        pSite->PostMessage(WM_SYSCOMMAND, static_cast<WPARAM>(m_nId), 0);
}

CQVTRibbonBarControlQuickAccessButton::CQVTRibbonBarControlQuickAccessButton()
{
    m_dwFlags = qvtFlagManualUpdate | qvtFlagNoMovable;
}

CSize CQVTRibbonBarControlQuickAccessButton::GetSize(CDC*)
{
    return QuickAccessButtonSize(this);
}

BOOL CQVTRibbonBarControlQuickAccessButton::OnSetPopup(BOOL bPopup)
{
    if (bPopup)
    {
        CQVTRibbonBar* pRibbonBar = QuickAccessRibbonOf(this);
        SetCommandBar(nullptr);
        CQVTPopupBar* pMenu = pRibbonBar ? CreateMenu(pRibbonBar) : nullptr;
        if (!pMenu)
        {
            m_bPopuped = FALSE;
            return FALSE;
        }
        SetCommandBar(pMenu);
        pMenu->InternalRelease();
    }
    return CQVTControlPopup::OnSetPopup(bPopup);
}

void CQVTRibbonBarControlQuickAccessButton::OnUnderlineActivate()
{
    // The menu is made when it opens, so there may be none yet.
    if (m_pParent)
        m_pParent->SetPopuped(m_nIndex, TRUE);
}

CSize CQVTRibbonBarControlQuickAccessPopup::Draw(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = RibbonPaintManagerOf(this);
    if (pRibbonPaintManager)
        pRibbonPaintManager->DrawRibbonQuickAccessButton(pDC, this);
    return m_rcControl.Size();
}

CQVTPopupBar* CQVTRibbonBarControlQuickAccessPopup::CreateMenu(CQVTRibbonBar* pRibbonBar)
{
    return pRibbonBar->CreateContextMenu(this);
}

void CQVTRibbonBarControlQuickAccessPopup::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    // The menu belongs to the button that opened it.
    CQVTControlPopup::Copy(pSource, FALSE);
    SetCommandBar(nullptr);
}

CSize CQVTRibbonBarControlQuickAccessMorePopup::Draw(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = RibbonPaintManagerOf(this);
    if (pRibbonPaintManager)
        pRibbonPaintManager->DrawRibbonQuickAccessMoreButton(pDC, this);
    return m_rcControl.Size();
}

CQVTPopupBar* CQVTRibbonBarControlQuickAccessMorePopup::CreateMenu(CQVTRibbonBar* pRibbonBar)
{
    return pRibbonBar->CreateMoreQuickAccessPopup();
}

// Construction.

CQVTRibbonBar::CQVTRibbonBar()
    : m_pRibbonControls(nullptr), m_pQuickAccessControls(nullptr), m_pControlTab(nullptr),
      m_pControlSystemButton(nullptr), m_pControlQuickAccess(nullptr), m_pControlQuickAccessMore(nullptr),
      m_nQuickAccessHeight(0), m_nQuickAccessRight(0), m_bContentShown(TRUE), m_bShowQuickAccessBelow(FALSE),
      m_bShowQuickAccess(TRUE), m_bMinimized(FALSE), m_bShowCaptionRow(TRUE),
      m_nMinVisibleWidth(QVTDpiScaler()->ScaleX(250)), m_nQuickAccessCaptionGap(QVTDpiScaler()->ScaleY(4)),
      m_bTabClickPending(FALSE), m_bUpdatePending(FALSE), m_nLockLayout(0), m_bLayoutRequested(FALSE),
      m_bBackstageMode(FALSE), m_nBackstageMenuWidth(0), m_nBackstageSmallBand(0), m_nBackstageBand(0)
{
    m_barType = qvtBarTypeRibbon;
    m_bCustomizable = FALSE;

    m_pQuickAccessControls = new CQVTRibbonQuickAccessControls();
    m_pQuickAccessControls->SetRibbonBar(this);

    // The ribbon's own list replaces the one the base bar made.
    m_pRibbonControls = new CQVTRibbonControls();
    CQVTControls* pOld = m_pControls;
    m_pControls = m_pRibbonControls;
    m_pRibbonControls->SetParent(this);
    if (pOld)
        pOld->InternalRelease();

    InitScrollableBar(this);

    m_pControlQuickAccess = new CQVTRibbonBarControlQuickAccessPopup();
    m_pControls->Add(m_pControlQuickAccess, QVT_ID_RIBBONCONTROLQUICKACCESS, nullptr, -1, TRUE);
    m_pControlQuickAccess->SetFlags(qvtFlagManualUpdate | qvtFlagNoMovable);
    m_pControlQuickAccessMore = new CQVTRibbonBarControlQuickAccessMorePopup();
    m_pControls->Add(m_pControlQuickAccessMore, QVT_ID_RIBBONCONTROLQUICKACCESSMORE, nullptr, -1, TRUE);
    m_pControlQuickAccessMore->SetFlags(qvtFlagManualUpdate | qvtFlagNoMovable);
    m_pControlQuickAccessMore->SetHideFlags(qvtHideGeneric);

    m_pControlTab = new CQVTRibbonControlTab();
    m_pControls->Add(m_pControlTab, QVT_ID_RIBBONCONTROLTAB, nullptr, -1, TRUE);

    SetBarStyle(1088);
    EnableAnimation(TRUE);
}

CQVTRibbonBar::~CQVTRibbonBar()
{
    RemoveAllTabs();
    if (m_pQuickAccessControls)
    {
        m_pQuickAccessControls->RemoveAllQuickAccess();
        m_pQuickAccessControls->InternalRelease();
        m_pQuickAccessControls = nullptr;
    }
    for (int i = 0; i < GetTabCount(); ++i)
        GetTab(i)->SetContextHeader(nullptr);
    m_contextHeaders.RemoveAll();
}

CQVTRibbonPaintManager* CQVTRibbonBar::GetRibbonPaintManager() const
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetRibbonPaintManager() : nullptr;
}

CQVTTabPaintManager* CQVTRibbonBar::GetTabPaintManager() const
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    return pRibbonPaintManager ? pRibbonPaintManager->GetTabPaintManager() : nullptr;
}

int CQVTRibbonBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQVTMenuBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetupHook();
    return 0;
}

// Tabs.

CQVTRibbonTab* CQVTRibbonBar::AddTab(UINT nIDResource)
{
    CString strText;
    QVTResourceManager()->LoadString(&strText, nIDResource);
    CString strCaption = strText;
    CString strTooltip;
    CString strKeyboardTip;
    if (strText.Find(_T('\n')) >= 0)
    {
        CString arrParts[4];
        int nPart = 0;
        int nStart = 0;
        while (nPart < 4)
        {
            const int nFeed = strText.Find(_T('\n'), nStart);
            arrParts[nPart++] = nFeed >= 0 ? strText.Mid(nStart, nFeed - nStart) : strText.Mid(nStart);
            if (nFeed < 0)
                break;
            nStart = nFeed + 1;
        }
        strCaption = !arrParts[2].IsEmpty() ? arrParts[2] : arrParts[1];
        strTooltip = arrParts[1];
        strKeyboardTip = arrParts[3];
    }
    CQVTRibbonTab* pTab = InsertTab(GetTabCount(), strCaption, static_cast<int>(nIDResource));
    pTab->SetTooltip(strTooltip);
    pTab->SetKeyboardTip(strKeyboardTip);
    return pTab;
}

CQVTRibbonTab* CQVTRibbonBar::AddTab(LPCTSTR lpszCaption)
{
    return InsertTab(GetTabCount(), lpszCaption, 0);
}

CQVTRibbonTab* CQVTRibbonBar::InsertTab(int nIndex, LPCTSTR lpszCaption, int nId)
{
    CQVTRibbonTab* pTab = new CQVTRibbonTab();
    pTab->SetRibbonBar(this, this);
    pTab->SetID(nId);
    pTab->SetCaption(lpszCaption);
    m_pControlTab->AddItem(nIndex, pTab);
    if (nIndex == 0 && !m_pControlTab->GetSelectedItem())
        m_pControlTab->SetCurSel(0);
    RequestLayout();
    return pTab;
}

CQVTRibbonTab* CQVTRibbonBar::GetTab(int nIndex) const
{
    if (!m_pControlTab || nIndex < 0 || nIndex >= m_pControlTab->GetItemCount())
        return nullptr;
    return static_cast<CQVTRibbonTab*>(m_pControlTab->GetItem(nIndex));
}

int CQVTRibbonBar::GetTabCount() const
{
    return m_pControlTab ? m_pControlTab->GetItemCount() : 0;
}

CQVTRibbonTab* CQVTRibbonBar::GetCurrentTab() const
{
    return m_pControlTab ? static_cast<CQVTRibbonTab*>(m_pControlTab->GetSelectedItem()) : nullptr;
}

void CQVTRibbonBar::SetCurrentTab(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetTabCount())
        m_pControlTab->SetCurSel(nIndex);
}

CQVTRibbonTab* CQVTRibbonBar::FindTab(int nId) const
{
    for (int i = 0; i < GetTabCount(); ++i)
        if (GetTab(i)->GetID() == nId)
            return GetTab(i);
    return nullptr;
}

void CQVTRibbonBar::RemoveAllTabs()
{
    if (!m_pControlTab)
        return;
    for (int i = 0; i < GetTabCount(); ++i)
        GetTab(i)->SetContextHeader(nullptr);
    m_contextHeaders.RemoveAll();
    m_pHighlightedGroup = nullptr;
    m_pControlTab->DeleteAllItems();
}

void CQVTRibbonBar::RefreshGroupControls(CQVTRibbonTab* pTab)
{
    m_nGroupsScrollPos = 0;
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        CQVTControl* pControl = GetControl(i);
        CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
        BOOL bHide = FALSE;
        if (pGroup)
            bHide = m_bMinimized || !pTab || pGroup->GetParentTab() != pTab || !pGroup->IsVisible();
        const DWORD dwFlags = pControl->GetHideFlags();
        const DWORD dwNew = bHide ? (dwFlags | QVT_RIBBON_HIDE_GROUP) : (dwFlags & ~QVT_RIBBON_HIDE_GROUP);
        if (dwNew != dwFlags)
            pControl->SetHideFlags(dwNew);
    }
}

// States.

void CQVTRibbonBar::SetRibbonMinimized(BOOL bMinimized)
{
    if (m_bMinimized == bMinimized)
        return;
    m_bMinimized = bMinimized;
    if (!bMinimized && !GetCurrentTab())
    {
        CQVTTabManagerItem* pItem = m_pControlTab->FindNextFocusable(-1, +1);
        if (pItem)
            m_pControlTab->SetSelectedItem(pItem);
    }
    RefreshGroupControls(GetCurrentTab());
    RequestLayout();
    ClosePopups();
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_RIBBONMINIMIZE, reinterpret_cast<WPARAM>(this), 0);
}

void CQVTRibbonBar::ShowQuickAccessBelowRibbon(BOOL bBelow)
{
    m_bShowQuickAccessBelow = bBelow;
    RequestLayout();
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    if (!pHook || !pHook->GetSite())
        return;
    if (pHook->IsDwmEnabled())
    {
        if (GetSafeHwnd())
            UpdateWindow();
        pHook->UpdateFrameRegion();
    }
    else
        ::SendMessage(pHook->GetSite(), WM_NCPAINT, 0, 0);
}

void CQVTRibbonBar::ShowQuickAccess(BOOL bShow)
{
    if (m_bShowQuickAccess == bShow)
        return;
    m_bShowQuickAccess = bShow;
    RequestLayout();
}

void CQVTRibbonBar::EnableFrameTheme(BOOL bEnable)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return;
    if (!bEnable)
    {
        for (int nId : kCaptionButtonIds)
        {
            CQVTControl* pButton = m_pControls->FindControl(nId);
            if (pButton && pButton->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlCaptionButton)))
                m_pControls->Remove(pButton);
        }
        pCommandBars->EnableFrameTheme(FALSE);
        RequestLayout();
        return;
    }
    pCommandBars->EnableFrameTheme(TRUE);
}

CQVTCommandBarsFrameHook* CQVTRibbonBar::GetFrameHook() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars ? pCommandBars->GetFrameHook() : nullptr;
}

BOOL CQVTRibbonBar::IsFrameThemeEnabled() const
{
    return GetFrameHook() != nullptr;
}

BOOL CQVTRibbonBar::IsDwmEnabled() const
{
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    return pHook && pHook->IsDwmEnabled();
}

BOOL CQVTRibbonBar::IsFrameActive() const
{
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    return pHook && pHook->IsFrameActive();
}

BOOL CQVTRibbonBar::IsBackstageViewVisible() const
{
    CQVTRibbonControlSystemButton* pButton = m_pControlSystemButton;
    if (!pButton || !pButton->IsVisible())
        return FALSE;
    CQVTCommandBar* pPopup = pButton->GetCommandBar();
    return pPopup && pPopup->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageView)) && pPopup->IsVisible();
}

void CQVTRibbonBar::SetBackstageMode(BOOL bMode, int nSmallBand, int nBand)
{
    if (bMode)
    {
        m_nBackstageSmallBand = nSmallBand;
        m_nBackstageBand = nBand;
    }
    if (m_bBackstageMode == bMode)
        return;
    m_bBackstageMode = bMode;
    RequestLayout();
}

void CQVTRibbonBar::CloseBackstageView()
{
    if (IsBackstageViewVisible())
        m_pControlSystemButton->GetCommandBar()->SetTrackingMode(FALSE);
}

int CQVTRibbonBar::GetFrameTopBorder() const
{
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    return pHook ? pHook->GetDwmTopBorder() : 0;
}

BOOL CQVTRibbonBar::IsQuickAccessControl(const CQVTControl* pControl) const
{
    if (!pControl)
        return FALSE;
    if (pControl == m_pControlQuickAccess || pControl == m_pControlQuickAccessMore)
        return TRUE;
    return !pControl->GetRibbonGroup() && m_pQuickAccessControls &&
           m_pQuickAccessControls->Contains(pControl);
}

BOOL CQVTRibbonBar::IsAllowQuickAccessControl(CQVTControl* pControl)
{
    if (!pControl || (m_pQuickAccessControls && m_pQuickAccessControls->FindDuplicate(pControl)))
        return FALSE;
    if (pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonGroupControlPopup)) ||
        pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonGroupOption)))
        return pControl->GetID() > 0;
    return (pControl->GetFlags() & qvtFlagNoMovable) == 0;
}

// Notifications.

BOOL CQVTRibbonBar::OnTabChanging(CQVTRibbonTab* pTab)
{
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return FALSE;
    NMQVTCONTROL nm = {};
    nm.pControl = m_pControlTab;
    // The record carries the new tab after the control.
    struct
    {
        NMQVTCONTROL nm;
        CQVTRibbonTab* pTab;
    } record = {nm, pTab};
    return m_pControlTab->NotifySite(pSite, static_cast<UINT>(TCN_SELCHANGING), &record.nm) != 0;
}

void CQVTRibbonBar::OnTabChanged(CQVTRibbonTab* pTab)
{
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    struct
    {
        NMQVTCONTROL nm;
        CQVTRibbonTab* pTab;
    } record = {{}, pTab};
    m_pControlTab->NotifySite(pSite, static_cast<UINT>(TCN_SELCHANGE), &record.nm);
}

BOOL CQVTRibbonBar::OnMouseWheel(BOOL bForward)
{
    if (!GetSafeHwnd() || !IsVisible())
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (!rcWindow.PtInRect(pt))
        return FALSE;
    HWND hWndUnder = ::WindowFromPoint(pt);
    if (hWndUnder != m_hWnd && !::IsChild(m_hWnd, hWndUnder))
        return FALSE;
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() && !pSite->IsWindowEnabled())
        return FALSE;
    m_pControlTab->PerformKeyDown(this, bForward ? VK_RIGHT : VK_LEFT);
    return TRUE;
}

// Command-bar operations.

BOOL CQVTRibbonBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (m_pControlTab)
        m_pControlTab->PerformMouseMove(this, CPoint(-1, -1));
    HighlightGroup(nullptr);
    return CQVTMenuBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
}

CSize CQVTRibbonBar::GetIconSize() const
{
    if (m_szIcons.cx > 0)
        return m_szIcons;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        const CSize sz = pCommandBars->GetCommandBarsOptions()->szIcons;
        if (sz.cx > 0 && sz.cy > 0)
            return sz;
    }
    return GetPaintManager()->GetAutoIconSize(FALSE);
}

CSize CQVTRibbonBar::GetButtonSize() const
{
    if (m_szButtons.cx > 0)
        return m_szButtons;
    const int nHeight = GetPaintManager()->GetControlHeight();
    return CSize(nHeight, nHeight);
}

void CQVTRibbonBar::SetVisible(BOOL bVisible)
{
    const BOOL bWasVisible = IsVisible();
    CQVTMenuBar::SetVisible(bVisible);
    CQVTCommandBarsFrameHook* pHook = GetFrameHook();
    if (pHook && bWasVisible != IsVisible())
        pHook->RecalcFrameLayout();
}

BOOL CQVTRibbonBar::IsKeyboardCuesVisible() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return TRUE;
    if (pCommandBars->GetCommandBarsOptions()->keyboardCuesUse & 2)
        return FALSE;
    return pCommandBars->IsKeyboardCuesVisible();
}

INT_PTR CQVTRibbonBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (m_pControlTab && IsOnTabStrip(point))
    {
        const INT_PTR nHit =
            m_pControlTab->CQVTTabManager::OnToolHitTest(const_cast<CQVTRibbonBar*>(this), point, pTI);
        if (nHit != -1)
            return nHit;
    }
    return CQVTMenuBar::OnToolHitTest(point, pTI);
}

void CQVTRibbonBar::OnGroupRectChanged(CQVTControl* pControl)
{
    CQVTRibbonGroup* pGroup = pControl ? pControl->GetRibbonGroup() : nullptr;
    if (!pGroup)
        return;
    CQVTRibbonTab* pTab = pGroup->GetParentTab();
    if (pTab && pTab != GetCurrentTab())
        m_pControlTab->SetSelectedItem(pTab);
    if (GetCurrentTab() && (IsScrollButtonVisible(TRUE) || IsScrollButtonVisible(FALSE)))
        EnsureVisible(GetCurrentTab()->GetGroups(), pControl->GetRect());
}

void CQVTRibbonBar::RefreshSysButtons()
{
    CQVTMenuBar::RefreshSysButtons();
    CWnd* pSite = GetSite();
    if (!IsFrameThemeEnabled() || !pSite || !pSite->GetSafeHwnd())
        return;
    CString strTitle;
    pSite->GetWindowText(strTitle);
    if (strTitle != m_strCaptionText)
        DelayRedraw();
}

void CQVTRibbonBar::OnRemoved()
{
    if (CQVTCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->EnableFrameTheme(FALSE);
    if (m_pQuickAccessControls)
        m_pQuickAccessControls->RemoveAllQuickAccess();
    RemoveAllTabs();
    CQVTMenuBar::OnRemoved();
    // The base emptied the list: the ribbon's own controls are gone.
    m_pControlTab = nullptr;
    m_pControlSystemButton = nullptr;
    m_pControlQuickAccess = nullptr;
    m_pControlQuickAccessMore = nullptr;
    m_pScrollLeft = nullptr;
    m_pScrollRight = nullptr;
}

void CQVTRibbonBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    CQVTRibbonBar* pSource = DYNAMIC_DOWNCAST(CQVTRibbonBar, pCommandBar);
    if (!pSource || pSource == this)
        return;
    m_bShowQuickAccessBelow = pSource->m_bShowQuickAccessBelow;
    m_bMinimized = pSource->m_bMinimized;
    if (m_bMinimized)
        m_pControlTab->CQVTTabManager::SetSelectedItem(nullptr);
    if (pSource->IsCustomizable())
    {
        // The bar's keys and free controls; the ribbon's own controls stay.
        CQVTMenuBar::Copy(pSource, bRecursive);
        m_pControlTab->Copy(pSource->m_pControlTab, bRecursive);
        if (m_pControlSystemButton)
            m_pControls->Remove(m_pControlSystemButton);
        if (pSource->m_pControlSystemButton)
        {
            CQVTControl* pCopy = m_pControls->AddCopy(pSource->m_pControlSystemButton, 0, bRecursive);
            m_pControlSystemButton = DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pCopy);
        }
        RefreshGroupControls(GetCurrentTab());
    }
    m_pQuickAccessControls->RemoveAllQuickAccess();
    for (int i = 0; i < pSource->m_pQuickAccessControls->GetCount(); ++i)
        m_pQuickAccessControls->AddCopy(pSource->m_pQuickAccessControls->GetAt(i), -1, bRecursive);
    RequestLayout();
}

// A stored button replaces the present one at index 0; one whose class
// cannot be made leaves the bar without a system button.
void CQVTRibbonBar::ExchangeSystemButton(CQVTPropExchange* pPX)
{
    if (!pPX->IsLoading())
    {
        CObject* pObject = m_pControlSystemButton;
        pPX->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonControlSystemButton));
        m_pControlSystemButton->DoPropExchange(pPX);
        return;
    }
    if (m_pControlSystemButton)
        m_pControls->Remove(m_pControlSystemButton);
    CObject* pObject = nullptr;
    if (!pPX->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonControlSystemButton)) || !pObject)
        return;
    CQVTRibbonControlSystemButton* pButton = DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pObject);
    if (!pButton)
    {
        delete pObject;
        return;
    }
    m_pControls->InsertControl(pButton, 0);
    m_pControlSystemButton = pButton;
    pButton->DoPropExchange(pPX);
}

void CQVTRibbonBar::OnSystemButtonRemoving(const CQVTControl* pControl)
{
    if (pControl && pControl == m_pControlSystemButton)
        m_pControlSystemButton = nullptr;
}

CQVTRibbonControlSystemButton* CQVTRibbonBar::AddSystemButton(int nId)
{
    if (m_pControlSystemButton)
        return m_pControlSystemButton;
    auto* pButton = new CQVTRibbonControlSystemButton();
    m_pControls->Add(pButton, nId, nullptr, 0);
    m_pControlSystemButton = pButton;
    RequestLayout();
    return pButton;
}

CQVTRibbonBar* CQVTRibbonBar::CreateCopy()
{
    CQVTRibbonBar* pCopy = static_cast<CQVTRibbonBar*>(GetRuntimeClass()->CreateObject());
    pCopy->m_pCommandBars = m_pCommandBars;
    pCopy->Copy(this, TRUE);
    return pCopy;
}

CQVTCommandBar* CQVTRibbonBar::Clone(BOOL)
{
    return CreateCopy();
}

// Persistence.

void CQVTRibbonBar::DoPropExchange(CQVTPropExchange* pPX)
{
    QVT_BARS_EXCHANGE_PARAM* pParam = QVTBarsExchangeParam(pPX);
    if (pPX->IsLoading() && pParam && pParam->pCommandBars)
        m_pCommandBars = pParam->pCommandBars;
    BOOL bMinimized = m_bMinimized;
    PropExchangeBool(pPX, _T("ShowQuickAccessBelow"), m_bShowQuickAccessBelow, FALSE);
    if (pPX->GetSchema() > 18)
        PropExchangeBool(pPX, _T("Minimized"), bMinimized, FALSE);
    if (pPX->GetSchema() > 23)
        PropExchangeBool(pPX, _T("Customizable"), m_bCustomizable, FALSE);
    if (IsCustomizable())
    {
        CQVTMenuBar::DoPropExchange(pPX);
        // The bars' key of the same name defaults to TRUE: a store that
        // drops values equal to their default would take ours away.
        if (pPX->IsStoring() && pPX->CanOmitDefaults())
            PropExchangeBool(pPX, _T("Customizable"), m_bCustomizable, FALSE);
        {
            CQVTPropExchangeSection section(pPX->GetSection(_T("SystemButton")));
            BOOL bSystemButton = m_pControlSystemButton != nullptr;
            PropExchangeBool(&section, _T("SystemButton"), bSystemButton, TRUE);
            if (bSystemButton)
                ExchangeSystemButton(&section);
        }
        {
            CQVTPropExchangeSection section(pPX->GetSection(_T("Tabs")));
            m_pControlTab->DoPropExchange(&section);
        }
    }
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("QuickAccessControls")));
        m_pQuickAccessControls->DoPropExchange(&section);
    }
    if (pPX->IsLoading())
    {
        if (bMinimized != m_bMinimized)
        {
            m_bMinimized = bMinimized;
            if (m_bMinimized)
                m_pControlTab->CQVTTabManager::SetSelectedItem(nullptr);
        }
        RefreshGroupControls(GetCurrentTab());
        RequestLayout();
    }
}

void CQVTRibbonBar::GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                           QVT_BARS_EXCHANGE_PARAM* pParam)
{
    if (IsCustomizable())
    {
        CQVTMenuBar::GenerateCommandBarList(nID, pCommandBarList, pParam);
        return;
    }
    if (!pCommandBarList || pCommandBarList->Contains(this))
        return;
    pCommandBarList->Add(this);
    m_pQuickAccessControls->GenerateCommandBarList(nID, pCommandBarList, pParam);
}

void CQVTRibbonBar::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList)
{
    if (IsCustomizable())
        CQVTMenuBar::RestoreCommandBarList(pCommandBarList);
    else
        m_pQuickAccessControls->RestoreCommandBarList(pCommandBarList, this);
}

// Layout requests.

void CQVTRibbonBar::RequestLayout()
{
    if (m_nLockLayout > 0)
    {
        m_bLayoutRequested = TRUE;
        return;
    }
    if (!GetSafeHwnd())
        return;
    DelayLayout();
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        pCommandBars->RecalcFrameLayout(TRUE);
    else
        OnRecalcLayout();
}

void CQVTRibbonBar::UnlockLayout()
{
    if (m_nLockLayout > 0 && --m_nLockLayout == 0 && m_bLayoutRequested)
    {
        m_bLayoutRequested = FALSE;
        RequestLayout();
        Redraw();
    }
}

void CQVTRibbonBar::ClosePopups()
{
    CQVTCommandBars::ClosePopups(GetCommandBars());
}

// Messages.

LRESULT CQVTRibbonBar::OnInitialUpdate(WPARAM wParam, LPARAM lParam)
{
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_RIBBONINITIALUPDATE, 0, reinterpret_cast<LPARAM>(this));
    const LRESULT lResult = CQVTCommandBar::OnInitialUpdate(wParam, lParam);
    RequestLayout();
    return lResult;
}

CQVTRibbonGroup* CQVTRibbonBar::HitTestGroup(CPoint point) const
{
    CQVTRibbonTab* pTab = GetCurrentTab();
    if (!pTab || m_bMinimized || !m_rcGroups.PtInRect(point))
        return nullptr;
    if ((IsScrollButtonVisible(TRUE) && m_pScrollLeft->GetRect().PtInRect(point)) ||
        (IsScrollButtonVisible(FALSE) && m_pScrollRight->GetRect().PtInRect(point)))
        return nullptr;
    return pTab->GetGroups()->HitTest(point);
}

CQVTRibbonGroups* CQVTRibbonBar::GetScrolledGroups() const
{
    CQVTRibbonTab* pTab = GetCurrentTab();
    return pTab ? pTab->GetGroups() : nullptr;
}

void CQVTRibbonBar::OnGroupsScroll(BOOL bScrollLeft)
{
    if (!GetCurrentTab())
        return;
    ClosePopups();
    HideKeyboardTips();
    CQVTRibbonScrollableBar::OnGroupsScroll(bScrollLeft);
}

BOOL CQVTRibbonBar::IsOnTabStrip(CPoint point) const
{
    return m_pControlTab && m_rcTabControl.PtInRect(point) && m_pControlTab->GetRect().PtInRect(point);
}

int CQVTRibbonBar::HitTestCaption(CPoint point) const
{
    // In customize mode, or without a frame hook, the site's own frame moves
    // and sizes the window.
    if (IsCustomizeMode() || !GetFrameHook())
        return 0;
    if (!m_rcCaption.PtInRect(point) || m_pControls->HitTest(point))
        return 0;
    CWnd* pSite = GetSite();
    const DWORD dwStyle = pSite && pSite->GetSafeHwnd() ? pSite->GetStyle() : 0;
    if (point.y < m_rcCaption.top + QVTDpiScaler()->ScaleY(5) && (dwStyle & WS_THICKFRAME) &&
        !(dwStyle & WS_MAXIMIZE))
        return HTTOP;
    CQVTControl* pSystemButton = GetSystemButton();
    if (pSystemButton && pSystemButton->GetStyle() != qvtButtonAutomatic)
        return HTCAPTION;
    if (point.x >= QVTDpiScaler()->ScaleX(7) + ::GetSystemMetrics(SM_CXSMICON))
        return HTCAPTION;
    return (dwStyle & WS_SYSMENU) ? HTSYSMENU : HTCAPTION;
}

void CQVTRibbonBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    CQVTCommandBarRef keepAlive(this);
    if (m_bBackstageMode)
    {
        // Over a backstage view only the system button and the band left
        // of its menu answer; the latter closes the view.
        CQVTControl* pPressed = GetControls()->HitTest(point);
        if (pPressed && (pPressed->GetFlags() & QVT_RIBBON_FLAG_BESIDE_TABS))
            return;
        if (IsOnTabStrip(point))
        {
            if (point.x < m_nBackstageMenuWidth)
                CloseBackstageView();
            return;
        }
    }
    CQVTRibbonTab* pCurrent = GetCurrentTab();
    CQVTTabManagerItem* pHit = IsOnTabStrip(point) ? m_pControlTab->HitTest(point) : nullptr;
    m_bTabClickPending = pHit && pHit == pCurrent;
    if ((m_bMinimized && !m_pControlTab->GetPopuped()) || IsCustomizeMode())
        m_bTabClickPending = FALSE;

    CQVTRibbonTabContextHeader* pHeader = m_contextHeaders.HitTest(point);
    if (pHeader && pHeader->m_pFirstTab)
    {
        m_pControlTab->SetSelectedItem(pHeader->m_pFirstTab);
        return;
    }
    if (HitTestCaption(point) != 0)
        return;

    if (IsOnTabStrip(point))
    {
        ClosePopups();
        if (IsBackstageViewVisible())
            CloseBackstageView();
        if (!m_bTabClickPending)
        {
            if (m_pControlTab->PerformClick(this, point) && m_bMinimized &&
                m_pControlTab->GetSelectedItem() == pHit)
            {
                SetPopuped(m_pControlTab->GetIndex());
                m_bTabClickPending = TRUE;
            }
        }
        return;
    }
    CQVTToolBar::OnLButtonDown(nFlags, point);
}

void CQVTRibbonBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CQVTRibbonTabContextHeader* pHeader = m_contextHeaders.HitTest(point);
    const int nCaptionHit = HitTestCaption(point);
    if ((nCaptionHit == HTCAPTION || nCaptionHit == HTSYSMENU || pHeader) && GetSite())
    {
        CPoint ptScreen(point);
        ClientToScreen(&ptScreen);
        GetSite()->DefWindowProc(WM_NCLBUTTONDBLCLK, pHeader ? HTCAPTION : nCaptionHit,
                                 MAKELPARAM(ptScreen.x, ptScreen.y));
        return;
    }
    if (IsOnTabStrip(point))
    {
        CQVTTabManagerItem* pHit = m_pControlTab->HitTest(point);
        if (pHit && pHit == GetCurrentTab())
        {
            if (m_bTabClickPending || m_bMinimized)
                SetRibbonMinimized(!m_bMinimized);
            m_bTabClickPending = TRUE;
        }
        else if (pHit)
            m_pControlTab->SetSelectedItem(pHit);
        return;
    }
    CQVTCommandBar::OnLButtonDblClk(nFlags, point);
}

void CQVTRibbonBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode())
    {
        CQVTToolBar::OnRButtonDown(nFlags, point);
        return;
    }
    if (m_nTrackingMode)
        SetTrackingMode(FALSE, TRUE, FALSE);
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl && !HitTestCaption(point))
        pControl->OnRButtonDown(point);
}

void CQVTRibbonBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode())
    {
        CQVTCommandBar::OnRButtonUp(nFlags, point);
        return;
    }
    CQVTCommandBarRef keepAlive(this);
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (!pControl)
    {
        CQVTRibbonGroup* pGroup = HitTestGroup(point);
        CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
        const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
        if (pGroup && point.y >= pGroup->GetRect().bottom - nCaption)
            ShowContextMenu(point, pGroup->GetControlGroupPopup());
        else if (m_rcQuickAccess.PtInRect(point))
            ShowContextMenu(point, m_pControlTab);
        else
            CQVTCommandBar::OnRButtonUp(nFlags, point);
        return;
    }
    CQVTControlRef keepControl(pControl);
    CWnd* pSite = GetSite();
    LRESULT lAnswer = 0;
    if (pSite && pSite->GetSafeHwnd())
        lAnswer = pSite->SendMessage(QVTWM_CONTROLRBUTTONUP, reinterpret_cast<WPARAM>(&point),
                                     reinterpret_cast<LPARAM>(pControl));
    if (lAnswer != 1 && !pControl->OnRButtonUp(point))
        ShowContextMenu(point, pControl);
}

void CQVTRibbonBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    const BOOL bCanHighlight = CQVTDrawHelpers::IsApplicationActive(m_hWnd) &&
                               !pMouseManager->IsMouseLocked() && !m_nTrackingMode &&
                               pMouseManager->GetTrackCount() == 0 && m_nPopuped == -1 &&
                               pRibbonPaintManager && pRibbonPaintManager->IsGroupHighlightEnabled();
    CQVTRibbonGroup* pGroup = bCanHighlight ? HitTestGroup(point) : nullptr;
    HighlightGroup(pGroup);
    if (pGroup)
        pMouseManager->TrackMouseLeave(m_hWnd);
    if (IsOnTabStrip(point) || m_pControlTab->GetHighlightedItem())
    {
        m_pControlTab->PerformMouseMove(this, point);
        pMouseManager->TrackMouseLeave(m_hWnd);
    }
    CQVTCommandBar::OnMouseMove(nFlags, point);
}

void CQVTRibbonBar::OnMouseLeave()
{
    m_pControlTab->PerformMouseMove(this, CPoint(-1, -1));
    HighlightGroup(nullptr);
    CQVTCommandBar::OnMouseLeave();
}

LRESULT CQVTRibbonBar::OnNcHitTest(CPoint point)
{
    // On a composited frame the compositor's caption buttons lie over the
    // ribbon: the frame takes those points.
    CWnd* pSite = GetSite();
    if (IsDwmEnabled() && pSite && pSite->GetSafeHwnd())
    {
        LRESULT lResult = 0;
        if (CQVTWinThemeWrapper(FALSE).DwmDefWindowProc(pSite->GetSafeHwnd(), WM_NCHITTEST, 0,
                                                        MAKELPARAM(point.x, point.y), &lResult) == S_OK &&
            (lResult == HTMINBUTTON || lResult == HTMAXBUTTON || lResult == HTCLOSE || lResult == HTHELP))
            return HTTRANSPARENT;
    }
    return CQVTToolBar::OnNcHitTest(point);
}

BOOL CQVTRibbonBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const int nCode = HitTestCaption(pt);
    CWnd* pSite = GetSite();
    if (nCode >= HTLEFT && nCode <= HTBOTTOMRIGHT && pSite)
        return static_cast<BOOL>(pSite->SendMessage(
            WM_SETCURSOR, reinterpret_cast<WPARAM>(pSite->GetSafeHwnd()), MAKELONG(nCode, message)));
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CQVTRibbonBar::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    if (pRibbonPaintManager)
        pRibbonPaintManager->RefreshMetrics();
    m_pControlTab->Reposition();
}

void CQVTRibbonBar::OnCustomizeCommand(UINT nId)
{
    ClosePopups();
    ShowQuickAccessBelowRibbon(nId == QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSBELOW);
}
