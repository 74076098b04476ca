#include "toolkit/markup/text/QVTMarkupHyperlink.h"

#include "toolkit/markup/controls/QVTMarkupButtonBase.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupHyperlink, CQVTMarkupSpan, u"Hyperlink",
                      &CQVTMarkupHyperlink::RegisterMarkupProperties)

CQVTMarkupRoutedEvent* CQVTMarkupHyperlink::m_pClickEvent = nullptr;

void AFX_CDECL CQVTMarkupHyperlink::RegisterMarkupProperties()
{
    CQVTMarkupStyle::EnsureMarkupClass();
    CQVTMarkupSolidColorBrush::EnsureMarkupClass();
    CQVTMarkupTrigger::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();

    CQVTMarkupStyle* pStyle = new CQVTMarkupStyle();
    pStyle->GetSetters()->Add(
        new CQVTMarkupSetter(m_pTextDecorationsProperty, new CQVTMarkupEnum(qvtTextDecorationUnderline)));
    pStyle->GetSetters()->Add(
        new CQVTMarkupSetter(m_pForegroundProperty, new CQVTMarkupSolidColorBrush(255, RGB(0, 150, 150))));
    pStyle->GetSetters()->Add(new CQVTMarkupSetter(m_pCursorProperty, new CQVTMarkupInt(32649)));

    CQVTMarkupTrigger* pTrigger = new CQVTMarkupTrigger(m_pIsMouseOverProperty, CQVTMarkupBool::CreateTrue());
    CQVTMarkupSetterCollection* pTriggerSetters = new CQVTMarkupSetterCollection();
    pTriggerSetters->Add(
        new CQVTMarkupSetter(m_pForegroundProperty, new CQVTMarkupSolidColorBrush(255, RGB(255, 0, 0))));
    pTrigger->SetSetters(pTriggerSetters);
    CQVTMarkupTriggerCollection* pTriggers = new CQVTMarkupTriggerCollection();
    pTriggers->Add(pTrigger);
    pStyle->SetTriggers(pTriggers);
    pType->SetDefaultStyle(pStyle);

    // Click is the button base's bubbling event, which the hyperlink joins.
    CQVTMarkupButtonBase::EnsureMarkupClass();
    m_pClickEvent = static_cast<CQVTMarkupRoutedEvent*>(
        CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupButtonBase::m_pClickEvent, pType));
}

BEGIN_DISPATCH_MAP(CQVTMarkupHyperlink, CQVTMarkupSpan)
    DISP_PROPERTY_EX_ID(CQVTMarkupHyperlink, "ClickEvent", 800, GetClickEventProperty, SetNotSupported,
                        VT_DISPATCH)
END_DISPATCH_MAP()

CQVTMarkupHyperlink::CQVTMarkupHyperlink() : m_bPressed(FALSE) {}

LPDISPATCH CQVTMarkupHyperlink::GetClickEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pClickEvent);
}

void CQVTMarkupHyperlink::OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs)
{
    m_bPressed = TRUE;
    pArgs->SetHandled(TRUE);
}

void CQVTMarkupHyperlink::OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs)
{
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    OnClick();
    pArgs->SetHandled(TRUE);
}

void CQVTMarkupHyperlink::OnClick()
{
    CQVTMarkupAutoPtr args(new CQVTMarkupRoutedEventArgs(m_pClickEvent, this));
    RaiseEvent(static_cast<CQVTMarkupRoutedEventArgs*>(args.Get()));
}
