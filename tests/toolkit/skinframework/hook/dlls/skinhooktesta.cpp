// A module the interception's tests load and free: it imports USER32 and
// UXTHEME as any library of the process would, and calls the loader through its own import entries.
#include <windows.h>
// Wine's uxtheme.h declares its functions without C linkage.
extern "C" {
#include <uxtheme.h>
}

extern "C" DWORD WINAPI SkinHookTestSysColor(int nIndex)
{
    return ::GetSysColor(nIndex);
}

extern "C" BOOL WINAPI SkinHookTestThemeActive()
{
    return ::IsThemeActive();
}

// Calls through the module's own import entries of the loader.
extern "C" HMODULE WINAPI SkinHookTestModuleHandle(LPCWSTR lpszName)
{
    return ::GetModuleHandleW(lpszName);
}

extern "C" HMODULE WINAPI SkinHookTestLoad(LPCWSTR lpszName)
{
    return ::LoadLibraryW(lpszName);
}

extern "C" BOOL WINAPI SkinHookTestFree(HMODULE hModule)
{
    return ::FreeLibrary(hModule);
}

// Draws one theme part through the module's own theme imports.
extern "C" HRESULT WINAPI SkinHookTestDrawPart(HWND hWnd, LPCWSTR lpszClass, HDC hDC, int nPart, int nState,
                                               const RECT* pRect)
{
    HTHEME hTheme = ::OpenThemeData(hWnd, lpszClass);
    if (hTheme == nullptr)
        return E_FAIL;
    const HRESULT hr = ::DrawThemeBackground(hTheme, hDC, nPart, nState, pRect, nullptr);
    ::CloseThemeData(hTheme);
    return hr;
}
