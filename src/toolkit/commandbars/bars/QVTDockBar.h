// One of the four strips along the site's edges that hold docked toolbars in
// rows. It lays each row out from where the user dragged its bars, takes its
// thickness from the site's layout rectangle when the site repositions its
// bars, and is painted by the paint manager.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTCommandBar;
class CQVTCommandBars;
class CQVTToolBar;

class CQVTDockBar : public CWnd
{
    DECLARE_DYNCREATE(CQVTDockBar)

public:
    // One bar of a row while the row is laid out; rows are worked on along
    // x, a vertical dock bar's rectangles swapped before and after.
    struct DOCK_INFO
    {
        CQVTToolBar* pBar;
        CRect rcBar;     // where it wants to be
        CRect rcMRUPos;  // where the layout put it
        int nIndex;      // in the row, before sorting
        int nMinWidth;
        int nTotalWidth;
    };
    typedef std::vector<DOCK_INFO> CDockInfoArray;

    CQVTDockBar();
    ~CQVTDockBar() override;

    // The window, a child of the site; the style holds both the window style
    // and the bar alignment bits (CBRS_ALIGN_...).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    void SetCommandBars(CQVTCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }
    // 0 top, 1 bottom, 2 left, 3 right, from the alignment bits.
    int GetPosition() const;
    DWORD GetBarStyle() const { return m_dwStyle; }
    BOOL IsVerticalDock() const { return GetPosition() >= 2; }
    // The docked bars in rows: each row ends with a null entry.
    const std::vector<CQVTCommandBar*>& GetBars() const { return m_arrBars; }
    int FindBar(CQVTCommandBar* pBar) const;
    // The thickness of the docked rows across the strip at a length along it;
    // the bars are moved to their places.
    virtual CSize CalcDockBarLayout(int nLength, DWORD dwMode);

    // Puts the bar into a row: the one under the rectangle's centre (screen
    // coordinates), or a new last row without a rectangle.
    void DockCommandBar(CQVTCommandBar* pBar, LPCRECT lpRect = nullptr);
    // nIndex -1: wherever the bar is.
    void RemoveCommandBar(CQVTCommandBar* pBar, int nIndex = -1);
    // The rows as saved: entries go in at k, never past the list's end.
    void InsertEntry(int nIndex, CQVTCommandBar* pBar);
    void RemoveAllEntries();
    // Takes the bar out of the rows without laying anything out.
    void RemoveEntryOf(CQVTCommandBar* pBar);
    // One row break between rows, one first and one last.
    void NormalizeRows();

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // Where a bar whose centre is at the point (client coordinates) goes:
    // the index to insert at, and whether it starts a row of its own there.
    void FindInsertPosition(CPoint point, CQVTCommandBar* pBar, int& nInsert, BOOL& bNewRow) const;
    // Lays one row out at the offset across; bars that do not fit go to
    // arrOverflow. The row's thickness.
    int LayoutRow(std::vector<CQVTToolBar*>& arrRow, int nLength, DWORD dwMode, int nOffset,
                  std::vector<CQVTToolBar*>& arrOverflow, HDWP& hDWP);
    DWORD RowLayoutMode(CQVTToolBar* pBar, DWORD dwMode) const;
    // The steps of LayoutRow.
    void MeasureRowBars(const std::vector<CQVTToolBar*>& arrRow, int nLength, DWORD dwMode,
                        CDockInfoArray& infos);
    int PlaceRowBars(CDockInfoArray& infos, int nLength, DWORD dwMode, int nOffset, HDWP& hDWP);
    void RemoveEntry(int nIndex);

    DWORD m_dwStyle;                         // CBRS_ bits
    std::vector<CQVTCommandBar*> m_arrBars;  // rows, each ended by null
    CQVTCommandBars* m_pCommandBars;
};
