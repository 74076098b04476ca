// The keyed store behind every Resources property, and the resource search
// from an element up through its ancestors and their styles.
#pragma once

#include <unordered_map>

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupResourceDictionary : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupResourceDictionary)

public:
    ~CQVTMarkupResourceDictionary() override;

    // A child element of the dictionary in markup: stored under its Key, or a
    // style under its TargetType.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    BOOL HasContentObject() override { return GetCount() > 0; }

    // Adds a reference to both; FALSE when the key is already used.
    BOOL Add(CQVTMarkupObject* pKey, CQVTMarkupObject* pValue);
    // The value stored under an equal key (GetHashCode and IsEqual), borrowed.
    CQVTMarkupObject* Lookup(CQVTMarkupObject* pKey) const;
    int GetCount() const { return m_nCount; }

    // The first value found from pStart up: its own resources, its style's,
    // then each logical parent's; a style never climbs past itself.
    static CQVTMarkupObject* AFX_CDECL FindResource(CQVTMarkupObject* pStart, CQVTMarkupObject* pKey);

private:
    struct CEntry
    {
        CQVTMarkupObject* pKey;    // counted
        CQVTMarkupObject* pValue;  // counted
    };
    std::unordered_map<UINT, std::vector<CEntry>> m_buckets;
    int m_nCount = 0;
};
