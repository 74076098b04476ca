// The markup builder: the language's constructs, every load error word for
// word, text normalisation, implicit styles children-first, and hostile
// input that must end in an error rather than a crash.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/elements/QVTMarkupKeyboardNavigation.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

class MarkupBuilder : public testing::Test
{
protected:
    // The error text of a panel holding body.
    CString Error(LPCWSTR lpszBody) { return BuildError(m_context, PanelMarkup(lpszBody)); }
    CQVTMarkupUIElement* Build(LPCWSTR lpszBody)
    {
        CString strError;
        CQVTMarkupUIElement* pRoot = BuildMarkup(m_context, PanelMarkup(lpszBody), &strError);
        EXPECT_TRUE(strError.IsEmpty()) << CStringA(strError).GetString();
        return pRoot;
    }

    CContextHolder m_context;
};

namespace {

CString TagText(CQVTMarkupObject* pObject)
{
    CQVTMarkupString* pTag =
        pObject != nullptr
            ? MarkupCast<CQVTMarkupString>(pObject->GetValue(CQVTMarkupFrameworkElement::m_pTagProperty))
            : nullptr;
    return pTag != nullptr ? CString(pTag->GetText()) : CString(u"<none>");
}

int IntOf(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : -1;
}
}  // namespace

TEST_F(MarkupBuilder, TheRootMustBeAUIElement)
{
    const CString strRoot(u"Root element have to be 'CQVTMarkupUIElement' type");
    EXPECT_EQ(BuildError(m_context, u"<Style/>"), strRoot);
    EXPECT_EQ(BuildError(m_context, u"<foo:Panel xmlns:foo='urn:foo'><FrameworkElement/></foo:Panel>"),
              strRoot);
    EXPECT_EQ(BuildError(m_context, u"<FrameworkElement.Tag>x</FrameworkElement.Tag>"),
              CString(u"The tag 'FrameworkElement.Tag' does not exist in XML namespace"));
    EXPECT_EQ(BuildError(m_context, u"<frameworkelement/>"),
              CString(u"The tag 'frameworkelement' does not exist in XML namespace"));
    CTreeHolder root(BuildMarkup(m_context, u"<FrameworkElement/>"));
    EXPECT_NE(root.Get(), nullptr);
}

TEST_F(MarkupBuilder, NamesAndPropertiesErrors)
{
    EXPECT_EQ(Error(u"<Bogus/>"), CString(u"The tag 'Bogus' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement Foo='1'/>"),
              CString(u"The property 'Foo' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement x:Foo='1'/>"),
              CString(u"The property 'x:Foo' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement width='1'/>"),
              CString(u"The property 'width' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement Nope.Width='1'/>"),
              CString(u"The property 'Nope.Width' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement><FrameworkElement.Tag></FrameworkElement.Tag></FrameworkElement>"),
              CString(u"'Tag' property does not have a value"));
    EXPECT_EQ(Error(u"<FrameworkElement.Tag>x</FrameworkElement.Tag>"),
              CString(u"Invalid use of dependency property FrameworkElement.Tag"));
    EXPECT_EQ(Error(u"<FrameworkElement><KeyboardNavigation.TabIndex>2</KeyboardNavigation.TabIndex>"
                    u"</FrameworkElement>"),
              CString(u"Invalid use of dependency property KeyboardNavigation.TabIndex"));
    EXPECT_EQ(
        Error(u"<FrameworkElement><FrameworkElement.Nothing>2</FrameworkElement.Nothing></FrameworkElement>"),
        CString(u"The tag 'FrameworkElement.Nothing' does not exist in XML namespace"));
}

TEST_F(MarkupBuilder, ConversionAndContentErrors)
{
    EXPECT_EQ(Error(u"<FrameworkElement Opacity='abc'/>"),
              CString(u"Cannot convert string in attribute 'Opacity' to object of type 'CQVTMarkupDouble'"));
    EXPECT_EQ(Error(u"<FrameworkElement Visibility='Gone'/>"),
              CString(u"Cannot convert string in attribute 'Visibility' to object of type 'CQVTMarkupEnum'"));
    EXPECT_EQ(
        Error(u"<FrameworkElement HorizontalAlignment='1'/>"),
        CString(
            u"Cannot convert string in attribute 'HorizontalAlignment' to object of type 'CQVTMarkupEnum'"));
    EXPECT_EQ(Error(u"<FrameworkElement>hi</FrameworkElement>"),
              CString(u"Cannot convert the string 'hi' into a 'CQVTMarkupFrameworkElement' object"));
    EXPECT_EQ(Error(u"<FrameworkElement><FrameworkElement/></FrameworkElement>"),
              CString(u"Cannot add content to an object of type 'CQVTMarkupFrameworkElement'"));
    // Lengths and cursors read whole numbers without complaint.
    CTreeHolder root(Build(u"<FrameworkElement x:Name='e' Width='wide' Cursor='Hand' MinWidth='Auto'/>"));
    CQVTMarkupObject* pElement = root.Find<CQVTMarkupObject>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pWidthProperty), 0);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupInputElement::m_pCursorProperty), 32649);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pMinWidthProperty), 2147483647);
}

TEST_F(MarkupBuilder, MarkupExtensionErrors)
{
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:Static SystemColors.WindowBrush'/>"),
              CString(u"Markup extension expressions must end with '}'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{'/>"),
              CString(u"Markup extension expressions must end with '}'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{Binding Path}'/>"),
              CString(u"The tag 'Binding Path' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:static SystemColors.WindowBrush}'/>"),
              CString(u"The tag 'x:static SystemColors.WindowBrush' does not exist in XML namespace"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:Type Bogus}'/>"), CString(u"Cannot find type 'Bogus'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:Static SystemColors}'/>"),
              CString(u"Cannot find the static extension 'SystemColors'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:Static SystemColors.WindowBrush.X}'/>"),
              CString(u"Cannot find the static extension 'SystemColors.WindowBrush.X'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{x:Static System-Colors.WindowBrush}'/>"),
              CString(u"Cannot find the static extension 'System-Colors.WindowBrush'"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{StaticResource missing}'/>"),
              CString(u"Cannot find resource named 'missing'. Resource names are case sensitive"));
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{DynamicResource \r\n missing}'/>"),
              CString(u"Cannot find resource named 'missing'. Resource names are case sensitive"));

    CTreeHolder root(Build(u"<FrameworkElement x:Name='a' Tag='{}{literal}'/>"
                           u"<FrameworkElement x:Name='b' Tag='{x:Type Style}'/>"
                           u"<FrameworkElement x:Name='c' Tag='{x:Static SystemColors.WindowBrush}'/>"));
    EXPECT_EQ(TagText(root.Find<CQVTMarkupObject>(u"a")), CString(u"{literal}"));
    EXPECT_EQ(root.Find<CQVTMarkupObject>(u"b")->GetValue(CQVTMarkupFrameworkElement::m_pTagProperty),
              FindMarkupType(u"Style"));
    CQVTMarkupSolidColorBrush* pBrush = MarkupCast<CQVTMarkupSolidColorBrush>(
        root.Find<CQVTMarkupObject>(u"c")->GetValue(CQVTMarkupFrameworkElement::m_pTagProperty));
    ASSERT_NE(pBrush, nullptr);
    EXPECT_EQ(pBrush->GetColorRef(), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(MarkupBuilder, ExtensionsNestUpToTheElementLimit)
{
    auto nested = [](int nLevels) {
        CString strText(u"<FrameworkElement Tag='");
        for (int i = 0; i < nLevels; ++i)
            strText += u"{StaticResource ";
        strText += u"k";
        for (int i = 0; i < nLevels; ++i)
            strText += u"}";
        return strText + u"'/>";
    };
    // At the limit the innermost key is looked up (and missing); one more
    // level, or thousands, are refused before anything is resolved.
    EXPECT_EQ(Error(nested(CQVTMarkupBuilder::kMaxDepth)),
              CString(u"Cannot find resource named 'k'. Resource names are case sensitive"));
    const CString strTooDeep(u"Markup extensions are nested deeper than 200 levels");
    EXPECT_EQ(Error(nested(CQVTMarkupBuilder::kMaxDepth + 1)), strTooDeep);
    EXPECT_EQ(Error(nested(6000)), strTooDeep);
    // The count starts again for the next attribute.
    EXPECT_EQ(Error(u"<FrameworkElement Tag='{StaticResource {StaticResource k}}'/>"),
              CString(u"Cannot find resource named 'k'. Resource names are case sensitive"));
}

TEST_F(MarkupBuilder, PrefixesSkipForeignPartsAndRefuseUndeclaredOnes)
{
    CTreeHolder root(
        Build(u"<foo:Widget xmlns:foo='urn:foo'><Bogus/></foo:Widget>"
              u"<FrameworkElement x:Name='kept' foo:Colour='red' xmlns:foo='urn:foo' xmlns='urn:any'/>"));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(root->GetVisualChildrenCount(), 1);
    EXPECT_NE(root.Find<CQVTMarkupObject>(u"kept"), nullptr);

    // x needs no declaration; qvt and every other prefix do.
    CTreeHolder undeclaredX(BuildMarkup(m_context, u"<TestPanel><FrameworkElement x:Name='n'/></TestPanel>"));
    EXPECT_NE(undeclaredX.Find<CQVTMarkupObject>(u"n"), nullptr);
    const CString strQvt = BuildError(m_context, u"<TestPanel><qvt:Script/></TestPanel>");
    EXPECT_EQ(strQvt.Find(u"XML Error [0xC00CE01D] '"), 0) << CStringA(strQvt).GetString();
    const CString strForeign = BuildError(m_context, u"<TestPanel><bar:Widget/></TestPanel>");
    EXPECT_EQ(strForeign.Find(u"XML Error [0xC00CE01D] '"), 0) << CStringA(strForeign).GetString();
    EXPECT_NE(strForeign.Find(u"'bar'"), -1) << CStringA(strForeign).GetString();
}

TEST_F(MarkupBuilder, TextIsNormalisedUnlessPreserved)
{
    CTreeHolder root(
        Build(u"<TestPanel x:Name='p'>  one \r\n two  <FrameworkElement/>\t three  <FrameworkElement/>"
              u"   <FrameworkElement/>four</TestPanel>"
              u"<TestPanel x:Name='kept' xml:space='preserve'>  a  b  </TestPanel>"
              u"<TestPanel x:Name='cdata'><![CDATA[  raw  ]]></TestPanel>"
              u"<FrameworkElement>   \r\n  </FrameworkElement>"));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(root.Find<CTestPanel>(u"p")->GetTexts(), CString(u"one two | three | |four"));
    EXPECT_EQ(root.Find<CTestPanel>(u"kept")->GetTexts(), CString(u"  a  b  "));
    EXPECT_EQ(root.Find<CTestPanel>(u"cdata")->GetTexts(), CString(u"  raw  "));
}

TEST_F(MarkupBuilder, PropertyElementsGatherTheirChildren)
{
    CTreeHolder root(Build(u"<TestElement x:Name='e' KeyboardNavigation.TabIndex='3'>"
                           u"<TestElement.Resources><SolidColorBrush x:Key='a' Color='Red'/>"
                           u"<SolidColorBrush x:Key='b'>  </SolidColorBrush></TestElement.Resources>"
                           u"<TestElement.Tag>  tagged   text </TestElement.Tag>"
                           u"<TestElement.Level>7</TestElement.Level></TestElement>"));
    CQVTMarkupObject* pElement = root.Find<CQVTMarkupObject>(u"e");
    ASSERT_NE(pElement, nullptr);
    CQVTMarkupResourceDictionary* pResources = MarkupCast<CQVTMarkupResourceDictionary>(
        pElement->GetValue(CQVTMarkupInputElement::m_pResourcesProperty));
    ASSERT_NE(pResources, nullptr);
    EXPECT_EQ(pResources->GetCount(), 2);
    EXPECT_EQ(TagText(pElement), CString(u"tagged text"));
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 7);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupKeyboardNavigation::m_pTabIndexProperty), 3);
}

// Each element's attributes are its own however deep the nesting, before and
// after its children, with text and property elements between them.
TEST_F(MarkupBuilder, NestedElementsKeepTheirOwnAttributes)
{
    const int kDepth = 40;
    CString strOpen, strClose;
    for (int i = 0; i < kDepth; ++i)
    {
        CString strLevel;
        strLevel.Format(u"<TestPanel x:Name='p%d' Tag='t%d' xml:space='%ls'> %d <TestPanel.Width>%d"
                        u"</TestPanel.Width>",
                        i, i, i % 2 == 0 ? u"preserve" : u"default", i, i + 1);
        strOpen += strLevel;
        strClose += u"</TestPanel>";
    }
    CTreeHolder root(Build(strOpen + strClose));
    ASSERT_NE(root.Get(), nullptr);
    for (int i = 0; i < kDepth; ++i)
    {
        CString strName, strTag, strText;
        strName.Format(u"p%d", i);
        strTag.Format(u"t%d", i);
        // A kept space before the sibling that follows the text.
        strText.Format(i % 2 == 0 ? u" %d " : u"%d ", i);
        CTestPanel* pPanel = root.Find<CTestPanel>(strName);
        ASSERT_NE(pPanel, nullptr) << i;
        EXPECT_EQ(TagText(pPanel), strTag) << i;
        EXPECT_EQ(pPanel->GetTexts(), strText) << i;
        EXPECT_EQ(IntOf(pPanel, CQVTMarkupFrameworkElement::m_pWidthProperty), m_context->ScaleX(i + 1)) << i;
    }
    // An error deep inside leaves the outer lists to be given back.
    EXPECT_EQ(Error(strOpen + u"<FrameworkElement Foo='1'/>" + strClose),
              CString(u"The property 'Foo' does not exist in XML namespace"));
}

TEST_F(MarkupBuilder, DictionaryKeysMustExistAndBeUnique)
{
    EXPECT_EQ(
        Error(u"<TestElement><TestElement.Resources><SolidColorBrush x:Key='a'/><SolidColorBrush x:Key='a'/>"
              u"</TestElement.Resources></TestElement>"),
        CString(u"Dictionary key is already used. Key attributes must be unique."));
    EXPECT_EQ(
        Error(u"<TestElement><TestElement.Resources><SolidColorBrush Color='Red'/>"
              u"</TestElement.Resources></TestElement>"),
        CString(u"Objects added to Dictionary must have Key attribute or some other type of associated Key"));
    // A key differs by case: both are kept.
    CTreeHolder root(Build(u"<TestElement><TestElement.Resources><SolidColorBrush x:Key='a'/>"
                           u"<SolidColorBrush x:Key='A'/></TestElement.Resources></TestElement>"));
    EXPECT_NE(root.Get(), nullptr);
}

TEST_F(MarkupBuilder, ImplicitStylesApplyChildrenFirst)
{
    // A trigger that is active at once reports its setter's change when the
    // style is applied; the log gives the order.
    ChangeLog().clear();
    CTreeHolder root(Build(
        u"<TestPanel x:Name='outer'><TestPanel.Resources>"
        u"<Style TargetType='{x:Type TestPanel}'><Style.Triggers><Trigger Property='Visibility' "
        u"Value='Visible'>"
        u"<Trigger.Setters><Setter Property='TestElement.Weight' Value='1'/></Trigger.Setters></Trigger>"
        u"</Style.Triggers></Style></TestPanel.Resources>"
        u"<TestPanel x:Name='inner'><TestPanel x:Name='innermost'/></TestPanel></TestPanel>"));
    ASSERT_NE(root.Get(), nullptr);
    std::vector<CString> order;
    for (const CChangeRecord& record : ChangeLog())
        if (record.pObject->GetName() != nullptr && record.nNew == 1)
            order.push_back(record.pObject->GetName());
    EXPECT_EQ(order, (std::vector<CString>{u"innermost", u"inner", u"outer"}));
}

TEST_F(MarkupBuilder, EventAttributesBindDelegatesOfTheContext)
{
    CTreeHolder root(Build(u"<TestElement x:Name='e' MouseEnter='OnEnter' Poke='OnPoke'/>"));
    CQVTMarkupInputElement* pElement = root.Find<CQVTMarkupInputElement>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_NE(m_context->LookupDelegate(u"OnEnter"), nullptr);
    EXPECT_NE(m_context->LookupDelegate(u"OnPoke"), nullptr);

    // Without a context there is nothing to bind to.
    CQVTMarkupParser parser;
    const CString strText = PanelMarkup(u"<TestElement MouseEnter='OnEnter'/>");
    parser.LoadText(strText, strText.GetString() + strText.GetLength());
    CQVTMarkupBuilder builder(nullptr);
    EXPECT_EQ(builder.Parse(&parser), nullptr);
    EXPECT_EQ(builder.GetErrorText(), CString(u"Markup Context is NULL"));
}

TEST_F(MarkupBuilder, HostileSizesAndNestingEndInErrors)
{
    // Thousands of levels: refused, never a crash.
    CString strDeep;
    for (int i = 0; i < 5000; ++i)
        strDeep += u"<TestPanel>";
    for (int i = 0; i < 5000; ++i)
        strDeep += u"</TestPanel>";
    CString strError;
    CQVTMarkupUIElement* pRoot = BuildMarkup(m_context, strDeep, &strError);
    EXPECT_EQ(pRoot, nullptr);
    EXPECT_FALSE(strError.IsEmpty());

    // Just below the builder's limit the same shape builds.
    CString strNested;
    const int nDepth = CQVTMarkupBuilder::kMaxDepth - 1;
    for (int i = 0; i < nDepth; ++i)
        strNested += u"<TestPanel>";
    for (int i = 0; i < nDepth; ++i)
        strNested += u"</TestPanel>";
    CTreeHolder nested(BuildMarkup(m_context, strNested, &strError));
    EXPECT_NE(nested.Get(), nullptr) << CStringA(strError).GetString();

    // The limit itself is the builder's own error when the parser allows it.
    CString strOver;
    for (int i = 0; i <= CQVTMarkupBuilder::kMaxDepth; ++i)
        strOver += u"<TestPanel>";
    for (int i = 0; i <= CQVTMarkupBuilder::kMaxDepth; ++i)
        strOver += u"</TestPanel>";
    strError = BuildError(m_context, strOver);
    EXPECT_FALSE(strError.IsEmpty());

    // Huge values: numbers saturate, long texts are kept.
    CString strLong(u'z', 200000);
    CString strHuge;
    strHuge.Format(
        u"<TestElement x:Name='h' Width='99999999999999999999999in' MaxHeight='-99999999999999999pt' "
        u"Margin='99999999999in' Tag='%s'/>",
        strLong.GetString());
    CTreeHolder huge(Build(strHuge));
    CQVTMarkupObject* pHuge = huge.Find<CQVTMarkupObject>(u"h");
    ASSERT_NE(pHuge, nullptr);
    EXPECT_EQ(IntOf(pHuge, CQVTMarkupFrameworkElement::m_pWidthProperty), INT_MAX);
    EXPECT_EQ(IntOf(pHuge, CQVTMarkupFrameworkElement::m_pMaxHeightProperty), INT_MIN);
    EXPECT_EQ(TagText(pHuge).GetLength(), 200000);
}

namespace {
class CCountedContext : public CQVTMarkupContext
{
public:
    explicit CCountedContext(bool* pDeleted) : m_pDeleted(pDeleted) {}

protected:
    ~CCountedContext() override { *m_pDeleted = true; }

private:
    bool* m_pDeleted;
};
}  // namespace

TEST(MarkupBuilderCleanup, AFailedLoadLeavesNothingBehind)
{
    // Every object made for a context holds it: once the failed load is
    // over, releasing the context must delete it.
    bool bDeleted = false;
    CCountedContext* pContext = new CCountedContext(&bDeleted);
    const CString strError = BuildError(
        pContext,
        PanelMarkup(u"<TestPanel.Resources><SolidColorBrush x:Key='k' Color='Red'/><Style x:Key='s' "
                    u"TargetType='TestElement'><Setter Property='Level' Value='2'/></Style>"
                    u"</TestPanel.Resources><TestPanel><TestElement Style='{StaticResource s}' "
                    u"Fill='{StaticResource k}'/><TestElement Opacity='bad'/></TestPanel>"));
    EXPECT_FALSE(strError.IsEmpty());
    pContext->Release();
    EXPECT_TRUE(bDeleted);
}
