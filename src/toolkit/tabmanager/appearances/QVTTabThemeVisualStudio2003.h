// Visual Studio 2003 tabs: the selected one raised in 3D, the others only
// parted by a line at their trailing edge.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CQVTTabThemeVisualStudio2003 : public CQVTTabPaintManagerTheme
{
public:
    CQVTTabThemeVisualStudio2003();

    int GetDefaultColorSet() const override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
