// The dockable command bar: a window of the class "QVTToolBar" along an edge
// of its site, floating in a popup window of its own, or sitting in a
// dialog. It lays its controls out in rows, offers an expand button
// ("Toolbar Options") that lists what did not fit together with "Add or
// Remove Buttons" and "Reset Toolbar", shows a hide button while floating,
// and tells the site when it is shown or hidden.
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"

class CQVTDockBar;
class CQVTDockContext;
class CQVTPopupBar;

class CQVTToolBar;

// "Toolbar Options" (CQVTToolBar::CControlButtonExpand): the controls that
// did not fit and the customize list.
class CQVTToolBarExpandButton : public CQVTControlPopup
{
    DECLARE_DYNCREATE(CQVTToolBarExpandButton)

public:
    CQVTToolBarExpandButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void SetBeginGroup(BOOL) override {}

    BOOL m_bHiddenControls;  // some control did not fit: the glyph shows it
};

// The floating bar's close box (CQVTToolBar::CControlButtonHide).
class CQVTToolBarHideButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTToolBarHideButton)

public:
    CQVTToolBarHideButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
    void SetBeginGroup(BOOL) override {}
};

// One entry of "Add or Remove Buttons" (CQVTToolBar::CControlButtonCustomize):
// shows or hides its control; without one, "Reset Toolbar".
class CQVTToolBarCustomizeButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTToolBarCustomizeButton)

public:
    void OnExecute() override;

    CQVTControl* m_pTarget = nullptr;  // the toolbar's control it stands for
    CQVTToolBar* m_pToolBar = nullptr;
};

class CQVTToolBar : public CQVTCommandBar
{
    DECLARE_SERIAL(CQVTToolBar)

public:
    typedef CQVTToolBarExpandButton CControlButtonExpand;
    typedef CQVTToolBarHideButton CControlButtonHide;
    typedef CQVTToolBarCustomizeButton CControlButtonCustomize;

    // Docking flags of the "Flags" word.
    enum DockingFlags
    {
        dockTop = 0x01,
        dockBottom = 0x02,
        dockLeft = 0x04,
        dockRight = 0x08,
        dockFloat = 0x10,
        dockHideWrap = 0x20,  // what does not fit goes behind the expand button
        dockStretch = 0x40
    };

    CQVTToolBar();
    ~CQVTToolBar() override;

    // Docked layout: length along the row, LM_ mode bits plus the toolkit's,
    // and the thickness the row asks of every bar in it.
    virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
    // Goes back to the original controls (or the resource); with bPrompt only
    // after the user confirms. FALSE when nothing was reset.
    virtual BOOL ResetToolBar(BOOL bPrompt = TRUE);
    virtual BOOL CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating);
    virtual BOOL IsResetAllowed();
    void DoPropExchange(CQVTPropExchange* pPX) override;
    // Takes a loaded bar of the same id into this one; a changed built-in
    // definition asks first, unless silent or answered (6 keeps this bar's
    // new definition, 7 takes the loaded controls).
    virtual void MergeLoadedBar(CQVTToolBar* pLoaded, BOOL bSilent, int nAnswer);

    // RT_TOOLBAR resource: version, width, height, count and count ids of 16
    // bits. FALSE for a missing or short resource (nothing changes), or when
    // the image manager cannot take the icons (the buttons stay).
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) override;
    // The buttons of the ids; 0 starts a group.
    BOOL SetButtons(const UINT* pButtons, int nCount);
    BOOL LoadMenu(CMenu* pMenu, BOOL bRemoveControls = TRUE) override;

    void SetVisible(BOOL bVisible) override;
    BOOL IsVisible() const override;
    BOOL Create(int nPosition) override;
    void OnRecalcLayout() override;
    CRect GetMargins() const override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    void OnRemoved() override;

    void EnableDocking(DWORD dwFlags) { m_dwFlags = (m_dwFlags & ~0x7Fu) | (dwFlags & 0x7F); }
    // The bars hide all their bars: each remembers whether it was visible.
    void HideWithBars(BOOL bHide);

    void SetBuiltIn(BOOL bBuiltIn) { m_bBuiltIn = bBuiltIn; }
    BOOL IsBuiltIn() const { return m_bBuiltIn; }
    void SetTearOff(BOOL bTearOff) { m_bTearOff = bTearOff; }
    BOOL IsTearOff() const { return m_bTearOff; }
    void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }
    BOOL IsCloseable() const { return m_bCloseable; }
    void SetContextMenuPresent(BOOL bPresent) { m_bContextMenuPresent = bPresent; }
    void SetCustomizeDialogPresent(BOOL bPresent) { m_bCustomizeDialogPresent = bPresent; }
    BOOL IsCustomizeDialogPresent() const { return m_bCustomizeDialogPresent; }
    BOOL IsContextMenuPresent() const { return m_bContextMenuPresent; }
    void ShowExpandButton(BOOL bShow);
    BOOL IsExpandButtonShown() const { return m_bShowExpandButton; }
    CControlButtonExpand* GetExpandButton() const { return m_pExpandButton; }
    CControlButtonHide* GetHideButton() const { return m_pHideButton; }
    BOOL IsFloating() const { return m_barPosition == qvtBarFloating; }

    // Docking: the mouse loops, and the dock bar that lists the bar.
    CQVTDockContext* GetDockContext() const { return m_pDockContext.get(); }
    CQVTDockBar* GetDockBar() const { return m_pDockBar; }
    void SetDockBar(CQVTDockBar* pDockBar) { m_pDockBar = pDockBar; }
    // Bars that size freely (dialog bars) take any rectangle the dock
    // context offers while resizing; FALSE when it is refused.
    virtual BOOL IsFreeSizing() const { return FALSE; }
    virtual BOOL ResizeFreely(const CRect& rcWindow, int nHitTest) { return FALSE; }
    // A dialog bar's docked and floating client sizes; FALSE for other bars.
    virtual BOOL GetClientSizes(CSize& szDocking, CSize& szFloating) const { return FALSE; }
    virtual void SetClientSizes(CSize szDocking, CSize szFloating) {}

    // Fills a popup with one check entry per customizable control and
    // "Reset Toolbar" (the "Add or Remove Buttons" list).
    void BuildCustomizeList(CQVTPopupBar* pPopup);

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnClose();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()

    // The bar may be dragged: it docks or floats somewhere.
    BOOL IsMovable() const;

    // The bar's own buttons, made on first need; temporary, so that copies,
    // originals and comparisons leave them out.
    void EnsureExpandButton();
    void EnsureHideButton();
    // Hides the bar's own buttons for a layout; TRUE for each that was shown.
    void TakeOutOwnButtons(BOOL bExpand, BOOL bHide);
    BOOL HasOverflow() const;
    CRect GetBorders();
    void RecalcSiteLayout();

    BOOL m_bVisible;
    BOOL m_bBuiltIn;                 // comes from the program and may be reset
    BOOL m_bTearOff;                 // made by tearing a popup off; hiding removes it
    BOOL m_bCloseable;               // the hide button shows while floating
    BOOL m_bContextMenuPresent;      // listed in the toolbars context menu
    BOOL m_bCustomizeDialogPresent;  // listed in the customize dialog
    BOOL m_bShowExpandButton;
    BOOL m_bInRecalcLayout;  // guards against re-entrant layout
    BOOL m_bHiddenWithBars;  // hidden while the bars hide all their bars
    BOOL m_bVisibleBeforeHidden;
    BOOL m_bHiddenWithFrame;                // a floating bar hidden while its frame is inactive
    BOOL m_bFloatUnplaced;                  // made floating and not yet placed at the cursor
    HWND m_hWndFocusBefore;                 // the window that had the focus when the bar took it
    CControlButtonExpand* m_pExpandButton;  // in the collection, temporary
    CControlButtonHide* m_pHideButton;      // in the collection, temporary
    std::unique_ptr<CQVTDockContext> m_pDockContext;
    CQVTDockBar* m_pDockBar;  // the dock bar whose rows list the bar
};
