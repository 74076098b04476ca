// What the recorder's main road leaves in its logs: Sondrel started as a
// program of its own, a few seconds recorded from the ribbon, ended by the
// ribbon's Stop or by closing the window while recording (Yes to the
// question), all by real input; then the trace files of that run read back
// through tools/p7dump, and, with the trace library switched off, the plain
// text log. The traced operations of start-up, the recording job and the
// shut-down must stand in both, in the order they ran.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace {

const char16_t kLogRecordingsFolder[] = u"C:\\mainroad-log-recordings\\";
// Wine's own switch for a DLL: an empty load order turns it off for the
// programs started afterwards (the variable WINEDLLOVERRIDES, given to a
// child through CreateProcess, is not read).
const char16_t kDllOverridesKey[] = u"Software\\Wine\\DllOverrides";

// One line of the road as a reader finds it: the text, and where the trace
// says it came from (empty in the text log).
struct RoadLine
{
    std::string text;
    std::string function;
    std::string thread;
    std::string module;
    std::string level;
};

// The traced operations of one road, in the order they run: the logger
// opened, the profiles' Windows Media codecs, the recorder's devices and
// profiles, one recording, the shut-down of the application frame.
const char* const kStartupLines[] = {
    "Init Sondrel WMV: start", "Create media file: done",          "Create wm media file: done",
    "Init Sondrel WMV: done",  "OnBnClickedRefreshdevices: start", "OnChandeDevice: start",
    "OnChandeDevice: end",     "OnBnClickedRefreshdevices: end",   "OnChangeFormat: start",
    "OnChangeFormat: end",     "RefreshDescInfo: start",           "RefreshDescInfo: end",
};
const char* const kRecordingLines[] = {
    "OnStartConvert: start",
    "RefreshDescInfo: start",
    "RefreshDescInfo: end",
    "OnStartConvert: end",
};
const char* const kShutdownLines[] = {
    "destroy languages support: done",
    "destroy product mutex: done",
};

std::vector<std::string> SplitText(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    for (;;)
    {
        size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos)
            return parts;
        begin = end + 1;
    }
}

std::string ReadWholeFile(const std::u16string& path)
{
    return ReadUnixFile(UnixPath(path));
}

std::u16string AppDataFolder()
{
    WCHAR path[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(u"%APPDATA%", path, MAX_PATH);
    return std::u16string(reinterpret_cast<const char16_t*>(path)) + u"\\";
}

std::u16string LogFolder()
{
    return AppDataFolder() + u"Quorvane\\Sondrel\\Logs\\";
}

std::u16string TextLogPath()
{
    return AppDataFolder() + u"Quorvane\\Sondrel\\Sondrel.log";
}

std::vector<std::u16string> TraceFiles()
{
    std::vector<std::u16string> files;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(W(LogFolder() + u"*.p7d"), &found);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(LogFolder() + reinterpret_cast<const char16_t*>(found.cFileName));
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(files.begin(), files.end());
    return files;
}

// Runs a program of the test folder with its output into a file; its exit
// code, or -1 when it did not start or end.
int RunCaptured(const std::u16string& commandLine, std::string* pOutput)
{
    const std::u16string outputPath = u"C:\\mainroad-log-output.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out =
        ::CreateFileW(W(outputPath), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<WCHAR> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    const std::u16string folder = BinFolder();
    const BOOL bStarted = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                           W(folder), &startup, &process);
    ::CloseHandle(out);
    if (!bStarted)
        return -1;
    const bool bEnded = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    DWORD dwCode = 0;
    ::GetExitCodeProcess(process.hProcess, &dwCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    *pOutput = ReadWholeFile(outputPath);
    return bEnded ? static_cast<int>(dwCode) : -1;
}

// The dump's record lines: time, channel, thread, module, level, file:line,
// function, text; header lines ("#", "==") are skipped.
std::vector<RoadLine> DumpedLines(const std::string& dump)
{
    std::vector<RoadLine> lines;
    for (const std::string& line : SplitText(dump, '\n'))
    {
        std::vector<std::string> fields = SplitText(line, '\t');
        if (fields.size() < 8)
            continue;
        RoadLine road;
        road.thread = fields[2];
        road.module = fields[3];
        road.level = fields[4];
        road.function = fields[6];
        for (size_t i = 7; i < fields.size(); ++i)
            road.text += (i > 7 ? "\t" : "") + fields[i];
        lines.push_back(road);
    }
    return lines;
}

// Where each expected text stands, searched in order from `from`; npos for
// a text not found after the one before it.
std::vector<size_t> FindInOrder(const std::vector<RoadLine>& lines, size_t from, const char* const* expected,
                                size_t count)
{
    std::vector<size_t> places;
    size_t at = from;
    for (size_t i = 0; i < count; ++i)
    {
        while (at < lines.size() && lines[at].text != expected[i])
            ++at;
        places.push_back(at < lines.size() ? at : std::string::npos);
        if (at < lines.size())
            ++at;
    }
    return places;
}

size_t CountText(const std::vector<RoadLine>& lines, const std::string& text)
{
    return std::count_if(lines.begin(), lines.end(), [&](const RoadLine& line) { return line.text == text; });
}

std::string Listing(const std::vector<RoadLine>& lines)
{
    std::string out;
    for (const RoadLine& line : lines)
        out += "  " + line.function + " | " + line.text + "\n";
    return out;
}

// Checks that each expected text was found after the one before it.
void ExpectFound(const std::vector<size_t>& places, const char* const* expected,
                 const std::vector<RoadLine>& lines)
{
    for (size_t i = 0; i < places.size(); ++i)
        EXPECT_NE(std::string::npos, places[i]) << expected[i] << " missing or out of order\n"
                                                << Listing(lines);
}

// Checks the road's lines stand in order after the logger's own first line;
// the place of "OnStartConvert: start".
void ExpectRoadInOrder(const std::vector<RoadLine>& lines, const std::string& firstLine)
{
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(firstLine, lines.front().text) << Listing(lines);
    const size_t nStartup = sizeof kStartupLines / sizeof kStartupLines[0];
    std::vector<size_t> startup = FindInOrder(lines, 1, kStartupLines, nStartup);
    ExpectFound(startup, kStartupLines, lines);
    if (startup.back() == std::string::npos)
        return;

    // One recording: its start and end, and only the refresh of the
    // description between them.
    const size_t nRecording = sizeof kRecordingLines / sizeof kRecordingLines[0];
    std::vector<size_t> recording = FindInOrder(lines, startup.back() + 1, kRecordingLines, nRecording);
    ExpectFound(recording, kRecordingLines, lines);
    EXPECT_EQ(1u, CountText(lines, "OnStartConvert: start")) << Listing(lines);
    EXPECT_EQ(1u, CountText(lines, "OnStartConvert: end")) << Listing(lines);
    if (recording.back() == std::string::npos)
        return;

    const size_t nShutdown = sizeof kShutdownLines / sizeof kShutdownLines[0];
    std::vector<size_t> shutdown = FindInOrder(lines, recording.back() + 1, kShutdownLines, nShutdown);
    ExpectFound(shutdown, kShutdownLines, lines);
    // A window closed by the user is no abnormal end.
    for (const RoadLine& line : lines)
        EXPECT_EQ(std::string::npos, line.text.find("Process is terminated")) << line.text;
}

}  // namespace

class MainRoadLog : public ::testing::Test
{
public:
    static void SetUpTestSuite() { ResetProgramSettings(kLogRecordingsFolder); }

protected:
    // Starts Sondrel, records a few seconds from the ribbon's Record and
    // ends: by the ribbon's Stop and then a close, or by closing the window
    // while it records, answering Yes. The program has ended when this
    // returns.
    enum class RecordingEnd
    {
        StopThenClose,
        CloseWhileRecording
    };
    void RecordAndEnd(RecordingEnd end)
    {
        SondrelProcess program;
        ASSERT_TRUE(program.Start());
        HWND hMain = ShowMainWindow(program);
        ASSERT_NE(nullptr, hMain);
        HWND hList = ChildById(hMain, kFileList);
        ASSERT_NE(nullptr, hList);
        const size_t nRowsBefore = ListRows(hList, 5).size();

        CPoint ptRecord;
        ASSERT_TRUE(FindRibbonIcon(hMain, kRecordDot, &ptRecord));
        ClickAt(ptRecord);
        ASSERT_TRUE(WaitUntil(
            [&] {
                auto rows = ListRows(hList, 5);
                return rows.size() > nRowsBefore && rows.back()[4] == u"Recording";
            },
            10000));
        Wait(3000);

        if (end == RecordingEnd::StopThenClose)
        {
            CPoint ptStop;
            ASSERT_TRUE(FindRibbonIcon(hMain, kStopSquare, &ptStop));
            ClickAt(ptStop);
            CPoint ptNow;
            ASSERT_TRUE(WaitUntil([&] { return FindRibbonIcon(hMain, kRecordDot, &ptNow); }, 15000));
            Wait(500);
            AltF4(hMain);
            ASSERT_TRUE(program.WaitForExit(30000));
            return;
        }
        AltF4(hMain);
        HWND hQuestion = WaitForWindow(program.Id(), u"Confirmation", 10000);
        ASSERT_NE(nullptr, hQuestion);
        Wait(300);
        HWND hYes = ChildById(hQuestion, IDYES);
        ASSERT_NE(nullptr, hYes);
        ClickChild(hYes);
        ASSERT_TRUE(program.WaitForExit(30000));
    }
};

TEST_F(MainRoadLog, TheRunsTraceFilesHoldTheRoadLinesInOrder)
{
    const std::vector<std::u16string> before = TraceFiles();
    RecordAndEnd(RecordingEnd::StopThenClose);
    if (HasFatalFailure())
        return;

    std::vector<std::u16string> files;
    for (const std::u16string& file : TraceFiles())
        if (std::find(before.begin(), before.end(), file) == before.end())
            files.push_back(file);
    ASSERT_FALSE(files.empty()) << "no trace file of this run in " << Narrow(LogFolder());

    std::u16string command = u"p7dump.exe";
    for (const std::u16string& file : files)
        command += u" \"" + file + u"\"";
    std::string dump;
    // Every file of a run that ended normally reads cleanly to its end.
    EXPECT_EQ(0, RunCaptured(command, &dump)) << dump;
    std::vector<RoadLine> lines = DumpedLines(dump);
    ExpectRoadInOrder(lines, "Init P7 logging system: done");

    // A job ended by Stop traces nothing of its own between its start and
    // end but the description's refresh.
    auto start = std::find_if(lines.begin(), lines.end(),
                              [](const RoadLine& line) { return line.text == "OnStartConvert: start"; });
    ASSERT_GT(lines.end() - start, 3) << Listing(lines);
    EXPECT_EQ("RefreshDescInfo: start", start[1].text) << Listing(lines);
    EXPECT_EQ("RefreshDescInfo: end", start[2].text) << Listing(lines);
    EXPECT_EQ("OnStartConvert: end", start[3].text) << Listing(lines);

    // Each line names the function that wrote it, on the channel's main
    // thread and the program's module, at the information level.
    for (const RoadLine& line : lines)
    {
        if (line.text.rfind("OnStartConvert: ", 0) == 0)
        {
            EXPECT_EQ("CSondrelDlg::OnStartConvert", line.function);
        }
        if (line.text.rfind("Init Sondrel WMV: ", 0) == 0)
        {
            EXPECT_EQ("CSondrelProfileManager::LoadWMV", line.function);
        }
        EXPECT_EQ("Main", line.thread) << line.text;
        EXPECT_EQ("App", line.module) << line.text;
        EXPECT_EQ("INFO", line.level) << line.text;
    }
    EXPECT_EQ("CApplicationBase::InitP7Log", lines.front().function);
}

TEST_F(MainRoadLog, WithoutTheTraceLibraryTheTextLogHoldsTheRoadLines)
{
    // An earlier run's text log: each start begins the file anew.
    ::CreateDirectoryW(W(AppDataFolder() + u"Quorvane"), nullptr);
    ::CreateDirectoryW(W(AppDataFolder() + u"Quorvane\\Sondrel"), nullptr);
    FILE* pOld = fopen(UnixPath(TextLogPath()).c_str(), "wb");
    ASSERT_NE(nullptr, pOld);
    fputs("(01/01/26 00:00:00): a line of an earlier run\r\n", pOld);
    fclose(pOld);

    // The trace library switched off for the program, as if it were absent.
    const std::vector<std::u16string> before = TraceFiles();
    HKEY hOverrides = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, W(kDllOverridesKey), 0, nullptr, 0,
                                               KEY_WRITE, nullptr, &hOverrides, nullptr));
    ::RegSetValueExW(hOverrides, u"P7x64", 0, REG_SZ, reinterpret_cast<const BYTE*>(u""), sizeof(char16_t));
    RecordAndEnd(RecordingEnd::CloseWhileRecording);
    ::RegDeleteValueW(hOverrides, u"P7x64");
    ::RegCloseKey(hOverrides);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(before, TraceFiles()) << "the trace library wrote although it was switched off";

    // Each line: "(MM/DD/YY HH:MM:SS): " and the text, ended by CR LF.
    const std::string text = ReadWholeFile(TextLogPath());
    ASSERT_FALSE(text.empty());
    std::vector<RoadLine> lines;
    std::vector<std::string> raw = SplitText(text, '\n');
    EXPECT_TRUE(raw.back().empty()) << "the last line is not ended";
    raw.pop_back();
    for (const std::string& line : raw)
    {
        ASSERT_GT(line.size(), 21u) << line;
        EXPECT_EQ('\r', line.back()) << line;
        int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
        char close = 0, colon = 0;
        EXPECT_EQ(8, sscanf(line.c_str(), "(%2d/%2d/%2d %2d:%2d:%2d%c%c", &month, &day, &year, &hour, &minute,
                            &second, &close, &colon))
            << line;
        EXPECT_EQ(')', close) << line;
        EXPECT_EQ(':', colon) << line;
        EXPECT_EQ(' ', line[20]) << line;
        RoadLine road;
        road.text = line.substr(21, line.size() - 22);
        lines.push_back(road);
    }
    ExpectRoadInOrder(lines, "Init logging system: done");
}
