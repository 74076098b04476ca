// A module held by name, for binding functions that older systems lack at run
// time. Attached modules are left alone; loaded ones are freed by the holder.
#pragma once

#include <afx.h>
#include <shlwapi.h>

class CQVTModuleHandle
{
public:
    enum Mode
    {
        modeNone = 0,
        modeAttached = 1,  // GetModuleHandleW: not ours to free
        modeLoaded = 2     // LoadLibraryW: freed by FreeLibrary or the destructor
    };

    CQVTModuleHandle();
    explicit CQVTModuleHandle(LPCWSTR lpszModuleName);
    virtual ~CQVTModuleHandle();

    CQVTModuleHandle(const CQVTModuleHandle&) = delete;
    CQVTModuleHandle& operator=(const CQVTModuleHandle&) = delete;

    // Attaches when the module is loaded already, else loads it.
    BOOL Load(LPCWSTR lpszModuleName);
    BOOL GetModuleHandle(LPCWSTR lpszModuleName);
    BOOL LoadLibrary(LPCWSTR lpszModuleName);
    BOOL FreeLibrary();

    // MAKELONG(minor, major) from the module's DllGetVersion; 0 without one.
    DWORD GetDllVersion();

    // FALSE with a null pointer when nothing is held, when the module's
    // version is below dwMinVersion (MAKELONG(minor, major), 0 for none), or
    // when the name is not exported.
    BOOL GetProcAddress(FARPROC* ppFnPtr, LPCSTR lpszProcName, DWORD dwMinVersion = 0);
    template <class TFunction>
    BOOL GetProcAddress(TFunction* ppFnPtr, LPCSTR lpszProcName, DWORD dwMinVersion = 0)
    {
        FARPROC pfn = nullptr;
        BOOL bResult = GetProcAddress(&pfn, lpszProcName, dwMinVersion);
        *ppFnPtr = reinterpret_cast<TFunction>(pfn);
        return bResult;
    }

    HMODULE GetHandle() const { return m_hModule; }
    operator HMODULE() const { return m_hModule; }
    int GetMode() const { return m_nMode; }
    const CString& GetName() const { return m_strModuleName; }

    // The common controls' version, read once per process; 4.0 when unknown.
    static DWORD AFXAPI GetComCtlVersion();

private:
    void Clear();

    CString m_strModuleName;
    HMODULE m_hModule = nullptr;
    int m_nMode = modeNone;
    DLLVERSIONINFO m_dvi;
    DLLGETVERSIONPROC m_pfnDllGetVersion = nullptr;
    BOOL m_bDllGetVersionLooked = FALSE;
};

// The common controls' version as MAKELONG(minor, major), cached.
inline DWORD AFXAPI GetComCtlVersion()
{
    return CQVTModuleHandle::GetComCtlVersion();
}
