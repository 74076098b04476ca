// The main road's endings: closing Sondrel while it records, starting it
// again, and a capture device that goes away in the middle of a recording.
// Sondrel runs as a program of its own, driven only by real input on what
// the screen shows, and is judged by its windows, its files (ffprobe) and
// what a restart lists. The cases run in order and share the settings.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace {

const char16_t kOutputFolder[] = u"C:\\mainroad-close\\";

// ffprobe's format name and duration (seconds, -1 when unreadable).
struct Probe
{
    std::string strFormat;
    double dSeconds = -1;
    std::string strOutput;
};

Probe ProbeRecording(const std::u16string& strName)
{
    Probe probe;
    probe.strOutput = ProbeFile(std::u16string(kOutputFolder) + strName, "format=format_name,duration");
    probe.strFormat = ProbeValue(probe.strOutput, "format_name");
    probe.dSeconds = ProbedSeconds(probe.strOutput);
    return probe;
}

// "mm:ss" in seconds.
int Seconds(const std::u16string& strTime)
{
    int nMinutes = 0, nSeconds = 0;
    if (std::sscanf(Narrow(strTime).c_str(), "%d:%d", &nMinutes, &nSeconds) != 2)
        return -1;
    return nMinutes * 60 + nSeconds;
}

// A sine source of the test's own on the shared sound server, which it may
// take away without disturbing the other test programs' recordings.
const char16_t kOwnSourceDescription[] = u"SondrelCloseVanishing";
const char kOwnSourceArguments[] = "module-sine-source source_name=sondrel_close_vanishing rate=44100 "
                                   "frequency=770 source_properties=device.description=SondrelCloseVanishing";

}  // namespace

class MainRoadClose : public ::testing::Test
{
public:
    static void SetUpTestSuite() { ResetProgramSettings(kOutputFolder); }

protected:
    HWND StartProgram(SondrelProcess& program) { return program.Start() ? ShowMainWindow(program) : nullptr; }
    // The process's visible dialogs (the main window and message boxes),
    // without the tips that follow the pointer.
    std::vector<HWND> Dialogs(const SondrelProcess& program)
    {
        return VisibleWindowsOfClass(program.Id(), u"#32770");
    }
    std::u16string LastRow(HWND hMain, int nColumn)
    {
        return LastRowText(ChildById(hMain, kFileList), nColumn);
    }
    // Clicks Record on the ribbon (noting when) and waits for the new row
    // to record.
    void StartRecording(HWND hMain, size_t nRowsBefore, DWORD* pdwClicked = nullptr)
    {
        CPoint ptRecord;
        ASSERT_TRUE(FindRibbonIcon(hMain, kRecordDot, &ptRecord));
        if (pdwClicked)
            *pdwClicked = ::GetTickCount();
        ClickAt(ptRecord);
        HWND hList = ChildById(hMain, kFileList);
        ASSERT_NE(nullptr, hList);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return static_cast<size_t>(ListCount(hList)) > nRowsBefore &&
                       LastRow(hMain, 4) == u"Recording";
            },
            10000));
    }
    // The last row's time once it has moved past the given seconds.
    bool WaitForRecordedTime(HWND hMain, int nSeconds, DWORD dwTimeout)
    {
        return WaitUntil([&] { return Seconds(LastRow(hMain, 3)) > nSeconds; }, dwTimeout);
    }
    // Clicks the row and plays it with Ctrl+P: true when the row shows
    // that it plays.
    bool PlaysFromTheList(HWND hMain, int nRow)
    {
        HWND hList = ChildById(hMain, kFileList);
        if (!hList)
            return false;
        const CRect rcRow = ListRowRect(hList, nRow);
        ClickAt(CPoint(rcRow.left + 60, rcRow.CenterPoint().y));
        KeyChord(VK_CONTROL, 'P');
        return WaitUntil(
            [&] {
                auto rows = FileListRows(hMain);
                return static_cast<int>(rows.size()) > nRow && rows[nRow][4].rfind(u"Playing: 00:0", 0) == 0;
            },
            5000);
    }
};

TEST_F(MainRoadClose, ClosingWhileRecordingAsksFirstNoGoesOnAndYesEndsWithTheWholeFile)
{
    SondrelProcess program;
    HWND hMain = StartProgram(program);
    ASSERT_NE(nullptr, hMain);
    ASSERT_TRUE(FileListRows(hMain).empty());
    DWORD dwClicked = 0;
    StartRecording(hMain, 0, &dwClicked);
    ASSERT_TRUE(WaitForRecordedTime(hMain, 0, 10000));

    // Escape and Enter neither close the window nor end the recording.
    ::SetForegroundWindow(hMain);
    Wait(100);
    Key(VK_ESCAPE);
    Key(VK_RETURN);
    Wait(500);
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(1u, Dialogs(program).size());
    EXPECT_EQ(u"Recording", LastRow(hMain, 4));

    // Closing asks; No leaves the window open and the recording running.
    AltF4(hMain);
    HWND hQuestion = WaitForWindow(program.Id(), u"Confirmation", 10000);
    ASSERT_NE(nullptr, hQuestion);
    HWND hNo = ChildById(hQuestion, IDNO);
    ASSERT_NE(nullptr, ChildById(hQuestion, IDYES));
    ASSERT_NE(nullptr, hNo);
    ClickChild(hNo);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hQuestion); }, 5000));
    EXPECT_TRUE(program.Running());
    const int nAfterNo = Seconds(LastRow(hMain, 3));
    EXPECT_TRUE(WaitForRecordedTime(hMain, nAfterNo + 1, 10000)) << "the time goes on after No";
    EXPECT_EQ(u"Recording", LastRow(hMain, 4));

    // Closing again and Yes: the job ends, then the program.
    AltF4(hMain);
    hQuestion = WaitForWindow(program.Id(), u"Confirmation", 10000);
    ASSERT_NE(nullptr, hQuestion);
    HWND hYes = ChildById(hQuestion, IDYES);
    ASSERT_NE(nullptr, hYes);
    const int nShownAtYes = Seconds(LastRow(hMain, 3));
    ClickChild(hYes);
    const double dUntilYes = (::GetTickCount() - dwClicked) / 1000.0;
    ASSERT_TRUE(program.WaitForExit(20000));

    // The file is whole: an MP3 holding at least what the list showed when
    // the close was confirmed, and ending soon after (the job stops at its
    // next progress report; the sine source delivers in bursts of up to 2 s).
    const Probe probe = ProbeRecording(u"Record-000.mp3");
    EXPECT_EQ("mp3", probe.strFormat) << probe.strOutput;
    EXPECT_GE(probe.dSeconds, nShownAtYes) << probe.strOutput;
    EXPECT_LE(probe.dSeconds, dUntilYes + 4) << probe.strOutput;
}

TEST_F(MainRoadClose, ARestartListsTheRecordingAndPlaysIt)
{
    SondrelProcess program;
    HWND hMain = StartProgram(program);
    ASSERT_NE(nullptr, hMain);
    auto rows = FileListRows(hMain);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(u"Record-000.mp3", rows[0][1]);
    EXPECT_EQ(u"", rows[0][4]);
    EXPECT_GT(Seconds(rows[0][3]), 2) << Narrow(rows[0][3]);
    EXPECT_TRUE(PlaysFromTheList(hMain, 0)) << Narrow(FileListRows(hMain)[0][4]);
    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}

TEST_F(MainRoadClose, ADeviceThatGoesAwayWhileRecordingShowsAnErrorNoCompletionAndKeepsAPlayableFile)
{
    SoundModule source(kOwnSourceArguments);
    ASSERT_TRUE(source.Loaded());
    SondrelProcess program;
    HWND hMain = StartProgram(program);
    ASSERT_NE(nullptr, hMain);
    const size_t nRowsBefore = FileListRows(hMain).size();

    // The test's own source chosen in the device list by keys.
    HWND hDevices = ChildById(hMain, kDevices);
    ASSERT_NE(nullptr, hDevices);
    ASSERT_NO_FATAL_FAILURE(ChooseDevice(hDevices, kOwnSourceDescription));

    StartRecording(hMain, nRowsBefore);
    ASSERT_TRUE(WaitForRecordedTime(hMain, 1, 10000));
    ASSERT_GT(SourceStreams("sondrel_close_vanishing"), 0) << "the chosen device is not the one recorded";
    source.Unload();

    // An error, answered as a user who would go on; no completion follows.
    HWND hError = WaitForWindow(program.Id(), u"Error", 15000);
    ASSERT_NE(nullptr, hError);
    HWND hAnswer = ChildById(hError, IDYES);
    if (!hAnswer)
        hAnswer = ChildById(hError, IDOK);
    ASSERT_NE(nullptr, hAnswer);
    ClickChild(hAnswer);
    CPoint ptRecord;
    EXPECT_TRUE(WaitUntil([&] { return FindRibbonIcon(hMain, kRecordDot, &ptRecord); }, 15000))
        << "the job did not end";
    Wait(1500);
    EXPECT_EQ(nullptr, WaitForWindow(program.Id(), u"Information", 100));
    EXPECT_EQ(1u, Dialogs(program).size());

    // What was recorded is kept, listed, and plays.
    auto rows = FileListRows(hMain);
    ASSERT_EQ(nRowsBefore + 1, rows.size());
    const std::u16string strName = rows.back()[1];
    EXPECT_EQ(u"", rows.back()[4]);
    const Probe probe = ProbeRecording(strName);
    EXPECT_EQ("mp3", probe.strFormat) << probe.strOutput;
    EXPECT_GT(probe.dSeconds, 0.9) << probe.strOutput;
    EXPECT_TRUE(PlaysFromTheList(hMain, static_cast<int>(nRowsBefore)))
        << Narrow(FileListRows(hMain)[nRowsBefore][4]);
    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}
