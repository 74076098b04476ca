// The program itself, started as a user starts it in a prefix where it has
// never run: its folders, settings, start counter and log, its main window
// in the chosen language, and a normal close.
#include "sondrel_gtest.h"

#include <dirent.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "program_test_support.h"
#include "run_command.h"
#include "tests/support/command_output.h"
#include "tracelog/P7Trace.h"

using namespace commontest;
using namespace tracetest;

namespace {

struct ProgramRunResult
{
    bool ended = false;
    std::u16string caption;            // of the program's main window
    int clientWidth = 0;               // of its main window: the template's width
    std::set<std::string> buildFiles;  // of the build tree, mapped while the window showed
};

// The files of the build tree that the program's process of this session's
// prefix maps (its code and its libraries' code), but for the prefix's own.
std::set<std::string> BuildFilesMapped()
{
    std::set<std::string> files;
    const std::string build = SONDREL_BUILD_DIR "/";
    const std::string prefix = std::string("WINEPREFIX=") + getenv("WINEPREFIX") + '\0';
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr)
    {
        const std::string folder = std::string("/proc/") + entry->d_name;
        const std::string maps = ReadUnixFile(folder + "/maps");
        if (maps.find("/Sondrel.exe.so\n") == std::string::npos ||
            ReadUnixFile(folder + "/environ").find(prefix) == std::string::npos)
            continue;
        for (size_t at = maps.find(build); at != std::string::npos; at = maps.find(build, at + 1))
        {
            const std::string file = maps.substr(at, maps.find('\n', at) - at);
            if (file.find("/sessions/") == std::string::npos)
                files.insert(file);
        }
    }
    if (proc)
        closedir(proc);
    return files;
}

struct WindowSearch
{
    DWORD process;
    HWND found;     // the first visible window of the process
    bool closeAll;  // every visible window of the process is asked to close
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window))
        return TRUE;
    if (search->closeAll)
    {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// Waits for the started program's main window, reads its caption and
// closes it as the user would.
ProgramRunResult WatchProgram(PROCESS_INFORMATION process)
{
    ProgramRunResult run;
    WindowSearch search = {process.dwProcessId, nullptr, false};
    for (int i = 0; i < 600 && !search.found; ++i)
    {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found)
    {
        WCHAR caption[256] = {};
        GetWindowTextW(search.found, caption, 256);
        run.caption = reinterpret_cast<const char16_t*>(caption);
        RECT client = {};
        GetClientRect(search.found, &client);
        run.clientWidth = client.right - client.left;
        run.buildFiles = BuildFilesMapped();
    }
    // The main window, and the about box of the first starts when it shows,
    // are closed as the user would close them.
    WindowSearch closing = {process.dwProcessId, nullptr, true};
    for (int i = 0; i < 120 && !run.ended; ++i)
    {
        EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&closing));
        run.ended = WaitForSingleObject(process.hProcess, 500) == WAIT_OBJECT_0;
    }
    if (!run.ended)
        TerminateProcess(process.hProcess, 1);
    if (process.hThread)
        CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// The build's program, started as the run command starts it.
ProgramRunResult RunProgram()
{
    PROCESS_INFORMATION process = {};
    if (!runcommand::StartProgram(&process))
        return ProgramRunResult();
    return WatchProgram(process);
}

// A copy of the program in another folder, started from there.
ProgramRunResult RunProgramCopy(const std::u16string& image, const std::u16string& folder)
{
    std::u16string line = u"\"" + image + u"\"" + u'\0';
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, const_cast<LPWSTR>(W(line)), nullptr, nullptr, FALSE, 0, nullptr, W(folder),
                        &startup, &process))
        return ProgramRunResult();
    return WatchProgram(process);
}

BOOL __cdecl CollectLine(void* context, const WCHAR* line)
{
    static_cast<std::vector<std::string>*>(context)->push_back(
        Narrow(reinterpret_cast<const char16_t*>(line)));
    return TRUE;
}

// Every line of the trace files in a folder.
std::vector<std::string> TraceLines(const std::u16string& folder)
{
    std::vector<std::string> lines;
    HMODULE library = LoadLibraryW(reinterpret_cast<LPCWSTR>(P7_LIBRARY_NAME));
    if (!library)
        return lines;
    auto dump =
        reinterpret_cast<P7_Dump_File_Proc>(reinterpret_cast<void*>(GetProcAddress(library, "P7_Dump_File")));
    for (const std::u16string& file : FilesIn(folder))
        dump(W(file), &CollectLine, &lines);
    FreeLibrary(library);
    return lines;
}

int CountContaining(const std::vector<std::string>& lines, const std::string& text)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.find(text) != std::string::npos;
    return count;
}

}  // namespace

TEST(ProgramRun, TwiceInANewPrefixThenInTwoLanguages)
{
    // As new: no settings, no folders of an earlier run.
    RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Quorvane");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Software\\Quorvane");
    const std::u16string appData = ShellFolder(CSIDL_APPDATA) + u"Quorvane\\";
    const std::u16string music = ShellFolder(CSIDL_MYMUSIC) + u"Quorvane\\";
    WCHAR tempPath[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::u16string temp = std::u16string(reinterpret_cast<const char16_t*>(tempPath)) + u"Quorvane\\";
    for (const std::u16string& folder : {appData, music, temp})
        ScratchFolder::Remove(folder);

    const std::u16string program = ProgramFolder() + u"..\\program\\Sondrel.exe.so";
    int englishWidth = 0;
    for (DWORD count = 1; count <= 2; ++count)
    {
        ProgramRunResult run = RunProgram();
        ASSERT_TRUE(run.ended);
        EXPECT_TRUE(run.caption == u"Sondrel");
        englishWidth = run.clientWidth;
        EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter"), count);
        EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"Version"), 1260196u);
        // Run from its own folder, the program finds its libraries' code
        // there and nowhere else: the run command gives Wine no other.
        const std::string programFolder = SONDREL_BUILD_DIR "/program/";
        for (const char* name :
             {"Sondrel.exe.so", "sondrelengine.dll.so", "p7x64.dll.so", "crashrptx64.dll.so"})
            EXPECT_EQ(1u, run.buildFiles.count(programFolder + name)) << name;
        for (const std::string& file : run.buildFiles)
            EXPECT_EQ(0u, file.find(programFolder)) << file;
    }
    for (const std::u16string& folder :
         {appData + u"Sondrel\\", appData + u"Sondrel\\Logs\\", music + u"Sondrel\\", temp + u"Sondrel\\"})
        EXPECT_TRUE(FolderExists(folder)) << Narrow(folder);
    // The trace log, one set of files a run, each run from its first line
    // to its last words, closed normally.
    std::vector<std::string> trace = TraceLines(appData + u"Sondrel\\Logs\\");
    EXPECT_EQ(CountContaining(trace, "\tCApplicationBase::InitP7Log\tInit P7 logging system: done"), 2);
    EXPECT_EQ(CountContaining(trace, "\tdestroy product mutex: done"), 2);
    EXPECT_EQ(CountContaining(trace, "Process is terminated"), 0);
    EXPECT_FALSE(FileExists(appData + u"Sondrel\\Sondrel.log"));

    // A copy of the program beside its language modules, where the trace
    // library cannot be had: the text log, and the language the user chose.
    ScratchFolder copy("program copy");
    ASSERT_TRUE(CopyFileW(W(program), W(copy.Path() + u"Sondrel.exe.so"), FALSE));
    CreateDirectoryW(W(copy.Path() + u"Localizations"), nullptr);
    for (const char16_t* name : {u"russian.dll", u"Chinese (Simplified), Simplified.dll"})
        ASSERT_TRUE(CopyFileW(W(ProgramFolder() + u"language_test_data\\Localizations\\" + name),
                              W(copy.Path() + u"Localizations\\" + name), FALSE));
    // The trace library switched off for the program, as Wine's own
    // settings switch a library off.
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, u"Software\\Wine\\DllOverrides", u"p7x64", u""));
    // Russian and Chinese.
    const DWORD languages[] = {1, 9};
    DWORD count = 3;
    for (DWORD language : languages)
    {
        ASSERT_TRUE(SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"LangID", language));
        ProgramRunResult run = RunProgramCopy(copy.Path() + u"Sondrel.exe.so", copy.Path());
        ASSERT_TRUE(run.ended);
        // The main window takes its template from the language (narrower
        // there) and always calls itself Sondrel.
        EXPECT_TRUE(run.caption == u"Sondrel") << Narrow(run.caption);
        EXPECT_LT(run.clientWidth, englishWidth);
        EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter"), count++);
        std::string log = ReadBytes(appData + u"Sondrel\\Sondrel.log");
        EXPECT_EQ(log.find("): Init logging system: done\r\n"), 18u) << log;
        EXPECT_NE(log.find("): destroy product mutex: done\r\n"), std::string::npos) << log;
        EXPECT_EQ(log.find("Process is terminated"), std::string::npos) << log;
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, u"Software\\Wine\\DllOverrides", u"p7x64");
}
