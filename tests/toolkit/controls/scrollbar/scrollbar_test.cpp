// The scroll-bar engine on its own: geometry from rectangles and ranges,
// hit testing, the position a thumb pixel stands for, and the tracking loop
// driven by real input (arrow repeats, page presses, thumb drags that snap
// back and resume, the jump to a Shift-pressed page area).
#include <afxwin.h>

#include <atomic>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/tab_input.h"
#include "toolkit/controls/scrollbar/QVTScrollBarCtrl.h"
#include "toolkit/themes/resource/QVTScrollBarThemeResource.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemeOffice2003.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTWindows10ElementThemes.h"

namespace {

// A scroll base over a rectangle and a range the test sets, measured with
// arrows of a known size.
class GeometryBar : public CQVTScrollBase
{
public:
    GeometryBar(int nArrow, int nFixedThumb = 0)
    {
        m_theme.RefreshMetrics();
        m_theme.m_cyVScroll = m_theme.m_cxHScroll = nArrow;
        m_theme.m_nThumbSize = nFixedThumb;
        m_spi.fVert = TRUE;
    }
    void Set(const CRect& rc, int nMin, int nMax, UINT nPage, int nPos)
    {
        m_rc = rc;
        m_si = {sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, nPage, nPos, 0};
        UpdateScrollBarInfo();
    }
    CWnd* GetParentWindow() const override { return nullptr; }
    BOOL IsEnabled() const override { return TRUE; }
    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override
    {
        return const_cast<CQVTScrollBarThemeWindowsClassic*>(&m_theme);
    }
    void GetScrollBarRect(CRect& rc) override { rc = m_rc; }
    void GetScrollInfo(SCROLLINFO* pSI) override { *pSI = m_si; }
    void RedrawScrollBar() override {}
    void DoScroll(int, int) override {}

    CQVTScrollBarThemeWindowsClassic m_theme;
    CRect m_rc;
    SCROLLINFO m_si = {};
};

TEST(ScrollBarGeometry, ArrowsTrackAndThumbFollowTheRange)
{
    GeometryBar bar(17);
    bar.Set(CRect(0, 0, 16, 200), 0, 99, 10, 0);
    const QVT_SCROLLBAR_POSINFO& spi = *bar.GetScrollBarPosInfo();
    EXPECT_EQ(17, spi.pxUpArrow);
    EXPECT_EQ(183, spi.pxDownArrow);
    EXPECT_EQ(17, spi.pxStart);
    // 166 px of track for a page of 10 in 100: 16 px, raised to the half arrow only when shorter.
    EXPECT_EQ(::MulDiv(166, 10, 100), spi.cpxThumb);
    EXPECT_EQ(200 - 17 - 17 - spi.cpxThumb, spi.cxy);
    EXPECT_EQ(17, spi.pxThumbTop);

    bar.Set(CRect(0, 0, 16, 200), 0, 99, 10, 90);
    EXPECT_EQ(17 + spi.cxy, spi.pxThumbTop) << "the last page puts the thumb at the track's end";
    EXPECT_EQ(spi.pxThumbTop + spi.cpxThumb, spi.pxThumbBottom);

    // Horizontal bars measure along x.
    bar.GetScrollBarPosInfo()->fVert = FALSE;
    bar.Set(CRect(10, 0, 310, 16), -50, 49, 0, 0);
    EXPECT_EQ(27, spi.pxUpArrow);
    EXPECT_EQ(293, spi.pxDownArrow);
    EXPECT_EQ(17, spi.cpxThumb) << "without a page the thumb keeps the arrow length";
    EXPECT_EQ(27 + ::MulDiv(50, spi.cxy, 99), spi.pxThumbTop);
}

TEST(ScrollBarGeometry, ShortBarsFullPagesAndOddRangesStayInBounds)
{
    GeometryBar bar(17);
    const QVT_SCROLLBAR_POSINFO& spi = *bar.GetScrollBarPosInfo();

    // Shorter than two arrows: each arrow takes half, and there is no track.
    bar.Set(CRect(0, 0, 16, 20), 0, 99, 10, 0);
    EXPECT_EQ(10, spi.pxUpArrow);
    EXPECT_EQ(10, spi.pxDownArrow);

    // A page as large as the range.
    bar.Set(CRect(0, 0, 16, 200), 0, 9, 10, 0);
    EXPECT_EQ(spi.pxStart - 1, spi.pxThumbTop);

    // A tiny page gives a thumb of half the arrow, not a sliver.
    bar.Set(CRect(0, 0, 16, 200), 0, 99999, 1, 0);
    EXPECT_EQ(8, spi.cpxThumb);

    // A position outside the range is clamped; a page of 2^31 or more is no page.
    bar.Set(CRect(0, 0, 16, 200), 0, 99, 0x80000000u, 500);
    EXPECT_EQ(0, spi.page);
    EXPECT_EQ(99, spi.pos);
    bar.Set(CRect(0, 0, 16, 200), 0, 99, 10, -5);
    EXPECT_EQ(0, spi.pos);

    // The widest range does not overflow the divisions.
    bar.Set(CRect(0, 0, 16, 200), INT_MIN, INT_MAX, 0, 0);
    EXPECT_GE(spi.pxThumbTop, spi.pxStart);
    EXPECT_LE(spi.pxThumbBottom, spi.pxDownArrow);

    // A theme's fixed thumb size wins.
    GeometryBar fixed(17, 11);
    fixed.Set(CRect(0, 0, 16, 200), 0, 99, 50, 0);
    EXPECT_EQ(11, fixed.GetScrollBarPosInfo()->cpxThumb);
}

TEST(ScrollBarGeometry, HitTestNamesEveryPart)
{
    GeometryBar bar(17);
    bar.Set(CRect(0, 0, 16, 200), 0, 99, 10, 40);
    const QVT_SCROLLBAR_POSINFO& spi = *bar.GetScrollBarPosInfo();
    EXPECT_EQ(60, bar.HitTestScrollBar(CPoint(5, 0)));
    EXPECT_EQ(60, bar.HitTestScrollBar(CPoint(5, 16)));
    EXPECT_EQ(62, bar.HitTestScrollBar(CPoint(5, 17)));
    EXPECT_EQ(62, bar.HitTestScrollBar(CPoint(5, spi.pxThumbTop - 1)));
    EXPECT_EQ(64, bar.HitTestScrollBar(CPoint(5, spi.pxThumbTop)));
    EXPECT_EQ(64, bar.HitTestScrollBar(CPoint(5, spi.pxThumbBottom - 1)));
    EXPECT_EQ(63, bar.HitTestScrollBar(CPoint(5, spi.pxThumbBottom)));
    EXPECT_EQ(61, bar.HitTestScrollBar(CPoint(5, 183)));
    EXPECT_EQ(61, bar.HitTestScrollBar(CPoint(5, 199)));
    EXPECT_EQ(0, bar.HitTestScrollBar(CPoint(5, 200)));
    EXPECT_EQ(0, bar.HitTestScrollBar(CPoint(16, 50)));

    // A limit makes everything past it the part beyond the track.
    bar.GetScrollBarPosInfo()->pxPopup = 150;
    EXPECT_EQ(65, bar.HitTestScrollBar(CPoint(5, 151)));
    EXPECT_EQ(63, bar.HitTestScrollBar(CPoint(5, 150)));

    bar.GetScrollBarPosInfo()->fSizebox = TRUE;
    EXPECT_EQ(0, bar.HitTestScrollBar(CPoint(5, 5)));
}

TEST(ScrollBarGeometry, ThumbPixelsMapToPositionsAndBack)
{
    GeometryBar bar(17);
    bar.Set(CRect(0, 0, 16, 200), 10, 109, 10, 10);
    const QVT_SCROLLBAR_POSINFO& spi = *bar.GetScrollBarPosInfo();
    EXPECT_EQ(10, bar.PixelToPosition(spi.pxStart - 5));
    EXPECT_EQ(10, bar.PixelToPosition(spi.pxStart));
    EXPECT_EQ(100, bar.PixelToPosition(spi.pxStart + spi.cxy)) << "the end gives max - (page - 1)";
    EXPECT_EQ(100, bar.PixelToPosition(spi.pxStart + spi.cxy + 40));
    EXPECT_EQ(10 + ::MulDiv(spi.cxy / 2, 90, spi.cxy), bar.PixelToPosition(spi.pxStart + spi.cxy / 2));
    // Each position's thumb pixel maps back to that position.
    for (int nPos = 10; nPos <= 100; nPos += 9)
    {
        bar.Set(CRect(0, 0, 16, 200), 10, 109, 10, nPos);
        EXPECT_NEAR(nPos, bar.PixelToPosition(spi.pxThumbTop), 1) << nPos;
    }
    // Without a page the end is the maximum.
    bar.Set(CRect(0, 0, 16, 200), 0, 50, 0, 0);
    EXPECT_EQ(50, bar.PixelToPosition(spi.pxStart + spi.cxy));
}

TEST(ScrollBarControl, ThemesByNumberWithTheirStyles)
{
    CQVTScrollBarCtrl bar;
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeWindowsUx, bar.GetScrollBarPaintManager()));
    struct
    {
        int nTheme;
        CRuntimeClass* pClass;
        int nStyle;
    } cases[] = {{0, RUNTIME_CLASS(CQVTScrollBarThemeWindowsClassic), 0},
                 {2, RUNTIME_CLASS(CQVTScrollBarThemeFlat), 2},
                 {3, RUNTIME_CLASS(CQVTScrollBarThemeUltraFlat), 2},
                 {4, RUNTIME_CLASS(CQVTScrollBarThemeResource), 0},
                 {5, RUNTIME_CLASS(CQVTScrollBarThemeOffice2000), 0},
                 {6, RUNTIME_CLASS(CQVTScrollBarThemeOfficeXP), 0},
                 {7, RUNTIME_CLASS(CQVTScrollBarThemeOffice2003), 0},
                 {8, RUNTIME_CLASS(CQVTScrollBarThemeResource), 5},
                 {9, RUNTIME_CLASS(CQVTScrollBarThemeResource), 6},
                 {10, RUNTIME_CLASS(CQVTScrollBarThemeWindowsUx), 0},
                 {12, RUNTIME_CLASS(CQVTScrollBarThemeVisualStudio2012), 8},
                 {13, RUNTIME_CLASS(CQVTScrollBarThemeVisualStudio2012), 9},
                 {14, RUNTIME_CLASS(CQVTScrollBarThemeVisualStudio2015), 10},
                 {15, RUNTIME_CLASS(CQVTScrollBarThemeNativeWindows10), 11},
                 {99, RUNTIME_CLASS(CQVTScrollBarThemeWindowsUx), 0}};
    for (const auto& c : cases)
    {
        EXPECT_TRUE(bar.SetTheme(c.nTheme)) << c.nTheme;
        EXPECT_EQ(c.pClass, bar.GetScrollBarPaintManager()->GetRuntimeClass()) << c.nTheme;
        EXPECT_EQ(c.nStyle, bar.GetThemeStyle()) << c.nTheme;
        EXPECT_GT(bar.GetScrollBarPaintManager()->m_cxHScroll, 0) << "refreshed " << c.nTheme;
    }
}

// One scroll command the parent received, with the repeat interval the bar
// had started by the time the command was handled.
struct ScrollEvent
{
    int nCode;
    int nPos;
    int nInterval;
};

class ScrollParent : public CWnd
{
public:
    CQVTScrollBarCtrl m_bar;
    std::vector<ScrollEvent> m_events;
    std::atomic<int> m_nLineCommands{0};
    std::atomic<int> m_nPos{0};  // read by input scripts
    int m_nTrackPosSeen = -1;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL)
        {
            OnScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            *pResult = 0;
            return TRUE;
        }
        if (message == WM_APP)
        {
            // Posted from the scroll handler: by now the bar has started its timer.
            m_events.push_back(
                {static_cast<int>(wParam), static_cast<int>(lParam), m_bar.GetRepeatInterval()});
            return TRUE;
        }
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

    void OnScroll(int nCode, int nPos)
    {
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL};
        m_bar.GetScrollInfo(&si, SIF_ALL | SIF_TRACKPOS);
        switch (nCode)
        {
        case SB_LINEDOWN:
            ++m_nLineCommands;
            si.nPos += 1;
            break;
        case SB_LINEUP:
            ++m_nLineCommands;
            si.nPos -= 1;
            break;
        case SB_PAGEDOWN:
            si.nPos += si.nPage;
            break;
        case SB_PAGEUP:
            si.nPos -= si.nPage;
            break;
        case SB_THUMBTRACK:
            m_nTrackPosSeen = si.nTrackPos;
            si.nPos = nPos;
            break;
        case SB_THUMBPOSITION:
            si.nPos = nPos;
            break;
        default:
            break;
        }
        si.fMask = SIF_POS;
        m_bar.SetScrollInfo(&si, TRUE);
        m_nPos = m_bar.GetScrollPos();
        PostMessage(WM_APP, nCode, nPos);
    }
};

}  // namespace

class ScrollBarTracking : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pParent = new ScrollParent();
        s_pParent->CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), _T("Scroll"),
                            WS_POPUP | WS_VISIBLE, CRect(900, 560, 1140, 840), nullptr, 0);
    }
    static void TearDownTestSuite()
    {
        s_pParent->DestroyWindow();
        delete s_pParent;
        s_pParent = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_pParent->GetSafeHwnd());
        if (s_pParent->m_bar.GetSafeHwnd())
            s_pParent->m_bar.DestroyWindow();
        ASSERT_TRUE(
            s_pParent->m_bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(20, 10, 36, 250), s_pParent, 7));
        s_pParent->m_bar.SetTheme(0);
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 40, 0};
        s_pParent->m_bar.SetScrollInfo(&si, TRUE);
        s_pParent->m_events.clear();
        s_pParent->m_nLineCommands = 0;
        s_pParent->m_nPos = 40;
        PumpMessages(50);
        arrow_ = ::GetSystemMetrics(SM_CYVSCROLL);
    }

    // A point of the bar on the screen.
    POINT BarPoint(int y) const
    {
        CPoint pt(8, y);
        s_pParent->m_bar.ClientToScreen(&pt);
        return pt;
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const ScrollEvent& e : s_pParent->m_events)
            codes.push_back(e.nCode);
        return codes;
    }

    static ScrollParent* s_pParent;
    int arrow_ = 17;
};

ScrollParent* ScrollBarTracking::s_pParent = nullptr;

namespace {

TEST_F(ScrollBarTracking, HeldArrowScrollsOnceThenRepeatsFasterUntilReleased)
{
    const POINT ptDown = BarPoint(240 - arrow_ / 2);
    const UINT nDoubleClick = ::GetDoubleClickTime();
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptDown);
        ScriptWaitForCapture(dwUi, true);
        for (int i = 0; i < 400 && s_pParent->m_nLineCommands < 4; ++i)
            ::Sleep(10);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(50);
    const std::vector<ScrollEvent>& events = s_pParent->m_events;
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(SB_LINEDOWN, events[0].nCode);
    EXPECT_EQ(static_cast<int>(nDoubleClick * 4 / 5), events[0].nInterval) << "the first repeat waits longer";
    for (size_t i = 1; i + 1 < events.size(); ++i)
    {
        EXPECT_EQ(SB_LINEDOWN, events[i].nCode);
        EXPECT_EQ(static_cast<int>(nDoubleClick / 10), events[i].nInterval) << i;
    }
    EXPECT_EQ(SB_ENDSCROLL, events.back().nCode);
    EXPECT_EQ(40 + static_cast<int>(events.size()) - 1, s_pParent->m_bar.GetScrollPos());
    EXPECT_FALSE(s_pParent->m_bar.IsTracking());
}

TEST_F(ScrollBarTracking, PagePressStopsWhenTheThumbReachesThePointer)
{
    // The track below the thumb, near the end: pages down until the thumb covers the pointer.
    const POINT ptPage = BarPoint(240 - arrow_ - 3);
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptPage);
        ScriptWaitForCapture(dwUi, true);
        for (int i = 0; i < 400 && s_pParent->m_nPos < 90; ++i)
            ::Sleep(10);
        ::Sleep(200);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(50);
    const std::vector<int> codes = Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(SB_PAGEDOWN, codes.front());
    EXPECT_EQ(SB_ENDSCROLL, codes.back());
    EXPECT_EQ(90, s_pParent->m_bar.GetScrollPos()) << "paged to the last page";
    for (size_t i = 0; i + 1 < codes.size(); ++i)
        EXPECT_EQ(SB_PAGEDOWN, codes[i]);
}

TEST_F(ScrollBarTracking, ThumbDragSnapsBackFarAwayAndResumesWhenItReturns)
{
    const QVT_SCROLLBAR_POSINFO spi = *s_pParent->m_bar.GetScrollBarPosInfo();
    const int yThumb = (spi.pxThumbTop + spi.pxThumbBottom) / 2;
    const POINT ptThumb = BarPoint(yThumb);
    const POINT ptLower = BarPoint(yThumb + 40);
    CPoint ptFar(ptLower);
    ptFar.x += 16 * 9 + 20;  // beyond eight bar widths to the side
    int nPosDragged = -1, nPosFar = -1;
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptThumb);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(ptLower);
        nPosDragged = s_pParent->m_nPos;
        TabInput::Move(ptFar);
        nPosFar = s_pParent->m_nPos;
        TabInput::Move(ptLower);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(50);
    EXPECT_GT(nPosDragged, 40);
    EXPECT_EQ(40, nPosFar) << "outside the drag area the thumb returns to where it began";
    EXPECT_EQ(nPosDragged, s_pParent->m_bar.GetScrollPos()) << "coming back resumes the drag";
    EXPECT_EQ(nPosDragged, s_pParent->m_nTrackPosSeen) << "the track position reads the dragged one";

    const std::vector<ScrollEvent>& events = s_pParent->m_events;
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(SB_THUMBTRACK, events.front().nCode);
    EXPECT_EQ(40, events.front().nPos);
    EXPECT_EQ(SB_THUMBPOSITION, events[events.size() - 2].nCode);
    EXPECT_EQ(nPosDragged, events[events.size() - 2].nPos);
    EXPECT_EQ(SB_ENDSCROLL, events.back().nCode);
}

TEST_F(ScrollBarTracking, ShiftPressOnThePageCentresTheThumbUnderThePointer)
{
    const POINT ptPage = BarPoint(200);
    TabInput::Drive([&](DWORD dwUi) {
        // The pointer first: entering a window syncs the keys with the X
        // server's, which would release a Shift sent before.
        TabInput::Move(ptPage);
        ::Sleep(60);
        SendKey(VK_SHIFT, false);
        ::Sleep(40);
        TabInput::Down(ptPage);
        ScriptWaitForCapture(dwUi, true);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        SendKey(VK_SHIFT, true);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(50);
    const QVT_SCROLLBAR_POSINFO& spi = *s_pParent->m_bar.GetScrollBarPosInfo();
    const int nCentre = (spi.pxThumbTop + spi.pxThumbBottom) / 2;
    EXPECT_NEAR(200, nCentre, 2);
    const std::vector<int> codes = Codes();
    ASSERT_EQ(3u, codes.size());
    EXPECT_EQ(SB_THUMBTRACK, codes[0]);
    EXPECT_EQ(SB_THUMBPOSITION, codes[1]);
    EXPECT_EQ(SB_ENDSCROLL, codes[2]);
}

TEST_F(ScrollBarTracking, SizeGripNeverScrolls)
{
    s_pParent->m_bar.DestroyWindow();
    ASSERT_TRUE(
        s_pParent->m_bar.Create(WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, CRect(20, 10, 40, 30), s_pParent, 8));
    PumpMessages(30);
    EXPECT_TRUE(s_pParent->m_bar.GetScrollBarPosInfo()->fSizebox);
    EXPECT_EQ(0, s_pParent->m_bar.HitTestScrollBar(CPoint(5, 5)));
    s_pParent->m_bar.DoScroll(SB_LINEDOWN, 0);
    PumpMessages(30);
    EXPECT_TRUE(s_pParent->m_events.empty());
}

}  // namespace
