// The XML string pack: escapes, empty texts, later ids, and packs that are
// broken, foreign or claim far more elements than they hold.
#include "sondrel_gtest.h"

#include "tests/common/common_test_support.h"

#include "common/LanguageStrings.h"
#include "languages_test_support.h"

using namespace tracetest;

TEST(LanguageStrings, LoadsTextsAndDescriptions)
{
    ComScope com;
    CLanguageStrings strings;
    ASSERT_TRUE(strings.Load(W(DataFolder() + u"strings.xml")));
    EXPECT_EQ(strings.GetCodePage(), 1251u);
    // Element-4 replaces element 0's text; its description stays.
    EXPECT_EQ(CString(strings.GetText(100)), CString(_T("The later one")));
    EXPECT_EQ(CString(strings.GetDescription(100)), CString(_T("Tab\there and a space")));
    // An empty text adds nothing, its description still counts.
    EXPECT_EQ(strings.GetText(101), nullptr);
    EXPECT_EQ(CString(strings.GetDescription(101)), CString(_T("Only a description")));
    EXPECT_EQ(CString(strings.GetText(102)),
              CString(_T("\x041F\x0440\x0438\x0432\x0435\x0442, \x043C\x0438\x0440")));
    // Element-5 lies beyond the count of 5.
    EXPECT_EQ(strings.GetText(105), nullptr);
    EXPECT_EQ(strings.GetTextCount(), 2);
    EXPECT_EQ(strings.GetDescriptionCount(), 2);
}

TEST(LanguageStrings, EscapesInTheirOrder)
{
    CString text = _T("a\\r\\nb\\tc\\spd\\\\sp");
    CLanguageStrings::ReplaceEscapes(text);
    EXPECT_EQ(CString(text), CString(_T("a\r\nb\tc d\\ ")));
}

TEST(LanguageStrings, BadPacksLoadNothingAndSucceed)
{
    ComScope com;
    ScratchFolder scratch("language packs");
    struct Case
    {
        const char* name;
        std::string bytes;
        int texts;
    };
    std::string oneElement = "<Element-0><ID>7</ID><Text>seven</Text></Element-0>";
    const Case cases[] = {
        {"count zero", "<Elements><Count>0</Count>" + oneElement + "</Elements>", 0},
        {"no count", "<Elements>" + oneElement + "</Elements>", 0},
        {"negative count", "<Elements><Count>-3</Count>" + oneElement + "</Elements>", 0},
        // Billions claimed, one held (and a stranger among them): only what is there is read.
        {"huge count",
         "<Elements><Count>2147483647</Count><Stranger/><Element-01><ID>8</ID><Text>no</Text></Element-01>" +
             oneElement + "</Elements>",
         1},
        {"foreign", "<Files><Count>1</Count>" + oneElement + "</Files>", 0},
        {"broken", "<Elements><Count>1</Count><Element-0><ID>7</ID><Text>sev", 0},
        {"not xml", std::string("\x00\x01\x02garbage", 10), 0},
    };
    for (const Case& c : cases)
    {
        std::u16string path = scratch.Path() + Wide(c.name) + u".xml";
        WriteFileBytes(path, c.bytes);
        CLanguageStrings strings;
        EXPECT_TRUE(strings.Load(W(path))) << c.name;
        EXPECT_EQ(strings.GetTextCount(), c.texts) << c.name;
        EXPECT_EQ(strings.GetCodePage(), 1252u) << c.name;
    }
    CLanguageStrings strings;
    EXPECT_TRUE(strings.Load(W(scratch.Path() + u"missing.xml")));
    EXPECT_EQ(strings.GetTextCount(), 0);
}
