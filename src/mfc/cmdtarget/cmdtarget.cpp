// CCmdTarget: command routing through message maps, command-UI updates,
// reference counting and interface maps.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The root maps have no base.
const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_INTERFACEMAP_ENTRY CCmdTarget::_interfaceEntries[] = {{nullptr, (size_t)-1}};
const AFX_INTERFACEMAP CCmdTarget::interfaceMap = {nullptr, &CCmdTarget::_interfaceEntries[0]};

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap()
{
    return &CCmdTarget::interfaceMap;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const
{
    return &CCmdTarget::interfaceMap;
}

CCmdTarget::CCmdTarget()
    : m_dwRef(1), m_bResultExpected(TRUE), m_pOuterUnknown(nullptr), m_xInnerUnknown(0),
      m_pModuleState(AfxGetModuleState())
{
}

CCmdTarget::~CCmdTarget() {}

// One cursor for the whole screen, so the count is the application's.
void CCmdTarget::BeginWaitCursor()
{
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxDoWaitCursor(0);
}

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry)
    {
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID &&
            nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return nullptr;
}

BOOL AFXAPI AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                              UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != nullptr)
    {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    BOOL bResult = TRUE;
    switch (nSig)
    {
    case AfxSigCmd_v:
        (pTarget->*pfn)();
        break;
    case AfxSigCmd_b:
        bResult = (pTarget->*AfxMsgPtrCast<BOOL (CCmdTarget::*)()>(pfn))();
        break;
    case AfxSigCmd_RANGE:
        (pTarget->*AfxMsgPtrCast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        break;
    case AfxSigCmd_EX:
        bResult = (pTarget->*AfxMsgPtrCast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
        break;
    case AfxSigCmdUI:
    {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        (pTarget->*AfxMsgPtrCast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        // A handler that calls ContinueRouting lets later targets decide.
        bResult = !pCmdUI->m_bContinueRouting;
        pCmdUI->m_bContinueRouting = FALSE;
        break;
    }
    case AfxSigNotify_v:
    {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        (pTarget->*AfxMsgPtrCast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR,
                                                                               pNotify->pResult);
        break;
    }
    case AfxSigNotify_b:
    {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        bResult = (pTarget->*AfxMsgPtrCast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR,
                                                                                         pNotify->pResult);
        break;
    }
    case AfxSigNotify_RANGE:
    {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        (pTarget->*AfxMsgPtrCast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR,
                                                                                     pNotify->pResult);
        break;
    }
    case AfxSigNotify_EX:
    {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        bResult = (pTarget->*AfxMsgPtrCast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    default:
        bResult = FALSE;
        break;
    }
    return bResult;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notifications arrive as MAKELONG(code, message); commands and updates
    // as their plain code.
    UINT nMsg = 0;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI)
    {
        nMsg = HIWORD(nCode);
        nCode = LOWORD(nCode);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        const AFX_MSGMAP_ENTRY* lpEntry = AfxFindMessageEntry(pMap->lpEntries, nMsg, (UINT)nCode, nID);
        if (lpEntry != nullptr)
            return AfxDispatchCmdMsg(this, nID, nCode, lpEntry->pfn, pExtra, lpEntry->nSig, pHandlerInfo);
    }
    return FALSE;
}

// Reference counting. Objects start with one reference, as the creator's.
DWORD CCmdTarget::InternalAddRef()
{
    return (DWORD)InterlockedIncrement(&m_dwRef);
}

DWORD CCmdTarget::InternalRelease()
{
    if (m_dwRef == 0)
        return 0;
    LONG lResult = InterlockedDecrement(&m_dwRef);
    if (lResult == 0)
        OnFinalRelease();
    return (DWORD)lResult;
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

DWORD CCmdTarget::ExternalAddRef()
{
    if (m_pOuterUnknown != nullptr)
        return m_pOuterUnknown->AddRef();
    return InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease()
{
    if (m_pOuterUnknown != nullptr)
        return m_pOuterUnknown->Release();
    return InternalRelease();
}

DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (m_pOuterUnknown != nullptr)
        return m_pOuterUnknown->QueryInterface(*static_cast<const IID*>(iid), ppvObj);
    return InternalQueryInterface(iid, ppvObj);
}

DWORD CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (ppvObj == nullptr)
        return (DWORD)E_POINTER;
    LPUNKNOWN lpUnk = GetInterface(iid);
    if (lpUnk != nullptr)
    {
        lpUnk->AddRef();
        *ppvObj = lpUnk;
        return S_OK;
    }
    *ppvObj = nullptr;
    return (DWORD)E_NOINTERFACE;
}

LPUNKNOWN CCmdTarget::GetInterfaceHook(const void*)
{
    return nullptr;
}

BOOL CCmdTarget::OnCreateAggregates()
{
    return TRUE;
}

void CCmdTarget::EnableAggregation() {}

LPUNKNOWN CCmdTarget::GetControllingUnknown()
{
    if (m_pOuterUnknown != nullptr)
        return m_pOuterUnknown;
    return GetInterface(&IID_IUnknown);
}

LPUNKNOWN CCmdTarget::GetInterface(const void* iid)
{
    LPUNKNOWN lpUnk = GetInterfaceHook(iid);
    if (lpUnk != nullptr)
        return lpUnk;

    const IID& riid = *static_cast<const IID*>(iid);
    BYTE* pThis = reinterpret_cast<BYTE*>(this);
    const bool bUnknown = IsEqualIID(riid, IID_IUnknown);
    for (const AFX_INTERFACEMAP* pMap = GetInterfaceMap(); pMap != nullptr;
         pMap = pMap->pfnGetInterfaceMap != nullptr ? pMap->pfnGetInterfaceMap() : nullptr)
    {
        for (const AFX_INTERFACEMAP_ENTRY* pEntry = pMap->pEntry; pEntry->nOffset != (size_t)-1; ++pEntry)
        {
            if (pEntry->piid == nullptr)
                continue;
            // Any interface of the object answers for IUnknown: the first
            // one of the most derived map is its identity.
            if (bUnknown || IsEqualIID(riid, *static_cast<const IID*>(pEntry->piid)))
                return reinterpret_cast<LPUNKNOWN>(pThis + pEntry->nOffset);
        }
    }
    if (m_xDispatch.m_bEnabled && (bUnknown || IsEqualIID(riid, IID_IDispatch)))
        return &m_xDispatch;
    return nullptr;
}

// Command UI.
CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pOther(nullptr),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0), m_pParentMenu(nullptr)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != nullptr)
    {
        if (m_pSubMenu != nullptr)
            return;  // popups are not enabled through their items
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex,
                         MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    else if (m_pOther != nullptr)
    {
        HWND hWnd = m_pOther->m_hWnd;
        // Keep the focus out of a control being disabled.
        if (!bOn && ::GetFocus() == hWnd)
        {
            HWND hParent = ::GetParent(hWnd);
            if (hParent != nullptr)
                ::SendMessage(hParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != nullptr)
    {
        if (m_pSubMenu != nullptr)
            return;
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther != nullptr)
    {
        HWND hWnd = m_pOther->m_hWnd;
        if (::SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessage(hWnd, BM_SETCHECK, nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu != nullptr && m_pSubMenu == nullptr)
    {
        if (bOn)
            ::CheckMenuRadioItem(m_pMenu->m_hMenu, m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        else
            ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_UNCHECKED);
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (lpszText == nullptr)
        lpszText = _T("");
    if (m_pMenu != nullptr)
    {
        if (m_pSubMenu != nullptr)
            return;
        HMENU hMenu = m_pMenu->m_hMenu;
        UINT nState =
            ::GetMenuState(hMenu, m_nIndex, MF_BYPOSITION) & ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR);
        ::ModifyMenu(hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    }
    else if (m_pOther != nullptr)
    {
        AfxSetWindowText(m_pOther->m_hWnd, lpszText);
    }
}

void CCmdUI::ContinueRouting()
{
    m_bContinueRouting = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and static controls have no command
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}
