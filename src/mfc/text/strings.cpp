// Lengths, copies, compares, searches, character classes and case mapping
// on UTF-16, plus the few narrow helpers that are glibc underneath.
#include <tchar.h>

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

char16_t FoldLower(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    WCHAR buf[1] = {c};
    CharLowerBuffW(buf, 1);
    return buf[0];
}

char16_t FoldUpper(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    WCHAR buf[1] = {c};
    CharUpperBuffW(buf, 1);
    return buf[0];
}

WORD CharType(int c)
{
    WORD type = 0;
    WCHAR ch = WCHAR(c);
    if (c < 0 || c > 0xFFFF || !GetStringTypeW(CT_CTYPE1, &ch, 1, &type))
        return 0;
    return type;
}

bool InSet(char16_t c, const char16_t* set)
{
    for (; *set; ++set)
        if (*set == c)
            return true;
    return false;
}

}  // namespace

size_t _tcslen(const char16_t* s)
{
    const char16_t* p = s;
    while (*p)
        ++p;
    return size_t(p - s);
}

size_t _tcsnlen(const char16_t* s, size_t maxCount)
{
    size_t n = 0;
    while (n < maxCount && s[n])
        ++n;
    return n;
}

errno_t _tcscpy_s(char16_t* dest, size_t destSize, const char16_t* src)
{
    if (!dest || destSize == 0)
        return EINVAL;
    if (!src)
    {
        dest[0] = 0;
        return EINVAL;
    }
    size_t len = _tcslen(src);
    if (len >= destSize)
    {
        dest[0] = 0;
        return ERANGE;
    }
    memcpy(dest, src, (len + 1) * sizeof(char16_t));
    return 0;
}

errno_t _tcsncpy_s(char16_t* dest, size_t destSize, const char16_t* src, size_t count)
{
    if (!dest)
    {
        return (destSize == 0 && count == 0) ? 0 : EINVAL;
    }
    if (destSize == 0)
        return EINVAL;
    if (count == 0)
    {
        dest[0] = 0;
        return 0;
    }
    if (!src)
    {
        dest[0] = 0;
        return EINVAL;
    }
    size_t len = _tcsnlen(src, count == _TRUNCATE ? destSize : count);
    if (count == _TRUNCATE && len >= destSize)
    {
        memcpy(dest, src, (destSize - 1) * sizeof(char16_t));
        dest[destSize - 1] = 0;
        return STRUNCATE;
    }
    if (len >= destSize)
    {
        dest[0] = 0;
        return ERANGE;
    }
    memcpy(dest, src, len * sizeof(char16_t));
    dest[len] = 0;
    return 0;
}

errno_t _tcscat_s(char16_t* dest, size_t destSize, const char16_t* src)
{
    return _tcsncat_s(dest, destSize, src, (size_t)-2);
}

errno_t _tcsncat_s(char16_t* dest, size_t destSize, const char16_t* src, size_t count)
{
    if (!dest || destSize == 0)
        return EINVAL;
    size_t have = _tcsnlen(dest, destSize);
    if (have == destSize)
    {  // not terminated within its buffer
        dest[0] = 0;
        return EINVAL;
    }
    if (!src)
    {
        if (count == 0)
            return 0;
        dest[0] = 0;
        return EINVAL;
    }
    size_t room = destSize - have;  // includes the terminator
    size_t len = _tcsnlen(src, count == _TRUNCATE ? room : count);
    if (count == _TRUNCATE && len >= room)
    {
        memcpy(dest + have, src, (room - 1) * sizeof(char16_t));
        dest[destSize - 1] = 0;
        return STRUNCATE;
    }
    if (len >= room)
    {
        dest[0] = 0;
        return ERANGE;
    }
    memcpy(dest + have, src, len * sizeof(char16_t));
    dest[have + len] = 0;
    return 0;
}

int _tcscmp(const char16_t* a, const char16_t* b)
{
    while (*a && *a == *b)
    {
        ++a;
        ++b;
    }
    return *a == *b ? 0 : (*a < *b ? -1 : 1);
}

int _tcsncmp(const char16_t* a, const char16_t* b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
        if (!a[i])
            break;
    }
    return 0;
}

int _wcsicmp(const char16_t* a, const char16_t* b)
{
    return _wcsnicmp(a, b, (size_t)-1);
}

int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        char16_t ca = FoldLower(a[i]), cb = FoldLower(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!ca)
            break;
    }
    return 0;
}

int _tcscoll(const char16_t* a, const char16_t* b)
{
    return CompareStringW(LOCALE_USER_DEFAULT, 0, a, -1, b, -1) - CSTR_EQUAL;
}

int _wcsicoll(const char16_t* a, const char16_t* b)
{
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL;
}

char16_t* _tcschr(const char16_t* s, char16_t c)
{
    for (;; ++s)
    {
        if (*s == c)
            return const_cast<char16_t*>(s);
        if (!*s)
            return nullptr;
    }
}

char16_t* _tcsrchr(const char16_t* s, char16_t c)
{
    const char16_t* found = nullptr;
    for (;; ++s)
    {
        if (*s == c)
            found = s;
        if (!*s)
            return const_cast<char16_t*>(found);
    }
}

char16_t* _tcsstr(const char16_t* s, const char16_t* find)
{
    if (!*find)
        return const_cast<char16_t*>(s);
    for (; *s; ++s)
    {
        const char16_t* a = s;
        const char16_t* b = find;
        while (*a && *a == *b)
        {
            ++a;
            ++b;
        }
        if (!*b)
            return const_cast<char16_t*>(s);
    }
    return nullptr;
}

size_t _tcsspn(const char16_t* s, const char16_t* set)
{
    size_t n = 0;
    while (s[n] && InSet(s[n], set))
        ++n;
    return n;
}

size_t _tcscspn(const char16_t* s, const char16_t* set)
{
    size_t n = 0;
    while (s[n] && !InSet(s[n], set))
        ++n;
    return n;
}

char16_t* _tcspbrk(const char16_t* s, const char16_t* set)
{
    size_t n = _tcscspn(s, set);
    return s[n] ? const_cast<char16_t*>(s + n) : nullptr;
}

char16_t* _tcstok_s(char16_t* s, const char16_t* delim, char16_t** context)
{
    if (!context || !delim || (!s && !*context))
    {
        errno = EINVAL;
        return nullptr;
    }
    char16_t* p = s ? s : *context;
    p += _tcsspn(p, delim);
    if (!*p)
    {
        *context = p;
        return nullptr;
    }
    char16_t* token = p;
    p += _tcscspn(p, delim);
    if (*p)
        *p++ = 0;
    *context = p;
    return token;
}

char16_t* _wcsdup(const char16_t* s)
{
    if (!s)
        return nullptr;
    size_t bytes = (_tcslen(s) + 1) * sizeof(char16_t);
    char16_t* copy = static_cast<char16_t*>(malloc(bytes));
    if (copy)
        memcpy(copy, s, bytes);
    return copy;
}

static errno_t MapCase(char16_t* s, size_t size, bool upper)
{
    if (!s)
    {
        errno = EINVAL;
        return EINVAL;
    }
    size_t len = _tcsnlen(s, size);
    if (len == size)
    {
        if (size)
            s[0] = 0;
        errno = EINVAL;
        return EINVAL;
    }
    if (len)
    {
        if (upper)
            CharUpperBuffW(s, DWORD(len));
        else
            CharLowerBuffW(s, DWORD(len));
    }
    return 0;
}

errno_t _wcslwr_s(char16_t* s, size_t size)
{
    return MapCase(s, size, false);
}
errno_t _wcsupr_s(char16_t* s, size_t size)
{
    return MapCase(s, size, true);
}

char16_t* _wcslwr(char16_t* s)
{
    if (s && *s)
        CharLowerBuffW(s, DWORD(_tcslen(s)));
    return s;
}

char16_t* _wcsupr(char16_t* s)
{
    if (s && *s)
        CharUpperBuffW(s, DWORD(_tcslen(s)));
    return s;
}

char16_t* _wcsrev(char16_t* s)
{
    // Surrogate pairs stay in order so the reversed text is still valid UTF-16.
    size_t len = _tcslen(s);
    for (size_t i = 0, j = len; i + 1 < j; ++i, --j)
        std::swap(s[i], s[j - 1]);
    for (size_t i = 0; i + 1 < len; ++i)
    {
        if (IS_LOW_SURROGATE(s[i]) && IS_HIGH_SURROGATE(s[i + 1]))
        {
            std::swap(s[i], s[i + 1]);
            ++i;
        }
    }
    return s;
}

// ---------------------------------------------------------------------------
int _istdigit(int c)
{
    return c >= '0' && c <= '9';
}
int _istxdigit(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int _istspace(int c)
{
    return c < 0x80 ? (c == ' ' || (c >= 9 && c <= 13)) : (CharType(c) & C1_SPACE) != 0;
}
int _istalpha(int c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return (CharType(c) & C1_ALPHA) != 0;
}
int _istalnum(int c)
{
    return _istdigit(c) || _istalpha(c);
}
int _istupper(int c)
{
    return c < 0x80 ? (c >= 'A' && c <= 'Z') : (CharType(c) & C1_UPPER) != 0;
}
int _istlower(int c)
{
    return c < 0x80 ? (c >= 'a' && c <= 'z') : (CharType(c) & C1_LOWER) != 0;
}
int _istpunct(int c)
{
    return (CharType(c) & C1_PUNCT) != 0;
}
int _istcntrl(int c)
{
    return (CharType(c) & C1_CNTRL) != 0;
}
int _istprint(int c)
{
    return c >= 0x20 && !_istcntrl(c) && c <= 0xFFFF;
}
int _istgraph(int c)
{
    return _istprint(c) && !_istspace(c);
}
int _totupper(int c)
{
    return (c < 0 || c > 0xFFFF) ? c : FoldUpper(char16_t(c));
}
int _totlower(int c)
{
    return (c < 0 || c > 0xFFFF) ? c : FoldLower(char16_t(c));
}

// ---------------------------------------------------------------------------
int _stricmp(const char* a, const char* b)
{
    return strcasecmp(a, b);
}
int _strnicmp(const char* a, const char* b, size_t count)
{
    return strncasecmp(a, b, count);
}
char* _strdup(const char* s)
{
    return s ? strdup(s) : nullptr;
}

errno_t strcpy_s(char* dest, size_t destSize, const char* src)
{
    return strncpy_s(dest, destSize, src, (size_t)-2);
}

errno_t strncpy_s(char* dest, size_t destSize, const char* src, size_t count)
{
    if (!dest || destSize == 0)
        return EINVAL;
    if (!src)
    {
        dest[0] = 0;
        return EINVAL;
    }
    size_t len = strnlen(src, count == _TRUNCATE ? destSize : count);
    if (count == _TRUNCATE && len >= destSize)
    {
        memcpy(dest, src, destSize - 1);
        dest[destSize - 1] = 0;
        return STRUNCATE;
    }
    if (len >= destSize)
    {
        dest[0] = 0;
        return ERANGE;
    }
    memcpy(dest, src, len);
    dest[len] = 0;
    return 0;
}

errno_t strcat_s(char* dest, size_t destSize, const char* src)
{
    if (!dest || destSize == 0)
        return EINVAL;
    size_t have = strnlen(dest, destSize);
    if (have == destSize || !src)
    {
        dest[0] = 0;
        return EINVAL;
    }
    size_t len = strlen(src);
    if (have + len >= destSize)
    {
        dest[0] = 0;
        return ERANGE;
    }
    memcpy(dest + have, src, len + 1);
    return 0;
}

static errno_t MapCaseA(char* s, size_t size, bool upper)
{
    if (!s)
        return EINVAL;
    size_t len = strnlen(s, size);
    if (len == size)
    {
        if (size)
            s[0] = 0;
        return EINVAL;
    }
    if (len)
    {
        if (upper)
            CharUpperBuffA(s, DWORD(len));
        else
            CharLowerBuffA(s, DWORD(len));
    }
    return 0;
}

errno_t _strlwr_s(char* s, size_t size)
{
    return MapCaseA(s, size, false);
}
errno_t _strupr_s(char* s, size_t size)
{
    return MapCaseA(s, size, true);
}
