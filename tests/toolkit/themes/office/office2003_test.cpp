// The gradient theme on the screen: in a real site whose bars the docking
// code places, toolbars side by side in one dock bar share the dock bar's
// gradient with the menu bar, a toolbar too long for its row fills its
// further rows with the dark colour, a left toolbar, a floating one in two
// rows and a floating dialog bar's gripper, in the scheme sets and without
// one, read back from the screen; an open menu's icon column; hot buttons
// under the real pointer;
// control faces by state; the expand button's glyphs; the low-colour faces.
// Runs at 96 and at 144 DPI.
#include <afxext.h>
#include <afxwin.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <memory>
#include <string>

#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/color_near.h"
#include "toolkit/commandbars/bars/QVTDialogBar.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"
#include "tests/toolkit/themes/open_menu.h"
#include "tests/toolkit/themes/theme_test_helpers.h"

namespace {

using ThemeTest::Color;
using ThemeTest::X;
using ThemeTest::Y;

CQVTCommandBarsOffice2003Theme* Theme()
{
    return DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2003Theme, QVTPaintManager());
}

// Installs theme 2 in a colour scheme (0 derives the colours).
void UseScheme(int nScheme)
{
    CQVTPaintManager::SetTheme(qvtThemeOffice2003);
    QVTPaintManager()->m_nSystemTheme = nScheme;
    QVTPaintManager()->RefreshMetrics();
}

// Pixels near the colour: glyphs are drawn smoothed.
int CountNear(const DibCanvas& canvas, const CRect& rc, COLORREF clr, int nTolerance = 0)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += nTolerance ? static_cast<bool>(NearColor(clr, canvas.At(x, y), nTolerance))
                            : canvas.At(x, y) == clr;
    return n;
}

// A window's client area as the screen shows it, painted first.
class CScreenCapture
{
public:
    explicit CScreenCapture(CWnd* pWnd)
    {
        pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        screentest::Pump();
        ::GdiFlush();
        CRect rc;
        pWnd->GetClientRect(&rc);
        pWnd->ClientToScreen(&rc);
        m_ptOrigin = rc.TopLeft();
        m_pCanvas = std::make_unique<DibCanvas>(rc.Width(), rc.Height());
        HDC hScreen = ::GetDC(nullptr);
        ::BitBlt(m_pCanvas->dc.m_hDC, 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
        ::ReleaseDC(nullptr, hScreen);
    }
    COLORREF At(int x, int y) const { return m_pCanvas->At(x, y); }
    int Width() const { return m_pCanvas->Width(); }
    int Height() const { return m_pCanvas->Height(); }
    // A point of another window's client area in this capture.
    CPoint From(CWnd* pWnd, CPoint pt) const
    {
        pWnd->ClientToScreen(&pt);
        return pt - m_ptOrigin;
    }

private:
    std::unique_ptr<DibCanvas> m_pCanvas;
    CPoint m_ptOrigin;
};

}  // namespace

// One shown top-most site for the whole program, whose command bars are made
// anew for each test as a program makes them: a menu bar and, in the next
// row of the top dock bar, two toolbars side by side, a toolbar too long for
// its row that wraps, a toolbar docked on the left, a floating toolbar in two
// rows and a floating dialog bar, all placed by the docking code; and a
// status bar.
class Office2003Frame : public BarsFrameSuite<Office2003Frame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(kOrigin, CSize(X(640), Y(400)))); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        UseScheme(0);
        s_pFrame->ResetBars();
        CQVTCommandBars* pBars = Bars();

        m_pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, pBars->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        UINT nId = 40700;
        for (LPCTSTR lpszCaption : {_T("&File"), _T("&Edit"), _T("&View")})
        {
            CQVTControl* pPopup = m_pMenuBar->GetControls()->Add(new CQVTControlPopup(), nId++);
            pPopup->SetCaption(lpszCaption);
        }
        m_pFirst = MakeBar(_T("First"), qvtBarTop, {_T("One"), _T("Two"), _T("Three")});
        m_pSecond = MakeBar(_T("Second"), qvtBarTop, {_T("Four"), _T("Five"), _T("Six")});
        std::vector<CString> many;
        for (int i = 0; i < 14; ++i)
            many.push_back(CString(_T("Wrapping")) + CString(static_cast<TCHAR>(_T('A') + i)));
        m_pWrapped = MakeBar(_T("Wrapped"), qvtBarTop, many);
        m_pWrapped->SetFlags(0, CQVTToolBar::dockHideWrap);
        m_pLeft = MakeBar(_T("Left"), qvtBarLeft, {_T("A"), _T("B"), _T("C")});
        m_pFloating = MakeBar(_T("Floating"), qvtBarTop, {_T("Float"), _T("Wrap"), _T("More")});
        m_pFirst->GetControls()->GetAt(2)->SetBeginGroup(TRUE);
        m_pLeft->GetControls()->GetAt(1)->SetBeginGroup(TRUE);
        m_pLeft->SetTextOrientation(2);

        m_pDialogBar = DYNAMIC_DOWNCAST(
            CQVTDialogBar, pBars->Add(_T("Panel"), qvtBarFloating, RUNTIME_CLASS(CQVTDialogBar)));
        ASSERT_NE(nullptr, m_pDialogBar);
        m_pPanelChild = new CWnd();
        m_pPanelChild->Create(AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                              _T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pDialogBar, 40999);
        m_pDialogBar->SetChild(m_pPanelChild);

        // A status bar on a sizable window, so that it shows its gripper.
        m_statusParent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE | WS_THICKFRAME,
                                CRect(X(100), Y(330), X(640), Y(400)), s_pFrame, 0xE81D);
        m_pStatus = new CQVTStatusBar();
        m_pStatus->Create(&m_statusParent);
        for (UINT nIndicator : {0u, 2001u, 2002u})
            if (CQVTStatusBarPane* pPane = m_pStatus->AddIndicator(nIndicator))
            {
                pPane->SetText(_T("Ready"));
                pPane->SetWidth(X(60));
            }
        Layout();
    }
    void TearDown() override
    {
        m_pStatus->DestroyWindow();
        delete m_pStatus;
        m_statusParent.DestroyWindow();
        s_pFrame->ResetBars();
        if (m_pPanelChild)
        {
            m_pPanelChild->DestroyWindow();
            delete m_pPanelChild;
        }
        PumpMessages(20);
    }

    static CQVTCommandBars* Bars() { return s_pFrame->GetCommandBars(); }

    template <class TCaptions>
    CQVTToolBar* MakeBar(LPCTSTR lpszTitle, int nPosition, const TCaptions& captions)
    {
        CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(lpszTitle, nPosition));
        UINT nId = 40720;
        for (const auto& caption : captions)
        {
            CQVTControl* pButton = pBar->GetControls()->AddByType(qvtControlButton, nId++);
            pButton->SetCaption(caption);
            pButton->SetStyle(qvtButtonCaption);
        }
        return pBar;
    }
    CQVTToolBar* MakeBar(LPCTSTR lpszTitle, int nPosition, std::initializer_list<LPCTSTR> captions)
    {
        return MakeBar<std::initializer_list<LPCTSTR>>(lpszTitle, nPosition, captions);
    }

    // Docks and floats the bars where the tests look for them, in the current
    // theme, and paints them.
    void Layout()
    {
        CQVTCommandBars* pBars = Bars();
        pBars->RecalcFrameLayout();
        PumpMessages(20);
        // The second toolbar joins the first's row, right of it.
        CRect rcFirst = WindowRect(m_pFirst), rcDrop = WindowRect(m_pSecond);
        rcDrop.OffsetRect(rcFirst.right + X(4) - rcDrop.left,
                          rcFirst.CenterPoint().y - rcDrop.CenterPoint().y);
        pBars->DockCommandBar(m_pSecond, &rcDrop, pBars->GetDockBar(qvtBarTop));
        if (!m_pFloating->IsFloating())
            pBars->FloatCommandBar(m_pFloating);
        // Narrow enough for two rows.
        m_pFloating->SetMRUWidth(X(110));
        m_pFloating->OnRecalcLayout();
        const CSize szFloating = WindowRect(m_pFloating).Size();
        m_pFloating->SetWindowPos(nullptr, kOrigin.x + X(300), kOrigin.y + Y(200), szFloating.cx,
                                  szFloating.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        // Small enough to stay on the screen at 144 DPI.
        m_pDialogBar->SetFloatingClientSize(CSize(X(100), Y(60)));
        m_pDialogBar->OnRecalcLayout();
        m_pDialogBar->SetWindowPos(nullptr, kOrigin.x + X(500), kOrigin.y + Y(200), 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pBars->RecalcFrameLayout();
        PumpMessages(20);

        CRect rcStatusParent;
        m_statusParent.GetClientRect(&rcStatusParent);
        m_pStatus->MoveWindow(0, rcStatusParent.bottom - Y(24), rcStatusParent.Width(), Y(24));
        m_pStatus->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (CQVTCommandBar* pBar :
             {static_cast<CQVTCommandBar*>(m_pFloating), static_cast<CQVTCommandBar*>(m_pDialogBar)})
            pBar->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(20);
    }
    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    CQVTControl* Button(CQVTCommandBar* pBar, int i) { return pBar->GetControls()->GetAt(i); }

    static const CPoint kOrigin;
    CQVTMenuBar* m_pMenuBar = nullptr;
    CQVTToolBar* m_pFirst = nullptr;
    CQVTToolBar* m_pSecond = nullptr;
    CQVTToolBar* m_pWrapped = nullptr;
    CQVTToolBar* m_pLeft = nullptr;
    CQVTToolBar* m_pFloating = nullptr;
    CQVTDialogBar* m_pDialogBar = nullptr;
    CWnd* m_pPanelChild = nullptr;
    CWnd m_statusParent;
    CQVTStatusBar* m_pStatus = nullptr;
};

const CPoint Office2003Frame::kOrigin(300, 40);

TEST(Office2003Colors, SchemeSetsFillTheirTableEntriesAndOtherSchemesDeriveFromTheSystem)
{
    struct Expected
    {
        int nScheme;
        COLORREF clrBorder;  // colours 32, 37, 50
        COLORREF clrToolbarShadow;
        COLORREF clrFloatingGripper;
    };
    const Expected expected[] = {{1, RGB(0x00, 0x00, 0x80), RGB(0x3B, 0x61, 0x9C), RGB(0x2A, 0x66, 0xC9)},
                                 {2, RGB(0x3F, 0x5D, 0x38), RGB(0x60, 0x80, 0x58), RGB(0x74, 0x86, 0x5E)},
                                 {3, RGB(0x4B, 0x4B, 0x6F), RGB(0x7C, 0x7C, 0x94), RGB(0x7A, 0x79, 0x99)},
                                 {4, RGB(0x00, 0x00, 0x80), RGB(0x3B, 0x61, 0x9C), RGB(0x2A, 0x66, 0xC9)},
                                 {5, RGB(0x00, 0x00, 0x80), RGB(0x3B, 0x61, 0x9C), RGB(0x2A, 0x66, 0xC9)}};
    for (const Expected& e : expected)
    {
        SCOPED_TRACE(e.nScheme);
        UseScheme(e.nScheme);
        CQVTCommandBarsOffice2003Theme* pTheme = Theme();
        ASSERT_NE(nullptr, pTheme);
        EXPECT_TRUE(pTheme->IsSchemeColors());
        for (int nIndex : {32, 37, 50})
            EXPECT_EQ(e.clrBorder, Color(nIndex));
        EXPECT_EQ(e.clrToolbarShadow, pTheme->m_clrToolbarShadow.GetValue());
        EXPECT_EQ(e.clrFloatingGripper, pTheme->m_clrShadow.GetValue());
        EXPECT_EQ(e.clrFloatingGripper, Color(61));
        for (int nIndex : {35, 58, 60})
            EXPECT_EQ(RGB(0x8D, 0x8D, 0x8D), Color(nIndex));
        // The menu gripper follows the toolbar face.
        EXPECT_EQ(pTheme->m_grcToolBar.clrLight.GetValue(), pTheme->m_grcGripper.clrLight.GetValue());
        EXPECT_EQ(pTheme->m_grcToolBar.fGradientFactor, pTheme->m_grcGripper.fGradientFactor);
        EXPECT_NE(nullptr, pTheme->GetGradientGlyph());
    }
    UseScheme(3);
    EXPECT_EQ(0.75f, Theme()->m_grcToolBar.fGradientFactor);
    EXPECT_EQ(RGB(0xF9, 0xF9, 0xFF), Theme()->m_grcToolBar.clrLight.GetValue());
    EXPECT_EQ(RGB(0x24, 0x20, 0x29), QVTPaintManager()->GetShadowManager()->GetShadowColor());

    // Without a scheme the colours come from the system colours.
    UseScheme(0);
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    EXPECT_FALSE(pTheme->IsSchemeColors());
    EXPECT_EQ(CQVTColorManager::BlendColors(Color(15), Color(5), 205),
              pTheme->m_grcToolBar.clrLight.GetValue());
    EXPECT_EQ(Color(15), pTheme->m_grcToolBar.clrDark.GetValue());
    EXPECT_EQ(Color(15), pTheme->m_grcDockBar.clrLight.GetValue());
    EXPECT_EQ(Color(30), pTheme->m_clrToolbarShadow.GetValue());
    EXPECT_EQ(Color(16), pTheme->m_clrShadow.GetValue());
    EXPECT_EQ(CQVTColorManager::BlendColors(Color(51), Color(16), 51),
              pTheme->m_grcExpandButton.clrLight.GetValue());
}

namespace {
// Theme 2 on a display of 8 bits or fewer.
class CLowColorOffice2003Theme : public CQVTCommandBarsOffice2003Theme
{
protected:
    BOOL IsLowColorDisplay() const override { return TRUE; }
};
}  // namespace

namespace {
// Theme 2 whose frames are drawn over desktop composition, which this
// display has not.
class CGlassOffice2003Theme : public CQVTCommandBarsOffice2003Theme
{
protected:
    BOOL IsDockBarOnGlass(CQVTDockBar* pDockBar) const override
    {
        return CQVTCommandBarsOffice2003Theme::IsDockBarOnGlass(pDockBar) ||
               pDockBar->GetPosition() == qvtBarTop;
    }
};
}  // namespace

TEST(Office2003DockBars, GlassBlackRightDarkOthersTheScreenWideGradient)
{
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP, CRect(0, 0, 300, 300), nullptr, 0);
    CQVTDockBar top, right, bottom;
    top.Create(&host, WS_CHILD | CBRS_ALIGN_TOP, 0xE81B);
    right.Create(&host, WS_CHILD | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT, 0xE81D);
    bottom.Create(&host, WS_CHILD | CBRS_ALIGN_BOTTOM, 0xE81E);
    for (CQVTDockBar* pDock : {&top, &right, &bottom})
        pDock->MoveWindow(0, 0, 200, 30);

    CQVTPaintManager::SetCustomTheme(new CGlassOffice2003Theme());
    QVTPaintManager()->m_nSystemTheme = 2;
    QVTPaintManager()->RefreshMetrics();
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    DibCanvas glass(200, 30, RGB(1, 2, 3)), dark(200, 30, RGB(1, 2, 3)), gradient(200, 30, RGB(1, 2, 3));
    pTheme->FillDockBar(&glass.dc, &top);
    pTheme->FillDockBar(&dark.dc, &right);
    pTheme->FillDockBar(&gradient.dc, &bottom);
    EXPECT_EQ(RGB(0, 0, 0), glass.At(100, 15));
    EXPECT_EQ(pTheme->m_grcDockBar.clrDark.GetValue(), dark.At(5, 15));
    EXPECT_EQ(pTheme->m_grcDockBar.clrDark.GetValue(), dark.At(195, 15));
    const double dWidth = std::max(200, ::GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_TRUE(NearColor(pTheme->m_grcDockBar.clrLight, gradient.At(0, 15)));
    EXPECT_TRUE(NearColor(MixColor(pTheme->m_grcDockBar.clrLight, pTheme->m_grcDockBar.clrDark, 199 / dWidth),
                          gradient.At(199, 15)));
    EXPECT_EQ(gradient.At(100, 0), gradient.At(100, 29)) << "the gradient runs across";

    for (CQVTDockBar* pDock : {&top, &right, &bottom})
        pDock->DestroyWindow();
    host.DestroyWindow();
    CQVTPaintManager::SetTheme(qvtThemeOffice2003);
}

TEST(Office2003Faces, TearOffStripOnItsColourWithEmbossedDots)
{
    UseScheme(3);
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    EXPECT_EQ(CSize(0, Y(9)), pTheme->DrawPopupBarStrip(nullptr, CRect(0, 0, 200, Y(9)), FALSE, FALSE));
    DibCanvas canvas(210, 20, RGB(1, 2, 3));
    pTheme->DrawPopupBarStrip(&canvas.dc, CRect(0, 0, 200, Y(9)), FALSE, TRUE);
    EXPECT_EQ(pTheme->m_clrTearOff.GetValue(), canvas.At(10, Y(4)));
    // A row of dots 32 px each side of the centre, every 4 px.
    const int nCenter = CRect(2, 2, 200, Y(9)).CenterPoint().x;
    EXPECT_EQ(Color(38), canvas.At(nCenter - X(32), Y(4)));
    EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), canvas.At(nCenter - X(32) + 2, Y(5) + 1));
    EXPECT_EQ(pTheme->m_clrTearOff.GetValue(), canvas.At(nCenter - X(32) - 3, Y(4)));
    canvas.Clear(RGB(1, 2, 3));
    pTheme->DrawPopupBarStrip(&canvas.dc, CRect(0, 0, 200, Y(9)), TRUE, TRUE);
    EXPECT_EQ(Color(41), canvas.At(1, 1));
    EXPECT_EQ(Color(32), canvas.At(2, 2));
    EXPECT_EQ(Color(31), canvas.At(10, 3));
}

TEST(Office2003Colors, LowColorDisplaysGetPlainFaces)
{
    CQVTPaintManager::SetCustomTheme(new CLowColorOffice2003Theme());
    QVTPaintManager()->m_nSystemTheme = 0;
    QVTPaintManager()->RefreshMetrics();
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    ASSERT_NE(nullptr, pTheme);
    for (CQVTPaintManagerColorGradient* pGradient :
         {&pTheme->m_grcToolBar, &pTheme->m_grcDockBar, &pTheme->m_grcPopuped, &pTheme->m_grcExpandButton})
    {
        EXPECT_EQ(Color(COLOR_3DFACE), pGradient->clrLight.GetValue());
        EXPECT_EQ(Color(COLOR_3DFACE), pGradient->clrDark.GetValue());
    }
    CQVTPaintManager::SetTheme(qvtThemeOffice2003);
}

TEST(Office2003Faces, ControlFacesFollowTheirStates)
{
    UseScheme(3);
    CQVTPaintManager* pPaint = QVTPaintManager();
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    struct Case
    {
        int nSelected, nPressed, nEnabled, nChecked, nPopuped;
        const CQVTPaintManagerColorGradient* pFace;  // null: the solid colour 51, or nothing
        int nFrame;                                  // -1: nothing drawn
    };
    const Case cases[] = {
        {0, 0, 1, 2, 0, nullptr, 50},                 // indeterminate: colour 51
        {0, 0, 1, 1, 0, &pTheme->m_grcChecked, 37},   // checked
        {0, 0, 1, 0, 0, nullptr, -1},                 // idle
        {0, 2, 1, 0, 0, &pTheme->m_grcPressed, 50},   // pressed by keyboard
        {0, 1, 1, 0, 0, &pTheme->m_grcSelected, 32},  // pressed by mouse, not hot
        {1, 0, 1, 0, 0, &pTheme->m_grcSelected, 32},  // hot
        {1, 1, 1, 0, 0, &pTheme->m_grcPressed, 50},   // hot and pressed
        {1, 0, 1, 1, 0, &pTheme->m_grcPressed, 50},   // hot and checked
        {2, 0, 0, 1, 0, &pTheme->m_grcPressed, 50},   // disabled, keyboard-selected, checked
        {2, 0, 0, 0, 0, &pTheme->m_grcSelected, 50},  // disabled, keyboard-selected
        {0, 0, 0, 1, 0, &pTheme->m_grcChecked, 58},   // disabled and checked
        {0, 0, 0, 0, 0, nullptr, -1},                 // disabled
        {1, 0, 1, 0, 1, &pTheme->m_grcPopuped, 43},   // popup open
    };
    for (int nPosition : {qvtBarTop, qvtBarLeft, qvtBarFloating})
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(::testing::Message() << "position " << nPosition << " selected " << c.nSelected
                                              << " pressed " << c.nPressed << " enabled " << c.nEnabled
                                              << " checked " << c.nChecked << " popuped " << c.nPopuped);
            const COLORREF clrBack = RGB(1, 2, 3);
            DibCanvas canvas(60, 40, clrBack);
            const CRect rc(5, 5, 55, 35);
            pPaint->DrawRectangle(&canvas.dc, rc, c.nSelected, c.nPressed, c.nEnabled, c.nChecked, c.nPopuped,
                                  qvtBarTypeNormal, nPosition);
            if (c.nFrame < 0)
            {
                EXPECT_EQ(clrBack, canvas.At(rc.left, rc.top));
                EXPECT_EQ(clrBack, canvas.At(30, 20));
                continue;
            }
            EXPECT_EQ(Color(c.nFrame), canvas.At(rc.left, rc.top));
            EXPECT_EQ(Color(c.nFrame), canvas.At(rc.right - 1, rc.bottom - 1));
            if (!c.pFace)
            {
                EXPECT_EQ(Color(51), canvas.At(30, 20));
                continue;
            }
            // Popups open downwards on every bar; the others run across left and right bars.
            const BOOL bAcross = nPosition == qvtBarLeft && c.pFace != &pTheme->m_grcPopuped;
            const COLORREF clrStart = bAcross ? canvas.At(rc.left + 1, 20) : canvas.At(30, rc.top + 1);
            const COLORREF clrEnd = bAcross ? canvas.At(rc.right - 2, 20) : canvas.At(30, rc.bottom - 2);
            EXPECT_TRUE(NearColor(c.pFace->clrLight, clrStart, 8));
            EXPECT_TRUE(NearColor(c.pFace->clrDark, clrEnd, 8));
            // Across the gradient the colour stays.
            if (bAcross)
                EXPECT_EQ(canvas.At(rc.left + 3, rc.top + 2), canvas.At(rc.left + 3, rc.bottom - 3));
            else
                EXPECT_EQ(canvas.At(rc.left + 2, 20), canvas.At(rc.right - 3, 20));
        }
    }

    // Popups, and themes without a scheme, draw the flat rectangles.
    for (int nScheme : {3, 0})
    {
        UseScheme(nScheme);
        DibCanvas canvas(60, 40, RGB(1, 2, 3));
        QVTPaintManager()->DrawRectangle(&canvas.dc, CRect(5, 5, 55, 35), 1, 0, 1, 0, 0,
                                         nScheme ? qvtBarTypePopup : qvtBarTypeNormal,
                                         nScheme ? qvtBarPopup : qvtBarTop);
        EXPECT_EQ(Color(32), canvas.At(5, 5));
        EXPECT_EQ(Color(31), canvas.At(30, 6));
        EXPECT_EQ(Color(31), canvas.At(30, 33));
    }
}

TEST(Office2003Glyphs, ExpandButtonShowsTheCustomizeAndMoreGlyphsTurnedOnVerticalBars)
{
    UseScheme(1);
    CQVTPaintManager* pPaint = QVTPaintManager();
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    for (int nPosition : {qvtBarTop, qvtBarLeft})
    {
        SCOPED_TRACE(nPosition);
        CTestBar* pBar = new CTestBar();
        pBar->m_pParentWnd = &host;
        pBar->Create(nPosition);
        CQVTControl* pExpand = pBar->GetControls()->AddByType(qvtControlButton, 1);
        const BOOL bVertical = nPosition == qvtBarLeft;
        // Measuring places the button over the bar's last 12 pixels.
        CSize szBar = bVertical ? CSize(X(30), Y(200)) : CSize(X(200), Y(30));
        pPaint->DrawSpecialControl(nullptr, qvtSpecialToolbarExpand, pExpand, pBar, FALSE, &szBar);
        EXPECT_EQ(bVertical ? CRect(0, szBar.cy - Y(12), szBar.cx, szBar.cy)
                            : CRect(szBar.cx - X(12), 1, szBar.cx, szBar.cy),
                  pExpand->GetRect());
        // Drawn larger, so that the glyphs have pixels enough to count.
        const CRect rc = bVertical ? CRect(0, szBar.cy - 30, szBar.cx, szBar.cy)
                                   : CRect(szBar.cx - 30, 1, szBar.cx, szBar.cy);
        pExpand->SetRect(rc);

        DibCanvas canvas(szBar.cx, szBar.cy, RGB(1, 2, 3)), noHidden(szBar.cx, szBar.cy, RGB(1, 2, 3));
        BOOL bHidden = TRUE;
        pPaint->DrawSpecialControl(&canvas.dc, qvtSpecialToolbarExpand, pExpand, pBar, TRUE, &bHidden);
        bHidden = FALSE;
        pPaint->DrawSpecialControl(&noHidden.dc, qvtSpecialToolbarExpand, pExpand, pBar, TRUE, &bHidden);
        // The customize glyph at the far end, the "more" glyph at the near end,
        // each over its light copy one pixel right and down.
        CRect rcInner = rc;
        rcInner.DeflateRect(2, 2);
        const int nSide = bVertical ? rcInner.Height() : rcInner.Width();
        const CRect rcFar = bVertical
                                ? CRect(rcInner.right - nSide, rcInner.top, rcInner.right, rcInner.bottom)
                                : CRect(rcInner.left, rcInner.bottom - nSide, rcInner.right, rcInner.bottom);
        const CRect rcNear = bVertical
                                 ? CRect(rcInner.left, rcInner.top, rcInner.left + nSide, rcInner.bottom)
                                 : CRect(rcInner.left, rcInner.top, rcInner.right, rcInner.top + nSide);
        EXPECT_GT(CountNear(canvas, rcFar, Color(46), 100), 4);
        EXPECT_GT(CountNear(canvas, rcNear, Color(46), 100), 2);
        EXPECT_GT(CountNear(canvas, rc, Color(COLOR_BTNHIGHLIGHT), 40), 4);
        // Without hidden controls only the near end changes.
        int nNearDiffers = 0, nFarDiffers = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
            {
                const BOOL bDiffers = canvas.At(x, y) != noHidden.At(x, y);
                nNearDiffers += bDiffers && rcNear.PtInRect(CPoint(x, y));
                nFarDiffers += bDiffers && rcFar.PtInRect(CPoint(x, y)) && !rcNear.PtInRect(CPoint(x, y));
            }
        EXPECT_GT(nNearDiffers, 4);
        EXPECT_EQ(0, nFarDiffers);
        // The rounded outer corner keeps the bar's background.
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(bVertical ? rc.right - 1 : rc.right - 1, rc.bottom - 1));

        pBar->DestroyWindow();
        pBar->InternalRelease();
    }
    host.DestroyWindow();

    // The vertical glyphs are the horizontal ones turned a quarter: what
    // points down on a horizontal bar points right on a vertical one. Seen
    // along that direction, both show the same run of ink widths.
    for (const auto& pair : {std::make_pair(WCHAR(104), WCHAR(102)), std::make_pair(WCHAR(83), WCHAR(85))})
    {
        const int n = 40;
        DibCanvas horizontal(n, n, RGB(255, 255, 255)), vertical(n, n, RGB(255, 255, 255));
        QVTGlyphFont()->DrawGlyph(&horizontal.dc, pair.first, CRect(0, 0, n, n), RGB(0, 0, 0));
        QVTGlyphFont()->DrawGlyph(&vertical.dc, pair.second, CRect(0, 0, n, n), RGB(0, 0, 0));
        auto profile = [n](DibCanvas& canvas, bool bByColumn) {
            std::vector<int> widths;
            for (int i = 0; i < n; ++i)
            {
                int nInk = 0;
                for (int j = 0; j < n; ++j)
                    nInk += (bByColumn ? canvas.At(i, j) : canvas.At(j, i)) != RGB(255, 255, 255);
                widths.push_back(nInk);
            }
            while (!widths.empty() && widths.back() == 0)
                widths.pop_back();
            widths.erase(widths.begin(), std::find_if(widths.begin(), widths.end(), [](int w) { return w; }));
            return widths;
        };
        const std::vector<int> down = profile(horizontal, false), right = profile(vertical, true);
        SCOPED_TRACE(int(pair.first));
        ASSERT_GT(down.size(), 8u);
        ASSERT_LE(std::abs(static_cast<int>(down.size()) - static_cast<int>(right.size())), 1);
        // Fitting may shift an edge by a pixel.
        for (size_t i = 0; i < std::min(down.size(), right.size()); ++i)
        {
            int nBest = 1000;
            for (size_t j = i ? i - 1 : 0; j <= std::min(i + 1, right.size() - 1); ++j)
                nBest = std::min(nBest, std::abs(down[i] - right[j]));
            EXPECT_LE(nBest, 2) << i;
        }
        // The tip comes last: the glyph points down, and right.
        EXPECT_LT(down.back(), down.front());
    }
}

TEST(Office2003MessageBar, OnTheDockBarGradientWithTheMessageOnTheInfoColour)
{
    UseScheme(1);
    CQVTCommandBarsOffice2003Theme* pTheme = Theme();
    CQVTMessageBar bar;
    bar.SetClientRect(CRect(0, 0, 300, 40));
    DibCanvas canvas(300, 40, RGB(1, 2, 3));
    pTheme->GetMessageBarPaintManager()->FillMessageBar(&canvas.dc, &bar);
    const double dWidth = std::max(300, ::GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_TRUE(NearColor(pTheme->m_grcDockBar.clrLight, canvas.At(0, 0)));
    EXPECT_TRUE(NearColor(MixColor(pTheme->m_grcDockBar.clrLight, pTheme->m_grcDockBar.clrDark, 299 / dWidth),
                          canvas.At(299, 0)));
    const CRect rcMessage = bar.GetContentRect();
    EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), canvas.At(rcMessage.left, rcMessage.top));
    EXPECT_EQ(::GetSysColor(COLOR_INFOBK), canvas.At(rcMessage.CenterPoint().x, rcMessage.CenterPoint().y));
}

TEST_F(Office2003Frame, ToolbarsSideBySideShareOneDockBarGradient)
{
    CQVTDockBar* pDock = Bars()->GetDockBar(qvtBarTop);
    ASSERT_NE(nullptr, pDock);
    for (int nScheme : {0, 1, 2, 3})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        Layout();
        CQVTCommandBarsOffice2003Theme* pTheme = Theme();
        const COLORREF clrLight = pTheme->m_grcDockBar.clrLight, clrDark = pTheme->m_grcDockBar.clrDark;
        ASSERT_EQ(pDock, m_pFirst->GetParent());
        ASSERT_EQ(pDock, m_pSecond->GetParent());
        const CRect rcFirst = WindowRect(m_pFirst), rcSecond = WindowRect(m_pSecond);
        ASSERT_EQ(rcFirst.top, rcSecond.top) << "the second toolbar joined the first's row";
        ASSERT_GE(rcSecond.left, rcFirst.right);

        CScreenCapture dock(pDock);
        const double dWidth = std::max<int>(dock.Width(), ::GetSystemMetrics(SM_CXSCREEN) / 2);
        auto dockGradient = [&](int x) { return MixColor(clrLight, clrDark, x / dWidth); };
        // The row's top line, over both toolbars and between them, is the
        // dock bar's one gradient at the dock bar's x: neither toolbar
        // starts a gradient of its own.
        const CPoint ptFirst = dock.From(m_pFirst, CPoint(0, 0));
        const CPoint ptSecond = dock.From(m_pSecond, CPoint(0, 0));
        for (int x : {ptFirst.x + X(10), ptFirst.x + rcFirst.Width() - 1, ptSecond.x,
                      ptSecond.x + rcSecond.Width() / 2, ptSecond.x + rcSecond.Width() - 1})
            EXPECT_TRUE(NearColor(dockGradient(x), dock.At(x, ptFirst.y))) << x;
        if (nScheme == 3)
        {
            EXPECT_FALSE(NearColor(clrLight, dock.At(ptSecond.x, ptSecond.y), 1))
                << "the second bar started a gradient of its own";
        }

        // The menu bar has no face of its own: beside its items it shows the
        // dock bar's gradient, and no shadow line along its bottom.
        ASSERT_EQ(pDock, m_pMenuBar->GetParent());
        const CRect rcLastItem = Button(m_pMenuBar, m_pMenuBar->GetControlCount() - 1)->GetRect();
        const CPoint ptBeside =
            dock.From(m_pMenuBar, CPoint(rcLastItem.right + X(20), rcLastItem.CenterPoint().y));
        EXPECT_TRUE(NearColor(dockGradient(ptBeside.x), dock.At(ptBeside.x, ptBeside.y)));
        CRect rcMenuClient;
        m_pMenuBar->GetClientRect(&rcMenuClient);
        const CPoint ptMenuBottom =
            dock.From(m_pMenuBar, CPoint(rcLastItem.right + X(20), rcMenuClient.bottom - 1));
        EXPECT_NE(pTheme->m_clrToolbarShadow.GetValue(), dock.At(ptMenuBottom.x, ptMenuBottom.y));

        // Each toolbar's face: the same gradient from one pixel down, and the
        // shadow line along its bottom.
        auto atFirst = [&](int x, int y) {
            const CPoint pt = dock.From(m_pFirst, CPoint(x, y));
            return dock.At(pt.x, pt.y);
        };
        auto atSecond = [&](int x, int y) {
            const CPoint pt = dock.From(m_pSecond, CPoint(x, y));
            return dock.At(pt.x, pt.y);
        };
        EXPECT_EQ(atFirst(X(40), Y(2)), atSecond(X(40), Y(2)));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), atFirst(rcFirst.Width() / 2, rcFirst.Height() - 1));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), atSecond(X(5), rcSecond.Height() - 1));

        // Embossed gripper dots from 5 px down, every 4 px, 6 px from the left.
        for (int yDot = Y(5); yDot < rcFirst.Height() - Y(7); yDot += Y(4))
        {
            EXPECT_EQ(Color(38), atFirst(X(6), yDot)) << yDot;
            EXPECT_EQ(Color(COLOR_WINDOW), atFirst(X(6) + 2, yDot + 2)) << yDot;
        }

        // A separator of two lines before the group, indented 4 px at both ends.
        const CQVTControl* pGroup = Button(m_pFirst, 2);
        const CRect rcRow = pGroup->GetRowRect();
        const int xLine = pGroup->GetRect().left - X(4);
        EXPECT_EQ(Color(39), atFirst(xLine, rcRow.CenterPoint().y));
        EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), atFirst(xLine + 1, rcRow.CenterPoint().y));
        EXPECT_NE(Color(39), atFirst(xLine, rcRow.top + Y(4) - 1));
        EXPECT_EQ(Color(39), atFirst(xLine, rcRow.top + Y(4)));
    }
}

TEST_F(Office2003Frame, WrappedRowsLeftAndFloatingBarsAndDialogBars)
{
    for (int nScheme : {0, 1, 2, 3})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        Layout();
        CQVTCommandBarsOffice2003Theme* pTheme = Theme();

        // The toolbar too long for the dock bar wraps: its further row in the
        // face's dark colour, beside the row's last button and at its end.
        ASSERT_FALSE(m_pWrapped->IsFloating());
        CQVTControl* pLast = Button(m_pWrapped, m_pWrapped->GetControlCount() - 1);
        const CRect rcFirstRow = Button(m_pWrapped, 0)->GetRowRect();
        ASSERT_TRUE(pLast->IsVisible());
        ASSERT_GE(pLast->GetRect().top, rcFirstRow.bottom) << "the toolbar wrapped";
        CScreenCapture wrapped(m_pWrapped);
        EXPECT_EQ(pTheme->m_grcToolBar.clrDark.GetValue(),
                  wrapped.At(pLast->GetRect().right + X(6), pLast->GetRect().CenterPoint().y));
        EXPECT_EQ(pTheme->m_grcToolBar.clrDark.GetValue(),
                  wrapped.At(pLast->GetRect().right + X(6), wrapped.Height() - 3));

        // The left toolbar: dots in a row 6 px down, a separator line above
        // its group, the shadow along its right edge.
        ASSERT_EQ(Bars()->GetDockBar(qvtBarLeft), m_pLeft->GetParent());
        CScreenCapture left(m_pLeft);
        EXPECT_EQ(Color(38), left.At(X(4), Y(6)));
        EXPECT_EQ(Color(COLOR_WINDOW), left.At(X(4) + 2, Y(6) + 2));
        const CQVTControl* pGroup = Button(m_pLeft, 1);
        const int yLine = pGroup->GetRect().top - Y(4);
        EXPECT_EQ(Color(39), left.At(pGroup->GetRowRect().CenterPoint().x, yLine));
        EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), left.At(pGroup->GetRowRect().CenterPoint().x, yLine + 1));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), left.At(left.Width() - 1, left.Height() / 2));

        // The floating toolbar, narrowed to two rows: a two-pixel frame and
        // a gradient per row.
        ASSERT_TRUE(m_pFloating->IsFloating());
        int nSecondRow = -1;
        for (int i = 1; i < m_pFloating->GetControlCount() && nSecondRow < 0; ++i)
            if (Button(m_pFloating, i)->IsVisible() && Button(m_pFloating, i)->GetWrap())
                nSecondRow = i;
        ASSERT_GT(nSecondRow, 0) << "the floating toolbar wrapped";
        CScreenCapture floating(m_pFloating);
        EXPECT_EQ(Color(61), floating.At(0, floating.Height() / 2));
        EXPECT_EQ(Color(61), floating.At(1, floating.Height() / 2));
        const CRect rcSecondRow = Button(m_pFloating, nSecondRow)->GetRowRect();
        if (pTheme->m_grcToolBar.clrLight.GetValue() != pTheme->m_grcToolBar.clrDark.GetValue())
        {
            EXPECT_TRUE(NearColor(pTheme->m_grcToolBar.clrLight,
                                  floating.At(floating.Width() - X(5), rcSecondRow.top), 12));
            EXPECT_FALSE(NearColor(pTheme->m_grcToolBar.clrLight,
                                   floating.At(floating.Width() - X(5), rcSecondRow.top - 2), 2));
        }

        // The floating dialog bar's gripper: 8 px wide, dots 5 px from the
        // left, over its caption strip.
        ASSERT_TRUE(m_pDialogBar->IsFloating());
        CScreenCapture dialog(m_pDialogBar);
        const int yDot = Y(3) + Y(4);
        EXPECT_EQ(Color(38), dialog.At(X(5), yDot));
        EXPECT_EQ(Color(COLOR_WINDOW), dialog.At(X(6) + 1, yDot + 2));
        EXPECT_EQ(CSize(X(8), std::max(Y(25), m_pDialogBar->GetIconSize().cy + Y(6))),
                  QVTPaintManager()->DrawSmallGripper(nullptr, m_pDialogBar, FALSE));
    }
}

TEST_F(Office2003Frame, AnOpenMenuShowsTheGradientIconColumnUnlessItsGripperIsOff)
{
    UseScheme(1);
    Layout();
    CQVTPopupBar* pPopup = ThemeTest::OpenFirstMenu(m_pMenuBar);
    ASSERT_NE(nullptr, pPopup);
    const ThemeTest::MenuColumn column = ThemeTest::ReadMenuColumn(pPopup);
    ASSERT_FALSE(column.filled.empty());
    int nUnlikeFace = 0;
    for (size_t i = 0; i < column.filled.size(); ++i)
    {
        EXPECT_TRUE(NearColor(column.filled[i], column.shown[i], 2)) << i;
        nUnlikeFace += column.filled[i] != Color(41);
    }
    EXPECT_GT(nUnlikeFace, 0);

    // A menu without the gripper keeps the plain face there.
    CQVTCommandBars::ClosePopups();
    PumpMessages(20);
    pPopup->SetShowGripper(FALSE);
    ASSERT_EQ(pPopup, ThemeTest::OpenFirstMenu(m_pMenuBar));
    for (COLORREF clr : ThemeTest::ReadMenuColumn(pPopup).shown)
        EXPECT_EQ(Color(41), clr);
    CQVTCommandBars::ClosePopups();
    PumpMessages(20);
}

TEST_F(Office2003Frame, SilverHotButtonUnderThePointerShowsTheSelectedGradient)
{
    for (int nScheme : {3, 0})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        Layout();
        CQVTControl* pButton = Button(m_pSecond, 1);
        CRect rc = pButton->GetRect();
        CPoint pt = rc.CenterPoint();
        m_pSecond->ClientToScreen(&pt);
        // Bars track the pointer only while their application is active,
        // and a window of another test program may take that meanwhile.
        BOOL bHot = FALSE;
        for (int nAttempt = 0; nAttempt < 3 && !bHot; ++nAttempt)
        {
            s_pFrame->SetForegroundWindow();
            PumpUntil([] { return ::GetForegroundWindow() == s_pFrame->GetSafeHwnd(); }, 2000);
            MouseMoveTo(CPoint(pt.x - 30, pt.y + Y(120)));
            PumpMessages(20);
            MouseMoveTo(pt);
            bHot = PumpUntil([&] { return pButton->GetSelected() != 0; }, 3000);
        }
        ASSERT_TRUE(bHot);
        m_pSecond->UpdateWindow();
        PumpMessages(20);

        CScreenCapture bar(m_pSecond);
        rc = pButton->GetRect();
        if (nScheme == 3)
        {
            EXPECT_EQ(RGB(0x4B, 0x4B, 0x6F), bar.At(rc.left, rc.top));
            EXPECT_EQ(RGB(0x4B, 0x4B, 0x6F), bar.At(rc.right - 1, rc.bottom - 1));
            EXPECT_TRUE(NearColor(RGB(0xFF, 0xF2, 0xC8), bar.At(rc.left + 2, rc.top + 1), 4));
            EXPECT_TRUE(NearColor(RGB(0xFF, 0xD4, 0x97), bar.At(rc.left + 2, rc.bottom - 2), 8));
        }
        else
        {
            // Without a scheme: the flat rectangle of the XP look.
            EXPECT_EQ(Color(32), bar.At(rc.left, rc.top));
            EXPECT_EQ(Color(31), bar.At(rc.left + 2, rc.top + 1));
            EXPECT_EQ(Color(31), bar.At(rc.left + 2, rc.bottom - 2));
        }
        MouseMoveTo(CPoint(pt.x - 30, pt.y + Y(120)));
        PumpMessages(20);
    }
}

TEST_F(Office2003Frame, StatusBarGripperBandsAndPaneFramesWithoutVisualStyles)
{
    for (int nScheme : {0, 1, 3})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        QVTPaintManager()->m_bThemedStatusBar = FALSE;
        QVTPaintManager()->RefreshMetrics();
        Layout();
        CDibCapture status(m_pStatus);
        CQVTStatusBarPaintManager* pPainter = QVTPaintManager()->GetStatusBarPaintManager();
        const COLORREF clrDark = pPainter->m_clrGripperDark, clrLite = pPainter->m_clrGripperLite;

        // Along the bottom row from the right: bands of N dark lines and
        // the light ones, a gap of one line between bands.
        const int nDpi = QVTDpiScaler()->GetDpiX();
        const int nDark = nDpi >= 144 ? 4 : 3, nLight = nDpi >= 120 ? 2 : 1, nGap = 1;
        std::string pattern, expected;
        for (int nOffset = 2; nOffset < 2 + 3 * (nDark + nLight + nGap) - nGap; ++nOffset)
        {
            const COLORREF clr = status.At(status.Width() - nOffset, status.Height() - 1);
            pattern += clr == clrDark ? 'D' : clr == clrLite ? 'L' : '.';
        }
        for (int nBand = 0; nBand < 3; ++nBand)
            expected += std::string(nDark, 'D') + std::string(nLight, 'L') + (nBand < 2 ? "." : "");
        EXPECT_EQ(expected, pattern);
        // The same lines reach the right edge, rising at 45 degrees.
        EXPECT_EQ(clrDark, status.At(status.Width() - 1, status.Height() - 2));

        // Panes framed in one colour: light grey with the blue and olive
        // sets, cream with the silver one.
        const COLORREF clrFrame = nScheme == 1   ? RGB(0xD3, 0xD3, 0xD3)
                                  : nScheme == 3 ? RGB(0xEC, 0xEB, 0xDA)
                                                 : CQVTColorManager::BlendColors(Color(15), Color(5), 70);
        const CRect rcPane = m_pStatus->GetPane(1)->GetRect();
        EXPECT_EQ(clrFrame, status.At(rcPane.left, rcPane.CenterPoint().y));
        EXPECT_EQ(clrFrame, status.At(rcPane.right - 1, rcPane.CenterPoint().y));
        QVTPaintManager()->m_bThemedStatusBar = TRUE;
    }
}
