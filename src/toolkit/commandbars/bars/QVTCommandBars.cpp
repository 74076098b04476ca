#include "toolkit/commandbars/bars/QVTCommandBars.h"

#include <afxext.h>

#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTReBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/customize/QVTCustomizeDropSource.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/tabmanager/manager/QVTTabClientWnd.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNCREATE(CQVTCommandBars, CQVTCmdTarget)

const UINT CQVTCommandBars::m_nRedrawMsg = ::RegisterWindowMessage(_T("CQVTCommandBars::m_nRedrawMsg"));

CRuntimeClass* CQVTCommandBars::m_pToolBarClass = RUNTIME_CLASS(CQVTToolBar);
CRuntimeClass* CQVTCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CQVTMenuBar);
CRuntimeClass* CQVTCommandBars::m_pPopupBarClass = RUNTIME_CLASS(CQVTPopupBar);
CRuntimeClass* CQVTCommandBars::m_pPopupToolBarClass = RUNTIME_CLASS(CQVTPopupToolBar);
CRuntimeClass* CQVTCommandBars::m_pDockBarClass = RUNTIME_CLASS(CQVTDockBar);

namespace {
// The dock bars in the order they are made: child id and bar style.
struct DockBarInfo
{
    UINT nId;
    DWORD dwBarStyle;
};
const DockBarInfo kDockBars[4] = {
    {QVT_ID_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {QVT_ID_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {QVT_ID_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {QVT_ID_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

CQVTApplication* ApplicationOrNull()
{
    try
    {
        return QVTApplication();
    }
    catch (CException* e)
    {
        // After shutdown there is no application to observe.
        e->Delete();
        return nullptr;
    }
}
}  // namespace

CQVTCommandBars::CQVTCommandBars()
    : m_bIgnoreShiftMenuKey(FALSE), m_bCustomizeAnything(FALSE), m_pPaintManager(nullptr),
      m_pImageManager(nullptr), m_pDragControl(nullptr), m_nDefaultMenuID(0), m_bCustomizeMode(FALSE),
      m_bCustomizeAvail(FALSE), m_pOptions(nullptr), m_pSite(nullptr), m_pToolTipContext(nullptr),
      m_bKeyboardCuesVisible(TRUE), m_nContextHelpId(0), m_bRecalcLayout(FALSE),
      m_bKeyboardCuesToggling(FALSE), m_bRightToLeft(FALSE), m_bCommandBarsHidden(FALSE),
      m_bDestroying(FALSE), m_pShortcutManager(nullptr), m_pActions(nullptr), m_bEnableActions(FALSE),
      m_pKeyboardTipsBar(nullptr), m_nKeyboardTipsLevel(0), m_nKeyboardTipsTyped(0), m_pContextMenus(nullptr),
      m_bMenuUpperCase(FALSE), m_bMergeAnswerSet(FALSE), m_nMergeAnswer(0), m_pFrameHook(nullptr),
      m_bFrameHookOwned(FALSE)
{
    for (CQVTDockBar*& pDock : m_pDocks)
        pDock = nullptr;
    CQVTPaintManager::AddRefInstance();
    m_pDropSource = std::make_unique<CQVTCustomizeDropSource>(this);
    m_pOptions = new CQVTCommandBarsOptions(this);
    EnableAutomation();
    m_pToolTipContext = new CQVTToolTipContext();
    m_pToolTipContext->ModifyToolTipStyle(0, TTS_NOPREFIX);
    m_bKeyboardCuesVisible = TRUE;
    m_pShortcutManager = new CQVTShortcutManager(this);
    m_pActions = new CQVTControlActions(this);
    m_pContextMenus = new CQVTCommandBarsContextMenus(this);
    QVTSoundPlayer();
    m_pOptions->ShowKeyboardCues(2);
    CQVTApplication* pApplication = ApplicationOrNull();
    if (pApplication && !pApplication->HasObserver(this))
        pApplication->AddObserver(this);
}

CQVTCommandBars::~CQVTCommandBars()
{
    CQVTApplication* pApplication = ApplicationOrNull();
    if (pApplication)
        pApplication->RemoveObserver(this);
    m_bDestroying = TRUE;
    HideKeyboardTips();
    if (m_pContextMenus)
    {
        m_pContextMenus->RemoveAll();
        m_pContextMenus->InternalRelease();
        m_pContextMenus = nullptr;
    }
    if (m_pDragControl)
    {
        m_pDragControl->InternalRelease();
        m_pDragControl = nullptr;
    }
    RemoveAll();
    for (CQVTDockBar*& pDock : m_pDocks)
    {
        if (!pDock)
            continue;
        if (pDock->GetSafeHwnd())
            pDock->DestroyWindow();
        delete pDock;
        pDock = nullptr;
    }
    if (m_pPaintManager)
    {
        m_pPaintManager->InternalRelease();
        m_pPaintManager = nullptr;
    }
    if (m_pToolTipContext)
    {
        m_pToolTipContext->InternalRelease();
        m_pToolTipContext = nullptr;
    }
    if (m_pShortcutManager)
    {
        m_pShortcutManager->InternalRelease();
        m_pShortcutManager = nullptr;
    }
    if (m_pOptions)
    {
        m_pOptions->InternalRelease();
        m_pOptions = nullptr;
    }
    QVTSoundPlayer()->Stop();
    if (m_pFrameHook)
    {
        CQVTCommandBarsFrameHook* pHook = m_pFrameHook;
        m_pFrameHook = nullptr;
        if (m_bFrameHookOwned)
            delete pHook;
        else
            pHook->AttachCommandBars(nullptr);
    }
    if (m_pActions)
    {
        m_pActions->RemoveAll();
        m_pActions->InternalRelease();
        m_pActions = nullptr;
    }
    CQVTPaintManager::ReleaseInstance();
}

CQVTCommandBars* AFX_CDECL CQVTCommandBars::CreateCommandBars()
{
    return new CQVTCommandBars();
}

void CQVTCommandBars::SetSite(CWnd* pSite)
{
    m_pSite = pSite;
    m_bCustomizeAvail = FALSE;
    m_bRightToLeft = FALSE;
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    // Routed without executing: does the site handle the customize command?
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    m_bCustomizeAvail = pSite->OnCmdMsg(QVT_ID_CUSTOMIZE, CN_COMMAND, nullptr, &info);
    m_bRightToLeft = (pSite->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

void CQVTCommandBars::SetDragControl(CQVTControl* pControl)
{
    if (pControl == m_pDragControl)
        return;
    if (m_pDragControl)
    {
        m_pDragControl->RedrawParent(FALSE);
        m_pDragControl->InternalRelease();
    }
    m_pDragControl = pControl;
    if (m_pDragControl)
    {
        m_pDragControl->InternalAddRef();
        m_pDragControl->RedrawParent(FALSE);
    }
    CWnd* pCustomizeWindow = m_pDropSource ? m_pDropSource->GetCustomizeWindow() : nullptr;
    if (pCustomizeWindow && pCustomizeWindow->GetSafeHwnd())
        pCustomizeWindow->SendMessage(QVTWM_DRAGCONTROLCHANGED, 0, 0);
    else if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->SendMessage(QVTWM_DRAGCONTROLCHANGED, 0, 0);
}

void CQVTCommandBars::SetCustomizeMode(BOOL bMode)
{
    if (m_pOptions)
        m_pOptions->bDirty = TRUE;
    m_bCustomizeMode = bMode;
    SetDragControl(nullptr);
    ShowKeyboardCues(bMode);
}

void CQVTCommandBars::EnableDocking()
{
    if (!m_pSite || !m_pSite->GetSafeHwnd())
        AfxThrowResourceException();
    const DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    for (int i = 0; i < 4; ++i)
    {
        if (m_pDocks[i])
            continue;
        CQVTDockBar* pDock = static_cast<CQVTDockBar*>(m_pDockBarClass->CreateObject());
        if (!pDock)
            AfxThrowResourceException();
        pDock->SetCommandBars(this);
        if (!pDock->Create(m_pSite, dwWindowStyle | kDockBars[i].dwBarStyle, kDockBars[i].nId))
        {
            delete pDock;
            AfxThrowResourceException();
        }
        m_pDocks[i] = pDock;
    }
}

CQVTDockBar* CQVTCommandBars::GetDockBar(int nPosition) const
{
    return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : nullptr;
}

// The bar list.

CQVTCommandBar* CQVTCommandBars::Add(LPCTSTR lpszName, int nPosition, CRuntimeClass* pBarClass)
{
    if (!pBarClass)
        pBarClass = m_pToolBarClass;
    if (!pBarClass)
        return nullptr;
    CQVTCommandBar* pBar = static_cast<CQVTCommandBar*>(pBarClass->CreateObject());
    if (!pBar)
        return nullptr;
    return AddCommandBar(pBar, lpszName, nPosition);
}

CQVTCommandBar* CQVTCommandBars::AddCommandBar(CQVTCommandBar* pBar, LPCTSTR lpszName, int nPosition)
{
    if (!pBar)
        return nullptr;
    pBar->m_pCommandBars = this;
    pBar->SetTitle(lpszName);
    if (!pBar->Create(nPosition))
    {
        pBar->InternalRelease();
        return nullptr;
    }
    m_arrBars.push_back(pBar);
    return pBar;
}

void CQVTCommandBars::Remove(CQVTCommandBar* pBar)
{
    const int nIndex = FindIndex(pBar);
    if (nIndex < 0)
        return;
    CQVTCommandBarRef keepAlive(pBar);
    if (pBar->GetSafeHwnd())
        pBar->ShowWindow(SW_HIDE);
    pBar->SetVisible(FALSE);
    // Hiding a torn-off toolbar removes it already.
    if (FindIndex(pBar) < 0)
        return;
    for (CQVTDockBar* pDock : m_pDocks)
    {
        if (pDock && pDock->FindBar(pBar) >= 0)
        {
            pDock->RemoveCommandBar(pBar);
            break;
        }
    }
    OnToolBarRemoved(pBar);
    pBar->OnRemoved();
    m_arrBars.erase(m_arrBars.begin() + FindIndex(pBar));
    pBar->InternalRelease();
}

void CQVTCommandBars::RemoveAll()
{
    m_bRecalcLayout = TRUE;
    while (!m_arrBars.empty())
        Remove(m_arrBars.back());
    m_bRecalcLayout = FALSE;
    RecalcFrameLayout(TRUE);
}

CQVTCommandBar* CQVTCommandBars::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrBars[static_cast<size_t>(nIndex)];
}

int CQVTCommandBars::FindIndex(CQVTCommandBar* pBar) const
{
    for (size_t i = 0; i < m_arrBars.size(); ++i)
        if (pBar && m_arrBars[i] == pBar)
            return static_cast<int>(i);
    return -1;
}

CQVTCommandBar* CQVTCommandBars::GetToolBar(UINT nId) const
{
    if (nId == 0)
        return nullptr;
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar->GetBarID() == nId)
            return pBar;
    return nullptr;
}

// Docking.

BOOL CQVTCommandBars::DockCommandBar(CQVTCommandBar* pBar, int nPosition)
{
    return DockCommandBar(pBar, nullptr, GetDockBar(nPosition));
}

BOOL CQVTCommandBars::DockCommandBar(CQVTCommandBar* pBar, LPRECT lpRect, CQVTDockBar* pDockBar)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (!pToolBar || !pDockBar || !pDockBar->GetSafeHwnd())
        return FALSE;
    if (!pToolBar->GetSafeHwnd() && !pToolBar->CreateToolBarWindow(pDockBar, FALSE))
        return FALSE;
    pDockBar->DockCommandBar(pBar, lpRect);
    return TRUE;
}

BOOL CQVTCommandBars::FloatCommandBar(CQVTCommandBar* pBar)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (!pToolBar || !m_pSite || !m_pSite->GetSafeHwnd())
        return FALSE;
    // The window first: a bar whose floating window cannot be made stays
    // where it is docked.
    if (!pToolBar->CreateToolBarWindow(m_pSite, TRUE))
        return FALSE;
    if (pToolBar->GetDockBar())
        pToolBar->GetDockBar()->RemoveCommandBar(pBar);
    pToolBar->SetPosition(qvtBarFloating);
    pToolBar->DelayLayout();
    RecalcFrameLayout(FALSE);
    return TRUE;
}

CQVTDockBar* CQVTCommandBars::CanDock(CPoint point, CQVTDockBar* pPreferred) const
{
    auto accepts = [&point](CQVTDockBar* pDock) {
        if (!pDock || !pDock->GetSafeHwnd())
            return FALSE;
        CRect rc;
        pDock->GetWindowRect(&rc);
        rc.InflateRect(QVTDpiScaler()->ScaleX(20), QVTDpiScaler()->ScaleY(20));
        return static_cast<BOOL>(point.x > rc.left && point.x < rc.right && point.y > rc.top &&
                                 point.y < rc.bottom);
    };
    if (accepts(pPreferred))
        return pPreferred;
    for (CQVTDockBar* pDock : m_pDocks)
        if (accepts(pDock))
            return pDock;
    return nullptr;
}

// Theme and images.

CQVTPaintManager* CQVTCommandBars::GetPaintManager() const
{
    return m_pPaintManager ? m_pPaintManager : QVTPaintManager();
}

void CQVTCommandBars::SetPaintManager(CQVTPaintManager* pPaintManager)
{
    if (m_pFrameHook)
        m_pFrameHook->OnThemeChanging();
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    m_pPaintManager = pPaintManager;
    if (m_pPaintManager)
        m_pPaintManager->RefreshMetrics();
    if (m_pFrameHook)
        m_pFrameHook->OnThemeChanged();
    // The bars and their controls learn of the new paint manager through
    // RedrawCommandBars below.
    GetImageManager()->RefreshAll();
    if (!pPaintManager)
        return;
    // A theme drawn from resource images waits for a valid image set.
    if (pPaintManager->HasResourceLook() && !QVTResourceImages()->IsValid())
        return;
    RedrawCommandBars();
}

// The frame.

void CQVTCommandBars::EnableFrameTheme(BOOL bEnable)
{
    if (bEnable)
    {
        if (!m_pFrameHook)
        {
            m_pFrameHook = new CQVTCommandBarsFrameHook();
            m_bFrameHookOwned = TRUE;
        }
        m_pFrameHook->AttachCommandBars(this);
    }
    else if (m_pFrameHook)
    {
        // The frame gets its own look back before the hook goes, unless the
        // bars are going with their site.
        CQVTCommandBarsFrameHook* pHook = m_pFrameHook;
        m_pFrameHook = nullptr;
        if (!m_bDestroying || !m_bFrameHookOwned)
            pHook->AttachCommandBars(nullptr);
        if (m_bFrameHookOwned)
            delete pHook;
    }
    RecalcFrameLayout(FALSE);
}

BOOL CQVTCommandBars::IsFrameThemeEnabled() const
{
    return m_pFrameHook && m_pFrameHook->IsAttached();
}

BOOL CQVTCommandBars::IsFrameCompositionEnabled() const
{
    return m_pFrameHook && m_pFrameHook->IsDwmEnabled() && CQVTCommandBarsFrameHook::IsDwmAllowed();
}

void CQVTCommandBars::SetTheme(int nTheme)
{
    SetPaintManager(CQVTPaintManager::CreateTheme(nTheme));
}

CQVTImageManager* CQVTCommandBars::GetImageManager() const
{
    return m_pImageManager ? m_pImageManager : QVTImageManager();
}

// Layout and redrawing.

void CQVTCommandBars::RecalcFrameLayout(BOOL bDelay)
{
    if (m_bRecalcLayout || !m_pSite || !m_pSite->GetSafeHwnd())
        return;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pSite);
    if (pFrame)
    {
        if (bDelay)
            pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
        else
            pFrame->RecalcLayout(FALSE);
        return;
    }
    CRect rcClient;
    m_pSite->GetClientRect(&rcClient);
    m_pSite->SendMessage(WM_SIZE, 0, MAKELPARAM(rcClient.Width(), rcClient.Height()));
}

void CQVTCommandBars::UpdateDelayedFrameLayout()
{
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pSite);
    if (!pFrame || !pFrame->GetSafeHwnd() || !(pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
        return;
    pFrame->RecalcLayout(FALSE);
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
}

void CQVTCommandBars::RedrawCommandBars()
{
    m_bRecalcLayout = TRUE;
    for (CQVTCommandBar* pBar : m_arrBars)
    {
        for (int i = 0; i < pBar->GetControlCount(); ++i)
            pBar->GetControl(i)->OnThemeChanged();
        if (pBar->IsVisible())
            pBar->OnRecalcLayout();
    }
    // A tabbed MDI client lays its tabs out again in the new theme.
    CMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pSite);
    if (pMDIFrame && pMDIFrame->GetSafeHwnd())
    {
        if (auto* pTabClient =
                DYNAMIC_DOWNCAST(CQVTTabClientWnd, CWnd::FromHandlePermanent(pMDIFrame->m_hWndMDIClient)))
            pTabClient->Refresh(TRUE);
    }
    if (m_pSite && m_pSite->GetSafeHwnd())
    {
        for (HWND hChild = ::GetTopWindow(m_pSite->GetSafeHwnd()); hChild;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            if (CWnd::FromHandlePermanent(hChild))
                ::InvalidateRect(hChild, nullptr, FALSE);
    }
    m_bRecalcLayout = FALSE;
    RecalcFrameLayout(FALSE);
    if (m_pSite && m_pSite->GetSafeHwnd())
    {
        m_pSite->SetWindowPos(nullptr, 0, 0, 0, 0,
                              SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_pSite->SendMessage(WM_NCPAINT, 0, 0);
    }
}

void CQVTCommandBars::InvalidateCommandBars()
{
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar->IsVisible() && pBar->GetSafeHwnd())
            pBar->Redraw();
}

void CQVTCommandBars::ShowKeyboardCues(BOOL bShow)
{
    if (m_bCustomizeMode)
        bShow = TRUE;
    if (!m_bKeyboardCuesToggling || m_bKeyboardCuesVisible == bShow)
        return;
    m_bKeyboardCuesVisible = bShow;
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar->IsVisible() && pBar->GetSafeHwnd())
            pBar->Redraw();
}

BOOL CQVTCommandBars::IsLayoutRTL() const
{
    if (m_bRightToLeft)
        return TRUE;
    return m_pSite && m_pSite->GetSafeHwnd() && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL);
}

void CQVTCommandBars::HideCommandBars(BOOL bHide)
{
    if (bHide == m_bCommandBarsHidden)
        return;
    m_bCommandBarsHidden = bHide;
    m_pShortcutManager->DisableShortcuts(bHide);
    for (CQVTCommandBar* pBar : m_arrBars)
    {
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
        if (pToolBar)
            pToolBar->HideWithBars(bHide);
    }
}

CQVTControlAction* CQVTCommandBars::CreateAction(int nId)
{
    return m_pActions->Add(nId);
}

CQVTControlAction* CQVTCommandBars::FindAction(int nId) const
{
    return m_pActions ? m_pActions->FindAction(nId) : nullptr;
}

void CQVTCommandBars::ToggleVisible(int nIndex)
{
    CQVTCommandBar* pBar = GetAt(nIndex);
    if (!pBar)
        return;
    pBar->SetVisible(!pBar->IsVisible());
    m_pOptions->bDirty = TRUE;
}

UINT CQVTCommandBars::GetActiveDocTemplate()
{
    CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pSite);
    if (!pFrame || !pFrame->GetSafeHwnd())
        return 0;
    CMDIChildWnd* pChild = pFrame->MDIGetActive();
    if (!pChild)
        return m_nDefaultMenuID;
    CDocument* pDocument = pChild->GetActiveDocument();
    if (!pDocument)
        return pChild->m_nIDHelp;
    CMultiDocTemplate* pTemplate = DYNAMIC_DOWNCAST(CMultiDocTemplate, pDocument->GetDocTemplate());
    if (pTemplate && (!pChild->m_hMenuShared || pTemplate->m_hMenuShared == pChild->m_hMenuShared))
        return pTemplate->m_nIDResource;
    // A child with a menu of its own: the template that shares that menu.
    CWinApp* pApp = AfxGetApp();
    POSITION pos = pApp ? pApp->GetFirstDocTemplatePosition() : nullptr;
    while (pos)
    {
        CDocTemplate* pCandidate = pApp->GetNextDocTemplate(pos);
        CMultiDocTemplate* pMulti = DYNAMIC_DOWNCAST(CMultiDocTemplate, pCandidate);
        if (pMulti && pMulti->m_hMenuShared == pChild->m_hMenuShared)
            return pMulti->m_nIDResource;
    }
    return 0;
}

CQVTReBar* CQVTCommandBars::GetSiteReBar() const
{
    if (!m_pSite || !m_pSite->GetSafeHwnd())
        return nullptr;
    return DYNAMIC_DOWNCAST(CQVTReBar,
                            CWnd::FromHandlePermanent(::GetDlgItem(m_pSite->GetSafeHwnd(), AFX_IDW_REBAR)));
}

void CQVTCommandBars::OnToolBarAdded(CQVTCommandBar* pBar)
{
    CQVTReBar* pReBar = GetSiteReBar();
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (pReBar && pToolBar)
        pReBar->AddToolBar(pToolBar, RBBS_GRIPPERALWAYS | RBBS_BREAK);
}

void CQVTCommandBars::OnToolBarRemoved(CQVTCommandBar* pBar)
{
    CQVTReBar* pReBar = GetSiteReBar();
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (pReBar && pToolBar)
        pReBar->DeleteToolBar(pToolBar);
}

// The site's messages.

namespace {

BOOL FocusedBarEditRunsCommand(UINT nId)
{
    CWnd* pFocus = CWnd::FromHandlePermanent(::GetFocus());
    return pFocus && pFocus->IsKindOf(RUNTIME_CLASS(CQVTCommandBarEditCtrl)) &&
           pFocus->OnCmdMsg(nId, CN_COMMAND, nullptr, nullptr);
}

}  // namespace

BOOL AFX_CDECL CQVTCommandBars::IsInputDesktopNotDefault()
{
    HDESK hDesktop = ::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (!hDesktop)
        return TRUE;
    std::vector<BYTE> buffer(256);
    DWORD cbNeeded = 0;
    BOOL bRead = ::GetUserObjectInformation(hDesktop, UOI_NAME, buffer.data(),
                                            static_cast<DWORD>(buffer.size()), &cbNeeded);
    if (!bRead && cbNeeded > buffer.size() && cbNeeded < 0x10000)
    {
        buffer.assign(cbNeeded + sizeof(TCHAR), 0);
        bRead = ::GetUserObjectInformation(hDesktop, UOI_NAME, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), &cbNeeded);
    }
    ::CloseDesktop(hDesktop);
    if (!bRead)
        return TRUE;
    buffer.resize(buffer.size() + sizeof(TCHAR), 0);
    const CString strName(reinterpret_cast<LPCTSTR>(buffer.data()));
    return strName.CompareNoCase(_T("Default")) != 0;
}

BOOL CQVTCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == m_nRedrawMsg && message != 0)
    {
        RedrawCommandBars();
        return FALSE;
    }
    switch (message)
    {
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    {
        // An open backstage view keeps the focus it gave itself.
        CQVTCommandBar* pMenuBar = GetMenuBar();
        if (!pMenuBar || !pMenuBar->IsRibbonBar() || !pMenuBar->IsBackstageViewVisible())
            return FALSE;
        if (pResult)
            *pResult = 0;
        return TRUE;
    }
    case WM_CLOSE:
        // The site stays open while its customize window is.
        if (m_pDropSource && m_pDropSource->GetCustomizeWindow() &&
            m_pDropSource->GetCustomizeWindow()->GetSafeHwnd())
        {
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
        return FALSE;
    case WM_DISPLAYCHANGE:
    case WM_SYSCOLORCHANGE:
        if (message == WM_DISPLAYCHANGE)
            CQVTColorManager::OnDisplayChange(static_cast<int>(wParam));
        QVTColorManager()->RefreshColors(TRUE);
        GetPaintManager()->RefreshMetrics();
        GetImageManager()->RefreshAll();
        RedrawCommandBars();
        return FALSE;
    case WM_SETTINGCHANGE:
        GetPaintManager()->RefreshMetrics();
        if (!IsInputDesktopNotDefault())
            RedrawCommandBars();
        return FALSE;
    case WM_ACTIVATEAPP:
        if (!wParam)
            ClosePopups(this);
        return FALSE;
    case WM_CANCELMODE:
        ClosePopups(this);
        return FALSE;
    case WM_COMMAND:
        // A focused command-bar edit takes its own commands first.
        if (FocusedBarEditRunsCommand(LOWORD(wParam)))
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        if (LOWORD(wParam) == QVT_ID_HELP && m_nContextHelpId > 0 && m_pSite && m_pSite->GetSafeHwnd())
        {
            AFX_CMDHANDLERINFO info = {nullptr, nullptr};
            if (m_pSite->OnCmdMsg(QVT_ID_HELP, CN_COMMAND, nullptr, &info))
            {
                m_pSite->SendMessage(WM_COMMANDHELP, 0, static_cast<LPARAM>(m_nContextHelpId) + 0x10000);
                if (pResult)
                    *pResult = 1;
                return TRUE;
            }
        }
        return FALSE;
    case WM_SYSCOMMAND:
        if (wParam != 0 && (LOWORD(wParam) == 0 || (wParam & 0xFFF0) == SC_KEYMENU))
            return FALSE;
        if (m_bCustomizeMode)
            return FALSE;
        ClosePopups(this);
        return FALSE;
    case WM_IDLEUPDATECMDUI:
        for (CQVTCommandBar* pBar : m_arrBars)
            if (pBar->GetPosition() == qvtBarFloating)
                pBar->OnIdleUpdate(TRUE, TRUE);
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CQVTCommandBars::ProcessAltKey(UINT nKey)
{
    if (nKey == VK_MENU)
    {
        ShowKeyboardCues(TRUE);
        return FALSE;
    }
    if (m_bIgnoreShiftMenuKey && (::GetKeyState(VK_SHIFT) & 0x8000))
        return FALSE;
    return ProcessMnemonic(nKey);
}

BOOL CQVTCommandBars::PreTranslateFrameMessage(MSG* pMsg)
{
    if (!pMsg)
        return FALSE;
    const UINT message = pMsg->message;
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    const BOOL bPopupTracked = pMouseManager->GetTrackCount() > 0;
    if (message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)) && !pMouseManager->IsMouseLocked() &&
        !bPopupTracked && CQVTDrawHelpers::IsApplicationActive(m_pSite ? m_pSite->GetSafeHwnd() : nullptr))
    {
        if (ProcessAltKey(static_cast<UINT>(pMsg->wParam)))
            return TRUE;
    }
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && m_bKeyboardCuesToggling &&
        m_bKeyboardCuesVisible && !bPopupTracked)
        ShowKeyboardCues(FALSE);
    if ((message == WM_CONTEXTMENU || message == WM_SYSKEYUP) && bPopupTracked)
    {
        CQVTKeyboardManager::GetThreadManager()->ProcessKeyboardHooks(WM_CONTEXTMENU, pMsg->wParam,
                                                                      pMsg->lParam);
        return TRUE;
    }
    if (message == WM_MOUSEWHEEL)
    {
        CQVTKeyboardManager* pKeyboardManager = CQVTKeyboardManager::GetThreadManager();
        if (pKeyboardManager->IsKeyboardHooked())
            return pKeyboardManager->ProcessKeyboardHooks(WM_MOUSEWHEEL, pMsg->wParam, pMsg->lParam);
        // A ribbon menu bar turns its tabs with the wheel.
        CQVTCommandBar* pMenuBar = GetMenuBar();
        if (pMenuBar && pMenuBar->IsRibbonBar())
            return pMenuBar->OnMouseWheel(static_cast<short>(HIWORD(pMsg->wParam)) <= 0);
        return FALSE;
    }
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
        return m_pShortcutManager->TranslateAccelerator(pMsg);
    return FALSE;
}

void CQVTCommandBars::OnAmbientPropertyChanged(CQVTApplication*, int nProperty)
{
    if ((nProperty == 0 || nProperty == 1) && m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->PostMessage(m_nRedrawMsg, 0, 0);
}
