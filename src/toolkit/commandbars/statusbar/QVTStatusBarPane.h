// One pane of a status bar: a command id, its text (or markup), icon,
// colours, padding and width rules, and its state (visible, enabled,
// pressed when it acts as a button). Panes are reference counted and owned
// by their bar; a pane may host a child window.
#pragma once

#include <afxwin.h>
#include <afxext.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTImageManagerIcon;
class CQVTMarkupUIElement;
class CQVTStatusBar;

class CQVTStatusBarPane : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTStatusBarPane)

public:
    // Reasons a pane is hidden; any one hides it.
    enum HiddenFlags
    {
        hiddenNoFit = 0x02,  // the layout found no room
        hiddenByUser = 0x10  // switched off by the user
    };

    CQVTStatusBarPane();
    ~CQVTStatusBarPane() override;

    // Its fixed width, or the width of its text, icon and padding.
    virtual int GetWidth();
    virtual CFont* GetFont();
    virtual CQVTImageManagerIcon* GetIcon();
    virtual void Draw(CDC* pDC, CRect rcItem);
    // A button pane tracks the press and clicks on release over it.
    virtual void OnLButtonDown(CPoint point);
    virtual void OnMouseMove(CPoint point) {}
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) { return -1; }

    void SetText(LPCTSTR lpszText);
    CString GetText() const { return m_strText; }
    // The text as shown: upper case when the bar asks for it.
    CString GetDisplayText() const;
    void SetStyle(UINT nStyle);
    UINT GetStyle() const { return m_nStyle; }
    // 0 or less: as wide as the text.
    void SetWidth(int nWidth);
    int GetFixedWidth() const { return m_nWidth; }
    void SetVisible(BOOL bVisible);
    BOOL IsVisible() const { return m_dwHideFlags == 0; }
    DWORD GetHideFlags() const { return m_dwHideFlags; }
    void SetEnabled(BOOL bEnabled);
    BOOL IsEnabled() const { return (m_nStyle & SBPS_DISABLED) == 0; }
    BOOL IsPopOut() const { return (m_nStyle & SBPS_POPOUT) != 0; }
    BOOL HasBorders() const { return (m_nStyle & SBPS_NOBORDERS) == 0; }
    void SetButton(BOOL bButton) { m_bButton = bButton; }
    BOOL IsButton() const { return m_bButton; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const;

    void SetTextColor(COLORREF clr);
    COLORREF GetTextColor() const { return m_clrText; }
    void SetBackgroundColor(COLORREF clr);
    COLORREF GetBackgroundColor() const { return m_clrBackground; }
    // The text colour of the pane while disabled.
    void SetTextGrayColor(COLORREF clr);
    COLORREF GetTextGrayColor() const { return m_clrTextGray; }
    void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    CString GetTooltip() const { return m_strToolTip; }
    void SetTextAlignment(int nAlign);
    int GetTextAlignment() const { return m_nAlignment; }
    void SetIconIndex(int nIconId);
    int GetIconIndex() const { return m_nIconId; }
    void SetPadding(int cxLeft, int cyTop, int cxRight, int cyBottom);
    CRect GetPadding() const { return m_rcPadding; }
    void SetMargins(int cxLeft, int cyTop, int cxRight, int cyBottom);
    CRect GetMargins() const { return m_rcMargins; }
    void SetBeginGroup(BOOL bBeginGroup);
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    void SetCaption(LPCTSTR lpszCaption) { m_strCaption = lpszCaption; }
    CString GetCaption() const { return m_strCaption; }
    void SetValue(LPCTSTR lpszValue) { m_strValue = lpszValue; }
    CString GetValue() const { return m_strValue; }
    void SetCustomizationVisible(BOOL bVisible) { m_bCustomizable = bVisible; }
    BOOL GetCustomizationVisible() const { return m_bCustomizable; }
    void SetDarkFace(BOOL bDark) { m_bDarkFace = bDark; }
    BOOL IsDarkFace() const { return m_bDarkFace; }
    // The pane's own font; null goes back to the bar's.
    void SetFont(const LOGFONT* pLogFont);
    // A child window shown in the pane; with bAutoDestroy the pane destroys it.
    void SetChild(CWnd* pWnd, BOOL bAutoDestroy = FALSE);
    CWnd* GetChild() const;

    UINT GetID() const { return m_nID; }
    int GetIndex() const { return m_nIndex; }
    CRect GetRect() const { return m_rcPane; }
    int GetLastWidth() const { return m_nLastWidth; }
    CQVTStatusBar* GetStatusBar() const { return m_pStatusBar; }
    CQVTMarkupUIElement* GetMarkupElement() const { return m_pMarkupElement; }

    // Redraws the pane's rectangle.
    void Redraw() const;

protected:
    friend class CQVTStatusBar;

    void UpdateMarkup();

    UINT m_nID;                // command id; 0 the message pane
    int m_nWidth;              // fixed width, below 1 from the text
    UINT m_nStyle;             // SBPS_ bits
    CString m_strText;         // shown text or markup source
    DWORD m_dwHideFlags;       // HiddenFlags
    COLORREF m_clrText;        // -1: the theme's
    COLORREF m_clrBackground;  // -1: none
    COLORREF m_clrTextGray;    // -1: the theme's grey text
    CString m_strToolTip;
    CRect m_rcPane;  // set by the layout, empty while not shown
    HWND m_hWndChild;
    BOOL m_bAutoDestroyChild;
    CQVTStatusBar* m_pStatusBar;  // owner
    int m_nIndex;                 // -1 before it is inserted
    CQVTFont m_font;              // own font, empty: the bar's
    int m_nAlignment;             // 0 left, 1 centre, 2 right
    int m_nIconId;                // -1 none
    CRect m_rcPadding;            // around the text
    CRect m_rcMargins;            // around the pane
    BOOL m_bButton;               // hot tracking, pressed state, click
    BOOL m_bPressed;
    CQVTMarkupUIElement* m_pMarkupElement;  // parsed text, one reference
    BOOL m_bBeginGroup;
    CString m_strCaption;  // name in the customize menu
    CString m_strValue;    // second text of the customize menu entry
    int m_nLastWidth;      // found by the last layout
    BOOL m_bCustomizable;  // listed in the customize menu
    BOOL m_bDarkFace;      // the resource look draws it on its dark face
};
