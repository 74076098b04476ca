// One out-of-context window-event hook of this process. USER32's hook
// functions are bound at run time: a system without them installs nothing.
#pragma once

#include <afxwin.h>

class CQVTWinEventHook
{
public:
    typedef HWINEVENTHOOK(WINAPI* PFNSETWINEVENTHOOK)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD,
                                                      DWORD);
    typedef BOOL(WINAPI* PFNUNHOOKWINEVENT)(HWINEVENTHOOK);

    CQVTWinEventHook();
    ~CQVTWinEventHook();
    CQVTWinEventHook(const CQVTWinEventHook&) = delete;
    CQVTWinEventHook& operator=(const CQVTWinEventHook&) = delete;

    // Events of this process, all threads; FALSE when already installed or
    // the system refuses.
    BOOL Install(DWORD eventMin, DWORD eventMax, WINEVENTPROC pfnCallback);
    void Uninstall();
    BOOL IsInstalled() const { return m_hHook != nullptr; }

private:
    HWINEVENTHOOK m_hHook = nullptr;
    PFNSETWINEVENTHOOK m_pfnSetWinEventHook = nullptr;
    PFNUNHOOKWINEVENT m_pfnUnhookWinEvent = nullptr;
};
