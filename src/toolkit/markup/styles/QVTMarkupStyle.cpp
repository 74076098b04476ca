#include "toolkit/markup/styles/QVTMarkupStyle.h"

#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupSetter, CQVTMarkupObject, u"Setter",
                      &CQVTMarkupSetter::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupSetterCollection, CQVTMarkupCollection, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupTriggerCollection, CQVTMarkupCollection, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupStyle, CQVTMarkupObject, u"Style", &CQVTMarkupStyle::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupTrigger, CQVTMarkupObject, u"Trigger",
                      &CQVTMarkupTrigger::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupSetter::m_pPropertyProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupSetter::m_pValueProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupStyle::m_pResourcesProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupStyle::m_pTargetTypeProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupStyle::m_pBasedOnProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupStyle::m_pTriggersProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTrigger::m_pSettersProperty = nullptr;

namespace {
const WCHAR kSetterMessage[] = u"Must specify both Property and Value for Setter.";
}  // namespace

// Setter

void AFX_CDECL CQVTMarkupSetter::RegisterMarkupProperties()
{
    CQVTMarkupType* pAny = CQVTMarkupObject::GetMarkupType();
    m_pPropertyProperty = CQVTMarkupDependencyProperty::Register(u"Property", pAny, GetMarkupType());
    m_pValueProperty = CQVTMarkupDependencyProperty::Register(u"Value", pAny, GetMarkupType());
}

CQVTMarkupSetter::CQVTMarkupSetter(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue)
{
    EnsureMarkupClass();
    if (pProperty != nullptr)
        pProperty->InternalAddRef();
    SetValue(m_pPropertyProperty, pProperty);
    SetValue(m_pValueProperty, pValue);
}

CQVTMarkupDependencyProperty* CQVTMarkupSetter::GetProperty()
{
    return MarkupCast<CQVTMarkupDependencyProperty>(CQVTMarkupObject::GetValue(m_pPropertyProperty));
}

void AFX_CDECL CQVTMarkupSetter::Validate(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSetter,
                                          CQVTMarkupType* pTargetType)
{
    CQVTMarkupObject* pPropertyValue = pSetter->GetValue(m_pPropertyProperty);
    if (pPropertyValue == nullptr)
        CQVTMarkupBuilder::ThrowBuilderError(kSetterMessage);
    CQVTMarkupDependencyProperty* pProperty = MarkupCast<CQVTMarkupDependencyProperty>(pPropertyValue);
    if (pProperty == nullptr)
    {
        CQVTMarkupString* pName = MarkupCast<CQVTMarkupString>(pPropertyValue);
        if (pName == nullptr)
            CQVTMarkupBuilder::ThrowBuilderError(kSetterMessage);
        LPCWSTR lpszName = pName->GetText();
        LPCWSTR lpszDot = _tcschr(lpszName, u'.');
        if (lpszDot != nullptr)
        {
            CString strOwner(lpszName, static_cast<int>(lpszDot - lpszName));
            pProperty = CQVTMarkupDependencyProperty::FindProperty(FindMarkupType(strOwner), lpszDot + 1);
        }
        else
        {
            pProperty = CQVTMarkupDependencyProperty::FindProperty(pTargetType, lpszName);
        }
        if (pProperty == nullptr)
            CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"Cannot find the Style Property '%ls'", lpszName);
        pProperty->InternalAddRef();
        pSetter->SetValue(m_pPropertyProperty, pProperty);
    }
    CQVTMarkupObject* pValue = pSetter->GetValue(m_pValueProperty);
    if (pValue == nullptr)
        CQVTMarkupBuilder::ThrowBuilderError(kSetterMessage);
    if (!pValue->IsKindOf(pProperty->GetPropertyType()))
    {
        CQVTMarkupContext* pContext =
            pBuilder != nullptr ? pBuilder->GetMarkupContext() : pSetter->GetMarkupContext();
        pSetter->SetValue(m_pValueProperty,
                          CQVTMarkupBuilder::ConvertValue(pBuilder, pContext, pProperty, pValue));
    }
}

CQVTMarkupTriggerCollection::CQVTMarkupTriggerCollection(BOOL bParent)
    : CQVTMarkupCollection(CQVTMarkupTrigger::GetMarkupType(), bParent)
{
}

CQVTMarkupTrigger* CQVTMarkupTriggerCollection::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? static_cast<CQVTMarkupTrigger*>(m_arrItems[nIndex]) : nullptr;
}

// Style

void AFX_CDECL CQVTMarkupStyle::RegisterMarkupProperties()
{
    CQVTMarkupResourceDictionary::EnsureMarkupClass();
    CQVTMarkupSetter::EnsureMarkupClass();
    CQVTMarkupTrigger::EnsureMarkupClass();
    CQVTMarkupTriggerCollection::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pResourcesProperty = CQVTMarkupDependencyProperty::Register(
        u"Resources", CQVTMarkupResourceDictionary::GetMarkupType(), pType);
    m_pTargetTypeProperty =
        CQVTMarkupDependencyProperty::Register(u"TargetType", CQVTMarkupType::GetMarkupType(), pType);
    m_pBasedOnProperty = CQVTMarkupDependencyProperty::Register(u"BasedOn", pType, pType);
    m_pTriggersProperty = CQVTMarkupDependencyProperty::Register(
        u"Triggers", CQVTMarkupTriggerCollection::GetMarkupType(), pType);
}

CQVTMarkupStyle::CQVTMarkupStyle()
    : m_pSetters(new CQVTMarkupSetterCollection()), m_bSealed(FALSE), m_pMergedValues(nullptr)
{
    m_pSetters->SetLogicalParent(this);
}

CQVTMarkupStyle::~CQVTMarkupStyle()
{
    m_pSetters->SetLogicalParent(nullptr);
    m_pSetters->InternalRelease();
    if (m_pMergedValues != nullptr)
        m_pMergedValues->InternalRelease();
}

CQVTMarkupStyle* CQVTMarkupStyle::GetBasedOn()
{
    return MarkupCast<CQVTMarkupStyle>(CQVTMarkupObject::GetValue(m_pBasedOnProperty));
}

CQVTMarkupTriggerCollection* CQVTMarkupStyle::GetTriggers()
{
    return MarkupCast<CQVTMarkupTriggerCollection>(CQVTMarkupObject::GetValue(m_pTriggersProperty));
}

void CQVTMarkupStyle::SetTriggers(CQVTMarkupTriggerCollection* pTriggers)
{
    EnsureMarkupClass();
    SetValue(m_pTriggersProperty, pTriggers);
}

CQVTMarkupType* CQVTMarkupStyle::GetTargetType()
{
    return MarkupCast<CQVTMarkupType>(CQVTMarkupObject::GetValue(m_pTargetTypeProperty));
}

CQVTMarkupResourceDictionary* CQVTMarkupStyle::GetResources()
{
    return MarkupCast<CQVTMarkupResourceDictionary>(CQVTMarkupObject::GetValue(m_pResourcesProperty));
}

void CQVTMarkupStyle::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupSetter* pSetter = MarkupCast<CQVTMarkupSetter>(pContent);
    if (pSetter == nullptr)
    {
        CQVTMarkupObject::SetContentObject(pBuilder, pContent);
        return;
    }
    CQVTMarkupSetter::Validate(pBuilder, pSetter, GetTargetType());
    pSetter->InternalAddRef();
    m_pSetters->Add(pSetter);
}

void CQVTMarkupStyle::SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                                        CQVTMarkupObject* pValue)
{
    CQVTMarkupTriggerCollection* pTriggers = MarkupCast<CQVTMarkupTriggerCollection>(pValue);
    if (pProperty == m_pTriggersProperty && pTriggers != nullptr)
    {
        CQVTMarkupType* pTargetType = GetTargetType();
        for (int i = 0; i < pTriggers->GetCount(); ++i)
        {
            CQVTMarkupTrigger* pTrigger = pTriggers->GetAt(i);
            CQVTMarkupSetter::Validate(pBuilder, pTrigger, pTargetType);
            CQVTMarkupSetterCollection* pSetters = pTrigger->GetSetters();
            for (int j = 0; pSetters != nullptr && j < pSetters->GetCount(); ++j)
                CQVTMarkupSetter::Validate(pBuilder, pSetters->GetAt(j), pTargetType);
        }
    }
    if (pProperty == m_pBasedOnProperty)
    {
        // Refused while building rather than when the chain is first used.
        int nLength = 1;
        for (CQVTMarkupStyle* pBase = MarkupCast<CQVTMarkupStyle>(pValue); pBase != nullptr;
             pBase = pBase->GetBasedOn())
        {
            if (++nLength > CQVTMarkupBuilder::kMaxDepth)
                ThrowChainTooLong();
        }
    }
    CQVTMarkupObject::SetPropertyObject(pBuilder, pProperty, pValue);
}

void CQVTMarkupStyle::Seal()
{
    // The unsealed part of the chain, this style first; walked in a loop,
    // as a chain may be as long as the markup is.
    std::vector<CQVTMarkupStyle*> chain;
    for (CQVTMarkupStyle* pStyle = this; pStyle != nullptr && !pStyle->m_bSealed;
         pStyle = pStyle->GetBasedOn())
    {
        if (std::find(chain.begin(), chain.end(), pStyle) != chain.end())
            CQVTMarkupBuilder::ThrowBuilderError(
                u"A style's BasedOn chain leads back to a style already in it");
        if (static_cast<int>(chain.size()) >= CQVTMarkupBuilder::kMaxDepth)
            ThrowChainTooLong();
        chain.push_back(pStyle);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->SealOne();
}

void CQVTMarkupStyle::SealOne()
{
    if (m_pMergedValues == nullptr)
        m_pMergedValues = new CQVTMarkupProperties(nullptr);
    SetLogicalParent(nullptr);
    if (CQVTMarkupStyle* pBase = GetBasedOn())
        m_pMergedValues->CopyFrom(pBase->m_pMergedValues);
    for (int i = 0; i < m_pSetters->GetCount(); ++i)
    {
        CQVTMarkupSetter* pSetter = m_pSetters->GetAt(i);
        CQVTMarkupDependencyProperty* pProperty = pSetter->GetProperty();
        CQVTMarkupObject* pValue = pSetter->GetValue();
        if (pProperty == nullptr)
            continue;
        if (pValue != nullptr)
            pValue->InternalAddRef();
        m_pMergedValues->Set(pProperty, pValue);
    }
    m_bSealed = TRUE;
}

void CQVTMarkupStyle::ThrowChainTooLong()
{
    CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"BasedOn styles are chained deeper than %d levels",
                                               static_cast<int>(CQVTMarkupBuilder::kMaxDepth));
}

void CQVTMarkupStyle::OnFinalRelease()
{
    // Each style holds its base: released one inside the other, a long
    // chain would take a stack frame per style. The base is taken out here
    // and released by the outermost release, one after the other.
    static std::vector<CQVTMarkupStyle*> s_arrPendingBases;
    static BOOL s_bReleasing = FALSE;
    CQVTMarkupStyle* pBase = GetBasedOn();
    if (pBase != nullptr)
    {
        pBase->InternalAddRef();
        ClearValue(m_pBasedOnProperty);
    }
    CQVTMarkupObject::OnFinalRelease();
    if (pBase == nullptr)
        return;
    s_arrPendingBases.push_back(pBase);
    if (s_bReleasing)
        return;
    s_bReleasing = TRUE;
    while (!s_arrPendingBases.empty())
    {
        CQVTMarkupStyle* pNext = s_arrPendingBases.back();
        s_arrPendingBases.pop_back();
        pNext->InternalRelease();
    }
    s_bReleasing = FALSE;
}

CQVTMarkupObject* CQVTMarkupStyle::GetMergedValue(CQVTMarkupDependencyProperty* pProperty) const
{
    return m_pMergedValues != nullptr ? m_pMergedValues->Get(pProperty) : nullptr;
}

// Trigger

void AFX_CDECL CQVTMarkupTrigger::RegisterMarkupProperties()
{
    CQVTMarkupSetter::EnsureMarkupClass();
    CQVTMarkupSetterCollection::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupSetter::m_pPropertyProperty, pType);
    CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupSetter::m_pValueProperty, pType);
    m_pSettersProperty = CQVTMarkupDependencyProperty::Register(
        u"Setters", CQVTMarkupSetterCollection::GetMarkupType(), pType);
}

CQVTMarkupTrigger::CQVTMarkupTrigger(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue)
{
    EnsureMarkupClass();
    if (pProperty != nullptr)
        pProperty->InternalAddRef();
    SetValue(CQVTMarkupSetter::m_pPropertyProperty, pProperty);
    SetValue(CQVTMarkupSetter::m_pValueProperty, pValue);
}

CQVTMarkupDependencyProperty* CQVTMarkupTrigger::GetProperty()
{
    return MarkupCast<CQVTMarkupDependencyProperty>(
        CQVTMarkupObject::GetValue(CQVTMarkupSetter::m_pPropertyProperty));
}

CQVTMarkupSetterCollection* CQVTMarkupTrigger::GetSetters()
{
    return MarkupCast<CQVTMarkupSetterCollection>(CQVTMarkupObject::GetValue(m_pSettersProperty));
}

void CQVTMarkupTrigger::SetSetters(CQVTMarkupSetterCollection* pSetters)
{
    EnsureMarkupClass();
    SetValue(m_pSettersProperty, pSetters);
}
