#include "tracelog/WideFormat.h"

#include <windows.h>

#include <cstdio>
#include <climits>
#include <cstring>
#include <type_traits>

namespace tracelog {
namespace {

// Formatting state of one conversion.
struct FieldFormat
{
    bool left = false;       // '-'
    bool plus = false;       // '+'
    bool space = false;      // ' '
    bool zero = false;       // '0'
    bool alternate = false;  // '#'
    int width = -1;
    int precision = -1;
    enum class Size
    {
        Default,
        Char,
        Short,
        Long,
        LongLong,
        Ptr,
        LongDouble,
        Wide
    } size = Size::Default;
};

// Width and precision beyond this are clamped: nothing sane needs more.
constexpr int kMaxField = 65536;

template <class Ch>
void AppendAscii(std::basic_string<Ch>& out, const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        out.push_back(static_cast<Ch>(static_cast<unsigned char>(text[i])));
}

template <class Ch>
void Pad(std::basic_string<Ch>& out, int count, Ch fill)
{
    if (count > 0)
        out.append(static_cast<size_t>(count), fill);
}

// Appends text of the output's own kind with width, precision and '-'.
template <class Ch>
void AppendField(std::basic_string<Ch>& out, const Ch* text, size_t length, const FieldFormat& field)
{
    if (field.precision >= 0 && length > static_cast<size_t>(field.precision))
        length = static_cast<size_t>(field.precision);
    int pad = field.width > static_cast<int>(length) ? field.width - static_cast<int>(length) : 0;
    if (!field.left)
        Pad(out, pad, Ch(' '));
    out.append(text, length);
    if (field.left)
        Pad(out, pad, Ch(' '));
}

size_t Length(const char* text)
{
    return std::strlen(text);
}
size_t Length(const char16_t* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

// Narrow arguments in wide output are text of the ANSI code page, as on
// Windows; wide arguments in narrow output become UTF-8, the text log's own.
std::u16string Convert(const char* text, size_t length, std::u16string*)
{
    std::u16string result;
    if (length == 0)
        return result;
    int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0)
        return result;
    result.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), reinterpret_cast<WCHAR*>(&result[0]), n);
    return result;
}
std::string Convert(const char16_t* text, size_t length, std::string*)
{
    return ToUtf8(text, length);
}

template <class Ch, class Other>
void AppendString(std::basic_string<Ch>& out, const Other* text, const FieldFormat& field)
{
    if (!text)
    {
        static const char kNull[] = "(null)";
        std::basic_string<Ch> null;
        AppendAscii(null, kNull, sizeof(kNull) - 1);
        AppendField(out, null.data(), null.size(), field);
        return;
    }
    if constexpr (std::is_same_v<Ch, Other>)
    {
        // Precision limits how far a string is read: it need not be terminated.
        size_t length = 0;
        if (field.precision >= 0)
            while (length < static_cast<size_t>(field.precision) && text[length])
                ++length;
        else
            length = Length(text);
        AppendField(out, text, length, field);
    }
    else
    {
        size_t length = 0;
        if (field.precision >= 0)
            while (length < static_cast<size_t>(field.precision) && text[length])
                ++length;
        else
            length = Length(text);
        std::basic_string<Ch> converted = Convert(text, length, static_cast<std::basic_string<Ch>*>(nullptr));
        AppendField(out, converted.data(), converted.size(), field);
    }
}

// The C library's length modifier for long double.
const char kLongDoubleLength[] = {'L', 0};

// Builds the narrow printf format for a numeric conversion and lets the C
// library do the digits, signs and padding.
template <class Ch>
void AppendNumber(std::basic_string<Ch>& out, const FieldFormat& field, const char* length, char conversion,
                  ...)
{
    char format[48];
    char* p = format;
    *p++ = '%';
    if (field.left)
        *p++ = '-';
    if (field.plus)
        *p++ = '+';
    if (field.space)
        *p++ = ' ';
    if (field.zero)
        *p++ = '0';
    if (field.alternate)
        *p++ = '#';
    if (field.width >= 0)
        p += std::snprintf(p, 12, "%d", field.width);
    if (field.precision >= 0)
        p += std::snprintf(p, 13, ".%d", field.precision);
    while (*length)
        *p++ = *length++;
    *p++ = conversion;
    *p = 0;

    char stackBuffer[128];
    va_list args;
    va_start(args, conversion);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(stackBuffer, sizeof(stackBuffer), format, args);
    va_end(args);
    if (n < 0)
    {
        va_end(copy);
        return;
    }
    if (static_cast<size_t>(n) < sizeof(stackBuffer))
    {
        AppendAscii(out, stackBuffer, static_cast<size_t>(n));
    }
    else
    {
        std::string big(static_cast<size_t>(n) + 1, '\0');
        std::vsnprintf(&big[0], big.size(), format, copy);
        AppendAscii(out, big.data(), static_cast<size_t>(n));
    }
    va_end(copy);
}

template <class Ch>
int ReadNumber(const Ch*& p)
{
    long value = 0;
    while (*p >= Ch('0') && *p <= Ch('9'))
    {
        if (value < kMaxField)
            value = value * 10 + (*p - Ch('0'));
        ++p;
    }
    return static_cast<int>(value > kMaxField ? kMaxField : value);
}

template <class Ch>
void FormatImpl(std::basic_string<Ch>& out, const Ch* format, va_list args)
{
    if (!format)
        return;
    const Ch* p = format;
    while (*p)
    {
        if (*p != Ch('%'))
        {
            const Ch* start = p;
            while (*p && *p != Ch('%'))
                ++p;
            out.append(start, static_cast<size_t>(p - start));
            continue;
        }
        const Ch* conversionStart = p;
        ++p;
        if (*p == Ch('%'))
        {
            out.push_back(Ch('%'));
            ++p;
            continue;
        }
        FieldFormat field;
        for (;; ++p)
        {
            if (*p == Ch('-'))
                field.left = true;
            else if (*p == Ch('+'))
                field.plus = true;
            else if (*p == Ch(' '))
                field.space = true;
            else if (*p == Ch('0'))
                field.zero = true;
            else if (*p == Ch('#'))
                field.alternate = true;
            else
                break;
        }
        if (*p == Ch('*'))
        {
            int w = va_arg(args, int);
            if (w < 0)
            {
                field.left = true;
                w = w == INT_MIN ? kMaxField : -w;
            }
            field.width = w > kMaxField ? kMaxField : w;
            ++p;
        }
        else if (*p >= Ch('0') && *p <= Ch('9'))
        {
            field.width = ReadNumber(p);
        }
        if (*p == Ch('.'))
        {
            ++p;
            if (*p == Ch('*'))
            {
                int pr = va_arg(args, int);
                field.precision = pr < 0 ? -1 : (pr > kMaxField ? kMaxField : pr);
                ++p;
            }
            else
            {
                field.precision = ReadNumber(p);
            }
        }
        // Length modifiers, Windows and C99 forms.
        if (*p == Ch('h'))
        {
            ++p;
            field.size = FieldFormat::Size::Short;
            if (*p == Ch('h'))
            {
                ++p;
                field.size = FieldFormat::Size::Char;
            }
        }
        else if (*p == Ch('l'))
        {
            ++p;
            field.size = FieldFormat::Size::Long;
            if (*p == Ch('l'))
            {
                ++p;
                field.size = FieldFormat::Size::LongLong;
            }
        }
        else if (*p == Ch('I'))
        {
            if (p[1] == Ch('6') && p[2] == Ch('4'))
            {
                p += 3;
                field.size = FieldFormat::Size::LongLong;
            }
            else if (p[1] == Ch('3') && p[2] == Ch('2'))
            {
                p += 3;
                field.size = FieldFormat::Size::Default;
            }
            else
            {
                ++p;
                field.size = FieldFormat::Size::Ptr;
            }
        }
        else if (*p == Ch('z') || *p == Ch('t') || *p == Ch('j'))
        {
            ++p;
            field.size = FieldFormat::Size::Ptr;
        }
        else if (*p == Ch('L') || *p == Ch('q'))
        {
            ++p;
            field.size = *p == Ch('f') || *p == Ch('e') || *p == Ch('g') || *p == Ch('E') || *p == Ch('G') ||
                                 *p == Ch('F') || *p == Ch('a') || *p == Ch('A')
                             ? FieldFormat::Size::LongDouble
                             : FieldFormat::Size::LongLong;
        }
        else if (*p == Ch('w'))
        {
            ++p;
            field.size = FieldFormat::Size::Wide;
        }

        const bool wideOut = sizeof(Ch) == 2;
        Ch c = *p;
        if (!c)
        {
            // A lone conversion at the end is written as it stands.
            out.append(conversionStart, static_cast<size_t>(p - conversionStart));
            break;
        }
        ++p;
        switch (c)
        {
        case Ch('d'):
        case Ch('i'):
        {
            long long v;
            switch (field.size)
            {
            case FieldFormat::Size::Char:
                v = static_cast<signed char>(va_arg(args, int));
                break;
            case FieldFormat::Size::Short:
                v = static_cast<short>(va_arg(args, int));
                break;
            case FieldFormat::Size::Long:
                v = static_cast<int>(va_arg(args, long));
                break;  // 32-bit, as on Windows
            case FieldFormat::Size::LongLong:
            case FieldFormat::Size::Ptr:
                v = va_arg(args, long long);
                break;
            default:
                v = va_arg(args, int);
                break;
            }
            AppendNumber(out, field, "ll", 'd', v);
            break;
        }
        case Ch('u'):
        case Ch('o'):
        case Ch('x'):
        case Ch('X'):
        {
            unsigned long long v;
            switch (field.size)
            {
            case FieldFormat::Size::Char:
                v = static_cast<unsigned char>(va_arg(args, unsigned));
                break;
            case FieldFormat::Size::Short:
                v = static_cast<unsigned short>(va_arg(args, unsigned));
                break;
            case FieldFormat::Size::Long:
                v = static_cast<unsigned>(va_arg(args, unsigned long));
                break;
            case FieldFormat::Size::LongLong:
            case FieldFormat::Size::Ptr:
                v = va_arg(args, unsigned long long);
                break;
            default:
                v = va_arg(args, unsigned);
                break;
            }
            AppendNumber(out, field, "ll", static_cast<char>(c), v);
            break;
        }
        case Ch('p'):
        {
            void* v = va_arg(args, void*);
            FieldFormat ptrSpec = field;
            if (ptrSpec.precision < 0)
                ptrSpec.precision = 16;
            ptrSpec.alternate = false;
            AppendNumber(out, ptrSpec, "ll", 'X',
                         static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(v)));
            break;
        }
        case Ch('e'):
        case Ch('E'):
        case Ch('f'):
        case Ch('F'):
        case Ch('g'):
        case Ch('G'):
        case Ch('a'):
        case Ch('A'):
            if (field.size == FieldFormat::Size::LongDouble)
                AppendNumber(out, field, kLongDoubleLength, static_cast<char>(c), va_arg(args, long double));
            else
                AppendNumber(out, field, "", static_cast<char>(c), va_arg(args, double));
            break;
        case Ch('c'):
        case Ch('C'):
        {
            // %c is the output's own kind unless h (narrow) or l/w (wide) says otherwise.
            bool argWide = (c == Ch('c')) == wideOut;
            if (field.size == FieldFormat::Size::Short)
                argWide = false;
            if (field.size == FieldFormat::Size::Long || field.size == FieldFormat::Size::Wide)
                argWide = true;
            int value = va_arg(args, int);
            if (argWide)
            {
                char16_t ch[2] = {static_cast<char16_t>(value), 0};
                AppendString(out, ch, field);
            }
            else
            {
                char ch[2] = {static_cast<char>(value), 0};
                AppendString(out, ch, field);
            }
            break;
        }
        case Ch('s'):
        case Ch('S'):
        {
            bool argWide = (c == Ch('s')) == wideOut;
            if (field.size == FieldFormat::Size::Short)
                argWide = false;
            if (field.size == FieldFormat::Size::Long || field.size == FieldFormat::Size::Wide)
                argWide = true;
            if (argWide)
                AppendString(out, va_arg(args, const char16_t*), field);
            else
                AppendString(out, va_arg(args, const char*), field);
            break;
        }
        case Ch('n'):
            // Writing through a pointer from a format string is never wanted.
            (void)va_arg(args, void*);
            break;
        default:
            // Unknown conversion: written as it stands, no argument taken.
            out.append(conversionStart, static_cast<size_t>(p - conversionStart));
            break;
        }
    }
}

}  // namespace

void AppendFormatV(std::u16string& out, const char16_t* format, va_list args)
{
    FormatImpl(out, format, args);
}

void AppendFormatV(std::string& out, const char* format, va_list args)
{
    FormatImpl(out, format, args);
}

std::string ToUtf8(const char16_t* text, size_t length)
{
    std::string out;
    out.reserve(length + length / 2);
    for (size_t i = 0; i < length; ++i)
    {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (cp >= 0xD800 && cp <= 0xDFFF)
        {
            cp = 0xFFFD;
        }
        if (cp < 0x80)
        {
            out.push_back(static_cast<char>(cp));
        }
        else if (cp < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else if (cp < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(const char* text, size_t length)
{
    std::u16string out;
    out.reserve(length);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length)
    {
        unsigned char b = s[i];
        char32_t cp;
        int extra;
        if (b < 0x80)
        {
            cp = b;
            extra = 0;
        }
        else if ((b & 0xE0) == 0xC0)
        {
            cp = b & 0x1F;
            extra = 1;
        }
        else if ((b & 0xF0) == 0xE0)
        {
            cp = b & 0x0F;
            extra = 2;
        }
        else if ((b & 0xF8) == 0xF0)
        {
            cp = b & 0x07;
            extra = 3;
        }
        else
        {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = i + static_cast<size_t>(extra) < length;
        for (int k = 1; ok && k <= extra; ++k)
        {
            unsigned char cb = s[i + k];
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (cb & 0x3F);
        }
        if (!ok || (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (cp >= 0x10000)
        {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        }
        else
        {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

}  // namespace tracelog
