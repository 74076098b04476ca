// The sender's windows as a test finds them in another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace crashsender {

inline BOOL CALLBACK CollectSender(HWND window, LPARAM param)
{
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    // Shown only once its controls exist.
    if (std::u16string(name) == u"SondrelCrashSender" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// The sender windows there are once at least one shows, or none after the
// time-out.
inline std::vector<HWND> WaitForSenders(DWORD timeout = 15000)
{
    std::vector<HWND> windows;
    for (DWORD waited = 0; windows.empty() && waited < timeout; waited += 100)
    {
        EnumWindows(CollectSender, reinterpret_cast<LPARAM>(&windows));
        if (windows.empty())
            Sleep(100);
    }
    return windows;
}

// Closes every sender window; how many there were.
inline size_t CloseSenders(DWORD timeout = 15000)
{
    std::vector<HWND> windows = WaitForSenders(timeout);
    for (HWND window : windows)
        PostMessageW(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 50; ++i)
    {
        std::vector<HWND> left;
        EnumWindows(CollectSender, reinterpret_cast<LPARAM>(&left));
        if (left.empty())
            break;
        Sleep(100);
    }
    return windows.size();
}

inline std::u16string Text(HWND window)
{
    WCHAR text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

}  // namespace crashsender
