// The drawing of galleries: the control's face and frame, group labels,
// items by the gallery's style (picture alone, beside or above its caption,
// caption with a description, or text alone) and the up, down and popup
// buttons that scroll a gallery which opens a popup.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

class CQVTControlGallery;
class CQVTControlGalleryItem;
class CQVTPaintManager;

class CQVTControlGalleryPaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTControlGalleryPaintManager)

public:
    explicit CQVTControlGalleryPaintManager(CQVTPaintManager* pPaintManager);

    virtual void DrawLabel(CDC* pDC, CQVTControlGalleryItem* pLabel, CRect rc);
    virtual void FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc);
    virtual void DrawItem(CDC* pDC, CRect rcItem, CQVTControlGalleryItem* pItem, BOOL bEnabled,
                          BOOL bSelected, BOOL bPressed, BOOL bChecked, CQVTControlGallery* pGallery);
    // nKind 1: every state shows; 2: the item's selected and checked states
    // only.
    virtual void DrawItemBackground(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                    BOOL bChecked, int nKind);
    virtual COLORREF GetItemTextColor(BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked, int nKind);
    // The up, down and popup buttons of a gallery that opens a popup.
    virtual void DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery);
    virtual void RefreshMetrics();

    CQVTPaintManager* m_pPaintManager;
    int m_cyUpButton;
    int m_cyDownButton;
    int m_cxScrollBar;
    CQVTPaintManagerColor m_clrBorder;

protected:
    void DrawImageOf(CDC* pDC, CQVTControlGalleryItem* pItem, CPoint pt, CSize sz, BOOL bEnabled);
};
