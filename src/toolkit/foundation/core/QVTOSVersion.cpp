#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"

#include <tchar.h>

QVT_IMPLEMENT_SINGLETON(CQVTOSVersion, QVTOSVersion, nullptr)

CQVTOSVersion::CQVTOSVersion()
{
    if (m_kernel32.GetModuleHandle(_T("Kernel32.dll")))
    {
        m_kernel32.GetProcAddress(&m_pfnVerifyVersionInfo, "VerifyVersionInfoW");
        m_kernel32.GetProcAddress(&m_pfnVerSetConditionMask, "VerSetConditionMask");
    }
    if (m_ntdll.GetModuleHandle(_T("ntdll.dll")))
        m_ntdll.GetProcAddress(&m_pfnRtlGetVersion, "RtlGetVersion");
}

BOOL AFXAPI CQVTOSVersion::CompareVersion(const OSVERSIONINFOW& osvi, int nOperation, DWORD dwMajor,
                                          DWORD dwMinor, DWORD dwPlatform)
{
    if (nOperation == opEqual)
        return osvi.dwPlatformId == dwPlatform && osvi.dwMajorVersion == dwMajor &&
               osvi.dwMinorVersion == dwMinor;
    return osvi.dwPlatformId >= dwPlatform &&
           (osvi.dwMajorVersion > dwMajor ||
            (osvi.dwMajorVersion == dwMajor && osvi.dwMinorVersion >= dwMinor));
}

BOOL CQVTOSVersion::VerifyVersion(int nOperation, DWORD dwMajor, DWORD dwMinor, DWORD dwPlatform)
{
    if (HasVerifyVersionInfo())
    {
        OSVERSIONINFOEXW osvi;
        ZeroMemory(&osvi, sizeof(osvi));
        osvi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
        osvi.dwMajorVersion = dwMajor;
        osvi.dwMinorVersion = dwMinor;
        osvi.dwPlatformId = dwPlatform;

        const BYTE op = static_cast<BYTE>(nOperation);
        ULONGLONG mask = 0;
        mask = m_pfnVerSetConditionMask(mask, VER_MAJORVERSION, op);
        mask = m_pfnVerSetConditionMask(mask, VER_MINORVERSION, op);
        mask = m_pfnVerSetConditionMask(mask, VER_PLATFORMID, op);
        return m_pfnVerifyVersionInfo(&osvi, VER_MAJORVERSION | VER_MINORVERSION | VER_PLATFORMID, mask);
    }

    OSVERSIONINFOW osvi;
    ZeroMemory(&osvi, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!::GetVersionExW(&osvi))
        return FALSE;
    return CompareVersion(osvi, nOperation, dwMajor, dwMinor, dwPlatform);
}

BOOL CQVTOSVersion::IsWin95()
{
    static const BOOL bResult = VerifyVersion(opEqual, 4, 0, platformWin9x);
    return bResult;
}

BOOL CQVTOSVersion::IsWin98()
{
    static const BOOL bResult = VerifyVersion(opEqual, 4, 10, platformWin9x);
    return bResult;
}

BOOL CQVTOSVersion::IsWinMe()
{
    static const BOOL bResult = VerifyVersion(opEqual, 4, 90, platformWin9x);
    return bResult;
}

BOOL CQVTOSVersion::IsWin9x()
{
    static const BOOL bResult = IsWin95() || IsWin98() || IsWinMe();
    return bResult;
}

BOOL CQVTOSVersion::IsWinNT4()
{
    static const BOOL bResult = VerifyVersion(opEqual, 4, 0, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWinNT4OrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 4, 0, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWin2000OrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 5, 0, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWinXP()
{
    static const BOOL bResult = VerifyVersion(opEqual, 5, 1, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWinXPOrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 5, 1, platformNT);
    return bResult;
}

BYTE CQVTOSVersion::IsWinXPOrGreaterFlag()
{
    static const BYTE bResult = IsWinXPOrGreater() ? 1 : 0;
    return bResult;
}

BOOL CQVTOSVersion::IsWinVistaOrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 6, 0, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWin7OrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 6, 1, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWin8OrGreater()
{
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 6, 2, platformNT);
    return bResult;
}

BOOL CQVTOSVersion::IsWin81OrGreater()
{
    // Without a manifest that names Windows 8.1, the version test stops at
    // 6.2; the kernel's own version still tells the truth.
    static const BOOL bResult = VerifyVersion(opGreaterEqual, 6, 3, platformNT);
    return bResult || IsWin10OrGreater();
}

BOOL CQVTOSVersion::IsWin10OrGreater()
{
    // Kept only once RtlGetVersion has answered.
    static std::atomic<int> s_nResult{-1};
    int nResult = s_nResult.load(std::memory_order_acquire);
    if (nResult >= 0)
        return nResult;
    if (!m_pfnRtlGetVersion)
        return FALSE;

    struct
    {
        OSVERSIONINFOW info;
        BYTE padding[284 - sizeof(OSVERSIONINFOW)];
    } osvi;
    ZeroMemory(&osvi, sizeof(osvi));
    osvi.info.dwOSVersionInfoSize = 284;
    if (m_pfnRtlGetVersion(&osvi.info) != 0)
        return FALSE;
    nResult = osvi.info.dwMajorVersion >= 10 ? TRUE : FALSE;
    s_nResult.store(nResult, std::memory_order_release);
    return nResult;
}
