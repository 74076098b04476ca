#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"

#include <afxdlgs.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBarScrollBarCtrl.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageViewThemes.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTRibbonBackstageView, CQVTCommandBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {

int BackstageScaleX(int nValue)
{
    return QVTDpiScaler()->ScaleX(nValue);
}

int BackstageScaleY(int nValue)
{
    return QVTDpiScaler()->ScaleY(nValue);
}

BOOL BackstageIsFlatTheme(int nTheme)
{
    return nTheme == 12 || nTheme == 16 || nTheme == 17;
}

// The caption's characters a key tip may be built from: "&&" pairs, the
// mnemonic mark and white space left out, upper-cased.
CString BackstageTipCharacters(const CString& strCaption)
{
    CString strResult;
    const int nLength = strCaption.GetLength();
    for (int i = 0; i < nLength; ++i)
    {
        const TCHAR ch = strCaption[i];
        if (ch == _T('&'))
        {
            if (i + 1 < nLength && strCaption[i + 1] == _T('&'))
                ++i;
            continue;
        }
        if (ch == _T(' ') || ch == _T('\t') || ch == _T('\r') || ch == _T('\n'))
            continue;
        strResult += ch;
    }
    strResult.MakeUpper();
    return strResult;
}

CQVTRibbonBackstageTab* BackstageTabOf(CQVTControl* pControl)
{
    return pControl ? DYNAMIC_DOWNCAST(CQVTRibbonBackstageTab, pControl) : nullptr;
}

CPropertyPage* BackstagePropertyPageOf(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return nullptr;
    return DYNAMIC_DOWNCAST(CPropertyPage, CWnd::FromHandlePermanent(hWnd));
}

}  // namespace

BEGIN_MESSAGE_MAP(CQVTRibbonBackstageView, CQVTCommandBar)
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_WM_VSCROLL()
    ON_COMMAND(IDCANCEL, &CQVTRibbonBackstageView::OnCancel)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_GETDLGCODE()
    ON_WM_DESTROY()
    ON_WM_MOUSEWHEEL()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CQVTRibbonBackstageView::CQVTRibbonBackstageView()
    : m_nMenuWidth(0), m_clrPageText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_clrPageBackground(::GetSysColor(COLOR_WINDOW)), m_nTheme(0),
      m_pScrollBar(new CQVTCommandBarScrollBarCtrl()), m_pShownCommandBars(nullptr),
      m_pBackstagePaintManager(nullptr), m_pSystemButton(nullptr), m_pActiveTab(nullptr),
      m_pHotControl(nullptr), m_pFocusedControl(nullptr), m_lstHiddenRibbonControls(10), m_nScrollPos(0),
      m_nPageSize(0), m_nTotalHeight(0), m_nLineStep(0), m_bScrollBarVisible(FALSE), m_rcPage(0, 0, 0, 0),
      m_bFullWindow(TRUE), m_bSavedQuickAccess(FALSE), m_rcSavedSystemButton(0, 0, 0, 0),
      m_nKeyTipState(keyTipNone), m_chPendingKeyTip(0), m_hwndFrame(nullptr)
{
    m_barType = qvtBarTypePopup;
    CreateFonts();
    SetTheme(5);
}

CQVTRibbonBackstageView::~CQVTRibbonBackstageView()
{
    if (GetSafeHwnd())
        DestroyWindow();
    delete m_pBackstagePaintManager;
    m_pBackstagePaintManager = nullptr;
    m_lstHiddenRibbonControls.RemoveAll();
    m_arrHiddenWindows.RemoveAll();
    delete m_pScrollBar;
    m_pScrollBar = nullptr;
}

void CQVTRibbonBackstageView::CreateFonts()
{
    LOGFONTW lf = {};
    CQVTDrawHelpers::GetIconTitleLogFont(&lf);
    lf.lfQuality = 5;
    m_fontCommand.CreateFontIndirect(&lf);

    HDC hScreen = ::GetDC(nullptr);
    const int nDpiY = hScreen ? ::GetDeviceCaps(hScreen, LOGPIXELSY) : 96;
    if (hScreen)
        ::ReleaseDC(nullptr, hScreen);
    const int nPoints = ::MulDiv(-lf.lfHeight, 72, nDpiY);
    const int nLarger = nPoints == INT_MAX ? INT_MAX : nPoints + 1;
    lf.lfHeight = -::MulDiv(nLarger, nDpiY, 72);
    m_fontTab.CreateFontIndirect(&lf);
}

void CQVTRibbonBackstageView::SetTheme(int nTheme)
{
    delete m_pBackstagePaintManager;
    m_pBackstagePaintManager = nullptr;
    switch (nTheme)
    {
    case 12:
        m_pBackstagePaintManager = new CQVTRibbonBackstageViewThemeOffice2013();
        break;
    case 16:
        m_pBackstagePaintManager = new CQVTRibbonBackstageViewThemeVisualStudio2015();
        break;
    case 17:
    {
        // Windows 10 follows the accent colour.
        auto* pWindows10 = new CQVTRibbonBackstageViewThemeNativeWindows10();
        CQVTApplication* pApplication = QVTApplication();
        pWindows10->m_clrButtonBackNormal = pApplication->GetAmbientColor(0);
        pWindows10->m_clrButtonBackHighlighted = pApplication->GetAmbientColor(3);
        pWindows10->m_clrButtonBackSelected = pApplication->GetAmbientColor(2);
        pWindows10->m_clrButtonTextNormal = pApplication->GetAmbientColor(4);
        pWindows10->m_clrButtonTextHighlighted = pApplication->GetAmbientColor(5);
        pWindows10->m_clrButtonTextSelected = pApplication->GetAmbientColor(6);
        m_pBackstagePaintManager = pWindows10;
        break;
    }
    default:
        m_pBackstagePaintManager = new CQVTRibbonBackstageViewThemeResource();
        break;
    }
    m_bFullWindow = BackstageIsFlatTheme(nTheme);
    m_nLineStep =
        std::max(m_pBackstagePaintManager->GetCommandHeight() + m_pBackstagePaintManager->GetCommandGap(),
                 m_pBackstagePaintManager->GetTabHeight() + m_pBackstagePaintManager->GetTabGap());
    m_nTheme = nTheme;
    const LPCTSTR lpszSection = _T("CommandBars.Ribbon.Backstage");
    m_clrPageText =
        QVTResourceImages()->GetIniColor(lpszSection, _T("PageText"), ::GetSysColor(COLOR_WINDOWTEXT));
    m_clrPageBackground =
        QVTResourceImages()->GetIniColor(lpszSection, _T("PageBackground"), ::GetSysColor(COLOR_WINDOW));
}

// Queries.

BOOL CQVTRibbonBackstageView::IsCommand(const CQVTControl* pControl)
{
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageCommand));
}

BOOL CQVTRibbonBackstageView::IsMenuSeparator(const CQVTControl* pControl)
{
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageMenuSeparator));
}

BOOL CQVTRibbonBackstageView::IsTab(const CQVTControl* pControl)
{
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageTab));
}

BOOL CQVTRibbonBackstageView::IsActiveTab(const CQVTControl* pControl) const
{
    return pControl && pControl == m_pActiveTab;
}

COLORREF CQVTRibbonBackstageView::GetKeyTipBackColor() const
{
    return GetPaintManager()->GetColor(24);
}

// The font the bars draw their own key tips in, so that a page button's tip
// matches the menu's.
CFont* CQVTRibbonBackstageView::GetKeyTipFont() const
{
    return GetPaintManager()->GetStatusFont();
}

BOOL CQVTRibbonBackstageView::IsVisible() const
{
    return GetSafeHwnd() && ::IsWindowVisible(m_hWnd);
}

BOOL CQVTRibbonBackstageView::IsCoveringRibbon() const
{
    return m_bFullWindow && BackstageIsFlatTheme(m_nTheme);
}

BOOL CQVTRibbonBackstageView::IsClassicMode() const
{
    return !IsCoveringRibbon();
}

CQVTRibbonBar* CQVTRibbonBackstageView::GetRibbonBar() const
{
    if (!m_pSystemButton)
        return nullptr;
    return DYNAMIC_DOWNCAST(CQVTRibbonBar, m_pSystemButton->GetParent());
}

CWnd* CQVTRibbonBackstageView::GetActivePage() const
{
    if (!m_pActiveTab)
        return nullptr;
    const HWND hwndPage = m_pActiveTab->GetPageHwnd();
    return hwndPage && ::IsWindow(hwndPage) ? CWnd::FromHandle(hwndPage) : nullptr;
}

CScrollBar* CQVTRibbonBackstageView::GetScrollBarCtrl(int nBar) const
{
    return GetBarScrollBarCtrl(nBar);
}

CQVTCommandBarScrollBarCtrl* CQVTRibbonBackstageView::GetBarScrollBarCtrl(int nBar) const
{
    return nBar == SB_VERT ? m_pScrollBar : nullptr;
}

CQVTCommandBar* CQVTRibbonBackstageView::Clone(BOOL bRecursive)
{
    CQVTRibbonBackstageView* pClone = new CQVTRibbonBackstageView();
    pClone->Copy(this, bRecursive);
    pClone->SetTheme(m_nTheme);
    return pClone;
}

// Showing and closing.

BOOL CQVTRibbonBackstageView::Popup(CQVTControl* pControl, BOOL)
{
    CQVTRibbonControlSystemButton* pButton = DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pControl);
    if (!pButton || GetSafeHwnd())
        return FALSE;
    CQVTCommandBars* pCommandBars = pButton->GetCommandBars();
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : nullptr;
    if (!pSite || !pSite->GetSafeHwnd())
        return FALSE;
    CQVTCommandBarRef keepAlive(this);

    m_nKeyTipState = keyTipNone;
    m_pSystemButton = pButton;
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && IsCoveringRibbon())
    {
        m_rcSavedSystemButton = pButton->GetRect();
        pRibbonBar->SetBackstageMode(TRUE, BackstageScaleY(16), BackstageScaleY(64));
        m_bSavedQuickAccess = pRibbonBar->IsQuickAccessVisible();
        if (m_bSavedQuickAccess)
            pRibbonBar->ShowQuickAccess(FALSE);
        m_lstHiddenRibbonControls.RemoveAll();
        for (int i = 0; i < pRibbonBar->GetControlCount(); ++i)
        {
            CQVTControl* pRibbonControl = pRibbonBar->GetControl(i);
            if ((pRibbonControl->GetFlags() & QVT_RIBBON_FLAG_BESIDE_TABS) && pRibbonControl->IsVisible())
            {
                pRibbonControl->SetVisible(FALSE);
                m_lstHiddenRibbonControls.AddTail(i);
            }
        }
    }

    CQVTCommandBars::ClosePopups(pCommandBars);
    m_nTrackingMode = TRUE;
    pButton->OnSetPopup(TRUE);
    m_pFocusedControl = nullptr;
    m_pHotControl = nullptr;

    SetCommandBars(pCommandBars);
    const LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(0, lpszClass, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                  pSite, 0))
    {
        m_nTrackingMode = FALSE;
        pButton->OnSetPopup(FALSE);
        if (pRibbonBar)
            pRibbonBar->SetBackstageMode(FALSE);
        RestoreRibbon();
        m_pSystemButton = nullptr;
        return FALSE;
    }
    m_hwndFrame = pSite->GetSafeHwnd();
    QVTHookManager()->SetHook(m_hwndFrame, this);
    CQVTKeyboardManager::GetThreadManager()->HookKeyboard(this);
    m_pShownCommandBars = pCommandBars;
    m_nScrollPos = 0;
    m_bScrollBarVisible = FALSE;
    if (m_pScrollBar->GetSafeHwnd())
        m_pScrollBar->ShowWindow(SW_HIDE);
    RecalcLayout();

    HideFrameChildren();

    SetFocus();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        if (GetControl(i)->IsItemDefault())
        {
            SetFocusedControl(GetControl(i));
            break;
        }
    }

    AssignKeyTips();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        if (CQVTRibbonBackstageTab* pTab = BackstageTabOf(GetControl(i)))
            pTab->AssignPageKeyTips();
    }

    if (IsLayoutPending())
    {
        m_dwPending &= ~pendingLayout;
        RecalcLayout();
    }
    m_nTrackingMode = FALSE;
    SetTrackingMode(TRUE);
    return TRUE;
}

void CQVTRibbonBackstageView::HideFrameChildren()
{
    m_arrHiddenWindows.RemoveAll();
    for (HWND hwndChild = ::GetWindow(m_hwndFrame, GW_CHILD); hwndChild;
         hwndChild = ::GetWindow(hwndChild, GW_HWNDNEXT))
    {
        if (hwndChild == m_hWnd || ::GetDlgCtrlID(hwndChild) == idTopDockBar)
            continue;
        const LONG lStyle = ::GetWindowLong(hwndChild, GWL_STYLE);
        if ((lStyle & WS_VISIBLE) && !(lStyle & WS_DISABLED))
        {
            m_arrHiddenWindows.Add(hwndChild);
            ::ShowWindow(hwndChild, SW_HIDE);
        }
    }
}

void CQVTRibbonBackstageView::ShowHiddenFrameChildren()
{
    // A handle may have gone, or been taken by another window, while the
    // view was shown: only the frame's own live children come back.
    for (INT_PTR i = 0; i < m_arrHiddenWindows.GetSize(); ++i)
    {
        const HWND hwndChild = m_arrHiddenWindows[i];
        if (m_hwndFrame && ::IsWindow(hwndChild) && ::GetParent(hwndChild) == m_hwndFrame)
            ::ShowWindow(hwndChild, SW_SHOWNOACTIVATE);
    }
    m_arrHiddenWindows.RemoveAll();
}

BOOL CQVTRibbonBackstageView::SetTrackingMode(int bMode, BOOL, BOOL)
{
    if ((m_nTrackingMode != 0) == (bMode != 0))
        return FALSE;
    CQVTCommandBarRef keepAlive(this);
    m_nTrackingMode = bMode;
    CQVTCommandBars* pCommandBars = m_pShownCommandBars ? m_pShownCommandBars : GetCommandBars();
    if (!bMode && GetSafeHwnd())
    {
        CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : nullptr;
        DestroyWindow();
        if (pSite && pSite->GetSafeHwnd())
            pSite->SendMessage(QVTWM_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
    }
    if (pCommandBars)
        pCommandBars->OnTrackingModeChanged(this, bMode);
    return TRUE;
}

void CQVTRibbonBackstageView::OnDestroy()
{
    try
    {
        m_nKeyTipState = keyTipNone;
        CQVTRibbonBar* pRibbonBar = GetRibbonBar();
        if (pRibbonBar)
            pRibbonBar->SetBackstageMode(FALSE);
        m_nTrackingMode = 0;
        if (m_hwndFrame)
            QVTHookManager()->RemoveHook(m_hwndFrame, this);
        ShowHiddenFrameChildren();

        SetActiveTab(nullptr);
        if (m_pActiveTab)
        {
            // The page refused to leave; it still goes back to the frame
            // rather than being destroyed with the view.
            CWnd* pPage = GetActivePage();
            if (pPage)
            {
                pPage->ShowWindow(SW_HIDE);
                ::SetParent(pPage->m_hWnd, m_hwndFrame);
            }
            m_pActiveTab = nullptr;
        }
        m_pFocusedControl = nullptr;
        m_pHotControl = nullptr;

        if (m_pSystemButton)
        {
            CQVTRibbonControlSystemButton* pButton = m_pSystemButton;
            pButton->OnSetPopup(FALSE);
            if (IsCoveringRibbon())
                pButton->SetRect(m_rcSavedSystemButton);
            if (CQVTCommandBar* pBar = pButton->GetParent())
                pBar->Redraw();
            if (m_pShownCommandBars)
                m_pShownCommandBars->RecalcFrameLayout();
        }
        CQVTKeyboardManager::GetThreadManager()->UnhookKeyboard(this);
        RestoreRibbon();
        m_pSystemButton = nullptr;
        m_hwndFrame = nullptr;
        m_bScrollBarVisible = FALSE;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    CQVTCommandBar::OnDestroy();
}

void CQVTRibbonBackstageView::RestoreRibbon()
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (!pRibbonBar || !IsCoveringRibbon())
        return;
    if (m_bSavedQuickAccess)
        pRibbonBar->ShowQuickAccess(TRUE);
    m_bSavedQuickAccess = FALSE;
    pRibbonBar->SetBackstageMenuWidth(0);
    for (POSITION pos = m_lstHiddenRibbonControls.GetHeadPosition(); pos;)
    {
        const int nIndex = m_lstHiddenRibbonControls.GetNext(pos);
        if (CQVTControl* pRibbonControl = pRibbonBar->GetControl(nIndex))
            pRibbonControl->SetVisible(TRUE);
    }
    m_lstHiddenRibbonControls.RemoveAll();
    if (m_pShownCommandBars)
        m_pShownCommandBars->RecalcFrameLayout();
}

void CQVTRibbonBackstageView::SerializeHiddenRibbonControls(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<int>(m_lstHiddenRibbonControls.GetCount());
        for (POSITION pos = m_lstHiddenRibbonControls.GetHeadPosition(); pos;)
            ar << m_lstHiddenRibbonControls.GetNext(pos);
        return;
    }
    m_lstHiddenRibbonControls.RemoveAll();
    int nCount = 0;
    ar >> nCount;
    for (int i = 0; i < nCount; ++i)
    {
        int nIndex = 0;
        ar >> nIndex;
        m_lstHiddenRibbonControls.AddTail(nIndex);
    }
}

void CQVTRibbonBackstageView::OnCancel()
{
    SetTrackingMode(FALSE);
}

void CQVTRibbonBackstageView::ExecuteCommand(CQVTControl* pControl)
{
    CQVTCommandBarRef keepAlive(this);
    SetTrackingMode(FALSE);
    if (pControl)
        pControl->OnExecute();
}

int CQVTRibbonBackstageView::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                           LRESULT& lResult)
{
    // The keyboard manager's keys go on to the focus: the view and its page
    // read them as any window does.
    if (!hWnd)
        return hookStop;
    if (hWnd == m_hwndFrame && nMessage == WM_SIZE && GetSafeHwnd())
    {
        lResult = QVTHookManager()->Default();
        RecalcLayout();
        return hookHandled;
    }
    return hookContinue;
}

// Pages.

void CQVTRibbonBackstageView::SetActiveTab(CQVTRibbonBackstageTab* pTab)
{
    CWnd* pOldPage = GetActivePage();
    const HWND hwndOldPage = pOldPage ? pOldPage->GetSafeHwnd() : nullptr;
    if (CPropertyPage* pPropertyPage = BackstagePropertyPageOf(hwndOldPage))
    {
        if (!pPropertyPage->OnKillActive())
            return;
    }
    m_pActiveTab = pTab;
    const HWND hwndPage = pTab ? pTab->GetPageHwnd() : nullptr;
    const BOOL bLivePage = hwndPage && ::IsWindow(hwndPage);
    if (bLivePage && GetSafeHwnd())
    {
        const LONG lStyle = ::GetWindowLong(hwndPage, GWL_STYLE);
        ::SetWindowLong(hwndPage, GWL_STYLE, (lStyle & ~WS_POPUP) | WS_CHILD);
        const LONG lExStyle = ::GetWindowLong(hwndPage, GWL_EXSTYLE);
        ::SetWindowLong(hwndPage, GWL_EXSTYLE, lExStyle & ~WS_EX_CONTROLPARENT);
        ::SetParent(hwndPage, m_hWnd);
    }
    if (hwndOldPage && hwndOldPage != hwndPage)
    {
        ::ShowWindow(hwndOldPage, SW_HIDE);
        ::SetParent(hwndOldPage, m_hwndFrame);
    }
    if (pTab)
    {
        pTab->NotifySite(notifyTabActivated);
        if (CPropertyPage* pPropertyPage = BackstagePropertyPageOf(hwndPage))
            pPropertyPage->OnSetActive();
    }
    if (GetSafeHwnd())
        RecalcLayout();
}

void CQVTRibbonBackstageView::SetFocusedControl(CQVTControl* pControl)
{
    if (pControl == m_pFocusedControl)
        return;
    m_pFocusedControl = pControl;
    if (pControl && IsMenuSeparator(pControl))
    {
        Invalidate(FALSE);
        return;
    }
    if (pControl && !IsCommand(pControl) && pControl->GetEnabled())
    {
        if (CQVTRibbonBackstageTab* pTab = BackstageTabOf(pControl))
            SetActiveTab(pTab);
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

// Layout.

void CQVTRibbonBackstageView::RecalcLayout()
{
    if (!GetSafeHwnd() || !m_hwndFrame)
        return;
    const BOOL bClassic = IsClassicMode();
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    int nTop = 0;
    if (pRibbonBar && pRibbonBar->GetSafeHwnd() && pRibbonBar->IsWindowVisible())
    {
        if (bClassic)
            nTop = BackstageScaleY(1) + pRibbonBar->GetTabsHeight() + pRibbonBar->GetCaptionHeight() +
                   pRibbonBar->GetFrameTopBorder();
        else
            nTop = BackstageScaleY(64);
    }
    CRect rcView;
    ::GetClientRect(m_hwndFrame, &rcView);
    rcView.top += nTop;
    rcView.bottom = std::max(rcView.bottom, rcView.top);
    SetWindowPos(&CWnd::wndTop, rcView.left, rcView.top, rcView.Width(), rcView.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    const int nViewWidth = rcView.Width();
    const int nViewHeight = rcView.Height();

    CQVTRibbonBackstagePaintManager* pPaint = m_pBackstagePaintManager;
    const int nCommandHeight = pPaint->GetCommandHeight();
    const int nTabHeight = pPaint->GetTabHeight();
    const int nCommandGap = pPaint->GetCommandGap();
    const int nTabGap = pPaint->GetTabGap();
    const int nMenuMargin = pPaint->GetMenuMargin();
    const int nTextIndent = pPaint->GetTextIndent();
    const int nImageGap = pPaint->GetImageGap();
    const int nSeparatorHeight = pPaint->GetSeparatorHeight();

    // The menu is as wide as its widest entry.
    int nMenuWidth = BackstageScaleX(132);
    {
        CClientDC dc(this);
        CQVTImageManager* pImageManager = GetImageManager();
        for (int i = 0; i < GetControlCount(); ++i)
        {
            CQVTControl* pControl = GetControl(i);
            if (!pControl->IsVisible())
                continue;
            CQVTFontDC font(&dc, IsCommand(pControl) ? GetCommandFont() : GetTabFont());
            CRect rcText(0, 0, 0, 0);
            dc.DrawText(pControl->GetCaption(), rcText, DT_CALCRECT | DT_SINGLELINE);
            int nWidth = bClassic ? rcText.Width() + nTextIndent + BackstageScaleY(6) + 2 * nMenuMargin
                                  : rcText.Width() + BackstageScaleY(6) + nMenuMargin + 26;
            CQVTImageManagerIcon* pImage =
                pImageManager ? pImageManager->GetImage(pControl->GetIconId(), 16) : nullptr;
            if (pImage)
                nWidth += BackstageScaleX(pImage->GetWidth()) + nImageGap;
            nMenuWidth = std::max(nMenuWidth, nWidth);
        }
    }
    m_nMenuWidth = nMenuWidth;
    if (!bClassic && pRibbonBar)
    {
        pRibbonBar->SetBackstageMenuWidth(nMenuWidth);
        if (m_pSystemButton)
            m_pSystemButton->SetRect(CRect(0, BackstageScaleY(16), nMenuWidth, BackstageScaleY(64)));
    }

    // Top down; the gap after an entry only counts when another follows.
    int y = BackstageScaleY(7);
    int nPendingGap = 0;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!pControl->IsVisible())
            continue;
        if (IsCommand(pControl))
        {
            y += nPendingGap;
            pControl->SetRect(CRect(nMenuMargin, y, nMenuWidth - nMenuMargin, y + nCommandHeight));
            y += nCommandHeight;
            nPendingGap = nCommandGap;
        }
        else if (IsMenuSeparator(pControl))
        {
            if (nSeparatorHeight < 1)
            {
                pControl->SetRect(CRect(0, 0, 0, 0));
                continue;
            }
            y += nPendingGap;
            pControl->SetRect(CRect(0, y, nMenuWidth, y + nSeparatorHeight));
            y += nSeparatorHeight;
            nPendingGap = nTabGap;
        }
        else
        {
            y += nPendingGap;
            pControl->SetRect(CRect(0, y, nMenuWidth, y + nTabHeight));
            y += nTabHeight;
            nPendingGap = nTabGap;
        }
    }

    const int nScrollBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    if (y > nViewHeight)
    {
        m_nPageSize = nViewHeight;
        m_nTotalHeight = y;
        m_nScrollPos = std::max(0, std::min(m_nScrollPos, y - nViewHeight));
        m_bScrollBarVisible = TRUE;
        if (m_pScrollBar->GetSafeHwnd())
            m_pScrollBar->SetWindowPos(nullptr, nViewWidth - nScrollBarWidth, 0, nScrollBarWidth, nViewHeight,
                                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    else
    {
        m_nScrollPos = 0;
        m_bScrollBarVisible = FALSE;
        if (m_pScrollBar->GetSafeHwnd())
            m_pScrollBar->ShowWindow(SW_HIDE);
    }
    for (int i = 0; i < GetControlCount() && m_nScrollPos != 0; ++i)
    {
        CQVTControl* pControl = GetControl(i);
        CRect rc = pControl->GetRect();
        if (!rc.IsRectNull())
        {
            rc.OffsetRect(0, -m_nScrollPos);
            pControl->SetRect(rc);
        }
    }

    CWnd* pPage = GetActivePage();
    if (pPage)
    {
        const CSize szMinimum = m_pActiveTab->GetMinimumPageSize();
        const int nLeft = nMenuWidth;
        const int nPageTop = BackstageScaleY(2) - m_nScrollPos;
        int nRight = std::max(nViewWidth, nMenuWidth + static_cast<int>(szMinimum.cx));
        if (m_bScrollBarVisible)
            nRight -= nScrollBarWidth;
        int nHeight =
            std::max(BackstageScaleY(2) + static_cast<int>(szMinimum.cy), nViewHeight) - BackstageScaleY(2);
        if (nPageTop < 1)
            nHeight += -nPageTop;
        m_rcPage.SetRect(nLeft, nPageTop, nRight, nPageTop + nHeight);
        pPage->SetWindowPos(&CWnd::wndBottom, m_rcPage.left, m_rcPage.top, m_rcPage.Width(),
                            m_rcPage.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    else
        m_rcPage.SetRectEmpty();

    if (m_bScrollBarVisible)
        UpdateScrollBar();
    if (!bClassic && pRibbonBar)
        pRibbonBar->Redraw();
    Invalidate(FALSE);
}

void CQVTRibbonBackstageView::UpdateScrollBar()
{
    if (!m_pScrollBar->GetSafeHwnd())
        return;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = m_nTotalHeight;
    si.nPage = static_cast<UINT>(std::max(0, m_nPageSize));
    si.nPos = m_nScrollPos;
    m_pScrollBar->SetScrollInfo(&si, TRUE);
}

void CQVTRibbonBackstageView::ScrollTo(int nPosition)
{
    nPosition = std::max(0, std::min(nPosition, m_nTotalHeight - m_nPageSize));
    if (nPosition == m_nScrollPos)
        return;
    const int nDelta = nPosition - m_nScrollPos;
    m_nScrollPos = nPosition;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        CRect rc = pControl->GetRect();
        rc.OffsetRect(0, -nDelta);
        pControl->SetRect(rc);
    }
    m_rcPage.OffsetRect(0, -nDelta);
    if (CWnd* pPage = GetActivePage())
        pPage->SetWindowPos(nullptr, m_rcPage.left, m_rcPage.top, m_rcPage.Width(), m_rcPage.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollBar();
    Invalidate(FALSE);
}

void CQVTRibbonBackstageView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    int nPosition = m_nScrollPos;
    switch (nSBCode)
    {
    case SB_LINEUP:
        nPosition -= m_nLineStep;
        break;
    case SB_LINEDOWN:
        nPosition += m_nLineStep;
        break;
    case SB_PAGEUP:
        nPosition -= m_nPageSize;
        break;
    case SB_PAGEDOWN:
        nPosition += m_nPageSize;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nPosition = static_cast<int>(nPos);
        break;
    case SB_TOP:
        nPosition = 0;
        break;
    case SB_BOTTOM:
        nPosition = m_nTotalHeight - m_nPageSize;
        break;
    default:
        break;
    }
    ScrollTo(nPosition);
}

BOOL CQVTRibbonBackstageView::OnMouseWheel(UINT nFlags, short zDelta, CPoint point)
{
    if (!m_bScrollBarVisible)
        return static_cast<BOOL>(Default());
    ScrollTo(m_nScrollPos + (zDelta > 0 ? -m_nLineStep : m_nLineStep));
    return TRUE;
}

// Creation and painting.

int CQVTRibbonBackstageView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const int nResult = CQVTCommandBar::OnCreate(lpCreateStruct);
    if (nResult == -1)
        return nResult;
    m_pScrollBar->SetCommandBars(GetCommandBars());
    m_pScrollBar->Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(10, 10, 50, 50), this, idScrollBar);
    m_barPosition = 6;
    return nResult;
}

BOOL CQVTRibbonBackstageView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQVTRibbonBackstageView::OnPaint()
{
    CPaintDC paintDC(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CQVTBufferDC dc(paintDC.GetSafeHdc(), rcClient);
    m_pBackstagePaintManager->FillBackstage(&dc, this);
    for (int i = 0; i < GetControlCount(); ++i)
    {
        dc.SetTextColor(RGB(0, 0, 0));
        m_pBackstagePaintManager->DrawControl(&dc, this, GetControl(i));
    }
    if (m_nKeyTipState >= keyTipAltDown && m_nKeyTipState <= keyTipSecondChar)
    {
        for (int i = 0; i < GetControlCount(); ++i)
        {
            CQVTControl* pControl = GetControl(i);
            if (IsMenuSeparator(pControl))
                continue;
            if (m_nKeyTipState == keyTipSecondChar)
            {
                const CString strTip = pControl->GetKeyboardTip();
                if (strTip.IsEmpty() || strTip[0] != m_chPendingKeyTip)
                    continue;
            }
            m_pBackstagePaintManager->DrawKeyTip(&dc, GetPaintManager(), pControl);
        }
    }
}

// Mouse.

CQVTControl* CQVTRibbonBackstageView::HitTestEnabled(CPoint point) const
{
    CQVTControl* pControl = GetControls()->HitTest(point);
    return pControl && pControl->GetEnabled() ? pControl : nullptr;
}

void CQVTRibbonBackstageView::OnMouseMove(UINT, CPoint point)
{
    CQVTControl* pHot = HitTestEnabled(point);
    if (pHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    if (pHot != m_pHotControl)
    {
        m_pHotControl = pHot;
        Invalidate(FALSE);
    }
}

void CQVTRibbonBackstageView::OnMouseLeave()
{
    if (m_pHotControl)
    {
        m_pHotControl = nullptr;
        Invalidate(FALSE);
    }
}

void CQVTRibbonBackstageView::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    SetFocusedControl(HitTestEnabled(point));
}

void CQVTRibbonBackstageView::OnLButtonUp(UINT, CPoint point)
{
    CQVTControl* pControl = HitTestEnabled(point);
    if (pControl && pControl == m_pFocusedControl && IsCommand(pControl))
        ExecuteCommand(pControl);
}

UINT CQVTRibbonBackstageView::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

// Keyboard.

void CQVTRibbonBackstageView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT)
{
    Default();
    if (!GetSafeHwnd())
        return;
    if (nChar == VK_ESCAPE)
    {
        if (m_nKeyTipState == keyTipPage)
            ShowPageKeyTips(FALSE);
        m_nKeyTipState = keyTipNone;
        SetTrackingMode(FALSE);
        return;
    }
    if (OnKeyTip(WM_KEYDOWN, FALSE, nChar, static_cast<int>(nRepCnt)))
        return;
    switch (nChar)
    {
    case VK_SPACE:
    case VK_RETURN:
        if (IsCommand(m_pFocusedControl) && m_pFocusedControl->GetEnabled())
            ExecuteCommand(m_pFocusedControl);
        break;
    case VK_DOWN:
    case VK_UP:
    {
        CQVTControl* pFrom = m_pFocusedControl ? m_pFocusedControl : m_pActiveTab;
        const int nFrom = pFrom ? pFrom->GetIndex() : -1;
        const int nNext = GetControls()->GetNextIndex(nFrom, nChar == VK_DOWN ? 1 : -1, TRUE);
        if (nNext >= 0)
            SetFocusedControl(GetControl(nNext));
        break;
    }
    case VK_TAB:
        if (CWnd* pPage = GetActivePage())
        {
            pPage->SetFocus();
            HWND hwndFirst = ::GetNextDlgTabItem(pPage->m_hWnd, nullptr, FALSE);
            if (hwndFirst)
                pPage->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwndFirst), TRUE);
        }
        break;
    default:
        break;
    }
}

BOOL CQVTRibbonBackstageView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP)
    {
        const UINT nKey = pMsg->wParam == VK_MENU ? 0 : static_cast<UINT>(pMsg->wParam);
        int nRepeat = LOWORD(pMsg->lParam);
        if (pMsg->message == WM_SYSKEYDOWN)
            ++nRepeat;
        if (OnKeyTip(pMsg->message, TRUE, nKey, nRepeat))
            return TRUE;
    }
    if (CQVTCommandBar::PreTranslateMessage(pMsg))
        return TRUE;
    if (!GetSafeHwnd())
        return FALSE;
    CFrameWnd* pFrame = GetTopLevelFrame();
    if (pFrame && pFrame->m_bHelpMode)
        return FALSE;
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL))
    {
        TCHAR szClass[16] = {};
        ::GetClassName(pMsg->hwnd, szClass, 16);
        if (CString(szClass).CompareNoCase(_T("Edit")) == 0 &&
            (::GetWindowLong(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE))
        {
            CWnd* pCancel = GetDlgItem(IDCANCEL);
            if (!pCancel || pCancel->IsWindowEnabled())
            {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    CWnd* pPage = GetActivePage();
    if (pPage && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::IsChild(pPage->m_hWnd, pMsg->hwnd))
        return ::IsDialogMessage(pPage->m_hWnd, pMsg);
    return FALSE;
}

// Key tips.

void CQVTRibbonBackstageView::AssignKeyTips()
{
    // How many controls share each key: 0 for the first one.
    std::map<UINT, int> keyCounts;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        CString strTip = pControl->GetKeyboardTip();
        if (strTip.IsEmpty())
        {
            const CString strCaption = pControl->GetCaption();
            const int nPos = CQVTShortcutManager::FindAccelPos(strCaption);
            if (nPos >= 0 && nPos + 1 < strCaption.GetLength())
            {
                strTip = CString(strCaption[nPos + 1]);
                pControl->SetKeyboardTip(strTip);
            }
        }
        if (strTip.IsEmpty())
            continue;
        CString strFirst = strTip.Left(1);
        strFirst.MakeUpper();
        const UINT nKey = CQVTShortcutManager::CharToVirtualKey(strFirst[0]);
        auto it = keyCounts.find(nKey);
        if (it == keyCounts.end())
            keyCounts[nKey] = 0;
        else
            ++it->second;
    }

    std::set<CString> given;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        CString strTip = pControl->GetKeyboardTip();
        const CString strChars = BackstageTipCharacters(pControl->GetCaption());
        if (strTip.IsEmpty())
        {
            CString strNew;
            for (int c = 0; c < strChars.GetLength() && strNew.IsEmpty(); ++c)
            {
                const UINT nKey = CQVTShortcutManager::CharToVirtualKey(strChars[c]);
                if (keyCounts.find(nKey) == keyCounts.end())
                {
                    strNew = CString(strChars[c]);
                    keyCounts[nKey] = 0;
                }
            }
            for (TCHAR chDigit = _T('1'); chDigit <= _T('9') && strNew.IsEmpty(); ++chDigit)
            {
                const UINT nKey = CQVTShortcutManager::CharToVirtualKey(chDigit);
                if (keyCounts.find(nKey) == keyCounts.end())
                {
                    strNew = CString(chDigit);
                    keyCounts[nKey] = 0;
                }
            }
            if (!strNew.IsEmpty())
                pControl->SetKeyboardTip(strNew);
            continue;
        }
        strTip.MakeUpper();
        const UINT nKey = CQVTShortcutManager::CharToVirtualKey(strTip[0]);
        if (keyCounts[nKey] == 0)
        {
            pControl->SetKeyboardTip(strTip.Left(1));
            continue;
        }
        if (strTip.GetLength() >= 2)
        {
            const CString strPair = strTip.Left(2);
            if (given.find(strPair) == given.end())
            {
                given.insert(strPair);
                pControl->SetKeyboardTip(strPair);
                continue;
            }
        }
        // A shared key: the first character and the first caption character
        // that makes a pair nobody has yet.
        for (int c = 0; c < strChars.GetLength(); ++c)
        {
            CString strPair = strTip.Left(1);
            strPair += strChars[c];
            if (given.find(strPair) == given.end())
            {
                given.insert(strPair);
                pControl->SetKeyboardTip(strPair);
                break;
            }
        }
    }
}

void CQVTRibbonBackstageView::ShowPageKeyTips(BOOL bShow)
{
    if (m_pActiveTab)
        m_pActiveTab->ShowPageKeyTips(bShow);
}

CQVTControl* CQVTRibbonBackstageView::FindKeyTip(UINT nKey)
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!pControl->IsVisible() || IsMenuSeparator(pControl))
            continue;
        CString strTip = pControl->GetKeyboardTip();
        strTip.MakeUpper();
        if (strTip.IsEmpty())
            continue;
        if (m_nKeyTipState == keyTipSecondChar)
        {
            if (strTip.GetLength() >= 2 && strTip[0] == m_chPendingKeyTip &&
                CQVTShortcutManager::CompareAccelKey(strTip[1], nKey))
                return pControl;
        }
        else if (CQVTShortcutManager::CompareAccelKey(strTip[0], nKey))
            return pControl;
    }
    return nullptr;
}

BOOL CQVTRibbonBackstageView::OnKeyTip(UINT nMessage, BOOL bSystemKey, UINT nKey, int nRepeat)
{
    const BOOL bKeyDown = nMessage == WM_KEYDOWN || nMessage == WM_SYSKEYDOWN;
    if (bSystemKey && nKey == 0)
    {
        if (bKeyDown)
        {
            if (m_nKeyTipState == keyTipNone)
            {
                m_nKeyTipState = keyTipAltDown;
                Invalidate(FALSE);
            }
        }
        else if (m_nKeyTipState < keyTipWaiting)
        {
            m_nKeyTipState = keyTipWaiting;
            Invalidate(FALSE);
        }
        else
        {
            if (m_nKeyTipState == keyTipPage)
                ShowPageKeyTips(FALSE);
            m_nKeyTipState = keyTipNone;
            Invalidate(FALSE);
        }
        return TRUE;
    }
    if (m_nKeyTipState == keyTipNone)
        return FALSE;
    if (bSystemKey && bKeyDown && nRepeat > 1)
        return TRUE;

    CQVTCommandBarRef keepAlive(this);
    if (m_nKeyTipState == keyTipPage)
    {
        CQVTRibbonBackstageTab* pTab = m_pActiveTab;
        for (int i = 0; pTab && i < pTab->GetPageKeyTipCount(); ++i)
        {
            if (CQVTShortcutManager::CompareAccelKey(pTab->GetPageKeyTip(i), nKey))
            {
                ShowPageKeyTips(FALSE);
                pTab->PressPageButton(i);
                m_nKeyTipState = keyTipNone;
                Invalidate(FALSE);
                return TRUE;
            }
        }
    }
    else
    {
        CQVTControl* pControl = FindKeyTip(nKey);
        if (pControl)
        {
            CString strTip = pControl->GetKeyboardTip();
            strTip.MakeUpper();
            if (m_nKeyTipState != keyTipSecondChar && strTip.GetLength() == 2)
            {
                m_chPendingKeyTip = strTip[0];
                m_nKeyTipState = keyTipSecondChar;
                Invalidate(FALSE);
                return TRUE;
            }
            if (!pControl->GetEnabled())
            {
                m_nKeyTipState = keyTipNone;
                Invalidate(FALSE);
                return TRUE;
            }
            if (IsCommand(pControl))
            {
                m_nKeyTipState = keyTipNone;
                ExecuteCommand(pControl);
                return TRUE;
            }
            CQVTRibbonBackstageTab* pTab = BackstageTabOf(pControl);
            if (pTab)
            {
                SetFocusedControl(pTab);
                m_nKeyTipState = keyTipPage;
                if (m_pActiveTab && m_pActiveTab->GetPageKeyTipCount() > 0)
                    ShowPageKeyTips(TRUE);
            }
            else
                m_nKeyTipState = keyTipNone;
            if (GetSafeHwnd())
                Invalidate(FALSE);
            return TRUE;
        }
    }
    if (m_nKeyTipState == keyTipPage)
        ShowPageKeyTips(FALSE);
    m_nKeyTipState = keyTipNone;
    if (GetSafeHwnd())
        Invalidate(FALSE);
    return FALSE;
}
