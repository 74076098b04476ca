// One of the four strips along the site's edges that hold docked toolbars in
// rows. It takes its thickness from the site's layout rectangle when the
// site repositions its bars, and is painted by the paint manager.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTCommandBar;
class CQVTCommandBars;

class CQVTDockBar : public CWnd
{
    DECLARE_DYNCREATE(CQVTDockBar)

public:
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
    // The thickness of the docked rows across the strip at a length along it.
    virtual CSize CalcDockBarLayout(int nLength, DWORD dwMode);

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle;                         // CBRS_ bits
    std::vector<CQVTCommandBar*> m_arrBars;  // rows, each ended by null
    CQVTCommandBars* m_pCommandBars;
};
