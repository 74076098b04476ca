// The grid: Auto, pixel and star columns and rows, spans, limits, the 32000
// rule, clamped cell indexes and absurd sizes, as arranged rectangles.
#include "layout_test_support.h"
#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

#include <functional>

class MarkupGrid : public MarkupLayoutTest
{
protected:
    CQVTMarkupGrid* Grid() { return MarkupCast<CQVTMarkupGrid>(m_pRoot); }
    // The arranged widths of the columns in use.
    std::vector<int> ColumnWidths()
    {
        std::vector<int> widths;
        CQVTMarkupDefinitionCollection* pColumns = Grid()->GetColumnsInUse();
        for (int i = 0; i < pColumns->GetCount(); ++i)
            widths.push_back(static_cast<int>(pColumns->GetAt(i)->m_dSizeCache));
        return widths;
    }
    std::vector<int> ColumnMinSizes()
    {
        std::vector<int> sizes;
        CQVTMarkupDefinitionCollection* pColumns = Grid()->GetColumnsInUse();
        for (int i = 0; i < pColumns->GetCount(); ++i)
            sizes.push_back(pColumns->GetAt(i)->m_nMinSize);
        return sizes;
    }
};

namespace {

CString Columns(LPCWSTR lpszColumns)
{
    CString str(u"<Grid.ColumnDefinitions>");
    CString strList(lpszColumns);
    int nStart = 0;
    for (CString strToken = strList.Tokenize(u"|", nStart); !strToken.IsEmpty();
         strToken = strList.Tokenize(u"|", nStart))
        str += u"<ColumnDefinition " + strToken + u"/>";
    return str + u"</Grid.ColumnDefinitions>";
}
}  // namespace

TEST_F(MarkupGrid, AutoThenTwoStarsShareWhatTheAutoColumnLeaves)
{
    Load(RootMarkup(u"Grid", u"",
                    Columns(u"Width='Auto'|Width='*'|Width='*'") +
                        u"<FrameworkElement x:Name='a' Width='40' Height='10'/>"
                        u"<FrameworkElement x:Name='s' Grid.Column='1' Grid.ColumnSpan='2'/>"));
    Layout(SX(300), SY(50));
    EXPECT_EQ(ColumnWidths(), (std::vector<int>{SX(40), SX(130), SX(130)}));
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(40), SY(50)));
    EXPECT_EQ(RectOf(u"s"), CRect(SX(40), 0, SX(300), SY(50)));

    // Weighted stars: the first star resolved takes its share of all that is left.
    Load(RootMarkup(u"Grid", u"", Columns(u"Width='2*'|Width='*'|Width='50'") + u"<FrameworkElement/>"));
    Layout(SX(350), SY(10));
    // A factor is a length: scaled for the screen, where a bare star is not.
    const double dFactor = m_pContext->ScaleXDouble(2.0);
    const int nFirst = static_cast<int>(dFactor / (dFactor + 1) * (SX(350) - SX(50)));
    EXPECT_EQ(ColumnWidths(), (std::vector<int>{nFirst, SX(350) - SX(50) - nFirst, SX(50)}));
}

TEST_F(MarkupGrid, ChangedDefinitionsAndCellsLayTheGridOutAgain)
{
    Load(RootMarkup(
        u"Grid", u"",
        Columns(u"Width='50'|Width='*'") +
            u"<Grid.RowDefinitions><RowDefinition Height='10'/><RowDefinition/></Grid.RowDefinitions>"
            u"<FrameworkElement x:Name='a' Grid.Column='1' Grid.Row='1'/>"));
    Layout(SX(200), SY(100));
    EXPECT_EQ(RectOf(u"a"), CRect(SX(50), SY(10), SX(200), SY(100)));
    CQVTMarkupDefinitionBase* pColumn = Grid()->GetColumnDefinitions()->GetAt(0);
    CQVTMarkupDefinitionBase* pRow = Grid()->GetRowDefinitions()->GetAt(0);
    CQVTMarkupObject* pChild = Find(u"a");
    // Each change, made after a complete layout, and where the child is then.
    const struct
    {
        std::function<void()> change;
        CRect rcExpected;
    } steps[] = {
        {[&] {
             pColumn->SetValue(CQVTMarkupColumnDefinition::m_pWidthProperty,
                               new CQVTMarkupGridLength(70, qvtGridPixel));
         },
         CRect(70, SY(10), SX(200), SY(100))},
        {[&] { pColumn->SetValue(CQVTMarkupColumnDefinition::m_pMaxWidthProperty, new CQVTMarkupInt(60)); },
         CRect(60, SY(10), SX(200), SY(100))},
        {[&] { pColumn->SetValue(CQVTMarkupColumnDefinition::m_pMinWidthProperty, new CQVTMarkupInt(90)); },
         CRect(90, SY(10), SX(200), SY(100))},
        {[&] {
             pRow->SetValue(CQVTMarkupRowDefinition::m_pHeightProperty,
                            new CQVTMarkupGridLength(30, qvtGridPixel));
         },
         CRect(90, 30, SX(200), SY(100))},
        {[&] { pRow->SetValue(CQVTMarkupRowDefinition::m_pMaxHeightProperty, new CQVTMarkupInt(25)); },
         CRect(90, 25, SX(200), SY(100))},
        {[&] { pRow->SetValue(CQVTMarkupRowDefinition::m_pMinHeightProperty, new CQVTMarkupInt(40)); },
         CRect(90, 40, SX(200), SY(100))},
        {[&] { CQVTMarkupGrid::SetColumn(pChild, 0); }, CRect(0, 40, 90, SY(100))},
        {[&] { CQVTMarkupGrid::SetRow(pChild, 0); }, CRect(0, 0, 90, 40)},
        {[&] { CQVTMarkupGrid::SetColumnSpan(pChild, 2); }, CRect(0, 0, SX(200), 40)},
        {[&] { CQVTMarkupGrid::SetRowSpan(pChild, 2); }, CRect(0, 0, SX(200), SY(100))},
    };
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        SCOPED_TRACE(i);
        steps[i].change();
        Layout(SX(200), SY(100));
        EXPECT_EQ(RectOf(u"a"), steps[i].rcExpected);
    }
}

TEST_F(MarkupGrid, WithoutDefinitionsTheGridOverlaysAndOneAxisDefinedGetsAnImplicitStar)
{
    Load(RootMarkup(u"Grid", u"",
                    u"<FrameworkElement x:Name='a' Width='30' Height='70'/>"
                    u"<FrameworkElement x:Name='b' Width='60' Height='20'/>"));
    MeasureOnly(SX(500), SY(500));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(60), SY(70)));
    Layout(SX(100), SY(100));
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(100), SY(100)));
    EXPECT_EQ(RectOf(u"b"), CRect(0, 0, SX(100), SY(100)));

    Load(RootMarkup(u"Grid", u"",
                    u"<Grid.RowDefinitions><RowDefinition Height='20'/><RowDefinition/></Grid.RowDefinitions>"
                    u"<FrameworkElement x:Name='b' Grid.Row='1'/>"));
    Layout(SX(100), SY(100));
    EXPECT_EQ(Grid()->GetColumnsInUse()->GetCount(), 1);
    EXPECT_EQ(RectOf(u"b"), CRect(0, SY(20), SX(100), SY(100)));
}

TEST_F(MarkupGrid, LengthsReadStarsAutoAndPixelsScaledForTheScreen)
{
    Load(RootMarkup(u"Grid", u"", Columns(u"Width='2*'|Width='*'|Width='10'|Width='auto'|Width='1.5*'")));
    CQVTMarkupColumnDefinitionCollection* pColumns = Grid()->GetColumnDefinitions();
    ASSERT_EQ(pColumns->GetCount(), 5);
    // A star factor is scaled like a length; a bare star stays one.
    EXPECT_DOUBLE_EQ(pColumns->GetAt(0)->GetUserSize()->GetValue(), m_pContext->ScaleXDouble(2.0));
    EXPECT_DOUBLE_EQ(pColumns->GetAt(1)->GetUserSize()->GetValue(), 1.0);
    EXPECT_EQ(pColumns->GetAt(1)->GetUserSize()->GetUnitType(), qvtGridStar);
    EXPECT_DOUBLE_EQ(pColumns->GetAt(2)->GetUserSize()->GetValue(), m_pContext->ScaleXDouble(10.0));
    EXPECT_EQ(pColumns->GetAt(2)->GetUserSize()->GetUnitType(), qvtGridPixel);
    EXPECT_EQ(pColumns->GetAt(3)->GetUserSize()->GetUnitType(), qvtGridAuto);
    EXPECT_DOUBLE_EQ(pColumns->GetAt(4)->GetUserSize()->GetValue(), m_pContext->ScaleXDouble(1.5));

    for (LPCWSTR lpszBad : {u"Width='x*'", u"Width='1*2'", u"Width=''", u"Width='1e999'"})
        EXPECT_FALSE(BuildError(m_pContext, RootMarkup(u"Grid", u"", Columns(lpszBad))).IsEmpty())
            << CStringA(lpszBad).GetString();
    EXPECT_EQ(BuildError(m_pContext, RootMarkup(u"Grid", u"ColumnDefinitions='x'", u"")),
              CString(u"CQVTMarkupColumnDefinitionCollection class expected"));
    EXPECT_EQ(BuildError(m_pContext, RootMarkup(u"Grid", u"RowDefinitions='x'", u"")),
              CString(u"CQVTMarkupRowDefinitionCollection class expected"));
}

TEST_F(MarkupGrid, StarsBeyond32000AreMeasuredAsAutomaticColumns)
{
    const CString strMarkup = RootMarkup(
        u"Grid", u"", Columns(u"Width='*'|Width='*'") + u"<TestPanel x:Name='p' Grid.Column='1'/>");
    Load(strMarkup);
    MeasureOnly(32000, 100);
    // Stars still resolve: half of the width.
    EXPECT_EQ(Find<CTestPanel>(u"p")->m_szLastAvailable.cx, 16000);
    Load(strMarkup);
    MeasureOnly(32001, 100);
    // Sized to content: the child is offered unbounded room.
    EXPECT_EQ(Find<CTestPanel>(u"p")->m_szLastAvailable.cx, 2147483647);
}

TEST_F(MarkupGrid, CellIndexesAndSpansStayInsideTheDefinitions)
{
    Load(RootMarkup(
        u"Grid", u"",
        Columns(u"Width='10'|Width='20'|Width='30'") +
            u"<FrameworkElement x:Name='far' Grid.Column='7'/>"
            u"<FrameworkElement x:Name='neg' Grid.Column='-5' Grid.Row='-2'/>"
            u"<FrameworkElement x:Name='zero' Grid.ColumnSpan='0'/>"
            u"<FrameworkElement x:Name='wide' Grid.Column='1' Grid.ColumnSpan='99'/>"
            u"<FrameworkElement x:Name='min' Grid.Column='-2147483648' Grid.ColumnSpan='-2147483648'/>"));
    Layout(SX(60), SY(10));
    EXPECT_EQ(RectOf(u"far"), CRect(SX(10) + SX(20), 0, SX(10) + SX(20) + SX(30), SY(10)));
    EXPECT_EQ(RectOf(u"neg"), CRect(0, 0, SX(10), SY(10)));
    EXPECT_EQ(RectOf(u"zero"), CRect(0, 0, SX(10), SY(10)));
    EXPECT_EQ(RectOf(u"wide"), CRect(SX(10), 0, SX(10) + SX(20) + SX(30), SY(10)));
    EXPECT_EQ(RectOf(u"min"), CRect(0, 0, SX(10), SY(10)));
}

TEST_F(MarkupGrid, LimitsAndContentDecideColumnSizes)
{
    // A pixel column below its minimum takes the minimum; an Auto column
    // grows to a single child's width beyond its maximum.
    Load(RootMarkup(u"Grid", u"",
                    Columns(u"Width='50' MinWidth='80'|Width='Auto' MaxWidth='30'") +
                        u"<TestPanel x:Name='p' Grid.Column='1'/>"));
    Find<CTestPanel>(u"p")->m_szFixed = SIZE{SX(100), SY(5)};
    Layout(SX(500), SY(20));
    EXPECT_EQ(Find<CTestPanel>(u"p")->m_szLastAvailable.cx, 2147483647);
    EXPECT_EQ(ColumnMinSizes(), (std::vector<int>{SX(80), SX(100)}));

    // A child spanning two Auto columns spreads its width over them.
    Load(RootMarkup(u"Grid", u"",
                    Columns(u"Width='Auto'|Width='Auto'") +
                        u"<FrameworkElement Width='10' Height='1'/>"
                        u"<FrameworkElement Grid.ColumnSpan='2' Width='50' Height='1'/>"));
    Layout(SX(500), SY(20));
    const std::vector<int> sizes = ColumnMinSizes();
    // Shares are whole pixels, taken toward zero.
    EXPECT_NEAR(sizes[0] + sizes[1], SX(50), 1);
    EXPECT_GE(sizes[0], SX(10));

    // Too little room: stars shrink toward their minimum in the work list's
    // order, never below it.
    Load(RootMarkup(u"Grid", u"", Columns(u"Width='*' MinWidth='100'|Width='*'") + u"<FrameworkElement/>"));
    Layout(SX(120), SY(10));
    EXPECT_EQ(ColumnWidths(), (std::vector<int>{SX(100), SX(120) - SX(100)}));
}

TEST_F(MarkupGrid, AbsurdDefinitionsNeitherOverflowNorHang)
{
    // Star factors of a billion, widths in the millions.
    Load(
        RootMarkup(u"Grid", u"",
                   Columns(u"Width='1000000000*'|Width='*'|Width='5000000'|Width='*' MaxWidth='2000000000'") +
                       u"<FrameworkElement Grid.Column='3' Width='9000000' Height='9000000'/>"));
    Layout(SX(300), SY(300));
    for (int nWidth : ColumnWidths())
        EXPECT_GE(nWidth, 0);
    Layout(1 << 30, 1 << 30);
    Layout(0x7FFFFFFF, 0x7FFFFFFF);
    for (int nWidth : ColumnWidths())
        EXPECT_GE(nWidth, 0);

    // Thousands of definitions and a child spanning them all.
    CString strColumns;
    for (int i = 0; i < 3000; ++i)
        strColumns += i % 3 == 0 ? u"Width='Auto'|" : i % 3 == 1 ? u"Width='7'|" : u"Width='2*'|";
    CString strRows(u"<Grid.RowDefinitions>");
    for (int i = 0; i < 3000; ++i)
        strRows += u"<RowDefinition Height='Auto'/>";
    strRows += u"</Grid.RowDefinitions>";
    Load(RootMarkup(
        u"Grid", u"",
        Columns(strColumns) + strRows +
            u"<FrameworkElement Grid.ColumnSpan='3000' Grid.RowSpan='3000' Width='100000' Height='5'/>"
            u"<FrameworkElement Grid.Column='2999' Grid.Row='2999' Width='3' Height='3'/>"));
    Layout(SX(1000), SY(1000));
    EXPECT_EQ(Grid()->GetColumnsInUse()->GetCount(), 3000);
    EXPECT_GE(m_pRoot->GetDesiredSize().cx, 0);
}
