// The controls of a bar: made by type and from Windows menus (with the
// site's say in it), found, removed and re-typed; texts split into caption,
// shortcut and prompt; the copy of the original controls that tells whether
// the user changed anything; and bad input that must fail cleanly.
#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

// A site that records the control requests of menu loading and may answer
// them.
class CRecordingSite : public CWnd
{
public:
    CRecordingSite()
    {
        CreateEx(0, AfxRegisterWndClass(0), _T("Site"), WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    }
    ~CRecordingSite() override { DestroyWindow(); }

    struct Request
    {
        UINT nId;
        CString strCaption;
        int nType;
        int nPosition;
    };
    std::vector<Request> m_before;
    std::vector<CQVTControl*> m_after;
    // Answers for the next requests: a control to use, or a new id.
    CQVTControl* m_pSupplied = nullptr;
    UINT m_nRenumber = 0;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == QVTWM_BEFORECREATECONTROL)
        {
            QVTCREATECONTROLSTRUCT* pCreate = reinterpret_cast<QVTCREATECONTROLSTRUCT*>(lParam);
            m_before.push_back(
                Request{pCreate->nID, pCreate->strCaption, pCreate->controlType, pCreate->nIndex});
            *pResult = 0;
            if (m_pSupplied)
            {
                pCreate->pControl = m_pSupplied;
                m_pSupplied = nullptr;
                *pResult = 1;
            }
            else if (m_nRenumber)
            {
                pCreate->nID = m_nRenumber;
                pCreate->strCaption = _T("Renumbered");
                m_nRenumber = 0;
                *pResult = 1;
            }
            return TRUE;
        }
        if (message == QVTWM_AFTERCREATECONTROL)
        {
            m_after.push_back(reinterpret_cast<QVTCREATECONTROLSTRUCT*>(lParam)->pControl);
            *pResult = 0;
            return TRUE;
        }
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
};

// Bars whose site is a recording site, with a bar of the tests' own.
struct BarOnSite
{
    BarOnSite()
    {
        pBars = CQVTCommandBars::CreateCommandBars();
        pBars->SetSite(&site);
        pBar = new CTestBar();
        pBars->AddCommandBar(pBar, _T("Bar"), qvtBarTop);
    }
    ~BarOnSite() { pBars->InternalRelease(); }
    CQVTControls* Controls() const { return pBar->GetControls(); }

    CRecordingSite site;
    CQVTCommandBars* pBars = nullptr;
    CTestBar* pBar = nullptr;
};

TEST(Controls, MenuItemsBecomeButtonsWithTheirCaptionsShortcutsPromptsAndStates)
{
    BarOnSite bar;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_TRUE(bar.pBar->LoadMenu(menu.GetSubMenu(0)));
    CQVTControls* pControls = bar.Controls();
    ASSERT_EQ(6, pControls->GetCount());

    CQVTControl* pNew = pControls->GetAt(0);
    EXPECT_EQ(ID_TEST_NEW, static_cast<UINT>(pNew->GetID()));
    EXPECT_EQ(qvtControlButton, pNew->GetType());
    EXPECT_TRUE(pNew->IsKindOf(RUNTIME_CLASS(CQVTControlButton)));
    EXPECT_EQ(CString(_T("&New")), pNew->GetCaption());
    EXPECT_EQ(CString(_T("Ctrl+N")), pNew->GetShortcutText());
    // The command's prompt string: description, then tooltip.
    EXPECT_EQ(CString(_T("Create a new recording")), pNew->GetDescription());
    EXPECT_EQ(CString(_T("New")), pNew->GetTooltip());
    EXPECT_EQ(CString(_T("N")), pNew->GetMnemonicCharacter());
    EXPECT_EQ(bar.pBar, pNew->GetParent());

    // A prompt without a newline is both tooltip and description.
    CQVTControl* pOpen = pControls->GetAt(1);
    EXPECT_EQ(CString(_T("Open a recording")), pOpen->GetTooltip());
    EXPECT_EQ(CString(_T("Open a recording")), pOpen->GetDescription());

    // The separator starts a group; menu states carry over.
    CQVTControl* pBold = pControls->GetAt(2);
    EXPECT_TRUE(pBold->GetBeginGroup());
    EXPECT_FALSE(pOpen->GetBeginGroup());
    EXPECT_EQ(1, pBold->GetChecked());
    EXPECT_FALSE(pControls->GetAt(3)->GetEnabled());
    // Both kinds of break start a row; only the bar break starts a group.
    CQVTControl* pSave = pControls->GetAt(4);
    CQVTControl* pPrint = pControls->GetAt(5);
    EXPECT_TRUE(pSave->GetFlags() & qvtFlagWrapRow);
    EXPECT_TRUE(pSave->GetBeginGroup());
    EXPECT_TRUE(pPrint->GetFlags() & qvtFlagWrapRow);
    EXPECT_FALSE(pPrint->GetBeginGroup());

    // The site was asked before and told after every control.
    ASSERT_EQ(6u, bar.site.m_before.size());
    EXPECT_EQ(ID_TEST_NEW, bar.site.m_before[0].nId);
    EXPECT_EQ(CString(_T("&New\tCtrl+N")), bar.site.m_before[0].strCaption);
    EXPECT_EQ(3, bar.site.m_before[2].nPosition);
    ASSERT_EQ(6u, bar.site.m_after.size());
    EXPECT_EQ(pPrint, bar.site.m_after[5]);

    // Loading again without removing appends.
    ASSERT_TRUE(bar.pBar->LoadMenu(menu.GetSubMenu(0), FALSE));
    EXPECT_EQ(12, pControls->GetCount());
    EXPECT_EQ(11, pControls->GetAt(11)->GetIndex());
}

TEST(Controls, UnusualMenuItemsAreSkippedOrSplitAndInvalidMenusLeaveTheBarAlone)
{
    BarOnSite bar;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU_EDGES));
    ASSERT_TRUE(bar.pBar->LoadMenu(menu.GetSubMenu(0)));
    CQVTControls* pControls = bar.Controls();
    // Id 0 is a separator, 65280 the MDI window list; a submenu becomes a
    // popup.
    ASSERT_EQ(4, pControls->GetCount());
    CQVTControl* pSave = pControls->GetAt(0);
    EXPECT_TRUE(pSave->GetBeginGroup());
    EXPECT_EQ(CString(_T("Save && Exit")), pSave->GetCaption());
    EXPECT_EQ(CString(_T("Ctrl+Q\tagain")), pSave->GetShortcutText());
    // "&&" and a trailing "&" are no mnemonics.
    EXPECT_EQ(CString(), pSave->GetMnemonicCharacter());
    EXPECT_EQ(CString(), pControls->GetAt(1)->GetMnemonicCharacter());
    EXPECT_EQ(qvtControlPopup, pControls->GetAt(2)->GetType());
    EXPECT_EQ(CString(_T("O")), pControls->GetAt(3)->GetMnemonicCharacter());
    // The submenu's id came from the number after its caption's tab.
    bool bSawRecent = false;
    for (const CRecordingSite::Request& request : bar.site.m_before)
        if (request.nType == qvtControlPopup)
        {
            bSawRecent = true;
            EXPECT_EQ(static_cast<UINT>(QVT_ID_FILE_MRU), request.nId);
            EXPECT_EQ(CString(_T("Recent")), request.strCaption);
        }
    EXPECT_TRUE(bSawRecent);

    CMenu none;
    EXPECT_FALSE(bar.pBar->LoadMenu(nullptr));
    EXPECT_FALSE(bar.pBar->LoadMenu(&none));
    CMenu destroyed;
    destroyed.CreatePopupMenu();
    HMENU hGone = destroyed.Detach();
    ::DestroyMenu(hGone);
    CMenu gone;
    gone.Attach(hGone);
    EXPECT_FALSE(bar.pBar->LoadMenu(&gone));
    gone.Detach();
    EXPECT_EQ(4, pControls->GetCount());
}

TEST(Controls, TheSiteMayRenumberAControlOrHandBackOneOfItsOwn)
{
    BarOnSite bar;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_TEST_NEW, _T("First"));
    menu.AppendMenu(MF_STRING, ID_TEST_OPEN, _T("Second"));
    CQVTControlButton* pOwn = new CQVTControlButton();
    pOwn->SetCaption(_T("Own"));
    bar.site.m_pSupplied = pOwn;
    ASSERT_TRUE(bar.pBar->LoadMenu(&menu));
    bar.site.m_nRenumber = ID_TEST_PRINT;
    ASSERT_TRUE(bar.pBar->LoadMenu(&menu, FALSE));
    CQVTControls* pControls = bar.Controls();
    ASSERT_EQ(4, pControls->GetCount());
    EXPECT_EQ(pOwn, pControls->GetAt(0));
    EXPECT_EQ(ID_TEST_NEW, static_cast<UINT>(pOwn->GetID()));
    EXPECT_EQ(ID_TEST_PRINT, static_cast<UINT>(pControls->GetAt(2)->GetID()));
    EXPECT_EQ(CString(_T("Renumbered")), pControls->GetAt(2)->GetCaption());
}

TEST(Controls, AHugeMenuLoadsEveryItem)
{
    BarOnSite bar;
    CMenu menu;
    menu.CreatePopupMenu();
    for (UINT i = 0; i < 3000; ++i)
    {
        CString strCaption;
        strCaption.Format(_T("Item %u\tCtrl+%u"), i, i);
        menu.AppendMenu(MF_STRING, 1000 + i, strCaption);
    }
    ASSERT_TRUE(bar.pBar->LoadMenu(&menu));
    ASSERT_EQ(3000, bar.Controls()->GetCount());
    EXPECT_EQ(3999, bar.Controls()->GetAt(2999)->GetID());
    EXPECT_EQ(bar.Controls()->GetAt(2999), bar.Controls()->FindControl(3999));
}

TEST(Controls, TypesIndexesAndLookupsOutsideTheirRangeGiveNothing)
{
    CQVTControls* pControls = new CQVTControls();
    EXPECT_EQ(nullptr, pControls->AddByType(0, 1));
    EXPECT_EQ(nullptr, pControls->AddByType(12, 1));
    EXPECT_EQ(nullptr, pControls->AddByType(-1, 1));
    EXPECT_EQ(nullptr, pControls->AddControl(nullptr));
    EXPECT_EQ(nullptr, pControls->GetAt(0));
    EXPECT_EQ(-1, pControls->GetNextIndex(-1, 1));

    CQVTControl* pA = pControls->AddByType(qvtControlButton, 10);
    CQVTControl* pB = pControls->AddByType(qvtControlButton, 20);
    // An index outside the list appends.
    CQVTControl* pC = pControls->InsertControl(new CQVTControlButton(), 99);
    CQVTControl* pD = pControls->InsertControl(new CQVTControlButton(), -7);
    CQVTControl* pFirst = pControls->AddByType(qvtControlButton, 30, nullptr, 0);
    ASSERT_EQ(5, pControls->GetCount());
    EXPECT_EQ(pFirst, pControls->GetAt(0));
    EXPECT_EQ(pA, pControls->GetAt(1));
    EXPECT_EQ(pC, pControls->GetAt(3));
    EXPECT_EQ(pD, pControls->GetAt(4));
    EXPECT_EQ(nullptr, pControls->GetAt(5));
    EXPECT_EQ(nullptr, pControls->GetAt(-1));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, pControls->GetAt(i)->GetIndex());

    EXPECT_EQ(pB, pControls->FindControl(20));
    EXPECT_EQ(nullptr, pControls->FindControl(21));
    EXPECT_EQ(pFirst, pControls->FindControl(qvtControlButton, -1, TRUE, FALSE));
    pFirst->SetVisible(FALSE);
    EXPECT_EQ(pA, pControls->FindControl(qvtControlButton, -1, TRUE, FALSE));
    EXPECT_EQ(pFirst, pControls->FindControl(0, 30, FALSE, FALSE));

    // The special ids of the list controls make the lists, no plain button.
    CQVTControl* pWindows = pControls->AddByType(qvtControlButton, QVT_ID_WINDOWLIST);
    ASSERT_NE(nullptr, pWindows);
    EXPECT_STREQ("CQVTControlWindowList", pWindows->GetRuntimeClass()->m_lpszClassName);
    pControls->Remove(pWindows);
    CQVTControl* pToolbars = pControls->AddByType(qvtControlButton, QVT_ID_TOOLBARLIST);
    ASSERT_NE(nullptr, pToolbars);
    EXPECT_STREQ("CQVTControlToolbars", pToolbars->GetRuntimeClass()->m_lpszClassName);
    pControls->Remove(pToolbars);

    // A control of another collection is not removed here.
    CQVTControls* pOther = new CQVTControls();
    CQVTControl* pForeign = pOther->AddByType(qvtControlButton, 40);
    pControls->Remove(pForeign);
    EXPECT_EQ(1, pOther->GetCount());
    pControls->Remove(99);
    pControls->Remove(-1);
    EXPECT_EQ(5, pControls->GetCount());
    pControls->Remove(pB);
    EXPECT_EQ(4, pControls->GetCount());
    EXPECT_EQ(pC, pControls->GetAt(2));
    EXPECT_EQ(2, pC->GetIndex());
    pOther->InternalRelease();
    pControls->InternalRelease();
}

TEST(Controls, KeyboardOrderWrapsOnceAndSkipsHiddenFlaggedAndTemporaryControls)
{
    CQVTControls* pControls = new CQVTControls();
    for (int i = 0; i < 5; ++i)
        pControls->AddByType(qvtControlButton, 100 + i);
    EXPECT_EQ(0, pControls->GetNextIndex(-1, 1));
    EXPECT_EQ(4, pControls->GetNextIndex(-1, -1));
    EXPECT_EQ(0, pControls->GetNextIndex(4, 1));
    EXPECT_EQ(4, pControls->GetNextIndex(0, -1));
    pControls->GetAt(1)->SetVisible(FALSE);
    pControls->GetAt(2)->SetFlags(qvtFlagSkipFocus);
    pControls->GetAt(3)->SetTemporary(TRUE);
    EXPECT_EQ(2, pControls->GetNextIndex(0, 1));
    EXPECT_EQ(4, pControls->GetNextIndex(0, 1, TRUE));
    EXPECT_EQ(3, pControls->GetNextIndex(2, 1, FALSE, FALSE));
    // Hidden by a popup's layout a control still counts; hidden as rarely
    // used it counts only outside keyboard mode.
    pControls->GetAt(1)->SetVisible(TRUE);
    pControls->GetAt(1)->SetHideFlags(qvtHidePopup);
    EXPECT_EQ(1, pControls->GetNextIndex(0, 1));
    pControls->GetAt(1)->SetHideFlags(qvtHideExpand);
    EXPECT_EQ(1, pControls->GetNextIndex(0, 1));
    EXPECT_EQ(2, pControls->GetNextIndex(0, 1, FALSE, TRUE, TRUE));
    for (int i = 0; i < 5; ++i)
        pControls->GetAt(i)->SetVisible(FALSE);
    EXPECT_EQ(-1, pControls->GetNextIndex(0, 1));
    EXPECT_EQ(0, pControls->GetVisibleCount());
    EXPECT_EQ(nullptr, pControls->GetVisibleControl(0));
    pControls->InternalRelease();
}

TEST(Controls, ReTypingKeepsPopupKindsAndReplacesOtherKindsInPlace)
{
    CQVTControls* pControls = new CQVTControls();
    pControls->AddByType(qvtControlButton, 1);
    CQVTControl* pMiddle = pControls->AddByType(qvtControlButton, 2);
    pControls->AddByType(qvtControlButton, 3);
    pMiddle->SetCaption(_T("Middle"));
    pMiddle->SetType(qvtControlButtonPopup);
    EXPECT_EQ(pMiddle, pControls->SetControlType(pMiddle, qvtControlSplitButtonPopup));
    EXPECT_EQ(qvtControlSplitButtonPopup, pMiddle->GetType());

    CQVTControl* pButton = pControls->SetControlTypeAt(1, qvtControlButton);
    ASSERT_NE(nullptr, pButton);
    EXPECT_NE(pMiddle, pButton);
    EXPECT_EQ(3, pControls->GetCount());
    EXPECT_EQ(pButton, pControls->GetAt(1));
    EXPECT_EQ(CString(_T("Middle")), pButton->GetCaption());
    EXPECT_EQ(2, pButton->GetID());
    EXPECT_EQ(qvtControlButton, pButton->GetType());
    EXPECT_EQ(nullptr, pControls->SetControlTypeAt(7, qvtControlButton));
    EXPECT_EQ(nullptr, pControls->SetControlTypeAt(0, 0));
    pControls->InternalRelease();
}

TEST(Controls, TheOriginalCopyTellsWhetherTheUserChangedTheControls)
{
    CQVTControls* pControls = new CQVTControls();
    EXPECT_TRUE(pControls->IsChanged());
    for (int i = 0; i < 3; ++i)
        pControls->AddByType(qvtControlButton, 10 + i)->SetCaption(_T("Button"));
    pControls->CreateOriginalControls();
    ASSERT_NE(nullptr, pControls->GetOriginalControls());
    EXPECT_TRUE(pControls->GetOriginalControls()->IsOriginals());
    EXPECT_FALSE(pControls->IsChanged());

    // Temporary controls do not count.
    pControls->AddByType(qvtControlButton, 99, nullptr, -1, TRUE);
    EXPECT_FALSE(pControls->IsChanged());
    // Hiding by customization does, and so does any difference Compare sees.
    pControls->GetAt(0)->SetHideFlags(qvtHideCustomize);
    EXPECT_TRUE(pControls->IsChanged());
    pControls->GetAt(0)->SetHideFlags(qvtHideWrap);
    EXPECT_FALSE(pControls->IsChanged());
    pControls->GetAt(1)->SetCaption(_T("Renamed"));
    EXPECT_TRUE(pControls->IsChanged());
    pControls->GetAt(1)->SetCaption(_T("Button"));
    pControls->GetAt(2)->SetWidth(80);
    EXPECT_TRUE(pControls->IsChanged());
    pControls->GetAt(2)->SetWidth(0);

    // A duplicate has the non-temporary controls and its own original copy.
    CQVTControls* pCopy = pControls->Duplicate();
    EXPECT_EQ(3, pCopy->GetCount());
    EXPECT_FALSE(pCopy->IsChanged());
    EXPECT_NE(pControls->GetOriginalControls(), pCopy->GetOriginalControls());
    // Copies leave out the hide reasons of layouts.
    EXPECT_EQ(0u, pCopy->GetAt(0)->GetHideFlags());
    pCopy->InternalRelease();
    pControls->InternalRelease();
}

TEST(Controls, CaptionsPromptsAndIdsSplitTheirTextsOnce)
{
    CQVTControlButton* pButton = new CQVTControlButton();
    pButton->SetCaption(_T("Export\tCtrl+E"));
    EXPECT_EQ(CString(_T("Export")), pButton->GetCaption());
    EXPECT_EQ(CString(_T("Ctrl+E")), pButton->GetShortcutText());
    pButton->SetShortcutText(_T("F5"));
    EXPECT_EQ(CString(_T("F5")), pButton->GetShortcutText());
    pButton->SetCustomCaption(_T("Mine"));
    EXPECT_EQ(CString(_T("Mine")), pButton->GetCaption());

    CQVTControlButton* pBlank = new CQVTControlButton();
    pBlank->SetPrompt(_T("Only text"));
    EXPECT_EQ(CString(_T("Only text")), pBlank->GetCaption());
    EXPECT_EQ(CString(_T("Only text")), pBlank->GetTooltip());
    pBlank->SetCaption(_T(""));
    pBlank->SetPrompt(_T("Describe\nTip\nCaption\nK"));
    EXPECT_EQ(CString(_T("Describe")), pBlank->GetDescription());
    EXPECT_EQ(CString(_T("Tip")), pBlank->GetTooltip());
    EXPECT_EQ(CString(_T("Caption")), pBlank->GetCaption());
    EXPECT_EQ(CString(_T("K")), pBlank->GetKeyboardTip());
    // An id without a string keeps the texts.
    pBlank->SetID(12345);
    EXPECT_EQ(CString(_T("Tip")), pBlank->GetTooltip());
    pBlank->SetID(ID_TEST_NEW);
    EXPECT_EQ(CString(_T("New")), pBlank->GetTooltip());
    pButton->InternalRelease();
    pBlank->InternalRelease();
}

}  // namespace
