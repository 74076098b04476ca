// The Windows 10 and Visual Studio 2015 themes (ids 17 and 16): their ids
// and elements, one accent for the frame and the status bar that -1 takes
// back to the keys, the 2015 elements following the application's ambient
// accent until the application sets one (bad ambient values give the keys),
// the frame taking the system accent, the split button's line, and the
// combo box drawn in the combo-box set by state.
#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/paint/QVTRibbonOffice2013Theme.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTCommandBarsNativeWindows10Theme.h"
#include "toolkit/themes/windows10/QVTFrameThemeNativeWindows10.h"
#include "toolkit/themes/windows10/QVTStatusBarThemeNativeWindows10.h"
#include "toolkit/themes/windows10/QVTWindows10ElementThemes.h"

namespace {

const COLORREF kWindows10None = CQVTPaintManagerColor::noColor;

template <class TTheme>
std::unique_ptr<TTheme> MakeWindows10Theme(int nTheme)
{
    CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(nTheme);
    TTheme* pTyped = dynamic_cast<TTheme*>(pTheme);
    if (!pTyped)
        delete pTheme;
    return std::unique_ptr<TTheme>(pTyped);
}

// Sets the application's ambient property 1 as the application would, and
// puts it back to "none" when the test ends.
class Windows10AmbientAccent
{
public:
    ~Windows10AmbientAccent() { Set(COleVariant(static_cast<long>(-1), VT_I4)); }
    void Set(const COleVariant& value) { QVTApplication()->SetAmbientProperty(1, value); }
    void SetColor(COLORREF clr) { Set(COleVariant(static_cast<long>(clr), VT_I4)); }
};

CQVTStatusBarThemeNativeWindows10* Windows10StatusBar(CQVTPaintManager* pTheme)
{
    return DYNAMIC_DOWNCAST(CQVTStatusBarThemeNativeWindows10, pTheme->GetStatusBarPaintManager());
}

TEST(Windows10Theme, IdsSixteenAndSeventeenReportTwelveWithTheirElements)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    std::unique_ptr<CQVTCommandBarsNativeWindows10Theme> pWindows =
        MakeWindows10Theme<CQVTCommandBarsNativeWindows10Theme>(17);
    ASSERT_TRUE(pWindows);
    EXPECT_FALSE(pWindows->IsKindOf(RUNTIME_CLASS(CQVTCommandBarsVisualStudio2015Theme)));
    EXPECT_EQ(12, pWindows->GetThemeId());
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTFrameThemeNativeWindows10, pWindows->GetFramePaintManager()));
    EXPECT_EQ(RUNTIME_CLASS(CQVTStatusBarThemeNativeWindows10),
              pWindows->GetStatusBarPaintManager()->GetRuntimeClass());
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeNativeWindows10, pWindows->GetScrollBarPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTProgressThemeNativeWindows10, pWindows->GetProgressPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTControlGalleryNativeWindows10Theme, pWindows->GetGalleryPaintManager()));
    EXPECT_TRUE(dynamic_cast<CQVTRibbonThemeNativeWindows10*>(pWindows->GetRibbonPaintManager()));

    std::unique_ptr<CQVTCommandBarsVisualStudio2015Theme> pStudio =
        MakeWindows10Theme<CQVTCommandBarsVisualStudio2015Theme>(16);
    ASSERT_TRUE(pStudio);
    EXPECT_EQ(12, pStudio->GetThemeId());
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2015, pStudio->GetFramePaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTStatusBarThemeVisualStudio2015, pStudio->GetStatusBarPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeVisualStudio2015, pStudio->GetScrollBarPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTSliderThemeVisualStudio2015, pStudio->GetSliderPaintManager()));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTMessageBarThemeVisualStudio2015, pStudio->GetMessageBarPaintManager()));
    EXPECT_TRUE(dynamic_cast<CQVTRibbonThemeVisualStudio2015*>(pStudio->GetRibbonPaintManager()));
}

TEST(Windows10Theme, AccentMinusOneReturnsTheStatusBarToItsKeys)
{
    ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("VisualStudioKeys.ini")));
    std::unique_ptr<CQVTCommandBarsNativeWindows10Theme> pTheme =
        MakeWindows10Theme<CQVTCommandBarsNativeWindows10Theme>(17);
    ASSERT_TRUE(pTheme);
    CQVTStatusBarThemeNativeWindows10* pStatusBar = Windows10StatusBar(pTheme.get());
    ASSERT_TRUE(pStatusBar);
    const COLORREF clrKeyBack = RGB(40, 80, 120);
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(CQVTColorManager::BlendColors(clrKeyBack, GetColorByIndex(COLOR_WINDOW), 50),
              pStatusBar->m_clrGripperLite.GetValue());
    EXPECT_EQ(CQVTColorManager::BlendColors(clrKeyBack, GetColorByIndex(COLOR_WINDOWTEXT), 75),
              pStatusBar->m_clrGripperDark.GetValue());
    EXPECT_EQ(kWindows10None, pTheme->GetAccentColor());

    const COLORREF clrAccent = RGB(200, 30, 0);
    pTheme->SetAccentColor(clrAccent);
    const COLORREF clrDark = CQVTColorManager::BlendColors(clrAccent, GetColorByIndex(COLOR_WINDOWTEXT), 75);
    const COLORREF clrLite = CQVTColorManager::BlendColors(clrAccent, GetColorByIndex(COLOR_WINDOW), 50);
    EXPECT_EQ(clrAccent, pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(clrAccent, pStatusBar->m_clrTextGray.GetValue());
    EXPECT_EQ(clrAccent, pStatusBar->m_clrButtonBack.GetValue());
    EXPECT_EQ(clrDark, pStatusBar->m_clrButtonBackPushed.GetValue());
    EXPECT_EQ(clrDark, pStatusBar->m_clrButtonBackChecked.GetValue());
    EXPECT_EQ(clrLite, pStatusBar->m_clrButtonBackHighlight.GetValue());
    EXPECT_EQ(clrAccent, pTheme->GetAccentColor()) << "frame and status bar show the one accent";

    pTheme->SetAccentColor(kWindows10None);
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(RGB(41, 81, 121), pStatusBar->m_clrTextGray.GetValue());
    EXPECT_EQ(RGB(42, 82, 122), pStatusBar->m_clrButtonBack.GetValue());
    EXPECT_EQ(RGB(25, 71, 138), pStatusBar->m_clrButtonBackPushed.GetValue()) << "the key, not the gripper";
    EXPECT_EQ(RGB(25, 71, 138), pStatusBar->m_clrButtonBackChecked.GetValue());
    EXPECT_EQ(RGB(62, 109, 181), pStatusBar->m_clrButtonBackHighlight.GetValue());
    EXPECT_EQ(CQVTColorManager::BlendColors(clrKeyBack, GetColorByIndex(COLOR_WINDOWTEXT), 75),
              pStatusBar->m_clrGripperDark.GetValue());
    EXPECT_EQ(kWindows10None, pTheme->GetAccentColor());
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

TEST(VisualStudio2015Theme, AccentFollowsTheAmbientValueUntilTheApplicationSetsOne)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    Windows10AmbientAccent ambient;
    std::unique_ptr<CQVTCommandBarsVisualStudio2015Theme> pTheme =
        MakeWindows10Theme<CQVTCommandBarsVisualStudio2015Theme>(16);
    ASSERT_TRUE(pTheme);
    CQVTStatusBarThemeNativeWindows10* pStatusBar = Windows10StatusBar(pTheme.get());
    CQVTFrameThemeVisualStudio2015* pFrame =
        DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2015, pTheme->GetFramePaintManager());
    ASSERT_TRUE(pStatusBar && pFrame);
    const COLORREF clrKeyBack = RGB(43, 87, 154);
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());

    ambient.SetColor(RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(RGB(10, 20, 30), pFrame->GetAccentColor());

    // A colour of the application's own stays through ambient changes.
    pTheme->SetAccentColor(RGB(200, 0, 0));
    ambient.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(200, 0, 0), pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(RGB(200, 0, 0), pFrame->GetAccentColor());
    pTheme->RefreshMetrics();
    EXPECT_EQ(RGB(200, 0, 0), pStatusBar->m_clrBackground.GetValue()) << "a refresh keeps it too";

    // -1: back to the keys, and the next ambient change is followed again.
    pTheme->SetAccentColor(kWindows10None);
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());
    ambient.SetColor(RGB(7, 8, 9));
    EXPECT_EQ(RGB(7, 8, 9), pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(RGB(7, 8, 9), pFrame->GetAccentColor());

    // Values that are not numbers, or empty, give the keys' colours.
    ambient.Set(COleVariant(_T("green")));
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());
    EXPECT_EQ(RGB(43, 87, 154), pFrame->GetAccentColor());
    ambient.SetColor(RGB(7, 8, 9));
    COleVariant empty;
    ambient.Set(empty);
    EXPECT_EQ(clrKeyBack, pStatusBar->m_clrBackground.GetValue());
    ambient.Set(COleVariant(_T("66051")));  // a number in a string is a number
    EXPECT_EQ(RGB(3, 2, 1), pStatusBar->m_clrBackground.GetValue());
}

// The Windows 10 frame with the system accent turned on or off.
class Windows10FrameWithAccent : public CQVTFrameThemeNativeWindows10
{
public:
    Windows10FrameWithAccent(CQVTPaintManager* pPaintManager, BOOL bAccent)
        : CQVTFrameThemeNativeWindows10(pPaintManager), m_bAccent(bAccent)
    {
    }
    BOOL HasSystemAccent() const override { return m_bAccent; }
    BOOL m_bAccent;
};

TEST(Windows10Theme, FrameTakesTheSystemAccentAndGreysItsGlowWhenInactive)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    std::unique_ptr<CQVTCommandBarsNativeWindows10Theme> pTheme =
        MakeWindows10Theme<CQVTCommandBarsNativeWindows10Theme>(17);
    ASSERT_TRUE(pTheme);
    CQVTApplication* pApplication = QVTApplication();
    const COleVariant previous = pApplication->GetAmbientProperty(0);
    pApplication->GetAmbientProperty(0) = COleVariant(static_cast<long>(RGB(0, 120, 215)), VT_I4);
    for (BOOL bAccent : {TRUE, FALSE})
    {
        Windows10FrameWithAccent frame(pTheme.get(), bAccent);
        frame.RefreshMetrics();
        EXPECT_EQ(bAccent ? RGB(0, 120, 215) : RGB(43, 87, 154), frame.m_clrFrameBorderActive.GetValue());
        EXPECT_EQ(bAccent ? RGB(0, 120, 215) : RGB(255, 255, 255),
                  frame.m_clrCaptionBackgroundActive.GetValue());
        EXPECT_EQ(bAccent ? RGB(255, 255, 255) : RGB(68, 68, 68), frame.m_clrCaptionTextActive.GetValue())
            << "white reads on the dark accent";
        EXPECT_EQ(bAccent ? RGB(255, 255, 255) : RGB(119, 119, 119),
                  frame.m_csCaptionButtonActive.m_clrFill.GetValue());
        EXPECT_EQ(RGB(131, 131, 131), frame.m_clrFrameBorderInactive.GetValue()) << "inactive keeps its key";

        // An accent of the application's own wins over the system's.
        frame.SetAccentColor(RGB(9, 9, 9));
        frame.RefreshMetrics();
        EXPECT_EQ(RGB(9, 9, 9), frame.GetAccentColor());

        frame.OnFrameActivate(FALSE, nullptr, nullptr);
        EXPECT_EQ(RGB(48, 48, 48), frame.GetShadowColor());
        frame.OnFrameActivate(TRUE, nullptr, nullptr);
        EXPECT_EQ(RGB(0, 122, 204), frame.GetShadowColor());
    }
    // A light accent takes black text.
    pApplication->GetAmbientProperty(0) = COleVariant(static_cast<long>(RGB(250, 240, 200)), VT_I4);
    Windows10FrameWithAccent light(pTheme.get(), TRUE);
    light.RefreshMetrics();
    EXPECT_EQ(RGB(0, 0, 0), light.m_clrCaptionTextActive.GetValue());
    pApplication->GetAmbientProperty(0) = previous;
}

TEST(Windows10Theme, SplitButtonLineShowsOnlyOnAHotCheckedButton)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    std::unique_ptr<CQVTCommandBarsNativeWindows10Theme> pTheme =
        MakeWindows10Theme<CQVTCommandBarsNativeWindows10Theme>(17);
    ASSERT_TRUE(pTheme);
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), _T("Host"), WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    CTestBar* pBar = new CTestBar();
    pBar->m_pParentWnd = &host;
    ASSERT_TRUE(pBar->Create(qvtBarTop));
    CQVTControl* pSplit = pBar->GetControls()->AddByType(qvtControlSplitButtonPopup, 300);
    const CRect rc(0, 0, 60, 24);
    pSplit->SetRect(rc);
    pSplit->OnSetSelected(TRUE);
    ASSERT_TRUE(pSplit->GetSelected());
    ASSERT_TRUE(pSplit->GetEnabled());
    ASSERT_EQ(qvtBarTypeNormal, pBar->GetType());
    const int xLine = rc.right - pTheme->GetSplitDropDownWidth() - 1;
    const COLORREF clrLine = RGB(163, 189, 227);
    for (int nChecked : {0, 1})
    {
        pSplit->SetChecked(nChecked);
        DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        pTheme->DrawSplitButtonFrame(&canvas.dc, pSplit, rc);
        int nLine = 0;
        for (int y = 0; y < rc.Height(); ++y)
            nLine += canvas.At(xLine, y) == clrLine;
        EXPECT_EQ(nChecked ? rc.Height() : 0, nLine) << "checked " << nChecked;
        EXPECT_EQ(RGB(213, 225, 242), canvas.At(xLine - 2, rc.Height() / 2)) << "the face " << nChecked;
    }
    // Not hot: no line even when checked.
    pSplit->OnSetSelected(FALSE);
    DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
    pTheme->DrawSplitButtonFrame(&canvas.dc, pSplit, rc);
    EXPECT_NE(clrLine, canvas.At(xLine, rc.Height() / 2));
    pBar->InternalRelease();
    host.DestroyWindow();
}

// A combo box whose open state the test sets without opening a popup.
class CWindows10Combo : public CQVTControlComboBox
{
public:
    void SetDropped(BOOL bDropped) { m_bPopuped = bDropped; }
};

TEST(Windows10Theme, ComboBoxTakesTheComboBoxSetOfItsState)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    std::unique_ptr<CQVTCommandBarsNativeWindows10Theme> pTheme =
        MakeWindows10Theme<CQVTCommandBarsNativeWindows10Theme>(17);
    ASSERT_TRUE(pTheme);
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), _T("Host"), WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    CTestBar* pBar = new CTestBar();
    pBar->m_pParentWnd = &host;
    ASSERT_TRUE(pBar->Create(qvtBarTop));
    CWindows10Combo* pCombo = new CWindows10Combo();
    ASSERT_TRUE(pBar->GetControls()->Add(pCombo, 400));
    const CRect rc(0, 0, 120, 22);
    pCombo->SetThumbWidth(16);
    pCombo->SetRect(rc);
    ASSERT_EQ(0, pCombo->GetLabelWidth());
    const int xLine = rc.right - pCombo->GetThumbWidth() + 1;

    const struct
    {
        const char* pszState;
        BOOL bEnabled, bSelected, bDropped;
        COLORREF clrBorder, clrDropDownBack, clrDropDownLine, clrMarker;
    } cases[] = {
        {"normal", TRUE, FALSE, FALSE, RGB(171, 171, 171), RGB(255, 255, 255), RGB(255, 255, 255),
         RGB(119, 119, 119)},
        {"hot", TRUE, TRUE, FALSE, RGB(163, 189, 227), RGB(213, 225, 242), RGB(163, 189, 227),
         RGB(68, 68, 68)},
        {"dropped", TRUE, TRUE, TRUE, RGB(163, 189, 227), RGB(163, 189, 227), RGB(163, 189, 227),
         RGB(68, 68, 68)},
        // Disabled: no line between the field and the button.
        {"disabled", FALSE, FALSE, FALSE, RGB(225, 225, 225), RGB(253, 253, 253), RGB(253, 253, 253),
         RGB(198, 198, 198)},
    };
    for (const auto& c : cases)
    {
        pCombo->SetEnabled(c.bEnabled);
        pCombo->OnSetSelected(c.bSelected);
        pCombo->SetDropped(c.bDropped);
        DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        pTheme->DrawControlComboBox(&canvas.dc, pCombo, TRUE);
        EXPECT_EQ(c.clrBorder, canvas.At(0, 11)) << c.pszState << " border";
        EXPECT_EQ(c.clrBorder, canvas.At(60, rc.Height() - 1)) << c.pszState << " border";
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(2, 11)) << c.pszState << " field";
        EXPECT_EQ(c.clrDropDownBack, canvas.At(rc.right - 3, 2)) << c.pszState << " button";
        EXPECT_EQ(c.clrDropDownLine, canvas.At(xLine, 11)) << c.pszState << " line";
        int nMarker = 0;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = xLine + 1; x < rc.right - 1; ++x)
                nMarker += canvas.At(x, y) == c.clrMarker;
        EXPECT_GT(nMarker, 2) << c.pszState << " marker";
    }
    pCombo->SetDropped(FALSE);
    pBar->InternalRelease();
    host.DestroyWindow();
}

}  // namespace
