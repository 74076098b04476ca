// Flat message bars: a plain face with optional one-pixel edges, framed
// buttons and a glyph close button.
#pragma once

#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"

class CQVTMessageBarThemeOffice2013 : public CQVTMessageBarPaintManager
{
    DECLARE_DYNAMIC(CQVTMessageBarThemeOffice2013)

public:
    explicit CQVTMessageBarThemeOffice2013(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillMessageBar(CDC* pDC, CQVTMessageBar* pBar) override;
    void DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton) override;
    void GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight) override;

    CQVTPaintManagerColor m_clrTextHilite;
    CQVTPaintManagerColor m_clrButtonBack;
    CQVTPaintManagerColor m_clrButtonBackHilite;
    CQVTPaintManagerColor m_clrButtonBackPushed;
    CQVTPaintManagerColor m_clrButtonBorder;
    CQVTPaintManagerColor m_clrButtonBorderHilite;
    CQVTPaintManagerColor m_clrButtonBorderPushed;
    // The edges drawn in the border colour; none after construction.
    BOOL m_bBorderLeft = FALSE;
    BOOL m_bBorderTop = FALSE;
    BOOL m_bBorderRight = FALSE;
    BOOL m_bBorderBottom = FALSE;
};
