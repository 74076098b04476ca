// The ribbon under the flat theme of id 12 and its flat ribbon paint
// manager: the ribbon lays out, paints, changes tabs, minimizes and shows
// its quick-access controls.
#include <afxwin.h>

#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/paint/QVTRibbonOffice2013Theme.h"
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

class RibbonFlatTheme : public CRibbonHostSuite<RibbonFlatTheme>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(40, 420, 860, 760)); }

protected:
    void SetUp() override
    {
        ResetHost(780, 280);
        // The bars exist: the new theme takes their references.
        CQVTPaintManager::SetTheme(qvtThemeOffice2013);
        ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2013Theme, QVTPaintManager()));
        Relayout();
    }
    void Relayout()
    {
        s_pHost->GetCommandBars()->RecalcFrameLayout();
        s_pHost->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpHost(20);
    }
    void PrintRibbon()
    {
        CRect rc;
        m_pRibbon->GetClientRect(&rc);
        DibCanvas canvas(std::max<int>(1, rc.Width()), std::max<int>(1, rc.Height()), RGB(1, 2, 3));
        m_pRibbon->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.m_hDC), PRF_CLIENT);
    }
};

TEST_F(RibbonFlatTheme, LaysOutPaintsAndChangesStateWithTheFlatRibbonPaintManager)
{
    EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CQVTRibbonOffice2013Theme, m_pRibbon->GetRibbonPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2013Theme, QVTPaintManager())
                    ->SetRibbonBackground(s_pHost->GetCommandBars(), 1));
    ASSERT_GT(m_pRibbon->GetTabCount(), 1);
    PrintRibbon();
    for (int i = m_pRibbon->GetTabCount() - 1; i >= 0; --i)
    {
        m_pRibbon->SetCurrentTab(i);
        Relayout();
        PrintRibbon();
    }
    m_pRibbon->SetRibbonMinimized(TRUE);
    Relayout();
    PrintRibbon();
    m_pRibbon->SetRibbonMinimized(FALSE);
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    Relayout();
    PrintRibbon();
    m_pRibbon->ShowQuickAccessBelowRibbon(FALSE);
    s_pHost->ResizeClient(300, 200);
    Relayout();
    PrintRibbon();
    EXPECT_TRUE(m_pRibbon->IsWindowVisible());
}
