// The base of the markup controls: it carries Background, Foreground and
// Padding, and lays out its first visual child over its whole size.
#pragma once

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

class CQVTMarkupControl : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupControl)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    static CQVTMarkupDependencyProperty* m_pPaddingProperty;
    static CQVTMarkupDependencyProperty* m_pBackgroundProperty;
    static CQVTMarkupDependencyProperty* m_pForegroundProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    LPDISPATCH GetBackgroundProperty();
    void SetBackgroundProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetForegroundProperty();
    void SetForegroundProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetPaddingProperty();
    void SetPaddingProperty(LPDISPATCH pDispatch);
    DECLARE_DISPATCH_MAP()
};
