// Playing the recorder's files as a user does: double clicks, the transport
// buttons and their keys, the position slider dragged by the mouse, and the
// description the main window's status bar shows for the selected row.
#include "recorder_test_support.h"

#include "app/files/FileDesc.h"
#include "real_input.h"

using namespace recordertest;

class PlaybackTest : public RecorderTest
{
protected:
    void OpenWith(const std::vector<CString>& paths)
    {
        StoreList(paths);
        OpenRecorder();
        ASSERT_EQ((int)paths.size(), m_pRecorder->m_listFiles.GetItemCount());
    }
    POINT RowPoint(int nRow)
    {
        CRect rc;
        m_pRecorder->m_listFiles.GetItemRect(nRow, &rc, LVIR_LABEL);
        m_pRecorder->m_listFiles.ClientToScreen(&rc);
        return POINT{rc.left + 8, rc.CenterPoint().y};
    }
    void ClickRow(int nRow)
    {
        MouseClickAt(RowPoint(nRow));
        PumpTranslated(::GetDoubleClickTime() + 50);
    }
    void DoubleClickRow(int nRow)
    {
        MouseClickAt(RowPoint(nRow));
        MouseClickAt(RowPoint(nRow));
        PumpTranslated(100);
    }
    std::string State(int nRow) { return Narrow(m_pRecorder->m_listFiles.GetItemText(nRow, 4)); }
    std::string PlayTime() { return Narrow(WindowText(m_pRecorder->m_staticPlayTime.m_hWnd)); }
    int PlayingRow() { return m_pRecorder->FindItemRow(m_pRecorder->m_pPlayingItem); }
    LONG PlayerState()
    {
        LONG nState = -1;
        m_pRecorder->m_pPlayer->GetState(&nState);
        return nState;
    }
    double PlayerPosition()
    {
        double d = -1;
        m_pRecorder->m_pPlayer->GetPosition(&d);
        return d;
    }
};

namespace {

TEST_F(PlaybackTest, ADoubleClickPlaysTheRowToItsEnd)
{
    OpenWith({MakeSound("one.wav", 1), MakeSound("two.wav", 2)});
    CTestRecorder& dlg = *m_pRecorder;

    // An empty part of the list plays nothing.
    CRect rcList;
    dlg.m_listFiles.GetWindowRect(&rcList);
    MouseClickAt(POINT{rcList.left + 40, rcList.bottom - 12});
    MouseClickAt(POINT{rcList.left + 40, rcList.bottom - 12});
    PumpTranslated(100);
    EXPECT_TRUE(dlg.m_pPlayingItem == nullptr);

    DoubleClickRow(1);
    EXPECT_EQ(1, PlayingRow());
    EXPECT_EQ(MEDIAPLAYER_PLAYING, PlayerState());
    ASSERT_TRUE(PumpTranslatedUntil([&] { return State(1) == "Playing: 00:01"; }, 4000)) << State(1);
    EXPECT_EQ("00:01/00:02", PlayTime());
    EXPECT_EQ(1, dlg.m_sliderPosition.GetPos());
    EXPECT_EQ(2, dlg.m_sliderPosition.GetRangeMax());

    // The player's end stops playback and clears the row.
    ASSERT_TRUE(PumpTranslatedUntil([&] { return dlg.m_pPlayingItem == nullptr; }, 6000));
    EXPECT_EQ("", State(1));
    EXPECT_EQ("00:00/00:00", PlayTime());
    EXPECT_EQ(0, dlg.m_sliderPosition.GetPos());
}

TEST_F(PlaybackTest, PauseResumesWhereItStoppedAndNextAndPreviousStopAtTheEnds)
{
    OpenWith({MakeSound("first.wav", 4), MakeSound("last.wav", 4)});
    CTestRecorder& dlg = *m_pRecorder;

    // Nothing plays: Next and Previous do nothing.
    ClickRow(0);
    PressChord(VK_CONTROL, 'N');
    PressChord(VK_CONTROL, 'B');
    EXPECT_TRUE(dlg.m_pPlayingItem == nullptr);

    ClickControl(dlg, IDC_PLAY_PAUSE);
    ASSERT_EQ(0, PlayingRow());
    PumpTranslated(1300);
    ClickControl(dlg, IDC_PLAY_PAUSE);
    EXPECT_TRUE(dlg.m_bPlaybackPaused);
    EXPECT_EQ(0, PlayingRow());
    double dPausedAt = dlg.m_dResumePosition;
    EXPECT_GT(dPausedAt, 0);
    EXPECT_NE(MEDIAPLAYER_PLAYING, PlayerState());

    // Play/Pause again: from where it paused, not from the start.
    ClickControl(dlg, IDC_PLAY_PAUSE);
    EXPECT_FALSE(dlg.m_bPlaybackPaused);
    EXPECT_EQ(MEDIAPLAYER_PLAYING, PlayerState());
    EXPECT_GE(PlayerPosition(), dPausedAt - 1);

    PressChord(VK_CONTROL, 'B');
    EXPECT_EQ(0, PlayingRow()) << "no row before the first";
    PressChord(VK_CONTROL, 'N');
    EXPECT_EQ(1, PlayingRow());
    EXPECT_EQ("", State(0));
    EXPECT_EQ("Playing: 00:00", State(1).substr(0, 14));
    PressChord(VK_CONTROL, 'N');
    EXPECT_EQ(1, PlayingRow()) << "no row after the last";

    ClickControl(dlg, IDC_STOP);
    EXPECT_TRUE(dlg.m_pPlayingItem == nullptr);
    EXPECT_NE(MEDIAPLAYER_PLAYING, PlayerState());
}

TEST_F(PlaybackTest, TheSliderDraggedWhilePausedMovesOnlyTheResumePosition)
{
    OpenWith({MakeSound("long.wav", 20)});
    CTestRecorder& dlg = *m_pRecorder;
    ClickRow(0);
    ClickControl(dlg, IDC_PLAY_PAUSE);
    PumpTranslated(300);
    ClickControl(dlg, IDC_PLAY_PAUSE);
    ASSERT_TRUE(dlg.m_bPlaybackPaused);

    // Drag the thumb three quarters along the channel.
    CRect rcThumb = dlg.m_sliderPosition.GetThumbRect();
    CRect rcChannel = dlg.m_sliderPosition.GetChannelRect();
    dlg.m_sliderPosition.ClientToScreen(&rcThumb);
    dlg.m_sliderPosition.ClientToScreen(&rcChannel);
    POINT from = rcThumb.CenterPoint();
    POINT to = {rcChannel.left + rcChannel.Width() * 3 / 4, from.y};
    MouseMoveTo(from);
    MouseLeftDown();
    PumpTranslated(50);
    MouseMoveTo(POINT{(from.x + to.x) / 2, from.y});
    PumpTranslated(50);
    MouseMoveTo(to);
    PumpTranslated(50);
    EXPECT_TRUE(dlg.m_bSliderDragged);
    int nTarget = dlg.m_sliderPosition.GetPos();
    EXPECT_GT(nTarget, 10);
    CString strExpected;
    strExpected.Format(_T("00:%02d/00:20"), nTarget);
    EXPECT_EQ(Narrow(strExpected), PlayTime());
    MouseLeftUp();
    PumpTranslated(100);

    EXPECT_NE(MEDIAPLAYER_PLAYING, PlayerState());
    EXPECT_EQ(nTarget * 1000.0, dlg.m_dResumePosition);
    ClickControl(dlg, IDC_PLAY_PAUSE);
    EXPECT_EQ(MEDIAPLAYER_PLAYING, PlayerState());
    EXPECT_GE(PlayerPosition(), nTarget * 1000.0 - 1);
    EXPECT_FALSE(dlg.m_bSliderDragged);
}

TEST_F(PlaybackTest, TheStatusBarDescribesTheSelectedRow)
{
    OpenWith({MakeSound("five.wav", 1, 5), MakeSound("mono.mp3", 1, 1, "-c:a libmp3lame -b:a 64k"),
              MakeSound("short.wav", 3, 2, "-ar 22050 -t 2.9")});
    CTestRecorder& dlg = *m_pRecorder;
    CTestHost& host = *m_pHost;

    // No row: empty panes, and a 0-100 slider at 0 that cannot be dragged.
    EXPECT_EQ(-1, dlg.GetCurrentRow());
    CRect rcThumb = dlg.m_sliderPosition.GetThumbRect();
    dlg.m_sliderPosition.ClientToScreen(&rcThumb);
    MouseMoveTo(rcThumb.CenterPoint());
    MouseLeftDown();
    PumpTranslated(50);
    EXPECT_FALSE(dlg.m_sliderPosition.IsThumbDragged());
    MouseLeftUp();
    PumpTranslated(50);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ("", Narrow(host.m_panes[i])) << i;
    EXPECT_EQ("00:00/00:00", PlayTime());
    EXPECT_EQ(100, dlg.m_sliderPosition.GetRangeMax());
    EXPECT_EQ(0, dlg.m_sliderPosition.GetPos());

    ClickRow(0);
    const CAudioStreamDesc* pFive = dlg.GetRowItem(0)->GetSelectedAudio();
    ASSERT_TRUE(pFive != nullptr);
    EXPECT_EQ("Codec: " + Narrow(pFive->strCodecName), Narrow(host.m_panes[0]));
    EXPECT_EQ("Frequency: 44100 Hz", Narrow(host.m_panes[1]));
    EXPECT_EQ("Channels: 5Channels", Narrow(host.m_panes[2]));
    EXPECT_EQ("Bitrate: " + std::to_string(pFive->nBitrate / 1000) + " kbps", Narrow(host.m_panes[3]));
    EXPECT_EQ("00:00/00:01", PlayTime());
    EXPECT_EQ(1, dlg.m_sliderPosition.GetRangeMax());

    // Down moves the selection first, then the description follows.
    KeyPress(VK_DOWN);
    PumpTranslated(100);
    EXPECT_EQ(1, dlg.GetCurrentRow());
    EXPECT_EQ("Channels: Mono", Narrow(host.m_panes[2]));
    EXPECT_EQ("Bitrate: 64 kbps", Narrow(host.m_panes[3]));

    // Kilobits and seconds are cut, not rounded: 705.6 kbps over 2.9 s.
    KeyPress(VK_DOWN);
    PumpTranslated(100);
    EXPECT_EQ(2, dlg.GetCurrentRow());
    EXPECT_EQ("Channels: Stereo", Narrow(host.m_panes[2]));
    EXPECT_EQ("Bitrate: 705 kbps", Narrow(host.m_panes[3]));
    EXPECT_EQ("00:00/00:02", PlayTime());
    EXPECT_EQ(2, dlg.m_sliderPosition.GetRangeMax());
}

TEST_F(PlaybackTest, DeletingThePlayingRowStopsItAndWithoutAPlayerNothingPlays)
{
    OpenWith({MakeSound("a.wav", 3), MakeSound("b.wav", 3)});
    CTestRecorder& dlg = *m_pRecorder;
    DoubleClickRow(0);
    ASSERT_EQ(0, PlayingRow());
    ClickRow(0);
    KeyPress(VK_DELETE);
    PumpTranslated(100);
    EXPECT_EQ(1, dlg.m_listFiles.GetItemCount());
    EXPECT_TRUE(dlg.m_pPlayingItem == nullptr);
    EXPECT_NE(MEDIAPLAYER_PLAYING, PlayerState());

    // Without a player the play commands do nothing and Record stays off.
    dlg.m_pPlayer.Reset();
    ClickRow(0);
    PressChord(VK_CONTROL, 'P');
    EXPECT_TRUE(dlg.m_pPlayingItem == nullptr);
    dlg.StopPlayback();
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_RECORD)));
}

}  // namespace
