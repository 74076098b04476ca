// The XML DOM reached through automation. Wine's msxml headers do not compile
// with a 16-bit WCHAR, so documents and nodes are driven by member name
// through their IDispatch side.
#pragma once

#include <comdef.h>

#include <atomic>
#include <vector>

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

// DOM node types as the nodeType property reports them.
enum QVTXmlNodeType
{
    QVT_XML_NODE_ELEMENT = 1,
    QVT_XML_NODE_ATTRIBUTE = 2,
    QVT_XML_NODE_TEXT = 3,
    QVT_XML_NODE_CDATA_SECTION = 4,
    QVT_XML_NODE_PROCESSING_INSTRUCTION = 7,
    QVT_XML_NODE_COMMENT = 8,
};

// The default DOM document class, the one the property exchange asks for.
extern const CLSID CLSID_QVTXmlDomDocument;
// The document interface, reached through its automation side.
extern const IID IID_QVTXmlDomDocument;

// Members called either way: as a method or as a property get.
const WORD QVT_XML_CALL = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// A new DOM document (its automation interface), or null. With bSingleClass
// only pClsid (or the default document class) is tried, else a list of
// document classes in turn.
IDispatchPtr AFXAPI CreateXmlDocument(BOOL bSingleClass, const CLSID* pClsid, DWORD dwTrueSet,
                                      DWORD dwFalseSet);

// Calls a member by name with its arguments in written order. A property put
// passes the value as the one argument.
HRESULT AFXAPI XmlInvoke(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, std::vector<_variant_t> args,
                         VARIANT* pResult);
// A property get without arguments.
HRESULT AFXAPI XmlGetValue(IDispatch* pDispatch, LPCOLESTR pszName, VARIANT* pResult);
// The object a member taking one index returns (a list's "item"), or null.
IDispatchPtr AFXAPI XmlGetItem(IDispatch* pDispatch, LPCOLESTR pszName, long nIndex);
// The object a property or method returns, or null.
IDispatchPtr AFXAPI XmlGetObject(IDispatch* pDispatch, LPCOLESTR pszName, std::vector<_variant_t> args = {});
// A property read as text; FALSE when the call fails or gives no text.
BOOL AFXAPI XmlGetString(IDispatch* pDispatch, LPCOLESTR pszName, CString& strValue);
// A property read as a 32-bit integer; FALSE when the call fails.
BOOL AFXAPI XmlGetLong(IDispatch* pDispatch, LPCOLESTR pszName, long& nValue);
BOOL AFXAPI XmlPutProperty(IDispatch* pDispatch, LPCOLESTR pszName, const _variant_t& value);

IDispatchPtr AFXAPI XmlSelectSingleNode(IDispatch* pNode, LPCWSTR pszPattern);
BOOL AFXAPI XmlAppendChild(IDispatch* pParent, IDispatch* pChild);
IDispatchPtr AFXAPI XmlCreateElement(IDispatch* pDocument, LPCWSTR pszName);
// setProperty of a document (second-level properties such as "NewParser").
void AFXAPI XmlSetDocumentProperty(IDispatch* pDocument, LPCWSTR pszName, const _variant_t& value);

// A getter a walk calls on many nodes, named once where it is declared: it
// keeps the slots it found per function table, so a call is a comparison and
// the member itself, without a look-up by name (that was a tenth of a
// markup build). Anything the slot does not fit goes through XmlGetValue.
class CQVTXmlGetter
{
public:
    constexpr explicit CQVTXmlGetter(LPCOLESTR pszName) : m_pszName(pszName) {}
    CQVTXmlGetter(const CQVTXmlGetter&) = delete;
    CQVTXmlGetter& operator=(const CQVTXmlGetter&) = delete;

    // The object the member returns, or null.
    IDispatchPtr ReadObject(IDispatch* pDispatch) const;
    // The object a member taking one index returns, or null.
    IDispatchPtr ReadItem(IDispatch* pDispatch, long nIndex) const;
    // The text, owned by the caller; null when the call fails, gives no
    // text or an empty one.
    BSTR ReadText(IDispatch* pDispatch) const;
    BOOL ReadLong(IDispatch* pDispatch, long& nValue) const;

private:
    // The published member found for a function table, or null.
    const void* FindKnown(IDispatch* pDispatch) const;
    void Remember(IDispatch* pDispatch) const;

    LPCOLESTR m_pszName;
    // A walk meets a few kinds of node: elements, texts, comments, CDATA
    // sections, instructions, attributes.
    mutable std::atomic<const void*> m_known[6] = {};
};

// Copy-assigns: the smart pointer's move assignment does not compile here.
inline void XmlAssign(IDispatchPtr& target, const IDispatchPtr& source)
{
    target = source;
}
