// A strip in a real window driven by real mouse and keyboard input: what
// the strip selects, highlights, reorders and reports, in the order the
// host hears it.
#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "real_input.h"
#include "tests/toolkit/tabmanager/tab_input.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"

namespace {

typedef std::vector<TabEvent> Events;

struct StripWindow
{
    explicit StripWindow(std::vector<CString> arrCaptions, DWORD dwExStyle = 0, int nWidth = 420)
    {
        host.AddItems(arrCaptions);
        created = host.CreateStrip(CRect(60, 60, 60 + nWidth, 200), dwExStyle) != FALSE;
        PumpMessages(50);
        host.m_arrEvents.clear();
    }
    ~StripWindow()
    {
        // Nothing held over to the next test.
        TabInput::Move(CPoint(900, 900));
        PumpMessages(20);
    }
    CPoint ItemPoint(int nIndex) const
    {
        return host.ScreenPoint(host.GetItem(nIndex)->GetRect().CenterPoint());
    }
    CPoint ButtonPoint(CQVTTabManagerNavigateButton* pButton) const
    {
        return host.ScreenPoint(pButton->GetRect().CenterPoint());
    }
    CTabTestHost host;
    bool created;
};

}  // namespace

TEST(TabStripInput, SelectsOnButtonDownOrOnButtonUp)
{
    StripWindow strip({_T("One"), _T("Two"), _T("Three")});
    ASSERT_TRUE(strip.created);
    strip.host.SetAllowReorder(FALSE);

    // Select on button-down: the item is selected before the button goes up.
    TabInput::Down(strip.ItemPoint(1));
    PumpUntil([&] { return strip.host.GetCurSel() == 1; });
    EXPECT_EQ(1, strip.host.GetCurSel());
    TabInput::Up(strip.ItemPoint(1));
    PumpMessages(30);
    EXPECT_EQ((Events{{"click", 1, 0, 0}, {"select", 1, 0, 0}}), strip.host.m_arrEvents);

    // Select on button-up: pressed while held, selected once released inside.
    strip.host.m_pPaintManager->m_bSelectOnButtonDown = FALSE;
    strip.host.m_arrEvents.clear();
    const CPoint pt = strip.ItemPoint(2);
    CQVTTabManagerItem* pPressedWhileHeld = nullptr;
    int nSelectedWhileHeld = -1;
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(pt);
        ScriptWaitForCapture(dwUi, true);
        pPressedWhileHeld = strip.host.GetPressedItem();
        nSelectedWhileHeld = strip.host.GetCurSel();
        TabInput::Up(pt);
    });
    EXPECT_EQ(1, nSelectedWhileHeld);
    EXPECT_EQ(strip.host.GetItem(2), pPressedWhileHeld);
    EXPECT_EQ(nullptr, strip.host.GetPressedItem());
    EXPECT_EQ(2, strip.host.GetCurSel());
    EXPECT_EQ((Events{{"click", 2, 0, 0}, {"select", 2, 0, 0}}), strip.host.m_arrEvents);

    // Released off the item: nothing is selected.
    strip.host.m_arrEvents.clear();
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(strip.ItemPoint(0));
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(CPoint(30, 30));
        TabInput::Up(CPoint(30, 30));
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ(2, strip.host.GetCurSel());
    EXPECT_TRUE(strip.host.m_arrEvents.empty());
    EXPECT_EQ(nullptr, strip.host.GetPressedItem());
}

TEST(TabStripInput, HotItemFollowsTheMouseAndClearsOnLeave)
{
    StripWindow strip({_T("One"), _T("Two"), _T("Three")});
    ASSERT_TRUE(strip.created);
    strip.host.m_pPaintManager->m_bHotTracking = TRUE;

    TabInput::Move(strip.ItemPoint(1));
    PumpUntil([&] { return strip.host.GetHighlightedItem() == strip.host.GetItem(1); });
    EXPECT_EQ(strip.host.GetItem(1), strip.host.GetHighlightedItem());
    TabInput::Move(strip.ItemPoint(2));
    PumpUntil([&] { return strip.host.GetHighlightedItem() == strip.host.GetItem(2); });
    EXPECT_EQ(strip.host.GetItem(2), strip.host.GetHighlightedItem());
    // The old item is redrawn (animated) and the new one, where they lie.
    ASSERT_GE(strip.host.m_arrRedraws.size(), 2u);

    TabInput::Move(CPoint(900, 900));
    PumpUntil([&] { return strip.host.GetHighlightedItem() == nullptr; }, 3000);
    EXPECT_EQ(nullptr, strip.host.GetHighlightedItem());
}

TEST(TabStripInput, DragReordersStepByStepAndEscapeKeepsTheMoves)
{
    StripWindow strip({_T("Alpha"), _T("Beta"), _T("Gamma"), _T("Delta")});
    ASSERT_TRUE(strip.created);
    const CPoint ptFrom = strip.ItemPoint(0), ptTo = strip.ItemPoint(2);
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptFrom);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(CPoint(ptFrom.x + 3, ptFrom.y));
        TabInput::Move(ptTo);
        TabInput::Up(ptTo);
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ((std::vector<int>{1, 2, 0, 3}), strip.host.DataOrder());
    EXPECT_EQ((Events{{"swap", 0, 1, 0},
                      {"swap", 0, 2, 0},
                      {"click", 2, 0, 0},
                      {"select", 2, 0, 0},
                      {"move", 0, 0, 2}}),
              strip.host.m_arrEvents);
    EXPECT_EQ(2, strip.host.GetCurSel());

    // Escape ends the drag where it is: the moves stay, the item is selected.
    strip.host.m_arrEvents.clear();
    const CPoint ptDelta = strip.ItemPoint(3), ptFirst = strip.ItemPoint(0);
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptDelta);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(ptFirst);
        TabInput::Press(VK_ESCAPE);
        ScriptWaitForCapture(dwUi, false);
        TabInput::Up(ptFirst);
    });
    EXPECT_EQ((std::vector<int>{3, 1, 2, 0}), strip.host.DataOrder());
    EXPECT_EQ(0, strip.host.GetCurSel());
    ASSERT_FALSE(strip.host.m_arrEvents.empty());
    EXPECT_EQ((TabEvent{"move", 3, 3, 0}), strip.host.m_arrEvents.back());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(TabStripInput, HeldArrowsRepeatInTwentyPixelStepsUntilDisabled)
{
    std::vector<CString> arrCaptions;
    for (int i = 0; i < 12; ++i)
        arrCaptions.push_back(_T("Caption ") + CString(static_cast<TCHAR>('A' + i)));
    StripWindow strip(arrCaptions, 0, 300);
    ASSERT_TRUE(strip.created);
    CQVTTabManagerNavigateButton* pLeft = strip.host.FindNavigateButton(0);
    CQVTTabManagerNavigateButton* pRight = strip.host.FindNavigateButton(1);
    ASSERT_FALSE(pRight->GetRect().IsRectEmpty());
    ASSERT_TRUE(pRight->IsEnabled());
    EXPECT_FALSE(pLeft->IsEnabled());

    // Held on the right arrow, then moved off it: the steps go on.
    strip.host.m_arrOffsets.clear();
    const CPoint ptRight = strip.ButtonPoint(pRight);
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptRight);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(CPoint(ptRight.x, ptRight.y + 80));
        // Held until the steps have reached the end (a loaded machine runs
        // the repeat late), with a bound.
        for (int i = 0; i < 100 && pRight->IsEnabled(); ++i)
            ::Sleep(100);
        ::Sleep(300);
        TabInput::Up(CPoint(ptRight.x, ptRight.y + 80));
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(30);
    const int nTotal = strip.host.GetItemsLength();
    const int nRoom = strip.host.GetHeaderRect().Width() - 8;
    ASSERT_GT(nTotal, nRoom);
    // Every step 20 further, until the last item's end meets the header's.
    const std::vector<int>& offsets = strip.host.m_arrOffsets;
    ASSERT_GE(offsets.size(), 3u);
    for (size_t i = 1; i < offsets.size(); ++i)
        EXPECT_TRUE(offsets[i] == offsets[i - 1] - 20 || offsets[i] == nRoom - nTotal) << i;
    EXPECT_EQ(nRoom - nTotal, strip.host.GetHeaderOffset());
    EXPECT_TRUE(pLeft->IsEnabled());

    // Back with the left arrow: 20 at a time to the start, where it is
    // disabled and the steps stop.
    strip.host.m_arrOffsets.clear();
    const CPoint ptLeft = strip.ButtonPoint(pLeft);
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptLeft);
        ScriptWaitForCapture(dwUi, true);
        for (int i = 0; i < 100 && pLeft->IsEnabled(); ++i)
            ::Sleep(100);
        ::Sleep(300);
        TabInput::Up(ptLeft);
        ScriptWaitForCapture(dwUi, false);
    });
    PumpMessages(30);
    EXPECT_EQ(0, strip.host.GetHeaderOffset());
    EXPECT_FALSE(pLeft->IsEnabled());
    ASSERT_GE(offsets.size(), 2u);
    for (size_t i = 1; i + 1 < offsets.size(); ++i)
        EXPECT_EQ(std::min(offsets[i - 1] + 20, 0), offsets[i]) << i;
    // Once disabled nothing more repeats.
    EXPECT_LE(std::count(offsets.begin(), offsets.end(), 0), 3);
}

TEST(TabStripInput, CloseButtonsReportOnlyWhenReleasedInside)
{
    StripWindow strip({_T("One"), _T("Two"), _T("Three")});
    ASSERT_TRUE(strip.created);
    CQVTTabManagerNavigateButton* pClose = strip.host.FindNavigateButton(2);
    pClose->SetDisplayMode(CQVTTabManagerNavigateButton::displayAlways);
    strip.host.Reposition();
    PumpMessages(30);
    ASSERT_FALSE(pClose->GetRect().IsRectEmpty());
    const CPoint ptClose = strip.ButtonPoint(pClose);

    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptClose);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(CPoint(ptClose.x, ptClose.y + 100));
        TabInput::Up(CPoint(ptClose.x, ptClose.y + 100));
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_TRUE(strip.host.m_arrEvents.empty());

    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptClose);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Up(ptClose);
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ((Events{{"button", 2, 0, 0}}), strip.host.m_arrEvents);
}

TEST(TabStripInput, ItemCloseButtonShowsOnTheSelectedClosableItem)
{
    CTabTestHost host;
    host.SetCloseButtonMode(CQVTTabManagerNavigateButton::displayAuto);
    host.AddItems({_T("One"), _T("Two"), _T("Three")});
    host.GetItem(2)->SetClosable(FALSE);
    host.SetAllowReorder(FALSE);
    ASSERT_TRUE(host.CreateStrip(CRect(60, 60, 480, 200)));
    host.SetCurSel(1);
    host.UpdateWindow();
    PumpMessages(30);
    auto closeOf = [&](int i) { return host.GetItem(i)->GetNavigateButtons().GetAt(0); };
    EXPECT_TRUE(closeOf(0)->GetRect().IsRectEmpty());
    ASSERT_FALSE(closeOf(1)->GetRect().IsRectEmpty());
    EXPECT_TRUE(host.GetItem(1)->GetRect().PtInRect(closeOf(1)->GetRect().CenterPoint()));
    // Room for it in the item's length.
    EXPECT_GT(host.GetItem(1)->GetContentLength(), host.GetItem(0)->GetContentLength());

    host.m_arrEvents.clear();
    const CPoint pt = host.ScreenPoint(closeOf(1)->GetRect().CenterPoint());
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(pt);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Up(pt);
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ((Events{{"button", 2, 0, 0}}), host.m_arrEvents);

    // Never on an item that cannot be closed.
    host.SetCurSel(2);
    host.UpdateWindow();
    PumpMessages(30);
    EXPECT_TRUE(closeOf(2)->GetRect().IsRectEmpty());
    TabInput::Move(CPoint(900, 900));
}

TEST(TabStripInput, KeysMoveTheSelectionMirroredInRightToLeftWindows)
{
    for (DWORD dwExStyle : {0ul, static_cast<unsigned long>(WS_EX_LAYOUTRTL)})
    {
        SCOPED_TRACE(dwExStyle);
        StripWindow strip({_T("One"), _T("Two"), _T("Three"), _T("Four")}, dwExStyle);
        ASSERT_TRUE(strip.created);
        strip.host.GetItem(2)->SetEnabled(FALSE);
        strip.host.SetCurSel(0);
        const WORD wNext = dwExStyle ? VK_LEFT : VK_RIGHT;
        const WORD wPrevious = dwExStyle ? VK_RIGHT : VK_LEFT;
        auto press = [&](WORD wVk, int nExpected) {
            TabInput::Press(wVk);
            PumpUntil([&] { return strip.host.GetCurSel() == nExpected; }, 500);
            EXPECT_EQ(nExpected, strip.host.GetCurSel()) << "key " << wVk;
        };
        press(wNext, 1);
        press(wNext, 3);  // the disabled item is skipped
        press(wNext, 3);  // nothing past the end
        press(wPrevious, 1);
        press(VK_END, 3);
        press(VK_HOME, 0);
        press(VK_DOWN, 0);  // not a move on a horizontal strip
    }
}

TEST(TabStripInput, ExceptionsInAHandlerStopAtTheWindowProcedure)
{
    StripWindow strip({_T("One")});
    ASSERT_TRUE(strip.created);
    strip.host.m_nThrowIndexOnPaint = 5;
    strip.host.Invalidate();
    PumpMessages(50);
    strip.host.m_nThrowIndexOnPaint = -1;
    EXPECT_TRUE(::IsWindow(strip.host.m_hWnd));
    EXPECT_THROW(strip.host.GetItem(1), CInvalidArgException*);
}

TEST(TabStripInput, LoopsEndCleanlyWhenAHandlerEmptiesTheStrip)
{
    // A handler deletes every item while a capture loop holds one:
    // a press tracked to button-up, a drag, an item's close button.
    for (int nCase = 0; nCase < 3; ++nCase)
    {
        SCOPED_TRACE(nCase);
        CTabTestHost host;
        if (nCase == 2)
            host.SetCloseButtonMode(CQVTTabManagerNavigateButton::displayAlways);
        host.AddItems({_T("One"), _T("Two"), _T("Three")});
        host.SetAllowReorder(nCase == 1);
        host.m_pPaintManager->m_bSelectOnButtonDown = FALSE;
        host.m_pPaintManager->m_bHotTracking = TRUE;
        ASSERT_TRUE(host.CreateStrip(CRect(60, 60, 480, 200)));
        PumpMessages(30);
        CQVTTabManagerItem* pItem = host.GetItem(1);
        CRect rcTarget = pItem->GetRect();
        if (nCase == 2)
            rcTarget = pItem->GetNavigateButtons().GetAt(0)->GetRect();
        ASSERT_FALSE(rcTarget.IsRectEmpty());
        // An outside reference shows the item outlives the loop, then goes.
        pItem->InternalAddRef();
        host.m_arrEvents.clear();
        host.m_onMessage = [&] { host.DeleteAllItems(); };
        const CPoint pt = host.ScreenPoint(rcTarget.CenterPoint());
        bool bEndedWhileHeld = false;
        TabInput::Drive([&](DWORD dwUi) {
            TabInput::Down(pt);
            ScriptWaitForCapture(dwUi, true);
            host.PostMessage(WM_APP);
            bEndedWhileHeld = ScriptWaitForCapture(dwUi, false, 1000);
            TabInput::Up(pt);
        });
        EXPECT_TRUE(bEndedWhileHeld);
        EXPECT_EQ(0, host.GetItemCount());
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(nullptr, host.GetSelectedItem());
        EXPECT_EQ(nullptr, host.GetPressedItem());
        EXPECT_EQ(nullptr, host.GetHighlightedItem());
        for (const TabEvent& e : host.m_arrEvents)
            EXPECT_NE("click", e.kind);
        EXPECT_EQ(nullptr, pItem->GetTabManager());
        EXPECT_EQ(1, pItem->m_dwRef);
        pItem->InternalRelease();
    }
}
