// A child process installs the DLL, shows a window of a known colour and
// crashes (or asks for a report); the test then reads the report folder.
#include "sondrel_gtest.h"

#include <gdiplus.h>

#include <string>
#include <vector>

#include "crashreport/CrashReportApi.h"
#include "sender_windows.h"
#include "tests/tracelog/trace_test_support.h"

using namespace tracetest;

namespace {

const char16_t kModeVariable[] = u"SONDREL_CRASH_MODE";
const char16_t kFolderVariable[] = u"SONDREL_CRASH_FOLDER";
const COLORREF kWindowColour = RGB(0x20, 0xC0, 0x60);
const RECT kWindowRect = {120, 100, 420, 300};

std::u16string EnvironmentValue(const char16_t* name)
{
    WCHAR value[1024] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::u16string(value, n) : std::u16string();
}

// This program's image, started again for one test with the variables set.
DWORD RunChild(const std::u16string& mode, const std::u16string& folder)
{
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::u16string image = module;
    if (GetFileAttributesW((image + u".so").c_str()) != INVALID_FILE_ATTRIBUTES)
        image += u".so";
    SetEnvironmentVariableW(kModeVariable, mode.c_str());
    SetEnvironmentVariableW(kFolderVariable, folder.c_str());
    std::u16string line = u"\"" + image + u"\" --gtest_filter=CrashChild.Run";
    std::vector<WCHAR> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DWORD code = 99;
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process))
    {
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(kModeVariable, nullptr);
    SetEnvironmentVariableW(kFolderVariable, nullptr);
    return code;
}

std::vector<std::u16string> SubFolders(const std::u16string& folder)
{
    std::vector<std::u16string> folders;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + u"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return folders;
    do
    {
        std::u16string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != u"." && name != u"..")
            folders.push_back(folder + name + u"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return folders;
}

// --- the child's side ---

template <class T>
T Bind(HMODULE module, int ordinal)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

HMODULE g_library = nullptr;

int CALLBACK AddFromCallback(void* data)
{
    auto addProperty = Bind<CrashAddPropertyProc>(g_library, kCrashOrdinalAddProperty);
    addProperty(u"FromCallback", static_cast<LPCWSTR>(data));
    return 1;
}

LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kWindowColour);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI CrashingThread(void* parameter)
{
    const std::u16string& mode = *static_cast<const std::u16string*>(parameter);
    if (mode == u"access")
        *static_cast<volatile int*>(nullptr) = 1;
    else if (mode == u"throw")
        throw std::runtime_error("nobody catches this");
    else if (mode == u"abort")
        abort();
    return 0;
}

}  // namespace

// Runs only as the child.
TEST(CrashChild, Run)
{
    std::u16string mode = EnvironmentValue(kModeVariable);
    if (mode.empty())
        GTEST_SKIP() << "runs as a child of the crash tests";
    std::u16string folder = EnvironmentValue(kFolderVariable);
    g_library = LoadLibraryW(u"CrashRptx64.dll");
    ASSERT_NE(g_library, nullptr);
    auto install = Bind<CrashInstallProc>(g_library, kCrashOrdinalInstall);
    auto addFile = Bind<CrashAddFileProc>(g_library, kCrashOrdinalAddFile);
    auto addProperty = Bind<CrashAddPropertyProc>(g_library, kCrashOrdinalAddProperty);
    auto addKey = Bind<CrashAddRegistryKeyProc>(g_library, kCrashOrdinalAddRegistryKey);
    auto addScreenshot = Bind<CrashAddScreenshotProc>(g_library, kCrashOrdinalAddScreenshot);
    auto setCallback = Bind<CrashSetCallbackProc>(g_library, kCrashOrdinalSetCallback);
    auto generate = Bind<CrashGenerateReportProc>(g_library, kCrashOrdinalGenerateReport);

    CrashInstallRecord record = {};
    record.cbSize = sizeof(record) - 8;
    ASSERT_NE(install(&record), 0) << "a record of another size is refused";
    record.cbSize = sizeof(record);
    record.pszAppName = u"CrashTest";
    record.pszAppVersion = u"1.2.3.4";
    record.pszReportFolder = folder.c_str();
    ASSERT_EQ(install(&record), 0);
    addProperty(u"Second", u"2");
    addProperty(u"First", u"one");
    addFile((folder + u"attached.log").c_str(), nullptr, u"Log File", 5);
    addFile((folder + u"gone.log").c_str(), nullptr, u"Log File", 5);
    addFile((folder + u"attached.log").c_str(), u"..\\escaped.log", u"Log File", 5);
    addKey(u"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment",
           u"Environment.xml", 16);
    addScreenshot(26, 80);
    static std::u16string callbackValue = u"called";
    setCallback(AddFromCallback, const_cast<char16_t*>(callbackValue.c_str()));

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ColourWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = u"CrashTestColour";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"CrashTestColour", u"", WS_POPUP | WS_VISIBLE,
                        kWindowRect.left, kWindowRect.top, kWindowRect.right - kWindowRect.left,
                        kWindowRect.bottom - kWindowRect.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    for (int i = 0; i < 20; ++i)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(20);
    }

    if (mode == u"demand")
    {
        CrashExceptionRecord exception = {};
        exception.cbSize = sizeof(exception);
        exception.dwCode = 1234;
        EXPECT_EQ(generate(&exception), 0);
        return;
    }
    // A thread of Wine's, outside the test framework's own catching.
    HANDLE thread = CreateThread(nullptr, 0, CrashingThread, &mode, 0, nullptr);
    WaitForSingleObject(thread, 60000);
    ADD_FAILURE() << "the process outlived its crash";
}

class CrashReportTest : public ::testing::TestWithParam<std::pair<const char16_t*, const char*>>
{};

// Each way to end up in a report leaves one whole folder.
TEST_P(CrashReportTest, LeavesOneWholeReport)
{
    ScratchFolder scratch("crash report");
    const std::string log = "a line of the log\r\n";
    WriteBytes(scratch.Path() + u"attached.log", log);
    RunChild(GetParam().first, scratch.Path());
    // The crashed process started the sender on its report.
    EXPECT_EQ(crashsender::CloseSenders(), 1u);

    std::vector<std::u16string> reports = SubFolders(scratch.Path());
    ASSERT_EQ(reports.size(), 1u);
    const std::u16string& report = reports[0];
    std::string description = ReadBytes(report + u"description.txt");
    EXPECT_NE(description.find(std::string("Exception code: ") + GetParam().second + "\r\n"),
              std::string::npos)
        << description;
    EXPECT_NE(description.find("Application: CrashTest\r\nVersion: 1.2.3.4\r\n"), std::string::npos);
    EXPECT_NE(description.find("Module: "), std::string::npos);
    // Properties in the order added, the callback's last.
    EXPECT_NE(description.find(
                  "Property: Second = 2\r\nProperty: First = one\r\nProperty: FromCallback = called\r\n"),
              std::string::npos)
        << description;
    EXPECT_EQ(ReadBytes(report + u"attached.log"), log);
    EXPECT_NE(description.find("File missing: "), std::string::npos);
    EXPECT_NE(description.find("File refused: "), std::string::npos);
    EXPECT_EQ(ReadBytes(scratch.Path() + u"escaped.log"), "");

    std::string dump = ReadBytes(report + u"crashdump.dmp");
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
    std::string environment = ReadBytes(report + u"Environment.xml");
    EXPECT_EQ(environment.rfind("<?xml", 0), 0u);
    EXPECT_NE(environment.find("<value name=\"PROCESSOR_IDENTIFIER\" type=\"1\">"), std::string::npos)
        << environment;

    // The screenshot holds the window in its colour.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    Gdiplus::GpBitmap* image = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile((report + u"screenshot.png").c_str(), &image),
              Gdiplus::Ok);
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    Gdiplus::DllExports::GdipGetImageHeight(image, &height);
    EXPECT_GE(width, static_cast<UINT>(kWindowRect.right - kWindowRect.left));
    EXPECT_GE(height, static_cast<UINT>(kWindowRect.bottom - kWindowRect.top));
    Gdiplus::ARGB pixel = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(image, width / 2, height / 2, &pixel);
    EXPECT_EQ(pixel & 0xFFFFFF, 0x20C060u);
    Gdiplus::DllExports::GdipDisposeImage(image);
    Gdiplus::GdiplusShutdown(token);
}

INSTANTIATE_TEST_SUITE_P(Crash, CrashReportTest,
                         ::testing::Values(std::make_pair(u"access", "c0000005"),
                                           std::make_pair(u"throw", "80000101"),
                                           std::make_pair(u"abort", "80000101"),
                                           std::make_pair(u"demand", "000004d2")));
