// The main window while Sondrel records. It keeps answering while the job
// waits for sound, not only at the job's progress reports. What would change
// the recording or the list is off: a click on a format button, on a file
// command or on the Files tab changes nothing. Each is clicked for real
// where the idle window showed it, and the window, the list and the file it
// records are read back.
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

namespace recordingwindow {

const char16_t kOutputFolder[] = u"C:\\mainroad-window\\";

// The volume slider of the recording dialog, the Files tab's Info icon's
// colour and the selected tab's in the default scheme.
const int kVolume = 1232;
const COLORREF kInfoFace = RGB(40, 100, 200);
const COLORREF kSelectedTab = RGB(255, 190, 110);

// The screen rectangles of every 4-connected patch of a colour of at least
// nMinimum pixels in the area of a shot, left to right.
std::vector<CRect> PatchesLeftToRight(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nMinimum)
{
    std::vector<CRect> patches;
    for (const ColourPatch& patch : ColourPatches(canvas, area, clr, 6, Neighbours::Sides))
        if (patch.nPixels >= nMinimum)
            patches.push_back(patch.bounds);
    std::sort(patches.begin(), patches.end(), [](const CRect& a, const CRect& b) { return a.left < b.left; });
    return patches;
}

class MainRoadRecordingWindow : public ::testing::Test
{
public:
    static void SetUpTestSuite() { ResetProgramSettings(kOutputFolder); }

protected:
    // The ribbon's part of a shot of the main window, and the screen offset.
    std::unique_ptr<DibCanvas> RibbonShot(CPoint* pOrigin)
    {
        CRect rcScreen;
        auto shot = Shot(m_hMain, &rcScreen);
        *pOrigin = rcScreen.TopLeft();
        return shot;
    }
    bool FindIcon(COLORREF clr, CPoint* pScreen) { return FindRibbonIcon(m_hMain, clr, pScreen); }
    // The selected tab's highlight on the screen.
    bool SelectedTab(CRect* prc)
    {
        CPoint origin, pt;
        auto shot = RibbonShot(&origin);
        CRect rc;
        if (!FindColourPatch(*shot, CRect(0, 0, shot->Width() / 2, 120), kSelectedTab, 40, 30, &pt, &rc))
            return false;
        *prc = rc + origin;
        return true;
    }
    // Windows of the program besides its main window, its tips and bars.
    std::u16string OtherWindows() { return mainroad::OtherWindows(m_program.Id(), m_hMain); }
    // Clicks the point with the pointer coming from the file list, so that
    // no tip of the ribbon stands over what is clicked.
    void ClickFromAway(CPoint pt)
    {
        CRect rcList;
        ::GetWindowRect(ChildById(m_hMain, kFileList), &rcList);
        ::SetForegroundWindow(m_hMain);
        MouseMoveTo(rcList.CenterPoint());
        Wait(100);
        ClickAt(pt);
    }

    void StartProgram()
    {
        ASSERT_TRUE(m_program.Start());
        m_hMain = ShowMainWindow(m_program);
        ASSERT_NE(nullptr, m_hMain);
    }

    SondrelProcess m_program;
    HWND m_hMain = nullptr;
};

}  // namespace recordingwindow

using namespace recordingwindow;

TEST_F(MainRoadRecordingWindow, FormatButtonsFileCommandsAndTheFilesTabChangeNothingWhileRecording)
{
    StartProgram();
    HWND hList = ChildById(m_hMain, kFileList);
    HWND hProfiles = ChildById(m_hMain, kProfiles);
    ASSERT_NE(nullptr, hList);
    ASSERT_NE(nullptr, hProfiles);

    // Where the idle window shows them: the Formats tab (selected at the
    // start) with M4A, then the Files tab, left of it, with Delete All
    // Files, the second of the red crosses (Delete, Delete All, Delete from
    // disk), left of Record's dot.
    CRect rcFormatsTab, rcFilesTab;
    CPoint ptM4A;
    ASSERT_TRUE(WaitUntil([&] { return SelectedTab(&rcFormatsTab) && FindIcon(kM4AFace, &ptM4A); }, 20000))
        << "the ribbon is not drawn";
    const CPoint ptFilesTab(rcFormatsTab.left - 12, rcFormatsTab.CenterPoint().y);
    ClickFromAway(ptFilesTab);
    CPoint ptInfo;
    ASSERT_TRUE(WaitUntil([&] { return FindIcon(kInfoFace, &ptInfo); }, 20000))
        << "the Files tab did not open";
    ASSERT_TRUE(SelectedTab(&rcFilesTab));
    EXPECT_LT(rcFilesTab.right, rcFormatsTab.right);
    CPoint origin;
    auto shot = RibbonShot(&origin);
    const std::vector<CRect> crosses =
        PatchesLeftToRight(*shot, CRect(0, rcFilesTab.bottom - origin.y, shot->Width(), 220), kRecordDot, 12);
    ASSERT_GE(crosses.size(), 4u) << "three crosses and the record dot";
    const CPoint ptDeleteAll = crosses[1].CenterPoint() + origin;
    ASSERT_LT(ptDeleteAll.x, ptInfo.x);

    // Record with the recorder's own button: the Files tab stays in front.
    const int nRows = ListCount(hList);
    const std::vector<std::u16string> profiles = ComboItems(hProfiles);
    ASSERT_FALSE(profiles.empty());
    ClickChild(ChildById(m_hMain, kRecordButton));
    ASSERT_TRUE(WaitUntil(
        [&] { return ListCount(hList) == nRows + 1 && ListItemText(hList, nRows, 4) == u"Recording"; },
        20000));
    const std::u16string strFile = ListItemText(hList, nRows, 1);
    EXPECT_EQ(u"Record-000.mp3", strFile);

    // The program takes clicks in the order they came, and what a click
    // acts on (a question box, a tab, the format) it changes before the
    // next is taken: each click that must change nothing is followed by one
    // whose effect shows. Delete All Files, then the Formats tab (which
    // shows Stop while recording): it asks nothing and keeps the rows.
    ClickFromAway(ptDeleteAll);
    ClickFromAway(rcFormatsTab.CenterPoint());
    CPoint ptStop, pt;
    ASSERT_TRUE(WaitUntil([&] { return FindIcon(kStopSquare, &ptStop) || !OtherWindows().empty(); }, 20000))
        << "the Formats tab did not open";
    ASSERT_EQ(u"", OtherWindows()) << "a file command acted while recording";
    EXPECT_EQ(nRows + 1, ListCount(hList));

    // M4A, then the Files tab, then Stop: once Record is back, the Formats
    // tab still in front, M4A kept the format (the profiles are MP3's
    // still) and the Files tab did not open.
    ClickFromAway(ptM4A);
    ClickFromAway(ptFilesTab);
    ClickFromAway(ptStop);
    ASSERT_TRUE(WaitUntil([&] { return FindIcon(kRecordDot, &pt) || !OtherWindows().empty(); }, 20000))
        << "the recording did not stop";
    EXPECT_EQ(u"", OtherWindows());
    EXPECT_TRUE(FindIcon(kM4AFace, &pt)) << "the Files tab opened while recording";
    EXPECT_FALSE(FindIcon(kInfoFace, &pt));
    EXPECT_EQ(profiles, ComboItems(hProfiles)) << "a format button acted while recording";

    // Stopped, the recording is the one file it was, an MP3, and listed.
    ASSERT_EQ(nRows + 1, ListCount(hList));
    EXPECT_EQ(strFile, ListItemText(hList, nRows, 1));
    EXPECT_EQ(u"", ListItemText(hList, nRows, 4));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(W(std::u16string(kOutputFolder) + strFile)));

    AltF4(m_hMain);
    EXPECT_TRUE(m_program.WaitForExit(20000));
}

// The job reads its source in blocks and reports once a second; from a
// device that delivers next to nothing (a frame now and then, never a
// block), its read waits, and the job neither reports nor fails. The window
// answers while it waits: the new row is read, and a click on the volume
// slider taken. Once the device delivers nothing at all, it counts as lost
// and the job reports the failure in a box.
TEST_F(MainRoadRecordingWindow, AJobWaitingForSoundStillAnswersAndTakesClicks)
{
    FedSound sparse("sondrel_sparse_" + std::to_string(::GetCurrentProcessId()), "SondrelSparse");
    ASSERT_TRUE(sparse.Running());
    StartProgram();
    HWND hList = ChildById(m_hMain, kFileList);
    HWND hDevices = ChildById(m_hMain, kDevices);
    HWND hVolume = ChildById(m_hMain, kVolume);
    ASSERT_NE(nullptr, hList);
    ASSERT_NE(nullptr, hDevices);
    ASSERT_NE(nullptr, hVolume);

    // The sparse device chosen by keys.
    ASSERT_NO_FATAL_FAILURE(ChooseDevice(hDevices, u"SondrelSparse"));

    const int nRows = ListCount(hList);
    ClickChild(ChildById(m_hMain, kRecordButton));
    ASSERT_TRUE(WaitUntil([&] { return sparse.Streams() == 1; }, 20000)) << "nothing records from the device";
    sparse.StartTrickle();
    ASSERT_TRUE(WaitUntil(
        [&] { return ListCount(hList) == nRows + 1 && ListItemText(hList, nRows, 4) == u"Recording"; },
        20000));
    EXPECT_EQ(u"", OtherWindows()) << "the window answered only once the job had failed";

    // A click on the volume slider gives it the keyboard focus.
    const auto focus = [&] {
        GUITHREADINFO info = {sizeof(info)};
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(m_hMain, nullptr), &info) ? info.hwndFocus
                                                                                       : nullptr;
    };
    ASSERT_NE(hVolume, focus());
    CRect rcVolume;
    ::GetWindowRect(hVolume, &rcVolume);
    ClickFromAway(CPoint(rcVolume.right - 12, rcVolume.top + 10));
    EXPECT_TRUE(WaitUntil([&] { return focus() == hVolume; }, 10000));
    EXPECT_EQ(u"", OtherWindows()) << "the click was taken only once the job had failed";

    // A lost device ends in the job's error box; No ends the recording.
    sparse.Silence();
    HWND hError = WaitForWindow(m_program.Id(), u"Error", 30000);
    ASSERT_NE(nullptr, hError);
    ClickChild(ChildById(hError, IDNO));
    CPoint pt;
    EXPECT_TRUE(WaitUntil([&] { return FindIcon(kRecordDot, &pt); }, 15000));
    AltF4(m_hMain);
    EXPECT_TRUE(m_program.WaitForExit(20000));
}
