// The small special controls as a user meets them on a toolbar and in a
// menu: a label that is never hot and runs nothing, a check box and a radio
// button that Space runs while the keyboard is on them, the toolbars list
// that becomes one entry per bar each time its menu is laid out, and split
// buttons whose enabled states 4 and 5 switch off one of their two parts.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlExtended.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const int kLabelId = 300;
const int kCheckId = 301;
const int kRadioId = 302;
const int kButtonId = 303;
const int kSplitId = 304;
const int kSplitItemId = 305;

void Key(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    PumpTranslated(60);
}

CPoint ScreenPoint(CQVTCommandBar* pBar, CPoint pt)
{
    pBar->ClientToScreen(&pt);
    return pt;
}

}  // namespace

class ExtendedControls : public BarsFrameSuite<ExtendedControls>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(300, 80, 800, 330)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pBars = s_pFrame->GetCommandBars();
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        CQVTControls* pControls = m_pToolBar->GetControls();
        pControls->AddByType(qvtControlLabel, kLabelId)->SetCaption(_T("Volume:"));
        pControls->AddByType(qvtControlCheckBox, kCheckId)->SetCaption(_T("Loop"));
        pControls->AddByType(qvtControlRadioButton, kRadioId)->SetCaption(_T("Mono"));
        CQVTControl* pButton = pControls->AddByType(qvtControlButton, kButtonId);
        pButton->SetCaption(_T("Go"));
        pButton->SetStyle(qvtButtonCaption);
        m_pSplit =
            DYNAMIC_DOWNCAST(CQVTControlPopup, pControls->AddByType(qvtControlSplitButtonPopup, kSplitId));
        ASSERT_NE(nullptr, m_pSplit);
        m_pSplit->SetCaption(_T("Record"));
        m_pSplit->SetStyle(qvtButtonCaption);
        m_pSplit->SetFlags(m_pSplit->GetFlags() | qvtFlagManualUpdate);
        m_pSplit->GetCommandBar()
            ->GetControls()
            ->AddByType(qvtControlButton, kSplitItemId)
            ->SetCaption(_T("Input"));
        m_pToolBar->DelayLayout();
        m_pBars->RecalcFrameLayout(FALSE);
        m_pToolBar->OnRecalcLayout();
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpTranslated(50);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpTranslated(30);
    }

    CQVTControl* Find(int nId) const { return m_pToolBar->GetControls()->FindControl(nId); }
    BOOL SplitPopupOpen() const
    {
        CQVTCommandBar* pPopup = m_pSplit->GetCommandBar();
        return m_pSplit->GetPopuped() && pPopup->GetSafeHwnd() && pPopup->IsWindowVisible();
    }
    // A click of the real mouse at a point of the split button, from a
    // second thread (a press on the command part starts a loop of its own).
    void ClickSplitAt(BOOL bArrow)
    {
        const CRect rc = m_pSplit->GetRect();
        const int nArrow = m_pToolBar->GetPaintManager()->GetSplitDropDownWidth();
        const CPoint pt =
            ScreenPoint(m_pToolBar, bArrow ? CPoint(rc.right - nArrow / 2 - 1, rc.CenterPoint().y)
                                           : CPoint(rc.left + 4, rc.CenterPoint().y));
        RunInputScript([pt] {
            ScriptMouseMove(pt);
            ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
            ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
        });
        PumpTranslated(80);
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
    CQVTControlPopup* m_pSplit = nullptr;
};

TEST_F(ExtendedControls, ALabelIsNeverHotAndRunsNothing)
{
    CQVTControl* pLabel = Find(kLabelId);
    ASSERT_NE(nullptr, pLabel);
    EXPECT_EQ(qvtControlLabel, pLabel->GetType());
    EXPECT_EQ(static_cast<DWORD>(qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable),
              pLabel->GetFlags());
    MouseMoveTo(ScreenPoint(m_pToolBar, pLabel->GetRect().CenterPoint()));
    PumpTranslated(50);
    EXPECT_FALSE(pLabel->GetSelected());
    MouseLeftDown();
    MouseLeftUp();
    PumpTranslated(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    // The keyboard passes over it.
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(30);
    EXPECT_EQ(Find(kCheckId)->GetIndex(), m_pToolBar->GetSelectedIndex());
}

TEST_F(ExtendedControls, SpaceRunsTheCheckBoxAndTheRadioButtonTheKeyboardIsOn)
{
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(30);
    CQVTControl* pCheck = Find(kCheckId);
    ASSERT_EQ(pCheck->GetIndex(), m_pToolBar->GetSelectedIndex());
    EXPECT_TRUE(pCheck->GetFocused());
    Key(VK_SPACE);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({kCheckId}), s_pFrame->m_commands);

    s_pFrame->m_commands.clear();
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(30);
    Key(VK_RIGHT);
    ASSERT_EQ(Find(kRadioId)->GetIndex(), m_pToolBar->GetSelectedIndex());
    EXPECT_TRUE(Find(kRadioId)->GetFocused());
    Key(VK_SPACE);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({kRadioId}), s_pFrame->m_commands);

    // A plain button is not focused: Space is no click for it.
    s_pFrame->m_commands.clear();
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(30);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    ASSERT_EQ(Find(kButtonId)->GetIndex(), m_pToolBar->GetSelectedIndex());
    EXPECT_FALSE(Find(kButtonId)->GetFocused());
    Key(VK_SPACE);
    PumpTranslated(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}

TEST_F(ExtendedControls, TheToolbarsListBecomesOneEntryPerBarWhenItsMenuIsLaidOut)
{
    CQVTToolBar* pSecond = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Mixer && Levels"), qvtBarBottom));
    ASSERT_NE(nullptr, pSecond);
    pSecond->SetVisible(FALSE);
    CQVTToolBar* pUnlisted = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Hidden from lists"), qvtBarTop));
    pUnlisted->SetContextMenuPresent(FALSE);

    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(m_pBars);
    pPopup->GetControls()->AddByType(qvtControlButton, kButtonId)->SetCaption(_T("Go"));
    CQVTControl* pList = pPopup->GetControls()->AddByType(qvtControlButton, QVT_ID_TOOLBARLIST);
    ASSERT_TRUE(pList->IsKindOf(RUNTIME_CLASS(CQVTControlToolbars)));
    pList->SetBeginGroup(TRUE);
    ASSERT_TRUE(pPopup->PopupAt(420, 150));
    PumpTranslated(30);
    // The placeholder hides; the entries follow it, the first starting its group.
    EXPECT_FALSE(pList->IsVisible());
    ASSERT_EQ(4, pPopup->GetControlCount());
    CQVTControl* pFirst = pPopup->GetControl(2);
    CQVTControl* pEntry = pPopup->GetControl(3);
    EXPECT_EQ(CString(_T("Standard")), pFirst->GetCaption());
    EXPECT_TRUE(pFirst->GetBeginGroup());
    EXPECT_TRUE(pFirst->GetChecked());
    EXPECT_TRUE(pFirst->IsTemporary());
    EXPECT_EQ(CString(_T("Mixer &&&& Levels")), pEntry->GetCaption());
    EXPECT_FALSE(pEntry->GetBeginGroup());
    EXPECT_FALSE(pEntry->GetChecked());

    // Laid out again, the list is rebuilt (new entries), not doubled.
    pPopup->DelayLayout();
    pPopup->OnRecalcLayout();
    EXPECT_EQ(4, pPopup->GetControlCount());

    // An entry shows its bar and closes the menu.
    pEntry = pPopup->GetControl(3);
    EXPECT_EQ(1u, pEntry->GetTag());
    pEntry->OnExecute();
    PumpTranslated(30);
    EXPECT_TRUE(pSecond->IsVisible());
    EXPECT_FALSE(pPopup->GetSafeHwnd() && pPopup->IsWindowVisible());
    pPopup->InternalRelease();
}

TEST_F(ExtendedControls, SplitButtonsRunTheirCommandPartAndOpenTheirArrowPart)
{
    ClickSplitAt(FALSE);
    EXPECT_EQ(std::vector<UINT>({kSplitId}), s_pFrame->m_commands);
    EXPECT_FALSE(SplitPopupOpen());
    ClickSplitAt(TRUE);
    EXPECT_TRUE(PumpTranslatedUntil([&] { return SplitPopupOpen(); }, 2000));
    CQVTCommandBars::ClosePopups();
    PumpTranslated(30);

    // State 4: the arrow part is off, the command part still runs.
    s_pFrame->m_commands.clear();
    m_pSplit->SetEnabled(CQVTControlPopup::enabledArrowDisabled);
    ClickSplitAt(TRUE);
    PumpTranslated(100);
    EXPECT_FALSE(SplitPopupOpen());
    ClickSplitAt(FALSE);
    EXPECT_EQ(std::vector<UINT>({kSplitId}), s_pFrame->m_commands);

    // State 5: the command part is off; the keyboard opens the popup.
    s_pFrame->m_commands.clear();
    m_pSplit->SetEnabled(CQVTControlPopup::enabledCommandDisabled);
    ClickSplitAt(FALSE);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    CQVTCommandBars::ClosePopups();
    PumpTranslated(30);
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(30);
    while (m_pToolBar->GetSelectedIndex() != m_pSplit->GetIndex() && m_pToolBar->IsTrackingMode())
    {
        const int nBefore = m_pToolBar->GetSelectedIndex();
        Key(VK_RIGHT);
        if (m_pToolBar->GetSelectedIndex() == nBefore)
            break;
    }
    ASSERT_EQ(m_pSplit->GetIndex(), m_pToolBar->GetSelectedIndex());
    Key(VK_RETURN);
    EXPECT_TRUE(PumpTranslatedUntil([&] { return SplitPopupOpen(); }, 2000));
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}
