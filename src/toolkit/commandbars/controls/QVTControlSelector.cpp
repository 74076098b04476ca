#include "toolkit/commandbars/controls/QVTControlSelector.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlSelector, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlSelector::CQVTControlSelector()
    : m_szItemsCount(5, 4), m_szItemsMax(12, 12),
      m_szItem(QVTDpiScaler()->ScaleX(28), QVTDpiScaler()->ScaleY(28)), m_szSelected(0, 0), m_szGrid(5, 4),
      m_szLastSelected(0, 0), m_bUpdating(FALSE)
{
}

CSize CQVTControlSelector::BoundCount(CSize sz)
{
    return CSize(std::clamp(static_cast<int>(sz.cx), 1, kMaxCells),
                 std::clamp(static_cast<int>(sz.cy), 1, kMaxCells));
}

CSize CQVTControlSelector::BoundItemSize(CSize sz)
{
    return CSize(std::clamp(static_cast<int>(sz.cx), 1, kMaxItemSize),
                 std::clamp(static_cast<int>(sz.cy), 1, kMaxItemSize));
}

CSize CQVTControlSelector::GetSize(CDC*)
{
    return CSize(m_szGrid.cx * m_szItem.cx, m_szGrid.cy * m_szItem.cy);
}

void CQVTControlSelector::OnCalcDynamicSize(DWORD)
{
    if (!m_bUpdating)
    {
        m_szSelected = CSize(0, 0);
        m_szGrid = m_szItemsCount;
    }
    SetSelection(m_szSelected, TRUE);
}

CSize CQVTControlSelector::Draw(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    const int nInset = QVTDpiScaler()->ScaleX(1);
    for (int r = 0; r < m_szGrid.cy; ++r)
    {
        for (int c = 0; c < m_szGrid.cx; ++c)
        {
            CRect rcItem(m_rcControl.left + c * m_szItem.cx, m_rcControl.top + r * m_szItem.cy, 0, 0);
            rcItem.right = rcItem.left + m_szItem.cx;
            rcItem.bottom = rcItem.top + m_szItem.cy;
            rcItem.DeflateRect(nInset, nInset);
            const BOOL bSelected = c < m_szSelected.cx && r < m_szSelected.cy;
            const COLORREF clrText = bSelected       ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                     : pPaintManager ? pPaintManager->GetColor(46)
                                                     : ::GetSysColor(COLOR_WINDOWTEXT);
            pDC->FillSolidRect(rcItem, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            const COLORREF clrBorder =
                pPaintManager ? pPaintManager->GetColor(43) : ::GetSysColor(COLOR_3DSHADOW);
            pDC->Draw3dRect(rcItem, clrBorder, clrBorder);
            DrawItem(pDC, rcItem, clrText);
        }
    }
    return m_rcControl.Size();
}

void CQVTControlSelector::OnMouseMove(CPoint point)
{
    // Every column whose left edge lies left of the point counts, and every
    // row whose top lies above it.
    CSize szSelected(0, 0);
    for (int c = 0; c < m_szGrid.cx && m_rcControl.left + c * m_szItem.cx < point.x; ++c)
        ++szSelected.cx;
    for (int r = 0; r < m_szGrid.cy && m_rcControl.top + r * m_szItem.cy < point.y; ++r)
        ++szSelected.cy;
    SetSelection(szSelected);
}

BOOL CQVTControlSelector::OnSetSelected(int bSelected)
{
    if (bSelected == 0 && m_pParent && m_pParent->GetSafeHwnd() && (::GetKeyState(VK_LBUTTON) & 0x8000))
    {
        // Dragged out with the button held: the grid grows towards the pointer.
        CPoint pt;
        ::GetCursorPos(&pt);
        m_pParent->ScreenToClient(&pt);
        const CSize szOld = m_szGrid;
        if (pt.x >= m_rcControl.right)
            m_szGrid.cx = std::min(static_cast<int>(m_szItemsMax.cx),
                                   static_cast<int>((pt.x - m_rcControl.left) / m_szItem.cx + 1));
        if (pt.y >= m_rcControl.bottom)
            m_szGrid.cy = std::min(static_cast<int>(m_szItemsMax.cy),
                                   static_cast<int>((pt.y - m_rcControl.top) / m_szItem.cy + 1));
        if (m_szGrid == szOld)
            SetSelection(CSize(0, 0));
        else
        {
            CQVTControlRef keepAlive(this);
            SetSelection(m_szSelected, TRUE);
            m_bUpdating = TRUE;
            m_pParent->OnRecalcLayout();
            m_bUpdating = FALSE;
            OnMouseMove(pt);
            return TRUE;
        }
    }
    return CQVTControl::OnSetSelected(bSelected);
}

void CQVTControlSelector::SetSelection(CSize sz, BOOL bForceNotify)
{
    if (sz == m_szSelected && !bForceNotify)
        return;
    m_szSelected = sz;
    RedrawParent(TRUE);
    NotifySite(kSelectionChanged);
}

void CQVTControlSelector::OnLButtonUp(CPoint)
{
    if (m_szSelected.cx <= 0 || m_szSelected.cy <= 0)
        return;
    m_szLastSelected = m_szSelected;
    OnExecute();
}

void CQVTControlSelector::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControl::Copy(pSource, bRecursive);
    CQVTControlSelector* pSelector = DYNAMIC_DOWNCAST(CQVTControlSelector, pSource);
    if (!pSelector || pSelector == this)
        return;
    m_szItemsCount = pSelector->m_szItemsCount;
    m_szItemsMax = pSelector->m_szItemsMax;
    m_szItem = pSelector->m_szItem;
}

void CQVTControlSelector::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTControl::DoPropExchange(pPX);
    SIZE szCount = m_szItemsCount;
    SIZE szMax = m_szItemsMax;
    SIZE szItem = m_szItem;
    PropExchangeSize(pPX, _T("ItemsCount"), szCount, CSize(5, 4));
    PropExchangeSize(pPX, _T("ItemsMax"), szMax, CSize(12, 12));
    PropExchangeSize(pPX, _T("ItemSize"), szItem,
                     CSize(QVTDpiScaler()->ScaleX(28), QVTDpiScaler()->ScaleY(28)));
    if (pPX && pPX->IsLoading())
    {
        // Stored values are held to what the grid can show.
        SetItemsCount(szCount);
        SetItemsMax(szMax);
        SetItemSize(szItem);
        m_szGrid = m_szItemsCount;
    }
}
