// The ribbon on a frame its bars draw: the caption buttons it places at the
// right of its caption row and draws through the frame theme, the title
// centred between them and the quick access toolbar, the caption's hit
// codes, clicks on the buttons reaching the site as system commands, and all
// of it gone again with the frame theme.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_host.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
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
    CRect CalcFrameBorders(IQVTFrameHook*) override { return CRect(0, 0, 0, 0); }
    CSize GetCaptionButtonSize(int, HWND) override { return kRibbonCaptionButtonSize; }
    HRGN CreateFrameRegion(IQVTFrameHook*, CSize) override { return nullptr; }
    void DrawFrame(CDC*, IQVTFrameHook*) override {}
    void DrawCaptionButton(CDC* pDC, CRect rc, int, BOOL bSelected, BOOL, BOOL, BOOL, CQVTRibbonBar*) override
    {
        pDC->FillSolidRect(rc, bSelected ? kRibbonCaptionButtonHot : kRibbonCaptionButton);
    }
};

class CRibbonTestFrameTheme : public CQVTRibbonTheme
{
public:
    CRibbonTestFrameTheme() : m_frame(this) {}
    CQVTFramePaintManager* GetFramePaintManager() override { return &m_frame; }

    CRibbonTestFramePaintManager m_frame;
};

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

}  // namespace
