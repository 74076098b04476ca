// A static text of the task dialog whose words marked up as HTML-style
// anchors (<a href="target">label</a>) are links: drawn in the link colour,
// clicked with the mouse or reached with Tab and pressed with Enter.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTTaskDialogLinkCtrl : public CStatic
{
    DECLARE_DYNAMIC(CQVTTaskDialogLinkCtrl)

public:
    struct LINKITEM
    {
        UINT nStart = 0;  // of the label in the display text
        UINT nIndex = 0;  // of the item
        CString strLabel;
        CString strTarget;
        CArray<CRect, const CRect&> arrParts;  // one per line piece, for hit testing
    };

    CQVTTaskDialogLinkCtrl();
    ~CQVTTaskDialogLinkCtrl() override;

    // Makes the control over a text with links: the text becomes the display
    // text (links replaced by their labels). FALSE, and no window, when the
    // text has no link: the caller draws it then.
    BOOL Create(const RECT& rect, CString& strText, CFont* pFont, CWnd* pParent);

    // Turns anchors into labels; a malformed anchor stays as it is written.
    static CString AFX_CDECL ParseLinks(const CString& strText, CArray<LINKITEM*, LINKITEM*>& arrLinks);

    LINKITEM* GetFocusedLink() const;
    int GetFocusedLinkIndex() const { return m_nFocused; }
    int GetLinkCount() const { return (int)m_arrLinks.GetSize(); }
    LINKITEM* GetLink(int nIndex) const { return m_arrLinks[nIndex]; }
    const CString& GetDisplayText() const { return m_strDisplay; }

    void SetBackColor(COLORREF clr) { m_clrBack = clr; }
    void SetTextColor(COLORREF clr) { m_clrText = clr; }
    static const COLORREF clrLink = 0xCC6600;

protected:
    void PreSubclassWindow() override;
    void RemoveAllLinks();
    void SetLinkFont(CFont* pFont);
    // Lays the runs out and, with a DC to draw on, draws them.
    void LayoutText(CDC* pDC, BOOL bDraw);
    int LinkFromPoint(CPoint point) const;
    void SetFocusedLink(int nIndex);
    void ClickFocusedLink();

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateUIStateMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_nFocused;        // -1: none
    CQVTFont m_fntLink;    // the window's font, underlined
    CString m_strDisplay;  // links replaced by their labels
    HCURSOR m_hHandCursor;
    COLORREF m_clrBack;  // -1: ask the parent
    COLORREF m_clrText;
    CArray<LINKITEM*, LINKITEM*> m_arrLinks;  // owned
    BOOL m_bParseOnSubclass;                  // TRUE until the control makes itself
};
