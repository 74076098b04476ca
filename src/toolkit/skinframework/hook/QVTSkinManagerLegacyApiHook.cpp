#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"

#include <afxwin.h>

#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiAnswers.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"

namespace {
typedef HMODULE(WINAPI* PFNSKINHOOKLOADA)(LPCSTR);
typedef HMODULE(WINAPI* PFNSKINHOOKLOADW)(LPCWSTR);
typedef HMODULE(WINAPI* PFNSKINHOOKLOADEXA)(LPCSTR, HANDLE, DWORD);
typedef HMODULE(WINAPI* PFNSKINHOOKLOADEXW)(LPCWSTR, HANDLE, DWORD);
typedef BOOL(WINAPI* PFNSKINHOOKFREE)(HMODULE);
typedef void(WINAPI* PFNSKINHOOKFREEEXIT)(HMODULE, DWORD);
typedef FARPROC(WINAPI* PFNSKINHOOKGETPROC)(HMODULE, LPCSTR);
typedef HMODULE(WINAPI* PFNSKINHOOKHANDLEA)(LPCSTR);
typedef HMODULE(WINAPI* PFNSKINHOOKHANDLEW)(LPCWSTR);
typedef BOOL(WINAPI* PFNSKINHOOKHANDLEEXA)(DWORD, LPCSTR, HMODULE*);
typedef BOOL(WINAPI* PFNSKINHOOKHANDLEEXW)(DWORD, LPCWSTR, HMODULE*);
typedef HANDLE(WINAPI* PFNSKINHOOKCREATETHREAD)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                                DWORD, LPDWORD);
typedef LONG(WINAPI* PFNSKINHOOKLOCKLOADER)(ULONG, ULONG*, ULONG_PTR*);
typedef LONG(WINAPI* PFNSKINHOOKUNLOCKLOADER)(ULONG, ULONG_PTR);

CQVTSkinManagerLegacyApiHook* volatile g_pSkinHookCurrent = nullptr;
volatile LONG g_bSkinHookInstalled = FALSE;
volatile LONG g_bSkinHookInstalling = FALSE;

// The loader's own functions, taken before any import entry is patched:
// the hook and its module lists never pass through the replacements.
struct SkinHookSystem
{
    PFNSKINHOOKGETPROC pfnGetProcAddress = nullptr;
    PFNSKINHOOKHANDLEA pfnGetModuleHandleA = nullptr;
    PFNSKINHOOKLOADA pfnLoadLibraryA = nullptr;
    CQVTSkinManagerModuleList::PFNLOADLIBRARYEXW pfnLoadLibraryExW = nullptr;
    PFNSKINHOOKFREE pfnFreeLibrary = nullptr;
    PFNSKINHOOKLOCKLOADER pfnLockLoader = nullptr;
    PFNSKINHOOKUNLOCKLOADER pfnUnlockLoader = nullptr;

    SkinHookSystem()
    {
        HMODULE hKernel = ::GetModuleHandleW(u"KERNEL32.DLL");
        pfnGetProcAddress = reinterpret_cast<PFNSKINHOOKGETPROC>(::GetProcAddress(hKernel, "GetProcAddress"));
        pfnGetModuleHandleA =
            reinterpret_cast<PFNSKINHOOKHANDLEA>(pfnGetProcAddress(hKernel, "GetModuleHandleA"));
        pfnLoadLibraryA = reinterpret_cast<PFNSKINHOOKLOADA>(pfnGetProcAddress(hKernel, "LoadLibraryA"));
        pfnLoadLibraryExW = reinterpret_cast<CQVTSkinManagerModuleList::PFNLOADLIBRARYEXW>(
            pfnGetProcAddress(hKernel, "LoadLibraryExW"));
        pfnFreeLibrary = reinterpret_cast<PFNSKINHOOKFREE>(pfnGetProcAddress(hKernel, "FreeLibrary"));
        HMODULE hNtdll = pfnGetModuleHandleA("NTDLL.DLL");
        if (hNtdll != nullptr)
        {
            pfnLockLoader =
                reinterpret_cast<PFNSKINHOOKLOCKLOADER>(pfnGetProcAddress(hNtdll, "LdrLockLoaderLock"));
            pfnUnlockLoader =
                reinterpret_cast<PFNSKINHOOKUNLOCKLOADER>(pfnGetProcAddress(hNtdll, "LdrUnlockLoaderLock"));
        }
    }
};

SkinHookSystem& SkinHookGetSystem()
{
    static SkinHookSystem system;
    return system;
}

// A walk of a module's tables reads only memory VirtualQuery calls
// committed and readable; the last region found is remembered.
class SkinHookReader
{
public:
    bool Check(const void* pAddress, SIZE_T cb)
    {
        const BYTE* p = static_cast<const BYTE*>(pAddress);
        if (p == nullptr || p + cb < p)
            return false;
        if (p >= m_pLow && p + cb <= m_pHigh)
            return true;
        if (!CQVTSkinManagerModuleList::IsReadable(p, cb))
            return false;
        MEMORY_BASIC_INFORMATION mbi = {};
        if (::VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi))
        {
            m_pLow = static_cast<const BYTE*>(mbi.BaseAddress);
            m_pHigh = m_pLow + mbi.RegionSize;
        }
        return true;
    }

    // A terminated name of at most cchMax - 1 characters, copied.
    bool ReadName(const char* pName, char* pBuffer, int cchMax)
    {
        for (int i = 0; i < cchMax; i++)
        {
            if (!Check(pName + i, 1))
                return false;
            pBuffer[i] = pName[i];
            if (pName[i] == '\0')
                return true;
        }
        return false;
    }

private:
    const BYTE* m_pLow = nullptr;
    const BYTE* m_pHigh = nullptr;
};

const IMAGE_DATA_DIRECTORY* SkinHookDirectory(HMODULE hModule, int nEntry)
{
    if (!CQVTSkinManagerModuleList::IsValidImage(hModule))
        return nullptr;
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const IMAGE_NT_HEADERS64* pNt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(pBase + pDos->e_lfanew);
    if (pNt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC ||
        pNt->OptionalHeader.NumberOfRvaAndSizes <= static_cast<DWORD>(nEntry))
        return nullptr;
    const IMAGE_DATA_DIRECTORY* pDirectory = &pNt->OptionalHeader.DataDirectory[nEntry];
    return pDirectory->VirtualAddress != 0 ? pDirectory : nullptr;
}

ULONG_PTR SkinHookHighestAddress()
{
    static ULONG_PTR s_nHighest = 0;
    if (s_nHighest == 0)
    {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        s_nHighest = reinterpret_cast<ULONG_PTR>(info.lpMaximumApplicationAddress);
    }
    return s_nHighest;
}

// A push of an immediate above the application's addresses stands for the
// address it pushes.
void* SkinHookPushTarget(void* pAddress)
{
    const BYTE* p = static_cast<const BYTE*>(pAddress);
    if (reinterpret_cast<ULONG_PTR>(p) <= SkinHookHighestAddress() ||
        !CQVTSkinManagerModuleList::IsReadable(p, 9) || *p != 0x68)
        return pAddress;
    void* pTarget = nullptr;
    memcpy(&pTarget, p + 1, sizeof(pTarget));
    return pTarget;
}

BOOL SkinHookWriteEntry(void** ppEntry, void* pValue)
{
    if ((reinterpret_cast<ULONG_PTR>(ppEntry) & 7) != 0)
        return FALSE;
    MEMORY_BASIC_INFORMATION mbi = {};
    if (::VirtualQuery(ppEntry, &mbi, sizeof(mbi)) != sizeof(mbi) || mbi.State != MEM_COMMIT)
        return FALSE;
    DWORD dwOld = 0;
    if (!::VirtualProtect(ppEntry, sizeof(void*), PAGE_EXECUTE_READWRITE, &dwOld))
        return FALSE;
    InterlockedExchangePointer(ppEntry, pValue);
    DWORD dwIgnored = 0;
    ::VirtualProtect(ppEntry, sizeof(void*), dwOld, &dwIgnored);
    ::FlushInstructionCache(::GetCurrentProcess(), mbi.BaseAddress, mbi.RegionSize);
    return TRUE;
}

// One row's change to a module's import entries: pTo replaces pFrom (or
// pAlternate); bDone is set when an entry holds pTo afterwards.
struct SkinHookPatch
{
    LPCSTR lpszModule;
    void* pFrom;
    void* pAlternate;
    void* pTo;
    BOOL bDone;
};

// Applies every patch to the module in one walk of its import tables: a
// walk per row cost a start-up thousands of table reads. An entry takes the
// first patch that matches it, as rows patched one after another would.
void SkinHookPatchModule(HMODULE hModule, SkinHookPatch* pPatches, size_t nPatches)
{
    const IMAGE_DATA_DIRECTORY* pDirectory = SkinHookDirectory(hModule, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (pDirectory == nullptr || nPatches == 0)
        return;
    BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
    SkinHookReader reader;
    std::vector<SkinHookPatch*> matching;
    matching.reserve(nPatches);
    // A lying size is bounded twice: by the descriptors that can be read,
    // and by a count no real module comes near.
    const DWORD nMaxDescriptors = 4096;
    const IMAGE_IMPORT_DESCRIPTOR* pDescriptor =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + pDirectory->VirtualAddress);
    for (DWORD n = 0; n < nMaxDescriptors; n++, pDescriptor++)
    {
        if (!reader.Check(pDescriptor, sizeof(*pDescriptor)) || pDescriptor->Name == 0 ||
            pDescriptor->FirstThunk == 0)
            break;
        char szName[260];
        if (!reader.ReadName(reinterpret_cast<const char*>(pBase + pDescriptor->Name), szName, 260))
            continue;
        matching.clear();
        for (size_t i = 0; i < nPatches; i++)
            if (pPatches[i].pFrom != nullptr && pPatches[i].pTo != nullptr &&
                lstrcmpiA(szName, pPatches[i].lpszModule) == 0)
                matching.push_back(&pPatches[i]);
        if (matching.empty())
            continue;
        void** ppEntry = reinterpret_cast<void**>(pBase + pDescriptor->FirstThunk);
        for (DWORD nEntry = 0; nEntry < 65536; nEntry++, ppEntry++)
        {
            if (!reader.Check(ppEntry, sizeof(void*)))
                break;
            void* const pEntry = *ppEntry;
            if (pEntry == nullptr)
                break;
            void* pPushed = nullptr;
            bool bPushedRead = false;
            for (SkinHookPatch* pPatch : matching)
            {
                void* pValue = pEntry;
                if (pValue != pPatch->pFrom && pValue != pPatch->pTo)
                {
                    if (!bPushedRead)
                    {
                        pPushed = SkinHookPushTarget(pEntry);
                        bPushedRead = true;
                    }
                    pValue = pPushed;
                }
                if (pValue == pPatch->pTo)
                {
                    pPatch->bDone = TRUE;
                    break;
                }
                if (pValue == pPatch->pFrom ||
                    (pPatch->pAlternate != nullptr && pValue == pPatch->pAlternate))
                {
                    if (SkinHookWriteEntry(ppEntry, pPatch->pTo))
                        pPatch->bDone = TRUE;
                    break;
                }
            }
        }
    }
}

// Writes pTo into every import entry of the module, for the named module,
// that holds pFrom (or pAlternate); TRUE when an entry now holds pTo.
BOOL SkinHookPatchImports(HMODULE hModule, LPCSTR lpszModule, void* pFrom, void* pAlternate, void* pTo)
{
    SkinHookPatch patch = {lpszModule, pFrom, pAlternate, pTo, FALSE};
    SkinHookPatchModule(hModule, &patch, 1);
    return patch.bDone;
}

void* SkinHookFindExport(HMODULE hModule, LPCSTR lpszFunction, int nDepth)
{
    if (hModule == nullptr || nDepth > 8)
        return nullptr;
    const IMAGE_DATA_DIRECTORY* pDirectory = SkinHookDirectory(hModule, IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (pDirectory == nullptr)
        return nullptr;
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
    const BYTE* pDirStart = pBase + pDirectory->VirtualAddress;
    const BYTE* pDirEnd = pDirStart + pDirectory->Size;
    const IMAGE_EXPORT_DIRECTORY* pExports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(pDirStart);
    SkinHookReader reader;
    if (!reader.Check(pExports, sizeof(*pExports)))
        return nullptr;
    const DWORD* pNames = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfNames);
    const WORD* pOrdinals = reinterpret_cast<const WORD*>(pBase + pExports->AddressOfNameOrdinals);
    const DWORD* pFunctions = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfFunctions);
    const DWORD nNames = pExports->NumberOfNames < 65536 ? pExports->NumberOfNames : 65536;
    for (DWORD i = 0; i < nNames; i++)
    {
        char szName[256];
        if (!reader.Check(pNames + i, sizeof(DWORD)) ||
            !reader.ReadName(reinterpret_cast<const char*>(pBase + pNames[i]), szName, 256))
            return nullptr;
        if (strcmp(szName, lpszFunction) != 0)
            continue;
        if (!reader.Check(pOrdinals + i, sizeof(WORD)))
            return nullptr;
        const WORD nOrdinal = pOrdinals[i];
        if (nOrdinal >= pExports->NumberOfFunctions || !reader.Check(pFunctions + nOrdinal, sizeof(DWORD)))
            return nullptr;
        const BYTE* pFunction = pBase + pFunctions[nOrdinal];
        if (pFunction < pDirStart || pFunction >= pDirEnd)
            return const_cast<BYTE*>(pFunction);
        // A forwarder: "MODULE.Function".
        char szForward[256];
        if (!reader.ReadName(reinterpret_cast<const char*>(pFunction), szForward, 256))
            return nullptr;
        char* pDot = strchr(szForward, '.');
        if (pDot == nullptr)
            return nullptr;
        *pDot = '\0';
        CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
        HMODULE hTarget = pHook != nullptr ? pHook->GetModuleHandleOrig(szForward)
                                           : SkinHookGetSystem().pfnGetModuleHandleA(szForward);
        return SkinHookFindExport(hTarget, pDot + 1, nDepth + 1);
    }
    return nullptr;
}

// Wine's loader lock, taken before the hook's write lock: a DllMain that
// loads a library on another thread then waits for the loader, never for us.
class SkinHookLoaderLock
{
public:
    SkinHookLoaderLock()
    {
        const SkinHookSystem& system = SkinHookGetSystem();
        if (system.pfnLockLoader != nullptr && system.pfnUnlockLoader != nullptr)
            m_bLocked = system.pfnLockLoader(0, nullptr, &m_nCookie) == 0;
    }
    ~SkinHookLoaderLock()
    {
        if (m_bLocked)
            SkinHookGetSystem().pfnUnlockLoader(0, m_nCookie);
    }
    SkinHookLoaderLock(const SkinHookLoaderLock&) = delete;
    SkinHookLoaderLock& operator=(const SkinHookLoaderLock&) = delete;

private:
    ULONG_PTR m_nCookie = 0;
    bool m_bLocked = false;
};

BOOL SkinHookIsWin7()
{
    return QVTOSVersion()->IsWin7OrGreater();
}
BOOL SkinHookIsWin8()
{
    return QVTOSVersion()->IsWin8OrGreater();
}
BOOL SkinHookIsWin81()
{
    return QVTOSVersion()->IsWin81OrGreater();
}
BOOL SkinHookIsWin10()
{
    return QVTOSVersion()->IsWin10OrGreater();
}

// The function a row stands for when the hook holds no saved address (the
// hook gone, a pointer cached from GetProcAddress still called): the real
// export, found once by the row's names.
void* SkinHookRealExport(int nId);

void* SkinHookTarget(int nId)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = CQVTSkinManagerLegacyApiHook::GetOriginalFunction(nId);
    return pFunction != nullptr ? pFunction->m_pSaved : SkinHookRealExport(nId);
}

// Installed, and the row patched somewhere.
BOOL SkinHookIsActive(int nId)
{
    if (!g_bSkinHookInstalled)
        return FALSE;
    CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
    CQVTSkinManagerLegacyApiFunction* pFunction = pHook != nullptr ? pHook->FindFunction(nId) : nullptr;
    return pFunction != nullptr && pFunction->m_bHooked;
}

template <class TFunction>
TFunction SkinHookSaved(int nId)
{
    return reinterpret_cast<TFunction>(SkinHookTarget(nId));
}

BOOL SkinHookIsImageHandle(HMODULE hModule)
{
    return hModule != nullptr && (reinterpret_cast<ULONG_PTR>(hModule) & 3) == 0;
}

// After a load at depth 1: the module is counted, and patched on its first
// reference (a persistent module every time).
void SkinHookAfterLoad(int nId, HMODULE hModule, LONG nDepthBefore)
{
    if (nDepthBefore != 0 || !SkinHookIsImageHandle(hModule) || !SkinHookIsActive(nId))
        return;
    const DWORD dwError = ::GetLastError();
    try
    {
        CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
        if (pHook != nullptr)
        {
            const int nCount = pHook->AddModuleReference(hModule);
            if (nCount == 1 || QVTSkinManager()->IsPersistentModule(hModule))
                pHook->HookModule(hModule, 0);
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    ::SetLastError(dwError);
}

template <class TFunction, class... TArgs>
HMODULE SkinHookLoadBody(int nId, TArgs... args)
{
    TFunction pfnSaved = SkinHookSaved<TFunction>(nId);
    if (pfnSaved == nullptr)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
    LONG* pDepth = pHook != nullptr ? pHook->GetLoadDepth() : nullptr;
    const LONG nDepthBefore = pDepth != nullptr ? (*pDepth)++ : 1;
    // Lowered however the load ends: an exception from the saved loader
    // passes to the caller, and the thread's later loads are patched still.
    struct DepthRestore
    {
        LONG* pDepth;
        ~DepthRestore()
        {
            if (pDepth != nullptr)
                (*pDepth)--;
        }
    };
    HMODULE hModule = nullptr;
    {
        DepthRestore restore{pDepth};
        hModule = pfnSaved(args...);
    }
    SkinHookAfterLoad(nId, hModule, nDepthBefore);
    return hModule;
}

// Before a free: the last counted reference unpatches the module first.
void SkinHookBeforeFree(int nId, HMODULE hModule)
{
    if (!SkinHookIsImageHandle(hModule) || !SkinHookIsActive(nId))
        return;
    const DWORD dwError = ::GetLastError();
    try
    {
        CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
        if (pHook != nullptr && pHook->ReleaseModuleReference(hModule) == 0 &&
            !QVTSkinManager()->IsPersistentModule(hModule))
            pHook->UnhookModule(hModule);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    ::SetLastError(dwError);
}

template <int N>
HMODULE WINAPI SkinHookLoadLibraryA(LPCSTR lpszName)
{
    return SkinHookLoadBody<PFNSKINHOOKLOADA>(N, lpszName);
}
template <int N>
HMODULE WINAPI SkinHookLoadLibraryW(LPCWSTR lpszName)
{
    return SkinHookLoadBody<PFNSKINHOOKLOADW>(N, lpszName);
}
template <int N>
HMODULE WINAPI SkinHookLoadLibraryExA(LPCSTR lpszName, HANDLE hFile, DWORD dwFlags)
{
    return SkinHookLoadBody<PFNSKINHOOKLOADEXA>(N, lpszName, hFile, dwFlags);
}
template <int N>
HMODULE WINAPI SkinHookLoadLibraryExW(LPCWSTR lpszName, HANDLE hFile, DWORD dwFlags)
{
    return SkinHookLoadBody<PFNSKINHOOKLOADEXW>(N, lpszName, hFile, dwFlags);
}

template <int N>
BOOL WINAPI SkinHookFreeLibrary(HMODULE hModule)
{
    PFNSKINHOOKFREE pfnSaved = SkinHookSaved<PFNSKINHOOKFREE>(N);
    if (pfnSaved == nullptr)
        return FALSE;
    SkinHookBeforeFree(N, hModule);
    return pfnSaved(hModule);
}
template <int N>
void WINAPI SkinHookFreeLibraryAndExitThread(HMODULE hModule, DWORD dwExitCode)
{
    PFNSKINHOOKFREEEXIT pfnSaved = SkinHookSaved<PFNSKINHOOKFREEEXIT>(N);
    SkinHookBeforeFree(N, hModule);
    if (pfnSaved != nullptr)
        pfnSaved(hModule, dwExitCode);
    ::ExitThread(dwExitCode);
}

// The file name part of a module's path (the whole path without a backslash).
BOOL SkinHookModuleFileNameA(HMODULE hModule, char* pBuffer, int cchBuffer)
{
    char szPath[MAX_PATH + 1] = {};
    if (::GetModuleFileNameA(hModule, szPath, MAX_PATH) == 0)
        return FALSE;
    const char* pName = strrchr(szPath, '\\');
    lstrcpynA(pBuffer, pName != nullptr ? pName + 1 : szPath, cchBuffer);
    return TRUE;
}

FARPROC SkinHookGetProcBody(int nId, HMODULE hModule, LPCSTR lpszName)
{
    PFNSKINHOOKGETPROC pfnSaved = SkinHookSaved<PFNSKINHOOKGETPROC>(nId);
    if (pfnSaved == nullptr)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
    if (pHook == nullptr || g_bSkinHookInstalling || reinterpret_cast<ULONG_PTR>(lpszName) <= 0xFFFF)
        return pfnSaved(hModule, lpszName);
    CQVTSkinManagerLegacyApiFunction* pFunction = nullptr;
    try
    {
        if (hModule == CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme)
            pFunction = pHook->FindFunction("UXTHEME.DLL", lpszName);
        else
        {
            char szFile[MAX_PATH + 1];
            if (SkinHookModuleFileNameA(hModule, szFile, MAX_PATH) && lstrcmpiA(szFile, "UxTheme.dll") != 0)
                pFunction = pHook->FindFunction(szFile, lpszName);
        }
    }
    catch (...)
    {
        pFunction = nullptr;
    }
    if (pFunction != nullptr && pFunction->m_pReplacement != nullptr)
        return reinterpret_cast<FARPROC>(pFunction->m_pReplacement);
    return pfnSaved(hModule, lpszName);
}

template <int N>
FARPROC WINAPI SkinHookGetProcAddress(HMODULE hModule, LPCSTR lpszName)
{
    return SkinHookGetProcBody(N, hModule, lpszName);
}

// The pseudo handle stands for the theme library while a skin with colour
// answers is loaded.
BOOL SkinHookAnswersUxTheme(int nId)
{
    if (!SkinHookIsActive(nId))
        return FALSE;
    CQVTSkinManager* pManager = QVTSkinManager();
    return pManager != nullptr && pManager->IsSkinLoaded() &&
           (pManager->GetApplyOptions() & qvtSkinApplyColors);
}

template <int N>
HMODULE WINAPI SkinHookGetModuleHandleA(LPCSTR lpszName)
{
    if (lpszName != nullptr && lstrcmpiA(lpszName, "UxTheme.dll") == 0 && SkinHookAnswersUxTheme(N))
        return CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme;
    PFNSKINHOOKHANDLEA pfnSaved = SkinHookSaved<PFNSKINHOOKHANDLEA>(N);
    return pfnSaved != nullptr ? pfnSaved(lpszName) : nullptr;
}
template <int N>
HMODULE WINAPI SkinHookGetModuleHandleW(LPCWSTR lpszName)
{
    if (lpszName != nullptr && lstrcmpiW(lpszName, u"UxTheme.dll") == 0 && SkinHookAnswersUxTheme(N))
        return CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme;
    PFNSKINHOOKHANDLEW pfnSaved = SkinHookSaved<PFNSKINHOOKHANDLEW>(N);
    return pfnSaved != nullptr ? pfnSaved(lpszName) : nullptr;
}

// With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS the argument is an address,
// not a name: it is never compared as one.
BOOL SkinHookIsNameArgument(DWORD dwFlags, const void* pName)
{
    return pName != nullptr && (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0;
}

template <int N>
BOOL WINAPI SkinHookGetModuleHandleExA(DWORD dwFlags, LPCSTR lpszName, HMODULE* phModule)
{
    if (SkinHookIsNameArgument(dwFlags, lpszName) && lstrcmpiA(lpszName, "UxTheme.dll") == 0 &&
        SkinHookAnswersUxTheme(N))
    {
        if (phModule != nullptr)
            *phModule = CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme;
        return TRUE;
    }
    PFNSKINHOOKHANDLEEXA pfnSaved = SkinHookSaved<PFNSKINHOOKHANDLEEXA>(N);
    return pfnSaved != nullptr && pfnSaved(dwFlags, lpszName, phModule);
}
template <int N>
BOOL WINAPI SkinHookGetModuleHandleExW(DWORD dwFlags, LPCWSTR lpszName, HMODULE* phModule)
{
    if (SkinHookIsNameArgument(dwFlags, lpszName) && lstrcmpiW(lpszName, u"UxTheme.dll") == 0 &&
        SkinHookAnswersUxTheme(N))
    {
        if (phModule != nullptr)
            *phModule = CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme;
        return TRUE;
    }
    PFNSKINHOOKHANDLEEXW pfnSaved = SkinHookSaved<PFNSKINHOOKHANDLEEXW>(N);
    return pfnSaved != nullptr && pfnSaved(dwFlags, lpszName, phModule);
}

struct SkinHookThreadStart
{
    LPTHREAD_START_ROUTINE pfnStart;
    LPVOID pParameter;
};

DWORD WINAPI SkinHookThreadEntry(LPVOID pParameter)
{
    SkinHookThreadStart start = *static_cast<SkinHookThreadStart*>(pParameter);
    delete static_cast<SkinHookThreadStart*>(pParameter);
    try
    {
        CQVTSkinManager* pManager = QVTSkinManager();
        CQVTReadLock lock(pManager->GetLock());
        pManager->EnableThreadHook();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return start.pfnStart(start.pParameter);
}

HANDLE SkinHookCreateThreadBody(int nId, LPSECURITY_ATTRIBUTES pAttributes, SIZE_T cbStack,
                                LPTHREAD_START_ROUTINE pfnStart, LPVOID pParameter, DWORD dwFlags,
                                LPDWORD pdwId)
{
    PFNSKINHOOKCREATETHREAD pfnSaved = SkinHookSaved<PFNSKINHOOKCREATETHREAD>(nId);
    if (pfnSaved == nullptr)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    SkinHookThreadStart* pStart = nullptr;
    try
    {
        CQVTSkinManager* pManager = SkinHookIsActive(nId) ? QVTSkinManager() : nullptr;
        if (pfnStart != nullptr && pManager != nullptr && pManager->IsSkinLoaded() &&
            pManager->m_bAutoApplyThreads)
            pStart = new SkinHookThreadStart{pfnStart, pParameter};
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    if (pStart == nullptr)
        return pfnSaved(pAttributes, cbStack, pfnStart, pParameter, dwFlags, pdwId);
    HANDLE hThread = pfnSaved(pAttributes, cbStack, &SkinHookThreadEntry, pStart, dwFlags, pdwId);
    if (hThread == nullptr)
        delete pStart;
    return hThread;
}

template <int N>
HANDLE WINAPI SkinHookCreateThread(LPSECURITY_ATTRIBUTES pAttributes, SIZE_T cbStack,
                                   LPTHREAD_START_ROUTINE pfnStart, LPVOID pParameter, DWORD dwFlags,
                                   LPDWORD pdwId)
{
    return SkinHookCreateThreadBody(N, pAttributes, cbStack, pfnStart, pParameter, dwFlags, pdwId);
}

#define SKINHOOK_FN(fn) reinterpret_cast<void*>(&fn)
#define SKINHOOK_LOADER_ROWS(first, name, fn)                                                                \
    {first + 0, "KERNEL32.DLL", name, SKINHOOK_FN(fn<first + 0>), 0, nullptr},                               \
        {first + 1,      "API-MS-WIN-CORE-LIBRARYLOADER-L1-1-0.DLL", name, SKINHOOK_FN(fn<first + 1>), 0,    \
         &SkinHookIsWin7},                                                                                   \
        {first + 2,      "API-MS-WIN-CORE-LIBRARYLOADER-L1-1-1.DLL", name, SKINHOOK_FN(fn<first + 2>), 0,    \
         &SkinHookIsWin8},                                                                                   \
        {first + 3,       "API-MS-WIN-CORE-LIBRARYLOADER-L1-2-0.DLL", name, SKINHOOK_FN(fn<first + 3>), 0,   \
         &SkinHookIsWin81},                                                                                  \
        {first + 4, "API-MS-WIN-CORE-LIBRARYLOADER-PRIVATE-L1-1-0.DLL",                                      \
         name,      SKINHOOK_FN(fn<first + 4>),                                                              \
         0,         &SkinHookIsWin81},                                                                       \
        {first + 5,       "API-MS-WIN-CORE-LIBRARYLOADER-L1-2-1.DLL", name, SKINHOOK_FN(fn<first + 5>), 0,   \
         &SkinHookIsWin10},                                                                                  \
        {first + 6,       "API-MS-WIN-CORE-LIBRARYLOADER-L1-2-2.DLL", name, SKINHOOK_FN(fn<first + 6>), 0,   \
         &SkinHookIsWin10},                                                                                  \
    {                                                                                                        \
        first + 7, "API-MS-WIN-CORE-LIBRARYLOADER-L2-1-0.DLL", name, SKINHOOK_FN(fn<first + 7>), 0,          \
            &SkinHookIsWin10                                                                                 \
    }

const QVT_APIHOOKENTRY g_skinHookRows[qvtApiHookRowCount] = {
    SKINHOOK_LOADER_ROWS(0, "LoadLibraryA", SkinHookLoadLibraryA),
    SKINHOOK_LOADER_ROWS(8, "LoadLibraryW", SkinHookLoadLibraryW),
    SKINHOOK_LOADER_ROWS(16, "LoadLibraryExA", SkinHookLoadLibraryExA),
    SKINHOOK_LOADER_ROWS(24, "LoadLibraryExW", SkinHookLoadLibraryExW),
    SKINHOOK_LOADER_ROWS(32, "FreeLibrary", SkinHookFreeLibrary),
    SKINHOOK_LOADER_ROWS(40, "FreeLibraryAndExitThread", SkinHookFreeLibraryAndExitThread),
    SKINHOOK_LOADER_ROWS(48, "GetProcAddress", SkinHookGetProcAddress),
    SKINHOOK_LOADER_ROWS(56, "GetModuleHandleA", SkinHookGetModuleHandleA),
    SKINHOOK_LOADER_ROWS(64, "GetModuleHandleW", SkinHookGetModuleHandleW),
    SKINHOOK_LOADER_ROWS(72, "GetModuleHandleExA", SkinHookGetModuleHandleExA),
    SKINHOOK_LOADER_ROWS(80, "GetModuleHandleExW", SkinHookGetModuleHandleExW),
    {88, "KERNEL32.DLL", "CreateThread", SKINHOOK_FN(SkinHookCreateThread<88>), 0, nullptr},
    {89, "API-MS-WIN-CORE-PROCESSTHREADS-L1-1-1.DLL", "CreateThread", SKINHOOK_FN(SkinHookCreateThread<89>),
     0, &SkinHookIsWin8},
    {90, "API-MS-WIN-CORE-PROCESSTHREADS-L1-1-2.DLL", "CreateThread", SKINHOOK_FN(SkinHookCreateThread<90>),
     0, &SkinHookIsWin81},
    {91, "USER32.DLL", "RegisterClassA", QVTSkinAnswers::GetReplacement(91), 0, nullptr},
    {92, "USER32.DLL", "RegisterClassW", QVTSkinAnswers::GetReplacement(92), 0, nullptr},
    {93, "USER32.DLL", "GetSysColor", QVTSkinAnswers::GetReplacement(93), 0x4, nullptr},
    {94, "USER32.DLL", "GetSysColorBrush", QVTSkinAnswers::GetReplacement(94), 0x4, nullptr},
    {95, "USER32.DLL", "DrawEdge", QVTSkinAnswers::GetReplacement(95), 0x4, nullptr},
    {96, "USER32.DLL", "DrawFrameControl", QVTSkinAnswers::GetReplacement(96), 0x4, nullptr},
    {97, "USER32.DLL", "SetScrollInfo", QVTSkinAnswers::GetReplacement(97), 0x2, nullptr},
    {98, "USER32.DLL", "SetScrollPos", QVTSkinAnswers::GetReplacement(98), 0x2, nullptr},
    {99, "USER32.DLL", "GetScrollInfo", QVTSkinAnswers::GetReplacement(99), 0x2, nullptr},
    {100, "USER32.DLL", "EnableScrollBar", QVTSkinAnswers::GetReplacement(100), 0x2, nullptr},
    {101, "UXTHEME.DLL", "OpenThemeData", QVTSkinAnswers::GetReplacement(101), 0x4, nullptr},
    {102, "UXTHEME.DLL", "OpenThemeDataForDpi", QVTSkinAnswers::GetReplacement(102), 0x4, nullptr},
    {103, "UXTHEME.DLL", "OpenThemeDataEx", QVTSkinAnswers::GetReplacement(103), 0x4, nullptr},
    {104, "UXTHEME.DLL", "DrawThemeBackground", QVTSkinAnswers::GetReplacement(104), 0x4, nullptr},
    {105, "UXTHEME.DLL", "CloseThemeData", QVTSkinAnswers::GetReplacement(105), 0x4, nullptr},
    {106, "UXTHEME.DLL", "GetThemeColor", QVTSkinAnswers::GetReplacement(106), 0x4, nullptr},
    {107, "UXTHEME.DLL", "GetThemeInt", QVTSkinAnswers::GetReplacement(107), 0x4, nullptr},
    {108, "UXTHEME.DLL", "IsAppThemed", QVTSkinAnswers::GetReplacement(108), 0x4, nullptr},
    {109, "UXTHEME.DLL", "IsThemeActive", QVTSkinAnswers::GetReplacement(109), 0x4, nullptr},
    {110, "UXTHEME.DLL", "GetCurrentThemeName", QVTSkinAnswers::GetReplacement(110), 0x4, nullptr},
    {111, "UXTHEME.DLL", "GetThemeSysBool", QVTSkinAnswers::GetReplacement(111), 0x4, nullptr},
    {112, "UXTHEME.DLL", "GetThemeSysColor", QVTSkinAnswers::GetReplacement(112), 0x4, nullptr},
    {113, "UXTHEME.DLL", "GetThemePartSize", QVTSkinAnswers::GetReplacement(113), 0x4, nullptr},
    {114, "USER32.DLL", "SystemParametersInfoA", QVTSkinAnswers::GetReplacement(114), 0x3, nullptr},
    {115, "USER32.DLL", "SystemParametersInfoW", QVTSkinAnswers::GetReplacement(115), 0x3, nullptr},
    {116, "USER32.DLL", "DefWindowProcA", QVTSkinAnswers::GetReplacement(116), 0, nullptr},
    {117, "USER32.DLL", "DefWindowProcW", QVTSkinAnswers::GetReplacement(117), 0, nullptr},
    {118, "USER32.DLL", "DefMDIChildProcA", QVTSkinAnswers::GetReplacement(118), 0, nullptr},
    {119, "USER32.DLL", "DefMDIChildProcW", QVTSkinAnswers::GetReplacement(119), 0, nullptr},
    {120, "USER32.DLL", "DefFrameProcA", QVTSkinAnswers::GetReplacement(120), 0, nullptr},
    {121, "USER32.DLL", "DefFrameProcW", QVTSkinAnswers::GetReplacement(121), 0, nullptr},
    {122, "USER32.DLL", "DefDlgProcA", QVTSkinAnswers::GetReplacement(122), 0, nullptr},
    {123, "USER32.DLL", "DefDlgProcW", QVTSkinAnswers::GetReplacement(123), 0, nullptr},
    {124, "USER32.DLL", "CallWindowProcA", QVTSkinAnswers::GetReplacement(124), 0, nullptr},
    {125, "USER32.DLL", "CallWindowProcW", QVTSkinAnswers::GetReplacement(125), 0, nullptr},
    {126, "USER32.DLL", "FillRect", QVTSkinAnswers::GetReplacement(126), 0x4, nullptr},
    {127, "GDI32.DLL", "DeleteObject", QVTSkinAnswers::GetReplacement(127), 0x4, nullptr},
    {128, "USER32.DLL", "AdjustWindowRectEx", QVTSkinAnswers::GetReplacement(128), 0x3, nullptr},
    {129, "USER32.DLL", "AdjustWindowRect", QVTSkinAnswers::GetReplacement(129), 0x3, nullptr},
    {130, "USER32.DLL", "GetSystemMetrics", QVTSkinAnswers::GetReplacement(130), 0x3, nullptr},
    {131, "USER32.DLL", "TrackPopupMenu", QVTSkinAnswers::GetReplacement(131), 0x8, nullptr},
    {132, "USER32.DLL", "TrackPopupMenuEx", QVTSkinAnswers::GetReplacement(132), 0x8, nullptr},
    {133, "WIN32U.DLL", "NtUserTrackPopupMenuEx", QVTSkinAnswers::GetReplacement(133), 0x8, &SkinHookIsWin7},
    {134, "USER32.DLL", "DrawMenuBar", QVTSkinAnswers::GetReplacement(134), 0x2, nullptr},
    {135, "USER32.DLL", "GetMenuItemRect", QVTSkinAnswers::GetReplacement(135), 0x8, nullptr},
    {136, "DWMAPI.DLL", "DwmExtendFrameIntoClientArea", QVTSkinAnswers::GetReplacement(136), 0,
     &SkinHookIsWin7},
};

// The loader rows first, so that the look-ups made while the later rows are
// installed already go through the saved loader functions.
const int g_skinHookStoredOrder[qvtApiHookRowCount] = {
    0,   1,   2,   3,   4,  5,  6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,
    20,  21,  22,  23,  24, 25, 26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,
    40,  41,  42,  43,  44, 45, 46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,
    60,  61,  62,  63,  64, 65, 66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,
    80,  81,  82,  83,  84, 85, 86,  87,  88,  89,  90,  91,  92,  116, 117, 120, 121, 122, 123, 118,
    119, 124, 125, 136, 93, 94, 95,  126, 127, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
    112, 113, 96,  97,  98, 99, 100, 134, 114, 115, 128, 129, 130, 131, 132, 133, 135,
};

void* SkinHookRealExport(int nId)
{
    static void* volatile s_rgReal[qvtApiHookRowCount] = {};
    if (nId < 0 || nId >= qvtApiHookRowCount)
        return nullptr;
    void* pReal = s_rgReal[nId];
    if (pReal == nullptr)
    {
        const SkinHookSystem& system = SkinHookGetSystem();
        HMODULE hModule = system.pfnGetModuleHandleA(g_skinHookRows[nId].lpszModule);
        if (hModule == nullptr)
            hModule = system.pfnLoadLibraryA(g_skinHookRows[nId].lpszModule);
        if (hModule != nullptr)
            pReal =
                reinterpret_cast<void*>(system.pfnGetProcAddress(hModule, g_skinHookRows[nId].lpszFunction));
        s_rgReal[nId] = pReal;
    }
    return pReal;
}
}  // namespace

HMODULE const CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme =
    reinterpret_cast<HMODULE>(CQVTWinThemeWrapper::skinModuleMarker);

CQVTSkinManagerLegacyApiFunction::CQVTSkinManagerLegacyApiFunction(CQVTSkinManagerLegacyApiHook* pOwner,
                                                                   LPCSTR lpszModule, LPCSTR lpszFunction,
                                                                   void* pSaved, void* pReplacement)
    : m_pOwner(pOwner), m_pSaved(SkinHookPushTarget(pSaved)), m_pReplacement(pReplacement)
{
    lstrcpynA(m_szModule, lpszModule, sizeof(m_szModule));
    lstrcpynA(m_szFunction, lpszFunction, sizeof(m_szFunction));
}

BOOL CQVTSkinManagerLegacyApiFunction::HookImport(HMODULE hModule)
{
    return SkinHookPatchImports(hModule, m_szModule, m_pSaved, m_pAlternate, m_pReplacement);
}

BOOL CQVTSkinManagerLegacyApiFunction::UnhookImport(HMODULE hModule)
{
    return SkinHookPatchImports(hModule, m_szModule, m_pReplacement, nullptr, m_pSaved);
}

CQVTSkinManagerLegacyApiHook::CQVTSkinManagerLegacyApiHook() : CQVTSkinManagerApiHookBase(1)
{
    const SkinHookSystem& system = SkinHookGetSystem();
    CQVTSkinManagerModuleList::SetLoaderFunctions(system.pfnLoadLibraryExW, system.pfnFreeLibrary);
    ::InitializeCriticalSection(&m_csDepths);
    m_dwDepthSlot = ::TlsAlloc();
    static const struct
    {
        LPCWSTR lpszName;
        BOOL bWin9x;
    } s_excluded[] = {
        {u"SHLWAPI.DLL", TRUE},
        {u"COMCTL32.DLL", TRUE},
        {u"KERNEL32.DLL", FALSE},
        {u"USER32.DLL", FALSE},
        {u"GDI32.DLL", FALSE},
        {u"WININET.DLL", FALSE},
        {u"MSCTF.DLL", FALSE},
        {u"ACLAYERS.DLL", FALSE},
        // Wine's display driver imports DefWindowProcW and FillRect for the
        // windows and surfaces it draws itself: they stay the system's.
        {u"WINEX11.DRV", FALSE},
    };
    for (const auto& excluded : s_excluded)
        m_excluded.push_back(EXCLUDEDMODULE{nullptr, CString(excluded.lpszName), excluded.bWin9x});
    m_bApphelp = QVTOSVersion()->IsWin7OrGreater() && system.pfnGetModuleHandleA("APPHELP.DLL") != nullptr;
    g_pSkinHookCurrent = this;
}

CQVTSkinManagerLegacyApiHook::~CQVTSkinManagerLegacyApiHook()
{
    FinalizeHookManagement();
    {
        CQVTWriteLock lock(m_lock);
        if (g_pSkinHookCurrent == this)
            g_pSkinHookCurrent = nullptr;
        for (CQVTSkinManagerLegacyApiFunction*& pFunction : m_rgFunctions)
        {
            delete pFunction;
            pFunction = nullptr;
        }
    }
    if (m_dwDepthSlot != TLS_OUT_OF_INDEXES)
        ::TlsFree(m_dwDepthSlot);
    for (LONG* pDepth : m_depths)
        delete pDepth;
    ::DeleteCriticalSection(&m_csDepths);
}

CQVTSkinManagerLegacyApiHook* AFXAPI CQVTSkinManagerLegacyApiHook::GetCurrent()
{
    return g_pSkinHookCurrent;
}

BOOL AFXAPI CQVTSkinManagerLegacyApiHook::IsInstalled()
{
    return g_bSkinHookInstalled;
}

BOOL AFXAPI CQVTSkinManagerLegacyApiHook::IsInstalling()
{
    return g_bSkinHookInstalling;
}

BOOL AFXAPI CQVTSkinManagerLegacyApiHook::IsRowActive(int nId)
{
    return SkinHookIsActive(nId);
}

void* AFXAPI CQVTSkinManagerLegacyApiHook::GetSavedAddress(int nId)
{
    return SkinHookTarget(nId);
}

void CQVTSkinManagerLegacyApiHook::DetachAtExit()
{
    CQVTWriteLock lock(m_lock);
    InterlockedExchange(&g_bSkinHookInstalled, FALSE);
}

const QVT_APIHOOKENTRY* AFXAPI CQVTSkinManagerLegacyApiHook::GetRows()
{
    return g_skinHookRows;
}

const int* AFXAPI CQVTSkinManagerLegacyApiHook::GetStoredOrder()
{
    return g_skinHookStoredOrder;
}

BOOL AFXAPI CQVTSkinManagerLegacyApiHook::IsRowSelected(const QVT_APIHOOKENTRY& row, UINT nApplyOptions)
{
    if (row.pfnCondition != nullptr && !row.pfnCondition())
        return FALSE;
    return row.nApplyMask == 0 || (row.nApplyMask & nApplyOptions) != 0;
}

HMODULE AFXAPI CQVTSkinManagerLegacyApiHook::GetOwnModule()
{
    HMODULE hInstance = AfxGetInstanceHandle();
    return hInstance != nullptr ? hInstance : SkinHookGetSystem().pfnGetModuleHandleA(nullptr);
}

LONG* CQVTSkinManagerLegacyApiHook::GetLoadDepth()
{
    if (m_dwDepthSlot == TLS_OUT_OF_INDEXES)
        return nullptr;
    LONG* pDepth = static_cast<LONG*>(::TlsGetValue(m_dwDepthSlot));
    if (pDepth == nullptr)
    {
        pDepth = new LONG(0);
        ::EnterCriticalSection(&m_csDepths);
        m_depths.push_back(pDepth);
        ::LeaveCriticalSection(&m_csDepths);
        ::TlsSetValue(m_dwDepthSlot, pDepth);
    }
    return pDepth;
}

HMODULE CQVTSkinManagerLegacyApiHook::GetModuleHandleOrig(LPCSTR lpszModule)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = FindFunction(56);
    if (pFunction != nullptr && pFunction->m_pSaved != nullptr)
        return reinterpret_cast<PFNSKINHOOKHANDLEA>(pFunction->m_pSaved)(lpszModule);
    return SkinHookGetSystem().pfnGetModuleHandleA(lpszModule);
}

FARPROC CQVTSkinManagerLegacyApiHook::GetProcAddressOrig(HMODULE hModule, LPCSTR lpszName)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = FindFunction(48);
    if (pFunction != nullptr && pFunction->m_pSaved != nullptr)
        return reinterpret_cast<PFNSKINHOOKGETPROC>(pFunction->m_pSaved)(hModule, lpszName);
    return SkinHookGetSystem().pfnGetProcAddress(hModule, lpszName);
}

CQVTSkinManagerLegacyApiFunction* CQVTSkinManagerLegacyApiHook::FindFunction(int nId)
{
    if (nId < 0 || nId >= qvtApiHookRowCount)
        return nullptr;
    CQVTReadLock lock(m_lock);
    return m_rgFunctions[nId];
}

CQVTSkinManagerLegacyApiFunction* CQVTSkinManagerLegacyApiHook::FindFunction(LPCSTR lpszModule,
                                                                             LPCSTR lpszFunction)
{
    if (lpszModule == nullptr || lpszFunction == nullptr)
        return nullptr;
    CQVTReadLock lock(m_lock);
    for (int nId = 0; nId < qvtApiHookRowCount; nId++)
        if (lstrcmpiA(g_skinHookRows[nId].lpszModule, lpszModule) == 0 &&
            lstrcmpiA(g_skinHookRows[nId].lpszFunction, lpszFunction) == 0)
            return m_rgFunctions[nId];
    return nullptr;
}

CQVTSkinManagerLegacyApiFunction* AFXAPI CQVTSkinManagerLegacyApiHook::GetOriginalFunction(int nId)
{
    CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
    CQVTSkinManagerLegacyApiFunction* pFunction = pHook != nullptr ? pHook->FindFunction(nId) : nullptr;
    if (pFunction == nullptr || pFunction->m_pSaved == nullptr)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return pFunction;
}

CQVTSkinManagerLegacyApiFunction* AFXAPI
CQVTSkinManagerLegacyApiHook::GetOriginalFunction(LPCSTR lpszModule, LPCSTR lpszFunction)
{
    CQVTSkinManagerLegacyApiHook* pHook = g_pSkinHookCurrent;
    CQVTSkinManagerLegacyApiFunction* pFunction =
        pHook != nullptr ? pHook->FindFunction(lpszModule, lpszFunction) : nullptr;
    if (pFunction == nullptr || pFunction->m_pSaved == nullptr)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return pFunction;
}

void* CQVTSkinManagerLegacyApiHook::GetOriginalFunctionAddress(int nId)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = GetOriginalFunction(nId);
    return pFunction != nullptr ? pFunction->m_pSaved : nullptr;
}

BOOL CQVTSkinManagerLegacyApiHook::AdjustWindowRectExOrig(LPRECT lpRect, DWORD dwStyle, BOOL bMenu,
                                                          DWORD dwExStyle)
{
    typedef BOOL(WINAPI * PFNADJUST)(LPRECT, DWORD, BOOL, DWORD);
    PFNADJUST pfn = reinterpret_cast<PFNADJUST>(GetOriginalFunctionAddress(128));
    return pfn != nullptr ? pfn(lpRect, dwStyle, bMenu, dwExStyle) : FALSE;
}

LRESULT CQVTSkinManagerLegacyApiHook::CallWindowProcOrig(WNDPROC pfnPrev, HWND hWnd, UINT message,
                                                         WPARAM wParam, LPARAM lParam)
{
    typedef LRESULT(WINAPI * PFNCALL)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
    PFNCALL pfn = reinterpret_cast<PFNCALL>(GetOriginalFunctionAddress(125));
    return pfn != nullptr ? pfn(pfnPrev, hWnd, message, wParam, lParam)
                          : ::CallWindowProcW(pfnPrev, hWnd, message, wParam, lParam);
}

void CQVTSkinManagerLegacyApiHook::ExcludeModule(LPCWSTR lpszModule, BOOL bWin9x)
{
    if (lpszModule == nullptr)
        return;
    CQVTWriteLock lock(m_lock);
    m_excluded.push_back(EXCLUDEDMODULE{nullptr, CString(lpszModule), bWin9x});
}

void CQVTSkinManagerLegacyApiHook::ResolveExcludedModules()
{
    for (EXCLUDEDMODULE& excluded : m_excluded)
        if (!excluded.strName.IsEmpty() && excluded.strName.Right(1) != _T("*"))
            excluded.hModule = ::GetModuleHandleW(excluded.strName);
}

BOOL CQVTSkinManagerLegacyApiHook::IsModuleExcluded(HMODULE hModule)
{
    CQVTReadLock lock(m_lock);
    return IsExcludedLocked(hModule);
}

BOOL CQVTSkinManagerLegacyApiHook::IsExcludedLocked(HMODULE hModule)
{
    const BOOL bWin9x = QVTOSVersion()->IsWin9x();
    WCHAR szPath[MAX_PATH + 1] = {};
    LPCWSTR lpszFile = nullptr;
    for (const EXCLUDEDMODULE& excluded : m_excluded)
    {
        if (excluded.bWin9xOnly && !bWin9x)
            continue;
        if (excluded.hModule != nullptr && excluded.hModule == hModule)
            return TRUE;
        const int nLength = excluded.strName.GetLength();
        if (nLength == 0 || excluded.strName[nLength - 1] != _T('*'))
            continue;
        if (lpszFile == nullptr)
        {
            if (::GetModuleFileNameW(hModule, szPath, MAX_PATH) == 0)
                continue;
            lpszFile = szPath;
            for (LPCWSTR p = szPath; *p != 0; p++)
                if (*p == u'\\')
                    lpszFile = p + 1;
        }
        // The file name's start, compared without regard to case.
        const int nPrefix = nLength - 1;
        int nFile = 0;
        while (lpszFile[nFile] != 0)
            nFile++;
        if (nFile >= nPrefix && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, lpszFile, nPrefix,
                                                 excluded.strName, nPrefix) == CSTR_EQUAL)
            return TRUE;
    }
    return FALSE;
}

CQVTSkinManagerLegacyApiFunction* CQVTSkinManagerLegacyApiHook::PrepareFunction(int nId, LPCSTR lpszModule,
                                                                                LPCSTR lpszFunction,
                                                                                void* pReplacement)
{
    if (nId < 0 || nId >= qvtApiHookRowCount || pReplacement == nullptr)
        return nullptr;
    CQVTWriteLock lock(m_lock);
    const SkinHookSystem& system = SkinHookGetSystem();
    HMODULE hModule = GetModuleHandleOrig(lpszModule);
    void* pSaved =
        hModule != nullptr ? reinterpret_cast<void*>(GetProcAddressOrig(hModule, lpszFunction)) : nullptr;
    if (pSaved == nullptr)
    {
        // A module loaded here stays loaded.
        HMODULE hLoaded = system.pfnLoadLibraryA(lpszModule);
        if (hLoaded == nullptr)
            return nullptr;
        pSaved = reinterpret_cast<void*>(GetProcAddressOrig(hLoaded, lpszFunction));
        if (pSaved == nullptr)
        {
            system.pfnFreeLibrary(hLoaded);
            return nullptr;
        }
        hModule = hLoaded;
    }
    CQVTSkinManagerLegacyApiFunction*& pFunction = m_rgFunctions[nId];
    if (pFunction == nullptr)
    {
        pFunction =
            new CQVTSkinManagerLegacyApiFunction(this, lpszModule, lpszFunction, pSaved, pReplacement);
        if (m_bApphelp && CQVTSkinManagerApiHookBase::IsApphelpAddress(pFunction->m_pSaved))
            pFunction->m_pAlternate = FindExport(hModule, lpszFunction);
    }
    return pFunction;
}

void CQVTSkinManagerLegacyApiHook::PatchFunctions(CQVTSkinManagerLegacyApiFunction* const* ppFunctions,
                                                  size_t nFunctions, CQVTSkinManagerModuleList& modules,
                                                  BOOL bHook)
{
    std::vector<SkinHookPatch> patches;
    patches.reserve(nFunctions);
    for (size_t i = 0; i < nFunctions; i++)
    {
        CQVTSkinManagerLegacyApiFunction* pFunction = ppFunctions[i];
        if (bHook)
            patches.push_back(SkinHookPatch{pFunction->m_szModule, pFunction->m_pSaved,
                                            pFunction->m_pAlternate, pFunction->m_pReplacement, FALSE});
        else
            patches.push_back(SkinHookPatch{pFunction->m_szModule, pFunction->m_pReplacement, nullptr,
                                            pFunction->m_pSaved, FALSE});
    }
    const HMODULE hOwn = GetOwnModule();
    for (HMODULE h = modules.GetFirstModule(); h != nullptr; h = modules.GetNextModule())
        if (h != hOwn && !IsExcludedLocked(h))
            SkinHookPatchModule(h, patches.data(), patches.size());
    SkinHookPatchModule(hOwn, patches.data(), patches.size());
    for (size_t i = 0; i < nFunctions; i++)
    {
        CQVTWriteLock rowLock(ppFunctions[i]->GetLock());
        ppFunctions[i]->m_bHooked = bHook && patches[i].bDone;
    }
}

CQVTSkinManagerLegacyApiFunction* CQVTSkinManagerLegacyApiHook::HookApiFunction(
    int nId, LPCSTR lpszModule, LPCSTR lpszFunction, void* pReplacement, CQVTSkinManagerModuleList& modules)
{
    CQVTWriteLock lock(m_lock);
    CQVTSkinManagerLegacyApiFunction* pFunction =
        PrepareFunction(nId, lpszModule, lpszFunction, pReplacement);
    if (pFunction != nullptr)
        PatchFunctions(&pFunction, 1, modules, TRUE);
    return pFunction;
}

void CQVTSkinManagerLegacyApiHook::InitializeHookManagement()
{
    SkinHookLoaderLock loaderLock;
    CQVTWriteLock lock(m_lock);
    if (g_bSkinHookInstalled || g_bSkinHookInstalling)
        return;
    InterlockedExchange(&g_bSkinHookInstalling, TRUE);
    // The replacements answer for the hook installed last.
    g_pSkinHookCurrent = this;
    CQVTSkinManager* pManager = QVTSkinManager();
    CQVTReadLock managerLock(pManager->GetLock());
    const UINT nOptions = pManager->GetApplyOptions();
    ResolveExcludedModules();
    {
        CQVTSkinManagerModuleList modules(::GetCurrentProcessId(), TRUE);
        modules.Refresh(TRUE);
        // Every row's functions are found first, then each module's tables
        // are walked once for all of them.
        std::vector<CQVTSkinManagerLegacyApiFunction*> functions;
        functions.reserve(qvtApiHookRowCount);
        for (int nId : g_skinHookStoredOrder)
        {
            const QVT_APIHOOKENTRY& row = g_skinHookRows[nId];
            if (!IsRowSelected(row, nOptions))
                continue;
            try
            {
                if (CQVTSkinManagerLegacyApiFunction* pFunction =
                        PrepareFunction(nId, row.lpszModule, row.lpszFunction, row.pReplacement))
                    functions.push_back(pFunction);
            }
            catch (CException* e)
            {
                e->Delete();
            }
            catch (...)
            {
            }
        }
        try
        {
            PatchFunctions(functions.data(), functions.size(), modules, TRUE);
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
        for (HMODULE h = modules.GetFirstModule(); h != nullptr; h = modules.GetNextModule())
            AddModuleReference(h);
        InterlockedExchange(&g_bSkinHookInstalling, FALSE);
        InterlockedExchange(&g_bSkinHookInstalled, TRUE);
    }
}

void CQVTSkinManagerLegacyApiHook::FinalizeHookManagement()
{
    SkinHookLoaderLock loaderLock;
    CQVTWriteLock lock(m_lock);
    if (!g_bSkinHookInstalled)
        return;
    CQVTSkinManagerModuleList modules(::GetCurrentProcessId(), TRUE);
    modules.Refresh(TRUE);
    for (HMODULE h = modules.GetFirstModule(); h != nullptr; h = modules.GetNextModule())
        ReleaseModuleReference(h);
    std::vector<CQVTSkinManagerLegacyApiFunction*> functions;
    for (CQVTSkinManagerLegacyApiFunction* pFunction : m_rgFunctions)
        if (pFunction != nullptr && pFunction->m_bHooked)
            functions.push_back(pFunction);
    PatchFunctions(functions.data(), functions.size(), modules, FALSE);
    InterlockedExchange(&g_bSkinHookInstalled, FALSE);
}

void CQVTSkinManagerLegacyApiHook::HookModule(HMODULE hModule, DWORD dwFlags)
{
    if ((dwFlags & 0x2) != 0 || !SkinHookIsImageHandle(hModule))
        return;
    SkinHookLoaderLock loaderLock;
    CQVTWriteLock lock(m_lock);
    if (IsExcludedLocked(hModule))
        return;
    // A row an earlier installation patched keeps its function object: only
    // the rows the present options select reach a module loaded now.
    const UINT nOptions = QVTSkinManager()->GetApplyOptions();
    CQVTSkinManagerLegacyApiFunction* rgSelected[qvtApiHookRowCount];
    SkinHookPatch patches[qvtApiHookRowCount];
    size_t nCount = 0;
    for (int nId = 0; nId < qvtApiHookRowCount; ++nId)
    {
        CQVTSkinManagerLegacyApiFunction* pFunction = m_rgFunctions[nId];
        if (pFunction == nullptr || !IsRowSelected(g_skinHookRows[nId], nOptions))
            continue;
        rgSelected[nCount] = pFunction;
        patches[nCount++] = SkinHookPatch{pFunction->m_szModule, pFunction->m_pSaved, pFunction->m_pAlternate,
                                          pFunction->m_pReplacement, FALSE};
    }
    SkinHookPatchModule(hModule, patches, nCount);
    for (size_t i = 0; i < nCount; i++)
        if (patches[i].bDone)
        {
            CQVTWriteLock rowLock(rgSelected[i]->GetLock());
            rgSelected[i]->m_bHooked = TRUE;
        }
}

void CQVTSkinManagerLegacyApiHook::UnhookModule(HMODULE hModule)
{
    if (!SkinHookIsImageHandle(hModule))
        return;
    SkinHookLoaderLock loaderLock;
    CQVTWriteLock lock(m_lock);
    SkinHookPatch patches[qvtApiHookRowCount];
    size_t nCount = 0;
    for (CQVTSkinManagerLegacyApiFunction* pFunction : m_rgFunctions)
        if (pFunction != nullptr && pFunction->m_bHooked)
            patches[nCount++] = SkinHookPatch{pFunction->m_szModule, pFunction->m_pReplacement, nullptr,
                                              pFunction->m_pSaved, FALSE};
    SkinHookPatchModule(hModule, patches, nCount);
}

int CQVTSkinManagerLegacyApiHook::AddModuleReference(HMODULE hModule)
{
    CQVTWriteLock lock(m_lock);
    return static_cast<int>(++m_references[hModule]);
}

int CQVTSkinManagerLegacyApiHook::ReleaseModuleReference(HMODULE hModule)
{
    CQVTWriteLock lock(m_lock);
    auto it = m_references.find(hModule);
    if (it == m_references.end())
        return -1;
    const int nCount = static_cast<int>(--it->second);
    if (nCount <= 0)
    {
        m_references.erase(it);
        return 0;
    }
    return nCount;
}

BOOL CQVTSkinManagerLegacyApiHook::IsModuleReferenced(HMODULE hModule)
{
    CQVTReadLock lock(m_lock);
    return m_references.find(hModule) != m_references.end();
}

void* AFXAPI CQVTSkinManagerLegacyApiHook::FindExport(HMODULE hModule, LPCSTR lpszFunction)
{
    return lpszFunction != nullptr ? SkinHookFindExport(hModule, lpszFunction, 0) : nullptr;
}

void CQVTSkinManagerLegacyApiHook::ConnectWrapper(CQVTWinThemeWrapper* pWrapper)
{
    if (pWrapper == nullptr)
        return;
    pWrapper->ReloadApiTable();
    static const struct
    {
        int nSlot;
        int nId;
    } s_slots[] = {{4, 101}, {0, 104},  {1, 105},  {34, 106}, {29, 107}, {9, 108},
                   {8, 109}, {40, 110}, {20, 111}, {19, 112}, {25, 113}};
    for (const auto& slot : s_slots)
        if (g_skinHookRows[slot.nId].pReplacement != nullptr)
            pWrapper->SetApiPointer(slot.nSlot, g_skinHookRows[slot.nId].pReplacement);
    CQVTSkinManagerModuleList modules(::GetCurrentProcessId(), TRUE);
    modules.Refresh(TRUE);
    CQVTWriteLock lock(m_lock);
    std::vector<CQVTSkinManagerLegacyApiFunction*> functions;
    for (int nId : {101, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113})
        if (CQVTSkinManagerLegacyApiFunction* pFunction =
                PrepareFunction(nId, g_skinHookRows[nId].lpszModule, g_skinHookRows[nId].lpszFunction,
                                g_skinHookRows[nId].pReplacement))
            functions.push_back(pFunction);
    PatchFunctions(functions.data(), functions.size(), modules, TRUE);
}
