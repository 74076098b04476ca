// The values set on one markup object: one counted slot per property index,
// sized to the properties registered when the store was made. Only the slots
// that hold a value take room: an object sets a handful of the hundreds of
// properties registered.
#pragma once

#include <utility>
#include <vector>

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/core/QVTMarkupObjectHeap.h"

class CQVTMarkupProperties : public CQVTMarkupObject
{
public:
    // pOwner becomes the logical parent of stored values (may be null).
    explicit CQVTMarkupProperties(CQVTMarkupObject* pOwner);
    ~CQVTMarkupProperties() override;

    CQVTMarkupObject* Get(CQVTMarkupDependencyProperty* pProperty) const;
    void Clear(CQVTMarkupDependencyProperty* pProperty);
    // Takes the reference of pValue, also when it cannot be stored.
    void Set(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue);
    // Adds every value of pOther into the same slot here.
    void CopyFrom(const CQVTMarkupProperties* pOther);

    int GetCapacity() const { return m_nCapacity; }

    // Stores of resources or a style, and styles put in force, on this
    // thread so far: a build that made none has no implicit styles to apply.
    static UINT AFX_CDECL GetScopeChangeCount();
    static void AFX_CDECL NoteScopeChange();
    CQVTMarkupObject* GetAt(int nIndex) const;

private:
    using CSlot = std::pair<int, CQVTMarkupObject*>;
    using CSlotArray = std::vector<CSlot, QVTMarkupObjectHeap::CAllocator<CSlot>>;

    BOOL IsInRange(CQVTMarkupDependencyProperty* pProperty) const;
    // The first slot at or after nIndex.
    CSlotArray::iterator LowerBound(int nIndex);
    CSlotArray::const_iterator LowerBound(int nIndex) const;

    int m_nCapacity;             // the property count when the store was made; first, in the base's padding
    CSlotArray m_arrSlots;       // by index, values counted, never null
    CQVTMarkupObject* m_pOwner;  // not counted
};
