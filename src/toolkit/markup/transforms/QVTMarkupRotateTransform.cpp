#include "toolkit/markup/transforms/QVTMarkupRotateTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

using namespace QVTGdiPlus;

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupRotateTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupRotateTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusRotateTransform, CQVTMarkupRotateTransform, u"RotateTransform",
                      nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pAngleProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pCenterXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRotateTransform::m_pCenterYProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupRotateTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "Angle", GetAngleProperty, SetAngleProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "CenterX", GetCenterXProperty, SetCenterXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupRotateTransform, "CenterY", GetCenterYProperty, SetCenterYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupRotateTransform::RegisterMarkupProperties()
{
    m_pAngleProperty = RegisterDoubleProperty(u"Angle", GetMarkupType(), 0);
    m_pCenterXProperty = RegisterDoubleProperty(u"CenterX", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pCenterYProperty = RegisterDoubleProperty(u"CenterY", GetMarkupType(), QVT_MARKUP_SCALE_Y);
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

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusRotateTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusRotateTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return ApplyAboutCentre(pMatrix, GetCenterXProperty(), GetCenterYProperty(), [&]() {
        return GdipRotateMatrix(pMatrix, ToSingle(GetAngleProperty()), Gdiplus::MatrixOrderPrepend);
    });
}
