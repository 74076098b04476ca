#include "toolkit/foundation/hook/QVTHookManager.h"

#include <algorithm>

#include "toolkit/foundation/core/QVTSingletonPointer.h"

const UINT WM_HOOKMANAGER_SINKREMOVED = ::RegisterWindowMessageW(u"WM_HOOKMANAGER_SINKREMOVED");

QVT_IMPLEMENT_SINGLETON(CQVTHookManager, QVTHookManager, nullptr)

CQVTHookManager* CQVTHookManager::s_pInstance = nullptr;

namespace {
// The thread types released at the manager's end, in this order.
const int kThreadHookTypes[] = {WH_MSGFILTER, WH_KEYBOARD,       WH_GETMESSAGE,    WH_CALLWNDPROC,
                                WH_CBT,       WH_MOUSE,          WH_HARDWARE,      WH_DEBUG,
                                WH_SHELL,     WH_FOREGROUNDIDLE, WH_CALLWNDPROCRET};

WNDPROC CurrentWndProc(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

void SetWndProc(HWND hWnd, BOOL bUnicode, WNDPROC pfn)
{
    if (bUnicode)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfn));
    else
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfn));
}

// The framework's current message, set for the time of one call.
class CCurrentMessage
{
public:
    CCurrentMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
        : m_pState(AfxGetThreadState()), m_saved(m_pState->m_lastSentMsg)
    {
        m_pState->m_lastSentMsg.hwnd = hWnd;
        m_pState->m_lastSentMsg.message = nMessage;
        m_pState->m_lastSentMsg.wParam = wParam;
        m_pState->m_lastSentMsg.lParam = lParam;
    }
    ~CCurrentMessage() { m_pState->m_lastSentMsg = m_saved; }

private:
    _AFX_THREAD_STATE* m_pState;
    MSG m_saved;
};
}  // namespace

// Client

CQVTHookManagerHookAble::CQVTHookManagerHookAble() : m_bAutoDeleteHook(FALSE) {}

CQVTHookManagerHookAble::~CQVTHookManagerHookAble() {}

int CQVTHookManagerHookAble::OnHookMessage(HWND, UINT, WPARAM&, LPARAM&, LRESULT&)
{
    return hookContinue;
}

int CQVTHookManagerHookAble::OnHookMessageAfter(HWND, UINT, WPARAM&, LPARAM&, LRESULT&)
{
    return hookContinue;
}

void CQVTHookManagerHookAble::OnHookAttached(HWND) {}

void CQVTHookManagerHookAble::OnHookDetached() {}

// Sink

int CQVTHookManager::CHookSink::Find(CQVTHookManagerHookAble* pClient) const
{
    auto it = std::find(begin(), end(), pClient);
    return it == end() ? -1 : static_cast<int>(it - begin());
}

// Manager

CQVTHookManager::CQVTHookManager() : m_mapWindows(10)
{
    s_pInstance = this;
}

CQVTHookManager::~CQVTHookManager()
{
    CQVTSpinLock lock(m_guard);
    POSITION pos = m_mapWindows.GetStartPosition();
    while (pos)
    {
        HWND hWnd = nullptr;
        CHookSink* pSink = nullptr;
        m_mapWindows.GetNextAssoc(pos, hWnd, pSink);
        if (::IsWindow(hWnd) && CurrentWndProc(hWnd) == &HookWndProc)
            SetWndProc(hWnd, pSink->m_bUnicode, pSink->m_pOldWndProc);
        delete pSink;
    }
    m_mapWindows.RemoveAll();
    for (int nType : kThreadHookTypes)
    {
        CMap<DWORD, DWORD, CHookSink*, CHookSink*>& map = m_mapThreads[nType - kFirstHookType];
        pos = map.GetStartPosition();
        while (pos)
        {
            DWORD dwThread = 0;
            CHookSink* pSink = nullptr;
            map.GetNextAssoc(pos, dwThread, pSink);
            std::vector<CQVTHookManagerHookAble*> deletes;
            DetachClients(pSink, &deletes);
            for (CQVTHookManagerHookAble* pClient : deletes)
                delete pClient;
            ::UnhookWindowsHookEx(pSink->m_hHook);
            delete pSink;
        }
        map.RemoveAll();
    }
    s_pInstance = nullptr;
}

CQVTHookManager::CHookSink* CQVTHookManager::Lookup(HWND hWnd)
{
    CQVTSpinLock lock(m_guard);
    CHookSink* pSink = nullptr;
    return m_mapWindows.Lookup(hWnd, pSink) ? pSink : nullptr;
}

CQVTHookManager::CHookSink* CQVTHookManager::LookupThread(int nHookType, DWORD dwThreadId)
{
    CHookSink* pSink = nullptr;
    return m_mapThreads[nHookType - kFirstHookType].Lookup(dwThreadId, pSink) ? pSink : nullptr;
}

void CQVTHookManager::SetHook(HWND hWnd, CQVTHookManagerHookAble* pHook)
{
    if (!hWnd || !pHook)
        return;
    CHookSink* pSink = Lookup(hWnd);
    if (pSink)
    {
        if (pSink->Find(pHook) < 0)
        {
            pSink->push_back(pHook);
            pHook->OnHookAttached(hWnd);
        }
        pSink->m_pModuleState = AfxGetModuleState();
        return;
    }
    pSink = new CHookSink();
    pSink->m_hWnd = hWnd;
    pSink->m_bUnicode = ::IsWindowUnicode(hWnd);
    pSink->m_pOldWndProc = CurrentWndProc(hWnd);
    pSink->m_pModuleState = AfxGetModuleState();
    pSink->push_back(pHook);
    // The sink is found before the procedure is in place: a message that
    // reached the procedure first would otherwise miss the window's own.
    {
        CQVTSpinLock lock(m_guard);
        m_mapWindows.SetAt(hWnd, pSink);
    }
    SetWndProc(hWnd, pSink->m_bUnicode, &HookWndProc);
    pHook->OnHookAttached(hWnd);
}

void CQVTHookManager::RemoveHook(HWND hWnd, CQVTHookManagerHookAble* pHook)
{
    CHookSink* pSink = Lookup(hWnd);
    if (!pSink)
        return;
    int nIndex = pSink->Find(pHook);
    if (nIndex < 0)
        return;
    pSink->erase(pSink->begin() + nIndex);
    pHook->OnHookDetached();
    if (pHook->m_bAutoDeleteHook)
        delete pHook;
    if (pSink->empty())
        RemoveWindowSink(pSink);
}

void CQVTHookManager::RemoveAll(CQVTHookManagerHookAble* pHook)
{
    // A client in several sinks is deleted once, after it has left them all.
    const BOOL bAutoDelete = pHook->m_bAutoDeleteHook;
    pHook->m_bAutoDeleteHook = FALSE;
    // Removing a window sink sends its window a message: under the lock, a
    // hooked window of another thread would wait for the lock forever.
    for (HWND hWnd : WindowsHolding(pHook))
        RemoveHook(hWnd, pHook);
    const int nDetached = RemoveFromThreadSinks(pHook);
    for (int i = 0; i < nDetached; ++i)
        pHook->OnHookDetached();
    if (bAutoDelete)
        delete pHook;
}

std::vector<HWND> CQVTHookManager::WindowsHolding(CQVTHookManagerHookAble* pHook)
{
    CQVTSpinLock lock(m_guard);
    std::vector<HWND> windows;
    POSITION pos = m_mapWindows.GetStartPosition();
    while (pos)
    {
        HWND hWnd = nullptr;
        CHookSink* pSink = nullptr;
        m_mapWindows.GetNextAssoc(pos, hWnd, pSink);
        if (pSink->Find(pHook) >= 0)
            windows.push_back(hWnd);
    }
    return windows;
}

int CQVTHookManager::RemoveFromThreadSinks(CQVTHookManagerHookAble* pHook)
{
    CQVTSpinLock lock(m_guard);
    int nRemoved = 0;
    for (int nIndex = 0; nIndex < kHookTypeCount; ++nIndex)
    {
        CMap<DWORD, DWORD, CHookSink*, CHookSink*>& map = m_mapThreads[nIndex];
        std::vector<DWORD> emptied;
        POSITION pos = map.GetStartPosition();
        while (pos)
        {
            DWORD dwThread = 0;
            CHookSink* pSink = nullptr;
            map.GetNextAssoc(pos, dwThread, pSink);
            int nFound = 0;
            while ((nFound = pSink->Find(pHook)) >= 0)
            {
                pSink->erase(pSink->begin() + nFound);
                ++nRemoved;
            }
            if (pSink->empty())
                emptied.push_back(dwThread);
        }
        for (DWORD dwThread : emptied)
        {
            CHookSink* pSink = nullptr;
            map.Lookup(dwThread, pSink);
            map.RemoveKey(dwThread);
            ::UnhookWindowsHookEx(pSink->m_hHook);
            delete pSink;
        }
    }
    return nRemoved;
}

BOOL CQVTHookManager::SetWindowsHook(int nHookType, CQVTHookManagerHookAble* pHook, DWORD dwThreadId)
{
    HOOKPROC pfnHook =
        nHookType >= kFirstHookType && nHookType <= WH_CALLWNDPROCRET ? ThreadProcOf(nHookType) : nullptr;
    if (!pfnHook || !pHook)
        return FALSE;
    if (dwThreadId == 0)
        dwThreadId = ::GetCurrentThreadId();
    CQVTSpinLock lock(m_guard);
    CHookSink* pSink = LookupThread(nHookType, dwThreadId);
    if (!pSink)
    {
        HHOOK hHook = ::SetWindowsHookExW(nHookType, pfnHook, nullptr, dwThreadId);
        if (!hHook)
            return FALSE;
        pSink = new CHookSink();
        pSink->m_nHookType = nHookType;
        pSink->m_hHook = hHook;
        pSink->m_dwThreadId = dwThreadId;
        pSink->m_pModuleState = AfxGetModuleState();
        m_mapThreads[nHookType - kFirstHookType].SetAt(dwThreadId, pSink);
    }
    pSink->push_back(pHook);
    pHook->OnHookAttached(nullptr);
    return TRUE;
}

void CQVTHookManager::DetachClients(CHookSink* pSink, std::vector<CQVTHookManagerHookAble*>* pDeferredDeletes)
{
    while (!pSink->empty())
    {
        CQVTHookManagerHookAble* pClient = pSink->back();
        pSink->pop_back();
        pClient->OnHookDetached();
        if (pClient->m_bAutoDeleteHook &&
            std::find(pDeferredDeletes->begin(), pDeferredDeletes->end(), pClient) == pDeferredDeletes->end())
            pDeferredDeletes->push_back(pClient);
    }
}

void CQVTHookManager::EraseWindowSink(HWND hWnd)
{
    CQVTSpinLock lock(m_guard);
    m_mapWindows.RemoveKey(hWnd);
}

void CQVTHookManager::RestoreWindowProc(CHookSink* pSink)
{
    SetWndProc(pSink->m_hWnd, pSink->m_bUnicode, pSink->m_pOldWndProc);
    EraseWindowSink(pSink->m_hWnd);
    delete pSink;
}

void CQVTHookManager::RemoveWindowSink(CHookSink* pSink)
{
    std::vector<CQVTHookManagerHookAble*> deletes;
    DetachClients(pSink, &deletes);
    for (CQVTHookManagerHookAble* pClient : deletes)
        delete pClient;
    if (pSink->m_bDestroyed)
    {
        RestoreWindowProc(pSink);
        return;
    }
    const HWND hWnd = pSink->m_hWnd;
    LRESULT lTaken = ::SendMessageW(hWnd, WM_HOOKMANAGER_SINKREMOVED, reinterpret_cast<WPARAM>(&HookWndProc),
                                    reinterpret_cast<LPARAM>(pSink->m_pOldWndProc));
    // The message may have emptied the map already (a destroyed window).
    if (Lookup(hWnd) != pSink)
        return;
    if (lTaken)
    {
        EraseWindowSink(hWnd);
        delete pSink;
    }
    else if (!::IsWindow(hWnd) || CurrentWndProc(hWnd) == &HookWndProc)
    {
        RestoreWindowProc(pSink);
    }
    // Otherwise a foreign subclasser sits above this procedure and calls it:
    // the empty sink stays and passes every message to the saved procedure.
}

BOOL CQVTHookManager::DispatchWindow(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                     LRESULT& lResult, BOOL bAfter)
{
    CHookSink* pSink = Lookup(hWnd);
    if (!pSink)
        return FALSE;
    if (nMessage == WM_HOOKMANAGER_SINKREMOVED && reinterpret_cast<WNDPROC>(wParam) == pSink->m_pOldWndProc)
    {
        pSink->m_pOldWndProc = reinterpret_cast<WNDPROC>(lParam);
        lResult = 1;
        return TRUE;
    }
    // Clients may leave, or take the sink with them, while they run.
    std::vector<CQVTHookManagerHookAble*> clients(*pSink);
    for (auto it = clients.rbegin(); it != clients.rend(); ++it)
    {
        pSink = Lookup(hWnd);
        if (!pSink || pSink->Find(*it) < 0)
            continue;
        int nResult = bAfter ? (*it)->OnHookMessageAfter(hWnd, nMessage, wParam, lParam, lResult)
                             : (*it)->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
        if (nResult == CQVTHookManagerHookAble::hookHandled)
            return TRUE;
        if (nResult == CQVTHookManagerHookAble::hookStop)
            return FALSE;
    }
    return FALSE;
}

LRESULT CQVTHookManager::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CCurrentMessage current(hWnd, nMessage, wParam, lParam);
    CHookSink* pSink = Lookup(hWnd);
    if (!pSink)
        return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
    WNDPROC pfnOld = pSink->m_pOldWndProc;

    // An empty sink that is on top again leaves the chain.
    if (pSink->empty() && nMessage != WM_NCDESTROY && CurrentWndProc(hWnd) == &HookWndProc)
    {
        RestoreWindowProc(pSink);
        return ::CallWindowProcW(pfnOld, hWnd, nMessage, wParam, lParam);
    }

    LRESULT lResult = 0;
    if (nMessage != WM_NCDESTROY)
    {
        if (DispatchWindow(hWnd, nMessage, wParam, lParam, lResult, FALSE))
            return lResult;
        if (CHookSink* pStill = Lookup(hWnd))
            pfnOld = pStill->m_pOldWndProc;
    }
    else
    {
        pSink->m_bDestroyed = TRUE;
        RemoveWindowSink(pSink);
    }

    lResult = ::CallWindowProcW(pfnOld, hWnd, nMessage, wParam, lParam);

    if (nMessage != WM_NCDESTROY && Lookup(hWnd))
        DispatchWindow(hWnd, nMessage, wParam, lParam, lResult, TRUE);
    return lResult;
}

LRESULT CALLBACK CQVTHookManager::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    try
    {
        if (s_pInstance)
            return s_pInstance->WindowProc(hWnd, nMessage, wParam, lParam);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
}

BOOL CQVTHookManager::DispatchThread(CHookSink* pSink, int nCode, WPARAM& wParam, LPARAM& lParam,
                                     LRESULT& lResult)
{
    if (pSink->m_dwThreadId != ::GetCurrentThreadId())
        return FALSE;
    std::vector<CQVTHookManagerHookAble*> clients(*pSink);
    for (auto it = clients.rbegin(); it != clients.rend(); ++it)
    {
        if (pSink->Find(*it) < 0)
            continue;
        int nResult = (*it)->OnHookMessage(nullptr, static_cast<UINT>(nCode), wParam, lParam, lResult);
        if (nResult == CQVTHookManagerHookAble::hookHandled)
            return TRUE;
        if (nResult == CQVTHookManagerHookAble::hookStop)
            return FALSE;
    }
    return FALSE;
}

LRESULT AFX_CDECL CQVTHookManager::ThreadHookCall(int nHookType, int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = nullptr;
    if (nCode >= 0 && s_pInstance)
    {
        try
        {
            CQVTHookManager* pManager = s_pInstance;
            CQVTSpinLock lock(pManager->m_guard);
            CHookSink* pSink = pManager->LookupThread(nHookType, ::GetCurrentThreadId());
            if (pSink)
            {
                hHook = pSink->m_hHook;
                LRESULT lResult = 0;
                if (pManager->DispatchThread(pSink, nCode, wParam, lParam, lResult))
                    return lResult;
            }
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    // What no client took goes on to the thread's other hooks (among them
    // the framework's window-creation hook).
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

template <int nHookType>
LRESULT CALLBACK CQVTHookManager::HookThreadProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return ThreadHookCall(nHookType, nCode, wParam, lParam);
}

HOOKPROC AFX_CDECL CQVTHookManager::ThreadProcOf(int nHookType)
{
    switch (nHookType)
    {
    case WH_MSGFILTER:
        return &HookThreadProc<WH_MSGFILTER>;
    case WH_KEYBOARD:
        return &HookThreadProc<WH_KEYBOARD>;
    case WH_GETMESSAGE:
        return &HookThreadProc<WH_GETMESSAGE>;
    case WH_CALLWNDPROC:
        return &HookThreadProc<WH_CALLWNDPROC>;
    case WH_CBT:
        return &HookThreadProc<WH_CBT>;
    case WH_MOUSE:
        return &HookThreadProc<WH_MOUSE>;
    case WH_HARDWARE:
        return &HookThreadProc<WH_HARDWARE>;
    case WH_DEBUG:
        return &HookThreadProc<WH_DEBUG>;
    case WH_SHELL:
        return &HookThreadProc<WH_SHELL>;
    case WH_FOREGROUNDIDLE:
        return &HookThreadProc<WH_FOREGROUNDIDLE>;
    case WH_CALLWNDPROCRET:
        return &HookThreadProc<WH_CALLWNDPROCRET>;
    default:
        return nullptr;  // journal hooks and the system message filter
    }
}

LRESULT CQVTHookManager::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefaultWithParams(msg.wParam, msg.lParam);
}

LRESULT CQVTHookManager::DefaultWithParams(WPARAM wParam, LPARAM lParam)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    CHookSink* pSink = Lookup(msg.hwnd);
    if (!pSink || !pSink->m_pOldWndProc)
        return 0;
    return ::CallWindowProcW(pSink->m_pOldWndProc, msg.hwnd, msg.message, wParam, lParam);
}
