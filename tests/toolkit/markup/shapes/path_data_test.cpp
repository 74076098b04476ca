// The path language: points and types of each command, the position every
// syntax fault reports, arcs as cubic curves, numbers at the edge of the
// float range, stretching, and a bounded run of generated texts.
#include <cfloat>
#include <cmath>
#include <random>

#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupPathDataParser.h"

namespace {
struct CPoint2
{
    float x, y;
    BYTE type;
};

// The path the text gives, or the error text in *pError.
std::vector<CPoint2> Parse(LPCWSTR lpszText, CString* pError = nullptr, RECT* pBounds = nullptr)
{
    std::vector<CPoint2> result;
    try
    {
        CQVTMarkupPathDataParser parser(nullptr, nullptr, lpszText);
        parser.Parse();
        CQVTMarkupAutoPtr path(parser.CreatePathData());
        CQVTMarkupPathData* pPath = static_cast<CQVTMarkupPathData*>(path.Get());
        for (int i = 0; i < pPath->GetCount(); ++i)
            result.push_back({pPath->GetPoints()[i].x, pPath->GetPoints()[i].y, pPath->GetTypes()[i]});
        if (pBounds != nullptr)
            *pBounds = pPath->GetBounds();
    }
    catch (CQVTMarkupBuilderException* e)
    {
        if (pError != nullptr)
            *pError = e->GetMessage();
        e->Delete();
    }
    return result;
}

CString ErrorOf(LPCWSTR lpszText)
{
    CString strError;
    Parse(lpszText, &strError);
    return strError;
}

CString AtPosition(int nPosition)
{
    CString str;
    str.Format(u"Unexpected token encountered at position '%i'", nPosition);
    return str;
}

int CountOfType(const std::vector<CPoint2>& points, BYTE type)
{
    int n = 0;
    for (const CPoint2& pt : points)
        n += (pt.type & QVT_PATH_TYPE_MASK) == type;
    return n;
}
}  // namespace

TEST(MarkupPathData, LinesMovesAndClosesGiveTheListedPoints)
{
    std::vector<CPoint2> points = Parse(u"M 0,0 L 10,0 10,10 Z");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].type, QVT_PATH_START);
    EXPECT_EQ(points[1].type, QVT_PATH_LINE);
    EXPECT_EQ(points[2].type, QVT_PATH_LINE | QVT_PATH_CLOSE);
    EXPECT_EQ(points[2].x, 10.0f);
    EXPECT_EQ(points[2].y, 10.0f);

    // Relative commands, horizontal and vertical lines.
    points = Parse(u"m 10 10 l 5 0 v 5 h -5 z");
    ASSERT_EQ(points.size(), 4u);
    const float expected[4][2] = {{10, 10}, {15, 10}, {15, 15}, {10, 15}};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(points[i].x, expected[i][0]) << i;
        EXPECT_EQ(points[i].y, expected[i][1]) << i;
    }
    EXPECT_EQ(points[3].type, QVT_PATH_LINE | QVT_PATH_CLOSE);

    // Consecutive moves leave one start; a start nothing follows is dropped.
    points = Parse(u"M 0 0 M 5 5 L 6 6");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x, 5.0f);
    points = Parse(u"M 0 0 L 1 1 M 9 9");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].x, 1.0f);
    // Drawing after a close starts again at the closed figure's start.
    points = Parse(u"M 2 3 L 5 3 Z L 7 7");
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[2].type, QVT_PATH_START);
    EXPECT_EQ(points[2].x, 2.0f);
    EXPECT_EQ(points[2].y, 3.0f);
    // Points following a move are lines, relative ones from the last point.
    points = Parse(u"m 1 1 2 2 3 3");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].x, 6.0f);
    EXPECT_EQ(points[2].type, QVT_PATH_LINE);
    // Numbers need no blanks between them or before a command letter.
    points = Parse(u"M10-20L.5.25");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].y, -20.0f);
    EXPECT_EQ(points[1].x, 0.5f);
    EXPECT_EQ(points[1].y, 0.25f);
    // Empty text is an empty path; the fill rule is read and ignored.
    EXPECT_TRUE(Parse(u"").empty());
    EXPECT_EQ(Parse(u"F1 M 0 0 L 5 5").size(), 2u);
}

TEST(MarkupPathData, CurvesReflectAndRelativeGroupsShareTheirStart)
{
    // All three points of "c" are relative to the group's start.
    std::vector<CPoint2> points = Parse(u"M 10 10 c 1 2 3 4 5 6");
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].x, 11.0f);
    EXPECT_EQ(points[2].y, 14.0f);
    EXPECT_EQ(points[3].x, 15.0f);
    EXPECT_EQ(CountOfType(points, QVT_PATH_BEZIER), 3);

    // S reflects the last control point after a C, else starts at the current point.
    points = Parse(u"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0");
    ASSERT_EQ(points.size(), 7u);
    EXPECT_EQ(points[4].x, 10.0f);
    EXPECT_EQ(points[4].y, -10.0f);
    points = Parse(u"M 0 0 L 5 5 S 20 -10 20 0");
    EXPECT_EQ(points[2].x, 5.0f);
    EXPECT_EQ(points[2].y, 5.0f);

    // A quadratic is a cubic whose second control point is its end; T reflects.
    points = Parse(u"M 0 0 Q 5 10 10 0 T 20 0");
    ASSERT_EQ(points.size(), 7u);
    EXPECT_EQ(points[1].x, 5.0f);
    EXPECT_EQ(points[2].x, 10.0f);
    EXPECT_EQ(points[3].x, 10.0f);
    EXPECT_EQ(points[4].x, 15.0f);
    EXPECT_EQ(points[4].y, -10.0f);
    // T without a quadratic before uses the current point.
    points = Parse(u"M 0 0 T 20 0");
    EXPECT_EQ(points[1].x, 0.0f);
}

TEST(MarkupPathData, ArcsBecomeOneCubicPerQuarterTurn)
{
    // A half circle: two curves, through the top of the circle.
    std::vector<CPoint2> points = Parse(u"M 0 0 A 10 10 0 0 1 20 0");
    ASSERT_EQ(points.size(), 7u);
    EXPECT_EQ(CountOfType(points, QVT_PATH_BEZIER), 6);
    EXPECT_NEAR(points[3].x, 10.0f, 0.01);
    EXPECT_NEAR(std::fabs(points[3].y), 10.0f, 0.01);
    EXPECT_NEAR(points[6].x, 20.0f, 0.01);
    EXPECT_NEAR(points[6].y, 0.0f, 0.01);
    // Sweeping the other way goes round the other side.
    std::vector<CPoint2> other = Parse(u"M 0 0 A 10 10 0 0 0 20 0");
    EXPECT_NEAR(other[3].y, -points[3].y, 0.01);
    // A quarter circle is one curve.
    EXPECT_EQ(Parse(u"M 0 0 A 10 10 0 0 1 10 10").size(), 4u);
    // Radii too small to reach are enlarged until they do.
    points = Parse(u"M 0 0 A 1 1 0 0 1 20 0");
    EXPECT_EQ(points.size(), 7u);
    EXPECT_NEAR(points[6].x, 20.0f, 0.01);
    // A zero radius draws a line; an arc back to its start adds nothing.
    points = Parse(u"M 0 0 A 0 10 0 0 1 20 0");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].type, QVT_PATH_LINE);
    EXPECT_TRUE(Parse(u"M 5 5 A 10 10 0 1 1 5 5").empty());
}

TEST(MarkupPathData, FaultsReportThePositionOfTheNextCharacter)
{
    EXPECT_EQ(ErrorOf(u"L 10 10"), AtPosition(1));
    EXPECT_EQ(ErrorOf(u"F2 M 0 0"), AtPosition(1));
    EXPECT_EQ(ErrorOf(u"M 0 0 L 10,,20"), AtPosition(11));
    EXPECT_FALSE(ErrorOf(u"M 0 0 L 10 20,").IsEmpty());
    EXPECT_EQ(ErrorOf(u"M 0 0 L 15e1 0"), AtPosition(10));
    EXPECT_EQ(ErrorOf(u"M ,0 0"), AtPosition(2));
    EXPECT_EQ(ErrorOf(u"M 0 0 X 1 1"), AtPosition(7));
    EXPECT_EQ(ErrorOf(u"M 0 0 L 1"), AtPosition(9));
    EXPECT_EQ(ErrorOf(u"M 0 0 ~"), AtPosition(7));
    EXPECT_EQ(ErrorOf(u"M 0 0 A 1 1 0 0 1 5 5 6"), AtPosition(23));
    // Scientific notation only after a decimal point.
    std::vector<CPoint2> points = Parse(u"M 0 0 L 1.5e1 0 2.5e-1 0");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].x, 15.0f);
    EXPECT_EQ(points[2].x, 0.25f);

    // Through the builder the fault ends the build with the same text.
    CContextHolder context;
    CString strError;
    CQVTMarkupUIElement* pRoot = BuildMarkup(
        context, u"<Path xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' Data='M 0 0 L'/>",
        &strError);
    EXPECT_EQ(pRoot, nullptr);
    EXPECT_EQ(strError, AtPosition(7));
}

TEST(MarkupPathData, HugeNumbersStayInTheFloatRangeAndArcsStayBounded)
{
    RECT rcBounds = {};
    // 1e38 written out, and digits beyond any float.
    CString strHuge = u"M 0 0 L 1" + CString(u'0', 38) + u" 0 L 1" + CString(u'0', 400) + u" 5";
    std::vector<CPoint2> points = Parse(strHuge, nullptr, &rcBounds);
    ASSERT_EQ(points.size(), 3u);
    for (const CPoint2& pt : points)
    {
        EXPECT_TRUE(std::isfinite(pt.x));
        EXPECT_TRUE(std::isfinite(pt.y));
    }
    EXPECT_EQ(points[2].x, FLT_MAX);
    EXPECT_EQ(rcBounds.right, 2147483647);
    // Exponents in the millions cost nothing and stay finite.
    points = Parse(u"M 0 0 L 1.0e9999999 -1.0e9999999 1.0e-9999999 0", nullptr, &rcBounds);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].x, FLT_MAX);
    EXPECT_EQ(points[1].y, -FLT_MAX);
    EXPECT_EQ(points[2].x, 0.0f);
    EXPECT_EQ(rcBounds.top, -2147483647);
    // Relative steps past the range stop at its end.
    points = Parse(u"m 3.0e38 0 l 3.0e38 0");
    EXPECT_FALSE(points.empty());
    points = Parse(u"M 0 0 l 1.0e38 0 l 1.0e38 0 l 1.0e38 0 l 1.0e38 0");
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[4].x, FLT_MAX);
    // Arcs with huge or degenerate numbers reach their end or add nothing.
    points = Parse(u"M 0 0 A 1.0e38 1.0e38 0 1 1 1.0e38 -1.0e38 A 1.0e-30 1.0e-30 45 1 0 3 3");
    for (const CPoint2& pt : points)
    {
        EXPECT_TRUE(std::isfinite(pt.x));
        EXPECT_TRUE(std::isfinite(pt.y));
    }
    // Thousands of arcs give at most four curves each.
    CString strArcs = u"M 0 0";
    for (int i = 0; i < 3000; ++i)
        strArcs += i % 2 == 0 ? u" A 5 5 0 1 1 10 0" : u" A 5 5 0 1 1 0 0";
    points = Parse(strArcs);
    EXPECT_LE(points.size(), 1u + 3000u * 12u);
    EXPECT_GE(points.size(), 1u + 3000u * 3u);
}

TEST(MarkupPathData, StretchingMapsTheBoundsAndLeavesAFlatAxisAsItIs)
{
    const MARKUP_POINTF points[] = {{10, 20}, {30, 20}, {30, 60}};
    const BYTE types[] = {QVT_PATH_START, QVT_PATH_LINE, QVT_PATH_LINE};
    CQVTMarkupAutoPtr path(new CQVTMarkupPathData(points, types, 3));
    CQVTMarkupPathData* pPath = static_cast<CQVTMarkupPathData*>(path.Get());
    EXPECT_EQ(CRect(pPath->GetBounds()), CRect(10, 20, 30, 60));
    CQVTMarkupAutoPtr stretched(pPath->GetStretchedData(SIZE{100, 200}));
    CQVTMarkupPathData* pStretched = static_cast<CQVTMarkupPathData*>(stretched.Get());
    ASSERT_EQ(pStretched->GetCount(), 3);
    EXPECT_EQ(pStretched->GetPoints()[0].x, 0.0f);
    EXPECT_EQ(pStretched->GetPoints()[1].x, 100.0f);
    EXPECT_EQ(pStretched->GetPoints()[2].y, 200.0f);
    EXPECT_EQ(CRect(pStretched->GetBounds()), CRect(0, 0, 100, 200));

    // A horizontal line has no height to divide by: its y stays.
    const MARKUP_POINTF flat[] = {{5, 7}, {25, 7}};
    CQVTMarkupAutoPtr line(new CQVTMarkupPathData(flat, types, 2));
    CQVTMarkupAutoPtr flatStretched(
        static_cast<CQVTMarkupPathData*>(line.Get())->GetStretchedData(SIZE{50, 50}));
    CQVTMarkupPathData* pFlat = static_cast<CQVTMarkupPathData*>(flatStretched.Get());
    EXPECT_EQ(pFlat->GetPoints()[0].x, 0.0f);
    EXPECT_EQ(pFlat->GetPoints()[1].x, 50.0f);
    EXPECT_EQ(pFlat->GetPoints()[0].y, 7.0f);
    EXPECT_EQ(pFlat->GetPoints()[1].y, 7.0f);
}

TEST(MarkupPathData, GeneratedTextsEndInAPathOrTheSyntaxError)
{
    // Texts that broke earlier parsers.
    const LPCWSTR kRegressions[] = {
        u"M0 0A1e-45 1e-45 0 0 1 1e-45 0",
        u"M 0 0 A 1 1 1e38 1 1 3 3",
        u"M0,0 a.0.0.0.0.0.0.0",
        u"m-.e9-",
        u"F0",
        u"M 1.e",
    };
    for (LPCWSTR lpszText : kRegressions)
    {
        CString strError;
        std::vector<CPoint2> points = Parse(lpszText, &strError);
        for (const CPoint2& pt : points)
            EXPECT_TRUE(std::isfinite(pt.x) && std::isfinite(pt.y)) << CStringA(lpszText).GetString();
    }

    // Well-formed commands with numbers of every shape, then mutated.
    std::mt19937 random(20261207);
    auto number = [&random]() {
        static const LPCWSTR kNumbers[] = {u"0",      u"1",         u"-7",           u"12.5",
                                           u".5",     u"-.25",      u"1.5e3",        u"2.0e-3",
                                           u"1.0e38", u"9.9e99999", u"3.4028236e38", u"-1.0e-45"};
        CString str(kNumbers[random() % (sizeof(kNumbers) / sizeof(kNumbers[0]))]);
        if (random() % 8 == 0)
            str = CString(u'9', 1 + random() % 60);
        return str;
    };
    static const struct
    {
        WCHAR ch;
        int nNumbers;
    } kCommands[] = {{u'M', 2}, {u'L', 2}, {u'H', 1}, {u'V', 1}, {u'C', 6},
                     {u'S', 4}, {u'Q', 4}, {u'T', 2}, {u'A', 7}, {u'Z', 0}};
    static const char kNoise[] = "MmLlAaZzF0123456789.,-+eE ~";
    int nParsed = 0, nRefused = 0;
    for (int nCase = 0; nCase < 4000; ++nCase)
    {
        CString strText = u"M " + number() + u"," + number();
        const int nCommands = random() % 12;
        for (int i = 0; i < nCommands; ++i)
        {
            const auto& command = kCommands[random() % (sizeof(kCommands) / sizeof(kCommands[0]))];
            strText += random() % 2 == 0 ? command.ch : static_cast<WCHAR>(command.ch + (u'a' - u'A'));
            for (int j = 0; j < command.nNumbers; ++j)
                strText += (random() % 3 == 0 ? u"," : u" ") + number();
            strText += u' ';
        }
        const int nMutations = random() % 4 == 0 ? 1 + random() % 3 : 0;
        for (int i = 0; i < nMutations && !strText.IsEmpty(); ++i)
        {
            const int nAt = random() % strText.GetLength();
            const WCHAR ch = static_cast<WCHAR>(kNoise[random() % (sizeof(kNoise) - 1)]);
            switch (random() % 3)
            {
            case 0:
                strText.Insert(nAt, ch);
                break;
            case 1:
                strText.Delete(nAt);
                break;
            default:
                strText.SetAt(nAt, ch);
                break;
            }
        }
        CString strError;
        std::vector<CPoint2> points = Parse(strText, &strError);
        if (strError.IsEmpty())
            ++nParsed;
        else
        {
            ++nRefused;
            EXPECT_EQ(strError.Left(40), CString(u"Unexpected token encountered at position"))
                << CStringA(strText).GetString();
            EXPECT_TRUE(points.empty());
        }
        for (const CPoint2& pt : points)
            ASSERT_TRUE(std::isfinite(pt.x) && std::isfinite(pt.y)) << CStringA(strText).GetString();
    }
    EXPECT_GT(nParsed, 100);
    EXPECT_GT(nRefused, 100);
}
