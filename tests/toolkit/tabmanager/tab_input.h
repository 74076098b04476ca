// Steps of real input for the strip tests, over the shared helpers: each
// moves the pointer first and leaves the system time to deliver, so that
// buttons and keys come after the pointer got there.
#pragma once

#include <windows.h>

#include <functional>

#include "real_input.h"

namespace TabInput {

const DWORD kSettle = 40;

inline void Move(POINT ptScreen)
{
    ScriptMouseMove(ptScreen, kSettle);
}
inline void Down(POINT ptScreen)
{
    Move(ptScreen);
    ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kSettle);
}
inline void Up(POINT ptScreen)
{
    Move(ptScreen);
    ScriptMouseButton(MOUSEEVENTF_LEFTUP, kSettle);
}
inline void Press(WORD wVk)
{
    SendKey(wVk, false);
    SendKey(wVk, true);
    ::Sleep(kSettle);
}

// The steps run on a thread of their own while this one pumps, as a user
// acts while the window's capture loops run: a button released after the
// window took the capture reaches it wherever the pointer is.
inline void Drive(const std::function<void(DWORD dwUiThread)>& steps)
{
    const DWORD dwUiThread = ::GetCurrentThreadId();
    RunInputScript([&] { steps(dwUiThread); });
}

}  // namespace TabInput
