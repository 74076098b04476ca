// Excel's sheet tabs: trapezoids wide on the client side, overlapping their
// neighbours.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CQVTTabThemeExcel2003 : public CQVTTabPaintManagerTheme
{
public:
    CQVTTabThemeExcel2003();

    int GetDefaultColorSet() const override;
    CRect GetHeaderMargin() override;
    CRect GetButtonDrawRect(const CQVTTabManagerItem* pItem) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
