// Property exchange over an XML DOM document reached through automation: a
// section is an element, a property an attribute (compact mode) or a child
// element, a collection a run of like-named child elements.
#pragma once

#include <comdef.h>

#include "QVTPropExchange.h"

// Bits of the document properties CreateXmlDocument sets.
enum : DWORD
{
    QVT_XML_ALLOWDOCUMENTFUNCTION = 0x1,
    QVT_XML_ALLOWXSLTSCRIPT = 0x2,
    QVT_XML_FORCEDRESYNC = 0x4,
    QVT_XML_MULTIPLEERRORMESSAGES = 0x8,
    QVT_XML_NEWPARSER = 0x10,
    QVT_XML_NORMALIZEATTRIBUTEVALUES = 0x20,
    QVT_XML_POPULATEELEMENTDEFAULTVALUES = 0x40,
    QVT_XML_PROHIBITDTD = 0x80,
    QVT_XML_RESOLVEEXTERNALS = 0x100,
    QVT_XML_SERVERHTTPREQUEST = 0x200,
    QVT_XML_USEINLINESCHEMA = 0x400,
    QVT_XML_VALIDATEONPARSE = 0x800,
    QVT_XML_SELECTION_XPATH = 0x1000,
    QVT_XML_SELECTION_XSLPATTERN = 0x2000,
};

// A new DOM document (its automation interface), or null. With bSingleClass
// only pClsid (or the default document class) is tried, else a list of
// document classes in turn.
IDispatchPtr AFXAPI CreateXmlDocument(BOOL bSingleClass, const CLSID* pClsid, DWORD dwTrueSet,
                                      DWORD dwFalseSet);

class CQVTPropExchangeXMLNode : public CQVTPropExchange
{
    DECLARE_DYNAMIC(CQVTPropExchangeXMLNode)

public:
    // pParentNode: the node the section element lives under, or null for a
    // root that makes its own document.
    CQVTPropExchangeXMLNode(BOOL bLoading, IDispatch* pParentNode, LPCTSTR lpszSection);
    ~CQVTPropExchangeXMLNode() override;

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                      const void* pvDefault = nullptr) override;
    CQVTPropExchange* GetSection(LPCTSTR pszSection) override;
    void EmptySection() override;
    BOOL OnBeforeExchange() override;
    CQVTPropExchangeEnumerator* GetEnumerator(LPCTSTR pszItemName) override;
    BOOL CanOmitDefaults() const override;
    BOOL PrefersBinaryData() const override;

    BOOL CreateDocument();
    BOOL LoadFromFile(LPCTSTR lpszFileName);
    // The whole document, as the DOM writes it.
    BOOL SaveToFile(LPCTSTR lpszFileName);
    BOOL HasProperty(LPCTSTR pszPropName);
    BOOL HasSection(LPCTSTR pszSection);

    void SetCompactMode(BOOL bCompactMode) { m_bCompactMode = bCompactMode; }
    BOOL IsCompactMode() const { return m_bCompactMode; }
    IDispatch* GetDocument() const { return m_pDocument; }
    IDispatch* GetSectionNode() const { return m_pSectionNode; }

    class CXMLEnumerator : public CQVTPropExchangeEnumerator
    {
    public:
        CXMLEnumerator(CQVTPropExchangeXMLNode* pContainer, LPCTSTR pszItemName);
        POSITION GetPosition(DWORD dwCount = 0, BOOL bCountOperations = TRUE) override;
        CQVTPropExchange* GetNext(POSITION& pos) override;
        DWORD GetCount() override;

    protected:
        IDispatchPtr m_pCurrentNode;
        IDispatchPtr m_pNodeList;
    };

protected:
    IDispatchPtr GetPropertyNode(LPCTSTR pszPropName, BOOL bCreate);

    IDispatchPtr m_pDocument;
    IDispatchPtr m_pParentNode;
    IDispatchPtr m_pSectionNode;
    CString m_strSectionName;
    BOOL m_bCompactMode;
};
