#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"

#include <afxwin.h>

#include <psapi.h>

#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"

namespace {
typedef BOOL(WINAPI* PFNENUMPROCESSMODULES)(HANDLE, HMODULE*, DWORD, LPDWORD);
typedef BOOL(WINAPI* PFNGETMODULEINFORMATION)(HANDLE, HMODULE, LPMODULEINFO, DWORD);

struct SkinHookPsapi
{
    PFNENUMPROCESSMODULES pfnEnumProcessModules = nullptr;
    PFNGETMODULEINFORMATION pfnGetModuleInformation = nullptr;

    SkinHookPsapi()
    {
        // Bound at run time: the systems without PSAPI run unskinned.
        HMODULE hPsapi = ::LoadLibraryW(u"psapi.dll");
        if (hPsapi == nullptr)
            return;
        pfnEnumProcessModules =
            reinterpret_cast<PFNENUMPROCESSMODULES>(::GetProcAddress(hPsapi, "EnumProcessModules"));
        pfnGetModuleInformation =
            reinterpret_cast<PFNGETMODULEINFORMATION>(::GetProcAddress(hPsapi, "GetModuleInformation"));
    }
};

SkinHookPsapi& SkinHookGetPsapi()
{
    static SkinHookPsapi psapi;
    return psapi;
}

// One cached range per system module; the DOS header's checksum word tells
// a module loaded again at the same name apart.
struct SkinHookModuleRange
{
    LPCSTR lpszName;
    HMODULE hModule;
    WORD wChecksum;
    BYTE* pBase;
    SIZE_T cbSize;
};

SkinHookModuleRange g_skinHookRanges[] = {
    {"USER32.DLL", nullptr, 0, nullptr, 0},
    {"COMCTL32.DLL", nullptr, 0, nullptr, 0},
    {"NTDLL.DLL", nullptr, 0, nullptr, 0},
    {"APPHELP.DLL", nullptr, 0, nullptr, 0},
};
CRITICAL_SECTION* SkinHookRangeLock()
{
    static CRITICAL_SECTION cs;
    static BOOL bInit = (::InitializeCriticalSection(&cs), TRUE);
    (void)bInit;
    return &cs;
}

WORD SkinHookChecksumOf(HMODULE hModule)
{
    return *reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(hModule) + 18);
}
}  // namespace

BOOL AFXAPI IsModuleEnumerationSupported()
{
    const SkinHookPsapi& psapi = SkinHookGetPsapi();
    return psapi.pfnEnumProcessModules != nullptr && psapi.pfnGetModuleInformation != nullptr;
}

BOOL AFXAPI QVTSkinGetModuleRange(HMODULE hModule, BYTE** ppBase, SIZE_T* pcbSize)
{
    const SkinHookPsapi& psapi = SkinHookGetPsapi();
    if (hModule == nullptr || psapi.pfnGetModuleInformation == nullptr)
        return FALSE;
    // The loader's own record: PSAPI walks the same list through the server.
    if (CQVTSkinManagerModuleList::CLoaderModuleEnumerator::IsAvailable())
    {
        CQVTSkinManagerModuleList::CLoaderModuleEnumerator loader(FALSE);
        QVT_MODULEINFO record = {};
        if (!loader.GetModuleInformation(hModule, &record))
            return FALSE;
        *ppBase = static_cast<BYTE*>(record.lpBaseOfDll);
        *pcbSize = record.SizeOfImage;
        return TRUE;
    }
    MODULEINFO info = {};
    if (!psapi.pfnGetModuleInformation(::GetCurrentProcess(), hModule, &info, sizeof(info)))
        return FALSE;
    *ppBase = static_cast<BYTE*>(info.lpBaseOfDll);
    *pcbSize = info.SizeOfImage;
    return TRUE;
}

BOOL AFXAPI CQVTSkinManagerApiHookBase::IsAddressInModule(const void* pAddress, LPCSTR lpszModuleName)
{
    SkinHookModuleRange* pRange = nullptr;
    for (SkinHookModuleRange& range : g_skinHookRanges)
        if (lstrcmpiA(range.lpszName, lpszModuleName) == 0)
            pRange = &range;
    HMODULE hModule = ::GetModuleHandleA(lpszModuleName);
    if (pRange == nullptr || hModule == nullptr)
        return FALSE;
    const BYTE* pByte = static_cast<const BYTE*>(pAddress);
    ::EnterCriticalSection(SkinHookRangeLock());
    if (pRange->hModule != hModule || pRange->wChecksum != SkinHookChecksumOf(hModule))
    {
        pRange->pBase = nullptr;
        pRange->cbSize = 0;
        if (QVTSkinGetModuleRange(hModule, &pRange->pBase, &pRange->cbSize))
        {
            pRange->hModule = hModule;
            pRange->wChecksum = SkinHookChecksumOf(hModule);
        }
        else
            pRange->hModule = nullptr;
    }
    const BOOL bInside =
        pRange->pBase != nullptr && pRange->pBase < pByte && pByte < pRange->pBase + pRange->cbSize;
    ::LeaveCriticalSection(SkinHookRangeLock());
    return bInside;
}

BOOL AFXAPI CQVTSkinManagerApiHookBase::IsApphelpAddress(const void* pAddress)
{
    if (!QVTOSVersion()->IsWin7OrGreater())
        return FALSE;
    // Asked first which module holds the address: asked by the name of a
    // module that is not loaded, as this one mostly is not, the loader
    // searches the folders of the path for it (every window's procedure
    // comes here as it is skinned).
    HMODULE hOwner = nullptr;
    WCHAR szPath[MAX_PATH + 1] = {};
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(pAddress), &hOwner) ||
        ::GetModuleFileNameW(hOwner, szPath, MAX_PATH) == 0)
        return FALSE;
    LPCWSTR lpszFile = szPath;
    for (LPCWSTR p = szPath; *p != 0; p++)
        if (*p == u'\\' || *p == u'/')
            lpszFile = p + 1;
    if (::lstrcmpiW(lpszFile, u"apphelp.dll") != 0)
        return FALSE;
    return IsAddressInModule(pAddress, "APPHELP.DLL");
}

BOOL AFXAPI CQVTSkinManagerApiHookBase::IsSystemAddress(const void* pAddress)
{
    // The narrow forms of system procedures are handles, not addresses.
    const DWORD dwLow = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(pAddress));
    if ((dwLow >> 16) > 65534)
        return TRUE;
    if (IsAddressInModule(pAddress, "USER32.DLL") || IsAddressInModule(pAddress, "COMCTL32.DLL"))
        return TRUE;
    if (QVTOSVersion()->IsWinXPOrGreater() && IsAddressInModule(pAddress, "NTDLL.DLL"))
        return TRUE;
    return IsApphelpAddress(pAddress);
}

BOOL AFXAPI CQVTSkinManagerApiHookBase::DispatchDefWindowProc(HWND hWnd, void* pSaved, UINT nKind,
                                                              ULONG_PTR nArgument, UINT message,
                                                              WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (hWnd == nullptr || ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId())
        return FALSE;
    CQVTSkinManager* pManager = QVTSkinManager();
    if (pManager == nullptr || !pManager->IsSkinLoaded())
        return FALSE;
    CQVTSkinObject* pObject = pManager->Lookup(hWnd);
    if (pObject == nullptr)
        return FALSE;
    BOOL bHandled = FALSE;
    BOOL bRemove = FALSE;
    // Held across the call: the message may destroy the window, and its
    // WM_NCDESTROY remove the object.
    pObject->InternalAddRef();
    try
    {
        CQVTReadLock objectLock(pObject->GetLock());
        if (pObject->IsOptedOut() || message == pObject->GetCurrentDefWindowProcMessage())
            bHandled = FALSE;
        else if (message == WM_NCDESTROY)
            bRemove = !pObject->IsSubclassed();
        else
        {
            _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
            const MSG lastSent = pThreadState->m_lastSentMsg;
            pThreadState->m_lastSentMsg.hwnd = hWnd;
            pThreadState->m_lastSentMsg.message = message;
            pThreadState->m_lastSentMsg.wParam = wParam;
            pThreadState->m_lastSentMsg.lParam = lParam;
            pObject->PushDefWindowProc(message, nKind, pSaved, nArgument);
            try
            {
                WPARAM w = wParam;
                LPARAM l = lParam;
                bHandled = pObject->OnDefWindowProcMessage(message, w, l, lResult);
            }
            catch (CException* e)
            {
                e->Delete();
                bHandled = FALSE;
            }
            catch (...)
            {
                bHandled = FALSE;
            }
            pThreadState->m_lastSentMsg = lastSent;
            pObject->PopDefWindowProc();
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    // The object's lock is left before the manager's write lock is taken:
    // the manager's lock comes first everywhere else.
    if (bRemove)
    {
        try
        {
            pManager->Remove(hWnd, FALSE);
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    pObject->InternalRelease();
    return bHandled;
}
