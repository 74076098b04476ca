// What the main-road test needs to meet Sondrel as a user does: the program
// started as its own process, its windows found by caption and its
// controls by id, the file list's rows read out of the other process,
// screenshots searched for a colour, and its files read back by ffprobe.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

#include "command_output.h"
#include "dib_canvas.h"
#include "sound_module.h"

namespace mainroad {

// The program's settings, in both hives.
const char16_t kSettingsKey[] = u"Software\\Quorvane\\Sondrel";

// Control ids of the recording dialog.
const int kFileList = 1017;
const int kProfiles = 1011;
const int kDevices = 1002;
const int kRecordButton = 1023;

// Colours of the ribbon's images (tools/mainwindowimages).
const COLORREF kRecordDot = RGB(220, 30, 30);
const COLORREF kStopSquare = RGB(40, 44, 52);
const COLORREF kM4AFace = RGB(0, 170, 140);

inline const WCHAR* W(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

// The test's own folder (the build's bin, where the tools it runs lie), with
// a backslash; the program runs from a folder of its own.
std::u16string BinFolder();

class SondrelProcess
{
public:
    ~SondrelProcess();
    // Starts the program as the run command does (scripts/run.sh), in the
    // session's prefix; false when no new Sondrel process appeared.
    bool Start();
    DWORD Id() const { return m_process.dwProcessId; }
    bool Running() const;
    // Waits for the process to end; false when it did not in the time.
    bool WaitForExit(DWORD dwMilliseconds);
    void Kill();

private:
    PROCESS_INFORMATION m_process = {};
};

// The main window once it shows (captioned "Sondrel"), brought to the
// front after the program has settled; null when it did not show.
HWND ShowMainWindow(const SondrelProcess& program);
// Alt+F4 on the main window, as a user closes it without a frame.
void AltF4(HWND hMain);

// A visible top-level window of the process with the caption (any caption
// when null), other than the excluded one; waits up to the timeout.
HWND WaitForWindow(DWORD dwProcess, const char16_t* pszCaption, DWORD dwTimeout = 30000,
                   HWND hExclude = nullptr);
std::vector<HWND> VisibleWindows(DWORD dwProcess);
HWND ChildById(HWND hParent, int nId);
std::u16string Text(HWND hWnd);
std::u16string ClassName(HWND hWnd);
// The process's visible top-level windows of the class.
std::vector<HWND> VisibleWindowsOfClass(DWORD dwProcess, const char16_t* pszClass);
// Visible windows of the program other than its main window, its tips and
// its popup bars, as "text (class) " each: a message box, for one.
std::u16string OtherWindows(DWORD dwProcess, HWND hMain);
// An ASCII rendering of a text for failure messages.
std::string Narrow(const std::u16string& s);
// Visible descendants of the class.
std::vector<HWND> Descendants(HWND hParent, const char16_t* pszClass);

// The rows of a list view in another process, column by column.
std::vector<std::vector<std::u16string>> ListRows(HWND hList, int nColumns);

// The rows a list view in another process holds (one message, answered at
// the recording job's next pump).
int ListCount(HWND hList);

// The window's rectangle as the screen shows it now.
std::unique_ptr<DibCanvas> Shot(HWND hWnd, CRect* prcScreen = nullptr);
// An area of the screen as the X server shows it, read from outside Wine by
// a Linux process (the root window's pixels, as `import -window root` reads
// them); a failure when nothing was read.
std::unique_ptr<DibCanvas> ScreenPicture(const CRect& rcScreen);
// The centre of the pixels of a colour (within a tolerance per channel) in
// the area; false when fewer than nMinimum are there.
bool FindColour(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                CPoint* pCentre, int* pCount = nullptr);

// Which pixels touch: those beside, or those at the corners as well.
enum class Neighbours
{
    Sides,
    SidesAndCorners
};
struct ColourPatch
{
    CRect bounds;
    CPoint centre;
    int nPixels = 0;
};
// The connected patches of a colour (within a tolerance per channel) in the
// area, in the order of their first pixels, row by row.
std::vector<ColourPatch> ColourPatches(const DibCanvas& canvas, const CRect& area, COLORREF clr,
                                       int nTolerance, Neighbours neighbours);
// The centre and bounds of the largest patch of a colour in the area (the
// first of equals), so that a copy of the same icon elsewhere (a tooltip's)
// or stray pixels of text do not pull the point off the icon.
bool FindColourPatch(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                     CPoint* pCentre, CRect* pBounds = nullptr,
                     Neighbours neighbours = Neighbours::SidesAndCorners);

// Real input.
void ClickAt(POINT ptScreen);
void ClickChild(HWND hChild);
void KeyChord(WORD wModifier, WORD wKey);
void Key(WORD wKey);

std::string UnixPath(const std::u16string& windowsPath);

// A program that never ran here: its settings gone from both hives and the
// output folder made and emptied; started before, the start counter is past
// the first start's about box.
void ResetProgramSettings(const std::u16string& outputFolder, bool bStartedBefore = true);
// A row's rectangle on the screen, of a list view in another process.
CRect ListRowRect(HWND hList, int nRow);
// One text of a list view in another process: while Sondrel records, each
// message waits for the job's next pump (every 50 ms while it waits for
// sound), so a test reads no more than it needs.
std::u16string ListItemText(HWND hList, int nRow, int nColumn);
// The text of the list's last row in the column, read without the rest of
// the list; empty when the list has no rows.
std::u16string LastRowText(HWND hList, int nColumn);
// The main window's file list, row by row (name, ..., state).
std::vector<std::vector<std::u16string>> FileListRows(HWND hMain);
// The entries of a combo box in another process.
std::vector<std::u16string> ComboItems(HWND hCombo);
// Chooses the entry of the device list by keys, as a user does, and checks
// that it took.
void ChooseDevice(HWND hDevices, const std::u16string& strDevice);
// The point (and bounds) of a ribbon icon's colour on the screen, from a
// screenshot of the main window's top: the icon's own patch, not a
// tooltip's copy of it.
bool FindRibbonIcon(HWND hMain, COLORREF clr, CPoint* pScreen, CRect* prcScreen = nullptr, int nMinimum = 60,
                    Neighbours neighbours = Neighbours::SidesAndCorners);

// What ffprobe says of a file, its entries ("format=...:stream=...") one
// "key=value" a line.
std::string ProbeFile(const std::u16string& strPath, const std::string& strEntries);
// A value of ffprobe's lines, empty when missing.
std::string ProbeValue(const std::string& strProbe, const std::string& strKey);
// The duration in seconds, -1 when missing.
double ProbedSeconds(const std::string& strProbe);

// Waits while pumping this thread's messages.
void Wait(DWORD dwMilliseconds);
template <class TCondition>
bool WaitUntil(TCondition condition, DWORD dwTimeout)
{
    const DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout)
            return condition();
        Wait(20);
    }
    return true;
}

}  // namespace mainroad
