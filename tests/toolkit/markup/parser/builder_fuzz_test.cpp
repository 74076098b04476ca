// Generated markup against the builder: random trees drawn from the
// registered tags and properties, and random mutations of valid texts. Every
// case must end in a tree or an error text, never in a crash or a hang.
// Inputs that once broke the builder stay below as regression cases.
#include <random>

#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"

namespace {
// Texts that crashed or hung earlier builds.
const LPCWSTR kRegressions[] = {
    u"<TestPanel><TestElement Style='{StaticResource {x:Type TestElement}}'/></TestPanel>",
    u"<TestPanel><TestPanel.Resources><Style TargetType='TestElement'><Style.Triggers><Trigger "
    u"Property='Level' "
    u"Value='5'><Trigger.Setters><Setter Property='Weight' Value='1'/></Trigger.Setters></Trigger><Trigger "
    u"Property='Weight' Value='1'><Trigger.Setters><Setter Property='Level' Value='6'/></Trigger.Setters>"
    u"</Trigger></Style.Triggers></Style></TestPanel.Resources><TestElement/></TestPanel>",
    u"<FrameworkElement Tag='{'/>",
    u"<FrameworkElement Tag='{x:Static .}'/>",
    u"<FrameworkElement><FrameworkElement.Tag><FrameworkElement.Tag/></FrameworkElement.Tag></"
    u"FrameworkElement>",
    u"<TestPanel><Style/></TestPanel>",
    u"<TestPanel xml:space='preserve'>   </TestPanel>",
};

const LPCWSTR kValues[] = {
    u"0",
    u"1",
    u"-5",
    u"12.5pt",
    u"3in",
    u"2cm",
    u"99999999999999in",
    u"-99999999999999pt",
    u"Auto",
    u"abc",
    u"",
    u" ",
    u"Red",
    u"#FF00FF",
    u"#80FF0000",
    u"#GG",
    u"transparent",
    u"Visible",
    u"Collapsed",
    u"Hidden",
    u"Center",
    u"Stretch",
    u"True",
    u"false",
    u"Hand",
    u"Cycle",
    u"1,2,3,4",
    u"1,2",
    u"1.5,-2 .25",
    u"1e3",
    u"{}{x}",
    u"{",
    u"{x:Static SystemColors.WindowBrush}",
    u"{x:Static SystemColors}",
    u"{x:Static AmbientColors.AccentBrush}",
    u"{StaticResource k}",
    u"{StaticResource {x:Static SystemColors.ControlBrushKey}}",
    u"{DynamicResource k}",
    u"{x:Type Style}",
    u"{x:Type TestElement}",
    u"{x:Type Nope}",
    u"{Binding}",
    u"OnClick",
    u"x:Name",
    u"&lt;&amp;&gt;",
    u"Level",
    u"TestElement.Weight",
    u"IsMouseOver",
};

class CGenerator
{
public:
    explicit CGenerator(unsigned nSeed) : m_random(nSeed)
    {
        for (CQVTMarkupType* pType : CQVTMarkupType::GetRegisteredTypes())
        {
            if (pType->GetTagName() != nullptr && *pType->GetTagName() != 0)
                m_types.push_back(pType);
        }
        m_properties = CQVTMarkupDependencyProperty::GetRegisteredProperties();
    }

    int Pick(int n) { return n <= 1 ? 0 : static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    bool Chance(int nPercent) { return Pick(100) < nPercent; }

    CString Tree(int nDepth)
    {
        CQVTMarkupType* pType = m_types[Pick(static_cast<int>(m_types.size()))];
        if (nDepth == 0 && Chance(70))
            pType = FindMarkupType(Chance(50) ? u"TestPanel" : u"TestElement");
        CString strTag = pType->GetTagName();
        CString strText = u"<" + strTag;
        const int nAttributes = Pick(4);
        for (int i = 0; i < nAttributes; ++i)
            strText += u" " + AttributeName(pType) + u"='" +
                       kValues[Pick(static_cast<int>(std::size(kValues)))] + u"'";
        if (Chance(15))
            strText += u" x:Key='k'";
        if (Chance(5))
            strText += u" xml:space='preserve'";
        if (nDepth >= 6 || Chance(25))
            return strText + u"/>";
        strText += u">";
        const int nChildren = Pick(4);
        for (int i = 0; i < nChildren; ++i)
        {
            const int nKind = Pick(10);
            if (nKind < 5)
                strText += Tree(nDepth + 1);
            else if (nKind < 7)
            {
                const CString strProperty = strTag + u"." + PropertyOf(pType);
                strText += u"<" + strProperty + u">" +
                           (Chance(30) ? CString(kValues[Pick(10)]) : Tree(nDepth + 1)) + u"</" +
                           strProperty + u">";
            }
            else if (nKind < 9)
                strText += Chance(50) ? u"  some text  " : u" \r\n ";
            else
                strText += u"<![CDATA[ raw <text> ]]>";
        }
        return strText + u"</" + strTag + u">";
    }

    CString Mutate(CString strText)
    {
        const int nMutations = 1 + Pick(4);
        static const WCHAR kNoise[] = u"<>/{}=' \"&;x:.#";
        for (int i = 0; i < nMutations && !strText.IsEmpty(); ++i)
        {
            const int nAt = Pick(strText.GetLength());
            switch (Pick(5))
            {
            case 0:
                strText.Delete(nAt, 1 + Pick(8));
                break;
            case 1:
                strText.Insert(nAt, strText.Mid(Pick(strText.GetLength()), 1 + Pick(12)));
                break;
            case 2:
                strText.Insert(nAt, kNoise[Pick(static_cast<int>(std::size(kNoise)) - 1)]);
                break;
            case 3:
                strText = strText.Left(nAt);
                break;
            default:
            {
                const int nOther = Pick(strText.GetLength());
                const WCHAR c = strText[nAt];
                strText.SetAt(nAt, strText[nOther]);
                strText.SetAt(nOther, c);
                break;
            }
            }
        }
        return strText;
    }

private:
    CString PropertyOf(CQVTMarkupType* pType)
    {
        std::vector<LPCWSTR> names;
        for (const CQVTMarkupDependencyProperty::CEntry& entry : m_properties)
        {
            if (pType->IsDerivedFrom(entry.pOwnerType))
                names.push_back(entry.pProperty->GetName());
        }
        if (names.empty() || Chance(5))
            return u"Bogus";
        return names[Pick(static_cast<int>(names.size()))];
    }

    CString AttributeName(CQVTMarkupType* pType)
    {
        if (Chance(10))
        {
            // Attached or qualified: any owner's property.
            const CQVTMarkupDependencyProperty::CEntry& entry =
                m_properties[Pick(static_cast<int>(m_properties.size()))];
            if (entry.pOwnerType->GetTagName() != nullptr && *entry.pOwnerType->GetTagName() != 0)
                return CString(entry.pOwnerType->GetTagName()) + u"." + entry.pProperty->GetName();
        }
        return PropertyOf(pType);
    }

    std::mt19937 m_random;
    std::vector<CQVTMarkupType*> m_types;
    std::vector<CQVTMarkupDependencyProperty::CEntry> m_properties;
};

// A tree or an error text, and nothing else; TRUE for a tree.
BOOL ExpectOneOutcome(CQVTMarkupContext* pContext, const CString& strText)
{
    CString strError;
    CQVTMarkupUIElement* pRoot = BuildMarkup(pContext, strText, &strError);
    if (pRoot != nullptr)
    {
        EXPECT_TRUE(strError.IsEmpty());
        pRoot->InternalRelease();
        return TRUE;
    }
    // Text that is not markup at all gives neither.
    CString strTrimmed(strText);
    strTrimmed.TrimLeft();
    if (strTrimmed.IsEmpty() || strTrimmed[0] != u'<')
        return FALSE;
    EXPECT_FALSE(strError.IsEmpty()) << CStringA(strText).GetString();
    return FALSE;
}
}  // namespace

TEST(MarkupBuilderFuzz, RegressionCasesEndInATreeOrAnError)
{
    CContextHolder context;
    for (LPCWSTR lpszCase : kRegressions)
        ExpectOneOutcome(context, lpszCase);
}

TEST(MarkupBuilderFuzz, RandomTreesFromTheVocabulary)
{
    CContextHolder context;
    CGenerator generator(20240611);
    int nBuilt = 0;
    for (int i = 0; i < 1500; ++i)
        nBuilt += ExpectOneOutcome(context, generator.Tree(0));
    // The generator must also reach the builder's successful paths.
    EXPECT_GT(nBuilt, 20);
}

TEST(MarkupBuilderFuzz, MutationsOfValidTexts)
{
    CContextHolder context;
    CGenerator generator(77);
    const LPCWSTR seeds[] = {
        u"<TestPanel "
        u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml'><TestPanel.Resources><SolidColorBrush "
        u"x:Key='k' Color='Red'/><Style TargetType='TestElement' x:Key='s'><Setter Property='Level' "
        u"Value='3'/>"
        u"</Style></TestPanel.Resources><TestElement x:Name='a' Fill='{StaticResource k}' "
        u"Style='{StaticResource s}' "
        u"Margin='1,2,3,4' Width='10pt'/><TestPanel> text <TestElement Tag='{x:Type "
        u"Style}'/></TestPanel></TestPanel>",
        u"<TestPanel><TestElement><TestElement.Tag><LinearGradientBrush><GradientStop Color='#80FF0000' "
        u"Offset='0.5'/></LinearGradientBrush></TestElement.Tag></TestElement><![CDATA[ x ]]></TestPanel>",
        u"<TestPanel><TestPanel.Resources><Style TargetType='{x:Type TestElement}'><Style.Triggers><Trigger "
        u"Property='IsMouseOver' Value='True'><Trigger.Setters><Setter Property='Fill' Value='Blue'/>"
        u"</Trigger.Setters></Trigger></Style.Triggers></Style></TestPanel.Resources><TestElement/></"
        u"TestPanel>",
    };
    for (int i = 0; i < 1500; ++i)
        ExpectOneOutcome(context, generator.Mutate(seeds[i % std::size(seeds)]));
}
