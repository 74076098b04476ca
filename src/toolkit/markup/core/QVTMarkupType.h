// The run-time type of a markup class: the tag written in markup, the class
// name shown in messages, a creator, the base type and a property registrar.
// Classes enter the class list registry from static initialisers; their
// properties are registered once, when the first markup context is made.
#pragma once

#include <atomic>
#include <vector>

#include "toolkit/markup/core/QVTMarkupObject.h"

class CQVTMarkupStyle;

class CQVTMarkupType : public CQVTMarkupObject
{
    DECLARE_DYNAMIC(CQVTMarkupType)
    DECLARE_MARKUPCLASS(CQVTMarkupType)

public:
    typedef CQVTMarkupObject*(AFX_CDECL* PFNCREATE)(CQVTMarkupContext* pContext);
    typedef CQVTMarkupType*(AFX_CDECL* PFNTYPE)();
    typedef void(AFX_CDECL* PFNREGISTER)();

    CQVTMarkupType(LPCWSTR lpszTagName, LPCWSTR lpszClassName, PFNCREATE pfnCreate, PFNTYPE pfnBaseType,
                   PFNREGISTER pfnRegister);
    ~CQVTMarkupType() override;

    LPCWSTR GetTagName() const { return m_lpszTagName; }
    LPCWSTR GetClassName() const { return m_lpszClassName; }
    CQVTMarkupType* GetBaseType() const;
    BOOL IsDerivedFrom(CQVTMarkupType* pType) const;
    BOOL IsRegistered() const { return m_bRegistered; }

    // A new object with one reference, made for the context; null for types
    // that are never made by type.
    CQVTMarkupObject* CreateObject(CQVTMarkupContext* pContext);

    // The type registered under a tag name given as text.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    // The style every element of the class uses without a style of its own.
    CQVTMarkupStyle* GetDefaultStyle() const { return m_pDefaultStyle; }
    // Takes the caller's reference, releases the previous style and seals the new one.
    void SetDefaultStyle(CQVTMarkupStyle* pStyle);
    // Whether a default style set so far gives its elements resources or a style.
    static BOOL AFX_CDECL DefaultStylesHoldResources();

    // Registers the base type first; the flag is set before the registrar
    // runs, so a registrar that ensures its own class does not recurse.
    static void AFX_CDECL EnsureRegistered(CQVTMarkupType* pType);
    // Every class of the registry, tagged ones first.
    static void AFX_CDECL RegisterAllTypes();
    // Every type registered so far, for tools that walk the vocabulary.
    static std::vector<CQVTMarkupType*> AFX_CDECL GetRegisteredTypes();

private:
    LPCWSTR m_lpszTagName;    // static text, null without a tag
    LPCWSTR m_lpszClassName;  // static text
    BOOL m_bRegistered;
    PFNCREATE m_pfnCreate;
    PFNTYPE m_pfnBaseType;
    PFNREGISTER m_pfnRegister;
    // The types from the root down to this one, made on first use: a type
    // check is one comparison at the other type's depth instead of a climb
    // through the bases on every value set and every child added.
    using CLineage = std::vector<const CQVTMarkupType*>;
    const CLineage& GetLineage() const;

    // The base type once asked for.
    mutable std::atomic<CQVTMarkupType*> m_pBaseType;
    mutable std::atomic<const CLineage*> m_pLineage;
    CQVTMarkupStyle* m_pDefaultStyle;  // counted
};

// Adds a class to the registry. Returns 0; a static of the class keeps it.
int AFXAPI RegisterMarkupClass(LPCWSTR lpszTagName, CQVTMarkupType::PFNTYPE pfnType);
// The type of a tag (exact, case-sensitive), or null.
CQVTMarkupType* AFXAPI FindMarkupType(LPCWSTR lpszTagName);

template <class T>
CQVTMarkupObject* AFX_CDECL QVTCreateMarkupObject(CQVTMarkupContext* pContext)
{
    T* pObject = new T();
    pObject->SetMarkupContext(pContext);
    return pObject;
}

#define QVT_MARKUPCLASS_BODY(theClass, baseClass, tagName, pfnCreate, pfnRegister)                           \
    CQVTMarkupType* AFX_CDECL theClass::GetMarkupType()                                                      \
    {                                                                                                        \
        static CQVTMarkupType* s_pType =                                                                     \
            new CQVTMarkupType(tagName, u"" #theClass, pfnCreate, &baseClass::GetMarkupType, pfnRegister);   \
        return s_pType;                                                                                      \
    }                                                                                                        \
    void AFX_CDECL theClass::EnsureMarkupClass()                                                             \
    {                                                                                                        \
        CQVTMarkupType::EnsureRegistered(theClass::GetMarkupType());                                         \
    }                                                                                                        \
    CQVTMarkupType* theClass::GetType() const                                                                \
    {                                                                                                        \
        return theClass::GetMarkupType();                                                                    \
    }                                                                                                        \
    [[maybe_unused]] static const int s_nMarkupClass##theClass =                                             \
        RegisterMarkupClass(tagName, &theClass::GetMarkupType);

// A class made by its type's creator (markup elements and values).
#define IMPLEMENT_MARKUPCLASS(theClass, baseClass, tagName, pfnRegister)                                     \
    QVT_MARKUPCLASS_BODY(theClass, baseClass, tagName, &QVTCreateMarkupObject<theClass>, pfnRegister)

// A class only made by code (bases, converters' results).
#define IMPLEMENT_MARKUPCLASS_NOCREATE(theClass, baseClass, tagName, pfnRegister)                            \
    QVT_MARKUPCLASS_BODY(theClass, baseClass, tagName, nullptr, pfnRegister)
