// Flat zoom sliders of status bars: bar-shaped minus and plus buttons, a
// one-pixel track and a block thumb, hot parts in the highlight colour.
#pragma once

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/themes/elements/QVTSliderPaintManager.h"

class CQVTSliderThemeOffice2013 : public CQVTSliderPaintManager
{
    DECLARE_DYNAMIC(CQVTSliderThemeOffice2013)

public:
    explicit CQVTSliderThemeOffice2013(CQVTPaintManager* pPaintManager);

    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;
    void RefreshMetrics() override;

    // The theme style of a slider drawn in the slider colour rather than
    // the scroll-bar colour.
    enum
    {
        sliderStyle = 7
    };

    CQVTPaintManagerColor m_clrSlider;
    CQVTPaintManagerColor m_clrScrollBar;
    CQVTPaintManagerColor m_clrHighlight;
};
