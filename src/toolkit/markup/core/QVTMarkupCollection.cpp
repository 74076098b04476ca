#include "toolkit/markup/core/QVTMarkupCollection.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupElementEnumerator.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupCollection, CQVTMarkupObject, nullptr, nullptr)

CQVTMarkupCollection::CQVTMarkupCollection(CQVTMarkupType* pElementType, BOOL bParent)
    : m_bParent(bParent),
      m_pElementType(pElementType != nullptr ? pElementType : CQVTMarkupObject::GetMarkupType())
{
}

CQVTMarkupCollection::~CQVTMarkupCollection()
{
    RemoveAll();
}

CQVTMarkupObject* CQVTMarkupCollection::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        AfxThrowInvalidArgException();
    return m_arrItems[nIndex];
}

void CQVTMarkupCollection::Insert(int nIndex, CQVTMarkupObject* pItem)
{
    if (pItem == nullptr || !pItem->IsKindOf(m_pElementType))
        return;
    if (m_bParent)
        pItem->SetLogicalParent(this);
    if (nIndex < 0 || nIndex > GetCount())
        nIndex = GetCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    OnItemAdded(pItem, nIndex);
    OnChanged();
}

void CQVTMarkupCollection::RemoveAt(int nIndex)
{
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex >= GetCount())
        return;
    CQVTMarkupObject* pItem = m_arrItems[nIndex];
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    if (m_bParent)
        pItem->SetLogicalParent(nullptr);
    pItem->InternalRelease();
    OnChanged();
}

void CQVTMarkupCollection::RemoveAll()
{
    CItemArray items;
    items.swap(m_arrItems);
    for (CQVTMarkupObject* pItem : items)
    {
        if (m_bParent)
            pItem->SetLogicalParent(nullptr);
        pItem->InternalRelease();
    }
    OnChanged();
}

int CQVTMarkupCollection::IndexOf(CQVTMarkupObject* pItem) const
{
    for (size_t i = 0; i < m_arrItems.size(); ++i)
    {
        if (m_arrItems[i] == pItem)
            return static_cast<int>(i);
    }
    return -1;
}

void CQVTMarkupCollection::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    if (pContent != nullptr && pContent->IsKindOf(m_pElementType))
    {
        pContent->InternalAddRef();
        Add(pContent);
        return;
    }
    CQVTMarkupBuilder::ThrowCannotAddContent(pContent, this, m_pElementType->GetClassName());
}

// Automation

long CQVTMarkupCollection::CountMethod()
{
    return GetCount();
}

LPDISPATCH CQVTMarkupCollection::ItemMethod(long nIndex)
{
    return QVTMarkupAutomation::DispatchOf(nIndex >= 0 && nIndex < GetCount() ? m_arrItems[nIndex] : nullptr);
}

LPUNKNOWN CQVTMarkupCollection::NewEnumMethod()
{
    return new CQVTMarkupElementEnumerator(this, 0);
}

void CQVTMarkupCollection::AddMethod(LPDISPATCH pDispatch)
{
    InsertMethod(-1, pDispatch);
}

void CQVTMarkupCollection::InsertMethod(long nIndex, LPDISPATCH pDispatch)
{
    if (pDispatch == nullptr)
        AfxThrowOleException(E_INVALIDARG);
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pDispatch, TRUE);
    const int nCount = GetCount();
    Insert(static_cast<int>(nIndex), pObject);
    // Refused: the reference stays with us.
    if (GetCount() == nCount)
        pObject->InternalRelease();
}

void CQVTMarkupCollection::ClearMethod()
{
    RemoveAll();
}

void CQVTMarkupCollection::RemoveAtMethod(long nIndex)
{
    RemoveAt(static_cast<int>(nIndex));
}
