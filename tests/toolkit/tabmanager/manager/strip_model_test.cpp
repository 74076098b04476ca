// The strip's model without a window: items and their colours, selection
// and focus moves, hit tests, tooltips, removal, bad input and the MDI
// workspace commands.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/tabmanager/manager/QVTTabClientWorkspace.h"

namespace {

COLORREF AutomaticColor(int n)
{
    static const COLORREF kTable[8] = {RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159),
                                       RGB(240, 158, 159), RGB(186, 166, 225), RGB(154, 191, 180),
                                       RGB(247, 182, 131), RGB(216, 171, 192)};
    return kTable[n];
}

}  // namespace

TEST(TabStripModel, ItemsGoWhereAskedAndShareTheAutomaticColoursOfTheirPaintManager)
{
    CQVTTabPaintManager* pPaintManager = new CQVTTabPaintManager();
    {
        CTabTestHost first(pPaintManager), second(pPaintManager);
        first.AddItems({_T("a"), _T("b"), _T("c"), _T("d"), _T("e")});
        second.AddItems({_T("f"), _T("g"), _T("h"), _T("i")});
        // Nine items over two strips: colours 0..7, then 0 again.
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(AutomaticColor(i), first.GetItem(i)->GetColor());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(AutomaticColor(5 + i), second.GetItem(i)->GetColor());
        EXPECT_EQ(AutomaticColor(0), second.GetItem(3)->GetColor());
        // A plain colour stays as it is.
        first.GetItem(0)->SetColor(RGB(1, 2, 3));
        EXPECT_EQ(RGB(1, 2, 3), first.GetItem(0)->GetColor());
        // Both strips hear of a change of look.
        EXPECT_EQ(2, pPaintManager->GetTabManagerCount());
        const int nBefore = first.m_nRepositions + second.m_nRepositions;
        pPaintManager->SetAppearance(qvtTabAppearanceFlat);
        EXPECT_GE(first.m_nRepositions + second.m_nRepositions, nBefore + 2);
    }
    EXPECT_EQ(0, pPaintManager->GetTabManagerCount());
    pPaintManager->InternalRelease();

    CTabTestHost host;
    host.AddItems({_T("0"), _T("1")});
    host.AddItem(-5)->SetData(100);
    host.AddItem(host.GetItemCount() + 3)->SetData(101);
    host.AddItem(1)->SetData(102);
    EXPECT_EQ((std::vector<int>{0, 102, 1, 100, 101}), host.DataOrder());
    for (int i = 0; i < host.GetItemCount(); ++i)
        EXPECT_EQ(i, host.GetItem(i)->GetIndex());
    EXPECT_THROW(host.GetItem(5), CInvalidArgException*);
    EXPECT_THROW(host.GetItem(-1), CInvalidArgException*);
    EXPECT_THROW(host.GetNavigateButtons().GetAt(3), CInvalidArgException*);

    host.GetItem(2)->SetHandle(reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(host.GetItem(2), host.FindItemByHandle(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(nullptr, host.FindItemByHandle(reinterpret_cast<HWND>(0x4321)));
}

TEST(TabStripModel, SelectionClampsAndFocusMovesSkipWhatCannotBeClicked)
{
    CTabTestHost host;
    host.SetCurSel(0);
    EXPECT_EQ(-1, host.GetCurSel());
    host.AddItems({_T("a"), _T("b"), _T("c"), _T("d")});
    host.SetCurSel(-1);
    EXPECT_EQ(0, host.GetCurSel());
    host.SetCurSel(4);
    EXPECT_EQ(3, host.GetCurSel());

    // Disabled and hidden items are never hit and never a focus move's goal,
    // yet they may stay selected.
    host.GetItem(1)->SetEnabled(FALSE);
    host.GetItem(2)->SetVisible(FALSE);
    host.SetCurSel(1);
    EXPECT_EQ(1, host.GetCurSel());
    EXPECT_EQ(host.GetItem(3), host.FindNextFocusable(0, +1));
    EXPECT_EQ(host.GetItem(0), host.FindNextFocusable(3, -1));
    EXPECT_EQ(nullptr, host.FindNextFocusable(3, +1));
    const CRect rc1 = host.GetItem(1)->GetRect();
    EXPECT_EQ(nullptr, host.HitTest(rc1.CenterPoint()));
    EXPECT_EQ(host.GetItem(0), host.HitTest(host.GetItem(0)->GetRect().CenterPoint()));
    EXPECT_TRUE(host.GetItem(2)->GetRect().IsRectEmpty());
    // Outside the header nothing is hit.
    EXPECT_EQ(nullptr, host.HitTest(CPoint(5, host.GetHeaderRect().bottom + 5)));
    // Nothing to move to in the other direction of the strip.
    EXPECT_TRUE(host.PerformKeyDown(nullptr, VK_UP));
    EXPECT_FALSE(host.PerformKeyDown(nullptr, 'A'));
    EXPECT_EQ(1, host.GetCurSel());

    // An item outside any strip ignores what would need one.
    CQVTTabManagerItem* pLoose = new CQVTTabManagerItem();
    pLoose->SetCaption(_T("loose"));
    pLoose->Select();
    pLoose->Reposition();
    EXPECT_FALSE(pLoose->IsSelected());
    EXPECT_TRUE(pLoose->GetCaption() == _T("loose"));
    pLoose->InternalRelease();
}

TEST(TabStripModel, DeletingAllItemsReleasesThemAndClearsEveryState)
{
    CTabTestHost host;
    host.SetCloseButtonMode(CQVTTabManagerNavigateButton::displayAlways);
    host.AddItems({_T("a"), _T("b")});
    CQVTTabManagerItem* pItem = host.GetItem(1);
    pItem->InternalAddRef();
    host.SetCurSel(1);
    host.SetHighlightedForTest(pItem);
    host.SetPressedForTest(pItem);
    EXPECT_EQ(1, pItem->GetNavigateButtons().GetSize());
    host.DeleteAllItems();
    EXPECT_EQ(0, host.GetItemCount());
    EXPECT_EQ(nullptr, host.GetSelectedItem());
    EXPECT_EQ(nullptr, host.GetHighlightedItem());
    EXPECT_EQ(nullptr, host.GetPressedItem());
    EXPECT_EQ(-1, host.GetCurSel());
    // The strip's reference is gone and so are the item's own buttons.
    EXPECT_EQ(1, pItem->m_dwRef);
    EXPECT_EQ(nullptr, pItem->GetTabManager());
    EXPECT_EQ(0, pItem->GetNavigateButtons().GetSize());
    pItem->InternalRelease();
}

TEST(TabStripModel, TooltipsFollowTheModeAndTruncation)
{
    CTabTestHost host;
    host.m_pPaintManager->SetLayout(qvtTabLayoutSizeToFit);
    host.SetLayoutRect(CRect(0, 0, 160, 100));
    host.AddItems({_T("Short"), _T("A rather long caption for a tab")});
    host.GetItem(0)->SetTooltip(_T("tip 0"));
    host.GetItem(1)->SetTooltip(_T("tip 1"));
    ASSERT_FALSE(host.GetItem(0)->IsTruncated());
    ASSERT_TRUE(host.GetItem(1)->IsTruncated());
    const CPoint pt0 = host.GetItem(0)->GetRect().CenterPoint(),
                 pt1 = host.GetItem(1)->GetRect().CenterPoint();

    TOOLINFO ti = {sizeof(TOOLINFO)};
    // Mode 2: only what is cut short.
    EXPECT_EQ(-1, static_cast<const CWnd&>(host).OnToolHitTest(pt0, &ti));
    EXPECT_EQ(1, static_cast<const CWnd&>(host).OnToolHitTest(pt1, &ti));
    EXPECT_TRUE(CString(ti.lpszText) == _T("tip 1"));
    EXPECT_EQ(host.GetItem(1)->GetRect(), CRect(ti.rect));
    CQVTToolTipContext::FreeToolInfo(reinterpret_cast<QVT_TOOLTIPHITINFO*>(&ti));
    // The extended record carries the caption as the description.
    QVT_TOOLTIPHITINFO_EX extended = {};
    QVT_TOOLTIPHITINFO record = {};
    record.cbSize = sizeof(QVT_TOOLTIPHITINFO);
    record.pExtended = &extended;
    EXPECT_EQ(1, static_cast<const CWnd&>(host).OnToolHitTest(pt1, reinterpret_cast<TOOLINFO*>(&record)));
    ASSERT_NE(nullptr, extended.lpszDescription);
    EXPECT_TRUE(CString(extended.lpszDescription) == _T("A rather long caption for a tab"));
    EXPECT_TRUE(CString(extended.lpszTitle) == _T("tip 1"));
    CQVTToolTipContext::FreeToolInfo(&record);
    // Mode 1: always; mode 0: never.
    host.m_pPaintManager->m_nToolTipBehaviour = 1;
    EXPECT_EQ(0, static_cast<const CWnd&>(host).OnToolHitTest(pt0, &ti));
    CQVTToolTipContext::FreeToolInfo(reinterpret_cast<QVT_TOOLTIPHITINFO*>(&ti));
    host.m_pPaintManager->m_nToolTipBehaviour = 0;
    EXPECT_EQ(-1, static_cast<const CWnd&>(host).OnToolHitTest(pt1, &ti));
    // No text, no tooltip; off the strip, none either.
    host.m_pPaintManager->m_nToolTipBehaviour = 1;
    host.GetItem(0)->SetTooltip(_T(""));
    EXPECT_EQ(-1, static_cast<const CWnd&>(host).OnToolHitTest(pt0, &ti));
    EXPECT_EQ(-1, static_cast<const CWnd&>(host).OnToolHitTest(CPoint(500, 500), &ti));

    // Navigate buttons answer with their own tooltips and their index.
    host.m_pPaintManager->SetLayout(qvtTabLayoutAutoSize);
    CQVTTabManagerNavigateButton* pRight = host.FindNavigateButton(1);
    ASSERT_FALSE(pRight->GetRect().IsRectEmpty());
    EXPECT_EQ(1, static_cast<const CWnd&>(host).OnToolHitTest(pRight->GetRect().CenterPoint(), &ti));
    EXPECT_TRUE(CString(ti.lpszText) == _T("Scroll Right"));
    CQVTToolTipContext::FreeToolInfo(reinterpret_cast<QVT_TOOLTIPHITINFO*>(&ti));
}

TEST(TabStripModel, CaptionsEmptyHugeOrOnlyAmpersandsAndThousandsOfItemsLayOut)
{
    CTabTestHost host;
    CString strHuge;
    for (int i = 0; i < 2000; ++i)
        strHuge += _T("Wide ");
    host.AddItems({_T(""), strHuge, _T("&"), _T("&&&&"), _T("&&")});
    const int nEmpty = host.GetItem(0)->GetContentLength();
    EXPECT_GT(nEmpty, 0);
    EXPECT_GT(host.GetItem(1)->GetContentLength(), 2000);
    for (int i = 2; i < 5; ++i)
        EXPECT_GE(host.GetItem(i)->GetContentLength(), nEmpty);
    host.m_pPaintManager->m_bDrawTextHidePrefix = TRUE;
    host.m_pPaintManager->m_bDrawTextPathEllipsis = TRUE;
    host.SetCurSel(1);
    DibCanvas canvas(400, 200);
    host.PaintTo(&canvas.dc, CRect(0, 0, 400, 200));

    // Thousands of items in one row, in size to fit and in many rows.
    CTabTestHost many;
    many.m_bHoldLayout = TRUE;
    for (int i = 0; i < 5000; ++i)
        many.AddItem(-1)->SetCaption(_T("Item"));
    many.m_bHoldLayout = FALSE;
    many.m_pPaintManager->SetLayout(qvtTabLayoutSizeToFit);
    int nTotal = 0;
    for (int i = 0; i < many.GetItemCount(); ++i)
    {
        EXPECT_GE(many.GetItem(i)->GetButtonLength(), 0);
        nTotal += many.GetItem(i)->GetButtonLength();
    }
    EXPECT_EQ(many.GetHeaderRect().Width() - 8, nTotal);
    many.m_pPaintManager->SetLayout(qvtTabLayoutMultiRow);
    EXPECT_GT(many.GetRowCount(), 100);
    many.PaintTo(&canvas.dc, CRect(0, 0, 400, 200));
}

TEST(TabStripModel, WorkspaceCommandsFollowTheGroupOfTheActiveChild)
{
    CTabTestHost first, second;
    first.AddItems({_T("a"), _T("b")});
    second.AddItems({_T("c")});
    const HWND hA = reinterpret_cast<HWND>(0x10), hC = reinterpret_cast<HWND>(0x30);
    first.GetItem(0)->SetHandle(hA);
    second.GetItem(0)->SetHandle(hC);

    CQVTTabClientWorkspace workspace;
    workspace.m_arrGroups = {&first, &second};
    CQVTTabManagerItem* pFound = nullptr;
    struct Row
    {
        UINT nID;
        BOOL bForA, bForC;
    };
    // Groups stacked horizontally: the first holds two tabs, the second one.
    const Row kRows[] = {{9155, FALSE, TRUE},  {9156, TRUE, FALSE}, {9157, TRUE, FALSE},
                         {9158, FALSE, FALSE}, {9248, TRUE, TRUE},  {1234, TRUE, TRUE}};
    for (const Row& row : kRows)
    {
        EXPECT_EQ(row.bForA, workspace.IsWorkspaceCommandEnabled(row.nID, hA, &pFound)) << row.nID;
        EXPECT_EQ(first.GetItem(0), pFound);
        EXPECT_EQ(row.bForC, workspace.IsWorkspaceCommandEnabled(row.nID, hC, &pFound)) << row.nID;
        EXPECT_EQ(second.GetItem(0), pFound);
    }
    workspace.m_bHorizontalGroups = FALSE;
    EXPECT_FALSE(workspace.IsWorkspaceCommandEnabled(9157, hA));
    EXPECT_TRUE(workspace.IsWorkspaceCommandEnabled(9158, hA));
    // One group: both kinds of new group.
    workspace.m_arrGroups = {&first};
    EXPECT_TRUE(workspace.IsWorkspaceCommandEnabled(9157, hA));
    EXPECT_TRUE(workspace.IsWorkspaceCommandEnabled(9158, hA));
    // No groups, no active child, or a child no group holds.
    EXPECT_FALSE(workspace.IsWorkspaceCommandEnabled(1234, hC, &pFound));
    EXPECT_EQ(nullptr, pFound);
    EXPECT_FALSE(workspace.IsWorkspaceCommandEnabled(1234, nullptr));
    workspace.m_bEnableGroups = FALSE;
    EXPECT_FALSE(workspace.IsWorkspaceCommandEnabled(1234, hA));
}

TEST(TabStripModel, TheStripOwnsItsMarkupContext)
{
    CQVTMarkupContext* pContext = new CQVTMarkupContext();
    pContext->AddRef();
    {
        CTabTestHost host;
        host.AddItems({_T("<TextBlock>Tab</TextBlock>"), _T("Plain")});
        host.SetMarkupContext(pContext);
        EXPECT_EQ(pContext, host.GetMarkupContext());
        host.GetItem(1)->SetCaption(_T("<Bold>B</Bold>"));
        for (int i = 0; i < 2; ++i)
            EXPECT_GT(host.GetItem(i)->GetContentLength(), 0);
        // Another context: the first one's reference goes at once.
        CQVTMarkupContext* pSecond = new CQVTMarkupContext();
        host.SetMarkupContext(pSecond);
        EXPECT_EQ(2u, pContext->AddRef());  // ours and this one
        pContext->Release();
    }
    EXPECT_EQ(0u, pContext->Release());
}
