#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

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

BEGIN_DISPATCH_MAP(CQVTMarkupRoutedEventArgs, CQVTMarkupObject)
    DISP_PROPERTY_EX_ID(CQVTMarkupRoutedEventArgs, "Handled", 100, GetHandledProperty, SetHandledProperty,
                        VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupRoutedEventArgs, "Event", 101, GetEventProperty, SetNotSupported,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupRoutedEventArgs, "Source", 102, GetSourceProperty, SetNotSupported,
                        VT_DISPATCH)
END_DISPATCH_MAP()

BOOL CQVTMarkupRoutedEventArgs::GetHandledProperty()
{
    return m_bHandled;
}

void CQVTMarkupRoutedEventArgs::SetHandledProperty(BOOL bHandled)
{
    SetHandled(bHandled);
}

LPDISPATCH CQVTMarkupRoutedEventArgs::GetEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pEvent);
}

LPDISPATCH CQVTMarkupRoutedEventArgs::GetSourceProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pSource);
}
