// Wine's loader lock, reached in ntdll by name: tests hold it as a library's
// attach routine would, or try it without waiting (disposition 1: taken).
#pragma once

#include <windows.h>

struct LoaderLock
{
    typedef LONG(WINAPI* PFNLOCK)(ULONG, ULONG*, ULONG_PTR*);
    typedef LONG(WINAPI* PFNUNLOCK)(ULONG, ULONG_PTR);

    LoaderLock()
    {
        HMODULE hNtdll = ::GetModuleHandleW(u"ntdll.dll");
        pfnLock = reinterpret_cast<PFNLOCK>(::GetProcAddress(hNtdll, "LdrLockLoaderLock"));
        pfnUnlock = reinterpret_cast<PFNUNLOCK>(::GetProcAddress(hNtdll, "LdrUnlockLoaderLock"));
    }
    bool Found() const { return pfnLock != nullptr && pfnUnlock != nullptr; }

    PFNLOCK pfnLock = nullptr;
    PFNUNLOCK pfnUnlock = nullptr;
};
