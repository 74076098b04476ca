// The markup parser over the platform's XML DOM: what counts as markup, text
// and stream sources, the error text, and the repair of an undeclared x.
#include <regex>

#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"

namespace {
BOOL Load(CQVTMarkupParser& parser, LPCWSTR lpszText)
{
    return parser.LoadText(lpszText, lpszText + _tcslen(lpszText));
}

bool MatchesXmlError(const CString& strMessage, HRESULT hr)
{
    CString strCode;
    strCode.Format(u"XML Error [0x%08X] '", static_cast<unsigned>(hr));
    const CStringA narrow(strMessage);
    return strMessage.Find(strCode) == 0 && strMessage.Find(u'\r') < 0 && strMessage.Find(u'\n') < 0 &&
           std::regex_match(narrow.GetString(),
                            std::regex("XML Error \\[0x[0-9A-F]{8}\\] '.*' at -?[0-9]+:-?[0-9]+ '.*'"));
}
}  // namespace

TEST(MarkupParser, OnlyTextThatStartsWithATagIsLoaded)
{
    CQVTMarkupParser parser;
    EXPECT_FALSE(Load(parser, u"Plain caption"));
    EXPECT_EQ(parser.GetErrorCode(), S_OK);
    EXPECT_EQ(parser.GetErrorMessage(), CString(u"No Error"));
    EXPECT_FALSE(Load(parser, u"   "));
    EXPECT_FALSE(parser.LoadText(nullptr, nullptr));

    // A byte-order mark and white space may come first.
    EXPECT_TRUE(Load(parser, u"\xFEFF \r\n <FrameworkElement/>"));
    EXPECT_NE(parser.GetDocument(), nullptr);
    // A single high character is no byte-order mark.
    EXPECT_FALSE(Load(parser, u"\x00E9<FrameworkElement/>"));
    EXPECT_EQ(parser.GetDocument(), nullptr);
}

TEST(MarkupParser, LoadsFromAStreamInItsOwnEncoding)
{
    const char szUtf8[] = "<?xml version='1.0' encoding='utf-8'?><FrameworkElement Tag='\xc3\xa9t\xc3\xa9'/>";
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(szUtf8) - 1);
    memcpy(::GlobalLock(hBlock), szUtf8, sizeof(szUtf8) - 1);
    ::GlobalUnlock(hBlock);
    IStream* pStream = nullptr;
    ASSERT_EQ(::CreateStreamOnHGlobal(hBlock, TRUE, &pStream), S_OK);
    CQVTMarkupParser parser;
    EXPECT_TRUE(parser.LoadDocument(pStream));
    pStream->Release();
    EXPECT_FALSE(parser.LoadDocument(nullptr));
}

TEST(MarkupParser, MalformedTextGivesTheXmlErrorForm)
{
    CQVTMarkupParser parser;
    EXPECT_FALSE(Load(parser, u"<FrameworkElement>\r\n<Unclosed></FrameworkElement>"));
    EXPECT_LT(parser.GetErrorCode(), 0);
    EXPECT_TRUE(MatchesXmlError(parser.GetErrorMessage(), parser.GetErrorCode()))
        << CStringA(parser.GetErrorMessage()).GetString();
    EXPECT_EQ(parser.GetDocument(), nullptr);

    EXPECT_EQ(CQVTMarkupParser::FormatXmlError(E_FAIL, u"bad\r\nline", 3, 4, nullptr),
              CString(u"XML Error [0x80004005] 'badline' at 3:4 '{source unknown}'"));
    EXPECT_EQ(CQVTMarkupParser::FormatXmlError(E_FAIL, u"", 0, 0, u"<a>\n"),
              CString(u"XML Error [0x80004005] '{reason unknown}' at 0:0 '<a>'"));
}

TEST(MarkupParser, UndeclaredXLoadsAndTheRepairDeclaresIt)
{
    CQVTMarkupParser parser;
    EXPECT_TRUE(Load(parser, u"<TestPanel><FrameworkElement x:Name='a'/></TestPanel>"));

    CString strRepaired;
    ASSERT_TRUE(CQVTMarkupParser::DeclareXamlPrefix(
        u"<?xml version='1.0'?>\n<Root a='1'><b x:Name='c'/></Root>", strRepaired));
    EXPECT_EQ(strRepaired,
              CString(u"<?xml version='1.0'?>\n<Root xmlns:x='http://schemas.microsoft.com/winfx/2006/"
                      u"xaml' a='1'><b x:Name='c'/></Root>"));
    ASSERT_TRUE(CQVTMarkupParser::DeclareXamlPrefix(u"<Root x:Name='r'/>", strRepaired));
    EXPECT_TRUE(Load(parser, strRepaired));
    ASSERT_TRUE(CQVTMarkupParser::DeclareXamlPrefix(u"<Root/>", strRepaired));
    EXPECT_EQ(strRepaired, CString(u"<Root xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml'/>"));
    EXPECT_FALSE(CQVTMarkupParser::DeclareXamlPrefix(u"no tag", strRepaired));
    EXPECT_FALSE(CQVTMarkupParser::DeclareXamlPrefix(u"<Root", strRepaired));
}
