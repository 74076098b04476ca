#include "sondrel_gtest.h"

#include <algorithm>
#include <map>

#include "tests/tracelog/trace_test_support.h"
#include "tracelog/P7Trace.h"

using namespace tracetest;

namespace {

// The library as the program binds it: by name, at run time.
struct P7Library
{
    P7Library()
    {
        module = LoadLibraryW(reinterpret_cast<LPCWSTR>(P7_LIBRARY_NAME));
        if (!module)
            return;
        setCrashHandler = Bind<P7_Set_Crash_Handler_Proc>("P7_Set_Crash_Handler");
        clrCrashHandler = Bind<P7_Clr_Crash_Handler_Proc>("P7_Clr_Crash_Handler");
        exceptionalFlush = Bind<P7_Exceptional_Flush_Proc>("P7_Exceptional_Flush");
        createClient = Bind<P7_Create_Client_Proc>("P7_Create_Client");
        createTrace = Bind<P7_Create_Trace_Proc>("P7_Create_Trace");
        dumpFile = Bind<P7_Dump_File_Proc>("P7_Dump_File");
    }
    ~P7Library()
    {
        if (module)
            FreeLibrary(module);
    }
    template <class T>
    T Bind(const char* name)
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    HMODULE module = nullptr;
    P7_Set_Crash_Handler_Proc setCrashHandler = nullptr;
    P7_Clr_Crash_Handler_Proc clrCrashHandler = nullptr;
    P7_Exceptional_Flush_Proc exceptionalFlush = nullptr;
    P7_Create_Client_Proc createClient = nullptr;
    P7_Create_Trace_Proc createTrace = nullptr;
    P7_Dump_File_Proc dumpFile = nullptr;
};

BOOL __cdecl Collect(void* context, const WCHAR* line)
{
    static_cast<std::vector<std::string>*>(context)->push_back(
        Narrow(reinterpret_cast<const char16_t*>(line)));
    return TRUE;
}

std::vector<std::string> DumpLines(P7Library& p7, const std::u16string& path, LONG expected = P7_DUMP_OK)
{
    std::vector<std::string> lines;
    EXPECT_EQ(p7.dumpFile(W(path), &Collect, &lines), expected) << Narrow(path);
    return lines;
}

// Text lines only (not the "#" registrations), as "<thread>\t<text>".
std::vector<std::string> TextLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines)
    {
        if (line.empty() || line[0] == '#')
            continue;
        // time, channel, thread, module, level, place, function, text
        size_t p = 0;
        std::vector<std::string> fields;
        for (int i = 0; i < 7; ++i)
        {
            size_t tab = line.find('\t', p);
            fields.push_back(line.substr(p, tab - p));
            p = tab + 1;
        }
        out.push_back(fields[2] + "\t" + line.substr(p));
    }
    return out;
}

constexpr int kPerThread = 400;

std::u16string ProgramOptions(const std::u16string& folder)
{
    return u"/P7.Dir=" + folder + u" " + u"P7.On=0 /P7.Sink=FileBin /P7.Pool=32768 /P7.Files=5 /P7.Roll=50mb";
}

}  // namespace

TEST(TraceLibrary, ExportsWhatTheProgramBinds)
{
    P7Library p7;
    ASSERT_NE(p7.module, nullptr);
    EXPECT_NE(p7.setCrashHandler, nullptr);
    EXPECT_NE(p7.clrCrashHandler, nullptr);
    EXPECT_NE(p7.exceptionalFlush, nullptr);
    EXPECT_NE(p7.createClient, nullptr);
    EXPECT_NE(p7.createTrace, nullptr);
    EXPECT_NE(p7.dumpFile, nullptr);
}

TEST(TraceLibrary, ProgramSequenceWritesLinesThatReadBack)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 program");
    // The log folder does not exist yet and has spaces in its path.
    std::u16string folder = scratch.Path() + u"Quorvane\\Sondrel\\Logs\\";

    IP7Client* client = p7.createClient(W(ProgramOptions(folder)));
    ASSERT_NE(client, nullptr);
    IP7Trace* trace = p7.createTrace(client, W(u"Core"), nullptr);
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(trace->RegisterThread(W(u"Main"), 0));
    P7ModuleHandle module = nullptr;
    EXPECT_TRUE(trace->RegisterModule(W(u"App"), &module));
    EXPECT_NE(module, nullptr);
    P7ModuleHandle again = nullptr;
    EXPECT_TRUE(trace->RegisterModule(W(u"App"), &again));
    EXPECT_EQ(again, module);

    EXPECT_TRUE(trace->Trace(0, P7_LEVEL_INFO, module, 42, "src/common/Logging.cpp",
                             "CApplicationBase::InitP7Log", W(u"Init P7 logging system: done")));
    EXPECT_TRUE(trace->Trace(0, P7_LEVEL_INFO, module, 261, "app.cpp", "CSondrelApp::InitInstance",
                             W(u"Process is terminated=%i (%s, %S, %I64d)"), 1, u"w\x00e9", "n",
                             -9000000000LL));
    EXPECT_TRUE(trace->Trace(0, P7_LEVEL_ERROR, nullptr, 7, nullptr, nullptr, W(u"no place")));

    EXPECT_EQ(trace->Release(), 0);
    EXPECT_EQ(client->Release(), 0);

    std::vector<std::u16string> files = FilesIn(folder);
    ASSERT_EQ(files.size(), 1u);
    std::vector<std::string> lines = DumpLines(p7, files[0]);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_NE(lines[0].find("# trace file"), std::string::npos);
    const std::string& last = lines.back();
    EXPECT_NE(last.find("\tCore\t"), std::string::npos);
    EXPECT_NE(last.find("\tERROR\t:7\t\tno place"), std::string::npos);
    const std::string& init = lines[lines.size() - 3];
    EXPECT_NE(init.find("\tCore\tMain\tApp\tINFO\tsrc/common/Logging.cpp:42\tCApplicationBase::InitP7Log\t"
                        "Init P7 logging system: done"),
              std::string::npos)
        << init;
    EXPECT_NE(lines[lines.size() - 2].find("Process is terminated=1 (w?, n, -9000000000)"), std::string::npos)
        << lines[lines.size() - 2];
}

TEST(TraceLibrary, RollsAtSizeAndKeepsAtMostNFiles)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 roll");

    // Three files of an earlier run, oldest first, one of them not ours.
    const char16_t* old[] = {u"Sondrel_old_1.p7d", u"Sondrel_old_2.p7d", u"Other.p7d"};
    for (int i = 0; i < 3; ++i)
    {
        std::u16string path = scratch.Path() + old[i];
        WriteBytes(path, "old");
        HANDLE h = CreateFileW(W(path), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        FILETIME ft = {static_cast<DWORD>(i * 1000), 0x01D00000};
        SetFileTime(h, nullptr, nullptr, &ft);
        CloseHandle(h);
    }
    WriteBytes(scratch.Path() + u"notes.txt", "not a trace file");

    IP7Client* client =
        p7.createClient(W(u"/P7.Dir=\"" + scratch.Path() + u"\" /P7.Roll=4kb /P7.Files=3 /P7.Pool=4096"));
    ASSERT_NE(client, nullptr);
    // Room was made for the new file at once: the oldest file went.
    EXPECT_EQ(scratch.Files().size(), 3u);
    EXPECT_EQ(GetFileAttributesW(W(scratch.Path() + old[0])), INVALID_FILE_ATTRIBUTES);

    IP7Trace* trace = p7.createTrace(client, W(u"Core"), nullptr);
    ASSERT_NE(trace, nullptr);
    trace->RegisterThread(W(u"Main"), 0);
    P7ModuleHandle module = nullptr;
    trace->RegisterModule(W(u"App"), &module);
    const int count = 400;
    for (int i = 0; i < count; ++i)
        trace->Trace(0, P7_LEVEL_INFO, module, 1, "roll.cpp", "Roll", W(u"line %04d with some padding text"),
                     i);
    trace->Release();
    client->Release();

    std::vector<std::u16string> files = scratch.Files();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(ReadBytes(scratch.Path() + u"notes.txt"), "not a trace file");

    // Each kept file reads on its own, stays near the roll size and names its
    // thread and module; together they hold the newest lines without a gap.
    std::vector<int> numbers;
    for (const std::u16string& file : files)
    {
        EXPECT_LE(ReadBytes(file).size(), 4096u + 200u);
        for (const std::string& line : TextLines(DumpLines(p7, file)))
        {
            ASSERT_EQ(line.compare(0, 10, "Main\tline "), 0) << line;
            numbers.push_back(std::stoi(line.substr(10, 4)));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.back(), count - 1);
    for (size_t i = 1; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], numbers[i - 1] + 1);
    EXPECT_GT(numbers.size(), 40u);
}

TEST(TraceLibrary, ConcurrentThreadsLoseNothing)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 threads");
    IP7Client* client =
        p7.createClient(W(u"/P7.Dir=" + scratch.Path() + u" /P7.Pool=8192 /P7.Roll=64kb /P7.Files=100"));
    ASSERT_NE(client, nullptr);
    IP7Trace* trace = p7.createTrace(client, W(u"Core"), nullptr);
    ASSERT_NE(trace, nullptr);

    // Win32 threads: Wine's API needs threads it has made.
    struct Worker
    {
        IP7Trace* trace;
        int index;
        static DWORD WINAPI Run(void* param)
        {
            Worker* w = static_cast<Worker*>(param);
            char16_t name[16] = u"Worker ";
            name[7] = static_cast<char16_t>(u'A' + w->index);
            w->trace->RegisterThread(W(name), 0);
            P7ModuleHandle module = nullptr;
            w->trace->RegisterModule(W(u"Pool"), &module);
            for (int i = 0; i < kPerThread; ++i)
                w->trace->Trace(0, P7_LEVEL_DEBUG, module, static_cast<WORD>(i), "t.cpp", "Work", W(u"%c %d"),
                                u'A' + w->index, i);
            w->trace->UnregisterThread(0);
            return 0;
        }
    };
    const int threads = 8;
    Worker workers[threads];
    HANDLE handles[threads];
    for (int t = 0; t < threads; ++t)
    {
        workers[t] = {trace, t};
        handles[t] = CreateThread(nullptr, 0, &Worker::Run, &workers[t], 0, nullptr);
        ASSERT_NE(handles[t], nullptr);
    }
    WaitForMultipleObjects(threads, handles, TRUE, INFINITE);
    for (HANDLE h : handles)
        CloseHandle(h);
    const int perThread = kPerThread;
    trace->Release();
    client->Release();

    std::map<std::string, std::vector<int>> seen;
    std::vector<std::u16string> files = scratch.Files();
    EXPECT_GT(files.size(), 1u);
    for (const std::u16string& file : files)
        for (const std::string& line : TextLines(DumpLines(p7, file)))
        {
            size_t tab = line.find('\t');
            std::string thread = line.substr(0, tab);
            std::string text = line.substr(tab + 1);
            ASSERT_EQ(thread, std::string("Worker ") + text[0]) << line;
            seen[thread].push_back(std::stoi(text.substr(2)));
        }
    ASSERT_EQ(seen.size(), static_cast<size_t>(threads));
    for (auto& entry : seen)
    {
        std::sort(entry.second.begin(), entry.second.end());
        ASSERT_EQ(entry.second.size(), static_cast<size_t>(perThread)) << entry.first;
        for (int i = 0; i < perThread; ++i)
            EXPECT_EQ(entry.second[i], i);
    }
}

TEST(TraceLibrary, BufferedLinesReachTheFileWithoutClosing)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 flush");
    IP7Client* client = p7.createClient(W(u"/P7.Dir=" + scratch.Path()));
    ASSERT_NE(client, nullptr);
    IP7Trace* trace = p7.createTrace(client, W(u"Core"), nullptr);
    ASSERT_NE(trace, nullptr);
    std::vector<std::u16string> files = scratch.Files();
    ASSERT_EQ(files.size(), 1u);

    auto contains = [&](const char* text) {
        for (const std::string& line : DumpLines(p7, files[0]))
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    };
    trace->Trace(0, P7_LEVEL_INFO, nullptr, 1, "f.cpp", "F", W(u"explicit flush"));
    EXPECT_TRUE(trace->Flush());
    EXPECT_TRUE(contains("explicit flush"));

    trace->Trace(0, P7_LEVEL_INFO, nullptr, 2, "f.cpp", "F", W(u"crash flush"));
    p7.exceptionalFlush();
    EXPECT_TRUE(contains("crash flush"));

    // An idle program's last line is written within about a second.
    trace->Trace(0, P7_LEVEL_INFO, nullptr, 3, "f.cpp", "F", W(u"idle line"));
    bool found = false;
    for (int i = 0; i < 40 && !found; ++i)
    {
        Sleep(100);
        found = contains("idle line");
    }
    EXPECT_TRUE(found);

    trace->Release();
    client->Release();
}

TEST(TraceLibrary, RefusesWhatItCannotServe)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 refuse");
    EXPECT_EQ(p7.createClient(W(u"/P7.Dir=" + scratch.Path() + u" /P7.Sink=Network")), nullptr);
    EXPECT_EQ(p7.createTrace(nullptr, W(u"Core"), nullptr), nullptr);

    // A folder under a plain file cannot be made.
    WriteBytes(scratch.Path() + u"blocker", "x");
    EXPECT_EQ(p7.createClient(W(u"/P7.Dir=" + scratch.Path() + u"blocker\\logs\\")), nullptr);
    EXPECT_TRUE(scratch.Files().empty());

    // Null names and a null module pointer are survivable.
    IP7Client* client = p7.createClient(W(u"/P7.Dir=" + scratch.Path()));
    ASSERT_NE(client, nullptr);
    IP7Trace* trace = p7.createTrace(client, nullptr, nullptr);
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(trace->RegisterThread(nullptr, 0));
    EXPECT_TRUE(trace->RegisterModule(nullptr, nullptr));
    EXPECT_TRUE(trace->Trace(0, P7_LEVEL_INFO, nullptr, 0, nullptr, nullptr, nullptr));
    // The channel keeps its client alive after the creator lets go.
    EXPECT_EQ(client->Release(), 1);
    EXPECT_TRUE(trace->Trace(0, P7_LEVEL_INFO, nullptr, 0, "a", "b", W(u"after client release")));
    EXPECT_EQ(trace->Release(), 0);
    std::vector<std::string> lines = DumpLines(p7, scratch.Files()[0]);
    EXPECT_NE(lines.back().find("after client release"), std::string::npos);
}

namespace {
LONG WINAPI EarlierFilter(EXCEPTION_POINTERS*)
{
    return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

TEST(TraceLibrary, CrashHandlerChainsAndUninstalls)
{
    P7Library p7;
    ASSERT_NE(p7.setCrashHandler, nullptr);
    LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(&EarlierFilter);
    p7.setCrashHandler();
    p7.setCrashHandler();
    LPTOP_LEVEL_EXCEPTION_FILTER installed = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(installed);
    EXPECT_NE(installed, &EarlierFilter);
    p7.clrCrashHandler();
    EXPECT_EQ(SetUnhandledExceptionFilter(before), &EarlierFilter);
    p7.clrCrashHandler();
}

TEST(TraceLibrary, DumpToolPrintsAFile)
{
    P7Library p7;
    ASSERT_NE(p7.createClient, nullptr);
    ScratchFolder scratch("p7 tool");
    IP7Client* client = p7.createClient(W(u"/P7.Dir=" + scratch.Path()));
    ASSERT_NE(client, nullptr);
    IP7Trace* trace = p7.createTrace(client, W(u"Core"), nullptr);
    trace->Trace(0, P7_LEVEL_WARNING, nullptr, 5, "tool.cpp", "Tool", W(u"seen by the tool"));
    trace->Release();
    client->Release();
    std::u16string file = scratch.Files()[0];

    std::u16string output = scratch.Path() + u"out.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(W(output), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::u16string command = u"p7dump.exe \"" + file + u"\"";
    std::vector<WCHAR> line(command.begin(), command.end());
    line.push_back(0);
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(out);
    EXPECT_EQ(code, 0u);
    std::string text = ReadBytes(output);
    EXPECT_NE(text.find("\tWARNING\ttool.cpp:5\tTool\tseen by the tool\n"), std::string::npos) << text;

    // A cut file: reported with its own exit code.
    std::string bytes = ReadBytes(file);
    WriteBytes(file, bytes.substr(0, bytes.size() - 3));
    std::vector<std::string> lines = DumpLines(p7, file, P7_DUMP_TRUNCATED);
    EXPECT_NE(lines.back().find("# error: truncated record"), std::string::npos);
}
