// The one process-wide paint manager: who makes it, how holders keep it,
// and how a theme change moves every holder to the new object while the
// old one goes.
#include <afxwin.h>

#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"
#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"
#include "toolkit/themes/office/QVTVisualStudio6Theme.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

namespace {

// Counts the theme objects alive, to see which one a swap deletes.
class CCountingTheme : public CQVTCommandBarsOffice2000Theme
{
public:
    CCountingTheme() { ++s_nAlive; }
    ~CCountingTheme() override { --s_nAlive; }
    static int s_nAlive;
};
int CCountingTheme::s_nAlive = 0;

LONG RefCount(CQVTPaintManager* pPaintManager)
{
    return pPaintManager->m_dwRef;
}

// Releases every reference of the current instance, which clears it.
void DropInstance()
{
    while (CQVTPaintManager::GetInstance())
        CQVTPaintManager::ReleaseInstance();
}

TEST(PaintManagerInstance, ASwapMovesEveryHolderToTheNewThemeAndDeletesTheOld)
{
    DropInstance();
    CQVTPaintManager::SetCustomTheme(new CCountingTheme());
    ASSERT_EQ(1, CCountingTheme::s_nAlive);
    CQVTPaintManager* pOld = CQVTPaintManager::GetInstance();
    EXPECT_EQ(qvtThemeCustom, pOld->GetCurrentTheme());

    // Three holders: the creator's reference plus two more.
    CQVTPaintManager::AddRefInstance();
    CQVTPaintManager::AddRefInstance();
    ASSERT_EQ(3, RefCount(pOld));

    CQVTPaintManager::SetTheme(qvtThemeOffice2003);
    CQVTPaintManager* pNew = CQVTPaintManager::GetInstance();
    EXPECT_EQ(0, CCountingTheme::s_nAlive);
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(3, RefCount(pNew));
    EXPECT_EQ(qvtThemeOffice2003, pNew->GetCurrentTheme());
    EXPECT_EQ(qvtThemeOffice2003, pNew->GetThemeId());

    // Each holder releases what it holds; the last release clears the
    // instance, and the next request makes a fresh default theme.
    CQVTPaintManager::ReleaseInstance();
    CQVTPaintManager::ReleaseInstance();
    EXPECT_EQ(pNew, CQVTPaintManager::GetInstance());
    CQVTPaintManager::ReleaseInstance();
    EXPECT_EQ(nullptr, CQVTPaintManager::GetInstance());
    CQVTPaintManager* pFresh = QVTPaintManager();
    ASSERT_NE(nullptr, pFresh);
    EXPECT_EQ(qvtThemeOffice2000, pFresh->GetThemeId());
    EXPECT_EQ(1, RefCount(pFresh));
    DropInstance();
}

TEST(PaintManagerInstance, InstallingTheCurrentInstanceAgainChangesNothing)
{
    DropInstance();
    CQVTPaintManager::SetCustomTheme(new CCountingTheme());
    CQVTPaintManager* pInstance = CQVTPaintManager::GetInstance();
    CQVTPaintManager::AddRefInstance();
    CQVTPaintManager::SetCustomTheme(pInstance);
    EXPECT_EQ(1, CCountingTheme::s_nAlive);
    EXPECT_EQ(pInstance, CQVTPaintManager::GetInstance());
    EXPECT_EQ(2, RefCount(pInstance));
    DropInstance();
    EXPECT_EQ(0, CCountingTheme::s_nAlive);
}

TEST(PaintManagerInstance, TheFactoryMakesTheThemesItCarriesAndTheDefaultForAnyOtherId)
{
    struct Case
    {
        int nId;
        CRuntimeClass* pClass;
        int nThemeId;
    };
    const Case cases[] = {{0, RUNTIME_CLASS(CQVTCommandBarsOffice2000Theme), 0},
                          {1, RUNTIME_CLASS(CQVTCommandBarsOfficeXPTheme), 1},
                          {2, RUNTIME_CLASS(CQVTCommandBarsOffice2003Theme), 2},
                          {5, RUNTIME_CLASS(CQVTResourceTheme), 5},
                          {11, RUNTIME_CLASS(CQVTCommandBarsOffice2007SystemTheme), 11},
                          {8, RUNTIME_CLASS(CQVTVisualStudio6Theme), 0},
                          {10, RUNTIME_CLASS(CQVTCommandBarsOffice2000Theme), 0},
                          {42, RUNTIME_CLASS(CQVTCommandBarsOffice2000Theme), 0},
                          {-5, RUNTIME_CLASS(CQVTCommandBarsOffice2000Theme), 0},
                          {18, RUNTIME_CLASS(CQVTCommandBarsOffice2000Theme), 0}};
    for (const Case& c : cases)
    {
        CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(c.nId);
        ASSERT_NE(nullptr, pTheme);
        EXPECT_TRUE(pTheme->GetRuntimeClass() == c.pClass) << c.nId;
        EXPECT_EQ(c.nThemeId, pTheme->GetThemeId()) << c.nId;
        EXPECT_EQ(c.nId, pTheme->GetCurrentTheme()) << c.nId;
        EXPECT_EQ(1, RefCount(pTheme));
        pTheme->InternalRelease();
    }
    DropInstance();
    CQVTPaintManager::SetTheme(42);
    EXPECT_EQ(42, QVTPaintManager()->GetCurrentTheme());
    DropInstance();
}

TEST(PaintManagerInstance, FlatThemesNeverDrawOnGlass)
{
    CQVTWinThemeWrapper wrapper(FALSE);
    const BOOL bSystem = wrapper.DwmIsCompositionEnabled();
    CQVTPaintManager::SetGlassEnabled(TRUE);
    CQVTPaintManager::SetTheme(qvtThemeOffice2013);
    EXPECT_FALSE(CQVTPaintManager::IsGlassEnabled());
    CQVTPaintManager::SetGlassEnabled(!bSystem);
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    EXPECT_EQ(bSystem, CQVTPaintManager::IsGlassEnabled());
    DropInstance();
}

TEST(PaintManagerInstance, AThemeChangeResetsTheColourManagersCustomColours)
{
    DropInstance();
    QVTColorManager()->SetColor(COLOR_3DFACE, RGB(1, 2, 3));
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    EXPECT_NE(RGB(1, 2, 3), QVTColorManager()->GetColor(COLOR_3DFACE));
    EXPECT_EQ(QVTColorManager()->GetColor(COLOR_3DFACE), QVTPaintManager()->GetColor(COLOR_3DFACE));
    DropInstance();
}

}  // namespace
