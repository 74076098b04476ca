#include "toolkit/markup/text/QVTMarkupInlineCollection.h"

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/text/QVTMarkupInlineUIContainer.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupInlineCollection, CQVTMarkupCollection, nullptr, nullptr)

CQVTMarkupInlineCollection::CQVTMarkupInlineCollection(CQVTMarkupObject* pOwner)
{
    SetLogicalParent(pOwner);
}

void CQVTMarkupInlineCollection::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    CQVTMarkupInputElement* pOwner = MarkupCast<CQVTMarkupInputElement>(GetOwner());
    if (pOwner != nullptr && pContent != nullptr)
    {
        CQVTMarkupContext* pContext = pOwner->GetMarkupContext();
        if (CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent))
        {
            CQVTMarkupAutoPtr run(CQVTMarkupRun::GetMarkupType()->CreateObject(pContext));
            pString->InternalAddRef();
            run->SetValue(CQVTMarkupRun::m_pTextProperty, pString);
            Add(run.Detach());
            return;
        }
        if (CQVTMarkupInline* pInline = MarkupCast<CQVTMarkupInline>(pContent))
        {
            pInline->InternalAddRef();
            Add(pInline);
            return;
        }
        if (CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pContent))
        {
            CQVTMarkupAutoPtr container(CQVTMarkupInlineUIContainer::GetMarkupType()->CreateObject(pContext));
            pElement->InternalAddRef();
            static_cast<CQVTMarkupInlineUIContainer*>(container.Get())->SetChild(pElement);
            Add(container.Detach());
            return;
        }
    }
    CQVTMarkupBuilder::ThrowCannotAddContent(pContent, this, u"CQVTMarkupInline");
}

void CQVTMarkupInlineCollection::OnItemAdded(CQVTMarkupObject* pItem, int nIndex)
{
    static_cast<CQVTMarkupInline*>(pItem)->SetIndexInCollection(nIndex);
}

void CQVTMarkupInlineCollection::OnChanged()
{
    // Insertions and removals shift the indexes of the inlines after them.
    for (int i = 0; i < GetCount(); ++i)
        GetAt(i)->SetIndexInCollection(i);
    CQVTMarkupObject* pOwner = GetOwner();
    CQVTMarkupFrameworkElement* pHost = MarkupCast<CQVTMarkupFrameworkElement>(pOwner);
    if (pHost == nullptr)
    {
        if (CQVTMarkupFrameworkContentElement* pContent =
                MarkupCast<CQVTMarkupFrameworkContentElement>(pOwner))
            pHost = pContent->GetParentFrameworkElement();
    }
    if (pHost != nullptr && !pHost->IsLoading())
        pHost->InvalidateMeasure();
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupInlineCollection, CQVTMarkupCollection)
    QVT_MARKUP_COLLECTION_DISPATCH(CQVTMarkupInlineCollection)
END_DISPATCH_MAP()
