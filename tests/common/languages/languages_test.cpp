// The language table: codes, the language module chosen by id (the file
// name with spaces and a comma included), the run-time locale it sets, and
// the program's texts through the resource manager.
#include "sondrel_gtest.h"

#include "tests/common/common_test_support.h"

#include "app/program/resource.h"
#include "common/ApplicationBase.h"
#include "common/LanguageStrings.h"
#include "languages_test_support.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

using namespace tracetest;

namespace {

// An application whose program folder holds the test language modules.
class LanguageApp : public CApplicationBase
{
public:
    LanguageApp() : CApplicationBase(_T("Sondrel language test"), _T("Sondrel"))
    {
        m_strExeFolder = W(LanguageProgramFolder());
    }
    ~LanguageApp() override
    {
        // The program's own resources and the "C" locale for the next test.
        QVTResourceManager()->SetResourceFile(CString());
        _tsetlocale(LC_ALL, _T("C"));
    }
};

std::u16string ModuleName(HMODULE module)
{
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::u16string name(reinterpret_cast<const char16_t*>(path));
    return name.substr(name.rfind(u'\\') + 1);
}

CString Locale()
{
    return _tsetlocale(LC_CTYPE, nullptr);
}

}  // namespace

TEST(Languages, CodesFollowTheTable)
{
    LanguageApp app;
    const std::pair<int, LPCTSTR> codes[] = {
        {0, _T("EN")},  {1, _T("RU")},  {2, _T("DE")},         {3, _T("PL")},  {4, _T("JA")},
        {5, _T("FR")},  {6, _T("IT")},  {7, _T("ES")},         {8, _T("PT")},  {9, _T("ZH-CN")},
        {10, _T("FA")}, {11, _T("TR")}, {12, _T("HI")},        {13, _T("UR")}, {14, _T("BN")},
        {15, _T("EN")}, {-1, _T("EN")}, {0x7FFFFFFF, _T("EN")}};
    for (const auto& row : codes)
    {
        app.m_nLanguageId = row.first;
        EXPECT_EQ(CString(app.GetLanguageCode()), CString(row.second)) << row.first;
    }
}

TEST(Languages, TheLanguageIdPicksItsModuleAndLocale)
{
    LanguageApp app;
    EXPECT_EQ(CString(LoadAppString(IDR_MAINFRAME)), CString(_T("Sondrel")));

    app.m_nLanguageId = 1;
    EXPECT_TRUE(app.LoadLanguage(nullptr, nullptr));
    EXPECT_TRUE(ModuleName(QVTResourceManager()->GetOwnModule()) == u"russian.dll");
    EXPECT_EQ(CString(LoadAppString(IDR_MAINFRAME)),
              CString(_T("\x0421\x043E\x043D\x0434\x0440\x0435\x043B")));
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_ERROR)), CString(_T("\x041E\x0448\x0438\x0431\x043A\x0430")));
    // What the module lacks comes from the program.
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_CONFIRMATION)), CString(_T("Confirmation")));
    EXPECT_EQ(CString(Locale()), CString(_T("Russian_Russia.1251")));

    app.m_nLanguageId = 9;
    EXPECT_TRUE(app.LoadLanguage(nullptr, nullptr));
    EXPECT_TRUE(ModuleName(QVTResourceManager()->GetOwnModule()) == u"Chinese (Simplified), Simplified.dll");
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_ERROR)), CString(_T("\x9519\x8BEF")));
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_INFORMATION)), CString(_T("Information")));
    EXPECT_EQ(Locale().Find(_T("_China.936")), Locale().GetLength() - 10);

    // Ids outside the table change nothing.
    for (int id : {15, -1, 0})
    {
        app.m_nLanguageId = id;
        EXPECT_TRUE(app.LoadLanguage(nullptr, nullptr));
        EXPECT_EQ(CString(LoadAppString(IDS_TITLE_ERROR)), CString(_T("\x9519\x8BEF"))) << id;
    }
}

TEST(Languages, AMissingModuleKeepsEnglishButSetsTheLocale)
{
    LanguageApp app;
    app.m_nLanguageId = 3;  // polish.dll is not there
    EXPECT_TRUE(app.LoadLanguage(nullptr, nullptr));
    EXPECT_EQ(QVTResourceManager()->GetOwnModule(), nullptr);
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_ERROR)), CString(_T("Error")));
    EXPECT_EQ(CString(Locale()), CString(_T("Polish_Poland.1250")));
}

TEST(Languages, ANamedFileIsLoadedWithoutTheLocale)
{
    LanguageApp app;
    app.m_nLanguageId = 0;
    EXPECT_TRUE(app.LoadLanguage(nullptr, _T("russian.dll")));
    EXPECT_EQ(CString(LoadAppString(IDS_TITLE_INFORMATION)),
              CString(_T("\x0418\x043D\x0444\x043E\x0440\x043C\x0430\x0446\x0438\x044F")));
    EXPECT_EQ(CString(Locale()), CString(_T("C")));
}

TEST(Languages, TheStringPackNeedsCom)
{
    LanguageApp app;
    EXPECT_FALSE(app.InitLanguages(W(DataFolder() + u"strings.xml")));
    EXPECT_EQ(app.GetLanguageStrings(), nullptr);
    app.InitCOM(0, TRUE, FALSE);
    EXPECT_TRUE(app.InitLanguages(W(DataFolder() + u"strings.xml")));
    ASSERT_NE(app.GetLanguageStrings(), nullptr);
    EXPECT_EQ(CString(app.GetLanguageStrings()->GetText(100)), CString(_T("The later one")));
}
