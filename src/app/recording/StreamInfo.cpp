// Stream facts the conversion driver reads from engine objects, and the
// stream settings it prepares for each output file.
#include "app/recording/FormatsConverterEx.h"

#include <algorithm>

#include "app/recording/ConverterContext.h"

namespace {

LONG CountOf(IMediaPropertyBag5* pBag, LPCTSTR pszName)
{
    LONG n = 0;
    if (!pBag || FAILED(pBag->GetCount(CEngineString(pszName), &n)))
        return 0;
    return n;
}

}  // namespace

double CFormatsConverterEx::GetSourceDuration(IMediaSource5* pSource)
{
    if (!pSource)
        return 0;
    LONG nCount = 0;
    double d = 0;
    if (SUCCEEDED(pSource->GetStreamCount(MEDIA_STREAM_VIDEO, &nCount)) && nCount > 0)
        return SUCCEEDED(pSource->GetDuration(MEDIA_STREAM_VIDEO, &d)) ? d : 0;
    nCount = 0;
    if (SUCCEEDED(pSource->GetStreamCount(MEDIA_STREAM_AUDIO, &nCount)) && nCount > 0)
        return SUCCEEDED(pSource->GetDuration(MEDIA_STREAM_AUDIO, &d)) ? d : 0;
    return 0;
}

double CFormatsConverterEx::GetWrittenDuration(IMediaFile5* pFile)
{
    if (!pFile)
        return 0;
    LONG nCount = 0;
    double d = 0;
    if (SUCCEEDED(pFile->GetStreamCount(MEDIA_STREAM_VIDEO, &nCount)) && nCount > 0)
        return SUCCEEDED(pFile->GetDuration(MEDIA_STREAM_VIDEO, &d)) ? d : 0;
    nCount = 0;
    if (SUCCEEDED(pFile->GetStreamCount(MEDIA_STREAM_AUDIO, &nCount)) && nCount > 0)
        return SUCCEEDED(pFile->GetDuration(MEDIA_STREAM_AUDIO, &d)) ? d : 0;
    return 0;
}

CEngineRef<IMediaVideoFormat5> CFormatsConverterEx::GetVideoStreamFormat(IMediaPropertyBag5* pProfile,
                                                                         LONG nIndex)
{
    CEngineRef<IMediaVideoFormat5> format;
    CEngineRef<IMediaPropertyBag5> stream;
    if (!pProfile ||
        FAILED(pProfile->GetObject(CEngineString(MEDIA_PROP_VIDEO_STREAM_INFO), nIndex,
                                   IID_IMediaPropertyBag5, stream.OutVoid())) ||
        !stream)
        return format;
    if (FAILED(stream->GetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, IID_IMediaVideoFormat5,
                                 format.OutVoid())))
        format.Reset();
    return format;
}

LONG CFormatsConverterEx::GetPassCount(IMediaPropertyBag5* pProfile)
{
    if (CountOf(pProfile, MEDIA_PROP_VIDEO_STREAM_INFO) == 0)
        return 1;
    CEngineRef<IMediaVideoFormat5> format = GetVideoStreamFormat(pProfile, 0);
    IMediaEngineAux5* pEncoders = GetConverterContext().GetEncoderConfig();
    if (!format || !pEncoders)
        return 1;
    LONG nPasses = 1;
    if (FAILED(pEncoders->GetPassCount(format.Get(), &nPasses)) || nPasses < 1)
        return 1;
    return nPasses;
}

int CFormatsConverterEx::GetRateControlMode(IMediaVideoFormat5* pFormat, LONG* pnTargetKilobytes)
{
    LONG nMode = 0, nKilobytes = 0;
    if (pnTargetKilobytes)
        *pnTargetKilobytes = 0;
    if (!pFormat || FAILED(pFormat->GetRateControl(&nMode, &nKilobytes)))
        return 2;
    if (nMode == MEDIA_RATE_TARGET_SIZE)
    {
        if (pnTargetKilobytes)
            *pnTargetKilobytes = nKilobytes;
        return 1;
    }
    return nMode == MEDIA_RATE_CONSTANT ? 0 : 2;
}

CString CFormatsConverterEx::FormatStatFileName(int nFileIndex) const
{
    CString strName;
    strName.Format(_T("%spass_%i_%i.stat"), GetConverterContext().GetTempFolder().GetString(),
                   static_cast<int>(m_dwStatId), nFileIndex);
    return strName;
}

void CFormatsConverterEx::FillStreamSettings(IMediaPropertyBag5* pProfile, int nPass, int nFileIndex,
                                             double dSourceDuration)
{
    LONG nSampleRate = 44100;
    LONG nChannels = 2;
    LONGLONG nAudioBitrate = 0;

    const LONG nAudioStreams = CountOf(pProfile, MEDIA_PROP_AUDIO_STREAM_INFO);
    for (LONG i = 0; i < nAudioStreams; ++i)
    {
        CEngineRef<IMediaPropertyBag5> stream;
        CEngineRef<IMediaAudioFormat5> format;
        if (FAILED(pProfile->GetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), i, IID_IMediaPropertyBag5,
                                       stream.OutVoid())) ||
            !stream ||
            FAILED(stream->GetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, IID_IMediaAudioFormat5,
                                     format.OutVoid())) ||
            !format)
            continue;
        LONG n = 0;
        if (SUCCEEDED(format->GetSampleRate(&n)))
            nSampleRate = n;
        if (SUCCEEDED(format->GetChannels(&n)))
            nChannels = n;
        if (SUCCEEDED(format->GetBitrate(&n)))
            nAudioBitrate += n;
    }

    const LONG nVideoStreams = CountOf(pProfile, MEDIA_PROP_VIDEO_STREAM_INFO);
    LONGLONG nVideoBitrate = 0;
    double dFrameRate = 0;
    for (LONG i = 0; i < nVideoStreams; ++i)
    {
        CEngineRef<IMediaVideoFormat5> format = GetVideoStreamFormat(pProfile, i);
        if (!format)
            continue;
        format->GetFrameRate(&dFrameRate);
        LONG nTargetKilobytes = 0;
        if (GetRateControlMode(format.Get(), &nTargetKilobytes) == 1 && dSourceDuration > 0)
        {
            const LONGLONG nFrames = static_cast<LONGLONG>(dFrameRate * dSourceDuration / 1000);
            const double dPayload = static_cast<double>(nTargetKilobytes) * 1024 -
                                    24.0 * (nAudioStreams + nVideoStreams) * nFrames;
            double dBitrate = ((dPayload * 8000 / dSourceDuration) - nAudioBitrate) * 0.98;
            LONGLONG nBitrate = static_cast<LONGLONG>(dBitrate);
            nBitrate = std::max<LONGLONG>(64000, std::min<LONGLONG>(240000000, nBitrate));
            format->SetBitrate(nBitrate);
            nVideoBitrate += nBitrate;
        }

        CString strStat = FormatStatFileName(nFileIndex);
        if (nPass == 0 && nFileIndex == 0)
        {
            // Another converter may have left or be writing a file of this name.
            while (GetFileAttributesW(strStat) != INVALID_FILE_ATTRIBUTES)
            {
                NextRandom();
                strStat = FormatStatFileName(nFileIndex);
            }
        }
        if (IMediaEngineAux5* pEncoders = GetConverterContext().GetEncoderConfig())
            pEncoders->SetPassInfo(format.Get(), nPass, CEngineString(strStat));
        CEngineRef<IMediaVideoFormat5> output;
        if (SUCCEEDED(format->GetOutputFormat(output.Out())) && output)
        {
            if (m_pConverter1)
            {
                output->SetPixelFormat(MEDIA_PIXEL_FORMAT_ENCODER);
                m_pConverter1->Command(MEDIACONV_CMD_CONFIGURE, output.Get(), nullptr);
            }
        }
        if (m_pFrameObserver)
            m_pFrameObserver->SetFrameRate(dFrameRate);
    }

    m_nSplitByEstimate = 0;
    if (m_nSplitBySize && GetPassCount(pProfile) == 2)
    {
        const double dDivisor = (nAudioStreams + nVideoStreams) * dFrameRate / 1000 * 24 +
                                static_cast<double>(nAudioBitrate) + static_cast<double>(nVideoBitrate);
        if (dDivisor > 0)
        {
            m_nSplitByEstimate = 1;
            m_dEstimateLimit = std::max(1000.0, static_cast<double>(m_nSizeLimit) * 980 * 8 / dDivisor);
        }
    }

    ZeroMemory(&m_wfxSilence, sizeof(m_wfxSilence));
    ZeroMemory(m_silenceExtension, sizeof(m_silenceExtension));
    m_wfxSilence.wFormatTag = WAVE_FORMAT_PCM;
    m_wfxSilence.nChannels = static_cast<WORD>(nChannels);
    m_wfxSilence.nSamplesPerSec = static_cast<DWORD>(nSampleRate);
    m_wfxSilence.wBitsPerSample = 16;
    m_wfxSilence.nBlockAlign = static_cast<WORD>(2 * nChannels);
    m_wfxSilence.nAvgBytesPerSec = m_wfxSilence.nBlockAlign * m_wfxSilence.nSamplesPerSec;
    if (m_pAudioFormat)
        m_pAudioFormat->SetWaveFormat(&m_wfxSilence);
}
