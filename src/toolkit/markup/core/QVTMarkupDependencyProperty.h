// Dependency properties: process-wide property objects registered once per
// owner class, with metadata (default, converter, change callback, flags),
// looked up by name while markup is built; and routed events, which are
// properties without a value slot.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

// Metadata flags.
enum : DWORD
{
    QVT_MARKUP_INHERITS = 1,  // lookup falls back to ancestors; changes are pushed down
    QVT_MARKUP_AFFECTS_ARRANGE = 2,
    QVT_MARKUP_AFFECTS_MEASURE = 4,
    QVT_MARKUP_AFFECTS_RENDER = 32,
    QVT_MARKUP_SCALE_X = 64,   // a horizontal length, DPI-scaled when converted from text
    QVT_MARKUP_SCALE_Y = 128,  // a vertical length
};

typedef CQVTMarkupObject*(AFX_CDECL* PFNMARKUPCONVERTER)(CQVTMarkupBuilder* pBuilder,
                                                         CQVTMarkupObject* pSource,
                                                         CQVTMarkupDependencyProperty* pProperty);
typedef void(AFX_CDECL* PFNMARKUPPROPERTYCHANGED)(CQVTMarkupObject* pObject,
                                                  CQVTMarkupPropertyChangedEventArgs* pArgs);

class CQVTMarkupPropertyMetadata
{
public:
    CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue, DWORD dwFlags);
    CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue, PFNMARKUPCONVERTER pfnConverter,
                               DWORD dwFlags);
    CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue, PFNMARKUPCONVERTER pfnConverter,
                               PFNMARKUPPROPERTYCHANGED pfnChanged, DWORD dwFlags);
    CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue, PFNMARKUPPROPERTYCHANGED pfnChanged,
                               DWORD dwFlags);
    virtual ~CQVTMarkupPropertyMetadata();

    CQVTMarkupPropertyMetadata(const CQVTMarkupPropertyMetadata&) = delete;
    CQVTMarkupPropertyMetadata& operator=(const CQVTMarkupPropertyMetadata&) = delete;

    CQVTMarkupObject* m_pDefaultValue;  // counted, or null
    PFNMARKUPCONVERTER m_pfnConverter;  // tried before the value type's own conversion
    PFNMARKUPPROPERTYCHANGED m_pfnChanged;
    DWORD m_dwFlags;  // for a routed event: its routing strategy
};

class CQVTMarkupDependencyProperty : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupDependencyProperty)

public:
    ~CQVTMarkupDependencyProperty() override;

    virtual BOOL IsEvent() const { return FALSE; }

    LPCWSTR GetName() const { return m_lpszName; }
    CQVTMarkupType* GetPropertyType() const { return m_pPropertyType; }
    CQVTMarkupType* GetOwnerType() const { return m_pOwnerType; }
    CQVTMarkupPropertyMetadata* GetMetadata() const { return m_pMetadata; }
    DWORD GetFlags() const { return m_pMetadata != nullptr ? m_pMetadata->m_dwFlags : 0; }
    BOOL IsAttached() const { return m_bAttached; }
    // The slot of the property in value stores; -1 for routed events.
    int GetIndex() const { return m_nIndex; }

    // Registration takes the metadata (which takes its default value).
    static CQVTMarkupDependencyProperty* AFX_CDECL Register(LPCWSTR lpszName, CQVTMarkupType* pPropertyType,
                                                            CQVTMarkupType* pOwnerType,
                                                            CQVTMarkupPropertyMetadata* pMetadata = nullptr);
    static CQVTMarkupDependencyProperty* AFX_CDECL
    RegisterAttached(LPCWSTR lpszName, CQVTMarkupType* pPropertyType, CQVTMarkupType* pOwnerType,
                     CQVTMarkupPropertyMetadata* pMetadata = nullptr);
    static class CQVTMarkupRoutedEvent* AFX_CDECL RegisterRoutedEvent(LPCWSTR lpszName,
                                                                      DWORD dwRoutingStrategy,
                                                                      CQVTMarkupType* pOwnerType);
    // Enters the same property under another owner type.
    static CQVTMarkupDependencyProperty* AFX_CDECL AddOwner(CQVTMarkupDependencyProperty* pProperty,
                                                            CQVTMarkupType* pOwnerType);
    // By name on the type or its bases; a leading "x:" is skipped.
    static CQVTMarkupDependencyProperty* AFX_CDECL FindProperty(CQVTMarkupType* pType, LPCWSTR lpszName);
    // How many value slots have been handed out.
    static int AFX_CDECL GetPropertyCount();
    // Every registered (name, owner) entry, for tools that walk the vocabulary.
    struct CEntry
    {
        CQVTMarkupDependencyProperty* pProperty;
        CQVTMarkupType* pOwnerType;
    };
    static std::vector<CEntry> AFX_CDECL GetRegisteredProperties();

protected:
    CQVTMarkupDependencyProperty();

private:
    static CQVTMarkupDependencyProperty* AFX_CDECL Enter(CQVTMarkupDependencyProperty* pProperty,
                                                         LPCWSTR lpszName, CQVTMarkupType* pPropertyType,
                                                         CQVTMarkupType* pOwnerType,
                                                         CQVTMarkupPropertyMetadata* pMetadata,
                                                         BOOL bAttached);

    LPCWSTR m_lpszName;  // static text
    CQVTMarkupType* m_pPropertyType;
    CQVTMarkupType* m_pOwnerType;
    CQVTMarkupPropertyMetadata* m_pMetadata;  // owned
    BOOL m_bAttached;
    int m_nIndex;
};

// Routing strategies.
enum : DWORD
{
    QVT_MARKUP_ROUTING_DIRECT = 0,
    QVT_MARKUP_ROUTING_BUBBLE = 1,
};

class CQVTMarkupRoutedEvent : public CQVTMarkupDependencyProperty
{
public:
    BOOL IsEvent() const override { return TRUE; }
    BOOL IsBubbling() const { return (GetFlags() & QVT_MARKUP_ROUTING_BUBBLE) != 0; }

private:
    friend class CQVTMarkupDependencyProperty;
    CQVTMarkupRoutedEvent() = default;

private:
    BSTR GetNameProperty();
    DECLARE_DISPATCH_MAP()
};
