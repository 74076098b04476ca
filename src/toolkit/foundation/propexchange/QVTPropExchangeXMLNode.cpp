#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

#include <vector>

IMPLEMENT_DYNAMIC(CQVTPropExchangeXMLNode, CQVTPropExchange)

namespace {
// A counted smart pointer cannot see the interface of an object it holds.
void ThrowIfNull(IDispatch* p)
{
    if (p == nullptr)
        _com_issue_error(E_POINTER);
}
}  // namespace

CQVTPropExchangeXMLNode::CQVTPropExchangeXMLNode(BOOL bLoading, IDispatch* pParentNode, LPCTSTR lpszSection)
    : m_strSectionName(lpszSection ? lpszSection : u""), m_bCompactMode(TRUE)
{
    m_bLoading = bLoading;
    m_pParentNode = pParentNode;
    if (pParentNode != nullptr)
    {
        XmlAssign(m_pDocument, XmlGetObject(pParentNode, u"ownerDocument"));
        if (m_pDocument == nullptr)
        {
            IDispatch* p = nullptr;
            HRESULT hr = pParentNode->QueryInterface(IID_QVTXmlDomDocument, reinterpret_cast<void**>(&p));
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
        XmlAssign(m_pDocument, CreateXmlDocument(TRUE, &CLSID_QVTXmlDomDocument,
                                                 QVT_XML_FORCEDRESYNC | QVT_XML_NEWPARSER |
                                                     QVT_XML_PROHIBITDTD | QVT_XML_SELECTION_XSLPATTERN,
                                                 0x0B6B));
        if (m_pDocument == nullptr)
            return FALSE;
    }
    XmlInvoke(m_pDocument, u"preserveWhiteSpace", DISPATCH_PROPERTYPUT, {_variant_t(true)}, nullptr);
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
    HRESULT hr = XmlInvoke(m_pDocument, u"load", DISPATCH_METHOD, {_variant_t(lpszFileName)}, &result);
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
    return SUCCEEDED(XmlInvoke(m_pDocument, u"save", DISPATCH_METHOD, {_variant_t(lpszFileName)}, nullptr));
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
        XmlAssign(m_pSectionNode, XmlSelectSingleNode(m_pParentNode, m_strSectionName));
        if (m_pSectionNode == nullptr)
        {
            IDispatchPtr pElement = XmlCreateElement(m_pDocument, m_strSectionName);
            if (pElement != nullptr && XmlAppendChild(m_pParentNode, pElement))
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
        IDispatchPtr pAttributes = XmlGetObject(m_pSectionNode, u"attributes");
        if (pAttributes == nullptr)
            return IDispatchPtr();
        IDispatchPtr pNode = XmlGetObject(pAttributes, u"getNamedItem", {_variant_t(pszPropName)});
        if (pNode == nullptr && bCreate)
        {
            IDispatchPtr pAttribute =
                XmlGetObject(m_pDocument, u"createAttribute", {_variant_t(pszPropName)});
            if (pAttribute != nullptr && XmlGetObject(pAttributes, u"setNamedItem",
                                                      {_variant_t(pAttribute.GetInterfacePtr())}) != nullptr)
                pNode = pAttribute;
        }
        return pNode;
    }
    IDispatchPtr pNode = XmlSelectSingleNode(m_pSectionNode, pszPropName);
    if (pNode == nullptr && bCreate)
    {
        IDispatchPtr pElement = XmlCreateElement(m_pDocument, pszPropName);
        if (pElement != nullptr && XmlAppendChild(m_pSectionNode, pElement))
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
        return pNode != nullptr && XmlPutProperty(pNode, u"text", _variant_t(strText.GetString()));
    }

    if (!m_bUseDefaultOnLoad)
        pvDefault = nullptr;
    if (!OnBeforeExchange())
        return CopyPropValue(vtProp, pvProp, pvDefault);
    IDispatchPtr pNode = GetPropertyNode(pszPropName, FALSE);
    CString strText;
    if (pNode == nullptr || !XmlGetString(pNode, u"text", strText))
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
        XmlInvoke(m_pParentNode, u"removeChild", QVT_XML_CALL, {_variant_t(m_pSectionNode.GetInterfacePtr())},
                  &result);
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
    return XmlSelectSingleNode(m_pSectionNode, pszSection) != nullptr;
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
    XmlAssign(m_pNodeList,
              XmlGetObject(pContainer->m_pSectionNode, u"selectNodes",
                           {_variant_t(m_strItemName.IsEmpty() ? u"*" : m_strItemName.GetString())}));
    XmlAssign(m_pCurrentNode, XmlGetObject(m_pNodeList, u"item", {_variant_t(0)}));
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
            XmlAssign(m_pCurrentNode,
                      XmlGetObject(m_pNodeList, u"item", {_variant_t(static_cast<int>(nPosition))}));
            pos = m_pCurrentNode != nullptr ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
        }
        else
        {
            IDispatchPtr pElement = XmlCreateElement(pContainer->m_pDocument, m_strItemName);
            ThrowIfNull(pElement);
            XmlAppendChild(pContainer->m_pSectionNode, pElement);
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
        if (FAILED(XmlInvoke(m_pNodeList, u"length", DISPATCH_PROPERTYGET, {}, &result)))
            return 0;
        DWORD n = (result.vt == VT_I4 && result.lVal > 0) ? static_cast<DWORD>(result.lVal) : 0;
        ::VariantClear(&result);
        return n;
    }
    return m_nCount > 0x7FFFFFFF ? 0x7FFFFFFF : m_nCount;
}
