#include "toolkit/foundation/stream/QVTTextDecoder.h"

namespace {
// Copies UTF-16 units up to a zero unit; FALSE when they don't fit.
BOOL CopyUnits(const BYTE* pBytes, DWORD nUnits, LPWSTR pszWide, DWORD* pnLength)
{
    DWORD nCount = 0;
    while (nCount < nUnits)
    {
        WCHAR ch = static_cast<WCHAR>(pBytes[2 * nCount] | (pBytes[2 * nCount + 1] << 8));
        if (ch == 0)
            break;
        ++nCount;
    }
    if (nCount + 1 > *pnLength)
        return FALSE;
    for (DWORD i = 0; i < nCount; ++i)
        pszWide[i] = static_cast<WCHAR>(pBytes[2 * i] | (pBytes[2 * i + 1] << 8));
    pszWide[nCount] = 0;
    *pnLength = nCount;
    return TRUE;
}

// Multibyte text up to a zero byte or the end.
BOOL ConvertBytes(UINT nCodePage, const BYTE* pBytes, DWORD nSize, LPWSTR pszWide, DWORD* pnLength)
{
    DWORD nBytes = 0;
    while (nBytes < nSize && pBytes[nBytes] != 0)
        ++nBytes;
    if (nBytes == 0 || nBytes > 0x7FFFFFFF || *pnLength < 2)
        return FALSE;
    DWORD nRoom = *pnLength - 1 > 0x7FFFFFFF ? 0x7FFFFFFF : *pnLength - 1;
    int nCount = ::MultiByteToWideChar(nCodePage, 0, reinterpret_cast<LPCSTR>(pBytes),
                                       static_cast<int>(nBytes), pszWide, static_cast<int>(nRoom));
    if (nCount <= 0)
        return FALSE;
    pszWide[nCount] = 0;
    *pnLength = static_cast<DWORD>(nCount);
    return TRUE;
}
}  // namespace

BOOL AFXAPI DecodeTextToWide(const void* pBytes, DWORD nSize, LPWSTR pszWide, DWORD* pnLength)
{
    if (pBytes == nullptr || pszWide == nullptr || pnLength == nullptr)
        return FALSE;
    const BYTE* p = static_cast<const BYTE*>(pBytes);
    if (nSize == 0)
    {
        if (*pnLength < 1)
            return FALSE;
        pszWide[0] = 0;
        *pnLength = 0;
        return TRUE;
    }
    if (nSize >= 3 && p[0] == 0xFF && p[1] == 0xFE)
        return CopyUnits(p + 2, (nSize - 2) / 2, pszWide, pnLength);
    if (nSize >= 4 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return ConvertBytes(CP_UTF8, p + 3, nSize - 3, pszWide, pnLength);
    if (nSize >= 2 && nSize <= 0x7FFFFFFF && ::IsTextUnicode(pBytes, static_cast<int>(nSize), nullptr))
        return CopyUnits(p, nSize / 2, pszWide, pnLength);
    return ConvertBytes(CP_ACP, p, nSize, pszWide, pnLength);
}
