// Sliders drawn from the resource image set: the track image across the
// channel, tick images, the minus and plus buttons and the thumb. Without
// the set's images a slider looks as in the gradient theme.
#pragma once

#include "toolkit/themes/elements/QVTSliderPaintManager.h"

class CQVTSliderResourceTheme : public CQVTSliderThemeOffice2007System
{
    DECLARE_DYNAMIC(CQVTSliderResourceTheme)

public:
    explicit CQVTSliderResourceTheme(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    CSize m_szArrowButton;  // frame 0 of the up button image, scaled; 0 x 0 without it
    int m_nThumbWidth;
};
