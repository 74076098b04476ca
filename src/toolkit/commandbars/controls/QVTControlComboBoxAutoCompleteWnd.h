#pragma once

#include "toolkit/foundation/hook/QVTHookManager.h"

class CQVTControlComboBox;

// The shell's auto-completion of an editable combo box: while the edit has
// the focus, a call-window hook watches for the shell's suggestion list and
// keeps the wheel away from the bars while it shows.
class CQVTControlComboBoxAutoCompleteWnd : public CQVTHookManagerHookAble
{
public:
    CQVTControlComboBoxAutoCompleteWnd();
    ~CQVTControlComboBoxAutoCompleteWnd() override;

    // SHAutoComplete on the window, bound at run time; E_FAIL without it.
    HRESULT ShellAutoComplete(HWND hWndEdit, DWORD dwFlags);
    void SetupHooks();
    void ResetHooks();
    HWND GetDropDown() const { return m_hWndDropDown; }
    HWND GetEdit() const { return m_hWndEdit; }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // The function the binding looks up; a test may point it at another
    // library or entry.
    static LPCTSTR s_lpszLibrary;
    static LPCSTR s_lpszEntry;

protected:
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos);

    HWND m_hWndDropDown;  // the shown suggestion list, tracked
    HWND m_hWndEdit;
    BOOL m_bHooked;
};
