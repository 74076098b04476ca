#include "toolkit/skinframework/manager/QVTSkinManager.h"

#include <afxtempl.h>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/gdi/QVTGdiObjectCache.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "toolkit/skinframework/objects/QVTSkinObjectApplicationFrame.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchemaNames.h"

namespace {
// Dialog textures (uxtheme's ETDT_ values).
const int kSkinManagerTextureEnable = 2;
const int kSkinManagerTextureEnableTab = 6;

CQVTSkinManager* g_pSkinManager = nullptr;

CQVTRWCriticalSection& SkinManagerPointerLock()
{
    static CQVTRWCriticalSection lock;
    return lock;
}

// Theme handles the theme functions gave out, and their classes.
CQVTRWCriticalSection& SkinManagerThemeLock()
{
    static CQVTRWCriticalSection lock;
    return lock;
}
CMap<void*, void*, CQVTSkinManagerClass*, CQVTSkinManagerClass*>& SkinManagerThemeMap()
{
    static CMap<void*, void*, CQVTSkinManagerClass*, CQVTSkinManagerClass*> map(10);
    return map;
}

CThreadLocal<QVT_SKINAMANGER_THREAD_STATE>& SkinManagerThreadState()
{
    static CThreadLocal<QVT_SKINAMANGER_THREAD_STATE> state;
    return state;
}

// The singletons the manager uses until its end are made before it, so
// that they are destroyed after it.
void SkinManagerSetUp()
{
    QVTSkinRegisterMessages();
    CQVTSkinManagerModuleList::IsModuleEnumerationSupported();
    QVTSkinManagerSchemaNames();
    QVTBrushCache();
    QVTSoundPlayer();
}

// Runs a hook procedure's body; nothing may unwind into the system.
template <class Fn>
void SkinManagerGuard(Fn fn)
{
    try
    {
        fn();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

// TRUE once the process has begun to exit: its hooks go with it, and Wine's
// UnhookWinEvent then ends the process with exit code 0, hiding a failure.
BOOL SkinManagerProcessExiting()
{
    typedef BOOLEAN(WINAPI * PFNSHUTDOWNINPROGRESS)();
    static PFNSHUTDOWNINPROGRESS pfn = reinterpret_cast<PFNSHUTDOWNINPROGRESS>(
        ::GetProcAddress(::GetModuleHandleW(u"ntdll.dll"), "RtlDllShutdownInProgress"));
    return pfn != nullptr && pfn();
}

struct SkinManagerTopLevelNotice
{
    DWORD dwProcessId;
};
}  // namespace

BOOL(AFXAPI* CQVTSkinManager::s_pfnIsLowColorDisplay)(HDC) = &CQVTColorManager::IsLowColorDisplay;
void(AFXAPI* CQVTSkinManager::s_pfnBeforeColorRefresh)() = nullptr;

QVT_SKINAMANGER_THREAD_STATE::~QVT_SKINAMANGER_THREAD_STATE()
{
    if (m_hHookCbt != nullptr && !SkinManagerProcessExiting())
        ::UnhookWindowsHookEx(m_hHookCbt);
}

CQVTSkinManager* AFXAPI QVTSkinManager()
{
    {
        CQVTReadLock lock(SkinManagerPointerLock());
        if (g_pSkinManager != nullptr)
            return g_pSkinManager;
    }
    static CQVTSingletonPointer holder(sizeof(CQVTSkinManager), &QVTConstructSingleton<CQVTSkinManager>,
                                       &QVTDestroySingleton<CQVTSkinManager>, &SkinManagerSetUp);
    return static_cast<CQVTSkinManager*>(holder.GetInstance());
}

CQVTSkinManager::CQVTSkinManager() : m_mapObjects(10)
{
    ReadCompatibilityLayer();
    ::InitializeCriticalSection(&m_cs);
    {
        // Calls made while the manager is built find it.
        CQVTReadLock lock(SkinManagerPointerLock());
        g_pSkinManager = this;
    }
    m_pModuleState = AfxGetModuleState();

    QVTSkinRegisterMessages();
    m_pResourceFile = new CQVTSkinManagerResourceFile(this);
    m_pApiHook = new CQVTSkinManagerLegacyApiHook();
    m_pClassMap = new CQVTSkinObjectClassMap();
    m_pClassMap->AddStandardClasses();

    m_mapObjects.InitHashTable(199);
    m_dwComCtlVersion = GetComCtlVersion();
    m_bWin9x = QVTOSVersion()->IsWin9x() ? TRUE : FALSE;

    HMODULE hUser = ::GetModuleHandleW(u"USER32");
    if (hUser != nullptr)
    {
        m_pfnSetWinEventHook =
            reinterpret_cast<PFNSETWINEVENTHOOK>(::GetProcAddress(hUser, "SetWinEventHook"));
        m_pfnUnhookWinEvent = reinterpret_cast<PFNUNHOOKWINEVENT>(::GetProcAddress(hUser, "UnhookWinEvent"));
        if (m_pfnSetWinEventHook != nullptr && m_pfnUnhookWinEvent != nullptr)
            m_hWinEventHook =
                m_pfnSetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, nullptr,
                                     &CQVTSkinManager::WinEventHookProc, ::GetCurrentProcessId(), 0, 0);
    }
    EnableThreadHook();

    CQVTApplication* pApplication = QVTApplication();
    CQVTWriteLock lock(pApplication->GetLock());
    if (!pApplication->HasObserver(this))
        pApplication->AddObserver(this);
}

CQVTSkinManager::~CQVTSkinManager()
{
    SkinManagerGuard([this] {
        CQVTApplication* pApplication = QVTApplication();
        CQVTWriteLock lock(pApplication->GetLock());
        pApplication->RemoveObserver(this);
    });
    // At process exit the windows are gone with their threads, and a
    // window call or a FreeLibrary from here ends the process with exit
    // code 0: the skin file, its schema and the hooks go with the process.
    const BOOL bExiting = SkinManagerProcessExiting();
    if (m_bLoaded && !bExiting)
        LoadSkin(nullptr, nullptr);
    m_bLoaded = FALSE;
    if (!bExiting)
        m_pResourceFile->Close();
    RemoveColorFilters();
    if (m_pSchema != nullptr && !bExiting)
        m_pSchema->InternalRelease();
    m_pSchema = nullptr;
    if (bExiting)
    {
        POSITION pos = m_mapObjects.GetStartPosition();
        while (pos != nullptr)
        {
            HWND hWnd = nullptr;
            CQVTSkinObject* pObject = nullptr;
            m_mapObjects.GetNextAssoc(pos, hWnd, pObject);
            pObject->InternalRelease();
        }
        m_mapObjects.RemoveAll();
    }
    else
        RemoveAll(TRUE);
    delete m_pClassMap;
    m_pClassMap = nullptr;
    if (bExiting)
    {
        // Import tables left as they are: the replacements only pass on
        // now, and the hook stays for any still called.
        if (m_pApiHook != nullptr)
            m_pApiHook->DetachAtExit();
    }
    else
        ApplyInterceptions(FALSE);
    if (::GetModuleHandleW(u"USER32") != nullptr && m_hWinEventHook != nullptr &&
        m_pfnUnhookWinEvent != nullptr && !bExiting)
        m_pfnUnhookWinEvent(m_hWinEventHook);
    m_hWinEventHook = nullptr;
    if (!bExiting)
    {
        delete m_pApiHook;
        m_pApiHook = nullptr;
    }
    // The resource file goes last: objects removed above may still have
    // drawn with a schema that reads it.
    if (!bExiting)
        m_pResourceFile->InternalRelease();
    m_pResourceFile = nullptr;
    ::DeleteCriticalSection(&m_cs);
    CQVTReadLock lock(SkinManagerPointerLock());
    if (g_pSkinManager == this)
        g_pSkinManager = nullptr;
}

void CQVTSkinManager::OnShutdownBegin(CQVTApplication* /*pApplication*/)
{
    if (m_bLoaded)
        LoadSkin(nullptr, nullptr);
}

void CQVTSkinManager::ReadCompatibilityLayer()
{
    m_bThemesDisabled = FALSE;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER,
                        u"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers", 0,
                        KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    WCHAR szPath[261] = {};
    ::GetModuleFileNameW(nullptr, szPath, 260);
    BYTE buffer[100] = {};
    DWORD cbValue = sizeof(buffer);
    DWORD dwType = 0;
    if (::RegQueryValueExW(hKey, szPath, nullptr, &dwType, buffer, &cbValue) == ERROR_SUCCESS &&
        cbValue == 28)
        m_bThemesDisabled = memcmp(buffer, u"DISABLETHEMES", 28) == 0;
    ::RegCloseKey(hKey);
}

void CQVTSkinManager::EnableThreadHook()
{
    QVT_SKINAMANGER_THREAD_STATE* pState = SkinManagerThreadState().GetData();
    if (pState != nullptr && pState->m_hHookCbt == nullptr)
        pState->m_hHookCbt =
            ::SetWindowsHookExW(WH_CBT, &CQVTSkinManager::CbtFilterHook, nullptr, ::GetCurrentThreadId());
}

LRESULT CALLBACK CQVTSkinManager::CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    QVT_SKINAMANGER_THREAD_STATE* pState = SkinManagerThreadState().GetDataNA();
    const LRESULT lResult =
        ::CallNextHookEx(pState != nullptr ? pState->m_hHookCbt : nullptr, nCode, wParam, lParam);
    if (nCode != HCBT_CREATEWND)
        return lResult;
    SkinManagerGuard([&] {
        CQVTSkinManager* pManager = g_pSkinManager;
        if (pManager == nullptr)
            return;
        CQVTReadLock lock(pManager->m_lock);
        if (!pManager->m_bAutoApplyWindows)
            return;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        WCHAR szClass[257] = {};
        if (::GetClassNameW(hWnd, szClass, 257) == 0 || pManager->Lookup(hWnd) != nullptr)
            return;
        CBT_CREATEWNDW* pCreate = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        pManager->AttachSkinObject(
            hWnd, szClass, pCreate != nullptr ? reinterpret_cast<LPCREATESTRUCT>(pCreate->lpcs) : nullptr,
            TRUE);
    });
    return lResult;
}

BOOL CQVTSkinManager::IsExcludedWindow(HWND hWnd, LPCTSTR lpszClassName, const CREATESTRUCT* lpcs)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != ::GetCurrentProcessId())
        return TRUE;
    if (lpcs != nullptr && lpcs->dwExStyle == 0 && lpcs->style == 0 && lpcs->x == 0 && lpcs->y == 0 &&
        lpcs->cx == 0 && lpcs->cy == 0)
        return TRUE;
    static const LPCTSTR kExcluded[] = {u"tooltips_class32",   u"#43",         u"IME",
                                        u"CicMarshalWndClass", u"MSCTFIME UI", u"WorkerW",
                                        u"SHELLDLL_DefView"};
    for (LPCTSTR lpszExcluded : kExcluded)
        if (lpszClassName != nullptr && ::lstrcmpiW(lpszClassName, lpszExcluded) == 0)
            return TRUE;
    if (m_pWindowFilter != nullptr)
        return m_pWindowFilter->FilterWindow(hWnd, lpszClassName, lpcs);
    return FALSE;
}

CQVTSkinObject* CQVTSkinManager::AttachSkinObject(HWND hWnd, LPCTSTR lpszClassName, LPCREATESTRUCT lpcs,
                                                  BOOL bAuto)
{
    if (hWnd == nullptr || lpszClassName == nullptr)
        return nullptr;
    if (IsExcludedWindow(hWnd, lpszClassName, lpcs))
        return nullptr;
    CString strClass(lpszClassName);
    if (strClass.Find(u"Internet Explorer") >= 0 || strClass.Find(u"OleMainThread") >= 0)
        return nullptr;

    CQVTReadLock lock(m_lock);
    CQVTSkinObject* pObject = nullptr;
    if (strClass.Find(u"WindowsForms") >= 0)
    {
        const int nFirst = strClass.Find(u'.');
        const int nSecond = nFirst >= 0 ? strClass.Find(u'.', nFirst + 1) : -1;
        if (nFirst >= 0 && nSecond > nFirst && m_pClassMap != nullptr)
        {
            CQVTSkinObjectClassInfo* pInfo =
                m_pClassMap->Lookup(strClass.Mid(nFirst + 1, nSecond - nFirst - 1));
            // A control the map leaves unskinned stays so.
            if (pInfo != nullptr && (pObject = pInfo->CreateObject()) == nullptr)
                return nullptr;
        }
        // A Windows Forms window of no mapped control gets the application
        // frame.
        if (pObject == nullptr)
            pObject = new CQVTSkinObjectApplicationFrame;
        pObject->m_bWindowsForms = TRUE;
    }
    else
    {
        if (m_pClassMap == nullptr)
            return nullptr;
        CQVTSkinObjectClassInfo* pInfo = m_pClassMap->Lookup(strClass);
        // A window of an unmapped class gets the application frame, which
        // skins its menu bar too.
        if (pInfo == nullptr)
            pObject = new CQVTSkinObjectApplicationFrame;
        else
            pObject = pInfo->CreateObject();
        if (pObject == nullptr)
            return nullptr;
    }

    CQVTWriteLock objectLock(pObject->GetLock());
    if (strClass == u"#32770")
    {
        pObject->m_nDialogTexture = kSkinManagerTextureEnable;
        HWND hParent = lpcs != nullptr ? lpcs->hwndParent : nullptr;
        if (hParent != nullptr && (lpcs->style & WS_CHILD) && (lpcs->style & DS_CONTROL))
        {
            CQVTSkinObject* pParentObject = Lookup(hParent);
            if (pParentObject != nullptr && pParentObject->m_nDialogTexture == kSkinManagerTextureEnableTab)
                pObject->m_nDialogTexture = kSkinManagerTextureEnableTab;
            else
            {
                HWND hTab =
                    reinterpret_cast<HWND>(::SendMessageW(hParent, 0x474 /* PSM_GETTABCONTROL */, 0, 0));
                if (hTab != nullptr && ::IsWindow(hTab))
                {
                    // A property sheet keeps its data in DWLP_USER; the
                    // first member is the sheet's window.
                    const HWND* pData =
                        reinterpret_cast<const HWND*>(::GetWindowLongPtrW(hParent, DWLP_USER));
                    DWORD dwFlags = 0;
                    if (pData != nullptr && !::IsBadReadPtr(pData, sizeof(HWND) + sizeof(PROPSHEETHEADERW)) &&
                        pData[0] == hParent)
                        dwFlags = reinterpret_cast<const PROPSHEETHEADERW*>(pData + 1)->dwFlags;
                    if ((dwFlags & 0x1002020) == 0)
                        pObject->m_nDialogTexture = kSkinManagerTextureEnableTab;
                }
            }
        }
    }
    pObject->m_pManager = this;
    {
        ::EnterCriticalSection(&m_cs);
        m_mapObjects.SetAt(hWnd, pObject);
        ::LeaveCriticalSection(&m_cs);
    }
    pObject->AttachHook(hWnd, lpcs, bAuto);
    return pObject;
}

CQVTSkinObject* CQVTSkinManager::Lookup(HWND hWnd)
{
    CQVTReadLock lock(m_lock);
    CQVTSkinObject* pObject = nullptr;
    ::EnterCriticalSection(&m_cs);
    m_mapObjects.Lookup(hWnd, pObject);
    ::LeaveCriticalSection(&m_cs);
    return pObject;
}

void CQVTSkinManager::RemoveLocked(HWND hWnd, BOOL bDetach)
{
    CQVTSkinObject* pObject = nullptr;
    ::EnterCriticalSection(&m_cs);
    if (m_mapObjects.Lookup(hWnd, pObject))
        m_mapObjects.RemoveKey(hWnd);
    ::LeaveCriticalSection(&m_cs);
    if (pObject == nullptr)
        return;
    {
        CQVTWriteLock objectLock(pObject->GetLock());
        pObject->UnattachHook(bDetach);
        pObject->m_pModuleState = AfxGetModuleState();
    }
    pObject->InternalRelease();
}

void CQVTSkinManager::Remove(HWND hWnd, BOOL bDetach)
{
    CQVTWriteLock lock(m_lock);
    RemoveLocked(hWnd, bDetach);
}

void CQVTSkinManager::RemoveAll(BOOL bDetach)
{
    CQVTWriteLock lock(m_lock);
    std::vector<HWND> windows;
    ::EnterCriticalSection(&m_cs);
    POSITION pos = m_mapObjects.GetStartPosition();
    while (pos != nullptr)
    {
        HWND hWnd = nullptr;
        CQVTSkinObject* pObject = nullptr;
        m_mapObjects.GetNextAssoc(pos, hWnd, pObject);
        windows.push_back(hWnd);
    }
    ::LeaveCriticalSection(&m_cs);
    for (HWND hWnd : windows)
        RemoveLocked(hWnd, bDetach);
    ::EnterCriticalSection(&m_cs);
    m_mapObjects.RemoveAll();
    ::LeaveCriticalSection(&m_cs);
}

void CQVTSkinManager::AddColorFilter(CQVTSkinManagerColorFilter* pFilter)
{
    CQVTWriteLock lock(m_lock);
    m_colorFilters.push_back(pFilter);
}

void CQVTSkinManager::ApplyColorFilter(COLORREF* pColor)
{
    CQVTReadLock lock(m_lock);
    for (CQVTSkinManagerColorFilter* pFilter : m_colorFilters)
        pFilter->ApplyColorFilter(*pColor);
}

BOOL CQVTSkinManager::HasColorFilters()
{
    return !m_colorFilters.empty();
}

void CQVTSkinManager::RemoveColorFilters()
{
    CQVTWriteLock lock(m_lock);
    for (CQVTSkinManagerColorFilter* pFilter : m_colorFilters)
        delete pFilter;
    m_colorFilters.clear();
}

CQVTSkinManagerClass* CQVTSkinManager::GetSkinClass(CQVTSkinObject* pObject, CString strClassList)
{
    CQVTReadLock lock(m_lock);
    CQVTSkinManagerSchema* pSchema = pObject != nullptr ? pObject->GetSchema() : m_pSchema;
    if (pSchema == nullptr)
        return nullptr;
    CQVTReadLock schemaLock(pSchema->GetLock());
    strClassList.MakeUpper();
    return pSchema->GetClass(strClassList);
}

CQVTSkinManagerMetrics* CQVTSkinManager::GetMetrics()
{
    CQVTReadLock lock(m_lock);
    if (m_pSchema == nullptr)
        return nullptr;
    CQVTReadLock schemaLock(m_pSchema->GetLock());
    return m_pSchema->GetMetrics();
}

COLORREF CQVTSkinManager::GetThemeSysColor(int nColorId)
{
    const BOOL bSystemId = nColorId >= 1601 && nColorId <= 1631;
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (m_pSchema == nullptr || pMetrics == nullptr)
        return ::GetSysColor(nColorId - 1601);
    return bSystemId ? pMetrics->GetColor(nColorId - 1601) : static_cast<COLORREF>(-1);
}

int CQVTSkinManager::GetThemeSysSize(int nSizeId)
{
    CQVTSkinManagerSchema* pSchema = m_pSchema;
    if (pSchema == nullptr)
        return 0;
    CQVTReadLock schemaLock(pSchema->GetLock());
    int nValue = 0;
    if (FAILED(pSchema->GetIntProperty(pSchema->GetClassCode(u"SYSMETRICS"), 0, 0, nSizeId, &nValue)))
        return 0;
    return nValue;
}

void AFX_CDECL CQVTSkinManager::RegisterThemeHandle(void* hTheme, CQVTSkinManagerClass* pClass)
{
    CQVTWriteLock lock(SkinManagerThemeLock());
    SkinManagerThemeMap().SetAt(hTheme, pClass);
}

CQVTSkinManagerClass* AFX_CDECL CQVTSkinManager::GetThemeClass(void* hTheme)
{
    CQVTReadLock lock(SkinManagerThemeLock());
    CQVTSkinManagerClass* pClass = nullptr;
    SkinManagerThemeMap().Lookup(hTheme, pClass);
    return pClass;
}

void AFX_CDECL CQVTSkinManager::UnregisterThemeHandle(void* hTheme)
{
    CQVTWriteLock lock(SkinManagerThemeLock());
    SkinManagerThemeMap().RemoveKey(hTheme);
}

void AFX_CDECL CQVTSkinManager::UnregisterThemeClass(CQVTSkinManagerClass* pClass)
{
    CQVTWriteLock lock(SkinManagerThemeLock());
    auto& map = SkinManagerThemeMap();
    std::vector<void*> handles;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr)
    {
        void* hTheme = nullptr;
        CQVTSkinManagerClass* pEntry = nullptr;
        map.GetNextAssoc(pos, hTheme, pEntry);
        if (pEntry == pClass)
            handles.push_back(hTheme);
    }
    for (void* hTheme : handles)
        map.RemoveKey(hTheme);
}

void CQVTSkinManager::ApplyInterceptions(BOOL bInstall)
{
    if (m_pApiHook == nullptr)
        return;
    // Both take Wine's loader lock and then the hook's exclusive lock
    // themselves, and installing takes our lock shared after them: neither
    // of ours may be held here, or a DllMain loading a library on another
    // thread deadlocks with us.
    SkinManagerGuard([&] {
        if (bInstall)
            m_pApiHook->InitializeHookManagement();
        else
            m_pApiHook->FinalizeHookManagement();
    });
}

BOOL CQVTSkinManager::LoadSkin(LPCTSTR lpszResourcePath, LPCTSTR lpszIniFileName)
{
    if (m_bThemesDisabled)
        return FALSE;
    BOOL bPrevState = FALSE;
    BOOL bNewState = FALSE;
    {
        // One change at a time. The interceptions, the skin module and the
        // colour refresh pass through Wine's loader lock, which a DllMain on
        // another thread holds while it reaches a replacement that takes our
        // lock shared: our exclusive lock is only ever held for the swap.
        CQVTWriteLock changeLock(m_changeLock);
        ApplyInterceptions(FALSE);
        QVTSoundPlayer()->Stop();
        {
            CQVTWriteLock lock(m_lock);
            if (m_pSchema != nullptr)
                m_pSchema->InternalRelease();
            m_pSchema = nullptr;
            bPrevState = m_bLoaded;
            m_bLoaded = FALSE;
        }

        const BOOL bCanLoad = !s_pfnIsLowColorDisplay(nullptr) && IsModuleEnumerationSupported();
        BOOL bOpened = FALSE;
        if (bCanLoad)
        {
            CQVTWriteLock fileLock(m_pResourceFile->GetLock());
            m_pResourceFile->Close();
            if (lpszResourcePath != nullptr)
                bOpened = m_pResourceFile->Open(lpszResourcePath, lpszIniFileName);
        }

        // Read, and its metrics made, before any other thread sees it: a
        // skin published as loaded is drawn with at once.
        CQVTSkinManagerSchema* pSchema = bOpened ? m_pResourceFile->CreateSchema() : nullptr;
        BOOL bLoaded = FALSE;
        if (pSchema != nullptr)
        {
            try
            {
                CQVTWriteLock schemaLock(pSchema->GetLock());
                bLoaded = SUCCEEDED(pSchema->ReadProperties());
                if (bLoaded)
                    pSchema->RefreshMetrics();
            }
            catch (...)
            {
                pSchema->InternalRelease();
                throw;
            }
        }
        {
            CQVTWriteLock lock(m_lock);
            m_pSchema = pSchema;
            m_bLoaded = bLoaded;
        }
        if (bLoaded)
            ApplyInterceptions(TRUE);
        if (s_pfnBeforeColorRefresh != nullptr)
            s_pfnBeforeColorRefresh();
        SkinManagerGuard([] { QVTColorManager()->RefreshColors(); });
        bNewState = bLoaded;
    }
    OnSkinChanged(bPrevState, bNewState);
    return bNewState;
}

void CQVTSkinManager::SetApplyOptions(UINT nOptions)
{
    {
        CQVTWriteLock changeLock(m_changeLock);
        {
            CQVTWriteLock lock(m_lock);
            m_nApplyOptions = nOptions;
            if (!m_bLoaded)
                return;
        }
        ApplyInterceptions(FALSE);
        ApplyInterceptions(TRUE);
        {
            CQVTWriteLock lock(m_lock);
            if (m_pSchema != nullptr)
            {
                CQVTWriteLock schemaLock(m_pSchema->GetLock());
                m_pSchema->RefreshMetrics();
            }
        }
        // Outside our lock: the theme detection asks the loader for a module.
        if (s_pfnBeforeColorRefresh != nullptr)
            s_pfnBeforeColorRefresh();
        SkinManagerGuard([] { QVTColorManager()->RefreshColors(); });
    }
    OnSkinChanged(TRUE, TRUE);
}

BOOL CALLBACK CQVTSkinManager::NotifyTopLevelProc(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == reinterpret_cast<const SkinManagerTopLevelNotice*>(lParam)->dwProcessId)
        ::PostMessageW(hWnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

void CQVTSkinManager::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    std::vector<std::pair<HWND, CQVTSkinObject*>> objects;
    {
        CQVTReadLock lock(m_lock);
        CWinThread* pThread = AfxGetThread();
        if (pThread != nullptr && pThread->m_pMainWnd != nullptr &&
            pThread->m_pMainWnd->GetSafeHwnd() != nullptr)
            ::SendMessageW(pThread->m_pMainWnd->GetSafeHwnd(), WM_SYSCOLORCHANGE, 0, 0);
        SkinManagerTopLevelNotice notice = {::GetCurrentProcessId()};
        ::EnumWindows(&CQVTSkinManager::NotifyTopLevelProc, reinterpret_cast<LPARAM>(&notice));
        ::EnterCriticalSection(&m_cs);
        POSITION pos = m_mapObjects.GetStartPosition();
        while (pos != nullptr)
        {
            HWND hWnd = nullptr;
            CQVTSkinObject* pObject = nullptr;
            m_mapObjects.GetNextAssoc(pos, hWnd, pObject);
            if (pObject->m_hWnd != nullptr)
            {
                // Held while notified: a removal meanwhile must not free it.
                pObject->InternalAddRef();
                objects.emplace_back(hWnd, pObject);
            }
        }
        ::LeaveCriticalSection(&m_cs);
    }
    for (auto& entry : objects)
    {
        CQVTSkinObject* pObject = entry.second;
        if (::IsWindow(entry.first))
        {
            CQVTReadLock objectLock(pObject->GetLock());
            if (::GetWindowThreadProcessId(entry.first, nullptr) == ::GetCurrentThreadId())
                SkinManagerGuard([&] { pObject->OnSkinChanged(bPrevState, bNewState); });
            else
                ::PostMessageW(entry.first, WM_SKINFRAMEWORK_SKINCHANGED, bPrevState, bNewState);
        }
        else
            Remove(entry.first, FALSE);
        pObject->InternalRelease();
    }
}

void CALLBACK CQVTSkinManager::WinEventHookProc(HWINEVENTHOOK /*hHook*/, DWORD dwEvent, HWND hWnd,
                                                LONG idObject, LONG /*idChild*/, DWORD /*dwEventThread*/,
                                                DWORD /*dwmsEventTime*/)
{
    if (dwEvent != EVENT_OBJECT_REORDER || idObject != OBJID_WINDOW)
        return;
    SkinManagerGuard([&] {
        CQVTSkinManager* pManager = g_pSkinManager;
        if (pManager == nullptr)
            return;
        CQVTReadLock lock(pManager->m_lock);
        if ((pManager->m_nApplyOptions & qvtSkinApplyFrames) == 0 || !pManager->m_bLoaded)
            return;
        CQVTSkinObject* pObject = pManager->Lookup(hWnd);
        if (pObject == nullptr || !::IsWindow(hWnd))
            return;
        CQVTReadLock objectLock(pObject->GetLock());
        // A dialog frame is drawn again after the z-order change.
        if ((::GetWindowLongW(hWnd, GWL_STYLE) & WS_DLGFRAME) &&
            pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
            ::SetTimer(hWnd, qvtSkinFrameStyleTimer, 1000, &CQVTSkinObjectFrame::OnFrameTimer);
    });
}

LRESULT CALLBACK CQVTSkinManager::HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    const MSG lastSent = pThreadState->m_lastSentMsg;
    pThreadState->m_lastSentMsg.hwnd = hWnd;
    pThreadState->m_lastSentMsg.message = message;
    pThreadState->m_lastSentMsg.wParam = wParam;
    pThreadState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    CQVTSkinManager* pManager = g_pSkinManager;
    CQVTSkinObject* pObject = pManager != nullptr ? pManager->Lookup(hWnd) : nullptr;
    if (pObject != nullptr)
    {
        WNDPROC pfnPrev = pObject->GetPrevWndProc();
        BOOL bHandled = FALSE;
        try
        {
            if (message == WM_NCDESTROY)
                pManager->Remove(hWnd, TRUE);
            else if (pManager->m_bLoaded || message == WM_SKINFRAMEWORK_SKINCHANGED)
            {
                // The notice of an unload, posted to another thread, still
                // reaches the object that must put the system look back.
                // Held across the call: the window may be destroyed inside.
                pObject->InternalAddRef();
                {
                    CQVTReadLock objectLock(pObject->GetLock());
                    if (!pObject->IsOptedOut() || message == WM_SKINFRAMEWORK_UPDATESTATE)
                    {
                        pObject->PushDefWindowProc(message, 0, nullptr, 0);
                        WPARAM w = wParam;
                        LPARAM l = lParam;
                        try
                        {
                            bHandled = pObject->OnWindowProcMessage(message, w, l, lResult);
                        }
                        catch (...)
                        {
                            pObject->PopDefWindowProc();
                            throw;
                        }
                        pObject->PopDefWindowProc();
                    }
                }
                pObject->InternalRelease();
            }
        }
        catch (CException* e)
        {
            lResult = AfxProcessWndProcException(e, &pThreadState->m_lastSentMsg);
            bHandled = TRUE;
        }
        catch (...)
        {
            lResult = 0;
            bHandled = TRUE;
        }
        if (!bHandled && !pManager->m_bLoaded)
            lResult = ::CallWindowProcW(pfnPrev, hWnd, message, wParam, lParam);
        else if (!bHandled)
            lResult = pManager->CallSavedWindowProc(pfnPrev, hWnd, message, wParam, lParam);
    }
    pThreadState->m_lastSentMsg = lastSent;
    return lResult;
}

LRESULT CQVTSkinManager::CallSavedWindowProc(WNDPROC pfnProc, HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    // The entry point saved before the interception: the intercepted one
    // would offer the message to the skin object a second time.
    if (m_pApiHook != nullptr)
        return m_pApiHook->CallWindowProcOrig(pfnProc, hWnd, message, wParam, lParam);
    return ::CallWindowProcW(pfnProc, hWnd, message, wParam, lParam);
}

BOOL CQVTSkinManager::WalkImports(HMODULE hWalked, HMODULE hQueried, std::vector<CStringA>& visited,
                                  int nDepth)
{
    if (hWalked == nullptr || nDepth > 64)
        return FALSE;
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hWalked);
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    if (pDos->e_magic != IMAGE_DOS_SIGNATURE || pDos->e_lfanew <= 0 || pDos->e_lfanew > 0x10000)
        return FALSE;
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    if (pNt->Signature != IMAGE_NT_SIGNATURE ||
        pNt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
        return FALSE;
    const DWORD cbImage = pNt->OptionalHeader.SizeOfImage;
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0 || dir.VirtualAddress >= cbImage)
        return FALSE;
    const IMAGE_IMPORT_DESCRIPTOR* pImport =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress);
    for (; reinterpret_cast<const BYTE*>(pImport + 1) <= pBase + cbImage && pImport->Name != 0; ++pImport)
    {
        if (pImport->Name >= cbImage)
            break;
        const char* pszName = reinterpret_cast<const char*>(pBase + pImport->Name);
        CStringA strName(pszName,
                         static_cast<int>(strnlen(pszName, std::min<size_t>(260, cbImage - pImport->Name))));
        bool bVisited = false;
        for (const CStringA& strVisited : visited)
            if (strVisited.CompareNoCase(strName) == 0)
                bVisited = true;
        if (bVisited)
            continue;
        visited.push_back(strName);
        HMODULE hImported = ::GetModuleHandleA(strName);
        if (hImported == nullptr)
            continue;
        if (hImported == hQueried)
            return TRUE;
        if (hImported != hWalked && WalkImports(hImported, hQueried, visited, nDepth + 1))
            return TRUE;
    }
    return FALSE;
}

BOOL CQVTSkinManager::IsPersistentModule(HMODULE hModule)
{
    HMODULE hInstance = m_pModuleState != nullptr ? m_pModuleState->m_hCurrentInstanceHandle : nullptr;
    HMODULE hExe = ::GetModuleHandleW(nullptr);
    if (hInstance == nullptr)
        hInstance = hExe;
    if (hModule == hInstance || hModule == hExe)
        return TRUE;
    {
        CQVTReadLock lock(m_moduleLock);
        for (const PERSISTENT_IMPORT_INFO& info : m_persistentModules)
            if (info.hModule == hModule)
                return info.bPersistent;
    }
    std::vector<CStringA> visited;
    BOOL bPersistent = WalkImports(hInstance, hModule, visited, 0);
    if (!bPersistent && hExe != hInstance)
    {
        visited.clear();
        bPersistent = WalkImports(hExe, hModule, visited, 0);
    }
    CQVTWriteLock lock(m_moduleLock);
    m_persistentModules.push_back(PERSISTENT_IMPORT_INFO{hModule, bPersistent});
    return bPersistent;
}
