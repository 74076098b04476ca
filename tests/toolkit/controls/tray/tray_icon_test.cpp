// The tray icon as its owner meets it: added, hidden and shown again, its
// tip cut to the room the shell gives, a double click turned into the
// default command unless the owner takes the notification itself, and the
// owner window hidden into the tray without a taskbar button and brought
// back.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/tray/QVTTrayIcon.h"

namespace {

const UINT kIconId = 300;
const UINT kTrayId = 301;
const UINT kShowCommand = 401;

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

}  // namespace

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
