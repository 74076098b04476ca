// The typed list every markup collection derives from: items of one markup
// type, each counted, optionally with the collection as their logical parent.
#pragma once

#include <vector>

#include "toolkit/markup/core/QVTMarkupObjectHeap.h"
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

    // The members collections show scripts: each collection class lists
    // them in its dispatch table with QVT_MARKUP_COLLECTION_DISPATCH.
    long CountMethod();
    // None for an index outside the items.
    LPDISPATCH ItemMethod(long nIndex);
    LPUNKNOWN NewEnumMethod();
    // None given fails with E_INVALIDARG; an item of another type is refused
    // by the collection's type check.
    void AddMethod(LPDISPATCH pDispatch);
    void InsertMethod(long nIndex, LPDISPATCH pDispatch);
    void ClearMethod();
    void RemoveAtMethod(long nIndex);

    using CItemArray = std::vector<CQVTMarkupObject*, QVTMarkupObjectHeap::CAllocator<CQVTMarkupObject*>>;
    BOOL m_bParent;         // items get the collection as logical parent; first, in the base's padding
    CItemArray m_arrItems;  // counted
    CQVTMarkupType* m_pElementType;
};

// The collection members of a dispatch table, with their fixed ids.
#define QVT_MARKUP_COLLECTION_DISPATCH(theClass)                                                             \
    DISP_FUNCTION_ID(theClass, "Count", 1, CountMethod, VT_I4, VTS_NONE)                                     \
    DISP_FUNCTION_ID(theClass, "Item", 0, ItemMethod, VT_DISPATCH, VTS_I4)                                   \
    DISP_FUNCTION_ID(theClass, "_NewEnum", DISPID_NEWENUM, NewEnumMethod, VT_UNKNOWN, VTS_NONE)              \
    DISP_FUNCTION_ID(theClass, "Add", 2, AddMethod, VT_EMPTY, VTS_DISPATCH)                                  \
    DISP_FUNCTION_ID(theClass, "Insert", 3, InsertMethod, VT_EMPTY, VTS_I4 VTS_DISPATCH)                     \
    DISP_FUNCTION_ID(theClass, "Clear", 4, ClearMethod, VT_EMPTY, VTS_NONE)                                  \
    DISP_FUNCTION_ID(theClass, "RemoveAt", 5, RemoveAtMethod, VT_EMPTY, VTS_I4)

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
