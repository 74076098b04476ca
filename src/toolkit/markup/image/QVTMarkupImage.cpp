#include "toolkit/markup/image/QVTMarkupImage.h"

#include <cmath>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupGdiPlusDeviceContext.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupStretch.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupImage, CQVTMarkupFrameworkElement, u"Image",
                      &CQVTMarkupImage::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupImage::m_pSourceProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupImage::m_pStretchProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupImage, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupImage, "Source", 500, GetSourceProperty, SetSourceProperty, VT_BSTR)
    DISP_PROPERTY_EX_ID(CQVTMarkupImage, "Stretch", 501, GetStretchProperty, SetStretchProperty, VT_I4)
END_DISPATCH_MAP()

namespace {
const int kLargeSide = 32000;
}  // namespace

void AFX_CDECL CQVTMarkupImage::RegisterMarkupProperties()
{
    CQVTMarkupString::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    // Bits 2, 4, 8, 16 and 32: any change of source relays out and repaints.
    m_pSourceProperty =
        CQVTMarkupDependencyProperty::Register(u"Source", CQVTMarkupString::GetMarkupType(), GetMarkupType(),
                                               new CQVTMarkupPropertyMetadata(nullptr, 62));
    m_pStretchProperty = CQVTMarkupDependencyProperty::Register(
        u"Stretch", CQVTMarkupEnum::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtStretchNone), &ConvertMarkupStretch,
                                       QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupImage::CQVTMarkupImage() : m_szAvailable{0, 0} {}

CQVTMarkupImage::~CQVTMarkupImage()
{
    m_pImage.reset();
}

void CQVTMarkupImage::LoadImage(CQVTMarkupDrawingContext* pDC)
{
    m_pImage.reset();
    CQVTMarkupString* pSource = MarkupCast<CQVTMarkupString>(GetValue(m_pSourceProperty));
    if (pSource == nullptr || pSource->GetText() == nullptr || *pSource->GetText() == 0 || pDC == nullptr)
        return;
    m_pImage.reset(pDC->GetDeviceContext()->CreateDeviceDependentImage(this));
    if (m_pImage != nullptr)
        m_pImage->Load(pSource->GetText(), m_szAvailable.cx);
}

SIZE CQVTMarkupImage::GetImageSize(SIZE size)
{
    if (m_pImage == nullptr)
        return SIZE{0, 0};
    CQVTMarkupContext* pContext = GetMarkupContext();
    SIZE szNatural = {static_cast<LONG>(std::min<UINT>(m_pImage->GetWidth(), INT_MAX)),
                      static_cast<LONG>(std::min<UINT>(m_pImage->GetHeight(), INT_MAX))};
    if (pContext != nullptr)
        szNatural = {pContext->ScaleX(szNatural.cx), pContext->ScaleY(szNatural.cy)};
    if (szNatural.cx == 0 || szNatural.cy == 0)
        return szNatural;
    const int nStretch = GetMarkupEnumValue(GetValue(m_pStretchProperty), qvtStretchNone);
    if (nStretch == qvtStretchNone || (size.cx > kLargeSide && size.cy > kLargeSide))
        return szNatural;
    double sx = double(size.cx) / szNatural.cx, sy = double(size.cy) / szNatural.cy;
    if (size.cx > kLargeSide)
        sx = sy;
    else if (size.cy > kLargeSide)
        sy = sx;
    else if (nStretch == qvtStretchUniform)
        sx = sy = std::min(sx, sy);
    else if (nStretch == qvtStretchUniformToFill)
        sx = sy = std::max(sx, sy);
    auto truncate = [](double dValue) {
        return static_cast<LONG>(std::clamp(std::trunc(dValue), 0.0, double(QVT_MARKUP_UNBOUNDED)));
    };
    return SIZE{truncate(szNatural.cx * sx), truncate(szNatural.cy * sy)};
}

SIZE CQVTMarkupImage::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    if (szAvailable.cx != m_szAvailable.cx || szAvailable.cy != m_szAvailable.cy || m_pImage == nullptr)
    {
        m_szAvailable = szAvailable;
        LoadImage(pDC);
    }
    return GetImageSize(szAvailable);
}

SIZE CQVTMarkupImage::ArrangeOverride(SIZE szFinal)
{
    return GetImageSize(szFinal);
}

void CQVTMarkupImage::OnRender(CQVTMarkupDrawingContext* pDC)
{
    // A picture is loaded by the kind of device context that draws it.
    const BOOL bGdiPlus =
        DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusDeviceContext, pDC->GetDeviceContext()) != nullptr;
    if (m_pImage == nullptr ||
        bGdiPlus != (DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, m_pImage.get()) != nullptr))
        LoadImage(pDC);
    if (m_pImage == nullptr)
        return;
    const SIZE size = GetRenderSize();
    pDC->DrawImage(m_pImage.get(), RECT{0, 0, size.cx, size.cy});
}

void CQVTMarkupImage::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                                        CQVTMarkupObject* pNewValue)
{
    if (pProperty == m_pSourceProperty)
        m_pImage.reset();
    CQVTMarkupFrameworkElement::OnPropertyChanged(pProperty, pOldValue, pNewValue);
}

BSTR CQVTMarkupImage::GetSourceProperty()
{
    CQVTMarkupString* pSource = MarkupCast<CQVTMarkupString>(GetValue(m_pSourceProperty));
    return ::SysAllocString(pSource != nullptr && pSource->GetText() != nullptr ? pSource->GetText() : u"");
}

void CQVTMarkupImage::SetSourceProperty(LPCTSTR lpszSource)
{
    SetValue(m_pSourceProperty, CQVTMarkupString::CreateValue(lpszSource != nullptr ? lpszSource : u""));
}

long CQVTMarkupImage::GetStretchProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pStretchProperty, qvtStretchNone);
}

void CQVTMarkupImage::SetStretchProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pStretchProperty, nValue);
}
