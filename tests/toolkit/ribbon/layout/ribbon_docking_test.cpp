// Toolbars beside a ribbon in the top dock bar: the ribbon's row is its own,
// so a toolbar dropped onto it goes to the next row, while the ribbon itself
// may be put anywhere.
#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"

namespace {

CRect ScreenRectOf(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

}  // namespace

class RibbonDocking : public CRibbonHostSuite<RibbonDocking>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(30, 420, 930, 840)); }

protected:
    void SetUp() override { ResetHost(880, 380); }

    CQVTToolBar* AddToolBar(LPCTSTR lpszTitle, UINT nFirstId)
    {
        CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(lpszTitle, qvtBarTop));
        if (!pBar)
            return nullptr;
        const UINT ids[] = {nFirstId, nFirstId + 1};
        pBar->SetButtons(ids, 2);
        for (int i = 0; i < pBar->GetControlCount(); ++i)
        {
            pBar->GetControl(i)->SetCaption(_T("Tool"));
            pBar->GetControl(i)->SetStyle(qvtButtonCaption);
        }
        Bars()->RecalcFrameLayout();
        PumpHost(20);
        return pBar;
    }
    CQVTCommandBars* Bars() const { return m_pRibbon->GetCommandBars(); }
    CQVTDockBar* Top() const { return Bars()->GetDockBar(0); }

    // Moves the bar's window rectangle so its centre lies on the point and
    // docks it there.
    BOOL DropAt(CQVTCommandBar* pBar, CPoint ptCentre)
    {
        CRect rcDrop = ScreenRectOf(pBar);
        rcDrop.OffsetRect(ptCentre - rcDrop.CenterPoint());
        const BOOL bDocked = Bars()->DockCommandBar(pBar, &rcDrop, Top());
        PumpHost(20);
        return bDocked;
    }
};

namespace {

TEST_F(RibbonDocking, AToolbarDroppedOnTheRibbonsRowGoesToTheRowBelow)
{
    ASSERT_NE(nullptr, Top());
    ASSERT_GE(Top()->FindBar(m_pRibbon), 0);
    CQVTToolBar* pFirst = AddToolBar(_T("First"), 40400);
    CQVTToolBar* pSecond = AddToolBar(_T("Second"), 40410);
    ASSERT_TRUE(pFirst && pSecond);
    ASSERT_EQ(Top(), pFirst->GetDockBar());
    const std::vector<CQVTCommandBar*> rowsBefore = {nullptr, m_pRibbon, nullptr, pFirst,
                                                     nullptr, pSecond,   nullptr};
    ASSERT_EQ(rowsBefore, Top()->GetBars());

    // The middle of the ribbon: not the ribbon's row, but the first below it
    // whose far edge lies beyond the point.
    const CRect rcRibbon = ScreenRectOf(m_pRibbon);
    ASSERT_TRUE(DropAt(pSecond, CPoint(rcRibbon.left + 400, rcRibbon.CenterPoint().y)));
    // It joins at the row's start; the row's layout orders its bars by place.
    const std::vector<CQVTCommandBar*> rowsAfter = {nullptr, m_pRibbon, nullptr, pSecond, pFirst, nullptr};
    EXPECT_EQ(rowsAfter, Top()->GetBars());
    EXPECT_EQ(rcRibbon.bottom, ScreenRectOf(pFirst).top);
    EXPECT_EQ(ScreenRectOf(pFirst).top, ScreenRectOf(pSecond).top);
    EXPECT_LE(ScreenRectOf(pFirst).right, ScreenRectOf(pSecond).left);
    EXPECT_EQ(rcRibbon, ScreenRectOf(m_pRibbon));

    // Exactly on the ribbon's lower edge, which ends its row: a row of its
    // own between the ribbon and the others, never the ribbon's.
    ASSERT_TRUE(DropAt(pSecond, CPoint(rcRibbon.left + 400, rcRibbon.bottom)));
    const std::vector<CQVTCommandBar*> rowsBetween = {nullptr, m_pRibbon, nullptr, pSecond,
                                                      nullptr, pFirst,    nullptr};
    EXPECT_EQ(rowsBetween, Top()->GetBars());
    EXPECT_EQ(rcRibbon.bottom, ScreenRectOf(pSecond).top);
    EXPECT_EQ(ScreenRectOf(pSecond).bottom, ScreenRectOf(pFirst).top);
}

}  // namespace
