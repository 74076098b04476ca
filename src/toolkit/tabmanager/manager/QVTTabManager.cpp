#include "toolkit/tabmanager/manager/QVTTabManager.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManagerCaptureLoop.h"
#include "toolkit/tabmanager/markup/QVTTabMarkup.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

CQVTTabManager::CRowIndexer::ROW_ITEMS* CQVTTabManager::CRowIndexer::CreateIndexer(int nRowCount)
{
    m_rows.assign(std::max(nRowCount, 1), ROW_ITEMS{0, -1});
    return m_rows.data();
}

CQVTTabManager::CQVTTabManager() : m_pRowIndexer(new CRowIndexer(this))
{
    m_arrNavigateButtons.Add(new CNavigateButtonArrowLeft(this, CQVTTabManagerNavigateButton::displayAuto));
    m_arrNavigateButtons.Add(new CNavigateButtonArrowRight(this, CQVTTabManagerNavigateButton::displayAuto));
    m_arrNavigateButtons.Add(new CNavigateButtonClose(this, CQVTTabManagerNavigateButton::displayHidden));
    m_pRowIndexer->CreateIndexer(1);
}

CQVTTabManager::~CQVTTabManager()
{
    // Reposition is the host's and already gone: items leave without it.
    for (CQVTTabManagerItem* pItem : m_arrItems)
    {
        pItem->OnRemoved();
        pItem->m_pTabManager = nullptr;
        pItem->InternalRelease();
    }
    m_arrItems.clear();
    m_pSelected = m_pHighlighted = m_pPressed = nullptr;
    m_arrNavigateButtons.RemoveAll();
    QVTTabReleaseMarkupContext(m_pMarkupContext);
    if (m_pAttachedPaintManager)
        m_pAttachedPaintManager->RemoveTabManager(this);
}

CString CQVTTabManager::GetItemCaption(const CQVTTabManagerItem* pItem) const
{
    return pItem->m_strCaption;
}

DWORD_PTR CQVTTabManager::GetItemData(const CQVTTabManagerItem* pItem) const
{
    return pItem->m_dwData;
}

COLORREF CQVTTabManager::GetItemColor(const CQVTTabManagerItem* pItem) const
{
    const COLORREF clr = pItem->m_clrItem;
    if (!IsTabAutomaticColor(clr))
        return clr;
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetAutomaticColor(clr) : clr;
}

CString CQVTTabManager::GetItemTooltip(const CQVTTabManagerItem* pItem) const
{
    return pItem->m_strToolTip;
}

void CQVTTabManager::OnItemsChanged()
{
    for (size_t i = 0; i < m_arrItems.size(); ++i)
        m_arrItems[i]->m_nIndex = static_cast<int>(i);
    Reposition();
}

CQVTTabManagerItem* CQVTTabManager::AddItem(int nIndex, CQVTTabManagerItem* pItem)
{
    if (!pItem)
        pItem = new CQVTTabManagerItem();
    pItem->m_pTabManager = this;
    if (nIndex < 0 || nIndex > GetItemCount())
        nIndex = GetItemCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);

    if (CQVTTabPaintManager* pPaintManager = GetPaintManager())
    {
        AttachPaintManager(pPaintManager);
        pItem->m_clrItem = pPaintManager->NextAutomaticColor();
    }
    if (m_nCloseButtonMode != 0)
        pItem->m_arrNavigateButtons.Add(new CNavigateButtonTabClose(this, m_nCloseButtonMode, pItem));

    OnItemsChanged();
    return pItem;
}

void CQVTTabManager::DeleteAllItems()
{
    std::vector<CQVTTabManagerItem*> arrItems;
    arrItems.swap(m_arrItems);
    m_pSelected = m_pHighlighted = m_pPressed = nullptr;
    for (CQVTTabManagerItem* pItem : arrItems)
    {
        pItem->OnRemoved();
        pItem->m_pTabManager = nullptr;
        pItem->InternalRelease();
    }
    OnItemsChanged();
}

CQVTTabManagerItem* CQVTTabManager::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        AfxThrowInvalidArgException();
    return m_arrItems[nIndex];
}

CQVTTabManagerItem* CQVTTabManager::FindItemByHandle(HWND hHandle) const
{
    for (CQVTTabManagerItem* pItem : m_arrItems)
        if (pItem->m_hHandle == hHandle)
            return pItem;
    return nullptr;
}

CQVTTabManagerNavigateButton* CQVTTabManager::FindNavigateButton(UINT nID) const
{
    for (int i = 0; i < m_arrNavigateButtons.GetSize(); ++i)
        if (m_arrNavigateButtons.GetAt(i)->GetID() == nID)
            return m_arrNavigateButtons.GetAt(i);
    return nullptr;
}

void CQVTTabManager::SetSelectedItem(CQVTTabManagerItem* pItem)
{
    if (pItem == m_pSelected)
        return;
    m_pSelected = pItem;
    Reposition();
    EnsureVisible(pItem);
}

void CQVTTabManager::SetCurSel(int nIndex)
{
    if (m_arrItems.empty())
    {
        SetSelectedItem(nullptr);
        return;
    }
    nIndex = std::min(std::max(nIndex, 0), GetItemCount() - 1);
    SetSelectedItem(m_arrItems[nIndex]);
}

int CQVTTabManager::GetCurSel() const
{
    return m_pSelected ? m_pSelected->m_nIndex : -1;
}

void CQVTTabManager::OnItemClick(CQVTTabManagerItem* pItem)
{
    SetSelectedItem(pItem);
}

BOOL CQVTTabManager::CanClickItem(CQVTTabManagerItem* /*pItem*/) const
{
    return TRUE;
}

BOOL CQVTTabManager::ClickItem(CQVTTabManagerItem* pItem)
{
    const BOOL bCanClick = CanClickItem(pItem);
    if (!bCanClick || !pItem)
        return bCanClick;
    OnItemClick(pItem);
    return TRUE;
}

CQVTTabManagerItem* CQVTTabManager::FindNextFocusable(int nIndex, int nDirection) const
{
    for (;;)
    {
        nIndex += nDirection;
        if (nIndex < 0 || nIndex >= GetItemCount())
            return nullptr;
        CQVTTabManagerItem* pItem = m_arrItems[nIndex];
        if (pItem->m_bVisible && pItem->m_bEnabled)
            return pItem;
    }
}

CQVTTabManagerItem* CQVTTabManager::HitTest(CPoint pt) const
{
    if (!m_rcControl.PtInRect(pt))
        return nullptr;
    if (!m_rcHeader.IsRectEmpty() && !m_rcHeader.PtInRect(pt))
        return nullptr;
    for (CQVTTabManagerItem* pItem : m_arrItems)
        if (pItem->m_rcItem.PtInRect(pt) && pItem->m_bEnabled && pItem->m_bVisible)
            return pItem;
    return nullptr;
}

namespace {

CQVTTabManagerNavigateButton* HitTestButtons(const CQVTTabManagerNavigateButtons& buttons, CPoint pt,
                                             int* pnIndex, BOOL& bMatched)
{
    for (int i = 0; i < buttons.GetSize(); ++i)
    {
        CQVTTabManagerNavigateButton* pButton = buttons.GetAt(i);
        if (!pButton->GetRect().PtInRect(pt))
            continue;
        bMatched = TRUE;
        if (!pButton->IsEnabled())
            return nullptr;
        if (pnIndex)
            *pnIndex = i;
        return pButton;
    }
    return nullptr;
}

}  // namespace

CQVTTabManagerNavigateButton* CQVTTabManager::HitTestNavigateButton(CPoint pt, BOOL bGlobalOnly,
                                                                    int* pnIndex) const
{
    BOOL bMatched = FALSE;
    CQVTTabManagerNavigateButton* pButton = HitTestButtons(m_arrNavigateButtons, pt, pnIndex, bMatched);
    if (bMatched || bGlobalOnly)
        return pButton;
    if (CQVTTabManagerItem* pItem = HitTest(pt))
        return HitTestButtons(pItem->m_arrNavigateButtons, pt, pnIndex, bMatched);
    return nullptr;
}

BOOL CQVTTabManager::PerformClick(CWnd* pWnd, CPoint pt, BOOL bNoItemClick)
{
    if (CQVTTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE))
    {
        pButton->PerformClick(pWnd, pt);
        return TRUE;
    }
    if (bNoItemClick)
        return FALSE;
    CQVTTabManagerItem* pItem = HitTest(pt);
    if (!pItem || !CanClickItem(pItem))
        return FALSE;
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    if (IsAllowReorder())
        ReOrder(pWnd, pt, pItem);
    else if (pPaintManager && !pPaintManager->m_bSelectOnButtonDown)
        TrackClick(pWnd, pt, pItem);
    else
        OnItemClick(pItem);
    return TRUE;
}

void CQVTTabManager::RedrawItem(CQVTTabManagerItem* pItem, BOOL bAnimate)
{
    CQVTTabPaintManagerTheme* pAppearance = GetAppearance();
    CRect rc = pAppearance ? pAppearance->GetButtonDrawRect(pItem) : pItem->m_rcItem;
    RedrawControl(rc, bAnimate);
}

void CQVTTabManager::RedrawButton(CQVTTabManagerNavigateButton* pButton, BOOL bAnimate)
{
    const CRect rc = pButton->GetRect();
    RedrawControl(rc, bAnimate);
}

namespace {

// Only while something is lit: the system keeps one window's leave
// tracking, and a request for a window the pointer has left takes it from
// the window under the pointer, which is then told the pointer left.
void RequestMouseLeave(CWnd* pWnd)
{
    if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd()))
        return;
    TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, pWnd->GetSafeHwnd(), 0};
    ::TrackMouseEvent(&tme);
}

}  // namespace

void CQVTTabManager::PerformMouseMove(CWnd* pWnd, CPoint pt)
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    const HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!CQVTDrawHelpers::IsApplicationActive(hWnd) || IsMouseLocked())
    {
        if (CQVTTabManagerItem* pHighlighted = m_pHighlighted)
        {
            m_pHighlighted = nullptr;
            RedrawItem(pHighlighted, FALSE);
        }
        return;
    }

    if (pPaintManager && pPaintManager->m_bHotTracking)
    {
        CQVTTabManagerItem* pHot = HitTest(pt);
        if (pHot != m_pHighlighted)
        {
            if (m_pHighlighted)
                RedrawItem(m_pHighlighted, TRUE);
            m_pHighlighted = pHot;
            if (pHot)
            {
                RedrawItem(pHot, FALSE);
                RequestMouseLeave(pWnd);
            }
        }
    }

    CQVTTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE);
    if (pButton != m_pHighlightedNavigateButton)
    {
        if (m_pHighlightedNavigateButton)
            RedrawButton(m_pHighlightedNavigateButton, TRUE);
        m_pHighlightedNavigateButton = pButton;
        if (pButton)
        {
            RedrawButton(pButton, FALSE);
            RequestMouseLeave(pWnd);
        }
    }
}

void CQVTTabManager::TrackClick(CWnd* pWnd, CPoint pt, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    const BOOL bHotTracking = pPaintManager && pPaintManager->m_bHotTracking;
    CQVTTabItemReference item(pItem);
    const std::weak_ptr<int> lifetime = m_pLifetime;

    if (bHotTracking)
        m_pHighlighted = pItem;
    m_pPressed = pItem;
    Reposition();

    CQVTTabCaptureLoop loop(pWnd);
    BOOL bReleasedInside = FALSE;
    while (loop.IsRunning())
    {
        MSG msg;
        if (!loop.Next(msg))
            break;
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            const CPoint ptMove(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            loop.SetPoint(ptMove);
            const BOOL bInside = pItem->m_rcItem.PtInRect(ptMove);
            if (bHotTracking && (bInside ? pItem : nullptr) != m_pHighlighted)
            {
                m_pHighlighted = bInside ? pItem : nullptr;
                RedrawControl(pItem->m_rcItem, TRUE);
            }
            break;
        }
        case WM_LBUTTONUP:
        {
            const CPoint ptUp(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            loop.SetPoint(ptUp);
            bReleasedInside = pItem->m_rcItem.PtInRect(ptUp);
            loop.End();
            break;
        }
        default:
            loop.Dispatch(msg);
            // A handler may have destroyed the strip, or taken the item away.
            if (!IsAlive(lifetime))
                return;
            if (pItem->m_pTabManager != this)
                loop.End();
        }
    }
    if (!IsAlive(lifetime))
        return;
    loop.ReleaseCapture();
    if (m_pPressed == pItem)
        m_pPressed = nullptr;
    PerformMouseMove(pWnd, loop.GetPoint());
    RedrawControl(nullptr, FALSE);
    if (bReleasedInside && pItem->m_pTabManager == this)
        OnItemClick(pItem);
}

void CQVTTabManager::SwapItems(int nFirst, int nSecond)
{
    std::swap(m_arrItems[nFirst], m_arrItems[nSecond]);
}

void CQVTTabManager::ReOrder(CWnd* pWnd, CPoint pt, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    CQVTTabItemReference item(pItem);
    CQVTTabItemReference previous(m_pSelected);
    const std::weak_ptr<int> lifetime = m_pLifetime;

    m_pSelected = pItem;
    if (pPaintManager && pPaintManager->m_bHotTracking)
        m_pHighlighted = pItem;
    Reposition();
    if (!IsAlive(lifetime))
        return;

    // The places the items had when the drag began; the drag steps by them.
    std::vector<CRect> arrRects;
    for (CQVTTabManagerItem* p : m_arrItems)
        arrRects.push_back(p->m_rcItem);
    const int nStartIndex = pItem->m_nIndex;

    CQVTTabCaptureLoop loop(pWnd);
    auto isMember = [this, pItem]() { return pItem->m_pTabManager == this; };
    while (loop.IsRunning())
    {
        MSG msg;
        if (!loop.Next(msg))
            break;
        if (msg.message == WM_LBUTTONUP)
        {
            loop.SetPoint(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
            loop.End();
            continue;
        }
        if (msg.message != WM_MOUSEMOVE)
        {
            loop.Dispatch(msg);
            if (!IsAlive(lifetime))
                return;
            if (!isMember())
                loop.End();
            continue;
        }

        const CPoint ptMove(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        loop.SetPoint(ptMove);
        int nTarget = -1;
        for (int i = 0; i < static_cast<int>(arrRects.size()) && i < GetItemCount(); ++i)
        {
            if (i != pItem->m_nIndex && arrRects[i].PtInRect(ptMove))
            {
                nTarget = i;
                break;
            }
        }
        while (nTarget >= 0 && isMember() && pItem->m_nIndex != nTarget)
        {
            const int nIndex = pItem->m_nIndex;
            const int nNeighbour = nIndex + (nTarget > nIndex ? 1 : -1);
            CQVTTabItemReference other(m_arrItems[nNeighbour]);
            SwapItems(nIndex, nNeighbour);
            OnItemsChanged();
            if (!IsAlive(lifetime))
                return;
            OnItemsSwapped(pItem, other.Get());
            if (!IsAlive(lifetime))
                return;
        }
        if (!isMember())
            loop.End();
    }
    if (!IsAlive(lifetime))
        return;
    loop.ReleaseCapture();
    PerformMouseMove(pWnd, loop.GetPoint());
    if (!isMember())
        return;
    // The drop selects through the normal click path, from the selection the
    // drag began with.
    CQVTTabManagerItem* pPrevious = previous.Get();
    m_pSelected = pPrevious && pPrevious->m_pTabManager == this ? pPrevious : nullptr;
    OnItemClick(pItem);
    if (IsAlive(lifetime) && isMember() && pItem->m_nIndex != nStartIndex)
        OnItemMoved(pItem, nStartIndex, pItem->m_nIndex);
}

BOOL CQVTTabManager::PerformKeyDown(CWnd* pWnd, UINT nChar)
{
    if (m_arrItems.empty())
        return FALSE;
    if (pWnd && ::IsWindow(pWnd->GetSafeHwnd()))
        CQVTDrawHelpers::MirrorArrowKeyForRTL(pWnd, nChar);

    const int nCount = GetItemCount();
    const int nSelected = m_pSelected ? m_pSelected->m_nIndex : -1;
    const BOOL bHorizontal = IsHorizontalPosition();
    CQVTTabManagerItem* pTarget = nullptr;
    switch (nChar)
    {
    case VK_HOME:
        pTarget = FindNextFocusable(-1, +1);
        break;
    case VK_END:
        pTarget = FindNextFocusable(nCount, -1);
        break;
    case VK_LEFT:
    case VK_UP:
        if (m_pSelected && !bHorizontal == (nChar == VK_UP) && nSelected > 0)
            pTarget = FindNextFocusable(nSelected, -1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (m_pSelected && !bHorizontal == (nChar == VK_DOWN) && nSelected < nCount - 1)
            pTarget = FindNextFocusable(nSelected, +1);
        break;
    default:
        return FALSE;
    }
    if (pTarget)
        ClickItem(pTarget);
    return TRUE;
}

INT_PTR CQVTTabManager::OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFO* pTI)
{
    if (IsMouseLocked())
        return -1;
    int nButton = -1;
    if (CQVTTabManagerNavigateButton* pButton = HitTestNavigateButton(point, FALSE, &nButton))
    {
        const CString strTip = pButton->GetTooltip();
        if (strTip.IsEmpty())
            return -1;
        CQVTToolTipContext::FillInToolInfo(pTI, pWnd ? pWnd->GetSafeHwnd() : nullptr, pButton->GetRect(),
                                           nButton, strTip);
        return nButton;
    }

    CQVTTabManagerItem* pItem = HitTest(point);
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    if (!pItem || !pPaintManager)
        return -1;
    const int nMode = pPaintManager->m_nToolTipBehaviour;
    if (nMode == 0 || (nMode == 2 && !pItem->IsTruncated()))
        return -1;
    const CString strTip = GetItemTooltip(pItem);
    if (strTip.IsEmpty())
        return -1;
    const CString strCaption = pItem->GetCaption();
    CQVTToolTipContext::FillInToolInfoEx(pTI, pWnd ? pWnd->GetSafeHwnd() : nullptr, pItem->m_rcItem,
                                         pItem->m_nIndex, strTip, strCaption);
    return pItem->m_nIndex;
}

void CQVTTabManager::ScrollHeader(int nDirection)
{
    SetHeaderOffset(m_nHeaderOffset + (nDirection == 0 ? m_nScrollStep : -m_nScrollStep));
}

void CQVTTabManager::SetHeaderOffset(int nOffset)
{
    nOffset = std::min(nOffset, 0);
    if (nOffset == m_nHeaderOffset)
        return;
    m_nHeaderOffset = nOffset;
    Reposition();
}

void CQVTTabManager::EnsureVisible(CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    if (pItem && pPaintManager)
        pPaintManager->EnsureVisible(this, pItem);
}

int CQVTTabManager::GetItemsLength() const
{
    if (GetLayout() == qvtTabLayoutRotated)
    {
        // Rotated items each take one row along the strip.
        CQVTTabPaintManagerTheme* pAppearance = GetAppearance();
        const int nRow = pAppearance ? pAppearance->GetRowHeight(const_cast<CQVTTabManager*>(this)) : 0;
        return GetItemCount() * nRow;
    }
    int nLength = 0;
    for (CQVTTabManagerItem* pItem : m_arrItems)
        nLength += pItem->m_nButtonLength;
    return nLength;
}

void CQVTTabManager::GetItemMetrics(CSize* pNormal, CSize* pMin, CSize* pMax) const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager)
        return;
    if (pNormal)
        *pNormal = CSize(pPaintManager->m_nFixedTabWidth, 0);
    if (pMin)
        *pMin = CSize(pPaintManager->m_nMinTabWidth, 0);
    if (pMax)
        *pMax = CSize(pPaintManager->m_nMaxTabWidth, 0);
}

BOOL CQVTTabManager::IsAllowReorder() const
{
    return m_bAllowReorder;
}

void CQVTTabManager::SetAllowReorder(BOOL bAllowReorder)
{
    m_bAllowReorder = bAllowReorder;
}

BOOL CQVTTabManager::IsDrawStaticFrame() const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager && pPaintManager->m_bStaticFrame;
}

int CQVTTabManager::GetPosition() const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetPosition() : qvtTabPositionTop;
}

int CQVTTabManager::GetLayout() const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetLayout() : qvtTabLayoutAutoSize;
}

BOOL CQVTTabManager::IsHorizontalPosition() const
{
    return QVTIsHorizontalTabPosition(GetPosition());
}

CQVTTabPaintManagerTheme* CQVTTabManager::GetAppearance() const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetAppearanceSet() : nullptr;
}

CQVTMarkupContext* CQVTTabManager::GetMarkupContext() const
{
    return m_pMarkupContext;
}

void CQVTTabManager::SetMarkupContext(CQVTMarkupContext* pContext)
{
    if (pContext == m_pMarkupContext)
        return;
    for (CQVTTabManagerItem* pItem : m_arrItems)
        QVTTabReleaseMarkupCaption(pItem->m_pMarkupUIElement);
    QVTTabReleaseMarkupContext(m_pMarkupContext);
    m_pMarkupContext = pContext;
    if (m_pMarkupContext)
        for (CQVTTabManagerItem* pItem : m_arrItems)
            pItem->m_pMarkupUIElement = QVTTabParseMarkupCaption(m_pMarkupContext, pItem->m_strCaption);
    Reposition();
}

BOOL CQVTTabManager::IsNavigateButtonAutoVisible(CQVTTabManagerNavigateButton* pButton) const
{
    if (pButton->GetID() != CQVTTabManagerNavigateButton::buttonClose)
        return TRUE;
    if (CQVTTabManagerItem* pItem = pButton->GetItem())
        return pItem->m_bClosable && pItem == m_pSelected;
    return m_pSelected && m_pSelected->m_bClosable;
}

BOOL CQVTTabManager::IsNavigateButtonVisible(CQVTTabManagerNavigateButton* pButton) const
{
    switch (pButton->GetDisplayMode())
    {
    case CQVTTabManagerNavigateButton::displayHidden:
        return FALSE;
    case CQVTTabManagerNavigateButton::displayAlways:
        return !pButton->GetItem() || pButton->GetItem()->m_bClosable;
    default:
        return IsNavigateButtonAutoVisible(pButton);
    }
}

void CQVTTabManager::OnItemsSwapped(CQVTTabManagerItem* /*pItem*/, CQVTTabManagerItem* /*pOther*/) {}

void CQVTTabManager::OnItemMoved(CQVTTabManagerItem* /*pItem*/, int /*nOldIndex*/, int /*nNewIndex*/) {}

void CQVTTabManager::OnNavigateButtonClick(UINT /*nID*/) {}

void CQVTTabManager::OnNavigateButtonClick(CQVTTabManagerNavigateButton* pButton)
{
    OnNavigateButtonClick(pButton->GetID());
}

BOOL CQVTTabManager::IsMouseLocked() const
{
    return FALSE;
}

BOOL CQVTTabManager::IsFocused() const
{
    return FALSE;
}

void CQVTTabManager::AttachPaintManager(CQVTTabPaintManager* pPaintManager)
{
    if (pPaintManager == m_pAttachedPaintManager)
        return;
    if (m_pAttachedPaintManager)
        m_pAttachedPaintManager->RemoveTabManager(this);
    m_pAttachedPaintManager = pPaintManager;
    if (pPaintManager)
        pPaintManager->AddTabManager(this);
}
