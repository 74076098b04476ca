// Flat scroll bars: framed arrow buttons with glyphs, a plain track and a
// framed thumb, each part in the colours of its state.
#pragma once

#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

class CQVTScrollBarThemeOffice2013 : public CQVTScrollBarPaintManager
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeOffice2013)

public:
    CQVTScrollBarThemeOffice2013();

    // States and parts of the colours, as in the INI keys.
    enum State
    {
        stateNormal,
        statePressed,
        stateSelected,
        stateDisabled,
        stateCount
    };
    enum Part
    {
        partBack,
        partScrollBorder,
        partScrollBack,
        partScrollArrow,
        partThumbBorder,
        partThumbBack,
        partCount
    };

    // The colours of one drawing, chosen from the hot and pressed parts.
    struct COLORRECORD
    {
        COLORREF clrFirstBack, clrFirstArrow, clrFirstBorder;
        COLORREF clrSecondBack, clrSecondArrow, clrSecondBorder;
        COLORREF clrTrack;
        COLORREF clrThumbBack, clrThumbBorder;
    };

    void RefreshMetrics() override;
    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;
    void DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    // The record the next drawing uses.
    COLORRECORD MakeColorRecord(CQVTScrollBase* pScrollBar) const;

    COLORREF m_clrParts[stateCount][partCount];

protected:
    void DrawBackground(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts);
    void DrawArrowButtons(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts);
    void DrawArrowGlyphs(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    void DrawThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts);

    COLORRECORD m_record;  // of the drawing under way
};
