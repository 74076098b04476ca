// The layouts of a controls collection: rows for toolbars (wrapped at a
// length, groups kept together, far-end and stretched controls, what does
// not fit hidden), the adaptive column layout whose button styles shrink
// until the bar fits, and the column layout of popup bars.
#include "toolkit/commandbars/controls/QVTControls.h"

#include <afxext.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {
const int kMaxWrapWidth = 32767;

int ScaleX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

int ScaleY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}
}  // namespace

// Rows.

int CQVTControls::WrapToWidth(LayoutInfo& info, int nWidth, DWORD& dwMode) const
{
    const BOOL bVert = info.bVert;
    const int nSeparator = bVert ? info.szSeparator.cy : info.szSeparator.cx;
    const BOOL bHideWrap = (dwMode & qvtLayoutHideWrap) != 0;
    const BOOL bWrapGroups = (dwMode & qvtLayoutWrapGroups) != 0;
    std::vector<LayoutItem>& items = info.items;
    for (LayoutItem& item : items)
    {
        item.bWrap = FALSE;
        item.bHidden = FALSE;
    }

    int nRows = 0;
    int nRowLength = 0;
    int nRowStart = -1;  // first visible item of the row
    for (size_t i = 0; i < items.size(); ++i)
    {
        LayoutItem& item = items[i];
        if (!item.bVisible)
            continue;
        const BOOL bForcedBreak = (item.pControl->GetFlags() & qvtFlagWrapRow) != 0;
        if (nRowStart < 0 || bForcedBreak)
        {
            item.bWrap = nRows > 0;
            nRowStart = static_cast<int>(i);
            nRowLength = LengthOf(item.szControl, bVert);
            ++nRows;
            continue;
        }
        const int nGap = item.bBeginGroup ? nSeparator : 0;
        const int nNewLength = nRowLength + nGap + LengthOf(item.szControl, bVert);
        const BOOL bGroupBreak = bWrapGroups && item.bBeginGroup;
        if (nNewLength <= nWidth && !bGroupBreak)
        {
            nRowLength = nNewLength;
            continue;
        }
        if (bHideWrap)
        {
            // What does not fit is hidden, up to the next control that
            // starts a row of its own.
            size_t j = i;
            for (; j < items.size(); ++j)
            {
                if (j > i && items[j].bVisible && (items[j].pControl->GetFlags() & qvtFlagWrapRow))
                    break;
                if (items[j].bVisible)
                    items[j].bHidden = TRUE;
            }
            info.bOverflow = TRUE;
            i = j - 1;
            nRowStart = -1;
            continue;
        }
        // Keep the group together: break at its first control unless that
        // is the row's first.
        size_t nBreak = i;
        if (!item.bBeginGroup)
        {
            for (size_t k = i; k > static_cast<size_t>(nRowStart); --k)
            {
                if (items[k - 1].bVisible && items[k - 1].bBeginGroup &&
                    k - 1 != static_cast<size_t>(nRowStart))
                {
                    nBreak = k - 1;
                    break;
                }
            }
        }
        items[nBreak].bWrap = TRUE;
        nRowStart = static_cast<int>(nBreak);
        nRowLength = 0;
        for (size_t k = nBreak; k <= i; ++k)
        {
            if (!items[k].bVisible)
                continue;
            const int nItemGap = (k != nBreak && items[k].bBeginGroup) ? nSeparator : 0;
            nRowLength += nItemGap + LengthOf(items[k].szControl, bVert);
        }
        ++nRows;
    }
    return nRows;
}

CSize CQVTControls::RowLayout(LayoutInfo& info) const
{
    const BOOL bVert = info.bVert;
    int nAlong = 0;   // position along the row
    int nAcross = 0;  // top of the row (left of the column when vertical)
    int nThickness = 0;
    int nMaxAlong = 0;
    size_t nRowFirst = 0;
    BOOL bFirst = TRUE;
    auto finishRow = [&](size_t nEnd) {
        for (size_t k = nRowFirst; k < nEnd; ++k)
        {
            LayoutItem& item = info.items[k];
            if (!item.bVisible || item.bHidden)
                continue;
            item.rcRow = bVert ? CRect(nAcross, 0, nAcross + nThickness, 0)
                               : CRect(0, nAcross, 0, nAcross + nThickness);
        }
    };
    for (size_t i = 0; i < info.items.size(); ++i)
    {
        LayoutItem& item = info.items[i];
        if (!item.bVisible || item.bHidden)
            continue;
        if (!bFirst && item.bWrap)
        {
            finishRow(i);
            nAcross += nThickness;
            if (item.bBeginGroup)
                nAcross += bVert ? info.szSeparator.cx : info.szSeparator.cy;
            nThickness = 0;
            nAlong = 0;
            nRowFirst = i;
        }
        else if (!bFirst && item.bBeginGroup)
            nAlong += bVert ? info.szSeparator.cy : info.szSeparator.cx;
        bFirst = FALSE;
        const CSize sz = item.szControl;
        item.rcControl = bVert ? CRect(CPoint(nAcross, nAlong), sz) : CRect(CPoint(nAlong, nAcross), sz);
        nAlong += bVert ? sz.cy : sz.cx;
        nThickness = std::max<int>(nThickness, bVert ? sz.cx : sz.cy);
        nMaxAlong = std::max(nMaxAlong, nAlong);
    }
    finishRow(info.items.size());
    const int nTotalAcross = nAcross + nThickness;
    return bVert ? CSize(nTotalAcross, nMaxAlong) : CSize(nMaxAlong, nTotalAcross);
}

CSize CQVTControls::CalcWrappedSize(LayoutInfo& info, int nWidth, DWORD& dwMode) const
{
    WrapToWidth(info, nWidth, dwMode);
    return RowLayout(info);
}

int CQVTControls::FitWrap(LayoutInfo& info, int nLength, DWORD dwMode) const
{
    if (dwMode & LM_LENGTHY)
    {
        // The width whose height comes nearest to the requested one; the
        // narrowest among equals.
        int lo = 0;
        int hi = kMaxWrapWidth;
        int nBest = kMaxWrapWidth;
        int nBestDiff = INT_MAX;
        while (lo <= hi)
        {
            const int mid = lo + (hi - lo) / 2;
            DWORD dw = dwMode;
            const int h = CalcWrappedSize(info, mid, dw).cy;
            const int nDiff = abs(h - nLength);
            if (nDiff < nBestDiff || (nDiff == nBestDiff && mid < nBest))
            {
                nBestDiff = nDiff;
                nBest = mid;
            }
            if (h > nLength)
                lo = mid + 1;
            else
                hi = mid - 1;
        }
        return nBest;
    }
    DWORD dw = dwMode;
    const int nRows = WrapToWidth(info, nLength, dw);
    int lo = 0;
    int hi = std::max(0, nLength);
    while (lo < hi)
    {
        const int mid = lo + (hi - lo) / 2;
        DWORD dwTry = dwMode;
        if (WrapToWidth(info, mid, dwTry) <= nRows)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

int CQVTControls::FitSquare(LayoutInfo& info, DWORD dwMode) const
{
    int lo = 0;
    int hi = kMaxWrapWidth;
    while (lo < hi)
    {
        const int mid = lo + (hi - lo) / 2;
        DWORD dw = dwMode;
        const CSize sz = CalcWrappedSize(info, mid, dw);
        if (sz.cx >= sz.cy)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// The adaptive layout: columns of large buttons whose styles shrink by runs
// of three until the bar fits.

CSize CQVTControls::ColumnLayout(LayoutInfo& info, DWORD dwMode, CDC* pDC) const
{
    const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
    CQVTPaintManager* pPaintManager = info.pPaintManager;
    const CSize szLarge = m_pParent ? m_pParent->GetLargeIconSize() : CSize(ScaleX(32), ScaleY(32));
    const int nLimit =
        (bVert ? szLarge.cx : szLarge.cy) + pPaintManager->GetTwoLineCaptionHeight() + ScaleY(7);

    int nColumnStart = 0;  // along the bar
    int nColumnWidth = 0;
    int nCursor = 0;  // across the bar, within the column
    int nTallest = 0;
    BOOL bFirst = TRUE;
    for (LayoutItem& item : info.items)
    {
        if (!item.bVisible || item.bHidden)
            continue;
        const int nStyle = item.pControl->GetStyle();
        if (nStyle != item.nStyle)
        {
            item.szControl = item.pControl->GetSize(pDC);
            item.nStyle = nStyle;
        }
        const int nAlongSize = bVert ? item.szControl.cy : item.szControl.cx;
        const int nAcrossSize = bVert ? item.szControl.cx : item.szControl.cy;
        BOOL bNewColumn = bFirst;
        int nGap = 0;
        if (!bFirst)
        {
            if (item.bBeginGroup)
            {
                bNewColumn = TRUE;
                nGap = ScaleX(6);
            }
            else if (item.pControl->m_buttonStyle == qvtButtonIconAndCaptionBelow)
                bNewColumn = TRUE;
            else if (nCursor + nAcrossSize > nLimit)
                bNewColumn = TRUE;
        }
        if (bNewColumn && !bFirst)
        {
            nColumnStart += nColumnWidth + nGap;
            nColumnWidth = 0;
            nCursor = 0;
        }
        bFirst = FALSE;
        item.rcControl = bVert ? CRect(CPoint(-(nCursor + nAcrossSize), nColumnStart), item.szControl)
                               : CRect(CPoint(nColumnStart, nCursor), item.szControl);
        nCursor += nAcrossSize;
        nColumnWidth = std::max(nColumnWidth, nAlongSize);
        nTallest = std::max(nTallest, nAcrossSize);
    }
    const int nAlong = bFirst ? 0 : nColumnStart + nColumnWidth;
    const int nAcross = std::max(nLimit, nTallest);
    if (bVert)
    {
        // Turned by a quarter: the rows stack leftwards from the bar's edge.
        for (LayoutItem& item : info.items)
            if (item.bVisible && !item.bHidden)
                item.rcControl.OffsetRect(nAcross, 0);
        return CSize(nAcross, nAlong);
    }
    return CSize(nAlong, nAcross);
}

BOOL CQVTControls::ShrinkOneRun(LayoutInfo& info, DWORD dwMode) const
{
    std::vector<LayoutItem>& items = info.items;
    const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
    // The run that starts at a control and goes back over the next visible
    // ones; only its earliest control may begin a group.
    auto collect = [&items](int nStart, std::vector<LayoutItem*>& run) {
        run.clear();
        if (!items[nStart].bVisible || items[nStart].bHidden || items[nStart].bBeginGroup)
            return FALSE;
        run.push_back(&items[nStart]);
        for (int k = nStart - 1; k >= 0 && run.size() < 3; --k)
        {
            LayoutItem& item = items[k];
            if (!item.bVisible || item.bHidden)
                continue;
            run.push_back(&item);
            if (item.bBeginGroup)
                break;
        }
        return static_cast<BOOL>(run.size() == 3);
    };
    auto countStyle = [](const std::vector<LayoutItem*>& run, int nStyle) {
        int n = 0;
        for (LayoutItem* pItem : run)
            n += pItem->pControl->m_buttonStyle == nStyle;
        return n;
    };
    auto sameColumn = [bVert](const std::vector<LayoutItem*>& run) {
        const int nEdge = bVert ? run[0]->rcControl.top : run[0]->rcControl.left;
        for (LayoutItem* pItem : run)
            if ((bVert ? pItem->rcControl.top : pItem->rcControl.left) != nEdge)
                return FALSE;
        return TRUE;
    };
    std::vector<LayoutItem*> run;
    // Three kinds of run, each looked for from the last control backwards
    // before the next kind is.
    for (int nKind = 0; nKind < 3; ++nKind)
    {
        for (int nStart = static_cast<int>(items.size()) - 1; nStart >= 2; --nStart)
        {
            if (!collect(nStart, run))
                continue;
            const int nLarge = countStyle(run, qvtButtonIconAndCaptionBelow);
            const BOOL bMatch = nKind == 0 ? nLarge == 3
                                : nKind == 1
                                    ? nLarge >= 1
                                    : countStyle(run, qvtButtonIconAndCaption) == 3 && sameColumn(run);
            if (!bMatch)
                continue;
            for (LayoutItem* pItem : run)
                pItem->pControl->m_buttonStyle = nKind == 2 ? qvtButtonIcon : qvtButtonIconAndCaption;
            return TRUE;
        }
    }
    return FALSE;
}

CSize CQVTControls::AdaptiveLayout(LayoutInfo& info, int nLength, DWORD& dwMode, CDC* pDC) const
{
    const CSize szLarge = m_pParent ? m_pParent->GetLargeIconSize() : CSize(ScaleX(32), ScaleY(32));
    for (LayoutItem& item : info.items)
    {
        if (!item.bVisible)
            continue;
        // Large buttons where a large icon exists.
        CQVTImageManager* pImageManager = item.pControl->GetImageManager();
        const BOOL bLargeIcon =
            item.pControl->GetIconId() >= 1 && pImageManager &&
            pImageManager->HasImage(static_cast<UINT>(item.pControl->GetIconId()), szLarge.cx);
        item.pControl->m_buttonStyle = bLargeIcon ? qvtButtonIconAndCaptionBelow : qvtButtonIconAndCaption;
        item.bWrap = FALSE;
        item.bHidden = FALSE;
        item.nStyle = -1;
    }
    const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
    CSize sz = ColumnLayout(info, dwMode, pDC);
    auto along = [bVert](const CSize& s) { return bVert ? s.cy : s.cx; };
    if (along(sz) <= nLength)
        return sz;
    dwMode |= LM_STRETCH;
    while (along(sz) >= nLength && ShrinkOneRun(info, dwMode))
        sz = ColumnLayout(info, dwMode, pDC);
    if (along(sz) <= nLength || !(dwMode & qvtLayoutHideWrap))
        return sz;
    BOOL bFirst = TRUE;
    for (LayoutItem& item : info.items)
    {
        if (!item.bVisible)
            continue;
        const int nFar = bVert ? item.rcControl.bottom : item.rcControl.right;
        if (!bFirst && nFar > nLength)
        {
            item.pControl->m_buttonStyle = qvtButtonIcon;
            item.bHidden = TRUE;
        }
        bFirst = FALSE;
    }
    return ColumnLayout(info, dwMode, pDC);
}

// Far-end and stretched controls of committed rows.

void CQVTControls::AlignRows(LayoutInfo& info) const
{
    const BOOL bVert = info.bVert;
    std::vector<LayoutItem>& items = info.items;
    size_t nRowStart = 0;
    while (nRowStart < items.size())
    {
        // One row: from a placed item to the next that wraps.
        size_t nRowEnd = nRowStart;
        std::vector<size_t> row;
        for (; nRowEnd < items.size(); ++nRowEnd)
        {
            const LayoutItem& item = items[nRowEnd];
            if (!item.bVisible || item.bHidden)
                continue;
            if (!row.empty() && item.bWrap)
                break;
            row.push_back(nRowEnd);
        }
        if (row.empty())
            break;
        const CRect rcRow = items[row.front()].rcRow;
        const int nRowFar = bVert ? rcRow.bottom : rcRow.right;

        // The run of far-end controls at the row's end goes to its far edge
        // when it then overlaps nothing before it.
        size_t nRun = row.size();
        while (nRun > 0 && (items[row[nRun - 1]].pControl->GetFlags() & qvtFlagRightAlign))
            --nRun;
        if (nRun < row.size())
        {
            const LayoutItem& last = items[row.back()];
            const int nShift = nRowFar - (bVert ? last.rcControl.bottom : last.rcControl.right);
            const int nPrevFar = nRun > 0 ? (bVert ? items[row[nRun - 1]].rcControl.bottom
                                                   : items[row[nRun - 1]].rcControl.right)
                                          : (bVert ? rcRow.top : rcRow.left);
            const int nRunStart = bVert ? items[row[nRun]].rcControl.top : items[row[nRun]].rcControl.left;
            if (nShift > 0 && nRunStart + nShift >= nPrevFar)
                for (size_t k = nRun; k < row.size(); ++k)
                    items[row[k]].rcControl.OffsetRect(bVert ? 0 : nShift, bVert ? nShift : 0);
        }

        // Stretched controls share the free length that is left.
        int nStretched = 0;
        for (size_t k : row)
            nStretched += (items[k].pControl->GetFlags() & qvtFlagControlStretched) != 0;
        if (nStretched > 0)
        {
            const LayoutItem& last = items[row.back()];
            int nFree = nRowFar - (bVert ? last.rcControl.bottom : last.rcControl.right);
            int nGiven = 0;
            for (size_t k : row)
            {
                LayoutItem& item = items[k];
                item.rcControl.OffsetRect(bVert ? 0 : nGiven, bVert ? nGiven : 0);
                if (!(item.pControl->GetFlags() & qvtFlagControlStretched) || nFree <= 0)
                    continue;
                const int nShare = nFree / nStretched;
                if (bVert)
                    item.rcControl.bottom += nShare;
                else
                    item.rcControl.right += nShare;
                nGiven += nShare;
                nFree -= nShare;
                --nStretched;
            }
        }
        nRowStart = nRowEnd;
    }
}

CSize CQVTControls::CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorderIn,
                                    int nMinExtent)
{
    LayoutInfo info;
    info.pPaintManager = m_pParent ? m_pParent->GetPaintManager() : QVTPaintManager();
    info.bVert = (dwMode & LM_VERTDOCK) != 0;
    CRect rcBorder = rcBorderIn;
    if (m_pParent)
    {
        CQVTFontDC font(pDC, info.pPaintManager->GetCommandBarFont(m_pParent));
        info.szSeparator = info.pPaintManager->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE);
    }
    for (int i = GetCount() - 1; i >= 0; --i)
        m_arrControls[static_cast<size_t>(i)]->OnCalcDynamicSize(dwMode);

    if (GetVisibleCount(FALSE) == 0)
    {
        CSize sz(rcBorder.left + rcBorder.right + ScaleX(23), rcBorder.top + rcBorder.bottom + ScaleY(22));
        if (dwMode & LM_HORZDOCK)
            sz.cy = std::max<int>(sz.cy, nMinExtent);
        else
            sz.cx = std::max<int>(sz.cx, nMinExtent);
        return sz;
    }

    for (CQVTControl* pControl : m_arrControls)
    {
        if (pControl->GetID() == QVT_ID_ADDREMOVE_BUTTONS)
            rcBorder = CRect(ScaleX(3), ScaleY(3), ScaleX(3), ScaleY(3));
        LayoutItem item = {};
        item.bVisible = pControl->IsVisible(qvtHideWrap);
        item.szControl = item.bVisible ? pControl->GetSize(pDC) : CSize(0, 0);
        item.rcControl = pControl->GetRect();
        item.bBeginGroup = pControl->GetBeginGroup();
        item.nStyle = pControl->GetStyle();
        item.pControl = pControl;
        info.items.push_back(item);
    }

    const BOOL bAdaptive = m_pParent && (m_pParent->GetFlags() & qvtBarFlagAdaptiveLayout);
    const int nHorzBorders = rcBorder.left + rcBorder.right;
    const int nVertBorders = rcBorder.top + rcBorder.bottom;
    CSize szContent;
    if (bAdaptive)
        szContent =
            AdaptiveLayout(info, (info.bVert ? nLength - nVertBorders : nLength - nHorzBorders), dwMode, pDC);
    else
    {
        if (dwMode & LM_MRUWIDTH)
            nLength = m_pParent ? m_pParent->GetMRUWidth() : nLength;
        szContent = CalcWrappedSize(info, CalcWrapWidth(info, nLength, dwMode, rcBorder), dwMode);
    }

    if (nMinExtent > 0 && (dwMode & LM_HORZDOCK))
    {
        szContent.cy = std::max<int>(szContent.cy, nMinExtent - nVertBorders);
        szContent.cx = std::max<int>(szContent.cx, nMinExtent - nHorzBorders);
    }
    if (dwMode & LM_STRETCH)
    {
        if (info.bVert)
            szContent.cy = std::max<int>(szContent.cy, nLength - nVertBorders);
        else
            szContent.cx = std::max<int>(szContent.cx, nLength - nHorzBorders);
    }

    PlaceInBorders(info, rcBorder, szContent, bAdaptive);
    if (dwMode & LM_COMMIT)
        CommitLayout(info, bAdaptive);
    return CSize(szContent.cx + nHorzBorders, szContent.cy + nVertBorders);
}

// The width the controls wrap at: the MRU width's (squared when that is
// far too tall) for wrapped groups, the dock's length, or the best fit.
int CQVTControls::CalcWrapWidth(LayoutInfo& info, int nLength, DWORD dwMode, const CRect& rcBorder) const
{
    const int nHorzBorders = rcBorder.left + rcBorder.right;
    const int nVertBorders = rcBorder.top + rcBorder.bottom;
    if (dwMode & qvtLayoutWrapGroups)
    {
        const int nMRU = m_pParent ? m_pParent->GetMRUWidth() : 0;
        DWORD dw = dwMode;
        const CSize sz = CalcWrappedSize(info, nMRU, dw);
        return (sz.cy > 3 * sz.cx && nMRU <= 0) ? FitSquare(info, dwMode) : sz.cx;
    }
    if (dwMode & LM_HORZDOCK)
        return nLength - nHorzBorders;
    if (dwMode & LM_VERTDOCK)
        return nLength - nVertBorders;
    return FitWrap(info, (dwMode & LM_LENGTHY) ? nLength - nVertBorders : nLength - nHorzBorders, dwMode);
}

// Into the borders; each row spans the content, its items centred across
// it (an adaptive layout has placed them itself).
void CQVTControls::PlaceInBorders(LayoutInfo& info, const CRect& rcBorder, CSize szContent,
                                  BOOL bAdaptive) const
{
    for (LayoutItem& item : info.items)
    {
        if (!item.bVisible || item.bHidden)
            continue;
        item.rcControl.OffsetRect(rcBorder.left, rcBorder.top);
        if (info.bVert)
        {
            item.rcRow = CRect(item.rcRow.left + rcBorder.left, rcBorder.top,
                               item.rcRow.right + rcBorder.left, rcBorder.top + szContent.cy);
            if (!bAdaptive)
                item.rcControl.OffsetRect((item.rcRow.Width() - item.rcControl.Width()) / 2, 0);
        }
        else
        {
            item.rcRow = CRect(rcBorder.left, item.rcRow.top + rcBorder.top, rcBorder.left + szContent.cx,
                               item.rcRow.bottom + rcBorder.top);
            if (!bAdaptive)
                item.rcControl.OffsetRect(0, (item.rcRow.Height() - item.rcControl.Height()) / 2);
        }
    }
}

// The layout handed to the controls: hidden by wrapping or not, their rows,
// rectangles and wraps.
void CQVTControls::CommitLayout(LayoutInfo& info, BOOL bAdaptive)
{
    if (!bAdaptive)
        AlignRows(info);
    for (LayoutItem& item : info.items)
    {
        CQVTControl* pControl = item.pControl;
        const DWORD dwHide = item.bHidden ? (pControl->GetHideFlags() | qvtHideWrap)
                                          : (pControl->GetHideFlags() & ~static_cast<DWORD>(qvtHideWrap));
        if (dwHide != pControl->GetHideFlags())
            pControl->SetHideFlags(dwHide);
        pControl->SetRowRect(item.rcRow);
        if (item.bVisible && !item.bHidden)
            pControl->SetRect(item.rcControl);
        pControl->SetWrap(item.bWrap);
    }
}

// Popup bars: columns.

void CQVTControls::CalcPopupSize(CSize& szResult, CDC* pDC, int nMaxHeight, int nFixedWidth,
                                 const CRect& rcBorder)
{
    CQVTPaintManager* pPaintManager = m_pParent ? m_pParent->GetPaintManager() : QVTPaintManager();
    CRect rcWork;
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
    CQVTFontDC font(pDC, m_pParent ? pPaintManager->GetCommandBarFont(m_pParent)
                                   : pPaintManager->GetRegularFont());
    const CSize szSeparator =
        m_pParent ? pPaintManager->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE) : CSize(0, 0);
    const BOOL bLimitWidth = (!m_pParent || m_pParent->GetResizeMode() == 0) && s_dMaxPopupWidth > 0;
    const int nWidthLimit = static_cast<int>(rcWork.right * s_dMaxPopupWidth);

    struct Placed
    {
        CQVTControl* pControl;
        CSize sz;
        int nColumn;
    };
    std::vector<Placed> placed;
    std::vector<int> columnWidths;
    std::vector<int> columnLefts;
    int x = rcBorder.left;
    int y = rcBorder.top;
    int nTallest = 0;
    for (CQVTControl* pControl : m_arrControls)
    {
        if (pControl->GetParent() != m_pParent)
            continue;
        pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(qvtHidePopup));
        if (!pControl->IsVisible())
            continue;
        CSize sz = pControl->GetSize(pDC);
        if (bLimitWidth)
            sz.cx = std::min<int>(sz.cx, nWidthLimit);
        pControl->SetWrap(FALSE);
        const int nGroupGap = (!placed.empty() && pControl->GetBeginGroup()) ? szSeparator.cy : 0;
        const BOOL bForced = !placed.empty() && (pControl->GetFlags() & qvtFlagWrapRow);
        const BOOL bTooTall = !placed.empty() && nMaxHeight > 0 &&
                              y + nGroupGap + sz.cy > nMaxHeight - rcBorder.bottom && y > rcBorder.top;
        if (columnWidths.empty() || bForced || bTooTall)
        {
            if (!columnWidths.empty())
            {
                x += columnWidths.back() + (pControl->GetBeginGroup() ? szSeparator.cx : 0);
                pControl->SetWrap(TRUE);
            }
            columnWidths.push_back(0);
            columnLefts.push_back(x);
            y = rcBorder.top;
        }
        else
            y += nGroupGap;
        pControl->SetRect(CRect(CPoint(x, y), sz));
        placed.push_back(Placed{pControl, sz, static_cast<int>(columnWidths.size()) - 1});
        y += sz.cy;
        nTallest = std::max(nTallest, y - rcBorder.top);
        columnWidths.back() = std::max<int>(columnWidths.back(), sz.cx);
    }

    if (placed.empty())
    {
        szResult = CSize(std::max<int>(QVTDpiScaler()->ScaleX(24), rcBorder.left + rcBorder.right),
                         QVTDpiScaler()->ScaleY(22));
        return;
    }
    if (nFixedWidth > 0 && nFixedWidth < 30000)
        columnWidths.back() = std::max(0, nFixedWidth - static_cast<int>(rcBorder.left + rcBorder.right));
    for (const Placed& item : placed)
    {
        const int nColumn = item.nColumn;
        CRect rc = item.pControl->GetRect();
        rc.right = rc.left + columnWidths[static_cast<size_t>(nColumn)];
        item.pControl->SetRect(rc);
        item.pControl->SetRowRect(
            CRect(columnLefts[static_cast<size_t>(nColumn)], rcBorder.top,
                  columnLefts[static_cast<size_t>(nColumn)] + columnWidths[static_cast<size_t>(nColumn)],
                  rcBorder.top + nTallest));
    }
    const int nWidth = columnLefts.back() + columnWidths.back() + rcBorder.right;
    szResult = CSize(std::max(nWidth, QVTDpiScaler()->ScaleX(24)), nTallest + rcBorder.top + rcBorder.bottom);
}
