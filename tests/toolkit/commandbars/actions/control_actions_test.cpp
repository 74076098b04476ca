// Controls of one command sharing an action: the sorted list, what linking
// takes from a control and gives back, the texts and states the controls
// show from their action, and the changes they are told of.
#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

// A button that records the changes its action tells it of.
class CWatchingButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CWatchingButton)

public:
    void OnActionChanging(int nProperty) override { m_changing.push_back(nProperty); }
    void OnActionChanged(int nProperty) override
    {
        m_changed.push_back(nProperty);
        CQVTControlButton::OnActionChanged(nProperty);
    }
    std::vector<int> m_changing;
    std::vector<int> m_changed;
};
IMPLEMENT_DYNCREATE(CWatchingButton, CQVTControlButton)

}  // namespace

// Bars without a site and a collection that belongs to them.
class ControlActions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pBars = CQVTCommandBars::CreateCommandBars();
        m_pControls = new CQVTControls();
        m_pControls->SetCommandBars(m_pBars);
    }
    void TearDown() override
    {
        m_pControls->InternalRelease();
        m_pBars->InternalRelease();
    }
    CWatchingButton* AddButton(int nId)
    {
        return static_cast<CWatchingButton*>(m_pControls->Add(new CWatchingButton(), nId));
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTControls* m_pControls = nullptr;
};

TEST_F(ControlActions, TheListStaysSortedAndAnswersOnlyForCommandIds)
{
    CQVTControlActions* pActions = m_pBars->GetActions();
    CQVTControlAction* p5 = pActions->Add(5);
    pActions->Add(2);
    pActions->Add(9);
    EXPECT_EQ(p5, pActions->Add(5));
    ASSERT_EQ(3, pActions->GetCount());
    EXPECT_EQ(2, pActions->GetAt(0)->GetID());
    EXPECT_EQ(5, pActions->GetAt(1)->GetID());
    EXPECT_EQ(9, pActions->GetAt(2)->GetID());
    EXPECT_EQ(nullptr, pActions->GetAt(3));
    EXPECT_EQ(p5, m_pBars->FindAction(5));
    EXPECT_EQ(nullptr, m_pBars->FindAction(6));
    EXPECT_EQ(nullptr, pActions->FindAction(0));
    EXPECT_EQ(nullptr, pActions->FindAction(268435455));
    pActions->Add(268435454);
    EXPECT_NE(nullptr, pActions->FindAction(268435454));

    // A new action takes the prompt string of its id.
    CQVTControlAction* pNew = m_pBars->CreateAction(ID_TEST_NEW);
    EXPECT_EQ(CString(_T("Create a new recording")), pNew->GetDescription());
    EXPECT_EQ(CString(_T("New")), pNew->GetTooltip());
}

TEST_F(ControlActions, ControlsOfOneIdShareTheActionsTextsAndStates)
{
    m_pBars->EnableActions();
    // Linking takes a control's own texts away: the action holds them.
    CWatchingButton* pFirst = new CWatchingButton();
    pFirst->SetCaption(_T("Own"));
    pFirst->SetTooltip(_T("Own tip"));
    m_pControls->Add(pFirst, 40);
    CWatchingButton* pSecond = AddButton(40);
    ASSERT_NE(nullptr, pFirst->GetAction());
    EXPECT_EQ(pFirst->GetAction(), pSecond->GetAction());
    CQVTControlAction* pAction = pFirst->GetAction();
    ASSERT_EQ(2, pAction->GetControlCount());

    pAction->SetCaption(_T("&Record"));
    pAction->SetTooltip(_T("Start recording"));
    pAction->SetShortcutText(_T("Ctrl+R"));
    pAction->SetKeyboardTip(_T("RC"));
    pAction->SetIconId(77);
    pAction->SetHelpId(12);
    for (CQVTControl* pControl : {static_cast<CQVTControl*>(pFirst), static_cast<CQVTControl*>(pSecond)})
    {
        EXPECT_EQ(CString(_T("&Record")), pControl->GetCaption());
        EXPECT_EQ(CString(_T("Start recording")), pControl->GetTooltip());
        EXPECT_EQ(CString(_T("Ctrl+R")), pControl->GetShortcutText());
        EXPECT_EQ(CString(_T("RC")), pControl->GetKeyboardTip());
        EXPECT_EQ(77, pControl->GetIconId());
        EXPECT_EQ(12, pControl->GetHelpContextId());
    }
    // A control's own text still wins.
    pSecond->SetTooltip(_T("Mine"));
    EXPECT_EQ(CString(_T("Mine")), pSecond->GetTooltip());

    pAction->SetEnabled(FALSE);
    pAction->SetChecked(1);
    pSecond->SetChecked(-1);
    EXPECT_FALSE(pFirst->GetEnabled());
    EXPECT_EQ(1, pSecond->GetChecked());
    EXPECT_EQ(0, pFirst->GetChecked());
    pAction->SetVisible(FALSE);
    EXPECT_FALSE(pFirst->IsVisible());
    EXPECT_FALSE(pSecond->IsVisible(0xFFFFFFFF));
    pAction->SetVisible(TRUE);
    EXPECT_TRUE(pSecond->IsVisible());

    // Unlinked, a control is enabled again but keeps no texts of its own.
    pFirst->SetAction(nullptr);
    EXPECT_TRUE(pFirst->GetEnabled());
    EXPECT_TRUE(pFirst->GetCaption().IsEmpty());
    EXPECT_EQ(1, pAction->GetControlCount());
    // Removing a control from its bar unlinks it.
    m_pControls->Remove(pSecond);
    EXPECT_EQ(0, pAction->GetControlCount());
}

TEST_F(ControlActions, LinkedControlsAreToldOfChangesOnlyWhenSomethingChanged)
{
    m_pBars->EnableActions();
    CWatchingButton* pButton = AddButton(41);
    CQVTControlAction* pAction = pButton->GetAction();
    ASSERT_NE(nullptr, pAction);
    pAction->SetCaption(_T("Play\tSpace"));
    EXPECT_EQ(CString(_T("Play")), pAction->GetCaption());
    EXPECT_EQ(std::vector<int>({3}), pButton->m_changing);
    EXPECT_EQ(std::vector<int>({3}), pButton->m_changed);
    // The same caption with another shortcut after its tab tells nobody.
    pAction->SetCaption(_T("Play\tCtrl+P"));
    pAction->SetEnabled(TRUE);
    EXPECT_EQ(std::vector<int>({3}), pButton->m_changed);
    pAction->SetEnabled(FALSE);
    pAction->SetVisible(FALSE);
    EXPECT_EQ(std::vector<int>({3, 0, 2}), pButton->m_changed);
    EXPECT_EQ(std::vector<int>({3, 0, 2}), pButton->m_changing);
}

TEST_F(ControlActions, BarFurnitureAndIdsWithoutCommandGetNoAction)
{
    m_pBars->EnableActions();
    for (int nId : {0, 35000, 35001, 35003, 9100, 9148, 9299, 268435455})
    {
        CQVTControl* pControl = AddButton(nId);
        EXPECT_EQ(nullptr, pControl->GetAction()) << nId;
        EXPECT_EQ(nId, pControl->GetID());
    }
    EXPECT_EQ(0, m_pBars->GetActions()->GetCount());

    // With actions off a control links only to an action that exists.
    m_pBars->EnableActions(FALSE);
    EXPECT_EQ(nullptr, AddButton(50)->GetAction());
    CQVTControlAction* pAction = m_pBars->CreateAction(51);
    EXPECT_EQ(pAction, AddButton(51)->GetAction());
}

TEST_F(ControlActions, MenuItemsGiveTheirCaptionsToNewActions)
{
    m_pBars->EnableActions();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    for (int i = 0; i < static_cast<int>(pPopup->GetMenuItemCount()); ++i)
        m_pControls->AddMenuItem(pPopup, i);
    CQVTControlAction* pOpen = m_pBars->FindAction(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    EXPECT_EQ(CString(_T("&Open")), pOpen->GetCaption());
    // A caption's shortcut after a tab stays out of the action's caption.
    EXPECT_EQ(CString(_T("&New")), m_pBars->FindAction(ID_TEST_NEW)->GetCaption());
    CQVTControl* pControl = m_pControls->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pControl);
    EXPECT_EQ(pOpen, pControl->GetAction());
    EXPECT_EQ(CString(_T("&Open")), pControl->GetCaption());

    // Emptying the list unlinks every control.
    m_pBars->GetActions()->RemoveAll();
    EXPECT_EQ(nullptr, pControl->GetAction());
    EXPECT_TRUE(pControl->GetEnabled());
}
