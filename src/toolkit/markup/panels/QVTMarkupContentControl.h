// A control with one element of content, the base of the markup buttons;
// text content is shown through a text block.
#pragma once

#include "toolkit/markup/panels/QVTMarkupControl.h"

class CQVTMarkupContentControl : public CQVTMarkupControl
{
    DECLARE_MARKUPCLASS(CQVTMarkupContentControl)

public:
    ~CQVTMarkupContentControl() override;

    CQVTMarkupUIElement* GetContent();

    int GetVisualChildrenCount() override { return GetContent() != nullptr ? 1 : 0; }
    CQVTMarkupVisual* GetVisualChild(int nIndex) override;
    BOOL HasContentObject() override { return GetContent() != nullptr; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

    static CQVTMarkupDependencyProperty* m_pContentProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    LPDISPATCH GetContentProperty();
    void SetContentProperty(LPDISPATCH pDispatch);
    DECLARE_DISPATCH_MAP()
};
