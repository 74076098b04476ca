// A dialog procedure that accepts the dialog and handles nothing else: the
// resource tests open dialogs only to look at their controls.
#pragma once

#include <windows.h>

inline INT_PTR CALLBACK QuietDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG ? TRUE : FALSE;
}
