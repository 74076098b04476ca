// The bar window on its own: hot tracking with the site told, the redraw
// lock and the idle pass that catches up, the cross-fade of a changed
// control, help hit tests, and a frame window as the site, whose layout the
// bars delay to the next idle pass.
#include <afxext.h>

#include "real_input.h"
#include "site_dialog.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/bars/QVTCommandBarAnimation.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"

class BarWindow : public SiteDialogSuite<BarWindow>
{
protected:
    void SetUp() override
    {
        s_pDialog->Reset();
        ASSERT_NE(nullptr, s_pDialog->GetBar());
    }
};

namespace {

TEST_F(BarWindow, HotTrackingTellsTheSiteAndShowsTheDescriptionInTheStatusText)
{
    CSiteDialog& dialog = *s_pDialog;
    CTestBar* pBar = dialog.GetBar();
    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    MouseMoveTo(dialog.ScreenCenterOf(pNew));
    PumpMessages();
    EXPECT_EQ(pNew->GetIndex(), pBar->GetSelectedIndex());
    EXPECT_EQ(1, pNew->GetSelected());
    EXPECT_EQ(1, dialog.m_nHotChanges);
    ASSERT_FALSE(dialog.m_statusTexts.empty());
    EXPECT_EQ(CString(_T("Create a new recording")), dialog.m_statusTexts.back());

    // Moving to the next control unselects the first, and the status text
    // follows.
    CQVTControl* pOpen = dialog.FindControl(ID_TEST_OPEN);
    MouseMoveTo(dialog.ScreenCenterOf(pOpen));
    PumpMessages();
    EXPECT_EQ(0, pNew->GetSelected());
    EXPECT_EQ(1, pOpen->GetSelected());
    EXPECT_EQ(CString(_T("Open a recording")), dialog.m_statusTexts.back());

    // Leaving the bar drops the hot control and pops the status text.
    CRect rcDialog;
    dialog.GetWindowRect(&rcDialog);
    MouseMoveTo(CPoint(rcDialog.CenterPoint().x, rcDialog.bottom - 5));
    // The leave notification comes from the system's own polling.
    for (int i = 0; i < 200 && pBar->GetSelectedIndex() != -1; ++i)
    {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_EQ(-1, pBar->GetSelectedIndex());
    EXPECT_EQ(0, pOpen->GetSelected());
    EXPECT_TRUE(dialog.m_statusTexts.back().IsEmpty());
}

TEST_F(BarWindow, ARedrawUnderTheLockWaitsForTheNextIdlePass)
{
    CSiteDialog& dialog = *s_pDialog;
    CTestBar* pBar = dialog.GetBar();
    pBar->UpdateWindow();
    pBar->LockRedraw();
    pBar->Redraw();
    EXPECT_TRUE(pBar->IsRedrawPending());
    CRect rcUpdate;
    EXPECT_FALSE(pBar->GetUpdateRect(&rcUpdate));
    pBar->UnlockRedraw();
    EXPECT_FALSE(pBar->IsRedrawPending());
    EXPECT_TRUE(pBar->GetUpdateRect(&rcUpdate));
    pBar->UpdateWindow();

    // Pending at the idle pass: drawn then.
    pBar->LockRedraw();
    pBar->Redraw();
    pBar->m_nRecalcCount = 0;
    pBar->DelayLayout();
    pBar->UnlockRedraw();
    pBar->UpdateWindow();
    pBar->DelayRedraw();
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_FALSE(pBar->IsRedrawPending());
    EXPECT_FALSE(pBar->IsLayoutPending());
    EXPECT_EQ(1, pBar->m_nRecalcCount);

    // A hidden bar does nothing at idle time, not even its pending layout.
    pBar->SetVisible(FALSE);
    pBar->DelayLayout();
    dialog.m_nOpenChecked = 1;
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_TRUE(pBar->IsLayoutPending());
    EXPECT_EQ(1, pBar->m_nRecalcCount);
    EXPECT_EQ(0, dialog.FindControl(ID_TEST_OPEN)->GetChecked());
    pBar->SetVisible(TRUE);
}

TEST_F(BarWindow, ControlsHiddenByCodeOrByPopupsStillGetTheirCommandState)
{
    CSiteDialog& dialog = *s_pDialog;
    CQVTControl* pOpen = dialog.FindControl(ID_TEST_OPEN);
    pOpen->SetHideFlags(qvtHideGeneric | qvtHidePopup | qvtHideExpand);
    dialog.m_nOpenChecked = 1;
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_EQ(1, pOpen->GetChecked());
    // Left out of the layout for want of room, it does not.
    pOpen->SetHideFlags(qvtHideWrap);
    dialog.m_nOpenChecked = 0;
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_EQ(1, pOpen->GetChecked());
    // Updated by hand, it keeps what code gives it.
    pOpen->SetHideFlags(0);
    pOpen->SetFlags(qvtFlagManualUpdate);
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_EQ(1, pOpen->GetChecked());
    pOpen->SetFlags(0);
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_EQ(0, pOpen->GetChecked());
}

TEST_F(BarWindow, AChangedControlFadesInFiveTicksAndAnUnchangedOneStartsNothing)
{
    CSiteDialog& dialog = *s_pDialog;
    CTestBar* pBar = dialog.GetBar();
    pBar->EnableAnimation(TRUE);
    pBar->Redraw();
    pBar->UpdateWindow();
    CQVTCommandBarAnimation* pAnimation = pBar->GetAnimation();
    ASSERT_TRUE(pAnimation->HasCache());

    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    pBar->Redraw(pNew->GetRect(), TRUE);
    EXPECT_EQ(0, pAnimation->GetAnimationCount());
    EXPECT_FALSE(pAnimation->IsTimerRunning());

    pNew->SetChecked(TRUE);
    EXPECT_EQ(1, pAnimation->GetAnimationCount());
    EXPECT_TRUE(pAnimation->IsTimerRunning());
    for (int nTick = 2; nTick <= 5; ++nTick)
    {
        pAnimation->OnAnimate();
        EXPECT_EQ(1, pAnimation->GetAnimationCount()) << nTick;
    }
    pAnimation->OnAnimate();
    EXPECT_EQ(0, pAnimation->GetAnimationCount());
    EXPECT_FALSE(pAnimation->IsTimerRunning());

    // The last step leaves the new picture on the screen.
    CDibCapture after(pBar);
    pBar->EnableAnimation(FALSE);
    pBar->Redraw();
    pBar->UpdateWindow();
    CDibCapture fresh(pBar);
    const CRect rc = pNew->GetRect();
    int nDiffering = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nDiffering += after.At(x, y) != fresh.At(x, y);
    EXPECT_EQ(0, nDiffering);
}

TEST_F(BarWindow, HelpHitTestsNameTheControlOrTheBar)
{
    CTestBar* pBar = s_pDialog->GetBar();
    CQVTControl* pOpen = s_pDialog->FindControl(ID_TEST_OPEN);
    const CPoint pt = pOpen->GetRect().CenterPoint();
    EXPECT_EQ(0x10000 + ID_TEST_OPEN, pBar->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    pOpen->SetHelpId(777);
    EXPECT_EQ(0x10000 + 777, pBar->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    const LPARAM lEmpty = MAKELPARAM(rcClient.right - 2, rcClient.bottom - 2);
    EXPECT_EQ(0x50000 + pBar->GetDlgCtrlID(), pBar->SendMessage(WM_HELPHITTEST, 0, lEmpty));
    const int nId = pBar->GetDlgCtrlID();
    pBar->SetDlgCtrlID(0);
    EXPECT_EQ(0, pBar->SendMessage(WM_HELPHITTEST, 0, lEmpty));
    pBar->SetDlgCtrlID(nId);
}

TEST_F(BarWindow, CaptionsFromUpdateHandlersAndTheirRemovalDuringTheUpdate)
{
    CSiteDialog& dialog = *s_pDialog;
    CTestBar* pBar = dialog.GetBar();
    struct CRenamingCmdUI
    {
        static void Rename(CQVTControl* pControl)
        {
            CQVTCommandBar::CCommandBarCmdUI state;
            state.m_pControl = pControl;
            state.SetText(_T("Renamed"));
            state.Enable(FALSE);
        }
    };
    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    CRenamingCmdUI::Rename(pNew);
    EXPECT_EQ(CString(_T("Renamed")), pNew->GetCaption());
    EXPECT_FALSE(pNew->GetEnabled());
    EXPECT_TRUE(pBar->IsLayoutPending());
}

TEST_F(BarWindow, AltShowsHiddenKeyboardCuesAndItsReleaseHidesThemAgain)
{
    CQVTCommandBars* pBars = s_pDialog->GetCommandBars();
    pBars->SetKeyboardCuesToggling(TRUE);
    pBars->ShowKeyboardCues(FALSE);
    ASSERT_FALSE(pBars->IsKeyboardCuesVisible());
    EXPECT_FALSE(s_pDialog->GetBar()->IsKeyboardCuesVisible());
    MSG msg = {s_pDialog->GetSafeHwnd(), WM_SYSKEYDOWN, VK_MENU, 1 << 29};
    EXPECT_FALSE(pBars->PreTranslateFrameMessage(&msg));
    EXPECT_TRUE(pBars->IsKeyboardCuesVisible());
    msg.message = WM_SYSKEYUP;
    EXPECT_FALSE(pBars->PreTranslateFrameMessage(&msg));
    EXPECT_FALSE(pBars->IsKeyboardCuesVisible());
    // Without toggling the state stays as set.
    pBars->SetKeyboardCuesToggling(FALSE);
    msg.message = WM_SYSKEYDOWN;
    pBars->PreTranslateFrameMessage(&msg);
    EXPECT_FALSE(pBars->IsKeyboardCuesVisible());
}

TEST_F(BarWindow, IndexesOutsideTheControlsGiveNothing)
{
    CTestBar* pBar = s_pDialog->GetBar();
    const int nCount = pBar->GetControlCount();
    for (int nIndex : {-1, nCount, nCount + 1000, INT_MIN, INT_MAX})
    {
        EXPECT_EQ(nullptr, pBar->GetControl(nIndex)) << nIndex;
        EXPECT_FALSE(pBar->SetPopuped(nIndex)) << nIndex;
    }
    EXPECT_FALSE(pBar->SetSelected(nCount + 3));
    EXPECT_EQ(nCount, pBar->GetControlCount());
    // Menus without items load as no controls.
    CMenu empty;
    empty.CreatePopupMenu();
    EXPECT_TRUE(pBar->LoadMenu(&empty));
    EXPECT_EQ(0, pBar->GetControlCount());
}

// A frame window as the site: the bars delay its layout to the idle pass.
class CSiteFrame : public CFrameWnd
{
public:
    int m_nLayouts = 0;
    void RecalcLayout(BOOL bNotify) override
    {
        ++m_nLayouts;
        CFrameWnd::RecalcLayout(bNotify);
    }
};

TEST(FrameSite, TheBarsDelayTheFramesLayoutToTheNextIdlePass)
{
    CSiteFrame* pFrame = new CSiteFrame();
    ASSERT_TRUE(pFrame->Create(nullptr, _T("Frame"), WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    CQVTCommandBars* pBars = CQVTCommandBars::CreateCommandBars();
    pBars->SetSite(pFrame);
    pBars->EnableDocking();
    CTestBar* pBar = new CTestBar();
    ASSERT_EQ(pBar, pBars->AddCommandBar(pBar, _T("Bar"), qvtBarTop));
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    pBar->LoadMenu(menu.GetSubMenu(0));

    pFrame->m_nLayouts = 0;
    pFrame->m_nIdleFlags = 0;
    pBars->RecalcFrameLayout(TRUE);
    EXPECT_EQ(0, pFrame->m_nLayouts);
    EXPECT_TRUE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(1, pFrame->m_nLayouts);
    EXPECT_FALSE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    // The frame's layout placed the bar at the top of its client area.
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    pFrame->ScreenToClient(&rcBar);
    EXPECT_EQ(0, rcBar.top);
    EXPECT_GT(rcBar.Height(), 10);

    pBars->RecalcFrameLayout(FALSE);
    EXPECT_EQ(2, pFrame->m_nLayouts);
    pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
    pBars->UpdateDelayedFrameLayout();
    EXPECT_EQ(3, pFrame->m_nLayouts);
    EXPECT_FALSE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    pBars->UpdateDelayedFrameLayout();
    EXPECT_EQ(3, pFrame->m_nLayouts);

    // Loading a menu asks the frame for its menu and layout update.
    pFrame->m_nIdleFlags = 0;
    pBar->LoadMenu(menu.GetSubMenu(0));
    EXPECT_TRUE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);

    pBars->InternalRelease();
    pFrame->DestroyWindow();
}

}  // namespace
