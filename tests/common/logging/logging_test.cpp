#include "sondrel_gtest.h"

#include <regex>

#include "tests/tracelog/trace_test_support.h"
#include "common/ApplicationBase.h"
#include "win_thread.h"

using namespace tracetest;

namespace {

constexpr char16_t kProgramOptionTail[] =
    u"P7.On=0 /P7.Sink=FileBin /P7.Pool=32768 /P7.Files=5 /P7.Roll=50mb";

std::u16string AppData()
{
    WCHAR path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return std::u16string(reinterpret_cast<const char16_t*>(path)) + u"\\";
}

// A relative folder under the application-data folder, removed afterwards.
class AppDataFolder
{
public:
    AppDataFolder()
    {
        static int counter = 0;
        char name[64];
        snprintf(name, sizeof(name), "Logging %lu %d", static_cast<unsigned long>(GetCurrentProcessId()),
                 ++counter);
        // Cyrillic and Chinese together: no ANSI code page holds both, so a
        // log opened through a narrow path would miss the folder.
        relative_ = u"Sondrel Tests\\\u0416\u0443\u0440\u043d\u0430\u043b \u65e5\u8a8c " + Wide(name);
    }
    ~AppDataFolder() { ScratchFolder::Remove(Full()); }
    const std::u16string& Relative() const { return relative_; }
    std::u16string Full() const { return AppData() + relative_ + u"\\"; }

private:
    std::u16string relative_;
};

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t p = 0;
    while (p < text.size())
    {
        size_t e = text.find("\r\n", p);
        if (e == std::string::npos)
        {
            lines.push_back(text.substr(p) + "<no CRLF>");
            break;
        }
        lines.push_back(text.substr(p, e - p));
        p = e + 2;
    }
    return lines;
}

BOOL __cdecl Collect(void* context, const WCHAR* line)
{
    static_cast<std::vector<std::string>*>(context)->push_back(
        Narrow(reinterpret_cast<const char16_t*>(line)));
    return TRUE;
}

// Every dumped line of the trace files in a folder.
std::vector<std::string> DumpFolder(const std::u16string& folder)
{
    std::vector<std::string> lines;
    HMODULE p7 = LoadLibraryW(reinterpret_cast<LPCWSTR>(P7_LIBRARY_NAME));
    EXPECT_NE(p7, nullptr);
    if (!p7)
        return lines;
    auto dump =
        reinterpret_cast<P7_Dump_File_Proc>(reinterpret_cast<void*>(GetProcAddress(p7, "P7_Dump_File")));
    for (const std::u16string& file : FilesIn(folder))
        EXPECT_EQ(dump(W(file), &Collect, &lines), P7_DUMP_OK);
    FreeLibrary(p7);
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& needle)
{
    for (const std::string& line : lines)
        if (line.find(needle) != std::string::npos)
            return true;
    return false;
}

// "(MM/DD/YY HH:MM:SS): message" -> message; false when the prefix is wrong.
// (No std::regex here: it recurses per character and long lines overflow the stack.)
bool SplitPrefix(const std::string& line, std::string& message)
{
    const char* shape = "(99/99/99 99:99:99): ";
    size_t n = strlen(shape);
    if (line.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
    {
        if (shape[i] == '9' ? !isdigit(static_cast<unsigned char>(line[i])) : line[i] != shape[i])
            return false;
    }
    message = line.substr(n);
    return true;
}

// The application base owns the loggers; each test makes its own.
class LogOwner : public CApplicationBase
{
public:
    explicit LogOwner(LPCTSTR pszAppName = _T("Sondrel"))
        : CApplicationBase(_T("Sondrel logging test"), pszAppName)
    {
    }
};

}  // namespace

TEST(Logging, TraceChannelCarriesTheProgramsLines)
{
    ScratchFolder scratch("logging trace");
    std::u16string folder = scratch.Path() + u"Logs\\";
    {
        LogOwner logs;
        ASSERT_TRUE(logs.InitP7Log(W(u"/P7.Dir=" + folder + u" " + kProgramOptionTail), FALSE));
        EXPECT_NE(logs.GetTraceChannel(), nullptr);
        EXPECT_NE(logs.GetTraceClient(), nullptr);
        EXPECT_EQ(logs.GetFileLog(), nullptr);

        CString file(_T("C:\\Music\\Record-001.mp3"));
        {
            APP_LOG_SCOPE(_T("OnStartConvert"));
            APP_LOG(_T("Open %s: %i"), file, 7);
            APP_LOG_RESULT(_T("Create media file"), false);
            APP_LOG_RESULT(_T("Create media file"), true);
        }
        AppTrace(261, __FILE__, "CSondrelApp::InitInstance", _T("Process is terminated=%i"), 0);
        logs.WriteLogInto(_T("100%s sure, %d%%"));
        logs.CloseLogs();
        EXPECT_EQ(logs.GetLoggerModule(), nullptr);
        // Nothing left to write to: no line, no failure.
        APP_LOG(_T("after close"));
        logs.WriteLogInto(_T("after close"));
    }

    std::vector<std::string> lines = DumpFolder(folder);
    EXPECT_TRUE(HasLine(lines, "\tCore\tMain\tApp\tINFO\t"));
    EXPECT_TRUE(HasLine(lines, "\tCApplicationBase::InitP7Log\tInit P7 logging system: done"));
    EXPECT_TRUE(HasLine(
        lines, "\tLogging_TraceChannelCarriesTheProgramsLines_Test::TestBody\tOnStartConvert: start"));
    EXPECT_TRUE(HasLine(lines, "Open C:\\Music\\Record-001.mp3: 7"));
    EXPECT_TRUE(HasLine(lines, "\tCreate media file: fail"));
    EXPECT_TRUE(HasLine(lines, "\tCreate media file: done"));
    EXPECT_TRUE(HasLine(lines, "\tOnStartConvert: end"));
    EXPECT_TRUE(HasLine(lines, ":261\tCSondrelApp::InitInstance\tProcess is terminated=0"));
    EXPECT_TRUE(HasLine(lines, ":593\tCApplicationBase::WriteLogInto\t100%s sure, %d%%"));
    EXPECT_FALSE(HasLine(lines, "after close"));
}

TEST(Logging, TextLogWhenTheLibraryIsMissing)
{
    AppDataFolder folder;
    std::u16string path = folder.Full() + u"Sondrel.log";
    {
        LogOwner logs;
        logs.SetTraceLibraryName(_T("NoSuchTraceLibrary.dll"));
        EXPECT_FALSE(logs.InitP7Log(W(u"/P7.Dir=C:\\x\\ " + std::u16string(kProgramOptionTail)), FALSE));
        EXPECT_EQ(logs.GetTraceChannel(), nullptr);
        EXPECT_EQ(logs.GetLoggerModule(), nullptr);
        ASSERT_TRUE(logs.InitFileLog(W(folder.Relative())));
        ASSERT_NE(logs.GetFileLog(), nullptr);
        EXPECT_TRUE(logs.GetFileLog()->IsOpen());
        EXPECT_TRUE(logs.GetFileLog()->GetPath() == W(path));

        // The file is this run's alone: no one else may write to it meanwhile.
        HANDLE other = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE);
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);

        APP_LOG_SCOPE(_T("RefreshDescInfo"));
        APP_LOG(_T("Process is terminated=%i, %s"), 1, CString(_T("caf\x00e9")));
        logs.WriteLogInto(_T("literal %s %n %d"));
        std::u16string longText(LOG_MESSAGE_BUFFER + 500, u'x');
        APP_LOG(_T("%s"), W(longText));
    }

    std::string bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0);  // no byte-order mark
    std::vector<std::string> lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 8u);
    std::vector<std::string> messages;
    for (const std::string& line : lines)
    {
        std::string message;
        ASSERT_TRUE(SplitPrefix(line, message)) << line.substr(0, 80);
        messages.push_back(message);
    }
    EXPECT_EQ(messages[0], "Init logging system: done");
    EXPECT_EQ(messages[1], "RefreshDescInfo: start");
    EXPECT_EQ(messages[2], "Process is terminated=1, caf\xC3\xA9");
    EXPECT_EQ(messages[3], "literal %s %n %d");
    EXPECT_EQ(messages[4], std::string(LOG_MESSAGE_BUFFER - 1, 'x'));
    EXPECT_EQ(messages[5], "RefreshDescInfo: end");
    // The application base's last words, before its loggers go.
    EXPECT_EQ(messages[6], "destroy languages support: done");
    EXPECT_EQ(messages[7], "destroy product mutex: done");

    // Each start begins a new, empty file.
    {
        LogOwner logs;
        ASSERT_TRUE(logs.InitFileLog(W(folder.Relative())));
    }
    lines = SplitLines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("): Init logging system: done"), std::string::npos);
}

TEST(Logging, TextLogWithoutFolderHasNoFile)
{
    LogOwner logs;
    EXPECT_TRUE(logs.InitFileLog(nullptr));
    ASSERT_NE(logs.GetFileLog(), nullptr);
    EXPECT_FALSE(logs.GetFileLog()->IsOpen());
    APP_LOG(_T("dropped"));
    logs.WriteLogInto(_T("dropped"));
}

TEST(Logging, FileLogFlagsAndMask)
{
    ScratchFolder scratch("logging flags");
    std::u16string path = scratch.Path() + u"flags.log";
    {
        CFileLog log(W(path));
        ASSERT_TRUE(log.IsOpen());
        FileLogPrintf(&log, 0x1, _T("plain %d"), 1);  // no prefix, not flushed yet
        EXPECT_EQ(ReadBytes(path), "");
        log.Flush();
        EXPECT_EQ(ReadBytes(path), "plain 1\r\n");
        log.SetMask(0x2);
        FileLogPrintf(&log, 0x1, _T("masked out"));
        FileLogPrintfA(&log, 0x2 | LOG_FLAG_FLUSH, "narrow %s %S", "a", u"w");
        EXPECT_EQ(ReadBytes(path), "plain 1\r\nnarrow a w\r\n");
        FileLogPrintf(nullptr, -1, _T("no log"));
    }
    // An unopenable path leaves a log without a file.
    CFileLog bad(W(scratch.Path() + u"no such folder\\x.log"));
    EXPECT_FALSE(bad.IsOpen());
    FileLogPrintf(&bad, -1, _T("dropped"));
}

TEST(Logging, ThreadsWriteWholeLinesToEitherLogger)
{
    const int threads = 6, perThread = 300;
    auto hammer = [&] {
        std::vector<WinThread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([t] {
                for (int i = 0; i < perThread; ++i)
                    APP_LOG(_T("worker %d line %d %s"), t, i, _T("with some text to make the line longer"));
            });
    };

    AppDataFolder folder;
    {
        LogOwner logs(_T("Threads"));
        logs.InitFileLog(W(folder.Relative()));
        hammer();
    }
    std::vector<std::string> lines = SplitLines(ReadBytes(folder.Full() + u"Threads.log"));
    ASSERT_EQ(lines.size(), static_cast<size_t>(threads * perThread + 3));
    std::regex whole(R"(worker \d line \d+ with some text to make the line longer)");
    for (size_t i = 1; i + 2 < lines.size(); ++i)
    {
        std::string message;
        ASSERT_TRUE(SplitPrefix(lines[i], message)) << lines[i];
        ASSERT_TRUE(std::regex_match(message, whole)) << lines[i];
    }

    ScratchFolder scratch("logging threads");
    {
        LogOwner logs;
        ASSERT_TRUE(logs.InitP7Log(W(u"/P7.Dir=" + scratch.Path()), FALSE));
        hammer();
    }
    int traced = 0;
    for (const std::string& l : DumpFolder(scratch.Path()))
        if (l.find("with some text to make the line longer") != std::string::npos)
            ++traced;
    EXPECT_EQ(traced, threads * perThread);
}

TEST(Logging, ClosingWhileOthersWriteIsSafe)
{
    ScratchFolder scratch("logging close");
    LogOwner logs;
    ASSERT_TRUE(logs.InitP7Log(W(u"/P7.Dir=" + scratch.Path()), TRUE));
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::vector<WinThread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&stop, &written] {
            while (!stop)
            {
                APP_LOG(_T("busy"));
                ++written;
            }
        });
    // Lines written before the flush, however slowly the writers start.
    while (written.load() < 4)
        Sleep(1);
    logs.ExceptionalFlush();
    logs.CloseLogs();  // as the crash callback does, from another thread
    Sleep(20);
    stop = true;
    writers.clear();
    EXPECT_EQ(logs.GetTraceChannel(), nullptr);
    EXPECT_TRUE(HasLine(DumpFolder(scratch.Path()), "\tbusy"));
}

TEST(Logging, FunctionNamesAsTheProgramShowsThem)
{
    char buffer[64];
    EXPECT_STREQ(TraceFunctionName("virtual BOOL CSondrelApp::InitInstance()", buffer, sizeof(buffer)),
                 "CSondrelApp::InitInstance");
    EXPECT_STREQ(TraceFunctionName("void CSondrelDlg::OnStartConvert(int, const CString&) const", buffer,
                                   sizeof(buffer)),
                 "CSondrelDlg::OnStartConvert");
    EXPECT_STREQ(TraceFunctionName("std::vector<int> ns::Box<A, B>::Get(Map<K, V>) [with T = int]", buffer,
                                   sizeof(buffer)),
                 "ns::Box<A, B>::Get");
    EXPECT_STREQ(TraceFunctionName("int main()", buffer, sizeof(buffer)), "main");
    EXPECT_STREQ(TraceFunctionName("CApplicationBase::WriteLogInto", buffer, sizeof(buffer)),
                 "CApplicationBase::WriteLogInto");
    EXPECT_STREQ(TraceFunctionName(nullptr, buffer, sizeof(buffer)), "");
    char tiny[5];
    EXPECT_STREQ(TraceFunctionName("void Averylongname()", tiny, sizeof(tiny)), "Aver");
}
