// The gradient theme with its colours read from the INI text of the
// process-wide resource image set, and scroll bars, progress bars, sliders,
// galleries, message bars and status bars drawn from the set's images.
// While the set holds no INI it draws as the gradient theme does.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"

class CQVTResourceImage;
class CQVTResourceImages;

class CQVTResourceTheme : public CQVTCommandBarsOffice2003Theme
{
    DECLARE_DYNAMIC(CQVTResourceTheme)

public:
    CQVTResourceTheme();
    ~CQVTResourceTheme() override;

    // Another module or INI for the set; every bar takes the new colours.
    void SetImageHandle(HMODULE hModule, LPCTSTR lpszIniName) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    void FillWorkspace(CDC* pDC, CRect rc) override;
    void RefreshMetrics() override;
    int GetThemeId() const override { return qvtThemeResource; }
    BOOL HasResourceLook() const override { return TRUE; }
    CQVTFramePaintManager* GetFramePaintManager() override;
    CQVTRibbonPaintManager* GetRibbonPaintManager() override;

    // The set's image of that name, loaded on first use, or null. Valid for
    // one drawing: a theme change empties the set's cache.
    CQVTResourceImage* LoadImage(LPCTSTR lpszImageName) const;
    CQVTResourceImages* GetResourceImages() const { return m_pImages; }

public:
    CQVTPaintManagerColor m_clrMenuBarText;  // captions of idle menu-bar items
    CQVTPaintManagerColor m_clrStatusBarShadow;
    CQVTPaintManagerColorGradient m_grcStatusBarTop;     // upper half of the status bar
    CQVTPaintManagerColorGradient m_grcStatusBarBottom;  // lower half
    CQVTPaintManagerColor m_clrWorkspace[3];             // top, middle, bottom of the MDI workspace
    int m_nMessageBarHeight;                             // scaled; below 1 the base's
    CSize m_szMessageBarButton;                          // scaled; 0 x 0 until read
    CQVTPaintManagerColorGradient m_grcMessageBar;       // the message area
    CQVTPaintManagerColor m_clrMessageBarFrame;
    CQVTPaintManagerColor m_clrMessageBar;  // the bar round the message area

protected:
    void ReadIniColors();

    CQVTResourceImages* m_pImages;  // the process-wide set
};
