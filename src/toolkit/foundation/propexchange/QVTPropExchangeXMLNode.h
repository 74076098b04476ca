// Property exchange over an XML DOM document reached through automation: a
// section is an element, a property an attribute (compact mode) or a child
// element, a collection a run of like-named child elements.
#pragma once

#include <comdef.h>

#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/xml/QVTXmlDispatch.h"

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
