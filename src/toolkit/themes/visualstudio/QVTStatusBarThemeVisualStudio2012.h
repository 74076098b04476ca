// The Visual Studio 2012 status bar: one flat accent fill, no pane borders,
// and the small dotted size gripper that the Windows 10 status bar shares.
#pragma once

#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

class CQVTStatusBarThemeVisualStudio2012 : public CQVTStatusBarPaintManager
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeVisualStudio2012)

public:
    explicit CQVTStatusBarThemeVisualStudio2012(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar) override;
    void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane) override {}
    void DrawGripper(CDC* pDC, CRect rcClient) override;

    // A triangle of ten dots (rows of 4, 3, 2 and 1 from the bottom) whose
    // lower right dot sits 6 px in from the rectangle's lower right corner,
    // dark first and light again one pixel right and down.
    static void AFX_CDECL DrawDottedGripper(CDC* pDC, const CRect& rc, COLORREF clrDark, COLORREF clrLite);
};
