// Shared pieces of the recorder's tests: a scratch folder seen from both
// sides, a converter sink that behaves as the recording dialog does, the
// recording job's engine calls, and ffprobe's view of a written file.
#pragma once

#include "sondrel_gtest.h"

#include <afx.h>

#include <functional>
#include <string>
#include <vector>

#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/recording/ConverterEvents.h"
#include "app/recording/FormatsConverterEx.h"

namespace app_test {

std::string Narrow(const CString& s);

// A fresh folder under /tmp (or under a given Unix folder), removed at the end.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string& parent = "/tmp");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string unix;  // no trailing slash
    CString windows;   // ends with a backslash
};

CString WindowsPathOf(const std::string& unixPath);
std::string UnixPathOf(const CString& windowsPath);
long UnixFileSize(const std::string& unixPath);
int RunShell(const std::string& command);

// COM for the test's thread, single-threaded as in the program.
class ComTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

// The converter's owner, as the recording dialog is: names files
// "Record-000<ext>" on in its folder, stops, pauses or splits on request.
class CTestSink : public CConverterEvents
{
public:
    CString m_strFolder;
    CString m_strExtension;
    CFormatsConverterEx* m_pConverter = nullptr;
    IMediaCaptureSource5* m_pCapture = nullptr;

    double m_dStopAtMs = 20000;  // job position that ends the recording
    double m_dSplitAtMs = 0;     // manual split once the position passes it
    double m_dPauseAtMs = 0;     // pause once the position passes it...
    DWORD m_dwPauseFor = 0;      // ...for this long
    std::function<void(double)> m_onProgress;
    // Stop by the sound itself rather than at the next progress report: the
    // source may deliver in bursts between two reports.
    bool m_bStopOnSamples = false;

    std::vector<std::string> m_calls;
    std::vector<std::pair<LONG, LONG>> m_errors;
    std::vector<CString> m_files;     // in the order they were named
    std::vector<double> m_writtenMs;  // each file's duration as it was closed
    int m_nProgressCalls = 0;
    VARIANT_BOOL* m_pStopFlag = nullptr;  // the driver's one flag for the run
    double m_dSampledMs = 0;

    HRESULT OnFileOpened(VARIANT_BOOL* pbStop) override;
    HRESULT OnItemDone(LONG* pnResult, VARIANT_BOOL* pbStop) override;
    HRESULT OnFileCreating(VARIANT_BOOL* pbStop) override;
    HRESULT OnFileConfigured(VARIANT_BOOL* pbStop) override;
    HRESULT OnFileClosing(VARIANT_BOOL* pbStop) override;
    HRESULT OnFileClosed(VARIANT_BOOL* pbStop) override;
    HRESULT GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL* pbStop) override;
    HRESULT GetFileNameForMarker(LPCTSTR pszMarkerName, BSTR* pbstrFileName, VARIANT_BOOL* pbStop) override;
    HRESULT OnConfigureOperation(IMediaPropertyBag5* pOperation, LONG nPass, LONG nFile,
                                 VARIANT_BOOL* pbStop) override;
    HRESULT OnFileStarted(LONG nPass, LONG nFile, VARIANT_BOOL* pbStop) override;
    HRESULT OnProgress(double dFileWritten, double dJobPosition, double dSourceDuration,
                       double dTotalEstimate, LONG nReserved1, LONG nReserved2, LONG* pnSplitRequest,
                       VARIANT_BOOL* pbStop) override;
    HRESULT OnError(LONG nCode, LONG nDetail, VARIANT_BOOL* pbStop) override;
    HRESULT OnAudioSample(IMediaSample5* pSample) override;

    std::vector<int> ErrorCodes() const;
};

struct JobOptions
{
    int nFormat = 0;  // row of the format table
    LONG nSplitFlags = 0;
    LONG nSplitKilobytes = 0;
    double dMarkerEverySeconds = 0;
    const char16_t* pszDevice = u"Sine";
    bool bLastDevice = false;  // the newest matching device
    int nAudioChunkMs = 500;   // the driver's sound per cycle
    // The job's input made of the capture source; the capture itself when
    // not given.
    std::function<IUnknown*(IMediaCaptureSource5*)> inputOf;
};

// Selects the first (or last) capture device whose name holds the text.
bool SelectDevice(IMediaCaptureSource5* pCapture, const char16_t* pszPart, bool bLast);

// Records as the recording job does: a conversion job with the profile
// manager's selected profile of the format, the split settings and the
// capture source as input, run through a CFormatsConverterEx with the sink.
// Returns Run's result; the wall-clock time of the run in *pdWallMs.
HRESULT RunRecordingJob(CSondrelProfileManager& profiles, CTestSink& sink, const JobOptions& options,
                        double* pdWallMs = nullptr);

struct Probe
{
    bool ok = false;
    std::string formatName;
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    double durationMs = -1;
    std::string raw;
};
// ffprobe's view. Bare AMR and ADTS streams carry no duration of their own:
// theirs is counted from their frames.
Probe ProbeFile(const std::string& unixPath);

}  // namespace app_test
