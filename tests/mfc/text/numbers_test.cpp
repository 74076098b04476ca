// Number parsing and number-to-text on UTF-16, at the Windows widths.
#include <tchar.h>
#include <climits>
#include <string>
#include "sondrel_gtest.h"

TEST(Utf16Numbers, AtoiFamilySaturatesAtItsWidth)
{
    EXPECT_EQ(_ttoi(u"  -123abc"), -123);
    EXPECT_EQ(_ttoi(u"+77"), 77);
    EXPECT_EQ(_ttoi(u"abc"), 0);
    EXPECT_EQ(_ttoi(u"2147483648"), INT_MAX);
    EXPECT_EQ(_ttoi(u"-2147483649"), INT_MIN);
    EXPECT_EQ(_ttol(u"99999999999"), INT_MAX);  // long is 32-bit
    EXPECT_EQ(_ttoi64(u"-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(_ttoi64(u"9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(_tstoi64(u"99999999999999999999"), LLONG_MAX);
    EXPECT_EQ(_ttoi(u"\u3000 42"), 42);  // Unicode spaces are skipped too
    EXPECT_DOUBLE_EQ(_ttof(u" 3.25e2xyz"), 325.0);
    EXPECT_DOUBLE_EQ(_ttof(u"-0.5"), -0.5);
}

TEST(Utf16Numbers, StrtolFamilyReportsWhereItStopped)
{
    char16_t* end = nullptr;
    const char16_t* s = u"0x1Fz";
    EXPECT_EQ(_tcstol(s, &end, 16), 31);
    EXPECT_EQ(end - s, 4);
    EXPECT_EQ(_tcstol(s, &end, 0), 31);
    EXPECT_EQ(_tcstol(u"0755", nullptr, 0), 493);
    EXPECT_EQ(_tcstol(u"z", &end, 36), 35);
    const char16_t* none = u"  xyz";
    EXPECT_EQ(_tcstol(none, &end, 10), 0);
    EXPECT_EQ(end, none);  // no digits: nothing consumed
    errno = 0;
    EXPECT_EQ(_tcstol(u"-3000000000", &end, 10), INT_MIN);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(_tcstoul(u"4294967295", nullptr, 10), 4294967295u);
    EXPECT_EQ(_tcstoul(u"4294967296", nullptr, 10), 4294967295u);
    EXPECT_EQ(_tcstoul(u"-1", nullptr, 10), 4294967295u);
    EXPECT_EQ(_tcstoi64(u"-0x8000000000000000", nullptr, 16), LLONG_MIN);
    EXPECT_EQ(_tcstoui64(u"18446744073709551615", nullptr, 10), ULLONG_MAX);
    const char16_t* d = u"1.5e3\u00e9";
    EXPECT_DOUBLE_EQ(_tcstod(d, &end), 1500.0);
    EXPECT_EQ(end - d, 5);
    EXPECT_EQ(_strtoi64("-42", nullptr, 10), -42);
    EXPECT_EQ(_atoi64("123456789012"), 123456789012LL);
}

TEST(Utf16Numbers, NumberToTextInEveryRadix)
{
    char16_t buf[70];
    EXPECT_EQ(_itot_s(-42, buf, 70, 10), 0);
    EXPECT_EQ(std::u16string(buf), u"-42");
    EXPECT_EQ(_itot_s(-1, buf, 70, 16), 0);
    EXPECT_EQ(std::u16string(buf), u"ffffffff");
    EXPECT_EQ(_itot_s(INT_MIN, buf, 70, 10), 0);
    EXPECT_EQ(std::u16string(buf), u"-2147483648");
    EXPECT_EQ(_ltot_s(255, buf, 70, 2), 0);
    EXPECT_EQ(std::u16string(buf), u"11111111");
    EXPECT_EQ(_i64tot_s(LLONG_MIN, buf, 70, 10), 0);
    EXPECT_EQ(std::u16string(buf), u"-9223372036854775808");
    EXPECT_EQ(_ui64tot_s(ULLONG_MAX, buf, 70, 36), 0);
    EXPECT_EQ(std::u16string(buf), u"3w5e11264sgsf");
    EXPECT_EQ(_i64tot_s(-1, buf, 70, 16), 0);
    EXPECT_EQ(std::u16string(buf), u"ffffffffffffffff");
    EXPECT_EQ(_itot_s(12345, buf, 5, 10), ERANGE);  // the terminator needs a place too
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(_itot_s(1, buf, 70, 1), EINVAL);
    char nbuf[12];
    EXPECT_EQ(_itoa_s(-7, nbuf, 10), 0);
    EXPECT_STREQ(nbuf, "-7");
}
