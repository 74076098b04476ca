// The ribbon's row of tabs: a control of the ribbon bar and a tab strip at
// once. It binds the tab logic to the ribbon: its paint manager is the
// ribbon's, a selection change may be refused by the bar and shows the new
// tab's groups, keys move between tabs, a minimized ribbon opens the tab's
// groups in a popup, and the tabs are its accessible children.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"

class CQVTPropExchange;
class CQVTRibbonBar;
class CQVTRibbonTab;

class CQVTRibbonControlTab : public CQVTControlPopup, public CQVTTabManager
{
    DECLARE_SERIAL(CQVTRibbonControlTab)

public:
    CQVTRibbonControlTab();
    ~CQVTRibbonControlTab() override;

    CQVTRibbonBar* GetRibbonBar() const;
    CQVTRibbonTab* GetSelectedTab() const;
    BOOL IsStripFocused() const { return m_bFocused; }

    // Control operations.
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    BOOL OnSetPopup(BOOL bPopup) override;
    BOOL OnSetSelected(int bSelected) override;
    void SetFocused(BOOL bFocused) override;
    BOOL GetFocused() const override { return m_bFocused; }
    void OnUnderlineActivate() override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;

    // Tab-manager operations.
    void Reposition() override;
    CQVTTabPaintManager* GetPaintManager() const override;
    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override;
    CString GetItemTooltip(const CQVTTabManagerItem* pItem) const override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CQVTTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) const override;
    void SetSelectedItem(CQVTTabManagerItem* pItem) override;
    void OnItemClick(CQVTTabManagerItem* pItem) override;
    BOOL IsMouseLocked() const override;
    BOOL IsFocused() const override;

    // The accessible face: the strip, its tabs as children 1..n.
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                               VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;

protected:
    // The tab of an accessible child id; null for 0 or an id out of range.
    CQVTRibbonTab* TabOfChild(const VARIANT& varChild, BOOL* pbValid) const;
    void RaiseFocusEvent(int nTabIndex);

    BOOL m_bFocused;  // the strip has the keyboard
};
