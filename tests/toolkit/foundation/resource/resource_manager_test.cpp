// The resource manager over the program's resources, a language module and
// XML language files, and the resource blob.
#include <afxwin.h>

#include "quiet_dialog.h"
#include "resource_test_ids.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/resource/QVTResourceManagerXML.h"

namespace {
CString ProgramFolder()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecW(szPath);
    return CString(szPath);
}

CString DataFile(LPCWSTR lpszName)
{
    return ProgramFolder() + u"\\foundation_resource_data\\" + lpszName;
}

CString LanguageModule()
{
    return ProgramFolder() + u"\\Localizations\\SondrelFoundationTestRu.dll";
}

CString MenuText(HMENU hMenu, UINT nItem, UINT nFlags)
{
    WCHAR szText[128] = {};
    ::GetMenuStringW(hMenu, nItem, szText, 128, nFlags);
    return CString(szText);
}

}  // namespace

// Each test starts and ends with the program's own resources.
class ResourceManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        QVTResourceManager()->SetResourceFile(u"");
    }
    void TearDown() override
    {
        QVTResourceManager()->SetResourceFile(u"");
        ::CoUninitialize();
    }

    static CString Load(UINT nID)
    {
        CString str;
        QVTResourceManager()->LoadString(&str, nID);
        return str;
    }
};

namespace {

// Each control of an open dialog sits at the dialog-unit rectangle given.
void ExpectControlAt(HWND hDlg, int nID, int x, int y, int cx, int cy)
{
    HWND hControl = ::GetDlgItem(hDlg, nID);
    ASSERT_NE(hControl, nullptr) << "control " << nID;
    RECT rcActual = {};
    ::GetWindowRect(hControl, &rcActual);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rcActual), 2);
    // The dialog manager maps the origin and the size apart.
    RECT rcExpected = {x, y, cx, cy};
    ::MapDialogRect(hDlg, &rcExpected);
    rcExpected.right += rcExpected.left;
    rcExpected.bottom += rcExpected.top;
    EXPECT_EQ(rcActual.left, rcExpected.left) << "control " << nID;
    EXPECT_EQ(rcActual.top, rcExpected.top) << "control " << nID;
    EXPECT_EQ(rcActual.right, rcExpected.right) << "control " << nID;
    EXPECT_EQ(rcActual.bottom, rcExpected.bottom) << "control " << nID;
}

class CClosingDialog : public CDialog
{
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetWindowText(m_strCaption);
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    }
    CString m_strCaption;
};
}  // namespace

TEST_F(ResourceManagerTest, StringTablesAreWalkedAcrossBlocks)
{
    CString str;
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_FIRST, &str), 18);
    EXPECT_EQ(str, CString(u"First of the block"));
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_FOURTH, &str), 19);
    EXPECT_EQ(str, CString(u"Fourth of the block"));
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_NEXT, &str), 17);
    EXPECT_EQ(str, CString(u"In the next block"));
    // A block holds sixteen entries: its last one and the next block's first.
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_LAST, &str), 17);
    EXPECT_EQ(str, CString(u"Last of the block"));
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_NEXT_FIRST, &str), 20);
    EXPECT_EQ(str, CString(u"Opens the next block"));
    // An empty entry inside a block, and a block that does not exist.
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, IDS_BLOCK_FIRST + 2, &str), 0);
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_EQ(CQVTResourceManager::LoadStringFromModule(nullptr, 0x7FF0, &str), 0);

    BOOL bError = FALSE;
    EXPECT_EQ(QVTResourceManager()->LoadString(IDS_BLOCK_FOURTH, &bError), CString(u"Fourth of the block"));
    EXPECT_FALSE(bError);
    EXPECT_TRUE(QVTResourceManager()->LoadString(IDS_BLOCK_FIRST + 2, &bError).IsEmpty());
    EXPECT_TRUE(bError);
}

TEST_F(ResourceManagerTest, ProgramResourcesServeWithoutALanguageSource)
{
    CQVTResourceManager* pManager = QVTResourceManager();
    EXPECT_EQ(pManager->GetLanguage(), 0x0409);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Hello"));

    CMenu menu;
    ASSERT_TRUE(pManager->LoadMenu(&menu, IDR_LANGMENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(pPopup, nullptr);
    CString strText;
    EXPECT_EQ(pManager->GetMenuString(pPopup, ID_LANG_EXIT, strText, MF_BYCOMMAND), 5);
    EXPECT_EQ(strText, CString(u"E&xit"));
    EXPECT_EQ(pManager->GetMenuString(pPopup, 9999, strText, MF_BYCOMMAND), 0);
    EXPECT_TRUE(strText.IsEmpty());

    LPCDLGTEMPLATE pTemplate = pManager->LoadDialogTemplate(IDD_LANGTEST);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pManager->LoadDialogTemplate(0), nullptr);
    EXPECT_EQ(pManager->LoadDialogTemplate(9999), nullptr);

    HCURSOR hCursor = pManager->LoadCursor(IDC_LANG_CURSOR);
    ASSERT_NE(hCursor, nullptr);
    ICONINFO iconInfo = {};
    ASSERT_TRUE(::GetIconInfo(hCursor, &iconInfo));
    // Our hot spot (3, 4), scaled with the cursor size at a raised DPI.
    EXPECT_GE(iconInfo.xHotspot, 3u);
    EXPECT_GT(iconInfo.yHotspot, iconInfo.xHotspot);
    ::DeleteObject(iconInfo.hbmMask);
    ::DeleteObject(iconInfo.hbmColor);
    EXPECT_EQ(pManager->LoadCursor(9999), nullptr);

    CString strText2;
    EXPECT_TRUE(pManager->LoadXAML(&strText2, IDR_LANG_XAML));
    EXPECT_EQ(strText2, CString(u"<Border Width=\"12\"/>"));
    EXPECT_TRUE(pManager->LoadHTML(&strText2, IDR_LANG_HTML));
    EXPECT_EQ(strText2, CString(u"<html><body>Page</body></html>"));
    EXPECT_FALSE(pManager->LoadHTML(&strText2, 9999));
}

TEST_F(ResourceManagerTest, LanguageModuleTranslatesAndTheProgramFillsTheGaps)
{
    QVTResourceManager()->SetResourceFile(LanguageModule());
    CQVTResourceManager* pManager = QVTResourceManager();
    ASSERT_NE(pManager->GetOwnModule(), nullptr);
    EXPECT_EQ(CQVTResourceManager::GetResourceHandle(), pManager->GetOwnModule());
    EXPECT_EQ(pManager->GetLanguage(), 0x0419);
    EXPECT_EQ(CQVTResourceManager::GetModuleResourceLanguage(pManager->GetOwnModule()), 0x0419);
    pManager->EnableLanguageCharset(TRUE);
    EXPECT_EQ(pManager->GetFontCharset(), 204);

    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Привет"));
    EXPECT_EQ(Load(IDS_BLOCK_FOURTH), CString(u"Четвёртая"));
    // The module lacks these: the program has them.
    EXPECT_EQ(Load(IDS_LANG_PROGRAM_ONLY), CString(u"Only in the program"));
    EXPECT_EQ(Load(IDS_BLOCK_NEXT), CString(u"In the next block"));
    EXPECT_EQ(Load(IDS_BLOCK_FIRST), CString(u"First of the block"));

    CMenu menu;
    ASSERT_TRUE(pManager->LoadMenu(&menu, IDR_LANGMENU));
    EXPECT_EQ(MenuText(menu.GetSafeHmenu(), 0, MF_BYPOSITION), CString(u"&Файл"));

    CClosingDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(pManager->LoadDialogTemplate(IDD_LANGTEST)));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strCaption, CString(u"Тестовый диалог"));

    {
        HINSTANCE hPrevious = AfxGetResourceHandle();
        CQVTResourceHandleSwitch handleSwitch;
        EXPECT_EQ(AfxGetResourceHandle(), pManager->GetOwnModule());
        handleSwitch.Restore();
        EXPECT_EQ(AfxGetResourceHandle(), hPrevious);
    }

    // Back to the program's own file: the module is freed with its manager.
    QVTResourceManager()->SetResourceFile(u"");
    EXPECT_EQ(QVTResourceManager()->GetOwnModule(), nullptr);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Hello"));
}

TEST_F(ResourceManagerTest, ModuleThatDoesNotLoadLeavesTheProgramsResources)
{
    QVTResourceManager()->SetResourceFile(ProgramFolder() + u"\\Localizations\\missing.dll");
    EXPECT_EQ(QVTResourceManager()->GetOwnModule(), nullptr);
    EXPECT_NE(CQVTResourceManager::GetResourceHandle(), nullptr);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Hello"));
    // Three characters are too short to carry an extension.
    QVTResourceManager()->SetResourceFile(u"xml");
    EXPECT_EQ(dynamic_cast<CQVTResourceManagerXML*>(QVTResourceManager()), nullptr);
}

TEST_F(ResourceManagerTest, XmlFileServesStringsMenusAndDialogs)
{
    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    CQVTResourceManager* pManager = QVTResourceManager();
    ASSERT_NE(dynamic_cast<CQVTResourceManagerXML*>(pManager), nullptr);
    EXPECT_EQ(pManager->GetLanguage(), 0x0407);

    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Hallo"));
    EXPECT_EQ(Load(IDS_BLOCK_FOURTH), CString(u"Vierter Eintrag"));
    EXPECT_EQ(Load(IDS_LANG_PROGRAM_ONLY), CString(u"Only in the program"));

    // A(10), separator, C with C1(20) and C2(21).
    CMenu menu;
    ASSERT_TRUE(pManager->LoadMenu(&menu, IDR_LANGMENU));
    HMENU hMenu = menu.GetSafeHmenu();
    ASSERT_EQ(::GetMenuItemCount(hMenu), 3);
    EXPECT_EQ(::GetMenuItemID(hMenu, 0), 10u);
    EXPECT_EQ(MenuText(hMenu, 0, MF_BYPOSITION), CString(u"A"));
    EXPECT_TRUE(::GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU hPopup = ::GetSubMenu(hMenu, 2);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(MenuText(hMenu, 2, MF_BYPOSITION), CString(u"C"));
    ASSERT_EQ(::GetMenuItemCount(hPopup), 2);
    EXPECT_EQ(::GetMenuItemID(hPopup, 0), 20u);
    EXPECT_EQ(::GetMenuItemID(hPopup, 1), 21u);
    EXPECT_EQ(MenuText(hPopup, 1, MF_BYPOSITION), CString(u"C2"));

    LPCDLGTEMPLATE pTemplate = pManager->LoadDialogTemplate(IDD_LANGTEST);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pManager->LoadDialogTemplate(IDD_LANGTEST), pTemplate);

    CClosingDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(pTemplate));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strCaption, CString(u"Testdialog"));
}

TEST_F(ResourceManagerTest, XmlDialogTemplateHasTheDocumentedLayout)
{
    CQVTResourceManagerXML::DLGTEMPLATEINFO info;
    info.strCaption = u"Title";
    info.strFaceName = u"MS Sans Serif";
    info.nPointSize = 8;
    info.items.emplace_back(new CQVTResourceManagerXML::DLGITEMTEMPLATEINFO());
    info.items[0]->style = 0x50020000;
    info.items[0]->id = 0xFFFFFFFF;
    info.items[0]->strClassName = u"STATIC";
    info.items.emplace_back(new CQVTResourceManagerXML::DLGITEMTEMPLATEINFO());
    info.items[1]->strClassName = u"STATIC";
    info.items[1]->nResourceID = 123;
    DLGTEMPLATE* pTemplate = CQVTResourceManagerXML::BuildDialogTemplate(info);
    ASSERT_NE(pTemplate, nullptr);
    const BYTE* p = reinterpret_cast<const BYTE*>(pTemplate);
    auto word = [p](size_t offset) {
        WORD w;
        memcpy(&w, p + offset, 2);
        return w;
    };
    auto dword = [p](size_t offset) {
        DWORD d;
        memcpy(&d, p + offset, 4);
        return d;
    };
    EXPECT_EQ(word(0), 1);
    EXPECT_EQ(word(2), 0xFFFF);
    EXPECT_EQ(dword(12), static_cast<DWORD>(DS_SETFONT));
    EXPECT_EQ(word(16), 2);
    // Title "Title" at 30, then point size 8, weight, italic, charset, face.
    EXPECT_EQ(memcmp(p + 30, u"Title", 12), 0);
    EXPECT_EQ(word(42), 8);
    EXPECT_EQ(memcmp(p + 48, u"MS Sans Serif", 28), 0);
    size_t nItem = (48 + 28 + 3) & ~size_t(3);
    EXPECT_EQ(dword(nItem + 8), 0x50020000u);
    EXPECT_EQ(dword(nItem + 20), 0xFFFFFFFFu);
    EXPECT_EQ(memcmp(p + nItem + 24, u"STATIC", 14), 0);
    // Class "STATIC" and an empty title: (30 + 2 * 6) rounded up to 44.
    size_t nSecond = nItem + 44;
    EXPECT_EQ(word(nSecond + 24 + 14), 0xFFFF);
    EXPECT_EQ(word(nSecond + 24 + 16), 123);
    free(pTemplate);
}

TEST_F(ResourceManagerTest, XmlDialogShowsItsControlsWhereTheFilePutThem)
{
    const char* expected = std::getenv("SONDREL_EXPECTED_DPI");
    HDC hScreen = ::GetDC(nullptr);
    EXPECT_EQ(::GetDeviceCaps(hScreen, LOGPIXELSY), expected ? std::atoi(expected) : 96);
    ::ReleaseDC(nullptr, hScreen);

    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_LANGTEST);
    ASSERT_NE(pTemplate, nullptr);
    // Dialog units and points stay as written; the dialog manager scales them.
    const BYTE* p = reinterpret_cast<const BYTE*>(pTemplate);
    WORD cx = 0, cy = 0;
    memcpy(&cx, p + 22, 2);
    memcpy(&cy, p + 24, 2);
    EXPECT_EQ(cx, 200);
    EXPECT_EQ(cy, 100);

    HWND hDlg =
        ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), pTemplate, nullptr, &QuietDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    ::ShowWindow(hDlg, SW_SHOW);
    ExpectControlAt(hDlg, IDC_LANG_LABEL, 7, 9, 40, 8);
    ExpectControlAt(hDlg, IDC_LANG_EDIT, 50, 7, 140, 14);
    ExpectControlAt(hDlg, IDOK, 140, 78, 50, 14);
    RECT rcClient = {}, rcExpected = {0, 0, 200, 100};
    ::GetClientRect(hDlg, &rcClient);
    ::MapDialogRect(hDlg, &rcExpected);
    EXPECT_EQ(rcClient.right, rcExpected.right);
    EXPECT_EQ(rcClient.bottom, rcExpected.bottom);
    WCHAR szClass[32] = {};
    ::GetClassNameW(::GetDlgItem(hDlg, IDC_LANG_EDIT), szClass, 32);
    EXPECT_EQ(_wcsicmp(szClass, u"Edit"), 0);
    EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(hDlg, IDC_LANG_EDIT), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    // The same dialog from the program's resources lies out the same.
    HWND hProgramDlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LANGTEST),
                                            nullptr, &QuietDialogProc, 0);
    ASSERT_NE(hProgramDlg, nullptr);
    RECT rcXml = {}, rcProgram = {};
    ::GetWindowRect(::GetDlgItem(hDlg, IDOK), &rcXml);
    ::GetWindowRect(::GetDlgItem(hProgramDlg, IDOK), &rcProgram);
    EXPECT_EQ(rcXml.right - rcXml.left, rcProgram.right - rcProgram.left);
    EXPECT_EQ(rcXml.bottom - rcXml.top, rcProgram.bottom - rcProgram.top);
    ::DestroyWindow(hProgramDlg);
    ::DestroyWindow(hDlg);
}

TEST_F(ResourceManagerTest, XmlDefaultsAndPropertiesAsElements)
{
    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_DEFAULTS);
    ASSERT_NE(pTemplate, nullptr);
    const BYTE* p = reinterpret_cast<const BYTE*>(pTemplate);
    DWORD dwStyle = 0, dwControlStyle = 0, dwControlId = 0;
    memcpy(&dwStyle, p + 12, 4);
    EXPECT_EQ(dwStyle, static_cast<DWORD>(DS_SETFONT));
    size_t nItem = (30 + 12 + 6 + 28 + 3) & ~size_t(3);
    memcpy(&dwControlStyle, p + nItem + 8, 4);
    memcpy(&dwControlId, p + nItem + 20, 4);
    EXPECT_EQ(dwControlStyle, 0x50020000u);
    EXPECT_EQ(dwControlId, 0xFFFFFFFFu);

    QVTResourceManager()->SetResourceFile(DataFile(u"french.xml"));
    EXPECT_EQ(QVTResourceManager()->GetLanguage(), 0x040C);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Bonjour"));
    CMenu menu;
    ASSERT_TRUE(QVTResourceManager()->LoadMenu(&menu, IDR_LANGMENU));
    HMENU hPopup = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(MenuText(hPopup, ID_LANG_OPEN, MF_BYCOMMAND), CString(u"&Ouvrir"));
}

TEST_F(ResourceManagerTest, CodePageStringsFollowTheLanguage)
{
    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    CQVTCodePageString german(u"Grüße");
    EXPECT_STREQ(static_cast<LPCSTR>(german), "Gr\xFC\xDF"
                                              "e");
    QVTResourceManager()->SetResourceFile(LanguageModule());
    CQVTCodePageString russian(u"Да");
    EXPECT_STREQ(static_cast<LPCSTR>(russian), "\xC4\xE0");
    CQVTCodePageString empty(nullptr);
    EXPECT_STREQ(static_cast<LPCSTR>(empty), "");
}

TEST_F(ResourceManagerTest, XmlLanguageIdSelectsTheRow)
{
    QVTResourceManager()->SetResourceFile(DataFile(u"ukrainian.xml"));
    ASSERT_EQ(QVTResourceManager()->GetLanguage(), 0x0422);
    EXPECT_EQ(CString(QVTResourceManager()->GetLanguageInfo()->lpszCaption), CString(u"Ukrainian "));
    QVTResourceManager()->SetResourceFile(DataFile(u"unknown.xml"));
    EXPECT_EQ(QVTResourceManager()->GetLanguage(), 0x0409);
    QVTResourceManager()->SetResourceFile(DataFile(u"nolangid.xml"));
    EXPECT_EQ(QVTResourceManager()->GetLanguage(), 0x0409);
    // Case of the extension does not matter.
    QVTResourceManager()->SetResourceFile(DataFile(u"german.XML"));
    EXPECT_EQ(QVTResourceManager()->GetLanguage(), 0x0407);
}

TEST_F(ResourceManagerTest, BrokenXmlFilesLeaveThePreviousManagerInForce)
{
    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    CQVTResourceManager* pGerman = QVTResourceManager();
    for (LPCWSTR lpszName : {u"missing.xml", u"truncated.xml", u"wrongroot.xml"})
    {
        QVTResourceManager()->SetResourceFile(DataFile(lpszName));
        EXPECT_EQ(QVTResourceManager(), pGerman) << CStringA(lpszName).GetString();
    }
    // A folder is no file.
    QVTResourceManager()->SetResourceFile(ProgramFolder() + u"\\foundation_resource_data\\sub.xml");
    EXPECT_EQ(QVTResourceManager(), pGerman);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Hallo"));
}

TEST_F(ResourceManagerTest, SwitchFromALanguageModuleToXmlDropsTheFreedModule)
{
    QVTResourceManager()->SetResourceFile(LanguageModule());
    ASSERT_NE(QVTResourceManager()->GetOwnModule(), nullptr);
    QVTResourceManager()->SetResourceFile(DataFile(u"german.xml"));
    EXPECT_EQ(CQVTResourceManager::GetResourceHandle(), nullptr);
    EXPECT_EQ(Load(IDS_LANG_PROGRAM_ONLY), CString(u"Only in the program"));
}

TEST_F(ResourceManagerTest, TheSameLanguageModuleChosenTwiceStillTranslates)
{
    QVTResourceManager()->SetResourceFile(LanguageModule());
    QVTResourceManager()->SetResourceFile(LanguageModule());
    CQVTResourceManager* pManager = QVTResourceManager();
    ASSERT_NE(pManager->GetOwnModule(), nullptr);
    EXPECT_EQ(CQVTResourceManager::GetResourceHandle(), pManager->GetOwnModule());
    EXPECT_EQ(pManager->GetLanguage(), 0x0419);
    EXPECT_EQ(Load(IDS_LANG_HELLO), CString(u"Привет"));
}

TEST(ResourceBlob, LoadsBytesAndRefusesMissingOrEmptyResources)
{
    HMODULE hProgram = ::GetModuleHandleW(nullptr);
    CQVTResource blob;
    ASSERT_TRUE(blob.Load(hProgram, MAKEINTRESOURCEW(IDR_BLOB), u"BLOB"));
    EXPECT_EQ(blob.GetSize(), 12u);
    EXPECT_EQ(memcmp(blob.GetData(), "SONDREL-BLOB", 12), 0);

    // A missing resource clears the handle and keeps the rest.
    EXPECT_FALSE(blob.Load(hProgram, MAKEINTRESOURCEW(9999), u"BLOB"));
    EXPECT_EQ(blob.m_hResInfo, nullptr);
    EXPECT_EQ(blob.GetSize(), 12u);
    EXPECT_NE(blob.GetData(), nullptr);

    CQVTResource empty;
    EXPECT_FALSE(empty.Load(hProgram, MAKEINTRESOURCEW(IDR_EMPTY), u"BLOB"));
    EXPECT_NE(empty.m_hResInfo, nullptr);
    EXPECT_EQ(empty.GetSize(), 0u);
    EXPECT_EQ(empty.GetData(), nullptr);
}
