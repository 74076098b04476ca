// Builds markup objects from the DOM a parser loaded: one object per element,
// attributes converted and set, property elements gathered, content handed
// to parents, extensions resolved, implicit styles applied afterwards. Every
// error ends the build with its text kept here.
#pragma once

#include <afx.h>
#include <comdef.h>

#include <utility>
#include <memory>
#include <vector>

class CQVTMarkupContext;
class CQVTMarkupDependencyProperty;
class CQVTMarkupObject;
class CQVTMarkupParser;
class CQVTMarkupType;
class CQVTMarkupUIElement;

class CQVTMarkupString;
class CQVTMarkupBuilderException : public CSimpleException
{
    DECLARE_DYNAMIC(CQVTMarkupBuilderException)

public:
    // Keeps at most 255 characters of the message.
    explicit CQVTMarkupBuilderException(LPCWSTR lpszMessage);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    LPCWSTR GetMessage() const { return m_szMessage; }

private:
    WCHAR m_szMessage[256];
};

class CQVTMarkupBuilder
{
public:
    explicit CQVTMarkupBuilder(CQVTMarkupContext* pContext);
    virtual ~CQVTMarkupBuilder();

    CQVTMarkupBuilder(const CQVTMarkupBuilder&) = delete;
    CQVTMarkupBuilder& operator=(const CQVTMarkupBuilder&) = delete;

    // The root element with one reference for the caller, or null with the
    // error text set (empty when the text was not markup at all).
    CQVTMarkupUIElement* Parse(CQVTMarkupParser* pParser);
    const CString& GetErrorText() const { return m_strErrorText; }
    CQVTMarkupContext* GetMarkupContext() const { return m_pContext; }

    // A value of the property's type made from pValue (a new reference), or
    // the conversion error.
    CQVTMarkupObject* ConvertValue(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue);
    // The same for callers that may have no builder.
    static CQVTMarkupObject* AFX_CDECL ConvertValue(CQVTMarkupBuilder* pBuilder, CQVTMarkupContext* pContext,
                                                    CQVTMarkupDependencyProperty* pProperty,
                                                    CQVTMarkupObject* pValue);

    [[noreturn]] static void AFX_CDECL ThrowBuilderError(LPCWSTR lpszMessage);
    [[noreturn]] static void ThrowBuilderErrorFormat(LPCWSTR lpszFormat, ...);
    // The error for content pOwner cannot take: it wants lpszExpectedType.
    [[noreturn]] static void AFX_CDECL ThrowCannotAddContent(CQVTMarkupObject* pContent,
                                                             CQVTMarkupObject* pOwner,
                                                             LPCWSTR lpszExpectedType);
    // The system message of a failed result code.
    [[noreturn]] static void AFX_CDECL ThrowComError(HRESULT hr);

    // The objects whose elements are being loaded, outermost first.
    int GetObjectStackCount() const { return static_cast<int>(m_arrObjectStack.size()); }
    CQVTMarkupObject* GetStackObject(int nIndex) const { return m_arrObjectStack[nIndex]; }

    // Markup extensions; each result carries a new reference.
    CQVTMarkupObject* ProvideExtensionValue(LPCWSTR lpszText);
    CQVTMarkupObject* ResolveStaticExtension(LPCWSTR lpszPath);
    CQVTMarkupObject* FindResource(LPCWSTR lpszKeyText);
    CQVTMarkupObject* ResolveType(LPCWSTR lpszTagName);

    // Number readers of the markup language. Whole numbers: optional white
    // space and sign, digits, the rest ignored; saturated to 32 bits.
    static int AFX_CDECL ReadWholeNumber(LPCWSTR lpszText);
    // Real numbers: optional spaces and sign, digits with at most one '.',
    // optional trailing spaces, nothing else.
    static BOOL AFX_CDECL ReadNumber(LPCWSTR lpszText, double& dValue);
    // A whole number in pixels from its "pt", "in", "cm" or "mm" unit;
    // saturated to 32 bits.
    static int AFX_CDECL ApplyLengthUnit(__int64 nValue, LPCWSTR lpszUnit);
    // The unit named by the last two characters of a text longer than two.
    static LPCWSTR AFX_CDECL GetLengthUnit(LPCWSTR lpszText);

    // How deep elements may nest before the build is refused.
    enum
    {
        kMaxDepth = 200
    };

private:
    // A text the DOM handed over, kept as it came: names and values are
    // only read, so copying them out would be wasted.
    class CXmlText
    {
    public:
        CXmlText() = default;
        explicit CXmlText(BSTR bstr) : m_bstr(bstr) {}
        CXmlText(CXmlText&& other) noexcept : m_bstr(other.m_bstr) { other.m_bstr = nullptr; }
        CXmlText& operator=(CXmlText&& other) noexcept
        {
            std::swap(m_bstr, other.m_bstr);
            return *this;
        }
        CXmlText(const CXmlText&) = delete;
        CXmlText& operator=(const CXmlText&) = delete;
        ~CXmlText() { ::SysFreeString(m_bstr); }

        LPCWSTR GetString() const { return m_bstr != nullptr ? m_bstr : u""; }
        int GetLength() const { return static_cast<int>(::SysStringLen(m_bstr)); }
        bool IsEmpty() const { return GetLength() == 0; }
        bool operator==(LPCWSTR lpsz) const { return _tcscmp(GetString(), lpsz) == 0; }
        bool operator!=(LPCWSTR lpsz) const { return !(*this == lpsz); }

    private:
        BSTR m_bstr = nullptr;
    };
    // An attribute of the element being loaded, its name and value read in
    // one pass.
    struct CAttribute
    {
        IDispatchPtr pNode;
        CXmlText strName;
        CXmlText strValue;
    };
    // Where a text node stands among its siblings and what its element says.
    struct CTextPlace
    {
        BOOL bPreserve;  // the element has xml:space="preserve"
        BOOL bPrevious;
        BOOL bNext;
    };

    CQVTMarkupObject* LoadObject(CQVTMarkupObject* pParent, IDispatch* pElement);
    CQVTMarkupObject* CreateObject(LPCWSTR lpszTag, CQVTMarkupObject* pParent);
    // Every attribute of an element, asked of the DOM once, into a list of
    // the builder's: lists are kept for the next elements rather than made
    // for each. An element's list goes back before its children are loaded.
    using CAttributeList = std::vector<CAttribute>;
    CAttributeList& TakeAttributeList();
    void GiveBackAttributeList();
    static void ReadAttributes(IDispatch* pElement, CAttributeList& attributes);
    void LoadAttributes(CQVTMarkupObject* pObject, const std::vector<CAttribute>& attributes);
    void LoadChildElement(CQVTMarkupObject* pParent, IDispatch* pNode);
    void LoadTextContent(CQVTMarkupObject* pObject, IDispatch* pNode, BOOL bVerbatim,
                         const CTextPlace& place);
    CQVTMarkupDependencyProperty* FindAttributeProperty(CQVTMarkupObject* pObject, LPCWSTR lpszName);
    // The type named by the first nLength characters of a qualified name.
    static CQVTMarkupType* FindOwnerType(LPCWSTR lpszName, int nLength);
    void CheckPrefix(IDispatch* pNode, LPCWSTR lpszName);
    void CheckDeclarations(const std::vector<CAttribute>& attributes, LPCWSTR lpszTag);
    [[noreturn]] static void ThrowUndeclaredPrefix(const CString& strPrefix, const CString& strName);
    // The objects above the one being styled, each with whether it or a
    // logical parent of it holds resources or a style, and the nearest
    // object at or above it where a resource lookup can find or stop.
    struct CScopeStep
    {
        CQVTMarkupObject* pObject;
        BOOL bScoped;
        BOOL bStartKnown;
        CQVTMarkupObject* pLookupStart;  // null: a lookup finds nothing
    };
    // What a resource lookup by type found from one start, kept while the
    // styles of one tree are applied.
    struct CFoundStyle
    {
        CQVTMarkupObject* pStart;
        CQVTMarkupType* pType;
        CQVTMarkupObject* pFound;  // borrowed, may be null
    };
    struct CScopePath
    {
        std::vector<CScopeStep> steps;
        std::vector<CFoundStyle> found;
    };
    // Children first.
    void ApplyImplicitStyles(CQVTMarkupObject* pObject, int nDepth, CScopePath& path);
    static CQVTMarkupObject* FindStyleResource(CScopePath& path, CQVTMarkupObject* pStart,
                                               CQVTMarkupType* pType);
    // Where a resource lookup by type that reaches an object goes on from: the
    // objects before the first that holds resources or a style, or is a style,
    // add nothing to it, so lookups from any of them find what one from there
    // finds. A dictionary is looked in directly when a lookup starts at it, but
    // passed through on the way up: one that holds something is not a start.
    struct CLookupStart
    {
        BOOL bDecided;
        BOOL bKnown;               // else the lookup is made in full
        CQVTMarkupObject* pStart;  // null: nothing to find
    };
    static CLookupStart DecideLookupStart(CQVTMarkupObject* pObject, BOOL bHolds);
    static CLookupStart FindLookupStart(const CScopePath& path, CQVTMarkupObject* pObject, BOOL bHolds);
    static const CScopeStep* FindScopeStep(const CScopePath& path, CQVTMarkupObject* pObject);

    // The object of a property type whose ConvertFrom turns text into values
    // of it, made once per type and build.
    struct CConverter
    {
        CQVTMarkupType* pType;
        CQVTMarkupObject* pPrototype;  // counted
        BOOL bInUse;                   // a conversion through it is running
    };
    CConverter* FindConverter(CQVTMarkupType* pType);

    HRESULT m_hrComInit;
    CString m_strErrorText;
    std::vector<CConverter> m_arrConverters;
    CQVTMarkupContext* m_pContext;                    // not counted
    std::vector<CQVTMarkupObject*> m_arrObjectStack;  // outermost first, not counted
    // An attribute's literal that no property kept, taken again for the next
    // attribute instead of a new value.
    CQVTMarkupString* m_pSpareLiteral = nullptr;
    std::vector<std::unique_ptr<CAttributeList>> m_arrAttributeLists;
    size_t m_nAttributeListsInUse = 0;
    int m_nExtensionDepth = 0;  // markup extensions being resolved inside each other
    UINT m_nExtensionsResolved =
        0;  // objects taken through markup extensions, which may come from outside a build
};

// The prefix of a qualified name is one markup may use: none, "x" or "qvt".
BOOL AFXAPI IsMarkupPrefixAllowed(LPCWSTR lpszQualifiedName);
