// Shapes written in markup, measured, drawn into DIBs and hit-tested: fills
// and strokes, corner radii, dashes, stretching, line ends and ellipse
// outlines, and absurd strokes that must draw and end quickly.
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/shapes/QVTMarkupLine.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

class MarkupShapes : public testing::Test
{
protected:
    MarkupShapes() : m_pContext(MarkupCreateContext(nullptr, FALSE)), m_canvas(200, 120) {}
    ~MarkupShapes() override
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
    }

    // Builds one shape element as the root.
    CQVTMarkupShape* Load(LPCWSTR lpszMarkup)
    {
        MarkupReleaseElement(m_pRoot);
        CString strText(lpszMarkup);
        const int nEnd = strText.FindOneOf(u" />");
        strText.Insert(nEnd, u" xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation'");
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, strText, &strError);
        EXPECT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        return MarkupCast<CQVTMarkupShape>(m_pRoot);
    }
    CSize Measure(int cx = QVT_MARKUP_UNBOUNDED, int cy = QVT_MARKUP_UNBOUNDED)
    {
        return MarkupMeasureElement(m_pRoot, cx, cy);
    }
    void Render(const RECT& rc)
    {
        m_canvas.Clear(kWhite);
        MarkupRenderElement(m_pRoot, m_canvas.dc.m_hDC, &rc);
    }
    CQVTMarkupInputElement* Hit(int x, int y) { return m_pRoot->InputHitTest(POINT{x, y}); }

    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot = nullptr;
    DibCanvas m_canvas;
};

TEST_F(MarkupShapes, RectanglesFillInsideTheirStrokeAndKeepSquareCornersWhenARadiusIsZero)
{
    Load(u"<Rectangle Fill='#0000FF' Stroke='#FF0000' StrokeThickness='4'/>");
    EXPECT_EQ(Measure(), CSize(0, 0));
    Render(RECT{10, 10, 50, 30});
    EXPECT_EQ(m_canvas.At(10, 10), kRed);
    EXPECT_EQ(m_canvas.At(13, 20), kRed);
    EXPECT_EQ(m_canvas.At(14, 20), kBlue);
    EXPECT_EQ(m_canvas.At(49, 29), kRed);
    EXPECT_EQ(m_canvas.At(50, 29), kWhite);
    EXPECT_EQ(m_canvas.CountOf(kRed) + m_canvas.CountOf(kBlue), 40 * 20);

    // Radii 18 and 0 in a 40 by 20 rectangle: both must be above 0 to round.
    Load(u"<Rectangle Fill='#0000FF' Stroke='#FF0000' StrokeThickness='4' RadiusX='50'/>");
    Render(RECT{10, 10, 50, 30});
    EXPECT_EQ(m_canvas.At(10, 10), kRed);
    EXPECT_EQ(m_canvas.At(49, 29), kRed);
    // Both radii set: the corners are cut.
    Load(u"<Rectangle Fill='#0000FF' RadiusX='10' RadiusY='10' Stretch='Fill'/>");
    EXPECT_EQ(Measure(60, 40), CSize(60, 40));
    Render(RECT{0, 0, 60, 40});
    EXPECT_EQ(m_canvas.At(0, 0), kWhite);
    EXPECT_EQ(m_canvas.At(30, 20), kBlue);
    EXPECT_EQ(m_canvas.At(30, 0), kBlue);

    // Neither stroke nor fill: nothing drawn, the measured size kept.
    Load(u"<Rectangle Width='30' Height='20'/>");
    EXPECT_EQ(Measure(), CSize(30, 20));
    Render(RECT{0, 0, 30, 20});
    EXPECT_EQ(m_canvas.CountOf(kWhite), 200 * 120);
    // Thickness 0 hides the outline and keeps the fill; a fraction reads as its whole part.
    Load(u"<Rectangle Fill='#0000FF' Stroke='#FF0000' StrokeThickness='0'/>");
    Render(RECT{0, 0, 30, 20});
    EXPECT_EQ(m_canvas.CountOf(kRed), 0);
    EXPECT_EQ(m_canvas.CountOf(kBlue), 600);
    CQVTMarkupShape* pShape = Load(u"<Rectangle Stroke='#FF0000' StrokeThickness='1.2'/>");
    EXPECT_EQ(pShape->GetStrokeThickness(), 1);
    pShape = Load(u"<Rectangle Stroke='#FF0000'/>");
    EXPECT_EQ(pShape->GetStrokeThickness(), 1);
}

TEST_F(MarkupShapes, EllipsesAreHitInsideTheirOutlineAndAPixelThinOneStaysWhole)
{
    Load(u"<Ellipse Fill='#0000FF' Width='100' Height='50'/>");
    EXPECT_EQ(Measure(), CSize(100, 50));
    Render(RECT{0, 0, 100, 50});
    EXPECT_EQ(m_canvas.At(50, 25), kBlue);
    EXPECT_EQ(m_canvas.At(2, 2), kWhite);
    EXPECT_EQ(Hit(50, 25), m_pRoot);
    EXPECT_EQ(Hit(99, 25), m_pRoot);
    EXPECT_EQ(Hit(3, 3), nullptr);
    EXPECT_EQ(Hit(97, 47), nullptr);

    // One pixel wide: half of it is zero, and the test must not divide by it.
    Load(u"<Ellipse Fill='#0000FF' Width='1' Height='50'/>");
    MarkupRenderElement(m_pRoot, m_canvas.dc.m_hDC, CRect(0, 0, 1, 50));
    EXPECT_EQ(Hit(0, 10), m_pRoot);
    Load(u"<Ellipse Fill='#0000FF' Width='0' Height='50'/>");
    MarkupRenderElement(m_pRoot, m_canvas.dc.m_hDC, CRect(0, 0, 0, 50));
    EXPECT_EQ(Hit(0, 10), nullptr);
}

TEST_F(MarkupShapes, LinesMeasureTheirEndsAndAreHitAlongTheStrokeAndItsCaps)
{
    Load(u"<Line X1='0' Y1='0' X2='100' Y2='0' Stroke='#FF0000' StrokeThickness='3'/>");
    EXPECT_EQ(Measure(), CSize(100, 2));
    // Without a stroke brush the flat side adds nothing and nothing is hit.
    Load(u"<Line X1='0' Y1='0' X2='100' Y2='0'/>");
    EXPECT_EQ(Measure(), CSize(100, 0));

    // A stretched line keeps its direction over the whole render size.
    CQVTMarkupLine* pLine = MarkupCast<CQVTMarkupLine>(
        Load(u"<Line X1='10' Y1='10' X2='0' Y2='0' Stroke='#FF0000' Stretch='Fill'/>"));
    ASSERT_NE(pLine, nullptr);
    EXPECT_EQ(Measure(200, 100), CSize(200, 100));
    Render(RECT{0, 0, 200, 100});
    int x1, y1, x2, y2;
    pLine->GetLinePoints(x1, y1, x2, y2);
    EXPECT_EQ(CRect(x1, y1, x2, y2), CRect(200, 100, 0, 0));
    EXPECT_EQ(m_canvas.At(100, 50), kRed);
    EXPECT_EQ(m_canvas.At(100, 20), kWhite);

    // A diagonal with a thick stroke: hit within half the thickness, across
    // the end by less than half, and nowhere further.
    Load(u"<Line X1='10' Y1='10' X2='90' Y2='90' Stroke='#FF0000' StrokeThickness='10'/>");
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(Hit(50, 50), m_pRoot);
    EXPECT_EQ(Hit(53, 47), m_pRoot);
    EXPECT_EQ(Hit(60, 40), nullptr);
    EXPECT_EQ(Hit(93, 91), m_pRoot);
    EXPECT_EQ(Hit(97, 97), nullptr);
    Load(u"<Line X1='20' Y1='0' X2='20' Y2='50' Stroke='#FF0000' StrokeThickness='4'/>");
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(Hit(22, 10), m_pRoot);
    EXPECT_EQ(Hit(23, 10), nullptr);
    Load(u"<Line X1='20' Y1='0' X2='20' Y2='50' Stroke='#FF0000' StrokeThickness='0'/>");
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(Hit(20, 10), nullptr);
}

TEST_F(MarkupShapes, PolylinesFillOverTheirLineWithOrWithoutStretching)
{
    Load(u"<Polyline Points='10,10 50,10 50,40' Stroke='#FF0000' StrokeThickness='2'/>");
    EXPECT_EQ(Measure(), CSize(50, 40));
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(m_canvas.At(30, 10), kRed);
    EXPECT_EQ(m_canvas.At(50, 25), kRed);
    EXPECT_EQ(m_canvas.At(40, 20), kWhite);

    // The fill closes the figure and lies over the line.
    Load(u"<Polyline Points='10,10 50,10 50,40' Stroke='#FF0000' StrokeThickness='2' Fill='#0000FF'/>");
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(m_canvas.At(45, 15), kBlue);
    const int nBlue = m_canvas.CountOf(kBlue);
    EXPECT_GT(nBlue, 400);
    Load(u"<Polyline Points='10,10 50,10 50,40' Stroke='#FF0000' StrokeThickness='2' Fill='#0000FF' "
         u"Stretch='Fill'/>");
    EXPECT_EQ(Measure(40, 30), CSize(40, 30));
    Render(RECT{10, 10, 50, 40});
    EXPECT_EQ(m_canvas.CountOf(kBlue), nBlue);

    // A flat polyline is as high as half its stroke.
    Load(u"<Polyline Points='0,5 60,5' Stroke='#FF0000' StrokeThickness='4'/>");
    EXPECT_EQ(Measure(), CSize(60, 5));
    Load(u"<Polyline Points='0,0 60,0' Stroke='#FF0000' StrokeThickness='4'/>");
    EXPECT_EQ(Measure(), CSize(60, 2));
    Load(u"<Polygon Points='10,10 50,10 30,40' Fill='#0000FF' Stroke='#FF0000'/>");
    EXPECT_EQ(Measure(), CSize(50, 40));
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(m_canvas.At(30, 20), kBlue);
    EXPECT_EQ(m_canvas.At(30, 10), kRed);
}

TEST_F(MarkupShapes, PathsDrawTheirDataDashedOrStretched)
{
    Load(u"<Path Data='M 10 10 L 90 10 L 90 50 Z' Fill='#0000FF'/>");
    EXPECT_EQ(Measure(), CSize(90, 50));
    Render(RECT{0, 0, 100, 100});
    EXPECT_EQ(m_canvas.At(80, 20), kBlue);
    EXPECT_EQ(m_canvas.At(20, 40), kWhite);

    // Data written as content.
    Load(u"<Path Stroke='#FF0000'><Path.Data>M 0 0 L 50 0</Path.Data></Path>");
    EXPECT_EQ(Measure(), CSize(50, 0));
    // Stretched onto the render size, which need not match the bounds.
    Load(u"<Path Data='M 10 10 L 20 10 L 20 20 L 10 20 Z' Fill='#0000FF' Stretch='Fill'/>");
    Render(RECT{0, 0, 100, 60});
    EXPECT_EQ(m_canvas.At(1, 1), kBlue);
    EXPECT_EQ(m_canvas.At(98, 58), kBlue);
    // A stretched straight line has no height to stretch: it stays where it is.
    Load(u"<Path Data='M 0 5 L 10 5' Stroke='#FF0000' StrokeThickness='2' Stretch='Fill'/>");
    Render(RECT{0, 0, 100, 60});
    EXPECT_GT(m_canvas.CountOf(kRed), 150);
    EXPECT_EQ(m_canvas.At(50, 30), kWhite);

    // Dashes leave gaps along the outline.
    Load(u"<Path Data='M 0 10 L 100 10' Stroke='#FF0000' StrokeThickness='2'/>");
    Render(RECT{0, 0, 200, 100});
    const int nSolid = m_canvas.CountOf(kRed);
    Load(u"<Path Data='M 0 10 L 100 10' Stroke='#FF0000' StrokeThickness='2' StrokeDashArray='2 2'/>");
    Render(RECT{0, 0, 200, 100});
    EXPECT_LT(m_canvas.CountOf(kRed), nSolid * 3 / 4);
    EXPECT_GT(m_canvas.CountOf(kRed), nSolid / 4);
}

TEST_F(MarkupShapes, AbsurdStrokesAndHugeGeometryDrawWithinTheirPlace)
{
    Load(u"<Path Data='M 0 0 L 1.0e38 1.0e38 L -1.0e38 5' Stroke='#FF0000' StrokeThickness='5'/>");
    const SIZE size = Measure();
    EXPECT_EQ(size.cx, QVT_MARKUP_UNBOUNDED);
    Render(RECT{0, 0, 200, 120});
    // A pen wider than any screen ends its drawing like any other.
    Load(u"<Line X1='0' Y1='0' X2='100' Y2='100' Stroke='#FF0000' StrokeThickness='2000000000'/>");
    EXPECT_EQ(Measure(), CSize(100, 100));
    Render(RECT{0, 0, 50, 50});
    // A border band never leaves its rectangle.
    Load(
        u"<Rectangle Stroke='#FF0000' Fill='#0000FF' StrokeThickness='2000000000' RadiusX='5' RadiusY='5'/>");
    Render(RECT{0, 0, 50, 50});
    EXPECT_EQ(m_canvas.At(25, 25), kRed);
    EXPECT_EQ(m_canvas.At(150, 100), kWhite);
    Load(u"<Ellipse Stroke='#FF0000' StrokeThickness='-7' Fill='#0000FF' Stretch='Fill'/>");
    Render(RECT{0, 0, 50, 50});
    EXPECT_EQ(m_canvas.At(25, 25), kBlue);
}
