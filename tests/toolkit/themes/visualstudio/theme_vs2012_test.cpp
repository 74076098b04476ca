// The Visual Studio 2012 theme made by the factory for ids 13 to 15: light
// or dark colour sets copied into the colour table, the edit colours only in
// the dark look, its element paint managers, control faces by state drawn on
// DIBs (the red face of bar type 4 among them), and the dotted gripper.
#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/visualstudio/QVTCommandBarsVisualStudio2012Theme.h"
#include "toolkit/themes/visualstudio/QVTFrameThemeVisualStudio2012.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2012.h"

namespace {

using ThemeTest::X;
using ThemeTest::Y;

std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme> MakeVisualStudio2012(int nTheme)
{
    CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(nTheme);
    CQVTCommandBarsVisualStudio2012Theme* pVisualStudio =
        DYNAMIC_DOWNCAST(CQVTCommandBarsVisualStudio2012Theme, pTheme);
    if (!pVisualStudio)
        delete pTheme;
    return std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme>(pVisualStudio);
}

TEST(VisualStudio2012Theme, IdsThirteenToFifteenPickLightOrDarkAndAllReportThirteen)
{
    // A module without the style archives (this program carries them).
    QVTResourceImages()->SetModule(::GetModuleHandleW(u"user32.dll"), nullptr);
    const COLORREF kNone = CQVTPaintManagerColor::noColor;
    for (int nTheme : {13, 14, 15})
    {
        std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme> pTheme = MakeVisualStudio2012(nTheme);
        ASSERT_TRUE(pTheme) << nTheme;
        const BOOL bDark = nTheme == 15;
        EXPECT_EQ(13, pTheme->GetThemeId()) << nTheme;
        EXPECT_TRUE(pTheme->HasResourceLook());
        EXPECT_EQ(bDark, pTheme->IsDark()) << nTheme;
        EXPECT_TRUE(pTheme->m_bBoldCheckMarks);

        // The set's entries reach the colour table.
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242), pTheme->GetColor(12)) << nTheme;
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242), pTheme->GetColor(30)) << nTheme;
        EXPECT_EQ(bDark ? RGB(241, 241, 241) : RGB(30, 30, 30), pTheme->GetColor(46)) << nTheme;
        EXPECT_EQ(bDark ? RGB(1, 120, 208) : RGB(0, 122, 204), pTheme->GetColor(33)) << nTheme;
        EXPECT_EQ(bDark ? RGB(51, 51, 55) : RGB(252, 252, 252), pTheme->GetColor(5)) << nTheme;
        EXPECT_EQ(bDark ? RGB(67, 67, 70) : RGB(219, 221, 230), pTheme->GetColor(53)) << nTheme;

        // The dark look sets the edit colours; the light one leaves them unset.
        EXPECT_EQ(bDark ? RGB(255, 255, 255) : kNone, pTheme->m_clrEditText.GetValue()) << nTheme;
        EXPECT_EQ(bDark ? RGB(153, 153, 153) : kNone, pTheme->m_clrEditTextDisabled.GetValue()) << nTheme;
        EXPECT_EQ(bDark ? RGB(255, 255, 255) : kNone, pTheme->m_clrEditTextHighlight.GetValue()) << nTheme;
        EXPECT_EQ(kNone, (*pTheme->GetColorSet())[19].GetValue());
        EXPECT_EQ(kNone, (*pTheme->GetColorSet())[20].GetValue());

        // Its elements: the frame of its variant keeps that variant's caption
        // without the style archive, which this program does not carry.
        CQVTFrameThemeVisualStudio2012* pFrame = pTheme->GetFrameTheme();
        ASSERT_TRUE(pFrame);
        EXPECT_EQ(bDark, pFrame->IsKindOf(RUNTIME_CLASS(CQVTFrameThemeVisualStudio2012Dark))) << nTheme;
        EXPECT_FALSE(pFrame->IsStyleFound());
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242),
                  pFrame->m_clrCaptionBackgroundActive.GetValue());
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242),
                  pFrame->m_clrCaptionBackgroundInactive.GetValue());
        EXPECT_EQ(CSize(X(34), Y(26)), pFrame->GetCaptionButtonSize());
        EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTStatusBarThemeVisualStudio2012, pTheme->GetStatusBarPaintManager()));
        EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeVisualStudio2012, pTheme->GetScrollBarPaintManager()));

        // A refresh keeps the look.
        pTheme->RefreshMetrics();
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242), pTheme->GetColor(12)) << nTheme;
    }
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("Nowhere.ini"));
}

// Bar edits and combo fields write in the look's edit colours: the dark
// look's own on its dark fields, the light look the colour table's.
TEST(VisualStudio2012Theme, EditFieldsWriteInTheLooksEditColours)
{
    const COLORREF clrField = RGB(1, 2, 3);
    for (int nTheme : {14, 15})
    {
        SCOPED_TRACE(nTheme);
        CQVTPaintManager::SetTheme(nTheme);
        const BOOL bDark = nTheme == 15;
        CQVTControlComboBox* pCombo = new CQVTControlComboBox();
        pCombo->SetEditHint(_T("MMMM"));
        for (BOOL bEnabled : {TRUE, FALSE})
        {
            pCombo->SetEnabled(bEnabled);
            CHARFORMAT2W cf;
            pCombo->GetEditCharFormat(cf);
            const COLORREF clrText = bDark ? (bEnabled ? RGB(255, 255, 255) : RGB(153, 153, 153))
                                           : GetColorByIndex(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
            EXPECT_EQ(clrText, cf.crTextColor) << bEnabled;
        }
        // The drop-down list's field shows its hint in the disabled colour.
        pCombo->SetEnabled(TRUE);
        DibCanvas canvas(X(80), Y(24), clrField);
        pCombo->DrawEditText(&canvas.dc, CRect(0, 0, X(80), Y(24)));
        const COLORREF clrHint = bDark ? RGB(153, 153, 153) : QVTPaintManager()->GetColor(COLOR_GRAYTEXT);
        EXPECT_GT(canvas.CountOf(clrHint), 0);
        pCombo->InternalRelease();
    }
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
}

// A button whose selection the test sets.
class CVisualStudio2012StateButton : public CQVTControlButton
{
public:
    int GetSelected() const override { return m_nSelected; }
    int m_nSelected = 0;
};

// Glyphs take the entry of their control's state, a disabled control's
// entry 24 whatever else holds; a disabled split button's arrow shows it.
TEST(VisualStudio2012Theme, GlyphsTakeTheEntryOfTheirControlsState)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    for (int nTheme : {14, 15})
    {
        SCOPED_TRACE(nTheme);
        std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme> pTheme = MakeVisualStudio2012(nTheme);
        ASSERT_TRUE(pTheme);
        const BOOL bDark = nTheme == 15;
        const COLORREF clrDisabled = bDark ? RGB(67, 67, 70) : RGB(198, 198, 198);
        const COLORREF clrEnabled = bDark ? RGB(153, 153, 153) : RGB(113, 113, 113);
        struct
        {
            BOOL bEnabled;
            int nSelected, nPressed, nStyle;
            COLORREF clr;
        } const cases[] = {
            {FALSE, 0, 0, 0, clrDisabled},       {FALSE, 1, 1, 0, clrDisabled},
            {TRUE, 0, 0, 0, clrEnabled},         {TRUE, 1, 0, 0, RGB(0, 122, 204)},
            {TRUE, 1, 1, 0, RGB(255, 255, 255)}, {TRUE, 1, 1, qvtButtonIconAndCaptionBelow, RGB(0, 122, 204)},
        };
        CVisualStudio2012StateButton* pButton = new CVisualStudio2012StateButton();
        for (const auto& c : cases)
        {
            SCOPED_TRACE(testing::Message() << c.bEnabled << c.nSelected << c.nPressed << c.nStyle);
            pButton->SetEnabled(c.bEnabled);
            pButton->m_nSelected = c.nSelected;
            pButton->SetPressed(c.nPressed);
            pButton->SetStyle(c.nStyle);
            EXPECT_EQ(c.clr, pTheme->GetControlGlyphColor(pButton));
        }
        // The arrow of a disabled drop-down in the disabled entry alone.
        pButton->SetEnabled(FALSE);
        pButton->m_nSelected = 0;
        pButton->SetPressed(0);
        pButton->SetStyle(0);
        DibCanvas canvas(X(20), Y(20), RGB(1, 2, 3));
        pTheme->DrawDropDownGlyph(&canvas.dc, pButton, CPoint(X(10), Y(10)), FALSE, FALSE, FALSE, FALSE);
        EXPECT_GT(canvas.CountOf(clrDisabled), 0);
        EXPECT_EQ(0, canvas.CountOf(clrEnabled));
        pButton->InternalRelease();
    }
}

TEST(VisualStudio2012Theme, FrameShadowGreysOutWhenTheFrameIsDeactivated)
{
    std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme> pTheme = MakeVisualStudio2012(15);
    ASSERT_TRUE(pTheme);
    CQVTFrameThemeVisualStudio2012* pFrame = pTheme->GetFrameTheme();
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), _T("Frame"), WS_POPUP | WS_THICKFRAME,
                               CRect(20, 20, 220, 160), nullptr, 0));
    CQVTFrameShadow* pShadow = pFrame->CreateShadow(&frame);
    ASSERT_TRUE(pShadow) << "the glow is made";
    EXPECT_EQ(RGB(0, 122, 204), pShadow->GetShadowColor());
    EXPECT_EQ(X(5), pShadow->GetOuterSize());
    EXPECT_EQ(X(3), pShadow->GetInnerSize());
    pFrame->OnFrameActivate(FALSE, &frame, pShadow);
    EXPECT_EQ(RGB(48, 48, 48), pFrame->GetShadowColor());
    EXPECT_EQ(RGB(48, 48, 48), pShadow->GetShadowColor());
    pFrame->OnFrameActivate(TRUE, &frame, pShadow);
    EXPECT_EQ(RGB(0, 122, 204), pShadow->GetShadowColor());
    CQVTFrameShadowManager::GetInstance()->DisableShadow(&frame);
    frame.DestroyWindow();
}

// The face of one state on a DIB: its border at the corner, its fill inside.
struct VisualStudio2012Face
{
    COLORREF clrBorder;
    COLORREF clrFill;
};

VisualStudio2012Face DrawFace(CQVTPaintManager* pTheme, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                              BOOL bChecked, BOOL bPopuped, int barType)
{
    DibCanvas canvas(40, 30, RGB(1, 2, 3));
    pTheme->DrawRectangle(&canvas.dc, CRect(0, 0, 40, 30), bSelected, bPressed, bEnabled, bChecked, bPopuped,
                          barType, qvtBarTop);
    return {canvas.At(0, 0), canvas.At(20, 15)};
}

TEST(VisualStudio2012Theme, FacesByStateDrawLightOrDark)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    for (int nTheme : {14, 15})
    {
        std::unique_ptr<CQVTCommandBarsVisualStudio2012Theme> pTheme = MakeVisualStudio2012(nTheme);
        ASSERT_TRUE(pTheme);
        const BOOL bDark = nTheme == 15;
        const int normal = qvtBarTypeNormal;
        VisualStudio2012Face face = DrawFace(pTheme.get(), TRUE, FALSE, TRUE, FALSE, FALSE, normal);
        EXPECT_EQ(bDark ? RGB(62, 62, 64) : RGB(254, 254, 254), face.clrBorder) << "hot " << nTheme;
        EXPECT_EQ(bDark ? RGB(62, 62, 64) : RGB(254, 254, 254), face.clrFill) << "hot " << nTheme;
        face = DrawFace(pTheme.get(), TRUE, TRUE, TRUE, FALSE, FALSE, normal);
        EXPECT_EQ(RGB(0, 122, 204), face.clrBorder) << "pushed " << nTheme;
        EXPECT_EQ(bDark ? RGB(1, 120, 208) : RGB(0, 122, 204), face.clrFill) << "pushed " << nTheme;
        face = DrawFace(pTheme.get(), FALSE, FALSE, TRUE, TRUE, FALSE, normal);
        EXPECT_EQ(RGB(50, 153, 255), face.clrBorder) << "checked " << nTheme;
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(240, 239, 241), face.clrFill) << "checked " << nTheme;
        face = DrawFace(pTheme.get(), TRUE, FALSE, TRUE, TRUE, FALSE, normal);
        EXPECT_EQ(RGB(50, 153, 255), face.clrBorder) << "checked hot " << nTheme;
        EXPECT_EQ(bDark ? RGB(62, 62, 64) : RGB(254, 254, 254), face.clrFill) << "checked hot " << nTheme;
        face = DrawFace(pTheme.get(), FALSE, FALSE, TRUE, FALSE, TRUE, normal);
        EXPECT_EQ(bDark ? RGB(51, 51, 55) : RGB(204, 206, 219), face.clrBorder) << "popped up " << nTheme;
        EXPECT_EQ(bDark ? RGB(27, 27, 28) : RGB(231, 232, 236), face.clrFill) << "popped up " << nTheme;

        // Unchecked controls on bars of type 4 take pure red, as the look asks.
        face = DrawFace(pTheme.get(), FALSE, FALSE, TRUE, FALSE, FALSE, 4);
        EXPECT_EQ(RGB(255, 0, 0), face.clrBorder) << nTheme;
        EXPECT_EQ(RGB(255, 0, 0), face.clrFill) << nTheme;

        // A checked popup item: 2 px in, framed twice, then filled.
        DibCanvas canvas(40, 30, RGB(1, 2, 3));
        pTheme->DrawRectangle(&canvas.dc, CRect(0, 0, 40, 30), FALSE, FALSE, TRUE, TRUE, FALSE,
                              qvtBarTypePopup, qvtBarPopup);
        const COLORREF clrFrame = bDark ? RGB(153, 153, 153) : RGB(113, 113, 113);
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(X(2) - 1, 15)) << nTheme;
        EXPECT_EQ(clrFrame, canvas.At(X(2), 15)) << nTheme;
        EXPECT_EQ(clrFrame, canvas.At(X(2) + 1, 15)) << nTheme;
        EXPECT_EQ(bDark ? RGB(45, 45, 48) : RGB(239, 239, 242), canvas.At(X(2) + 2, 15)) << nTheme;
        // Checked and pressed only draws nothing.
        canvas.Clear(RGB(1, 2, 3));
        pTheme->DrawRectangle(&canvas.dc, CRect(0, 0, 40, 30), FALSE, TRUE, TRUE, TRUE, FALSE,
                              qvtBarTypePopup, qvtBarPopup);
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(20, 15)) << nTheme;
    }
}

// The Windows 10 theme draws the same gripper in its own colour.
TEST(VisualStudio2012Theme, DockedBarsShowThreeDottedLinesAsInWindows10)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), _T("Host"), WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    CTestBar* pBar = new CTestBar();
    pBar->m_pParentWnd = &host;
    ASSERT_TRUE(pBar->Create(qvtBarTop));
    pBar->SetBarStyle(pBar->GetBarStyle() | QVT_CBRS_GRIPPER);
    pBar->SetWindowPos(nullptr, 0, 0, X(200), Y(30), SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rc;
    pBar->GetClientRect(&rc);

    const struct
    {
        int nTheme;
        COLORREF clrDot;
    } themes[] = {{15, RGB(70, 70, 74)}, {17, RGB(166, 172, 181)}};
    for (const auto& theme : themes)
    {
        std::unique_ptr<CQVTPaintManager> pTheme(CQVTPaintManager::CreateTheme(theme.nTheme));
        EXPECT_EQ(CSize(X(20), 0), pTheme->DrawCommandBarGripper(nullptr, pBar, FALSE)) << theme.nTheme;
        DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        pTheme->DrawCommandBarGripper(&canvas.dc, pBar, TRUE);
        const COLORREF clrDot = theme.clrDot;
        struct
        {
            int x;
            int yFirst;
            int yEnd;
        } lines[] = {{10, 5, rc.Height() - Y(3)}, {12, 7, rc.Height() - Y(5)}, {14, 5, rc.Height() - Y(3)}};
        int nDots = 0;
        for (const auto& line : lines)
        {
            EXPECT_EQ(clrDot, canvas.At(X(line.x), Y(line.yFirst))) << theme.nTheme << " " << line.x;
            EXPECT_EQ(RGB(1, 2, 3), canvas.At(X(line.x), Y(line.yFirst) + Y(1)))
                << theme.nTheme << " " << line.x;
            EXPECT_EQ(clrDot, canvas.At(X(line.x), Y(line.yFirst) + Y(4))) << theme.nTheme << " " << line.x;
            EXPECT_NE(clrDot, canvas.At(X(line.x), Y(line.yFirst) - 1)) << theme.nTheme << " " << line.x;
            int nLast = -1;
            for (int y = 0; y < rc.Height(); ++y)
                if (canvas.At(X(line.x), y) == clrDot)
                {
                    ++nDots;
                    nLast = y;
                }
            EXPECT_LT(nLast, line.yEnd) << theme.nTheme << " " << line.x;
            EXPECT_GE(nLast + Y(4), line.yEnd) << "dots go on to the end " << theme.nTheme << " " << line.x;
        }
        EXPECT_GT(nDots, 6);
        int nAll = 0;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = 0; x < rc.Width(); ++x)
                nAll += canvas.At(x, y) == clrDot;
        EXPECT_EQ(nDots * X(1), nAll) << "nothing but the three lines " << theme.nTheme;
    }
    pBar->InternalRelease();
    host.DestroyWindow();
}

}  // namespace
