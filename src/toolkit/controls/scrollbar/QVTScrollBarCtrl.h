// A themed replacement of the standard scroll-bar control: a real
// "SCROLLBAR" window whose range and position the system keeps, while
// tracking, hot parts and every pixel are the scroll base's and its theme's.
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/controls/scrollbar/QVTScrollBase.h"

class CQVTScrollBarCtrl : public CScrollBar, public CQVTScrollBase
{
    DECLARE_DYNCREATE(CQVTScrollBarCtrl)

public:
    CQVTScrollBarCtrl();
    ~CQVTScrollBarCtrl() override;

    // Replaces the theme by the look of that number (1, 10 and unknown
    // numbers: the visual style). FALSE for a look this program does not
    // carry; the current theme then stays.
    BOOL SetTheme(int nTheme);
    int GetHotHitCode() const { return m_nHotPart; }

    using CScrollBar::GetScrollInfo;

    // CQVTScrollBase
    CWnd* GetParentWindow() const override;
    BOOL IsEnabled() const override;
    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override;
    void GetScrollBarRect(CRect& rc) override;
    void GetScrollInfo(SCROLLINFO* pSI) override;
    void RedrawScrollBar() override;
    void DoScroll(int cmd, int pos) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;

    void ReadStyle();
    void DrawScrollBar(CDC* pDC);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetScrollInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetScrollInfo(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    BOOL m_bPreSubclassWindow;  // made by this object, style read at creation
    std::unique_ptr<CQVTScrollBarPaintManager> m_pTheme;
};
