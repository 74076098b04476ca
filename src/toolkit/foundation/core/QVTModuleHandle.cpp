#include "toolkit/foundation/core/QVTModuleHandle.h"

CQVTModuleHandle::CQVTModuleHandle()
{
    ZeroMemory(&m_dvi, sizeof(m_dvi));
}

CQVTModuleHandle::CQVTModuleHandle(LPCWSTR lpszModuleName) : CQVTModuleHandle()
{
    Load(lpszModuleName);
}

CQVTModuleHandle::~CQVTModuleHandle()
{
    FreeLibrary();
}

BOOL CQVTModuleHandle::Load(LPCWSTR lpszModuleName)
{
    if (GetModuleHandle(lpszModuleName))
        return TRUE;
    return LoadLibrary(lpszModuleName);
}

BOOL CQVTModuleHandle::GetModuleHandle(LPCWSTR lpszModuleName)
{
    if (m_hModule && lpszModuleName && m_strModuleName.CompareNoCase(lpszModuleName) == 0)
        return TRUE;

    FreeLibrary();
    if (!lpszModuleName)
        return FALSE;
    m_hModule = ::GetModuleHandleW(lpszModuleName);
    if (!m_hModule)
        return FALSE;
    m_nMode = modeAttached;
    m_strModuleName = lpszModuleName;
    return TRUE;
}

BOOL CQVTModuleHandle::LoadLibrary(LPCWSTR lpszModuleName)
{
    if (m_hModule && m_nMode == modeLoaded && lpszModuleName &&
        m_strModuleName.CompareNoCase(lpszModuleName) == 0)
        return TRUE;

    FreeLibrary();
    if (!lpszModuleName)
        return FALSE;
    m_hModule = ::LoadLibraryW(lpszModuleName);
    if (!m_hModule)
        return FALSE;
    m_nMode = modeLoaded;
    m_strModuleName = lpszModuleName;
    return TRUE;
}

BOOL CQVTModuleHandle::FreeLibrary()
{
    BOOL bResult = TRUE;
    if (m_hModule && m_nMode == modeLoaded)
        bResult = ::FreeLibrary(m_hModule);
    Clear();
    return bResult;
}

void CQVTModuleHandle::Clear()
{
    m_hModule = nullptr;
    m_nMode = modeNone;
    m_strModuleName.Empty();
    ZeroMemory(&m_dvi, sizeof(m_dvi));
    // The entry point belonged to the module just let go.
    m_pfnDllGetVersion = nullptr;
    m_bDllGetVersionLooked = FALSE;
}

DWORD CQVTModuleHandle::GetDllVersion()
{
    if (!m_hModule)
        return 0;
    if (m_dvi.cbSize == 0)
    {
        if (!m_bDllGetVersionLooked)
        {
            m_pfnDllGetVersion =
                reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(m_hModule, "DllGetVersion"));
            m_bDllGetVersionLooked = TRUE;
        }
        if (!m_pfnDllGetVersion)
            return 0;
        DLLVERSIONINFO dvi;
        ZeroMemory(&dvi, sizeof(dvi));
        dvi.cbSize = sizeof(DLLVERSIONINFO);
        if (FAILED(m_pfnDllGetVersion(&dvi)))
            return 0;
        dvi.cbSize = sizeof(DLLVERSIONINFO);
        m_dvi = dvi;
    }
    return MAKELONG(m_dvi.dwMinorVersion, m_dvi.dwMajorVersion);
}

BOOL CQVTModuleHandle::GetProcAddress(FARPROC* ppFnPtr, LPCSTR lpszProcName, DWORD dwMinVersion)
{
    if (!ppFnPtr)
        return FALSE;
    *ppFnPtr = nullptr;
    if (!m_hModule || !lpszProcName)
        return FALSE;

    if (dwMinVersion != 0)
    {
        const DWORD dwVersion = GetDllVersion();
        const WORD wMajor = HIWORD(dwVersion), wMinor = LOWORD(dwVersion);
        const WORD wMinMajor = HIWORD(dwMinVersion), wMinMinor = LOWORD(dwMinVersion);
        if (wMajor < wMinMajor || (wMajor == wMinMajor && wMinor < wMinMinor))
            return FALSE;
    }

    *ppFnPtr = ::GetProcAddress(m_hModule, lpszProcName);
    return *ppFnPtr != nullptr;
}

DWORD AFXAPI CQVTModuleHandle::GetComCtlVersion()
{
    static const DWORD dwVersion = []() -> DWORD {
        CQVTModuleHandle module;
        if (module.Load(_T("comctl32.dll")))
        {
            DWORD dw = module.GetDllVersion();
            if (dw != 0)
                return dw;
        }
        return MAKELONG(0, 4);
    }();
    return dwVersion;
}
