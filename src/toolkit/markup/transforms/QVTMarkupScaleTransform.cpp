#include "toolkit/markup/transforms/QVTMarkupScaleTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

using namespace QVTGdiPlus;

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupScaleTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupScaleTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusScaleTransform, CQVTMarkupScaleTransform, u"ScaleTransform", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pScaleXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pScaleYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScaleTransform::m_pCenterYProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupScaleTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "ScaleX", GetScaleXProperty, SetScaleXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "ScaleY", GetScaleYProperty, SetScaleYProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupScaleTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupScaleTransform::RegisterMarkupProperties()
{
    m_pScaleXProperty = RegisterDoubleProperty(u"ScaleX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pScaleYProperty = RegisterDoubleProperty(u"ScaleY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
    m_pCenterXProperty = RegisterDoubleProperty(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDoubleProperty(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
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

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusScaleTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusScaleTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return ApplyAboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipScaleMatrix(pMatrix, ToSingle(GetScaleXProperty()), ToSingle(GetScaleYProperty()),
                               Gdiplus::MatrixOrderPrepend);
    });
}
