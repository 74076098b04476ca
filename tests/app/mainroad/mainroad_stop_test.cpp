// The main road's Stop: a recording started from the ribbon and stopped
// from it after 5 s ends quietly, is listed, and holds those 5 s. Sondrel
// records from a capture source of this program's own that delivers a tone
// in real time (a FIFO fed at the wall clock's pace), so the file's length
// tells when the job stopped and not how the sound server batches samples.
#include <afxwin.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace stoproad {

const char16_t kOutputFolder[] = u"C:\\mainroad-stop\\";
// The tone's name in the device list (no blanks: the sound server's
// module arguments take none).
const char16_t kToneDescription[] = u"SondrelStopTone";
const char kToneDescriptionArgument[] = "SondrelStopTone";

// The system clock in seconds, the one whose whole seconds the job's
// reports follow.
double ClockSeconds()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    const ULONGLONG n = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<double>(n) / 1e7;
}

// The centre of the largest connected patch of the colour in the ribbon.
// The button's tooltip holds a copy of its icon, and stray pixels of the
// colour lie in captions, so a centroid of all of them misses the button.
bool FindIconPatch(HWND hMain, COLORREF clr, CPoint* pScreen)
{
    return FindRibbonIcon(hMain, clr, pScreen, nullptr, 30, Neighbours::Sides);
}

class MainRoadStop : public ::testing::Test
{
public:
    static void SetUpTestSuite() { ResetProgramSettings(kOutputFolder); }

protected:
    // The process's visible dialogs (the main window and message boxes),
    // without the tips that follow the pointer.
    static std::vector<HWND> Dialogs(const SondrelProcess& program)
    {
        return VisibleWindowsOfClass(program.Id(), u"#32770");
    }
    static int RowCount(HWND hMain)
    {
        HWND hList = ChildById(hMain, kFileList);
        return hList ? ListCount(hList) : 0;
    }
    static std::u16string LastRow(HWND hMain, int nColumn)
    {
        return LastRowText(ChildById(hMain, kFileList), nColumn);
    }
};

}  // namespace stoproad

using namespace stoproad;

TEST_F(MainRoadStop, StopAfterFiveSecondsEndsQuietlyAndTheListedMp3HoldsFiveSeconds)
{
    // A capture source of this program's own on the shared sound server.
    RealTimeSound tone("sondrel_stop_tone_" + std::to_string(::GetCurrentProcessId()),
                       kToneDescriptionArgument, "sine=frequency=660:sample_rate=44100");
    ASSERT_TRUE(tone.Running());
    ASSERT_TRUE(WaitUntil([&] { return tone.Streams() == 1; }, 5000)) << "the listener does not record";
    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = ShowMainWindow(program);
    ASSERT_NE(nullptr, hMain);
    const int nRowsBefore = RowCount(hMain);

    // The tone chosen in the device list by keys.
    HWND hDevices = ChildById(hMain, kDevices);
    ASSERT_NE(nullptr, hDevices);
    ASSERT_NO_FATAL_FAILURE(ChooseDevice(hDevices, kToneDescription));

    // Record; the recording begins when the sound server gives Sondrel its
    // stream, which is the start the file's length counts from.
    CPoint ptRecord;
    ASSERT_TRUE(FindIconPatch(hMain, kRecordDot, &ptRecord));
    MouseMoveTo(ptRecord);
    Wait(120);
    MouseLeftDown();
    Wait(40);
    MouseLeftUp();
    const double dClicked = ClockSeconds();
    ASSERT_TRUE(WaitUntil([&] { return tone.Streams() > 1; }, 10000))
        << "nothing records from the chosen device";
    const double dStarted = ClockSeconds();
    ASSERT_TRUE(
        WaitUntil([&] { return RowCount(hMain) > nRowsBefore && LastRow(hMain, 4) == u"Recording"; }, 10000));
    CPoint ptStop, ptNow;
    // The ribbon shows the swap when the job next pumps its window.
    ASSERT_TRUE(WaitUntil([&] { return FindIconPatch(hMain, kStopSquare, &ptStop); }, 5000))
        << "Stop does not stand where Record stood";
    EXPECT_FALSE(FindIconPatch(hMain, kRecordDot, &ptNow));

    // The job reads its source in half-second blocks and, at the first
    // block after each whole second of the clock, reports: it shows the
    // time in the row and takes a stop. The row's time changing is thus a
    // report (the window answers within a pump of the job's wait, well
    // inside a block), and its moment tells how much was written then. The
    // next report writes a second more, so Stop is clicked after the report
    // of 3.5 or 4 s, as a user who stops at 5 s, and the file holds 4.5 or
    // 5 s.
    const double kBlock = 0.5;
    MouseMoveTo(ptStop);
    double dWritten = 0, dReport = 0;
    std::u16string strShown = ListItemText(ChildById(hMain, kFileList), nRowsBefore, 3);
    std::string strReports;
    HWND hList = ChildById(hMain, kFileList);
    while (dWritten < 3.5 && ClockSeconds() - dStarted < 20)
    {
        const std::u16string strNow = ListItemText(hList, nRowsBefore, 3);
        if (strNow == strShown)
            continue;
        strShown = strNow;
        dReport = ClockSeconds();
        dWritten = std::round((dReport - dStarted) / kBlock) * kBlock;
        strReports += " " + std::to_string(dReport - dStarted) + " (" + Narrow(strShown) + ")";
    }
    ASSERT_GE(dWritten, 3.5) << "no report after 3.5 s; reports at" << strReports;
    ASSERT_LE(dWritten, 4.0) << "a report was missed; reports at" << strReports;
    Wait(100);
    MouseLeftDown();
    Wait(40);
    MouseLeftUp();
    ASSERT_TRUE(WaitUntil([&] { return FindIconPatch(hMain, kRecordDot, &ptNow); }, 10000))
        << "the recording did not stop";

    // No completion box, and the file is listed as finished.
    Wait(1500);
    EXPECT_EQ(nullptr, WaitForWindow(program.Id(), u"Information", 100));
    EXPECT_EQ(1u, Dialogs(program).size());
    ASSERT_EQ(nRowsBefore + 1, RowCount(hMain));
    EXPECT_EQ(u"Record-000.mp3", LastRow(hMain, 1));
    EXPECT_EQ(u"", LastRow(hMain, 4)) << Narrow(LastRow(hMain, 4));

    // An MP3 at the profile's 44100 Hz stereo, holding the 5 s.
    const std::string strProbe = ProbeFile(std::u16string(kOutputFolder) + u"Record-000.mp3",
                                           "format=format_name,duration:stream=sample_rate,channels");
    EXPECT_EQ("mp3", ProbeValue(strProbe, "format_name")) << strProbe;
    EXPECT_EQ("44100", ProbeValue(strProbe, "sample_rate")) << strProbe;
    EXPECT_EQ("2", ProbeValue(strProbe, "channels")) << strProbe;
    const double dLength = std::atof(ProbeValue(strProbe, "duration").c_str());
    EXPECT_NEAR(5.0, dLength, 0.5) << strProbe << "stream after " << dStarted - dClicked
                                   << " s, Stop clicked after the report at " << dReport - dStarted << " s ("
                                   << dWritten << " s written, the row showing " << Narrow(strShown) << ")";

    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}
