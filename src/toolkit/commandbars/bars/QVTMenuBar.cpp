// The menu bar: loading from a menu resource, the hooks on the site, the MDI
// client and the active child, the keyboard entry on Alt or F10, the
// maximized child's system-menu popup and buttons, the template menus and
// reset.
#include "toolkit/commandbars/bars/QVTMenuBar.h"

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNCREATE(CQVTMenuBarMDIButton, CQVTControlButton)
IMPLEMENT_DYNCREATE(CQVTMenuBarSysMenuPopupBar, CQVTPopupBar)
IMPLEMENT_DYNCREATE(CQVTMenuBarMDISysMenuPopup, CQVTControlPopup)
IMPLEMENT_DYNAMIC(CQVTMenuBarMDIMenuInfo, CQVTCmdTarget)
IMPLEMENT_DYNAMIC(CQVTMenuBarMDIMenus, CQVTCmdTarget)
IMPLEMENT_SERIAL(CQVTMenuBar, CQVTToolBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {

// The menu bar's own id and docking flags: every side, floating, stretched,
// wrapping rather than hiding.
const UINT kMenuBarId = 1;
const DWORD kMenuBarFlags = 0x5F;
// The system commands of a system menu's own items.
const UINT kFirstSysCommand = 0xF000;
const UINT kLastSysCommand = 0xF1EF;
// The first string of the system commands' descriptions.
const UINT kFirstSysCommandString = 0xEF00;

}  // namespace

// The MDI buttons.

CQVTMenuBarMDIButton::CQVTMenuBarMDIButton()
{
    m_dwFlags = qvtFlagRightAlign | qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable;
}

UINT AFX_CDECL CQVTMenuBarMDIButton::SysCommandOf(int nId)
{
    switch (nId)
    {
    case QVT_ID_MDI_CLOSE:
        return SC_CLOSE;
    case QVT_ID_MDI_RESTORE:
        return SC_RESTORE;
    case QVT_ID_MDI_MINIMIZE:
        return SC_MINIMIZE;
    default:
        return 0;
    }
}

CSize CQVTMenuBarMDIButton::GetSize(CDC*)
{
    return CSize(CQVTPaintManager::DpiX(16), CQVTPaintManager::DpiY(16));
}

CSize CQVTMenuBarMDIButton::Draw(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTCommandBar* pParent = GetParent();
    pPaintManager->DrawRectangle(pDC, GetRect(), GetSelected(), GetPressed(), GetEnabled(), FALSE, FALSE,
                                 pParent ? pParent->GetType() : qvtBarTypeMenuBar,
                                 pParent ? pParent->GetPosition() : qvtBarTop);
    pPaintManager->DrawControlMarlettCaption(pDC, this);
    return GetSize(pDC);
}

void CQVTMenuBarMDIButton::OnExecute()
{
    CQVTMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CQVTMenuBar, GetParent());
    const UINT nCommand = SysCommandOf(GetID());
    if (!pMenuBar || !nCommand)
        return;
    CQVTCommandBars::ClosePopups(pMenuBar->GetCommandBars());
    HWND hChild = pMenuBar->GetHookedChild();
    if (hChild && ::IsWindow(hChild))
        ::PostMessage(hChild, WM_SYSCOMMAND, nCommand, 0);
}

// The system-menu popup.

void CQVTMenuBarSysMenuPopupBar::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    CQVTPopupBar::AdjustExcludeRect(rc, bVertical);
    rc.InflateRect(1, 1);
}

CQVTMenuBarMDISysMenuPopup::CQVTMenuBarMDISysMenuPopup()
    : m_hIcon(nullptr), m_hSysMenu(nullptr), m_hWndChild(nullptr)
{
    m_dwFlags = qvtFlagManualUpdate | qvtFlagNoMovable;
    m_controlType = qvtControlPopup;
    m_strCaption = _T("-");
}

CQVTMenuBarMDISysMenuPopup::~CQVTMenuBarMDISysMenuPopup()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
}

int CQVTMenuBarMDISysMenuPopup::IconSize(CDC*) const
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    const int nSize = ::GetSystemMetrics(SM_CXSMICON);
    return pPaintManager &&
                   !pPaintManager->IsControlIconDpiScaling(const_cast<CQVTMenuBarMDISysMenuPopup*>(this))
               ? nSize
               : CQVTPaintManager::DpiX(nSize);
}

void CQVTMenuBarMDISysMenuPopup::SetMDISysMenu(HWND hWndChild, HMENU hSysMenu)
{
    m_hWndChild = hWndChild;
    m_hSysMenu = hSysMenu;

    // The child's icon, by the first source that has one.
    HICON hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, QVTWM_MDICHILDICON, 0, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::SendMessage(hWndChild, WM_GETICON, ICON_BIG, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWndChild, GCLP_HICONSM));
    if (!hIcon)
        hIcon = ::LoadIcon(nullptr, IDI_WINLOGO);
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    const int nSize = CQVTPaintManager::DpiX(16);
    m_hIcon = hIcon ? static_cast<HICON>(::CopyImage(hIcon, IMAGE_ICON, nSize, nSize, 0)) : nullptr;

    CQVTCommandBars* pCommandBars = GetParent() ? GetParent()->GetCommandBars() : nullptr;
    if (!m_pCommandBar)
    {
        CQVTMenuBarSysMenuPopupBar* pPopup = new CQVTMenuBarSysMenuPopupBar();
        pPopup->SetCommandBars(pCommandBars);
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    CQVTControls* pControls = m_pCommandBar->GetControls();
    pControls->RemoveAll();
    if (!hSysMenu || !::IsMenu(hSysMenu))
        return;
    CMenu* pMenu = CMenu::FromHandle(hSysMenu);
    const int nDefault = static_cast<int>(::GetMenuDefaultItem(hSysMenu, TRUE, GMDI_USEDISABLED));
    const int nCount = ::GetMenuItemCount(hSysMenu);
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        MENUITEMINFO mii = {sizeof(MENUITEMINFO)};
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfo(hSysMenu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        if (mii.fType & MFT_SEPARATOR)
        {
            bBeginGroup = TRUE;
            continue;
        }
        CQVTControl* pControl = nullptr;
        if (!mii.hSubMenu && mii.wID >= kFirstSysCommand && mii.wID <= kLastSysCommand)
        {
            pControl = pControls->Add(new CQVTControlButton(), static_cast<int>(mii.wID), nullptr, -1, FALSE);
            pControl->SetFlags(pControl->GetFlags() | qvtFlagManualUpdate);
            CString strCaption;
            pMenu->GetMenuString(static_cast<UINT>(i), strCaption, MF_BYPOSITION);
            pControl->SetCaption(strCaption);
            CString strDescription;
            if (QVTResourceManager()->LoadString(&strDescription, ((mii.wID - kFirstSysCommand) >> 4) +
                                                                      kFirstSysCommandString))
                pControl->SetDescription(strDescription);
            if (i == nDefault)
                pControl->SetItemDefault(TRUE);
            pControl->SetEnabled((mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
        }
        else
            pControl = pControls->AddMenuItem(pMenu, i);
        if (pControl && bBeginGroup)
            pControl->SetBeginGroup(TRUE);
        if (pControl)
            bBeginGroup = FALSE;
    }
}

CSize CQVTMenuBarMDISysMenuPopup::GetSize(CDC* pDC)
{
    const int nSize = IconSize(pDC);
    return CSize(nSize, nSize);
}

CSize CQVTMenuBarMDISysMenuPopup::Draw(CDC* pDC)
{
    const int nSize = IconSize(pDC);
    if (m_hIcon)
    {
        const CRect rc = GetRect();
        ::DrawState(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, rc.left,
                    rc.top, nSize, nSize, DST_ICON | DSS_NORMAL);
    }
    return CSize(nSize, nSize);
}

void CQVTMenuBarMDISysMenuPopup::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlPopup::Copy(pSource, bRecursive);
    CQVTMenuBarMDISysMenuPopup* pPopup = DYNAMIC_DOWNCAST(CQVTMenuBarMDISysMenuPopup, pSource);
    if (!pPopup || pPopup == this)
        return;
    m_hSysMenu = pPopup->m_hSysMenu;
    m_hWndChild = pPopup->m_hWndChild;
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = pPopup->m_hIcon ? ::CopyIcon(pPopup->m_hIcon) : nullptr;
}

// Template menus.

CQVTMenuBarMDIMenuInfo::CQVTMenuBarMDIMenuInfo(CQVTCommandBars* pCommandBars, UINT nIDResource)
    : m_pControls(new CQVTControls()), m_nIDResource(nIDResource), m_bChanged(FALSE), m_hIcon(nullptr)
{
    m_pControls->SetCommandBars(pCommandBars);
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON);
    if (::FindResource(hInstance, MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON))
        m_hIcon = ::LoadIcon(hInstance, MAKEINTRESOURCE(nIDResource));
    // The strings of the document template with this resource.
    CWinApp* pApp = AfxGetApp();
    POSITION pos = pApp ? pApp->GetFirstDocTemplatePosition() : nullptr;
    while (pos)
    {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
        if (pTemplate && pTemplate->m_nIDResource == nIDResource)
        {
            pTemplate->GetDocString(m_strTitle, CDocTemplate::docName);
            pTemplate->GetDocString(m_strDescription, CDocTemplate::regFileTypeName);
            break;
        }
    }
}

CQVTMenuBarMDIMenuInfo::~CQVTMenuBarMDIMenuInfo()
{
    if (m_pControls)
        m_pControls->InternalRelease();
    m_pControls = nullptr;
}

CQVTMenuBarMDIMenus::CQVTMenuBarMDIMenus(CQVTMenuBar* pMenuBar) : m_pMenuBar(pMenuBar)
{
    m_map.InitHashTable(17);
}

CQVTMenuBarMDIMenus::~CQVTMenuBarMDIMenus()
{
    RemoveAll();
}

CQVTMenuBarMDIMenuInfo* CQVTMenuBarMDIMenus::Lookup(UINT nIDMenu) const
{
    CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
    return m_map.Lookup(nIDMenu, pInfo) ? pInfo : nullptr;
}

void CQVTMenuBarMDIMenus::SetAt(UINT nIDMenu, CQVTMenuBarMDIMenuInfo* pInfo)
{
    CQVTMenuBarMDIMenuInfo* pOld = Lookup(nIDMenu);
    if (pOld == pInfo)
        return;
    m_map.SetAt(nIDMenu, pInfo);
    if (pOld)
        pOld->InternalRelease();
}

BOOL CQVTMenuBarMDIMenus::Detach(UINT nIDMenu)
{
    return m_map.RemoveKey(nIDMenu);
}

void CQVTMenuBarMDIMenus::RemoveAll()
{
    POSITION pos = m_map.GetStartPosition();
    while (pos)
    {
        UINT nId = 0;
        CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
        m_map.GetNextAssoc(pos, nId, pInfo);
        if (pInfo)
            pInfo->InternalRelease();
    }
    m_map.RemoveAll();
}

void CQVTMenuBarMDIMenus::GetNextAssoc(POSITION& pos, UINT& nIDMenu, CQVTMenuBarMDIMenuInfo*& pInfo) const
{
    m_map.GetNextAssoc(pos, nIDMenu, pInfo);
}

// The menu bar.

BEGIN_MESSAGE_MAP(CQVTMenuBar, CQVTToolBar)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CQVTMenuBar::CQVTMenuBar()
    : m_bMDIFrame(FALSE), m_hWndActiveChild(nullptr), m_hWndSite(nullptr), m_hWndMDIClient(nullptr),
      m_hMenuFrame(nullptr), m_bFrameMenuTaken(FALSE), m_nIDResource(0), m_nIDResourceCurrent(0),
      m_pMDIMenus(new CQVTMenuBarMDIMenus(this)), m_bSwitchedForSave(FALSE)
{
    m_barType = qvtBarTypeMenuBar;
    m_bCloseable = FALSE;
    m_bShowExpandButton = FALSE;
    m_nBarID = kMenuBarId;
    m_dwFlags = kMenuBarFlags;
    EnableAutomation();
}

CQVTMenuBar::~CQVTMenuBar()
{
    QVTHookManager()->RemoveAll(this);
    m_hWndActiveChild = m_hWndSite = m_hWndMDIClient = nullptr;
    if (m_pMDIMenus)
    {
        m_pMDIMenus->RemoveAll();
        m_pMDIMenus->InternalRelease();
    }
    m_pMDIMenus = nullptr;
}

CQVTCommandBar* CQVTMenuBar::Clone(BOOL bRecursive)
{
    CQVTMenuBar* pClone = static_cast<CQVTMenuBar*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTMenuBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    CQVTToolBar::Copy(pCommandBar, bRecursive);
    CQVTMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CQVTMenuBar, pCommandBar);
    if (!pMenuBar || pMenuBar == this)
        return;
    m_nIDResource = pMenuBar->m_nIDResource;
    m_nIDResourceCurrent = pMenuBar->m_nIDResourceCurrent;
    m_pMDIMenus->RemoveAll();
    POSITION pos = pMenuBar->m_pMDIMenus->GetStartPosition();
    while (pos)
    {
        UINT nId = 0;
        CQVTMenuBarMDIMenuInfo* pSource = nullptr;
        pMenuBar->m_pMDIMenus->GetNextAssoc(pos, nId, pSource);
        CQVTMenuBarMDIMenuInfo* pInfo = new CQVTMenuBarMDIMenuInfo(GetCommandBars(), nId);
        pInfo->m_pControls->Copy(pSource->m_pControls, bRecursive);
        pInfo->m_pControls->SetCommandBars(GetCommandBars());
        pInfo->m_bChanged = pSource->m_bChanged;
        m_pMDIMenus->SetAt(nId, pInfo);
    }
}

HWND CQVTMenuBar::GetMDIClient() const
{
    CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, GetSite());
    return pFrame ? pFrame->m_hWndMDIClient : nullptr;
}

HWND CQVTMenuBar::GetActiveMDIChild(BOOL* pbMaximized) const
{
    BOOL bMaximized = FALSE;
    HWND hClient = GetMDIClient();
    HWND hChild = hClient ? reinterpret_cast<HWND>(::SendMessage(hClient, WM_MDIGETACTIVE, 0,
                                                                 reinterpret_cast<LPARAM>(&bMaximized)))
                          : nullptr;
    if (pbMaximized)
        *pbMaximized = hChild ? bMaximized : FALSE;
    return hChild;
}

CQVTMenuBar::CControlMDISysMenuPopup* CQVTMenuBar::GetSysMenuPopup() const
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CControlMDISysMenuPopup* pPopup = DYNAMIC_DOWNCAST(CQVTMenuBarMDISysMenuPopup, GetControl(i));
        if (pPopup)
            return pPopup;
    }
    return nullptr;
}

BOOL CQVTMenuBar::LoadMenuBar(UINT nIDMenu)
{
    if (nIDMenu != 0)
    {
        CMenu menu;
        if (!QVTResourceManager()->LoadMenu(&menu, nIDMenu))
            return FALSE;
        const BOOL bLoaded = LoadMenu(&menu, TRUE);
        menu.DestroyMenu();
        if (!bLoaded)
            return FALSE;
        m_nIDResource = nIDMenu;
        m_nIDResourceCurrent = nIDMenu;
    }
    SetupHook();
    return TRUE;
}

void CQVTMenuBar::SetupHook()
{
    CWnd* pSite = GetSite();
    HWND hSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    if (!hSite)
        return;
    m_bMDIFrame = pSite->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
    if (m_hWndSite != hSite)
    {
        if (m_hWndSite)
            QVTHookManager()->RemoveHook(m_hWndSite, this);
        m_hWndSite = hSite;
        QVTHookManager()->SetHook(hSite, this);
    }
    HWND hClient = GetMDIClient();
    if (m_hWndMDIClient != hClient)
    {
        if (m_hWndMDIClient)
            QVTHookManager()->RemoveHook(m_hWndMDIClient, this);
        m_hWndMDIClient = hClient;
        if (hClient)
            QVTHookManager()->SetHook(hClient, this);
    }

    static const UINT kSysCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    CQVTImageManager* pImageManager = GetImageManager();
    if (pImageManager)
        pImageManager->SetIcons(QVT_IDB_MDI_SYSICONS, kSysCommands, _countof(kSysCommands), CSize(16, 16));

    if (!m_bFrameMenuTaken)
    {
        m_bFrameMenuTaken = TRUE;
        m_hMenuFrame = ::GetMenu(hSite);
        if (m_hMenuFrame)
            ::SetMenu(hSite, nullptr);
        CQVTCommandBars* pCommandBars = GetCommandBars();
        if (pCommandBars)
            pCommandBars->RecalcFrameLayout(FALSE);
    }
    if (m_bMDIFrame)
        SyncActiveMDIChild();
}

void CQVTMenuBar::PostSyncTimer()
{
    if (GetSafeHwnd())
        PostMessage(WM_TIMER, kTimerSyncActiveChild, 0);
}

void CQVTMenuBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kTimerSyncActiveChild)
    {
        SyncActiveMDIChild();
        return;
    }
    CQVTToolBar::OnTimer(nIDEvent);
}

void CQVTMenuBar::SyncActiveMDIChild()
{
    if (!m_bMDIFrame)
        return;
    HWND hChild = GetActiveMDIChild();
    if (hChild != m_hWndActiveChild)
    {
        if (m_hWndActiveChild && ::IsWindow(m_hWndActiveChild))
            QVTHookManager()->RemoveHook(m_hWndActiveChild, this);
        m_hWndActiveChild = hChild;
        if (hChild)
            QVTHookManager()->SetHook(hChild, this);
    }
    if (IsVisible())
        RefreshSysButtons();
}

void CQVTMenuBar::RemoveSysButtons()
{
    for (int i = GetControlCount() - 1; i >= 0; --i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->IsKindOf(RUNTIME_CLASS(CQVTMenuBarMDIButton)) ||
            pControl->IsKindOf(RUNTIME_CLASS(CQVTMenuBarMDISysMenuPopup)))
            m_pControls->Remove(pControl);
    }
}

void CQVTMenuBar::RefreshSysButtons()
{
    if (!m_bMDIFrame)
        return;
    BOOL bMaximized = FALSE;
    HWND hChild = GetActiveMDIChild(&bMaximized);
    const DWORD dwStyle = hChild ? static_cast<DWORD>(::GetWindowLong(hChild, GWL_STYLE)) : 0;
    BOOL bChanged = FALSE;

    // The system-menu popup at the start.
    HMENU hSysMenu = bMaximized && (m_dwFlags & flagAddMDISysPopup) && (dwStyle & WS_SYSMENU)
                         ? ::GetSystemMenu(hChild, FALSE)
                         : nullptr;
    CControlMDISysMenuPopup* pPopup = GetSysMenuPopup();
    if (hSysMenu)
    {
        if (!pPopup)
        {
            pPopup = static_cast<CControlMDISysMenuPopup*>(
                m_pControls->Add(new CControlMDISysMenuPopup(), QVT_ID_MDI_SYSMENU, nullptr, 0, TRUE));
            pPopup->SetMDISysMenu(hChild, hSysMenu);
            bChanged = TRUE;
        }
        else if (pPopup->GetSysMenu() != hSysMenu || pPopup->GetChild() != hChild ||
                 (pPopup->GetCommandBar() && pPopup->GetCommandBar()->GetControlCount() == 0 &&
                  ::GetMenuItemCount(hSysMenu) > 0))
        {
            pPopup->SetMDISysMenu(hChild, hSysMenu);
            bChanged = TRUE;
        }
    }
    else if (pPopup)
    {
        m_pControls->Remove(pPopup);
        bChanged = TRUE;
    }

    // The buttons at the end: minimize, restore, close.
    struct ButtonRule
    {
        int nId;
        DWORD dwBox;  // the style the child needs besides WS_SYSMENU
        DWORD dwHideFlag;
    };
    static const ButtonRule kButtons[] = {
        {QVT_ID_MDI_MINIMIZE, WS_MINIMIZEBOX, flagHideMinimizeBox},
        {QVT_ID_MDI_RESTORE, WS_MAXIMIZEBOX, flagHideMaximizeBox},
        {QVT_ID_MDI_CLOSE, 0, flagHideClose},
    };
    for (const ButtonRule& rule : kButtons)
    {
        const BOOL bWanted = bMaximized && (dwStyle & WS_SYSMENU) && (dwStyle & rule.dwBox) == rule.dwBox &&
                             !(m_dwFlags & rule.dwHideFlag);
        CQVTControl* pButton = nullptr;
        for (int i = 0; i < GetControlCount() && !pButton; ++i)
            if (GetControl(i)->GetID() == rule.nId &&
                GetControl(i)->IsKindOf(RUNTIME_CLASS(CQVTMenuBarMDIButton)))
                pButton = GetControl(i);
        if (bWanted && !pButton)
        {
            CQVTControl* pAdded = m_pControls->Add(new CControlMDIButton(), rule.nId, nullptr, -1, TRUE);
            pAdded->SetCaption(rule.nId == QVT_ID_MDI_CLOSE     ? _T("r")
                               : rule.nId == QVT_ID_MDI_RESTORE ? _T("2")
                                                                : _T("0"));
            bChanged = TRUE;
        }
        else if (!bWanted && pButton)
        {
            m_pControls->Remove(pButton);
            bChanged = TRUE;
        }
    }
    if (bChanged)
    {
        DelayLayout();
        OnRecalcLayout();
        Invalidate(FALSE);
    }
}

CQVTControls* CQVTMenuBar::BuildMenuControls(CMenu* pMenu)
{
    // The bar's menu loading fills a fresh collection put in for the time.
    CQVTControls* pBuilt = new CQVTControls();
    pBuilt->SetCommandBars(GetCommandBars());
    CQVTControls* pShown = m_pControls;
    pShown->InternalAddRef();  // kept over the two swaps
    SetControls(pBuilt);       // the bar takes the new one's reference
    m_pExpandButton = nullptr;
    m_pHideButton = nullptr;
    if (pMenu)
        CQVTToolBar::LoadMenu(pMenu, TRUE);
    pBuilt->InternalAddRef();  // the caller's
    SetControls(pShown);       // releases the bar's reference on the new one
    return pBuilt;
}

void CQVTMenuBar::SwitchMDIMenu(UINT nIDMenu, CMenu* pMenu)
{
    if (nIDMenu == 0 || m_nIDResourceCurrent == 0 || nIDMenu == m_nIDResourceCurrent)
        return;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTMenuBarMDIMenuInfo* pInfo = m_pMDIMenus->Lookup(nIDMenu);
    const BOOL bCustomizable = pCommandBars && pCommandBars->IsCustomizeAvail();
    if (!bCustomizable && !pInfo)
    {
        // Without customization the controls simply follow the menu.
        if (pMenu)
            LoadMenu(pMenu, TRUE);
        m_nIDResourceCurrent = nIDMenu;
        DelayLayout();
        OnRecalcLayout();
        return;
    }
    if (!pMenu && !pInfo)
        return;

    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    // The maximized child's buttons belong to no template: the next
    // refresh brings them back.
    RemoveSysButtons();
    m_pExpandButton = nullptr;
    m_pHideButton = nullptr;

    // The controls shown go under the current menu.
    CQVTMenuBarMDIMenuInfo* pCurrent = m_pMDIMenus->Lookup(m_nIDResourceCurrent);
    if (!pCurrent)
    {
        pCurrent = new CQVTMenuBarMDIMenuInfo(pCommandBars, m_nIDResourceCurrent);
        m_pMDIMenus->SetAt(m_nIDResourceCurrent, pCurrent);
    }
    m_pControls->InternalAddRef();
    if (pCurrent->m_pControls)
        pCurrent->m_pControls->InternalRelease();
    pCurrent->m_pControls = m_pControls;

    // Those of the new menu come in, with a reference for the bar.
    CQVTControls* pControls = nullptr;
    if (pInfo)
    {
        if (!pInfo->m_pControls->GetOriginalControls() && pMenu)
        {
            CQVTControls* pBuilt = BuildMenuControls(pMenu);
            pBuilt->CreateOriginalControls();
            pInfo->m_pControls->SetOriginalControls(
                static_cast<CQVTOriginalControls*>(pBuilt->GetOriginalControls()->Duplicate(TRUE)));
            pBuilt->InternalRelease();
        }
        pControls = pInfo->m_pControls;
        pControls->InternalAddRef();
        if (nIDMenu == m_nIDResource)
        {
            m_pMDIMenus->Detach(nIDMenu);
            pInfo->InternalRelease();
        }
    }
    else
    {
        pControls = BuildMenuControls(pMenu);
        pControls->CreateOriginalControls();
        CQVTMenuBarMDIMenuInfo* pNew = new CQVTMenuBarMDIMenuInfo(pCommandBars, nIDMenu);
        pNew->m_pControls->InternalRelease();
        pNew->m_pControls = pControls;
        pControls->InternalAddRef();
        m_pMDIMenus->SetAt(nIDMenu, pNew);
    }
    // The entry of the menu left keeps its own reference.
    SetControls(pControls);
    m_nIDResourceCurrent = nIDMenu;
    OnControlsChanged();
    DelayLayout();
    OnRecalcLayout();
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CQVTMenuBar::UpdateChangedFlags()
{
    POSITION pos = m_pMDIMenus->GetStartPosition();
    while (pos)
    {
        UINT nId = 0;
        CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
        m_pMDIMenus->GetNextAssoc(pos, nId, pInfo);
        pInfo->m_bChanged = pInfo->m_pControls->GetOriginalControls() && pInfo->m_pControls->IsChanged();
    }
}

BOOL CQVTMenuBar::IsResetAllowed()
{
    if (IsCustomizable())
    {
        UpdateChangedFlags();
        POSITION pos = m_pMDIMenus->GetStartPosition();
        while (pos)
        {
            UINT nId = 0;
            CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
            m_pMDIMenus->GetNextAssoc(pos, nId, pInfo);
            if (pInfo->m_bChanged)
                return TRUE;
        }
    }
    return CQVTToolBar::IsResetAllowed();
}

BOOL CQVTMenuBar::ResetToolBar(BOOL bPrompt)
{
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    if (m_pControls->GetOriginalControls())
    {
        RemoveSysButtons();
        if (!CQVTToolBar::ResetToolBar(bPrompt))
        {
            SyncActiveMDIChild();
            return FALSE;
        }
    }
    else if (m_nIDResource != 0)
    {
        CWnd* pSite = GetSite();
        if (bPrompt)
        {
            CString strFormat;
            if (!QVTResourceManager()->LoadString(&strFormat, QVT_IDS_CONFIRM_RESET))
                strFormat = _T("%s");
            CString strMessage;
            strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
            if (::MessageBox(pSite ? pSite->GetSafeHwnd() : nullptr, strMessage, AfxGetAppName(),
                             MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
                return FALSE;
        }
        CMenu menu;
        if (!QVTResourceManager()->LoadMenu(&menu, m_nIDResource))
            return FALSE;
        LoadMenu(&menu, TRUE);
        menu.DestroyMenu();
        m_nIDResourceCurrent = m_nIDResource;
        if (pSite && pSite->GetSafeHwnd())
            pSite->SendMessage(QVTWM_RESETCOMMANDBAR, reinterpret_cast<WPARAM>(this), 0);
    }
    else
        return FALSE;
    SyncActiveMDIChild();
    OnIdleUpdate(TRUE, 0);
    DelayLayout();
    OnRecalcLayout();
    return TRUE;
}

int CQVTMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    // Without a window the keyboard manager offers a key.
    if (!hWnd)
        return CQVTToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);

    CQVTCommandBars* pCommandBars = GetCommandBars();
    switch (nMessage)
    {
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
        if (hWnd == m_hWndMDIClient)
            PostSyncTimer();
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (hWnd == m_hWndActiveChild)
            PostSyncTimer();
        break;
    case WM_MDISETMENU:
    {
        if (hWnd != m_hWndMDIClient || !IsVisible())
            break;
        if (!IsCustomizeMode() && !(m_dwFlags & flagIgnoreSetMenuMessage) && pCommandBars)
        {
            HMENU hMenu = reinterpret_cast<HMENU>(wParam);
            if (!hMenu)
                hMenu = m_hMenuFrame;
            UINT nIDMenu = pCommandBars->GetActiveDocTemplate();
            if (hMenu && hMenu == m_hMenuFrame)
                nIDMenu = m_nIDResource;
            if (nIDMenu != m_nIDResourceCurrent && hMenu && ::GetMenuItemCount(hMenu) > 0)
                SwitchMDIMenu(nIDMenu, CMenu::FromHandle(hMenu));
        }
        if (pCommandBars)
            pCommandBars->RecalcFrameLayout(FALSE);
        SyncActiveMDIChild();
        lResult = 0;
        return hookHandled;
    }
    case WM_DESTROY:
        if (hWnd == m_hWndSite && m_hMenuFrame && ::IsMenu(m_hMenuFrame) && !::GetMenu(hWnd))
        {
            ::SetMenu(hWnd, m_hMenuFrame);
            m_hMenuFrame = nullptr;
        }
        break;
    case WM_SYSCOMMAND:
        if (hWnd == m_hWndSite && (wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && GetSafeHwnd() &&
            ::IsWindowVisible(m_hWnd) && !CQVTMouseManager::GetThreadManager()->IsInDragLoop() &&
            (::GetKeyState(VK_SHIFT) & 0x8000) == 0 && !IsCustomizeMode())
        {
            // Under Wine the release of an Alt held for a mnemonic comes as
            // WM_KEYUP, which the system still turns into this command: the
            // menus the mnemonic opened stay.
            const BOOL bTracking = CQVTMouseManager::GetThreadManager()->GetTrackCount() > 0;
            if (!bTracking && !OnMnemonicKey(VK_MENU) && pCommandBars)
                pCommandBars->SetFocusedCommandBar(this);
            lResult = 0;
            return hookHandled;
        }
        break;
    default:
        break;
    }
    return hookContinue;
}
