#include "app/recording/FormatsConverterEx.h"

#include <algorithm>
#include <ctime>
#include <new>

#include <comdef.h>

#include "app/recording/ConverterContext.h"
#include "app/recording/Stabilisation.h"
#include "app/recording/TempFiles.h"

namespace {

constexpr ULONGLONG DISK_WARNING_BYTES = 104857600;  // 100 MiB: warn once
constexpr ULONGLONG DISK_MINIMUM_BYTES = 5242880;    // 5 MiB: no further writing
constexpr double MARKER_EPSILON = 0.0001;
// A read that ends this much before a marker fell short of it; a full one
// ends within half a sample.
constexpr double MARKER_SHORT_READ_MS = 1;

DWORD RandomStep(DWORD x)
{
    return ~(x * 1664525u + 1013904223u);
}

BOOL IsDiskFull(HRESULT hr)
{
    return hr == HRESULT_FROM_WIN32(ERROR_DISK_FULL) || hr == HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL);
}

// Free space as OnError reports it.
LONG WholeMegabytes(ULONGLONG nBytes)
{
    return static_cast<LONG>(std::min<ULONGLONG>(nBytes / 1048576, 0x7FFFFFFF));
}

LONG StreamCount(IMediaFile5* pFile, LONG nType)
{
    LONG n = 0;
    if (!pFile || FAILED(pFile->GetStreamCount(nType, &n)))
        return 0;
    return n;
}

LONG StreamCount(IMediaSource5* pSource, LONG nType)
{
    LONG n = 0;
    if (!pSource || FAILED(pSource->GetStreamCount(nType, &n)))
        return 0;
    return n;
}

}  // namespace

HRESULT AFXAPI ResultOfCaughtException()
{
    try
    {
        throw;
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return E_OUTOFMEMORY;
    }
    catch (CException* e)
    {
        e->Delete();
        return E_FAIL;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    catch (const _com_error& e)
    {
        return FAILED(e.Error()) ? e.Error() : E_FAIL;
    }
    catch (...)
    {
        return E_FAIL;
    }
}

CFormatsConverterEx::CFormatsConverterEx(CConverterFrameObserver* pFrameObserver)
    : m_pFrameObserver(pFrameObserver)
{
    ZeroMemory(&m_wfxSilence, sizeof(m_wfxSilence));
    ZeroMemory(m_silenceExtension, sizeof(m_silenceExtension));
    CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, m_pAudioFormat);
    CreateEngineObject(CLSID_MediaSampleConverter5, IID_IMediaSampleConverter5, m_pConverter1);
    CreateEngineObject(CLSID_MediaSampleConverter5, IID_IMediaSampleConverter5, m_pConverter2);

    // Seeded from the clock, so concurrent converters name their statistics apart.
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    DWORD x = RandomStep(ft.dwLowDateTime);
    DWORD y = RandomStep(x);
    for (int i = 0; i < 5; ++i)
    {
        x = RandomStep(RandomStep(y) + (y ^ x));
        y = RandomStep(x);
    }
    m_dwRandom = x;
    m_dwStatId = x & 0x7FFFFFFF;
}

CFormatsConverterEx::~CFormatsConverterEx()
{
    if (m_hSizeFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hSizeFile);
    if (m_pFrameObserver)
        m_pFrameObserver->Release();
    m_pOutputFile.Reset();
    m_pCurrentItem.Reset();
    m_pPendingSample.Reset();
    m_pCurrentSample.Reset();
    m_pConverter2.Reset();
    m_pConverter1.Reset();
    m_pAudioFormat.Reset();
}

void CFormatsConverterEx::NextRandom()
{
    m_dwRandom = RandomStep(m_dwRandom);
    m_dwStatId = m_dwRandom & 0x7FFFFFFF;
}

HRESULT CFormatsConverterEx::GetCurrentItemId(LONG* pnId)
{
    if (pnId)
        *pnId = m_nCurrentItemId;
    return 0;
}

HRESULT CFormatsConverterEx::GetCurrentItem(IUnknown** ppItem)
{
    if (ppItem)
    {
        *ppItem = m_pCurrentItem.Get();
        if (*ppItem)
            (*ppItem)->AddRef();
    }
    return 0;
}

HRESULT CFormatsConverterEx::GetOutputFileName(BSTR* pbstrName)
{
    if (pbstrName)
    {
        *pbstrName = nullptr;
        if (!m_strOutputFileName.IsEmpty())
        {
            *pbstrName = SysAllocString(m_strOutputFileName.GetString());
            if (!*pbstrName)
                AfxThrowMemoryException();
        }
    }
    return 0;
}

HRESULT CFormatsConverterEx::GetOutputFile(IMediaFile5** ppFile)
{
    if (ppFile)
    {
        *ppFile = m_pOutputFile.Get();
        if (*ppFile)
            (*ppFile)->AddRef();
    }
    return 0;
}

HRESULT CFormatsConverterEx::GetCurrentSample(IMediaSample5** ppSample)
{
    if (ppSample)
    {
        *ppSample = m_pCurrentSample.Get();
        if (*ppSample)
            (*ppSample)->AddRef();
    }
    return 0;
}

void CFormatsConverterEx::ReportError(ConverterError nCode, LONG nDetail)
{
    if (m_pEvents)
        m_pEvents->OnError(nCode, nDetail, &m_bStop);
}

void CFormatsConverterEx::Progress(double dWritten, double dJobPosition, LONG* pnSplit)
{
    *pnSplit = 0;
    if (m_pEvents)
    {
        m_pEvents->OnProgress(dWritten, dJobPosition, m_dSourceDuration, m_dTotalEstimate, 0, 0, pnSplit,
                              &m_bStop);
    }
}

HRESULT CFormatsConverterEx::Run(IUnknown* pJob, BOOL bWait)
{
    m_nFrameObserverSwitch = 0;
    m_nCurrentItemId = -1;
    if (!pJob)
        return MEDIA_E_NO_JOB;
    HRESULT hr = S_OK;
    try
    {
        hr = RunJob(pJob);
    }
    catch (...)
    {
        hr = EndFailedRun(ResultOfCaughtException());
    }

    // Whatever happened, nothing of the run is kept.
    if (m_hSizeFile != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_hSizeFile);
        m_hSizeFile = INVALID_HANDLE_VALUE;
    }
    m_pCurrentItem.Reset();
    m_strOutputFileName.Empty();
    m_pOutputFile.Reset();
    m_pCurrentSample.Reset();
    m_pPendingSample.Reset();
    m_pJob.Reset();
    m_pSource.Reset();
    m_pProfile.Reset();
    m_bFileOpen = FALSE;
    DeleteStabilisationFiles();
    return hr;
}

HRESULT CFormatsConverterEx::EndFailedRun(HRESULT hrFailure)
{
    // What was written up to the failure is finished and kept, and the owner
    // hears of it; the owner's callbacks may fail again on the way.
    m_bStop = VARIANT_TRUE;
    try
    {
        CloseOutputFile(FALSE);
    }
    catch (...)
    {
        ResultOfCaughtException();
    }
    m_bFileOpen = FALSE;
    try
    {
        ReportError(CONVERTER_ERROR_RUN, hrFailure);
    }
    catch (...)
    {
        ResultOfCaughtException();
    }
    return hrFailure;
}

HRESULT CFormatsConverterEx::RunJob(IUnknown* pJob)
{
    CEngineRef<IMediaJobList5> list;
    CEngineRef<IMediaConversionJob5> single;
    if (FAILED(pJob->QueryInterface(IID_IMediaJobList5, list.OutVoid())) || !list)
    {
        list.Reset();
        if (FAILED(pJob->QueryInterface(IID_IMediaConversionJob5, single.OutVoid())) || !single)
            return MEDIA_E_NO_JOB;
    }
    LONG nCount = 1;
    if (list && FAILED(list->GetCount(&nCount)))
        nCount = 0;

    // Each item as (id, item object, its job).
    auto takeItem = [&](LONG nIndex, LONG* pnId, CEngineRef<IUnknown>& item,
                        CEngineRef<IMediaConversionJob5>& job) -> BOOL {
        *pnId = -1;
        job.Reset();
        if (!list)
        {
            item.Assign(pJob);
            job = single;
            return TRUE;
        }
        if (FAILED(list->GetItem(nIndex, pnId, item.Out())) || !item)
            return FALSE;
        CEngineRef<IMediaJobItem5> wrapper;
        if (SUCCEEDED(item.QueryTo(IID_IMediaJobItem5, wrapper)) && wrapper)
            return SUCCEEDED(wrapper->GetJob(job.Out())) && job;
        return SUCCEEDED(item.QueryTo(IID_IMediaConversionJob5, job)) && job;
    };

    // The total estimate over every item and pass.
    m_dTotalEstimate = 0;
    for (LONG i = 0; i < nCount; ++i)
    {
        LONG nId = -1;
        CEngineRef<IUnknown> item;
        CEngineRef<IMediaConversionJob5> job;
        if (!takeItem(i, &nId, item, job))
            continue;
        CEngineRef<IMediaSource5> source;
        job->GetSource(0, IID_IMediaSource5, source.OutVoid());
        job->Command(MEDIAJOB_CMD_PREPARE, nullptr);
        double dDuration = GetSourceDuration(source.Get());
        CEngineRef<IMediaPropertyBag5> bag;
        job->GetProfile(bag.Out());
        LONG nPasses = bag ? GetPassCount(bag.Get()) : 1;
        m_dTotalEstimate += nPasses * dDuration;
        if (m_nStabilise)
            m_dTotalEstimate += dDuration;
    }
    m_bDiskWarningArmed = TRUE;
    m_bStop = 0;
    m_dJobPosition = 0;
    m_nLastProgressSecond = -1;

    CEngineRef<IMediaSource5> previous;
    for (LONG i = 0; i < nCount && !m_bStop; ++i)
    {
        if (previous)
        {
            previous->Command(MEDIAJOB_CMD_END_ITEM, nullptr);
            previous.Reset();
        }
        LONG nId = -1;
        CEngineRef<IUnknown> item;
        CEngineRef<IMediaConversionJob5> job;
        if (!takeItem(i, &nId, item, job))
            continue;
        m_pCurrentItem = item;
        if (list)
            m_nCurrentItemId = nId;
        CEngineRef<IMediaSource5> source;
        job->GetSource(0, IID_IMediaSource5, source.OutVoid());
        if (source)
            source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr);
        ProcessItem(i, nCount, job.Get(), source.Get());
        previous = source;
    }
    if (previous)
        previous->Command(MEDIAJOB_CMD_END_ITEM, nullptr);
    return 0;
}

void CFormatsConverterEx::ReadSplitSettings(IMediaConversionJob5* pJob)
{
    LONG nFlags = 0;
    pJob->GetSplitFlags(&nFlags);
    m_nSplitBySize = (nFlags & MEDIA_SPLIT_BY_SIZE) ? 1 : 0;
    m_nSplitAtMarkers = (nFlags & MEDIA_SPLIT_AT_MARKERS) ? 1 : 0;
    m_nSplitByDuration = (nFlags & MEDIA_SPLIT_BY_DURATION) ? 1 : 0;
    LONG nKilobytes = 0;
    pJob->GetSplitSize(&nKilobytes);
    m_nSizeLimit = static_cast<LONGLONG>(nKilobytes) << 10;
    m_dDurationLimit = 0;
    pJob->GetDurationLimit(&m_dDurationLimit);
}

void CFormatsConverterEx::ProcessItem(int nItemIndex, int nItemCount, IMediaConversionJob5* pJob,
                                      IMediaSource5* pSource)
{
    m_pJob.Assign(pJob);
    m_pSource.Assign(pSource);
    m_dSourceDuration = GetSourceDuration(pSource);

    m_markers.clear();
    ReadSplitSettings(pJob);

    if (m_nSplitAtMarkers)
    {
        CEngineRef<IMediaMarkerList5> markers;
        VARIANT_BOOL bEnabled = VARIANT_FALSE;
        if (pJob->GetMarkerList(markers.Out()) == S_OK && markers &&
            SUCCEEDED(markers->GetEnabled(&bEnabled)) && bEnabled)
        {
            LONG nMarkers = 0;
            markers->GetCount(&nMarkers);
            for (LONG m = 0; m < nMarkers; ++m)
            {
                double dTime = 0, dLength = 0;
                VARIANT_BOOL bOn = VARIANT_FALSE;
                if (FAILED(markers->GetMarker(m, &dTime, &dLength, &bOn)) || !bOn)
                    continue;
                if (!(dTime > MARKER_EPSILON && dTime < m_dSourceDuration - MARKER_EPSILON))
                    continue;
                Marker marker{dTime, CString()};
                CEngineRef<IMediaPropertyBag5> properties;
                if (SUCCEEDED(markers->GetProperties(m, properties.Out())) && properties)
                {
                    BSTR b = nullptr;
                    if (SUCCEEDED(properties->GetString(CEngineString(MEDIA_PROP_MARKER_NAME), 0, &b)))
                        marker.strName = TakeEngineString(b);
                }
                m_markers.push_back(marker);
            }
            std::stable_sort(m_markers.begin(), m_markers.end(),
                             [](const Marker& a, const Marker& b) { return a.dTime < b.dTime; });
        }
        if (m_markers.empty())
            m_nSplitAtMarkers = 0;
    }
    m_allMarkers = m_markers;

    m_pProfile.Reset();
    if (FAILED(pJob->GetProfile(m_pProfile.Out())) || !m_pProfile)
    {
        ReportError(CONVERTER_ERROR_SETUP, 0);
        return;
    }
    m_firstPassNames.clear();
    m_splitCycles.clear();
    if (m_nStabilise && !StabilisationPrePass(m_dSourceDuration))
    {
        EndItem();
        return;
    }

    const LONG nPasses = GetPassCount(m_pProfile.Get());
    for (m_nPass = 0; m_nPass < nPasses && !m_bStop; ++m_nPass)
    {
        m_markers = m_allMarkers;
        m_strPendingMarker.Empty();
        m_nFileIndex = 0;
        m_bFirstFileOfPass = TRUE;
        if (m_nStabilise && (!m_pStabilisation || !m_pStabilisation->BeginTransforms()))
        {
            ReportError(CONVERTER_ERROR_SETUP, 0);
            break;
        }
        if (!OpenNextFile())
            break;
        CopyLoop(nItemIndex, nItemCount);
        EndPass();
        if (m_pStabilisation)
            m_pStabilisation->EndTransforms();
    }
    EndItem();
}

BOOL CFormatsConverterEx::OpenNextFile()
{
    CloseOutputFile(TRUE);

    m_pOutputFile.Reset();
    HRESULT hr = CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, m_pOutputFile);
    if (FAILED(hr) || !m_pOutputFile)
    {
        ReportError(CONVERTER_ERROR_SETUP, hr);
        return FALSE;
    }
    if (m_pEvents)
        m_pEvents->OnFileCreating(&m_bStop);

    LONG nContainer = 0;
    m_pJob->GetContainerType(&nContainer);
    hr = m_pOutputFile->SetContainerType(nContainer);
    if (FAILED(hr))
    {
        ReportError(CONVERTER_ERROR_SETUP, hr);
        return FALSE;
    }
    FillStreamSettings(m_pProfile.Get(), m_nPass, m_nFileIndex, m_dSourceDuration);
    hr = m_pOutputFile->SetStreamSettings(m_pProfile.Get());
    if (FAILED(hr))
    {
        ReportError(CONVERTER_ERROR_SETUP, hr);
        return FALSE;
    }
    CEngineRef<IMediaPropertyBag5> tags;
    if (m_pJob->GetTags(tags.Out()) == S_OK && tags)
        m_pOutputFile->SetTags(tags.Get());
    if (m_pEvents)
        m_pEvents->OnFileConfigured(&m_bStop);

    // The first pass asks the owner; later passes reuse the first pass's names.
    CString strName;
    if (m_nPass == 0)
    {
        if (m_pEvents)
        {
            BSTR b = nullptr;
            m_pEvents->GetFileNameForMarker(m_strPendingMarker.GetString(), &b, &m_bStop);
            if (!b || !*b)
            {
                SysFreeString(b);
                b = nullptr;
                m_pEvents->GetNextFileName(&b, &m_bStop);
            }
            strName = TakeEngineString(b);
        }
        m_firstPassNames[m_nFileIndex] = strName;
        m_strPendingMarker.Empty();
    }
    else
    {
        auto it = m_firstPassNames.find(m_nFileIndex);
        if (it != m_firstPassNames.end())
            strName = it->second;
    }
    m_strOutputFileName = strName;

    CString strFolder;
    SplitPath(strName, &strFolder, &strFolder, nullptr, nullptr);
    CStringArray arrBefore;
    ListFiles(strFolder, _T("temp_*.tmp"), arrBefore);

    CEngineRef<IMediaPropertyBag5> operation;
    hr = CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, operation);
    if (SUCCEEDED(hr) && operation)
    {
        operation->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
        operation->SetInteger(CEngineString(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
        operation->SetString(CEngineString(MEDIA_PROP_FILE_NAME), 0, CEngineString(strName), 0);
        if (IMediaPropertyBag5* pConfig = GetConverterContext().GetGlobalConfig())
            operation->SetObject(CEngineString(MEDIA_PROP_GLOBAL_CONFIG), 0, pConfig, 0);
        if (m_pEvents)
            m_pEvents->OnConfigureOperation(operation.Get(), m_nPass, m_nFileIndex, &m_bStop);
        hr = m_pOutputFile->Command(MEDIAFILE_CMD_OPEN, operation.Get());
    }
    if (m_pEvents)
        m_pEvents->OnFileStarted(m_nPass, m_nFileIndex, &m_bStop);
    if (FAILED(hr))
    {
        ReportError(CONVERTER_ERROR_START_WRITING, hr);
        return FALSE;
    }
    m_bFileOpen = TRUE;

    CStringArray arrAfter;
    ListFiles(strFolder, _T("temp_*.tmp"), arrAfter);
    RemoveListedFiles(arrAfter, arrBefore);
    if (m_hSizeFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hSizeFile);
    m_hSizeFile = CreateFileW(strName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hSizeFile == INVALID_HANDLE_VALUE && arrAfter.GetSize() == 1)
    {
        m_hSizeFile = CreateFileW(arrAfter[0], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    m_nDrive = strName.IsEmpty() ? 0 : static_cast<int>(_totupper(strName[0])) - 64;
    ++m_nFileIndex;
    m_nCycle = 0;

    if (m_bFirstFileOfPass)
    {
        m_bFirstFileOfPass = FALSE;
        const LONG nFileVideo = StreamCount(m_pOutputFile.Get(), MEDIA_STREAM_VIDEO);
        const LONG nFileAudio = StreamCount(m_pOutputFile.Get(), MEDIA_STREAM_AUDIO);
        if (nFileVideo > 0 && StreamCount(m_pSource.Get(), MEDIA_STREAM_VIDEO) > 0)
            m_pSource->Rewind(MEDIA_STREAM_VIDEO);
        if (nFileAudio > 0 && StreamCount(m_pSource.Get(), MEDIA_STREAM_AUDIO) > 0)
            m_pSource->Rewind(MEDIA_STREAM_AUDIO);
    }
    if (m_pEvents)
        m_pEvents->OnFileOpened(&m_bStop);
    return TRUE;
}

void CFormatsConverterEx::CloseOutputFile(BOOL bAddPosition)
{
    if (!m_pOutputFile || !m_bFileOpen)
        return;
    if (bAddPosition)
        m_dJobPosition += GetWrittenDuration(m_pOutputFile.Get());
    if (m_hSizeFile != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_hSizeFile);
        m_hSizeFile = INVALID_HANDLE_VALUE;
    }
    if (m_pEvents)
        m_pEvents->OnFileClosing(&m_bStop);
    HRESULT hr = m_pOutputFile->Command(MEDIAFILE_CMD_FINISH, nullptr);
    m_bFileOpen = FALSE;
    if (m_pEvents)
        m_pEvents->OnFileClosed(&m_bStop);
    if (FAILED(hr))
        ReportError(CONVERTER_ERROR_FINISH_FILE, hr);
}

BOOL CFormatsConverterEx::QueryFreeSpace(ULONGLONG* pnBytes, BOOL bDriveOnly) const
{
    if (m_nDrive >= 1 && m_nDrive <= 26)
    {
        TCHAR szRoot[4] = {static_cast<TCHAR>(_T('A') + m_nDrive - 1), _T(':'), _T('\\'), 0};
        DWORD dwSectorsPerCluster = 0, dwBytesPerSector = 0, dwFreeClusters = 0, dwClusters = 0;
        if (GetDiskFreeSpaceW(szRoot, &dwSectorsPerCluster, &dwBytesPerSector, &dwFreeClusters, &dwClusters))
        {
            *pnBytes = static_cast<ULONGLONG>(dwFreeClusters) * dwSectorsPerCluster * dwBytesPerSector;
            return TRUE;
        }
    }
    if (bDriveOnly)
        return FALSE;
    CString strFolder;
    SplitPath(m_strOutputFileName, &strFolder, &strFolder, nullptr, nullptr);
    ULARGE_INTEGER available, total, free;
    if (!strFolder.IsEmpty() && GetDiskFreeSpaceExW(strFolder, &available, &total, &free))
    {
        *pnBytes = available.QuadPart;
        return TRUE;
    }
    return FALSE;
}

BOOL CFormatsConverterEx::CheckDiskSpace()
{
    ULONGLONG nFree = 0;
    if (!QueryFreeSpace(&nFree, FALSE) || nFree >= DISK_WARNING_BYTES)
        return TRUE;
    const LONG nMegabytes = WholeMegabytes(nFree);
    if (nFree >= DISK_MINIMUM_BYTES)
    {
        if (m_bDiskWarningArmed)
        {
            m_bDiskWarningArmed = FALSE;
            ReportError(CONVERTER_ERROR_LOW_DISK_SPACE, nMegabytes);
            if (m_bStop)
                return FALSE;
        }
        return TRUE;
    }
    ReportError(CONVERTER_ERROR_LOW_DISK_SPACE, nMegabytes);
    if (m_bStop)
        return FALSE;
    // The owner may have freed space in the meantime.
    ULONGLONG nAgain = 0;
    return QueryFreeSpace(&nAgain, TRUE) && nAgain >= DISK_MINIMUM_BYTES;
}

LONGLONG CFormatsConverterEx::GetOutputSize() const
{
    if (m_hSizeFile != INVALID_HANDLE_VALUE)
    {
        LARGE_INTEGER size;
        if (GetFileSizeEx(m_hSizeFile, &size))
            return size.QuadPart;
    }
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(m_strOutputFileName, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(hFind);
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void CFormatsConverterEx::CopyLoop(int nItemIndex, int nItemCount)
{
    const BOOL bSourceVideo = StreamCount(m_pSource.Get(), MEDIA_STREAM_VIDEO) > 0;
    const BOOL bSourceAudio = StreamCount(m_pSource.Get(), MEDIA_STREAM_AUDIO) > 0;

    while (!m_bStop && m_bFileOpen)
    {
        if (!CheckDiskSpace())
            return;

        CopyCycle cycle;
        cycle.bBothVideo = bSourceVideo && StreamCount(m_pOutputFile.Get(), MEDIA_STREAM_VIDEO) > 0;
        cycle.bOutputAudio = StreamCount(m_pOutputFile.Get(), MEDIA_STREAM_AUDIO) > 0;
        cycle.bBothAudio = bSourceAudio && cycle.bOutputAudio;

        if (IsSplitDue(cycle, nItemIndex, nItemCount))
        {
            if (!OpenNextFile())
                return;
            continue;
        }
        if (cycle.bBothVideo && !CopyVideo(cycle))
            return;
        if (cycle.bOutputAudio && !cycle.bEndOfStream && !CopyAudio(cycle))
            return;
        if (cycle.bEndOfStream)
            return;
        if (cycle.bMarkerSplit && !m_bStop && !OpenNextFile())
            return;
        if (!ProgressOncePerSecond())
            return;
    }
}

double CFormatsConverterEx::SourcePosition(const CopyCycle& cycle) const
{
    double d = 0;
    m_pSource->GetPosition(cycle.bBothVideo ? MEDIA_STREAM_VIDEO : MEDIA_STREAM_AUDIO, &d);
    return d;
}

BOOL CFormatsConverterEx::IsSplitDue(const CopyCycle& cycle, int nItemIndex, int nItemCount)
{
    if (!m_nSplitBySize && !m_nSplitByDuration)
        return FALSE;
    ++m_nCycle;
    const LONGLONG nSize = m_nPass > 0 ? 0 : GetOutputSize();
    const double dWritten = GetWrittenDuration(m_pOutputFile.Get());
    BOOL bSplit = FALSE;
    if (m_nPass > 0)
    {
        // Later passes cut where the first pass cut the same file.
        auto it = m_splitCycles.find(m_nFileIndex - 1);
        bSplit = it != m_splitCycles.end() && it->second == m_nCycle;
    }
    if (m_nSplitBySize && nSize + m_nSizeMargin > m_nSizeLimit)
        bSplit = TRUE;
    if (m_nSplitByEstimate && dWritten + 250 > m_dEstimateLimit)
        bSplit = TRUE;
    if (m_nSplitByDuration && dWritten + 250 > m_dDurationLimit)
        bSplit = TRUE;
    // The last of several items does not leave a file of a few frames.
    if (bSplit && nItemIndex > 0 && nItemIndex == nItemCount - 1 &&
        m_dSourceDuration - SourcePosition(cycle) < 100)
        bSplit = FALSE;
    if (bSplit && m_nPass == 0)
        m_splitCycles[m_nFileIndex - 1] = m_nCycle;
    return bSplit;
}

BOOL CFormatsConverterEx::CopyVideo(CopyCycle& cycle)
{
    CEngineRef<IMediaSample5> frame;
    if (m_pPendingSample)
    {
        frame = m_pPendingSample;
        m_pPendingSample.Reset();
    }
    else
    {
        HRESULT hr = m_pSource->ReadVideo(frame.Out());
        if (FAILED(hr))
        {
            ReportError(CONVERTER_ERROR_COPY, hr);
            return FALSE;
        }
        if (hr == S_FALSE || !frame)
            cycle.bEndOfStream = TRUE;
    }
    if (!frame)
        return TRUE;
    if (m_nSplitAtMarkers)
        CutFrameAtMarker(frame.Get(), cycle);
    if (m_nStabilise && !StabiliseFrame(frame))
        return FALSE;
    m_pCurrentSample = frame;
    HRESULT hr = m_pOutputFile->WriteSample(frame.Get());
    if (FAILED(hr))
    {
        ReportWriteFailure(hr);
        return FALSE;
    }
    return TRUE;
}

void CFormatsConverterEx::CutFrameAtMarker(IMediaSample5* pFrame, CopyCycle& cycle)
{
    double dStart = 0, dEnd = 0;
    pFrame->GetTimes(&dStart, &dEnd);
    if (m_markers.empty() || dEnd <= m_markers.front().dTime)
        return;
    const double dCut = m_markers.front().dTime;
    if (dEnd - dCut > MARKER_EPSILON)
    {
        // The part after the cut opens the next file.
        CEngineRef<IMediaSample5> rest;
        BYTE* pData = nullptr;
        LONG nCapacity = 0, nLength = 0;
        CEngineRef<IMediaAudioFormat5> format;
        if (SUCCEEDED(CreateEngineObject(CLSID_MediaSampleBuffer5, IID_IMediaSample5, rest)) &&
            SUCCEEDED(pFrame->GetBuffer(&pData, &nCapacity)) && SUCCEEDED(pFrame->GetLength(&nLength)) &&
            SUCCEEDED(rest->Allocate(nLength)))
        {
            BYTE* pCopy = nullptr;
            LONG nCopyCapacity = 0;
            if (SUCCEEDED(rest->GetBuffer(&pCopy, &nCopyCapacity)) && pCopy && pData)
                CopyMemory(pCopy, pData, std::min(nLength, nCopyCapacity));
            if (SUCCEEDED(pFrame->GetFormat(format.Out())) && format)
                rest->SetFormat(format.Get());
            rest->SetTimes(dCut, dEnd);
            m_pPendingSample = rest;
        }
    }
    pFrame->SetTimes(dStart, dCut);
    m_strPendingMarker = m_markers.front().strName;
    DropMarkersBefore(SourcePosition(cycle));
    cycle.bMarkerSplit = TRUE;
}

void CFormatsConverterEx::DropMarkersBefore(double dPosition)
{
    while (!m_markers.empty() && m_markers.front().dTime < dPosition + MARKER_EPSILON)
        m_markers.erase(m_markers.begin());
}

double CFormatsConverterEx::NextAudioAmount(CopyCycle& cycle)
{
    double dAmount = m_nAudioChunk;
    if (cycle.bBothVideo)
    {
        // As much sound as the pictures are ahead.
        double dAudio = 0, dVideo = 0;
        m_pOutputFile->GetDuration(MEDIA_STREAM_VIDEO, &dVideo);
        m_pOutputFile->GetDuration(MEDIA_STREAM_AUDIO, &dAudio);
        dAmount = dVideo - dAudio;
    }
    double dPosition = 0;
    m_pSource->GetPosition(MEDIA_STREAM_AUDIO, &dPosition);
    if (m_dSourceDuration - dPosition <= dAmount)
    {
        dAmount = m_dSourceDuration - dPosition;
        cycle.bEndOfStream = TRUE;
    }
    if (!cycle.bBothVideo && m_nSplitAtMarkers && !m_markers.empty() &&
        dPosition + dAmount >= m_markers.front().dTime)
    {
        dAmount = m_markers.front().dTime - dPosition;
        m_strPendingMarker = m_markers.front().strName;
        cycle.bMarkerSplit = TRUE;
        cycle.bEndOfStream = FALSE;
    }
    return dAmount;
}

BOOL CFormatsConverterEx::CopyAudio(CopyCycle& cycle)
{
    const double dAmount = NextAudioAmount(cycle);
    const LONG nBytes =
        static_cast<LONG>(m_wfxSilence.nSamplesPerSec * dAmount / 1000 + 0.000001) * m_wfxSilence.nBlockAlign;
    if (nBytes > 0)
    {
        CEngineRef<IMediaSample5> sample;
        HRESULT hr = S_FALSE;
        if (cycle.bBothAudio)
        {
            hr = m_pSource->ReadAudio(dAmount, sample.Out());
            if (FAILED(hr))
            {
                ReportError(CONVERTER_ERROR_COPY, hr);
                return FALSE;
            }
        }
        if (hr == S_FALSE || !sample)
        {
            sample.Reset();
            if (cycle.bBothVideo &&
                SUCCEEDED(CreateEngineObject(CLSID_MediaSampleBuffer5, IID_IMediaSample5, sample)))
            {
                // Silence keeps the sound in step with the pictures.
                sample->SetFormat(m_pAudioFormat.Get());
                sample->Allocate(nBytes);
            }
            else
            {
                sample.Reset();
                cycle.bEndOfStream = TRUE;
            }
        }
        if (sample)
        {
            if (m_nSampleNotify && m_pEvents)
                m_pEvents->OnAudioSample(sample.Get());
            m_pCurrentSample = sample;
            hr = m_pOutputFile->WriteSample(sample.Get());
            if (FAILED(hr))
            {
                ReportWriteFailure(hr);
                return FALSE;
            }
        }
    }
    if (cycle.bMarkerSplit)
    {
        double dPosition = 0;
        m_pSource->GetPosition(MEDIA_STREAM_AUDIO, &dPosition);
        // A source that handed over less than asked (a paused capture) has
        // not reached the marker: the file is cut once it has.
        if (!m_markers.empty() && m_markers.front().dTime - dPosition >= MARKER_SHORT_READ_MS)
            cycle.bMarkerSplit = FALSE;
        DropMarkersBefore(dPosition);
    }
    return TRUE;
}

void CFormatsConverterEx::ReportWriteFailure(HRESULT hr)
{
    if (!IsDiskFull(hr))
    {
        ReportError(CONVERTER_ERROR_COPY, hr);
        return;
    }
    // A full disk is reported as such, with what is left of it.
    ULONGLONG nFree = 0;
    ReportError(CONVERTER_ERROR_LOW_DISK_SPACE, QueryFreeSpace(&nFree, FALSE) ? WholeMegabytes(nFree) : 0);
}

BOOL CFormatsConverterEx::ProgressOncePerSecond()
{
    const long nSecond = static_cast<long>(time(nullptr));
    if (nSecond == m_nLastProgressSecond)
        return TRUE;
    m_nLastProgressSecond = nSecond;
    LONG nSplit = 0;
    const double dWritten = GetWrittenDuration(m_pOutputFile.Get());
    Progress(dWritten, m_dJobPosition + dWritten, &nSplit);
    // 1 is the owner's split request.
    if (nSplit == 1 && !m_bStop)
        return OpenNextFile();
    return TRUE;
}

void CFormatsConverterEx::EndPass()
{
    const double dWritten = m_bFileOpen ? GetWrittenDuration(m_pOutputFile.Get()) : 0;
    m_dJobPosition += dWritten;
    CloseOutputFile(FALSE);
    // The job position holds this pass's file now: it is not counted twice.
    if (!m_bStop)
    {
        LONG nSplit = 0;
        Progress(dWritten, m_dJobPosition, &nSplit);
    }
}

void CFormatsConverterEx::EndItem()
{
    if (m_pEvents)
    {
        LONG nResult = 0;
        m_pEvents->OnItemDone(&nResult, &m_bStop);
    }
    m_nCurrentItemId = -1;
    CloseOutputFile(FALSE);
    for (int i = 0; i < m_nFileIndex; ++i)
    {
        const CString strStat = FormatStatFileName(i);
        if (strStat.IsEmpty())
            continue;
        DeleteFileW(strStat);
        DeleteFileW(strStat + _T(".cutree"));
        DeleteFileW(strStat + _T(".mbtree"));
    }
    m_pPendingSample.Reset();
}
