// The values set on one markup object: one counted slot per property index,
// sized to the properties registered when the store was made.
#pragma once

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"

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

    int GetCapacity() const { return static_cast<int>(m_arrValues.size()); }
    CQVTMarkupObject* GetAt(int nIndex) const { return m_arrValues[nIndex]; }

private:
    BOOL IsInRange(CQVTMarkupDependencyProperty* pProperty) const;

    std::vector<CQVTMarkupObject*> m_arrValues;  // counted
    CQVTMarkupObject* m_pOwner;                  // not counted
};
