// The soft shadow of one frame, drawn with GDI+ gradients and shown through
// UpdateLayeredWindow; a resizable frame can be resized by dragging it.
//
// The shadow is shown as four layered bands around the frame (above, below,
// left and right of it), never one window over the frame: where no
// compositor blends layered windows they show opaque and lose their region,
// and a window spanning the frame would hide it. The shadow's own window is
// hidden and only carries its timer and lifetime.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"

namespace Gdiplus {
class GpGraphics;
}

class CQVTFrameShadow : public CWnd, private IQVTFrameShadowManagerEvents
{
public:
    enum Band
    {
        bandTop = 0,
        bandBottom = 1,
        bandLeft = 2,
        bandRight = 3,
        bandCount = 4
    };

    // Where a point of the shadow lies around the frame.
    enum Zone
    {
        zoneNone = 0,
        zoneTop = 1,
        zoneTopRight = 2,
        zoneRight = 3,
        zoneBottomRight = 4,
        zoneBottom = 5,
        zoneBottomLeft = 6,
        zoneLeft = 7,
        zoneTopLeft = 8
    };

    // The rectangles the gradients fill, in the shadow's client coordinates.
    struct CDrawingRects
    {
        CSize szCorner;
        CRect rcEdges[4];  // left, top, right, bottom
        CRect rcCentre;
    };

    CQVTFrameShadow(CQVTFrameShadowManager* pManager, HWND hWndFrame);

    BOOL Create(COLORREF clr, int nOuterSize, int nInnerSize, CPoint ptOffset, BYTE nTransparency);
    void Show();
    void Hide();
    void Update(BOOL bReposition, BOOL bRedraw);
    void Reposition() { Update(TRUE, FALSE); }
    void SetShadowColor(COLORREF clr);
    // Positions rising from 0 to 1 and factors within 0 and 1, or a count of
    // 0 to clear; anything else is refused and the stops stay.
    BOOL SetBlendStops(int nCount, const float* pPositions, const float* pFactors);

    HWND GetFrame() const { return m_hWndFrame; }
    BOOL IsShown() const { return m_bShown; }
    BOOL IsResizable();
    int GetOuterSize() const { return m_nOuterSize; }
    int GetInnerSize() const { return m_nInnerSize; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    // The whole shadow on the screen (the frame's rectangle grown and moved).
    CRect GetShadowRect() const { return m_rcShadow; }
    HWND GetBandWindow(int nBand) const;
    // One of the shadow's windows (its own or a band's): a click on a band
    // activates it, and the frame is drawn active meanwhile.
    BOOL IsShadowWindow(HWND hWnd) const;
    // The band shows: the frame is visible, neither minimized nor maximized.
    BOOL IsBandVisible(int nBand) const;

    // Shadow objects alive in the process: one the resize loop holds lives
    // on past its frame until the loop is over.
    static LONG AFX_CDECL GetLiveCount() { return s_nLive; }

    static CDrawingRects AFX_CDECL ComputeDrawingRects(int cx, int cy, int nOuterSize, int nInnerSize);
    // The bands' screen rectangles: the shadow's rectangle less the frame's.
    static void AFX_CDECL ComputeBandRects(const CRect& rcShadow, const CRect& rcFrame, CRect* pBands);
    // The zone of a screen point, against the frame's window rectangle.
    int HitTestZone(CPoint ptScreen) const;

protected:
    void OnFinalRelease() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CQVTFrameShadowManager;

    // One band: shows its part of the shadow and hands the mouse over.
    class CBand : public CWnd
    {
    public:
        explicit CBand(CQVTFrameShadow* pShadow) : m_pShadow(pShadow) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CQVTFrameShadow* m_pShadow;
    };

    ~CQVTFrameShadow() override;

    void OnShadowOptionsChanged(int nOldOptions, int nNewOptions) override;
    void OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnRestoreTimer();
    void DestroyShadowWindows();
    void UpdateHitTestStyle();
    void HideBands();
    void PlaceBands(BOOL bSizeChanged);
    void Redraw();
    void DrawBand(int nBand, const CRect& rcBand);
    BOOL DrawShadow(Gdiplus::GpGraphics* pGraphics);
    BYTE GetConstantAlpha() const;
    void RecomputeBlends();

    // Band input, in screen coordinates.
    BOOL OnBandSetCursor(CPoint ptScreen);
    int OnBandMouseActivate(UINT nMessage);
    void OnBandLButtonDown(CPoint ptScreen);
    void TrackResize(int nZone, CPoint ptStart);

    CQVTFrameShadowManager* m_pManager;
    HWND m_hWndFrame;
    DWORD m_dwThreadId;  // the frame's, whose hook counts this shadow
    BOOL m_bEnabled = FALSE;
    BOOL m_bShown = FALSE;  // shown while the frame is visible
    int m_nOuterSize = 0;   // pixels beyond the frame on every side
    int m_nInnerSize = 0;   // pixels of the corners' curve within the outer size
    CPoint m_ptOffset = CPoint(0, 0);
    COLORREF m_clrShadow = 0;
    BYTE m_nTransparency = 255;  // constant alpha
    BOOL m_bUpdatePending = FALSE;
    BOOL m_bMinimized = FALSE;  // minimized, or restored and waiting for the timer
    BOOL m_bSuspended = FALSE;
    int m_nResizable = -1;  // -1 until known
    BOOL m_bUpdating = FALSE;
    BOOL m_bTracking = FALSE;  // inside the resize loop
    std::vector<float> m_edgeFactors;
    std::vector<float> m_edgePositions;
    std::vector<float> m_reversedEdgeFactors;
    std::vector<float> m_cornerFactors;
    std::vector<float> m_cornerPositions;
    std::vector<float> m_centreFactors;
    std::vector<float> m_centrePositions;
    CRect m_rcShadow;  // on the screen, as last placed
    CRect m_rcFrame;   // the frame's window rectangle, as last placed
    CBand* m_pBands[bandCount] = {};

    static LONG s_nLive;
};
