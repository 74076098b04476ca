// The conversion driver's stabilisation: the motion-detection pre-pass over
// an item's video and the per-frame transform of the encoding passes.
#include "app/recording/FormatsConverterEx.h"

#include <ctime>

#include "app/recording/ConverterContext.h"
#include "app/recording/Stabilisation.h"

namespace {

// The planes of a frame, or FALSE when it has no video interface.
BOOL GetPlanes(IMediaSample5* pFrame, BYTE* pPlanes[4], int pnLineSizes[4])
{
    CEngineRef<IMediaVideoFrame5> video;
    if (!pFrame || FAILED(pFrame->QueryInterface(IID_IMediaVideoFrame5, video.OutVoid())) || !video)
        return FALSE;
    for (LONG i = 0; i < 4; ++i)
    {
        BYTE* pData = nullptr;
        LONG nLine = 0;
        if (FAILED(video->GetPlane(i, &pData, &nLine)))
        {
            pData = nullptr;
            nLine = 0;
        }
        pPlanes[i] = pData;
        pnLineSizes[i] = nLine;
    }
    return pPlanes[0] != nullptr;
}

// The frame in the stabiliser's pixel format: converted when a converter is
// set and takes it, else the frame as it came.
CEngineRef<IMediaSample5> ConvertForStabiliser(IMediaSampleConverter5* pConverter,
                                               const CEngineRef<IMediaSample5>& frame)
{
    CEngineRef<IMediaSample5> converted;
    if (pConverter)
    {
        IUnknown* pResult = nullptr;
        if (SUCCEEDED(pConverter->Command(MEDIACONV_CMD_CONVERT, frame.Get(), &pResult)) && pResult)
        {
            pResult->QueryInterface(IID_IMediaSample5, converted.OutVoid());
            pResult->Release();
        }
    }
    if (!converted)
        converted = frame;
    return converted;
}

}  // namespace

BOOL CFormatsConverterEx::StabilisationPrePass(double dDuration)
{
    m_pStabilisation.reset();
    m_pSource->Rewind(MEDIA_STREAM_VIDEO);
    CEngineRef<IMediaSample5> frame;
    HRESULT hr = m_pSource->ReadVideo(frame.Out());
    if (FAILED(hr) || !frame)
    {
        ReportError(CONVERTER_ERROR_COPY, FAILED(hr) ? hr : 0);
        return FALSE;
    }
    CEngineRef<IMediaVideoFrame5> video;
    CEngineRef<IMediaVideoFormat5> format;
    if (FAILED(frame.QueryTo(IID_IMediaVideoFrame5, video)) || !video ||
        FAILED(frame.QueryTo(IID_IMediaVideoFormat5, format)) || !format)
    {
        ReportError(CONVERTER_ERROR_STABILISATION_FRAME, 0);
        return FALSE;
    }
    LONG nWidth = 0, nHeight = 0;
    format->GetWidth(&nWidth);
    format->GetHeight(&nHeight);
    if (m_pConverter2)
    {
        format->SetPixelFormat(MEDIA_PIXEL_FORMAT_YUV420P);
        m_pConverter2->Command(MEDIACONV_CMD_CONFIGURE, format.Get(), nullptr);
    }

    CConverterContext& context = GetConverterContext();
    m_pStabilisation = std::make_unique<CStabilisationContext>();
    m_pStabilisation->ApplySettings(context.m_stabilisation);
    const BOOL bReady = m_pStabilisation->BeginDetection(nWidth, nHeight, context.GetTempFolder());
    if (!m_pStabilisation->GetStatFileName().IsEmpty())
        m_stabilisationFiles.Add(m_pStabilisation->GetStatFileName());
    if (!bReady)
    {
        ReportError(CONVERTER_ERROR_SETUP, 0);
        return FALSE;
    }

    BOOL bOk = TRUE;
    while (frame && !m_bStop)
    {
        CEngineRef<IMediaSample5> converted = ConvertForStabiliser(m_pConverter2.Get(), frame);
        BYTE* pPlanes[4];
        int nLines[4];
        if (GetPlanes(converted.Get(), pPlanes, nLines))
            m_pStabilisation->DetectFrame(pPlanes, nLines);

        frame.Reset();
        hr = m_pSource->ReadVideo(frame.Out());
        if (FAILED(hr))
        {
            ReportError(CONVERTER_ERROR_COPY, hr);
            bOk = FALSE;
            break;
        }
        const long nSecond = static_cast<long>(time(nullptr));
        if (nSecond != m_nLastProgressSecond)
        {
            m_nLastProgressSecond = nSecond;
            double dPosition = 0;
            m_pSource->GetPosition(MEDIA_STREAM_VIDEO, &dPosition);
            LONG nSplit = 0;
            Progress(dPosition, m_dJobPosition + dPosition, &nSplit);
        }
    }
    m_pStabilisation->EndDetection();
    m_dJobPosition += dDuration;
    return bOk;
}

BOOL CFormatsConverterEx::StabiliseFrame(CEngineRef<IMediaSample5>& frame)
{
    if (!m_pStabilisation)
    {
        ReportError(CONVERTER_ERROR_SETUP, 0);
        return FALSE;
    }
    CEngineRef<IMediaSample5> converted = ConvertForStabiliser(m_pConverter2.Get(), frame);
    BYTE* pPlanes[4];
    int nLines[4];
    if (!GetPlanes(converted.Get(), pPlanes, nLines))
    {
        ReportError(CONVERTER_ERROR_STABILISATION_FRAME, 0);
        return FALSE;
    }
    if (!m_pStabilisation->TransformFrame(pPlanes, nLines))
    {
        ReportError(CONVERTER_ERROR_COPY, E_FAIL);
        return FALSE;
    }
    frame = converted;
    return TRUE;
}

void CFormatsConverterEx::DeleteStabilisationFiles()
{
    for (INT_PTR i = 0; i < m_stabilisationFiles.GetSize(); ++i)
        DeleteFileW(m_stabilisationFiles[i]);
    m_stabilisationFiles.RemoveAll();
    m_pStabilisation.reset();
}
