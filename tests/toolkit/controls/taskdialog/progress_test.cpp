// The task dialog's progress bar with the marquee it draws itself on systems
// whose bar has none: blocks by position, the timer's steps, the states that
// hide the blocks; on newer systems the marquee stays the system's.
#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/taskdialog/QVTTaskDialogProgressCtrl.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

class COlderSystemProgress : public CQVTTaskDialogProgressCtrl
{
protected:
    BOOL IsOlderSystem() const override { return TRUE; }
};

// A shown host that never takes the activation from tests running meanwhile.
class CProgressHost : public CWnd
{
public:
    CProgressHost()
    {
        CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                 AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE)),
                 _T("progress"), WS_POPUP, 40, 700, 340, 60, nullptr, nullptr);
        SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~CProgressHost() override { DestroyWindow(); }
};

// Columns of the bar's first row of blocks that show the highlight.
std::vector<int> HighlightedColumns(CWnd& bar)
{
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc(&bar);
    CRect rc;
    bar.GetClientRect(&rc);
    std::vector<int> columns;
    for (int x = 0; x < rc.Width(); ++x)
        if (dc.GetPixel(x, rc.Height() / 2) == ::GetSysColor(COLOR_HIGHLIGHT))
            columns.push_back(x);
    return columns;
}

}  // namespace

TEST(TaskDialogProgress, OnOlderSystemsTheBarDrawsAndMovesItsOwnMarquee)
{
    CProgressHost host;
    COlderSystemProgress bar;
    // 20 px high: blocks of 12 px (two thirds of the inner 18), 2 px apart.
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | PBS_MARQUEE, CRect(10, 10, 310, 30), &host, 1));
    PumpMessages(30);

    std::vector<int> columns = HighlightedColumns(bar);
    ASSERT_EQ(columns.size(), 5u * 12u);
    EXPECT_EQ(columns.front(), 1);
    EXPECT_EQ(columns[12], 15);                  // the second block, after a gap
    EXPECT_EQ(columns.back(), 1 + 4 * 14 + 11);  // the fifth block's last column

    // Running: each tick of a fast marquee moves it two block steps on.
    EXPECT_TRUE(bar.SendMessage(PBM_SETMARQUEE, TRUE, 30));
    EXPECT_TRUE(bar.IsMarqueeRunning());
    ASSERT_TRUE(PumpUntil([&] { return bar.GetMarqueePos() > 0; }));
    bar.KillTimer(CQVTTaskDialogProgressCtrl::timerMarquee);
    int nPos = bar.GetMarqueePos();
    EXPECT_EQ(nPos % QVTDpiScaler()->ScaleX(28), 0);
    columns = HighlightedColumns(bar);
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(columns.front(), 1 + nPos);

    // An error or a pause shows no blocks.
    bar.SendMessage(PBM_SETSTATE, PBST_ERROR);
    EXPECT_TRUE(HighlightedColumns(bar).empty());
    bar.SendMessage(PBM_SETSTATE, PBST_NORMAL);
    EXPECT_FALSE(HighlightedColumns(bar).empty());

    // Stopped: back at the start, no timer.
    bar.SendMessage(PBM_SETMARQUEE, FALSE, 30);
    EXPECT_FALSE(bar.IsMarqueeRunning());
    EXPECT_EQ(bar.GetMarqueePos(), 0);
    // No speed is no marquee either.
    bar.SendMessage(PBM_SETMARQUEE, TRUE, 0);
    EXPECT_FALSE(bar.IsMarqueeRunning());

    // This system's bar has a marquee of its own: the message is the system's.
    CQVTTaskDialogProgressCtrl systemBar;
    ASSERT_TRUE(systemBar.Create(WS_CHILD | WS_VISIBLE | PBS_MARQUEE, CRect(10, 34, 310, 54), &host, 2));
    systemBar.SendMessage(PBM_SETMARQUEE, TRUE, 30);
    EXPECT_FALSE(systemBar.IsMarqueeRunning());
    systemBar.SendMessage(PBM_SETMARQUEE, FALSE, 0);
}
