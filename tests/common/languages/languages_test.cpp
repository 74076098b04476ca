// The language table: codes, the language module chosen by id (the file
// name with spaces and a comma included), the run-time locale it sets, the
// program's texts through the resource manager, and a language module's
// damaged dialog templates.
#include "image_headers.h"
#include "sondrel_gtest.h"

#include "tests/common/common_test_support.h"

#include <string>

#include "app/program/resource.h"
#include "app/recorder/FileListResource.h"
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

namespace {

// Dialog template bytes, a piece at a time.
struct TemplateBytes
{
    std::string bytes;
    TemplateBytes& W(WORD w)
    {
        bytes.append(reinterpret_cast<const char*>(&w), sizeof(w));
        return *this;
    }
    TemplateBytes& D(DWORD d) { return W(LOWORD(d)).W(HIWORD(d)); }
    TemplateBytes& Ws(std::initializer_list<WORD> words)
    {
        for (WORD w : words)
            W(w);
        return *this;
    }
    // A string, with its end unless told otherwise.
    TemplateBytes& S(const char16_t* text, bool bEnd = true)
    {
        for (; *text; ++text)
            W(*text);
        return bEnd ? W(0) : *this;
    }
    TemplateBytes& Align()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
        return *this;
    }
    // The extended form's header up to its title: no menu, the default class.
    TemplateBytes& ExHead(WORD nItems, DWORD dwStyle = DS_SETFONT)
    {
        Ws({1, 0xFFFF, 0, 0, 0, 0}).D(WS_POPUP | WS_CAPTION | dwStyle);
        return Ws({nItems, 0, 0, 250, 49, 0, 0});
    }
    TemplateBytes& ExFont() { return Ws({8, 400, 0}).S(u"MS Shell Dlg").Align(); }
    // An item of a predefined class, by its ordinal.
    TemplateBytes& ExItem(WORD nClass, DWORD nId, const char16_t* title)
    {
        D(0).D(0).D(WS_CHILD | WS_VISIBLE).Ws({7, 7, 50, 14}).D(nId);
        return Ws({0xFFFF, nClass}).S(title).W(0);
    }
};

// A language module made by hand in memory: what the loader's resource
// functions read of a PE header, and a resource directory holding one
// dialog template, which ends where the readable pages end: a read past the
// template's end faults.
class HandMadeModule
{
public:
    HandMadeModule(WORD nId, const std::string& data)
    {
        const DWORD kPage = 0x1000, kDirectory = 0x400;
        const DWORD nDataPages = static_cast<DWORD>(data.size() + kPage - 1) / kPage;
        const DWORD cbImage = (1 + nDataPages) * kPage;
        m_pBase = static_cast<BYTE*>(
            VirtualAlloc(nullptr, cbImage + kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        m_pData = m_pBase + cbImage - data.size();
        memcpy(m_pData, data.data(), data.size());
        IMAGE_NT_HEADERS64* pNt = WriteImageHeaders(m_pBase, 0x40);
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE] = {kDirectory, 0x58};
        // Type 5, then the name, then Russian: each level a directory of one
        // entry by number (the high bit marks a level below), then the data.
        const DWORD levels[3][2] = {{5, 0x80000018}, {nId, 0x80000030}, {0x419, 0x48}};
        DWORD* pDirectory = reinterpret_cast<DWORD*>(m_pBase + kDirectory);
        for (const auto& level : levels)
        {
            pDirectory[3] = 0x10000;
            pDirectory[4] = level[0];
            pDirectory[5] = level[1];
            pDirectory += 6;
        }
        pDirectory[0] = static_cast<DWORD>(m_pData - m_pBase);
        pDirectory[1] = static_cast<DWORD>(data.size());
        DWORD dwOld = 0;
        VirtualProtect(m_pBase + cbImage, kPage, PAGE_NOACCESS, &dwOld);
    }
    ~HandMadeModule() { VirtualFree(m_pBase, 0, MEM_RELEASE); }
    HandMadeModule(const HandMadeModule&) = delete;
    HandMadeModule& operator=(const HandMadeModule&) = delete;

    HMODULE Handle() const { return reinterpret_cast<HMODULE>(m_pBase); }
    const void* Template() const { return m_pData; }

private:
    BYTE* m_pBase;
    BYTE* m_pData;
};

INT_PTR CALLBACK AcceptingDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

CString WindowText(HWND hWnd)
{
    WCHAR szText[64] = {};
    ::GetWindowTextW(hWnd, szText, 64);
    return szText;
}

}  // namespace

// The dialog manager reads every item a template's header counts: a
// language module's template that runs past its end gives way to the
// program's own, and the log says so.
TEST(Languages, ALanguageModulesDamagedDialogGivesWayToTheProgramsOwn)
{
    struct Row
    {
        const char* label;
        WORD nId;
        TemplateBytes bytes;
        bool bDamaged;
        LPCTSTR lpszCaption;  // of the dialog made; null: none is handed over
    };
    const TemplateBytes rename = TemplateBytes()
                                     .ExHead(2)
                                     .S(u"Переименовать")
                                     .ExFont()
                                     .ExItem(0x80, IDOK, u"ОК")
                                     .Align()
                                     .ExItem(0x81, IDC_RENAME_NAME, u"");
    TemplateBytes regular;
    regular.D(WS_POPUP | WS_CAPTION | DS_SETFONT).D(0).Ws({1, 0, 0, 250, 49, 0, 0}).S(u"Имя");
    regular.W(8).S(u"MS Shell Dlg").Align().D(WS_CHILD).D(0).Ws({7, 7, 50, 14, IDC_RENAME_NAME});
    regular.S(u"Edit").S(u"").W(4).D(0x12345678);
    TemplateBytes countPast = rename, regularCountPast = regular, dataPast = rename;
    countPast.bytes[16] = 3;
    regularCountPast.bytes[8] = 2;
    dataPast.bytes[dataPast.bytes.size() - 2] = 100;
    // A count of 1 at byte 62: the dialog manager skips it in whole words and
    // takes the second item from byte 64, not 68, reading it to byte 102.
    TemplateBytes oddData = TemplateBytes().ExHead(2, 0).S(u"").ExItem(0x80, IDOK, u"");
    oddData.bytes[62] = 1;
    oddData.W(0x55).Align().D(0).D(0).D(WS_CHILD | WS_VISIBLE).Ws({7, 30, 50, 14}).D(0x00420041);
    oddData.Ws({0xFFFF, 0x81}).S(u"").W(0);
    const LPCTSTR kProgram = u"Rename file";
    const Row rows[] = {
        {"the module's own, extended form", IDD_RENAME_FILE, rename, false, u"Переименовать"},
        {"the module's own, regular form with a class name and creation data", IDD_RENAME_FILE, regular,
         false, u"Имя"},
        {"an item count past the end", IDD_RENAME_FILE, countPast, true, kProgram},
        {"the same in the regular form", IDD_RENAME_FILE, regularCountPast, true, kProgram},
        {"creation data longer than what is left", IDD_RENAME_FILE, dataPast, true, kProgram},
        {"an odd count of creation data", IDD_RENAME_FILE, oddData, true, kProgram},
        {"a title without its end", IDD_RENAME_FILE, TemplateBytes().ExHead(0, 0).S(u"Title", false), true,
         kProgram},
        {"a font name without its end", IDD_RENAME_FILE,
         TemplateBytes().ExHead(0).S(u"").Ws({8, 400, 0}).S(u"Arial", false), true, kProgram},
        {"a header cut short", IDD_RENAME_FILE, TemplateBytes().Ws({1, 0xFFFF, 0, 0, 0, 0, 0, 0}), true,
         kProgram},
        {"a template the program does not have", 4242, countPast, true, nullptr},
    };

    LanguageApp app;
    const std::u16string relative =
        u"Sondrel Tests\\Languages " + Wide(std::to_string(GetCurrentProcessId()).c_str());
    ASSERT_TRUE(app.InitFileLog(W(relative)));
    const std::u16string logPath = app.GetFileLog()->GetPath().GetString();
    int nDamaged = 0;
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(row.bytes.bytes.size() % 4, 0u) << "the template must start on a double word";
        HandMadeModule module(row.nId, row.bytes.bytes);
        QVTResourceManager()->SetResourceHandle(module.Handle());
        LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(row.nId);
        QVTResourceManager()->SetResourceHandle(nullptr);
        // A damaged template never reaches the dialog manager.
        if (row.bDamaged && pTemplate == module.Template())
        {
            ADD_FAILURE() << "the module's damaged template was handed over";
            continue;
        }
        if (row.lpszCaption == nullptr)
            EXPECT_EQ(pTemplate, nullptr);
        else
        {
            ASSERT_NE(pTemplate, nullptr);
            HWND hDlg = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), pTemplate, nullptr,
                                                     &AcceptingDialogProc, 0);
            ASSERT_NE(hDlg, nullptr);
            EXPECT_EQ(WindowText(hDlg), CString(row.lpszCaption));
            EXPECT_NE(::GetDlgItem(hDlg, IDC_RENAME_NAME), nullptr);
            if (row.bDamaged)
            {
                EXPECT_EQ(WindowText(::GetDlgItem(hDlg, IDOK)), CString(u"OK"));
            }
            ::DestroyWindow(hDlg);
        }
        nDamaged += row.bDamaged;
    }
    // One line for each damaged template.
    const std::string log = ReadBytes(logPath);
    int nLines = 0;
    for (size_t at = log.find("is damaged"); at != std::string::npos; at = log.find("is damaged", at + 1))
        ++nLines;
    EXPECT_EQ(nDamaged, nLines);
    EXPECT_NE(
        log.find("Dialog template 227 of the language module \"\" is damaged: the program's own is used"),
        std::string::npos);
    EXPECT_NE(
        log.find(
            "Dialog template 4242 of the language module \"\" is damaged: refused, the program has none"),
        std::string::npos);
    app.CloseLogs();
    ScratchFolder::Remove(logPath.substr(0, logPath.rfind(u'\\') + 1));
}
