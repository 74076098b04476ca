// Dependency properties: inheritance through the logical tree, change
// notifications and their suppression, names, owners and value slots.
#include <deque>

#include "core_test_classes.h"
#include "toolkit/markup/core/QVTMarkupProperties.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
int IntValue(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : -1;
}

}  // namespace

class MarkupProperties : public testing::Test
{
protected:
    void SetUp() override
    {
        m_root.reset(new CTreeHolder(BuildMarkup(
            m_context,
            PanelMarkup(u"<TestPanel x:Name='panel'><TestElement x:Name='a' Weight='4'/>"
                        u"<TestElement x:Name='b'><TestElement.Tag><TestElement x:Name='tagged'/>"
                        u"</TestElement.Tag></TestElement></TestPanel><TestElement x:Name='c'/>"))));
        ASSERT_NE(m_root->Get(), nullptr);
        m_pPanel = m_root->Find<CTestPanel>(u"panel");
        m_pA = m_root->Find<CTestElement>(u"a");
        m_pB = m_root->Find<CTestElement>(u"b");
        m_pC = m_root->Find<CTestElement>(u"c");
        ChangeLog().clear();
    }
    void TearDown() override { m_root.reset(); }

    CContextHolder m_context;
    std::unique_ptr<CTreeHolder> m_root;
    CTestPanel* m_pPanel = nullptr;
    CTestElement* m_pA = nullptr;
    CTestElement* m_pB = nullptr;
    CTestElement* m_pC = nullptr;
};

TEST_F(MarkupProperties, InheritedValuesComeFromTheNearestAncestorAndTheOwnWins)
{
    CQVTMarkupDependencyProperty* pWeight = CTestElement::m_pWeightProperty;
    m_pPanel->SetValue(pWeight, new CQVTMarkupInt(9));
    EXPECT_EQ(IntValue(m_pB, pWeight), 9);
    EXPECT_EQ(IntValue(m_pA, pWeight), 4);
    EXPECT_EQ(IntValue(m_pC, pWeight), -1);  // a sibling of the panel

    // Clearing the own value falls back to the panel's and reports the
    // former value (released by then) and the panel's.
    ChangeLog().clear();
    m_pA->ClearValue(pWeight);
    ASSERT_EQ(ChangeLog().size(), 1u);
    EXPECT_EQ(ChangeLog()[0].pObject, m_pA);
    EXPECT_EQ(ChangeLog()[0].nOld, 4);
    EXPECT_EQ(ChangeLog()[0].nNew, 9);
    EXPECT_EQ(IntValue(m_pA, pWeight), 9);
}

TEST_F(MarkupProperties, InheritedChangesReachEveryDescendantInChildOrder)
{
    CQVTMarkupDependencyProperty* pWeight = CTestElement::m_pWeightProperty;
    m_pPanel->SetValue(pWeight, new CQVTMarkupInt(7));
    // The panel first, then its descendants of the owner class, a before b,
    // a although it keeps its own value, each with the panel's old and new
    // value. Property values (b's Tag) are no logical children; c is a sibling.
    ASSERT_EQ(ChangeLog().size(), 3u);
    EXPECT_EQ(ChangeLog()[0].pObject, m_pPanel);
    EXPECT_EQ(ChangeLog()[1].pObject, m_pA);
    EXPECT_EQ(ChangeLog()[2].pObject, m_pB);
    EXPECT_EQ(ChangeLog()[2].nOld, -1);
    EXPECT_EQ(ChangeLog()[2].nNew, 7);
}

TEST_F(MarkupProperties, EqualValuesAndEmptyClearsStayQuiet)
{
    CQVTMarkupDependencyProperty* pLevel = CTestElement::m_pLevelProperty;
    // Nothing set, nothing inherited, no default: clearing reports nothing.
    m_pC->ClearValue(CTestElement::m_pWeightProperty);
    EXPECT_TRUE(ChangeLog().empty());

    // A value equal to the effective one (the default) replaces the stored
    // object without a report.
    CQVTMarkupInt* pFive = new CQVTMarkupInt(5);
    m_pC->SetValue(pLevel, pFive);
    EXPECT_TRUE(ChangeLog().empty());
    EXPECT_EQ(m_pC->GetLocalValue(pLevel), pFive);

    // Clearing a value equal to the default still reports.
    m_pC->ClearValue(pLevel);
    ASSERT_EQ(ChangeLog().size(), 1u);
    EXPECT_EQ(ChangeLog()[0].nOld, 5);
    EXPECT_EQ(ChangeLog()[0].nNew, 5);

    m_pC->SetValue(pLevel, new CQVTMarkupInt(6));
    ASSERT_EQ(ChangeLog().size(), 2u);
    EXPECT_EQ(ChangeLog()[1].nOld, 5);
    EXPECT_EQ(ChangeLog()[1].nNew, 6);
}

TEST_F(MarkupProperties, ValuesOfTheWrongTypeAreNotStored)
{
    CQVTMarkupString* pText = CQVTMarkupString::CreateValue(u"7");
    m_pC->SetValue(CTestElement::m_pLevelProperty, pText);
    EXPECT_EQ(m_pC->GetLocalValue(CTestElement::m_pLevelProperty), nullptr);
    EXPECT_TRUE(ChangeLog().empty());
    EXPECT_EQ(pText->m_dwRef, 1);
    pText->InternalRelease();
}

TEST(MarkupPropertyNames, LookupWalksBaseTypesAndIsCaseSensitive)
{
    CContextHolder context;
    CQVTMarkupType* pElementType = CQVTMarkupFrameworkElement::GetMarkupType();
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pElementType, u"x:Name"),
              CQVTMarkupObject::m_pNameProperty);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pElementType, u"Name"),
              CQVTMarkupObject::m_pNameProperty);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pElementType, u"name"), nullptr);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(nullptr, u"Name"), nullptr);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pElementType, u"Weight"), nullptr);

    // An added owner finds the very same property, slot and all.
    CQVTMarkupDependencyProperty* pTag = CQVTMarkupDependencyProperty::FindProperty(
        CQVTMarkupFrameworkContentElement::GetMarkupType(), u"Tag");
    EXPECT_EQ(pTag, CQVTMarkupFrameworkElement::m_pTagProperty);
    EXPECT_GE(pTag->GetIndex(), 0);
}

// Answers found once are remembered: a property registered later under the
// same name nearer the type, or one that replaces another, must be found
// instead, and names that share a hash slot must not be taken for each other.
TEST(MarkupPropertyNames, LaterRegistrationsOverrideWhatLookupsRemembered)
{
    CContextHolder context;
    CQVTMarkupType* pElementType = CQVTMarkupFrameworkElement::GetMarkupType();
    CQVTMarkupType* pPanelType = CTestPanel::GetMarkupType();
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"Tag"),
                  CQVTMarkupFrameworkElement::m_pTagProperty);
        EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"ShadowedLater"), nullptr);
    }
    CQVTMarkupDependencyProperty* pBase = CQVTMarkupDependencyProperty::Register(
        u"ShadowedLater", CQVTMarkupInt::GetMarkupType(), pElementType);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"ShadowedLater"), pBase);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"ShadowedLater"), pBase);
    CQVTMarkupDependencyProperty* pNearer =
        CQVTMarkupDependencyProperty::Register(u"ShadowedLater", CQVTMarkupInt::GetMarkupType(), pPanelType);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"ShadowedLater"), pNearer);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pElementType, u"ShadowedLater"), pBase);
    // Registered again on the same type: the new one replaces the old.
    CQVTMarkupDependencyProperty* pAgain =
        CQVTMarkupDependencyProperty::Register(u"ShadowedLater", CQVTMarkupInt::GetMarkupType(), pPanelType);
    EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, u"ShadowedLater"), pAgain);
    // More names on one type than a thread remembers, twice over: each
    // finds its own. Registered names must outlive the registry.
    static std::deque<CString> s_names;
    std::vector<CQVTMarkupDependencyProperty*> names;
    for (int i = 0; i < 150; ++i)
    {
        CString strName;
        strName.Format(u"Numbered%d", i);
        s_names.push_back(strName);
        names.push_back(CQVTMarkupDependencyProperty::Register(s_names.back(), CQVTMarkupInt::GetMarkupType(),
                                                               pElementType));
    }
    for (int nRound = 0; nRound < 2; ++nRound)
    {
        for (int i = 0; i < 150; ++i)
        {
            CString strName;
            strName.Format(u"Numbered%d", i);
            EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, strName), names[i]) << i;
            strName += u"x";
            EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pPanelType, strName), nullptr) << i;
        }
    }
}

TEST(MarkupPropertyNames, RoutedEventsHaveNoSlot)
{
    CContextHolder context;
    CQVTMarkupDependencyProperty* pEvent = CQVTMarkupInputElement::m_pMouseEnterEvent;
    ASSERT_NE(pEvent, nullptr);
    EXPECT_TRUE(pEvent->IsEvent());
    EXPECT_EQ(pEvent->GetIndex(), -1);
    CQVTMarkupObject* pElement = context->CreateMarkupObject(CQVTMarkupFrameworkElement::GetMarkupType());
    CQVTMarkupString* pText = CQVTMarkupString::CreateValue(u"handler");
    pText->InternalAddRef();
    pElement->SetValue(pEvent, pText);
    EXPECT_EQ(pElement->GetLocalValue(pEvent), nullptr);
    EXPECT_EQ(pText->m_dwRef, 1);  // the store released what it could not keep
    pText->InternalRelease();
    pElement->InternalRelease();
}

TEST(MarkupPropertyNames, StoresMadeBeforeARegistrationHaveNoSlotForIt)
{
    CContextHolder context;
    CQVTMarkupObject* pObject = new CQVTMarkupObject();
    pObject->SetValue(CQVTMarkupObject::m_pNameProperty, CQVTMarkupString::CreateValue(u"early"));
    const int nCapacity = pObject->GetProperties()->GetCapacity();
    EXPECT_EQ(nCapacity, CQVTMarkupDependencyProperty::GetPropertyCount());
    CQVTMarkupDependencyProperty* pLate = CQVTMarkupDependencyProperty::Register(
        u"LateProperty", CQVTMarkupInt::GetMarkupType(), CQVTMarkupObject::GetMarkupType());
    CQVTMarkupInt* pValue = new CQVTMarkupInt(1);
    pValue->InternalAddRef();
    pObject->SetValue(pLate, pValue);
    EXPECT_EQ(pObject->GetValue(pLate), nullptr);
    EXPECT_EQ(pValue->m_dwRef, 1);
    pValue->InternalRelease();
    pObject->InternalRelease();
}

TEST(MarkupPropertyStore, SlotsSetInAnyOrderKeepTheirValuesAndReferences)
{
    CContextHolder context;
    // Every registered slot, set from the last to the first, every third
    // one cleared, every fifth one replaced, then copied into a second store.
    const int nCount = CQVTMarkupDependencyProperty::GetPropertyCount();
    ASSERT_GT(nCount, 20);
    std::vector<CQVTMarkupDependencyProperty*> properties(static_cast<size_t>(nCount), nullptr);
    for (const CQVTMarkupDependencyProperty::CEntry& entry :
         CQVTMarkupDependencyProperty::GetRegisteredProperties())
    {
        const int nIndex = entry.pProperty->GetIndex();
        if (nIndex >= 0 && nIndex < nCount)
            properties[static_cast<size_t>(nIndex)] = entry.pProperty;
    }
    std::vector<CQVTMarkupInt*> values;
    for (int i = 0; i < nCount; ++i)
    {
        values.push_back(new CQVTMarkupInt(i));
    }
    CQVTMarkupProperties* pStore = new CQVTMarkupProperties(nullptr);
    for (int i = nCount - 1; i >= 0; --i)
    {
        if (properties[i] == nullptr)
            continue;
        values[i]->InternalAddRef();
        pStore->Set(properties[i], values[i]);
    }
    for (int i = 0; i < nCount; i += 3)
        pStore->Clear(properties[i]);
    for (int i = 0; i < nCount; i += 5)
    {
        if (properties[i] == nullptr)
            continue;
        CQVTMarkupInt* pReplacement = new CQVTMarkupInt(1000 + i);
        pStore->Set(properties[i], pReplacement);
    }
    auto expected = [&](int i) {
        if (properties[i] == nullptr)
            return -1;
        if (i % 5 == 0)
            return 1000 + i;
        return i % 3 == 0 ? -1 : i;
    };
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pStore->GetAt(i));
        EXPECT_EQ(pValue != nullptr ? pValue->GetValue() : -1, expected(i)) << i;
        // Held by the test and, while set, by the store.
        EXPECT_EQ(values[i]->m_dwRef, properties[i] != nullptr && expected(i) == i ? 2 : 1) << i;
    }

    CQVTMarkupProperties* pCopy = new CQVTMarkupProperties(nullptr);
    CQVTMarkupInt* pKept = new CQVTMarkupInt(-5);
    const int nKept = 3;  // cleared in the first store, so the copy keeps its own
    ASSERT_NE(properties[nKept], nullptr);
    pKept->InternalAddRef();
    pCopy->Set(properties[nKept], pKept);
    pCopy->CopyFrom(pStore);
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pCopy->GetAt(i));
        EXPECT_EQ(pValue != nullptr ? pValue->GetValue() : -1, i == nKept ? -5 : expected(i)) << i;
    }
    pStore->InternalRelease();
    for (int i = 0; i < nCount; ++i)
        EXPECT_EQ(values[i]->m_dwRef, properties[i] != nullptr && expected(i) == i ? 2 : 1) << i;
    pCopy->InternalRelease();
    EXPECT_EQ(pKept->m_dwRef, 1);
    pKept->InternalRelease();
    for (CQVTMarkupInt* pValue : values)
    {
        EXPECT_EQ(pValue->m_dwRef, 1);
        pValue->InternalRelease();
    }
}
