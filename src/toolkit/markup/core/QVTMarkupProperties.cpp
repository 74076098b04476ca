#include "toolkit/markup/core/QVTMarkupProperties.h"

CQVTMarkupProperties::CQVTMarkupProperties(CQVTMarkupObject* pOwner)
    : CQVTMarkupObject(flagNoComInit),
      m_arrValues(static_cast<size_t>(CQVTMarkupDependencyProperty::GetPropertyCount()), nullptr),
      m_pOwner(pOwner)
{
}

CQVTMarkupProperties::~CQVTMarkupProperties()
{
    for (CQVTMarkupObject*& pValue : m_arrValues)
    {
        CQVTMarkupObject* pOld = pValue;
        pValue = nullptr;
        if (pOld == nullptr)
            continue;
        if (m_pOwner != nullptr && pOld->GetLogicalParent() == m_pOwner)
            pOld->SetLogicalParent(nullptr);
        pOld->InternalRelease();
    }
}

BOOL CQVTMarkupProperties::IsInRange(CQVTMarkupDependencyProperty* pProperty) const
{
    return pProperty != nullptr && pProperty->GetIndex() >= 0 &&
           pProperty->GetIndex() < static_cast<int>(m_arrValues.size());
}

CQVTMarkupObject* CQVTMarkupProperties::Get(CQVTMarkupDependencyProperty* pProperty) const
{
    return IsInRange(pProperty) ? m_arrValues[pProperty->GetIndex()] : nullptr;
}

void CQVTMarkupProperties::Clear(CQVTMarkupDependencyProperty* pProperty)
{
    if (!IsInRange(pProperty))
        return;
    CQVTMarkupObject* pOld = m_arrValues[pProperty->GetIndex()];
    if (pOld == nullptr)
        return;
    m_arrValues[pProperty->GetIndex()] = nullptr;
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
    m_arrValues[pProperty->GetIndex()] = hold.Detach();
    if (m_pOwner != nullptr)
        pValue->SetLogicalParent(m_pOwner);
}

void CQVTMarkupProperties::CopyFrom(const CQVTMarkupProperties* pOther)
{
    if (pOther == nullptr)
        return;
    const size_t nCount = std::min(m_arrValues.size(), pOther->m_arrValues.size());
    for (size_t i = 0; i < nCount; ++i)
    {
        CQVTMarkupObject* pValue = pOther->m_arrValues[i];
        if (pValue == nullptr)
            continue;
        pValue->InternalAddRef();
        CQVTMarkupObject* pOld = m_arrValues[i];
        m_arrValues[i] = pValue;
        if (pOld != nullptr)
            pOld->InternalRelease();
    }
}
