// The 2008 development environment's look: the 2005 colours, hot popup
// items in a vertical highlight gradient inside a rounded frame, menu-bar
// items framed twice, and an etched edge right of the menus' icon column.
#pragma once

#include "toolkit/themes/visualstudio/QVTVisualStudio2005Theme.h"

class CQVTVisualStudio2008Theme : public CQVTVisualStudio2005Theme
{
    DECLARE_DYNAMIC(CQVTVisualStudio2008Theme)

public:
    CQVTVisualStudio2008Theme();

    void RefreshMetrics() override;
    int GetThemeId() const override { return qvtThemeVisualStudio2008; }
    void AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CRect GetScaledMargins(CQVTCommandBar* pBar) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;

public:
    CQVTPaintManagerColorGradient m_grcHighlight;  // face of a hot popup item, top to bottom
    CQVTPaintManagerColor m_clrHighlightBorder;    // its rounded frame
    CQVTPaintManagerColor m_clrHighlightText;      // its caption

private:
    void DrawMenuBarHighlight(CDC* pDC, const CRect& rc, BOOL bPopuped);
};
