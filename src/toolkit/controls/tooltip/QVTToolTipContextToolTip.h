// The toolkit's own tooltip window: it answers the platform tooltip's
// messages (tools, delays, titles, relayed mouse events) and draws the tip
// itself, so that each look is a subclass overriding size and drawing.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>
#include <commctrl.h>

class CQVTToolTipContext;
class CQVTImageManagerIcon;

class CQVTToolTipContextToolTip : public CWnd
{
    DECLARE_DYNAMIC(CQVTToolTipContextToolTip)

public:
    struct TOOLITEM
    {
        CString strText;
        BOOL bTextCallback = FALSE;  // the text is asked from the owner
        UINT uFlags = 0;
        HWND hwnd = nullptr;  // owner
        UINT_PTR uId = 0;
        CRect rect;  // owner's client coordinates; the window itself with TTF_IDISHWND
    };
    enum
    {
        timerShow = 1,
        timerAutoPop = 3,
    };

    explicit CQVTToolTipContextToolTip(CQVTToolTipContext* pContext);
    ~CQVTToolTipContextToolTip() override;

    BOOL Create(CWnd* pOwner, DWORD dwStyle);

    // The size of the tip; zero: no tip.
    virtual CSize CalcToolSize(CDC* pDC, TOOLITEM* pTool);
    virtual void DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc);
    virtual void DrawBackground(CDC* pDC, TOOLITEM* pTool, CRect rc);
    virtual void OnShow(BOOL bShow);

    BOOL IsTipShown() const { return m_bToolShown && IsWindowVisible(); }
    const TOOLITEM* GetShownTool() const { return m_bToolShown ? &m_toolShown : nullptr; }
    const CString& GetTitle() const { return m_strTitle; }
    int GetToolCount() const { return (int)m_arrTools.GetSize(); }
    CQVTImageManagerIcon* GetImage() const { return m_pImage; }
    CQVTToolTipContext* GetContext() const { return m_pContext; }

    // The tool's text, asked from its owner when it is a callback.
    CString GetToolText(const TOOLITEM* pTool);
    COLORREF GetTipTextColor() const;
    COLORREF GetTipBackColor() const;
    // The area inside the margins.
    CRect GetContentRect(CRect rc) const;
    int Scale(int nPixels) const;

    void Hide();

    // Called by the context that drops this window: FALSE when the window
    // may be deleted now; TRUE when its own code is still on the stack (a
    // wait that dispatches messages), which deletes it on the way out.
    BOOL DeleteWhenIdle();

protected:
    // Marks a frame of the window's own code on the stack; the outermost
    // one carries out a deletion asked for meanwhile and lets go of the
    // held context. Nothing of the window may be touched after it ends.
    class CBusyScope
    {
    public:
        explicit CBusyScope(CQVTToolTipContextToolTip* pTip) : m_pTip(pTip) { ++pTip->m_nBusy; }
        ~CBusyScope() { m_pTip->LeaveBusy(); }
        CBusyScope(const CBusyScope&) = delete;
        CBusyScope& operator=(const CBusyScope&) = delete;

    private:
        CQVTToolTipContextToolTip* m_pTip;
    };
    // Keeps the context alive until the outermost busy frame ends; for
    // loops that dispatch messages, whose handlers may release it.
    void HoldContext();
    BOOL IsAbandoned() const { return m_bDeleteWhenIdle || !m_hWnd; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The tip laid out for a tool: title, body and image rectangles in
    // client coordinates of a tip whose top-left is (0, 0); the tip's size.
    struct LAYOUT
    {
        CRect rcTitle;
        CRect rcBody;
        CRect rcImage;
        CSize szImage;
        CSize szTip;
        CString strBody;
    };
    BOOL CalcLayout(CDC* pDC, TOOLITEM* pTool, LAYOUT& layout);
    CSize GetImageSize() const;
    BOOL IsOwnerRightToLeft(const TOOLITEM* pTool) const;

    TOOLITEM* FindTool(HWND hWnd, UINT_PTR uId) const;
    // The tool under a screen point, whatever the buttons.
    TOOLITEM* ToolFromPoint(CPoint ptScreen) const;
    HWND WindowFromPoint(CPoint ptScreen) const;
    BOOL IsSameTool(const TOOLITEM* pTool, HWND hWnd, UINT_PTR uId) const;
    void RelayEvent(const MSG* pMsg);
    void Show(TOOLITEM* pTool);
    void RemoveAllTools();
    int CursorHeight() const;
    void InstallHook();
    void RemoveHook();
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    afx_msg LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetDelayTime(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetDelayTime(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAddTool(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDelTool(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRelayEvent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTitle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateTipText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowFromPoint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetToolCount(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetImage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClientMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFontMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void Paint(CDC* pDC);

    CQVTToolTipContext* m_pContext;           // the settings; it owns this window
    CArray<TOOLITEM*, TOOLITEM*> m_arrTools;  // owned
    BOOL m_bActive;
    TOOLITEM m_toolShown;  // a copy of the tool whose tip is up
    BOOL m_bToolShown;
    HWND m_hwndClicked;  // the last left-clicked tool
    UINT_PTR m_uIdClicked;
    BOOL m_bClicked;
    HWND m_hwndPending;  // waiting for the initial delay
    UINT_PTR m_uIdPending;
    BOOL m_bPending;
    DWORD m_dwLastShowHide;  // GetTickCount of the last show or hide
    int m_nDelayInitial;
    int m_nDelayReshow;
    int m_nDelayAutoPop;  // 0: the tip stays
    UINT_PTR m_nTimerShow;
    UINT_PTR m_nTimerAutoPop;
    CString m_strTitle;
    int m_nTitleIcon;
    CQVTImageManagerIcon* m_pImage;  // one reference held
    BOOL m_bRegion;                  // the rounded region is applied
    HFONT m_hFont;                   // set by WM_SETFONT
    HHOOK m_hMouseHook;
    int m_nBusy;                         // frames of the window's own code on the stack
    BOOL m_bDeleteWhenIdle;              // dropped by the context while busy
    CQVTToolTipContext* m_pHeldContext;  // one reference, held while busy

private:
    void LeaveBusy();
};
