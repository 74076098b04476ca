// The program's application class. Its InitInstance runs the program's whole
// life: COM, language, logging, folders and engine objects, settings, skin
// and themes, the main window run modally, and the tear-down. It always
// returns FALSE, so the framework's own message loop never runs: the main
// window's modal loop is the program's message loop.
#pragma once

#include <utility>
#include <vector>

#include "app/recording/EngineObjects.h"
#include "common/ApplicationBase.h"

class CSondrelApp : public CApplicationBase
{
public:
    CSondrelApp();
    ~CSondrelApp() override;

    BOOL InitInstance() override;
    BOOL InitApplication() override;
    // Releases the engine's objects, then ends the frame.
    int ExitInstance() override;
    void LoadSettings() override;
    void SaveSettings() override;

    // Picks the skin's INI for a ribbon style and (re)loads the skin; with
    // bFull the toolkit's themes are applied again too.
    void ApplySkin(int nRibbonStyle, BOOL bFull);
    // The skin INI of a ribbon style's colour scheme; "" for other styles.
    static LPCTSTR AFXAPI SkinIniForRibbonStyle(int nRibbonStyle);
    // "AppCommandLine", "ExePath" and "TempPath" of the global engine
    // configuration.
    void SetEngineContext();

    // Support mail and diagnostics. Reason 0: the user asks; 1: a critical
    // exception ended the program.
    void QueryDirectXText();
    CString BuildSystemReport(int nReason);
    CString BuildSupportMailto(int nReason);
    void OpenSupportMail(int nReason);
    // "1,2,6,196" with points for commas.
    static CString AFXAPI GetVersionText();

    // Crash reporting through the crash-report DLL. Installing loads it and
    // describes the system to it; FALSE leaves the program without reports.
    BOOL InstallCrashReport();
    // Only what was installed is uninstalled.
    void UninstallCrashReport();
    // A report without a crash, under the exception code given.
    void GenerateCrashReport(DWORD dwCode);
    BOOL IsCrashReportInstalled() const { return m_bCrashReportInstalled; }
    // The OS version record and system information as named texts, in the
    // order the reports list them.
    std::vector<std::pair<CString, CString>> GetSystemProperties() const;
    // At crash time: closes the logs and adds this run's log files, the
    // DirectX text and the language id to the report. Returns 1.
    int CrashCallback();
    static int CALLBACK CrashCallbackEntry(void* pUserData);
    // Which DLL InstallCrashReport loads (tests point it elsewhere).
    void SetCrashLibraryName(LPCTSTR pszName) { m_strCrashLibrary = pszName; }

    CString m_strLogFolder;                 // <application data>\Quorvane\Sondrel\Logs\ .
    CStringArray m_startupTraceFiles;       // "*.p7d" files there before this run's logger started
    int m_nRunningCounter = -1;             // starts counted, -1 until read
    BYTE m_bClosing = 0;                    // the user asked the main window to close
    BOOL m_bMainWindowInitialized = FALSE;  // the main window finished its OnInitDialog
    CString m_strSkinFile;                  // file name of the skin
    int m_nRibbonStyle = 0;                 // command id of the ribbon colour style
    BOOL m_bSkinLoaded = FALSE;
    int m_nMinimizeToTray = 0;
    CString m_strOutputFolder;                       // new recordings
    CString m_strDataFolder;                         // <application data>\Quorvane\Sondrel\ .
    CString m_strFileListPath;                       // the data folder's "filelist.xml"
    CString m_strTempFolder;                         // <temp>\Quorvane\Sondrel\ .
    CString m_strEngineTempPath;                     // the copy the engine is told as "TempPath"
    CString m_strDirectXText;                        // filled on first need
    CString m_strDonationPage;                       // opened by the Donate commands
    CEngineRef<IMediaPropertyBag5> m_pConfigBag;     // "Operation" 200, handed to each recording job
    CEngineRef<IMediaPropertyBag5> m_pGlobalConfig;  // the engine's process-wide configuration
    CEngineRef<IMediaEngineAux5> m_pEngineAux;       // encoder configuration of the conversion driver

protected:
    // The top-level window, run modally by InitInstance.
    virtual CDialog* CreateMainDialog();

    DECLARE_MESSAGE_MAP()

private:
    void ReadLanguageId();
    void ReleaseEngineObjects();
    BOOL m_bStarting = FALSE;  // InitInstance is running its steps
    CString m_strCrashLibrary = _T("CrashRptx64.dll");
    HMODULE m_hCrashReport = nullptr;
    BOOL m_bCrashReportInstalled = FALSE;
    void StartLogging();
};

extern CSondrelApp theApp;
