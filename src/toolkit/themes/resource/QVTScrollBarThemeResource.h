// Scroll bars drawn from the resource image set, light or, for the dark
// style, dark: the track image behind, pressed page areas, arrow buttons
// with glyphs from a strip of cells, the thumb with its gripper and the
// size box. Without the set's images a bar looks as in the gradient theme.
#pragma once

#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"

class CQVTResourceImage;

class CQVTScrollBarThemeResource : public CQVTScrollBarThemeWindowsUx
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeResource)

public:
    // The scroll base's theme style that asks for the dark images.
    static const int kDarkStyle = 6;

    CQVTScrollBarThemeResource();

    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;
    void DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    // The frame of the arrow image for one arrow: 3 pressed, 2 hot, 1 when
    // another part is hot or pressed, else (and when disabled) 0.
    int GetArrowFrame(int nArrow) const;

protected:
    // The state of the drawing in progress; the images only while it lasts,
    // since a theme change may release them.
    BOOL m_bDark;
    int m_nPressedPart;
    int m_nHotPart;
    BOOL m_bEnabled;
    int m_nThumbLength;
    int m_nThumbOffset;
    CRect m_rcArrowFirst;
    CRect m_rcArrowSecond;
    CRect m_rcTrack;
    CRect m_rcPageBefore;
    CRect m_rcPageAfter;
    CQVTResourceImage* m_pGlyphs;
    CQVTResourceImage* m_pTrack;

    void DrawBackground(CDC* pDC);
    void DrawArrowButtons(CDC* pDC, BOOL bVert);
    void DrawArrowGlyphs(CDC* pDC, BOOL bVert);
    void DrawTrack(CDC* pDC, BOOL bVert);
    void DrawThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    BOOL IsDrawing() const { return m_pGlyphs && m_pTrack; }
};
