// CQVTTabPaintManagerTheme: laying a strip out, in one row or in several.
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

#include <algorithm>
#include <vector>

#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabRowPacking.h"

namespace {

// Along the strip: x for top and bottom strips, y for side strips.
struct Axis
{
    BOOL bHorizontal;
    int Start(const CRect& rc) const { return bHorizontal ? rc.left : rc.top; }
    int End(const CRect& rc) const { return bHorizontal ? rc.right : rc.bottom; }
    int Length(const CRect& rc) const { return End(rc) - Start(rc); }
    // A rectangle from a span along the strip and one across it.
    CRect Make(int nAlong, int nAlongEnd, int nAcross, int nAcrossEnd) const
    {
        return bHorizontal ? CRect(nAlong, nAcross, nAlongEnd, nAcrossEnd)
                           : CRect(nAcross, nAlong, nAcrossEnd, nAlongEnd);
    }
};

// Where a row of the given thickness begins across the strip, k rows out
// from the client side.
int RowAcrossStart(const CRect& rcHeader, int nPosition, const CRect& rcMargin, int nRowHeight, int nStep,
                   int k)
{
    switch (nPosition)
    {
    case qvtTabPositionLeft:
        return rcHeader.right - rcMargin.bottom - nRowHeight - k * nStep;
    case qvtTabPositionBottom:
        return rcHeader.top + rcMargin.bottom + k * nStep;
    case qvtTabPositionRight:
        return rcHeader.left + rcMargin.bottom + k * nStep;
    default:
        return rcHeader.bottom - rcMargin.bottom - nRowHeight - k * nStep;
    }
}

}  // namespace

void CQVTTabPaintManagerTheme::RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient)
{
    if (pTabManager->GetLayout() == qvtTabLayoutMultiRow)
        RepositionMultiRow(pTabManager, pDC, rcClient);
    else
        RepositionSingleRow(pTabManager, pDC, rcClient);
}

CRect CQVTTabPaintManagerTheme::RepositionNavigateButtons(CQVTTabManager* pTabManager, CRect rcHeader)
{
    CRect rc = rcHeader;
    if (pTabManager->IsHorizontalPosition())
        rc.right -= 1;
    else
        rc.bottom -= 1;
    const CRect rcPulledIn = rc;
    CQVTTabManagerNavigateButtons& buttons = pTabManager->GetNavigateButtons();
    for (int i = buttons.GetSize() - 1; i >= 0; --i)
        buttons.GetAt(i)->Reposition(rc);
    return rc != rcPulledIn ? rc : rcHeader;
}

void AFX_CDECL CQVTTabPaintManagerTheme::SetItemLengths(CQVTTabManagerItem* pItem, int nLength,
                                                        int nContentLength)
{
    pItem->m_nButtonLength = nLength;
    pItem->m_nContentLength = nContentLength;
}

void CQVTTabPaintManagerTheme::MeasureItems(CQVTTabManager* pTabManager, CDC* pDC, int nExtraLength)
{
    for (int i = 0; i < pTabManager->GetItemCount(); ++i)
    {
        CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->IsVisible() ? GetItemLength(pDC, pItem) : 0;
        SetItemLengths(pItem, nLength + (pItem->IsVisible() ? nExtraLength : 0), nLength);
    }
}

BOOL CQVTTabPaintManagerTheme::PrepareLayout(CQVTTabManager* pTabManager, CRect& rc)
{
    const int nPosition = GetPosition();
    if (pTabManager->IsDrawStaticFrame())
        CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(2, 1, 2, 2), nPosition);
    CQVTTabPaintManager::DeflateRectByPosition(rc, m_pPaintManager->m_rcControlMargin, nPosition);
    if (m_pPaintManager->m_bShowTabs)
        return TRUE;
    pTabManager->m_rcHeader.SetRectEmpty();
    for (int i = 0; i < pTabManager->GetItemCount(); ++i)
        pTabManager->GetItem(i)->SetRect(CRect(0, 0, 0, 0));
    CQVTTabManagerNavigateButtons& buttons = pTabManager->GetNavigateButtons();
    for (int i = 0; i < buttons.GetSize(); ++i)
        buttons.GetAt(i)->SetRect(CRect(0, 0, 0, 0));
    return FALSE;
}

void CQVTTabPaintManagerTheme::RepositionSingleRow(CQVTTabManager* pTabManager, CDC* pDC, CRect rc)
{
    CQVTTabPaintManager* pPaintManager = m_pPaintManager;
    const int nPosition = GetPosition();
    const Axis axis{QVTIsHorizontalTabPosition(nPosition)};
    if (!PrepareLayout(pTabManager, rc))
        return;
    CQVTTabManagerNavigateButtons& buttons = pTabManager->GetNavigateButtons();

    MeasureItems(pTabManager, pDC, pPaintManager->m_nItemExtraLength);
    const CRect rcHeaderFull = GetHeaderRect(rc, pTabManager);
    pTabManager->m_rcHeader = rcHeaderFull;
    const int nCount = pTabManager->GetItemCount();
    if (nCount == 0)
    {
        pTabManager->m_rcHeader = RepositionNavigateButtons(pTabManager, rcHeaderFull);
        return;
    }

    const CRect rcMargin = GetHeaderMargin();
    const int nRowHeight = GetRowHeight(pTabManager);
    int nRowStart;
    switch (nPosition)
    {
    case qvtTabPositionLeft:
        nRowStart = rcHeaderFull.left + rcMargin.top;
        break;
    case qvtTabPositionBottom:
        nRowStart = rcHeaderFull.bottom - rcMargin.top - nRowHeight;
        break;
    case qvtTabPositionRight:
        nRowStart = rcHeaderFull.right - rcMargin.top - nRowHeight;
        break;
    default:
        nRowStart = rcHeaderFull.top + rcMargin.top;
    }

    if (pTabManager->GetLayout() == qvtTabLayoutSizeToFit)
    {
        int nAvailable = axis.Length(rcHeaderFull) - rcMargin.left - rcMargin.right;
        for (int i = buttons.GetSize() - 1; i >= 0; --i)
            buttons.GetAt(i)->AdjustWidth(nAvailable);
        ShrinkToFit(pTabManager, nAvailable);
    }

    CRect rcHeader = RepositionNavigateButtons(pTabManager, rcHeaderFull);
    pTabManager->m_rcHeader = rcHeader;
    const int nTotal = pTabManager->GetItemsLength();
    const int nHeaderRoom = axis.Length(rcHeader) - rcMargin.left - rcMargin.right;
    const int nOffset = pTabManager->GetHeaderOffset();
    if (nOffset < 0 && nOffset + nTotal < nHeaderRoom)
    {
        // Scrolled further than the items reach: pull the last one back.
        const int nRoom = nHeaderRoom - nTotal;
        pTabManager->m_nHeaderOffset = nRoom < 1 ? nRoom : 0;
        rcHeader = RepositionNavigateButtons(pTabManager, rcHeaderFull);
        pTabManager->m_rcHeader = rcHeader;
    }

    int nAlong = axis.Start(rcHeader) + pTabManager->GetHeaderOffset() + rcMargin.left;
    const BOOL bRotated = pTabManager->GetLayout() == qvtTabLayoutRotated;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
        if (bRotated)
        {
            if (!pItem->IsVisible())
            {
                pItem->SetRect(CRect(0, 0, 0, 0));
                continue;
            }
            const int nLength = pItem->GetButtonLength();
            // Across the strip from the client-facing edge, in by the bottom margin.
            int nAcross;
            switch (nPosition)
            {
            case qvtTabPositionLeft:
                nAcross = rcHeader.right - rcMargin.bottom - nLength;
                break;
            case qvtTabPositionBottom:
                nAcross = rcHeader.top + rcMargin.bottom;
                break;
            case qvtTabPositionRight:
                nAcross = rcHeader.left + rcMargin.bottom;
                break;
            default:
                nAcross = rcHeader.bottom - rcMargin.bottom - nLength;
            }
            pItem->SetRect(axis.Make(nAlong, nAlong + nRowHeight, nAcross, nAcross + nLength));
            nAlong += nRowHeight;
            continue;
        }
        const int nLength = pItem->GetButtonLength();
        pItem->SetRect(axis.Make(nAlong, nAlong + nLength, nRowStart, nRowStart + nRowHeight));
        nAlong += nLength;
    }
}

void CQVTTabPaintManagerTheme::ShrinkToFit(CQVTTabManager* pTabManager, int nAvailable)
{
    const int nCount = pTabManager->GetItemCount();
    if (pTabManager->GetItemsLength() <= nAvailable)
        return;
    if (nCount == 1)
    {
        CQVTTabManagerItem* pItem = pTabManager->GetItem(0);
        SetItemLengths(pItem, nAvailable, pItem->GetContentLength());
        return;
    }
    std::vector<CQVTTabManagerItem*> arrSorted;
    for (int i = 0; i < nCount; ++i)
        arrSorted.push_back(pTabManager->GetItem(i));
    std::stable_sort(arrSorted.begin(), arrSorted.end(), [](CQVTTabManagerItem* a, CQVTTabManagerItem* b) {
        return a->GetButtonLength() < b->GetButtonLength();
    });
    int nRemainingLength = nAvailable;
    int nRemainingCount = nCount;
    size_t nFirstShrunk = 0;
    // Short items keep their length while the rest would be longer anyway.
    while (nFirstShrunk < arrSorted.size() &&
           static_cast<LONGLONG>(nRemainingCount) * arrSorted[nFirstShrunk]->GetButtonLength() <
               nRemainingLength)
    {
        nRemainingLength -= arrSorted[nFirstShrunk]->GetButtonLength();
        --nRemainingCount;
        ++nFirstShrunk;
    }
    for (size_t i = nFirstShrunk; i < arrSorted.size(); ++i)
    {
        const int nLength = nRemainingLength / nRemainingCount;
        SetItemLengths(arrSorted[i], nLength, arrSorted[i]->GetContentLength());
        nRemainingLength -= nLength;
        --nRemainingCount;
    }
}

void CQVTTabPaintManagerTheme::RepositionMultiRow(CQVTTabManager* pTabManager, CDC* pDC, CRect rc)
{
    CQVTTabPaintManager* pPaintManager = m_pPaintManager;
    const int nPosition = GetPosition();
    const Axis axis{QVTIsHorizontalTabPosition(nPosition)};
    if (!PrepareLayout(pTabManager, rc))
        return;

    pTabManager->m_nHeaderOffset = 0;
    MeasureItems(pTabManager, pDC, 0);
    const CRect rcHeaderOneRow = RepositionNavigateButtons(pTabManager, GetHeaderRect(rc, pTabManager));
    pTabManager->m_rcHeader = rcHeaderOneRow;
    const int nCount = pTabManager->GetItemCount();
    if (nCount == 0)
        return;

    const CRect rcMargin = GetHeaderMargin();
    const int nAvailable = axis.Length(rcHeaderOneRow) - rcMargin.left - rcMargin.right;
    std::vector<int> arrLengths(nCount);
    for (int i = 0; i < nCount; ++i)
        arrLengths[i] = pTabManager->GetItem(i)->GetContentLength();
    const BOOL bJustify = pPaintManager->m_bMultiRowJustified;
    int nRows = CQVTTabRowPacking::CountRows(arrLengths, nAvailable);
    std::vector<int> arrRowOfItem(nCount, 0);
    if (!pPaintManager->m_bMultiRowBacktracking && nRows >= 2)
        nRows = CQVTTabRowPacking::PackBalanced(arrLengths, nRows, nAvailable, bJustify, arrRowOfItem);
    if (nRows >= 2)
    {
        if (pPaintManager->m_bMultiRowBacktracking)
        {
            if (!CQVTTabRowPacking::PackBacktracking(arrLengths, nRows, nAvailable, bJustify, arrRowOfItem))
                CQVTTabRowPacking::PackBacktracking(arrLengths, nRows, nAvailable, FALSE, arrRowOfItem);
        }
        else
            CQVTTabRowPacking::PackBalanced(arrLengths, nRows, nAvailable, bJustify, arrRowOfItem);
    }

    // Row records, and the row holding the selection brought next to the client.
    CQVTTabManager::CRowIndexer::ROW_ITEMS* pRows = pTabManager->m_pRowIndexer->CreateIndexer(nRows);
    for (int r = 0; r < nRows; ++r)
        pRows[r] = CQVTTabManager::CRowIndexer::ROW_ITEMS{nCount, -1};
    for (int i = 0; i < nCount; ++i)
    {
        const int r = std::min(std::max(arrRowOfItem[i], 0), nRows - 1);
        pRows[r].nFirstItem = std::min(pRows[r].nFirstItem, i);
        pRows[r].nLastItem = std::max(pRows[r].nLastItem, i);
    }
    CQVTTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    if (!pPaintManager->m_bMultiRowFixedSelection && pSelected && nRows >= 2)
    {
        const int r = std::min(std::max(arrRowOfItem[pSelected->GetIndex()], 0), nRows - 1);
        std::swap(pRows[0], pRows[r]);
    }
    for (int r = 0; r < nRows; ++r)
        for (int i = pRows[r].nFirstItem; i <= pRows[r].nLastItem; ++i)
            pTabManager->GetItem(i)->m_nItemRow = r;

    // The header is as thick as the rows now; rows go out from the client side.
    const CRect rcHeaderFull = GetHeaderRect(rc, pTabManager);
    const int nRowHeight = GetRowHeight(pTabManager);
    const int nStep = nRowHeight + m_nRowMargin;
    for (int r = 0; r < nRows; ++r)
    {
        const int nFirst = pRows[r].nFirstItem, nLast = pRows[r].nLastItem;
        if (nFirst > nLast)
            continue;
        if (bJustify && nRows >= 2)
        {
            LONGLONG nFree = nAvailable;
            for (int i = nFirst; i <= nLast; ++i)
                nFree -= pTabManager->GetItem(i)->GetButtonLength();
            for (int i = nFirst; i <= nLast; ++i)
            {
                CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
                const LONGLONG nShare = nFree / (nLast - i + 1);
                SetItemLengths(pItem, pItem->GetButtonLength() + static_cast<int>(nShare),
                               pItem->GetContentLength());
                nFree -= nShare;
            }
        }
        const int nAcross = RowAcrossStart(rcHeaderFull, nPosition, rcMargin, nRowHeight, nStep, r);
        int nAlong = axis.Start(rcHeaderOneRow) + rcMargin.left;
        for (int i = nFirst; i <= nLast; ++i)
        {
            CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
            const int nLength = pItem->GetButtonLength();
            pItem->SetRect(axis.Make(nAlong, nAlong + nLength, nAcross, nAcross + nRowHeight));
            nAlong += nLength;
        }
    }
    pTabManager->m_rcHeader = RepositionNavigateButtons(pTabManager, rcHeaderFull);
}
