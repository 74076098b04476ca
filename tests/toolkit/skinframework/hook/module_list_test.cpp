// The process module list: both enumerators, pins, cached and uncached
// reading, and a module list that changes between PSAPI's two calls.
#include <afxwin.h>

#include <psapi.h>

#include <algorithm>
#include <set>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"

namespace {
typedef CQVTSkinManagerModuleList::CModuleEnumerator ModuleListEnumerator;

std::vector<HMODULE> ModuleListWalk(CQVTSkinManagerModuleList& list)
{
    std::vector<HMODULE> modules;
    for (HMODULE h = list.GetFirstModule(); h != nullptr; h = list.GetNextModule())
        modules.push_back(h);
    return modules;
}

std::set<HMODULE> ModuleListSet(ModuleListEnumerator* pEnumerator)
{
    CQVTSkinManagerModuleList list(pEnumerator);
    list.Refresh(FALSE);
    std::vector<HMODULE> modules = ModuleListWalk(list);
    std::set<HMODULE> unique(modules.begin(), modules.end());
    EXPECT_EQ(unique.size(), modules.size()) << "a module listed twice";
    return unique;
}

HMODULE ModuleListPsapi()
{
    return ::GetModuleHandleW(u"psapi.dll");
}

// PSAPI's own answers, shifted: the first (sizing) call sees the process as
// it was some modules earlier or later.
int g_nModuleListShift = 0;
BOOL WINAPI ModuleListShiftedEnum(HANDLE hProcess, HMODULE* phModules, DWORD cb, LPDWORD pcbNeeded)
{
    typedef BOOL(WINAPI * PFNENUM)(HANDLE, HMODULE*, DWORD, LPDWORD);
    static PFNENUM pfnEnum =
        reinterpret_cast<PFNENUM>(::GetProcAddress(ModuleListPsapi(), "EnumProcessModules"));
    BOOL bResult = pfnEnum(hProcess, phModules, cb, pcbNeeded);
    if (bResult && cb <= sizeof(HMODULE))
        *pcbNeeded = static_cast<DWORD>(static_cast<int>(*pcbNeeded) + g_nModuleListShift * 8);
    return bResult;
}

class ModuleListShiftedEnumerator : public CQVTSkinManagerModuleList::CPsapiModuleEnumerator
{
public:
    ModuleListShiftedEnumerator() : CPsapiModuleEnumerator(::GetCurrentProcessId(), TRUE, ModuleListPsapi())
    {
        m_pfnEnumProcessModules = &ModuleListShiftedEnum;
    }
};

}  // namespace

class ModuleListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Loads PSAPI for the list's support record.
        ASSERT_TRUE(CQVTSkinManagerModuleList::IsModuleEnumerationSupported());
        ASSERT_NE(ModuleListPsapi(), nullptr);
    }

    static ModuleListEnumerator* Psapi(BOOL bCached)
    {
        return new CQVTSkinManagerModuleList::CPsapiModuleEnumerator(::GetCurrentProcessId(), bCached,
                                                                     ModuleListPsapi());
    }
    static ModuleListEnumerator* ToolHelp(BOOL bCached)
    {
        return new CQVTSkinManagerModuleList::CToolHelpModuleEnumerator(::GetCurrentProcessId(), bCached);
    }
};

TEST_F(ModuleListTest, ToolHelpListsWhatPsapiListsAndNeverADataFileMapping)
{
    HMODULE hData = ::LoadLibraryExW(u"skinhooktesta.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hData, nullptr);
    ASSERT_NE(reinterpret_cast<ULONG_PTR>(hData) & 3, 0u) << "a data-file mapping, not an image";
    ASSERT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);

    std::set<HMODULE> psapi = ModuleListSet(Psapi(TRUE));
    std::set<HMODULE> toolHelp = ModuleListSet(ToolHelp(TRUE));
    EXPECT_EQ(psapi, toolHelp);
    EXPECT_GT(psapi.size(), 5u);
    EXPECT_TRUE(psapi.count(::GetModuleHandleW(u"kernel32.dll")));
    EXPECT_TRUE(psapi.count(::GetModuleHandleW(nullptr)));
    for (HMODULE h : psapi)
    {
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(h) & 3, 0u);
        EXPECT_NE(reinterpret_cast<ULONG_PTR>(h), reinterpret_cast<ULONG_PTR>(hData) & ~ULONG_PTR(3));
    }

    // The list the constructor picks for this process lists the same.
    CQVTSkinManagerModuleList list(::GetCurrentProcessId(), TRUE);
    list.Refresh(FALSE);
    std::vector<HMODULE> picked = ModuleListWalk(list);
    EXPECT_EQ(std::set<HMODULE>(picked.begin(), picked.end()), psapi);
    ::FreeLibrary(hData);
}

TEST_F(ModuleListTest, ThisProcessIsReadFromTheLoadersOwnListWithPsapisRecords)
{
    // More modules than the reader makes room for before it takes the
    // loader's lock (64): it reads the list again, whole.
    std::vector<HMODULE> extra;
    for (LPCTSTR lpszFormat : {u"d3dx9_%d.dll", u"d3dx10_%d.dll", u"d3dcompiler_%d.dll"})
        for (int n = 24; n <= 47; n++)
        {
            CString strName;
            strName.Format(lpszFormat, n);
            if (HMODULE hModule = ::LoadLibraryW(strName))
                extra.push_back(hModule);
        }
    CQVTSkinManagerModuleList own(::GetCurrentProcessId(), TRUE);
    ASSERT_NE(dynamic_cast<CQVTSkinManagerModuleList::CLoaderModuleEnumerator*>(own.GetEnumerator()),
              nullptr);
    own.Refresh(FALSE);
    CQVTSkinManagerModuleList psapi(Psapi(TRUE));
    psapi.Refresh(FALSE);
    const std::vector<QVT_MODULEINFO>& a = own.GetEnumerator()->GetRecords();
    const std::vector<QVT_MODULEINFO>& b = psapi.GetEnumerator()->GetRecords();
    ASSERT_GT(b.size(), 64u);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); i++)
    {
        EXPECT_EQ(a[i].hModule, b[i].hModule) << i;
        EXPECT_EQ(a[i].lpBaseOfDll, b[i].lpBaseOfDll) << i;
        EXPECT_EQ(a[i].SizeOfImage, b[i].SizeOfImage) << i;
        EXPECT_EQ(a[i].EntryPoint, b[i].EntryPoint) << i;
    }
    QVT_MODULEINFO info = {};
    ASSERT_TRUE(own.GetModuleInformation(::GetModuleHandleW(u"kernel32.dll"), &info));
    EXPECT_EQ(info.hModule, ::GetModuleHandleW(u"kernel32.dll"));
    EXPECT_FALSE(own.GetModuleInformation(reinterpret_cast<HMODULE>(0x10000), &info));
    for (HMODULE hModule : extra)
        ::FreeLibrary(hModule);
}

TEST_F(ModuleListTest, ModulesThatArriveOrLeaveBetweenPsapisCallsAreReadAsTheSecondCallSaw)
{
    const std::set<HMODULE> expected = ModuleListSet(Psapi(TRUE));
    for (int nShift : {-3, 4})
    {
        g_nModuleListShift = nShift;
        EXPECT_EQ(ModuleListSet(new ModuleListShiftedEnumerator()), expected) << "shift " << nShift;
    }
    g_nModuleListShift = 0;
}

TEST_F(ModuleListTest, APinnedModuleOutlivesItsFreeUntilTheListGoes)
{
    HMODULE hModule = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hModule, nullptr);
    {
        CQVTSkinManagerModuleList list(::GetCurrentProcessId(), TRUE);
        list.Refresh(TRUE);
        list.Refresh(TRUE);
        ModuleListEnumerator* pEnumerator = list.GetEnumerator();
        EXPECT_EQ(pEnumerator->GetPinDepth(), 2);
        const QVT_MODULEINFO* pTest = nullptr;
        const QVT_MODULEINFO* pKernel = nullptr;
        for (const QVT_MODULEINFO& record : pEnumerator->GetRecords())
        {
            if (record.hModule == hModule)
                pTest = &record;
            if (record.hModule == ::GetModuleHandleW(u"kernel32.dll"))
                pKernel = &record;
        }
        ASSERT_NE(pTest, nullptr);
        ASSERT_NE(pKernel, nullptr);
        EXPECT_EQ(pTest->nPinCount, 2u);
        EXPECT_FALSE(pTest->bUnpinned);
        // The program imports KERNEL32: listed, never pinned.
        EXPECT_EQ(pKernel->nPinCount, 0u);
        EXPECT_FALSE(pKernel->bUnpinned);
        std::vector<HMODULE> walked = ModuleListWalk(list);
        EXPECT_NE(std::find(walked.begin(), walked.end(), hModule), walked.end());

        EXPECT_TRUE(::FreeLibrary(hModule));
        EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), hModule);
        pEnumerator->Reset(TRUE);
        EXPECT_EQ(pEnumerator->GetPinDepth(), 0);
        EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);
    }

    // Pins dropped by the list's end.
    hModule = ::LoadLibraryW(u"skinhooktesta.dll");
    {
        CQVTSkinManagerModuleList list(::GetCurrentProcessId(), TRUE);
        list.Refresh(TRUE);
        ::FreeLibrary(hModule);
        EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), hModule);
    }
    EXPECT_EQ(::GetModuleHandleW(u"skinhooktesta.dll"), nullptr);
}

TEST_F(ModuleListTest, CachedAndUncachedReading)
{
    HMODULE hKernel = ::GetModuleHandleW(u"kernel32.dll");
    MODULEINFO system = {};
    typedef BOOL(WINAPI * PFNINFO)(HANDLE, HMODULE, LPMODULEINFO, DWORD);
    PFNINFO pfnInfo = reinterpret_cast<PFNINFO>(::GetProcAddress(ModuleListPsapi(), "GetModuleInformation"));
    ASSERT_TRUE(pfnInfo(::GetCurrentProcess(), hKernel, &system, sizeof(system)));

    for (ModuleListEnumerator* pEnumerator : {Psapi(FALSE), ToolHelp(FALSE)})
    {
        CQVTSkinManagerModuleList list(pEnumerator);
        EXPECT_FALSE(ModuleListWalk(list).empty());
        // Uncached: the records went with the end of the walk.
        EXPECT_TRUE(ModuleListWalk(list).empty());
        list.Refresh(FALSE);
        EXPECT_FALSE(ModuleListWalk(list).empty());

        QVT_MODULEINFO info = {};
        ASSERT_TRUE(list.GetModuleInformation(hKernel, &info));
        EXPECT_EQ(info.lpBaseOfDll, system.lpBaseOfDll);
        EXPECT_EQ(info.SizeOfImage, system.SizeOfImage);
        EXPECT_EQ(info.hModule, hKernel);
        EXPECT_EQ(info.nPinCount, 0u);
        EXPECT_FALSE(list.GetModuleInformation(reinterpret_cast<HMODULE>(0x10000), &info));
    }

    // Cached: a second walk gives the same modules without a refresh.
    CQVTSkinManagerModuleList list(Psapi(TRUE));
    std::vector<HMODULE> first = ModuleListWalk(list);
    EXPECT_EQ(ModuleListWalk(list), first);
}
