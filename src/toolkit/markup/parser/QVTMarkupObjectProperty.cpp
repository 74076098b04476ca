#include "toolkit/markup/parser/QVTMarkupObjectProperty.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupObjectProperty, CQVTMarkupObject, nullptr, nullptr)

CQVTMarkupObjectProperty::CQVTMarkupObjectProperty(CQVTMarkupDependencyProperty* pProperty)
    : CQVTMarkupObject(flagNoComInit), m_pValue(nullptr), m_pWorkObject(nullptr), m_pProperty(pProperty)
{
}

CQVTMarkupObjectProperty::~CQVTMarkupObjectProperty()
{
    if (m_pValue != nullptr)
        m_pValue->InternalRelease();
    if (m_pWorkObject != nullptr)
        m_pWorkObject->InternalRelease();
}

void CQVTMarkupObjectProperty::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (pContent == nullptr || m_pProperty == nullptr)
        return;
    if (pContent->IsKindOf(m_pProperty->GetPropertyType()) ||
        MarkupCast<CQVTMarkupString>(pContent) != nullptr)
    {
        pContent->InternalAddRef();
        CQVTMarkupObject* pOld = m_pValue;
        m_pValue = pContent;
        if (pOld != nullptr)
            pOld->InternalRelease();
        return;
    }
    if (m_pValue != nullptr)
    {
        m_pValue->SetContentObject(pBuilder, pContent);
        return;
    }
    CQVTMarkupContext* pContext = pBuilder != nullptr ? pBuilder->GetMarkupContext() : GetMarkupContext();
    CQVTMarkupType* pType = m_pProperty->GetPropertyType();
    m_pWorkObject = pContext != nullptr ? pContext->CreateMarkupObject(pType) : pType->CreateObject(nullptr);
    if (m_pWorkObject == nullptr)
    {
        CQVTMarkupObject::SetContentObject(pBuilder, pContent);
        return;
    }
    m_pWorkObject->SetAssociatedProperty(m_pProperty);
    m_pWorkObject->SetContentObject(pBuilder, pContent);
    m_pWorkObject->SetAssociatedProperty(nullptr);
    m_pValue = m_pWorkObject;
    m_pWorkObject = nullptr;
}
