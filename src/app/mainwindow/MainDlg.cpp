#include "app/mainwindow/MainDlg.h"

#include <shellapi.h>

#include "app/mainwindow/MainWindowResource.h"
#include "app/mainwindow/RibbonLinkControls.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/HelpDialog.h"
#include "app/program/MessageBox.h"
#include "app/program/SondrelApp.h"
#include "app/program/resource.h"
#include "common/CommandBarControls.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CMainDlg, CQVTResizeDialog)

namespace {

// The status bar and its pane layout.
const UINT kStatusBarId = 0xE801;
const DWORD kStatusBarStyle = 0x56008200;
const UINT kPaneStretch = 0x8000000;
const UINT kStatusPanes[] = {0, 0, 0, 0};

// The recorder's Record button, as the ribbon's Record commands press it.
const UINT kRecorderRecordCommand = 1023;

// The bars' small images (toolbar 217) in image order.
const UINT kToolbarImageIds[] = {
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    32776,
    ID_NO_COMMAND_IMAGE,
    32777,
    32772,
    32775,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    32782,
    32778,
    32779,
    32780,
    32781,
    32784,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    ID_NO_COMMAND_IMAGE,
    32783,
};

}  // namespace

CSondrelApp* AFXAPI GetSondrelApp()
{
    return static_cast<CSondrelApp*>(CApplicationBase::GetInstance());
}

BEGIN_MESSAGE_MAP(CMainDlg, CQVTResizeDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_SYSCOMMAND()
    ON_COMMAND(IDOK, &CMainDlg::OnCommandOK)
    ON_COMMAND(IDCANCEL, &CMainDlg::OnCommandCancel)
    ON_COMMAND(ID_ABOUT, &CMainDlg::OnAbout)
    ON_COMMAND(ID_DONATE, &CMainDlg::OnDonate)
    ON_COMMAND(ID_RIBBON_RECORD, &CMainDlg::OnRibbonRecord)
    ON_COMMAND(ID_RECORD, &CMainDlg::OnRecord)
    ON_COMMAND(ID_STOP, &CMainDlg::OnStop)
    ON_COMMAND(ID_PAUSE_CONTINUE, &CMainDlg::OnPauseContinue)
    ON_COMMAND(ID_DELETE_FILES, &CMainDlg::OnDeleteFiles)
    ON_COMMAND(ID_DELETE_ALL_FILES, &CMainDlg::OnDeleteAllFiles)
    ON_COMMAND(ID_DELETE_FILES_FROM_DISK, &CMainDlg::OnDeleteFilesFromDisk)
    ON_COMMAND(ID_RENAME_FILE, &CMainDlg::OnRenameFile)
    ON_COMMAND(ID_FILE_INFORMATION, &CMainDlg::OnFileInformation)
    ON_COMMAND_RANGE(ID_FORMAT_FIRST, ID_FORMAT_LAST, &CMainDlg::OnFormat)
    ON_COMMAND_RANGE(ID_STYLE_BLUE, ID_STYLE_SILVER, &CMainDlg::OnRibbonStyle)
    ON_COMMAND(ID_MINIMIZE_TO_TRAY, &CMainDlg::OnMinimizeToTray)
    ON_COMMAND(ID_SHOW_HIDE_TRAY, &CMainDlg::OnShowHideTray)
    ON_COMMAND(ID_EXIT, &CMainDlg::OnExit)
    ON_UPDATE_COMMAND_UI(ID_ABOUT, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI(ID_DONATE, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI(IDR_RIBBON_OPTIONS, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI(IDR_RIBBON_STYLE, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_STYLE_BLUE, ID_STYLE_SILVER, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RIBBON_RECORD, ID_PAUSE_CONTINUE, &CMainDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI_RANGE(ID_DELETE_FILES, ID_FILE_INFORMATION, &CMainDlg::OnUpdateWhenIdle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FORMAT_FIRST, ID_FORMAT_LAST, &CMainDlg::OnUpdateFormat)
    ON_UPDATE_COMMAND_UI(ID_MINIMIZE_TO_TRAY, &CMainDlg::OnUpdateMinimizeToTray)
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent)
    : m_dwState(0), m_nStopRequest(1), m_hIcon(nullptr), m_rcBarInsets(0, 0, 0, 0), m_szNonClient(0, 0),
      m_bLayoutBusy(FALSE), m_bLayoutEnabled(FALSE), m_bInTray(FALSE), m_nShutdownTimer(0),
      m_nStartupTimer(0), m_bStartupPending(1), m_bShutdownBusy(0), m_pRibbonBar(nullptr),
      m_pTabFiles(nullptr), m_pTabFormats(nullptr), m_pTabHelp(nullptr), m_pGroupFormats(nullptr)
{
    // The template comes through the resource manager, so that a language
    // can replace it.
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_MAINDLG);
    if (pTemplate)
        InitModalIndirect(pTemplate, pParent);
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_MAINFRAME));
}

CMainDlg::~CMainDlg()
{
    if (m_nShutdownTimer && GetSafeHwnd())
        KillTimer(m_nShutdownTimer);
    if (m_nStartupTimer && GetSafeHwnd())
        KillTimer(m_nStartupTimer);
    if (m_wndStatusBar.GetSafeHwnd())
        m_wndStatusBar.DestroyWindow();
    if (m_wndRecorder.GetSafeHwnd())
        m_wndRecorder.DestroyWindow();
}

BOOL CMainDlg::OnInitDialog()
{
    SetFlag(CQVTResize::flagNoSizeIcon);
    CQVTResizeDialog::OnInitDialog();

    CenterWindow();
    SetWindowText(_T("Sondrel"));
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    InitCommandBars();
    LoadBarImages();
    CreateStatusBar();
    BuildRibbon();
    SetUpToolTips();
    CreateRecorder();

    CSondrelApp* pApp = GetSondrelApp();
    if (pApp && pApp->m_nMinimizeToTray && CreateTrayIcon())
        m_trayIcon.ShowIcon();

    CenterWindow();
    UpdateRibbonCommands();
    if (pApp)
        pApp->m_bMainWindowInitialized = TRUE;
    m_nStartupTimer = SetTimer(TIMER_STARTUP, STARTUP_PERIOD, nullptr);
    return TRUE;
}

void CMainDlg::LoadBarImages()
{
    if (!m_pCommandBars)
        return;
    m_pCommandBars->GetImageManager()->SetIcons(IDR_MAINTOOLBAR, kToolbarImageIds, _countof(kToolbarImageIds),
                                                CSize(16, 16));
}

void CMainDlg::CreateStatusBar()
{
    if (!m_wndStatusBar.Create(this, kStatusBarStyle, kStatusBarId))
        return;
    m_wndStatusBar.SetCommandBars(m_pCommandBars);
    m_wndStatusBar.SetIndicators(kStatusPanes, _countof(kStatusPanes));
    RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
    m_wndStatusBar.SetPaneStyle(0, kPaneStretch);
    m_wndStatusBar.SetPaneWidth(1, QVTDpiScaler()->ScaleX(150));
    m_wndStatusBar.SetPaneWidth(2, QVTDpiScaler()->ScaleX(150));
    m_wndStatusBar.SetPaneWidth(3, QVTDpiScaler()->ScaleX(160));
    for (int i = 0; i < static_cast<int>(_countof(kStatusPanes)); ++i)
        m_wndStatusBar.SetPaneText(i, _T(""));
}

void CMainDlg::SetUpToolTips()
{
    if (!m_pCommandBars)
        return;
    CQVTToolTipContext* pContext = m_pCommandBars->GetToolTipContext();
    if (!pContext)
        return;
    pContext->SetStyle(5);
    pContext->SetShowTitle(TRUE, 1);
    pContext->SetShowImage(TRUE, 0, 1);
    pContext->SetMargin(CRect(2, 2, 2, 2));
    pContext->SetMaxTipWidth(QVTDpiScaler()->ScaleX(180));
    CQVTPaintManager* pPaintManager = m_pCommandBars->GetPaintManager();
    if (pPaintManager)
        pContext->SetFont(pPaintManager->GetRegularFont());
    pContext->SetDelayTime(TTDT_INITIAL, 900);
}

CRect CMainDlg::GetRecorderRect() const
{
    CRect rc;
    GetClientRect(&rc);
    // The window itself may not be shown yet: the bars' own style decides.
    if (m_pRibbonBar && m_pRibbonBar->GetSafeHwnd() && (m_pRibbonBar->GetStyle() & WS_VISIBLE))
    {
        CRect rcRibbon;
        m_pRibbonBar->GetWindowRect(&rcRibbon);
        rc.top += rcRibbon.Height();
    }
    if (m_wndStatusBar.GetSafeHwnd() && (m_wndStatusBar.GetStyle() & WS_VISIBLE))
    {
        CRect rcStatus;
        m_wndStatusBar.GetWindowRect(&rcStatus);
        rc.bottom -= rcStatus.Height();
    }
    return rc;
}

void CMainDlg::CreateRecorder()
{
    m_wndRecorder.m_pParent = this;
    if (!m_wndRecorder.m_lpDialogTemplate ||
        !m_wndRecorder.CreateIndirect(m_wndRecorder.m_lpDialogTemplate, this))
        return;
    m_wndRecorder.MoveWindow(GetRecorderRect(), FALSE);
    m_wndRecorder.ShowWindow(SW_SHOW);
}

BOOL CMainDlg::CreateTrayIcon()
{
    if (m_trayIcon.GetSafeHwnd())
        return TRUE;
    m_trayIcon.Create(_T("Sondrel"), this, IDI_MAINFRAME, IDR_TRAYMENU, ID_SHOW_HIDE_TRAY, FALSE);
    return m_trayIcon.GetSafeHwnd() != nullptr;
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg)
{
    return CQVTDialogBase<CQVTResizeDialog>::PreTranslateMessage(pMsg);
}

BOOL CMainDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Nothing of ours may unwind through the system's dispatch.
    try
    {
        return CQVTDialogBase<CQVTResizeDialog>::OnWndMsg(message, wParam, lParam, pResult);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return TRUE;
}

void CMainDlg::OnOK() {}

void CMainDlg::OnCancel() {}

void CMainDlg::OnCommandOK()
{
    OnCancel();
}

void CMainDlg::OnCommandCancel()
{
    OnCancel();
}

void CMainDlg::OnPaint()
{
    if (!IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rc;
    GetClientRect(&rc);
    const int x = (rc.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rc.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMainDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CMainDlg::OnSize(UINT nType, int cx, int cy)
{
    CQVTResizeDialog::OnSize(nType, cx, cy);
    LayoutBars();
    CSondrelApp* pApp = GetSondrelApp();
    if (pApp && pApp->m_bMainWindowInitialized && m_wndRecorder.GetSafeHwnd())
        m_wndRecorder.MoveWindow(GetRecorderRect(), TRUE);
}

void CMainDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_SHUTDOWN)
        RunShutdownPoll();
    else if (nIDEvent == TIMER_STARTUP)
        RunStartupTask();
    else
        CQVTResizeDialog::OnTimer(nIDEvent);
}

void CMainDlg::RunShutdownPoll()
{
    if (m_bShutdownBusy)
        return;
    m_bShutdownBusy = 1;
    if (IsRecording())
        m_wndRecorder.RequestStop();
    if ((m_dwState & 0x0F) == 0 && (m_dwState & STATE_CLOSING))
    {
        if (m_nShutdownTimer)
            KillTimer(m_nShutdownTimer);
        if (m_nStartupTimer)
            KillTimer(m_nStartupTimer);
        m_nShutdownTimer = m_nStartupTimer = 0;
        m_wndRecorder.StopPlayback();
        EndDialog(IDOK);
    }
    m_bShutdownBusy = 0;
}

void CMainDlg::RunStartupTask()
{
    // The task's dialog would stall a recording begun before the first
    // tick: it waits until the job has returned.
    if (!m_bStartupPending || IsRecording() || (m_dwState & STATE_CLOSING))
        return;
    m_bStartupPending = 0;
    CSondrelApp* pApp = GetSondrelApp();
    if (!pApp)
        return;
    if (pApp->m_nRunningCounter < 2)
        OnAbout();
    StartUpdater(_T("/autocheck /autoclose"));
}

void CMainDlg::OnClose()
{
    CSondrelApp* pApp = GetSondrelApp();
    if (pApp && pApp->m_bClosing)
        return;
    if (IsRecording())
    {
        const CString strQuestion = LoadAppString(IDS_RECORDING_NOT_COMPLETE);
        const CString strTitle = LoadAppString(IDS_TITLE_CONFIRMATION);
        if (ShowMessageBox(nullptr, strQuestion, strTitle, SMB_INFO_YESNO, this) != IDYES)
            return;
        // The question's own loop may have let a second close through.
        if (pApp && pApp->m_bClosing)
            return;
    }
    m_wndRecorder.SaveFileList();
    m_dwState |= STATE_CLOSING;
    if (pApp)
        pApp->m_bClosing = TRUE;
    m_nShutdownTimer = SetTimer(TIMER_SHUTDOWN, SHUTDOWN_PERIOD, nullptr);
}

void CMainDlg::OnExit()
{
    OnClose();
}

void CMainDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    CSondrelApp* pApp = GetSondrelApp();
    if ((nID & 0xFFF0) == SC_MINIMIZE && pApp && pApp->m_nMinimizeToTray && m_trayIcon.GetSafeHwnd())
    {
        m_trayIcon.MinimizeToTray(this);
        m_bInTray = TRUE;
        return;
    }
    CQVTResizeDialog::OnSysCommand(nID, lParam);
}

void CMainDlg::OnAbout()
{
    CHelpDialog dialog(this);
    dialog.DoModal();
}

void CMainDlg::OnDonate()
{
    CSondrelApp* pApp = GetSondrelApp();
    if (pApp && !pApp->m_strDonationPage.IsEmpty())
        ::ShellExecuteW(nullptr, u"open", pApp->m_strDonationPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainDlg::OnRibbonRecord()
{
    if (m_pRibbonBar)
        m_pRibbonBar->SetCurrentTab(1);
    OnRecord();
}

void CMainDlg::OnRecord()
{
    if (!IsRecording() && m_wndRecorder.GetSafeHwnd())
        m_wndRecorder.PostMessage(WM_COMMAND, kRecorderRecordCommand, 0);
}

void CMainDlg::OnStop()
{
    if (IsRecording())
        m_wndRecorder.RequestStop();
}

void CMainDlg::OnPauseContinue()
{
    if (!IsRecording())
        return;
    if (m_wndRecorder.IsRecordingPaused())
    {
        ShowRecordingButtons(FALSE, TRUE, FALSE);
        m_wndRecorder.SetRecordingPaused(FALSE);
    }
    else
    {
        ShowRecordingButtons(FALSE, FALSE, TRUE);
        m_wndRecorder.SetRecordingPaused(TRUE);
    }
}

void CMainDlg::ShowRecordingButtons(BOOL bRecord, BOOL bStop, BOOL bContinue)
{
    EnableCommandBarControls(m_pCommandBars, qvtControlButton, ID_RECORD, bRecord);
    EnableCommandBarControls(m_pCommandBars, qvtControlSplitButtonPopup, ID_PAUSE_CONTINUE, bContinue);
    EnableCommandBarControls(m_pCommandBars, qvtControlSplitButtonPopup, ID_STOP, bStop);
    if (m_pRibbonBar)
        m_pRibbonBar->OnIdleUpdate(0, 0);
}

void CMainDlg::OnDeleteFiles()
{
    m_wndRecorder.OnDeleteFiles();
}

void CMainDlg::OnDeleteAllFiles()
{
    m_wndRecorder.OnDeleteAllFiles();
}

void CMainDlg::OnDeleteFilesFromDisk()
{
    m_wndRecorder.OnDeleteFilesFromDisk();
}

void CMainDlg::OnRenameFile()
{
    m_wndRecorder.OnRenameFile();
}

void CMainDlg::OnFileInformation()
{
    m_wndRecorder.OnFileInformation();
}

void CMainDlg::OnFormat(UINT nID)
{
    m_wndRecorder.OnSelectFormat(nID);
}

void CMainDlg::OnRibbonStyle(UINT nID)
{
    CSondrelApp* pApp = GetSondrelApp();
    if (!pApp || static_cast<int>(nID) == pApp->m_nRibbonStyle)
        return;
    ApplyRibbonStyle(static_cast<int>(nID), FALSE);
    if (pApp->m_bSkinLoaded)
        pApp->ApplySkin(static_cast<int>(nID), FALSE);
    pApp->SaveSettings();
}

void CMainDlg::OnMinimizeToTray()
{
    CSondrelApp* pApp = GetSondrelApp();
    if (!pApp)
        return;
    pApp->m_nMinimizeToTray = !pApp->m_nMinimizeToTray;
    // A tray icon that cannot be made leaves the setting changed.
    if (m_trayIcon.GetSafeHwnd() || CreateTrayIcon())
    {
        if (pApp->m_nMinimizeToTray)
            m_trayIcon.ShowIcon();
        else
            m_trayIcon.HideIcon();
    }
    pApp->SaveSettings();
}

void CMainDlg::OnShowHideTray()
{
    if (!m_bInTray)
    {
        m_trayIcon.MinimizeToTray(this);
        m_bInTray = TRUE;
    }
    else
    {
        m_trayIcon.RestoreFromTray(this);
        m_bInTray = FALSE;
    }
}

void CMainDlg::OnUpdateWhenIdle(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsRecording());
}

void CMainDlg::OnUpdateAlways(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CMainDlg::OnUpdateFormat(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsRecording());
    CSondrelProfileManager* pProfiles = m_wndRecorder.GetProfileManager();
    pCmdUI->SetCheck(pProfiles &&
                     static_cast<int>(pCmdUI->m_nID) - ID_FORMAT_FIRST == pProfiles->GetCurrentFormat());
}

void CMainDlg::OnUpdateMinimizeToTray(CCmdUI* pCmdUI)
{
    CSondrelApp* pApp = GetSondrelApp();
    pCmdUI->Enable(!IsRecording());
    pCmdUI->SetCheck(pApp && pApp->m_nMinimizeToTray);
}

void CMainDlg::UpdateRibbonCommands()
{
    if (m_pRibbonBar)
        m_pRibbonBar->OnIdleUpdate(0, 0);
}

void CMainDlg::SetRecording(BOOL bRecording)
{
    if (bRecording)
        m_dwState |= STATE_RECORDING;
    else
        m_dwState &= ~static_cast<DWORD>(STATE_RECORDING);
}

LONG CMainDlg::ExchangeStopRequest(LONG nValue)
{
    return ::InterlockedExchange(&m_nStopRequest, nValue);
}

LONG CMainDlg::GetStopRequest() const
{
    return ::InterlockedCompareExchange(const_cast<volatile LONG*>(&m_nStopRequest), 0, 0);
}

void CMainDlg::EnableRibbonTabs(BOOL bEnable)
{
    for (CQVTRibbonTab* pTab : {m_pTabFiles, m_pTabHelp})
        if (pTab)
            pTab->SetEnabled(bEnable);
    if (m_pRibbonBar)
        m_pRibbonBar->Invalidate();
}

void CMainDlg::SetStatusPaneText(int nPane, LPCTSTR pszText)
{
    if (m_wndStatusBar.GetSafeHwnd())
        m_wndStatusBar.SetPaneText(nPane, pszText);
}

CString CMainDlg::GetFileListPath() const
{
    CSondrelApp* pApp = GetSondrelApp();
    return pApp ? pApp->m_strFileListPath : CString();
}

CString CMainDlg::GetOutputFolder() const
{
    CSondrelApp* pApp = GetSondrelApp();
    return pApp ? pApp->m_strOutputFolder : CString();
}

void CMainDlg::SetOutputFolder(LPCTSTR pszFolder)
{
    CSondrelApp* pApp = GetSondrelApp();
    if (!pApp)
        return;
    pApp->m_strOutputFolder = pszFolder;
    pApp->SaveSettings();
}

IMediaPropertyBag5* CMainDlg::GetConfigurationBag() const
{
    CSondrelApp* pApp = GetSondrelApp();
    return pApp ? pApp->m_pConfigBag.Get() : nullptr;
}
