// The ribbon's keyboard as a user meets it: Alt shows numbered tips over
// the quick-access controls and letters over the tabs; a tab letter opens
// the tab's control tips; a control's tip runs its command, also in a
// reduced group through the group's popup; Escape steps back, F10 ends;
// arrows move between laid-out controls, wrapping along rows; Shift+F10
// opens the context menu at the selected control; keys no tip has beep.
#include <afxext.h>

#include <map>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/QVTRibbonResource.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

class RibbonKeyboard : public CRibbonFrameSuite
{
protected:
    CQVTCommandBars* Bars() const { return s_pHost->GetCommandBars(); }
    // A key pressed and released, dispatched through the bars.
    void Key(WORD wKey)
    {
        SendKey(wKey, false);
        SendKey(wKey, true);
        PumpHost(80);
    }
    // By value: typing a tip's first character may free the tip.
    void TypeText(CString strText)
    {
        for (int i = 0; i < strText.GetLength(); ++i)
            Key(static_cast<WORD>(strText[i]));
    }
    bool PressAltForTips()
    {
        Key(VK_MENU);
        return PumpFrameUntil([&] { return Bars()->GetKeyboardTipCount() > 0; });
    }
    // The tip shown for a target, null when it has none.
    CQVTCommandBarKeyboardTip* TipOf(CObject* pTarget) const
    {
        for (int i = 0; i < Bars()->GetKeyboardTipCount(); ++i)
            if (Bars()->GetKeyboardTip(i)->m_pTarget == pTarget)
                return Bars()->GetKeyboardTip(i);
        return nullptr;
    }
    static CRect TipRect(CQVTCommandBarKeyboardTip* pTip)
    {
        CRect rc;
        pTip->GetWindowRect(&rc);
        return rc;
    }
    CQVTControl* Selected() const { return m_pRibbon->GetControl(m_pRibbon->GetSelectedIndex()); }
    int CountOf(int nId) const
    {
        return static_cast<int>(std::count(s_pHost->m_commands.begin(), s_pHost->m_commands.end(), nId));
    }
};

TEST_F(RibbonKeyboard, AltShowsNumbersOverTheToolbarAndLettersOverTheTabs)
{
    for (int i = 0; i < kQuickAccessCount; ++i)
        ASSERT_TRUE(s_pHost->GetQuickAccess(i)->IsVisible()) << i;
    ASSERT_TRUE(PressAltForTips());
    EXPECT_TRUE(m_pRibbon->IsTrackingMode());
    EXPECT_EQ(1, Bars()->GetKeyboardTipsLevel(m_pRibbon));
    for (int i = 0; i < kQuickAccessCount; ++i)
    {
        CQVTControl* pControl = s_pHost->GetQuickAccess(i);
        CQVTCommandBarKeyboardTip* pTip = TipOf(pControl);
        if (i >= 18)
        {
            EXPECT_EQ(nullptr, pTip) << i;
            continue;
        }
        ASSERT_NE(nullptr, pTip) << i;
        CString strExpected;
        strExpected.Format(i < 9 ? _T("%d") : _T("0%d"), i < 9 ? i + 1 : i - 8);
        EXPECT_EQ(strExpected, pTip->m_strTip) << i;
        ASSERT_TRUE(pTip->IsWindowVisible()) << i;
        // Centred under the control's centre, its top 11 px above the
        // control's bottom.
        const CRect rcControl = s_pHost->ScreenRectOf(pControl);
        const CRect rcTip = TipRect(pTip);
        EXPECT_EQ(rcControl.CenterPoint().x, rcTip.left + rcTip.Width() / 2) << i;
        EXPECT_EQ(rcControl.bottom - ScaleY(11), rcTip.top) << i;
    }
    for (int i = 0; i < m_pRibbon->GetTabCount(); ++i)
    {
        CQVTRibbonTab* pTab = m_pRibbon->GetTab(i);
        CQVTCommandBarKeyboardTip* pTip = TipOf(pTab);
        ASSERT_NE(nullptr, pTip) << i;
        CRect rcTab = pTab->GetRect();
        m_pRibbon->ClientToScreen(&rcTab);
        const CRect rcTip = TipRect(pTip);
        EXPECT_EQ(rcTab.CenterPoint().x, rcTip.left + rcTip.Width() / 2) << i;
        EXPECT_EQ(rcTab.bottom - ScaleY(9), rcTip.top) << i;
    }
    // The Options tab gives its own tip; Home and Help share a first letter.
    EXPECT_EQ(_T("O"), TipOf(m_pRibbon->GetTab(1))->m_strTip);
    EXPECT_EQ(_T('H'), TipOf(m_pRibbon->GetTab(0))->m_strTip[0]);
    EXPECT_NE(TipOf(m_pRibbon->GetTab(0))->m_strTip, TipOf(m_pRibbon->GetTab(2))->m_strTip);

    // A digit runs the numbered command once.
    Key('3');
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kFirstQuickAccessId + 2}, s_pHost->m_commands);
    EXPECT_EQ(0, Bars()->GetKeyboardTipCount());
}

TEST_F(RibbonKeyboard, ATabLetterOpensItsControlTipsAndAControlTipRunsItsCommandOnce)
{
    ASSERT_TRUE(PressAltForTips());
    Key('O');
    ASSERT_TRUE(PumpFrameUntil([&] { return Bars()->GetKeyboardTipsLevel(m_pRibbon) == 2; }));
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    CQVTControl* pFolder = s_pHost->FindControl(ID_RIBBON_FOLDER);
    CQVTCommandBarKeyboardTip* pTip = TipOf(pFolder);
    ASSERT_NE(nullptr, pTip);
    EXPECT_TRUE(pTip->IsWindowVisible());
    EXPECT_EQ(nullptr, TipOf(s_pHost->GetQuickAccess(0)));

    // Escape goes back to the first level.
    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpFrameUntil([&] { return Bars()->GetKeyboardTipsLevel(m_pRibbon) == 1; }));
    EXPECT_NE(nullptr, TipOf(s_pHost->GetQuickAccess(0)));
    Key('O');
    ASSERT_TRUE(PumpFrameUntil([&] { return Bars()->GetKeyboardTipsLevel(m_pRibbon) == 2; }));

    const CString strTip = TipOf(pFolder)->m_strTip;
    TypeText(strTip);
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    PumpHost(100);
    EXPECT_EQ(1, CountOf(ID_RIBBON_FOLDER));
    EXPECT_EQ(1u, s_pHost->m_commands.size());
}

TEST_F(RibbonKeyboard, AControlOfAReducedGroupIsReachedThroughItsPopup)
{
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    int nWidth = 700;
    while (!pFiles->IsReduced() && nWidth > 260)
    {
        nWidth -= 20;
        s_pHost->ResizeClient(nWidth, 400);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    }
    ASSERT_TRUE(pFiles->IsReduced());
    ASSERT_TRUE(PressAltForTips());
    CQVTCommandBarKeyboardTip* pHomeTip = TipOf(m_pRibbon->GetTab(0));
    ASSERT_NE(nullptr, pHomeTip);
    TypeText(pHomeTip->m_strTip);
    ASSERT_TRUE(PumpFrameUntil([&] { return Bars()->GetKeyboardTipsLevel(m_pRibbon) == 2; }));
    CQVTControl* pDelete = s_pHost->FindControl(ID_RIBBON_DELETE);
    CQVTCommandBarKeyboardTip* pTip = TipOf(pDelete);
    ASSERT_NE(nullptr, pTip);
    // The control is out of sight: its tip is not shown but can be typed.
    EXPECT_FALSE(pTip->m_bVisible);
    EXPECT_EQ(nullptr, pTip->GetSafeHwnd());
    TypeText(pTip->m_strTip);
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    PumpHost(100);
    EXPECT_EQ(std::vector<int>{ID_RIBBON_DELETE}, s_pHost->m_commands);
}

TEST_F(RibbonKeyboard, F10EndsAndKeysWithoutATipBeepAndChangeNothing)
{
    ASSERT_TRUE(PressAltForTips());
    const int nTips = Bars()->GetKeyboardTipCount();
    const LONG nBeeps = CQVTCommandBars::GetBeepCount();
    Key('Q');
    EXPECT_EQ(nBeeps + 1, CQVTCommandBars::GetBeepCount());
    EXPECT_EQ(nTips, Bars()->GetKeyboardTipCount());
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
    EXPECT_TRUE(s_pHost->m_commands.empty());
    Key(VK_F10);
    ASSERT_TRUE(PumpFrameUntil([&] { return !m_pRibbon->IsTrackingMode(); }));
    EXPECT_EQ(0, Bars()->GetKeyboardTipCount());
}

TEST_F(RibbonKeyboard, ArrowsWrapAlongRowsStopAtTheBottomAndShiftF10OpensTheContextMenuThere)
{
    ASSERT_TRUE(PressAltForTips());
    Key(VK_DOWN);
    CQVTControl* pRecord = s_pHost->FindControl(ID_RIBBON_RECORD);
    ASSERT_EQ(pRecord, Selected());
    // Nothing lies below: the selection stays.
    Key(VK_DOWN);
    EXPECT_EQ(pRecord, Selected());
    // Right along the row of large buttons, then past the row's last
    // control back to its first.
    Key(VK_RIGHT);
    EXPECT_EQ(s_pHost->FindControl(ID_RIBBON_PAUSE), Selected());
    CQVTControl* pDelete = s_pHost->FindControl(ID_RIBBON_DELETE);
    m_pRibbon->SetSelected(pDelete->GetIndex(), CQVTCommandBar::selectByKeyboardForward);
    Key(VK_RIGHT);
    EXPECT_EQ(pRecord, Selected());
    // Left from the row's first wraps to the control ending furthest right.
    Key(VK_LEFT);
    EXPECT_EQ(s_pHost->FindControl(ID_RIBBON_INFO), Selected());

    // Shift+F10: the context menu of the selected control at its corner.
    std::atomic<bool> bPlaced{false};
    CRect rcMenu;
    CQVTControl* pTarget = Selected();
    const CRect rcTarget = s_pHost->ScreenRectOf(pTarget);
    ASSERT_TRUE(RunInputScript([&] {
        SendKey(VK_SHIFT, false);
        SendKey(VK_F10, false);
        SendKey(VK_F10, true);
        SendKey(VK_SHIFT, true);
        for (int i = 0; i < 200 && s_pHost->m_nMenusOffered == 0; ++i)
            ::Sleep(10);
        ::Sleep(200);
        HWND hMenu = ::GetForegroundWindow();
        for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        {
            CRect rc;
            ::GetWindowRect(hWnd, &rc);
            if (::IsWindowVisible(hWnd) && rc.TopLeft() == rcTarget.TopLeft() && hWnd != hMenu)
            {
                rcMenu = rc;
                bPlaced = true;
            }
        }
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
    }));
    ASSERT_EQ(1u, s_pHost->m_menus.size());
    const std::vector<int>& ids = s_pHost->m_menus[0];
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), QVT_ID_RIBBONMENU_ADD));
    EXPECT_TRUE(bPlaced);
    EXPECT_TRUE(s_pHost->m_commands.empty());
}

TEST_F(RibbonKeyboard, ReachingAControlOutOfViewScrollsItIn)
{
    CQVTRibbonTab* pHome = m_pRibbon->GetTab(0);
    for (int i = 0; i < 8; ++i)
    {
        CQVTRibbonGroup* pGroup = pHome->AddGroup(_T("More"), 4200 + i);
        pGroup->Add(qvtControlButton, 3330 + 2 * i, _T("One"));
        pGroup->Add(qvtControlButton, 3331 + 2 * i, _T("Two"));
    }
    s_pHost->ResizeClient(ScaleX(300), 400);
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    ASSERT_TRUE(m_pRibbon->GetScrollButtonRight()->IsVisible());
    ASSERT_TRUE(PressAltForTips());
    Key(VK_DOWN);
    ASSERT_NE(nullptr, Selected());
    const CRect rcGroups = m_pRibbon->GetGroupsRect();
    BOOL bScrolled = FALSE;
    for (int i = 0; i < 14; ++i)
    {
        Key(VK_RIGHT);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
        CQVTControl* pSelected = Selected();
        ASSERT_NE(nullptr, pSelected);
        const CRect rc = pSelected->GetRect();
        EXPECT_LE(rc.right, rcGroups.right) << i;
        EXPECT_GE(rc.left, rcGroups.left) << i;
        bScrolled = bScrolled || m_pRibbon->GetGroupsScrollPos() > 0;
    }
    EXPECT_TRUE(bScrolled);
}

TEST_F(RibbonKeyboard, ADigitBeyondTheVisibleToolbarControlsDoesNothing)
{
    CQVTRibbonQuickAccessControls* pQuickAccess = m_pRibbon->GetQuickAccessControls();
    while (pQuickAccess->GetCount() > 2)
        pQuickAccess->Remove(pQuickAccess->GetAt(pQuickAccess->GetCount() - 1));
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    EXPECT_FALSE(m_pRibbon->OnMnemonicKey('3'));
    PumpHost(50);
    EXPECT_TRUE(s_pHost->m_commands.empty());
    EXPECT_TRUE(m_pRibbon->OnMnemonicKey('2'));
    PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); });
    EXPECT_EQ(std::vector<int>{kFirstQuickAccessId + 1}, s_pHost->m_commands);
    // Alt without tabs is not the ribbon's.
    CQVTCommandBars::ClosePopups(Bars());
    m_pRibbon->RemoveAllTabs();
    EXPECT_FALSE(m_pRibbon->OnMnemonicKey(VK_MENU));
}
