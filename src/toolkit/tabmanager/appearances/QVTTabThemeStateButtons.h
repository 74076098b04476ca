// Tabs as a row of buttons: the selected one pushed in, the others parted
// by thin lines; no client frame.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CAppearanceSetStateButtons : public CQVTTabPaintManagerTheme
{
public:
    CAppearanceSetStateButtons();

    int GetDefaultColorSet() const override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
