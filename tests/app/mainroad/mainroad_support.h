// What the main-road test needs to meet Sondrel as a user does: the program
// started as its own process, its windows found by caption and its
// controls by id, the file list's rows read out of the other process,
// screenshots searched for a colour, and shell commands (ffprobe, pactl)
// run for their output.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

#include "dib_canvas.h"

namespace mainroad {

inline const WCHAR* W(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

// The test's program folder, where Sondrel.exe.so lies, with a backslash.
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

// A visible top-level window of the process with the caption (any caption
// when null), other than the excluded one; waits up to the timeout.
HWND WaitForWindow(DWORD dwProcess, const char16_t* pszCaption, DWORD dwTimeout = 30000,
                   HWND hExclude = nullptr);
std::vector<HWND> VisibleWindows(DWORD dwProcess);
HWND ChildById(HWND hParent, int nId);
std::u16string Text(HWND hWnd);
// Visible descendants of the class.
std::vector<HWND> Descendants(HWND hParent, const char16_t* pszClass);

// The rows of a list view in another process, column by column.
std::vector<std::vector<std::u16string>> ListRows(HWND hList, int nColumns);

// The rows a list view in another process holds (one message, answered at
// the recording job's next pump).
int ListCount(HWND hList);

// The window's rectangle as the screen shows it now.
std::unique_ptr<DibCanvas> Shot(HWND hWnd, CRect* prcScreen = nullptr);
// The centre of the pixels of a colour (within a tolerance per channel) in
// the area; false when fewer than nMinimum are there.
bool FindColour(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                CPoint* pCentre, int* pCount = nullptr);

// The centre and bounds of the largest 8-connected patch of a colour in the
// area, so that a copy of the same icon elsewhere (a tooltip's) or stray
// pixels of text do not pull the point off the icon.
bool FindColourPatch(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                     CPoint* pCentre, CRect* pBounds = nullptr);

// Real input.
void ClickAt(POINT ptScreen);
void ClickChild(HWND hChild);
void KeyChord(WORD wModifier, WORD wKey);
void Key(WORD wKey);

// A shell command's standard output.
std::string ShellOutput(const std::string& command);
std::string UnixPath(const std::u16string& windowsPath);

// A program that never ran here: its settings gone from both hives, the
// output folder made and emptied, and the start counter past the first
// start's about box.
void ResetProgramSettings(const std::u16string& outputFolder);
// A row's rectangle on the screen, of a list view in another process.
CRect ListRowRect(HWND hList, int nRow);
// One text of a list view in another process: while Sondrel records, each
// message waits for the job's next pump (every 50 ms while it waits for
// sound), so a test reads no more than it needs.
std::u16string ListItemText(HWND hList, int nRow, int nColumn);
// The entries of a combo box in another process.
std::vector<std::u16string> ComboItems(HWND hCombo);
// The point of a ribbon icon's colour on the screen, from a screenshot of
// the main window's top: the icon's own patch, not a tooltip's copy of it.
bool FindRibbonColour(HWND hMain, COLORREF clr, CPoint* pScreen);

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
