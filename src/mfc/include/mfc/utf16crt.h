// The wide C runtime on UTF-16. WCHAR is char16_t under Winelib and glibc's
// wchar_t functions are 32-bit, so every wide function the program calls is
// ours: written on char16_t, with case mapping and character classes taken
// from Win32 so they agree with the rest of the system.
//
// Names follow the Windows runtime. Functions whose Windows name is a bare
// wcsXXX are provided under their generic _tcsXXX name only (tchar.h maps the
// rest). Formatting follows the Windows rules: in wide functions %s is a wide
// string and %S a narrow one; %ld is 32-bit (long is 32-bit on Windows);
// %I64d, %lld and %zu are 64-bit; %n is refused.
#pragma once

#include <windows.h>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <type_traits>
#include <utility>

#ifndef _ERRNO_T_DEFINED
#define _ERRNO_T_DEFINED
typedef int errno_t;
#endif
#ifndef _TRUNCATE
#define _TRUNCATE ((size_t)-1)
#endif
#ifndef STRUNCATE
#define STRUNCATE 80
#endif
#ifndef _MAX_PATH
#define _MAX_PATH 260
#endif
#ifndef _MAX_DRIVE
#define _MAX_DRIVE 3
#endif
#ifndef _MAX_DIR
#define _MAX_DIR 256
#endif
#ifndef _MAX_FNAME
#define _MAX_FNAME 256
#endif
#ifndef _MAX_EXT
#define _MAX_EXT 256
#endif

// ---------------------------------------------------------------------------
// Lengths, copies, compares and searches.
size_t _tcslen(const char16_t* s);
size_t _tcsnlen(const char16_t* s, size_t maxCount);
errno_t _tcscpy_s(char16_t* dest, size_t destSize, const char16_t* src);
errno_t _tcsncpy_s(char16_t* dest, size_t destSize, const char16_t* src, size_t count);
errno_t _tcscat_s(char16_t* dest, size_t destSize, const char16_t* src);
errno_t _tcsncat_s(char16_t* dest, size_t destSize, const char16_t* src, size_t count);
int _tcscmp(const char16_t* a, const char16_t* b);
int _tcsncmp(const char16_t* a, const char16_t* b, size_t count);
int _wcsicmp(const char16_t* a, const char16_t* b);
int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count);
int _wcsicoll(const char16_t* a, const char16_t* b);
int _tcscoll(const char16_t* a, const char16_t* b);
char16_t* _tcschr(const char16_t* s, char16_t c);
char16_t* _tcsrchr(const char16_t* s, char16_t c);
char16_t* _tcsstr(const char16_t* s, const char16_t* find);
size_t _tcsspn(const char16_t* s, const char16_t* set);
size_t _tcscspn(const char16_t* s, const char16_t* set);
char16_t* _tcspbrk(const char16_t* s, const char16_t* set);
char16_t* _tcstok_s(char16_t* s, const char16_t* delim, char16_t** context);
char16_t* _wcsdup(const char16_t* s);  // release with free()
errno_t _wcslwr_s(char16_t* s, size_t size);
errno_t _wcsupr_s(char16_t* s, size_t size);
char16_t* _wcslwr(char16_t* s);
char16_t* _wcsupr(char16_t* s);
char16_t* _wcsrev(char16_t* s);

template <size_t N>
inline errno_t _tcscpy_s(char16_t (&dest)[N], const char16_t* src)
{
    return _tcscpy_s(dest, N, src);
}
template <size_t N>
inline errno_t _tcsncpy_s(char16_t (&dest)[N], const char16_t* src, size_t count)
{
    return _tcsncpy_s(dest, N, src, count);
}
template <size_t N>
inline errno_t _tcscat_s(char16_t (&dest)[N], const char16_t* src)
{
    return _tcscat_s(dest, N, src);
}
template <size_t N>
inline errno_t _tcsncat_s(char16_t (&dest)[N], const char16_t* src, size_t count)
{
    return _tcsncat_s(dest, N, src, count);
}
template <size_t N>
inline errno_t _wcslwr_s(char16_t (&s)[N])
{
    return _wcslwr_s(s, N);
}
template <size_t N>
inline errno_t _wcsupr_s(char16_t (&s)[N])
{
    return _wcsupr_s(s, N);
}

// ---------------------------------------------------------------------------
// Character classes and case mapping (Win32's tables, not the C locale).
int _istdigit(int c);
int _istxdigit(int c);
int _istspace(int c);
int _istalpha(int c);
int _istalnum(int c);
int _istupper(int c);
int _istlower(int c);
int _istpunct(int c);
int _istcntrl(int c);
int _istprint(int c);
int _istgraph(int c);
int _totupper(int c);
int _totlower(int c);

// ---------------------------------------------------------------------------
// Formatting. The variadic entry points are templates so that string objects
// with GetString() (CString, CStringA) can be passed as they are, as MFC code
// does; they are handed on as their character pointers.
template <typename T, typename = void>
struct _AfxHasGetString : std::false_type
{
};
template <typename T>
struct _AfxHasGetString<T, std::void_t<decltype(std::declval<const T&>().GetString())>>
    : std::is_pointer<decltype(std::declval<const T&>().GetString())>
{
};

template <typename T>
inline decltype(auto) _AfxFormatArg(T&& value)
{
    if constexpr (_AfxHasGetString<std::decay_t<T>>::value)
        return value.GetString();
    else
        return std::forward<T>(value);
}

// The engines. Return the length written, or -1 on a format error (%n, a
// bad argument) or when the output did not fit.
int _AfxVFormatW(char16_t* buffer, size_t bufferCount, const char16_t* format, va_list args);
int _AfxVFormatA(char* buffer, size_t bufferCount, const char* format, va_list args);
int _AfxVFormatLengthW(const char16_t* format, va_list args);  // -1 on a format error
int _AfxVFormatLengthA(const char* format, va_list args);

int _vscwprintf(const char16_t* format, va_list args);
int vswprintf_s(char16_t* buffer, size_t bufferCount, const char16_t* format, va_list args);
int _vsnwprintf_s(char16_t* buffer, size_t bufferCount, size_t count, const char16_t* format, va_list args);
int _AfxSwprintfImpl(char16_t* buffer, size_t bufferCount, const char16_t* format, ...);
int _AfxSnwprintfImpl(char16_t* buffer, size_t bufferCount, size_t count, const char16_t* format, ...);
int _AfxScwprintfImpl(const char16_t* format, ...);

template <size_t N>
inline int vswprintf_s(char16_t (&buffer)[N], const char16_t* format, va_list args)
{
    return vswprintf_s(buffer, N, format, args);
}
template <size_t N>
inline int _vsnwprintf_s(char16_t (&buffer)[N], size_t count, const char16_t* format, va_list args)
{
    return _vsnwprintf_s(buffer, N, count, format, args);
}

template <typename... A>
inline int swprintf_s(char16_t* buffer, size_t bufferCount, const char16_t* format, A&&... args)
{
    return _AfxSwprintfImpl(buffer, bufferCount, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <size_t N, typename... A>
inline int swprintf_s(char16_t (&buffer)[N], const char16_t* format, A&&... args)
{
    return _AfxSwprintfImpl(buffer, N, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <typename... A>
inline int _snwprintf_s(char16_t* buffer, size_t bufferCount, size_t count, const char16_t* format,
                        A&&... args)
{
    return _AfxSnwprintfImpl(buffer, bufferCount, count, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <size_t N, typename... A>
inline int _snwprintf_s(char16_t (&buffer)[N], size_t count, const char16_t* format, A&&... args)
{
    return _AfxSnwprintfImpl(buffer, N, count, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <typename... A>
inline int _scwprintf(const char16_t* format, A&&... args)
{
    return _AfxScwprintfImpl(format, _AfxFormatArg(std::forward<A>(args))...);
}

// Narrow counterparts with the same rules (%s narrow, %S wide).
int _vscprintf(const char* format, va_list args);
int vsprintf_s(char* buffer, size_t bufferCount, const char* format, va_list args);
int _vsnprintf_s(char* buffer, size_t bufferCount, size_t count, const char* format, va_list args);
int _AfxSprintfImpl(char* buffer, size_t bufferCount, const char* format, ...);
int _AfxSnprintfImpl(char* buffer, size_t bufferCount, size_t count, const char* format, ...);

template <typename... A>
inline int sprintf_s(char* buffer, size_t bufferCount, const char* format, A&&... args)
{
    return _AfxSprintfImpl(buffer, bufferCount, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <size_t N, typename... A>
inline int sprintf_s(char (&buffer)[N], const char* format, A&&... args)
{
    return _AfxSprintfImpl(buffer, N, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <typename... A>
inline int _snprintf_s(char* buffer, size_t bufferCount, size_t count, const char* format, A&&... args)
{
    return _AfxSnprintfImpl(buffer, bufferCount, count, format, _AfxFormatArg(std::forward<A>(args))...);
}
template <size_t N, typename... A>
inline int _snprintf_s(char (&buffer)[N], size_t count, const char* format, A&&... args)
{
    return _AfxSnprintfImpl(buffer, N, count, format, _AfxFormatArg(std::forward<A>(args))...);
}

// ---------------------------------------------------------------------------
// Parsing and number-to-text. long is 32-bit on Windows, so the "l" forms
// work on LONG/ULONG and saturate at 32 bits.
int _wtoi(const char16_t* s);
LONG _wtol(const char16_t* s);
__int64 _wtoi64(const char16_t* s);
double _wtof(const char16_t* s);
LONG _tcstol(const char16_t* s, char16_t** end, int base);
ULONG _tcstoul(const char16_t* s, char16_t** end, int base);
__int64 _wcstoi64(const char16_t* s, char16_t** end, int base);
unsigned __int64 _wcstoui64(const char16_t* s, char16_t** end, int base);
double _tcstod(const char16_t* s, char16_t** end);

errno_t _itow_s(int value, char16_t* buffer, size_t size, int radix);
errno_t _ltow_s(LONG value, char16_t* buffer, size_t size, int radix);
errno_t _ultow_s(ULONG value, char16_t* buffer, size_t size, int radix);
errno_t _i64tow_s(__int64 value, char16_t* buffer, size_t size, int radix);
errno_t _ui64tow_s(unsigned __int64 value, char16_t* buffer, size_t size, int radix);
template <size_t N>
inline errno_t _itow_s(int v, char16_t (&b)[N], int radix)
{
    return _itow_s(v, b, N, radix);
}
template <size_t N>
inline errno_t _ltow_s(LONG v, char16_t (&b)[N], int radix)
{
    return _ltow_s(v, b, N, radix);
}
template <size_t N>
inline errno_t _ultow_s(ULONG v, char16_t (&b)[N], int radix)
{
    return _ultow_s(v, b, N, radix);
}
template <size_t N>
inline errno_t _i64tow_s(__int64 v, char16_t (&b)[N], int radix)
{
    return _i64tow_s(v, b, N, radix);
}
template <size_t N>
inline errno_t _ui64tow_s(unsigned __int64 v, char16_t (&b)[N], int radix)
{
    return _ui64tow_s(v, b, N, radix);
}

// Narrow parsing and number-to-text (glibc underneath where it is the same).
__int64 _atoi64(const char* s);
__int64 _strtoi64(const char* s, char** end, int base);
unsigned __int64 _strtoui64(const char* s, char** end, int base);
errno_t _itoa_s(int value, char* buffer, size_t size, int radix);
errno_t _ltoa_s(LONG value, char* buffer, size_t size, int radix);
errno_t _i64toa_s(__int64 value, char* buffer, size_t size, int radix);
errno_t _ui64toa_s(unsigned __int64 value, char* buffer, size_t size, int radix);
template <size_t N>
inline errno_t _itoa_s(int v, char (&b)[N], int radix)
{
    return _itoa_s(v, b, N, radix);
}
template <size_t N>
inline errno_t _i64toa_s(__int64 v, char (&b)[N], int radix)
{
    return _i64toa_s(v, b, N, radix);
}

// Narrow string functions that are plain glibc underneath.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);
char* _strdup(const char* s);
errno_t strcpy_s(char* dest, size_t destSize, const char* src);
errno_t strncpy_s(char* dest, size_t destSize, const char* src, size_t count);
errno_t strcat_s(char* dest, size_t destSize, const char* src);
errno_t _strlwr_s(char* s, size_t size);
errno_t _strupr_s(char* s, size_t size);
template <size_t N>
inline errno_t strcpy_s(char (&d)[N], const char* s)
{
    return strcpy_s(d, N, s);
}
template <size_t N>
inline errno_t strncpy_s(char (&d)[N], const char* s, size_t c)
{
    return strncpy_s(d, N, s, c);
}
template <size_t N>
inline errno_t strcat_s(char (&d)[N], const char* s)
{
    return strcat_s(d, N, s);
}

// ---------------------------------------------------------------------------
// Paths.
errno_t _wsplitpath_s(const char16_t* path, char16_t* drive, size_t driveSize, char16_t* dir, size_t dirSize,
                      char16_t* fname, size_t fnameSize, char16_t* ext, size_t extSize);
void _wsplitpath(const char16_t* path, char16_t* drive, char16_t* dir, char16_t* fname, char16_t* ext);
errno_t _wmakepath_s(char16_t* path, size_t size, const char16_t* drive, const char16_t* dir,
                     const char16_t* fname, const char16_t* ext);
// Full path of relPath into absPath (maxLength chars); a malloc'ed buffer when
// absPath is null. Null on failure.
char16_t* _wfullpath(char16_t* absPath, const char16_t* relPath, size_t maxLength);

template <size_t D, size_t P, size_t F, size_t E>
inline errno_t _wsplitpath_s(const char16_t* path, char16_t (&drive)[D], char16_t (&dir)[P],
                             char16_t (&fname)[F], char16_t (&ext)[E])
{
    return _wsplitpath_s(path, drive, D, dir, P, fname, F, ext, E);
}
template <size_t N>
inline errno_t _wmakepath_s(char16_t (&path)[N], const char16_t* drive, const char16_t* dir,
                            const char16_t* fname, const char16_t* ext)
{
    return _wmakepath_s(path, N, drive, dir, fname, ext);
}

// ---------------------------------------------------------------------------
// File search over FindFirstFileW.
#ifndef _A_NORMAL
#define _A_NORMAL 0x00
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SYSTEM 0x04
#define _A_SUBDIR 0x10
#define _A_ARCH 0x20
#endif
typedef unsigned int _fsize_t;
struct _wfinddata_t
{
    unsigned attrib;
    __int64 time_create;  // seconds since 1970, -1 when unknown
    __int64 time_access;
    __int64 time_write;
    _fsize_t size;  // low 32 bits, as the plain form has it
    char16_t name[260];
};
struct _wfinddatai64_t
{
    unsigned attrib;
    __int64 time_create;
    __int64 time_access;
    __int64 time_write;
    __int64 size;
    char16_t name[260];
};
intptr_t _wfindfirst(const char16_t* filespec, _wfinddata_t* data);
int _wfindnext(intptr_t handle, _wfinddata_t* data);
intptr_t _wfindfirsti64(const char16_t* filespec, _wfinddatai64_t* data);
int _wfindnexti64(intptr_t handle, _wfinddatai64_t* data);
int _findclose(intptr_t handle);

// ---------------------------------------------------------------------------
// The run-time's character-type locale. It takes Windows locale names ("ru",
// "zh-CN", "fa-IR", optionally with ".<code page>"), "" for the user's own
// and "C"; LC_CTYPE and LC_ALL set it, a null name asks for it. Its ANSI code
// page is the one the printf family converts narrow and wide strings with
// (%S, %hs, %ls); until a locale is set that is the system's ANSI code page.
// Returns the locale as "Language_Country.CodePage", or null when the name
// or category is not known (nothing changes then).
#include <clocale>
char16_t* _wsetlocale(int category, const char16_t* locale);
// The code page of the character-type locale (CP_ACP for "C").
UINT _AfxGetCrtCodePage();
