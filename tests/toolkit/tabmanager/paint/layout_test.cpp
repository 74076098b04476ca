// Laying a strip out: size to fit, multi-row packing and justification, the
// header's thickness, a hidden header and an empty strip, in all four
// positions, with item lengths the test fixes.
#include <afxwin.h>

#include <map>
#include <vector>

#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeOffice2000.h"

namespace {

// Items as long as the lengths the test gives, by item data.
class CFixedLengthAppearance : public CQVTTabThemeOffice2000
{
public:
    explicit CFixedLengthAppearance(std::vector<int> arrLengths) : m_arrLengths(std::move(arrLengths)) {}
    int GetItemLength(CDC*, CQVTTabManagerItem* pItem) override
    {
        return m_arrLengths[static_cast<size_t>(pItem->GetData()) % m_arrLengths.size()];
    }
    std::vector<int> m_arrLengths;
};

// Along and across a strip at a position.
struct Span
{
    int nStart, nEnd;
    bool operator==(const Span& o) const { return nStart == o.nStart && nEnd == o.nEnd; }
};
Span Along(const CRect& rc, int nPosition)
{
    return nPosition == 0 || nPosition == 2 ? Span{rc.left, rc.right} : Span{rc.top, rc.bottom};
}
int Thickness(const CRect& rc, int nPosition)
{
    return nPosition == 0 || nPosition == 2 ? rc.Height() : rc.Width();
}

// A strip whose header is nLength long (120 of room after the classic
// appearance's margins of 2 and 6), at a position.
struct Strip
{
    Strip(int nPosition, const std::vector<int>& arrLengths, int nLayout, int nHeaderLength = 128)
    {
        host.m_pPaintManager->SetAppearanceSet(new CFixedLengthAppearance(arrLengths));
        host.m_pPaintManager->SetPosition(nPosition);
        host.m_pPaintManager->SetLayout(nLayout);
        host.SetLayoutRect(nPosition == 0 || nPosition == 2 ? CRect(0, 0, nHeaderLength, 300)
                                                            : CRect(0, 0, 300, nHeaderLength));
        std::vector<CString> arrCaptions(arrLengths.size(), _T("x"));
        host.AddItems(arrCaptions);
    }
    std::vector<int> Lengths(int nPosition)
    {
        std::vector<int> arr;
        for (int i = 0; i < host.GetItemCount(); ++i)
        {
            const Span s = Along(host.GetItem(i)->GetRect(), nPosition);
            arr.push_back(s.nEnd - s.nStart);
        }
        return arr;
    }
    CTabTestHost host;
};

}  // namespace

TEST(TabLayout, SizeToFitShrinksTheLongItemsToShareWhatTheShortOnesLeave)
{
    for (int nPosition = 0; nPosition < 4; ++nPosition)
    {
        SCOPED_TRACE(nPosition);
        Strip strip(nPosition, {10, 80, 100}, qvtTabLayoutSizeToFit);
        EXPECT_EQ((std::vector<int>{10, 55, 55}), strip.Lengths(nPosition));
        // Placed one after another from the header's start and its margin.
        EXPECT_EQ((Span{2, 12}), Along(strip.host.GetItem(0)->GetRect(), nPosition));
        EXPECT_EQ((Span{67, 122}), Along(strip.host.GetItem(2)->GetRect(), nPosition));
        EXPECT_TRUE(strip.host.GetItem(1)->IsTruncated());
        EXPECT_FALSE(strip.host.GetItem(0)->IsTruncated());
        // Arrows that show only when needed never do under size to fit.
        EXPECT_TRUE(strip.host.FindNavigateButton(0)->GetRect().IsRectEmpty());

        Strip other(nPosition, {10, 50, 100}, qvtTabLayoutSizeToFit);
        EXPECT_EQ((std::vector<int>{10, 50, 60}), other.Lengths(nPosition));

        // What fits is left alone.
        Strip fits(nPosition, {10, 50, 60}, qvtTabLayoutSizeToFit);
        EXPECT_EQ((std::vector<int>{10, 50, 60}), fits.Lengths(nPosition));
        Strip single(nPosition, {300}, qvtTabLayoutSizeToFit);
        EXPECT_EQ((std::vector<int>{120}), single.Lengths(nPosition));
    }
}

TEST(TabLayout, ArrowsShownAlwaysTakeTheirRoomBeforeItemsShrink)
{
    Strip strip(0, {10, 80, 100}, qvtTabLayoutSizeToFit);
    CQVTTabPaintManager* pPaintManager = strip.host.m_pPaintManager;
    strip.host.FindNavigateButton(0)->SetDisplayMode(CQVTTabManagerNavigateButton::displayAlways);
    strip.host.FindNavigateButton(1)->SetDisplayMode(CQVTTabManagerNavigateButton::displayAlways);
    strip.host.Reposition();
    // 120 less two buttons of 14 leaves 92: 10 stays, the others get 41.
    const int nButton = pPaintManager->m_szNavigateButton.cx;
    const int nShare = (120 - 2 * nButton - 10) / 2;
    EXPECT_EQ((std::vector<int>{10, nShare, 120 - 2 * nButton - 10 - nShare}), strip.Lengths(0));
    // The buttons sit at the header's far end, the header shrinks by them.
    const CRect rcRight = strip.host.FindNavigateButton(1)->GetRect();
    EXPECT_EQ(127, rcRight.right);
    EXPECT_EQ(127 - 2 * nButton, strip.host.GetHeaderRect().right);
}

TEST(TabLayout, HeaderThicknessFollowsRowsMarginsAndTheRowGap)
{
    for (int nPosition = 0; nPosition < 4; ++nPosition)
    {
        SCOPED_TRACE(nPosition);
        Strip strip(nPosition, {30, 30, 30}, qvtTabLayoutAutoSize);
        CQVTTabPaintManagerTheme* pAppearance = strip.host.GetAppearance();
        const int nRow = pAppearance->GetRowHeight(&strip.host);
        EXPECT_GE(nRow, 20);  // an icon of 16 and 4 around it
        const CRect rcHeader = strip.host.GetHeaderRect();
        EXPECT_EQ(nRow + 3, Thickness(rcHeader, nPosition));
        // On the side of its position.
        const CRect rcControl = strip.host.GetTabControlRect();
        switch (nPosition)
        {
        case 0:
            EXPECT_EQ(rcControl.top, rcHeader.top);
            break;
        case 1:
            EXPECT_EQ(rcControl.left, rcHeader.left);
            break;
        case 2:
            EXPECT_EQ(rcControl.bottom, rcHeader.bottom);
            break;
        case 3:
            EXPECT_EQ(rcControl.right, rcHeader.right);
            break;
        }
        // Items sit in by the margin on the outer side, a row thick.
        const CRect rcItem = strip.host.GetItem(0)->GetRect();
        EXPECT_EQ(nRow, Thickness(rcItem, nPosition));
        if (nPosition == 0)
        {
            EXPECT_EQ(rcHeader.top + 3, rcItem.top);
        }
        if (nPosition == 2)
        {
            EXPECT_EQ(rcHeader.bottom - 3, rcItem.bottom);
        }
        // The client area overlaps the header by one pixel, then the frame.
        const CRect rcClient = strip.host.GetTabClientRect();
        if (nPosition == 0)
        {
            EXPECT_EQ(rcHeader.bottom - 1 + 2, rcClient.top);
        }
        if (nPosition == 3)
        {
            EXPECT_EQ(rcHeader.left + 1 - 2, rcClient.right);
        }

        // Three rows of a multi-row header, the default gap of -2 between.
        Strip rows(nPosition, {50, 50, 50, 50, 50}, qvtTabLayoutMultiRow, 128);
        ASSERT_EQ(3, rows.host.GetRowCount());
        EXPECT_EQ(3 * nRow - 2 * 2 + 3, Thickness(rows.host.GetHeaderRect(), nPosition));
    }
}

TEST(TabLayout, MultiRowRowsEndFlushWithTheHeaderAndTheSelectedRowTouchesTheClient)
{
    for (int nPosition = 0; nPosition < 4; ++nPosition)
    {
        for (BOOL bBacktracking : {TRUE, FALSE})
        {
            SCOPED_TRACE(testing::Message() << nPosition << " backtracking " << bBacktracking);
            Strip strip(nPosition, {30, 50, 40, 60, 20, 70, 35}, qvtTabLayoutMultiRow);
            strip.host.m_pPaintManager->m_bMultiRowBacktracking = bBacktracking;
            strip.host.SetCurSel(0);
            strip.host.Reposition();
            const int nRows = strip.host.GetRowCount();
            ASSERT_GE(nRows, 2);
            const CRect rcHeader = strip.host.GetHeaderRect();
            const Span header = Along(rcHeader, nPosition);
            std::map<int, int> rowEnds, rowStarts;
            for (int i = 0; i < strip.host.GetItemCount(); ++i)
            {
                CQVTTabManagerItem* pItem = strip.host.GetItem(i);
                const Span s = Along(pItem->GetRect(), nPosition);
                const int nRow = pItem->GetItemRow();
                rowEnds[nRow] = std::max(rowEnds.count(nRow) ? rowEnds[nRow] : 0, s.nEnd);
                rowStarts[nRow] = rowStarts.count(nRow) ? std::min(rowStarts[nRow], s.nStart) : s.nStart;
                // The backtracking packing never needs to shrink an item.
                if (bBacktracking)
                {
                    EXPECT_GE(pItem->GetButtonLength(), pItem->GetContentLength());
                }
            }
            ASSERT_EQ(static_cast<size_t>(nRows), rowEnds.size());
            for (const auto& row : rowEnds)
            {
                EXPECT_EQ(header.nEnd - 6, row.second) << "row " << row.first;
                EXPECT_EQ(header.nStart + 2, rowStarts[row.first]) << "row " << row.first;
            }
            // The selected item's row lies next to the client area.
            EXPECT_EQ(0, strip.host.GetItem(0)->GetItemRow());
            const CRect rcSelected = strip.host.GetItem(0)->GetRect();
            const CRect rcClient = strip.host.GetTabClientRect();
            CRect rcMeet;
            CRect rcGrown = rcSelected;
            rcGrown.InflateRect(1, 1);
            EXPECT_TRUE(rcMeet.IntersectRect(rcGrown, CRect(rcClient.left - 3, rcClient.top - 3,
                                                            rcClient.right + 3, rcClient.bottom + 3)));
        }
    }

    // A strip that fits is not stretched and keeps every item in row 0.
    Strip fits(0, {30, 40, 20}, qvtTabLayoutMultiRow);
    EXPECT_EQ(1, fits.host.GetRowCount());
    EXPECT_EQ((std::vector<int>{30, 40, 20}), fits.Lengths(0));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, fits.host.GetItem(i)->GetItemRow());
}

TEST(TabLayout, ClientAreaWithoutHeaderOrItems)
{
    for (int nPosition = 0; nPosition < 4; ++nPosition)
    {
        SCOPED_TRACE(nPosition);
        // No header: nothing of the strip has a place; the client is the control.
        Strip hidden(nPosition, {30, 40}, qvtTabLayoutAutoSize);
        hidden.host.m_pPaintManager->m_bShowTabs = FALSE;
        hidden.host.m_pPaintManager->m_nClientFrame = 2;
        hidden.host.FindNavigateButton(2)->SetDisplayMode(CQVTTabManagerNavigateButton::displayAlways);
        hidden.host.Reposition();
        EXPECT_TRUE(hidden.host.GetHeaderRect().IsRectEmpty());
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(hidden.host.GetItem(i)->GetRect().IsRectEmpty());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(hidden.host.GetNavigateButtons().GetAt(i)->GetRect().IsRectEmpty());
        EXPECT_EQ(hidden.host.GetTabControlRect(), hidden.host.GetTabClientRect());

        // No items: a header of one row, and the client untouched by it.
        Strip empty(nPosition, {30}, qvtTabLayoutAutoSize);
        empty.host.DeleteAllItems();
        const CRect rcHeader = empty.host.GetHeaderRect();
        EXPECT_FALSE(rcHeader.IsRectEmpty());
        EXPECT_EQ(empty.host.GetAppearance()->GetRowHeight(&empty.host) + 3, Thickness(rcHeader, nPosition));
        EXPECT_EQ(empty.host.GetTabControlRect(), empty.host.GetTabClientRect());
    }
}

TEST(TabLayout, ScrollingMovesItemsAndEnsureVisibleBringsThemBack)
{
    Strip strip(0, {50, 50, 50, 50, 50, 50}, qvtTabLayoutAutoSize, 200);
    CTabTestHost& host = strip.host;
    // 300 of items in a header of 200: the right arrow shows and is enabled.
    CQVTTabManagerNavigateButton* pLeft = host.FindNavigateButton(0);
    CQVTTabManagerNavigateButton* pRight = host.FindNavigateButton(1);
    EXPECT_FALSE(pRight->GetRect().IsRectEmpty());
    EXPECT_TRUE(pRight->IsEnabled());
    EXPECT_FALSE(pLeft->IsEnabled());
    EXPECT_EQ(2, host.GetItem(0)->GetRect().left);

    host.ScrollHeader(1);
    EXPECT_EQ(-20, host.GetHeaderOffset());
    EXPECT_EQ(2 - 20, host.GetItem(0)->GetRect().left);
    EXPECT_TRUE(pLeft->IsEnabled());
    host.ScrollHeader(0);
    host.ScrollHeader(0);
    EXPECT_EQ(0, host.GetHeaderOffset());
    host.SetHeaderOffset(15);
    EXPECT_EQ(0, host.GetHeaderOffset());

    // Selecting the last item scrolls it into the header.
    host.SetCurSel(5);
    const CRect rcLast = host.GetItem(5)->GetRect();
    EXPECT_LE(rcLast.right, host.GetHeaderRect().right);
    EXPECT_LT(host.GetHeaderOffset(), 0);
    // And the first one back.
    host.SetCurSel(0);
    EXPECT_GE(host.GetItem(0)->GetRect().left, host.GetHeaderRect().left);

    // Scrolled past the end, the row is pulled back when it relays out.
    host.SetHeaderOffset(-1000);
    const int nHeaderRoom = host.GetHeaderRect().Width() - 8;
    EXPECT_EQ(nHeaderRoom - 300, host.GetHeaderOffset());
    EXPECT_EQ(host.GetHeaderRect().right - 6, host.GetItem(5)->GetRect().right);
}

TEST(TabLayout, StaticFrameRotatedItemsAndKeptRowOrder)
{
    for (int nPosition = 0; nPosition < 4; ++nPosition)
    {
        SCOPED_TRACE(nPosition);
        // The two-ring frame takes 2, 1, 2 and 2 off the control, turned.
        Strip framed(nPosition, {30, 40}, qvtTabLayoutAutoSize);
        framed.host.m_pPaintManager->m_bStaticFrame = TRUE;
        framed.host.Reposition();
        const CRect rcHeader = framed.host.GetHeaderRect();
        const CRect rcControl = framed.host.GetTabControlRect();
        switch (nPosition)
        {
        case 0:
            EXPECT_EQ(rcControl.top + 1, rcHeader.top);
            EXPECT_EQ(rcControl.left + 2, rcHeader.left);
            break;
        case 1:
            EXPECT_EQ(rcControl.left + 1, rcHeader.left);
            EXPECT_EQ(rcControl.top + 2, rcHeader.top);
            break;
        case 2:
            EXPECT_EQ(rcControl.bottom - 1, rcHeader.bottom);
            break;
        case 3:
            EXPECT_EQ(rcControl.right - 1, rcHeader.right);
            break;
        }

        // Rotated: each item one row along the strip and its length across,
        // the header as thick as the longest.
        Strip rotated(nPosition, {30, 80, 50}, qvtTabLayoutRotated);
        const int nRow = rotated.host.GetAppearance()->GetRowHeight(&rotated.host);
        EXPECT_EQ(80 + 3, Thickness(rotated.host.GetHeaderRect(), nPosition));
        for (int i = 0; i < 3; ++i)
        {
            const CRect rc = rotated.host.GetItem(i)->GetRect();
            const Span along = Along(rc, nPosition);
            EXPECT_EQ(nRow, along.nEnd - along.nStart);
            EXPECT_EQ(rotated.host.GetItem(i)->GetButtonLength(), Thickness(rc, nPosition));
        }
        EXPECT_EQ(3 * nRow, rotated.host.GetItemsLength());
    }

    // Kept row order: the selected item's row stays where it was packed.
    Strip rows(0, {50, 50, 50, 50, 50}, qvtTabLayoutMultiRow);
    rows.host.m_pPaintManager->m_bMultiRowFixedSelection = TRUE;
    rows.host.SetCurSel(4);
    EXPECT_NE(0, rows.host.GetItem(4)->GetItemRow());
    rows.host.m_pPaintManager->m_bMultiRowFixedSelection = FALSE;
    rows.host.Reposition();
    EXPECT_EQ(0, rows.host.GetItem(4)->GetItemRow());
}
