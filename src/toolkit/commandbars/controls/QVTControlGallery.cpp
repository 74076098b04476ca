#include "toolkit/commandbars/controls/QVTControlGallery.h"

#include <algorithm>
#include <cmath>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxGalleryPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/accessibility/QVTAccessibleLocation.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlGallery, CQVTControlPopup, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
// A press becomes a drag once the pointer moves further than this.
int DragThresholdX()
{
    return CQVTPaintManager::DpiX(4);
}
int DragThresholdY()
{
    return CQVTPaintManager::DpiY(4);
}

const UINT kGalleryAnimationInterval = 40;
}  // namespace

CQVTControlGallery::CQVTControlGallery()
    : m_nScrollBarHot(0), m_nChecked(-1), m_nSelected(-1), m_bHideSelection(FALSE), m_bItemPressed(FALSE),
      m_ptPressed(0, 0), m_nScrollPos(0), m_nScrollTarget(0), m_dAnimationStep(0), m_bKeyboardSelected(FALSE),
      m_nTotalHeight(0), m_bShowLabels(TRUE), m_bShowScrollBar(TRUE), m_bShowBorders(FALSE),
      m_rcMargin(0, 0, 0, 0), m_bPreview(FALSE), m_bResizable(FALSE), m_bAutoScrollBar(FALSE),
      m_nTransparent(0), m_pItems(nullptr)
{
    m_controlType = qvtControlGallery;
    m_nWidth = CQVTPaintManager::DpiX(120);
    m_nHeight = CQVTPaintManager::DpiY(60);
    m_dwFlags |= qvtFlagShowPopupBarTip;
    m_spi.fVert = TRUE;
}

CQVTControlGallery::~CQVTControlGallery()
{
    if (m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->KillTimer(TIMER_SCROLL_ANIMATION);
    SetItems(nullptr);
}

// Items.

void CQVTControlGallery::SetItems(CQVTControlGalleryItems* pItems)
{
    if (pItems == m_pItems)
        return;
    if (pItems)
    {
        pItems->InternalAddRef();
        pItems->AddGallery(this);
    }
    CQVTControlGalleryItems* pOld = m_pItems;
    m_pItems = pItems;
    if (pOld)
    {
        pOld->RemoveGallery(this);
        pOld->InternalRelease();
    }
    OnItemsChanged();
}

int CQVTControlGallery::GetItemCount() const
{
    CQVTControlGalleryItems* pItems = GetItems();
    return pItems ? pItems->GetItemCount() : 0;
}

CQVTControlGalleryItem* CQVTControlGallery::GetItem(int nIndex) const
{
    CQVTControlGalleryItems* pItems = GetItems();
    return pItems ? pItems->GetItem(nIndex) : nullptr;
}

CString CQVTControlGallery::GetItemCaption(int nIndex) const
{
    CQVTControlGalleryItem* pItem = GetItem(nIndex);
    return pItem ? pItem->GetCaption() : CString();
}

BOOL CQVTControlGallery::IsItemChecked(CQVTControlGalleryItem* pItem) const
{
    return pItem && pItem->GetID() == m_nChecked;
}

void CQVTControlGallery::SetCheckedItem(int nId)
{
    if (m_nChecked == nId)
        return;
    m_nChecked = nId;
    RedrawParent(FALSE);
}

void CQVTControlGallery::OnItemsChanged()
{
    EndPreview(qvtGalleryPreviewCancel);
    m_nSelected = -1;
    m_nScrollPos = 0;
    Reposition();
    RedrawParent(FALSE);
}

// Options.

void CQVTControlGallery::SetShowLabels(BOOL bShow)
{
    if (m_bShowLabels == bShow)
        return;
    m_bShowLabels = bShow;
    Reposition();
    RedrawParent(FALSE);
}

void CQVTControlGallery::SetShowScrollBar(BOOL bShow)
{
    if (m_bShowScrollBar == bShow)
        return;
    m_bShowScrollBar = bShow;
    Reposition();
    RedrawParent(FALSE);
}

void CQVTControlGallery::SetShowBorders(BOOL bShow)
{
    if (m_bShowBorders == bShow)
        return;
    m_bShowBorders = bShow;
    Reposition();
    RedrawParent(FALSE);
}

void CQVTControlGallery::SetMargin(int nLeft, int nTop, int nRight, int nBottom)
{
    const CRect rcMargin(nLeft, nTop, nRight, nBottom);
    if (m_rcMargin == rcMargin)
        return;
    m_rcMargin = rcMargin;
    Reposition();
    RedrawParent(FALSE);
}

void CQVTControlGallery::SetAutoScrollBar(BOOL bAuto)
{
    if (m_bAutoScrollBar == bAuto)
        return;
    m_bAutoScrollBar = bAuto;
    Reposition();
    RedrawParent(FALSE);
}

BOOL CQVTControlGallery::IsShowAsButton() const
{
    return m_buttonRibbonStyle == qvtButtonIconAndCaptionBelow || GetStyle() == qvtButtonIcon;
}

BOOL CQVTControlGallery::HasNextControl() const
{
    if (m_bShowBorders || !m_pParent || !m_pParent->IsPopupBar() || !m_pControls)
        return FALSE;
    for (int i = m_nIndex + 1; i < m_pControls->GetCount(); ++i)
        if (m_pControls->GetAt(i)->IsVisible())
            return TRUE;
    return FALSE;
}

BOOL CQVTControlGallery::IsScrollButtonEnabled(int nId) const
{
    if (!GetEnabled())
        return FALSE;
    if (!m_pCommandBar)
        return TRUE;
    if (nId == qvtScrollHitUpArrow)
        return m_nScrollPos > 0;
    if (nId == qvtScrollHitDownArrow)
        return m_nScrollPos < m_nTotalHeight - GetItemsRect().Height();
    return TRUE;
}

// Geometry.

CRect CQVTControlGallery::GetBorders() const
{
    CRect rcBorders(0, 0, 0, 0);
    if (m_bShowBorders)
        rcBorders.SetRect(1, 1, 1, 1);
    if (m_pParent)
    {
        if (m_bShowScrollBar)
        {
            CQVTPaintManager* pPaintManager = GetPaintManager();
            CQVTControlGalleryPaintManager* pGallery = pPaintManager->GetGalleryPaintManager();
            CQVTScrollBarPaintManager* pScroll = pPaintManager->GetScrollBarPaintManager();
            if (m_pCommandBar && pGallery)
                rcBorders.right += pGallery->m_cxScrollBar;
            else
                rcBorders.right += pScroll ? pScroll->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
        }
        if (HasNextControl())
            rcBorders.bottom = CQVTPaintManager::DpiY(2);
    }
    rcBorders.left += m_rcMargin.left;
    rcBorders.top += m_rcMargin.top;
    rcBorders.right += m_rcMargin.right;
    rcBorders.bottom += m_rcMargin.bottom;
    return rcBorders;
}

CRect CQVTControlGallery::GetItemsRect() const
{
    const CRect rcBorders = GetBorders();
    CRect rc(m_rcControl);
    rc.left += rcBorders.left;
    rc.top += rcBorders.top;
    rc.right -= rcBorders.right;
    rc.bottom -= rcBorders.bottom;
    return rc;
}

CRect CQVTControlGallery::GetItemRect(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrPositions.size()))
        return CRect(0, 0, 0, 0);
    CRect rc(m_arrPositions[static_cast<size_t>(nIndex)].rcItem);
    rc.OffsetRect(0, -m_nScrollPos);
    CRect rcClipped;
    if (!rcClipped.IntersectRect(rc, GetItemsRect()))
        return CRect(0, 0, 0, 0);
    return rcClipped;
}

void CQVTControlGallery::SetRect(CRect rcControl)
{
    const BOOL bChanged = rcControl != m_rcControl;
    CQVTControlPopup::SetRect(rcControl);
    if (bChanged)
        Reposition();
}

void CQVTControlGallery::RepositionItems()
{
    const CRect rcItems = GetItemsRect();
    const int nCount = GetItemCount();
    m_arrPositions.assign(static_cast<size_t>(nCount), GALLERYITEM_POSITION());
    int x = rcItems.left, y = rcItems.top, nRowHeight = 0;
    BOOL bFirstInRow = TRUE;
    for (int i = 0; i < nCount; ++i)
    {
        GALLERYITEM_POSITION& pos = m_arrPositions[static_cast<size_t>(i)];
        CQVTControlGalleryItem* pItem = GetItem(i);
        pos.pItem = pItem;
        pos.bBeginRow = FALSE;
        ::SetRectEmpty(&pos.rcItem);
        if (!pItem)
            continue;
        if (pItem->IsLabel())
        {
            if (!m_bShowLabels)
                continue;
            const int nTop = y + nRowHeight;
            ::SetRect(&pos.rcItem, rcItems.left, nTop, rcItems.right, nTop + pItem->GetSize().cy);
            pos.bBeginRow = TRUE;
            y = pos.rcItem.bottom + CQVTPaintManager::DpiY(1);
            x = rcItems.left;
            nRowHeight = 0;
            bFirstInRow = TRUE;
            continue;
        }
        CSize szItem = pItem->GetSize();
        if (szItem.cx == 0)
            szItem.cx = rcItems.Width();
        if (bFirstInRow)
            pos.bBeginRow = TRUE;
        else if (x + szItem.cx > rcItems.right)
        {
            y += nRowHeight;
            x = rcItems.left;
            nRowHeight = 0;
            pos.bBeginRow = TRUE;
        }
        ::SetRect(&pos.rcItem, x, y, x + szItem.cx, y + szItem.cy);
        nRowHeight = std::max(nRowHeight, static_cast<int>(szItem.cy));
        x += szItem.cx;
        bFirstInRow = FALSE;
    }
    m_nTotalHeight = nCount == 0 ? 0 : y + nRowHeight - rcItems.top;
}

void CQVTControlGallery::Reposition()
{
    if (!m_pParent || IsShowAsButton())
        return;
    if (m_bAutoScrollBar)
    {
        m_bShowScrollBar = FALSE;
        RepositionItems();
        if (m_nTotalHeight > GetItemsRect().Height())
        {
            m_bShowScrollBar = TRUE;
            RepositionItems();
        }
    }
    else
        RepositionItems();
    const int nMax = m_nTotalHeight - GetItemsRect().Height();
    if (m_nScrollPos > nMax)
        m_nScrollPos = std::max(nMax, 0);
    UpdateScrollBar();
}

void CQVTControlGallery::UpdateScrollBar()
{
    UpdateScrollBarInfo();
}

// Size and drawing.

CSize CQVTControlGallery::GetSize(CDC* pDC)
{
    if (IsShowAsButton())
    {
        const int nWidth = m_nWidth, nHeight = m_nHeight;
        m_nWidth = m_nHeight = 0;
        const CSize sz = CQVTControlPopup::GetSize(pDC);
        m_nWidth = nWidth;
        m_nHeight = nHeight;
        return sz;
    }
    const int nWidth =
        m_bResizable && GetItemCount() > 0 ? std::max(m_nWidth, GetCustomizeMinWidth()) : m_nWidth;
    return CSize(nWidth, m_nHeight);
}

void CQVTControlGallery::FillControl(CDC* pDC, CRect rcControl)
{
    CQVTControlGalleryPaintManager* pGallery = GetPaintManager()->GetGalleryPaintManager();
    if (pGallery)
        pGallery->FillControl(pDC, this, rcControl);
}

CSize CQVTControlGallery::Draw(CDC* pDC)
{
    if (IsShowAsButton())
        return CQVTControlPopup::Draw(pDC);
    FillControl(pDC, m_rcControl);

    CQVTControlGalleryItems* pItems = GetItems();
    const CRect rcItems = GetItemsRect();
    if (pItems && !m_arrPositions.empty() && !rcItems.IsRectEmpty())
    {
        // Clip regions are in device coordinates.
        CRect rcClip(rcItems);
        rcClip.OffsetRect(pDC->GetViewportOrg());
        CRgn rgn;
        rgn.CreateRectRgnIndirect(rcClip);
        pDC->SelectClipRgn(&rgn);
        const int nShown = m_bHideSelection ? -1 : m_nSelected;
        const BOOL bEnabled = GetEnabled() != 0;
        for (int i = 0; i < static_cast<int>(m_arrPositions.size()); ++i)
        {
            const GALLERYITEM_POSITION& pos = m_arrPositions[static_cast<size_t>(i)];
            CRect rc(pos.rcItem);
            rc.OffsetRect(0, -m_nScrollPos);
            if (rc.bottom < rcItems.top)
                continue;
            if (rc.IsRectEmpty() || !pos.pItem)
            {
                if (rc.top > rcItems.bottom)
                    break;
                continue;
            }
            if (pDC->RectVisible(rc))
            {
                const BOOL bItemEnabled = pos.pItem->GetEnabled() && bEnabled;
                const BOOL bSelected = i == nShown;
                const BOOL bPressed = bSelected && m_bItemPressed;
                const BOOL bChecked = IsItemChecked(pos.pItem);
                if (!pItems->OnDrawItem(pDC, this, pos.pItem, rc, bItemEnabled, bSelected, bPressed,
                                        bChecked))
                    pos.pItem->Draw(pDC, this, rc, bItemEnabled, bSelected, bPressed, bChecked);
            }
            if (rc.top > rcItems.bottom)
                break;
        }
        pDC->SelectClipRgn(nullptr);
    }

    if (m_bShowScrollBar)
    {
        CQVTPaintManager* pPaintManager = GetPaintManager();
        if (m_pCommandBar && pPaintManager->GetGalleryPaintManager())
            pPaintManager->GetGalleryPaintManager()->DrawScrollBar(pDC, this);
        else if (pPaintManager->GetScrollBarPaintManager())
            pPaintManager->GetScrollBarPaintManager()->DrawScrollBar(pDC, this);
    }
    return m_rcControl.Size();
}

void CQVTControlGallery::OnCalcDynamicSize(DWORD /*dwMode*/)
{
    // The gallery popup of a combo box keeps its selection through a layout.
    if (!DYNAMIC_DOWNCAST(CQVTControlComboBoxGalleryPopupBar, m_pParent))
        m_nSelected = -1;
    m_bHideSelection = FALSE;
    m_bItemPressed = FALSE;
}

BOOL CQVTControlGallery::IsCustomizeResizeAllow() const
{
    return m_bResizable && !IsShowAsButton() && GetItemCount() > 0;
}

int CQVTControlGallery::GetCustomizeMinWidth() const
{
    if (!m_pParent || GetItemCount() == 0)
        return 0;
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pParent);
    CQVTControlGallery* pOwner =
        pPopup ? DYNAMIC_DOWNCAST(CQVTControlGallery, pPopup->GetControlPopup()) : nullptr;
    if (pOwner)
        return pOwner->GetWidth();
    const CRect rcBorders = GetBorders();
    CQVTControlGalleryItems* pItems = GetItems();
    return rcBorders.left + rcBorders.right +
           std::max(static_cast<int>(pItems->GetItemSize().cx), static_cast<int>(CQVTPaintManager::DpiX(16)));
}

int CQVTControlGallery::GetCustomizeMinHeight() const
{
    if (!m_pParent || GetItemCount() == 0)
        return 0;
    const CRect rcBorders = GetBorders();
    return std::max(static_cast<int>(GetItems()->GetItemSize().cy) + rcBorders.top + rcBorders.bottom,
                    static_cast<int>(CQVTPaintManager::DpiY(32)));
}

void CQVTControlGallery::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlPopup::Copy(pSource, bRecursive);
    CQVTControlGallery* pGallery = DYNAMIC_DOWNCAST(CQVTControlGallery, pSource);
    if (!pGallery || pGallery == this)
        return;
    m_bShowLabels = pGallery->m_bShowLabels;
    m_bShowBorders = pGallery->m_bShowBorders;
    m_bShowScrollBar = pGallery->m_bShowScrollBar;
    m_rcMargin = pGallery->m_rcMargin;
    m_bResizable = pGallery->m_bResizable;
    SetItems(pGallery->m_pItems);
}

void CQVTControlGallery::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControlPopup::DoPropExchange(pPX);
    PropExchangeBool(pPX, _T("ShowLabels"), m_bShowLabels, TRUE);
    PropExchangeBool(pPX, _T("ShowBorders"), m_bShowBorders, TRUE);
    PropExchangeBool(pPX, _T("ShowScrollBar"), m_bShowScrollBar, TRUE);
    RECT rcMargin = m_rcMargin;
    PropExchangeRectScaled(pPX, _T("GalleryMargin"), rcMargin, CRect(0, 0, 0, 0));
    m_rcMargin = rcMargin;
    if (pPX->GetSchema() >= 24)
        PropExchangeBool(pPX, _T("Resizable"), m_bResizable, FALSE);
    if (pPX->IsLoading())
        Reposition();
}

CQVTControl* CQVTControlGallery::Clone(BOOL bRecursive)
{
    auto* pClone = new CQVTControlGallery();
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTControlGallery::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    if (IsShowAsButton())
    {
        CQVTControlPopup::AdjustExcludeRect(rc, bVertical);
        return;
    }
    // The popup may open over the gallery itself.
    rc.SetRect(rc.left - 1, rc.top, rc.left, rc.top);
}

// Hit testing.

int CQVTControlGallery::HitTestItem(CPoint point, LPRECT lpRect) const
{
    if (!GetEnabled() || IsShowAsButton() || m_arrPositions.empty())
        return -1;
    const CRect rcItems = GetItemsRect();
    for (int i = 0; i < static_cast<int>(m_arrPositions.size()); ++i)
    {
        const GALLERYITEM_POSITION& pos = m_arrPositions[static_cast<size_t>(i)];
        if (pos.pItem && !pos.pItem->GetEnabled())
            continue;
        CRect rc(pos.rcItem);
        rc.OffsetRect(0, -m_nScrollPos);
        if (rc.top >= rcItems.bottom)
            return -1;
        if (rc.PtInRect(point))
        {
            if (pos.pItem && pos.pItem->IsLabel())
                return -1;
            if (lpRect)
                *lpRect = rc;
            return i;
        }
    }
    return -1;
}

// Selection.

BOOL CQVTControlGallery::IsItemSelectable(int nIndex) const
{
    CQVTControlGalleryItem* pItem = GetItem(nIndex);
    return pItem && !pItem->IsLabel();
}

void CQVTControlGallery::InvalidateItems(int nOld, int nNew, BOOL bAnimate)
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return;
    CQVTControlGalleryItems* pItems = GetItems();
    if (!pItems || !pItems->IsClipItems())
    {
        RedrawParent(bAnimate);
        return;
    }
    for (int nIndex : {nOld, nNew})
    {
        const CRect rc = GetItemRect(nIndex);
        if (!rc.IsRectEmpty())
            m_pParent->Redraw(rc, bAnimate);
    }
}

void CQVTControlGallery::EndPreview(UINT nCode)
{
    if (!m_bPreview)
        return;
    m_bPreview = FALSE;
    NotifySite(nCode);
}

void CQVTControlGallery::OnSelectedItemChanged()
{
    NotifySite(qvtGallerySelChange);
}

void CQVTControlGallery::SetSelectedItem(int nSelected)
{
    if (nSelected < -1 || nSelected >= GetItemCount())
        nSelected = -1;
    CQVTControlRef keepAlive(this);
    const int nOld = m_nSelected;
    m_bHideSelection = FALSE;
    m_bItemPressed = FALSE;
    m_nSelected = nSelected;
    m_bKeyboardSelected = TRUE;
    InvalidateItems(nOld, -1, TRUE);
    EnsureVisible(nSelected);
    InvalidateItems(nSelected, -1, FALSE);
    if (nSelected != -1)
    {
        if (m_pParent && m_pParent->GetSafeHwnd())
            AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, m_pParent->GetSafeHwnd(), OBJID_CLIENT,
                                     nSelected + 1);
        if (!m_bPreview)
        {
            m_bPreview = TRUE;
            NotifySite(qvtGalleryPreviewStart);
        }
    }
    if (m_bPreview)
    {
        NotifySite(qvtGalleryPreviewChange);
        if (nSelected == -1)
            EndPreview(qvtGalleryPreviewCancel);
    }
    OnSelectedItemChanged();
}

void CQVTControlGallery::HideSelection()
{
    m_bHideSelection = TRUE;
    m_bKeyboardSelected = FALSE;
    InvalidateItems(m_nSelected, -1, TRUE);
    if (m_bPreview)
    {
        NotifySite(qvtGalleryPreviewChange);
        EndPreview(qvtGalleryPreviewCancel);
    }
    OnSelectedItemChanged();
}

int CQVTControlGallery::GetNextSelectable(int nStart, int nDirection) const
{
    const int nCount = GetItemCount();
    if (nCount == 0)
        return -1;
    int i = nStart;
    if (nStart == -1 && nDirection < 0)
        i = nCount;
    BOOL bWrapped = FALSE;
    for (int nSteps = 0; nSteps <= nCount + 1; ++nSteps)
    {
        i += nDirection;
        if (i < 0 || i >= nCount)
        {
            if (bWrapped)
                return -1;
            bWrapped = TRUE;
            i = nDirection > 0 ? 0 : nCount - 1;
        }
        if (IsItemSelectable(i))
            return i;
    }
    return -1;
}

int CQVTControlGallery::GetColumnStep(int nIndex, int nDirection) const
{
    const int nCount = static_cast<int>(m_arrPositions.size());
    if (nIndex < 0 || nIndex >= nCount)
        return GetNextSelectable(nIndex < 0 ? -1 : nCount, nDirection);
    const LONG nLeft = m_arrPositions[static_cast<size_t>(nIndex)].rcItem.left;
    for (int i = nIndex + nDirection; i >= 0 && i < nCount; i += nDirection)
    {
        const GALLERYITEM_POSITION& pos = m_arrPositions[static_cast<size_t>(i)];
        if (IsItemSelectable(i) && !::IsRectEmpty(&pos.rcItem) && pos.rcItem.left == nLeft)
            return i;
    }
    return -1;
}

int CQVTControlGallery::GetPageStep(int nIndex, int nDirection) const
{
    const int nCount = static_cast<int>(m_arrPositions.size());
    if (nIndex < 0 || nIndex >= nCount)
        nIndex = GetNextSelectable(-1, 1);
    if (nIndex == -1)
        return -1;
    const int nHeight = GetItemsRect().Height();
    const RECT& rcCurrent = m_arrPositions[static_cast<size_t>(nIndex)].rcItem;
    int nResult = nIndex;
    for (int i = nIndex + nDirection; i >= 0 && i < nCount; i += nDirection)
    {
        const RECT& rc = m_arrPositions[static_cast<size_t>(i)].rcItem;
        const BOOL bWithin =
            nDirection > 0 ? rc.bottom <= rcCurrent.bottom + nHeight : rc.top >= rcCurrent.top - nHeight;
        if (!bWithin)
            break;
        if (IsItemSelectable(i) && !::IsRectEmpty(&rc))
            nResult = i;
    }
    return nResult;
}

int CQVTControlGallery::GetRowStep(int nIndex, int nDirection) const
{
    const int nCount = static_cast<int>(m_arrPositions.size());
    CQVTControlGalleryItems* pItems = GetItems();
    const int nItemWidth = pItems ? pItems->GetItemSize().cx : 0;
    if (nItemWidth == 0 || nItemWidth * 2 > GetItemsRect().Width() || nIndex < 0 || nIndex >= nCount)
        return GetNextSelectable(nIndex, nDirection);

    // The row of the current item: from its begin-of-row entry to the next.
    int nRowStart = nIndex;
    while (nRowStart > 0 && !m_arrPositions[static_cast<size_t>(nRowStart)].bBeginRow)
        --nRowStart;
    int nRowEnd = nIndex + 1;
    while (nRowEnd < nCount && !m_arrPositions[static_cast<size_t>(nRowEnd)].bBeginRow)
        ++nRowEnd;
    auto usable = [&](int i) {
        return IsItemSelectable(i) && !::IsRectEmpty(&m_arrPositions[static_cast<size_t>(i)].rcItem);
    };
    if (nDirection > 0)
    {
        for (int i = nIndex + 1; i < nRowEnd; ++i)
            if (usable(i))
                return i;
        for (int i = nRowStart; i < nRowEnd; ++i)
            if (usable(i))
                return i;
    }
    else
    {
        for (int i = nIndex - 1; i >= nRowStart; --i)
            if (usable(i))
                return i;
        for (int i = nRowEnd - 1; i >= nRowStart; --i)
            if (usable(i))
                return i;
    }
    return nIndex;
}

int CQVTControlGallery::FindItem(int nStartAfter, LPCTSTR lpszItem, BOOL bExact) const
{
    const int nCount = GetItemCount();
    const CString strItem(lpszItem ? lpszItem : _T(""));
    if (strItem.IsEmpty() || nCount == 0)
        return -1;
    int nStart = nStartAfter + 1;
    if (nStart < 0 || nStart >= nCount)
        nStart = 0;
    for (int n = 0; n < nCount; ++n)
    {
        const int i = (nStart + n) % nCount;
        const CString strCaption = GetItemCaption(i);
        if (bExact)
        {
            if (strCaption.CompareNoCase(strItem) == 0)
                return i;
        }
        else if (strItem.GetLength() <= strCaption.GetLength() &&
                 ::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, strItem, strItem.GetLength(),
                                  strCaption, strItem.GetLength()) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

// Scrolling.

void CQVTControlGallery::StopAnimation()
{
    if (!m_bAnimating)
        return;
    m_bAnimating = FALSE;
    if (m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->KillTimer(TIMER_SCROLL_ANIMATION);
}

void CQVTControlGallery::ApplyScrollPos(int nScrollPos)
{
    m_nScrollPos = nScrollPos;
    Reposition();
    RedrawParent(FALSE);
}

void CQVTControlGallery::SetScrollPos(int nScrollPos)
{
    const int nMax = std::max(m_nTotalHeight - GetItemsRect().Height(), 0);
    nScrollPos = std::max(0, std::min(nScrollPos, nMax));
    const BOOL bForce = m_bAnimating;
    StopAnimation();
    if (nScrollPos == m_nScrollPos && !bForce)
        return;
    ApplyScrollPos(nScrollPos);
}

void CQVTControlGallery::AnimateScrollPos(int nScrollPos)
{
    const int nMax = std::max(m_nTotalHeight - GetItemsRect().Height(), 0);
    nScrollPos = std::max(0, std::min(nScrollPos, nMax));
    if (m_bAnimating ? nScrollPos == m_nScrollTarget : nScrollPos == m_nScrollPos)
        return;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
    {
        SetScrollPos(nScrollPos);
        return;
    }
    m_bAnimating = TRUE;
    m_nScrollTarget = nScrollPos;
    const int nDivisor = GetRepeatInterval() <= 200 ? 3 : 8;
    m_dAnimationStep = static_cast<double>(nScrollPos - m_nScrollPos) / nDivisor;
    if (m_dAnimationStep > -1 && m_dAnimationStep < 1)
        m_dAnimationStep = m_dAnimationStep < 0 ? -1 : 1;
    m_pParent->SetTimer(TIMER_SCROLL_ANIMATION, kGalleryAnimationInterval, nullptr);
    OnAnimationTimer();
}

void CQVTControlGallery::OnAnimationTimer()
{
    if (!m_bAnimating)
    {
        if (m_pParent && m_pParent->GetSafeHwnd())
            m_pParent->KillTimer(TIMER_SCROLL_ANIMATION);
        return;
    }
    if (std::abs(m_nScrollPos - m_nScrollTarget) <= std::abs(m_dAnimationStep))
    {
        m_nScrollPos = m_nScrollTarget;
        StopAnimation();
    }
    else
        m_nScrollPos = static_cast<int>(std::lround(m_nScrollPos + m_dAnimationStep));
    Reposition();
    RedrawParent(FALSE);
    if (m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->UpdateWindow();
}

void CQVTControlGallery::DoScroll(int cmd, int pos)
{
    const int nBase = m_bAnimating ? m_nScrollTarget : m_nScrollPos;
    CQVTControlGalleryItems* pItems = GetItems();
    const int nItemHeight = pItems ? pItems->GetItemSize().cy : 0;
    const int nPage = GetItemsRect().Height();
    int nNew = nBase;
    switch (cmd)
    {
    case SB_LINEUP:
        nNew = nBase - nItemHeight;
        break;
    case SB_LINEDOWN:
        nNew = nBase + nItemHeight;
        break;
    case SB_PAGEUP:
        nNew = nBase - nPage;
        break;
    case SB_PAGEDOWN:
        nNew = nBase + nPage;
        break;
    case SB_THUMBTRACK:
        nNew = pos;
        break;
    case SB_TOP:
        nNew = 0;
        break;
    case SB_BOTTOM:
        nNew = m_nTotalHeight;
        break;
    case SB_ENDSCROLL:
        break;
    default:
        return;
    }
    if (m_pCommandBar && (cmd == SB_LINEUP || cmd == SB_LINEDOWN || cmd == SB_ENDSCROLL))
        AnimateScrollPos(nNew);
    else
        SetScrollPos(nNew);
}

BOOL CQVTControlGallery::OnHookMouseWheel(WPARAM wParam, LPARAM /*lParam*/)
{
    CQVTControlGalleryItems* pItems = GetItems();
    const int nStep = 3 * (pItems ? pItems->GetItemSize().cy : 0);
    const short nDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    SetScrollPos(nDelta > 0 ? m_nScrollPos - nStep : m_nScrollPos + nStep);
    return TRUE;
}

void CQVTControlGallery::EnsureVisible(int nIndex)
{
    if (!m_pParent || !m_pParent->GetSafeHwnd() || nIndex < 0 ||
        nIndex >= static_cast<int>(m_arrPositions.size()))
        return;
    const CRect rcItems = GetItemsRect();
    CRect rc(m_arrPositions[static_cast<size_t>(nIndex)].rcItem);
    rc.OffsetRect(0, -m_nScrollPos);
    if (rc.top >= rcItems.top && rc.bottom <= rcItems.bottom)
        return;
    if (rc.bottom > rcItems.bottom)
    {
        SetScrollPos(m_nScrollPos + rc.bottom - rcItems.bottom);
        return;
    }
    int nTop = rc.top;
    if (m_bShowLabels)
    {
        // A heading just above the item comes into view with it.
        const int nRoom = rcItems.Height() - rc.Height();
        for (int i = nIndex - 1; i >= 0; --i)
        {
            const GALLERYITEM_POSITION& pos = m_arrPositions[static_cast<size_t>(i)];
            const int nLabelTop = pos.rcItem.top - m_nScrollPos;
            if (rc.top - nLabelTop > nRoom)
                break;
            if (pos.pItem && pos.pItem->IsLabel() && !::IsRectEmpty(&pos.rcItem))
            {
                nTop = nLabelTop;
                break;
            }
        }
    }
    SetScrollPos(m_nScrollPos + nTop - rcItems.top);
}

void CQVTControlGallery::ScrollItemToTop(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrPositions.size()))
        return;
    SetScrollPos(m_arrPositions[static_cast<size_t>(nIndex)].rcItem.top - GetItemsRect().top);
}

// The scroll base's face.

CWnd* CQVTControlGallery::GetParentWindow() const
{
    return m_pParent;
}

BOOL CQVTControlGallery::IsEnabled() const
{
    return GetEnabled() != 0;
}

CQVTScrollBarPaintManager* CQVTControlGallery::GetScrollBarPaintManager() const
{
    return GetPaintManager()->GetScrollBarPaintManager();
}

void CQVTControlGallery::GetScrollBarRect(CRect& rc)
{
    if (!m_bShowScrollBar)
    {
        rc.SetRectEmpty();
        return;
    }
    CQVTControlGalleryPaintManager* pGallery = GetPaintManager()->GetGalleryPaintManager();
    CQVTScrollBarPaintManager* pScroll = GetScrollBarPaintManager();
    const int nWidth = m_pCommandBar && pGallery ? pGallery->m_cxScrollBar
                       : pScroll                 ? pScroll->m_cxVScroll
                                                 : ::GetSystemMetrics(SM_CXVSCROLL);
    rc = m_rcControl;
    if (m_bShowBorders)
    {
        rc.DeflateRect(0, 1, 1, 1);
        rc.left = rc.right - nWidth - 1;
    }
    else
        rc.left = rc.right - nWidth;
    if (HasNextControl())
        rc.bottom -= CQVTPaintManager::DpiY(2);
}

void CQVTControlGallery::GetScrollInfo(SCROLLINFO* pSI)
{
    pSI->nMin = 0;
    pSI->nMax = std::max(m_nTotalHeight - 1, 0);
    pSI->nPage = static_cast<UINT>(std::max(GetItemsRect().Height(), 0));
    pSI->nPos = m_nScrollPos;
    pSI->nTrackPos = m_nScrollPos;
}

void CQVTControlGallery::RedrawScrollBar()
{
    RedrawParent(FALSE);
}

void CQVTControlGallery::CalcScrollBarInfo(LPRECT lprc, QVT_SCROLLBAR_POSINFO* pSBInfo, SCROLLINFO* pSI)
{
    CQVTControlGalleryPaintManager* pGallery = GetPaintManager()->GetGalleryPaintManager();
    if (!m_pCommandBar || !pGallery)
    {
        CQVTScrollBase::CalcScrollBarInfo(lprc, pSBInfo, pSI);
        return;
    }
    // Up and down buttons stacked from the top; the rest opens the popup.
    pSBInfo->rc = *lprc;
    pSBInfo->fVert = TRUE;
    pSBInfo->posMin = pSI->nMin;
    pSBInfo->posMax = pSI->nMax;
    pSBInfo->page = static_cast<int>(pSI->nPage);
    pSBInfo->pos = pSI->nPos;
    pSBInfo->pxTop = lprc->top;
    pSBInfo->pxBottom = lprc->bottom;
    pSBInfo->pxLeft = lprc->left;
    pSBInfo->pxRight = lprc->right;
    pSBInfo->pxUpArrow =
        std::min(static_cast<int>(lprc->top) + pGallery->m_cyUpButton, static_cast<int>(lprc->bottom));
    pSBInfo->pxDownArrow = pSBInfo->pxUpArrow;
    pSBInfo->pxPopup =
        std::min(pSBInfo->pxUpArrow + pGallery->m_cyDownButton, static_cast<int>(lprc->bottom));
    pSBInfo->pxStart = pSBInfo->pxPopup;
    pSBInfo->pxThumbTop = pSBInfo->pxThumbBottom = pSBInfo->pxPopup;
    pSBInfo->cpxThumb = 0;
    pSBInfo->cxy = 0;
}

// Mouse.

void CQVTControlGallery::PerformMouseMove(CPoint point)
{
    CRect rcHit;
    const int nHit = HitTestItem(point, &rcHit);
    if (nHit == -1 && m_bKeyboardSelected && m_nSelected != -1 && point != CPoint(-1, -1))
        return;
    if (point == CPoint(-1, -1) && m_nSelected != -1)
    {
        HideSelection();
        return;
    }
    if (nHit != m_nSelected || m_bHideSelection || m_bKeyboardSelected)
    {
        CQVTControlRef keepAlive(this);
        const int nOld = m_nSelected;
        m_nSelected = nHit;
        m_bHideSelection = FALSE;
        m_bItemPressed = FALSE;
        m_bKeyboardSelected = FALSE;
        InvalidateItems(nOld, nHit, TRUE);
        if (!m_bPreview && nHit != -1 && m_pParent && m_pParent->GetSafeHwnd())
            m_pParent->SetTimer(CQVTCommandBar::TIMER_HOVER, 200, nullptr);
        if (m_bPreview)
        {
            NotifySite(qvtGalleryPreviewChange);
            if (m_nSelected == -1)
                EndPreview(qvtGalleryPreviewCancel);
        }
        OnSelectedItemChanged();
    }
    if (m_bItemPressed && m_ptPressed != CPoint(0, 0) && m_nSelected != -1 &&
        (std::abs(point.x - m_ptPressed.x) > DragThresholdX() ||
         std::abs(point.y - m_ptPressed.y) > DragThresholdY()))
    {
        m_ptPressed = CPoint(0, 0);
        NotifySite(qvtGalleryBeginDrag);
    }
}

void CQVTControlGallery::OnMouseMove(CPoint point)
{
    if (IsShowAsButton())
    {
        CQVTControlPopup::OnMouseMove(point);
        return;
    }
    PerformMouseMove(point);
    const int nHot = HitTestScrollBar(point);
    if (nHot != m_nScrollBarHot)
    {
        m_nScrollBarHot = nHot;
        SetHotPart(nHot);
        RedrawParent(FALSE);
    }
}

void CQVTControlGallery::OnMouseHover()
{
    if (!m_bHideSelection && m_nSelected != -1 && !m_bPreview && GetSelected())
    {
        m_bPreview = TRUE;
        NotifySite(qvtGalleryPreviewStart);
        NotifySite(qvtGalleryPreviewChange);
    }
    if (m_pParent && m_pParent->GetHoverOpensPopups())
        CQVTControlPopup::OnMouseHover();
}

void CQVTControlGallery::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (IsShowAsButton())
    {
        CQVTControlPopup::OnClick(bKeyboard, pt);
        return;
    }
    if (!m_pParent)
        return;
    CQVTControlRef keepAlive(this);
    if (m_pParent->IsCustomizeMode())
    {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
        CustomizeStartDrag(pt);
        return;
    }
    if (!GetEnabled() || bKeyboard)
        return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(m_nIndex);
    OnMouseMove(pt);
    if (m_nScrollBarHot == qvtScrollHitBeyondTrack)
    {
        m_pParent->SetPopuped(m_nIndex);
        return;
    }
    if (m_nScrollBarHot != 0)
    {
        UpdateScrollBarInfo();
        TrackScrollBar(m_pParent, pt, &m_spi, (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return;
    }
    if (m_nSelected != -1 && !m_bKeyboardSelected)
    {
        m_ptPressed = pt;
        m_bItemPressed = TRUE;
        InvalidateItems(m_nSelected, -1, FALSE);
    }
}

void CQVTControlGallery::OnLButtonUp(CPoint point)
{
    if (IsShowAsButton())
    {
        CQVTControlPopup::OnLButtonUp(point);
        return;
    }
    if (!m_bItemPressed)
        return;
    m_bItemPressed = FALSE;
    InvalidateItems(m_nSelected, -1, FALSE);
    OnExecute();
}

void CQVTControlGallery::OnExecute()
{
    CQVTControlRef keepAlive(this);
    EndPreview(qvtGalleryPreviewApply);
    CQVTControlGalleryItem* pItem = m_bHideSelection ? nullptr : GetItem(m_nSelected);
    if (!pItem || !pItem->OnClick())
        CQVTControlPopup::OnExecute();
}

BOOL CQVTControlGallery::OnSetPopup(BOOL bPopup)
{
    EndPreview(qvtGalleryPreviewCancel);
    return CQVTControlPopup::OnSetPopup(bPopup);
}

BOOL CQVTControlGallery::OnSetSelected(int bSelected)
{
    if (!IsShowAsButton())
    {
        if (bSelected == 0)
        {
            m_bItemPressed = FALSE;
            m_nScrollBarHot = 0;
            SetHotPart(0);
            HideSelection();
        }
        else if (bSelected == 2 || bSelected == 3)
        {
            if (m_bHideSelection || m_nSelected < 0 || m_nSelected >= GetItemCount())
            {
                int nSelect = -1;
                if (!m_pCommandBar)
                    nSelect = bSelected == 2 ? GetNextSelectable(-1, 1) : GetNextSelectable(-1, -1);
                SetSelectedItem(nSelect);
            }
        }
    }
    return CQVTControlPopup::OnSetSelected(bSelected);
}

BOOL CQVTControlGallery::GetFocused() const
{
    return IsShowAsButton() ? FALSE : GetSelected() != 0;
}

// Keyboard.

BOOL CQVTControlGallery::OnHookKeyDown(UINT nChar, LPARAM /*lParam*/)
{
    if (!GetFocused() || !m_pParent)
        return FALSE;
    if (m_nSelected == -1 && m_pCommandBar)
    {
        if (nChar != VK_RETURN && nChar != VK_SPACE)
            return FALSE;
        m_pParent->SetPopuped(m_nIndex);
        return TRUE;
    }
    if (m_pParent->IsLayoutRTL())
    {
        if (nChar == VK_LEFT)
            nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT)
            nChar = VK_LEFT;
    }
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int nNew = m_nSelected;
    switch (nChar)
    {
    case VK_TAB:
    {
        const int nDirection = bShift ? -1 : 1;
        nNew = GetNextSelectable(m_nSelected, nDirection);
        // The search wrapped: the bar moves on to the next control.
        if (nNew == -1 || (nDirection > 0 ? nNew <= m_nSelected : (m_nSelected != -1 && nNew >= m_nSelected)))
            return FALSE;
        break;
    }
    case VK_RETURN:
    case VK_SPACE:
        OnExecute();
        return FALSE;
    case VK_PRIOR:
        nNew = GetPageStep(m_nSelected, -1);
        break;
    case VK_NEXT:
        nNew = GetPageStep(m_nSelected, 1);
        break;
    case VK_END:
        nNew = GetNextSelectable(-1, -1);
        break;
    case VK_HOME:
        nNew = GetNextSelectable(-1, 1);
        break;
    case VK_LEFT:
        nNew = GetRowStep(m_nSelected, -1);
        break;
    case VK_RIGHT:
        nNew = GetRowStep(m_nSelected, 1);
        break;
    case VK_UP:
    case VK_DOWN:
    {
        const int nDirection = nChar == VK_UP ? -1 : 1;
        nNew = GetColumnStep(m_nSelected, nDirection);
        if (nNew == -1)
        {
            if (m_pControls)
            {
                const int nNext = m_pControls->GetNextIndex(m_nIndex, nDirection, TRUE, TRUE, TRUE);
                if (nNext != -1 && nNext != m_nIndex)
                    return FALSE;
            }
            nNew = GetNextSelectable(-1, nDirection);
            if (nNew == -1)
                return FALSE;
        }
        break;
    }
    default:
        return FALSE;
    }
    SetSelectedItem(nNew);
    return TRUE;
}

// Tooltips.

INT_PTR CQVTControlGallery::OnToolHitTest(CPoint point, TOOLINFO* pTI)
{
    if (IsShowAsButton() || GetItemCount() == 0)
        return -1;
    CRect rcItem;
    const int nHit = HitTestItem(point, &rcItem);
    CQVTControlGalleryItem* pItem = GetItem(nHit);
    if (!pItem)
        return 0;
    const INT_PTR nId = pItem->GetImageIndex() >= 0 ? pItem->GetImageIndex() : pItem->GetID();
    if (pTI && m_pParent)
        CQVTToolTipContext::FillInToolInfoEx(pTI, m_pParent->GetSafeHwnd(), rcItem, nId, pItem->GetToolTip(),
                                             pItem->GetDescription(), GetItems()->GetImageManager());
    return nId;
}

// Accessibility.

int CQVTControlGallery::ChildToIndex(const VARIANT& varChild) const
{
    const LONG nChild = GetChildIndex(&varChild);
    if (nChild < 1 || nChild > GetItemCount())
        return -1;
    return static_cast<int>(nChild - 1);
}

HRESULT CQVTControlGallery::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CQVTControlGallery::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    return GetChildIndex(&varChild) == CHILDID_SELF
               ? CQVTControlPopup::GetAccessibleChild(varChild, ppdispChild)
               : S_FALSE;
}

HRESULT CQVTControlGallery::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::GetAccessibleName(varChild, pszName);
    const int nIndex = ChildToIndex(varChild);
    if (nIndex == -1 || !pszName)
        return E_INVALIDARG;
    CQVTControlGalleryItem* pItem = GetItem(nIndex);
    CString strName = pItem->GetCaption();
    strName.Replace(_T("&&"), _T("\x01"));
    strName.Remove(_T('&'));
    strName.Replace(_T("\x01"), _T("&"));
    if (strName.IsEmpty())
        strName = pItem->GetDescription();
    *pszName = strName.AllocSysString();
    return S_OK;
}

HRESULT CQVTControlGallery::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    const LONG nChild = GetChildIndex(&varChild);
    if (nChild != CHILDID_SELF && ChildToIndex(varChild) == -1)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = nChild == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
    return S_OK;
}

HRESULT CQVTControlGallery::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::GetAccessibleState(varChild, pvarState);
    const int nIndex = ChildToIndex(varChild);
    if (nIndex == -1 || !pvarState)
        return E_INVALIDARG;
    pvarState->vt = VT_I4;
    pvarState->lVal = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (nIndex == m_nSelected)
        pvarState->lVal |= STATE_SYSTEM_FOCUSED;
    if (IsItemChecked(GetItem(nIndex)))
        pvarState->lVal |= STATE_SYSTEM_SELECTED;
    return S_OK;
}

HRESULT CQVTControlGallery::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::GetAccessibleDefaultAction(varChild, pszDefaultAction);
    if (ChildToIndex(varChild) == -1 || !pszDefaultAction)
        return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(u"Click");
    return S_OK;
}

HRESULT CQVTControlGallery::AccessibleSelect(LONG flagsSelect, VARIANT varChild)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::AccessibleSelect(flagsSelect, varChild);
    const int nIndex = ChildToIndex(varChild);
    if (nIndex == -1)
        return E_INVALIDARG;
    SetSelectedItem(nIndex);
    return S_OK;
}

HRESULT CQVTControlGallery::AccessibleDoDefaultAction(VARIANT varChild)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::AccessibleDoDefaultAction(varChild);
    const int nIndex = ChildToIndex(varChild);
    if (nIndex == -1)
        return E_INVALIDARG;
    SetSelectedItem(nIndex);
    return S_OK;
}

HRESULT CQVTControlGallery::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                               VARIANT varChild)
{
    if (GetChildIndex(&varChild) == CHILDID_SELF)
        return CQVTControlPopup::AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    const int nIndex = ChildToIndex(varChild);
    if (nIndex == -1 || !pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return S_FALSE;
    CRect rc = GetItemRect(nIndex);
    m_pParent->ClientToScreen(&rc);
    return QVTAccessibleLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT CQVTControlGallery::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    pvarChild->vt = VT_EMPTY;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return S_FALSE;
    CPoint pt(xLeft, yTop);
    m_pParent->ScreenToClient(&pt);
    CRect rcClient;
    m_pParent->GetClientRect(&rcClient);
    if (!rcClient.PtInRect(pt) || !m_rcControl.PtInRect(pt))
        return S_FALSE;
    const int nHit = HitTestItem(pt);
    pvarChild->vt = VT_I4;
    pvarChild->lVal = nHit == -1 ? CHILDID_SELF : nHit + 1;
    return S_OK;
}
