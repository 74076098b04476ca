// Flat progress bars: a framed track and a plain fill for the share done.
#pragma once

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"

class CQVTProgressThemeOffice2013 : public CQVTProgressPaintManager
{
    DECLARE_DYNAMIC(CQVTProgressThemeOffice2013)

public:
    explicit CQVTProgressThemeOffice2013(CQVTPaintManager* pPaintManager);

    void DrawProgress(CDC* pDC, CQVTProgressBase* pProgress) override;
    void RefreshMetrics() override;

    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrBar;
    CQVTPaintManagerColor m_clrBack;
};
