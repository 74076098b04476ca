// The group area's scrolling and the ribbon's popups as a user meets them:
// scroll buttons of a narrow window step forty pixels, repeat while held
// and stop on release or when the application quits; a minimized ribbon's
// tab opens its groups below the tab row, kept inside the work area; a
// reduced group opens as a popup seven pixels shorter than the group row;
// hovering highlights groups inside both popups.
#include <afxext.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

namespace {

// Sets the work area for the test and gives the old one back after it.
class CWorkAreaScope
{
public:
    explicit CWorkAreaScope(const CRect& rcWork)
    {
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &m_rcOld, 0);
        CRect rc(rcWork);
        ::SystemParametersInfo(SPI_SETWORKAREA, 0, &rc, 0);
    }
    ~CWorkAreaScope() { ::SystemParametersInfo(SPI_SETWORKAREA, 0, &m_rcOld, 0); }

private:
    CRect m_rcOld;
};

// Sets the double-click time for the test.
class CDoubleClickScope
{
public:
    explicit CDoubleClickScope(UINT nTime) : m_nOld(::GetDoubleClickTime()) { ::SetDoubleClickTime(nTime); }
    ~CDoubleClickScope() { ::SetDoubleClickTime(m_nOld); }

private:
    UINT m_nOld;
};

}  // namespace

class RibbonScrollAndPopups : public CRibbonFrameSuite
{
protected:
    // A Home tab with eight more groups, in a window narrow enough that its
    // groups scroll.
    void NarrowUntilScrolling()
    {
        CQVTRibbonTab* pHome = m_pRibbon->GetTab(0);
        for (int i = 0; i < 8; ++i)
        {
            CQVTRibbonGroup* pGroup = pHome->AddGroup(_T("More"), 4200 + i);
            pGroup->Add(qvtControlButton, 3330 + 2 * i, _T("One"));
            pGroup->Add(qvtControlButton, 3331 + 2 * i, _T("Two"));
        }
        s_pHost->ResizeClient(ScaleX(300), 400);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    }
    int Offset() const { return m_pRibbon->GetCurrentTab()->GetGroups()->GetScrollOffset(); }
    CRect WindowRect(CWnd* pWnd) const
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
};

TEST_F(RibbonScrollAndPopups, AClickScrollsFortyPixelsAndLeftFromThirtyGivesZero)
{
    NarrowUntilScrolling();
    CQVTControl* pRight = m_pRibbon->GetScrollButtonRight();
    ASSERT_TRUE(pRight->IsVisible());
    EXPECT_FALSE(m_pRibbon->GetScrollButtonLeft()->IsVisible());
    QueuedClickAt(s_pHost->ScreenRectOf(pRight).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return Offset() == ScaleX(40); }));
    ASSERT_TRUE(m_pRibbon->GetScrollButtonLeft()->IsVisible());

    m_pRibbon->SetGroupsScrollPos(30);
    PumpFrameUntil([&] { return Offset() == 30; });
    ASSERT_EQ(30, Offset());
    QueuedClickAt(s_pHost->ScreenRectOf(m_pRibbon->GetScrollButtonLeft()).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return Offset() == 0; }));
    EXPECT_EQ(0, m_pRibbon->GetGroupsScrollPos());
    EXPECT_FALSE(m_pRibbon->GetScrollButtonLeft()->IsVisible());
}

TEST_F(RibbonScrollAndPopups, AHeldButtonScrollsOnceBeforeTheRepeatDelayAndStopsOnRelease)
{
    NarrowUntilScrolling();
    CDoubleClickScope doubleClick(2000);
    const CPoint pt = s_pHost->ScreenRectOf(m_pRibbon->GetScrollButtonRight()).CenterPoint();
    MouseMoveTo(pt);
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ::Sleep(1000);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    PumpHost(50);
    EXPECT_EQ(ScaleX(40), Offset());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(m_pRibbon->GetScrollButtonRight()->GetPressed());
    // Released, nothing repeats later.
    PumpHost(1800);
    EXPECT_EQ(ScaleX(40), Offset());
}

TEST_F(RibbonScrollAndPopups, AQuitPostedDuringTheHoldEndsItAndReachesTheApplicationLoop)
{
    NarrowUntilScrolling();
    CDoubleClickScope doubleClick(2000);
    const DWORD dwThread = ::GetCurrentThreadId();
    MouseMoveTo(s_pHost->ScreenRectOf(m_pRibbon->GetScrollButtonRight()).CenterPoint());
    RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ::Sleep(300);
        ::PostThreadMessage(dwThread, WM_QUIT, 7, 0);
        ::Sleep(300);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    });
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(ScaleX(40), Offset());
    EXPECT_FALSE(m_pRibbon->GetScrollButtonRight()->GetPressed());
}

TEST_F(RibbonScrollAndPopups, AMinimizedTabOpensItsGroupsBelowTheTabRowInsideTheWorkArea)
{
    CWorkAreaScope workArea(CRect(0, 0, 1000, 1024));
    m_pRibbon->SetRibbonMinimized(TRUE);
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    const CPoint ptTab = s_pHost->ScreenPointOf(m_pRibbon->GetTab(1)->GetRect());
    MouseClickAt(ptTab);
    CQVTControl* pTabControl = m_pRibbon->GetControlTab();
    ASSERT_TRUE(PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pTabControl) != nullptr; }));
    CQVTRibbonTabPopupToolBar* pPopup =
        DYNAMIC_DOWNCAST(CQVTRibbonTabPopupToolBar, s_pHost->GetOpenPopup(pTabControl));
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    // A copy of the selected tab with its groups' controls.
    ASSERT_NE(nullptr, pPopup->GetTab());
    EXPECT_NE(m_pRibbon->GetTab(1), pPopup->GetTab());
    EXPECT_EQ(1, pPopup->GetTab()->GetGroups()->GetCount());
    EXPECT_NE(nullptr, pPopup->GetControls()->FindControl(ID_RIBBON_FOLDER));

    const CRect rcPopup = WindowRect(pPopup);
    CRect rcTabRow = m_pRibbon->GetTabControlRect();
    m_pRibbon->ClientToScreen(&rcTabRow);
    const CRect rcRibbon = WindowRect(m_pRibbon);
    EXPECT_EQ(rcRibbon.left, rcPopup.left);
    EXPECT_EQ(1000 - ScaleX(4), rcPopup.right);
    EXPECT_EQ(m_pRibbon->GetGroupsHeight(), rcPopup.Height());
    EXPECT_GE(rcPopup.top, rcTabRow.bottom - 2);
    EXPECT_LE(rcPopup.top, rcTabRow.bottom);

    // Hovering one of its groups highlights that copy.
    CQVTRibbonGroup* pGroup = pPopup->GetTab()->GetGroups()->GetAt(0);
    CRect rcCaption = pGroup->GetCaptionRect();
    pPopup->ClientToScreen(&rcCaption);
    MouseMoveTo(rcCaption.CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return pPopup->GetHighlightedGroup() == pGroup; }));
    EXPECT_TRUE(pGroup->IsHighlighted());
    EXPECT_EQ(nullptr, m_pRibbon->GetHighlightedGroup());
    KeyPress(VK_ESCAPE);
    PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pTabControl) == nullptr; });
}

TEST_F(RibbonScrollAndPopups, AMinimizedTabOpensAboveWhenTheWorkAreaEndsBelowTheTabRow)
{
    m_pRibbon->SetRibbonMinimized(TRUE);
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    CRect rcTabRow = m_pRibbon->GetTabControlRect();
    m_pRibbon->ClientToScreen(&rcTabRow);
    CWorkAreaScope workArea(CRect(0, 0, 1280, rcTabRow.bottom + 20));
    MouseClickAt(s_pHost->ScreenPointOf(m_pRibbon->GetTab(0)->GetRect()));
    CQVTControl* pTabControl = m_pRibbon->GetControlTab();
    ASSERT_TRUE(PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pTabControl) != nullptr; }));
    const CRect rcPopup = WindowRect(s_pHost->GetOpenPopup(pTabControl));
    EXPECT_LE(rcPopup.bottom, rcTabRow.top + 1);
    EXPECT_EQ(m_pRibbon->GetGroupsHeight(), rcPopup.Height());
    KeyPress(VK_ESCAPE);
    PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pTabControl) == nullptr; });
}

TEST_F(RibbonScrollAndPopups, AReducedGroupOpensSevenPixelsShorterThanTheGroupRow)
{
    // Narrow enough that the rightmost group collapses to its button.
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    int nWidth = 700;
    while (!pFiles->IsReduced() && nWidth > 260)
    {
        nWidth -= 20;
        s_pHost->ResizeClient(nWidth, 400);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    }
    ASSERT_TRUE(pFiles->IsReduced());
    CQVTControl* pButton = pFiles->GetControlGroupPopup();
    ASSERT_TRUE(pButton->IsVisible());
    MouseClickAt(s_pHost->ScreenRectOf(pButton).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pButton) != nullptr; }));
    CQVTRibbonGroupPopupToolBar* pPopup =
        DYNAMIC_DOWNCAST(CQVTRibbonGroupPopupToolBar, s_pHost->GetOpenPopup(pButton));
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(pFiles, pPopup->GetSourceGroup());
    EXPECT_EQ(m_pRibbon->GetGroupsHeight() - ScaleY(7), WindowRect(pPopup).Height());
    // Its copy shows the group's controls in full.
    ASSERT_NE(nullptr, pPopup->GetGroup());
    EXPECT_FALSE(pPopup->GetGroup()->IsReduced());
    CQVTControl* pRename = pPopup->GetControls()->FindControl(ID_RIBBON_RENAME);
    ASSERT_NE(nullptr, pRename);
    EXPECT_TRUE(pRename->IsVisible());

    // Hovering highlights the copy; a click runs the command.
    MouseMoveTo(s_pHost->ScreenRectOf(pRename).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return pPopup->GetHighlightedGroup() == pPopup->GetGroup(); }));
    QueuedClickAt(s_pHost->ScreenRectOf(pRename).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{ID_RIBBON_RENAME}, s_pHost->m_commands);
}

// While customizing, what a collapsed group's popup copy gained (a control
// dropped into it) goes back to the group when the popup closes.
TEST_F(RibbonScrollAndPopups, WhileCustomizingAGroupTakesBackWhatItsPopupCopyGained)
{
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    int nWidth = 700;
    while (!pFiles->IsReduced() && nWidth > 260)
    {
        nWidth -= 20;
        s_pHost->ResizeClient(nWidth, 400);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    }
    ASSERT_TRUE(pFiles->IsReduced());
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    pBars->SetCustomizeMode(TRUE);
    CQVTControl* pButton = pFiles->GetControlGroupPopup();
    const int nCount = pFiles->GetCount();
    ASSERT_TRUE(m_pRibbon->SetPopuped(pButton->GetIndex()));
    CQVTRibbonGroupPopupToolBar* pPopup =
        DYNAMIC_DOWNCAST(CQVTRibbonGroupPopupToolBar, s_pHost->GetOpenPopup(pButton));
    ASSERT_NE(nullptr, pPopup);
    CQVTRibbonGroup* pCopy = pPopup->GetGroup();
    ASSERT_NE(nullptr, pCopy);
    ASSERT_EQ(nCount, pCopy->GetCount());
    ASSERT_NE(nullptr, pCopy->AddClone(pCopy->GetAt(0), -1, TRUE));
    m_pRibbon->SetPopuped(-1);
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    ASSERT_EQ(nCount + 1, pFiles->GetCount());
    EXPECT_EQ(pCopy->GetAt(0)->GetID(), pFiles->GetAt(nCount)->GetID());
    pBars->SetCustomizeMode(FALSE);
}
