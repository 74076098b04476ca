// Status bars of the ribbon command-bar theme: the light face image, and
// from the first dark pane on the dark one behind a divider image; pane
// edges are the separator image, switch panes the switches image. Without
// the set's images a status bar looks as in the resource theme.
#pragma once

#include "toolkit/themes/resource/QVTStatusBarThemeResource.h"

class CQVTRibbonStatusBarTheme : public CQVTStatusBarThemeResource
{
    DECLARE_DYNAMIC(CQVTRibbonStatusBarTheme)

public:
    explicit CQVTRibbonStatusBarTheme(CQVTPaintManager* pPaintManager);

    void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar) override;
    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override;
    int DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane) override;
};
