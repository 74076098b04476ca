// The Office XP status bar: flat pane frames and thin group separators.
#pragma once

#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

class CQVTStatusBarThemeOfficeXP : public CQVTStatusBarPaintManager
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeOfficeXP)

public:
    explicit CQVTStatusBarThemeOfficeXP(CQVTPaintManager* pPaintManager);

    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override;
    void DrawPaneSeparator(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane) override;
};
