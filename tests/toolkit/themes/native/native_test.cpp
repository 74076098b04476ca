// The native theme over the prefix's visual styles: the six classes open,
// control faces by toolbar button state (an indeterminate disabled button
// pressed), menu items and menus in the menu class, the flat-menu setting
// deciding the menu highlight; and in the prefix without visual styles the
// whole site, an open menu included, pixel for pixel as the default theme.
#include <afxwin.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/themes/open_menu.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
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
#include "toolkit/themes/native/QVTCommandBarsNativeXPTheme.h"

namespace {

using ThemeTest::Color;
using ThemeTest::X;
using ThemeTest::Y;

bool ExpectVisualStyles()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::string(pszValue) != "0";
}

CQVTCommandBarsNativeXPTheme* UseNative()
{
    CQVTPaintManager::SetTheme(qvtThemeNativeWinXP);
    return DYNAMIC_DOWNCAST(CQVTCommandBarsNativeXPTheme, QVTPaintManager());
}

int CountDifferingPixels(const DibCanvas& a, const DibCanvas& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

// What a class draws for one part and state straight through the theme
// library, on the background the test draws on.
std::unique_ptr<DibCanvas> DrawDirect(LPCWSTR pszClass, int nPart, int nState, const CRect& rc,
                                      COLORREF clrBack)
{
    auto canvas = std::make_unique<DibCanvas>(rc.right, rc.bottom, clrBack);
    CQVTWinThemeWrapper theme;
    if (theme.OpenThemeData(nullptr, pszClass))
        theme.DrawThemeBackground(canvas->dc.m_hDC, nPart, nState, rc, nullptr);
    return canvas;
}

// The parts and states the theme asks the toolbar class for: Wine's style
// draws some states alike, so the pixels alone cannot tell them apart.
std::vector<std::pair<int, int>> g_nativeAsked;

HRESULT WINAPI NativeRecordDraw(HTHEME, HDC, int nPart, int nState, const RECT*, const RECT*)
{
    g_nativeAsked.emplace_back(nPart, nState);
    return S_OK;
}

class NativeThemePeek : public CQVTCommandBarsNativeXPTheme
{
public:
    // Routes the theme's toolbar or rebar class to the recorder.
    static void RecordToolbar(CQVTCommandBarsNativeXPTheme* pTheme) { Record(pTheme, classToolbar); }
    static void RecordRebar(CQVTCommandBarsNativeXPTheme* pTheme) { Record(pTheme, classRebar); }

private:
    static void Record(CQVTCommandBarsNativeXPTheme* pTheme, ThemeClass nClass)
    {
        CQVTWinThemeWrapper* pWrapper = (pTheme->*(&NativeThemePeek::m_themes))[nClass].get();
        pWrapper->ReloadApiTable();
        pWrapper->SetApiPointer(CQVTWinThemeApiTable::slotDrawThemeBackground,
                                reinterpret_cast<void*>(&NativeRecordDraw));
    }
};

}  // namespace

// A shown site with a menu bar, a toolbar and a status bar.
class NativeFrame : public BarsFrameSuite<NativeFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(CPoint(240, 80), CSize(X(460), Y(300)))); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        // The bars hold the instance: a theme set before renewing them goes
        // with the old bars.
        s_pFrame->ResetBars();
        UseNative();
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
        m_pToolBar->GetControls()->GetAt(1)->SetChecked(TRUE);
        m_statusParent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE | WS_THICKFRAME,
                                CRect(X(40), Y(200), X(420), Y(280)), s_pFrame, 0xE81D);
        m_pStatus = new CQVTStatusBar();
        m_pStatus->Create(&m_statusParent);
        if (CQVTStatusBarPane* pPane = m_pStatus->AddIndicator(0))
        {
            pPane->SetText(_T("Ready"));
            pPane->SetWidth(X(60));
        }
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pStatus->DestroyWindow();
        delete m_pStatus;
        m_statusParent.DestroyWindow();
        s_pFrame->ResetBars();
        QVTSoundPlayer()->Stop();
        PumpMessages(20);
    }
    // The site laid out and painted in the current theme, with the first
    // menu open, as the screen shows it.
    std::unique_ptr<DibCanvas> ShowSite()
    {
        s_pFrame->GetCommandBars()->RecalcFrameLayout();
        CRect rcParent;
        m_statusParent.GetClientRect(&rcParent);
        m_pStatus->MoveWindow(0, rcParent.bottom - Y(24), rcParent.Width(), Y(24));
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(20);
        if (!ThemeTest::OpenFirstMenu(m_pMenuBar))
            return nullptr;
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        screentest::Pump();
        ::GdiFlush();
        CRect rc;
        s_pFrame->GetWindowRect(&rc);
        auto canvas = std::make_unique<DibCanvas>(rc.Width(), rc.Height());
        HDC hScreen = ::GetDC(nullptr);
        ::BitBlt(canvas->dc.m_hDC, 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
        ::ReleaseDC(nullptr, hScreen);
        CQVTCommandBars::ClosePopups();
        PumpMessages(20);
        return canvas;
    }

    CQVTMenuBar* m_pMenuBar = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
    CWnd m_statusParent;
    CQVTStatusBar* m_pStatus = nullptr;
};

TEST_F(NativeFrame, WithoutVisualStylesTheSiteIsTheDefaultThemesPixelForPixel)
{
    const std::unique_ptr<DibCanvas> native = ShowSite();
    ASSERT_NE(nullptr, native);

    CQVTPaintManager::SetTheme(qvtThemeCustom);
    ASSERT_EQ(qvtThemeOffice2000, QVTPaintManager()->GetThemeId());
    const std::unique_ptr<DibCanvas> standard = ShowSite();
    ASSERT_NE(nullptr, standard);
    if (ExpectVisualStyles())
        EXPECT_GT(CountDifferingPixels(*native, *standard), 100) << "the visual styles draw the bars";
    else
        EXPECT_EQ(0, CountDifferingPixels(*native, *standard));
}

TEST_F(NativeFrame, ClassesOpenWithTheVisualStylesAndCloseWithout)
{
    CQVTCommandBarsNativeXPTheme* pTheme = UseNative();
    ASSERT_NE(nullptr, pTheme);
    EXPECT_EQ(ExpectVisualStyles(), pTheme->IsThemeActive() != FALSE);
    EXPECT_EQ(ExpectVisualStyles(), pTheme->IsMenuThemed() != FALSE);
    // The menu class widens the icon column by three pixels.
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(s_pFrame->GetCommandBars());
    const int nNative = pTheme->GetPopupBarGutterWidth(pPopup);
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
    EXPECT_EQ(ExpectVisualStyles() ? X(3) : 0, nNative - QVTPaintManager()->GetPopupBarGutterWidth(pPopup));
    pPopup->InternalRelease();
}

TEST(NativeTheme, ControlFacesFollowTheToolbarButtonStates)
{
    CQVTCommandBarsNativeXPTheme* pTheme = UseNative();
    ASSERT_NE(nullptr, pTheme);
    const COLORREF clrBack = RGB(0x30, 0x60, 0x90);
    const CRect rc(0, 0, 40, 24);
    auto face = [&](BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked) {
        auto canvas = std::make_unique<DibCanvas>(rc.right, rc.bottom, clrBack);
        QVTPaintManager()->DrawRectangle(&canvas->dc, rc, bSelected, bPressed, bEnabled, bChecked, FALSE,
                                         qvtBarTypeNormal, qvtBarTop);
        return canvas;
    };
    if (!ExpectVisualStyles())
    {
        // The default theme's faces: a disabled indeterminate button sunken.
        const auto native = face(FALSE, FALSE, FALSE, 2);
        CQVTPaintManager::SetTheme(qvtThemeOffice2000);
        EXPECT_EQ(0, CountDifferingPixels(*native, *face(FALSE, FALSE, FALSE, 2)));
        return;
    }
    struct
    {
        BOOL bSelected, bPressed, bEnabled, bChecked;
        int nState;
    } const cases[] = {
        {FALSE, FALSE, FALSE, 2, 3},      // indeterminate and disabled: pressed
        {TRUE, FALSE, TRUE, 2, 2},        // indeterminate and enabled: as unchecked, hot
        {FALSE, FALSE, FALSE, FALSE, 4},  // disabled
        {FALSE, FALSE, FALSE, TRUE, 3},   // checked and disabled
        {TRUE, FALSE, TRUE, TRUE, 6},     // hot checked
        {FALSE, FALSE, TRUE, TRUE, 5},    // checked
        {TRUE, TRUE, TRUE, FALSE, 3},     // pressed
        {TRUE, FALSE, TRUE, FALSE, 2},    // hot
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bSelected << c.bPressed << c.bEnabled << c.bChecked);
        const auto expected = DrawDirect(_T("TOOLBAR"), 1, c.nState, rc, clrBack);
        EXPECT_EQ(0, CountDifferingPixels(*expected, *face(c.bSelected, c.bPressed, c.bEnabled, c.bChecked)));
    }
    // The pressed face is a face of its own.
    EXPECT_GT(CountDifferingPixels(*DrawDirect(_T("TOOLBAR"), 1, 3, rc, clrBack),
                                   *DrawDirect(_T("TOOLBAR"), 1, 4, rc, clrBack)),
              0);

    // The state each face asks for, and a split button's two halves in the
    // one state of the button.
    NativeThemePeek::RecordToolbar(pTheme);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bSelected << c.bPressed << c.bEnabled << c.bChecked);
        g_nativeAsked.clear();
        face(c.bSelected, c.bPressed, c.bEnabled, c.bChecked);
        EXPECT_EQ((std::vector<std::pair<int, int>>{{1, c.nState}}), g_nativeAsked);
    }
    struct
    {
        int nPressed;
        BOOL bChecked;
        int nState;
    } const splits[] = {{0, TRUE, 5}, {2, FALSE, 3}, {0, FALSE, 1}};
    CQVTControlPopup* pSplit = new CQVTControlPopup();
    pSplit->SetType(qvtControlSplitButtonPopup);
    for (const auto& c : splits)
    {
        SCOPED_TRACE(testing::Message() << c.nPressed << c.bChecked);
        pSplit->SetPressed(c.nPressed);
        pSplit->SetChecked(c.bChecked);
        g_nativeAsked.clear();
        DibCanvas canvas(rc.right, rc.bottom, clrBack);
        pTheme->DrawSplitButtonFrame(&canvas.dc, pSplit, rc);
        EXPECT_EQ((std::vector<std::pair<int, int>>{{3, c.nState}, {4, c.nState}}), g_nativeAsked);
    }
    pSplit->InternalRelease();
}

TEST_F(NativeFrame, DockBarsShowTheRebarBackgroundButTheRightOne)
{
    if (!ExpectVisualStyles())
        GTEST_SKIP() << "the prefix has no visual styles";
    CQVTCommandBarsNativeXPTheme* pTheme = DYNAMIC_DOWNCAST(CQVTCommandBarsNativeXPTheme, QVTPaintManager());
    ASSERT_NE(nullptr, pTheme);
    NativeThemePeek::RecordRebar(pTheme);
    // The right one, styled as the dark dock bar of the Office themes, is
    // filled plainly.
    for (int nPosition : {qvtBarTop, qvtBarBottom, qvtBarLeft, qvtBarRight})
    {
        SCOPED_TRACE(nPosition);
        CQVTDockBar* pDockBar = s_pFrame->GetCommandBars()->GetDockBar(nPosition);
        ASSERT_NE(nullptr, pDockBar);
        g_nativeAsked.clear();
        DibCanvas canvas(40, 40);
        pTheme->FillDockBar(&canvas.dc, pDockBar);
        const bool bPlain = nPosition == qvtBarRight;
        const std::vector<std::pair<int, int>> asked =
            bPlain ? std::vector<std::pair<int, int>>() : std::vector<std::pair<int, int>>{{0, 0}};
        EXPECT_EQ(asked, g_nativeAsked);
    }
}

TEST(NativeTheme, HotMenuItemsAreTheMenuClassesHotItem)
{
    if (!ExpectVisualStyles())
        GTEST_SKIP() << "the prefix has no visual styles";
    const COLORREF clrBack = RGB(0x30, 0x60, 0x90);
    const CRect rc(0, 0, 60, 22);
    CQVTCommandBarsNativeXPTheme* pTheme = UseNative();
    ASSERT_NE(nullptr, pTheme);
    // A hot menu item: the menu class's hot item; an idle one: nothing.
    DibCanvas hot(rc.right, rc.bottom, clrBack), idle(rc.right, rc.bottom, clrBack);
    pTheme->DrawRectangle(&hot.dc, rc, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
    pTheme->DrawRectangle(&idle.dc, rc, FALSE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
    EXPECT_EQ(0, CountDifferingPixels(*DrawDirect(_T("MENU"), 14, 2, rc, clrBack), hot));
    EXPECT_EQ(rc.Width() * rc.Height(), idle.CountOf(clrBack));
    EXPECT_EQ(Color(COLOR_MENUTEXT),
              pTheme->GetRectangleTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup));
    EXPECT_EQ(Color(COLOR_GRAYTEXT),
              pTheme->GetRectangleTextColor(TRUE, FALSE, FALSE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup));
}

TEST(NativeTheme, MenusThatAreNotFlatHighlightInTheSelectionColour)
{
    // The system's setting decides, then the rebar class's flag (which this
    // prefix's visual style sets).
    CQVTWinThemeWrapper rebar;
    const BOOL bRebarFlat = rebar.OpenThemeData(nullptr, _T("REBAR")) && rebar.GetThemeSysBool(1001);
    const int nIndex = COLOR_MENUHILIGHT;
    const COLORREF clrOld = ::GetSysColor(nIndex);
    const COLORREF clrDistinct = RGB(0x12, 0x9A, 0x34);
    ASSERT_TRUE(::SetSysColors(1, &nIndex, &clrDistinct));
    BOOL bFlatOld = FALSE;
    ::SystemParametersInfoW(SPI_GETFLATMENU, 0, &bFlatOld, 0);
    for (BOOL bFlat : {TRUE, FALSE})
    {
        SCOPED_TRACE(bFlat);
        ::SystemParametersInfoW(SPI_SETFLATMENU, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(bFlat)), 0);
        QVTColorManager()->RefreshColors();
        CQVTCommandBarsNativeXPTheme* pTheme = UseNative();
        ASSERT_NE(nullptr, pTheme);
        const BOOL bExpectFlat = bFlat || bRebarFlat;
        EXPECT_EQ(bExpectFlat, pTheme->IsFlatMenu());
        EXPECT_EQ(bExpectFlat ? clrDistinct : Color(COLOR_HIGHLIGHT), Color(COLOR_MENUHILIGHT));
    }
    ::SystemParametersInfoW(SPI_SETFLATMENU, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(bFlatOld)), 0);
    ::SetSysColors(1, &nIndex, &clrOld);
    QVTColorManager()->RefreshColors();
}
