// The Office 2013 set: the "TabManager" keys with Office 2013's defaults,
// separators between buttons, and text and close-button colours by the
// item's state and whether its strip is active.
#pragma once

#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio2012.h"

class CQVTTabColorSetOffice2013 : public CQVTTabColorSetVisualStudio2012
{
public:
    void RefreshMetrics() override;
    COLORREF GetItemColor(CQVTTabManagerItem* pItem) override;
    void SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem) override;
    COLORREF FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem) override;

    CQVTPaintManagerColor m_clrButtonSeparator;
    CQVTPaintManagerColor m_clrNonActiveButtonSeparator;

protected:
    void GetCloseButtonColors(CQVTTabManagerNavigateButton* pButton, COLORREF& clrBack,
                              COLORREF& clrGlyph) override;
    // The text colour of an item by its state and the strip's.
    COLORREF GetItemTextColor(CQVTTabManagerItem* pItem);
    // Selected and hot, selected and pressed, selected, hot, pressed, none;
    // six more for a strip that is not active.
    int GetStateIndex(CQVTTabManagerItem* pItem);
};
