// The markup type system: the class registry by tag, kind-of tests, and
// registration that runs base registrars first and every registrar once.
#include <set>

#include "core_test_classes.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"

TEST(MarkupTypes, TagsAreFoundExactlyAndOnlyForTaggedClasses)
{
    CContextHolder context;
    CQVTMarkupType* pType = FindMarkupType(u"FrameworkElement");
    ASSERT_NE(pType, nullptr);
    EXPECT_EQ(CString(pType->GetClassName()), CString(u"CQVTMarkupFrameworkElement"));
    EXPECT_EQ(FindMarkupType(u"frameworkelement"), nullptr);
    EXPECT_EQ(FindMarkupType(u"CQVTMarkupBool"), nullptr);
    EXPECT_EQ(FindMarkupType(u""), nullptr);
    EXPECT_EQ(FindMarkupType(nullptr), nullptr);

    // The gradient stop collection is registered under an empty tag: listed,
    // never found by tag.
    const std::vector<CQVTMarkupType*> types = CQVTMarkupType::GetRegisteredTypes();
    EXPECT_NE(std::find(types.begin(), types.end(), CQVTMarkupGradientStops::GetMarkupType()), types.end());

    const std::set<CString, bool (*)(const CString&, const CString&)> expectedTags(
        {CString(u"Color"), CString(u"DoubleCollection"), CString(u"FrameworkContentElement"),
         CString(u"GradientStop"), CString(u"LinearGradientBrush"), CString(u"SolidColorBrush"),
         CString(u"Style"), CString(u"Setter"), CString(u"FrameworkElement"), CString(u"KeyboardNavigation"),
         CString(u"ResourceDictionary"), CString(u"Trigger")},
        [](const CString& a, const CString& b) { return _tcscmp(a, b) < 0; });
    for (const CString& strTag : expectedTags)
    {
        CQVTMarkupType* pTagged = FindMarkupType(strTag);
        ASSERT_NE(pTagged, nullptr) << CStringA(strTag).GetString();
        EXPECT_EQ(CString(pTagged->GetTagName()), strTag);
        EXPECT_TRUE(pTagged->IsRegistered());
    }
    // Every registered class is registered once the first context exists.
    for (CQVTMarkupType* pRegistered : types)
        EXPECT_TRUE(pRegistered->IsRegistered()) << CStringA(pRegistered->GetClassName()).GetString();
}

TEST(MarkupTypes, DynamicCastFollowsTheBaseChain)
{
    CContextHolder context;
    CQVTMarkupObject* pElement = context->CreateMarkupObject(FindMarkupType(u"TestElement"));
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(MarkupDynamicCast(CQVTMarkupFrameworkElement::GetMarkupType(), pElement), pElement);
    EXPECT_EQ(MarkupDynamicCast(CQVTMarkupUIElement::GetMarkupType(), pElement), pElement);
    EXPECT_EQ(MarkupDynamicCast(CQVTMarkupStyle::GetMarkupType(), pElement), nullptr);
    EXPECT_EQ(MarkupDynamicCast(CQVTMarkupFrameworkContentElement::GetMarkupType(), pElement), nullptr);
    EXPECT_EQ(MarkupDynamicCast(CQVTMarkupObject::GetMarkupType(), nullptr), nullptr);
    EXPECT_TRUE(
        CQVTMarkupFrameworkElement::GetMarkupType()->IsDerivedFrom(CQVTMarkupObject::GetMarkupType()));
    EXPECT_FALSE(
        CQVTMarkupObject::GetMarkupType()->IsDerivedFrom(CQVTMarkupFrameworkElement::GetMarkupType()));
    pElement->InternalRelease();
}

// Kind-of tests and tag look-ups answer from what they remember: every pair
// of types must agree with a climb through the bases, and every tag, asked
// for in any order and beside near misses, must give its own type.
TEST(MarkupTypes, RememberedAnswersAgreeWithTheRegistry)
{
    CContextHolder context;
    const std::vector<CQVTMarkupType*> types = CQVTMarkupType::GetRegisteredTypes();
    ASSERT_GT(types.size(), 100u);
    auto climbs = [](CQVTMarkupType* pFrom, CQVTMarkupType* pTo) {
        for (CQVTMarkupType* p = pFrom; p != nullptr; p = p->GetBaseType())
        {
            if (p == pTo)
                return true;
        }
        return false;
    };
    for (CQVTMarkupType* pA : types)
    {
        EXPECT_FALSE(pA->IsDerivedFrom(nullptr));
        for (CQVTMarkupType* pB : types)
            EXPECT_EQ(pA->IsDerivedFrom(pB) != FALSE, climbs(pA, pB))
                << CStringA(pA->GetClassName()).GetString() << " "
                << CStringA(pB->GetClassName()).GetString();
    }
    for (int nRound = 0; nRound < 2; ++nRound)
    {
        for (size_t i = 0; i < types.size(); ++i)
        {
            CQVTMarkupType* pType = types[nRound == 0 ? i : types.size() - 1 - i];
            LPCWSTR lpszTag = pType->GetTagName();
            if (lpszTag == nullptr || *lpszTag == 0)
                continue;
            const CString strTag(lpszTag);
            EXPECT_EQ(FindMarkupType(strTag), pType) << CStringA(strTag).GetString();
            EXPECT_EQ(FindMarkupType(strTag + u"x"), nullptr) << CStringA(strTag).GetString();
            EXPECT_NE(FindMarkupType(strTag.Left(strTag.GetLength() - 1)), pType)
                << CStringA(strTag).GetString();
            CString strLower(strTag);
            strLower.MakeLower();
            if (strLower != strTag)
            {
                EXPECT_EQ(FindMarkupType(strLower), nullptr) << CStringA(strTag).GetString();
            }
        }
    }
}

TEST(MarkupTypes, EnsureRegisteredRunsTheBaseFirstAndEachOnce)
{
    CQVTMarkupType::EnsureRegistered(TestDerivedType());
    CQVTMarkupType::EnsureRegistered(TestDerivedType());
    CQVTMarkupType::EnsureRegistered(TestBaseType());
    EXPECT_EQ(g_nBaseRegistrations, 1);
    EXPECT_EQ(g_nDerivedRegistrations, 1);
    EXPECT_LT(g_nBaseRegisteredAt, g_nDerivedRegisteredAt);
}

TEST(MarkupTypes, TypesConvertFromTheirTagText)
{
    CContextHolder context;
    CQVTMarkupString* pText = CQVTMarkupString::CreateValue(u"Style");
    CQVTMarkupObject* pType = CQVTMarkupType::GetMarkupType()->ConvertFrom(nullptr, pText);
    EXPECT_EQ(pType, CQVTMarkupStyle::GetMarkupType());
    if (pType != nullptr)
        pType->InternalRelease();
    CQVTMarkupString* pUnknown = CQVTMarkupString::CreateValue(u"style");
    EXPECT_EQ(CQVTMarkupType::GetMarkupType()->ConvertFrom(nullptr, pUnknown), nullptr);
    pUnknown->InternalRelease();
    pText->InternalRelease();
}
