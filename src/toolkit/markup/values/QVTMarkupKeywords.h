// Enumeration properties written as keywords: a table of names and values,
// compared without regard to case, turned into enumeration values.
#pragma once

#include <afx.h>

class CQVTMarkupObject;

struct QVTMARKUPKEYWORD
{
    LPCWSTR lpszName;
    int nValue;
};

// A new enumeration value for a string naming one of the keywords; no value
// for anything else (the builder reports the attribute).
CQVTMarkupObject* AFXAPI ConvertMarkupKeyword(CQVTMarkupObject* pSource, const QVTMARKUPKEYWORD* pKeywords,
                                              int nCount);

template <int N>
CQVTMarkupObject* ConvertMarkupKeyword(CQVTMarkupObject* pSource, const QVTMARKUPKEYWORD (&keywords)[N])
{
    return ConvertMarkupKeyword(pSource, keywords, N);
}

// The value of an enumeration or whole-number value, or nDefault for none.
int AFXAPI GetMarkupEnumValue(CQVTMarkupObject* pValue, int nDefault);
