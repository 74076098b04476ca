// A real frame under theme 12, its frame drawn through the bars' frame hook
// from the test archive and INI, read from the screen while the real pointer
// moves over its caption buttons and presses one: each state's colour set,
// the close button's own hot colour, and the caption's fill and line.
#include <afxwin.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/office2013/office2013_support.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/themes/office2013/QVTFrameThemeOffice2013.h"

namespace {

using Office2013Test::TestIni;

const CRect kCaptionFrameRect(140, 120, 600, 400);

}  // namespace

// A captioned frame with bars whose frame the theme draws.
class Office2013CaptionFrame : public CFrameWnd
{
public:
    BOOL CreateFrame()
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!Create(lpszClass, _T("Flat frame"), WS_OVERLAPPEDWINDOW, kCaptionFrameRect, nullptr, nullptr,
                    WS_EX_TOPMOST))
            return FALSE;
        m_pCommandBars = CQVTCommandBars::CreateCommandBars();
        m_pCommandBars->SetSite(this);
        // The bars hold the theme: it is set once they exist.
        Office2013Test::UseTheme();
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        m_pCommandBars->EnableFrameTheme(TRUE);
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
            ++m_nSysCommands;
        return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

    CQVTCommandBars* m_pCommandBars = nullptr;
    int m_nSysCommands = 0;
};

namespace {

COLORREF ScreenPixelAt(POINT pt)
{
    ::GdiFlush();
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return clr;
}

// Where a caption button shows its background, outline and fill on the
// screen: the archive's 12-unit canvas lies centred in the button.
struct CaptionButtonPoints
{
    POINT ptBackground, ptOutline, ptFill, ptCentre;
};

}  // namespace

class Office2013Caption : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pIni = std::make_unique<TestIni>();
        m_pFrame = new Office2013CaptionFrame();
        ASSERT_TRUE(m_pFrame->CreateFrame());
        m_hWnd = m_pFrame->GetSafeHwnd();
        PumpMessages(50);
        ASSERT_NE(nullptr, m_pFrame->m_pCommandBars->GetFrameHook());
    }
    void TearDown() override
    {
        MouseMoveTo(POINT{5, 5});
        if (::IsWindow(m_hWnd))
            m_pFrame->DestroyWindow();
        PumpMessages(20);
        m_pIni.reset();
    }

    CaptionButtonPoints PointsOf(int nId)
    {
        CQVTControl* pButton =
            m_pFrame->m_pCommandBars->GetFrameHook()->GetCaptionButtons()->FindControl(nId);
        CRect rc = pButton ? pButton->GetRect() : CRect(0, 0, 0, 0);
        CRect rcWindow;
        m_pFrame->GetWindowRect(&rcWindow);
        rc.OffsetRect(rcWindow.TopLeft());
        // The canvas is 12 units of markup, scaled with the screen.
        const CSize szCanvas(ThemeTest::X(12), ThemeTest::Y(12));
        const CPoint ptCanvas(rc.left + (rc.Width() - szCanvas.cx) / 2,
                              rc.top + (rc.Height() - szCanvas.cy) / 2);
        return {POINT{rc.left + 1, rc.top + 1}, POINT{ptCanvas.x, ptCanvas.y + szCanvas.cy / 2},
                POINT{ptCanvas.x + ThemeTest::X(6), ptCanvas.y + ThemeTest::Y(7)},
                POINT{rc.CenterPoint().x, rc.CenterPoint().y}};
    }

    std::unique_ptr<TestIni> m_pIni;
    Office2013CaptionFrame* m_pFrame = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(Office2013Caption, ButtonsShowEachStatesColoursUnderTheRealPointer)
{
    ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CQVTFrameThemeOffice2013,
                                        m_pFrame->m_pCommandBars->GetPaintManager()->GetFramePaintManager()));
    const CaptionButtonPoints minimize = PointsOf(SC_MINIMIZE), close = PointsOf(SC_CLOSE);
    MouseMoveTo(POINT{5, 5});
    PumpMessages(50);

    // Active, nothing hot: no background, so the caption's fill shows.
    EXPECT_EQ(RGB(200, 100, 50), ScreenPixelAt(minimize.ptBackground));
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixelAt(minimize.ptOutline));
    EXPECT_EQ(RGB(119, 119, 119), ScreenPixelAt(minimize.ptFill));
    EXPECT_EQ(RGB(119, 119, 119), ScreenPixelAt(close.ptFill));

    // Hot: the hot set, and the close button's own background from the INI.
    MouseMoveTo(minimize.ptCentre);
    PumpMessages(50);
    EXPECT_EQ(RGB(213, 225, 242), ScreenPixelAt(minimize.ptBackground));
    EXPECT_EQ(RGB(62, 109, 181), ScreenPixelAt(minimize.ptFill));
    EXPECT_EQ(RGB(119, 119, 119), ScreenPixelAt(close.ptFill)) << "only the button under the pointer";
    MouseMoveTo(close.ptCentre);
    PumpMessages(50);
    EXPECT_EQ(RGB(232, 17, 35), ScreenPixelAt(close.ptBackground));
    EXPECT_EQ(RGB(213, 225, 242), ScreenPixelAt(close.ptOutline));
    EXPECT_EQ(RGB(200, 100, 50), ScreenPixelAt(minimize.ptBackground));

    // Pressed while held; released away from it, nothing happens.
    const CaptionButtonPoints maximize = PointsOf(SC_MAXIMIZE);
    const DWORD dwThread = ::GetCurrentThreadId();
    COLORREF clrPressedBack = 0, clrPressedFill = 0;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(maximize.ptCentre);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(100);
        clrPressedBack = ScreenPixelAt(maximize.ptBackground);
        clrPressedFill = ScreenPixelAt(maximize.ptFill);
        ScriptMouseMove(POINT{maximize.ptCentre.x - 150, maximize.ptCentre.y + 80}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    EXPECT_EQ(RGB(163, 189, 227), clrPressedBack);
    EXPECT_EQ(RGB(25, 71, 138), clrPressedFill);
    EXPECT_FALSE(m_pFrame->IsZoomed());

    // The caption's bottom row in the caption border colour, above the client.
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->ClientToScreen(&rcClient);
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixelAt(POINT{rcClient.left + 40, rcClient.top - 1}));
    EXPECT_EQ(RGB(200, 100, 50), ScreenPixelAt(POINT{rcClient.left + 40, rcClient.top - 4}));
}
