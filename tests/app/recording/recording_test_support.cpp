#include "recording_test_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/recording/EngineObjects.h"
#include "tests/support/command_output.h"

namespace app_test {

std::string Narrow(const CString& s)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), &out[0], n, nullptr, nullptr);
    return out;
}

CString WindowsPathOf(const std::string& unixPath)
{
    WCHAR* dos = wine_get_dos_file_name(unixPath.c_str());
    CString s(dos ? dos : _T(""));
    if (dos)
        HeapFree(GetProcessHeap(), 0, dos);
    return s;
}

std::string UnixPathOf(const CString& windowsPath)
{
    char* unix = wine_get_unix_file_name(windowsPath.GetString());
    std::string s(unix ? unix : "");
    if (unix)
        HeapFree(GetProcessHeap(), 0, unix);
    return s;
}

ScratchFolder::ScratchFolder(const std::string& parent)
{
    std::string pattern = parent + "/sondrel-app-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    unix = made ? made : "";
    windows = WindowsPathOf(unix);
    if (!windows.IsEmpty() && windows[windows.GetLength() - 1] != _T('\\'))
        windows += _T('\\');
}

ScratchFolder::~ScratchFolder()
{
    if (unix.find("/sondrel-app-test-") != std::string::npos)
        RunShell("rm -rf '" + unix + "'");
}

long UnixFileSize(const std::string& unixPath)
{
    struct stat st;
    return ::stat(unixPath.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

int RunShell(const std::string& command)
{
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

HRESULT CTestSink::OnFileOpened(VARIANT_BOOL* pbStop)
{
    m_calls.push_back("OnFileOpened");
    m_pStopFlag = pbStop;
    return 0;
}

HRESULT CTestSink::OnItemDone(LONG*, VARIANT_BOOL*)
{
    m_calls.push_back("OnItemDone");
    return 0;
}

HRESULT CTestSink::OnFileCreating(VARIANT_BOOL*)
{
    m_calls.push_back("OnFileCreating");
    return 0;
}

HRESULT CTestSink::OnFileConfigured(VARIANT_BOOL*)
{
    m_calls.push_back("OnFileConfigured");
    return 0;
}

HRESULT CTestSink::OnFileClosing(VARIANT_BOOL*)
{
    m_calls.push_back("OnFileClosing");
    IMediaFile5* pFile = nullptr;
    if (m_pConverter)
        m_pConverter->GetOutputFile(&pFile);
    m_writtenMs.push_back(CFormatsConverterEx::GetWrittenDuration(pFile));
    if (pFile)
        pFile->Release();
    return 0;
}

HRESULT CTestSink::OnFileClosed(VARIANT_BOOL*)
{
    m_calls.push_back("OnFileClosed");
    return 0;
}

HRESULT CTestSink::GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL*)
{
    m_calls.push_back("GetNextFileName");
    CString strName;
    strName.Format(_T("%sRecord-%03d%s"), m_strFolder.GetString(), static_cast<int>(m_files.size()),
                   m_strExtension.GetString());
    m_files.push_back(strName);
    *pbstrFileName = SysAllocString(strName.GetString());
    return 0;
}

HRESULT CTestSink::GetFileNameForMarker(LPCTSTR, BSTR*, VARIANT_BOOL*)
{
    m_calls.push_back("GetFileNameForMarker");
    return 0;
}

HRESULT CTestSink::OnConfigureOperation(IMediaPropertyBag5*, LONG, LONG, VARIANT_BOOL*)
{
    m_calls.push_back("OnConfigureOperation");
    return 0;
}

HRESULT CTestSink::OnFileStarted(LONG, LONG, VARIANT_BOOL*)
{
    m_calls.push_back("OnFileStarted");
    return 0;
}

HRESULT CTestSink::OnProgress(double dFileWritten, double dJobPosition, double, double, LONG, LONG,
                              LONG* pnSplitRequest, VARIANT_BOOL* pbStop)
{
    m_calls.push_back("OnProgress");
    ++m_nProgressCalls;
    if (m_onProgress)
        m_onProgress(dJobPosition);
    if (dJobPosition >= m_dStopAtMs)
        *pbStop = VARIANT_TRUE;
    if (m_dSplitAtMs > 0 && dJobPosition >= m_dSplitAtMs)
    {
        *pnSplitRequest = 1;
        m_dSplitAtMs = 0;
    }
    if (m_dPauseAtMs > 0 && dJobPosition >= m_dPauseAtMs && m_pCapture)
    {
        // As the recording dialog waits while paused.
        m_dPauseAtMs = 0;
        m_pCapture->Pause();
        for (DWORD waited = 0; waited < m_dwPauseFor; waited += 50)
            Sleep(50);
        m_pCapture->Start(0);
    }
    return 0;
}

HRESULT CTestSink::OnError(LONG nCode, LONG nDetail, VARIANT_BOOL*)
{
    m_calls.push_back("OnError");
    m_errors.emplace_back(nCode, nDetail);
    return 0;
}

HRESULT CTestSink::OnAudioSample(IMediaSample5* pSample)
{
    double dMs = 0;
    pSample->GetDuration(&dMs);
    m_dSampledMs += dMs;
    if (m_dSampledMs >= m_dStopAtMs && m_pStopFlag)
        *m_pStopFlag = VARIANT_TRUE;
    return 0;
}

std::vector<int> CTestSink::ErrorCodes() const
{
    std::vector<int> codes;
    for (const auto& e : m_errors)
        codes.push_back(e.first);
    return codes;
}

bool SelectDevice(IMediaCaptureSource5* pCapture, const char16_t* pszPart, bool bLast)
{
    if (FAILED(pCapture->RefreshDevices()))
        return false;
    LONG nCount = 0;
    pCapture->GetDeviceCount(&nCount);
    LONG nFound = -1;
    for (LONG i = 0; i < nCount; ++i)
    {
        BSTR b = nullptr;
        if (FAILED(pCapture->GetDeviceName(i, &b)))
            continue;
        CString strName = TakeEngineString(b);
        if (strName.Find(pszPart) >= 0)
        {
            nFound = i;
            if (!bLast)
                break;
        }
    }
    return nFound >= 0 && SUCCEEDED(pCapture->SelectDevice(nFound));
}

HRESULT RunRecordingJob(CSondrelProfileManager& profiles, CTestSink& sink, const JobOptions& o,
                        double* pdWallMs)
{
    CEngineRef<IMediaCaptureSource5> capture;
    if (sink.m_pCapture)
        capture.Assign(sink.m_pCapture);
    else if (FAILED(CreateEngineObject(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5, capture)) ||
             !SelectDevice(capture.Get(), o.pszDevice, o.bLastDevice))
        return E_FAIL;
    sink.m_pCapture = capture.Get();
    if (sink.m_strExtension.IsEmpty())
        sink.m_strExtension = g_AudioFormats[o.nFormat].pszExtension;

    profiles.SetCurrentFormat(o.nFormat);
    CEngineRef<IMediaPropertyBag5> profile(profiles.GetProfile(-1));
    CEngineRef<IMediaSource5> source;
    capture.QueryTo(IID_IMediaSource5, source);
    double dLive = 0;
    if (source)
        source->GetDuration(MEDIA_STREAM_ANY, &dLive);

    CEngineRef<IMediaConversionJob5> job;
    if (!profile || FAILED(CreateEngineObject(CLSID_MediaConversionJob5, IID_IMediaConversionJob5, job)))
        return E_FAIL;
    job->SetContainerType(g_AudioFormats[o.nFormat].nContainerType);
    job->SetOption(0);
    job->SetProfile(profile.Get());
    CEngineRef<IMediaMarkerList5> markers;
    if (o.dMarkerEverySeconds > 0 &&
        SUCCEEDED(CreateEngineObject(CLSID_MediaMarkerList5, IID_IMediaMarkerList5, markers)))
    {
        markers->SetEnabled(VARIANT_TRUE);
        for (double t = o.dMarkerEverySeconds * 1000; t < 86400000.0; t += o.dMarkerEverySeconds * 1000)
        {
            LONG nIndex = -1;
            markers->Add(t, 0.0, nullptr, &nIndex);
            markers->EnableMarker(nIndex, VARIANT_TRUE);
        }
    }
    job->SetSplitFlags(o.nSplitFlags);
    job->SetSplitSize(o.nSplitKilobytes);
    job->SetMarkerList(markers.Get());
    job->SetInput(0, o.inputOf ? o.inputOf(capture.Get()) : capture.Get(), dLive);
    CEngineRef<IMediaPropertyBag5> config;
    CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, config);
    if (config)
        config->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_GLOBAL_CONFIG, 0);
    job->Setup(0, config.Get(), 0);

    CFormatsConverterEx converter;
    converter.SetEvents(&sink);
    converter.SetSizeMargin(32768);
    converter.SetFrameObserverSwitch(0);
    converter.SetAudioChunk(o.nAudioChunkMs);
    if (sink.m_bStopOnSamples)
        converter.SetSampleNotification(1);
    sink.m_pConverter = &converter;

    const DWORD dwStart = GetTickCount();
    capture->Start(0);
    HRESULT hr = converter.Run(job.Get(), TRUE);
    capture->Stop();
    if (pdWallMs)
        *pdWallMs = static_cast<double>(GetTickCount() - dwStart);
    sink.m_pConverter = nullptr;
    sink.m_pCapture = nullptr;
    return hr;
}

namespace {

// The value of "key" in ffprobe's JSON (the first occurrence), unquoted.
std::string JsonValue(const std::string& json, const std::string& key)
{
    size_t at = json.find("\"" + key + "\"");
    if (at == std::string::npos)
        return std::string();
    at = json.find(':', at);
    if (at == std::string::npos)
        return std::string();
    ++at;
    while (at < json.size() && (json[at] == ' ' || json[at] == '"'))
        ++at;
    size_t end = at;
    while (end < json.size() && json[end] != '"' && json[end] != ',' && json[end] != '\n' && json[end] != '}')
        ++end;
    return json.substr(at, end - at);
}

}  // namespace

Probe ProbeFile(const std::string& unixPath)
{
    Probe p;
    p.raw = CommandOutput(
        "ffprobe -v error -show_entries format=format_name,duration:stream=codec_name,sample_rate,"
        "channels -of json '" +
        unixPath + "' 2>&1");
    p.ok = p.raw.find("\"format\"") != std::string::npos && p.raw.find("\"streams\"") != std::string::npos;
    p.formatName = JsonValue(p.raw, "format_name");
    p.codec = JsonValue(p.raw, "codec_name");
    p.sampleRate = std::atoi(JsonValue(p.raw, "sample_rate").c_str());
    p.channels = std::atoi(JsonValue(p.raw, "channels").c_str());
    const std::string duration = JsonValue(p.raw, "duration");
    if (!duration.empty())
        p.durationMs = std::atof(duration.c_str()) * 1000.0;
    if (p.formatName == "amr" || p.formatName == "aac")
    {
        std::string packets =
            JsonValue(CommandOutput("ffprobe -v error -count_packets -select_streams a:0 -show_entries "
                                    "stream=nb_read_packets -of json '" +
                                    unixPath + "' 2>&1"),
                      "nb_read_packets");
        const long n = std::atol(packets.c_str());
        if (p.formatName == "amr")
            p.durationMs = n * 20.0;
        else if (p.sampleRate > 0)
            p.durationMs = (n - 1) * 1024000.0 / p.sampleRate;  // one frame of encoder priming
    }
    return p;
}

}  // namespace app_test
