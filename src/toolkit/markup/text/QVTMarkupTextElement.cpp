#include "toolkit/markup/text/QVTMarkupTextElement.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupSpan.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupTextElement, CQVTMarkupFrameworkContentElement, u"TextElement",
                      &CQVTMarkupTextElement::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupInline, CQVTMarkupTextElement, nullptr,
                               &CQVTMarkupInline::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pBackgroundProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pForegroundProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontSizeProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontWeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontFamilyProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontStyleProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pTextDecorationsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontQualityProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextElement::m_pFontCharsetProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInline::m_pBaselineAlignmentProperty = nullptr;

namespace {
const QVTMARKUPKEYWORD kFontWeights[] = {
    {u"Thin", 100},      {u"ExtraLight", 200}, {u"Light", 300},    {u"Normal", 400},     {u"Regular", 400},
    {u"Medium", 500},    {u"SemiBold", 600},   {u"DemiBold", 600}, {u"Bold", 700},       {u"ExtraBold", 800},
    {u"UltraBold", 800}, {u"Black", 900},      {u"Heavy", 900},    {u"ExtraBlack", 950},
};
const QVTMARKUPKEYWORD kFontStyles[] = {{u"Normal", 0}, {u"Italic", 1}};
const QVTMARKUPKEYWORD kTextDecorations[] = {
    {u"", qvtTextDecorationNone},
    {u"Underline", qvtTextDecorationUnderline},
    {u"Strikethrough", qvtTextDecorationStrikethrough},
};
const QVTMARKUPKEYWORD kFontQualities[] = {{u"ClearType", CLEARTYPE_QUALITY}};
const QVTMARKUPKEYWORD kBaselineAlignments[] = {
    {u"Top", qvtBaselineTop},
    {u"Center", qvtBaselineCenter},
    {u"Bottom", qvtBaselineBottom},
    {u"Baseline", qvtBaselineBaseline},
    {u"TextTop", qvtBaselineTextTop},
    {u"TextBottom", qvtBaselineTextBottom},
    {u"Subscript", qvtBaselineSubscript},
    {u"Superscript", qvtBaselineSuperscript},
};

CQVTMarkupObject* AFX_CDECL ConvertBaselineAlignment(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                     CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kBaselineAlignments);
}
}  // namespace

CQVTMarkupObject* AFX_CDECL CQVTMarkupTextElement::ConvertFontWeight(CQVTMarkupBuilder*,
                                                                     CQVTMarkupObject* pSource,
                                                                     CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kFontWeights);
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupTextElement::ConvertFontStyle(CQVTMarkupBuilder*,
                                                                    CQVTMarkupObject* pSource,
                                                                    CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kFontStyles);
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupTextElement::ConvertTextDecorations(CQVTMarkupBuilder*,
                                                                          CQVTMarkupObject* pSource,
                                                                          CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kTextDecorations);
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupTextElement::ConvertFontQuality(CQVTMarkupBuilder*,
                                                                      CQVTMarkupObject* pSource,
                                                                      CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kFontQualities);
}

void AFX_CDECL CQVTMarkupTextElement::RegisterMarkupProperties()
{
    CQVTMarkupBrush::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupString::EnsureMarkupClass();
    CQVTMarkupFrameworkElement::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pBrushType = CQVTMarkupBrush::GetMarkupType();
    CQVTMarkupType* pEnumType = CQVTMarkupEnum::GetMarkupType();
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    auto attach = [pType](LPCWSTR lpszName, CQVTMarkupType* pValueType,
                          CQVTMarkupPropertyMetadata* pMetadata) {
        return CQVTMarkupDependencyProperty::RegisterAttached(lpszName, pValueType, pType, pMetadata);
    };
    const DWORD dwRender = QVT_MARKUP_INHERITS | QVT_MARKUP_AFFECTS_RENDER;
    const DWORD dwMeasure = QVT_MARKUP_INHERITS | QVT_MARKUP_AFFECTS_MEASURE;
    m_pBackgroundProperty =
        attach(u"Background", pBrushType, new CQVTMarkupPropertyMetadata(nullptr, dwRender));
    m_pForegroundProperty =
        attach(u"Foreground", pBrushType, new CQVTMarkupPropertyMetadata(nullptr, dwRender));
    m_pFontSizeProperty =
        attach(u"FontSize", pIntType,
               new CQVTMarkupPropertyMetadata(nullptr, &CQVTMarkupFrameworkElement::ConvertLength,
                                              dwMeasure | QVT_MARKUP_SCALE_Y));
    m_pFontWeightProperty = attach(u"FontWeight", pEnumType,
                                   new CQVTMarkupPropertyMetadata(nullptr, &ConvertFontWeight, dwMeasure));
    m_pFontFamilyProperty = attach(u"FontFamily", CQVTMarkupString::GetMarkupType(),
                                   new CQVTMarkupPropertyMetadata(nullptr, dwMeasure));
    m_pFontStyleProperty = attach(u"FontStyle", pEnumType,
                                  new CQVTMarkupPropertyMetadata(nullptr, &ConvertFontStyle, dwMeasure));
    m_pTextDecorationsProperty =
        attach(u"TextDecorations", pEnumType,
               new CQVTMarkupPropertyMetadata(nullptr, &ConvertTextDecorations, dwRender));
    m_pFontQualityProperty = attach(u"FontQuality", pEnumType,
                                    new CQVTMarkupPropertyMetadata(nullptr, &ConvertFontQuality, dwRender));
    m_pFontCharsetProperty =
        attach(u"FontCharset", pIntType, new CQVTMarkupPropertyMetadata(nullptr, dwRender));
}

CQVTMarkupBrush* CQVTMarkupTextElement::GetBackground()
{
    return MarkupCast<CQVTMarkupBrush>(GetValue(m_pBackgroundProperty));
}

CQVTMarkupBrush* CQVTMarkupTextElement::GetForeground()
{
    return MarkupCast<CQVTMarkupBrush>(GetValue(m_pForegroundProperty));
}

// Inline

void AFX_CDECL CQVTMarkupInline::RegisterMarkupProperties()
{
    CQVTMarkupEnum::EnsureMarkupClass();
    m_pBaselineAlignmentProperty = CQVTMarkupDependencyProperty::Register(
        u"BaselineAlignment", CQVTMarkupEnum::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertBaselineAlignment, QVT_MARKUP_AFFECTS_ARRANGE));
}

CQVTMarkupInline::CQVTMarkupInline() : m_nPosition(-1) {}

void CQVTMarkupInline::MeasureRange(CQVTMarkupDrawingContext*, QVT_TEXTPOS, QVT_TEXTPOS, float* pSize)
{
    pSize[0] = pSize[1] = 0.0f;
}

SIZE CQVTMarkupInline::GetRangeExtent(CQVTMarkupDrawingContext*, QVT_TEXTPOS, QVT_TEXTPOS)
{
    return SIZE{0, 0};
}

QVTMarkupBaselineAlignment CQVTMarkupInline::GetBaselineAlignment()
{
    return static_cast<QVTMarkupBaselineAlignment>(
        GetMarkupEnumValue(GetValue(m_pBaselineAlignmentProperty), qvtBaselineBaseline));
}

CQVTMarkupInline* AFX_CDECL CQVTMarkupInline::GetNextInline(CQVTMarkupInline* pInline)
{
    // Bounded by the depth of the tree, which the builder limits.
    for (CQVTMarkupInline* p = pInline; p != nullptr;)
    {
        CQVTMarkupInlineCollection* pCollection =
            MarkupCast<CQVTMarkupInlineCollection>(p->GetLogicalParent());
        if (pCollection == nullptr)
            return nullptr;
        const int nNext = p->GetIndexInCollection() + 1;
        if (nNext > 0 && nNext < pCollection->GetCount())
            return pCollection->GetAt(nNext)->GetFirstInline();
        p = MarkupCast<CQVTMarkupSpan>(pCollection->GetOwner());
    }
    return nullptr;
}

BEGIN_DISPATCH_MAP(CQVTMarkupTextElement, CQVTMarkupFrameworkContentElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "Tag", 400, GetTagProperty, SetTagProperty, VT_VARIANT)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "TextDecorations", 503, GetTextDecorationsProperty,
                        SetTextDecorationsProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "FontSize", 504, GetFontSizeProperty, SetFontSizeProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "FontWeight", 505, GetFontWeightProperty,
                        SetFontWeightProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "FontFamily", 506, GetFontFamilyProperty,
                        SetFontFamilyProperty, VT_BSTR)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "FontStyle", 507, GetFontStyleProperty, SetFontStyleProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "Background", 510, GetBackgroundProperty,
                        SetBackgroundProperty, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextElement, "Foreground", 511, GetForegroundProperty,
                        SetForegroundProperty, VT_DISPATCH)
END_DISPATCH_MAP()

VARIANT CQVTMarkupTextElement::GetTagProperty()
{
    return QVTMarkupAutomation::GetTag(this, CQVTMarkupFrameworkElement::m_pTagProperty);
}

void CQVTMarkupTextElement::SetTagProperty(const VARIANT& value)
{
    QVTMarkupAutomation::SetTag(this, CQVTMarkupFrameworkElement::m_pTagProperty, value);
}

long CQVTMarkupTextElement::GetTextDecorationsProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pTextDecorationsProperty, 0);
}

void CQVTMarkupTextElement::SetTextDecorationsProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pTextDecorationsProperty, nValue);
}

long CQVTMarkupTextElement::GetFontSizeProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pFontSizeProperty, 0);
}

void CQVTMarkupTextElement::SetFontSizeProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pFontSizeProperty, nValue);
}

long CQVTMarkupTextElement::GetFontWeightProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pFontWeightProperty, 400);
}

void CQVTMarkupTextElement::SetFontWeightProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pFontWeightProperty, nValue);
}

BSTR CQVTMarkupTextElement::GetFontFamilyProperty()
{
    CQVTMarkupString* pValue = MarkupCast<CQVTMarkupString>(GetValue(m_pFontFamilyProperty));
    return ::SysAllocString(pValue != nullptr ? pValue->GetText() : u"");
}

void CQVTMarkupTextElement::SetFontFamilyProperty(LPCWSTR lpszValue)
{
    SetValue(m_pFontFamilyProperty, CQVTMarkupString::CreateValue(lpszValue != nullptr ? lpszValue : u""));
}

long CQVTMarkupTextElement::GetFontStyleProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pFontStyleProperty, 0);
}

void CQVTMarkupTextElement::SetFontStyleProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pFontStyleProperty, nValue);
}

LPDISPATCH CQVTMarkupTextElement::GetBackgroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBackgroundProperty);
}

void CQVTMarkupTextElement::SetBackgroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBackgroundProperty, pDispatch);
}

LPDISPATCH CQVTMarkupTextElement::GetForegroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pForegroundProperty);
}

void CQVTMarkupTextElement::SetForegroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pForegroundProperty, pDispatch);
}

BEGIN_DISPATCH_MAP(CQVTMarkupInline, CQVTMarkupTextElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupInline, "BaselineAlignment", 600, GetBaselineAlignmentProperty,
                        SetBaselineAlignmentProperty, VT_I4)
END_DISPATCH_MAP()

long CQVTMarkupInline::GetBaselineAlignmentProperty()
{
    // Unset is Baseline.
    return QVTMarkupAutomation::GetInt(this, m_pBaselineAlignmentProperty, 3);
}

void CQVTMarkupInline::SetBaselineAlignmentProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pBaselineAlignmentProperty, nValue);
}
