// The typed list every markup collection derives from: items of one markup
// type, each counted, optionally with the collection as their logical parent.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupCollection : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupCollection)

public:
    explicit CQVTMarkupCollection(CQVTMarkupType* pElementType = nullptr, BOOL bParent = TRUE);
    ~CQVTMarkupCollection() override;

    int GetCount() const { return static_cast<int>(m_arrItems.size()); }
    // Raises the invalid-argument exception for an index outside the items.
    CQVTMarkupObject* GetItem(int nIndex) const;
    // Takes the caller's reference; ignored (the reference stays with the
    // caller) for a null item or one of another type. Out-of-range indexes append.
    void Insert(int nIndex, CQVTMarkupObject* pItem);
    void Add(CQVTMarkupObject* pItem) { Insert(-1, pItem); }
    // Indexes at or past the end are ignored; a negative one raises the
    // invalid-argument exception.
    void RemoveAt(int nIndex);
    void RemoveAll();
    int IndexOf(CQVTMarkupObject* pItem) const;

    CQVTMarkupType* GetElementType() const { return m_pElementType; }

    int GetLogicalChildrenCount() override { return GetCount(); }
    CQVTMarkupObject* GetLogicalChild(int nIndex) override { return GetItem(nIndex); }
    BOOL HasContentObject() override { return GetCount() > 0; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

protected:
    // Derived collections invalidate their owners.
    virtual void OnItemAdded(CQVTMarkupObject* pItem, int nIndex) {}
    virtual void OnChanged() {}

    void SetElementType(CQVTMarkupType* pElementType) { m_pElementType = pElementType; }

    std::vector<CQVTMarkupObject*> m_arrItems;  // counted
    CQVTMarkupType* m_pElementType;
    BOOL m_bParent;  // items get the collection as logical parent
};

// A collection typed for one item class.
template <class T>
class CQVTMarkupTypedCollection : public CQVTMarkupCollection
{
public:
    explicit CQVTMarkupTypedCollection(BOOL bParent = TRUE)
        : CQVTMarkupCollection(T::GetMarkupType(), bParent)
    {
    }
    // Null for an index outside the items.
    T* GetAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? static_cast<T*>(m_arrItems[nIndex]) : nullptr;
    }
};
