// The main road's Stop: a recording started from the ribbon and stopped
// from it ends quietly at the click, is listed, and holds the sound
// recorded up to it. Sondrel records from a capture device of this
// program's own that gets its sound from the test in blocks of the job's
// half second, so the file's length tells which block the job stopped at,
// however late a loaded machine let it read them.
#include <afxwin.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fed_sound.h"
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

// The file's size in bytes, -1 while it does not exist.
LONGLONG FileSize(const std::u16string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(W(path), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The window that holds the capture in the program's thread: the ribbon
// while it tracks a press. The tracking runs inside the job's pump, so the
// job reads nothing meanwhile.
HWND CaptureOf(HWND hMain)
{
    GUITHREADINFO info = {sizeof(info)};
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hMain, nullptr), &info) ? info.hwndCapture : nullptr;
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

TEST_F(MainRoadStop, StopEndsQuietlyAtItsClickAndTheListedMp3HoldsWhatCameBefore)
{
    // A capture device of this program's own on the shared sound server.
    FedSound tone("sondrel_stop_tone_" + std::to_string(::GetCurrentProcessId()), kToneDescriptionArgument);
    ASSERT_TRUE(tone.Running());
    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = ShowMainWindow(program);
    ASSERT_NE(nullptr, hMain);
    const int nRowsBefore = RowCount(hMain);
    HWND hList = ChildById(hMain, kFileList);
    ASSERT_NE(nullptr, hList);

    // The tone chosen in the device list by keys.
    HWND hDevices = ChildById(hMain, kDevices);
    ASSERT_NE(nullptr, hDevices);
    ASSERT_NO_FATAL_FAILURE(ChooseDevice(hDevices, kToneDescription));

    // Record from the ribbon.
    CPoint ptRecord;
    ASSERT_TRUE(WaitUntil([&] { return FindIconPatch(hMain, kRecordDot, &ptRecord); }, 20000))
        << "no Record on the ribbon";
    ClickAt(ptRecord);
    ASSERT_TRUE(WaitUntil([&] { return tone.Streams() == 1; }, 20000))
        << "nothing records from the chosen device";
    tone.StartTrickle();
    ASSERT_TRUE(
        WaitUntil([&] { return RowCount(hMain) > nRowsBefore && LastRow(hMain, 4) == u"Recording"; }, 20000));
    CPoint ptStop, ptNow;
    // The ribbon shows the swap when the job next pumps its window.
    ASSERT_TRUE(WaitUntil([&] { return FindIconPatch(hMain, kStopSquare, &ptStop); }, 20000))
        << "Stop does not stand where Record stood";
    EXPECT_FALSE(FindIconPatch(hMain, kRecordDot, &ptNow));

    // Nine blocks, 4.5 s of sound, each handed over once the last is in
    // the file: the job writes a block as soon as it has read it. The file
    // gets its header when it opens; a message answered afterwards comes at
    // one of the job's pumps, after the write, so the size read then is
    // whole.
    const std::u16string strFile = std::u16string(kOutputFolder) + u"Record-000.mp3";
    ASSERT_TRUE(WaitUntil([&] { return FileSize(strFile) > 0; }, 20000)) << "no file opened";
    ListCount(hList);
    for (int i = 0; i < 9; ++i)
    {
        const LONGLONG nBefore = FileSize(strFile);
        tone.FeedBlock();
        ASSERT_TRUE(WaitUntil([&] { return FileSize(strFile) > nBefore; }, 20000)) << "block " << i + 1;
        ListCount(hList);
    }

    // Stop, pressed and released on the ribbon, each taken before the
    // next step: the press tracking holds the capture.
    MouseMoveTo(ptStop);
    Wait(100);
    MouseLeftDown();
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(hMain) != nullptr; }, 20000)) << "the press was not taken";
    MouseLeftUp();
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(hMain) == nullptr; }, 20000)) << "the release was not taken";

    // The recording ends at the click: the job reads no tenth block, which
    // never comes, and stops.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return FindIconPatch(hMain, kRecordDot, &ptNow) || !OtherWindows(program.Id(), hMain).empty();
        },
        20000))
        << "the recording did not stop";

    // No completion box (it would stand before Record comes back), and the
    // file is listed as finished.
    EXPECT_EQ(u"", OtherWindows(program.Id(), hMain));
    EXPECT_EQ(1u, Dialogs(program).size());
    ASSERT_EQ(nRowsBefore + 1, RowCount(hMain));
    EXPECT_EQ(u"Record-000.mp3", LastRow(hMain, 1));
    EXPECT_EQ(u"", LastRow(hMain, 4)) << Narrow(LastRow(hMain, 4));

    // An MP3 at the profile's 44100 Hz stereo, holding the nine blocks
    // (MP3's frames add a few hundredths).
    const std::string strProbe =
        ProbeFile(strFile, "format=format_name,duration:stream=sample_rate,channels");
    EXPECT_EQ("mp3", ProbeValue(strProbe, "format_name")) << strProbe;
    EXPECT_EQ("44100", ProbeValue(strProbe, "sample_rate")) << strProbe;
    EXPECT_EQ("2", ProbeValue(strProbe, "channels")) << strProbe;
    EXPECT_NEAR(4.5, std::atof(ProbeValue(strProbe, "duration").c_str()), 0.1) << strProbe;

    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}
