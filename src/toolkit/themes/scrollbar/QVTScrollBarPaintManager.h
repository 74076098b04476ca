// The drawing of one scroll bar, or of the size box between two, from the
// geometry its scroll base computed. The base splits the bar into its parts
// and hands them, in a fixed order, to the part operations a theme
// overrides; its own part operations draw nothing.
#pragma once

#include <afxwin.h>

class CQVTScrollBase;

// The parts of one drawing, along the bar's axis; across it each takes the
// bar rectangle's full extent.
struct QVT_SCROLLBAR_PARTS
{
    CRect rcWhole;
    CRect rcArrowFirst;
    CRect rcArrowSecond;
    CRect rcTrack;
    CRect rcThumb;
    CRect rcPageBefore;  // from the track's start to the thumb
    CRect rcPageAfter;   // from the thumb to the track's end
    BOOL bEnabled;       // a range to scroll and an enabled bar
};

class CQVTScrollBarPaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTScrollBarPaintManager)

public:
    CQVTScrollBarPaintManager();
    ~CQVTScrollBarPaintManager() override;

    virtual void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar);
    virtual void RefreshMetrics();

    virtual void DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts)
    {
    }
    virtual void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts)
    {
    }
    virtual void DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts)
    {
    }
    virtual void DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts)
    {
    }
    virtual void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) {}
    virtual void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) {}

    // The parts of the bar as its scroll base describes it now.
    static QVT_SCROLLBAR_PARTS AFX_CDECL CalcParts(CQVTScrollBase* pScrollBar);
    // The visual-style state of a part: 4 disabled, 3 pressed, 2 hot, 1 normal.
    static int AFX_CDECL GetPartState(CQVTScrollBase* pScrollBar, int nPart, BOOL bEnabled);

protected:
    // The glyph font's arrows in the two arrow parts, each in its colour
    // (COLORREF(-1) draws none); a part under six pixels either way shows
    // none.
    static void AFX_CDECL DrawArrowGlyphPair(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert,
                                             COLORREF clrFirst, COLORREF clrSecond);

public:
    int m_cxHScroll;            // width of a horizontal bar's arrow
    int m_cyHScroll;            // height of a horizontal bar
    int m_cxVScroll;            // width of a vertical bar
    int m_cyVScroll;            // height of a vertical bar's arrow
    int m_nThumbSize;           // a fixed thumb length, 0 none
    COLORREF m_crBackPushed;    // track colour
    COLORREF m_crBackHilite;    // second track colour
    COLORREF m_crBorderHilite;  // light edge
    COLORREF m_crBorder;        // dark edge
    COLORREF m_crBackground;    // face
};
