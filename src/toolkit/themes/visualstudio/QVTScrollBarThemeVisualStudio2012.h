// The flat scroll bars of the Visual Studio looks: a track in one colour,
// bare arrow glyphs and a slim thumb. The 2012 bar takes fixed light or
// dark colours by its theme style; the 2015 bar reads the same eight
// colours from the resource images' INI.
#pragma once

#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

// The eight colours of one look.
struct QVT_FLAT_SCROLLBAR_COLORS
{
    COLORREF clrTrack;
    COLORREF clrArrowDisabled;
    COLORREF clrArrow;
    COLORREF clrArrowHot;
    COLORREF clrArrowPressed;
    COLORREF clrThumb;
    COLORREF clrThumbHot;
    COLORREF clrThumbPressed;
};

class CQVTScrollBarThemeVisualStudio2012 : public CQVTScrollBarPaintManager
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeVisualStudio2012)

public:
    // The theme style that selects the dark colours.
    enum
    {
        styleDark = 9
    };

    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    void DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    // The colours for a bar of the given theme style.
    virtual QVT_FLAT_SCROLLBAR_COLORS GetColors(int nThemeStyle) const;

protected:
    void DrawGlyphs(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    void DrawSlimThumb(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
};

class CQVTScrollBarThemeVisualStudio2015 : public CQVTScrollBarThemeVisualStudio2012
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeVisualStudio2015)

public:
    CQVTScrollBarThemeVisualStudio2015();

    void RefreshMetrics() override;
    QVT_FLAT_SCROLLBAR_COLORS GetColors(int nThemeStyle) const override;

private:
    QVT_FLAT_SCROLLBAR_COLORS m_colors;  // read from "Common.ScrollBar"
};
