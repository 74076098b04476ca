// What many test programs set up the same way: the application object whose
// profile a test reads and writes, and COM for the calling thread.
#pragma once

#include <afxwin.h>

// Made on first use and kept: a global's destructor would run after Wine has
// ended the process. A registry key puts the profile in the registry, else
// it is the program's INI file.
inline CWinApp& KeptTestApp(LPCTSTR lpszAppName, LPCTSTR lpszRegistryKey = nullptr)
{
    static CWinApp* s_pApp = nullptr;
    if (!s_pApp)
    {
        s_pApp = new CWinApp(lpszAppName);
        if (lpszRegistryKey)
            s_pApp->SetRegistryKey(lpszRegistryKey);
    }
    return *s_pApp;
}

struct ComScope
{
    ComScope() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { ::CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};
