// Galleries drawn from the resource image set: faces and frames in the
// set's gallery colours and the scroll column from its up, down and popup
// button images. Without a valid set, or without an image, the base draws.
#pragma once

#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"

class CQVTControlGalleryResourceTheme : public CQVTControlGalleryPaintManager
{
    DECLARE_DYNAMIC(CQVTControlGalleryResourceTheme)

public:
    explicit CQVTControlGalleryResourceTheme(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc) override;
    void DrawLabel(CDC* pDC, CQVTControlGalleryItem* pLabel, CRect rc) override;
    void DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery) override;

    COLORREF m_clrSelected;
    COLORREF m_clrNormal;
    COLORREF m_clrFrame;

protected:
    BOOL IsSetValid() const;
};
