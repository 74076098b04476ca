// The flat theme's element paint managers drawn into DIBs: progress bars
// whose range is empty, reversed or passed; scroll bars by part and state,
// as the scroll-bar control's theme 11 too; a gallery's scroll buttons; the
// zoom slider's parts lit by the pointer; the message bar's face, edges and
// buttons.
#include <afxwin.h>

#include <climits>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/office2013/office2013_support.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/controls/scrollbar/QVTScrollBarCtrl.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/themes/office2013/QVTControlGalleryOffice2013Theme.h"
#include "toolkit/themes/office2013/QVTMessageBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTProgressThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTScrollBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTSliderThemeOffice2013.h"

namespace {

using Office2013Test::TestIni;
using Office2013Test::Theme;

const COLORREF kElementsBack = RGB(5, 6, 7);

class Office2013Progress : public CQVTProgressBase
{
public:
    CRect GetProgressRect() override { return CRect(4, 4, 104, 20); }
    void RedrawProgress() override {}
    CQVTProgressPaintManager* GetProgressPaintManager() override { return nullptr; }
};

}  // namespace

TEST(Office2013Progress, FillStaysInsideItsTrackForEveryRange)
{
    Office2013Test::UseTheme();
    CQVTProgressThemeOffice2013* pTheme =
        DYNAMIC_DOWNCAST(CQVTProgressThemeOffice2013, Theme()->GetProgressPaintManager());
    ASSERT_NE(nullptr, pTheme);
    const COLORREF bar = RGB(6, 176, 37), back = RGB(230, 230, 230), border = RGB(188, 188, 188);
    // The position is set in the range 0..100 first and keeps its value when
    // the range then changes, so it can lie outside it.
    struct Case
    {
        int nPos, nLower, nUpper;
        int nFill;  // pixels of the 96-pixel inner track
    } cases[] = {
        {50, 0, 100, 48}, {100, 0, 100, 96}, {5, 5, 5, 0},
        {50, 5, 5, 0},    {50, 100, 0, 48},  {25, 100, 0, 72},
        {50, 0, 10, 96},  {10, 50, 100, 0},  {0, INT_MIN, INT_MAX, 48},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.nLower << ".." << c.nUpper << " at " << c.nPos);
        Office2013Progress progress;
        progress.SetRange(0, 100);
        progress.SetPos(c.nPos);
        progress.SetRange(c.nLower, c.nUpper);
        DibCanvas canvas(110, 24, kElementsBack);
        pTheme->DrawProgress(&canvas.dc, &progress);
        EXPECT_EQ(border, canvas.At(4, 10));
        EXPECT_EQ(border, canvas.At(103, 10));
        EXPECT_EQ(kElementsBack, canvas.At(3, 10));
        EXPECT_EQ(kElementsBack, canvas.At(104, 10));
        EXPECT_EQ(back, canvas.At(5, 10)) << "a pixel of track before the fill";
        EXPECT_EQ(back, canvas.At(102, 10)) << "and after it";
        int nFill = 0;
        for (int x = 0; x < 110; ++x)
            nFill += canvas.At(x, 10) == bar;
        EXPECT_EQ(c.nFill, nFill);
        if (c.nFill)
        {
            EXPECT_EQ(bar, canvas.At(6, 10)) << "from the left";
        }
    }

    TestIni ini;
    Office2013Progress progress;
    progress.SetRange(0, 10);
    progress.SetPos(10);
    DibCanvas canvas(110, 24, kElementsBack);
    pTheme->DrawProgress(&canvas.dc, &progress);
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(50, 10));
}

namespace {
struct Office2013Bar
{
    Office2013Bar() : scroll(&theme) { theme.RefreshMetrics(); }
    void Draw(DibCanvas& canvas)
    {
        canvas.Clear(kElementsBack);
        theme.DrawScrollBar(&canvas.dc, &scroll);
    }
    CQVTScrollBarThemeOffice2013 theme;
    ScrollBaseStub scroll;
};

// Back, border and arrow of the first arrow button, seen at its middle row.
void ExpectArrow(const DibCanvas& canvas, const CRect& rc, COLORREF clrBorder, COLORREF clrBack,
                 COLORREF clrArrow)
{
    const int y = rc.CenterPoint().y;
    EXPECT_EQ(clrBorder, canvas.At(rc.left, y));
    EXPECT_EQ(clrBack, canvas.At(rc.left + 1, rc.top + 1));
    EXPECT_GT(canvas.CountOf(clrArrow), 3) << "the arrow glyph";
}
}  // namespace

TEST(Office2013ScrollBar, PartsTakeTheColoursOfTheirStates)
{
    Office2013Bar bar;
    const CRect rc(0, 0, 17, 120);
    bar.scroll.Set(rc, TRUE, 0, 100, 20, 40);
    const QVT_SCROLLBAR_PARTS parts = CQVTScrollBarPaintManager::CalcParts(&bar.scroll);
    ASSERT_FALSE(parts.rcThumb.IsRectEmpty());
    DibCanvas canvas(17, 120, kElementsBack);
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    const CPoint ptPage(8, parts.rcPageAfter.CenterPoint().y);

    bar.Draw(canvas);
    ExpectArrow(canvas, parts.rcArrowFirst, RGB(171, 171, 171), RGB(255, 255, 255), RGB(119, 119, 119));
    EXPECT_EQ(RGB(243, 243, 243), canvas.At(ptPage.x, ptPage.y)) << "the track";
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(ptThumb.x, ptThumb.y));
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(parts.rcThumb.left, ptThumb.y));

    // The pointer over the first arrow: its selected colours, the rest normal.
    bar.scroll.SetHotPart(qvtScrollHitUpArrow);
    bar.Draw(canvas);
    EXPECT_EQ(RGB(119, 119, 119), canvas.At(parts.rcArrowFirst.left, parts.rcArrowFirst.CenterPoint().y));
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(parts.rcArrowSecond.left, parts.rcArrowSecond.CenterPoint().y));

    // The thumb hot, then pressed while it is dragged (nothing is hot then).
    bar.scroll.SetHotPart(qvtScrollHitThumb);
    bar.Draw(canvas);
    EXPECT_EQ(RGB(240, 240, 240), canvas.At(ptThumb.x, ptThumb.y));
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(parts.rcThumb.left, ptThumb.y));
    bar.scroll.Press(qvtScrollHitThumb);
    bar.Draw(canvas);
    EXPECT_EQ(RGB(240, 240, 240), canvas.At(ptThumb.x, ptThumb.y));
    EXPECT_EQ(RGB(119, 119, 119), canvas.At(parts.rcThumb.left, ptThumb.y));
    bar.scroll.Release();
    bar.scroll.SetHotPart(0);
    bar.scroll.Press(qvtScrollHitDownArrow);
    bar.Draw(canvas);
    EXPECT_EQ(RGB(240, 240, 240), canvas.At(parts.rcArrowSecond.left + 1, parts.rcArrowSecond.top + 1));
    bar.scroll.Release();

    // Disabled, and a range with nothing to scroll: every part disabled, no thumb.
    for (int nCase = 0; nCase < 2; ++nCase)
    {
        bar.scroll.m_bEnabled = nCase == 0 ? FALSE : TRUE;
        bar.scroll.Set(rc, TRUE, 0, nCase == 0 ? 100 : 10, 20, 0);
        bar.scroll.SetHotPart(qvtScrollHitUpArrow);
        bar.Draw(canvas);
        const QVT_SCROLLBAR_PARTS disabled = CQVTScrollBarPaintManager::CalcParts(&bar.scroll);
        EXPECT_EQ(RGB(243, 243, 243),
                  canvas.At(disabled.rcArrowFirst.left, disabled.rcArrowFirst.CenterPoint().y));
        EXPECT_GT(canvas.CountOf(RGB(171, 171, 171)), 3) << "the disabled arrows";
        EXPECT_EQ(RGB(243, 243, 243), canvas.At(8, 60));
    }
    bar.scroll.m_bEnabled = TRUE;

    // A key of the INI changes one cell; horizontal bars draw the same parts.
    TestIni ini;
    bar.theme.RefreshMetrics();
    bar.scroll.Set(CRect(0, 0, 120, 17), FALSE, 0, 100, 20, 40);
    bar.scroll.SetHotPart(qvtScrollHitThumb);
    const QVT_SCROLLBAR_PARTS horz = CQVTScrollBarPaintManager::CalcParts(&bar.scroll);
    DibCanvas wide(120, 17, kElementsBack);
    bar.theme.DrawScrollBar(&wide.dc, &bar.scroll);
    EXPECT_EQ(RGB(1, 2, 3), wide.At(horz.rcThumb.CenterPoint().x, 8));
    EXPECT_EQ(RGB(171, 171, 171), wide.At(horz.rcArrowFirst.CenterPoint().x, 0));
}

TEST(Office2013ScrollBar, SizeBoxAndTheControlsTheme11)
{
    Office2013Bar bar;
    bar.scroll.SetSizeBox(CRect(2, 2, 18, 18));
    DibCanvas canvas(20, 20, kElementsBack);
    bar.theme.DrawScrollBar(&canvas.dc, &bar.scroll);
    EXPECT_EQ(RGB(243, 243, 243), canvas.At(10, 10));
    EXPECT_EQ(kElementsBack, canvas.At(1, 1));

    CWnd host;
    host.CreateEx(WS_EX_NOACTIVATE, AfxRegisterWndClass(0), _T(""), WS_POPUP, CRect(0, 0, 200, 200), nullptr,
                  0);
    CQVTScrollBarCtrl control;
    ASSERT_TRUE(control.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 17, 150), &host, 100));
    ASSERT_TRUE(control.SetTheme(11));
    EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CQVTScrollBarThemeOffice2013, control.GetScrollBarPaintManager()));
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 100, 20, 30, 0};
    control.SetScrollInfo(&si, FALSE);
    DibCanvas shown(17, 150, kElementsBack);
    control.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc.m_hDC), PRF_CLIENT);
    const QVT_SCROLLBAR_PARTS parts = CQVTScrollBarPaintManager::CalcParts(&control);
    EXPECT_EQ(RGB(171, 171, 171), shown.At(parts.rcArrowFirst.left, parts.rcArrowFirst.CenterPoint().y));
    EXPECT_EQ(RGB(255, 255, 255), shown.At(parts.rcThumb.CenterPoint().x, parts.rcThumb.CenterPoint().y));
    EXPECT_EQ(RGB(243, 243, 243), shown.At(8, parts.rcPageAfter.CenterPoint().y));
    control.DestroyWindow();
    host.DestroyWindow();
}

namespace {
// A gallery that opens a popup, on a bar that is never shown.
class Office2013Gallery
{
public:
    Office2013Gallery()
    {
        m_site.CreateEx(0, AfxRegisterWndClass(0), _T("Site"), WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = &m_site;
        m_pBar->Create(qvtBarTop);
        m_pBar->MoveWindow(0, 0, 300, 200);
        m_pItems = new CQVTControlGalleryItems();
        m_pItems->SetItemSize(CSize(20, 20));
        for (int i = 0; i < 30; ++i)
            m_pItems->AddItem(i + 1);
        m_pGallery =
            static_cast<CQVTControlGallery*>(m_pBar->GetControls()->AddByType(qvtControlGallery, 100));
        m_pGallery->SetItems(m_pItems);
        CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(nullptr);
        m_pGallery->SetCommandBar(pPopup);
        pPopup->InternalRelease();
        m_pGallery->SetRect(CRect(10, 10, 10 + 100 + 15, 10 + 60));
    }
    ~Office2013Gallery()
    {
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        m_pItems->InternalRelease();
        m_site.DestroyWindow();
    }
    void Draw(DibCanvas& canvas)
    {
        canvas.Clear(kElementsBack);
        m_pGallery->Draw(&canvas.dc);
    }

    CWnd m_site;
    CTestBar* m_pBar = nullptr;
    CQVTControlGalleryItems* m_pItems = nullptr;
    CQVTControlGallery* m_pGallery = nullptr;
};
}  // namespace

TEST(Office2013Gallery, ScrollButtonsByStateAndTheUpButtonDisabledEvenWhenHot)
{
    Office2013Test::UseTheme();
    CQVTControlGalleryOffice2013Theme* pTheme =
        DYNAMIC_DOWNCAST(CQVTControlGalleryOffice2013Theme, Theme()->GetGalleryPaintManager());
    ASSERT_NE(nullptr, pTheme);
    Office2013Gallery gallery;
    CRect rcScroll;
    gallery.m_pGallery->GetScrollBarRect(rcScroll);
    ASSERT_FALSE(rcScroll.IsRectEmpty());
    const int yUp = rcScroll.top + pTheme->m_cyUpButton / 2;
    const int yDown = rcScroll.top + pTheme->m_cyUpButton + pTheme->m_cyDownButton / 2;
    const int x = rcScroll.CenterPoint().x;
    DibCanvas canvas(300, 200, kElementsBack);

    // At the top, the pointer over the up button: it stays disabled.
    gallery.m_pGallery->OnMouseMove(CPoint(x, yUp));
    gallery.Draw(canvas);
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(rcScroll.right, yUp)) << "border";
    EXPECT_EQ(RGB(225, 225, 225), canvas.At(rcScroll.left, yUp)) << "the disabled line on its left";
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(rcScroll.left + 2, rcScroll.top + 2)) << "no hot fill";
    EXPECT_GT(canvas.CountOf(RGB(198, 198, 198)), 2) << "the disabled triangle";

    // Scrolled, the down button hot.
    gallery.m_pGallery->SetScrollPos(20);
    gallery.m_pGallery->OnMouseMove(CPoint(x, yDown));
    ASSERT_EQ(qvtScrollHitDownArrow, gallery.m_pGallery->GetHotScrollPart());
    gallery.Draw(canvas);
    EXPECT_EQ(RGB(213, 225, 242), canvas.At(rcScroll.left + 2, yDown));
    EXPECT_EQ(RGB(163, 189, 227), canvas.At(rcScroll.right, yDown)) << "its border";
    EXPECT_EQ(RGB(163, 189, 227), canvas.At(x, rcScroll.top + pTheme->m_cyUpButton + pTheme->m_cyDownButton))
        << "the row it shares with the next button keeps the hot border";
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(rcScroll.right, yUp)) << "up is enabled and idle";
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(rcScroll.left + 2, rcScroll.top + 2));
    EXPECT_GT(canvas.CountOf(RGB(68, 68, 68)), 2) << "the hot triangle";
}

TEST(Office2013Slider, PartsUnderThePointerTakeTheHighlight)
{
    Office2013Test::UseTheme();
    CQVTSliderThemeOffice2013* pTheme =
        DYNAMIC_DOWNCAST(CQVTSliderThemeOffice2013, Theme()->GetSliderPaintManager());
    ASSERT_NE(nullptr, pTheme);
    ScrollBaseStub slider(pTheme);
    const CSize szSlider(ThemeTest::X(140), ThemeTest::Y(20));
    slider.Set(CRect(CPoint(0, 0), szSlider), FALSE, 0, 100, 0, 50);
    const QVT_SCROLLBAR_PARTS parts = CQVTScrollBarPaintManager::CalcParts(&slider);
    const COLORREF normal = RGB(255, 255, 255), hot = RGB(62, 109, 181);
    const CPoint ptMinus = parts.rcArrowFirst.CenterPoint(), ptPlus = parts.rcArrowSecond.CenterPoint();
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    const int yTrack = parts.rcTrack.CenterPoint().y;
    const int xTrack = parts.rcThumb.right + (parts.rcTrack.right - parts.rcThumb.right) / 2;
    DibCanvas canvas(szSlider.cx, szSlider.cy, kElementsBack);
    auto draw = [&](int nHot) {
        slider.SetHotPart(nHot);
        canvas.Clear(kElementsBack);
        pTheme->DrawScrollBar(&canvas.dc, &slider);
    };

    draw(0);
    EXPECT_EQ(normal, canvas.At(ptMinus.x, ptMinus.y)) << "the minus bar";
    EXPECT_EQ(kElementsBack, canvas.At(ptMinus.x, ptMinus.y - ThemeTest::Y(3))) << "only a bar";
    EXPECT_EQ(normal, canvas.At(ptPlus.x, ptPlus.y - ThemeTest::Y(3))) << "the plus sign's upright";
    EXPECT_EQ(normal, canvas.At(xTrack, yTrack)) << "the track line";
    EXPECT_EQ(kElementsBack, canvas.At(xTrack, yTrack - ThemeTest::Y(2)));
    EXPECT_EQ(normal, canvas.At(ptThumb.x, ptThumb.y));
    draw(qvtScrollHitUpArrow);
    EXPECT_EQ(hot, canvas.At(ptMinus.x, ptMinus.y));
    EXPECT_EQ(normal, canvas.At(ptPlus.x, ptPlus.y));
    draw(qvtScrollHitDownArrow);
    EXPECT_EQ(hot, canvas.At(ptPlus.x, ptPlus.y));
    EXPECT_EQ(normal, canvas.At(ptThumb.x, ptThumb.y));
    for (int nPart : {qvtScrollHitPageUp, qvtScrollHitPageDown, qvtScrollHitThumb})
    {
        draw(nPart);
        EXPECT_EQ(hot, canvas.At(ptThumb.x, ptThumb.y)) << nPart;
        EXPECT_EQ(normal, canvas.At(xTrack, yTrack)) << nPart;
    }
    // While the slider tracks, its part stays lit with nothing hot.
    slider.Press(qvtScrollHitThumb);
    slider.SetHotPart(0);
    canvas.Clear(kElementsBack);
    pTheme->DrawScrollBar(&canvas.dc, &slider);
    EXPECT_EQ(hot, canvas.At(ptThumb.x, ptThumb.y));
    slider.Release();
}

TEST(Office2013MessageBar, FaceEdgesOnRequestAndButtonsByState)
{
    Office2013Test::UseTheme();
    CQVTMessageBarThemeOffice2013* pTheme =
        DYNAMIC_DOWNCAST(CQVTMessageBarThemeOffice2013, Theme()->GetMessageBarPaintManager());
    ASSERT_NE(nullptr, pTheme);
    CQVTMessageBar bar;
    bar.SetClientRect(CRect(0, 0, 200, 40));
    const COLORREF back = RGB(252, 247, 182), border = RGB(215, 216, 137);
    DibCanvas canvas(200, 40, kElementsBack);
    pTheme->FillMessageBar(&canvas.dc, &bar);
    EXPECT_EQ(back, canvas.At(0, 0)) << "no edges after construction";
    EXPECT_EQ(back, canvas.At(199, 39));
    pTheme->m_bBorderTop = pTheme->m_bBorderRight = TRUE;
    pTheme->FillMessageBar(&canvas.dc, &bar);
    EXPECT_EQ(border, canvas.At(100, 0));
    EXPECT_EQ(border, canvas.At(199, 20));
    EXPECT_EQ(back, canvas.At(0, 20));
    EXPECT_EQ(back, canvas.At(100, 39));
    pTheme->m_bBorderTop = pTheme->m_bBorderRight = FALSE;

    CQVTMessageBarButton button(1, CRect(10, 10, 60, 30));
    const struct
    {
        BOOL bHot, bPressed;
        COLORREF clrBack, clrBorder;
    } cases[] = {{FALSE, FALSE, RGB(253, 253, 253), RGB(171, 171, 171)},
                 {TRUE, FALSE, RGB(240, 240, 240), RGB(198, 198, 198)},
                 {TRUE, TRUE, RGB(198, 198, 198), RGB(171, 171, 171)}};
    for (const auto& c : cases)
    {
        button.m_bHot = c.bHot;
        button.m_bPressed = c.bPressed;
        canvas.Clear(kElementsBack);
        pTheme->DrawMessageBarButton(&canvas.dc, &button);
        EXPECT_EQ(c.clrBack, canvas.At(30, 20)) << c.bHot << c.bPressed;
        EXPECT_EQ(c.clrBorder, canvas.At(10, 20)) << c.bHot << c.bPressed;
    }
    // The close button: a glyph, darker while hot.
    CQVTMessageBarButton close(SC_CLOSE, CRect(0, 0, 16, 16));
    canvas.Clear(kElementsBack);
    pTheme->DrawMessageBarButton(&canvas.dc, &close);
    EXPECT_GT(canvas.CountOf(RGB(119, 119, 119)), 4);
    close.m_bHot = TRUE;
    canvas.Clear(kElementsBack);
    pTheme->DrawMessageBarButton(&canvas.dc, &close);
    EXPECT_GT(canvas.CountOf(RGB(68, 68, 68)), 4);
    EXPECT_EQ(0, canvas.CountOf(RGB(119, 119, 119)));
}
