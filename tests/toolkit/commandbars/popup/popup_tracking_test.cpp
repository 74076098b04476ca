// Popup menus tracked in their own loop, as a user meets them: keys that
// choose, dismissals that return nothing, the release of the opening click,
// and what closes the menus (Alt, another click, the application losing
// activation, a cancelled mode).
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"

// A frame that opens a menu at the point of a left click, and records the
// button releases that reach it.
class CMenuFrame : public CBarsFrame
{
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_LBUTTONUP)
            ++m_nButtonUps;
        if (message == WM_LBUTTONDOWN && m_bMenuOnClick)
        {
            CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            ClientToScreen(&pt);
            // The menu opens under the pointer: its release would land on
            // the first item.
            pt.Offset(-20, -12);
            CMenu menu;
            menu.LoadMenu(IDR_TEST_MENU);
            m_nResult = CQVTCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_RETURNCMD, pt.x, pt.y, this,
                                                        nullptr, nullptr, GetCommandBars());
            m_bMenuDone = TRUE;
            return TRUE;
        }
        return CBarsFrame::OnWndMsg(message, wParam, lParam, pResult);
    }

    int m_nButtonUps = 0;
    BOOL m_bMenuOnClick = FALSE;
    BOOL m_bMenuDone = FALSE;
    int m_nResult = -1;
};

class PopupTracking : public BarsFrameSuite<PopupTracking, CMenuFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(420, 60, 820, 360)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        s_pFrame->m_nButtonUps = 0;
        s_pFrame->m_bMenuOnClick = FALSE;
        s_pFrame->m_bMenuDone = FALSE;
        s_pFrame->m_nResult = -1;
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpMessages(30);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpMessages(30);
    }

    // The menu of the shared resource at a point of the frame, tracked while
    // the script's input arrives; its result.
    static int TrackWhile(UINT nFlags, std::function<void()> script)
    {
        CMenu menu;
        menu.LoadMenu(IDR_TEST_MENU);
        WinThread input([script] {
            ::Sleep(250);
            script();
        });
        const int nResult = CQVTCommandBars::TrackPopupMenu(menu.GetSubMenu(0), nFlags, 460, 100, s_pFrame,
                                                            nullptr, nullptr, s_pFrame->GetCommandBars());
        input.join();
        PumpMessages(30);
        return nResult;
    }
    static void Key(WORD wKey)
    {
        SendKey(wKey, false);
        SendKey(wKey, true);
        ::Sleep(60);
    }
};

TEST_F(PopupTracking, KeysChooseACommandThatComesBackAndEscapeReturnsNothing)
{
    // Down selects "New", Down again "Open"; Enter chooses it.
    EXPECT_EQ(ID_TEST_OPEN, TrackWhile(TPM_RETURNCMD, [] {
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(0, CQVTMouseManager::GetThreadManager()->GetTrackCount());

    EXPECT_EQ(0, TrackWhile(TPM_RETURNCMD, [] { Key(VK_ESCAPE); }));
    // Without TPM_RETURNCMD the command goes to the window.
    EXPECT_EQ(1, TrackWhile(0, [] {
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    EXPECT_EQ(std::vector<UINT>({ID_TEST_NEW}), s_pFrame->m_commands);
    // TPM_NONOTIFY sends nothing.
    s_pFrame->m_commands.clear();
    EXPECT_EQ(1, TrackWhile(TPM_NONOTIFY, [] {
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    PumpMessages(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}

TEST_F(PopupTracking, AClickElsewhereDismissesAndTheOpeningReleaseReachesNoWindow)
{
    // A click outside the frame's menu ends it with nothing chosen.
    EXPECT_EQ(0, TrackWhile(TPM_RETURNCMD, [] {
                  ScriptMouseMove(POINT{780, 330});
                  ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
                  ScriptMouseButton(MOUSEEVENTF_LEFTUP);
              }));
    PumpMessages(50);

    // The menu opens on the press; the release of that press is eaten.
    s_pFrame->m_bMenuOnClick = TRUE;
    const int nUps = s_pFrame->m_nButtonUps;
    WinThread input([] {
        ScriptMouseMove(POINT{600, 200});
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 200);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 300);
        Key(VK_ESCAPE);
    });
    ASSERT_TRUE(PumpUntil([] { return s_pFrame->m_bMenuDone == TRUE; }, 8000));
    input.join();
    EXPECT_EQ(0, s_pFrame->m_nResult);
    EXPECT_EQ(nUps, s_pFrame->m_nButtonUps);
}

TEST_F(PopupTracking, AQuitEndsTheMenusLoopAndStaysQueued)
{
    const DWORD dwThread = ::GetCurrentThreadId();
    EXPECT_EQ(0, TrackWhile(TPM_RETURNCMD, [dwThread] { ::PostThreadMessage(dwThread, WM_QUIT, 9, 0); }));
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, msg.wParam);
    EXPECT_EQ(0, CQVTMouseManager::GetThreadManager()->GetTrackCount());
}
