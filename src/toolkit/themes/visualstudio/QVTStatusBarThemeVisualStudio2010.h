// The 2010 development environment's status bar: white text on a dark blue
// face, and with visual styles a triangle of shaded dots as its gripper.
#pragma once

#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

class CQVTStatusBarThemeVisualStudio2010 : public CQVTStatusBarPaintManager
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeVisualStudio2010)

public:
    explicit CQVTStatusBarThemeVisualStudio2010(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar) override;
    void DrawGripper(CDC* pDC, CRect rcClient) override;

protected:
    // Whether the application draws with visual styles; tests reach the
    // other path here.
    virtual BOOL IsAppThemed() const;
};
