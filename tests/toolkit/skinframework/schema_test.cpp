// The schema: values as the INI writes them, look-ups with their fall-backs,
// the typed getters' answers and the class caches.
#include "skin_test_support.h"

TEST(SkinSchema, LookUpsFallBackThroughPartClassAndGlobals)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerSchema* schema = skin->schema;
    // PushButton(Hot) has no section: its IMAGEFILE comes from [Button.PushButton],
    // its TEXTCOLOR from [Globals]; [Button.PushButton(Disabled)] has its own.
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    EXPECT_EQ(CString(u"BLUE\\PUSHBUTTON.BMP"), button->GetThemeString(1, 2, 3001));
    COLORREF clr = 0;
    ASSERT_EQ(S_OK, schema->GetColorProperty(7, 1, 2, 3803, &clr));
    EXPECT_EQ(RGB(0, 0, 0), clr);
    ASSERT_EQ(S_OK, schema->GetColorProperty(7, 1, 4, 3803, &clr));
    EXPECT_EQ(RGB(160, 160, 150), clr);
    // Every class reaches GLOBALS.
    ASSERT_EQ(S_OK, schema->GetColorProperty(schema->GetClassCode(u"CLOCK"), 1, 1, 3809, &clr));
    EXPECT_EQ(RGB(255, 0, 255), clr);
    EXPECT_EQ(E_FAIL, schema->GetColorProperty(7, 1, 2, 3805, &clr));

    // light.msstyles: a state without a section of its own finds its part's image.
    auto light = SkinLoad(SkinLightPath(), u"Blue.ini");
    ASSERT_TRUE(light->ok);
    EXPECT_FALSE(light->Class(u"BUTTON")->GetThemeString(1, 2, 3001).IsEmpty());

    // A part without a section for its state or its property asks the
    // class's section of that state before the class's stateless one.
    SkinTempFolder folder;
    auto written =
        SkinLoadLines(folder, {u"[Toolbar]", u"TextColor = 1 1 1", u"[Toolbar(Hot)]", u"TextColor = 2 2 2",
                               u"[Toolbar.DropDownButton]", u"TextColor = 4 4 4"});
    ASSERT_TRUE(written->ok);
    CQVTSkinManagerClass* toolbar = written->Class(u"TOOLBAR");
    const int toolButton = 1, dropDown = 2, normal = 1, hot = 2;
    EXPECT_EQ(RGB(1, 1, 1), toolbar->GetThemeColor(toolButton, normal, 3803, 0));
    EXPECT_EQ(RGB(2, 2, 2), toolbar->GetThemeColor(toolButton, hot, 3803, 0));
    EXPECT_EQ(RGB(2, 2, 2), toolbar->GetThemeColor(0, hot, 3803, 0)) << "the class's own state";
    EXPECT_EQ(RGB(4, 4, 4), toolbar->GetThemeColor(dropDown, hot, 3803, 0)) << "the part's section first";
    ASSERT_EQ(S_OK, written->schema->GetColorProperty(toolbar->GetClassCode(), toolButton, hot, 3803, &clr));
    EXPECT_EQ(RGB(2, 2, 2), clr);
}

TEST(SkinSchema, TypedGettersRefuseAnotherTypeAndDoNotCacheIt)
{
    SkinTempFolder folder;
    SkinTestSite site;
    auto skin = SkinLoadLines(
        folder, {u"[Button]", u"ImageCount = 4", u"TextColor = 10 20 30", u"[Globals]", u"BorderSize = 3"},
        &site);
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerSchema* schema = skin->schema;
    COLORREF clr = 0;
    int n = 0;
    EXPECT_EQ(E_INVALIDARG, schema->GetColorProperty(7, 0, 0, 2401, &clr));
    EXPECT_EQ(E_INVALIDARG, schema->GetIntProperty(7, 0, 0, 3803, &n));
    EXPECT_EQ(S_OK, schema->GetIntProperty(7, 1, 3, 2401, &n));
    EXPECT_EQ(4, n);
    EXPECT_EQ(S_OK, schema->GetIntProperty(7, 1, 3, 2403, &n));
    EXPECT_EQ(3, n);

    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    EXPECT_EQ(RGB(9, 9, 9), button->GetThemeColor(0, 0, 2401, RGB(9, 9, 9))) << "the default";
    EXPECT_EQ(4, button->GetThemeInt(0, 0, 2401, 0)) << "the wrong type was not cached as a miss";
    EXPECT_EQ(7, button->GetThemeInt(0, 0, 2402, 7));

    // Colours pass through the manager's filters.
    site.filter = TRUE;
    EXPECT_EQ(RGB(30, 20, 10), button->GetThemeColor(0, 0, 3803, 0));
    ASSERT_EQ(S_OK, schema->GetColorProperty(7, 0, 0, 3803, &clr));
    EXPECT_EQ(RGB(30, 20, 10), clr);
}

TEST(SkinSchema, ValuesAreReadAsTheirTypesWriteThem)
{
    SkinTempFolder folder;
    std::u16string face32(32, u'F'), face40(40, u'G');
    auto skin = SkinLoadLines(folder, {u"TextColor = 1 1 1",
                                       u"  ; a comment",
                                       u"[Button]",
                                       u"TextColor = 255 0 0 ; red",
                                       u"SizingMargins = 1,2,3,4",
                                       u"Offset = 5, -6",
                                       u"BgType = BorderFill",
                                       u"Transparent = true",
                                       u"BorderOnly = yes",
                                       u"ImageCount = 12abc",
                                       u"FillColor = 0x10 010 2",
                                       u"[Button.PushButton]",
                                       u"TextColor = 5 5",
                                       u"ContentMargins = a,b,c,d",
                                       u"BgType = Fancy",
                                       u"TextColor = 7 8 9",
                                       u"[Button.CheckBox]",
                                       u"TextColor = 7 8 9",
                                       u"TextColor = 1 2",
                                       u"[Button.RadioButton] ",
                                       u"TextColor = 3 3 3",
                                       u"[SysMetrics]",
                                       u"CaptionFont = Segoe UI, 9, Bold",
                                       u"MenuFont = " + face32 + u", 8",
                                       u"SmallCaptionFont = " + face40 + u", 8",
                                       u"StatusFont = Tahoma",
                                       u"IconTitleFont = Tahoma, 10",
                                       u"[Edit]",
                                       u"NoEquals",
                                       u"=1 2 3",
                                       u"TextColor=4 5 6"});
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    EXPECT_EQ(RGB(255, 0, 0), button->GetThemeColor(0, 0, 3803, 0));
    EXPECT_EQ(CRect(1, 3, 2, 4), button->GetThemeRect(0, 0, 3601)) << "left, right, top, bottom";
    EXPECT_EQ(CPoint(5, -6), button->GetThemePosition(0, 0, 3401));
    EXPECT_EQ(1, button->GetThemeEnumValue(0, 0, 4001, 0));
    EXPECT_TRUE(button->GetThemeBool(0, 0, 2201, FALSE));
    EXPECT_FALSE(button->GetThemeBool(0, 0, 2203, TRUE));
    EXPECT_EQ(12, button->GetThemeInt(0, 0, 2401, 0));
    EXPECT_EQ(RGB(16, 8, 2), button->GetThemeColor(0, 0, 3802, 0)) << "colours read as %i";
    // A two-number colour or worded margins set nothing; a later line wins.
    EXPECT_EQ(RGB(7, 8, 9), button->GetThemeColor(1, 0, 3803, 0));
    EXPECT_EQ(RGB(255, 0, 0), button->GetThemeColor(3, 0, 3803, 0))
        << "a line that sets nothing still replaces";
    EXPECT_EQ(CRect(1, 3, 2, 4), button->GetThemeRect(1, 0, 3602, CRect(1, 3, 2, 4)));
    EXPECT_EQ(-1, button->GetThemeEnumValue(1, 0, 4001, 0));
    // A blank after ']' is the dropped last character: the section is unknown.
    EXPECT_EQ(RGB(255, 0, 0), button->GetThemeColor(2, 0, 3803, 0));
    // Property lines before the first section are skipped.
    EXPECT_EQ(RGB(4, 5, 6), skin->Class(u"EDIT")->GetThemeColor(0, 0, 3803, 0));
    EXPECT_EQ(RGB(9, 9, 9), skin->Class(u"LISTBOX")->GetThemeColor(0, 0, 3803, RGB(9, 9, 9)));

    CQVTSkinManagerSchema* schema = skin->schema;
    const UINT sys = schema->GetClassCode(u"SYSMETRICS");
    LOGFONT lf = {};
    ASSERT_EQ(S_OK, schema->GetFontProperty(sys, 0, 0, 801, &lf));
    EXPECT_EQ(CString(u"SEGOE UI"), CString(lf.lfFaceName));
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    HDC hdc = ::GetDC(nullptr);
    EXPECT_EQ(-::MulDiv(9, ::GetDeviceCaps(hdc, LOGPIXELSY), 72), lf.lfHeight);
    ::ReleaseDC(nullptr, hdc);
    // A 32-character face is cut to what LOGFONT holds.
    ASSERT_EQ(S_OK, schema->GetFontProperty(sys, 0, 0, 803, &lf));
    EXPECT_EQ(31, lstrlenW(lf.lfFaceName));
    EXPECT_EQ(0, lf.lfFaceName[31]);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    // A 40-character face, or no size, sets nothing; no style word is 400.
    EXPECT_EQ(E_FAIL, schema->GetFontProperty(sys, 0, 0, 802, &lf));
    EXPECT_EQ(E_FAIL, schema->GetFontProperty(sys, 0, 0, 804, &lf));
    ASSERT_EQ(S_OK, schema->GetFontProperty(sys, 0, 0, 806, &lf));
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
}

TEST(SkinSchema, ClassListsTakeTheFirstKnownNameOnce)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerClass* button = skin->Class(u"NoSuchClass;Button");
    ASSERT_TRUE(button != nullptr);
    EXPECT_EQ(7u, button->GetClassCode());
    EXPECT_EQ(button, skin->Class(u"BUTTON"));
    EXPECT_EQ(button, skin->Class(u"button;edit"));
    EXPECT_TRUE(skin->Class(u"NoSuchClass;AlsoNone") == nullptr);
    EXPECT_TRUE(skin->Class(CString(u'B', 300) + u";EDIT") == skin->Class(u"EDIT"))
        << "an overlong piece is left out";
    EXPECT_TRUE(skin->Class(u"") == nullptr);
}
