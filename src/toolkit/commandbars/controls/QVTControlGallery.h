// The gallery: a command-bar control that lays its items (pictures, texts,
// group labels) out in rows inside its own rectangle, scrolls them with its
// own scroll bar (or, in a popup bar's owner, with up, down and popup
// buttons), tracks the hot item, navigates by keyboard and tells the site
// when a live preview starts, changes and ends. Shown as a button (style 4
// by the ribbon, or icon only) it is a plain popup control.
#pragma once

#include <vector>

#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/controls/scrollbar/QVTScrollBase.h"

class CQVTControlGalleryItem;
class CQVTControlGalleryItems;
class CQVTPropExchange;

// One laid-out item; an empty rectangle is neither drawn nor hit.
struct GALLERYITEM_POSITION
{
    RECT rcItem;  // client coordinates of the bar, before scrolling
    CQVTControlGalleryItem* pItem;
    BOOL bBeginRow;
};

// Notification codes the gallery sends its site.
enum QVTGalleryNotify
{
    qvtGalleryPreviewStart = 4112,
    qvtGalleryPreviewCancel = 4113,
    qvtGalleryPreviewApply = 4114,
    qvtGalleryPreviewChange = 4115,
    qvtGalleryBeginDrag = 4116,
    qvtGallerySelChange = 4117
};

class CQVTControlGallery : public CQVTControlPopup, public CQVTScrollBase
{
    DECLARE_SERIAL(CQVTControlGallery)

public:
    CQVTControlGallery();
    ~CQVTControlGallery() override;

    // The items shown; a reference is taken, and copies share them.
    void SetItems(CQVTControlGalleryItems* pItems);
    virtual CQVTControlGalleryItems* GetItems() const { return m_pItems; }
    int GetItemCount() const;
    CQVTControlGalleryItem* GetItem(int nIndex) const;
    CString GetItemCaption(int nIndex) const;

    int GetSelectedItem() const { return m_nSelected; }
    void SetSelectedItem(int nSelected);
    virtual BOOL IsItemChecked(CQVTControlGalleryItem* pItem) const;
    int GetCheckedItem() const { return m_nChecked; }
    void SetCheckedItem(int nId);
    BOOL IsSelectionHidden() const { return m_bHideSelection; }
    BOOL IsPreviewActive() const { return m_bPreview; }

    virtual CRect GetBorders() const;
    CRect GetItemsRect() const;
    CRect GetItemRect(int nIndex) const;
    int HitTestItem(CPoint point, LPRECT lpRect = nullptr) const;
    void EnsureVisible(int nIndex);
    void ScrollItemToTop(int nIndex);
    void SetScrollPos(int nScrollPos);
    void AnimateScrollPos(int nScrollPos);
    int GetScrollPos() const { return m_nScrollPos; }
    int GetContentHeight() const { return m_nTotalHeight; }
    int FindItem(int nStartAfter, LPCTSTR lpszItem, BOOL bExact) const;

    BOOL IsShowAsButton() const;
    BOOL HasNextControl() const;
    BOOL IsScrollButtonEnabled(int nId) const;
    // The hit code of the scroll part under the mouse, 0 none.
    int GetHotScrollPart() const { return m_nScrollBarHot; }

    void SetShowLabels(BOOL bShow);
    BOOL GetShowLabels() const { return m_bShowLabels; }
    void SetShowScrollBar(BOOL bShow);
    BOOL GetShowScrollBar() const { return m_bShowScrollBar; }
    void SetShowBorders(BOOL bShow);
    BOOL GetShowBorders() const { return m_bShowBorders; }
    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    CRect GetMargin() const { return m_rcMargin; }
    void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
    BOOL IsResizable() const { return m_bResizable; }
    // The scroll bar shows only while the items overflow.
    void SetAutoScrollBar(BOOL bAuto);
    void SetTransparent(BOOL bTransparent) { m_nTransparent = bTransparent ? 1 : 0; }
    const std::vector<GALLERYITEM_POSITION>& GetPositions() const { return m_arrPositions; }

    // CQVTControl
    BOOL GetFocused() const override;
    void SetRect(CRect rcControl) override;
    BOOL IsTransparent() const override { return m_nTransparent != 0; }
    void OnExecute() override;
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    BOOL OnHookMouseWheel(WPARAM wParam, LPARAM lParam) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnLButtonUp(CPoint point) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int bSelected) override;
    BOOL IsCustomizeResizeAllow() const override;
    int GetCustomizeMinWidth() const override;
    int GetCustomizeMinHeight() const override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
    CQVTControl* Clone(BOOL bRecursive = FALSE) override;
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;
    // The keys its options are saved under; the item positions are not
    // saved but laid out again.
    virtual void DoPropExchange(CQVTPropExchange* pPX);

    virtual void OnSelectedItemChanged();
    virtual void OnItemsChanged();
    virtual void FillControl(CDC* pDC, CRect rcControl);
    virtual void UpdateScrollBar();

    // CQVTScrollBase
    CWnd* GetParentWindow() const override;
    BOOL IsEnabled() const override;
    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override;
    void GetScrollBarRect(CRect& rc) override;
    void GetScrollInfo(SCROLLINFO* pSI) override;
    void RedrawScrollBar() override;
    void OnAnimationTimer() override;
    void DoScroll(int cmd, int pos) override;
    void CalcScrollBarInfo(LPRECT lprc, QVT_SCROLLBAR_POSINFO* pSBInfo, SCROLLINFO* pSI) override;

    // The accessible face: items are children 1 to n.
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                               VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;

protected:
    // Lays the items out and clamps the scroll position.
    void Reposition();
    void RepositionItems();
    void PerformMouseMove(CPoint point);
    void HideSelection();
    void InvalidateItems(int nOld, int nNew, BOOL bAnimate);
    void StopAnimation();
    void ApplyScrollPos(int nScrollPos);
    void EndPreview(UINT nCode);

    // Selection steps; every one skips labels and gives -1 when none fits.
    BOOL IsItemSelectable(int nIndex) const;
    int GetNextSelectable(int nStart, int nDirection) const;
    int GetColumnStep(int nIndex, int nDirection) const;
    int GetPageStep(int nIndex, int nDirection) const;
    int GetRowStep(int nIndex, int nDirection) const;
    // A valid child id of the accessible face as an item index, else -1.
    int ChildToIndex(const VARIANT& varChild) const;

    int m_nScrollBarHot;       // scroll-bar part under the mouse
    int m_nChecked;            // id of the item drawn checked
    int m_nSelected;           // hot item, -1 none
    BOOL m_bHideSelection;     // the selection is kept but not shown
    BOOL m_bItemPressed;       // the button went down on the selected item
    CPoint m_ptPressed;        // where, for drag detection; (0, 0) none
    int m_nScrollPos;          // pixels scrolled above the items rectangle
    int m_nScrollTarget;       // where a running animation goes
    double m_dAnimationStep;   // pixels per animation tick
    BOOL m_bKeyboardSelected;  // last set by keyboard or program
    int m_nTotalHeight;        // height of the laid-out items
    BOOL m_bShowLabels;
    BOOL m_bShowScrollBar;
    BOOL m_bShowBorders;
    CRect m_rcMargin;  // extra space inside the borders
    BOOL m_bPreview;   // a preview was started and not ended
    BOOL m_bResizable;
    BOOL m_bAutoScrollBar;
    int m_nTransparent;                                // non-zero: the background is drawn elsewhere
    CQVTControlGalleryItems* m_pItems;                 // one reference
    std::vector<GALLERYITEM_POSITION> m_arrPositions;  // rebuilt by every layout
};
