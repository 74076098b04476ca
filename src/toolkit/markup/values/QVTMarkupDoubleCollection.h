// A list of numbers (dash patterns), written "1,2 3" in markup and reachable
// by automation.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupDoubleCollection : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupDoubleCollection)

public:
    CQVTMarkupDoubleCollection() = default;
    CQVTMarkupDoubleCollection(const float* pValues, int nCount);

    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    // The number list of markup; FALSE for a malformed text.
    static BOOL AFX_CDECL ParseList(LPCWSTR lpszText, std::vector<float>& values);

    int GetCount() const { return static_cast<int>(m_arrValues.size()); }
    const std::vector<float>& GetValues() const { return m_arrValues; }

    // Automation. Item and RemoveAt raise the invalid-argument exception for
    // an index outside the list; the dispatch layer answers it as an error.
    long GetCountProperty();
    double Item(long nIndex);
    void Add(double dValue);
    void Clear();
    void RemoveAt(long nIndex);

protected:
    DECLARE_DISPATCH_MAP()

private:
    std::vector<float> m_arrValues;
};
