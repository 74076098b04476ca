// Office 2003 colours (system blends, or the blue, olive and silver
// palettes of the XP colour schemes), and the Office 2007 and Access 2007
// sets that read the resource image set's INI text over them.
#pragma once

#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

class CQVTTabColorSetOffice2003 : public CQVTTabColorSetDefault
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) override;
    COLORREF FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem) override;

    CQVTPaintManagerColor m_clrNavigateButtonBorder;
    BOOL m_bLunaColors = FALSE;  // the palette of a colour scheme is in use

protected:
    // TRUE when the palettes may be used: the paint manager and the colour
    // manager both allow theme colours.
    BOOL IsPaletteAllowed() const;
};

class CQVTTabColorSetOffice2007 : public CQVTTabColorSetOffice2003
{
public:
    void RefreshMetrics() override;
};

class CQVTTabColorSetOffice2007Access : public CQVTTabColorSetOffice2007
{
public:
    void RefreshMetrics() override;
};
