// The sender on a report folder, as the crashed process starts it: its
// texts from the language file or in English, and its delivery after a
// real click on Send.
#include "sondrel_gtest.h"

#include <stdio.h>

#include <string>
#include <vector>

#include "sender_windows.h"
#include "tests/support/real_input.h"
#include "tests/app/download/download_test_support.h"
#include "tests/support/url_catcher.h"
#include "tests/tracelog/trace_test_support.h"

using namespace tracetest;

namespace {

struct SenderRun
{
    explicit SenderRun(const char* tag) : scratch(tag)
    {
        folder = scratch.Path() + u"report 1\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        WriteBytes(folder + u"description.txt", "Exception code: c0000005\r\n");
    }

    void WriteDelivery(const std::u16string& languageFile, UINT upload, UINT mail, UINT mapi,
                       const std::u16string& uploadUrl = u"http://127.0.0.1:9/upload")
    {
        const std::u16string ini = folder + u"delivery.ini";
        WriteBytes(ini, "\xFF\xFE");
        auto put = [&](const char16_t* key, const std::u16string& value) {
            WritePrivateProfileStringW(u"Delivery", key, value.c_str(), ini.c_str());
        };
        put(u"AppName", u"CrashTest");
        put(u"MailTo", u"reports@example.test");
        put(u"Subject", u"CrashTest report");
        put(u"UploadUrl", uploadUrl);
        put(u"PrivacyUrl", u"https://privacy.example.test/redirect?id=crashprivacy");
        put(u"LanguageFile", languageFile);
        put(u"PriorityUpload", std::u16string(1, static_cast<char16_t>(u'0' + upload)));
        put(u"PriorityMail", std::u16string(1, static_cast<char16_t>(u'0' + mail)));
        put(u"PriorityMapi", std::u16string(1, static_cast<char16_t>(u'0' + mapi)));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    }

    HWND Start()
    {
        std::u16string line = u"\"" + urlcatcher::ModuleFolder() + u"CrashSender.exe.so\" \"" +
                              folder.substr(0, folder.size() - 1) + u"\"";
        std::vector<WCHAR> buffer(line.begin(), line.end());
        buffer.push_back(0);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            return nullptr;
        CloseHandle(info.hThread);
        process = info.hProcess;
        std::vector<HWND> windows = crashsender::WaitForSenders();
        return windows.size() == 1 ? windows[0] : nullptr;
    }

    // Clicks Send as a user does; the result line once it shows.
    std::u16string Send(HWND window)
    {
        SetForegroundWindow(window);
        MouseClickAt(WindowCentre(GetDlgItem(window, IDOK)));
        HWND result = GetDlgItem(window, 102);
        for (int i = 0; i < 200 && crashsender::Text(result).empty(); ++i)
            PumpMessages(50);
        return crashsender::Text(result);
    }

    ~SenderRun()
    {
        crashsender::CloseSenders(2000);
        if (process != nullptr)
        {
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }

    ScratchFolder scratch;
    std::u16string folder;
    HANDLE process = nullptr;
};

// Connections of this machine to the port that are still open at our end
// (established or waiting for our close), from the kernel's table.
int OpenConnectionsTo(int nPort)
{
    int nOpen = 0;
    FILE* pTable = fopen("/proc/net/tcp", "r");
    if (pTable == nullptr)
        return -1;
    char szLine[512];
    while (fgets(szLine, sizeof szLine, pTable) != nullptr)
    {
        unsigned nRemotePort = 0, nState = 0;
        if (sscanf(szLine, " %*d: %*x:%*x %*x:%x %x", &nRemotePort, &nState) == 2 &&
            static_cast<int>(nRemotePort) == nPort && (nState == 0x01 || nState == 0x08))
            ++nOpen;
    }
    fclose(pTable);
    return nOpen;
}

}  // namespace

TEST(CrashSender, ShowsTheLanguageFilesTextsOrEnglish)
{
    {
        SenderRun run("sender german");
        run.WriteDelivery(urlcatcher::ModuleFolder() + u"Localizations\\crashrpt_lang_DE.ini", 3, 2, 1);
        HWND window = run.Start();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Narrow(crashsender::Text(window)), "CrashTest Fehlerbericht");
        EXPECT_EQ(crashsender::Text(GetDlgItem(window, IDCANCEL)), u"Programm schlie\u00DFen");
    }
    {
        SenderRun run("sender english");
        run.WriteDelivery(urlcatcher::ModuleFolder() + u"Localizations\\crashrpt_lang_XX.ini", 3, 2, 1);
        HWND window = run.Start();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Narrow(crashsender::Text(window)), "CrashTest Error Report");
        EXPECT_EQ(Narrow(crashsender::Text(GetDlgItem(window, IDOK))), "Send report");
    }
}

// The privacy link opens the privacy page. Then upload first, to a server
// that is down, then mail: a mailto naming the report's folder reaches the
// mail program.
TEST(CrashSender, MailNamesTheReportFolder)
{
    SenderRun run("sender mail");
    std::u16string log = urlcatcher::RegisterUrlCatcher(run.scratch.Path() + u"urls.log");
    run.WriteDelivery(u"", 3, 2, 1);
    HWND window = run.Start();
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    MouseClickAt(WindowCentre(GetDlgItem(window, 101)));
    std::vector<std::string> urls = urlcatcher::WaitForCaughtUrls(log, 1);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0], "https://privacy.example.test/redirect?id=crashprivacy");
    EXPECT_EQ(Narrow(run.Send(window)), "The report was handed over by mail.");
    urls = urlcatcher::WaitForCaughtUrls(log, 2);
    ASSERT_EQ(urls.size(), 2u);
    urls.erase(urls.begin());
    std::string folder = Narrow(run.folder);
    std::string encoded;
    for (char c : folder)
        encoded += c == ' ' ? std::string("%20") : std::string(1, c);
    EXPECT_EQ(urls[0].rfind("mailto:reports@example.test?subject=CrashTest%20report&body=", 0), 0u)
        << urls[0];
    EXPECT_NE(urls[0].find(encoded), std::string::npos) << urls[0];
}

// Only the upload asked for, with its server down: the report stays, and
// the dialog says where.
TEST(CrashSender, AnUndeliveredReportStays)
{
    SenderRun run("sender upload");
    run.WriteDelivery(u"", 3, 0, 0);
    HWND window = run.Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(run.Send(window), u"The report could not be delivered. It stays in " + run.folder);
    EXPECT_EQ(ReadBytes(run.folder + u"description.txt"), "Exception code: c0000005\r\n");
}

// The upload posts every file of the report to the server in one multipart
// body.
TEST(CrashSender, TheReportIsUploadedToItsServer)
{
    downloadtest::TestServer server("payload");
    ASSERT_NE(server.Port(), 0);
    SenderRun run("sender upload to server");
    WriteBytes(run.folder + u"crashdump.dmp", "MDMP-dump");
    const std::string url = server.Url("/upload");
    run.WriteDelivery(u"", 3, 2, 0, std::u16string(url.begin(), url.end()));
    HWND window = run.Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Narrow(run.Send(window)), "The report was handed over by upload.");
    // The sender, still open, has let go of its connection.
    int nOpen = 0;
    for (int i = 0; i < 40 && (nOpen = OpenConnectionsTo(server.Port())) != 0; ++i)
        Sleep(50);
    EXPECT_EQ(nOpen, 0);
    const std::string body = ReadUnixFile(server.Folder() + "/upload-1.bin");
    EXPECT_NE(body.find("Content-Disposition: form-data"), std::string::npos) << body;
    EXPECT_NE(body.find("name=\"description.txt\""), std::string::npos) << body;
    EXPECT_NE(body.find("Exception code: c0000005\r\n"), std::string::npos) << body;
    EXPECT_NE(body.find("name=\"crashdump.dmp\""), std::string::npos) << body;
    EXPECT_NE(body.find("MDMP-dump"), std::string::npos) << body;
    EXPECT_NE(body.find("CrashTest"), std::string::npos) << body;
}
