// The value of an element's RenderTransform: holds exactly one transform.
#pragma once

#include "toolkit/markup/transforms/QVTMarkupTransform.h"

class CQVTMarkupRenderTransform : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupRenderTransform)

public:
    CQVTMarkupRenderTransform();

    // A rotate, scale, translate or skew transform is stored in the property
    // of its kind; a second child fails the build.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner) override;
    // The transform added as the child, or null.
    CQVTMarkupTransform* GetTransform();
    CQVTMarkupObject* GetOwner() const { return m_pOwner; }

    static CQVTMarkupDependencyProperty* m_pRotateTransformProperty;
    static CQVTMarkupDependencyProperty* m_pScaleTransformProperty;
    static CQVTMarkupDependencyProperty* m_pTranslateTransformProperty;
    static CQVTMarkupDependencyProperty* m_pSkewTransformProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    CQVTMarkupDependencyProperty* m_pCurrentProperty;  // the property holding the child
    CQVTMarkupObject* m_pOwner;                        // the element, not counted
};
