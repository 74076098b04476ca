// CPoint, CSize and CRect arithmetic, with the edge cases of the set
// operations that layout code leans on.
#include <afxwin.h>

#include "sondrel_gtest.h"

namespace {

void ExpectRect(const CRect& rect, int l, int t, int r, int b)
{
    EXPECT_EQ(l, rect.left);
    EXPECT_EQ(t, rect.top);
    EXPECT_EQ(r, rect.right);
    EXPECT_EQ(b, rect.bottom);
}

TEST(Geometry, PointAndSizeArithmetic)
{
    CPoint p(3, 4);
    CSize s(10, 20);
    EXPECT_TRUE(p + s == CPoint(13, 24));
    EXPECT_TRUE(p - s == CPoint(-7, -16));
    EXPECT_TRUE(CPoint(5, 7) - CPoint(2, 3) == CSize(3, 4));  // difference of points is a size
    EXPECT_TRUE(-p == CPoint(-3, -4));
    p += s;
    p -= CSize(1, 1);
    EXPECT_TRUE(p == CPoint(12, 23));
    p.Offset(CPoint(-12, -23));
    EXPECT_TRUE(p == CPoint(0, 0));
    EXPECT_TRUE(s - CSize(5, 5) == CSize(5, 15));
    EXPECT_TRUE(s + CPoint(1, 2) == CPoint(11, 22));
}

TEST(Geometry, PackedCoordinatesAreSigned)
{
    // Mouse messages carry 16-bit signed coordinates.
    CPoint point((LPARAM)MAKELPARAM(-5, -300));
    EXPECT_EQ(-5, point.x);
    EXPECT_EQ(-300, point.y);
    CSize size((DWORD)MAKELONG(40, 30));
    EXPECT_EQ(40, size.cx);
    EXPECT_EQ(30, size.cy);
}

TEST(Geometry, RectBasics)
{
    CRect rect(10, 20, 110, 70);
    EXPECT_EQ(100, rect.Width());
    EXPECT_EQ(50, rect.Height());
    EXPECT_TRUE(rect.Size() == CSize(100, 50));
    EXPECT_TRUE(rect.CenterPoint() == CPoint(60, 45));
    EXPECT_TRUE(CRect(-3, -3, 0, 0).CenterPoint() == CPoint(-1, -1));  // truncates toward zero
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rect.PtInRect(CPoint(110, 20)));  // right and bottom edges are outside
    EXPECT_FALSE(rect.PtInRect(CPoint(10, 70)));
    EXPECT_FALSE(rect.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 1, 9).IsRectEmpty());  // inverted counts as empty
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
    EXPECT_TRUE(CRect(CPoint(1, 2), CPoint(3, 4)) == CRect(1, 2, 3, 4));
}

TEST(Geometry, CornersAliasTheRectangle)
{
    CRect rect(1, 2, 3, 4);
    rect.TopLeft() = CPoint(-1, -2);
    rect.BottomRight().Offset(10, 10);
    ExpectRect(rect, -1, -2, 13, 14);
    LPRECT raw = rect;
    raw->left = 7;
    EXPECT_EQ(7, rect.left);
}

TEST(Geometry, InflateDeflateOffsetMove)
{
    CRect rect(10, 10, 20, 20);
    rect.InflateRect(1, 2);
    ExpectRect(rect, 9, 8, 21, 22);
    rect.InflateRect(CSize(-1, -2));
    ExpectRect(rect, 10, 10, 20, 20);
    rect.InflateRect(1, 2, 3, 4);
    ExpectRect(rect, 9, 8, 23, 24);
    rect.DeflateRect(1, 2, 3, 4);
    ExpectRect(rect, 10, 10, 20, 20);
    CRect border(1, 2, 3, 4);
    rect.InflateRect(&border);
    ExpectRect(rect, 9, 8, 23, 24);
    rect.DeflateRect(&border);
    rect.DeflateRect(2, 2);
    ExpectRect(rect, 12, 12, 18, 18);

    rect.OffsetRect(-12, 3);
    ExpectRect(rect, 0, 15, 6, 21);
    rect.MoveToXY(100, 200);
    ExpectRect(rect, 100, 200, 106, 206);
    rect.MoveToX(-6);
    ExpectRect(rect, -6, 200, 0, 206);
    rect.MoveToY(0);
    ExpectRect(rect, -6, 0, 0, 6);

    // The operators: points and sizes move, rectangles inflate or deflate.
    CRect moved = CRect(0, 0, 4, 4) + CPoint(1, 1);
    ExpectRect(moved, 1, 1, 5, 5);
    moved -= CSize(1, 1);
    ExpectRect(moved, 0, 0, 4, 4);
    CRect grown = moved + &border;
    ExpectRect(grown, -1, -2, 7, 8);
    ExpectRect(grown - &border, 0, 0, 4, 4);
    grown -= &border;
    ExpectRect(grown, 0, 0, 4, 4);
}

TEST(Geometry, NormalizeRect)
{
    CRect rect(10, 20, 0, 5);
    EXPECT_EQ(-10, rect.Width());
    rect.NormalizeRect();
    ExpectRect(rect, 0, 5, 10, 20);
    CRect halfInverted(0, 9, 4, 1);
    halfInverted.NormalizeRect();
    ExpectRect(halfInverted, 0, 1, 4, 9);
}

TEST(Geometry, IntersectAndUnion)
{
    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 15, 15);
    CRect result;
    EXPECT_TRUE(result.IntersectRect(&a, &b));
    ExpectRect(result, 5, 5, 10, 10);
    ExpectRect(a & b, 5, 5, 10, 10);

    // Touching edges share no pixel: empty result, all zero.
    CRect touching(10, 0, 20, 10);
    result.SetRect(1, 1, 2, 2);
    EXPECT_FALSE(result.IntersectRect(&a, &touching));
    EXPECT_TRUE(result.IsRectNull());
    CRect disjoint(50, 50, 60, 60);
    EXPECT_TRUE((a & disjoint).IsRectNull());

    EXPECT_TRUE(result.UnionRect(&a, &b));
    ExpectRect(result, 0, 0, 15, 15);
    ExpectRect(a | disjoint, 0, 0, 60, 60);

    // Empty rectangles do not stretch a union.
    CRect empty(100, 100, 100, 200);
    EXPECT_TRUE(result.UnionRect(&a, &empty));
    ExpectRect(result, 0, 0, 10, 10);
    EXPECT_FALSE(result.UnionRect(&empty, &empty));
    EXPECT_TRUE(result.IsRectEmpty());

    CRect c(a);
    c &= b;
    ExpectRect(c, 5, 5, 10, 10);
    c |= CRect(0, 0, 1, 1);
    ExpectRect(c, 0, 0, 10, 10);
}

TEST(Geometry, SubtractRect)
{
    CRect result;
    CRect source(0, 0, 10, 10);
    // Only a subtrahend that covers a whole side shrinks the source.
    CRect left(0, -5, 4, 15);
    EXPECT_TRUE(result.SubtractRect(&source, &left));
    ExpectRect(result, 4, 0, 10, 10);
    CRect middle(3, 3, 6, 6);
    EXPECT_TRUE(result.SubtractRect(&source, &middle));
    ExpectRect(result, 0, 0, 10, 10);
    CRect all(-1, -1, 11, 11);
    EXPECT_FALSE(result.SubtractRect(&source, &all));
    EXPECT_TRUE(result.IsRectEmpty());
}

TEST(Geometry, EqualityAndScaling)
{
    EXPECT_TRUE(CRect(1, 2, 3, 4) == CRect(1, 2, 3, 4));
    EXPECT_TRUE(CRect(1, 2, 3, 4) != CRect(1, 2, 3, 5));
    CRect copy;
    copy.CopyRect(CRect(9, 8, 7, 6));
    EXPECT_TRUE(copy.EqualRect(CRect(9, 8, 7, 6)));
    copy.SetRectEmpty();
    EXPECT_TRUE(copy.IsRectNull());

    // 96 to 144 DPI, with MulDiv's rounding of halves away from zero.
    CRect scaled = CRect(1, -1, 3, 101).MulDiv(3, 2);
    ExpectRect(scaled, 2, -2, 5, 152);
}

}  // namespace
