// Times the recorder's main road from outside the program.
//
//   mainroad_benchmark startup [runs]
//     Cold start to the first paint: Sondrel's ribbon against a program that
//     only opens an empty dialog, started alternately in the same prefix;
//     prints each run, the medians and their ratio.
//   mainroad_benchmark recording [seconds]
//     Starts Sondrel, presses Record, and samples its resident memory and
//     processor time while it records MP3 with the window shown; prints the
//     peak and mean memory and the processor share of one core.
//
// Run it in the build's environment: source scripts/environment.sh, with the
// display and the sound server up, then build/bin/mainroad_benchmark.exe.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char16_t kSettingsKey[] = u"Software\\Quorvane\\Sondrel";
const WPARAM kRecordCommand = 25021;
const WPARAM kStopCommand = 25022;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::u16string ProgramFolder()
{
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string image(reinterpret_cast<const char16_t*>(path));
    return image.substr(0, image.rfind(u'\\') + 1);
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

// Distinct colours in a screen rectangle, sampled on a grid.
int ColoursIn(const RECT& rc)
{
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> colours;
    for (int y = rc.top + 2; y < rc.bottom - 2; y += 3)
        for (int x = rc.left + 2; x < rc.right - 2; x += 7)
        {
            const COLORREF colour = GetPixel(screen, x, y);
            if (std::find(colours.begin(), colours.end(), colour) == colours.end())
                colours.push_back(colour);
        }
    ReleaseDC(nullptr, screen);
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

Started Start(const std::u16string& image)
{
    Started started;
    std::u16string line = u"\"" + image + u"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    const std::u16string folder = ProgramFolder();
    started.ok = CreateProcessW(nullptr, const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(line.c_str())), nullptr,
                                nullptr, FALSE, 0, nullptr, reinterpret_cast<LPCWSTR>(folder.c_str()),
                                &startup, &started.process) != FALSE;
    return started;
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
                RECT client;
                GetClientRect(window, &client);
                POINT centre = {client.right / 2, client.bottom / 2};
                ClientToScreen(window, &centre);
                HDC screen = GetDC(nullptr);
                bPainted = GetPixel(screen, centre.x, centre.y) == GetSysColor(COLOR_BTNFACE);
                ReleaseDC(nullptr, screen);
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

int RunStartup(int runs)
{
    const std::u16string folder = ProgramFolder();
    const std::u16string sondrel = folder + u"Sondrel.exe.so";
    const std::u16string empty = folder + u"empty_dialog.exe.so";
    std::vector<double> emptyTimes, sondrelTimes;
    // One start of each first, so that both meet a warm file cache.
    TimeToFirstPaint(empty, false);
    TimeToFirstPaint(sondrel, true);
    for (int i = 0; i < runs; ++i)
    {
        const double e = TimeToFirstPaint(empty, false);
        const double s = TimeToFirstPaint(sondrel, true);
        printf("run %d: empty dialog %.3f s, Sondrel ribbon %.3f s\n", i + 1, e, s);
        fflush(stdout);
        if (e > 0)
            emptyTimes.push_back(e);
        if (s > 0)
            sondrelTimes.push_back(s);
    }
    const double e = Median(emptyTimes), s = Median(sondrelTimes);
    printf("median: empty dialog %.3f s, Sondrel %.3f s, difference %.3f s, ratio %.2f\n", e, s, s - e,
           e > 0 ? s / e : 0.0);
    return emptyTimes.empty() || sondrelTimes.empty() ? 1 : 0;
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

int RunRecording(int seconds)
{
    MarkProgramAsStartedBefore();
    Started started = Start(ProgramFolder() + u"Sondrel.exe.so");
    if (!started.ok)
        return 1;
    HWND window = nullptr;
    const double start = Now();
    while (!window && Now() - start < 60)
    {
        window = VisibleWindowOf(started.process.dwProcessId);
        Sleep(50);
    }
    if (!window)
    {
        Close(started, nullptr);
        return 1;
    }
    Sleep(2000);
    PROCESS_MEMORY_COUNTERS idle = {sizeof(idle)};
    GetProcessMemoryInfo(started.process.hProcess, &idle, sizeof idle);
    PostMessageW(window, WM_COMMAND, kRecordCommand, 0);
    Sleep(2000);

    const double cpuStart = CpuSeconds(started.process.hProcess);
    const double wallStart = Now();
    SIZE_T peak = 0;
    double sum = 0;
    int samples = 0;
    for (int i = 0; i < seconds; ++i)
    {
        Sleep(1000);
        PROCESS_MEMORY_COUNTERS counters = {sizeof(counters)};
        if (GetProcessMemoryInfo(started.process.hProcess, &counters, sizeof counters))
        {
            peak = std::max(peak, counters.WorkingSetSize);
            sum += static_cast<double>(counters.WorkingSetSize);
            ++samples;
        }
    }
    const double cpu = CpuSeconds(started.process.hProcess) - cpuStart;
    const double wall = Now() - wallStart;
    PostMessageW(window, WM_COMMAND, kStopCommand, 0);
    Sleep(2000);
    Close(started, window);

    printf("idle before recording: %.1f MB resident\n", idle.WorkingSetSize / 1048576.0);
    printf("recording %d s: resident peak %.1f MB, mean %.1f MB\n", seconds, peak / 1048576.0,
           samples ? sum / samples / 1048576.0 : 0.0);
    printf("processor: %.2f s in %.1f s, %.2f%% of one core\n", cpu, wall, 100.0 * cpu / wall);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "startup";
    if (mode == "startup")
        return RunStartup(argc > 2 ? atoi(argv[2]) : 5);
    if (mode == "recording")
        return RunRecording(argc > 2 ? atoi(argv[2]) : 60);
    fprintf(stderr, "usage: mainroad_benchmark startup [runs] | recording [seconds]\n");
    return 2;
}
