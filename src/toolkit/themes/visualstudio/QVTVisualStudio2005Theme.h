// The gradient theme recoloured after the 2005 development environment: the
// Office 2003 drawing with its own toolbar, dock-bar and menu colours for the
// blue, olive and silver schemes. It reads the colour manager's scheme
// itself, never the paint manager's selection, which it turns off.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"

class CQVTVisualStudio2005Theme : public CQVTCommandBarsOffice2003Theme
{
    DECLARE_DYNAMIC(CQVTVisualStudio2005Theme)

public:
    CQVTVisualStudio2005Theme();

    void RefreshMetrics() override;
    int GetThemeId() const override { return qvtThemeVisualStudio2005; }

protected:
    // The colour manager's scheme (1 blue to 5 aero), which these themes follow.
    static int AFX_CDECL GetColorScheme();
};
