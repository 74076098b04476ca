// Real input for the strip tests: SendInput mouse and keyboard events, and
// a message pump that runs until the window has seen them.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "win_thread.h"

namespace TabInput {

inline INPUT MouseAt(POINT ptScreen, DWORD dwFlags)
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((ptScreen.x * 65536LL + cx / 2) / cx);
    input.mi.dy = static_cast<LONG>((ptScreen.y * 65536LL + cy / 2) / cy);
    input.mi.dwFlags = dwFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

inline void Send(INPUT input)
{
    ::SendInput(1, &input, sizeof(INPUT));
}

// The display driver applies a move on its own time: each step waits a
// little, so that buttons and keys come after the pointer got there.
const DWORD kSettle = 40;

inline void Move(POINT ptScreen)
{
    Send(MouseAt(ptScreen, 0));
    ::Sleep(kSettle);
}
inline void Down(POINT ptScreen)
{
    Move(ptScreen);
    Send(MouseAt(ptScreen, MOUSEEVENTF_LEFTDOWN));
    ::Sleep(kSettle);
}
inline void Up(POINT ptScreen)
{
    Move(ptScreen);
    Send(MouseAt(ptScreen, MOUSEEVENTF_LEFTUP));
    ::Sleep(kSettle);
}

inline void Key(WORD wVk, bool bDown)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVk;
    input.ki.dwFlags = bDown ? 0 : KEYEVENTF_KEYUP;
    Send(input);
}
inline void Press(WORD wVk)
{
    Key(wVk, true);
    Key(wVk, false);
    ::Sleep(kSettle);
}

// Dispatches messages for a while, or until the condition holds.
inline bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeout = 2000)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done && done())
            return true;
        if (::GetTickCount() - dwStart > dwTimeout)
            return done ? done() : true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
inline void Pump(DWORD dwMilliseconds = 100)
{
    PumpUntil(nullptr, dwMilliseconds);
}

// A thread's capture window changing, seen from another thread.
inline bool WaitForCapture(DWORD dwThreadId, bool bCaptured, DWORD dwTimeout = 2000)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        GUITHREADINFO info = {sizeof(GUITHREADINFO)};
        if (::GetGUIThreadInfo(dwThreadId, &info) && (info.hwndCapture != nullptr) == bCaptured)
            return true;
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        ::Sleep(5);
    }
}

// Runs the input steps on a thread of their own while this thread pumps
// messages, as a user acts while the window's capture loops run: a button
// released after the window took the capture reaches it wherever it is.
inline void Drive(const std::function<void(DWORD dwUiThread)>& steps, const std::function<bool()>& done = nullptr,
                  DWORD dwTimeout = 4000)
{
    std::atomic<bool> bFinished{false};
    const DWORD dwUiThread = ::GetCurrentThreadId();
    WinThread thread([&] {
        steps(dwUiThread);
        bFinished = true;
    });
    PumpUntil([&] { return bFinished && (!done || done()); }, dwTimeout);
    thread.join();
}

}  // namespace TabInput
