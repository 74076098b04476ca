// Markup buttons under a real window: the click cycle with capture, toggle
// and radio states with their events, the glyph buttons' sizes, and the
// themed or classic drawing read back from a DIB (the test runs once in the
// themed prefix and once in the unthemed one).
#include <cstdlib>
#include <cstring>

#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/controls/QVTMarkupButton.h"
#include "toolkit/markup/controls/QVTMarkupToggleButton.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"

namespace {
BOOL ExpectVisualStyles()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return pszValue == nullptr || std::strcmp(pszValue, "0") != 0;
}

// A hidden window relaying its mouse messages to one markup tree; events of
// the named elements are logged as "name:Event".
class CButtonHost
{
public:
    CButtonHost()
    {
        static const WCHAR kClass[] = u"SondrelMarkupButtonsTest";
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CButtonHost::WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(WS_EX_NOACTIVATE, kClass, u"buttons", WS_POPUP, 40, 40, 200, 200, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pContext = MarkupCreateContext(m_hWnd, 0);
    }
    ~CButtonHost()
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
        ::DestroyWindow(m_hWnd);
    }
    void Load(LPCWSTR lpszBody)
    {
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, PanelMarkup(lpszBody), &strError);
        ASSERT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        CQVTMarkupDrawingContext dc(m_pContext);
        m_pRoot->Measure(&dc, SIZE{200, 200});
        m_pRoot->Arrange(RECT{0, 0, 200, 200});
    }
    template <class T>
    T* Find(LPCWSTR lpszName)
    {
        return MarkupCast<T>(m_pRoot->FindName(lpszName));
    }
    void Listen(LPCWSTR lpszName, CQVTMarkupRoutedEvent* pEvent)
    {
        Find<CQVTMarkupInputElement>(lpszName)->AddHandler(
            pEvent, new CQVTMarkupClassDelegate<CButtonHost>(this, &CButtonHost::OnEvent));
    }
    void Send(UINT message, int x, int y, WPARAM wParam = 0)
    {
        ::SendMessageW(m_hWnd, message, wParam, MAKELPARAM(x, y));
    }
    void Click(int x, int y)
    {
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }
    CString TakeLog()
    {
        CString strLog = m_strLog;
        m_strLog.Empty();
        return strLog;
    }

    HWND m_hWnd = nullptr;
    CQVTMarkupContext* m_pContext = nullptr;
    CQVTMarkupUIElement* m_pRoot = nullptr;

private:
    void OnEvent(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs)
    {
        const LPCWSTR lpszName = MarkupCast<CQVTMarkupObject>(pArgs->GetSource())->GetName();
        m_strLog +=
            CString(lpszName != nullptr ? lpszName : u"?") + u":" + pArgs->GetEvent()->GetName() + u" ";
    }
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CButtonHost* pHost = reinterpret_cast<CButtonHost*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        LRESULT lResult = 0;
        if (pHost != nullptr && pHost->m_pRoot != nullptr &&
            MarkupRelayElementMessage(pHost->m_pRoot, message, wParam, lParam, &lResult))
            return lResult;
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }

    CString m_strLog;
};
}  // namespace

TEST(MarkupButtons, AClickNeedsThePressAndTheReleaseOverTheButton)
{
    CButtonHost host;
    host.Load(u"<Button Name='b' Height='30'>Go</Button><Button Name='off' Height='30' IsEnabled='False'/>");
    host.Listen(u"b", CQVTMarkupButtonBase::m_pClickEvent);
    host.Listen(u"off", CQVTMarkupButtonBase::m_pClickEvent);
    CQVTMarkupButton* pButton = host.Find<CQVTMarkupButton>(u"b");

    host.Click(20, 10);
    EXPECT_EQ(host.TakeLog(), CString(u"b:Click "));
    EXPECT_FALSE(pButton->IsPressed());
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), nullptr);

    // Press, move out, release: no click, nothing pressed or hovered.
    host.Send(WM_MOUSEMOVE, 20, 10);
    host.Send(WM_LBUTTONDOWN, 20, 10, MK_LBUTTON);
    EXPECT_TRUE(pButton->IsPressed());
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), pButton);
    host.Send(WM_MOUSEMOVE, 20, 150, MK_LBUTTON);
    EXPECT_FALSE(pButton->IsPressed());
    host.Send(WM_LBUTTONUP, 20, 150);
    EXPECT_EQ(host.TakeLog(), CString());
    EXPECT_FALSE(pButton->IsPressed());
    EXPECT_FALSE(pButton->IsMouseOver());

    // Press, out, back in, release: one click.
    host.Send(WM_MOUSEMOVE, 20, 10);
    host.Send(WM_LBUTTONDOWN, 20, 10, MK_LBUTTON);
    host.Send(WM_MOUSEMOVE, 20, 150, MK_LBUTTON);
    host.Send(WM_MOUSEMOVE, 21, 11, MK_LBUTTON);
    EXPECT_TRUE(pButton->IsPressed());
    host.Send(WM_LBUTTONUP, 21, 11);
    EXPECT_EQ(host.TakeLog(), CString(u"b:Click "));

    // Losing the capture while pressed unpresses without a click.
    host.Send(WM_LBUTTONDOWN, 21, 11, MK_LBUTTON);
    ASSERT_EQ(::GetCapture(), host.m_hWnd);
    ::ReleaseCapture();
    EXPECT_FALSE(pButton->IsPressed());
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), nullptr);
    host.Send(WM_LBUTTONUP, 21, 11);
    EXPECT_EQ(host.TakeLog(), CString());

    // A disabled button takes the press and never clicks.
    host.Click(20, 40);
    EXPECT_EQ(host.TakeLog(), CString());
    EXPECT_EQ(host.m_pContext->GetCaptureElement(), nullptr);
}

TEST(MarkupButtons, ToggleStatesCycleAndRadioButtonsUncheckTheirSiblings)
{
    CButtonHost host;
    host.Load(u"<CheckBox Name='two' Height='20'/>"
              u"<CheckBox Name='three' Height='20' IsThreeState='True'/>"
              u"<RadioButton Name='r1' Height='20'/><RadioButton Name='r2' Height='20' IsChecked='True'/>"
              u"<TestPanel Height='40'><RadioButton Name='r3' Height='20' IsChecked='True'/>"
              u"<RadioButton Name='r4' Height='20'/></TestPanel>");
    CQVTMarkupCheckBox* pTwo = host.Find<CQVTMarkupCheckBox>(u"two");
    CQVTMarkupCheckBox* pThree = host.Find<CQVTMarkupCheckBox>(u"three");
    for (LPCWSTR lpszName : {u"two", u"three", u"r1", u"r2", u"r3"})
        for (CQVTMarkupRoutedEvent* pEvent :
             {CQVTMarkupToggleButton::m_pCheckedEvent, CQVTMarkupToggleButton::m_pUncheckedEvent,
              CQVTMarkupToggleButton::m_pIndeterminateEvent, CQVTMarkupButtonBase::m_pClickEvent})
            host.Listen(lpszName, pEvent);

    host.Click(5, 10);
    EXPECT_EQ(pTwo->GetChecked(), qvtChecked);
    host.Click(5, 10);
    EXPECT_EQ(pTwo->GetChecked(), qvtUnchecked);
    EXPECT_EQ(host.TakeLog(), CString(u"two:Checked two:Click two:Unchecked two:Click "));

    host.Click(5, 30);
    host.Click(5, 30);
    EXPECT_EQ(pThree->GetChecked(), qvtIndeterminate);
    host.Click(5, 30);
    EXPECT_EQ(pThree->GetChecked(), qvtUnchecked);
    EXPECT_EQ(host.TakeLog(), CString(u"three:Checked three:Click three:Indeterminate three:Click "
                                      u"three:Unchecked three:Click "));

    // Checking r1 unchecks r2 only: r3 has another parent.
    host.Click(5, 50);
    EXPECT_EQ(host.Find<CQVTMarkupRadioButton>(u"r1")->GetChecked(), qvtChecked);
    EXPECT_EQ(host.Find<CQVTMarkupRadioButton>(u"r2")->GetChecked(), qvtUnchecked);
    EXPECT_EQ(host.Find<CQVTMarkupRadioButton>(u"r3")->GetChecked(), qvtChecked);
    EXPECT_EQ(host.TakeLog(), CString(u"r2:Unchecked r1:Checked r1:Click "));
    // A checked radio button stays checked when clicked again.
    host.Click(5, 50);
    EXPECT_EQ(host.Find<CQVTMarkupRadioButton>(u"r1")->GetChecked(), qvtChecked);
    EXPECT_EQ(host.TakeLog(), CString(u"r1:Click "));
}

namespace {
// A click handler that fails the way host code does.
class CThrowingHandler
{
public:
    void OnClick(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs*)
    {
        ++m_nCalls;
        AfxThrowOleException(E_FAIL);
    }
    int m_nCalls = 0;
};
}  // namespace

TEST(MarkupButtons, AClickHandlerThatThrowsLeavesNoReferenceBehind)
{
    CButtonHost host;
    host.Load(u"<Button Name='b' Height='20'>Go</Button><CheckBox Name='c' Height='20'/>");
    CThrowingHandler handler;
    for (LPCWSTR lpszName : {u"b", u"c"})
        host.Find<CQVTMarkupInputElement>(lpszName)->AddHandler(
            CQVTMarkupButtonBase::m_pClickEvent,
            new CQVTMarkupClassDelegate<CThrowingHandler>(&handler, &CThrowingHandler::OnClick));
    CQVTMarkupButton* pButton = host.Find<CQVTMarkupButton>(u"b");
    CQVTMarkupCheckBox* pCheck = host.Find<CQVTMarkupCheckBox>(u"c");
    const LONG nButtonRefs = pButton->m_dwRef;
    const LONG nCheckRefs = pCheck->m_dwRef;

    // The relay stops the exception; the buttons hold what they held before.
    host.Click(5, 10);
    host.Click(5, 30);
    EXPECT_EQ(handler.m_nCalls, 2);
    EXPECT_EQ(pButton->m_dwRef, nButtonRefs);
    EXPECT_EQ(pCheck->m_dwRef, nCheckRefs);
    EXPECT_EQ(pCheck->GetChecked(), qvtChecked);
    EXPECT_FALSE(pButton->IsPressed());
}

TEST(MarkupButtons, GlyphButtonsLeaveRoomForTheGlyphAndRadioButtonsKeepItsHeight)
{
    CButtonHost host;
    host.Load(u"<CheckBox Name='c' Padding='1,2,3,4'/><RadioButton Name='r' Padding='1,2,3,4'/>"
              u"<CheckBox Name='t'>Caption</CheckBox><Button Name='b' Padding='2'/>");
    EXPECT_EQ(CSize(host.Find<CQVTMarkupCheckBox>(u"c")->GetDesiredSize()), CSize(20, 6));
    EXPECT_EQ(CSize(host.Find<CQVTMarkupRadioButton>(u"r")->GetDesiredSize()), CSize(20, 13));
    EXPECT_EQ(CSize(host.Find<CQVTMarkupButton>(u"b")->GetDesiredSize()), CSize(12, 12));

    CQVTMarkupCheckBox* pCaptioned = host.Find<CQVTMarkupCheckBox>(u"t");
    CQVTMarkupUIElement* pCaption = pCaptioned->GetContent();
    ASSERT_NE(pCaption, nullptr);
    EXPECT_EQ(pCaptioned->GetDesiredSize().cx, pCaption->GetDesiredSize().cx + 16);
    EXPECT_EQ(pCaption->GetVisualOffset().x, 16);
}

TEST(MarkupButtons, PressedContentMovesUnlessTheThemeShowsThePress)
{
    CButtonHost host;
    host.Load(u"<Button Name='plain' Height='40'>A</Button><Button Name='own' Height='40' "
              u"Background='Blue'>B</Button>");
    for (LPCWSTR lpszName : {u"plain", u"own"})
    {
        CQVTMarkupButton* pButton = host.Find<CQVTMarkupButton>(lpszName);
        const int y = pButton->GetVisualOffset().y + 10;
        const POINT ptBefore = pButton->GetContent()->GetVisualOffset();
        host.Send(WM_MOUSEMOVE, 20, y);
        host.Send(WM_LBUTTONDOWN, 20, y, MK_LBUTTON);
        ASSERT_TRUE(pButton->IsPressed());
        const POINT ptPressed = pButton->GetContent()->GetVisualOffset();
        host.Send(WM_LBUTTONUP, 20, y);
        const BOOL bMoves = !ExpectVisualStyles() || CString(lpszName) == u"own";
        EXPECT_EQ(ptPressed.x - ptBefore.x, bMoves ? 1 : 0) << CStringA(lpszName).GetString();
        EXPECT_EQ(ptPressed.y - ptBefore.y, bMoves ? 1 : 0) << CStringA(lpszName).GetString();
        EXPECT_EQ(pButton->GetContent()->GetVisualOffset().x, ptBefore.x);
    }
}

TEST(MarkupButtons, ButtonsDrawTheirFrameAndGlyphsTheirState)
{
    CButtonHost host;
    host.Load(u"<Button Name='own' Height='30' Background='#808080'/><Button Name='plain' Height='30'/>"
              u"<CheckBox Name='c' Height='20'/><CheckBox Name='d' Height='20' IsChecked='True'/>");
    DibCanvas canvas(200, 200, RGB(1, 2, 3));
    MarkupRenderElement(host.m_pRoot, canvas.dc.m_hDC, CRect(0, 0, 200, 200));

    // A grey of its own: lighter strips top and left (lightness halfway to
    // white), darker ones bottom and right (a third off, halved).
    EXPECT_EQ(canvas.At(100, 15), RGB(128, 128, 128));
    EXPECT_NEAR(GetRValue(canvas.At(100, 0)), 191, 2);
    EXPECT_EQ(canvas.At(0, 15), canvas.At(100, 0));
    EXPECT_NEAR(GetRValue(canvas.At(100, 28)), 85, 2);
    EXPECT_NEAR(GetRValue(canvas.At(100, 29)), 42, 2);
    EXPECT_EQ(canvas.At(199, 15), canvas.At(100, 29));

    // The plain button covers its area in either look.
    EXPECT_NE(canvas.At(100, 45), RGB(1, 2, 3));
    if (!ExpectVisualStyles())
    {
        EXPECT_EQ(canvas.At(100, 45), ::GetSysColor(COLOR_BTNFACE));
    }

    // Check boxes: the glyph only, 13 pixels square and vertically centred,
    // a checked one unlike an unchecked one.
    EXPECT_EQ(canvas.At(20, 70), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(6, 62), RGB(1, 2, 3));
    int nCovered = 0;
    int nDifferent = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
        {
            nCovered += canvas.At(x, 64 + y) != RGB(1, 2, 3);
            nDifferent += canvas.At(x, 64 + y) != canvas.At(x, 84 + y);
        }
    EXPECT_GT(nCovered, 120);
    EXPECT_GT(nDifferent, 4);
}
