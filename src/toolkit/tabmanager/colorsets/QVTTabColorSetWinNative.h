// The platform's visual style: tab items, the pane and the navigate buttons
// drawn by the "TAB" and "TOOLBAR" theme classes while the application is
// themed; the default set's drawing otherwise.
#pragma once

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

class CColorSetWinNative : public CQVTTabColorSetDefault
{
public:
    void RefreshMetrics() override;
    BOOL IsThemed() override;
    void FillClient(CDC* pDC, CRect rc, CQVTTabManager* pTabManager) override;
    void FillTabButton(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem) override;
    void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) override;
    COLORREF FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem) override;

protected:
    CQVTWinThemeWrapper m_themeTab;
    CQVTWinThemeWrapper m_themeToolbar;
};
