// The ribbon on a frame its bars draw: the caption buttons it places at the
// right of its caption row and draws through the frame theme, the title
// centred between them and the quick access toolbar, the caption's hit
// codes, clicks on the buttons reaching the site as system commands, and all
// of it gone again with the frame theme.
#include <afxwin.h>

#include <utility>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_host.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"

namespace {

const COLORREF kRibbonCaptionButton = RGB(10, 140, 90);
const COLORREF kRibbonCaptionButtonHot = RGB(250, 120, 0);
const CSize kRibbonCaptionButtonSize(26, 20);

// Flat caption buttons; no borders of its own, so the ribbon's caption row
// is the frame's top.
class CRibbonTestFramePaintManager : public CQVTFramePaintManager
{
public:
    explicit CRibbonTestFramePaintManager(CQVTPaintManager* pPaintManager)
        : CQVTFramePaintManager(pPaintManager)
    {
        m_bCaptionCenterAligned = TRUE;
    }
    CRect CalcFrameBorders(IQVTFrameHook*) override { return CRect(0, m_nTop, 0, 0); }
    int m_nTop = 0;  // a compositor's frame shows a top border
    CSize GetCaptionButtonSize(int, HWND) override { return kRibbonCaptionButtonSize; }
    HRGN CreateFrameRegion(IQVTFrameHook*, CSize) override { return nullptr; }
    void DrawFrame(CDC*, IQVTFrameHook*) override {}
    void DrawCaptionButton(CDC* pDC, CRect rc, int, BOOL bSelected, BOOL, BOOL, BOOL, CQVTRibbonBar*) override
    {
        pDC->FillSolidRect(rc, bSelected ? kRibbonCaptionButtonHot : kRibbonCaptionButton);
    }
};

// A stand-in compositor: composition on, the frame extensions asked for
// recorded, and the compositor's own caption buttons in the top right
// corner of the frame.
std::vector<MARGINS> g_ribbonFrameExtensions;
HWND g_hRibbonFrameSite = nullptr;

HRESULT WINAPI RibbonFakeIsCompositionEnabled(BOOL* pEnabled)
{
    *pEnabled = TRUE;
    return S_OK;
}

HRESULT WINAPI RibbonFakeExtendFrame(HWND, const MARGINS* pMargins)
{
    g_ribbonFrameExtensions.push_back(*pMargins);
    return S_OK;
}

BOOL WINAPI RibbonFakeDefWindowProc(HWND hWnd, UINT nMessage, WPARAM, LPARAM lParam, LRESULT* plResult)
{
    if (nMessage != WM_NCHITTEST || hWnd != g_hRibbonFrameSite)
        return FALSE;
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (pt.x < rcWindow.right - 90 || pt.y > rcWindow.top + 20)
        return FALSE;
    *plResult = HTCLOSE;
    return TRUE;
}

class CRibbonTestFrameTheme : public CQVTRibbonTheme
{
public:
    CRibbonTestFrameTheme() : m_frame(this) {}
    CQVTFramePaintManager* GetFramePaintManager() override { return &m_frame; }

    CRibbonTestFramePaintManager m_frame;
};

}  // namespace

// Records the system commands that reach the site.
class CSysCommandSpy : public CQVTHookManagerHookAble
{
public:
    int OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&) override
    {
        if (nMessage == WM_SYSCOMMAND)
        {
            m_commands.push_back(static_cast<UINT>(wParam & 0xFFF0));
            return hookHandled;
        }
        return hookContinue;
    }
    std::vector<UINT> m_commands;
};

class RibbonFrameCaptionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pHost = new CRibbonHost();
        s_pHost->CreateHost(CRect(40, 80, 1040, 580), TRUE);
    }
    static void TearDownTestSuite()
    {
        delete s_pHost;
        s_pHost = nullptr;
    }
    void SetUp() override
    {
        s_pHost->ModifyStyle(0, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
        s_pHost->Reset();
        CRibbonTestFrameTheme* pTheme = new CRibbonTestFrameTheme();
        pTheme->SetImageHandle(::GetModuleHandle(nullptr), _T("OFFICE2007BLUE_INI"));
        s_pHost->GetCommandBars()->SetPaintManager(pTheme);
        m_pRibbon = s_pHost->GetRibbon();
        m_pRibbon->EnableFrameTheme(TRUE);
        s_pHost->ResizeClient(960, 420);
        s_pHost->SetForegroundWindow();
        PumpHost(50);
    }
    void TearDown() override
    {
        QVTHookManager()->RemoveAll(&m_spy);
        MouseMoveTo(POINT{2, 2});
        PumpHost(20);
    }

    CQVTControl* Button(int nId) const
    {
        CQVTControl* pControl = m_pRibbon->GetControls()->FindControl(nId);
        return pControl && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlCaptionButton)) ? pControl
                                                                                                : nullptr;
    }
    POINT ScreenCentre(const CRect& rc) const
    {
        CPoint pt = rc.CenterPoint();
        m_pRibbon->ClientToScreen(&pt);
        return POINT{pt.x, pt.y};
    }

    static CRibbonHost* s_pHost;
    CQVTRibbonBar* m_pRibbon = nullptr;
    CSysCommandSpy m_spy;
};

CRibbonHost* RibbonFrameCaptionTest::s_pHost = nullptr;

namespace {

COLORREF RibbonScreenPixel(POINT pt)
{
    ::GdiFlush();
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return clr;
}

TEST_F(RibbonFrameCaptionTest, CaptionRowHoldsTheFramesButtonsTitleAndHitCodesWhileTheThemeIsOn)
{
    ASSERT_TRUE(m_pRibbon->IsFrameThemeEnabled());
    CQVTCommandBarsFrameHook* pHook = m_pRibbon->GetFrameHook();
    ASSERT_NE(pHook, nullptr);
    // The ribbon draws the caption: the hook shows none.
    EXPECT_FALSE(pHook->IsCaptionVisible());

    CQVTControl* pClose = Button(SC_CLOSE);
    CQVTControl* pMaximize = Button(SC_MAXIMIZE);
    CQVTControl* pMinimize = Button(SC_MINIMIZE);
    ASSERT_TRUE(pClose && pMaximize && pMinimize);
    EXPECT_EQ(Button(SC_RESTORE), nullptr);
    CRect rcBar;
    m_pRibbon->GetClientRect(&rcBar);
    // Right to left at the caption row's right end, each the theme's size.
    EXPECT_EQ(pClose->GetRect().right, rcBar.right);
    EXPECT_EQ(pMaximize->GetRect().right, pClose->GetRect().left);
    EXPECT_EQ(pMinimize->GetRect().right, pMaximize->GetRect().left);
    EXPECT_EQ(pClose->GetRect().Size(), kRibbonCaptionButtonSize);
    EXPECT_LE(pClose->GetRect().bottom, m_pRibbon->GetCaptionRect().bottom);
    // The title, narrower than the free caption, is centred on the bar.
    const CRect rcTitle = m_pRibbon->GetCaptionTextRect();
    EXPECT_FALSE(rcTitle.IsRectEmpty());
    EXPECT_LE(std::abs(rcTitle.CenterPoint().x - rcBar.CenterPoint().x), 1);
    EXPECT_LE(rcTitle.right, pMinimize->GetRect().left);

    // Hit codes of the empty caption: the top edge sizes, the icon opens the
    // system menu, the rest moves the window.
    const CRect rcCaption = m_pRibbon->GetCaptionRect();
    const int yMiddle = rcCaption.CenterPoint().y;
    EXPECT_EQ(m_pRibbon->HitTestCaption(CPoint(rcTitle.CenterPoint().x, rcCaption.top + 1)), HTTOP);
    EXPECT_EQ(m_pRibbon->HitTestCaption(CPoint(rcTitle.CenterPoint().x, yMiddle)), HTCAPTION);
    EXPECT_EQ(m_pRibbon->HitTestCaption(CPoint(4, yMiddle)), HTSYSMENU);
    EXPECT_EQ(m_pRibbon->HitTestCaption(pClose->GetRect().CenterPoint()), 0);
    EXPECT_EQ(m_pRibbon->HitTestCaption(m_pRibbon->GetTabControlRect().CenterPoint()), 0);

    // Named as a screen reader and the tips say it: the system menu's texts
    // without their mnemonics.
    const std::pair<CQVTControl*, LPCTSTR> names[] = {
        {pClose, _T("Close")}, {pMaximize, _T("Maximize")}, {pMinimize, _T("Minimize")}};
    for (const auto& name : names)
    {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR bstrName = nullptr;
        EXPECT_EQ(name.first->GetAccessibleName(self, &bstrName), S_OK);
        EXPECT_EQ(CString(bstrName ? bstrName : u""), CString(name.second));
        ::SysFreeString(bstrName);
        EXPECT_EQ(name.first->GetTooltip(), CString(name.second));
    }

    // Drawn through the frame theme, hot under the pointer.
    EXPECT_EQ(RibbonScreenPixel(ScreenCentre(pMinimize->GetRect())), kRibbonCaptionButton);
    MouseMoveTo(ScreenCentre(pClose->GetRect()));
    PumpHost(100);
    EXPECT_EQ(RibbonScreenPixel(ScreenCentre(pClose->GetRect())), kRibbonCaptionButtonHot);

    // Off: the four buttons go, and nothing else; the caption hits nothing.
    const int nControls = m_pRibbon->GetControlCount();
    m_pRibbon->EnableFrameTheme(FALSE);
    EXPECT_FALSE(m_pRibbon->IsFrameThemeEnabled());
    EXPECT_EQ(m_pRibbon->GetControlCount(), nControls - 3);
    EXPECT_EQ(Button(SC_CLOSE), nullptr);
    EXPECT_EQ(m_pRibbon->HitTestCaption(CPoint(rcTitle.CenterPoint().x, yMiddle)), 0);
}

TEST_F(RibbonFrameCaptionTest, ClicksOnTheCaptionButtonsSendTheSitesSystemCommands)
{
    QVTHookManager()->SetHook(s_pHost->GetSafeHwnd(), &m_spy);
    for (int nId : {SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
    {
        ASSERT_NE(Button(nId), nullptr);
        // Queued whole: the button tracks the press in a loop of its own.
        MouseMoveTo(ScreenCentre(Button(nId)->GetRect()));
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        PumpHost(80);
        ::Sleep(::GetDoubleClickTime());
    }
    EXPECT_EQ(m_spy.m_commands, (std::vector<UINT>{SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}));
    // Maximized, restore stands where maximize stood.
    s_pHost->ModifyStyle(0, WS_MAXIMIZE);
    s_pHost->GetCommandBars()->RecalcFrameLayout();
    PumpHost(30);
    EXPECT_NE(Button(SC_RESTORE), nullptr);
    EXPECT_EQ(Button(SC_MAXIMIZE), nullptr);
    s_pHost->ModifyStyle(WS_MAXIMIZE, 0);
}

TEST_F(RibbonFrameCaptionTest,
       OnACompositedFrameTheCompositorHasTheCaptionButtonsAndTheFrameReachesIntoTheRibbon)
{
    // The theme again, now over a compositor.
    m_pRibbon->EnableFrameTheme(FALSE);
    g_hRibbonFrameSite = s_pHost->GetSafeHwnd();
    g_ribbonFrameExtensions.clear();
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmIsCompositionEnabled,
                                          reinterpret_cast<void*>(&RibbonFakeIsCompositionEnabled));
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmExtendFrameIntoClientArea,
                                          reinterpret_cast<void*>(&RibbonFakeExtendFrame));
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmDefWindowProc,
                                          reinterpret_cast<void*>(&RibbonFakeDefWindowProc));
    static_cast<CRibbonTestFrameTheme*>(s_pHost->GetCommandBars()->GetPaintManager())->m_frame.m_nTop = 6;
    m_pRibbon->EnableFrameTheme(TRUE);
    s_pHost->ResizeClient(960, 420);
    PumpHost(30);

    EXPECT_TRUE(m_pRibbon->IsDwmEnabled());
    EXPECT_EQ(m_pRibbon->GetFrameTopBorder(), 6);
    // No caption buttons of the ribbon's own; the frame reaches over the
    // caption row.
    EXPECT_EQ(Button(SC_CLOSE), nullptr);
    EXPECT_EQ(Button(SC_MINIMIZE), nullptr);
    ASSERT_FALSE(g_ribbonFrameExtensions.empty());
    EXPECT_EQ(g_ribbonFrameExtensions.back().cyTopHeight, m_pRibbon->GetCaptionHeight() + 6);
    EXPECT_EQ(g_ribbonFrameExtensions.back().cxLeftWidth, 0);

    // Where the compositor has its buttons, the ribbon and its dock bar let
    // the mouse through to the frame; elsewhere they keep it.
    CRect rcWindow;
    s_pHost->GetWindowRect(&rcWindow);
    const LPARAM lOnButtons = MAKELPARAM(rcWindow.right - 20, rcWindow.top + 10);
    const LPARAM lOnTabs = MAKELPARAM(rcWindow.left + 300, rcWindow.top + 10);
    EXPECT_EQ(m_pRibbon->SendMessage(WM_NCHITTEST, 0, lOnButtons), HTTRANSPARENT);
    EXPECT_NE(m_pRibbon->SendMessage(WM_NCHITTEST, 0, lOnTabs), HTTRANSPARENT);
    CWnd* pDock = m_pRibbon->GetParent();
    ASSERT_NE(pDock, nullptr);
    EXPECT_EQ(pDock->SendMessage(WM_NCHITTEST, 0, lOnButtons), HTTRANSPARENT);
    EXPECT_NE(pDock->SendMessage(WM_NCHITTEST, 0, lOnTabs), HTTRANSPARENT);

    // Moving the quick access toolbar below the ribbon extends the frame
    // again for the new caption.
    const size_t nExtensions = g_ribbonFrameExtensions.size();
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    PumpHost(30);
    EXPECT_GT(g_ribbonFrameExtensions.size(), nExtensions);
    m_pRibbon->ShowQuickAccessBelowRibbon(FALSE);

    m_pRibbon->EnableFrameTheme(FALSE);
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmIsCompositionEnabled, nullptr);
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmExtendFrameIntoClientArea, nullptr);
    CQVTWinThemeWrapper::SetDwmApiPointer(CQVTWinThemeWrapper::dwmDefWindowProc, nullptr);
    g_hRibbonFrameSite = nullptr;
}

}  // namespace
