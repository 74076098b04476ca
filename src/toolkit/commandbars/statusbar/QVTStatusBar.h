// The status bar at the bottom of a frame or dialog: a control bar of the
// window class "QVTStatusBar" holding an ordered row of panes (fixed,
// text-sized and stretching, in groups), drawn by the status-bar paint
// manager of the current theme, with per-pane tooltips, child windows in
// panes, button panes, a size gripper, a customize menu that shows and
// hides panes, and its state kept in the application profile or a property
// exchange.
#pragma once

#include <afxwin.h>
#include <afxext.h>

#include <vector>

#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"

class CQVTCommandBars;
class CQVTImageManager;
class CQVTMarkupContext;
class CQVTPaintManager;
class CQVTPropExchange;
class CQVTToolTipContext;

// The overtype indicator's command id.
#ifndef ID_INDICATOR_OVR
#define ID_INDICATOR_OVR 0xE704
#endif

class CQVTStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CQVTStatusBar)

public:
    // The command UI of one pane: enabling, pop-out (check) and text.
    class CStatusCmdUI : public CCmdUI
    {
    public:
        void Enable(BOOL bOn = TRUE) override;
        void SetCheck(int nCheck = 1) override;
        void SetText(LPCTSTR lpszText) override;
    };

    // An entry of the customize menu: switches its pane on or off.
    class CControlCustomization : public CQVTControlButton
    {
    public:
        explicit CControlCustomization(CQVTStatusBarPane* pPane);
        void OnExecute() override;
        CQVTStatusBarPane* GetPane() const { return m_pPane; }

    private:
        CQVTStatusBarPane* m_pPane;  // owned by the status bar, which outlives its menu
    };

    CQVTStatusBar();
    ~CQVTStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id; a non-zero id takes its text from the string of that
    // id. FALSE when a string is missing (the panes made so far stay).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    // A new pane at the index (-1: at the end); null for an index past the end.
    CQVTStatusBarPane* AddIndicator(UINT nID, int nIndex = -1);
    void RemoveAll();
    BOOL RemoveAt(int nIndex);

    // Null for an index out of range.
    CQVTStatusBarPane* GetPane(int nIndex) const;
    int GetPaneCount() const { return static_cast<int>(m_arrPanes.size()); }
    CQVTStatusBarPane* FindPane(UINT nID) const;
    // -1 when no pane has the id.
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText);
    CString GetPaneText(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneWidth(int nIndex, int cxWidth);
    CQVTStatusBarPane* GetHotPane() const { return m_pHotPane; }
    CQVTStatusBarPane* HitTest(CPoint point) const;

    void SetCommandBars(CQVTCommandBars* pCommandBars);
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CQVTPaintManager* GetPaintManager() const;
    CQVTImageManager* GetImageManager() const;
    // The bar's own font; null goes back to the paint manager's status font.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    void EnableCustomization(BOOL bEnable = TRUE) { m_bCustomizable = bEnable; }
    BOOL IsCustomizable() const { return m_bCustomizable; }
    void SetDrawDisabledText(BOOL bDraw);
    BOOL GetDrawDisabledText() const { return m_bShowDisabledText; }
    void SetUpperCase(BOOL bUpperCase);
    BOOL IsUpperCase() const { return m_bUpperCase; }
    void SetShowSizeGripper(BOOL bShow) { m_bShowSizeGripper = bShow; }
    BOOL GetShowSizeGripper() const { return m_bShowSizeGripper; }
    int GetGroupSpacing() const { return m_nGroupSpacing; }
    void SetGroupSpacing(int nSpacing);
    int GetMinHeight() const { return m_nMinHeight; }
    // Pane texts parsed as markup while enabled.
    void EnableMarkup(BOOL bEnable = TRUE);
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    CQVTToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }

    // Visibility of the bar and of its panes in the application profile.
    void SaveState(LPCTSTR lpszProfileName);
    void LoadState(LPCTSTR lpszProfileName);
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual void DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem);
    // Lays the panes out in one row again.
    virtual void UpdateAllPanes(BOOL bUpdateRects = TRUE, BOOL bUpdateText = FALSE);
    virtual void DrawSizeGripper(CDC* pDC, CRect rcClient);
    virtual void OnPaneClick(CQVTStatusBarPane* pPane);
    virtual void SendPaneCommand(UINT nID);
    // Filled in the popup that lists the panes for the user to switch.
    virtual BOOL CreateCustomizePopup(CPoint ptScreen);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // The "StatusBarPanes" text: "id=visible" items joined by ';'.
    CString GetPanesState() const;
    void SetPanesState(const CString& strState);

protected:
    friend class CQVTStatusBarPane;

    BOOL IsGripperShown() const;
    void DrawStatusBar(CDC* pDC);
    void SetHotPane(CQVTStatusBarPane* pPane, CPoint point);
    void PlaceChildWindows();
    void OnPaneTextChanged(CQVTStatusBarPane* pPane, int nOldWidth);
    // Parses the pane's text into its markup element when the bar has a context.
    void ParsePaneMarkup(CQVTStatusBarPane* pPane);

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpdateOvertype(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    std::vector<CQVTStatusBarPane*> m_arrPanes;  // one reference each
    CQVTCommandBars* m_pCommandBars;      // whose paint and image managers it uses; null: the global ones
    CFont* m_pFont;                       // not owned; null: the paint manager's status font
    int m_nGroupSpacing;                  // extra gap before a pane that begins a group
    int m_nMinHeight;                     // SB_SETMINHEIGHT
    BOOL m_bShowSizeGripper;              // set at creation when the parent has a sizing frame
    BOOL m_bCustomizable;                 // panes may be switched by the user and their visibility is saved
    BOOL m_bShowDisabledText;             // disabled panes still show their text
    BOOL m_bUpperCase;                    // texts shown in upper case
    CQVTStatusBarPane* m_pHotPane;        // the button pane under the mouse
    CQVTMarkupContext* m_pMarkupContext;  // set while pane texts are markup
    CQVTToolTipContext* m_pToolTipContext;
    BOOL m_bTrackingMouseLeave;
    BOOL m_bBorderBitsOff;  // the control bar's border bits are off for the base's handling
};
