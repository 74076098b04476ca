// The file downloader against the local server: what arrives equals the
// payload, a resume appends only a range that continues the file, stalls,
// web pages, cut connections and bad addresses end as their results, and a
// stop frees the file at once.
#include "sondrel_gtest.h"

#include <string>
#include <vector>

#include "app/program/FileDownloader.h"
#include "download_test_support.h"
#include "tests/support/child_process.h"

using namespace downloadtest;

namespace {

const size_t kPayloadSize = 200000;
const LONG kPartSize = 40000;

// Receives the downloader's posted progress.
class ProgressWindow
{
public:
    ProgressWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ProgressWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = u"SondrelDownloadProgressTest";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowExW(0, wc.lpszClassName, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
        s_values.clear();
    }
    ~ProgressWindow() { DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }
    const std::vector<LPARAM>& Values() const { return s_values; }

    // Pumps until the worker has ended and its last message arrived.
    void WaitForEnd(CFileDownloader& downloader) const
    {
        DWORD dwStart = GetTickCount();
        while (GetTickCount() - dwStart < 60000)
        {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            if (!downloader.IsRunning() && PeekMessageW(&msg, m_hWnd, 0, 0, PM_NOREMOVE) == FALSE)
                return;
            Sleep(20);
        }
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_DOWNLOAD_PROGRESS)
        {
            s_values.push_back(lParam);
            return 0;
        }
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    static inline std::vector<LPARAM> s_values;
    HWND m_hWnd = nullptr;
};

struct Download
{
    int nResult;
    std::vector<LPARAM> progress;
};

CString WindowsPath(const TestServer& server, const char* pszName)
{
    return CString((server.WindowsFolder() + "\\" + pszName).c_str());
}

// Downloads a server path into "local.bin" of the server's folder, resuming
// what lies there.
Download RunDownload(const TestServer& server, const std::string& path, BOOL bResume = TRUE)
{
    CFileDownloader downloader;
    downloader.m_strUrl = server.Url(path).c_str();
    downloader.m_strLocalPath = WindowsPath(server, "local.bin");
    EXPECT_TRUE(downloader.QueryRemoteSize(downloader.m_strUrl)) << path;
    ProgressWindow window;
    downloader.Start(window.Handle(), bResume);
    window.WaitForEnd(downloader);
    downloader.Stop();
    return {downloader.GetResult(), window.Values()};
}

// Without a window to tell the end: waits for the worker itself.
void RunToEnd(CFileDownloader& downloader)
{
    downloader.Start(nullptr, FALSE);
    for (int i = 0; i < 3000 && downloader.IsRunning(); ++i)
        Sleep(20);
    downloader.Stop();
}

std::string LocalFile(const TestServer& server)
{
    return server.Folder() + "/local.bin";
}

// A stall the server holds (its "hold" mode) until the test lets it go on.
struct StallRelease
{
    std::string folder;  // the server's
    bool bRelease;       // at the client's first look during the stall
    bool bReleased = false;
};
StallRelease* volatile g_pStallRelease = nullptr;

// Stands for the system's connection state, which the downloader asks
// after each pause of its stall wait: on the first question once bytes came
// (the size query asks before any), the server goes on, and the answer waits
// until its next bytes are on the way.
BOOL CALLBACK LookDuringStall(DWORD* pdwFlags)
{
    *pdwFlags = INTERNET_CONNECTION_LAN;
    StallRelease* pRelease = g_pStallRelease;
    if (pRelease == nullptr || !pRelease->bRelease || pRelease->bReleased ||
        ReadUnixFile(pRelease->folder + "/local.bin").empty())
        return TRUE;
    pRelease->bReleased = true;
    WriteUnixFile(pRelease->folder + "/release", "");
    for (int i = 0; i < 3000 && access((pRelease->folder + "/resumed").c_str(), F_OK) != 0; ++i)
        Sleep(20);
    return TRUE;
}

}  // namespace

TEST(FileDownloader, TheFileArrivesWholeOverTheAddressesOwnPortWithProgressThenTheEndMessages)
{
    TestServer server(MakePayload(kPayloadSize, 1));
    ASSERT_NE(server.Port(), 0);
    Download download = RunDownload(server, "/range/payload?x=1", FALSE);
    EXPECT_EQ(download.nResult, DOWNLOAD_COMPLETE);
    EXPECT_EQ(Sha256Of(LocalFile(server)), server.PayloadDigest());
    ASSERT_GE(download.progress.size(), 3u);
    size_t n = download.progress.size();
    EXPECT_EQ(download.progress[n - 2], DOWNLOAD_PROGRESS_LOOP_ENDED);
    EXPECT_EQ(download.progress[n - 1], DOWNLOAD_PROGRESS_FINISHED);
    EXPECT_EQ(download.progress[n - 3], 10000);
    for (size_t i = 1; i + 2 < n; ++i)
        EXPECT_LT(download.progress[i - 1], download.progress[i]);
    // The query went with the path, and no range was asked for.
    EXPECT_EQ(server.FileRequestRanges(), (std::vector<std::string>{"", ""}));
}

TEST(FileDownloader, AResumeAppendsOnlyARangeThatContinuesTheFile)
{
    std::string payload = MakePayload(kPayloadSize, 2);
    // Bytes of their own before the resume point: a resumed file keeps them,
    // one downloaded anew holds the payload from its start.
    std::string partial = MakePayload(kPartSize, 3);
    // A range in bytes or in units of 2, 4 or 8 bytes that starts where the
    // file ends is continued. The stock server ignores the range; others
    // answer one that is short, lies past the file, is missing or has no
    // start: each restarts from 0 over what was there.
    const struct
    {
        const char* pszPath;
        bool bContinues;
    } rows[] = {
        {"/range/payload", true},   {"/word/payload", true},     {"/dword/payload", true},
        {"/qword/payload", true},   {"/stock/payload", false},   {"/wronglength/payload", false},
        {"/beyond/payload", false}, {"/norange/payload", false}, {"/nostart/payload", false},
    };
    for (const auto& row : rows)
    {
        TestServer server(payload);
        WriteUnixFile(LocalFile(server), partial);
        Download download = RunDownload(server, row.pszPath);
        EXPECT_EQ(download.nResult, DOWNLOAD_COMPLETE) << row.pszPath;
        // Progress counts the part kept: a resume starts at its share.
        ASSERT_FALSE(download.progress.empty()) << row.pszPath;
        EXPECT_EQ(download.progress.front() >= kPartSize * 10000 / static_cast<LONG>(kPayloadSize),
                  row.bContinues)
            << row.pszPath;
        std::string expected = row.bContinues ? partial + payload.substr(kPartSize) : payload;
        EXPECT_TRUE(ReadUnixFile(LocalFile(server)) == expected) << row.pszPath;
        std::vector<std::string> ranges = {"", "bytes=40000-"};
        if (!row.bContinues)
            ranges.push_back("");
        EXPECT_EQ(server.FileRequestRanges(), ranges) << row.pszPath;
    }
}

TEST(FileDownloader, AShortStallIsBridgedAndALongOneEndsAsCutShort)
{
    std::string payload = MakePayload(kPayloadSize, 4);
    SetInternetConnectedStateQuery(&LookDuringStall);
    // The server holds the rest until the client looks again during its
    // stall wait: then it goes on, and the download completes.
    {
        TestServer server(payload);
        StallRelease release{server.Folder(), true};
        g_pStallRelease = &release;
        EXPECT_EQ(RunDownload(server, "/hold/payload").nResult, DOWNLOAD_COMPLETE);
        g_pStallRelease = nullptr;
        EXPECT_EQ(Sha256Of(LocalFile(server)), server.PayloadDigest());
    }
    // Held until the client gives up: cut short, what arrived kept.
    {
        TestServer server(payload);
        StallRelease release{server.Folder(), false};
        g_pStallRelease = &release;
        EXPECT_EQ(RunDownload(server, "/hold/payload").nResult, DOWNLOAD_LENGTH_MISMATCH);
        g_pStallRelease = nullptr;
        EXPECT_TRUE(ReadUnixFile(LocalFile(server)) == payload.substr(0, kPayloadSize / 2));
    }
    SetInternetConnectedStateQuery(nullptr);
}

TEST(FileDownloader, WebPagesCutConnectionsAndBadAddressesEndInTheirFailures)
{
    std::string payload = MakePayload(kPayloadSize, 5);
    TestServer server(payload);
    EXPECT_EQ(RunDownload(server, "/html/payload").nResult, DOWNLOAD_WEB_PAGE);
    EXPECT_EQ(GetFileAttributesA((server.WindowsFolder() + "\\local.bin").c_str()), INVALID_FILE_ATTRIBUTES);

    int nResult = RunDownload(server, "/earlyclose/payload").nResult;
    EXPECT_TRUE(nResult == DOWNLOAD_LENGTH_MISMATCH || nResult == DOWNLOAD_CONNECTION_LOST) << nResult;

    CFileDownloader downloader;
    downloader.m_strLocalPath = WindowsPath(server, "bad.bin");
    const std::string badUrls[] = {
        "http://" + std::string(300, 'h') + "/payload",
        "http://127.0.0.1:99999/range/payload",
        "http://127.0.0.1:80x/range/payload",
        server.Url("/" + std::string(3000, 'p')),
    };
    for (const std::string& url : badUrls)
    {
        downloader.m_strUrl = url.c_str();
        EXPECT_FALSE(downloader.QueryRemoteSize(downloader.m_strUrl)) << url.size();
        RunToEnd(downloader);
        EXPECT_EQ(downloader.GetResult(), DOWNLOAD_BAD_URL) << url.size();
    }
    // Nothing listens on the port of a server that has ended.
    int nClosedPort = 0;
    {
        TestServer gone(payload);
        nClosedPort = gone.Port();
    }
    downloader.m_strUrl = ("http://127.0.0.1:" + std::to_string(nClosedPort) + "/range/payload").c_str();
    EXPECT_FALSE(downloader.QueryRemoteSize(downloader.m_strUrl));
    RunToEnd(downloader);
    EXPECT_EQ(downloader.GetResult(), DOWNLOAD_NO_CONNECTION);
}

TEST(FileDownloader, ErrorAnswersAndUnwritableFilesFailLeavingThePartialFileAndStillPostTheEnd)
{
    std::string payload = MakePayload(kPayloadSize, 7);
    std::string partial = MakePayload(kPartSize, 8);
    struct Case
    {
        const char* pszPath;
        BOOL bResume;
        const char* pszLocal;  // in the server's folder; "missing" is no folder
        int nResult;
    };
    const Case cases[] = {
        {"/status404/payload", FALSE, "local.bin", DOWNLOAD_NO_CONNECTION},
        {"/status500/payload", TRUE, "local.bin", DOWNLOAD_NO_CONNECTION},
        {"/range/payload", FALSE, "missing\\local.bin", DOWNLOAD_FILE_ERROR},
    };
    for (const Case& c : cases)
    {
        TestServer server(payload);
        WriteUnixFile(LocalFile(server), partial);
        CFileDownloader downloader;
        downloader.m_strUrl = server.Url(c.pszPath).c_str();
        // An error page's length is no file size.
        EXPECT_EQ(downloader.QueryRemoteSize(downloader.m_strUrl) != FALSE, c.nResult == DOWNLOAD_FILE_ERROR)
            << c.pszPath;
        downloader.m_strUrl = server.Url("/range/payload").c_str();
        ASSERT_TRUE(downloader.QueryRemoteSize(downloader.m_strUrl));
        downloader.m_strUrl = server.Url(c.pszPath).c_str();
        downloader.m_strLocalPath = WindowsPath(server, c.pszLocal);
        ProgressWindow window;
        downloader.Start(window.Handle(), c.bResume);
        window.WaitForEnd(downloader);
        downloader.Stop();
        EXPECT_EQ(downloader.GetResult(), c.nResult) << c.pszPath;
        EXPECT_FALSE(downloader.Succeeded()) << c.pszPath;
        ASSERT_FALSE(window.Values().empty()) << c.pszPath;
        EXPECT_EQ(window.Values().back(), DOWNLOAD_PROGRESS_FINISHED) << c.pszPath;
        EXPECT_TRUE(ReadUnixFile(LocalFile(server)) == partial) << c.pszPath;
    }
}

TEST(FileDownloader, StopInAStallEndsTheWorkerByItselfAndFreesTheFile)
{
    TestServer server(MakePayload(kPayloadSize, 6));
    CFileDownloader downloader;
    downloader.m_strUrl = server.Url("/stall30000/payload").c_str();
    downloader.m_strLocalPath = WindowsPath(server, "local.bin");
    ASSERT_TRUE(downloader.QueryRemoteSize(downloader.m_strUrl));
    ProgressWindow window;
    downloader.Start(window.Handle(), FALSE);
    DWORD dwStart = GetTickCount();
    while (downloader.GetReceived() < static_cast<LONG>(kPayloadSize / 2) && GetTickCount() - dwStart < 20000)
        Sleep(20);
    ASSERT_EQ(downloader.GetReceived(), static_cast<LONG>(kPayloadSize / 2));
    Sleep(300);  // well into the stall
    DWORD dwStop = GetTickCount();
    downloader.Stop();
    DWORD dwStopTime = GetTickCount() - dwStop;
    RecordProperty("StopMilliseconds", static_cast<int>(dwStopTime));
    printf("Stop in a stall returned after %u ms\n", dwStopTime);
    // A worker that had to be terminated leaves no result.
    EXPECT_NE(downloader.GetResult(), DOWNLOAD_RUNNING);
    EXPECT_EQ(RunTestInChildProcess(u"DownloadChild.DeletesTheFile", u"SONDREL_DOWNLOAD_DELETE",
                                    std::u16string(downloader.m_strLocalPath.GetString())),
              0u);
    EXPECT_EQ(GetFileAttributes(downloader.m_strLocalPath), INVALID_FILE_ATTRIBUTES);
}

// Run by the test above in a second process.
TEST(DownloadChild, DeletesTheFile)
{
    std::u16string path = ChildProcessValue(u"SONDREL_DOWNLOAD_DELETE");
    if (path.empty())
        GTEST_SKIP() << "run by StopInAStallEndsTheWorkerByItselfAndFreesTheFile";
    EXPECT_TRUE(DeleteFileW(path.c_str())) << GetLastError();
}
