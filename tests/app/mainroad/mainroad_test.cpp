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

const char16_t kSettingsKey[] = u"Software\\Quorvane\\Sondrel";
const char16_t kRecordingsFolder[] = u"C:\\mainroad-recordings\\";

// Control ids of the recording dialog.
const int kFileList = 1017;
const int kProfiles = 1011;
const int kDevices = 1002;
const int kRecordButton = 1023;
// Controls of the about box.
const int kAboutText = 1136;
const int kAboutLicense = 1133;
const int kAboutSupportLink = 1222;
const int kAboutSiteLink = 1223;
const int kAboutDonate = 1132;
const int kAboutClose = 1130;
const char16_t kEnvironmentKey[] = u"System\\CurrentControlSet\\Control\\Session Manager\\Environment";

// Colours of the ribbon's images (tools/mainwindowimages).
const COLORREF kRecordDot = RGB(220, 30, 30);
const COLORREF kStopSquare = RGB(40, 44, 52);
const COLORREF kM4AFace = RGB(0, 170, 140);

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

std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

void DeleteSettings()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, W(kSettingsKey));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(kSettingsKey));
}

void SetOutputFolder(const std::u16string& folder)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, W(kSettingsKey), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, u"DstFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
    ::RegCloseKey(key);
}

// The main window: the visible window captioned "Sondrel".
HWND WaitForMainWindow(const SondrelProcess& program)
{
    return WaitForWindow(program.Id(), u"Sondrel", 60000);
}

class MainRoad : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        DeleteSettings();
        ShellOutput("rm -rf '" + UnixPath(kRecordingsFolder) + "'");
        ::CreateDirectoryW(W(kRecordingsFolder), nullptr);
        // The shell's folder browser finds a folder only after its first read.
        ::GetFileAttributesW(W(kRecordingsFolder));
        SetOutputFolder(kRecordingsFolder);
    }

protected:
    // A screenshot of the main window and the point of a ribbon icon's
    // colour on the screen.
    bool FindRibbonIcon(HWND hMain, COLORREF clr, CPoint* pScreen)
    {
        CRect rcScreen;
        auto shot = Shot(hMain, &rcScreen);
        // The ribbon fills the window's top.
        CRect area(0, 0, shot->Width(), std::min(shot->Height(), 220));
        CPoint pt;
        if (!FindColour(*shot, area, clr, 6, 60, &pt))
            return false;
        *pScreen = CPoint(rcScreen.left + pt.x, rcScreen.top + pt.y);
        return true;
    }
    void ClickRibbonIcon(HWND hMain, COLORREF clr)
    {
        CPoint pt;
        ASSERT_TRUE(FindRibbonIcon(hMain, clr, &pt));
        ClickAt(pt);
    }
    std::vector<std::vector<std::u16string>> Rows(HWND hMain)
    {
        HWND hList = ChildById(hMain, kFileList);
        return hList ? ListRows(hList, 5) : std::vector<std::vector<std::u16string>>();
    }
    // Closes the program with Alt+F4 and waits for it to end.
    void CloseProgram(SondrelProcess& program, HWND hMain)
    {
        ::SetForegroundWindow(hMain);
        Wait(100);
        KeyChord(VK_MENU, VK_F4);
        EXPECT_TRUE(program.WaitForExit(20000));
    }
};

}  // namespace

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

// Waits for the recording job and the file list of the recording dialog:
// enabled when both exist.
TEST_F(MainRoad, DISABLED_RecordFromTheRibbonStopPlayAndRecordAgain)
{
    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = WaitForMainWindow(program);
    ASSERT_NE(nullptr, hMain);
    Wait(1500);
    ::SetForegroundWindow(hMain);
    const size_t nRowsBefore = Rows(hMain).size();

    CPoint ptRecord;
    ASSERT_TRUE(FindRibbonIcon(hMain, kRecordDot, &ptRecord));
    ClickAt(ptRecord);
    const DWORD dwStarted = ::GetTickCount();
    // A "Recording" row whose time advances.
    ASSERT_TRUE(WaitUntil(
        [&] {
            auto rows = Rows(hMain);
            return rows.size() > nRowsBefore && rows.back()[4] == u"Recording";
        },
        10000));
    const std::u16string strFirstTime = Rows(hMain).back()[3];
    Wait(1500);
    EXPECT_NE(strFirstTime, Rows(hMain).back()[3]);
    // Device and profile choice are off while it records.
    EXPECT_FALSE(::IsWindowEnabled(ChildById(hMain, kDevices)));
    EXPECT_FALSE(::IsWindowEnabled(ChildById(hMain, kProfiles)));
    // Stop stands where Record stood.
    CPoint ptNow;
    EXPECT_FALSE(FindRibbonIcon(hMain, kRecordDot, &ptNow));
    CPoint ptStop;
    ASSERT_TRUE(FindRibbonIcon(hMain, kStopSquare, &ptStop));

    WaitUntil([&] { return ::GetTickCount() - dwStarted >= 5000; }, 10000);
    ClickAt(ptStop);
    ASSERT_TRUE(WaitUntil([&] { return FindRibbonIcon(hMain, kRecordDot, &ptNow); }, 10000));
    Wait(800);
    // No completion box.
    EXPECT_EQ(1u, VisibleWindows(program.Id()).size());
    auto rows = Rows(hMain);
    ASSERT_EQ(nRowsBefore + 1, rows.size());
    EXPECT_EQ(u"Record-000.mp3", rows.back()[1]);

    const std::string strProbe = ShellOutput(
        "ffprobe -v error -show_entries format=format_name,duration:stream=sample_rate,channels -of "
        "default=noprint_wrappers=1 '" +
        UnixPath(std::u16string(kRecordingsFolder) + u"Record-000.mp3") + "' 2>&1");
    EXPECT_NE(std::string::npos, strProbe.find("format_name=mp3")) << strProbe;
    EXPECT_NE(std::string::npos, strProbe.find("sample_rate=44100")) << strProbe;
    EXPECT_NE(std::string::npos, strProbe.find("channels=2")) << strProbe;
    const size_t at = strProbe.find("duration=");
    ASSERT_NE(std::string::npos, at) << strProbe;
    EXPECT_NEAR(5.0, std::atof(strProbe.c_str() + at + 9), 0.5) << strProbe;

    // The row clicked and Ctrl+P: it plays on the sound server, then clears.
    HWND hList = ChildById(hMain, kFileList);
    ASSERT_NE(nullptr, hList);
    CRect rcList;
    ::GetWindowRect(hList, &rcList);
    std::vector<HWND> headers = Descendants(hList, u"SysHeader32");
    CRect rcHeader(rcList.left, rcList.top, rcList.right, rcList.top);
    if (!headers.empty())
        ::GetWindowRect(headers.front(), &rcHeader);
    const int nRowHeight = 17;
    ClickAt(CPoint(rcList.left + 100, rcHeader.bottom + nRowHeight * static_cast<int>(nRowsBefore) + 8));
    KeyChord(VK_CONTROL, 'P');
    EXPECT_TRUE(WaitUntil([&] { return Rows(hMain).back()[4].rfind(u"Playing: 00:0", 0) == 0; }, 5000))
        << Narrow(Rows(hMain).back()[4]);
    EXPECT_NE(std::string::npos, ShellOutput("pactl list sink-inputs 2>&1").find("Sink Input #"));
    EXPECT_TRUE(
        WaitUntil([&] { return Rows(hMain).back()[4].find(u"Playing") == std::u16string::npos; }, 15000));

    // The next recording takes the next number.
    ClickAt(ptRecord);
    ASSERT_TRUE(WaitUntil([&] { return Rows(hMain).size() == nRowsBefore + 2; }, 10000));
    Wait(1500);
    ClickAt(ptStop);
    ASSERT_TRUE(WaitUntil([&] { return FindRibbonIcon(hMain, kRecordDot, &ptNow); }, 10000));
    Wait(500);
    EXPECT_EQ(u"Record-001.mp3", Rows(hMain).back()[1]);

    // M4A chosen on the ribbon records an M4A file.
    CPoint ptM4A;
    ASSERT_TRUE(FindRibbonIcon(hMain, kM4AFace, &ptM4A));
    ClickAt(ptM4A);
    Wait(500);
    ClickAt(ptRecord);
    ASSERT_TRUE(WaitUntil([&] { return Rows(hMain).size() == nRowsBefore + 3; }, 10000));
    Wait(1500);
    ClickAt(ptStop);
    ASSERT_TRUE(WaitUntil([&] { return FindRibbonIcon(hMain, kRecordDot, &ptNow); }, 10000));
    Wait(500);
    const std::u16string strM4A = Rows(hMain).back()[1];
    EXPECT_EQ(u".m4a", strM4A.substr(strM4A.size() - 4)) << Narrow(strM4A);

    CloseProgram(program, hMain);
    // A restart lists the recordings.
    SondrelProcess again;
    ASSERT_TRUE(again.Start());
    hMain = WaitForMainWindow(again);
    ASSERT_NE(nullptr, hMain);
    Wait(1500);
    EXPECT_EQ(nRowsBefore + 3, Rows(hMain).size());
    CloseProgram(again, hMain);
}
