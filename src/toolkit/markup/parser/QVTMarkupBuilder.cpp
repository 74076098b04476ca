#include "toolkit/markup/parser/QVTMarkupBuilder.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <utility>

#include "toolkit/foundation/xml/QVTXmlDispatch.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/core/QVTMarkupProperties.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/extensions/QVTMarkupExtension.h"
#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/markup/parser/QVTMarkupObjectProperty.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_DYNAMIC(CQVTMarkupBuilderException, CSimpleException)

namespace {
// Digits beyond this no longer change a number that saturates to 32 bits,
// and units cannot overflow it.
const __int64 kNumberCeiling = __int64(1) << 40;

int SaturateInt(__int64 nValue)
{
    return static_cast<int>(std::clamp<__int64>(nValue, INT_MIN, INT_MAX));
}

int SaturateDouble(double dValue)
{
    if (dValue >= 2147483647.0)
        return INT_MAX;
    if (dValue <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(dValue);
}

bool IsCSpace(WCHAR c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool StartsWith(LPCWSTR lpszText, LPCWSTR lpszPrefix)
{
    return _tcsncmp(lpszText, lpszPrefix, _tcslen(lpszPrefix)) == 0;
}

// The text of a node or attribute.
CString NodeText(IDispatch* pNode, LPCOLESTR pszProperty)
{
    VARIANT result;
    if (FAILED(XmlGetValue(pNode, pszProperty, &result)))
        return CString();
    CString strText;
    if (result.vt == VT_BSTR && result.bstrVal != nullptr)
        strText = CString(result.bstrVal, static_cast<int>(::SysStringLen(result.bstrVal)));
    ::VariantClear(&result);
    return strText;
}

// The DOM members read on every node of a build.
const CQVTXmlGetter kElementName(u"nodeName");
const CQVTXmlGetter kAttributeName(u"nodeName");
const CQVTXmlGetter kAttributeValue(u"nodeValue");
const CQVTXmlGetter kTextValue(u"nodeValue");
const CQVTXmlGetter kNodeType(u"nodeType");
const CQVTXmlGetter kAttributes(u"attributes");
const CQVTXmlGetter kLength(u"length");
const CQVTXmlGetter kItem(u"item");
const CQVTXmlGetter kFirstChild(u"firstChild");
const CQVTXmlGetter kNextSibling(u"nextSibling");

long NodeType(IDispatch* pNode)
{
    long nType = 0;
    kNodeType.ReadLong(pNode, nType);
    return nType;
}

// Leading and trailing white space removed and inner runs made one space;
// a space put back on a side that had white space and a sibling.
CString NormalizeText(LPCWSTR pszText, int nLength, BOOL bPrevious, BOOL bNext)
{
    int nStart = 0, nEnd = nLength;
    while (nStart < nEnd && IsCSpace(pszText[nStart]))
        ++nStart;
    while (nEnd > nStart && IsCSpace(pszText[nEnd - 1]))
        --nEnd;
    // Written in place: at most the kept text and a space on each side.
    CString strResult;
    LPWSTR pszOut = strResult.GetBuffer(nEnd - nStart + 2);
    int nOut = 0;
    if (nStart > 0 && bPrevious)
        pszOut[nOut++] = u' ';
    bool bInSpace = false;
    for (int i = nStart; i < nEnd; ++i)
    {
        if (IsCSpace(pszText[i]))
        {
            if (!bInSpace)
                pszOut[nOut++] = u' ';
            bInSpace = true;
        }
        else
        {
            pszOut[nOut++] = pszText[i];
            bInSpace = false;
        }
    }
    if (nEnd < nLength && bNext)
        pszOut[nOut++] = u' ';
    strResult.ReleaseBuffer(nOut);
    return strResult;
}

// Whether an object holds resources or a style that a resource lookup
// passing through it would search.
bool HoldsResources(CQVTMarkupObject* pObject)
{
    return pObject->GetValue(CQVTMarkupStyle::m_pResourcesProperty) != nullptr ||
           pObject->GetValue(CQVTMarkupInputElement::m_pStyleProperty) != nullptr;
}

bool IsAllSpace(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i)
    {
        if (!IsCSpace(strText[i]))
            return false;
    }
    return true;
}
}  // namespace

BOOL AFXAPI IsMarkupPrefixAllowed(LPCWSTR lpszQualifiedName)
{
    if (lpszQualifiedName == nullptr)
        return FALSE;
    LPCWSTR lpszColon = _tcschr(lpszQualifiedName, u':');
    if (lpszColon == nullptr)
        return TRUE;
    const size_t nPrefix = static_cast<size_t>(lpszColon - lpszQualifiedName);
    return (nPrefix == 1 && _tcsncmp(lpszQualifiedName, u"x", 1) == 0) ||
           (nPrefix == 3 && _tcsncmp(lpszQualifiedName, u"qvt", 3) == 0);
}

// The exception

CQVTMarkupBuilderException::CQVTMarkupBuilderException(LPCWSTR lpszMessage)
{
    m_szMessage[0] = 0;
    if (lpszMessage != nullptr)
        _tcsncpy_s(m_szMessage, _countof(m_szMessage), lpszMessage, _TRUNCATE);
}

BOOL CQVTMarkupBuilderException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    _tcsncpy_s(lpszError, nMaxError, m_szMessage, _TRUNCATE);
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return TRUE;
}

// Errors

void AFX_CDECL CQVTMarkupBuilder::ThrowBuilderError(LPCWSTR lpszMessage)
{
    throw new CQVTMarkupBuilderException(lpszMessage);
}

void AFX_CDECL CQVTMarkupBuilder::ThrowCannotAddContent(CQVTMarkupObject* pContent, CQVTMarkupObject* pOwner,
                                                        LPCWSTR lpszExpectedType)
{
    ThrowBuilderErrorFormat(
        u"'%ls' object cannot be added to '%ls'. Object cannot be converted to type '%ls'",
        pContent != nullptr ? pContent->GetType()->GetClassName() : u"", pOwner->GetType()->GetClassName(),
        lpszExpectedType);
}

void AFX_CDECL CQVTMarkupBuilder::ThrowBuilderErrorFormat(LPCWSTR lpszFormat, ...)
{
    CString strMessage;
    va_list args;
    va_start(args, lpszFormat);
    strMessage.FormatV(lpszFormat, args);
    va_end(args);
    ThrowBuilderError(strMessage);
}

void AFX_CDECL CQVTMarkupBuilder::ThrowComError(HRESULT hr)
{
    ThrowBuilderError(CQVTMarkupParser::GetSystemMessage(hr));
}

// Number readers

int AFX_CDECL CQVTMarkupBuilder::ReadWholeNumber(LPCWSTR lpszText)
{
    if (lpszText == nullptr)
        return 0;
    LPCWSTR p = lpszText;
    while (IsCSpace(*p))
        ++p;
    bool bNegative = false;
    if (*p == u'+' || *p == u'-')
        bNegative = *p++ == u'-';
    __int64 nValue = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p)
    {
        if (nValue < kNumberCeiling)
            nValue = nValue * 10 + (*p - u'0');
    }
    return SaturateInt(bNegative ? -nValue : nValue);
}

BOOL AFX_CDECL CQVTMarkupBuilder::ReadNumber(LPCWSTR lpszText, double& dValue)
{
    if (lpszText == nullptr)
        return FALSE;
    LPCWSTR p = lpszText;
    while (*p == u' ')
        ++p;
    bool bNegative = false;
    if (*p == u'+' || *p == u'-')
        bNegative = *p++ == u'-';
    double dResult = 0.0, dScale = 0.1;
    bool bDigits = false, bPoint = false;
    for (;; ++p)
    {
        if (*p >= u'0' && *p <= u'9')
        {
            bDigits = true;
            if (!bPoint)
                dResult = dResult * 10 + (*p - u'0');
            else
            {
                dResult += (*p - u'0') * dScale;
                dScale /= 10;
            }
        }
        else if (*p == u'.' && !bPoint)
        {
            bPoint = true;
        }
        else
        {
            break;
        }
    }
    while (*p == u' ')
        ++p;
    if (!bDigits || *p != 0)
        return FALSE;
    dValue = bNegative ? -dResult : dResult;
    return TRUE;
}

LPCWSTR AFX_CDECL CQVTMarkupBuilder::GetLengthUnit(LPCWSTR lpszText)
{
    if (lpszText == nullptr)
        return nullptr;
    const size_t nLength = _tcslen(lpszText);
    if (nLength <= 2)
        return nullptr;
    static const LPCWSTR kUnits[] = {u"pt", u"in", u"cm", u"mm"};
    for (LPCWSTR lpszUnit : kUnits)
    {
        if (_tcsnicmp(lpszText + nLength - 2, lpszUnit, 2) == 0)
            return lpszUnit;
    }
    return nullptr;
}

int AFX_CDECL CQVTMarkupBuilder::ApplyLengthUnit(__int64 nValue, LPCWSTR lpszUnit)
{
    nValue = std::clamp(nValue, -kNumberCeiling, kNumberCeiling);
    if (lpszUnit == nullptr)
        return SaturateInt(nValue);
    if (_tcscmp(lpszUnit, u"pt") == 0)
    {
        // Points to pixels, rounded half away from zero.
        const __int64 nScaled = nValue * 96;
        return SaturateInt(nScaled >= 0 ? (nScaled + 36) / 72 : (nScaled - 36) / 72);
    }
    if (_tcscmp(lpszUnit, u"in") == 0)
        return SaturateInt(nValue * 96);
    if (_tcscmp(lpszUnit, u"cm") == 0)
        return SaturateDouble(static_cast<double>(nValue) * 37.79528);
    if (_tcscmp(lpszUnit, u"mm") == 0)
        return SaturateDouble(static_cast<double>(nValue) * 3.779528);
    return SaturateInt(nValue);
}

// The builder

CQVTMarkupBuilder::CQVTMarkupBuilder(CQVTMarkupContext* pContext)
    : m_hrComInit(::CoInitialize(nullptr)), m_pContext(pContext)
{
}

CQVTMarkupBuilder::~CQVTMarkupBuilder()
{
    if (m_pSpareLiteral != nullptr)
        m_pSpareLiteral->InternalRelease();
    for (CConverter& converter : m_arrConverters)
        converter.pPrototype->InternalRelease();
    if (m_hrComInit == S_OK || m_hrComInit == S_FALSE)
        ::CoUninitialize();
}

CQVTMarkupObject* CQVTMarkupBuilder::ConvertValue(CQVTMarkupDependencyProperty* pProperty,
                                                  CQVTMarkupObject* pValue)
{
    return ConvertValue(this, m_pContext, pProperty, pValue);
}

CQVTMarkupObject* AFX_CDECL CQVTMarkupBuilder::ConvertValue(CQVTMarkupBuilder* pBuilder,
                                                            CQVTMarkupContext* pContext,
                                                            CQVTMarkupDependencyProperty* pProperty,
                                                            CQVTMarkupObject* pValue)
{
    CQVTMarkupPropertyMetadata* pMetadata = pProperty->GetMetadata();
    if (pMetadata != nullptr && pMetadata->m_pfnConverter != nullptr)
    {
        if (CQVTMarkupObject* pConverted = pMetadata->m_pfnConverter(pBuilder, pValue, pProperty))
            return pConverted;
    }
    CQVTMarkupType* pType = pProperty->GetPropertyType();
    // A build converts through one prototype per type; a conversion inside
    // another of the same type makes its own.
    CConverter* pConverter =
        pBuilder != nullptr && pBuilder->m_pContext == pContext ? pBuilder->FindConverter(pType) : nullptr;
    if (pConverter != nullptr && !pConverter->bInUse)
    {
        struct CUse
        {
            CQVTMarkupBuilder* pBuilder;
            size_t nIndex;
            ~CUse() { pBuilder->m_arrConverters[nIndex].bInUse = FALSE; }
        } use = {pBuilder, static_cast<size_t>(pConverter - pBuilder->m_arrConverters.data())};
        pConverter->bInUse = TRUE;
        CQVTMarkupObject* pPrototype = pConverter->pPrototype;
        pPrototype->SetAssociatedProperty(pProperty);
        if (CQVTMarkupObject* pConverted = pPrototype->ConvertFrom(pBuilder, pValue))
            return pConverted;
    }
    else
    {
        CQVTMarkupAutoPtr prototype(pContext != nullptr ? pContext->CreateMarkupObject(pType)
                                                        : pType->CreateObject(nullptr));
        if (prototype != nullptr)
        {
            prototype->SetAssociatedProperty(pProperty);
            if (CQVTMarkupObject* pConverted = prototype->ConvertFrom(pBuilder, pValue))
                return pConverted;
        }
    }
    ThrowBuilderErrorFormat(u"Cannot convert string in attribute '%ls' to object of type '%ls'",
                            pProperty->GetName(), pType->GetClassName());
}

CQVTMarkupBuilder::CConverter* CQVTMarkupBuilder::FindConverter(CQVTMarkupType* pType)
{
    for (CConverter& converter : m_arrConverters)
    {
        if (converter.pType == pType)
            return &converter;
    }
    CQVTMarkupObject* pPrototype =
        m_pContext != nullptr ? m_pContext->CreateMarkupObject(pType) : pType->CreateObject(nullptr);
    if (pPrototype == nullptr)
        return nullptr;
    m_arrConverters.push_back({pType, pPrototype, FALSE});
    return &m_arrConverters.back();
}

CQVTMarkupUIElement* CQVTMarkupBuilder::Parse(CQVTMarkupParser* pParser)
{
    m_strErrorText.Empty();
    m_arrObjectStack.clear();
    if (pParser == nullptr)
        return nullptr;
    IDispatch* pDocument = pParser->GetDocument();
    if (pDocument == nullptr)
    {
        if (pParser->GetErrorCode() != S_OK)
            m_strErrorText = pParser->GetErrorMessage();
        return nullptr;
    }
    // A parse a running script asks for must not close the engine running it.
    const BOOL bNested = m_pContext != nullptr && m_pContext->IsInScriptParse();
    try
    {
        if (m_pContext != nullptr && !bNested)
            m_pContext->CloseScript();
        CQVTMarkupAutoPtr root;
        const UINT nScopeChanges = CQVTMarkupProperties::GetScopeChangeCount();
        const UINT nExtensions = m_nExtensionsResolved;
        IDispatchPtr pElement = XmlGetObject(pDocument, u"documentElement");
        if (pElement != nullptr)
            root.Reset(LoadObject(nullptr, pElement));
        if (MarkupCast<CQVTMarkupUIElement>(root) == nullptr)
            ThrowBuilderError(u"Root element have to be 'CQVTMarkupUIElement' type");
        // A tree where nothing got resources or a style, and no object came
        // from outside the build, has no implicit style to find.
        if (m_nExtensionsResolved != nExtensions ||
            CQVTMarkupProperties::GetScopeChangeCount() != nScopeChanges ||
            CQVTMarkupType::DefaultStylesHoldResources())
        {
            CScopePath path;
            ApplyImplicitStyles(root, 0, path);
        }
        if (m_pContext != nullptr && m_pContext->GetScriptEngine() != nullptr &&
            (!bNested || m_pContext->HasPendingScripts()))
        {
            m_pContext->AddNamedElements(this, root);
            m_pContext->RunScripts(this);
            m_pContext->AddScriptRoot(root);
        }
        return static_cast<CQVTMarkupUIElement*>(root.Detach());
    }
    catch (CQVTMarkupBuilderException* e)
    {
        m_strErrorText = CString(e->GetMessage()).Left(512);
        e->Delete();
    }
    catch (COleException* e)
    {
        m_strErrorText.Format(u"COM Error [0x%08X]: %s", static_cast<unsigned>(e->m_sc),
                              CQVTMarkupParser::GetSystemMessage(e->m_sc).GetString());
        e->Delete();
    }
    catch (_com_error& e)
    {
        m_strErrorText.Format(u"COM Error [0x%08X]: %s", static_cast<unsigned>(e.Error()), e.ErrorMessage());
    }
    if (bNested)
        m_pContext->DropPendingScripts();
    m_arrObjectStack.clear();
    return nullptr;
}

void CQVTMarkupBuilder::CheckPrefix(IDispatch* pNode, LPCWSTR lpszName)
{
    LPCWSTR lpszColon = _tcschr(lpszName, u':');
    if (lpszColon == nullptr)
        return;
    const int nPrefix = static_cast<int>(lpszColon - lpszName);
    auto isPrefix = [lpszName, nPrefix](LPCWSTR lpszKnown) {
        return static_cast<int>(_tcslen(lpszKnown)) == nPrefix && _tcsncmp(lpszName, lpszKnown, nPrefix) == 0;
    };
    if (isPrefix(u"x") || isPrefix(u"xml") || isPrefix(u"xmlns"))
        return;
    if (!NodeText(pNode, u"namespaceURI").IsEmpty())
        return;
    ThrowUndeclaredPrefix(CString(lpszName, nPrefix), CString(lpszName));
}

CQVTMarkupBuilder::CAttributeList& CQVTMarkupBuilder::TakeAttributeList()
{
    if (m_nAttributeListsInUse == m_arrAttributeLists.size())
        m_arrAttributeLists.push_back(std::make_unique<CAttributeList>());
    CAttributeList& attributes = *m_arrAttributeLists[m_nAttributeListsInUse++];
    attributes.clear();
    return attributes;
}

void CQVTMarkupBuilder::GiveBackAttributeList()
{
    // The DOM's attribute nodes and texts go now; the list's room stays.
    m_arrAttributeLists[--m_nAttributeListsInUse]->clear();
}

void CQVTMarkupBuilder::ReadAttributes(IDispatch* pElement, CAttributeList& attributes)
{
    IDispatchPtr pAttributes = kAttributes.ReadObject(pElement);
    long nCount = 0;
    if (pAttributes == nullptr || !kLength.ReadLong(pAttributes, nCount) || nCount <= 0)
        return;
    attributes.reserve(static_cast<size_t>(nCount));
    for (long i = 0; i < nCount; ++i)
    {
        IDispatchPtr pAttribute = kItem.ReadItem(pAttributes, i);
        if (pAttribute != nullptr)
            attributes.push_back({pAttribute, CXmlText(kAttributeName.ReadText(pAttribute)),
                                  CXmlText(kAttributeValue.ReadText(pAttribute))});
    }
}

void CQVTMarkupBuilder::CheckDeclarations(const std::vector<CAttribute>& attributes, LPCWSTR lpszTag)
{
    // The platform's loader drops an undeclared prefix from the name of the
    // element that uses it and declares the prefix empty there instead.
    for (const CAttribute& attribute : attributes)
    {
        if (StartsWith(attribute.strName.GetString(), u"xmlns:") && attribute.strName != u"xmlns:x" &&
            attribute.strValue.IsEmpty())
            ThrowUndeclaredPrefix(attribute.strName.GetString() + 6, lpszTag);
    }
}

void CQVTMarkupBuilder::ThrowUndeclaredPrefix(const CString& strPrefix, const CString& strName)
{
    CString strReason;
    strReason.Format(u"Reference to undeclared namespace prefix: '%ls'.", strPrefix.GetString());
    ThrowBuilderError(
        CQVTMarkupParser::FormatXmlError(static_cast<HRESULT>(0xC00CE01D), strReason, 0, 0, strName));
}

CQVTMarkupObject* CQVTMarkupBuilder::LoadObject(CQVTMarkupObject* pParent, IDispatch* pElement)
{
    if (static_cast<int>(m_arrObjectStack.size()) >= kMaxDepth)
        ThrowBuilderErrorFormat(u"Elements are nested deeper than %d levels", static_cast<int>(kMaxDepth));
    const CXmlText tag(kElementName.ReadText(pElement));
    LPCWSTR lpszTag = tag.GetString();
    CheckPrefix(pElement, lpszTag);
    // The list goes back on every way out, before the children are loaded
    // on the normal one.
    struct CListUse
    {
        CQVTMarkupBuilder* pBuilder;
        ~CListUse()
        {
            if (pBuilder != nullptr)
                pBuilder->GiveBackAttributeList();
        }
    } listUse = {this};
    CAttributeList& attributes = TakeAttributeList();
    ReadAttributes(pElement, attributes);
    CheckDeclarations(attributes, lpszTag);
    if (!IsMarkupPrefixAllowed(lpszTag))
        return nullptr;
    CQVTMarkupAutoPtr object(CreateObject(lpszTag, pParent));
    if (object == nullptr)
        ThrowBuilderErrorFormat(u"The tag '%ls' does not exist in XML namespace", lpszTag);
    object->SetSourceNode(pElement);

    m_arrObjectStack.push_back(object);
    object->SetLoading(TRUE);
    try
    {
        LoadAttributes(object, attributes);
        CTextPlace place = {FALSE, FALSE, FALSE};
        for (const CAttribute& attribute : attributes)
        {
            if (attribute.strName == u"xml:space")
                place.bPreserve = attribute.strValue == u"preserve";
        }
        listUse.pBuilder = nullptr;
        GiveBackAttributeList();
        IDispatchPtr pChild = kFirstChild.ReadObject(pElement);
        while (pChild != nullptr)
        {
            IDispatchPtr pNext = kNextSibling.ReadObject(pChild);
            place.bNext = pNext != nullptr;
            switch (NodeType(pChild))
            {
            case QVT_XML_NODE_ELEMENT:
                LoadChildElement(object, pChild);
                break;
            case QVT_XML_NODE_TEXT:
                LoadTextContent(object, pChild, FALSE, place);
                break;
            case QVT_XML_NODE_CDATA_SECTION:
                LoadTextContent(object, pChild, TRUE, place);
                break;
            default:
                break;
            }
            place.bPrevious = TRUE;
            XmlAssign(pChild, pNext);
        }
        object->SetLoading(FALSE);
        object->OnBuildFinished(this);
    }
    catch (...)
    {
        object->SetLoading(FALSE);
        m_arrObjectStack.pop_back();
        throw;
    }
    m_arrObjectStack.pop_back();
    return object.Detach();
}

CQVTMarkupObject* CQVTMarkupBuilder::CreateObject(LPCWSTR lpszTag, CQVTMarkupObject* pParent)
{
    LPCWSTR lpszDot = _tcschr(lpszTag, u'.');
    if (lpszDot == nullptr)
    {
        CQVTMarkupType* pType = FindMarkupType(lpszTag);
        if (pType == nullptr)
            return nullptr;
        CQVTMarkupObject* pObject =
            m_pContext != nullptr ? m_pContext->CreateMarkupObject(pType) : pType->CreateObject(nullptr);
        if (pObject != nullptr)
        {
            // Elements share their type's tag instead of a copy each.
            if (pType->GetTagName() != nullptr && _tcscmp(pType->GetTagName(), lpszTag) == 0)
                pObject->SetStaticSourceTag(pType->GetTagName());
            else
                pObject->SetSourceTag(lpszTag);
        }
        return pObject;
    }
    const int nDot = static_cast<int>(lpszDot - lpszTag);
    if (pParent == nullptr)
        return nullptr;
    CQVTMarkupDependencyProperty* pProperty =
        CQVTMarkupDependencyProperty::FindProperty(FindOwnerType(lpszTag, nDot), lpszDot + 1);
    if (pProperty == nullptr)
        return nullptr;
    auto isOwner = [lpszTag, nDot](CQVTMarkupObject* pObject) {
        LPCWSTR lpszSource = pObject->GetSourceTag();
        return lpszSource != nullptr && _tcsncmp(lpszSource, lpszTag, nDot) == 0 && lpszSource[nDot] == 0;
    };
    BOOL bOwnerMatches = FALSE;
    if (pProperty->IsAttached())
    {
        for (CQVTMarkupObject* p = pParent; p != nullptr && !bOwnerMatches; p = p->GetLogicalParent())
            bOwnerMatches = isOwner(p);
    }
    else
    {
        bOwnerMatches = isOwner(pParent);
    }
    if (!bOwnerMatches)
        ThrowBuilderErrorFormat(u"Invalid use of dependency property %ls", lpszTag);
    CQVTMarkupObjectProperty* pObject = new CQVTMarkupObjectProperty(pProperty);
    pObject->SetMarkupContext(m_pContext);
    pObject->SetSourceTag(lpszTag);
    return pObject;
}

CQVTMarkupType* CQVTMarkupBuilder::FindOwnerType(LPCWSTR lpszName, int nLength)
{
    // Type names are short: the copy that ends the name stays on the stack.
    WCHAR szOwner[64];
    if (nLength < static_cast<int>(_countof(szOwner)))
    {
        memcpy(szOwner, lpszName, static_cast<size_t>(nLength) * sizeof(WCHAR));
        szOwner[nLength] = 0;
        return FindMarkupType(szOwner);
    }
    return FindMarkupType(CString(lpszName, nLength));
}

CQVTMarkupDependencyProperty* CQVTMarkupBuilder::FindAttributeProperty(CQVTMarkupObject* pObject,
                                                                       LPCWSTR lpszName)
{
    LPCWSTR lpszDot = _tcschr(lpszName, u'.');
    if (lpszDot == nullptr)
        return CQVTMarkupDependencyProperty::FindProperty(pObject->GetType(), lpszName);
    return CQVTMarkupDependencyProperty::FindProperty(
        FindOwnerType(lpszName, static_cast<int>(lpszDot - lpszName)), lpszDot + 1);
}

void CQVTMarkupBuilder::LoadAttributes(CQVTMarkupObject* pObject, const std::vector<CAttribute>& attributes)
{
    for (const CAttribute& attribute : attributes)
    {
        IDispatch* pAttribute = attribute.pNode;
        LPCWSTR lpszName = attribute.strName.GetString();
        if (attribute.strName == u"xmlns")
            continue;

        // Most names have no prefix: one look settles both checks.
        if (_tcschr(lpszName, u':') != nullptr)
        {
            CheckPrefix(pAttribute, lpszName);
            if (!IsMarkupPrefixAllowed(lpszName))
                continue;
        }
        CQVTMarkupDependencyProperty* pProperty = FindAttributeProperty(pObject, lpszName);
        if (pProperty == nullptr)
            ThrowBuilderErrorFormat(u"The property '%ls' does not exist in XML namespace", lpszName);
        LPCWSTR lpszText = attribute.strValue.GetString();
        if (lpszText[0] == u'{' && lpszText[1] != u'}')
        {
            CQVTMarkupAutoPtr value(ProvideExtensionValue(lpszText + 1));
            pObject->SetPropertyObject(this, pProperty, value);
            continue;
        }
        LPCWSTR lpszLiteral = lpszText;
        if (StartsWith(lpszLiteral, u"{}"))
            lpszLiteral += 2;
        CQVTMarkupString* pLiteral = m_pSpareLiteral;
        m_pSpareLiteral = nullptr;
        if (pLiteral != nullptr)
            pLiteral->ResetText(lpszLiteral);
        else
            pLiteral = CQVTMarkupString::CreateValue(lpszLiteral);
        CQVTMarkupAutoPtr value(pLiteral);
        pObject->SetPropertyObject(this, pProperty, value);
        value->OnBuildFinished(this);
        // Most literals are converted to another value and dropped.
        if (m_pSpareLiteral == nullptr && pLiteral->IsUnshared())
            m_pSpareLiteral = static_cast<CQVTMarkupString*>(value.Detach());
    }
}

void CQVTMarkupBuilder::LoadChildElement(CQVTMarkupObject* pParent, IDispatch* pNode)
{
    CQVTMarkupAutoPtr child(LoadObject(pParent, pNode));
    if (child == nullptr)
        return;
    if (CQVTMarkupObjectProperty* pProperty = MarkupCast<CQVTMarkupObjectProperty>(child))
    {
        if (pProperty->GetPropertyValue() == nullptr)
            ThrowBuilderErrorFormat(u"'%ls' property does not have a value",
                                    pProperty->GetProperty()->GetName());
        pParent->SetPropertyObject(this, pProperty->GetProperty(), pProperty->GetPropertyValue());
        return;
    }
    if (child->IsKindOf(CQVTMarkupExtension::GetMarkupType()))
    {
        pParent->AddExtension(child);
        return;
    }
    pParent->SetContentObject(this, child);
}

void CQVTMarkupBuilder::LoadTextContent(CQVTMarkupObject* pObject, IDispatch* pNode, BOOL bVerbatim,
                                        const CTextPlace& place)
{
    // Normalised straight from the DOM's text, without a copy of it first.
    const CXmlText raw(kTextValue.ReadText(pNode));
    CString strText = !bVerbatim && !place.bPreserve
                          ? NormalizeText(raw.GetString(), raw.GetLength(), place.bPrevious, place.bNext)
                          : CString(raw.GetString(), raw.GetLength());
    if (strText.IsEmpty())
        return;
    if (IsAllSpace(strText))
    {
        if (!pObject->HasContentObject() || !pObject->AllowWhiteSpaceContent())
            return;
        strText = u" ";
    }
    CQVTMarkupAutoPtr value(CQVTMarkupString::CreateValue(std::move(strText)));
    if (value == nullptr)
        ThrowBuilderErrorFormat(u"Failed to load '%ls' object content",
                                pObject->GetSourceTag() != nullptr ? pObject->GetSourceTag() : u"");
    pObject->SetContentObject(this, value);
    value->OnBuildFinished(this);
}

void CQVTMarkupBuilder::ApplyImplicitStyles(CQVTMarkupObject* pObject, int nDepth, CScopePath& path)
{
    if (pObject == nullptr || nDepth > 2 * kMaxDepth)
        return;
    // An element's lookup walks up its logical parents: where none of them
    // holds resources or a style it cannot find one. Each object on the path
    // is asked once, before anything below it, instead of once for every
    // element below it; parents off the path (a panel's collection) are
    // asked on the way up to it.
    BOOL bScopesAbove = FALSE;
    int nSteps = 0;
    for (CQVTMarkupObject* pParent = pObject->GetLogicalParent(); pParent != nullptr;
         pParent = pParent->GetLogicalParent())
    {
        const CScopeStep* pStep = FindScopeStep(path, pParent);
        if (pStep != nullptr)
        {
            bScopesAbove = pStep->bScoped;
            break;
        }
        if (++nSteps > 2 * kMaxDepth || HoldsResources(pParent))
        {
            bScopesAbove = TRUE;
            break;
        }
    }
    // Nothing below an object changes what it holds.
    const BOOL bHolds = HoldsResources(pObject);
    // Without resources or a style at or above it, no lookup from here finds anything.
    const CLookupStart start =
        bScopesAbove || bHolds ? FindLookupStart(path, pObject, bHolds) : CLookupStart{TRUE, TRUE, nullptr};
    path.steps.push_back({pObject, bScopesAbove || bHolds, start.bKnown, start.pStart});
    const int nCount = pObject->GetLogicalChildrenCount();
    for (int i = 0; i < nCount; ++i)
        ApplyImplicitStyles(pObject->GetLogicalChild(i), nDepth + 1, path);
    path.steps.pop_back();
    if (CQVTMarkupInputElement* pElement = MarkupCast<CQVTMarkupInputElement>(pObject))
    {
        if (!bScopesAbove && !bHolds && pElement->GetStyle() == nullptr)
            return;
        if (pElement->GetStyle() != nullptr || !start.bKnown)
            pElement->ApplyImplicitStyle();
        else
            pElement->ApplyFoundStyle(FindStyleResource(path, start.pStart, pElement->GetType()));
        // Its style may give it resources of its own.
        path.found.erase(
            std::remove_if(path.found.begin(), path.found.end(),
                           [pObject](const CFoundStyle& found) { return found.pStart == pObject; }),
            path.found.end());
    }
}

CQVTMarkupBuilder::CLookupStart CQVTMarkupBuilder::DecideLookupStart(CQVTMarkupObject* pObject, BOOL bHolds)
{
    if (MarkupCast<CQVTMarkupResourceDictionary>(pObject) != nullptr)
        return {bHolds, FALSE, nullptr};
    if (bHolds || MarkupCast<CQVTMarkupStyle>(pObject) != nullptr)
        return {TRUE, TRUE, pObject};
    return {FALSE, FALSE, nullptr};
}

const CQVTMarkupBuilder::CScopeStep* CQVTMarkupBuilder::FindScopeStep(const CScopePath& path,
                                                                      CQVTMarkupObject* pObject)
{
    for (auto it = path.steps.rbegin(); it != path.steps.rend(); ++it)
    {
        if (it->pObject == pObject)
            return &*it;
    }
    return nullptr;
}

CQVTMarkupBuilder::CLookupStart CQVTMarkupBuilder::FindLookupStart(const CScopePath& path,
                                                                   CQVTMarkupObject* pObject, BOOL bHolds)
{
    CLookupStart start = DecideLookupStart(pObject, bHolds);
    int nSteps = 0;
    for (CQVTMarkupObject* pParent = pObject->GetLogicalParent(); !start.bDecided && pParent != nullptr;
         pParent = pParent->GetLogicalParent())
    {
        if (const CScopeStep* pStep = FindScopeStep(path, pParent))
            return {TRUE, pStep->bStartKnown, pStep->pLookupStart};
        if (++nSteps > 2 * kMaxDepth)
            return {TRUE, FALSE, nullptr};
        start = DecideLookupStart(pParent, HoldsResources(pParent));
    }
    return start.bDecided ? start : CLookupStart{TRUE, TRUE, nullptr};
}

CQVTMarkupObject* CQVTMarkupBuilder::FindStyleResource(CScopePath& path, CQVTMarkupObject* pStart,
                                                       CQVTMarkupType* pType)
{
    if (pStart == nullptr)
        return nullptr;
    for (const CFoundStyle& found : path.found)
    {
        if (found.pStart == pStart && found.pType == pType)
            return found.pFound;
    }
    CQVTMarkupObject* pFound = CQVTMarkupResourceDictionary::FindResource(pStart, pType);
    path.found.push_back({pStart, pType, pFound});
    return pFound;
}

// Markup extensions

CQVTMarkupObject* CQVTMarkupBuilder::ProvideExtensionValue(LPCWSTR lpszText)
{
    // A key may itself be an extension: each level copies the rest of the
    // text and takes a stack frame, so nesting has the elements' limit.
    if (m_nExtensionDepth >= kMaxDepth)
        ThrowBuilderErrorFormat(u"Markup extensions are nested deeper than %d levels",
                                static_cast<int>(kMaxDepth));
    struct CDepth
    {
        int& nDepth;
        explicit CDepth(int& n) : nDepth(n) { ++nDepth; }
        ~CDepth() { --nDepth; }
    } depth(m_nExtensionDepth);
    ++m_nExtensionsResolved;
    const size_t nLength = _tcslen(lpszText);
    if (nLength == 0 || lpszText[nLength - 1] != u'}')
        ThrowBuilderError(u"Markup extension expressions must end with '}'");
    const CString strBody(lpszText, static_cast<int>(nLength - 1));
    LPCWSTR lpszBody = strBody.GetString();
    if (StartsWith(lpszBody, u"x:Static "))
        return ResolveStaticExtension(lpszBody + 9);
    if (StartsWith(lpszBody, u"StaticResource "))
        return FindResource(lpszBody + 15);
    if (StartsWith(lpszBody, u"DynamicResource "))
        return FindResource(lpszBody + 16);
    if (StartsWith(lpszBody, u"x:Type "))
        return ResolveType(lpszBody + 7);
    ThrowBuilderErrorFormat(u"The tag '%ls' does not exist in XML namespace", lpszBody);
}

CQVTMarkupObject* CQVTMarkupBuilder::ResolveStaticExtension(LPCWSTR lpszPath)
{
    CQVTMarkupObject* pValue =
        m_pContext != nullptr ? m_pContext->GetExtensionRoot()->FindValue(lpszPath) : nullptr;
    if (pValue == nullptr)
        ThrowBuilderErrorFormat(u"Cannot find the static extension '%ls'", lpszPath);
    return pValue;
}

CQVTMarkupObject* CQVTMarkupBuilder::FindResource(LPCWSTR lpszKeyText)
{
    LPCWSTR p = lpszKeyText;
    while (*p == u' ' || *p == u'\r' || *p == u'\n')
        ++p;
    CQVTMarkupAutoPtr key;
    if (p[0] == u'{' && p[1] != u'}')
        key.Reset(ProvideExtensionValue(p + 1));
    else if (StartsWith(p, u"{}"))
        key.Reset(CQVTMarkupString::CreateValue(p + 2));
    else
        key.Reset(CQVTMarkupString::CreateValue(p));

    for (int i = GetObjectStackCount() - 1; i >= 0; --i)
    {
        CQVTMarkupObject* pObject = m_arrObjectStack[i];
        CQVTMarkupObject* pFound = nullptr;
        if (MarkupCast<CQVTMarkupFrameworkElement>(pObject) != nullptr ||
            MarkupCast<CQVTMarkupFrameworkContentElement>(pObject) != nullptr ||
            MarkupCast<CQVTMarkupStyle>(pObject) != nullptr)
        {
            pFound = CQVTMarkupResourceDictionary::FindResource(pObject, key);
        }
        else if (CQVTMarkupObjectProperty* pProperty = MarkupCast<CQVTMarkupObjectProperty>(pObject))
        {
            if (pProperty->GetPropertyValue() != nullptr)
                pFound = CQVTMarkupResourceDictionary::FindResource(pProperty->GetPropertyValue(), key);
        }
        if (pFound != nullptr)
        {
            pFound->InternalAddRef();
            return pFound;
        }
    }
    if (CQVTMarkupColorKey* pColorKey = MarkupCast<CQVTMarkupColorKey>(key))
        return new CQVTMarkupColor(::GetSysColor(pColorKey->GetKey()));
    if (CQVTMarkupBrushKey* pBrushKey = MarkupCast<CQVTMarkupBrushKey>(key))
        return new CQVTMarkupSolidColorBrush(::GetSysColor(pBrushKey->GetKey()));
    ThrowBuilderErrorFormat(u"Cannot find resource named '%ls'. Resource names are case sensitive", p);
}

CQVTMarkupObject* CQVTMarkupBuilder::ResolveType(LPCWSTR lpszTagName)
{
    CQVTMarkupType* pType = FindMarkupType(lpszTagName);
    if (pType == nullptr)
        ThrowBuilderErrorFormat(u"Cannot find type '%ls'", lpszTagName);
    pType->InternalAddRef();
    return pType;
}
