#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"

#include "toolkit/markup/elements/QVTMarkupInputElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupResourceDictionary, CQVTMarkupObject, u"ResourceDictionary", nullptr)

CQVTMarkupResourceDictionary::~CQVTMarkupResourceDictionary()
{
    for (auto& bucket : m_buckets)
    {
        for (CEntry& entry : bucket.second)
        {
            entry.pKey->InternalRelease();
            entry.pValue->InternalRelease();
        }
    }
}

void CQVTMarkupResourceDictionary::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    if (pContent == nullptr)
        return;
    CQVTMarkupObject* pKey = pContent->GetValue(m_pKeyProperty);
    if (pKey == nullptr)
    {
        if (CQVTMarkupStyle* pStyle = MarkupCast<CQVTMarkupStyle>(pContent))
            pKey = pStyle->GetTargetType();
    }
    if (pKey == nullptr)
        CQVTMarkupBuilder::ThrowBuilderError(
            u"Objects added to Dictionary must have Key attribute or some other type of associated Key");
    if (!Add(pKey, pContent))
        CQVTMarkupBuilder::ThrowBuilderError(
            u"Dictionary key is already used. Key attributes must be unique.");
}

BOOL CQVTMarkupResourceDictionary::Add(CQVTMarkupObject* pKey, CQVTMarkupObject* pValue)
{
    if (pKey == nullptr || pValue == nullptr || Lookup(pKey) != nullptr)
        return FALSE;
    pKey->InternalAddRef();
    pValue->InternalAddRef();
    m_buckets[pKey->GetHashCode()].push_back(CEntry{pKey, pValue});
    ++m_nCount;
    return TRUE;
}

CQVTMarkupObject* CQVTMarkupResourceDictionary::Lookup(CQVTMarkupObject* pKey) const
{
    if (pKey == nullptr)
        return nullptr;
    auto it = m_buckets.find(pKey->GetHashCode());
    if (it == m_buckets.end())
        return nullptr;
    for (const CEntry& entry : it->second)
    {
        if (entry.pKey == pKey || entry.pKey->IsEqual(pKey))
            return entry.pValue;
    }
    return nullptr;
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupResourceDictionary::FindResource(CQVTMarkupObject* pStart,
                                                                       CQVTMarkupObject* pKey)
{
    if (pStart == nullptr || pKey == nullptr)
        return nullptr;
    if (CQVTMarkupResourceDictionary* pDictionary = MarkupCast<CQVTMarkupResourceDictionary>(pStart))
        return pDictionary->Lookup(pKey);
    for (CQVTMarkupObject* pObject = pStart; pObject != nullptr; pObject = pObject->GetLogicalParent())
    {
        CQVTMarkupResourceDictionary* pResources = MarkupCast<CQVTMarkupResourceDictionary>(
            pObject->GetValue(CQVTMarkupStyle::m_pResourcesProperty));
        if (pResources != nullptr)
        {
            if (CQVTMarkupObject* pValue = pResources->Lookup(pKey))
                return pValue;
        }
        CQVTMarkupStyle* pStyle =
            MarkupCast<CQVTMarkupStyle>(pObject->GetValue(CQVTMarkupInputElement::m_pStyleProperty));
        if (pStyle != nullptr && pStyle != pObject)
        {
            if (CQVTMarkupObject* pValue = FindResource(pStyle, pKey))
                return pValue;
        }
        if (MarkupCast<CQVTMarkupStyle>(pObject) != nullptr)
            break;
    }
    return nullptr;
}
