#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"

#include "toolkit/markup/elements/QVTMarkupVisual.h"

POINT CQVTMarkupMouseEventArgs::GetPosition(CQVTMarkupObject* pElement) const
{
    CQVTMarkupVisual* pVisual = MarkupCast<CQVTMarkupVisual>(pElement);
    if (pVisual == nullptr)
        return m_pt;
    const POINT ptOffset = pVisual->GetAbsoluteOffset();
    const POINT pt = {m_pt.x - ptOffset.x, m_pt.y - ptOffset.y};
    return pt;
}
