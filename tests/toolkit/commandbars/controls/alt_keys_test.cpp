// Alt with a letter while an edit field on a bar has the focus: the field
// offers the key to the bars' mnemonics instead of keeping it, so the
// underlined command runs and the text stays as it was.
#include <afxwin.h>

#include <algorithm>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

const UINT kGoId = 120;
const UINT kFieldId = 121;

}  // namespace

class AltKeysInFields : public BarsFrameSuite<AltKeysInFields>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(200, 360, 800, 520)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pBars = s_pFrame->GetCommandBars();
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        m_pToolBar->ShowExpandButton(FALSE);
        CQVTControl* pGo = m_pToolBar->GetControls()->Add(new CQVTControlButton(), kGoId);
        pGo->SetCaption(_T("&Go"));
        pGo->SetStyle(qvtButtonCaption);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpTranslated(30);
    }
    void LayOut()
    {
        m_pToolBar->DelayLayout();
        m_pToolBar->OnRecalcLayout();
        m_pBars->RecalcFrameLayout(FALSE);
        s_pFrame->SetForegroundWindow();
        PumpTranslated(30);
    }
    // Clicks into the field's window and waits for the control to have the
    // focus.
    bool FocusField(CQVTControl* pField, HWND hWnd)
    {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        MouseClickAt(rc.CenterPoint());
        return PumpTranslatedUntil([&] { return pField->GetFocused() && ::GetFocus() == hWnd; }, 2000);
    }
    // The key as the bar's keyboard hook hands it to the focused field,
    // with Alt down in the thread's key state (a real Alt press would take
    // the focus from the field before the letter comes).
    int HookKeyWithAlt(CQVTControl* pField, UINT nKey)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_MENU] |= 0x80;
        ::SetKeyboardState(keys);
        const int nAnswer = pField->OnHookKeyDown(nKey, 0);
        ::GetKeyboardState(keys);
        keys[VK_MENU] &= ~0x80;
        ::SetKeyboardState(keys);
        PumpTranslated(30);
        return nAnswer;
    }
    size_t GoCommands() const
    {
        return std::count(s_pFrame->m_commands.begin(), s_pFrame->m_commands.end(), kGoId);
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
};

namespace {

TEST_F(AltKeysInFields, AnEditOffersAltAndALetterToTheBarsMnemonics)
{
    auto* pEdit =
        static_cast<CQVTControlEdit*>(m_pToolBar->GetControls()->AddByType(qvtControlEdit, kFieldId));
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetWidth(150);
    pEdit->SetEditText(_T("take"));
    LayOut();
    ASSERT_TRUE(pEdit->GetEditCtrl() && FocusField(pEdit, pEdit->GetEditCtrl()->GetSafeHwnd()));
    s_pFrame->m_commands.clear();

    EXPECT_EQ(TRUE, HookKeyWithAlt(pEdit, 'G'));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return GoCommands() > 0; }, 2000));
    EXPECT_EQ(1u, GoCommands());
    EXPECT_EQ(CString(_T("take")), pEdit->GetEditText());

    // A letter no control underlines is not the bars': the field answers as
    // before and nothing runs.
    s_pFrame->m_commands.clear();
    LayOut();
    ASSERT_TRUE(FocusField(pEdit, pEdit->GetEditCtrl()->GetSafeHwnd()));
    EXPECT_EQ(FALSE, HookKeyWithAlt(pEdit, 'Q'));
    PumpTranslated(50);
    EXPECT_EQ(0u, GoCommands());
}

TEST_F(AltKeysInFields, AnEditableComboBoxOffersThemTooButKeepsAltDownForItsList)
{
    auto* pCombo =
        static_cast<CQVTControlComboBox*>(m_pToolBar->GetControls()->AddByType(qvtControlComboBox, kFieldId));
    ASSERT_NE(nullptr, pCombo);
    pCombo->SetDropDownListStyle(TRUE);
    pCombo->SetWidth(150);
    pCombo->AddString(_T("abc"));
    pCombo->AddString(_T("xyz"));
    LayOut();
    ASSERT_TRUE(pCombo->GetEditCtrl() && FocusField(pCombo, pCombo->GetEditCtrl()->GetSafeHwnd()));
    s_pFrame->m_commands.clear();

    EXPECT_EQ(TRUE, HookKeyWithAlt(pCombo, 'G'));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return GoCommands() > 0; }, 2000));
    EXPECT_EQ(1u, GoCommands());

    // Alt+Down is no mnemonic: it still opens the list.
    LayOut();
    ASSERT_TRUE(FocusField(pCombo, pCombo->GetEditCtrl()->GetSafeHwnd()));
    EXPECT_EQ(TRUE, HookKeyWithAlt(pCombo, VK_DOWN));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return pCombo->GetPopuped() != FALSE; }, 2000));
}

}  // namespace
