// Resource dictionaries and lookups through ancestors and styles, and the
// static-extension tree with system and ambient colours.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/text/QVTMarkupHyperlink.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
CQVTMarkupSolidColorBrush* FillOf(CQVTMarkupObject* pObject)
{
    return pObject != nullptr
               ? MarkupCast<CQVTMarkupSolidColorBrush>(pObject->GetValue(CTestElement::m_pFillProperty))
               : nullptr;
}
}  // namespace

TEST(MarkupResources, FoundOnAncestorsNeverOnSiblingsOrLaterDefinitions)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context,
        PanelMarkup(
            u"<TestPanel.Resources><SolidColorBrush x:Key='outer' Color='Blue'/></TestPanel.Resources>"
            u"<TestPanel><TestPanel><TestElement x:Name='deep' Fill='{StaticResource outer}'/>"
            u"</TestPanel></TestPanel>")));
    ASSERT_NE(root.Get(), nullptr);
    ASSERT_NE(FillOf(root.Find<CQVTMarkupObject>(u"deep")), nullptr);
    EXPECT_EQ(FillOf(root.Find<CQVTMarkupObject>(u"deep"))->GetColorRef(), RGB(0, 0, 255));

    const CString strMissing(u"Cannot find resource named 'k'. Resource names are case sensitive");
    EXPECT_EQ(BuildError(context, PanelMarkup(u"<TestPanel><TestPanel.Resources><SolidColorBrush x:Key='k'/>"
                                              u"</TestPanel.Resources></TestPanel>"
                                              u"<TestElement Fill='{StaticResource k}'/>")),
              strMissing);
    EXPECT_EQ(BuildError(context,
                         PanelMarkup(u"<TestElement Fill='{StaticResource k}'><TestElement.Resources>"
                                     u"<SolidColorBrush x:Key='k'/></TestElement.Resources></TestElement>")),
              strMissing);
    EXPECT_EQ(
        BuildError(context, PanelMarkup(u"<TestPanel.Resources><SolidColorBrush x:Key='K'/>"
                                        u"</TestPanel.Resources><TestElement Fill='{StaticResource k}'/>")),
        strMissing);
}

TEST(MarkupResources, StylesAreSearchedAndSystemKeysFallBack)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context,
        PanelMarkup(
            u"<TestPanel.Resources><Style x:Key='s' TargetType='TestElement'><Style.Resources>"
            u"<SolidColorBrush x:Key='inStyle' Color='Lime'/></Style.Resources></Style>"
            u"</TestPanel.Resources>"
            u"<TestElement x:Name='styled' Style='{StaticResource s}'/>"
            u"<TestElement x:Name='system' Fill='{StaticResource {x:Static SystemColors.ControlBrushKey}}'/>"
            u"<TestElement x:Name='typed' Tag='{StaticResource {x:Type Style}}'/>")));
    // The last element finds no style keyed by type: the build fails there.
    EXPECT_EQ(root.Get(), nullptr);

    CTreeHolder ok(BuildMarkup(
        context,
        PanelMarkup(u"<TestPanel.Resources><Style x:Key='s' TargetType='TestElement'><Style.Resources>"
                    u"<SolidColorBrush x:Key='inStyle' Color='Lime'/></Style.Resources></Style>"
                    u"</TestPanel.Resources>"
                    u"<TestElement x:Name='styled' Style='{StaticResource s}'/>"
                    u"<TestElement x:Name='system' Fill='{StaticResource {x:Static "
                    u"SystemColors.ControlBrushKey}}'/>")));
    ASSERT_NE(ok.Get(), nullptr);
    CQVTMarkupString* pKey = CQVTMarkupString::CreateValue(u"inStyle");
    CQVTMarkupSolidColorBrush* pFound = MarkupCast<CQVTMarkupSolidColorBrush>(
        CQVTMarkupResourceDictionary::FindResource(ok.Find<CQVTMarkupObject>(u"styled"), pKey));
    pKey->InternalRelease();
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(pFound->GetColorRef(), RGB(0, 255, 0));
    ASSERT_NE(FillOf(ok.Find<CQVTMarkupObject>(u"system")), nullptr);
    EXPECT_EQ(FillOf(ok.Find<CQVTMarkupObject>(u"system"))->GetColorRef(), ::GetSysColor(COLOR_BTNFACE));
}

TEST(MarkupResources, AStyleWithoutKeyIsTheImplicitStyleOfItsType)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<TestPanel.Resources><Style TargetType='TestElement'><Setter Property='Level' "
                             u"Value='4'/></Style></TestPanel.Resources><TestElement x:Name='e'/>"
                             u"<TestElement x:Name='own' Style='{x:Null}'/>")));
    // x:Null is no extension of this language.
    EXPECT_EQ(root.Get(), nullptr);
    CTreeHolder ok(BuildMarkup(
        context, PanelMarkup(u"<TestPanel.Resources><Style TargetType='TestElement'><Setter Property='Level' "
                             u"Value='4'/></Style></TestPanel.Resources><TestElement x:Name='e'/>")));
    ASSERT_NE(ok.Get(), nullptr);
    CTestElement* pElement = ok.Find<CTestElement>(u"e");
    ASSERT_NE(pElement->GetStyle(), nullptr);
    CQVTMarkupInt* pLevel = MarkupCast<CQVTMarkupInt>(pElement->GetValue(CTestElement::m_pLevelProperty));
    ASSERT_NE(pLevel, nullptr);
    EXPECT_EQ(pLevel->GetValue(), 4);
}

TEST(MarkupStaticExtensions, PathsNamesAndReplacement)
{
    std::unique_ptr<CQVTMarkupStaticExtension> root(CQVTMarkupStaticExtension::CreateRoot());
    CQVTMarkupObject* pBrush = root->FindValue(u"SystemColors.WindowBrush");
    ASSERT_NE(MarkupCast<CQVTMarkupSolidColorBrush>(pBrush), nullptr);
    pBrush->InternalRelease();
    CQVTMarkupObject* pKey = root->FindValue(u"SystemColors.HighlightColorKey");
    ASSERT_NE(MarkupCast<CQVTMarkupColorKey>(pKey), nullptr);
    EXPECT_EQ(static_cast<CQVTMarkupColorKey*>(pKey)->GetKey(), COLOR_HIGHLIGHT);
    pKey->InternalRelease();
    EXPECT_EQ(root->FindValue(u"SystemColors"), nullptr);
    EXPECT_EQ(root->FindValue(u"SystemColors.WindowBrush.X"), nullptr);
    EXPECT_EQ(root->FindValue(u"SystemColors.Window1Brush"), nullptr);
    EXPECT_EQ(root->FindValue(u"systemcolors.WindowBrush"), nullptr);

    // Themes add branches; a second child of one name takes the place of the first.
    CQVTMarkupStaticExtension* pTheme = new CQVTMarkupStaticExtension(u"Theme");
    root->AddExtension(pTheme);
    pTheme->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(u"Tab_Brush", RGB(1, 2, 3)));
    pTheme->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(u"Tab_Brush", RGB(4, 5, 6)));
    EXPECT_EQ(root->FindExtension(u"Theme"), pTheme);
    CQVTMarkupObject* pTab = root->FindValue(u"Theme.Tab_Brush");
    ASSERT_NE(pTab, nullptr);
    EXPECT_EQ(static_cast<CQVTMarkupBrush*>(pTab)->GetColorRef(), RGB(4, 5, 6));
    pTab->InternalRelease();
    // A leaf takes no children.
    CQVTMarkupStaticExtension* pLeaf = root->FindExtension(u"Theme.Tab_Brush");
    ASSERT_NE(pLeaf, nullptr);
    pLeaf->AddExtension(new CQVTMarkupStaticExtension(u"Child"));
    EXPECT_EQ(root->FindExtension(u"Theme.Tab_Brush.Child"), nullptr);
}

TEST(MarkupStaticExtensions, AmbientColoursFollowTheApplication)
{
    CQVTApplication* pApplication = QVTApplication();
    COleVariant& ambient = pApplication->GetAmbientProperty(0);
    const LONG nSaved = ambient.lVal;
    ambient.lVal = RGB(10, 20, 30);
    {
        std::unique_ptr<CQVTMarkupStaticExtension> root(CQVTMarkupStaticExtension::CreateRoot());
        CQVTMarkupObject* pBrush = root->FindValue(u"AmbientColors.AccentBrush");
        CQVTMarkupObject* pColor = root->FindValue(u"AmbientColors.AccentColor");
        CQVTMarkupObject* pState = root->FindValue(u"AmbientColors.StateBrush");
        ASSERT_NE(pBrush, nullptr);
        ASSERT_NE(pColor, nullptr);
        EXPECT_EQ(static_cast<CQVTMarkupSolidColorBrush*>(pBrush)->GetColor(), 0xFF1E140Au);
        IQVTApplicationEvents* pBrushEvents = dynamic_cast<IQVTApplicationEvents*>(pBrush);
        IQVTApplicationEvents* pColorEvents = dynamic_cast<IQVTApplicationEvents*>(pColor);
        ASSERT_NE(pBrushEvents, nullptr);
        EXPECT_TRUE(pApplication->HasObserver(pBrushEvents));

        ambient.lVal = RGB(200, 100, 50);
        // Property 1 is another one: nothing changes yet.
        pBrushEvents->OnAmbientPropertyChanged(pApplication, 1);
        EXPECT_EQ(static_cast<CQVTMarkupSolidColorBrush*>(pBrush)->GetColor(), 0xFF1E140Au);
        pBrushEvents->OnAmbientPropertyChanged(pApplication, 0);
        pColorEvents->OnAmbientPropertyChanged(pApplication, 0);
        EXPECT_EQ(static_cast<CQVTMarkupSolidColorBrush*>(pBrush)->GetColor(), 0xFF3264C8u);
        EXPECT_EQ(static_cast<CQVTMarkupColor*>(pColor)->GetValue(), 0xFF3264C8u);

        // A theme brush leaf is replaced; those who hold the old keep it.
        CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty* pLeaf =
            new CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty(u"Light", 3);
        root->AddExtension(pLeaf);
        CQVTMarkupObject* pOld = root->FindValue(u"Light");
        EXPECT_EQ(static_cast<CQVTMarkupBrush*>(pOld)->GetColorRef(), RGB(216, 116, 66));
        ambient.lVal = RGB(0, 0, 0);
        pLeaf->OnAmbientPropertyChanged(pApplication, 0);
        CQVTMarkupObject* pNew = root->FindValue(u"Light");
        EXPECT_NE(pNew, pOld);
        EXPECT_EQ(static_cast<CQVTMarkupBrush*>(pNew)->GetColorRef(), RGB(16, 16, 16));
        EXPECT_EQ(static_cast<CQVTMarkupBrush*>(pOld)->GetColorRef(), RGB(216, 116, 66));
        pOld->InternalRelease();
        pNew->InternalRelease();

        pBrush->InternalRelease();
        pColor->InternalRelease();
        pState->InternalRelease();
        root.reset();
        EXPECT_FALSE(pApplication->HasObserver(pBrushEvents));
    }
    ambient.lVal = nSaved;
}

TEST(MarkupResources, ImplicitStylesReachThroughPanelsAndTextButNotIntoOtherBranches)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context,
        PanelMarkup(
            u"<TestPanel.Resources><Style TargetType='TestElement'><Setter Property='Level' Value='4'/>"
            u"</Style><Style TargetType='Hyperlink'><Setter Property='Foreground' Value='#102030'/></Style>"
            u"<Style x:Key='scoped' TargetType='TestPanel'><Style.Resources><Style "
            u"TargetType='TestElement'><Setter Property='Level' Value='9'/></Style></Style.Resources>"
            u"</Style></TestPanel.Resources>"
            u"<Border><Grid><StackPanel><TestElement x:Name='deep'/><TextBlock><Bold>"
            u"<Hyperlink x:Name='link'>open</Hyperlink></Bold></TextBlock></StackPanel></Grid></Border>"
            u"<TestPanel><TestPanel.Resources><Style TargetType='TestElement'><Setter Property='Level' "
            u"Value='7'/></Style></TestPanel.Resources><TestElement x:Name='near'/></TestPanel>"
            u"<TestPanel Style='{StaticResource scoped}'><StackPanel><TestElement x:Name='viaStyle'/>"
            u"</StackPanel></TestPanel>"
            u"<TestElement x:Name='sibling'/>")));
    ASSERT_NE(root.Get(), nullptr);
    auto level = [&](LPCWSTR lpszName) {
        CTestElement* pElement = root.Find<CTestElement>(lpszName);
        CQVTMarkupInt* pLevel =
            pElement != nullptr
                ? MarkupCast<CQVTMarkupInt>(pElement->GetValue(CTestElement::m_pLevelProperty))
                : nullptr;
        return pLevel != nullptr ? pLevel->GetValue() : -1;
    };
    EXPECT_EQ(level(u"deep"), 4);
    EXPECT_EQ(level(u"near"), 7);
    EXPECT_EQ(level(u"viaStyle"), 9);
    // The nearer style stays in its own branch.
    EXPECT_EQ(level(u"sibling"), 4);
    CQVTMarkupHyperlink* pLink = root.Find<CQVTMarkupHyperlink>(u"link");
    ASSERT_NE(pLink, nullptr);
    ASSERT_NE(pLink->GetStyle(), nullptr);
    CQVTMarkupSolidColorBrush* pForeground = MarkupCast<CQVTMarkupSolidColorBrush>(pLink->GetForeground());
    ASSERT_NE(pForeground, nullptr);
    EXPECT_EQ(pForeground->GetColorRef(), RGB(0x10, 0x20, 0x30));
}
