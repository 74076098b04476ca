// The inlines of a text block or a span. Content handed to it becomes
// inlines: text a run, an inline itself, a UI element an inline container.
#pragma once

#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"

class CQVTMarkupInlineCollection : public CQVTMarkupTypedCollection<CQVTMarkupInline>
{
    DECLARE_MARKUPCLASS(CQVTMarkupInlineCollection)

public:
    // The owner (text block or span) is the collection's logical parent.
    explicit CQVTMarkupInlineCollection(CQVTMarkupObject* pOwner = nullptr);

    CQVTMarkupObject* GetOwner() const { return GetLogicalParent(); }
    void SetOwner(CQVTMarkupObject* pOwner) { SetLogicalParent(pOwner); }

    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

protected:
    void OnItemAdded(CQVTMarkupObject* pItem, int nIndex) override;
    void OnChanged() override;

private:
    DECLARE_DISPATCH_MAP()
};
