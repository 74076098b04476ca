#include "toolkit/markup/transforms/QVTMarkupTranslateTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

using namespace QVTGdiPlus;

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupTranslateTransform, CQVTMarkupTransform, nullptr,
                               &CQVTMarkupTranslateTransform::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGdiPlusTranslateTransform, CQVTMarkupTranslateTransform,
                      u"TranslateTransform", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupTranslateTransform::m_pXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTranslateTransform::m_pYProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupTranslateTransform, CQVTMarkupTransform)
    DISP_PROPERTY_EX(CQVTMarkupTranslateTransform, "X", GetXProperty, SetXProperty, VT_R8)
    DISP_PROPERTY_EX(CQVTMarkupTranslateTransform, "Y", GetYProperty, SetYProperty, VT_R8)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupTranslateTransform::RegisterMarkupProperties()
{
    m_pXProperty = RegisterDoubleProperty(u"X", GetMarkupType(), QVT_MARKUP_SCALE_X);
    m_pYProperty = RegisterDoubleProperty(u"Y", GetMarkupType(), QVT_MARKUP_SCALE_Y);
}

void CQVTMarkupTranslateTransform::SetXProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pXProperty, dValue);
}

void CQVTMarkupTranslateTransform::SetYProperty(double dValue)
{
    QVTMarkupAutomation::SetDouble(this, m_pYProperty, dValue);
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusTranslateTransform::CreateMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    return CreateGdiPlusMatrix(pCurrent);
}

BOOL CQVTMarkupGdiPlusTranslateTransform::ApplyTo(Gdiplus::GpMatrix* pMatrix)
{
    return GdipTranslateMatrix(pMatrix, ToSingle(GetXProperty()), ToSingle(GetYProperty()),
                               Gdiplus::MatrixOrderPrepend) == Gdiplus::Ok;
}
