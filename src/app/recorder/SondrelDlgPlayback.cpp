// The recorder's playback of its list through the engine's player, the
// player's events, the position slider and time label, and the description
// panel in the main window's status bar.
#include "app/recorder/SondrelDlg.h"

#include "app/files/FileDesc.h"
#include "app/program/TextFormat.h"
#include "app/recorder/FileListResource.h"
#include "common/ApplicationBase.h"
#include "common/Logging.h"

namespace {

const TCHAR kNoPlayTime[] = _T("00:00/00:00");

// "Playing: 00:07" of the State column.
CString PlayingState(const CString& strPosition)
{
    return LoadAppString(IDS_STATE_PLAYING) + _T(": ") + strPosition;
}

__int64 WholeMilliseconds(double dMilliseconds)
{
    return dMilliseconds > 0 && dMilliseconds < 9.0e15 ? (__int64)dMilliseconds : 0;
}

}  // namespace

void CSondrelDlg::ConnectPlayerEvents()
{
    if (!m_pPlayer || m_pPlayerEvents)
        return;
    m_pPlayerEvents = new CEventsHelper<CSondrelDlg>(this);
    CEngineRef<IConnectionPointContainer> container;
    CEngineRef<IConnectionPoint> point;
    DWORD dwCookie = 0;
    if (SUCCEEDED(m_pPlayer.QueryTo(IID_IConnectionPointContainer, container)) &&
        SUCCEEDED(container->FindConnectionPoint(DIID__IMediaPlayer5Events, point.Out())) && point &&
        SUCCEEDED(point->Advise(m_pPlayerEvents, &dwCookie)))
        m_dwPlayerCookie = dwCookie;
    m_pPlayerEvents->AddHandler(MEDIAPLAYER_DISPID_POSITION, &CSondrelDlg::OnPlayerPositionEvent);
    m_pPlayerEvents->AddHandler(MEDIAPLAYER_DISPID_STOPPED, &CSondrelDlg::OnPlayerStopEvent);
}

HRESULT CSondrelDlg::OnPlayerPositionEvent(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                           UINT*)
{
    // The list, slider and label are updated from the dialog's own queue.
    if (m_hWnd)
        PostMessage(WM_RECORDER_PLAYER_TICK, 2, 0);
    return 0;
}

HRESULT CSondrelDlg::OnPlayerStopEvent(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    StopPlayback();
    return 0;
}

BOOL CSondrelDlg::IsPlayerPlaying() const
{
    LONG nState = MEDIAPLAYER_STOPPED;
    return m_pPlayer && SUCCEEDED(m_pPlayer->GetState(&nState)) && nState == MEDIAPLAYER_PLAYING;
}

void CSondrelDlg::SetPlayingItem(CFileDesc* pItem)
{
    if (pItem)
        pItem->AddRef();
    if (m_pPlayingItem)
        m_pPlayingItem->Release();
    m_pPlayingItem = pItem;
}

void CSondrelDlg::SetPlayPauseImage(BOOL bPlaying)
{
    if (m_btnPlayPause.m_hWnd)
        m_btnPlayPause.SetBitmap(CSize(10, 10), bPlaying ? IDB_TRANSPORT_PAUSE : IDB_TRANSPORT_PLAY);
}

void CSondrelDlg::PlayItem(int nRow, double dStartMs)
{
    CFileDesc* pItem = GetRowItem(nRow);
    // A row without a description has nothing the player could open.
    if (!pItem || !pItem->m_bRead || pItem->m_hrRead != S_OK)
        return;
    m_listFiles.SetItemText(nRow, 4, PlayingState(_T("00:00")));
    if (!m_pPlayer && m_btnRecord.m_hWnd)
        m_btnRecord.EnableWindow(FALSE);
    m_bPlaybackPaused = 0;
    m_bSliderDragged = 0;
    SetPlayingItem(pItem);
    SetPlayPauseImage(TRUE);

    m_dResumePosition = dStartMs;
    const CAudioStreamDesc* pAudio = pItem->GetSelectedAudio();
    if (m_sliderPosition.m_hWnd)
    {
        m_sliderPosition.SetRange(0, pAudio ? pAudio->nSeconds : 0);
        m_sliderPosition.SetPos((int)(dStartMs / 1000));
    }
    if (!m_pPlayer)
        return;
    HRESULT hr = m_pPlayer->Open(pItem->GetMediaFile());
    if (SUCCEEDED(hr) && dStartMs > 0)
    {
        m_pPlayer->Run(MEDIAPLAYER_RUN_PREPARE);
        m_pPlayer->SetPosition(dStartMs);
    }
    if (SUCCEEDED(hr))
        hr = m_pPlayer->Run(MEDIAPLAYER_RUN_PLAY);
    // A file the player cannot take must not show as playing.
    if (FAILED(hr))
    {
        APP_LOG(_T("Play %s: fail (0x%08X)"), pItem->m_strPath.GetString(), (unsigned)hr);
        StopPlayback();
    }
}

void CSondrelDlg::StopPlayback()
{
    if (m_pPlayer)
        m_pPlayer->Stop();
    m_bPlaybackPaused = 0;
    if (m_pPlayingItem)
    {
        int nRow = FindItemRow(m_pPlayingItem);
        if (nRow >= 0)
            m_listFiles.SetItemText(nRow, 4, _T(""));
        SetPlayingItem(nullptr);
        SetPlayPauseImage(FALSE);
    }
    if (m_sliderPosition.m_hWnd)
        m_sliderPosition.SetPos(0);
    if (m_staticPlayTime.m_hWnd)
        m_staticPlayTime.SetWindowText(kNoPlayTime);
    if (!m_pPlayer && m_btnRecord.m_hWnd)
        m_btnRecord.EnableWindow(FALSE);
}

void CSondrelDlg::OnPlayPause()
{
    if (!m_pPlayer)
        return;
    if (m_pPlayingItem)
    {
        if (m_bPlaybackPaused)
        {
            SetPlayPauseImage(TRUE);
            PlayItem(FindItemRow(m_pPlayingItem), m_dResumePosition);
        }
        else
        {
            SetPlayPauseImage(FALSE);
            m_pPlayer->Pause();
            double dPosition = 0;
            if (SUCCEEDED(m_pPlayer->GetPosition(&dPosition)))
                m_dResumePosition = dPosition;
            m_bPlaybackPaused = 1;
        }
        return;
    }
    int nRow = GetCurrentRow();
    if (nRow < 0)
        return;
    StopPlayback();
    PlayItem(nRow, 0);
}

void CSondrelDlg::OnPlay()
{
    if (!m_pPlayer)
        return;
    if (m_pPlayingItem && m_bPlaybackPaused)
    {
        PlayItem(FindItemRow(m_pPlayingItem), m_dResumePosition);
        return;
    }
    int nRow = GetCurrentRow();
    if (nRow < 0)
        return;
    StopPlayback();
    PlayItem(nRow, 0);
}

void CSondrelDlg::OnStopButton()
{
    StopPlayback();
    RefreshDescInfo();
}

void CSondrelDlg::OnPlayNext()
{
    int nRow = FindItemRow(m_pPlayingItem);
    if (nRow < 0 || nRow + 1 >= m_listFiles.GetItemCount())
        return;
    StopPlayback();
    PlayItem(nRow + 1, 0);
}

void CSondrelDlg::OnPlayPrevious()
{
    int nRow = FindItemRow(m_pPlayingItem);
    if (nRow <= 0)
        return;
    StopPlayback();
    PlayItem(nRow - 1, 0);
}

void CSondrelDlg::OnListDblClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem == -1)
        return;
    RefreshDescInfo();
    StopPlayback();
    OnPlayPause();
}

LRESULT CSondrelDlg::OnPlayerTick(WPARAM wParam, LPARAM lParam)
{
    if (!m_pPlayingItem || !m_pPlayer)
        return 0;
    CFileDesc* pItem = m_pPlayingItem;
    pItem->AddRef();
    // The engine's failures during a tick are dropped: the next tick tries again.
    try
    {
        LONG nState = MEDIAPLAYER_STOPPED;
        double dPosition = 0;
        if (SUCCEEDED(m_pPlayer->GetState(&nState)) && nState == MEDIAPLAYER_PLAYING &&
            SUCCEEDED(m_pPlayer->GetPosition(&dPosition)))
        {
            if (!m_bSliderDragged)
                m_sliderPosition.SetPos((int)(dPosition / 1000));
            CString strPosition = FormatDurationInt64(WholeMilliseconds(dPosition), FALSE, FALSE);
            int nRow = FindItemRow(pItem);
            if (nRow >= 0)
                m_listFiles.SetItemText(nRow, 4, PlayingState(strPosition));
            if (!m_bSliderDragged)
                m_staticPlayTime.SetWindowText(
                    strPosition + _T("/") +
                    FormatDurationInt64(WholeMilliseconds(pItem->GetAudioDuration()), FALSE, FALSE));
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    pItem->Release();
    return 0;
}

LRESULT CSondrelDlg::OnRefreshDescMsg(WPARAM wParam, LPARAM lParam)
{
    RefreshDescInfo();
    return 0;
}

LRESULT CSondrelDlg::OnSliderReleased(WPARAM wParam, LPARAM lParam)
{
    double dTarget = (double)m_sliderPosition.GetPos() * 1000;
    if (m_pPlayingItem && IsPlayerPlaying())
    {
        // Where the file cannot seek in place, playback starts again there.
        if (!m_pPlayingItem->GetSeekInterface())
        {
            int nRow = FindItemRow(m_pPlayingItem);
            StopPlayback();
            PlayItem(nRow, dTarget);
        }
        else
        {
            m_bSliderDragged = 0;
        }
    }
    if (m_pPlayingItem && m_bPlaybackPaused)
        m_dResumePosition = dTarget;
    return 0;
}

LRESULT CSondrelDlg::OnSliderChanging(WPARAM wParam, LPARAM lParam)
{
    if (m_pPlayingItem && (m_bPlaybackPaused || IsPlayerPlaying()))
    {
        m_bSliderDragged = 1;
        m_staticPlayTime.SetWindowText(
            FormatDurationInt64((__int64)m_sliderPosition.GetPos() * 1000, FALSE, FALSE) + _T("/") +
            FormatDurationInt64(WholeMilliseconds(m_pPlayingItem->GetAudioDuration()), FALSE, FALSE));
    }
    return 0;
}

void CSondrelDlg::RefreshDescInfo()
{
    APP_LOG_SCOPE(_T("RefreshDescInfo"));
    if (!m_listFiles.m_hWnd)
        return;
    RenumberRows();

    BOOL bPlaying = IsPlayerPlaying();
    CFileDesc* pItem = GetRowItem(GetCurrentRow());
    const CAudioStreamDesc* pAudio = pItem ? pItem->GetSelectedAudio() : nullptr;
    CString panes[4];
    if (pAudio)
    {
        panes[0] = LoadAppString(IDS_DESC_CODEC) + _T(": ") + pAudio->strCodecName;
        panes[1].Format(_T("%s: %i %s"), LoadAppString(IDS_DESC_FREQUENCY).GetString(),
                        (int)pAudio->nSampleRate, LoadAppString(IDS_DESC_HZ).GetString());
        CString strChannels;
        if (pAudio->nChannels == 1)
            strChannels = LoadAppString(IDS_DESC_MONO);
        else if (pAudio->nChannels == 2)
            strChannels = LoadAppString(IDS_DESC_STEREO);
        else
            strChannels.Format(_T("%i%s"), (int)pAudio->nChannels,
                               LoadAppString(IDS_DESC_CHANNELS_COUNT).GetString());
        panes[2] = LoadAppString(IDS_DESC_CHANNELS) + _T(": ") + strChannels;
        panes[3].Format(_T("%s: %i %s"), LoadAppString(IDS_DESC_BITRATE).GetString(),
                        (int)(pAudio->nBitrate / 1000), LoadAppString(IDS_DESC_KBPS).GetString());
    }
    if (m_pParent)
    {
        for (int i = 0; i < 4; ++i)
            m_pParent->SetStatusPaneText(i, panes[i]);
    }
    if (bPlaying || !m_sliderPosition.m_hWnd)
        return;

    if (!m_bPlaybackPaused)
    {
        if (pAudio)
        {
            // The look turned off for want of a row comes back with one:
            // otherwise the slider could not be dragged until a recording ended.
            if (!m_pParent || !m_pParent->IsRecording())
                m_sliderPosition.SetEnabledLook(TRUE);
            m_sliderPosition.SetRange(0, pAudio->nSeconds);
            m_staticPlayTime.SetWindowText(
                CString(_T("00:00/")) +
                FormatDurationInt64(WholeMilliseconds(pAudio->dDuration), FALSE, FALSE));
        }
        else
        {
            m_staticPlayTime.SetWindowText(kNoPlayTime);
            m_sliderPosition.SetRange(0, 100);
            m_sliderPosition.SetPos(0);
            m_sliderPosition.SetEnabledLook(FALSE);
        }
    }
    m_sliderPosition.SetPos(m_bPlaybackPaused ? (int)(m_dResumePosition / 1000) : 0);
}
