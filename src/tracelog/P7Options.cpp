#include "tracelog/P7Options.h"

#include <vector>

namespace tracelog {
namespace {

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

char16_t Lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool IsKeyChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

bool EqualsNoCase(const std::u16string& a, const char16_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return i == a.size() && !b[i];
}

struct OptionStart
{
    size_t keyBegin = 0;
    size_t keyEnd = 0;
};

// Does an option begin at pos? It must follow white space (or the start).
bool MatchOption(const std::u16string& s, size_t pos, OptionStart& match)
{
    if (pos > 0 && !IsSpace(s[pos - 1]))
        return false;
    size_t p = pos;
    bool marked = p < s.size() && (s[p] == u'/' || s[p] == u'-');
    if (marked)
        ++p;
    if (p + 3 > s.size() || Lower(s[p]) != u'p' || s[p + 1] != u'7' || s[p + 2] != u'.')
        return false;
    p += 3;
    size_t keyBegin = p;
    while (p < s.size() && IsKeyChar(s[p]))
        ++p;
    if (p == keyBegin)
        return false;
    // Without its '/' an option needs its '=', so that folder names are
    // not taken for options.
    bool hasValue = p < s.size() && s[p] == u'=';
    if (!hasValue && (!marked || (p < s.size() && !IsSpace(s[p]))))
        return false;
    match.keyBegin = keyBegin;
    match.keyEnd = p;
    return true;
}

std::u16string Trim(const std::u16string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::u16string FirstWord(const std::u16string& value)
{
    std::u16string v = Trim(value);
    size_t e = 0;
    while (e < v.size() && !IsSpace(v[e]))
        ++e;
    v.resize(e);
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"')
        v = v.substr(1, v.size() - 2);
    return v;
}

bool ParseUnsigned(const std::u16string& text, uint64_t limit, uint64_t& value)
{
    if (text.empty())
        return false;
    uint64_t v = 0;
    for (char16_t c : text)
    {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + static_cast<uint64_t>(c - u'0');
        if (v > limit)
            return false;
    }
    value = v;
    return true;
}

}  // namespace

bool ClientOptions::SinkSupported() const
{
    return EqualsNoCase(sink, u"FileBin");
}

bool ParseByteSize(const std::u16string& text, uint64_t& bytes)
{
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    if (digits == 0)
        return false;
    uint64_t number = 0;
    if (!ParseUnsigned(text.substr(0, digits), 1ull << 40, number))
        return false;
    std::u16string unit = text.substr(digits);
    uint64_t scale;
    if (unit.empty() || EqualsNoCase(unit, u"b"))
        scale = 1;
    else if (EqualsNoCase(unit, u"kb") || EqualsNoCase(unit, u"k"))
        scale = 1024;
    else if (EqualsNoCase(unit, u"mb") || EqualsNoCase(unit, u"m"))
        scale = 1024ull * 1024;
    else if (EqualsNoCase(unit, u"gb") || EqualsNoCase(unit, u"g"))
        scale = 1024ull * 1024 * 1024;
    else
        return false;
    bytes = number * scale;
    return true;
}

ClientOptions ParseClientOptions(const char16_t* text)
{
    ClientOptions options;
    if (!text)
        return options;
    const std::u16string s(text);

    size_t pos = 0;
    while (pos < s.size())
    {
        while (pos < s.size() && IsSpace(s[pos]))
            ++pos;
        if (pos >= s.size())
            break;
        OptionStart option;
        if (!MatchOption(s, pos, option))
        {
            // A stray word: skip it.
            while (pos < s.size() && !IsSpace(s[pos]))
                ++pos;
            continue;
        }
        std::u16string key = s.substr(option.keyBegin, option.keyEnd - option.keyBegin);
        pos = option.keyEnd;
        std::u16string value;
        bool quoted = false;
        if (pos < s.size() && s[pos] == u'=')
        {
            ++pos;
            if (pos < s.size() && s[pos] == u'"')
            {
                size_t close = s.find(u'"', pos + 1);
                if (close == std::u16string::npos)
                    close = s.size();
                value = s.substr(pos + 1, close - pos - 1);
                pos = close < s.size() ? close + 1 : close;
                quoted = true;
            }
            else
            {
                size_t end = pos;
                OptionStart next;
                while (end < s.size() && !MatchOption(s, end, next))
                    ++end;
                value = s.substr(pos, end - pos);
                pos = end;
            }
        }

        if (EqualsNoCase(key, u"Dir"))
        {
            std::u16string dir = quoted ? value : Trim(value);
            if (!dir.empty())
            {
                if (dir.back() != u'\\' && dir.back() != u'/')
                    dir.push_back(u'\\');
                options.directory = dir;
            }
        }
        else if (EqualsNoCase(key, u"Sink"))
        {
            std::u16string sink = quoted ? Trim(value) : FirstWord(value);
            if (!sink.empty())
                options.sink = sink;
        }
        else if (EqualsNoCase(key, u"Pool"))
        {
            uint64_t bytes = 0;
            if (ParseByteSize(quoted ? Trim(value) : FirstWord(value), bytes))
                options.poolBytes = static_cast<uint32_t>(
                    bytes < 4096 ? 4096 : (bytes > 16u * 1024 * 1024 ? 16u * 1024 * 1024 : bytes));
        }
        else if (EqualsNoCase(key, u"Files"))
        {
            uint64_t n = 0;
            if (ParseUnsigned(quoted ? Trim(value) : FirstWord(value), 1u << 20, n) && n >= 1)
                options.maxFiles = static_cast<uint32_t>(n > 4096 ? 4096 : n);
        }
        else if (EqualsNoCase(key, u"Roll"))
        {
            uint64_t bytes = 0;
            if (ParseByteSize(quoted ? Trim(value) : FirstWord(value), bytes) && bytes > 0)
                options.rollBytes = bytes < 4096 ? 4096 : (bytes > (2ull << 30) ? (2ull << 30) : bytes);
        }
        // "On" and unknown keys: nothing to do.
    }
    return options;
}

}  // namespace tracelog
