// A task dialog that records its notifications and runs a script of steps
// inside its own modal loop, one step per tick of a timer of its window.
#pragma once

#include "real_input.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/taskdialog/QVTTaskDialog.h"

#include <functional>
#include <utility>
#include <vector>

class CRecordingDialog : public CQVTTaskDialog
{
public:
    enum
    {
        timerStep = 4242,
        maxTicks = 400,  // a script that stalls ends the dialog
    };
    typedef std::function<void(CRecordingDialog&)> Step;

    CRecordingDialog() { SetWindowTitle(u"Recorder"); }

    // Notifications in order: (code, wParam).
    std::vector<std::pair<UINT, WPARAM>> m_events;
    std::vector<CString> m_links;
    std::vector<DWORD> m_timerTicks;
    std::vector<Step> m_steps;
    BOOL m_bKeepOpen = FALSE;  // answer to button clicks
    DWORD m_dwResetAfter = 0;  // timer: ask for a reset at this many ms
    int m_nTicks = 0;

    // Code of the n-th notification, or -1.
    int CodeAt(size_t n) const { return n < m_events.size() ? (int)m_events[n].first : -1; }
    size_t Count(UINT nCode) const
    {
        size_t n = 0;
        for (const auto& event : m_events)
            n += event.first == nCode;
        return n;
    }

    // Public faces of what the steps look at.
    using CQVTTaskDialogClient::GetText;
    CQVTTaskDialogText& Text(int nWhich) { return *m_pTexts[nWhich]; }

    HRESULT OnNotify(UINT uNotification, WPARAM wParam, LPARAM lParam) override
    {
        m_events.push_back({uNotification, wParam});
        if (uNotification == TDN_HYPERLINK_CLICKED && lParam)
            m_links.push_back(reinterpret_cast<LPCWSTR>(lParam));
        return CQVTTaskDialog::OnNotify(uNotification, wParam, lParam);
    }
    // Called by a step: the same step runs again at the next tick (bounded
    // by maxTicks), for a step that waits on what input brings.
    void RepeatStep() { --m_nStep; }

    void OnDialogConstructed() override
    {
        if (m_nTicks == 0)
            ::SetTimer(m_hWnd, timerStep, 40, nullptr);
    }
    void OnDialogDestroyed() override { m_events.push_back({TDN_DESTROYED, 0}); }
    void OnHyperlinkClicked(LPCWSTR) override {}
    void OnButtonClicked(int, BOOL& bClose) override { bClose = !m_bKeepOpen; }
    void OnTimer(DWORD dwMilliseconds, BOOL& bReset) override
    {
        m_timerTicks.push_back(dwMilliseconds);
        bReset = m_dwResetAfter != 0 && dwMilliseconds >= m_dwResetAfter;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == timerStep)
        {
            if (++m_nTicks > maxTicks)
            {
                EndDialog(-2);
                return 0;
            }
            size_t nStep = m_nStep++;
            if (nStep < m_steps.size())
                m_steps[nStep](*this);
            return 0;
        }
        return CQVTTaskDialog::WindowProc(message, wParam, lParam);
    }

private:
    size_t m_nStep = 0;
};

// A child's rectangle in the dialog's client coordinates.
inline CRect ChildRect(CWnd& dlg, HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    dlg.ScreenToClient(&rc);
    return rc;
}

// A key as the keyboard gives it to the focused control.
inline void PostKey(HWND hWnd, UINT nKey)
{
    ::PostMessage(hWnd, WM_KEYDOWN, nKey, 1);
    ::PostMessage(hWnd, WM_KEYUP, nKey, 0xC0000001);
}
