// Styles, setters and triggers: validation while loading, BasedOn folding
// (and its refusal of loops), and triggers that switch values when a
// property changes, seen through change callbacks.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
int IntOf(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : -1;
}

// The resource the root's dictionary holds under a text key.
CQVTMarkupObject* Lookup(CQVTMarkupObject* pRoot, LPCWSTR lpszKey)
{
    CQVTMarkupString* pKey = CQVTMarkupString::CreateValue(lpszKey);
    CQVTMarkupObject* pFound = CQVTMarkupResourceDictionary::FindResource(pRoot, pKey);
    pKey->InternalRelease();
    return pFound;
}

CString Resources(LPCWSTR lpszResources, LPCWSTR lpszBody)
{
    CString strBody(u"<TestPanel.Resources>");
    strBody += lpszResources;
    strBody += u"</TestPanel.Resources>";
    strBody += lpszBody;
    return PanelMarkup(strBody);
}
}  // namespace

TEST(MarkupStyles, SettersAreCheckedAgainstTheTargetType)
{
    CContextHolder context;
    EXPECT_EQ(
        BuildError(context, Resources(u"<Style x:Key='s'><Setter Property='Width' Value='1'/></Style>", u"")),
        CString(u"Cannot find the Style Property 'Width'"));
    EXPECT_EQ(
        BuildError(context, Resources(u"<Style x:Key='s' TargetType='TestElement'><Setter Property='Nope' "
                                      u"Value='1'/></Style>",
                                      u"")),
        CString(u"Cannot find the Style Property 'Nope'"));
    EXPECT_EQ(
        BuildError(context, Resources(u"<Style x:Key='s' TargetType='TestElement'><Setter Property='Width'/>"
                                      u"</Style>",
                                      u"")),
        CString(u"Must specify both Property and Value for Setter."));
    EXPECT_EQ(
        BuildError(context,
                   Resources(u"<Style x:Key='s' TargetType='TestElement'><Setter Value='1'/></Style>", u"")),
        CString(u"Must specify both Property and Value for Setter."));
    EXPECT_EQ(
        BuildError(context,
                   Resources(u"<Style x:Key='s' TargetType='TestElement'><FrameworkElement/></Style>", u"")),
        CString(u"Cannot add content to an object of type 'CQVTMarkupStyle'"));
    EXPECT_EQ(
        BuildError(context, Resources(u"<Style x:Key='s' TargetType='TestElement'><Style.Triggers><Trigger "
                                      u"Property='Level'/></Style.Triggers></Style>",
                                      u"")),
        CString(u"Must specify both Property and Value for Setter."));

    // The Owner.Property form names any type's property; values convert.
    CTreeHolder root(BuildMarkup(
        context,
        Resources(u"<Style x:Key='s' TargetType='{x:Type TestPanel}'><Setter Property='TestElement.Level' "
                  u"Value='9'/><Setter Property='TestElement.Fill' Value='Red'/></Style>",
                  u"")));
    ASSERT_NE(root.Get(), nullptr);
    CQVTMarkupStyle* pStyle = MarkupCast<CQVTMarkupStyle>(Lookup(root, u"s"));
    ASSERT_NE(pStyle, nullptr);
    ASSERT_EQ(pStyle->GetSetters()->GetCount(), 2);
    EXPECT_EQ(pStyle->GetSetters()->GetAt(0)->GetProperty(), CTestElement::m_pLevelProperty);
    CQVTMarkupSolidColorBrush* pBrush =
        MarkupCast<CQVTMarkupSolidColorBrush>(pStyle->GetSetters()->GetAt(1)->GetValue());
    ASSERT_NE(pBrush, nullptr);
    EXPECT_EQ(pBrush->GetColorRef(), RGB(255, 0, 0));
}

TEST(MarkupStyles, BasedOnFoldsBaseFirstAndRefusesLoops)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context,
        Resources(u"<Style x:Key='base' TargetType='TestElement'><Setter Property='Level' Value='1'/>"
                  u"<Setter Property='Weight' Value='2'/></Style>"
                  u"<Style x:Key='derived' TargetType='TestElement' BasedOn='{StaticResource base}'>"
                  u"<Setter Property='Level' Value='3'/></Style>",
                  u"<TestElement x:Name='e' Style='{StaticResource derived}'/>")));
    ASSERT_NE(root.Get(), nullptr);
    CTestElement* pElement = root.Find<CTestElement>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 3);
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pWeightProperty), 2);
    EXPECT_TRUE(pElement->GetStyle()->IsSealed());
    // A sealed style serves many elements: it has no parent of its own.
    EXPECT_EQ(pElement->GetStyle()->GetLogicalParent(), nullptr);

    // A chain that comes back to itself ends in a builder error, not in
    // endless recursion.
    CQVTMarkupStyle* pFirst = new CQVTMarkupStyle();
    CQVTMarkupStyle* pSecond = new CQVTMarkupStyle();
    pSecond->InternalAddRef();
    pFirst->SetValue(CQVTMarkupStyle::m_pBasedOnProperty, pSecond);
    pFirst->InternalAddRef();
    pSecond->SetValue(CQVTMarkupStyle::m_pBasedOnProperty, pFirst);
    CString strError;
    try
    {
        pFirst->Seal();
    }
    catch (CQVTMarkupBuilderException* e)
    {
        strError = e->GetMessage();
        e->Delete();
    }
    EXPECT_FALSE(strError.IsEmpty());
    EXPECT_FALSE(pFirst->IsSealed());
    // Break the cycle so both can go.
    pSecond->ClearValue(CQVTMarkupStyle::m_pBasedOnProperty);
    pFirst->InternalRelease();
    pSecond->InternalRelease();

    // Applied through the Style property in markup, the loop is the load's error.
    CQVTMarkupStyle* pLoop = new CQVTMarkupStyle();
    pLoop->InternalAddRef();
    pLoop->SetValue(CQVTMarkupStyle::m_pBasedOnProperty, pLoop);
    CQVTMarkupObject* pTarget = context->CreateMarkupObject(FindMarkupType(u"TestElement"));
    strError.Empty();
    try
    {
        pLoop->InternalAddRef();
        pTarget->SetValue(CQVTMarkupInputElement::m_pStyleProperty, pLoop);
    }
    catch (CQVTMarkupBuilderException* e)
    {
        strError = e->GetMessage();
        e->Delete();
    }
    EXPECT_FALSE(strError.IsEmpty());
    pTarget->InternalRelease();
    pLoop->ClearValue(CQVTMarkupStyle::m_pBasedOnProperty);
    pLoop->InternalRelease();
}

TEST(MarkupStyles, BasedOnChainsStopAtTheNestingLimitAndLongOnesFreeWithoutRecursion)
{
    // Styles each based on the one before, the last one applied.
    auto chain = [](int nStyles) {
        CString strStyles;
        for (int i = 0; i < nStyles; ++i)
        {
            CString strStyle;
            if (i == 0)
                strStyle = u"<Style x:Key='s0' TargetType='TestElement'><Setter Property='Level' "
                           u"Value='7'/></Style>";
            else
                strStyle.Format(
                    u"<Style x:Key='s%d' TargetType='TestElement' BasedOn='{StaticResource s%d}'/>", i,
                    i - 1);
            strStyles += strStyle;
        }
        CString strBody;
        strBody.Format(u"<TestElement x:Name='e' Style='{StaticResource s%d}'/>", nStyles - 1);
        return Resources(strStyles, strBody);
    };
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, chain(CQVTMarkupBuilder::kMaxDepth)));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(IntOf(root.Find<CTestElement>(u"e"), CTestElement::m_pLevelProperty), 7);
    EXPECT_EQ(BuildError(context, chain(CQVTMarkupBuilder::kMaxDepth + 1)),
              CString(u"BasedOn styles are chained deeper than 200 levels"));

    // Made in code, a chain can be far longer: sealing refuses it, and the
    // last reference going frees every style without a frame per style.
    CQVTMarkupStyle* pLast = nullptr;
    for (int i = 0; i < 200000; ++i)
    {
        CQVTMarkupStyle* pStyle = new CQVTMarkupStyle();
        if (pLast != nullptr)
            pStyle->SetValue(CQVTMarkupStyle::m_pBasedOnProperty, pLast);
        pLast = pStyle;
    }
    CString strError;
    try
    {
        pLast->Seal();
    }
    catch (CQVTMarkupBuilderException* e)
    {
        strError = e->GetMessage();
        e->Delete();
    }
    EXPECT_EQ(strError, CString(u"BasedOn styles are chained deeper than 200 levels"));
    EXPECT_FALSE(pLast->IsSealed());
    pLast->InternalRelease();
}

TEST(MarkupStyles, AStylesResourceSearchNeverClimbsToItsParent)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, Resources(u"<SolidColorBrush x:Key='k' Color='Blue'/>"
                           u"<Style x:Key='s' TargetType='TestElement'><Style.Resources>"
                           u"<SolidColorBrush x:Key='own' Color='Lime'/></Style.Resources></Style>",
                           u"")));
    ASSERT_NE(root.Get(), nullptr);
    CQVTMarkupStyle* pStyle = MarkupCast<CQVTMarkupStyle>(Lookup(root, u"s"));
    ASSERT_NE(pStyle, nullptr);
    // A style hung below the panel that holds the key still searches only
    // itself.
    ASSERT_FALSE(pStyle->IsSealed());
    pStyle->SetLogicalParent(root.Get());
    EXPECT_NE(Lookup(pStyle, u"own"), nullptr);
    EXPECT_EQ(Lookup(pStyle, u"k"), nullptr);
    EXPECT_NE(Lookup(root, u"k"), nullptr);
    pStyle->SetLogicalParent(nullptr);
}

TEST(MarkupStyles, TriggersSwitchValuesAndLocalValuesWin)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, Resources(u"<Style TargetType='TestElement'><Style.Triggers>"
                                       u"<Trigger Property='IsMouseOver' Value='True'><Trigger.Setters>"
                                       u"<Setter Property='Level' Value='8'/></Trigger.Setters></Trigger>"
                                       u"</Style.Triggers></Style>",
                                       u"<TestElement x:Name='e'/><TestElement x:Name='local' Level='2'/>")));
    ASSERT_NE(root.Get(), nullptr);
    CTestElement* pElement = root.Find<CTestElement>(u"e");
    CTestElement* pLocal = root.Find<CTestElement>(u"local");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 5);

    ChangeLog().clear();
    CQVTMarkupMouseEventArgs args(nullptr, pElement, nullptr, POINT{0, 0});
    pElement->OnMouseEnter(&args);
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 8);
    ASSERT_EQ(ChangeLog().size(), 1u);
    EXPECT_EQ(ChangeLog()[0].pObject, pElement);
    EXPECT_EQ(ChangeLog()[0].nNew, 8);

    pElement->OnMouseLeave(&args);
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 5);
    ASSERT_EQ(ChangeLog().size(), 2u);
    EXPECT_EQ(ChangeLog()[1].nOld, 8);

    pLocal->OnMouseEnter(&args);
    EXPECT_EQ(IntOf(pLocal, CTestElement::m_pLevelProperty), 2);
    pLocal->OnMouseLeave(&args);
}

// A tree with no resources anywhere still puts an element's own style in
// force: its triggers that hold already switch their values in the build.
TEST(MarkupStyles, AnOwnStyleWorksInATreeWithoutResources)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<TestElement x:Name='e'><TestElement.Style><Style TargetType='TestElement'>"
                             u"<Style.Triggers><Trigger Property='Level' Value='5'><Trigger.Setters>"
                             u"<Setter Property='Fill' Value='#102030'/></Trigger.Setters></Trigger>"
                             u"</Style.Triggers></Style></TestElement.Style></TestElement>"
                             u"<TestElement x:Name='plain'/>")));
    ASSERT_NE(root.Get(), nullptr);
    CTestElement* pElement = root.Find<CTestElement>(u"e");
    ASSERT_NE(pElement, nullptr);
    ASSERT_NE(pElement->GetStyle(), nullptr);
    CQVTMarkupSolidColorBrush* pFill =
        MarkupCast<CQVTMarkupSolidColorBrush>(pElement->GetValue(CTestElement::m_pFillProperty));
    ASSERT_NE(pFill, nullptr);
    EXPECT_EQ(pFill->GetColorRef(), RGB(0x10, 0x20, 0x30));
    CTestElement* pPlain = root.Find<CTestElement>(u"plain");
    ASSERT_NE(pPlain, nullptr);
    EXPECT_EQ(pPlain->GetStyle(), nullptr);
}

TEST(MarkupStyles, TriggersThatFeedEachOtherStop)
{
    // Each trigger's setter undoes the other's condition.
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, Resources(u"<Style TargetType='TestElement'><Style.Triggers>"
                                       u"<Trigger Property='Level' Value='5'><Trigger.Setters>"
                                       u"<Setter Property='Weight' Value='1'/></Trigger.Setters></Trigger>"
                                       u"<Trigger Property='Weight' Value='1'><Trigger.Setters>"
                                       u"<Setter Property='Level' Value='6'/></Trigger.Setters></Trigger>"
                                       u"</Style.Triggers></Style>",
                                       u"<TestElement x:Name='e'/>")));
    EXPECT_NE(root.Get(), nullptr);
}
