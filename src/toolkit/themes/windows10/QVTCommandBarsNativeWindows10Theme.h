// The Windows 10 look: the Office 2013 theme with a few faces redrawn, a
// frame that takes the system accent, and one accent colour for the frame
// and the status bar together. The Visual Studio 2015 look draws the same
// and installs elements that follow the application's ambient accent.
#pragma once

#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

class CQVTCommandBarsNativeWindows10Theme : public CQVTCommandBarsOffice2013Theme
{
    DECLARE_DYNAMIC(CQVTCommandBarsNativeWindows10Theme)

public:
    CQVTCommandBarsNativeWindows10Theme();

    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    COLORREF GetControlTextColor(CQVTControl* pControl) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    void DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked,
                              int barType) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    void DrawControlCheckFrame(CDC* pDC, CRect rc, CQVTControl* pControl) override;

    // The frame's active border and the status bar's accent; -1 returns
    // both to their keys.
    virtual void SetAccentColor(COLORREF clr);
    // The accent when the frame and the status bar show the same one, else -1.
    virtual COLORREF GetAccentColor();
    // 2 px in, framed twice one pixel apart, the rest filled.
    virtual void DrawCheckFrame(CDC* pDC, CRect rc, COLORREF clrFrame, COLORREF clrBack);
};

class CQVTCommandBarsVisualStudio2015Theme : public CQVTCommandBarsNativeWindows10Theme
{
    DECLARE_DYNAMIC(CQVTCommandBarsVisualStudio2015Theme)

public:
    CQVTCommandBarsVisualStudio2015Theme();
};
