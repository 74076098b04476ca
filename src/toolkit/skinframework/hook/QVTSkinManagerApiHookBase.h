// The address-range checks of the interception engine: whether a window or
// hook procedure lies in a system module, and whether the process's modules
// can be listed at all (the module list binds PSAPI at run time).
#pragma once

#include <windows.h>

class CQVTSkinManagerApiHookBase
{
public:
    // TRUE for a narrow-form procedure handle (0xFFFF00xx in the low 32
    // bits) and for an address inside USER32.DLL, COMCTL32.DLL, NTDLL.DLL
    // (XP and later) or APPHELP.DLL (Windows 7 and later).
    static BOOL AFXAPI IsSystemAddress(const void* pAddress);
    static BOOL AFXAPI IsApphelpAddress(const void* pAddress);
    // TRUE when base < address < base + size of the loaded module.
    static BOOL AFXAPI IsAddressInModule(const void* pAddress, LPCSTR lpszModuleName);
};

// TRUE when PSAPI offers the calls that list modules and give their ranges.
BOOL AFXAPI IsModuleEnumerationSupported();
// The base and size of a loaded module through PSAPI; FALSE without PSAPI
// or for a module that is not loaded.
BOOL AFXAPI QVTSkinGetModuleRange(HMODULE hModule, BYTE** ppBase, SIZE_T* pcbSize);
