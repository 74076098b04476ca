#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/theme/QVTProcessThemeManager.h"

namespace {
int g_nDeleted = 0;
struct Counted : CObject
{
    ~Counted() override { ++g_nDeleted; }
};
}  // namespace

TEST(ThemeManager, OnlyANewThemeRefreshesTheColours)
{
    CQVTProcessThemeManager* pManager = QVTThemeManager();
    ASSERT_NE(nullptr, pManager);
    EXPECT_EQ(pManager, QVTThemeManager());
    EXPECT_EQ(1, pManager->GetTheme());

    // A custom colour survives everything but a refresh that resets it.
    const COLORREF clrCustom = RGB(1, 2, 3);
    QVTColorManager()->SetColor(15, clrCustom);
    pManager->SetTheme(1);
    EXPECT_EQ(clrCustom, QVTColorManager()->GetColor(15)) << "the same theme refreshed the colours";

    pManager->SetTheme(2);
    EXPECT_EQ(2, pManager->GetTheme());
    EXPECT_EQ(QVTColorManager()->GetStandardColor(15), QVTColorManager()->GetColor(15));

    QVTColorManager()->SetColor(15, clrCustom);
    pManager->SetTheme(2);
    EXPECT_EQ(clrCustom, QVTColorManager()->GetColor(15));
    QVTColorManager()->SetColor(15, CQVTColorManager::noColor);
}

TEST(ThemeManager, DeletesTheObjectsItHolds)
{
    g_nDeleted = 0;
    {
        CQVTProcessThemeManager manager;
        manager.GetThemedObjects().SetAt(reinterpret_cast<void*>(1), new Counted);
        manager.GetThemedObjects().SetAt(reinterpret_cast<void*>(2), new Counted);
    }
    EXPECT_EQ(2, g_nDeleted);
}
