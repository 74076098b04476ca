#include "toolkit/markup/core/QVTMarkupProperties.h"

#include <algorithm>

#include "toolkit/markup/elements/QVTMarkupInputElement.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"

namespace {
thread_local UINT t_nScopeChanges = 0;

void PropertiesNoteStore(CQVTMarkupDependencyProperty* pProperty)
{
    if (pProperty == CQVTMarkupStyle::m_pResourcesProperty ||
        pProperty == CQVTMarkupInputElement::m_pStyleProperty)
        ++t_nScopeChanges;
}
}  // namespace

UINT AFX_CDECL CQVTMarkupProperties::GetScopeChangeCount()
{
    return t_nScopeChanges;
}

void AFX_CDECL CQVTMarkupProperties::NoteScopeChange()
{
    ++t_nScopeChanges;
}

CQVTMarkupProperties::CQVTMarkupProperties(CQVTMarkupObject* pOwner)
    : CQVTMarkupObject(flagNoComInit), m_nCapacity(CQVTMarkupDependencyProperty::GetPropertyCount()),
      m_pOwner(pOwner)
{
}

CQVTMarkupProperties::~CQVTMarkupProperties()
{
    // In index order, each slot emptied before its value goes.
    int nNext = 0;
    // The first slot is the next one unless a release put one before it.
    auto next = [this, &nNext]() {
        return !m_arrSlots.empty() && m_arrSlots.front().first >= nNext ? m_arrSlots.begin()
                                                                        : LowerBound(nNext);
    };
    for (auto it = next(); it != m_arrSlots.end(); it = next())
    {
        CQVTMarkupObject* pOld = it->second;
        nNext = it->first + 1;
        m_arrSlots.erase(it);
        if (m_pOwner != nullptr && pOld->GetLogicalParent() == m_pOwner)
            pOld->SetLogicalParent(nullptr);
        pOld->InternalRelease();
    }
}

CQVTMarkupProperties::CSlotArray::iterator CQVTMarkupProperties::LowerBound(int nIndex)
{
    return std::lower_bound(m_arrSlots.begin(), m_arrSlots.end(), nIndex,
                            [](const CSlot& slot, int n) { return slot.first < n; });
}

CQVTMarkupProperties::CSlotArray::const_iterator CQVTMarkupProperties::LowerBound(int nIndex) const
{
    return std::lower_bound(m_arrSlots.begin(), m_arrSlots.end(), nIndex,
                            [](const CSlot& slot, int n) { return slot.first < n; });
}

BOOL CQVTMarkupProperties::IsInRange(CQVTMarkupDependencyProperty* pProperty) const
{
    return pProperty != nullptr && pProperty->GetIndex() >= 0 && pProperty->GetIndex() < m_nCapacity;
}

CQVTMarkupObject* CQVTMarkupProperties::GetAt(int nIndex) const
{
    auto it = LowerBound(nIndex);
    return it != m_arrSlots.end() && it->first == nIndex ? it->second : nullptr;
}

CQVTMarkupObject* CQVTMarkupProperties::Get(CQVTMarkupDependencyProperty* pProperty) const
{
    return IsInRange(pProperty) ? GetAt(pProperty->GetIndex()) : nullptr;
}

void CQVTMarkupProperties::Clear(CQVTMarkupDependencyProperty* pProperty)
{
    if (!IsInRange(pProperty))
        return;
    auto it = LowerBound(pProperty->GetIndex());
    if (it == m_arrSlots.end() || it->first != pProperty->GetIndex())
        return;
    CQVTMarkupObject* pOld = it->second;
    m_arrSlots.erase(it);
    if (m_pOwner != nullptr)
        pOld->SetLogicalParent(nullptr);
    pOld->InternalRelease();
}

void CQVTMarkupProperties::Set(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue)
{
    // The same object set again keeps its reference through the clear.
    CQVTMarkupAutoPtr hold(pValue);
    Clear(pProperty);
    if (pValue == nullptr || !IsInRange(pProperty))
        return;
    PropertiesNoteStore(pProperty);
    const int nIndex = pProperty->GetIndex();
    auto it = LowerBound(nIndex);
    if (it != m_arrSlots.end() && it->first == nIndex)
    {
        // Filled again while the old value was released.
        CQVTMarkupObject* pOld = it->second;
        it->second = hold.Detach();
        pOld->InternalRelease();
    }
    else
    {
        if (m_arrSlots.empty())
            m_arrSlots.reserve(4);  // most objects set a few values
        m_arrSlots.insert(LowerBound(nIndex), CSlot(nIndex, hold.Detach()));
    }
    if (m_pOwner != nullptr)
        pValue->SetLogicalParent(m_pOwner);
}

void CQVTMarkupProperties::CopyFrom(const CQVTMarkupProperties* pOther)
{
    if (pOther == nullptr)
        return;
    for (const CSlot& slot : CSlotArray(pOther->m_arrSlots))
    {
        if (slot.first >= m_nCapacity)
            break;
        NoteScopeChange();
        slot.second->InternalAddRef();
        auto it = LowerBound(slot.first);
        if (it != m_arrSlots.end() && it->first == slot.first)
        {
            CQVTMarkupObject* pOld = it->second;
            it->second = slot.second;
            pOld->InternalRelease();
        }
        else
        {
            m_arrSlots.insert(it, slot);
        }
    }
}
