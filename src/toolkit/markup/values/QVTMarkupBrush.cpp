#include "toolkit/markup/values/QVTMarkupBrush.h"

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupBrush, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupBrushKey, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGradientStop, CQVTMarkupObject, u"GradientStop",
                      &CQVTMarkupGradientStop::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupGradientStops, CQVTMarkupCollection, u"", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupLinearGradientBrush, CQVTMarkupBrush, u"LinearGradientBrush",
                      &CQVTMarkupLinearGradientBrush::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupSolidColorBrush, CQVTMarkupBrush, u"SolidColorBrush",
                      &CQVTMarkupSolidColorBrush::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupSolidColorBrush::m_pColorProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGradientStop::m_pColorProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGradientStop::m_pOffsetProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLinearGradientBrush::m_pStartPointProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLinearGradientBrush::m_pEndPointProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLinearGradientBrush::m_pGradientStopsProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupSolidColorBrush, CQVTMarkupObject)
    DISP_PROPERTY_EX_ID(CQVTMarkupSolidColorBrush, "Color", 100, GetColorProperty, SetColorProperty, VT_I4)
END_DISPATCH_MAP()

CQVTMarkupObject* CQVTMarkupBrush::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    DWORD dwColor = 0;
    if (pString == nullptr || !CQVTMarkupColor::ParseColor(pString->GetText(), dwColor))
        return nullptr;
    return new CQVTMarkupSolidColorBrush(static_cast<BYTE>(dwColor >> 24), dwColor & 0xFFFFFF);
}

void AFX_CDECL CQVTMarkupSolidColorBrush::RegisterMarkupProperties()
{
    CQVTMarkupColor::EnsureMarkupClass();
    m_pColorProperty =
        CQVTMarkupDependencyProperty::Register(u"Color", CQVTMarkupColor::GetMarkupType(), GetMarkupType());
}

CQVTMarkupSolidColorBrush::CQVTMarkupSolidColorBrush() {}

CQVTMarkupSolidColorBrush::CQVTMarkupSolidColorBrush(BYTE bAlpha, COLORREF clr)
{
    SetColor(bAlpha, clr);
}

CQVTMarkupSolidColorBrush::CQVTMarkupSolidColorBrush(COLORREF clr)
{
    SetColor(0xFF, clr);
}

DWORD CQVTMarkupSolidColorBrush::GetColor()
{
    CQVTMarkupColor* pColor = MarkupCast<CQVTMarkupColor>(GetValue(m_pColorProperty));
    return pColor != nullptr ? pColor->GetValue() : 0xFF000000;
}

void CQVTMarkupSolidColorBrush::SetColor(BYTE bAlpha, COLORREF clr)
{
    EnsureMarkupClass();
    SetValue(m_pColorProperty, new CQVTMarkupColor(bAlpha, clr));
}

COLORREF CQVTMarkupSolidColorBrush::GetColorRef()
{
    return GetColor() & 0xFFFFFF;
}

BOOL CQVTMarkupSolidColorBrush::IsEqual(CQVTMarkupObject* pObject)
{
    CQVTMarkupSolidColorBrush* pOther = MarkupCast<CQVTMarkupSolidColorBrush>(pObject);
    return pOther != nullptr && pOther->GetColorRef() == GetColorRef();
}

long CQVTMarkupSolidColorBrush::GetColorProperty()
{
    return static_cast<long>(GetColor());
}

void CQVTMarkupSolidColorBrush::SetColorProperty(long nColor)
{
    const DWORD dwColor = static_cast<DWORD>(nColor);
    const BYTE bAlpha = static_cast<BYTE>(dwColor >> 24);
    SetColor(bAlpha != 0 ? bAlpha : 0xFF, dwColor & 0xFFFFFF);
}

void AFX_CDECL CQVTMarkupGradientStop::RegisterMarkupProperties()
{
    CQVTMarkupColor::EnsureMarkupClass();
    CQVTMarkupDouble::EnsureMarkupClass();
    m_pColorProperty =
        CQVTMarkupDependencyProperty::Register(u"Color", CQVTMarkupColor::GetMarkupType(), GetMarkupType());
    m_pOffsetProperty =
        CQVTMarkupDependencyProperty::Register(u"Offset", CQVTMarkupDouble::GetMarkupType(), GetMarkupType());
}

DWORD CQVTMarkupGradientStop::GetColor()
{
    CQVTMarkupColor* pColor = MarkupCast<CQVTMarkupColor>(GetValue(m_pColorProperty));
    return pColor != nullptr ? pColor->GetValue() : 0;
}

double CQVTMarkupGradientStop::GetOffset()
{
    CQVTMarkupDouble* pOffset = MarkupCast<CQVTMarkupDouble>(GetValue(m_pOffsetProperty));
    return pOffset != nullptr ? pOffset->GetValue() : 0.0;
}

void AFX_CDECL CQVTMarkupLinearGradientBrush::RegisterMarkupProperties()
{
    CQVTMarkupPoint::EnsureMarkupClass();
    CQVTMarkupGradientStops::EnsureMarkupClass();
    m_pStartPointProperty = CQVTMarkupDependencyProperty::Register(
        u"StartPoint", CQVTMarkupPoint::GetMarkupType(), GetMarkupType());
    m_pEndPointProperty = CQVTMarkupDependencyProperty::Register(
        u"EndPoint", CQVTMarkupPoint::GetMarkupType(), GetMarkupType());
    m_pGradientStopsProperty = CQVTMarkupDependencyProperty::Register(
        u"GradientStops", CQVTMarkupGradientStops::GetMarkupType(), GetMarkupType());
}

CQVTMarkupLinearGradientBrush::CQVTMarkupLinearGradientBrush()
{
    EnsureMarkupClass();
    SetValue(m_pGradientStopsProperty, new CQVTMarkupGradientStops());
}

CQVTMarkupGradientStops* CQVTMarkupLinearGradientBrush::GetGradientStops()
{
    return MarkupCast<CQVTMarkupGradientStops>(GetValue(m_pGradientStopsProperty));
}

CQVTMarkupPoint* CQVTMarkupLinearGradientBrush::GetStartPoint()
{
    return MarkupCast<CQVTMarkupPoint>(GetValue(m_pStartPointProperty));
}

CQVTMarkupPoint* CQVTMarkupLinearGradientBrush::GetEndPoint()
{
    return MarkupCast<CQVTMarkupPoint>(GetValue(m_pEndPointProperty));
}

COLORREF CQVTMarkupLinearGradientBrush::GetColorRef()
{
    CQVTMarkupGradientStops* pStops = GetGradientStops();
    CQVTMarkupGradientStop* pFirst = pStops != nullptr ? pStops->GetAt(0) : nullptr;
    return pFirst != nullptr ? pFirst->GetColor() & 0xFFFFFF : 0;
}

void CQVTMarkupLinearGradientBrush::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupGradientStops* pStops = GetGradientStops();
    if (pStops == nullptr)
    {
        CQVTMarkupBrush::SetContentObject(pBuilder, pContent);
        return;
    }
    pStops->SetContentObject(pBuilder, pContent);
}
