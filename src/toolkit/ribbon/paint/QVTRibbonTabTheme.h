// The look of the ribbon's tabs inside an ordinary tab paint manager: the
// ribbon paint manager draws each tab's face (contextual colours, selected
// and hot states) and the tab machinery lays out and draws captions.
#pragma once

#include <afxwin.h>

#include "toolkit/tabmanager/appearances/QVTTabThemeFlat.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"

class CQVTRibbonPaintManager;

class CQVTRibbonTabTheme : public CAppearanceSetPropertyPageFlat
{
public:
    explicit CQVTRibbonTabTheme(CQVTRibbonPaintManager* pRibbonPaintManager);

    int GetRowHeight(CQVTTabManager* pTabManager) override;
    void DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
    int DrawText(CDC* pDC, CQVTTabManager* pTabManager, const CString& strText, LPRECT lpRect,
                 UINT nFormat) override;

protected:
    CQVTRibbonPaintManager* m_pRibbonPaintManager;  // the maker; not owned
};

class CQVTRibbonTabColorSet : public CQVTTabColorSetOffice2003
{
public:
    CQVTRibbonTabColorSet();

    void SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem) override;

    CQVTPaintManagerColor m_clrReservedRibbon;
    // Cleared when the tab text is too close in lightness to the plain
    // context header's back.
    BOOL m_bTextContrast = TRUE;
};
