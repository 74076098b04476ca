// A frame window site for the command-bar tests: it owns a set of command
// bars and hands them its messages and queued keys first, as the frame hook
// does for the program's frames, and records the commands and keys that
// reach it.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBars.h"

class CBarsFrame : public CFrameWnd
{
    DECLARE_DYNAMIC(CBarsFrame)

public:
    CBarsFrame();
    ~CBarsFrame() override;

    // A borderless top-most frame at a screen rectangle (no caption: the test
    // display's window manager would make hiding it slow), optionally with
    // a menu resource.
    BOOL CreateSite(const CRect& rc, UINT nIDMenu = 0);
    // Fresh bars and cleared records, for the next test.
    void ResetBars();
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Every command of the tests' range has a handler here, so that the
    // bars enable its controls.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override {}

    std::vector<UINT> m_commands;             // WM_COMMAND ids, in order
    std::vector<UINT> m_keys;                 // WM_KEYDOWN keys that reached the frame
    std::vector<UINT> m_appMessages;          // WM_APP + n received, as n, in order with the commands
    std::vector<UINT> m_events;               // commands and WM_APP messages, as one sequence
    int m_nSysKeyMenu = 0;                    // SC_KEYMENU system commands that reached the frame
    std::vector<LPARAM> m_visibilityChanges;  // bars shown (1) or hidden (0), as told
    BOOL m_bHandleCustomize = FALSE;          // the customize command has a handler (before ResetBars)
    HMENU m_hMenuAtDestroy = nullptr;         // the window's menu when WM_DESTROY reached the frame

protected:
    CQVTCommandBars* m_pCommandBars;
};

// A site that records, in order, the control notifications whose codes lie
// in a range, and answers every control notification itself but an execute
// one, whose command then goes out.
class CNotifyRecordingFrame : public CBarsFrame
{
public:
    void RecordCodes(UINT nFirst, UINT nLast);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    std::vector<UINT> m_codes;

private:
    UINT m_nFirstCode = 0;
    UINT m_nLastCode = 0;
};

// Dispatches the thread's messages for at least the time, each first through
// the framework's pre-translation, as an application's message loop does.
bool PumpTranslated(DWORD dwMilliseconds = 0);
template <class TCondition>
bool PumpTranslatedUntil(TCondition condition, DWORD dwTimeout = 5000)
{
    const DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout || !PumpTranslated(5))
            return condition();
    }
    return true;
}
