// The flat theme on the screen, in a real site whose bars the docking code
// places: gripper dots and separator pairs at their offsets on a top and a
// left toolbar and in an open menu, the menu's frame and face, the status
// bar's face and a hot button under the real pointer. Runs at 96 and at
// 144 DPI.
#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/themes/office2013/office2013_support.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"

namespace {

using Office2013Test::TestIni;
using Office2013Test::Theme;
using ThemeTest::X;
using ThemeTest::Y;

// A window's pixels as the screen shows them, painted first.
class Office2013Screen
{
public:
    explicit Office2013Screen(CWnd* pWnd) : m_pWnd(pWnd)
    {
        pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(10);
        ::GdiFlush();
        m_pCanvas = screentest::Capture(pWnd->GetSafeHwnd());
    }
    // A point of the window's client area.
    COLORREF At(int x, int y) const
    {
        CPoint pt(x, y);
        m_pWnd->ClientToScreen(&pt);
        CRect rcWindow;
        m_pWnd->GetWindowRect(&rcWindow);
        return m_pCanvas->At(pt.x - rcWindow.left, pt.y - rcWindow.top);
    }

private:
    CWnd* m_pWnd;
    std::unique_ptr<DibCanvas> m_pCanvas;
};

}  // namespace

// One shown site for the whole program: a menu bar, a toolbar on top and
// one on the left, each with a group, and a status bar.
class Office2013Frame : public BarsFrameSuite<Office2013Frame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(kOrigin, CSize(X(560), Y(360)))); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        m_pIni = std::make_unique<TestIni>();
        // The bars hold the theme: it is set once they exist, as a program does.
        s_pFrame->ResetBars();
        Office2013Test::UseTheme();
        CQVTCommandBars* pBars = s_pFrame->GetCommandBars();
        m_pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, pBars->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        CQVTControl* pFile = m_pMenuBar->GetControls()->Add(new CQVTControlPopup(), 40700);
        pFile->SetCaption(_T("&File"));
        m_pTop = MakeBar(_T("Top"), qvtBarTop);
        m_pLeft = MakeBar(_T("Left"), qvtBarLeft);

        m_pStatus = new CQVTStatusBar();
        m_pStatus->Create(s_pFrame);
        if (CQVTStatusBarPane* pPane = m_pStatus->AddIndicator(0))
        {
            pPane->SetText(_T("Ready"));
            pPane->SetWidth(X(80));
        }
        pBars->RecalcFrameLayout();
        CRect rcClient;
        s_pFrame->GetClientRect(&rcClient);
        m_pStatus->MoveWindow(0, rcClient.bottom - Y(24), rcClient.Width(), Y(24));
        s_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(20);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pStatus->DestroyWindow();
        delete m_pStatus;
        s_pFrame->ResetBars();
        m_pIni.reset();
        PumpMessages(20);
    }

    CQVTToolBar* MakeBar(LPCTSTR lpszTitle, int nPosition)
    {
        CQVTToolBar* pBar =
            DYNAMIC_DOWNCAST(CQVTToolBar, s_pFrame->GetCommandBars()->Add(lpszTitle, nPosition));
        UINT nId = 40720;
        for (LPCTSTR lpszCaption : {_T("One"), _T("Two"), _T("Three")})
        {
            CQVTControl* pButton = pBar->GetControls()->AddByType(qvtControlButton, nId++);
            pButton->SetCaption(lpszCaption);
            pButton->SetStyle(qvtButtonCaption);
        }
        pBar->GetControls()->GetAt(2)->SetBeginGroup(TRUE);
        return pBar;
    }

    // The menu of the menu bar's item, with a group, opened without animation.
    CQVTPopupBar* OpenMenu()
    {
        CQVTControlPopup* pItem = DYNAMIC_DOWNCAST(CQVTControlPopup, m_pMenuBar->GetControl(0));
        CQVTCommandBars* pBars = m_pMenuBar->GetCommandBars();
        pBars->GetCommandBarsOptions()->animationType = 5;
        CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(pBars);
        UINT nId = 40790;
        for (LPCTSTR lpszCaption : {_T("&Open"), _T("&Save"), _T("E&xit")})
            pPopup->GetControls()->AddByType(qvtControlButton, nId++)->SetCaption(lpszCaption);
        pPopup->GetControls()->GetAt(2)->SetBeginGroup(TRUE);
        pItem->SetCommandBar(pPopup);
        pPopup->InternalRelease();
        MouseMoveTo(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 4, ::GetSystemMetrics(SM_CYSCREEN) - 4));
        PumpMessages(20);
        if (!m_pMenuBar->SetPopuped(0))
            return nullptr;
        PumpUntil([pPopup] { return pPopup->GetSafeHwnd() && pPopup->IsWindowVisible(); }, 3000);
        PumpMessages(20);
        return pPopup;
    }

    static const CPoint kOrigin;
    std::unique_ptr<TestIni> m_pIni;
    CQVTMenuBar* m_pMenuBar = nullptr;
    CQVTToolBar* m_pTop = nullptr;
    CQVTToolBar* m_pLeft = nullptr;
    CQVTStatusBar* m_pStatus = nullptr;
};

const CPoint Office2013Frame::kOrigin(240, 40);

namespace {

const COLORREF kBarsGripper = RGB(200, 0, 0);  // the test INI's colours
const COLORREF kBarsDark = RGB(0, 0, 200);
const COLORREF kBarsLight = RGB(0, 200, 0);

}  // namespace

TEST_F(Office2013Frame, GripperDotsAndSeparatorPairsSitAtTheirOffsets)
{
    ASSERT_TRUE(TestIni::IsLoaded());
    // Top toolbar: three dotted columns, a square every 4 px.
    {
        Office2013Screen screen(m_pTop);
        CRect rc;
        m_pTop->GetClientRect(&rc);
        const struct
        {
            int x, yFrom, yTo;
        } columns[] = {{3, 5, 3}, {5, 7, 4}, {7, 5, 3}};
        for (const auto& column : columns)
        {
            SCOPED_TRACE(column.x);
            int nDots = 0;
            for (int y = Y(column.yFrom); y < rc.bottom - Y(column.yTo); y += Y(4))
            {
                EXPECT_EQ(kBarsGripper, screen.At(X(column.x), y)) << y;
                EXPECT_NE(kBarsGripper, screen.At(X(column.x), y + Y(2))) << "between the dots";
                ++nDots;
            }
            EXPECT_GE(nDots, 3);
            EXPECT_NE(kBarsGripper, screen.At(X(column.x), Y(column.yFrom) - Y(2)));
            EXPECT_NE(kBarsGripper, screen.At(X(column.x) - X(1), Y(column.yFrom) + Y(4)));
        }

        // The group's separator: dark then light, from the row's top + 2 down.
        const CQVTControl* pGroup = m_pTop->GetControls()->GetAt(2);
        const CRect rcControl = pGroup->GetRect(), rcRow = pGroup->GetRowRect();
        const int y = rcRow.CenterPoint().y;
        EXPECT_EQ(kBarsDark, screen.At(rcControl.left - X(4), y));
        EXPECT_EQ(kBarsLight, screen.At(rcControl.left - X(3), y));
        EXPECT_EQ(kBarsDark, screen.At(rcControl.left - X(4), rcRow.top + Y(2)));
        EXPECT_NE(kBarsDark, screen.At(rcControl.left - X(4), rcRow.top + Y(2) - 1));
        EXPECT_NE(kBarsDark, screen.At(rcControl.left - X(5), y));
    }
    // Left toolbar: dotted rows, and a horizontal pair above the group.
    {
        Office2013Screen screen(m_pLeft);
        CRect rc;
        m_pLeft->GetClientRect(&rc);
        EXPECT_EQ(kBarsGripper, screen.At(X(3), Y(3)));
        EXPECT_EQ(kBarsGripper, screen.At(X(3) + X(4), Y(3)));
        EXPECT_NE(kBarsGripper, screen.At(X(3) + X(2), Y(3)));
        EXPECT_EQ(kBarsGripper, screen.At(X(5), Y(5)));
        EXPECT_EQ(kBarsGripper, screen.At(X(3), Y(7)));
        EXPECT_NE(kBarsGripper, screen.At(X(3), Y(5)));

        const CQVTControl* pGroup = m_pLeft->GetControls()->GetAt(2);
        const CRect rcControl = pGroup->GetRect(), rcRow = pGroup->GetRowRect();
        const int x = rcRow.CenterPoint().x;
        EXPECT_EQ(kBarsDark, screen.At(x, rcControl.top - Y(4)));
        EXPECT_EQ(kBarsLight, screen.At(x, rcControl.top - Y(3)));
        EXPECT_NE(kBarsDark, screen.At(x, rcControl.top - Y(5)));
    }
    // The status bar in its face colour, with no pane borders.
    {
        Office2013Screen screen(m_pStatus);
        CRect rc;
        m_pStatus->GetClientRect(&rc);
        EXPECT_EQ(RGB(0, 0, 200), screen.At(rc.right - X(30), rc.CenterPoint().y));
        EXPECT_EQ(RGB(0, 0, 200), screen.At(X(2), 1));
    }
}

TEST_F(Office2013Frame, AnOpenMenuHasItsFaceFrameAndSeparatorPair)
{
    CQVTPopupBar* pPopup = OpenMenu();
    ASSERT_NE(nullptr, pPopup);
    Office2013Screen screen(pPopup);
    CRect rc;
    pPopup->GetClientRect(&rc);
    const COLORREF back = RGB(250, 240, 230), border = RGB(212, 212, 212);
    EXPECT_EQ(border, screen.At(rc.right - 1, rc.CenterPoint().y));
    EXPECT_EQ(border, screen.At(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(border, screen.At(rc.right - X(6), 0));
    EXPECT_EQ(back, screen.At(rc.right - X(6), rc.bottom - Y(3)));

    const CQVTControl* pGroup = pPopup->GetControls()->GetAt(2);
    const CRect rcItem = pGroup->GetRect();
    const int xStart = rcItem.left + QVTPaintManager()->GetPopupBarGutterWidth(pPopup) +
                       QVTPaintManager()->GetPopupTextGap() - X(1);
    const int x = (xStart + rcItem.right) / 2;
    EXPECT_EQ(RGB(0, 100, 0), screen.At(x, rcItem.top - Y(2)));
    EXPECT_EQ(RGB(255, 255, 255), screen.At(x, rcItem.top - Y(1)));
    EXPECT_EQ(RGB(0, 100, 0), screen.At(xStart, rcItem.top - Y(2)));
    EXPECT_NE(RGB(0, 100, 0), screen.At(xStart - 1, rcItem.top - Y(2)));
    CQVTCommandBars::ClosePopups();
    PumpMessages(20);
}

TEST_F(Office2013Frame, AButtonUnderThePointerShowsTheHotFace)
{
    // Without keys: the default hot colour.
    m_pIni.reset();
    Theme()->RefreshMetrics();
    CQVTControl* pButton = m_pTop->GetControls()->GetAt(0);
    CRect rc = pButton->GetRect();
    CPoint pt = rc.CenterPoint();
    m_pTop->ClientToScreen(&pt);
    MouseMoveTo(pt);
    PumpUntil([pButton] { return pButton->GetSelected() != 0; }, 2000);
    PumpMessages(20);
    Office2013Screen screen(m_pTop);
    EXPECT_EQ(RGB(213, 225, 242), screen.At(rc.left + X(2), rc.top + Y(2)));
    EXPECT_EQ(RGB(213, 225, 242), screen.At(rc.left, rc.CenterPoint().y));
    MouseMoveTo(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 4, ::GetSystemMetrics(SM_CYSCREEN) - 4));
    PumpMessages(20);
}
