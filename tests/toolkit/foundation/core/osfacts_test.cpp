#include "sondrel_gtest.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTRichEditClass.h"
#include "toolkit/foundation/core/QVTToolHelpApi.h"

#include <tchar.h>

namespace {
// A system DLL nothing else in the test program loads.
const WCHAR* const kSpareDll = _T("t2embed.dll");

DWORD RealMajorVersion()
{
    typedef LONG(WINAPI * PFN)(OSVERSIONINFOW*);
    auto pfn = reinterpret_cast<PFN>(::GetProcAddress(::GetModuleHandleW(_T("ntdll.dll")), "RtlGetVersion"));
    OSVERSIONINFOEXW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    pfn(reinterpret_cast<OSVERSIONINFOW*>(&osvi));
    return osvi.dwMajorVersion;
}
}  // namespace

TEST(ModuleHandle, AttachedModuleIsNeverFreedAndLoadedOneIsFreedOnce)
{
    ASSERT_EQ(nullptr, ::GetModuleHandleW(kSpareDll)) << "the spare DLL must not be loaded yet";
    HMODULE hOurs = ::LoadLibraryW(kSpareDll);
    ASSERT_NE(nullptr, hOurs);
    {
        CQVTModuleHandle module;
        ASSERT_TRUE(module.GetModuleHandle(kSpareDll));
        EXPECT_EQ(CQVTModuleHandle::modeAttached, module.GetMode());
        EXPECT_EQ(hOurs, module.GetHandle());
        // Same name in another case: kept as it is.
        EXPECT_TRUE(module.GetModuleHandle(_T("T2EMBED.DLL")));
        EXPECT_EQ(CQVTModuleHandle::modeAttached, module.GetMode());

        // Asked to load what it only attached: lets go without freeing, then
        // takes a reference of its own.
        ASSERT_TRUE(module.LoadLibrary(kSpareDll));
        EXPECT_EQ(CQVTModuleHandle::modeLoaded, module.GetMode());
        EXPECT_TRUE(module.LoadLibrary(kSpareDll));
    }
    // The holder freed its one reference; ours keeps the module mapped.
    EXPECT_EQ(hOurs, ::GetModuleHandleW(kSpareDll));
    {
        CQVTModuleHandle module(kSpareDll);
        EXPECT_EQ(CQVTModuleHandle::modeAttached, module.GetMode());
        EXPECT_TRUE(module.FreeLibrary());
        EXPECT_EQ(nullptr, module.GetHandle());
    }
    EXPECT_EQ(hOurs, ::GetModuleHandleW(kSpareDll));
    ::FreeLibrary(hOurs);
    EXPECT_EQ(nullptr, ::GetModuleHandleW(kSpareDll)) << "a holder freed a module it did not load";

    CQVTModuleHandle missing;
    EXPECT_FALSE(missing.Load(_T("no-such-module-here.dll")));
    EXPECT_EQ(CQVTModuleHandle::modeNone, missing.GetMode());
}

TEST(ModuleHandle, MissingFunctionsAndVersionGates)
{
    CQVTModuleHandle none;
    FARPROC pfn = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(none.GetProcAddress(&pfn, "GetVersion"));
    EXPECT_EQ(nullptr, pfn);

    CQVTModuleHandle comctl(_T("comctl32.dll"));
    ASSERT_NE(nullptr, comctl.GetHandle());
    pfn = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl.GetProcAddress(&pfn, "QVTNoSuchExport"));
    EXPECT_EQ(nullptr, pfn);

    const DWORD dwVersion = comctl.GetDllVersion();
    ASSERT_NE(0u, dwVersion);
    EXPECT_EQ(dwVersion, CQVTModuleHandle::GetComCtlVersion());
    EXPECT_EQ(dwVersion, GetComCtlVersion());

    EXPECT_TRUE(comctl.GetProcAddress(&pfn, "InitCommonControlsEx", dwVersion));
    EXPECT_NE(nullptr, pfn);
    // One minor version more than there is: refused, however real the name.
    pfn = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl.GetProcAddress(&pfn, "InitCommonControlsEx", dwVersion + 1));
    EXPECT_EQ(nullptr, pfn);
    pfn = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(comctl.GetProcAddress(&pfn, "InitCommonControlsEx", MAKELONG(0, HIWORD(dwVersion) + 1)));
    EXPECT_EQ(nullptr, pfn);
    // The major part decides before the minor one.
    EXPECT_TRUE(comctl.GetProcAddress(&pfn, "InitCommonControlsEx", MAKELONG(0xFFFF, HIWORD(dwVersion) - 1)));
    EXPECT_NE(nullptr, pfn);

    // A module without DllGetVersion is below any minimum.
    CQVTModuleHandle kernel(_T("kernel32.dll"));
    EXPECT_EQ(0u, kernel.GetDllVersion());
    EXPECT_TRUE(kernel.GetProcAddress(&pfn, "GetVersion"));
    EXPECT_FALSE(kernel.GetProcAddress(&pfn, "GetVersion", MAKELONG(0, 1)));
    EXPECT_EQ(nullptr, pfn);

    // A version read from one module is not kept for the next one.
    ASSERT_TRUE(kernel.Load(_T("comctl32.dll")));
    EXPECT_EQ(dwVersion, kernel.GetDllVersion());
}

TEST(OSVersion, FallbackRuleComparesPlatformThenMajorThenMinor)
{
    OSVERSIONINFOW xp = {sizeof(OSVERSIONINFOW), 5, 1, 2600, VER_PLATFORM_WIN32_NT, {0}};
    OSVERSIONINFOW me = {sizeof(OSVERSIONINFOW), 4, 90, 3000, VER_PLATFORM_WIN32_WINDOWS, {0}};
    OSVERSIONINFOW win10 = {sizeof(OSVERSIONINFOW), 10, 0, 19045, VER_PLATFORM_WIN32_NT, {0}};
    const int eq = CQVTOSVersion::opEqual, ge = CQVTOSVersion::opGreaterEqual;

    EXPECT_TRUE(CQVTOSVersion::CompareVersion(xp, eq, 5, 1, 2));
    EXPECT_FALSE(CQVTOSVersion::CompareVersion(xp, eq, 5, 0, 2));
    EXPECT_FALSE(CQVTOSVersion::CompareVersion(xp, eq, 5, 1, 1));
    EXPECT_TRUE(CQVTOSVersion::CompareVersion(xp, ge, 5, 0, 2));
    EXPECT_TRUE(CQVTOSVersion::CompareVersion(xp, ge, 4, 90, 2)) << "a higher major beats a lower minor";
    EXPECT_FALSE(CQVTOSVersion::CompareVersion(xp, ge, 6, 0, 2));
    EXPECT_FALSE(CQVTOSVersion::CompareVersion(xp, ge, 5, 2, 2));
    EXPECT_TRUE(CQVTOSVersion::CompareVersion(me, eq, 4, 90, 1));
    EXPECT_FALSE(CQVTOSVersion::CompareVersion(me, ge, 4, 0, 2)) << "9x is below any NT";
    EXPECT_TRUE(CQVTOSVersion::CompareVersion(win10, ge, 6, 3, 2));
    EXPECT_TRUE(CQVTOSVersion::CompareVersion(win10, ge, 4, 0, 1));
}

TEST(OSVersion, CachedTestsAgreeWithTheKernelVersion)
{
    CQVTOSVersion* pVersion = QVTOSVersion();
    ASSERT_NE(nullptr, pVersion);
    EXPECT_EQ(pVersion, QVTOSVersion());
    EXPECT_TRUE(pVersion->HasVerifyVersionInfo());
    EXPECT_TRUE(pVersion->HasRtlGetVersion());

    const DWORD dwMajor = RealMajorVersion();
    EXPECT_EQ(dwMajor >= 10, !!pVersion->IsWin10OrGreater());
    // Windows 10 counts as 8.1 or later whatever the 6.3 test says.
    if (pVersion->IsWin10OrGreater())
    {
        EXPECT_TRUE(pVersion->IsWin81OrGreater());
    }

    EXPECT_FALSE(pVersion->IsWin9x());
    EXPECT_FALSE(pVersion->IsWin95());
    EXPECT_TRUE(pVersion->IsWinNT4OrGreater());
    EXPECT_TRUE(pVersion->IsWin2000OrGreater());
    EXPECT_TRUE(pVersion->IsWinXPOrGreater());
    EXPECT_EQ(1, pVersion->IsWinXPOrGreaterFlag());
    if (dwMajor >= 6)
    {
        EXPECT_TRUE(pVersion->IsWinVistaOrGreater());
        EXPECT_FALSE(pVersion->IsWinXP());
    }
    // Each later system implies the earlier ones.
    if (pVersion->IsWin8OrGreater())
    {
        EXPECT_TRUE(pVersion->IsWin7OrGreater());
    }
    if (pVersion->IsWin7OrGreater())
    {
        EXPECT_TRUE(pVersion->IsWinVistaOrGreater());
    }

    // Asking again answers the same.
    EXPECT_EQ(pVersion->IsWin10OrGreater(), pVersion->IsWin10OrGreater());
    EXPECT_EQ(pVersion->IsWin8OrGreater(),
              pVersion->VerifyVersion(CQVTOSVersion::opGreaterEqual, 6, 2, CQVTOSVersion::platformNT));
}

TEST(MultiMonitor, AreasFallBackToThePrimaryScreen)
{
    CQVTMultiMonitor* pMonitors = QVTMultiMonitor();
    ASSERT_TRUE(pMonitors->HasMultiMonitorApi());

    const CRect rcScreen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect rcWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);

    EXPECT_EQ(rcScreen, pMonitors->GetScreenArea(nullptr));
    EXPECT_EQ(rcWork, pMonitors->GetWorkArea(nullptr));

    const POINT ptFar = {-100000, -100000};
    EXPECT_EQ(rcWork, pMonitors->GetWorkAreaFromPoint(ptFar));
    EXPECT_EQ(rcScreen, pMonitors->GetScreenAreaFromPoint(ptFar));
    const RECT rcFar = {50000, 50000, 50010, 50010};
    EXPECT_EQ(rcWork, pMonitors->GetWorkAreaFromRect(&rcFar));
    EXPECT_EQ(rcWork, pMonitors->GetWorkAreaFromWnd(nullptr));

    const POINT ptOrigin = {10, 10};
    EXPECT_EQ(rcScreen, pMonitors->GetScreenAreaFromPoint(ptOrigin));
    EXPECT_TRUE(rcScreen.PtInRect(pMonitors->GetWorkAreaAtCursor().TopLeft()));

    HWND hWnd = ::CreateWindowExW(0, _T("STATIC"), _T("monitor"), WS_POPUP | WS_VISIBLE, 20, 20, 100, 80,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(rcWork, pMonitors->GetWorkAreaFromHwnd(hWnd));
    EXPECT_EQ(rcScreen, pMonitors->GetScreenAreaFromHwnd(hWnd));
    DEVMODEW dm = {};
    dm.dmSize = sizeof(DEVMODEW);
    ASSERT_TRUE(pMonitors->GetMonitorDisplaySettings(hWnd, &dm));
    EXPECT_EQ(DWORD(rcScreen.Width()), dm.dmPelsWidth);
    EXPECT_EQ(DWORD(rcScreen.Height()), dm.dmPelsHeight);
    ::DestroyWindow(hWnd);
    EXPECT_FALSE(pMonitors->GetMonitorDisplaySettings(nullptr, &dm));
}

TEST(ToolHelp, ListsTheModulesOfThisProcess)
{
    CQVTToolHelpApi* pToolHelp = QVTToolHelpApi();
    ASSERT_TRUE(pToolHelp->m_bValid);
    HANDLE hSnapshot = pToolHelp->CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ::GetCurrentProcessId());
    ASSERT_NE(INVALID_HANDLE_VALUE, hSnapshot);
    ASSERT_NE(nullptr, hSnapshot);

    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool bFoundKernel = false;
    int nModules = 0;
    for (BOOL bMore = pToolHelp->Module32First(hSnapshot, &entry); bMore;
         bMore = pToolHelp->Module32Next(hSnapshot, &entry))
    {
        ++nModules;
        if (entry.hModule == ::GetModuleHandleW(_T("kernel32.dll")))
            bFoundKernel = true;
    }
    ::CloseHandle(hSnapshot);
    EXPECT_GT(nModules, 2);
    EXPECT_TRUE(bFoundKernel);
}

TEST(RichEdit, FindsTheNewestRegisteredClass)
{
    static const WCHAR* const names[QVT_RICHEDIT_ROWS] = {
        _T("RichEdit10W"), _T("RichEdit20W"), _T("RichEdit30W"), _T("RichEdit31W"), _T("RichEdit40W"),
        _T("RichEdit41W"), _T("RichEdit50W"), _T("RichEdit60W"), _T("RichEdit70W")};

    int nIndex = 5;
    WNDCLASSW wc = {};
    ASSERT_TRUE(FindRichEditClass(qvtRichEditAnyRow, nIndex, &wc));
    ASSERT_GE(nIndex, 0);
    ASSERT_LT(nIndex, QVT_RICHEDIT_ROWS);
    WNDCLASSW probe;
    EXPECT_TRUE(::GetClassInfoW(nullptr, names[nIndex], &probe));
    for (int nRow = nIndex + 1; nRow < QVT_RICHEDIT_ROWS; ++nRow)
        EXPECT_FALSE(::GetClassInfoW(nullptr, names[nRow], &probe)) << "row " << nRow << " is newer";
    // The class comes with its DLL as the instance.
    const WCHAR* dll = nIndex == 0   ? _T("riched32.dll")
                       : nIndex <= 4 ? _T("riched20.dll")
                                     : _T("msftedit.dll");
    EXPECT_EQ(::GetModuleHandleW(dll), wc.hInstance);
    EXPECT_NE(nullptr, wc.lpfnWndProc);

    // Only the given row; the index is left alone when it fails.
    const int nFound = nIndex;
    int nRow = nFound;
    EXPECT_TRUE(FindRichEditClass(qvtRichEditThisRow, nRow, nullptr));
    EXPECT_EQ(nFound, nRow);
    if (nFound + 1 < QVT_RICHEDIT_ROWS)
    {
        nRow = nFound + 1;
        EXPECT_FALSE(FindRichEditClass(qvtRichEditThisRow, nRow, nullptr));
        EXPECT_EQ(nFound + 1, nRow);
        EXPECT_FALSE(FindRichEditClass(qvtRichEditDownToRow, nRow, nullptr));
    }
    nRow = 0;
    EXPECT_TRUE(FindRichEditClass(qvtRichEditDownToRow, nRow, nullptr));
    EXPECT_EQ(nFound, nRow);

    // Indexes outside the table are refused.
    nRow = QVT_RICHEDIT_ROWS;
    EXPECT_FALSE(FindRichEditClass(qvtRichEditThisRow, nRow, nullptr));
    nRow = -1;
    EXPECT_FALSE(FindRichEditClass(qvtRichEditDownToRow, nRow, nullptr));
}

TEST(NonClientMetrics, ReadInTheCompatibleSize)
{
    CQVTNonClientMetrics metrics;
    ASSERT_TRUE(metrics.IsValid());
    EXPECT_EQ(500u, metrics.cbSize);
    EXPECT_NE(0, metrics.lfMessageFont.lfFaceName[0]);
    EXPECT_NE(0, metrics.lfMenuFont.lfHeight);
    EXPECT_GT(metrics.iCaptionHeight, 0);
    EXPECT_EQ(0, metrics.iPaddedBorderWidth) << "written beyond the size asked for";
}
