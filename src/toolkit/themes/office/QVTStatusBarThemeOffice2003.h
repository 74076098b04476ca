// The gradient theme's status bar: panes framed in one light colour and,
// without visual styles, a gripper of three diagonal bands whose lines grow
// with the screen's DPI.
#pragma once

#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

class CQVTStatusBarThemeOffice2003 : public CQVTStatusBarPaintManager
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeOffice2003)

public:
    explicit CQVTStatusBarThemeOffice2003(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override;
    void DrawGripper(CDC* pDC, CRect rcClient) override;

    CQVTPaintManagerColor m_clrPaneBorder;
};
