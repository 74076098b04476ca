// Office 2007 property-page tabs and Access 2007 object tabs, drawn from the
// images of the resource image set (the item fill where one is missing).
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CAppearanceSetPropertyPage2007 : public CQVTTabPaintManagerTheme
{
public:
    CAppearanceSetPropertyPage2007();

    int GetDefaultColorSet() const override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
    // The item's image, as for the top position.
    virtual void DrawImageTab(CDC* pDC, CQVTTabManagerItem* pItem, CRect rc);
};

class CAppearanceSetPropertyPageAccess2007 : public CAppearanceSetPropertyPage2007
{
public:
    int GetDefaultColorSet() const override;
    void RefreshMetrics() override;
    CRect GetHeaderMargin() override;
    CRect GetButtonDrawRect(const CQVTTabManagerItem* pItem) override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
    void DrawImageTab(CDC* pDC, CQVTTabManagerItem* pItem, CRect rc) override;
};
