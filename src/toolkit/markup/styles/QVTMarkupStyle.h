// Styles: reusable sets of property values for elements of one type, checked
// while they load and folded with their BasedOn chain into one table when
// sealed.
#pragma once

#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/core/QVTMarkupProperties.h"

class CQVTMarkupResourceDictionary;
class CQVTMarkupTrigger;

class CQVTMarkupSetter : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupSetter)

public:
    CQVTMarkupSetter() = default;
    // Takes the caller's reference of the value.
    CQVTMarkupSetter(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue);

    // The property once validated (before that, possibly its name as text).
    CQVTMarkupDependencyProperty* GetProperty();
    CQVTMarkupObject* GetValue() { return CQVTMarkupObject::GetValue(m_pValueProperty); }

    // Resolves the property against the target type and converts the value;
    // shared with triggers, which use the same two properties.
    static void AFX_CDECL Validate(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSetter,
                                   CQVTMarkupType* pTargetType);

    static CQVTMarkupDependencyProperty* m_pPropertyProperty;
    static CQVTMarkupDependencyProperty* m_pValueProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupSetterCollection : public CQVTMarkupTypedCollection<CQVTMarkupSetter>
{
    DECLARE_MARKUPCLASS(CQVTMarkupSetterCollection)
};

class CQVTMarkupTriggerCollection : public CQVTMarkupCollection
{
    DECLARE_MARKUPCLASS(CQVTMarkupTriggerCollection)

public:
    explicit CQVTMarkupTriggerCollection(BOOL bParent = TRUE);
    CQVTMarkupTrigger* GetAt(int nIndex) const;
};

class CQVTMarkupStyle : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupStyle)

public:
    CQVTMarkupStyle();
    ~CQVTMarkupStyle() override;

    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                           CQVTMarkupObject* pValue) override;

    // Folds BasedOn and the setters into the merged table, once. A BasedOn
    // chain that comes back to a style already in it is refused with a
    // builder error, and so is one longer than the builder's nesting limit.
    void Seal();
    BOOL IsSealed() const { return m_bSealed; }
    CQVTMarkupObject* GetMergedValue(CQVTMarkupDependencyProperty* pProperty) const;

    CQVTMarkupSetterCollection* GetSetters() const { return m_pSetters; }
    CQVTMarkupStyle* GetBasedOn();
    CQVTMarkupTriggerCollection* GetTriggers();
    void SetTriggers(CQVTMarkupTriggerCollection* pTriggers);
    CQVTMarkupType* GetTargetType();
    CQVTMarkupResourceDictionary* GetResources();

    static CQVTMarkupDependencyProperty* m_pResourcesProperty;
    static CQVTMarkupDependencyProperty* m_pTargetTypeProperty;
    static CQVTMarkupDependencyProperty* m_pBasedOnProperty;
    static CQVTMarkupDependencyProperty* m_pTriggersProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void SealOne();
    [[noreturn]] static void AFX_CDECL ThrowChainTooLong();
    void OnFinalRelease() override;

    CQVTMarkupSetterCollection* m_pSetters;  // owned; its logical parent is the style
    BOOL m_bSealed;
    CQVTMarkupProperties* m_pMergedValues;  // owned, made when sealing
};

// A property trigger: when an element's property equals the value, the
// trigger's setters apply.
class CQVTMarkupTrigger : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupTrigger)

public:
    CQVTMarkupTrigger() = default;
    // Takes the caller's reference of the value.
    CQVTMarkupTrigger(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue);

    CQVTMarkupDependencyProperty* GetProperty();
    CQVTMarkupObject* GetValue() { return CQVTMarkupObject::GetValue(CQVTMarkupSetter::m_pValueProperty); }
    CQVTMarkupSetterCollection* GetSetters();
    // Takes the caller's reference.
    void SetSetters(CQVTMarkupSetterCollection* pSetters);

    static CQVTMarkupDependencyProperty* m_pSettersProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
