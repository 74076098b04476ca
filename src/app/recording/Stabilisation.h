// Video stabilisation of one job item: a detection pass stores the camera
// motion of every frame in a statistics file; each later pass turns those
// motions into smoothing transforms and applies one to every frame in place.
// Frames are planar YUV 4:2:0.
#pragma once

#include <afx.h>

#include <cstdio>

#include "app/recording/ConverterContext.h"

class CStabilisationContext
{
public:
    CStabilisationContext();
    ~CStabilisationContext();
    CStabilisationContext(const CStabilisationContext&) = delete;
    CStabilisationContext& operator=(const CStabilisationContext&) = delete;

    // Takes the application's settings; the angle goes from degrees to radians.
    void ApplySettings(const StabilisationSettings& settings);

    // Detection: set up for frames of this size and open the statistics file
    // "<temp folder>vid_stab_<address>.stat" for writing.
    BOOL BeginDetection(int nWidth, int nHeight, LPCTSTR pszTempFolder);
    // One frame's four planes (data and line size).
    BOOL DetectFrame(BYTE* const pPlanes[4], const int pnLineSizes[4]);
    void EndDetection();

    // Transform pass: read the statistics file back into smoothed transforms.
    BOOL BeginTransforms();
    // Moves the next frame by its transform, in place.
    BOOL TransformFrame(BYTE* const pPlanes[4], const int pnLineSizes[4]);
    void EndTransforms();

    // The statistics file, once it was created (to delete at the end of the run).
    const CString& GetStatFileName() const { return m_strStatFile; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    // Settings, as vid.stab names them.
    int m_nShakiness, m_nAccuracy, m_nStepSize, m_nAlgorithm, m_nVirtualTripod, m_nShow;
    double m_dContrastThreshold;
    int m_nSmoothing, m_nCrop, m_nInvert, m_nRelative, m_nZoom, m_nOptimalZoom, m_nInterpolation;
    int m_nCameraPathAlgorithm;
    double m_dZoomSpeed, m_dSharpen;
    int m_nMaxShift;
    double m_dMaxAngle;  // radians, -1 for no limit

private:
    struct Detection;
    struct Transforms;

    Detection* m_pDetect = nullptr;
    Transforms* m_pTransforms = nullptr;
    CString m_strStatFile;
    FILE* m_pStatFile = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
