// Rich text through the windowless text services: RTF and plain text drawn
// into DIBs, invalid RTF shown as it was written, long texts streamed in
// pieces, and extents measured within a maximum width.
#include <afxwin.h>

#include <string>

#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "toolkit/foundation/richtext/QVTRichRender.h"

namespace {
int Ink(DibCanvas& canvas)
{
    return canvas.Width() * canvas.Height() - canvas.CountOf(RGB(255, 255, 255));
}

int InkOf(CQVTRichRender& render, const char16_t* pszText)
{
    render.SetText(pszText);
    DibCanvas canvas(300, 60);
    render.Draw(canvas.dc.GetSafeHdc(), CRect(0, 0, 300, 60));
    return Ink(canvas);
}

std::u16string TextOf(CQVTRichRender& render)
{
    BSTR bstr = nullptr;
    std::u16string text;
    if (SUCCEEDED(render.GetTextServices()->TxGetText(&bstr)) && bstr)
        text = bstr;
    SysFreeString(bstr);
    // The text services end the text with a paragraph mark.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n'))
        text.pop_back();
    return text;
}
}  // namespace

TEST(RichRender, RtfAndPlainTextAreDrawn)
{
    CQVTRichRender render;
    ASSERT_NE(render.GetTextServices(), nullptr) << "the system's rich-edit text services";

    EXPECT_GT(render.SetText(u"{\\rtf1 Sondrel records}"), 0);
    EXPECT_EQ(TextOf(render), u"Sondrel records");
    int nPlain = InkOf(render, u"{\\rtf1 Sondrel records}");
    int nBold = InkOf(render, u"{\\rtf1\\b Sondrel records\\b0}");
    EXPECT_GT(nPlain, 0);
    EXPECT_GT(nBold, nPlain) << "bold has more ink";
    EXPECT_GT(InkOf(render, u"Sondrel records"), 0);

    // Not RTF after all: shown as written.
    EXPECT_GT(render.SetText(u"{not rtf at all"), 0);
    EXPECT_EQ(TextOf(render), u"{not rtf at all");
    EXPECT_GT(InkOf(render, u"{not rtf at all"), 0);

    EXPECT_EQ(render.SetText(u""), 0);
    EXPECT_EQ(TextOf(render), u"");
    EXPECT_EQ(render.SetText(nullptr), 0);
    EXPECT_EQ(InkOf(render, u""), 0);
}

TEST(RichRender, LongTextsAreStreamedInPieces)
{
    CQVTRichRender render;
    ASSERT_NE(render.GetTextServices(), nullptr);
    std::u16string words;
    for (int i = 0; i < 3000; ++i)
        words += u"word" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" ";
    words.pop_back();
    EXPECT_EQ(render.SetText((u"{\\rtf1 " + words + u"}").c_str()), static_cast<LRESULT>(words.size()));
    EXPECT_EQ(TextOf(render), words);
    EXPECT_EQ(render.SetText(words.c_str()), static_cast<LRESULT>(words.size()));
    EXPECT_EQ(TextOf(render), words);
}

TEST(RichRender, TheDefaultFormatColoursTheText)
{
    CQVTRichRender render;
    ASSERT_NE(render.GetTextServices(), nullptr);
    CHARFORMATW cf = render.GetDefaultCharFormat();
    EXPECT_EQ(cf.cbSize, sizeof(CHARFORMATW));
    EXPECT_GT(cf.yHeight, 0);
    cf.crTextColor = RGB(255, 0, 0);
    cf.dwEffects = 0;
    render.SetDefaultCharFormat(cf);
    render.SetText(u"Red text");
    DibCanvas canvas(200, 40);
    render.Draw(canvas.dc.GetSafeHdc(), CRect(0, 0, 200, 40));
    EXPECT_GT(canvas.CountOf(RGB(255, 0, 0)), 10);
}

TEST(RichRender, ExtentsStayWithinTheMaximumWidth)
{
    CQVTRichRender render;
    ASSERT_NE(render.GetTextServices(), nullptr);
    DibCanvas canvas(10, 10);
    HDC hDC = canvas.dc.GetSafeHdc();

    render.SetText(u"Word");
    CSize word = render.GetTextExtent(hDC, 300);
    EXPECT_GT(word.cx, 0);
    EXPECT_LE(word.cx, 300);
    EXPECT_LT(word.cx, 150) << "a short word needs little of the width";
    EXPECT_GT(word.cy, 0);

    render.SetText(u"Sondrel records sound from every capture device into files of many formats");
    CSize wrapped = render.GetTextExtent(hDC, 120);
    EXPECT_LE(wrapped.cx, 120);
    EXPECT_GT(wrapped.cy, 2 * word.cy) << "wrapped onto several lines";
    CSize wide = render.GetTextExtent(hDC, 2000);
    EXPECT_EQ(wide.cy, word.cy) << "one line when the width allows";
    EXPECT_GT(wide.cx, wrapped.cx);
}
