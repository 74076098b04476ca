// The edit window that edit controls and combo boxes put on a bar: a
// rich-edit window in plain-text mode when the system has a rich-edit
// class, else a standard edit window. It forwards focus, keys and mouse
// moves to its control and offers its own Cut/Copy/Paste menu.
#pragma once

#include <afxwin.h>

class CQVTCommandBar;
class CQVTControl;
class CQVTControlEdit;

class CQVTCommandBarEditCtrl : public CEdit
{
    DECLARE_DYNAMIC(CQVTCommandBarEditCtrl)

public:
    CQVTCommandBarEditCtrl();
    ~CQVTCommandBarEditCtrl() override;

    // The Cut/Copy/Paste menu at a screen point; FALSE when none was shown.
    virtual BOOL ShowContextMenu(CQVTControl* pControl, CPoint point);
    virtual BOOL CreateEdit(DWORD dwStyle, CQVTCommandBar* pParentBar);

    // Whether the window is a rich-edit window, and a version 2 or later one.
    BOOL IsRichEdit() const { return m_bRichEdit; }
    static BOOL AFX_CDECL IsRichEdit20();
    // The whole text, read as the window's kind wants it read.
    CString GetEditText() const;
    // Sets the text without a change notification for the clearing step.
    void SetEditText(const CString& strText);
    BOOL IsSettingText() const { return m_bSettingText; }
    BOOL IsImeComposing() const { return m_bComposited; }
    void SetGlass(BOOL bGlass) { m_bGlass = bGlass; }
    // Whether the command may run now: Cut, Copy and Paste of the menu.
    BOOL IsCommandEnabled(UINT nID) const;
    // Sends the edit message of a menu command.
    void ExecuteCommand(UINT nID);

    enum
    {
        // The toolkit's own query, answered TRUE.
        WM_QVT_ISCOMMANDBAREDIT = 0x2A48
    };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PasteAtSelection();

    BOOL m_bComposited;   // an IME composition is running
    BOOL m_bGlass;        // the control lies on a composited frame
    BOOL m_bSettingText;  // the text is being set by code
    BOOL m_bRichEdit;
};

// What the edit window reports to the control that placed it: an edit
// control or an editable combo box.
class CQVTEditCtrlHost
{
public:
    virtual ~CQVTEditCtrlHost() {}
    virtual CQVTControl* GetEditHostControl() = 0;
    virtual void OnEditSetFocus(HWND hWndPrevious) = 0;
    virtual void OnEditKillFocus() = 0;
    // The text changed, typed or (bByCode) set by the control.
    virtual void OnEditTextChange(BOOL bByCode) = 0;
    // The window goes; its text outlives it.
    virtual void OnEditDestroy(const CString& strText) = 0;
};

// The edit window of an edit control or a combo box.
class CQVTControlEditCtrl : public CQVTCommandBarEditCtrl
{
    DECLARE_DYNAMIC(CQVTControlEditCtrl)

public:
    CQVTControlEditCtrl() = default;

    CQVTEditCtrlHost* m_pHost = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CQVTControl* GetHostControl() const { return m_pHost ? m_pHost->GetEditHostControl() : nullptr; }
    CQVTCommandBar* GetHostBar() const;

    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnEditChange();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnIsCommandBarEdit(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEditCommand(UINT nID);
    afx_msg void OnUpdateEditCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

// Whether pasted or typed text may enter a numbers-only edit.
BOOL AFXAPI QVTIsDigitsOnly(LPCWSTR lpszText);
// Puts the numbers-only filter on an edit window (bound from ComCtl32 on
// first use); FALSE when the system has no subclassing functions.
BOOL AFXAPI QVTSetNumbersOnly(HWND hWnd, BOOL bNumbersOnly);
