#include "toolkit/markup/values/QVTMarkupThickness.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupThickness, CQVTMarkupObject, nullptr, nullptr)

BEGIN_DISPATCH_MAP(CQVTMarkupThickness, CQVTMarkupObject)
    DISP_PROPERTY_ID(CQVTMarkupThickness, "Left", 100, left, VT_I4)
    DISP_PROPERTY_ID(CQVTMarkupThickness, "Top", 101, top, VT_I4)
    DISP_PROPERTY_ID(CQVTMarkupThickness, "Right", 102, right, VT_I4)
    DISP_PROPERTY_ID(CQVTMarkupThickness, "Bottom", 103, bottom, VT_I4)
END_DISPATCH_MAP()

namespace {
bool IsSpace(WCHAR c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Reads up to four "<number><unit>" fields joined by a comma and optional
// spaces, as the pattern "%i<unit>, %i<unit>, ..." does; returns how many
// numbers were read. Numbers saturate far beyond 32 bits so units cannot
// overflow them.
int ScanFields(LPCWSTR p, LPCWSTR lpszUnit, __int64* pValues)
{
    int nRead = 0;
    for (int i = 0; i < 4; ++i)
    {
        if (i > 0)
        {
            if (*p != u',')
                break;
            ++p;
        }
        while (IsSpace(*p))
            ++p;
        bool bNegative = false;
        if (*p == u'+' || *p == u'-')
            bNegative = *p++ == u'-';
        if (*p < u'0' || *p > u'9')
            break;
        __int64 nValue = 0;
        for (; *p >= u'0' && *p <= u'9'; ++p)
        {
            if (nValue < (__int64(1) << 40))
                nValue = nValue * 10 + (*p - u'0');
        }
        pValues[nRead++] = bNegative ? -nValue : nValue;
        for (LPCWSTR u = lpszUnit; u != nullptr && *u != 0; ++u, ++p)
        {
            if ((*p | 0x20) != (*u | 0x20))
                return nRead;
        }
    }
    return nRead;
}
}  // namespace

BOOL CQVTMarkupThickness::IsEqual(CQVTMarkupObject* pObject)
{
    CQVTMarkupThickness* pOther = MarkupCast<CQVTMarkupThickness>(pObject);
    return pOther != nullptr && pOther->left == left && pOther->top == top && pOther->right == right &&
           pOther->bottom == bottom;
}

CQVTMarkupObject* CQVTMarkupThickness::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    LPCWSTR lpszText = pString->GetText();
    LPCWSTR lpszUnit = CQVTMarkupBuilder::GetLengthUnit(lpszText);
    int sides[4] = {};
    if (_tcschr(lpszText, u',') != nullptr)
    {
        __int64 values[4] = {};
        if (ScanFields(lpszText, lpszUnit, values) < 4)
            return nullptr;
        for (int i = 0; i < 4; ++i)
            sides[i] = CQVTMarkupBuilder::ApplyLengthUnit(values[i], lpszUnit);
    }
    else
    {
        const int nValue =
            CQVTMarkupBuilder::ApplyLengthUnit(CQVTMarkupBuilder::ReadWholeNumber(lpszText), lpszUnit);
        sides[0] = sides[1] = sides[2] = sides[3] = nValue;
    }
    CQVTMarkupContext* pContext = GetConversionContext(pBuilder);
    const DWORD dwFlags = GetAssociatedProperty() != nullptr ? GetAssociatedProperty()->GetFlags() : 0;
    if (pContext != nullptr && (dwFlags & QVT_MARKUP_SCALE_X))
    {
        sides[0] = pContext->ScaleX(sides[0]);
        sides[2] = pContext->ScaleX(sides[2]);
    }
    if (pContext != nullptr && (dwFlags & QVT_MARKUP_SCALE_Y))
    {
        sides[1] = pContext->ScaleY(sides[1]);
        sides[3] = pContext->ScaleY(sides[3]);
    }
    return new CQVTMarkupThickness(sides[0], sides[1], sides[2], sides[3]);
}

RECT AFX_CDECL CQVTMarkupThickness::Deflate(const RECT& rc, const CQVTMarkupThickness* pThickness)
{
    if (pThickness == nullptr)
        return rc;
    const __int64 nWidth = __int64(rc.right) - rc.left, nHeight = __int64(rc.bottom) - rc.top;
    const __int64 nLeft = __int64(rc.left) + pThickness->left, nTop = __int64(rc.top) + pThickness->top;
    const __int64 nInnerWidth = std::max<__int64>(0, nWidth - pThickness->left - pThickness->right);
    const __int64 nInnerHeight = std::max<__int64>(0, nHeight - pThickness->top - pThickness->bottom);
    auto clamp = [](__int64 v) { return static_cast<LONG>(std::clamp<__int64>(v, INT_MIN, INT_MAX)); };
    RECT result = {clamp(nLeft), clamp(nTop), clamp(nLeft + nInnerWidth), clamp(nTop + nInnerHeight)};
    return result;
}
