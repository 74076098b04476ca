// The yardstick of the start-up benchmark: a Winelib program that opens one
// empty dialog of the main window's size and nothing else.
#include <windows.h>

namespace {

INT_PTR CALLBACK EmptyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK))
    {
        EndDialog(hDlg, 0);
        return TRUE;
    }
    if (message == WM_CLOSE)
    {
        EndDialog(hDlg, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(100), nullptr, &EmptyDialogProc, 0));
}
