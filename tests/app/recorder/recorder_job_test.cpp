// The recording job inside the recording dialog: real recordings from the
// session's sine source into the test's folder, started and stopped by real
// clicks on the Record button while the job pumps the window's messages.
#include "recorder_test_support.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>

#include "app/files/FileDesc.h"
#include "app/files/StoredFileList.h"
#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/MessageBox.h"
#include "common/ApplicationBase.h"
#include "real_input.h"
#include "tests/common/common_test_support.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/command_output.h"
#include "tests/support/fed_sound.h"
#include "tests/support/sound_module.h"
#include "win_thread.h"

using namespace recordertest;

// What the job looked like at one progress report.
struct JobSnapshot
{
    bool bRecording;
    LONG nStopRequest;
    bool bRecordEnabled;
    bool bDevicesEnabled;
    bool bProfilesEnabled;
    int nRows;
    std::string strLastState;
    std::string strLastDuration;
    double dWritten;   // ms in the current file
    double dPosition;  // ms in the whole job
    DWORD dwTick;      // when the report came
};

namespace {

// ffprobe's duration of a file in milliseconds, -1 when it cannot read it.
double ProbeDurationMs(const std::string& unixPath)
{
    std::string out = CommandOutput("ffprobe -v error -show_entries format=duration -of csv=p=0 '" +
                                    unixPath + "' 2>/dev/null");
    return out.empty() ? -1 : atof(out.c_str()) * 1000.0;
}

std::string ProbeFormatName(const std::string& unixPath)
{
    std::string out = CommandOutput("ffprobe -v error -show_entries format=format_name -of csv=p=0 '" +
                                    unixPath + "' 2>/dev/null");
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

// A sine source of the test's own, selected in the recorder: whether a
// stream still records from it tells whether the capture was stopped.
class OwnSineSource
{
public:
    OwnSineSource()
        : m_module("module-sine-source source_name=sondrel_recorder_own rate=44100 frequency=660 "
                   "source_properties=device.description=SondrelRecorderOwn")
    {
    }

    bool Select(CSondrelDlg& dlg, const std::function<void()>& refresh) const
    {
        if (!m_module.Loaded())
            return false;
        refresh();
        for (int i = 0; i < dlg.m_comboDevices.GetCount(); ++i)
        {
            if (ComboText(dlg.m_comboDevices, i) == _T("SondrelRecorderOwn"))
            {
                dlg.m_comboDevices.SetCurSel(i);
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEVICES, CBN_SELCHANGE),
                                (LPARAM)dlg.m_comboDevices.m_hWnd);
                return true;
            }
        }
        return false;
    }
    int Streams() const { return SourceStreams("sondrel_recorder_own"); }

private:
    SoundModule m_module;
};

bool UnixFileExists(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f)
        fclose(f);
    return f != nullptr;
}

// A tone whose pitch rises steadily, from 300 Hz by 150 Hz a second: the
// pitch of any stretch of a recording tells which moment of the source it
// holds.
const char kSweep[] = "aevalsrc=0.5*sin(2*PI*(300*t+75*t*t)):s=44100";
constexpr double kSweepHz = 300;
constexpr double kSweepHzPerSecond = 150;
constexpr double kSweepWindow = 0.025;  // seconds of a stretch

// The first channel of a 16-bit PCM WAV file, and its rate; empty when the
// file is no such WAV file.
std::vector<double> WavFirstChannel(const std::string& unixPath, unsigned* pnRate)
{
    std::vector<double> samples;
    const std::string data = ReadUnixFile(unixPath);
    const std::vector<unsigned char> bytes(data.begin(), data.end());
    auto u32 = [&](size_t at) {
        return at + 4 <= bytes.size()
                   ? bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (unsigned)bytes[at + 3] << 24
                   : 0u;
    };
    auto u16 = [&](size_t at) { return at + 2 <= bytes.size() ? bytes[at] | bytes[at + 1] << 8 : 0; };
    if (bytes.size() < 12 || memcmp(bytes.data(), "RIFF", 4) != 0 || memcmp(&bytes[8], "WAVE", 4) != 0)
        return samples;
    unsigned nChannels = 0, nRate = 0, nBits = 0;
    size_t nData = 0, nDataSize = 0;
    for (size_t at = 12; at + 8 <= bytes.size(); at += 8 + ((u32(at + 4) + 1) & ~1u))
    {
        if (memcmp(&bytes[at], "fmt ", 4) == 0)
        {
            nChannels = u16(at + 10);
            nRate = u32(at + 12);
            nBits = u16(at + 22);
        }
        else if (memcmp(&bytes[at], "data", 4) == 0)
        {
            nData = at + 8;
            nDataSize = std::min<size_t>(u32(at + 4), bytes.size() - nData);
            break;
        }
    }
    if (nBits != 16 || nChannels == 0 || nRate == 0 || nData == 0)
        return samples;
    for (size_t i = 0; i < nDataSize / (2 * nChannels); ++i)
        samples.push_back(static_cast<int16_t>(u16(nData + 2 * nChannels * i)));
    *pnRate = nRate;
    return samples;
}

// The source moment, in seconds, of each stretch of a 16-bit PCM WAV file's
// first channel, from the pitch its rising zero crossings give; NaN for a
// stretch without two of them. Empty when the file is no such WAV file.
std::vector<double> SweepMoments(const std::string& unixPath)
{
    std::vector<double> moments;
    unsigned nRate = 0;
    const std::vector<double> samples = WavFirstChannel(unixPath, &nRate);
    const size_t nWindow = static_cast<size_t>(nRate * kSweepWindow);
    for (size_t w = 0; (w + 1) * nWindow <= samples.size(); ++w)
    {
        double dFirst = -1, dLast = -1;
        int nCrossings = 0;
        for (size_t i = w * nWindow + 1; i < (w + 1) * nWindow; ++i)
        {
            const double a = samples[i - 1], b = samples[i];
            if (a < 0 && b >= 0)
            {
                const double dAt = static_cast<double>(i - 1) + a / (a - b);
                if (nCrossings++ == 0)
                    dFirst = dAt;
                dLast = dAt;
            }
        }
        const double dHz = nCrossings >= 2 ? (nCrossings - 1) * nRate / (dLast - dFirst) : NAN;
        moments.push_back((dHz - kSweepHz) / kSweepHzPerSecond);
    }
    return moments;
}

// Where a recording of the sweep leaves the source's course: the moment it
// had reached and the one it goes on from. Stretches that do not follow
// their neighbours by their own length (a splice falls into one) count with
// the jump.
struct SweepJump
{
    double dFrom;
    double dTo;
};
std::vector<SweepJump> SweepJumps(const std::vector<double>& moments)
{
    std::vector<SweepJump> jumps;
    for (size_t i = 0; i + 1 < moments.size(); ++i)
    {
        if (std::fabs(moments[i + 1] - moments[i] - kSweepWindow) < 0.01)
            continue;
        size_t j = i + 1;
        while (j + 1 < moments.size() && !(std::fabs(moments[j + 1] - moments[j] - kSweepWindow) < 0.01))
            ++j;
        jumps.push_back({moments[i] + kSweepWindow / 2, moments[j] - kSweepWindow / 2});
        i = j - 1;
    }
    return jumps;
}

// How long the end of a recording holds its tone softened: the stretches of
// 5 ms, counted from the end, whose loudest sample stays below half of the
// recording's.
double SoftTailMs(const std::vector<double>& samples, unsigned nRate)
{
    double dLoudest = 0;
    for (double d : samples)
        dLoudest = std::max(dLoudest, std::fabs(d));
    const size_t nWindow = nRate / 200;
    size_t nSoft = 0;
    for (size_t nEnd = samples.size(); nWindow > 0 && nEnd >= nWindow; nEnd -= nWindow, ++nSoft)
    {
        double dPeak = 0;
        for (size_t i = nEnd - nWindow; i < nEnd; ++i)
            dPeak = std::max(dPeak, std::fabs(samples[i]));
        if (dPeak >= dLoudest / 2)
            break;
    }
    return nSoft * 5.0;
}

// A duration as the file list shows it.
CString ListClock(int nSeconds)
{
    CString str;
    str.Format(_T("%02d:%02d"), nSeconds / 60, nSeconds % 60);
    return str;
}

}  // namespace

// The recorder with its messages noted and answered, and its progress
// reports watched.
class CJobRecorder : public CTestRecorder
{
public:
    struct Message
    {
        UINT nText;
        UINT nTitle;
        UINT nFlags;
    };

    int ShowJobMessage(UINT nText, UINT nTitle, UINT nFlags) override
    {
        m_messages.push_back({nText, nTitle, nFlags});
        return m_nAnswer;
    }

    HRESULT OnProgress(double dFileWritten, double dJobPosition, double dSourceDuration,
                       double dTotalEstimate, LONG nReserved1, LONG nReserved2, LONG* pnSplitRequest,
                       VARIANT_BOOL* pbStop) override
    {
        JobSnapshot s;
        s.bRecording = m_pParent->IsRecording() != FALSE;
        s.nStopRequest = m_pParent->GetStopRequest();
        s.bRecordEnabled = ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_RECORD)) != FALSE;
        s.bDevicesEnabled = ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_DEVICES)) != FALSE;
        s.bProfilesEnabled = ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_PROFILES)) != FALSE;
        s.nRows = m_listFiles.GetItemCount();
        s.strLastState = s.nRows ? Narrow(m_listFiles.GetItemText(s.nRows - 1, 4)) : "";
        s.strLastDuration = s.nRows ? Narrow(m_listFiles.GetItemText(s.nRows - 1, 3)) : "";
        s.dWritten = dFileWritten;
        s.dPosition = dJobPosition;
        s.dwTick = ::GetTickCount();
        m_snapshots.push_back(s);
        m_nReports = m_nReports + 1;
        m_nRowsReported = s.nRows;
        if (m_onProgress)
            m_onProgress(pbStop);
        return CTestRecorder::OnProgress(dFileWritten, dJobPosition, dSourceDuration, dTotalEstimate,
                                         nReserved1, nReserved2, pnSplitRequest, pbStop);
    }

    HRESULT GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL* pbStop) override
    {
        HRESULT hr = CTestRecorder::GetNextFileName(pbstrFileName, pbStop);
        if (m_onNextFileName)
            m_onNextFileName(pbstrFileName);
        return hr;
    }

    // The moment the window takes a click on Record while the job runs; a
    // Continue follows at once, as a quick user's might.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        const bool bStop = m_onStopTaken && nID == IDC_RECORD && nCode == CN_COMMAND && !pHandlerInfo &&
                           m_pParent->IsRecording();
        if (bStop)
            m_onStopTaken();
        const BOOL bResult = CTestRecorder::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (bStop)
            SetRecordingPaused(FALSE);
        return bResult;
    }

    using CSondrelDlg::OnBnClickedRefreshdevices;
    using CSondrelDlg::SaveFileList;
    using CSondrelDlg::ShowJobEndMessage;

    std::vector<Message> m_messages;
    int m_nAnswer = IDOK;
    std::vector<JobSnapshot> m_snapshots;
    std::function<void(VARIANT_BOOL*)> m_onProgress;
    std::function<void(BSTR*)> m_onNextFileName;  // after the row is added
    std::function<void()> m_onStopTaken;
    // For the click script's thread: reports so far, and the rows the last
    // one saw.
    std::atomic<int> m_nReports{0};
    std::atomic<int> m_nRowsReported{0};
    DWORD m_dwContinued = 0;  // when ContinueRecording ran
    // TogglePause's steps: the time from arming each to the next, and when
    // each ran.
    std::vector<DWORD> m_pauseDelays;
    DWORD m_pauseTicks[8] = {};
    std::atomic<int> m_nPauseSteps{0};
};

namespace {
// The main window's Continue, from a timer that the pause loop's pumping runs.
void CALLBACK ContinueRecording(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(hWnd, nId);
    CJobRecorder* pDlg = static_cast<CJobRecorder*>(CWnd::FromHandlePermanent(hWnd));
    pDlg->m_dwContinued = ::GetTickCount();
    pDlg->SetRecordingPaused(FALSE);
}

// The main window's Pause and Continue in turn, from timers that the job's
// pumps run: each step notes when it ran and arms the next.
void CALLBACK TogglePause(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(hWnd, nId);
    CJobRecorder* pDlg = static_cast<CJobRecorder*>(CWnd::FromHandlePermanent(hWnd));
    const int n = pDlg->m_nPauseSteps;
    pDlg->m_pauseTicks[n] = ::GetTickCount();
    pDlg->SetRecordingPaused(!pDlg->IsRecordingPaused());
    pDlg->m_nPauseSteps = n + 1;
    if (n + 1 < static_cast<int>(pDlg->m_pauseDelays.size()))
        ::SetTimer(hWnd, nId, pDlg->m_pauseDelays[n + 1], &TogglePause);
}

// A click of the script: no sooner than its time (ms after the Record click)
// and, when it has one, not before its condition holds.
struct ScriptClick
{
    DWORD dwAfter;
    UINT nId;
    std::function<bool()> ready;
};
}  // namespace

class RecorderJobTest : public RecorderTest
{
protected:
    CJobRecorder& Open()
    {
        m_pRecorder.reset();
        OpenRecorderAs(std::make_unique<CJobRecorder>());
        CJobRecorder& dlg = static_cast<CJobRecorder&>(*m_pRecorder);
        // The session's sine source.
        for (int i = 0; i < dlg.m_comboDevices.GetCount(); ++i)
        {
            if (ComboText(dlg.m_comboDevices, i).Find(_T("Sine")) >= 0)
            {
                dlg.m_comboDevices.SetCurSel(i);
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEVICES, CBN_SELCHANGE),
                                (LPARAM)dlg.m_comboDevices.m_hWnd);
                break;
            }
        }
        return dlg;
    }

    // Clicks Record, and from a second thread the given clicks, while the job
    // runs inside the first click. Notes when each click went out and when
    // the job ended.
    void RecordWithClicks(CJobRecorder& dlg, std::vector<ScriptClick> clicks)
    {
        POINT ptRecord = ControlCentre(dlg, IDC_RECORD);
        std::vector<POINT> points;
        for (const ScriptClick& click : clicks)
            points.push_back(ControlCentre(dlg, click.nId));
        m_clickTicks.clear();
        std::atomic<bool> bStarted{false};
        WinThread thread([&] {
            while (!bStarted)
                ::Sleep(5);
            DWORD dwStart = ::GetTickCount();
            for (size_t i = 0; i < clicks.size(); ++i)
            {
                while (::GetTickCount() - dwStart < clicks[i].dwAfter)
                    ::Sleep(10);
                // Bounded, so that a job that never gets there fails its
                // checks instead of hanging.
                const DWORD dwWait = ::GetTickCount();
                while (clicks[i].ready && !clicks[i].ready() && ::GetTickCount() - dwWait < 30000)
                    ::Sleep(10);
                ScriptMouseMove(points[i]);
                m_clickTicks.push_back(::GetTickCount());
                ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
                ScriptMouseButton(MOUSEEVENTF_LEFTUP);
            }
        });
        MouseMoveTo(ptRecord);
        m_dwStarted = ::GetTickCount();
        bStarted = true;
        MouseLeftDown();
        MouseLeftUp();
        PumpTranslatedUntil([&] { return !dlg.m_snapshots.empty(); }, 10000);
        PumpTranslatedUntil([&] { return !m_pHost->IsRecording(); }, 60000);
        m_dwEnded = ::GetTickCount();
        thread.join();
        PumpTranslated(50);
    }

    // Clicks Record for a job that ends without a progress report (it fails
    // before recording): done once its message was shown and it ended.
    void RecordUntilMessage(CJobRecorder& dlg)
    {
        MouseMoveTo(ControlCentre(dlg, IDC_RECORD));
        MouseLeftDown();
        MouseLeftUp();
        PumpTranslatedUntil([&] { return !dlg.m_messages.empty() && !m_pHost->IsRecording(); }, 20000);
        PumpTranslated(50);
    }

    // Lists the devices again and selects the one of that name; false when
    // it is not listed.
    static bool SelectListedDevice(CJobRecorder& dlg, LPCTSTR pszName)
    {
        dlg.OnBnClickedRefreshdevices();
        for (int i = 0; i < dlg.m_comboDevices.GetCount(); ++i)
        {
            if (ComboText(dlg.m_comboDevices, i) == pszName)
            {
                dlg.m_comboDevices.SetCurSel(i);
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEVICES, CBN_SELCHANGE),
                                (LPARAM)dlg.m_comboDevices.m_hWnd);
                return true;
            }
        }
        return false;
    }

    // Progress reports that came at or after the tick.
    static int ReportsSince(const CJobRecorder& dlg, DWORD dwTick)
    {
        int n = 0;
        for (const JobSnapshot& s : dlg.m_snapshots)
            n += static_cast<int>(s.dwTick - dwTick) >= 0 ? 1 : 0;
        return n;
    }

    DWORD m_dwStarted = 0;            // the Record click that started the job
    DWORD m_dwEnded = 0;              // the job seen ended
    std::vector<DWORD> m_clickTicks;  // the script's clicks
};

TEST_F(RecorderJobTest, RecordThenRecordAgainStopsWithoutCompletionAndListsTheFile)
{
    CJobRecorder& dlg = Open();
    RecordWithClicks(dlg, {{2600, IDC_RECORD}});

    ASSERT_FALSE(dlg.m_snapshots.empty());
    const JobSnapshot& first = dlg.m_snapshots.front();
    EXPECT_TRUE(first.bRecording);
    EXPECT_EQ(first.nStopRequest, 0);
    EXPECT_TRUE(first.bRecordEnabled) << "Record stops the job";
    EXPECT_FALSE(first.bDevicesEnabled);
    EXPECT_FALSE(first.bProfilesEnabled);
    EXPECT_EQ(first.nRows, 1);
    EXPECT_EQ(first.strLastState, "Recording");
    EXPECT_LT(dlg.m_snapshots.front().dWritten, dlg.m_snapshots.back().dWritten) << "the time advances";

    EXPECT_TRUE(dlg.m_messages.empty()) << "a stopped recording shows no completion";
    EXPECT_FALSE(m_pHost->IsRecording());
    EXPECT_EQ(m_pHost->GetStopRequest(), 1);
    ASSERT_GE(m_pHost->m_tabCalls.size(), 2u);
    EXPECT_EQ(m_pHost->m_tabCalls[m_pHost->m_tabCalls.size() - 2], FALSE);
    EXPECT_EQ(m_pHost->m_tabCalls.back(), TRUE);
    for (const CString& pane : m_pHost->m_panes)
        EXPECT_TRUE(pane.IsEmpty());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DEVICES)));

    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 0)), "1.");
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 1)), "Record-000.mp3");
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 2)), Narrow(m_folder.windows));
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 4)), "");
    // The sine source hands its sound over in blocks of 2 s, and the job
    // sees the click when the next block comes: the stop takes effect at the
    // first report after it (the second, when the press and the release fall
    // on either side of one), and the file holds what that report counted.
    ASSERT_EQ(m_clickTicks.size(), 1u);
    EXPECT_LE(ReportsSince(dlg, m_clickTicks[0]), 2) << "Record ends the job";
    const std::string strFile = m_folder.unix + "/Record-000.mp3";
    double dDuration = ProbeDurationMs(strFile);
    EXPECT_NEAR(dDuration, dlg.m_snapshots.back().dWritten, 200) << "the file holds what was recorded";
    EXPECT_GT(dDuration, 400);
    EXPECT_EQ(ProbeFormatName(strFile), "mp3");
    CString strShown = dlg.m_listFiles.GetItemText(0, 3);
    EXPECT_TRUE(strShown == ListClock(static_cast<int>(dDuration / 1000)) ||
                strShown == ListClock(static_cast<int>(dDuration / 1000 + 0.5)))
        << Narrow(strShown) << " for " << dDuration << " ms";

    // The next recording takes the next number.
    RecordWithClicks(dlg, {{1500, IDC_RECORD}});
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 2);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(1, 0)), "2.");
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(1, 1)), "Record-001.mp3");
    EXPECT_TRUE(UnixFileExists(m_folder.unix + "/Record-001.mp3"));
}

TEST_F(RecorderJobTest, ManualSplitStartsANewFileAndPauseKeepsItsTimeOut)
{
    CJobRecorder& dlg = Open();
    // Record is clicked once a report has seen the second file, so that the
    // second file has sound of its own whichever block the split fell into.
    RecordWithClicks(
        dlg, {{1500, IDC_MANUAL_SPLIT}, {3000, IDC_RECORD, [&] { return dlg.m_nRowsReported >= 2; }}});
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 2);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 1)), "Record-000.mp3");
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(1, 1)), "Record-001.mp3");
    double d0 = ProbeDurationMs(m_folder.unix + "/Record-000.mp3");
    double d1 = ProbeDurationMs(m_folder.unix + "/Record-001.mp3");
    const JobSnapshot& last = dlg.m_snapshots.back();
    EXPECT_NEAR(d0 + d1, last.dPosition, 300) << "nothing is lost at the split";
    EXPECT_NEAR(d1, last.dWritten, 200);
    EXPECT_GT(d0, 400);
    EXPECT_GT(d1, 400);
    EXPECT_TRUE(dlg.m_messages.empty());

    // Paused from the first report for 5 s, stopped once a report came after
    // the pause: the file holds what was recorded around the pause.
    dlg.m_snapshots.clear();
    dlg.m_dwContinued = 0;
    bool bPaused = false;
    DWORD dwPaused = 0;
    std::atomic<bool> bReportAfterContinue{false};
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (!bPaused)
        {
            bPaused = true;
            dwPaused = ::GetTickCount();
            dlg.SetRecordingPaused(TRUE);
            ::SetTimer(dlg.m_hWnd, 0x5150, 5000, &ContinueRecording);
        }
        else if (dlg.m_dwContinued != 0)
        {
            bReportAfterContinue = true;
        }
    };
    RecordWithClicks(dlg, {{7000, IDC_RECORD, [&] { return bReportAfterContinue.load(); }}});
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 3);
    ASSERT_NE(dlg.m_dwContinued, 0u);
    double d2 = ProbeDurationMs(m_folder.unix + "/Record-002.mp3");
    EXPECT_GT(d2, 300);
    EXPECT_NEAR(d2, dlg.m_snapshots.back().dWritten, 200);
    // The time the recording ran unpaused, plus a block of the source and
    // the half second it hands over first: with the pause recorded the file
    // would hold 5 s more.
    const double dUnpaused = double(dwPaused - m_dwStarted) + double(m_dwEnded - dlg.m_dwContinued);
    EXPECT_LT(d2, dUnpaused + 2500) << "the paused time is not recorded";
    EXPECT_FALSE(dlg.IsRecordingPaused());
}

// Recording WAV from a real-time source whose pitch tells each moment of
// it: Pause just after a report, Continue, Pause again and Stop while
// paused. The file holds the sound up to each Pause click and from the
// Continue click on, and nothing of the pauses, neither up to the job's
// next report nor at the Stop.
TEST_F(RecorderJobTest, APauseKeepsTheSoundUpToItsClickAndNothingUntilContinue)
{
    RealTimeSound sweep("sondrel_recorder_sweep_" + std::to_string(::GetCurrentProcessId()),
                        "SondrelRecorderSweep", kSweep);
    ASSERT_TRUE(sweep.Running());
    ASSERT_TRUE(PumpTranslatedUntil([&] { return sweep.Streams() == 1; }, 5000))
        << "the listener does not record";
    CJobRecorder& dlg = Open();
    ASSERT_TRUE(SelectListedDevice(dlg, _T("SondrelRecorderSweep")));
    dlg.OnSelectFormat(25104);  // WAV

    // The job's next report is most of a second after the first Pause.
    dlg.m_pauseDelays = {100, 3000, 2500};
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (dlg.m_snapshots.size() == 2)
            ::SetTimer(dlg.m_hWnd, 0x5151, dlg.m_pauseDelays[0], &TogglePause);
    };
    RecordWithClicks(dlg, {{5000, IDC_RECORD, [&] {
                                return dlg.m_nPauseSteps == 3 &&
                                       ::GetTickCount() - dlg.m_pauseTicks[2] >= 1500;
                            }}});
    ASSERT_EQ(dlg.m_nPauseSteps, 3);
    EXPECT_TRUE(dlg.m_messages.empty());
    EXPECT_FALSE(dlg.IsRecordingPaused());

    const std::vector<double> moments = SweepMoments(m_folder.unix + "/Record-000.wav");
    ASSERT_GT(moments.size(), 80u);
    const std::vector<SweepJump> jumps = SweepJumps(moments);
    ASSERT_EQ(jumps.size(), 1u) << "the sound leaves the source's course once, over the first pause";
    const double dPaused = (dlg.m_pauseTicks[1] - dlg.m_pauseTicks[0]) / 1000.0;
    const double dContinued = (dlg.m_pauseTicks[2] - dlg.m_pauseTicks[1]) / 1000.0;
    EXPECT_NEAR(jumps[0].dTo - jumps[0].dFrom, dPaused, 0.25)
        << "shorter: sound from the pause got in; longer: sound before the click was lost";
    EXPECT_NEAR(moments.back() + kSweepWindow / 2 - jumps[0].dTo, dContinued, 0.25)
        << "the file ends at the second Pause";
}

// A microphone whose tone turns soft the moment the window takes Stop, a
// tenth of a second after a report, when the job's half-second read has most
// of its way to go: the file (WAV) ends at the click, and a Continue right
// after the Stop does not undo it.
TEST_F(RecorderJobTest, AStopEndsTheFileAtItsClick)
{
    FedSound tone("sondrel_recorder_stop_tone_" + std::to_string(::GetCurrentProcessId()),
                  "SondrelRecorderStopTone");
    ASSERT_TRUE(tone.Running());
    tone.RunAtRealTime();
    CJobRecorder& dlg = Open();
    ASSERT_TRUE(SelectListedDevice(dlg, _T("SondrelRecorderStopTone")));
    dlg.OnSelectFormat(25104);  // WAV
    std::atomic<DWORD> dwReport{0};
    dlg.m_onProgress = [&](VARIANT_BOOL*) { dwReport = ::GetTickCount(); };
    dlg.m_onStopTaken = [&] { tone.Soften(); };
    RecordWithClicks(dlg, {{2000, IDC_RECORD, [&] {
                                const DWORD dwSince = ::GetTickCount() - dwReport;
                                return dwReport != 0 && dwSince >= 100 && dwSince < 200;
                            }}});
    EXPECT_TRUE(dlg.m_messages.empty());
    ASSERT_FALSE(dlg.m_snapshots.empty());
    EXPECT_NEAR(dlg.m_snapshots.back().dPosition, dlg.m_snapshots.back().dWritten, 1)
        << "the job's last report counted its one file twice";
    unsigned nRate = 0;
    const std::vector<double> samples = WavFirstChannel(m_folder.unix + "/Record-000.wav", &nRate);
    ASSERT_GT(samples.size(), nRate) << "less than a second recorded";
    EXPECT_LE(SoftTailMs(samples, nRate), 50) << "sound from after the Stop reached the file";
}

TEST_F(RecorderJobTest, SplittingByTenSecondsStartsANewFileAtTheMarker)
{
    CJobRecorder& dlg = Open();
    ClickControl(dlg, IDC_SPLIT);
    dlg.m_comboSplitValue.SetCurSel(0);
    ASSERT_EQ(dlg.m_comboSplitValue.GetItemData(0), 10u);
    RecordWithClicks(dlg, {{13500, IDC_RECORD}});
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 2);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(1, 1)), "Record-001.mp3");
    EXPECT_NEAR(ProbeDurationMs(m_folder.unix + "/Record-000.mp3"), 10000, 700) << "cut at the marker";
    EXPECT_GT(ProbeDurationMs(m_folder.unix + "/Record-001.mp3"), 300);
    EXPECT_TRUE(dlg.m_messages.empty());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_SPLIT_VALUE))) << "the split stays chosen";
}

// Stop while the job waits paused in its progress report: the job ends, and
// the file (WAV, from a real-time source whose pitch tells each moment of
// it) holds the sound up to the Pause and nothing from after it.
TEST_F(RecorderJobTest, StopWhilePausedEndsAtOnceAndALowDiskEndIsNoCompletion)
{
    RealTimeSound sweep("sondrel_recorder_stop_" + std::to_string(::GetCurrentProcessId()),
                        "SondrelRecorderStopSweep", kSweep);
    ASSERT_TRUE(sweep.Running());
    ASSERT_TRUE(PumpTranslatedUntil([&] { return sweep.Streams() == 1; }, 5000))
        << "the listener does not record";
    CJobRecorder& dlg = Open();
    ASSERT_TRUE(SelectListedDevice(dlg, _T("SondrelRecorderStopSweep")));
    dlg.OnSelectFormat(25104);  // WAV
    std::atomic<bool> bPaused{false};
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (dlg.m_snapshots.size() == 1)
        {
            dlg.SetRecordingPaused(TRUE);
            bPaused = true;
        }
    };
    // Stop once paused: a loaded machine can hold the first report back.
    RecordWithClicks(dlg, {{2000, IDC_RECORD, [&] { return bPaused.load(); }}});
    EXPECT_FALSE(m_pHost->IsRecording());
    EXPECT_FALSE(dlg.IsRecordingPaused()) << "a stop request clears the pause";
    EXPECT_TRUE(dlg.m_messages.empty());
    EXPECT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    const std::vector<double> moments = SweepMoments(m_folder.unix + "/Record-000.wav");
    ASSERT_GE(moments.size(), 10u);
    EXPECT_TRUE(SweepJumps(moments).empty()) << "sound from after the pause reached the file";

    // The converter reports the disk below its limit and ends the pass: the
    // job ends by itself, and that is no completed recording.
    dlg.m_onProgress = [&](VARIANT_BOOL* pbStop) {
        if (dlg.m_snapshots.size() < 2)
            return;
        dlg.OnError(CONVERTER_ERROR_LOW_DISK_SPACE, 3, pbStop);
        *pbStop = VARIANT_TRUE;
    };
    dlg.m_snapshots.clear();
    RecordWithClicks(dlg, {});
    ASSERT_EQ(dlg.m_messages.size(), 1u);
    EXPECT_EQ(dlg.m_messages[0].nText, (UINT)IDS_RECORDING_STOPPED_DISK);
    EXPECT_EQ(dlg.m_messages[0].nTitle, 20004u);
    EXPECT_EQ(dlg.m_messages[0].nFlags, (UINT)SMB_ERROR_OK);
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 2);
    EXPECT_GT(ProbeDurationMs(m_folder.unix + "/Record-001.wav"), 500) << "what was written is kept";
}

namespace {

const char16_t kHungServerVariable[] = u"SONDREL_RECORDER_HUNG_SERVER";
const PrivateSoundServer* g_pHungServer = nullptr;

// The main window's Continue while the sound server hangs, from a timer that
// the pause loop's pumping runs; the server is let go once it returned.
void CALLBACK ContinueWhileTheServerHangs(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(hWnd, nId);
    CJobRecorder* pDlg = static_cast<CJobRecorder*>(CWnd::FromHandlePermanent(hWnd));
    pDlg->SetRecordingPaused(FALSE);
    g_pHungServer->Resume();
    pDlg->m_dwContinued = ::GetTickCount();
}

// The program's application object, for its log.
class CLogOwner : public CApplicationBase
{
public:
    CLogOwner() : CApplicationBase(_T("Sondrel recorder job test"), _T("SondrelJobTest")) {}
};

std::string ReadWholeFile(const CString& strPath)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD dwRead = 0;
    while (::ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr) && dwRead > 0)
        bytes.append(buffer, dwRead);
    ::CloseHandle(hFile);
    return bytes;
}

}  // namespace

// A sound server that hangs but stays connected: Pause and Continue go on
// without its answer, the log says so, and the recording goes on. With a
// server of the test's own, in a process of its own (its first connection
// goes there).
TEST_F(RecorderJobTest, PauseAndContinueWithoutTheSoundServersAnswerAreLoggedAndTheJobGoesOn)
{
    if (commontest::Environment(kHungServerVariable).empty())
    {
        EXPECT_EQ(commontest::RunSelf(
                      "RecorderJobTest.PauseAndContinueWithoutTheSoundServersAnswerAreLoggedAndTheJobGoesOn",
                      kHungServerVariable, u"1"),
                  0u);
        return;
    }
    PrivateSoundServer server;
    ASSERT_TRUE(server.Load("module-sine-source source_name=sondrel_hung rate=44100 frequency=440 "
                            "source_properties=device.description=SondrelHungSine"));
    g_pHungServer = &server;
    setenv("PULSE_SERVER", server.Address().c_str(), 1);
    CLogOwner logs;
    CString strFolder;
    strFolder.Format(_T("Sondrel Tests\\recorder job %u"), (unsigned)::GetCurrentProcessId());
    ASSERT_TRUE(logs.InitFileLog(strFolder));

    CJobRecorder& dlg = Open();
    std::atomic<bool> bReportAfterContinue{false};
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (dlg.m_snapshots.size() == 1)
        {
            server.Hang();
            dlg.SetRecordingPaused(TRUE);
            ::SetTimer(dlg.m_hWnd, 0x5152, 100, &ContinueWhileTheServerHangs);
        }
        else if (dlg.m_dwContinued != 0)
        {
            bReportAfterContinue = true;
        }
    };
    RecordWithClicks(dlg, {{1000, IDC_RECORD, [&] { return bReportAfterContinue.load(); }}});
    EXPECT_NE(dlg.m_dwContinued, 0u);
    EXPECT_TRUE(bReportAfterContinue) << "the job stopped reporting";
    EXPECT_TRUE(dlg.m_messages.empty());
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    EXPECT_GT(ProbeDurationMs(m_folder.unix + "/Record-000.mp3"), 400);
    const std::string strLog = ReadWholeFile(logs.GetFileLog()->GetPath());
    EXPECT_NE(strLog.find("Pause: no answer from the sound server, paused after the sound delivered"),
              std::string::npos)
        << strLog;
    EXPECT_NE(strLog.find("Continue: no answer from the sound server, continued after the sound delivered"),
              std::string::npos)
        << strLog;
}

TEST_F(RecorderJobTest, AnErrorThatEndsTheJobIsNoCompletionEvenWhenTheUserGoesOn)
{
    // A capture device of the test's own, taken away while it records: the
    // converter reports the failed read and ends the job whatever the answer.
    SoundModule vanishing(
        "module-sine-source source_name=sondrel_recorder_vanishing rate=44100 frequency=990 "
        "source_properties=device.description=SondrelRecorderVanishing");
    ASSERT_TRUE(vanishing.Loaded());
    auto unload = [&] { vanishing.Unload(); };
    CJobRecorder& dlg = Open();
    ASSERT_TRUE(SelectListedDevice(dlg, _T("SondrelRecorderVanishing")));
    dlg.m_nAnswer = IDYES;
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (dlg.m_snapshots.size() == 2)
            unload();
    };
    RecordWithClicks(dlg, {});
    unload();
    ASSERT_EQ(dlg.m_messages.size(), 1u) << "the error, and no completion after it";
    EXPECT_EQ(dlg.m_messages[0].nText, (UINT)IDS_ERROR_CONVERSION);
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    EXPECT_GT(ProbeDurationMs(m_folder.unix + "/Record-000.mp3"), 500) << "what was recorded is kept";

    // Error 4 answered Yes and the job going on: a later end of its own is
    // still a completion.
    CJobRecorder& again = Open();
    again.m_nAnswer = IDYES;
    again.m_onProgress = [&](VARIANT_BOOL* pbStop) {
        if (again.m_snapshots.size() == 1)
            again.OnError(CONVERTER_ERROR_START_WRITING, 0, pbStop);
        if (again.m_snapshots.size() == 3)
            *pbStop = VARIANT_TRUE;
    };
    RecordWithClicks(again, {});
    ASSERT_EQ(again.m_messages.size(), 2u);
    EXPECT_EQ(again.m_messages[0].nText, (UINT)IDS_ERROR_FILE_CREATION);
    EXPECT_EQ(again.m_messages[1].nText, (UINT)IDS_RECORDING_COMPLETED);
}

TEST_F(RecorderJobTest, ErrorsOneToSevenAskOrEndAndOthersShowNothing)
{
    CJobRecorder& dlg = Open();
    const struct
    {
        LONG nCode;
        int nAnswer;
        UINT nText;
        UINT nFlags;
        bool bAbort;
    } cases[] = {
        {1, IDOK, 23003, SMB_ERROR_OK, true},      {2, IDOK, 23003, SMB_ERROR_OK, true},
        {3, IDOK, 23004, SMB_ERROR_OK, true},      {4, IDYES, 23005, SMB_ERROR_YESNO, false},
        {4, IDNO, 23005, SMB_ERROR_YESNO, true},   {5, IDNO, 23006, SMB_ERROR_YESNO, true},
        {6, IDYES, 23007, SMB_ERROR_YESNO, false}, {7, IDNO, 23007, SMB_ERROR_YESNO, true},
    };
    for (const auto& c : cases)
    {
        dlg.m_messages.clear();
        dlg.m_bAbort = 0;
        dlg.m_nFirstError = 0;
        dlg.m_nAnswer = c.nAnswer;
        VARIANT_BOOL bStop = 0;
        dlg.OnError(c.nCode, 0, &bStop);
        ASSERT_EQ(dlg.m_messages.size(), 1u) << c.nCode;
        EXPECT_EQ(dlg.m_messages[0].nText, c.nText) << c.nCode;
        EXPECT_EQ(dlg.m_messages[0].nTitle, 20004u);
        EXPECT_EQ(dlg.m_messages[0].nFlags, c.nFlags) << c.nCode;
        EXPECT_EQ(bStop, c.bAbort ? VARIANT_TRUE : 0) << c.nCode;
        EXPECT_EQ(dlg.m_bAbort, c.bAbort ? 1 : 0) << c.nCode;
        EXPECT_EQ(dlg.m_nFirstError, c.bAbort ? c.nCode : 0) << c.nCode;
        // Once aborted, the next file and item stop too.
        VARIANT_BOOL bNext = 0;
        dlg.OnFileOpened(&bNext);
        EXPECT_EQ(bNext, c.bAbort ? VARIANT_TRUE : 0);
    }

    // The first code that ended the job stays.
    dlg.m_nAnswer = IDOK;
    VARIANT_BOOL bStop = 0;
    dlg.OnError(9, 0, &bStop);
    EXPECT_EQ(dlg.m_nFirstError, 7);
    dlg.m_bAbort = 0;
    dlg.m_nFirstError = 0;
    dlg.m_messages.clear();
    for (LONG nCode : {0, 8, 9, -1, 1000})
    {
        bStop = 0;
        dlg.OnError(nCode, 5, &bStop);
        EXPECT_EQ(bStop, 0);
    }
    EXPECT_TRUE(dlg.m_messages.empty());
    EXPECT_EQ(dlg.m_nFirstError, 0);

    // The end of a job: completion only when it ended by itself, unhurt.
    m_pHost->m_nStopRequest = 0;
    dlg.m_bDiskLow = 0;
    dlg.m_bErrorLast = 0;
    dlg.ShowJobEndMessage();
    ASSERT_EQ(dlg.m_messages.size(), 1u);
    EXPECT_EQ(dlg.m_messages[0].nText, 23002u);
    EXPECT_EQ(dlg.m_messages[0].nTitle, 20001u);
    EXPECT_EQ(dlg.m_messages[0].nFlags, (UINT)SMB_INFO_OK);
    dlg.m_messages.clear();
    dlg.m_nFirstError = 4;
    dlg.ShowJobEndMessage();
    m_pHost->m_nStopRequest = 1;
    dlg.m_nFirstError = 0;
    dlg.ShowJobEndMessage();
    EXPECT_TRUE(dlg.m_messages.empty());
}

TEST(RecorderFileNames, TheFirstFreeNumberIsTakenWithThreeDigitsAtLeast)
{
    ScratchFolder folder;
    auto touch = [&](const char* name) {
        FILE* f = fopen((folder.unix + "/" + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fclose(f);
    };
    EXPECT_EQ(Narrow(CSondrelDlg::FindFreeRecordPath(folder.windows, _T(".mp3"))),
              Narrow(folder.windows + _T("Record-000.mp3")));
    touch("Record-000.mp3");
    touch("Record-002.mp3");
    touch("Record-001.wav");
    EXPECT_EQ(Narrow(CSondrelDlg::FindFreeRecordPath(folder.windows, _T(".mp3"))),
              Narrow(folder.windows + _T("Record-001.mp3")));
    touch("Record-001.mp3");
    EXPECT_EQ(Narrow(CSondrelDlg::FindFreeRecordPath(folder.windows, _T(".mp3"))),
              Narrow(folder.windows + _T("Record-003.mp3")));
    // A folder of that name is taken as well.
    ASSERT_EQ(system(("mkdir '" + folder.unix + "/Record-000.wav'").c_str()), 0);
    EXPECT_EQ(Narrow(CSondrelDlg::FindFreeRecordPath(folder.windows, _T(".wav"))),
              Narrow(folder.windows + _T("Record-002.wav")));
    ASSERT_EQ(
        system(("cd '" + folder.unix + "' && for i in $(seq -w 0 999); do : > Record-$i.au; done").c_str()),
        0);
    EXPECT_EQ(Narrow(CSondrelDlg::FindFreeRecordPath(folder.windows, _T(".au"))),
              Narrow(folder.windows + _T("Record-1000.au")));
}

TEST(RecorderSplitMarkers, DurationSplitsPlaceMarkersEveryStepWithinADay)
{
    CArray<double, double> times;
    CSondrelDlg::ComputeSplitMarkers(10, times);
    ASSERT_EQ(times.GetSize(), 8639);
    EXPECT_EQ(times[0], 10000.0);
    EXPECT_EQ(times[1], 20000.0);
    EXPECT_EQ(times[times.GetSize() - 1], 86390000.0);
    CSondrelDlg::ComputeSplitMarkers(14400, times);
    ASSERT_EQ(times.GetSize(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(times[i], (i + 1) * 14400000.0);
    CSondrelDlg::ComputeSplitMarkers(0, times);
    EXPECT_EQ(times.GetSize(), 0);
}

TEST_F(RecorderJobTest, AnExceptionInsideTheJobEndsItAsAFailedRecording)
{
    OwnSineSource source;
    CJobRecorder& dlg = Open();
    ASSERT_TRUE(source.Select(dlg, [&] { dlg.OnBnClickedRefreshdevices(); }));

    // Memory runs out in a progress report while the file is written.
    dlg.m_onProgress = [&](VARIANT_BOOL*) {
        if (dlg.m_snapshots.size() == 3)
            AfxThrowMemoryException();
    };
    RecordWithClicks(dlg, {});
    EXPECT_FALSE(m_pHost->IsRecording()) << "the program can end";
    EXPECT_EQ(m_pHost->GetStopRequest(), 1);
    EXPECT_EQ(dlg.m_pConverter, nullptr);
    EXPECT_EQ(source.Streams(), 0) << "the capture stopped";
    ASSERT_EQ(dlg.m_messages.size(), 1u) << "the failure, and no completion";
    EXPECT_EQ(dlg.m_messages[0].nText, (UINT)IDS_ERROR_RECORDING);
    EXPECT_EQ(dlg.m_messages[0].nFlags, (UINT)SMB_ERROR_OK);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DEVICES)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_PROFILES)));
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 4)), "") << "the row is closed";
    EXPECT_GT(ProbeDurationMs(m_folder.unix + "/Record-000.mp3"), 1000) << "what was recorded is kept";

    // Thrown once the next file's row is added, before the file opens: the
    // row goes with the job.
    dlg.m_onProgress = nullptr;
    dlg.m_onNextFileName = [](BSTR* pbstrName) {
        ::SysFreeString(*pbstrName);
        *pbstrName = nullptr;
        throw std::bad_alloc();
    };
    // And while the job is prepared, before the converter runs.
    for (int nCase = 0; nCase < 2; ++nCase)
    {
        dlg.m_messages.clear();
        m_pHost->m_bConfigurationBagThrows = nCase == 1;
        RecordUntilMessage(dlg);
        EXPECT_FALSE(m_pHost->IsRecording()) << nCase;
        EXPECT_EQ(m_pHost->GetStopRequest(), 1) << nCase;
        EXPECT_EQ(dlg.m_pConverter, nullptr) << nCase;
        EXPECT_EQ(source.Streams(), 0) << nCase;
        ASSERT_EQ(dlg.m_messages.size(), 1u) << nCase;
        EXPECT_EQ(dlg.m_messages[0].nText, (UINT)IDS_ERROR_RECORDING) << nCase;
        EXPECT_EQ(dlg.m_listFiles.GetItemCount(), 1) << nCase;
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DEVICES))) << nCase;
    }
}

TEST_F(RecorderJobTest, AFileThatCannotBeMadeLeavesNoRowAndAsksNothing)
{
    CJobRecorder& dlg = Open();
    m_pHost->m_strFileListPath = m_folder.windows + _T("filelist.xml");
    // Going on would be a "Yes"; there is nothing to go on with.
    dlg.m_nAnswer = IDYES;
    auto expectFailedStart = [&](const char* pszCase) {
        EXPECT_FALSE(m_pHost->IsRecording()) << pszCase;
        ASSERT_EQ(dlg.m_messages.size(), 1u) << pszCase;
        EXPECT_EQ(dlg.m_messages[0].nText, (UINT)IDS_ERROR_FILE_NOT_CREATED) << pszCase;
        EXPECT_EQ(dlg.m_messages[0].nFlags, (UINT)SMB_ERROR_OK) << pszCase;
        EXPECT_EQ(dlg.m_listFiles.GetItemCount(), 0) << pszCase;
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DEVICES))) << pszCase;
        dlg.m_messages.clear();
    };

    // The output folder was deleted.
    m_pHost->m_strOutputFolder = m_folder.windows + _T("gone\\");
    RecordUntilMessage(dlg);
    expectFailedStart("deleted folder");
    dlg.SaveFileList();
    CStringArray stored;
    CStoredFileList::Load(m_pHost->m_strFileListPath, stored);
    EXPECT_EQ(stored.GetSize(), 0) << "nothing phantom is stored";

    // A folder that takes no writes (as root, the file-size limit refuses them).
    m_pHost->m_strOutputFolder = m_folder.windows;
    {
        FileSizeLimit limit(0);
        RecordUntilMessage(dlg);
    }
    expectFailedStart("read-only folder");
    EXPECT_FALSE(UnixFileExists(m_folder.unix + "/Record-000.mp3")) << "no empty file is left";

    // Writable again, the next recording takes the first number.
    RecordWithClicks(dlg, {{1500, IDC_RECORD}});
    ASSERT_EQ(dlg.m_listFiles.GetItemCount(), 1);
    EXPECT_EQ(Narrow(dlg.m_listFiles.GetItemText(0, 1)), "Record-000.mp3");
    EXPECT_TRUE(dlg.m_messages.empty());
}
