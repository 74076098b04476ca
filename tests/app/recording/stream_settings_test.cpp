// The stream settings the driver prepares for each output file: the silence
// format, the bit rate of a video stream that aims at a target size, and
// statistics file names that never collide with an existing file.
#include "recording_test_support.h"

#include "app/recording/ConverterContext.h"

using namespace app_test;

namespace {

// A video format as a profile may carry one (the engine writes no video).
class CFakeVideoFormat : public IMediaVideoFormat5
{
public:
    LONG m_nRateControl = MEDIA_RATE_TARGET_SIZE;
    LONG m_nTargetKilobytes = 0;
    double m_dFrameRate = 25;
    LONGLONG m_nBitrate = -1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaVideoFormat5))
        {
            *ppv = static_cast<IMediaVideoFormat5*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetCodecId(LONG* p) override
    {
        *p = MEDIA_VIDEO_CODEC_H264;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCodecName(BSTR* p) override
    {
        *p = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetBitrate(LONGLONG* p) override
    {
        *p = m_nBitrate;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBitrate(LONGLONG n) override
    {
        m_nBitrate = n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWidth(LONG* p) override
    {
        *p = 320;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetHeight(LONG* p) override
    {
        *p = 240;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFrameRate(double* p) override
    {
        *p = m_dFrameRate;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAspect(LONG* a, LONG* b) override
    {
        *a = *b = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LONG* p) override
    {
        *p = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPixelFormat(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetRateControl(LONG* mode, LONG* kb) override
    {
        *mode = m_nRateControl;
        *kb = m_nTargetKilobytes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputFormat(IMediaVideoFormat5** pp) override
    {
        *pp = nullptr;
        return E_NOTIMPL;
    }

    ULONG m_nRefs = 1;
};

// The application's encoder configuration, reporting a pass count.
class CFakeEncoderConfig : public IMediaEngineAux5
{
public:
    LONG m_nPasses = 2;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Initialize(IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPassCount(IUnknown*, LONG* pnPasses) override
    {
        *pnPasses = m_nPasses;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPassInfo(IUnknown*, LONG, BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetConfiguration(IMediaPropertyBag5** pp) override
    {
        *pp = nullptr;
        return E_NOTIMPL;
    }
};

class CSizeSplitConverter : public CFormatsConverterEx
{
public:
    using CFormatsConverterEx::m_nSizeLimit;
    using CFormatsConverterEx::m_nSplitBySize;
};

}  // namespace

class StreamSettings : public ComTest
{
protected:
    CEngineRef<IMediaPropertyBag5> NewBag()
    {
        CEngineRef<IMediaPropertyBag5> bag;
        EXPECT_EQ(S_OK, CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, bag));
        return bag;
    }

    // A profile with one 128 kbit/s audio stream and one video stream.
    CEngineRef<IMediaPropertyBag5> VideoProfile(CFakeVideoFormat& video)
    {
        CEngineRef<IMediaPropertyBag5> profile = NewBag();
        CEngineRef<IMediaAudioFormat5> audio;
        CreateEngineObject(CLSID_MediaMp3Settings5, IID_IMediaAudioFormat5, audio);
        CEngineRef<IMediaPropertyBag5> audioStream = NewBag();
        audioStream->SetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, audio.Get(), 1);
        profile->SetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), -1, audioStream.Get(), 1);
        CEngineRef<IMediaPropertyBag5> videoStream = NewBag();
        videoStream->SetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, &video, 1);
        profile->SetObject(CEngineString(MEDIA_PROP_VIDEO_STREAM_INFO), -1, videoStream.Get(), 1);
        return profile;
    }
};

namespace {

TEST_F(StreamSettings, SilenceFollowsTheProfilesAudioOr44100HzStereo)
{
    CFormatsConverterEx converter;
    CEngineRef<IMediaPropertyBag5> empty = NewBag();
    converter.FillStreamSettings(empty.Get(), 0, 0, 1000);
    const WAVEFORMATEX& wfx = converter.GetSilenceFormat();
    EXPECT_EQ(WAVE_FORMAT_PCM, wfx.wFormatTag);
    EXPECT_EQ(2, wfx.nChannels);
    EXPECT_EQ(44100u, wfx.nSamplesPerSec);
    EXPECT_EQ(16, wfx.wBitsPerSample);
    EXPECT_EQ(4, wfx.nBlockAlign);
    EXPECT_EQ(176400u, wfx.nAvgBytesPerSec);
    EXPECT_EQ(1, CFormatsConverterEx::GetPassCount(empty.Get()));

    ScratchFolder data;
    CSondrelProfileManager profiles(_T("Sondrel"), _T("SondrelProfiles"), data.windows, data.windows);
    profiles.SetCurrentFormat(7);
    CEngineRef<IMediaPropertyBag5> amr(profiles.GetProfile(-1));
    converter.FillStreamSettings(amr.Get(), 0, 0, 1000);
    EXPECT_EQ(1, converter.GetSilenceFormat().nChannels);
    EXPECT_EQ(8000u, converter.GetSilenceFormat().nSamplesPerSec);
    EXPECT_EQ(1, CFormatsConverterEx::GetPassCount(amr.Get()));
}

TEST_F(StreamSettings, ATargetSizeVideoStreamGetsTheBitRateThatFillsIt)
{
    CFormatsConverterEx converter;
    CFakeVideoFormat video;
    video.m_nTargetKilobytes = 10000;
    CEngineRef<IMediaPropertyBag5> profile = VideoProfile(video);
    // 1,500 frames in a minute; 10,240,000 bytes less 24 per frame and stream.
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_EQ(1203178, video.m_nBitrate);

    // A payload that turns negative still gets the lowest rate.
    video.m_nTargetKilobytes = 10;
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_EQ(64000, video.m_nBitrate);

    // Other rate controls keep their own bit rate.
    video.m_nRateControl = MEDIA_RATE_QUALITY;
    video.m_nBitrate = 5;
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_EQ(5, video.m_nBitrate);
    LONG nKilobytes = -1;
    EXPECT_EQ(2, CFormatsConverterEx::GetRateControlMode(&video, &nKilobytes));
    video.m_nRateControl = MEDIA_RATE_CONSTANT;
    EXPECT_EQ(0, CFormatsConverterEx::GetRateControlMode(&video, &nKilobytes));
}

TEST_F(StreamSettings, TargetSizeBitRatesAreHeldBetween64KAnd240MExactly)
{
    CFormatsConverterEx converter;
    CFakeVideoFormat video;
    video.m_dFrameRate = 0;  // no per-frame overhead: the payload is the target
    CEngineRef<IMediaPropertyBag5> profile = VideoProfile(video);
    // The duration that makes (payload * 8000 / duration - 128000) equal the
    // given figure, of which 98 % is taken.
    auto rateFor = [&](LONG nKilobytes, double dBeforeShare) {
        video.m_nTargetKilobytes = nKilobytes;
        const double dPayload = nKilobytes * 1024.0;
        converter.FillStreamSettings(profile.Get(), 0, 0, dPayload * 8000 / (dBeforeShare + 128000));
        return video.m_nBitrate;
    };
    EXPECT_EQ(64000, rateFor(1000, 65306));  // 63,999.88
    EXPECT_EQ(64001, rateFor(1000, 65308));  // 64,001.84
    EXPECT_EQ(239999999, rateFor(10000000, 244897959));
    EXPECT_EQ(240000000, rateFor(10000000, 244897960));
    EXPECT_EQ(240000000, rateFor(10000000, 244897961));  // 240,000,001.78
}

TEST_F(StreamSettings, TwoPassSizeSplitsAimAtTheTimeTheSizeTakesButNeverBelowASecond)
{
    CConverterContext& context = GetConverterContext();
    IMediaEngineAux5* pSaved = context.GetEncoderConfig();
    if (pSaved)
        pSaved->AddRef();
    CFakeEncoderConfig encoders;
    context.SetEncoderConfig(&encoders);

    CSizeSplitConverter converter;
    CFakeVideoFormat video;
    video.m_nRateControl = MEDIA_RATE_QUALITY;  // its bit rate counts as 0
    video.m_dFrameRate = 0;                     // no per-frame overhead
    CEngineRef<IMediaPropertyBag5> profile = VideoProfile(video);
    converter.m_nSplitBySize = 1;
    // 128 kbit/s of sound: a size lasts size * 980 * 8 / 128000 ms.
    converter.m_nSizeLimit = 16327;
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    ASSERT_TRUE(converter.IsSplitByEstimate());
    EXPECT_DOUBLE_EQ(16327 * 7840 / 128000.0, converter.GetEstimateLimit());
    converter.m_nSizeLimit = 16326;  // 999.97 ms
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_EQ(1000.0, converter.GetEstimateLimit());

    // One pass, or no split by size: no estimate.
    encoders.m_nPasses = 1;
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_FALSE(converter.IsSplitByEstimate());
    encoders.m_nPasses = 2;
    converter.m_nSplitBySize = 0;
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_FALSE(converter.IsSplitByEstimate());

    context.SetEncoderConfig(pSaved);
    if (pSaved)
        pSaved->Release();
}

TEST_F(StreamSettings, AStatisticsFileThatExistsMovesTheNameOn)
{
    ScratchFolder temp;
    CConverterContext& context = GetConverterContext();
    const CString strSaved = context.m_strTempFolder;
    context.m_strTempFolder = temp.windows;

    CFormatsConverterEx converter;
    const CString strFirst = converter.FormatStatFileName(0);
    CString strExpected;
    strExpected.Format(_T("%spass_%i_0.stat"), temp.windows.GetString(),
                       static_cast<int>(converter.GetStatId()));
    EXPECT_EQ(strExpected, strFirst);
    EXPECT_EQ(0u, converter.GetStatId() & 0x80000000u);

    HANDLE h = CreateFileW(strFirst, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    CFakeVideoFormat video;
    CEngineRef<IMediaPropertyBag5> profile = VideoProfile(video);
    converter.FillStreamSettings(profile.Get(), 0, 0, 60000);
    EXPECT_NE(strFirst, converter.FormatStatFileName(0));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(converter.FormatStatFileName(0)));

    context.m_strTempFolder = strSaved;
}

}  // namespace
