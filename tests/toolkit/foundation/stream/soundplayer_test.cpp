// Menu sounds go to the worker thread; the caller never waits for them.
#include <afxwin.h>

#include <mutex>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"

namespace {
class CRecordingSoundPlayer : public CQVTSoundPlayer
{
public:
    struct Played
    {
        CString strAlias;
        DWORD dwThreadId;
    };

    std::vector<Played> Wait(size_t nCount)
    {
        for (int i = 0; i < 500; ++i)
        {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_played.size() >= nCount)
                    return m_played;
            }
            ::Sleep(10);
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_played;
    }

protected:
    void PlayAlias(LPCWSTR lpszAlias) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_played.push_back({CString(lpszAlias), ::GetCurrentThreadId()});
    }

private:
    std::mutex m_mutex;
    std::vector<Played> m_played;
};
}  // namespace

TEST(SoundPlayer, SoundsPlayInOrderOnTheWorkerThread)
{
    CRecordingSoundPlayer player;
    EXPECT_FALSE(player.IsRunning());
    player.PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    player.PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    player.PlaySystemSound(3);  // no such sound
    player.PlaySystemSound(CQVTSoundPlayer::soundMenuCommand);
    ASSERT_TRUE(player.IsRunning());
    DWORD dwWorker = player.GetThreadId();
    EXPECT_NE(dwWorker, ::GetCurrentThreadId());

    std::vector<CRecordingSoundPlayer::Played> played = player.Wait(3);
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0].strAlias, CString(u"MenuPopup"));
    EXPECT_EQ(played[1].strAlias, CString(u"MenuPopup"));
    EXPECT_EQ(played[2].strAlias, CString(u"MenuCommand"));
    for (const auto& entry : played)
        EXPECT_EQ(entry.dwThreadId, dwWorker);

    player.Stop();
    EXPECT_FALSE(player.IsRunning());
    EXPECT_EQ(player.GetThreadId(), 0u);
    player.Stop();
}

TEST(SoundPlayer, SwitchedOffPlaysNothingAndStartsNoThread)
{
    CRecordingSoundPlayer player;
    player.EnableMenuSounds(FALSE);
    player.PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    EXPECT_FALSE(player.IsRunning());
    player.EnableMenuSounds(TRUE);
    player.EnableSystemSounds(FALSE);
    player.PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    EXPECT_FALSE(player.IsRunning());
}

TEST(SoundPlayer, ProcessWidePlayerPlaysThroughTheSystem)
{
    CQVTSoundPlayer* pPlayer = QVTSoundPlayer();
    ASSERT_NE(pPlayer, nullptr);
    EXPECT_EQ(pPlayer, QVTSoundPlayer());
    pPlayer->PlaySystemSound(CQVTSoundPlayer::soundMenuCommand);
    EXPECT_TRUE(pPlayer->IsRunning());
    pPlayer->Stop();
    EXPECT_FALSE(pPlayer->IsRunning());
}
