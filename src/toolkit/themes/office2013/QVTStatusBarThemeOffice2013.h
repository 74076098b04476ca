// Flat status bars: one face colour, coloured button panes and switches,
// and no pane borders, separators or gripper.
#pragma once

#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

class CQVTStatusBarThemeOffice2013 : public CQVTStatusBarPaintManager
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeOffice2013)

public:
    explicit CQVTStatusBarThemeOffice2013(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar) override;
    void DrawPaneButton(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane) override;
    COLORREF GetPaneTextColor(CQVTStatusBarPane* pPane) override;
    int DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane) override;
    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override {}
    void DrawPaneSeparator(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane) override {}
    void DrawGripper(CDC* pDC, CRect rcClient) override {}

    CQVTPaintManagerColor m_clrButtonBack;
    CQVTPaintManagerColor m_clrButtonBackChecked;
    CQVTPaintManagerColor m_clrButtonBackPushed;
    CQVTPaintManagerColor m_clrButtonBackHighlight;
    CQVTPaintManagerColor m_clrButtonTextChecked;
    CQVTPaintManagerColor m_clrButtonTextPushed;
    CQVTPaintManagerColor m_clrButtonTextHighlight;

protected:
    COLORREF GetButtonBack(BOOL bPressed, BOOL bHot, BOOL bChecked) const;
};
