// The recorder's construction, controls, message map and enabling rules.
#include "app/recorder/SondrelDlg.h"

#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/recording/FormatsConverterEx.h"
#include "common/ApplicationBase.h"
#include "common/Logging.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

// An engine property bag with "Operation" and, unless -1, "OperationMode".
CEngineRef<IMediaPropertyBag5> MakeOperation(LONG nOperation, LONG nMode)
{
    CEngineRef<IMediaPropertyBag5> bag;
    if (FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, bag)))
        return bag;
    bag->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, nOperation, 0);
    if (nMode != -1)
        bag->SetInteger(CEngineString(MEDIA_PROP_OPERATION_MODE), 0, nMode, 0);
    return bag;
}

// Which button an accelerator command stands for: it acts only when that
// button would.
UINT ButtonOfAccelerator(UINT nCommand)
{
    switch (nCommand)
    {
    case ID_ACCEL_SELECT_ALL:
        return IDC_FILE_LIST;
    case ID_ACCEL_INFORMATION:
        return IDC_FILE_INFORMATION;
    case ID_ACCEL_PLAY:
    case ID_ACCEL_PLAY_PAUSE:
        return IDC_PLAY_PAUSE;
    case ID_ACCEL_STOP:
        return IDC_STOP;
    case ID_ACCEL_NEXT:
        return IDC_NEXT;
    case ID_ACCEL_PREVIOUS:
        return IDC_PREVIOUS;
    default:
        return 0;
    }
}

}  // namespace

CSondrelDlg::CSondrelDlg(CWnd* pParent)
{
    // The template comes through the resource manager, so that a language
    // resource can replace it.
    m_lpDialogTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_SONDREL_DIALOG);
    m_pParentWnd = pParent;
    m_pProfileManager = new CSondrelProfileManager(_T("Sondrel"), _T("SondrelProfiles"));
    CreateEngineObjects();
}

void CSondrelDlg::CreateEngineObjects()
{
    if (SUCCEEDED(CreateEngineObject(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5, m_pCaptureSource)))
    {
        // Opens the capture source for reading from its selected device.
        CEngineRef<IMediaFile5> file;
        if (SUCCEEDED(m_pCaptureSource.QueryTo(IID_IMediaFile5, file)))
        {
            CEngineRef<IMediaPropertyBag5> operation = MakeOperation(MEDIA_OPERATION_READ, MEDIA_MODE_DEVICE);
            file->Command(MEDIAFILE_CMD_OPEN, operation.Get());
        }
    }
    else
    {
        m_pCaptureSource.Reset();
    }
    if (FAILED(CreateEngineObject(CLSID_MediaPlayer5, IID_IMediaPlayer5, m_pPlayer)))
        m_pPlayer.Reset();
    ConnectPlayerEvents();
}

CSondrelDlg::~CSondrelDlg()
{
    SetPlayingItem(nullptr);
    delete m_pProfileManager;
    m_pProfileManager = nullptr;
    m_pCaptureSource.Reset();
    m_pPlayer.Reset();
    if (m_hWnd)
        DestroyWindow();
    // The player is gone: the sink is released without a disconnect.
    m_dwPlayerCookie = 0;
    if (m_pPlayerEvents)
        std::exchange(m_pPlayerEvents, nullptr)->Release();
}

// clang-format off
BEGIN_MESSAGE_MAP(CSondrelDlg, CQVTResizeDialog)
    ON_CBN_SELCHANGE(IDC_INPUTS, &CSondrelDlg::OnInputSelChange)
    ON_CBN_SELCHANGE(IDC_DEVICES, &CSondrelDlg::OnDeviceSelChange)
    ON_BN_CLICKED(IDC_REFRESH_DEVICES, &CSondrelDlg::OnBnClickedRefreshdevices)
    ON_BN_CLICKED(IDC_EDIT_PROFILES, &CSondrelDlg::OnEditProfiles)
    ON_CBN_SELCHANGE(IDC_PROFILES, &CSondrelDlg::OnProfileSelChange)
    ON_BN_CLICKED(IDC_BROWSE, &CSondrelDlg::OnBrowseFolder)
    ON_BN_CLICKED(IDC_RECORD, &CSondrelDlg::OnRecordButton)
    ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_VOLUME, &CSondrelDlg::OnVolumeReleased)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_SPLIT, &CSondrelDlg::OnSplitCheck)
    ON_BN_CLICKED(IDC_SPLIT_BY_DURATION, &CSondrelDlg::FillSplitValues)
    ON_BN_CLICKED(IDC_SPLIT_BY_SIZE, &CSondrelDlg::FillSplitValues)
    ON_BN_CLICKED(IDC_MANUAL_SPLIT, &CSondrelDlg::OnManualSplit)
    // The file list.
    ON_NOTIFY(LVN_DELETEITEM, IDC_FILE_LIST, &CSondrelDlg::OnDeleteItem)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_FILE_LIST, &CSondrelDlg::OnColumnClick)
    ON_NOTIFY(LVN_KEYDOWN, IDC_FILE_LIST, &CSondrelDlg::OnListKeyDown)
    ON_NOTIFY(NM_CLICK, IDC_FILE_LIST, &CSondrelDlg::OnListClick)
    ON_NOTIFY(NM_RCLICK, IDC_FILE_LIST, &CSondrelDlg::OnListRightClick)
    ON_COMMAND(IDC_DELETE_FILES, &CSondrelDlg::OnDeleteFiles)
    ON_COMMAND(ID_LIST_DELETE, &CSondrelDlg::OnDeleteFiles)
    ON_COMMAND(IDC_DELETE_ALL_FILES, &CSondrelDlg::OnDeleteAllFiles)
    ON_COMMAND(ID_LIST_DELETE_ALL, &CSondrelDlg::OnDeleteAllFiles)
    ON_COMMAND(IDC_DELETE_FROM_DISK, &CSondrelDlg::OnDeleteFilesFromDisk)
    ON_COMMAND(IDC_FILE_INFORMATION, &CSondrelDlg::OnFileInformation)
    ON_COMMAND(ID_ACCEL_INFORMATION, &CSondrelDlg::OnFileInformation)
    ON_COMMAND(ID_LIST_INFORMATION, &CSondrelDlg::OnFileInformation)
    ON_COMMAND(IDC_RENAME_FILE, &CSondrelDlg::OnRenameFile)
    ON_COMMAND(ID_LIST_RENAME, &CSondrelDlg::OnRenameFile)
    ON_COMMAND(ID_ACCEL_SELECT_ALL, &CSondrelDlg::SelectAllRows)
    // Playback and the description panel.
    ON_MESSAGE(WM_RECORDER_REFRESH_DESC, &CSondrelDlg::OnRefreshDescMsg)
    ON_MESSAGE(WM_RECORDER_PLAYER_TICK, &CSondrelDlg::OnPlayerTick)
    ON_NOTIFY(NM_DBLCLK, IDC_FILE_LIST, &CSondrelDlg::OnListDblClick)
    ON_COMMAND(IDC_STOP, &CSondrelDlg::OnStopButton)
    ON_COMMAND(ID_LIST_STOP, &CSondrelDlg::OnStopButton)
    ON_COMMAND(ID_ACCEL_STOP, &CSondrelDlg::OnStopButton)
    ON_COMMAND(IDC_PLAY_PAUSE, &CSondrelDlg::OnPlayPause)
    ON_COMMAND(ID_LIST_PAUSE, &CSondrelDlg::OnPlayPause)
    ON_COMMAND(ID_ACCEL_PLAY_PAUSE, &CSondrelDlg::OnPlayPause)
    ON_COMMAND(IDC_NEXT, &CSondrelDlg::OnPlayNext)
    ON_COMMAND(ID_LIST_NEXT, &CSondrelDlg::OnPlayNext)
    ON_COMMAND(ID_ACCEL_NEXT, &CSondrelDlg::OnPlayNext)
    ON_COMMAND(IDC_PREVIOUS, &CSondrelDlg::OnPlayPrevious)
    ON_COMMAND(ID_LIST_PREVIOUS, &CSondrelDlg::OnPlayPrevious)
    ON_COMMAND(ID_ACCEL_PREVIOUS, &CSondrelDlg::OnPlayPrevious)
    ON_COMMAND(ID_LIST_PLAY, &CSondrelDlg::OnPlay)
    ON_COMMAND(ID_ACCEL_PLAY, &CSondrelDlg::OnPlay)
    ON_MESSAGE(WM_SLIDEREX_RELEASED, &CSondrelDlg::OnSliderReleased)
    ON_MESSAGE(WM_SLIDEREX_CHANGING, &CSondrelDlg::OnSliderChanging)
END_MESSAGE_MAP()
// clang-format on

void CSondrelDlg::DoDataExchange(CDataExchange* pDX)
{
    CQVTResizeDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OUTPUT_FOLDER, m_editOutputFolder);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_PROFILES, m_comboProfiles);
    DDX_Control(pDX, IDC_EDIT_PROFILES, m_btnEditProfiles);
    DDX_Control(pDX, IDC_DEVICES, m_comboDevices);
    DDX_Control(pDX, IDC_INPUTS, m_comboInputs);
    DDX_Control(pDX, IDC_REFRESH_DEVICES, m_btnRefresh);
    DDX_Control(pDX, IDC_FILE_INFORMATION, m_btnFileInformation);
    DDX_Control(pDX, IDC_RENAME_FILE, m_btnRenameFile);
    DDX_Control(pDX, IDC_DELETE_FILES, m_btnDeleteFiles);
    DDX_Control(pDX, IDC_DELETE_ALL_FILES, m_btnDeleteAllFiles);
    DDX_Control(pDX, IDC_DELETE_FROM_DISK, m_btnDeleteFromDisk);
    DDX_Control(pDX, IDC_RECORD, m_btnRecord);
    DDX_Control(pDX, IDC_PLAY_PAUSE, m_btnPlayPause);
    DDX_Control(pDX, IDC_STOP, m_btnStop);
    DDX_Control(pDX, IDC_PREVIOUS, m_btnPrevious);
    DDX_Control(pDX, IDC_NEXT, m_btnNext);
    DDX_Control(pDX, IDC_PLAY_TIME, m_staticPlayTime);
    DDX_Control(pDX, IDC_FILE_LIST, m_listFiles);
    DDX_Control(pDX, IDC_VOLUME_TEXT, m_wndVolumeText);
    DDX_Control(pDX, IDC_VOLUME, m_sliderVolume);
    DDX_Control(pDX, IDC_SPLIT, m_checkSplit);
    DDX_Control(pDX, IDC_SPLIT_BY_DURATION, m_radioByDuration);
    DDX_Control(pDX, IDC_SPLIT_BY_SIZE, m_radioBySize);
    DDX_Control(pDX, IDC_SPLIT_VALUE, m_comboSplitValue);
    DDX_Control(pDX, IDC_MANUAL_SPLIT, m_btnManualSplit);
}

BOOL CSondrelDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccelerators && m_hWnd && IsWindowVisible())
    {
        if (::TranslateAcceleratorW(m_hWnd, m_hAccelerators, pMsg))
            return TRUE;
    }
    return CQVTDialogBase<CQVTResizeDialog>::PreTranslateMessage(pMsg);
}

BOOL CSondrelDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // An accelerator acts only when its button would: while a recording runs
    // they are disabled, and the job's message pump must not open playback
    // or a modal information dialog under it.
    if (HIWORD(wParam) == 1 && lParam == 0)
    {
        UINT nButton = ButtonOfAccelerator(LOWORD(wParam));
        if (nButton != 0)
        {
            HWND hButton = ::GetDlgItem(m_hWnd, nButton);
            if (!hButton || !::IsWindowEnabled(hButton))
                return TRUE;
        }
    }
    return CQVTResizeDialog::OnCommand(wParam, lParam);
}

BOOL CSondrelDlg::OnInitDialog()
{
    SetFlag(flagNoClipChildren);
    CQVTResizeDialog::OnInitDialog();

    m_pProfileManager->SetCurrentFormat(g_AudioFormatOrder[0]);
    SetTransportImages();
    if (m_pParent)
        m_editOutputFolder.SetWindowText(m_pParent->GetOutputFolder());
    SetUpFileListColumns();
    m_staticPlayTime.SetWindowText(_T("00:00/00:00"));

    m_sliderPosition.SubclassControl(::GetDlgItem(m_hWnd, IDC_POSITION));
    m_sliderPosition.SetPos(0);
    m_sliderPosition.SetLimits(0, 0);
    m_sliderPosition.EnableLimits(FALSE);
    m_sliderPosition.ShowLimitMarkers(FALSE);
    m_sliderPosition.SetChannelInverted(FALSE);
    m_sliderPosition.SetThumbWidth(8);
    m_sliderPosition.SetThumbHeight(16);

    m_sliderVolume.SetRange(0, 100);
    m_sliderVolume.SetPos(10);
    ShowVolumeText();

    m_checkSplit.SetCheck(BST_UNCHECKED);
    m_radioByDuration.SetCheck(BST_UNCHECKED);
    m_radioBySize.SetCheck(BST_UNCHECKED);
    m_radioByDuration.EnableWindow(FALSE);
    m_radioBySize.EnableWindow(FALSE);
    m_comboSplitValue.EnableWindow(FALSE);
    m_btnManualSplit.EnableWindow(FALSE);

    m_hAccelerators =
        ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_RECORDER_ACCELERATORS));
    SetAnchors();

    OnBnClickedRefreshdevices();
    OnChangeFormat();
    LoadFileList();
    RefreshDescInfo();
    // Without a player no recording can start.
    EnableControls(TRUE, TRUE);
    return TRUE;
}

void CSondrelDlg::SetTransportImages()
{
    const CSize size(10, 10);
    m_btnRecord.SetBitmap(size, IDB_TRANSPORT_RECORD);
    m_btnPlayPause.SetBitmap(size, IDB_TRANSPORT_PLAY);
    m_btnStop.SetBitmap(size, IDB_TRANSPORT_STOP);
    m_btnPrevious.SetBitmap(size, IDB_TRANSPORT_PREVIOUS);
    m_btnNext.SetBitmap(size, IDB_TRANSPORT_NEXT);
}

void CSondrelDlg::SetUpFileListColumns()
{
    m_listFiles.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    struct Column
    {
        UINT nString;  // 0: "#"
        int nWidth;    // pixels at 96 DPI
        int nFormat;
    };
    static const Column columns[] = {
        {0, 35, LVCFMT_LEFT},
        {IDS_COLUMN_FILE_NAME, 130, LVCFMT_LEFT},
        {IDS_COLUMN_FILE_PATH, 325, LVCFMT_LEFT},
        {IDS_COLUMN_DURATION, 80, LVCFMT_CENTER},
        {IDS_COLUMN_STATE, 145, LVCFMT_CENTER},
    };
    // The list lays its header out again at every column while it redraws:
    // once, at the end, is enough.
    m_listFiles.SetRedraw(FALSE);
    for (int i = 0; i < (int)_countof(columns); ++i)
    {
        CString strHeader = columns[i].nString ? LoadAppString(columns[i].nString) : CString(_T("#"));
        m_listFiles.InsertColumn(i, strHeader, columns[i].nFormat, QVTDpiScaler()->ScaleX(columns[i].nWidth));
    }
    m_listFiles.SetRedraw(TRUE);
}

void CSondrelDlg::SetAnchors()
{
    static const UINT moveRight[] = {IDC_SETTINGS,        IDC_BROWSE,      IDC_EDIT_PROFILES,
                                     IDC_REFRESH_DEVICES, IDC_SPLIT,       IDC_SPLIT_BY_DURATION,
                                     IDC_SPLIT_BY_SIZE,   IDC_SPLIT_VALUE, IDC_MANUAL_SPLIT};
    for (UINT nID : moveRight)
        SetControlAnchors(nID, CQVTResizeRect(1, 0, 1, 0));
    for (UINT nID : {IDC_OUTPUT_FOLDER, IDC_PROFILES, IDC_SETTINGS_GROUP})
        SetControlAnchors(nID, CQVTResizeRect(0, 0, 1, 0));
    SetControlAnchors(IDC_DEVICES, CQVTResizeRect(0, 0, 0.5f, 0));
    SetControlAnchors(IDC_INPUTS, CQVTResizeRect(0.5f, 0, 1, 0));
    SetControlAnchors(IDC_INPUT_LABEL, CQVTResizeRect(0.5f, 0, 0.5f, 0));
    for (UINT nID : {IDC_VOLUME, IDC_VOLUME_TEXT})
        SetControlAnchors(nID, CQVTResizeRect(0, 0, 0, 0));
    SetControlAnchors(IDC_FILE_LIST, CQVTResizeRect(0, 0, 1, 1));
    static const UINT fileButtons[] = {IDC_FILE_INFORMATION, IDC_RENAME_FILE, IDC_DELETE_FILES,
                                       IDC_DELETE_ALL_FILES, IDC_DELETE_FROM_DISK};
    for (int i = 0; i < 5; ++i)
        SetControlAnchors(fileButtons[i], CQVTResizeRect(0.2f * i, 1, 0.2f * (i + 1), 1));
    for (UINT nID : {IDC_PREVIOUS, IDC_RECORD, IDC_PLAY_PAUSE, IDC_STOP, IDC_NEXT})
        SetControlAnchors(nID, CQVTResizeRect(0, 1, 0, 1));
    SetControlAnchors(IDC_POSITION, CQVTResizeRect(0, 1, 1, 1));
    SetControlAnchors(IDC_PLAY_TIME, CQVTResizeRect(1, 1, 1, 1));
}

void CSondrelDlg::EnableControls(BOOL bEnable, BOOL bPlayerOnly)
{
    if (!bPlayerOnly)
    {
        if (m_pParent)
            m_pParent->EnableRibbonTabs(bEnable);
        CWnd* controls[] = {&m_comboProfiles, &m_listFiles,      &m_btnBrowse,         &m_btnEditProfiles,
                            &m_comboDevices,  &m_comboInputs,    &m_btnRefresh,        &m_btnFileInformation,
                            &m_btnRenameFile, &m_btnDeleteFiles, &m_btnDeleteAllFiles, &m_btnDeleteFromDisk,
                            &m_btnPlayPause,  &m_btnStop,        &m_btnPrevious,       &m_btnNext,
                            &m_checkSplit};
        for (CWnd* pControl : controls)
        {
            if (pControl->m_hWnd)
                pControl->EnableWindow(bEnable);
        }
        if (m_sliderPosition.m_hWnd)
            m_sliderPosition.SetEnabledLook(bEnable);
        BOOL bSplit = bEnable && m_checkSplit.m_hWnd && m_checkSplit.GetCheck() == BST_CHECKED;
        for (CWnd* pControl : {(CWnd*)&m_radioByDuration, (CWnd*)&m_radioBySize, (CWnd*)&m_comboSplitValue})
        {
            if (pControl->m_hWnd)
                pControl->EnableWindow(bSplit);
        }
        if (m_btnManualSplit.m_hWnd)
        {
            BOOL bByDuration = m_radioByDuration.m_hWnd && m_radioByDuration.GetCheck() == BST_CHECKED;
            m_btnManualSplit.EnableWindow(!bEnable && !bByDuration);
        }
    }
    if (!m_pPlayer && m_btnRecord.m_hWnd)
        m_btnRecord.EnableWindow(FALSE);
}

int CSondrelDlg::GetCurrentRow() const
{
    if (!m_listFiles.m_hWnd || m_listFiles.GetItemCount() == 0)
        return -1;
    return m_listFiles.GetNextItem(-1, LVNI_SELECTED);
}
