// Copies, compares, searches and case mapping on UTF-16.
#include <tchar.h>
#include <cstdlib>
#include <string>
#include "sondrel_gtest.h"

TEST(Utf16Strings, SafeCopiesAndConcatenationsReportErrors)
{
    char16_t buf[5];
    EXPECT_EQ(_tcscpy_s(buf, u"abcd"), 0);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    EXPECT_EQ(_tcscpy_s(buf, u"abcde"), ERANGE);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(_tcscpy_s(buf, 5, nullptr), EINVAL);
    EXPECT_EQ(_tcscpy_s(nullptr, 5, u"a"), EINVAL);

    EXPECT_EQ(_tcsncpy_s(buf, u"abcdef", 3), 0);
    EXPECT_EQ(std::u16string(buf), u"abc");
    EXPECT_EQ(_tcsncpy_s(buf, u"abcdef", _TRUNCATE), STRUNCATE);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    EXPECT_EQ(_tcsncpy_s(buf, u"abcdef", 5), ERANGE);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(_tcsncpy_s(buf, u"ab", 10), 0);
    EXPECT_EQ(std::u16string(buf), u"ab");

    EXPECT_EQ(_tcscat_s(buf, u"cd"), 0);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    EXPECT_EQ(_tcscat_s(buf, u"e"), ERANGE);
    EXPECT_EQ(buf[0], 0);
    _tcscpy_s(buf, u"ab");
    EXPECT_EQ(_tcsncat_s(buf, u"cdef", _TRUNCATE), STRUNCATE);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    char16_t unterminated[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(_tcscat_s(unterminated, u"x"), EINVAL);
}

TEST(Utf16Strings, ComparesAndSearches)
{
    EXPECT_EQ(_tcslen(u"\U0001D11Ex"), 3u);
    EXPECT_LT(_tcscmp(u"abc", u"abd"), 0);
    EXPECT_GT(_tcscmp(u"abc", u"ab"), 0);
    EXPECT_GT(_tcscmp(u"\u00e9", u"z"), 0);  // code unit order, not ASCII
    EXPECT_EQ(_tcsncmp(u"abcX", u"abcY", 3), 0);
    EXPECT_EQ(_tcsicmp(u"Hello \u00c9T\u00c9", u"hello \u00e9t\u00e9"), 0);
    EXPECT_LT(_tcsicmp(u"apple", u"BANANA"), 0);
    EXPECT_EQ(_tcsnicmp(u"ABCdef", u"abcXYZ", 3), 0);
    EXPECT_NE(_tcsnicmp(u"ABCdef", u"abcXYZ", 4), 0);

    const char16_t* s = u"a,b;c,d";
    EXPECT_EQ(_tcschr(s, u';') - s, 3);
    EXPECT_EQ(_tcsrchr(s, u',') - s, 5);
    EXPECT_EQ(_tcschr(s, u'\0') - s, 7);
    EXPECT_EQ(_tcschr(s, u'x'), nullptr);
    EXPECT_EQ(_tcsstr(s, u"c,d") - s, 4);
    EXPECT_EQ(_tcsstr(s, u""), s);
    EXPECT_EQ(_tcsstr(s, u"cc"), nullptr);
    EXPECT_EQ(_tcsspn(u"  \tx", u" \t"), 3u);
    EXPECT_EQ(_tcscspn(u"abc;d", u";,"), 3u);
    EXPECT_EQ(_tcspbrk(s, u";") - s, 3);
    EXPECT_EQ(_tcspbrk(s, u"xyz"), nullptr);
}

TEST(Utf16Strings, TokensDuplicatesAndReversal)
{
    char16_t text[] = u",,one,,two;three,";
    char16_t* context = nullptr;
    std::u16string joined;
    for (char16_t* t = _tcstok_s(text, u",;", &context); t; t = _tcstok_s(nullptr, u",;", &context))
        joined += std::u16string(t) + u"|";
    EXPECT_EQ(joined, u"one|two|three|");

    char16_t* copy = _tcsdup(u"dup\u00e9");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::u16string(copy), u"dup\u00e9");
    free(copy);

    char16_t rev[] = u"ab\U0001D11Ec";
    _tcsrev(rev);
    EXPECT_EQ(std::u16string(rev), u"c\U0001D11Eba");  // the pair keeps its order
}

TEST(Utf16Strings, CaseMappingAndClassesFollowWin32)
{
    char16_t word[] = u"Stra\u00dfe \u00c4pfel";
    EXPECT_EQ(_tcsupr_s(word), 0);
    EXPECT_EQ(std::u16string(word), u"STRA\u00dfE \u00c4PFEL");
    EXPECT_EQ(_tcslwr_s(word), 0);
    EXPECT_EQ(std::u16string(word), u"stra\u00dfe \u00e4pfel");
    char16_t noTerm[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(_tcsupr_s(noTerm, 3), EINVAL);  // no terminator inside the buffer

    EXPECT_EQ(_totupper(u'\u00e9'), u'\u00c9');
    EXPECT_EQ(_totlower(u'\u0416'), u'\u0436');
    EXPECT_EQ(_totupper(u'1'), u'1');
    EXPECT_TRUE(_istalpha(u'\u00e9'));
    EXPECT_FALSE(_istalpha(u'7'));
    EXPECT_TRUE(_istdigit(u'7'));
    EXPECT_FALSE(_istdigit(u'\u0663'));  // only ASCII digits count, as the runtime parses
    EXPECT_TRUE(_istspace(u'\u3000'));
    EXPECT_TRUE(_istspace(u'\t'));
    EXPECT_TRUE(_istalnum(u'z'));
    EXPECT_TRUE(_istupper(u'\u00c9'));
    EXPECT_TRUE(_istlower(u'\u00e9'));
    EXPECT_FALSE(_istlower(u'A'));

    EXPECT_EQ(_stricmp("Hello", "hELLO"), 0);
    char narrow[6];
    EXPECT_EQ(strcpy_s(narrow, "toolong"), ERANGE);
    EXPECT_EQ(narrow[0], 0);
}
