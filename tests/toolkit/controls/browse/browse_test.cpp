// The system's folder browser, run through the browse dialog and driven by
// real input from a second thread: where it opens, what OK and Cancel give.
#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/controls/browse/QVTBrowseDialog.h"

#include <atomic>
#include <vector>

namespace {

void ReadFolder(const CString& strFolder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW(strFolder + _T("\\*"), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    while (::FindNextFileW(hFind, &data))
        ;
    ::FindClose(hFind);
}

}  // namespace

class BrowseDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::OleInitialize(nullptr);
        // Off the drive's root: the user's folder links to the whole home
        // folder of the host, which the browser would walk on its way.
        m_strRoot = _T("C:\\SondrelBrowseTest");
        m_strCurrent = m_strRoot + _T("\\Current");
        m_strChosen = m_strRoot + _T("\\Chosen");
        ::CreateDirectoryW(m_strRoot, nullptr);
        ::CreateDirectoryW(m_strCurrent, nullptr);
        ::CreateDirectoryW(m_strChosen, nullptr);
        // The browser compares the folder it parsed from the path with its
        // tree's, access date included: a folder read for the first time
        // since it was made moves its access time meanwhile (relatime).
        for (const CString& strFolder : {m_strRoot, m_strCurrent, m_strChosen})
            ReadFolder(strFolder);
        WCHAR szOld[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, szOld);
        m_strOldCurrent = szOld;
        ::SetCurrentDirectoryW(m_strCurrent);
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryW(m_strOldCurrent);
        ::OleUninitialize();
    }

    CString m_strRoot, m_strCurrent, m_strChosen, m_strOldCurrent;
};

namespace {

bool SamePath(LPCTSTR a, LPCTSTR b)
{
    WCHAR szA[MAX_PATH] = {}, szB[MAX_PATH] = {};
    ::GetLongPathNameW(a, szA, MAX_PATH);
    ::GetLongPathNameW(b, szB, MAX_PATH);
    return szA[0] && ::lstrcmpiW(szA, szB) == 0;
}

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (::lstrcmpW(szClass, u"#32770") == 0 && ::IsWindowVisible(hWnd))
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The browser's window among the thread's top-level windows.
HWND FindBrowser(DWORD dwThread)
{
    HWND hFound = nullptr;
    ::EnumThreadWindows(dwThread, FindDialogProc, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

BOOL CALLBACK CollectTextProc(HWND hChild, LPARAM lParam)
{
    WCHAR szText[MAX_PATH] = {};
    ::GetWindowTextW(hChild, szText, MAX_PATH);
    reinterpret_cast<std::vector<CString>*>(lParam)->push_back(szText);
    return TRUE;
}

std::vector<CString> ChildTexts(HWND hWnd)
{
    std::vector<CString> texts;
    ::EnumChildWindows(hWnd, CollectTextProc, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

BOOL CALLBACK FindTreeProc(HWND hChild, LPARAM lParam)
{
    WCHAR szClass[32] = {};
    ::GetClassNameW(hChild, szClass, 32);
    if (::lstrcmpW(szClass, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hChild;
    return FALSE;
}

// The text of the folder the browser's tree has selected.
CString SelectedFolder(HWND hBrowser)
{
    HWND hTree = nullptr;
    ::EnumChildWindows(hBrowser, FindTreeProc, reinterpret_cast<LPARAM>(&hTree));
    if (!hTree)
        return CString();
    HTREEITEM hItem = (HTREEITEM)::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    WCHAR szText[MAX_PATH] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = MAX_PATH;
    if (!hItem || !::SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return CString();
    return szText;
}

enum class Answer
{
    ClickOk,
    ClickCancel
};

// Runs the dialog while a second thread waits for the browser, records its
// static texts and answers it with the mouse.
INT_PTR RunBrowser(CQVTBrowseDialog& dlg, Answer answer, LPCTSTR lpszFolder, std::vector<CString>* pTexts)
{
    DWORD dwThread = ::GetCurrentThreadId();
    CString strFolder(lpszFolder);
    WinThread script([=] {
        HWND hBrowser = nullptr;
        for (int i = 0; i < 200 && !hBrowser; ++i, ::Sleep(50))
            hBrowser = FindBrowser(dwThread);
        if (!hBrowser)
            return;
        // The shell fills the tree while it opens: wait for the folder the
        // dialog asked for.
        for (int i = 0; i < 200 && SelectedFolder(hBrowser) != strFolder; ++i)
            ::Sleep(50);
        ::SetWindowPos(hBrowser, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::Sleep(100);
        *pTexts = ChildTexts(hBrowser);
        POINT pt = WindowCentre(::GetDlgItem(hBrowser, answer == Answer::ClickOk ? IDOK : IDCANCEL));
        ScriptMouseMove(pt, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    });
    return dlg.DoModal();
}

bool Contains(const std::vector<CString>& texts, LPCTSTR lpszText)
{
    for (const CString& text : texts)
        if (SamePath(text, lpszText) || text == lpszText)
            return true;
    return false;
}

}  // namespace

TEST_F(BrowseDialogTest, OpensAtTheCurrentDirectoryWithStatusTextAndOkReturnsIt)
{
    CQVTBrowseDialog dlg;
    EXPECT_EQ(CString(dlg.m_bi.lpszTitle), CString(_T("Select Directory:")));
    EXPECT_EQ(dlg.m_bi.ulFlags, (UINT)(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE));
    dlg.m_bi.ulFlags |= BIF_STATUSTEXT;
    std::vector<CString> texts;
    EXPECT_EQ(RunBrowser(dlg, Answer::ClickOk, _T("Current"), &texts), IDOK);
    EXPECT_TRUE(SamePath(dlg.GetSelPath(), m_strCurrent)) << CStringA(dlg.GetSelPath()).GetString();
    EXPECT_TRUE(Contains(texts, _T("Select Directory:")));
    EXPECT_TRUE(Contains(texts, m_strCurrent));
}

TEST_F(BrowseDialogTest, OpensAtTheSetFolderAndCancelGivesCancel)
{
    CQVTBrowseDialog dlg;
    ASSERT_TRUE(dlg.SetSelPath(m_strChosen));
    std::vector<CString> texts;
    EXPECT_EQ(RunBrowser(dlg, Answer::ClickOk, _T("Chosen"), &texts), IDOK);
    EXPECT_TRUE(SamePath(dlg.GetSelPath(), m_strChosen)) << CStringA(dlg.GetSelPath()).GetString();
    // Without the status flag the browser's status line stays empty.
    EXPECT_FALSE(Contains(texts, m_strChosen));

    CQVTBrowseDialog cancelled;
    cancelled.SetSelPath(m_strChosen);
    EXPECT_EQ(RunBrowser(cancelled, Answer::ClickCancel, _T("Chosen"), &texts), IDCANCEL);
}

TEST(BrowseDialog, OverlongPathsAreRefusedAndComputerNamesBecomeUncNames)
{
    CQVTBrowseDialog dlg;
    ASSERT_TRUE(dlg.SetSelPath(_T("C:\\Music")));
    CString strLong(_T('a'), MAX_PATH);
    EXPECT_FALSE(dlg.SetSelPath(strLong));
    EXPECT_EQ(CString(dlg.GetSelPath()), CString(_T("C:\\Music")));
    CString strLongest(_T('b'), MAX_PATH - 1);
    EXPECT_TRUE(dlg.SetSelPath(strLongest));
    EXPECT_EQ(CString(dlg.GetSelPath()), strLongest);

    WCHAR szName[MAX_PATH] = u"STUDIO-PC";
    EXPECT_TRUE(CQVTBrowseDialog::MakeComputerPath(szName));
    EXPECT_EQ(CString(szName), CString(_T("\\\\STUDIO-PC")));
    // A name that leaves no room for the prefix is refused, untouched.
    WCHAR szFull[MAX_PATH];
    for (int i = 0; i < MAX_PATH - 2; ++i)
        szFull[i] = 'n';
    szFull[MAX_PATH - 2] = 0;
    EXPECT_FALSE(CQVTBrowseDialog::MakeComputerPath(szFull));
    EXPECT_EQ(szFull[0], 'n');
    EXPECT_EQ(szFull[MAX_PATH - 2], 0);
    WCHAR szEmpty[MAX_PATH] = {};
    EXPECT_FALSE(CQVTBrowseDialog::MakeComputerPath(szEmpty));
}
