// Resources compiled into the program and a resource-only language module
// loaded as a data file: strings, dialogs, menus, icons and custom types
// come from the resource handle first and the program's file second.
#include <afxwin.h>

#include "resources_ids.h"
#include "sondrel_gtest.h"

namespace {

class CAboutDlg : public CDialog
{
public:
    CAboutDlg() : CDialog(IDD_ABOUT) {}
    CString m_strCaption;
    CString m_strText;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetWindowText(m_strCaption);
        GetDlgItemText(IDC_ABOUT_TEXT, m_strText);
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    }
};

CString LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

TEST(ProgramResources, EveryKindLoadsFromTheProgram)
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    EXPECT_EQ(hInst, ::GetModuleHandle(nullptr));
    EXPECT_EQ(AfxGetResourceHandle(), hInst);
    EXPECT_EQ(LoadText(IDS_HELLO), CString(_T("Hello")));
    EXPECT_EQ(LoadText(IDS_SECOND_BLOCK), CString(_T("Second block")));

    HMENU hMenu = ::LoadMenu(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINMENU), RT_MENU),
                             MAKEINTRESOURCE(IDR_MAINMENU));
    ASSERT_NE(hMenu, nullptr);
    HMENU hFile = ::GetSubMenu(hMenu, 0);
    ASSERT_NE(hFile, nullptr);
    EXPECT_EQ(::GetMenuItemCount(hFile), 3);
    EXPECT_EQ(::GetMenuItemID(hFile, 0), (UINT)ID_FILE_OPEN_TEST);
    EXPECT_EQ(::GetMenuItemID(hFile, 2), (UINT)ID_FILE_EXIT_TEST);
    ::DestroyMenu(hMenu);

    HICON hIcon = (HICON)::LoadImage(AfxFindResourceHandle(MAKEINTRESOURCE(IDI_MAIN), RT_GROUP_ICON),
                                     MAKEINTRESOURCE(IDI_MAIN), IMAGE_ICON, 0, 0, 0);
    ASSERT_NE(hIcon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hIcon, &info));
    BITMAP bm = {};
    ::GetObject(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(hIcon);

    HINSTANCE hBlobInst = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_BLOB), _T("SONDRELDATA"));
    HRSRC hBlob = ::FindResource(hBlobInst, MAKEINTRESOURCE(IDR_BLOB), _T("SONDRELDATA"));
    ASSERT_NE(hBlob, nullptr);
    EXPECT_EQ(::SizeofResource(hBlobInst, hBlob), 11u);
    const char* pData = static_cast<const char*>(::LockResource(::LoadResource(hBlobInst, hBlob)));
    ASSERT_NE(pData, nullptr);
    EXPECT_EQ(memcmp(pData, "SONDREL", 8), 0);
    EXPECT_EQ(pData[10], 3);

    CAboutDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strCaption, CString(_T("About")));
    EXPECT_EQ(dlg.m_strText, CString(_T("Sondrel")));
}

TEST(LanguageModule, TranslatedResourcesComeFromTheModule)
{
    HINSTANCE hProgram = AfxGetInstanceHandle();
    HMODULE hModule =
        ::LoadLibraryEx(_T("Localizations\\SondrelTestLang.dll"), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hModule, nullptr) << "error " << ::GetLastError();
    AfxSetResourceHandle(hModule);
    EXPECT_EQ(AfxGetResourceHandle(), hModule);

    EXPECT_EQ(LoadText(IDS_HELLO), CString(_T("Hallo")));
    // A string block the module lacks comes from the program.
    EXPECT_EQ(LoadText(IDS_SECOND_BLOCK), CString(_T("Second block")));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_ABOUT), RT_DIALOG), hModule);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINMENU), RT_MENU), hProgram);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(9999), RT_DIALOG), hModule);

    CAboutDlg modal;
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_EQ(modal.m_strCaption, CString(_T("Info")));
    EXPECT_EQ(modal.m_strText, CString(_T("Sondrel auf Deutsch")));

    CDialog modeless;
    ASSERT_TRUE(modeless.Create(IDD_ABOUT));
    CString caption;
    modeless.GetWindowText(caption);
    EXPECT_EQ(caption, CString(_T("Info")));
    modeless.DestroyWindow();

    AfxSetResourceHandle(hProgram);
    EXPECT_EQ(LoadText(IDS_HELLO), CString(_T("Hello")));
    ::FreeLibrary(hModule);
}

}  // namespace
