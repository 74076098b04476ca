#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/transforms/QVTMarkupRenderTransform.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupUIElement, CQVTMarkupVisual, nullptr,
                      &CQVTMarkupUIElement::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pClipToBoundsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pVisibilityProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pFocusableProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pIsEnabledProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pOpacityProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUIElement::m_pRenderTransformProperty = nullptr;

namespace {
CQVTMarkupObject* AFX_CDECL ConvertVisibility(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                              CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Visible))
        return new CQVTMarkupEnum(qvtVisibilityVisible);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Hidden))
        return new CQVTMarkupEnum(qvtVisibilityHidden);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Collapsed))
        return new CQVTMarkupEnum(qvtVisibilityCollapsed);
    return nullptr;
}
}  // namespace

void AFX_CDECL CQVTMarkupUIElement::RegisterMarkupProperties()
{
    CQVTMarkupBool::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupDouble::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pClipToBoundsProperty = CQVTMarkupDependencyProperty::Register(
        u"ClipToBounds", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), 0));
    m_pVisibilityProperty = CQVTMarkupDependencyProperty::Register(
        u"Visibility", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtVisibilityVisible), &ConvertVisibility,
                                       QVT_MARKUP_AFFECTS_MEASURE));
    m_pFocusableProperty = CQVTMarkupDependencyProperty::Register(
        u"Focusable", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), 0));
    m_pIsEnabledProperty = CQVTMarkupDependencyProperty::Register(
        u"IsEnabled", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateTrue(), 0));
    CQVTMarkupRenderTransform::EnsureMarkupClass();
    m_pRenderTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"RenderTransform", CQVTMarkupRenderTransform::GetMarkupType(), pType);
    m_pOpacityProperty = CQVTMarkupDependencyProperty::Register(
        u"Opacity", CQVTMarkupDouble::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_INHERITS | QVT_MARKUP_AFFECTS_RENDER));
}

CQVTMarkupUIElement::CQVTMarkupUIElement()
    : m_szDesired{0, 0}, m_rcFinal{0, 0, 0, 0}, m_bMeasureNotReusable(FALSE),
      m_bMeasureDirty(TRUE), m_szLastAvailable{0, 0}, m_bArrangeDirty(FALSE), m_bNeverArranged(TRUE),
      m_bInArrange(FALSE), m_bInMeasure(FALSE)
{
}

QVTMarkupVisibility CQVTMarkupUIElement::GetVisibility()
{
    CQVTMarkupEnum* pValue = MarkupCast<CQVTMarkupEnum>(GetValue(m_pVisibilityProperty));
    return pValue != nullptr ? static_cast<QVTMarkupVisibility>(pValue->GetValue()) : qvtVisibilityVisible;
}

BOOL CQVTMarkupUIElement::IsEnabled()
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsEnabledProperty));
    return pValue == nullptr || pValue->GetValue();
}

void CQVTMarkupUIElement::Measure(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    if (GetVisibility() == qvtVisibilityCollapsed)
    {
        m_bMeasureNotReusable = TRUE;
        m_bMeasureDirty = FALSE;
        m_szLastAvailable = szAvailable;
        m_szDesired = {0, 0};
        return;
    }
    const BOOL bBypass = pDC != nullptr && pDC->BypassesLayoutCache();
    CQVTMarkupContext* pContext = GetMarkupContext();
    const UINT nFontVersion = pContext != nullptr ? pContext->GetDefaultFontVersion() : 0;
    if (!m_bMeasureNotReusable && !m_bMeasureDirty && szAvailable.cx == m_szLastAvailable.cx &&
        szAvailable.cy == m_szLastAvailable.cy && nFontVersion == m_nMeasuredFontVersion && !bBypass)
        return;
    m_bArrangeDirty = TRUE;
    m_bMeasureDirty = FALSE;
    m_bInMeasure = TRUE;
    try
    {
        m_szDesired = MeasureCore(pDC, szAvailable);
    }
    catch (...)
    {
        m_bInMeasure = FALSE;
        throw;
    }
    m_bInMeasure = FALSE;
    m_szLastAvailable = szAvailable;
    m_nMeasuredFontVersion = nFontVersion;
    m_bMeasureNotReusable = bBypass;
}

void CQVTMarkupUIElement::Arrange(const RECT& rcFinal)
{
    if (GetVisibility() == qvtVisibilityCollapsed)
    {
        m_rcFinal = rcFinal;
        m_bArrangeDirty = FALSE;
        m_bNeverArranged = FALSE;
        return;
    }
    if (m_bMeasureDirty)
    {
        CQVTMarkupDrawingContext dc(GetMarkupContext());
        SIZE szAvailable = {rcFinal.right - rcFinal.left, rcFinal.bottom - rcFinal.top};
        Measure(&dc, szAvailable);
    }
    if (!m_bArrangeDirty && !m_bNeverArranged && ::EqualRect(&rcFinal, &m_rcFinal))
    {
        m_rcFinal = rcFinal;
        m_bArrangeDirty = FALSE;
        return;
    }
    m_bNeverArranged = FALSE;
    m_bInArrange = TRUE;
    try
    {
        ArrangeCore(rcFinal);
    }
    catch (...)
    {
        m_bInArrange = FALSE;
        throw;
    }
    m_bInArrange = FALSE;
    UpdateBoundingRect();
    m_rcFinal = rcFinal;
    m_bArrangeDirty = FALSE;
}

SIZE CQVTMarkupUIElement::MeasureCore(CQVTMarkupDrawingContext*, SIZE)
{
    SIZE size = {0, 0};
    return size;
}

void CQVTMarkupUIElement::ArrangeCore(const RECT& rcFinal)
{
    SIZE size = {rcFinal.right - rcFinal.left, rcFinal.bottom - rcFinal.top};
    SetRenderSize(size);
}

void CQVTMarkupUIElement::InvalidateMeasure()
{
    // The core ignores these cases too: no measuring surface is made for them.
    if (m_bInMeasure || m_bMeasureDirty)
        return;
    CQVTMarkupDrawingContext dc(GetMarkupContext());
    InvalidateMeasureCore(&dc);
}

void CQVTMarkupUIElement::InvalidateMeasureCore(CQVTMarkupDrawingContext* pDC)
{
    if (m_bInMeasure || m_bMeasureDirty)
        return;
    const SIZE szOld = m_szDesired;
    m_bMeasureNotReusable = TRUE;
    m_bArrangeDirty = TRUE;
    Measure(pDC, m_szLastAvailable);
    if (szOld.cx == m_szDesired.cx && szOld.cy == m_szDesired.cy)
    {
        Arrange(m_rcFinal);
        InvalidateVisual();
        return;
    }
    if (CQVTMarkupUIElement* pParent = MarkupCast<CQVTMarkupUIElement>(GetVisualParent()))
    {
        pParent->InvalidateMeasureCore(pDC);
        return;
    }
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->InvalidateAll();
}

void CQVTMarkupUIElement::InvalidateArrange()
{
    if (m_bInArrange || m_bNeverArranged)
        return;
    m_bArrangeDirty = TRUE;
    Arrange(m_rcFinal);
    InvalidateVisual();
}

void CQVTMarkupUIElement::InvalidateVisual()
{
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->InvalidateElement(this);
}

BOOL CQVTMarkupUIElement::GetLayoutClip(RECT* pClip)
{
    if (GetVisibility() == qvtVisibilityVisible)
        return FALSE;
    ::SetRectEmpty(pClip);
    return TRUE;
}

double CQVTMarkupUIElement::GetOpacity()
{
    CQVTMarkupDouble* pValue = MarkupCast<CQVTMarkupDouble>(GetValue(m_pOpacityProperty));
    if (pValue == nullptr)
        return 1.0;
    return std::clamp(pValue->GetValue(), 0.0, 1.0);
}

CQVTMarkupRenderTransformState CQVTMarkupUIElement::PushRenderTransform(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupRenderTransform* pHolder =
        MarkupCast<CQVTMarkupRenderTransform>(GetValue(m_pRenderTransformProperty));
    CQVTMarkupTransform* pTransform = pHolder != nullptr ? pHolder->GetTransform() : nullptr;
    // An element drawn under an ancestor's transform keeps that one's.
    SetRenderTransformInForce(nullptr);
    if (pTransform == nullptr)
        return {};
    // Plain GDI reports no transform, and nothing changes.
    std::unique_ptr<CQVTMarkupTransformationMatrix> current(pDC->GetTransform());
    if (current == nullptr)
        return {};
    CQVTMarkupTransformationMatrix* pCreated = pTransform->CreateMatrix(current.get());
    if (pCreated == nullptr)
        return {};
    pDC->SetTransform(pCreated);
    SetRenderTransformInForce(pCreated);
    CQVTMarkupRenderTransformState state;
    state.pSavedTransform = current.release();
    state.pCreatedTransform = pCreated;
    return state;
}

void CQVTMarkupUIElement::PopRenderTransform(CQVTMarkupDrawingContext* pDC,
                                             const CQVTMarkupRenderTransformState& state)
{
    std::unique_ptr<CQVTMarkupTransformationMatrix> saved(
        static_cast<CQVTMarkupTransformationMatrix*>(state.pSavedTransform));
    if (saved != nullptr)
        pDC->SetTransform(saved.get());
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupUIElement, CQVTMarkupVisual)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "ClipToBounds", 300, GetClipToBoundsProperty,
                        SetClipToBoundsProperty, VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "Visibility", 301, GetVisibilityProperty, SetVisibilityProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "Focusable", 302, GetFocusableProperty, SetFocusableProperty,
                        VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "IsEnabled", 303, GetIsEnabledProperty, SetIsEnabledProperty,
                        VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "RenderTransform", 304, GetRenderTransformProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupUIElement, "Opacity", 305, GetOpacityProperty, SetOpacityProperty, VT_R8)
END_DISPATCH_MAP()

BOOL CQVTMarkupUIElement::GetClipToBoundsProperty()
{
    return QVTMarkupAutomation::GetBool(this, m_pClipToBoundsProperty, FALSE);
}

void CQVTMarkupUIElement::SetClipToBoundsProperty(BOOL bValue)
{
    QVTMarkupAutomation::SetBool(this, m_pClipToBoundsProperty, bValue);
}

long CQVTMarkupUIElement::GetVisibilityProperty()
{
    return GetVisibility();
}

void CQVTMarkupUIElement::SetVisibilityProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pVisibilityProperty, nValue);
}

BOOL CQVTMarkupUIElement::GetFocusableProperty()
{
    return QVTMarkupAutomation::GetBool(this, m_pFocusableProperty, FALSE);
}

void CQVTMarkupUIElement::SetFocusableProperty(BOOL bValue)
{
    QVTMarkupAutomation::SetBool(this, m_pFocusableProperty, bValue);
}

BOOL CQVTMarkupUIElement::GetIsEnabledProperty()
{
    return IsEnabled();
}

void CQVTMarkupUIElement::SetIsEnabledProperty(BOOL bValue)
{
    QVTMarkupAutomation::SetBool(this, m_pIsEnabledProperty, bValue);
}

LPDISPATCH CQVTMarkupUIElement::GetRenderTransformProperty()
{
    CQVTMarkupRenderTransform* pHolder =
        MarkupCast<CQVTMarkupRenderTransform>(GetValue(m_pRenderTransformProperty));
    return QVTMarkupAutomation::DispatchOf(pHolder != nullptr ? pHolder->GetTransform() : nullptr);
}

double CQVTMarkupUIElement::GetOpacityProperty()
{
    return GetOpacity();
}

void CQVTMarkupUIElement::SetOpacityProperty(double dValue)
{
    // NaN becomes transparent, like any value below the range.
    QVTMarkupAutomation::SetDouble(this, m_pOpacityProperty,
                                   dValue >= 1.0  ? 1.0
                                   : dValue > 0.0 ? dValue
                                                  : 0.0);
}
