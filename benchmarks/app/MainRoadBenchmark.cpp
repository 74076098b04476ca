// Times the recorder's main road from outside the program.
//
//   mainroad_benchmark startup [runs]
//     Cold start to the first paint: Sondrel's ribbon against a program that
//     only opens an empty dialog, started alternately in the same prefix;
//     Sondrel both from its own folder, as the run command starts it, and
//     from bin/ beside every test program, where it ran before it had one
//     (the two in turns, each first every other run). Prints each run, the
//     medians, their ratios and the range of the per-run ratios. All are
//     started the same way and probed the same way: each poll reads the
//     window's area with one BitBlt from the screen (the ribbon painted
//     shows 8 colours or more, the dialog its face colour at the centre).
//     Every program takes this one's WINEDLLPATH: run it with only the
//     program's folder there, as run_mainroad_benchmark.sh does.
//   mainroad_benchmark recording [seconds]
//     Starts Sondrel from its folder, as the run command does (as every
//     mode does), presses Record, and samples its resident memory and
//     processor time while it records MP3 from the sound server's sine
//     source with the window shown; prints the peak and mean memory, the
//     processor share of one core, the file written and the machine's load.
//     It fails when no file grows: no sound server, no recording.
//   mainroad_benchmark latency [seconds]
//     Starts Sondrel and times, idle and then while it records from the sine
//     source: a message from this process to the main window (WM_GETTEXT,
//     answered only when the window's thread pumps), and the repaint after a
//     real click on the volume slider (the slider's pixels change). Prints
//     the median, the 95th percentile and the longest of each.
//   mainroad_benchmark accessibility [runs]
//     Starts Sondrel and walks its ribbon as a screen reader does, through
//     the accessibility interface from this process (the ribbon's children
//     with their names, roles and states; every call is answered only when
//     the window's thread pumps), idle and then while it records; prints the
//     median, the 95th percentile and the longest walk of each.
//
// Run it in a session of its own with the build's sound server up:
//   bash benchmarks/app/run_mainroad_benchmark.sh recording 60
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <unistd.h>

#include "command_output.h"

// Wine's import libraries do not define this interface id.
EXTERN_C const IID IID_IAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {

const char16_t kSettingsKey[] = u"Software\\Quorvane\\Sondrel";
const WPARAM kRecordCommand = 25021;
const WPARAM kStopCommand = 25022;
// The recordings go to a folder of their own, emptied before each run.
const char16_t kRecordingFolder[] = u"C:\\mainroad-benchmark\\";

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// This program's folder, the build's bin, with a backslash.
std::u16string BinFolder()
{
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string image(reinterpret_cast<const char16_t*>(path));
    return image.substr(0, image.rfind(u'\\') + 1);
}

// Sondrel as the run command starts it: from its own folder.
std::u16string SondrelImage()
{
    WCHAR path[MAX_PATH] = {};
    GetFullPathNameW(reinterpret_cast<LPCWSTR>((BinFolder() + u"..\\program\\Sondrel.exe.so").c_str()),
                     MAX_PATH, path, nullptr);
    return reinterpret_cast<const char16_t*>(path);
}

// Keeps the about box of the first starts away: it is not the main window.
void MarkProgramAsStartedBefore()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(kSettingsKey), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD counter = 10;
    RegSetValueExW(key, u"RunningCounter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&counter),
                   sizeof counter);
    RegCloseKey(key);
}

struct WindowSearch
{
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND VisibleWindowOf(DWORD process)
{
    WindowSearch search = {process, nullptr};
    EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The pixels of a screen rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& rc)
{
    std::vector<COLORREF> pixels;
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, cx, cy, screen, rc.left, rc.top, SRCCOPY);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.assign(p, p + static_cast<size_t>(cx) * cy);
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Distinct colours in a screen rectangle, sampled on a grid from one read
// of the rectangle (a read per point would cost an X round trip each).
int ColoursIn(const RECT& rc)
{
    const std::vector<COLORREF> pixels = ScreenPixels(rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (pixels.size() != static_cast<size_t>(cx) * cy)
        return 0;
    std::vector<COLORREF> colours;
    for (int y = 2; y < cy - 2; y += 3)
        for (int x = 2; x < cx - 2; x += 7)
        {
            const COLORREF colour = pixels[static_cast<size_t>(y) * cx + x] & 0xFFFFFF;
            if (std::find(colours.begin(), colours.end(), colour) == colours.end())
                colours.push_back(colour);
        }
    return static_cast<int>(colours.size());
}

struct RibbonSearch
{
    HWND best;
    int bestWidth;
};

BOOL CALLBACK FindWidestBar(HWND child, LPARAM context)
{
    RibbonSearch* search = reinterpret_cast<RibbonSearch*>(context);
    WCHAR name[64] = {};
    GetClassNameW(child, name, 64);
    if (std::u16string(reinterpret_cast<const char16_t*>(name)) != u"QVTToolBar" || !IsWindowVisible(child))
        return TRUE;
    RECT rc;
    GetWindowRect(child, &rc);
    if (rc.right - rc.left > search->bestWidth && rc.bottom - rc.top > 60)
    {
        search->best = child;
        search->bestWidth = rc.right - rc.left;
    }
    return TRUE;
}

// The ribbon: the widest tall bar window inside the main window (it lies in
// the top dock bar).
HWND RibbonOf(HWND window)
{
    RibbonSearch search = {nullptr, 0};
    EnumChildWindows(window, &FindWidestBar, reinterpret_cast<LPARAM>(&search));
    return search.best;
}

struct Started
{
    PROCESS_INFORMATION process = {};
    bool ok = false;
};

// Every program starts with this process's WINEDLLPATH (Wine gives a
// process it starts its parent's, whatever the environment block says): run
// the benchmark with only the program's folder there, as the run command
// runs the program (run_mainroad_benchmark.sh does).
Started Start(const std::u16string& image)
{
    Started started;
    std::u16string line = u"\"" + image + u"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    const std::u16string folder = BinFolder();
    started.ok = CreateProcessW(nullptr, const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(line.c_str())), nullptr,
                                nullptr, FALSE, 0, nullptr, reinterpret_cast<LPCWSTR>(folder.c_str()),
                                &startup, &started.process) != FALSE;
    return started;
}

// The started program's main window by its caption (the process shows other
// top-level windows too: tips, popups), once visible; null after 60 s.
HWND MainWindowOf(const Started& started)
{
    const double start = Now();
    while (Now() - start < 60)
    {
        HWND window = FindWindowW(nullptr, u"Sondrel");
        DWORD process = 0;
        if (window)
            GetWindowThreadProcessId(window, &process);
        if (process == started.process.dwProcessId && IsWindowVisible(window))
            return window;
        Sleep(50);
    }
    return nullptr;
}

void Close(Started& started, HWND window)
{
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(started.process.hProcess, 1);
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
}

// Seconds from process start to the first paint: of the ribbon when asked,
// else of the dialog's face; a negative value when nothing came in 60 s.
double TimeToFirstPaint(const std::u16string& image, bool bRibbon)
{
    MarkProgramAsStartedBefore();
    const double start = Now();
    Started started = Start(image);
    if (!started.ok)
        return -1;
    HWND window = nullptr;
    double painted = -1;
    while (Now() - start < 30)
    {
        window = VisibleWindowOf(started.process.dwProcessId);
        if (window)
        {
            RECT rc = {};
            if (bRibbon)
            {
                HWND ribbon = RibbonOf(window);
                if (ribbon)
                    GetWindowRect(ribbon, &rc);
            }
            // A painted ribbon shows its tabs, groups and images; a painted
            // dialog its face at the centre of its client area.
            bool bPainted = false;
            if (bRibbon)
                bPainted = rc.right > rc.left && ColoursIn(rc) >= 8;
            else
            {
                // Read as the ribbon is, with one read of the client area.
                RECT client;
                GetClientRect(window, &client);
                MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
                const std::vector<COLORREF> pixels = ScreenPixels(client);
                const int cx = client.right - client.left, cy = client.bottom - client.top;
                const COLORREF face = GetSysColor(COLOR_BTNFACE);
                const DWORD facePixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
                bPainted = pixels.size() == static_cast<size_t>(cx) * cy && cx > 0 &&
                           (pixels[static_cast<size_t>(cy / 2) * cx + cx / 2] & 0xFFFFFF) == facePixel;
            }
            if (bPainted)
            {
                painted = Now() - start;
                break;
            }
        }
        Sleep(2);
    }
    Close(started, window);
    Sleep(500);
    return painted;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string LoadAverage();

struct StartTimes
{
    const char* name;
    std::u16string image;
    bool bRibbon;
    std::vector<double> times, ratios;
};

void PrintMedians(const StartTimes& empty, const StartTimes& program)
{
    const double e = Median(empty.times), s = Median(program.times);
    printf("%s: median %.3f s, %.2f times the empty dialog's %.3f s", program.name, s, e > 0 ? s / e : 0.0,
           e);
    if (!program.ratios.empty())
        printf("; per-run ratios median %.2f, range %.2f to %.2f", Median(program.ratios),
               *std::min_element(program.ratios.begin(), program.ratios.end()),
               *std::max_element(program.ratios.begin(), program.ratios.end()));
    printf("\n");
}

int RunStartup(int runs)
{
    StartTimes empty = {"empty dialog", BinFolder() + u"empty_dialog.exe.so", false, {}, {}};
    StartTimes folder = {"Sondrel from its folder", SondrelImage(), true, {}, {}};
    StartTimes bin = {"Sondrel from bin", BinFolder() + u"Sondrel.exe.so", true, {}, {}};
    const char* dllPath = getenv("WINEDLLPATH");
    printf("DLLs' code from WINEDLLPATH=%s\n", dllPath ? dllPath : "");
    // One start of each first, so that all meet a warm file cache.
    for (StartTimes* p : {&empty, &folder, &bin})
        TimeToFirstPaint(p->image, p->bRibbon);
    for (int i = 0; i < runs; ++i)
    {
        const double e = TimeToFirstPaint(empty.image, false);
        if (e > 0)
            empty.times.push_back(e);
        double t[2] = {-1, -1};
        for (int k = 0; k < 2; ++k)
        {
            const int which = (k + i) % 2;
            StartTimes& p = which == 0 ? folder : bin;
            t[which] = TimeToFirstPaint(p.image, true);
            if (t[which] > 0)
                p.times.push_back(t[which]);
            if (t[which] > 0 && e > 0)
                p.ratios.push_back(t[which] / e);
        }
        printf("run %d: empty dialog %.3f s, Sondrel from its folder %.3f s, from bin %.3f s\n", i + 1, e,
               t[0], t[1]);
        fflush(stdout);
    }
    PrintMedians(empty, folder);
    PrintMedians(empty, bin);
    printf("goal: at most 3 times the empty dialog; load average %s\n", LoadAverage().c_str());
    return empty.times.empty() || folder.times.empty() || bin.times.empty() ? 1 : 0;
}

double CpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The output folder set and emptied, so that the run's file is the only one.
void PrepareRecordingFolder()
{
    const std::u16string folder = kRecordingFolder;
    CreateDirectoryW(reinterpret_cast<LPCWSTR>(folder.c_str()), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>((folder + u"*").c_str()), &found);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
            DeleteFileW(reinterpret_cast<LPCWSTR>(
                (folder + reinterpret_cast<const char16_t*>(found.cFileName)).c_str()));
        while (FindNextFileW(find, &found));
        FindClose(find);
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(kSettingsKey), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, u"DstFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

// Bytes in the output folder's files.
LONGLONG RecordedBytes(std::u16string* pName)
{
    const std::u16string folder = kRecordingFolder;
    LONGLONG total = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>((folder + u"Record-*").c_str()), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        total += (static_cast<LONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        if (pName)
            *pName = reinterpret_cast<const char16_t*>(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return total;
}

std::string Narrow(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// The newest Linux process of this session's prefix whose command ends with
// the name (other sessions may run the same image at the same time). Wine
// answers processor times of another process with zeros, so they are read
// from /proc.
int UnixProcessOf(const std::string& name)
{
    const char* prefix = getenv("WINEPREFIX");
    const std::string wanted = std::string("WINEPREFIX=") + (prefix ? prefix : "");
    int found = 0;
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    while (dirent* entry = readdir(proc))
    {
        const int pid = atoi(entry->d_name);
        if (pid <= 0)
            continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        std::string command = ReadUnixFile(base + "/cmdline");
        command = command.substr(0, command.find('\0'));
        if (command.size() < name.size() ||
            command.compare(command.size() - name.size(), name.size(), name) != 0)
            continue;
        const std::string environment = ReadUnixFile(base + "/environ");
        size_t at = 0;
        bool bOurs = false;
        while (at < environment.size() && !bOurs)
        {
            const size_t end = environment.find('\0', at);
            bOurs = environment.compare(at, (end == std::string::npos ? environment.size() : end) - at,
                                        wanted) == 0;
            at = end == std::string::npos ? environment.size() : end + 1;
        }
        if (bOurs && pid > found)
            found = pid;
    }
    closedir(proc);
    return found;
}

// User and system time of a Linux process, in seconds; -1 when unknown.
double UnixCpuSeconds(int pid)
{
    const std::string stat = ReadUnixFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    // Fields after the command: state is the 3rd, utime the 14th, stime the 15th.
    unsigned long long utime = 0, stime = 0;
    if (sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
               &stime) != 2)
        return -1;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Resident memory of a Linux process, in bytes (VmRSS); 0 when unknown.
double UnixResidentBytes(int pid)
{
    const std::string status = ReadUnixFile("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : 1024.0 * atof(status.c_str() + at + 6);
}

std::string LoadAverage()
{
    std::string load = ReadUnixFile("/proc/loadavg");
    return load.substr(0, load.find(' ', load.find(' ', load.find(' ') + 1) + 1));
}

int RunRecording(int seconds)
{
    MarkProgramAsStartedBefore();
    PrepareRecordingFolder();
    Started started = Start(SondrelImage());
    if (!started.ok)
        return 1;
    HWND window = MainWindowOf(started);
    const int pid = UnixProcessOf("\\Sondrel.exe.so");
    // Every message a program pumps passes through the Wine server.
    const int server = UnixProcessOf("wineserver64");
    if (!window || !pid)
    {
        fprintf(stderr, "no main window or no Linux process of Sondrel\n");
        Close(started, window);
        return 1;
    }
    Sleep(2000);
    const std::string loadBefore = LoadAverage();
    const double idle = UnixResidentBytes(pid);
    PostMessageW(window, WM_COMMAND, kRecordCommand, 0);
    Sleep(2000);
    if (RecordedBytes(nullptr) == 0)
    {
        fprintf(stderr, "the recording did not start writing (is the sound server up?)\n");
        Close(started, window);
        return 1;
    }

    const double cpuStart = UnixCpuSeconds(pid);
    const double cpuStartWine = CpuSeconds(started.process.hProcess);
    const double serverStart = server ? UnixCpuSeconds(server) : 0;
    const LONGLONG bytesStart = RecordedBytes(nullptr);
    const double wallStart = Now();
    double peak = 0, sum = 0, peakWorkingSet = 0;
    int samples = 0;
    for (int i = 0; i < seconds; ++i)
    {
        Sleep(1000);
        const double resident = UnixResidentBytes(pid);
        peak = std::max(peak, resident);
        sum += resident;
        ++samples;
        PROCESS_MEMORY_COUNTERS counters = {sizeof(counters)};
        if (GetProcessMemoryInfo(started.process.hProcess, &counters, sizeof counters))
            peakWorkingSet = std::max(peakWorkingSet, static_cast<double>(counters.WorkingSetSize));
    }
    const double cpu = UnixCpuSeconds(pid) - cpuStart;
    const double cpuWine = CpuSeconds(started.process.hProcess) - cpuStartWine;
    const double serverCpu = server ? UnixCpuSeconds(server) - serverStart : 0;
    const double wall = Now() - wallStart;
    const LONGLONG bytesGrown = RecordedBytes(nullptr) - bytesStart;
    const std::string loadAfter = LoadAverage();
    PostMessageW(window, WM_COMMAND, kStopCommand, 0);
    Sleep(2000);
    Close(started, window);
    std::u16string file;
    const LONGLONG bytes = RecordedBytes(&file);

    const double mb = 1048576.0;
    printf("idle before recording: %.1f MB resident\n", idle / mb);
    printf(
        "recording %d s: resident peak %.1f MB, mean %.1f MB (working set reported by Wine: peak %.1f MB)\n",
        seconds, peak / mb, samples ? sum / samples / mb : 0.0, peakWorkingSet / mb);
    printf("processor: %.2f s in %.1f s, %.2f%% of one core (GetProcessTimes: %.2f s)\n", cpu, wall,
           100.0 * cpu / wall, cpuWine);
    printf("the session's Wine server meanwhile: %.2f s, %.2f%% of one core\n", serverCpu,
           100.0 * serverCpu / wall);
    printf("file %s: %lld bytes, %.0f kbit/s while measured\n", Narrow(file).c_str(),
           static_cast<long long>(bytes), bytesGrown * 8.0 / wall / 1000.0);
    printf("load average (1, 5, 15 min): before %s, after %s\n", loadBefore.c_str(), loadAfter.c_str());
    return bytesGrown > 0 ? 0 : 1;
}

struct Timings
{
    std::vector<double> values;
    void Add(double seconds) { values.push_back(seconds); }
    double Percentile(double share) const
    {
        if (values.empty())
            return -1;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        size_t at = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
        return sorted[std::min(at, sorted.size() - 1)];
    }
    void Print(const char* what) const
    {
        printf("%s: %zu samples, median %.3f s, 95th percentile %.3f s, longest %.3f s\n", what,
               values.size(), Percentile(0.5), Percentile(0.95), Percentile(1.0));
    }
};

// Seconds until the window's thread answers a message from this process.
double MessageRoundTrip(HWND window)
{
    WCHAR text[64] = {};
    const double start = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000,
                             &result))
        return -1;
    return Now() - start;
}

void SendClick(POINT pt)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN) - 1, cy = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
    {
        input.type = INPUT_MOUSE;
        input.mi.dx = pt.x * 65535 / cx;
        input.mi.dy = pt.y * 65535 / cy;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

// Seconds from a real click beside the slider's thumb (which pages it
// there) until the slider shows it; the click goes to the thumb's left or
// right as asked, so that the thumb moves back and forth.
double ClickToRepaint(HWND slider, bool bRight)
{
    RECT rc;
    GetWindowRect(slider, &rc);
    const std::vector<COLORREF> before = ScreenPixels(rc);
    // The thumb stands at 10 or 30 of 0 to 100, and the ends of the channel
    // lie beside it. A click pages only on the channel, a thin line some 10
    // pixels below the slider's top edge and 8 in from its ends.
    POINT pt = {bRight ? rc.right - 12 : rc.left + 12, rc.top + 10};
    const double start = Now();
    SendClick(pt);
    while (Now() - start < 10)
    {
        if (ScreenPixels(rc) != before)
            return Now() - start;
        Sleep(1);
    }
    return -1;
}

// Message and repaint times over a stretch of seconds. The samples are
// spread at an odd period so that they meet the job's work at every phase.
void SampleLatency(HWND window, HWND slider, int seconds, Timings* messages, Timings* repaints)
{
    const double end = Now() + seconds;
    bool bRight = true;
    int n = 0;
    while (Now() < end)
    {
        const double message = MessageRoundTrip(window);
        if (message >= 0)
            messages->Add(message);
        if (slider && ++n % 3 == 0)
        {
            SetForegroundWindow(window);
            const double repaint = ClickToRepaint(slider, bRight);
            if (repaint >= 0)
                repaints->Add(repaint);
            bRight = !bRight;
        }
        Sleep(137);
    }
}

struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindChildById(HWND child, LPARAM context)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(context);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

int RunLatency(int seconds)
{
    MarkProgramAsStartedBefore();
    PrepareRecordingFolder();
    Started started = Start(SondrelImage());
    if (!started.ok)
        return 1;
    HWND window = MainWindowOf(started);
    if (!window)
    {
        fprintf(stderr, "no main window of Sondrel\n");
        Close(started, window);
        return 1;
    }
    Sleep(2000);
    // The volume slider stays enabled while recording.
    ChildSearch search = {1232, nullptr};
    EnumChildWindows(window, &FindChildById, reinterpret_cast<LPARAM>(&search));
    HWND slider = search.found;
    SetForegroundWindow(window);

    Timings idleMessages, idleRepaints, messages, repaints;
    SampleLatency(window, slider, std::min(seconds, 10), &idleMessages, &idleRepaints);
    PostMessageW(window, WM_COMMAND, kRecordCommand, 0);
    Sleep(2000);
    if (RecordedBytes(nullptr) == 0)
    {
        fprintf(stderr, "the recording did not start writing (is the sound server up?)\n");
        Close(started, window);
        return 1;
    }
    SampleLatency(window, slider, seconds, &messages, &repaints);
    const LONGLONG bytes = RecordedBytes(nullptr);
    PostMessageW(window, WM_COMMAND, kStopCommand, 0);
    Sleep(2000);
    Close(started, window);

    idleMessages.Print("idle, message from another process");
    idleRepaints.Print("idle, repaint after a click");
    messages.Print("recording, message from another process");
    repaints.Print("recording, repaint after a click");
    printf("recorded %lld bytes; load average %s\n", static_cast<long long>(bytes), LoadAverage().c_str());
    return messages.values.empty() || (slider && repaints.values.empty()) ? 1 : 0;
}

// One walk of the ribbon's accessible tree to the depth of its children:
// each child's name, role and state. Seconds, or -1 when the ribbon gives no
// accessible object.
double WalkRibbon(HWND ribbon, int* pnCalls)
{
    const double start = Now();
    IAccessible* pRibbon = nullptr;
    if (FAILED(AccessibleObjectFromWindow(ribbon, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&pRibbon))) ||
        !pRibbon)
        return -1;
    int nCalls = 1;
    LONG nChildren = 0;
    pRibbon->get_accChildCount(&nChildren);
    ++nCalls;
    std::vector<VARIANT> children(static_cast<size_t>(std::max<LONG>(nChildren, 0)));
    LONG nGot = 0;
    if (nChildren > 0 && SUCCEEDED(AccessibleChildren(pRibbon, 0, nChildren, children.data(), &nGot)))
        ++nCalls;
    for (LONG i = 0; i < nGot; ++i)
    {
        IAccessible* pTarget = pRibbon;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT child = self;
        IAccessible* pChild = nullptr;
        if (children[i].vt == VT_DISPATCH && children[i].pdispVal &&
            SUCCEEDED(
                children[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pChild))))
            pTarget = pChild;
        else if (children[i].vt == VT_I4)
            child = children[i];
        BSTR name = nullptr;
        VARIANT role, state;
        VariantInit(&role);
        VariantInit(&state);
        pTarget->get_accName(child, &name);
        pTarget->get_accRole(child, &role);
        pTarget->get_accState(child, &state);
        nCalls += 3;
        SysFreeString(name);
        VariantClear(&role);
        VariantClear(&state);
        if (pChild)
            pChild->Release();
        VariantClear(&children[i]);
    }
    pRibbon->Release();
    *pnCalls = nCalls;
    return Now() - start;
}

int RunAccessibility(int runs)
{
    MarkProgramAsStartedBefore();
    PrepareRecordingFolder();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Started started = Start(SondrelImage());
    if (!started.ok)
        return 1;
    HWND window = MainWindowOf(started);
    HWND ribbon = window ? RibbonOf(window) : nullptr;
    if (!ribbon)
    {
        fprintf(stderr, "no main window or ribbon of Sondrel\n");
        Close(started, window);
        return 1;
    }
    Sleep(2000);
    Timings idle, recording;
    int nCalls = 0;
    for (int i = 0; i < runs; ++i)
    {
        const double walk = WalkRibbon(ribbon, &nCalls);
        if (walk >= 0)
            idle.Add(walk);
        Sleep(300);
    }
    PostMessageW(window, WM_COMMAND, kRecordCommand, 0);
    Sleep(2000);
    if (RecordedBytes(nullptr) == 0)
    {
        fprintf(stderr, "the recording did not start writing (is the sound server up?)\n");
        Close(started, window);
        return 1;
    }
    for (int i = 0; i < runs; ++i)
    {
        const double walk = WalkRibbon(ribbon, &nCalls);
        if (walk >= 0)
            recording.Add(walk);
        Sleep(300);
    }
    PostMessageW(window, WM_COMMAND, kStopCommand, 0);
    Sleep(2000);
    Close(started, window);
    printf("a walk makes %d accessibility calls\n", nCalls);
    idle.Print("idle, walk of the ribbon");
    recording.Print("recording, walk of the ribbon");
    printf("load average %s\n", LoadAverage().c_str());
    CoUninitialize();
    return idle.values.empty() || recording.values.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "startup";
    if (mode == "startup")
        return RunStartup(argc > 2 ? atoi(argv[2]) : 5);
    if (mode == "recording")
        return RunRecording(argc > 2 ? atoi(argv[2]) : 60);
    if (mode == "latency")
        return RunLatency(argc > 2 ? atoi(argv[2]) : 30);
    if (mode == "accessibility")
        return RunAccessibility(argc > 2 ? atoi(argv[2]) : 10);
    fprintf(stderr, "usage: mainroad_benchmark startup [runs] | recording [seconds] | latency [seconds] | "
                    "accessibility [runs]\n");
    return 2;
}
