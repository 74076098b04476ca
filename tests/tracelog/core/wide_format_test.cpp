#include "sondrel_gtest.h"

#include <cstdarg>

#include "tracelog/WideFormat.h"

namespace {

std::u16string F(const char16_t* format, ...)
{
    std::u16string out;
    va_list args;
    va_start(args, format);
    tracelog::AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

std::string FA(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    tracelog::AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

}  // namespace

TEST(WideFormat, WindowsConventions)
{
    EXPECT_TRUE(F(u"%s=%S", u"wide", "narrow") == u"wide=narrow");
    EXPECT_TRUE(F(u"%hs|%ls|%ws", "a", u"b", u"c") == u"a|b|c");
    EXPECT_TRUE(F(u"%I64d %I64u %lld", -5000000000LL, 18000000000ULL, 7LL) == u"-5000000000 18000000000 7");
    EXPECT_TRUE(F(u"%ld %lu", -1L, 0xFFFFFFFFFFL) == u"-1 4294967295");  // long is 32-bit here
    EXPECT_TRUE(F(u"%Iu %zu", static_cast<size_t>(1) << 40, static_cast<size_t>(3)) == u"1099511627776 3");
    EXPECT_TRUE(F(u"%c%C", u'\x263A', 'x') == u"\x263Ax");
    EXPECT_TRUE(F(u"%p", reinterpret_cast<void*>(0x1234)) == u"0000000000001234");
    EXPECT_TRUE(FA("%s/%S", "n", u"\x00e9") == "n/\xc3\xa9");
}

TEST(WideFormat, FieldsAndNumbers)
{
    EXPECT_TRUE(F(u"[%5s][%-5s][%.2s]", u"ab", u"ab", u"abcdef") == u"[   ab][ab   ][ab]");
    EXPECT_TRUE(F(u"[%05d][%+d][%x][%#X][%o]", 42, 7, 255, 255, 8) == u"[00042][+7][ff][0XFF][10]");
    EXPECT_TRUE(F(u"[%*d][%-*d][%.*f]", 4, 1, 3, 2, 2, 3.14159) == u"[   1][2  ][3.14]");
    EXPECT_TRUE(F(u"%.3f %g %e", 1.0, 0.5, 1e10) == u"1.000 0.5 1.000000e+10");
    EXPECT_TRUE(F(u"%hd %hhu", 70000, 257) == u"4464 1");
}

TEST(WideFormat, HostileFormats)
{
    int target = 5;
    EXPECT_TRUE(F(u"a%nb", &target) == u"ab");
    EXPECT_EQ(target, 5);
    EXPECT_TRUE(F(u"%s", static_cast<const char16_t*>(nullptr)) == u"(null)");
    EXPECT_TRUE(F(u"100%") == u"100%");
    EXPECT_TRUE(F(u"%y%%") == u"%y%");
    EXPECT_TRUE(F(nullptr).empty());
    // Huge widths are clamped, not allocated without bound.
    EXPECT_LE(F(u"%999999999d", 1).size(), 65536u);
    // Precision bounds reading of an unterminated string.
    const char16_t unterminated[3] = {u'x', u'y', u'z'};
    EXPECT_TRUE(F(u"%.3s", unterminated) == u"xyz");
}

TEST(WideFormat, Utf8RoundTrip)
{
    const std::u16string text = u"a\x00e9\x4e2d\xD83D\xDE00";
    std::string utf8 = tracelog::ToUtf8(text.data(), text.size());
    EXPECT_EQ(utf8, "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80");
    EXPECT_TRUE(tracelog::FromUtf8(utf8.data(), utf8.size()) == text);
    // A lone surrogate and a cut sequence become replacement characters.
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(tracelog::ToUtf8(lone, 3), "a\xef\xbf\xbd"
                                         "b");
    EXPECT_TRUE(tracelog::FromUtf8("x\xe4\xb8", 3) == u"x\xFFFD\xFFFD");
}
