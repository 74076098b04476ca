// What the conversion driver takes from the application: the global engine
// configuration handed to every write operation, the engine's encoder
// configuration object, the temporary folder of the statistics files and the
// stabilisation settings. The application shell fills it at start-up; until
// then every member is empty and the driver does without.
#pragma once

#include <afx.h>

#include "engine/MediaEngine.h"

struct StabilisationSettings
{
    // Motion detection.
    int nShakiness = 5;
    int nAccuracy = 15;
    int nStepSize = 6;
    int nAlgorithm = 1;
    int nVirtualTripod = 0;
    int nShow = 0;
    double dContrastThreshold = 0.25;
    // Transforms.
    int nSmoothing = 15;
    int nCrop = 0;
    int nInvert = 0;
    int nRelative = 1;
    int nZoom = 0;
    int nOptimalZoom = 1;
    int nInterpolation = 2;
    int nCameraPathAlgorithm = 0;
    double dZoomSpeed = 0.25;
    double dSharpen = 0.8;
    int nMaxShift = -1;
    int nMaxAngleDegrees = -1;  // whole degrees; -1 for no limit
};

class CConverterContext
{
public:
    CConverterContext();
    ~CConverterContext();
    CConverterContext(const CConverterContext&) = delete;
    CConverterContext& operator=(const CConverterContext&) = delete;

    // Each setter keeps its own reference; null clears.
    void SetGlobalConfig(IMediaPropertyBag5* pConfig);
    void SetEncoderConfig(IMediaEngineAux5* pAux);
    IMediaPropertyBag5* GetGlobalConfig() const { return m_pGlobalConfig; }
    IMediaEngineAux5* GetEncoderConfig() const { return m_pEncoderConfig; }

    // Ends with a path separator; empty: the system temporary folder.
    CString m_strTempFolder;
    StabilisationSettings m_stabilisation;

    CString GetTempFolder() const;
    // Releases the engine objects (before COM goes away).
    void Release();

private:
    IMediaPropertyBag5* m_pGlobalConfig = nullptr;
    IMediaEngineAux5* m_pEncoderConfig = nullptr;
};

// The one context of the process.
CConverterContext& GetConverterContext();
