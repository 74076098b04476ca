// The recorder: the child dialog (template 102) that the main window embeds
// between its ribbon and its status bar. It holds the output folder, the
// profile choice, the capture device, input and volume, the split settings,
// the file list of recordings, the transport buttons and the position
// slider; it owns the engine's capture source and player, runs the recording
// job inside OnStartConvert and is the converter's events sink.
//
// The class spans several files by concern: SondrelDlg.cpp (construction,
// controls, message map), SondrelDlgRecording.cpp (the job and its
// callbacks), SondrelDlgDevices.cpp (devices, inputs, volume) and
// SondrelDlgFormats.cpp (format, profile, folder and split choice); the file
// list and playback have files of their own.
//
// The main window sets m_pParent, then creates the dialog modeless as its
// child: CreateIndirect(m_lpDialogTemplate, pMainWindow).
#pragma once

#include <afxcmn.h>
#include <afxtempl.h>
#include <afxwin.h>

#include "app/files/EventsHelper.h"
#include "app/recorder/RecorderHost.h"
#include "app/recorder/RecorderResource.h"
#include "app/recording/ConverterEvents.h"
#include "app/recording/EngineObjects.h"
#include "common/ListViewSel.h"
#include "common/SliderEx.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/resize/QVTResizeDialog.h"

class CFileDesc;
class CFormatsConverterEx;
class CSondrelProfileManager;

// Messages the dialog posts to itself.
#define WM_RECORDER_REFRESH_DESC (WM_USER + 179)
#define WM_RECORDER_PLAYER_TICK (WM_USER + 180)

// The split value lists: the number's text (ending in a blank) and the
// value, kilobytes for "By size", seconds for "By duration".
struct SplitValue
{
    LPCTSTR pszNumber;
    int nValue;
    UINT nUnitString;
};
constexpr int SPLIT_SIZE_COUNT = 19;
constexpr int SPLIT_DURATION_COUNT = 20;
constexpr int SPLIT_SIZE_DEFAULT = 6;                 // 5 Mb
constexpr int SPLIT_DURATION_DEFAULT = 9;             // 5 min
constexpr double SPLIT_MARKER_LIMIT_MS = 86400000.0;  // markers stay within a day
extern const SplitValue g_SplitSizes[SPLIT_SIZE_COUNT];
extern const SplitValue g_SplitDurations[SPLIT_DURATION_COUNT];

class CSondrelDlg : public CQVTDialogBase<CQVTResizeDialog>, public CConverterEvents
{
public:
    explicit CSondrelDlg(CWnd* pParent = nullptr);
    ~CSondrelDlg() override;

    // Dialog.
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    // Enter and Escape do nothing.
    void OnOK() override {}
    void OnCancel() override {}

    // Enables the controls for idle (TRUE) or recording (FALSE); with
    // bPlayerOnly only the Record rule applies. Record stays disabled while
    // there is no player.
    void EnableControls(BOOL bEnable, BOOL bPlayerOnly);
    // The first selected row, -1 when none.
    int GetCurrentRow() const;

    // The recording job: runs to its end inside the call.
    void OnStartConvert();
    // Ends a running job at its next progress report; clears the pause, and
    // a paused job takes in no more sound.
    void RequestStop();

    // Format and profile choice.
    void OnSelectFormat(UINT nCommandId);
    // How Windows is restarted after a codec install that needs it; tests
    // put a recorder of the request in its place.
    static BOOL(WINAPI* s_pfnExitWindowsEx)(UINT uFlags, DWORD dwReason);
    void OnChangeFormat();
    CSondrelProfileManager* GetProfileManager() const { return m_pProfileManager; }

    // Devices.
    void OnChandeDevice();
    static BOOL AFXAPI IsMicrophoneName(CString strName);

    // The recording pause flag, set and cleared by the main window's
    // Pause/Continue command. While a job runs the capture pauses and goes
    // on at once, so that the file ends at the click and goes on from the
    // next one, whenever the job gets to its report.
    BOOL IsRecordingPaused() const { return m_bRecordingPaused; }
    void SetRecordingPaused(BOOL bPaused);

    // The converter's callbacks.
    HRESULT OnFileOpened(VARIANT_BOOL* pbStop) override;
    HRESULT OnItemDone(LONG* pnResult, VARIANT_BOOL* pbStop) override;
    HRESULT OnFileClosed(VARIANT_BOOL* pbStop) override;
    HRESULT GetOutputFormat(LONG* pnContainerType, IMediaPropertyBag5** ppProfile) override;
    HRESULT GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL* pbStop) override;
    HRESULT OnProgress(double dFileWritten, double dJobPosition, double dSourceDuration,
                       double dTotalEstimate, LONG nReserved1, LONG nReserved2, LONG* pnSplitRequest,
                       VARIANT_BOOL* pbStop) override;
    HRESULT OnError(LONG nCode, LONG nDetail, VARIANT_BOOL* pbStop) override;

    // The first free "Record-NNN<extension>" path in the folder (which ends
    // with a separator): numbers of three digits at least, gaps filled first.
    static CString AFXAPI FindFreeRecordPath(const CString& strFolder, LPCTSTR pszExtension);
    // The marker times of a split by duration, in milliseconds: every step
    // below a day.
    static void AFXAPI ComputeSplitMarkers(int nSeconds, CArray<double, double>& arrTimes);

    // The embedding window; set before the dialog window is created.
    IRecorderHost* m_pParent = nullptr;

    // The order CompareRows sorts by.
    struct FileSortOrder
    {
        int nColumn;
        BOOL bDescending;
    };

    // The file list (SondrelDlgFileList.cpp).
    void LoadFileList();
    void SaveFileList();
    // Removes the selected rows; with bDeleteFromDisk their files too. A
    // file that cannot be deleted keeps its row, and the user is told.
    void RemoveSelectedRows(BOOL bDeleteFromDisk);
    // Appends a row for the item and hands it the item's reference.
    int AppendFileRow(CFileDesc* pItem, LPCTSTR pszState);
    // Columns 1 to 3 of a row from its item.
    void FillFileRow(int nRow, CFileDesc* pItem);
    // Column 0 of every row: its number.
    void RenumberRows();
    CFileDesc* GetRowItem(int nRow) const;
    int FindItemRow(const CFileDesc* pItem) const;
    // Renames the row's file within its folder, replacing a file of that
    // name in one step; FALSE when nothing was renamed.
    BOOL RenameRowFile(int nRow, LPCTSTR pszNewName);
    enum RenameOutcome
    {
        RENAME_DONE,
        RENAME_UNCHANGED,  // its own name, or not a name at all
        RENAME_DECLINED,   // the user kept the file of that name
        RENAME_FAILED,     // the move failed: dwError says why
    };
    RenameOutcome TryRenameRow(int nRow, const CString& strName, DWORD& dwError);
    // -1, 0 or 1 by a list column (1 path, 2 title, 3 duration); lParamSort
    // points to a FileSortOrder.
    static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    afx_msg void OnDeleteFiles();
    afx_msg void OnDeleteAllFiles();
    afx_msg void OnDeleteFilesFromDisk();
    afx_msg void OnFileInformation();
    afx_msg void OnRenameFile();
    afx_msg void SelectAllRows();

    // Playback and the description panel (SondrelDlgPlayback.cpp).
    void StopPlayback();
    void RefreshDescInfo();
    void PlayItem(int nRow, double dStartMs);
    afx_msg void OnPlayPause();
    afx_msg void OnPlay();
    afx_msg void OnStopButton();
    afx_msg void OnPlayNext();
    afx_msg void OnPlayPrevious();
    HRESULT OnPlayerPositionEvent(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                  DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                  UINT* puArgErr);
    HRESULT OnPlayerStopEvent(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                              DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                              UINT* puArgErr);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // File list notifications.
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    // The rename dialog's try of a name: FALSE keeps the dialog open after
    // saying what went wrong.
    BOOL ApplyNewFileName(CFileDesc* pItem, const CString& strName);

    // Playback.
    afx_msg void OnListDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnPlayerTick(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshDescMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSliderReleased(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSliderChanging(WPARAM wParam, LPARAM lParam);
    // Makes the player's event sink, advises it and adds its two handlers.
    void ConnectPlayerEvents();
    // The player plays (not paused, not stopped).
    BOOL IsPlayerPlaying() const;
    // The playing item becomes pItem (a new reference), or none.
    void SetPlayingItem(CFileDesc* pItem);
    void SetPlayPauseImage(BOOL bPlaying);

    // Recording.
    afx_msg void OnRecordButton();
    afx_msg void OnManualSplit();
    void ShowRibbonRecordCommands(BOOL bRecording);
    void HoldCapture(BOOL bHold);
    void ClearStatusPanes();
    // Steps of the job from the profile to the converter's run; the run's
    // result (a failure it reported, or one that ended it).
    HRESULT RunConversion();
    // After the job: a row whose file never opened goes, and one still
    // shown as recording is closed.
    void CloseJobRow();
    // Removes the last row, named for a file that never opened.
    void DropUnopenedRow();
    // After the job: completion only when it ended by itself unhurt.
    void ShowJobEndMessage();
    // The message box of the job, with string ids; the pressed button.
    virtual int ShowJobMessage(UINT nText, UINT nTitle, UINT nFlags);
    // The item of the list's last row, the file being written; null when none.
    CFileDesc* GetLastRowItem() const;

    // Devices, inputs and volume.
    afx_msg void OnBnClickedRefreshdevices();
    afx_msg void OnDeviceSelChange();
    afx_msg void OnInputSelChange();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVolumeReleased(NMHDR* pNMHDR, LRESULT* pResult);
    void ShowVolumeText();

    // Format, profile, folder and split.
    afx_msg void OnProfileSelChange();
    afx_msg void OnEditProfiles();
    afx_msg void OnBrowseFolder();
    afx_msg void OnSplitCheck();
    afx_msg void FillSplitValues();

    DECLARE_MESSAGE_MAP()

    void SetTransportImages();
    void SetAnchors();
    void SetUpFileListColumns();
    void CreateEngineObjects();

public:
    // State, in the order the recorder's design gives it.
    int m_nLastSortColumn = -1;                         // list column last sorted, -1 when none
    BYTE m_bSortDescending[5] = {};                     // one per list column
    CEngineRef<IMediaCaptureSource5> m_pCaptureSource;  // devices, inputs, volume, capture
    // The player connection record: the player, its sink's cookie and the sink.
    CEngineRef<IMediaPlayer5> m_pPlayer;
    DWORD m_dwPlayerCookie = 0;  // 0 when the sink is not connected
    CEventsHelper<CSondrelDlg>* m_pPlayerEvents = nullptr;
    CSondrelProfileManager* m_pProfileManager = nullptr;  // owned
    CFileDesc* m_pPlayingItem = nullptr;                  // counted; the item played or held paused
    LONG m_nFirstError = 0;        // first engine error code that ended the current job
    BYTE m_bAbort = 0;             // an error ends the job at the next callback
    double m_dResumePosition = 0;  // ms where paused playback resumes
    BYTE m_bPlaybackPaused = 0;
    BYTE m_bSliderDragged = 0;
    BYTE m_bManualSplit = 0;                      // asked for and not yet passed on
    BYTE m_bRecordingPaused = 0;                  // the main window's Pause command
    BYTE m_bCaptureHeld = 0;                      // the job's capture is paused
    CFormatsConverterEx* m_pConverter = nullptr;  // only while a job runs
    HACCEL m_hAccelerators = nullptr;
    // The disk ran low during the current job (converter code 8): a job
    // that then ends by itself stopped for want of space, not by completion.
    BYTE m_bDiskLow = 0;
    // An error box was shown and the job has not recorded on since: a job
    // that then ends by itself was ended by the failure (a capture device
    // gone, say) even when the user chose to go on, and that is no
    // completion.
    BYTE m_bErrorLast = 0;
    // A file was closed and no next one named yet: a progress report now is
    // the end of the pass, not recording going on.
    BYTE m_bFileClosed = 0;
    // The file of the list's last row while a job runs: named (its row
    // added) but not open yet, open, or none.
    enum class JobFile
    {
        None,
        Named,
        Open
    };
    JobFile m_jobFile = JobFile::None;

    // Controls.
    CEdit m_editOutputFolder;
    CButton m_btnBrowse;
    CComboBox m_comboProfiles;
    CButton m_btnEditProfiles;
    CComboBox m_comboDevices;
    CComboBox m_comboInputs;
    CButton m_btnRefresh;
    CButton m_btnFileInformation;
    CButton m_btnRenameFile;
    CButton m_btnDeleteFiles;
    CButton m_btnDeleteAllFiles;
    CButton m_btnDeleteFromDisk;
    CQVTButton m_btnRecord;
    CQVTButton m_btnPlayPause;
    CQVTButton m_btnStop;
    CQVTButton m_btnPrevious;
    CQVTButton m_btnNext;
    CStatic m_staticPlayTime;
    CListViewSel m_listFiles;
    CSliderEx m_sliderPosition;
    CWnd m_wndVolumeText;
    CSliderCtrl m_sliderVolume;
    CButton m_checkSplit;
    CButton m_radioByDuration;
    CButton m_radioBySize;
    CComboBox m_comboSplitValue;
    CButton m_btnManualSplit;
};
