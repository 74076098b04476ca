// Row packing of multi-row strips: the backtracking packing gives the rows
// an exhaustive search gives, without its exponential time; the balanced
// packing fills from the outermost row.
#include <afxwin.h>

#include <numeric>
#include <random>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/tabmanager/paint/QVTTabRowPacking.h"

namespace {

// The search as first written: at every item that passes a row's limit the
// rest is tried on the next row, again and again.
struct ExhaustiveSearch
{
    const std::vector<int>& lengths;
    int nRows, nAvailable;
    bool bJustify;
    std::vector<int> rowStarts;
    long long nCalls = 0;

    bool Pack(int nRow, int nStart, long long nRemaining)
    {
        ++nCalls;
        const long long nLimit =
            bJustify ? std::min<long long>(nRemaining / (nRows - nRow), nAvailable) : nAvailable;
        long long nSum = 0;
        for (int i = nStart; i < static_cast<int>(lengths.size()); ++i)
        {
            const int nLength = lengths[i];
            if (nLength >= 1 && nSum + nLength > nLimit && i > nStart)
            {
                if (nRow + 1 >= nRows)
                    return false;
                if (Pack(nRow + 1, i, nRemaining - nSum))
                {
                    rowStarts[nRow] = nStart;
                    return true;
                }
                if (nSum + nLength > nAvailable)
                    return false;
            }
            nSum += nLength;
        }
        rowStarts[nRow] = nStart;
        return true;
    }

    std::vector<int> RowOfItem()
    {
        std::vector<int> arr(lengths.size(), 0);
        for (int r = 0; r < nRows; ++r)
            if (rowStarts[r] >= 0)
                for (int i = rowStarts[r]; i < static_cast<int>(lengths.size()); ++i)
                    arr[i] = r;
        return arr;
    }
};

std::vector<int> RandomLengths(std::mt19937& random, int nCount)
{
    static const int kChoices[] = {10, 11, 12, 13, 30, 31};
    std::vector<int> arr(nCount);
    for (int& n : arr)
        n = kChoices[random() % 6];
    return arr;
}

}  // namespace

TEST(TabRowPacking, BacktrackingGivesTheRowsOfTheExhaustiveSearch)
{
    std::mt19937 random(7);
    int nCompared = 0;
    for (int nTrial = 0; nTrial < 400; ++nTrial)
    {
        const int nCount = 2 + static_cast<int>(random() % 22);
        const std::vector<int> arrLengths = RandomLengths(random, nCount);
        const int nAvailable = 30 + static_cast<int>(random() % 60);
        const int nRows = CQVTTabRowPacking::CountRows(arrLengths, nAvailable);
        for (bool bJustify : {true, false})
        {
            ExhaustiveSearch search{arrLengths, nRows, nAvailable, bJustify, std::vector<int>(nRows, -1)};
            const bool bFound = search.Pack(0, 0, std::accumulate(arrLengths.begin(), arrLengths.end(), 0LL));
            std::vector<int> arrRows;
            const BOOL bPacked =
                CQVTTabRowPacking::PackBacktracking(arrLengths, nRows, nAvailable, bJustify, arrRows);
            ASSERT_EQ(bFound, bPacked != FALSE) << "trial " << nTrial;
            if (bFound)
            {
                ASSERT_EQ(search.RowOfItem(), arrRows) << "trial " << nTrial;
                ++nCompared;
            }
        }
    }
    EXPECT_GT(nCompared, 600);
}

TEST(TabRowPacking, HundredsOfItemsPackInBoundedWork)
{
    // An input on which the exhaustive search already makes tens of
    // thousands of calls; its work doubles every few items more.
    std::vector<int> arrLengths = {30, 13, 31, 31, 13, 11, 13, 12, 10, 12, 11, 12, 30, 11,
                                   12, 11, 30, 13, 31, 10, 11, 30, 13, 30, 10, 11, 13, 13,
                                   10, 10, 31, 30, 12, 31, 10, 31, 30, 31, 31, 30};
    const int nRows = CQVTTabRowPacking::CountRows(arrLengths, 60);
    ExhaustiveSearch search{arrLengths, nRows, 60, true, std::vector<int>(nRows, -1)};
    ASSERT_TRUE(search.Pack(0, 0, std::accumulate(arrLengths.begin(), arrLengths.end(), 0LL)));
    EXPECT_GT(search.nCalls, 10000);
    std::vector<int> arrSame;
    ASSERT_TRUE(CQVTTabRowPacking::PackBacktracking(arrLengths, nRows, 60, TRUE, arrSame));
    EXPECT_EQ(search.RowOfItem(), arrSame);

    std::mt19937 random(40);
    for (int nCount : {400, 1000, 3000})
    {
        SCOPED_TRACE(nCount);
        arrLengths = RandomLengths(random, nCount);
        const int n = CQVTTabRowPacking::CountRows(arrLengths, 60);
        std::vector<int> arrRows;
        ASSERT_TRUE(CQVTTabRowPacking::PackBacktracking(arrLengths, n, 60, TRUE, arrRows));
        // Rows in item order from 0, none past the available length unless
        // one item alone is longer.
        std::vector<long long> arrSums(n, 0);
        std::vector<int> arrItems(n, 0);
        for (int i = 0; i < nCount; ++i)
        {
            ASSERT_GE(arrRows[i], i ? arrRows[i - 1] : 0);
            ASSERT_LT(arrRows[i], n);
            arrSums[arrRows[i]] += arrLengths[i];
            ++arrItems[arrRows[i]];
        }
        for (int r = 0; r < n; ++r)
            EXPECT_TRUE(arrSums[r] <= 60 || arrItems[r] == 1) << "row " << r;
    }
}

TEST(TabRowPacking, BalancedFillsFromTheOutermostRow)
{
    // 7 items in 3 rows: short rows take the item past the limit, row 0
    // takes the rest.
    std::vector<int> arrRows;
    const std::vector<int> arrLengths = {30, 50, 40, 60, 20, 70, 35};
    EXPECT_EQ(3, CQVTTabRowPacking::PackBalanced(arrLengths, 3, 120, TRUE, arrRows));
    EXPECT_EQ((std::vector<int>{2, 2, 1, 1, 0, 0, 0}), arrRows);
    // Without justification the limit is the whole row.
    EXPECT_EQ(3, CQVTTabRowPacking::PackBalanced(arrLengths, 3, 120, FALSE, arrRows));
    EXPECT_EQ((std::vector<int>{2, 2, 2, 1, 1, 0, 0}), arrRows);
    // Items that run out before row 0 use fewer rows, the last of them row 0.
    EXPECT_EQ(2, CQVTTabRowPacking::PackBalanced({50, 50, 50}, 4, 120, FALSE, arrRows));
    EXPECT_EQ((std::vector<int>{1, 1, 0}), arrRows);
    EXPECT_EQ(3, CQVTTabRowPacking::CountRows(arrLengths, 120));
    EXPECT_EQ(1, CQVTTabRowPacking::CountRows({}, 120));
    EXPECT_EQ(3, CQVTTabRowPacking::CountRows({200, 200, 200}, 120));
}
