// The gradient theme's scroll bar (number 7 of the control): the flat bar in
// the colour manager's scheme, each arrow and the thumb by state, the pressed
// page, and the control itself drawing it after SetTheme(7).
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/controls/scrollbar/QVTScrollBarCtrl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemeOffice2003.h"

namespace {
#define SCROLL2003_TEST_RGB(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

// The colour manager's scheme for one test, the automatic one afterwards.
class ScrollBar2003Scheme
{
public:
    explicit ScrollBar2003Scheme(int nScheme) { QVTColorManager()->SetCurrentSystemTheme(nScheme); }
    ~ScrollBar2003Scheme() { QVTColorManager()->SetCurrentSystemTheme(qvtSystemThemeAuto); }
};

struct ScrollBar2003
{
    ScrollBar2003() : scroll(&theme) { theme.RefreshMetrics(); }
    void Draw(DibCanvas& canvas) { theme.DrawScrollBar(&canvas.dc, &scroll); }
    QVT_SCROLLBAR_PARTS Parts() { return CQVTScrollBarPaintManager::CalcParts(&scroll); }
    CQVTScrollBarThemeOffice2003 theme;
    ScrollBaseStub scroll;
};
}  // namespace

TEST(ScrollBarOffice2003, ArrowsAndThumbFollowTheirStateInTheSchemeColours)
{
    const COLORREF clrHot = SCROLL2003_TEST_RGB(0xFFF2C8), clrPressed = SCROLL2003_TEST_RGB(0xFE8E4B);
    struct
    {
        int nScheme;
        COLORREF clrFace, clrBorder, clrTrack, clrHotBorder;
    } const schemes[] = {
        {qvtSystemThemeBlue, SCROLL2003_TEST_RGB(0xDDECFE), SCROLL2003_TEST_RGB(0x3B619C),
         SCROLL2003_TEST_RGB(0xC4DAFA), SCROLL2003_TEST_RGB(0x000080)},
        {qvtSystemThemeOlive, SCROLL2003_TEST_RGB(0xF4F7DE), SCROLL2003_TEST_RGB(0x608058),
         SCROLL2003_TEST_RGB(0xF2F1E4), SCROLL2003_TEST_RGB(0x3F5D38)},
        {qvtSystemThemeSilver, SCROLL2003_TEST_RGB(0xF9F9FF), SCROLL2003_TEST_RGB(0x7C7C94),
         SCROLL2003_TEST_RGB(0xF3F3F7), SCROLL2003_TEST_RGB(0x4B4B6F)},
    };
    for (const auto& s : schemes)
    {
        SCOPED_TRACE(s.nScheme);
        ScrollBar2003Scheme scheme(s.nScheme);
        ScrollBar2003 bar;
        bar.scroll.Set(CRect(0, 0, 17, 160), TRUE, 0, 99, 10, 40);
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        const CRect& rcUp = parts.rcArrowFirst;
        const CRect& rcThumb = parts.rcThumb;
        DibCanvas drawn(17, 160);
        bar.Draw(drawn);
        EXPECT_EQ(s.clrFace, drawn.At(rcUp.left + 4, rcUp.top + 4));
        EXPECT_EQ(s.clrBorder, drawn.At(rcUp.left, rcUp.top + 4));
        EXPECT_EQ(s.clrBorder, drawn.At(rcUp.right - 1, rcUp.top + 4));
        EXPECT_EQ(s.clrFace, drawn.At(rcThumb.left + 4, rcThumb.CenterPoint().y));
        EXPECT_EQ(s.clrTrack, drawn.At(8, parts.rcPageAfter.CenterPoint().y));

        // Hot: the hot button's face in the scheme's dark frame; the thumb as before.
        bar.scroll.SetHotPart(qvtScrollHitUpArrow);
        bar.Draw(drawn);
        EXPECT_EQ(clrHot, drawn.At(rcUp.left + 4, rcUp.top + 4));
        EXPECT_EQ(s.clrHotBorder, drawn.At(rcUp.left, rcUp.top + 4));
        EXPECT_EQ(s.clrFace, drawn.At(rcThumb.left + 4, rcThumb.CenterPoint().y));
        bar.scroll.SetHotPart(qvtScrollHitNone);

        // Pressed thumb, then the pressed page after it.
        bar.scroll.Press(qvtScrollHitThumb);
        bar.Draw(drawn);
        EXPECT_EQ(clrPressed, drawn.At(rcThumb.left + 4, rcThumb.CenterPoint().y));
        EXPECT_EQ(s.clrHotBorder, drawn.At(rcThumb.left, rcThumb.CenterPoint().y));
        EXPECT_EQ(s.clrFace, drawn.At(rcUp.left + 4, rcUp.top + 4));
        bar.scroll.Release();
        bar.scroll.Press(qvtScrollHitPageDown);
        bar.Draw(drawn);
        EXPECT_EQ(clrPressed, drawn.At(8, parts.rcPageAfter.CenterPoint().y));
        EXPECT_EQ(s.clrTrack, drawn.At(8, parts.rcPageBefore.CenterPoint().y));
        bar.scroll.Release();

        // Disabled: no state shows, and no thumb.
        bar.scroll.m_bEnabled = FALSE;
        bar.scroll.SetHotPart(qvtScrollHitUpArrow);
        bar.Draw(drawn);
        EXPECT_EQ(s.clrFace, drawn.At(rcUp.left + 4, rcUp.top + 4));
        EXPECT_EQ(0, drawn.CountOf(clrPressed));
    }

    // Bars shorter than a pixel, or empty, draw nothing outside themselves.
    for (const CRect& rcTiny : {CRect(2, 2, 19, 3), CRect(2, 2, 2, 40), CRect(2, 2, 2, 2)})
    {
        ScrollBar2003 tiny;
        tiny.scroll.Set(rcTiny, rcTiny.Height() > rcTiny.Width(), 0, 99, 10, 40);
        const COLORREF clrBack = RGB(255, 0, 255);
        DibCanvas drawn(24, 44, clrBack);
        tiny.Draw(drawn);
        int nOutside = 0;
        for (int y = 0; y < drawn.Height(); ++y)
            for (int x = 0; x < drawn.Width(); ++x)
                nOutside += !rcTiny.PtInRect(CPoint(x, y)) && drawn.At(x, y) != clrBack;
        EXPECT_EQ(0, nOutside) << rcTiny.Width() << "x" << rcTiny.Height();
    }

    // Without a scheme: the flat colours of the XP look.
    ScrollBar2003Scheme none(qvtSystemThemeUnknown);
    ScrollBar2003 plain;
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), plain.theme.m_crBackground);
    EXPECT_EQ(GetColorByIndex(31), plain.theme.m_crHotFace);
    EXPECT_EQ(GetColorByIndex(32), plain.theme.m_crHotBorder);
    EXPECT_EQ(GetColorByIndex(33), plain.theme.m_crPressedFace);
}

TEST(ScrollBarOffice2003, TheControlDrawsNumberSeven)
{
    ScrollBar2003Scheme scheme(qvtSystemThemeBlue);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(WS_EX_NOACTIVATE, AfxRegisterWndClass(0), _T(""), WS_POPUP,
                                CRect(20, 20, 220, 60), nullptr, 0));
    CQVTScrollBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 160, 17), &parent, 100));
    ASSERT_TRUE(bar.SetTheme(7));
    ASSERT_TRUE(DYNAMIC_DOWNCAST(CQVTScrollBarThemeOffice2003, bar.GetScrollBarPaintManager()));
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 40, 0};
    bar.SetScrollInfo(&si, FALSE);
    DibCanvas drawn(160, 17, RGB(255, 0, 255));
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.dc.m_hDC), PRF_CLIENT);
    const QVT_SCROLLBAR_PARTS parts = CQVTScrollBarPaintManager::CalcParts(&bar);
    EXPECT_EQ(SCROLL2003_TEST_RGB(0xDDECFE), drawn.At(parts.rcArrowFirst.left + 3, 3));
    EXPECT_EQ(SCROLL2003_TEST_RGB(0x3B619C), drawn.At(parts.rcArrowFirst.left, 8));
    EXPECT_EQ(SCROLL2003_TEST_RGB(0xDDECFE), drawn.At(parts.rcThumb.CenterPoint().x, 4));
    EXPECT_EQ(SCROLL2003_TEST_RGB(0xC4DAFA), drawn.At(parts.rcPageAfter.CenterPoint().x, 8));
    bar.DestroyWindow();
    parent.DestroyWindow();
}

#undef SCROLL2003_TEST_RGB
