// The automation tables of markup elements as scripts meet them: names and
// ids, read-only members refusing writes, clamped and ignored values,
// collections with their enumerator, by-reference results, and dispatch
// errors instead of exceptions.
#include "dispatch_helpers.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupContextInternalDispatch.h"
#include "toolkit/markup/controls/QVTMarkupButton.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"

class MarkupAutomation : public testing::Test
{
protected:
    void Load(LPCWSTR lpszBody)
    {
        CString strError;
        m_pRoot = BuildMarkup(m_context, PanelMarkup(lpszBody), &strError);
        ASSERT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        CQVTMarkupDrawingContext dc(m_context);
        m_pRoot->Measure(&dc, SIZE{300, 300});
        m_pRoot->Arrange(RECT{0, 0, 300, 300});
    }
    ~MarkupAutomation() override
    {
        if (m_pRoot != nullptr)
            m_pRoot->InternalRelease();
    }
    IDispatch* Dispatch(LPCWSTR lpszName) { return m_pRoot->FindName(lpszName)->GetIDispatch(FALSE); }
    VARIANT Get(LPCWSTR lpszElement, LPCWSTR lpszMember)
    {
        VARIANT result;
        ::VariantInit(&result);
        EXPECT_EQ(InvokeByName(Dispatch(lpszElement), lpszMember, DISPATCH_PROPERTYGET, {}, &result), S_OK)
            << CStringA(lpszMember).GetString();
        return result;
    }
    HRESULT Put(LPCWSTR lpszElement, LPCWSTR lpszMember, VARIANT value)
    {
        return InvokeByName(Dispatch(lpszElement), lpszMember, DISPATCH_PROPERTYPUT, {value});
    }

    CContextHolder m_context;
    CQVTMarkupUIElement* m_pRoot = nullptr;
};

TEST_F(MarkupAutomation, ElementMembersReadWriteAndRefuseWhatTheyMust)
{
    Load(u"<TextBlock Name='t' Width='120' Height='30' Tag='note' ToolTip='tip'>x</TextBlock>");
    VARIANT v = Get(u"t", u"ActualWidth");
    EXPECT_EQ(V_I4(&v), 120);
    // Read-only members refuse writes with a dispatch error.
    EXPECT_EQ(Put(u"t", u"ActualWidth", Int(5)), DISP_E_EXCEPTION);
    EXPECT_EQ(Put(u"t", u"IsMouseOver", Int(1)), DISP_E_EXCEPTION);

    VARIANT opacity;
    V_VT(&opacity) = VT_R8;
    V_R8(&opacity) = 2.5;
    ASSERT_EQ(Put(u"t", u"Opacity", opacity), S_OK);
    v = Get(u"t", u"Opacity");
    EXPECT_EQ(V_R8(&v), 1.0);

    // A tooltip set to a number is ignored; text replaces it.
    EXPECT_EQ(Put(u"t", u"ToolTip", Int(7)), S_OK);
    v = Get(u"t", u"ToolTip");
    ASSERT_EQ(V_VT(&v), VT_BSTR);
    EXPECT_EQ(CString(V_BSTR(&v)), CString(u"tip"));
    ::VariantClear(&v);
    v = Get(u"t", u"Tag");
    EXPECT_EQ(CString(V_BSTR(&v)), CString(u"note"));
    ::VariantClear(&v);

    // Unset limits read as unbounded, unset enabling as true.
    v = Get(u"t", u"MaxWidth");
    EXPECT_EQ(V_I4(&v), 2147483647);
    v = Get(u"t", u"IsEnabled");
    EXPECT_EQ(V_BOOL(&v), VARIANT_TRUE);
    v = Get(u"t", u"Name");
    EXPECT_EQ(CString(V_BSTR(&v)), CString(u"t"));
    ::VariantClear(&v);

    // Ids are the documented ones.
    LPOLESTR lpszName = const_cast<LPOLESTR>(u"GetBoundingRect");
    DISPID id = 0;
    ASSERT_EQ(Dispatch(u"t")->GetIDsOfNames(IID_NULL, &lpszName, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 201);
}

TEST_F(MarkupAutomation, TheBoundingRectComesBackThroughReferences)
{
    Load(u"<TextBlock Height='20'>a</TextBlock><TextBlock Name='t' Width='50' Height='10'>b</TextBlock>");
    LONG nLeft = -1, nTop = -1, nRight = -1;
    VARIANT args[4];
    V_VT(&args[0]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[0]) = &nLeft;
    V_VT(&args[1]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[1]) = &nTop;
    V_VT(&args[2]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[2]) = &nRight;
    // The last as a script passes a variable: a variant by reference, empty.
    VARIANT bottom;
    ::VariantInit(&bottom);
    V_VT(&args[3]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[3]) = &bottom;
    ASSERT_EQ(InvokeByName(Dispatch(u"t"), u"GetBoundingRect", DISPATCH_METHOD,
                           {args[0], args[1], args[2], args[3]}),
              S_OK);
    const CRect rc = m_context->GetElementWindowRect(m_pRoot->FindName(u"t"), FALSE);
    EXPECT_EQ(nLeft, rc.left);
    EXPECT_EQ(nTop, 20);
    EXPECT_EQ(nRight, rc.right);
    ASSERT_EQ(V_VT(&bottom), VT_I4);
    EXPECT_EQ(V_I4(&bottom), rc.bottom);
    // A string where a reference belongs is a type mismatch, not a crash.
    EXPECT_EQ(InvokeByName(Dispatch(u"t"), u"GetBoundingRect", DISPATCH_METHOD,
                           {Text(u"a"), args[1], args[2], args[3]}),
              DISP_E_TYPEMISMATCH);
}

TEST_F(MarkupAutomation, ChildrenCollectionsAddRemoveAndEnumerate)
{
    Load(u"<StackPanel Name='p'><TextBlock Name='a'>a</TextBlock><TextBlock "
         u"Name='b'>b</TextBlock></StackPanel>");
    VARIANT children = Get(u"p", u"Children");
    ASSERT_EQ(V_VT(&children), VT_DISPATCH);
    IDispatch* pChildren = V_DISPATCH(&children);
    VARIANT result;
    ::VariantInit(&result);
    ASSERT_EQ(InvokeByName(pChildren, u"Count", DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_EQ(V_I4(&result), 2);
    ASSERT_EQ(InvokeByName(pChildren, u"Item", DISPATCH_METHOD, {Int(-1)}, &result), S_OK);
    EXPECT_EQ(V_DISPATCH(&result), nullptr);
    ASSERT_EQ(InvokeByName(pChildren, u"Item", DISPATCH_METHOD, {Int(1)}, &result), S_OK);
    EXPECT_EQ(V_DISPATCH(&result), Dispatch(u"b"));
    ::VariantClear(&result);

    VARIANT nothing;
    V_VT(&nothing) = VT_DISPATCH;
    V_DISPATCH(&nothing) = nullptr;
    EXPECT_EQ(InvokeByName(pChildren, u"Add", DISPATCH_METHOD, {nothing}), DISP_E_EXCEPTION);
    // A dispatch without a markup object behind it fails; an element moves in at the index.
    VARIANT stranger;
    V_VT(&stranger) = VT_DISPATCH;
    V_DISPATCH(&stranger) = m_context->GetInternalDispatch()->GetIDispatch(FALSE);
    EXPECT_EQ(InvokeByName(pChildren, u"Add", DISPATCH_METHOD, {stranger}), DISP_E_EXCEPTION);
    CQVTMarkupTextBlock* pText = static_cast<CQVTMarkupTextBlock*>(
        m_context->CreateMarkupObject(CQVTMarkupTextBlock::GetMarkupType()));
    VARIANT element;
    V_VT(&element) = VT_DISPATCH;
    V_DISPATCH(&element) = pText->GetIDispatch(FALSE);
    ASSERT_EQ(InvokeByName(pChildren, u"Insert", DISPATCH_METHOD, {Int(0), element}), S_OK);
    pText->InternalRelease();
    ASSERT_EQ(InvokeByName(pChildren, u"Item", DISPATCH_METHOD, {Int(0)}, &result), S_OK);
    EXPECT_EQ(V_DISPATCH(&result), pText->GetIDispatch(FALSE));
    ::VariantClear(&result);

    // The enumerator walks all three, then reports the end.
    ASSERT_EQ(InvokeByName(pChildren, u"_NewEnum", DISPATCH_METHOD, {}, &result), S_OK);
    ASSERT_EQ(V_VT(&result), VT_UNKNOWN);
    IEnumVARIANT* pEnum = nullptr;
    ASSERT_EQ(V_UNKNOWN(&result)->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&pEnum)), S_OK);
    ::VariantClear(&result);
    VARIANT items[4];
    ULONG nFetched = 0;
    EXPECT_EQ(pEnum->Next(4, items, &nFetched), S_FALSE);
    EXPECT_EQ(nFetched, 3u);
    EXPECT_EQ(V_DISPATCH(&items[2]), Dispatch(u"b"));
    for (ULONG i = 0; i < nFetched; ++i)
        ::VariantClear(&items[i]);
    EXPECT_EQ(pEnum->Reset(), S_OK);
    EXPECT_EQ(pEnum->Skip(10), S_FALSE);
    EXPECT_EQ(pEnum->Next(1, items, &nFetched), S_OK);
    EXPECT_EQ(V_DISPATCH(&items[0]), Dispatch(u"b"));
    ::VariantClear(&items[0]);
    IUnknown* pOther = nullptr;
    EXPECT_EQ(pEnum->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pOther)), E_NOINTERFACE);
    pEnum->Release();

    ASSERT_EQ(InvokeByName(pChildren, u"RemoveAt", DISPATCH_METHOD, {Int(0)}), S_OK);
    ASSERT_EQ(InvokeByName(pChildren, u"Clear", DISPATCH_METHOD), S_OK);
    EXPECT_EQ(MarkupCast<CQVTMarkupPanel>(m_pRoot->FindName(u"p"))->GetChildCount(), 0);
    ::VariantClear(&children);
}

TEST_F(MarkupAutomation, ButtonsAndEventArgumentsShowTheirEvents)
{
    Load(u"<Button Name='b'>Go</Button><CheckBox Name='c' IsThreeState='True'/>");
    VARIANT v = Get(u"b", u"ClickEvent");
    VARIANT name;
    ::VariantInit(&name);
    ASSERT_EQ(InvokeByName(V_DISPATCH(&v), u"Name", DISPATCH_PROPERTYGET, {}, &name), S_OK);
    EXPECT_EQ(CString(V_BSTR(&name)), CString(u"Click"));
    ::VariantClear(&name);
    ::VariantClear(&v);
    EXPECT_EQ(Put(u"b", u"IsPressed", Int(1)), S_OK);
    v = Get(u"b", u"IsPressed");
    EXPECT_EQ(V_BOOL(&v), VARIANT_FALSE);
    ASSERT_EQ(Put(u"c", u"IsChecked", Int(2)), S_OK);
    v = Get(u"c", u"IsChecked");
    EXPECT_EQ(V_I4(&v), 2);
    v = Get(u"c", u"IsThreeState");
    EXPECT_EQ(V_BOOL(&v), VARIANT_TRUE);
}
