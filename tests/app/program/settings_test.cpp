// The settings in the registry: every value of the table with its hive
// fallbacks, the start counter, values of the wrong type or size, and what
// SaveSettings writes as another process reads it.
#include "sondrel_gtest.h"

#include "program_test_support.h"

using namespace commontest;
using namespace tracetest;

namespace {

const char16_t kReadBackVariable[] = u"SONDREL_SETTINGS_KEY";

}  // namespace

TEST(Settings, DefaultsAndTheFirstStart)
{
    RegistryRedirect hives;
    TestSondrelApp app;
    app.m_strOutputFolder = _T("C:\\default output\\");
    app.LoadSettings();
    EXPECT_EQ(app.m_nLanguageId, 0);
    EXPECT_EQ(app.m_strSkinFile, CString(_T("vista.qvstyles")));
    EXPECT_EQ(app.m_nRibbonStyle, 32802);
    EXPECT_EQ(app.m_nMinimizeToTray, 0);
    EXPECT_EQ(app.m_strOutputFolder, CString(_T("C:\\default output\\")));
    // The first start counts 1; the machine's hive takes counter and version.
    EXPECT_EQ(app.m_nRunningCounter, 1);
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter"), 1u);
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"Version"), 1260196u);
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"RunningCounter"), 0xDEADu);
    app.LoadSettings();
    EXPECT_EQ(app.m_nRunningCounter, 2);
}

TEST(Settings, EachValueFromItsHives)
{
    RegistryRedirect hives;
    ScratchFolder output("settings output");
    // The user's values win where the user has them.
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"LangID", 2);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kProgramKey, u"LangID", 9);
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"Skin", u"dark.qvstyles");
    SetRegistryString(HKEY_LOCAL_MACHINE, kProgramKey, u"Skin", u"office.msstyles");
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"RibbonStyle", 32804);
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"MinimizeToTray", 1);
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"DstFolder", output.Path());
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"RunningCounter", 7);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter", 30);
    TestSondrelApp app;
    app.LoadSettings();
    EXPECT_EQ(app.m_nLanguageId, 2);
    EXPECT_EQ(app.m_strSkinFile, CString(_T("dark.qvstyles")));
    EXPECT_EQ(app.m_nRibbonStyle, 32804);
    EXPECT_EQ(app.m_nMinimizeToTray, 1);
    EXPECT_EQ(U16(app.m_strOutputFolder), output.Path());
    EXPECT_EQ(app.m_nRunningCounter, 8);

    // Where the user's are missing, empty or all bits set: the machine's,
    // for the values that fall back at all.
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"LangID", 0xFFFFFFFF);
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"Skin", u"");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, Wc(kProgramKey), u"RunningCounter");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, Wc(kProgramKey), u"RibbonStyle");
    SetRegistryDword(HKEY_LOCAL_MACHINE, kProgramKey, u"RibbonStyle", 32801);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter", 5);
    app.LoadSettings();
    EXPECT_EQ(app.m_nLanguageId, 9);
    EXPECT_EQ(app.m_strSkinFile, CString(_T("office.msstyles")));
    EXPECT_EQ(app.m_nRibbonStyle, 32802);  // the machine's is never read
    EXPECT_EQ(app.m_nRunningCounter, 6);
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"RunningCounter"), 6u);

    // A folder that is gone is not taken.
    ScratchFolder::Remove(output.Path());
    app.m_strOutputFolder = _T("C:\\default output\\");
    app.LoadSettings();
    EXPECT_EQ(app.m_strOutputFolder, CString(_T("C:\\default output\\")));
    app.SaveSettings();
    EXPECT_TRUE(RegistryText(HKEY_CURRENT_USER, kProgramKey, u"DstFolder") == u"C:\\default output\\");
}

TEST(Settings, WithoutRightsToTheMachinesHiveTheUserKeepsTheCount)
{
    RegistryRedirect hives;
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"RunningCounter", 3);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kProgramKey, u"LangID", 1);
    ASSERT_TRUE(MakeKeyReadOnly(HKEY_LOCAL_MACHINE, kProgramKey));
    TestSondrelApp app;
    app.LoadSettings();
    EXPECT_EQ(app.m_nLanguageId, 1);  // still read from there
    EXPECT_EQ(app.m_nRunningCounter, 4);
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"RunningCounter"), 4u);
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"Version"), 1260196u);
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kProgramKey, u"Version"), 0xDEADu);
}

TEST(Settings, ValuesOfTheWrongKindGiveDefaults)
{
    RegistryRedirect hives;
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"LangID", u"1");
    BYTE one = 4;
    SetRegistryBytes(HKEY_CURRENT_USER, kProgramKey, u"RunningCounter", REG_BINARY, &one, 1);
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"RibbonStyle", u"32801");
    ULONGLONG wide = 1;
    SetRegistryBytes(HKEY_CURRENT_USER, kProgramKey, u"MinimizeToTray", REG_QWORD, &wide, sizeof(wide));
    SetRegistryDword(HKEY_CURRENT_USER, kProgramKey, u"DstFolder", 0x003A0043);  // "C:" as a number
    SetRegistryString(HKEY_CURRENT_USER, kProgramKey, u"Skin", std::u16string(3000, u'a') + u".qvstyles");
    TestSondrelApp app;
    app.m_strOutputFolder = _T("C:\\default output\\");
    app.LoadSettings();
    EXPECT_EQ(app.m_nLanguageId, 0);
    EXPECT_EQ(app.m_nRunningCounter, 1);
    EXPECT_EQ(app.m_nRibbonStyle, 32802);
    EXPECT_EQ(app.m_nMinimizeToTray, 0);
    EXPECT_EQ(app.m_strOutputFolder, CString(_T("C:\\default output\\")));
    EXPECT_EQ(app.m_strSkinFile.GetLength(), 1024);

    // A name stored without its terminating zero is read whole.
    const char16_t bare[] = {u'b', u'l', u'u', u'e'};
    SetRegistryBytes(HKEY_CURRENT_USER, kProgramKey, u"Skin", REG_SZ, bare, sizeof(bare));
    app.LoadSettings();
    EXPECT_EQ(app.m_strSkinFile, CString(_T("blue")));
}

TEST(Settings, SaveSettingsAsAnotherProcessReadsThem)
{
    RegistryRedirect hives;
    TestSondrelApp app;
    app.m_strSkinFile = _T("caf\x00e9.qvstyles");
    app.m_nRibbonStyle = 32803;
    app.m_nMinimizeToTray = 1;
    app.m_strOutputFolder = _T("D:\\\x0417\x0430\x043F\x0438\x0441\x0438\\");
    app.SaveSettings();
    EXPECT_EQ(RunSelf("SettingsReadBack.ByAnotherProcess", kReadBackVariable,
                      hives.UserPath() + u"\\" + kProgramKey),
              0u);
}

// Run by the test above in a second process, on the real key the first
// process's user hive stood for.
TEST(SettingsReadBack, ByAnotherProcess)
{
    std::u16string key = Environment(kReadBackVariable);
    if (key.empty())
        GTEST_SKIP() << "run by Settings.SaveSettingsAsAnotherProcessReadsThem";
    EXPECT_TRUE(RegistryText(HKEY_CURRENT_USER, key, u"Skin") == u"caf\x00e9.qvstyles");
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, key, u"RibbonStyle"), 32803u);
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, key, u"MinimizeToTray"), 1u);
    EXPECT_TRUE(RegistryText(HKEY_CURRENT_USER, key, u"DstFolder") ==
                u"D:\\\x0417\x0430\x043F\x0438\x0441\x0438\\");
    // Nothing else: the language and the counter are not the user's to save.
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, key, u"LangID"), 0xDEADu);
    EXPECT_EQ(RegistryNumber(HKEY_CURRENT_USER, key, u"RunningCounter"), 0xDEADu);
}

TEST(Settings, OnlyTheFourRibbonStylesNameASkin)
{
    const struct
    {
        int nStyle;
        const TCHAR* pszIni;
    } rows[] = {
        {32800, _T("")},
        {32801, _T("NormalBlue.ini")},
        {32802, _T("NormalBlack2.ini")},
        {32803, _T("NormalSilver.ini")},
        {32804, _T("NormalSilver.ini")},
        {32805, _T("")},
        {0, _T("")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CString(CSondrelApp::SkinIniForRibbonStyle(row.nStyle)), CString(row.pszIni)) << row.nStyle;
}
