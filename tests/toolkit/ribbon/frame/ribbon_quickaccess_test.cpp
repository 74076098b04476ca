// The quick-access toolbar as a user meets it in a frame like the main
// window: its customize menu lists the source commands with checks and adds
// or removes their copies, moves the toolbar below the ribbon, hands "More
// Commands..." to the site; a right-click on a control offers removal, not
// addition; a narrow window's more button lists exactly what did not fit;
// controls dropped while customizing land in groups, never on the toolbar.
#include <afxext.h>

#include <memory>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/QVTRibbonResource.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/bar/QVTRibbonQuickAccess.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class RibbonQuickAccess : public CRibbonFrameSuite
{
protected:
    // Opens the customize menu with a click; null when it did not open.
    CQVTPopupBar* OpenCustomizeMenu()
    {
        CQVTControl* pButton = s_pHost->GetCustomizeButton();
        MouseClickAt(s_pHost->ScreenRectOf(pButton).CenterPoint());
        PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pButton) != nullptr; });
        return s_pHost->GetOpenPopup(pButton);
    }
    static CQVTControl* FindItem(CQVTCommandBar* pMenu, int nId)
    {
        for (int i = 0; i < pMenu->GetControlCount(); ++i)
            if (pMenu->GetControl(i)->GetID() == nId && pMenu->GetControl(i)->IsVisible())
                return pMenu->GetControl(i);
        return nullptr;
    }
    static CQVTRibbonBarControlQuickAccessCommand* CommandItem(CQVTCommandBar* pMenu, int nIndex)
    {
        for (int i = 0; i < pMenu->GetControlCount(); ++i)
        {
            auto* pItem = DYNAMIC_DOWNCAST(CQVTRibbonBarControlQuickAccessCommand, pMenu->GetControl(i));
            if (pItem && nIndex-- == 0)
                return pItem;
        }
        return nullptr;
    }
    int QuickAccessCount() const { return m_pRibbon->GetQuickAccessControls()->GetCount(); }
    // What the screen shows of a rectangle of the ribbon's client area.
    std::vector<COLORREF> PixelsOf(CRect rc) const
    {
        std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pRibbon->GetSafeHwnd());
        CRect rcWindow;
        m_pRibbon->GetWindowRect(&rcWindow);
        m_pRibbon->ClientToScreen(&rc);
        rc.OffsetRect(-rcWindow.left, -rcWindow.top);
        std::vector<COLORREF> pixels;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                pixels.push_back(canvas->At(x, y));
        return pixels;
    }
};

TEST_F(RibbonQuickAccess, TheCustomizeMenuListsTheCommandsWithChecksAndTogglesTheirCopies)
{
    const std::vector<COLORREF> thirdShown = PixelsOf(s_pHost->GetQuickAccess(2)->GetRect());
    CQVTPopupBar* pMenu = OpenCustomizeMenu();
    ASSERT_NE(nullptr, pMenu);
    // The title, one checked item per source command, and no add or remove.
    ASSERT_NE(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_TITLE));
    EXPECT_EQ(qvtControlLabel, FindItem(pMenu, QVT_ID_RIBBONMENU_TITLE)->GetType());
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_REMOVE));
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_ADD));
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_COMMANDS));
    EXPECT_NE(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_SHOWBELOW));
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_SHOWABOVE));
    for (int i = 0; i < kQuickAccessCount; ++i)
    {
        ASSERT_NE(nullptr, CommandItem(pMenu, i)) << i;
        EXPECT_TRUE(CommandItem(pMenu, i)->GetChecked()) << i;
    }
    EXPECT_EQ(_T("Command 3"), CommandItem(pMenu, 2)->GetCaption());

    // Choosing a checked command takes its copy out of the caption row.
    CQVTControl* pThird = s_pHost->GetQuickAccess(2);
    const CRect rcThird = pThird->GetRect();
    const CRect rcFourth = s_pHost->GetQuickAccess(3)->GetRect();
    MouseClickAt(s_pHost->ScreenRectOf(CommandItem(pMenu, 2)).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return QuickAccessCount() == kQuickAccessCount - 1; }));
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    EXPECT_FALSE(m_pRibbon->GetQuickAccessControls()->Contains(pThird));
    // The fourth command moved into the third one's place.
    EXPECT_EQ(rcThird.left, s_pHost->GetQuickAccess(2)->GetRect().left);
    EXPECT_EQ(kFirstQuickAccessId + 3, s_pHost->GetQuickAccess(2)->GetID());
    EXPECT_NE(rcFourth.left, s_pHost->GetQuickAccess(2)->GetRect().left);
    // The caption row shows the fourth command's icon there now.
    EXPECT_NE(thirdShown, PixelsOf(rcThird));

    // The menu shows it unchecked now; choosing it appends a copy again.
    pMenu = OpenCustomizeMenu();
    ASSERT_NE(nullptr, pMenu);
    EXPECT_FALSE(CommandItem(pMenu, 2)->GetChecked());
    EXPECT_TRUE(CommandItem(pMenu, 3)->GetChecked());
    MouseClickAt(s_pHost->ScreenRectOf(CommandItem(pMenu, 2)).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return QuickAccessCount() == kQuickAccessCount; }));
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    CQVTControl* pAdded = s_pHost->GetQuickAccess(kQuickAccessCount - 1);
    EXPECT_EQ(kFirstQuickAccessId + 2, pAdded->GetID());
    EXPECT_TRUE(pAdded->IsVisible());
    EXPECT_GT(pAdded->GetRect().left, s_pHost->GetQuickAccess(kQuickAccessCount - 2)->GetRect().left);
    EXPECT_EQ(thirdShown, PixelsOf(pAdded->GetRect()));
    EXPECT_EQ(m_pRibbon->GetQuickAccessRect().top < m_pRibbon->GetGroupsRect().top, TRUE);
    // No command ran on the way.
    EXPECT_TRUE(s_pHost->m_commands.empty());
}

TEST_F(RibbonQuickAccess, ShowBelowMovesTheToolbarUnderTheGroups)
{
    CQVTPopupBar* pMenu = OpenCustomizeMenu();
    ASSERT_NE(nullptr, pMenu);
    CQVTControl* pBelow = FindItem(pMenu, QVT_ID_RIBBONMENU_SHOWBELOW);
    ASSERT_NE(nullptr, pBelow);
    MouseClickAt(s_pHost->ScreenRectOf(pBelow).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pRibbon->IsQuickAccessBelowRibbon() == TRUE; }));
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    EXPECT_GE(s_pHost->GetQuickAccess(0)->GetRect().top, m_pRibbon->GetGroupsRect().bottom);

    // The menu now offers the way back.
    pMenu = OpenCustomizeMenu();
    ASSERT_NE(nullptr, pMenu);
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_SHOWBELOW));
    CQVTControl* pAbove = FindItem(pMenu, QVT_ID_RIBBONMENU_SHOWABOVE);
    ASSERT_NE(nullptr, pAbove);
    MouseClickAt(s_pHost->ScreenRectOf(pAbove).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pRibbon->IsQuickAccessBelowRibbon() == FALSE; }));
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    EXPECT_LT(s_pHost->GetQuickAccess(0)->GetRect().bottom, m_pRibbon->GetTabControlRect().top + 1);
}

TEST_F(RibbonQuickAccess, MoreCommandsReachesTheSitesHandler)
{
    CQVTPopupBar* pMenu = OpenCustomizeMenu();
    ASSERT_NE(nullptr, pMenu);
    CQVTControl* pMore = FindItem(pMenu, QVT_ID_RIBBONMENU_CUSTOMIZE);
    ASSERT_NE(nullptr, pMore);
    MouseClickAt(s_pHost->ScreenRectOf(pMore).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(1, s_pHost->m_nCustomizeNotifies);
    EXPECT_EQ(std::vector<int>{QVT_ID_RIBBONMENU_CUSTOMIZE}, s_pHost->m_commands);
    EXPECT_EQ(nullptr, s_pHost->GetOpenPopup(s_pHost->GetCustomizeButton()));
}

TEST_F(RibbonQuickAccess, ARightClickOnAToolbarControlOffersRemovalOnly)
{
    const CPoint pt = s_pHost->ScreenRectOf(s_pHost->GetQuickAccess(4)).CenterPoint();
    MouseMoveTo(pt);
    // The menu tracks in a loop of its own: it is closed from a second
    // thread once the site was offered it.
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP);
        for (int i = 0; i < 200 && s_pHost->m_nMenusOffered == 0; ++i)
            ::Sleep(10);
        ::Sleep(150);
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
    }));
    ASSERT_EQ(1u, s_pHost->m_menus.size());
    const std::vector<int>& ids = s_pHost->m_menus[0];
    auto has = [&](int nId) { return std::find(ids.begin(), ids.end(), nId) != ids.end(); };
    EXPECT_TRUE(has(QVT_ID_RIBBONMENU_REMOVE));
    EXPECT_FALSE(has(QVT_ID_RIBBONMENU_ADD));
    EXPECT_TRUE(has(QVT_ID_RIBBONMENU_CUSTOMIZE));
    EXPECT_TRUE(has(QVT_ID_RIBBONMENU_SHOWBELOW));
    EXPECT_TRUE(has(QVT_ID_RIBBONMENU_MINIMIZE));
    EXPECT_EQ(kQuickAccessCount, QuickAccessCount());
}

TEST_F(RibbonQuickAccess, ContextMenuCommandsAddRemoveAndMinimize)
{
    // Built for a group's control, the menu offers addition; its command
    // appends an icon-only copy. For that copy it offers removal.
    CQVTControl* pPlay = s_pHost->FindControl(ID_RIBBON_PLAY);
    CQVTPopupBar* pMenu = m_pRibbon->CreateContextMenu(pPlay);
    ASSERT_NE(nullptr, pMenu);
    CQVTControl* pAdd = FindItem(pMenu, QVT_ID_RIBBONMENU_ADD);
    ASSERT_NE(nullptr, pAdd);
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_REMOVE));
    EXPECT_FALSE(FindItem(pMenu, QVT_ID_RIBBONMENU_MINIMIZE)->GetChecked());
    pAdd->OnExecute();
    pMenu->InternalRelease();
    ASSERT_EQ(kQuickAccessCount + 1, QuickAccessCount());
    CQVTControl* pCopy = s_pHost->GetQuickAccess(kQuickAccessCount);
    EXPECT_EQ(ID_RIBBON_PLAY, pCopy->GetID());
    EXPECT_EQ(nullptr, pCopy->GetRibbonGroup());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessControl(pCopy));
    // A second copy is not allowed.
    EXPECT_FALSE(m_pRibbon->IsAllowQuickAccessControl(pPlay));

    pMenu = m_pRibbon->CreateContextMenu(pCopy);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_EQ(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_ADD));
    ASSERT_NE(nullptr, FindItem(pMenu, QVT_ID_RIBBONMENU_REMOVE));
    FindItem(pMenu, QVT_ID_RIBBONMENU_REMOVE)->OnExecute();
    EXPECT_EQ(kQuickAccessCount, QuickAccessCount());

    // Minimize is checked while minimized and disabled without tabs.
    FindItem(pMenu, QVT_ID_RIBBONMENU_MINIMIZE)->OnExecute();
    pMenu->InternalRelease();
    EXPECT_TRUE(m_pRibbon->IsRibbonMinimized());
    pMenu = m_pRibbon->CreateContextMenu(pPlay);
    EXPECT_TRUE(FindItem(pMenu, QVT_ID_RIBBONMENU_MINIMIZE)->GetChecked());
    pMenu->InternalRelease();
    m_pRibbon->SetRibbonMinimized(FALSE);
    m_pRibbon->RemoveAllTabs();
    pMenu = m_pRibbon->CreateContextMenu(s_pHost->GetQuickAccess(0));
    EXPECT_FALSE(FindItem(pMenu, QVT_ID_RIBBONMENU_MINIMIZE)->GetEnabled());
    EXPECT_FALSE(FindItem(pMenu, QVT_ID_RIBBONMENU_MINIMIZE)->GetChecked());
    pMenu->InternalRelease();
}

TEST_F(RibbonQuickAccess, ANarrowWindowsMorePopupListsExactlyTheHiddenControls)
{
    s_pHost->ResizeClient(520, 360);
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    std::vector<int> hidden;
    for (int i = 0; i < QuickAccessCount(); ++i)
        if (s_pHost->GetQuickAccess(i)->GetHideFlags() & qvtHideWrap)
            hidden.push_back(s_pHost->GetQuickAccess(i)->GetID());
    ASSERT_FALSE(hidden.empty());
    ASSERT_LT(hidden.size(), static_cast<size_t>(kQuickAccessCount));
    CQVTControl* pMore = s_pHost->GetMoreButton();
    ASSERT_TRUE(pMore->IsVisible());

    MouseClickAt(s_pHost->ScreenRectOf(pMore).CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pMore) != nullptr; }));
    CQVTPopupBar* pPopup = s_pHost->GetOpenPopup(pMore);
    ASSERT_TRUE(pPopup->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarMorePopupToolBar)));
    std::vector<int> shown;
    for (int i = 0; i < pPopup->GetControlCount(); ++i)
    {
        EXPECT_TRUE(pPopup->GetControl(i)->IsVisible()) << i;
        shown.push_back(pPopup->GetControl(i)->GetID());
    }
    hidden.push_back(QVT_ID_RIBBONCONTROLQUICKACCESS);
    EXPECT_EQ(hidden, shown);
    KeyPress(VK_ESCAPE);
    PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pMore) == nullptr; });
}

TEST_F(RibbonQuickAccess, CustomizeDropsLandInGroupsAndNeverOnTheToolbar)
{
    CQVTControl* pPlay = s_pHost->FindControl(ID_RIBBON_PLAY);
    CQVTControl* pRecord = s_pHost->FindControl(ID_RIBBON_RECORD);
    CQVTRibbonGroup* pRecordGroup = s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD);
    const int nBarCount = m_pRibbon->GetControlCount();
    const int nGroupCount = pRecordGroup->GetCount();
    const CPoint ptOnRecord(pRecord->GetRect().right - 2, pRecord->GetRect().CenterPoint().y);
    auto unchanged = [&] {
        return m_pRibbon->GetControlCount() == nBarCount && pRecordGroup->GetCount() == nGroupCount &&
               QuickAccessCount() == kQuickAccessCount && !s_pHost->GetCommandBars()->GetDragControl() &&
               s_pHost->m_nDragControlChanges == 0;
    };

    // A ribbon that is not customizable takes no drop.
    EXPECT_EQ(qvtDropEffectNone, m_pRibbon->InsertControlAt(pPlay, ptOnRecord, ptOnRecord));
    EXPECT_TRUE(unchanged());

    // Over the quick access toolbar no mark shows and a drop changes
    // nothing; nor does a drop beside the tabs, where no control is.
    m_pRibbon->SetCustomizable(TRUE);
    BOOL bAfter = FALSE;
    CRect rcMark;
    const CPoint ptQuick = s_pHost->GetQuickAccess(1)->GetRect().CenterPoint();
    EXPECT_NE(-1, m_pRibbon->CalcInsertPosition(pPlay, ptQuick, bAfter, rcMark));
    EXPECT_TRUE(rcMark.IsRectEmpty());
    EXPECT_EQ(qvtDropEffectNone, m_pRibbon->InsertControlAt(pPlay, ptQuick, ptQuick));
    const CRect rcTabRow = m_pRibbon->GetTabControlRect();
    const CPoint ptBesideTabs(rcTabRow.right - ScaleX(10), rcTabRow.CenterPoint().y);
    EXPECT_EQ(-1, m_pRibbon->CalcInsertPosition(pPlay, ptBesideTabs, bAfter, rcMark));
    EXPECT_EQ(qvtDropEffectNone, m_pRibbon->InsertControlAt(pPlay, ptBesideTabs, ptBesideTabs));
    EXPECT_TRUE(unchanged());

    // A group's free place takes the control at the group's end, the mark
    // at the group's top-left; the copy becomes the drag control.
    const CPoint ptFree = pRecordGroup->GetCaptionRect().CenterPoint();
    ASSERT_EQ(nullptr, m_pRibbon->GetControls()->HitTest(ptFree));
    const int nIndex = m_pRibbon->CalcInsertPosition(pPlay, ptFree, bAfter, rcMark);
    const CRect rcGroup = pRecordGroup->GetRect();
    EXPECT_EQ(CRect(rcGroup.left + ScaleX(2), rcGroup.top + ScaleY(2), rcGroup.left + ScaleX(8),
                    rcGroup.top + ScaleY(22)),
              rcMark);
    EXPECT_FALSE(bAfter);
    EXPECT_EQ(pRecordGroup->GetControlGroupOption()->GetIndex(), nIndex);
    EXPECT_EQ(qvtDropEffectMove, m_pRibbon->InsertControlAt(pPlay, ptFree, ptFree));
    ASSERT_EQ(nGroupCount + 1, pRecordGroup->GetCount());
    CQVTControl* pAtEnd = pRecordGroup->GetAt(nGroupCount);
    EXPECT_EQ(ID_RIBBON_PLAY, pAtEnd->GetID());
    EXPECT_NE(pPlay, pAtEnd);
    EXPECT_EQ(pAtEnd, s_pHost->GetCommandBars()->GetDragControl());
    EXPECT_EQ(1, s_pHost->m_nDragControlChanges);
    EXPECT_TRUE(m_pRibbon->GetInsertMark().IsRectEmpty());
    // The drag control is held: removed from its group, it still answers.
    pRecordGroup->Remove(pAtEnd);
    EXPECT_EQ(ID_RIBBON_PLAY, s_pHost->GetCommandBars()->GetDragControl()->GetID());

    // On a control's right half it lands after it; on the left half of a
    // control that begins a group it lands before and takes the separator.
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    CQVTControl* pStop = s_pHost->FindControl(ID_RIBBON_STOP);
    const CRect rcStop = pStop->GetRect();
    EXPECT_EQ(qvtDropEffectCopy,
              m_pRibbon->InsertControlAt(pPlay, ptFree, CPoint(rcStop.right - 2, rcStop.CenterPoint().y),
                                         qvtDropEffectCopy));
    ASSERT_EQ(nGroupCount + 1, pRecordGroup->GetCount());
    EXPECT_EQ(ID_RIBBON_PLAY, pRecordGroup->GetAt(pRecordGroup->IndexOf(pStop) + 1)->GetID());
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    pRecord->SetBeginGroup(TRUE);
    const CRect rcRecord = pRecord->GetRect();
    m_pRibbon->InsertControlAt(pPlay, ptFree, CPoint(rcRecord.left + 2, rcRecord.CenterPoint().y));
    ASSERT_EQ(nGroupCount + 2, pRecordGroup->GetCount());
    EXPECT_EQ(ID_RIBBON_PLAY, pRecordGroup->GetAt(0)->GetID());
    EXPECT_TRUE(pRecordGroup->GetAt(0)->GetBeginGroup());
    EXPECT_FALSE(pRecord->GetBeginGroup());

    // Dropped on itself: a tiny drag changes nothing, a longer one past its
    // middle sets the separator before it.
    PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
    CQVTControl* pPause = s_pHost->FindControl(ID_RIBBON_PAUSE);
    const CRect rcPause = pPause->GetRect();
    const CPoint ptRight(rcPause.CenterPoint().x + 1, rcPause.CenterPoint().y);
    EXPECT_EQ(qvtDropEffectCancelled, m_pRibbon->InsertControlAt(pPause, ptRight - CSize(1, 1), ptRight));
    EXPECT_FALSE(pPause->GetBeginGroup());
    EXPECT_EQ(qvtDropEffectCancelled,
              m_pRibbon->InsertControlAt(pPause, ptRight - CSize(ScaleX(10), 0), ptRight));
    EXPECT_TRUE(pPause->GetBeginGroup());
    EXPECT_EQ(nGroupCount + 2, pRecordGroup->GetCount());
    s_pHost->GetCommandBars()->SetDragControl(nullptr);
    EXPECT_EQ(4, s_pHost->m_nDragControlChanges);
}

TEST_F(RibbonQuickAccess, ItsTwoButtonsAreARowHighAndThirteenTwentySecondsOfItWide)
{
    CQVTPaintManager* pPaintManager = m_pRibbon->GetPaintManager();
    pPaintManager->SetFontHeight(20);
    const int nRow = m_pRibbon->GetRibbonPaintManager()->GetRowHeight();
    ASSERT_NE(QVTDpiScaler()->ScaleY(22), nRow) << "a row other than the classic one";
    const CSize szExpected(nRow * QVTDpiScaler()->ScaleY(13) / QVTDpiScaler()->ScaleY(22), nRow);
    CClientDC dc(m_pRibbon);
    EXPECT_EQ(szExpected, s_pHost->GetCustomizeButton()->GetSize(&dc));
    EXPECT_EQ(szExpected, s_pHost->GetMoreButton()->GetSize(&dc));
    pPaintManager->SetFontHeight(0);
    const int nClassicRow = m_pRibbon->GetRibbonPaintManager()->GetRowHeight();
    EXPECT_EQ(CSize(nClassicRow * QVTDpiScaler()->ScaleY(13) / QVTDpiScaler()->ScaleY(22), nClassicRow),
              s_pHost->GetCustomizeButton()->GetSize(&dc));
}

// A customize drop from another bar: the quick access toolbar takes none and
// the source keeps its control (the drop is cancelled, not lost); a group's
// free place takes a copy at the group's end.
TEST_F(RibbonQuickAccess, ADropFromAnotherBarLandsInAGroupAndIsCancelledOnTheToolbar)
{
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBars->Add(_T("Drag source"), qvtBarTop));
    ASSERT_NE(nullptr, pToolBar);
    const UINT nId = ID_RIBBON_PLAY;
    pToolBar->SetButtons(&nId, 1);
    CQVTControl* pDragged = pToolBar->GetControl(0);
    m_pRibbon->SetCustomizable(TRUE);
    CQVTRibbonGroup* pRecordGroup = s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD);
    const int nGroupCount = pRecordGroup->GetCount();

    const CPoint ptQuick = s_pHost->GetQuickAccess(1)->GetRect().CenterPoint();
    DWORD dwEffect = qvtDropEffectMove;
    m_pRibbon->OnCustomizeDrop(pDragged, dwEffect, ptQuick, ptQuick);
    EXPECT_EQ(static_cast<DWORD>(qvtDropEffectCancelled), dwEffect);
    EXPECT_EQ(kQuickAccessCount, QuickAccessCount());
    EXPECT_EQ(nGroupCount, pRecordGroup->GetCount());

    const CPoint ptFree = pRecordGroup->GetCaptionRect().CenterPoint();
    dwEffect = qvtDropEffectMove;
    m_pRibbon->OnCustomizeDrop(pDragged, dwEffect, ptFree, ptFree);
    EXPECT_EQ(static_cast<DWORD>(qvtDropEffectMove), dwEffect);
    ASSERT_EQ(nGroupCount + 1, pRecordGroup->GetCount());
    EXPECT_EQ(static_cast<int>(nId), pRecordGroup->GetAt(nGroupCount)->GetID());
    EXPECT_TRUE(m_pRibbon->GetInsertMark().IsRectEmpty());
    pBars->SetDragControl(nullptr);
    pBars->Remove(pToolBar);
}

// The same drops made with the mouse from a toolbar below the ribbon: onto a
// group a copy lands there, onto the quick access toolbar nothing changes.
TEST_F(RibbonQuickAccess, AMouseDragFromAToolbarCopiesIntoAGroupButNotOntoTheToolbar)
{
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBars->Add(_T("Drag source"), qvtBarTop));
    ASSERT_NE(nullptr, pToolBar);
    const UINT nId = ID_RIBBON_PLAY;
    pToolBar->SetButtons(&nId, 1);
    m_pRibbon->SetCustomizable(TRUE);
    pBars->RecalcFrameLayout();
    pBars->SetCustomizeMode(TRUE);
    PumpHost(40);
    ASSERT_TRUE(pToolBar->IsWindowVisible());
    CQVTRibbonGroup* pRecordGroup = s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD);
    const int nGroupCount = pRecordGroup->GetCount();
    const DWORD dwUiThread = ::GetCurrentThreadId();
    auto drag = [&](POINT ptTo) {
        const POINT ptFrom = s_pHost->ScreenRectOf(pToolBar->GetControl(0)).CenterPoint();
        bool bCaptured = false;
        RunInputScript([&] {
            ScriptMouseMove(ptFrom, 60);
            ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 60);
            bCaptured = ScriptWaitForCapture(dwUiThread, true, 3000);
            ScriptMouseMove(POINT{(ptFrom.x + ptTo.x) / 2, (ptFrom.y + ptTo.y) / 2}, 60);
            ScriptMouseMove(ptTo, 150);
            ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60);
            ScriptWaitForCapture(dwUiThread, false, 3000);
        });
        PumpHost(60);
        return bCaptured;
    };

    ASSERT_TRUE(drag(s_pHost->ScreenRectOf(s_pHost->GetQuickAccess(1)).CenterPoint()));
    EXPECT_EQ(kQuickAccessCount, QuickAccessCount());
    EXPECT_EQ(nGroupCount, pRecordGroup->GetCount());
    ASSERT_NE(nullptr, pToolBar->GetControls()->FindControl(static_cast<int>(nId)));

    CPoint ptGroup = pRecordGroup->GetCaptionRect().CenterPoint();
    m_pRibbon->ClientToScreen(&ptGroup);
    ASSERT_TRUE(drag(ptGroup));
    ASSERT_EQ(nGroupCount + 1, pRecordGroup->GetCount());
    EXPECT_EQ(static_cast<int>(nId), pRecordGroup->GetAt(nGroupCount)->GetID());
    pBars->SetCustomizeMode(FALSE);
    pBars->SetDragControl(nullptr);
    pBars->Remove(pToolBar);
}

// While customizing, a click on a tab of a customizable ribbon makes the tab
// strip the control the customize window acts on; outside customize mode, or
// on a ribbon that is not customizable, the drag control stays as it was.
TEST_F(RibbonQuickAccess, WhileCustomizingAClickedTabBecomesTheDragControl)
{
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    CQVTRibbonControlTab* pTabs = m_pRibbon->GetControlTab();
    CQVTTabManagerItem* pTab = m_pRibbon->GetTab(0);
    ASSERT_NE(nullptr, pTab);
    pTabs->OnItemClick(pTab);
    EXPECT_EQ(nullptr, pBars->GetDragControl());
    pBars->SetCustomizeMode(TRUE);
    pTabs->OnItemClick(pTab);
    EXPECT_EQ(nullptr, pBars->GetDragControl()) << "the ribbon is not customizable";
    m_pRibbon->SetCustomizable(TRUE);
    pTabs->OnItemClick(pTab);
    EXPECT_EQ(static_cast<CQVTControl*>(pTabs), pBars->GetDragControl());
    pBars->SetCustomizeMode(FALSE);
}
