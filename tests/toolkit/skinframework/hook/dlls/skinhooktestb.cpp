// A module whose DllMain loads skinhooktesta.dll: a load inside a load.
#include <windows.h>

namespace {
HMODULE g_hSkinHookTestInner = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hSkinHookTestInner = ::LoadLibraryA("skinhooktesta.dll");
    else if (dwReason == DLL_PROCESS_DETACH && g_hSkinHookTestInner != nullptr)
        ::FreeLibrary(g_hSkinHookTestInner);
    return TRUE;
}

extern "C" HMODULE WINAPI SkinHookTestInner()
{
    return g_hSkinHookTestInner;
}
