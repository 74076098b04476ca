// Members of DOM objects called by name: ids are remembered per type, so a
// name that two types give different ids keeps each type's own, and a name
// a type lacks keeps failing.
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
        }
    }
    ::CoUninitialize();
}
