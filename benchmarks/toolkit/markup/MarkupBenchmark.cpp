// Markup against its baselines, with Google Benchmark: building a page of
// about a thousand elements (nested panels, borders, text blocks) against
// msxml loading the same text alone; laying out and rendering that page into
// a DIB against drawing the same rectangles and texts with GDI directly; and
// a relayed mouse move over one hyperlink, whose repaint covers that text
// only; a huge element's corner drawn into a small DC. Prints each time as a
// ratio to its baseline, from the medians of all repetitions. Run by hand;
// not a test:
//   markup_benchmark --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
//
// Equal work: the GDI baseline draws the fills and text runs gathered from
// the laid-out page itself, in the page's order, selecting a font only when
// it changes (as a careful hand-written GDI page does, and as markup's own
// GDI path does). GDI+ text is timed twice: the repeat repaint of a page
// (text lines drawn before, whose pixels GDI+ text keeps), and the first
// paint of text never drawn, a page whose runs take a colour they never had
// before each repaint.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#undef _WIN32
#undef WIN32
#undef _WIN64
#undef WIN64
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("_WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

#include "dib_canvas.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

namespace {
const int kPageWidth = 900;
const int kPageHeight = 8000;

// 143 rows of seven elements: a border, a grid, a text block with a bold
// run, a stack panel with two text blocks (one with a hyperlink).
CString PageMarkup()
{
    CString str(u"<StackPanel xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml' Background='White'>");
    for (int i = 0; i < 143; ++i)
    {
        CString strRow;
        strRow.Format(
            u"<Border BorderBrush='#4060A0' BorderThickness='1' Background='#F0F4FF' Margin='2' "
            u"Padding='3'><Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/>"
            u"<ColumnDefinition Width='*'/></Grid.ColumnDefinitions>"
            u"<TextBlock>Recording <Bold>%03d</Bold></TextBlock>"
            u"<StackPanel Grid.Column='1' Orientation='Horizontal'>"
            u"<TextBlock Margin='8,0,0,0'>Record-%03d.mp3, 128 kbit/s stereo</TextBlock>"
            u"<TextBlock Margin='8,0,0,0'><Hyperlink x:Name='link%d'>open folder</Hyperlink></TextBlock>"
            u"</StackPanel></Grid></Border>",
            i, i, i);
        str += strRow;
    }
    return str + u"</StackPanel>";
}

// What the page draws, gathered from a laid-out tree: the baseline draws
// exactly this with GDI.
struct CFill
{
    RECT rc;
    COLORREF clr;
};
struct CText
{
    HFONT hFont;
    COLORREF clr;
    POINT pt;
    CString strText;
};
struct CDrawList
{
    std::vector<CFill> fills;
    std::vector<CText> texts;
};

void Gather(CQVTMarkupVisual* pVisual, POINT ptOrigin, CDrawList& list)
{
    const POINT pt = {ptOrigin.x + pVisual->GetVisualOffset().x, ptOrigin.y + pVisual->GetVisualOffset().y};
    const SIZE size = pVisual->GetRenderSize();
    if (CQVTMarkupBorder* pBorder = MarkupCast<CQVTMarkupBorder>(pVisual))
    {
        CQVTMarkupBrush* pFrame =
            MarkupCast<CQVTMarkupBrush>(pBorder->GetValue(CQVTMarkupBorder::m_pBorderBrushProperty));
        CQVTMarkupBrush* pBack =
            MarkupCast<CQVTMarkupBrush>(pBorder->GetValue(CQVTMarkupBorder::m_pBackgroundProperty));
        const RECT rc = {pt.x, pt.y, pt.x + size.cx, pt.y + size.cy};
        list.fills.push_back({{rc.left, rc.top, rc.left + 1, rc.bottom}, pFrame->GetColorRef()});
        list.fills.push_back({{rc.right - 1, rc.top, rc.right, rc.bottom}, pFrame->GetColorRef()});
        list.fills.push_back({{rc.left, rc.top, rc.right, rc.top + 1}, pFrame->GetColorRef()});
        list.fills.push_back({{rc.left, rc.bottom - 1, rc.right, rc.bottom}, pFrame->GetColorRef()});
        list.fills.push_back({{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1}, pBack->GetColorRef()});
    }
    else if (CQVTMarkupPanel* pPanel = MarkupCast<CQVTMarkupPanel>(pVisual))
    {
        if (CQVTMarkupBrush* pBack = pPanel->GetBackground())
            list.fills.push_back({{pt.x, pt.y, pt.x + size.cx, pt.y + size.cy}, pBack->GetColorRef()});
    }
    if (CQVTMarkupTextBlock* pTextBlock = MarkupCast<CQVTMarkupTextBlock>(pVisual))
    {
        for (const auto& pLine : pTextBlock->GetLines())
        {
            for (const auto& pPart : pLine->parts)
            {
                CQVTMarkupRun* pRun = MarkupCast<CQVTMarkupRun>(pPart->pInline);
                if (pRun == nullptr || pPart->start >= pPart->end)
                    continue;
                const RECT rc = pPart->GetRect();
                CQVTMarkupBrush* pForeground = pRun->GetForeground();
                list.texts.push_back(
                    {pRun->GetCachedFont()->GetFontHandle(),
                     pForeground != nullptr ? pForeground->GetColorRef() : 0,
                     {pt.x + rc.left, pt.y + rc.top},
                     CString(pRun->GetText() + pPart->start, int(pPart->end - pPart->start))});
            }
        }
    }
    for (int i = 0; i < pVisual->GetVisualChildrenCount(); ++i)
    {
        if (CQVTMarkupVisual* pChild = pVisual->GetVisualChild(i))
            Gather(pChild, pt, list);
    }
}

void GatherRuns(CQVTMarkupVisual* pVisual, std::vector<CQVTMarkupRun*>& runs)
{
    if (CQVTMarkupTextBlock* pTextBlock = MarkupCast<CQVTMarkupTextBlock>(pVisual))
    {
        for (const auto& pLine : pTextBlock->GetLines())
        {
            for (const auto& pPart : pLine->parts)
            {
                CQVTMarkupRun* pRun = MarkupCast<CQVTMarkupRun>(pPart->pInline);
                if (pRun != nullptr && std::find(runs.begin(), runs.end(), pRun) == runs.end())
                    runs.push_back(pRun);
            }
        }
    }
    for (int i = 0; i < pVisual->GetVisualChildrenCount(); ++i)
    {
        if (CQVTMarkupVisual* pChild = pVisual->GetVisualChild(i))
            GatherRuns(pChild, runs);
    }
}

struct CPage
{
    CPage()
        : strMarkup(PageMarkup()), pContext(MarkupCreateContext(nullptr, FALSE)),
          canvas(kPageWidth, kPageHeight)
    {
        // The GDI device context, to be compared with GDI itself; the GDI+
        // one is timed apart.
        pContext->EnableGdiPlus(FALSE);
        pRoot = MarkupParseText(pContext, strMarkup);
        MarkupRenderElement(pRoot, canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
        Gather(pRoot, POINT{0, 0}, list);
    }
    ~CPage()
    {
        MarkupReleaseElement(pRoot);
        MarkupReleaseContext(pContext);
    }

    CString strMarkup;
    CQVTMarkupContext* pContext;
    CQVTMarkupUIElement* pRoot = nullptr;
    DibCanvas canvas;
    CDrawList list;
};

CPage& Page()
{
    static CPage* s_pPage = new CPage();
    return *s_pPage;
}

void MsxmlLoadsThePage(benchmark::State& state)
{
    const CString& strMarkup = Page().strMarkup;
    for (auto _ : state)
    {
        CQVTMarkupParser parser;
        benchmark::DoNotOptimize(
            parser.LoadText(strMarkup.GetString(), strMarkup.GetString() + strMarkup.GetLength()));
    }
}

void MarkupBuildsThePage(benchmark::State& state)
{
    CPage& page = Page();
    for (auto _ : state)
    {
        CQVTMarkupUIElement* pRoot = MarkupParseText(page.pContext, page.strMarkup);
        benchmark::DoNotOptimize(pRoot);
        MarkupReleaseElement(pRoot);
    }
}

void GdiDrawsThePage(benchmark::State& state)
{
    CPage& page = Page();
    HDC hDC = page.canvas.dc.m_hDC;
    ::SetBkMode(hDC, TRANSPARENT);
    for (auto _ : state)
    {
        for (const CFill& fill : page.list.fills)
        {
            ::SetBkColor(hDC, fill.clr);
            ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &fill.rc, nullptr, 0, nullptr);
        }
        HGDIOBJ hOld = nullptr;
        HFONT hSelected = nullptr;
        for (const CText& text : page.list.texts)
        {
            if (text.hFont != hSelected)
            {
                HGDIOBJ hPrevious = ::SelectObject(hDC, text.hFont);
                if (hOld == nullptr)
                    hOld = hPrevious;
                hSelected = text.hFont;
            }
            ::SetTextColor(hDC, text.clr);
            ::ExtTextOutW(hDC, text.pt.x, text.pt.y, 0, nullptr, text.strText, text.strText.GetLength(),
                          nullptr);
        }
        ::SelectObject(hDC, hOld);
        ::GdiFlush();
    }
}

// A host's repaint: the layout is kept, only drawing runs.
void MarkupRepaintsThePage(benchmark::State& state)
{
    CPage& page = Page();
    for (auto _ : state)
    {
        MarkupRenderElement(page.pRoot, page.canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
        ::GdiFlush();
    }
}

// The same repaint through GDI+, with its anti-aliased text and shapes.
void MarkupRepaintsThePageWithGdiPlus(benchmark::State& state)
{
    CPage& page = Page();
    page.pContext->EnableGdiPlus(TRUE);
    for (auto _ : state)
    {
        MarkupRenderElement(page.pRoot, page.canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
        ::GdiFlush();
    }
    page.pContext->EnableGdiPlus(FALSE);
}

// The first paint of text GDI+ never drew: the same laid-out page, each of
// its runs given a colour it never had before every repaint (not timed).
void MarkupFirstPaintsNewTextWithGdiPlus(benchmark::State& state)
{
    CPage& page = Page();
    CQVTMarkupUIElement* pRoot = MarkupParseText(page.pContext, page.strMarkup);
    DibCanvas canvas(kPageWidth, kPageHeight);
    page.pContext->EnableGdiPlus(TRUE);
    MarkupRenderElement(pRoot, canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
    std::vector<CQVTMarkupRun*> runs;
    GatherRuns(pRoot, runs);
    static int s_nColour = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        ++s_nColour;
        const COLORREF clr = RGB(s_nColour % 128, (s_nColour / 128) % 128, (s_nColour / 16384) % 128);
        for (CQVTMarkupRun* pRun : runs)
            pRun->SetValue(CQVTMarkupTextElement::m_pForegroundProperty, new CQVTMarkupSolidColorBrush(clr));
        state.ResumeTiming();
        MarkupRenderElement(pRoot, canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
        ::GdiFlush();
    }
    page.pContext->EnableGdiPlus(FALSE);
    MarkupReleaseElement(pRoot);
}

// Scroll bars draw through a dedicated DC: a viewer 12000 pixels square
// whose bottom-right corner shows in a DC of 100 pixels should cost about
// what a viewer of 100 pixels costs there. Through GDI+.
void ScrollViewerCornerShownThroughGdiPlus(benchmark::State& state)
{
    const int nSize = static_cast<int>(state.range(0));
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
    CString strMarkup;
    strMarkup.Format(u"<ScrollViewer xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                     u"VerticalScrollBarVisibility='Visible' HorizontalScrollBarVisibility='Visible'>"
                     u"<Border Width='%d' Height='%d' Background='White'/></ScrollViewer>",
                     2 * nSize, 2 * nSize);
    CQVTMarkupUIElement* pRoot = MarkupParseText(pContext, strMarkup);
    DibCanvas canvas(100, 100);
    const CRect rc(100 - nSize, 100 - nSize, 100, 100);
    for (auto _ : state)
    {
        MarkupRenderElement(pRoot, canvas.dc.m_hDC, rc);
        ::GdiFlush();
    }
    MarkupReleaseElement(pRoot);
    MarkupReleaseContext(pContext);
}

// A fresh tree's first measure, arrange and render (the build not timed).
void MarkupLaysOutAndRendersThePage(benchmark::State& state)
{
    CPage& page = Page();
    for (auto _ : state)
    {
        state.PauseTiming();
        CQVTMarkupUIElement* pRoot = MarkupParseText(page.pContext, page.strMarkup);
        state.ResumeTiming();
        MarkupRenderElement(pRoot, page.canvas.dc.m_hDC, CRect(0, 0, kPageWidth, kPageHeight));
        ::GdiFlush();
        state.PauseTiming();
        MarkupReleaseElement(pRoot);
        state.ResumeTiming();
    }
}

// The page in a window: a mouse move relayed onto one hyperlink and off it
// again. Reports the share of the window each move invalidated.
class CHostWindow
{
public:
    CHostWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = u"MarkupBenchmarkHost";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, kPageWidth, 1000, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        // Only a shown window keeps what was invalidated.
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        m_pContext = MarkupCreateContext(m_hWnd, FALSE);
        m_pContext->EnableGdiPlus(FALSE);
        m_pRoot = MarkupParseText(m_pContext, Page().strMarkup);
        MarkupRenderElement(m_pRoot, Page().canvas.dc.m_hDC, CRect(0, 0, kPageWidth, 1000));
    }
    ~CHostWindow()
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
        ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd;
    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot;
};

CPoint LinkCentre(CQVTMarkupUIElement* pRoot)
{
    CQVTMarkupObject* pLink = pRoot->FindName(u"link3");
    CQVTMarkupTextBlock* pTextBlock = MarkupCast<CQVTMarkupTextBlock>(
        MarkupCast<CQVTMarkupFrameworkContentElement>(pLink)->GetParentFrameworkElement());
    CRect rc(pTextBlock->GetLines()[0]->parts[0]->GetRect());
    rc.OffsetRect(pTextBlock->GetAbsoluteOffset());
    return rc.CenterPoint();
}

void RelayedMouseMoveOverALink(benchmark::State& state)
{
    CHostWindow host;
    const CPoint ptLink = LinkCentre(host.m_pRoot);
    const CPoint ptAway(2, 2);
    double dInvalidShare = 0;
    LRESULT lResult = 0;
    for (auto _ : state)
    {
        ::ValidateRect(host.m_hWnd, nullptr);
        MarkupRelayElementMessage(host.m_pRoot, WM_MOUSEMOVE, 0, MAKELPARAM(ptLink.x, ptLink.y), &lResult);
        CRect rcUpdate;
        ::GetUpdateRect(host.m_hWnd, &rcUpdate, FALSE);
        dInvalidShare = double(rcUpdate.Width()) * rcUpdate.Height() / (double(kPageWidth) * 1000);
        MarkupRelayElementMessage(host.m_pRoot, WM_MOUSEMOVE, 0, MAKELPARAM(ptAway.x, ptAway.y), &lResult);
    }
    state.counters["invalid_share"] = dInvalidShare;
}

// Keeps every repetition's time per iteration; the ratios printed at the
// end compare the medians over all repetitions.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.run_type != Run::RT_Iteration)
                continue;
            std::string strName = run.benchmark_name();
            const size_t nRepeats = strName.find("/repeats:");
            if (nRepeats != std::string::npos)
                strName.erase(nRepeats);
            m_times[strName].push_back(run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& strName) const
    {
        auto it = m_times.find(strName);
        if (it == m_times.end() || it->second.empty())
            return 0.0;
        std::vector<double> times = it->second;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        return n % 2 != 0 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};
}  // namespace

BENCHMARK(MsxmlLoadsThePage)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupBuildsThePage)->Unit(benchmark::kMillisecond);
BENCHMARK(GdiDrawsThePage)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupRepaintsThePage)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupRepaintsThePageWithGdiPlus)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupFirstPaintsNewTextWithGdiPlus)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupLaysOutAndRendersThePage)->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollViewerCornerShownThroughGdiPlus)->Arg(100)->Arg(12000)->Unit(benchmark::kMicrosecond);
BENCHMARK(RelayedMouseMoveOverALink)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double dMsxml = reporter.Time("MsxmlLoadsThePage"), dGdi = reporter.Time("GdiDrawsThePage");
    std::printf("\npage of %d fills and %d text runs\n", static_cast<int>(Page().list.fills.size()),
                static_cast<int>(Page().list.texts.size()));
    if (dMsxml > 0)
        std::printf("build / msxml load            %.2f (goal at most 2.5)\n",
                    reporter.Time("MarkupBuildsThePage") / dMsxml);
    if (dGdi > 0)
    {
        std::printf("repaint / GDI direct          %.2f (goal at most 2)\n",
                    reporter.Time("MarkupRepaintsThePage") / dGdi);
        std::printf("layout and render / GDI       %.2f\n",
                    reporter.Time("MarkupLaysOutAndRendersThePage") / dGdi);
        std::printf("GDI+ repeat repaint / GDI direct      %.2f\n",
                    reporter.Time("MarkupRepaintsThePageWithGdiPlus") / dGdi);
        std::printf("GDI+ first paint of new text / GDI    %.2f (goal at most 4)\n",
                    reporter.Time("MarkupFirstPaintsNewTextWithGdiPlus") / dGdi);
    }
    const double dSmall = reporter.Time("ScrollViewerCornerShownThroughGdiPlus/100");
    if (dSmall > 0)
        std::printf("12000-pixel viewer / 100-pixel viewer, 100-pixel DC  %.2f\n",
                    reporter.Time("ScrollViewerCornerShownThroughGdiPlus/12000") / dSmall);
    benchmark::Shutdown();
    return 0;
}
