// The layout panels, grid definitions and text inlines as a script meets
// them: every member read and written from JScript run by the markup script
// host, the script writing what it saw into a text block.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/panels/QVTMarkupCanvas.h"
#include "toolkit/markup/panels/QVTMarkupDockPanel.h"
#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/panels/QVTMarkupStackPanel.h"
#include "toolkit/markup/panels/QVTMarkupUniformGrid.h"
#include "toolkit/markup/panels/QVTMarkupWrapPanel.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"

namespace {
// Builds the body with a script whose last statement puts the list r into
// the text block "out", and returns what it wrote.
class ScriptedMarkup
{
public:
    CString Run(LPCWSTR lpszBody, LPCWSTR lpszScript)
    {
        CString strText = lpszBody;
        strText += u"<TextBlock Name='out'>none</TextBlock><qvt:Script><![CDATA[var r = [];";
        strText += lpszScript;
        strText += u"out.Text = r.join(',');]]></qvt:Script>";
        CString strError;
        m_pRoot = BuildMarkup(m_context, PanelMarkup(strText), &strError);
        if (m_pRoot == nullptr)
            return u"<error> " + strError;
        CQVTMarkupTextBlock* pOut = MarkupCast<CQVTMarkupTextBlock>(m_pRoot->FindName(u"out"));
        CQVTMarkupRun* pRun = pOut != nullptr && pOut->GetInlines()->GetCount() == 1
                                  ? MarkupCast<CQVTMarkupRun>(pOut->GetInlines()->GetItem(0))
                                  : nullptr;
        return pRun != nullptr && pRun->GetText() != nullptr ? CString(pRun->GetText())
                                                             : CString(u"<no text>");
    }
    template <class T>
    T* Find(LPCWSTR lpszName)
    {
        return MarkupCast<T>(m_pRoot->FindName(lpszName));
    }
    ~ScriptedMarkup()
    {
        if (m_pRoot != nullptr)
            m_pRoot->InternalRelease();
        m_context->CloseScript();
    }

private:
    CContextHolder m_context;
    CQVTMarkupUIElement* m_pRoot = nullptr;
};
}  // namespace

TEST(MarkupLayoutAutomation, PanelsShowTheirOrientationOffsetsCellsAndContent)
{
    ScriptedMarkup markup;
    const CString strSeen =
        markup.Run(u"<StackPanel Name='sp'/><WrapPanel Name='wp'/>"
                   u"<Canvas Name='cv'><TextBlock Name='ct'>c</TextBlock></Canvas>"
                   u"<UniformGrid Name='ug'/><Button Name='b'>Go</Button>"
                   u"<DockPanel Name='dp'><TextBlock Name='dt'>d</TextBlock></DockPanel>",
                   // Unset orientations, fill and dock read their panel's own default.
                   u"r.push(sp.Orientation, wp.Orientation, dp.LastChildFill, dp.GetDock(dt));"
                   u"sp.Orientation = 0; wp.Orientation = 1; dp.LastChildFill = false; dp.SetDock(dt, 3);"
                   u"r.push(sp.Orientation, wp.Orientation, dp.LastChildFill, dp.GetDock(dt));"
                   u"r.push(cv.GetLeft(ct), cv.GetBottom(ct));"
                   u"cv.SetLeft(ct, 7); cv.SetTop(ct, 8); cv.SetRight(ct, 9); cv.SetBottom(ct, 10);"
                   u"r.push(cv.GetLeft(ct), cv.GetTop(ct), cv.GetRight(ct), cv.GetBottom(ct));"
                   u"r.push(ug.Columns, ug.Rows, ug.FirstColumn);"
                   u"ug.Columns = 2; ug.Rows = 3; ug.FirstColumn = 1;"
                   u"r.push(ug.Columns, ug.Rows, ug.FirstColumn);"
                   u"r.push(b.Content.Text);"
                   u"var t = MarkupContext.CreateObject('TextBlock'); t.Text = 'new';"
                   u"b.Content = t; r.push(b.Content.Text, b.Content == t);");
    EXPECT_EQ(strSeen, CString(u"1,0,true,0,0,1,false,3,0,0,7,8,9,10,0,0,0,2,3,1,Go,new,true"));
    // The values are the panels' own.
    EXPECT_EQ(markup.Find<CQVTMarkupStackPanel>(u"sp")->GetOrientation(), qvtOrientationHorizontal);
    EXPECT_EQ(markup.Find<CQVTMarkupWrapPanel>(u"wp")->GetOrientation(), qvtOrientationVertical);
    EXPECT_EQ(CQVTMarkupCanvas::GetRight(markup.Find<CQVTMarkupObject>(u"ct")), 9);
    EXPECT_FALSE(markup.Find<CQVTMarkupDockPanel>(u"dp")->GetLastChildFill());
    EXPECT_EQ(CQVTMarkupDockPanel::GetDock(markup.Find<CQVTMarkupObject>(u"dt")), qvtDockBottom);
}

TEST(MarkupLayoutAutomation, GridDefinitionsAndCellsAreReadAndWritten)
{
    ScriptedMarkup markup;
    const CString strSeen = markup.Run(
        u"<Grid Name='g'><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/>"
        u"<ColumnDefinition Width='2.7*'/></Grid.ColumnDefinitions>"
        u"<Grid.RowDefinitions><RowDefinition Height='30'/></Grid.RowDefinitions>"
        u"<TextBlock Name='gt' Grid.Column='1'>x</TextBlock></Grid>",
        u"var c = g.ColumnDefinitions, rows = g.RowDefinitions;"
        // Lengths read as whole numbers with their unit.
        u"r.push(c.Count(), c.Item(1).Width, c.Item(1).UnitType, c.Item(0).UnitType, c.Item(2) == null);"
        u"c.Item(0).Width = 40; r.push(c.Item(0).Width, c.Item(0).UnitType);"
        u"c.Item(1).UnitType = 1; r.push(c.Item(1).UnitType, c.Item(1).Width);"
        u"r.push(c.Item(0).MinWidth, c.Item(0).MaxWidth);"
        u"c.Item(0).MinWidth = 5; c.Item(0).MaxWidth = 50; r.push(c.Item(0).MinWidth, c.Item(0).MaxWidth);"
        u"r.push(rows.Item(0).Height, rows.Item(0).UnitType, rows.Item(0).MinHeight, rows.Item(0).MaxHeight);"
        u"rows.Item(0).Height = 12; rows.Item(0).MinHeight = 3; rows.Item(0).MaxHeight = 4;"
        u"r.push(rows.Item(0).Height, rows.Item(0).MinHeight, rows.Item(0).MaxHeight);"
        // The collections add, insert, enumerate and remove.
        u"c.Add(MarkupContext.CreateObject('ColumnDefinition'));"
        u"c.Insert(0, MarkupContext.CreateObject('ColumnDefinition')); r.push(c.Count());"
        u"c.RemoveAt(0); var n = 0;"
        u"for (var e = new Enumerator(c); !e.atEnd(); e.moveNext()) n += e.item().UnitType;"
        u"r.push(c.Count(), n);"
        // Cells of children.
        u"r.push(g.GetColumn(gt), g.GetRow(gt), g.GetColumnSpan(gt), g.GetRowSpan(gt));"
        u"g.SetColumn(gt, 2); g.SetRow(gt, 1); g.SetColumnSpan(gt, 2); g.SetRowSpan(gt, 3);"
        u"r.push(g.GetColumn(gt), g.GetRow(gt), g.GetColumnSpan(gt), g.GetRowSpan(gt));"
        u"rows.Clear(); r.push(rows.Count());");
    EXPECT_EQ(strSeen, CString(u"2,2,2,0,true,40,1,1,2,0,2147483647,5,50,30,1,0,2147483647,12,3,4,4,3,4,"
                               u"1,0,1,1,2,1,2,3,0"));
    CQVTMarkupGrid* pGrid = markup.Find<CQVTMarkupGrid>(u"g");
    EXPECT_EQ(pGrid->GetColumnDefinitions()->GetAt(1)->GetUserSize()->GetValue(), 2.0);
    EXPECT_EQ(pGrid->GetRowDefinitions()->GetCount(), 0);
    EXPECT_EQ(CQVTMarkupGrid::GetRowSpan(markup.Find<CQVTMarkupObject>(u"gt")), 3);
}

TEST(MarkupLayoutAutomation, InlinesAreReachedThroughTheirCollections)
{
    ScriptedMarkup markup;
    const CString strSeen = markup.Run(
        u"<TextBlock Name='tb'>Hello <Bold>in <Run>run</Run></Bold>"
        u"<InlineUIContainer><Button Name='ib'>B</Button></InlineUIContainer></TextBlock>",
        u"var il = tb.Inlines; r.push(il.Count());"
        u"var bold = il.Item(1), run = bold.Inlines.Item(1);"
        u"r.push(bold.Inlines.Count(), run.Text, run.FontWeight, il.Item(0).FontWeight);"
        u"run.Text = 'RUN'; r.push(run.Text); run.Text = 5; r.push(run.Text);"
        u"run.FontWeight = 400; run.FontSize = 20; run.FontStyle = 1; run.FontFamily = 'Serif';"
        u"run.TextDecorations = 2; run.Tag = 'tagged';"
        u"r.push(run.FontWeight, run.FontSize, run.FontStyle, run.FontFamily, run.TextDecorations,"
        u"    run.Tag, il.Item(0).Tag);"
        u"run.Foreground = MarkupContext.CreateSolidBrush(0x0000FF);"
        u"run.Background = MarkupContext.CreateSolidBrush(0x00FF00);"
        u"r.push(run.Foreground.Color, run.Background.Color);"
        u"var ic = il.Item(2); r.push(ic.Child.Name);"
        u"var other = MarkupContext.CreateObject('Button');"
        u"ic.Child = other; r.push(ic.Child == other);"
        u"var te = MarkupContext.CreateObject('TextElement'); te.FontSize = 9; r.push(te.FontSize);"
        u"var span = MarkupContext.CreateObject('Span');"
        u"span.Inlines.Add(MarkupContext.CreateObject('Run')); il.Insert(0, span);"
        u"r.push(il.Count(), il.Item(0).Inlines.Count());"
        u"var n = 0; for (var e = new Enumerator(il); !e.atEnd(); e.moveNext()) n++;"
        u"il.RemoveAt(0); r.push(n, il.Count()); il.Clear(); r.push(il.Count());");
    EXPECT_EQ(strSeen, CString(u"3,2,run,700,400,RUN,5,400,20,1,Serif,2,tagged,,-16776961,-16711936,ib,"
                               u"true,9,4,1,4,3,0"));
    EXPECT_EQ(markup.Find<CQVTMarkupTextBlock>(u"tb")->GetInlines()->GetCount(), 0);
}
