#include "toolkit/markup/controls/QVTMarkupToggleButton.h"

#include <algorithm>
#include <memory>

#include <vssym32.h>

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/controls/QVTMarkupButton.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupToggleButton, CQVTMarkupButtonBase, nullptr,
                      &CQVTMarkupToggleButton::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupCheckBox, CQVTMarkupToggleButton, u"CheckBox", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupRadioButton, CQVTMarkupToggleButton, u"RadioButton", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupToggleButton::m_pIsCheckedProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupToggleButton::m_pIsThreeStateProperty = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupToggleButton::m_pCheckedEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupToggleButton::m_pUncheckedEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupToggleButton::m_pIndeterminateEvent = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupToggleButton, CQVTMarkupButtonBase)
    DISP_PROPERTY_EX_ID(CQVTMarkupToggleButton, "IsChecked", 800, GetIsCheckedProperty, SetIsCheckedProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupToggleButton, "IsThreeState", 801, GetIsThreeStateProperty,
                        SetIsThreeStateProperty, VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupToggleButton, "CheckedEvent", 802, GetCheckedEventProperty, SetNotSupported,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupToggleButton, "IndeterminateEvent", 803, GetIndeterminateEventProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupToggleButton, "UncheckedEvent", 804, GetUncheckedEventProperty,
                        SetNotSupported, VT_DISPATCH)
END_DISPATCH_MAP()

namespace {
// "True", "False" and the empty text (indeterminate), in any case.
CQVTMarkupObject* AFX_CDECL ConvertCheckState(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                              CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(u"True"))
        return new CQVTMarkupEnum(qvtChecked);
    if (pString->IsEqualNoCase(u"False"))
        return new CQVTMarkupEnum(qvtUnchecked);
    if (pString->GetLength() == 0)
        return new CQVTMarkupEnum(qvtIndeterminate);
    return nullptr;
}

int ScaleX(CQVTMarkupObject* pElement, int nValue)
{
    CQVTMarkupContext* pContext = pElement->GetMarkupContext();
    return pContext != nullptr ? pContext->ScaleX(nValue) : nValue;
}

int ScaleY(CQVTMarkupObject* pElement, int nValue)
{
    CQVTMarkupContext* pContext = pElement->GetMarkupContext();
    return pContext != nullptr ? pContext->ScaleY(nValue) : nValue;
}
}  // namespace

void AFX_CDECL CQVTMarkupToggleButton::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    m_pIsCheckedProperty = CQVTMarkupDependencyProperty::Register(
        u"IsChecked", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtUnchecked), &ConvertCheckState,
                                       &OnIsCheckedChanged, QVT_MARKUP_AFFECTS_RENDER));
    m_pIsThreeStateProperty = CQVTMarkupDependencyProperty::Register(
        u"IsThreeState", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), QVT_MARKUP_AFFECTS_RENDER));
    m_pCheckedEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"Checked", QVT_MARKUP_ROUTING_BUBBLE, pType);
    m_pUncheckedEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"Unchecked", QVT_MARKUP_ROUTING_BUBBLE, pType);
    m_pIndeterminateEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"Indeterminate", QVT_MARKUP_ROUTING_BUBBLE, pType);
}

void AFX_CDECL CQVTMarkupToggleButton::OnIsCheckedChanged(CQVTMarkupObject* pObject,
                                                          CQVTMarkupPropertyChangedEventArgs* pArgs)
{
    CQVTMarkupToggleButton* pButton = MarkupCast<CQVTMarkupToggleButton>(pObject);
    if (pButton == nullptr)
        return;
    CQVTMarkupEnum* pNew = MarkupCast<CQVTMarkupEnum>(pArgs->pNewValue);
    const int nNew = pNew != nullptr ? pNew->GetValue() : qvtUnchecked;
    if (nNew == qvtChecked)
    {
        CQVTMarkupAutoPtr args(new CQVTMarkupRoutedEventArgs(m_pCheckedEvent, pButton));
        pButton->OnChecked(static_cast<CQVTMarkupRoutedEventArgs*>(args.Get()));
    }
    else if (nNew != qvtUnchecked)
    {
        CQVTMarkupAutoPtr args(new CQVTMarkupRoutedEventArgs(m_pIndeterminateEvent, pButton));
        pButton->OnIndeterminate(static_cast<CQVTMarkupRoutedEventArgs*>(args.Get()));
    }
    else
    {
        CQVTMarkupAutoPtr args(new CQVTMarkupRoutedEventArgs(m_pUncheckedEvent, pButton));
        pButton->OnUnchecked(static_cast<CQVTMarkupRoutedEventArgs*>(args.Get()));
    }
}

QVTMarkupCheckState CQVTMarkupToggleButton::GetChecked()
{
    CQVTMarkupEnum* pValue = MarkupCast<CQVTMarkupEnum>(GetValue(m_pIsCheckedProperty));
    return pValue != nullptr ? static_cast<QVTMarkupCheckState>(pValue->GetValue()) : qvtUnchecked;
}

void CQVTMarkupToggleButton::SetChecked(QVTMarkupCheckState state)
{
    SetValue(m_pIsCheckedProperty, new CQVTMarkupEnum(state));
}

BOOL CQVTMarkupToggleButton::IsThreeState()
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsThreeStateProperty));
    return pValue != nullptr && pValue->GetValue();
}

void CQVTMarkupToggleButton::OnClick()
{
    // Handlers of the state change may release the button, or throw.
    InternalAddRef();
    CQVTMarkupAutoPtr hold(this);
    OnToggle();
    CQVTMarkupButtonBase::OnClick();
}

void CQVTMarkupToggleButton::OnToggle()
{
    switch (GetChecked())
    {
    case qvtChecked:
        SetChecked(IsThreeState() ? qvtIndeterminate : qvtUnchecked);
        break;
    case qvtIndeterminate:
        SetChecked(qvtUnchecked);
        break;
    default:
        SetChecked(qvtChecked);
        break;
    }
}

void CQVTMarkupToggleButton::OnChecked(CQVTMarkupRoutedEventArgs* pArgs)
{
    RaiseEvent(pArgs);
}

void CQVTMarkupToggleButton::OnUnchecked(CQVTMarkupRoutedEventArgs* pArgs)
{
    RaiseEvent(pArgs);
}

void CQVTMarkupToggleButton::OnIndeterminate(CQVTMarkupRoutedEventArgs* pArgs)
{
    RaiseEvent(pArgs);
}

SIZE CQVTMarkupToggleButton::MeasureGlyphButton(CQVTMarkupDrawingContext* pDC, SIZE szAvailable,
                                                BOOL bMinHeightWithoutContent)
{
    MarkupOpenButtonTheme(this, GetTheme());
    CQVTMarkupThickness* pPadding = MarkupButtonPadding(this);
    SIZE szBorder = {ScaleX(this, 16), 0};
    if (pPadding != nullptr)
    {
        szBorder.cx += pPadding->left + pPadding->right;
        szBorder.cy += pPadding->top + pPadding->bottom;
    }
    const int nMinHeight = ScaleY(this, 13);
    CQVTMarkupUIElement* pContent = GetContent();
    if (pContent == nullptr)
    {
        if (bMinHeightWithoutContent)
            szBorder.cy = std::max(szBorder.cy, static_cast<LONG>(nMinHeight));
        return szBorder;
    }
    pContent->Measure(pDC, SIZE{std::max<LONG>(MarkupSaturate(__int64(szAvailable.cx) - szBorder.cx), 0),
                                std::max<LONG>(MarkupSaturate(__int64(szAvailable.cy) - szBorder.cy), 0)});
    const SIZE szContent = pContent->GetDesiredSize();
    return SIZE{MarkupSaturate(__int64(szContent.cx) + szBorder.cx),
                std::max<LONG>(MarkupSaturate(__int64(szContent.cy) + szBorder.cy), nMinHeight)};
}

SIZE CQVTMarkupToggleButton::ArrangeGlyphButton(SIZE szFinal)
{
    if (CQVTMarkupUIElement* pContent = GetContent())
    {
        RECT rc = CQVTMarkupThickness::Deflate(RECT{0, 0, szFinal.cx, szFinal.cy}, MarkupButtonPadding(this));
        rc.left += ScaleX(this, 16);
        pContent->Arrange(rc);
    }
    return szFinal;
}

RECT CQVTMarkupToggleButton::GetGlyphRect()
{
    const int nMiddle = GetRenderSize().cy / 2;
    return RECT{0, nMiddle - ScaleY(this, 6), ScaleX(this, 13), nMiddle + ScaleY(this, 7)};
}

int CQVTMarkupToggleButton::GetThemeBaseState()
{
    if (!IsEnabled())
        return 4;
    if (IsPressed())
        return 3;
    return IsMouseOver() ? 2 : 1;
}

void CQVTMarkupToggleButton::RenderGlyphFocus(CQVTMarkupDrawingContext* pDC)
{
    if (GetContent() == nullptr)
        return;
    const SIZE szRender = GetRenderSize();
    RECT rc = {ScaleX(this, 15), 0, szRender.cx, szRender.cy};
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rc));
    if (HDC hDC = dedicated->GetDC())
        ::DrawFocusRect(hDC, &rc);
    dedicated->Flush();
}

long CQVTMarkupToggleButton::GetIsCheckedProperty()
{
    return GetChecked();
}

void CQVTMarkupToggleButton::SetIsCheckedProperty(long nValue)
{
    SetChecked(static_cast<QVTMarkupCheckState>(nValue));
}

BOOL CQVTMarkupToggleButton::GetIsThreeStateProperty()
{
    return IsThreeState();
}

void CQVTMarkupToggleButton::SetIsThreeStateProperty(BOOL bValue)
{
    SetValue(m_pIsThreeStateProperty, new CQVTMarkupBool(bValue));
}

LPDISPATCH CQVTMarkupToggleButton::GetCheckedEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pCheckedEvent);
}

LPDISPATCH CQVTMarkupToggleButton::GetIndeterminateEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pIndeterminateEvent);
}

LPDISPATCH CQVTMarkupToggleButton::GetUncheckedEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pUncheckedEvent);
}

SIZE CQVTMarkupCheckBox::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    return MeasureGlyphButton(pDC, szAvailable, FALSE);
}

SIZE CQVTMarkupCheckBox::ArrangeOverride(SIZE szFinal)
{
    return ArrangeGlyphButton(szFinal);
}

void CQVTMarkupCheckBox::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const RECT rcGlyph = GetGlyphRect();
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rcGlyph));
    HDC hDC = dedicated->GetDC();
    if (hDC != nullptr)
    {
        RECT rc = rcGlyph;
        const QVTMarkupCheckState state = GetChecked();
        if (GetTheme()->IsAppThemeActive())
        {
            const int nState = GetThemeBaseState() + (state == qvtChecked         ? 4
                                                      : state == qvtIndeterminate ? 8
                                                                                  : 0);
            GetTheme()->DrawThemeBackground(hDC, BP_CHECKBOX, nState, &rc, nullptr);
        }
        else
        {
            UINT nFlags = DFCS_BUTTONCHECK;
            if (state == qvtChecked)
                nFlags |= DFCS_CHECKED;
            else if (state == qvtIndeterminate)
                nFlags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
            if (IsPressed())
                nFlags |= DFCS_PUSHED;
            ::DrawFrameControl(hDC, &rc, DFC_BUTTON, nFlags);
        }
    }
    dedicated->Flush();
}

void CQVTMarkupCheckBox::OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC)
{
    RenderGlyphFocus(pDC);
}

void CQVTMarkupRadioButton::OnToggle()
{
    SetChecked(qvtChecked);
}

void CQVTMarkupRadioButton::OnChecked(CQVTMarkupRoutedEventArgs* pArgs)
{
    if (CQVTMarkupVisual* pParent = GetVisualParent())
    {
        for (int i = 0; i < pParent->GetVisualChildrenCount(); ++i)
        {
            CQVTMarkupRadioButton* pSibling = MarkupCast<CQVTMarkupRadioButton>(pParent->GetVisualChild(i));
            if (pSibling != nullptr && pSibling != this && pSibling->GetChecked() != qvtUnchecked)
                pSibling->SetChecked(qvtUnchecked);
        }
    }
    CQVTMarkupToggleButton::OnChecked(pArgs);
}

SIZE CQVTMarkupRadioButton::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    return MeasureGlyphButton(pDC, szAvailable, TRUE);
}

SIZE CQVTMarkupRadioButton::ArrangeOverride(SIZE szFinal)
{
    return ArrangeGlyphButton(szFinal);
}

void CQVTMarkupRadioButton::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const RECT rcGlyph = GetGlyphRect();
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rcGlyph));
    HDC hDC = dedicated->GetDC();
    if (hDC != nullptr)
    {
        RECT rc = rcGlyph;
        // The round glyph leaves its corners: they show what lies beneath.
        HDC hSource = pDC->GetDC();
        ::BitBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hSource, rc.left, rc.top,
                 SRCCOPY);
        pDC->ReleaseDC(hSource);
        const BOOL bChecked = GetChecked() != qvtUnchecked;
        if (GetTheme()->IsAppThemeActive())
        {
            GetTheme()->DrawThemeBackground(hDC, BP_RADIOBUTTON, GetThemeBaseState() + (bChecked ? 4 : 0),
                                            &rc, nullptr);
        }
        else
        {
            UINT nFlags = DFCS_BUTTONRADIO;
            if (bChecked)
                nFlags |= DFCS_CHECKED;
            if (IsPressed())
                nFlags |= DFCS_PUSHED;
            ::DrawFrameControl(hDC, &rc, DFC_BUTTON, nFlags);
        }
    }
    dedicated->Flush();
}

void CQVTMarkupRadioButton::OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC)
{
    RenderGlyphFocus(pDC);
}
