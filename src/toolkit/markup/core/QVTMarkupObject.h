// The base of every markup value, element, type, property, brush, style and
// delegate: reference counted through the command target, automation
// enabled, with a logical parent, a local-value store and the source it was
// built from.
#pragma once

#include <comdef.h>

#include <memory>
#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTMarkupBuilder;
class CQVTMarkupContext;
class CQVTMarkupDependencyProperty;
class CQVTMarkupObject;
class CQVTMarkupProperties;
class CQVTMarkupType;

// The record a property's change callback receives.
struct CQVTMarkupPropertyChangedEventArgs
{
    CQVTMarkupDependencyProperty* pProperty;
    CQVTMarkupObject* pOldValue;
    CQVTMarkupObject* pNewValue;
};

// Declares what every markup class has: its type function, the function that
// makes sure the type's properties are registered, and the type query. A
// class private to one file may have no use for the second.
#define DECLARE_MARKUPCLASS(theClass)                                                                        \
public:                                                                                                      \
    static CQVTMarkupType* AFX_CDECL GetMarkupType();                                                        \
    [[maybe_unused]] static void AFX_CDECL EnsureMarkupClass();                                              \
    CQVTMarkupType* GetType() const override;

class CQVTMarkupObject : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTMarkupObject)

public:
    // Construction flags.
    enum
    {
        flagNoComInit = 1,  // types, delegates, literals: no COM initialisation of their own
    };

    explicit CQVTMarkupObject(DWORD dwFlags = 0);
    ~CQVTMarkupObject() override;

    // A page makes and frees thousands of small objects at once: their
    // blocks are kept per thread for the next object of the same size.
    static void* operator new(size_t nSize);
    static void operator delete(void* p, size_t nSize) noexcept;

    static CQVTMarkupType* AFX_CDECL GetMarkupType();
    static void AFX_CDECL EnsureMarkupClass();

    // Releases the context's hold on this object first: it may be under the
    // mouse or have the capture.
    void OnFinalRelease() override;

    virtual CQVTMarkupType* GetType() const;
    virtual CQVTMarkupObject* GetLocalValue(CQVTMarkupDependencyProperty* pProperty);
    virtual UINT GetHashCode();
    virtual BOOL IsEqual(CQVTMarkupObject* pObject);
    virtual int GetLogicalChildrenCount();
    virtual CQVTMarkupObject* GetLogicalChild(int nIndex);
    // Content written inside this object's element.
    virtual void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent);
    // The caller keeps its own reference of pValue.
    virtual void SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                                   CQVTMarkupObject* pValue);
    // A new value converted from pSource, or null.
    virtual CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource);
    virtual BOOL HasContentObject();
    virtual BOOL AllowWhiteSpaceContent();
    virtual void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                                   CQVTMarkupObject* pNewValue);
    virtual void SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner);
    virtual void OnBuildFinished(CQVTMarkupBuilder* pBuilder);

    CQVTMarkupObject* GetLogicalParent() const { return m_pLogicalParent; }
    void SetLogicalParent(CQVTMarkupObject* pParent) { m_pLogicalParent = pParent; }
    // Puts pChild (its reference taken over) in a single-child slot of this
    // object and releases the one it replaces.
    template <class TChild>
    void ReplaceLogicalChild(TChild*& pSlot, TChild* pChild)
    {
        TChild* pOld = pSlot;
        if (pOld != nullptr)
            pOld->SetLogicalParent(nullptr);
        pSlot = pChild;
        if (pChild != nullptr)
            pChild->SetLogicalParent(this);
        if (pOld != nullptr)
            pOld->InternalRelease();
    }

    BOOL IsKindOf(CQVTMarkupType* pType) const;

    // Effective value, borrowed.
    CQVTMarkupObject* GetValue(CQVTMarkupDependencyProperty* pProperty);
    // Takes over the caller's reference of pValue; null clears.
    void SetValue(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue);
    void ClearValue(CQVTMarkupDependencyProperty* pProperty) { SetValue(pProperty, nullptr); }
    // This object or the ancestor whose local value is in effect, or null.
    CQVTMarkupObject* FindValueOwner(CQVTMarkupDependencyProperty* pProperty);
    CQVTMarkupProperties* GetProperties() const { return m_pProperties; }

    LPCWSTR GetName();
    CQVTMarkupObject* FindName(LPCWSTR lpszName);

    void SetSourceTag(LPCWSTR lpszTag);
    // The same with text that lives as long as the process (a type's tag).
    void SetStaticSourceTag(LPCWSTR lpszTag);
    LPCWSTR GetSourceTag() const { return m_lpszSourceTag; }
    void SetSourceNode(IDispatch* pNode);
    IDispatch* GetSourceNode() const { return m_pSourceNode; }
    BOOL HasExtensions() const { return m_pRare != nullptr && !m_pRare->arrExtensions.empty(); }

    // Extension objects written inside this element (they are not content).
    void AddExtension(CQVTMarkupObject* pExtension);

    // The context this object was made for; the object holds a reference.
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    void SetMarkupContext(CQVTMarkupContext* pContext);

    // Set on a prototype while it converts a text for that property.
    void SetAssociatedProperty(CQVTMarkupDependencyProperty* pProperty);
    CQVTMarkupDependencyProperty* GetAssociatedProperty() const
    {
        return m_pRare != nullptr ? m_pRare->pAssociatedProperty : nullptr;
    }

    // Set while the builder loads the object's element.
    BOOL IsLoading() const { return m_bLoading; }
    void SetLoading(BOOL bLoading) { m_bLoading = bLoading; }

    // The markup object behind an automation interface; an OLE exception with
    // E_INVALIDARG when there is none.
    static CQVTMarkupObject* AFX_CDECL FromDispatch(IDispatch* pDispatch, BOOL bAddRef);

    // Called when the process-wide registries let go of their objects at
    // exit: objects released from then on leave COM as it is, since ending
    // the main thread's apartment while the process exits loses its exit code.
    static void AFX_CDECL OnProcessShutdown();

    static CQVTMarkupDependencyProperty* m_pNameProperty;
    static CQVTMarkupDependencyProperty* m_pKeyProperty;

protected:
    // The context a conversion scales lengths for.
    CQVTMarkupContext* GetConversionContext(CQVTMarkupBuilder* pBuilder) const;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    CQVTMarkupObject* m_pLogicalParent;   // not counted
    CQVTMarkupProperties* m_pProperties;  // owned, made on the first value
    CQVTMarkupContext* m_pMarkupContext;  // one context reference
    IDispatch* m_pSourceNode;             // counted
    LPCWSTR m_lpszSourceTag;              // null without a tag
    // What few objects have, kept apart: a page makes thousands of objects,
    // and a smaller object is less memory to fetch when it is made and
    // released.
    struct CRareParts
    {
        std::vector<CQVTMarkupObject*> arrExtensions;                 // counted
        CString strSourceTag;                                         // a tag of its own, when not static
        CQVTMarkupDependencyProperty* pAssociatedProperty = nullptr;  // on prototypes only; not counted
    };
    std::unique_ptr<CRareParts> m_pRare;
    // The objects of a thread share one COM initialisation, made by the
    // first of them and undone by the last (when it was S_OK or S_FALSE).
    // Last, so that a derived class's first 32-bit field fills the padding.
    HRESULT m_hrComInit;  // that initialisation's result
    DWORD m_dwComThread;  // the thread it holds for, 0 when it holds none
    BOOL m_bLoading;
    CRareParts& RareParts();
};

// MarkupDynamicCast(type, object): the object when it is of that type, else null.
CQVTMarkupObject* AFXAPI MarkupDynamicCast(CQVTMarkupType* pType, CQVTMarkupObject* pObject);

template <class T>
T* MarkupCast(CQVTMarkupObject* pObject)
{
    return static_cast<T*>(MarkupDynamicCast(T::GetMarkupType(), pObject));
}

// Holds one reference of a new object across calls that may raise a builder
// error.
class CQVTMarkupAutoPtr
{
public:
    explicit CQVTMarkupAutoPtr(CQVTMarkupObject* pObject = nullptr) : m_pObject(pObject) {}
    ~CQVTMarkupAutoPtr();
    CQVTMarkupAutoPtr(const CQVTMarkupAutoPtr&) = delete;
    CQVTMarkupAutoPtr& operator=(const CQVTMarkupAutoPtr&) = delete;

    CQVTMarkupObject* Get() const { return m_pObject; }
    CQVTMarkupObject* operator->() const { return m_pObject; }
    operator CQVTMarkupObject*() const { return m_pObject; }
    // Hands the reference to the caller.
    CQVTMarkupObject* Detach();
    void Reset(CQVTMarkupObject* pObject = nullptr);

private:
    CQVTMarkupObject* m_pObject;
};
