// The gradient theme's message bar: the bar on the dock-bar gradient, the
// message area framed in the toolbar shadow colour on the info colour.
#pragma once

#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"

class CQVTMessageBarThemeOffice2003 : public CQVTMessageBarPaintManager
{
    DECLARE_DYNAMIC(CQVTMessageBarThemeOffice2003)

public:
    explicit CQVTMessageBarThemeOffice2003(CQVTPaintManager* pPaintManager);

    void FillMessageBar(CDC* pDC, CQVTMessageBar* pBar) override;
};
