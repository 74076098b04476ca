#include "app/files/FileDesc.h"

#include <sys/stat.h>

#include <cmath>

namespace {

// Codec numbers and limits of the files the program calls simple.
constexpr LONG kVideoCodecMpeg4 = 13;
constexpr LONG kVideoCodecH264 = 28;
constexpr LONG kAudioCodecAac = 86018;
constexpr LONG kMaxSimpleWidth = 640;
constexpr LONG kMaxSimpleHeight = 480;
constexpr LONGLONG kMaxH264Bitrate = 768000;
constexpr LONGLONG kMaxMpeg4Bitrate = 2500000;
constexpr LONG kMaxSimpleAudioBitrate = 160000;
constexpr LONG kMaxSimpleSampleRate = 48000;
constexpr double kMaxPreviewMs = 4000;

BOOL IsSimpleContainer(LONG nType)
{
    return nType == MEDIA_CONTAINER_AVI || nType == MEDIA_CONTAINER_MPEG || nType == MEDIA_CONTAINER_MP4 ||
           nType == MEDIA_CONTAINER_MOV;
}

CEngineRef<IMediaPropertyBag5> MakeReadOperation(LPCTSTR pszPath)
{
    CEngineRef<IMediaPropertyBag5> bag;
    if (FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, bag)))
        return bag;
    bag->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_READ, 0);
    bag->SetInteger(CEngineString(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
    bag->SetString(CEngineString(MEDIA_PROP_FILE_NAME), 0, CEngineString(pszPath), 0);
    return bag;
}

CString GetBagText(IMediaPropertyBag5* pBag, LPCTSTR pszName)
{
    BSTR b = nullptr;
    if (!pBag || FAILED(pBag->GetString(CEngineString(pszName), 0, &b)))
        return CString();
    return TakeEngineString(b);
}

// "C:\Music\Take.mp3" -> "Take".
CString FileTitleOf(const CString& strPath)
{
    CString strName = strPath.Mid(strPath.ReverseFind(_T('\\')) + 1);
    int nDot = strName.ReverseFind(_T('.'));
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

}  // namespace

CFileDesc::CFileDesc()
{
    m_hrCreate = CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, m_pMediaFile);
}

CFileDesc::~CFileDesc()
{
    ClearStreams();
    CloseFile();
    m_observers.clear();
    UnhookEvents();
    m_pContainerA.Reset();
    m_pContainerB.Reset();
    m_pContainerSeek.Reset();
    m_pMediaFile.Reset();
    m_pTags.Reset();
}

BOOL CFileDesc::IsOtherThanFile(LPCTSTR pszPath)
{
    // A pipe, a device or a folder named in a stored list would block the
    // engine's reading or make no sense: only regular files are read. What
    // cannot be seen here is the engine's to report.
    char* pszUnix = wine_get_unix_file_name(pszPath);
    if (!pszUnix)
        return FALSE;
    struct stat st;
    BOOL bOther = stat(pszUnix, &st) == 0 && !S_ISREG(st.st_mode);
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return bOther;
}

BOOL CFileDesc::HasSwfSignature(LPCTSTR pszPath)
{
    HANDLE hFile = CreateFile(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    char sig[3] = {};
    DWORD dwRead = 0;
    BOOL bOk = ReadFile(hFile, sig, sizeof(sig), &dwRead, nullptr);
    CloseHandle(hFile);
    return bOk && dwRead == 3 && (sig[0] == 'F' || sig[0] == 'C') && sig[1] == 'W' && sig[2] == 'S';
}

HRESULT CFileDesc::ReadDescription(LPCTSTR pszPath)
{
    if (m_bRead)
        return m_hrRead;
    m_bRead = TRUE;
    m_strPath = pszPath ? pszPath : _T("");

    if (!m_strPath.IsEmpty() && IsOtherThanFile(m_strPath))
        return m_hrRead = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

    if (HasSwfSignature(m_strPath))
    {
        m_bSwf = TRUE;
        m_nContainerType = MEDIA_CONTAINER_SWF;
        m_bLimits = TRUE;
    }
    else
    {
        HRESULT hr = OpenForReading();
        if (hr != S_OK)
            return m_hrRead = hr;
        ReadContainer();
        hr = ReadStreams();
        if (hr != 0)
            return m_hrRead = hr;
        const CVideoStreamDesc* pVideo = GetSelectedVideo();
        const CAudioStreamDesc* pAudio = GetSelectedAudio();
        m_dDuration = pVideo ? pVideo->dDuration : (pAudio ? pAudio->dDuration : 0);
        ReadTags();
    }

    if (m_strTitle.IsEmpty())
        m_strTitle = FileTitleOf(m_strPath);
    HookEvents();
    return m_hrRead = S_OK;
}

HRESULT CFileDesc::OpenForReading()
{
    if (!m_pMediaFile)
        return FAILED(m_hrCreate) ? m_hrCreate : E_POINTER;
    CEngineRef<IMediaPropertyBag5> operation = MakeReadOperation(m_strPath);
    if (!operation)
        return E_OUTOFMEMORY;
    HRESULT hr = m_pMediaFile->Command(MEDIAFILE_CMD_OPEN, operation.Get());
    return FAILED(hr) ? hr : S_OK;
}

void CFileDesc::ReadContainer()
{
    m_nContainerType = MEDIA_CONTAINER_UNKNOWN;
    m_pMediaFile->GetContainerType(&m_nContainerType);
    if (!IsSimpleContainer(m_nContainerType))
        m_bLimits = TRUE;

    CEngineRef<IMediaContainerInfo5> info;
    m_pMediaFile.QueryTo(IID_IMediaContainerInfo5, info);
    if (m_nContainerType == MEDIA_CONTAINER_MATROSKA)
    {
        if (info)
            info->GetContainerValues(&m_nContainerValue1, &m_nContainerValue2);
        CEngineRef<IMediaPropertyBag5> tags;
        LONGLONG nProtected = 0;
        if (SUCCEEDED(m_pMediaFile->GetTags(tags.Out())) && tags &&
            SUCCEEDED(tags->GetInteger(CEngineString(MEDIA_PROP_PROTECTED), 0, &nProtected)) && nProtected)
            m_bProtected = TRUE;
    }
    else if (m_nContainerType == MEDIA_CONTAINER_ASF)
    {
        VARIANT_BOOL bSeekable = VARIANT_TRUE;
        if (SUCCEEDED(m_pMediaFile->IsSeekable(&bSeekable)) && !bSeekable)
            m_bSeekable = FALSE;
    }
    if (info)
    {
        info->GetContainerInterface(IID_IMediaContainerInfoA5, m_pContainerA.OutVoid());
        info->GetContainerInterface(IID_IMediaContainerInfoB5, m_pContainerB.OutVoid());
        info->GetContainerInterface(IID_IMediaCaptureSource5, m_pContainerSeek.OutVoid());
    }
}

HRESULT CFileDesc::ReadStreams()
{
    ClearStreams();
    if (!m_pMediaFile)
        return -1;
    m_pMediaFile->GetStreamCount(MEDIA_STREAM_VIDEO, &m_nVideoCount);
    m_pMediaFile->GetStreamCount(MEDIA_STREAM_AUDIO, &m_nAudioCount);
    m_nVideoCount = std::max<LONG>(m_nVideoCount, 0);
    if (m_nAudioCount <= 0)
    {
        m_nAudioCount = 0;
        CloseMediaFile();
        return -1;
    }
    if (m_nVideoCount > 1 || m_nAudioCount > 1)
        m_bLimits = TRUE;

    for (LONG i = 0; i < m_nVideoCount; ++i)
    {
        if (ReadVideoStream(i) != 0)
        {
            CloseMediaFile();
            return -1;
        }
    }
    for (LONG i = 0; i < m_nAudioCount; ++i)
    {
        if (ReadAudioStream(i) != 0)
        {
            CloseMediaFile();
            return -1;
        }
    }
    if (m_nVideoCount > 0)
        m_pMediaFile->SelectStream(MEDIA_STREAM_VIDEO, 0);
    m_pMediaFile->SelectStream(MEDIA_STREAM_AUDIO, 0);
    m_nVideoSelected = 0;
    m_nAudioSelected = 0;
    return 0;
}

HRESULT CFileDesc::ReadVideoStream(LONG nIndex)
{
    m_pMediaFile->SelectStream(MEDIA_STREAM_VIDEO, nIndex);
    CVideoStreamDesc stream;
    m_pMediaFile->GetDuration(MEDIA_STREAM_VIDEO, &stream.dDuration);
    CEngineRef<IMediaVideoFormat5> format;
    if (FAILED(m_pMediaFile->GetStreamFormat(MEDIA_STREAM_VIDEO, IID_IMediaVideoFormat5, format.OutVoid())) ||
        !format)
        return -1;
    BSTR b = nullptr;
    if (SUCCEEDED(format->GetCodecName(&b)))
        stream.strCodecName = TakeEngineString(b);
    format->GetCodecId(&stream.nCodecId);
    format->GetBitrate(&stream.nBitrate);
    format->GetWidth(&stream.nWidth);
    format->GetHeight(&stream.nHeight);
    format->GetFrameRate(&stream.dFrameRate);
    format->GetAspect(&stream.nAspectX, &stream.nAspectY);
    double dFrames = stream.dFrameRate * stream.dDuration / 1000;
    stream.nFrameCount = std::isfinite(dFrames) && dFrames >= 0 && dFrames < 2147483647.0 ? (LONG)dFrames : 0;

    if (stream.nCodecId != kVideoCodecH264 && stream.nCodecId != kVideoCodecMpeg4)
        m_bLimits = TRUE;
    if (stream.nWidth > kMaxSimpleWidth || stream.nHeight > kMaxSimpleHeight)
        m_bLimits = TRUE;
    if ((stream.nCodecId == kVideoCodecH264 && stream.nBitrate > kMaxH264Bitrate) ||
        (stream.nCodecId == kVideoCodecMpeg4 && stream.nBitrate > kMaxMpeg4Bitrate))
        m_bLimits = TRUE;

    VARIANT_BOOL bSeekable = VARIANT_FALSE;
    double dHalf = stream.dDuration / 2;
    double dAt =
        SUCCEEDED(m_pMediaFile->IsSeekable(&bSeekable)) && bSeekable && dHalf <= kMaxPreviewMs ? dHalf : 0;
    CEngineRef<IMediaSample5> frame;
    if (SUCCEEDED(m_pMediaFile->ReadVideoFrame(dAt, frame.Out())) && frame)
        frame.QueryTo(IID_IMediaVideoFrame5, stream.pPreview);
    m_video.push_back(std::move(stream));
    return 0;
}

HRESULT CFileDesc::ReadAudioStream(LONG nIndex)
{
    m_pMediaFile->SelectStream(MEDIA_STREAM_AUDIO, nIndex);
    CAudioStreamDesc stream;
    m_pMediaFile->GetDuration(MEDIA_STREAM_AUDIO, &stream.dDuration);
    stream.strName.Format(_T("Track %d"), nIndex + 1);
    if (m_nContainerType == MEDIA_CONTAINER_MATROSKA)
    {
        CEngineRef<IMediaPropertyBag5> properties;
        if (SUCCEEDED(m_pMediaFile->GetStreamProperties(MEDIA_STREAM_AUDIO, properties.Out())) && properties)
            stream.strName = GetBagText(properties.Get(), MEDIA_PROP_LANGUAGE_NAME);
    }
    CEngineRef<IMediaAudioFormat5> format;
    if (FAILED(m_pMediaFile->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, format.OutVoid())) ||
        !format)
        return -1;
    BSTR b = nullptr;
    if (SUCCEEDED(format->GetCodecName(&b)))
        stream.strCodecName = TakeEngineString(b);
    LONG nCodecId = 0;
    format->GetCodecId(&nCodecId);
    format->GetSampleRate(&stream.nSampleRate);
    format->GetChannels(&stream.nChannels);
    format->GetBitrate(&stream.nBitrate);
    double dSeconds = stream.dDuration / 1000;
    stream.nSeconds =
        std::isfinite(dSeconds) && dSeconds >= 0 && dSeconds < 2147483647.0 ? (LONG)dSeconds : 0;

    if (nCodecId != kAudioCodecAac || stream.nBitrate > kMaxSimpleAudioBitrate || stream.nChannels > 2 ||
        stream.nSampleRate > kMaxSimpleSampleRate)
        m_bLimits = TRUE;
    m_audio.push_back(std::move(stream));
    return 0;
}

void CFileDesc::ReadTags()
{
    m_pTags.Reset();
    if (FAILED(m_pMediaFile->GetTags(m_pTags.Out())) || !m_pTags)
        return;
    m_strTitle = GetBagText(m_pTags.Get(), MEDIA_PROP_TITLE);
    m_strTitle.Trim();
    m_strArtist = GetBagText(m_pTags.Get(), MEDIA_PROP_ARTIST);
    m_strArtist.Trim();
}

void CFileDesc::HookEvents()
{
    // A file read again after CloseFile keeps the sink it has.
    if (m_pEventSink || !m_pMediaFile)
        return;
    m_pEventSink = new CVideoFileEvent(this);
    m_pEventSink->AddRef();
    CEngineRef<IConnectionPointContainer> container;
    CEngineRef<IConnectionPoint> point;
    if (SUCCEEDED(m_pMediaFile.QueryTo(IID_IConnectionPointContainer, container)) &&
        SUCCEEDED(container->FindConnectionPoint(DIID__IMediaFile5Events, point.Out())) && point)
    {
        DWORD dwCookie = 0;
        if (SUCCEEDED(point->Advise(m_pEventSink, &dwCookie)))
            m_pEventSink->m_dwCookie = dwCookie;
    }
    m_pEventSink->Release();
}

void CFileDesc::UnhookEvents()
{
    if (!m_pEventSink)
        return;
    if (m_pEventSink->m_dwCookie && m_pMediaFile)
    {
        CEngineRef<IConnectionPointContainer> container;
        CEngineRef<IConnectionPoint> point;
        if (SUCCEEDED(m_pMediaFile.QueryTo(IID_IConnectionPointContainer, container)) &&
            SUCCEEDED(container->FindConnectionPoint(DIID__IMediaFile5Events, point.Out())) && point)
            point->Unadvise(m_pEventSink->m_dwCookie);
        m_pEventSink->m_dwCookie = 0;
    }
    m_pEventSink->DetachOwner();
    std::exchange(m_pEventSink, nullptr)->Release();
}

HRESULT CFileDesc::CloseMediaFile()
{
    return m_pMediaFile ? m_pMediaFile->Command(MEDIAFILE_CMD_FINISH, nullptr) : -1;
}

HRESULT CFileDesc::CloseFile()
{
    HRESULT hr = CloseMediaFile();
    m_bRead = FALSE;
    return hr;
}

void CFileDesc::ClearStreams()
{
    m_video.clear();
    m_audio.clear();
}

const CAudioStreamDesc* CFileDesc::GetSelectedAudio() const
{
    if (m_nAudioSelected < 0 || m_nAudioSelected >= (LONG)m_audio.size())
        return nullptr;
    return &m_audio[m_nAudioSelected];
}

const CVideoStreamDesc* CFileDesc::GetSelectedVideo() const
{
    if (m_nVideoSelected < 0 || m_nVideoSelected >= (LONG)m_video.size())
        return nullptr;
    return &m_video[m_nVideoSelected];
}

double CFileDesc::GetAudioDuration() const
{
    const CAudioStreamDesc* pAudio = GetSelectedAudio();
    return pAudio ? pAudio->dDuration : 0;
}

void CFileDesc::AddObserver(std::unique_ptr<CFileDescObserver> pObserver)
{
    if (pObserver)
        m_observers.push_back(std::move(pObserver));
}

CFileDescObserver* CFileDesc::GetFirstObserver() const
{
    return m_observers.empty() ? nullptr : m_observers.front().get();
}
