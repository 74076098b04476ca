// Elements that live inside a framework element that draws them (inlines,
// grid definitions): they forward layout and repaint requests to that host.
#pragma once

#include "toolkit/markup/elements/QVTMarkupInputElement.h"

class CQVTMarkupFrameworkElement;

class CQVTMarkupFrameworkContentElement : public CQVTMarkupInputElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupFrameworkContentElement)

public:
    CQVTMarkupFrameworkElement* GetParentFrameworkElement() const;
    RECT GetHostBounds() const;
    RECT GetHostUpdateRect() const;

    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
