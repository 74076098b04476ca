// CWnd: handle maps, creation hooking, the window procedure and message
// dispatch, reflection and the wrappers that need more than one call.
#include <afxwin.h>
#include <afxcmn.h>

#include <unordered_map>
#include <vector>

// Permanent entries belong to objects that attached a handle; temporary
// ones are made by FromHandle and deleted when the thread is idle.
class CHandleMapW
{
public:
    std::unordered_map<HWND, CWnd*> m_permanent;
    std::unordered_map<HWND, CWnd*> m_temporary;

    void DeleteTemp()
    {
        // Deleting a temporary must never destroy its window.
        std::unordered_map<HWND, CWnd*> temps;
        temps.swap(m_temporary);
        for (auto& entry : temps)
        {
            entry.second->m_hWnd = nullptr;
            delete entry.second;
        }
    }
};

_AFX_THREAD_STATE::_AFX_THREAD_STATE() {}

_AFX_THREAD_STATE::~_AFX_THREAD_STATE()
{
    if (m_pmapHWND != nullptr)
    {
        m_pmapHWND->DeleteTemp();
        delete m_pmapHWND;
    }
    if (m_hHookOldCbtFilter != nullptr)
        ::UnhookWindowsHookEx(m_hHookOldCbtFilter);
}

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
    static CThreadLocal<_AFX_THREAD_STATE> threadState;
    return threadState.GetData();
}

static CHandleMapW* AfxMapHWND()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pmapHWND == nullptr)
        pState->m_pmapHWND = new CHandleMapW;
    return pState->m_pmapHWND;
}

void AFXAPI AfxLockTempMaps()
{
    ++AfxGetThreadState()->m_nTempMapLock;
}

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock > 0 && --pState->m_nTempMapLock == 0)
    {
        if (bDeleteTemps)
        {
            CWnd::DeleteTempMap();
            CDC::DeleteTempMap();
            CGdiObject::DeleteTempMap();
            CMenu::DeleteTempMap();
            CImageList::DeleteTempMap();
        }
        return TRUE;
    }
    return pState->m_nTempMapLock == 0;
}

// A command-UI that only records whether the command is enabled; used to
// drop menu and accelerator commands that became disabled.
class CTestCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const TCHAR _afxWnd[] = _T("AfxWnd");
const TCHAR _afxWndFrameOrView[] = _T("AfxFrameOrView");

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_DELETEITEM()
    ON_WM_COMPAREITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0) {}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0)
{
}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    // An object going away with its window still alive takes the window
    // with it, so no message reaches a dead object.
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

// Handle maps.
CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    CHandleMapW* pMap = AfxMapHWND();
    auto it = pMap->m_permanent.find(hWnd);
    if (it != pMap->m_permanent.end())
        return it->second;
    it = pMap->m_temporary.find(hWnd);
    if (it != pMap->m_temporary.end())
        return it->second;
    CWnd* pTemp = new CWnd;
    pTemp->m_hWnd = hWnd;
    pMap->m_temporary[hWnd] = pTemp;
    return pTemp;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    CHandleMapW* pMap = AfxMapHWND();
    auto it = pMap->m_permanent.find(hWnd);
    return it != pMap->m_permanent.end() ? it->second : nullptr;
}

void CWnd::DeleteTempMap()
{
    AfxMapHWND()->DeleteTemp();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr)
        return FALSE;
    CHandleMapW* pMap = AfxMapHWND();
    auto it = pMap->m_permanent.find(hWndNew);
    if (it != pMap->m_permanent.end() && it->second != this)
        return FALSE;  // one window, one object
    pMap->m_permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
    {
        CHandleMapW* pMap = AfxMapHWND();
        auto it = pMap->m_permanent.find(hWnd);
        if (it != pMap->m_permanent.end() && it->second == this)
            pMap->m_permanent.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

WNDPROC AFXAPI AfxGetAfxWndProc()
{
    return &AfxWndProc;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxGetAfxWndProc());
    if (oldWndProc != AfxGetAfxWndProc() && *lplpfn == nullptr)
        *lplpfn = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (m_hWnd != nullptr && *lplpfn != nullptr)
        ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*lplpfn);
    *lplpfn = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

// Creation hook: the window a CWnd is creating is attached and subclassed
// when the system announces it, before any message reaches it.
LRESULT CALLBACK _AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (code == HCBT_CREATEWND && pThreadState->m_pWndInit != nullptr)
    {
        HWND hWnd = (HWND)wParam;
        TCHAR szClass[16] = {};
        ::GetClassName(hWnd, szClass, _countof(szClass));
        // The input-method window of a thread may be made along with the
        // first window; it is not ours.
        if (lstrcmpi(szClass, _T("IME")) != 0)
        {
            CWnd* pWndInit = pThreadState->m_pWndInit;
            pThreadState->m_pWndInit = nullptr;
            try
            {
                if (pWndInit->Attach(hWnd))
                {
                    pWndInit->PreSubclassWindow();
                    WNDPROC* pOldWndProc = pWndInit->GetSuperWndProcAddr();
                    WNDPROC oldWndProc =
                        (WNDPROC)::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxGetAfxWndProc());
                    if (oldWndProc != AfxGetAfxWndProc())
                        *pOldWndProc = oldWndProc;
                }
            }
            catch (CException* e)
            {
                MSG msg = {hWnd, WM_CREATE, 0, 0};
                AfxProcessWndProcException(e, &msg);
                e->Delete();
            }
            catch (const std::exception& e)
            {
                AfxReportStdException(e.what(), nullptr);
            }
            catch (...)
            {
                AfxReportStdException("unknown exception", nullptr);
            }
            // The window is ours: the hook goes now rather than after the
            // creation, so the windows made meanwhile (a dialog's controls)
            // do not pass through it. A window made inside hooks again.
            HHOOK hHook = pThreadState->m_hHookOldCbtFilter;
            pThreadState->m_hHookOldCbtFilter = nullptr;
            const LRESULT lResult = ::CallNextHookEx(hHook, code, wParam, lParam);
            if (hHook)
                ::UnhookWindowsHookEx(hHook);
            return lResult;
        }
    }
    return ::CallNextHookEx(pThreadState->m_hHookOldCbtFilter, code, wParam, lParam);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (pThreadState->m_pWndInit == pWnd)
        return;
    if (pThreadState->m_hHookOldCbtFilter == nullptr)
    {
        pThreadState->m_hHookOldCbtFilter =
            ::SetWindowsHookEx(WH_CBT, _AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    }
    pThreadState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (pThreadState->m_hHookOldCbtFilter != nullptr)
    {
        ::UnhookWindowsHookEx(pThreadState->m_hHookOldCbtFilter);
        pThreadState->m_hHookOldCbtFilter = nullptr;
    }
    if (pThreadState->m_pWndInit != nullptr)
    {
        pThreadState->m_pWndInit = nullptr;
        return FALSE;  // the hook never saw the window
    }
    return TRUE;
}

// Exceptions at the window-procedure boundary.
static LRESULT DefaultExceptionResult(const MSG* pMsg)
{
    if (pMsg == nullptr)
        return 0;
    if (pMsg->message == WM_CREATE)
        return -1;  // creation fails
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr);  // or it repaints forever
    return 0;
}

LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr)
        return pThread->ProcessWndProcException(e, pMsg);
    TCHAR szMessage[512] = {};
    if (e->GetErrorMessage(szMessage, _countof(szMessage)))
        ::OutputDebugString(szMessage);
    return DefaultExceptionResult(pMsg);
}

void AFXAPI AfxReportStdException(const char* what, const MSG* pMsg)
{
    char szLine[512];
    snprintf(szLine, sizeof(szLine), "Unhandled C++ exception in message 0x%04X: %s\n",
             pMsg != nullptr ? pMsg->message : 0, what != nullptr ? what : "");
    ::OutputDebugStringA(szLine);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    MSG oldState = pThreadState->m_lastSentMsg;
    pThreadState->m_lastSentMsg.hwnd = hWnd;
    pThreadState->m_lastSentMsg.message = nMsg;
    pThreadState->m_lastSentMsg.wParam = wParam;
    pThreadState->m_lastSentMsg.lParam = lParam;
    MSG current = pThreadState->m_lastSentMsg;

    LRESULT lResult = 0;
    try
    {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
    catch (CException* e)
    {
        lResult = AfxProcessWndProcException(e, &current);
        e->Delete();
    }
    catch (const std::exception& e)
    {
        AfxReportStdException(e.what(), &current);
        lResult = DefaultExceptionResult(&current);
    }
    catch (...)
    {
        AfxReportStdException("unknown exception", &current);
        lResult = DefaultExceptionResult(&current);
    }

    // A window that went away without the framework's WM_NCDESTROY
    // handling must not stay in the map.
    if (nMsg == WM_NCDESTROY)
    {
        CWnd* pStill = CWnd::FromHandlePermanent(hWnd);
        if (pStill != nullptr)
            pStill->Detach();
    }
    pThreadState->m_lastSentMsg = oldState;
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = nullptr;
    try
    {
        pWnd = CWnd::FromHandlePermanent(hWnd);
    }
    catch (...)
    {
    }
    if (pWnd == nullptr || pWnd->m_hWnd != hWnd)
        return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}

// Creation.
BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
    {
        AfxEndDeferRegisterClass(AFX_WND_REG);
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx,
                                 cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();  // the window never became ours
    if (hWnd == nullptr)
    {
        // Creation failed after the hook attached us (OnCreate returned -1):
        // WM_NCDESTROY already detached.
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    CWnd* pPermanent = FromHandlePermanent(m_hWnd);
    BOOL bResult = ::DestroyWindow(m_hWnd);
    // A permanent object was detached by OnNcDestroy (and may be gone).
    if (pPermanent == nullptr)
        Detach();
    return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::OnFinalRelease()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
    else
        PostNcDestroy();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == 0)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

BOOL CWnd::IsFrameWnd() const
{
    return FALSE;
}

// Message handling.
LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnWndProc = *GetSuperWndProcAddr();
    if (pfnWndProc == nullptr)
        return ::DefWindowProc(m_hWnd, nMsg, wParam, lParam);
    return ::CallWindowProc(pfnWndProc, m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

static CPoint PointFromLParam(LPARAM lParam)
{
    return CPoint((int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;

    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
        if (pResult != nullptr)
            *pResult = lResult;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult != nullptr)
            *pResult = lResult;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* lpEntry = FindMessageEntry(message);
    if (lpEntry == nullptr)
    {
        // The WM_CTLCOLORxxx family goes to the one WM_CTLCOLOR handler.
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        {
            AFX_CTLCOLOR ctl;
            ctl.hDC = (HDC)wParam;
            ctl.hWnd = (HWND)lParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            return OnWndMsg(WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult);
        }
        return FALSE;
    }
    if (!CallMessageHandler(lpEntry, message, wParam, lParam, lResult))
        return FALSE;
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

// The handler along the message maps; registered messages by the id in
// their variable.
const AFX_MSGMAP_ENTRY* CWnd::FindMessageEntry(UINT message)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        if (message < 0xC000 || message > 0xFFFF)
        {
            if (const AFX_MSGMAP_ENTRY* lpEntry = AfxFindMessageEntry(pMap->lpEntries, message, 0, 0))
                return lpEntry;
            continue;
        }
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e)
            if (e->nMessage == 0xC000 && e->nSig > 0xFFFF &&
                *reinterpret_cast<const UINT*>(e->nSig) == message)
                return e;
    }
    return nullptr;
}

// One case per handler signature, each unpacking the message's arguments
// for it: a table, long because the signatures are many. FALSE for a
// signature it does not know.
BOOL CWnd::CallMessageHandler(const AFX_MSGMAP_ENTRY* lpEntry, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& lResult)
{
    AFX_PMSG pfn = lpEntry->pfn;
    UINT_PTR nSig = lpEntry->nSig > 0xFFFF ? (UINT_PTR)AfxSig_lwl : lpEntry->nSig;
#define AFX_CALL(T) (this->*AfxMsgPtrCast<T>(pfn))
    switch (nSig)
    {
    case AfxSig_lwl:
        lResult = AFX_CALL(LRESULT(CWnd::*)(WPARAM, LPARAM))(wParam, lParam);
        break;
    case AfxSig_vv:
        AFX_CALL(void(CWnd::*)())();
        break;
    case AfxSig_bv:
        lResult = AFX_CALL(BOOL(CWnd::*)())();
        break;
    case AfxSig_lv:
        lResult = AFX_CALL(LRESULT(CWnd::*)())();
        break;
    case AfxSig_wv:
        lResult = AFX_CALL(UINT(CWnd::*)())();
        break;
    case AfxSig_hv:
        lResult = (LRESULT)AFX_CALL(HCURSOR(CWnd::*)())();
        break;
    case AfxSig_is:
        lResult = AFX_CALL(int(CWnd::*)(LPCREATESTRUCT))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_bs:
        lResult = AFX_CALL(BOOL(CWnd::*)(LPCREATESTRUCT))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_bD:
        lResult = AFX_CALL(BOOL(CWnd::*)(CDC*))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_vwii:
        AFX_CALL(void(CWnd::*)(UINT, int, int))
        ((UINT)wParam, (int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
        break;
    case AfxSig_vii:
        AFX_CALL(void(CWnd::*)(int, int))((int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
        break;
    case AfxSig_vt:
        AFX_CALL(void(CWnd::*)(UINT_PTR))((UINT_PTR)wParam);
        break;
    case AfxSig_vwp:
        AFX_CALL(void(CWnd::*)(UINT, CPoint))((UINT)wParam, PointFromLParam(lParam));
        break;
    case AfxSig_bwsp:
        lResult = AFX_CALL(BOOL(CWnd::*)(UINT, short, CPoint))(LOWORD(wParam), (short)HIWORD(wParam),
                                                               PointFromLParam(lParam));
        break;
    case AfxSig_bWww:
        lResult = AFX_CALL(BOOL(CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                             HIWORD(lParam));
        break;
    case AfxSig_iWww:
        lResult = AFX_CALL(int(CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                            HIWORD(lParam));
        break;
    case AfxSig_vwww:
        AFX_CALL(void(CWnd::*)(UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwl:
        AFX_CALL(void(CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam);
        break;
    case AfxSig_lp:
        lResult = AFX_CALL(LRESULT(CWnd::*)(CPoint))(PointFromLParam(lParam));
        break;
    case AfxSig_vbNCCALC:
        AFX_CALL(void(CWnd::*)(BOOL, NCCALCSIZE_PARAMS*))
        ((BOOL)wParam, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    case AfxSig_bb:
        lResult = AFX_CALL(BOOL(CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_vwWb:
        AFX_CALL(void(CWnd::*)(UINT, CWnd*, BOOL))
        (LOWORD(wParam), CWnd::FromHandle((HWND)lParam), (BOOL)HIWORD(wParam));
        break;
    case AfxSig_vbh:
        AFX_CALL(void(CWnd::*)(BOOL, DWORD))((BOOL)wParam, (DWORD)lParam);
        break;
    case AfxSig_vW:
        AFX_CALL(void(CWnd::*)(CWnd*))
        (CWnd::FromHandle((HWND)(message == WM_CAPTURECHANGED ? lParam : (LPARAM)wParam)));
        break;
    case AfxSig_hDWw:
    {
        AFX_CTLCOLOR* pCtl = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
        lResult = (LRESULT)AFX_CALL(HBRUSH(CWnd::*)(CDC*, CWnd*, UINT))(
            CDC::FromHandle(pCtl->hDC), CWnd::FromHandle(pCtl->hWnd), pCtl->nCtlType);
        break;
    }
    case AfxSig_hDw:
    {
        AFX_CTLCOLOR* pCtl = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
        lResult = (LRESULT)AFX_CALL(HBRUSH(CWnd::*)(CDC*, UINT))(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
        break;
    }
    case AfxSig_viDRAW:
        AFX_CALL(void(CWnd::*)(int, LPDRAWITEMSTRUCT))
        ((int)wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_viMEASURE:
        AFX_CALL(void(CWnd::*)(int, LPMEASUREITEMSTRUCT))
        ((int)wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_viDELETE:
        AFX_CALL(void(CWnd::*)(int, LPDELETEITEMSTRUCT))
        ((int)wParam, reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_iiCOMPARE:
        lResult = AFX_CALL(int(CWnd::*)(int, LPCOMPAREITEMSTRUCT))(
            (int)wParam, reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case AfxSig_vDRAW:
        AFX_CALL(void(CWnd::*)(LPDRAWITEMSTRUCT))(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_vMEASURE:
        AFX_CALL(void(CWnd::*)(LPMEASUREITEMSTRUCT))(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_vDELETE:
        AFX_CALL(void(CWnd::*)(LPDELETEITEMSTRUCT))(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_iCOMPARE:
        lResult = AFX_CALL(int(CWnd::*)(LPCOMPAREITEMSTRUCT))(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case AfxSig_vwwx:
    {
        // The scroll bar is a control only when lParam names one.
        CWnd* pBar = lParam != 0 ? CWnd::FromHandle((HWND)lParam) : nullptr;
        AFX_CALL(void(CWnd::*)(UINT, UINT, CScrollBar*))
        (LOWORD(wParam), (UINT)(short)HIWORD(wParam), reinterpret_cast<CScrollBar*>(pBar));
        break;
    }
    case AfxSig_vww:
        if (message == WM_HSCROLL + WM_REFLECT_BASE || message == WM_VSCROLL + WM_REFLECT_BASE ||
            message == WM_UPDATEUISTATE || message == WM_CHANGEUISTATE)
            AFX_CALL(void(CWnd::*)(UINT, UINT))(LOWORD(wParam), (UINT)(short)HIWORD(wParam));
        else
            AFX_CALL(void(CWnd::*)(UINT, UINT))((UINT)wParam, (UINT)lParam);
        break;
    case AfxSig_vMMI:
        AFX_CALL(void(CWnd::*)(MINMAXINFO*))(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case AfxSig_vPOS:
        AFX_CALL(void(CWnd::*)(WINDOWPOS*))(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case AfxSig_vbw:
        AFX_CALL(void(CWnd::*)(BOOL, UINT))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vwSz:
        AFX_CALL(void(CWnd::*)(UINT, LPCTSTR))((UINT)wParam, reinterpret_cast<LPCTSTR>(lParam));
        break;
    case AfxSig_vWp:
        AFX_CALL(void(CWnd::*)(CWnd*, CPoint))(CWnd::FromHandle((HWND)wParam), PointFromLParam(lParam));
        break;
    case AfxSig_vMwb:
        AFX_CALL(void(CWnd::*)(CMenu*, UINT, BOOL))
        (CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam));
        break;
    case AfxSig_vM:
        AFX_CALL(void(CWnd::*)(CMenu*))(CMenu::FromHandle((HMENU)wParam));
        break;
    case AfxSig_vMw:
        AFX_CALL(void(CWnd::*)(CMenu*, UINT))(CMenu::FromHandle((HMENU)wParam), (UINT)lParam);
        break;
    case AfxSig_lwwM:
        lResult = AFX_CALL(LRESULT(CWnd::*)(UINT, UINT, CMenu*))(LOWORD(wParam), HIWORD(wParam),
                                                                 CMenu::FromHandle((HMENU)lParam));
        break;
    case AfxSig_vwwh:
        AFX_CALL(void(CWnd::*)(UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case AfxSig_vwW:
        AFX_CALL(void(CWnd::*)(UINT, CWnd*))((UINT)wParam, CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_vb:
        AFX_CALL(void(CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_viSS:
        AFX_CALL(void(CWnd::*)(int, LPSTYLESTRUCT))((int)wParam, reinterpret_cast<LPSTYLESTRUCT>(lParam));
        break;
    case AfxSig_vHDROP:
        AFX_CALL(void(CWnd::*)(HDROP))((HDROP)wParam);
        break;
    case AfxSig_bWCDS:
        lResult = AFX_CALL(BOOL(CWnd::*)(CWnd*, COPYDATASTRUCT*))(CWnd::FromHandle((HWND)wParam),
                                                                  reinterpret_cast<COPYDATASTRUCT*>(lParam));
        break;
    case AfxSig_bHELPINFO:
        lResult = AFX_CALL(BOOL(CWnd::*)(HELPINFO*))(reinterpret_cast<HELPINFO*>(lParam));
        break;
    case AfxSig_vwRECT:
        AFX_CALL(void(CWnd::*)(UINT, LPRECT))((UINT)wParam, reinterpret_cast<LPRECT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_bwl:
        lResult = AFX_CALL(BOOL(CWnd::*)(UINT, DWORD_PTR))((UINT)wParam, (DWORD_PTR)lParam);
        break;
    case AfxSig_wwl:
        lResult = AFX_CALL(UINT(CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam);
        break;
    case AfxSig_lDw:
        lResult = AFX_CALL(LRESULT(CWnd::*)(CDC*, UINT))(CDC::FromHandle((HDC)wParam), (UINT)lParam);
        break;
    case AfxSig_vwM:
        AFX_CALL(void(CWnd::*)(UINT, CMenu*))((UINT)wParam, CMenu::FromHandle((HMENU)lParam));
        break;
    case AfxSig_vwwp:
        AFX_CALL(void(CWnd::*)(UINT, UINT, CPoint))(LOWORD(wParam), HIWORD(wParam), PointFromLParam(lParam));
        lResult = TRUE;
        break;
    default:
        return FALSE;
    }
#undef AFX_CALL
    return TRUE;
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr)
    {
        // Menus and accelerators: a command that became disabled is dropped.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    else
    {
        // Notifications sent while UpdateData writes the controls are not
        // the user's doing.
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;  // the control handled its own notification
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)pNMHDR->idFrom;
    int nCode = (int)pNMHDR->code;
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, (int)MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
    {
        int nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, (int)MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
        {
            if (pResult != nullptr)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY:
    {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify;
        LRESULT lDummy = 0;
        notify.pResult = pResult != nullptr ? pResult : &lDummy;
        notify.pNMHDR = pNMHDR;
        return CWnd::OnCmdMsg(0, (int)MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify,
                              nullptr);
    }
    default:
        break;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        AFX_CTLCOLOR ctl;
        ctl.hDC = (HDC)wParam;
        ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
        ctl.hWnd = m_hWnd;
        LRESULT lResult = 0;
        // Only a brush counts as handled: null lets the parent decide.
        if (CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, &lResult) && lResult != 0)
        {
            if (pResult != nullptr)
                *pResult = lResult;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

// Handlers with more to do than pass the message on.
void CWnd::OnNcDestroy()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr)
    {
        if (pThread->m_pMainWnd == this)
        {
            AfxPostQuitMessage(0);
            pThread->m_pMainWnd = nullptr;
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = nullptr;
    }
    // Let the class see the message, then give the window its procedure
    // back and leave the map.
    WNDPROC pfnWndProc = (WNDPROC)::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC);
    Default();
    if ((WNDPROC)::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC) == pfnWndProc)
    {
        WNDPROC pfnSuper = *GetSuperWndProcAddr();
        if (pfnSuper != nullptr)
            ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    }
    Detach();
    PostNcDestroy();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd != nullptr && pWnd->SendChildNotifyLastMsg(&lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

LRESULT CWnd::OnNTCtlColor(WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = GetCurrentMessage();
    AFX_CTLCOLOR ctl;
    ctl.hDC = (HDC)wParam;
    ctl.hWnd = (HWND)lParam;
    ctl.nCtlType = pMsg->message >= WM_CTLCOLORMSGBOX && pMsg->message <= WM_CTLCOLORSTATIC
                       ? pMsg->message - WM_CTLCOLORMSGBOX
                       : CTLCOLOR_STATIC;
    return WindowProc(WM_CTLCOLOR, 0, (LPARAM)&ctl);
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU)
    {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != nullptr)
        {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else if (ReflectLastMsg(lpDrawItemStruct->hwndItem))
    {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType != ODT_MENU)
    {
        CWnd* pChild = GetDescendantWindow(nIDCtl, TRUE);
        if (pChild != nullptr && pChild->SendChildNotifyLastMsg())
            return;
    }
    Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (lpDeleteItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != nullptr && ReflectLastMsg(reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != nullptr && ReflectLastMsg(reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

// Pre-translation and modal loops.
BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);  // wakes the loop up
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;

    for (;;)
    {
        if (!ContinueModal())
            break;
        // Idle work while the queue is empty.
        while (bIdle && !::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (bShowIdle)
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
                ::SendMessage(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
            if (!ContinueModal())
                break;
        }
        if (!ContinueModal())
            break;
        // Messages while there are any.
        do
        {
            if (!AfxPumpMessage())
            {
                AfxPostQuitMessage(0);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN))
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                break;
            if (AfxIsIdleMessage(pMsg))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE));
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// Descendants and dialog controls.
void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        if (bOnlyPerm)
        {
            CWnd* pWnd = FromHandlePermanent(hWndChild);
            if (pWnd != nullptr)
                AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        }
        else
        {
            ::SendMessage(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != nullptr)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    CWnd wndTemp;  // stands for controls that have no object of their own
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
        state.m_pOther = &wndTemp;
        // A control may update itself through a reflected handler.
        CWnd* pWnd = FromHandlePermanent(hWndChild);
        if (pWnd != nullptr &&
            pWnd->CWnd::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
            continue;
        if (CWnd::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
            continue;
        // Automatic buttons manage their own state.
        BOOL bDisableTemp = bDisableIfNoHndler;
        if (bDisableTemp && (::SendMessage(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
        {
            UINT nStyle = (UINT)(::GetWindowLong(hWndChild, GWL_STYLE) & 0x0F);
            if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
                nStyle == BS_AUTORADIOBUTTON)
                bDisableTemp = FALSE;
        }
        state.DoUpdate(pTarget, bDisableTemp);
    }
    wndTemp.m_hWnd = nullptr;
}

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    HWND hWndParent = ::GetParent(hWnd);
    RECT rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    if (lpLayout->hDWP != nullptr)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                       lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    if ((nFlags & ~reposNoPosLeftOver) != reposQuery)
        layout.hDWP = ::BeginDeferWindowPos(8);

    // Each bar takes its share from the rectangle; what is left goes to the
    // left-over window.
    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild) != nullptr)
            ::SendMessage(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if ((nFlags & ~reposNoPosLeftOver) == reposQuery)
    {
        if (lpRectParam != nullptr)
        {
            if (bStretch)
                ::CopyRect(lpRectParam, &layout.rect);
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver != nullptr)
    {
        if ((nFlags & reposExtra) && lpRectParam != nullptr)
        {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if (!(nFlags & reposNoPosLeftOver))
        {
            CWnd* pLeftOver = FromHandle(hWndLeftOver);
            pLeftOver->CalcWindowRect(&layout.rect);
            AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
        }
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
}

INT_PTR CWnd::OnToolHitTest(CPoint, TOOLINFO*) const
{
    return -1;
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_STYLE, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLong(hWnd, GWL_EXSTYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_EXSTYLE, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

// Wrappers.
void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLength(m_hWnd);
    ::GetWindowText(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != nullptr)
    {
        int nLen = ::GetWindowTextLength(hWnd);
        ::GetWindowText(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
}

CFont* CWnd::GetFont() const
{
    HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    return hFont != nullptr ? CFont::FromHandle(hFont) : nullptr;
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (pAlternateOwner == nullptr)
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    RECT rcArea, rcCenter;
    if (dwStyle & WS_CHILD)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        ::GetClientRect(hWndCenter != nullptr ? hWndCenter : hWndParent, &rcCenter);
        ::MapWindowPoints(hWndCenter != nullptr ? hWndCenter : hWndParent, hWndParent,
                          reinterpret_cast<LPPOINT>(&rcCenter), 2);
    }
    else
    {
        // Center on the owner when it can be seen, else on the work area of
        // the monitor the window is on.
        MONITORINFO mi = {sizeof(MONITORINFO)};
        HWND hWndMonitor = hWndCenter != nullptr ? hWndCenter : m_hWnd;
        ::GetMonitorInfo(::MonitorFromWindow(hWndMonitor, MONITOR_DEFAULTTONEAREST), &mi);
        rcArea = mi.rcWork;
        if (hWndCenter != nullptr && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int cx = rcDlg.right - rcDlg.left;
    int cy = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
    ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags)
{
    return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)prgnClip->GetSafeHandle(), flags));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc());
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint)
{
    return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint));
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent();
}

static HWND ParentOrOwner(HWND hWnd)
{
    if (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = ParentOrOwner(hWndParent)) != nullptr)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != nullptr)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLong(hWndParent, GWL_STYLE) & WS_CHILD) &&
           (hWndT = ::GetParent(hWndParent)) != nullptr)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    for (CWnd* pParentWnd = GetParent(); pParentWnd != nullptr; pParentWnd = pParentWnd->GetParent())
    {
        if (pParentWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pParentWnd);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    CFrameWnd* pFrame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    while (pFrame != nullptr)
    {
        CFrameWnd* pNext = pFrame->GetParentFrame();
        if (pNext == nullptr)
            break;
        pFrame = pNext;
    }
    return pFrame;
}

HWND CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop)
{
    HWND hWnd = hParent;
    if (hWnd == nullptr)
        hWnd = AfxGetMainWnd()->GetSafeHwnd();
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    for (HWND hWndTemp = hWnd; hWndTemp != nullptr; hWndTemp = ::GetParent(hWndTemp))
        hWndTop = hWndTemp;
    if (hParent == nullptr && hWnd != nullptr)
        hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop != nullptr)
    {
        if (hWndTop != nullptr && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd)
        {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        }
        else
        {
            *pWndTop = nullptr;
        }
    }
    return hWnd;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    return FromHandle(GetSafeOwner_(pParent->GetSafeHwnd(), pWndTop));
}

HWND CWnd::GetSafeOwnerHwnd()
{
    return GetSafeOwner_(nullptr, nullptr);
}

static HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        if (::GetDlgCtrlID(hWndChild) == nID &&
            (!bOnlyPerm || CWnd::FromHandlePermanent(hWndChild) != nullptr))
            return hWndChild;
    }
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        HWND hFound = FindDescendant(hWndChild, nID, bOnlyPerm);
        if (hFound != nullptr)
            return hFound;
    }
    return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    HWND hWnd = FindDescendant(m_hWnd, nID, bOnlyPerm);
    return hWnd != nullptr ? FromHandle(hWnd) : nullptr;
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
    {
        if (::IsDlgButtonChecked(m_hWnd, nID))
            return nID;
    }
    return 0;
}

// Dialog-init data: a list of (control id, message, length, bytes) records
// that fill list and combo boxes from the resource script.
BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName)
{
    if (lpszResourceName == nullptr)
        return TRUE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCE(240));
    HRSRC hResource = ::FindResource(hInst, lpszResourceName, MAKEINTRESOURCE(240));
    if (hResource == nullptr)
        return TRUE;
    HGLOBAL hData = ::LoadResource(hInst, hResource);
    return hData != nullptr ? ExecuteDlgInit(::LockResource(hData)) : FALSE;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    if (lpResource == nullptr)
        return TRUE;
    const BYTE* p = static_cast<const BYTE*>(lpResource);
    for (;;)
    {
        WORD nIDC, nMsg;
        DWORD dwLen;
        memcpy(&nIDC, p, sizeof(WORD));
        if (nIDC == 0)
            break;
        memcpy(&nMsg, p + 2, sizeof(WORD));
        memcpy(&dwLen, p + 4, sizeof(DWORD));
        p += 8;
        // The 16-bit LB_ADDSTRING and CB_ADDSTRING with an ANSI string.
        if (nMsg == 0x0401 || nMsg == 0x0403)
        {
            int nChars =
                ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(p), (int)dwLen, nullptr, 0);
            std::vector<WCHAR> text((size_t)nChars + 1, 0);
            ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(p), (int)dwLen, text.data(), nChars);
            UINT nMessage = nMsg == 0x0401 ? LB_ADDSTRING : CB_ADDSTRING;
            if (::SendDlgItemMessage(m_hWnd, nIDC, nMessage, 0, (LPARAM)text.data()) < 0)
                return FALSE;
        }
        p += dwLen;
    }
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    HWND hWndOldLockout = pThreadState->m_hLockoutNotifyWindow;
    pThreadState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try
    {
        DoDataExchange(&dx);
        bOK = TRUE;
    }
    catch (CUserException* e)
    {
        e->Delete();  // the user was told already
    }
    catch (CException* e)
    {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
    pThreadState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

void CWnd::DoDataExchange(CDataExchange*) {}

CMenu* CWnd::GetMenu() const
{
    HMENU hMenu = ::GetMenu(m_hWnd);
    return hMenu != nullptr ? CMenu::FromHandle(hMenu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu());
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    return hMenu != nullptr ? CMenu::FromHandle(hMenu) : nullptr;
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ::DragAcceptFiles(m_hWnd, bAccept);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == nullptr)
        lpszCaption = AfxGetAppName();
    return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

// Window classes.
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASS wndcls;
    if (::GetClassInfo(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;  // already there
    return ::RegisterClass(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The name encodes the attributes, so equal requests share one class.
    static thread_local TCHAR szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr)
        ::wsprintf(szName, _T("Afx:%p:%x"), (void*)hInst, nClassStyle);
    else
        ::wsprintf(szName, _T("Afx:%p:%x:%p:%p:%p"), (void*)hInst, nClassStyle, (void*)hCursor,
                   (void*)hbrBackground, (void*)hIcon);
    WNDCLASS wndcls = {};
    if (::GetClassInfo(hInst, szName, &wndcls))
        return szName;
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = szName;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return szName;
}

BOOL AFXAPI AfxEndDeferRegisterClass(LONG fToRegister)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    fToRegister &= ~(LONG)pModuleState->m_fRegisteredClasses;
    if (fToRegister == 0)
        return TRUE;
    WNDCLASS wndcls = {};
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = AfxGetInstanceHandle();
    wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    LONG fRegistered = 0;
    if (fToRegister & AFX_WND_REG)
    {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.lpszClassName = _afxWnd;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WND_REG;
    }
    if (fToRegister & AFX_WNDFRAMEORVIEW_REG)
    {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wndcls.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
        wndcls.lpszClassName = _afxWndFrameOrView;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WNDFRAMEORVIEW_REG;
    }
    if (fToRegister & AFX_WNDCOMMCTLS_REG)
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        if (::InitCommonControlsEx(&init))
            fRegistered |= AFX_WNDCOMMCTLS_REG;
    }
    pModuleState->m_fRegisteredClasses |= (DWORD)fRegistered;
    return (fToRegister & ~fRegistered) == 0;
}
