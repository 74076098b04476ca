// The recorder's main road as a user walks it: Sondrel started as a program
// of its own in a prefix where it never ran, driven only by real input on
// what the screen shows (ribbon buttons found by their icons, controls by
// their ids), and judged by screenshots, window texts, the files it writes
// (ffprobe) and the sound server (pactl). The cases run in order and share
// the program's settings, as one user's day would.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "url_catcher.h"

using namespace mainroad;

namespace {

const char16_t kRecordingsFolder[] = u"C:\\mainroad-recordings\\";

// Control ids of the recording dialog besides the common ones.
const int kSplitCheck = 1233;
const int kSplitValue = 1230;
// Controls of the about box.
const int kAboutText = 1136;
const int kAboutLicense = 1133;
const int kAboutSupportLink = 1222;
const int kAboutSiteLink = 1223;
const int kAboutDonate = 1132;
const int kAboutClose = 1130;
const char16_t kEnvironmentKey[] = u"System\\CurrentControlSet\\Control\\Session Manager\\Environment";

// A colour of a scheme INI of the sources, "R G B" after "Key = ".
COLORREF SchemeColour(const char* file, const std::string& key)
{
    FILE* f = fopen((std::string(SONDREL_SCHEMES_DIR) + "/" + file).c_str(), "rb");
    if (!f)
        return CLR_INVALID;
    char line[512];
    COLORREF clr = CLR_INVALID;
    while (fgets(line, sizeof line, f))
    {
        int r, g, b;
        if (std::string(line).rfind(key + " = ", 0) == 0 &&
            sscanf(line + key.size() + 3, "%d %d %d", &r, &g, &b) == 3)
        {
            clr = RGB(r, g, b);
            break;
        }
    }
    fclose(f);
    return clr;
}

// The main window: the visible window captioned "Sondrel".
HWND WaitForMainWindow(const SondrelProcess& program)
{
    return WaitForWindow(program.Id(), u"Sondrel", 60000);
}

}  // namespace

class MainRoad : public ::testing::Test
{
public:
    // The first start is still to come: it shows the about box.
    static void SetUpTestSuite() { ResetProgramSettings(kRecordingsFolder, false); }

protected:
    // Closes the program with Alt+F4 and waits for it to end.
    void CloseProgram(SondrelProcess& program, HWND hMain)
    {
        AltF4(hMain);
        EXPECT_TRUE(program.WaitForExit(20000));
    }
};

TEST_F(MainRoad, TheFirstStartOpensTheAboutBoxWithItsTextsAndLinks)
{
    // A processor name that a careless mail link would cut or garble.
    const std::u16string strProcessor = u"Intel64 & Co #5 100% + caf\u00e9";
    HKEY hEnvironment = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(kEnvironmentKey), 0, nullptr, 0,
                                               KEY_WRITE, nullptr, &hEnvironment, nullptr));
    ::RegSetValueExW(hEnvironment, u"PROCESSOR_IDENTIFIER", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(strProcessor.c_str()),
                     static_cast<DWORD>((strProcessor.size() + 1) * sizeof(char16_t)));
    ::RegCloseKey(hEnvironment);
    const std::u16string strLog = urlcatcher::RegisterUrlCatcher(u"C:\\mainroad-urls.log");

    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = WaitForMainWindow(program);
    ASSERT_NE(nullptr, hMain);
    HWND hAbout = WaitForWindow(program.Id(), u"About Sondrel", 10000);
    ASSERT_NE(nullptr, hAbout);
    Wait(500);

    // The description first, the licence on request.
    HWND hText = ChildById(hAbout, kAboutText);
    ASSERT_NE(nullptr, hText);
    const std::u16string strDescription = Text(hText);
    EXPECT_EQ(0u, strDescription.find(u"Sondrel records sound")) << Narrow(strDescription.substr(0, 60));
    ClickChild(ChildById(hAbout, kAboutLicense));
    Wait(300);
    const std::u16string strLicence = Text(hText);
    EXPECT_FALSE(strLicence.empty());
    EXPECT_NE(strDescription, strLicence);

    // The support link turns red over its text, not beside it, where a
    // click sends nothing.
    HWND hSupport = ChildById(hAbout, kAboutSupportLink);
    ASSERT_NE(nullptr, hSupport);
    CRect rcSupport;
    ::GetWindowRect(hSupport, &rcSupport);
    const CPoint ptOnText(rcSupport.left + 8, rcSupport.CenterPoint().y);
    const CPoint ptBeside(rcSupport.right - 3, rcSupport.CenterPoint().y);
    MouseMoveTo(ptBeside);
    Wait(300);
    int nRed = 0;
    FindColour(*Shot(hSupport), CRect(0, 0, rcSupport.Width(), rcSupport.Height()), RGB(255, 0, 0), 0, 1,
               nullptr, &nRed);
    EXPECT_EQ(0, nRed);
    ClickAt(ptBeside);
    Wait(1500);
    EXPECT_TRUE(urlcatcher::CaughtUrls(strLog).empty());
    MouseMoveTo(ptOnText);
    Wait(300);
    FindColour(*Shot(hSupport), CRect(0, 0, rcSupport.Width(), rcSupport.Height()), RGB(255, 0, 0), 0, 1,
               nullptr, &nRed);
    EXPECT_GT(nRed, 10);
    ClickAt(ptOnText);
    std::vector<std::string> urls = urlcatcher::WaitForCaughtUrls(strLog, 1);
    ASSERT_EQ(1u, urls.size());
    EXPECT_EQ(0u, urls[0].find("mailto:"));
    const std::string strMail = urlcatcher::PercentDecode(urls[0]);
    EXPECT_NE(std::string::npos, strMail.find("subject=")) << strMail;
    EXPECT_NE(std::string::npos, strMail.find("Windows 7")) << strMail;
    EXPECT_NE(std::string::npos, strMail.find("Intel64 & Co #5 100% + caf\xc3\xa9")) << strMail;
    EXPECT_NE(std::string::npos, strMail.find("emory")) << strMail;

    // The site link and Donate hand over their addresses; Close ends the box.
    ClickChild(ChildById(hAbout, kAboutSiteLink));
    urls = urlcatcher::WaitForCaughtUrls(strLog, 2);
    ASSERT_EQ(2u, urls.size());
    EXPECT_EQ(0u, urls[1].find("http")) << urls[1];
    ClickChild(ChildById(hAbout, kAboutDonate));
    urls = urlcatcher::WaitForCaughtUrls(strLog, 3);
    ASSERT_EQ(3u, urls.size());
    EXPECT_EQ(0u, urls[2].find("http")) << urls[2];
    ClickChild(ChildById(hAbout, kAboutClose));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(hAbout); }, 5000));
    CloseProgram(program, hMain);
}

TEST_F(MainRoad, TheSecondStartShowsNoAboutBoxTheTabRowInItsSchemeAndNeverClosesOnEscapeOrEnter)
{
    // The second start: no about box.
    SondrelProcess second;
    ASSERT_TRUE(second.Start());
    HWND hMain = WaitForMainWindow(second);
    ASSERT_NE(nullptr, hMain);
    Wait(1500);
    EXPECT_EQ(1u, VisibleWindows(second.Id()).size());

    // The tab row shows the default (black) scheme's ribbon face, and the
    // Formats tab, the second, stands out in the highlight of the selection.
    const COLORREF clrFace = SchemeColour("Office2007Black.ini", "RibbonFace");
    auto shot = Shot(hMain);
    int nRow = -1;
    for (int y = 0; y < std::min(shot->Height(), 120) && nRow < 0; ++y)
    {
        int nFace = 0;
        for (int x = 0; x < shot->Width(); ++x)
            nFace += shot->At(x, y) == clrFace;
        if (nFace > shot->Width() / 2)
            nRow = y;
    }
    ASSERT_GE(nRow, 0) << "no row of the ribbon face";
    // The selected tab: orange highlight within the first third of the row.
    CPoint ptSelected;
    ASSERT_TRUE(FindColour(*shot, CRect(0, nRow, shot->Width() / 3, nRow + 24), RGB(255, 190, 110), 40, 30,
                           &ptSelected));
    // Right of the first tab ("Files") and left of the third ("Help").
    EXPECT_GT(ptSelected.x, 45);
    EXPECT_LT(ptSelected.x, 150);

    ::SetForegroundWindow(hMain);
    Wait(100);
    Key(VK_ESCAPE);
    Key(VK_RETURN);
    Wait(500);
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(::IsWindowVisible(hMain));
    CloseProgram(second, hMain);
}

// The recording walk. While Sondrel records, its window answers only when
// the job pumps (at its report once a second, and every 50 ms while it
// waits for sound): the walk asks it for no more than it needs then.
class MainRoadRecording : public MainRoad
{
public:
    // The user of the first cases goes on: same settings and folder.
    static void SetUpTestSuite() {}

protected:
    void StartProgram()
    {
        ASSERT_TRUE(m_program.Start());
        m_hMain = ShowMainWindow(m_program);
        ASSERT_NE(nullptr, m_hMain);
        m_hList = ChildById(m_hMain, kFileList);
        ASSERT_NE(nullptr, m_hList);
    }
    // Record clicked on the ribbon; true once the job's row says
    // "Recording". The time of the click goes to dwStarted.
    bool StartRecording(DWORD* pdwStarted)
    {
        const int nBefore = ListCount(m_hList);
        CPoint ptRecord;
        if (!FindRibbonIcon(m_hMain, kRecordDot, &ptRecord))
            return false;
        ClickAt(ptRecord);
        *pdwStarted = ::GetTickCount();
        return WaitUntil(
            [&] { return ListCount(m_hList) > nBefore && ListItemText(m_hList, nBefore, 4) == u"Recording"; },
            15000);
    }
    // Stop clicked on its icon once the recording is the given age; true
    // once Record is back. The age at the click goes to pnStoppedAt.
    bool StopRecordingAt(DWORD dwStarted, DWORD dwAge, DWORD* pdwStoppedAt = nullptr)
    {
        CPoint ptStop;
        if (!WaitForStopButton(&ptStop))
            return false;
        WaitUntil([&] { return ::GetTickCount() - dwStarted >= dwAge; }, dwAge + 1000);
        ClickAt(ptStop);
        if (pdwStoppedAt)
            *pdwStoppedAt = ::GetTickCount() - dwStarted;
        return WaitForRecordButton();
    }
    // The ribbon is painted again when the job next pumps.
    bool WaitForStopButton(CPoint* pt, CRect* prcIcon = nullptr)
    {
        return WaitUntil([&] { return FindRibbonIcon(m_hMain, kStopSquare, pt, prcIcon); }, 5000);
    }
    bool WaitForRecordButton()
    {
        CPoint pt;
        return WaitUntil([&] { return FindRibbonIcon(m_hMain, kRecordDot, &pt); }, 15000);
    }
    // The program's open popup bar (a menu), if any.
    HWND FindPopupBar()
    {
        const std::vector<HWND> bars = VisibleWindowsOfClass(m_program.Id(), u"QVTPopupBar");
        return bars.empty() ? nullptr : bars.front();
    }
    std::string Probe(const std::u16string& strName)
    {
        return ProbeFile(std::u16string(kRecordingsFolder) + strName,
                         "format=format_name,duration:stream=sample_rate,channels");
    }

    SondrelProcess m_program;
    HWND m_hMain = nullptr;
    HWND m_hList = nullptr;
};

TEST_F(MainRoadRecording, RecordFromTheRibbonStopPlayAndRecordTheNextNumber)
{
    StartProgram();
    const int nBefore = ListCount(m_hList);

    DWORD dwStarted = 0;
    ASSERT_TRUE(StartRecording(&dwStarted));
    // The row's time advances; device and profile choice are off meanwhile.
    const std::u16string strFirstTime = ListItemText(m_hList, nBefore, 3);
    EXPECT_TRUE(WaitUntil([&] { return ListItemText(m_hList, nBefore, 3) != strFirstTime; }, 4000))
        << Narrow(strFirstTime);
    EXPECT_FALSE(::IsWindowEnabled(ChildById(m_hMain, kDevices)));
    EXPECT_FALSE(::IsWindowEnabled(ChildById(m_hMain, kProfiles)));
    // Stop stands where Record stood.
    CPoint pt;
    EXPECT_FALSE(FindRibbonIcon(m_hMain, kRecordDot, &pt));

    // Stop after 5 s ends the job: no completion box, Record-000.mp3 listed.
    DWORD dwStoppedAt = 0;
    ASSERT_TRUE(StopRecordingAt(dwStarted, 5000, &dwStoppedAt));
    Wait(1000);
    EXPECT_EQ(u"", OtherWindows(m_program.Id(), m_hMain));
    ASSERT_EQ(nBefore + 1, ListCount(m_hList));
    EXPECT_EQ(u"Record-000.mp3", ListItemText(m_hList, nBefore, 1));
    EXPECT_EQ(u"", ListItemText(m_hList, nBefore, 4));

    // MP3 at the profile's 44100 Hz stereo, as long as the recording ran.
    // The job takes the stop at its next report, after the block of sound it
    // is writing, and the test server's tone comes in blocks of two seconds:
    // the file ends within a block of the click.
    const std::string strProbe = Probe(u"Record-000.mp3");
    EXPECT_NE(std::string::npos, strProbe.find("format_name=mp3")) << strProbe;
    EXPECT_NE(std::string::npos, strProbe.find("sample_rate=44100")) << strProbe;
    EXPECT_NE(std::string::npos, strProbe.find("channels=2")) << strProbe;
    const double dDuration = ProbedSeconds(strProbe);
    EXPECT_NEAR(dwStoppedAt / 1000.0, dDuration, 2.5) << strProbe;

    // The row clicked and Ctrl+P: it plays on the null sink, then clears.
    const CRect rcRow = ListRowRect(m_hList, nBefore);
    ASSERT_FALSE(rcRow.IsRectEmpty());
    ClickAt(CPoint(rcRow.left + 60, rcRow.CenterPoint().y));
    KeyChord(VK_CONTROL, 'P');
    EXPECT_TRUE(
        WaitUntil([&] { return ListItemText(m_hList, nBefore, 4).rfind(u"Playing: 00:0", 0) == 0; }, 5000))
        << Narrow(ListItemText(m_hList, nBefore, 4));
    // Streams on the null sink (the second column of a sink input is its sink).
    EXPECT_NE("0", CommandOutput("pactl list short sink-inputs | awk -v sink=$(pactl list short sinks | awk "
                                 "'$2==\"sondrel_sink\"{print $1}') '$2==sink{n++} END{printf n+0}'"));
    EXPECT_TRUE(
        WaitUntil([&] { return ListItemText(m_hList, nBefore, 4).find(u"Playing") == std::u16string::npos; },
                  (static_cast<DWORD>(dDuration) + 5) * 1000));

    // The next recording takes the next number. This one is stopped from
    // Stop's menu, which its caption opens: the menu shows its item (a
    // corner shadow once hid it behind a black box) and the item stops.
    ASSERT_TRUE(StartRecording(&dwStarted));
    CRect rcIcon;
    ASSERT_TRUE(WaitForStopButton(&pt, &rcIcon));
    WaitUntil([&] { return ::GetTickCount() - dwStarted >= 3000; }, 4000);
    ClickAt(CPoint(rcIcon.CenterPoint().x, rcIcon.bottom + 12));
    HWND hMenu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hMenu = FindPopupBar()) != nullptr; }, 5000));
    // It is painted when the job next pumps.
    CRect rcMenu;
    CPoint ptItem;
    ASSERT_TRUE(WaitUntil(
        [&] {
            auto shot = Shot(hMenu, &rcMenu);
            return FindColourPatch(*shot, CRect(0, 0, rcMenu.Width(), rcMenu.Height()), kStopSquare, 6, 20,
                                   &ptItem);
        },
        8000));
    ClickAt(rcMenu.TopLeft() + ptItem);
    ASSERT_TRUE(WaitForRecordButton());
    Wait(500);
    EXPECT_EQ(nBefore + 2, ListCount(m_hList));
    EXPECT_EQ(u"Record-001.mp3", ListItemText(m_hList, nBefore + 1, 1));
    CloseProgram(m_program, m_hMain);
}

TEST_F(MainRoadRecording, M4AFromTheRibbonAndASplitByTenSecondsGiveTheirFilesAndARestartListsThem)
{
    StartProgram();
    const int nBefore = ListCount(m_hList);

    // M4A chosen on the ribbon records an M4A file.
    CPoint ptM4A;
    ASSERT_TRUE(FindRibbonIcon(m_hMain, kM4AFace, &ptM4A));
    ClickAt(ptM4A);
    Wait(500);
    DWORD dwStarted = 0;
    ASSERT_TRUE(StartRecording(&dwStarted));
    ASSERT_TRUE(StopRecordingAt(dwStarted, 3000));
    Wait(500);
    ASSERT_EQ(nBefore + 1, ListCount(m_hList));
    EXPECT_EQ(u"Record-000.m4a", ListItemText(m_hList, nBefore, 1));
    const std::string strM4A = Probe(u"Record-000.m4a");
    EXPECT_NE(std::string::npos, strM4A.find("format_name=mov,mp4,m4a")) << strM4A;

    // Split by 10 s, chosen on the recorder's controls: "Split file:" turns
    // splitting on by duration, and the first duration is 10 s.
    HWND hSplit = ChildById(m_hMain, kSplitCheck);
    HWND hSplitValue = ChildById(m_hMain, kSplitValue);
    ASSERT_NE(nullptr, hSplit);
    ASSERT_NE(nullptr, hSplitValue);
    CRect rcSplit;
    ::GetWindowRect(hSplit, &rcSplit);
    ClickAt(CPoint(rcSplit.left + 6, rcSplit.CenterPoint().y));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(hSplitValue) != FALSE; }, 3000));
    ClickChild(hSplitValue);
    Key(VK_HOME);
    Key(VK_RETURN);
    EXPECT_EQ(u"10 sec", Text(hSplitValue));

    // 25 s give three files: two of 10 s, cut at the markers, and the rest.
    ASSERT_TRUE(StartRecording(&dwStarted));
    DWORD dwStoppedAt = 0;
    ASSERT_TRUE(StopRecordingAt(dwStarted, 25000, &dwStoppedAt));
    Wait(500);
    ASSERT_EQ(nBefore + 4, ListCount(m_hList));
    const char16_t* names[] = {u"Record-001.m4a", u"Record-002.m4a", u"Record-003.m4a"};
    double dTotal = 0;
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(names[i], ListItemText(m_hList, nBefore + 1 + i, 1));
        const std::string strProbe = Probe(names[i]);
        const double dDuration = ProbedSeconds(strProbe);
        if (i < 2)
        {
            EXPECT_NEAR(10.0, dDuration, 0.3) << strProbe;
        }
        dTotal += dDuration;
    }
    EXPECT_NEAR(dwStoppedAt / 1000.0, dTotal, 2.5);

    // A restart lists the recordings.
    CloseProgram(m_program, m_hMain);
    SondrelProcess again;
    ASSERT_TRUE(again.Start());
    HWND hMain = WaitForMainWindow(again);
    ASSERT_NE(nullptr, hMain);
    Wait(1500);
    EXPECT_EQ(static_cast<size_t>(nBefore + 4), FileListRows(hMain).size());
    CloseProgram(again, hMain);
}
