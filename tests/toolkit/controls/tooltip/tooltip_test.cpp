// Tooltips under real mouse input: a window with two tools relays its mouse
// messages to a tooltip context; the tests move the pointer and watch the
// tip window come and go, and sample the looks' colours from the tip drawn
// into a DIB.
#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"
#include "toolkit/controls/tooltip/QVTToolTipHTML.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/image/QVTImageManager.h"

#include <vector>

struct Tool
{
    CRect rc;
    CString strText;
    CString strDescription;
};

// A window whose tools are rectangles of its client area; it relays every
// message to the context, as the toolkit's windows do.
class CToolOwner : public CWnd
{
public:
    explicit CToolOwner(CQVTToolTipContext* pContext) : m_pContext(pContext) {}
    ~CToolOwner() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    BOOL Open(CRect rc)
    {
        return CreateEx(
            WS_EX_TOPMOST,
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)::GetStockObject(WHITE_BRUSH)),
            _T("tool owner"), WS_POPUP | WS_VISIBLE, rc.left, rc.top, rc.Width(), rc.Height(), nullptr,
            nullptr);
    }

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        for (size_t i = 0; i < m_tools.size(); ++i)
        {
            if (!m_tools[i].rc.PtInRect(point))
                continue;
            CQVTToolTipContext::FillInToolInfoEx(pTI, m_hWnd, m_tools[i].rc, (INT_PTR)(i + 1),
                                                 m_tools[i].strText, m_tools[i].strDescription, m_pImages);
            pTI->uFlags |= m_uHitFlags;
            return (INT_PTR)(i + 1);
        }
        return -1;
    }

    CPoint ToolCentre(int nTool) const
    {
        CPoint pt = m_tools[nTool - 1].rc.CenterPoint();
        ClientToScreen(&pt);
        return pt;
    }

    std::vector<Tool> m_tools;
    std::vector<UINT_PTR> m_shown;  // TTN_SHOW, by tool id
    CQVTImageManager* m_pImages = nullptr;
    bool m_bTrackLeave = true;  // asks for WM_MOUSELEAVE, as the toolkit's windows do
    // Tests running beside these take the foreground now and then: the tips
    // here show whether or not this application is active.
    UINT m_uHitFlags = CQVTToolTipContext::hitShowWhenInactive;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE && m_bTrackLeave)
        {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
            ::TrackMouseEvent(&tme);
        }
        m_pContext->RelayToolTipMessage(this, message, wParam, lParam);
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_SHOW)
            m_shown.push_back(reinterpret_cast<NMHDR*>(lParam)->idFrom);
        return CWnd::WindowProc(message, wParam, lParam);
    }

    CQVTToolTipContext* m_pContext;
};

class ToolTipTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pContext = new CQVTToolTipContext;
        m_pOwner.reset(new CToolOwner(m_pContext));
        ASSERT_TRUE(m_pOwner->Open(CRect(640, 500, 940, 560)));
        m_pOwner->m_tools = {{CRect(0, 0, 150, 60), _T("Record"), _T("")},
                             {CRect(150, 0, 300, 60), _T("Stop"), _T("")}};
        m_pOwner->SetForegroundWindow();
        MouseMoveTo(CPoint(20, 20));
        PumpMessages(50);
    }
    void TearDown() override
    {
        MouseMoveTo(CPoint(20, 20));
        m_pOwner.reset();
        m_pContext->InternalRelease();
        PumpMessages(20);
    }

    CQVTToolTipContextToolTip* Tip() const
    {
        return DYNAMIC_DOWNCAST(CQVTToolTipContextToolTip, m_pContext->GetToolTip());
    }
    bool Shown() const
    {
        CWnd* pTip = m_pContext->GetToolTip();
        return pTip && ::IsWindow(pTip->m_hWnd) && pTip->IsWindowVisible();
    }
    // Hovers a tool and waits for its tip.
    // Hovers a tool until its tip shows. A window of a test running beside
    // this one may have come up over the owner: then the owner is raised and
    // the tool entered again.
    bool HoverUntilShown(int nTool)
    {
        for (int nTry = 0; nTry < 3; ++nTry)
        {
            if (nTry > 0)
            {
                MouseMoveTo(CPoint(20, 20));
                PumpMessages(300);
            }
            m_pOwner->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            MouseMoveTo(m_pOwner->ToolCentre(nTool));
            if (PumpUntil([this] { return Shown(); }, 3000))
                return true;
        }
        return false;
    }
    CRect TipRect() const
    {
        CRect rc;
        m_pContext->GetToolTip()->GetWindowRect(&rc);
        return rc;
    }

    CQVTToolTipContext* m_pContext = nullptr;
    std::unique_ptr<CToolOwner> m_pOwner;
};

namespace {

// The shown tip drawn into a DIB through WM_PRINTCLIENT.
struct TipPicture : DibCanvas
{
    explicit TipPicture(CWnd* pTip)
        : DibCanvas(std::max(1, Client(pTip).Width()), std::max(1, Client(pTip).Height()), RGB(1, 2, 3))
    {
        pTip->SendMessage(WM_PRINTCLIENT, (WPARAM)dc.m_hDC, PRF_CLIENT);
    }
    // Pixels of the colour inside the frame.
    int CountInside(COLORREF clr) const
    {
        int n = 0;
        for (int y = 2; y < Height() - 2; ++y)
            for (int x = 2; x < Width() - 2; ++x)
                n += At(x, y) == clr;
        return n;
    }
    static CRect Client(CWnd* pTip)
    {
        CRect rc;
        pTip->GetClientRect(&rc);
        return rc;
    }
};

bool Near(COLORREF a, COLORREF b, int nTolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= nTolerance && abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

}  // namespace

TEST_F(ToolTipTest, TipWaitsForTheInitialDelayThenFollowsAtOnceFromToolToTool)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 1200);

    // A window of a test running beside this one may come up over the owner:
    // then the tool is entered again.
    bool bShown = false, bEarly = false;
    for (int nTry = 0; nTry < 3 && !bShown; ++nTry)
    {
        MouseMoveTo(CPoint(20, 20));
        PumpMessages(400);
        m_pOwner->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        MouseMoveTo(m_pOwner->ToolCentre(1));
        PumpMessages(150);
        bEarly = Shown();
        bShown = PumpUntil([this] { return Shown(); }, 4000);
    }
    EXPECT_FALSE(bEarly) << "shown before the initial delay";
    ASSERT_TRUE(bShown);
    ASSERT_TRUE(Tip());
    EXPECT_EQ(Tip()->GetShownTool()->uId, 1u);
    EXPECT_EQ(Tip()->GetShownTool()->strText, CString(_T("Record")));
    ASSERT_EQ(m_pOwner->m_shown.size(), 1u);
    EXPECT_EQ(m_pOwner->m_shown[0], 1u);

    // Within the reshow time the next tool's tip needs no initial delay.
    MouseMoveTo(m_pOwner->ToolCentre(2));
    PumpMessages(150);
    EXPECT_TRUE(Shown());
    ASSERT_TRUE(Tip()->GetShownTool());
    EXPECT_EQ(Tip()->GetShownTool()->uId, 2u);
    EXPECT_EQ(m_pOwner->m_shown.back(), 2u);

    // Leaving the window hides the tip; after a pause the delay applies again.
    MouseMoveTo(CPoint(20, 20));
    EXPECT_TRUE(PumpUntil([this] { return !Shown(); }, 2000));
    PumpMessages(400);
    MouseMoveTo(m_pOwner->ToolCentre(1));
    PumpMessages(150);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, AClickHidesTheTipAndKeepsItHiddenUntilAnotherToolShows)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 300);
    ASSERT_TRUE(HoverUntilShown(1));

    MouseLeftDown();
    MouseLeftUp();
    EXPECT_FALSE(Shown());
    // Moving on the same tool, long past the initial delay.
    CPoint pt = m_pOwner->ToolCentre(1);
    for (int i = 1; i <= 4; ++i)
    {
        MouseMoveTo(CPoint(pt.x + i * 3, pt.y));
        PumpMessages(250);
        EXPECT_FALSE(Shown());
    }
    ASSERT_TRUE(HoverUntilShown(2));
    EXPECT_EQ(Tip()->GetShownTool()->uId, 2u);
    // Back on the first tool, after another tool's tip: it shows again.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(400);
    EXPECT_TRUE(HoverUntilShown(1));
}

TEST_F(ToolTipTest, TheTipStaysInsideTheWorkArea)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(CPoint(0, 0));
    m_pOwner->m_tools[0].strText = _T("A tip long enough to pass the right edge of the screen by far");
    m_pOwner->SetWindowPos(&CWnd::wndTopMost, rcWork.right - 300, rcWork.bottom - 60, 0, 0,
                           SWP_NOSIZE | SWP_NOACTIVATE);
    MouseMoveTo(CPoint(rcWork.right - 290, rcWork.bottom - 10));
    ASSERT_TRUE(PumpUntil([this] { return Shown(); }, 3000));
    CRect rcTip = TipRect();
    EXPECT_GE(rcTip.left, rcWork.left);
    EXPECT_GE(rcTip.top, rcWork.top);
    EXPECT_LE(rcTip.right, rcWork.right);
    EXPECT_LE(rcTip.bottom, rcWork.bottom);
    // Above the cursor, since there is no room below it.
    EXPECT_LE(rcTip.bottom, rcWork.bottom - 10);
}

TEST_F(ToolTipTest, TheTipGoesWhenThePointerIsOverAnotherWindowOrTheAutoPopEnds)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    // A window beside the owner, and an owner that asks for no leave notice:
    // only the tip's mouse hook sees the pointer go.
    m_pOwner->m_bTrackLeave = false;
    CWnd other;
    ASSERT_TRUE(other.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), _T("other"),
                               WS_POPUP, 950, 500, 100, 60, nullptr, nullptr));
    other.ShowWindow(SW_SHOWNOACTIVATE);
    m_pOwner->SetForegroundWindow();
    ASSERT_TRUE(HoverUntilShown(2));
    MouseMoveTo(CPoint(1000, 530));
    EXPECT_TRUE(PumpUntil([this] { return !Shown(); }, 2000));
    other.DestroyWindow();

    m_pContext->SetDelayTime(TTDT_AUTOPOP, 400);
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    ASSERT_TRUE(HoverUntilShown(1));
    EXPECT_TRUE(PumpUntil([this] { return !Shown(); }, 3000));
}

TEST_F(ToolTipTest, TextsLoseTrailingDotsAndTitlesShowTheDescription)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    EXPECT_EQ(m_pContext->PrepareText(_T("Save...")), CString(_T("Save")));
    EXPECT_EQ(m_pContext->PrepareText(_T("...")), CString(_T("...")));
    EXPECT_EQ(m_pContext->PrepareText(_T("&Open")), CString(_T("&Open")));  // prefixes kept by default
    m_pContext->ModifyToolTipStyle(TTS_NOPREFIX, 0);
    EXPECT_EQ(m_pContext->PrepareText(_T("&Open && Save")), CString(_T("Open & Save")));
    m_pContext->ModifyToolTipStyle(0, TTS_NOPREFIX);

    m_pOwner->m_tools[0].strText = _T("Record...");
    ASSERT_TRUE(HoverUntilShown(1));
    EXPECT_EQ(Tip()->GetShownTool()->strText, CString(_T("Record")));
    EXPECT_TRUE(Tip()->GetTitle().IsEmpty());
    CSize szPlain = TipRect().Size();

    // With titles, the tool text is the title and the description the body.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pContext->SetShowTitle(TRUE, TTI_INFO);
    m_pOwner->m_tools[1].strDescription = _T("Stops the recording and keeps what was recorded.");
    ASSERT_TRUE(HoverUntilShown(2));
    EXPECT_EQ(Tip()->GetTitle(), CString(_T("Stop")));
    EXPECT_EQ(Tip()->GetShownTool()->strText, m_pOwner->m_tools[1].strDescription);
    EXPECT_GT(TipRect().Height(), szPlain.cy);

    // A description that repeats the title is dropped: no title.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pOwner->m_tools[0].strDescription = _T("Record...");
    ASSERT_TRUE(HoverUntilShown(1));
    EXPECT_TRUE(Tip()->GetTitle().IsEmpty());
}

TEST_F(ToolTipTest, TheToolsImageComesFromTheImageManager)
{
    CQVTImageManager* pImages = new CQVTImageManager;
    ASSERT_TRUE(pImages->SetIconFromResource(MAKEINTRESOURCE(QVT_IDI_TASKDIALOG_ERROR), 2, CSize(16, 16)));
    m_pOwner->m_pImages = pImages;
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    m_pContext->SetShowImage(TRUE, 0, 0);
    ASSERT_TRUE(HoverUntilShown(2));
    ASSERT_TRUE(Tip()->GetImage());
    TipPicture picture(Tip());
    // The error icon's red, at the top-left inside the border.
    int nRed = 0;
    for (int y = 0; y < std::min(picture.Height(), 24); ++y)
        for (int x = 0; x < 24; ++x)
            nRed += Near(picture.At(x, y), RGB(206, 38, 38), 30);
    EXPECT_GT(nRed, 20);
    m_pOwner->m_pImages = nullptr;
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(100);
    pImages->InternalRelease();
}

TEST_F(ToolTipTest, EachLookDrawsItsColours)
{
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    m_pOwner->m_tools[0].strText = _T("Record from the selected input");

    // Plain: the info colours, a 3-D frame dark at the bottom right.
    m_pContext->SetStyle(CQVTToolTipContext::toolTipPlain);
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        int w = picture.Width(), h = picture.Height();
        EXPECT_EQ(picture.At(0, 0), ::GetSysColor(COLOR_3DFACE));
        EXPECT_EQ(picture.At(w - 1, h - 1), RGB(0, 0, 0));
        EXPECT_EQ(picture.At(2, h / 2), ::GetSysColor(COLOR_INFOBK));
        EXPECT_GT(picture.CountInside(::GetSysColor(COLOR_INFOTEXT)), 10);
    }

    // Office: a white to blue-grey gradient, a grey frame, rounded corners.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pContext->SetStyle(CQVTToolTipContext::toolTipOffice);
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        int w = picture.Width(), h = picture.Height();
        EXPECT_EQ(picture.At(w / 2, 0), RGB(0x76, 0x76, 0x76));
        EXPECT_TRUE(Near(picture.At(w / 2, 1), RGB(0xFF, 0xFF, 0xFF), 8));
        EXPECT_TRUE(Near(picture.At(w / 2, h - 2), 0xEFD9C9, 8));
        EXPECT_GT(picture.CountOf(RGB(0x4C, 0x4C, 0x4C)), 10);
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(Tip()->m_hWnd, hRgn), ERROR);
        EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, 1, 1));
        ::DeleteObject(hRgn);
    }

    // Office 2013: white, a light grey frame, its own text colour.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pContext->SetStyle(CQVTToolTipContext::toolTipOffice2013);
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        int w = picture.Width(), h = picture.Height();
        EXPECT_EQ(picture.At(0, h / 2), (COLORREF)0xBEBEBE);
        EXPECT_EQ(picture.At(2, h / 2), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(picture.At(w - 3, 2), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_GT(picture.CountOf(0x5D5D5D), 10);
    }

    // Luna: the gradient and frame of the system's colour scheme.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pContext->SetStyle(CQVTToolTipContext::toolTipLuna);
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        int w = picture.Width(), h = picture.Height();
        int nScheme = QVTColorManager()->GetCurrentSystemTheme();
        COLORREF clrFrame = RGB(0, 0, 0), clrTop = ::GetSysColor(COLOR_INFOBK),
                 clrBottom = RGB(255, 255, 255);
        if (nScheme >= 1 && nScheme <= 5)
        {
            clrFrame = nScheme == 2 ? 0x385D3F : nScheme == 3 ? 0x6F4B4B : 0x800000;
            clrTop = 0x97D4FF;
            clrBottom = 0xC8F2FF;
        }
        EXPECT_EQ(picture.At(w / 2, 0), clrFrame);
        EXPECT_TRUE(Near(picture.At(w / 2, 1), clrTop, 8));
        EXPECT_TRUE(Near(picture.At(w / 2, h - 2), clrBottom, 8));
    }
}

TEST_F(ToolTipTest, TheStandardLookIsThePlatformControl)
{
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    ASSERT_TRUE(HoverUntilShown(1));
    WCHAR szClass[32] = {};
    ::GetClassNameW(m_pContext->GetToolTip()->m_hWnd, szClass, 32);
    EXPECT_EQ(CString(szClass), CString(TOOLTIPS_CLASSW));
    EXPECT_EQ(::GetWindow(m_pContext->GetToolTip()->m_hWnd, GW_OWNER), m_pOwner->m_hWnd);
}

TEST_F(ToolTipTest, HtmlTipsWithoutABrowserShowPlain)
{
    m_pContext->SetStyle(CQVTToolTipContext::toolTipHTML);
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    m_pOwner->m_tools[0].strText = _T("<b>Record</b>");
    ASSERT_TRUE(HoverUntilShown(1));
    auto* pTip = dynamic_cast<CQVTToolTipContext::CHTMLToolTip*>(Tip());
    ASSERT_TRUE(pTip);
    EXPECT_FALSE(pTip->IsBrowserAvailable());
    EXPECT_TRUE(pTip->BuildDocumentUrl().Find(_T("bgColor=#")) > 0);
    TipPicture picture(pTip);
    EXPECT_EQ(picture.At(2, picture.Height() / 2), ::GetSysColor(COLOR_INFOBK));
    EXPECT_GT(picture.CountInside(::GetSysColor(COLOR_INFOTEXT)), 10);
}

namespace {
const UINT kVanish = WM_APP + 7;
bool g_bInTipTimer = false;  // the tip's show timer is being dispatched
bool g_bContextGone = false;

class CWatchedContext : public CQVTToolTipContext
{
public:
    ~CWatchedContext() override { g_bContextGone = true; }
};

// An owner that goes, and lets go of its context, when told to inside the
// tip's own show timer, that is while the tip measures itself.
class CVanishingOwner : public CToolOwner
{
public:
    explicit CVanishingOwner(CQVTToolTipContext* pContext) : CToolOwner(pContext) {}
    bool m_bGone = false;
    bool m_bToldOutside = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kVanish)
            return CToolOwner::WindowProc(message, wParam, lParam);
        if (!g_bInTipTimer)
        {
            m_bToldOutside = true;
            return 0;
        }
        m_bGone = true;
        CQVTToolTipContext* pContext = m_pContext;
        DestroyWindow();
        pContext->InternalRelease();
        return 0;
    }
};
}  // namespace

TEST(ToolTipContext, AnOwnerGoneWhileAnHtmlTipMeasuresItselfFreesNothingUnderIt)
{
    g_bContextGone = false;
    auto* pContext = new CWatchedContext;
    pContext->SetStyle(CQVTToolTipContext::toolTipHTML);
    pContext->SetDelayTime(TTDT_INITIAL, 100);
    CVanishingOwner owner(pContext);
    ASSERT_TRUE(owner.Open(CRect(640, 500, 940, 560)));
    owner.m_tools = {{CRect(0, 0, 150, 60), _T("<b>Record</b>"), _T("")}};
    owner.SetForegroundWindow();
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(50);
    MouseMoveTo(owner.ToolCentre(1));

    // The tip's show timer posts the owner its order first: the tip's waits
    // for the browser dispatch it.
    const DWORD dwStart = ::GetTickCount();
    HWND hTip = nullptr;
    while (!owner.m_bGone && !owner.m_bToldOutside && ::GetTickCount() - dwStart < 15000)
    {
        if (!hTip && pContext->GetToolTip())
            hTip = pContext->GetToolTip()->GetSafeHwnd();
        MSG msg;
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        g_bInTipTimer = hTip && msg.hwnd == hTip && msg.message == WM_TIMER &&
                        msg.wParam == CQVTToolTipContextToolTip::timerShow;
        if (g_bInTipTimer)
            ::PostMessage(owner.GetSafeHwnd(), kVanish, 0, 0);
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        g_bInTipTimer = false;
    }
    PumpMessages(100);
    if (owner.m_bToldOutside)
        GTEST_SKIP() << "the tip measured itself without dispatching messages";
    ASSERT_TRUE(owner.m_bGone);
    EXPECT_FALSE(::IsWindow(hTip));
    EXPECT_TRUE(g_bContextGone) << "the tip let go of the context it held";
}

namespace {
class COldControlsContext : public CQVTToolTipContext
{
public:
    COldControlsContext() { m_dwComCtlVersion = MAKELONG(71, 4); }
};
}  // namespace

TEST(ToolTipContext, BalloonsNeedCommonControls580)
{
    COldControlsContext old;
    old.SetStyle(CQVTToolTipContext::toolTipBalloon);
    EXPECT_EQ(old.GetStyle(), CQVTToolTipContext::toolTipStandard);
    old.SetStyle(CQVTToolTipContext::toolTipOffice);
    EXPECT_EQ(old.GetStyle(), CQVTToolTipContext::toolTipOffice);
    EXPECT_EQ(old.GetToolTipStyle() & 0xF000, (DWORD)CQVTToolTipContext::styleOffice);
    old.SetStyle(CQVTToolTipContext::toolTipPlain);
    EXPECT_EQ(old.GetToolTipStyle() & 0xF000,
              (DWORD)(CQVTToolTipContext::styleFrame3D | CQVTToolTipContext::styleNoShadow));
}

TEST_F(ToolTipTest, MarkupAndRichTextLooksDrawTheirContent)
{
    m_pContext->SetDelayTime(TTDT_INITIAL, 100);
    // Markup: the text's own colour; text that is not markup shows plain.
    m_pContext->SetStyle(CQVTToolTipContext::toolTipMarkup);
    m_pOwner->m_tools[0].strText = _T("<TextBlock Foreground='#FF0000' FontSize='20'>Record</TextBlock>");
    m_pOwner->m_tools[1].strText = _T("Stop <now>");
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        EXPECT_GT(picture.CountOf(RGB(255, 0, 0)), 10);
        EXPECT_EQ(picture.CountInside(::GetSysColor(COLOR_INFOTEXT)), 0);
        EXPECT_EQ(picture.At(1, picture.Height() / 2), ::GetSysColor(COLOR_INFOBK));
    }
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    ASSERT_TRUE(HoverUntilShown(2));
    {
        TipPicture picture(Tip());
        EXPECT_GT(picture.CountInside(::GetSysColor(COLOR_INFOTEXT)), 10);
    }

    // Rich text: the RTF's own colour.
    MouseMoveTo(CPoint(20, 20));
    PumpMessages(300);
    m_pContext->SetStyle(CQVTToolTipContext::toolTipRichText);
    m_pOwner->m_tools[0].strText = _T("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1 Record now}");
    ASSERT_TRUE(HoverUntilShown(1));
    {
        TipPicture picture(Tip());
        int nBlue = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                nBlue += Near(picture.At(x, y), RGB(0, 0, 255), 60);
        EXPECT_GT(nBlue, 10);
        EXPECT_EQ(picture.CountInside(::GetSysColor(COLOR_INFOTEXT)), 0);
    }
}
