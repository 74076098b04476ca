// The printf family on UTF-16: every conversion the program uses, with the
// Windows meanings of %s/%S/%ls/%hs, and the _s functions' overflow results.
#include <tchar.h>
#include <climits>
#include <string>
#include "sondrel_gtest.h"

namespace {

std::u16string Fmt(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = _vscwprintf(format, copy);
    va_end(copy);
    std::u16string out;
    if (n >= 0)
    {
        out.resize(size_t(n) + 1);
        int written = vswprintf_s(&out[0], out.size(), format, args);
        EXPECT_EQ(written, n);
        out.resize(size_t(n));
    }
    else
    {
        out = u"<error>";
    }
    va_end(args);
    return out;
}

std::string Fmt8(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char buffer[256];
    int n = vsprintf_s(buffer, sizeof buffer, format, args);
    va_end(args);
    return n < 0 ? std::string("<error>") : std::string(buffer, size_t(n));
}

}  // namespace

TEST(Utf16Format, IntegersWithFlagsWidthAndPrecision)
{
    EXPECT_EQ(Fmt(u"%d|%i|%u", 42, -7, 3000000000u), u"42|-7|3000000000");
    EXPECT_EQ(Fmt(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 42, 42), u"[   42][42   ][-0042][+42][ 42]");
    EXPECT_EQ(Fmt(u"[%.3d][%8.3d][%.0d]", 7, -7, 0), u"[007][    -007][]");
    EXPECT_EQ(Fmt(u"%x %X %#x %o %#o", 255, 255, 255, 8, 8), u"ff FF 0xff 10 010");
    EXPECT_EQ(Fmt(u"[%*d][%-*d][%.*d]", 4, 1, 4, 2, 3, 3), u"[   1][2   ][003]");
    EXPECT_EQ(Fmt(u"[%*d]", -4, 5), u"[5   ]");
    EXPECT_EQ(Fmt(u"%d %d", INT_MIN, INT_MAX), u"-2147483648 2147483647");
    EXPECT_EQ(Fmt(u"%hd %hu %hhd", 70000, 70000, 300), u"4464 4464 44");
}

TEST(Utf16Format, LongIs32BitAndInt64FormsAre64Bit)
{
    LONG l = -5;
    ULONG ul = 0xFFFFFFFFu;
    EXPECT_EQ(Fmt(u"%ld %lu %lx", l, ul, ul), u"-5 4294967295 ffffffff");
    __int64 big = LLONG_MIN, top = LLONG_MAX;
    unsigned __int64 utop = ULLONG_MAX;
    EXPECT_EQ(Fmt(u"%I64d %I64d", big, top), u"-9223372036854775808 9223372036854775807");
    EXPECT_EQ(Fmt(u"%I64u %I64x %I64X", utop, utop, (unsigned __int64)0xABCDEF0123ull),
              u"18446744073709551615 ffffffffffffffff ABCDEF0123");
    EXPECT_EQ(Fmt(u"%lld %llu", (long long)-1, (unsigned long long)1 << 40), u"-1 1099511627776");
    size_t z = size_t(1) << 33;
    EXPECT_EQ(Fmt(u"%zu %Iu %I32d", z, z, -3), u"8589934592 8589934592 -3");
    EXPECT_EQ(Fmt(u"[%20I64d]", (__int64)-12345), u"[              -12345]");
}

TEST(Utf16Format, StringsAndCharactersInBothWidths)
{
    const char16_t* wide = u"w\u00e9de";
    const char* narrow = "narrow";
    EXPECT_EQ(Fmt(u"%s|%ls|%ws", wide, wide, wide), u"w\u00e9de|w\u00e9de|w\u00e9de");
    EXPECT_EQ(Fmt(u"%S|%hs", narrow, narrow), u"narrow|narrow");
    EXPECT_EQ(Fmt(u"[%8s][%-8s][%.2s][%8.3S]", u"abc", u"abc", u"abc", "narrow"),
              u"[     abc][abc     ][ab][     nar]");
    EXPECT_EQ(Fmt(u"%c%c%C%hc%lc", u'a', u'\u20ac', 'b', 'c', u'd'), u"a\u20acbcd");
    EXPECT_EQ(Fmt(u"[%3c][%-3c]", u'x', u'y'), u"[  x][y  ]");
    EXPECT_EQ(Fmt(u"%s %S", (const char16_t*)nullptr, (const char*)nullptr), u"(null) (null)");
    EXPECT_EQ(Fmt(u"100%% %s", u""), u"100% ");
    // In narrow functions the roles swap.
    EXPECT_EQ(Fmt8("%s|%S|%ls|%hs|%C", "n", u"w", u"w2", "n2", u'c'), "n|w|w2|n2|c");
}

TEST(Utf16Format, SurrogatePairsSurviveWidthAndPrecision)
{
    const char16_t* clef = u"\U0001D11Eab";  // two units, then two more
    EXPECT_EQ(Fmt(u"%s", clef), std::u16string(clef));
    EXPECT_EQ(Fmt(u"[%5s]", clef), u"[ \U0001D11Eab]");
    EXPECT_EQ(Fmt(u"[%.2s]", clef), u"[\U0001D11E]");
    // A precision that would split the pair drops the lone high half.
    EXPECT_EQ(Fmt(u"[%.1s]", clef), u"[]");
    EXPECT_EQ(Fmt(u"[%.3s]", clef), u"[\U0001D11Ea]");
}

TEST(Utf16Format, FloatingPointAndPointers)
{
    EXPECT_EQ(Fmt(u"%f %.2f %e %g", 1.5, -2.345, 12345.678, 0.0001), u"1.500000 -2.35 1.234568e+04 0.0001");
    EXPECT_EQ(Fmt(u"[%10.3f][%-10.1f][%+.0f][%010.2f]", 3.14159, 2.0, 2.5, -1.5),
              u"[     3.142][2.0       ][+2][-000001.50]");
    EXPECT_EQ(Fmt(u"%G %E", 1e-10, 1.0), u"1E-10 1.000000E+00");
    EXPECT_EQ(Fmt(u"%p", (void*)0x12ab), u"00000000000012AB");
    EXPECT_EQ(Fmt(u"[%18p]", (void*)0x1), u"[  0000000000000001]");
}

TEST(Utf16Format, PercentNIsRefusedAndOddSpecsAreKept)
{
    int count = 0;
    char16_t buffer[32] = u"untouched";
    EXPECT_EQ(swprintf_s(buffer, u"ab%n", &count), -1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(Fmt(u"50%"), u"50%");
    EXPECT_EQ(Fmt(u"%y%d", 3), u"%y3");
}

TEST(Utf16Format, BoundedFunctionsReportOverflow)
{
    char16_t buf[6];
    EXPECT_EQ(swprintf_s(buf, u"%d", 12345), 5);
    EXPECT_EQ(std::u16string(buf), u"12345");
    // Too small for the whole result: an empty buffer and -1, never a cut.
    EXPECT_EQ(swprintf_s(buf, u"%d", 123456), -1);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(_snwprintf_s(buf, _TRUNCATE, u"%s", u"abcdefgh"), -1);
    EXPECT_EQ(std::u16string(buf), u"abcde");
    EXPECT_EQ(_snwprintf_s(buf, 3, u"%s", u"abcdefgh"), -1);
    EXPECT_EQ(std::u16string(buf), u"abc");
    EXPECT_EQ(_snwprintf_s(buf, 3, u"%s", u"ab"), 2);
    EXPECT_EQ(_snwprintf_s(buf, 6, 10, u"%s", u"abcdefgh"), -1);  // count beyond the buffer
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(swprintf_s(static_cast<char16_t*>(buf), 0, u"%d", 1), -1);
    // A truncation never leaves half a surrogate pair.
    EXPECT_EQ(_snwprintf_s(buf, _TRUNCATE, u"abcd\U0001D11E"), -1);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    EXPECT_EQ(_scwprintf(u"%s=%d", u"key", 10), 6);
    char nbuf[4];
    EXPECT_EQ(sprintf_s(nbuf, "%d", 1234), -1);
    EXPECT_EQ(nbuf[0], 0);
    EXPECT_EQ(_snprintf_s(nbuf, _TRUNCATE, "%s", "abcdef"), -1);
    EXPECT_STREQ(nbuf, "abc");
}
