// The backstage menu's entries: a command that runs at once, a tab that
// shows an application page window (whose backstage buttons get the key
// tips "0" to "9" and on), and a separator that keyboard navigation skips;
// the push button of the page windows, which carries a one-letter key tip
// and, in a list of page-like buttons, draws the page separators that cross
// it and a glyph when hot; and the separator window the pages place.
#pragma once

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/controls/button/QVTButton.h"

#include <vector>

class CQVTRibbonBackstageCommand : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageCommand)

public:
    CQVTRibbonBackstageCommand() = default;
};

class CQVTRibbonBackstageMenuSeparator : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageMenuSeparator)

public:
    CQVTRibbonBackstageMenuSeparator();
};

class CQVTRibbonBackstageTab : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonBackstageTab)

public:
    CQVTRibbonBackstageTab();
    explicit CQVTRibbonBackstageTab(HWND hwndPage);

    HWND GetPageHwnd() const { return m_hwndPage; }
    CWnd* GetPageWindow() const;
    // The view never makes the page smaller than this.
    void SetMinimumPageSize(CSize sz) { m_szMinimumPage = sz; }
    CSize GetMinimumPageSize() const { return m_szMinimumPage; }

    // The page's backstage buttons in Z order get the first digit of their
    // count from 0, told to each of them.
    void AssignPageKeyTips();
    void ShowPageKeyTips(BOOL bShow);
    // Posts a click to the button of a tip; the index comes from a tip
    // match and must lie among the buttons.
    void PressPageButton(int nIndex);
    WCHAR GetPageKeyTip(int nIndex) const;
    int GetPageKeyTipCount() const;

protected:
    HWND m_hwndPage;                      // the application's page; null in a clone
    CSize m_szMinimumPage;                // 0 by 0: the view's size alone
    std::vector<WCHAR> m_arrPageKeyTips;  // one character per page button
    std::vector<HWND> m_arrPageButtons;   // parallel to the tips
};

class CQVTRibbonBackstageView;

class CQVTRibbonBackstageButton : public CQVTButton
{
    DECLARE_DYNCREATE(CQVTRibbonBackstageButton)

public:
    enum
    {
        WM_QVT_SETKEYTIP = 10355,   // wParam: the tip's one character
        WM_QVT_SHOWKEYTIP = 10356,  // wParam: BOOL
    };

    CQVTRibbonBackstageButton();

    // The backstage themes for 7, 12, 16 and 17; the button's own otherwise.
    BOOL SetTheme(int nTheme) override;

    void SetTabStyle(BOOL bTabStyle);
    BOOL IsTabStyle() const { return m_bTabStyle; }
    BOOL IsShowKeyTip() const { return m_bShowKeyTip; }
    const CString& GetKeyTip() const { return m_strKeyTip; }

    // The backstage view among the button's ancestors; null outside one.
    CQVTRibbonBackstageView* FindBackstageView() const;

protected:
    afx_msg LRESULT OnSetKeyTip(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowKeyTip(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bTabStyle;    // one of a list of page-like buttons
    BOOL m_bShowKeyTip;  // the key tip is drawn over the button
    CString m_strKeyTip;
};

// The line a page window places between groups of its buttons; tab-style
// buttons draw the part of it that crosses them.
class CQVTRibbonBackstageSeparator : public CWnd
{
    DECLARE_DYNAMIC(CQVTRibbonBackstageSeparator)

public:
    CQVTRibbonBackstageSeparator() = default;
    BOOL Create(CWnd* pParent, const CRect& rc, UINT nID);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
