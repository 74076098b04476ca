// Stack, wrap and dock panels, canvas, uniform grid, border and content
// control: where their children end up, what they measure, and what they
// refuse.
#include "layout_test_support.h"
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/panels/QVTMarkupContentControl.h"
#include "toolkit/markup/panels/QVTMarkupDockPanel.h"
#include "toolkit/markup/panels/QVTMarkupUniformGrid.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"

class MarkupPanels : public MarkupLayoutTest
{};

namespace {

// A fixed-size leaf: a framework element with Width and Height.
CString Leaf(LPCWSTR lpszName, int cx, int cy, LPCWSTR lpszMore = u"")
{
    CString str;
    str.Format(u"<FrameworkElement x:Name='%ls' Width='%d' Height='%d' %ls/>", lpszName, cx, cy, lpszMore);
    return str;
}
}  // namespace

TEST_F(MarkupPanels, StackPanelsStackInChildOrderAndKeepEachChildsExtent)
{
    Load(RootMarkup(u"StackPanel", u"", Leaf(u"a", 50, 10) + Leaf(u"b", 150, 20) + Leaf(u"c", 149, 5)));
    // Measured with more room than its layout hook is then given: as wide
    // as its widest child, which is neither the first nor the last.
    MeasureOnly(SX(200), SY(300));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(150), SY(10) + SY(20) + SY(5)));
    static_cast<CQVTMarkupFrameworkElement*>(m_pRoot)->ArrangeOverride(SIZE{SX(100), SY(300)});
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(100), SY(10)));
    // Never narrower than the child's own width, even past the panel.
    EXPECT_EQ(RectOf(u"b"), CRect(0, SY(10), SX(150), SY(10) + SY(20)));
    EXPECT_EQ(RectOf(u"c").top, SY(10) + SY(20));

    // Horizontal: children side by side, measured with unbounded width.
    Load(RootMarkup(u"StackPanel", u"Orientation='Horizontal'",
                    u"<TestPanel x:Name='p'/>" + Leaf(u"b", 20, 40) + Leaf(u"c", 5, 39)));
    Find<CTestPanel>(u"p")->m_szFixed = SIZE{SX(30), SY(10)};
    Layout(SX(40), SY(25));
    EXPECT_EQ(CSize(Find<CTestPanel>(u"p")->m_szLastAvailable), CSize(2147483647, SY(25)));
    EXPECT_EQ(RectOf(u"p"), CRect(0, 0, SX(30), SY(25)));
    EXPECT_EQ(RectOf(u"b"), CRect(SX(30), 0, SX(30) + SX(20), SY(25)));
    // What the panel wants, within the room it had.
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(40), SY(25)));
    MeasureOnly(SX(400), SY(250));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(30) + SX(20) + SX(5), SY(40)));
}

TEST_F(MarkupPanels, WrapPanelsBreakLinesWhereTheNextItemNoLongerFits)
{
    Load(RootMarkup(u"WrapPanel", u"", Leaf(u"a", 60, 10) + Leaf(u"b", 60, 20) + Leaf(u"c", 30, 15)));
    MeasureOnly(SX(100), SY(100));
    // Lines [60] and [60, 30]: as wide as the widest line, as high as both.
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(60) + SX(30), SY(10) + SY(20)));
    Layout(SX(100), SY(100));
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(60), SY(10)));
    EXPECT_EQ(RectOf(u"b"), CRect(0, SY(10), SX(60), SY(10) + SY(20)));
    // Every item of a line takes the whole line's thickness.
    EXPECT_EQ(RectOf(u"c"), CRect(SX(60), SY(10), SX(60) + SX(30), SY(10) + SY(20)));

    // A fixed item width: every item takes exactly that, and is measured in it.
    Load(RootMarkup(u"WrapPanel", u"ItemWidth='50'", u"<TestPanel x:Name='p'/>" + Leaf(u"b", 80, 10)));
    Layout(SX(100), SY(100));
    EXPECT_EQ(Find<CTestPanel>(u"p")->m_szLastAvailable.cx, SX(50));
    EXPECT_EQ(RectOf(u"b"), CRect(SX(50), 0, SX(100), SY(10)));

    // An item that fills the line exactly stays on it; one pixel less room
    // moves it to the next.
    const CString strExact = Leaf(u"a", 60, 10) + Leaf(u"b", 40, 20) + Leaf(u"c", 1, 5);
    Load(RootMarkup(u"WrapPanel", u"", strExact));
    MeasureOnly(SX(60) + SX(40), SY(100));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(60) + SX(40), SY(20) + SY(5)));
    Layout(SX(60) + SX(40), SY(100));
    EXPECT_EQ(RectOf(u"b").TopLeft(), CPoint(SX(60), 0));
    EXPECT_EQ(RectOf(u"c").TopLeft(), CPoint(0, SY(20)));
    MeasureOnly(SX(60) + SX(40) - 1, SY(100));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(60), SY(10) + SY(20)));
    Layout(SX(60) + SX(40) - 1, SY(100));
    EXPECT_EQ(RectOf(u"b").TopLeft(), CPoint(0, SY(10)));
    EXPECT_EQ(RectOf(u"c").TopLeft(), CPoint(SX(40), SY(10)));

    // Vertical: columns instead of lines.
    Load(RootMarkup(u"WrapPanel", u"Orientation='Vertical'", Leaf(u"a", 10, 60) + Leaf(u"b", 20, 60)));
    Layout(SX(100), SY(100));
    EXPECT_EQ(RectOf(u"b"), CRect(SX(10), 0, SX(10) + SX(20), SY(60)));
}

TEST_F(MarkupPanels, DockPanelsDockInOrderAndTheLastChildFills)
{
    Load(RootMarkup(u"DockPanel", u"",
                    Leaf(u"l", 20, 10, u"DockPanel.Dock='left'") +
                        Leaf(u"t", 10, 30, u"DockPanel.Dock='Top'") +
                        Leaf(u"r", 25, 10, u"DockPanel.Dock='RIGHT'") +
                        Leaf(u"b", 10, 15, u"DockPanel.Dock='Bottom'") + Leaf(u"f", 1, 1)));
    Layout(SX(200), SY(100));
    EXPECT_EQ(RectOf(u"l"), CRect(0, 0, SX(20), SY(100)));
    EXPECT_EQ(RectOf(u"t"), CRect(SX(20), 0, SX(200), SY(30)));
    EXPECT_EQ(RectOf(u"r"), CRect(SX(200) - SX(25), SY(30), SX(200), SY(100)));
    EXPECT_EQ(RectOf(u"b"), CRect(SX(20), SY(100) - SY(15), SX(200) - SX(25), SY(100)));
    EXPECT_EQ(RectOf(u"f"), CRect(SX(20), SY(30), SX(200) - SX(25), SY(100) - SY(15)));

    // A child without a Dock docks at the left, in measuring and arranging.
    Load(RootMarkup(u"DockPanel", u"LastChildFill='False'", Leaf(u"d1", 20, 10) + Leaf(u"d2", 30, 12)));
    MeasureOnly(SX(200), SY(100));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(20) + SX(30), SY(12)));
    Layout(SX(200), SY(100));
    EXPECT_EQ(RectOf(u"d1"), CRect(0, 0, SX(20), SY(100)));
    EXPECT_EQ(RectOf(u"d2"), CRect(SX(20), 0, SX(20) + SX(30), SY(100)));

    // Without LastChildFill the last child docks too; right-docked children
    // that overrun the panel stop at its left edge.
    Load(RootMarkup(u"DockPanel", u"LastChildFill='False'",
                    Leaf(u"r1", 60, 10, u"DockPanel.Dock='Right'") +
                        Leaf(u"r2", 60, 10, u"DockPanel.Dock='Right'")));
    MeasureOnly(SX(200), SY(50));
    static_cast<CQVTMarkupFrameworkElement*>(m_pRoot)->ArrangeOverride(SIZE{SX(100), SY(50)});
    EXPECT_EQ(RectOf(u"r1"), CRect(SX(40), 0, SX(100), SY(50)));
    EXPECT_EQ(RectOf(u"r2"), CRect(0, 0, SX(60), SY(50)));

    EXPECT_THAT(CStringA(BuildError(m_pContext, RootMarkup(u"DockPanel", u"",
                                                           u"<FrameworkElement DockPanel.Dock='Middle'/>")))
                    .GetString(),
                testing::HasSubstr("Dock"));
}

TEST_F(MarkupPanels, AChildsNewDockLaysTheDockPanelOutAgain)
{
    Load(RootMarkup(u"DockPanel", u"LastChildFill='False'", Leaf(u"a", 20, 10, u"DockPanel.Dock='Left'")));
    Layout(SX(200), SY(100));
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(20), SY(100)));
    CQVTMarkupDockPanel::SetDock(Find(u"a"), qvtDockTop);
    Layout(SX(200), SY(100));
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, SX(200), SY(10)));
}

TEST_F(MarkupPanels, CanvasPlacesByOffsetsAndMeasuresItsLargestChild)
{
    Load(RootMarkup(u"Canvas", u"",
                    Leaf(u"both", 30, 10, u"Canvas.Left='5' Canvas.Right='10' Canvas.Top='7'") +
                        Leaf(u"right", 30, 10, u"Canvas.Right='10' Canvas.Bottom='4'") +
                        Leaf(u"none", 50, 20)));
    Layout(SX(100), SY(80));
    EXPECT_EQ(RectOf(u"both"), CRect(SX(5), SY(7), SX(5) + SX(30), SY(7) + SY(10)));
    EXPECT_EQ(RectOf(u"right"),
              CRect(SX(100) - SX(30) - SX(10), SY(80) - SY(10) - SY(4), SX(100) - SX(10), SY(80) - SY(4)));
    EXPECT_EQ(RectOf(u"none"), CRect(0, 0, SX(50), SY(20)));
    // The offsets are not added: the largest child alone.
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(SX(50), SY(20)));
}

TEST_F(MarkupPanels, UniformGridsDeriveMissingRowsAndColumnsAndNeverDivideByLessThanOne)
{
    const CString strFive = Leaf(u"a", 10, 10) + Leaf(u"b", 10, 10) + Leaf(u"c", 10, 10) +
                            Leaf(u"d", 10, 10) + Leaf(u"e", 10, 10);
    struct Case
    {
        LPCWSTR lpszAttributes;
        int nColumns, nRows, nFirst;
    } cases[] = {
        {u"", 3, 3, 0},  // square root 2, 2 * 2 < 5
        {u"Columns='2'", 2, 3, 0},
        {u"Columns='2' FirstColumn='1'", 2, 3, 1},  // starts in the second cell
        {u"Columns='2' FirstColumn='2'", 2, 3, 0},  // not below the columns: 0
        {u"Rows='2'", 3, 2, 0},
        {u"Rows='-3' Columns='-2'", 3, 3, 0},  // negative counts mean nothing
        {u"Rows='-1' Columns='4'", 4, 2, 0},
        {u"Rows='1' Columns='-7'", 5, 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CStringA(c.lpszAttributes).GetString());
        Load(RootMarkup(u"UniformGrid", c.lpszAttributes, strFive));
        Layout(SX(120), SY(90));
        CQVTMarkupUniformGrid* pGrid = static_cast<CQVTMarkupUniformGrid*>(m_pRoot);
        EXPECT_EQ(pGrid->GetEffectiveColumns(), c.nColumns);
        EXPECT_EQ(pGrid->GetEffectiveRows(), c.nRows);
        const int cx = SX(120) / c.nColumns, cy = SY(90) / c.nRows;
        EXPECT_EQ(RectOf(u"a"), CRect(c.nFirst * cx, 0, c.nFirst * cx + cx, cy));
        const int nSecond = c.nFirst + 1;
        EXPECT_EQ(RectOf(u"b").TopLeft(), CPoint(nSecond % c.nColumns * cx, nSecond / c.nColumns * cy));
    }

    // A collapsed child takes its cell without moving on.
    Load(RootMarkup(u"UniformGrid", u"Columns='2'",
                    Leaf(u"a", 1, 1, u"Visibility='Collapsed'") + Leaf(u"b", 1, 1)));
    Layout(SX(100), SY(100));
    EXPECT_EQ(RectOf(u"a").TopLeft(), RectOf(u"b").TopLeft());
}

TEST_F(MarkupPanels, BordersInsetTheirChildAndTakeOnlyOneChild)
{
    Load(RootMarkup(u"Border", u"BorderThickness='2' Padding='3'", u""));
    MeasureOnly(SX(100), SY(100));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(2 * (SX(2) + SX(3)), 2 * (SY(2) + SY(3))));

    Load(RootMarkup(u"Border", u"BorderThickness='1,2,3,4' Padding='5'",
                    Leaf(u"c", 10, 10, u"HorizontalAlignment='Stretch'")));
    Layout(SX(100), SY(60));
    EXPECT_EQ(RectOf(u"c").TopLeft(), CPoint(SX(1) + SX(5), SY(2) + SY(5)));

    EXPECT_EQ(BuildError(m_pContext, RootMarkup(u"Border", u"", u"<Border/><TextBlock/>")),
              CString(u"'CQVTMarkupBorder' already has a child and cannot add 'CQVTMarkupTextBlock'. "
                      u"'CQVTMarkupBorder' can accept only one child."));
    EXPECT_EQ(
        BuildError(m_pContext, RootMarkup(u"Border", u"", u"<Run/>")),
        CString(u"'CQVTMarkupRun' object cannot be added to 'CQVTMarkupBorder'. Object cannot be converted "
                u"to type 'CQVTMarkupUIElement'"));
    // White space alone inside a border is dropped, not refused.
    EXPECT_EQ(BuildError(m_pContext, RootMarkup(u"Border", u"", u"  <Border/>  ")), CString());
}

TEST_F(MarkupPanels, OnlyABackgroundMakesPanelsAndBordersHitTargets)
{
    Load(RootMarkup(u"StackPanel", u"",
                    u"<Border x:Name='frame' Height='20' BorderThickness='3' BorderBrush='Red'/>"
                    u"<Border x:Name='filled' Height='20' Background='Blue'/>"));
    Layout(SX(50), SY(100));
    EXPECT_EQ(m_pRoot->InputHitTest(CPoint(1, 1)), nullptr);
    EXPECT_EQ(m_pRoot->InputHitTest(CPoint(SX(25), SY(30))), Find<CQVTMarkupInputElement>(u"filled"));

    Load(RootMarkup(u"StackPanel", u"Background='White'", u"<Border x:Name='frame' Height='20'/>"));
    Layout(SX(50), SY(100));
    EXPECT_EQ(m_pRoot->InputHitTest(CPoint(1, 1)), m_pRoot);
}

TEST_F(MarkupPanels, ContentControlsShowTextThroughATextBlockAndTakeOneChild)
{
    CQVTMarkupAutoPtr control(CQVTMarkupContentControl::GetMarkupType()->CreateObject(m_pContext));
    CQVTMarkupContentControl* pControl = static_cast<CQVTMarkupContentControl*>(control.Get());
    CQVTMarkupAutoPtr text(CreateTextValue(u"Caption"));
    pControl->SetContentObject(nullptr, text);
    CQVTMarkupTextBlock* pTextBlock = MarkupCast<CQVTMarkupTextBlock>(pControl->GetContent());
    ASSERT_NE(pTextBlock, nullptr);
    EXPECT_EQ(pTextBlock->GetLogicalParent(), pControl);
    EXPECT_EQ(pControl->GetVisualChildrenCount(), 1);

    const CSize size = MarkupMeasureElement(pControl, 1000, 1000);
    EXPECT_EQ(size, TextExtent(DefaultFont(), u"Caption"));

    CString strError;
    try
    {
        pControl->SetContentObject(nullptr, text);
    }
    catch (CQVTMarkupBuilderException* e)
    {
        strError = e->GetMessage();
        e->Delete();
    }
    EXPECT_EQ(strError,
              CString(u"'CQVTMarkupContentControl' already has a child and cannot add "
                      u"'CQVTMarkupString'. 'CQVTMarkupContentControl' can accept only one child."));
}

TEST_F(MarkupPanels, AbsurdSizesSaturateInsteadOfOverflowing)
{
    Load(RootMarkup(u"StackPanel", u"Orientation='Horizontal'",
                    Leaf(u"a", 1000000000, 1000000000) + Leaf(u"b", 1000000000, 10) +
                        Leaf(u"c", 1000000000, 10)));
    Layout(1 << 30, 1 << 30);
    EXPECT_EQ(m_pRoot->GetDesiredSize().cx, 1 << 30);
    EXPECT_GE(RectOf(u"c").left, 0);
    EXPECT_GE(RectOf(u"c").right, RectOf(u"c").left);
    Load(RootMarkup(u"WrapPanel", u"ItemWidth='2000000000'", Leaf(u"a", 5, 5) + Leaf(u"b", 5, 5)));
    Layout(0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_GE(RectOf(u"b").top, 0);
    Load(RootMarkup(u"UniformGrid", u"Rows='2000000000' Columns='2000000000'", Leaf(u"a", 5, 5)));
    Layout(100, 100);
    EXPECT_EQ(RectOf(u"a"), CRect(0, 0, 0, 0));
}
