// Random trees of the panel and text vocabulary, with sizes, counts, factors
// and texts from the sane to the absurd, measured, arranged, rendered and hit
// at random sizes including 0, 1 and 2^30. Every case must end: no crash, no
// hang, no size below zero. Each case's text is written to
// "markup_layout_fuzz_case.xml" beside the test before it runs, so a case
// that brings the program down is left there; such inputs join the
// regressions below. SONDREL_FUZZ_CASES runs more cases by hand. The cases
// draw through the GDI device context; SONDREL_FUZZ_GDIPLUS=1 sends them
// through GDI+ instead.
#include <cstdlib>
#include <random>

#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"

namespace {
// Inputs that broke earlier builds of the layout.
const LPCWSTR kRegressions[] = {
    u"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/></Grid.ColumnDefinitions>"
    u"<FrameworkElement Grid.Column='-2147483648' Grid.ColumnSpan='2147483647'/></Grid>",
    u"<UniformGrid Rows='-1' Columns='0' FirstColumn='-5'><Border/><Border/></UniformGrid>",
    u"<TextBlock TextWrapping='Wrap' TextAlignment='Justify' Text='&#13;&#13;&#10; &#9;&#13;'/>",
    u"<TextBlock TextTrimming='WordEllipsis'><Hyperlink/><Span><LineBreak/></Span></TextBlock>",
    // A million-pixel pen round a billion-pixel frame: GDI's path widening
    // corrupted the heap.
    u"<StackPanel Orientation='Vertical' Width='2000000000' DockPanel.Dock='Bottom'><Border "
    u"BorderThickness='1000000' Padding='2000000000' CornerRadius='2000000000' BorderBrush='#000000' "
    u"Height='32001' HorizontalAlignment='Center'><Border.Background><LinearGradientBrush "
    u"EndPoint='1000000,-3'>"
    u"<GradientStop Color='Red' Offset='0'/><GradientStop Color='Blue' Offset='1'/></LinearGradientBrush>"
    u"</Border.Background></Border></StackPanel>",
    // A frame of two billion pixels with square corners cut by a negative
    // radius: seconds of GDI rasterising before the clip.
    u"<Border BorderThickness='2000000000' Padding='99999999999in' CornerRadius='-1' "
    u"BorderBrush='Transparent' "
    u"Width='13' Background='#80FF00FF'></Border>",
};

const LPCWSTR kLengths[] = {
    u"0",       u"1",          u"2",  u"13",          u"250",  u"32000",        u"32001",
    u"1000000", u"2000000000", u"-1", u"-2000000000", u"Auto", u"99999999999in"};
// Font sizes stop short of glyphs thousands of pixels high, which GDI draws
// correctly but slowly; a size too large for 32 bits is there.
const LPCWSTR kFontSizes[] = {u"0",   u"1", u"2", u"13", u"250", u"-1", u"-2000000000", u"99999999999in",
                              u"Auto"};
const LPCWSTR kCounts[] = {u"-2147483648", u"-1", u"0", u"1", u"2", u"3", u"7", u"100000", u"2147483647"};
const LPCWSTR kGridLengths[] = {u"Auto",   u"*", u"2*", u"0*",      u"-3*", u"1000000000*",
                                u"0.001*", u"0", u"40", u"5000000", u"2.5"};
const LPCWSTR kBrushes[] = {u"Red", u"#80FF00FF", u"Transparent", u"#000000"};
const LPCWSTR kWords[] = {u"a",     u"word",  u"  ",
                          u"&#10;", u"&#13;", u"&#13;&#10;",
                          u"&#9;",  u"W",     u"supercalifragilisticexpialidocious",
                          u"x y z", u"&amp;"};

class CTreeGenerator
{
public:
    explicit CTreeGenerator(unsigned nSeed) : m_random(nSeed) {}

    CString Root()
    {
        m_nElements = 0;
        return Element(0);
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    template <int N>
    LPCWSTR Pick(const LPCWSTR (&values)[N])
    {
        return values[Pick(N)];
    }
    BOOL Chance(int nPercent) { return Pick(100) < nPercent; }

    CString Attribute(LPCWSTR lpszName, LPCWSTR lpszValue)
    {
        CString str;
        str.Format(u" %ls='%ls'", lpszName, lpszValue);
        return str;
    }

    // What every framework element may carry, and what its parent attaches.
    CString CommonAttributes()
    {
        CString str;
        if (Chance(25))
            str += Attribute(u"Width", Pick(kLengths));
        if (Chance(25))
            str += Attribute(u"Height", Pick(kLengths));
        if (Chance(10))
            str += Attribute(u"MinWidth", Pick(kLengths));
        if (Chance(10))
            str += Attribute(u"MaxHeight", Pick(kLengths));
        if (Chance(15))
            str += Attribute(u"Margin", Chance(50) ? Pick(kLengths) : u"1,2000000000,-3,4");
        if (Chance(10))
            str += Attribute(u"Visibility", Chance(50) ? u"Collapsed" : u"Hidden");
        if (Chance(10))
            str += Attribute(u"HorizontalAlignment", Chance(50) ? u"Center" : u"Right");
        if (Chance(10))
            str += Attribute(u"ClipToBounds", u"True");
        if (Chance(15))
            str += Attribute(u"Grid.Column", Pick(kCounts));
        if (Chance(10))
            str += Attribute(u"Grid.RowSpan", Pick(kCounts));
        if (Chance(15))
            str += Attribute(u"DockPanel.Dock", Chance(50) ? u"Right" : u"Bottom");
        if (Chance(15))
            str += Attribute(Chance(50) ? u"Canvas.Left" : u"Canvas.Bottom", Pick(kLengths));
        return str;
    }

    CString Children(int nDepth, int nMax)
    {
        CString str;
        const int nCount = Pick(nMax + 1);
        for (int i = 0; i < nCount && m_nElements < 60; ++i)
            str += Element(nDepth + 1);
        return str;
    }

    CString Inlines(int nDepth)
    {
        CString str;
        const int nCount = 1 + Pick(5);
        for (int i = 0; i < nCount; ++i)
        {
            switch (nDepth > 3 ? 0 : Pick(8))
            {
            case 0:
            case 1:
                str += Pick(kWords);
                break;
            case 2:
                str += u"<Bold>" + Inlines(nDepth + 1) + u"</Bold>";
                break;
            case 3:
                str += u"<Hyperlink" + (Chance(30) ? Attribute(u"Foreground", Pick(kBrushes)) : CString()) +
                       u">" + Inlines(nDepth + 1) + u"</Hyperlink>";
                break;
            case 4:
                str += CString(u"<Run") + Attribute(u"FontSize", Pick(kFontSizes)) +
                       (Chance(30) ? Attribute(u"BaselineAlignment", Chance(50) ? u"Superscript" : u"Center")
                                   : CString()) +
                       u">" + Pick(kWords) + u"</Run>";
                break;
            case 5:
                str += u"<LineBreak/>";
                break;
            case 6:
                str += u"<Span" +
                       Attribute(u"TextDecorations", Chance(50) ? u"Underline" : u"Strikethrough") +
                       u"><Italic>" + Inlines(nDepth + 1) + u"</Italic></Span>";
                break;
            default:
                str += nDepth < 2 && m_nElements < 60 ? Element(4) : CString(u"<Span/>");
                break;
            }
        }
        return str;
    }

    CString TextBlock()
    {
        CString str(u"<TextBlock");
        const LPCWSTR kWrapping[] = {u"NoWrap", u"Wrap", u"WrapWithOverflow"};
        const LPCWSTR kTrimming[] = {u"None", u"CharacterEllipsis", u"WordEllipsis"};
        const LPCWSTR kAlignment[] = {u"Left", u"Right", u"Center", u"Justify"};
        str += Attribute(u"TextWrapping", Pick(kWrapping)) + Attribute(u"TextTrimming", Pick(kTrimming)) +
               Attribute(u"TextAlignment", Pick(kAlignment));
        if (Chance(20))
            str += Attribute(u"Padding", Pick(kLengths));
        if (Chance(20))
            str += Attribute(u"Background", Pick(kBrushes));
        str += CommonAttributes() + u">";
        if (Chance(10))
        {
            // A very long word, or very many short ones.
            for (int i = 0; i < 300; ++i)
                str += Chance(50) ? u"m" : u"i ";
        }
        else
            str += Inlines(0);
        return str + u"</TextBlock>";
    }

    CString Grid(int nDepth)
    {
        CString str(u"<Grid" + CommonAttributes() + u">");
        const int nColumns = Chance(10) ? 300 : Pick(5);
        if (nColumns > 0)
        {
            str += u"<Grid.ColumnDefinitions>";
            for (int i = 0; i < nColumns; ++i)
                str += u"<ColumnDefinition" + Attribute(u"Width", Pick(kGridLengths)) +
                       (Chance(20) ? Attribute(u"MinWidth", Pick(kLengths)) : CString()) +
                       (Chance(20) ? Attribute(u"MaxWidth", Pick(kLengths)) : CString()) + u"/>";
            str += u"</Grid.ColumnDefinitions>";
        }
        if (Chance(60))
        {
            str += u"<Grid.RowDefinitions>";
            for (int i = 0, n = 1 + Pick(4); i < n; ++i)
                str += u"<RowDefinition" + Attribute(u"Height", Pick(kGridLengths)) + u"/>";
            str += u"</Grid.RowDefinitions>";
        }
        return str + Children(nDepth, 5) + u"</Grid>";
    }

    CString Element(int nDepth)
    {
        ++m_nElements;
        const int nKind = nDepth >= 5 ? 8 + Pick(2) : Pick(10);
        switch (nKind)
        {
        case 0:
            return u"<StackPanel" + Attribute(u"Orientation", Chance(50) ? u"Horizontal" : u"Vertical") +
                   CommonAttributes() + u">" + Children(nDepth, 4) + u"</StackPanel>";
        case 1:
            return u"<WrapPanel" + (Chance(40) ? Attribute(u"ItemWidth", Pick(kLengths)) : CString()) +
                   (Chance(40) ? Attribute(u"ItemHeight", Pick(kLengths)) : CString()) + CommonAttributes() +
                   u">" + Children(nDepth, 5) + u"</WrapPanel>";
        case 2:
            return u"<DockPanel" + Attribute(u"LastChildFill", Chance(50) ? u"True" : u"False") +
                   CommonAttributes() + u">" + Children(nDepth, 5) + u"</DockPanel>";
        case 3:
            return Grid(nDepth);
        case 4:
            return u"<Canvas" + CommonAttributes() + u">" + Children(nDepth, 4) + u"</Canvas>";
        case 5:
            return u"<UniformGrid" + Attribute(u"Rows", Pick(kCounts)) +
                   Attribute(u"Columns", Pick(kCounts)) + Attribute(u"FirstColumn", Pick(kCounts)) +
                   CommonAttributes() + u">" + Children(nDepth, 6) + u"</UniformGrid>";
        case 6:
        case 7:
        {
            CString str(u"<Border" + Attribute(u"BorderThickness", Pick(kLengths)) +
                        Attribute(u"Padding", Pick(kLengths)) + Attribute(u"CornerRadius", Pick(kLengths)) +
                        Attribute(u"BorderBrush", Pick(kBrushes)) + CommonAttributes());
            if (Chance(40))
                return str + u"><Border.Background><LinearGradientBrush EndPoint='" +
                       (Chance(50) ? CString(u"0,1") : CString(u"1000000,-3")) +
                       u"'><GradientStop Color='Red' Offset='0'/><GradientStop Color='Blue' Offset='1'/>"
                       u"</LinearGradientBrush></Border.Background>" +
                       (Chance(70) ? Element(nDepth + 1) : CString()) + u"</Border>";
            return str + Attribute(u"Background", Pick(kBrushes)) + u">" +
                   (Chance(70) ? Element(nDepth + 1) : CString()) + u"</Border>";
        }
        case 8:
            return TextBlock();
        default:
            return u"<FrameworkElement" + CommonAttributes() + u"/>";
        }
    }

    std::mt19937 m_random;
    int m_nElements = 0;
};

const int kSizes[] = {0, 1, 2, 17, 120, 32000, 32001, 1 << 30, 0x7FFFFFFF};

// Builds the text and runs it through the whole layout protocol.
void Exercise(CQVTMarkupContext* pContext, const CString& strMarkup, std::mt19937& random)
{
    HANDLE hFile = ::CreateFileW(u"markup_layout_fuzz_case.xml", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
    {
        DWORD dwWritten = 0;
        ::WriteFile(hFile, strMarkup.GetString(), strMarkup.GetLength() * sizeof(WCHAR), &dwWritten, nullptr);
        ::CloseHandle(hFile);
    }
    CQVTMarkupUIElement* pRoot = MarkupParseText(pContext, strMarkup);
    if (pRoot == nullptr)
        return;  // an error text, which is a sound end too
    auto size = [&]() { return kSizes[std::uniform_int_distribution<int>(0, _countof(kSizes) - 1)(random)]; };
    DibCanvas canvas(64, 64);
    for (int nRound = 0; nRound < 3; ++nRound)
    {
        const int cx = size(), cy = size();
        const CSize desired = MarkupMeasureElement(pRoot, cx, cy);
        EXPECT_GE(desired.cx, 0) << CStringA(strMarkup).GetString();
        EXPECT_GE(desired.cy, 0) << CStringA(strMarkup).GetString();
        const int x = nRound == 2 ? -(cx / 2) : 0;
        const CRect rc(x, 0, static_cast<int>(std::min<__int64>(__int64(x) + cx, INT_MAX)), cy);
        MarkupRenderElement(pRoot, canvas.dc.m_hDC, rc);
        for (int i = 0; i < 8; ++i)
            pRoot->InputHitTest(CPoint(std::uniform_int_distribution<int>(-5, 70)(random),
                                       std::uniform_int_distribution<int>(-5, 70)(random)));
    }
    // Relayout after a change, as a host's repaint would see it.
    pRoot->InvalidateMeasure();
    MarkupRenderElement(pRoot, canvas.dc.m_hDC, CRect(0, 0, 64, 64));
    MarkupReleaseElement(pRoot);
}

int CaseCount()
{
    const char* pszCount = std::getenv("SONDREL_FUZZ_CASES");
    return pszCount != nullptr ? std::max(1, std::atoi(pszCount)) : 300;
}
}  // namespace

TEST(MarkupLayoutFuzz, RandomTreesAtRandomSizesEndSoundly)
{
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, TRUE);
    const char* pszGdiPlus = std::getenv("SONDREL_FUZZ_GDIPLUS");
    pContext->EnableGdiPlus(pszGdiPlus != nullptr && std::atoi(pszGdiPlus) != 0);
    std::mt19937 random(20261207);
    for (LPCWSTR lpszRegression : kRegressions)
    {
        const CString strMarkup(lpszRegression);
        Exercise(pContext, strMarkup, random);
    }
    const int nCases = CaseCount();
    for (int nCase = 0; nCase < nCases; ++nCase)
    {
        CTreeGenerator generator(static_cast<unsigned>(nCase) * 7919u + 1);
        Exercise(pContext, generator.Root(), random);
        if (HasFailure())
            break;
    }
    MarkupReleaseContext(pContext);
    ::DeleteFileW(u"markup_layout_fuzz_case.xml");
}
