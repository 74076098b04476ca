// The button theme drawn from the current resource image set: the push
// button, check box and radio button images of the colour scheme.
#pragma once

#include "toolkit/controls/button/QVTButtonThemeUltraFlat.h"

class CQVTButtonThemeResource : public CQVTButtonThemeUltraFlat
{
public:
    CQVTButtonThemeResource();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
    void DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton) override;

protected:
    // The mark's frame of the scheme's image; -1 when there is no image.
    int GetMarkState(CQVTButton* pButton, BOOL bCheckBox) const;
};
