// The container of any number of children, which paints a background; the
// layout panels derive from it and supply the measure and arrange hooks.
#pragma once

#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

class CQVTMarkupBrush;

// Only UI elements can be added; every insertion and removal relayouts the
// panel that owns the collection.
class CQVTMarkupUIElementCollection : public CQVTMarkupTypedCollection<CQVTMarkupUIElement>
{
    DECLARE_MARKUPCLASS(CQVTMarkupUIElementCollection)

protected:
    void OnChanged() override;

private:
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupPanel : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupPanel)

public:
    CQVTMarkupPanel();
    ~CQVTMarkupPanel() override;

    int GetVisualChildrenCount() override;
    CQVTMarkupVisual* GetVisualChild(int nIndex) override;
    BOOL HasContentObject() override;
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // Hit only where there is a background: elsewhere the mouse falls through.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;

    CQVTMarkupUIElementCollection* GetChildren() const { return m_pChildren; }
    // The child at an index, null outside the children.
    CQVTMarkupUIElement* GetChild(int nIndex) const { return m_pChildren->GetAt(nIndex); }
    int GetChildCount() const { return m_pChildren->GetCount(); }
    CQVTMarkupBrush* GetBackground();

    static CQVTMarkupDependencyProperty* m_pBackgroundProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    CQVTMarkupUIElementCollection* m_pChildren;  // owned; its logical parent is the panel

private:
    LPDISPATCH GetBackgroundProperty();
    void SetBackgroundProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetChildrenProperty();
    DECLARE_DISPATCH_MAP()
};
