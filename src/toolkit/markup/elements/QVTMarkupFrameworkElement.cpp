#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupFrameworkElement, CQVTMarkupUIElement, u"FrameworkElement",
                      &CQVTMarkupFrameworkElement::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pMarginProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pHorizontalAlignmentProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pVerticalAlignmentProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pHeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pMinWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pMinHeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pMaxWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pMaxHeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupFrameworkElement::m_pTagProperty = nullptr;

namespace {
const DWORD kLayoutFlags =
    QVT_MARKUP_AFFECTS_ARRANGE | QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_AFFECTS_RENDER;

int ClampToInt(__int64 nValue)
{
    return static_cast<int>(std::clamp<__int64>(nValue, INT_MIN, INT_MAX));
}

CQVTMarkupObject* AFX_CDECL ConvertHorizontalAlignment(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                       CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Left))
        return new CQVTMarkupEnum(qvtAlignLeft);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Center))
        return new CQVTMarkupEnum(qvtAlignCenter);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Right))
        return new CQVTMarkupEnum(qvtAlignRight);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Stretch))
        return new CQVTMarkupEnum(qvtAlignStretch);
    return nullptr;
}

CQVTMarkupObject* AFX_CDECL ConvertVerticalAlignment(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                     CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Top))
        return new CQVTMarkupEnum(qvtAlignLeft);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Center))
        return new CQVTMarkupEnum(qvtAlignCenter);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Bottom))
        return new CQVTMarkupEnum(qvtAlignRight);
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Stretch))
        return new CQVTMarkupEnum(qvtAlignStretch);
    return nullptr;
}
}  // namespace

CQVTMarkupObject* AFX_CDECL CQVTMarkupFrameworkElement::ConvertLength(CQVTMarkupBuilder* pBuilder,
                                                                      CQVTMarkupObject* pSource,
                                                                      CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::Auto))
        return new CQVTMarkupInt(QVT_MARKUP_UNBOUNDED);
    LPCWSTR lpszText = pString->GetText();
    int nValue = CQVTMarkupBuilder::ApplyLengthUnit(CQVTMarkupBuilder::ReadWholeNumber(lpszText),
                                                    CQVTMarkupBuilder::GetLengthUnit(lpszText));
    CQVTMarkupContext* pContext = pBuilder != nullptr ? pBuilder->GetMarkupContext() : nullptr;
    const DWORD dwFlags = pProperty != nullptr ? pProperty->GetFlags() : 0;
    if (pContext != nullptr && nValue != 0)
    {
        if (dwFlags & QVT_MARKUP_SCALE_X)
            nValue = pContext->ScaleX(nValue);
        else if (dwFlags & QVT_MARKUP_SCALE_Y)
            nValue = pContext->ScaleY(nValue);
    }
    return new CQVTMarkupInt(nValue);
}

void AFX_CDECL CQVTMarkupFrameworkElement::RegisterMarkupProperties()
{
    CQVTMarkupThickness::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    const DWORD dwWidthFlags = QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X;
    const DWORD dwHeightFlags = QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_Y;
    m_pMarginProperty = CQVTMarkupDependencyProperty::Register(
        u"Margin", CQVTMarkupThickness::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupThickness(),
                                       QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X | QVT_MARKUP_SCALE_Y));
    m_pHorizontalAlignmentProperty = CQVTMarkupDependencyProperty::Register(
        u"HorizontalAlignment", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertHorizontalAlignment, QVT_MARKUP_AFFECTS_ARRANGE));
    m_pVerticalAlignmentProperty = CQVTMarkupDependencyProperty::Register(
        u"VerticalAlignment", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertVerticalAlignment, QVT_MARKUP_AFFECTS_ARRANGE));
    m_pWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"Width", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwWidthFlags));
    m_pHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"Height", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwHeightFlags));
    m_pMinWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"MinWidth", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwWidthFlags));
    m_pMinHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"MinHeight", pIntType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwHeightFlags));
    m_pMaxWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"MaxWidth", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwWidthFlags));
    m_pMaxHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"MaxHeight", pIntType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertLength, dwHeightFlags));
    m_pTagProperty = CQVTMarkupDependencyProperty::Register(u"Tag", CQVTMarkupObject::GetMarkupType(), pType);
}

CQVTMarkupFrameworkElement::CQVTMarkupFrameworkElement()
    : m_bNeedsClip(FALSE), m_szUnclipped{0, 0}, m_bUnclippedSaved(FALSE), m_nMaxHeight(QVT_MARKUP_UNBOUNDED),
      m_nMinHeight(0), m_nMaxWidth(QVT_MARKUP_UNBOUNDED), m_nMinWidth(0)
{
}

CQVTMarkupThickness* CQVTMarkupFrameworkElement::GetMargin()
{
    CQVTMarkupThickness* pMargin = MarkupCast<CQVTMarkupThickness>(GetValue(m_pMarginProperty));
    static CQVTMarkupThickness* s_pNone = new CQVTMarkupThickness();
    return pMargin != nullptr ? pMargin : s_pNone;
}

QVTMarkupAlignment CQVTMarkupFrameworkElement::GetHorizontalAlignment()
{
    CQVTMarkupEnum* pValue = MarkupCast<CQVTMarkupEnum>(GetValue(m_pHorizontalAlignmentProperty));
    return pValue != nullptr ? static_cast<QVTMarkupAlignment>(pValue->GetValue()) : qvtAlignStretch;
}

QVTMarkupAlignment CQVTMarkupFrameworkElement::GetVerticalAlignment()
{
    CQVTMarkupEnum* pValue = MarkupCast<CQVTMarkupEnum>(GetValue(m_pVerticalAlignmentProperty));
    return pValue != nullptr ? static_cast<QVTMarkupAlignment>(pValue->GetValue()) : qvtAlignStretch;
}

int CQVTMarkupFrameworkElement::GetLength(CQVTMarkupDependencyProperty* pProperty, int nDefault)
{
    CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(GetValue(pProperty));
    if (pValue == nullptr || pValue->GetValue() == QVT_MARKUP_UNBOUNDED)
        return nDefault;
    return pValue->GetValue();
}

void CQVTMarkupFrameworkElement::ComputeLimits()
{
    const int nHeight = GetLength(m_pHeightProperty, QVT_MARKUP_UNBOUNDED);
    m_nMaxHeight = std::max(std::min(nHeight, GetLength(m_pMaxHeightProperty, QVT_MARKUP_UNBOUNDED)),
                            GetLength(m_pMinHeightProperty, 0));
    m_nMinHeight =
        std::max(std::min(m_nMaxHeight, GetLength(m_pHeightProperty, 0)), GetLength(m_pMinHeightProperty, 0));
    const int nWidth = GetLength(m_pWidthProperty, QVT_MARKUP_UNBOUNDED);
    m_nMaxWidth = std::max(std::min(nWidth, GetLength(m_pMaxWidthProperty, QVT_MARKUP_UNBOUNDED)),
                           GetLength(m_pMinWidthProperty, 0));
    m_nMinWidth =
        std::max(std::min(m_nMaxWidth, GetLength(m_pWidthProperty, 0)), GetLength(m_pMinWidthProperty, 0));
}

SIZE CQVTMarkupFrameworkElement::MeasureOverride(CQVTMarkupDrawingContext*, SIZE)
{
    SIZE size = {0, 0};
    return size;
}

SIZE CQVTMarkupFrameworkElement::ArrangeOverride(SIZE szFinal)
{
    return szFinal;
}

SIZE CQVTMarkupFrameworkElement::MeasureCore(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupThickness* pMargin = GetMargin();
    const __int64 nMarginX = __int64(pMargin->left) + pMargin->right;
    const __int64 nMarginY = __int64(pMargin->top) + pMargin->bottom;
    auto reduce = [](int nAvailable, __int64 nMargin) {
        if (nAvailable >= QVT_MARKUP_UNBOUNDED_LIMIT)
            return int(QVT_MARKUP_UNBOUNDED);
        const __int64 nReduced = nAvailable - nMargin;
        return nReduced <= 0 ? 0 : ClampToInt(nReduced);
    };
    ComputeLimits();
    SIZE szReduced = {reduce(szAvailable.cx, nMarginX), reduce(szAvailable.cy, nMarginY)};
    szReduced.cx = std::max(m_nMinWidth, std::min<int>(szReduced.cx, m_nMaxWidth));
    szReduced.cy = std::max(m_nMinHeight, std::min<int>(szReduced.cy, m_nMaxHeight));

    const SIZE szContent = MeasureOverride(pDC, szReduced);

    const SIZE szUnclipped = {std::max<int>(m_nMinWidth, szContent.cx),
                              std::max<int>(m_nMinHeight, szContent.cy)};
    const SIZE szLimited = {std::min<int>(m_nMaxWidth, szUnclipped.cx),
                            std::min<int>(m_nMaxHeight, szUnclipped.cy)};
    const __int64 nWithMarginX = szLimited.cx + nMarginX, nWithMarginY = szLimited.cy + nMarginY;

    m_bNeedsClip = FALSE;
    m_bUnclippedSaved = FALSE;
    if (nWithMarginX > szAvailable.cx || nWithMarginY > szAvailable.cy || szUnclipped.cx > m_nMaxWidth ||
        szUnclipped.cy > m_nMaxHeight || nWithMarginX < 0 || nWithMarginY < 0)
    {
        m_bNeedsClip = TRUE;
        m_bUnclippedSaved = TRUE;
        m_szUnclipped = szUnclipped;
    }
    SIZE szDesired = {ClampToInt(std::max<__int64>(0, std::min<__int64>(nWithMarginX, szAvailable.cx))),
                      ClampToInt(std::max<__int64>(0, std::min<__int64>(nWithMarginY, szAvailable.cy)))};
    return szDesired;
}

int CQVTMarkupFrameworkElement::AlignmentOffset(QVTMarkupAlignment alignment, int nSlot, int nInk)
{
    if (alignment == qvtAlignStretch && nInk > nSlot)
        alignment = qvtAlignLeft;
    switch (alignment)
    {
    case qvtAlignCenter:
    case qvtAlignStretch:
        return ClampToInt((__int64(nSlot) - nInk) / 2);
    case qvtAlignRight:
        return ClampToInt(__int64(nSlot) - nInk);
    default:
        return 0;
    }
}

void CQVTMarkupFrameworkElement::ArrangeCore(const RECT& rcFinal)
{
    CQVTMarkupThickness* pMargin = GetMargin();
    const __int64 nMarginX = __int64(pMargin->left) + pMargin->right;
    const __int64 nMarginY = __int64(pMargin->top) + pMargin->bottom;
    const SIZE szSlot = {ClampToInt(std::max<__int64>(0, __int64(rcFinal.right) - rcFinal.left - nMarginX)),
                         ClampToInt(std::max<__int64>(0, __int64(rcFinal.bottom) - rcFinal.top - nMarginY))};
    const SIZE szDesired = GetDesiredSize();
    SIZE szContent = m_bUnclippedSaved ? m_szUnclipped
                                       : SIZE{ClampToInt(std::max<__int64>(0, szDesired.cx - nMarginX)),
                                              ClampToInt(std::max<__int64>(0, szDesired.cy - nMarginY))};
    const QVTMarkupAlignment horizontal = GetHorizontalAlignment(), vertical = GetVerticalAlignment();

    SIZE szArrange = szSlot;
    if (szSlot.cx < szContent.cx)
    {
        m_bNeedsClip = TRUE;
        szArrange.cx = szContent.cx;
    }
    if (szSlot.cy < szContent.cy)
    {
        m_bNeedsClip = TRUE;
        szArrange.cy = szContent.cy;
    }
    if (horizontal != qvtAlignStretch)
        szArrange.cx = szContent.cx;
    if (vertical != qvtAlignStretch)
        szArrange.cy = szContent.cy;
    const int nEffectiveMaxX = std::max<int>(m_nMaxWidth, szContent.cx);
    const int nEffectiveMaxY = std::max<int>(m_nMaxHeight, szContent.cy);
    if (szArrange.cx > nEffectiveMaxX)
    {
        m_bNeedsClip = TRUE;
        szArrange.cx = nEffectiveMaxX;
    }
    if (szArrange.cy > nEffectiveMaxY)
    {
        m_bNeedsClip = TRUE;
        szArrange.cy = nEffectiveMaxY;
    }

    const SIZE szRender = ArrangeOverride(szArrange);
    SetRenderSize(szRender);

    const SIZE szInk = {std::min<int>(szRender.cx, m_nMaxWidth), std::min<int>(szRender.cy, m_nMaxHeight)};
    if (szRender.cx > m_nMaxWidth || szRender.cy > m_nMaxHeight || szSlot.cx < szInk.cx ||
        szSlot.cy < szInk.cy)
        m_bNeedsClip = TRUE;
    const POINT ptOffset = {
        ClampToInt(__int64(rcFinal.left) + pMargin->left + AlignmentOffset(horizontal, szSlot.cx, szInk.cx)),
        ClampToInt(__int64(rcFinal.top) + pMargin->top + AlignmentOffset(vertical, szSlot.cy, szInk.cy))};
    SetVisualOffset(ptOffset);
}

BOOL CQVTMarkupFrameworkElement::GetLayoutClip(RECT* pClip)
{
    if (CQVTMarkupUIElement::GetLayoutClip(pClip))
        return TRUE;
    CQVTMarkupBool* pClipToBounds = MarkupCast<CQVTMarkupBool>(GetValue(m_pClipToBoundsProperty));
    const BOOL bClipToBounds = pClipToBounds != nullptr && pClipToBounds->GetValue();
    if (!bClipToBounds && !m_bNeedsClip)
        return FALSE;
    const SIZE szRender = GetRenderSize();
    const SIZE szMaxClip = {m_nMaxWidth == QVT_MARKUP_UNBOUNDED ? szRender.cx : m_nMaxWidth,
                            m_nMaxHeight == QVT_MARKUP_UNBOUNDED ? szRender.cy : m_nMaxHeight};
    const BOOL bMaxClip = bClipToBounds || szRender.cx > szMaxClip.cx || szRender.cy > szMaxClip.cy;
    const SIZE szInk = {std::min<int>(szRender.cx, m_nMaxWidth), std::min<int>(szRender.cy, m_nMaxHeight)};
    CQVTMarkupThickness* pMargin = GetMargin();
    const RECT& rcFinal = GetFinalRect();
    const SIZE szSlot = {ClampToInt(std::max<__int64>(0, __int64(rcFinal.right) - rcFinal.left -
                                                             pMargin->left - pMargin->right)),
                         ClampToInt(std::max<__int64>(0, __int64(rcFinal.bottom) - rcFinal.top -
                                                             pMargin->top - pMargin->bottom))};
    const RECT rcMaxClip = {0, 0, szMaxClip.cx, szMaxClip.cy};
    if (!bClipToBounds && szSlot.cx >= szInk.cx && szSlot.cy >= szInk.cy)
    {
        if (!bMaxClip)
            return FALSE;
        *pClip = rcMaxClip;
        return TRUE;
    }
    const int nOffsetX = AlignmentOffset(GetHorizontalAlignment(), szSlot.cx, szInk.cx);
    const int nOffsetY = AlignmentOffset(GetVerticalAlignment(), szSlot.cy, szInk.cy);
    RECT rcClip = {-nOffsetX, -nOffsetY, szSlot.cx - nOffsetX, szSlot.cy - nOffsetY};
    if (bMaxClip && !::IntersectRect(&rcClip, &rcClip, &rcMaxClip))
        ::SetRectEmpty(&rcClip);
    *pClip = rcClip;
    return TRUE;
}

void CQVTMarkupFrameworkElement::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                                   CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    CQVTMarkupUIElement::OnPropertyChanged(pProperty, pOldValue, pNewValue);
    if (!IsLoading() && pProperty != nullptr && (pProperty->GetFlags() & kLayoutFlags) != 0)
        InvalidateMeasure();
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupFrameworkElement, CQVTMarkupUIElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "MinWidth", 400, GetMinWidthProperty, SetMinWidthProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "Width", 401, GetWidthProperty, SetWidthProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "MaxWidth", 402, GetMaxWidthProperty, SetMaxWidthProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "MinHeight", 403, GetMinHeightProperty,
                        SetMinHeightProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "Height", 404, GetHeightProperty, SetHeightProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "MaxHeight", 405, GetMaxHeightProperty,
                        SetMaxHeightProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "Margin", 406, GetMarginProperty, SetMarginProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "HorizontalAlignment", 407,
                        GetHorizontalAlignmentProperty, SetHorizontalAlignmentProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "VerticalAlignment", 408, GetVerticalAlignmentProperty,
                        SetVerticalAlignmentProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupFrameworkElement, "Tag", 409, GetTagProperty, SetTagProperty, VT_VARIANT)
END_DISPATCH_MAP()

long CQVTMarkupFrameworkElement::GetMinWidthProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pMinWidthProperty, 0);
}

void CQVTMarkupFrameworkElement::SetMinWidthProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pMinWidthProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetWidthProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pWidthProperty, 0);
}

void CQVTMarkupFrameworkElement::SetWidthProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pWidthProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetMaxWidthProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pMaxWidthProperty, QVT_MARKUP_UNBOUNDED);
}

void CQVTMarkupFrameworkElement::SetMaxWidthProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pMaxWidthProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetMinHeightProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pMinHeightProperty, 0);
}

void CQVTMarkupFrameworkElement::SetMinHeightProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pMinHeightProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetHeightProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pHeightProperty, 0);
}

void CQVTMarkupFrameworkElement::SetHeightProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pHeightProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetMaxHeightProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pMaxHeightProperty, QVT_MARKUP_UNBOUNDED);
}

void CQVTMarkupFrameworkElement::SetMaxHeightProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pMaxHeightProperty, nValue);
}

LPDISPATCH CQVTMarkupFrameworkElement::GetMarginProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pMarginProperty);
}

void CQVTMarkupFrameworkElement::SetMarginProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pMarginProperty, pDispatch);
}

long CQVTMarkupFrameworkElement::GetHorizontalAlignmentProperty()
{
    return GetHorizontalAlignment();
}

void CQVTMarkupFrameworkElement::SetHorizontalAlignmentProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pHorizontalAlignmentProperty, nValue);
}

long CQVTMarkupFrameworkElement::GetVerticalAlignmentProperty()
{
    return GetVerticalAlignment();
}

void CQVTMarkupFrameworkElement::SetVerticalAlignmentProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pVerticalAlignmentProperty, nValue);
}

VARIANT CQVTMarkupFrameworkElement::GetTagProperty()
{
    return QVTMarkupAutomation::GetTag(this, m_pTagProperty);
}

void CQVTMarkupFrameworkElement::SetTagProperty(const VARIANT& value)
{
    QVTMarkupAutomation::SetTag(this, m_pTagProperty, value);
}
