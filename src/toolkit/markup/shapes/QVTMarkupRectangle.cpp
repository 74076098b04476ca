#include "toolkit/markup/shapes/QVTMarkupRectangle.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupRectangle, CQVTMarkupShape, u"Rectangle",
                      &CQVTMarkupRectangle::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupRectangle::m_pRadiusXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRectangle::m_pRadiusYProperty = nullptr;

using namespace QVTMarkupAutomation;

BEGIN_DISPATCH_MAP(CQVTMarkupRectangle, CQVTMarkupShape)
    DISP_PROPERTY_EX(CQVTMarkupRectangle, "RadiusX", GetRadiusXProperty, SetRadiusXProperty, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupRectangle, "RadiusY", GetRadiusYProperty, SetRadiusYProperty, VT_I4)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupRectangle::RegisterMarkupProperties()
{
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    m_pRadiusXProperty = CQVTMarkupDependencyProperty::Register(
        u"RadiusX", pIntType, GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_X));
    m_pRadiusYProperty = CQVTMarkupDependencyProperty::Register(
        u"RadiusY", pIntType, GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_Y));
}

SIZE CQVTMarkupRectangle::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    SIZE size = {0, 0};
    if (IsStretched())
    {
        if (IsBounded(szAvailable.cx))
            size.cx = szAvailable.cx;
        if (IsBounded(szAvailable.cy))
            size.cy = szAvailable.cy;
    }
    return size;
}

void CQVTMarkupRectangle::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    CQVTMarkupBrush* pFill = GetFill();
    const SIZE size = GetRenderSize();
    if ((stroke.pBrush == nullptr && pFill == nullptr) || size.cx == 0 || size.cy == 0)
        return;
    CSmoothingScope smoothing(this, pDC);
    const int t = stroke.nThickness;
    const double rx =
        std::min((double(size.cx) - t) * 0.5, double(GetMarkupEnumValue(GetValue(m_pRadiusXProperty), 0)));
    const double ry =
        std::min((double(size.cy) - t) * 0.5, double(GetMarkupEnumValue(GetValue(m_pRadiusYProperty), 0)));
    CQVTMarkupCornerRadius radius;
    const CQVTMarkupCornerRadius* pRadius = nullptr;
    if (rx > 0 && ry > 0)
    {
        radius.r[0] = radius.r[3] = radius.r[4] = radius.r[7] = ry;
        radius.r[1] = radius.r[2] = radius.r[5] = radius.r[6] = rx;
        pRadius = &radius;
    }
    if (pFill != nullptr)
    {
        const int nInset = t / 2;
        pDC->FillRectangle(RECT{nInset, nInset, size.cx - nInset, size.cy - nInset}, pFill, pRadius);
    }
    if (t > 0)
    {
        CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(t, t, t, t));
        pDC->DrawRectangle(RECT{0, 0, size.cx, size.cy}, stroke.pBrush,
                           static_cast<CQVTMarkupThickness*>(thickness.Get()), pRadius);
    }
}

long CQVTMarkupRectangle::GetRadiusXProperty()
{
    return GetInt(this, m_pRadiusXProperty, 0);
}

void CQVTMarkupRectangle::SetRadiusXProperty(long nValue)
{
    SetInt(this, m_pRadiusXProperty, nValue);
}

long CQVTMarkupRectangle::GetRadiusYProperty()
{
    return GetInt(this, m_pRadiusYProperty, 0);
}

void CQVTMarkupRectangle::SetRadiusYProperty(long nValue)
{
    SetInt(this, m_pRadiusYProperty, nValue);
}
