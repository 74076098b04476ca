#include "toolkit/foundation/xml/QVTXmlDispatch.h"

#include <map>
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

// Member ids by type and name. The DOM resolves a name by comparing it with
// every member of the type, case-insensitively, through the locale: that was
// most of the time a walk over a document took. Types are held for the
// process, so an address in the cache is never reused by another type.
class CDispidCache
{
public:
    HRESULT GetDispid(IDispatch* pDispatch, LPCOLESTR pszName, DISPID* pDispid)
    {
        ITypeInfo* pTypeInfo = nullptr;
        if (FAILED(pDispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &pTypeInfo)) || pTypeInfo == nullptr)
            return Resolve(pDispatch, pszName, pDispid);
        CQVTCriticalSectionLock lock(m_cs);
        auto key = std::make_pair(pTypeInfo, CString(pszName));
        auto it = m_map.find(key);
        if (it != m_map.end())
        {
            pTypeInfo->Release();
            *pDispid = it->second;
            return S_OK;
        }
        const HRESULT hr = Resolve(pDispatch, pszName, pDispid);
        if (SUCCEEDED(hr))
            m_map.emplace(key, *pDispid);  // keeps the reference GetTypeInfo gave
        else
            pTypeInfo->Release();
        return hr;
    }

private:
    static HRESULT Resolve(IDispatch* pDispatch, LPCOLESTR pszName, DISPID* pDispid)
    {
        LPOLESTR pszMember = const_cast<LPOLESTR>(pszName);
        return pDispatch->GetIDsOfNames(IID_NULL, &pszMember, 1, LOCALE_USER_DEFAULT, pDispid);
    }
    struct CKeyLess
    {
        bool operator()(const std::pair<ITypeInfo*, CString>& a,
                        const std::pair<ITypeInfo*, CString>& b) const
        {
            if (a.first != b.first)
                return a.first < b.first;
            return _tcscmp(a.second, b.second) < 0;
        }
    };
    CQVTCriticalSection m_cs;
    std::map<std::pair<ITypeInfo*, CString>, DISPID, CKeyLess> m_map;
};

CDispidCache& DispidCache()
{
    // Never destroyed: the types it holds belong to COM, which is gone at exit.
    static CDispidCache* s_pCache = new CDispidCache();
    return *s_pCache;
}
}  // namespace

HRESULT AFXAPI XmlInvoke(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, std::vector<_variant_t> args,
                         VARIANT* pResult)
{
    if (pResult != nullptr)
        ::VariantInit(pResult);
    if (pDispatch == nullptr)
        return E_POINTER;
    DISPID dispid = 0;
    HRESULT hr = DispidCache().GetDispid(pDispatch, pszName, &dispid);
    if (FAILED(hr))
        return hr;
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
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

IDispatchPtr AFXAPI XmlGetObject(IDispatch* pDispatch, LPCOLESTR pszName, std::vector<_variant_t> args)
{
    VARIANT result;
    IDispatchPtr pObject;
    if (FAILED(XmlInvoke(pDispatch, pszName, QVT_XML_CALL, std::move(args), &result)))
        return pObject;
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

BOOL AFXAPI XmlGetString(IDispatch* pDispatch, LPCOLESTR pszName, CString& strValue)
{
    VARIANT result;
    if (FAILED(XmlInvoke(pDispatch, pszName, DISPATCH_PROPERTYGET, {}, &result)))
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
    if (FAILED(XmlInvoke(pDispatch, pszName, DISPATCH_PROPERTYGET, {}, &result)))
        return FALSE;
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
