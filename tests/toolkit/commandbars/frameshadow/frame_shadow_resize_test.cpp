// Resizing a frame by its shadow as a user does it: the cursor over each
// zone, a drag on each zone (down to the frame's minimum size), Escape
// ending a drag, and a frame destroyed or losing its shadow while it is
// dragged.
#include <afxwin.h>

#include "frame_shadow_support.h"
#include "sondrel_gtest.h"

using namespace frameshadowtest;

namespace {

HCURSOR FrameShadowCursorAt(POINT pt)
{
    MouseMoveTo(pt);
    PumpMessages(30);
    CURSORINFO info = {sizeof(CURSORINFO)};
    ::GetCursorInfo(&info);
    return info.hCursor;
}

}  // namespace

TEST(FrameShadowResize, ZonesShowSizingCursorsOnlyAroundAResizableFrame)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(200, 200, 800, 600)));
    ASSERT_NE(CreateThemeShadow(frame.m_hWnd), nullptr);
    PumpMessages(50);
    const HCURSOR hWE = ::LoadCursorW(nullptr, IDC_SIZEWE);
    const HCURSOR hNS = ::LoadCursorW(nullptr, IDC_SIZENS);
    const HCURSOR hNWSE = ::LoadCursorW(nullptr, IDC_SIZENWSE);
    const HCURSOR hNESW = ::LoadCursorW(nullptr, IDC_SIZENESW);
    EXPECT_EQ(FrameShadowCursorAt({802, 400}), hWE);
    EXPECT_EQ(FrameShadowCursorAt({197, 400}), hWE);
    EXPECT_EQ(FrameShadowCursorAt({500, 197}), hNS);
    EXPECT_EQ(FrameShadowCursorAt({500, 602}), hNS);
    EXPECT_EQ(FrameShadowCursorAt({197, 197}), hNWSE);
    EXPECT_EQ(FrameShadowCursorAt({802, 602}), hNWSE);
    EXPECT_EQ(FrameShadowCursorAt({802, 197}), hNESW);
    EXPECT_EQ(FrameShadowCursorAt({197, 602}), hNESW);
    frame.DestroyWindow();

    // A window below takes the pointer where the shadow lets it through.
    CShadowedFrame below;
    ASSERT_TRUE(below.CreateFrame(CRect(100, 100, 900, 700), WS_POPUP | WS_VISIBLE));
    CShadowedFrame fixed;
    ASSERT_TRUE(fixed.CreateFrame(CRect(200, 200, 800, 600), WS_POPUP | WS_BORDER | WS_VISIBLE));
    ASSERT_NE(CreateThemeShadow(fixed.m_hWnd), nullptr);
    PumpMessages(50);
    for (POINT pt : {POINT{802, 400}, POINT{500, 197}, POINT{197, 197}, POINT{802, 602}})
    {
        const HCURSOR hCursor = FrameShadowCursorAt(pt);
        EXPECT_NE(hCursor, hWE);
        EXPECT_NE(hCursor, hNS);
        EXPECT_NE(hCursor, hNWSE);
        EXPECT_NE(hCursor, hNESW);
        EXPECT_EQ(::WindowFromPoint(pt), below.m_hWnd);
    }
    fixed.DestroyWindow();
    below.DestroyWindow();
}

TEST(FrameShadowResize, DraggingTheRightZoneStopsAtTheMinimumAndEscapeEndsTheDrag)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(200, 200, 800, 600)));
    CQVTFrameShadow* pShadow = CreateThemeShadow(frame.m_hWnd);
    ASSERT_NE(pShadow, nullptr);
    PumpMessages(50);
    const DWORD dwThread = ::GetCurrentThreadId();

    // Left of where the minimum width allows: the frame stops at 400, also
    // where the frame does not hold the system to it.
    frame.m_bTakeAnyPosition = TRUE;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove({802, 400});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove({700, 400}, 100);
        ScriptMouseMove({300, 400}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
    }));
    CRect rc;
    frame.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(200, 200, 600, 600));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(195, 195, 605, 605));

    // Escape ends a drag where it is: later moves change nothing.
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove({602, 400});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove({702, 400}, 100);
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseMove({752, 400}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
    }));
    frame.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(200, 200, 700, 600));
    EXPECT_EQ(::GetCapture(), nullptr);
    frame.DestroyWindow();
}

TEST(FrameShadowResize, EveryZoneMovesItsEdgesByThePointersTravelAndStopsAtTheMinimum)
{
    CShadowedFrame frame;
    const CRect rcFrame(200, 200, 800, 600);
    ASSERT_TRUE(frame.CreateFrame(rcFrame));
    ASSERT_NE(CreateThemeShadow(frame.m_hWnd), nullptr);
    frame.m_bTakeAnyPosition = TRUE;
    const DWORD dwThread = ::GetCurrentThreadId();
    // Each press lands a few pixels off the frame: the edges keep that
    // distance from the pointer, they never jump to it.
    const struct
    {
        const char* pszZone;
        POINT ptFrom, ptTo;
        CRect rcExpected;
    } drags[] = {
        {"top", {500, 197}, {500, 147}, {200, 150, 800, 600}},
        {"top, down past the minimum", {400, 198}, {400, 450}, {200, 300, 800, 600}},
        {"left", {197, 400}, {147, 420}, {150, 200, 800, 600}},
        {"left, right past the minimum", {198, 300}, {700, 300}, {400, 200, 800, 600}},
        {"bottom", {500, 602}, {480, 652}, {200, 200, 800, 650}},
        {"top left", {197, 197}, {177, 167}, {180, 170, 800, 600}},
        {"top right", {802, 197}, {822, 177}, {200, 180, 820, 600}},
        {"bottom left", {197, 602}, {177, 622}, {180, 200, 800, 620}},
        {"bottom right", {802, 602}, {852, 632}, {200, 200, 850, 630}},
    };
    for (const auto& drag : drags)
    {
        frame.SetWindowPos(nullptr, rcFrame.left, rcFrame.top, rcFrame.Width(), rcFrame.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages(30);
        ASSERT_TRUE(RunInputScript([&] {
            ScriptMouseMove(drag.ptFrom);
            ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
            ScriptWaitForCapture(dwThread, true);
            ScriptMouseMove(drag.ptTo, 100);
            ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
            ScriptWaitForCapture(dwThread, false);
        })) << drag.pszZone;
        CRect rc;
        frame.GetWindowRect(&rc);
        EXPECT_EQ(rc, drag.rcExpected) << drag.pszZone;
    }
    frame.DestroyWindow();
}

TEST(FrameShadowResize, AFrameDestroyedDuringTheDragEndsTheLoopCleanly)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(200, 200, 800, 600)));
    ASSERT_NE(CreateThemeShadow(frame.m_hWnd), nullptr);
    PumpMessages(50);
    const DWORD dwThread = ::GetCurrentThreadId();
    const HWND hWndFrame = frame.m_hWnd;
    const LONG nLive = CQVTFrameShadow::GetLiveCount();

    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove({802, 400});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove({850, 400}, 100);
        ::PostMessageW(hWndFrame, kDestroyYourself, 0, 0);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseMove({900, 400}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
    }));
    EXPECT_FALSE(::IsWindow(hWndFrame));
    // The loop still held the shadow when its frame went, and let go after.
    EXPECT_EQ(frame.m_nLiveShadowsAtDestroy, nLive);
    EXPECT_EQ(CQVTFrameShadow::GetLiveCount(), nLive - 1);
    EXPECT_EQ(CQVTFrameShadowManager::GetInstance()->GetShadow(hWndFrame), nullptr);
    EXPECT_EQ(CountShadowWindows(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(FrameShadowResize, AShadowSwitchedOffDuringTheDragEndsTheLoopAndKeepsTheFrame)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(200, 200, 800, 600)));
    ASSERT_NE(CreateThemeShadow(frame.m_hWnd), nullptr);
    PumpMessages(50);
    const DWORD dwThread = ::GetCurrentThreadId();
    const HWND hWndFrame = frame.m_hWnd;
    const LONG nLive = CQVTFrameShadow::GetLiveCount();

    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove({802, 400});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove({852, 400}, 100);
        ::PostMessageW(hWndFrame, kDropYourShadow, 0, 0);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseMove({902, 400}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
    }));
    EXPECT_EQ(frame.m_nLiveShadowsAtDestroy, nLive);
    EXPECT_EQ(CQVTFrameShadow::GetLiveCount(), nLive - 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    CRect rc;
    frame.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(200, 200, 850, 600));
    EXPECT_EQ(CountShadowWindows(), 0);
    frame.DestroyWindow();
}

TEST(FrameShadowResize, QuitDuringTheDragEndsItAndReachesTheOuterLoop)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(200, 200, 800, 600)));
    ASSERT_NE(CreateThemeShadow(frame.m_hWnd), nullptr);
    PumpMessages(50);
    const DWORD dwThread = ::GetCurrentThreadId();

    // The pump stops at the quit it is handed back; the script goes on.
    RunInputScript([&] {
        ScriptMouseMove({802, 400});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 100);
        ScriptWaitForCapture(dwThread, true);
        ::PostThreadMessageW(dwThread, WM_QUIT, 42, 0);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
    });
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 42u);
    EXPECT_TRUE(::IsWindow(frame.m_hWnd));
    frame.DestroyWindow();
    PumpMessages(50);
}
