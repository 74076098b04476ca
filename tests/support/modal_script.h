// Steps run inside the modal loops that the code under test starts (a
// dialog's, a message box's): one step per tick of a thread timer, which
// every modal loop of the thread dispatches.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace modaltest {

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

}  // namespace modaltest
