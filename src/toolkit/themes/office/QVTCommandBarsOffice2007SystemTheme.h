// The flat theme whose frame and ribbon are drawn from the built-in markup
// style; bars and controls look as in the flat theme.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"

class CQVTMarkupContext;

class CQVTCommandBarsOffice2007SystemTheme : public CQVTCommandBarsOfficeXPTheme
{
    DECLARE_DYNAMIC(CQVTCommandBarsOffice2007SystemTheme)

public:
    CQVTCommandBarsOffice2007SystemTheme();
    ~CQVTCommandBarsOffice2007SystemTheme() override;

    int GetThemeId() const override { return qvtThemeOffice2007System; }
    CQVTFramePaintManager* GetFramePaintManager() override;
    CQVTRibbonPaintManager* GetRibbonPaintManager() override;

    // The context the frame's and the ribbon's markup parts are built in.
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }

protected:
    CQVTMarkupContext* m_pMarkupContext;  // owned reference
};
