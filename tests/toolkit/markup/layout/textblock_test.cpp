// The text block and its inlines: fonts inherited down the inline tree, words
// placed on lines, wrapping, trimming, alignment, justification, baselines,
// empty lines and hit testing. GDI's own text extent of the same font is the
// oracle: no pixel width of text is written down here.
#include "layout_test_support.h"
#include "toolkit/markup/text/QVTMarkupHyperlink.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupInlineUIContainer.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"

namespace {
typedef CQVTMarkupTextBlock::CLinePart CPart;

}  // namespace

class MarkupTextBlock : public MarkupLayoutTest
{
protected:
    CQVTMarkupTextBlock* TextBlock() { return MarkupCast<CQVTMarkupTextBlock>(m_pRoot); }
    CQVTMarkupTextBlock* LoadText(LPCWSTR lpszAttributes, LPCWSTR lpszBody = u"")
    {
        Load(RootMarkup(u"TextBlock", lpszAttributes, lpszBody));
        return TextBlock();
    }
    // The lines as their parts' texts joined with '|', lines with '/'.
    CString Lines()
    {
        CString str;
        for (const auto& pLine : TextBlock()->GetLines())
        {
            if (!str.IsEmpty())
                str += u"/";
            for (size_t i = 0; i < pLine->parts.size(); ++i)
                str += (i > 0 ? u"|" : u"") + PartText(*pLine->parts[i]);
        }
        return str;
    }
    static CString PartText(const CPart& part)
    {
        CQVTMarkupRun* pRun = MarkupCast<CQVTMarkupRun>(part.pInline);
        if (pRun == nullptr)
            return u"[element]";
        if (part.start >= part.end)
            return CString();
        return CString(pRun->GetText() + part.start, static_cast<int>(part.end - part.start));
    }
    const CPart& Part(size_t nLine, size_t nPart) { return *TextBlock()->GetLines()[nLine]->parts[nPart]; }
    LOGFONTW FontOfSize(int nSize)
    {
        LOGFONTW lf = DefaultFont();
        lf.lfHeight = -SY(nSize);
        return lf;
    }
    int LineHeight(const LOGFONTW& lf) { return TextExtent(lf, u"").cy; }
};

TEST_F(MarkupTextBlock, ContentBecomesRunsAndSpansThatInheritTheirFonts)
{
    LoadText(u"", u"Hello <Bold>big</Bold> world");
    CQVTMarkupInlineCollection* pInlines = TextBlock()->GetInlines();
    ASSERT_EQ(pInlines->GetCount(), 3);
    EXPECT_NE(MarkupCast<CQVTMarkupRun>(pInlines->GetAt(0)), nullptr);
    EXPECT_NE(MarkupCast<CQVTMarkupBold>(pInlines->GetAt(1)), nullptr);
    CStringArray texts;
    for (CQVTMarkupInline* p = pInlines->GetAt(0)->GetFirstInline(); p != nullptr;
         p = CQVTMarkupInline::GetNextInline(p))
        texts.Add(static_cast<CQVTMarkupRun*>(p)->GetText());
    ASSERT_EQ(texts.GetSize(), 3);
    EXPECT_EQ(texts[0], CString(u"Hello "));
    EXPECT_EQ(texts[1], CString(u"big"));
    EXPECT_EQ(texts[2], CString(u" world"));

    LoadText(u"FontFamily='Tahoma'",
             u"<Italic><Bold><Run x:Name='bi'>x</Run></Bold></Italic>"
             u"<Bold><Run x:Name='n' FontWeight='Normal' FontSize='30'>y</Run></Bold>");
    LOGFONTW lf;
    Find<CQVTMarkupRun>(u"bi")->GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(CString(lf.lfFaceName), CString(u"Tahoma"));
    Find<CQVTMarkupRun>(u"n")->GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfHeight, -SY(30));

    // An empty span is a leaf of the walk without positions.
    LoadText(u"", u"a<Span/>b");
    Layout(SX(500), SY(100));
    EXPECT_EQ(Lines(), CString(u"a|b"));
}

TEST_F(MarkupTextBlock, ALineIsAsWideAsGdiMeasuresItsText)
{
    LoadText(u"Text='Hello world' Padding='3,4,5,6'");
    MeasureOnly(SX(1000), SY(100));
    const CSize text = TextExtent(DefaultFont(), u"Hello world");
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(text.cx + SX(3) + SX(5), text.cy + SY(4) + SY(6)));
    EXPECT_EQ(Lines(), CString(u"Hello world"));

    // Empty: the padding and one line of the text block's font.
    LoadText(u"FontSize='30' Padding='2'");
    MeasureOnly(SX(1000), SY(100));
    EXPECT_EQ(CSize(m_pRoot->GetDesiredSize()), CSize(2 * SX(2), LineHeight(FontOfSize(30)) + 2 * SY(2)));

    // Setting Text replaces inline content.
    LoadText(u"", u"a<Bold>b</Bold>");
    TextBlock()->SetText(u"plain");
    EXPECT_EQ(TextBlock()->GetInlines()->GetCount(), 1);
    Layout(SX(500), SY(100));
    EXPECT_EQ(Lines(), CString(u"plain"));
}

TEST_F(MarkupTextBlock, LineFeedsAndReturnsMakeLinesOfTheRightHeight)
{
    const int nSmall = LineHeight(FontOfSize(10)), nLarge = LineHeight(FontOfSize(30));
    ASSERT_NE(nSmall, nLarge);
    // A leading line feed: an empty first line of the text block's font.
    LoadText(u"FontSize='10'", u"<Run FontSize='30' Text='&#10;x'/>");
    MeasureOnly(SX(500), SY(500));
    EXPECT_EQ(m_pRoot->GetDesiredSize().cy, nSmall + nLarge);
    // Between two line feeds: an empty line of the run's font; a trailing line
    // feed: one more.
    LoadText(u"FontSize='10'", u"<Run FontSize='30' Text='x&#10;&#10;y&#10;'/>");
    MeasureOnly(SX(500), SY(500));
    EXPECT_EQ(TextBlock()->GetLines().size(), 4u);
    EXPECT_EQ(m_pRoot->GetDesiredSize().cy, 4 * nLarge);

    // A return before a line feed is dropped; a lone one stays in the text.
    LoadText(u"Text='a&#13;&#10;b'");
    Layout(SX(500), SY(500));
    EXPECT_EQ(Lines(), CString(u"a/b"));
    LoadText(u"Text='a&#13;b'");
    Layout(SX(500), SY(500));
    EXPECT_EQ(Lines(), CString(u"a\rb"));
    // When wrapping, a return before a space goes too.
    LoadText(u"TextWrapping='Wrap' Text='a&#13; b'");
    Layout(SX(500), SY(500));
    EXPECT_EQ(Lines(), CString(u"a| b"));
}

TEST_F(MarkupTextBlock, WrappingMovesWholeWordsAndDropsTheirLeadingBlanksBelowTheFirstLine)
{
    const LOGFONTW lf = DefaultFont();
    // Two spaces stay two spaces; the space goes with the word after it.
    LoadText(u"Text='  aa  bb cc' TextWrapping='Wrap'");
    Layout(TextExtent(lf, u"  aa  bb").cx, SY(500));
    EXPECT_EQ(Lines(), CString(u"  aa  bb/cc"));
    EXPECT_EQ(Part(1, 0).GetRect().left, 0);
    EXPECT_TRUE(TextBlock()->GetLines()[0]->bWrapped);

    // A word made of two inlines wraps as one.
    LoadText(u"TextWrapping='Wrap'", u"xx ab<Bold>cd</Bold>");
    Layout(TextExtent(lf, u"xx ab").cx, SY(500));
    EXPECT_EQ(Lines(), CString(u"xx/ab|cd"));

    // An element in the text is a word of its own.
    LoadText(u"TextWrapping='Wrap'", u"ab<FrameworkElement Width='20' Height='30'/>cd");
    ASSERT_EQ(TextBlock()->GetInlines()->GetCount(), 3);
    EXPECT_NE(MarkupCast<CQVTMarkupInlineUIContainer>(TextBlock()->GetInlines()->GetAt(1)), nullptr);
    Layout(SX(1000), SY(500));
    EXPECT_EQ(Lines(), CString(u"ab|[element]|cd"));
    EXPECT_EQ(CRect(Part(0, 1).GetRect()).Width(), SX(20));
    // The element stands on the baseline: the line holds it and the descent.
    EXPECT_EQ(TextBlock()->GetLines()[0]->height, SY(30) + Part(0, 0).nDescent);
}

TEST_F(MarkupTextBlock, AWordWiderThanTheLineBreaksUnderWrapAndOverflowsOtherwise)
{
    const LOGFONTW lf = DefaultFont();
    LoadText(u"Text='aaaaaaaaaa' TextWrapping='Wrap'");
    Layout(TextExtent(lf, u"aaa").cx, SY(500));
    EXPECT_EQ(Lines(), CString(u"aaa/aaa/aaa/a"));

    // Too narrow for any character: one character per line all the same.
    Layout(1, SY(500));
    EXPECT_EQ(Lines(), CString(u"a/a/a/a/a/a/a/a/a/a"));

    LoadText(u"Text='aaaaaaaaaa' TextWrapping='WrapWithOverflow'");
    Layout(TextExtent(lf, u"aaa").cx, SY(500));
    EXPECT_EQ(Lines(), CString(u"aaaaaaaaaa"));
    EXPECT_EQ(TextBlock()->GetLayoutSize().cx, TextExtent(lf, u"aaaaaaaaaa").cx);
}

TEST_F(MarkupTextBlock, TrimmingCutsBetweenCharactersOrBeforeTheLastWord)
{
    const LOGFONTW lf = DefaultFont();
    const int nWidth = TextExtent(lf, u"Hello w").cx + TextExtent(lf, u"...").cx;
    LoadText(u"Text='Hello world' TextTrimming='CharacterEllipsis'");
    Layout(nWidth, SY(100));
    EXPECT_EQ(Lines(), CString(u"Hello w|..."));
    EXPECT_EQ(Part(0, 1).GetRect().left, TextExtent(lf, u"Hello w").cx);

    LoadText(u"Text='Hello world' TextTrimming='WordEllipsis'");
    Layout(nWidth, SY(100));
    EXPECT_EQ(Lines(), CString(u"Hello|..."));

    // A text that fits is not trimmed; trimming has no effect with wrapping.
    LoadText(u"Text='Hello' TextTrimming='CharacterEllipsis'");
    Layout(nWidth, SY(100));
    EXPECT_EQ(Lines(), CString(u"Hello"));
    LoadText(u"Text='Hello world' TextTrimming='CharacterEllipsis' TextWrapping='Wrap'");
    Layout(nWidth, SY(100));
    EXPECT_EQ(Lines(), CString(u"Hello/world"));

    // Narrower than the ellipsis: the ellipsis alone, nothing before it.
    LoadText(u"Text='Hello world' TextTrimming='CharacterEllipsis'");
    Layout(1, SY(100));
    EXPECT_EQ(Lines(), CString(u"|..."));
}

TEST_F(MarkupTextBlock, AlignmentAndJustificationPlaceTheParts)
{
    const LOGFONTW lf = DefaultFont();
    const int nText = TextExtent(lf, u"abc").cx;
    LoadText(u"Text='abc' TextAlignment='Right'");
    Layout(SX(300), SY(50));
    EXPECT_EQ(Part(0, 0).GetRect().left, SX(300) - nText);
    LoadText(u"Text='abc' TextAlignment='Center' Padding='10,0,0,0'");
    Layout(SX(300), SY(50));
    EXPECT_EQ(Part(0, 0).GetRect().left, SX(10) + (SX(300) - nText - SX(10)) / 2);

    // Justified: the free space of a wrapped line goes between its words; the
    // last line of the paragraph stays at the left.
    LoadText(u"Text='aa bb cc dd' TextWrapping='Wrap' TextAlignment='Justify'");
    const int nWidth = TextExtent(lf, u"aa bb cc").cx - 1;
    Layout(nWidth, SY(100));
    EXPECT_EQ(Lines(), CString(u"aa| bb/cc| dd"));
    EXPECT_EQ(Part(0, 0).GetRect().left, 0);
    EXPECT_NEAR(Part(0, 1).GetRect().right, nWidth, 1);
    EXPECT_EQ(Part(1, 1).GetRect().left, Part(1, 0).GetRect().right);
}

TEST_F(MarkupTextBlock, RunsOfDifferentSizesShareOneBaseline)
{
    LoadText(u"", u"x<Run FontSize='40'>Y</Run><Run BaselineAlignment='Top'>t</Run>");
    Layout(SX(500), SY(200));
    const CPart& lower = Part(0, 0);
    const CPart& higher = Part(0, 1);
    EXPECT_EQ(lower.GetRect().bottom - lower.nDescent, higher.GetRect().bottom - higher.nDescent);
    EXPECT_EQ(TextBlock()->GetLines()[0]->height,
              std::max(lower.height - lower.nDescent, higher.height - higher.nDescent) +
                  std::max(lower.nDescent, higher.nDescent));
    // Aligned to the top of the line instead.
    EXPECT_EQ(Part(0, 2).GetRect().top, 0);
}

TEST_F(MarkupTextBlock, HitTestingFindsTheInlineUnderThePoint)
{
    LoadText(u"", u"plain <Hyperlink x:Name='h'>link</Hyperlink>");
    Layout(SX(500), SY(100));
    const CRect rcLink = Part(0, 1).GetRect();
    CQVTMarkupInputElement* pHit = m_pRoot->InputHitTest(rcLink.CenterPoint());
    ASSERT_NE(pHit, nullptr);
    EXPECT_EQ(PartText(Part(0, 1)), CString(u"link"));
    EXPECT_EQ(pHit->GetLogicalParent()->GetLogicalParent(), Find<CQVTMarkupHyperlink>(u"h"));
    // Beside the text: the text block itself.
    EXPECT_EQ(m_pRoot->InputHitTest(CPoint(SX(499), 1)), m_pRoot);
}

TEST_F(MarkupTextBlock, LongTextsAndWordsEndInBoundedWork)
{
    CString strWord;
    for (int i = 0; i < 5000; ++i)
        strWord += static_cast<WCHAR>(u'a' + i % 26);
    CQVTMarkupTextBlock* pTextBlock = LoadText(u"TextWrapping='Wrap'");
    pTextBlock->SetText(strWord);
    Layout(1, SY(100));
    EXPECT_EQ(pTextBlock->GetLines().size(), 5000u);
    Layout(1 << 30, SY(100));
    EXPECT_EQ(pTextBlock->GetLines().size(), 1u);

    CString strLong;
    for (int i = 0; i < 4000; ++i)
        strLong += u"word ";
    pTextBlock = LoadText(u"TextTrimming='WordEllipsis'");
    pTextBlock->SetText(strLong);
    Layout(SX(60), SY(100));
    ASSERT_EQ(pTextBlock->GetLines().size(), 1u);
    EXPECT_LE(pTextBlock->GetLines()[0]->width, static_cast<float>(SX(60)));
    Layout(0, 0);
    Layout(0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(pTextBlock->GetLines().size(), 1u);
}
