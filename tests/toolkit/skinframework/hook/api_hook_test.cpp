// The interception engine: the row table, import entries patched and
// restored in every module, the loader's replacements, the pseudo handle of
// the theme library, excluded modules, the export walk, modules that lie,
// installation racing loads on other threads, a loader that throws, and a
// skin change racing a library's attach routine, a thread that holds the
// loader's lock and a theme-name answer.
#include <afxwin.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <vector>

#include "tests/common/common_test_support.h"
#include "image_headers.h"
#include "loader_lock.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiAnswers.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "win_thread.h"

namespace {
typedef CQVTSkinManagerLegacyApiHook ApiHook;

const int kApiHookGetModuleHandleW = 64;
const int kApiHookLoadLibraryW = 8;
const int kApiHookGetModuleHandleA = 56;

// The import entries of one module, for one imported module's name, that
// hold pValue; read as the loader wrote them.
int ApiHookCountEntries(HMODULE hModule, LPCSTR lpszImported, const void* pValue)
{
    if (!CQVTSkinManagerModuleList::IsValidImage(hModule))
        return 0;
    BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_NT_HEADERS64* pNt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
        pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return 0;
    int nCount = 0;
    for (const IMAGE_IMPORT_DESCRIPTOR* pDescriptor =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + directory.VirtualAddress);
         CQVTSkinManagerModuleList::IsReadable(pDescriptor, sizeof(*pDescriptor)) && pDescriptor->Name != 0;
         pDescriptor++)
    {
        const char* pName = reinterpret_cast<const char*>(pBase + pDescriptor->Name);
        if (lpszImported != nullptr && lstrcmpiA(pName, lpszImported) != 0)
            continue;
        for (void** ppEntry = reinterpret_cast<void**>(pBase + pDescriptor->FirstThunk);
             CQVTSkinManagerModuleList::IsReadable(ppEntry, 8) && *ppEntry != nullptr; ppEntry++)
            if (*ppEntry == pValue)
                nCount++;
    }
    return nCount;
}

std::vector<HMODULE> ApiHookModules()
{
    std::vector<HMODULE> modules;
    CQVTSkinManagerModuleList list(::GetCurrentProcessId(), FALSE);
    for (HMODULE h = list.GetFirstModule(); h != nullptr; h = list.GetNextModule())
        modules.push_back(h);
    return modules;
}

// Entries anywhere in the process that still hold a replacement.
int ApiHookEntriesLeft(ApiHook& hook)
{
    int nLeft = 0;
    for (int nId = 0; nId < qvtApiHookRowCount; nId++)
    {
        CQVTSkinManagerLegacyApiFunction* pFunction = hook.FindFunction(nId);
        if (pFunction == nullptr)
            continue;
        for (HMODULE h : ApiHookModules())
            nLeft += ApiHookCountEntries(h, nullptr, pFunction->m_pReplacement);
    }
    return nLeft;
}

// Entries of a module that still hold the saved function of an installed
// row: none once the module's one walk has patched every row.
int ApiHookUnpatchedEntries(ApiHook& hook, HMODULE hModule)
{
    int nLeft = 0;
    for (int nId = 0; nId < qvtApiHookRowCount; nId++)
    {
        CQVTSkinManagerLegacyApiFunction* pFunction = hook.FindFunction(nId);
        if (pFunction != nullptr && pFunction->m_bHooked)
            nLeft += ApiHookCountEntries(hModule, pFunction->m_szModule, pFunction->m_pSaved);
    }
    return nLeft;
}

void* ApiHookReplacement(ApiHook& hook, int nId)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = hook.FindFunction(nId);
    return pFunction != nullptr ? pFunction->m_pReplacement : nullptr;
}

void* ApiHookSaved(ApiHook& hook, int nId)
{
    CQVTSkinManagerLegacyApiFunction* pFunction = hook.FindFunction(nId);
    return pFunction != nullptr ? pFunction->m_pSaved : nullptr;
}

// A module loaded through the system's loader, bypassing every replacement:
// a reference the interception never counts.
HMODULE ApiHookLoadUncounted(ApiHook& hook, LPCWSTR lpszName)
{
    typedef HMODULE(WINAPI * PFNLOAD)(LPCWSTR, HANDLE, DWORD);
    return reinterpret_cast<PFNLOAD>(ApiHookSaved(hook, 24))(lpszName, nullptr, 0);
}

void ApiHookFreeUncounted(ApiHook& hook, HMODULE hModule)
{
    typedef BOOL(WINAPI * PFNFREE)(HMODULE);
    reinterpret_cast<PFNFREE>(ApiHookSaved(hook, 32))(hModule);
}

// A saved loader that fails as a loader hooked by some other library might.
HMODULE WINAPI ApiHookThrowingLoad(LPCWSTR)
{
    throw std::runtime_error("the loader failed");
}

CString ApiHookSkinPath()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    CString strPath(szPath);
    return strPath.Left(strPath.ReverseFind(_T('\\')) + 1) + _T("Skins\\vista.qvstyles");
}

}  // namespace

class ApiHookTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (CQVTSkinManager* pManager = QVTSkinManager(); pManager->IsSkinLoaded())
            pManager->LoadSkin(nullptr, nullptr);
        pManager_ = nullptr;
    }
    CQVTSkinManager* pManager_ = QVTSkinManager();
};

TEST_F(ApiHookTest, RowsInTheirStoredOrderSelectedByOptionsAndSystem)
{
    const QVT_APIHOOKENTRY* pRows = ApiHook::GetRows();
    std::set<int> order(ApiHook::GetStoredOrder(), ApiHook::GetStoredOrder() + qvtApiHookRowCount);
    EXPECT_EQ(order.size(), size_t(qvtApiHookRowCount));
    for (int i = 0; i < qvtApiHookRowCount; i++)
        EXPECT_EQ(pRows[i].nId, UINT_PTR(i));
    // Loader rows first, then the default procedures.
    for (int i = 0; i < 93; i++)
        EXPECT_EQ(ApiHook::GetStoredOrder()[i], i);
    EXPECT_EQ(ApiHook::GetStoredOrder()[93], 116);
    EXPECT_EQ(ApiHook::GetStoredOrder()[103], 136);
    EXPECT_STREQ(pRows[66].lpszFunction, "GetModuleHandleW");
    EXPECT_STREQ(pRows[66].lpszModule, "API-MS-WIN-CORE-LIBRARYLOADER-L1-1-1.DLL");

    // Wine's prefix reports Windows 7.
    ASSERT_TRUE(QVTOSVersion()->IsWin7OrGreater());
    ASSERT_FALSE(QVTOSVersion()->IsWin8OrGreater());
    EXPECT_TRUE(ApiHook::IsRowSelected(pRows[8], 0));
    EXPECT_TRUE(ApiHook::IsRowSelected(pRows[9], 0));
    EXPECT_FALSE(ApiHook::IsRowSelected(pRows[10], qvtSkinApplyAll));
    EXPECT_FALSE(ApiHook::IsRowSelected(pRows[89], qvtSkinApplyAll));
    EXPECT_TRUE(ApiHook::IsRowSelected(pRows[133], qvtSkinApplyMenus));
    EXPECT_FALSE(ApiHook::IsRowSelected(pRows[93], qvtSkinApplyFrames | qvtSkinApplyMenus));
    EXPECT_TRUE(ApiHook::IsRowSelected(pRows[93], qvtSkinApplyColors));
    EXPECT_TRUE(ApiHook::IsRowSelected(pRows[114], 1));
}

// Rows under Windows 10, in a second process started with Wine set to it.
TEST_F(ApiHookTest, RowsUnderWindows10)
{
    const QVT_APIHOOKENTRY* pRows = ApiHook::GetRows();
    if (!commontest::Environment(u"SKINHOOK_WIN10").empty())
    {
        ASSERT_TRUE(QVTOSVersion()->IsWin10OrGreater());
        for (int nId = 0; nId < 88; nId++)
            EXPECT_TRUE(ApiHook::IsRowSelected(pRows[nId], 0)) << nId;
        for (int nId : {89, 90, 133, 136})
            EXPECT_TRUE(ApiHook::IsRowSelected(pRows[nId], qvtSkinApplyAll)) << nId;
        // The interception comes and goes there as well.
        ApiHook hook;
        hook.InitializeHookManagement();
        EXPECT_TRUE(ApiHook::IsInstalled());
        hook.FinalizeHookManagement();
        EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
        return;
    }
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Wine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &hKey, nullptr),
              ERROR_SUCCESS);
    static const char16_t s_szVersion[] = u"win10";
    ::RegSetValueExW(hKey, u"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(s_szVersion),
                     sizeof(s_szVersion));
    const DWORD dwCode = commontest::RunSelf("ApiHookTest.RowsUnderWindows10", u"SKINHOOK_WIN10", u"1");
    ::RegDeleteValueW(hKey, u"Version");
    ::RegCloseKey(hKey);
    EXPECT_EQ(dwCode, 0u);
}

TEST_F(ApiHookTest, InstallationPatchesEveryModuleAndRemovalLeavesNoEntryBehind)
{
    HMODULE hTest = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hTest, nullptr);
    {
        ApiHook hook;
        hook.InitializeHookManagement();
        ASSERT_TRUE(ApiHook::IsInstalled());
        void* pReplacement = ApiHookReplacement(hook, kApiHookGetModuleHandleW);
        ASSERT_NE(pReplacement, nullptr);
        // The program's own module and a library, not the excluded KERNEL32.
        EXPECT_GT(ApiHookCountEntries(ApiHook::GetOwnModule(), "KERNEL32.DLL", pReplacement), 0);
        EXPECT_GT(ApiHookCountEntries(hTest, "KERNEL32.DLL", pReplacement), 0);
        for (HMODULE h : {::GetModuleHandleW(u"kernel32.dll"), ::GetModuleHandleW(u"user32.dll")})
            EXPECT_EQ(ApiHookCountEntries(h, nullptr, pReplacement), 0);
        // Every installed row, not only the first of a module's walk.
        EXPECT_EQ(ApiHookUnpatchedEntries(hook, ApiHook::GetOwnModule()), 0);
        EXPECT_EQ(ApiHookUnpatchedEntries(hook, hTest), 0);
        // A library's calls reach the replacement, which passes them on.
        typedef HMODULE(WINAPI * PFNHANDLE)(LPCWSTR);
        PFNHANDLE pfnHandle =
            reinterpret_cast<PFNHANDLE>(::GetProcAddress(hTest, "SkinHookTestModuleHandle"));
        EXPECT_EQ(pfnHandle(u"skinhooktesta.dll"), hTest);

        // Installing twice changes nothing; removing and installing again
        // rewrites the same entries.
        hook.InitializeHookManagement();
        for (int i = 0; i < 3; i++)
        {
            hook.FinalizeHookManagement();
            EXPECT_FALSE(ApiHook::IsInstalled());
            EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
            EXPECT_EQ(
                ApiHookCountEntries(hTest, "KERNEL32.DLL", ApiHookSaved(hook, kApiHookGetModuleHandleW)), 1);
            hook.InitializeHookManagement();
            EXPECT_GT(ApiHookEntriesLeft(hook), 0);
        }
        hook.FinalizeHookManagement();
        EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
        hook.InitializeHookManagement();
    }
    // The hook's end removes it.
    EXPECT_FALSE(ApiHook::IsInstalled());
    ::FreeLibrary(hTest);
}

TEST_F(ApiHookTest, LoadsAtDepthOneArePatchedOnArrivalAndUnpatchedAtTheirLastFree)
{
    ApiHook hook;
    hook.InitializeHookManagement();
    void* pReplacement = ApiHookReplacement(hook, kApiHookGetModuleHandleW);
    void* pSaved = ApiHookSaved(hook, kApiHookGetModuleHandleW);

    // An uncounted reference keeps the module to be looked at after its
    // counted ones are gone.
    HMODULE hKeep = ApiHookLoadUncounted(hook, u"skinhooktesta.dll");
    ASSERT_NE(hKeep, nullptr);
    EXPECT_EQ(ApiHookCountEntries(hKeep, "KERNEL32.DLL", pSaved), 1);
    HMODULE hFirst = ::LoadLibraryW(u"skinhooktesta.dll");
    EXPECT_EQ(hFirst, hKeep);
    EXPECT_EQ(ApiHookCountEntries(hKeep, "KERNEL32.DLL", pReplacement), 1);
    EXPECT_EQ(ApiHookUnpatchedEntries(hook, hKeep), 0);
    EXPECT_EQ(::LoadLibraryExW(u"skinhooktesta.dll", nullptr, 0), hKeep);
    EXPECT_TRUE(::FreeLibrary(hKeep));
    EXPECT_EQ(ApiHookCountEntries(hKeep, "KERNEL32.DLL", pReplacement), 1);
    EXPECT_TRUE(::FreeLibrary(hKeep));
    EXPECT_EQ(ApiHookCountEntries(hKeep, "KERNEL32.DLL", pSaved), 1);
    EXPECT_FALSE(hook.IsModuleReferenced(hKeep));

    // Data-file loads count, patch and unpatch nothing.
    HMODULE hData = ::LoadLibraryExW(u"skinhooktestb.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hData, nullptr);
    EXPECT_FALSE(hook.IsModuleReferenced(hData));
    EXPECT_FALSE(hook.IsModuleReferenced(reinterpret_cast<HMODULE>(reinterpret_cast<ULONG_PTR>(hData) & ~3)));
    EXPECT_TRUE(::FreeLibrary(hData));
    EXPECT_EQ(ApiHookCountEntries(hKeep, "KERNEL32.DLL", pSaved), 1);
    ApiHookFreeUncounted(hook, hKeep);
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);

    // A module loaded by another's DllMain waits for the next installation.
    HMODULE hOuter = ::LoadLibraryW(u"skinhooktestb.dll");
    ASSERT_NE(hOuter, nullptr);
    HMODULE hInner = ::GetModuleHandleW(u"skinhooktesta.dll");
    ASSERT_NE(hInner, nullptr);
    EXPECT_EQ(ApiHookCountEntries(hInner, "KERNEL32.DLL", pSaved), 1);
    EXPECT_FALSE(hook.IsModuleReferenced(hInner));
    EXPECT_TRUE(hook.IsModuleReferenced(hOuter));
    hook.FinalizeHookManagement();
    hook.InitializeHookManagement();
    EXPECT_EQ(ApiHookCountEntries(hInner, "KERNEL32.DLL", pReplacement), 1);
    EXPECT_TRUE(::FreeLibrary(hOuter));
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktestb.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);

    // So does one that passes the interception inside another load.
    void* pSavedA = ApiHookSaved(hook, kApiHookGetModuleHandleA);
    void* pReplacementA = ApiHookReplacement(hook, kApiHookGetModuleHandleA);
    HMODULE hPatched = ::LoadLibraryW(u"skinhooktesta.dll");
    hOuter = ::LoadLibraryW(u"skinhooktestb.dll");
    ASSERT_NE(hOuter, nullptr);
    hInner = ::GetModuleHandleW(u"skinhooktestc.dll");
    ASSERT_NE(hInner, nullptr);
    EXPECT_EQ(ApiHookCountEntries(hInner, "KERNEL32.DLL", pSavedA), 1);
    EXPECT_FALSE(hook.IsModuleReferenced(hInner));
    hook.FinalizeHookManagement();
    hook.InitializeHookManagement();
    EXPECT_EQ(ApiHookCountEntries(hInner, "KERNEL32.DLL", pReplacementA), 1);
    EXPECT_TRUE(::FreeLibrary(hOuter));
    EXPECT_TRUE(::FreeLibrary(hPatched));
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktestc.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);
    hook.FinalizeHookManagement();
    EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
}

TEST_F(ApiHookTest, TheThemeLibraryByNameGivesThePseudoHandleWhileASkinAnswers)
{
    HMODULE hUxTheme = ::LoadLibraryW(u"uxtheme.dll");
    ASSERT_NE(hUxTheme, nullptr);
    ApiHook hook;
    hook.InitializeHookManagement();
    // No skin: the real module.
    EXPECT_EQ(::GetModuleHandleW(u"uXtHeMe.dll"), hUxTheme);
    ASSERT_TRUE(pManager_->LoadSkin(ApiHookSkinPath(), _T("NormalBlue.ini")));
    EXPECT_EQ(::GetModuleHandleW(u"uXtHeMe.dll"), ApiHook::s_hPseudoUxTheme);
    EXPECT_EQ(::GetModuleHandleA("UXTHEME.DLL"), ApiHook::s_hPseudoUxTheme);
    HMODULE hModule = nullptr;
    EXPECT_TRUE(::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, u"uxtheme.dll", &hModule));
    EXPECT_EQ(hModule, ApiHook::s_hPseudoUxTheme);
    // Other names pass through.
    EXPECT_EQ(::GetModuleHandleW(u"uxtheme"), hUxTheme);

    // An address that happens to hold the name is an address.
    static const char16_t s_szName[] = u"UxTheme.dll";
    hModule = nullptr;
    EXPECT_TRUE(::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     s_szName, &hModule));
    EXPECT_EQ(hModule, ApiHook::GetOwnModule());
    static const char s_szNarrow[] = "uxtheme.dll";
    hModule = nullptr;
    EXPECT_TRUE(::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     s_szNarrow, &hModule));
    EXPECT_EQ(hModule, ApiHook::GetOwnModule());

    // Without colour answers, the real module.
    pManager_->SetApplyOptions(qvtSkinApplyFrames);
    EXPECT_EQ(::GetModuleHandleW(u"uxtheme.dll"), hUxTheme);
    pManager_->SetApplyOptions(qvtSkinApplyAll);

    // A name with a row gives its replacement, the real theme library its
    // own functions; the pseudo handle passes unknown names on.
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "LoadLibraryW")),
              ApiHookReplacement(hook, kApiHookLoadLibraryW));
    void* pReal = reinterpret_cast<void*>(::GetProcAddress(hUxTheme, "IsThemeActive"));
    EXPECT_NE(pReal, nullptr);
    EXPECT_EQ(pReal, ApiHook::FindExport(hUxTheme, "IsThemeActive"));
    EXPECT_EQ(::GetProcAddress(ApiHook::s_hPseudoUxTheme, "NoSuchFunction"), nullptr);
    hook.FinalizeHookManagement();
    EXPECT_EQ(::GetModuleHandleW(u"uxtheme.dll"), hUxTheme);
    ::FreeLibrary(hUxTheme);
}

TEST_F(ApiHookTest, ExcludedModulesAndPrefixPatterns)
{
    HMODULE hTest = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hTest, nullptr);
    ApiHook hook;
    EXPECT_TRUE(hook.IsModuleExcluded(::GetModuleHandleW(u"kernel32.dll")) ||
                !hook.IsModuleExcluded(::GetModuleHandleW(u"kernel32.dll")));
    EXPECT_FALSE(hook.IsModuleExcluded(hTest));
    hook.ExcludeModule(u"hooktesta*", FALSE);
    EXPECT_FALSE(hook.IsModuleExcluded(hTest)) << "a pattern matches a name's start only";
    hook.ExcludeModule(u"SKINHOOKTESTA*", FALSE);
    EXPECT_TRUE(hook.IsModuleExcluded(hTest));

    hook.InitializeHookManagement();
    EXPECT_TRUE(hook.IsModuleExcluded(::GetModuleHandleW(u"kernel32.dll")));
    EXPECT_TRUE(hook.IsModuleExcluded(::GetModuleHandleW(u"user32.dll")));
    EXPECT_EQ(ApiHookCountEntries(hTest, nullptr, ApiHookReplacement(hook, kApiHookGetModuleHandleW)), 0);
    EXPECT_GT(ApiHookCountEntries(ApiHook::GetOwnModule(), nullptr,
                                  ApiHookReplacement(hook, kApiHookGetModuleHandleW)),
              0);
    hook.FinalizeHookManagement();
    ::FreeLibrary(hTest);
}

TEST_F(ApiHookTest, TheExportWalkFollowsForwardersAndStopsAtModulesThatLie)
{
    HMODULE hTest = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hTest, nullptr);
    EXPECT_EQ(ApiHook::FindExport(hTest, "SkinHookTestSysColor"),
              reinterpret_cast<void*>(::GetProcAddress(hTest, "SkinHookTestSysColor")));
    EXPECT_EQ(ApiHook::FindExport(hTest, "skinhooktestsyscolor"), nullptr) << "names match exactly";
    EXPECT_EQ(ApiHook::FindExport(hTest, "NoSuchExport"), nullptr);
    ::FreeLibrary(hTest);

    // An image whose headers are true and whose directories point past what
    // is mapped, or into pages that cannot be read.
    const SIZE_T cbPage = 4096;
    BYTE* pImage = static_cast<BYTE*>(::VirtualAlloc(nullptr, cbPage * 4, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(pImage, nullptr);
    ASSERT_NE(::VirtualAlloc(pImage, cbPage * 2, MEM_COMMIT, PAGE_READWRITE), nullptr);
    IMAGE_NT_HEADERS64* pNt = WriteImageHeaders(pImage, 0x80);
    pNt->OptionalHeader.SizeOfImage = cbPage * 4;
    HMODULE hFake = reinterpret_cast<HMODULE>(pImage);
    IMAGE_DATA_DIRECTORY* pDirs = pNt->OptionalHeader.DataDirectory;

    // A true export table: one export of its own, one forwarded.
    void* pTicks =
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(u"kernel32.dll"), "GetTickCount"));
    {
        const DWORD nDir = DWORD(cbPage);
        IMAGE_EXPORT_DIRECTORY* pExports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(pImage + nDir);
        pExports->NumberOfNames = 2;
        pExports->NumberOfFunctions = 2;
        pExports->AddressOfNames = nDir + 0x40;
        pExports->AddressOfNameOrdinals = nDir + 0x60;
        pExports->AddressOfFunctions = nDir + 0x70;
        DWORD* pNames = reinterpret_cast<DWORD*>(pImage + nDir + 0x40);
        pNames[0] = nDir + 0x80;
        pNames[1] = nDir + 0x90;
        WORD* pOrdinals = reinterpret_cast<WORD*>(pImage + nDir + 0x60);
        pOrdinals[0] = 0;
        pOrdinals[1] = 1;
        DWORD* pFunctions = reinterpret_cast<DWORD*>(pImage + nDir + 0x70);
        pFunctions[0] = 0x300;
        pFunctions[1] = nDir + 0xA0;
        strcpy(reinterpret_cast<char*>(pImage + nDir + 0x80), "Direct");
        strcpy(reinterpret_cast<char*>(pImage + nDir + 0x90), "Forwarded");
        strcpy(reinterpret_cast<char*>(pImage + nDir + 0xA0), "KERNEL32.GetTickCount");
        pDirs[IMAGE_DIRECTORY_ENTRY_EXPORT] = {nDir, 0x100};
        EXPECT_EQ(ApiHook::FindExport(hFake, "Direct"), pImage + 0x300);
        EXPECT_EQ(ApiHook::FindExport(hFake, "Forwarded"), pTicks);
        EXPECT_EQ(ApiHook::FindExport(hFake, "forwarded"), nullptr);
        // A forwarder to a module that is not loaded.
        strcpy(reinterpret_cast<char*>(pImage + nDir + 0xA0), "NOSUCHMODULE.GetTickCount");
        EXPECT_EQ(ApiHook::FindExport(hFake, "Forwarded"), nullptr);
        memset(pImage + nDir, 0, 0x100);
    }

    // Directories in the pages never committed.
    pDirs[IMAGE_DIRECTORY_ENTRY_EXPORT] = {DWORD(cbPage * 3), 0x1000};
    pDirs[IMAGE_DIRECTORY_ENTRY_IMPORT] = {DWORD(cbPage * 3), 0x1000};
    EXPECT_EQ(ApiHook::FindExport(hFake, "GetTickCount"), nullptr);
    ApiHook hook;
    hook.HookModule(hFake, 0);

    // Tables that run off the committed pages: names past the end, a
    // descriptor list and an import table with no end in sight.
    IMAGE_EXPORT_DIRECTORY* pExports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(pImage + cbPage);
    pDirs[IMAGE_DIRECTORY_ENTRY_EXPORT] = {DWORD(cbPage), sizeof(*pExports)};
    pExports->NumberOfNames = 0x7FFFFFFF;
    pExports->NumberOfFunctions = 0x7FFFFFFF;
    pExports->AddressOfNames = DWORD(cbPage * 2 - 8);
    pExports->AddressOfNameOrdinals = DWORD(cbPage + 0x100);
    pExports->AddressOfFunctions = DWORD(cbPage + 0x200);
    *reinterpret_cast<DWORD*>(pImage + cbPage * 2 - 8) = DWORD(cbPage * 2 - 2);
    *reinterpret_cast<DWORD*>(pImage + cbPage * 2 - 4) = DWORD(cbPage * 2 - 2);
    pImage[cbPage * 2 - 2] = 'G';
    pImage[cbPage * 2 - 1] = 'e';
    EXPECT_EQ(ApiHook::FindExport(hFake, "GetTickCount"), nullptr);

    IMAGE_IMPORT_DESCRIPTOR* pDescriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pImage + 0x400);
    pDirs[IMAGE_DIRECTORY_ENTRY_IMPORT] = {0x400, 0x7FFFFFFF};
    strcpy(reinterpret_cast<char*>(pImage + 0x300), "KERNEL32.DLL");
    void* pSaved = nullptr;
    hook.InitializeHookManagement();
    pSaved = ApiHookSaved(hook, kApiHookGetModuleHandleW);
    for (int i = 0; i < 3; i++)
    {
        pDescriptor[i].Name = 0x300;
        pDescriptor[i].FirstThunk = DWORD(cbPage * 2 - 16);
    }
    void** ppEntries = reinterpret_cast<void**>(pImage + cbPage * 2 - 16);
    ppEntries[0] = pSaved;
    ppEntries[1] = pSaved;
    hook.HookModule(hFake, 0);
    EXPECT_EQ(ppEntries[0], ApiHookReplacement(hook, kApiHookGetModuleHandleW));
    hook.UnhookModule(hFake);
    EXPECT_EQ(ppEntries[1], pSaved);
    // A name running into the unreadable pages.
    pDescriptor[0].Name = DWORD(cbPage * 2 - 2);
    hook.HookModule(hFake, 0);
    hook.FinalizeHookManagement();
    ::VirtualFree(pImage, 0, MEM_RELEASE);
}

TEST_F(ApiHookTest, APointerCachedFromTheInterceptionOutlivesIt)
{
    typedef HMODULE(WINAPI * PFNHANDLE)(LPCWSTR);
    typedef HMODULE(WINAPI * PFNLOAD)(LPCWSTR);
    HMODULE hKernel = ::GetModuleHandleW(u"kernel32.dll");
    PFNHANDLE pfnHandle = nullptr;
    PFNLOAD pfnLoad = nullptr;
    {
        ApiHook hook;
        hook.InitializeHookManagement();
        pfnHandle = reinterpret_cast<PFNHANDLE>(::GetProcAddress(hKernel, "GetModuleHandleW"));
        pfnLoad = reinterpret_cast<PFNLOAD>(::GetProcAddress(hKernel, "LoadLibraryW"));
        ASSERT_EQ(reinterpret_cast<void*>(pfnHandle), ApiHookReplacement(hook, kApiHookGetModuleHandleW));
        hook.FinalizeHookManagement();
        EXPECT_EQ(pfnHandle(u"kernel32.dll"), hKernel) << "removed";
    }
    // The hook is gone: its replacements reach the system's functions.
    EXPECT_EQ(pfnHandle(u"kernel32.dll"), hKernel);
    HMODULE hTest = pfnLoad(u"skinhooktesta.dll");
    EXPECT_NE(hTest, nullptr);
    EXPECT_TRUE(::FreeLibrary(hTest));
}

// Whether a window made on a new thread got a skin object.
BOOL ApiHookThreadWindowSkinned()
{
    BOOL bSkinned = FALSE;
    WinThread thread([&bSkinned] {
        HWND hWnd =
            ::CreateWindowExW(0, u"Button", u"", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
        bSkinned = hWnd != nullptr && QVTSkinManager()->Lookup(hWnd) != nullptr;
        ::DestroyWindow(hWnd);
    });
    thread.join();
    return bSkinned;
}

TEST_F(ApiHookTest, AThreadStartedWhileASkinIsLoadedSkinsItsWindows)
{
    // Plain skin objects for buttons while the test runs.
    pManager_->GetClassMap()->AddClass(_T("Button"), RUNTIME_CLASS(CQVTSkinObject));
    EXPECT_FALSE(ApiHookThreadWindowSkinned());
    // Loading a skin installs the manager's own interception.
    ASSERT_TRUE(pManager_->LoadSkin(ApiHookSkinPath(), _T("NormalBlue.ini")));
    EXPECT_TRUE(ApiHookThreadWindowSkinned());
    pManager_->m_bAutoApplyThreads = FALSE;
    EXPECT_FALSE(ApiHookThreadWindowSkinned());
    pManager_->m_bAutoApplyThreads = TRUE;
    pManager_->LoadSkin(nullptr, nullptr);
    EXPECT_FALSE(ApiHookThreadWindowSkinned());
    pManager_->GetClassMap()->AddClass(_T("Button"), static_cast<CRuntimeClass*>(nullptr));
}

TEST_F(ApiHookTest, LoadsOnTwoThreadsWhileTheInterceptionComesAndGoes)
{
    ApiHook hook;
    volatile LONG bStop = FALSE;
    volatile LONG nLoads = 0;
    auto loader = [&](LPCWSTR lpszName) {
        return [&, lpszName] {
            while (!bStop)
            {
                HMODULE hModule = ::LoadLibraryW(lpszName);
                if (hModule != nullptr)
                {
                    InterlockedIncrement(&nLoads);
                    ::FreeLibrary(hModule);
                }
            }
        };
    };
    {
        WinThread first(loader(u"skinhooktesta.dll"));
        WinThread second(loader(u"skinhooktestb.dll"));
        // The loaders wait for the loader's lock while the interception
        // comes and goes, and a busy machine can hold them back through 200
        // rounds: the rounds go on until they have loaded meanwhile.
        const DWORD dwStart = ::GetTickCount();
        for (int i = 0; i < 200 || (nLoads == 0 && ::GetTickCount() - dwStart < 60000); i++)
        {
            hook.InitializeHookManagement();
            hook.FinalizeHookManagement();
        }
        InterlockedExchange(&bStop, TRUE);
    }
    EXPECT_GT(nLoads, 0);
    EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktestb.dll"), nullptr);
}

TEST_F(ApiHookTest, AnExceptionFromTheSavedLoaderPassesAndLeavesLaterLoadsPatched)
{
    ApiHook hook;
    hook.InitializeHookManagement();
    CQVTSkinManagerLegacyApiFunction* pLoad = hook.FindFunction(kApiHookLoadLibraryW);
    ASSERT_NE(pLoad, nullptr);
    void* pSaved = pLoad->m_pSaved;
    pLoad->m_pSaved = reinterpret_cast<void*>(&ApiHookThrowingLoad);
    EXPECT_THROW(::LoadLibraryW(u"skinhooktesta.dll"), std::runtime_error);
    pLoad->m_pSaved = pSaved;
    EXPECT_EQ(*hook.GetLoadDepth(), 0);
    HMODULE hModule = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hModule, nullptr);
    EXPECT_TRUE(hook.IsModuleReferenced(hModule));
    EXPECT_EQ(
        ApiHookCountEntries(hModule, "KERNEL32.DLL", ApiHookReplacement(hook, kApiHookGetModuleHandleW)), 1);
    ::FreeLibrary(hModule);
    hook.FinalizeHookManagement();
    EXPECT_EQ(ApiHookEntriesLeft(hook), 0);
}

// A library loaded on a second thread asks for a colour in its attach
// routine, through an entry the skin patched, while the first thread loads
// another skin. Run in a process of its own: a deadlock there holds the
// loader lock, and the process is ended.
TEST_F(ApiHookTest, ASkinLoadsWhileALibraryAttachingOnAnotherThreadAsksForAColour)
{
    if (commontest::Environment(u"SKINHOOK_LOCK_ORDER").empty())
    {
        EXPECT_EQ(
            commontest::RunSelf("ApiHookTest.ASkinLoadsWhileALibraryAttachingOnAnotherThreadAsksForAColour",
                                u"SKINHOOK_LOCK_ORDER", u"1", 120000),
            0u);
        return;
    }
    ASSERT_TRUE(pManager_->LoadSkin(ApiHookSkinPath(), _T("NormalBlue.ini")));
    HMODULE hPatched = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hPatched, nullptr);
    HANDLE hAttached = ::CreateEventA(nullptr, TRUE, FALSE, "SondrelSkinHookTestAttached");
    HANDLE hAsk = ::CreateEventA(nullptr, TRUE, FALSE, "SondrelSkinHookTestAsk");
    HANDLE hChange = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE hLoadedLibrary = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE hLoadedSkin = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HMODULE hAttaching = nullptr;
    // Running first, its path at hand: a thread's start and the module's
    // file name pass through the loader's lock, which the attach holds.
    const CString strSilver = ApiHookSkinPath();
    HANDLE hRunning = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WinThread skin([&] {
        ::SetEvent(hRunning);
        ::WaitForSingleObject(hChange, INFINITE);
        pManager_->LoadSkin(strSilver, _T("NormalSilver.ini"));
        ::SetEvent(hLoadedSkin);
    });
    ::WaitForSingleObject(hRunning, INFINITE);
    WinThread library([&] {
        hAttaching = ::LoadLibraryW(u"skinhooktestd.dll");
        ::SetEvent(hLoadedLibrary);
    });
    if (::WaitForSingleObject(hAttached, 30000) != WAIT_OBJECT_0)
        ::TerminateProcess(::GetCurrentProcess(), 4);
    ::SetEvent(hChange);
    // The attach asks once the skin change holds what it will hold before
    // it needs the loader's lock, or after a while when it holds nothing.
    const DWORD dwStart = ::GetTickCount();
    while (pManager_->GetLock().GetWriterThread() == 0 && ::GetTickCount() - dwStart < 2000)
        ::Sleep(10);
    ::SetEvent(hAsk);
    HANDLE hEnds[] = {hLoadedLibrary, hLoadedSkin};
    if (::WaitForMultipleObjects(2, hEnds, TRUE, 30000) != WAIT_OBJECT_0)
    {
        fprintf(stderr, "deadlock: the skin change and the library's attach wait for each other\n");
        fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
    ASSERT_NE(hAttaching, nullptr);
    typedef DWORD(WINAPI * PFNCOLOUR)();
    auto pfnColour = reinterpret_cast<PFNCOLOUR>(::GetProcAddress(hAttaching, "SkinHookTestAttachColour"));
    ASSERT_NE(pfnColour, nullptr);
    EXPECT_EQ(pfnColour(), static_cast<DWORD>(RGB(236, 233, 216))) << "the attach was answered by the skin";
    EXPECT_TRUE(pManager_->IsSkinLoaded());
}

namespace {
// Where the second thread of the two tests below is held, and lets go.
HANDLE g_hApiHookHeld = nullptr;
HANDLE g_hApiHookGo = nullptr;

void AFXAPI ApiHookHold()
{
    ::SetEvent(g_hApiHookHeld);
    ::WaitForSingleObject(g_hApiHookGo, 60000);
}
}  // namespace

// A thread holding the loader's lock, as an attach routine does, asks for a
// frame size through an entry the skin patched while a skin change (a load,
// new apply options) refreshes its colours: without colour answers the
// theme detection there asks the loader for the theme library. Run in a
// process of its own.
TEST_F(ApiHookTest, ASkinChangeRefreshesItsColoursWhileAThreadHoldingTheLoaderAsksForAFrameSize)
{
    if (commontest::Environment(u"SKINHOOK_COLOUR_REFRESH").empty())
    {
        EXPECT_EQ(
            commontest::RunSelf("ApiHookTest."
                                "ASkinChangeRefreshesItsColoursWhileAThreadHoldingTheLoaderAsksForAFrameSize",
                                u"SKINHOOK_COLOUR_REFRESH", u"1", 180000),
            0u);
        return;
    }
    const LoaderLock loader;
    ASSERT_TRUE(loader.Found());
    const UINT nOptions = qvtSkinApplyAll & ~qvtSkinApplyColors;
    pManager_->SetApplyOptions(nOptions);
    ASSERT_TRUE(pManager_->LoadSkin(ApiHookSkinPath(), _T("NormalBlue.ini")));
    const CString strSkin = ApiHookSkinPath();
    const std::function<void()> changes[] = {
        [&] { pManager_->LoadSkin(strSkin, _T("NormalSilver.ini")); },
        [&] { pManager_->SetApplyOptions(nOptions); },
    };
    for (const std::function<void()>& change : changes)
    {
        g_hApiHookHeld = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_hApiHookGo = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE hEnds[] = {::CreateEventW(nullptr, TRUE, FALSE, nullptr),
                          ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        RECT rcAsked = {0, 0, 100, 100};
        // Both threads run before the change: a thread's start takes the
        // loader's lock.
        WinThread attach([&] {
            ::WaitForSingleObject(g_hApiHookHeld, INFINITE);
            ULONG_PTR nCookie = 0;
            loader.pfnLock(0, nullptr, &nCookie);
            ::SetEvent(g_hApiHookGo);
            ::AdjustWindowRectEx(&rcAsked, WS_OVERLAPPEDWINDOW, FALSE, 0);
            loader.pfnUnlock(0, nCookie);
            ::SetEvent(hEnds[0]);
        });
        CQVTSkinManager::s_pfnBeforeColorRefresh = &ApiHookHold;
        WinThread changing([&] {
            change();
            ::SetEvent(hEnds[1]);
        });
        if (::WaitForMultipleObjects(2, hEnds, TRUE, 60000) != WAIT_OBJECT_0)
        {
            fprintf(stderr,
                    "deadlock: the colour refresh and the thread holding the loader wait for each other\n");
            fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        CQVTSkinManager::s_pfnBeforeColorRefresh = nullptr;
        changing.join();
        attach.join();
        EXPECT_TRUE(pManager_->IsSkinLoaded());
        RECT rcSkin = {0, 0, 100, 100};
        ::AdjustWindowRectEx(&rcSkin, WS_OVERLAPPEDWINDOW, FALSE, 0);
        EXPECT_TRUE(::EqualRect(&rcAsked, &rcSkin)) << "the skin's frame answered the thread";
        for (HANDLE h : {g_hApiHookHeld, g_hApiHookGo, hEnds[0], hEnds[1]})
            ::CloseHandle(h);
    }
}

// The theme-name answer, held past its check that a skin is loaded while the
// skin changes to one that does not load, names the system's theme: never
// the file the change wrote its names into meanwhile.
TEST_F(ApiHookTest, TheThemeNameHeldPastItsCheckWhileTheSkinChangesNamesNoSkinThatFailed)
{
    ASSERT_TRUE(pManager_->LoadSkin(ApiHookSkinPath(), _T("NormalBlue.ini")));
    typedef HRESULT(WINAPI * PFNNAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto pfnName = reinterpret_cast<PFNNAME>(
        ::GetProcAddress(::GetModuleHandleW(u"uxtheme.dll"), "GetCurrentThemeName"));
    ASSERT_NE(pfnName, nullptr);
    g_hApiHookHeld = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_hApiHookGo = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WCHAR szFile[MAX_PATH] = {};
    WCHAR szColor[MAX_PATH] = {};
    HRESULT hr = E_FAIL;
    QVTSkinAnswers::g_pfnThemeNameChecked = &ApiHookHold;
    WinThread reader([&] { hr = pfnName(szFile, MAX_PATH, szColor, MAX_PATH, nullptr, 0); });
    ASSERT_EQ(::WaitForSingleObject(g_hApiHookHeld, 60000), WAIT_OBJECT_0);
    QVTSkinAnswers::g_pfnThemeNameChecked = nullptr;
    // The file takes the new names, then fails to open.
    const CString strMissing = ApiHookSkinPath() + _T(".missing");
    EXPECT_FALSE(pManager_->LoadSkin(strMissing, _T("NormalSilver.ini")));
    ::SetEvent(g_hApiHookGo);
    reader.join();
    auto pfnSystem =
        reinterpret_cast<PFNNAME>(ApiHook::GetSavedAddress(QVTSkinAnswers::kGetCurrentThemeName));
    ASSERT_NE(pfnSystem, nullptr);
    WCHAR szSystemFile[MAX_PATH] = {};
    WCHAR szSystemColor[MAX_PATH] = {};
    EXPECT_EQ(hr, pfnSystem(szSystemFile, MAX_PATH, szSystemColor, MAX_PATH, nullptr, 0));
    EXPECT_STREQ(CStringA(szFile), CStringA(szSystemFile));
    EXPECT_STREQ(CStringA(szColor), CStringA(szSystemColor));
    ::CloseHandle(g_hApiHookHeld);
    ::CloseHandle(g_hApiHookGo);
}
