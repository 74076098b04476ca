// The text block's automation table, apart from its layout: what scripts
// read and write of a text block's text, fonts, brushes and wrapping.
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"

using namespace QVTMarkupAutomation;

BEGIN_DISPATCH_MAP(CQVTMarkupTextBlock, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "TextWrapping", 500, GetTextWrappingProperty,
                        SetTextWrappingProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "TextTrimming", 501, GetTextTrimmingProperty,
                        SetTextTrimmingProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "TextAlignment", 502, GetTextAlignmentProperty,
                        SetTextAlignmentProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "TextDecorations", 503, GetTextDecorationsProperty,
                        SetTextDecorationsProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "FontSize", 504, GetFontSizeProperty, SetFontSizeProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "FontWeight", 505, GetFontWeightProperty, SetFontWeightProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "FontFamily", 506, GetFontFamilyProperty, SetFontFamilyProperty,
                        VT_BSTR)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "FontStyle", 507, GetFontStyleProperty, SetFontStyleProperty,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "Padding", 508, GetPaddingProperty, SetPaddingProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "FontQuality", 509, GetFontQualityProperty,
                        SetFontQualityProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "Background", 510, GetBackgroundProperty, SetBackgroundProperty,
                        VT_VARIANT)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "Foreground", 511, GetForegroundProperty, SetForegroundProperty,
                        VT_VARIANT)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "Text", 512, GetTextProperty, SetTextProperty, VT_VARIANT)
    DISP_PROPERTY_EX_ID(CQVTMarkupTextBlock, "Inlines", 513, GetInlinesProperty, SetNotSupported, VT_DISPATCH)
END_DISPATCH_MAP()

long CQVTMarkupTextBlock::GetTextWrappingProperty()
{
    return GetInt(this, m_pTextWrappingProperty, 0);
}

void CQVTMarkupTextBlock::SetTextWrappingProperty(long nValue)
{
    // Any wrapping is word wrapping.
    SetEnum(this, m_pTextWrappingProperty, nValue != 0 ? 2 : 0);
}

long CQVTMarkupTextBlock::GetTextTrimmingProperty()
{
    return GetInt(this, m_pTextTrimmingProperty, 0);
}

void CQVTMarkupTextBlock::SetTextTrimmingProperty(long nValue)
{
    SetEnum(this, m_pTextTrimmingProperty, nValue);
}

long CQVTMarkupTextBlock::GetTextAlignmentProperty()
{
    return GetInt(this, m_pTextAlignmentProperty, 0);
}

void CQVTMarkupTextBlock::SetTextAlignmentProperty(long nValue)
{
    SetEnum(this, m_pTextAlignmentProperty, nValue);
}

long CQVTMarkupTextBlock::GetTextDecorationsProperty()
{
    return GetInt(this, CQVTMarkupTextElement::m_pTextDecorationsProperty, 0);
}

void CQVTMarkupTextBlock::SetTextDecorationsProperty(long nValue)
{
    SetEnum(this, CQVTMarkupTextElement::m_pTextDecorationsProperty, nValue);
}

long CQVTMarkupTextBlock::GetFontSizeProperty()
{
    return GetInt(this, CQVTMarkupTextElement::m_pFontSizeProperty, 0);
}

void CQVTMarkupTextBlock::SetFontSizeProperty(long nValue)
{
    SetInt(this, CQVTMarkupTextElement::m_pFontSizeProperty, nValue);
}

long CQVTMarkupTextBlock::GetFontWeightProperty()
{
    return GetInt(this, CQVTMarkupTextElement::m_pFontWeightProperty, 0);
}

void CQVTMarkupTextBlock::SetFontWeightProperty(long nValue)
{
    SetEnum(this, CQVTMarkupTextElement::m_pFontWeightProperty, nValue);
}

BSTR CQVTMarkupTextBlock::GetFontFamilyProperty()
{
    CQVTMarkupString* pValue =
        MarkupCast<CQVTMarkupString>(GetValue(CQVTMarkupTextElement::m_pFontFamilyProperty));
    return ::SysAllocString(pValue != nullptr ? pValue->GetText() : u"");
}

void CQVTMarkupTextBlock::SetFontFamilyProperty(LPCWSTR lpszValue)
{
    SetValue(CQVTMarkupTextElement::m_pFontFamilyProperty,
             CQVTMarkupString::CreateValue(lpszValue != nullptr ? lpszValue : u""));
}

long CQVTMarkupTextBlock::GetFontStyleProperty()
{
    return GetInt(this, CQVTMarkupTextElement::m_pFontStyleProperty, 0);
}

void CQVTMarkupTextBlock::SetFontStyleProperty(long nValue)
{
    SetEnum(this, CQVTMarkupTextElement::m_pFontStyleProperty, nValue);
}

LPDISPATCH CQVTMarkupTextBlock::GetPaddingProperty()
{
    return GetObjectValue(this, m_pPaddingProperty);
}

void CQVTMarkupTextBlock::SetPaddingProperty(LPDISPATCH pDispatch)
{
    SetObjectValue(this, m_pPaddingProperty, pDispatch);
}

long CQVTMarkupTextBlock::GetFontQualityProperty()
{
    return GetInt(this, CQVTMarkupTextElement::m_pFontQualityProperty, 0);
}

void CQVTMarkupTextBlock::SetFontQualityProperty(long nValue)
{
    SetEnum(this, CQVTMarkupTextElement::m_pFontQualityProperty, nValue);
}

LPDISPATCH CQVTMarkupTextBlock::GetBackgroundProperty()
{
    return GetObjectValue(this, CQVTMarkupTextElement::m_pBackgroundProperty);
}

void CQVTMarkupTextBlock::SetBackgroundProperty(const VARIANT& value)
{
    SetBrushProperty(CQVTMarkupTextElement::m_pBackgroundProperty, value);
}

LPDISPATCH CQVTMarkupTextBlock::GetForegroundProperty()
{
    return GetObjectValue(this, CQVTMarkupTextElement::m_pForegroundProperty);
}

void CQVTMarkupTextBlock::SetForegroundProperty(const VARIANT& value)
{
    SetBrushProperty(CQVTMarkupTextElement::m_pForegroundProperty, value);
}

void CQVTMarkupTextBlock::SetBrushProperty(CQVTMarkupDependencyProperty* pProperty, const VARIANT& value)
{
    if (V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_EMPTY || V_VT(&value) == VT_NULL)
    {
        SetObjectValue(this, pProperty, V_VT(&value) == VT_DISPATCH ? V_DISPATCH(&value) : nullptr);
        return;
    }
    VARIANT text;
    ::VariantInit(&text);
    if (FAILED(::VariantChangeType(&text, &value, 0, VT_BSTR)))
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    CQVTMarkupAutoPtr source(CQVTMarkupString::CreateValue(V_BSTR(&text)));
    ::VariantClear(&text);
    CQVTMarkupAutoPtr prototype(new CQVTMarkupBrush());
    CQVTMarkupObject* pBrush = prototype->ConvertFrom(nullptr, source);
    if (pBrush == nullptr)
        AfxThrowOleException(E_INVALIDARG);
    SetValue(pProperty, pBrush);
}

BSTR CQVTMarkupTextBlock::GetTextProperty()
{
    CQVTMarkupInlineCollection* pInlines = GetInlines();
    CQVTMarkupRun* pRun = pInlines != nullptr && pInlines->GetCount() == 1
                              ? MarkupCast<CQVTMarkupRun>(pInlines->GetItem(0))
                              : nullptr;
    LPCWSTR lpszText = pRun != nullptr ? pRun->GetText() : nullptr;
    return ::SysAllocString(lpszText != nullptr ? lpszText : u"");
}

void CQVTMarkupTextBlock::SetTextProperty(const VARIANT& value)
{
    VARIANT text;
    ::VariantInit(&text);
    if (FAILED(::VariantChangeType(&text, &value, 0, VT_BSTR)))
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    SetValue(m_pTextProperty, CQVTMarkupString::CreateValue(V_BSTR(&text) != nullptr ? V_BSTR(&text) : u""));
    ::VariantClear(&text);
}

LPDISPATCH CQVTMarkupTextBlock::GetInlinesProperty()
{
    return DispatchOf(GetInlines());
}
