// The combo box as a user meets it on a toolbar: the list opened by F4 as
// high as its entries, typed text completed from the list, Escape putting
// back text and selection, the notifications the site receives in order;
// its list kept in a profile (forged counts read no further than they can be
// trusted), the shell's completion bound at run time, and the hook that
// follows the shell's suggestion list.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxAutoCompleteWnd.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxGalleryPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

// Ids the site handles, so that the bars keep the controls enabled.
const int kComboId = 330;

}  // namespace

class ComboBox : public BarsFrameSuite<ComboBox, CNotifyRecordingFrame>
{
public:
    static void SetUpTestSuite()
    {
        CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
        CreateFrame(CRect(560, 420, 960, 620));
        s_pFrame->RecordCodes(0, QVT_CBN_SELENDCANCEL);
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pBar = new CTestBar();
        m_pBar->SetCommandBars(s_pFrame->GetCommandBars());
        ASSERT_TRUE(m_pBar->Create(qvtBarTop));
        m_pBar->MoveWindow(0, 0, 400, 40);
        m_pCombo =
            static_cast<CQVTControlComboBox*>(m_pBar->GetControls()->AddByType(qvtControlComboBox, kComboId));
        ASSERT_NE(nullptr, m_pCombo);
        m_pCombo->SetWidth(150);
        m_pCombo->AddString(_T("abc"));
        m_pCombo->AddString(_T("abd"));
        m_pCombo->AddString(_T("xyz"));
        m_pBar->Layout(400);
        s_pFrame->m_codes.clear();
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        PumpTranslated(20);
    }
    // Clicks into the text part and waits for the focus.
    void ClickText()
    {
        s_pFrame->SetForegroundWindow();
        CPoint pt(m_pCombo->GetRect().left + m_pCombo->GetLabelWidth() + 10,
                  m_pCombo->GetRect().CenterPoint().y);
        m_pBar->ClientToScreen(&pt);
        MouseClickAt(pt);
        PumpTranslatedUntil([&] { return m_pCombo->GetFocused(); });
    }
    static void Type(WORD wKey)
    {
        KeyPress(wKey);
        PumpTranslated(30);
    }

    CTestBar* m_pBar = nullptr;
    CQVTControlComboBox* m_pCombo = nullptr;
};

TEST_F(ComboBox, TypingCompletesF4OpensTheListAndEscapePutsBackTextAndSelection)
{
    m_pCombo->SetDropDownListStyle(TRUE);
    m_pCombo->SetAutoComplete(TRUE);
    m_pBar->Layout(400);
    ASSERT_NE(nullptr, m_pCombo->GetEditCtrl());
    ClickText();
    ASSERT_TRUE(m_pCombo->GetFocused());

    // "a" completes to "abc"; "b" over the completed tail completes again,
    // leaving "c" selected.
    Type('A');
    Type('B');
    EXPECT_TRUE(m_pCombo->GetEditText() == _T("abc"));
    int nStart = -1, nEnd = -1;
    m_pCombo->GetEditCtrl()->GetSel(nStart, nEnd);
    EXPECT_EQ(2, nStart);
    EXPECT_EQ(3, nEnd);
    EXPECT_EQ(0, m_pCombo->GetCurSel()) << "the list follows the text";
    // Backspace deletes the completion and does not complete again.
    Type(VK_BACK);
    EXPECT_TRUE(m_pCombo->GetEditText() == _T("ab"));

    // F4 opens a list three lines high for three entries.
    Type(VK_F4);
    CQVTControlComboBoxList* pList = m_pCombo->GetComboList();
    ASSERT_TRUE(PumpTranslatedUntil([&] { return ::IsWindowVisible(pList->GetListBoxHwnd()); }));
    CRect rcList;
    ::GetWindowRect(pList->GetListBoxHwnd(), &rcList);
    const int cyItem = static_cast<int>(::SendMessage(pList->GetListBoxHwnd(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(CQVTPaintManager::DpiY(4) + 3 * cyItem, rcList.Height());
    CRect rcCombo = m_pCombo->GetRect();
    m_pBar->ClientToScreen(&rcCombo);
    EXPECT_EQ(rcCombo.bottom, rcList.top) << "below the box";

    // "ab" matched no entry exactly: the list shows the first that starts
    // with it, unselected. Down picks it into the text; Escape puts back
    // what was there when the edit got the focus.
    Type(VK_DOWN);
    EXPECT_EQ(0, m_pCombo->GetCurSel());
    EXPECT_TRUE(m_pCombo->GetEditText() == _T("abc"));
    Type(VK_ESCAPE);
    PumpTranslatedUntil([&] { return !::IsWindowVisible(pList->GetListBoxHwnd()); });
    EXPECT_FALSE(::IsWindowVisible(pList->GetListBoxHwnd()));
    EXPECT_TRUE(m_pCombo->GetEditText() == _T("")) << "the text when the edit got the focus";
    EXPECT_EQ(-1, m_pCombo->GetCurSel());
    EXPECT_FALSE(m_pCombo->GetFocused());
}

TEST_F(ComboBox, TheSiteHearsFocusChangesListAndExecutionInOrder)
{
    m_pCombo->SetDropDownListStyle(TRUE);
    m_pBar->Layout(400);
    ClickText();
    Type('X');        // edit change
    Type(VK_F4);      // drop down
    Type(VK_UP);      // selection change
    Type(VK_RETURN);  // chosen
    PumpTranslated(50);
    EXPECT_NE(-1, m_pCombo->GetCurSel());
    EXPECT_TRUE(m_pCombo->GetEditText() == m_pCombo->GetLBText(m_pCombo->GetCurSel()));
    ClickText();
    Type(VK_F4);
    Type(VK_ESCAPE);  // cancelled
    PumpTranslated(50);
    // The entry taken into the text changes the edit too.
    EXPECT_EQ(std::vector<UINT>({QVT_CBN_SETFOCUS, QVT_CBN_EDITCHANGE, QVT_CBN_DROPDOWN, QVT_CBN_EDITCHANGE,
                                 QVT_CBN_SELCHANGE, QVT_CBN_SELENDOK, QVT_CBN_CLOSEUP, QVT_CBN_KILLFOCUS,
                                 QVT_CBN_SETFOCUS, QVT_CBN_DROPDOWN, QVT_CBN_SELENDCANCEL, QVT_CBN_CLOSEUP,
                                 QVT_CBN_KILLFOCUS}),
              s_pFrame->m_codes);
}

TEST_F(ComboBox, StoredListsComeBackAndForgedCountsReadNoFurther)
{
    CQVTControlComboBoxList* pList = m_pCombo->GetComboList();
    ::SendMessage(pList->GetListBoxHwnd(), LB_SETITEMDATA, 1, 77);
    CString strFile;
    ::GetTempPath(MAX_PATH, strFile.GetBuffer(MAX_PATH));
    strFile.ReleaseBuffer();
    strFile += _T("combo_list_test.xml");
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, _T("Combo"));
        px.SetSchema(37);
        pList->DoPropExchange(&px);
        ASSERT_TRUE(px.SaveToFile(strFile));
    }
    auto load = [&](UINT nSchema, CQVTControlComboBoxList* pTarget) {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, _T("Combo"));
        ASSERT_TRUE(px.LoadFromFile(strFile));
        px.SetSchema(nSchema);
        pTarget->DoPropExchange(&px);
    };
    auto* pCopy = new CQVTControlComboBoxList();
    load(37, pCopy);
    ASSERT_EQ(3, pCopy->GetCount());
    CString strText;
    pCopy->GetText(2, strText);
    EXPECT_TRUE(strText == _T("xyz"));
    EXPECT_EQ(77, ::SendMessage(pCopy->GetListBoxHwnd(), LB_GETITEMDATA, 1, 0));
    // An older schema has no item data.
    load(36, pCopy);
    EXPECT_EQ(3, pCopy->GetCount());
    EXPECT_EQ(0, ::SendMessage(pCopy->GetListBoxHwnd(), LB_GETITEMDATA, 1, 0));

    // Counts that lie: a negative one loads nothing, a huge one stops at
    // the bound.
    for (LPCTSTR lpszCount : {_T("-5"), _T("2147483647")})
    {
        CStdioFile file(strFile, CFile::modeCreate | CFile::modeWrite);
        CString strXml;
        strXml.Format(_T("<Combo><Items><Count>%s</Count><Item0>one</Item0></Items></Combo>"), lpszCount);
        file.WriteString(strXml);
        file.Close();
        load(37, pCopy);
        if (lpszCount[0] == _T('-'))
            EXPECT_EQ(0, pCopy->GetCount());
        else
        {
            EXPECT_EQ(10000, pCopy->GetCount());
            pCopy->GetText(0, strText);
            EXPECT_TRUE(strText == _T("one"));
        }
    }
    pCopy->InternalRelease();
    ::DeleteFile(strFile);
}

TEST_F(ComboBox, ShellCompletionIsBoundAtRunTimeAndItsListIsFollowed)
{
    m_pCombo->SetDropDownListStyle(TRUE);
    m_pBar->Layout(400);
    ASSERT_NE(nullptr, m_pCombo->GetEditCtrl());
    // Without the library or its entry the binding fails and nothing stays.
    CQVTControlComboBoxAutoCompleteWnd::s_lpszLibrary = _T("no_such_library.dll");
    EXPECT_EQ(E_FAIL, m_pCombo->SetShellAutoComplete(1));
    CQVTControlComboBoxAutoCompleteWnd::s_lpszLibrary = _T("shlwapi.dll");
    CQVTControlComboBoxAutoCompleteWnd::s_lpszEntry = "NoSuchEntry";
    EXPECT_EQ(E_FAIL, m_pCombo->SetShellAutoComplete(1));
    CQVTControlComboBoxAutoCompleteWnd::s_lpszEntry = "SHAutoComplete";
    EXPECT_TRUE(SUCCEEDED(m_pCombo->SetShellAutoComplete(1)));
    EXPECT_EQ(1u, m_pCombo->GetShellAutoCompleteFlags());

    // Wine's shell shows no list of the suggestion class; one the test
    // shows while the edit has the focus is followed all the same: the
    // combo's own list closes.
    ClickText();
    ASSERT_TRUE(m_pCombo->HasFocus());
    Type(VK_F4);
    ASSERT_TRUE(m_pCombo->GetPopuped());
    WNDCLASS wc = {};
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = _T("Auto-Suggest Dropdown");
    ::RegisterClass(&wc);
    HWND hSuggest =
        ::CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, _T("Auto-Suggest Dropdown"), nullptr, WS_POPUP,
                         600, 640, 100, 40, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowPos(hSuggest, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_TRUE(PumpTranslatedUntil([&] { return !m_pCombo->GetPopuped(); }));
    ::DestroyWindow(hSuggest);
}

TEST_F(ComboBox, AGalleryDropDownSelectsByTextAndExecutesOnClick)
{
    auto* pItems = new CQVTControlGalleryItems();
    pItems->SetItemSize(CSize(0, 20));
    pItems->AddItem(_T("Red"), 1);
    pItems->AddItem(_T("Green"), 2);
    pItems->AddItem(_T("Blue"), 3);
    CQVTControlComboBoxGalleryPopupBar* pPopup =
        CQVTControlComboBoxGalleryPopupBar::CreateComboBoxGalleryPopupBar(s_pFrame->GetCommandBars());
    auto* pGallery =
        static_cast<CQVTControlGallery*>(pPopup->GetControls()->Add(new CQVTControlGallery(), 331));
    pGallery->SetItems(pItems);
    pGallery->SetWidth(150);
    pGallery->SetHeight(60);
    m_pCombo->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    m_pCombo->SetDropDownListStyle(TRUE);
    m_pBar->Layout(400);

    ClickText();
    for (WORD wKey : {'G', 'R', 'E', 'E', 'N'})
        Type(wKey);
    EXPECT_EQ(1, m_pCombo->GetCurSel()) << "the exact caption is found case-blind";
    Type(VK_F4);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return pPopup->IsVisible(); }));
    EXPECT_EQ(1, pGallery->GetSelectedItem()) << "the opened gallery shows the text's item";
    EXPECT_EQ(3, m_pCombo->GetCount());

    // A click on an item takes it into the box and closes the popup.
    CPoint pt = pGallery->GetItemRect(2).CenterPoint();
    pPopup->ClientToScreen(&pt);
    MouseMoveTo(pt);
    PumpTranslated(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !pPopup->IsVisible(); }));
    EXPECT_TRUE(m_pCombo->GetEditText() == _T("Blue"));
    pItems->InternalRelease();
}

TEST_F(ComboBox, ADropDownListStepsWithTheKeysAndGivesBackItsSelectionWhenLeft)
{
    m_pCombo->SetCurSel(0);
    // A click would open the list: the focus comes from the keyboard.
    s_pFrame->SetForegroundWindow();
    m_pCombo->OnUnderlineActivate();
    PumpTranslated(30);
    ASSERT_TRUE(m_pCombo->GetFocused());
    EXPECT_EQ(nullptr, m_pCombo->GetEditCtrl()) << "no edit window in a drop-down list";
    // The focused text shows in the highlight.
    m_pBar->RedrawWindow();
    PumpTranslated(30);
    CDibCapture capture(m_pBar);
    const CRect rc = m_pCombo->GetRect();
    EXPECT_GT(capture.CountIn(CRect(rc.left + m_pCombo->GetLabelWidth(), rc.top,
                                    rc.right - m_pCombo->GetThumbWidth(), rc.bottom),
                              m_pBar->GetPaintManager()->GetColor(COLOR_HIGHLIGHT)),
              0);

    Type(VK_DOWN);
    EXPECT_EQ(1, m_pCombo->GetCurSel());
    EXPECT_TRUE(m_pCombo->GetText() == _T("abd"));
    // Left without choosing: the selection from when the focus came back.
    Type(VK_ESCAPE);
    EXPECT_EQ(0, m_pCombo->GetCurSel());
    EXPECT_FALSE(m_pCombo->GetFocused());
    EXPECT_EQ(
        std::vector<UINT>({QVT_CBN_SETFOCUS, QVT_CBN_SELCHANGE, QVT_CBN_SELENDCANCEL, QVT_CBN_KILLFOCUS}),
        s_pFrame->m_codes);
}

TEST_F(ComboBox, WhileItHoldsTheFocusHoveringAnEditLeavesItsListOpen)
{
    CQVTControl* pEdit = m_pBar->GetControls()->AddByType(qvtControlEdit, kComboId + 1);
    ASSERT_NE(nullptr, pEdit);
    m_pCombo->SetDropDownListStyle(TRUE);
    m_pBar->Layout(400);
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    const int nBefore = pMouseManager->GetFocusedControlCount();
    ClickText();
    EXPECT_EQ(nBefore + 1, pMouseManager->GetFocusedControlCount());
    Type(VK_F4);
    ASSERT_TRUE(m_pCombo->GetPopuped());
    pEdit->OnMouseHover();
    EXPECT_TRUE(m_pCombo->GetPopuped());
    Type(VK_ESCAPE);
    m_pCombo->SetFocused(FALSE);
    EXPECT_EQ(nBefore, pMouseManager->GetFocusedControlCount());
}
