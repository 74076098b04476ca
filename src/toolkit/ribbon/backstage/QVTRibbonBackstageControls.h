// The backstage view's menu entries (commands, tabs and separators), the
// push button page windows use so that it can carry a key tip, and the
// window class pages put between button groups.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/controls/button/QVTButton.h"

// Executes at once: closes the view and runs its command.
class CQVTRibbonBackstageCommand : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageCommand)

public:
    CQVTRibbonBackstageCommand();
};

// Keyboard navigation passes over it.
class CQVTRibbonBackstageMenuSeparator : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageMenuSeparator)

public:
    CQVTRibbonBackstageMenuSeparator();
};

// Shows an application page window beside the menu.
class CQVTRibbonBackstageTab : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageTab)

public:
    explicit CQVTRibbonBackstageTab(HWND hwndPage = nullptr);

    HWND GetPageHwnd() const { return m_hwndPage; }
    CWnd* GetPageWindow() const { return m_hwndPage ? CWnd::FromHandle(m_hwndPage) : nullptr; }
    // The view never makes the page smaller.
    void SetMinimumPageSize(CSize sz) { m_szMinimumPage = sz; }
    CSize GetMinimumPageSize() const { return m_szMinimumPage; }

    // "0" to "9" (then the first digit of the count) to the page's backstage
    // buttons in Z order.
    void AssignPageKeyTips();
    void ShowPageKeyTips(BOOL bShow);
    // Posts BM_CLICK to the button with that key tip index.
    void PressPageButton(int nIndex);
    TCHAR GetPageKeyTip(int nIndex) const;
    int GetPageKeyTipCount() const;

protected:
    HWND m_hwndPage;
    CSize m_szMinimumPage;
    CArray<TCHAR, TCHAR> m_arrPageKeyTips;
    CArray<HWND, HWND> m_arrPageButtons;  // parallel to the key tips
};

// A push button of a page window.
class CQVTRibbonBackstageButton : public CQVTButton
{
    DECLARE_DYNCREATE(CQVTRibbonBackstageButton)

public:
    enum
    {
        WM_QVT_SETKEYTIP = 10355,  // wParam: the character
        WM_QVT_SHOWKEYTIP = 10356  // wParam: BOOL
    };

    CQVTRibbonBackstageButton();

    void SetTabStyle(BOOL bTabStyle) { m_bTabStyle = bTabStyle; }
    BOOL IsTabStyle() const { return m_bTabStyle; }
    BOOL IsShowKeyTip() const { return m_bShowKeyTip; }
    CString GetKeyTip() const { return m_strKeyTip; }

protected:
    afx_msg LRESULT OnSetKeyTip(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowKeyTip(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bTabStyle;
    BOOL m_bShowKeyTip;
    CString m_strKeyTip;
};

// Stands between a page's button groups.
class CQVTRibbonBackstageSeparator : public CWnd
{
    DECLARE_DYNCREATE(CQVTRibbonBackstageSeparator)

public:
    CQVTRibbonBackstageSeparator() = default;
};
