// The full-window alternative to the application menu: a command bar window
// over the frame's client area with a vertical menu of commands, tabs and
// separators on the left and the active tab's page window on the right. It
// hides the frame's other children while shown, has its own keyboard model
// and key tips, and scrolls its menu when it is taller than the window.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTCommandBarScrollBarCtrl;
class CQVTRibbonBackstagePaintManager;
class CQVTRibbonBackstageTab;
class CQVTRibbonBar;
class CQVTRibbonControlSystemButton;

class CQVTRibbonBackstageView : public CQVTCommandBar
{
    DECLARE_SERIAL(CQVTRibbonBackstageView)

public:
    // Key-tip states.
    enum KeyTipState
    {
        keyTipNone = -1,
        keyTipAltDown = 0,     // Alt is held, the tips are shown
        keyTipWaiting = 1,     // Alt released, the tips wait for a key
        keyTipSecondChar = 2,  // the first character of a two-character tip was typed
        keyTipPage = 3         // a tab was chosen: its page buttons show their tips
    };
    enum
    {
        idScrollBar = 100,
        // The frame's top dock bar, which holds the ribbon and stays shown.
        idTopDockBar = 59419,
        // What a tab sends to the site when it shows its page.
        notifyTabActivated = 0x1100
    };

    CQVTRibbonBackstageView();
    ~CQVTRibbonBackstageView() override;

    // Replaces the paint manager by the one for a command-bar theme number.
    void SetTheme(int nTheme);
    int GetTheme() const { return m_nTheme; }
    CQVTRibbonBackstagePaintManager* GetBackstagePaintManager() const { return m_pBackstagePaintManager; }

    // Shows the view for a system button; FALSE for any other control.
    BOOL Popup(CQVTControl* pControl, BOOL bSelectFirst) override;
    // Switched off, closes the view.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The window's scroll-bar query: the bar's own.
    CScrollBar* GetScrollBarCtrl(int nBar) const;
    virtual CQVTCommandBarScrollBarCtrl* GetBarScrollBarCtrl(int nBar) const;
    virtual void RecalcLayout();
    BOOL IsVisible() const override;

    void SetActiveTab(CQVTRibbonBackstageTab* pTab);
    CQVTRibbonBackstageTab* GetActiveTab() const { return m_pActiveTab; }
    // The active tab's page when it is a live window, else null.
    CWnd* GetActivePage() const;
    // Closes the view, then runs the control's command.
    void ExecuteCommand(CQVTControl* pControl);
    void SetFocusedControl(CQVTControl* pControl);
    CQVTControl* GetFocusedControl() const { return m_pFocusedControl; }
    CQVTControl* GetHotControl() const { return m_pHotControl; }

    // What the paint managers ask.
    BOOL IsActiveTab(const CQVTControl* pControl) const;
    BOOL IsHotControl(const CQVTControl* pControl) const { return pControl && pControl == m_pHotControl; }
    BOOL IsFocusedControl(const CQVTControl* pControl) const
    {
        return pControl && pControl == m_pFocusedControl;
    }
    static BOOL AFX_CDECL IsCommand(const CQVTControl* pControl);
    static BOOL AFX_CDECL IsMenuSeparator(const CQVTControl* pControl);
    static BOOL AFX_CDECL IsTab(const CQVTControl* pControl);
    COLORREF GetKeyTipBackColor() const;
    CFont* GetKeyTipFont() const;
    int GetMenuWidth() const { return m_nMenuWidth; }
    CFont* GetCommandFont() const { return m_fontCommand.GetFont(); }
    CFont* GetTabFont() const { return m_fontTab.GetFont(); }
    COLORREF GetPageTextColor() const { return m_clrPageText; }
    COLORREF GetPageBackgroundColor() const { return m_clrPageBackground; }
    // Outside it the view lies below the ribbon's tab row (classic mode).
    BOOL IsFullWindowMode() const { return m_bFullWindow; }
    BOOL IsClassicMode() const;

    // Scrolling.
    void ScrollTo(int nPosition);
    int GetScrollPosition() const { return m_nScrollPos; }
    int GetLineStep() const { return m_nLineStep; }
    BOOL IsScrollBarVisible() const { return m_bScrollBarVisible; }
    CRect GetPageRect() const { return m_rcPage; }

    // Key tips.
    void AssignKeyTips();
    int GetKeyTipState() const { return m_nKeyTipState; }
    TCHAR GetPendingKeyTipChar() const { return m_chPendingKeyTip; }
    // TRUE when the key was taken.
    BOOL OnKeyTip(UINT nMessage, BOOL bSystemKey, UINT nKey, int nRepeat);

    // The windows and ribbon controls hidden while the view is shown.
    const CArray<HWND, HWND>& GetHiddenWindows() const { return m_arrHiddenWindows; }
    const CList<int, int>& GetHiddenRibbonControls() const { return m_lstHiddenRibbonControls; }
    void SerializeHiddenRibbonControls(CArchive& ar);

    // The frame's messages while the view is shown.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

protected:
    afx_msg void OnPaint();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnCancel();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnDestroy();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CQVTRibbonBar* GetRibbonBar() const;
    // Full-window mode with theme 12, 16 or 17.
    BOOL IsCoveringRibbon() const;
    void CreateFonts();
    CQVTControl* HitTestEnabled(CPoint point) const;
    void HideFrameChildren();
    void ShowHiddenFrameChildren();
    void RestoreRibbon();
    void ShowPageKeyTips(BOOL bShow);
    void UpdateScrollBar();
    // The key tip of a control, matched against a key.
    CQVTControl* FindKeyTip(UINT nKey);

    int m_nMenuWidth;
    CQVTFont m_fontCommand;
    CQVTFont m_fontTab;
    COLORREF m_clrPageText;
    COLORREF m_clrPageBackground;
    int m_nTheme;
    CQVTCommandBarScrollBarCtrl* m_pScrollBar;                  // owned
    CQVTCommandBars* m_pShownCommandBars;                       // set while shown
    CQVTRibbonBackstagePaintManager* m_pBackstagePaintManager;  // owned
    CQVTRibbonControlSystemButton* m_pSystemButton;             // null while hidden
    CQVTRibbonBackstageTab* m_pActiveTab;
    CQVTControl* m_pHotControl;
    CQVTControl* m_pFocusedControl;
    CArray<HWND, HWND> m_arrHiddenWindows;
    CList<int, int> m_lstHiddenRibbonControls;
    int m_nScrollPos;
    int m_nPageSize;
    int m_nTotalHeight;
    int m_nLineStep;
    BOOL m_bScrollBarVisible;
    CRect m_rcPage;  // view co-ordinates; moves with scrolling
    BOOL m_bFullWindow;
    BOOL m_bSavedQuickAccess;
    CRect m_rcSavedSystemButton;
    int m_nKeyTipState;
    TCHAR m_chPendingKeyTip;
    HWND m_hwndFrame;  // hooked while shown
};
