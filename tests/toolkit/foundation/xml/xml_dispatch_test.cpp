// Members of DOM objects called by name: ids are remembered per type, so a
// name that two types give different ids keeps each type's own, and a name
// a type lacks keeps failing.
#include <string>

#include "tests/support/sondrel_gtest.h"

#include "toolkit/foundation/xml/QVTXmlDispatch.h"

namespace {
CString NodeName(IDispatch* pNode)
{
    CString str;
    XmlGetString(pNode, u"nodeName", str);
    return str;
}
}  // namespace

TEST(XmlDispatch, MembersResolvePerTypeAcrossRepeatedCalls)
{
    ::CoInitialize(nullptr);
    {
        IDispatchPtr pDocument = CreateXmlDocument(FALSE, nullptr, 0, 0);
        ASSERT_NE(pDocument, nullptr);
        VARIANT result;
        ASSERT_EQ(S_OK, XmlInvoke(pDocument, u"loadXML", DISPATCH_METHOD,
                                  {_variant_t(u"<a x='1' y='2'><b/><c/><d/></a>")}, &result));
        ::VariantClear(&result);
        IDispatchPtr pRoot = XmlGetObject(pDocument, u"documentElement");
        ASSERT_NE(pRoot, nullptr);
        IDispatchPtr pChildren = XmlGetObject(pRoot, u"childNodes");
        IDispatchPtr pAttributes = XmlGetObject(pRoot, u"attributes");
        ASSERT_NE(pChildren, nullptr);
        ASSERT_NE(pAttributes, nullptr);
        for (int nRound = 0; nRound < 3; ++nRound)
        {
            long nChildren = 0, nAttributes = 0;
            EXPECT_TRUE(XmlGetLong(pChildren, u"length", nChildren));
            EXPECT_TRUE(XmlGetLong(pAttributes, u"length", nAttributes));
            EXPECT_EQ(nChildren, 3);
            EXPECT_EQ(nAttributes, 2);
            EXPECT_EQ(NodeName(XmlGetObject(pChildren, u"item", {_variant_t(1L)})), CString(u"c"));
            EXPECT_EQ(NodeName(XmlGetObject(pAttributes, u"item", {_variant_t(1L)})), CString(u"y"));
            EXPECT_EQ(NodeName(pRoot), CString(u"a"));
            EXPECT_EQ(NodeName(pDocument), CString(u"#document"));
            EXPECT_TRUE(FAILED(XmlInvoke(pRoot, u"noSuchMember", QVT_XML_CALL, {}, nullptr)));
            EXPECT_EQ(NodeName(XmlGetItem(pChildren, u"item", 2)), CString(u"d"));
            EXPECT_EQ(XmlGetItem(pChildren, u"item", 3), nullptr);
        }

        // A name buffer that names another member the next time.
        WCHAR szMember[16] = u"nodeName";
        CString strFirst, strSecond;
        EXPECT_TRUE(XmlGetString(pRoot, szMember, strFirst));
        memcpy(szMember, u"nodeTypeString", sizeof(u"nodeTypeString"));
        EXPECT_TRUE(XmlGetString(pRoot, szMember, strSecond));
        EXPECT_EQ(strFirst, CString(u"a"));
        EXPECT_EQ(strSecond, CString(u"element"));
    }
    ::CoUninitialize();
}

namespace {
// The member called the long way, through the object's own Invoke.
HRESULT InvokeByName(IDispatch* pDispatch, LPCOLESTR pszName, WORD wFlags, std::vector<_variant_t> args,
                     VARIANT* pResult)
{
    ::VariantInit(pResult);
    DISPID dispid = 0;
    LPOLESTR pszMember = const_cast<LPOLESTR>(pszName);
    HRESULT hr = pDispatch->GetIDsOfNames(IID_NULL, &pszMember, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                         static_cast<UINT>(reversed.size()), 0};
    return pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params, pResult, nullptr,
                             nullptr);
}

// What a result says, objects by their node name and type.
CString Describe(const VARIANT& value)
{
    CString str;
    str.Format(u"vt %d ", static_cast<int>(value.vt));
    switch (value.vt)
    {
    case VT_BSTR:
        return str + (value.bstrVal != nullptr ? CString(value.bstrVal) : CString(u"(null)"));
    case VT_I4:
    {
        CString strNumber;
        strNumber.Format(u"%d", static_cast<int>(value.lVal));
        return str + strNumber;
    }
    case VT_BOOL:
        return str + (value.boolVal != VARIANT_FALSE ? u"true" : u"false");
    case VT_DISPATCH:
    {
        if (value.pdispVal == nullptr)
            return str + u"(none)";
        long nType = 0;
        XmlGetLong(value.pdispVal, u"nodeType", nType);
        CString strType;
        strType.Format(u" type %d", static_cast<int>(nType));
        return str + NodeName(value.pdispVal) + strType;
    }
    default:
        return str;
    }
}

std::string Text(const CString& str)
{
    return std::string(CStringA(str).GetString());
}

// A document loaded with its white space kept, and its nodes: the document,
// the root element, the root's attribute map and child list, its children in
// order, then its attributes. Empty when the text does not load.
std::vector<IDispatchPtr> LoadNodes(LPCWSTR lpszXml)
{
    IDispatchPtr pDocument = CreateXmlDocument(FALSE, nullptr, 0, 0);
    if (pDocument == nullptr)
        return {};
    XmlPutProperty(pDocument, u"preserveWhiteSpace", _variant_t(true));
    VARIANT result;
    const HRESULT hr = XmlInvoke(pDocument, u"loadXML", DISPATCH_METHOD, {_variant_t(lpszXml)}, &result);
    ::VariantClear(&result);
    IDispatchPtr pRoot = XmlGetObject(pDocument, u"documentElement");
    if (hr != S_OK || pRoot == nullptr)
        return {};
    IDispatchPtr pAttributes = XmlGetObject(pRoot, u"attributes");
    std::vector<IDispatchPtr> nodes = {pDocument, pRoot, pAttributes, XmlGetObject(pRoot, u"childNodes")};
    for (IDispatchPtr pChild = XmlGetObject(pRoot, u"firstChild"); pChild != nullptr;)
    {
        nodes.push_back(pChild);
        IDispatchPtr pNext = XmlGetObject(pChild, u"nextSibling");
        XmlAssign(pChild, pNext);
    }
    long nIndex = 0;
    for (IDispatchPtr pAttribute = XmlGetItem(pAttributes, u"item", nIndex); pAttribute != nullptr;)
    {
        nodes.push_back(pAttribute);
        IDispatchPtr pNext = XmlGetItem(pAttributes, u"item", ++nIndex);
        XmlAssign(pAttribute, pNext);
    }
    return nodes;
}
}  // namespace

// Getters are read straight through the object's function table: every one
// must give what the object's own Invoke gives, value type included.
TEST(XmlDispatch, DirectReadsGiveWhatInvokeGives)
{
    ::CoInitialize(nullptr);
    {
        const std::vector<IDispatchPtr> nodes = LoadNodes(
            u"<a xmlns:q='urn:q' x='1' q:y='2'>text<![CDATA[<raw>]]><!--c--><q:b/><c>inner</c></a>");
        ASSERT_EQ(nodes.size(), 12u);
        IDispatchPtr pDocument = nodes[0], pRoot = nodes[1];
        VARIANT result;
        static const LPCWSTR kGetters[] = {u"nodeName",   u"nodeValue",    u"nodeType",    u"text",
                                           u"firstChild", u"lastChild",    u"nextSibling", u"previousSibling",
                                           u"parentNode", u"namespaceURI", u"prefix",      u"baseName",
                                           u"attributes", u"length",       u"async",       u"documentElement",
                                           u"xml",        u"hasChildNodes"};
        for (int nRound = 0; nRound < 2; ++nRound)
        {
            for (size_t i = 0; i < nodes.size(); ++i)
            {
                ASSERT_NE(nodes[i], nullptr) << i;
                for (LPCWSTR lpszName : kGetters)
                {
                    VARIANT expected, actual;
                    const HRESULT hrExpected = InvokeByName(nodes[i], lpszName, QVT_XML_CALL, {}, &expected);
                    const HRESULT hrActual = XmlInvoke(nodes[i], lpszName, QVT_XML_CALL, {}, &actual);
                    EXPECT_EQ(SUCCEEDED(hrExpected), SUCCEEDED(hrActual)) << i << " " << CStringA(lpszName);
                    EXPECT_EQ(Text(Describe(expected)), Text(Describe(actual)))
                        << i << " " << CStringA(lpszName);
                    ::VariantClear(&expected);
                    ::VariantClear(&actual);
                }
                // Indexed reads, in range and past the end.
                for (long nIndex : {0L, 1L, 99L, -1L})
                {
                    VARIANT expected, actual;
                    const HRESULT hrExpected =
                        InvokeByName(nodes[i], u"item", QVT_XML_CALL, {_variant_t(nIndex)}, &expected);
                    const HRESULT hrActual =
                        XmlInvoke(nodes[i], u"item", QVT_XML_CALL, {_variant_t(nIndex)}, &actual);
                    EXPECT_EQ(SUCCEEDED(hrExpected), SUCCEEDED(hrActual)) << i << " item " << nIndex;
                    EXPECT_EQ(Text(Describe(expected)), Text(Describe(actual))) << i << " item " << nIndex;
                    ::VariantClear(&expected);
                    ::VariantClear(&actual);
                }
            }
        }
        // Arguments of other types, methods with arguments and puts take the
        // long way and still work.
        EXPECT_EQ(NodeName(XmlGetObject(nodes[3], u"item", {_variant_t(u"1")})), CString(u"#cdata-section"));
        CString strValue;
        ASSERT_EQ(S_OK, XmlInvoke(pRoot, u"getAttribute", DISPATCH_METHOD, {_variant_t(u"x")}, &result));
        EXPECT_EQ(Describe(result), CString(u"vt 8 1"));
        ::VariantClear(&result);
        EXPECT_TRUE(XmlPutProperty(pDocument, u"async", _variant_t(false)));
        ASSERT_EQ(S_OK, XmlInvoke(pDocument, u"async", DISPATCH_PROPERTYGET, {}, &result));
        EXPECT_EQ(Describe(result), CString(u"vt 11 false"));
        ::VariantClear(&result);
        // A getter asked for as a put is no read.
        EXPECT_TRUE(FAILED(XmlInvoke(pRoot, u"nodeType", DISPATCH_PROPERTYPUT, {_variant_t(3L)}, nullptr)));
    }
    ::CoUninitialize();
}

// A getter named once keeps the slots it found per kind of node: across more
// kinds than it keeps, and on members some kinds lack, it reads what the
// long way reads.
TEST(XmlDispatch, GettersNamedOnceReadWhatTheLongWayReads)
{
    ::CoInitialize(nullptr);
    {
        // Document, element, attribute map, node list, text, CDATA, comment,
        // instruction, attribute: more kinds than a getter keeps.
        const std::vector<IDispatchPtr> nodes =
            LoadNodes(u"<a x='1' y=''>text<![CDATA[<raw>]]><!--c--><?pi data?><b/><c>inner</c></a>");
        ASSERT_EQ(nodes.size(), 12u);

        static const CQVTXmlGetter kTexts[] = {CQVTXmlGetter(u"nodeName"), CQVTXmlGetter(u"nodeValue"),
                                               CQVTXmlGetter(u"text"), CQVTXmlGetter(u"namespaceURI")};
        static const LPCWSTR kTextNames[] = {u"nodeName", u"nodeValue", u"text", u"namespaceURI"};
        static const CQVTXmlGetter kObjects[] = {CQVTXmlGetter(u"firstChild"), CQVTXmlGetter(u"nextSibling"),
                                                 CQVTXmlGetter(u"parentNode"), CQVTXmlGetter(u"attributes"),
                                                 CQVTXmlGetter(u"documentElement")};
        static const LPCWSTR kObjectNames[] = {u"firstChild", u"nextSibling", u"parentNode", u"attributes",
                                               u"documentElement"};
        static const CQVTXmlGetter kNodeType(u"nodeType"), kLength(u"length"), kItem(u"item");
        for (int nRound = 0; nRound < 3; ++nRound)
        {
            for (size_t i = 0; i < nodes.size(); ++i)
            {
                for (size_t k = 0; k < _countof(kTexts); ++k)
                {
                    CString strExpected;
                    const BOOL bExpected = XmlGetString(nodes[i], kTextNames[k], strExpected);
                    BSTR bstr = kTexts[k].ReadText(nodes[i]);
                    // No text and an empty one read alike.
                    EXPECT_EQ(bExpected ? strExpected : CString(),
                              bstr != nullptr ? CString(bstr) : CString())
                        << i << " " << CStringA(kTextNames[k]);
                    ::SysFreeString(bstr);
                }
                for (size_t k = 0; k < _countof(kObjects); ++k)
                {
                    IDispatchPtr pExpected = XmlGetObject(nodes[i], kObjectNames[k]);
                    IDispatchPtr pActual = kObjects[k].ReadObject(nodes[i]);
                    EXPECT_EQ(pExpected == nullptr, pActual == nullptr)
                        << i << " " << CStringA(kObjectNames[k]);
                    if (pExpected != nullptr && pActual != nullptr)
                    {
                        EXPECT_EQ(NodeName(pExpected), NodeName(pActual))
                            << i << " " << CStringA(kObjectNames[k]);
                    }
                }
                long nExpected = -7, nActual = -7;
                EXPECT_EQ(XmlGetLong(nodes[i], u"nodeType", nExpected) != FALSE,
                          kNodeType.ReadLong(nodes[i], nActual) != FALSE)
                    << i;
                EXPECT_EQ(nExpected, nActual) << i;
                nExpected = nActual = -7;
                EXPECT_EQ(XmlGetLong(nodes[i], u"length", nExpected) != FALSE,
                          kLength.ReadLong(nodes[i], nActual) != FALSE)
                    << i;
                EXPECT_EQ(nExpected, nActual) << i;
                for (long nIndex : {0L, 1L, 99L, -1L})
                {
                    IDispatchPtr pExpected = XmlGetItem(nodes[i], u"item", nIndex);
                    IDispatchPtr pActual = kItem.ReadItem(nodes[i], nIndex);
                    EXPECT_EQ(pExpected == nullptr, pActual == nullptr) << i << " item " << nIndex;
                    if (pExpected != nullptr && pActual != nullptr)
                    {
                        EXPECT_EQ(NodeName(pExpected), NodeName(pActual)) << i << " item " << nIndex;
                    }
                }
            }
        }
        // Nothing to read from.
        EXPECT_EQ(kTexts[0].ReadText(nullptr), nullptr);
        EXPECT_EQ(kObjects[0].ReadObject(nullptr), nullptr);
        long nValue = 5;
        EXPECT_FALSE(kNodeType.ReadLong(nullptr, nValue));
        EXPECT_EQ(nValue, 5);
    }
    ::CoUninitialize();
}
