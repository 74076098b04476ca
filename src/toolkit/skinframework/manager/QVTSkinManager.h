// The process-wide centre of the skin framework: the loaded skin, the skin
// objects of the process's windows, the creation hook that attaches them,
// and the notices every skinned window gets when the skin changes.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

class CQVTSkinManagerClass;
class CQVTSkinManagerLegacyApiHook;
class CQVTSkinManagerMetrics;
class CQVTSkinManagerResourceFile;
class CQVTSkinManagerSchema;
class CQVTSkinObject;
class CQVTSkinObjectClassMap;

// Apply-option bits beyond the metrics bit.
enum : UINT
{
    qvtSkinApplyFrames = 2,  // window frames and captions
    qvtSkinApplyColors = 4,  // system colours and theme answers
    qvtSkinApplyMenus = 8,   // popup menus
    qvtSkinApplyAll = 15,
};

// Rewrites a colour of the skin in place.
class CQVTSkinManagerColorFilter
{
public:
    virtual ~CQVTSkinManagerColorFilter() = default;
    virtual void ApplyColorFilter(COLORREF& clr) = 0;
};

// An optional judge of the exclusion test: TRUE leaves the window unskinned.
class IQVTSkinManagerWindowFilter
{
public:
    virtual ~IQVTSkinManagerWindowFilter() = default;
    virtual BOOL FilterWindow(HWND hWnd, LPCTSTR lpszClassName, const CREATESTRUCT* lpcs) = 0;
};

struct QVT_SKINAMANGER_THREAD_STATE : public CNoTrackObject
{
    ~QVT_SKINAMANGER_THREAD_STATE() override;
    HHOOK m_hHookCbt = nullptr;
};

class CQVTSkinManager : public IQVTApplicationEvents, public CQVTSynchronized, public CQVTSkinManagerSite
{
public:
    struct PERSISTENT_IMPORT_INFO
    {
        HMODULE hModule;
        BOOL bPersistent;
    };

    CQVTSkinManager();
    ~CQVTSkinManager() override;

    void OnShutdownBegin(CQVTApplication* pApplication) override;
    void OnShutdown(CQVTApplication*) override {}
    void OnShutdownEnd(CQVTApplication*) override {}
    void OnAmbientPropertyChanged(CQVTApplication*, int) override {}
    virtual CQVTSkinManagerClass* GetSkinClass(CQVTSkinObject* pObject, CString strClassList);
    virtual void OnSkinChanged(BOOL bPrevState, BOOL bNewState);
    virtual CQVTSkinObject* AttachSkinObject(HWND hWnd, LPCTSTR lpszClassName, LPCREATESTRUCT lpcs,
                                             BOOL bAuto);

    BOOL LoadSkin(LPCTSTR lpszResourcePath, LPCTSTR lpszIniFileName);
    BOOL IsSkinLoaded() const { return m_bLoaded; }
    void SetApplyOptions(UINT nOptions);
    UINT GetApplyOptions() override { return m_nApplyOptions; }

    CQVTSkinObject* Lookup(HWND hWnd);
    void Remove(HWND hWnd, BOOL bDetach = FALSE);
    void RemoveAll(BOOL bDetach);
    BOOL IsExcludedWindow(HWND hWnd, LPCTSTR lpszClassName, const CREATESTRUCT* lpcs);

    // Filters are owned: deleted on removal.
    void AddColorFilter(CQVTSkinManagerColorFilter* pFilter);
    void ApplyColorFilter(COLORREF* pColor) override;
    BOOL HasColorFilters() override;
    void RemoveColorFilters();

    CQVTSkinManagerSchema* GetSchema() const { return m_pSchema; }
    CQVTSkinManagerResourceFile* GetResourceFile() const { return m_pResourceFile; }
    CQVTSkinObjectClassMap* GetClassMap() const { return m_pClassMap; }
    CQVTSkinManagerMetrics* GetMetrics();
    COLORREF GetThemeSysColor(int nColorId);
    int GetThemeSysSize(int nSizeId);

    static void AFX_CDECL RegisterThemeHandle(void* hTheme, CQVTSkinManagerClass* pClass);
    static CQVTSkinManagerClass* AFX_CDECL GetThemeClass(void* hTheme);
    static void AFX_CDECL UnregisterThemeHandle(void* hTheme);
    // Every handle of a class going away.
    static void AFX_CDECL UnregisterThemeClass(CQVTSkinManagerClass* pClass);

    BOOL IsPersistentModule(HMODULE hModule);

    // Installs the creation hook on the calling thread, once.
    void EnableThreadHook();
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallSavedWindowProc(WNDPROC pfnProc, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Reads the compatibility layer of the running program again (made at
    // construction; tests write the key first).
    void ReadCompatibilityLayer();
    BOOL IsThemesDisabled() const { return m_bThemesDisabled; }
    // Replaces the display's colour-depth test (tests: the display is 24-bit).
    static BOOL(AFXAPI* s_pfnIsLowColorDisplay)(HDC);
    // Called by a skin change (a load, new apply options) on its thread once
    // the skin is in force and before the colours are refreshed, holding no
    // lock but the change's own (tests hold the change there); null in the
    // program.
    static void(AFXAPI* s_pfnBeforeColorRefresh)();

    void SetWindowFilter(IQVTSkinManagerWindowFilter* pFilter) { m_pWindowFilter = pFilter; }
    HWINEVENTHOOK GetWinEventHook() const { return m_hWinEventHook; }
    // The interception engine, owned.
    CQVTSkinManagerLegacyApiHook* GetApiHook() const { return m_pApiHook; }

    BOOL m_bAutoApplyWindows = TRUE;
    BOOL m_bAutoApplyThreads = TRUE;

private:
    static LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK WinEventHookProc(HWINEVENTHOOK hHook, DWORD dwEvent, HWND hWnd, LONG idObject,
                                          LONG idChild, DWORD dwEventThread, DWORD dwmsEventTime);
    static BOOL CALLBACK NotifyTopLevelProc(HWND hWnd, LPARAM lParam);
    // Removes (FALSE) or installs (TRUE) the interceptions for the apply
    // options.
    void ApplyInterceptions(BOOL bInstall);
    BOOL WalkImports(HMODULE hWalked, HMODULE hQueried, std::vector<CStringA>& visited, int nDepth);
    void RemoveLocked(HWND hWnd, BOOL bDetach);

    DWORD m_dwComCtlVersion = 0;
    BOOL m_bThemesDisabled = FALSE;
    BOOLEAN m_bWin9x = FALSE;
    BOOL m_bLoaded = FALSE;
    CQVTSkinManagerSchema* m_pSchema = nullptr;
    CQVTSkinManagerResourceFile* m_pResourceFile = nullptr;
    UINT m_nApplyOptions = qvtSkinApplyAll;
    HWINEVENTHOOK m_hWinEventHook = nullptr;
    CMap<HWND, HWND, CQVTSkinObject*, CQVTSkinObject*> m_mapObjects;
    CRITICAL_SECTION m_cs;
    typedef HWINEVENTHOOK(WINAPI* PFNSETWINEVENTHOOK)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD,
                                                      DWORD);
    typedef BOOL(WINAPI* PFNUNHOOKWINEVENT)(HWINEVENTHOOK);
    PFNSETWINEVENTHOOK m_pfnSetWinEventHook = nullptr;
    PFNUNHOOKWINEVENT m_pfnUnhookWinEvent = nullptr;
    std::vector<CQVTSkinManagerColorFilter*> m_colorFilters;
    CQVTSkinObjectClassMap* m_pClassMap = nullptr;
    CQVTSkinManagerLegacyApiHook* m_pApiHook = nullptr;
    IQVTSkinManagerWindowFilter* m_pWindowFilter = nullptr;
    CQVTRWCriticalSection m_changeLock;  // held by a skin change from start to end
    CQVTRWCriticalSection m_moduleLock;
    std::vector<PERSISTENT_IMPORT_INFO> m_persistentModules;
    AFX_MODULE_STATE* m_pModuleState = nullptr;
};

// The one manager, made on first use.
CQVTSkinManager* AFXAPI QVTSkinManager();
