#include "toolkit/markup/values/QVTMarkupKeywords.h"

#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

CQVTMarkupObject* AFXAPI ConvertMarkupKeyword(CQVTMarkupObject* pSource, const QVTMARKUPKEYWORD* pKeywords,
                                              int nCount)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    for (int i = 0; i < nCount; ++i)
    {
        if (pString->IsEqualNoCase(pKeywords[i].lpszName))
            return new CQVTMarkupEnum(pKeywords[i].nValue);
    }
    return nullptr;
}

int AFXAPI GetMarkupEnumValue(CQVTMarkupObject* pValue, int nDefault)
{
    if (CQVTMarkupEnum* pEnum = MarkupCast<CQVTMarkupEnum>(pValue))
        return pEnum->GetValue();
    if (CQVTMarkupInt* pInt = MarkupCast<CQVTMarkupInt>(pValue))
        return pInt->GetValue();
    return nDefault;
}
