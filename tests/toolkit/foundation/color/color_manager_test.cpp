// The colour manager's arithmetic and derivation against fixed system
// palettes, theme detection from the names the theme library reports, and
// the colour values' stored form.
#include <afxwin.h>

#include <cmath>

#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"

namespace {

// The classic grey palette, whatever the test machine's colours are.
COLORREF AFX_CDECL ClassicColor(int nIndex)
{
    switch (nIndex)
    {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(0, 0, 128);
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_BTNFACE:
        return RGB(192, 192, 192);
    case COLOR_BTNSHADOW:
        return RGB(128, 128, 128);
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    case COLOR_MENUHILIGHT:  // the last system colour the manager takes
        return RGB(51, 153, 255);
    default:
        return RGB(10, 20, 30);
    }
}

// Black faces with white text: the high-contrast case.
COLORREF AFX_CDECL HighContrastColor(int nIndex)
{
    switch (nIndex)
    {
    case COLOR_BTNFACE:
        return RGB(0, 0, 0);
    case COLOR_BTNTEXT:
        return RGB(255, 255, 255);
    case COLOR_BTNSHADOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOW:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(0, 255, 255);
    default:
        return RGB(128, 0, 128);
    }
}

double WeightedDistance(COLORREF a, COLORREF b)
{
    const double dr = (GetRValue(a) - GetRValue(b)) * 195.0 / 255.0;
    const double dg = (GetGValue(a) - GetGValue(b)) * 390.0 / 255.0;
    const double db = (GetBValue(a) - GetBValue(b)) * 65.0 / 255.0;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

}  // namespace

// A manager on a fixed palette with the theme's colours out of the way.
class ClassicManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager.SetGetSysColorPtr(&ClassicColor);
        manager.DisableThemeColors(TRUE);
        manager.RefreshColors(TRUE);
    }
    CQVTColorManager manager;
};

TEST(ColorManagerBlend, WeightsOutOfHundredOrThousandRoundHalfUp)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_EQ(0x808080u, CQVTColorManager::BlendColors(white, black, 50));
    EXPECT_EQ(0x808080u, CQVTColorManager::BlendColors(white, black, 500));
    EXPECT_EQ(0x2A2A2Au, CQVTColorManager::BlendColors(white, black, 165));
    // The divisor changes between 99 (per cent) and 100 (per mille).
    EXPECT_EQ(0xFCFCFCu, CQVTColorManager::BlendColors(white, black, 99));
    EXPECT_EQ(0x1A1A1Au, CQVTColorManager::BlendColors(white, black, 100));
    // Channels blend on their own: (200*30 + 0*70 + 50)/100, (100*30 + 50*70 + 50)/100, ...
    EXPECT_EQ(RGB(60, 65, 175), CQVTColorManager::BlendColors(RGB(200, 100, 0), RGB(0, 50, 250), 30));
    EXPECT_EQ(RGB(1, 2, 3), CQVTColorManager::BlendColors(RGB(1, 2, 3), RGB(200, 200, 200), 1000));
}

TEST(ColorManagerDistance, WeightedSpaceAndScaledThreshold)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    // White lies about 441 from black.
    EXPECT_TRUE(CQVTColorManager::IsColorDistanceAbove(black, white, FALSE, 440));
    EXPECT_FALSE(CQVTColorManager::IsColorDistanceAbove(black, white, FALSE, 442));
    // Green weighs twice red: a step of 51 in green is 78 away, in red 39.
    EXPECT_TRUE(CQVTColorManager::IsColorDistanceAbove(black, RGB(0, 51, 0), FALSE, 77));
    EXPECT_FALSE(CQVTColorManager::IsColorDistanceAbove(black, RGB(51, 0, 0), FALSE, 40));
    // A black first colour doubles the threshold; a bright one keeps it.
    EXPECT_TRUE(CQVTColorManager::IsColorDistanceAbove(black, RGB(0, 51, 0), FALSE, 50));
    EXPECT_FALSE(CQVTColorManager::IsColorDistanceAbove(black, RGB(0, 51, 0), TRUE, 50));
    EXPECT_TRUE(CQVTColorManager::IsColorDistanceAbove(white, RGB(255, 204, 255), TRUE, 50));
    // The scaled threshold stops shrinking 220 from black: (0, 144, 0) lies
    // 220.2 out and keeps the amount (its partner is 100.16 away), (0, 145, 0)
    // lies 221.8 out and keeps it too (its partner is 99.71 away).
    EXPECT_TRUE(CQVTColorManager::IsColorDistanceAbove(RGB(0, 144, 0), RGB(0, 79, 48), TRUE, 100));
    EXPECT_FALSE(CQVTColorManager::IsColorDistanceAbove(RGB(0, 145, 0), RGB(0, 80, 30), TRUE, 100));
}

TEST(ColorManagerDistance, MoveCloserAndEnsureContrastLandAtTheScaledDistance)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    COLORREF moved = CQVTColorManager::MoveColorCloser(white, black, 35);
    EXPECT_EQ(GetRValue(moved), GetGValue(moved));
    EXPECT_NEAR(35.0, WeightedDistance(white, moved), 1.5);

    // From a bright colour, contrast is made toward black along the line
    // through the second colour.
    const COLORREF face = RGB(202, 202, 202), blue = RGB(179, 179, 217);
    COLORREF contrast = CQVTColorManager::EnsureColorContrast(face, blue, 50);
    EXPECT_NEAR(50.0, WeightedDistance(face, contrast), 1.5);
    EXPECT_EQ(GetRValue(contrast), GetGValue(contrast));
    EXPECT_LT(GetRValue(contrast), GetBValue(contrast));
    EXPECT_FALSE(CQVTColorManager::IsColorDistanceAbove(face, contrast, TRUE, 52));

    // From a dark colour the work happens in the inverted space: the result
    // is on the line from white and at twice the amount (dark colours).
    const COLORREF dark = RGB(20, 20, 20);
    contrast = CQVTColorManager::EnsureColorContrast(dark, RGB(40, 40, 40), 30);
    EXPECT_GT(GetRValue(contrast), 20);
    EXPECT_NEAR(2.0 * 30 - 30.0 * std::min(int(WeightedDistance(black, dark)), 220) / 220.0,
                WeightedDistance(dark, contrast), 1.5);
}

TEST(ColorManagerDistance, DegenerateInputsGiveDefinedColours)
{
    // Equal colours have no direction: the second one comes back.
    EXPECT_EQ(RGB(9, 9, 9), CQVTColorManager::MoveColorCloser(RGB(9, 9, 9), RGB(9, 9, 9), 35));
    // No point on the blue line is 10 from red: the nearest one (black), not garbage.
    EXPECT_EQ(RGB(0, 0, 0), CQVTColorManager::EnsureColorContrast(RGB(255, 0, 0), RGB(0, 0, 255), 10));
    // Nor on the olive line from dark red: its nearest point is olive, not black.
    EXPECT_EQ(RGB(92, 92, 0), CQVTColorManager::EnsureColorContrast(RGB(200, 0, 0), RGB(200, 200, 0), 10));
}

TEST_F(ClassicManager, LiteralsCustomColoursAndRefresh)
{
    EXPECT_EQ(63u, manager.GetColor(63));
    EXPECT_EQ(0xFFFFFFu, manager.GetColor(0xFFFFFF));
    EXPECT_EQ(RGB(0, 0, 0), manager.GetColor(0));
    EXPECT_EQ(RGB(192, 192, 192), manager.GetColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(10, 20, 30), manager.GetColor(COLOR_BACKGROUND));
    EXPECT_EQ(RGB(51, 153, 255), manager.GetColor(COLOR_MENUHILIGHT));

    manager.SetColor(COLOR_BTNFACE, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), manager.GetColor(COLOR_BTNFACE));
    manager.RefreshColors(FALSE);
    EXPECT_EQ(RGB(1, 2, 3), manager.GetColor(COLOR_BTNFACE));
    // The custom face feeds the derivation: colour 51 starts as colour 15.
    EXPECT_EQ(RGB(1, 2, 3), manager.GetColor(51));
    manager.RefreshColors(TRUE);
    EXPECT_EQ(RGB(192, 192, 192), manager.GetColor(COLOR_BTNFACE));
}

TEST_F(ClassicManager, DerivedColoursOfTheClassicPalette)
{
    // 30: blend(window, face, 165), already within 35 of the face.
    EXPECT_EQ(RGB(202, 202, 202), manager.GetColor(30));
    EXPECT_EQ(manager.GetColor(30), manager.GetColor(53));
    // 36: half of 30, 40 % of the window, 10 % of the highlight, each rounded down.
    EXPECT_EQ(RGB(203, 203, 215), manager.GetColor(36));
    // 22: the face lightened by 15; 48: the face scaled up by 35; 49: the shadow down by 43.
    EXPECT_EQ(RGB(207, 207, 207), manager.GetColor(22));
    EXPECT_EQ(RGB(227, 227, 227), manager.GetColor(48));
    EXPECT_EQ(RGB(85, 85, 85), manager.GetColor(49));
    // 31 started as blend(highlight, window, 30) = (179, 179, 217) and is
    // pushed 50 away from colour 30; 34 is three quarters of it.
    const COLORREF c31 = manager.GetColor(31);
    EXPECT_NEAR(50.0, WeightedDistance(manager.GetColor(30), c31), 1.5);
    EXPECT_EQ(RGB(GetRValue(c31) * 3 / 4, GetGValue(c31) * 3 / 4, GetBValue(c31) * 3 / 4),
              manager.GetColor(34));
    // 42: blend(face, shadow, 90), not a contrast target.
    EXPECT_EQ(CQVTColorManager::BlendColors(RGB(192, 192, 192), RGB(128, 128, 128), 90),
              manager.GetColor(42));
    // 60 takes the standard 40 even when 40 is overridden; 58 takes the override.
    manager.SetColor(40, RGB(1, 1, 1));
    manager.RefreshColors(FALSE);
    EXPECT_EQ(RGB(1, 1, 1), manager.GetColor(58));
    EXPECT_EQ(manager.GetStandardColor(40), manager.GetColor(60));
    EXPECT_EQ(RGB(0, 0, 0), manager.GetColor(59));
    EXPECT_EQ(RGB(0, 0, 0), manager.GetColor(62));
}

TEST(ColorManagerDerivation, HighContrastCopiesInsteadOfBlends)
{
    CQVTColorManager manager;
    manager.SetGetSysColorPtr(&HighContrastColor);
    manager.DisableThemeColors(TRUE);
    manager.RefreshColors(TRUE);
    EXPECT_EQ(RGB(0, 0, 0), manager.GetColor(30));           // the face, no blend
    EXPECT_EQ(RGB(0, 255, 255), manager.GetColor(36));       // the highlight
    EXPECT_EQ(RGB(255, 255, 255), manager.GetColor(42));     // the shadow
    EXPECT_EQ(RGB(0, 0, 0), manager.GetColor(41));           // the window
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x7F), manager.GetColor(49));  // black face
    EXPECT_EQ(RGB(0x23, 0x23, 0x23), manager.GetColor(48));
}

TEST(ColorManagerThemes, FixedColoursAndGradientsPerTheme)
{
    CQVTColorManager manager;
    manager.SetGetSysColorPtr(&ClassicColor);
    EXPECT_EQ(0x8CD5FFu, manager.GetGradientColor(7).clrLight.GetValue());
    EXPECT_EQ(0x55ADFFu, manager.GetGradientColor(7).clrDark.GetValue());
    EXPECT_EQ(0x97D4FFu, manager.GetGradientColor(9).clrDark.GetValue());

    manager.SetCurrentSystemTheme(qvtSystemThemeOlive);
    EXPECT_EQ(qvtSystemThemeOlive, manager.GetCurrentSystemTheme());
    manager.RefreshColors(TRUE);
    EXPECT_EQ(0x335E51u, manager.GetThemeColor(38));
    EXPECT_EQ(0x19221Fu, manager.GetThemeColor(59));
    EXPECT_EQ(0xFFFFFFFFu, manager.GetThemeColor(42));
    EXPECT_EQ(0xDEF7F4u, manager.GetGradientColor(3).clrLight.GetValue());
    EXPECT_EQ(0x91C6B7u, manager.GetGradientColor(3).clrDark.GetValue());
    EXPECT_FLOAT_EQ(0.3f, manager.GetGradientColor(3).fGradientFactor);
    EXPECT_EQ(0x588060u, manager.GetColor(54));

    manager.SetCurrentSystemTheme(qvtSystemThemeAero);
    manager.RefreshColors(TRUE);
    EXPECT_EQ(0x764127u, manager.GetThemeColor(38));
    EXPECT_EQ(0x962D00u, manager.GetColor(54));

    // Disabled theme colours fall back to the system palette's gradients.
    manager.DisableThemeColors(TRUE);
    manager.RefreshColors(TRUE);
    EXPECT_EQ(0xFFFFFFFFu, manager.GetThemeColor(38));
    EXPECT_EQ(RGB(192, 192, 192), manager.GetGradientColor(1).clrLight.GetValue());
    EXPECT_EQ(CQVTColorManager::BlendColors(RGB(192, 192, 192), RGB(255, 255, 255), 215),
              manager.GetGradientColor(1).clrDark.GetValue());
    EXPECT_EQ(RGB(128, 128, 128), manager.GetGradientColor(0).clrLight.GetValue());

    manager.SetCurrentSystemTheme(qvtSystemThemeAuto);
    EXPECT_EQ(manager.GetDetectedSystemTheme(), manager.GetCurrentSystemTheme());
}

namespace {

const WCHAR* g_themeFile = u"";
const WCHAR* g_themeColor = u"";
BOOL g_themeActive = TRUE;
HRESULT g_themeNameResult = S_OK;

BOOL WINAPI FakeIsThemeActive()
{
    return g_themeActive;
}

HRESULT WINAPI FakeGetCurrentThemeName(LPWSTR pszFile, int cchFile, LPWSTR pszColor, int cchColor,
                                       LPWSTR pszSize, int cchSize)
{
    lstrcpynW(pszFile, g_themeFile, cchFile);
    lstrcpynW(pszColor, g_themeColor, cchColor);
    lstrcpynW(pszSize, u"NormalSize", cchSize);
    return g_themeNameResult;
}

int Detect(CQVTColorManager& manager, const WCHAR* pszFile, const WCHAR* pszColor)
{
    g_themeFile = pszFile;
    g_themeColor = pszColor;
    CQVTWinThemeWrapper wrapper(FALSE);
    wrapper.ReloadApiTable();
    wrapper.SetApiPointer(CQVTWinThemeApiTable::slotIsThemeActive,
                          reinterpret_cast<void*>(&FakeIsThemeActive));
    wrapper.SetApiPointer(CQVTWinThemeApiTable::slotGetCurrentThemeName,
                          reinterpret_cast<void*>(&FakeGetCurrentThemeName));
    return manager.DetectSystemTheme(wrapper);
}

}  // namespace

TEST(ColorManagerThemes, DetectionFromTheStyleAndColourNames)
{
    CQVTColorManager manager;
    EXPECT_EQ(1, Detect(manager, u"C:\\Windows\\Resources\\Themes\\Luna\\Luna.msstyles", u"NormalColor"));
    EXPECT_EQ(2, Detect(manager, u"C:\\Themes\\LUNA.MSSTYLES", u"HomeStead"));
    EXPECT_EQ(3, Detect(manager, u"c:\\skins\\WinXP.Luna.qvstyles", u"Metallic"));
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\luna.msstyles", u"NormalColor2"));
    EXPECT_EQ(4, Detect(manager, u"C:\\Themes\\Royale.msstyles", u"NormalColor"));
    EXPECT_EQ(5, Detect(manager, u"C:\\Themes\\Aero\\Aero.msstyles", u"NormalColor"));
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\light.msstyles", u"Blue"));

    manager.SetDetectRoyale(FALSE);
    manager.SetDetectAero(FALSE);
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\Royale.msstyles", u"NormalColor"));
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\Aero\\Aero.msstyles", u"NormalColor"));

    g_themeNameResult = E_FAIL;
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\luna.msstyles", u"NormalColor"));
    g_themeNameResult = S_OK;
    g_themeActive = FALSE;
    EXPECT_EQ(0, Detect(manager, u"C:\\Themes\\luna.msstyles", u"NormalColor"));
    g_themeActive = TRUE;
}

TEST(ColorManagerSingleton, IndexAccessAndSystemMetrics)
{
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), GetColorByIndex(COLOR_HIGHLIGHT));
    EXPECT_EQ(0x123456u, GetColorByIndex(0x123456));
    EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION), QVTSystemMetrics()->m_nCaptionY);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), QVTSystemMetrics()->m_nSmallIconX);
}

TEST(PaintManagerColor, EffectiveValueAndStoredForm)
{
    CQVTPaintManagerColor none;
    EXPECT_EQ(0xFFFFFFFFu, none.GetValue());
    CQVTPaintManagerColor color(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), COLORREF(color));
    color.SetCustomValue(RGB(4, 5, 6));
    EXPECT_EQ(RGB(4, 5, 6), COLORREF(color));

    CQVTPaintManagerColorGradient gradient(RGB(7, 8, 9));
    gradient.clrDark.SetCustomValue(RGB(10, 11, 12));
    gradient.fGradientFactor = 0.25f;
    CQVTPaintManagerColorGradient copy;
    copy.SetStandardValueFrom(gradient);
    EXPECT_EQ(RGB(7, 8, 9), copy.clrLight.GetStandardValue());
    EXPECT_EQ(RGB(10, 11, 12), copy.clrDark.GetStandardValue());
    EXPECT_FALSE(copy.clrDark.IsCustomValue());
    EXPECT_FLOAT_EQ(0.25f, copy.fGradientFactor);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        color.Serialize(ar);
        gradient.Serialize(ar);
    }
    // Two 4-byte words per colour, then the 4-byte factor.
    ASSERT_EQ(8u + 20u, file.GetLength());
    file.SeekToBegin();
    CQVTPaintManagerColor colorBack;
    CQVTPaintManagerColorGradient gradientBack;
    {
        CArchive ar(&file, CArchive::load);
        colorBack.Serialize(ar);
        gradientBack.Serialize(ar);
    }
    EXPECT_EQ(RGB(1, 2, 3), colorBack.GetStandardValue());
    EXPECT_EQ(RGB(4, 5, 6), colorBack.GetCustomValue());
    EXPECT_EQ(RGB(7, 8, 9), gradientBack.clrDark.GetStandardValue());
    EXPECT_EQ(RGB(10, 11, 12), gradientBack.clrDark.GetCustomValue());
    EXPECT_FALSE(gradientBack.clrLight.IsCustomValue());
    EXPECT_FLOAT_EQ(0.25f, gradientBack.fGradientFactor);
}
