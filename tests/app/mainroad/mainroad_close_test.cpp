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

// Control ids of the recording dialog.
const int kFileList = 1017;
const int kDevices = 1002;

// The colour of the ribbon's Record icon (tools/mainwindowimages).
const COLORREF kRecordDot = RGB(220, 30, 30);

std::string Ascii(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

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
    probe.strOutput = ShellOutput("ffprobe -v error -show_entries format=format_name,duration -of "
                                  "default=noprint_wrappers=1 '" +
                                  UnixPath(std::u16string(kOutputFolder) + strName) + "' 2>&1");
    const size_t nFormat = probe.strOutput.find("format_name=");
    if (nFormat != std::string::npos)
        probe.strFormat =
            probe.strOutput.substr(nFormat + 12, probe.strOutput.find('\n', nFormat) - nFormat - 12);
    const size_t nDuration = probe.strOutput.find("duration=");
    if (nDuration != std::string::npos)
        probe.dSeconds = std::atof(probe.strOutput.c_str() + nDuration + 9);
    return probe;
}

// "mm:ss" in seconds.
int Seconds(const std::u16string& strTime)
{
    int nMinutes = 0, nSeconds = 0;
    if (std::sscanf(Ascii(strTime).c_str(), "%d:%d", &nMinutes, &nSeconds) != 2)
        return -1;
    return nMinutes * 60 + nSeconds;
}

// A sine source of the test's own on the shared sound server, which it may
// take away without disturbing the other test programs' recordings.
class OwnSineSource
{
public:
    static constexpr const char16_t* kDescription = u"SondrelCloseVanishing";

    OwnSineSource()
    {
        const std::string out = ShellOutput(
            "pactl load-module module-sine-source source_name=sondrel_close_vanishing rate=44100 "
            "frequency=770 source_properties=device.description=SondrelCloseVanishing 2>/dev/null");
        m_nModule = std::atoi(out.c_str());
    }
    ~OwnSineSource() { Unload(); }
    bool Loaded() const { return m_nModule > 0; }
    // Whether a stream records from it.
    bool Recorded() const
    {
        const std::string out =
            ShellOutput("i=$(pactl list sources short | awk '$2==\"sondrel_close_vanishing\"{print $1}'); "
                        "[ -n \"$i\" ] && pactl list source-outputs short | awk -v i=\"$i\" '$2==i' | wc -l");
        return std::atoi(out.c_str()) > 0;
    }
    void Unload()
    {
        if (m_nModule > 0)
            ShellOutput("pactl unload-module " + std::to_string(m_nModule) + " 2>&1");
        m_nModule = 0;
    }

private:
    int m_nModule = 0;
};

class MainRoadClose : public ::testing::Test
{
public:
    static void SetUpTestSuite() { ResetProgramSettings(kOutputFolder); }

protected:
    HWND StartProgram(SondrelProcess& program)
    {
        if (!program.Start())
            return nullptr;
        HWND hMain = WaitForWindow(program.Id(), u"Sondrel", 60000);
        Wait(1500);
        if (hMain)
            ::SetForegroundWindow(hMain);
        return hMain;
    }
    // The process's visible dialogs (the main window and message boxes),
    // without the tips that follow the pointer.
    std::vector<HWND> Dialogs(const SondrelProcess& program)
    {
        std::vector<HWND> dialogs;
        for (HWND hWnd : VisibleWindows(program.Id()))
        {
            WCHAR name[16] = {};
            ::GetClassNameW(hWnd, name, 16);
            if (std::u16string(reinterpret_cast<const char16_t*>(name)) == u"#32770")
                dialogs.push_back(hWnd);
        }
        return dialogs;
    }
    std::vector<std::vector<std::u16string>> Rows(HWND hMain)
    {
        HWND hList = ChildById(hMain, kFileList);
        return hList ? ListRows(hList, 5) : std::vector<std::vector<std::u16string>>();
    }
    // A text of the list's last row, read without the rest of the list.
    std::u16string LastRow(HWND hMain, int nColumn)
    {
        HWND hList = ChildById(hMain, kFileList);
        const int nCount = hList ? static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)) : 0;
        return nCount > 0 ? ListItemText(hList, nCount - 1, nColumn) : std::u16string();
    }
    // Clicks Record on the ribbon (noting when) and waits for the new row
    // to record.
    void StartRecording(HWND hMain, size_t nRowsBefore, DWORD* pdwClicked = nullptr)
    {
        CPoint ptRecord;
        ASSERT_TRUE(FindRibbonColour(hMain, kRecordDot, &ptRecord));
        if (pdwClicked)
            *pdwClicked = ::GetTickCount();
        ClickAt(ptRecord);
        HWND hList = ChildById(hMain, kFileList);
        ASSERT_NE(nullptr, hList);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return static_cast<size_t>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)) > nRowsBefore &&
                       LastRow(hMain, 4) == u"Recording";
            },
            10000));
    }
    // The last row's time once it has moved past the given seconds.
    bool WaitForRecordedTime(HWND hMain, int nSeconds, DWORD dwTimeout)
    {
        return WaitUntil([&] { return Seconds(LastRow(hMain, 3)) > nSeconds; }, dwTimeout);
    }
    // Alt+F4 on the main window, as a user closes it without a frame.
    void AltF4(HWND hMain)
    {
        ::SetForegroundWindow(hMain);
        Wait(100);
        KeyChord(VK_MENU, VK_F4);
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
                auto rows = Rows(hMain);
                return static_cast<int>(rows.size()) > nRow && rows[nRow][4].rfind(u"Playing: 00:0", 0) == 0;
            },
            5000);
    }
};

}  // namespace

TEST_F(MainRoadClose, ClosingWhileRecordingAsksFirstNoGoesOnAndYesEndsWithTheWholeFile)
{
    SondrelProcess program;
    HWND hMain = StartProgram(program);
    ASSERT_NE(nullptr, hMain);
    ASSERT_TRUE(Rows(hMain).empty());
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
    auto rows = Rows(hMain);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(u"Record-000.mp3", rows[0][1]);
    EXPECT_EQ(u"", rows[0][4]);
    EXPECT_GT(Seconds(rows[0][3]), 2) << Ascii(rows[0][3]);
    EXPECT_TRUE(PlaysFromTheList(hMain, 0)) << Ascii(Rows(hMain)[0][4]);
    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}

TEST_F(MainRoadClose, ADeviceThatGoesAwayWhileRecordingShowsAnErrorNoCompletionAndKeepsAPlayableFile)
{
    OwnSineSource source;
    ASSERT_TRUE(source.Loaded());
    SondrelProcess program;
    HWND hMain = StartProgram(program);
    ASSERT_NE(nullptr, hMain);
    const size_t nRowsBefore = Rows(hMain).size();

    // The test's own source chosen in the device list by keys.
    HWND hDevices = ChildById(hMain, kDevices);
    ASSERT_NE(nullptr, hDevices);
    const std::vector<std::u16string> devices = ComboItems(hDevices);
    const auto found = std::find(devices.begin(), devices.end(), OwnSineSource::kDescription);
    ASSERT_NE(devices.end(), found);
    const int nDevice = static_cast<int>(found - devices.begin());
    ClickChild(hDevices);
    Key(VK_HOME);
    for (int i = 0; i < nDevice; ++i)
        Key(VK_DOWN);
    Key(VK_RETURN);
    Wait(300);
    ASSERT_EQ(nDevice, ::SendMessageW(hDevices, CB_GETCURSEL, 0, 0));

    StartRecording(hMain, nRowsBefore);
    ASSERT_TRUE(WaitForRecordedTime(hMain, 1, 10000));
    ASSERT_TRUE(source.Recorded()) << "the chosen device is not the one recorded";
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
    EXPECT_TRUE(WaitUntil([&] { return FindRibbonColour(hMain, kRecordDot, &ptRecord); }, 15000))
        << "the job did not end";
    Wait(1500);
    EXPECT_EQ(nullptr, WaitForWindow(program.Id(), u"Information", 100));
    EXPECT_EQ(1u, Dialogs(program).size());

    // What was recorded is kept, listed, and plays.
    auto rows = Rows(hMain);
    ASSERT_EQ(nRowsBefore + 1, rows.size());
    const std::u16string strName = rows.back()[1];
    EXPECT_EQ(u"", rows.back()[4]);
    const Probe probe = ProbeRecording(strName);
    EXPECT_EQ("mp3", probe.strFormat) << probe.strOutput;
    EXPECT_GT(probe.dSeconds, 0.9) << probe.strOutput;
    EXPECT_TRUE(PlaysFromTheList(hMain, static_cast<int>(nRowsBefore))) << Ascii(Rows(hMain)[nRowsBefore][4]);
    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}
