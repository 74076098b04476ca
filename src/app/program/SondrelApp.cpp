#include "app/program/SondrelApp.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "app/mainwindow/MainDlg.h"
#include "app/mainwindow/MainWindowResource.h"
#include "app/program/DisplayResources.h"
#include "app/program/MessageBox.h"
#include "app/program/ShellResource.h"
#include "app/program/ProductInfo.h"
#include "app/program/SondrelSettings.h"
#include "app/program/resource.h"
#include "app/recording/ConverterContext.h"
#include "common/RegistryKey.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/theme/QVTProcessThemeManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const TCHAR kMutexName[] = _T("{8a132ab5-e9e9-4fd8-80a1-5f1a06bc892e}");
const TCHAR kAppName[] = _T("Sondrel");
const TCHAR kTraceOptionsTail[] = _T("P7.On=0 /P7.Sink=FileBin /P7.Pool=32768 /P7.Files=5 /P7.Roll=50mb");

// Characters of the buffer the temporary folder is read into.
const DWORD kPathBuffer = 2600;

// Maps libraries on a thread of their own and holds them until the object
// goes: their first user on the window's thread then finds them loaded.
class CBackgroundLibraries
{
public:
    explicit CBackgroundLibraries(std::initializer_list<LPCWSTR> names) : m_pState(new State{names, {}})
    {
        m_hThread = ::CreateThread(nullptr, 0, &CBackgroundLibraries::Load, m_pState, 0, nullptr);
        if (!m_hThread)
        {
            delete m_pState;
            m_pState = nullptr;
        }
    }
    ~CBackgroundLibraries()
    {
        if (!m_hThread)
            return;
        // Loads still running after this keep their state and libraries.
        if (::WaitForSingleObject(m_hThread, 5000) == WAIT_OBJECT_0)
        {
            for (HMODULE hModule : m_pState->modules)
                ::FreeLibrary(hModule);
            delete m_pState;
        }
        ::CloseHandle(m_hThread);
    }
    CBackgroundLibraries(const CBackgroundLibraries&) = delete;
    CBackgroundLibraries& operator=(const CBackgroundLibraries&) = delete;

private:
    struct State
    {
        std::vector<LPCWSTR> names;
        std::vector<HMODULE> modules;
    };
    static DWORD WINAPI Load(void* pParam)
    {
        State* pState = static_cast<State*>(pParam);
        try
        {
            pState->modules.reserve(pState->names.size());
            for (LPCWSTR pszName : pState->names)
            {
                if (HMODULE hModule = ::LoadLibraryW(pszName))
                    pState->modules.push_back(hModule);
            }
        }
        catch (...)
        {
        }
        return 0;
    }
    State* m_pState;
    HANDLE m_hThread = nullptr;
};

}  // namespace

BEGIN_MESSAGE_MAP(CSondrelApp, CApplicationBase)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CSondrelApp::CSondrelApp()
    : CApplicationBase(kMutexName, kAppName), m_strDonationPage(ProductInfo::kDonationPage)
{
}

CSondrelApp::~CSondrelApp()
{
    ReleaseEngineObjects();
}

int CSondrelApp::ExitInstance()
{
    ReleaseEngineObjects();
    return CApplicationBase::ExitInstance();
}

void CSondrelApp::ReleaseEngineObjects()
{
    // The engine's objects go while COM is still there.
    GetConverterContext().Release();
    m_pEngineAux.Reset();
    m_pGlobalConfig.Reset();
    m_pConfigBag.Reset();
}

LPCTSTR AFXAPI CSondrelApp::SkinIniForRibbonStyle(int nRibbonStyle)
{
    switch (nRibbonStyle)
    {
    case 32801:
        return _T("NormalBlue.ini");
    case 32802:
        return _T("NormalBlack2.ini");
    case 32803:
    case 32804:
        return _T("NormalSilver.ini");
    default:
        return _T("");
    }
}

void CSondrelApp::ReadLanguageId()
{
    DWORD dwLanguage = 0xFFFFFFFF;
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ) || !key.ReadDword(_T("LangID"), dwLanguage) ||
        dwLanguage == 0xFFFFFFFF)
    {
        dwLanguage = 0xFFFFFFFF;
        if (!key.Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ) ||
            !key.ReadDword(_T("LangID"), dwLanguage) || dwLanguage == 0xFFFFFFFF)
            dwLanguage = 0;
    }
    m_nLanguageId = static_cast<int>(dwLanguage);
}

void CSondrelApp::StartLogging()
{
    CString strLogFolder;
    if (GetSpecialFolder(CSIDL_APPDATA, strLogFolder, TRUE, nullptr))
    {
        AppendPathPart(strLogFolder, _T("Quorvane"), TRUE);
        AppendPathPart(strLogFolder, _T("Sondrel"), TRUE);
    }
    AppendPathPart(strLogFolder, _T("Logs"), TRUE);
    m_strLogFolder = strLogFolder;

    // Only this run's trace files belong in a report of this run.
    m_startupTraceFiles.RemoveAll();
    ListFiles(m_strLogFolder, _T("*.p7d"), m_startupTraceFiles);
    CString strOptions = _T("/P7.Dir=") + m_strLogFolder + _T(" ") + kTraceOptionsTail;
    if (!InitP7Log(strOptions, FALSE))
        InitFileLog(_T("Quorvane\\Sondrel"));
}

BOOL CSondrelApp::InitInstance()
{
    SetUpInputMethodWhileSingleThreaded();
    InitCOM(0, TRUE, FALSE);
    ReadLanguageId();

    InstallCrashReport();
    // Uninstalled on every way out of here, an exception's too.
    struct CrashReportGuard
    {
        CSondrelApp& app;
        ~CrashReportGuard() { app.UninstallCrashReport(); }
    } crashReportGuard{*this};

    StartLogging();

    ULONG_PTR nGdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    BOOL bGdiplus = Gdiplus::GdiplusStartup(&nGdiplusToken, &gdiplusInput, nullptr) == Gdiplus::Ok;

    m_bStarting = TRUE;
    const BOOL bInitialized = InitApplication();
    m_bStarting = FALSE;
    if (bInitialized)
    {
        ApplySkin(m_nRibbonStyle, TRUE);
        // The file list's XML libraries, with the network and URL libraries
        // they import, load while the windows are made.
        CBackgroundLibraries xmlLibraries({_T("msxml3.dll"), _T("msxml.dll")});

        std::unique_ptr<CDialog> pMainDialog(CreateMainDialog());
        m_pMainWnd = pMainDialog.get();
        SetMainDialog(pMainDialog.release());
        INT_PTR nResult = 0;
        const BOOL bEndedNormally = RunMainDialog(nResult);
        DeleteMainDialog();
        m_pMainWnd = nullptr;

        // An exception, or no window at all, ended the run.
        if (!bEndedNormally)
        {
            AppTrace(261, __FILE__, "CSondrelApp::InitInstance", _T("Process is terminated=%i"),
                     static_cast<int>(m_bClosing));
            if (!m_bClosing)
                GenerateCrashReport(1234);
        }
    }
    else
    {
        APP_LOG(_T("InitApplication: fail"));
        ShowMessageBox(nullptr, LoadAppString(IDS_START_FAILED), LoadAppString(IDS_TITLE_ERROR), SMB_OK,
                       nullptr);
    }

    // Tear-down, in reverse.
    GetConverterContext().SetEncoderConfig(nullptr);
    m_pEngineAux.Reset();
    if (m_bSkinLoaded)
    {
        // Loading no path unloads the skin while the windows still exist.
        QVTSkinManager()->LoadSkin(nullptr, nullptr);
        m_bSkinLoaded = FALSE;
    }
    if (bGdiplus)
        Gdiplus::GdiplusShutdown(nGdiplusToken);
    ShutdownApplication();
    UninstallCrashReport();
    return FALSE;
}

BOOL CSondrelApp::InitApplication()
{
    // The framework asks for this before InitInstance; the program's own
    // start-up runs it from InitInstance, in its place among the steps.
    if (!m_bStarting)
        return CApplicationBase::InitApplication();
    if (!InitMfc(_T("Quorvane")))
        return FALSE;
    CQVTWinThemeWrapper::CallSetProcessDPIAware();

    // The configuration bag handed to every recording job.
    CEngineRef<IMediaPropertyBag5> pConfigBag;
    if (SUCCEEDED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, pConfigBag)))
        pConfigBag->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_GLOBAL_CONFIG, 0);
    m_pConfigBag = pConfigBag;

    WCHAR szTemp[kPathBuffer] = {};
    DWORD nTemp = ::GetTempPathW(kPathBuffer, szTemp);
    m_strTempFolder = nTemp >= 3 && nTemp < kPathBuffer ? CString(szTemp) : m_strExeFolder;
    AppendPathPart(m_strTempFolder, _T("Quorvane"), TRUE);
    AppendPathPart(m_strTempFolder, _T("Sondrel"), TRUE);
    m_strEngineTempPath = m_strTempFolder;

    GetSpecialFolder(CSIDL_MYMUSIC, m_strOutputFolder, TRUE, _T("My Music"));
    AppendPathPart(m_strOutputFolder, _T("Quorvane"), TRUE);
    AppendPathPart(m_strOutputFolder, _T("Sondrel"), TRUE);

    CString strAppData;
    BOOL bAppData = GetSpecialFolder(CSIDL_APPDATA, strAppData, TRUE, _T("My Projects"));
    m_strDataFolder = strAppData;
    AppendPathPart(m_strDataFolder, _T("Quorvane"), TRUE);
    AppendPathPart(m_strDataFolder, _T("Sondrel"), TRUE);
    m_strFileListPath =
        bAppData ? m_strDataFolder + _T("filelist.xml") : m_strExeFolder + _T("My Music\\filelist.xml");

    CEngineRef<IMediaPropertyBag5> pGlobalConfig;
    if (SUCCEEDED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, pGlobalConfig)))
    {
        pGlobalConfig->SetOptions(-1);
        m_pGlobalConfig = pGlobalConfig;
        SetEngineContext();
    }
    CEngineRef<IMediaEngineAux5> pEngineAux;
    if (SUCCEEDED(CreateEngineObject(CLSID_MediaEngineAux5, IID_IMediaEngineAux5, pEngineAux)))
    {
        pEngineAux->Initialize(m_pGlobalConfig.Get());
        m_pEngineAux = pEngineAux;
    }
    // What the conversion driver takes from the application.
    CConverterContext& context = GetConverterContext();
    context.SetGlobalConfig(m_pGlobalConfig.Get());
    context.SetEncoderConfig(m_pEngineAux.Get());
    context.m_strTempFolder = m_strTempFolder;

    ScanSkins(m_strCommonFolder + _T("Quorvane") + _T("\\Skins\\"));
    LoadSettings();
    LoadLanguage(nullptr, nullptr);
    return TRUE;
}

void CSondrelApp::SetEngineContext()
{
    if (!m_pGlobalConfig)
        return;
    m_pGlobalConfig->SetString(CEngineString(MEDIA_PROP_APP_COMMAND_LINE), 0, CEngineString(m_strCommandLine),
                               0);
    m_pGlobalConfig->SetString(CEngineString(MEDIA_PROP_EXE_PATH), 0, CEngineString(m_strExeFolder), 0);
    m_pGlobalConfig->SetString(CEngineString(MEDIA_PROP_TEMP_PATH), 0, CEngineString(m_strEngineTempPath), 0);
}

void CSondrelApp::ApplySkin(int nRibbonStyle, BOOL bFull)
{
    CString strIni = SkinIniForRibbonStyle(nRibbonStyle);
    m_bSkinLoaded = FALSE;
    CString strSkinPath;
    if (m_skinFiles.GetSize() > 0)
        strSkinPath = GetSkinPath(FindSkin(m_strSkinFile));
    if (!strSkinPath.IsEmpty())
    {
        CQVTSkinManager* pManager = QVTSkinManager();
        UINT nOptions = pManager->GetApplyOptions() | qvtSkinApplyMetrics;
        if (bFull)
            nOptions |= qvtSkinApplyFrames;
        pManager->SetApplyOptions(nOptions);
        m_bSkinLoaded = pManager->LoadSkin(strSkinPath, strIni);
        // A skin of other schemas names its own default.
        if (!m_bSkinLoaded)
            m_bSkinLoaded = pManager->LoadSkin(strSkinPath, _T(""));
        // Threads the program starts later make their windows unskinned.
        pManager->m_bAutoApplyThreads = FALSE;
    }
    if (bFull)
    {
        QVTThemeManager()->SetTheme(2);
        // The paint manager stands before the main window.
        QVTPaintManager();
        CQVTPaintManager::SetTheme(1);
    }
}

CDialog* CSondrelApp::CreateMainDialog()
{
    return new CMainDlg();
}
