// Status bars drawn from the resource image set: the light face image, the
// dark one under the panes that ask for it, pane edges in the scheme's
// gripper colours and the gripper image. Without the set's images a status
// bar looks as in the gradient theme.
#pragma once

#include "toolkit/themes/office/QVTStatusBarThemeOffice2003.h"

class CQVTResourceTheme;

class CQVTStatusBarThemeResource : public CQVTStatusBarThemeOffice2003
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeResource)

public:
    explicit CQVTStatusBarThemeResource(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar) override;
    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override;
    void DrawGripper(CDC* pDC, CRect rcClient) override;

protected:
    // The theme while its set holds an INI, else null.
    CQVTResourceTheme* GetValidTheme() const;
};
