// The markup context under a real window: mouse messages relayed through it
// give enter, leave, move, button and capture events in the documented
// order; the cursor follows the elements; invalidation repaints the host,
// notifies it with 0x2A5C, and defers while frozen.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
// One relayed event: the element's name and the event.
typedef std::vector<CString> CEventLog;

// An element that takes the wheel.
class CWheelElement : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CWheelElement)

public:
    void OnMouseWheel(CQVTMarkupMouseWheelEventArgs* pArgs) override
    {
        m_nDelta += pArgs->GetDelta();
        pArgs->SetHandled(TRUE);
    }
    int m_nDelta = 0;
};
IMPLEMENT_MARKUPCLASS(CWheelElement, CQVTMarkupFrameworkElement, u"WheelElement", nullptr)

class CHost;

// Records events of one element; may mark them handled or take the capture.
class CListener
{
public:
    CListener(CHost* pHost, LPCWSTR lpszName) : m_pHost(pHost), m_strName(lpszName) {}
    void OnEvent(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs);

    CHost* m_pHost;
    CString m_strName;
    BOOL m_bHandleLeave = FALSE;
    BOOL m_bCaptureOnDown = FALSE;
};

class CHost
{
public:
    CHost()
    {
        static const WCHAR kClass[] = u"SondrelMarkupContextTest";
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CHost::WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = nullptr;
        ::RegisterClassW(&wc);
        // Shown without activation: a real-input test running meanwhile keeps
        // the keyboard.
        m_hWnd = ::CreateWindowExW(WS_EX_NOACTIVATE, kClass, u"markup", WS_POPUP, 100, 100, 200, 100, nullptr,
                                   nullptr, wc.hInstance, this);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        // The real pointer is left alone: leave tracking may post
        // WM_MOUSELEAVE, which nothing here dispatches.
        m_pContext = new CQVTMarkupContext(m_hWnd);
    }
    ~CHost()
    {
        if (m_pRoot != nullptr)
            m_pRoot->InternalRelease();
        m_pContext->Release();
        ::DestroyWindow(m_hWnd);
        for (CListener* pListener : m_listeners)
            delete pListener;
    }

    void Load(LPCWSTR lpszBody)
    {
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, PanelMarkup(lpszBody), &strError);
        ASSERT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        CQVTMarkupDrawingContext dc(m_pContext);
        m_pRoot->Measure(&dc, SIZE{200, 100});
        m_pRoot->Arrange(RECT{0, 0, 200, 100});
    }

    // Listens to the mouse events of an element by name ("" for the root).
    CListener* Listen(LPCWSTR lpszName)
    {
        CQVTMarkupInputElement* pElement =
            *lpszName == 0 ? m_pRoot : MarkupCast<CQVTMarkupInputElement>(m_pRoot->FindName(lpszName));
        CListener* pListener = new CListener(this, *lpszName == 0 ? u"root" : lpszName);
        m_listeners.push_back(pListener);
        for (CQVTMarkupRoutedEvent* pEvent :
             {CQVTMarkupInputElement::m_pMouseEnterEvent, CQVTMarkupInputElement::m_pMouseLeaveEvent,
              CQVTMarkupInputElement::m_pMouseMoveEvent, CQVTMarkupInputElement::m_pMouseLeftButtonDownEvent,
              CQVTMarkupInputElement::m_pMouseLeftButtonUpEvent,
              CQVTMarkupInputElement::m_pLostMouseCaptureEvent})
            pElement->AddHandler(pEvent,
                                 new CQVTMarkupClassDelegate<CListener>(pListener, &CListener::OnEvent));
        return pListener;
    }

    LRESULT Send(UINT message, int x, int y, WPARAM wParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, MAKELPARAM(x, y));
    }
    CEventLog TakeLog()
    {
        CEventLog log;
        log.swap(m_log);
        return log;
    }

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CHost* pHost = reinterpret_cast<CHost*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pHost == nullptr)
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        if (message == QVT_WM_MARKUPREDRAW)
        {
            ++pHost->m_nRedraws;
            return 0;
        }
        LRESULT lResult = 0;
        if (pHost->m_pContext != nullptr && pHost->m_pRoot != nullptr &&
            pHost->m_pContext->OnWndMsg(pHost->m_pRoot, message, wParam, lParam, &lResult))
            return lResult;
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
    CQVTMarkupContext* m_pContext = nullptr;
    CQVTMarkupUIElement* m_pRoot = nullptr;
    CEventLog m_log;
    int m_nRedraws = 0;
    std::vector<CListener*> m_listeners;
};

void CListener::OnEvent(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs* pArgs)
{
    CQVTMarkupRoutedEvent* pEvent = pArgs->GetEvent();
    m_pHost->m_log.push_back(m_strName + u":" + pEvent->GetName());
    if (m_bHandleLeave && pEvent == CQVTMarkupInputElement::m_pMouseLeaveEvent)
        pArgs->SetHandled(TRUE);
    if (m_bCaptureOnDown && pEvent == CQVTMarkupInputElement::m_pMouseLeftButtonDownEvent)
        m_pHost->m_pContext->CaptureMouse(MarkupCast<CQVTMarkupInputElement>(pArgs->GetSource()));
}

CEventLog Log(std::initializer_list<LPCWSTR> entries)
{
    CEventLog log;
    for (LPCWSTR lpszEntry : entries)
        log.push_back(lpszEntry);
    return log;
}
}  // namespace

TEST(MarkupContextRouting, EnterAndLeaveSkipCommonAncestors)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/><TestElement x:Name='b' Height='20'/>");
    host.Listen(u"a");
    host.Listen(u"b");
    host.Listen(u"");

    host.Send(WM_MOUSEMOVE, 10, 5);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseEnter", u"root:MouseEnter", u"a:MouseMove", u"root:MouseMove"}));
    host.Send(WM_MOUSEMOVE, 10, 25);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeave", u"b:MouseEnter", u"b:MouseMove", u"root:MouseMove"}));
    host.Send(WM_MOUSEMOVE, 10, 80);
    EXPECT_EQ(host.TakeLog(), Log({u"b:MouseLeave", u"root:MouseMove"}));
    host.Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(host.TakeLog(), Log({u"root:MouseLeave"}));
    EXPECT_EQ(host.m_pContext->GetMouseOverElement(), nullptr);

    // Double clicks count as presses.
    host.Send(WM_MOUSEMOVE, 10, 5);
    host.TakeLog();
    host.Send(WM_LBUTTONDBLCLK, 10, 5);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeftButtonDown", u"root:MouseLeftButtonDown"}));
}

TEST(MarkupContextRouting, AHandledLeaveStopsAtItsElementButEntersGoOn)
{
    CHost host;
    host.Load(u"<TestPanel x:Name='inner'><TestElement x:Name='a' Height='20'/></TestPanel>"
              u"<TestElement x:Name='c' Height='20'/>");
    host.Listen(u"a")->m_bHandleLeave = TRUE;
    host.Listen(u"inner");
    host.Listen(u"c");
    host.Send(WM_MOUSEMOVE, 10, 5);
    host.TakeLog();
    host.Send(WM_MOUSEMOVE, 10, 25);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeave", u"c:MouseEnter", u"c:MouseMove"}));
}

TEST(MarkupContextRouting, CaptureKeepsTheMouseOverElementToTheCapturer)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/><TestElement x:Name='b' Height='20'/>");
    host.Listen(u"a")->m_bCaptureOnDown = TRUE;
    host.Listen(u"b");
    CQVTMarkupInputElement* pA = MarkupCast<CQVTMarkupInputElement>(host.m_pRoot->FindName(u"a"));

    host.Send(WM_MOUSEMOVE, 10, 5);
    host.Send(WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), pA);
    EXPECT_EQ(::GetCapture(), host.m_hWnd);
    host.TakeLog();

    // Outside the capturer nothing is under the mouse, and b is never entered.
    host.Send(WM_MOUSEMOVE, 10, 25, MK_LBUTTON);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeave"}));
    EXPECT_EQ(host.m_pContext->GetMouseOverElement(), nullptr);
    host.Send(WM_MOUSEMOVE, 10, 6, MK_LBUTTON);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseEnter", u"a:MouseMove"}));
    // Buttons go to the capturer wherever the mouse is.
    host.Send(WM_MOUSEMOVE, 10, 25, MK_LBUTTON);
    host.TakeLog();
    host.Send(WM_LBUTTONUP, 10, 25);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeftButtonUp"}));

    // Losing the platform's capture tells the capturer.
    ::ReleaseCapture();
    EXPECT_EQ(host.TakeLog(), Log({u"a:LostMouseCapture"}));
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), nullptr);
}

TEST(MarkupContextRouting, CursorsWheelAndNullRoots)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20' Cursor='Hand'/><WheelElement x:Name='w' Height='20'/>");
    host.Send(WM_MOUSEMOVE, 10, 5);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(host.Send(WM_SETCURSOR, HTCLIENT, WM_MOUSEMOVE, reinterpret_cast<WPARAM>(host.m_hWnd)), 1);

    host.Send(WM_MOUSEMOVE, 10, 25);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    LRESULT lResult = 0;
    EXPECT_FALSE(host.m_pContext->OnWndMsg(host.m_pRoot, WM_SETCURSOR, reinterpret_cast<WPARAM>(host.m_hWnd),
                                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), &lResult));

    POINT ptScreen = {110, 125};
    EXPECT_TRUE(host.m_pContext->OnWndMsg(host.m_pRoot, WM_MOUSEWHEEL, MAKEWPARAM(0, -120),
                                          MAKELPARAM(ptScreen.x, ptScreen.y), &lResult));
    EXPECT_EQ(lResult, 1);
    EXPECT_EQ(static_cast<CWheelElement*>(host.m_pRoot->FindName(u"w"))->m_nDelta, -120);

    // A null root only ends the mouse-over state.
    EXPECT_FALSE(host.m_pContext->OnWndMsg(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 25), &lResult));
    EXPECT_EQ(host.m_pContext->GetMouseOverElement(), nullptr);

    // Without a host window nothing is handled.
    CContextHolder windowless;
    CTreeHolder root(BuildMarkup(windowless, PanelMarkup(u"<TestElement Height='20' Cursor='Hand'/>")));
    EXPECT_FALSE(windowless->OnWndMsg(root, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), &lResult));
    EXPECT_EQ(windowless->GetMouseOverElement(), nullptr);
}

TEST(MarkupContextRouting, AMessageRelayedWithoutATreeEndsTheMouseOver)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/>");
    host.Listen(u"a");
    host.Listen(u"");
    host.Send(WM_MOUSEMOVE, 10, 5);
    host.TakeLog();
    ASSERT_NE(host.m_pContext->GetMouseOverElement(), nullptr);
    // The entry function relays to the context itself: nothing is handled,
    // and the elements the mouse was over hear it leave.
    LRESULT lResult = 7;
    EXPECT_FALSE(MarkupRelayMessage(host.m_pContext, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5), &lResult));
    EXPECT_EQ(lResult, 7);
    EXPECT_EQ(host.TakeLog(), Log({u"a:MouseLeave", u"root:MouseLeave"}));
    EXPECT_EQ(host.m_pContext->GetMouseOverElement(), nullptr);
}

TEST(MarkupContextRouting, AReleasedElementLeavesNoPointerBehind)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/>");
    host.Send(WM_MOUSEMOVE, 10, 5);
    ASSERT_NE(host.m_pContext->GetMouseOverElement(), nullptr);
    host.m_pContext->CaptureMouse(host.m_pContext->GetMouseOverElement());
    host.m_pRoot->InternalRelease();
    host.m_pRoot = nullptr;
    EXPECT_EQ(host.m_pContext->GetMouseOverElement(), nullptr);
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}

inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

TEST(MarkupContextInvalidation, AResizedElementRepaintsWhereItWasAndWhereItIs)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/>"
              u"<TestElement x:Name='b' Width='40' Height='30' HorizontalAlignment='Left'/>");
    CQVTMarkupUIElement* pB = MarkupCast<CQVTMarkupUIElement>(host.m_pRoot->FindName(u"b"));
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pB, TRUE), CRect(0, 20, 40, 50));
    pB->SetValue(CQVTMarkupFrameworkElement::m_pWidthProperty, new CQVTMarkupInt(10));
    CQVTMarkupDrawingContext dc(host.m_pContext);
    host.m_pRoot->Measure(&dc, SIZE{200, 100});
    host.m_pRoot->Arrange(RECT{0, 0, 200, 100});
    // The old and the new area together, once; then the new one alone.
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pB, TRUE), CRect(0, 20, 40, 50));
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pB, TRUE), CRect(0, 20, 10, 50));
}

TEST(MarkupContextInvalidation, InlinesAreFoundAndRepaintedThroughTheirTextBlock)
{
    CHost host;
    host.Load(
        u"<TestElement x:Name='a' Height='20'/>"
        u"<TextBlock x:Name='t' Height='30' Margin='5,0,0,0'>a <Bold x:Name='bold'>b</Bold></TextBlock>");
    CQVTMarkupObject* pText = host.m_pRoot->FindName(u"t");
    CQVTMarkupObject* pBold = host.m_pRoot->FindName(u"bold");
    ASSERT_NE(pBold, nullptr);
    const CRect rcText(5, 20, 200, 50);
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pText, FALSE), rcText);
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pBold, FALSE), rcText);
    EXPECT_EQ(host.m_pContext->GetElementWindowRect(pBold, TRUE), rcText);
    ::UpdateWindow(host.m_hWnd);
    ::ValidateRect(host.m_hWnd, nullptr);
    host.m_pContext->InvalidateElement(pBold);
    RECT rcUpdate = {};
    ASSERT_TRUE(::GetUpdateRect(host.m_hWnd, &rcUpdate, FALSE));
    EXPECT_EQ(CRect(rcUpdate), rcText);
}

TEST(MarkupContextInvalidation, RepaintsTheElementAndDefersWhileFrozen)
{
    CHost host;
    host.Load(u"<TestElement x:Name='a' Height='20'/><TestElement x:Name='b' Height='30'/>");
    CQVTMarkupObject* pB = host.m_pRoot->FindName(u"b");
    ::UpdateWindow(host.m_hWnd);
    ::ValidateRect(host.m_hWnd, nullptr);
    host.m_nRedraws = 0;

    host.m_pContext->InvalidateElement(pB);
    RECT rcUpdate = {};
    ASSERT_TRUE(::GetUpdateRect(host.m_hWnd, &rcUpdate, FALSE));
    EXPECT_EQ(rcUpdate.top, 20);
    EXPECT_EQ(rcUpdate.bottom, 50);
    EXPECT_EQ(rcUpdate.right, 200);
    EXPECT_EQ(host.m_nRedraws, 1);

    // Frozen: whole-window requests and element requests wait; thawing
    // repaints the whole window and notifies once.
    ::ValidateRect(host.m_hWnd, nullptr);
    host.m_nRedraws = 0;
    host.m_pContext->FreezeUpdates();
    host.m_pContext->InvalidateAll();
    host.m_pContext->InvalidateElement(pB);
    EXPECT_FALSE(::GetUpdateRect(host.m_hWnd, &rcUpdate, FALSE));
    EXPECT_EQ(host.m_nRedraws, 0);
    host.m_pContext->UnfreezeUpdates();
    ASSERT_TRUE(::GetUpdateRect(host.m_hWnd, &rcUpdate, FALSE));
    EXPECT_EQ(rcUpdate.top, 0);
    EXPECT_EQ(rcUpdate.bottom, 100);
    EXPECT_EQ(host.m_nRedraws, 1);

    // Thawing with nothing pending sends nothing.
    host.m_nRedraws = 0;
    host.m_pContext->FreezeUpdates();
    host.m_pContext->UnfreezeUpdates();
    EXPECT_EQ(host.m_nRedraws, 0);
}
