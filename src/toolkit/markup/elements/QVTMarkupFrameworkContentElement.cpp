#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupFrameworkContentElement, CQVTMarkupInputElement, u"FrameworkContentElement",
                      &CQVTMarkupFrameworkContentElement::RegisterMarkupProperties)

void AFX_CDECL CQVTMarkupFrameworkContentElement::RegisterMarkupProperties()
{
    CQVTMarkupFrameworkElement::EnsureMarkupClass();
    CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupFrameworkElement::m_pTagProperty, GetMarkupType());
}

CQVTMarkupFrameworkElement* CQVTMarkupFrameworkContentElement::GetParentFrameworkElement() const
{
    for (CQVTMarkupObject* p = GetLogicalParent(); p != nullptr; p = p->GetLogicalParent())
    {
        if (CQVTMarkupFrameworkElement* pHost = MarkupCast<CQVTMarkupFrameworkElement>(p))
            return pHost;
    }
    return nullptr;
}

RECT CQVTMarkupFrameworkContentElement::GetHostBounds() const
{
    CQVTMarkupFrameworkElement* pHost = GetParentFrameworkElement();
    RECT rc = {0, 0, 0, 0};
    return pHost != nullptr ? pHost->GetBoundingRect() : rc;
}

RECT CQVTMarkupFrameworkContentElement::GetHostUpdateRect() const
{
    CQVTMarkupFrameworkElement* pHost = GetParentFrameworkElement();
    RECT rc = {0, 0, 0, 0};
    return pHost != nullptr ? pHost->GetUpdateRect() : rc;
}

void CQVTMarkupFrameworkContentElement::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                                          CQVTMarkupObject* pOldValue,
                                                          CQVTMarkupObject* pNewValue)
{
    CQVTMarkupInputElement::OnPropertyChanged(pProperty, pOldValue, pNewValue);
    CQVTMarkupFrameworkElement* pHost = GetParentFrameworkElement();
    if (pHost == nullptr || pProperty == nullptr)
        return;
    const DWORD dwFlags = pProperty->GetFlags();
    // The host may go away while it relayouts.
    CQVTMarkupAutoPtr hold(pHost);
    pHost->InternalAddRef();
    if (dwFlags & QVT_MARKUP_AFFECTS_MEASURE)
        pHost->InvalidateMeasure();
    if (dwFlags & QVT_MARKUP_AFFECTS_ARRANGE)
        pHost->InvalidateArrange();
    if (dwFlags & QVT_MARKUP_AFFECTS_RENDER)
        pHost->InvalidateVisual();
}
