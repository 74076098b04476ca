// Where CString::LoadString looks for a string. Kept apart, without afx.h, so
// that string code links before the module state does: the reference to
// AfxFindResourceHandle is weak here, and without the module state the
// program's own module is the one to search.
#include <windows.h>

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType) __attribute__((weak));

HINSTANCE _AfxFindStringResourceHandle(UINT nID)
{
    if (AfxFindResourceHandle)
        return AfxFindResourceHandle(MAKEINTRESOURCEW((nID >> 4) + 1), (LPCWSTR)RT_STRING);
    return GetModuleHandleW(nullptr);
}
