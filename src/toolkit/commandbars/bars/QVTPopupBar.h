// The drop-down menu of the command bars: a top-level tool window that shows
// the controls of a popup control (a menu, a submenu, a split button's list,
// a context menu) beside the control that opened it or at a point, keeps
// inside the monitor's work area (flipping, opening upwards, scrolling or
// wrapping into columns), animates itself in, hides rarely used commands
// behind an expand button, can be torn off into a floating toolbar and
// resized by a gripper. CQVTPopupToolBar is the same window laid out as a
// toolbar.
//
// The class spans two files: QVTPopupBarLayout.cpp holds the placement and
// the layouts (direction, work area, scrolling, columns).
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTControlPopup;
class CQVTToolBar;

// The button at the bottom of a popup that shows its rarely used commands
// (CQVTPopupBar::CControlExpandButton).
class CQVTPopupBarExpandButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTPopupBarExpandButton)

public:
    CQVTPopupBarExpandButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
};

class CQVTPopupBar : public CQVTCommandBar
{
    DECLARE_SERIAL(CQVTPopupBar)

public:
    typedef CQVTPopupBarExpandButton CControlExpandButton;

    // Bits of the direction flags.
    enum DirectionFlags
    {
        directionReversed = 1,    // to the left of the exclude rectangle, or right-aligned on it
        directionBelow = 2,       // drops down below the exclude rectangle
        directionBottomAlign = 4  // bottom-aligned on the popup point
    };
    // What the popup's resizable control lets the gripper change.
    enum ResizeMode
    {
        resizeNone = 0,
        resizeWidth = 1,
        resizeHeight = 2,
        resizeBoth = 3
    };
    enum
    {
        TIMER_SCROLLDOWN = 5001,
        TIMER_SCROLLUP = 5002,
        TIMER_TEAROFF = 5003,
        TIMER_EXPAND = 5004
    };

    // A scroll button of a popup that scrolls while the pointer rests on
    // it (the skinned menus' too), in the window's client coordinates.
    struct SCROLLBUTTONSTATE
    {
        HWND hWnd;
        UINT_PTR nTimerId;
        CRect rcButton;  // empty when not shown
        BOOL bTimerRunning;
    };

    CQVTPopupBar();
    ~CQVTPopupBar() override;

    // Inside the button: its 200-ms scroll timer runs (started unless it
    // does) and TRUE; outside: the timer is killed.
    static BOOL AFX_CDECL ScrollButtonHitTest(SCROLLBUTTONSTATE* pState, CPoint point);

    // A popup bar of the class the bars make them from, attached to them.
    static CQVTPopupBar* AFX_CDECL CreatePopupBar(CQVTCommandBars* pCommandBars);

    virtual BOOL CreatePopupWindow();
    // The screen rectangle of a popup of the size opening at the point.
    virtual CRect CalcPopupRect(CPoint pt, CSize sz);
    // The steps of CalcPopupRect (QVTPopupBarLayout.cpp).
    struct CPopupPlacement;
    void PlacePopupVertically(CPopupPlacement& place);
    void PlaceBelowPopupElsewhere(CPopupPlacement& place);
    void FitPopupToWorkHeight(CPopupPlacement& place);
    void PlacePopupHorizontally(CPopupPlacement& place);
    void SetPopupScrolling(BOOL bScroll, CSize sz);
    // Direction, exclude rectangle and point from the owner control.
    virtual void UpdateLocation();
    virtual void AdjustExcludeRect(CRect& rc, BOOL bVertical);
    virtual void ShowPopupWindow();
    // The work and screen areas of the monitor of the exclude rectangle (of
    // the point when there is none).
    virtual void GetMonitorAreas(const CRect& rcExclude, CPoint pt, CRect& rcWork, CRect& rcScreen) const;

    // Shows the popup for its control; TRUE when it is shown.
    BOOL Popup(CQVTControl* pControlPopup, BOOL bSelectFirst = FALSE) override;
    // Shows the popup at a screen point, outside the exclude rectangle.
    BOOL PopupAt(int x, int y, LPCRECT lpExclude = nullptr, BOOL bSelectFirst = FALSE);

    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL SetSelected(int nSelected, int reason = 0) override;
    BOOL IsVisible() const override;
    BOOL IsPopupBar() const override { return TRUE; }
    void DelayRedraw() override;
    void OnRecalcLayout() override;
    void OnControlsChanged() override;
    CQVTCommandBar* GetParentCommandBar() const override;
    // The control that dropped the popup, else the window's object.
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    int GetResizeMode() const override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQVTPropExchange* pPX) override;
    void SetDoubleGripper(BOOL bDouble) { m_bDoubleGripper = bDouble; }
    BOOL IsDoubleGripper() const { return m_bDoubleGripper; }
    BOOL DestroyWindow() override;

    // Shows the rarely used commands; nothing when already expanded or when
    // there is no expand button.
    BOOL ExpandBar();
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL IsExpandButtonShown() const { return m_bShowExpandButton; }
    CQVTControl* GetExpandButton() const { return m_pExpandButton; }

    CQVTControlPopup* GetControlPopup() const { return m_pControlPopup; }
    CPoint GetPopupPoint() const { return m_ptPopup; }
    CRect GetExcludeRect() const { return m_rcExclude; }
    DWORD GetDirectionFlags() const { return m_dwDirection; }
    void SetDirectionFlags(DWORD dwDirection) { m_dwDirection = dwDirection; }
    // The control executed by a double click on the opening control.
    CQVTControl* GetDefaultItem() const;

    void SetTearOffPopup(LPCTSTR lpszCaption, UINT nID, int nWidth = 400);
    BOOL IsTearOffPopup() const { return m_bTearOffPopup; }
    CString GetTearOffCaption() const { return m_strTearOffCaption; }
    UINT GetTearOffId() const { return m_nTearOffId; }

    void SetShowShadow(BOOL bShow) { m_bShowShadow = bShow; }
    BOOL IsShadowEnabled() const { return m_bShowShadow; }
    void SetMaxHeight(int nMaxHeight) { m_nMaxHeight = nMaxHeight; }
    int GetMaxHeight() const { return m_nMaxHeight; }
    BOOL IsScrolling() const { return m_bScrolling; }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int GetEndVisible() const { return m_nEndVisible; }
    CRect GetScrollUpRect() const { return m_rcScrollUp; }
    CRect GetScrollDownRect() const { return m_rcScrollDown; }
    CRect GetTearOffGripperRect() const { return m_rcTearOffGripper; }
    CRect GetResizeGripperRect() const { return m_rcResizeGripper; }
    // Laid out in more than one column.
    BOOL IsMultiColumn() const;
    // Context menus: chains whose root is a popup bar of the bars' list.
    void SetContextMenu(BOOL bContextMenu) { m_bContextMenu = bContextMenu; }
    BOOL IsContextMenu() const { return m_bContextMenu; }
    // The animation the next show uses, by the options (5 none).
    int GetAnimationType() const;
    // The animation the last show ran; 0 when it ran none.
    int GetLastAnimation() const { return m_nLastAnimation; }
    void SetBorders(CRect rcBorders) { m_rcBorders = rcBorders; }

protected:
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Layout steps (QVTPopupBarLayout.cpp).
    CRect GetPopupBorders();
    void UpdateExpandingState();
    void PlaceExpandButton(CSize szBar);
    void LayoutScrolled(CSize szBar, BOOL bFromEnd);
    void ScrollBy(int nDirection);
    void EnsureVisibleByScroll(int nIndex);
    CSize LayoutPopupMenu(int nHeightLimit);
    CQVTControl* GetResizableControl() const;
    // What the gripper changes of the resizable control.
    static int GetResizeModeOf(CQVTControl* pResizable);

    // Steps of showing and closing.
    void RemoveShadows();
    void AddShadows();
    void ReplacePopup(CRect rcNew);
    void TrackTearOff(CPoint point);
    void TrackResize(CPoint point);
    CQVTToolBar* TearOffToolBar();

    CQVTControlPopup* m_pControlPopup;  // the control whose popup this is; none for a context menu
    CPoint m_ptPopup;                   // screen point the popup opens at
    CRect m_rcExclude;                  // screen rectangle the popup does not cover
    DWORD m_dwDirection;                // DirectionFlags
    BOOL m_bExpanded;                   // the rarely used commands show
    BOOL m_bShowExpandButton;           // there are hidden commands: the expand button shows
    BOOL m_bExpanding;                  // the next re-placement runs the expand animation
    CQVTControl* m_pExpandButton;       // made on first need; not in the collection
    BOOL m_bTearOffPopup;
    CString m_strTearOffCaption;
    UINT m_nTearOffId;
    int m_nTearOffWidth;
    CRect m_rcTearOffGripper;
    BOOL m_bTearOffSelected;  // the gripper is hot
    BOOL m_bTearOffTracking;  // the gripper is being dragged
    int m_nResizeMode;        // ResizeMode of the control inside
    CRect m_rcResizeGripper;
    BOOL m_bShowShadow;
    CRect m_rcBorders;  // a popup toolbar's margins
    int m_nMaxHeight;   // 0: none
    BOOL m_bScrolling;
    int m_nFirstVisible;  // first control shown while scrolling
    int m_nEndVisible;    // one past the last shown
    CRect m_rcScrollUp;
    CRect m_rcScrollDown;
    BOOL m_bScrollUpTimer;
    BOOL m_bScrollDownTimer;
    BOOL m_bInLayout;  // re-placement is skipped meanwhile
    int m_nShowLock;   // a redraw asked for while showing waits for the end
    BOOL m_bRedrawWhenShown;
    BOOL m_bContextMenu;
    BOOL m_bClosing;        // closing runs once, also when the owner control closes it again
    BOOL m_bMultiColumn;    // the last layout made more than one column
    int m_nLastAnimation;   // the animation the last show ran (0 none)
    BOOL m_bExpandTimer;    // the expand button's hover timer runs
    BOOL m_bDoubleGripper;  // the icon column is two icons wide (icons and check marks)
    friend class CQVTControlPopup;
};

class CQVTPopupToolBar : public CQVTPopupBar
{
    DECLARE_SERIAL(CQVTPopupToolBar)

public:
    CQVTPopupToolBar();

    static CQVTPopupToolBar* AFX_CDECL CreatePopupToolBar(CQVTCommandBars* pCommandBars);

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
};
