// The toolkit's button: a standard button window whose every kind (push
// button, check box, radio button, group box) is painted by a pluggable
// theme, with hot tracking, images in five states, markup captions and a
// tooltip.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTButtonTheme;
class CQVTImageManagerIcon;
class CQVTImageManagerRasterImageHandle;
class CQVTMarkupContext;
class CQVTMarkupUIElement;
class CQVTToolTipContext;

class CQVTButton : public CButton
{
    DECLARE_DYNCREATE(CQVTButton)

public:
    // Image and text placed one above the other (1, 2) or side by side (3, 4).
    enum ImageTextRelation
    {
        relationImageAboveText = 1,
        relationTextAboveImage = 2,
        relationImageBeforeText = 3,
        relationTextBeforeImage = 4,
    };
    enum
    {
        WM_QVT_SETBUTTONTHEME = 0x274B,  // wParam: the theme number
        notifyCode = 7,                  // sent by NotifyParent
    };

    CQVTButton();
    ~CQVTButton() override;

    virtual UINT GetPushedState() const;
    virtual BOOL IsHighlighted() const;
    virtual BOOL GetChecked() const;
    virtual DWORD GetTextAlignment() const;
    virtual UINT GetTextFormat() const;
    virtual DWORD GetImageAlignment() const;
    virtual CSize GetImageSize() const;
    virtual BOOL IsDpiScalingEnabled() const;
    virtual void SetDpiScaling(BOOL bEnable);
    virtual void DrawImage(CDC* pDC, CRect rc);
    // Takes over the caller's reference.
    virtual void SetThemeObject(CQVTButtonTheme* pTheme);
    virtual BOOL SetTheme(int nTheme);
    virtual CRect GetButtonRect() const;
    // A size of (0, 0) takes the normal image's own; an empty hot image is none.
    virtual BOOL SetIcon(CSize size, const CQVTImageManagerRasterImageHandle& imageNormal,
                         const CQVTImageManagerRasterImageHandle& imageHot, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(CSize size, LPCTSTR lpszNormal, LPCTSTR lpszHot = nullptr, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(CSize size, UINT nIDNormal, UINT nIDHot = 0, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(CSize size, HICON hIconNormal, HICON hIconHot = nullptr, BOOL bRedraw = TRUE);
    virtual BOOL SetBitmap(CSize size, UINT nID, BOOL bRedraw = TRUE);
    virtual CString GetButtonText() const;
    virtual COLORREF GetTextColor() const;
    virtual COLORREF GetBackColor() const;
    virtual void UpdateMarkup();
    virtual void NotifyParent();
    virtual void OnDraw(CDC* pDC);
    virtual void RefreshMetrics();
    virtual void DrawButton(CDC* pDC);

    void EnableMarkup(BOOL bEnable = TRUE);
    void SetChecked(BOOL bChecked);
    void SetTooltip(LPCTSTR lpszTooltip) { m_strTooltip = lpszTooltip; }
    const CString& GetTooltip() const { return m_strTooltip; }
    void SetImageAlignment(DWORD dwAlignment);
    void SetTextImageRelation(int nRelation);
    int GetTextImageRelation() const { return m_nImageTextRelation; }
    int GetBorderGap() const { return m_nBorderGap; }
    int GetImageGap() const { return m_nImageGap; }
    void SetShowFocus(BOOL bShowFocus) { m_bShowFocus = bShowFocus; }
    BOOL IsShowFocus() const { return m_bShowFocus; }
    // Themes that honour it draw no background while the button is idle.
    void SetFlatStyle(BOOL bFlatStyle);
    BOOL GetFlatStyle() const { return m_bFlatStyle; }
    // Themes that honour it draw a shadow along the button's foot.
    void SetUseShadow(BOOL bShadow);
    BOOL GetUseShadow() const { return m_bShadow; }

    CQVTButtonTheme* GetTheme() const { return m_pTheme; }
    BOOL IsSystemLook() const { return m_bUseVisualStyle; }
    CQVTImageManagerIcon* GetIcon() const { return m_pIcon; }
    CQVTToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    CQVTMarkupUIElement* GetMarkupElement() const { return m_pMarkupUIElement; }
    BOOL IsMarkupEnabled() const { return m_bEnableMarkup; }

    // The kind: the style's low four bits.
    DWORD GetButtonStyle() const { return m_hWnd ? (GetStyle() & 0xF) : 0; }
    BOOL IsPushButton() const;
    BOOL IsHot() const { return m_bHot; }

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Default processing with WS_VISIBLE taken off, so the system paints nothing.
    LRESULT DefaultWithoutPainting();
    // Takes the new icon (its reference) in place of the old one.
    void SetIconObject(CQVTImageManagerIcon* pIcon, CSize size, BOOL bRedraw);
    void UpdateHot(CPoint point);

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClientMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg LRESULT OnUpdateUIStateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTheme(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DECLARE_INTERFACE_MAP()
    BEGIN_INTERFACE_PART(CmdTargetProvider, IQVTCmdTargetProvider)
        CCmdTarget* STDMETHODCALLTYPE GetCmdTarget() override;
    END_INTERFACE_PART(CmdTargetProvider)

    UINT m_nPushedState;        // 0 normal, 1 pushed; follows BM_SETSTATE
    BOOL m_bHot;                // the pointer is over the button
    CQVTButtonTheme* m_pTheme;  // one reference, never null
    UINT m_bChecked;            // the check state push-like buttons keep themselves
    BOOL m_bUseVisualStyle;     // the standard theme may use the system's visual style
    DWORD m_dwImageAlignment;   // BS_ layout bits, 0xF00 centred both ways
    int m_nBorderGap;           // content and focus rectangle from the edge
    BOOL m_bEnableMarkup;
    int m_nImageGap;                // between image and text
    int m_nImageTextRelation;       // ImageTextRelation
    CQVTImageManagerIcon* m_pIcon;  // one reference, or none
    CSize m_szImage;                // the size asked for, kept for vector icons only
    BOOL m_bShowFocus;
    CQVTToolTipContext* m_pToolTipContext;  // one reference
    CString m_strTooltip;
    CQVTMarkupContext* m_pMarkupContext;  // while markup is on
    CQVTMarkupUIElement* m_pMarkupUIElement;
    BOOL m_bDpiScaling;  // the override
    BOOL m_bDpiScalingSet;
    BOOL m_bFlatStyle = FALSE;  // nothing drawn while idle
    BOOL m_bShadow = FALSE;     // a shadow below the face
};
