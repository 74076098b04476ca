// The 2010 development environment's look: one fixed set of blue-grey
// colours whatever the system's scheme (a variant before Windows Vista),
// flat toolbars inside rounded frames, hot items in rounded frames, and
// single-line separators in popups.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"

class CQVTVisualStudio2010Theme : public CQVTCommandBarsOffice2003Theme
{
    DECLARE_DYNAMIC(CQVTVisualStudio2010Theme)

public:
    CQVTVisualStudio2010Theme();

    void RefreshMetrics() override;
    int GetThemeId() const override { return qvtThemeVisualStudio2010; }
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    CRect GetScaledMargins(CQVTCommandBar* pBar) override;

public:
    CQVTPaintManagerColor m_clrSeparator;  // separators in popups

protected:
    // Windows Vista or later; tests reach the older colours here.
    virtual BOOL IsVistaOrLater() const;

private:
    void FillDockedToolBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc, BOOL bVertical);
    void FillHighlight(CDC* pDC, const CRect& rc);
};
