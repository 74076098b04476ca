// The Windows Media installer as a user meets it: a click on "Install WM"
// downloads the served program, runs it silently by its full path and ends
// the dialog; a partial file is continued; a file with another digest, one
// that cannot be written, one that cannot run and a missing connection each
// end in their message.
#include "sondrel_gtest.h"

#include <algorithm>
#include <string>

#include <wininet.h>

#include "app/program/SondrelApp.h"
#include "app/program/WMInstaller.h"
#include "app/program/WMInstallerResource.h"
#include "download_test_support.h"
#include "tests/app/shell/shell_test_support.h"

using namespace downloadtest;
using namespace shelltest;

namespace {

const char kServedInstaller[] = SONDREL_BUILD_DIR "/bin/download_test_data/WMFdist.exe";

// Clicks a button of the dialog once it is shown.
ModalScript::Step ClickWhenShown(CDialog& dlg, int nId)
{
    return [&dlg, nId] {
        if (dlg.m_hWnd == nullptr || !::IsWindowVisible(dlg.m_hWnd))
            return false;
        ::SetForegroundWindow(dlg.m_hWnd);
        QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, nId)));
        return true;
    };
}

// Reads the message box's text once it is up and closes it with Enter.
ModalScript::Step AnswerMessage(CString& strText)
{
    return [&strText] {
        CQVTTaskDialog* pBox = FindThreadWindow<CQVTTaskDialog>();
        if (pBox == nullptr)
            return false;
        strText = pBox->GetConfiguration().pszContent;
        ::SetForegroundWindow(pBox->m_hWnd);
        QueueKey(VK_RETURN);
        return true;
    };
}

// The progress bar's position as a share of its range.
double BarShare(HWND hBar)
{
    PBRANGE range = {};
    ::SendMessageW(hBar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    LRESULT nPosition = ::SendMessageW(hBar, PBM_GETPOS, 0, 0);
    return range.iHigh > range.iLow ? double(nPosition - range.iLow) / (range.iHigh - range.iLow) : -1;
}

// Records the progress bar's share after every change of its position.
struct BarWatch
{
    static inline WNDPROC s_pfnProc = nullptr;
    static inline std::vector<double> s_shares;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        LRESULT lResult = ::CallWindowProcW(s_pfnProc, hWnd, uMsg, wParam, lParam);
        if (uMsg == PBM_SETPOS || uMsg == PBM_DELTAPOS || uMsg == PBM_STEPIT || uMsg == PBM_SETRANGE ||
            uMsg == PBM_SETRANGE32)
            s_shares.push_back(BarShare(hWnd));
        return lResult;
    }
    // A step: watches the dialog's bar once it is shown.
    static ModalScript::Step Start(CDialog& dlg)
    {
        return [&dlg] {
            if (dlg.m_hWnd == nullptr || !::IsWindowVisible(dlg.m_hWnd))
                return false;
            s_shares.clear();
            s_pfnProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(::GetDlgItem(dlg.m_hWnd, IDC_WM_INSTALLER_PROGRESS), GWLP_WNDPROC,
                                    reinterpret_cast<LONG_PTR>(&BarWatch::Proc)));
            return true;
        };
    }
};

// What the dialog offers once its message is answered.
struct DialogLeft
{
    bool bInstallEnabled = false;
    double dBarShare = -1;
};

// Then closes the dialog by its Close button, noting whether "Install WM"
// could be clicked again and where the progress bar stands.
ModalScript::Step CloseWhenNoMessage(CDialog& dlg, DialogLeft* pLeft = nullptr)
{
    return [&dlg, pLeft] {
        if (FindThreadWindow<CQVTTaskDialog>() != nullptr || !::IsWindowEnabled(dlg.m_hWnd))
            return false;
        if (pLeft != nullptr)
        {
            pLeft->bInstallEnabled =
                ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_WM_INSTALLER_INSTALL)) != FALSE;
            pLeft->dBarShare = BarShare(::GetDlgItem(dlg.m_hWnd, IDC_WM_INSTALLER_PROGRESS));
        }
        ::SetForegroundWindow(dlg.m_hWnd);
        QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, IDCANCEL)));
        return true;
    };
}

struct InstallerRun
{
    TestServer& server;
    std::string localFile;  // the local file as Unix path
    CString strLocalPath;
    std::string log;  // the served program's log, Unix path

    explicit InstallerRun(TestServer& s) : server(s)
    {
        localFile = server.Folder() + "/WMFdist.exe";
        strLocalPath = (server.WindowsFolder() + "\\WMFdist.exe").c_str();
        log = server.Folder() + "/installer.log";
        SetEnvironmentVariableA("SONDREL_TEST_INSTALLER_LOG",
                                (server.WindowsFolder() + "\\installer.log").c_str());
    }
    ~InstallerRun() { SetEnvironmentVariableA("SONDREL_TEST_INSTALLER_LOG", nullptr); }
};

BOOL CALLBACK NoConnection(DWORD* pdwFlags)
{
    *pdwFlags = 0;
    return FALSE;
}

BOOL CALLBACK OfflineState(DWORD* pdwFlags)
{
    *pdwFlags = INTERNET_CONNECTION_OFFLINE | INTERNET_CONNECTION_LAN;
    return TRUE;
}

}  // namespace

TEST(WMInstaller, InstallRunsTheServedProgramSilentlyAndContinuesAPartialFile)
{
    CSondrelApp app;
    std::string served = ReadUnixFile(kServedInstaller);
    ASSERT_FALSE(served.empty());
    TestServer server(MakePayload(16, 9), kServedInstaller);
    InstallerRun run(server);
    std::string digest = Sha256Of(kServedInstaller);
    WriteUnixFile(run.localFile, served.substr(0, served.size() / 2));
    std::string url = server.Url("/range/installer");
    {
        CWMInstaller dlg(nullptr, CString(url.c_str()), CString(digest.c_str()), run.strLocalPath);
        ModalScript script({BarWatch::Start(dlg), ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL)});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_FALSE(script.Stalled());
    }
    // The bar fills its range.
    const std::vector<double>& shares = BarWatch::s_shares;
    ASSERT_FALSE(shares.empty());
    EXPECT_GE(*std::max_element(shares.begin(), shares.end()), 0.99);
    EXPECT_EQ(Sha256Of(run.localFile), digest);
    std::string range = "bytes=" + std::to_string(served.size() / 2) + "-";
    EXPECT_EQ(server.FileRequestRanges(), (std::vector<std::string>{"", range}));
    std::string line = ReadUnixFile(run.log);
    EXPECT_NE(line.find("WMFdist.exe"), std::string::npos) << line;
    EXPECT_NE(line.find("\\WMFdist.exe"), std::string::npos) << line;
    EXPECT_NE(line.find(" /Q:A /R:N"), std::string::npos) << line;

    // A complete file in place runs without a download; a system in the
    // offline state is asked to go online first.
    SetInternetConnectedStateQuery(&OfflineState);
    {
        CWMInstaller dlg(nullptr, CString(url.c_str()), CString(digest.c_str()), run.strLocalPath);
        ModalScript script({ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL)});
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    SetInternetConnectedStateQuery(nullptr);
    EXPECT_EQ(server.FileRequestRanges().size(), 3u);
    std::string lines = ReadUnixFile(run.log);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
}

TEST(WMInstaller, AWrongDigestAnUnwritableFileAProgramThatCannotRunAndNoConnectionEachShowTheirMessage)
{
    CSondrelApp app;
    TestServer server(MakePayload(30000, 10), kServedInstaller);
    InstallerRun run(server);
    const CString strDownloadError = _T("Error during downloading Window Media codecs.");

    // The served program under another digest: deleted, never run. The
    // bar, full once it arrived, is empty again for the next attempt.
    {
        CWMInstaller dlg(nullptr, CString(server.Url("/range/installer").c_str()),
                         CString(std::string(64, 'a').c_str()), run.strLocalPath);
        CString strText;
        DialogLeft left;
        ModalScript script({BarWatch::Start(dlg), ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL),
                            AnswerMessage(strText), CloseWhenNoMessage(dlg, &left)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(strText, strDownloadError);
        ASSERT_FALSE(BarWatch::s_shares.empty());
        EXPECT_GE(*std::max_element(BarWatch::s_shares.begin(), BarWatch::s_shares.end()), 0.99);
        EXPECT_EQ(left.dBarShare, 0.0);
        EXPECT_TRUE(left.bInstallEnabled);
    }
    EXPECT_TRUE(ReadUnixFile(run.localFile).empty());
    EXPECT_TRUE(ReadUnixFile(run.log).empty());

    // A download that cannot write its file: told, and the button is back.
    {
        CWMInstaller dlg(nullptr, CString(server.Url("/range/installer").c_str()), _T(""),
                         CString((server.WindowsFolder() + "\\missing\\WMFdist.exe").c_str()));
        CString strText;
        DialogLeft left;
        ModalScript script({ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL), AnswerMessage(strText),
                            CloseWhenNoMessage(dlg, &left)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_FALSE(script.Stalled());
        EXPECT_EQ(strText, strDownloadError);
        EXPECT_TRUE(left.bInstallEnabled);
    }

    // Bytes of the right digest that are no program: the failure is told.
    {
        CWMInstaller dlg(nullptr, CString(server.Url("/range/payload").c_str()),
                         CString(server.PayloadDigest().c_str()), run.strLocalPath);
        CString strText;
        ModalScript script(
            {ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL), AnswerMessage(strText), CloseWhenNoMessage(dlg)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(strText, strDownloadError);
    }

    // No connection: nothing is asked of the server.
    size_t nRequests = server.FileRequestRanges().size();
    SetInternetConnectedStateQuery(&NoConnection);
    {
        CWMInstaller dlg(nullptr, CString(server.Url("/range/installer").c_str()), _T(""), run.strLocalPath);
        CString strText;
        ModalScript script(
            {ClickWhenShown(dlg, IDC_WM_INSTALLER_INSTALL), AnswerMessage(strText), CloseWhenNoMessage(dlg)});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(strText, CString(_T("Check the Internet connection and try again.")));
    }
    SetInternetConnectedStateQuery(nullptr);
    EXPECT_EQ(server.FileRequestRanges().size(), nRequests);
}
