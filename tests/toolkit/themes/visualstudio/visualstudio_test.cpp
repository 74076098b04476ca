// The development-environment themes on the screen: a real site with a menu
// bar, a toolbar, an open menu and a status bar. The 2008 theme's hot menu
// item in the aero scheme under the real pointer, its rounded frame's
// blended corners and etched icon column; the 2010 theme the same in every
// scheme, its older colours before Windows Vista, its status bar and popup
// separators; the 2005 theme following the colour manager's scheme, and
// each scheme's published colours. Runs again in the prefix without visual
// styles.
#include <afxwin.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/color_near.h"
#include "tests/toolkit/themes/open_menu.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/themes/visualstudio/QVTVisualStudio2008Theme.h"
#include "toolkit/themes/visualstudio/QVTVisualStudio2010Theme.h"

namespace {

using ThemeTest::Color;
using ThemeTest::X;
using ThemeTest::Y;

#define HEX(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

bool ExpectVisualStyles()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::string(pszValue) != "0";
}

// Installs a theme in one of the colour manager's schemes (0 none).
void UseTheme(int nTheme, int nScheme)
{
    QVTColorManager()->SetCurrentSystemTheme(nScheme);
    CQVTPaintManager::SetTheme(nTheme);
}

// The 2010 theme as it is before Windows Vista.
class CVisualStudio2010BeforeVista : public CQVTVisualStudio2010Theme
{
protected:
    BOOL IsVistaOrLater() const override { return FALSE; }
};

// A rectangle of the screen, read back.
std::unique_ptr<DibCanvas> CaptureScreen(const CRect& rc)
{
    ::GdiFlush();
    auto canvas = std::make_unique<DibCanvas>(rc.Width(), rc.Height());
    HDC hScreen = ::GetDC(nullptr);
    ::BitBlt(canvas->dc.m_hDC, 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    return canvas;
}

int CountDiffering(const DibCanvas& a, const DibCanvas& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

}  // namespace

// One shown top-most site for the program: a menu bar, a toolbar and a
// status bar, made anew for each test.
class VisualStudioFrame : public BarsFrameSuite<VisualStudioFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(kOrigin, CSize(X(480), Y(300)))); }
    static void TearDownTestSuite()
    {
        QVTColorManager()->SetCurrentSystemTheme(qvtSystemThemeAuto);
        BarsFrameSuite<VisualStudioFrame>::TearDownTestSuite();
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        // The bars hold the instance: a theme set before renewing them goes
        // with the old bars.
        s_pFrame->ResetBars();
        UseTheme(qvtThemeVisualStudio2008, 0);
        CQVTCommandBars* pBars = s_pFrame->GetCommandBars();
        m_pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, pBars->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        UINT nId = 40700;
        for (LPCTSTR lpszCaption : {_T("&File"), _T("&Edit")})
            m_pMenuBar->GetControls()->Add(new CQVTControlPopup(), nId++)->SetCaption(lpszCaption);
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        nId = 40720;
        for (LPCTSTR lpszCaption : {_T("One"), _T("Two"), _T("Three")})
        {
            CQVTControl* pButton = m_pToolBar->GetControls()->AddByType(qvtControlButton, nId++);
            pButton->SetCaption(lpszCaption);
            pButton->SetStyle(qvtButtonCaption);
        }
        m_pToolBar->GetControls()->GetAt(2)->SetBeginGroup(TRUE);

        m_statusParent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE | WS_THICKFRAME,
                                CRect(X(40), Y(200), X(440), Y(280)), s_pFrame, 0xE81D);
        m_pStatus = new CQVTStatusBar();
        m_pStatus->Create(&m_statusParent);
        for (UINT nIndicator : {0u, 2001u})
            if (CQVTStatusBarPane* pPane = m_pStatus->AddIndicator(nIndicator))
            {
                pPane->SetText(_T("Ready"));
                pPane->SetWidth(X(60));
            }
        Layout();
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pStatus->DestroyWindow();
        delete m_pStatus;
        m_statusParent.DestroyWindow();
        s_pFrame->ResetBars();
        // A popup's sound starts the sound thread, which must end before exit.
        QVTSoundPlayer()->Stop();
        PumpMessages(20);
    }

    void Layout()
    {
        s_pFrame->GetCommandBars()->RecalcFrameLayout();
        CRect rcParent;
        m_statusParent.GetClientRect(&rcParent);
        m_pStatus->MoveWindow(0, rcParent.bottom - Y(24), rcParent.Width(), Y(24));
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(20);
    }
    // The frame's screen rectangle after painting, with whatever popups lie over it.
    std::unique_ptr<DibCanvas> CaptureFrame()
    {
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        screentest::Pump();
        CRect rc;
        s_pFrame->GetWindowRect(&rc);
        return CaptureScreen(rc);
    }
    // A point of a window's client area in a capture of the frame.
    CPoint InFrame(CWnd* pWnd, CPoint pt) const
    {
        pWnd->ClientToScreen(&pt);
        CRect rc;
        s_pFrame->GetWindowRect(&rc);
        return pt - rc.TopLeft();
    }
    // Moves the real pointer onto a control until its bar shows it hot.
    static bool Hover(CWnd* pBar, CQVTControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        pBar->ClientToScreen(&pt);
        for (int nAttempt = 0; nAttempt < 3; ++nAttempt)
        {
            s_pFrame->SetForegroundWindow();
            PumpUntil([] { return ::GetForegroundWindow() == s_pFrame->GetSafeHwnd(); }, 2000);
            MouseMoveTo(CPoint(pt.x + 3, pt.y + 1));
            PumpMessages(20);
            MouseMoveTo(pt);
            if (PumpUntil([&] { return pControl->GetSelected() != 0; }, 3000))
                return true;
        }
        return false;
    }

    static const CPoint kOrigin;
    CQVTMenuBar* m_pMenuBar = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
    CWnd m_statusParent;
    CQVTStatusBar* m_pStatus = nullptr;
};

const CPoint VisualStudioFrame::kOrigin(260, 60);

TEST(VisualStudioThemes, RoundedFrameBlendsTheTwoPixelsBesideEachCorner)
{
    UseTheme(qvtThemeVisualStudio2008, qvtSystemThemeAero);
    CQVTPaintManager* pTheme = QVTPaintManager();
    const COLORREF clrBack = HEX(0x204060), clrFrame = HEX(0x96D9F9);
    DibCanvas canvas(60, 30, clrBack);
    const CRect rc(5, 4, 55, 26);
    // A hot item of a popup menu.
    pTheme->DrawRectangle(&canvas.dc, rc, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
    auto blend = [&](int a) {
        auto c = [a](int f, int b) { return (f * a + b * (255 - a) + 127) / 255; };
        return RGB(c(GetRValue(clrFrame), GetRValue(clrBack)), c(GetGValue(clrFrame), GetGValue(clrBack)),
                   c(GetBValue(clrFrame), GetBValue(clrBack)));
    };
    // Each corner: the corner itself untouched, the diagonal pixel in the
    // frame colour, and along both edges 60, 120, then the full colour.
    const int corners[4][4] = {{rc.left, rc.top, 1, 1},
                               {rc.right - 1, rc.top, -1, 1},
                               {rc.left, rc.bottom - 1, 1, -1},
                               {rc.right - 1, rc.bottom - 1, -1, -1}};
    for (const auto& k : corners)
    {
        const int x = k[0], y = k[1], dx = k[2], dy = k[3];
        SCOPED_TRACE(testing::Message() << x << "," << y);
        EXPECT_EQ(clrBack, canvas.At(x, y));
        EXPECT_EQ(clrFrame, canvas.At(x + dx, y + dy));
        EXPECT_TRUE(NearColor(blend(60), canvas.At(x + dx, y), 1));
        EXPECT_TRUE(NearColor(blend(120), canvas.At(x + 2 * dx, y), 1));
        EXPECT_EQ(clrFrame, canvas.At(x + 3 * dx, y));
        EXPECT_TRUE(NearColor(blend(60), canvas.At(x, y + dy), 1));
        EXPECT_TRUE(NearColor(blend(120), canvas.At(x, y + 2 * dy), 1));
        EXPECT_EQ(clrFrame, canvas.At(x, y + 3 * dy));
    }
    // The face runs from the gradient's first colour to its second, top to bottom.
    EXPECT_TRUE(NearColor(HEX(0xF1F8FB), canvas.At(30, rc.top + 1), 3));
    EXPECT_TRUE(NearColor(HEX(0xBAE4F6), canvas.At(30, rc.bottom - 2), 3));

    // Items too small for round corners get a plain frame, never a line
    // outside their rectangle.
    for (const CRect& rcSmall : {CRect(20, 10, 24, 14), CRect(20, 10, 21, 11), CRect(20, 10, 20, 14)})
    {
        SCOPED_TRACE(testing::Message() << rcSmall.Width() << "x" << rcSmall.Height());
        canvas.Clear(clrBack);
        pTheme->DrawRectangle(&canvas.dc, rcSmall, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup,
                              qvtBarPopup);
        pTheme->DrawRectangle(&canvas.dc, rcSmall, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypeMenuBar,
                              qvtBarTop);
        int nOutside = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                nOutside += !rcSmall.PtInRect(CPoint(x, y)) && canvas.At(x, y) != clrBack;
        EXPECT_EQ(0, nOutside);
    }
}

// The 2005 theme's colours in its blue, olive and silver schemes as they
// are published (#RRGGBB); kKept where a scheme leaves the Office 2003 one.
TEST(VisualStudioThemes, VisualStudio2005TakesEachSchemesPublishedColours)
{
    using Theme = CQVTCommandBarsOffice2003Theme;
    const DWORD kKept = 0xFFFFFFFF;
    const int kSchemes[3] = {qvtSystemThemeBlue, qvtSystemThemeOlive, qvtSystemThemeSilver};
    const struct
    {
        CQVTPaintManagerColorGradient Theme::*pGradient;
        const char* pszName;
        DWORD first[3], second[3];
    } gradients[] = {
        {&Theme::m_grcToolBar, "toolbar", {0xFAF9F5, 0xFAF9F5, 0xF3F4FA}, {0xC0C0A8, 0xC0C0A8, 0x9997B5}},
        {&Theme::m_grcGripper, "gripper", {0xFAF9F5, 0xFAF9F5, 0xF3F4FA}, {0xC0C0A8, 0xC0C0A8, 0x9997B5}},
        {&Theme::m_grcExpandButton, "expand", {0xEEEDEA, 0xEEEDEA, 0xB3B2C8}, {0x98987E, 0xB0AC9E, 0x767492}},
        {&Theme::m_grcDockBar, "dock bar", {0xE5E5D7, 0xE5E5D7, 0xD7D7E5}, {0xF4F1E7, 0xF4F1E7, 0xF3F3F7}},
        {&Theme::m_grcExpandedGripper,
         "expanded",
         {0xCCC7BA, 0xCCC7BA, 0xD7D7E2},
         {0xCCC7BA, 0xCCC7BA, 0x8583A2}},
        {&Theme::m_grcPopupedSecond,
         "popuped",
         {0xFAF9F5, 0xFAF9F5, 0xE8E8F1},
         {0xC0C0A8, 0xC0C0A8, 0xB0AEC5}},
        {&Theme::m_grcFace, "base", {0xF7F5F9, 0xECE9D8, 0xF7F5F9}, {0x7A7999, 0xACA899, 0x7A7999}},
    };
    const struct
    {
        CQVTPaintManagerColor Theme::*pColor;
        const char* pszName;
        DWORD values[3];
    } colours[] = {
        {&Theme::m_clrToolbarShadow, "toolbar shadow", {0xA3A37C, 0xA3A37C, 0x7C7C94}},
        {&Theme::m_clrTearOff, "tear-off", {kKept, kKept, 0xC0C0D3}},
        {&Theme::m_clrShadow, "floating gripper", {kKept, kKept, 0x7A7999}},
    };
    const struct
    {
        int nIndex;
        DWORD values[3];
    } table[] = {
        {30, {kKept, kKept, 0xDBDAE4}}, {31, {kKept, 0xB6C68D, 0xFFEEC2}},
        {32, {kKept, kKept, 0x4B4B6F}}, {33, {kKept, 0x93A070, 0xFE803E}},
        {35, {kKept, kKept, 0x8D8D8D}}, {36, {kKept, 0xB6C68D, 0xFFC06F}},
        {37, {kKept, kKept, 0x4B4B6F}}, {38, {kKept, kKept, 0x545475}},
        {39, {kKept, kKept, 0x6E6D8F}}, {47, {kKept, 0xFFFFFF, 0x000000}},
        {50, {kKept, kKept, 0x4B4B6F}}, {60, {kKept, kKept, 0x8D8D8D}},
        {61, {kKept, kKept, 0x7A7999}},
    };
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(testing::Message() << "scheme " << kSchemes[i]);
        UseTheme(qvtThemeVisualStudio2005, kSchemes[i]);
        auto* pTheme = DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2003Theme, QVTPaintManager());
        ASSERT_NE(nullptr, pTheme);
        for (const auto& g : gradients)
        {
            EXPECT_EQ(HEX(g.first[i]), (pTheme->*g.pGradient).clrLight.GetValue()) << g.pszName;
            EXPECT_EQ(HEX(g.second[i]), (pTheme->*g.pGradient).clrDark.GetValue()) << g.pszName;
        }
        EXPECT_EQ(0.75f, pTheme->m_grcToolBar.fGradientFactor);
        EXPECT_EQ(0.75f, pTheme->m_grcExpandButton.fGradientFactor);
        for (const auto& c : colours)
        {
            if (c.values[i] != kKept)
            {
                EXPECT_EQ(HEX(c.values[i]), (pTheme->*c.pColor).GetValue()) << c.pszName;
            }
        }
        for (const auto& entry : table)
        {
            if (entry.values[i] != kKept)
            {
                EXPECT_EQ(HEX(entry.values[i]), Color(entry.nIndex)) << "colour " << entry.nIndex;
            }
        }
    }
    QVTColorManager()->SetCurrentSystemTheme(qvtSystemThemeAuto);
}

TEST_F(VisualStudioFrame, Aero2008HotMenuItemShowsTheGradientInItsFrameWithBlackText)
{
    UseTheme(qvtThemeVisualStudio2008, qvtSystemThemeAero);
    Layout();
    CQVTPopupBar* pPopup = ThemeTest::OpenFirstMenu(m_pMenuBar);
    ASSERT_NE(nullptr, pPopup);
    CQVTControl* pItem = pPopup->GetControl(1);
    ASSERT_TRUE(Hover(pPopup, pItem));
    pPopup->UpdateWindow();
    PumpMessages(20);

    const std::unique_ptr<DibCanvas> shown = screentest::Capture(pPopup->GetSafeHwnd());
    const CRect rc = pItem->GetRect();
    const int x = rc.left + rc.Width() * 3 / 4;
    EXPECT_TRUE(NearColor(HEX(0xF1F8FB), shown->At(x, rc.top + 1), 4));
    EXPECT_TRUE(NearColor(HEX(0xBAE4F6), shown->At(x, rc.bottom - 2), 4));
    EXPECT_EQ(HEX(0x96D9F9), shown->At(x, rc.top));
    EXPECT_EQ(HEX(0x96D9F9), shown->At(rc.left, rc.CenterPoint().y));
    EXPECT_EQ(HEX(0x96D9F9), shown->At(rc.right - 1, rc.CenterPoint().y));
    // The caption is drawn in black, and the other item keeps the menu's text colour.
    EXPECT_GT(screentest::CountIn(*shown, rc, RGB(0, 0, 0)), 10);
    EXPECT_EQ(RGB(0, 0, 0), QVTPaintManager()->GetControlTextColor(pItem));
    MouseMoveTo(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 4, ::GetSystemMetrics(SM_CYSCREEN) - 4));
}

TEST_F(VisualStudioFrame, VisualStudio2008EtchesTheIconColumnsRightEdge)
{
    for (int nScheme : {0, static_cast<int>(qvtSystemThemeSilver)})
    {
        SCOPED_TRACE(nScheme);
        UseTheme(qvtThemeVisualStudio2008, nScheme);
        CQVTPaintManager* pTheme = QVTPaintManager();
        DibCanvas canvas(40, 20, HEX(0x102030));
        pTheme->FillIconColumn(&canvas.dc, 2, 1, 24, 18, FALSE);
        EXPECT_EQ(Color(39), canvas.At(26, 10));
        EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), canvas.At(27, 10));
        EXPECT_EQ(HEX(0x102030), canvas.At(28, 10));
        EXPECT_NE(HEX(0x102030), canvas.At(25, 10));
    }
    EXPECT_EQ(HEX(0x6E6D8F), Color(39));
}

TEST_F(VisualStudioFrame, VisualStudio2010LooksTheSameInEveryScheme)
{
    std::unique_ptr<DibCanvas> firstBars, firstMenu;
    for (int nScheme : {0, 1, 2, 3, 4, 5})
    {
        SCOPED_TRACE(nScheme);
        UseTheme(qvtThemeVisualStudio2010, nScheme);
        Layout();
        std::unique_ptr<DibCanvas> bars = CaptureFrame();
        ASSERT_NE(nullptr, ThemeTest::OpenFirstMenu(m_pMenuBar));
        std::unique_ptr<DibCanvas> menu = CaptureFrame();
        CQVTCommandBars::ClosePopups();
        PumpMessages(20);
        if (firstBars)
        {
            EXPECT_EQ(0, CountDiffering(*firstBars, *bars));
            EXPECT_EQ(0, CountDiffering(*firstMenu, *menu));
            continue;
        }
        firstBars = std::move(bars);
        firstMenu = std::move(menu);
        // The toolbar's flat body, and the menu bar's gradient (Windows
        // Vista or later).
        const CRect rcButton = m_pToolBar->GetControls()->GetAt(1)->GetRect();
        const CPoint pt = InFrame(m_pToolBar, CPoint(rcButton.CenterPoint().x, rcButton.top + 1));
        EXPECT_EQ(HEX(0xBCC7D8), firstBars->At(pt.x, pt.y));
        CRect rcMenu;
        m_pMenuBar->GetClientRect(&rcMenu);
        const CPoint ptTop = InFrame(m_pMenuBar, CPoint(rcMenu.right - 2, 0));
        EXPECT_TRUE(NearColor(HEX(0xC8D1E0), firstBars->At(ptTop.x, ptTop.y), 3));
        const CPoint ptBottom = InFrame(m_pMenuBar, CPoint(rcMenu.right - 2, rcMenu.bottom - 1));
        EXPECT_TRUE(NearColor(HEX(0xAEB9CD), firstBars->At(ptBottom.x, ptBottom.y), 3));
        EXPECT_GT(CountDiffering(*firstBars, *firstMenu), 100) << "the menu is open";
    }
}

TEST_F(VisualStudioFrame, VisualStudio2010BeforeVistaTakesItsOlderColours)
{
    QVTColorManager()->SetCurrentSystemTheme(qvtSystemThemeAero);
    CQVTPaintManager::SetCustomTheme(new CVisualStudio2010BeforeVista());
    Layout();
    const std::unique_ptr<DibCanvas> shown = CaptureFrame();
    const CRect rcButton = m_pToolBar->GetControls()->GetAt(1)->GetRect();
    const CPoint pt = InFrame(m_pToolBar, CPoint(rcButton.CenterPoint().x, rcButton.top + 1));
    EXPECT_EQ(HEX(0xBDC7DE), shown->At(pt.x, pt.y));
    // The menu bar flat in the older dock-bar colour.
    CRect rcMenu;
    m_pMenuBar->GetClientRect(&rcMenu);
    const CPoint ptMenu = InFrame(m_pMenuBar, CPoint(rcMenu.right - 2, rcMenu.bottom / 2));
    EXPECT_EQ(HEX(0xADBACE), shown->At(ptMenu.x, ptMenu.y));
    EXPECT_EQ(HEX(0x8492A5), Color(39));

    // A hot menu-bar item: plain colour 31 here, the selected gradient on Vista.
    DibCanvas older(40, 24), newer(40, 24);
    QVTPaintManager()->DrawRectangle(&older.dc, CRect(0, 0, 40, 24), TRUE, FALSE, TRUE, FALSE, FALSE,
                                     qvtBarTypeMenuBar, qvtBarTop);
    EXPECT_EQ(HEX(0xFFF3CE), older.At(20, 2));
    EXPECT_EQ(HEX(0xFFF3CE), older.At(20, 21));
    EXPECT_EQ(HEX(0xE7C363), older.At(20, 0));
    UseTheme(qvtThemeVisualStudio2010, qvtSystemThemeAero);
    QVTPaintManager()->DrawRectangle(&newer.dc, CRect(0, 0, 40, 24), TRUE, FALSE, TRUE, FALSE, FALSE,
                                     qvtBarTypeMenuBar, qvtBarTop);
    EXPECT_TRUE(NearColor(HEX(0xFFFCF2), newer.At(20, 1), 3));
    EXPECT_TRUE(NearColor(HEX(0xFFECB5), newer.At(20, 22), 3));
}

TEST_F(VisualStudioFrame, VisualStudio2010StatusBarAndPopupSeparators)
{
    UseTheme(qvtThemeVisualStudio2010, qvtSystemThemeBlue);
    Layout();
    CDibCapture status(m_pStatus);
    CRect rc;
    m_pStatus->GetClientRect(&rc);
    EXPECT_EQ(RGB(41, 57, 85), status.At(rc.Width() / 2 + X(40), 2));
    EXPECT_GT(screentest::CountIn(*screentest::Capture(m_pStatus->GetSafeHwnd()), rc, RGB(255, 255, 255)), 5)
        << "white pane text";
    CQVTWinThemeWrapper wrapper;
    if (ExpectVisualStyles())
    {
        ASSERT_TRUE(wrapper.IsAppThemed());
        // The bottom row's rightmost dot, 4 px in, and the single dot three rows up.
        const int x = rc.right - 4, y = rc.bottom - 4;
        EXPECT_EQ(RGB(248, 249, 250), status.At(x, y));
        EXPECT_EQ(RGB(198, 206, 221), status.At(x + 1, y));
        EXPECT_EQ(RGB(227, 231, 238), status.At(x, y + 1));
        EXPECT_EQ(RGB(170, 183, 205), status.At(x + 1, y + 1));
        EXPECT_EQ(RGB(170, 183, 205), status.At(x - 9 + 1, y + 1));
        EXPECT_EQ(RGB(248, 249, 250), status.At(x, y - 9));
        EXPECT_EQ(RGB(41, 57, 85), status.At(x - 3, y - 9)) << "the top row has one dot";
    }
    else
        EXPECT_EQ(0, status.CountIn(rc, RGB(170, 183, 205))) << "without visual styles the plain gripper";

    // A separator in a menu: one line in the separator colour from the
    // caption column to the row's end.
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(s_pFrame->GetCommandBars());
    CQVTControlPopup* pItem = DYNAMIC_DOWNCAST(CQVTControlPopup, m_pMenuBar->GetControl(0));
    pPopup->GetControls()->AddByType(qvtControlButton, 40790)->SetCaption(_T("&Open"));
    CQVTControl* pSecond = pPopup->GetControls()->AddByType(qvtControlButton, 40791);
    pSecond->SetCaption(_T("&Save"));
    pSecond->SetBeginGroup(TRUE);
    pItem->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    ASSERT_EQ(pPopup, ThemeTest::OpenFirstMenu(m_pMenuBar));
    const std::unique_ptr<DibCanvas> shown = screentest::Capture(pPopup->GetSafeHwnd());
    const CRect rcSecond = pSecond->GetRect();
    const int y = rcSecond.top - Y(2);
    const int xStart = rcSecond.left - X(1) + QVTPaintManager()->GetPopupTextGap() +
                       QVTPaintManager()->GetPopupBarGutterWidth(pPopup);
    EXPECT_EQ(HEX(0xBEC3CB), shown->At(xStart + X(4), y));
    EXPECT_EQ(HEX(0xBEC3CB), shown->At(rcSecond.right, y));
    EXPECT_NE(HEX(0xBEC3CB), shown->At(xStart + X(4), y + 1)) << "one line only";
    EXPECT_NE(HEX(0xBEC3CB), shown->At(xStart - X(3), y));
}

TEST_F(VisualStudioFrame, VisualStudio2005FollowsTheColourManagersScheme)
{
    // Silver through the colour manager; the paint manager's own selection
    // stays off.
    UseTheme(qvtThemeVisualStudio2005, qvtSystemThemeSilver);
    auto* pTheme = DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2003Theme, QVTPaintManager());
    ASSERT_NE(nullptr, pTheme);
    EXPECT_EQ(qvtSystemThemeUnknown, pTheme->GetCurrentSystemTheme());
    Layout();
    const std::unique_ptr<DibCanvas> shown = CaptureFrame();
    CRect rcBar;
    m_pToolBar->GetClientRect(&rcBar);
    // The toolbar shows the silver set's own dark colour (the gradient
    // theme's is #9C9BB7).
    const CRect rcButton = m_pToolBar->GetControls()->GetAt(1)->GetRect();
    const CPoint pt = InFrame(m_pToolBar, CPoint(rcButton.CenterPoint().x, rcBar.top + 2));
    EXPECT_EQ(HEX(0x9997B5), shown->At(pt.x, pt.y));

    // Blue: no scheme set of the gradient theme, so hot buttons are the
    // flat rectangles of colours 31 in 32.
    UseTheme(qvtThemeVisualStudio2005, qvtSystemThemeBlue);
    pTheme = DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2003Theme, QVTPaintManager());
    ASSERT_NE(nullptr, pTheme);
    EXPECT_FALSE(pTheme->IsSchemeColors());
    DibCanvas canvas(30, 22);
    pTheme->DrawRectangle(&canvas.dc, CRect(0, 0, 30, 22), TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypeNormal,
                          qvtBarTop);
    EXPECT_EQ(Color(32), canvas.At(0, 10));
    EXPECT_EQ(Color(31), canvas.At(15, 2));
    EXPECT_EQ(Color(31), canvas.At(15, 19));
}
