// The window every bar derives from: it holds the bar's controls, finds its
// command bars, site and paint manager up the parent chain, draws through the
// paint manager and its animation object, keeps the hot and the opened
// control, and updates its controls' state from the site's command handlers
// at idle time.
#pragma once

#include <afxwin.h>

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/accessibility/QVTAccessible.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTCommandBars;
class CQVTCommandBarAnimation;
class CQVTCommandBarList;
class CQVTPropExchange;
struct QVT_BARS_EXCHANGE_PARAM;
class CQVTCommandBarKeyboardTip;
class CQVTControl;
class CQVTControls;
class CQVTImageManager;
class CQVTToolTipContext;

class CQVTCommandBar : public CWnd,
                       public CQVTHookManagerHookAble,
                       public CQVTAccessible,
                       public IQVTPaintManagerEvents
{
    DECLARE_SERIAL(CQVTCommandBar)

public:
    // The command UI of one control; MFC's ON_UPDATE_COMMAND_UI handlers
    // reach the control through it.
    class CCommandBarCmdUI : public CCmdUI
    {
    public:
        void Enable(BOOL bOn = TRUE) override;
        void SetCheck(int nCheck = 1) override;
        void SetText(LPCTSTR lpszText) override;

        CQVTControl* m_pControl = nullptr;
    };

    // The code with which a bar offers itself all its controls' state.
    static const UINT CN_UPDATE_CONTROLS = 0xBD11FFFF;

    // What a navigation key asks of a tracking bar.
    enum NavigationCode
    {
        navigateNext = 0,
        navigatePrevious = 1,
        navigateCollapse = 2,  // close the open popup, or move out to the parent
        navigateExpand = 3,    // open the selected control's popup
        navigateEscape = 4,
        navigateExecute = 5,
        navigateFirst = 6,
        navigateLast = 7,
        navigatePreviousHorizontal = 8,
        navigateNextHorizontal = 9,
        navigateSystemMenu = 10
    };
    // Why a control was selected (SetSelected's reason).
    enum SelectionReason
    {
        selectByMouse = 0,
        selectByMnemonic = 1,
        selectByKeyboardForward = 2,
        selectByKeyboardBackward = 3
    };
    // What OnHookKeyDown answers.
    enum HookKeyResult
    {
        keyNotForBar = 0,
        keyHandled = 1,
        keyPassOn = 2
    };

    CQVTCommandBar();
    ~CQVTCommandBar() override;

    // Lookups along the parent chain.
    CQVTCommandBars* GetCommandBars() const;
    CQVTCommandBar* GetRootParent() const;
    CQVTPaintManager* GetPaintManager() const;
    CQVTImageManager* GetImageManager() const;
    CWnd* GetSite() const;
    CWnd* GetOwnerSite() const;

    CQVTControls* GetControls() const { return m_pControls; }
    int GetControlCount() const;
    CQVTControl* GetControl(int nIndex) const;
    void SetControls(CQVTControls* pControls);
    void SetCommandBars(CQVTCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    void SetPaintManager(CQVTPaintManager* pPaintManager);
    void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    void SetOwnerOverride(CWnd* pOwner) { m_pOwnerOverride = pOwner; }

    void SetFlags(DWORD dwAdd, DWORD dwRemove = 0) { m_dwFlags = (m_dwFlags | dwAdd) & ~dwRemove; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetShowGripper(BOOL bShow);
    BOOL IsGripperVisible() const { return (m_dwStyle & QVT_CBRS_GRIPPER) != 0; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
    int GetMRUWidth() const { return m_nMRUWidth; }
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle);
    int GetType() const { return m_barType; }
    void SetType(int nType) { m_barType = nType; }
    int GetPosition() const { return m_barPosition; }
    void SetPosition(int nPosition) { m_barPosition = nPosition; }
    UINT GetBarID() const { return m_nBarID; }
    void SetBarID(UINT nId) { m_nBarID = nId; }
    void SetIconSize(CSize sz) { m_szIcons = sz; }
    void SetButtonSize(CSize sz) { m_szButtons = sz; }
    void SetTextBelowIcons(int nTextBelow) { m_nTextBelowIcons = nTextBelow; }
    BOOL IsTextBelowIcons() const;
    void SetTextOrientation(int nOrientation) { m_nTextOrientation = nOrientation; }
    int GetTextOrientation() const { return m_nTextOrientation; }
    void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
    int GetSelectedIndex() const { return m_nSelected; }
    int GetPopupedIndex() const { return m_nPopuped; }
    int GetTrackingMode() const { return m_nTrackingMode; }
    BOOL IsTrackingMode() const { return m_nTrackingMode != 0; }
    int GetSelectionReason() const { return m_nSelectionReason; }
    // Raised while a child popup of this bar opens (input to it waits).
    int GetPopupLock() const { return m_nPopupLock; }
    void AdjustPopupLock(int nDelta) { m_nPopupLock = std::max(0, m_nPopupLock + nDelta); }
    // Tracking entered with the mouse: the first popup it opens animates.
    BOOL IsEnteredByMouse() const { return m_bEnteredByMouse; }
    void SetEnteredByMouse(BOOL bEntered) { m_bEnteredByMouse = bEntered; }
    // A popup tracked modally: its command comes back through the slot.
    void SetTrackingFlags(BOOL bRightButton, BOOL bNoNotify, BOOL bRecurse);
    BOOL IsRecursePopup() const { return m_bRecursePopup; }
    BOOL IsNoNotify() const { return m_bNoNotify; }
    void SetCommandResult(int* pResult) { m_pCommandResult = pResult; }
    int* GetCommandResult() const { return m_pCommandResult; }
    void SetHoverOpensPopups(BOOL bOpens) { m_bHoverOpensPopups = bOpens; }
    BOOL GetHoverOpensPopups() const { return m_bHoverOpensPopups; }
    int GetDefaultButtonStyle() const { return m_buttonStyle; }
    void SetDefaultButtonStyle(int nStyle) { m_buttonStyle = nStyle; }
    BOOL IsCustomizeMode() const;
    BOOL IsLayoutRTL() const;
    BOOL IsFrameCompositionActive() const;
    void EnableAnimation(BOOL bEnable = TRUE);
    BOOL IsAnimationEnabled() const;
    CQVTCommandBarAnimation* GetAnimation() const { return m_pAnimation; }
    void SetCapturedControl(CQVTControl* pControl);
    CQVTControl* GetCapturedControl() const { return m_pCapturedControl; }
    void OnUpdateCmdUI();
    void RedrawParents();
    int GetRedrawLock() const { return m_nLockRedraw; }
    void LockRedraw() { ++m_nLockRedraw; }
    void UnlockRedraw();
    // A re-layout at the next idle update.
    void DelayLayout() { m_dwPending |= pendingLayout; }
    BOOL IsLayoutPending() const { return (m_dwPending & pendingLayout) != 0; }
    BOOL IsRedrawPending() const { return (m_dwPending & pendingRedraw) != 0; }
    void SetStatusText(const CString& strText);
    void UpdateDocTemplateControls(UINT nTemplateId);
    // Closes the opened control's popup, or opens one; FALSE when nothing
    // changed or the control cannot open.
    BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);

    // Operations a derived bar overrides.
    virtual void DelayRedraw() { m_dwPending |= pendingRedraw; }
    virtual BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
    virtual BOOL LoadMenu(CMenu* pMenu, BOOL bRemoveControls = TRUE);
    virtual BOOL SetSelected(int nSelected, int reason = 0);
    virtual CSize GetIconSize() const;
    virtual CSize GetButtonSize() const;
    // The icon size of buttons whose caption stands below a large icon.
    virtual CSize GetLargeIconSize() const;
    virtual BOOL Popup(CQVTControl* pControl, BOOL bSelectFirst) { return FALSE; }
    virtual void SetVisible(BOOL bVisible) {}
    virtual BOOL IsVisible() const { return FALSE; }
    virtual BOOL Create(int nPosition) { return FALSE; }
    virtual BOOL IsCustomizable() const { return m_bCustomizable; }
    virtual void OnRecalcLayout() {}
    virtual void OnTrackLost() { SetTrackingMode(FALSE, TRUE, FALSE); }
    virtual void ClearSelection() { SetSelected(-1, 0); }
    virtual void OnControlSelected(BOOL bSelected, CQVTControl* pControl);
    virtual CQVTCommandBar* GetParentCommandBar() const { return nullptr; }
    virtual BOOL IsDialogBar() const { return FALSE; }
    virtual BOOL IsRibbonBar() const { return FALSE; }
    // A ribbon's backstage view covers the site.
    virtual BOOL IsBackstageViewVisible() const { return FALSE; }
    // The wheel the bars pre-translate (forward: delta of 0 or less); TRUE
    // when the bar consumed it.
    virtual BOOL OnMouseWheel(BOOL bForward) { return FALSE; }
    using CWnd::OnMouseWheel;
    virtual BOOL IsPopupBar() const { return FALSE; }
    virtual BOOL IsKeyboardCuesVisible() const;
    virtual void Redraw(LPCRECT lpRect = nullptr, BOOL bAnimate = TRUE);
    virtual void DrawCommandBar(CDC* pDC, CRect rcClipBox);
    virtual void OnSelectByKeyboard(CQVTControl* pControl) {}
    virtual CRect GetMargins() const;
    virtual void FillCommandBarEntry(CDC* pDC);
    virtual int GetResizeMode() const { return 0; }
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode) { return CSize(0, 0); }
    // Toolbars load their buttons from a toolbar resource.
    virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) { return FALSE; }
    virtual void OnControlsChanged();
    virtual void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE);
    virtual BOOL IsPointInBar(CPoint point) const;
    virtual void UpdateShortcuts();
    virtual void OnRemoved();
    // -1: no opinion on the control's enabled state.
    virtual int IsControlEnabled(const CQVTControl* pControl) const { return -1; }
    // Where a control dragged in customize mode lands at the point: the
    // index of the control it goes beside (-1 for none), the side and the
    // insert mark to draw (QVTCommandBarInsertPosition.cpp).
    virtual int CalcInsertPosition(CQVTControl* pDragged, CPoint point, BOOL& bAfter, CRect& rcMark) const;
    CRect GetInsertMark() const { return m_rcInsertMark; }
    // A customize drag over the bar (QVTCommandBarCustomize.cpp): enter and
    // over answer the QVTDropEffect the bar takes there (none refuses);
    // points are in client coordinates.
    virtual DWORD OnCustomizeDragEnter(CQVTControl* pDataObject, CPoint point);
    virtual DWORD OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point);
    virtual void OnCustomizeDragLeave();
    // Inserts a copy of the control where it was dropped; a drop that the
    // source must not follow by removing its control turns the effect into
    // qvtDropEffectCancelled.
    virtual void OnCustomizeDrop(CQVTControl* pDataObject, DWORD& dropEffect, CPoint ptDrop, CPoint ptDrag);
    // The insert mark, inverted over what the bar drew.
    void DrawInsertMark(CDC* pDC);
    // Drops count only the controls level with the point (off: rows are
    // the rows that wrapping controls begin).
    virtual BOOL IsRowsByExtent() const { return FALSE; }
    virtual void OnIdleUpdate(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnMnemonicKey(UINT nChar) { return FALSE; }
    // Keys while the bar tracks; the tracking and keyboard code lives in
    // QVTCommandBarKeyboard.cpp.
    virtual int OnHookKeyDown(UINT nChar, LPARAM lParam);
    virtual BOOL ProcessNavigationKey(int nCode);
    // The steps of OnHookKeyDown and ProcessNavigationKey.
    BOOL ProcessCommandKey(UINT nChar, int& nAnswer);
    int GetArrowNavigation(UINT nChar) const;
    void ProcessCharacterKey(UINT nChar, BOOL bControl);
    BOOL OpenSystemMenuByKey();
    void SelectAcrossRows(CQVTControl* pSelected, int nDirection);
    void EscapeByKey();
    virtual void CreateKeyboardTips();
    virtual void OnKeyboardTip(CQVTCommandBarKeyboardTip* pTip);
    // The control whose mnemonic (else first letter) the key types, from the
    // selected one on; -1 when none.
    int FindAccelControl(UINT nChar, BOOL& bAmbiguous) const;
    // Narrows the shown keyboard tips by a typed key.
    void ShowKeyboardTipChar(UINT nChar);
    void HideKeyboardTips();
    // Vertical bars navigate with Up and Down.
    BOOL IsHorizontalBar() const;
    virtual void OnPopupRButtonUp(CQVTCommandBar* pChild, CPoint point) {}
    virtual CQVTCommandBar* Clone(BOOL bRecursive = FALSE);
    // Small gripper of dialog bars.
    virtual BOOL IsSmallGripper() const { return FALSE; }

    // The saved layout (QVTCommandBarExchange.cpp): the bar's keys and its
    // controls; the list of bars a layout block holds, where popup bars get
    // numbers that the popup controls refer to.
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                        QVT_BARS_EXCHANGE_PARAM* pParam);
    virtual void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnFinalRelease() override;
    // The tooltip of the control under the point (QVTCommandBarToolTips.cpp).
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // CQVTHookManagerHookAble: the keys and wheel the thread's keyboard
    // manager offers while the bar tracks.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // IQVTPaintManagerEvents
    void OnPaintManagerDestroyed(CQVTPaintManager* pPaintManager) override;

    // The accessible face: the bar, its controls as children.
    CCmdTarget* GetAccessibleCmdTarget() override { return this; }
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                               VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;

    // A bar's hover-open delay (ms).
    static int s_nHoverDelay;

    enum
    {
        TIMER_HOVER = 0x1B65F,
        TIMER_SHOWFULL = 0x1B660,
        TIMER_KEYBOARDTIPS = 52426
    };

protected:
    enum Pending
    {
        pendingLayout = 1,
        pendingRedraw = 2
    };

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
    DECLARE_INTERFACE_MAP()

    BOOL IsInHelpMode() const;
    // Customize mode's mouse: Alt+press drags a toolbar control without the
    // customize window; the resize cursor near a control's edge.
    BOOL StartAltDrag(CQVTControl* pControl, CPoint point);
    void ShowCustomizeResizeCursor(CPoint point);
    void DrawCustomizeMarks(CDC* pDC);
    void ReleasePaintManager();

    BOOL m_bHoverOpensPopups;  // a hot control opens its popup after the delay
    BOOL m_bHideCaret;         // hide the focus window's caret while tracking
    int m_nMRUWidth;           // last width the user chose
    int m_nSelected;           // index of the hot control
    int m_nPopuped;            // index of the control whose popup is open
    HWND m_hwndCaret;          // window whose caret was hidden
    UINT m_nBarID;             // 1 is the menu bar
    int m_nTrackingMode;       // 0 off, 1 tracking, 2 with a popup open
    CWnd* m_pOwner;            // receiver of commands (popups: the tracking window)
    DWORD m_dwPending;         // Pending bits, done at the next idle update
    DWORD m_dwFlags;           // the bar's "Flags" word
    DWORD m_dwStyle;           // style bits; QVT_CBRS_GRIPPER shows the gripper
    CString m_strTitle;
    int m_barType;                    // QVTBarType
    CQVTControls* m_pControls;        // owned
    int m_barPosition;                // QVTBarPosition
    CQVTCommandBars* m_pCommandBars;  // owning bars, top-level bars only
    CWnd* m_pOwnerOverride;           // explicit command receiver
    CSize m_szIcons;                  // (0, 0): from the options or the theme
    CSize m_szButtons;                // (0, 0): icon size plus 6 px each way
    int m_nTextBelowIcons;            // 0 no, 1 yes, 2 as the options say
    BOOL m_bRightButtonTracking;
    BOOL m_bNoNotify;  // commands not sent, state not updated
    BOOL m_bRecursePopup;
    CRect m_rcInsertMark;  // where a customize drop would land; empty when none
    int m_nPopupLock;
    int m_nSelectionReason;  // of the last SetSelected
    BOOL m_bCustomizable;
    BOOL m_bEnteredByMouse;
    int m_nLockRedraw;                  // while above 0, Redraw only marks it pending
    CQVTPaintManager* m_pPaintManager;  // own theme, observed
    CQVTImageManager* m_pImageManager;
    CQVTControl* m_pCapturedControl;  // receives mouse moves while it holds the mouse
    CQVTToolTipContext* m_pToolTipContext;
    CQVTCommandBarAnimation* m_pAnimation;  // owned
    int* m_pCommandResult;                  // a modal popup's chosen command goes here
    int m_buttonStyle;                      // default button style of the bar's controls
    int m_nTextOrientation;                 // 0 by position, 1 vertical, 2 horizontal
    BOOL m_bTrackingMouseLeave;

    friend class CQVTCommandBars;
    friend class CQVTCommandBarAnimation;
};

// Reference on a bar for the length of a block.
class CQVTCommandBarRef
{
public:
    explicit CQVTCommandBarRef(CQVTCommandBar* pBar) : m_pBar(pBar)
    {
        if (m_pBar)
            m_pBar->InternalAddRef();
    }
    ~CQVTCommandBarRef()
    {
        if (m_pBar)
            m_pBar->InternalRelease();
    }
    CQVTCommandBarRef(const CQVTCommandBarRef&) = delete;
    CQVTCommandBarRef& operator=(const CQVTCommandBarRef&) = delete;

private:
    CQVTCommandBar* m_pBar;
};
