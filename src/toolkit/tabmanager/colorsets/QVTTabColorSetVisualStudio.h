// Visual Studio 2003 to 2010 colours: the colour manager's derived colours,
// the palettes of the XP colour schemes, and the fixed dark blue of 2010.
#pragma once

#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"

class CColorSetVisualStudio2003 : public CQVTTabColorSetDefault
{
public:
    void RefreshMetrics() override;
};

class CColorSetVisualStudio2005 : public CQVTTabColorSetOffice2003
{
public:
    void RefreshMetrics() override;

protected:
    // What 2005 and 2008 set first, over the Office 2003 colours.
    void RefreshVisualStudioBase();
    // What both set last.
    void FinishVisualStudio();
};

class CQVTTabColorSetVisualStudio2008 : public CColorSetVisualStudio2005
{
public:
    void RefreshMetrics() override;
};

class CQVTTabColorSetVisualStudio2010 : public CQVTTabColorSetVisualStudio2008
{
public:
    void RefreshMetrics() override;
    void SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem) override;
    void FillHeader(CDC* pDC, CRect rc, CQVTTabManager* pTabManager) override;
    void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) override;
    COLORREF FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem) override;

    BOOL m_bPlainSelection = FALSE;  // no glow on the selected tab's outer half
};
