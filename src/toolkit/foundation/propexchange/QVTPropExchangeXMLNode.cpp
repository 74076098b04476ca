#include "QVTPropExchangeXMLNode.h"

#include <vector>

IMPLEMENT_DYNAMIC(CQVTPropExchangeXMLNode, CQVTPropExchange)

namespace {
// {2933BF90-7B36-11D2-B20E-00C04F983E60}
const CLSID kClsidDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const CLSID kClsidDocumentList[] = {
    {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}},
    {0x88D969E5, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}},
    {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}},
    kClsidDomDocument,
};
// The document interfaces, reached through their automation side.
const IID kIidXmlDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const WORD kCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

HRESULT Invoke(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, std::vector<_variant_t> args,
               VARIANT* pResult)
{
    if (pResult != nullptr)
        ::VariantInit(pResult);
    if (pDispatch == nullptr)
        return E_POINTER;
    DISPID dispid = 0;
    LPOLESTR pszMember = const_cast<LPOLESTR>(pszName);
    HRESULT hr = pDispatch->GetIDsOfNames(IID_NULL, &pszMember, 1, LOCALE_USER_DEFAULT, &dispid);
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

// The object a call returns, or null.
IDispatchPtr CallForObject(IDispatch* pDispatch, LPCOLESTR pszName, std::vector<_variant_t> args = {})
{
    VARIANT result;
    IDispatchPtr pObject;
    if (FAILED(Invoke(pDispatch, pszName, kCall, std::move(args), &result)))
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

BOOL GetText(IDispatch* pNode, CString& strText)
{
    VARIANT result;
    if (FAILED(Invoke(pNode, u"text", DISPATCH_PROPERTYGET, {}, &result)))
        return FALSE;
    if (result.vt == VT_BSTR)
    {
        strText = result.bstrVal != nullptr
                      ? CString(result.bstrVal, static_cast<int>(::SysStringLen(result.bstrVal)))
                      : CString();
        ::VariantClear(&result);
        return TRUE;
    }
    ::VariantClear(&result);
    return FALSE;
}

BOOL PutText(IDispatch* pNode, LPCWSTR pszText)
{
    return SUCCEEDED(Invoke(pNode, u"text", DISPATCH_PROPERTYPUT, {_variant_t(pszText)}, nullptr));
}

IDispatchPtr SelectSingleNode(IDispatch* pNode, LPCWSTR pszPattern)
{
    return CallForObject(pNode, u"selectSingleNode", {_variant_t(pszPattern)});
}

BOOL AppendChild(IDispatch* pParent, IDispatch* pChild)
{
    VARIANT result;
    HRESULT hr = Invoke(pParent, u"appendChild", kCall, {_variant_t(pChild)}, &result);
    ::VariantClear(&result);
    return SUCCEEDED(hr);
}

IDispatchPtr CreateElement(IDispatch* pDocument, LPCWSTR pszName)
{
    return CallForObject(pDocument, u"createElement", {_variant_t(pszName)});
}

void SetDocumentProperty(IDispatch* pDocument, LPCWSTR pszName, const _variant_t& value)
{
    Invoke(pDocument, u"setProperty", DISPATCH_METHOD, {_variant_t(pszName), value}, nullptr);
}

// Copy-assigns: the smart pointer's move assignment does not compile here.
void Assign(IDispatchPtr& target, const IDispatchPtr& source)
{
    target = source;
}

// A counted smart pointer cannot see the interface of an object it holds.
void ThrowIfNull(IDispatch* p)
{
    if (p == nullptr)
        _com_issue_error(E_POINTER);
}
}  // namespace

IDispatchPtr AFXAPI CreateXmlDocument(BOOL bSingleClass, const CLSID* pClsid, DWORD dwTrueSet,
                                      DWORD dwFalseSet)
{
    std::vector<CLSID> classes;
    if (bSingleClass)
        classes.push_back(pClsid != nullptr ? *pClsid : kClsidDomDocument);
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
        if (SUCCEEDED(pUnknown->QueryInterface(kIidXmlDocument, reinterpret_cast<void**>(&p))) &&
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
            SetDocumentProperty(pDocument, kNames[i], _variant_t(true));
    }
    if (dwTrueSet & QVT_XML_SELECTION_XPATH)
        SetDocumentProperty(pDocument, u"SelectionLanguage", _variant_t(u"XPath"));
    if (dwTrueSet & QVT_XML_SELECTION_XSLPATTERN)
        SetDocumentProperty(pDocument, u"SelectionLanguage", _variant_t(u"XSLPattern"));
    for (int i = 0; i < 12; ++i)
    {
        if (dwFalseSet & (1u << i))
            SetDocumentProperty(pDocument, kNames[i], _variant_t(false));
    }
    return pDocument;
}

CQVTPropExchangeXMLNode::CQVTPropExchangeXMLNode(BOOL bLoading, IDispatch* pParentNode, LPCTSTR lpszSection)
    : m_strSectionName(lpszSection ? lpszSection : u""), m_bCompactMode(TRUE)
{
    m_bLoading = bLoading;
    m_pParentNode = pParentNode;
    if (pParentNode != nullptr)
    {
        Assign(m_pDocument, CallForObject(pParentNode, u"ownerDocument"));
        if (m_pDocument == nullptr)
        {
            IDispatch* p = nullptr;
            HRESULT hr = pParentNode->QueryInterface(kIidXmlDocument, reinterpret_cast<void**>(&p));
            if (SUCCEEDED(hr) && p != nullptr)
                m_pDocument.Attach(p, false);
            else if (hr != E_NOINTERFACE)
                _com_issue_error(hr);
        }
    }
}

CQVTPropExchangeXMLNode::~CQVTPropExchangeXMLNode() = default;

BOOL CQVTPropExchangeXMLNode::CreateDocument()
{
    if (m_pDocument == nullptr)
    {
        Assign(m_pDocument, CreateXmlDocument(TRUE, &kClsidDomDocument,
                                              QVT_XML_FORCEDRESYNC | QVT_XML_NEWPARSER | QVT_XML_PROHIBITDTD |
                                                  QVT_XML_SELECTION_XSLPATTERN,
                                              0x0B6B));
        if (m_pDocument == nullptr)
            return FALSE;
    }
    Invoke(m_pDocument, u"preserveWhiteSpace", DISPATCH_PROPERTYPUT, {_variant_t(true)}, nullptr);
    return TRUE;
}

BOOL CQVTPropExchangeXMLNode::LoadFromFile(LPCTSTR lpszFileName)
{
    if (lpszFileName == nullptr)
        return FALSE;
    DWORD dwAttributes = ::GetFileAttributes(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    if (!CreateDocument())
        return FALSE;
    VARIANT result;
    HRESULT hr = Invoke(m_pDocument, u"load", DISPATCH_METHOD, {_variant_t(lpszFileName)}, &result);
    BOOL bLoaded = SUCCEEDED(hr) && result.vt == VT_BOOL && result.boolVal != VARIANT_FALSE;
    ::VariantClear(&result);
    if (!bLoaded)
        return FALSE;
    m_pParentNode = m_pDocument;
    m_pSectionNode = nullptr;
    m_bInitialized = FALSE;
    return TRUE;
}

BOOL CQVTPropExchangeXMLNode::SaveToFile(LPCTSTR lpszFileName)
{
    if (lpszFileName == nullptr || m_pDocument == nullptr)
        return FALSE;
    return SUCCEEDED(Invoke(m_pDocument, u"save", DISPATCH_METHOD, {_variant_t(lpszFileName)}, nullptr));
}

BOOL CQVTPropExchangeXMLNode::OnBeforeExchange()
{
    if (!m_bInitialized)
    {
        m_bInitialized = TRUE;
        if (m_pDocument == nullptr)
        {
            if (m_bChildSection || !CreateDocument())
                return FALSE;
            m_pParentNode = m_pDocument;
        }
        if (m_pParentNode == nullptr)
            return FALSE;
        Assign(m_pSectionNode, SelectSingleNode(m_pParentNode, m_strSectionName));
        if (m_pSectionNode == nullptr)
        {
            IDispatchPtr pElement = CreateElement(m_pDocument, m_strSectionName);
            if (pElement != nullptr && AppendChild(m_pParentNode, pElement))
                m_pSectionNode = pElement;
        }
        if (!m_bChildSection && m_pSectionNode != nullptr)
        {
            BOOL bCompactMode = m_bCompactMode;
            m_bCompactMode = TRUE;
            PropExchangeBool(this, u"CompactMode", bCompactMode, FALSE);
            m_bCompactMode = bCompactMode;
        }
    }
    return m_pDocument != nullptr && m_pParentNode != nullptr && m_pSectionNode != nullptr;
}

IDispatchPtr CQVTPropExchangeXMLNode::GetPropertyNode(LPCTSTR pszPropName, BOOL bCreate)
{
    if (pszPropName == nullptr || *pszPropName == 0)
        return m_pSectionNode;
    if (m_bCompactMode)
    {
        ThrowIfNull(m_pSectionNode);
        IDispatchPtr pAttributes = CallForObject(m_pSectionNode, u"attributes");
        if (pAttributes == nullptr)
            return IDispatchPtr();
        IDispatchPtr pNode = CallForObject(pAttributes, u"getNamedItem", {_variant_t(pszPropName)});
        if (pNode == nullptr && bCreate)
        {
            IDispatchPtr pAttribute =
                CallForObject(m_pDocument, u"createAttribute", {_variant_t(pszPropName)});
            if (pAttribute != nullptr && CallForObject(pAttributes, u"setNamedItem",
                                                       {_variant_t(pAttribute.GetInterfacePtr())}) != nullptr)
                pNode = pAttribute;
        }
        return pNode;
    }
    IDispatchPtr pNode = SelectSingleNode(m_pSectionNode, pszPropName);
    if (pNode == nullptr && bCreate)
    {
        IDispatchPtr pElement = CreateElement(m_pDocument, pszPropName);
        if (pElement != nullptr && AppendChild(m_pSectionNode, pElement))
            pNode = pElement;
    }
    return pNode;
}

BOOL CQVTPropExchangeXMLNode::ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                                           const void* pvDefault)
{
    if (!m_bLoading)
    {
        if (!m_bUseDefaultOnSave)
            pvDefault = nullptr;
        if (IsSamePropValue(vtProp, pvProp, pvDefault))
            return TRUE;
        if (!OnBeforeExchange())
            return FALSE;
        CString strText;
        if (vtProp == VT_BSTR)
        {
            // Escaped like strings, since loading unescapes it.
            BSTR bstr = *static_cast<BSTR*>(pvProp);
            strText = bstr != nullptr ? CString(bstr, static_cast<int>(::SysStringLen(bstr))) : CString();
            EscapeControlChars(strText);
        }
        else if (!ValueToText(vtProp, pvProp, strText))
        {
            return FALSE;
        }
        IDispatchPtr pNode = GetPropertyNode(pszPropName, TRUE);
        return pNode != nullptr && PutText(pNode, strText);
    }

    if (!m_bUseDefaultOnLoad)
        pvDefault = nullptr;
    if (!OnBeforeExchange())
        return CopyPropValue(vtProp, pvProp, pvDefault);
    IDispatchPtr pNode = GetPropertyNode(pszPropName, FALSE);
    CString strText;
    if (pNode == nullptr || !GetText(pNode, strText))
        return CopyPropValue(vtProp, pvProp, pvDefault);
    if (vtProp == VT_BSTR)
    {
        UnescapeControlChars(strText);
        *static_cast<BSTR*>(pvProp) = ::SysAllocStringLen(strText.GetString(), strText.GetLength());
        return TRUE;
    }
    return TextToValue(vtProp, strText, pvProp, pvDefault);
}

CQVTPropExchange* CQVTPropExchangeXMLNode::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CQVTPropExchangeXMLNode* pSection = new CQVTPropExchangeXMLNode(m_bLoading, m_pSectionNode, pszSection);
    pSection->m_bCompactMode = m_bCompactMode;
    InitSection(pSection);
    return pSection;
}

void CQVTPropExchangeXMLNode::EmptySection()
{
    CQVTPropExchange::EmptySection();
    OnBeforeExchange();
    if (m_pParentNode != nullptr && m_pSectionNode != nullptr)
    {
        VARIANT result;
        Invoke(m_pParentNode, u"removeChild", kCall, {_variant_t(m_pSectionNode.GetInterfacePtr())}, &result);
        ::VariantClear(&result);
    }
    m_pSectionNode = nullptr;
    m_bInitialized = FALSE;
}

BOOL CQVTPropExchangeXMLNode::HasProperty(LPCTSTR pszPropName)
{
    if (!OnBeforeExchange())
        return FALSE;
    return GetPropertyNode(pszPropName, FALSE) != nullptr;
}

BOOL CQVTPropExchangeXMLNode::HasSection(LPCTSTR pszSection)
{
    if (!OnBeforeExchange())
        return FALSE;
    return SelectSingleNode(m_pSectionNode, pszSection) != nullptr;
}

CQVTPropExchangeEnumerator* CQVTPropExchangeXMLNode::GetEnumerator(LPCTSTR pszItemName)
{
    if (m_bLoading && HasProperty(u"Count"))
        return new CQVTPropExchangeEnumerator(this, pszItemName);
    return new CXMLEnumerator(this, pszItemName);
}

BOOL CQVTPropExchangeXMLNode::CanOmitDefaults() const
{
    return TRUE;
}

BOOL CQVTPropExchangeXMLNode::PrefersBinaryData() const
{
    return FALSE;
}

// Collections of like-named elements

CQVTPropExchangeXMLNode::CXMLEnumerator::CXMLEnumerator(CQVTPropExchangeXMLNode* pContainer,
                                                        LPCTSTR pszItemName)
    : CQVTPropExchangeEnumerator(pContainer, pszItemName)
{
}

POSITION CQVTPropExchangeXMLNode::CXMLEnumerator::GetPosition(DWORD dwCount, BOOL /*bCountOperations*/)
{
    m_nCount = dwCount;
    if (m_pContainer == nullptr)
        return nullptr;
    if (!m_pContainer->IsLoading())
        return dwCount > 0 ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
    CQVTPropExchangeXMLNode* pContainer = static_cast<CQVTPropExchangeXMLNode*>(m_pContainer);
    if (!pContainer->OnBeforeExchange())
        return nullptr;
    Assign(m_pNodeList,
           CallForObject(pContainer->m_pSectionNode, u"selectNodes",
                         {_variant_t(m_strItemName.IsEmpty() ? u"*" : m_strItemName.GetString())}));
    Assign(m_pCurrentNode, CallForObject(m_pNodeList, u"item", {_variant_t(0)}));
    return m_pCurrentNode != nullptr ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
}

CQVTPropExchange* CQVTPropExchangeXMLNode::CXMLEnumerator::GetNext(POSITION& pos)
{
    CQVTPropExchangeXMLNode* pContainer = static_cast<CQVTPropExchangeXMLNode*>(m_pContainer);
    CQVTPropExchangeXMLNode* pSection =
        static_cast<CQVTPropExchangeXMLNode*>(pContainer->GetSection(m_strItemName));
    UINT_PTR nPosition = reinterpret_cast<UINT_PTR>(pos);
    try
    {
        ThrowIfNull(pContainer->m_pDocument);
        ThrowIfNull(pContainer->m_pSectionNode);
        if (pContainer->IsLoading())
        {
            pSection->m_pSectionNode = m_pCurrentNode;
            Assign(m_pCurrentNode,
                   CallForObject(m_pNodeList, u"item", {_variant_t(static_cast<int>(nPosition))}));
            pos = m_pCurrentNode != nullptr ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
        }
        else
        {
            IDispatchPtr pElement = CreateElement(pContainer->m_pDocument, m_strItemName);
            ThrowIfNull(pElement);
            AppendChild(pContainer->m_pSectionNode, pElement);
            pSection->m_pSectionNode = pElement;
            ++nPosition;
            pos = nPosition > GetCount() ? nullptr : reinterpret_cast<POSITION>(nPosition);
        }
    }
    catch (...)
    {
        pSection->InternalRelease();
        throw;
    }
    pSection->m_bInitialized = TRUE;
    return pSection;
}

DWORD CQVTPropExchangeXMLNode::CXMLEnumerator::GetCount()
{
    if (m_pContainer != nullptr && m_pContainer->IsLoading())
    {
        VARIANT result;
        if (FAILED(Invoke(m_pNodeList, u"length", DISPATCH_PROPERTYGET, {}, &result)))
            return 0;
        DWORD n = (result.vt == VT_I4 && result.lVal > 0) ? static_cast<DWORD>(result.lVal) : 0;
        ::VariantClear(&result);
        return n;
    }
    return m_nCount > 0x7FFFFFFF ? 0x7FFFFFFF : m_nCount;
}
