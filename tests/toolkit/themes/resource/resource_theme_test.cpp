// The resource theme with each colour scheme: its colour table and
// gradients are the INI's, a hot button on a shown toolbar shows the
// scheme's highlight, another set recolours the shown bars at once, a
// module without the INI draws as the gradient theme, the MDI workspace and
// the menu-bar captions (also on a real menu bar of a site), a theme change
// that empties the shared image cache, and schemes broken in every way. The
// Office 2007 system theme as the factory makes it.
#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/ribbon/paint/QVTRibbonThemeResource.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/color_near.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"
#include "toolkit/themes/frame/QVTRibbonOffice2007FrameTheme.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/elements/QVTSliderPaintManager.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"
#include "tests/toolkit/themes/open_menu.h"
#include "tests/toolkit/themes/theme_test_helpers.h"

namespace {

using ThemeTest::X;
using ThemeTest::Y;

const COLORREF kNoColor = CQVTPaintManagerColor::noColor;

COLORREF Ini(LPCTSTR lpszSection, LPCTSTR lpszKey)
{
    return QVTResourceImages()->GetIniColor(lpszSection, lpszKey, kNoColor);
}

class FixedProgress : public CQVTProgressBase
{
public:
    CRect GetProgressRect() override { return CRect(4, 4, 124, 20); }
    void RedrawProgress() override {}
    CQVTProgressPaintManager* GetProgressPaintManager() override { return nullptr; }
};

// What each element and control face of a theme draws, side by side on one
// canvas, so that two themes can be compared pixel for pixel.
void DrawSampler(CQVTPaintManager* pTheme, DibCanvas& canvas)
{
    CDC* pDC = &canvas.dc;
    int x = 2;
    for (int nState = 0; nState < 6; ++nState, x += 34)
        pTheme->DrawRectangle(pDC, CRect(x, 2, x + 30, 24), nState == 1 || nState == 3, nState == 2, TRUE,
                              nState >= 3, nState == 5, qvtBarTypeNormal, qvtBarTop);
    FixedProgress progress;
    progress.SetPos(40);
    pTheme->GetProgressPaintManager()->DrawProgress(pDC, &progress);

    ScrollBaseStub scroll(pTheme->GetScrollBarPaintManager());
    scroll.Set(CRect(210, 2, 227, 120), TRUE, 0, 99, 10, 30);
    scroll.SetHotPart(qvtScrollHitDownArrow);
    pTheme->GetScrollBarPaintManager()->DrawScrollBar(pDC, &scroll);

    ScrollBaseStub slider(pTheme->GetSliderPaintManager());
    slider.Set(CRect(4, 130, 200, 150), FALSE, 0, 100, 0, 50);
    pTheme->GetSliderPaintManager()->DrawScrollBar(pDC, &slider);

    CQVTMessageBar bar;
    bar.SetClientRect(CRect(4, 160, 240, 200));
    CQVTMessageBarButton* pButton = bar.AddButton(1, CRect(150, 170, 200, 190));
    pButton->m_bHot = TRUE;
    bar.AddButton(SC_CLOSE, CRect(210, 170, 228, 188));
    CQVTMessageBarPaintManager* pMessage = pTheme->GetMessageBarPaintManager();
    pMessage->FillMessageBar(pDC, &bar);
    for (int i = 0; i < bar.GetButtonCount(); ++i)
        pMessage->DrawMessageBarButton(pDC, bar.GetButton(i));
}

int DiffersIn(const DibCanvas& a, const DibCanvas& b, const CRect& rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

}  // namespace

TEST(ResourceTheme, ColourTableAndGradientsAreTheIniValuesOfEachScheme)
{
    struct Entry
    {
        int nIndex;
        LPCTSTR lpszSection;
        LPCTSTR lpszKey;
    };
    const Entry entries[] = {
        {12, _T("Workspace"), _T("AppWorkspace")},      {30, _T("Toolbar"), _T("ToolbarFace")},
        {31, _T("Window"), _T("HighlightSelected")},    {32, _T("Window"), _T("HighlightSelectedBorder")},
        {33, _T("Window"), _T("HighlightPressed")},     {50, _T("Window"), _T("HighlightPressedBorder")},
        {36, _T("Window"), _T("HighlightChecked")},     {37, _T("Window"), _T("HighlightCheckedBorder")},
        {38, _T("Toolbar"), _T("ToolbarGripper")},      {39, _T("Toolbar"), _T("ToolbarSeparator")},
        {40, _T("Toolbar"), _T("ControlDisabledIcon")}, {43, _T("Toolbar"), _T("MenuPopupBorder")},
        {51, _T("Window"), _T("ButtonFace")},           {52, _T("Toolbar"), _T("ToolbarFaceShadow")},
        {53, _T("Toolbar"), _T("ControlEditBorder")},   {54, _T("Window"), _T("WindowFrame")},
        {56, _T("Toolbar"), _T("ControlLabel")},        {61, _T("Toolbar"), _T("FloatingBarBorder")}};
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        ASSERT_NE(nullptr, pTheme);
        ASSERT_TRUE(QVTResourceImages()->IsValid());
        for (const Entry& e : entries)
            EXPECT_EQ(Ini(e.lpszSection, e.lpszKey), pTheme->GetColor(e.nIndex)) << e.nIndex;
        EXPECT_EQ(RGB(0xF6, 0xF6, 0xF6), pTheme->GetColor(41));
        for (int nIndex : {44, 45, 46, 47})
            EXPECT_EQ(RGB(0, 0, 0), pTheme->GetColor(nIndex));
        for (int nIndex : {35, 58, 60})
            EXPECT_EQ(RGB(0x8D, 0x8D, 0x8D), pTheme->GetColor(nIndex));

        EXPECT_EQ(Ini(_T("Window"), _T("HighlightSelectedLight")), pTheme->m_grcSelected.clrLight.GetValue());
        EXPECT_EQ(Ini(_T("Window"), _T("HighlightSelectedDark")), pTheme->m_grcSelected.clrDark.GetValue());
        EXPECT_EQ(Ini(_T("Toolbar"), _T("ToolbarFaceLight")), pTheme->m_grcToolBar.clrLight.GetValue());
        EXPECT_EQ(0.75f, pTheme->m_grcToolBar.fGradientFactor);
        EXPECT_EQ(Ini(_T("Toolbar"), _T("DockBarFace")), pTheme->m_grcDockBar.clrLight.GetValue());
        EXPECT_EQ(Ini(_T("Toolbar"), _T("DockBarFace")), pTheme->m_grcDockBar.clrDark.GetValue());
        EXPECT_EQ(Ini(_T("Toolbar"), _T("FloatingBarGripper")), pTheme->m_clrShadow.GetValue());
        EXPECT_EQ(Ini(_T("Toolbar"), _T("ControlDisabledIconLight")), pTheme->m_grcFace.clrLight.GetValue());
        EXPECT_EQ(Ini(_T("StatusBar"), _T("StatusBarFaceBottomLight")),
                  pTheme->m_grcStatusBarBottom.clrLight.GetValue());
        EXPECT_EQ(Ini(_T("Workspace"), _T("WorkspaceClientMiddle")), pTheme->m_clrWorkspace[1].GetValue());
        EXPECT_EQ(pTheme->m_grcPopuped.clrDark.GetValue(), pTheme->m_grcPopupedSecond.clrDark.GetValue());
        EXPECT_EQ(0u, pTheme->GetShadowManager()->GetShadowColor());
        EXPECT_TRUE(pTheme->IsSchemeColors());
        EXPECT_EQ(Y(40), pTheme->GetMessageBarPaintManager()->GetMessageBarHeight());
        EXPECT_EQ(CSize(X(90), Y(24)), pTheme->GetMessageBarPaintManager()->GetButtonSize(Y(40)));
    }
}

TEST(ResourceTheme, WithoutItsIniTheThemeDrawsAsTheGradientTheme)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Nowhere.ini"));
    ASSERT_NE(nullptr, pTheme);
    ASSERT_FALSE(QVTResourceImages()->IsValid());
    EXPECT_TRUE(pTheme->HasResourceLook());
    EXPECT_EQ(qvtThemeResource, pTheme->GetThemeId());

    std::unique_ptr<CQVTPaintManager, void (*)(CQVTPaintManager*)> gradient(
        CQVTPaintManager::CreateTheme(qvtThemeOffice2003), [](CQVTPaintManager* p) { p->InternalRelease(); });
    gradient->m_nSystemTheme = 0;
    gradient->RefreshMetrics();
    DibCanvas drawn(250, 210, RGB(1, 2, 3)), expected(250, 210, RGB(1, 2, 3));
    DrawSampler(pTheme, drawn);
    DrawSampler(gradient.get(), expected);
    EXPECT_EQ(0, DiffersIn(drawn, expected, CRect(0, 0, 250, 210)));

    // The same set again: the pictures of the theme change.
    pTheme->SetImageHandle(::GetModuleHandleW(nullptr), _T("Office2007Blue.ini"));
    DibCanvas blue(250, 210, RGB(1, 2, 3));
    DrawSampler(pTheme, blue);
    EXPECT_GT(DiffersIn(blue, expected, CRect(0, 0, 250, 210)), 1000);
}

TEST(ResourceTheme, MenuBarCaptionsAndTheWorkspace)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    ASSERT_NE(nullptr, pTheme);
    pTheme->m_clrMenuBarText.SetCustomValue(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), pTheme->GetRectangleTextColor(0, 0, TRUE, 0, 0, qvtBarTypeMenuBar, qvtBarTop));
    EXPECT_EQ(pTheme->GetColor(45),
              pTheme->GetRectangleTextColor(1, 0, TRUE, 0, 0, qvtBarTypeMenuBar, qvtBarTop));
    EXPECT_EQ(pTheme->GetColor(60),
              pTheme->GetRectangleTextColor(0, 0, FALSE, 0, 0, qvtBarTypeMenuBar, qvtBarTop));
    EXPECT_EQ(pTheme->GetColor(46),
              pTheme->GetRectangleTextColor(0, 0, TRUE, 0, 0, qvtBarTypeNormal, qvtBarTop));
    pTheme->m_clrMenuBarText.SetDefaultValue();

    // The corner image at the top left, then two gradients down the rest.
    DibCanvas canvas(400, 300, RGB(1, 2, 3)), corner(400, 300, RGB(1, 2, 3));
    pTheme->FillWorkspace(&canvas.dc, CRect(0, 0, 400, 300));
    CQVTResourceImage* pCorner = pTheme->LoadImage(_T("WORKSPACETOPLEFT"));
    ASSERT_NE(nullptr, pCorner);
    const CRect rcCorner(0, 0, X(pCorner->GetWidth()), Y(pCorner->GetHeight()));
    pCorner->DrawImage(&corner.dc, rcCorner, pCorner->GetSource(0, 1));
    EXPECT_EQ(0, DiffersIn(canvas, corner, rcCorner));
    EXPECT_EQ(pTheme->m_clrWorkspace[0].GetValue(), canvas.At(399, 2)) << "beside the corner";
    EXPECT_TRUE(NearColor(pTheme->m_clrWorkspace[0], canvas.At(200, rcCorner.bottom), 3));
    const int yThird = rcCorner.bottom + (300 - rcCorner.bottom) / 3;
    EXPECT_TRUE(NearColor(pTheme->m_clrWorkspace[1], canvas.At(200, yThird), 4));
    EXPECT_TRUE(NearColor(pTheme->m_clrWorkspace[2], canvas.At(200, 299), 4));

    // Without the set: the plain workspace colour.
    pTheme->SetImageHandle(::GetModuleHandleW(nullptr), _T("Nowhere.ini"));
    canvas.Clear(RGB(1, 2, 3));
    pTheme->FillWorkspace(&canvas.dc, CRect(0, 0, 400, 300));
    EXPECT_EQ(pTheme->GetColor(COLOR_APPWORKSPACE), canvas.At(10, 10));
    EXPECT_EQ(400 * 300, canvas.CountOf(pTheme->GetColor(COLOR_APPWORKSPACE)));
}

TEST(ResourceTheme, AThemeChangeLeavesNoImageBehindThatTheNewThemeStillUses)
{
    // The old theme empties the shared cache after the new one is installed.
    ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    DibCanvas before(250, 210, RGB(1, 2, 3));
    DrawSampler(QVTPaintManager(), before);
    CQVTResourceImage* pHeld = QVTResourceImages()->LoadFile(_T("PROGRESSCHUNK"));
    ASSERT_NE(nullptr, pHeld);
    pHeld->InternalAddRef();

    CQVTPaintManager::SetTheme(qvtThemeResource);
    DibCanvas after(250, 210, RGB(1, 2, 3));
    DrawSampler(QVTPaintManager(), after);
    EXPECT_EQ(0, DiffersIn(before, after, CRect(0, 0, 250, 210)));
    // What was held with a reference is still whole; the cache has a new copy.
    EXPECT_EQ(16, pHeld->GetWidth());
    EXPECT_NE(pHeld, QVTResourceImages()->LoadFile(_T("PROGRESSCHUNK")));
    pHeld->InternalRelease();
}

TEST(ResourceTheme, BrokenSchemesGiveTheReadersValuesAndDrawNothingOutsideTheirPixels)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("BadScheme.ini"));
    ASSERT_NE(nullptr, pTheme);
    ASSERT_TRUE(QVTResourceImages()->IsValid());
    // Malformed colours are black, "-1" and missing keys no colour, and
    // numbers above 255 keep their low bits.
    EXPECT_EQ(RGB(0, 0, 0), pTheme->GetColor(31));
    EXPECT_EQ(RGB(300 & 255, 0, 511 & 255), pTheme->GetColor(32));
    EXPECT_EQ(RGB(0, 0, 0), pTheme->GetColor(33));
    EXPECT_EQ(kNoColor, pTheme->GetColor(50));
    EXPECT_EQ(kNoColor, pTheme->GetColor(COLOR_APPWORKSPACE));
    EXPECT_EQ(RGB(1, 2, 3), pTheme->GetColor(30));
    EXPECT_EQ(RGB(0, 0, 0), pTheme->m_grcSelected.clrDark.GetValue());
    EXPECT_EQ(kNoColor, pTheme->m_grcToolBar.clrLight.GetValue());
    // A height of 0 and a size of one number keep the message bar's own.
    CQVTMessageBarPaintManager base(pTheme);
    EXPECT_EQ(base.GetMessageBarHeight(), pTheme->GetMessageBarPaintManager()->GetMessageBarHeight());
    EXPECT_EQ(base.GetButtonSize(30), pTheme->GetMessageBarPaintManager()->GetButtonSize(30));

    // Everything drawn stays inside the rectangles it was given.
    const COLORREF clrBack = RGB(7, 8, 9);
    DibCanvas canvas(250, 210, clrBack);
    DrawSampler(pTheme, canvas);
    pTheme->FillWorkspace(&canvas.dc, CRect(230, 195, 248, 208));
    const CRect drawn[] = {CRect(2, 2, 206, 24),    CRect(4, 4, 124, 20),    CRect(210, 2, 227, 120),
                           CRect(4, 130, 200, 150), CRect(4, 160, 240, 200), CRect(230, 195, 248, 208)};
    int nOutside = 0;
    for (int y = 0; y < 210; ++y)
        for (int x = 0; x < 250; ++x)
        {
            BOOL bInside = FALSE;
            for (const CRect& rc : drawn)
                bInside |= rc.PtInRect(CPoint(x, y));
            nOutside += !bInside && canvas.At(x, y) != clrBack;
        }
    EXPECT_EQ(0, nOutside);
    // The images it asked for and lacks are known.
    CStringArray missing;
    QVTResourceImages()->GetMissingImages(missing);
    EXPECT_GT(missing.GetSize(), 0);
}

// One shown window for the bars of this program.
class ResourceBars : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_pHost = new CWnd();
        s_pHost->CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T("Resource theme"), WS_POPUP | WS_VISIBLE,
                          CRect(60, 520, 60 + X(420), 520 + Y(60)), nullptr, 0);
    }
    static void TearDownTestSuite()
    {
        s_pHost->DestroyWindow();
        delete s_pHost;
        s_pHost = nullptr;
    }

protected:
    void SetUp() override
    {
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = s_pHost;
        m_pBar->Create(qvtBarTop);
        for (int i = 0; i < 4; ++i)
        {
            CQVTControl* pButton = m_pBar->GetControls()->AddByType(qvtControlButton, 100 + i);
            pButton->SetCaption(_T("Button"));
            pButton->SetStyle(qvtButtonCaption);
        }
    }
    void TearDown() override
    {
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
    }
    void Paint()
    {
        const CSize sz = m_pBar->Layout(X(400));
        m_pBar->MoveWindow(0, 0, sz.cx, sz.cy);
        m_pBar->Layout(X(400));
        m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    CQVTControl* Button(int i) { return m_pBar->GetControls()->GetAt(i); }

    static CWnd* s_pHost;
    CTestBar* m_pBar = nullptr;
};

CWnd* ResourceBars::s_pHost = nullptr;

TEST_F(ResourceBars, BlueHotButtonsShowTheSchemesHighlightAndAnotherSetRecoloursTheBar)
{
    ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    Button(1)->OnSetSelected(1);
    Paint();
    CDibCapture blue(m_pBar);
    const CRect rc = Button(1)->GetRect();
    EXPECT_EQ(RGB(255, 189, 105), blue.At(rc.left, rc.top));
    EXPECT_EQ(RGB(255, 189, 105), blue.At(rc.right - 1, rc.bottom - 1));
    EXPECT_TRUE(NearColor(RGB(255, 245, 204), blue.At(rc.left + 2, rc.top + 1), 4));
    EXPECT_TRUE(NearColor(RGB(255, 219, 117), blue.At(rc.left + 2, rc.bottom - 2), 8));
    const COLORREF clrShadowBlue = blue.At(blue.Width() / 2, blue.Height() - 1);
    EXPECT_EQ(Ini(_T("Toolbar"), _T("ToolbarFaceShadow")), clrShadowBlue);

    // Another set recolours the shown bar at once.
    QVTPaintManager()->SetImageHandle(::GetModuleHandleW(nullptr), _T("Office2007Black.ini"));
    m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CDibCapture black(m_pBar);
    EXPECT_EQ(Ini(_T("Toolbar"), _T("ToolbarFaceShadow")), black.At(black.Width() / 2, black.Height() - 1));
    EXPECT_NE(clrShadowBlue, black.At(black.Width() / 2, black.Height() - 1));
    int nChanged = 0;
    for (int x = 0; x < blue.Width(); ++x)
        nChanged += blue.At(x, blue.Height() / 2) != black.At(x, blue.Height() / 2);
    EXPECT_GT(nChanged, blue.Width() / 2);
}

// A real site whose menu bar the bars dock at its top.
class ResourceMenuBar : public BarsFrameSuite<ResourceMenuBar>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(60, 660, 60 + X(420), 660 + Y(80))); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, s_pFrame->GetCommandBars()->Add(_T("Menu Bar"), qvtBarTop,
                                                                          RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        UINT nId = 40800;
        for (LPCTSTR lpszCaption : {_T("File"), _T("Edit"), _T("View")})
            m_pMenuBar->GetControls()->Add(new CQVTControlPopup(), nId++)->SetCaption(lpszCaption);
        s_pFrame->GetCommandBars()->RecalcFrameLayout();
        s_pFrame->SetForegroundWindow();
        PumpTranslated(20);
    }
    void TearDown() override
    {
        s_pFrame->ResetBars();
        PumpTranslated(20);
    }
    // Pixels of the colour inside the item, as the screen shows the bar.
    int CaptionPixels(int nItem, COLORREF clr)
    {
        const std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pMenuBar->GetSafeHwnd());
        CRect rcItem = m_pMenuBar->GetControl(nItem)->GetRect();
        CRect rcWindow, rcClient(rcItem);
        m_pMenuBar->GetWindowRect(&rcWindow);
        m_pMenuBar->ClientToScreen(&rcClient);
        rcClient.OffsetRect(-rcWindow.TopLeft());
        return screentest::CountIn(*canvas, rcClient, clr);
    }

    CQVTMenuBar* m_pMenuBar = nullptr;
};

TEST_F(ResourceMenuBar, IdleCaptionsOfARealMenuBarTakeTheSetsMenuBarTextColour)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    ASSERT_NE(nullptr, pTheme);
    // A colour nothing else of the bar is drawn in.
    const COLORREF clrText = RGB(1, 2, 3);
    pTheme->m_clrMenuBarText.SetCustomValue(clrText);
    for (int i = 0; i < m_pMenuBar->GetControlCount(); ++i)
        EXPECT_GT(CaptionPixels(i, clrText), 0) << i;
    // The set's own colour again: none of those pixels are left.
    pTheme->m_clrMenuBarText.SetDefaultValue();
    EXPECT_EQ(0, CaptionPixels(0, clrText));
    EXPECT_GT(CaptionPixels(0, pTheme->m_clrMenuBarText.GetValue()), 0);
}

TEST_F(ResourceMenuBar, AnOpenMenuShowsTheSetsIconColumn)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    ASSERT_NE(nullptr, pTheme);
    // Colours of the column no other part of the menu is drawn in.
    pTheme->m_grcGripper.clrLight.SetCustomValue(RGB(10, 200, 30));
    pTheme->m_grcGripper.clrDark.SetCustomValue(RGB(20, 100, 220));
    CQVTPopupBar* pPopup = ThemeTest::OpenFirstMenu(m_pMenuBar);
    ASSERT_NE(nullptr, pPopup);
    const ThemeTest::MenuColumn column = ThemeTest::ReadMenuColumn(pPopup);
    ASSERT_FALSE(column.filled.empty());
    for (size_t i = 0; i < column.filled.size(); ++i)
        EXPECT_TRUE(NearColor(column.filled[i], column.shown[i], 2)) << i;
    EXPECT_TRUE(NearColor(RGB(10, 200, 30), column.shown[1], 24));
    CQVTCommandBars::ClosePopups();
    pTheme->m_grcGripper.clrLight.SetDefaultValue();
    pTheme->m_grcGripper.clrDark.SetDefaultValue();
    PumpTranslated(20);
}

TEST(Office2007SystemTheme, IsTheFlatThemeWithAMarkupContextAndEachThemeHasItsFrame)
{
    CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(qvtThemeOffice2007System);
    ASSERT_TRUE(pTheme->IsKindOf(RUNTIME_CLASS(CQVTCommandBarsOffice2007SystemTheme)));
    EXPECT_TRUE(pTheme->IsKindOf(RUNTIME_CLASS(CQVTCommandBarsOfficeXPTheme)));
    EXPECT_EQ(qvtThemeOffice2007System, pTheme->GetThemeId());
    EXPECT_NE(nullptr, static_cast<CQVTCommandBarsOffice2007SystemTheme*>(pTheme)->GetMarkupContext());
    // The system theme makes its markup frame with itself; the resource
    // themes draw theirs from the scheme, the ribbon's taking the status bar
    // into the frame; other themes get the markup frame on first request.
    CQVTFramePaintManager* pFrame = pTheme->GetFramePaintManager();
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CQVTFrameThemeOffice2007System)));
    EXPECT_EQ(pTheme, pFrame->GetPaintManager());
    EXPECT_EQ(pFrame, pTheme->GetFramePaintManager());
    // Its ribbon draws from the resource images; the one paint manager lives
    // as long as the theme.
    CQVTRibbonPaintManager* pRibbon = pTheme->GetRibbonPaintManager();
    ASSERT_NE(nullptr, pRibbon);
    EXPECT_EQ(pRibbon, pTheme->GetRibbonPaintManager());
    EXPECT_EQ(pTheme, pRibbon->GetPaintManager());
    pTheme->InternalRelease();

    CQVTPaintManager* pResource = CQVTPaintManager::CreateTheme(qvtThemeResource);
    pFrame = pResource->GetFramePaintManager();
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CQVTRibbonOffice2007FrameTheme)));
    EXPECT_FALSE(pFrame->m_bAllowStatusBarInFrame);
    EXPECT_EQ(pFrame, pResource->GetFramePaintManager());
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonThemeResource*>(pResource->GetRibbonPaintManager()));
    pResource->InternalRelease();

    CQVTPaintManager* pRibbonTheme = CQVTPaintManager::CreateTheme(qvtThemeRibbon);
    EXPECT_TRUE(pRibbonTheme->IsKindOf(RUNTIME_CLASS(CQVTResourceTheme)));
    EXPECT_EQ(qvtThemeRibbon, pRibbonTheme->GetThemeId());
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonThemeResource*>(pRibbonTheme->GetRibbonPaintManager()));
    pFrame = pRibbonTheme->GetFramePaintManager();
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CQVTRibbonOffice2007FrameTheme)));
    EXPECT_TRUE(pFrame->m_bAllowStatusBarInFrame);
    pRibbonTheme->InternalRelease();

    CQVTPaintManager* pFlat = CQVTPaintManager::CreateTheme(qvtThemeOfficeXP);
    pFrame = pFlat->GetFramePaintManager();
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CQVTFrameThemeOffice2007System)));
    EXPECT_EQ(pFrame, pFlat->GetFramePaintManager());
    pFlat->InternalRelease();
}
