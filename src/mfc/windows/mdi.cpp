// CMDIFrameWnd and CMDIChildWnd: the frame's client is the system's MDI
// client window; children are made by it (WM_MDICREATE), take the system's
// MDI default processing, and put their template's menu on the frame while
// they are active.
#include <afxwin.h>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// The frame.

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

CMDIFrameWnd::~CMDIFrameWnd() {}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    CMenu* pMenu = nullptr;
    HMENU hMenu = ::GetMenu(m_hWnd);
    HMENU hWindowMenu = hMenu ? GetWindowMenuPopup(hMenu) : nullptr;
    if (hWindowMenu)
        pMenu = CMenu::FromHandle(hWindowMenu);
    return CreateClient(lpcs, pMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (lpCreateStruct && (lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL)))
        dwStyle |= lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL);
    m_hWndMDIClient = ::CreateWindowEx(
        WS_EX_CLIENTEDGE, _T("MDICLIENT"), nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    // The popup holding the frame's "new window" command, as MFC's menus
    // have it; else none (the children are not listed in a menu).
    const int nCount = ::GetMenuItemCount(hMenuBar);
    for (int i = nCount - 1; i >= 0; --i)
    {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        if (!hPopup)
            continue;
        const int nItems = ::GetMenuItemCount(hPopup);
        for (int j = 0; j < nItems; ++j)
        {
            const UINT nId = ::GetMenuItemID(hPopup, j);
            if (nId >= 0xE130 && nId <= 0xE13F)  // ID_WINDOW_NEW .. ID_WINDOW_SPLIT
                return hPopup;
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (pbMaximized)
        *pbMaximized = FALSE;
    if (!m_hWndMDIClient)
        return nullptr;
    BOOL bMaximized = FALSE;
    HWND hActive = reinterpret_cast<HWND>(
        ::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
    CMDIChildWnd* pActive = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hActive));
    if (pActive && pbMaximized)
        *pbMaximized = bMaximized;
    return pActive;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    HMENU hOld = reinterpret_cast<HMENU>(
        ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu->GetSafeHmenu()),
                      reinterpret_cast<LPARAM>(pWindowMenu->GetSafeHmenu())));
    ::DrawMenuBar(m_hWnd);
    return CMenu::FromHandle(hOld);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? pActive->GetActiveDocument() : nullptr;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive)
    {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    if (!hMenuAlt)
        hMenuAlt = m_hMenuDefault;
    ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt), 0);
}

void CMDIFrameWnd::OnDestroy()
{
    // Wine's MDI client frees its list of children when it is destroyed,
    // before the children are, and their own destruction then walks the freed
    // list to refresh the window menu: the children go while the client lives.
    if (m_hWndMDIClient)
    {
        while (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD))
        {
            ::SendMessage(m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hChild), 0);
            if (::IsWindow(hChild))
                break;
        }
    }
    CFrameWnd::OnDestroy();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child (and its view and document) first.
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        CMDIChildWnd* pActive = MDIGetActive();
        if (pActive && pActive->m_hAccelTable && ::TranslateAccelerator(m_hWnd, pActive->m_hAccelTable, pMsg))
            return TRUE;
        if (pActive && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProc(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// The child.

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_MDIACTIVATE, &CMDIChildWnd::OnMDIActivateMessage)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr), m_hAccelTable(nullptr) {}

CMDIChildWnd::~CMDIChildWnd() {}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
    {
        AfxEndDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
        cs.lpszClass = _afxWndFrameOrView;
    }
    cs.style &= ~WS_POPUP;
    cs.style |= WS_CHILD;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.style = dwStyle | WS_CHILD;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->GetSafeHwnd();
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCT mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(cs.lpCreateParams);

    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();  // the window was not attached: nothing owns the object
    if (!hWnd)
        return FALSE;
    if (cs.style & WS_VISIBLE)
    {
        ::BringWindowToTop(hWnd);
        if (cs.style & WS_MINIMIZE)
            ShowWindow(SW_SHOWMINIMIZED);
        else if (cs.style & WS_MAXIMIZE)
            ShowWindow(SW_SHOWMAXIMIZED);
        else
            ShowWindow(SW_SHOWNORMAL);
        pParentWnd->MDIActivate(this);
        ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CMultiDocTemplate* pTemplate =
        pContext ? dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr;
    if (pTemplate)
    {
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }
    CString strTitle;
    if (strTitle.LoadString(nIDResource))
    {
        const int nNewLine = strTitle.Find(_T('\n'));
        m_strTitle = nNewLine >= 0 ? strTitle.Left(nNewLine) : strTitle;
    }
    LPCTSTR lpszClass = nullptr;
    HINSTANCE hIconInst = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON);
    if (::FindResource(hIconInst, MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON))
        lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                        ::LoadIcon(hIconInst, MAKEINTRESOURCE(nIDResource)));
    CMDIFrameWnd* pFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd);
    return Create(lpszClass, m_strTitle, (dwDefaultStyle & ~WS_VISIBLE) | WS_CHILD, rectDefault, pFrame,
                  pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // A child made by the MDI client gets its creation context through the
    // MDI creation record.
    MDICREATESTRUCT* pMdi = static_cast<MDICREATESTRUCT*>(lpCreateStruct->lpCreateParams);
    CCreateContext* pContext = pMdi ? reinterpret_cast<CCreateContext*>(pMdi->lParam) : nullptr;
    return OnCreateHelper(lpCreateStruct, pContext);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!GetSafeHwnd())
        return FALSE;
    if (::GetParent(m_hWnd))
    {
        MDIDestroy();
        return TRUE;
    }
    return CFrameWnd::DestroyWindow();
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    if (!IsWindowVisible() || nCmdShow != SW_SHOW)
        ShowWindow(nCmdShow);
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame)
        pFrame->MDIActivate(this);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hClient = ::GetParent(m_hWnd);
    return hClient ? dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(hClient))) : nullptr;
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessage(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam)
{
    Default();
    const BOOL bActivate = reinterpret_cast<HWND>(lParam) == m_hWnd;
    OnMDIActivate(bActivate, CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
                  CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
    return 0;
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    CView* pView = GetActiveView();
    if (pView)
        pView->OnActivateView(bActivate, pView, pView);
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame)
        ::DrawMenuBar(pFrame->GetSafeHwnd());
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return;
    if (!hMenuAlt)
        hMenuAlt = m_hMenuShared;
    if (hMenuAlt && bActivate)
        ::SendMessage(pFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt),
                      reinterpret_cast<LPARAM>(pFrame->GetWindowMenuPopup(hMenuAlt)));
    else if (!bActivate && !pActivateWnd)
        ::SendMessage(pFrame->m_hWndMDIClient, WM_MDISETMENU,
                      reinterpret_cast<WPARAM>(pFrame->m_hMenuDefault), 0);
    else
        ::SendMessage(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
}
