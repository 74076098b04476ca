// The markup scroll viewer and its bars: which bars exist for each setting,
// offsets kept within the content, line, page and wheel steps, and the bars'
// modal tracking under real input in a window on the test display: a held
// arrow repeats, a thumb dragged far away snaps back, a disabled bar ignores
// presses.
#include "tests/support/real_input.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/controls/QVTMarkupScrollBar.h"
#include "toolkit/markup/controls/QVTMarkupScrollViewer.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
// A viewer of 200 by 150 pixels over a block of the given size.
CString ViewerMarkup(LPCWSTR lpszSettings, int cx, int cy)
{
    CString strBody;
    strBody.Format(u"<ScrollViewer Name='v' Height='150' %ls><TestPanel Name='c' Width='%d' Height='%d'/>"
                   u"</ScrollViewer>",
                   lpszSettings, cx, cy);
    return PanelMarkup(strBody);
}

void Layout(CQVTMarkupContext* pContext, CQVTMarkupUIElement* pRoot, int cx = 200, int cy = 150)
{
    CQVTMarkupDrawingContext dc(pContext);
    pRoot->Measure(&dc, SIZE{cx, cy});
    pRoot->Arrange(RECT{0, 0, cx, cy});
}
}  // namespace

TEST(MarkupScrollViewer, BarsFollowTheirSettingsAndTheContent)
{
    CContextHolder context;
    struct Case
    {
        LPCWSTR lpszSettings;
        int cx, cy;
        bool bVertical, bHorizontal;
    } cases[] = {
        {u"", 100, 100, true, false},
        {u"", 400, 400, true, false},
        {u"VerticalScrollBarVisibility='Auto'", 100, 100, false, false},
        {u"VerticalScrollBarVisibility='Auto'", 100, 400, true, false},
        {u"VerticalScrollBarVisibility='Disabled' HorizontalScrollBarVisibility='Visible'", 10, 10, false,
         true},
        // The horizontal bar comes when the content is wider than what the vertical bar leaves.
        {u"VerticalScrollBarVisibility='Visible' HorizontalScrollBarVisibility='Auto'", 195, 100, true, true},
        {u"VerticalScrollBarVisibility='Visible' HorizontalScrollBarVisibility='Auto'", 150, 100, true,
         false},
    };
    const int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    for (const Case& c : cases)
    {
        CTreeHolder root(BuildMarkup(context, ViewerMarkup(c.lpszSettings, c.cx, c.cy)));
        ASSERT_NE(root.Get(), nullptr);
        Layout(context, root);
        CQVTMarkupScrollViewer* pViewer = root.Find<CQVTMarkupScrollViewer>(u"v");
        const CStringA strCase(c.lpszSettings);
        EXPECT_EQ(pViewer->GetScrollBar(TRUE) != nullptr, c.bVertical)
            << strCase << " " << c.cx << "x" << c.cy;
        EXPECT_EQ(pViewer->GetScrollBar(FALSE) != nullptr, c.bHorizontal)
            << strCase << " " << c.cx << "x" << c.cy;
        EXPECT_EQ(pViewer->GetGripper() != nullptr, c.bVertical && c.bHorizontal);
        if (CQVTMarkupScrollBar* pBar = pViewer->GetScrollBar(TRUE))
        {
            EXPECT_EQ(pBar->GetVisualOffset().x, 200 - cxBar);
            EXPECT_EQ(pBar->GetRenderSize().cx, cxBar);
        }
    }
}

TEST(MarkupScrollViewer, StepsStayWithinTheContentAndShrinkingPullsTheOffsetBack)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, ViewerMarkup(u"", 100, 1000)));
    ASSERT_NE(root.Get(), nullptr);
    Layout(context, root);
    CQVTMarkupScrollViewer* pViewer = root.Find<CQVTMarkupScrollViewer>(u"v");
    CQVTMarkupUIElement* pContent = pViewer->GetContent();

    pViewer->OnScrollCommand(TRUE, SB_LINEDOWN, 0);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 16);
    EXPECT_EQ(pContent->GetVisualOffset().y, -16);
    pViewer->OnScrollCommand(TRUE, SB_PAGEDOWN, 0);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 166);
    pViewer->OnScrollCommand(TRUE, SB_LINEUP, 0);
    pViewer->OnScrollCommand(TRUE, SB_PAGEUP, 0);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 0);
    pViewer->OnScrollCommand(TRUE, SB_BOTTOM, 0);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 850);
    pViewer->OnScrollCommand(TRUE, SB_LINEDOWN, 0);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 850);
    pViewer->ScrollToPosition(TRUE, 5000);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 850);
    pViewer->ScrollToPosition(TRUE, -20);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 0);
    pViewer->OnScrollCommand(TRUE, SB_THUMBTRACK, 300);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 300);

    // The wheel steps 48 each way.
    CQVTMarkupAutoPtr wheel(new CQVTMarkupMouseWheelEventArgs(pViewer, nullptr, POINT{5, 5}, -120));
    pViewer->OnMouseWheel(static_cast<CQVTMarkupMouseWheelEventArgs*>(wheel.Get()));
    EXPECT_EQ(pViewer->GetOffset(TRUE), 348);
    CQVTMarkupAutoPtr back(new CQVTMarkupMouseWheelEventArgs(pViewer, nullptr, POINT{5, 5}, 120));
    pViewer->OnMouseWheel(static_cast<CQVTMarkupMouseWheelEventArgs*>(back.Get()));
    EXPECT_EQ(pViewer->GetOffset(TRUE), 300);
    EXPECT_TRUE(static_cast<CQVTMarkupMouseWheelEventArgs*>(back.Get())->IsHandled());

    // Content shrinking below offset + viewport: its end meets the viewport's.
    pViewer->ScrollToPosition(TRUE, 800);
    static_cast<CTestPanel*>(pContent)->SetValue(CQVTMarkupFrameworkElement::m_pHeightProperty,
                                                 new CQVTMarkupInt(400));
    Layout(context, root);
    EXPECT_EQ(pViewer->GetOffset(TRUE), 250);
    SCROLLINFO si = {};
    pViewer->GetScrollBar(TRUE)->GetScrollInfo(&si);
    EXPECT_EQ(si.nMax, 399);
    EXPECT_EQ(si.nPage, 150u);
    EXPECT_EQ(si.nPos, 250);
}

// A shown window with one viewer, driven by real input.
class ScrollViewerInput : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static const WCHAR kClass[] = u"SondrelMarkupScrollTest";
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ScrollViewerInput::WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&wc);
        s_hWnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, u"scroll", WS_POPUP | WS_VISIBLE,
                                   640, 420, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
        PumpMessages(50);
    }
    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_hWnd);
        s_hWnd = nullptr;
    }
    void SetUp() override
    {
        m_pContext = MarkupCreateContext(s_hWnd, 0);
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, ViewerMarkup(u"", 100, 2000), &strError);
        ASSERT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        s_pTest = this;
        RECT rc;
        ::GetClientRect(s_hWnd, &rc);
        Layout(m_pContext, m_pRoot, rc.right, rc.bottom);
        m_pViewer = MarkupCast<CQVTMarkupScrollViewer>(m_pRoot->FindName(u"v"));
        m_pBar = m_pViewer->GetScrollBar(TRUE);
        ASSERT_NE(m_pBar, nullptr);
        ::SetForegroundWindow(s_hWnd);
        ::InvalidateRect(s_hWnd, nullptr, TRUE);
        PumpMessages(30);
    }
    void TearDown() override
    {
        s_pTest = nullptr;
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
        PumpMessages(10);
    }
    // A point of the bar on the screen, y along it.
    POINT BarPoint(int y) const
    {
        POINT pt = {m_pBar->GetVisualOffset().x + m_pBar->GetRenderSize().cx / 2, y};
        ::ClientToScreen(s_hWnd, &pt);
        return pt;
    }
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP && s_pTest != nullptr)
        {
            // What a script could do in a handler: drop the whole tree.
            MarkupReleaseElement(s_pTest->m_pRoot);
            return 0;
        }
        if (s_pTest != nullptr && s_pTest->m_pRoot != nullptr)
        {
            if (message == WM_PAINT)
            {
                PAINTSTRUCT ps;
                HDC hDC = ::BeginPaint(hWnd, &ps);
                RECT rc;
                ::GetClientRect(hWnd, &rc);
                MarkupRenderElement(s_pTest->m_pRoot, hDC, &rc);
                ::EndPaint(hWnd, &ps);
                return 0;
            }
            LRESULT lResult = 0;
            if (MarkupRelayElementMessage(s_pTest->m_pRoot, message, wParam, lParam, &lResult))
                return lResult;
        }
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }

    static HWND s_hWnd;
    static ScrollViewerInput* s_pTest;
    CQVTMarkupContext* m_pContext = nullptr;
    CQVTMarkupUIElement* m_pRoot = nullptr;
    CQVTMarkupScrollViewer* m_pViewer = nullptr;
    CQVTMarkupScrollBar* m_pBar = nullptr;
};

HWND ScrollViewerInput::s_hWnd = nullptr;

ScrollViewerInput* ScrollViewerInput::s_pTest = nullptr;

TEST_F(ScrollViewerInput, AHeldArrowRepeatsFirstSlowlyThenQuickly)
{
    const UINT nDoubleClick = ::GetDoubleClickTime();
    const int cyArrow = ::GetSystemMetrics(SM_CYVSCROLL);
    const POINT ptArrow = BarPoint(150 - cyArrow / 2);
    const DWORD dwUi = ::GetCurrentThreadId();
    int nFirstInterval = -1, nLaterInterval = -1, nFirstOffset = -1;
    RunInputScript([&] {
        ScriptMouseMove(ptArrow, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 0);
        ScriptWaitForCapture(dwUi, true);
        ::Sleep(20);
        nFirstOffset = m_pViewer->GetOffset(TRUE);
        nFirstInterval = m_pBar->GetRepeatInterval();
        for (int i = 0; i < 400 && m_pViewer->GetOffset(TRUE) < 16 * 4; ++i)
            ::Sleep(10);
        nLaterInterval = m_pBar->GetRepeatInterval();
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 0);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(30);
    // The press scrolls at once, the first repeat waits four fifths of the
    // double-click time, the later ones a tenth.
    EXPECT_EQ(nFirstOffset, 16);
    EXPECT_EQ(nFirstInterval, static_cast<int>(nDoubleClick * 4 / 5));
    EXPECT_EQ(nLaterInterval, static_cast<int>(nDoubleClick / 10));
    EXPECT_GE(m_pViewer->GetOffset(TRUE), 16 * 4);
    EXPECT_EQ(m_pViewer->GetOffset(TRUE) % 16, 0);
    EXPECT_FALSE(m_pBar->IsTracking());
    EXPECT_EQ(m_pContext->GetCaptureElement(), nullptr);
}

TEST_F(ScrollViewerInput, AThumbDraggedFarAwaySnapsBackAndFollowsAgainOnReturn)
{
    const QVT_SCROLLBAR_POSINFO* pInfo = m_pBar->GetScrollBarPosInfo();
    const POINT ptThumb = BarPoint(pInfo->pxThumbTop + pInfo->cpxThumb / 2);
    const DWORD dwUi = ::GetCurrentThreadId();
    int nDragged = -1, nFarAway = -1;
    RunInputScript([&] {
        ScriptMouseMove(ptThumb, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 0);
        ScriptWaitForCapture(dwUi, true);
        ScriptMouseMove(POINT{ptThumb.x, ptThumb.y + 40}, 60);
        nDragged = m_pViewer->GetOffset(TRUE);
        // Far to the side: beyond eight bar widths.
        ScriptMouseMove(POINT{ptThumb.x - 8 * m_pBar->GetRenderSize().cx - 60, ptThumb.y + 40}, 60);
        nFarAway = m_pViewer->GetOffset(TRUE);
        ScriptMouseMove(POINT{ptThumb.x, ptThumb.y + 40}, 60);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 0);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(30);
    EXPECT_GT(nDragged, 0);
    EXPECT_EQ(nFarAway, 0);
    EXPECT_EQ(m_pViewer->GetOffset(TRUE), nDragged);
}

TEST_F(ScrollViewerInput, TheWheelStepsAndADisabledBarIgnoresPresses)
{
    POINT ptScreen = {20, 20};
    ::ClientToScreen(s_hWnd, &ptScreen);
    ::SendMessageW(s_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ::SendMessageW(s_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   MAKELPARAM(ptScreen.x, ptScreen.y));
    EXPECT_EQ(m_pViewer->GetOffset(TRUE), 48);

    // Content no taller than the viewport: the bar is there but disabled.
    static_cast<CTestPanel*>(m_pViewer->GetContent())
        ->SetValue(CQVTMarkupFrameworkElement::m_pHeightProperty, new CQVTMarkupInt(100));
    RECT rc;
    ::GetClientRect(s_hWnd, &rc);
    Layout(m_pContext, m_pRoot, rc.right, rc.bottom);
    ASSERT_EQ(m_pViewer->GetScrollBar(TRUE), m_pBar);
    EXPECT_FALSE(m_pBar->IsEnabled());
    const POINT ptArrow = BarPoint(rc.bottom - 4);
    RunInputScript([&] {
        ScriptMouseMove(ptArrow, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
    });
    PumpMessages(30);
    EXPECT_EQ(m_pViewer->GetOffset(TRUE), 0);
    EXPECT_FALSE(m_pBar->IsTracking());
}

TEST_F(ScrollViewerInput, ATreeReleasedWhileAnArrowIsHeldEndsTheTrackingSafely)
{
    const int cyArrow = ::GetSystemMetrics(SM_CYVSCROLL);
    const POINT ptArrow = BarPoint(150 - cyArrow / 2);
    const DWORD dwUi = ::GetCurrentThreadId();
    RunInputScript([&] {
        ScriptMouseMove(ptArrow, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 0);
        ScriptWaitForCapture(dwUi, true);
        ::PostMessageW(s_hWnd, WM_APP, 0, 0);
        ::Sleep(100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 0);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(30);
    EXPECT_EQ(m_pRoot, nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(m_pContext->GetCaptureElement(), nullptr);
}
