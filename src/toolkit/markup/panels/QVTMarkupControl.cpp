#include "toolkit/markup/panels/QVTMarkupControl.h"

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
