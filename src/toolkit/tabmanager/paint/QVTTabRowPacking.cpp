#include "toolkit/tabmanager/paint/QVTTabRowPacking.h"

#include <algorithm>
#include <unordered_map>

int AFX_CDECL CQVTTabRowPacking::CountRows(const std::vector<int>& arrLengths, int nAvailable)
{
    int nRows = 1;
    long long nRunning = 0;
    bool bRowEmpty = true;
    for (int nLength : arrLengths)
    {
        if (!bRowEmpty && nRunning + nLength > nAvailable)
        {
            ++nRows;
            nRunning = 0;
        }
        nRunning += nLength;
        bRowEmpty = false;
    }
    return nRows;
}

BOOL AFX_CDECL CQVTTabRowPacking::PackBacktracking(const std::vector<int>& arrLengths, int nRows,
                                                   int nAvailable, BOOL bJustify,
                                                   std::vector<int>& arrRowOfItem)
{
    const int nCount = static_cast<int>(arrLengths.size());
    arrRowOfItem.assign(nCount, 0);
    if (nCount == 0 || nRows < 1)
        return TRUE;

    std::vector<long long> arrPrefix(nCount + 1, 0);
    for (int i = 0; i < nCount; ++i)
        arrPrefix[i + 1] = arrPrefix[i] + arrLengths[i];
    auto limitOf = [&](int nRow, int nStart) -> long long {
        const long long nRemaining = arrPrefix[nCount] - arrPrefix[nStart];
        return bJustify ? std::min<long long>(nRemaining / (nRows - nRow), nAvailable) : nAvailable;
    };
    auto keyOf = [nCount](int nRow, int nStart) {
        return static_cast<long long>(nRow) * (nCount + 1) + nStart;
    };

    // For every row start worked out: where its next row starts, or -1
    // when no distribution of the rest fits.
    std::unordered_map<long long, int> memo;
    struct Frame
    {
        int nRow, nStart, nItem;
        long long nSum;
        bool bWaiting;  // for the outcome of the next row from nItem
    };
    std::vector<Frame> stack{{0, 0, 0, 0, false}};
    bool bLastResult = false;
    while (!stack.empty())
    {
        const size_t nTop = stack.size() - 1;
        Frame f = stack[nTop];
        const long long nLimit = limitOf(f.nRow, f.nStart);
        int nOutcome = -2;  // -2 undecided, -1 fails, else the next row's start
        if (f.bWaiting)
        {
            f.bWaiting = false;
            if (bLastResult)
                nOutcome = f.nItem;
            else if (f.nSum + arrLengths[f.nItem] > nAvailable)
                nOutcome = -1;
            else
                f.nSum += arrLengths[f.nItem++];
        }
        bool bDescend = false;
        while (nOutcome == -2 && f.nItem < nCount)
        {
            const int nLength = arrLengths[f.nItem];
            if (nLength >= 1 && f.nSum + nLength > nLimit && f.nItem > f.nStart)
            {
                if (f.nRow + 1 >= nRows)
                {
                    nOutcome = -1;
                    break;
                }
                const auto it = memo.find(keyOf(f.nRow + 1, f.nItem));
                if (it == memo.end())
                {
                    bDescend = true;
                    break;
                }
                if (it->second != -1)
                {
                    nOutcome = f.nItem;
                    break;
                }
                if (f.nSum + nLength > nAvailable)
                {
                    nOutcome = -1;
                    break;
                }
            }
            f.nSum += nLength;
            ++f.nItem;
        }
        if (bDescend)
        {
            f.bWaiting = true;
            stack[nTop] = f;
            stack.push_back(Frame{f.nRow + 1, f.nItem, f.nItem, 0, false});
            continue;
        }
        if (nOutcome == -2)
            nOutcome = nCount;
        memo[keyOf(f.nRow, f.nStart)] = nOutcome;
        bLastResult = nOutcome != -1;
        stack.pop_back();
    }
    if (!bLastResult)
        return FALSE;

    int nStart = 0;
    for (int nRow = 0; nRow < nRows && nStart < nCount; ++nRow)
    {
        const int nNext = memo[keyOf(nRow, nStart)];
        for (int i = nStart; i < nNext; ++i)
            arrRowOfItem[i] = nRow;
        nStart = nNext;
    }
    return TRUE;
}

int AFX_CDECL CQVTTabRowPacking::PackBalanced(const std::vector<int>& arrLengths, int nRows, int nAvailable,
                                              BOOL bJustify, std::vector<int>& arrRowOfItem)
{
    const int nCount = static_cast<int>(arrLengths.size());
    arrRowOfItem.assign(nCount, 0);
    if (nCount == 0 || nRows < 1)
        return 1;
    long long nTotal = 0;
    for (int nLength : arrLengths)
        nTotal += nLength;
    const long long nLimit = bJustify ? std::min<long long>(nTotal / nRows, nAvailable) : nAvailable;
    // Rows short of this many items still take the item that passes the limit.
    int nThreshold = 1;
    for (int d = nCount - nRows + 1; nThreshold < d && nThreshold + 1 < nRows; d -= nRows - 1)
        ++nThreshold;

    // Groups in item order, the first one outermost.
    std::vector<int> arrGroupStart;
    int nItem = 0;
    for (int nRow = nRows - 1; nRow >= 0 && nItem < nCount; --nRow)
    {
        arrGroupStart.push_back(nItem);
        if (nRow == 0)
        {
            nItem = nCount;
            break;
        }
        long long nSum = 0;
        int nTaken = 0;
        while (nItem < nCount)
        {
            if (nSum + arrLengths[nItem] <= nLimit)
            {
                nSum += arrLengths[nItem++];
                ++nTaken;
                continue;
            }
            if (nTaken < nThreshold)
            {
                ++nItem;
                ++nTaken;
            }
            break;
        }
    }
    const int nUsed = static_cast<int>(arrGroupStart.size());
    for (int g = 0; g < nUsed; ++g)
    {
        const int nEnd = g + 1 < nUsed ? arrGroupStart[g + 1] : nCount;
        for (int i = arrGroupStart[g]; i < nEnd; ++i)
            arrRowOfItem[i] = nUsed - 1 - g;
    }
    return nUsed;
}
