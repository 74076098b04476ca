// Automation: the IDispatch of a command target, invoking members through
// its dispatch map.
#include <afxwin.h>

namespace {
// Thrown by GetNotSupported/SetNotSupported; Invoke turns it into an error.
struct NotSupported
{};

// The controls' "set not supported" code (facility control, 383).
const SCODE kSetNotSupported = static_cast<SCODE>(0x800A017F);

CCmdTarget* OwnerOf(CCmdTarget::XDispatch* pDispatch)
{
    return reinterpret_cast<CCmdTarget*>(reinterpret_cast<BYTE*>(pDispatch) -
                                         offsetof(CCmdTarget, m_xDispatch));
}

bool IsProperty(const AFX_DISPMAP_ENTRY* pEntry)
{
    return pEntry->lpszParams == nullptr;
}

// Walks a dispatch map and its bases up to the first entry that `match`
// takes, given each entry's DISPID: custom ids are used as given; the others
// are numbered by their position in their map (low word, from 1) and the
// map's depth (high word).
template <class Match>
const AFX_DISPMAP_ENTRY* FindDispEntry(const AFX_DISPMAP* pMap, DISPID* pId, Match match)
{
    for (WORD nDepth = 0; pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr, ++nDepth)
    {
        WORD nIndex = 0;
        for (const AFX_DISPMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nPropOffset != (size_t)-1; ++pEntry)
        {
            ++nIndex;
            DISPID id =
                pEntry->lDispID != DISPID_UNKNOWN ? pEntry->lDispID : (DISPID)MAKELONG(nIndex, nDepth);
            if (match(pEntry, id))
            {
                if (pId != nullptr)
                    *pId = id;
                return pEntry;
            }
        }
    }
    return nullptr;
}
}  // namespace

const AFX_DISPMAP_ENTRY CCmdTarget::_dispatchEntries[] = {
    {nullptr, 0, nullptr, VT_EMPTY, nullptr, nullptr, (size_t)-1, afxDispCustom}};
const AFX_DISPMAP CCmdTarget::dispatchMap = {nullptr, &CCmdTarget::_dispatchEntries[0]};

const AFX_DISPMAP* CCmdTarget::GetThisDispatchMap()
{
    return &CCmdTarget::dispatchMap;
}

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const
{
    return &CCmdTarget::dispatchMap;
}

void CCmdTarget::EnableAutomation()
{
    m_xDispatch.m_bEnabled = TRUE;
}

LPDISPATCH CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!m_xDispatch.m_bEnabled)
        return nullptr;
    if (bAddRef)
        ExternalAddRef();
    return &m_xDispatch;
}

CCmdTarget* CCmdTarget::FromIDispatch(LPDISPATCH lpDispatch)
{
    if (lpDispatch == nullptr)
        return nullptr;
    // Only our own IDispatch has our vtable; compare with a live one.
    static CCmdTarget::XDispatch probe;
    if (*reinterpret_cast<void**>(lpDispatch) != *reinterpret_cast<void**>(&probe))
        return nullptr;
    return OwnerOf(static_cast<CCmdTarget::XDispatch*>(lpDispatch));
}

BOOL CCmdTarget::IsResultExpected()
{
    return m_bResultExpected;
}

void CCmdTarget::GetNotSupported()
{
    throw NotSupported();
}

void CCmdTarget::SetNotSupported()
{
    throw NotSupported();
}

const AFX_DISPMAP_ENTRY* CCmdTarget::GetDispEntry(DISPID dispid) const
{
    return FindDispEntry(GetDispatchMap(), nullptr,
                         [dispid](const AFX_DISPMAP_ENTRY*, DISPID id) { return id == dispid; });
}

DISPID CCmdTarget::GetDispIdOfName(LPCTSTR lpszName) const
{
    DISPID id = DISPID_UNKNOWN;
    FindDispEntry(GetDispatchMap(), &id, [lpszName](const AFX_DISPMAP_ENTRY* pEntry, DISPID) {
        return pEntry->lpszName != nullptr && lstrcmpiW(pEntry->lpszName, lpszName) == 0;
    });
    return id;
}

namespace afxdisp {
HRESULT CoerceArg(VARIANT& out, const VARIANT& in, VARTYPE vt)
{
    VariantInit(&out);
    if (vt & VT_BYREF)
    {
        // The caller's own storage is handed on.
        if (V_VT(&in) == vt)
        {
            out = in;
            return S_OK;
        }
        // Script engines pass their variables as variants by reference: an
        // empty one takes the type, and the reference points into it.
        VARIANT* pInner = V_VT(&in) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(&in) : nullptr;
        const VARTYPE vtValue = (VARTYPE)(vt & ~VT_BYREF);
        if (pInner == nullptr || (V_VT(pInner) & VT_BYREF) != 0 || vtValue == VT_VARIANT)
            return DISP_E_TYPEMISMATCH;
        if (V_VT(pInner) != vtValue && FAILED(VariantChangeType(pInner, pInner, 0, vtValue)))
            return DISP_E_TYPEMISMATCH;
        V_VT(&out) = vt;
        V_BYREF(&out) = &V_UI1(pInner);
        return S_OK;
    }
    VARIANT source;
    VariantInit(&source);
    HRESULT hr = VariantCopyInd(&source, &in);
    if (FAILED(hr))
        return hr;
    if (vt == VT_VARIANT)
    {
        out = source;
        return S_OK;
    }
    hr = VariantChangeType(&out, &source, 0, vt);
    VariantClear(&source);
    return hr;
}

HRESULT PrepareArgs(const AFX_DISPMAP_ENTRY* pEntry, DISPPARAMS* pParams, VARIANT* pArgs, size_t nArgs,
                    UINT* puArgErr)
{
    for (size_t i = 0; i < nArgs; ++i)
        VariantInit(&pArgs[i]);
    UINT cArgs = pParams != nullptr ? pParams->cArgs : 0;
    if (cArgs > nArgs || cArgs < nArgs)
        return DISP_E_BADPARAMCOUNT;
    for (size_t i = 0; i < nArgs; ++i)
    {
        // Positional arguments come last-first.
        const VARIANT& source = pParams->rgvarg[cArgs - 1 - i];
        VARTYPE vt = IsProperty(pEntry) ? pEntry->vt : (VARTYPE)(BYTE)pEntry->lpszParams[i];
        if (!IsProperty(pEntry) && (vt & 0x40) != 0)
            vt = (VARTYPE)((vt & ~0x40) | VT_BYREF);
        HRESULT hr = CoerceArg(pArgs[i], source, vt);
        if (FAILED(hr))
        {
            ClearArgs(pArgs, i);
            if (puArgErr != nullptr)
                *puArgErr = (UINT)(cArgs - 1 - i);
            return DISP_E_TYPEMISMATCH;
        }
    }
    return S_OK;
}

void ClearArgs(VARIANT* pArgs, size_t nArgs)
{
    for (size_t i = 0; i < nArgs; ++i)
        VariantClear(&pArgs[i]);
}
}  // namespace afxdisp

ULONG STDMETHODCALLTYPE CCmdTarget::XDispatch::AddRef()
{
    return OwnerOf(this)->ExternalAddRef();
}

ULONG STDMETHODCALLTYPE CCmdTarget::XDispatch::Release()
{
    return OwnerOf(this)->ExternalRelease();
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    return (HRESULT)OwnerOf(this)->ExternalQueryInterface(&iid, ppvObj);
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** pptinfo)
{
    if (pptinfo != nullptr)
        *pptinfo = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                                               DISPID* rgdispid)
{
    if (rgszNames == nullptr || rgdispid == nullptr || cNames == 0)
        return E_INVALIDARG;
    // Named arguments are not supported.
    for (UINT i = 1; i < cNames; ++i)
        rgdispid[i] = DISPID_UNKNOWN;
    rgdispid[0] = OwnerOf(this)->GetDispIdOfName(rgszNames[0]);
    return rgdispid[0] == DISPID_UNKNOWN || cNames > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags,
                                                        DISPPARAMS* pdispparams, VARIANT* pvarResult,
                                                        EXCEPINFO* pexcepinfo, UINT* puArgErr)
{
    CCmdTarget* pThis = OwnerOf(this);
    const AFX_DISPMAP_ENTRY* pEntry = pThis->GetDispEntry(dispid);
    if (pEntry == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    if (pvarResult != nullptr)
        VariantInit(pvarResult);

    AFX_DISPINVOKE pfn = nullptr;
    if (IsProperty(pEntry))
    {
        if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
            pfn = pEntry->pfnSet;
        else if (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))
            pfn = pEntry->pfnGet;
    }
    else if (wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))
    {
        pfn = pEntry->pfnGet;
    }
    if (pfn == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    // A read-only property: its setter is SetNotSupported, which takes no value.
    if (pfn == &afxdisp::InvokeMethod<&CCmdTarget::SetNotSupported> && pfn == pEntry->pfnSet)
    {
        if (pexcepinfo != nullptr)
        {
            memset(pexcepinfo, 0, sizeof(*pexcepinfo));
            pexcepinfo->bstrDescription = SysAllocString(_T("Set not supported."));
            pexcepinfo->scode = kSetNotSupported;
        }
        return DISP_E_EXCEPTION;
    }

    // A COM method boundary: nothing may unwind into the caller.
    pThis->m_bResultExpected = pvarResult != nullptr;
    HRESULT hr;
    try
    {
        hr = pfn(pThis, pEntry, wFlags, pdispparams, pvarResult, puArgErr);
    }
    catch (NotSupported&)
    {
        hr = DISP_E_MEMBERNOTFOUND;
    }
    catch (CException* e)
    {
        if (pexcepinfo != nullptr)
        {
            memset(pexcepinfo, 0, sizeof(*pexcepinfo));
            TCHAR szMessage[512] = {};
            if (e->GetErrorMessage(szMessage, _countof(szMessage)))
                pexcepinfo->bstrDescription = SysAllocString(szMessage);
            pexcepinfo->scode = E_FAIL;
        }
        e->Delete();
        hr = DISP_E_EXCEPTION;
    }
    catch (const std::exception& e)
    {
        if (pexcepinfo != nullptr)
        {
            memset(pexcepinfo, 0, sizeof(*pexcepinfo));
            pexcepinfo->scode = E_FAIL;
        }
        AfxReportStdException(e.what(), nullptr);
        hr = DISP_E_EXCEPTION;
    }
    catch (...)
    {
        if (pexcepinfo != nullptr)
        {
            memset(pexcepinfo, 0, sizeof(*pexcepinfo));
            pexcepinfo->scode = E_UNEXPECTED;
        }
        hr = DISP_E_EXCEPTION;
    }
    pThis->m_bResultExpected = TRUE;
    return hr;
}
