// The base of bars that dock along a frame's edges: its size comes from
// CalcFixedLayout and is taken off the parent's layout rectangle when the
// parent repositions its bars (WM_SIZEPARENT); its command UI is updated at
// idle time; a change of its bar style is reported; showing and hiding can
// be delayed to the next layout or idle update.
#pragma once

class CFrameWnd;

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // The bar's own size: bStretch fills the frame's width or height.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // The client area less the borders the bar style asks for.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // pTarget is the bar's owner, used as a command target only: a dialog
    // owning a bar passes itself.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {}
    virtual BOOL IsDockBar() const { return FALSE; }

    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    CRect GetBorders() const
    {
        return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
    }
    // Shows or hides the bar at the next layout or idle update.
    void DelayShow(BOOL bShow);
    // Visible now, or about to be through a delayed show.
    BOOL IsVisible() const;
    BOOL IsFloating() const { return FALSE; }
    int GetCount() const { return m_nCount; }

    BOOL m_bAutoDelete;  // PostNcDestroy deletes the object
    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;
    int m_nCount;

    enum StateFlags
    {
        delayHide = 1,
        delayShow = 2,
        tempHide = 4,
        statusSet = 8
    };
    UINT m_nStateFlags;
    DWORD m_dwStyle;      // CBRS_ bar style
    DWORD m_dwDockStyle;  // alignments the bar may dock to
    CFrameWnd* m_pDockSite;
    CWnd* m_pDockBar;

protected:
    // Applies a delayed show or hide during a layout; the style that results.
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    void PostNcDestroy() override;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
