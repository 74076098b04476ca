#include "toolkit/markup/controls/QVTMarkupButtonBase.h"

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupButtonBase, CQVTMarkupContentControl, nullptr,
                      &CQVTMarkupButtonBase::RegisterMarkupProperties)

CQVTMarkupRoutedEvent* CQVTMarkupButtonBase::m_pClickEvent = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupButtonBase::m_pIsPressedProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupButtonBase, CQVTMarkupContentControl)
    DISP_PROPERTY_EX_ID(CQVTMarkupButtonBase, "IsPressed", 700, GetIsPressedProperty, SetIsPressedProperty,
                        VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupButtonBase, "ClickEvent", 701, GetClickEventProperty, SetNotSupported,
                        VT_DISPATCH)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupButtonBase::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    m_pClickEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"Click", QVT_MARKUP_ROUTING_BUBBLE, pType);
    m_pIsPressedProperty = CQVTMarkupDependencyProperty::Register(
        u"IsPressed", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), QVT_MARKUP_AFFECTS_ARRANGE));
}

CQVTMarkupButtonBase::CQVTMarkupButtonBase()
    : m_bPressed(FALSE), m_bMouseOver(FALSE), m_pTheme(new CQVTWinThemeWrapper(TRUE))
{
    EnsureMarkupClass();
    SetValue(m_pFocusableProperty, CQVTMarkupBool::CreateTrue());
}

CQVTMarkupButtonBase::~CQVTMarkupButtonBase() = default;

BOOL CQVTMarkupButtonBase::IsPressed()
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsPressedProperty));
    return pValue != nullptr && pValue->GetValue();
}

void CQVTMarkupButtonBase::OnMouseEnter(CQVTMarkupMouseEventArgs* pArgs)
{
    m_bMouseOver = TRUE;
    if (!m_bPressed)
    {
        CQVTMarkupContentControl::OnMouseEnter(pArgs);
        InvalidateVisual();
        return;
    }
    SetValue(m_pIsPressedProperty, CQVTMarkupBool::CreateTrue());
}

void CQVTMarkupButtonBase::OnMouseLeave(CQVTMarkupMouseEventArgs* pArgs)
{
    m_bMouseOver = FALSE;
    if (!m_bPressed)
    {
        CQVTMarkupContentControl::OnMouseLeave(pArgs);
        InvalidateVisual();
        return;
    }
    // Still captured: the button shows itself unpressed until the pointer returns.
    SetValue(m_pIsPressedProperty, CQVTMarkupBool::CreateFalse());
}

void CQVTMarkupButtonBase::OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs)
{
    pArgs->SetHandled(TRUE);
    if (!IsEnabled())
        return;
    SetPressed(TRUE);
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->CaptureMouse(this);
}

void CQVTMarkupButtonBase::OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs)
{
    if (!m_bPressed)
        return;
    // The click's handlers may release the button, or throw: hold it until done.
    InternalAddRef();
    CQVTMarkupAutoPtr hold(this);
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->ReleaseMouseCapture();
    SetPressed(FALSE);
    if (m_bMouseOver)
        OnClick();
    pArgs->SetHandled(TRUE);
}

void CQVTMarkupButtonBase::OnLostMouseCapture(CQVTMarkupMouseEventArgs*)
{
    SetPressed(FALSE);
}

void CQVTMarkupButtonBase::OnClick()
{
    CQVTMarkupAutoPtr args(new CQVTMarkupRoutedEventArgs(m_pClickEvent, this));
    RaiseEvent(static_cast<CQVTMarkupRoutedEventArgs*>(args.Get()));
}

void CQVTMarkupButtonBase::SetPressed(BOOL bPressed)
{
    if (bPressed && !m_bPressed)
    {
        m_bPressed = TRUE;
        SetValue(m_pIsPressedProperty, CQVTMarkupBool::CreateTrue());
    }
    else if (!bPressed && m_bPressed)
    {
        m_bPressed = FALSE;
        SetValue(m_pIsPressedProperty, CQVTMarkupBool::CreateFalse());
        if (!m_bMouseOver && IsMouseOver())
        {
            ClearValue(m_pIsMouseOverProperty);
            InvalidateVisual();
        }
    }
}

BOOL CQVTMarkupButtonBase::GetIsPressedProperty()
{
    return IsPressed();
}

void CQVTMarkupButtonBase::SetIsPressedProperty(BOOL)
{
    // Pressing belongs to the mouse: writing it is accepted and ignored.
}

LPDISPATCH CQVTMarkupButtonBase::GetClickEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pClickEvent);
}
