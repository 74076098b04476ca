// Docking as a user meets it: toolbars in rows of the frame's dock bars,
// dragged with the mouse into other rows, onto row boundaries and off the
// dock bars to float, resized while floating, toggled back by a double
// click; rows too long for the frame spill into extra rows and come back.
#include <afxwin.h>
#include <afxext.h>

#include <functional>
#include <map>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTDockContext.h"
#include "toolkit/commandbars/bars/QVTReBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

const DWORD kSettle = 40;

// A press at one point, one jump of the pointer to the other and the
// release, from a second thread while this one runs the drag loop.
void DragWithMouse(POINT ptFrom, POINT ptTo)
{
    const DWORD dwUiThread = ::GetCurrentThreadId();
    RunInputScript([&] {
        ScriptMouseMove(ptFrom, kSettle);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kSettle);
        if (!ScriptWaitForCapture(dwUiThread, true, 3000))
            return;
        ScriptMouseMove(ptTo, 80);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, kSettle);
        ScriptWaitForCapture(dwUiThread, false, 3000);
    });
}

void DoubleClickWithMouse(POINT pt)
{
    const DWORD dwUiThread = ::GetCurrentThreadId();
    RunInputScript([&] {
        ScriptMouseMove(pt, kSettle);
        // The first press starts a drag loop, which the release ends.
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 10);
        ScriptWaitForCapture(dwUiThread, true, 3000);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 10);
        ScriptWaitForCapture(dwUiThread, false, 3000);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 10);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, kSettle);
    });
}

CRect WindowRect(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

}  // namespace

class Docking : public BarsFrameSuite<Docking>
{
public:
    static void SetUpTestSuite() { CreateFrame(kFrame); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        RestoreFrame(kFrame);
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
    static CQVTDockBar* Top() { return Bars()->GetDockBar(qvtBarTop); }
    // A bar in a new row of the top dock bar, with captioned buttons.
    static CQVTToolBar* AddBar(LPCTSTR lpszTitle, int nButtons, UINT nFirstId = 40400)
    {
        CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(lpszTitle, qvtBarTop));
        if (!pBar)
            return nullptr;
        std::vector<UINT> ids;
        for (int i = 0; i < nButtons; ++i)
            ids.push_back(nFirstId + static_cast<UINT>(i));
        pBar->SetButtons(ids.data(), nButtons);
        for (int i = 0; i < pBar->GetControlCount(); ++i)
        {
            CString strCaption;
            strCaption.Format(_T("Item %d"), i);
            pBar->GetControl(i)->SetCaption(strCaption);
            pBar->GetControl(i)->SetStyle(qvtButtonCaption);
        }
        Bars()->RecalcFrameLayout();
        PumpMessages(20);
        return pBar;
    }
    // A point of the bar that no control covers: its left margin.
    static POINT GripPoint(CQVTToolBar* pBar)
    {
        const CRect rc = WindowRect(pBar);
        return POINT{rc.left + 2, rc.CenterPoint().y};
    }

    static const CRect kFrame;
};

const CRect Docking::kFrame(620, 520, 1220, 880);

namespace {

// A toolbar that can be told to fail making its floating window, and that
// records the size its window was made at.
class CProbeToolBar : public CQVTToolBar
{
public:
    BOOL CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating) override
    {
        if (bFloating && m_bRefuseFloating)
            return FALSE;
        return CQVTToolBar::CreateToolBarWindow(pParentWnd, bFloating);
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_CREATE)
        {
            const CREATESTRUCT* pCreate = reinterpret_cast<const CREATESTRUCT*>(lParam);
            m_szCreated = CSize(pCreate->cx, pCreate->cy);
        }
        return CQVTToolBar::OnWndMsg(message, wParam, lParam, pResult);
    }

    BOOL m_bRefuseFloating = FALSE;
    CSize m_szCreated{0, 0};
};

}  // namespace

TEST_F(Docking, DropPointsJoinRowsOrMakeNewRowsBetweenThem)
{
    CQVTToolBar* pFirst = AddBar(_T("First"), 2);
    CQVTToolBar* pSecond = AddBar(_T("Second"), 2, 40410);
    CQVTToolBar* pThird = AddBar(_T("Third"), 2, 40420);
    CQVTToolBar* pFourth = AddBar(_T("Fourth"), 2, 40430);
    ASSERT_TRUE(pFirst && pSecond && pThird && pFourth);
    // Four bars docked without a place: four rows, one under the other.
    EXPECT_EQ(9u, Top()->GetBars().size());
    EXPECT_EQ(pFirst, pSecond->GetDockBar() == Top() ? Top()->GetBars()[1] : nullptr);
    CRect rcFirst = WindowRect(pFirst);
    CRect rcSecond = WindowRect(pSecond);
    EXPECT_EQ(rcFirst.bottom, rcSecond.top);
    EXPECT_EQ(rcFirst.left, rcSecond.left);

    // The lower half of the second row: the third bar joins it, at the
    // place it was dropped.
    CRect rcDrop = WindowRect(pThird);
    rcDrop.OffsetRect(rcSecond.right + 30 - rcDrop.left, rcSecond.bottom - 2 - rcDrop.CenterPoint().y);
    ASSERT_TRUE(Bars()->DockCommandBar(pThird, &rcDrop, Top()));
    PumpMessages(20);
    rcSecond = WindowRect(pSecond);
    CRect rcThird = WindowRect(pThird);
    EXPECT_EQ(rcSecond.top, rcThird.top);
    EXPECT_EQ(rcDrop.left, rcThird.left);
    EXPECT_EQ(rcFirst.bottom, rcThird.top);

    // Exactly on the boundary of the first two rows: a new row between them.
    CRect rcBoundary = WindowRect(pFourth);
    rcBoundary.OffsetRect(0, rcFirst.bottom - rcBoundary.CenterPoint().y);
    ASSERT_EQ(rcFirst.bottom, rcBoundary.CenterPoint().y);
    ASSERT_TRUE(Bars()->DockCommandBar(pFourth, &rcBoundary, Top()));
    PumpMessages(20);
    const CRect rcFourth = WindowRect(pFourth);
    EXPECT_EQ(rcFirst.bottom, rcFourth.top);
    EXPECT_EQ(rcFourth.bottom, WindowRect(pSecond).top);
    EXPECT_EQ(WindowRect(pSecond).top, WindowRect(pThird).top);
    // The rows as the dock bar lists them: each ended by a row break.
    const std::vector<CQVTCommandBar*> expected = {nullptr, pFirst, nullptr, pFourth,
                                                   nullptr, pThird, pSecond, nullptr};
    EXPECT_EQ(expected, Top()->GetBars());

    // Taking every bar out leaves the one leading row break, and no room.
    for (CQVTToolBar* pBar : {pFirst, pSecond, pThird, pFourth})
        Top()->RemoveCommandBar(pBar);
    EXPECT_EQ(std::vector<CQVTCommandBar*>(1, nullptr), Top()->GetBars());
    EXPECT_EQ(0, WindowRect(Top()).Height());
}

TEST_F(Docking, ARowThatNoLongerFitsSpillsItsLastBarAndTakesItBackWhenWider)
{
    CQVTToolBar* pLeft = AddBar(_T("Left"), 4);
    CQVTToolBar* pRight = AddBar(_T("Right"), 4, 40410);
    ASSERT_TRUE(pLeft && pRight);
    // Without hiding what does not fit, a bar's whole length is its minimum.
    for (CQVTToolBar* pBar : {pLeft, pRight})
        pBar->EnableDocking(CQVTToolBar::dockTop | CQVTToolBar::dockBottom | CQVTToolBar::dockFloat);
    CRect rcLeft = WindowRect(pLeft);
    CRect rcDrop = WindowRect(pRight);
    rcDrop.OffsetRect(rcLeft.right + 4 - rcDrop.left, rcLeft.CenterPoint().y - rcDrop.CenterPoint().y);
    ASSERT_TRUE(Bars()->DockCommandBar(pRight, &rcDrop, Top()));
    PumpMessages(20);
    ASSERT_EQ(WindowRect(pLeft).top, WindowRect(pRight).top);
    const int nBoth = WindowRect(pLeft).Width() + WindowRect(pRight).Width();
    ASSERT_LT(nBoth, kFrame.Width() - 10) << "the bars must fit side by side to begin with";

    // Narrower than both bars: the last one shows in an extra row below.
    s_pFrame->SetWindowPos(nullptr, 0, 0, nBoth - 20, kFrame.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Bars()->RecalcFrameLayout();
    PumpMessages(20);
    rcLeft = WindowRect(pLeft);
    CRect rcRight = WindowRect(pRight);
    EXPECT_EQ(rcLeft.bottom, rcRight.top);
    EXPECT_LE(rcRight.right, WindowRect(Top()).right);
    EXPECT_EQ(rcLeft.Height() + rcRight.Height(), WindowRect(Top()).Height());
    // The dock bar's own rows are unchanged.
    EXPECT_EQ(4u, Top()->GetBars().size());

    s_pFrame->SetWindowPos(nullptr, 0, 0, kFrame.Width(), kFrame.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Bars()->RecalcFrameLayout();
    PumpMessages(20);
    rcLeft = WindowRect(pLeft);
    rcRight = WindowRect(pRight);
    EXPECT_EQ(rcLeft.top, rcRight.top);
    EXPECT_LE(rcLeft.right, rcRight.left);
    EXPECT_EQ(rcLeft.Height(), WindowRect(Top()).Height());
}

namespace {

// The moves and resizings asked of each window of the thread while it lives
// (WM_WINDOWPOSCHANGING without SWP_NOMOVE or without SWP_NOSIZE).
class MoveCounter
{
public:
    MoveCounter() : m_hHook(::SetWindowsHookExW(WH_CALLWNDPROC, &OnMessage, nullptr, ::GetCurrentThreadId()))
    {
        s_pCounter = this;
    }
    ~MoveCounter()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_pCounter = nullptr;
    }
    int operator[](CWnd* pWnd) const
    {
        auto it = m_moves.find(pWnd->GetSafeHwnd());
        return it == m_moves.end() ? 0 : it->second;
    }

private:
    static LRESULT CALLBACK OnMessage(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && s_pCounter && pMessage->message == WM_WINDOWPOSCHANGING)
        {
            const UINT nFlags = reinterpret_cast<const WINDOWPOS*>(pMessage->lParam)->flags;
            try
            {
                if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
                    ++s_pCounter->m_moves[pMessage->hwnd];
            }
            catch (...)
            {
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    HHOOK m_hHook;
    std::map<HWND, int> m_moves;
    static MoveCounter* s_pCounter;
};
MoveCounter* MoveCounter::s_pCounter = nullptr;

}  // namespace

// Every pass of a site's layout asks each bar for its place: the dock bars,
// and a toolbar on a site without dock bars, are moved only when their
// place changes.
TEST_F(Docking, BarsAlreadyInPlaceAreNotMovedAgainByTheSitesLayout)
{
    ASSERT_TRUE(AddBar(_T("Top"), 3));
    ASSERT_TRUE(Bars()->Add(_T("Left"), qvtBarLeft) && Bars()->Add(_T("Bottom"), qvtBarBottom));
    Bars()->RecalcFrameLayout();
    // A panel of the frame as a site without dock bars, laid out as a
    // dialog lays its bars out.
    CWnd panel;
    ASSERT_TRUE(panel.Create(nullptr, _T(""), WS_CHILD | WS_VISIBLE, CRect(200, 100, 500, 250), s_pFrame,
                             AFX_IDW_PANE_FIRST + 1));
    CQVTCommandBars* pPanelBars = CQVTCommandBars::CreateCommandBars();
    pPanelBars->SetSite(&panel);
    CQVTCommandBar* pPanelBar = pPanelBars->Add(_T("Panel"), qvtBarBottom);
    ASSERT_TRUE(pPanelBar && ::GetParent(pPanelBar->GetSafeHwnd()) == panel.GetSafeHwnd());
    panel.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
    PumpMessages(20);
    std::vector<CWnd*> bars = {pPanelBar};
    for (int i = 0; i < 4; ++i)
        bars.push_back(Bars()->GetDockBar(i));
    for (int i = 0; i < Bars()->GetCount(); ++i)
        bars.push_back(Bars()->GetAt(i));

    MoveCounter moves;
    for (int nPass = 0; nPass < 3; ++nPass)
    {
        s_pFrame->RecalcLayout();
        Bars()->RecalcFrameLayout();
        panel.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
        PumpMessages(10);
    }
    for (size_t i = 0; i < bars.size(); ++i)
        EXPECT_EQ(0, moves[bars[i]]) << "window " << i;

    // A smaller site moves what no longer fits its old place.
    s_pFrame->SetWindowPos(nullptr, 0, 0, kFrame.Width() - 40, kFrame.Height() - 40,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    panel.SetWindowPos(nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    s_pFrame->RecalcLayout();
    panel.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
    EXPECT_GT(moves[Bars()->GetDockBar(qvtBarBottom)], 0);
    EXPECT_GT(moves[pPanelBar], 0);
    pPanelBars->InternalRelease();
    panel.DestroyWindow();
}

TEST_F(Docking, DraggingMovesBarsBetweenRowsFloatsThemAndADoubleClickDocksThemBack)
{
    CQVTToolBar* pStay = AddBar(_T("Stay"), 2);
    CQVTToolBar* pMoved = AddBar(_T("Moved"), 2, 40410);
    CQVTToolBar* pLower = AddBar(_T("Lower"), 2, 40420);
    ASSERT_TRUE(pStay && pMoved && pLower);
    // The moved bar shares the top row, so that the rows stay where they are
    // while it leaves.
    CRect rcStay = WindowRect(pStay);
    CRect rcDrop = WindowRect(pMoved);
    rcDrop.OffsetRect(rcStay.right + 10 - rcDrop.left, rcStay.CenterPoint().y - rcDrop.CenterPoint().y);
    ASSERT_TRUE(Bars()->DockCommandBar(pMoved, &rcDrop, Top()));
    PumpMessages(20);
    ASSERT_EQ(WindowRect(pStay).top, WindowRect(pMoved).top);

    // Onto the lower half of the second row: it joins that row where dropped.
    CRect rcLower = WindowRect(pLower);
    CRect rcMoved = WindowRect(pMoved);
    POINT ptFrom = GripPoint(pMoved);
    const CSize toLower(rcLower.right + 40 - rcMoved.left, rcLower.bottom - 3 - rcMoved.CenterPoint().y);
    DragWithMouse(ptFrom, CPoint(ptFrom) + toLower);
    rcMoved = WindowRect(pMoved);
    rcLower = WindowRect(pLower);
    EXPECT_EQ(rcLower.top, rcMoved.top);
    EXPECT_GE(rcMoved.left, rcLower.right);
    EXPECT_EQ(WindowRect(pStay).bottom, rcMoved.top);
    const CRect rcDocked = rcMoved;

    // Off every dock bar, into the middle of the frame: it floats there,
    // inside the work area, with the point still on it.
    ptFrom = GripPoint(pMoved);
    const POINT ptFloat = kFrame.CenterPoint();
    DragWithMouse(ptFrom, ptFloat);
    ASSERT_TRUE(pMoved->IsFloating());
    EXPECT_EQ(nullptr, pMoved->GetDockBar());
    EXPECT_EQ(-1, Top()->FindBar(pMoved));
    const CRect rcFloating = WindowRect(pMoved);
    EXPECT_TRUE(rcFloating.PtInRect(ptFloat));
    const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(ptFloat);
    CRect rcInside;
    EXPECT_TRUE(rcInside.IntersectRect(rcFloating, rcWork));
    EXPECT_EQ(WindowRect(pStay).bottom, WindowRect(pLower).top);

    // A double click on its caption docks it back at its row and place.
    DoubleClickWithMouse(CPoint(rcFloating.left + 6, rcFloating.top + 6));
    ASSERT_FALSE(pMoved->IsFloating());
    EXPECT_EQ(Top(), pMoved->GetDockBar());
    EXPECT_EQ(rcDocked, WindowRect(pMoved));
    EXPECT_EQ(WindowRect(pLower).top, WindowRect(pMoved).top);
    // Docked bars float on a double click only when the options say so;
    // then where they floated before.
    EXPECT_FALSE(pMoved->GetDockContext()->ToggleDocking());
    Bars()->GetCommandBarsOptions()->bDblClickFloat = TRUE;
    EXPECT_TRUE(pMoved->GetDockContext()->ToggleDocking());
    EXPECT_EQ(rcFloating.TopLeft(), WindowRect(pMoved).TopLeft());
}

TEST_F(Docking, ADropOnTheBoundaryOfTwoRowsMakesARowBetweenThem)
{
    CQVTToolBar* pUpper = AddBar(_T("Upper"), 2);
    CQVTToolBar* pMoved = AddBar(_T("Moved"), 2, 40410);
    CQVTToolBar* pLower = AddBar(_T("Lower"), 2, 40420);
    ASSERT_TRUE(pUpper && pMoved && pLower);
    // The moved bar first joins the lower row, so that leaving it keeps the
    // rows in place.
    CRect rcLower = WindowRect(pLower);
    CRect rcDrop = WindowRect(pMoved);
    rcDrop.OffsetRect(rcLower.right + 10 - rcDrop.left, rcLower.CenterPoint().y - rcDrop.CenterPoint().y);
    ASSERT_TRUE(Bars()->DockCommandBar(pMoved, &rcDrop, Top()));
    PumpMessages(20);
    const CRect rcUpper = WindowRect(pUpper);
    rcLower = WindowRect(pLower);
    ASSERT_EQ(rcUpper.bottom, rcLower.top);

    const CRect rcMoved = WindowRect(pMoved);
    const POINT ptFrom = GripPoint(pMoved);
    DragWithMouse(ptFrom, CPoint(ptFrom) + CSize(0, rcUpper.bottom - rcMoved.CenterPoint().y));
    const CRect rcBetween = WindowRect(pMoved);
    EXPECT_EQ(rcUpper.bottom, rcBetween.top);
    EXPECT_EQ(rcBetween.bottom, WindowRect(pLower).top);
}

TEST_F(Docking, BarsDockOnlyWhereTheirFlagsAllowAndStayInsideTheWorkArea)
{
    CQVTToolBar* pBar = AddBar(_T("No left"), 2);
    ASSERT_NE(nullptr, pBar);
    AddBar(_T("Other"), 2, 40410);
    pBar->EnableDocking(CQVTToolBar::dockTop | CQVTToolBar::dockBottom | CQVTToolBar::dockRight |
                        CQVTToolBar::dockFloat);
    // Next to the left edge, inside the frame: the left dock bar is hit but
    // refuses the bar, which floats instead.
    const CRect rcLeftDock = WindowRect(Bars()->GetDockBar(qvtBarLeft));
    POINT ptFrom = GripPoint(pBar);
    DragWithMouse(ptFrom, CPoint(rcLeftDock.right + 5, kFrame.CenterPoint().y));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(-1, Bars()->GetDockBar(qvtBarLeft)->FindBar(pBar));

    // Resizing from the right edge wraps the buttons; the left edge stays.
    CRect rcBefore = WindowRect(pBar);
    const DWORD dwUiThread = ::GetCurrentThreadId();
    const POINT ptEdge = {rcBefore.right - 1, rcBefore.CenterPoint().y};
    ASSERT_EQ(HTRIGHT, pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptEdge.x, ptEdge.y)));
    RunInputScript([&] {
        ScriptMouseMove(ptEdge, kSettle);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kSettle);
        if (!ScriptWaitForCapture(dwUiThread, true, 3000))
            return;
        ScriptMouseMove(CPoint(ptEdge.x - rcBefore.Width() / 2, ptEdge.y), 80);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, kSettle);
        ScriptWaitForCapture(dwUiThread, false, 3000);
    });
    const CRect rcAfter = WindowRect(pBar);
    EXPECT_EQ(rcBefore.left, rcAfter.left);
    EXPECT_LT(rcAfter.Width(), rcBefore.Width());
    EXPECT_GT(rcAfter.Height(), rcBefore.Height());
    EXPECT_EQ(rcAfter.Width(), pBar->GetMRUWidth());
}

TEST_F(Docking, TheDragLoopEndsOnEscapeAndPostsAQuitBack)
{
    CQVTToolBar* pBar = AddBar(_T("Quit"), 2);
    ASSERT_NE(nullptr, pBar);
    const CRect rcBefore = WindowRect(pBar);
    ::PostQuitMessage(7);
    pBar->GetDockContext()->StartDrag(GripPoint(pBar));
    EXPECT_EQ(nullptr, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(rcBefore, WindowRect(pBar));

    pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    pBar->GetDockContext()->StartDrag(GripPoint(pBar));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(rcBefore, WindowRect(pBar));
    EXPECT_TRUE(Bars()->GetCommandBarsOptions()->bDirty);
}

TEST_F(Docking, ARebarHoldsToolbarsAsBandsOfTheirIds)
{
    CQVTToolBar* pFirst = AddBar(_T("First"), 3);
    CQVTToolBar* pSecond = AddBar(_T("Second"), 2, 40410);
    ASSERT_TRUE(pFirst && pSecond);
    pFirst->SetBarID(500);
    pSecond->SetBarID(501);
    CQVTReBar rebar;
    ASSERT_TRUE(rebar.Create(s_pFrame));
    ASSERT_TRUE(rebar.AddToolBar(pFirst));
    ASSERT_TRUE(rebar.AddToolBar(pSecond));
    s_pFrame->RecalcLayout();
    PumpMessages(20);

    // Each toolbar left its dock bar for a band of its own, without gripper.
    EXPECT_EQ(2u, rebar.GetReBarCtrl().GetBandCount());
    EXPECT_EQ(std::vector<CQVTCommandBar*>(1, nullptr), Top()->GetBars());
    EXPECT_EQ(nullptr, pFirst->GetDockBar());
    EXPECT_FALSE(pFirst->IsGripperVisible());
    EXPECT_EQ(rebar.GetSafeHwnd(), ::GetParent(pFirst->GetSafeHwnd()));
    EXPECT_EQ(1, rebar.GetReBarCtrl().IDToIndex(501));
    EXPECT_EQ(1, rebar.FindBand(pSecond));
    EXPECT_EQ(pFirst, rebar.GetToolBar(0));
    EXPECT_EQ(nullptr, rebar.GetToolBar(7));
    // The frame gives the rebar the height of its bands, at the top.
    const CRect rcRebar = WindowRect(&rebar);
    EXPECT_GE(rcRebar.Height(), WindowRect(pFirst).Height());
    EXPECT_TRUE(rcRebar.PtInRect(WindowRect(pFirst).CenterPoint()));

    EXPECT_TRUE(rebar.DeleteToolBar(pFirst));
    EXPECT_EQ(1u, rebar.GetReBarCtrl().GetBandCount());
    EXPECT_EQ(-1, rebar.FindBand(pFirst));
    EXPECT_EQ(pSecond, rebar.GetToolBar(0));
    // The bars go before the rebar that holds their windows.
    s_pFrame->ResetBars();
    rebar.DestroyWindow();
    s_pFrame->RecalcLayout();
}

TEST_F(Docking, ABarMadeFloatingOpensAtTheCursorInsideTheWorkArea)
{
    const CPoint ptCursor = kFrame.CenterPoint() + CSize(30, 20);
    ASSERT_TRUE(::SetCursorPos(ptCursor.x, ptCursor.y));
    CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(_T("Floating"), qvtBarFloating));
    ASSERT_NE(nullptr, pBar);
    PumpMessages(20);
    EXPECT_EQ(ptCursor, WindowRect(pBar).TopLeft());
    // Buttons added later grow it where it is.
    static const UINT kIds[] = {40400, 40401};
    pBar->SetButtons(kIds, 2);
    pBar->OnRecalcLayout();
    EXPECT_EQ(ptCursor, WindowRect(pBar).TopLeft());

    // At the work area's corner it opens shifted back, ending at the corner.
    const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(ptCursor);
    ASSERT_TRUE(::SetCursorPos(rcWork.right - 1, rcWork.bottom - 1));
    CQVTToolBar* pCorner = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(_T("Corner"), qvtBarFloating));
    ASSERT_NE(nullptr, pCorner);
    PumpMessages(20);
    EXPECT_EQ(rcWork.right, WindowRect(pCorner).right);
    EXPECT_EQ(rcWork.bottom, WindowRect(pCorner).bottom);
}

TEST_F(Docking, AFloatingWindowComesFirstAndTakesTheLastFloatingSize)
{
    // A bar whose floating window cannot be made stays docked in its row.
    CProbeToolBar* pProbe = new CProbeToolBar();
    ASSERT_NE(nullptr, Bars()->AddCommandBar(pProbe, _T("Probe"), qvtBarTop));
    PumpMessages(20);
    ASSERT_EQ(Top(), pProbe->GetDockBar());
    const int nRow = Top()->FindBar(pProbe);
    ASSERT_NE(-1, nRow);
    pProbe->m_bRefuseFloating = TRUE;
    EXPECT_FALSE(Bars()->FloatCommandBar(pProbe));
    EXPECT_FALSE(pProbe->IsFloating());
    EXPECT_EQ(Top(), pProbe->GetDockBar());
    EXPECT_EQ(nRow, Top()->FindBar(pProbe));

    // A new window is made at the dock context's last floating size.
    CProbeToolBar* pSized = new CProbeToolBar();
    pSized->GetDockContext()->m_rectDragFrame = CRect(300, 200, 300 + 157, 200 + 63);
    ASSERT_NE(nullptr, Bars()->AddCommandBar(pSized, _T("Sized"), qvtBarFloating));
    EXPECT_EQ(CSize(157, 63), pSized->m_szCreated);
    CProbeToolBar* pFresh = new CProbeToolBar();
    ASSERT_NE(nullptr, Bars()->AddCommandBar(pFresh, _T("Fresh"), qvtBarFloating));
    EXPECT_EQ(CSize(QVTDpiScaler()->ScaleX(100), QVTDpiScaler()->ScaleY(100)), pFresh->m_szCreated);
}

TEST_F(Docking, DockBarsCatchPointsUpTo19PixelsAboveOrLeftAndUpTo20PastTheirLastPixel)
{
    ASSERT_NE(nullptr, AddBar(_T("Row"), 2));
    const CRect rc = WindowRect(Top());
    ASSERT_GT(rc.Height(), 0);
    const int dx = QVTDpiScaler()->ScaleX(20);
    const int dy = QVTDpiScaler()->ScaleY(20);
    const int cx = rc.CenterPoint().x;
    const int cy = rc.CenterPoint().y;
    EXPECT_EQ(Top(), Bars()->CanDock(CPoint(cx, rc.top - dy + 1), Top()));
    EXPECT_NE(Top(), Bars()->CanDock(CPoint(cx, rc.top - dy), Top()));
    EXPECT_EQ(Top(), Bars()->CanDock(CPoint(cx, rc.bottom + dy - 1), Top()));
    EXPECT_NE(Top(), Bars()->CanDock(CPoint(cx, rc.bottom + dy), Top()));
    EXPECT_EQ(Top(), Bars()->CanDock(CPoint(rc.left - dx + 1, cy), Top()));
    EXPECT_NE(Top(), Bars()->CanDock(CPoint(rc.left - dx, cy), Top()));
    EXPECT_EQ(Top(), Bars()->CanDock(CPoint(rc.right + dx - 1, cy), Top()));
    EXPECT_NE(Top(), Bars()->CanDock(CPoint(rc.right + dx, cy), Top()));
}

TEST_F(Docking, AFloatingBarsSizingEdgesAreThreePixelsWide)
{
    CQVTToolBar* pBar = AddBar(_T("Edges"), 3);
    ASSERT_NE(nullptr, pBar);
    ASSERT_TRUE(Bars()->FloatCommandBar(pBar));
    pBar->OnRecalcLayout();
    PumpMessages(20);
    const CRect rc = WindowRect(pBar);
    const int dx = QVTDpiScaler()->ScaleX(3);
    const int dy = QVTDpiScaler()->ScaleY(3);
    auto hit = [pBar](int x, int y) {
        return static_cast<int>(pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    };
    const CPoint c = rc.CenterPoint();
    EXPECT_EQ(HTTOP, hit(c.x, rc.top + dy - 1));
    EXPECT_NE(HTTOP, hit(c.x, rc.top + dy));
    EXPECT_EQ(HTBOTTOM, hit(c.x, rc.bottom - dy));
    EXPECT_NE(HTBOTTOM, hit(c.x, rc.bottom - dy - 1));
    EXPECT_EQ(HTLEFT, hit(rc.left + dx - 1, c.y));
    EXPECT_NE(HTLEFT, hit(rc.left + dx, c.y));
    EXPECT_EQ(HTRIGHT, hit(rc.right - dx, c.y));
    EXPECT_NE(HTRIGHT, hit(rc.right - dx - 1, c.y));
}

TEST_F(Docking, ABarRemovedFromTheBarsLeavesTheSitesRebar)
{
    CQVTToolBar* pBar = AddBar(_T("Banded"), 2);
    ASSERT_NE(nullptr, pBar);
    CQVTReBar rebar;
    ASSERT_TRUE(rebar.Create(s_pFrame));
    ASSERT_EQ(AFX_IDW_REBAR, rebar.GetDlgCtrlID());
    ASSERT_TRUE(rebar.AddToolBar(pBar));
    ASSERT_EQ(1u, rebar.GetReBarCtrl().GetBandCount());
    Bars()->Remove(pBar);
    EXPECT_EQ(0u, rebar.GetReBarCtrl().GetBandCount());
    s_pFrame->ResetBars();
    rebar.DestroyWindow();
    s_pFrame->RecalcLayout();
}
