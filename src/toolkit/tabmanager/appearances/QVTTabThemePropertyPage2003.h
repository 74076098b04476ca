// Office 2003 property-page tabs with a slanted leading edge, and the
// Visual Studio 2005 tabs slanted at both ends.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CAppearanceSetPropertyPage2003 : public CQVTTabPaintManagerTheme
{
public:
    CAppearanceSetPropertyPage2003();

    int GetDefaultColorSet() const override;
    CRect GetHeaderMargin() override;
    CRect GetButtonDrawRect(const CQVTTabManagerItem* pItem) override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;

    BOOL m_bDrawHotOutline = FALSE;  // kept for the stored look; not drawn differently
};

class CAppearanceSetVisualStudio2005 : public CAppearanceSetPropertyPage2003
{
public:
    CAppearanceSetVisualStudio2005();

    CRect GetHeaderMargin() override;
    CRect GetButtonDrawRect(const CQVTTabManagerItem* pItem) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
