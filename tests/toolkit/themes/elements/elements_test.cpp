// The element paint managers a paint manager owns: progress fills for any
// range, the message bar's content rectangle, face, buttons and the Office
// 2010 close cross, the Office 2007 slider, and the slots of the paint
// manager itself.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/elements/QVTSliderPaintManager.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"

namespace {

class ProgressStub : public CQVTProgressBase
{
public:
    CRect GetProgressRect() override { return m_rc; }
    void RedrawProgress() override { ++m_nRedraws; }
    CQVTProgressPaintManager* GetProgressPaintManager() override { return nullptr; }

    CRect m_rc = CRect(0, 0, 104, 16);
    int m_nRedraws = 0;
};

TEST(ProgressBase, PositionStaysInTheRangeAndRedrawsOnlyOnChange)
{
    ProgressStub progress;
    progress.SetPos(150);
    EXPECT_EQ(100, progress.GetPos());
    EXPECT_EQ(1, progress.m_nRedraws);
    progress.SetPos(-5);
    EXPECT_EQ(0, progress.GetPos());
    progress.SetPos(0);
    EXPECT_EQ(2, progress.m_nRedraws) << "the same position again draws nothing";
    progress.SetRange(0, 100);
    EXPECT_EQ(2, progress.m_nRedraws);
    progress.SetRange(10, 20);
    EXPECT_EQ(3, progress.m_nRedraws);
    // Reversed: raised to the lower end, then lowered to the upper one.
    progress.SetRange(50, 10);
    progress.SetPos(30);
    EXPECT_EQ(10, progress.GetPos());
}

TEST(ProgressPaintManager, FillStaysWithinTheBarForAnyRange)
{
    EXPECT_EQ(50, CQVTProgressPaintManager::GetFillWidth(100, 50, 0, 100));
    EXPECT_EQ(100, CQVTProgressPaintManager::GetFillWidth(100, 100, 0, 100));
    EXPECT_EQ(33, CQVTProgressPaintManager::GetFillWidth(100, 1, 0, 3));
    EXPECT_EQ(67, CQVTProgressPaintManager::GetFillWidth(100, 2, 0, 3)) << "rounded as MulDiv";
    EXPECT_EQ(0, CQVTProgressPaintManager::GetFillWidth(100, 5, 5, 5)) << "an empty range";
    EXPECT_EQ(30, CQVTProgressPaintManager::GetFillWidth(100, 7, 10, 0)) << "a reversed range";
    EXPECT_EQ(0, CQVTProgressPaintManager::GetFillWidth(100, 20, 10, 0));
    EXPECT_EQ(100, CQVTProgressPaintManager::GetFillWidth(100, -20, 10, 0));
    EXPECT_EQ(100, CQVTProgressPaintManager::GetFillWidth(100, 500, 0, 100));
    EXPECT_EQ(0, CQVTProgressPaintManager::GetFillWidth(100, -500, 0, 100));
    EXPECT_EQ(100, CQVTProgressPaintManager::GetFillWidth(100, INT_MAX, INT_MIN, INT_MAX));
    EXPECT_EQ(0, CQVTProgressPaintManager::GetFillWidth(0, 50, 0, 100));
}

TEST(ProgressPaintManager, FramedFaceWithTheDoneShareInHighlight)
{
    CQVTProgressPaintManager painter(nullptr);
    ProgressStub progress;
    progress.SetPos(25);
    DibCanvas canvas(104, 16, RGB(1, 2, 3));
    painter.DrawProgress(&canvas.dc, &progress);
    const COLORREF clrFace = GetColorByIndex(COLOR_3DFACE), clrFrame = GetColorByIndex(COLOR_3DSHADOW);
    const COLORREF clrFill = GetColorByIndex(COLOR_HIGHLIGHT);
    EXPECT_EQ(clrFrame, canvas.At(0, 0));
    EXPECT_EQ(clrFrame, canvas.At(103, 15));
    EXPECT_EQ(clrFace, canvas.At(1, 1));
    // Inner 100 px from x = 2: a quarter filled.
    EXPECT_EQ(clrFill, canvas.At(2, 8));
    EXPECT_EQ(clrFill, canvas.At(26, 8));
    EXPECT_EQ(clrFace, canvas.At(27, 8));
    EXPECT_EQ(25 * 12, canvas.CountOf(clrFill));

    // An empty range fills nothing and draws nothing outside the bar.
    progress.SetRange(5, 5);
    canvas.Clear(RGB(1, 2, 3));
    painter.DrawProgress(&canvas.dc, &progress);
    EXPECT_EQ(0, canvas.CountOf(clrFill));
    // Too narrow a bar gets its frame only.
    progress.m_rc = CRect(0, 0, 5, 16);
    progress.SetRange(0, 100);
    progress.SetPos(100);
    canvas.Clear(RGB(1, 2, 3));
    painter.DrawProgress(&canvas.dc, &progress);
    EXPECT_EQ(0, canvas.CountOf(clrFill));
}

}  // namespace

class MessageBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pTheme = CQVTPaintManager::CreateTheme(qvtThemeOffice2000);
        m_pTheme->RefreshMetrics();
    }
    void TearDown() override { m_pTheme->InternalRelease(); }
    CQVTPaintManager* m_pTheme = nullptr;
};

namespace {

TEST_F(MessageBarTest, ContentLosesTheMarginsAndRoomForAClose)
{
    CQVTMessageBar bar;
    bar.SetClientRect(CRect(0, 0, 300, 40));
    const CRect rcMargins = QVTPaintManager()->GetMessageBarMargins();
    EXPECT_EQ(CRect(rcMargins.left, rcMargins.top, 300 - rcMargins.right, 40 - rcMargins.bottom),
              bar.GetContentRect());
    EXPECT_EQ(nullptr, bar.FindButton(SC_CLOSE));
    bar.AddButton(1001, CRect(100, 5, 180, 35));
    CQVTMessageBarButton* pClose = bar.AddButton(SC_CLOSE, CRect(280, 11, 298, 29));
    bar.AddButton(SC_CLOSE, CRect(0, 0, 1, 1));
    EXPECT_EQ(pClose, bar.FindButton(SC_CLOSE)) << "the first button of the id";
    EXPECT_EQ(300 - rcMargins.right - CQVTPaintManager::DpiX(18), bar.GetContentRect().right);
    EXPECT_EQ(nullptr, bar.GetButton(3));
}

TEST_F(MessageBarTest, FaceMessageAreaAndButtons)
{
    CQVTMessageBarPaintManager* pPainter = m_pTheme->GetMessageBarPaintManager();
    ASSERT_NE(nullptr, pPainter);
    CQVTMessageBar bar;
    bar.SetClientRect(CRect(0, 0, 300, 40));
    DibCanvas canvas(300, 40);
    pPainter->FillMessageBar(&canvas.dc, &bar);
    const CRect rcContent = bar.GetContentRect();
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), canvas.At(0, 0));
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), canvas.At(rcContent.left, rcContent.top));
    EXPECT_EQ(GetColorByIndex(COLOR_INFOBK), canvas.At(rcContent.left + 1, rcContent.top + 1));

    // An idle button is framed; a hot one takes the theme's highlighted rectangle.
    CQVTMessageBarButton button(1001, CRect(100, 5, 180, 35));
    DibCanvas idle(300, 40), hot(300, 40);
    pPainter->DrawMessageBarButton(&idle.dc, &button);
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), idle.At(100, 5));
    button.m_bHot = TRUE;
    pPainter->DrawMessageBarButton(&hot.dc, &button);
    DibCanvas expected(300, 40);
    expected.dc.FillSolidRect(button.m_rcButton, GetColorByIndex(COLOR_3DFACE));
    m_pTheme->DrawRectangle(&expected.dc, button.m_rcButton, TRUE, FALSE, TRUE, FALSE, FALSE, 1, 0);
    EXPECT_EQ(expected.At(100, 5), hot.At(100, 5));
    EXPECT_EQ(expected.At(140, 20), hot.At(140, 20));

    // The close button: the glyph font's cross, nothing else while idle.
    CQVTMessageBarButton close(SC_CLOSE, CRect(10, 10, 28, 28));
    DibCanvas closeCanvas(40, 40);
    pPainter->DrawMessageBarButton(&closeCanvas.dc, &close);
    EXPECT_GT(closeCanvas.CountOf(GetColorByIndex(COLOR_BTNTEXT)), 0);
    EXPECT_EQ(CRect(10, 10, 28, 28), closeCanvas.BoundsOfAllBut(RGB(255, 255, 255)) | CRect(10, 10, 28, 28));

    EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION) + CQVTPaintManager::DpiY(8), pPainter->GetMessageBarHeight());
    EXPECT_EQ(CSize(CQVTPaintManager::DpiX(89), 32 - CQVTPaintManager::DpiY(8)), pPainter->GetButtonSize(32));
    CRect rcClose;
    pPainter->GetCloseButtonRect(rcClose, 300, 40);
    EXPECT_EQ(300, rcClose.right);
    EXPECT_EQ(CQVTPaintManager::DpiX(18), rcClose.Width());
    EXPECT_EQ((40 - rcClose.Height()) / 2, rcClose.top);
}

TEST_F(MessageBarTest, Office2010FillsWithInfoAndDrawsAThinCross)
{
    CQVTMessageBarThemeOffice2010 painter(m_pTheme);
    painter.RefreshMetrics();
    CQVTMessageBar bar;
    bar.SetClientRect(CRect(0, 0, 120, 30));
    DibCanvas canvas(120, 30);
    painter.FillMessageBar(&canvas.dc, &bar);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_INFOBK), canvas.At(60, 15));

    CRect rcClose;
    painter.GetCloseButtonRect(rcClose, 120, 30);
    EXPECT_EQ(CRect(101, 11, 109, 19), rcClose);

    // The cross: six lines through the centre, no background even when hot.
    CQVTMessageBarButton close(SC_CLOSE, CRect(20, 5, 40, 25));
    close.m_bHot = close.m_bPressed = TRUE;
    DibCanvas cross(60, 30);
    painter.DrawMessageBarButton(&cross.dc, &close);
    const COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
    const CPoint c = close.m_rcButton.CenterPoint();
    EXPECT_EQ(clrText, cross.At(c.x, c.y));
    EXPECT_EQ(clrText, cross.At(c.x - 4, c.y - 4));
    EXPECT_EQ(clrText, cross.At(c.x - 4, c.y + 3));
    EXPECT_EQ(CRect(c.x - 4, c.y - 4, c.x + 4, c.y + 4), cross.BoundsOfAllBut(RGB(255, 255, 255)));
}

TEST(SliderPaintManager, SliderMetricsAndTheOffice2007Look)
{
    CQVTSliderThemeOffice2007System slider(nullptr);
    slider.RefreshMetrics();
    EXPECT_EQ(CQVTPaintManager::DpiX(16), slider.m_cxHScroll);
    EXPECT_EQ(CQVTPaintManager::DpiY(16), slider.m_cyHScroll);
    EXPECT_EQ(CQVTPaintManager::DpiX(11), slider.m_nThumbSize);

    ScrollBaseStub scroll(&slider);
    scroll.Set(CRect(0, 0, 140, 16), FALSE, 0, 100, 0, 0);
    const QVT_SCROLLBAR_POSINFO& spi = *scroll.GetScrollBarPosInfo();
    EXPECT_EQ(11, spi.cpxThumb) << "the slider's fixed thumb";
    DibCanvas canvas(140, 16, RGB(1, 2, 3));
    slider.DrawScrollBar(&canvas.dc, &scroll);
    const int yMiddle = 8;
    // The channel: a shadow line with a highlight line below it.
    const int xChannel = spi.pxDownArrow - 10;
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), canvas.At(xChannel, yMiddle - 1));
    EXPECT_EQ(GetColorByIndex(COLOR_3DHILIGHT), canvas.At(xChannel, yMiddle));
    // Round buttons within their squares, the minus sign in the shadow colour.
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), canvas.At(8, 8));
    // The thumb at the start: its face in the middle of its place.
    const int xThumb = (spi.pxThumbTop + spi.pxThumbBottom) / 2;
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), canvas.At(xThumb, 4));

    // A disabled slider shows no thumb; the channel stays.
    scroll.m_bEnabled = FALSE;
    DibCanvas disabled(140, 16, RGB(1, 2, 3));
    slider.DrawScrollBar(&disabled.dc, &scroll);
    EXPECT_EQ(RGB(1, 2, 3), disabled.At(xThumb, 2));
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), disabled.At(xChannel, yMiddle - 1));

    // An empty rectangle draws nothing.
    ScrollBaseStub empty(&slider);
    empty.Set(CRect(0, 0, 0, 0), FALSE, 0, 100, 0, 0);
    DibCanvas untouched(20, 20, RGB(1, 2, 3));
    slider.DrawScrollBar(&untouched.dc, &empty);
    EXPECT_EQ(20 * 20, untouched.CountOf(RGB(1, 2, 3)));
}

TEST(PaintManagerElements, EveryThemeOwnsItsElementPaintManagers)
{
    for (int nTheme : {qvtThemeOffice2000, qvtThemeOfficeXP, qvtThemeVisualStudio6})
    {
        CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(nTheme);
        pTheme->RefreshMetrics();
        EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeWindowsUx, pTheme->GetScrollBarPaintManager()))
            << nTheme;
        EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTSliderThemeOffice2007System, pTheme->GetSliderPaintManager()))
            << nTheme;
        EXPECT_NE(nullptr, pTheme->GetProgressPaintManager());
        EXPECT_NE(nullptr, pTheme->GetMessageBarPaintManager());
        // Refreshed with their owner.
        EXPECT_EQ(::GetSystemMetrics(SM_CXHSCROLL), pTheme->GetScrollBarPaintManager()->m_cxHScroll);
        pTheme->InternalRelease();
    }
}

TEST(PaintManagerElements, Office2010ImagesBringTheirMessageBar)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    const CString strPrevious = pImages->GetIniFileName();
    pImages->LoadIni(_T("OFFICE2010BLUE_INI"));
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    EXPECT_TRUE(
        DYNAMIC_DOWNCAST(CQVTMessageBarThemeOffice2010, QVTPaintManager()->GetMessageBarPaintManager()));
    pImages->LoadIni(_T("NO_SUCH_INI"));
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    EXPECT_FALSE(
        DYNAMIC_DOWNCAST(CQVTMessageBarThemeOffice2010, QVTPaintManager()->GetMessageBarPaintManager()));
    (void)strPrevious;
}

}  // namespace

// A status bar whose panes the status-bar paint manager draws on DIBs.
class StatusBarPainting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pTheme = CQVTPaintManager::CreateTheme(qvtThemeOffice2000);
        m_pTheme->RefreshMetrics();
        m_pPainter = m_pTheme->GetStatusBarPaintManager();
        ASSERT_TRUE(
            m_parent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP, CRect(0, 0, 300, 40), nullptr, 0));
        ASSERT_TRUE(m_bar.Create(&m_parent));
        m_bar.MoveWindow(0, 0, 300, 24);
        m_pPane = m_bar.AddIndicator(1000);
    }
    void TearDown() override
    {
        m_bar.DestroyWindow();
        m_parent.DestroyWindow();
        m_pTheme->InternalRelease();
    }
    CQVTPaintManager* m_pTheme = nullptr;
    CQVTStatusBarPaintManager* m_pPainter = nullptr;
    CWnd m_parent;
    CQVTStatusBar m_bar;
    CQVTStatusBarPane* m_pPane = nullptr;
};

namespace {

TEST_F(StatusBarPainting, TextColoursAlignmentAndDisabledPanes)
{
    m_pPane->SetText(_T("WWWW"));
    const CRect rc(0, 0, 200, 20);
    DibCanvas canvas(200, 20);
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    const COLORREF clrText = m_pPainter->m_clrText;
    const CRect rcLeft = canvas.BoundsOfAllBut(RGB(255, 255, 255));
    EXPECT_EQ(m_pPane->GetPadding().left, rcLeft.left) << "text after the padding";
    EXPECT_GT(canvas.CountOf(clrText), 0);

    m_pPane->SetTextAlignment(2);
    canvas.Clear(RGB(255, 255, 255));
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    const CRect rcRight = canvas.BoundsOfAllBut(RGB(255, 255, 255));
    EXPECT_NEAR(200 - m_pPane->GetPadding().right, rcRight.right, 1) << "moved to the right edge";
    m_pPane->SetTextAlignment(1);
    canvas.Clear(RGB(255, 255, 255));
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    const CRect rcCentre = canvas.BoundsOfAllBut(RGB(255, 255, 255));
    EXPECT_NEAR(100, (rcCentre.left + rcCentre.right) / 2, 2);

    // Own colours win; a disabled pane is grey, or bare when the bar hides it.
    m_pPane->SetTextAlignment(0);
    m_pPane->SetTextColor(RGB(200, 0, 0));
    canvas.Clear(RGB(255, 255, 255));
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    EXPECT_GT(canvas.CountOf(RGB(200, 0, 0)), 0);
    m_pPane->SetEnabled(FALSE);
    canvas.Clear(RGB(255, 255, 255));
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    EXPECT_EQ(0, canvas.CountOf(RGB(200, 0, 0)));
    EXPECT_GT(canvas.CountOf(m_pPainter->m_clrTextGray), 0);
    m_bar.SetDrawDisabledText(FALSE);
    canvas.Clear(RGB(255, 255, 255));
    m_pPainter->DrawStatusBarPaneEntry(&canvas.dc, rc, m_pPane);
    EXPECT_EQ(200 * 20, canvas.CountOf(RGB(255, 255, 255)));
}

TEST_F(StatusBarPainting, ClassicBordersSeparatorsButtonsAndSwitches)
{
    const CRect rc(10, 2, 60, 20);
    DibCanvas canvas(100, 24);
    m_pPainter->DrawPaneBorder(&canvas.dc, rc, m_pPane, FALSE);
    EXPECT_EQ(m_pTheme->GetColor(COLOR_3DSHADOW), canvas.At(10, 5));
    EXPECT_EQ(m_pTheme->GetColor(COLOR_3DHILIGHT), canvas.At(59, 5));
    m_pPainter->DrawPaneSeparator(&canvas.dc, CRect(70, 2, 90, 20), m_pPane);
    EXPECT_EQ(m_pTheme->GetColor(COLOR_3DSHADOW), canvas.At(68, 5));
    EXPECT_EQ(m_pTheme->GetColor(COLOR_3DHILIGHT), canvas.At(69, 5));

    // A button pane is bare while idle, and framed as a pop-out.
    m_pPane->SetButton(TRUE);
    canvas.Clear(RGB(1, 2, 3));
    m_pPainter->DrawPaneBorder(&canvas.dc, rc, m_pPane, FALSE);
    m_pPainter->DrawPaneButton(&canvas.dc, rc, m_pPane);
    EXPECT_EQ(100 * 24, canvas.CountOf(RGB(1, 2, 3)));
    m_pPane->SetStyle(SBPS_POPOUT);
    m_pPainter->DrawPaneButton(&canvas.dc, rc, m_pPane);
    EXPECT_LT(canvas.CountOf(RGB(1, 2, 3)), 100 * 24);

    // Switches are 18 px each.
    CQVTStatusBarSwitchPane switches;
    switches.AddSwitch(1, 0);
    switches.AddSwitch(2, 0);
    switches.AddSwitch(3, 0);
    EXPECT_EQ(3 * CQVTPaintManager::DpiX(18), m_pPainter->DrawSwitchPane(nullptr, CRect(), &switches));
    switches.GetSwitch(1)->bChecked = TRUE;
    EXPECT_EQ(nullptr, switches.GetSwitch(3));
    canvas.Clear(RGB(1, 2, 3));
    EXPECT_EQ(3 * CQVTPaintManager::DpiX(18),
              m_pPainter->DrawSwitchPane(&canvas.dc, CRect(0, 0, 80, 20), &switches));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(9, 10)) << "the first switch is idle";
    EXPECT_NE(RGB(1, 2, 3), canvas.At(CQVTPaintManager::DpiX(18) + 9, 10)) << "the second is checked";
}

}  // namespace
