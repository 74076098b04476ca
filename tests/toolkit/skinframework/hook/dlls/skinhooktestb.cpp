// A module whose DllMain loads another: skinhooktestc.dll through
// skinhooktesta.dll's import entries when that one is loaded (a load inside
// a load that passes the interception), else skinhooktesta.dll itself.
#include <windows.h>

namespace {
HMODULE g_hSkinHookTestInner = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        typedef HMODULE(WINAPI * PFNLOAD)(const WCHAR*);
        static const WCHAR s_szInner[] = {'s', 'k', 'i', 'n', 'h', 'o', 'o', 'k', 't',
                                          'e', 's', 't', 'c', '.', 'd', 'l', 'l', 0};
        HMODULE hOther = ::GetModuleHandleA("skinhooktesta.dll");
        PFNLOAD pfnLoad = hOther != nullptr
                              ? reinterpret_cast<PFNLOAD>(::GetProcAddress(hOther, "SkinHookTestLoad"))
                              : nullptr;
        g_hSkinHookTestInner = pfnLoad != nullptr ? pfnLoad(s_szInner) : ::LoadLibraryA("skinhooktesta.dll");
    }
    else if (dwReason == DLL_PROCESS_DETACH && g_hSkinHookTestInner != nullptr)
        ::FreeLibrary(g_hSkinHookTestInner);
    return TRUE;
}

extern "C" HMODULE WINAPI SkinHookTestInner()
{
    return g_hSkinHookTestInner;
}
