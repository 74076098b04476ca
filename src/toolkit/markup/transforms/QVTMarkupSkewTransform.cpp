#include "toolkit/markup/transforms/QVTMarkupSkewTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

using namespace QVTGdiPlus;

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupSkewTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupSkewTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusSkewTransform, CQVTMarkupSkewTransform, u"SkewTransform", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pAngleXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pAngleYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSkewTransform::m_pCenterYProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupSkewTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "AngleX", GetAngleXProperty, SetAngleXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "AngleY", GetAngleYProperty, SetAngleYProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupSkewTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupSkewTransform::RegisterMarkupProperties()
{
    m_pAngleXProperty = RegisterDoubleProperty(u"AngleX", GetMarkupType(), 0);
    m_pAngleYProperty = RegisterDoubleProperty(u"AngleY", GetMarkupType(), 0);
    m_pCenterXProperty = RegisterDoubleProperty(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDoubleProperty(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
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

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusSkewTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusSkewTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return ApplyAboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipShearMatrix(pMatrix, ToSingle(GetAngleXProperty() / 45.0),
                               ToSingle(GetAngleYProperty() / 45.0), Gdiplus::MatrixOrderPrepend);
    });
}
