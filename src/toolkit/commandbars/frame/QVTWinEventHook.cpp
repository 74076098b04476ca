#include "toolkit/commandbars/frame/QVTWinEventHook.h"

CQVTWinEventHook::CQVTWinEventHook()
{
    HMODULE hUser = ::GetModuleHandleW(u"USER32");
    if (hUser == nullptr)
        return;
    m_pfnSetWinEventHook = reinterpret_cast<PFNSETWINEVENTHOOK>(::GetProcAddress(hUser, "SetWinEventHook"));
    m_pfnUnhookWinEvent = reinterpret_cast<PFNUNHOOKWINEVENT>(::GetProcAddress(hUser, "UnhookWinEvent"));
}

CQVTWinEventHook::~CQVTWinEventHook()
{
    Uninstall();
}

BOOL CQVTWinEventHook::Install(DWORD eventMin, DWORD eventMax, WINEVENTPROC pfnCallback)
{
    if (m_hHook != nullptr || m_pfnSetWinEventHook == nullptr || m_pfnUnhookWinEvent == nullptr ||
        pfnCallback == nullptr)
        return FALSE;
    m_hHook = m_pfnSetWinEventHook(eventMin, eventMax, nullptr, pfnCallback, ::GetCurrentProcessId(), 0,
                                   WINEVENT_OUTOFCONTEXT);
    return m_hHook != nullptr;
}

void CQVTWinEventHook::Uninstall()
{
    if (m_hHook == nullptr)
        return;
    m_pfnUnhookWinEvent(m_hHook);
    m_hHook = nullptr;
}
