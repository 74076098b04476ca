#include "toolkit/markup/transforms/QVTMarkupTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupTransform, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupRotateTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupRotateTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupScaleTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupScaleTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupSkewTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupSkewTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupTranslateTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupTranslateTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusRotateTransform, CQVTMarkupRotateTransform, u"RotateTransform",
                      nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusScaleTransform, CQVTMarkupScaleTransform, u"ScaleTransform", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusSkewTransform, CQVTMarkupSkewTransform, u"SkewTransform", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusTranslateTransform, CQVTMarkupTranslateTransform,
                      u"TranslateTransform", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupRenderTransform, CQVTMarkupObject, u"RenderTransform",
                      &CQVTMarkupRenderTransform::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pAngleProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pCenterYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pScaleXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pScaleYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pCenterYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pAngleXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pAngleYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pCenterYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTranslateTransform::m_pXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTranslateTransform::m_pYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pRotateTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pScaleTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pTranslateTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pSkewTransformProperty = nullptr;

using namespace QVTGdiPlus;

namespace {
CQVTMarkupDependencyProperty* RegisterDouble(LPCWSTR lpszName, CQVTMarkupType* pOwner, DWORD dwFlags)
{
    CQVTMarkupDouble::EnsureMarkupClass();
    return CQVTMarkupDependencyProperty::Register(lpszName, CQVTMarkupDouble::GetMarkupType(), pOwner,
                                                  new CQVTMarkupPropertyMetadata(nullptr, dwFlags));
}

float ToFloat(double dValue)
{
    return static_cast<float>(dValue);
}

// Translate to the centre, the operation, translate back: every call
// prepended, so the operation acts about the centre.
template <class TOperation>
BOOL AboutCentre(Gdiplus::GpMatrix* pMatrix, double cx, double cy, TOperation operation)
{
    return GdipTranslateMatrix(pMatrix, ToFloat(cx), ToFloat(cy), Gdiplus::MatrixOrderPrepend) ==
               Gdiplus::Ok &&
           operation() == Gdiplus::Ok &&
           GdipTranslateMatrix(pMatrix, ToFloat(-cx), ToFloat(-cy), Gdiplus::MatrixOrderPrepend) ==
               Gdiplus::Ok;
}
}  // namespace

// Transform base

CQVTMarkupTransform::CQVTMarkupTransform() : m_pOwner(nullptr) {}

double CQVTMarkupTransform::GetDouble(CQVTMarkupDependencyProperty* pProperty)
{
    return QVTMarkupAutomation::GetDouble(this, pProperty, 0.0);
}

void CQVTMarkupTransform::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                            CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    CQVTMarkupRenderTransform* pHolder = MarkupCast<CQVTMarkupRenderTransform>(m_pOwner);
    if (CQVTMarkupUIElement* pElement =
            MarkupCast<CQVTMarkupUIElement>(pHolder != nullptr ? pHolder->GetOwner() : nullptr))
        pElement->InvalidateMeasure();
    CQVTMarkupObject::OnPropertyChanged(pProperty, pOldValue, pNewValue);
}

void CQVTMarkupTransform::SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner)
{
    m_pOwner = pOwner;
    CQVTMarkupObject::SetOwnerObject(pProperty, pOwner);
}

CQVTMarkupTransformationMatrix* CQVTMarkupTransform::CreateMatrix(CQVTMarkupTransformationMatrix*)
{
    return nullptr;
}

// Plain transforms: their properties

BEGIN_DISPATCH_MAP(CQVTMarkupRotateTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "Angle", GetAngleProperty, SetAngleProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupRotateTransform::RegisterMarkupProperties()
{
    m_pAngleProperty = RegisterDouble(u"Angle", GetMarkupType(), 0);
    m_pCenterXProperty = RegisterDouble(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDouble(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
}

void CQVTMarkupRotateTransform::SetAngleProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pAngleProperty, dValue);
}

void CQVTMarkupRotateTransform::SetCenterXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterXProperty, dValue);
}

void CQVTMarkupRotateTransform::SetCenterYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterYProperty, dValue);
}

BEGIN_DISPATCH_MAP(CQVTMarkupScaleTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "ScaleX", GetScaleXProperty, SetScaleXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "ScaleY", GetScaleYProperty, SetScaleYProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupScaleTransform::RegisterMarkupProperties()
{
    m_pScaleXProperty = RegisterDouble(u"ScaleX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pScaleYProperty = RegisterDouble(u"ScaleY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
    m_pCenterXProperty = RegisterDouble(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDouble(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
}

void CQVTMarkupScaleTransform::SetScaleXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pScaleXProperty, dValue);
}

void CQVTMarkupScaleTransform::SetScaleYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pScaleYProperty, dValue);
}

void CQVTMarkupScaleTransform::SetCenterXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterXProperty, dValue);
}

void CQVTMarkupScaleTransform::SetCenterYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterYProperty, dValue);
}

BEGIN_DISPATCH_MAP(CQVTMarkupSkewTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "AngleX", GetAngleXProperty, SetAngleXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "AngleY", GetAngleYProperty, SetAngleYProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupSkewTransform::RegisterMarkupProperties()
{
    m_pAngleXProperty = RegisterDouble(u"AngleX", GetMarkupType(), 0);
    m_pAngleYProperty = RegisterDouble(u"AngleY", GetMarkupType(), 0);
    m_pCenterXProperty = RegisterDouble(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDouble(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
}

void CQVTMarkupSkewTransform::SetAngleXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pAngleXProperty, dValue);
}

void CQVTMarkupSkewTransform::SetAngleYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pAngleYProperty, dValue);
}

void CQVTMarkupSkewTransform::SetCenterXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterXProperty, dValue);
}

void CQVTMarkupSkewTransform::SetCenterYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pCenterYProperty, dValue);
}

BEGIN_DISPATCH_MAP(CQVTMarkupTranslateTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupTranslateTransform, "X", GetXProperty, SetXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupTranslateTransform, "Y", GetYProperty, SetYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupTranslateTransform::RegisterMarkupProperties()
{
    m_pXProperty = RegisterDouble(u"X", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pYProperty = RegisterDouble(u"Y", GetMarkupType(), QVT_MARKUP_SCALE_Y);
}

void CQVTMarkupTranslateTransform::SetXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pXProperty, dValue);
}

void CQVTMarkupTranslateTransform::SetYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pYProperty, dValue);
}

// GDI+ transforms

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusTransformObjectImpl::CreateGdiPlusMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    CQVTMarkupGdiPlusTransformationMatrix* pGdiPlus =
        DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusTransformationMatrix, pCurrent);
    if (pGdiPlus == nullptr)
        return nullptr;
    CGpMatrix matrix = CloneMatrix(pGdiPlus->GetMatrix());
    if (!matrix || !ApplyTo(matrix))
        return nullptr;
    return new CQVTMarkupGdiPlusTransformationMatrix(matrix.Detach());
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusRotateTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusRotateTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return AboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipRotateMatrix(pMatrix, ToFloat(GetAngleProperty()), Gdiplus::MatrixOrderPrepend);
    });
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusScaleTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusScaleTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return AboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipScaleMatrix(pMatrix, ToFloat(GetScaleXProperty()), ToFloat(GetScaleYProperty()),
                               Gdiplus::MatrixOrderPrepend);
    });
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusSkewTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusSkewTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return AboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipShearMatrix(pMatrix, ToFloat(GetAngleXProperty() / 45.0),
                               ToFloat(GetAngleYProperty() / 45.0), Gdiplus::MatrixOrderPrepend);
    });
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusTranslateTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusTranslateTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return GdipTranslateMatrix(pMatrix, ToFloat(GetXProperty()), ToFloat(GetYProperty()),
                               Gdiplus::MatrixOrderPrepend) == Gdiplus::Ok;
}

// Render transform holder

void AFX_CDECL CQVTMarkupRenderTransform::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupRotateTransform::EnsureMarkupClass();
    CQVTMarkupScaleTransform::EnsureMarkupClass();
    CQVTMarkupTranslateTransform::EnsureMarkupClass();
    CQVTMarkupSkewTransform::EnsureMarkupClass();
    m_pRotateTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"RotateTransform", CQVTMarkupRotateTransform::GetMarkupType(), pType);
    m_pScaleTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"ScaleTransform", CQVTMarkupScaleTransform::GetMarkupType(), pType);
    m_pTranslateTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"TranslateTransform", CQVTMarkupTranslateTransform::GetMarkupType(), pType);
    m_pSkewTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"SkewTransform", CQVTMarkupSkewTransform::GetMarkupType(), pType);
}

CQVTMarkupRenderTransform::CQVTMarkupRenderTransform() : m_pCurrentProperty(nullptr), m_pOwner(nullptr) {}

void CQVTMarkupRenderTransform::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupDependencyProperty* pProperty = nullptr;
    if (MarkupCast<CQVTMarkupRotateTransform>(pContent) != nullptr)
        pProperty = m_pRotateTransformProperty;
    else if (MarkupCast<CQVTMarkupScaleTransform>(pContent) != nullptr)
        pProperty = m_pScaleTransformProperty;
    else if (MarkupCast<CQVTMarkupTranslateTransform>(pContent) != nullptr)
        pProperty = m_pTranslateTransformProperty;
    else if (MarkupCast<CQVTMarkupSkewTransform>(pContent) != nullptr)
        pProperty = m_pSkewTransformProperty;
    if (pProperty == nullptr)
    {
        CQVTMarkupObject::SetContentObject(pBuilder, pContent);
        return;
    }
    if (m_pCurrentProperty != nullptr)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(
            u"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.",
            GetType()->GetClassName(), pContent->GetType()->GetClassName(), GetType()->GetClassName());
    pContent->InternalAddRef();
    SetValue(pProperty, pContent);
    m_pCurrentProperty = pProperty;
}

void CQVTMarkupRenderTransform::SetOwnerObject(CQVTMarkupDependencyProperty* pProperty,
                                               CQVTMarkupObject* pOwner)
{
    m_pOwner = pOwner;
    CQVTMarkupObject::SetOwnerObject(pProperty, pOwner);
}

CQVTMarkupTransform* CQVTMarkupRenderTransform::GetTransform()
{
    return m_pCurrentProperty != nullptr ? MarkupCast<CQVTMarkupTransform>(GetValue(m_pCurrentProperty))
                                         : nullptr;
}
