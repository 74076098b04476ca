// One group's part of the group row's layout pass: the record of its
// visible controls, their arrangement in columns (or in toolbar rows for a
// grouping group), the reduction levels and the final placement.
#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

namespace QVTRibbonGroupLayoutDetail {

int GroupScaleX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}
int GroupScaleY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}
BOOL IsGallery(const CQVTControl* pControl)
{
    return pControl->IsKindOf(RUNTIME_CLASS(CQVTControlGallery));
}
// The label part of an edit or a combo box, else null.
CQVTEditFieldHost* GetFieldHost(CQVTControl* pControl)
{
    if (CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pControl))
        return pEdit;
    if (CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl))
        return pCombo;
    return nullptr;
}
// Bit 0 of a gallery's flags lets the ribbon widen it into free room.
const DWORD kGroupGalleryExpandFlag = 1;
// Only a control of automatic style takes the styles the layout gives:
// shrinking one that keeps its own style would change nothing, and the
// layout would ask again and again.
BOOL IsReducible(const CQVTControl* pControl)
{
    return pControl->GetOwnStyle() == qvtButtonAutomatic;
}

}  // namespace QVTRibbonGroupLayoutDetail

using namespace QVTRibbonGroupLayoutDetail;

int CQVTRibbonGroup::GetGroupsRowHeight() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetGroupsHeight() : 0;
}

int CQVTRibbonGroup::ControlsAreaHeight() const
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
    return GetGroupsRowHeight() - nCaption - GroupScaleY(9);
}

int CQVTRibbonGroup::GetCaptionWidth(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    if (!pRibbonPaintManager)
        return 0;
    CQVTFontDC font(pDC, pRibbonPaintManager->GetGroupCaptionFont());
    int nWidth = pDC->GetTextExtent(m_strCaption).cx;
    if (m_bShowOptionButton)
        nWidth += pRibbonPaintManager->GetGroupCaptionHeight();
    return nWidth;
}

int CQVTRibbonGroup::GetLargeIconWidth() const
{
    return m_pParent ? m_pParent->GetLargeIconSize().cx : GroupScaleX(32);
}

void CQVTRibbonGroup::SetEntryStyle(LayoutEntry& entry, int nStyle)
{
    entry.pControl->SetRibbonStyle(nStyle);
}

void CQVTRibbonGroup::OnBeforeCalcSize(CDC* pDC)
{
    m_pLayout.reset(new LayoutRecord());
    m_pLayout->pDC = pDC;
    m_pLayout->nCaptionWidth = GetCaptionWidth(pDC);
    m_pLayout->bCollapsedAtStart = m_bCollapsed;

    CQVTImageManager* pImageManager = m_pParent ? m_pParent->GetImageManager() : nullptr;
    const int nLargeWidth = GetLargeIconWidth();
    for (CQVTControl* pControl : m_arrControls)
    {
        if (!pControl->IsVisible(qvtHideWrap))
            continue;
        // A gallery collapsed by an earlier pass opens again: every pass
        // starts from the full-size arrangement.
        if (IsGallery(pControl) && IsReducible(pControl))
            pControl->SetRibbonStyle(qvtButtonAutomatic);
        if (!m_bControlsGrouping && pControl->GetOwnStyle() == qvtButtonAutomatic && !IsGallery(pControl))
        {
            const int nIconId = pControl->GetIconId();
            int nStyle = qvtButtonIconAndCaption;
            if (pImageManager && nIconId > 0 &&
                pImageManager->HasImage(static_cast<UINT>(nIconId), nLargeWidth))
                nStyle = qvtButtonIconAndCaptionBelow;
            CQVTControlButton* pButton = DYNAMIC_DOWNCAST(CQVTControlButton, pControl);
            if (pButton && pButton->GetExtraStyle() != 0 && pImageManager && nIconId > 0)
            {
                CQVTImageManagerIcon* pSmall = pImageManager->GetImage(static_cast<UINT>(nIconId), 16);
                if (pSmall && pSmall->IsVectorIcon())
                    nStyle = static_cast<int>(pButton->GetExtraStyle());
            }
            pControl->SetRibbonStyle(nStyle);
        }
        LayoutEntry entry;
        entry.pControl = pControl;
        entry.szControl = pControl->GetSize(pDC);
        entry.rcControl = pControl->GetRect();
        entry.bBeginGroup = pControl->GetBeginGroup();
        entry.bColumnStart = entry.bBeginGroup || (pControl->GetFlags() & qvtFlagWrapRow) != 0;
        entry.nStyle = pControl->GetStyle();
        m_pLayout->entries.push_back(entry);
    }
    // Every pass starts from the full-size arrangement.
    m_bCollapsed = FALSE;
    m_nGroupingRows = 2;
}

int CQVTRibbonGroup::CalcWidth(CDC*)
{
    if (!m_pLayout)
        return 0;
    int nWidth = 0;
    if (m_bCollapsed)
    {
        CDC* pDC = m_pLayout->pDC;
        nWidth = m_pControlGroupPopup->GetSize(pDC).cx - GroupScaleX(5);
        m_pLayout->nControlsWidth = nWidth;
        return nWidth;
    }
    nWidth = m_bControlsGrouping ? CalcGroupingWidth() : CalcColumnsWidth();
    m_pLayout->nControlsWidth = nWidth;
    return std::max(m_pLayout->nCaptionWidth, nWidth);
}

int CQVTRibbonGroup::CalcColumnsWidth()
{
    const int nAvailable = ControlsAreaHeight();
    int x = GroupScaleX(2);
    int nColumnWidth = 0;
    int nRight = 0;
    LayoutEntry* pPrevious = nullptr;
    for (size_t i = 0; i < m_pLayout->entries.size(); ++i)
    {
        LayoutEntry& entry = m_pLayout->entries[i];
        if (entry.pControl->GetStyle() != entry.nStyle)
        {
            entry.nStyle = entry.pControl->GetStyle();
            entry.szControl = entry.pControl->GetSize(m_pLayout->pDC);
        }
        entry.bHidden = FALSE;
        if (entry.bBeginGroup && i > 0)
            x += GroupScaleX(6);
        const int cx = entry.szControl.cx;
        const int cy = entry.szControl.cy;
        if (pPrevious && !entry.bColumnStart && entry.nStyle != qvtButtonIconAndCaptionBelow &&
            pPrevious->rcControl.bottom + cy <= nAvailable)
        {
            const int y = pPrevious->rcControl.bottom;
            entry.rcControl.SetRect(x, y, x + cx, y + cy);
            nColumnWidth = std::max(nColumnWidth, cx);
        }
        else
        {
            if (pPrevious)
                x += nColumnWidth;
            entry.rcControl.SetRect(x, 0, x + cx, cy);
            nColumnWidth = cx;
        }
        nRight = std::max(nRight, static_cast<int>(entry.rcControl.right));
        pPrevious = &entry;
    }
    return nRight + GroupScaleX(2);
}

int CQVTRibbonGroup::CalcGroupingWidth()
{
    std::vector<LayoutEntry>& entries = m_pLayout->entries;
    const int nCount = static_cast<int>(entries.size());
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int R = pRibbonPaintManager ? pRibbonPaintManager->GetRowHeight() : 22;
    const int nAvailable = ControlsAreaHeight();
    for (LayoutEntry& entry : entries)
    {
        entry.bHidden = FALSE;
        if (entry.pControl->GetStyle() != entry.nStyle)
        {
            entry.nStyle = entry.pControl->GetStyle();
            entry.szControl = entry.pControl->GetSize(m_pLayout->pDC);
        }
    }
    // The width from each entry to the end of its run.
    std::vector<int> arrRunRest(static_cast<size_t>(nCount), 0);
    for (int i = nCount - 1; i >= 0; --i)
    {
        const BOOL bRunEnds = i + 1 >= nCount || entries[static_cast<size_t>(i + 1)].bColumnStart;
        arrRunRest[static_cast<size_t>(i)] = entries[static_cast<size_t>(i)].szControl.cx +
                                             (bRunEnds ? 0 : arrRunRest[static_cast<size_t>(i + 1)]);
    }
    std::vector<BOOL> arrBreak(static_cast<size_t>(nCount), FALSE);
    auto wrap = [&](int nMaxWidth, BOOL bFree) {
        int nRows = 1;
        int nRow = 0;
        BOOL bBroken = FALSE;
        for (int i = 0; i < nCount; ++i)
        {
            const LayoutEntry& entry = entries[static_cast<size_t>(i)];
            BOOL bBreak = FALSE;
            if (i > 0 && entry.bColumnStart)
            {
                if (entry.pControl->GetFlags() & qvtFlagWrapRow)
                    bBreak = TRUE;
                else if ((bFree || !bBroken) && nRow + arrRunRest[static_cast<size_t>(i)] >= nMaxWidth)
                    bBreak = TRUE;
            }
            arrBreak[static_cast<size_t>(i)] = bBreak;
            if (bBreak)
            {
                ++nRows;
                nRow = 0;
                bBroken = TRUE;
            }
            if (entry.bBeginGroup && i > 0 && !bBreak)
                nRow += GroupScaleX(3);
            nRow += entry.szControl.cx;
        }
        return nRows;
    };
    const int nMax = 32000;
    int nRows = wrap(nMax, FALSE);
    if (nRows == 1)
    {
        int nOneRow = 0;
        for (int i = 0; i < nCount; ++i)
            nOneRow += entries[static_cast<size_t>(i)].szControl.cx +
                       (entries[static_cast<size_t>(i)].bBeginGroup && i > 0 ? GroupScaleX(3) : 0);
        if (nAvailable < 2 * R)
            nRows = wrap(nMax, FALSE);
        else if (nAvailable >= 3 * R && m_nGroupingRows == 3)
        {
            int nLow = 0;
            int nHigh = nOneRow;
            while (nLow < nHigh)
            {
                const int nMid = (nLow + nHigh) / 2;
                if (wrap(nMid, TRUE) <= 3)
                    nHigh = nMid;
                else
                    nLow = nMid + 1;
            }
            nRows = wrap(nLow, TRUE);
        }
        else
            nRows = wrap(nOneRow / 2, FALSE);
    }

    int x = 0;
    int y = 0;
    int nTallest = 0;
    int nWidest = 0;
    std::vector<int> arrRowOf(static_cast<size_t>(nCount), 0);
    int nRow = 0;
    for (int i = 0; i < nCount; ++i)
    {
        LayoutEntry& entry = entries[static_cast<size_t>(i)];
        if (arrBreak[static_cast<size_t>(i)])
        {
            x = 0;
            y += nTallest;
            ++nRow;
        }
        else if (entry.bBeginGroup && i > 0)
            x += GroupScaleX(3);
        entry.bRowStart = i == 0 || arrBreak[static_cast<size_t>(i)];
        entry.rcControl.SetRect(x + GroupScaleX(2), y, x + GroupScaleX(2) + entry.szControl.cx,
                                y + entry.szControl.cy);
        nTallest = std::max(nTallest, static_cast<int>(entry.szControl.cy));
        x += entry.szControl.cx;
        nWidest = std::max(nWidest, x);
        arrRowOf[static_cast<size_t>(i)] = nRow;
    }
    // Rows spread over the height, an equal share between them.
    const int d = (nAvailable - nRows * R + 1) / (nRows + 1);
    for (int i = 0; i < nCount; ++i)
        entries[static_cast<size_t>(i)].rcControl.OffsetRect(0, d * (arrRowOf[static_cast<size_t>(i)] + 1));
    return nWidest + GroupScaleX(4);
}

template <class TTest>
int CQVTRibbonGroup::FindReducibleRun(int nRows, TTest test) const
{
    const std::vector<LayoutEntry>& entries = m_pLayout->entries;
    const int nCount = static_cast<int>(entries.size());
    if (nRows < 1)
        return -1;
    for (int s = nCount - 1; s >= 2 && s - nRows + 1 >= 0; --s)
    {
        const int nFirst = s - nRows + 1;
        BOOL bFits = TRUE;
        for (int i = s; i >= nFirst && bFits; --i)
        {
            const LayoutEntry& entry = entries[static_cast<size_t>(i)];
            if (i != nFirst && entry.bColumnStart)
                bFits = FALSE;
        }
        if (bFits && test(nFirst, s))
            return nFirst;
    }
    return -1;
}

BOOL CQVTRibbonGroup::ReduceLevel(int nLevel, int nAmount)
{
    if (!m_pLayout)
        return FALSE;
    std::vector<LayoutEntry>& entries = m_pLayout->entries;
    const int nCount = static_cast<int>(entries.size());
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
    CQVTPaintManager* pPaintManager = m_pParent ? m_pParent->GetPaintManager() : nullptr;
    const int nControlHeight = pPaintManager ? pPaintManager->GetControlHeight() : 0;
    // A control height of 0 allows no reduction by rows.
    const int nRows =
        nControlHeight > 0 ? (GetGroupsRowHeight() - nCaption - GroupScaleY(2)) / nControlHeight : 0;

    if (m_pLayout->nControlsWidth < m_pLayout->nCaptionWidth)
    {
        if (nLevel != 2 || m_pLayout->nControlsWidth <= GroupScaleX(16))
            return FALSE;
        m_pLayout->nCaptionWidth = std::max(m_pLayout->nCaptionWidth - nAmount, m_pLayout->nControlsWidth);
        return TRUE;
    }

    auto setRun = [&](int nFirst, int nLast, int nStyle) {
        for (int i = nFirst; i <= nLast; ++i)
            SetEntryStyle(entries[static_cast<size_t>(i)], nStyle);
    };
    switch (nLevel)
    {
    case 0:
    {
        if (m_bControlsGrouping || m_nReduceLimit < 1 || nRows < 2 || nCount < 3)
            return FALSE;
        const int nFirst = FindReducibleRun(nRows, [&](int nA, int nB) {
            for (int i = nA; i <= nB; ++i)
            {
                const LayoutEntry& e = entries[static_cast<size_t>(i)];
                if (e.nStyle != qvtButtonIconAndCaptionBelow || IsGallery(e.pControl) ||
                    !IsReducible(e.pControl))
                    return FALSE;
            }
            return TRUE;
        });
        if (nFirst < 0)
            return FALSE;
        setRun(nFirst, nFirst + nRows - 1, qvtButtonIconAndCaption);
        return TRUE;
    }
    case 1:
    {
        if (m_bControlsGrouping)
        {
            if (m_nGroupingRows != 2 || m_nReduceLimit < 2)
                return FALSE;
            m_nGroupingRows = 3;
            return TRUE;
        }
        if (m_nReduceLimit <= 1 || nRows <= 1 || nCount < 3)
            return FALSE;
        const int nFirst = FindReducibleRun(nRows, [&](int nA, int nB) {
            BOOL bLarge = FALSE;
            for (int i = nA; i <= nB; ++i)
            {
                const LayoutEntry& e = entries[static_cast<size_t>(i)];
                if (IsGallery(e.pControl) || !IsReducible(e.pControl))
                    return FALSE;
                bLarge = bLarge || e.nStyle == qvtButtonIconAndCaptionBelow;
            }
            return bLarge;
        });
        if (nFirst < 0)
            return FALSE;
        setRun(nFirst, nFirst + nRows - 1, qvtButtonIconAndCaption);
        return TRUE;
    }
    case 2:
    {
        if (m_bControlsGrouping || m_nReduceLimit <= 2)
            return FALSE;
        if (nRows >= 2 && nCount >= 3 && GetCount() > nRows)
        {
            const int nFirst = FindReducibleRun(nRows, [&](int nA, int nB) {
                const int nLeft = entries[static_cast<size_t>(nA)].rcControl.left;
                for (int i = nA; i <= nB; ++i)
                {
                    const LayoutEntry& e = entries[static_cast<size_t>(i)];
                    if (e.rcControl.left != nLeft || e.nStyle != qvtButtonIconAndCaption ||
                        IsGallery(e.pControl) || !IsReducible(e.pControl))
                        return FALSE;
                }
                return TRUE;
            });
            if (nFirst >= 0)
            {
                setRun(nFirst, nFirst + nRows - 1, qvtButtonIcon);
                return TRUE;
            }
        }
        for (int i = nCount - 1; i >= 0; --i)
        {
            LayoutEntry& entry = entries[static_cast<size_t>(i)];
            if (IsGallery(entry.pControl) && IsReducible(entry.pControl) &&
                entry.nStyle != qvtButtonIconAndCaptionBelow)
            {
                SetEntryStyle(entry, qvtButtonIconAndCaptionBelow);
                return TRUE;
            }
        }
        return FALSE;
    }
    case 3:
        if (m_nReduceLimit <= 3 || m_bCollapsed || nCount < 2)
            return FALSE;
        m_bCollapsed = TRUE;
        for (LayoutEntry& entry : entries)
            entry.bHidden = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CQVTRibbonGroup::ExpandGallery(int nAmount)
{
    if (!m_pLayout || m_bCollapsed)
        return FALSE;
    std::vector<LayoutEntry>& entries = m_pLayout->entries;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    {
        CQVTControlGallery* pGallery = DYNAMIC_DOWNCAST(CQVTControlGallery, it->pControl);
        if (!pGallery || it->bHidden || pGallery->IsShowAsButton() || !pGallery->GetItems() ||
            pGallery->GetItemCount() < 1 || !(pGallery->GetFlags() & kGroupGalleryExpandFlag))
            continue;
        // Whole items only, up to the width that shows every item in a row.
        const int w = pGallery->GetItems()->GetItemSize().cx;
        if (w < 1 || w > nAmount)
            return FALSE;
        const CRect rcBorders = pGallery->GetBorders();
        const int nFull = rcBorders.left + pGallery->GetItemCount() * w + rcBorders.right;
        const int nWidth = pGallery->GetWidth();
        if (nWidth + w > nFull)
            return FALSE;
        const int nNewWidth = std::min(nFull, nWidth - nAmount % w + nAmount);
        pGallery->SetWidth(nNewWidth);
        it->szControl = pGallery->GetSize(m_pLayout->pDC);
        return TRUE;
    }
    return FALSE;
}

void CQVTRibbonGroup::Reposition(int nWidth, CPoint ptOrigin)
{
    if (!m_pLayout)
        return;
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
    const int A = GetGroupsRowHeight() - GroupScaleY(2) - GroupScaleY(2) - GroupScaleY(3);
    int nInset = GroupScaleX(2);
    if (m_bControlsCentering && m_pLayout->nControlsWidth < m_pLayout->nCaptionWidth &&
        nWidth == m_pLayout->nCaptionWidth)
        nInset += (m_pLayout->nCaptionWidth - m_pLayout->nControlsWidth) / 2;

    std::vector<LayoutEntry>& entries = m_pLayout->entries;
    for (LayoutEntry& entry : entries)
    {
        entry.rcColumn.SetRect(ptOrigin.x, ptOrigin.y, ptOrigin.x + nWidth, ptOrigin.y + A - nCaption);
        if (!entry.bHidden)
            entry.rcControl.OffsetRect(ptOrigin.x + nInset, ptOrigin.y + GroupScaleY(2));
    }
    if (m_bControlsCentering && !m_bControlsGrouping && !m_bCollapsed)
    {
        for (size_t i = 0; i < entries.size();)
        {
            size_t j = i;
            int nTotal = 0;
            while (j < entries.size() && entries[j].rcControl.left == entries[i].rcControl.left)
                nTotal += entries[j++].rcControl.Height();
            const int n = static_cast<int>(j - i);
            const int nFree = (A - nCaption - GroupScaleY(3)) - nTotal;
            const int d = nFree / (n + 1);
            for (size_t k = i; k < j; ++k)
                entries[k].rcControl.OffsetRect(0, static_cast<int>(k - i + 1) * d);
            i = j;
        }
    }
    SetRect(CRect(ptOrigin.x, ptOrigin.y, ptOrigin.x + nWidth + GroupScaleX(5), ptOrigin.y + A));
}

void CQVTRibbonGroup::OnAfterCalcSize()
{
    if (!m_pLayout)
        return;
    std::vector<LayoutEntry>& entries = m_pLayout->entries;
    if (!m_bCollapsed && !m_bControlsGrouping && m_bEqualLabelWidth)
    {
        // Edits and combo boxes of one column share the widest label.
        for (size_t i = 0; i < entries.size(); ++i)
        {
            std::vector<CQVTEditFieldHost*> arrColumn;
            int nWidest = 0;
            for (size_t j = 0; j < entries.size(); ++j)
            {
                if (entries[j].rcControl.left != entries[i].rcControl.left ||
                    entries[j].rcControl.right != entries[i].rcControl.right)
                    continue;
                CQVTEditFieldHost* pField = GetFieldHost(entries[j].pControl);
                if (!pField)
                    continue;
                arrColumn.push_back(pField);
                nWidest = std::max(nWidest, pField->GetLabelWidth());
            }
            if (arrColumn.size() > 1)
                for (CQVTEditFieldHost* pField : arrColumn)
                    if (pField->GetLabelWidth() != nWidest)
                        pField->SetLabelWidth(nWidest);
        }
    }
    if (!entries.empty())
        entries.front().bRowStart = TRUE;
    for (LayoutEntry& entry : entries)
    {
        CQVTControl* pControl = entry.pControl;
        const DWORD dwFlags = pControl->GetHideFlags();
        const DWORD dwNew =
            entry.bHidden ? (dwFlags | qvtHideWrap) : (dwFlags & ~static_cast<DWORD>(qvtHideWrap));
        if (dwNew != dwFlags)
            pControl->SetHideFlags(dwNew);
        pControl->SetRowRect(entry.rcColumn);
        if (!entry.bHidden)
        {
            pControl->SetRect(entry.rcControl);
            pControl->SetWrap(entry.bRowStart);
        }
    }
    const BOOL bExpanded = m_pLayout->bCollapsedAtStart && !m_bCollapsed;
    m_pLayout.reset();
    if (bExpanded && m_pRibbonBar)
        m_pRibbonBar->SetUpdatePending();
}
