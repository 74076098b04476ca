// A module whose DllMain asks for a system colour through skinhooktesta.dll's
// import entries, as a library loaded on another thread might while the
// program changes its skin. Named events, when the test made them, mark
// the attach and hold it until the test lets it ask.
#include <windows.h>

namespace {
DWORD g_dwSkinHookTestAttachColour = 0xFFFFFFFF;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason != DLL_PROCESS_ATTACH)
        return TRUE;
    HANDLE hAttached = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "SondrelSkinHookTestAttached");
    HANDLE hAsk = ::OpenEventA(SYNCHRONIZE, FALSE, "SondrelSkinHookTestAsk");
    if (hAttached != nullptr)
    {
        ::SetEvent(hAttached);
        ::CloseHandle(hAttached);
    }
    if (hAsk != nullptr)
    {
        ::WaitForSingleObject(hAsk, 30000);
        ::CloseHandle(hAsk);
    }
    typedef DWORD(WINAPI * PFNSYSCOLOR)(int);
    HMODULE hOther = ::GetModuleHandleA("skinhooktesta.dll");
    PFNSYSCOLOR pfnColor =
        hOther != nullptr ? reinterpret_cast<PFNSYSCOLOR>(::GetProcAddress(hOther, "SkinHookTestSysColor"))
                          : nullptr;
    if (pfnColor != nullptr)
        g_dwSkinHookTestAttachColour = pfnColor(COLOR_BTNFACE);
    return TRUE;
}

// The colour the attach routine was given; all bits set when it asked none.
extern "C" DWORD WINAPI SkinHookTestAttachColour()
{
    return g_dwSkinHookTestAttachColour;
}
