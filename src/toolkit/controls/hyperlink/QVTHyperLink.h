// A static text control turned into a hyperlink: drawn in link colours and
// underlined, a hand cursor and the hover colour over its text, a tooltip
// showing the address. A click on the text, or Enter or Space while it has
// the focus, opens the address with the shell and marks it visited. Statics
// that are not plain text (icons, frames, ...) stay plain statics.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTHyperLink : public CStatic
{
    DECLARE_DYNAMIC(CQVTHyperLink)

public:
    enum
    {
        timerHover = 1,  // polls whether the pointer is still over the text
        hoverPollMs = 10,
        noBackColor = -1,
    };

    CQVTHyperLink();
    ~CQVTHyperLink() override;

    virtual void SetURL(LPCTSTR lpszURL);
    virtual CString GetURL() const;
    virtual void SetColors(COLORREF crLink, COLORREF crVisited, COLORREF crHover);
    virtual COLORREF GetLinkColor() const;
    virtual COLORREF GetVisitedColor() const;
    virtual COLORREF GetHoverColor() const;
    virtual void SetVisited(BOOL bVisited = TRUE);
    virtual BOOL IsVisited() const;
    virtual void SetLinkCursor(HCURSOR hCursor);
    virtual HCURSOR GetLinkCursor() const;
    virtual void SetUnderline(BOOL bUnderline = TRUE);
    virtual BOOL GetUnderline() const;
    virtual void SetBackColor(COLORREF crBack);
    // The own background colour, or the button face when there is none.
    virtual COLORREF GetBackColor() const;
    // Opens the given address, or the stored one without, with the shell's
    // "open"; a failure is reported to the user and gives FALSE.
    virtual BOOL GotoURL(LPCTSTR lpszURL, int nShowCmd, LPCTSTR lpszParameters, LPCTSTR lpszDirectory);
    // Left, centred and right text statics.
    virtual BOOL IsLinkStyle() const;
    // Whether the pointer lies over the text (not merely over the control).
    virtual BOOL IsMouseOverText() const;
    // Beeps and shows the shell's failure in words.
    virtual void ReportError(int nError);
    virtual void Init();
    virtual void UpdateFont();
    virtual void CreateLinkFont(CQVTFont& font, BOOL bUnderline);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The failure text of a shell error code, from the toolkit's strings.
    static CString AFX_CDECL GetErrorText(int nError);
    // The unknown-error text with the number in place of its first "%d". A
    // translated text is not trusted as a format: any other "%" sequence
    // stays as written ("%%" aside).
    static CString AFX_CDECL InsertErrorNumber(const CString& strFormat, int nError);

    BYTE m_bLaunchOnClick;  // a click opens the address; else it only marks the link visited

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnClicked();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    // What a click counts for: opens (or only marks) the link and hides the
    // tip.
    void FollowLink();
    void Redraw();

    BYTE m_bSubclassed;  // made elsewhere and subclassed: initialised then
    BYTE m_bUnderline;
    BYTE m_bHover;  // the pointer is over the text
    BYTE m_bVisited;
    BYTE m_bToolTipOn;
    CQVTFont m_font;  // the underlined link font the static draws with
    CString m_strURL;
    CString m_strTip;  // follows the address
    HCURSOR m_hLinkCursor;
    COLORREF m_crLink;
    COLORREF m_crHover;
    COLORREF m_crVisited;
    COLORREF m_crBack;          // noBackColor: the parent's background shows
    CToolTipCtrl m_wndToolTip;  // made by the first SetURL with a tip

private:
    BOOL m_bKeyClick = FALSE;  // the click being reported comes from Enter or Space
};
