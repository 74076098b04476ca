// The placement a resizable dialog saves when it is destroyed, read back
// from the profile by a second process.
#include "real_input.h"
#include "resize_test_ids.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/resize/QVTResizeDialog.h"

#include <string>
#include <vector>

namespace {

class CPlacementTestApp : public CWinApp
{
public:
    CPlacementTestApp() : CWinApp(_T("ControlsResizeTest")) {}
};
CPlacementTestApp theApp;

const TCHAR kRegistryKey[] = _T("Sondrel Tests");
const TCHAR kSection[] = _T("Placement");

class CPlacementDlg : public CQVTResizeDialog
{
public:
    CPlacementDlg() { m_strSection = kSection; }
};

// Runs one test of this program in a new process; its exit code.
DWORD RunSecondProcess(const char16_t* pszTest, const std::u16string& expected)
{
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    std::u16string module(szModule);
    size_t nSlash = module.find_last_of(u"\\/");
    if (nSlash != std::u16string::npos)
        module = module.substr(nSlash + 1);
    ::SetEnvironmentVariableW(u"SONDREL_EXPECTED_PLACEMENT", expected.c_str());
    std::u16string command = module + u" --gtest_also_run_disabled_tests --gtest_filter=" + pszTest;
    std::vector<WCHAR> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    DWORD dwCode = 99;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        ::WaitForSingleObject(pi.hProcess, 120000);
        ::GetExitCodeProcess(pi.hProcess, &dwCode);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::SetEnvironmentVariableW(u"SONDREL_EXPECTED_PLACEMENT", nullptr);
    return dwCode;
}

}  // namespace

TEST(ResizePlacement, SavedWhenTheDialogIsDestroyedAndReadByAnotherProcess)
{
    theApp.SetRegistryKey(kRegistryKey);
    theApp.WriteProfileBinary(kSection, _T("WindowPlacement"), nullptr, 0);

    CRect rcNormal;
    {
        CPlacementDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_RESIZABLE, nullptr));
        dlg.SetWindowPos(nullptr, 123, 77, 420, 300, SWP_NOZORDER);
        dlg.ShowWindow(SW_SHOW);
        PumpMessages(30);
        dlg.GetWindowRect(&rcNormal);
        dlg.DestroyWindow();
    }
    CString expected;
    expected.Format(_T("%d %d %d %d"), rcNormal.left, rcNormal.top, rcNormal.right, rcNormal.bottom);
    EXPECT_EQ(RunSecondProcess(u"ResizePlacement.DISABLED_ReadBack", std::u16string((LPCTSTR)expected)), 0u);

    // Without a section nothing is written.
    theApp.WriteProfileBinary(kSection, _T("WindowPlacement"), nullptr, 0);
    {
        CQVTResizeDialog dlg;
        dlg.m_lpszTemplateName = MAKEINTRESOURCE(IDD_RESIZABLE);
        ASSERT_TRUE(dlg.Create(IDD_RESIZABLE, nullptr));
        dlg.DestroyWindow();
    }
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    theApp.GetProfileBinary(kSection, _T("WindowPlacement"), &pData, &nBytes);
    EXPECT_EQ(nBytes, 0u);
    delete[] pData;
}

// The second process, started by the test above: reads what the first one saved.
TEST(ResizePlacement, DISABLED_ReadBack)
{
    WCHAR szExpected[64] = {};
    ASSERT_TRUE(::GetEnvironmentVariableW(u"SONDREL_EXPECTED_PLACEMENT", szExpected, _countof(szExpected)));
    theApp.SetRegistryKey(kRegistryKey);
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(theApp.GetProfileBinary(kSection, _T("WindowPlacement"), &pData, &nBytes));
    ASSERT_EQ(nBytes, sizeof(WINDOWPLACEMENT));
    WINDOWPLACEMENT wp;
    memcpy(&wp, pData, sizeof(wp));
    delete[] pData;
    EXPECT_EQ(wp.length, sizeof(WINDOWPLACEMENT));
    EXPECT_EQ(wp.showCmd, (UINT)SW_SHOWNORMAL);
    CString actual;
    actual.Format(_T("%d %d %d %d"), wp.rcNormalPosition.left, wp.rcNormalPosition.top,
                  wp.rcNormalPosition.right, wp.rcNormalPosition.bottom);
    EXPECT_EQ(actual, CString(szExpected));
}
