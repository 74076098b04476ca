// Visio's stencil bars: a stack of full-width bars, the selected one's page
// opening below it and the bars after it pushed to the bottom.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CAppearanceSetVisio : public CQVTTabPaintManagerTheme
{
public:
    CAppearanceSetVisio();

    CRect GetHeaderRect(CRect rcControl, CQVTTabManager* pTabManager) override;
    CRect GetClientRect(CRect rcControl, CQVTTabManager* pTabManager) override;
    void DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient) override;
    void AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
