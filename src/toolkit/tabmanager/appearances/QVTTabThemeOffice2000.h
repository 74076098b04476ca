// The classic three-dimensional tab, the default appearance, and its variant
// that frames only the selected and the hot item.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CQVTTabThemeOffice2000 : public CQVTTabPaintManagerTheme
{
public:
    CQVTTabThemeOffice2000();

    CRect GetHeaderClipBox(CDC* pDC, CQVTTabManager* pTabManager) override;
    CRect GetClientMargin() override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};

class CAppearanceSetPropertyPageSelected : public CQVTTabThemeOffice2000
{
public:
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
