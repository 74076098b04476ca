// Conversion helpers between UTF-16 and the ANSI code page, and
// AfxExtractSubString.
#include <afx.h>

void CW2A::Init(LPCWSTR psz, UINT nCodePage)
{
    if (!psz)
        return;
    int n = int(_tcslen(psz));
    int bytes = n ? WideCharToMultiByte(nCodePage, 0, psz, n, nullptr, 0, nullptr, nullptr) : 0;
    m_text.assign(size_t(bytes), '\0');
    if (bytes)
        WideCharToMultiByte(nCodePage, 0, psz, n, &m_text[0], bytes, nullptr, nullptr);
    m_psz = &m_text[0];
}

void CA2W::Init(LPCSTR psz, UINT nCodePage)
{
    if (!psz)
        return;
    int n = int(strlen(psz));
    int wide = n ? MultiByteToWideChar(nCodePage, 0, psz, n, nullptr, 0) : 0;
    m_text.assign(size_t(wide), u'\0');
    if (wide)
        MultiByteToWideChar(nCodePage, 0, psz, n, &m_text[0], wide);
    m_psz = &m_text[0];
}

LPSTR CAfxConversionArena::ToNarrow(LPCWSTR psz, UINT nCodePage)
{
    if (!psz)
        return nullptr;
    CW2A converted(psz, nCodePage);
    size_t n = strlen(converted) + 1;
    m_narrow.emplace_back(new char[n]);
    memcpy(m_narrow.back().get(), static_cast<LPSTR>(converted), n);
    return m_narrow.back().get();
}

LPWSTR CAfxConversionArena::ToWide(LPCSTR psz, UINT nCodePage)
{
    if (!psz)
        return nullptr;
    CA2W converted(psz, nCodePage);
    size_t n = _tcslen(converted) + 1;
    m_wide.emplace_back(new WCHAR[n]);
    memcpy(m_wide.back().get(), static_cast<LPWSTR>(converted), n * sizeof(WCHAR));
    return m_wide.back().get();
}

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    rString.Empty();
    if (!lpszFullString || iSubString < 0)
        return FALSE;
    const TCHAR* p = lpszFullString;
    while (iSubString--)
    {
        p = _tcschr(p, chSep);
        if (!p || chSep == 0)
            return FALSE;
        ++p;
    }
    const TCHAR* end = _tcschr(p, chSep);
    int n = end ? int(end - p) : int(_tcslen(p));
    rString.SetString(p, n);
    return TRUE;
}
