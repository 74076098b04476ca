// The drawing context over GDI, read back pixel by pixel from a DIB: fills,
// border bands, gradients (clip box only), rounded corners, paths, text with
// and without a separate attribute DC, clipping, viewport offsets, fonts.
#include <cmath>
#include <memory>

#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupStroke.h"
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

class MarkupDrawing : public testing::Test
{
protected:
    MarkupDrawing() : m_pContext(MarkupCreateContext(nullptr, FALSE)), m_canvas(200, 100)
    {
        // These pin the GDI device context down.
        m_pContext->EnableGdiPlus(FALSE);
    }
    ~MarkupDrawing() override
    {
        for (CQVTMarkupUIElement*& pTree : m_trees)
            MarkupReleaseElement(pTree);
        MarkupReleaseContext(m_pContext);
    }

    // A brush written in markup, kept alive with the tree it was built in.
    CQVTMarkupBrush* Brush(LPCWSTR lpszBrush)
    {
        CString strError;
        CQVTMarkupUIElement* pTree = BuildMarkup(
            m_pContext,
            RootMarkup(u"Border", u"", CString(u"<Border.Background>") + lpszBrush + u"</Border.Background>"),
            &strError);
        EXPECT_NE(pTree, nullptr) << CStringA(strError).GetString();
        if (pTree == nullptr)
            return nullptr;
        m_trees.push_back(pTree);
        return MarkupCast<CQVTMarkupBrush>(pTree->GetValue(CQVTMarkupBorder::m_pBackgroundProperty));
    }
    CQVTMarkupBrush* Horizontal(LPCWSTR lpszStops, LPCWSTR lpszPoints = u"StartPoint='0,0' EndPoint='1,0'")
    {
        return Brush(CString(u"<LinearGradientBrush ") + lpszPoints + u">" + lpszStops +
                     u"</LinearGradientBrush>");
    }
    // The colour the gradient between two stops gives at t, channel by channel.
    static COLORREF Mix(COLORREF a, COLORREF b, double t)
    {
        const double f = 1.0 - t;
        return RGB(int(GetRValue(a) * f + GetRValue(b) * (1 - f)),
                   int(GetGValue(a) * f + GetGValue(b) * (1 - f)),
                   int(GetBValue(a) * f + GetBValue(b) * (1 - f)));
    }

    CQVTMarkupContext* m_pContext;
    DibCanvas m_canvas;
    std::vector<CQVTMarkupUIElement*> m_trees;
};

namespace {

// Pixels of one colour in a row of the canvas, from left to right.
int RowCount(const DibCanvas& canvas, int y, int nLeft, int nRight, COLORREF clr)
{
    int nCount = 0;
    for (int x = nLeft; x < nRight; ++x)
        nCount += canvas.At(x, y) == clr;
    return nCount;
}

const WCHAR kRedToBlue[] =
    u"<GradientStop Color='#FF0000' Offset='0'/><GradientStop Color='#0000FF' Offset='1'/>";
}  // namespace

TEST_F(MarkupDrawing, FillsAreOpaqueWhateverTheAlphaAndOpacity)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    dc.SetOpacity(0.25);
    dc.FillRectangle(RECT{10, 10, 20, 20}, Brush(u"<SolidColorBrush Color='#40FF0000'/>"));
    dc.FillSolidRect(RECT{30, 10, 40, 20}, 0x100000FF);
    EXPECT_EQ(m_canvas.At(15, 15), kRed);
    EXPECT_EQ(m_canvas.At(35, 15), kRed);
    EXPECT_EQ(m_canvas.At(9, 15), kWhite);
    EXPECT_EQ(m_canvas.CountOf(kRed), 200);
    // GDI has no smoothing: the mode stays 0.
    EXPECT_EQ(dc.SetSmoothingMode(4), 0);
    EXPECT_EQ(dc.SetSmoothingMode(1), 0);
}

TEST_F(MarkupDrawing, BordersAreFourBandsInsideTheRectangle)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(1, 2, 3, 4));
    CQVTMarkupThickness* pThickness = static_cast<CQVTMarkupThickness*>(thickness.Get());
    dc.DrawRectangle(RECT{10, 10, 50, 40}, Brush(u"<SolidColorBrush Color='Red'/>"), pThickness);
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(10, 10, 50, 40));
    EXPECT_EQ(m_canvas.At(10, 25), kRed);  // left, one wide
    EXPECT_EQ(m_canvas.At(11, 25), kWhite);
    EXPECT_EQ(m_canvas.At(47, 25), kRed);  // right, three wide
    EXPECT_EQ(m_canvas.At(46, 25), kWhite);
    EXPECT_EQ(m_canvas.At(30, 11), kRed);  // top, two high
    EXPECT_EQ(m_canvas.At(30, 12), kWhite);
    EXPECT_EQ(m_canvas.At(30, 36), kRed);  // bottom, four high
    EXPECT_EQ(m_canvas.At(30, 35), kWhite);

    // No brush, no thickness: nothing.
    m_canvas.Clear(kWhite);
    dc.DrawRectangle(RECT{10, 10, 50, 40}, nullptr, pThickness);
    dc.DrawRectangle(RECT{10, 10, 50, 40}, Brush(u"<SolidColorBrush Color='Red'/>"), nullptr);
    // A gradient border fills each band with its own gradient.
    dc.DrawRectangle(RECT{100, 0, 200, 100}, Horizontal(kRedToBlue), pThickness);
    EXPECT_EQ(m_canvas.At(100, 50), Mix(kRed, kBlue, 0.0));
    EXPECT_EQ(m_canvas.At(199, 50), Mix(kRed, kBlue, 2.0 / 3));
    EXPECT_EQ(m_canvas.At(150, 0), Mix(kRed, kBlue, 0.5));
}

TEST_F(MarkupDrawing, LinearGradientsFollowTheirAxisAndStops)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    // Horizontal: t = x / W.
    dc.FillRectangle(RECT{0, 0, 100, 10}, Horizontal(kRedToBlue));
    for (int x : {0, 1, 37, 50, 99})
        EXPECT_EQ(m_canvas.At(x, 5), Mix(kRed, kBlue, x / 100.0)) << x;
    // Vertical, stops written out of order: t = (row + 1) / H.
    dc.FillRectangle(
        RECT{100, 0, 150, 50},
        Horizontal(u"<GradientStop Color='#0000FF' Offset='1'/><GradientStop Color='#FF0000' Offset='0'/>",
                   u"StartPoint='0,0' EndPoint='0,1'"));
    for (int r : {0, 9, 24, 49})
        EXPECT_EQ(m_canvas.At(120, r), Mix(kRed, kBlue, (r + 1) / 50.0)) << r;
    // Three stops, the middle one reached exactly.
    dc.FillRectangle(
        RECT{0, 20, 100, 30},
        Horizontal(u"<GradientStop Color='Red' Offset='0'/><GradientStop Color='#00FF00' Offset='0.5'/>"
                   u"<GradientStop Color='Blue' Offset='1'/>"));
    EXPECT_EQ(m_canvas.At(50, 25), RGB(0, 255, 0));
    EXPECT_EQ(m_canvas.At(25, 25), Mix(kRed, RGB(0, 255, 0), 0.5));
    // Diagonal: both coordinates count.
    dc.FillRectangle(RECT{150, 0, 200, 50}, Horizontal(kRedToBlue, u"StartPoint='0,0' EndPoint='1,1'"));
    const double d = std::sqrt(50.0 * 50 + 50 * 50);
    EXPECT_EQ(m_canvas.At(170, 10), Mix(kRed, kBlue, ((20.0) * (50 / d) + (11.0) * (50 / d)) / d));

    // One stop fills solid; equal points, no stops and empty rectangles draw nothing.
    m_canvas.Clear(kWhite);
    dc.FillRectangle(RECT{0, 0, 10, 10}, Horizontal(u"<GradientStop Color='Red' Offset='0.3'/>"));
    EXPECT_EQ(m_canvas.CountOf(kRed), 100);
    dc.FillRectangle(RECT{20, 0, 30, 10}, Horizontal(kRedToBlue, u"StartPoint='0.5,0.5' EndPoint='0.5,0.5'"));
    dc.FillRectangle(RECT{40, 0, 50, 10}, Horizontal(u""));
    dc.FillRectangle(RECT{60, 0, 60, 10}, Horizontal(kRedToBlue));
    dc.FillRectangle(RECT{70, 10, 80, 10}, Horizontal(kRedToBlue));
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(0, 0, 10, 10));
}

TEST_F(MarkupDrawing, AGradientComputesOnlyWhatTheClipLetsThrough)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    // An element two billion pixels wide: only the canvas's part is computed,
    // with the colours it has in the whole gradient.
    dc.FillRectangle(RECT{-(1 << 30), 0, 1 << 30, 100}, Horizontal(kRedToBlue));
    EXPECT_EQ(m_canvas.At(0, 50), Mix(kRed, kBlue, 0.5));
    EXPECT_EQ(m_canvas.At(199, 50), Mix(kRed, kBlue, ((1 << 30) + 199.0) / double(1u << 31)));
    EXPECT_EQ(m_canvas.CountOf(kWhite), 0);

    // A clip inside the canvas: nothing outside it changes.
    m_canvas.Clear(kWhite);
    dc.IntersectClipRect(RECT{50, 20, 60, 30});
    dc.FillRectangle(RECT{0, 0, 200, 100}, Horizontal(kRedToBlue));
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(50, 20, 60, 30));
    EXPECT_EQ(m_canvas.At(55, 25), Mix(kRed, kBlue, 55 / 200.0));
}

TEST_F(MarkupDrawing, RoundedRectanglesLeaveTheirCornersOut)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    const CQVTMarkupCornerRadius radius = CQVTMarkupCornerRadius::FromCorners(10, 10, 0, 10);
    dc.FillRectangle(RECT{10, 10, 60, 60}, Brush(u"<SolidColorBrush Color='Red'/>"), &radius);
    EXPECT_EQ(m_canvas.At(11, 11), kWhite);
    EXPECT_EQ(m_canvas.At(58, 11), kWhite);
    EXPECT_EQ(m_canvas.At(11, 58), kWhite);
    EXPECT_EQ(m_canvas.At(58, 58), kRed);  // the square corner
    EXPECT_EQ(m_canvas.At(35, 35), kRed);
    EXPECT_EQ(m_canvas.At(35, 10), kRed);
    // Radii beyond half the rectangle are held to it.
    const CQVTMarkupCornerRadius huge = CQVTMarkupCornerRadius::FromCorners(1e9, 1e9, 1e9, 1e9);
    dc.FillRectangle(RECT{100, 10, 140, 50}, Brush(u"<SolidColorBrush Color='Blue'/>"), &huge);
    EXPECT_EQ(m_canvas.At(120, 30), kBlue);
    EXPECT_EQ(m_canvas.At(101, 11), kWhite);

    // An outline drawn with a radius stays inside the rectangle.
    m_canvas.Clear(kWhite);
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(4));
    dc.DrawRectangle(RECT{10, 10, 60, 60}, Brush(u"<SolidColorBrush Color='Red'/>"),
                     static_cast<CQVTMarkupThickness*>(thickness.Get()), &radius);
    const CRect ink = m_canvas.BoundsOfAllBut(kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 61);
    EXPECT_EQ(m_canvas.At(35, 35), kWhite);
    EXPECT_EQ(m_canvas.At(35, 12), kRed);
}

TEST_F(MarkupDrawing, HugeShapesAndPensStillDrawWhatTheSurfaceShows)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    CQVTMarkupBrush* pRed = Brush(u"<SolidColorBrush Color='Red'/>");
    // A rounded frame far wider than the canvas: every visible pixel lies in it.
    const CQVTMarkupCornerRadius radius = CQVTMarkupCornerRadius::FromCorners(10, 10, 10, 10);
    CQVTMarkupAutoPtr wide(new CQVTMarkupThickness(60000));
    dc.DrawRectangle(RECT{-50000, -50000, 50200, 50100}, pRed, static_cast<CQVTMarkupThickness*>(wide.Get()),
                     &radius);
    EXPECT_EQ(m_canvas.CountOf(kRed), 200 * 100);
    // Its inside stays empty when the inside is what shows.
    m_canvas.Clear(kWhite);
    dc.DrawRectangle(RECT{-70000, -70000, 70200, 70100}, pRed, static_cast<CQVTMarkupThickness*>(wide.Get()),
                     &radius);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 200 * 100);

    // A billion-pixel rounded fill, an ellipse under a million-pixel pen.
    m_canvas.Clear(kWhite);
    const CQVTMarkupCornerRadius huge = CQVTMarkupCornerRadius::FromCorners(1e9, 1e9, 1e9, 1e9);
    dc.FillRectangle(RECT{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, pRed, &huge);
    EXPECT_EQ(m_canvas.CountOf(kRed), 200 * 100);
    m_canvas.Clear(kWhite);
    CQVTMarkupStroke pen;
    pen.nThickness = 1000000;
    pen.pBrush = pRed;
    for (int i = 0; i < 3; ++i)
        dc.DrawEllipse(RECT{-1000, -1000, 1200, 1100}, &pen, nullptr);
    EXPECT_EQ(m_canvas.CountOf(kRed), 200 * 100);
}

TEST_F(MarkupDrawing, DecorationsAreBandsBelowAndThroughTheText)
{
    for (LPCWSTR lpszDecoration : {u"Underline", u"Strikethrough"})
    {
        SCOPED_TRACE(CStringA(lpszDecoration).GetString());
        m_canvas.Clear(kWhite);
        CQVTMarkupUIElement* pText = MarkupParseText(
            m_pContext,
            RootMarkup(u"TextBlock", CString(u"Foreground='Red' TextDecorations='") + lpszDecoration + u"'",
                       u"iiii"));
        ASSERT_NE(pText, nullptr);
        m_trees.push_back(pText);
        MarkupRenderElement(pText, m_canvas.dc.m_hDC, CRect(0, 0, 200, 100));
        const CQVTMarkupTextBlock::CLinePart& part =
            *static_cast<CQVTMarkupTextBlock*>(pText)->GetLines()[0]->parts[0];
        const CRect rc(part.GetRect());
        const int d = part.nDescent, t = std::max(d / 4, 1);
        const int nTop = lpszDecoration[0] == u'U'
                             ? rc.bottom - (d - t) + ((d - t) % 2)
                             : rc.bottom - d - (part.nAscentMetric - part.nDescentMetric - t) / 2;
        // The band's rows are red from the part's left to its right; the rows
        // just outside it are not.
        for (int y = nTop; y < nTop + t; ++y)
            EXPECT_EQ(RowCount(m_canvas, y, rc.left, rc.right, kRed), rc.Width()) << y;
        EXPECT_LT(RowCount(m_canvas, nTop - 1, rc.left, rc.right, kRed), rc.Width());
        EXPECT_LT(RowCount(m_canvas, nTop + t, rc.left, rc.right, kRed), rc.Width());
    }
}

namespace {
// An element whose drawing fails the way host code does.
class CThrowingPanel : public CTestPanel
{
public:
    void OnRender(CQVTMarkupDrawingContext*) override { AfxThrowOleException(E_FAIL); }
};
}  // namespace

TEST_F(MarkupDrawing, ADrawingThatThrowsLeavesTheDrawingContextAsItFoundIt)
{
    CQVTMarkupAutoPtr failing(new CThrowingPanel());
    CThrowingPanel* pFailing = static_cast<CThrowingPanel*>(failing.Get());
    // Offset, clipped to its bounds and half transparent while it draws.
    pFailing->SetValue(CQVTMarkupUIElement::m_pClipToBoundsProperty, CQVTMarkupBool::CreateTrue());
    pFailing->SetValue(CQVTMarkupUIElement::m_pOpacityProperty, new CQVTMarkupDouble(0.5));
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    pFailing->Measure(&dc, SIZE{50, 50});
    pFailing->Arrange(RECT{10, 20, 60, 70});
    const CRect rcClip(dc.GetClipBox());
    ASSERT_EQ(rcClip, CRect(0, 0, 200, 100));
    BOOL bThrown = FALSE;
    try
    {
        pFailing->Render(&dc);
    }
    catch (COleException* e)
    {
        bThrown = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(CRect(dc.GetClipBox()), rcClip);
    EXPECT_EQ(dc.GetOpacity(), 1.0);
    // What is drawn next lands where it belongs, opaque and unclipped.
    dc.FillSolidRect(RECT{0, 0, 100, 10}, kRed);
    EXPECT_EQ(m_canvas.At(5, 5), kRed);
    EXPECT_EQ(m_canvas.At(95, 5), kRed);
    EXPECT_EQ(m_canvas.At(15, 25), kWhite);
}

TEST_F(MarkupDrawing, ARoundedBackgroundInsideAFrameHasTheRadiusLessHalfTheLeftSide)
{
    CQVTMarkupUIElement* pBorder = MarkupParseText(
        m_pContext,
        RootMarkup(u"Border", u"CornerRadius='10' BorderThickness='4,1,1,1' Background='Red'", u""));
    ASSERT_NE(pBorder, nullptr);
    m_trees.push_back(pBorder);
    MarkupRenderElement(pBorder, m_canvas.dc.m_hDC, CRect(0, 0, 60, 40));
    // The oracle: the same fill drawn directly inside the sides, with the
    // radius 10 - 4 / 2 = 8 at every corner; 9 or 7 would differ.
    CQVTMarkupBrush* pRed = Brush(u"<SolidColorBrush Color='Red'/>");
    ASSERT_NE(pRed, nullptr);
    auto drawn = [&](double dRadius) {
        DibCanvas expected(200, 100);
        CQVTMarkupDrawingContext dc(m_pContext, expected.dc.m_hDC);
        const CQVTMarkupCornerRadius radius =
            CQVTMarkupCornerRadius::FromCorners(dRadius, dRadius, dRadius, dRadius);
        dc.FillRectangle(RECT{4, 1, 59, 39}, pRed, &radius);
        int nDifferent = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                nDifferent += expected.At(x, y) != m_canvas.At(x, y);
        return nDifferent;
    };
    EXPECT_EQ(drawn(8), 0);
    EXPECT_NE(drawn(9), 0);
    EXPECT_NE(drawn(7), 0);
}

TEST_F(MarkupDrawing, ARoundedBorderFillsItsBackgroundInsideTheFrame)
{
    CQVTMarkupUIElement* pBorder = MarkupParseText(
        m_pContext,
        RootMarkup(u"Border", u"CornerRadius='4' BorderThickness='2' BorderBrush='Blue' Background='Red'",
                   u""));
    ASSERT_NE(pBorder, nullptr);
    m_trees.push_back(pBorder);
    const CRect rc(20, 20, 80, 60);
    MarkupRenderElement(pBorder, m_canvas.dc.m_hDC, rc);
    EXPECT_EQ(m_canvas.At(20, 20), kWhite);  // the rounded corner
    EXPECT_EQ(m_canvas.At(50, 21), kBlue);   // the frame
    EXPECT_EQ(m_canvas.At(50, 58), kBlue);
    EXPECT_EQ(m_canvas.At(21, 40), kBlue);
    EXPECT_EQ(m_canvas.At(50, 40), kRed);  // the background
    const CRect ink = m_canvas.BoundsOfAllBut(kWhite);
    CRect inside;
    inside.IntersectRect(ink, rc);
    EXPECT_EQ(inside, ink);

    // A zero-size rectangle measures and arranges to nothing and draws nothing.
    m_canvas.Clear(kWhite);
    const CRect empty(30, 30, 30, 30);
    MarkupRenderElement(pBorder, m_canvas.dc.m_hDC, empty);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 200 * 100);
    MarkupRenderElement(pBorder, nullptr, rc);
    MarkupRenderElement(nullptr, m_canvas.dc.m_hDC, rc);
    MarkupRenderElement(pBorder, m_canvas.dc.m_hDC, nullptr);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 200 * 100);
}

TEST_F(MarkupDrawing, PathsLinesAndEllipsesDrawOnlyWithAStrokeOrAFill)
{
    CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
    CQVTMarkupBrush* pRed = Brush(u"<SolidColorBrush Color='Red'/>");
    CQVTMarkupStroke none;
    none.pBrush = pRed;
    dc.DrawLine(0, 5, 100, 5, &none);  // thickness 0
    dc.DrawLine(0, 5, 100, 5, nullptr);
    dc.DrawEllipse(RECT{0, 0, 50, 50}, nullptr, nullptr);
    CQVTMarkupStroke noBrush;
    noBrush.nThickness = 3;
    dc.DrawEllipse(RECT{0, 0, 50, 50}, &noBrush, nullptr);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 200 * 100);

    CQVTMarkupStroke stroke;
    stroke.nThickness = 1;
    stroke.pBrush = pRed;
    dc.DrawLine(0, 5, 100, 5, &stroke);
    EXPECT_EQ(m_canvas.At(50, 5), kRed);
    dc.DrawEllipse(RECT{100, 0, 150, 50}, nullptr, pRed);
    EXPECT_EQ(m_canvas.At(125, 25), kRed);
    EXPECT_EQ(m_canvas.At(101, 1), kWhite);

    // A closed triangle through a Bezier-free path, filled.
    CQVTMarkupPathBuilder builder;
    builder.MoveTo(10, 90);
    builder.MoveTo(10, 60);  // consecutive moves leave one start
    builder.LineTo(60, 60);
    builder.LineTo(10, 99);
    builder.CloseFigure();
    CQVTMarkupAutoPtr path(builder.CreatePathData());
    CQVTMarkupPathData* pPath = static_cast<CQVTMarkupPathData*>(path.Get());
    EXPECT_EQ(pPath->GetCount(), 3);
    EXPECT_EQ(CRect(pPath->GetBounds()), CRect(10, 60, 60, 99));
    dc.DrawPath(pPath, nullptr, Brush(u"<SolidColorBrush Color='Blue'/>"));
    EXPECT_EQ(m_canvas.At(15, 65), kBlue);
    EXPECT_EQ(m_canvas.At(55, 95), kWhite);
}

TEST_F(MarkupDrawing, TextFollowsTheAttributeDCsWordPositionsAtEachBreak)
{
    LOGFONTW lf = m_pContext->GetDefaultFont();
    lf.lfHeight = -14;
    CQVTMarkupFont* pFont = m_pContext->GetFont(&lf);
    const WCHAR kText[] = u"ab cd ef";
    const int nLength = _countof(kText) - 1;
    // The attribute DC spreads the words: justification widens each break
    // character in its extents, never in its character widths.
    auto draw = [&](int nExtra) {
        auto canvas = std::make_unique<DibCanvas>(300, 40);
        DibCanvas attribute(300, 40);
        CQVTMarkupDrawingContext dc(m_pContext, canvas->dc.m_hDC, attribute.dc.m_hDC);
        dc.SetFont(pFont);
        ::SelectObject(attribute.dc.m_hDC, pFont->GetFontHandle());
        ::SelectObject(canvas->dc.m_hDC, pFont->GetFontHandle());
        ::SetTextJustification(attribute.dc.m_hDC, nExtra, nExtra != 0 ? 2 : 0);
        dc.DrawTextLine(kText, nLength, RECT{0, 0, 300, 40});
        return canvas;
    };
    const auto plain = draw(0);
    const auto spread = draw(20);
    DibCanvas measure(10, 10);
    ::SelectObject(measure.dc.m_hDC, pFont->GetFontHandle());
    SIZE first = {0, 0}, second = {0, 0};
    ::GetTextExtentPoint32W(measure.dc.m_hDC, kText, 3, &first);
    ::GetTextExtentPoint32W(measure.dc.m_hDC, kText, 6, &second);
    ASSERT_GT(plain->BoundsOfAllBut(kWhite).right, second.cx);
    // Each break adds its share: the first word stays, the second moves by
    // 10 and the third by 20, pixel for pixel.
    int nDifferent = 0;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 250; ++x)
        {
            const int nShift = x < first.cx ? 0 : x < second.cx ? 10 : 20;
            nDifferent += spread->At(x + nShift, y) != plain->At(x, y);
        }
    }
    EXPECT_EQ(nDifferent, 0);
    pFont->InternalRelease();
}

TEST_F(MarkupDrawing, TextKeepsTheAttributeDCsLayout)
{
    LOGFONTW lf = m_pContext->GetDefaultFont();
    lf.lfHeight = -12;
    CQVTMarkupFont* pSmall = m_pContext->GetFont(&lf);
    lf.lfHeight = -24;
    CQVTMarkupFont* pLarge = m_pContext->GetFont(&lf);
    const WCHAR kText[] = u"Wide and narrow";
    const int nLength = _countof(kText) - 1;

    // One DC: the text drawn as ExtTextOut draws it.
    DibCanvas direct(400, 60);
    ::SelectObject(direct.dc.m_hDC, pSmall->GetFontHandle());
    ::SetBkMode(direct.dc.m_hDC, TRANSPARENT);
    ::ExtTextOutW(direct.dc.m_hDC, 5, 5, 0, nullptr, kText, nLength, nullptr);
    DibCanvas same(400, 60);
    {
        CQVTMarkupDrawingContext dc(m_pContext, same.dc.m_hDC);
        dc.SetFont(pSmall);
        dc.DrawTextLine(kText, nLength, RECT{5, 5, 400, 60});
    }
    EXPECT_EQ(0, memcmp(direct.Pixels(), same.Pixels(), 400 * 60 * 4));

    // An attribute DC with a larger font: the small glyphs are spread over
    // the large font's layout, each centred in its cell.
    DibCanvas attribute(400, 60);
    DibCanvas output(400, 60);
    {
        CQVTMarkupDrawingContext dc(m_pContext, output.dc.m_hDC, attribute.dc.m_hDC);
        dc.SetFont(pLarge);
        ::SelectObject(output.dc.m_hDC, pSmall->GetFontHandle());
        SIZE large = dc.GetTextExtent(kText, nLength);
        SIZE narrow = {0, 0};
        ::GetTextExtentPoint32W(output.dc.m_hDC, kText, nLength, &narrow);
        ASSERT_GT(large.cx, narrow.cx + 20);
        dc.DrawTextLine(kText, nLength, RECT{0, 0, 400, 60});
        const CRect ink = output.BoundsOfAllBut(kWhite);
        EXPECT_GT(ink.right, narrow.cx + 10);
        EXPECT_LE(ink.right, large.cx);
        // The first glyph is centred in a wider cell: it starts later.
        EXPECT_GT(ink.left, 0);
    }
    pSmall->InternalRelease();
    pLarge->InternalRelease();
}

TEST_F(MarkupDrawing, FontsClipsAndOriginsArePutBack)
{
    HFONT hOriginal = static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    ::SelectObject(m_canvas.dc.m_hDC, hOriginal);
    LOGFONTW lf = m_pContext->GetDefaultFont();
    CQVTMarkupFont* pFont = m_pContext->GetFont(&lf);
    {
        CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
        dc.SetFont(pFont);
        dc.SetFont(pFont);  // already current: nothing
        EXPECT_EQ(::GetCurrentObject(m_canvas.dc.m_hDC, OBJ_FONT), pFont->GetFontHandle());

        // No clip before: restoring removes what was added in between.
        void* pSaved = dc.SaveClipRegion();
        dc.IntersectClipRect(RECT{0, 0, 10, 10});
        EXPECT_EQ(CRect(dc.GetClipBox()), CRect(0, 0, 10, 10));
        dc.RestoreClipRegion(pSaved);
        EXPECT_EQ(CRect(dc.GetClipBox()), CRect(0, 0, 200, 100));
        dc.FillSolidRect(RECT{0, 0, 200, 100}, kRed);
        EXPECT_EQ(m_canvas.CountOf(kRed), 200 * 100);
        dc.RestoreClipRegion(nullptr);

        // A clip before: it comes back.
        dc.IntersectClipRect(RECT{0, 0, 100, 50});
        pSaved = dc.SaveClipRegion();
        dc.IntersectClipRect(RECT{0, 0, 10, 10});
        dc.RestoreClipRegion(pSaved);
        EXPECT_EQ(CRect(dc.GetClipBox()), CRect(0, 0, 100, 50));

        // The origin moves in logical units, and the clip box follows it.
        m_canvas.Clear(kWhite);
        dc.OffsetViewport(POINT{20, 10});
        EXPECT_EQ(CRect(dc.GetClipBox()), CRect(-20, -10, 80, 40));
        dc.FillSolidRect(RECT{0, 0, 5, 5}, kBlue);
        dc.OffsetViewport(POINT{-20, -10});
        EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(20, 10, 25, 15));
    }
    EXPECT_EQ(::GetCurrentObject(m_canvas.dc.m_hDC, OBJ_FONT), hOriginal);
    pFont->InternalRelease();

    // A DC whose viewport is twice its window: the offset doubles on the device.
    m_canvas.Clear(kWhite);
    ::SelectClipRgn(m_canvas.dc.m_hDC, nullptr);
    ::SetMapMode(m_canvas.dc.m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(m_canvas.dc.m_hDC, 1, 1, nullptr);
    ::SetViewportExtEx(m_canvas.dc.m_hDC, 2, 2, nullptr);
    {
        CQVTMarkupDrawingContext dc(m_pContext, m_canvas.dc.m_hDC);
        dc.OffsetViewport(POINT{10, 5});
        dc.FillSolidRect(RECT{0, 0, 1, 1}, kBlue);
        dc.OffsetViewport(POINT{-10, -5});
    }
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(20, 10, 22, 12));
    ::SetMapMode(m_canvas.dc.m_hDC, MM_TEXT);
}
