// A bar of the tests' own, until toolbars exist: a child window of its site
// that lays its controls out in rows (or, as a popup-type bar, in columns)
// and places itself at the top of the site's layout rectangle when the site
// repositions its bars.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"

class CTestBar : public CQVTCommandBar
{
    DECLARE_DYNCREATE(CTestBar)

public:
    // The window, a child of the bars' site (or of m_pParentWnd without bars).
    BOOL Create(int nPosition) override;
    void SetVisible(BOOL bVisible) override;
    BOOL IsVisible() const override;
    BOOL IsPopupBar() const override { return m_barType == qvtBarTypePopup; }
    void OnRecalcLayout() override;

    // Lays the controls out for a width and commits it; the bar's size.
    CSize Layout(int nLength);

    CWnd* m_pParentWnd = nullptr;
    DWORD m_dwExtraLayoutMode = 0;  // e.g. hide what does not fit
    int m_nRecalcCount = 0;
    int m_nLayoutWidth = 0;  // width of the last layout

protected:
    CRect GetBorders();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bVisible = TRUE;
};

// Pixels of a window's client area as they are on the screen.
class CDibCapture
{
public:
    explicit CDibCapture(CWnd* pWnd);
    ~CDibCapture();
    CDibCapture(const CDibCapture&) = delete;
    CDibCapture& operator=(const CDibCapture&) = delete;

    COLORREF At(int x, int y) const;
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // Pixels of the colour inside a rectangle.
    int CountIn(const CRect& rc, COLORREF clr) const;

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    HBITMAP m_hBitmap = nullptr;
    DWORD* m_pBits = nullptr;
};
