// The command-bar theme of the flat looks: the flat theme with a markup
// context and the resource images, and popups without shadows or margins.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"

class CQVTMarkupContext;
class CQVTResourceImages;

class CQVTCommandBarsModernUITheme : public CQVTCommandBarsOfficeXPTheme
{
    DECLARE_DYNAMIC(CQVTCommandBarsModernUITheme)

public:
    CQVTCommandBarsModernUITheme();
    ~CQVTCommandBarsModernUITheme() override;

    void RefreshMetrics() override;
    CRect GetScaledMargins(CQVTCommandBar* pBar) override;

    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    CQVTResourceImages* GetResourceImages() const { return m_pImages; }

protected:
    CQVTMarkupContext* m_pMarkupContext;  // owned reference
    CQVTResourceImages* m_pImages;        // the process-wide set
    CRect m_rcPopupMargins;               // around a popup's controls
};
