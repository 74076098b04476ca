// Flat galleries: a plain face with a one-pixel frame, and up, down and
// "more" buttons of flat faces with small triangle glyphs.
#pragma once

#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"

class CQVTControlGalleryOffice2013Theme : public CQVTControlGalleryPaintManager
{
    DECLARE_DYNAMIC(CQVTControlGalleryOffice2013Theme)

public:
    explicit CQVTControlGalleryOffice2013Theme(CQVTPaintManager* pPaintManager);

    void FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc) override;
    void DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery) override;
    void RefreshMetrics() override;

    COLORREF m_clrBack;
    COLORREF m_clrScrollTriangle;
    COLORREF m_clrScrollTriangleHighlight;
    COLORREF m_clrScrollTrianglePushed;
    COLORREF m_clrScrollTriangleDisabled;
    COLORREF m_clrScrollBorder;
    COLORREF m_clrScrollBorderHighlight;
    COLORREF m_clrScrollBorderDisabled;
    COLORREF m_clrScrollBackHighlight;
    COLORREF m_clrScrollBackPushed;

protected:
    void DrawScrollGlyph(CDC* pDC, int nPart, CPoint ptCentre, COLORREF clr);
};
