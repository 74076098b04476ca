// The tray icon as its owner meets it: added, hidden and shown again, its
// tip cut to the room the shell gives, a double click turned into the
// default command unless the owner takes the notification itself, and the
// owner window hidden into the tray without a taskbar button and brought
// back.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "tests/support/win_thread.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/tray/QVTTrayIcon.h"

namespace {

const UINT kIconId = 300;
const UINT kTrayId = 301;
const UINT kShowCommand = 401;

}  // namespace

// A top-level owner that records its commands and may take the tray's
// notifications.
class COwnerWnd : public CWnd
{
public:
    BOOL CreateOwner()
    {
        return CreateEx(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), _T("Owner"),
                        WS_POPUP | WS_BORDER, CRect(100, 100, 400, 300), nullptr, 0);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            m_commands.push_back(LOWORD(wParam));
        if (message == CQVTTrayIcon::WM_TRAYICON_NOTIFY)
        {
            ++m_nNotifications;
            return m_lAnswer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_commands;
    int m_nNotifications = 0;
    LRESULT m_lAnswer = 0;
};

class TrayIcon : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_owner.CreateOwner()); }
    void TearDown() override
    {
        if (m_owner.GetSafeHwnd())
            m_owner.DestroyWindow();
    }

    COwnerWnd m_owner;
};

TEST_F(TrayIcon, AddedHiddenShownAndRemoved)
{
    CQVTTrayIcon tray;
    EXPECT_TRUE(tray.IsHidden());
    EXPECT_TRUE(tray.IsRemoved());
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    ASSERT_NE(nullptr, tray.GetSafeHwnd());
    EXPECT_FALSE(tray.IsHidden());
    EXPECT_FALSE(tray.IsRemoved());
    EXPECT_EQ(tray.GetSafeHwnd(), tray.GetNotifyData().hWnd);
    EXPECT_EQ(kTrayId, tray.GetNotifyData().uID);
    EXPECT_NE(nullptr, tray.GetNotifyData().hIcon);
    EXPECT_EQ(CString(_T("Sondrel")), CString(tray.GetNotifyData().szTip));

    EXPECT_TRUE(tray.HideIcon());
    EXPECT_TRUE(tray.IsHidden());
    EXPECT_TRUE(tray.ShowIcon());
    EXPECT_FALSE(tray.IsHidden());
    EXPECT_FALSE(tray.IsRemoved());
    EXPECT_TRUE(tray.RemoveIcon());
    EXPECT_TRUE(tray.IsRemoved());
    // A removed icon comes back when shown.
    EXPECT_TRUE(tray.ShowIcon());
    EXPECT_FALSE(tray.IsRemoved());
}

TEST_F(TrayIcon, ALongTipIsCutToTheShellsRoom)
{
    CQVTTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    CString strLong;
    for (int i = 0; i < 200; ++i)
        strLong += static_cast<TCHAR>(_T('a') + i % 26);
    tray.SetTooltipText(strLong);
    EXPECT_EQ(strLong.Left(126), CString(tray.GetNotifyData().szTip));
}

TEST_F(TrayIcon, ADoubleClickSendsTheDefaultCommandUnlessTheOwnerTakesIt)
{
    CQVTTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    tray.SendMessage(CQVTTrayIcon::WM_TRAYICON_NOTIFY, kTrayId, WM_LBUTTONDBLCLK);
    EXPECT_EQ(1, m_owner.m_nNotifications);
    EXPECT_EQ(std::vector<UINT>{kShowCommand}, m_owner.m_commands);

    // Another icon's id is not ours.
    tray.SendMessage(CQVTTrayIcon::WM_TRAYICON_NOTIFY, kTrayId + 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(1, m_owner.m_nNotifications);

    m_owner.m_lAnswer = 1;
    tray.SendMessage(CQVTTrayIcon::WM_TRAYICON_NOTIFY, kTrayId, WM_LBUTTONDBLCLK);
    EXPECT_EQ(2, m_owner.m_nNotifications);
    EXPECT_EQ(1u, m_owner.m_commands.size());
}

TEST_F(TrayIcon, TheDefaultByPositionComesFromTheTrayMenu)
{
    CQVTTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, 2, TRUE));
    tray.SendMessage(CQVTTrayIcon::WM_TRAYICON_NOTIFY, kTrayId, WM_LBUTTONDBLCLK);
    EXPECT_EQ(std::vector<UINT>{402}, m_owner.m_commands);
}

TEST_F(TrayIcon, TheOwnerHidesIntoTheTrayWithoutATaskbarButtonAndComesBack)
{
    CQVTTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    m_owner.SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages(30);
    CRect rcBefore;
    m_owner.GetWindowRect(&rcBefore);

    tray.MinimizeToTray(&m_owner);
    PumpMessages(30);
    EXPECT_FALSE(m_owner.IsWindowVisible());
    HWND hParent = ::GetAncestor(m_owner.GetSafeHwnd(), GA_PARENT);
    ASSERT_NE(nullptr, hParent);
    EXPECT_NE(::GetDesktopWindow(), hParent);
    EXPECT_FALSE(::IsWindowVisible(hParent));

    tray.RestoreFromTray(&m_owner);
    PumpMessages(30);
    EXPECT_TRUE(m_owner.IsWindowVisible());
    EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(m_owner.GetSafeHwnd(), GA_PARENT));
    CRect rcAfter;
    m_owner.GetWindowRect(&rcAfter);
    EXPECT_EQ(rcBefore, rcAfter);
}

namespace {

// What reached the shell: each call with the icon and tip it carried.
struct ShellCall
{
    DWORD dwMessage;
    UINT uFlags;
    HICON hIcon;
    CString strTip;
};

// A tray icon whose shell calls are recorded and whose adds may be refused.
class CRecordingTrayIcon : public CQVTTrayIcon
{
public:
    std::vector<ShellCall> m_calls;
    BOOL m_bRefuseAdds = FALSE;

    using CQVTTrayIcon::StepAnimation;

    // The icon changes the animation sent, in order.
    std::vector<ShellCall> IconChanges() const
    {
        std::vector<ShellCall> changes;
        for (const ShellCall& call : m_calls)
            if (call.dwMessage == NIM_MODIFY && (call.uFlags & NIF_ICON))
                changes.push_back(call);
        return changes;
    }
    // The tip shown when the icon changed: the call just before it.
    CString TipBefore(size_t nIconChange) const
    {
        size_t nSeen = 0;
        CString strTip;
        for (const ShellCall& call : m_calls)
        {
            if (call.dwMessage == NIM_MODIFY && (call.uFlags & NIF_TIP))
                strTip = call.strTip;
            if (call.dwMessage == NIM_MODIFY && (call.uFlags & NIF_ICON) && nSeen++ == nIconChange)
                return strTip;
        }
        return CString();
    }

protected:
    BOOL Notify(DWORD dwMessage) override
    {
        const NOTIFYICONDATAW& nid = GetNotifyData();
        m_calls.push_back({dwMessage, nid.uFlags, nid.hIcon, CString(nid.szTip)});
        if (dwMessage == NIM_ADD && m_bRefuseAdds)
            return FALSE;
        return CQVTTrayIcon::Notify(dwMessage);
    }
};

const UINT kAnimationIds[] = {302, 303, 304};

}  // namespace

TEST_F(TrayIcon, AnimationFramesReachTheShellInOrderUntilStopped)
{
    CRecordingTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    const HICON hResourceIcon = tray.GetNotifyData().hIcon;
    const CString tips[] = {_T("one"), _T("two"), _T("three")};
    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds, 3, tips));
    EXPECT_EQ(3, tray.GetAnimationCount());
    tray.m_calls.clear();

    tray.StartAnimation(50);
    ASSERT_TRUE(PumpUntil([&] { return tray.IconChanges().size() >= 4; }));
    tray.StopAnimation();
    const std::vector<ShellCall> changes = tray.IconChanges();
    // Frames one, two, three, then one again, each with its own tip.
    EXPECT_EQ(tray.TipBefore(0), CString(_T("one")));
    EXPECT_EQ(tray.TipBefore(1), CString(_T("two")));
    EXPECT_EQ(tray.TipBefore(2), CString(_T("three")));
    EXPECT_EQ(tray.TipBefore(3), CString(_T("one")));
    EXPECT_NE(changes[0].hIcon, changes[1].hIcon);
    EXPECT_NE(changes[1].hIcon, changes[2].hIcon);
    EXPECT_EQ(changes[0].hIcon, changes[3].hIcon);
    EXPECT_NE(hResourceIcon, changes[0].hIcon);

    // Stopped: no more frames, and the tip and resource icon come back.
    const size_t nAfterStop = tray.IconChanges().size();
    PumpMessages(200);
    const std::vector<ShellCall> last = tray.IconChanges();
    ASSERT_GE(last.size(), nAfterStop);
    EXPECT_EQ(last.size(), nAfterStop);
    EXPECT_EQ(CString(tray.GetNotifyData().szTip), CString(_T("Sondrel")));
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NE(tray.GetNotifyData().hIcon, changes[i].hIcon);
    EXPECT_NE(nullptr, tray.GetNotifyData().hIcon);

    // A frame without a tip shows the tray's own.
    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds, nullptr, 1));
    tray.StepAnimation();
    EXPECT_EQ(CString(tray.GetNotifyData().szTip), CString(_T("Sondrel")));
}

TEST_F(TrayIcon, AnimationStepsSurviveAnEmptyOrShortenedList)
{
    CRecordingTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    tray.m_calls.clear();
    // No frames: a step changes nothing.
    tray.StepAnimation();
    EXPECT_TRUE(tray.m_calls.empty());
    EXPECT_EQ(0u, tray.GetAnimationIndex());

    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds, 3));
    tray.StepAnimation();
    tray.StepAnimation();
    EXPECT_EQ(2u, tray.GetAnimationIndex());
    // Replaced by a single frame mid-animation: the index wraps to it.
    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds + 2, 1));
    tray.m_calls.clear();
    tray.StepAnimation();
    EXPECT_EQ(0u, tray.GetAnimationIndex());
    ASSERT_EQ(1u, tray.IconChanges().size());

    // An icon that cannot be loaded stops the list there.
    const UINT badIds[] = {302, 999, 303};
    EXPECT_FALSE(tray.SetAnimationIcons(badIds, 3));
    EXPECT_EQ(1, tray.GetAnimationCount());
    EXPECT_TRUE(tray.SetAnimationIcons(badIds, 0));
    EXPECT_EQ(0, tray.GetAnimationCount());
}

TEST_F(TrayIcon, ADestroyedFramesHandleIsForgotten)
{
    CRecordingTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds, 1));
    tray.StepAnimation();
    const HICON hShown = tray.GetNotifyData().hIcon;
    ASSERT_NE(nullptr, hShown);
    // The frame's icon is destroyed with the list; its handle may be given
    // to the next icon made, which must still reach the shell.
    tray.RemoveAnimationIcons();
    EXPECT_EQ(nullptr, tray.GetNotifyData().hIcon);
    ASSERT_TRUE(tray.SetAnimationIcons(kAnimationIds, 1));
    tray.m_calls.clear();
    tray.StepAnimation();
    EXPECT_EQ(1u, tray.IconChanges().size());
}

TEST_F(TrayIcon, AFailedAddIsRetriedAndTheTaskbarsReturnReAddsTheCurrentIcon)
{
    CRecordingTrayIcon tray;
    tray.m_bRefuseAdds = TRUE;
    EXPECT_FALSE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    EXPECT_TRUE(tray.IsRemoved());
    EXPECT_TRUE(tray.IsAddPending());

    // The work area changes: the add is tried again, and now succeeds.
    tray.m_bRefuseAdds = FALSE;
    tray.m_calls.clear();
    tray.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_EQ(1u, tray.m_calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), tray.m_calls[0].dwMessage);
    EXPECT_FALSE(tray.IsRemoved());
    EXPECT_FALSE(tray.IsHidden());
    EXPECT_FALSE(tray.IsAddPending());

    // Explorer restarts: the icon comes back with the current icon and tip.
    tray.SetTooltipText(_T("Recording"));
    ASSERT_TRUE(tray.SetIconResource(303));
    // The taskbar that restarts has lost the icon.
    NOTIFYICONDATAW nid = tray.GetNotifyData();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &nid));
    tray.m_calls.clear();
    tray.SendMessage(::RegisterWindowMessageW(u"TaskbarCreated"), 0, 0);
    ASSERT_EQ(1u, tray.m_calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), tray.m_calls[0].dwMessage);
    EXPECT_EQ(tray.m_calls[0].strTip, CString(_T("Recording")));
    EXPECT_EQ(tray.m_calls[0].hIcon, tray.GetNotifyData().hIcon);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), tray.m_calls[0].uFlags);
    EXPECT_FALSE(tray.IsAddPending());

    // A work-area change with no add pending adds nothing.
    tray.m_calls.clear();
    tray.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_TRUE(tray.m_calls.empty());
}

TEST_F(TrayIcon, NotifyDataSizeAndTrayRectangle)
{
    EXPECT_EQ(968u, CQVTTrayIcon::GetNotifyDataSize(TRUE));
    EXPECT_EQ(static_cast<DWORD>(sizeof(NOTIFYICONDATAW)), CQVTTrayIcon::GetNotifyDataSize(FALSE));
    CQVTTrayIcon tray;
    EXPECT_EQ(static_cast<DWORD>(sizeof(NOTIFYICONDATAW)), tray.GetNotifyData().cbSize);

    // Wine's taskbar window is hidden and has no rectangle: the next source
    // answers.
    CRect rc;
    ASSERT_TRUE(tray.GetTrayWindowRect(rc));
    EXPECT_FALSE(rc.IsRectEmpty());
}

TEST_F(TrayIcon, ARightClickOpensTheTrayMenuWithTheDefaultInBold)
{
    CQVTTrayIcon tray;
    ASSERT_TRUE(tray.Create(_T("Sondrel"), &m_owner, kIconId, kTrayId, kShowCommand, FALSE));
    UINT nDefault = 0;
    BOOL bMenuSeen = FALSE;
    // The menu runs its own loop inside the notification: a second thread
    // finds it and chooses with the keyboard.
    WinThread script([&] {
        HWND hMenu = nullptr;
        for (int i = 0; i < 100 && !hMenu; ++i)
        {
            hMenu = ::FindWindowW(u"#32768", nullptr);
            if (!hMenu || !::IsWindowVisible(hMenu))
            {
                hMenu = nullptr;
                ::Sleep(50);
            }
        }
        if (!hMenu)
            return;
        bMenuSeen = TRUE;
        HMENU hPopup = reinterpret_cast<HMENU>(::SendMessageW(hMenu, MN_GETHMENU, 0, 0));
        nDefault = ::GetMenuDefaultItem(hPopup, FALSE, 0);
        // The first item, "Show", chosen with the keyboard.
        SendKey(VK_DOWN, false);
        SendKey(VK_DOWN, true);
        ::Sleep(50);
        SendKey(VK_RETURN, false);
        SendKey(VK_RETURN, true);
    });
    m_owner.SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_EQ(1, tray.SendMessage(CQVTTrayIcon::WM_TRAYICON_NOTIFY, kTrayId, WM_RBUTTONUP));
    script.join();
    PumpMessages(50);
    EXPECT_TRUE(bMenuSeen);
    EXPECT_EQ(kShowCommand, nDefault);
    EXPECT_EQ(std::vector<UINT>{kShowCommand}, m_owner.m_commands);
}
