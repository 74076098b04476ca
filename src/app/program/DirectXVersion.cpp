#include "app/program/DirectXVersion.h"

#include <dxdiag.h>

#include <array>
#include <utility>

namespace {

// The platform's DirectX diagnostics provider and its interface.
const CLSID kClsidDxDiagProvider = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
const IID kIidDxDiagProvider = {0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
const DWORD kDxDiagHeaderVersion = 111;

// Releases an interface when it goes.
template <class T>
class CInterfaceHolder
{
public:
    CInterfaceHolder() = default;
    CInterfaceHolder(const CInterfaceHolder&) = delete;
    CInterfaceHolder& operator=(const CInterfaceHolder&) = delete;
    ~CInterfaceHolder()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

// A property accepted only as a 32-bit unsigned variant.
BOOL ReadUInt(IDxDiagContainer* pContainer, LPCWSTR lpszName, DWORD& dwValue)
{
    VARIANT var;
    ::VariantInit(&var);
    BOOL bRead = FALSE;
    if (SUCCEEDED(pContainer->GetProp(lpszName, &var)) && var.vt == VT_UI4)
    {
        dwValue = var.ulVal;
        bRead = TRUE;
    }
    ::VariantClear(&var);
    return bRead;
}

// A property accepted only as a non-empty string: its first character.
BOOL ReadFirstCharacter(IDxDiagContainer* pContainer, LPCWSTR lpszName, TCHAR& chValue)
{
    VARIANT var;
    ::VariantInit(&var);
    BOOL bRead = FALSE;
    if (SUCCEEDED(pContainer->GetProp(lpszName, &var)) && var.vt == VT_BSTR && var.bstrVal != nullptr &&
        var.bstrVal[0] != 0)
    {
        chValue = var.bstrVal[0];
        bRead = TRUE;
    }
    ::VariantClear(&var);
    return bRead;
}

// The system file's fixed version as major.minor.build.revision, or FALSE
// when it is missing or has no version.
BOOL GetSystemFileVersion(const CString& strSystemDir, LPCTSTR lpszFile, std::array<WORD, 4>& version)
{
    const CString strPath = strSystemDir + _T("\\") + lpszFile;
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSize(strPath, &dwHandle);
    if (dwSize == 0)
        return FALSE;
    CByteArray data;
    data.SetSize(dwSize);
    if (!::GetFileVersionInfo(strPath, 0, dwSize, data.GetData()))
        return FALSE;
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValue(data.GetData(), _T("\\"), reinterpret_cast<void**>(&pInfo), &nLength) ||
        pInfo == nullptr || nLength < sizeof(VS_FIXEDFILEINFO))
        return FALSE;
    version = {HIWORD(pInfo->dwFileVersionMS), LOWORD(pInfo->dwFileVersionMS), HIWORD(pInfo->dwFileVersionLS),
               LOWORD(pInfo->dwFileVersionLS)};
    return TRUE;
}

DirectXFileVersionQuery& FileVersionQuery()
{
    static DirectXFileVersionQuery query;
    return query;
}

// The file in the system folder, or the query put in its place.
BOOL ReadFileVersion(const CString& strSystemDir, LPCTSTR lpszFile, std::array<WORD, 4>& version)
{
    const DirectXFileVersionQuery& query = FileVersionQuery();
    return query ? query(lpszFile, version) : GetSystemFileVersion(strSystemDir, lpszFile, version);
}

BOOL IsAtLeast(const std::array<WORD, 4>& version, const std::array<WORD, 4>& threshold)
{
    return version >= threshold;
}

// One row of the file checks: the file, its least version (a second one
// for files whose major version is 5), and the version it means.
struct FileCheck
{
    LPCTSTR lpszFile;
    std::array<WORD, 4> atLeast;
    std::array<WORD, 4> atLeastMajor5;  // all zero: the row has one threshold
    DWORD dwMajor;
    DWORD dwMinor;
    TCHAR chLetter;
};

const FileCheck kFileChecks[] = {
    {_T("ddraw.dll"), {4, 2, 0, 95}, {}, 1, 0, _T(' ')},
    {_T("ddraw.dll"), {4, 3, 0, 1096}, {}, 2, 0, _T(' ')},
    {_T("ddraw.dll"), {4, 4, 0, 68}, {}, 3, 0, _T(' ')},
    {_T("d3drg8x.dll"), {4, 4, 0, 70}, {}, 3, 0, _T('a')},
    {_T("ddraw.dll"), {4, 5, 0, 155}, {}, 5, 0, _T(' ')},
    {_T("ddraw.dll"), {4, 6, 0, 318}, {}, 6, 0, _T(' ')},
    {_T("ddraw.dll"), {4, 6, 0, 436}, {}, 6, 1, _T(' ')},
    {_T("dplayx.dll"), {4, 6, 3, 518}, {}, 6, 1, _T('a')},
    {_T("ddraw.dll"), {4, 7, 0, 700}, {}, 7, 0, _T(' ')},
    {_T("dinput.dll"), {4, 7, 0, 716}, {}, 7, 0, _T('a')},
    {_T("ddraw.dll"), {4, 8, 0, 400}, {5, 1, 2258, 400}, 8, 0, _T(' ')},
    {_T("d3d8.dll"), {4, 8, 1, 881}, {5, 1, 2600, 881}, 8, 1, _T(' ')},
    {_T("d3d8.dll"), {4, 8, 1, 901}, {5, 1, 2600, 901}, 8, 1, _T('a')},
    {_T("mpg2splt.ax"), {6, 3, 1, 885}, {}, 8, 1, _T('b')},
    {_T("dpnet.dll"), {4, 9, 0, 134}, {5, 2, 3677, 134}, 8, 2, _T(' ')},
};

BOOL PassesCheck(const FileCheck& check, const std::array<WORD, 4>& version)
{
    if (check.atLeastMajor5[0] == 0)
        return IsAtLeast(version, check.atLeast);
    // Rows with two thresholds: by the file's major version, 4 or 5 only.
    if (version[0] == 4)
        return IsAtLeast(version, check.atLeast);
    if (version[0] == 5)
        return IsAtLeast(version, check.atLeastMajor5);
    return FALSE;
}

}  // namespace

HRESULT AFXAPI GetDirectXVersionViaDxDiag(DWORD& dwMajor, DWORD& dwMinor, TCHAR& chLetter)
{
    const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BOOL bRead = FALSE;
    {
        CInterfaceHolder<IDxDiagProvider> provider;
        CInterfaceHolder<IDxDiagContainer> root;
        CInterfaceHolder<IDxDiagContainer> system;
        DXDIAG_INIT_PARAMS params = {};
        params.dwSize = sizeof(DXDIAG_INIT_PARAMS);
        params.dwDxDiagHeaderVersion = kDxDiagHeaderVersion;
        params.bAllowWHQLChecks = FALSE;
        params.pReserved = nullptr;
        if (SUCCEEDED(::CoCreateInstance(kClsidDxDiagProvider, nullptr, CLSCTX_INPROC_SERVER,
                                         kIidDxDiagProvider, reinterpret_cast<void**>(&provider))) &&
            provider.Get() != nullptr && SUCCEEDED(provider->Initialize(&params)) &&
            SUCCEEDED(provider->GetRootContainer(&root)) && root.Get() != nullptr &&
            SUCCEEDED(root->GetChildContainer(u"DxDiag_SystemInfo", &system)) && system.Get() != nullptr)
        {
            DWORD dwReadMajor = 0, dwReadMinor = 0;
            TCHAR chReadLetter = _T(' ');
            bRead = ReadUInt(system.Get(), u"dwDirectXVersionMajor", dwReadMajor) &&
                    ReadUInt(system.Get(), u"dwDirectXVersionMinor", dwReadMinor) &&
                    ReadFirstCharacter(system.Get(), u"szDirectXVersionLetter", chReadLetter);
            if (bRead)
            {
                dwMajor = dwReadMajor;
                dwMinor = dwReadMinor;
                chLetter = chReadLetter;
            }
        }
        // The holders release the property container first, the provider last.
    }
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
    return bRead ? S_OK : E_FAIL;
}

HRESULT AFXAPI GetDirectXVersionViaFileVersions(DWORD& dwMajor, DWORD& dwMinor, TCHAR& chLetter)
{
    dwMajor = 0;
    dwMinor = 0;
    chLetter = _T(' ');
    TCHAR szSystem[MAX_PATH] = {};
    const UINT nLength = ::GetSystemDirectory(szSystem, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return S_OK;
    const CString strSystemDir(szSystem);
    // Every check that passes overwrites the ones before it.
    for (const FileCheck& check : kFileChecks)
    {
        std::array<WORD, 4> version = {};
        if (!ReadFileVersion(strSystemDir, check.lpszFile, version) || !PassesCheck(check, version))
            continue;
        dwMajor = check.dwMajor;
        dwMinor = check.dwMinor;
        chLetter = check.chLetter;
    }
    std::array<WORD, 4> version = {};
    if (ReadFileVersion(strSystemDir, _T("d3d9.dll"), version))
    {
        dwMajor = 9;
        dwMinor = 0;
        chLetter = _T(' ');
    }
    return S_OK;
}

void AFXAPI SetDirectXFileVersionQuery(DirectXFileVersionQuery query)
{
    FileVersionQuery() = std::move(query);
}

void AFXAPI FormatDirectXVersion(DWORD dwMajor, DWORD dwMinor, TCHAR chLetter, CString& strVersion,
                                 DWORD& dwPacked)
{
    const TCHAR chLower =
        (chLetter >= _T('A') && chLetter <= _T('Z')) ? TCHAR(chLetter - _T('A') + _T('a')) : chLetter;
    const DWORD dwLetter = (chLower >= _T('a') && chLower <= _T('z')) ? DWORD(chLower - _T('a') + 1) : 0;
    dwPacked = ((dwMajor * 256) + dwMinor) * 256 + dwLetter;
    if (chLower != _T(' '))
        strVersion.Format(_T("%u.%u%c"), dwMajor, dwMinor, chLower);
    else
        strVersion.Format(_T("%u.%u"), dwMajor, dwMinor);
}

HRESULT AFXAPI GetDirectXVersion(CString& strVersion, DWORD& dwPacked)
{
    strVersion.Empty();
    dwPacked = 0;
    DWORD dwMajor = 0, dwMinor = 0;
    TCHAR chLetter = _T(' ');
    if (FAILED(GetDirectXVersionViaDxDiag(dwMajor, dwMinor, chLetter)) &&
        FAILED(GetDirectXVersionViaFileVersions(dwMajor, dwMinor, chLetter)))
        return E_FAIL;
    FormatDirectXVersion(dwMajor, dwMinor, chLetter, strVersion, dwPacked);
    return S_OK;
}
