// A toolbar that hosts one child window (a dialog or any window) under a
// caption strip with a caption popup and a hide button. It is resized along
// its free edge while docked and from every edge and corner while floating,
// down to a minimum client size, and keeps its docked and floating client
// sizes apart. Its caption is drawn active while the focus is inside.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"

// The caption's hide button (CQVTDialogBar::CControlButtonHide).
class CQVTDialogBarHideButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTDialogBarHideButton)

public:
    CQVTDialogBarHideButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
};

// The caption text, opening the caption popup bar when it has controls
// (CQVTDialogBar::CControlCaptionPopup).
class CQVTDialogBarCaptionPopup : public CQVTControlPopup
{
    DECLARE_DYNCREATE(CQVTDialogBarCaptionPopup)

public:
    CQVTDialogBarCaptionPopup();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL OnSetPopup(BOOL bPopup) override;

    BOOL m_bHasPopup;  // the popup bar has controls and may open
};

// Drops down below the caption, right-aligned on it
// (CQVTDialogBar::CCaptionPopupBar).
class CQVTDialogBarCaptionPopupBar : public CQVTPopupBar
{
    DECLARE_DYNCREATE(CQVTDialogBarCaptionPopupBar)

public:
    CQVTDialogBarCaptionPopupBar();
};

class CQVTDialogBar : public CQVTToolBar
{
    DECLARE_SERIAL(CQVTDialogBar)

public:
    typedef CQVTDialogBarHideButton CControlButtonHide;
    typedef CQVTDialogBarCaptionPopup CControlCaptionPopup;
    typedef CQVTDialogBarCaptionPopupBar CCaptionPopupBar;

    CQVTDialogBar();
    ~CQVTDialogBar() override;

    void SetCaption(LPCTSTR lpszCaption);
    CString GetCaption() const { return m_strCaption; }
    void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
    BOOL IsResizable() const { return m_bResizable; }
    void SetCaptionVisible(BOOL bVisible);
    BOOL IsCaptionVisible() const { return m_bCaptionVisible; }
    // Client sizes at 96 DPI are the caller's to scale.
    void SetMinimumSize(CSize szMin) { m_szMin = szMin; }
    CSize GetMinimumSize() const { return m_szMin; }
    void SetDockingClientSize(CSize sz);
    void SetFloatingClientSize(CSize sz);
    CSize GetDockingClientSize() const { return m_szDockingClient; }
    CSize GetFloatingClientSize() const { return m_szFloatingClient; }
    void SetChild(CWnd* pChild);
    CWnd* GetChild() const { return m_hwndChild ? CWnd::FromHandle(m_hwndChild) : nullptr; }
    void SetCaptionPopupEnabled(BOOL bEnabled);
    CQVTPopupBar* GetCaptionPopupBar() const { return m_pCaptionPopupBar; }
    CControlCaptionPopup* GetCaptionPopup() const { return m_pCaptionPopup; }
    CControlButtonHide* GetDialogHideButton() const { return m_pDialogHideButton; }
    BOOL IsActive() const { return m_bActive; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    // The caption strip in client coordinates.
    CRect GetCaptionRect() const;

    BOOL IsDialogBar() const override { return TRUE; }
    BOOL IsSmallGripper() const override { return TRUE; }
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    BOOL IsPointInBar(CPoint point) const override;
    void OnIdleUpdate(WPARAM wParam, LPARAM lParam) override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    void FillCommandBarEntry(CDC* pDC) override;
    BOOL IsFreeSizing() const override { return m_bResizable; }
    BOOL ResizeFreely(const CRect& rcWindow, int nHitTest) override;
    BOOL GetClientSizes(CSize& szDocking, CSize& szFloating) const override;
    void SetClientSizes(CSize szDocking, CSize szFloating) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

    CSize CalcLayout(CSize szClient, int nLength, DWORD dwMode);
    void PlaceChild();

    CRect m_rcBorders;  // around the client area
    BOOL m_bResizable;
    BOOL m_bCaptionVisible;
    CSize m_szMin;  // smallest client size resizing accepts
    CSize m_szDockingClient;
    CSize m_szFloatingClient;
    BOOL m_bCaptionPopupEnabled;
    int m_nCaptionHeight;                     // from the last layout
    HWND m_hwndChild;                         // sized to the client area
    CString m_strCaption;                     // empty: the title
    CQVTPopupBar* m_pCaptionPopupBar;         // one reference
    CControlCaptionPopup* m_pCaptionPopup;    // in the collection, temporary
    CControlButtonHide* m_pDialogHideButton;  // in the collection, temporary
    BOOL m_bActive;                           // the focus is inside
};
