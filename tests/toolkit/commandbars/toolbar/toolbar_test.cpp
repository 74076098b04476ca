// Toolbars as a user meets them: buttons and icons from toolbar resources,
// a short bar whose expand button lists what did not fit, "Add or Remove
// Buttons" and "Reset Toolbar" behind a confirmation, floating bars with a
// close box that leave the focus where it was, a bar in a dialog, the
// toolbars context menu, and where a control dragged onto a bar lands.
#include <afxwin.h>
#include <afxext.h>

#include <atomic>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "tests/toolkit/commandbars/toolbar/toolbar_test_ids.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"

class ToolBars : public BarsFrameSuite<ToolBars>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(40, 40, 440, 300), TRUE); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        RestoreFrame(CRect(40, 40, 440, 300));
        s_pFrame->SetForegroundWindow();
        PumpMessages(20);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        s_pFrame->ResetBars();
        PumpMessages(20);
    }
    static CQVTCommandBars* Bars() { return s_pFrame->GetCommandBars(); }
    static CQVTToolBar* AddToolBar(LPCTSTR lpszTitle, int nPosition = qvtBarTop)
    {
        return DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(lpszTitle, nPosition));
    }
    // Ten buttons of ids 40400.., with captions, so that a short bar overflows.
    static void FillTen(CQVTToolBar* pToolBar)
    {
        std::vector<UINT> ids;
        for (UINT i = 0; i < 10; ++i)
            ids.push_back(40400 + i);
        ASSERT_TRUE(pToolBar->SetButtons(ids.data(), static_cast<int>(ids.size())));
        for (int i = 0; i < pToolBar->GetControlCount(); ++i)
        {
            CString strCaption;
            strCaption.Format(_T("Button %d"), i);
            pToolBar->GetControl(i)->SetCaption(strCaption);
            pToolBar->GetControl(i)->SetStyle(qvtButtonCaption);
        }
    }
    static std::vector<int> OverflowedIds(CQVTToolBar* pToolBar)
    {
        std::vector<int> ids;
        for (int i = 0; i < pToolBar->GetControlCount(); ++i)
            if (pToolBar->GetControl(i)->GetHideFlags() == qvtHideWrap)
                ids.push_back(pToolBar->GetControl(i)->GetID());
        return ids;
    }
    // The "Add or Remove Buttons" list of the bar, as the expand button's
    // popup offers it.
    static CQVTPopupBar* OpenCustomizeList(CQVTToolBar* pToolBar)
    {
        CQVTToolBar::CControlButtonExpand* pExpand = pToolBar->GetExpandButton();
        if (!pExpand || !pToolBar->SetPopuped(pExpand->GetIndex()))
            return nullptr;
        CQVTCommandBar* pPopup = pExpand->GetCommandBar();
        CQVTControlPopup* pAddRemove =
            DYNAMIC_DOWNCAST(CQVTControlPopup, pPopup->GetControls()->FindControl(QVT_ID_ADDREMOVE_BUTTONS));
        if (!pAddRemove)
            return nullptr;
        CQVTCommandBar* pBars = pAddRemove->GetCommandBar();
        CQVTControlPopup* pEntry = DYNAMIC_DOWNCAST(CQVTControlPopup, pBars->GetControl(0));
        return pEntry ? DYNAMIC_DOWNCAST(CQVTPopupBar, pEntry->GetCommandBar()) : nullptr;
    }
    // Answers the confirmation message box of this process when it shows.
    static void AnswerMessageBox(int nButton, std::atomic<bool>* pSeen)
    {
        for (int i = 0; i < 200; ++i)
        {
            HWND hBox = ::FindWindow(_T("#32770"), nullptr);
            if (hBox && ::IsWindowVisible(hBox))
            {
                DWORD dwProcess = 0;
                ::GetWindowThreadProcessId(hBox, &dwProcess);
                if (dwProcess == ::GetCurrentProcessId())
                {
                    *pSeen = true;
                    ::Sleep(100);
                    ::PostMessage(hBox, WM_COMMAND, nButton, 0);
                    return;
                }
            }
            ::Sleep(25);
        }
    }
};

TEST_F(ToolBars, ButtonsAndIconsComeFromToolbarResources)
{
    CQVTToolBar* pToolBar = AddToolBar(_T("Standard"));
    ASSERT_NE(nullptr, pToolBar);
    ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TOOLBAR24));
    EXPECT_EQ(static_cast<UINT>(IDR_TOOLBAR24), pToolBar->GetBarID());
    ASSERT_EQ(3, pToolBar->GetControls()->GetOriginalControls()->GetCount());
    EXPECT_EQ(ID_TB_FIRST, pToolBar->GetControl(0)->GetID());
    EXPECT_TRUE(pToolBar->GetControl(1)->GetBeginGroup());
    EXPECT_EQ(CSize(24, 24), pToolBar->GetIconSize());
    EXPECT_EQ(CSize(24 + QVTDpiScaler()->ScaleX(6), 24 + QVTDpiScaler()->ScaleY(6)),
              pToolBar->GetButtonSize());
    EXPECT_NE(nullptr, QVTImageManager()->GetImage(ID_TB_THIRD, 24));
    // A strip 16 wide keeps the bars' icon size.
    CQVTToolBar* pSmall = AddToolBar(_T("Small"));
    ASSERT_TRUE(pSmall->LoadToolBar(IDR_TOOLBAR16));
    EXPECT_EQ(CSize(QVTDpiScaler()->ScaleSize(CSize(16, 16))), pSmall->GetIconSize());

    // A count larger than the resource, an unknown version and a missing
    // resource are refused and leave the bar alone; a missing strip leaves
    // the buttons without the original copy.
    for (UINT nBad : {static_cast<UINT>(IDR_TOOLBAR_SHORT), static_cast<UINT>(IDR_TOOLBAR_OLDVERSION), 999u})
    {
        EXPECT_FALSE(pSmall->LoadToolBar(nBad)) << nBad;
        EXPECT_EQ(3, pSmall->GetControls()->GetOriginalControls()->GetCount());
    }
    CQVTToolBar* pNoBitmap = AddToolBar(_T("No bitmap"));
    EXPECT_FALSE(pNoBitmap->LoadToolBar(IDR_TOOLBAR_NOBITMAP));
    EXPECT_EQ(ID_TB_FIRST, pNoBitmap->GetControl(0)->GetID());
    EXPECT_EQ(nullptr, pNoBitmap->GetControls()->GetOriginalControls());
    EXPECT_TRUE(pNoBitmap->LoadToolBar(IDR_TOOLBAR_NOBITMAP, FALSE));
}

TEST_F(ToolBars, AShortBarListsExactlyWhatDidNotFitBehindItsExpandButton)
{
    s_pFrame->SetWindowPos(nullptr, 0, 0, 260, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CQVTToolBar* pToolBar = AddToolBar(_T("Long"));
    FillTen(pToolBar);
    Bars()->RecalcFrameLayout();
    PumpMessages(30);
    const std::vector<int> overflowed = OverflowedIds(pToolBar);
    ASSERT_FALSE(overflowed.empty());
    ASSERT_LT(overflowed.size(), 10u);
    CRect rcBar;
    pToolBar->GetClientRect(&rcBar);
    CQVTToolBar::CControlButtonExpand* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    EXPECT_TRUE(pExpand->IsVisible());
    EXPECT_EQ(rcBar.right - 2, pExpand->GetRect().right);
    EXPECT_TRUE(pExpand->m_bHiddenControls);

    // Clicking it opens the list of the hidden buttons and the customize
    // entry.
    CRect rcExpand = pExpand->GetRect();
    pToolBar->ClientToScreen(&rcExpand);
    MouseClickAt(rcExpand.CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return pExpand->GetPopuped() == TRUE; }));
    CQVTCommandBar* pPopup = pExpand->GetCommandBar();
    std::vector<int> listed;
    for (int i = 0; i < pPopup->GetControlCount(); ++i)
        if (pPopup->GetControl(i)->GetID() != QVT_ID_ADDREMOVE_BUTTONS)
            listed.push_back(pPopup->GetControl(i)->GetID());
    EXPECT_EQ(overflowed, listed);
    EXPECT_NE(nullptr, pPopup->GetControls()->FindControl(QVT_ID_ADDREMOVE_BUTTONS));
    // A listed button runs its command: its press is tracked in a loop of
    // its own, so the click comes from another thread.
    CQVTControl* pListed = pPopup->GetControl(0);
    CRect rcListed = pListed->GetRect();
    pPopup->ClientToScreen(&rcListed);
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(rcListed.CenterPoint());
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    ASSERT_TRUE(PumpUntil([] { return !s_pFrame->m_commands.empty(); }));
    EXPECT_EQ(static_cast<UINT>(overflowed.front()), s_pFrame->m_commands.front());

    // Without the hide-behind flag the controls wrap into more rows.
    const int nHeight = rcBar.Height();
    pToolBar->SetFlags(0, CQVTToolBar::dockHideWrap);
    Bars()->RecalcFrameLayout();
    EXPECT_TRUE(OverflowedIds(pToolBar).empty());
    pToolBar->GetClientRect(&rcBar);
    EXPECT_GT(rcBar.Height(), nHeight);
}

TEST_F(ToolBars, AddOrRemoveButtonsHidesAButtonAndResetBringsItBackAfterConfirmation)
{
    CQVTToolBar* pToolBar = AddToolBar(_T("Standard"));
    ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TOOLBAR24));
    Bars()->RecalcFrameLayout();
    EXPECT_FALSE(pToolBar->IsResetAllowed());
    CQVTPopupBar* pList = OpenCustomizeList(pToolBar);
    ASSERT_NE(nullptr, pList);
    // One entry per button, checked while shown, then "Reset Toolbar".
    ASSERT_EQ(4, pList->GetControlCount());
    EXPECT_EQ(QVT_ID_RESET_TOOLBAR, pList->GetControl(3)->GetID());
    EXPECT_TRUE(pList->GetControl(3)->GetBeginGroup());
    CQVTControl* pSecondEntry = pList->GetControl(1);
    EXPECT_TRUE(pSecondEntry->GetChecked());
    pSecondEntry->OnExecute();
    EXPECT_FALSE(pSecondEntry->GetChecked());
    CQVTControl* pSecond = pToolBar->GetControls()->FindControl(ID_TB_SECOND);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_FALSE(pSecond->IsVisible());
    Bars()->RecalcFrameLayout();
    EXPECT_FALSE(pSecond->IsVisible());
    EXPECT_TRUE(pToolBar->IsResetAllowed());
    CQVTCommandBars::ClosePopups();

    // The user removes a button; the list shows it unchecked again.
    pToolBar->GetControls()->Remove(pToolBar->GetControls()->FindControl(ID_TB_THIRD));
    pList = OpenCustomizeList(pToolBar);
    ASSERT_NE(nullptr, pList);
    EXPECT_FALSE(pList->GetControl(2)->GetChecked());
    CQVTCommandBars::ClosePopups();

    // Cancelling the confirmation changes nothing; OK resets.
    std::atomic<bool> bSeen{false};
    {
        WinThread answer([&] { AnswerMessageBox(IDCANCEL, &bSeen); });
        EXPECT_FALSE(pToolBar->ResetToolBar(TRUE));
    }
    EXPECT_TRUE(bSeen);
    EXPECT_FALSE(pToolBar->GetControls()->FindControl(ID_TB_SECOND)->IsVisible());
    bSeen = false;
    pList = OpenCustomizeList(pToolBar);
    ASSERT_NE(nullptr, pList);
    CQVTControl* pReset = pList->GetControls()->FindControl(QVT_ID_RESET_TOOLBAR);
    ASSERT_NE(nullptr, pReset);
    {
        WinThread answer([&] { AnswerMessageBox(IDOK, &bSeen); });
        pReset->OnExecute();
    }
    EXPECT_TRUE(bSeen);
    ASSERT_NE(nullptr, pToolBar->GetControls()->FindControl(ID_TB_THIRD));
    EXPECT_TRUE(pToolBar->GetControls()->FindControl(ID_TB_SECOND)->IsVisible());
    EXPECT_FALSE(pToolBar->IsResetAllowed());
}

TEST_F(ToolBars, FloatingBarsCloseWithTheirBoxAndTornOffOnesLeaveTheBars)
{
    CQVTToolBar* pFloating = AddToolBar(_T("Floating"), qvtBarFloating);
    ASSERT_NE(nullptr, pFloating);
    EXPECT_TRUE(pFloating->GetStyle() & WS_POPUP);
    EXPECT_FALSE(pFloating->GetStyle() & WS_CHILD);
    FillTen(pFloating);
    pFloating->OnRecalcLayout();
    CQVTToolBar::CControlButtonHide* pHide = pFloating->GetHideButton();
    ASSERT_NE(nullptr, pHide);
    EXPECT_FALSE(pHide->GetRect().IsRectEmpty());
    // The edges size the bar.
    CRect rc;
    pFloating->GetWindowRect(&rc);
    EXPECT_EQ(HTTOP, pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.CenterPoint().x, rc.top + 1)));
    EXPECT_EQ(HTRIGHT, pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.right - 1, rc.CenterPoint().y)));
    EXPECT_EQ(HTBOTTOM,
              pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.CenterPoint().x, rc.bottom - 2)));

    pHide->OnExecute();
    EXPECT_FALSE(pFloating->IsVisible());
    EXPECT_EQ(std::vector<LPARAM>({0}), s_pFrame->m_visibilityChanges);
    EXPECT_EQ(0, Bars()->FindIndex(pFloating));
    pFloating->SetVisible(TRUE);
    EXPECT_EQ(std::vector<LPARAM>({0, 1}), s_pFrame->m_visibilityChanges);

    CQVTToolBar* pTornOff = AddToolBar(_T("Torn off"), qvtBarFloating);
    pTornOff->SetTearOff(TRUE);
    pTornOff->SetVisible(FALSE);
    EXPECT_EQ(-1, Bars()->FindIndex(pTornOff));
    // Bars made from the bars' class of toolbars reject a place past floating.
    EXPECT_EQ(nullptr, AddToolBar(_T("Nowhere"), qvtBarPopup));
}

TEST_F(ToolBars, FloatingOrFocusedBarsLeaveTheOtherBarsHotTracking)
{
    CQVTToolBar* pOther = AddToolBar(_T("Other"));
    CQVTToolBar* pFloated = AddToolBar(_T("Floated"));
    for (CQVTToolBar* pBar : {pOther, pFloated})
        FillTen(pBar);
    Bars()->RecalcFrameLayout();
    ASSERT_TRUE(PumpUntil([] { return ::GetForegroundWindow() == s_pFrame->GetSafeHwnd(); }, 2000));

    // The real pointer over a button of the other bar makes it hot.
    CQVTControl* pButton = pOther->GetControl(0);
    auto hotUnderThePointer = [pOther, pButton] {
        CPoint pt = pButton->GetRect().CenterPoint();
        pOther->ClientToScreen(&pt);
        MouseMoveTo(CPoint(pt.x, pt.y + QVTDpiScaler()->ScaleY(150)));
        if (!PumpUntil([pButton] { return pButton->GetSelected() == 0; }, 2000))
            return false;
        MouseMoveTo(pt);
        return PumpUntil([pButton] { return pButton->GetSelected() != 0; }, 3000);
    };

    // A docked bar floated, and a bar made floating, are shown without
    // taking the activation or the focus.
    ASSERT_TRUE(Bars()->FloatCommandBar(pFloated));
    CQVTToolBar* pMade = AddToolBar(_T("Made floating"), qvtBarFloating);
    ASSERT_NE(nullptr, pMade);
    PumpMessages(50);
    EXPECT_TRUE(pFloated->IsWindowVisible());
    EXPECT_EQ(WS_POPUP, pFloated->GetStyle() & (WS_POPUP | WS_CHILD));
    EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(pFloated->GetSafeHwnd(), GA_PARENT));
    EXPECT_EQ(s_pFrame->GetSafeHwnd(), ::GetWindow(pFloated->GetSafeHwnd(), GW_OWNER));
    EXPECT_EQ(s_pFrame->GetSafeHwnd(), ::GetForegroundWindow());
    for (CQVTToolBar* pBar : {pFloated, pMade})
    {
        EXPECT_NE(pBar->GetSafeHwnd(), ::GetFocus());
        EXPECT_FALSE(pBar->IsTrackingMode());
    }
    EXPECT_TRUE(hotUnderThePointer());

    // A bar that can dock does not take the keyboard with the focus.
    CQVTToolBar* pFocused = AddToolBar(_T("Focused"));
    FillTen(pFocused);
    Bars()->RecalcFrameLayout();
    MouseMoveTo(CPoint(5, 5));
    PumpMessages(20);
    pFocused->SetFocus();
    PumpMessages(20);
    EXPECT_FALSE(pFocused->IsTrackingMode());
    EXPECT_TRUE(hotUnderThePointer());
    s_pFrame->SetFocus();
}

TEST_F(ToolBars, HidingAllBarsRemembersWhichWereShown)
{
    CQVTToolBar* pShown = AddToolBar(_T("Shown"));
    CQVTToolBar* pHidden = AddToolBar(_T("Hidden"));
    pHidden->SetVisible(FALSE);
    Bars()->HideCommandBars(TRUE);
    Bars()->HideCommandBars(TRUE);
    EXPECT_FALSE(pShown->IsVisible());
    Bars()->HideCommandBars(FALSE);
    EXPECT_TRUE(pShown->IsVisible());
    EXPECT_FALSE(pHidden->IsVisible());
}

TEST_F(ToolBars, TheToolbarsContextMenuListsTheBarsAndShowsOrHidesThem)
{
    CQVTToolBar* pFirst = AddToolBar(_T("First"));
    CQVTToolBar* pSecond = AddToolBar(_T("Second && more"));
    pSecond->SetContextMenuPresent(TRUE);
    CQVTToolBar* pUnlisted = AddToolBar(_T("Unlisted"));
    pUnlisted->SetContextMenuPresent(FALSE);
    CQVTPopupBar* pPopup = Bars()->GetToolbarsPopup();
    ASSERT_EQ(3, pPopup->GetControlCount());
    EXPECT_EQ(CString(_T("First")), pPopup->GetControl(0)->GetCaption());
    EXPECT_EQ(CString(_T("Second &&&& more")), pPopup->GetControl(1)->GetCaption());
    EXPECT_TRUE(pPopup->GetControl(0)->GetChecked());
    EXPECT_EQ(QVT_ID_CUSTOMIZE, pPopup->GetControl(2)->GetID());
    EXPECT_TRUE(pPopup->GetControl(2)->GetBeginGroup());
    pPopup->InternalRelease();

    // A right click on a bar opens the menu; choosing the first entry hides
    // the first bar.
    Bars()->RecalcFrameLayout();
    CRect rc;
    pFirst->GetWindowRect(&rc);
    s_pFrame->SetForegroundWindow();
    PumpMessages(30);
    WinThread input([&] {
        ::Sleep(200);
        SendKey(VK_DOWN, false);
        SendKey(VK_DOWN, true);
        ::Sleep(60);
        SendKey(VK_RETURN, false);
        SendKey(VK_RETURN, true);
    });
    Bars()->ContextMenu(pFirst, rc.CenterPoint());
    input.join();
    PumpMessages(50);
    EXPECT_FALSE(pFirst->IsVisible());
    EXPECT_TRUE(pSecond->IsVisible());
}

namespace {

// A dialog with bars: its WM_SIZE lays the bars out.
TEST_F(ToolBars, ADropLandsBesideTheNearestButtonOfTheRowUnderThePoint)
{
    CQVTToolBar* pToolBar = AddToolBar(_T("Drops"));
    const UINT ids[] = {40400, 40401, 40402, 40403};
    ASSERT_TRUE(pToolBar->SetButtons(ids, 4));
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    // Two rows placed by hand: the fourth button wraps to the second.
    const CRect rects[] = {CRect(10, 2, 40, 26), CRect(40, 2, 70, 26), CRect(70, 2, 100, 26),
                           CRect(10, 26, 40, 50)};
    for (int i = 0; i < 4; ++i)
        pToolBar->GetControl(i)->SetRect(rects[i]);
    pToolBar->GetControl(3)->SetWrap(TRUE);
    auto at = [&](CPoint point, BOOL& bAfter, CRect& rcMark, CQVTControl* pDragged = nullptr) {
        return pToolBar->CalcInsertPosition(pDragged, point, bAfter, rcMark);
    };
    BOOL bAfter = FALSE;
    CRect rcMark;

    // Past the middle: after it, the mark just outside its right edge; with
    // a group beginning next, inside it; before the middle, at its left.
    EXPECT_EQ(1, at(CPoint(57, 10), bAfter, rcMark));
    EXPECT_TRUE(bAfter);
    EXPECT_EQ(CRect(70, 2, 70 + pDpi->ScaleX(6), 26), rcMark);
    pToolBar->GetControl(2)->SetBeginGroup(TRUE);
    at(CPoint(57, 10), bAfter, rcMark);
    EXPECT_EQ(CRect(70 - pDpi->ScaleX(6), 2, 70, 26), rcMark);
    EXPECT_EQ(1, at(CPoint(53, 10), bAfter, rcMark));
    EXPECT_FALSE(bAfter);
    EXPECT_EQ(CRect(40, 2, 40 + pDpi->ScaleX(6), 26), rcMark);
    // Halfway between two centres the earlier one wins.
    EXPECT_EQ(0, at(CPoint(40, 10), bAfter, rcMark));
    // The last of a row keeps the mark inside: the next starts a new row.
    EXPECT_EQ(2, at(CPoint(97, 10), bAfter, rcMark));
    EXPECT_EQ(CRect(100 - pDpi->ScaleX(6), 2, 100, 26), rcMark);

    // Rows: the second row's button is found only from the second row.
    EXPECT_EQ(0, at(CPoint(27, 10), bAfter, rcMark));
    EXPECT_EQ(3, at(CPoint(27, 40), bAfter, rcMark));

    // Over the dragged button itself no mark shows; a button that cannot
    // be moved is passed over.
    EXPECT_EQ(1, at(CPoint(57, 10), bAfter, rcMark, pToolBar->GetControl(1)));
    EXPECT_TRUE(rcMark.IsRectEmpty());
    pToolBar->GetControl(1)->SetFlags(pToolBar->GetControl(1)->GetFlags() | qvtFlagNoMovable);
    EXPECT_EQ(2, at(CPoint(57, 10), bAfter, rcMark));
    EXPECT_FALSE(bAfter);

    // A bar that is not customizable, like an empty one, has no place but
    // its start.
    pToolBar->SetCustomizable(FALSE);
    EXPECT_EQ(-1, at(CPoint(57, 10), bAfter, rcMark));
    CRect rcClient;
    pToolBar->GetClientRect(&rcClient);
    EXPECT_EQ(CRect(rcClient.left + pDpi->ScaleX(2), rcClient.top + pDpi->ScaleY(2),
                    rcClient.left + pDpi->ScaleX(8), rcClient.bottom - pDpi->ScaleY(2)),
              rcMark);

    // A bar docked at the side marks bands across its buttons.
    CQVTToolBar* pSide = AddToolBar(_T("Side drops"), qvtBarLeft);
    ASSERT_TRUE(pSide->SetButtons(ids, 2));
    pSide->GetControl(0)->SetRect(CRect(2, 10, 26, 40));
    pSide->GetControl(1)->SetRect(CRect(2, 40, 26, 70));
    EXPECT_EQ(0, pSide->CalcInsertPosition(nullptr, CPoint(10, 27), bAfter, rcMark));
    EXPECT_TRUE(bAfter);
    EXPECT_EQ(CRect(2, 40, 26, 40 + pDpi->ScaleY(6)), rcMark);
}

class CToolBarDialog : public CQVTDialogBase<CDialog>
{
public:
    void OnOK() override {}
    void OnCancel() override {}
};

}  // namespace

TEST(ToolBarInDialog, TheDialogsLayoutPutsTheBarAtTheTop)
{
    CToolBarDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_SITE));
    dialog.SetWindowPos(&CWnd::wndTopMost, 500, 500, 420, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(dialog.InitCommandBars());
    CQVTToolBar* pToolBar =
        DYNAMIC_DOWNCAST(CQVTToolBar, dialog.GetCommandBars()->Add(_T("Dialog"), qvtBarTop));
    ASSERT_NE(nullptr, pToolBar);
    ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TOOLBAR24));
    dialog.GetCommandBars()->RecalcFrameLayout();
    CRect rcClient;
    dialog.GetClientRect(&rcClient);
    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    dialog.ScreenToClient(&rcBar);
    EXPECT_EQ(0, rcBar.top);
    EXPECT_EQ(0, rcBar.left);
    EXPECT_LT(rcBar.Width(), rcClient.Width());
    EXPECT_GE(rcBar.Height(), 24 + QVTDpiScaler()->ScaleY(6));
    // A stretched bar takes the whole width.
    pToolBar->SetFlags(CQVTToolBar::dockStretch);
    dialog.GetCommandBars()->RecalcFrameLayout();
    pToolBar->GetWindowRect(&rcBar);
    EXPECT_EQ(rcClient.Width(), rcBar.Width());
    dialog.DestroyWindow();
}

// A site without dock bars: its bars sit on its edges and go nowhere else.
TEST(ToolBarInDialog, WithoutDockBarsItTakesTheKeyboardWithTheFocusAndStaysInPlace)
{
    CToolBarDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_SITE));
    dialog.SetWindowPos(&CWnd::wndTopMost, 500, 500, 420, 200, SWP_SHOWWINDOW);
    CQVTCommandBars* pBars = CQVTCommandBars::CreateCommandBars();
    pBars->SetSite(&dialog);
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBars->Add(_T("Dialog"), qvtBarTop));
    ASSERT_NE(nullptr, pToolBar);
    ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TOOLBAR24));
    pBars->RecalcFrameLayout();
    dialog.SetForegroundWindow();
    PumpMessages(20);

    // The focus puts the bar in tracking mode on its first button.
    pToolBar->SetFocus();
    PumpMessages(20);
    EXPECT_TRUE(pToolBar->IsTrackingMode());
    EXPECT_EQ(0, pToolBar->GetSelectedIndex());
    pToolBar->SetTrackingMode(FALSE);

    // Nothing to drag it to: a double click away from the buttons leaves it
    // where it is, even where double clicks float bars.
    pBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
    EXPECT_EQ(nullptr, pToolBar->GetDockContext());
    CRect rcBefore;
    pToolBar->GetWindowRect(&rcBefore);
    CRect rcClient;
    pToolBar->GetClientRect(&rcClient);
    const CPoint ptEmpty(1, rcClient.CenterPoint().y);
    ASSERT_EQ(nullptr, pToolBar->GetControls()->HitTest(ptEmpty));
    pToolBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(ptEmpty.x, ptEmpty.y));
    PumpMessages(20);
    EXPECT_FALSE(pToolBar->IsFloating());
    CRect rcAfter;
    pToolBar->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcBefore, rcAfter);
    pBars->InternalRelease();
    dialog.DestroyWindow();
}
