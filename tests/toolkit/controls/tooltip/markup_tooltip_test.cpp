// The tips of a markup context: an element with a ToolTip under the real
// pointer shows it through the context's own tooltip context.
#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

namespace {

// A host window showing one markup element and relaying its messages.
class CMarkupHost : public CWnd
{
public:
    BOOL Open(LPCWSTR lpszMarkup)
    {
        if (!CreateEx(WS_EX_TOPMOST,
                      AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                          (HBRUSH)::GetStockObject(WHITE_BRUSH)),
                      _T("markup host"), WS_POPUP | WS_VISIBLE, 700, 620, 240, 60, nullptr, nullptr))
            return FALSE;
        m_pContext = MarkupCreateContext(m_hWnd, FALSE);
        m_pElement = MarkupParseText(m_pContext, lpszMarkup);
        return m_pElement != nullptr;
    }
    ~CMarkupHost() override
    {
        MarkupReleaseElement(m_pElement);
        MarkupReleaseContext(m_pContext);
        if (m_hWnd)
            DestroyWindow();
    }

    CQVTMarkupContext* m_pContext = nullptr;
    CQVTMarkupUIElement* m_pElement = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE)
        {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
            ::TrackMouseEvent(&tme);
        }
        LRESULT lResult = 0;
        if (m_pElement && MarkupRelayElementMessage(m_pElement, message, wParam, lParam, &lResult))
            return lResult;
        if (message == WM_PAINT)
        {
            CPaintDC dc(this);
            CRect rc;
            GetClientRect(&rc);
            MarkupRenderElement(m_pElement, dc.m_hDC, rc);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(MarkupContextTips, AnElementsToolTipShowsUnderThePointer)
{
    CMarkupHost host;
    ASSERT_TRUE(host.Open(u"<Border Background='#E0E0E0' ToolTip='Input level' Width='240' Height='60'/>"));
    CQVTToolTipContext* pTips = host.m_pContext->GetToolTipContext();
    ASSERT_TRUE(pTips);
    EXPECT_EQ(pTips->GetStyle(), CQVTToolTipContext::toolTipMarkup);
    pTips->SetDelayTime(TTDT_INITIAL, 100);
    host.UpdateWindow();

    bool bShown = false;
    for (int nTry = 0; nTry < 3 && !bShown; ++nTry)
    {
        MouseMoveTo(CPoint(5, 5));
        PumpMessages(300);
        host.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        host.SetForegroundWindow();
        MouseMoveTo(CPoint(800, 650));
        MouseMoveTo(CPoint(810, 652));
        bShown = PumpUntil(
            [&] {
                CWnd* pTip = pTips->GetToolTip();
                return pTip && ::IsWindowVisible(pTip->m_hWnd);
            },
            2000);
    }
    ASSERT_TRUE(bShown);
    auto* pTip = DYNAMIC_DOWNCAST(CQVTToolTipContextToolTip, pTips->GetToolTip());
    ASSERT_TRUE(pTip && pTip->GetShownTool());
    EXPECT_EQ(pTip->GetShownTool()->strText, CString(_T("Input level")));
    EXPECT_EQ(pTip->GetShownTool()->hwnd, host.m_hWnd);

    // Off the element there is no tool.
    MouseMoveTo(CPoint(5, 5));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(pTips->GetToolTip()->m_hWnd); }, 2000));
}
