// The interception engine's interface, and its address-range checks:
// whether a window or hook procedure lies in a system module, and whether
// the process's modules can be listed at all (the module list binds PSAPI at
// run time).
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/core/QVTApplication.h"

class CQVTWinThemeWrapper;

class CQVTSkinManagerApiHookBase : public CObject, public CQVTSynchronized
{
public:
    // dwKind tells the engines apart (1: the import-table engine).
    explicit CQVTSkinManagerApiHookBase(DWORD dwKind) : m_dwKind(dwKind) { GetFrameworkWndProc(); }
    ~CQVTSkinManagerApiHookBase() override = default;

    virtual void InitializeHookManagement() = 0;
    virtual void FinalizeHookManagement() = 0;
    // bWin9x: the module is left alone on Windows 9x only.
    virtual void ExcludeModule(LPCWSTR lpszModule, BOOL bWin9x) = 0;
    virtual void* GetOriginalFunctionAddress(int nId) = 0;
    virtual BOOL AdjustWindowRectExOrig(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) = 0;
    virtual LRESULT CallWindowProcOrig(WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) = 0;
    virtual void* GetOpenThemeDataOriginalPtr() = 0;
    virtual void* GetCloseThemeDataOriginalPtr() = 0;
    virtual void ConnectWrapper(CQVTWinThemeWrapper* pWrapper) = 0;

    DWORD GetKind() const { return m_dwKind; }
    // The framework's own window procedure, fetched by the first engine made.
    static WNDPROC AFXAPI GetFrameworkWndProc()
    {
        static WNDPROC s_pfnWndProc = AfxGetAfxWndProc();
        return s_pfnWndProc;
    }

    // TRUE for a narrow-form procedure handle (0xFFFF00xx in the low 32
    // bits) and for an address inside USER32.DLL, COMCTL32.DLL, NTDLL.DLL
    // (XP and later) or APPHELP.DLL (Windows 7 and later).
    static BOOL AFXAPI IsSystemAddress(const void* pAddress);
    static BOOL AFXAPI IsApphelpAddress(const void* pAddress);
    // TRUE when base < address < base + size of the loaded module.
    static BOOL AFXAPI IsAddressInModule(const void* pAddress, LPCSTR lpszModuleName);

    // Offers a message that reached an intercepted default procedure to the
    // window's skin object. nKind: 1 CallWindowProc, 2 DefWindowProc, 3
    // DefMDIChildProc, 4 DefFrameProc, 5 DefDlgProc; nArgument the previous
    // procedure (1) or the MDI client (4). TRUE when the object answered,
    // its result in lResult. Windows of other threads are never offered.
    static BOOL AFXAPI DispatchDefWindowProc(HWND hWnd, void* pSaved, UINT nKind, ULONG_PTR nArgument,
                                             UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

private:
    DWORD m_dwKind;
};

// TRUE when PSAPI offers the calls that list modules and give their ranges.
BOOL AFXAPI IsModuleEnumerationSupported();
// The base and size of a loaded module, from the loader's record; FALSE without PSAPI
// or for a module that is not loaded.
BOOL AFXAPI QVTSkinGetModuleRange(HMODULE hModule, BYTE** ppBase, SIZE_T* pcbSize);
