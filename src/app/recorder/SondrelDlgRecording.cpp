// The recording job: OnStartConvert prepares the engine's objects from the
// dialog's settings and runs the converter to its end on the UI thread; the
// converter's callbacks name the output files, show progress, pass on the
// user's stop, pause and split, and report errors.
#include "app/recorder/SondrelDlg.h"

#include "app/files/FileDesc.h"
#include "app/formats/AudioFormats.h"
#include "app/mainwindow/MainWindowResource.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/MessageBox.h"
#include "app/program/TextFormat.h"
#include "app/program/resource.h"
#include "app/recorder/RecordingWaitPump.h"
#include "app/recording/FormatsConverterEx.h"
#include "common/ApplicationBase.h"
#include "common/CommandBarControls.h"
#include "common/Logging.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

#include <shlwapi.h>

namespace {

// What OnError shows for the engine's codes 1 to 7: the text and whether the
// user may go on.
struct RecorderErrorText
{
    UINT nString;
    BOOL bMayContinue;
};

const RecorderErrorText* FindRecorderError(LONG nCode)
{
    static const RecorderErrorText errors[] = {
        {IDS_ERROR_RECORDING, FALSE},    {IDS_ERROR_RECORDING, FALSE},      {IDS_ERROR_FORMAT, FALSE},
        {IDS_ERROR_FILE_CREATION, TRUE}, {IDS_ERROR_FILE_FINALIZING, TRUE}, {IDS_ERROR_CONVERSION, TRUE},
        {IDS_ERROR_CONVERSION, TRUE},
    };
    if (nCode < 1 || nCode > (LONG)_countof(errors))
        return nullptr;
    return &errors[nCode - 1];
}

}  // namespace

void CSondrelDlg::OnRecordButton()
{
    if (m_pParent && !m_pParent->IsRecording())
    {
        OnStartConvert();
        return;
    }
    RequestStop();
}

// The job ends at its next report, the recording at the click: the capture
// is held here as a pause holds it, and the job's read ends with the sound
// captured before it.
void CSondrelDlg::RequestStop()
{
    m_bRecordingPaused = 0;
    if (m_pParent)
        m_pParent->ExchangeStopRequest(1);
    if (m_pConverter)
        HoldCapture(TRUE);
}

void CSondrelDlg::SetRecordingPaused(BOOL bPaused)
{
    m_bRecordingPaused = bPaused ? 1 : 0;
    // After a stop the capture stays held, whatever comes before the job ends.
    if (m_pConverter && (!m_pParent || m_pParent->GetStopRequest() == 0))
        HoldCapture(m_bRecordingPaused);
}

// A stop clears the pause flag but leaves the capture held: nothing after
// the pause reaches the file, and the job's waiting read ends.
void CSondrelDlg::HoldCapture(BOOL bHold)
{
    if (!m_pCaptureSource || m_bCaptureHeld == (bHold ? 1 : 0))
        return;
    m_bCaptureHeld = bHold ? 1 : 0;
    const HRESULT hr = bHold ? m_pCaptureSource->Pause() : m_pCaptureSource->Start(0);
    // The sound server did not answer in time: the moment is only as good as
    // the sound it had delivered.
    if (hr == MEDIA_S_MOMENT_AT_DELIVERED)
        APP_LOG(bHold ? _T("Pause: no answer from the sound server, paused after the sound delivered")
                      : _T("Continue: no answer from the sound server, continued after the sound delivered"));
    // The job's next read reports the lost device to the user.
    else if (hr == MEDIA_E_DEVICE_LOST)
        APP_LOG(bHold ? _T("Pause: the capture device is lost") : _T("Continue: the capture device is lost"));
}

void CSondrelDlg::OnManualSplit()
{
    m_bManualSplit = 1;
}

void CSondrelDlg::ShowRibbonRecordCommands(BOOL bRecording)
{
    CQVTCommandBars* pBars = m_pParent ? m_pParent->GetRecorderCommandBars() : nullptr;
    if (!pBars)
        return;
    if (bRecording)
    {
        EnableCommandBarControls(pBars, qvtControlButton, ID_RECORD, FALSE);
        EnableCommandBarControls(pBars, qvtControlSplitButtonPopup, ID_STOP, TRUE);
        EnableCommandBarControls(pBars, qvtControlSplitButtonPopup, ID_PAUSE_CONTINUE, FALSE);
    }
    else
    {
        EnableCommandBarControls(pBars, qvtControlSplitButtonPopup, ID_PAUSE_CONTINUE, FALSE);
        EnableCommandBarControls(pBars, qvtControlSplitButtonPopup, ID_STOP, FALSE);
        EnableCommandBarControls(pBars, qvtControlButton, ID_RECORD, TRUE);
    }
}

void CSondrelDlg::ClearStatusPanes()
{
    if (!m_pParent)
        return;
    for (int i = 0; i < 4; ++i)
        m_pParent->SetStatusPaneText(i, _T(""));
}

void AFXAPI CSondrelDlg::ComputeSplitMarkers(int nSeconds, CArray<double, double>& arrTimes)
{
    arrTimes.RemoveAll();
    if (nSeconds <= 0)
        return;
    const double dStep = nSeconds * 1000.0;
    for (double dTime = dStep; dTime < SPLIT_MARKER_LIMIT_MS; dTime += dStep)
        arrTimes.Add(dTime);
}

void CSondrelDlg::OnStartConvert()
{
    APP_LOG_START(_T("OnStartConvert"));
    StopPlayback();
    if (m_pParent)
    {
        m_pParent->SetRecording(TRUE);
        m_pParent->ExchangeStopRequest(0);
    }
    ClearStatusPanes();
    ShowRibbonRecordCommands(TRUE);

    int nRow = GetCurrentRow();
    if (nRow >= 0 && m_listFiles.SetItemState(nRow, 0, LVIS_SELECTED | LVIS_FOCUSED))
        m_listFiles.EnsureVisible(nRow, FALSE);
    EnableControls(FALSE, FALSE);
    UpdateWindow();
    if (m_pParent)
        m_pParent->UpdateRibbonCommands();

    m_bManualSplit = 0;
    m_bRecordingPaused = 0;
    m_bAbort = 0;
    m_nFirstError = 0;
    m_bDiskLow = 0;
    m_bErrorLast = 0;
    m_bFileClosed = 0;
    m_jobFile = JobFile::None;

    // Whatever fails on the way, the job ends as a failed recording: the
    // capture stops, the converter goes, the user is told, and the window
    // comes back, or the program could never end.
    HRESULT hrRun = S_OK;
    try
    {
        hrRun = RunConversion();
    }
    catch (...)
    {
        hrRun = ResultOfCaughtException();
    }
    if (m_pCaptureSource)
        m_pCaptureSource->Stop();
    m_bCaptureHeld = 0;
    delete m_pConverter;
    m_pConverter = nullptr;
    try
    {
        if (FAILED(hrRun) && m_nFirstError == 0)
        {
            VARIANT_BOOL bStop = 0;
            OnError(CONVERTER_ERROR_RUN, hrRun, &bStop);
        }
        CloseJobRow();
        PumpWaitingMessages(nullptr);
        ShowJobEndMessage();
    }
    catch (...)
    {
        ResultOfCaughtException();
    }

    ShowRibbonRecordCommands(FALSE);
    if (nRow >= 0 && nRow < m_listFiles.GetItemCount() &&
        m_listFiles.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED))
        m_listFiles.EnsureVisible(nRow, FALSE);
    ClearStatusPanes();
    RefreshDescInfo();
    EnableControls(TRUE, FALSE);

    if (m_pParent)
    {
        m_pParent->ExchangeStopRequest(1);
        m_pParent->SetRecording(FALSE);
        m_pParent->UpdateRibbonCommands();
    }
    APP_LOG_END(_T("OnStartConvert"));
}

HRESULT CSondrelDlg::RunConversion()
{
    const AudioFormatDesc& format = g_AudioFormats[m_pProfileManager->GetCurrentFormat()];
    CEngineRef<IMediaPropertyBag5> profile(m_pProfileManager->GetProfile());
    CEngineRef<IMediaSource5> stream;
    double dStreamValue = 0;
    if (SUCCEEDED(m_pCaptureSource.QueryTo(IID_IMediaSource5, stream)))
        stream->GetDuration(MEDIA_STREAM_ANY, &dStreamValue);

    CEngineRef<IMediaConversionJob5> job;
    CEngineRef<IUnknown> markers;
    if (SUCCEEDED(CreateEngineObject(CLSID_MediaConversionJob5, IID_IMediaConversionJob5, job)))
    {
        job->SetContainerType(format.nContainerType);
        job->SetOption(0);
        job->SetProfile(profile.Get());

        LONG nSplitFlags = 0, nSplitKilobytes = 0;
        int nSplitEntry = m_comboSplitValue.GetCurSel();
        DWORD_PTR nSplitValue = nSplitEntry != CB_ERR ? m_comboSplitValue.GetItemData(nSplitEntry) : 0;
        if (m_radioByDuration.GetCheck() == BST_CHECKED && nSplitEntry != CB_ERR)
        {
            nSplitFlags = MEDIA_SPLIT_AT_MARKERS;
            CEngineRef<IMediaMarkerList5> list;
            if (SUCCEEDED(CreateEngineObject(CLSID_MediaMarkerList5, IID_IMediaMarkerList5, list)))
            {
                list->SetEnabled(VARIANT_TRUE);
                CArray<double, double> times;
                ComputeSplitMarkers((int)nSplitValue, times);
                for (INT_PTR i = 0; i < times.GetSize(); ++i)
                {
                    LONG nIndex = -1;
                    if (SUCCEEDED(list->Add(times[i], 0.0, nullptr, &nIndex)))
                        list->EnableMarker(nIndex, VARIANT_TRUE);
                }
                list.QueryTo(IID_IUnknown, markers);
            }
        }
        if (m_radioBySize.GetCheck() == BST_CHECKED && nSplitEntry != CB_ERR)
        {
            nSplitFlags |= MEDIA_SPLIT_BY_SIZE;
            nSplitKilobytes = (LONG)nSplitValue;
        }
        job->SetSplitFlags(nSplitFlags);
        job->SetSplitSize(nSplitKilobytes);
        job->SetMarkerList(markers.Get());
        job->SetInput(0, m_pCaptureSource.Get(), dStreamValue);
        job->Setup(0, m_pParent ? m_pParent->GetConfigurationBag() : nullptr, 0);
    }
    stream.Reset();
    profile.Reset();

    m_pConverter = new CFormatsConverterEx();
    m_pConverter->SetEvents(this);
    m_pConverter->SetSizeMargin(32768);
    m_pConverter->SetFrameObserverSwitch(0);
    m_bCaptureHeld = 0;
    if (m_pCaptureSource)
        m_pCaptureSource->Start(0);
    // The job's reads keep the window answering while they wait for sound;
    // a read held by a pause ends once the job is to stop.
    CRecordingWaitPump pump(m_pCaptureSource.Get(), [this] {
        return m_bCaptureHeld && m_pParent && m_pParent->GetStopRequest() != 0;
    });
    return m_pConverter->Run(job.Get(), TRUE);
}

void CSondrelDlg::CloseJobRow()
{
    if (m_jobFile == JobFile::Named)
    {
        DropUnopenedRow();
        return;
    }
    // The converter closes every file it opened, unless it failed before it
    // could: the row then stops showing a recording all the same.
    if (m_jobFile == JobFile::Open)
        OnFileClosed(nullptr);
}

void CSondrelDlg::DropUnopenedRow()
{
    m_jobFile = JobFile::None;
    const int nRow = m_listFiles.GetItemCount() - 1;
    if (nRow >= 0)
        m_listFiles.DeleteItem(nRow);
}

void CSondrelDlg::ShowJobEndMessage()
{
    LONG nStopRequest = m_pParent ? m_pParent->GetStopRequest() : 1;
    if (nStopRequest != 0 || m_nFirstError != 0 || m_bErrorLast)
        return;
    // A live recording ends by itself only on a failure: after a low-disk
    // report it stopped for want of space, and that is no completion.
    if (m_bDiskLow)
    {
        ShowJobMessage(IDS_RECORDING_STOPPED_DISK, IDS_TITLE_ERROR, SMB_ERROR_OK);
        return;
    }
    ShowJobMessage(IDS_RECORDING_COMPLETED, IDS_TITLE_INFORMATION, SMB_INFO_OK);
}

int CSondrelDlg::ShowJobMessage(UINT nText, UINT nTitle, UINT nFlags)
{
    return ShowMessageBox(nullptr, LoadAppString(nText), LoadAppString(nTitle), nFlags, this);
}

HRESULT CSondrelDlg::OnFileOpened(VARIANT_BOOL* pbStop)
{
    m_jobFile = JobFile::Open;
    if (m_bAbort && pbStop)
        *pbStop = VARIANT_TRUE;
    return 0;
}

HRESULT CSondrelDlg::OnItemDone(LONG* /*pnResult*/, VARIANT_BOOL* pbStop)
{
    if (m_bAbort && pbStop)
        *pbStop = VARIANT_TRUE;
    return 0;
}

HRESULT CSondrelDlg::GetOutputFormat(LONG* pnContainerType, IMediaPropertyBag5** ppProfile)
{
    if (pnContainerType)
        *pnContainerType = g_AudioFormats[m_pProfileManager->GetCurrentFormat()].nContainerType;
    if (ppProfile)
        *ppProfile = m_pProfileManager->GetProfile();
    return 0;
}

CString AFXAPI CSondrelDlg::FindFreeRecordPath(const CString& strFolder, LPCTSTR pszExtension)
{
    const CString strStem = strFolder + _T("Record-");
    for (int n = 0;; ++n)
    {
        CString strNumber;
        strNumber.Format(_T("%i"), n);
        while (strNumber.GetLength() < 3)
            strNumber.Insert(0, _T('0'));
        CString strPath = strStem + strNumber + pszExtension;
        if (!::PathFileExistsW(strPath))
            return strPath;
    }
}

HRESULT CSondrelDlg::GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL* /*pbStop*/)
{
    m_bFileClosed = 0;
    CString strFolder = m_pParent ? m_pParent->GetOutputFolder() : CString();
    CString strPath =
        FindFreeRecordPath(strFolder, g_AudioFormats[m_pProfileManager->GetCurrentFormat()].pszExtension);

    CFileDesc* pItem = new CFileDesc();
    pItem->m_strPath = strPath;
    // The file being recorded stands out.
    pItem->SetFont(_T("Tahoma"), QVTDpiScaler()->ScaleY(13), FW_BOLD);

    int nRow = m_listFiles.GetItemCount();
    pItem->m_nRow = nRow;
    CString strIndex;
    strIndex.Format(_T("%i."), nRow + 1);
    int nSlash = strPath.ReverseFind(_T('\\'));
    nRow = m_listFiles.InsertItem(nRow, strIndex);
    m_listFiles.SetItemText(nRow, 1, strPath.Mid(nSlash + 1));
    m_listFiles.SetItemText(nRow, 2, strPath.Left(nSlash + 1));
    m_listFiles.SetItemText(nRow, 3, FormatDurationInt64(0, FALSE, FALSE));
    m_listFiles.SetItemText(nRow, 4, LoadAppString(IDS_STATE_RECORDING));
    m_listFiles.SetCheck(nRow, TRUE);
    m_listFiles.SetItemData(nRow, (DWORD_PTR)pItem);
    m_listFiles.EnsureVisible(nRow, FALSE);
    m_nLastSortColumn = -1;
    m_jobFile = JobFile::Named;

    if (pbstrFileName)
    {
        *pbstrFileName = ::SysAllocString(strPath);
        if (!*pbstrFileName)
            AfxThrowMemoryException();
    }
    return 0;
}

CFileDesc* CSondrelDlg::GetLastRowItem() const
{
    int nCount = m_listFiles.GetItemCount();
    if (nCount <= 0)
        return nullptr;
    return reinterpret_cast<CFileDesc*>(m_listFiles.GetItemData(nCount - 1));
}

HRESULT CSondrelDlg::OnProgress(double dFileWritten, double /*dJobPosition*/, double /*dSourceDuration*/,
                                double /*dTotalEstimate*/, LONG /*nReserved1*/, LONG /*nReserved2*/,
                                LONG* pnSplitRequest, VARIANT_BOOL* pbStop)
{
    if (!m_bFileClosed)
        m_bErrorLast = 0;
    if (GetLastRowItem())
        m_listFiles.SetItemText(m_listFiles.GetItemCount() - 1, 3,
                                FormatDuration(dFileWritten, FALSE, FALSE));
    if (m_pParent)
        m_pParent->UpdateRibbonCommands();
    PumpWaitingMessages(nullptr);

    LONG nStopRequest = m_pParent ? m_pParent->GetStopRequest() : 0;
    if (pbStop && *pbStop == 0)
        *pbStop = nStopRequest != 0 ? VARIANT_TRUE : 0;
    if (nStopRequest == 0 && m_bManualSplit)
    {
        if (pnSplitRequest)
            *pnSplitRequest = 1;
        m_bManualSplit = 0;
    }
    if (pbStop && *pbStop == 0 && m_bRecordingPaused)
    {
        HoldCapture(TRUE);
        while (m_bRecordingPaused && m_pParent && m_pParent->GetStopRequest() == 0)
        {
            PumpWaitingMessages(nullptr);
            ::Sleep(50);
        }
        if (!m_pParent || m_pParent->GetStopRequest() == 0)
            HoldCapture(FALSE);
    }
    return 0;
}

HRESULT CSondrelDlg::OnError(LONG nCode, LONG /*nDetail*/, VARIANT_BOOL* pbStop)
{
    if (nCode == CONVERTER_ERROR_LOW_DISK_SPACE)
        m_bDiskLow = 1;
    if (const RecorderErrorText* pError = FindRecorderError(nCode))
    {
        m_bErrorLast = 1;
        // A file that cannot be started ends the converter's item, and the
        // job is one item: nothing can go on, so nothing is asked, and the
        // row of the file that never was goes.
        const BOOL bNeverOpened = nCode == CONVERTER_ERROR_START_WRITING && m_jobFile == JobFile::Named;
        if (bNeverOpened)
            DropUnopenedRow();
        const BOOL bMayContinue = pError->bMayContinue && !bNeverOpened;
        UINT nFlags = bMayContinue ? SMB_ERROR_YESNO : SMB_ERROR_OK;
        int nAnswer = ShowJobMessage(bNeverOpened ? IDS_ERROR_FILE_NOT_CREATED : pError->nString,
                                     IDS_TITLE_ERROR, nFlags);
        if (!bMayContinue || nAnswer == IDNO)
        {
            m_bAbort = 1;
            if (pbStop)
                *pbStop = VARIANT_TRUE;
        }
    }
    if (m_nFirstError == 0 && m_bAbort)
        m_nFirstError = nCode;
    return 0;
}

HRESULT CSondrelDlg::OnFileClosed(VARIANT_BOOL* /*pbStop*/)
{
    m_bFileClosed = 1;
    m_jobFile = JobFile::None;
    CFileDesc* pItem = GetLastRowItem();
    if (!pItem)
        return 0;
    if (FAILED(pItem->ReadDescription(pItem->m_strPath)))
        pItem->m_bRead = FALSE;
    pItem->ResetFont();
    double dDuration = pItem->m_bRead ? pItem->GetAudioDuration() : 0;
    const int nRow = m_listFiles.GetItemCount() - 1;
    m_listFiles.SetItemText(nRow, 3, FormatDuration(dDuration, FALSE, FALSE));
    m_listFiles.SetItemText(nRow, 4, _T(""));
    m_listFiles.Invalidate();
    m_listFiles.UpdateWindow();
    return 0;
}
