// The running Windows version, asked once per test and kept.
#pragma once

#include "toolkit/foundation/core/QVTModuleHandle.h"

class CQVTOSVersion
{
public:
    enum Operation
    {
        opEqual = 1,
        opGreaterEqual = 3
    };
    enum Platform
    {
        platformWin9x = 1,  // VER_PLATFORM_WIN32_WINDOWS
        platformNT = 2      // VER_PLATFORM_WIN32_NT
    };

    CQVTOSVersion();
    virtual ~CQVTOSVersion() {}

    BOOL IsWin95();
    BOOL IsWin98();
    BOOL IsWinMe();
    BOOL IsWin9x();
    BOOL IsWinNT4();
    BOOL IsWinNT4OrGreater();
    BOOL IsWin2000OrGreater();
    BOOL IsWinXP();
    BOOL IsWinXPOrGreater();
    BYTE IsWinXPOrGreaterFlag();
    BOOL IsWinVistaOrGreater();
    BOOL IsWin7OrGreater();
    BOOL IsWin8OrGreater();
    BOOL IsWin81OrGreater();
    BOOL IsWin10OrGreater();

    // Uncached: VerifyVersionInfoW when bound, else GetVersionExW.
    BOOL VerifyVersion(int nOperation, DWORD dwMajor, DWORD dwMinor, DWORD dwPlatform);

    // The GetVersionExW rule, over a given version record.
    static BOOL AFXAPI CompareVersion(const OSVERSIONINFOW& osvi, int nOperation, DWORD dwMajor,
                                      DWORD dwMinor, DWORD dwPlatform);

    BOOL HasVerifyVersionInfo() const { return m_pfnVerifyVersionInfo && m_pfnVerSetConditionMask; }
    BOOL HasRtlGetVersion() const { return m_pfnRtlGetVersion != nullptr; }

private:
    typedef BOOL(WINAPI* PFNVERIFYVERSIONINFOW)(LPOSVERSIONINFOEXW, DWORD, DWORDLONG);
    typedef ULONGLONG(WINAPI* PFNVERSETCONDITIONMASK)(ULONGLONG, DWORD, BYTE);
    typedef LONG(WINAPI* PFNRTLGETVERSION)(OSVERSIONINFOW*);

    CQVTModuleHandle m_kernel32;
    PFNVERIFYVERSIONINFOW m_pfnVerifyVersionInfo = nullptr;
    PFNVERSETCONDITIONMASK m_pfnVerSetConditionMask = nullptr;
    CQVTModuleHandle m_ntdll;
    PFNRTLGETVERSION m_pfnRtlGetVersion = nullptr;
};

CQVTOSVersion* AFXAPI QVTOSVersion();
