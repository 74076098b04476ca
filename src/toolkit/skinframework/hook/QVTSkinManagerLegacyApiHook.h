// The interception engine: selected system functions are replaced in the
// import tables of every module of the process, so that code the program
// does not own answers from the skin. Only import entries are written, one
// aligned pointer each, the page protection restored after.
#pragma once

#include <afx.h>

#include <map>
#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"

class CQVTSkinManagerLegacyApiHook;
class CQVTSkinManagerModuleList;
class CQVTWinThemeWrapper;

enum : int
{
    qvtApiHookRowCount = 137,
};

// One row of the static table: six pointer-wide fields.
struct QVT_APIHOOKENTRY
{
    UINT_PTR nId;
    LPCSTR lpszModule;
    LPCSTR lpszFunction;
    void* pReplacement;
    UINT_PTR nApplyMask;
    BOOL (*pfnCondition)();
};

// One installed row: what the function was before, and what replaces it.
class CQVTSkinManagerLegacyApiFunction : public CQVTSynchronized
{
public:
    CQVTSkinManagerLegacyApiFunction(CQVTSkinManagerLegacyApiHook* pOwner, LPCSTR lpszModule,
                                     LPCSTR lpszFunction, void* pSaved, void* pReplacement);

    // Patches (or restores) this row in one module; TRUE when an entry of
    // the module now holds the target.
    BOOL HookImport(HMODULE hModule);
    BOOL UnhookImport(HMODULE hModule);

    CQVTSkinManagerLegacyApiHook* m_pOwner;
    BOOL m_bHooked = FALSE;
    char m_szModule[50];
    char m_szFunction[30];
    void* m_pSaved;
    void* m_pAlternate = nullptr;
    void* m_pReplacement;
};

class CQVTSkinManagerLegacyApiHook : public CQVTSkinManagerApiHookBase
{
public:
    struct EXCLUDEDMODULE
    {
        HMODULE hModule;
        CString strName;  // a trailing asterisk makes it a prefix pattern
        BOOL bWin9xOnly;
    };

    // The handle the GetModuleHandle replacements give for "UxTheme.dll".
    static HMODULE const s_hPseudoUxTheme;

    CQVTSkinManagerLegacyApiHook();
    ~CQVTSkinManagerLegacyApiHook() override;

    void InitializeHookManagement() override;
    void FinalizeHookManagement() override;
    void ExcludeModule(LPCWSTR lpszModule, BOOL bWin9x) override;
    void* GetOriginalFunctionAddress(int nId) override;
    BOOL AdjustWindowRectExOrig(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) override;
    LRESULT CallWindowProcOrig(WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                               LPARAM lParam) override;
    void* GetOpenThemeDataOriginalPtr() override { return GetOriginalFunctionAddress(101); }
    void* GetCloseThemeDataOriginalPtr() override { return GetOriginalFunctionAddress(105); }
    void ConnectWrapper(CQVTWinThemeWrapper* pWrapper) override;

    CQVTSkinManagerLegacyApiFunction* HookApiFunction(int nId, LPCSTR lpszModule, LPCSTR lpszFunction,
                                                      void* pReplacement, CQVTSkinManagerModuleList& modules);
    CQVTSkinManagerLegacyApiFunction* FindFunction(int nId);
    CQVTSkinManagerLegacyApiFunction* FindFunction(LPCSTR lpszModule, LPCSTR lpszFunction);
    // The installed hook's row with a saved address; else null with the
    // last error ERROR_PROC_NOT_FOUND.
    static CQVTSkinManagerLegacyApiFunction* AFXAPI GetOriginalFunction(int nId);
    static CQVTSkinManagerLegacyApiFunction* AFXAPI GetOriginalFunction(LPCSTR lpszModule,
                                                                        LPCSTR lpszFunction);

    void HookModule(HMODULE hModule, DWORD dwFlags);
    void UnhookModule(HMODULE hModule);
    // The count after the change.
    int AddModuleReference(HMODULE hModule);
    int ReleaseModuleReference(HMODULE hModule);
    BOOL IsModuleReferenced(HMODULE hModule);
    BOOL IsModuleExcluded(HMODULE hModule);

    // The export a module's name stands for, following forwarders; null when
    // the module has no such export or its export directory is unreadable.
    static void* AFXAPI FindExport(HMODULE hModule, LPCSTR lpszFunction);
    // The row table, indexed by identifier, and the order installation
    // walks it in.
    static const QVT_APIHOOKENTRY* AFXAPI GetRows();
    static const int* AFXAPI GetStoredOrder();
    // Whether installation takes a row under the apply options given.
    static BOOL AFXAPI IsRowSelected(const QVT_APIHOOKENTRY& row, UINT nApplyOptions);

    static BOOL AFXAPI IsInstalled();
    static BOOL AFXAPI IsInstalling();
    // Installed, and the row patched into some module: the row's replacement
    // may answer from the skin.
    static BOOL AFXAPI IsRowActive(int nId);
    // The function a replacement calls on: the row's saved address, or the
    // real export when the hook holds none (the hook gone, a replacement
    // cached from GetProcAddress still called).
    static void* AFXAPI GetSavedAddress(int nId);
    // At process exit: every replacement left in an import table calls its
    // saved function from now on; nothing is unpatched or freed.
    void DetachAtExit();
    // The hook the replacements answer for: the last one made.
    static CQVTSkinManagerLegacyApiHook* AFXAPI GetCurrent();

    // The calling thread's load depth.
    LONG* GetLoadDepth();
    // The program's own module: the framework's instance, else the executable.
    static HMODULE AFXAPI GetOwnModule();
    // The saved GetModuleHandleA and GetProcAddress, else the system's.
    HMODULE GetModuleHandleOrig(LPCSTR lpszModule);
    FARPROC GetProcAddressOrig(HMODULE hModule, LPCSTR lpszName);

private:
    // The row's function object, its saved address found (made once).
    CQVTSkinManagerLegacyApiFunction* PrepareFunction(int nId, LPCSTR lpszModule, LPCSTR lpszFunction,
                                                      void* pReplacement);
    // Patches (bHook) or restores the functions in every module of the list
    // and the program's own, one walk of each module's tables for all.
    void PatchFunctions(CQVTSkinManagerLegacyApiFunction* const* ppFunctions, size_t nFunctions,
                        CQVTSkinManagerModuleList& modules, BOOL bHook);
    void ResolveExcludedModules();
    BOOL IsExcludedLocked(HMODULE hModule);

    CQVTSkinManagerLegacyApiFunction* m_rgFunctions[qvtApiHookRowCount] = {};
    std::vector<EXCLUDEDMODULE> m_excluded;
    BOOL m_bApphelp = FALSE;
    std::map<HMODULE, LONG> m_references;
    DWORD m_dwDepthSlot = TLS_OUT_OF_INDEXES;
    CRITICAL_SECTION m_csDepths;
    std::vector<LONG*> m_depths;
    void* m_pfnLdrLockLoaderLock = nullptr;
    void* m_pfnLdrUnlockLoaderLock = nullptr;

    friend class CQVTSkinHookLoaderLock;
};
