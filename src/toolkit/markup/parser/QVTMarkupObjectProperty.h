// Stands for a property element (Owner.Property) while it loads: it gathers
// the value its children or text give.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupObjectProperty : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupObjectProperty)

public:
    explicit CQVTMarkupObjectProperty(CQVTMarkupDependencyProperty* pProperty = nullptr);
    ~CQVTMarkupObjectProperty() override;

    // A child of the property's type, or a text, replaces the value; another
    // child goes into a new object of the property's type, or into the value
    // gathered so far.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    CQVTMarkupDependencyProperty* GetProperty() const { return m_pProperty; }
    CQVTMarkupObject* GetPropertyValue() const { return m_pValue; }

private:
    CQVTMarkupObject* m_pValue;       // counted
    CQVTMarkupObject* m_pWorkObject;  // counted, during one content call
    CQVTMarkupDependencyProperty* m_pProperty;
};
