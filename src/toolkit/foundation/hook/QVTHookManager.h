// One subclassing sink per window and one Windows hook per thread and hook
// type, shared by every toolkit object that must see another window's
// messages or thread-wide input. Clients can come and go in any order
// without breaking each other's chain, or a foreign subclasser's.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

// Sent to a window whose sink leaves: wParam the manager's procedure, lParam
// the procedure it had replaced. A subclasser above that answers non-zero has
// taken the saved procedure over.
extern const UINT WM_HOOKMANAGER_SINKREMOVED;

class CQVTHookManagerHookAble
{
public:
    // What a client's message handler answers.
    enum HookResult
    {
        hookContinue = 0,  // the next client sees the message
        hookHandled = 1,   // consumed: nobody else sees it, the result stands
        hookStop = 2       // no other client sees it, the message goes on
    };

    CQVTHookManagerHookAble();
    virtual ~CQVTHookManagerHookAble();

    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);
    virtual int OnHookMessageAfter(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                   LRESULT& lResult);
    virtual void OnHookAttached(HWND hWnd);
    virtual void OnHookDetached();

    // The manager deletes the client when it removes it.
    BOOL m_bAutoDeleteHook;
};

class CQVTHookManager
{
public:
    class CHookSink : public std::vector<CQVTHookManagerHookAble*>
    {
    public:
        int Find(CQVTHookManagerHookAble* pClient) const;

        int m_nHookType = -2;                        // the Windows hook type of a thread sink
        HHOOK m_hHook = nullptr;                     // a thread sink's hook
        DWORD m_dwThreadId = 0;                      // a thread sink's thread
        WNDPROC m_pOldWndProc = nullptr;             // a window sink's replaced procedure
        HWND m_hWnd = nullptr;                       // a window sink's window
        BOOL m_bUnicode = FALSE;                     // IsWindowUnicode when subclassed: A or W setter
        BOOL m_bDestroyed = FALSE;                   // the window is going: its procedure goes back directly
        AFX_MODULE_STATE* m_pModuleState = nullptr;  // of the last client added
    };

    CQVTHookManager();
    ~CQVTHookManager();
    CQVTHookManager(const CQVTHookManager&) = delete;
    CQVTHookManager& operator=(const CQVTHookManager&) = delete;

    // Subclasses the window on its first client; one entry per client.
    void SetHook(HWND hWnd, CQVTHookManagerHookAble* pHook);
    void RemoveHook(HWND hWnd, CQVTHookManagerHookAble* pHook);
    // Every window and thread sink that holds the client.
    void RemoveAll(CQVTHookManagerHookAble* pHook);
    // Thread 0 is the calling thread. FALSE for a type without its own
    // procedure (journal hooks, system message filter) or when the system
    // refuses the hook.
    BOOL SetWindowsHook(int nHookType, CQVTHookManagerHookAble* pHook, DWORD dwThreadId = 0);
    CHookSink* Lookup(HWND hWnd);

    // The previous procedure of the window whose message is being handled,
    // with that message, or with new parameters.
    LRESULT Default();
    LRESULT DefaultWithParams(WPARAM wParam, LPARAM lParam);

private:
    enum
    {
        kFirstHookType = -1,
        kHookTypeCount = 15  // types -1 to 13
    };

    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    template <int nHookType>
    static LRESULT CALLBACK HookThreadProc(int nCode, WPARAM wParam, LPARAM lParam);
    static HOOKPROC AFX_CDECL ThreadProcOf(int nHookType);
    static LRESULT AFX_CDECL ThreadHookCall(int nHookType, int nCode, WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    // Calls the window's clients, last added first, each only while it is
    // still in the sink; TRUE when one handled the message.
    BOOL DispatchWindow(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult,
                        BOOL bAfter);
    BOOL DispatchThread(CHookSink* pSink, int nCode, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);
    // Detaches the sink's clients and puts the window procedure back when
    // that does not cut a foreign subclasser out; the sink then goes.
    void RemoveWindowSink(CHookSink* pSink);
    std::vector<HWND> WindowsHolding(CQVTHookManagerHookAble* pHook);
    // Takes every entry of the client out of the thread sinks and unhooks the
    // emptied ones; the number of entries removed.
    int RemoveFromThreadSinks(CQVTHookManagerHookAble* pHook);
    void DetachClients(CHookSink* pSink, std::vector<CQVTHookManagerHookAble*>* pDeferredDeletes);
    CHookSink* LookupThread(int nHookType, DWORD dwThreadId);
    void EraseWindowSink(HWND hWnd);
    void RestoreWindowProc(CHookSink* pSink);

    QVTSpinGuard m_guard;  // over both maps; recursive per thread
    CMap<HWND, HWND, CHookSink*, CHookSink*> m_mapWindows;
    CMap<DWORD, DWORD, CHookSink*, CHookSink*> m_mapThreads[kHookTypeCount];  // index: type + 1

    static CQVTHookManager* s_pInstance;  // while the process-wide manager lives
};

CQVTHookManager* AFXAPI QVTHookManager();
