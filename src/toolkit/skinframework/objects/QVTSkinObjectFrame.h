// The skin object that owns a window's non-client area: borders, caption,
// caption buttons and region from the skin, the window's own scroll bars
// drawn from the skin, and the system's mouse handling of both (hot
// tracking, pressing, auto-repeat, thumb dragging) in loops of its own.
// Every per-class skin object derives from it.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "toolkit/skinframework/objects/QVTSkinObject.h"

class CQVTSkinManagerClass;

// Parts of a scroll bar under a point.
enum : int
{
    qvtSkinScrollNone = 0,
    qvtSkinScrollFirstArrow = 60,
    qvtSkinScrollSecondArrow = 61,
    qvtSkinScrollPageBefore = 62,
    qvtSkinScrollPageAfter = 63,
    qvtSkinScrollThumb = 64,
};

// Timers of the frame.
enum : UINT_PTR
{
    qvtSkinFrameHotTimer = 2763,     // hot tracking of caption buttons and bar parts
    qvtSkinFrameStyleTimer = 2765,   // frame-style refresh after a z-order change
    qvtSkinFrameRepeatTimer = 23345  // auto-repeat of arrows and page areas
};

// The layout of one scroll bar, along its axis.
struct QVT_SKIN_SCROLLBARPOSINFO
{
    int posMin;
    int posMax;
    int page;  // clamped to 0x7FFFFFFF
    int pos;
    int pxTop;  // start of the bar along its axis
    int pxBottom;
    int pxLeft;  // extent across the axis
    int pxRight;
    int cpxThumb;
    int pxUpArrow;    // end of the first arrow
    int pxDownArrow;  // start of the second arrow
    int pxStart;      // thumb top when a drag began
    int pxThumbBottom;
    int pxThumbTop;
    int pxPopup;  // free track: track length minus thumb length, never below 0
    int pxMin;    // track start, the first pixel after the first arrow
    RECT rc;      // the whole bar
    int ht;       // hot or pressed part (qvtSkinScroll*)
    BOOL fVert;
    BOOL fDisabled;
    int nBar;  // SB_HORZ, SB_VERT or SB_CTL
    BOOL fVisible;
};

class CQVTSkinObjectFrame : public CQVTSkinObject
{
    DECLARE_DYNCREATE(CQVTSkinObjectFrame)

public:
    class CCaptionButton
    {
    public:
        CCaptionButton(UINT nCommand, UINT nHitCode, int nPart, BOOL bEnabled, CQVTSkinObjectFrame* pFrame)
            : m_nHTCode(nHitCode), m_nClassPart(nPart), m_pFrame(pFrame), m_nCommand(nCommand),
              m_bEnabled(bEnabled)
        {
        }
        virtual ~CCaptionButton() = default;

        BOOL IsPressed() const;
        BOOL IsHighlighted() const;
        // 1 normal, 2 hot, 3 pressed, 4 disabled; 4 more for an inactive frame.
        int GetState(BOOL bActive) const;
        virtual void Draw(CDC* pDC, BOOL bActive);
        // Disabled buttons are never hit.
        BOOL HitTest(CPoint ptWindow) const;

        UINT m_nHTCode;
        CRect m_rcButton;  // window coordinates, placed by the schema
        int m_nClassPart;  // part of class "WINDOW"
        CQVTSkinObjectFrame* m_pFrame;
        UINT m_nCommand;  // the system command a click sends
        BOOL m_bEnabled;
    };

    typedef QVT_SKIN_SCROLLBARPOSINFO SCROLLBARPOSINFO;

    // Exists only while a scroll-bar loop runs.
    struct SCROLLBARTRACKINFO
    {
        BOOL fHitOld;  // the mouse is inside the pressed part
        RECT rcTrack;  // the pressed part, or the thumb's tolerance rect
        UINT cmdSB;    // SB_LINEUP .. SB_PAGEDOWN, 4 for the thumb
        UINT_PTR hTimerSB;
        int dpxThumb;  // thumb top minus the mouse at the start
        int pxOld;     // current thumb top
        int posOld;    // last position sent
        int posNew;
        BOOL bTrackThumb;
        BOOL fTrackVert;
        HWND hWndSB;     // the scroll-bar control (bar 2)
        HWND hWndTrack;  // receives WM_HSCROLL/WM_VSCROLL; cleared when tracking ends
        int nBar;
        BOOL fNonClient;
        SCROLLBARPOSINFO* pSBInfo;
        int posStart;  // the position when the drag began
    };

    CQVTSkinObjectFrame();
    ~CQVTSkinObjectFrame() override;

    // Brush of the client background, asked of the parent first.
    virtual HBRUSH GetClientBrush(CDC* pDC);
    virtual void OnMenuChanged();
    virtual UINT GetClientBrushMessage();
    virtual void DrawFrame(CDC* pDC);
    // TRUE when the system command was handled.
    virtual BOOL OnSysCommandHook(UINT nID, LPARAM lParam);
    // (-1, -1): the mouse has left. TRUE while something of the frame is hot.
    virtual BOOL OnNcMouseMoveHook(CPoint ptScreen);
    // Hit code of the frame's own elements, 0 for none.
    virtual UINT HitTestFrame(CPoint ptScreen);

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void RefreshMetrics() override;
    void OnWindowAttached(LPCREATESTRUCT lpcs, BOOL bAtCreation) override;
    void OnWindowDetached(BOOL bAtDestruction) override;
    BOOL OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL IsMessagePassedThrough(UINT message) override;

    // DrawFrame on a window DC, or WM_NCPAINT when frames are not skinned.
    void RedrawFrame();
    // One non-client bar (SB_HORZ, SB_VERT), or the control's (SB_CTL).
    void RedrawScrollBar(int nBar);
    BOOL RefreshMenuBar();
    void UpdateRegion(SIZE sz);
    HWND GetTopLevelWindow();
    // Removes WM_DLGFRAME for one WM_NCCALCSIZE so the system frame's size
    // follows the skin's.
    void RefreshFrameStyle();
    // Rebuilt only when the style pair changed since the last call.
    void UpdateButtons();
    void UpdateScrollBarsVisibility();
    BOOL IsSizeGripVisible();
    BOOL IsFlatScrollBars() const;
    BOOL IsFramesSkinned();
    // The frame's element under a point of the window, or null.
    CCaptionButton* HitTestButton(CPoint ptWindow);
    // The part of a bar under a window (client for SB_CTL) point.
    static int AFX_CDECL HitTestScrollBar(const SCROLLBARPOSINFO* pSBInfo, CPoint pt);
    // The position a thumb at pixel px stands for, clamped to the range.
    static int AFX_CDECL PixelToScrollPos(const SCROLLBARPOSINFO* pSBInfo, int px);
    // Lays a bar out from its rect and scroll info.
    void CalcScrollBarInfo(LPRECT lpRect, SCROLLBARPOSINFO* pSBInfo, const SCROLLINFO* pSI);
    // Finds the bar's rect and scroll info, then lays it out.
    void SetupScrollInfo(SCROLLBARPOSINFO* pSBInfo);
    // The modal loops.
    void TrackCaptionButton();
    void TrackInit(CPoint ptHitTest, SCROLLBARPOSINFO* pSBInfo, BOOL bDirect);

    SCROLLBARPOSINFO* GetScrollBarPosInfo(int nBar) { return nBar == SB_HORZ ? &m_spi[0] : &m_spi[1]; }
    const std::vector<std::unique_ptr<CCaptionButton>>& GetCaptionButtons() const { return m_arrButtons; }
    CRect GetBorders() const { return m_rcBorders; }
    BOOL IsActive() const { return m_bActive; }
    BOOL IsTracking() const { return m_pSBTrack != nullptr; }
    // The state of the running scroll-bar loop, or null.
    const SCROLLBARTRACKINFO* GetTrackInfo() const { return m_pSBTrack; }
    CCaptionButton* GetHotButton() const { return m_pButtonHot; }
    CCaptionButton* GetPressedButton() const { return m_pButtonPressed; }
    BOOL IsRegionSet() const { return m_bRegion; }

    // The per-thread Alt state, shared by the frames of a thread.
    // Timers 2763 and 2765 of a frame's window.
    static void CALLBACK OnFrameTimer(HWND hWnd, UINT message, UINT_PTR nIDEvent, DWORD dwTime);
    // The timer calls of the loops (tests record the intervals asked).
    static UINT_PTR(WINAPI* s_pfnSetTimer)(HWND, UINT_PTR, UINT, TIMERPROC);

    static BOOL AFX_CDECL IsAltPressed();
    static void AFX_CDECL SetAltPressed(BOOL bPressed);

    CQVTSkinObject* m_pMDIClient = nullptr;

protected:
    friend class CCaptionButton;

    void ScreenToFrame(LPPOINT lpPoint);
    void ClientToFrame(LPPOINT lpPoint);
    void RebuildButtons(DWORD dwStyle, DWORD dwExStyle);
    void RemoveButtons();
    void ReadBorders();
    BOOL HasCaptionOrThickFrame();
    void FitFrame();
    BOOL HandleControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HBRUSH GetPropertyPageBrush();
    BOOL IsMDIChild();
    BOOL IsMaximizedMDIChild();
    BOOL IsMDIFitOptions();
    CCaptionButton* FindButtonAt(CPoint ptScreen);
    void DrawScrollBar(CDC* pDC, SCROLLBARPOSINFO* pSBInfo);
    void DrawSizeBox(CDC* pDC);
    // The scroll-bar loop's parts.
    void ContScroll();
    void EndScroll(BOOL bCancel);
    void TrackBox(UINT message, CPoint point);
    void TrackThumb(UINT message, CPoint point);
    void TrackMessage(UINT message, CPoint point);
    void DoScroll(UINT cmd, int pos);
    void MoveThumb(int px);
    void RedrawTrackedBar();
    CRect GetPartRect(const SCROLLBARPOSINFO* pSBInfo, int ht) const;
    BOOL IsWindowAlive() const;

    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcRButtonUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStyleChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScroll(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysKeyUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetIcon(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_nLockDrawing = 0;  // nothing is drawn while above 0
    std::vector<std::unique_ptr<CCaptionButton>> m_arrButtons;
    CRect m_rcBorders;  // thicknesses: left, top, right, bottom
    CCaptionButton* m_pButtonHot = nullptr;
    CCaptionButton* m_pButtonPressed = nullptr;
    BOOL m_bRegion = FALSE;
    SCROLLBARTRACKINFO* m_pSBTrack = nullptr;
    SCROLLBARPOSINFO m_spi[2];  // horizontal, vertical
    CSize m_szFrameRegion;
    BOOL m_bActive = TRUE;
    DWORD m_dwStyle = static_cast<DWORD>(-1);
    DWORD m_dwExStyle = 0;
    BOOL m_bInUpdateRegion = FALSE;
    BOOL m_bOnWindowPosChanged = FALSE;
    UINT m_nCtlColorMessage = WM_CTLCOLORDLG;
};

// A standard control of user32: its scroll state can change without a
// non-client paint, so its bars are refreshed after the messages that move it.
class CQVTSkinObjectUser32Control : public CQVTSkinObjectFrame
{
    DECLARE_DYNCREATE(CQVTSkinObjectUser32Control)

public:
    virtual void RefreshScrollBars();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    afx_msg LRESULT OnRefreshingMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUser32EraseBkgnd(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A control of comctl32: the same refresh, needed only on Windows 9x.
class CQVTSkinObjectComCtl32Control : public CQVTSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CQVTSkinObjectComCtl32Control)

public:
    void RefreshScrollBars() override;
};
