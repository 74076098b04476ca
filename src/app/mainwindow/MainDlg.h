// The program's top-level window and its message loop: a resizable dialog
// carrying a ribbon and a status bar, with the recording dialog embedded as
// a child between them. It routes the ribbon's commands to the recorder,
// guards closing while a recording runs, minimises into the tray on request
// and runs two timers: the start-up task and the shut-down poll.
//
// The ribbon is built and laid out in MainDlgRibbon.cpp.
#pragma once

#include <afxwin.h>

#include "app/recorder/RecorderHost.h"
#include "app/recorder/SondrelDlg.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/controls/resize/QVTResizeDialog.h"
#include "toolkit/controls/tray/QVTTrayIcon.h"

class CQVTImageManager;
class CQVTCommandBars;
class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonTab;
class CSondrelApp;

class CMainDlg : public CQVTDialogBase<CQVTResizeDialog>, public IRecorderHost
{
    DECLARE_DYNAMIC(CMainDlg)

public:
    enum
    {
        TIMER_SHUTDOWN = 0,
        TIMER_STARTUP = 1,
        SHUTDOWN_PERIOD = 100,
        STARTUP_PERIOD = 500,
    };
    enum : DWORD
    {
        STATE_RECORDING = 0x01,  // set and cleared by the recording job
        STATE_CLOSING = 0x80,    // the user confirmed closing
    };

    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    CSondrelDlg& GetRecorder() { return m_wndRecorder; }

    // IRecorderHost: what the embedded recorder reads and changes here.
    BOOL IsRecording() const override { return (m_dwState & STATE_RECORDING) != 0; }
    void SetRecording(BOOL bRecording) override;
    LONG ExchangeStopRequest(LONG nValue) override;
    LONG GetStopRequest() const override;
    CQVTCommandBars* GetRecorderCommandBars() const override { return m_pCommandBars; }
    void UpdateRibbonCommands() override;
    void EnableRibbonTabs(BOOL bEnable) override;
    void SetStatusPaneText(int nPane, LPCTSTR pszText) override;
    CString GetFileListPath() const override;
    CString GetOutputFolder() const override;
    void SetOutputFolder(LPCTSTR pszFolder) override;
    IMediaPropertyBag5* GetConfigurationBag() const override;

    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    CQVTStatusBar& GetStatusBar() { return m_wndStatusBar; }
    BOOL IsInTray() const { return m_bInTray; }
    CQVTTrayIcon& GetTrayIcon() { return m_trayIcon; }

    // The ribbon (MainDlgRibbon.cpp).
    void BuildRibbon();
    // The steps of BuildRibbon.
    // The window's size less its client's: borders and caption.
    CSize NonClientSize() const;
    void BuildFilesTab(CQVTImageManager* pImages);
    void BuildFormatsTab(CQVTImageManager* pImages);
    void BuildHelpTab(CQVTImageManager* pImages);
    void AddTabRowControls();
    void AddQuickAccessControls(CQVTImageManager* pImages);
    // Installs the colour style's images; unless initial, redraws the bars
    // and the window. Stores the style as the current one.
    void ApplyRibbonStyle(int nStyle, BOOL bInitial);
    // The INI of a colour style's scheme; null for other values.
    static LPCTSTR AFXAPI RibbonStyleIni(int nStyle);
    // Grows the window by what the bars take, so that the template's client
    // area stays free for its controls.
    void LayoutBars();

    // State shared with the recording job.
    DWORD m_dwState;               // STATE_RECORDING, STATE_CLOSING; the other bits stay 0
    volatile LONG m_nStopRequest;  // 1 while no job runs or a stop was asked; changed only by exchange

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Enter and Escape never end the window.
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnCommandOK();
    afx_msg void OnCommandCancel();
    afx_msg void OnAbout();
    afx_msg void OnDonate();
    afx_msg void OnRibbonRecord();
    afx_msg void OnRecord();
    afx_msg void OnStop();
    afx_msg void OnPauseContinue();
    afx_msg void OnDeleteFiles();
    afx_msg void OnDeleteAllFiles();
    afx_msg void OnDeleteFilesFromDisk();
    afx_msg void OnRenameFile();
    afx_msg void OnFileInformation();
    afx_msg void OnFormat(UINT nID);
    afx_msg void OnRibbonStyle(UINT nID);
    afx_msg void OnMinimizeToTray();
    afx_msg void OnShowHideTray();
    afx_msg void OnExit();
    afx_msg void OnUpdateWhenIdle(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFormat(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMinimizeToTray(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    // OnInitDialog's steps.
    void LoadBarImages();
    void CreateStatusBar();
    void SetUpToolTips();
    void CreateRecorder();
    BOOL CreateTrayIcon();
    // The client rectangle less the ribbon above and the status bar below.
    CRect GetRecorderRect() const;

    void RunShutdownPoll();
    void RunStartupTask();
    // Shows or hides the ribbon's Record, Stop and Continue buttons.
    void ShowRecordingButtons(BOOL bRecord, BOOL bStop, BOOL bContinue);

    HICON m_hIcon;              // icon 128, shared
    CRect m_rcBarInsets;        // what the bars took at the last layout
    CSize m_szNonClient;        // borders and caption at the last layout
    BOOL m_bLayoutBusy;         // the bar layout runs
    BOOL m_bLayoutEnabled;      // the ribbon exists
    CQVTTrayIcon m_trayIcon;    // its window exists once created
    BOOL m_bInTray;             // hidden in the tray
    UINT_PTR m_nShutdownTimer;  // 0 when not running
    UINT_PTR m_nStartupTimer;
    BYTE m_bStartupPending;     // the start-up task has still to run
    BYTE m_bShutdownBusy;       // re-entrancy guard of the shut-down poll
    CSondrelDlg m_wndRecorder;  // made as a child between the ribbon and the status bar
    CQVTRibbonBar* m_pRibbonBar;
    CQVTStatusBar m_wndStatusBar;
    CQVTRibbonTab* m_pTabFiles;
    CQVTRibbonTab* m_pTabFormats;
    CQVTRibbonTab* m_pTabHelp;
    CQVTRibbonGroup* m_pGroupFormats;
};

// The application object the main window works for.
CSondrelApp* AFXAPI GetSondrelApp();
