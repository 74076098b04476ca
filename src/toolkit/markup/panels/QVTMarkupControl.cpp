#include "toolkit/markup/panels/QVTMarkupControl.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupControl, CQVTMarkupFrameworkElement, u"Control",
                      &CQVTMarkupControl::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupControl::m_pPaddingProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupControl::m_pBackgroundProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupControl::m_pForegroundProperty = nullptr;

void AFX_CDECL CQVTMarkupControl::RegisterMarkupProperties()
{
    CQVTMarkupBorder::EnsureMarkupClass();
    CQVTMarkupPanel::EnsureMarkupClass();
    CQVTMarkupTextElement::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pPaddingProperty = CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupBorder::m_pPaddingProperty, pType);
    m_pBackgroundProperty =
        CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupPanel::m_pBackgroundProperty, pType);
    m_pForegroundProperty =
        CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupTextElement::m_pForegroundProperty, pType);
}

SIZE CQVTMarkupControl::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    if (GetVisualChildrenCount() < 1)
        return SIZE{0, 0};
    CQVTMarkupUIElement* pChild = MarkupCast<CQVTMarkupUIElement>(GetVisualChild(0));
    if (pChild == nullptr)
        return SIZE{0, 0};
    pChild->Measure(pDC, szAvailable);
    return pChild->GetDesiredSize();
}

SIZE CQVTMarkupControl::ArrangeOverride(SIZE szFinal)
{
    if (GetVisualChildrenCount() > 0)
    {
        if (CQVTMarkupUIElement* pChild = MarkupCast<CQVTMarkupUIElement>(GetVisualChild(0)))
            pChild->Arrange(RECT{0, 0, szFinal.cx, szFinal.cy});
    }
    return szFinal;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupControl, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupControl, "Background", 500, GetBackgroundProperty, SetBackgroundProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupControl, "Foreground", 501, GetForegroundProperty, SetForegroundProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupControl, "Padding", 502, GetPaddingProperty, SetPaddingProperty,
                        VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupControl::GetBackgroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBackgroundProperty);
}

void CQVTMarkupControl::SetBackgroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBackgroundProperty, pDispatch);
}

LPDISPATCH CQVTMarkupControl::GetForegroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pForegroundProperty);
}

void CQVTMarkupControl::SetForegroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pForegroundProperty, pDispatch);
}

LPDISPATCH CQVTMarkupControl::GetPaddingProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pPaddingProperty);
}

void CQVTMarkupControl::SetPaddingProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pPaddingProperty, pDispatch);
}
