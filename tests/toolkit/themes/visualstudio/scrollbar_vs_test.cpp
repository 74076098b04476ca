// The flat Visual Studio scroll bars drawn on DIBs: the track, bare arrow
// glyphs in the colour of their state and the slim thumb, light and dark by
// theme style, arrows too small or without a colour left bare, and the 2015
// colours read from the INI with bad values.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"

namespace {

class VisualStudioScrollStub : public ScrollBaseStub
{
public:
    using ScrollBaseStub::ScrollBaseStub;
    void SetStyle(int nStyle) { m_nThemeStyle = nStyle; }
};

int VisualStudioCountIn(const DibCanvas& canvas, const CRect& rc, COLORREF clr)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.At(x, y) == clr;
    return n;
}

template <class TTheme>
struct VisualStudioBar
{
    VisualStudioBar() : scroll(&theme) { theme.RefreshMetrics(); }
    void Draw(DibCanvas& canvas) { theme.DrawScrollBar(&canvas.dc, &scroll); }
    QVT_SCROLLBAR_PARTS Parts() { return CQVTScrollBarPaintManager::CalcParts(&scroll); }
    TTheme theme;
    VisualStudioScrollStub scroll;
};

const QVT_FLAT_SCROLLBAR_COLORS kLight = {RGB(232, 232, 236), RGB(202, 203, 211), RGB(134, 137, 153),
                                          RGB(28, 151, 234),  RGB(0, 122, 204),   RGB(208, 209, 215),
                                          RGB(136, 136, 136), RGB(106, 106, 106)};
const QVT_FLAT_SCROLLBAR_COLORS kDark = {RGB(62, 62, 66),    RGB(85, 85, 88),   RGB(153, 153, 153),
                                         RGB(28, 151, 234),  RGB(0, 122, 204),  RGB(104, 104, 104),
                                         RGB(158, 158, 158), RGB(239, 235, 239)};

// Checks one drawing of a vertical bar against a colour record: the track,
// the arrows' glyph colours and the thumb inset across the bar.
void ExpectVerticalBar(const DibCanvas& drawn, const QVT_SCROLLBAR_PARTS& parts,
                       const QVT_FLAT_SCROLLBAR_COLORS& c, COLORREF clrFirstArrow, COLORREF clrSecondArrow,
                       COLORREF clrThumb, const char* pszCase)
{
    const CPoint ptPage = parts.rcPageAfter.CenterPoint();
    EXPECT_EQ(c.clrTrack, drawn.At(ptPage.x, ptPage.y)) << pszCase;
    EXPECT_EQ(c.clrTrack, drawn.At(parts.rcArrowFirst.left, parts.rcArrowFirst.top))
        << "no button face " << pszCase;
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowFirst, clrFirstArrow), 0) << pszCase;
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowSecond, clrSecondArrow), 0) << pszCase;
    if (clrFirstArrow != clrSecondArrow)
    {
        EXPECT_EQ(0, VisualStudioCountIn(drawn, parts.rcArrowFirst, clrSecondArrow)) << pszCase;
        EXPECT_EQ(0, VisualStudioCountIn(drawn, parts.rcArrowSecond, clrFirstArrow)) << pszCase;
    }
    const int nInset = QVTDpiScaler()->ScaleX(5);
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    EXPECT_EQ(clrThumb, drawn.At(ptThumb.x, ptThumb.y)) << pszCase;
    EXPECT_EQ(clrThumb, drawn.At(parts.rcThumb.left + nInset, ptThumb.y)) << pszCase;
    EXPECT_EQ(clrThumb, drawn.At(parts.rcThumb.right - nInset - 1, ptThumb.y)) << pszCase;
    EXPECT_EQ(c.clrTrack, drawn.At(parts.rcThumb.left + nInset - 1, ptThumb.y)) << pszCase;
    EXPECT_EQ(c.clrTrack, drawn.At(parts.rcThumb.right - nInset, ptThumb.y)) << pszCase;
}

const CRect kVisualStudioVert(0, 0, 17, 160);

// The light look with its normal arrows read as "-1".
class VisualStudioUncolouredArrows : public CQVTScrollBarThemeVisualStudio2012
{
public:
    QVT_FLAT_SCROLLBAR_COLORS GetColors(int nThemeStyle) const override
    {
        QVT_FLAT_SCROLLBAR_COLORS c = CQVTScrollBarThemeVisualStudio2012::GetColors(nThemeStyle);
        c.clrArrow = COLORREF(-1);
        return c;
    }
};

TEST(ScrollBarVisualStudio2012, LightAndDarkColoursByStyleAndState)
{
    struct
    {
        int nStyle;
        const QVT_FLAT_SCROLLBAR_COLORS* pColors;
    } styles[] = {{8, &kLight}, {9, &kDark}, {0, &kLight}};
    for (const auto& style : styles)
    {
        VisualStudioBar<CQVTScrollBarThemeVisualStudio2012> bar;
        bar.scroll.SetStyle(style.nStyle);
        bar.scroll.Set(kVisualStudioVert, TRUE, 0, 99, 10, 30);
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        ASSERT_FALSE(parts.rcThumb.IsRectEmpty());
        const QVT_FLAT_SCROLLBAR_COLORS& c = *style.pColors;
        DibCanvas drawn(17, 160);

        bar.Draw(drawn);
        ExpectVerticalBar(drawn, parts, c, c.clrArrow, c.clrArrow, c.clrThumb, "normal");

        bar.scroll.SetHotPart(qvtScrollHitDownArrow);
        drawn.Clear(RGB(255, 255, 255));
        bar.Draw(drawn);
        ExpectVerticalBar(drawn, parts, c, c.clrArrow, c.clrArrowHot, c.clrThumb, "hot arrow");

        bar.scroll.SetHotPart(qvtScrollHitThumb);
        drawn.Clear(RGB(255, 255, 255));
        bar.Draw(drawn);
        ExpectVerticalBar(drawn, parts, c, c.clrArrow, c.clrArrow, c.clrThumbHot, "hot thumb");

        // While tracking there is no hot part: the pressed arrow alone shows.
        bar.scroll.Press(qvtScrollHitUpArrow);
        drawn.Clear(RGB(255, 255, 255));
        bar.Draw(drawn);
        ExpectVerticalBar(drawn, parts, c, c.clrArrowPressed, c.clrArrow, c.clrThumb, "pressed arrow");
        bar.scroll.Release();

        bar.scroll.Press(qvtScrollHitThumb);
        drawn.Clear(RGB(255, 255, 255));
        bar.Draw(drawn);
        ExpectVerticalBar(drawn, parts, c, c.clrArrow, c.clrArrow, c.clrThumbPressed, "pressed thumb");
        bar.scroll.Release();
    }
}

// An arrow shows its glyph only from six pixels each way, and not at all in
// a colour of "-1", while the other arrow keeps its own.
TEST(ScrollBarVisualStudio2012, ArrowGlyphsNeedSixPixelsAndAColour)
{
    VisualStudioBar<CQVTScrollBarThemeVisualStudio2012> bar;
    for (int nWidth : {10, 12})
    {
        bar.scroll.Set(CRect(0, 0, nWidth, 17), FALSE, 0, 99, 10, 0);
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        ASSERT_EQ(nWidth / 2, parts.rcArrowFirst.Width());
        DibCanvas drawn(nWidth, 17);
        bar.Draw(drawn);
        if (nWidth < 12)
            EXPECT_EQ(0, VisualStudioCountIn(drawn, CRect(0, 0, nWidth, 17), kLight.clrArrow));
        else
            EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowSecond, kLight.clrArrow), 0);
    }

    VisualStudioBar<VisualStudioUncolouredArrows> uncoloured;
    uncoloured.scroll.Set(kVisualStudioVert, TRUE, 0, 99, 10, 30);
    uncoloured.scroll.SetHotPart(qvtScrollHitDownArrow);
    const QVT_SCROLLBAR_PARTS parts = uncoloured.Parts();
    DibCanvas drawn(17, 160);
    uncoloured.Draw(drawn);
    EXPECT_EQ(parts.rcArrowFirst.Width() * parts.rcArrowFirst.Height(),
              VisualStudioCountIn(drawn, parts.rcArrowFirst, kLight.clrTrack));
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowSecond, kLight.clrArrowHot), 0);
}

TEST(ScrollBarVisualStudio2012, DisabledHorizontalAndDegenerateBars)
{
    // A bar that cannot scroll: both arrows disabled, no thumb, even hot.
    VisualStudioBar<CQVTScrollBarThemeVisualStudio2012> bar;
    bar.scroll.SetStyle(9);
    bar.scroll.Set(CRect(0, 0, 160, 17), FALSE, 0, 9, 10, 0);
    bar.scroll.SetHotPart(qvtScrollHitUpArrow);
    QVT_SCROLLBAR_PARTS parts = bar.Parts();
    DibCanvas drawn(160, 17);
    bar.Draw(drawn);
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowFirst, kDark.clrArrowDisabled), 0);
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowSecond, kDark.clrArrowDisabled), 0);
    EXPECT_EQ(0, VisualStudioCountIn(drawn, parts.rcArrowFirst, kDark.clrArrowHot));
    EXPECT_EQ(parts.rcTrack.Width() * parts.rcTrack.Height(),
              VisualStudioCountIn(drawn, parts.rcTrack, kDark.clrTrack));

    // The horizontal thumb is inset from the top and bottom.
    bar.scroll.Set(CRect(0, 0, 160, 17), FALSE, 0, 99, 10, 50);
    parts = bar.Parts();
    drawn.Clear(RGB(255, 255, 255));
    bar.Draw(drawn);
    const int nInset = QVTDpiScaler()->ScaleY(5);
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    EXPECT_EQ(kDark.clrThumb, drawn.At(ptThumb.x, nInset));
    EXPECT_EQ(kDark.clrTrack, drawn.At(ptThumb.x, nInset - 1));

    // A bar turned inside out draws nothing at all.
    for (const CRect& rc : {CRect(40, 0, 20, 17), CRect(40, 0, 40, 17)})
    {
        bar.scroll.Set(rc, FALSE, 0, 99, 10, 50);
        drawn.Clear(RGB(1, 2, 3));
        bar.Draw(drawn);
        EXPECT_EQ(160 * 17, VisualStudioCountIn(drawn, CRect(0, 0, 160, 17), RGB(1, 2, 3)))
            << rc.left << rc.right;
    }

    // The size box takes the track colour.
    bar.scroll.SetSizeBox(CRect(0, 0, 17, 17));
    drawn.Clear(RGB(255, 255, 255));
    bar.Draw(drawn);
    EXPECT_EQ(17 * 17, VisualStudioCountIn(drawn, CRect(0, 0, 17, 17), kDark.clrTrack));
}

TEST(ScrollBarVisualStudio2015, ColoursComeFromTheKeysWithTheirRules)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    {
        VisualStudioBar<CQVTScrollBarThemeVisualStudio2015> bar;
        const QVT_FLAT_SCROLLBAR_COLORS c = bar.theme.GetColors(9);
        EXPECT_EQ(RGB(243, 243, 243), c.clrTrack) << "the style plays no part";
        EXPECT_EQ(RGB(171, 171, 171), c.clrArrowDisabled);
        EXPECT_EQ(RGB(119, 119, 119), c.clrArrowPressed);
        EXPECT_EQ(RGB(255, 255, 255), c.clrThumb);
        EXPECT_EQ(RGB(240, 240, 240), c.clrThumbHot);
    }

    ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("VisualStudioKeys.ini")));
    VisualStudioBar<CQVTScrollBarThemeVisualStudio2015> bar;
    bar.scroll.Set(kVisualStudioVert, TRUE, 0, 99, 10, 30);
    const QVT_SCROLLBAR_PARTS parts = bar.Parts();
    DibCanvas drawn(17, 160, RGB(1, 2, 3));
    bar.Draw(drawn);
    const CPoint ptPage = parts.rcPageAfter.CenterPoint();
    EXPECT_EQ(RGB(10, 20, 30), drawn.At(ptPage.x, ptPage.y));
    EXPECT_GT(VisualStudioCountIn(drawn, parts.rcArrowFirst, RGB(200, 10, 10)), 0);
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    EXPECT_EQ(RGB(255, 255, 255), drawn.At(ptThumb.x, ptThumb.y));

    // "-1" paints nothing: the hot thumb leaves the track beneath it.
    bar.scroll.SetHotPart(qvtScrollHitThumb);
    bar.Draw(drawn);
    EXPECT_EQ(RGB(10, 20, 30), drawn.At(ptThumb.x, ptThumb.y));
    // Two numbers are black, not the default.
    bar.scroll.SetHotPart(0);
    bar.scroll.Press(qvtScrollHitThumb);
    bar.Draw(drawn);
    EXPECT_EQ(RGB(0, 0, 0), drawn.At(ptThumb.x, ptThumb.y));
    bar.scroll.Release();
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

}  // namespace
