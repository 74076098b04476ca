// The character-width specific half of CString and CStringA: comparisons and
// case mapping through Win32, formatting, conversion with the ANSI code page,
// string resources and BSTRs.
#include <afx.h>

#include <cstdlib>
#include <strings.h>

namespace {

// A string table block holds 16 counted strings; ID n is entry n % 16 of
// block n / 16 + 1.
bool FindStringResource(HINSTANCE hInstance, UINT nID, const WCHAR*& text, int& length)
{
    HRSRC hRes = FindResourceW(hInstance, MAKEINTRESOURCEW((nID >> 4) + 1), (LPCWSTR)RT_STRING);
    if (!hRes)
        return false;
    HGLOBAL hGlobal = LoadResource(hInstance, hRes);
    const WCHAR* p = hGlobal ? static_cast<const WCHAR*>(LockResource(hGlobal)) : nullptr;
    if (!p)
        return false;
    const WCHAR* end = p + SizeofResource(hInstance, hRes) / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); ++i)
    {
        if (p >= end)
            return false;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return false;
    length = *p;
    text = p + 1;
    return true;
}

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

}  // namespace

// --- UTF-16 ---------------------------------------------------------------------
int AfxStringTraits<char16_t>::Compare(const char16_t* a, const char16_t* b)
{
    return _tcscmp(a, b);
}
int AfxStringTraits<char16_t>::CompareNoCase(const char16_t* a, const char16_t* b)
{
    return _wcsicmp(a, b);
}
int AfxStringTraits<char16_t>::Collate(const char16_t* a, const char16_t* b)
{
    return _tcscoll(a, b);
}
int AfxStringTraits<char16_t>::CollateNoCase(const char16_t* a, const char16_t* b)
{
    return _wcsicoll(a, b);
}
void AfxStringTraits<char16_t>::MakeUpper(char16_t* s, int n)
{
    CharUpperBuffW(s, DWORD(n));
}
void AfxStringTraits<char16_t>::MakeLower(char16_t* s, int n)
{
    CharLowerBuffW(s, DWORD(n));
}
void AfxStringTraits<char16_t>::MakeReverse(char16_t* s, int n)
{
    (void)n;
    _wcsrev(s);
}
bool AfxStringTraits<char16_t>::IsSpace(char16_t c)
{
    return _istspace(c) != 0;
}

int AfxStringTraits<char16_t>::FormatV(std::u16string& out, const char16_t* format, va_list args)
{
    return _AfxFormatToStringW(out, format, args);
}

bool AfxStringTraits<char16_t>::FormatMessage(std::u16string& out, const char16_t* format,
                                              const DWORD_PTR* args)
{
    LPWSTR buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                   FORMAT_MESSAGE_ARGUMENT_ARRAY,
                               format, 0, 0, reinterpret_cast<LPWSTR>(&buffer), 0,
                               reinterpret_cast<__ms_va_list*>(const_cast<DWORD_PTR*>(args)));
    if (!buffer)
        return *format == 0;  // an empty format yields an empty message
    out.assign(buffer, n);
    LocalFree(buffer);
    return true;
}

std::u16string AfxStringTraits<char16_t>::Convert(const char* s, int n)
{
    std::u16string out;
    if (n <= 0)
        return out;
    int wide = MultiByteToWideChar(CP_ACP, 0, s, n, nullptr, 0);
    out.resize(size_t(wide));
    MultiByteToWideChar(CP_ACP, 0, s, n, &out[0], wide);
    return out;
}

bool AfxStringTraits<char16_t>::LoadString(HINSTANCE hInstance, UINT nID, std::u16string& out)
{
    const WCHAR* text;
    int length;
    if (!FindStringResource(hInstance, nID, text, length))
        return false;
    out.assign(text, size_t(length));
    return true;
}

BSTR AfxStringTraits<char16_t>::AllocSysString(const char16_t* s, int n)
{
    return SysAllocStringLen(s, UINT(n));
}

// --- ANSI code page ---------------------------------------------------------------
int AfxStringTraits<char>::Compare(const char* a, const char* b)
{
    return Sign(strcmp(a, b));
}
int AfxStringTraits<char>::CompareNoCase(const char* a, const char* b)
{
    return Sign(_stricmp(a, b));
}
int AfxStringTraits<char>::Collate(const char* a, const char* b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a, -1, b, -1) - CSTR_EQUAL;
}
int AfxStringTraits<char>::CollateNoCase(const char* a, const char* b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL;
}
void AfxStringTraits<char>::MakeUpper(char* s, int n)
{
    CharUpperBuffA(s, DWORD(n));
}
void AfxStringTraits<char>::MakeLower(char* s, int n)
{
    CharLowerBuffA(s, DWORD(n));
}
void AfxStringTraits<char>::MakeReverse(char* s, int n)
{
    for (int i = 0, j = n - 1; i < j; ++i, --j)
        std::swap(s[i], s[j]);
}
bool AfxStringTraits<char>::IsSpace(char c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

int AfxStringTraits<char>::FormatV(std::string& out, const char* format, va_list args)
{
    return _AfxFormatToStringA(out, format, args);
}

bool AfxStringTraits<char>::FormatMessage(std::string& out, const char* format, const DWORD_PTR* args)
{
    LPSTR buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                   FORMAT_MESSAGE_ARGUMENT_ARRAY,
                               format, 0, 0, reinterpret_cast<LPSTR>(&buffer), 0,
                               reinterpret_cast<__ms_va_list*>(const_cast<DWORD_PTR*>(args)));
    if (!buffer)
        return *format == 0;
    out.assign(buffer, n);
    LocalFree(buffer);
    return true;
}

std::string AfxStringTraits<char>::Convert(const char16_t* s, int n)
{
    std::string out;
    if (n <= 0)
        return out;
    int bytes = WideCharToMultiByte(CP_ACP, 0, s, n, nullptr, 0, nullptr, nullptr);
    out.resize(size_t(bytes));
    WideCharToMultiByte(CP_ACP, 0, s, n, &out[0], bytes, nullptr, nullptr);
    return out;
}

bool AfxStringTraits<char>::LoadString(HINSTANCE hInstance, UINT nID, std::string& out)
{
    const WCHAR* text;
    int length;
    if (!FindStringResource(hInstance, nID, text, length))
        return false;
    out = Convert(text, length);
    return true;
}

BSTR AfxStringTraits<char>::AllocSysString(const char* s, int n)
{
    std::u16string wide = AfxStringTraits<char16_t>::Convert(s, n);
    return SysAllocStringLen(wide.data(), UINT(wide.size()));
}
