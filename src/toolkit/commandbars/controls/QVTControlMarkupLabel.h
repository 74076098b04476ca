// A label whose caption is markup: parsed again whenever the caption or the
// theme changes, measured and drawn in the paint manager's regular font and
// its text colour for the label's state (plain text when it is not markup).
#pragma once

#include "toolkit/commandbars/controls/QVTControlExtended.h"

class CQVTMarkupContext;
class CQVTMarkupUIElement;

class CQVTControlMarkupLabel : public CQVTControlLabel
{
    DECLARE_SERIAL(CQVTControlMarkupLabel)

public:
    CQVTControlMarkupLabel();
    ~CQVTControlMarkupLabel() override;

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnThemeChanged() override;
    void OnCaptionChanged() override;

    CQVTMarkupUIElement* GetMarkup() const { return m_pMarkup; }

protected:
    void ReleaseMarkup();
    // The label's font and colour on the markup's context.
    void ApplyFont(COLORREF clrText);

    CQVTMarkupContext* m_pMarkupContext;  // one per parse, owned
    CQVTMarkupUIElement* m_pMarkup;       // the parsed caption, owned; null: plain text
};
