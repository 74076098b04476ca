// The conversion driver: copies media from the engine's job sources into
// output files through the engine's media-file objects. A job holds one or
// more items, each written in one or more passes, each pass into one or more
// files (split by size, by duration, at markers or on the owner's request).
// Run works synchronously on the caller's thread and reports only through the
// CConverterEvents sink.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <map>
#include <memory>
#include <vector>

#include "app/recording/ConverterEvents.h"
#include "app/recording/EngineObjects.h"

class CStabilisationContext;

// Inside a catch block: the caught exception as an HRESULT (E_OUTOFMEMORY
// when memory ran out), a framework exception object deleted.
HRESULT AFXAPI ResultOfCaughtException();

// An optional observer of the video frames; the driver owns it and tells it
// to release itself when the driver goes.
class CConverterFrameObserver
{
public:
    virtual void SetFrameRate(double dFramesPerSecond) = 0;
    virtual void Release() = 0;

protected:
    virtual ~CConverterFrameObserver() {}
};

class CFormatsConverterEx
{
public:
    explicit CFormatsConverterEx(CConverterFrameObserver* pFrameObserver = nullptr);
    virtual ~CFormatsConverterEx();
    CFormatsConverterEx(const CFormatsConverterEx&) = delete;
    CFormatsConverterEx& operator=(const CFormatsConverterEx&) = delete;

    virtual HRESULT GetCurrentItemId(LONG* pnId);
    virtual HRESULT GetCurrentItem(IUnknown** ppItem);
    virtual HRESULT GetOutputFileName(BSTR* pbstrName);
    virtual HRESULT GetOutputFile(IMediaFile5** ppFile);
    virtual HRESULT GetCurrentSample(IMediaSample5** ppSample);
    // Runs the job to its end. 0, or MEDIA_E_NO_JOB when the job is null or
    // offers neither job interface; failures during the run go to OnError.
    // An exception thrown inside the run (by a callback, or memory running
    // out) ends it: the open file is finished, OnError gets
    // CONVERTER_ERROR_RUN, and the failure is returned.
    virtual HRESULT Run(IUnknown* pJob, BOOL bWait);

    void SetEvents(CConverterEvents* pEvents) { m_pEvents = pEvents; }
    CConverterEvents* GetEvents() const { return m_pEvents; }
    void SetFrameObserverSwitch(int nValue) { m_nFrameObserverSwitch = nValue; }
    int GetFrameObserverSwitch() const { return m_nFrameObserverSwitch; }
    void SetStabilisation(int nValue) { m_nStabilise = nValue; }
    void SetSampleNotification(int nValue) { m_nSampleNotify = nValue; }
    void SetSizeMargin(LONGLONG nBytes) { m_nSizeMargin = nBytes; }
    LONGLONG GetSizeMargin() const { return m_nSizeMargin; }
    void SetAudioChunk(int nMilliseconds) { m_nAudioChunk = nMilliseconds; }
    DWORD GetStatId() const { return m_dwStatId; }

    // Statistics file of a video stream: "<temp>pass_<stat id>_<file>.stat".
    CString FormatStatFileName(int nFileIndex) const;

    // Source duration: its video when it has video, else its audio, else 0.
    static double GetSourceDuration(IMediaSource5* pSource);
    // The same rule on a written file's streams.
    static double GetWrittenDuration(IMediaFile5* pFile);
    // 1 without a video stream format in the profile, else what the
    // application's encoder configuration reports.
    static LONG GetPassCount(IMediaPropertyBag5* pProfile);
    // 1 (target size, with its kilobytes), 0 (constant) or 2 (anything else).
    static int GetRateControlMode(IMediaVideoFormat5* pFormat, LONG* pnTargetKilobytes);
    // Element nIndex of "VideoStreamInfo" as a video format, or an empty reference.
    static CEngineRef<IMediaVideoFormat5> GetVideoStreamFormat(IMediaPropertyBag5* pProfile, LONG nIndex);

    // Prepares the profile for one output file: bit rates of target-size
    // video streams, statistics files, the estimated-duration split and the
    // PCM format of generated silence.
    void FillStreamSettings(IMediaPropertyBag5* pProfile, int nPass, int nFileIndex, double dSourceDuration);

    // The silence generator's PCM format, as the last stream settings made it.
    const WAVEFORMATEX& GetSilenceFormat() const { return m_wfxSilence; }
    BOOL IsSplitByEstimate() const { return m_nSplitByEstimate != 0; }
    double GetEstimateLimit() const { return m_dEstimateLimit; }

protected:
    struct Marker
    {
        double dTime;
        CString strName;
    };

    // What one cycle of the copy loop deals with and what it found.
    struct CopyCycle
    {
        BOOL bBothVideo = FALSE;    // source and output have video
        BOOL bOutputAudio = FALSE;  // the output has audio
        BOOL bBothAudio = FALSE;    // ...and so has the source
        BOOL bEndOfStream = FALSE;
        BOOL bMarkerSplit = FALSE;  // a marker was reached: the next file follows this cycle
    };

    HRESULT RunJob(IUnknown* pJob);
    // After an exception: finishes the open file and reports the failure.
    HRESULT EndFailedRun(HRESULT hrFailure);
    void ProcessItem(int nItemIndex, int nItemCount, IMediaConversionJob5* pJob, IMediaSource5* pSource);
    // The job's split switches and limits: its size in kilobytes, its duration in ms.
    void ReadSplitSettings(IMediaConversionJob5* pJob);
    BOOL OpenNextFile();
    void CloseOutputFile(BOOL bAddPosition);
    void CopyLoop(int nItemIndex, int nItemCount);
    double SourcePosition(const CopyCycle& cycle) const;
    BOOL IsSplitDue(const CopyCycle& cycle, int nItemIndex, int nItemCount);
    // FALSE when the pass ends on a failure (already reported).
    BOOL CopyVideo(CopyCycle& cycle);
    BOOL CopyAudio(CopyCycle& cycle);
    // Milliseconds of sound for this cycle: a chunk, what the pictures are
    // ahead, the rest of the source or the way to the next marker.
    double NextAudioAmount(CopyCycle& cycle);
    void CutFrameAtMarker(IMediaSample5* pFrame, CopyCycle& cycle);
    void DropMarkersBefore(double dPosition);
    void ReportWriteFailure(HRESULT hr);
    // FALSE when the file the owner asked for could not be opened.
    BOOL ProgressOncePerSecond();
    BOOL CheckDiskSpace();
    // Bytes free where the output goes; with bDriveOnly, asked of the drive
    // alone. Virtual so that the thresholds can be driven without filling a disk.
    virtual BOOL QueryFreeSpace(ULONGLONG* pnBytes, BOOL bDriveOnly) const;
    LONGLONG GetOutputSize() const;
    void EndPass();
    void EndItem();
    void NextRandom();
    void Progress(double dWritten, double dJobPosition, LONG* pnSplit);
    void ReportError(ConverterError nCode, LONG nDetail);

    BOOL StabilisationPrePass(double dDuration);
    BOOL StabiliseFrame(CEngineRef<IMediaSample5>& frame);
    void DeleteStabilisationFiles();

    // The owner's sink and switches.
    CConverterEvents* m_pEvents = nullptr;
    int m_nFrameObserverSwitch = -1;
    int m_nStabilise = 0;
    int m_nSplitByDuration = 0;
    int m_nSplitBySize = 0;
    int m_nSplitByEstimate = 0;
    int m_nSplitAtMarkers = 0;
    int m_nSampleNotify = 0;
    LONGLONG m_nSizeLimit = 0;
    double m_dEstimateLimit = 0;
    double m_dDurationLimit = 0;
    std::vector<Marker> m_markers;
    LONG m_nCurrentItemId = -1;
    WAVEFORMATEX m_wfxSilence;
    BYTE m_silenceExtension[32];
    CString m_strOutputFileName;
    CString m_strPendingMarker;
    DWORD m_dwRandom = 0;
    DWORD m_dwStatId = 0;
    CConverterFrameObserver* m_pFrameObserver = nullptr;
    LONGLONG m_nSizeMargin = 1048576;
    int m_nAudioChunk = 500;
    CEngineRef<IMediaAudioFormat5> m_pAudioFormat;
    CEngineRef<IMediaSampleConverter5> m_pConverter1;
    CEngineRef<IMediaSampleConverter5> m_pConverter2;
    CEngineRef<IMediaSample5> m_pCurrentSample;
    CEngineRef<IMediaSample5> m_pPendingSample;
    CEngineRef<IUnknown> m_pCurrentItem;
    CEngineRef<IMediaFile5> m_pOutputFile;

    // State of the run in progress.
    VARIANT_BOOL m_bStop = 0;
    BOOL m_bDiskWarningArmed = TRUE;
    double m_dTotalEstimate = 0;
    double m_dJobPosition = 0;
    double m_dSourceDuration = 0;
    CEngineRef<IMediaConversionJob5> m_pJob;
    CEngineRef<IMediaSource5> m_pSource;
    CEngineRef<IMediaPropertyBag5> m_pProfile;
    std::vector<Marker> m_allMarkers;
    std::map<int, CString> m_firstPassNames;
    std::map<int, int> m_splitCycles;
    int m_nPass = 0;
    int m_nFileIndex = 0;
    int m_nCycle = 0;
    int m_nDrive = 0;
    BOOL m_bFirstFileOfPass = TRUE;
    BOOL m_bFileOpen = FALSE;
    HANDLE m_hSizeFile = INVALID_HANDLE_VALUE;
    long m_nLastProgressSecond = -1;
    std::unique_ptr<CStabilisationContext> m_pStabilisation;
    CStringArray m_stabilisationFiles;
};
