// The conversion driver against stand-in engine objects: a job list known by
// its published id, and a video source whose frames an output file refuses.
#include "recording_test_support.h"

#include "app/recording/EngineObjects.h"

using namespace app_test;

namespace {

// Stand-ins live on the test's stack: reference counts are kept but never
// free anything.
template <class Interface>
class CStandIn : public Interface
{
public:
    explicit CStandIn(const IID& iid) : m_iid(iid) {}
    virtual ~CStandIn() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, m_iid) ? this : nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }

    LONG m_nRefs = 1;

private:
    IID m_iid;
};

class CJobList : public CStandIn<IMediaJobList5>
{
public:
    explicit CJobList(const IID& iid) : CStandIn(iid) {}
    HRESULT STDMETHODCALLTYPE GetCount(LONG* pnCount) override
    {
        *pnCount = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItem(LONG, LONG*, IUnknown**) override { return E_INVALIDARG; }
};

TEST_F(ComTest, AJobListIsKnownByItsPublishedId)
{
    IID iid;
    ASSERT_EQ(S_OK, IIDFromString(u"{A26EB066-269A-4D22-8712-3A2E2271D066}", &iid));
    CJobList list(iid);
    CTestSink sink;
    CFormatsConverterEx converter;
    converter.SetEvents(&sink);
    EXPECT_EQ(S_OK, converter.Run(&list, TRUE));
    EXPECT_TRUE(sink.m_calls.empty());
}

// Ten seconds of pictures, one frame a second, and no sound.
class CVideoSource : public CStandIn<IMediaSource5>
{
public:
    CVideoSource() : CStandIn(IID_IMediaSource5) {}
    HRESULT STDMETHODCALLTYPE Command(LONG, IUnknown*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetStreamCount(LONG nType, LONG* pnCount) override
    {
        *pnCount = nType == MEDIA_STREAM_VIDEO ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDuration(LONG nType, double* pdMs) override
    {
        *pdMs = nType == MEDIA_STREAM_AUDIO ? 0 : 10000;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPosition(LONG, double* pdMs) override
    {
        *pdMs = 1000.0 * m_nFrames;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Rewind(LONG) override
    {
        m_nFrames = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReadAudio(double, IMediaSample5** ppSample) override
    {
        *ppSample = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE ReadVideo(IMediaSample5** ppFrame) override
    {
        *ppFrame = nullptr;
        if (m_nFrames == 10)
            return S_FALSE;
        CEngineRef<IMediaSample5> frame;
        HRESULT hr = CreateEngineObject(CLSID_MediaSampleBuffer5, IID_IMediaSample5, frame);
        if (FAILED(hr))
            return hr;
        frame->Allocate(16);
        frame->SetTimes(1000.0 * m_nFrames, 1000.0 * (m_nFrames + 1));
        ++m_nFrames;
        *ppFrame = frame.Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAudioFormat(IMediaAudioFormat5** ppFormat) override
    {
        *ppFormat = nullptr;
        return E_NOTIMPL;
    }

    int m_nFrames = 0;
};

class CVideoJob : public CStandIn<IMediaConversionJob5>
{
public:
    CVideoJob(IMediaSource5* pSource, IMediaPropertyBag5* pProfile)
        : CStandIn(IID_IMediaConversionJob5), m_pSource(pSource), m_pProfile(pProfile)
    {
    }
    HRESULT STDMETHODCALLTYPE SetContainerType(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetContainerType(LONG* pnType) override
    {
        *pnType = MEDIA_CONTAINER_MP4;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOption(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetOption(LONG* pnValue) override
    {
        *pnValue = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProfile(IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetProfile(IMediaPropertyBag5** ppProfile) override
    {
        m_pProfile->AddRef();
        *ppProfile = m_pProfile;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSplitFlags(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSplitFlags(LONG* pnFlags) override
    {
        *pnFlags = MEDIA_SPLIT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSplitSize(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSplitSize(LONG* pnKilobytes) override
    {
        *pnKilobytes = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDurationLimit(double) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDurationLimit(double* pdMs) override
    {
        *pdMs = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMarkerList(IUnknown*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMarkerList(IMediaMarkerList5** ppMarkers) override
    {
        *ppMarkers = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE SetInput(LONG, IUnknown*, double) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetInputCount(LONG* pnCount) override
    {
        *pnCount = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSource(LONG, REFIID riid, void** ppSource) override
    {
        return m_pSource->QueryInterface(riid, ppSource);
    }
    HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** ppTags) override
    {
        *ppTags = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Setup(LONG, IMediaPropertyBag5*, LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Command(LONG, IUnknown*) override { return S_OK; }

private:
    IMediaSource5* m_pSource;
    IMediaPropertyBag5* m_pProfile;
};

// An output file with a video stream whose every write fails with m_hrWrite.
class CRefusingFile : public CStandIn<IMediaFile5>
{
public:
    CRefusingFile() : CStandIn(IID_IMediaFile5) {}
    HRESULT STDMETHODCALLTYPE SetContainerType(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetContainerType(LONG* pnType) override
    {
        *pnType = MEDIA_CONTAINER_MP4;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSettings(IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** ppTags) override
    {
        *ppTags = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Command(LONG, IMediaPropertyBag5*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetFileName(BSTR* pbstrName) override
    {
        *pbstrName = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetStreamCount(LONG nType, LONG* pnCount) override
    {
        *pnCount = nType == MEDIA_STREAM_VIDEO ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SelectStream(LONG, LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSelectedStream(LONG, LONG* pnIndex) override
    {
        *pnIndex = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDuration(LONG, double* pdMs) override
    {
        *pdMs = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG, REFIID, void** ppFormat) override
    {
        *ppFormat = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetStreamProperties(LONG, IMediaPropertyBag5** ppProperties) override
    {
        *ppProperties = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsSeekable(VARIANT_BOOL* pbSeekable) override
    {
        *pbSeekable = VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WriteSample(IMediaSample5*) override
    {
        ++m_nWrites;
        return m_hrWrite;
    }
    HRESULT STDMETHODCALLTYPE ReadVideoFrame(double, IMediaSample5** ppFrame) override
    {
        *ppFrame = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetCodecCount(LONG* pnCount) override
    {
        *pnCount = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCodecFormatCount(LONG, LONG* pnCount) override
    {
        *pnCount = 0;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetCodecFormat(LONG, LONG, IMediaAudioFormat5** ppValue) override
    {
        *ppValue = nullptr;
        return E_INVALIDARG;
    }

    HRESULT m_hrWrite = E_FAIL;
    int m_nWrites = 0;
};

// Makes the driver's new media files the given stand-in while it lives.
class CMediaFileStandIn : public CStandIn<IClassFactory>
{
public:
    explicit CMediaFileStandIn(IMediaFile5* pFile) : CStandIn(IID_IClassFactory), m_pFile(pFile)
    {
        m_hr = CoRegisterClassObject(CLSID_MediaFile5, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &m_dwCookie);
    }
    ~CMediaFileStandIn() override
    {
        if (SUCCEEDED(m_hr))
            CoRevokeClassObject(m_dwCookie);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        return pOuter != nullptr ? CLASS_E_NOAGGREGATION : m_pFile->QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    HRESULT m_hr;

private:
    IMediaFile5* m_pFile;
    DWORD m_dwCookie = 0;
};

LONG FreeMegabytesOfDrive(const CString& strPath)
{
    TCHAR szRoot[4] = {strPath[0], _T(':'), _T('\\'), 0};
    DWORD dwSectors = 0, dwBytes = 0, dwFree = 0, dwClusters = 0;
    if (!GetDiskFreeSpaceW(szRoot, &dwSectors, &dwBytes, &dwFree, &dwClusters))
        return -1;
    return static_cast<LONG>(static_cast<ULONGLONG>(dwFree) * dwSectors * dwBytes / 1048576);
}

TEST_F(ComTest, ARefusedFrameEndsThePassAndAFullDiskIsReportedWithTheSpaceLeft)
{
    ScratchFolder folder;
    CEngineRef<IMediaPropertyBag5> profile;
    ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, profile));
    CRefusingFile file;
    CMediaFileStandIn standIn(&file);
    ASSERT_EQ(S_OK, standIn.m_hr);

    const HRESULT kRefusals[] = {E_FAIL, HRESULT_FROM_WIN32(ERROR_DISK_FULL)};
    for (HRESULT hrWrite : kRefusals)
    {
        SCOPED_TRACE(hrWrite);
        file.m_hrWrite = hrWrite;
        file.m_nWrites = 0;
        CVideoSource source;
        CVideoJob job(&source, profile.Get());
        CTestSink sink;
        sink.m_strFolder = folder.windows;
        CFormatsConverterEx converter;
        converter.SetEvents(&sink);
        sink.m_pConverter = &converter;
        ASSERT_EQ(S_OK, converter.Run(&job, TRUE));

        EXPECT_EQ(1, file.m_nWrites);
        ASSERT_FALSE(sink.m_errors.empty());
        const std::pair<LONG, LONG> error = sink.m_errors.back();
        if (hrWrite == E_FAIL)
        {
            EXPECT_EQ(CONVERTER_ERROR_COPY, error.first);
            EXPECT_EQ(E_FAIL, error.second);
        }
        else
        {
            EXPECT_EQ(CONVERTER_ERROR_LOW_DISK_SPACE, error.first);
            // The space left, as the disk check would report it; other
            // programs may write meanwhile.
            const LONG nFree = FreeMegabytesOfDrive(folder.windows);
            ASSERT_GE(nFree, 0);
            EXPECT_NEAR(nFree, error.second, 512);
        }
        // The file is finished and reported as usual.
        EXPECT_EQ(1u, sink.m_files.size());
        EXPECT_NE(sink.m_calls.end(), std::find(sink.m_calls.begin(), sink.m_calls.end(), "OnFileClosed"));
    }
}

}  // namespace
