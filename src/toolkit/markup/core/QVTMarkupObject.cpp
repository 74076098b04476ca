#include "toolkit/markup/core/QVTMarkupObject.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupProperties.h"
#include "toolkit/markup/core/QVTMarkupObjectHeap.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_DYNAMIC(CQVTMarkupObject, CQVTCmdTarget)

CQVTMarkupDependencyProperty* CQVTMarkupObject::m_pNameProperty = nullptr;

namespace {
BOOL g_bProcessShuttingDown = FALSE;

// A thread's markup objects and the COM initialisation they share: one
// CoInitialize and CoUninitialize per object were a tenth of building a
// page and releasing it.
struct CThreadComHold
{
    LONG nHolders;
    HRESULT hrInit;
};
thread_local CThreadComHold t_comHold = {0, E_FAIL};
}  // namespace

void AFX_CDECL CQVTMarkupObject::OnProcessShutdown()
{
    g_bProcessShuttingDown = TRUE;
}
CQVTMarkupDependencyProperty* CQVTMarkupObject::m_pKeyProperty = nullptr;

CQVTMarkupType* AFX_CDECL CQVTMarkupObject::GetMarkupType()
{
    static CQVTMarkupType* s_pType =
        new CQVTMarkupType(nullptr, u"CQVTMarkupObject", &QVTCreateMarkupObject<CQVTMarkupObject>, nullptr,
                           &CQVTMarkupObject::RegisterMarkupProperties);
    return s_pType;
}

void AFX_CDECL CQVTMarkupObject::EnsureMarkupClass()
{
    CQVTMarkupType::EnsureRegistered(GetMarkupType());
}

[[maybe_unused]] static const int s_nMarkupClassCQVTMarkupObject =
    RegisterMarkupClass(nullptr, &CQVTMarkupObject::GetMarkupType);

void AFX_CDECL CQVTMarkupObject::RegisterMarkupProperties()
{
    CQVTMarkupString::EnsureMarkupClass();
    m_pNameProperty =
        CQVTMarkupDependencyProperty::Register(u"Name", CQVTMarkupString::GetMarkupType(), GetMarkupType());
    m_pKeyProperty =
        CQVTMarkupDependencyProperty::Register(u"Key", CQVTMarkupObject::GetMarkupType(), GetMarkupType());
}

CQVTMarkupObject::CQVTMarkupObject(DWORD dwFlags)
    : m_pLogicalParent(nullptr), m_pProperties(nullptr), m_pMarkupContext(nullptr), m_pSourceNode(nullptr),
      m_lpszSourceTag(nullptr), m_hrComInit(E_FAIL), m_dwComThread(0), m_bLoading(FALSE)
{
    EnableAutomation();
    if ((dwFlags & flagNoComInit) == 0)
    {
        if (t_comHold.nHolders++ == 0)
            t_comHold.hrInit = ::CoInitialize(nullptr);
        m_hrComInit = t_comHold.hrInit;
        m_dwComThread = ::GetCurrentThreadId();
    }
}

CQVTMarkupObject::~CQVTMarkupObject()
{
    if (m_pSourceNode != nullptr)
        m_pSourceNode->Release();
    if (m_pRare != nullptr)
    {
        m_pRare->strSourceTag.Empty();
        for (CQVTMarkupObject* pExtension : m_pRare->arrExtensions)
            pExtension->InternalRelease();
        m_pRare->arrExtensions.clear();
    }
    if (m_pProperties != nullptr)
    {
        CQVTMarkupProperties* pProperties = m_pProperties;
        m_pProperties = nullptr;
        pProperties->InternalRelease();
    }
    // RPC_E_CHANGED_MODE and other failures initialised nothing to undo. An
    // object released on another thread leaves that thread's COM alone, and
    // its own thread keeps its initialisation until the thread ends.
    if (m_dwComThread != 0 && m_dwComThread == ::GetCurrentThreadId() && --t_comHold.nHolders == 0 &&
        (m_hrComInit == S_OK || m_hrComInit == S_FALSE) && !g_bProcessShuttingDown)
        ::CoUninitialize();
}

void* CQVTMarkupObject::operator new(size_t nSize)
{
    return QVTMarkupObjectHeap::Allocate(nSize);
}

void CQVTMarkupObject::operator delete(void* p, size_t nSize) noexcept
{
    QVTMarkupObjectHeap::Free(p, nSize);
}

void CQVTMarkupObject::OnFinalRelease()
{
    if (m_pMarkupContext != nullptr)
    {
        CQVTMarkupContext* pContext = m_pMarkupContext;
        m_pMarkupContext = nullptr;
        pContext->OnElementReleased(this);
    }
    delete this;
}

CQVTMarkupType* CQVTMarkupObject::GetType() const
{
    return GetMarkupType();
}

CQVTMarkupObject* CQVTMarkupObject::GetLocalValue(CQVTMarkupDependencyProperty* pProperty)
{
    return m_pProperties != nullptr ? m_pProperties->Get(pProperty) : nullptr;
}

UINT CQVTMarkupObject::GetHashCode()
{
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(this));
}

BOOL CQVTMarkupObject::IsEqual(CQVTMarkupObject* pObject)
{
    return pObject == this;
}

int CQVTMarkupObject::GetLogicalChildrenCount()
{
    return 0;
}

CQVTMarkupObject* CQVTMarkupObject::GetLogicalChild(int)
{
    return nullptr;
}

void CQVTMarkupObject::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent))
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"Cannot convert the string '%ls' into a '%ls' object",
                                                   pString->GetText(), GetType()->GetClassName());
    CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"Cannot add content to an object of type '%ls'",
                                               GetType()->GetClassName());
}

void CQVTMarkupObject::SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                                         CQVTMarkupObject* pValue)
{
    if (pProperty == nullptr)
        return;
    if (pValue != nullptr && !pValue->IsKindOf(pProperty->GetPropertyType()))
    {
        CQVTMarkupObject* pConverted =
            CQVTMarkupBuilder::ConvertValue(pBuilder, GetConversionContext(pBuilder), pProperty, pValue);
        SetValue(pProperty, pConverted);
        return;
    }
    if (pValue != nullptr)
        pValue->InternalAddRef();
    SetValue(pProperty, pValue);
}

CQVTMarkupObject* CQVTMarkupObject::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject*)
{
    return nullptr;
}

BOOL CQVTMarkupObject::HasContentObject()
{
    return FALSE;
}

BOOL CQVTMarkupObject::AllowWhiteSpaceContent()
{
    return FALSE;
}

void CQVTMarkupObject::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                                         CQVTMarkupObject* pNewValue)
{
    CQVTMarkupPropertyMetadata* pMetadata = pProperty != nullptr ? pProperty->GetMetadata() : nullptr;
    if (pMetadata != nullptr && pMetadata->m_pfnChanged != nullptr)
    {
        CQVTMarkupPropertyChangedEventArgs args = {pProperty, pOldValue, pNewValue};
        pMetadata->m_pfnChanged(this, &args);
    }
}

void CQVTMarkupObject::SetOwnerObject(CQVTMarkupDependencyProperty*, CQVTMarkupObject*) {}

void CQVTMarkupObject::OnBuildFinished(CQVTMarkupBuilder*) {}

BOOL CQVTMarkupObject::IsKindOf(CQVTMarkupType* pType) const
{
    return pType != nullptr && GetType()->IsDerivedFrom(pType);
}

namespace {
// Tells every logical descendant of the property's owner class about an
// inherited change, depth-first in child order. Depth is bounded by the
// builder's nesting limit.
void PushInheritedChange(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty,
                         CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    const int nCount = pObject->GetLogicalChildrenCount();
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupObject* pChild = pObject->GetLogicalChild(i);
        if (pChild == nullptr)
            continue;
        if (pChild->IsKindOf(pProperty->GetOwnerType()))
            pChild->OnPropertyChanged(pProperty, pOldValue, pNewValue);
        PushInheritedChange(pChild, pProperty, pOldValue, pNewValue);
    }
}
}  // namespace

CQVTMarkupObject* CQVTMarkupObject::GetValue(CQVTMarkupDependencyProperty* pProperty)
{
    if (pProperty == nullptr)
        return nullptr;
    if (CQVTMarkupObject* pValue = GetLocalValue(pProperty))
        return pValue;
    CQVTMarkupPropertyMetadata* pMetadata = pProperty->GetMetadata();
    if (pMetadata == nullptr)
        return nullptr;
    if (pMetadata->m_dwFlags & QVT_MARKUP_INHERITS)
    {
        for (CQVTMarkupObject* pParent = m_pLogicalParent; pParent != nullptr;
             pParent = pParent->GetLogicalParent())
        {
            if (CQVTMarkupObject* pValue = pParent->GetLocalValue(pProperty))
                return pValue;
        }
    }
    return pMetadata->m_pDefaultValue;
}

void CQVTMarkupObject::SetValue(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue)
{
    if (pProperty == nullptr)
        return;
    if (pValue != nullptr)
    {
        if (!pValue->IsKindOf(pProperty->GetPropertyType()))
            return;
        if (m_pProperties == nullptr)
            m_pProperties = new CQVTMarkupProperties(this);
    }
    if (m_pProperties == nullptr)
        return;

    CQVTMarkupAutoPtr oldValue(GetValue(pProperty));
    if (oldValue != nullptr)
        oldValue->InternalAddRef();
    if (pValue == nullptr && oldValue == nullptr)
    {
        m_pProperties->Clear(pProperty);
        return;
    }
    const BOOL bEqual = pValue != nullptr && oldValue != nullptr && pValue->IsEqual(oldValue);
    m_pProperties->Set(pProperty, pValue);
    if (pValue != nullptr)
    {
        pValue->SetOwnerObject(pProperty, this);
        if (bEqual)
            return;
    }
    CQVTMarkupObject* pNewValue = GetValue(pProperty);
    OnPropertyChanged(pProperty, oldValue, pNewValue);
    CQVTMarkupPropertyMetadata* pMetadata = pProperty->GetMetadata();
    if (pMetadata != nullptr && (pMetadata->m_dwFlags & QVT_MARKUP_INHERITS))
        PushInheritedChange(this, pProperty, oldValue, pNewValue);
}

CQVTMarkupObject* CQVTMarkupObject::FindValueOwner(CQVTMarkupDependencyProperty* pProperty)
{
    if (pProperty == nullptr)
        return nullptr;
    if (GetLocalValue(pProperty) != nullptr)
        return this;
    CQVTMarkupPropertyMetadata* pMetadata = pProperty->GetMetadata();
    if (pMetadata == nullptr || (pMetadata->m_dwFlags & QVT_MARKUP_INHERITS) == 0)
        return nullptr;
    for (CQVTMarkupObject* pParent = m_pLogicalParent; pParent != nullptr;
         pParent = pParent->GetLogicalParent())
    {
        if (pParent->GetLocalValue(pProperty) != nullptr)
            return pParent;
    }
    return nullptr;
}

LPCWSTR CQVTMarkupObject::GetName()
{
    CQVTMarkupString* pName = MarkupCast<CQVTMarkupString>(GetValue(m_pNameProperty));
    return pName != nullptr ? pName->GetText() : nullptr;
}

CQVTMarkupObject* CQVTMarkupObject::FindName(LPCWSTR lpszName)
{
    if (lpszName == nullptr)
        return nullptr;
    LPCWSTR lpszOwn = GetName();
    if (lpszOwn != nullptr && _tcscmp(lpszOwn, lpszName) == 0)
        return this;
    const int nCount = GetLogicalChildrenCount();
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupObject* pChild = GetLogicalChild(i);
        if (pChild == nullptr)
            continue;
        if (CQVTMarkupObject* pFound = pChild->FindName(lpszName))
            return pFound;
    }
    return nullptr;
}

void CQVTMarkupObject::SetAssociatedProperty(CQVTMarkupDependencyProperty* pProperty)
{
    if (pProperty != nullptr || m_pRare != nullptr)
        RareParts().pAssociatedProperty = pProperty;
}

CQVTMarkupObject::CRareParts& CQVTMarkupObject::RareParts()
{
    if (m_pRare == nullptr)
        m_pRare.reset(new CRareParts());
    return *m_pRare;
}

void CQVTMarkupObject::SetSourceTag(LPCWSTR lpszTag)
{
    if (lpszTag == nullptr)
    {
        SetStaticSourceTag(nullptr);
        return;
    }
    CString& strTag = RareParts().strSourceTag;
    strTag = lpszTag;
    m_lpszSourceTag = strTag.GetString();
}

void CQVTMarkupObject::SetStaticSourceTag(LPCWSTR lpszTag)
{
    if (m_pRare != nullptr)
        m_pRare->strSourceTag.Empty();
    m_lpszSourceTag = lpszTag;
}

void CQVTMarkupObject::SetSourceNode(IDispatch* pNode)
{
    if (pNode != nullptr)
        pNode->AddRef();
    if (m_pSourceNode != nullptr)
        m_pSourceNode->Release();
    m_pSourceNode = pNode;
}

void CQVTMarkupObject::AddExtension(CQVTMarkupObject* pExtension)
{
    if (pExtension == nullptr)
        return;
    pExtension->InternalAddRef();
    RareParts().arrExtensions.push_back(pExtension);
}

void CQVTMarkupObject::SetMarkupContext(CQVTMarkupContext* pContext)
{
    if (pContext == m_pMarkupContext)
        return;
    if (pContext != nullptr)
        pContext->AddRef();
    if (m_pMarkupContext != nullptr)
        m_pMarkupContext->Release();
    m_pMarkupContext = pContext;
}

CQVTMarkupContext* CQVTMarkupObject::GetConversionContext(CQVTMarkupBuilder* pBuilder) const
{
    if (pBuilder != nullptr && pBuilder->GetMarkupContext() != nullptr)
        return pBuilder->GetMarkupContext();
    return m_pMarkupContext;
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupObject::FromDispatch(IDispatch* pDispatch, BOOL bAddRef)
{
    CQVTMarkupObject* pObject = dynamic_cast<CQVTMarkupObject*>(CCmdTarget::FromIDispatch(pDispatch));
    if (pObject == nullptr)
        AfxThrowOleException(E_INVALIDARG);
    if (bAddRef)
        pObject->InternalAddRef();
    return pObject;
}

CQVTMarkupObject* AFXAPI MarkupDynamicCast(CQVTMarkupType* pType, CQVTMarkupObject* pObject)
{
    return pObject != nullptr && pObject->IsKindOf(pType) ? pObject : nullptr;
}

CQVTMarkupAutoPtr::~CQVTMarkupAutoPtr()
{
    Reset();
}

CQVTMarkupObject* CQVTMarkupAutoPtr::Detach()
{
    CQVTMarkupObject* pObject = m_pObject;
    m_pObject = nullptr;
    return pObject;
}

void CQVTMarkupAutoPtr::Reset(CQVTMarkupObject* pObject)
{
    CQVTMarkupObject* pOld = m_pObject;
    m_pObject = pObject;
    if (pOld != nullptr)
        pOld->InternalRelease();
}
