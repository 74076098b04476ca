// The gradient theme's scroll bar: the flat bar in the colours of the
// colour manager's scheme (blue, olive, silver; the Office XP colours
// without one), its arrows and thumb framed in the scheme's dark colour
// and filled like the bars' hot and pressed buttons while hot or pressed.
#pragma once

#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"

class CQVTScrollBarThemeOffice2003 : public CQVTScrollBarThemeFlat
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeOffice2003)

public:
    void RefreshMetrics() override;
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;

public:
    COLORREF m_crHotFace;      // a hot arrow or thumb
    COLORREF m_crHotBorder;    // the frame of a hot or pressed part
    COLORREF m_crPressedFace;  // a pressed arrow or thumb, and the pressed page

protected:
    // Face and frame of one part by its state.
    void DrawPart(CDC* pDC, const CRect& rc, int nState);
    void DrawOffice2003Arrows(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts);
    void DrawOffice2003Track(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts);
    void DrawOffice2003Thumb(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts);
};
