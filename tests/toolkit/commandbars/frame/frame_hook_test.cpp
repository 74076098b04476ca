// The bars' frame hook on a captioned frame window, drawn by a test frame
// theme with flat colours: the region, borders and client area it gives the
// frame and gives back, its hit tests, caption buttons under real input (hot
// state, a press tracked in its own loop, the system menu), a press loop that
// outlives its frame or its hook, and the compositor's paths through a
// stand-in compositor.
#include <afxwin.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

namespace {

class CFrameHookTestApp : public CWinApp
{
public:
    CFrameHookTestApp() : CWinApp(_T("FrameHookTest")) {}
};
CFrameHookTestApp theApp;

const CRect kFrameRect(120, 100, 620, 400);
const CRect kTestBorders(5, 4, 6, 7);
const int kTestCaption = 24;
const CSize kTestButton(20, 18);
const COLORREF kActiveBorder = RGB(200, 30, 30);
const COLORREF kInactiveBorder = RGB(30, 30, 200);
const COLORREF kButtonNormal = RGB(128, 128, 128);
const COLORREF kButtonHot = RGB(0, 160, 0);
const COLORREF kButtonPressed = RGB(240, 200, 0);
const UINT kDestroyMessage = WM_APP + 1;
const UINT kThemeOffMessage = WM_APP + 2;

}  // namespace

// Flat colours: borders and caption by activation, each caption button by
// its state; the region cuts a 3-pixel square off each top corner.
class CTestFramePaintManager : public CQVTFramePaintManager
{
public:
    explicit CTestFramePaintManager(CQVTPaintManager* pPaintManager) : CQVTFramePaintManager(pPaintManager)
    {
        m_nCaptionHeight = kTestCaption;
        m_szCaptionButton = kTestButton;
    }

    CRect CalcFrameBorders(IQVTFrameHook*) override { return m_rcBorders; }
    int GetCaptionHeight() override { return m_nCaption; }
    CSize GetCaptionButtonSize(int, HWND) override { return kTestButton; }
    HRGN CreateFrameRegion(IQVTFrameHook*, CSize sz) override
    {
        HRGN hRgn = ::CreateRectRgn(0, 0, sz.cx, sz.cy);
        HRGN hCorner = ::CreateRectRgn(0, 0, 3, 3);
        ::CombineRgn(hRgn, hRgn, hCorner, RGN_DIFF);
        ::SetRectRgn(hCorner, sz.cx - 3, 0, sz.cx, 3);
        ::CombineRgn(hRgn, hRgn, hCorner, RGN_DIFF);
        ::DeleteObject(hCorner);
        ++m_nRegionsMade;
        return hRgn;
    }
    void DrawFrame(CDC* pDC, IQVTFrameHook* pHook) override
    {
        CRect rcWindow;
        ::GetWindowRect(pHook->GetSite(), &rcWindow);
        rcWindow.OffsetRect(-rcWindow.TopLeft());
        pDC->FillSolidRect(rcWindow, pHook->IsFrameActive() ? kActiveBorder : kInactiveBorder);
        CRect rc = GetCaptionRect(pHook);
        DrawCaptionButtons(pDC, pHook, rc);
    }
    void DrawCaptionButton(CDC* pDC, CRect rc, int, BOOL bSelected, BOOL bPressed, BOOL, BOOL,
                           CQVTRibbonBar*) override
    {
        pDC->FillSolidRect(rc, bPressed ? kButtonPressed : (bSelected ? kButtonHot : kButtonNormal));
    }

    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override
    {
        return m_bShadow ? CQVTFrameShadowManager::GetInstance()->EnableShadow(pFrame) : nullptr;
    }

    int m_nRegionsMade = 0;
    int m_nCaption = kTestCaption;
    CRect m_rcBorders = kTestBorders;
    BOOL m_bShadow = FALSE;  // the theme casts a shadow
};

class CTestFrameTheme : public CQVTCommandBarsOfficeXPTheme
{
public:
    CTestFrameTheme() : m_frame(this) {}
    CQVTFramePaintManager* GetFramePaintManager() override { return &m_frame; }
    void RefreshMetrics() override
    {
        CQVTCommandBarsOfficeXPTheme::RefreshMetrics();
        ++m_nRefreshes;
    }

    CTestFramePaintManager m_frame;
    int m_nRefreshes = 0;
};

namespace {

// The ribbon's command-bar theme, whose frames may take the status bar into
// their bottom border.
class CTestRibbonFrameTheme : public CQVTRibbonTheme
{
public:
    CTestRibbonFrameTheme() : m_frame(this) { m_frame.m_bAllowStatusBarInFrame = TRUE; }
    CQVTFramePaintManager* GetFramePaintManager() override { return &m_frame; }

    CTestFramePaintManager m_frame;
};

}  // namespace

// A captioned frame with bars; a posted message destroys it or switches its
// frame theme off, as a command handler might while a press is tracked.
class CHookedFrame : public CFrameWnd
{
public:
    // With bTestTheme FALSE the bars draw with the global theme.
    BOOL CreateFrame(DWORD dwStyle, DWORD dwExStyle = 0, BOOL bTestTheme = TRUE)
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!Create(lpszClass, _T("Hooked frame"), dwStyle, kFrameRect, nullptr, nullptr,
                    dwExStyle | WS_EX_TOPMOST))
            return FALSE;
        m_pCommandBars = CQVTCommandBars::CreateCommandBars();
        m_pCommandBars->SetSite(this);
        if (bTestTheme)
        {
            m_pTheme = new CTestFrameTheme();
            m_pCommandBars->SetPaintManager(m_pTheme);
        }
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        UpdateWindow();
        return TRUE;
    }
    void PostNcDestroy() override
    {
        if (m_pCommandBars)
            m_pCommandBars->InternalRelease();
        m_pCommandBars = nullptr;
        delete this;
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_SYSCOMMAND)
            m_sysCommands.push_back(static_cast<UINT>(wParam & 0xFFF0));
        if (message == 0x0313)
            ++m_nSystemMenus;
        if (message == WM_NCCALCSIZE && !wParam)
            m_measuredStyles.push_back(GetStyle());
        if (message == kDestroyMessage)
        {
            DestroyWindow();
            return TRUE;
        }
        if (message == kThemeOffMessage)
        {
            m_pCommandBars->EnableFrameTheme(FALSE);
            return TRUE;
        }
        return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

    CQVTCommandBars* m_pCommandBars = nullptr;
    CTestFrameTheme* m_pTheme = nullptr;  // held by the bars
    std::vector<UINT> m_sysCommands;
    int m_nSystemMenus = 0;
    std::vector<DWORD> m_measuredStyles;  // the styles at each WM_NCCALCSIZE without a proposal
};

namespace {

CQVTCommandBarsFrameHook* HookOf(CHookedFrame* pFrame)
{
    return pFrame->m_pCommandBars->GetFrameHook();
}

CQVTControl* CaptionButton(CHookedFrame* pFrame, int nId)
{
    return HookOf(pFrame)->GetCaptionButtons()->FindControl(nId);
}

// A caption button's centre on the screen.
POINT ButtonCentre(CHookedFrame* pFrame, int nId)
{
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    const CPoint pt = CaptionButton(pFrame, nId)->GetRect().CenterPoint() + rcWindow.TopLeft();
    return POINT{pt.x, pt.y};
}

COLORREF ScreenPixel(POINT pt)
{
    ::GdiFlush();
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return clr;
}

LRESULT HitTest(CWnd* pFrame, POINT ptScreen)
{
    return pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
}

// The hook's scroll-style fix: the frame measured once with its caption's
// and scroll bars' styles off.
bool MeasuredWithoutFrameStyles(const CHookedFrame* pFrame)
{
    for (DWORD dwStyle : pFrame->m_measuredStyles)
        if (!(dwStyle & (WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL)))
            return true;
    return false;
}

std::vector<int> ShownButtons(CHookedFrame* pFrame)
{
    std::vector<int> ids;
    CQVTControls* pButtons = HookOf(pFrame)->GetCaptionButtons();
    for (int i = 0; i < pButtons->GetCount(); ++i)
        if (pButtons->GetAt(i)->IsVisible())
            ids.push_back(pButtons->GetAt(i)->GetID());
    return ids;
}

}  // namespace

class FrameHookTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Freed memory is overwritten, so a press loop that used its hook
        // after the hook went fails at once.
        mallopt(M_PERTURB, 0xA5);
    }

    void TearDown() override
    {
        MouseMoveTo(POINT{5, 5});
        if (m_pFrame && ::IsWindow(m_hWnd))
            m_pFrame->DestroyWindow();
        PumpMessages(20);
    }

    CHookedFrame* Open(DWORD dwStyle = WS_OVERLAPPEDWINDOW, DWORD dwExStyle = 0, BOOL bTestTheme = TRUE)
    {
        m_pFrame = new CHookedFrame();
        EXPECT_TRUE(m_pFrame->CreateFrame(dwStyle, dwExStyle, bTestTheme));
        m_hWnd = m_pFrame->GetSafeHwnd();
        m_pFrame->m_pCommandBars->EnableFrameTheme(TRUE);
        PumpMessages(50);
        return m_pFrame;
    }

    CHookedFrame* m_pFrame = nullptr;
    HWND m_hWnd = nullptr;
};

namespace {

TEST_F(FrameHookTest, FrameTakesTheThemesRegionBordersAndCaptionAndGetsThemBackWhenSwitchedOff)
{
    CHookedFrame* pFrame = Open();
    CRect rcWindow, rcClient;
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    pFrame->ClientToScreen(&rcClient);
    // Borders of the theme, the caption below the top border.
    EXPECT_EQ(rcClient.left - rcWindow.left, kTestBorders.left);
    EXPECT_EQ(rcWindow.right - rcClient.right, kTestBorders.right);
    EXPECT_EQ(rcWindow.bottom - rcClient.bottom, kTestBorders.bottom);
    EXPECT_EQ(rcClient.top - rcWindow.top, kTestBorders.top + kTestCaption);

    // The theme's region, for the window's size.
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    EXPECT_FALSE(::PtInRegion(hRgn, 1, 1));
    EXPECT_FALSE(::PtInRegion(hRgn, rcWindow.Width() - 2, 1));
    EXPECT_TRUE(::PtInRegion(hRgn, 4, 4));
    EXPECT_TRUE(::PtInRegion(hRgn, rcWindow.Width() - 1, rcWindow.Height() - 1));

    // A new size takes a new region; the old size's is not made again.
    const int nMade = pFrame->m_pTheme->m_frame.m_nRegionsMade;
    pFrame->SetWindowPos(nullptr, 0, 0, 420, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    EXPECT_FALSE(::PtInRegion(hRgn, 418, 1));
    EXPECT_TRUE(::PtInRegion(hRgn, 419, 259));
    EXPECT_FALSE(::PtInRegion(hRgn, 421, 100));
    EXPECT_GT(pFrame->m_pTheme->m_frame.m_nRegionsMade, nMade);

    // The theme's borders drawn on the screen, active.
    PumpMessages(50);
    pFrame->GetWindowRect(&rcWindow);
    EXPECT_EQ(ScreenPixel(POINT{rcWindow.left + 1, rcWindow.top + 100}), kActiveBorder);
    EXPECT_EQ(ScreenPixel(POINT{rcWindow.left + 60, rcWindow.top + 10}), kActiveBorder);

    // The minimum size keeps room for the caption (the top border's with it):
    // three times its height, a button and both window edges wide, and as
    // high. A tall caption puts both above the system's own minimum.
    pFrame->m_pTheme->m_frame.m_nCaption = 100;
    const int h = kTestBorders.top + 100;
    MINMAXINFO info = {};
    pFrame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.y, h);
    EXPECT_EQ(info.ptMinTrackSize.x,
              3 * h + ::GetSystemMetrics(SM_CYSIZE) + 2 * ::GetSystemMetrics(SM_CXEDGE));
    pFrame->m_pTheme->m_frame.m_nCaption = kTestCaption;

    // Off: no hook, no region, the system's own frame.
    pFrame->m_pCommandBars->EnableFrameTheme(FALSE);
    EXPECT_EQ(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    EXPECT_EQ(QVTHookManager()->Lookup(m_hWnd), nullptr);
    EXPECT_EQ(CQVTCommandBarsFrameHook::FromFrame(m_hWnd), nullptr);
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    CRect rcExpected(rcClient);
    ::AdjustWindowRectEx(&rcExpected, pFrame->GetStyle(), FALSE, pFrame->GetExStyle());
    EXPECT_EQ(rcExpected.Size(), rcWindow.Size());
    ::DeleteObject(hRgn);
}

TEST_F(FrameHookTest, FrameFollowsANewThemeAndTakesAStatusBarIntoItsBorder)
{
    CHookedFrame* pFrame = Open();
    // A theme with a shadow: the hook casts it once told of the theme.
    CTestFrameTheme* pShadowed = new CTestFrameTheme();
    pShadowed->m_frame.m_bShadow = TRUE;
    pFrame->m_pCommandBars->SetPaintManager(pShadowed);
    ASSERT_NE(HookOf(pFrame)->GetFrameShadow(), nullptr);
    EXPECT_EQ(CQVTFrameShadowManager::GetInstance()->GetShadow(m_hWnd), HookOf(pFrame)->GetFrameShadow());

    // A theme with other borders and no shadow: the shadow goes before.
    CTestFrameTheme* pThin = new CTestFrameTheme();
    pThin->m_frame.m_rcBorders.SetRect(2, 2, 2, 3);
    pFrame->m_pCommandBars->SetPaintManager(pThin);
    PumpMessages(20);
    CRect rcWindow, rcClient;
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    pFrame->ClientToScreen(&rcClient);
    EXPECT_EQ(rcClient.left - rcWindow.left, 2);
    EXPECT_EQ(rcWindow.bottom - rcClient.bottom, 3);
    EXPECT_EQ(rcClient.top - rcWindow.top, 2 + kTestCaption);
    EXPECT_EQ(HookOf(pFrame)->GetFrameShadow(), nullptr);
    EXPECT_EQ(CQVTFrameShadowManager::GetInstance()->GetShadow(m_hWnd), nullptr);

    // Under the ribbon's theme a shown status bar merges into the bottom
    // border, 3 pixels thinner, and sizes the frame from its lowest rows.
    CTestRibbonFrameTheme* pRibbonTheme = new CTestRibbonFrameTheme();
    pFrame->m_pCommandBars->SetPaintManager(pRibbonTheme);
    CQVTStatusBar* pStatusBar = new CQVTStatusBar();
    ASSERT_TRUE(pStatusBar->Create(pFrame));
    pStatusBar->SetCommandBars(pFrame->m_pCommandBars);
    pFrame->RecalcLayout();
    HookOf(pFrame)->RecalcFrameLayout();
    PumpMessages(20);
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    pFrame->ClientToScreen(&rcClient);
    EXPECT_TRUE(HookOf(pFrame)->IsFrameHasStatusBar());
    EXPECT_EQ(rcWindow.bottom - rcClient.bottom, kTestBorders.bottom - 3);
    CRect rcStatus;
    pStatusBar->GetWindowRect(&rcStatus);
    EXPECT_EQ(pStatusBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcStatus.left + 40, rcStatus.bottom - 1)),
              HTBOTTOM);
    EXPECT_EQ(pStatusBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcStatus.left + 40, rcStatus.top + 2)),
              HTCLIENT);
    // Hidden, the border is whole again and the bar's rows are its own.
    pStatusBar->ShowWindow(SW_HIDE);
    HookOf(pFrame)->RecalcFrameLayout();
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    pFrame->ClientToScreen(&rcClient);
    EXPECT_EQ(rcWindow.bottom - rcClient.bottom, kTestBorders.bottom);
    EXPECT_EQ(pStatusBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcStatus.left + 40, rcStatus.bottom - 1)),
              HTCLIENT);
    pStatusBar->DestroyWindow();
    delete pStatusBar;
}

TEST_F(FrameHookTest, FrameFollowsNewImagesADelayedRecalculationAndAMinimizedMaximize)
{
    CHookedFrame* pFrame = Open();
    CTestFramePaintManager& frame = pFrame->m_pTheme->m_frame;
    // New resource images: the theme's metrics are refreshed.
    const int nRefreshes = pFrame->m_pTheme->m_nRefreshes;
    QVTResourceImages()->GetConnection()->FireEvent(QVT_NOTIFY_RESOURCE_IMAGES_CHANGED);
    EXPECT_GT(pFrame->m_pTheme->m_nRefreshes, nRefreshes);

    // A delayed recalculation waits for the idle update, then makes the
    // region again.
    const int nRegions = frame.m_nRegionsMade;
    HookOf(pFrame)->DelayRecalcFrame();
    EXPECT_EQ(frame.m_nRegionsMade, nRegions);
    PumpMessages(30);
    EXPECT_GT(frame.m_nRegionsMade, nRegions);

    // A frame minimized while it still says maximized loses that style.
    pFrame->ModifyStyle(0, WS_MAXIMIZE);
    pFrame->SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(pFrame->GetStyle() & WS_MAXIMIZE);
}

TEST_F(FrameHookTest, CaptionButtonsFollowTheFramesStylesAndHitTest)
{
    CHookedFrame* pFrame = Open();
    EXPECT_EQ(ShownButtons(pFrame), (std::vector<int>{SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}));
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    // Right to left from the caption's right end, inside the right border.
    EXPECT_EQ(CaptionButton(pFrame, SC_CLOSE)->GetRect(),
              CRect(rcWindow.Width() - kTestBorders.right - kTestButton.cx, kTestBorders.top,
                    rcWindow.Width() - kTestBorders.right, kTestBorders.top + kTestButton.cy));
    EXPECT_EQ(CaptionButton(pFrame, SC_MAXIMIZE)->GetRect().right,
              CaptionButton(pFrame, SC_CLOSE)->GetRect().left);

    EXPECT_EQ(HitTest(pFrame, ButtonCentre(pFrame, SC_CLOSE)), HTCLOSE);
    EXPECT_EQ(HitTest(pFrame, ButtonCentre(pFrame, SC_MAXIMIZE)), HTMAXBUTTON);
    EXPECT_EQ(HitTest(pFrame, ButtonCentre(pFrame, SC_MINIMIZE)), HTMINBUTTON);
    EXPECT_EQ(HitTest(pFrame, POINT{rcWindow.left + 12, rcWindow.top + 14}), HTSYSMENU);
    EXPECT_EQ(HitTest(pFrame, POINT{rcWindow.left + 200, rcWindow.top + 14}), HTCAPTION);
    EXPECT_EQ(HitTest(pFrame, POINT{rcWindow.left + 200, rcWindow.top + 150}), HTCLIENT);

    // A disabled close item of the system menu disables the close button,
    // which then hit-tests as caption.
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    pFrame->SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_FALSE(CaptionButton(pFrame, SC_CLOSE)->GetEnabled());
    EXPECT_EQ(HitTest(pFrame, ButtonCentre(pFrame, SC_CLOSE)), HTCAPTION);
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);

    // Maximized: restore in maximize's place, the work area as region.
    pFrame->ShowWindow(SW_MAXIMIZE);
    PumpMessages(50);
    EXPECT_EQ(ShownButtons(pFrame), (std::vector<int>{SC_CLOSE, SC_RESTORE, SC_MINIMIZE}));
    MONITORINFO mi = {sizeof(mi)};
    ::GetMonitorInfo(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    pFrame->GetWindowRect(&rcWindow);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    CRect rcRegion;
    ASSERT_NE(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    ::GetRgnBox(hRgn, &rcRegion);
    rcRegion.OffsetRect(rcWindow.TopLeft());
    EXPECT_EQ(rcRegion, CRect(mi.rcWork));
    ::DeleteObject(hRgn);
    pFrame->ShowWindow(SW_RESTORE);
    PumpMessages(20);

    // A tool window shows close alone; without a system menu no button, and
    // the icon's place is caption.
    pFrame->ModifyStyleEx(0, WS_EX_TOOLWINDOW);
    pFrame->SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_EQ(ShownButtons(pFrame), (std::vector<int>{SC_CLOSE}));
    pFrame->ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
    pFrame->ModifyStyle(WS_SYSMENU, 0);
    pFrame->SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_TRUE(ShownButtons(pFrame).empty());
    pFrame->GetWindowRect(&rcWindow);
    EXPECT_EQ(HitTest(pFrame, POINT{rcWindow.left + 12, rcWindow.top + 14}), HTCAPTION);
}

TEST_F(FrameHookTest, HotButtonClearsSoonAfterThePointerLeavesWithoutANonClientMove)
{
    CHookedFrame* pFrame = Open();
    const POINT ptClose = ButtonCentre(pFrame, SC_CLOSE);
    MouseMoveTo(POINT{ptClose.x - 60, ptClose.y});
    MouseMoveTo(ptClose);
    ASSERT_TRUE(PumpUntil([&] { return HookOf(pFrame)->GetHotButton() == CaptionButton(pFrame, SC_CLOSE); }));
    EXPECT_EQ(ScreenPixel(ptClose), kButtonHot);
    // Straight off the frame: the frame hears no move.
    MouseMoveTo(POINT{kFrameRect.right + 100, kFrameRect.bottom + 100});
    EXPECT_TRUE(PumpUntil([&] { return HookOf(pFrame)->GetHotButton() == nullptr; }, 1000));
    PumpMessages(30);
    EXPECT_EQ(ScreenPixel(ptClose), kButtonNormal);
}

TEST_F(FrameHookTest, PressMaximizesOnlyWhenReleasedOnTheButton)
{
    CHookedFrame* pFrame = Open();
    const DWORD dwThread = ::GetCurrentThreadId();
    POINT ptMaximize = ButtonCentre(pFrame, SC_MAXIMIZE);
    COLORREF clrPressed = 0;
    COLORREF clrOff = 0;
    // Released away from it: nothing.
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(100);
        clrPressed = ScreenPixel(ptMaximize);
        ScriptMouseMove(POINT{ptMaximize.x - 150, ptMaximize.y + 80}, 100);
        clrOff = ScreenPixel(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    EXPECT_EQ(clrPressed, kButtonPressed);
    EXPECT_EQ(clrOff, kButtonHot);
    EXPECT_FALSE(pFrame->IsZoomed());
    EXPECT_TRUE(pFrame->m_sysCommands.empty());
    EXPECT_EQ(::GetCapture(), nullptr);

    // Released on it: maximized.
    ::Sleep(::GetDoubleClickTime());
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    PumpMessages(50);
    EXPECT_TRUE(pFrame->IsZoomed());
    EXPECT_EQ(pFrame->m_sysCommands, (std::vector<UINT>{SC_MAXIMIZE}));
}

TEST_F(FrameHookTest, RightClickOnTheCaptionOpensTheSystemMenu)
{
    CHookedFrame* pFrame = Open();
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    const POINT ptCaption{rcWindow.left + 200, rcWindow.top + 12};
    BOOL bMenuShown = FALSE;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptCaption);
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 300);
        HWND hMenu = ::FindWindow(_T("#32768"), nullptr);
        bMenuShown = hMenu && ::IsWindowVisible(hMenu);
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
        ::Sleep(100);
    }));
    EXPECT_TRUE(bMenuShown);
    EXPECT_EQ(pFrame->m_nSystemMenus, 1);
}

TEST_F(FrameHookTest, QuitDuringAPressEndsThePressAndTheLoopAroundIt)
{
    CHookedFrame* pFrame = Open();
    const DWORD dwThread = ::GetCurrentThreadId();
    const POINT ptMaximize = ButtonCentre(pFrame, SC_MAXIMIZE);
    std::atomic<bool> bDone{false};
    WinThread script([&] {
        ScriptMouseMove(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::PostThreadMessage(dwThread, WM_QUIT, 7, 0);
        ScriptWaitForCapture(dwThread, false);
        bDone = true;
    });
    // The outer loop: it must see the quit the press loop took.
    MSG msg = {};
    const DWORD dwStart = ::GetTickCount();
    BOOL bQuit = FALSE;
    while (!bQuit && ::GetTickCount() - dwStart < 5000)
    {
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::Sleep(5);
            continue;
        }
        if (msg.message == WM_QUIT)
            bQuit = TRUE;
        else
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    script.join();
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpMessages(50);
    EXPECT_TRUE(bQuit);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_TRUE(bDone);
    EXPECT_FALSE(pFrame->IsZoomed());
    EXPECT_FALSE(HookOf(pFrame)->IsButtonPressed());
    EXPECT_EQ(HookOf(pFrame)->GetHotButton(), nullptr);
}

TEST_F(FrameHookTest, PressLoopEndsCleanlyWhenItsHookOrItsFrameGoes)
{
    // The theme switched off by a handler the press loop dispatches: the
    // loop ends, the released press sends nothing and draws no frame.
    CHookedFrame* pFrame = Open();
    const DWORD dwThread = ::GetCurrentThreadId();
    POINT ptMaximize = ButtonCentre(pFrame, SC_MAXIMIZE);
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::PostMessage(m_hWnd, kThemeOffMessage, 0, 0);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    EXPECT_EQ(pFrame->m_pCommandBars->GetFrameHook(), nullptr);
    EXPECT_FALSE(pFrame->IsZoomed());
    EXPECT_TRUE(pFrame->m_sysCommands.empty());
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    ::DeleteObject(hRgn);
    pFrame->DestroyWindow();
    PumpMessages(20);

    // The frame destroyed by such a handler: the loop ends and nothing after
    // it touches the frame or the hook it took along.
    pFrame = Open();
    ptMaximize = ButtonCentre(pFrame, SC_MAXIMIZE);
    ::Sleep(::GetDoubleClickTime());
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptMaximize);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::PostMessage(m_hWnd, kDestroyMessage, 0, 0);
        ScriptWaitForCapture(dwThread, false);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_EQ(::GetCapture(), nullptr);
}

// The rectangles of a window's region, 0 without one.
int RegionRectangles(HWND hWnd, CRect* prcBox = nullptr)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    int nCount = 0;
    if (::GetWindowRgn(hWnd, hRgn) != ERROR)
    {
        std::vector<BYTE> data(::GetRegionData(hRgn, 0, nullptr));
        RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
        if (!data.empty() && ::GetRegionData(hRgn, static_cast<DWORD>(data.size()), pData))
        {
            nCount = static_cast<int>(pData->rdh.nCount);
            if (prcBox)
                *prcBox = pData->rdh.rcBound;
        }
    }
    ::DeleteObject(hRgn);
    return nCount;
}

// The window's region is the given one.
BOOL SameRegion(HWND hWnd, HRGN hExpected)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    const BOOL bSame = hExpected && ::GetWindowRgn(hWnd, hRgn) != ERROR && ::EqualRgn(hRgn, hExpected);
    ::DeleteObject(hRgn);
    return bSame;
}

TEST_F(FrameHookTest, ResourceThemeFramesEachSchemeOnScreen)
{
    const LPCTSTR schemes[] = {_T("OFFICE2007BLUE_INI"), _T("OFFICE2007BLACK_INI"), _T("OFFICE2007AQUA_INI"),
                               _T("OFFICE2007SILVER_INI")};
    for (LPCTSTR lpszScheme : schemes)
    {
        SCOPED_TRACE(CStringA(lpszScheme).GetString());
        CQVTPaintManager::SetTheme(qvtThemeResource);
        CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, QVTPaintManager());
        ASSERT_NE(pTheme, nullptr);
        pTheme->SetImageHandle(::GetModuleHandle(nullptr), lpszScheme);
        CHookedFrame* pFrame = Open(WS_OVERLAPPEDWINDOW, 0, FALSE);
        pFrame->SetWindowText(_T("Sondrel"));
        PumpMessages(50);
        CRect rcWindow;
        pFrame->GetWindowRect(&rcWindow);
        const int yMiddle = rcWindow.CenterPoint().y;
        // The four border columns in the scheme's active colours, both sides.
        for (int i = 0; i < 4; ++i)
        {
            CString strKey;
            strKey.Format(_T("BorderActive%d"), i);
            const COLORREF clr = GetResourceImagesIniColor(_T("Window"), strKey, 0xFFFFFFFF);
            EXPECT_EQ(ScreenPixel(POINT{rcWindow.left + i, yMiddle}), clr) << "column " << i;
            EXPECT_EQ(ScreenPixel(POINT{rcWindow.right - 1 - i, yMiddle}), clr) << "column " << i;
        }
        if (lpszScheme == schemes[0])
        {
            const COLORREF blue[] = {RGB(59, 90, 130), RGB(177, 198, 225), RGB(194, 217, 247),
                                     RGB(176, 203, 239)};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(ScreenPixel(POINT{rcWindow.left + i, yMiddle}), blue[i]) << "column " << i;
        }
        // The scheme frame's region for the size: rounded top corners.
        HRGN hPlain = pTheme->GetFramePaintManager()->CreateFrameRegion(HookOf(pFrame), rcWindow.Size());
        EXPECT_TRUE(SameRegion(m_hWnd, hPlain));
        EXPECT_FALSE(::PtInRegion(hPlain, 0, 0));
        EXPECT_TRUE(::PtInRegion(hPlain, 0, rcWindow.Height() - 1));

        // The title centred between the icon and the caption buttons.
        const int nCaption = HookOf(pFrame)->GetCaptionHeight();
        auto captionRow = [&](int y) {
            std::vector<COLORREF> row;
            for (int x = 0; x < rcWindow.Width(); ++x)
                row.push_back(ScreenPixel(POINT{rcWindow.left + x, rcWindow.top + y}));
            return row;
        };
        const int yTitle = nCaption / 2;
        const std::vector<COLORREF> titled = captionRow(yTitle);
        pFrame->SetWindowText(_T(""));
        PumpMessages(30);
        const std::vector<COLORREF> plain = captionRow(yTitle);
        int nLeft = -1, nRight = -1;
        for (int x = 0; x < rcWindow.Width(); ++x)
            if (titled[x] != plain[x])
            {
                nLeft = nLeft < 0 ? x : nLeft;
                nRight = x;
            }
        ASSERT_GE(nLeft, 0);
        const int nButtons = CaptionButton(pFrame, SC_MINIMIZE)->GetRect().left;
        const int nTextLeft = 7 + ::GetSystemMetrics(SM_CXSMICON);
        EXPECT_NEAR((nLeft + nRight) / 2.0, (nTextLeft + nButtons) / 2.0, 6.0);

        // Inactive colours once another window is active.
        const COLORREF clrActiveCaption = ScreenPixel(POINT{rcWindow.left + nButtons - 10, rcWindow.top + 3});
        CFrameWnd* pOther = new CFrameWnd();
        pOther->Create(nullptr, _T("Other"), WS_POPUP | WS_VISIBLE, CRect(700, 600, 800, 700));
        pOther->SetForegroundWindow();
        PumpMessages(80);
        for (int i = 0; i < 4; ++i)
        {
            CString strKey;
            strKey.Format(_T("BorderInactive%d"), i);
            EXPECT_EQ(ScreenPixel(POINT{rcWindow.left + i, yMiddle}),
                      GetResourceImagesIniColor(_T("Window"), strKey, 0xFFFFFFFF))
                << "column " << i;
        }
        EXPECT_NE(ScreenPixel(POINT{rcWindow.left + nButtons - 10, rcWindow.top + 3}), clrActiveCaption);
        pOther->DestroyWindow();

        // A status bar the frame takes in: another region for the same size;
        // maximized: the work area alone.
        pTheme->GetFramePaintManager()->m_bAllowStatusBarInFrame = TRUE;
        CQVTStatusBar* pStatusBar = new CQVTStatusBar();
        ASSERT_TRUE(pStatusBar->Create(pFrame));
        pFrame->RecalcLayout();
        HookOf(pFrame)->RecalcFrameLayout();
        HRGN hMerged = pTheme->GetFramePaintManager()->CreateFrameRegion(HookOf(pFrame), rcWindow.Size());
        EXPECT_TRUE(SameRegion(m_hWnd, hMerged));
        EXPECT_FALSE(::EqualRgn(hMerged, hPlain));
        ::DeleteObject(hMerged);
        ::DeleteObject(hPlain);
        pFrame->ShowWindow(SW_MAXIMIZE);
        PumpMessages(30);
        MONITORINFO mi = {sizeof(mi)};
        ::GetMonitorInfo(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
        CRect rcBox;
        EXPECT_EQ(RegionRectangles(m_hWnd, &rcBox), 1);
        pFrame->GetWindowRect(&rcWindow);
        rcBox.OffsetRect(rcWindow.TopLeft());
        EXPECT_EQ(rcBox, CRect(mi.rcWork));
        pTheme->GetFramePaintManager()->m_bAllowStatusBarInFrame = FALSE;
        pStatusBar->DestroyWindow();
        delete pStatusBar;
        pFrame->DestroyWindow();
        PumpMessages(20);
    }
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
}

// A stand-in compositor: composition on or off as the test says, the frame
// extensions it is asked for recorded.
BOOL g_bFrameHookComposition = FALSE;
std::vector<MARGINS> g_frameHookExtensions;

HRESULT WINAPI FrameHookFakeIsCompositionEnabled(BOOL* pEnabled)
{
    *pEnabled = g_bFrameHookComposition;
    return S_OK;
}

HRESULT WINAPI FrameHookFakeExtendFrame(HWND, const MARGINS* pMargins)
{
    g_frameHookExtensions.push_back(*pMargins);
    return S_OK;
}

TEST_F(FrameHookTest, CompositionLeavesTheFrameToTheCompositorAndItsSwitchGivesItBack)
{
    g_bFrameHookComposition = TRUE;
    g_frameHookExtensions.clear();
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmIsCompositionEnabled,
                                          reinterpret_cast<void*>(&FrameHookFakeIsCompositionEnabled));
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmExtendFrameIntoClientArea,
                                          reinterpret_cast<void*>(&FrameHookFakeExtendFrame));
    CHookedFrame* pFrame = Open();
    EXPECT_TRUE(HookOf(pFrame)->IsDwmEnabled());
    EXPECT_TRUE(pFrame->m_pCommandBars->IsFrameCompositionEnabled());
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    // No ribbon draws a caption: the frame is not extended.
    ASSERT_FALSE(g_frameHookExtensions.empty());
    EXPECT_EQ(g_frameHookExtensions.back().cyTopHeight, 0);
    // The system's own borders and caption around the client area.
    CRect rcWindow, rcClient;
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    ::AdjustWindowRectEx(&rcClient, pFrame->GetStyle(), FALSE, pFrame->GetExStyle());
    EXPECT_EQ(rcClient.Size(), rcWindow.Size());

    // Composition goes off: the theme's region comes, and the styles are fixed.
    g_bFrameHookComposition = FALSE;
    pFrame->m_measuredStyles.clear();
    pFrame->SendMessage(WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_FALSE(HookOf(pFrame)->IsDwmEnabled());
    EXPECT_NE(::GetWindowRgn(m_hWnd, hRgn), ERROR);
    EXPECT_TRUE(MeasuredWithoutFrameStyles(pFrame));

    // On again, but the process-wide switch keeps frames themed.
    g_bFrameHookComposition = TRUE;
    CQVTCommandBarsFrameHook::EnableDwm(FALSE);
    pFrame->SendMessage(WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_FALSE(HookOf(pFrame)->IsDwmEnabled());
    CQVTCommandBarsFrameHook::EnableDwm(TRUE);
    pFrame->SendMessage(WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_TRUE(HookOf(pFrame)->IsDwmEnabled());
    EXPECT_EQ(::GetWindowRgn(m_hWnd, hRgn), ERROR);

    // Switching the theme off takes the extension back.
    g_frameHookExtensions.clear();
    pFrame->m_pCommandBars->EnableFrameTheme(FALSE);
    ASSERT_EQ(g_frameHookExtensions.size(), 1u);
    EXPECT_EQ(g_frameHookExtensions[0].cyTopHeight, 0);
    ::DeleteObject(hRgn);
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmIsCompositionEnabled, nullptr);
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmExtendFrameIntoClientArea, nullptr);
}

TEST_F(FrameHookTest, AFrameKeepsItsReorderWatchWhenAnotherFrameTurnsItsThemeOff)
{
    CHookedFrame* pFirst = Open();
    CHookedFrame* pSecond = new CHookedFrame();
    const DWORD dwScrollStyles = WS_VSCROLL | WS_HSCROLL;
    ASSERT_TRUE(pSecond->CreateFrame(WS_OVERLAPPEDWINDOW | dwScrollStyles));
    pSecond->m_measuredStyles.clear();
    pSecond->m_pCommandBars->EnableFrameTheme(TRUE);
    // Attached, the frame is measured once without its caption's and scroll
    // bars' styles, and then has them all again.
    EXPECT_TRUE(MeasuredWithoutFrameStyles(pSecond));
    EXPECT_EQ(pSecond->GetStyle() & (WS_CAPTION | dwScrollStyles), WS_CAPTION | dwScrollStyles);
    // A reorder of the second frame makes its hook fix the styles again soon after.
    auto reordered = [pSecond] {
        pSecond->m_measuredStyles.clear();
        ::NotifyWinEvent(EVENT_OBJECT_REORDER, pSecond->GetSafeHwnd(), OBJID_WINDOW, CHILDID_SELF);
        return PumpUntil([pSecond] { return MeasuredWithoutFrameStyles(pSecond); }, 3000);
    };
    EXPECT_TRUE(reordered());
    pFirst->m_pCommandBars->EnableFrameTheme(FALSE);
    EXPECT_TRUE(reordered()) << "the first frame's theme going off took the second frame's watch";
    EXPECT_EQ(pSecond->GetStyle() & (WS_CAPTION | dwScrollStyles), WS_CAPTION | dwScrollStyles);
    pSecond->DestroyWindow();
}

}  // namespace
