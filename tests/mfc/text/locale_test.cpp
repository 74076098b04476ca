// The character-type locale: Windows locale names, and the code page the
// printf family then converts narrow and wide strings with.
#include <tchar.h>
#include <string>
#include "sondrel_gtest.h"

namespace {

std::u16string Current()
{
    return _tsetlocale(LC_CTYPE, nullptr);
}

// Puts the "C" locale back whatever a test did.
struct LocaleRestore
{
    ~LocaleRestore() { _tsetlocale(LC_ALL, u"C"); }
};

}  // namespace

TEST(Locale, WindowsNamesSetTheCodePageOfConversions)
{
    LocaleRestore restore;
    EXPECT_TRUE(Current() == u"C");
    EXPECT_EQ(_AfxGetCrtCodePage(), UINT(CP_ACP));

    ASSERT_NE(_tsetlocale(LC_CTYPE, u"ru"), nullptr);
    EXPECT_TRUE(Current() == u"Russian_Russia.1251");
    EXPECT_EQ(_AfxGetCrtCodePage(), 1251u);
    // A Cyrillic wide string printed narrow comes out in windows-1251, and
    // back again.
    char narrow[16] = {};
    sprintf_s(narrow, "%S", u"\x0416\x0451");
    EXPECT_STREQ(narrow, "\xC6\xB8");
    char16_t wide[16] = {};
    swprintf_s(wide, 16, u"%S", "\xC6\xB8");
    EXPECT_TRUE(std::u16string(wide) == u"\x0416\x0451");

    ASSERT_NE(_tsetlocale(LC_CTYPE, u"zh-CN"), nullptr);
    EXPECT_EQ(_AfxGetCrtCodePage(), 936u);
    EXPECT_NE(Current().find(u"_China.936"), std::u16string::npos);
    ASSERT_NE(_tsetlocale(LC_CTYPE, u"fa-IR"), nullptr);
    EXPECT_EQ(_AfxGetCrtCodePage(), 1256u);
    // A language written only in Unicode converts through UTF-8.
    ASSERT_NE(_tsetlocale(LC_CTYPE, u"hi"), nullptr);
    EXPECT_EQ(_AfxGetCrtCodePage(), UINT(CP_UTF8));
    sprintf_s(narrow, "%S", u"\x0939");
    EXPECT_STREQ(narrow, "\xE0\xA4\xB9");
    ASSERT_NE(_tsetlocale(LC_ALL, u"de.1250"), nullptr);
    EXPECT_TRUE(Current() == u"German_Germany.1250");
}

TEST(Locale, UnknownNamesAndCategoriesChangeNothing)
{
    LocaleRestore restore;
    ASSERT_NE(_tsetlocale(LC_CTYPE, u"pl"), nullptr);
    EXPECT_EQ(_tsetlocale(LC_CTYPE, u"xx-nowhere"), nullptr);
    EXPECT_EQ(_tsetlocale(LC_CTYPE, u"pl.notanumber"), nullptr);
    EXPECT_EQ(_tsetlocale(LC_CTYPE, u"pl.99999"), nullptr);
    EXPECT_EQ(_tsetlocale(LC_NUMERIC, u"ru"), nullptr);
    EXPECT_TRUE(Current() == u"Polish_Poland.1250");
    EXPECT_EQ(_AfxGetCrtCodePage(), 1250u);
    ASSERT_NE(_tsetlocale(LC_CTYPE, u"C"), nullptr);
    EXPECT_EQ(_AfxGetCrtCodePage(), UINT(CP_ACP));
}
