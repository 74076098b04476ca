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

using namespace mainroad;

namespace {

const char16_t kSettingsKey[] = u"Software\\Quorvane\\Sondrel";
const char16_t kRecordingsFolder[] = u"C:\\mainroad-recordings\\";

// Control ids of the recording dialog.
const int kFileList = 1017;
const int kProfiles = 1011;
const int kDevices = 1002;
const int kRecordButton = 1023;

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

const WCHAR* W(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
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

TEST_F(MainRoad, StartsTwiceTheTabRowInItsSchemeAndEscapeAndEnterNeverClose)
{
    SondrelProcess first;
    ASSERT_TRUE(first.Start());
    HWND hMain = WaitForMainWindow(first);
    ASSERT_NE(nullptr, hMain);
    Wait(1500);
    // The first start's about box, when there is one, goes with Escape.
    for (HWND hWnd : VisibleWindows(first.Id()))
        if (hWnd != hMain)
        {
            ::SetForegroundWindow(hWnd);
            Wait(100);
            Key(VK_ESCAPE);
        }
    Wait(300);
    CloseProgram(first, hMain);

    SondrelProcess second;
    ASSERT_TRUE(second.Start());
    hMain = WaitForMainWindow(second);
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
