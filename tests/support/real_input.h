// Real input for window tests: the mouse and keyboard driven through
// SendInput, as a user's devices drive them, and the message pump run until
// the effects have arrived.
#pragma once

#include <afxwin.h>

#include <atomic>
#include <functional>

#include "win_thread.h"

// Dispatches what is waiting, for at least the given time. A WM_QUIT met on
// the way is posted again and ends the pump.
inline bool PumpMessages(DWORD dwMilliseconds = 0)
{
    DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage((int)msg.wParam);
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (::GetTickCount() - dwStart >= dwMilliseconds)
            return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Pumps until the condition holds; false when it did not within the time.
template <class TCondition>
bool PumpUntil(TCondition condition, DWORD dwTimeout = 5000)
{
    DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout || !PumpMessages(5))
            return condition();
    }
    return true;
}

inline void SendMouse(DWORD dwFlags, POINT ptScreen = {0, 0})
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if (dwFlags & MOUSEEVENTF_ABSOLUTE)
    {
        // Normalised to 0..65535 over the primary screen, centred on the pixel.
        int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (ptScreen.x * 65536 + 32768) / cx;
        input.mi.dy = (ptScreen.y * 65536 + 32768) / cy;
    }
    input.mi.dwFlags = dwFlags;
    ::SendInput(1, &input, sizeof(input));
}

// Moves the pointer to a screen point and waits until the system has it there.
inline void MouseMoveTo(POINT ptScreen)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ptScreen);
    PumpUntil(
        [&] {
            POINT pt;
            ::GetCursorPos(&pt);
            return pt.x == ptScreen.x && pt.y == ptScreen.y;
        },
        2000);
    PumpMessages(20);
}

inline void MouseLeftDown()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpMessages(20);
}

inline void MouseLeftUp()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpMessages(20);
}

inline void MouseClickAt(POINT ptScreen)
{
    MouseMoveTo(ptScreen);
    MouseLeftDown();
    MouseLeftUp();
}

inline void SendKey(WORD wVirtualKey, bool bUp)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVirtualKey;
    input.ki.wScan = (WORD)::MapVirtualKey(wVirtualKey, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

inline void KeyPress(WORD wVirtualKey)
{
    SendKey(wVirtualKey, false);
    SendKey(wVirtualKey, true);
    PumpMessages(30);
}

// The centre of a window on the screen.
inline POINT WindowCentre(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Input sent from a second thread while this one pumps: the way to drive a
// modal loop (sizing, tracking, a dialog) that the input itself starts. The
// script only sends input and sleeps; false when it did not end in time.
inline bool RunInputScript(std::function<void()> script, DWORD dwTimeout = 15000)
{
    std::atomic<bool> bDone{false};
    WinThread thread([&] {
        script();
        bDone = true;
    });
    bool bEnded = PumpUntil([&] { return bDone.load(); }, dwTimeout);
    thread.join();
    PumpMessages(30);
    return bEnded;
}

// For input scripts: moves the pointer without pumping, then lets the
// receiving thread catch up.
inline void ScriptMouseMove(POINT ptScreen, DWORD dwPause = 30)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ptScreen);
    ::Sleep(dwPause);
}

inline void ScriptMouseButton(DWORD dwFlags, DWORD dwPause = 30)
{
    SendMouse(dwFlags);
    ::Sleep(dwPause);
}

// For input scripts: waits until a thread's input state has any of the
// GUI_ flags (GUI_INMOVESIZE: it runs the system's sizing loop, which has
// the capture, so the moves that follow reach it wherever the pointer goes).
inline bool ScriptWaitForThreadState(DWORD dwThread, DWORD dwFlags, DWORD dwTimeout = 5000)
{
    DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        if (::GetGUIThreadInfo(dwThread, &info) && (info.flags & dwFlags))
            return true;
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        ::Sleep(10);
    }
}

// For input scripts: waits until a thread takes the capture (a press began
// its drag or tracking loop) or, with bCaptured false, lets go of it.
inline bool ScriptWaitForCapture(DWORD dwThread, bool bCaptured, DWORD dwTimeout = 2000)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        GUITHREADINFO info = {sizeof(GUITHREADINFO)};
        if (::GetGUIThreadInfo(dwThread, &info) && (info.hwndCapture != nullptr) == bCaptured)
            return true;
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        ::Sleep(5);
    }
}
