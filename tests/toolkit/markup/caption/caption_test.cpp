// A markup caption in a real window under Xvfb, driven only through the
// entry functions as every host drives them: it measures, paints into the
// window's WM_PAINT DC (read back from the screen), turns its hyperlink red
// under a relayed mouse move, asks its host to repaint only that text with
// 0x2A5C, shows the hand cursor, and raises Click on a press and release.
#include "dib_canvas.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"

namespace {
const COLORREF kTeal = RGB(0, 150, 150);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const WCHAR kClass[] = u"MarkupCaptionTestHost";

const WCHAR kCaption[] =
    u"<StackPanel xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
    u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml' Background='White'>"
    u"<TextBlock x:Name='first'>Press <Bold x:Name='bold'>here</Bold> now</TextBlock>"
    u"<TextBlock x:Name='second'>or follow <Hyperlink Click='OnLink'>this link</Hyperlink></TextBlock>"
    u"</StackPanel>";

}  // namespace

// The host: a popup window whose client area is the caption.
class CCaptionHost
{
public:
    CCaptionHost()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        ::RegisterClassW(&wc);
        // In the screen's bottom-right corner, away from the windows of other
        // test programs that drive the real pointer.
        m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, kClass, u"caption", WS_POPUP, 1060, 940, 10, 10, nullptr,
                                   nullptr, wc.hInstance, this);
    }
    ~CCaptionHost()
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    void OnLink(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs*) { ++m_nClicks; }

    HWND m_hWnd = nullptr;
    CQVTMarkupContext* m_pContext = nullptr;
    CQVTMarkupUIElement* m_pCaption = nullptr;
    int m_nRedraws = 0;  // 0x2A5C requests received
    int m_nClicks = 0;
    CRect m_rcLastUpdate;  // what was invalid when the last request came

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CCaptionHost* pHost = reinterpret_cast<CCaptionHost*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (message == WM_NCCREATE)
        {
            pHost = static_cast<CCaptionHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pHost));
            pHost->m_hWnd = hWnd;
        }
        if (pHost == nullptr)
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        return pHost->OnMessage(message, wParam, lParam);
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        LRESULT lResult = 0;
        if (m_pCaption != nullptr && MarkupRelayElementMessage(m_pCaption, message, wParam, lParam, &lResult))
            return lResult;
        switch (message)
        {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
        {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(m_hWnd, &ps);
            CRect rc;
            ::GetClientRect(m_hWnd, &rc);
            MarkupRenderElement(m_pCaption, hDC, rc);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        case QVT_WM_MARKUPREDRAW:
            ++m_nRedraws;
            ::GetUpdateRect(m_hWnd, &m_rcLastUpdate, FALSE);
            return 0;
        case WM_DESTROY:
            MarkupReleaseElement(m_pCaption);
            MarkupReleaseContext(m_pContext);
            return 0;
        default:
            return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
        }
    }

    void OnCreate()
    {
        m_pContext = MarkupCreateContext(m_hWnd, FALSE);
        // The ink and decorations are compared with what GDI draws.
        m_pContext->EnableGdiPlus(FALSE);
        MarkupSetDefaultFont(m_pContext, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)),
                             RGB(0, 0, 0));
        m_pContext->SetDelegate(u"OnLink",
                                new CQVTMarkupClassDelegate<CCaptionHost>(this, &CCaptionHost::OnLink));
        m_pCaption = MarkupParseText(m_pContext, kCaption);
        // The host sizes itself to its caption.
        const CSize size = MarkupMeasureElement(m_pCaption, 1000, 1000);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, size.cx + 20, size.cy + 10, SWP_NOMOVE | SWP_NOACTIVATE);
    }
};

class MarkupCaption : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_host.m_pCaption, nullptr);
        ::ShowWindow(m_host.m_hWnd, SW_SHOWNOACTIVATE);
        screentest::Pump();
    }
    CQVTMarkupTextBlock* TextBlock(LPCWSTR lpszName)
    {
        return MarkupCast<CQVTMarkupTextBlock>(m_host.m_pCaption->FindName(lpszName));
    }
    // A part of a text block, in the window's client coordinates.
    CRect PartRect(LPCWSTR lpszTextBlock, size_t nPart)
    {
        CQVTMarkupTextBlock* pTextBlock = TextBlock(lpszTextBlock);
        CRect rc(pTextBlock->GetLines()[0]->parts[nPart]->GetRect());
        const POINT pt = pTextBlock->GetAbsoluteOffset();
        rc.OffsetRect(pt.x, pt.y);
        return rc;
    }
    void Send(UINT message, CPoint pt)
    {
        ::SendMessageW(m_host.m_hWnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                       MAKELPARAM(pt.x, pt.y));
    }

    CCaptionHost m_host;
};

namespace {

// The ink of a word drawn by GDI alone in a font of this weight.
int InkOfWord(LPCWSTR lpszWord, int nWeight)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = nWeight;
    DibCanvas canvas(200, 50);
    HFONT hFont = ::CreateFontIndirectW(&lf);
    ::SelectObject(canvas.dc.m_hDC, hFont);
    ::SetBkMode(canvas.dc.m_hDC, TRANSPARENT);
    ::ExtTextOutW(canvas.dc.m_hDC, 0, 0, 0, nullptr, lpszWord, static_cast<int>(_tcslen(lpszWord)), nullptr);
    const int nInk = screentest::InkIn(canvas, CRect(0, 0, 200, 50), kWhite);
    ::SelectObject(canvas.dc.m_hDC, ::GetStockObject(SYSTEM_FONT));
    ::DeleteObject(hFont);
    return nInk;
}
}  // namespace

TEST_F(MarkupCaption, TheCaptionPaintsItsBoldRunAndItsUnderlinedLink)
{
    auto screen = screentest::Capture(m_host.m_hWnd);
    // The bold word has a bold word's ink, not a normal one's.
    const int nBoldInk = screentest::InkIn(*screen, PartRect(u"first", 1), kWhite);
    EXPECT_GT(nBoldInk, (InkOfWord(u"here", FW_NORMAL) + InkOfWord(u"here", FW_BOLD)) / 2);

    // The link in (0, 150, 150), with a line of that colour under it.
    const CRect rcLink = PartRect(u"second", 1);
    EXPECT_GT(screentest::CountIn(*screen, rcLink, kTeal), rcLink.Width());
    int nUnderline = 0;
    for (int y = rcLink.top; y < rcLink.bottom; ++y)
        nUnderline = std::max(
            nUnderline, screentest::CountIn(*screen, CRect(rcLink.left, y, rcLink.right, y + 1), kTeal));
    EXPECT_EQ(nUnderline, rcLink.Width());
    EXPECT_EQ(screentest::CountIn(*screen, PartRect(u"second", 0), kTeal), 0);
    EXPECT_EQ(screentest::CountIn(*screen, rcLink, kRed), 0);
}

TEST_F(MarkupCaption, ARelayedMouseMoveTurnsTheLinkRedAndRepaintsOnlyItsText)
{
    screentest::Capture(m_host.m_hWnd);
    const CRect rcLink = PartRect(u"second", 1);
    const int nBefore = m_host.m_nRedraws;
    Send(WM_MOUSEMOVE, rcLink.CenterPoint());
    EXPECT_GT(m_host.m_nRedraws, nBefore);
    // Only the text block of the link is invalid, not the whole caption (the
    // link and each run in it that takes its colour ask for the same area).
    CQVTMarkupTextBlock* pSecond = TextBlock(u"second");
    CRect rcSecond(pSecond->GetBoundingRect());
    rcSecond.OffsetRect(pSecond->GetAbsoluteOffset());
    EXPECT_EQ(m_host.m_rcLastUpdate, rcSecond);

    auto screen = screentest::Capture(m_host.m_hWnd);
    EXPECT_GT(screentest::CountIn(*screen, rcLink, kRed), rcLink.Width());
    EXPECT_EQ(screentest::CountIn(*screen, rcLink, kTeal), 0);

    // The hand cursor over the link; the arrow's business elsewhere.
    LRESULT lResult = ::SendMessageW(m_host.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_host.m_hWnd),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(lResult, 1);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    // Leaving the link puts its colour back.
    Send(WM_MOUSEMOVE, PartRect(u"first", 0).CenterPoint());
    screen = screentest::Capture(m_host.m_hWnd);
    EXPECT_GT(screentest::CountIn(*screen, rcLink, kTeal), rcLink.Width());
    EXPECT_EQ(::SendMessageW(m_host.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_host.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              0);
}

TEST_F(MarkupCaption, PressAndReleaseOverTheLinkClick)
{
    const CPoint ptLink = PartRect(u"second", 1).CenterPoint();
    const CPoint ptElsewhere = PartRect(u"first", 0).CenterPoint();
    Send(WM_MOUSEMOVE, ptLink);
    Send(WM_LBUTTONDOWN, ptLink);
    EXPECT_EQ(m_host.m_nClicks, 0);
    Send(WM_LBUTTONUP, ptLink);
    EXPECT_EQ(m_host.m_nClicks, 1);

    // A double click clicks twice: its second press counts as a press.
    Send(WM_LBUTTONDOWN, ptLink);
    Send(WM_LBUTTONUP, ptLink);
    Send(WM_LBUTTONDBLCLK, ptLink);
    Send(WM_LBUTTONUP, ptLink);
    EXPECT_EQ(m_host.m_nClicks, 3);

    // No capture: a release elsewhere does not click, the next one over the link does.
    Send(WM_LBUTTONDOWN, ptLink);
    Send(WM_MOUSEMOVE, ptElsewhere);
    Send(WM_LBUTTONUP, ptElsewhere);
    EXPECT_EQ(m_host.m_nClicks, 3);
    Send(WM_MOUSEMOVE, ptLink);
    Send(WM_LBUTTONUP, ptLink);
    EXPECT_EQ(m_host.m_nClicks, 4);
}

TEST(MarkupEntryFunctions, NullArgumentsGiveNothingAndReleasesClearTheCallersPointer)
{
    EXPECT_EQ(MarkupParseText(nullptr, u"<TextBlock/>"), nullptr);
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
    EXPECT_EQ(MarkupParseText(pContext, nullptr), nullptr);
    EXPECT_EQ(MarkupParseDocument(pContext, nullptr), nullptr);
    EXPECT_EQ(MarkupParseDocument(nullptr, nullptr), nullptr);
    // Text that is not markup, and markup that does not build: no element.
    EXPECT_EQ(MarkupParseText(pContext, u"plain text"), nullptr);
    EXPECT_EQ(MarkupParseText(pContext, u"<NoSuchTag/>"), nullptr);
    EXPECT_EQ(MarkupParseText(pContext, u"<TextBlock>"), nullptr);
    EXPECT_EQ(MarkupMeasureElement(nullptr, 10, 10), CSize(0, 0));
    EXPECT_EQ(MarkupGetElementContext(nullptr), nullptr);
    LRESULT lResult = 7;
    EXPECT_FALSE(MarkupRelayMessage(nullptr, WM_MOUSEMOVE, 0, 0, &lResult));
    EXPECT_FALSE(MarkupRelayElementMessage(nullptr, WM_MOUSEMOVE, 0, 0, &lResult));
    EXPECT_EQ(lResult, 7);
    CQVTMarkupUIElement* pNone = nullptr;
    MarkupReleaseElement(pNone);
    MarkupSetDefaultFont(nullptr, nullptr, 0);

    // A null font and a colour change only the colour.
    const LOGFONTW lfBefore = pContext->GetDefaultFont();
    MarkupSetDefaultFont(pContext, nullptr, RGB(1, 2, 3));
    EXPECT_EQ(pContext->GetDefaultTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(0, memcmp(&lfBefore, &pContext->GetDefaultFont(), sizeof(LOGFONTW)));
    MarkupSetDefaultFont(pContext, static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT)),
                         static_cast<COLORREF>(-1));
    EXPECT_EQ(pContext->GetDefaultTextColor(), RGB(1, 2, 3));
    LOGFONTW lfFixed = {};
    ::GetObjectW(::GetStockObject(ANSI_FIXED_FONT), sizeof(lfFixed), &lfFixed);
    EXPECT_EQ(0, memcmp(&lfFixed, &pContext->GetDefaultFont(), sizeof(LOGFONTW)));

    // The element keeps its context alive after the caller lets go of it.
    CQVTMarkupUIElement* pElement = MarkupParseText(pContext, u"<TextBlock>kept</TextBlock>");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(MarkupGetElementContext(pElement), pContext);
    MarkupReleaseContext(pContext);
    EXPECT_EQ(pContext, nullptr);
    EXPECT_GT(MarkupMeasureElement(pElement, 500, 500).cx, 0);
    // Without a host window nothing is relayed.
    EXPECT_FALSE(MarkupRelayElementMessage(pElement, WM_SETCURSOR, 0, 0, &lResult));
    MarkupReleaseElement(pElement);
    EXPECT_EQ(pElement, nullptr);
}

TEST(MarkupEntryFunctions, ANewDefaultFontLaysOutAgainWhatWasMeasuredInTheOldOne)
{
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
    pContext->EnableGdiPlus(FALSE);
    CFont fontSmall, fontLarge;
    fontSmall.CreatePointFont(80, u"Tahoma");
    fontLarge.CreatePointFont(200, u"Tahoma");
    auto extent = [](CFont& font) {
        CClientDC dc(nullptr);
        CFont* pOld = dc.SelectObject(&font);
        const CSize size = dc.GetTextExtent(u"Recording", 9);
        dc.SelectObject(pOld);
        return size.cx;
    };
    // Within a panel, so that the layout cached above the text counts too.
    CQVTMarkupUIElement* pElement =
        MarkupParseText(pContext, u"<StackPanel><TextBlock>Recording</TextBlock></StackPanel>");
    ASSERT_NE(pElement, nullptr);
    MarkupSetDefaultFont(pContext, fontSmall, static_cast<COLORREF>(-1));
    EXPECT_EQ(extent(fontSmall), MarkupMeasureElement(pElement).cx);
    MarkupSetDefaultFont(pContext, fontLarge, static_cast<COLORREF>(-1));
    EXPECT_EQ(extent(fontLarge), MarkupMeasureElement(pElement).cx);

    // Drawing alone, at the size last measured, picks it up as well.
    DibCanvas canvas(400, 60);
    const CRect rc(0, 0, 400, 60);
    MarkupRenderElement(pElement, canvas.dc, rc);
    const int nLarge = canvas.BoundsOfAllBut(RGB(255, 255, 255)).Width();
    MarkupSetDefaultFont(pContext, fontSmall, static_cast<COLORREF>(-1));
    canvas.Clear(RGB(255, 255, 255));
    MarkupRenderElement(pElement, canvas.dc, rc);
    EXPECT_LT(canvas.BoundsOfAllBut(RGB(255, 255, 255)).Width(), nLarge * 2 / 3);
    MarkupReleaseElement(pElement);
    MarkupReleaseContext(pContext);
}
