// Shared by the shell's tests: steps run inside the modal loops the code
// under test starts, the open task dialog found as a user finds it, and
// texts compared as UTF-8.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "real_input.h"
#include "tests/common/common_test_support.h"
#include "toolkit/controls/taskdialog/QVTTaskDialog.h"

namespace shelltest {

// Runs its steps one per tick of a thread timer, which every modal loop of
// this thread dispatches. A step answers false to be run again at the next
// tick. A script that stalls closes the thread's windows, so that the test
// fails instead of hanging.
class ModalScript
{
public:
    typedef std::function<bool()> Step;

    explicit ModalScript(std::vector<Step> steps, UINT nInterval = 60) : m_steps(std::move(steps))
    {
        s_pCurrent = this;
        m_nTimer = ::SetTimer(nullptr, 0, nInterval, &ModalScript::Tick);
    }
    ~ModalScript()
    {
        ::KillTimer(nullptr, m_nTimer);
        s_pCurrent = nullptr;
    }
    bool Finished() const { return m_nNext >= m_steps.size(); }
    bool Stalled() const { return m_bStalled; }

private:
    enum
    {
        maxTicks = 500,
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* pScript = s_pCurrent;
        if (pScript == nullptr || pScript->m_bBusy)
            return;
        pScript->m_bBusy = true;
        if (++pScript->m_nTicks > maxTicks)
        {
            pScript->m_bStalled = true;
            ::EnumThreadWindows(::GetCurrentThreadId(), &ModalScript::CloseWindow, 0);
        }
        else if (pScript->m_nNext < pScript->m_steps.size() && pScript->m_steps[pScript->m_nNext]())
            ++pScript->m_nNext;
        pScript->m_bBusy = false;
    }
    static BOOL CALLBACK CloseWindow(HWND hWnd, LPARAM)
    {
        if (::IsWindowVisible(hWnd))
            ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }

    static inline ModalScript* s_pCurrent = nullptr;
    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    int m_nTicks = 0;
    bool m_bBusy = false;
    bool m_bStalled = false;
    UINT_PTR m_nTimer = 0;
};

template <class TWindow>
struct ThreadWindowSearch
{
    TWindow* pFound = nullptr;
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam)
    {
        auto* pSearch = reinterpret_cast<ThreadWindowSearch*>(lParam);
        if (!::IsWindowVisible(hWnd))
            return TRUE;
        pSearch->pFound = dynamic_cast<TWindow*>(CWnd::FromHandlePermanent(hWnd));
        return pSearch->pFound == nullptr;
    }
};

// The visible top-level window of this thread that a framework object of the
// given kind stands behind; null when none is shown.
template <class TWindow>
TWindow* FindThreadWindow()
{
    ThreadWindowSearch<TWindow> search;
    ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadWindowSearch<TWindow>::Visit,
                        reinterpret_cast<LPARAM>(&search));
    return search.pFound;
}

// A click queued whole at a screen point: press and release reach the
// window under the pointer when the modal loop reads them.
inline void QueueClickAt(POINT pt)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

inline void QueueKey(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
}

inline std::string Utf8(const CString& text)
{
    int nBytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), &bytes[0], nBytes, nullptr,
                          nullptr);
    return bytes;
}

inline CString WindowText(HWND hWnd)
{
    CString text;
    int n = ::GetWindowTextLengthW(hWnd);
    ::GetWindowTextW(hWnd, text.GetBuffer(n + 1), n + 1);
    text.ReleaseBuffer();
    return text;
}

}  // namespace shelltest
