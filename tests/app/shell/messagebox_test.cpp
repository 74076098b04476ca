// The program's message box as a user meets it: buttons and icon chosen by
// the flags word, answers by real clicks and keys, the support link in the
// footer handed to the mail program, other links to the shell.
#include "sondrel_gtest.h"

#include <algorithm>

#include "app/program/MessageBox.h"
#include "app/program/ProductInfo.h"
#include "app/program/SondrelApp.h"
#include "shell_test_support.h"
#include "tests/support/url_catcher.h"
#include "toolkit/controls/taskdialog/QVTTaskDialogLinkCtrl.h"

using namespace shelltest;

namespace {

// The shown message box, once it is up.
CQVTTaskDialog* OpenBox()
{
    return FindThreadWindow<CQVTTaskDialog>();
}

// The ids of the box's push buttons, left to right.
std::vector<int> ButtonIds(HWND hDialog)
{
    struct Button
    {
        int nLeft;
        int nId;
    };
    std::vector<Button> buttons;
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        WCHAR szClass[64] = {};
        ::GetClassNameW(hChild, szClass, 64);
        if (!::IsWindowVisible(hChild) || CString(szClass).CompareNoCase(_T("Button")) != 0)
            continue;
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        buttons.push_back({rc.left, ::GetDlgCtrlID(hChild)});
    }
    std::sort(buttons.begin(), buttons.end(),
              [](const Button& a, const Button& b) { return a.nLeft < b.nLeft; });
    std::vector<int> ids;
    for (const Button& button : buttons)
        ids.push_back(button.nId);
    return ids;
}

// Shows a box and clicks the button with the given id once it is up; what
// the box looked like is handed to the check first.
int AnswerBy(UINT nFlags, int nButton, std::function<void(CQVTTaskDialog&)> check = nullptr)
{
    ModalScript script({[&] {
        CQVTTaskDialog* pBox = OpenBox();
        if (pBox == nullptr || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, nButton)))
            return false;
        if (check)
            check(*pBox);
        ::SetForegroundWindow(pBox->m_hWnd);
        QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, nButton)));
        return true;
    }});
    int nResult = ShowMessageBox(_T("Keep the recording?"), _T("The disk is almost full."), _T("Question"),
                                 nFlags, nullptr);
    EXPECT_FALSE(script.Stalled());
    return nResult;
}

}  // namespace

TEST(ProgramMessageBox, YesAndNoWithTheInformationIconAnswerAsPressed)
{
    CString strTitle;
    std::vector<int> ids;
    PCWSTR pszIcon = nullptr;
    EXPECT_EQ(AnswerBy(SMB_INFO_YESNO, IDYES,
                       [&](CQVTTaskDialog& box) {
                           strTitle = WindowText(box.m_hWnd);
                           ids = ButtonIds(box.m_hWnd);
                           pszIcon = box.GetConfiguration().pszMainIcon;
                       }),
              IDYES);
    EXPECT_EQ(strTitle, CString(_T("Question")));
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(pszIcon, MAKEINTRESOURCEW(0xFFFD));

    EXPECT_EQ(AnswerBy(SMB_INFO_YESNO, IDNO), IDNO);
    EXPECT_EQ(AnswerBy(SMB_ERROR_OK, IDOK), IDOK);

    // Escape cancels, though the box has no Cancel button.
    ModalScript escape({[] {
        CQVTTaskDialog* pBox = OpenBox();
        if (pBox == nullptr)
            return false;
        ::SetForegroundWindow(pBox->m_hWnd);
        QueueKey(VK_ESCAPE);
        return true;
    }});
    EXPECT_EQ(ShowMessageBox(nullptr, _T("Escape"), nullptr, SMB_INFO_YESNO, nullptr), IDCANCEL);
    EXPECT_FALSE(escape.Stalled());
}

TEST(ProgramMessageBox, IconsComeFromBitsEightToFifteenAndExtraButtonsFollowTheCommonOnes)
{
    const struct
    {
        UINT nFlags;
        UINT nIcon;
    } icons[] = {{0x0101, 0xFFFF}, {0x0201, 0xFFFE}, {0x0301, 0xFFFD}, {0x0401, 0xFFFC},
                 {0x0501, 0xFFFF}, {0x0001, 0},      {0x0601, 0},      {0xFF01, 0}};
    for (const auto& row : icons)
        EXPECT_EQ(MessageBoxIconOf(row.nFlags), row.nIcon) << std::hex << row.nFlags;

    // "Skip All" lies in the icon bits too: with it the box has no icon.
    std::vector<int> ids;
    std::vector<CString> texts;
    PCWSTR pszIcon = MAKEINTRESOURCEW(1);
    EXPECT_EQ(AnswerBy(SMB_ICON_ERROR | SMB_YES | SMB_CANCEL | SMB_ALL | SMB_SKIP_ALL, SMB_ID_SKIP_ALL,
                       [&](CQVTTaskDialog& box) {
                           ids = ButtonIds(box.m_hWnd);
                           for (int nId : ids)
                               texts.push_back(WindowText(::GetDlgItem(box.m_hWnd, nId)));
                           pszIcon = box.GetConfiguration().pszMainIcon;
                       }),
              SMB_ID_SKIP_ALL);
    EXPECT_EQ(pszIcon, nullptr);
    // The task dialog shows its own buttons before the common ones; the
    // extra buttons keep the order the flags list them in.
    EXPECT_EQ(ids, (std::vector<int>{SMB_ID_ALL, SMB_ID_SKIP_ALL, IDYES, IDCANCEL}));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], CString(_T("All")));
    EXPECT_EQ(texts[1], CString(_T("Skip All")));
    EXPECT_EQ(AnswerBy(SMB_ALL | SMB_OK, SMB_ID_ALL), SMB_ID_ALL);
}

TEST(ProgramMessageBox, TheFooterLinkOpensTheSupportMailAndOtherLinksGoToTheShell)
{
    CSondrelApp app;
    std::u16string log = urlcatcher::RegisterUrlCatcher(u"C:\\messagebox_urls.log");

    CString strFooterText;
    ModalScript script({[&] {
                            CQVTTaskDialog* pBox = OpenBox();
                            if (pBox == nullptr)
                                return false;
                            CQVTTaskDialogLinkCtrl& footer = pBox->GetFooterLink();
                            if (footer.m_hWnd == nullptr || footer.GetLinkCount() != 1)
                                return false;
                            ::UpdateWindow(footer.m_hWnd);
                            strFooterText = WindowText(footer.m_hWnd);
                            CPoint pt = footer.GetLink(0)->arrParts[0].CenterPoint();
                            footer.ClientToScreen(&pt);
                            ::SetForegroundWindow(pBox->m_hWnd);
                            QueueClickAt(pt);
                            return true;
                        },
                        [&] { return !urlcatcher::CaughtUrls(log).empty(); },
                        [] {
                            ::SetForegroundWindow(OpenBox()->m_hWnd);
                            QueueKey(VK_ESCAPE);
                            return true;
                        }});
    EXPECT_EQ(ShowMessageBox(_T("Recording failed"), nullptr, _T("Error"), SMB_ERROR_OK, nullptr), IDCANCEL);
    EXPECT_FALSE(script.Stalled());

    std::vector<std::string> urls = urlcatcher::CaughtUrls(log);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0].rfind("mailto:support@quorvane.example?subject=", 0), 0u) << urls[0];
    EXPECT_EQ(urlcatcher::MailField(urls[0], "subject"), "Support Sondrel -- www.quorvane.example");
    EXPECT_EQ(urlcatcher::MailField(urls[0], "body").rfind("Reason: customer request\r\n", 0), 0u);

    // The address is compared without regard to case; any other link is
    // the shell's to open.
    CTaskDialogEx box;
    box.OnHyperlinkClicked(u"SUPPORT@Quorvane.EXAMPLE");
    box.OnHyperlinkClicked(u"https://www.quorvane.example/faq?a=1&b=2");
    urls = urlcatcher::WaitForCaughtUrls(log, 3);
    ASSERT_EQ(urls.size(), 3u);
    std::vector<std::string> rest(urls.begin() + 1, urls.end());
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest[0], "https://www.quorvane.example/faq?a=1&b=2");
    EXPECT_EQ(rest[1].rfind("mailto:support@quorvane.example?subject=", 0), 0u);
}
