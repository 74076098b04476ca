// The printf family on UTF-16 (and its narrow twin), with the Windows rules:
// %s is the function's own width of string and %S the other one, %hs/%ls
// force narrow/wide, %ld is 32-bit, %I64d/%lld/%zu are 64-bit, %p prints 16
// upper-case hex digits, %n is refused. Numbers are rendered by the C library
// (narrow, locale "C"); strings, characters and padding are ours.
#include <tchar.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

template <typename C>
struct OtherChar;
template <>
struct OtherChar<char16_t>
{
    using type = char;
};
template <>
struct OtherChar<char>
{
    using type = char16_t;
};

void AppendConverted(std::u16string& out, const char* s, size_t n)
{
    if (n == 0)
        return;
    const UINT codePage = _AfxGetCrtCodePage();
    int wide = MultiByteToWideChar(codePage, 0, s, int(n), nullptr, 0);
    size_t at = out.size();
    out.resize(at + size_t(wide));
    MultiByteToWideChar(codePage, 0, s, int(n), reinterpret_cast<LPWSTR>(&out[at]), wide);
}

void AppendConverted(std::string& out, const char16_t* s, size_t n)
{
    if (n == 0)
        return;
    const UINT codePage = _AfxGetCrtCodePage();
    int bytes = WideCharToMultiByte(codePage, 0, s, int(n), nullptr, 0, nullptr, nullptr);
    size_t at = out.size();
    out.resize(at + size_t(bytes));
    WideCharToMultiByte(codePage, 0, s, int(n), &out[at], bytes, nullptr, nullptr);
}

template <typename C>
void AppendAscii(std::basic_string<C>& out, const char* s, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out.push_back(C(static_cast<unsigned char>(s[i])));
}

template <typename C>
size_t Length(const C* s, int precision)
{
    size_t n = 0;
    if (precision < 0)
    {
        while (s[n])
            ++n;
        return n;
    }
    while (n < size_t(precision) && s[n])
        ++n;
    return n;
}

struct FieldFormat
{
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = 0;
    int precision = -1;
    enum Size
    {
        Default,
        Char,
        Short,
        Long32,
        Long64,
        Wide,
        Narrow
    } size = Default;
};

// Pads `body` (already in the output's char type) to the field width.
template <typename C>
void Emit(std::basic_string<C>& out, const std::basic_string<C>& body, const FieldFormat& field,
          bool allowZero)
{
    size_t pad = field.width > 0 && size_t(field.width) > body.size() ? size_t(field.width) - body.size() : 0;
    if (field.left)
    {
        out += body;
        out.append(pad, C(' '));
    }
    else
    {
        out.append(pad, C(allowZero && field.zero ? '0' : ' '));
        out += body;
    }
}

std::string Render(const std::string& fmt, long long v)
{
    char local[128];
    int n = snprintf(local, sizeof local, fmt.c_str(), v);
    if (n < int(sizeof local))
        return std::string(local, size_t(n > 0 ? n : 0));
    std::string big(size_t(n) + 1, '\0');
    snprintf(&big[0], big.size(), fmt.c_str(), v);
    big.resize(size_t(n));
    return big;
}

std::string RenderDouble(const std::string& fmt, double v)
{
    char local[128];
    int n = snprintf(local, sizeof local, fmt.c_str(), v);
    if (n < int(sizeof local))
        return std::string(local, size_t(n > 0 ? n : 0));
    std::string big(size_t(n) + 1, '\0');
    snprintf(&big[0], big.size(), fmt.c_str(), v);
    big.resize(size_t(n));
    return big;
}

std::string NumberFormat(const FieldFormat& field, const char* length, char type)
{
    std::string f = "%";
    if (field.left)
        f += '-';
    if (field.plus)
        f += '+';
    if (field.space)
        f += ' ';
    if (field.alt)
        f += '#';
    if (field.zero)
        f += '0';
    if (field.width > 0)
        f += std::to_string(field.width);
    if (field.precision >= 0)
    {
        f += '.';
        f += std::to_string(field.precision);
    }
    f += length;
    f += type;
    return f;
}

template <typename C>
int FormatTo(std::basic_string<C>& out, const C* fmt, va_list args)
{
    using Other = typename OtherChar<C>::type;
    constexpr bool wideOut = sizeof(C) == 2;
    if (!fmt)
        return -1;
    const C* p = fmt;
    while (*p)
    {
        if (*p != C('%'))
        {
            const C* start = p;
            while (*p && *p != C('%'))
                ++p;
            out.append(start, size_t(p - start));
            continue;
        }
        const C* specStart = p++;
        if (*p == C('%'))
        {
            out.push_back(C('%'));
            ++p;
            continue;
        }
        FieldFormat field;
        for (;; ++p)
        {
            if (*p == C('-'))
                field.left = true;
            else if (*p == C('+'))
                field.plus = true;
            else if (*p == C(' '))
                field.space = true;
            else if (*p == C('#'))
                field.alt = true;
            else if (*p == C('0'))
                field.zero = true;
            else
                break;
        }
        if (*p == C('*'))
        {
            int w = va_arg(args, int);
            if (w < 0)
            {
                field.left = true;
                w = w == INT_MIN ? INT_MAX : -w;
            }
            field.width = w;
            ++p;
        }
        else
        {
            while (*p >= C('0') && *p <= C('9'))
            {
                if (field.width > 100000000)
                    return -1;
                field.width = field.width * 10 + int(*p++ - C('0'));
            }
        }
        if (*p == C('.'))
        {
            ++p;
            field.precision = 0;
            if (*p == C('*'))
            {
                int pr = va_arg(args, int);
                field.precision = pr < 0 ? -1 : pr;
                ++p;
            }
            else
            {
                while (*p >= C('0') && *p <= C('9'))
                {
                    if (field.precision > 100000000)
                        return -1;
                    field.precision = field.precision * 10 + int(*p++ - C('0'));
                }
            }
        }
        // Length modifiers.
        if (*p == C('h'))
        {
            ++p;
            field.size = FieldFormat::Short;
            if (*p == C('h'))
            {
                ++p;
                field.size = FieldFormat::Char;
            }
        }
        else if (*p == C('l'))
        {
            ++p;
            field.size = FieldFormat::Long32;
            if (*p == C('l'))
            {
                ++p;
                field.size = FieldFormat::Long64;
            }
        }
        else if (*p == C('L') || *p == C('q') || *p == C('j') || *p == C('z') || *p == C('t'))
        {
            field.size = *p == C('L') ? FieldFormat::Default : FieldFormat::Long64;
            ++p;
        }
        else if (*p == C('w'))
        {
            ++p;
            field.size = FieldFormat::Wide;
        }
        else if (*p == C('I'))
        {
            if (p[1] == C('6') && p[2] == C('4'))
            {
                p += 3;
                field.size = FieldFormat::Long64;
            }
            else if (p[1] == C('3') && p[2] == C('2'))
            {
                p += 3;
                field.size = FieldFormat::Default;
            }
            else
            {
                ++p;
                field.size = FieldFormat::Long64;  // size_t-sized on x64
            }
        }
        C type = *p;
        if (!type)
        {
            out.append(specStart, size_t(p - specStart));
            break;
        }
        ++p;
        switch (type)
        {
        case C('d'):
        case C('i'):
        {
            long long v;
            if (field.size == FieldFormat::Long64)
                v = va_arg(args, long long);
            else
            {
                int i = va_arg(args, int);
                v = field.size == FieldFormat::Short  ? (long long)(short)i
                    : field.size == FieldFormat::Char ? (long long)(signed char)i
                                                      : (long long)i;
            }
            std::string s = Render(NumberFormat(field, "ll", 'd'), v);
            AppendAscii(out, s.data(), s.size());
            break;
        }
        case C('u'):
        case C('o'):
        case C('x'):
        case C('X'):
        {
            unsigned long long v;
            if (field.size == FieldFormat::Long64)
                v = va_arg(args, unsigned long long);
            else
            {
                unsigned u = va_arg(args, unsigned);
                v = field.size == FieldFormat::Short  ? (unsigned short)u
                    : field.size == FieldFormat::Char ? (unsigned char)u
                                                      : u;
            }
            std::string s = Render(NumberFormat(field, "ll", char(type)), (long long)v);
            AppendAscii(out, s.data(), s.size());
            break;
        }
        case C('e'):
        case C('E'):
        case C('f'):
        case C('F'):
        case C('g'):
        case C('G'):
        case C('a'):
        case C('A'):
        {
            double v = va_arg(args, double);
            std::string s = RenderDouble(NumberFormat(field, "", char(type)), v);
            AppendAscii(out, s.data(), s.size());
            break;
        }
        case C('p'):
        {
            void* v = va_arg(args, void*);
            char digits[32];
            snprintf(digits, sizeof digits, "%016llX", (unsigned long long)(uintptr_t)v);
            std::basic_string<C> body;
            AppendAscii(body, digits, strlen(digits));
            FieldFormat padOnly = field;
            padOnly.zero = false;
            Emit(out, body, padOnly, false);
            break;
        }
        case C('c'):
        case C('C'):
        {
            // Own width unless C, h (narrow) or l/w (wide) says otherwise.
            bool wideArg = wideOut;
            if (type == C('C'))
                wideArg = !wideOut;
            if (field.size == FieldFormat::Short)
                wideArg = false;
            else if (field.size == FieldFormat::Long32 || field.size == FieldFormat::Wide)
                wideArg = true;
            int v = va_arg(args, int);
            std::basic_string<C> body;
            if (wideArg == wideOut)
            {
                body.push_back(C(v));
            }
            else if constexpr (wideOut)
            {
                char ch = char(v);
                AppendConverted(body, &ch, 1);
            }
            else
            {
                char16_t ch = char16_t(v);
                AppendConverted(body, &ch, 1);
            }
            Emit(out, body, field, true);
            break;
        }
        case C('s'):
        case C('S'):
        {
            bool wideArg = wideOut;
            if (type == C('S'))
                wideArg = !wideOut;
            if (field.size == FieldFormat::Short)
                wideArg = false;
            else if (field.size == FieldFormat::Long32 || field.size == FieldFormat::Wide)
                wideArg = true;
            const void* v = va_arg(args, const void*);
            std::basic_string<C> body;
            if (!v)
            {
                const char* nul = "(null)";
                size_t n = field.precision >= 0 ? std::min<size_t>(6, size_t(field.precision)) : 6;
                AppendAscii(body, nul, n);
            }
            else if (wideArg == wideOut)
            {
                const C* s = static_cast<const C*>(v);
                size_t n = Length(s, field.precision);
                // Never cut a surrogate pair in half.
                if (wideOut && field.precision >= 0 && n > 0 && s[n] && IS_HIGH_SURROGATE(s[n - 1]))
                    --n;
                body.assign(s, n);
            }
            else
            {
                const Other* s = static_cast<const Other*>(v);
                std::basic_string<C> converted;
                AppendConverted(converted, s, Length(s, -1));
                size_t n = field.precision >= 0 ? std::min(converted.size(), size_t(field.precision))
                                                : converted.size();
                if (wideOut && n > 0 && n < converted.size() && IS_HIGH_SURROGATE(converted[n - 1]))
                    --n;
                body.assign(converted, 0, n);
            }
            Emit(out, body, field, true);
            break;
        }
        case C('n'):
            return -1;  // writing through an argument is never allowed
        default:
            // Not a conversion: keep the text as written.
            out.append(specStart, size_t(p - specStart));
            break;
        }
    }
    return 0;
}

template <typename C>
int FormatLength(const C* format, va_list args)
{
    std::basic_string<C> out;
    va_list copy;
    va_copy(copy, args);
    int rc = FormatTo(out, format, copy);
    va_end(copy);
    return rc < 0 || out.size() > size_t(INT_MAX) ? -1 : int(out.size());
}

// Formats into buffer[bufferCount] with at most `count` characters
// (_TRUNCATE: as many as fit). Returns the length, or -1 when truncated or
// when the result does not fit at all (then the buffer is emptied).
template <typename C>
int FormatBounded(C* buffer, size_t bufferCount, size_t count, const C* format, va_list args)
{
    if (!buffer || bufferCount == 0)
    {
        errno = EINVAL;
        return -1;
    }
    std::basic_string<C> out;
    va_list copy;
    va_copy(copy, args);
    int rc = format ? FormatTo(out, format, copy) : -1;
    va_end(copy);
    if (rc < 0)
    {
        buffer[0] = 0;
        errno = EINVAL;
        return -1;
    }
    size_t limit = count == _TRUNCATE ? bufferCount - 1 : count;
    if (out.size() <= limit && out.size() < bufferCount)
    {
        memcpy(buffer, out.data(), out.size() * sizeof(C));
        buffer[out.size()] = 0;
        return int(out.size());
    }
    if (limit >= bufferCount)
    {  // the caller's count does not fit its buffer
        buffer[0] = 0;
        errno = ERANGE;
        return -1;
    }
    size_t n = limit;
    if constexpr (sizeof(C) == 2)
    {
        if (n > 0 && IS_HIGH_SURROGATE(out[n - 1]))
            --n;
    }
    memcpy(buffer, out.data(), n * sizeof(C));
    buffer[n] = 0;
    return -1;
}

}  // namespace

int _AfxVFormatW(char16_t* buffer, size_t bufferCount, const char16_t* format, va_list args)
{
    return vswprintf_s(buffer, bufferCount, format, args);
}

int _AfxVFormatA(char* buffer, size_t bufferCount, const char* format, va_list args)
{
    return vsprintf_s(buffer, bufferCount, format, args);
}

int _AfxVFormatLengthW(const char16_t* format, va_list args)
{
    return FormatLength(format, args);
}
int _AfxVFormatLengthA(const char* format, va_list args)
{
    return FormatLength(format, args);
}
int _vscwprintf(const char16_t* format, va_list args)
{
    return FormatLength(format, args);
}
int _vscprintf(const char* format, va_list args)
{
    return FormatLength(format, args);
}

int vswprintf_s(char16_t* buffer, size_t bufferCount, const char16_t* format, va_list args)
{
    return FormatBounded(buffer, bufferCount, bufferCount, format, args);
}

int _vsnwprintf_s(char16_t* buffer, size_t bufferCount, size_t count, const char16_t* format, va_list args)
{
    return FormatBounded(buffer, bufferCount, count, format, args);
}

int vsprintf_s(char* buffer, size_t bufferCount, const char* format, va_list args)
{
    return FormatBounded(buffer, bufferCount, bufferCount, format, args);
}

int _vsnprintf_s(char* buffer, size_t bufferCount, size_t count, const char* format, va_list args)
{
    return FormatBounded(buffer, bufferCount, count, format, args);
}

int _AfxSwprintfImpl(char16_t* buffer, size_t bufferCount, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int rc = FormatBounded(buffer, bufferCount, bufferCount, format, args);
    va_end(args);
    return rc;
}

int _AfxSnwprintfImpl(char16_t* buffer, size_t bufferCount, size_t count, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int rc = FormatBounded(buffer, bufferCount, count, format, args);
    va_end(args);
    return rc;
}

int _AfxScwprintfImpl(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int rc = FormatLength(format, args);
    va_end(args);
    return rc;
}

int _AfxSprintfImpl(char* buffer, size_t bufferCount, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int rc = FormatBounded(buffer, bufferCount, bufferCount, format, args);
    va_end(args);
    return rc;
}

int _AfxSnprintfImpl(char* buffer, size_t bufferCount, size_t count, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int rc = FormatBounded(buffer, bufferCount, count, format, args);
    va_end(args);
    return rc;
}

// For CString: the whole result, no size limit.
int _AfxFormatToStringW(std::u16string& out, const char16_t* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int rc = FormatTo(out, format, copy);
    va_end(copy);
    return rc;
}

int _AfxFormatToStringA(std::string& out, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int rc = FormatTo(out, format, copy);
    va_end(copy);
    return rc;
}
