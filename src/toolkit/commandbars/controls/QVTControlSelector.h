// A grid picker (of table sizes, for one): the cells under and left of the
// pointer are selected; dragging out of it with the button held grows the
// grid up to its maximum; the release executes with the selection. The site
// hears of every change of selection (code 4102).
#pragma once

#include "toolkit/commandbars/controls/QVTControl.h"

class CQVTControlSelector : public CQVTControl
{
    DECLARE_SERIAL(CQVTControlSelector)

public:
    // The notification of a new selection.
    static constexpr UINT kSelectionChanged = 4102;
    // Stored and set counts and sizes are held to these: a cell count of 0 or
    // a huge size would divide by zero or overflow the grid's extent.
    static constexpr int kMaxCells = 64;
    static constexpr int kMaxItemSize = 256;

    CQVTControlSelector();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void OnMouseMove(CPoint point) override;
    BOOL OnSetSelected(int bSelected) override;
    void OnLButtonUp(CPoint point) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQVTPropExchange* pPX) override;
    // A cell's content, for subclasses.
    virtual void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText) {}

    void SetItemsCount(CSize sz) { m_szItemsCount = BoundCount(sz); }
    void SetItemsMax(CSize sz) { m_szItemsMax = BoundCount(sz); }
    void SetItemSize(CSize sz) { m_szItem = BoundItemSize(sz); }
    CSize GetItemsCount() const { return m_szItemsCount; }
    CSize GetItemsMax() const { return m_szItemsMax; }
    CSize GetItemSize() const { return m_szItem; }
    CSize GetGridSize() const { return m_szGrid; }
    CSize GetSelection() const { return m_szSelected; }
    CSize GetLastSelection() const { return m_szLastSelected; }
    void SetSelection(CSize sz, BOOL bForceNotify = FALSE);

protected:
    static CSize BoundCount(CSize sz);
    static CSize BoundItemSize(CSize sz);

    CSize m_szItemsCount;    // the grid's size when it opens
    CSize m_szItemsMax;      // the most it grows to
    CSize m_szItem;          // one cell, in pixels
    CSize m_szSelected;      // columns and rows selected
    CSize m_szGrid;          // the grid's size now
    CSize m_szLastSelected;  // the selection last executed
    BOOL m_bUpdating;        // a re-layout that keeps the grown grid
};
