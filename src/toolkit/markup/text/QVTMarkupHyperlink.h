// The clickable inline of rich captions: underlined, drawn in (0, 150, 150)
// and red under the mouse, with the hand cursor, by the style every
// hyperlink without one of its own takes; a press and a release over it
// raise Click.
#pragma once

#include "toolkit/markup/text/QVTMarkupSpan.h"

class CQVTMarkupHyperlink : public CQVTMarkupSpan
{
    DECLARE_MARKUPCLASS(CQVTMarkupHyperlink)

public:
    CQVTMarkupHyperlink();

    void OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs) override;
    void OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs) override;
    virtual void OnClick();

    static CQVTMarkupRoutedEvent* m_pClickEvent;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    LPDISPATCH GetClickEventProperty();
    DECLARE_DISPATCH_MAP()

    // Set by a press over the hyperlink; there is no capture, so a release
    // elsewhere leaves it set until the next release over it.
    BOOL m_bPressed;
};
