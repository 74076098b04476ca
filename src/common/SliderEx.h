// An owner-drawn horizontal slider that takes over a dialog control: a
// thumb over a channel, optional inner limits (a band on the channel with
// two draggable markers) that the position stays within, hover colours, a
// greyed look, click-to-jump, and a settle timer that reports a drag as
// released once the thumb has rested about 0.6 s with the button still down.
// The parent hears of changes through the messages below (the slider's
// window as the first parameter).
#pragma once

#include <afxwin.h>

#define WM_SLIDEREX_RELEASED (WM_USER + 8)          // a thumb drag ended or settled
#define WM_SLIDEREX_CHANGING (WM_USER + 9)          // a thumb drag moved the position
#define WM_SLIDEREX_LIMITS_RELEASED (WM_USER + 10)  // a marker drag ended
#define WM_SLIDEREX_LOWER_CHANGED (WM_USER + 11)    // a marker drag moved the lower limit
#define WM_SLIDEREX_UPPER_CHANGED (WM_USER + 12)    // a marker drag moved the upper limit

class CSliderEx : public CWnd
{
    DECLARE_DYNAMIC(CSliderEx)

public:
    CSliderEx();
    ~CSliderEx() override;

    // The setters repaint; the position is kept within the range, or within
    // the limits in limit mode, and the limits within the range.
    void SetRange(int nA, int nB);
    void SetLimits(int nA, int nB);
    void EnableLimits(BOOL bEnable);
    void SetPos(int nPos);
    void SetThumbWidth(int nWidth);
    void SetThumbHeight(int nHeight);
    void ShowLimitMarkers(BOOL bShow);
    void EnableLimitMarkers(BOOL bEnable);
    void SetEnabledLook(BOOL bEnabled);
    void SetChannelInverted(BOOL bInverted);
    void EnableSettleTimer(BOOL bEnable) { m_bSettleTimer = bEnable; }
    BOOL SubclassControl(HWND hWnd);

    int GetPos() const { return m_nPos; }
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    int GetLowerLimit() const { return m_nLower; }
    int GetUpperLimit() const { return m_nUpper; }
    BOOL IsThumbDragged() const { return m_bThumbDragged; }

    // Geometry, in client coordinates.
    CRect GetChannelRect() const;
    CRect GetThumbRect() const;
    CRect GetLimitsRect() const;
    CRect GetLowerMarkerRect() const;
    CRect GetUpperMarkerRect() const;
    // The left edge of the thumb at a value.
    int ValueToPixel(int nValue) const;
    // The value under a client x (not clamped).
    int PointToValue(int x) const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Invalidate();
    int Range() const { return m_nMax - m_nMin > 0 ? m_nMax - m_nMin : 1; }
    int Clamp(int nValue) const;
    int ClampIntoRange(int nValue) const;
    void KeepLimitsInRange();
    void MoveThumbTo(int x);
    void DragLowerMarker(int x);
    void DragUpperMarker(int x);
    void KeepPositionInLimits();
    // Ends the drags; bReleaseCapture: a button release rather than a lost capture.
    void EndDrag(BOOL bReleaseCapture);
    void Notify(UINT nMessage);
    void StopTimer();
    void TrackLeave();
    BOOL IsOverActivePart(CPoint point) const;
    void Paint(CDC* pDC);
    void PaintMarkers(CDC* pDC, const CRect& rcChannel, BOOL bHoverLower, BOOL bHoverUpper);
    void PaintThumb(CDC* pDC, BOOL bHover);
    COLORREF Greyed(COLORREF clr) const;

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    int m_nLower = 0;                 // inner limit
    int m_nUpper = 100;               // inner limit
    BOOL m_bChannelInverted = FALSE;  // swaps the channel's and the band's shading
    int m_nChannelHeight = 6;
    int m_nThumbWidth = 24;  // half of it is also the channel's inset at each end
    int m_nThumbHeight = 8;
    BOOL m_bLimitMode = TRUE;       // the position stays within the limits
    BOOL m_bMarkersShown = TRUE;    // the markers are drawn and can be dragged
    BOOL m_bMarkersEnabled = TRUE;  // markers and band in normal colours, draggable
    BOOL m_bEnabledLook = TRUE;     // the thumb draggable and in normal colours
    BOOL m_bLowerDragged = FALSE;
    BOOL m_bUpperDragged = FALSE;
    BOOL m_bThumbDragged = FALSE;
    HCURSOR m_hCursor = nullptr;  // the hand, over active parts and while dragging
    BOOL m_bSettleTimer = TRUE;   // a thumb drag runs the settle timer
    UINT_PTR m_nTimer = 0;        // the running settle timer, 0 when none
    int m_nSettleCountdown = 30;  // ticks of 20 ms left before a resting drag counts as released
    BOOL m_bChangedByDrag = FALSE;
    BOOL m_bTrackingLeave = FALSE;  // a WM_MOUSELEAVE is asked for
};
