// What ends a recording from outside: a disk that fills and a capture device
// that disappears. Either ends the job with an error and leaves a playable file.
#include "recording_test_support.h"
#include "file_size_limit.h"
#include "sound_module.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace app_test;

class RecordingFailures : public ComTest
{
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        m_profiles = std::make_unique<CSondrelProfileManager>(_T("Sondrel"), _T("SondrelProfiles"),
                                                              m_data.windows, m_data.windows);
    }
    void TearDown() override
    {
        m_profiles.reset();
        ComTest::TearDown();
    }

    void ExpectOnePlayableFile(const CTestSink& sink, double dMinimumMs, bool bCutShort = false)
    {
        ASSERT_EQ(1u, sink.m_files.size());
        ASSERT_EQ(1u, sink.m_writtenMs.size());
        Probe p = ProbeFile(UnixPathOf(sink.m_files[0]));
        ASSERT_TRUE(p.ok) << p.raw;
        EXPECT_GE(p.durationMs, dMinimumMs) << p.raw;
        // A block the disk refused may be counted as written but is not in the file.
        if (bCutShort)
            EXPECT_LE(p.durationMs, sink.m_writtenMs[0] + 100) << p.raw;
        else
            EXPECT_NEAR(sink.m_writtenMs[0], p.durationMs, 100) << p.raw;
    }

    ScratchFolder m_data;
    std::unique_ptr<CSondrelProfileManager> m_profiles;
};

namespace {

TEST_F(RecordingFailures, ADiskThatFillsEndsTheJobWithTheLowDiskSpaceErrorAndAPlayableFile)
{
    ScratchFolder folder;
    CTestSink sink;
    sink.m_strFolder = folder.windows;
    JobOptions o;
    o.nFormat = 4;  // WAV: the limit cuts in during the third second
    {
        FileSizeLimit full(400 * 1024);
        ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, sink, o));
    }
    ASSERT_FALSE(sink.m_errors.empty());
    EXPECT_EQ(CONVERTER_ERROR_LOW_DISK_SPACE, sink.m_errors.back().first);
    EXPECT_EQ(std::vector<int>(sink.m_errors.size(), CONVERTER_ERROR_LOW_DISK_SPACE), sink.ErrorCodes());
    EXPECT_LT(sink.m_writtenMs.at(0), sink.m_dStopAtMs);
    EXPECT_LE(UnixFileSize(UnixPathOf(sink.m_files.at(0))), 400 * 1024);
    ExpectOnePlayableFile(sink, 2000, true);
}

// A small file system of its own, reached through a drive letter, so that
// the driver's free-space checks see it fill.
class SmallDisk
{
public:
    SmallDisk()
    {
        const char* prefix = std::getenv("WINEPREFIX");
        if (!prefix || RunShell("mount -t tmpfs -o size=8m tmpfs '" + m_mount.unix + "' 2>/dev/null") != 0)
            return;
        m_mounted = true;
        for (char letter = 'y'; letter >= 'p'; --letter)
        {
            std::string link = std::string(prefix) + "/dosdevices/" + letter + ":";
            if (access(link.c_str(), F_OK) == 0)
                continue;
            if (symlink(m_mount.unix.c_str(), link.c_str()) == 0)
            {
                m_link = link;
                m_root.Format(_T("%c:\\"), static_cast<TCHAR>(_totupper(letter)));
                break;
            }
        }
    }
    ~SmallDisk()
    {
        if (!m_link.empty())
            unlink(m_link.c_str());
        if (m_mounted)
            RunShell("umount '" + m_mount.unix + "'");
    }
    bool Ready() const { return !m_link.empty(); }
    const CString& Root() const { return m_root; }
    std::string UnixPath(const std::string& name) const { return m_mount.unix + "/" + name; }

private:
    ScratchFolder m_mount;
    bool m_mounted = false;
    std::string m_link;
    CString m_root;
};

TEST_F(RecordingFailures, LowDiskSpaceWarnsOnceAndThenEndsTheJob)
{
    SmallDisk disk;
    if (!disk.Ready())
        GTEST_SKIP() << "no tmpfs mount here";
    // 5.5 MiB free: one warning, then the recording ends when less than 5 MiB remain.
    ASSERT_EQ(0, RunShell("head -c 2621440 /dev/zero > '" + disk.UnixPath("filler") + "'"));
    CTestSink sink;
    sink.m_strFolder = disk.Root();
    JobOptions o;
    o.nFormat = 4;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, sink, o));
    ASSERT_GE(sink.m_errors.size(), 2u);
    EXPECT_EQ(std::vector<int>(sink.m_errors.size(), CONVERTER_ERROR_LOW_DISK_SPACE), sink.ErrorCodes());
    EXPECT_EQ(5, sink.m_errors.front().second);
    EXPECT_LT(sink.m_errors.back().second, 5);
    for (size_t i = 1; i < sink.m_errors.size(); ++i)
        EXPECT_LT(sink.m_errors[i].second, 5) << "warned twice above 5 MiB";
    EXPECT_LT(sink.m_writtenMs.at(0), sink.m_dStopAtMs);
    ExpectOnePlayableFile(sink, 1000);
}

// A second sine source that the test may take away without disturbing others.
const char kVanishingSource[] =
    "module-sine-source source_name=sondrel_vanishing_app rate=44100 frequency=550";

TEST_F(RecordingFailures, ACaptureDeviceThatDisappearsEndsTheJobWithAnError)
{
    SoundModule vanishing(kVanishingSource);
    ASSERT_TRUE(vanishing.Loaded());
    ScratchFolder folder;
    CTestSink sink;
    sink.m_strFolder = folder.windows;
    sink.m_dStopAtMs = 30000;
    sink.m_onProgress = [&](double dPosition) {
        if (dPosition >= 1000)
            vanishing.Unload();
    };
    JobOptions o;
    o.nFormat = 0;
    o.bLastDevice = true;  // the newest sine source is the one just loaded
    double dWall = 0;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, sink, o, &dWall));
    EXPECT_LT(dWall, 15000);
    EXPECT_EQ(std::vector<int>{CONVERTER_ERROR_COPY}, sink.ErrorCodes());
    EXPECT_EQ(MEDIA_E_DEVICE_LOST, static_cast<HRESULT>(sink.m_errors.at(0).second));
    ExpectOnePlayableFile(sink, 900);

    // Back again, the device records as before.
    SoundModule back(kVanishingSource);
    ASSERT_TRUE(back.Loaded());
    CTestSink again;
    again.m_strFolder = folder.windows;
    again.m_strExtension = _T(".again.mp3");
    again.m_dStopAtMs = 1000;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, again, o));
    EXPECT_TRUE(again.m_errors.empty());
    ExpectOnePlayableFile(again, 900);
}

TEST_F(RecordingFailures, AnExceptionFromACallbackEndsTheRunWithTheFileFinished)
{
    ScratchFolder folder;
    CTestSink sink;
    sink.m_strFolder = folder.windows;
    sink.m_onProgress = [](double dPosition) {
        if (dPosition >= 1000)
            AfxThrowMemoryException();
    };
    JobOptions o;
    EXPECT_EQ(E_OUTOFMEMORY, RunRecordingJob(*m_profiles, sink, o));
    EXPECT_EQ(std::vector<int>{CONVERTER_ERROR_RUN}, sink.ErrorCodes());
    EXPECT_EQ(E_OUTOFMEMORY, static_cast<HRESULT>(sink.m_errors.at(0).second));
    // The file is closed as always, before the owner hears of the failure.
    ASSERT_GE(sink.m_calls.size(), 3u);
    EXPECT_EQ("OnFileClosing", sink.m_calls[sink.m_calls.size() - 3]);
    EXPECT_EQ("OnFileClosed", sink.m_calls[sink.m_calls.size() - 2]);
    ExpectOnePlayableFile(sink, 900);
}

}  // namespace
