// Start-up and shut-down in process, in a second process each (the toolkit
// shuts down once a process): folders from the user's shell folders, the
// engine's objects, skins, language and settings, the log, and the
// "Process is terminated" line when the main window's run ends abnormally.
#include "sondrel_gtest.h"

#include <stdexcept>

#include "app/program/resource.h"
#include "program_test_support.h"
#include "toolkit/foundation/theme/QVTProcessThemeManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

using namespace commontest;
using namespace tracetest;

namespace {

const char16_t kScenarioVariable[] = u"SONDREL_START_SCENARIO";

class EndingDialog : public CDialog
{
public:
    INT_PTR DoModal() override { return IDOK; }
};

class ThrowingDialog : public CDialog
{
public:
    INT_PTR DoModal() override { throw std::runtime_error("the main window failed"); }
};

CString EngineString(IMediaPropertyBag5* bag, const char16_t* name)
{
    BSTR value = nullptr;
    if (!bag || FAILED(bag->GetString(CEngineString(name), 0, &value)))
        return _T("<none>");
    return TakeEngineString(value);
}

std::vector<std::string> LogMessages(const std::u16string& path)
{
    std::vector<std::string> messages;
    std::string bytes = ReadBytes(path);
    size_t p = 0;
    while (p < bytes.size())
    {
        size_t end = bytes.find("\r\n", p);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(p, end - p);
        size_t prefix = line.find("): ");
        messages.push_back(prefix == std::string::npos ? line : line.substr(prefix + 3));
        p = end + 2;
    }
    return messages;
}

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(Startup, ANormalCloseWritesNoTerminatedLine)
{
    EXPECT_EQ(RunSelf("StartupChild.Run", kScenarioVariable, u"normal"), 0u);
}

TEST(Startup, AMainWindowEndedByAnExceptionWritesTheTerminatedLine)
{
    EXPECT_EQ(RunSelf("StartupChild.Run", kScenarioVariable, u"closing"), 0u);
    EXPECT_EQ(RunSelf("StartupChild.Run", kScenarioVariable, u"crash"), 0u);
    EXPECT_EQ(RunSelf("StartupChild.Run", kScenarioVariable, u"no window"), 0u);
}

// One start of the program's application in this process, as the scenario
// asks: "normal" ends the main window by its close, "closing" by an
// exception after the user asked to close, "crash" by an exception
// otherwise, "no window" has none to run.
TEST(StartupChild, Run)
{
    std::u16string scenario = Environment(kScenarioVariable);
    if (scenario.empty())
        GTEST_SKIP() << "run by the Startup tests";

    RegistryRedirect hives;
    ScratchFolder home("startup home");
    std::u16string appData = home.Path() + u"AppData\\", music = home.Path() + u"Music\\",
                   temp = home.Path() + u"Temp\\";
    for (const std::u16string& folder : {appData, music, temp})
        CreateDirectoryW(W(folder), nullptr);
    hives.SetShellFolder(u"AppData", appData.substr(0, appData.size() - 1));
    hives.SetShellFolder(u"My Music", music.substr(0, music.size() - 1));
    SetEnvironmentVariableW(u"TMP", W(temp));
    SetEnvironmentVariableW(u"TEMP", W(temp));
    SetRegistryDword(HKEY_CURRENT_USER, u"Software\\Quorvane\\Sondrel", u"LangID", 1);
    SetRegistryString(HKEY_CURRENT_USER, u"Software\\Quorvane\\Sondrel", u"Skin", u"VISTA.qvstyles");

    int theme = -1;
    int paintTheme = -1;
    CString errorTitle;
    bool dialogMade = false;
    {
        TestSondrelApp app;
        // The test's stand-ins for the program's folder (with its language
        // modules) and for the common files (with a skins folder).
        app.m_strExeFolder = W(ProgramFolder() + u"language_test_data\\");
        app.m_strCommonFolder = W(ProgramFolder() + u"app_program_data\\Common\\");
        app.SetTraceLibraryName(_T("NoSuchTraceLibrary.dll"));
        // A crash report closes the logs: the crash report tests have their own.
        app.SetCrashLibraryName(_T("NoSuchCrashLibrary.dll"));
        app.m_makeMainDialog = [&](TestSondrelApp& self) -> CDialog* {
            dialogMade = true;
            theme = QVTThemeManager()->GetTheme();
            CQVTPaintManager* paintManager = CQVTPaintManager::GetInstance();
            paintTheme = paintManager ? paintManager->GetCurrentTheme() : -1;
            errorTitle = LoadAppString(IDS_TITLE_ERROR);
            if (scenario == u"normal")
                return new EndingDialog;
            if (scenario == u"no window")
                return nullptr;
            self.m_bClosing = scenario == u"closing" ? 1 : 0;
            return new ThrowingDialog;
        };
        EXPECT_FALSE(app.InitInstance());
        EXPECT_TRUE(dialogMade);

        // Folders, each made and ending in a backslash.
        EXPECT_EQ(U16(app.m_strLogFolder), appData + u"Quorvane\\Sondrel\\Logs\\");
        EXPECT_EQ(U16(app.m_strDataFolder), appData + u"Quorvane\\Sondrel\\");
        EXPECT_EQ(U16(app.m_strFileListPath), appData + u"Quorvane\\Sondrel\\filelist.xml");
        EXPECT_EQ(U16(app.m_strOutputFolder), music + u"Quorvane\\Sondrel\\");
        EXPECT_EQ(U16(app.m_strTempFolder), temp + u"Quorvane\\Sondrel\\");
        EXPECT_EQ(app.m_strEngineTempPath, app.m_strTempFolder);
        for (const CString& folder : {app.m_strLogFolder, app.m_strOutputFolder, app.m_strTempFolder})
            EXPECT_TRUE(FolderExists(U16(folder))) << Narrow(U16(folder));

        // The engine's objects: the configuration bag and the global
        // configuration stay, the auxiliary object went with the tear-down.
        ASSERT_TRUE(app.m_pConfigBag);
        LONGLONG operation = 0;
        EXPECT_EQ(app.m_pConfigBag->GetInteger(CEngineString(u"Operation"), 0, &operation), S_OK);
        EXPECT_EQ(operation, 200);
        ASSERT_TRUE(app.m_pGlobalConfig);
        LONG options = 0;
        app.m_pGlobalConfig->GetOptions(&options);
        EXPECT_EQ(options, -1);
        EXPECT_EQ(EngineString(app.m_pGlobalConfig.Get(), u"AppCommandLine"), CString());
        EXPECT_EQ(EngineString(app.m_pGlobalConfig.Get(), u"ExePath"), app.m_strExeFolder);
        EXPECT_EQ(EngineString(app.m_pGlobalConfig.Get(), u"TempPath"), app.m_strTempFolder);
        EXPECT_FALSE(app.m_pEngineAux);

        // Skins (the qvstyles first), settings, language and themes.
        ASSERT_EQ(app.m_skinFiles.GetSize(), 3);
        EXPECT_EQ(app.m_skinFiles[2], CString(_T("office.msstyles")));
        EXPECT_EQ(app.GetSkinPath(app.FindSkin(app.m_strSkinFile)),
                  CString(W(ProgramFolder() + u"app_program_data\\Common\\Quorvane\\Skins\\vista.qvstyles")));
        EXPECT_FALSE(app.m_bSkinLoaded);
        EXPECT_EQ(app.m_nRibbonStyle, 32802);
        EXPECT_EQ(app.m_nRunningCounter, 1);
        EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, u"Software\\Quorvane\\Sondrel", u"Version"), 1260196u);
        EXPECT_EQ(app.m_nLanguageId, 1);
        EXPECT_EQ(errorTitle, CString(_T("\x041E\x0448\x0438\x0431\x043A\x0430")));
        EXPECT_EQ(theme, 2);
        EXPECT_EQ(paintTheme, 1);
        EXPECT_EQ(CString(app.m_pszRegistryKey), CString(_T("Quorvane")));
        EXPECT_EQ(app.GetMainDialog(), nullptr);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }

    std::vector<std::string> log = LogMessages(appData + u"Quorvane\\Sondrel\\Sondrel.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Init logging system: done");
    EXPECT_EQ(log.back(), "destroy product mutex: done");
    EXPECT_EQ(Has(log, "Process is terminated=1"), scenario == u"closing");
    EXPECT_EQ(Has(log, "Process is terminated=0"), scenario == u"crash" || scenario == u"no window");
    SetEnvironmentVariableW(u"TMP", nullptr);
    SetEnvironmentVariableW(u"TEMP", nullptr);
}
