// Integer and floating parsing and number-to-text on UTF-16, with the Windows
// widths: long is 32-bit, __int64 is 64-bit; out-of-range values saturate and
// set errno to ERANGE.
#include <tchar.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsSpace(unsigned c)
{
    return c == ' ' || (c >= 9 && c <= 13) || (c >= 0x80 && c <= 0xFFFF && _istspace(int(c)));
}

int DigitValue(unsigned c)
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'z')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return int(c - 'A' + 10);
    return 99;
}

// Parses like strtoull with a sign; `magnitude` is clamped to `limit` (the
// largest magnitude allowed for the sign found) and `overflow` set.
template <typename C>
bool ParseInteger(const C* s, C** end, int base, unsigned long long& magnitude, bool& negative,
                  bool& overflow)
{
    magnitude = 0;
    negative = false;
    overflow = false;
    if (end)
        *end = const_cast<C*>(s);
    if (!s || base < 0 || base == 1 || base > 36)
    {
        errno = EINVAL;
        return false;
    }
    const C* p = s;
    while (IsSpace(unsigned(*p)))
        ++p;
    if (*p == C('-') || *p == C('+'))
        negative = *p++ == C('-');
    if ((base == 0 || base == 16) && p[0] == C('0') && (p[1] == C('x') || p[1] == C('X')) &&
        DigitValue(unsigned(p[2])) < 16)
    {
        p += 2;
        base = 16;
    }
    else if (base == 0)
    {
        base = p[0] == C('0') ? 8 : 10;
    }
    const C* digits = p;
    while (DigitValue(unsigned(*p)) < base)
    {
        unsigned d = unsigned(DigitValue(unsigned(*p)));
        if (magnitude > (ULLONG_MAX - d) / unsigned(base))
            overflow = true;
        else
            magnitude = magnitude * unsigned(base) + d;
        ++p;
    }
    if (p == digits)
        return false;  // no digits: *end stays at the start
    if (end)
        *end = const_cast<C*>(p);
    return true;
}

template <typename C, typename T>
T ParseSigned(const C* s, C** end, int base, long long minValue, long long maxValue)
{
    unsigned long long m;
    bool neg, overflow;
    if (!ParseInteger(s, end, base, m, neg, overflow))
        return 0;
    unsigned long long limit = neg ? (unsigned long long)(-(minValue + 1)) + 1 : (unsigned long long)maxValue;
    if (overflow || m > limit)
    {
        errno = ERANGE;
        return T(neg ? minValue : maxValue);
    }
    return neg ? T(-(long long)(m - 1) - 1) : T(m);
}

// strtoul semantics: a minus sign negates in the unsigned type.
template <typename C, typename T>
T ParseUnsigned(const C* s, C** end, int base, unsigned long long maxValue)
{
    unsigned long long m;
    bool neg, overflow;
    if (!ParseInteger(s, end, base, m, neg, overflow))
        return 0;
    if (overflow || m > maxValue)
    {
        errno = ERANGE;
        return T(maxValue);
    }
    return neg ? T(0 - T(m)) : T(m);
}

template <typename C>
errno_t ToText(unsigned long long magnitude, bool negative, C* buffer, size_t size, int radix)
{
    if (!buffer || size == 0)
        return EINVAL;
    if (radix < 2 || radix > 36)
    {
        buffer[0] = 0;
        return EINVAL;
    }
    char digits[72];
    size_t n = 0;
    do
    {
        unsigned d = unsigned(magnitude % unsigned(radix));
        digits[n++] = char(d < 10 ? '0' + d : 'a' + d - 10);
        magnitude /= unsigned(radix);
    } while (magnitude);
    if (negative)
        digits[n++] = '-';
    if (n + 1 > size)
    {
        buffer[0] = 0;
        return ERANGE;
    }
    for (size_t i = 0; i < n; ++i)
        buffer[i] = C(digits[n - 1 - i]);
    buffer[n] = 0;
    return 0;
}

// Signed conversions print a minus only in radix 10; other radices show the
// two's complement of the value's own width, as the Windows runtime does.
template <typename C, typename S, typename U>
errno_t SignedToText(S value, C* buffer, size_t size, int radix)
{
    if (radix == 10 && value < 0)
        return ToText((unsigned long long)(0 - U(value)), true, buffer, size, radix);
    return ToText((unsigned long long)U(value), false, buffer, size, radix);
}

}  // namespace

LONG _tcstol(const char16_t* s, char16_t** end, int base)
{
    return ParseSigned<char16_t, LONG>(s, end, base, INT_MIN, INT_MAX);
}
ULONG _tcstoul(const char16_t* s, char16_t** end, int base)
{
    return ParseUnsigned<char16_t, ULONG>(s, end, base, UINT_MAX);
}
__int64 _wcstoi64(const char16_t* s, char16_t** end, int base)
{
    return ParseSigned<char16_t, __int64>(s, end, base, LLONG_MIN, LLONG_MAX);
}
unsigned __int64 _wcstoui64(const char16_t* s, char16_t** end, int base)
{
    return ParseUnsigned<char16_t, unsigned __int64>(s, end, base, ULLONG_MAX);
}
int _wtoi(const char16_t* s)
{
    return s ? ParseSigned<char16_t, int>(s, nullptr, 10, INT_MIN, INT_MAX) : 0;
}
LONG _wtol(const char16_t* s)
{
    return s ? ParseSigned<char16_t, LONG>(s, nullptr, 10, INT_MIN, INT_MAX) : 0;
}
__int64 _wtoi64(const char16_t* s)
{
    return s ? ParseSigned<char16_t, __int64>(s, nullptr, 10, LLONG_MIN, LLONG_MAX) : 0;
}

double _tcstod(const char16_t* s, char16_t** end)
{
    if (end)
        *end = const_cast<char16_t*>(s);
    if (!s)
    {
        errno = EINVAL;
        return 0.0;
    }
    const char16_t* p = s;
    while (IsSpace(unsigned(*p)))
        ++p;
    // The C library parses the ASCII run; anything beyond ASCII ends a number.
    std::string narrow;
    for (const char16_t* q = p; *q && *q < 0x80; ++q)
        narrow.push_back(char(*q));
    char* stop = nullptr;
    double v = strtod(narrow.c_str(), &stop);
    if (stop == narrow.c_str())
        return 0.0;
    if (end)
        *end = const_cast<char16_t*>(p + (stop - narrow.c_str()));
    return v;
}

double _wtof(const char16_t* s)
{
    return s ? _tcstod(s, nullptr) : 0.0;
}

errno_t _itow_s(int value, char16_t* buffer, size_t size, int radix)
{
    return SignedToText<char16_t, int, unsigned>(value, buffer, size, radix);
}
errno_t _ltow_s(LONG value, char16_t* buffer, size_t size, int radix)
{
    return SignedToText<char16_t, LONG, ULONG>(value, buffer, size, radix);
}
errno_t _ultow_s(ULONG value, char16_t* buffer, size_t size, int radix)
{
    return ToText(value, false, buffer, size, radix);
}
errno_t _i64tow_s(__int64 value, char16_t* buffer, size_t size, int radix)
{
    return SignedToText<char16_t, __int64, unsigned __int64>(value, buffer, size, radix);
}
errno_t _ui64tow_s(unsigned __int64 value, char16_t* buffer, size_t size, int radix)
{
    return ToText(value, false, buffer, size, radix);
}

__int64 _atoi64(const char* s)
{
    return s ? ParseSigned<char, __int64>(s, nullptr, 10, LLONG_MIN, LLONG_MAX) : 0;
}
__int64 _strtoi64(const char* s, char** end, int base)
{
    return ParseSigned<char, __int64>(s, end, base, LLONG_MIN, LLONG_MAX);
}
unsigned __int64 _strtoui64(const char* s, char** end, int base)
{
    return ParseUnsigned<char, unsigned __int64>(s, end, base, ULLONG_MAX);
}
errno_t _itoa_s(int value, char* buffer, size_t size, int radix)
{
    return SignedToText<char, int, unsigned>(value, buffer, size, radix);
}
errno_t _ltoa_s(LONG value, char* buffer, size_t size, int radix)
{
    return SignedToText<char, LONG, ULONG>(value, buffer, size, radix);
}
errno_t _i64toa_s(__int64 value, char* buffer, size_t size, int radix)
{
    return SignedToText<char, __int64, unsigned __int64>(value, buffer, size, radix);
}
errno_t _ui64toa_s(unsigned __int64 value, char* buffer, size_t size, int radix)
{
    return ToText(value, false, buffer, size, radix);
}
