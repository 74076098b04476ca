// Every task-dialog message sent to the own window, with what it changes
// and what it answers, the missing controls it refuses and page navigation.
#include "sondrel_gtest.h"
#include "taskdialog_harness.h"

namespace {

const int kRadioLow = 301, kRadioHigh = 302;

void PrepareFull(CRecordingDialog& dlg)
{
    dlg.SetMainInstruction(u"Converting");
    dlg.SetContent(u"Please wait.");
    dlg.SetFooter(u"Footer");
    dlg.SetVerificationText(u"Do not ask again");
    dlg.SetExpandedInformation(u"Details of the conversion");
    dlg.AddRadioButton(u"Low quality", kRadioLow);
    dlg.AddRadioButton(u"High quality", kRadioHigh);
    dlg.SetCommonButtons(TRUE, FALSE, FALSE, TRUE);
    dlg.AddButton(u"Later", 100);
    dlg.ModifyFlags(0, TDF_SHOW_PROGRESS_BAR);
}

}  // namespace

TEST(TaskDialogMessages, ProgressBarMessages)
{
    CRecordingDialog dlg;
    PrepareFull(dlg);
    std::vector<LRESULT> answers;
    PBRANGE range = {};
    LRESULT nPos = 0, nState = 0;
    DWORD dwStyle = 0;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       answers.push_back(d.SendMessage(TDM_SET_PROGRESS_BAR_RANGE, 0, 0x00640000));
                       d.GetProgressCtrl().SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
                       answers.push_back(d.SendMessage(TDM_SET_PROGRESS_BAR_POS, 42));
                       nPos = d.GetProgressCtrl().SendMessage(PBM_GETPOS);
                       answers.push_back(d.SendMessage(TDM_SET_PROGRESS_BAR_STATE, PBST_PAUSED));
                       nState = d.GetProgressCtrl().GetBarState();
                       answers.push_back(d.SendMessage(TDM_SET_MARQUEE_PROGRESS_BAR, TRUE));
                       dwStyle = d.GetProgressCtrl().GetStyle();
                       answers.push_back(d.SendMessage(TDM_SET_PROGRESS_BAR_MARQUEE, TRUE, 30));
                       answers.push_back(d.SendMessage(TDM_SET_PROGRESS_BAR_MARQUEE, FALSE, 30));
                       answers.push_back(d.SendMessage(TDM_SET_MARQUEE_PROGRESS_BAR, FALSE));
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(answers, std::vector<LRESULT>(7, 1));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(nPos, 42);
    EXPECT_EQ(nState, PBST_PAUSED);
    EXPECT_TRUE(dwStyle & PBS_MARQUEE);

    // Without a bar every one of them answers 0.
    CRecordingDialog bare;
    std::vector<LRESULT> refused;
    bare.m_steps = {[&](CRecordingDialog& d) {
        for (UINT message : {TDM_SET_PROGRESS_BAR_RANGE, TDM_SET_PROGRESS_BAR_POS, TDM_SET_PROGRESS_BAR_STATE,
                             TDM_SET_MARQUEE_PROGRESS_BAR, TDM_SET_PROGRESS_BAR_MARQUEE})
            refused.push_back(d.SendMessage(message, 1, 1));
        d.SendMessage(TDM_CLICK_BUTTON, IDOK);
    }};
    bare.DoModal();
    EXPECT_EQ(refused, std::vector<LRESULT>(5, 0));
}

TEST(TaskDialogMessages, TextsIconsAndTheButtonsTheyName)
{
    CRecordingDialog dlg;
    PrepareFull(dlg);
    dlg.SetMainIcon(QVTTaskDialogAPI::iconInformation);
    std::vector<LRESULT> answers;
    CString texts[4];
    HICON hMainBefore = nullptr, hMainAfter = nullptr, hFooterAfter = nullptr;
    BOOL bOkEnabled = TRUE, bRadioEnabled = TRUE, bVerify = FALSE;
    int nLowCheck = -1, nHighCheck = -1, nSelected = 0;
    dlg.m_steps = {
        [&](CRecordingDialog& d) {
            answers.push_back(d.SendMessage(TDM_SET_ELEMENT_TEXT, 0, (LPARAM)u"New content"));
            answers.push_back(d.SendMessage(TDM_SET_ELEMENT_TEXT, 1, (LPARAM)u"New details"));
            answers.push_back(d.SendMessage(TDM_SET_ELEMENT_TEXT, 2, (LPARAM)u"New footer"));
            answers.push_back(d.SendMessage(TDM_SET_ELEMENT_TEXT, 3, (LPARAM)u"New title"));
            answers.push_back(d.SendMessage(TDM_SET_ELEMENT_TEXT, 7, (LPARAM)u"nowhere"));
            texts[0] = d.GetText(CQVTTaskDialogClient::textContent).GetText();
            texts[1] = d.GetText(CQVTTaskDialogClient::textExpandedInformation).GetText();
            texts[2] = d.GetText(CQVTTaskDialogClient::textFooter).GetText();
            texts[3] = d.GetText(CQVTTaskDialogClient::textMainInstruction).GetText();

            hMainBefore = d.GetMainIcon();
            answers.push_back(
                d.SendMessage(TDM_UPDATE_ICON, 0, (LPARAM)MAKEINTRESOURCEW(QVTTaskDialogAPI::iconError)));
            answers.push_back(
                d.SendMessage(TDM_UPDATE_ICON, 1, (LPARAM)MAKEINTRESOURCEW(QVTTaskDialogAPI::iconShield)));
            answers.push_back(d.SendMessage(TDM_UPDATE_ICON, 2, 0));
            hMainAfter = d.GetMainIcon();
            hFooterAfter = d.GetFooterIcon();
            // Not handled at all.
            answers.push_back(d.SendMessage(TDM_UPDATE_ELEMENT_TEXT, 0, (LPARAM)u"x"));
        },
        [&](CRecordingDialog& d) {
            answers.push_back(d.SendMessage(TDM_CLICK_RADIO_BUTTON, kRadioHigh));
            answers.push_back(d.SendMessage(TDM_CLICK_RADIO_BUTTON, IDOK));  // a push button
            answers.push_back(d.SendMessage(TDM_CLICK_RADIO_BUTTON, 9999));  // nothing
            nLowCheck = (int)::SendDlgItemMessage(d.m_hWnd, kRadioLow, BM_GETCHECK, 0, 0);
            nHighCheck = (int)::SendDlgItemMessage(d.m_hWnd, kRadioHigh, BM_GETCHECK, 0, 0);
            nSelected = d.GetSelectedRadioButtonId();

            answers.push_back(d.SendMessage(TDM_ENABLE_BUTTON, IDOK, FALSE));
            answers.push_back(d.SendMessage(TDM_ENABLE_BUTTON, 9999, FALSE));
            bOkEnabled = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK));
            answers.push_back(d.SendMessage(TDM_ENABLE_RADIO_BUTTON, kRadioLow, FALSE));
            answers.push_back(d.SendMessage(TDM_ENABLE_RADIO_BUTTON, IDCANCEL, FALSE));
            bRadioEnabled = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, kRadioLow));

            answers.push_back(d.SendMessage(TDM_CLICK_VERIFICATION, TRUE, FALSE));
            bVerify = d.GetVerificationButton()->GetCheck() == BST_CHECKED && d.IsVerificationChecked();
            answers.push_back(d.SendMessage(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, IDCANCEL, TRUE));
            answers.push_back(d.SendMessage(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, 9999, TRUE));
            answers.push_back(d.SendMessage(TDM_CLICK_BUTTON, 9999));
        },
        [&](CRecordingDialog& d) { answers.push_back(d.SendMessage(TDM_CLICK_BUTTON, 100)); }};
    EXPECT_EQ(dlg.DoModal(), 100);
    const std::vector<LRESULT> expected = {1, 1, 1, 1, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1};
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(texts[0], CString(_T("New content")));
    EXPECT_EQ(texts[1], CString(_T("New details")));
    EXPECT_EQ(texts[2], CString(_T("New footer")));
    EXPECT_EQ(texts[3], CString(_T("New title")));
    EXPECT_TRUE(hMainBefore);
    EXPECT_TRUE(hMainAfter);
    EXPECT_NE(hMainAfter, hMainBefore);
    EXPECT_TRUE(hFooterAfter);
    EXPECT_EQ(nLowCheck, BST_UNCHECKED);
    EXPECT_EQ(nHighCheck, BST_CHECKED);
    EXPECT_EQ(nSelected, kRadioHigh);
    EXPECT_FALSE(bOkEnabled);
    EXPECT_FALSE(bRadioEnabled);
    EXPECT_TRUE(bVerify);
    // The clicks by message were notified.
    EXPECT_EQ(dlg.Count(TDN_RADIO_BUTTON_CLICKED), 1u);
    EXPECT_EQ(dlg.Count(TDN_VERIFICATION_CLICKED), 1u);
}

TEST(TaskDialogMessages, NavigationBuildsTheNextPageInTheSameWindow)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Page one");
    dlg.AddButton(u"Next", 100);
    QVTTaskDialogAPI::_TASKDIALOG_BUTTON pageTwoButtons[] = {{200, u"Finish"}, {201, u"Back"}};
    QVTTaskDialogAPI::TASKDIALOGCONFIG pageTwo = dlg.GetConfiguration();
    pageTwo.pszContent = u"Page two";
    pageTwo.pszWindowTitle = u"Second page";
    pageTwo.pButtons = pageTwoButtons;
    pageTwo.cButtons = 2;
    pageTwo.dwCommonButtons = 0;
    LRESULT nAnswer = 0;
    HWND hBefore = nullptr, hAfter = nullptr;
    CString strTitle, strContent;
    size_t nEventsBefore = 0;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       hBefore = d.m_hWnd;
                       nEventsBefore = d.m_events.size();
                       nAnswer = d.SendMessage(TDM_NAVIGATE_PAGE, 0, (LPARAM)&pageTwo);
                       hAfter = d.m_hWnd;
                       d.GetWindowText(strTitle);
                       strContent = d.GetText(CQVTTaskDialogClient::textContent).GetText();
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, 200); }};
    EXPECT_EQ(dlg.DoModal(), 200);
    EXPECT_EQ(nAnswer, 1);
    EXPECT_EQ(hAfter, hBefore);
    EXPECT_EQ(strTitle, CString(_T("Second page")));
    EXPECT_EQ(strContent, CString(_T("Page two")));
    ASSERT_GE(dlg.m_events.size(), nEventsBefore + 2);
    EXPECT_EQ(dlg.CodeAt(nEventsBefore), (int)TDN_DIALOG_CONSTRUCTED);
    EXPECT_EQ(dlg.CodeAt(nEventsBefore + 1), (int)TDN_NAVIGATED);

    // A page whose count names no entries makes no buttons but OK.
    CRecordingDialog broken;
    QVTTaskDialogAPI::TASKDIALOGCONFIG pageBroken = broken.GetConfiguration();
    pageBroken.cButtons = 5;
    pageBroken.pButtons = nullptr;
    int nRow = -1;
    broken.m_steps = {[&](CRecordingDialog& d) {
                          d.SendMessage(TDM_NAVIGATE_PAGE, 0, (LPARAM)&pageBroken);
                          nRow = d.GetRowButtonCount();
                      },
                      [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(broken.DoModal(), IDOK);
    EXPECT_EQ(nRow, 1);
}
