// Crash reporting in the program's start-up: a child process runs the
// application, which installs the crash-report DLL and then crashes, or
// ends abnormally and asks for a report, or finds no DLL. The test reads
// the report folder the DLL wrote.
#include "sondrel_gtest.h"

#include <gdiplus.h>

#include <algorithm>
#include <stdexcept>

#include "program_test_support.h"
#include "tests/crashreport/sender_windows.h"

using namespace commontest;
using namespace tracetest;

namespace {

const char16_t kCrashVariable[] = u"SONDREL_CRASH_SCENARIO";
const COLORREF kWindowColour = RGB(0xC0, 0x30, 0x90);

std::u16string LogFolder()
{
    return ShellFolder(CSIDL_APPDATA) + u"Quorvane\\Sondrel\\Logs\\";
}

std::u16string ReportRoot()
{
    return ShellFolder(CSIDL_LOCAL_APPDATA) + u"Sondrel\\CrashReports\\";
}

std::vector<std::u16string> Reports()
{
    std::vector<std::u16string> folders;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(ReportRoot() + u"*"), &data);
    if (find == INVALID_HANDLE_VALUE)
        return folders;
    do
    {
        std::u16string name = reinterpret_cast<const char16_t*>(data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != u"." && name != u"..")
            folders.push_back(ReportRoot() + name + u"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return folders;
}

std::u16string NameOf(const std::u16string& path)
{
    return path.substr(path.rfind(u'\\') + 1);
}

LRESULT CALLBACK ColourProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
    {
        RECT rect;
        GetClientRect(window, &rect);
        HBRUSH brush = CreateSolidBrush(kWindowColour);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI CrashThread(void* parameter)
{
    if (*static_cast<const std::u16string*>(parameter) == u"access")
        *static_cast<volatile int*>(nullptr) = 7;
    throw std::runtime_error("uncaught");
}

// The main window: shows a window of the test's colour, makes a second
// trace file of this run, then crashes on a thread of Wine's or throws.
class CrashingDialog : public CDialog
{
public:
    explicit CrashingDialog(const std::u16string& scenario) : m_scenario(scenario) {}
    INT_PTR DoModal() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ColourProc;
        windowClass.lpszClassName = u"CrashReportColour";
        RegisterClassW(&windowClass);
        HWND window =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"CrashReportColour", u"",
                            WS_POPUP | WS_VISIBLE, 200, 150, 240, 160, nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(window, nullptr);
        for (int i = 0; i < 20; ++i)
        {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(20);
        }
        WriteBytes(LogFolder() + u"this run second.p7d", "second trace file of this run");
        // The window stays: the report after the run shows what is left.
        if (m_scenario == u"demand")
            throw std::runtime_error("the main window failed");
        HANDLE thread = CreateThread(nullptr, 0, CrashThread, &m_scenario, 0, nullptr);
        WaitForSingleObject(thread, 60000);
        return IDABORT;
    }

private:
    std::u16string m_scenario;
};

class CrashCheckingEndDialog : public CDialog
{
public:
    explicit CrashCheckingEndDialog(TestSondrelApp& app) : m_app(app) {}
    INT_PTR DoModal() override
    {
        m_installedWhileRunning = m_app.IsCrashReportInstalled();
        return IDOK;
    }
    TestSondrelApp& m_app;
    static BOOL m_installedWhileRunning;
};
BOOL CrashCheckingEndDialog::m_installedWhileRunning = TRUE;

std::string Property(const char* name, const CString& value)
{
    return std::string("Property: ") + name + " = " + Narrow(U16(value)) + "\r\n";
}

}  // namespace

class CrashReportScenario : public ::testing::TestWithParam<std::pair<const char16_t*, const char*>>
{};

// Each way to a report leaves one report of this run: its code, the system
// described as the OS reports it, only this run's trace files, the registry
// dumps, the DirectX text and the language, and the screenshot.
TEST_P(CrashReportScenario, LeavesOneReportOfThisRun)
{
    ScratchFolder::Remove(ReportRoot());
    ScratchFolder::Remove(LogFolder());
    CreateDirectoryW(W(ShellFolder(CSIDL_APPDATA) + u"Quorvane\\"), nullptr);
    CreateDirectoryW(W(ShellFolder(CSIDL_APPDATA) + u"Quorvane\\Sondrel\\"), nullptr);
    CreateDirectoryW(W(LogFolder()), nullptr);
    const std::vector<std::u16string> older = {u"older 1.p7d", u"older 2.p7d", u"older 3.p7d"};
    for (const std::u16string& name : older)
        WriteBytes(LogFolder() + name, "an older run's trace");

    RunSelf("CrashReportChild.Run", kCrashVariable, GetParam().first);
    EXPECT_EQ(crashsender::CloseSenders(), 1u);

    std::vector<std::u16string> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    const std::u16string& report = reports[0];
    std::string description = ReadBytes(report + u"description.txt");
    EXPECT_NE(description.find(std::string("Exception code: ") + GetParam().second + "\r\n"),
              std::string::npos)
        << description;
    EXPECT_NE(description.find("Application: Sondrel\r\nVersion: 1.2.6.196\r\n"), std::string::npos);

    // The properties as this process's own queries give them, in order.
    OSVERSIONINFOEXW os = {};
    os.dwOSVersionInfoSize = sizeof(os);
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&os)));
    SYSTEM_INFO si = {};
    GetSystemInfo(&si);
    CString strPointer;
    strPointer.Format(_T("%p"), si.lpMaximumApplicationAddress);
    std::string expected = Property("OsVersionExExist", _T("1")) + Property("OsVersionExist", _T("1"));
    auto number = [](unsigned long long value) {
        CString text;
        text.Format(_T("%I64u"), value);
        return text;
    };
    expected += Property("OsVersion: dwOSVersionInfoSize", number(sizeof(os))) +
                Property("OsVersion: dwMajorVersion", number(os.dwMajorVersion)) +
                Property("OsVersion: dwMinorVersion", number(os.dwMinorVersion)) +
                Property("OsVersion: dwBuildNumber", number(os.dwBuildNumber));
    EXPECT_NE(description.find(expected), std::string::npos) << description;
    EXPECT_NE(description.find(Property("siSysInfo: lpMaximumApplicationAddress", strPointer) +
                               Property("siSysInfo: dwActiveProcessorMask",
                                        [&] {
                                            CString text;
                                            text.Format(_T("%p"),
                                                        reinterpret_cast<void*>(si.dwActiveProcessorMask));
                                            return text;
                                        }()) +
                               Property("siSysInfo: dwNumberOfProcessors", number(si.dwNumberOfProcessors))),
              std::string::npos)
        << description;
    EXPECT_NE(
        description.find("Property: DirectXVersion = DirectX 9.0c installed\r\nProperty: LangID = 0\r\n"),
        std::string::npos)
        << description;

    // Exactly this run's trace files.
    std::vector<std::u16string> attached;
    for (const std::u16string& path : FilesIn(report, u"*.p7d"))
        attached.push_back(NameOf(path));
    std::vector<std::u16string> thisRun;
    for (const std::u16string& path : FilesIn(LogFolder(), u"*.p7d"))
        if (std::find(older.begin(), older.end(), NameOf(path)) == older.end())
            thisRun.push_back(NameOf(path));
    std::sort(attached.begin(), attached.end());
    std::sort(thisRun.begin(), thisRun.end());
    EXPECT_EQ(thisRun.size(), 2u);
    EXPECT_EQ(attached, thisRun);

    EXPECT_NE(ReadBytes(report + u"Environment.xml").find("name=\"PROCESSOR_IDENTIFIER\""),
              std::string::npos);
    EXPECT_NE(ReadBytes(report + u"ProductOptions.xml").find("name=\"ProductType\""), std::string::npos);
    EXPECT_EQ(ReadBytes(report + u"crashdump.dmp").substr(0, 4), "MDMP");

    // The screenshot in the window's colour.
    {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
        Gdiplus::GpBitmap* image = nullptr;
        ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile(W(report + u"screenshot.png"), &image),
                  Gdiplus::Ok);
        UINT width = 0, height = 0;
        Gdiplus::DllExports::GdipGetImageWidth(image, &width);
        Gdiplus::DllExports::GdipGetImageHeight(image, &height);
        Gdiplus::ARGB pixel = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(image, width / 2, height / 2, &pixel);
        EXPECT_EQ(pixel & 0xFFFFFF, 0xC03090u);
        Gdiplus::DllExports::GdipDisposeImage(image);
        Gdiplus::GdiplusShutdown(token);
    }
}

INSTANTIATE_TEST_SUITE_P(CrashReport, CrashReportScenario,
                         ::testing::Values(std::make_pair(u"access", "c0000005"),
                                           std::make_pair(u"throw", "80000101"),
                                           std::make_pair(u"demand", "000004d2")));

// Without the DLL the program runs, and uninstalls nothing.
TEST(CrashReport, WithoutTheLibraryTheProgramRuns)
{
    ScratchFolder::Remove(ReportRoot());
    EXPECT_EQ(RunSelf("CrashReportChild.Run", kCrashVariable, u"missing"), 0u);
    EXPECT_TRUE(Reports().empty());
}

// One start of the application in this process, as the scenario asks.
TEST(CrashReportChild, Run)
{
    std::u16string scenario = Environment(kCrashVariable);
    if (scenario.empty())
        GTEST_SKIP() << "run by the crash report tests";
    // The report names the language the program ran in.
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"LangID", 0);
    TestSondrelApp app;
    app.m_strExeFolder = W(ProgramFolder() + u"language_test_data\\");
    app.m_strCommonFolder = W(ProgramFolder() + u"app_program_data\\Common\\");
    if (scenario == u"missing")
        app.SetCrashLibraryName(_T("NoSuchCrashLibrary.dll"));
    app.m_makeMainDialog = [&](TestSondrelApp& self) -> CDialog* {
        if (scenario == u"missing")
            return new CrashCheckingEndDialog(self);
        EXPECT_TRUE(self.IsCrashReportInstalled());
        return new CrashingDialog(scenario);
    };
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(app.IsCrashReportInstalled());
    if (scenario == u"missing")
        EXPECT_FALSE(CrashCheckingEndDialog::m_installedWhileRunning);
    else
        EXPECT_EQ(scenario, u"demand") << "the process outlived its crash";
}
