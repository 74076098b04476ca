#include "toolkit/foundation/xml/QVTXmlDispatch.h"

#include <atomic>
#include <iterator>
#include <memory>
#include <utility>

#include "toolkit/foundation/core/QVTCriticalSection.h"

// {2933BF90-7B36-11D2-B20E-00C04F983E60}
const CLSID CLSID_QVTXmlDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const IID IID_QVTXmlDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace {
const CLSID kClsidDocumentList[] = {
    {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}},
    {0x88D969E5, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}},
    {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}},
    CLSID_QVTXmlDomDocument,
};
const IID kIidXmlDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// What a member's value comes back as when it is read straight through the
// object's own table of functions.
enum class CDirectResult
{
    None,  // only through IDispatch::Invoke
    Text,
    Long,
    Bool,
    Variant,
    Dispatch,
    Unknown,
};

// A member by type and name: its id, and for getters without arguments (or
// with one index) the slot in the object's function table. Those are called
// directly: the type library's generic Invoke, its argument coercion and
// copies were most of the time a walk over a document took.
struct CMemberInfo
{
    DISPID dispid = DISPID_UNKNOWN;
    CDirectResult result = CDirectResult::None;
    INVOKEKIND invkind = INVOKE_FUNC;
    BOOL bIndexed = FALSE;        // takes one 32-bit index before the result
    const void* pVtbl = nullptr;  // the function table the slot was checked against
    size_t nSlot = 0;             // index into that table
};

// The value kind an [out, retval] parameter of this type gives, through
// aliases and to the interfaces behind pointers.
CDirectResult DirectResultOf(ITypeInfo* pTypeInfo, const TYPEDESC& desc, BOOL bBehindPointer = FALSE,
                             int nDepth = 0)
{
    if (nDepth > 4)
        return CDirectResult::None;
    switch (desc.vt)
    {
    case VT_BSTR:
        return CDirectResult::Text;
    case VT_I4:
    case VT_INT:
        return CDirectResult::Long;
    case VT_BOOL:
        return CDirectResult::Bool;
    case VT_VARIANT:
        return CDirectResult::Variant;
    case VT_DISPATCH:
        return CDirectResult::Dispatch;
    case VT_UNKNOWN:
        return CDirectResult::Unknown;
    case VT_PTR:
    {
        // Only a pointer to an interface: anything else is not a value.
        const TYPEDESC& inner = *desc.lptdesc;
        return inner.vt == VT_USERDEFINED ? DirectResultOf(pTypeInfo, inner, TRUE, nDepth + 1)
                                          : CDirectResult::None;
    }
    case VT_USERDEFINED:
    {
        ITypeInfo* pRef = nullptr;
        if (FAILED(pTypeInfo->GetRefTypeInfo(desc.hreftype, &pRef)) || pRef == nullptr)
            return CDirectResult::None;
        CDirectResult result = CDirectResult::None;
        TYPEATTR* pAttr = nullptr;
        if (SUCCEEDED(pRef->GetTypeAttr(&pAttr)) && pAttr != nullptr)
        {
            switch (pAttr->typekind)
            {
            case TKIND_ENUM:
                result = bBehindPointer ? CDirectResult::None : CDirectResult::Long;
                break;
            case TKIND_ALIAS:
                result = DirectResultOf(pRef, pAttr->tdescAlias, bBehindPointer, nDepth + 1);
                break;
            case TKIND_DISPATCH:
                result = bBehindPointer ? CDirectResult::Dispatch : CDirectResult::None;
                break;
            case TKIND_INTERFACE:
                if (bBehindPointer)
                    result = (pAttr->wTypeFlags & TYPEFLAG_FDUAL) ? CDirectResult::Dispatch
                                                                  : CDirectResult::Unknown;
                break;
            default:
                break;
            }
            pRef->ReleaseTypeAttr(pAttr);
        }
        pRef->Release();
        return result;
    }
    default:
        return CDirectResult::None;
    }
}

// The interface side of a dual type (the dispatch side has no usable slots).
ITypeInfo* InterfaceTypeInfo(ITypeInfo* pTypeInfo, IID& iid)
{
    TYPEATTR* pAttr = nullptr;
    if (FAILED(pTypeInfo->GetTypeAttr(&pAttr)) || pAttr == nullptr)
        return nullptr;
    const TYPEKIND kind = pAttr->typekind;
    const BOOL bDual = (pAttr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
    iid = pAttr->guid;
    pTypeInfo->ReleaseTypeAttr(pAttr);
    if (kind == TKIND_INTERFACE)
    {
        pTypeInfo->AddRef();
        return pTypeInfo;
    }
    if (kind != TKIND_DISPATCH || !bDual)
        return nullptr;
    HREFTYPE href = 0;
    ITypeInfo* pInterface = nullptr;
    if (FAILED(pTypeInfo->GetRefTypeOfImplType(-1, &href)) ||
        FAILED(pTypeInfo->GetRefTypeInfo(href, &pInterface)))
        return nullptr;
    return pInterface;
}

// Looks for the getter behind the member's id among an interface's own
// functions, then among those it inherits.
void FindGetterSlot(ITypeInfo* pInterface, CMemberInfo& member, int nDepth = 0)
{
    TYPEATTR* pAttr = nullptr;
    if (nDepth > 8 || FAILED(pInterface->GetTypeAttr(&pAttr)) || pAttr == nullptr)
        return;
    const WORD nFuncs = pAttr->cFuncs;
    const WORD nBases = pAttr->cImplTypes;
    pInterface->ReleaseTypeAttr(pAttr);
    for (WORD i = 0; i < nFuncs && member.result == CDirectResult::None; ++i)
    {
        FUNCDESC* pFunc = nullptr;
        if (FAILED(pInterface->GetFuncDesc(i, &pFunc)) || pFunc == nullptr)
            continue;
        const BOOL bGetter = pFunc->invkind == INVOKE_PROPERTYGET || pFunc->invkind == INVOKE_FUNC;
        const BOOL bShape = pFunc->funckind == FUNC_PUREVIRTUAL && pFunc->callconv == CC_STDCALL &&
                            pFunc->cParamsOpt == 0 && (pFunc->cParams == 1 || pFunc->cParams == 2) &&
                            pFunc->elemdescFunc.tdesc.vt == VT_HRESULT && pFunc->oVft > 0 &&
                            pFunc->oVft % sizeof(void*) == 0;
        if (pFunc->memid == member.dispid && bGetter && bShape)
        {
            const ELEMDESC& last = pFunc->lprgelemdescParam[pFunc->cParams - 1];
            const ELEMDESC& first = pFunc->lprgelemdescParam[0];
            const BOOL bRetval =
                (last.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0 && last.tdesc.vt == VT_PTR;
            const BOOL bIndex =
                pFunc->cParams == 1 || ((first.tdesc.vt == VT_I4 || first.tdesc.vt == VT_INT) &&
                                        (first.paramdesc.wParamFlags & PARAMFLAG_FOUT) == 0);
            if (bRetval && bIndex)
            {
                member.result = DirectResultOf(pInterface, *last.tdesc.lptdesc);
                member.invkind = pFunc->invkind;
                member.bIndexed = pFunc->cParams == 2;
                member.nSlot = static_cast<size_t>(pFunc->oVft) / sizeof(void*);
            }
        }
        pInterface->ReleaseFuncDesc(pFunc);
    }
    if (member.result != CDirectResult::None || nBases == 0)
        return;
    HREFTYPE href = 0;
    ITypeInfo* pBase = nullptr;
    if (SUCCEEDED(pInterface->GetRefTypeOfImplType(0, &href)) &&
        SUCCEEDED(pInterface->GetRefTypeInfo(href, &pBase)) && pBase != nullptr)
    {
        FindGetterSlot(pBase, member, nDepth + 1);
        pBase->Release();
    }
}

// Finds the getter behind the member's id in the interface of pDispatch's
// type and records its slot, when pDispatch is that interface and its code
// stays loaded for the process.
void FindDirectGetter(IDispatch* pDispatch, ITypeInfo* pTypeInfo, CMemberInfo& member)
{
    IID iid = {};
    ITypeInfo* pInterface = InterfaceTypeInfo(pTypeInfo, iid);
    if (pInterface == nullptr)
        return;
    TYPEATTR* pAttr = nullptr;
    if (SUCCEEDED(pInterface->GetTypeAttr(&pAttr)) && pAttr != nullptr)
    {
        iid = pAttr->guid;
        pInterface->ReleaseTypeAttr(pAttr);
        FindGetterSlot(pInterface, member);
    }
    pInterface->Release();
    if (member.result == CDirectResult::None)
        return;
    // The object must be that interface itself, and the table's module must
    // never be unloaded while the table's address is remembered.
    IUnknown* pSame = nullptr;
    const BOOL bSame = SUCCEEDED(pDispatch->QueryInterface(iid, reinterpret_cast<void**>(&pSame))) &&
                       pSame == static_cast<IUnknown*>(pDispatch);
    if (pSame != nullptr)
        pSame->Release();
    const void* pVtbl = *reinterpret_cast<void* const*>(pDispatch);
    HMODULE hModule = nullptr;
    if (!bSame ||
        !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              static_cast<LPCWSTR>(pVtbl), &hModule))
    {
        member.result = CDirectResult::None;
        return;
    }
    member.pVtbl = pVtbl;
}

// Members by {type or function table, name}: open addressing over a table
// that stays at most half full, so a lookup hashes the name once and
// compares it once.
class CMemberTable
{
public:
    // ppszKnown, when given, receives the table's own copy of the name.
    const CMemberInfo* Find(const void* pKey, LPCOLESTR pszName, LPCOLESTR* ppszKnown = nullptr) const
    {
        if (m_slots.empty())
            return nullptr;
        const size_t nHash = Hash(pKey, pszName);
        for (size_t i = nHash & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1))
        {
            const CSlot& slot = m_slots[i];
            if (slot.pKey == nullptr)
                return nullptr;
            if (slot.nHash == nHash && slot.pKey == pKey && _tcscmp(slot.strName, pszName) == 0)
            {
                if (ppszKnown != nullptr)
                    *ppszKnown = slot.strName.GetString();
                return &slot.member;
            }
        }
    }
    void Add(const void* pKey, LPCOLESTR pszName, const CMemberInfo& member)
    {
        if ((m_nCount + 1) * 2 > m_slots.size())
            Grow();
        Place(CSlot{pKey, CString(pszName), Hash(pKey, pszName), member});
        ++m_nCount;
    }

private:
    struct CSlot
    {
        const void* pKey = nullptr;  // null for a free slot
        CString strName;
        size_t nHash = 0;
        CMemberInfo member;
    };
    static size_t Hash(const void* pKey, LPCOLESTR pszName)
    {
        size_t nHash = reinterpret_cast<size_t>(pKey) * 0x9E3779B97F4A7C15ull;
        for (LPCOLESTR p = pszName; *p != 0; ++p)
            nHash = (nHash ^ static_cast<size_t>(*p)) * 0x100000001B3ull;
        return nHash ^ (nHash >> 29);
    }
    void Place(CSlot slot)
    {
        size_t i = slot.nHash & (m_slots.size() - 1);
        while (m_slots[i].pKey != nullptr)
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = std::move(slot);
    }
    void Grow()
    {
        std::vector<CSlot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
        old.swap(m_slots);
        for (CSlot& slot : old)
        {
            if (slot.pKey != nullptr)
                Place(std::move(slot));
        }
    }

    std::vector<CSlot> m_slots;  // a power of two long
    size_t m_nCount = 0;
};

// The members a thread asked for last, by function table and the address of
// the name: callers name members with literals, so a repeated call finds its
// member without hashing the name. The name is still compared, as a buffer
// may hold another name the next time.
struct CRecentMember
{
    const void* pVtbl;
    LPCOLESTR pszName;
    LPCOLESTR pszKnown;          // the published table's copy of the name
    const CMemberInfo* pMember;  // in a published table, never freed
};
thread_local CRecentMember t_recentMembers[64] = {};

bool SameName(LPCOLESTR pszA, LPCOLESTR pszB)
{
    for (; *pszA == *pszB; ++pszA, ++pszB)
    {
        if (*pszA == 0)
            return true;
    }
    return false;
}

// Member ids by type and name. The DOM resolves a name by comparing it with
// every member of the type, case-insensitively, through the locale: that was
// most of the time a walk over a document took. Types are held for the
// process, so an address in the cache is never reused by another type.
class CDispidCache
{
public:
    CDispidCache()
    {
        m_tables.emplace_back(new CMemberTable());
        m_tables.emplace_back(new CMemberTable());
        m_pByType.store(m_tables[0].get());
        m_pDirect.store(m_tables[1].get());
    }

    HRESULT GetMember(IDispatch* pDispatch, LPCOLESTR pszName, CMemberInfo* pMember)
    {
        // A getter found for an object's function table serves every object
        // with that table, without asking for its type first.
        const void* pVtbl = *reinterpret_cast<void* const*>(pDispatch);
        const size_t nRecent =
            ((reinterpret_cast<size_t>(pVtbl) >> 4) ^ (reinterpret_cast<size_t>(pszName) >> 1)) &
            (_countof(t_recentMembers) - 1);
        CRecentMember& recent = t_recentMembers[nRecent];
        if (recent.pVtbl == pVtbl && recent.pszName == pszName && SameName(recent.pszKnown, pszName))
        {
            *pMember = *recent.pMember;
            return S_OK;
        }
        LPCOLESTR pszKnown = nullptr;
        if (const CMemberInfo* pFound =
                m_pDirect.load(std::memory_order_acquire)->Find(pVtbl, pszName, &pszKnown))
        {
            recent = {pVtbl, pszName, pszKnown, pFound};
            *pMember = *pFound;
            return S_OK;
        }
        ITypeInfo* pTypeInfo = nullptr;
        if (FAILED(pDispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &pTypeInfo)) || pTypeInfo == nullptr)
            return Resolve(pDispatch, pszName, &pMember->dispid);
        if (const CMemberInfo* pFound = m_pByType.load(std::memory_order_acquire)->Find(pTypeInfo, pszName))
        {
            pTypeInfo->Release();
            *pMember = *pFound;
            return S_OK;
        }
        CQVTCriticalSectionLock lock(m_cs);
        if (const CMemberInfo* pFound = m_pByType.load(std::memory_order_relaxed)->Find(pTypeInfo, pszName))
        {
            pTypeInfo->Release();
            *pMember = *pFound;
            return S_OK;
        }
        CMemberInfo member;
        const HRESULT hr = Resolve(pDispatch, pszName, &member.dispid);
        if (FAILED(hr))
        {
            pTypeInfo->Release();
            return hr;
        }
        FindDirectGetter(pDispatch, pTypeInfo, member);
        Publish(m_pByType, pTypeInfo, pszName, member);  // keeps the reference
        if (member.pVtbl != nullptr)
            Publish(m_pDirect, member.pVtbl, pszName, member);
        *pMember = member;
        return S_OK;
    }

    // The member published for a function table and name, called through
    // its slot; null when it has none.
    const CMemberInfo* FindDirect(const void* pVtbl, LPCOLESTR pszName) const
    {
        return m_pDirect.load(std::memory_order_acquire)->Find(pVtbl, pszName);
    }

private:
    static HRESULT Resolve(IDispatch* pDispatch, LPCOLESTR pszName, DISPID* pDispid)
    {
        LPOLESTR pszMember = const_cast<LPOLESTR>(pszName);
        return pDispatch->GetIDsOfNames(IID_NULL, &pszMember, 1, LOCALE_USER_DEFAULT, pDispid);
    }
    // Lookups take no lock: a table is never changed once published, an
    // addition publishes a copy, and replaced tables are kept, as a reader
    // may still be in one. There are a few dozen members in all.
    void Publish(std::atomic<const CMemberTable*>& pTable, const void* pKey, LPCOLESTR pszName,
                 const CMemberInfo& member)
    {
        std::unique_ptr<CMemberTable> pCopy(new CMemberTable(*pTable.load(std::memory_order_relaxed)));
        pCopy->Add(pKey, pszName, member);
        m_tables.push_back(std::move(pCopy));
        pTable.store(m_tables.back().get(), std::memory_order_release);
    }

    CQVTCriticalSection m_cs;                             // held while adding
    std::vector<std::unique_ptr<CMemberTable>> m_tables;  // every table published
    // By type (holding a reference to it), and by function table for the
    // getters that are called through one.
    std::atomic<const CMemberTable*> m_pByType{nullptr};
    std::atomic<const CMemberTable*> m_pDirect{nullptr};
};

CDispidCache& DispidCache()
{
    // Never destroyed: the types it holds belong to COM, which is gone at exit.
    static CDispidCache* s_pCache = new CDispidCache();
    return *s_pCache;
}

// Reads a getter through its slot; FALSE when the call does not fit it.
BOOL CallDirect(IDispatch* pDispatch, const CMemberInfo& member, WORD wFlags, const VARIANT* pArgs,
                size_t nArgs, VARIANT* pResult, HRESULT* phr)
{
    if (member.result == CDirectResult::None || *reinterpret_cast<void* const*>(pDispatch) != member.pVtbl)
        return FALSE;
    const BOOL bKind = member.invkind == INVOKE_PROPERTYGET ? (wFlags & DISPATCH_PROPERTYGET) != 0
                                                            : (wFlags & DISPATCH_METHOD) != 0;
    if (!bKind || (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
        return FALSE;
    if (member.bIndexed ? nArgs != 1 || V_VT(&pArgs[0]) != VT_I4 : nArgs != 0)
        return FALSE;
    void* pSlot = (*reinterpret_cast<void** const*>(pDispatch))[member.nSlot];
    union
    {
        BSTR bstr;
        LONG nValue;
        VARIANT_BOOL bValue;
        IUnknown* pUnknown;
        VARIANT var;
    } out;
    memset(&out, 0, sizeof(out));
    HRESULT hr;
    if (member.bIndexed)
        hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IDispatch*, LONG, void*)>(pSlot)(
            pDispatch, V_I4(&pArgs[0]), &out);
    else
        hr = reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IDispatch*, void*)>(pSlot)(pDispatch, &out);
    VARIANT result;
    ::VariantInit(&result);
    if (SUCCEEDED(hr))
    {
        switch (member.result)
        {
        case CDirectResult::Text:
            // Invoke hands out an empty text where the member gave none.
            V_VT(&result) = VT_BSTR;
            V_BSTR(&result) = out.bstr != nullptr ? out.bstr : ::SysAllocString(u"");
            break;
        case CDirectResult::Long:
            V_VT(&result) = VT_I4;
            V_I4(&result) = out.nValue;
            break;
        case CDirectResult::Bool:
            V_VT(&result) = VT_BOOL;
            V_BOOL(&result) = out.bValue;
            break;
        case CDirectResult::Variant:
            result = out.var;
            break;
        case CDirectResult::Dispatch:
            V_VT(&result) = VT_DISPATCH;
            V_DISPATCH(&result) = static_cast<IDispatch*>(static_cast<void*>(out.pUnknown));
            break;
        default:
            V_VT(&result) = VT_UNKNOWN;
            V_UNKNOWN(&result) = out.pUnknown;
            break;
        }
    }
    else
    {
        // As Invoke reports a member's failure.
        hr = DISP_E_EXCEPTION;
    }
    if (pResult != nullptr)
        *pResult = result;
    else
        ::VariantClear(&result);
    *phr = hr;
    return TRUE;
}
}  // namespace

namespace {
// The arguments in written order.
HRESULT InvokeMember(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, const VARIANT* pArgs, size_t nArgs,
                     VARIANT* pResult)
{
    if (pResult != nullptr)
        ::VariantInit(pResult);
    if (pDispatch == nullptr)
        return E_POINTER;
    CMemberInfo member;
    HRESULT hr = DispidCache().GetMember(pDispatch, pszName, &member);
    if (FAILED(hr))
        return hr;
    if (CallDirect(pDispatch, member, wFlags, pArgs, nArgs, pResult, &hr))
        return hr;
    const DISPID dispid = member.dispid;
    std::vector<VARIANTARG> reversed(std::reverse_iterator<const VARIANT*>(pArgs + nArgs),
                                     std::reverse_iterator<const VARIANT*>(pArgs));
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                         static_cast<UINT>(reversed.size()), 0};
    DISPID dispidPut = DISPID_PROPERTYPUT;
    if (wFlags & DISPATCH_PROPERTYPUT)
    {
        params.rgdispidNamedArgs = &dispidPut;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO excep = {};
    UINT nArgErr = 0;
    hr = pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params, &result, &excep, &nArgErr);
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    if (pResult != nullptr)
        *pResult = result;
    else
        ::VariantClear(&result);
    return hr;
}

// The object in a result, or null; the result is used up.
IDispatchPtr ObjectOfResult(VARIANT& result)
{
    IDispatchPtr pObject;
    if (result.vt == VT_DISPATCH && result.pdispVal != nullptr)
    {
        pObject.Attach(result.pdispVal, false);
        return pObject;
    }
    if (result.vt == VT_UNKNOWN && result.punkVal != nullptr)
    {
        IDispatch* p = nullptr;
        if (SUCCEEDED(result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&p))))
            pObject.Attach(p, false);
    }
    ::VariantClear(&result);
    return pObject;
}
}  // namespace

HRESULT AFXAPI XmlInvoke(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, std::vector<_variant_t> args,
                         VARIANT* pResult)
{
    return InvokeMember(pDispatch, pszName, wFlags, args.empty() ? nullptr : &args[0], args.size(), pResult);
}

HRESULT AFXAPI XmlGetValue(IDispatch* pDispatch, LPCOLESTR pszName, VARIANT* pResult)
{
    return InvokeMember(pDispatch, pszName, DISPATCH_PROPERTYGET, nullptr, 0, pResult);
}

IDispatchPtr AFXAPI XmlGetItem(IDispatch* pDispatch, LPCOLESTR pszName, long nIndex)
{
    VARIANT index;
    V_VT(&index) = VT_I4;
    V_I4(&index) = nIndex;
    VARIANT result;
    if (FAILED(InvokeMember(pDispatch, pszName, QVT_XML_CALL, &index, 1, &result)))
        return IDispatchPtr();
    return ObjectOfResult(result);
}

IDispatchPtr AFXAPI XmlGetObject(IDispatch* pDispatch, LPCOLESTR pszName, std::vector<_variant_t> args)
{
    VARIANT result;
    if (FAILED(InvokeMember(pDispatch, pszName, QVT_XML_CALL, args.empty() ? nullptr : &args[0], args.size(),
                            &result)))
        return IDispatchPtr();
    return ObjectOfResult(result);
}

BOOL AFXAPI XmlGetString(IDispatch* pDispatch, LPCOLESTR pszName, CString& strValue)
{
    VARIANT result;
    if (FAILED(XmlGetValue(pDispatch, pszName, &result)))
        return FALSE;
    BOOL bText = result.vt == VT_BSTR;
    if (bText)
        strValue = result.bstrVal != nullptr
                       ? CString(result.bstrVal, static_cast<int>(::SysStringLen(result.bstrVal)))
                       : CString();
    ::VariantClear(&result);
    return bText;
}

BOOL AFXAPI XmlGetLong(IDispatch* pDispatch, LPCOLESTR pszName, long& nValue)
{
    VARIANT result;
    if (FAILED(XmlGetValue(pDispatch, pszName, &result)))
        return FALSE;
    if (result.vt == VT_I4)
    {
        nValue = result.lVal;
        return TRUE;
    }
    VARIANT converted;
    ::VariantInit(&converted);
    BOOL bConverted = SUCCEEDED(::VariantChangeType(&converted, &result, 0, VT_I4));
    if (bConverted)
        nValue = converted.lVal;
    ::VariantClear(&converted);
    ::VariantClear(&result);
    return bConverted;
}

BOOL AFXAPI XmlPutProperty(IDispatch* pDispatch, LPCOLESTR pszName, const _variant_t& value)
{
    return SUCCEEDED(XmlInvoke(pDispatch, pszName, DISPATCH_PROPERTYPUT, {value}, nullptr));
}

IDispatchPtr AFXAPI XmlSelectSingleNode(IDispatch* pNode, LPCWSTR pszPattern)
{
    return XmlGetObject(pNode, u"selectSingleNode", {_variant_t(pszPattern)});
}

BOOL AFXAPI XmlAppendChild(IDispatch* pParent, IDispatch* pChild)
{
    VARIANT result;
    HRESULT hr = XmlInvoke(pParent, u"appendChild", QVT_XML_CALL, {_variant_t(pChild)}, &result);
    ::VariantClear(&result);
    return SUCCEEDED(hr);
}

IDispatchPtr AFXAPI XmlCreateElement(IDispatch* pDocument, LPCWSTR pszName)
{
    return XmlGetObject(pDocument, u"createElement", {_variant_t(pszName)});
}

void AFXAPI XmlSetDocumentProperty(IDispatch* pDocument, LPCWSTR pszName, const _variant_t& value)
{
    XmlInvoke(pDocument, u"setProperty", DISPATCH_METHOD, {_variant_t(pszName), value}, nullptr);
}

IDispatchPtr AFXAPI CreateXmlDocument(BOOL bSingleClass, const CLSID* pClsid, DWORD dwTrueSet,
                                      DWORD dwFalseSet)
{
    std::vector<CLSID> classes;
    if (bSingleClass)
        classes.push_back(pClsid != nullptr ? *pClsid : CLSID_QVTXmlDomDocument);
    else
        classes.assign(std::begin(kClsidDocumentList), std::end(kClsidDocumentList));

    IDispatchPtr pDocument;
    for (const CLSID& clsid : classes)
    {
        IUnknown* pUnknown = nullptr;
        if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                      reinterpret_cast<void**>(&pUnknown))))
            continue;
        ::OleRun(pUnknown);
        IDispatch* p = nullptr;
        if (SUCCEEDED(pUnknown->QueryInterface(IID_QVTXmlDomDocument, reinterpret_cast<void**>(&p))) &&
            p != nullptr)
            pDocument.Attach(p, false);
        pUnknown->Release();
        if (pDocument != nullptr)
            break;
    }
    if (pDocument == nullptr)
        return pDocument;

    IUnknown* pDocument2 = nullptr;
    if (FAILED(pDocument->QueryInterface(kIidXmlDocument2, reinterpret_cast<void**>(&pDocument2))) ||
        pDocument2 == nullptr)
        return pDocument;
    pDocument2->Release();

    static const LPCWSTR kNames[] = {u"AllowDocumentFunction",
                                     u"AllowXsltScript",
                                     u"ForcedResync",
                                     u"MultipleErrorMessages",
                                     u"NewParser",
                                     u"NormalizeAttributeValues",
                                     u"PopulateElementDefaultValues",
                                     u"ProhibitDTD",
                                     u"ResolveExternals",
                                     u"ServerHTTPRequest",
                                     u"UseInlineSchema",
                                     u"ValidateOnParse"};
    for (int i = 0; i < 12; ++i)
    {
        if (dwTrueSet & (1u << i))
            XmlSetDocumentProperty(pDocument, kNames[i], _variant_t(true));
    }
    if (dwTrueSet & QVT_XML_SELECTION_XPATH)
        XmlSetDocumentProperty(pDocument, u"SelectionLanguage", _variant_t(u"XPath"));
    if (dwTrueSet & QVT_XML_SELECTION_XSLPATTERN)
        XmlSetDocumentProperty(pDocument, u"SelectionLanguage", _variant_t(u"XSLPattern"));
    for (int i = 0; i < 12; ++i)
    {
        if (dwFalseSet & (1u << i))
            XmlSetDocumentProperty(pDocument, kNames[i], _variant_t(false));
    }
    return pDocument;
}

namespace {
// Calls a remembered getter through its slot into *pOut.
template <class T>
HRESULT CallSlot(IDispatch* pDispatch, const CMemberInfo& member, T* pOut)
{
    void* pSlot = (*reinterpret_cast<void** const*>(pDispatch))[member.nSlot];
    return reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IDispatch*, T*)>(pSlot)(pDispatch, pOut);
}

IDispatchPtr ObjectOfSlot(IUnknown* pUnknown, CDirectResult result)
{
    IDispatchPtr pObject;
    if (pUnknown == nullptr)
        return pObject;
    if (result == CDirectResult::Dispatch)
    {
        pObject.Attach(static_cast<IDispatch*>(static_cast<void*>(pUnknown)), false);
        return pObject;
    }
    IDispatch* p = nullptr;
    if (SUCCEEDED(pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&p))))
        pObject.Attach(p, false);
    pUnknown->Release();
    return pObject;
}
}  // namespace

const void* CQVTXmlGetter::FindKnown(IDispatch* pDispatch) const
{
    const void* pVtbl = *reinterpret_cast<void* const*>(pDispatch);
    for (const std::atomic<const void*>& known : m_known)
    {
        const CMemberInfo* pMember = static_cast<const CMemberInfo*>(known.load(std::memory_order_acquire));
        if (pMember == nullptr)
            break;
        if (pMember->pVtbl == pVtbl)
            return pMember;
    }
    return nullptr;
}

void CQVTXmlGetter::Remember(IDispatch* pDispatch) const
{
    CMemberInfo member;
    if (FAILED(DispidCache().GetMember(pDispatch, m_pszName, &member)) || member.pVtbl == nullptr)
        return;
    const CMemberInfo* pFound = DispidCache().FindDirect(member.pVtbl, m_pszName);
    if (pFound == nullptr)
        return;
    for (std::atomic<const void*>& known : m_known)
    {
        const void* pExpected = nullptr;
        if (known.compare_exchange_strong(pExpected, pFound, std::memory_order_acq_rel) ||
            pExpected == pFound)
            return;
    }
}

IDispatchPtr CQVTXmlGetter::ReadObject(IDispatch* pDispatch) const
{
    if (pDispatch == nullptr)
        return IDispatchPtr();
    const CMemberInfo* pMember = static_cast<const CMemberInfo*>(FindKnown(pDispatch));
    if (pMember != nullptr && !pMember->bIndexed &&
        (pMember->result == CDirectResult::Dispatch || pMember->result == CDirectResult::Unknown))
    {
        IUnknown* pUnknown = nullptr;
        if (FAILED(CallSlot(pDispatch, *pMember, &pUnknown)))
            return IDispatchPtr();
        return ObjectOfSlot(pUnknown, pMember->result);
    }
    IDispatchPtr pObject = XmlGetObject(pDispatch, m_pszName);
    if (pMember == nullptr)
        Remember(pDispatch);
    return pObject;
}

IDispatchPtr CQVTXmlGetter::ReadItem(IDispatch* pDispatch, long nIndex) const
{
    if (pDispatch == nullptr)
        return IDispatchPtr();
    const CMemberInfo* pMember = static_cast<const CMemberInfo*>(FindKnown(pDispatch));
    if (pMember != nullptr && pMember->bIndexed &&
        (pMember->result == CDirectResult::Dispatch || pMember->result == CDirectResult::Unknown))
    {
        void* pSlot = (*reinterpret_cast<void** const*>(pDispatch))[pMember->nSlot];
        IUnknown* pUnknown = nullptr;
        if (FAILED(reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IDispatch*, LONG, IUnknown**)>(pSlot)(
                pDispatch, nIndex, &pUnknown)))
            return IDispatchPtr();
        return ObjectOfSlot(pUnknown, pMember->result);
    }
    IDispatchPtr pObject = XmlGetItem(pDispatch, m_pszName, nIndex);
    if (pMember == nullptr)
        Remember(pDispatch);
    return pObject;
}

BSTR CQVTXmlGetter::ReadText(IDispatch* pDispatch) const
{
    if (pDispatch == nullptr)
        return nullptr;
    const CMemberInfo* pMember = static_cast<const CMemberInfo*>(FindKnown(pDispatch));
    if (pMember != nullptr && !pMember->bIndexed && pMember->invkind == INVOKE_PROPERTYGET)
    {
        if (pMember->result == CDirectResult::Text)
        {
            BSTR bstr = nullptr;
            if (FAILED(CallSlot(pDispatch, *pMember, &bstr)))
            {
                ::SysFreeString(bstr);
                return nullptr;
            }
            return bstr;
        }
        if (pMember->result == CDirectResult::Variant)
        {
            // A node's value comes as a variant: text for texts and attributes.
            VARIANT value;
            ::VariantInit(&value);
            if (SUCCEEDED(CallSlot(pDispatch, *pMember, &value)) && V_VT(&value) == VT_BSTR)
                return V_BSTR(&value);
            ::VariantClear(&value);
            return nullptr;
        }
    }
    VARIANT result;
    BSTR bstr = nullptr;
    if (SUCCEEDED(XmlGetValue(pDispatch, m_pszName, &result)))
    {
        if (result.vt == VT_BSTR)
            bstr = result.bstrVal;
        else
            ::VariantClear(&result);
    }
    if (pMember == nullptr)
        Remember(pDispatch);
    return bstr;
}

BOOL CQVTXmlGetter::ReadLong(IDispatch* pDispatch, long& nValue) const
{
    if (pDispatch == nullptr)
        return FALSE;
    const CMemberInfo* pMember = static_cast<const CMemberInfo*>(FindKnown(pDispatch));
    if (pMember != nullptr && !pMember->bIndexed && pMember->result == CDirectResult::Long &&
        pMember->invkind == INVOKE_PROPERTYGET)
    {
        LONG nResult = 0;
        if (FAILED(CallSlot(pDispatch, *pMember, &nResult)))
            return FALSE;
        nValue = nResult;
        return TRUE;
    }
    const BOOL bRead = XmlGetLong(pDispatch, m_pszName, nValue);
    if (pMember == nullptr)
        Remember(pDispatch);
    return bRead;
}
