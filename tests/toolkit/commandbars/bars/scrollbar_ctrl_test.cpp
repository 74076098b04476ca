// The scroll bar inside command-bar windows draws with the scroll-bar paint
// manager of its command bars, or of the global theme, whichever is current
// at the next paint.
#include <afxwin.h>

#include "sondrel_gtest.h"
#include "toolkit/commandbars/bars/QVTCommandBarScrollBarCtrl.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

namespace {

TEST(CommandBarScrollBar, FollowsTheThemeOfItsBarsOrTheGlobalOne)
{
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
    CQVTCommandBarScrollBarCtrl bar;
    EXPECT_EQ(QVTPaintManager()->GetScrollBarPaintManager(), bar.GetScrollBarPaintManager());
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    EXPECT_EQ(QVTPaintManager()->GetScrollBarPaintManager(), bar.GetScrollBarPaintManager())
        << "the new theme's after a switch";

    CQVTCommandBars* pCommandBars = CQVTCommandBars::CreateCommandBars();
    CQVTPaintManager* pOwn = CQVTPaintManager::CreateTheme(qvtThemeOffice2000);
    pOwn->RefreshMetrics();
    pCommandBars->SetPaintManager(pOwn);
    bar.SetCommandBars(pCommandBars);
    EXPECT_EQ(pOwn->GetScrollBarPaintManager(), bar.GetScrollBarPaintManager());
    EXPECT_NE(QVTPaintManager()->GetScrollBarPaintManager(), bar.GetScrollBarPaintManager());
    bar.SetCommandBars(nullptr);
    pCommandBars->InternalRelease();
}

TEST(CommandBarScrollBar, HoldsTheGlobalPaintManagerForItsLife)
{
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
    const LONG nBefore = QVTPaintManager()->m_dwRef;
    {
        CQVTCommandBarScrollBarCtrl bar;
        EXPECT_EQ(nBefore + 1, QVTPaintManager()->m_dwRef);
        // A window of its own draws through the same manager.
        CWnd parent;
        ASSERT_TRUE(
            parent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 16, 100), &parent, 1));
        bar.SendMessage(WM_PRINTCLIENT, 0, 0);
        bar.DestroyWindow();
        parent.DestroyWindow();
    }
    EXPECT_EQ(nBefore, QVTPaintManager()->m_dwRef);
}

}  // namespace
