#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"

#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupDoubleCollection, CQVTMarkupObject, u"DoubleCollection", nullptr)

BEGIN_DISPATCH_MAP(CQVTMarkupDoubleCollection, CQVTMarkupObject)
    DISP_PROPERTY_EX_ID(CQVTMarkupDoubleCollection, "Count", 1, GetCountProperty, SetNotSupported, VT_I4)
    DISP_FUNCTION_ID(CQVTMarkupDoubleCollection, "Item", 0, Item, VT_R8, VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupDoubleCollection, "Add", 2, Add, VT_EMPTY, VTS_R8)
    DISP_FUNCTION_ID(CQVTMarkupDoubleCollection, "Clear", 4, Clear, VT_EMPTY, VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupDoubleCollection, "RemoveAt", 5, RemoveAt, VT_EMPTY, VTS_I4)
END_DISPATCH_MAP()

CQVTMarkupDoubleCollection::CQVTMarkupDoubleCollection(const float* pValues, int nCount)
{
    if (pValues != nullptr && nCount > 0)
        m_arrValues.assign(pValues, pValues + nCount);
}

namespace {
// One number of the list: spaces, an optional '-', digits with at most one
// '.'; it ends at a space, a comma or the end, and one comma is consumed.
BOOL ReadListNumber(LPCWSTR& p, float& fValue)
{
    while (*p == u' ')
        ++p;
    bool bNegative = false;
    if (*p == u'-')
    {
        bNegative = true;
        ++p;
    }
    if (*p == 0)
        return FALSE;
    double dValue = 0.0, dScale = 0.0;
    bool bAny = false;
    for (; *p != 0 && *p != u' ' && *p != u','; ++p)
    {
        if (*p == u'.')
        {
            if (dScale != 0.0)
                return FALSE;
            dScale = 0.1;
        }
        else if (*p >= u'0' && *p <= u'9')
        {
            bAny = true;
            if (dScale == 0.0)
                dValue = dValue * 10 + (*p - u'0');
            else
            {
                dValue += (*p - u'0') * dScale;
                dScale /= 10;
            }
        }
        else
        {
            return FALSE;
        }
    }
    if (!bAny)
        return FALSE;
    if (*p == u',')
        ++p;
    fValue = static_cast<float>(bNegative ? -dValue : dValue);
    return TRUE;
}
}  // namespace

BOOL AFX_CDECL CQVTMarkupDoubleCollection::ParseList(LPCWSTR lpszText, std::vector<float>& values)
{
    values.clear();
    if (lpszText == nullptr)
        return FALSE;
    LPCWSTR p = lpszText;
    while (*p != 0)
    {
        float fValue = 0;
        if (!ReadListNumber(p, fValue))
            return FALSE;
        while (*p == u' ')
            ++p;
        values.push_back(fValue);
    }
    return TRUE;
}

CQVTMarkupObject* CQVTMarkupDoubleCollection::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    std::vector<float> values;
    if (pString == nullptr || !ParseList(pString->GetText(), values))
        return nullptr;
    return new CQVTMarkupDoubleCollection(values.data(), static_cast<int>(values.size()));
}

long CQVTMarkupDoubleCollection::GetCountProperty()
{
    return GetCount();
}

double CQVTMarkupDoubleCollection::Item(long nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        AfxThrowInvalidArgException();
    return m_arrValues[nIndex];
}

void CQVTMarkupDoubleCollection::Add(double dValue)
{
    m_arrValues.push_back(static_cast<float>(dValue));
}

void CQVTMarkupDoubleCollection::Clear()
{
    m_arrValues.clear();
}

void CQVTMarkupDoubleCollection::RemoveAt(long nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        AfxThrowInvalidArgException();
    m_arrValues.erase(m_arrValues.begin() + nIndex);
}
