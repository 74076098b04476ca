// A progress bar on a command bar, drawn by the theme's progress paint
// manager.
#pragma once

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTProgressBase.h"

class CQVTPropExchange;

class CQVTControlProgress : public CQVTControl, public CQVTProgressBase
{
    DECLARE_SERIAL(CQVTControlProgress)

public:
    CQVTControlProgress();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    CQVTControl* Clone(BOOL bRecursive = FALSE) override;
    // "Min", "Max" and "Pos".
    void DoPropExchange(CQVTPropExchange* pPX) override;

    // CQVTProgressBase
    CRect GetProgressRect() override { return m_rcControl; }
    void RedrawProgress() override { RedrawParent(FALSE); }
    CQVTProgressPaintManager* GetProgressPaintManager() override;
};
