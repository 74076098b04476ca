// The hook manager on real windows and thread hooks: client order and
// consumption, clients that leave inside a message, windows destroyed while
// hooked, a foreign subclasser above the manager removed in either order,
// framework windows created under a toolkit CBT hook, Default, and a
// client removed from another thread than its window's.
#include <afxwin.h>

#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/hook/QVTHookManager.h"

namespace {
typedef std::vector<std::string> Log;
Log g_log;

const UINT WM_PROBE = WM_USER + 1;
const UINT WM_ANSWER = WM_USER + 2;

LRESULT CALLBACK BaseProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_PROBE)
        g_log.push_back("base");
    else if (nMessage == WM_NCDESTROY)
        g_log.push_back("base ncdestroy");
    else if (nMessage == WM_ANSWER)
        return 7;
    return DefWindowProcW(hWnd, nMessage, wParam, lParam);
}

HWND MakeWindow()
{
    static bool bRegistered = false;
    if (!bRegistered)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &BaseProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = u"HookManagerTestWindow";
        RegisterClassW(&wc);
        bRegistered = true;
    }
    return CreateWindowExW(0, u"HookManagerTestWindow", u"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

WNDPROC ProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

class Client : public CQVTHookManagerHookAble
{
public:
    explicit Client(const char* pszName) : m_name(pszName) {}
    ~Client() override { g_log.push_back(m_name + " deleted"); }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        if (nMessage == WM_PROBE || nMessage == WM_SIZE)
            g_log.push_back(m_name);
        if (m_onMessage)
            return m_onMessage(hWnd, nMessage, wParam, lParam, lResult);
        return hookContinue;
    }
    int OnHookMessageAfter(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) override
    {
        if (nMessage == WM_PROBE)
            g_log.push_back(m_name + " after " + std::to_string(lResult));
        return hookContinue;
    }
    void OnHookAttached(HWND hWnd) override { m_hAttached = hWnd; }
    void OnHookDetached() override { g_log.push_back(m_name + " detached"); }

    std::function<int(HWND, UINT, WPARAM&, LPARAM&, LRESULT&)> m_onMessage;
    HWND m_hAttached = reinterpret_cast<HWND>(1);

private:
    std::string m_name;
};

// A subclasser that knows nothing of the manager.
WNDPROC g_pfnForeignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_PROBE)
        g_log.push_back("foreign");
    return CallWindowProcW(g_pfnForeignPrevious, hWnd, nMessage, wParam, lParam);
}

void InstallForeign(HWND hWnd)
{
    g_pfnForeignPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
}

void RemoveForeign(HWND hWnd)
{
    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnForeignPrevious));
}

// A framework window with a message-map handler.
class FrameworkWindow : public CWnd
{
public:
    int m_nProbes = 0;

protected:
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        ++m_nProbes;
        return 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FrameworkWindow, CWnd)
    ON_MESSAGE(WM_PROBE, &FrameworkWindow::OnProbe)
END_MESSAGE_MAP()

BOOL CreateFrameworkWindow(FrameworkWindow& wnd, HWND hParent = nullptr)
{
    return wnd.CreateEx(0, AfxRegisterWndClass(0), u"framework", hParent ? WS_CHILD : WS_POPUP, 0, 0, 40, 40,
                        hParent, nullptr);
}

// Installs a toolkit CBT client while it is being created, then makes a
// framework child: the framework's own creation hook is older than the
// toolkit's by then, so it sees the child's creation only if the toolkit's
// hook passes it on.
class ParentWindow : public CWnd
{
public:
    CQVTHookManagerHookAble* m_pClient = nullptr;
    FrameworkWindow m_child;
    BOOL m_bChildCreated = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        QVTHookManager()->SetWindowsHook(WH_CBT, m_pClient);
        m_bChildCreated = CreateFrameworkWindow(m_child, m_hWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWindow, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
}  // namespace

TEST(HookManager, ClientsSeeMessagesLastAddedFirstAndMayConsumeThem)
{
    HWND hWnd = MakeWindow();
    Client a("A"), b("B");
    QVTHookManager()->SetHook(hWnd, &a);
    QVTHookManager()->SetHook(hWnd, &b);
    QVTHookManager()->SetHook(hWnd, &a);
    EXPECT_EQ(a.m_hAttached, hWnd);
    EXPECT_EQ(QVTHookManager()->Lookup(hWnd)->size(), 2u) << "a client is kept once per window";

    g_log.clear();
    SendMessageW(hWnd, WM_PROBE, 0, 0);
    EXPECT_EQ(g_log, (Log{"B", "A", "base", "B after 0", "A after 0"}));

    // Handled: nobody after it, not even the window, sees the message.
    b.m_onMessage = [](HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) {
        if (nMessage != WM_PROBE)
            return CQVTHookManagerHookAble::hookContinue;
        lResult = 42;
        return CQVTHookManagerHookAble::hookHandled;
    };
    g_log.clear();
    EXPECT_EQ(SendMessageW(hWnd, WM_PROBE, 0, 0), 42);
    EXPECT_EQ(g_log, (Log{"B"}));

    // Stopped: the other client is skipped, the window still handles it.
    b.m_onMessage = [](HWND, UINT, WPARAM&, LPARAM&, LRESULT&) { return CQVTHookManagerHookAble::hookStop; };
    g_log.clear();
    SendMessageW(hWnd, WM_PROBE, 0, 0);
    EXPECT_EQ(g_log, (Log{"B", "base", "B after 0", "A after 0"}));

    // Default runs the window's own handling first.
    a.m_onMessage = [](HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) {
        if (nMessage != WM_ANSWER)
            return CQVTHookManagerHookAble::hookContinue;
        lResult = QVTHookManager()->Default() + 1;
        return CQVTHookManagerHookAble::hookHandled;
    };
    b.m_onMessage = nullptr;
    EXPECT_EQ(SendMessageW(hWnd, WM_ANSWER, 0, 0), 8);

    QVTHookManager()->RemoveHook(hWnd, &a);
    QVTHookManager()->RemoveHook(hWnd, &b);
    EXPECT_EQ(ProcOf(hWnd), &BaseProc);
    EXPECT_EQ(QVTHookManager()->Lookup(hWnd), nullptr);
    DestroyWindow(hWnd);
}

TEST(HookManager, AClientLeavingInsideAMessageLeavesAWorkingWindow)
{
    HWND hWnd = MakeWindow();
    Client leaving("L"), stays("S");
    QVTHookManager()->SetHook(hWnd, &stays);
    QVTHookManager()->SetHook(hWnd, &leaving);
    // The last client removes the other one and then itself.
    leaving.m_onMessage = [&](HWND h, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) {
        if (nMessage == WM_SIZE)
        {
            QVTHookManager()->RemoveHook(h, &stays);
            QVTHookManager()->RemoveHook(h, &leaving);
        }
        return CQVTHookManagerHookAble::hookContinue;
    };
    g_log.clear();
    SetWindowPos(hWnd, nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(g_log, (Log{"L", "S detached", "L detached"}))
        << "the removed client is not called after it left";
    EXPECT_EQ(QVTHookManager()->Lookup(hWnd), nullptr);
    EXPECT_EQ(ProcOf(hWnd), &BaseProc);
    g_log.clear();
    SendMessageW(hWnd, WM_PROBE, 0, 0);
    EXPECT_EQ(g_log, (Log{"base"}));
    DestroyWindow(hWnd);
}

TEST(HookManager, ADestroyedWindowDetachesItsClientsBeforeItsProcedureEnds)
{
    HWND hWnd = MakeWindow();
    Client* pA = new Client("A");
    Client* pB = new Client("B");
    pA->m_bAutoDeleteHook = TRUE;
    QVTHookManager()->SetHook(hWnd, pA);
    QVTHookManager()->SetHook(hWnd, pB);
    g_log.clear();
    DestroyWindow(hWnd);
    EXPECT_EQ(g_log, (Log{"B detached", "A detached", "A deleted", "base ncdestroy"}));
    EXPECT_EQ(QVTHookManager()->Lookup(hWnd), nullptr);
    delete pB;
}

TEST(HookManager, AForeignSubclasserAboveKeepsWorkingInEitherOrderOfRemoval)
{
    // The manager's sink goes first: the foreign procedure still calls it,
    // so it must still pass messages on.
    {
        HWND hWnd = MakeWindow();
        Client a("A");
        QVTHookManager()->SetHook(hWnd, &a);
        InstallForeign(hWnd);
        QVTHookManager()->RemoveHook(hWnd, &a);
        EXPECT_EQ(ProcOf(hWnd), &ForeignProc) << "the foreign procedure stays on top";
        g_log.clear();
        EXPECT_EQ(SendMessageW(hWnd, WM_ANSWER, 0, 0), 7);
        SendMessageW(hWnd, WM_PROBE, 0, 0);
        EXPECT_EQ(g_log, (Log{"foreign", "base"}));
        RemoveForeign(hWnd);
        g_log.clear();
        SendMessageW(hWnd, WM_PROBE, 0, 0);
        EXPECT_EQ(g_log, (Log{"base"}));
        EXPECT_EQ(ProcOf(hWnd), &BaseProc) << "the manager leaves once it is on top again";
        DestroyWindow(hWnd);
    }
    // The foreign procedure goes first.
    {
        HWND hWnd = MakeWindow();
        Client a("A");
        QVTHookManager()->SetHook(hWnd, &a);
        InstallForeign(hWnd);
        g_log.clear();
        SendMessageW(hWnd, WM_PROBE, 0, 0);
        EXPECT_EQ(g_log, (Log{"foreign", "A", "base", "A after 0"}));
        RemoveForeign(hWnd);
        QVTHookManager()->RemoveHook(hWnd, &a);
        EXPECT_EQ(ProcOf(hWnd), &BaseProc);
        g_log.clear();
        SendMessageW(hWnd, WM_PROBE, 0, 0);
        EXPECT_EQ(g_log, (Log{"base"}));
        DestroyWindow(hWnd);
    }
}

TEST(HookManager, ThreadHooksPassOnWhatNoClientTakes)
{
    Client watcher("W");
    int nCreations = 0;
    watcher.m_onMessage = [&](HWND hWnd, UINT nCode, WPARAM&, LPARAM&, LRESULT&) {
        EXPECT_EQ(hWnd, nullptr);
        if (nCode == HCBT_CREATEWND)
            ++nCreations;
        return CQVTHookManagerHookAble::hookContinue;
    };
    ParentWindow parent;
    parent.m_pClient = &watcher;
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0), u"parent", WS_POPUP, 0, 0, 80, 80, nullptr, nullptr));
    ASSERT_TRUE(parent.m_bChildCreated);
    EXPECT_EQ(nCreations, 1) << "the toolkit's hook saw the child's creation";
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_child.GetSafeHwnd()), &parent.m_child)
        << "and the framework still attached it";
    EXPECT_EQ(parent.m_child.SendMessage(WM_PROBE), 5);
    EXPECT_EQ(parent.m_child.m_nProbes, 1);

    // A client that takes the creation cancels it.
    Client veto("V");
    veto.m_onMessage = [](HWND, UINT nCode, WPARAM&, LPARAM&, LRESULT& lResult) {
        if (nCode != HCBT_CREATEWND)
            return CQVTHookManagerHookAble::hookContinue;
        lResult = 1;
        return CQVTHookManagerHookAble::hookHandled;
    };
    ASSERT_TRUE(QVTHookManager()->SetWindowsHook(WH_CBT, &veto));
    int nBefore = nCreations;
    EXPECT_EQ(MakeWindow(), nullptr);
    EXPECT_EQ(nCreations, nBefore) << "the later client sees it first and takes it";

    QVTHookManager()->RemoveAll(&veto);
    QVTHookManager()->RemoveAll(&watcher);
    HWND hWnd = MakeWindow();
    EXPECT_NE(hWnd, nullptr);
    EXPECT_EQ(nCreations, nBefore) << "no client after RemoveAll";
    DestroyWindow(hWnd);
    parent.DestroyWindow();
}

TEST(HookManager, ThreadHookTypesAndDuplicates)
{
    Client a("A");
    int nMessages = 0;
    a.m_onMessage = [&](HWND, UINT nCode, WPARAM&, LPARAM& lParam, LRESULT&) {
        if (nCode == HC_ACTION && reinterpret_cast<MSG*>(lParam)->message == WM_PROBE)
            ++nMessages;
        return CQVTHookManagerHookAble::hookContinue;
    };
    ASSERT_TRUE(QVTHookManager()->SetWindowsHook(WH_GETMESSAGE, &a));
    ASSERT_TRUE(QVTHookManager()->SetWindowsHook(WH_GETMESSAGE, &a)) << "a thread sink keeps duplicates";
    PostThreadMessageW(GetCurrentThreadId(), WM_PROBE, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
    }
    EXPECT_EQ(nMessages, 2);

    // Every type with a procedure installs, whether or not Wine calls it.
    for (int nType : {WH_MSGFILTER, WH_KEYBOARD, WH_CALLWNDPROC, WH_MOUSE, WH_HARDWARE, WH_DEBUG, WH_SHELL,
                      WH_FOREGROUNDIDLE, WH_CALLWNDPROCRET})
        EXPECT_TRUE(QVTHookManager()->SetWindowsHook(nType, &a)) << nType;
    for (int nType : {WH_JOURNALRECORD, WH_JOURNALPLAYBACK, WH_SYSMSGFILTER, 13, 14, -2})
        EXPECT_FALSE(QVTHookManager()->SetWindowsHook(nType, &a)) << nType;

    g_log.clear();
    QVTHookManager()->RemoveAll(&a);
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "A detached"), 11);
    nMessages = 0;
    PostThreadMessageW(GetCurrentThreadId(), WM_PROBE, 0, 0);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
    }
    EXPECT_EQ(nMessages, 0);
}

TEST(HookManager, MessagesSentWhileTheFirstClientAttachesReachTheWindow)
{
    HWND hWnd = MakeWindow();
    class Prober : public Client
    {
    public:
        Prober() : Client("P") {}
        void OnHookAttached(HWND hWnd) override
        {
            Client::OnHookAttached(hWnd);
            SendMessageW(hWnd, WM_PROBE, 0, 0);
        }
    } prober;
    g_log.clear();
    QVTHookManager()->SetHook(hWnd, &prober);
    EXPECT_EQ(g_log, (Log{"P", "base", "P after 0"}));
    QVTHookManager()->RemoveHook(hWnd, &prober);
    DestroyWindow(hWnd);
}

namespace {
struct HookedWindowThread
{
    HANDLE hReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hWnd = nullptr;
    Client* pClient = nullptr;
};

DWORD WINAPI RunHookedWindow(void* pParam)
{
    auto* pThread = static_cast<HookedWindowThread*>(pParam);
    pThread->hWnd = MakeWindow();
    QVTHookManager()->SetHook(pThread->hWnd, pThread->pClient);
    SetEvent(pThread->hReady);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    DestroyWindow(pThread->hWnd);
    return 0;
}

DWORD WINAPI RemoveAllClients(void* pParam)
{
    QVTHookManager()->RemoveAll(static_cast<Client*>(pParam));
    return 0;
}
}  // namespace

TEST(HookManager, RemoveAllLetsAHookedWindowOfAnotherThreadAnswer)
{
    // Raw threads: a deadlocked one must not be joined when the test fails.
    Client client("C");
    HookedWindowThread window;
    window.pClient = &client;
    DWORD dwWindowThread = 0;
    HANDLE hWindowThread = CreateThread(nullptr, 0, &RunHookedWindow, &window, 0, &dwWindowThread);
    ASSERT_EQ(WaitForSingleObject(window.hReady, 10000), WAIT_OBJECT_0);
    ASSERT_NE(QVTHookManager()->Lookup(window.hWnd), nullptr);

    HANDLE hRemover = CreateThread(nullptr, 0, &RemoveAllClients, &client, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(hRemover, 20000), WAIT_OBJECT_0)
        << "RemoveAll and the window wait on each other";
    EXPECT_EQ(QVTHookManager()->Lookup(window.hWnd), nullptr);
    EXPECT_EQ(ProcOf(window.hWnd), &BaseProc);

    PostThreadMessageW(dwWindowThread, WM_QUIT, 0, 0);
    WaitForSingleObject(hWindowThread, INFINITE);
    CloseHandle(hRemover);
    CloseHandle(hWindowThread);
    CloseHandle(window.hReady);
}
