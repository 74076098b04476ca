// Skinned popup menus as a user meets them: real popups of their own class,
// driven by real keys and pointer moves from a second thread while the
// menu loop runs on this one; what the owner window hears is recorded.
#include <malloc.h>

#include <atomic>
#include <mutex>
#include <set>

#include "tests/toolkit/skinframework/skin_test_support.h"
#include "menus_test_resource.h"
#include "tests/support/real_input.h"
#include "tests/support/win_thread.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObjectApplicationFrame.h"
#include "toolkit/skinframework/objects/QVTSkinPopupMenu.h"

namespace {
const UINT kSkinMenuDestroySelf = WM_APP + 1;
const UINT kSkinMenuDestroyMenu = WM_APP + 2;

struct SkinMenuRecord
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // Heard before the tracking call returned: sent, not posted.
    bool bWhileTracking;
};

std::mutex g_skinMenuLogLock;
std::vector<SkinMenuRecord> g_skinMenuLog;
std::atomic<bool> g_skinMenuTracking{false};

bool SkinMenuIsLogged(UINT message)
{
    switch (message)
    {
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_ENTERIDLE:
    case WM_MENUCHAR:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_MENUCOMMAND:
    case WM_LBUTTONDOWN:
    case WM_MENURBUTTONUP:
        return true;
    }
    return false;
}

// A context menu the owner opens over a menu item released with the right
// button, and what it chose.
HMENU g_hSkinMenuContext = nullptr;
UINT_PTR g_nSkinMenuContextChosen = 0;

LRESULT CALLBACK SkinMenuOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (SkinMenuIsLogged(message))
    {
        std::lock_guard<std::mutex> lock(g_skinMenuLogLock);
        g_skinMenuLog.push_back({hWnd, message, wParam, lParam, g_skinMenuTracking});
    }
    if (message == WM_MENURBUTTONUP && g_hSkinMenuContext != nullptr)
    {
        POINT pt;
        ::GetCursorPos(&pt);
        g_nSkinMenuContextChosen =
            ::TrackPopupMenu(g_hSkinMenuContext, TPM_RETURNCMD | TPM_RECURSE, pt.x, pt.y, 0, hWnd, nullptr);
        return 0;
    }
    if (message == kSkinMenuDestroySelf)
    {
        ::DestroyWindow(hWnd);
        return 0;
    }
    if (message == kSkinMenuDestroyMenu)
    {
        ::DestroyMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    }
    // Owner-drawn items get no answer from here.
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND SkinMenuCreateOwner(const CRect& rc, DWORD dwExStyle = 0)
{
    static ATOM atom = 0;
    if (atom == 0)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = SkinMenuOwnerProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = u"SkinMenuTestOwner";
        atom = ::RegisterClassW(&wc);
    }
    return ::CreateWindowExW(dwExStyle | WS_EX_TOPMOST, u"SkinMenuTestOwner", u"", WS_POPUP | WS_VISIBLE,
                             rc.left, rc.top, rc.Width(), rc.Height(), nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

std::vector<SkinMenuRecord> SkinMenuTakeLog()
{
    std::lock_guard<std::mutex> lock(g_skinMenuLogLock);
    std::vector<SkinMenuRecord> log;
    log.swap(g_skinMenuLog);
    return log;
}

BOOL CALLBACK SkinMenuCollectPopup(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (::lstrcmpW(szClass, CQVTSkinPopupMenu::GetWindowClassName()) == 0 && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The visible popups of the thread, newest first.
std::vector<HWND> SkinMenuPopups(DWORD dwThread)
{
    std::vector<HWND> popups;
    ::EnumThreadWindows(dwThread, SkinMenuCollectPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

// For scripts: waits for that many popups of the menu thread.
std::vector<HWND> SkinMenuWaitPopups(DWORD dwThread, size_t nCount, DWORD dwTimeout = 5000)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        std::vector<HWND> popups = SkinMenuPopups(dwThread);
        if (popups.size() == nCount || ::GetTickCount() - dwStart > dwTimeout)
            return popups;
        ::Sleep(20);
    }
}

CRect SkinMenuRect(HWND hWnd)
{
    CRect rc;
    ::GetWindowRect(hWnd, rc);
    return rc;
}

void SkinMenuScriptKey(WORD wKey)
{
    KeyPress(wKey);
    ::Sleep(60);
}

// Runs the menu on this thread while the script drives it from another. A
// script that leaves the menu open is ended by cancelling the owner's mode
// (and the flag tells).
std::atomic<bool> g_skinMenuCancelled{false};
UINT_PTR SkinMenuTrack(HMENU hMenu, UINT nFlags, CPoint pt, HWND hWndOwner, std::function<void(DWORD)> script)
{
    const DWORD dwThread = ::GetCurrentThreadId();
    WinThread thread([=] {
        script(dwThread);
        const DWORD dwStart = ::GetTickCount();
        while (!SkinMenuPopups(dwThread).empty() && ::GetTickCount() - dwStart < 2000)
            ::Sleep(20);
        if (!SkinMenuPopups(dwThread).empty() && ::IsWindow(hWndOwner))
        {
            g_skinMenuCancelled = true;
            ::PostMessageW(hWndOwner, WM_CANCELMODE, 0, 0);
        }
    });
    g_skinMenuCancelled = false;
    g_skinMenuTracking = true;
    const UINT_PTR nResult = QVTSkinTrackPopupMenu(hMenu, nFlags, pt.x, pt.y, hWndOwner, nullptr);
    g_skinMenuTracking = false;
    thread.join();
    PumpMessages(50);
    return nResult;
}

std::vector<SkinMenuRecord> SkinMenuOnly(const std::vector<SkinMenuRecord>& log, UINT message)
{
    std::vector<SkinMenuRecord> only;
    for (const SkinMenuRecord& record : log)
        if (record.message == message)
            only.push_back(record);
    return only;
}

// The identifier of the last item selected (0xFFFF-flagged closings left out).
UINT SkinMenuLastSelected(const std::vector<SkinMenuRecord>& log)
{
    UINT nLast = 0;
    for (const SkinMenuRecord& record : log)
        if (record.message == WM_MENUSELECT && HIWORD(record.wParam) != 0xFFFF)
            nLast = LOWORD(record.wParam);
    return nLast;
}

}  // namespace

class SkinMenus : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Freed blocks are overwritten, so that what the loop touches after a
        // window took its objects away shows.
        mallopt(M_PERTURB, 0x5A);
        ASSERT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));
        s_hWndOwner = SkinMenuCreateOwner(CRect(40, 40, 340, 240));
        s_hWndTarget = SkinMenuCreateOwner(CRect(900, 40, 1100, 240));
        s_hMain = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SKINMENU_MAIN));
        s_hLong = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SKINMENU_LONG));
    }
    static void TearDownTestSuite()
    {
        ::DestroyMenu(s_hMain);
        ::DestroyMenu(s_hLong);
        ::DestroyWindow(s_hWndTarget);
        ::DestroyWindow(s_hWndOwner);
        QVTSkinManager()->LoadSkin(nullptr, nullptr);
        QVTSoundPlayer()->Stop();
    }
    void SetUp() override
    {
        ::SetForegroundWindow(s_hWndOwner);
        ::SetFocus(s_hWndOwner);
        PumpMessages(50);
        SkinMenuTakeLog();
    }
    static HMENU File() { return ::GetSubMenu(s_hMain, 0); }

    static HWND s_hWndOwner;
    static HWND s_hWndTarget;
    static HMENU s_hMain;
    static HMENU s_hLong;
};

HWND SkinMenus::s_hWndOwner = nullptr;

HWND SkinMenus::s_hWndTarget = nullptr;

HMENU SkinMenus::s_hMain = nullptr;

HMENU SkinMenus::s_hLong = nullptr;

TEST_F(SkinMenus, KeyboardRunHandsTheOwnerItsNotificationsInOrder)
{
    HMENU hFile = File();
    HMENU hSub = ::GetSubMenu(hFile, 2);
    std::atomic<bool> bShown{false};
    std::atomic<int> nPopups{0};
    const UINT_PTR nResult = SkinMenuTrack(hFile, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        bShown = SkinMenuWaitPopups(dwThread, 1).size() == 1;
        for (WORD wKey : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT})
            SkinMenuScriptKey(wKey);
        nPopups = (int)SkinMenuWaitPopups(dwThread, 2).size();
        SkinMenuScriptKey(VK_RETURN);
    });
    EXPECT_TRUE(bShown);
    EXPECT_EQ(2, nPopups.load());
    EXPECT_EQ(TRUE, nResult);
    EXPECT_TRUE(SkinMenuPopups(::GetCurrentThreadId()).empty());

    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    EXPECT_FALSE(SkinMenuOnly(log, WM_ENTERIDLE).empty());
    for (const SkinMenuRecord& record : SkinMenuOnly(log, WM_ENTERIDLE))
        EXPECT_EQ((WPARAM)MSGF_MENU, record.wParam);
    std::vector<SkinMenuRecord> seen;
    for (const SkinMenuRecord& record : log)
        if (record.message != WM_ENTERIDLE)
            seen.push_back(record);
    const WPARAM wSelectSub = MAKEWPARAM(2, MF_POPUP);
    const std::vector<SkinMenuRecord> expected = {
        {s_hWndOwner, WM_ENTERMENULOOP, TRUE, 0},
        {s_hWndOwner, WM_INITMENU, (WPARAM)hFile, 0},
        {s_hWndOwner, WM_INITMENUPOPUP, (WPARAM)hFile, 0},
        {s_hWndOwner, WM_MENUSELECT, MAKEWPARAM(ID_SKINMENU_OPEN, 0), (LPARAM)hFile},
        {s_hWndOwner, WM_MENUSELECT, MAKEWPARAM(ID_SKINMENU_SAVE, 0), (LPARAM)hFile},
        {s_hWndOwner, WM_MENUSELECT, wSelectSub, (LPARAM)hFile},
        {s_hWndOwner, WM_INITMENUPOPUP, (WPARAM)hSub, MAKELPARAM(2, 0)},
        {s_hWndOwner, WM_MENUSELECT, MAKEWPARAM(ID_SKINMENU_ALPHA, 0), (LPARAM)hSub},
        {s_hWndOwner, WM_UNINITMENUPOPUP, (WPARAM)hSub, 0},
        {s_hWndOwner, WM_UNINITMENUPOPUP, (WPARAM)hFile, 0},
        {s_hWndOwner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0},
        {s_hWndOwner, WM_EXITMENULOOP, TRUE, 0},
        {s_hWndOwner, WM_COMMAND, MAKEWPARAM(ID_SKINMENU_ALPHA, 0), 0},
    };
    ASSERT_EQ(expected.size(), seen.size());
    for (size_t i = 0; i < expected.size(); i++)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].message, seen[i].message);
        EXPECT_EQ(expected[i].wParam, seen[i].wParam);
        EXPECT_EQ(expected[i].lParam, seen[i].lParam);
    }
}

TEST_F(SkinMenus, SharedMnemonicOnlyMovesUniqueOneExecutesAndReturnCommandSendsNothing)
{
    // "&Print" and "&Preview" share P; "E&xit" is alone with X.
    std::vector<UINT> selectedAfterP;
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        SkinMenuScriptKey('P');
        SkinMenuScriptKey('P');
        SkinMenuScriptKey('P');
        SkinMenuScriptKey('X');
    });
    EXPECT_EQ(TRUE, nResult);
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    std::vector<UINT> selections;
    for (const SkinMenuRecord& record : SkinMenuOnly(log, WM_MENUSELECT))
        if (HIWORD(record.wParam) != 0xFFFF)
            selections.push_back(LOWORD(record.wParam));
    const std::vector<UINT> expected = {ID_SKINMENU_PRINT, ID_SKINMENU_PREVIEW, ID_SKINMENU_PRINT,
                                        ID_SKINMENU_EXIT};
    EXPECT_EQ(expected, selections);
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(log, WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)ID_SKINMENU_EXIT, commands[0].wParam);
    EXPECT_TRUE(SkinMenuOnly(log, WM_MENUCHAR).empty());

    // With TPM_RETURNCMD the caller gets the command and the owner nothing.
    const UINT_PTR nCommand =
        SkinMenuTrack(File(), TPM_RETURNCMD, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
            SkinMenuWaitPopups(dwThread, 1);
            SkinMenuScriptKey(VK_DOWN);
            SkinMenuScriptKey(VK_RETURN);
        });
    EXPECT_EQ((UINT_PTR)ID_SKINMENU_OPEN, nCommand);
    EXPECT_TRUE(SkinMenuOnly(SkinMenuTakeLog(), WM_COMMAND).empty());
}

TEST_F(SkinMenus, AMenuNotifyingByPositionSendsTheItemsPlaceWhereOthersPostTheCommand)
{
    HMENU hFile = File();
    auto setStyle = [hFile](DWORD dwStyle) {
        MENUINFO mi = {sizeof(mi), MIM_STYLE};
        mi.dwStyle = dwStyle;
        return ::SetMenuInfo(hFile, &mi);
    };
    EXPECT_TRUE(setStyle(MNS_NOTIFYBYPOS));
    // Save, the second item of the menu that has the style; then Alpha, in
    // the submenu without it.
    SkinMenuTrack(hFile, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        for (WORD wKey : {VK_DOWN, VK_DOWN, VK_RETURN})
            SkinMenuScriptKey(wKey);
    });
    const std::vector<SkinMenuRecord> save = SkinMenuTakeLog();
    SkinMenuTrack(hFile, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        for (WORD wKey : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT})
            SkinMenuScriptKey(wKey);
        SkinMenuWaitPopups(dwThread, 2);
        SkinMenuScriptKey(VK_RETURN);
    });
    const std::vector<SkinMenuRecord> alpha = SkinMenuTakeLog();
    setStyle(0);

    EXPECT_TRUE(SkinMenuOnly(save, WM_COMMAND).empty());
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(save, WM_MENUCOMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(1u, commands[0].wParam);
    EXPECT_EQ((LPARAM)hFile, commands[0].lParam);
    EXPECT_TRUE(commands[0].bWhileTracking) << "sent";

    EXPECT_TRUE(SkinMenuOnly(alpha, WM_MENUCOMMAND).empty());
    commands = SkinMenuOnly(alpha, WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)ID_SKINMENU_ALPHA, commands[0].wParam);
    EXPECT_FALSE(commands[0].bWhileTracking) << "posted";
}

TEST_F(SkinMenus, EscapeClosesOneLevelAtATimeAndAnUnknownLetterAsksTheOwner)
{
    HMENU hSub = ::GetSubMenu(File(), 2);
    std::atomic<int> nAfterEscape{-1};
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        SkinMenuScriptKey('M');  // "Sub&menu" is unique: it opens
        SkinMenuWaitPopups(dwThread, 2);
        SkinMenuScriptKey(VK_ESCAPE);
        nAfterEscape = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey('K');  // no item has K
        SkinMenuScriptKey(VK_ESCAPE);
    });
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ(1, nAfterEscape.load());
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    std::vector<SkinMenuRecord> menuChars = SkinMenuOnly(log, WM_MENUCHAR);
    ASSERT_EQ(1u, menuChars.size());
    EXPECT_EQ((WPARAM)u'k', LOWORD(menuChars[0].wParam));
    EXPECT_EQ((WPARAM)MF_POPUP, HIWORD(menuChars[0].wParam));
    EXPECT_EQ((LPARAM)File(), menuChars[0].lParam);
    EXPECT_EQ(1u, SkinMenuOnly(log, WM_INITMENUPOPUP).size() - 1);
    EXPECT_EQ((WPARAM)hSub, SkinMenuOnly(log, WM_UNINITMENUPOPUP).front().wParam);
    EXPECT_TRUE(SkinMenuOnly(log, WM_COMMAND).empty());
}

TEST_F(SkinMenus, HoveringOpensASubmenuAndLeavingItClosesIt)
{
    std::atomic<int> nAfterHover{0}, nAfterLeave{0};
    SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.empty())
            return;
        // Down the items until the submenu's item is selected.
        const CRect rc = SkinMenuRect(popups[0]);
        for (int y = rc.top + 5; y < rc.bottom; y += 4)
        {
            ScriptMouseMove(CPoint(rc.left + 40, y), 30);
            std::lock_guard<std::mutex> lock(g_skinMenuLogLock);
            if (SkinMenuLastSelected(g_skinMenuLog) == 2)
                break;
        }
        nAfterHover = (int)SkinMenuWaitPopups(dwThread, 2, 2000).size();
        ScriptMouseMove(CPoint(rc.left + 40, rc.top + 3 + 5), 30);
        nAfterLeave = (int)SkinMenuWaitPopups(dwThread, 1, 2000).size();
        SkinMenuScriptKey(VK_ESCAPE);
    });
    EXPECT_EQ(2, nAfterHover.load());
    EXPECT_EQ(1, nAfterLeave.load());
}

TEST_F(SkinMenus, ClickOutsideEndsTheMenuAndStillReachesTheWindowUnderThePointer)
{
    const CPoint ptTarget = WindowCentre(s_hWndTarget);
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        ScriptMouseMove(ptTarget, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
    });
    EXPECT_EQ(TRUE, nResult);
    PumpMessages(100);
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    EXPECT_TRUE(SkinMenuOnly(log, WM_COMMAND).empty());
    std::vector<SkinMenuRecord> clicks = SkinMenuOnly(log, WM_LBUTTONDOWN);
    ASSERT_EQ(1u, clicks.size());
    EXPECT_EQ(s_hWndTarget, clicks[0].hWnd);
    CPoint ptClient = ptTarget;
    ::ScreenToClient(s_hWndTarget, &ptClient);
    EXPECT_EQ(MAKELPARAM(ptClient.x, ptClient.y), clicks[0].lParam);
}

TEST_F(SkinMenus, PopupPaintsTheSkinsPartsAndAClickOnAnItemExecutesIt)
{
    // What the skin's parts draw: the selected item and the gutter.
    CQVTSkinManagerClass* pMenuClass = QVTSkinManager()->GetSchema()->GetClass(u"MENU");
    ASSERT_NE(nullptr, pMenuClass);
    DibCanvas selected(40, 30), gutter(40, 30);
    ASSERT_TRUE(pMenuClass->DrawThemeBackground(&selected.dc, 14, 2, CRect(0, 0, 40, 30)));
    ASSERT_TRUE(pMenuClass->DrawThemeBackground(&gutter.dc, 13, 0, CRect(0, 0, 40, 30)));
    const COLORREF clrSelected = selected.At(20, 15), clrGutter = gutter.At(20, 15);
    ASSERT_NE(clrSelected, clrGutter);
    std::atomic<int> nSelected{0}, nGutter{0};
    std::atomic<bool> bShown{false};
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.empty())
            return;
        const CRect rc = SkinMenuRect(popups[0]);
        // The second item ("&Save") lies below the first under the pointer.
        ScriptMouseMove(CPoint(rc.left + 40, rc.top + 3 + 30), 300);
        HDC hScreen = ::GetDC(nullptr);
        int nCountSelected = 0, nCountGutter = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
            {
                const COLORREF clr = ::GetPixel(hScreen, x, y);
                nCountSelected += clr == clrSelected;
                nCountGutter += clr == clrGutter && x < rc.left + 40;
            }
        ::ReleaseDC(nullptr, hScreen);
        nSelected = nCountSelected;
        nGutter = nCountGutter;
        bShown = true;
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
    });
    EXPECT_EQ(TRUE, nResult);
    EXPECT_TRUE(bShown);
    EXPECT_GT(nSelected.load(), 20 * 10);
    EXPECT_GT(nGutter.load(), 20 * 60);
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(log, WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)SkinMenuLastSelected(log), commands[0].wParam);
    EXPECT_NE((WPARAM)0, commands[0].wParam);
    for (const SkinMenuRecord& record : SkinMenuOnly(log, WM_MENUSELECT))
    {
        if (HIWORD(record.wParam) != 0xFFFF)
        {
            EXPECT_TRUE(HIWORD(record.wParam) & MF_MOUSESELECT);
        }
    }
}

TEST_F(SkinMenus, RightButtonChoosesOnlyInAMenuTrackedWithIt)
{
    for (UINT nFlags : {0u, (UINT)TPM_RIGHTBUTTON})
    {
        SCOPED_TRACE(nFlags);
        SkinMenuTrack(File(), nFlags, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
            std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
            if (popups.empty())
                return;
            const CRect rc = SkinMenuRect(popups[0]);
            ScriptMouseMove(CPoint(rc.left + 40, rc.top + 3 + 5), 100);
            ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, 60);
            ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 100);
            if (!SkinMenuPopups(dwThread).empty())
                SkinMenuScriptKey(VK_ESCAPE);
        });
        std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
        std::vector<SkinMenuRecord> commands = SkinMenuOnly(log, WM_COMMAND);
        std::vector<SkinMenuRecord> rightUps = SkinMenuOnly(log, WM_MENURBUTTONUP);
        if (nFlags == 0)
        {
            EXPECT_TRUE(commands.empty());
            ASSERT_EQ(1u, rightUps.size());
            EXPECT_EQ((WPARAM)0, rightUps[0].wParam);
            EXPECT_EQ((LPARAM)File(), rightUps[0].lParam);
        }
        else
        {
            ASSERT_EQ(1u, commands.size());
            EXPECT_EQ((WPARAM)ID_SKINMENU_OPEN, commands[0].wParam);
            EXPECT_TRUE(rightUps.empty());
        }
    }
}

// A context menu asked for from inside the loop opens over the menu and
// answers; the menu goes on underneath until it is closed itself.
TEST_F(SkinMenus, AContextMenuOverAnItemOpensOverTheMenuWhichGoesOnAfterwards)
{
    g_hSkinMenuContext = ::CreatePopupMenu();
    ::AppendMenuW(g_hSkinMenuContext, MF_STRING, 7001, u"&First");
    ::AppendMenuW(g_hSkinMenuContext, MF_STRING, 7002, u"&Second");
    g_nSkinMenuContextChosen = 0;
    std::atomic<int> nDuring{-1}, nAfter{-1};
    SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.empty())
            return;
        const CRect rc = SkinMenuRect(popups[0]);
        ScriptMouseMove(CPoint(rc.left + 40, rc.top + 3 + 5), 100);
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 100);
        nDuring = (int)SkinMenuWaitPopups(dwThread, 2).size();
        SkinMenuScriptKey(VK_DOWN);
        SkinMenuScriptKey(VK_DOWN);
        SkinMenuScriptKey(VK_RETURN);
        nAfter = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey(VK_ESCAPE);
    });
    ::DestroyMenu(g_hSkinMenuContext);
    g_hSkinMenuContext = nullptr;
    EXPECT_EQ(2, nDuring.load());
    EXPECT_EQ((UINT_PTR)7002, g_nSkinMenuContextChosen);
    EXPECT_EQ(1, nAfter.load());
    EXPECT_FALSE(g_skinMenuCancelled.load()) << "the menu closed by its own Escape";
    EXPECT_TRUE(SkinMenuOnly(SkinMenuTakeLog(), WM_COMMAND).empty());
}

TEST_F(SkinMenus, PopupTallerThanTheWorkAreaScrollsWhileThePointerRestsOnItsButton)
{
    CRect rcOldWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcOldWork, 0);
    CRect rcWork(0, 100, 1280, 500);
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &rcWork, 0);
    std::atomic<int> nHeight{0};
    const UINT_PTR nResult =
        SkinMenuTrack(::GetSubMenu(s_hLong, 0), 0, CPoint(60, 120), s_hWndOwner, [&](DWORD dwThread) {
            std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
            if (popups.empty())
                return;
            const CRect rc = SkinMenuRect(popups[0]);
            nHeight = rc.Height();
            ScriptMouseMove(CPoint(rc.left + 30, rc.bottom - 12), 1500);
            // The top button has appeared: the first item below it.
            ScriptMouseMove(CPoint(rc.left + 30, rc.top + 3 + 30), 200);
            SkinMenuScriptKey(VK_ESCAPE);
        });
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &rcOldWork, 0);
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ(rcWork.Height(), nHeight.load());
    const UINT nTop = SkinMenuLastSelected(SkinMenuTakeLog());
    // About five steps a second; the first items have scrolled away.
    EXPECT_GE(nTop, (UINT)ID_SKINMENU_LONGFIRST + 3);
    EXPECT_LE(nTop, (UINT)ID_SKINMENU_LONGFIRST + 20);
}

TEST_F(SkinMenus, RightToLeftOwnerOpensLeftwardsAndSwapsTheArrowKeys)
{
    HWND hWndRtl = SkinMenuCreateOwner(CRect(400, 300, 600, 400), WS_EX_LAYOUTRTL | WS_EX_NOACTIVATE);
    ASSERT_NE(nullptr, hWndRtl);
    std::atomic<int> nTopRight{0}, nTopLeft{0}, nSubRight{0};
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(700, 150), hWndRtl, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.empty())
            return;
        nTopRight = SkinMenuRect(popups[0]).right;
        nTopLeft = SkinMenuRect(popups[0]).left;
        for (WORD wKey : {VK_DOWN, VK_DOWN, VK_DOWN, VK_LEFT})
            SkinMenuScriptKey(wKey);
        popups = SkinMenuWaitPopups(dwThread, 2);
        if (popups.size() == 2)
            nSubRight = SkinMenuRect(popups[0]).right;
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuScriptKey(VK_ESCAPE);
    });
    ::DestroyWindow(hWndRtl);
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ(700, nTopRight.load());
    ASSERT_NE(0, nSubRight.load());
    EXPECT_LE(nSubRight.load(), nTopLeft.load() + 8);
}

TEST_F(SkinMenus, QuitPostedDuringTheLoopReachesTheApplicationsLoop)
{
    const UINT_PTR nResult = SkinMenuTrack(File(), 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        ::PostThreadMessageW(dwThread, WM_QUIT, 7, 0);
        ::Sleep(100);
    });
    MSG msg = {};
    const BOOL bQuit = ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(TRUE, nResult);
    EXPECT_TRUE(bQuit);
    EXPECT_EQ((WPARAM)7, msg.wParam);
    EXPECT_FALSE(g_skinMenuCancelled);
    EXPECT_TRUE(SkinMenuPopups(::GetCurrentThreadId()).empty());
}

TEST_F(SkinMenus, OwnerOrMenuDestroyedDuringTheLoopEndsItCleanly)
{
    HWND hWndDoomed = SkinMenuCreateOwner(CRect(400, 300, 600, 400), WS_EX_NOACTIVATE);
    SkinMenuTrack(File(), 0, CPoint(60, 60), hWndDoomed, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        ::PostMessageW(hWndDoomed, kSkinMenuDestroySelf, 0, 0);
        ::Sleep(200);
    });
    EXPECT_FALSE(g_skinMenuCancelled);
    EXPECT_FALSE(::IsWindow(hWndDoomed));
    EXPECT_TRUE(SkinMenuPopups(::GetCurrentThreadId()).empty());
    EXPECT_EQ(nullptr, ::GetCapture());

    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, 500, u"&Gone");
    SkinMenuTrack(hMenu, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        SkinMenuWaitPopups(dwThread, 1);
        ::PostMessageW(s_hWndOwner, kSkinMenuDestroyMenu, reinterpret_cast<WPARAM>(hMenu), 0);
        ::Sleep(200);
    });
    EXPECT_FALSE(g_skinMenuCancelled);
    EXPECT_FALSE(::IsMenu(hMenu));
    EXPECT_TRUE(SkinMenuPopups(::GetCurrentThreadId()).empty());
    EXPECT_EQ(nullptr, ::GetCapture());
}

namespace {
BOOL CALLBACK SkinMenuCollectSystemPopup(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (::lstrcmpW(szClass, u"#32768") == 0 && ::IsWindowVisible(hWnd))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

BOOL WINAPI SkinMenuProgramTrack(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd)
{
    return ::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWnd, nullptr);
}

int SkinMenuSystemPopups(DWORD dwThread)
{
    int nCount = 0;
    ::EnumThreadWindows(dwThread, SkinMenuCollectSystemPopup, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}
}  // namespace

TEST_F(SkinMenus, TrackPopupMenuOfTheProgramAndOfAModuleIsSkinnedWhileMenusAreApplied)
{
    // The module comes after the menus option went: the skin was loaded with
    // it, so its rows were patched once before.
    typedef BOOL(WINAPI * PFNTRACK)(HMENU, UINT, int, int, HWND);
    typedef BOOL(WINAPI * PFNITEMRECT)(HWND, HMENU, UINT, LPRECT);
    PFNTRACK pfnModule = nullptr;
    PFNITEMRECT pfnItemRect = nullptr;
    const DWORD dwThread = ::GetCurrentThreadId();
    for (UINT nOptions : {7u, (UINT)qvtSkinApplyAll})
    {
        QVTSkinManager()->SetApplyOptions(nOptions);
        if (!pfnModule)
        {
            HMODULE hModule = ::LoadLibraryW(u"skinmenutest.dll");
            ASSERT_NE(nullptr, hModule);
            pfnModule = reinterpret_cast<PFNTRACK>(::GetProcAddress(hModule, "SkinMenuTestTrack"));
            pfnItemRect = reinterpret_cast<PFNITEMRECT>(::GetProcAddress(hModule, "SkinMenuTestItemRect"));
            ASSERT_NE(nullptr, pfnModule);
            ASSERT_NE(nullptr, pfnItemRect);
        }
        // The program's import and the module's.
        const PFNTRACK callers[] = {SkinMenuProgramTrack, pfnModule};
        for (PFNTRACK pfnTrack : callers)
        {
            SCOPED_TRACE(nOptions);
            std::atomic<int> nSkinned{-1}, nSystem{-1}, nItemRect{-1};
            WinThread script([&] {
                const DWORD dwStart = ::GetTickCount();
                while (SkinMenuPopups(dwThread).empty() && SkinMenuSystemPopups(dwThread) == 0 &&
                       ::GetTickCount() - dwStart < 5000)
                    ::Sleep(20);
                nSkinned = (int)SkinMenuPopups(dwThread).size();
                nSystem = SkinMenuSystemPopups(dwThread);
                // The system's popup has item rectangles; the skinned one none.
                RECT rc = {};
                nItemRect = pfnItemRect(s_hWndOwner, File(), 0, &rc);
                SkinMenuScriptKey(VK_ESCAPE);
                SkinMenuScriptKey(VK_ESCAPE);
            });
            pfnTrack(File(), 0, 60, 60, s_hWndOwner);
            script.join();
            PumpMessages(50);
            EXPECT_EQ(nOptions == qvtSkinApplyAll ? 1 : 0, nSkinned.load());
            EXPECT_EQ(nOptions == qvtSkinApplyAll ? 0 : 1, nSystem.load());
            EXPECT_EQ(nOptions == qvtSkinApplyAll ? 0 : 1, nItemRect.load());
        }
    }
    QVTSkinManager()->SetApplyOptions(qvtSkinApplyAll);
    SkinMenuTakeLog();
}

TEST_F(SkinMenus, HostileMenusOpen)
{
    // Five thousand items.
    HMENU hHuge = ::CreatePopupMenu();
    for (int i = 0; i < 5000; i++)
    {
        CString str;
        str.Format(u"Entry %d", i);
        ::AppendMenuW(hHuge, MF_STRING, 1000 + i, str);
    }
    std::atomic<bool> bShown{false};
    SkinMenuTrack(hHuge, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        bShown = SkinMenuWaitPopups(dwThread, 1, 15000).size() == 1;
        SkinMenuScriptKey(VK_ESCAPE);
    });
    ::DestroyMenu(hHuge);
    EXPECT_TRUE(bShown);

    // A text far longer than any fixed buffer, its mnemonic at the end.
    HMENU hLong = ::CreatePopupMenu();
    CString strLong(u'W', 600);
    strLong += u" &Z";
    ::AppendMenuW(hLong, MF_STRING, 600, u"&First");
    ::AppendMenuW(hLong, MF_STRING, 601, strLong);
    std::atomic<int> nWidth{0};
    SkinMenuTrack(hLong, 0, CPoint(0, 60), s_hWndOwner, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (!popups.empty())
            nWidth = SkinMenuRect(popups[0]).Width();
        SkinMenuScriptKey('Z');
    });
    ::DestroyMenu(hLong);
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(log, WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)601, commands[0].wParam);
    EXPECT_GT(nWidth.load(), 600 * 4);

    // Owner-drawn items whose owner answers neither measuring nor drawing
    // keep a height the pointer can reach.
    HMENU hDrawn = ::CreatePopupMenu();
    ::AppendMenuW(hDrawn, MF_OWNERDRAW, 700, reinterpret_cast<LPCWSTR>(1));
    ::AppendMenuW(hDrawn, MF_OWNERDRAW, 701, reinterpret_cast<LPCWSTR>(2));
    ::AppendMenuW(hDrawn, MF_STRING, 702, u"&Text");
    SkinMenuTrack(hDrawn, 0, CPoint(60, 60), s_hWndOwner, [&](DWORD dwThread) {
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.empty())
            return;
        const CRect rc = SkinMenuRect(popups[0]);
        ScriptMouseMove(CPoint(rc.left + 20, rc.top + 3 + 5), 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
    });
    ::DestroyMenu(hDrawn);
    commands = SkinMenuOnly(SkinMenuTakeLog(), WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)700, commands[0].wParam);

    // Nothing to show: no owner, an empty menu.
    HMENU hEmpty = ::CreatePopupMenu();
    EXPECT_EQ((UINT_PTR)FALSE, QVTSkinTrackPopupMenu(hEmpty, 0, 10, 10, s_hWndOwner, nullptr));
    EXPECT_EQ((UINT_PTR)FALSE, QVTSkinTrackPopupMenu(File(), 0, 10, 10, nullptr, nullptr));
    ::DestroyMenu(hEmpty);
}

namespace {
WNDPROC g_skinMenuFrameNext = nullptr;

// Records what the frame window hears above the skin object's procedure.
LRESULT CALLBACK SkinMenuFrameLogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (SkinMenuIsLogged(message))
    {
        std::lock_guard<std::mutex> lock(g_skinMenuLogLock);
        g_skinMenuLog.push_back({hWnd, message, wParam, lParam, g_skinMenuTracking});
    }
    if (message == kSkinMenuDestroySelf)
    {
        ::DestroyWindow(hWnd);
        return 0;
    }
    return ::CallWindowProcW(g_skinMenuFrameNext, hWnd, message, wParam, lParam);
}

// A top-level window with the main menu as its menu bar: an unmapped class
// of user32's own procedure (found by name: the plain name is our import
// thunk), so the manager gives it the application frame and handles its
// messages in its procedure; a recorder sits above.
HWND SkinMenuCreateFrame(const CRect& rc, HMENU hMenu, DWORD dwExStyle = 0)
{
    static ATOM atom = 0;
    if (atom == 0)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc =
            reinterpret_cast<WNDPROC>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"));
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = u"SkinMenuTestFrame";
        atom = ::RegisterClassW(&wc);
    }
    HWND hWnd =
        ::CreateWindowExW(WS_EX_TOPMOST | dwExStyle, u"SkinMenuTestFrame", u"Frame",
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, rc.left, rc.top, rc.Width(),
                          rc.Height(), nullptr, hMenu, ::GetModuleHandleW(nullptr), nullptr);
    if (hWnd != nullptr)
        g_skinMenuFrameNext = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinMenuFrameLogProc)));
    return hWnd;
}

CQVTSkinObjectApplicationFrame* SkinMenuFrameOf(HWND hWnd)
{
    CQVTSkinObject* pObject = QVTSkinManager()->Lookup(hWnd);
    return pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectApplicationFrame))
               ? static_cast<CQVTSkinObjectApplicationFrame*>(pObject)
               : nullptr;
}

// The screen rectangle of a menu-bar item.
CRect SkinMenuBarItemRect(HWND hWnd, int nIndex)
{
    CQVTSkinObjectApplicationFrame* pFrame = SkinMenuFrameOf(hWnd);
    return pFrame != nullptr ? pFrame->GetMenuBar()->GetItemScreenRect(nIndex) : CRect(0, 0, 0, 0);
}

int SkinMenuCountColour(const CRect& rcScreen, COLORREF clr)
{
    HDC hScreen = ::GetDC(nullptr);
    int nCount = 0;
    for (int y = rcScreen.top; y < rcScreen.bottom; y++)
        for (int x = rcScreen.left; x < rcScreen.right; x++)
            nCount += ::GetPixel(hScreen, x, y) == clr;
    ::ReleaseDC(nullptr, hScreen);
    return nCount;
}

}  // namespace

class SkinMenuBar : public SkinMenus
{
protected:
    void SetUp() override
    {
        m_hMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SKINMENU_MAIN));
        m_hWnd = SkinMenuCreateFrame(CRect(300, 420, 700, 640), m_hMenu);
        ASSERT_NE(nullptr, m_hWnd);
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
        PumpMessages(100);
        SkinMenuTakeLog();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        PumpMessages(20);
    }
    HMENU m_hMenu = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(SkinMenuBar, BarTakesItsRowsInTheSkinsColoursAndIsHotUnderThePointer)
{
    CQVTSkinObjectApplicationFrame* pFrame = SkinMenuFrameOf(m_hWnd);
    ASSERT_NE(nullptr, pFrame);
    const CRect rcBar = pFrame->GetMenuBarRect();
    ASSERT_FALSE(rcBar.IsRectEmpty());
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENU) + 1, rcBar.Height());
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, rcWindow);
    CPoint ptClient(0, 0);
    ::ClientToScreen(m_hWnd, &ptClient);
    EXPECT_EQ(rcWindow.top + rcBar.bottom, ptClient.y);

    CQVTSkinManagerMetrics* pMetrics = QVTSkinManager()->GetSchema()->GetMetrics();
    CRect rcScreenBar = rcBar;
    rcScreenBar.OffsetRect(rcWindow.TopLeft());
    const CRect rcEdit = SkinMenuBarItemRect(m_hWnd, 1);
    EXPECT_EQ(0, SkinMenuCountColour(rcEdit, pMetrics->GetColor(COLOR_HIGHLIGHT)));
    EXPECT_GT(SkinMenuCountColour(rcScreenBar, pMetrics->GetColor(COLOR_BTNFACE)), rcScreenBar.Width() * 4);
    // The last row of the bar is the window colour.
    EXPECT_GT(SkinMenuCountColour(
                  CRect(rcScreenBar.left, rcScreenBar.bottom - 1, rcScreenBar.right, rcScreenBar.bottom),
                  pMetrics->GetColor(COLOR_WINDOW)),
              rcScreenBar.Width() / 2);

    MouseMoveTo(rcEdit.CenterPoint());
    PumpMessages(200);
    EXPECT_GT(SkinMenuCountColour(rcEdit, pMetrics->GetColor(COLOR_HIGHLIGHT)), rcEdit.Width() * 4);
    MouseMoveTo(CPoint(rcWindow.left + 40, rcWindow.bottom - 20));
    PumpMessages(300);
    EXPECT_EQ(0, SkinMenuCountColour(rcEdit, pMetrics->GetColor(COLOR_HIGHLIGHT)));

    // An empty menu and a menu taken away leave no bar.
    HMENU hEmpty = ::CreateMenu();
    ::SetMenu(m_hWnd, hEmpty);
    pFrame->OnMenuChanged();
    PumpMessages(50);
    EXPECT_TRUE(pFrame->GetMenuBarRect().IsRectEmpty());
    ::SetMenu(m_hWnd, m_hMenu);
    pFrame->OnMenuChanged();
    PumpMessages(50);
    EXPECT_FALSE(pFrame->GetMenuBarRect().IsRectEmpty());
    ::SetMenu(m_hWnd, nullptr);
    pFrame->OnMenuChanged();
    PumpMessages(50);
    EXPECT_TRUE(pFrame->GetMenuBarRect().IsRectEmpty());
    ::DestroyMenu(hEmpty);
    ::DestroyMenu(m_hMenu);
}

TEST_F(SkinMenuBar, ItemsPastTheRightEdgeWrapToAnotherRowWhereARightJustifiedOneEndsFlush)
{
    UINT nId = 700;
    for (LPCWSTR lpszText : {u"&View", u"&Insert", u"F&ormat", u"&Tools", u"T&able", u"&Window", u"A&rrange"})
        ::AppendMenuW(m_hMenu, MF_STRING, nId++, lpszText);
    ::AppendMenuW(m_hMenu, MF_STRING | MF_HELP, nId, u"&Help");
    CQVTSkinObjectApplicationFrame* pFrame = SkinMenuFrameOf(m_hWnd);
    ASSERT_NE(nullptr, pFrame);
    pFrame->OnMenuChanged();
    PumpMessages(50);
    CRect rcBar = pFrame->GetMenuBarRect();
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, rcWindow);
    rcBar.OffsetRect(rcWindow.TopLeft());
    const int nCount = ::GetMenuItemCount(m_hMenu);
    int nRows = 1;
    for (int i = 0; i < nCount; ++i)
    {
        SCOPED_TRACE(i);
        const CRect rcItem = SkinMenuBarItemRect(m_hWnd, i);
        EXPECT_GE(rcItem.left, rcBar.left);
        EXPECT_LE(rcItem.right, rcBar.right);
        if (i > 0 && rcItem.top != SkinMenuBarItemRect(m_hWnd, i - 1).top)
        {
            ++nRows;
            EXPECT_EQ(rcBar.left, rcItem.left) << "a row starts at the left";
        }
    }
    EXPECT_GE(nRows, 2);
    EXPECT_EQ(nRows * ::GetSystemMetrics(SM_CYMENU) + 1, rcBar.Height());
    EXPECT_EQ(rcBar.right, SkinMenuBarItemRect(m_hWnd, nCount - 1).right);
    CPoint ptClient(0, 0);
    ::ClientToScreen(m_hWnd, &ptClient);
    EXPECT_EQ(rcBar.bottom, ptClient.y) << "the client below the last row";
}

TEST_F(SkinMenuBar, AltLetterArrowsEnterAndEscapeDriveTheBar)
{
    std::atomic<int> nAfterAltF{0}, nAfterRight{0}, nAfterEscape{-1};
    const DWORD dwThread = ::GetCurrentThreadId();
    EXPECT_TRUE(RunInputScript([&] {
        SendKey(VK_MENU, false);
        ::Sleep(30);
        SkinMenuScriptKey('F');
        SendKey(VK_MENU, true);
        nAfterAltF = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey(VK_RIGHT);  // to the Edit menu, opened
        ::Sleep(200);
        nAfterRight = (int)SkinMenuPopups(dwThread).size();
        SkinMenuScriptKey(VK_ESCAPE);  // its popup closes, the bar stays
        nAfterEscape = (int)SkinMenuWaitPopups(dwThread, 0).size();
        SkinMenuScriptKey(VK_LEFT);  // back to File, nothing open
        SkinMenuScriptKey(VK_DOWN);  // opens it, first item selected
        SkinMenuWaitPopups(dwThread, 1);
        SkinMenuScriptKey(VK_DOWN);
        SkinMenuScriptKey(VK_RETURN);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    PumpMessages(100);
    EXPECT_EQ(1, nAfterAltF.load());
    EXPECT_EQ(1, nAfterRight.load());
    EXPECT_EQ(0, nAfterEscape.load());
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    std::vector<SkinMenuRecord> inits = SkinMenuOnly(log, WM_INITMENU);
    ASSERT_EQ(1u, inits.size());
    EXPECT_EQ((WPARAM)m_hMenu, inits[0].wParam);
    std::vector<SkinMenuRecord> enters = SkinMenuOnly(log, WM_ENTERMENULOOP);
    ASSERT_EQ(1u, enters.size());
    EXPECT_EQ((WPARAM)FALSE, enters[0].wParam);
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(log, WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)ID_SKINMENU_SAVE, commands[0].wParam);
    EXPECT_TRUE(SkinMenuPopups(dwThread).empty());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(SkinMenuBar, ClicksOpenTheBarsMenuAndChooseAnItem)
{
    const CRect rcEdit = SkinMenuBarItemRect(m_hWnd, 1);
    const DWORD dwThread = ::GetCurrentThreadId();
    std::atomic<int> nOpen{0};
    EXPECT_TRUE(RunInputScript([&] {
        ScriptMouseMove(rcEdit.CenterPoint(), 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        nOpen = (int)popups.size();
        if (popups.empty())
            return;
        const CRect rc = SkinMenuRect(popups[0]);
        ScriptMouseMove(CPoint(rc.left + 20, rc.top + 3 + 6), 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    PumpMessages(100);
    EXPECT_EQ(1, nOpen.load());
    std::vector<SkinMenuRecord> commands = SkinMenuOnly(SkinMenuTakeLog(), WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((WPARAM)ID_SKINMENU_UNDO, commands[0].wParam);
}

// The bar of a frame whose MDI child is maximized: the child's system menu
// first, its minimize, restore and close buttons last. A click on a button
// chooses it; "-" opens the child's system menu.
TEST_F(SkinMenuBar, AnMdiChildsButtonsAreClickedAndMinusOpensItsSystemMenu)
{
    HMENU hChildSystem = ::CreatePopupMenu();
    ::AppendMenuW(hChildSystem, MF_STRING, SC_RESTORE, u"&Restore");
    ::AppendMenuW(hChildSystem, MF_STRING, SC_CLOSE, u"&Close");
    ::InsertMenuW(m_hMenu, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(hChildSystem),
                  reinterpret_cast<LPCWSTR>(HBMMENU_SYSTEM));
    const UINT buttons[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    const HBITMAP bitmaps[] = {HBMMENU_MBAR_MINIMIZE, HBMMENU_MBAR_RESTORE, HBMMENU_MBAR_CLOSE};
    for (int i = 0; i < 3; ++i)
        ::AppendMenuW(m_hMenu, MF_BITMAP, buttons[i], reinterpret_cast<LPCWSTR>(bitmaps[i]));
    CQVTSkinObjectApplicationFrame* pFrame = SkinMenuFrameOf(m_hWnd);
    ASSERT_NE(nullptr, pFrame);
    pFrame->OnMenuChanged();
    PumpMessages(50);
    const int nCount = ::GetMenuItemCount(m_hMenu);
    const DWORD dwThread = ::GetCurrentThreadId();
    std::set<UINT> chosen;
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const CRect rcButton = SkinMenuBarItemRect(m_hWnd, nCount - 3 + i);
        ASSERT_FALSE(rcButton.IsRectEmpty());
        const HWND hWnd = m_hWnd;
        EXPECT_TRUE(RunInputScript([&] {
            ScriptMouseMove(rcButton.CenterPoint(), 60);
            ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
            ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
            // A bar left tracking is ended, not waited for.
            ::Sleep(200);
            ::PostMessageW(hWnd, WM_CANCELMODE, 0, 0);
        }));
        PumpMessages(100);
        const std::vector<SkinMenuRecord> commands = SkinMenuOnly(SkinMenuTakeLog(), WM_COMMAND);
        EXPECT_EQ(1u, commands.size());
        for (const SkinMenuRecord& command : commands)
        {
            EXPECT_EQ((WPARAM)::GetMenuItemID(m_hMenu, nCount - 3 + i), command.wParam);
            chosen.insert((UINT)command.wParam);
        }
        // Double clicks are not what this asks for.
        ::Sleep(::GetDoubleClickTime() + 50);
    }
    EXPECT_EQ((std::set<UINT>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}), chosen);

    std::atomic<int> nOpen{0};
    EXPECT_TRUE(RunInputScript([&] {
        SendKey(VK_MENU, false);
        ::Sleep(30);
        SkinMenuScriptKey(VK_OEM_MINUS);
        SendKey(VK_MENU, true);
        nOpen = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    PumpMessages(100);
    EXPECT_EQ(1, nOpen.load());
    bool bChildMenu = false;
    for (const SkinMenuRecord& record : SkinMenuOnly(SkinMenuTakeLog(), WM_INITMENUPOPUP))
        bChildMenu = bChildMenu || record.wParam == reinterpret_cast<WPARAM>(hChildSystem);
    EXPECT_TRUE(bChildMenu);
}

TEST_F(SkinMenuBar, WindowDestroyedDuringTheBarsLoopEndsItCleanly)
{
    const DWORD dwThread = ::GetCurrentThreadId();
    HWND hWnd = m_hWnd;
    std::atomic<int> nOpen{0};
    EXPECT_TRUE(RunInputScript([&] {
        SendKey(VK_MENU, false);
        ::Sleep(30);
        SkinMenuScriptKey('F');
        SendKey(VK_MENU, true);
        nOpen = (int)SkinMenuWaitPopups(dwThread, 1).size();
        ::PostMessageW(hWnd, kSkinMenuDestroySelf, 0, 0);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    PumpMessages(100);
    EXPECT_EQ(1, nOpen.load());
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hWnd));
    EXPECT_TRUE(SkinMenuPopups(dwThread).empty());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(SkinMenuBar, SystemMenuOpensSkinnedFromAltSpaceLeftOfTheFirstItemAndTheCaption)
{
    HMENU hSystem = ::GetSystemMenu(m_hWnd, FALSE);
    ASSERT_NE(nullptr, hSystem);
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, rcWindow);
    const CPoint ptCaption(rcWindow.CenterPoint().x, rcWindow.top + ::GetSystemMetrics(SM_CYFRAME) + 6);
    const DWORD dwThread = ::GetCurrentThreadId();
    std::atomic<int> nAltSpace{0}, nLeft{0}, nCaption{0};
    EXPECT_TRUE(RunInputScript([&] {
        SendKey(VK_MENU, false);
        ::Sleep(30);
        SkinMenuScriptKey(VK_SPACE);
        SendKey(VK_MENU, true);
        nAltSpace = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuWaitPopups(dwThread, 0);

        SendKey(VK_MENU, false);
        ::Sleep(30);
        SkinMenuScriptKey('F');
        SendKey(VK_MENU, true);
        SkinMenuWaitPopups(dwThread, 1);
        SkinMenuScriptKey(VK_LEFT);
        ::Sleep(200);
        nLeft = (int)SkinMenuPopups(dwThread).size();
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuWaitPopups(dwThread, 0);

        ScriptMouseMove(ptCaption, 60);
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 60);
        nCaption = (int)SkinMenuWaitPopups(dwThread, 1).size();
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    PumpMessages(100);
    EXPECT_EQ(1, nAltSpace.load());
    EXPECT_EQ(1, nLeft.load());
    EXPECT_EQ(1, nCaption.load());
    std::vector<SkinMenuRecord> log = SkinMenuTakeLog();
    int nSystemOpened = 0, nSystemSelections = 0;
    for (const SkinMenuRecord& record : SkinMenuOnly(log, WM_INITMENUPOPUP))
        if (record.wParam == (WPARAM)hSystem && HIWORD(record.lParam) == 1)
            nSystemOpened++;
    for (const SkinMenuRecord& record : SkinMenuOnly(log, WM_MENUSELECT))
        if (record.lParam == (LPARAM)hSystem && (HIWORD(record.wParam) & MF_SYSMENU))
            nSystemSelections++;
    EXPECT_EQ(3, nSystemOpened);
    EXPECT_GE(nSystemSelections, 2);
    EXPECT_TRUE(SkinMenuOnly(log, WM_COMMAND).empty());
}

TEST_F(SkinMenuBar, RightToLeftWindowsBarOpensItsMenusLeftwards)
{
    HMENU hMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SKINMENU_MAIN));
    HWND hWnd = SkinMenuCreateFrame(CRect(300, 420, 700, 640), hMenu, WS_EX_LAYOUTRTL);
    ASSERT_NE(nullptr, hWnd);
    ASSERT_TRUE(::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    ::SetForegroundWindow(hWnd);
    ::SetFocus(hWnd);
    PumpMessages(100);
    CRect rcWindow;
    ::GetWindowRect(hWnd, rcWindow);
    const CRect rcFile = SkinMenuBarItemRect(hWnd, 0);
    // The first item lies at the right.
    EXPECT_GT(rcFile.left, rcWindow.CenterPoint().x);
    const DWORD dwThread = ::GetCurrentThreadId();
    std::atomic<int> nRight{0};
    EXPECT_TRUE(RunInputScript([&] {
        ScriptMouseMove(rcFile.CenterPoint(), 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
        std::vector<HWND> popups = SkinMenuWaitPopups(dwThread, 1);
        if (popups.size() == 1)
            nRight = SkinMenuRect(popups[0]).right;
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuScriptKey(VK_ESCAPE);
        SkinMenuWaitPopups(dwThread, 0);
    }));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(rcFile.right, nRight.load());
}
