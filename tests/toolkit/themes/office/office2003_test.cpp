// The gradient theme on the screen: toolbars docked side by side in one dock
// bar share one dock-bar gradient, a wrapped toolbar fills its further rows
// with the dark colour, a left toolbar and a floating one, a dialog bar's
// gripper and a menu's icon column, in the scheme sets and without one; hot
// buttons under the real pointer; control faces by state; the expand
// button's glyphs; the low-colour faces. Runs at 96 and at 144 DPI.
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
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/color_near.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
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

// A bar that reports itself as a dialog bar.
class CDialogLikeBar : public CTestBar
{
public:
    BOOL IsDialogBar() const override { return TRUE; }
};

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

// One shown top-most frame for the whole program: a top dock bar with two
// toolbars side by side and a wrapped one below them, a left dock bar with a
// toolbar, a floating toolbar, a dialog bar and a menu.
class Office2003Frame : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_pHost = new CWnd();
        s_pHost->CreateEx(WS_EX_TOPMOST,
                          AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                          _T("Office 2003 frame"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                          CRect(300, 40, 300 + X(640), 40 + Y(400)), nullptr, 0);
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
        UseScheme(0);
        m_topDock.Create(s_pHost, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE81B);
        m_topDock.MoveWindow(0, 0, X(640), Y(100));
        m_leftDock.Create(s_pHost, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 0xE81C);
        m_leftDock.MoveWindow(0, Y(100), X(60), Y(300));

        m_pFirst = MakeBar(&m_topDock, qvtBarTop, {_T("One"), _T("Two"), _T("Three")});
        m_pSecond = MakeBar(&m_topDock, qvtBarTop, {_T("Four"), _T("Five"), _T("Six")});
        m_pWrapped = MakeBar(&m_topDock, qvtBarTop, {_T("Seven"), _T("Eight"), _T("Nine"), _T("Ten")});
        m_pLeft = MakeBar(&m_leftDock, qvtBarLeft, {_T("A"), _T("B"), _T("C")});
        m_pFloating = MakeBar(s_pHost, qvtBarFloating, {_T("Float"), _T("Wrap"), _T("More")});
        m_pFloating->SetFlags(0x0F);
        m_pMenu = MakeBar(s_pHost, qvtBarPopup, {_T("Open"), _T("Save"), _T("Close")});
        m_pMenu->SetType(qvtBarTypePopup);
        m_pDialogBar = new CDialogLikeBar();
        m_pDialogBar->m_pParentWnd = s_pHost;
        m_pDialogBar->Create(qvtBarFloating);

        // A status bar on a sizable window, so that it shows its gripper.
        m_statusParent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE | WS_THICKFRAME,
                                CRect(X(100), Y(330), X(640), Y(400)), s_pHost, 0xE81D);
        m_pStatus = new CQVTStatusBar();
        m_pStatus->Create(&m_statusParent);
        for (UINT nId : {0u, 2001u, 2002u})
            if (CQVTStatusBarPane* pPane = m_pStatus->AddIndicator(nId))
            {
                pPane->SetText(_T("Ready"));
                pPane->SetWidth(X(60));
            }

        m_pFirst->GetControls()->GetAt(2)->SetBeginGroup(TRUE);
        m_pLeft->GetControls()->GetAt(1)->SetBeginGroup(TRUE);
        m_pFloating->GetControls()->GetAt(2)->SetWrap(TRUE);
        Layout();
    }
    void TearDown() override
    {
        for (CTestBar* pBar : {m_pFirst, m_pSecond, m_pWrapped, m_pLeft, m_pFloating, m_pMenu,
                               static_cast<CTestBar*>(m_pDialogBar)})
        {
            pBar->DestroyWindow();
            pBar->InternalRelease();
        }
        m_topDock.DestroyWindow();
        m_leftDock.DestroyWindow();
        m_pStatus->DestroyWindow();
        delete m_pStatus;
        m_statusParent.DestroyWindow();
    }

    CTestBar* MakeBar(CWnd* pParent, int nPosition, std::initializer_list<LPCTSTR> captions)
    {
        CTestBar* pBar = new CTestBar();
        pBar->m_pParentWnd = pParent;
        pBar->Create(nPosition);
        UINT nId = 100;
        for (LPCTSTR lpszCaption : captions)
        {
            CQVTControl* pButton = pBar->GetControls()->AddByType(qvtControlButton, nId++);
            pButton->SetCaption(lpszCaption);
            pButton->SetStyle(qvtButtonCaption);
        }
        return pBar;
    }

    // Places the bars and paints them in the current theme.
    void Layout()
    {
        const CSize szFirst = m_pFirst->Layout(X(240));
        m_pFirst->MoveWindow(0, 0, szFirst.cx, szFirst.cy);
        const CSize szSecond = m_pSecond->Layout(X(240));
        m_pSecond->MoveWindow(szFirst.cx, 0, szSecond.cx, szSecond.cy);
        // Too narrow for one row: the toolbar wraps.
        const CSize szWrapped = m_pWrapped->Layout(X(110));
        m_pWrapped->MoveWindow(0, szFirst.cy, X(110), szWrapped.cy);

        m_pLeft->SetTextOrientation(2);
        CRect rcLeft(0, 0, X(56), Y(200));
        m_pLeft->MoveWindow(rcLeft);
        m_pLeft->Layout(rcLeft.Height());

        const CSize szFloat = m_pFloating->Layout(X(200));
        m_pFloating->MoveWindow(X(300), Y(230), X(200), szFloat.cy + Y(30));
        m_pFloating->Layout(X(200));

        const CSize szMenu = m_pMenu->Layout(0);
        m_pMenu->MoveWindow(X(120), Y(120), szMenu.cx, szMenu.cy);
        m_pMenu->Layout(0);

        m_pDialogBar->MoveWindow(X(520), Y(120), X(100), Y(60));
        CRect rcStatusParent;
        m_statusParent.GetClientRect(&rcStatusParent);
        m_pStatus->MoveWindow(0, rcStatusParent.bottom - Y(24), rcStatusParent.Width(), Y(24));
        m_pStatus->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        for (CTestBar* pBar : {m_pFirst, m_pSecond, m_pWrapped, m_pLeft, m_pFloating, m_pMenu,
                               static_cast<CTestBar*>(m_pDialogBar)})
        {
            pBar->Redraw();
            pBar->UpdateWindow();
        }
    }
    CQVTControl* Button(CTestBar* pBar, int i) { return pBar->GetControls()->GetAt(i); }

    static CWnd* s_pHost;
    CQVTDockBar m_topDock;
    CQVTDockBar m_leftDock;
    CTestBar* m_pFirst = nullptr;
    CTestBar* m_pSecond = nullptr;
    CTestBar* m_pWrapped = nullptr;
    CTestBar* m_pLeft = nullptr;
    CTestBar* m_pFloating = nullptr;
    CTestBar* m_pMenu = nullptr;
    CDialogLikeBar* m_pDialogBar = nullptr;
    CWnd m_statusParent;
    CQVTStatusBar* m_pStatus = nullptr;
};
CWnd* Office2003Frame::s_pHost = nullptr;

}  // namespace

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
    for (int nScheme : {0, 1, 2, 3})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        Layout();
        CQVTCommandBarsOffice2003Theme* pTheme = Theme();
        const COLORREF clrLight = pTheme->m_grcDockBar.clrLight, clrDark = pTheme->m_grcDockBar.clrDark;
        CRect rcDock;
        m_topDock.GetClientRect(&rcDock);
        const double dWidth = std::max<int>(rcDock.Width(), ::GetSystemMetrics(SM_CXSCREEN) / 2);
        CDibCapture first(m_pFirst), second(m_pSecond);
        // The top row of both bars shows the dock bar's gradient at the dock bar's x.
        const int xJoin = first.Width();
        EXPECT_TRUE(NearColor(MixColor(clrLight, clrDark, (xJoin - 1) / dWidth), first.At(xJoin - 1, 0)));
        EXPECT_TRUE(NearColor(MixColor(clrLight, clrDark, xJoin / dWidth), second.At(0, 0)));
        EXPECT_TRUE(NearColor(MixColor(clrLight, clrDark, (xJoin + second.Width() - 1) / dWidth),
                              second.At(second.Width() - 1, 0)));
        if (nScheme == 3)
            EXPECT_FALSE(NearColor(clrLight, second.At(0, 0), 1))
                << "the second bar started a gradient of its own";

        // Each toolbar's face: its own gradient from one pixel down, and the
        // shadow line along its bottom.
        const int y = Y(2);
        EXPECT_EQ(first.At(X(40), y), second.At(X(40), y));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), first.At(first.Width() / 2, first.Height() - 1));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), second.At(X(5), second.Height() - 1));

        // Embossed gripper dots from 5 px down, every 4 px, 6 px from the left.
        for (int yDot = Y(5); yDot < first.Height() - Y(7); yDot += Y(4))
        {
            EXPECT_EQ(Color(38), first.At(X(6), yDot)) << yDot;
            EXPECT_EQ(Color(COLOR_WINDOW), first.At(X(6) + 2, yDot + 2)) << yDot;
        }
        EXPECT_EQ(X(4) + X(6), Button(m_pFirst, 0)->GetRect().left);

        // A separator of two lines before the group, indented 4 px at both ends.
        const CQVTControl* pGroup = Button(m_pFirst, 2);
        const CRect rcRow = pGroup->GetRowRect();
        const int xLine = pGroup->GetRect().left - X(4);
        EXPECT_EQ(Color(39), first.At(xLine, rcRow.CenterPoint().y));
        EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), first.At(xLine + 1, rcRow.CenterPoint().y));
        EXPECT_NE(Color(39), first.At(xLine, rcRow.top + Y(4) - 1));
        EXPECT_EQ(Color(39), first.At(xLine, rcRow.top + Y(4)));
    }
}

TEST_F(Office2003Frame, WrappedRowsLeftAndFloatingBarsDialogBarsAndMenus)
{
    for (int nScheme : {0, 1, 2, 3})
    {
        SCOPED_TRACE(nScheme);
        UseScheme(nScheme);
        Layout();
        CQVTCommandBarsOffice2003Theme* pTheme = Theme();

        // The wrapped toolbar: its second row in the face's dark colour.
        CDibCapture wrapped(m_pWrapped);
        const CRect rcFirstRow = Button(m_pWrapped, 0)->GetRowRect();
        ASSERT_LT(rcFirstRow.bottom + Y(4), wrapped.Height());
        EXPECT_EQ(pTheme->m_grcToolBar.clrDark.GetValue(),
                  wrapped.At(wrapped.Width() - X(4), rcFirstRow.bottom + Y(3)));
        EXPECT_EQ(pTheme->m_grcToolBar.clrDark.GetValue(),
                  wrapped.At(wrapped.Width() - X(4), wrapped.Height() - 3));

        // The left toolbar: dots in a row 6 px down, a separator line above
        // its group, the shadow along its right edge.
        CDibCapture left(m_pLeft);
        EXPECT_EQ(Color(38), left.At(X(4), Y(6)));
        EXPECT_EQ(Color(COLOR_WINDOW), left.At(X(4) + 2, Y(6) + 2));
        const CQVTControl* pGroup = Button(m_pLeft, 1);
        const int yLine = pGroup->GetRect().top - Y(4);
        EXPECT_EQ(Color(39), left.At(pGroup->GetRowRect().CenterPoint().x, yLine));
        EXPECT_EQ(Color(COLOR_BTNHIGHLIGHT), left.At(pGroup->GetRowRect().CenterPoint().x, yLine + 1));
        EXPECT_EQ(pTheme->m_clrToolbarShadow.GetValue(), left.At(left.Width() - 1, left.Height() / 2));

        // The floating toolbar: a two-pixel frame and a gradient per row.
        CDibCapture floating(m_pFloating);
        EXPECT_EQ(Color(61), floating.At(0, floating.Height() / 2));
        EXPECT_EQ(Color(61), floating.At(1, floating.Height() / 2));
        const CRect rcSecondRow = Button(m_pFloating, 2)->GetRowRect();
        if (pTheme->m_grcToolBar.clrLight.GetValue() != pTheme->m_grcToolBar.clrDark.GetValue())
        {
            EXPECT_TRUE(NearColor(pTheme->m_grcToolBar.clrLight,
                                  floating.At(floating.Width() - X(5), rcSecondRow.top), 12));
            EXPECT_FALSE(NearColor(pTheme->m_grcToolBar.clrLight,
                                   floating.At(floating.Width() - X(5), rcSecondRow.top - 2), 2));
        }

        // The dialog bar's gripper: 8 px wide, dots 5 px from the left on the
        // inactive toolbar face.
        CDibCapture dialog(m_pDialogBar);
        const int yDot = Y(3) + Y(4);
        EXPECT_EQ(Color(38), dialog.At(X(5), yDot));
        EXPECT_EQ(Color(COLOR_WINDOW), dialog.At(X(6) + 1, yDot + 2));
        EXPECT_EQ(CSize(X(8), std::max(Y(25), m_pDialogBar->GetIconSize().cy + Y(6))),
                  QVTPaintManager()->DrawSmallGripper(nullptr, m_pDialogBar, FALSE));

        // The menu's icon column: the gripper gradient from left to right.
        CDibCapture menu(m_pMenu);
        const int nColumn = QVTPaintManager()->GetPopupBarGutterWidth(m_pMenu);
        const CRect rcItem = Button(m_pMenu, 0)->GetRect();
        const COLORREF clrColumnLeft = menu.At(rcItem.left, rcItem.CenterPoint().y);
        const COLORREF clrColumnRight = menu.At(rcItem.left + nColumn - 3, rcItem.CenterPoint().y);
        EXPECT_TRUE(NearColor(pTheme->m_grcGripper.clrLight, clrColumnLeft, 12));
        if (pTheme->m_grcGripper.clrLight.GetValue() != pTheme->m_grcGripper.clrDark.GetValue())
            EXPECT_NE(clrColumnLeft, clrColumnRight);
        EXPECT_EQ(Color(41), menu.At(rcItem.right - X(4), rcItem.CenterPoint().y));
    }
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
            s_pHost->SetForegroundWindow();
            PumpUntil([] { return ::GetForegroundWindow() == s_pHost->GetSafeHwnd(); }, 2000);
            MouseMoveTo(CPoint(pt.x - 30, pt.y + Y(120)));
            PumpMessages(20);
            MouseMoveTo(pt);
            bHot = PumpUntil([&] { return pButton->GetSelected() != 0; }, 3000);
        }
        ASSERT_TRUE(bHot);
        m_pSecond->UpdateWindow();
        PumpMessages(20);

        CDibCapture bar(m_pSecond);
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
