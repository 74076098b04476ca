#include "toolkit/markup/transforms/QVTMarkupRenderTransform.h"

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/transforms/QVTMarkupRotateTransform.h"
#include "toolkit/markup/transforms/QVTMarkupScaleTransform.h"
#include "toolkit/markup/transforms/QVTMarkupSkewTransform.h"
#include "toolkit/markup/transforms/QVTMarkupTranslateTransform.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupRenderTransform, CQVTMarkupObject, u"RenderTransform",
                      &CQVTMarkupRenderTransform::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pRotateTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pScaleTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pTranslateTransformProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRenderTransform::m_pSkewTransformProperty = nullptr;

void AFX_CDECL CQVTMarkupRenderTransform::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupRotateTransform::EnsureMarkupClass();
    CQVTMarkupScaleTransform::EnsureMarkupClass();
    CQVTMarkupTranslateTransform::EnsureMarkupClass();
    CQVTMarkupSkewTransform::EnsureMarkupClass();
    m_pRotateTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"RotateTransform", CQVTMarkupRotateTransform::GetMarkupType(), pType);
    m_pScaleTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"ScaleTransform", CQVTMarkupScaleTransform::GetMarkupType(), pType);
    m_pTranslateTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"TranslateTransform", CQVTMarkupTranslateTransform::GetMarkupType(), pType);
    m_pSkewTransformProperty = CQVTMarkupDependencyProperty::Register(
        u"SkewTransform", CQVTMarkupSkewTransform::GetMarkupType(), pType);
}

CQVTMarkupRenderTransform::CQVTMarkupRenderTransform() : m_pCurrentProperty(nullptr), m_pOwner(nullptr) {}

void CQVTMarkupRenderTransform::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupDependencyProperty* pProperty = nullptr;
    if (MarkupCast<CQVTMarkupRotateTransform>(pContent) != nullptr)
        pProperty = m_pRotateTransformProperty;
    else if (MarkupCast<CQVTMarkupScaleTransform>(pContent) != nullptr)
        pProperty = m_pScaleTransformProperty;
    else if (MarkupCast<CQVTMarkupTranslateTransform>(pContent) != nullptr)
        pProperty = m_pTranslateTransformProperty;
    else if (MarkupCast<CQVTMarkupSkewTransform>(pContent) != nullptr)
        pProperty = m_pSkewTransformProperty;
    if (pProperty == nullptr)
    {
        CQVTMarkupObject::SetContentObject(pBuilder, pContent);
        return;
    }
    if (m_pCurrentProperty != nullptr)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(
            u"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.",
            GetType()->GetClassName(), pContent->GetType()->GetClassName(), GetType()->GetClassName());
    pContent->InternalAddRef();
    SetValue(pProperty, pContent);
    m_pCurrentProperty = pProperty;
}

void CQVTMarkupRenderTransform::SetOwnerObject(CQVTMarkupDependencyProperty* pProperty,
                                               CQVTMarkupObject* pOwner)
{
    m_pOwner = pOwner;
    CQVTMarkupObject::SetOwnerObject(pProperty, pOwner);
}

CQVTMarkupTransform* CQVTMarkupRenderTransform::GetTransform()
{
    return m_pCurrentProperty != nullptr ? MarkupCast<CQVTMarkupTransform>(GetValue(m_pCurrentProperty))
                                         : nullptr;
}
