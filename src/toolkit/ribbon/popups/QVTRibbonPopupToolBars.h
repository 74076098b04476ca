// The popups that show ribbon content outside the ribbon: a reduced group
// opened from its popup button, and the groups of a tab shown below the
// tab row while the ribbon is minimized. Each shows its own copy of the
// group or tab, laid out and drawn as the ribbon would, and scrolls its
// group area like the ribbon does.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/ribbon/bar/QVTRibbonScrollableBar.h"

class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonGroups;
class CQVTRibbonTab;

class CQVTRibbonGroupPopupToolBar : public CQVTPopupToolBar, public CQVTRibbonScrollableBar
{
    DECLARE_SERIAL(CQVTRibbonGroupPopupToolBar)

public:
    CQVTRibbonGroupPopupToolBar();
    ~CQVTRibbonGroupPopupToolBar() override;

    // Makes the copy of the group; FALSE when its class cannot be made.
    BOOL SetGroup(CQVTRibbonGroup* pSourceGroup);
    CQVTRibbonGroup* GetGroup() const { return m_pGroup; }
    CQVTRibbonGroup* GetSourceGroup() const { return m_pSourceGroup; }
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    // An empty popup of this class with the source's copy.
    virtual CQVTRibbonGroupPopupToolBar* CreateCopy();

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    BOOL IsKeyboardCuesVisible() const override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    void CreateKeyboardTips() override;
    BOOL ProcessNavigationKey(int nCode) override;
    void OnRemoved() override;

    CRect GetGroupsArea() const override;
    CQVTRibbonGroup* HitTestGroup(CPoint point) const override;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    void ReleaseGroup();

    CQVTRibbonBar* m_pRibbonBar;      // not owned
    CQVTRibbonGroup* m_pSourceGroup;  // not owned; the group in the ribbon
    CQVTRibbonGroup* m_pGroup;        // owned copy, its controls in this bar
};

class CQVTRibbonTabPopupToolBar : public CQVTPopupToolBar, public CQVTRibbonScrollableBar
{
    DECLARE_SERIAL(CQVTRibbonTabPopupToolBar)

public:
    CQVTRibbonTabPopupToolBar();
    ~CQVTRibbonTabPopupToolBar() override;

    // Makes the copy of the tab; FALSE when its class cannot be made.
    BOOL SetTab(CQVTRibbonTab* pSourceTab);
    CQVTRibbonTab* GetTab() const { return m_pTab; }
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CRect CalcPopupRect(CPoint pt, CSize sz) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    BOOL IsKeyboardCuesVisible() const override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    void CreateKeyboardTips() override;
    BOOL ProcessNavigationKey(int nCode) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void OnRemoved() override;

    CRect GetGroupsArea() const override { return m_rcGroups; }
    CQVTRibbonGroup* HitTestGroup(CPoint point) const override;
    void OnGroupsScroll(BOOL bScrollLeft) override;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    CQVTRibbonGroups* GetScrolledGroups() const override;
    void ReleaseTab();

    CQVTRibbonBar* m_pRibbonBar;  // not owned
    CQVTRibbonTab* m_pTab;        // owned copy, its groups' controls in this bar
    CRect m_rcGroups;             // client coordinates
    CRect m_rcPopup;              // screen rectangle of the last layout
};
