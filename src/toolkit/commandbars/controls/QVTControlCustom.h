// A command-bar control that hosts an ordinary child window the application
// made (a dialog control, say): the window is re-parented to the bar, kept
// at the control's place and shown, hidden and enabled with it, and its
// mouse moves reach the bar so that hot tracking goes on over it. The
// control does not own the window.
#pragma once

#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/foundation/hook/QVTHookManager.h"

class CQVTPropExchange;

class CQVTControlCustom : public CQVTControlButton, public CQVTHookManagerHookAble
{
    DECLARE_SERIAL(CQVTControlCustom)

public:
    CQVTControlCustom();
    ~CQVTControlCustom() override;

    // Hosts the window (null: none) and watches its mouse moves.
    void SetControl(HWND hWnd);
    HWND GetControl() const { return m_hwndControl; }
    void SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom);
    CRect GetBorders() const { return m_rcBorders; }
    void SetSize(CSize sz) { m_szControl = sz; }
    CSize GetControlSize() const { return m_szControl; }
    // 0 hides the control while docked vertically, 1 keeps it, 2 keeps its
    // place as a button and hides the window.
    void SetVerticalPositionOption(int nOption) { m_nVerticalOptions = nOption; }
    int GetVerticalPositionOption() const { return m_nVerticalOptions; }
    void SetControlID(int nId) { m_nControlId = nId; }
    int GetControlID() const { return m_nControlId; }

    void SetRect(CRect rcControl) override;
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnEnabledChanged() override;
    void OnActionChanged(int nProperty) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void SetHideFlags(DWORD dwFlags) override;
    void OnRemoved() override;
    BOOL IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    // "Borders", "ControlSize", "VerticalOptions" and, from schema 6,
    // "ControlId"; a loaded id finds its window again.
    void DoPropExchange(CQVTPropExchange* pPX) override;

    // CQVTHookManagerHookAble: mouse moves over the window go on to the bar.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

protected:
    void ShowHide();
    BOOL IsWindowInBar() const;
    BOOL IsWindowShown() const;

    HWND m_hwndControl;  // the hosted window, not owned
    CRect m_rcBorders;   // space around the window inside the control
    BOOL m_bShowWindow;  // the current layout shows the window
    CSize m_szControl;   // the window's area
    int m_nVerticalOptions;
    int m_nControlId;  // dialog id that finds the window after loading
};
