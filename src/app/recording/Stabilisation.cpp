#include "app/recording/Stabilisation.h"

// vid.stab is a C library whose headers do not say so. Its calls answer
// VS_OK, except vsFrameInfoInit, which answers 1 on success.
extern "C" {
#include <vid.stab/libvidstab.h>
}

#include <cstring>
#include <string>

namespace {

// vid.stab reads and writes its statistics through C streams, so the file is
// opened by its Unix name.
FILE* OpenUnixFile(const CString& strWindowsPath, const char* pszMode)
{
    char* pszUnix = wine_get_unix_file_name(strWindowsPath.GetString());
    if (!pszUnix)
        return nullptr;
    FILE* f = fopen(pszUnix, pszMode);
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return f;
}

char s_szModuleName[] = "sondrel";

}  // namespace

struct CStabilisationContext::Detection
{
    VSMotionDetect state;
};

struct CStabilisationContext::Transforms
{
    VSTransformData data;
    VSTransformations list;
    bool bDataReady = false;
    bool bListReady = false;
};

CStabilisationContext::CStabilisationContext()
{
    // vid.stab's usual defaults, until the application's settings arrive.
    m_nShakiness = 5;
    m_nAccuracy = 15;
    m_nStepSize = 6;
    m_nAlgorithm = 1;
    m_nVirtualTripod = 0;
    m_nShow = 0;
    m_dContrastThreshold = 0.25;
    m_nSmoothing = 15;
    m_nCrop = 0;
    m_nInvert = 0;
    m_nRelative = 1;
    m_nZoom = 0;
    m_nOptimalZoom = 1;
    m_nInterpolation = 2;
    m_nCameraPathAlgorithm = 0;
    m_dZoomSpeed = 0.25;
    m_dSharpen = 0.8;
    m_nMaxShift = -1;
    m_dMaxAngle = -1.0;
}

CStabilisationContext::~CStabilisationContext()
{
    EndDetection();
    EndTransforms();
}

void CStabilisationContext::ApplySettings(const StabilisationSettings& s)
{
    m_nShakiness = s.nShakiness;
    m_nAccuracy = s.nAccuracy;
    m_nStepSize = s.nStepSize;
    m_nAlgorithm = s.nAlgorithm;
    m_nVirtualTripod = s.nVirtualTripod;
    m_nShow = s.nShow;
    m_dContrastThreshold = s.dContrastThreshold;
    m_nSmoothing = s.nSmoothing;
    m_nCrop = s.nCrop;
    m_nInvert = s.nInvert;
    m_nRelative = s.nRelative;
    m_nZoom = s.nZoom;
    m_nOptimalZoom = s.nOptimalZoom;
    m_nInterpolation = s.nInterpolation;
    m_nCameraPathAlgorithm = s.nCameraPathAlgorithm;
    m_dZoomSpeed = s.dZoomSpeed;
    m_dSharpen = s.dSharpen;
    m_nMaxShift = s.nMaxShift;
    m_dMaxAngle = s.nMaxAngleDegrees * 3.1415927 / 180.0;
}

BOOL CStabilisationContext::BeginDetection(int nWidth, int nHeight, LPCTSTR pszTempFolder)
{
    EndDetection();
    VSFrameInfo fi;
    if (nWidth <= 0 || nHeight <= 0 || !vsFrameInfoInit(&fi, nWidth, nHeight, PF_YUV420P))
        return FALSE;
    m_nWidth = nWidth;
    m_nHeight = nHeight;

    VSMotionDetectConfig conf = vsMotionDetectGetDefaultConfig(s_szModuleName);
    conf.shakiness = m_nShakiness;
    conf.accuracy = m_nAccuracy;
    conf.stepSize = m_nStepSize;
    conf.algo = m_nAlgorithm;
    conf.virtualTripod = m_nVirtualTripod;
    conf.show = m_nShow;
    conf.contrastThreshold = m_dContrastThreshold;

    m_pDetect = new Detection;
    std::memset(&m_pDetect->state, 0, sizeof(VSMotionDetect));
    if (vsMotionDetectInit(&m_pDetect->state, &conf, &fi) != VS_OK)
    {
        delete m_pDetect;
        m_pDetect = nullptr;
        return FALSE;
    }

    CString strName;
    strName.Format(_T("%svid_stab_%p.stat"), pszTempFolder ? pszTempFolder : _T(""),
                   static_cast<void*>(this));
    m_pStatFile = OpenUnixFile(strName, "w");
    if (!m_pStatFile || vsPrepareFile(&m_pDetect->state, m_pStatFile) != VS_OK)
    {
        if (m_pStatFile)
            m_strStatFile = strName;
        EndDetection();
        return FALSE;
    }
    m_strStatFile = strName;
    return TRUE;
}

BOOL CStabilisationContext::DetectFrame(BYTE* const pPlanes[4], const int pnLineSizes[4])
{
    if (!m_pDetect || !m_pStatFile)
        return FALSE;
    VSFrame frame;
    for (int i = 0; i < 4; ++i)
    {
        frame.data[i] = pPlanes[i];
        frame.linesize[i] = pnLineSizes[i];
    }
    LocalMotions motions;
    if (vsMotionDetection(&m_pDetect->state, &motions, &frame) != VS_OK)
        return FALSE;
    int nResult = vsWriteToFile(&m_pDetect->state, m_pStatFile, &motions);
    vs_vector_del(&motions);
    return nResult == VS_OK;
}

void CStabilisationContext::EndDetection()
{
    if (m_pStatFile)
    {
        fclose(m_pStatFile);
        m_pStatFile = nullptr;
    }
    if (m_pDetect)
    {
        vsMotionDetectionCleanup(&m_pDetect->state);
        delete m_pDetect;
        m_pDetect = nullptr;
    }
}

BOOL CStabilisationContext::BeginTransforms()
{
    EndTransforms();
    if (m_strStatFile.IsEmpty() || m_nWidth <= 0)
        return FALSE;
    VSFrameInfo fi;
    if (!vsFrameInfoInit(&fi, m_nWidth, m_nHeight, PF_YUV420P))
        return FALSE;

    VSTransformConfig conf = vsTransformGetDefaultConfig(s_szModuleName);
    conf.smoothing = m_nSmoothing;
    conf.crop = static_cast<VSBorderType>(m_nCrop);
    conf.invert = m_nInvert;
    conf.relative = m_nRelative;
    conf.zoom = m_nZoom;
    conf.optZoom = m_nOptimalZoom;
    conf.zoomSpeed = m_dZoomSpeed;
    conf.interpolType = static_cast<VSInterpolType>(m_nInterpolation);
    conf.camPathAlgo = static_cast<VSCamPathAlgo>(m_nCameraPathAlgorithm);
    conf.maxShift = m_nMaxShift;
    conf.maxAngle = m_dMaxAngle;

    m_pTransforms = new Transforms;
    std::memset(&m_pTransforms->data, 0, sizeof(VSTransformData));
    std::memset(&m_pTransforms->list, 0, sizeof(VSTransformations));
    if (vsTransformDataInit(&m_pTransforms->data, &conf, &fi, &fi) != VS_OK)
    {
        EndTransforms();
        return FALSE;
    }
    m_pTransforms->bDataReady = true;
    vsTransformationsInit(&m_pTransforms->list);
    m_pTransforms->bListReady = true;

    FILE* f = OpenUnixFile(m_strStatFile, "r");
    if (!f)
    {
        EndTransforms();
        return FALSE;
    }
    BOOL bOk = FALSE;
    const int nVersion = vsReadFileVersion(f);
    rewind(f);
    if (nVersion < 1)
    {
        // A file of the older transform format.
        bOk = vsReadOldTransforms(&m_pTransforms->data, f, &m_pTransforms->list) != 0;
    }
    else
    {
        VSManyLocalMotions motions;
        vs_vector_init(&motions, 0);
        if (vsReadLocalMotionsFile(f, &motions) == VS_OK)
        {
            bOk = vsLocalmotions2Transforms(&m_pTransforms->data, &motions, &m_pTransforms->list) == VS_OK;
        }
        for (int i = 0; i < vs_vector_size(&motions); ++i)
        {
            LocalMotions* lm = static_cast<LocalMotions*>(vs_vector_get(&motions, i));
            if (lm)
                vs_vector_del(lm);
        }
        vs_vector_del(&motions);
    }
    fclose(f);
    if (!bOk || vsPreprocessTransforms(&m_pTransforms->data, &m_pTransforms->list) != VS_OK)
    {
        EndTransforms();
        return FALSE;
    }
    return TRUE;
}

BOOL CStabilisationContext::TransformFrame(BYTE* const pPlanes[4], const int pnLineSizes[4])
{
    if (!m_pTransforms || !m_pTransforms->bDataReady)
        return FALSE;
    VSFrame frame;
    for (int i = 0; i < 4; ++i)
    {
        frame.data[i] = pPlanes[i];
        frame.linesize[i] = pnLineSizes[i];
    }
    VSTransformData* td = &m_pTransforms->data;
    if (vsTransformPrepare(td, &frame, &frame) != VS_OK)
        return FALSE;
    VSTransform t = vsGetNextTransform(td, &m_pTransforms->list);
    if (vsDoTransform(td, t) != VS_OK)
        return FALSE;
    return vsTransformFinish(td) == VS_OK;
}

void CStabilisationContext::EndTransforms()
{
    if (!m_pTransforms)
        return;
    if (m_pTransforms->bListReady)
        vsTransformationsCleanup(&m_pTransforms->list);
    if (m_pTransforms->bDataReady)
        vsTransformDataCleanup(&m_pTransforms->data);
    delete m_pTransforms;
    m_pTransforms = nullptr;
}
