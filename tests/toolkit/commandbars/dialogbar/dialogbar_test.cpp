// Dialog bars as a user meets them: a hosted window under a caption that
// shows the title when it has no text of its own, a caption popup that
// opens only with controls, resizing with the mouse that stops at the
// minimum client size, the sizing edges a docked bar offers by its side,
// and a caption drawn active while the focus is inside.
#include <afxwin.h>
#include <afxext.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTDialogBar.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

// False when the press did not start a sizing loop.
bool DragWithMouse(POINT ptFrom, POINT ptTo)
{
    const DWORD dwUiThread = ::GetCurrentThreadId();
    bool bCaptured = false;
    RunInputScript([&] {
        ScriptMouseMove(ptFrom, 40);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 40);
        bCaptured = ScriptWaitForCapture(dwUiThread, true, 3000);
        if (!bCaptured)
        {
            ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
            return;
        }
        ScriptMouseMove(ptTo, 80);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUiThread, false, 3000);
    });
    return bCaptured;
}

void MakeTestApp()
{
    KeptTestApp(_T("CommandBarsDialogBarTest"), _T("Sondrel Tests"));
}

CRect WindowRect(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

CSize ClientSize(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    return rc.Size();
}

}  // namespace

class DialogBars : public BarsFrameSuite<DialogBars>
{
public:
    static void SetUpTestSuite()
    {
        MakeTestApp();
        CreateFrame(kFrame, TRUE);
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        RestoreFrame(kFrame);
        s_pFrame->SetForegroundWindow();
        PumpMessages(20);
    }
    void TearDown() override
    {
        if (m_pEdit)
        {
            m_pEdit->DestroyWindow();
            delete m_pEdit;
        }
        s_pFrame->ResetBars();
        PumpMessages(20);
    }
    static CQVTCommandBars* Bars() { return s_pFrame->GetCommandBars(); }
    CQVTDialogBar* AddDialogBar(int nPosition)
    {
        CQVTDialogBar* pBar = DYNAMIC_DOWNCAST(
            CQVTDialogBar, Bars()->Add(_T("Panel"), nPosition, RUNTIME_CLASS(CQVTDialogBar)));
        if (!pBar)
            return nullptr;
        // The hosted window: an edit control, of an id the frame handles so
        // that the idle update leaves it enabled.
        m_pEdit = new CEdit();
        m_pEdit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 10, 10), pBar, 40999);
        pBar->SetChild(m_pEdit);
        if (nPosition == qvtBarFloating)
        {
            pBar->OnRecalcLayout();
            pBar->SetWindowPos(nullptr, kFrame.left + 60, kFrame.top + 60, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Bars()->RecalcFrameLayout();
        PumpMessages(20);
        return pBar;
    }

    static const CRect kFrame;
    CEdit* m_pEdit = nullptr;
};

const CRect DialogBars::kFrame(660, 60, 1240, 500);

TEST_F(DialogBars, TheCaptionShowsTheTitleAndOpensOnlyWithControls)
{
    CQVTDialogBar* pBar = AddDialogBar(qvtBarTop);
    ASSERT_NE(nullptr, pBar);
    CQVTDialogBar::CControlCaptionPopup* pCaption = pBar->GetCaptionPopup();
    ASSERT_NE(nullptr, pCaption);
    EXPECT_EQ(CString(_T("Panel")), pCaption->GetCaption());
    pBar->SetCaption(_T("Properties"));
    pBar->OnRecalcLayout();
    Bars()->RecalcFrameLayout();
    EXPECT_EQ(CString(_T("Properties")), pCaption->GetCaption());

    // Without controls in its popup bar the caption is text: no glyph, and
    // a press opens nothing.
    EXPECT_FALSE(pCaption->m_bHasPopup);
    EXPECT_FALSE(pBar->SetPopuped(pCaption->GetIndex()));
    EXPECT_FALSE(pCaption->GetPopuped());
    pBar->GetCaptionPopupBar()->GetControls()->Add(new CQVTControlButton(), 40400);
    Bars()->RecalcFrameLayout();
    EXPECT_TRUE(pCaption->m_bHasPopup);
    pBar->SetCaptionPopupEnabled(FALSE);
    Bars()->RecalcFrameLayout();
    EXPECT_FALSE(pCaption->m_bHasPopup);

    // The hosted window fills the client area below the caption.
    CRect rcEdit = WindowRect(m_pEdit);
    pBar->ScreenToClient(&rcEdit);
    const CRect rcCaption = pBar->GetCaptionRect();
    EXPECT_EQ(rcCaption.bottom, rcEdit.top);
    EXPECT_EQ(pBar->GetDockingClientSize(), rcEdit.Size());
    // Only the caption strip counts as the bar.
    CRect rcScreenCaption = rcCaption;
    pBar->ClientToScreen(&rcScreenCaption);
    EXPECT_TRUE(pBar->IsPointInBar(rcScreenCaption.CenterPoint()));
    EXPECT_FALSE(pBar->IsPointInBar(WindowRect(m_pEdit).CenterPoint()));
}

TEST_F(DialogBars, DockedBarsOfferTheSizingEdgeOfTheirSide)
{
    struct Case
    {
        int nPosition;
        BOOL bStretched;
        LRESULT top, bottom, left, right;
    };
    const Case cases[] = {
        {qvtBarTop, FALSE, HTCLIENT, HTBOTTOM, HTCLIENT, HTRIGHT},
        {qvtBarTop, TRUE, HTCLIENT, HTBOTTOM, HTCLIENT, HTCLIENT},
        {qvtBarBottom, FALSE, HTTOP, HTCLIENT, HTCLIENT, HTRIGHT},
        {qvtBarRight, FALSE, HTCLIENT, HTBOTTOM, HTLEFT, HTCLIENT},
        {qvtBarRight, TRUE, HTCLIENT, HTCLIENT, HTLEFT, HTCLIENT},
        {qvtBarLeft, FALSE, HTCLIENT, HTBOTTOM, HTCLIENT, HTRIGHT},
    };
    for (const Case& c : cases)
    {
        s_pFrame->ResetBars();
        CQVTDialogBar* pBar = AddDialogBar(c.nPosition);
        ASSERT_NE(nullptr, pBar);
        if (c.bStretched)
            pBar->SetFlags(CQVTToolBar::dockStretch);
        const CRect rc = WindowRect(pBar);
        const CPoint ptMiddle = rc.CenterPoint();
        auto hit = [&](int x, int y) { return pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
        const int nNotEdge = HTCLIENT;
        auto edge = [&](LRESULT lr) { return lr >= HTLEFT && lr <= HTBOTTOMRIGHT ? lr : nNotEdge; };
        EXPECT_EQ(c.top, edge(hit(ptMiddle.x, rc.top))) << c.nPosition << c.bStretched;
        EXPECT_EQ(c.bottom, edge(hit(ptMiddle.x, rc.bottom - 1))) << c.nPosition << c.bStretched;
        EXPECT_EQ(c.left, edge(hit(rc.left, ptMiddle.y))) << c.nPosition << c.bStretched;
        EXPECT_EQ(c.right, edge(hit(rc.right - 1, ptMiddle.y))) << c.nPosition << c.bStretched;
    }
}

TEST_F(DialogBars, ResizingWithTheMouseStopsAtTheMinimumClientSize)
{
    CQVTDialogBar* pBar = AddDialogBar(qvtBarFloating);
    ASSERT_NE(nullptr, pBar);
    ASSERT_TRUE(pBar->IsFloating());
    const CSize szMin = pBar->GetMinimumSize();
    const CSize szBefore = pBar->GetFloatingClientSize();
    CRect rc = WindowRect(pBar);
    const POINT ptCorner = {rc.right - 1, rc.bottom - 1};
    ASSERT_EQ(HTBOTTOMRIGHT, pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCorner.x, ptCorner.y)));

    // Below 50 by 50 client pixels: nothing changes.
    ASSERT_TRUE(DragWithMouse(ptCorner, CPoint(ptCorner.x - (szBefore.cx - szMin.cx) - 5,
                                               ptCorner.y - (szBefore.cy - szMin.cy) - 5)));
    EXPECT_EQ(szBefore, pBar->GetFloatingClientSize());
    EXPECT_EQ(rc, WindowRect(pBar));

    // Down to 60 by 70: taken, the hosted window following. (A second
    // press there at once would be a double click.)
    ::Sleep(::GetDoubleClickTime() + 50);
    const CSize szWanted(szMin.cx + 10, szMin.cy + 20);
    ASSERT_TRUE(DragWithMouse(ptCorner, CPoint(ptCorner.x - (szBefore.cx - szWanted.cx),
                                               ptCorner.y - (szBefore.cy - szWanted.cy))));
    EXPECT_EQ(szWanted, pBar->GetFloatingClientSize());
    EXPECT_EQ(rc.TopLeft(), WindowRect(pBar).TopLeft());
    EXPECT_EQ(szWanted, ClientSize(m_pEdit));

    // Docked at the top, the bottom edge changes the docked height only.
    s_pFrame->ResetBars();
    pBar = AddDialogBar(qvtBarTop);
    ASSERT_NE(nullptr, pBar);
    rc = WindowRect(pBar);
    const CSize szDocked = pBar->GetDockingClientSize();
    const POINT ptBottom = {rc.CenterPoint().x, rc.bottom - 1};
    ASSERT_TRUE(DragWithMouse(ptBottom, CPoint(ptBottom.x, ptBottom.y - 40)));
    EXPECT_EQ(CSize(szDocked.cx, szDocked.cy - 40), pBar->GetDockingClientSize());
    EXPECT_EQ(rc.Height() - 40, WindowRect(pBar).Height());
}

TEST_F(DialogBars, FocusInsideDrawsTheCaptionActive)
{
    CQVTDialogBar* pBar = AddDialogBar(qvtBarTop);
    ASSERT_NE(nullptr, pBar);
    // A point of the caption strip that no text covers.
    const CRect rcCaption = pBar->GetCaptionRect();
    ASSERT_GT(rcCaption.Height(), 0);
    const CPoint ptProbe(rcCaption.left + 1, rcCaption.top + 1);
    auto captionColour = [&] {
        pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        const auto canvas = screentest::Capture(pBar->GetSafeHwnd());
        return canvas->At(ptProbe.x, ptProbe.y);
    };

    s_pFrame->SetFocus();
    ASSERT_EQ(s_pFrame->GetSafeHwnd(), ::GetFocus());
    EXPECT_FALSE(pBar->IsActive());
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), captionColour());

    m_pEdit->SetFocus();
    ASSERT_EQ(m_pEdit->GetSafeHwnd(), ::GetFocus());
    EXPECT_EQ(::GetSysColor(COLOR_ACTIVECAPTION), captionColour());
    EXPECT_TRUE(pBar->IsActive());

    s_pFrame->SetFocus();
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), captionColour());
}

TEST_F(DialogBars, ClientSizesComeBackWithTheSavedLayout)
{
    CQVTDialogBar* pBar = AddDialogBar(qvtBarTop);
    ASSERT_NE(nullptr, pBar);
    pBar->SetBarID(300);
    pBar->SetClientSizes(CSize(150, 90), CSize(240, 180));
    Bars()->WriteLayoutState(_T("DialogBarLayout"), TRUE);
    pBar->SetClientSizes(CSize(200, 200), CSize(200, 200));
    Bars()->ReadLayoutState(_T("DialogBarLayout"));
    EXPECT_EQ(CSize(150, 90), pBar->GetDockingClientSize());
    EXPECT_EQ(CSize(240, 180), pBar->GetFloatingClientSize());
}
