// The ribbon: the command bar at the top of a window, in place of the menu
// bar. From top to bottom it shows its caption row (title, quick-access
// toolbar when it sits above, caption buttons), the tab row, the groups of
// the selected tab, and the quick-access toolbar when it sits below. The
// application adds tabs, groups and controls, then selects a tab; the bar
// lays itself out for its width, shrinking groups as the window narrows,
// and draws everything through the ribbon paint manager of its theme.
//
// The layout and the painting live in QVTRibbonBarLayout.cpp.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/ribbon/bar/QVTRibbonScrollableBar.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

class CQVTCommandBarsFrameHook;
class CQVTOriginalControls;
class CQVTPopupBar;
class CQVTPropExchange;
class CQVTRibbonBarControlQuickAccessCommand;
class CQVTRibbonControlTab;
class CQVTRibbonControls;
class CQVTRibbonGroup;
class CQVTRibbonGroups;
class CQVTRibbonPaintManager;
class CQVTRibbonQuickAccessControls;
class CQVTTabPaintManager;

// Messages the ribbon sends its site.
enum QVTRibbonMessage : UINT
{
    QVTWM_RIBBONINITIALUPDATE = 0x2864,
    QVTWM_RIBBONMINIMIZE = 0x286D
};

// Command ids of the ribbon's own controls and commands.
enum QVTRibbonIds : UINT
{
    QVT_ID_RIBBONCONTROLQUICKACCESS = 9603,
    QVT_ID_RIBBONCONTROLTAB = 9604,
    QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSBELOW = 9608,
    QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSABOVE = 9609,
    QVT_ID_RIBBONCUSTOMIZE_QUICKACCESSABOVE2 = 9610,
    QVT_ID_RIBBONCONTROLQUICKACCESSMORE = 9611,
    QVT_ID_RIBBONCUSTOMIZE_MINIMIZE = 9612
};

// Hide flags the ribbon's layout uses beyond the bars'.
const DWORD QVT_RIBBON_HIDE_TABROW = 4;
const DWORD QVT_RIBBON_HIDE_SCROLL = 8;

// A caption button (minimize, maximize, restore, close) drawn in the
// ribbon's caption row.
class CQVTRibbonBarControlCaptionButton : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonBarControlCaptionButton)

public:
    CQVTRibbonBarControlCaptionButton();
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
};

// What the quick-access toolbar's two buttons share: a fixed size, and a
// menu made anew each time it opens (its commands and checks follow the
// toolbar).
class CQVTRibbonBarControlQuickAccessButton : public CQVTControlPopup
{
    DECLARE_DYNAMIC(CQVTRibbonBarControlQuickAccessButton)

public:
    CQVTRibbonBarControlQuickAccessButton();
    CSize GetSize(CDC* pDC) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnUnderlineActivate() override;

protected:
    // The menu to open, or null when there is none.
    virtual CQVTPopupBar* CreateMenu(CQVTRibbonBar* pRibbonBar) = 0;
};

// The quick-access toolbar's customize button.
class CQVTRibbonBarControlQuickAccessPopup : public CQVTRibbonBarControlQuickAccessButton
{
    DECLARE_SERIAL(CQVTRibbonBarControlQuickAccessPopup)

public:
    CSize Draw(CDC* pDC) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;

protected:
    CQVTPopupBar* CreateMenu(CQVTRibbonBar* pRibbonBar) override;
};

// The button that stands for the quick-access controls that do not fit.
class CQVTRibbonBarControlQuickAccessMorePopup : public CQVTRibbonBarControlQuickAccessButton
{
    DECLARE_SERIAL(CQVTRibbonBarControlQuickAccessMorePopup)

public:
    CSize Draw(CDC* pDC) override;

protected:
    CQVTPopupBar* CreateMenu(CQVTRibbonBar* pRibbonBar) override;
};

class CQVTRibbonBar : public CQVTMenuBar, public CQVTRibbonScrollableBar
{
    DECLARE_SERIAL(CQVTRibbonBar)

public:
    typedef CQVTRibbonBarControlQuickAccessMorePopup CControlQuickAccessMorePopup;
    typedef CQVTRibbonBarControlQuickAccessCommand CControlQuickAccessCommand;

    CQVTRibbonBar();
    ~CQVTRibbonBar() override;

    // Tabs.
    CQVTRibbonTab* AddTab(UINT nIDResource);
    CQVTRibbonTab* AddTab(LPCTSTR lpszCaption);
    CQVTRibbonTab* InsertTab(int nIndex, LPCTSTR lpszCaption, int nId = 0);
    void SetCurrentTab(int nIndex);
    CQVTRibbonTab* GetCurrentTab() const;
    // Null for an index outside the tabs.
    CQVTRibbonTab* GetTab(int nIndex) const;
    int GetTabCount() const;
    CQVTRibbonTab* FindTab(int nId) const;
    void RemoveAllTabs();
    CQVTRibbonControlTab* GetControlTab() const { return m_pControlTab; }
    CQVTRibbonQuickAccessControls* GetQuickAccessControls() const { return m_pQuickAccessControls; }

    // Shows the controls of the tab's visible groups (all hidden while the
    // ribbon is minimized) and hides every other group's controls.
    void RefreshGroupControls(CQVTRibbonTab* pTab);

    void SetRibbonMinimized(BOOL bMinimized);
    BOOL IsRibbonMinimized() const { return m_bMinimized; }
    void ShowQuickAccessBelowRibbon(BOOL bBelow);
    BOOL IsQuickAccessBelowRibbon() const { return m_bShowQuickAccessBelow; }
    BOOL IsQuickAccessVisible() const { return m_bShowQuickAccess; }
    void ShowQuickAccess(BOOL bShow);
    void EnableFrameTheme(BOOL bEnable = TRUE);
    BOOL IsQuickAccessControl(const CQVTControl* pControl) const;
    BOOL IsRibbonContentShown() const { return m_bContentShown; }
    BOOL IsCaptionRowShown() const { return m_bShowCaptionRow; }

    // The bars' frame hook; without one the ribbon draws its own caption
    // strip.
    CQVTCommandBarsFrameHook* GetFrameHook() const;
    BOOL IsFrameThemeEnabled() const;
    BOOL IsDwmEnabled() const;
    BOOL IsFrameActive() const;
    int GetFrameTopBorder() const;
    // The system button at the left of the tab row: made on the first call,
    // at index 0 of the controls; its popup is the application's.
    CQVTRibbonControlSystemButton* AddSystemButton(int nId = 0);
    CQVTRibbonControlSystemButton* GetSystemButton() const { return m_pControlSystemButton; }
    // The controls tell the bar that a control leaves them.
    void OnSystemButtonRemoving(const CQVTControl* pControl);
    // The system button's popup is a backstage view on the screen.
    BOOL IsBackstageViewVisible() const override;
    void CloseBackstageView();
    // Set by a backstage view that covers the ribbon: the tab row becomes
    // the band above it, and a press left of its menu width closes it.
    void SetBackstageMode(BOOL bMode, int nSmallBand = 0, int nBand = 0);
    BOOL IsBackstageMode() const { return m_bBackstageMode; }
    void SetBackstageMenuWidth(int nWidth) { m_nBackstageMenuWidth = nWidth; }
    int GetBackstageMenuWidth() const { return m_nBackstageMenuWidth; }
    int GetBackstageBandHeight() const { return m_nBackstageBand; }

    CQVTRibbonPaintManager* GetRibbonPaintManager() const;
    CQVTTabPaintManager* GetTabPaintManager() const;

    // Metrics.
    int GetCaptionHeight() const;
    int GetQuickAccessHeight() const;
    virtual int GetTabsHeight() const;
    virtual int GetGroupsHeightIfVisible() const;
    virtual int GetGroupsControlsHeight() const;
    virtual int CalcGroupsHeight(int nControlsHeight) const;
    virtual int GetGroupsHeight() const;

    // Geometry of the last layout.
    CRect GetTabControlRect() const { return m_rcTabControl; }
    CRect GetGroupsRect() const { return m_rcGroups; }
    CRect GetGroupsArea() const override { return m_rcGroups; }
    CRect GetCaptionRect() const { return m_rcCaption; }
    CRect GetCaptionTextRect() const { return m_rcCaptionText; }
    CRect GetCaptionAreaRect() const { return m_rcCaptionArea; }
    CRect GetQuickAccessRect() const { return m_rcQuickAccess; }
    int GetQuickAccessRowHeight() const { return m_nQuickAccessHeight; }
    const CQVTRibbonTabContextHeaderList& GetContextHeaders() const { return m_contextHeaders; }

    int HitTestCaption(CPoint point) const;
    // Whether the point lies on the tab strip itself, not on a control the
    // tab row holds beside it.
    BOOL IsOnTabStrip(CPoint point) const;
    // The visible group of the current tab under the point, outside the
    // scroll buttons; none while minimized.
    CQVTRibbonGroup* HitTestGroup(CPoint point) const override;
    // Only with a current tab; popups and tips close first.
    void OnGroupsScroll(BOOL bScrollLeft) override;

    // Notifications of a tab change: the site may refuse it (non-zero).
    virtual BOOL OnTabChanging(CQVTRibbonTab* pTab);
    virtual void OnTabChanged(CQVTRibbonTab* pTab);
    // The wheel: forward moves to the next tab. TRUE when consumed.
    BOOL OnMouseWheel(BOOL bForward) override;
    virtual BOOL IsAllowQuickAccessControl(CQVTControl* pControl);

    // The bar's command-bar operations.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    void SetVisible(BOOL bVisible) override;
    BOOL IsRibbonBar() const override { return TRUE; }
    BOOL IsKeyboardCuesVisible() const override;
    // The tabs' tooltips first, then the controls'.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    virtual CQVTRibbonBar* CreateCopy();
    void OnRemoved() override;
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    void RefreshSysButtons() override;
    void DoPropExchange(CQVTPropExchange* pPX) override;
    void ExchangeSystemButton(CQVTPropExchange* pPX);
    // A bar that is not customizable takes part in the saved layout only
    // with its quick-access controls.
    void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                QVT_BARS_EXCHANGE_PARAM* pParam) override;
    void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList) override;
    // A control inside a group: its tab becomes current and the group is
    // scrolled into view.
    virtual void OnGroupRectChanged(CQVTControl* pControl);

    // The context menu and the quick-access menus
    // (QVTRibbonBarContextMenu.cpp). Null when there is no menu.
    virtual CQVTPopupBar* CreateContextMenu(CQVTControl* pControl);
    virtual CQVTPopupBar* CreateMoreQuickAccessPopup();
    // The control a context menu is for, and what its items depend on.
    struct CContextMenuTarget
    {
        CQVTControl* pControl = nullptr;
        BOOL bInToolbar = FALSE;  // a quick-access copy
        BOOL bAllowed = FALSE;    // may be added to the quick-access toolbar
        BOOL bLocked = FALSE;     // may be neither added nor removed
    };
    CQVTControl* GetContextMenuTarget(CQVTControl* pControl) const;
    CQVTPopupBar* LoadContextMenuPopup(CQVTCommandBars* pCommandBars, BOOL bCustomizeMenu);
    int PrepareContextMenuItem(CQVTControls* pItems, int i, const CContextMenuTarget& target);
    int InsertQuickAccessCommands(CQVTControls* pItems, int i, CQVTOriginalControls* pSources);
    // The point is in the client coordinates of the control's bar.
    void ShowContextMenu(CPoint point, CQVTControl* pControl);
    void OnPopupRButtonUp(CQVTCommandBar* pPopupBar, CPoint point) override;
    // Customize-mode drops: quick-access controls take none, and an empty
    // place in a group of a customizable ribbon takes the control into the
    // group. InsertControlAt answers the drop effect: the caller's when the
    // control was inserted, qvtDropEffectCancelled when it was dropped on
    // itself, qvtDropEffectNone when the place takes no control. The
    // ribbon's rows are no wrapped rows: a drop counts the controls level
    // with the point.
    int CalcInsertPosition(CQVTControl* pDragged, CPoint point, BOOL& bAfter, CRect& rcMark) const override;
    BOOL IsRowsByExtent() const override { return TRUE; }
    virtual DWORD InsertControlAt(CQVTControl* pControl, CPoint ptStart, CPoint ptEnd,
                                  DWORD dwEffect = qvtDropEffectMove);
    // Drops go through InsertControlAt; a place that takes no control
    // leaves the source its control.
    void OnCustomizeDrop(CQVTControl* pDataObject, DWORD& dropEffect, CPoint ptDrop, CPoint ptDrag) override;

    // The popup of a minimized ribbon's tab; null when it cannot be made.
    virtual CQVTPopupBar* CreateTabPopupToolBar(CQVTRibbonTab* pTab);

    // Keyboard tips and keys (QVTRibbonBarKeyboard.cpp). Level 1 shows the
    // quick-access controls and the tabs, level 2 the current tab's
    // controls; the popups of groups and tabs ask for their copies' tips.
    void CreateKeyboardTips() override;
    void OnKeyboardTip(CQVTCommandBarKeyboardTip* pTip) override;
    // Alt, digits for the quick-access controls, tab access keys.
    BOOL OnMnemonicKey(UINT nChar) override;
    BOOL ProcessNavigationKey(int nCode) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    void CreateTabKeyboardTips(CQVTCommandBar* pBar, CQVTRibbonTab* pTab);
    void CreateGroupKeyboardTips(CQVTCommandBar* pBar, CQVTRibbonGroup* pGroup, BOOL bGroupVisible);
    void CreateControlKeyboardTip(CQVTCommandBar* pBar, CQVTControl* pControl, LPCTSTR lpszPrefix,
                                  BOOL bGroupVisible);

    // Layout requests are collected while the lock is up.
    void LockLayout() { ++m_nLockLayout; }
    void UnlockLayout();
    void RequestLayout();
    // Set by groups whose controls changed during a layout.
    void SetUpdatePending() { m_bUpdatePending = TRUE; }
    int GetMinVisibleWidth() const { return m_nMinVisibleWidth; }
    // Below this width the bar hides itself; 0 keeps it shown in any window.
    void SetMinVisibleWidth(int nWidth) { m_nMinVisibleWidth = nWidth; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysColorChange();
    afx_msg void OnCustomizeCommand(UINT nId);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // The commands of the context menu; 0 leaves the default to the bars.
    LRESULT OnQuickAccessCommand(UINT nId, NMQVTCONTROL* pNM);

    // Layout steps (QVTRibbonBarLayout.cpp).
    void RepositionControls(CDC* pDC, int nWidth, int nHeight);
    // The steps of RepositionControls, in order.
    void SetRowRects(int nWidth);
    void GetRowControls(std::vector<CQVTControl*>& arrQuickAccess, std::vector<CQVTControl*>& arrOthers);
    void SetQuickAccessRect(int nWidth);
    int RepositionSystemButton(CDC* pDC);
    int RepositionLeftControls(CDC* pDC, const std::vector<CQVTControl*>& arrOthers, int x);
    void RepositionQuickAccess(CDC* pDC, const std::vector<CQVTControl*>& arrQuickAccess, int nWidth);
    int RepositionRightControls(CDC* pDC, const std::vector<CQVTControl*>& arrOthers, int nWidth);
    CRect RepositionTabRow(CDC* pDC, int nTabContentStart, int nRight);
    void MarkControlsBesideTabs(const std::vector<CQVTControl*>& arrOthers, const CRect& rcTabRow);
    void RepositionGroups(CDC* pDC, CRect rcGroups);
    void RepositionCaptionButtons();
    // Adds, places or removes one caption button at the caption area's
    // right end (which then shrinks).
    void AddCaptionButton(int nId, BOOL bShow, BOOL bEnabled, CRect& rcCaption);
    void RepositionCaptionTitle();
    void RepositionContextHeaders();
    void BuildContextHeaders();
    BOOL FitContextHeaders();
    void MoveTitleBesideHeaders();
    CQVTRibbonGroups* GetScrolledGroups() const override;
    void ClosePopups();
    void DrawSelectionOutline(CDC* pDC, CRect rc);

    CQVTRibbonControls* m_pRibbonControls;                                // the bar's list (m_pControls)
    CQVTRibbonQuickAccessControls* m_pQuickAccessControls;                // owned
    CQVTRibbonControlTab* m_pControlTab;                                  // in the controls
    CQVTRibbonControlSystemButton* m_pControlSystemButton;                // in the controls; null: none
    CQVTRibbonBarControlQuickAccessPopup* m_pControlQuickAccess;          // in the controls
    CQVTRibbonBarControlQuickAccessMorePopup* m_pControlQuickAccessMore;  // in the controls
    CQVTRibbonTabContextHeaderList m_contextHeaders;                      // rebuilt by every layout
    CString m_strCaptionText;                                             // the site's title as last measured
    CRect m_rcTabControl;
    CRect m_rcGroups;
    CRect m_rcCaption;
    CRect m_rcCaptionText;
    CRect m_rcCaptionArea;  // free caption space between quick access and caption buttons
    CRect m_rcQuickAccess;
    int m_nQuickAccessHeight;  // measured at every layout
    int m_nQuickAccessRight;   // right end of the last quick-access control above the ribbon
    BOOL m_bContentShown;      // FALSE while the bar or the site is too small
    BOOL m_bShowQuickAccessBelow;
    BOOL m_bShowQuickAccess;
    BOOL m_bMinimized;
    BOOL m_bShowCaptionRow;        // always TRUE: the ribbon draws its caption row
    int m_nMinVisibleWidth;        // 250 px, scaled
    int m_nQuickAccessCaptionGap;  // 4 px, scaled
    BOOL m_bTabClickPending;       // a press selected the tab that was already current
    BOOL m_bUpdatePending;         // groups' controls changed during the layout
    int m_nLockLayout;             // while above 0, layout requests are collected
    BOOL m_bLayoutRequested;
    BOOL m_bBackstageMode;      // a backstage view covers the ribbon
    int m_nBackstageMenuWidth;  // its menu's width
    int m_nBackstageSmallBand;  // the view's own band metric
    int m_nBackstageBand;       // the tab row's height meanwhile
};
