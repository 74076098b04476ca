// Tracking as a user meets it: mnemonics open menus and run items, within
// the menu bar and across bars as the keyboard-cue option allows; Home, End
// and Tab move along the bar, Left and Right trade places in a right-to-left
// frame, Alt+Space asks for the system menu; hovering opens submenus and
// switches menus; the mouse manager keeps menus open for clicks in trusted
// windows, closes them for other clicks and on a cancelled mode, and takes
// the hot control away when the pointer leaves.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/tracking/tracking_test_ids.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"

// A frame that keeps the system menu closed: it counts the requests for it.
class CTrackingFrame : public CBarsFrame
{
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && lParam == _T(' '))
        {
            ++m_nSystemMenuRequests;
            return TRUE;
        }
        return CBarsFrame::OnWndMsg(message, wParam, lParam, pResult);
    }

    int m_nSystemMenuRequests = 0;
};

namespace {

void Key(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    PumpTranslated(60);
}

void AltKey(WORD wKey)
{
    SendKey(VK_MENU, false);
    SendKey(wKey, false);
    SendKey(wKey, true);
    SendKey(VK_MENU, true);
    PumpTranslated(80);
}

CQVTCommandBar* OpenPopup(CQVTCommandBar* pBar)
{
    CQVTControl* pControl = pBar->GetControl(pBar->GetPopupedIndex());
    CQVTCommandBar* pPopup = pControl ? pControl->GetCommandBar() : nullptr;
    return pPopup && pPopup->GetSafeHwnd() && pPopup->IsWindowVisible() ? pPopup : nullptr;
}

CPoint ScreenCentre(CQVTCommandBar* pBar, CQVTControl* pControl)
{
    CRect rc = pControl->GetRect();
    pBar->ClientToScreen(&rc);
    return rc.CenterPoint();
}

}  // namespace

class Tracking : public BarsFrameSuite<Tracking, CTrackingFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(300, 80, 760, 380)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        MakeBars();
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpTranslated(30);
        if (s_pFrame->GetExStyle() & WS_EX_LAYOUTRTL)
            s_pFrame->ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
    }

    void MakeBars()
    {
        s_pFrame->ResetBars();
        s_pFrame->m_nSystemMenuRequests = 0;
        m_pBars = s_pFrame->GetCommandBars();
        m_pMenuBar = DYNAMIC_DOWNCAST(CQVTMenuBar,
                                      m_pBars->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        ASSERT_TRUE(m_pMenuBar->LoadMenuBar(IDR_TRK_MAIN));
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        static const UINT kButtons[] = {ID_TRK_PRINT, ID_TRK_SAVE};
        m_pToolBar->SetButtons(kButtons, 2);
        m_pToolBar->GetControls()->FindControl(ID_TRK_PRINT)->SetCaption(_T("&Print"));
        m_pToolBar->GetControls()->FindControl(ID_TRK_SAVE)->SetCaption(_T("Save"));
        for (int nId : {ID_TRK_PRINT, ID_TRK_SAVE})
            m_pToolBar->GetControls()->FindControl(nId)->SetStyle(qvtButtonCaption);
        m_pToolBar->DelayLayout();
        m_pBars->RecalcFrameLayout(FALSE);
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpTranslated(50);
    }
    void EnterWithAlt()
    {
        Key(VK_MENU);
        PumpTranslatedUntil([&] { return m_pMenuBar->IsTrackingMode(); }, 2000);
    }
    int MenuBarIndexOf(int nIdOfFirstItem) const
    {
        for (int i = 0; i < m_pMenuBar->GetControlCount(); ++i)
        {
            CQVTCommandBar* pPopup = m_pMenuBar->GetControl(i)->GetCommandBar();
            if (pPopup && pPopup->GetControls()->FindControl(nIdOfFirstItem))
                return i;
        }
        return -1;
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTMenuBar* m_pMenuBar = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
};

TEST_F(Tracking, MnemonicsOpenMenusAndRunTheirItems)
{
    AltKey('E');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    EXPECT_EQ(MenuBarIndexOf(ID_TRK_COPY), m_pMenuBar->GetPopupedIndex());
    EXPECT_TRUE(m_pBars->IsKeyboardCuesVisible());
    Key('P');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_TRK_PASTE}), s_pFrame->m_commands);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());

    // A submenu's mnemonic opens it; its item's runs it.
    s_pFrame->m_commands.clear();
    AltKey('F');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    CQVTCommandBar* pFile = OpenPopup(m_pMenuBar);
    Key('C');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(pFile) != nullptr; }, 2000));
    Key('T');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_TRK_TWO}), s_pFrame->m_commands);
}

TEST_F(Tracking, MnemonicsReachOtherBarsOnlyWhenTheOptionSaysSo)
{
    // Only the menu bar answers: it has no "P".
    m_pBars->GetCommandBarsOptions()->keyboardCuesUse = 0;
    AltKey('P');
    PumpTranslated(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    CQVTCommandBars::ClosePopups();
    PumpTranslated(30);

    m_pBars->GetCommandBarsOptions()->keyboardCuesUse = 1;
    AltKey('P');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_TRK_PRINT}), s_pFrame->m_commands);
    CQVTCommandBars::ClosePopups();
    PumpTranslated(30);

    // Mnemonics off: Alt+F opens nothing.
    s_pFrame->m_commands.clear();
    m_pBars->GetCommandBarsOptions()->keyboardCuesUse = 2;
    AltKey('F');
    PumpTranslated(50);
    EXPECT_EQ(-1, m_pMenuBar->GetPopupedIndex());
}

TEST_F(Tracking, HomeEndAndTabMoveAlongTheMenuBarAndAltSpaceAsksForTheSystemMenu)
{
    EnterWithAlt();
    ASSERT_EQ(0, m_pMenuBar->GetSelectedIndex());
    Key(VK_END);
    EXPECT_EQ(m_pMenuBar->GetControlCount() - 1, m_pMenuBar->GetSelectedIndex());
    Key(VK_HOME);
    EXPECT_EQ(0, m_pMenuBar->GetSelectedIndex());
    Key(VK_TAB);
    EXPECT_EQ(1, m_pMenuBar->GetSelectedIndex());
    SendKey(VK_SHIFT, false);
    Key(VK_TAB);
    SendKey(VK_SHIFT, true);
    PumpTranslated(30);
    EXPECT_EQ(0, m_pMenuBar->GetSelectedIndex());
    // Left from the first wraps to the last.
    Key(VK_LEFT);
    EXPECT_EQ(m_pMenuBar->GetControlCount() - 1, m_pMenuBar->GetSelectedIndex());

    Key(VK_SPACE);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return s_pFrame->m_nSystemMenuRequests > 0; }, 2000));
    EXPECT_EQ(1, s_pFrame->m_nSystemMenuRequests);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());
}

TEST_F(Tracking, RightToLeftFramesTradeLeftAndRight)
{
    s_pFrame->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    MakeBars();
    ASSERT_TRUE(m_pBars->IsLayoutRTL());
    EnterWithAlt();
    ASSERT_EQ(0, m_pMenuBar->GetSelectedIndex());
    Key(VK_LEFT);
    EXPECT_EQ(1, m_pMenuBar->GetSelectedIndex());
    Key(VK_RIGHT);
    EXPECT_EQ(0, m_pMenuBar->GetSelectedIndex());
}

TEST_F(Tracking, HoveringOpensASubmenuAndSwitchesMenus)
{
    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    CQVTCommandBar* pFile = OpenPopup(m_pMenuBar);
    CQVTControl* pRecent = nullptr;
    for (int i = 0; i < pFile->GetControlCount() && !pRecent; ++i)
        if (pFile->GetControl(i)->GetCommandBar())
            pRecent = pFile->GetControl(i);
    ASSERT_NE(nullptr, pRecent);
    MouseMoveTo(ScreenCentre(pFile, pRecent));
    // Not at once: after the hover delay.
    EXPECT_EQ(nullptr, OpenPopup(pFile));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(pFile) != nullptr; }, 3000));

    // Over the menu bar's next menu while one is open: it opens in its place.
    const int nEdit = MenuBarIndexOf(ID_TRK_COPY);
    MouseMoveTo(ScreenCentre(m_pMenuBar, m_pMenuBar->GetControl(nEdit)));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return m_pMenuBar->GetPopupedIndex() == nEdit; }, 2000));
    EXPECT_NE(nullptr, OpenPopup(m_pMenuBar));
}

TEST_F(Tracking, ClicksInTrustedWindowsKeepTheMenuOpenAndOthersCloseIt)
{
    // A cancelled mode closes the menus.
    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    s_pFrame->SendMessage(WM_CANCELMODE);
    EXPECT_TRUE(PumpTranslatedUntil(
        [&] { return OpenPopup(m_pMenuBar) == nullptr && !m_pMenuBar->IsTrackingMode(); }, 2000));

    // Another window of the test: a child of the frame away from the bars.
    CRect rcClient;
    s_pFrame->GetClientRect(&rcClient);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(
        0,
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
        _T("Other"), WS_CHILD | WS_BORDER | WS_VISIBLE, rcClient.right - 100, rcClient.bottom - 80, 80, 60,
        s_pFrame->GetSafeHwnd(), nullptr));
    PumpTranslated(30);
    CQVTMouseManager* pManager = CQVTMouseManager::GetThreadManager();
    pManager->AddTrustedWindow(other.GetSafeHwnd());

    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    MouseClickAt(WindowCentre(other.GetSafeHwnd()));
    PumpTranslated(50);
    EXPECT_NE(nullptr, OpenPopup(m_pMenuBar));

    pManager->RemoveTrustedWindow(other.GetSafeHwnd());
    EXPECT_FALSE(pManager->IsTrustedWindow(other.GetSafeHwnd()));
    MouseClickAt(WindowCentre(other.GetSafeHwnd()));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) == nullptr; }, 2000));
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());
    other.DestroyWindow();
}

TEST_F(Tracking, TheHotControlGoesWhenThePointerLeaves)
{
    CQVTControl* pPrint = m_pToolBar->GetControls()->FindControl(ID_TRK_PRINT);
    MouseMoveTo(ScreenCentre(m_pToolBar, pPrint));
    ASSERT_TRUE(
        PumpTranslatedUntil([&] { return m_pToolBar->GetSelectedIndex() == pPrint->GetIndex(); }, 2000));
    // Far off the frame, where no window of the test gets the move.
    MouseMoveTo(CPoint(20, 700));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return m_pToolBar->GetSelectedIndex() == -1; }, 1000));
}

TEST_F(Tracking, MnemonicsPassOverDisabledControls)
{
    // A disabled "&Pack" before "&Print" on the toolbar, a disabled
    // "&Preview" before "&Paste" in the Edit menu: P reaches the enabled
    // ones at once, as the only controls of that mnemonic.
    CQVTControl* pPack = m_pToolBar->GetControls()->AddByType(qvtControlButton, 1500, nullptr, 0);
    ASSERT_NE(nullptr, pPack);
    pPack->SetCaption(_T("&Pack"));
    pPack->SetStyle(qvtButtonCaption);
    pPack->SetEnabled(FALSE);
    CQVTCommandBar* pEdit = m_pMenuBar->GetControl(MenuBarIndexOf(ID_TRK_COPY))->GetCommandBar();
    ASSERT_NE(nullptr, pEdit);
    const int nPaste = pEdit->GetControls()->FindControl(ID_TRK_PASTE)->GetIndex();
    CQVTControl* pPreview = pEdit->GetControls()->AddByType(qvtControlButton, 1501, nullptr, nPaste);
    ASSERT_NE(nullptr, pPreview);
    pPreview->SetCaption(_T("&Preview"));
    pPreview->SetEnabled(FALSE);
    m_pToolBar->DelayLayout();
    m_pBars->RecalcFrameLayout(FALSE);
    PumpTranslated(30);

    m_pBars->GetCommandBarsOptions()->keyboardCuesUse = 1;
    AltKey('P');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_TRK_PRINT}), s_pFrame->m_commands);
    CQVTCommandBars::ClosePopups();
    PumpTranslated(30);

    s_pFrame->m_commands.clear();
    m_pBars->GetCommandBarsOptions()->keyboardCuesUse = 0;
    AltKey('E');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    ASSERT_FALSE(pPreview->GetEnabled());
    Key('P');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_TRK_PASTE}), s_pFrame->m_commands);
}
