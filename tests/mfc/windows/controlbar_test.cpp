// Control bars in a parent's layout: aligned bars take their size off the
// layout rectangle and leave the rest to the pane, delayed showing and
// hiding take effect at the next layout or idle update, the command UI runs
// only for a shown bar, with the owner as target, and style changes are
// reported once.
#include <afxwin.h>
#include <afxext.h>

#include <vector>

#include "sondrel_gtest.h"

class CFixedBar : public CControlBar
{
public:
    explicit CFixedBar(int nHeight) : m_nHeight(nHeight) {}
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        return CSize(bStretch && bHorz ? 32767 : 50, m_nHeight);
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        m_targets.push_back(reinterpret_cast<CWnd*>(pTarget));
        m_bLastDisable = bDisableIfNoHndler;
    }
    void OnBarStyleChange(DWORD dwOld, DWORD dwNew) override { m_changes.push_back({dwOld, dwNew}); }
    BOOL Create(CWnd* pParent, DWORD dwBarStyle, UINT nId)
    {
        m_dwStyle = dwBarStyle;
        return CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10),
                        pParent, nId);
    }

    int m_nHeight;
    std::vector<CWnd*> m_targets;
    BOOL m_bLastDisable = FALSE;
    std::vector<std::pair<DWORD, DWORD>> m_changes;
};

class ControlBarLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), _T("Parent"), WS_POPUP,
                                      CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_top.Create(&m_parent, CBRS_ALIGN_TOP, AFX_IDW_CONTROLBAR_FIRST));
        ASSERT_TRUE(m_bottom.Create(&m_parent, CBRS_ALIGN_BOTTOM, AFX_IDW_STATUS_BAR));
        ASSERT_TRUE(m_pane.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE,
                                    CRect(0, 0, 1, 1), &m_parent, AFX_IDW_PANE_FIRST));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    static CRect RectIn(CWnd& wnd, CWnd& parent)
    {
        CRect rc;
        wnd.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        return rc;
    }

    CWnd m_parent;
    CFixedBar m_top{30};
    CFixedBar m_bottom{20};
    CWnd m_pane;
};

namespace {

TEST_F(ControlBarLayout, AlignedBarsTakeTheirSizeAndThePaneTheRest)
{
    m_parent.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(CRect(0, 0, 300, 30), RectIn(m_top, m_parent));
    EXPECT_EQ(CRect(0, 180, 300, 200), RectIn(m_bottom, m_parent));
    EXPECT_EQ(CRect(0, 30, 300, 180), RectIn(m_pane, m_parent));

    // A query measures without moving anything.
    CRect rcQuery;
    m_parent.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rcQuery);
    EXPECT_EQ(CRect(0, 30, 300, 180), rcQuery);
}

TEST_F(ControlBarLayout, DelayedHideAndShowApplyAtTheNextLayoutOrIdleUpdate)
{
    m_bottom.DelayShow(FALSE);
    EXPECT_FALSE(m_bottom.IsVisible());
    EXPECT_TRUE(m_bottom.GetStyle() & WS_VISIBLE) << "not before the layout";
    m_parent.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    EXPECT_FALSE(m_bottom.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(CRect(0, 30, 300, 200), RectIn(m_pane, m_parent)) << "the space goes back to the pane";

    m_bottom.DelayShow(TRUE);
    EXPECT_TRUE(m_bottom.IsVisible());
    EXPECT_FALSE(m_bottom.GetStyle() & WS_VISIBLE);
    m_bottom.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(m_bottom.GetStyle() & WS_VISIBLE);

    // Asking for what already is leaves nothing pending.
    m_bottom.DelayShow(TRUE);
    m_bottom.DelayShow(FALSE);
    m_bottom.DelayShow(TRUE);
    EXPECT_EQ(0u, m_bottom.m_nStateFlags & (CControlBar::delayShow | CControlBar::delayHide));
}

TEST_F(ControlBarLayout, CommandUiRunsForShownBarsWithTheOwnerAsTarget)
{
    m_top.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    ASSERT_EQ(1u, m_top.m_targets.size());
    EXPECT_EQ(&m_parent, m_top.m_targets[0]);
    EXPECT_TRUE(m_top.m_bLastDisable);
    m_top.ShowWindow(SW_HIDE);
    m_top.SendMessage(WM_IDLEUPDATECMDUI, FALSE, 0);
    EXPECT_EQ(1u, m_top.m_targets.size());
}

TEST_F(ControlBarLayout, StyleChangesAreReportedOnceAndBordersShrinkTheInside)
{
    m_top.SetBarStyle(CBRS_ALIGN_TOP);
    EXPECT_TRUE(m_top.m_changes.empty());
    m_top.SetBarStyle(CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM);
    ASSERT_EQ(1u, m_top.m_changes.size());
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_TOP), m_top.m_changes[0].first);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM), m_top.m_changes[0].second);

    m_top.SetBorders(4, 3, 2, 1);
    CRect rc(0, 0, 100, 40);
    m_top.CalcInsideRect(rc, TRUE);
    EXPECT_EQ(CRect(4, 3, 98, 39 - ::GetSystemMetrics(SM_CYBORDER)), rc);
}

}  // namespace
