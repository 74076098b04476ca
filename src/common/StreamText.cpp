#include "common/StreamText.h"

#include <afxwin.h>

#include <cstring>
#include <vector>

#include "toolkit/foundation/resource/QVTResource.h"

namespace {

// No text file of the program comes near this; a stream claiming more is
// not trusted.
const ULONGLONG kLargestText = 0x40000000;

CString FromCodePage(const BYTE* pBytes, size_t cbBytes, UINT nCodePage)
{
    if (cbBytes == 0)
        return CString();
    int nBytes = static_cast<int>(cbBytes);
    LPCSTR pszBytes = reinterpret_cast<LPCSTR>(pBytes);
    int nChars = ::MultiByteToWideChar(nCodePage, 0, pszBytes, nBytes, nullptr, 0);
    if (nChars <= 0)
        return CString();
    CString strText;
    LPWSTR pszText = strText.GetBuffer(nChars);
    ::MultiByteToWideChar(nCodePage, 0, pszBytes, nBytes, pszText, nChars);
    strText.ReleaseBuffer(nChars);
    // Text ends at its first zero, as the buffer's terminator would have it.
    int nZero = strText.Find(_T('\0'));
    if (nZero >= 0)
        strText.Truncate(nZero);
    return strText;
}

CString FromUtf16(const BYTE* pBytes, size_t cbBytes)
{
    std::vector<WCHAR> units(cbBytes / sizeof(WCHAR) + 1, 0);
    std::memcpy(units.data(), pBytes, (cbBytes / sizeof(WCHAR)) * sizeof(WCHAR));
    return CString(units.data());
}

}  // namespace

HRESULT AFXAPI ReadStreamText(IStream* pStream, UINT nCodePage, CString& strText)
{
    if (pStream == nullptr)
        return E_FAIL;
    STATSTG stat = {};
    if (FAILED(pStream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kLargestText)
        return E_FAIL;
    size_t cbSize = static_cast<size_t>(stat.cbSize.QuadPart);
    // Two zero bytes beyond the data end any text in it.
    std::vector<BYTE> bytes(cbSize + 2, 0);
    ULONG cbRead = 0;
    if (cbSize > 0 && FAILED(pStream->Read(bytes.data(), static_cast<ULONG>(cbSize), &cbRead)))
        return E_FAIL;
    if (cbRead < cbSize)
        return E_FAIL;

    const BYTE* pData = bytes.data();
    if (nCodePage == STREAM_TEXT_DETECT)
    {
        if (cbSize >= 2 && cbSize % 2 == 0 && pData[0] == 0xFF && pData[1] == 0xFE)
            strText = FromUtf16(pData + 2, cbSize - 2);
        else if (cbSize >= 3 && pData[0] == 0xEF && pData[1] == 0xBB && pData[2] == 0xBF)
            strText = FromCodePage(pData + 3, cbSize - 3, CP_UTF8);
        else
            strText = FromCodePage(pData, cbSize, CP_ACP);
    }
    else if (nCodePage == 0 || nCodePage == 1)
        strText = FromCodePage(pData, cbSize, CP_ACP);
    else if (nCodePage == 1200)
        strText = FromUtf16(pData, cbSize);
    else
        strText = FromCodePage(pData, cbSize, nCodePage);
    return S_OK;
}

HRESULT AFXAPI ReadStreamText(IStream* pStream, CString& strText)
{
    return ReadStreamText(pStream, STREAM_TEXT_DETECT, strText);
}

HRESULT AFXAPI LoadResourceStream(HMODULE hModule, LPCTSTR pszName, LPCTSTR pszType, IStream** ppStream)
{
    if (ppStream == nullptr)
        return E_POINTER;
    *ppStream = nullptr;
    if (hModule == nullptr)
        hModule = AfxGetResourceHandle();
    // The help texts come from the language module too: held to its mapping.
    DWORD cbSize = 0;
    const void* pData = CQVTResource::LockBounded(hModule, pszName, pszType, &cbSize);
    if (pData == nullptr)
        return E_FAIL;
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, cbSize);
    if (hCopy == nullptr)
        return E_FAIL;
    void* pCopy = ::GlobalLock(hCopy);
    if (pCopy == nullptr)
    {
        ::GlobalFree(hCopy);
        return E_FAIL;
    }
    std::memcpy(pCopy, pData, cbSize);
    ::GlobalUnlock(hCopy);
    if (FAILED(::CreateStreamOnHGlobal(hCopy, TRUE, ppStream)))
    {
        ::GlobalFree(hCopy);
        *ppStream = nullptr;
        return E_FAIL;
    }
    return S_OK;
}
