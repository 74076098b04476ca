#include "toolkit/markup/values/QVTMarkupValues.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupInt, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupDouble, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupBool, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupEnum, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupColor, CQVTMarkupObject, u"Color", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupColorKey, CQVTMarkupObject, nullptr, nullptr)

BOOL CQVTMarkupInt::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->GetType() == GetType() &&
           static_cast<CQVTMarkupInt*>(pObject)->m_nValue == m_nValue;
}

CQVTMarkupObject* CQVTMarkupInt::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    int nValue = CQVTMarkupBuilder::ReadWholeNumber(pString->GetText());
    CQVTMarkupContext* pContext = GetConversionContext(pBuilder);
    const DWORD dwFlags = GetAssociatedProperty() != nullptr ? GetAssociatedProperty()->GetFlags() : 0;
    if (pContext != nullptr)
    {
        if (dwFlags & QVT_MARKUP_SCALE_X)
            nValue = pContext->ScaleX(nValue);
        else if (dwFlags & QVT_MARKUP_SCALE_Y)
            nValue = pContext->ScaleY(nValue);
    }
    return new CQVTMarkupInt(nValue);
}

BOOL CQVTMarkupDouble::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->GetType() == GetType() &&
           static_cast<CQVTMarkupDouble*>(pObject)->m_dValue == m_dValue;
}

CQVTMarkupObject* CQVTMarkupDouble::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    double dValue = 0.0;
    if (pString == nullptr || !CQVTMarkupBuilder::ReadNumber(pString->GetText(), dValue))
        return nullptr;
    CQVTMarkupContext* pContext = GetConversionContext(pBuilder);
    const DWORD dwFlags = GetAssociatedProperty() != nullptr ? GetAssociatedProperty()->GetFlags() : 0;
    if (pContext != nullptr)
    {
        if (dwFlags & QVT_MARKUP_SCALE_X)
            dValue = pContext->ScaleXDouble(dValue);
        else if (dwFlags & QVT_MARKUP_SCALE_Y)
            dValue = pContext->ScaleYDouble(dValue);
    }
    return new CQVTMarkupDouble(dValue);
}

BOOL CQVTMarkupBool::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->GetType() == GetType() &&
           static_cast<CQVTMarkupBool*>(pObject)->m_bValue == m_bValue;
}

CQVTMarkupObject* CQVTMarkupBool::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::True))
        return CreateTrue();
    if (pString->IsEqualNoCase(&QVTMarkupKeyword::False))
        return CreateFalse();
    return nullptr;
}

BOOL CQVTMarkupEnum::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->GetType() == GetType() &&
           static_cast<CQVTMarkupEnum*>(pObject)->m_nValue == m_nValue;
}

BOOL CQVTMarkupColor::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->GetType() == GetType() &&
           static_cast<CQVTMarkupColor*>(pObject)->m_dwValue == m_dwValue;
}

namespace {
int HexDigit(WCHAR c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads nFields bytes of two hex digits each.
BOOL ReadHexBytes(LPCWSTR p, int nFields, DWORD* pFields)
{
    for (int i = 0; i < nFields; ++i)
    {
        const int hi = HexDigit(p[2 * i]), lo = HexDigit(p[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return FALSE;
        pFields[i] = static_cast<DWORD>(hi * 16 + lo);
    }
    return TRUE;
}
}  // namespace

BOOL AFX_CDECL CQVTMarkupColor::ParseColor(LPCWSTR lpszText, DWORD& dwValue)
{
    if (lpszText == nullptr)
        return FALSE;
    if (lpszText[0] != u'#')
        return LookupColorName(lpszText, dwValue);
    const size_t nLength = _tcslen(lpszText);
    DWORD fields[4] = {};
    if (nLength == 7 && ReadHexBytes(lpszText + 1, 3, fields))
    {
        dwValue = 0xFF000000 | (fields[2] << 16) | (fields[1] << 8) | fields[0];
        return TRUE;
    }
    if (nLength == 9 && ReadHexBytes(lpszText + 1, 4, fields))
    {
        dwValue = (fields[0] << 24) | (fields[3] << 16) | (fields[2] << 8) | fields[1];
        return TRUE;
    }
    return FALSE;
}

CQVTMarkupObject* CQVTMarkupColor::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    DWORD dwValue = 0;
    if (pString == nullptr || !ParseColor(pString->GetText(), dwValue))
        return nullptr;
    CQVTMarkupColor* pColor = new CQVTMarkupColor();
    pColor->m_dwValue = dwValue;
    return pColor;
}

void CQVTMarkupColor::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent);
    DWORD dwValue = 0;
    if (pString != nullptr && ParseColor(pString->GetText(), dwValue))
    {
        m_dwValue = dwValue;
        return;
    }
    CQVTMarkupObject::SetContentObject(pBuilder, pContent);
}
