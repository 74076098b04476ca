// A resizable dialog under a real display, resized by moving its window:
// where each anchored child ends up, minimising and restoring, the grip and
// its cursor, tracking limits, group boxes and items registered late.
#include "real_input.h"
#include "resize_test_ids.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/resize/QVTResizeDialog.h"

#include <functional>
#include <memory>

namespace {

class CTestResizeDlg : public CQVTResizeDialog
{
public:
    explicit CTestResizeDlg(UINT nFlags = 0) { SetFlag(nFlags); }
    ~CTestResizeDlg() override { DestroyWindow(); }

    std::function<void(CTestResizeDlg&)> m_onInit;
    using CQVTResize::Defer;

protected:
    BOOL OnInitDialog() override
    {
        CQVTResizeDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
};

std::unique_ptr<CTestResizeDlg> OpenDialog(UINT nTemplate, UINT nFlags,
                                           std::function<void(CTestResizeDlg&)> onInit)
{
    auto pDlg = std::make_unique<CTestResizeDlg>(nFlags);
    pDlg->m_onInit = std::move(onInit);
    if (!pDlg->Create(nTemplate, nullptr))
        return nullptr;
    // Above the windows of tests running beside this one.
    pDlg->SetWindowPos(&CWnd::wndTopMost, 640, 60, 0, 0, SWP_NOSIZE);
    pDlg->ShowWindow(SW_SHOW);
    PumpMessages(50);
    return pDlg;
}

CRect ChildRect(CWnd& dlg, int nID)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, nID), &rc);
    dlg.ScreenToClient(&rc);
    return rc;
}

CSize ClientSize(CWnd& dlg)
{
    CRect rc;
    dlg.GetClientRect(&rc);
    return rc.Size();
}

// Moves the window's frame so that the client area grows by (dx, dy).
void GrowClient(CWnd& dlg, int dx, int dy)
{
    CRect rc;
    dlg.GetWindowRect(&rc);
    dlg.SetWindowPos(nullptr, 0, 0, rc.Width() + dx, rc.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages(20);
}

void StandardAnchors(CTestResizeDlg& dlg)
{
    dlg.SetControlAnchors(IDC_STRETCH, CQVTResizePoint(0, 0), CQVTResizePoint(1, 1));
    dlg.SetControlAnchors(IDC_CORNER, CQVTResizePoint(1, 1), CQVTResizePoint(1, 1));
    dlg.SetControlAnchors(IDC_LEFTHALF, CQVTResizePoint(0, 0), CQVTResizePoint(0.5f, 0));
    dlg.SetControlAnchors(IDC_RIGHTHALF, CQVTResizePoint(0.5f, 0), CQVTResizePoint(1, 0));
    dlg.SetControlAnchors(IDC_GROUP, CQVTResizePoint(0, 0), CQVTResizePoint(0, 0));
    dlg.SetControlAnchors(IDC_GROUP_TABSTOP, CQVTResizePoint(0, 0), CQVTResizePoint(0, 0));
    // Two registrations of one id add up.
    dlg.SetControlAnchors(IDC_TWICE, CQVTResizePoint(0.25f, 0), CQVTResizePoint(0.25f, 0));
    dlg.SetControlAnchors(IDC_TWICE, CQVTResizePoint(0.25f, 0), CQVTResizePoint(0.25f, 0));
}

}  // namespace

TEST(ResizeDialog, ChildrenFollowTheirAnchorsWithoutDrift)
{
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    CRect stretch = ChildRect(dlg, IDC_STRETCH), corner = ChildRect(dlg, IDC_CORNER);
    CRect left = ChildRect(dlg, IDC_LEFTHALF), right = ChildRect(dlg, IDC_RIGHTHALF);
    CRect twice = ChildRect(dlg, IDC_TWICE), group = ChildRect(dlg, IDC_GROUP);
    ASSERT_EQ(left.right, right.left);

    GrowClient(dlg, 101, 51);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH),
              CRect(stretch.left, stretch.top, stretch.right + 101, stretch.bottom + 51));
    CRect movedCorner(corner);
    movedCorner.OffsetRect(101, 51);
    EXPECT_EQ(ChildRect(dlg, IDC_CORNER), movedCorner);
    // Half of 101 each: the shared edge truncates to 50, the neighbours stay adjacent.
    EXPECT_EQ(ChildRect(dlg, IDC_LEFTHALF).right, left.right + 50);
    EXPECT_EQ(ChildRect(dlg, IDC_RIGHTHALF).left, left.right + 50);
    // The size is the truncated float width, 50.5 wider.
    EXPECT_EQ(ChildRect(dlg, IDC_RIGHTHALF).Width(), right.Width() + 50);
    EXPECT_EQ(ChildRect(dlg, IDC_TWICE).left, twice.left + 50);
    EXPECT_EQ(ChildRect(dlg, IDC_TWICE).Width(), twice.Width());
    EXPECT_EQ(ChildRect(dlg, IDC_GROUP), group);

    // One pixel at a time: the half-anchored edge moves after the second step,
    // as the fractions accumulate.
    int nBase = ChildRect(dlg, IDC_LEFTHALF).right;  // float edge at +0.5
    int nSteps[3];
    for (int& nStep : nSteps)
    {
        GrowClient(dlg, 1, 0);
        nStep = ChildRect(dlg, IDC_LEFTHALF).right - nBase;
    }
    EXPECT_EQ(nSteps[0], 1);
    EXPECT_EQ(nSteps[1], 1);
    EXPECT_EQ(nSteps[2], 2);

    // Back to the first size: every child is where it started.
    CSize szNow = ClientSize(dlg);
    CSize szStart = dlg.m_szInit;
    GrowClient(dlg, szStart.cx - szNow.cx, szStart.cy - szNow.cy);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH), stretch);
    EXPECT_EQ(ChildRect(dlg, IDC_CORNER), corner);
    EXPECT_EQ(ChildRect(dlg, IDC_LEFTHALF), left);
    EXPECT_EQ(ChildRect(dlg, IDC_RIGHTHALF), right);
}

TEST(ResizeDialog, MinimisingKeepsTheLayoutAndRestoringContinuesFromIt)
{
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    GrowClient(dlg, 40, 20);
    CRect stretch = ChildRect(dlg, IDC_STRETCH), corner = ChildRect(dlg, IDC_CORNER);
    CSize szBefore = ClientSize(dlg);

    dlg.ShowWindow(SW_MINIMIZE);
    PumpMessages(50);
    EXPECT_TRUE(dlg.IsIconic());
    EXPECT_EQ(dlg.m_szWindow, szBefore);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH), stretch);

    dlg.ShowWindow(SW_RESTORE);
    PumpMessages(50);
    EXPECT_EQ(ClientSize(dlg), szBefore);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH), stretch);
    EXPECT_EQ(ChildRect(dlg, IDC_CORNER), corner);

    GrowClient(dlg, 10, 10);
    corner.OffsetRect(10, 10);
    EXPECT_EQ(ChildRect(dlg, IDC_CORNER), corner);
}

TEST(ResizeDialog, GripFollowsTheCornerAndShowsTheSizingCursor)
{
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    HWND hGrip = ::GetDlgItem(dlg.m_hWnd, CQVTResize::sizeIconID);
    ASSERT_TRUE(hGrip);
    EXPECT_TRUE(::GetWindowLong(hGrip, GWL_STYLE) & SBS_SIZEGRIP);
    CRect grip = ChildRect(dlg, CQVTResize::sizeIconID);
    CSize szClient = ClientSize(dlg);
    EXPECT_EQ(grip.right, szClient.cx - 1);
    EXPECT_EQ(grip.bottom, szClient.cy - 1);
    EXPECT_EQ(grip.Width(), ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_CHILD), hGrip);  // on top of the others

    GrowClient(dlg, 30, 25);
    grip.OffsetRect(30, 25);
    EXPECT_EQ(ChildRect(dlg, CQVTResize::sizeIconID), grip);

    // The pointer over the grip gets the diagonal sizing cursor.
    MouseMoveTo(WindowCentre(hGrip));
    EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursor(nullptr, IDC_SIZENWSE); }));
    MouseMoveTo(POINT{5, 5});

    auto pFixed = OpenDialog(IDD_FIXED, 0, [](CTestResizeDlg& d) {
        d.SetControlAnchors(IDC_CORNER, CQVTResizePoint(1, 1), CQVTResizePoint(1, 1));
    });
    ASSERT_TRUE(pFixed);
    EXPECT_EQ(::GetDlgItem(pFixed->m_hWnd, CQVTResize::sizeIconID), nullptr);
    EXPECT_TRUE(pFixed->GetFlags() & CQVTResize::flagNoSizeIcon);
}

TEST(ResizeDialog, DraggingTheGripResizesTheDialog)
{
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    HWND hGrip = ::GetDlgItem(dlg.m_hWnd, CQVTResize::sizeIconID);
    CRect corner = ChildRect(dlg, IDC_CORNER);
    CSize szStart = ClientSize(dlg);

    // The press starts the system's sizing loop, so the input comes from a
    // second thread.
    // The moves wait for the loop to hold the capture: before it, they would
    // go to whatever window is under the pointer, the release too, and the
    // loop would never end.
    POINT pt = WindowCentre(hGrip);
    MouseMoveTo(pt);
    DWORD dwThread = ::GetCurrentThreadId();
    bool bInLoop = false, bLoopEnded = false;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 50);
        bInLoop = ScriptWaitForThreadState(dwThread, GUI_INMOVESIZE);
        for (int i = 1; i <= 6; ++i)
            ScriptMouseMove(POINT{pt.x + i * 10, pt.y + i * 5}, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100);
        for (int i = 0; i < 100 && !bLoopEnded; ++i, ::Sleep(20))
        {
            GUITHREADINFO info = {sizeof(info)};
            bLoopEnded = ::GetGUIThreadInfo(dwThread, &info) && !(info.flags & GUI_INMOVESIZE);
        }
        if (!bLoopEnded)
        {
            // Never leave the test inside the loop: Escape ends it, and a
            // thread message reaches it whoever has the keyboard.
            ::PostThreadMessageW(dwThread, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    }));
    EXPECT_TRUE(bInLoop);
    EXPECT_TRUE(bLoopEnded);

    CSize szNow = ClientSize(dlg);
    EXPECT_EQ(szNow.cx - szStart.cx, 60);
    EXPECT_EQ(szNow.cy - szStart.cy, 30);
    corner.OffsetRect(szNow.cx - szStart.cx, szNow.cy - szStart.cy);
    EXPECT_EQ(ChildRect(dlg, IDC_CORNER), corner);
    MouseMoveTo(POINT{5, 5});
}

TEST(ResizeDialog, TrackingLimitsHoldTheWindowAtItsInitialSize)
{
    // Without flags the initial size is the minimum.
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CSize szStart = ClientSize(*pDlg);
    GrowClient(*pDlg, -50, -30);
    EXPECT_EQ(ClientSize(*pDlg), szStart);
    GrowClient(*pDlg, 50, 30);
    EXPECT_EQ(ClientSize(*pDlg), szStart + CSize(50, 30));

    // A maximum of the dialog's own.
    pDlg->m_szMax = szStart + CSize(70, 0);
    GrowClient(*pDlg, 100, 10);
    EXPECT_EQ(ClientSize(*pDlg).cx, szStart.cx + 70);

    // Fixed width: neither wider nor narrower; the height stays free.
    auto pFixedWidth = OpenDialog(IDD_RESIZABLE, CQVTResize::flagHorzFixed, StandardAnchors);
    ASSERT_TRUE(pFixedWidth);
    CSize szFixed = ClientSize(*pFixedWidth);
    GrowClient(*pFixedWidth, 60, 20);
    EXPECT_EQ(ClientSize(*pFixedWidth), szFixed + CSize(0, 20));
    GrowClient(*pFixedWidth, -30, 0);
    EXPECT_EQ(ClientSize(*pFixedWidth).cx, szFixed.cx);

    // Without the minimum the window shrinks below its first size.
    auto pFree = OpenDialog(IDD_RESIZABLE, CQVTResize::flagNoMinSize, StandardAnchors);
    ASSERT_TRUE(pFree);
    CSize szFree = ClientSize(*pFree);
    GrowClient(*pFree, -40, -20);
    EXPECT_EQ(ClientSize(*pFree), szFree - CSize(40, 20));
    MINMAXINFO mmi = {};
    pFree->GetMinMaxInfo(&mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 0);
}

TEST(ResizeDialog, PlainGroupBoxesBecomeTransparentOthersStayOpaque)
{
    CQVTResizeGroupBox ownBox;
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, [&](CTestResizeDlg& d) {
        StandardAnchors(d);
        ownBox.SubclassDlgItem(IDC_GROUP_OWN, &d);
        d.SetControlAnchors(IDC_GROUP_OWN, CQVTResizePoint(0, 0), CQVTResizePoint(1, 0));
    });
    ASSERT_TRUE(pDlg);
    EXPECT_TRUE(::GetWindowLong(::GetDlgItem(pDlg->m_hWnd, IDC_GROUP), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(::GetWindowLong(::GetDlgItem(pDlg->m_hWnd, IDC_GROUP_TABSTOP), GWL_EXSTYLE) &
                 WS_EX_TRANSPARENT);
    EXPECT_FALSE(::GetWindowLong(ownBox.m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    ownBox.UnsubclassWindow();

    auto pOff = OpenDialog(IDD_RESIZABLE, CQVTResize::flagNoTransparentGroup, StandardAnchors);
    ASSERT_TRUE(pOff);
    EXPECT_FALSE(::GetWindowLong(::GetDlgItem(pOff->m_hWnd, IDC_GROUP), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    // The parent clips its children unless asked not to.
    EXPECT_TRUE(pOff->GetStyle() & WS_CLIPCHILDREN);
    auto pNoClip = OpenDialog(IDD_FIXED, CQVTResize::flagNoClipChildren, nullptr);
    ASSERT_TRUE(pNoClip);
    EXPECT_FALSE(pNoClip->GetStyle() & WS_CLIPCHILDREN);
}

TEST(ResizeDialog, LateRegistrationTakesItsWholeShareAndShiftsLeaveSizes)
{
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, StandardAnchors);
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    GrowClient(dlg, 40, 20);
    CRect late = ChildRect(dlg, IDC_LATE);
    dlg.SetControlAnchors(IDC_LATE, CQVTResizePoint(1, 1), CQVTResizePoint(1, 1));
    GrowClient(dlg, 10, 0);
    late.OffsetRect(50, 20);
    EXPECT_EQ(ChildRect(dlg, IDC_LATE), late);

    // An id naming no child is carried along and skipped.
    dlg.SetControlAnchors(4242, CQVTResizePoint(1, 1), CQVTResizePoint(1, 1));
    GrowClient(dlg, 5, 5);
    late.OffsetRect(5, 5);
    EXPECT_EQ(ChildRect(dlg, IDC_LATE), late);

    CRect stretch = ChildRect(dlg, IDC_STRETCH);
    CSize szLast = dlg.m_szWindow;
    dlg.MoveControlsToSize(CSize(0, 12));
    PumpMessages(20);
    stretch.OffsetRect(0, 12);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH), stretch);
    EXPECT_EQ(dlg.m_szWindow, szLast);
}

TEST(ResizeDialog, ItemsAfterAFailedBatchCallAreStillPlaced)
{
    // The desktop window cannot join a positioning batch: the call for it
    // fails and ends the batch in the middle of the pass.
    auto pDlg = OpenDialog(IDD_RESIZABLE, 0, [](CTestResizeDlg& d) {
        d.SetControlAnchors(IDC_STRETCH, CQVTResizePoint(0, 0), CQVTResizePoint(1, 0));
        d.SetControlAnchors(0, ::GetDesktopWindow(), CQVTResizeRect(1, 1, 1, 1));
        d.SetControlAnchors(IDC_AFTER, CQVTResizePoint(1, 1), CQVTResizePoint(1, 1));
    });
    ASSERT_TRUE(pDlg);
    CTestResizeDlg& dlg = *pDlg;
    CRect stretch = ChildRect(dlg, IDC_STRETCH), after = ChildRect(dlg, IDC_AFTER);
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);

    GrowClient(dlg, 20, 10);
    EXPECT_EQ(ChildRect(dlg, IDC_STRETCH).right, stretch.right + 20);
    after.OffsetRect(20, 10);
    EXPECT_EQ(ChildRect(dlg, IDC_AFTER), after);
    GrowClient(dlg, 20, 10);
    after.OffsetRect(20, 10);
    EXPECT_EQ(ChildRect(dlg, IDC_AFTER), after);
    CRect desktopNow;
    ::GetWindowRect(::GetDesktopWindow(), &desktopNow);
    EXPECT_EQ(desktopNow, desktop);
}
