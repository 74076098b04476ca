// Recording from the sound server's sine source through the conversion
// driver, driven as the recording job drives it, into every format of the
// format table with its default profile; ffprobe checks each file.
#include "recording_test_support.h"

#include <algorithm>
#include <memory>

using namespace app_test;

class Recording : public ComTest
{
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        ASSERT_TRUE(m_folder.unix.size() > 0 && m_data.unix.size() > 0);
        m_profiles = std::make_unique<CSondrelProfileManager>(_T("Sondrel"), _T("SondrelProfiles"),
                                                              m_data.windows, m_data.windows);
        m_sink.m_strFolder = m_folder.windows;
    }
    void TearDown() override
    {
        m_profiles.reset();
        ComTest::TearDown();
    }

    // Each named file exists, and ffprobe finds as much sound in it as the
    // driver wrote.
    void ExpectFilesAsWritten()
    {
        ASSERT_EQ(m_sink.m_files.size(), m_sink.m_writtenMs.size());
        for (size_t i = 0; i < m_sink.m_files.size(); ++i)
        {
            SCOPED_TRACE(Narrow(m_sink.m_files[i]));
            Probe p = ProbeFile(UnixPathOf(m_sink.m_files[i]));
            ASSERT_TRUE(p.ok) << p.raw;
            EXPECT_NEAR(m_sink.m_writtenMs[i], p.durationMs, 100) << p.raw;
        }
    }

    ScratchFolder m_folder;
    ScratchFolder m_data;
    std::unique_ptr<CSondrelProfileManager> m_profiles;
    CTestSink m_sink;
};

struct FormatExpectation
{
    int nFormat;
    const char* pszContainer;  // first entry of ffprobe's format_name
    const char* pszCodec;
    int nSampleRate;
    int nChannels;
};

class RecordingFormats : public Recording, public ::testing::WithParamInterface<FormatExpectation>
{};

namespace {

TEST_P(RecordingFormats, TheDefaultProfileRecordsAPlayableFile)
{
    const FormatExpectation& f = GetParam();
    m_sink.m_dStopAtMs = 2000;
    JobOptions o;
    o.nFormat = f.nFormat;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    ASSERT_TRUE(m_sink.m_errors.empty())
        << "error " << m_sink.m_errors[0].first << " detail " << std::hex << m_sink.m_errors[0].second;
    ASSERT_EQ(1u, m_sink.m_files.size());
    EXPECT_EQ(CString(_T("Record-000")) + g_AudioFormats[f.nFormat].pszExtension,
              m_sink.m_files[0].Mid(m_sink.m_strFolder.GetLength()));
    EXPECT_GE(m_sink.m_writtenMs[0], 2000);

    Probe p = ProbeFile(UnixPathOf(m_sink.m_files[0]));
    ASSERT_TRUE(p.ok) << p.raw;
    EXPECT_EQ(0u, p.formatName.find(f.pszContainer)) << p.formatName;
    EXPECT_EQ(f.pszCodec, p.codec);
    EXPECT_EQ(f.nSampleRate, p.sampleRate);
    EXPECT_EQ(f.nChannels, p.channels);
    EXPECT_NEAR(m_sink.m_writtenMs[0], p.durationMs, 100) << p.raw;
}

const FormatExpectation kFormats[] = {
    {0, "mp3", "mp3", 44100, 2},    {1, "asf", "wmav2", 44100, 2},     {2, "aac", "aac", 44100, 2},
    {3, "mov", "aac", 44100, 2},    {4, "wav", "pcm_s16le", 44100, 2}, {5, "aiff", "pcm_alaw", 44100, 2},
    {6, "ogg", "vorbis", 44100, 2}, {7, "amr", "amr_nb", 8000, 1},     {8, "au", "pcm_alaw", 44100, 2},
};

INSTANTIATE_TEST_SUITE_P(AllFormats, RecordingFormats, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<FormatExpectation>& i) {
                             std::string name = app_test::Narrow(g_AudioFormats[i.param.nFormat].pszName);
                             return name[0] == ' ' ? name.substr(1) : name;
                         });

TEST_F(Recording, OneRecordingCallsBackInTheDriversOrder)
{
    m_sink.m_dStopAtMs = 1000;
    JobOptions o;
    o.nFormat = 4;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    std::vector<std::string> calls = m_sink.m_calls;
    // Progress comes about once a second; one report stands for all of them.
    calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
    const std::vector<std::string> expected = {"OnFileCreating",
                                               "OnFileConfigured",
                                               "GetFileNameForMarker",
                                               "GetNextFileName",
                                               "OnConfigureOperation",
                                               "OnFileStarted",
                                               "OnFileOpened",
                                               "OnProgress",
                                               "OnFileClosing",
                                               "OnFileClosed",
                                               "OnItemDone"};
    EXPECT_EQ(expected, calls);
}

TEST_F(Recording, MarkersEveryTwoSecondsOverSevenSecondsGiveFourFilesInSequence)
{
    m_sink.m_dStopAtMs = 7000;
    m_sink.m_bStopOnSamples = true;
    JobOptions o;
    o.nFormat = 0;
    o.nSplitFlags = MEDIA_SPLIT_AT_MARKERS;
    o.dMarkerEverySeconds = 2;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    ASSERT_TRUE(m_sink.m_errors.empty());
    ASSERT_EQ(4u, m_sink.m_files.size());
    for (int i = 0; i < 4; ++i)
    {
        CString strName;
        strName.Format(_T("Record-%03d.mp3"), i);
        EXPECT_EQ(m_sink.m_strFolder + strName, m_sink.m_files[i]);
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(2000, m_sink.m_writtenMs[i], 1) << i;
    EXPECT_NEAR(1000, m_sink.m_writtenMs[3], 1);
    ExpectFilesAsWritten();
}

// 0.5 Mb are 524,288 bytes: every file but the last is cut at the first
// cycle that finds it past that less the margin, so, with 50 ms of WAV
// (8,820 bytes) a cycle, it ends within a cycle after 491,520 bytes.
TEST_F(Recording, ASizeSplitCutsEachFileOnceItAndTheMarginPassTheSize)
{
    m_sink.m_dStopAtMs = 6500;
    JobOptions o;
    o.nFormat = 4;  // WAV: 176,400 bytes a second
    o.nSplitFlags = MEDIA_SPLIT_BY_SIZE;
    o.nSplitKilobytes = 512;
    o.nAudioChunkMs = 50;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    ASSERT_TRUE(m_sink.m_errors.empty());
    ASSERT_GE(m_sink.m_files.size(), 3u);
    for (size_t i = 0; i < m_sink.m_files.size(); ++i)
    {
        const long nSize = UnixFileSize(UnixPathOf(m_sink.m_files[i]));
        EXPECT_GT(nSize, 0) << Narrow(m_sink.m_files[i]);
        EXPECT_LE(nSize, 512 * 1024 - 32768 + 8820) << Narrow(m_sink.m_files[i]);
        if (i + 1 < m_sink.m_files.size())
        {
            EXPECT_GT(nSize, 512 * 1024 - 32768) << Narrow(m_sink.m_files[i]);
        }
    }
    ExpectFilesAsWritten();
}

// The capture source as the job's input, handing over 100 ms less than
// asked the first time a cycle asks for less than a whole chunk (the cycle
// that reaches a marker), as a paused capture does.
class CShortOnceSource : public IMediaSource5
{
public:
    explicit CShortOnceSource(IMediaCaptureSource5* pCapture)
    {
        pCapture->QueryInterface(IID_IMediaSource5, m_pSource.OutVoid());
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSource5) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Command(LONG nCommand, IUnknown* pArgument) override
    {
        return m_pSource->Command(nCommand, pArgument);
    }
    HRESULT STDMETHODCALLTYPE GetStreamCount(LONG nType, LONG* pnCount) override
    {
        return m_pSource->GetStreamCount(nType, pnCount);
    }
    HRESULT STDMETHODCALLTYPE GetDuration(LONG nType, double* pdMs) override
    {
        return m_pSource->GetDuration(nType, pdMs);
    }
    HRESULT STDMETHODCALLTYPE GetPosition(LONG nType, double* pdMs) override
    {
        return m_pSource->GetPosition(nType, pdMs);
    }
    HRESULT STDMETHODCALLTYPE Rewind(LONG nType) override { return m_pSource->Rewind(nType); }
    HRESULT STDMETHODCALLTYPE ReadAudio(double dMs, IMediaSample5** ppSample) override
    {
        if (!m_bShortened && dMs < 500)
        {
            m_bShortened = true;
            dMs -= 100;
        }
        return m_pSource->ReadAudio(dMs, ppSample);
    }
    HRESULT STDMETHODCALLTYPE ReadVideo(IMediaSample5** ppFrame) override
    {
        return m_pSource->ReadVideo(ppFrame);
    }
    HRESULT STDMETHODCALLTYPE GetAudioFormat(IMediaAudioFormat5** ppFormat) override
    {
        return m_pSource->GetAudioFormat(ppFormat);
    }

    bool m_bShortened = false;

private:
    CEngineRef<IMediaSource5> m_pSource;
};

// A short read in the cycle that reaches a marker leaves the marker ahead:
// the file is cut there, not where the sound fell short.
TEST_F(Recording, AMarkerSplitWaitsForASourceThatFallsShortOfTheMarker)
{
    m_sink.m_dStopAtMs = 3000;
    m_sink.m_bStopOnSamples = true;
    JobOptions o;
    o.nFormat = 4;
    o.nSplitFlags = MEDIA_SPLIT_AT_MARKERS;
    o.dMarkerEverySeconds = 1.75;
    std::unique_ptr<CShortOnceSource> pInput;
    o.inputOf = [&](IMediaCaptureSource5* pCapture) {
        pInput = std::make_unique<CShortOnceSource>(pCapture);
        return static_cast<IUnknown*>(pInput.get());
    };
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    ASSERT_TRUE(m_sink.m_errors.empty());
    ASSERT_TRUE(pInput && pInput->m_bShortened);
    ASSERT_EQ(2u, m_sink.m_files.size());
    EXPECT_NEAR(1750, m_sink.m_writtenMs[0], 1);
    ExpectFilesAsWritten();
}

TEST_F(Recording, AManualSplitStartsANewFileAndLosesNothing)
{
    m_sink.m_dStopAtMs = 4000;
    m_sink.m_dSplitAtMs = 1500;
    JobOptions o;
    o.nFormat = 6;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    ASSERT_TRUE(m_sink.m_errors.empty());
    ASSERT_EQ(2u, m_sink.m_files.size());
    EXPECT_EQ(m_sink.m_strFolder + _T("Record-001.ogg"), m_sink.m_files[1]);
    EXPECT_GE(m_sink.m_writtenMs[0], 1500);
    EXPECT_GE(m_sink.m_writtenMs[0] + m_sink.m_writtenMs[1], 4000);
    ExpectFilesAsWritten();
}

TEST_F(Recording, PausedTimeStaysOutOfTheFile)
{
    m_sink.m_dStopAtMs = 3000;
    m_sink.m_dPauseAtMs = 500;
    m_sink.m_dwPauseFor = 5000;
    // From the first report on, the clock runs 5 s ahead of the sound; the
    // source may deliver in bursts of up to 2 s either way.
    DWORD dwFirst = 0;
    double dFirstPosition = 0;
    m_sink.m_onProgress = [&](double dPosition) {
        if (dwFirst == 0)
        {
            dwFirst = GetTickCount();
            dFirstPosition = dPosition;
        }
    };
    JobOptions o;
    o.nFormat = 4;
    ASSERT_EQ(S_OK, RunRecordingJob(*m_profiles, m_sink, o));
    const double dElapsed = static_cast<double>(GetTickCount() - dwFirst);
    ASSERT_TRUE(m_sink.m_errors.empty());
    ASSERT_EQ(1u, m_sink.m_files.size());
    EXPECT_GE(dElapsed - (m_sink.m_writtenMs[0] - dFirstPosition), 2500);
    ExpectFilesAsWritten();
}

TEST_F(ComTest, AJobWithoutAJobInterfaceIsRefusedWithoutAnyCallback)
{
    CTestSink sink;
    CFormatsConverterEx converter;
    converter.SetEvents(&sink);
    EXPECT_EQ(MEDIA_E_NO_JOB, converter.Run(nullptr, TRUE));
    CEngineRef<IMediaPropertyBag5> notAJob;
    ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, notAJob));
    EXPECT_EQ(MEDIA_E_NO_JOB, converter.Run(notAJob.Get(), TRUE));
    EXPECT_TRUE(sink.m_calls.empty());
    LONG nId = 0;
    converter.GetCurrentItemId(&nId);
    EXPECT_EQ(-1, nId);
    EXPECT_EQ(0, converter.GetFrameObserverSwitch());
}

}  // namespace
