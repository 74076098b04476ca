// Shared by the shell's tests: steps run inside the modal loops the code
// under test starts, the open task dialog found as a user finds it, and
// texts compared as UTF-8.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "modal_script.h"
#include "real_input.h"
#include "tests/common/common_test_support.h"
#include "toolkit/controls/taskdialog/QVTTaskDialog.h"

namespace shelltest {

using modaltest::ModalScript;

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
