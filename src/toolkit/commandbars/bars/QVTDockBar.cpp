#include "toolkit/commandbars/bars/QVTDockBar.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTDockContext.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {
const TCHAR kDockBarClass[] = _T("QVTDockBar");
const TCHAR* const kDockBarTitles[] = {_T("qvtBarTop"), _T("qvtBarBottom"), _T("qvtBarLeft"),
                                       _T("qvtBarRight")};
}  // namespace

IMPLEMENT_DYNCREATE(CQVTDockBar, CWnd)

BEGIN_MESSAGE_MAP(CQVTDockBar, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTDockBar::OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, &CQVTDockBar::OnSizeParent)
    ON_WM_RBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQVTDockBar::CQVTDockBar() : m_dwStyle(0), m_pCommandBars(nullptr)
{
    // A new dock bar holds one empty row.
    m_arrBars.push_back(nullptr);
}

CQVTDockBar::~CQVTDockBar()
{
    DestroyWindow();
}

BOOL CQVTDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kDockBarClass, 0);
    const DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | WS_CLIPSIBLINGS;
    return CWnd::Create(kDockBarClass, kDockBarTitles[GetPosition()], dwWindowStyle, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

int CQVTDockBar::GetPosition() const
{
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM))
        return 0;
    if (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        return 1;
    if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT))
        return 2;
    return 3;
}

int CQVTDockBar::FindBar(CQVTCommandBar* pBar) const
{
    for (size_t i = 0; i < m_arrBars.size(); ++i)
        if (pBar && m_arrBars[i] == pBar)
            return static_cast<int>(i);
    return -1;
}

// The rows.

void CQVTDockBar::FindInsertPosition(CPoint point, CQVTCommandBar* pBar, int& nInsert, BOOL& bNewRow) const
{
    const BOOL bVert = IsVerticalDock();
    const int nCross = bVert ? point.x : point.y;
    BOOL bHavePrevious = FALSE;
    int nPreviousFar = 0;
    BOOL bFirstRow = TRUE;
    const int nCount = static_cast<int>(m_arrBars.size());
    for (int nStart = 0; nStart < nCount;)
    {
        if (m_arrBars[nStart] == nullptr)
        {
            ++nStart;
            continue;
        }
        int nEnd = nStart;
        BOOL bVisible = FALSE;
        BOOL bRibbon = FALSE;
        int nFar = 0;
        for (; nEnd < nCount && m_arrBars[nEnd]; ++nEnd)
        {
            CQVTCommandBar* pRowBar = m_arrBars[nEnd];
            bRibbon |= pRowBar->IsRibbonBar();
            if (!pRowBar->IsVisible() || !pRowBar->GetSafeHwnd())
                continue;
            CRect rc;
            pRowBar->GetWindowRect(&rc);
            ScreenToClient(&rc);
            const int nEdge = bVert ? rc.right : rc.bottom;
            nFar = bVisible ? std::max(nFar, nEdge) : nEdge;
            bVisible = TRUE;
        }
        if (bVisible)
        {
            const BOOL bSkip = bFirstRow && bRibbon && !pBar->IsRibbonBar();
            if (!bSkip && nFar > nCross)
            {
                nInsert = nStart;
                bNewRow = bHavePrevious && nCross == nPreviousFar;
                return;
            }
            bHavePrevious = TRUE;
            nPreviousFar = nFar;
            bFirstRow = FALSE;
        }
        nStart = nEnd;
    }
    nInsert = nCount;
    bNewRow = TRUE;
}

void CQVTDockBar::DockCommandBar(CQVTCommandBar* pBar, LPCRECT lpRect)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (!pToolBar || !GetSafeHwnd())
        return;
    const int nOld = FindBar(pBar);
    if (nOld >= 0 && lpRect && pBar->GetSafeHwnd())
    {
        CRect rcWindow;
        pBar->GetWindowRect(&rcWindow);
        if (rcWindow == *lpRect)
            return;
    }
    CQVTDockContext* pContext = pToolBar->GetDockContext();
    int nInsert = static_cast<int>(m_arrBars.size());
    BOOL bNewRow = TRUE;
    if (lpRect)
    {
        CRect rc(*lpRect);
        ScreenToClient(&rc);
        FindInsertPosition(rc.CenterPoint(), pBar, nInsert, bNewRow);
        if (pContext)
            pContext->m_rectMRUDockPos = rc;
    }
    else if (pContext)
        pContext->m_rectMRUDockPos.SetRectEmpty();
    // A stretched bar never shares its row.
    if (pToolBar->GetFlags() & CQVTToolBar::dockStretch)
        bNewRow = TRUE;

    const auto itInsert = m_arrBars.begin() + nInsert;
    if (bNewRow)
        m_arrBars.insert(itInsert, {pBar, nullptr});
    else
        m_arrBars.insert(itInsert, pBar);
    if (nOld >= 0)
        RemoveEntry(nOld >= nInsert ? nOld + (bNewRow ? 2 : 1) : nOld);
    else if (pToolBar->GetDockBar() && pToolBar->GetDockBar() != this)
        pToolBar->GetDockBar()->RemoveCommandBar(pBar);

    pToolBar->SetDockBar(this);
    pToolBar->SetPosition(GetPosition());
    if (pContext)
        pContext->m_uMRUDockPosition = GetPosition();
    if (!pBar->GetSafeHwnd() || pBar->GetParent() != this)
        pToolBar->CreateToolBarWindow(this, FALSE);
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(FALSE);
}

void CQVTDockBar::RemoveEntry(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrBars.size()) || !m_arrBars[nIndex])
        return;
    m_arrBars.erase(m_arrBars.begin() + nIndex);
    // An emptied row leaves two row ends in a row: one goes.
    if (nIndex > 0 && nIndex < static_cast<int>(m_arrBars.size()) && !m_arrBars[nIndex - 1] &&
        !m_arrBars[nIndex])
        m_arrBars.erase(m_arrBars.begin() + nIndex);
}

void CQVTDockBar::RemoveCommandBar(CQVTCommandBar* pBar, int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrBars.size()) || m_arrBars[nIndex] != pBar)
        nIndex = FindBar(pBar);
    if (nIndex < 0)
        return;
    RemoveEntry(nIndex);
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
    if (pToolBar && pToolBar->GetDockBar() == this)
        pToolBar->SetDockBar(nullptr);
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(FALSE);
}

void CQVTDockBar::InsertEntry(int nIndex, CQVTCommandBar* pBar)
{
    // The leading row end stays first.
    nIndex = std::max(1, std::min(nIndex, static_cast<int>(m_arrBars.size())));
    m_arrBars.insert(m_arrBars.begin() + nIndex, pBar);
}

void CQVTDockBar::RemoveAllEntries()
{
    m_arrBars.assign(1, nullptr);
}

void CQVTDockBar::RemoveEntryOf(CQVTCommandBar* pBar)
{
    RemoveEntry(FindBar(pBar));
}

void CQVTDockBar::NormalizeRows()
{
    std::vector<CQVTCommandBar*> rows(1, nullptr);
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar || rows.back())
            rows.push_back(pBar);
    if (rows.back())
        rows.push_back(nullptr);
    m_arrBars.swap(rows);
}

// Layout.

DWORD CQVTDockBar::RowLayoutMode(CQVTToolBar* pBar, DWORD dwMode) const
{
    DWORD dwRowMode = IsVerticalDock() ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK);
    const DWORD dwFlags = pBar->GetFlags();
    // The strip itself stretches across the site; its bars only when they
    // ask to.
    if (dwFlags & CQVTToolBar::dockStretch)
        dwRowMode |= LM_STRETCH;
    if ((dwFlags & CQVTToolBar::dockHideWrap) && !(m_pCommandBars && m_pCommandBars->IsCustomizeMode()))
        dwRowMode |= qvtLayoutHideWrap;
    return dwRowMode;
}

namespace {
// Along and across a dock bar: x and y for horizontal ones, swapped for
// vertical ones.
int AlongOf(CSize sz, BOOL bVert)
{
    return bVert ? sz.cy : sz.cx;
}
int AcrossOf(CSize sz, BOOL bVert)
{
    return bVert ? sz.cx : sz.cy;
}
CRect SwapRect(const CRect& rc)
{
    return CRect(rc.top, rc.left, rc.bottom, rc.right);
}
void MoveAlong(CRect& rc, int nLeft)
{
    rc.OffsetRect(nLeft - rc.left, 0);
}
// Overlaps: the bar that came later in the row gives way, and a push
// carries on down the row; the last bar is pulled back inside the length.
void ResolveRowOverlaps(CQVTDockBar::CDockInfoArray& infos, int nLength)
{
    const size_t nCount = infos.size();
    BOOL bPush = FALSE;
    for (size_t i = 1; i < nCount; ++i)
    {
        bPush = infos[i].rcBar.left < infos[i - 1].rcBar.right &&
                (bPush || infos[i].nIndex > infos[i - 1].nIndex);
        if (bPush)
            MoveAlong(infos[i].rcBar, infos[i - 1].rcBar.right);
    }
    bPush = FALSE;
    if (nCount > 0 && infos[nCount - 1].rcBar.right > nLength)
    {
        MoveAlong(infos[nCount - 1].rcBar, nLength - infos[nCount - 1].rcBar.Width());
        bPush = TRUE;
    }
    for (size_t i = nCount > 1 ? nCount - 1 : 0; i-- > 0;)
    {
        bPush = infos[i].rcBar.right > infos[i + 1].rcBar.left &&
                (bPush || infos[i].nIndex > infos[i + 1].nIndex);
        if (bPush)
            MoveAlong(infos[i].rcBar, infos[i + 1].rcBar.left - infos[i].rcBar.Width());
    }
    int nPrevRight = 0;
    for (CQVTDockBar::DOCK_INFO& info : infos)
    {
        if (info.rcBar.left < nPrevRight)
            MoveAlong(info.rcBar, nPrevRight);
        nPrevRight = info.rcBar.right;
    }
}

// A row too long, fitted from the end: each bar down to its minimum while
// the bars before it keep room for theirs. FALSE when even that is too long.
BOOL FitRowFromEnd(CQVTDockBar::CDockInfoArray& infos, int nLength)
{
    BOOL bFits = TRUE;
    int nRight = nLength;
    for (size_t i = infos.size(); i-- > 0;)
    {
        int nMinBefore = 0;
        for (size_t j = 0; j < i; ++j)
            nMinBefore += infos[j].nMinWidth;
        int nLeft = std::max(static_cast<int>(infos[i].rcBar.left), nRight - infos[i].nTotalWidth);
        nLeft = std::min(nLeft, nRight - infos[i].nMinWidth);
        nLeft = std::max(nLeft, nMinBefore);
        if (nRight - nLeft < infos[i].nMinWidth)
            bFits = FALSE;
        infos[i].rcBar.left = nLeft;
        infos[i].rcBar.right = nRight;
        nRight = nLeft;
    }
    return bFits;
}
}  // namespace

int CQVTDockBar::LayoutRow(std::vector<CQVTToolBar*>& arrRow, int nLength, DWORD dwMode, int nOffset,
                           std::vector<CQVTToolBar*>& arrOverflow, HDWP& hDWP)
{
    CDockInfoArray infos;
    for (;;)
    {
        MeasureRowBars(arrRow, nLength, dwMode, infos);
        ResolveRowOverlaps(infos, nLength);
        const size_t nCount = infos.size();
        if (nCount == 0 || infos[nCount - 1].rcBar.right <= nLength)
            break;
        if (FitRowFromEnd(infos, nLength))
            break;
        if (nCount == 1)
        {
            // A bar alone is cut to the length.
            infos[0].rcBar.left = 0;
            infos[0].rcBar.right = nLength;
            break;
        }
        // The row's last bar goes to an extra row of its own.
        CQVTToolBar* pLast = infos[nCount - 1].pBar;
        arrRow.erase(std::find(arrRow.begin(), arrRow.end(), pLast));
        arrOverflow.insert(arrOverflow.begin(), pLast);
    }
    return PlaceRowBars(infos, nLength, dwMode, nOffset, hDWP);
}

// Each bar's full and least length and the place it last had, in the order
// of those places.
void CQVTDockBar::MeasureRowBars(const std::vector<CQVTToolBar*>& arrRow, int nLength, DWORD dwMode,
                                 CDockInfoArray& infos)
{
    const BOOL bVert = IsVerticalDock();
    infos.clear();
    for (size_t i = 0; i < arrRow.size(); ++i)
    {
        CQVTToolBar* pBar = arrRow[i];
        const DWORD dwRowMode = RowLayoutMode(pBar, dwMode);
        DOCK_INFO info = {};
        info.pBar = pBar;
        info.nIndex = static_cast<int>(i);
        info.nTotalWidth = std::max(0, AlongOf(pBar->CalcDockingLayout(nLength, dwRowMode), bVert));
        info.nMinWidth = (dwRowMode & qvtLayoutHideWrap)
                             ? std::max(0, AlongOf(pBar->CalcDockingLayout(1, dwRowMode), bVert))
                             : info.nTotalWidth;
        info.nMinWidth = std::min(info.nMinWidth, info.nTotalWidth);
        CQVTDockContext* pContext = pBar->GetDockContext();
        const CRect rcWanted = pContext ? pContext->m_rectMRUDockPos : CRect(0, 0, 0, 0);
        const int nLeft = bVert ? rcWanted.top : rcWanted.left;
        info.rcBar = CRect(nLeft, 0, nLeft + info.nTotalWidth, 0);
        infos.push_back(info);
    }
    std::stable_sort(infos.begin(), infos.end(),
                     [](const DOCK_INFO& a, const DOCK_INFO& b) { return a.rcBar.left < b.rcBar.left; });
}

// One thickness for the whole row; each bar laid out and moved to its
// place (stretched into its neighbours' gaps when it asks). The thickness.
int CQVTDockBar::PlaceRowBars(CDockInfoArray& infos, int nLength, DWORD dwMode, int nOffset, HDWP& hDWP)
{
    const BOOL bVert = IsVerticalDock();
    int nThickness = 0;
    for (DOCK_INFO& info : infos)
    {
        const int nWidth = std::max(0, static_cast<int>(info.rcBar.Width()));
        nThickness =
            std::max(nThickness,
                     AcrossOf(info.pBar->CalcDockingLayout(nWidth, RowLayoutMode(info.pBar, dwMode)), bVert));
    }
    for (size_t i = 0; i < infos.size(); ++i)
    {
        DOCK_INFO& info = infos[i];
        DWORD dwRowMode = RowLayoutMode(info.pBar, dwMode) | LM_COMMIT;
        if (info.pBar->GetFlags() & qvtBarFlagStretchNeighbours)
        {
            info.rcBar.left = i > 0 ? infos[i - 1].rcBar.right : 0;
            info.rcBar.right = i + 1 < infos.size() ? infos[i + 1].rcBar.left : nLength;
            dwRowMode |= LM_STRETCH;
        }
        const CSize sz = info.pBar->CalcDockingLayout(std::max(0, static_cast<int>(info.rcBar.Width())),
                                                      dwRowMode, nThickness);
        const int nAlong = std::min(AlongOf(sz, bVert), static_cast<int>(info.rcBar.Width()));
        info.rcMRUPos =
            CRect(info.rcBar.left, nOffset, info.rcBar.left + std::max(nAlong, 0), nOffset + nThickness);
        const CRect rcPlaced = bVert ? SwapRect(info.rcMRUPos) : info.rcMRUPos;
        CQVTDockContext* pContext = info.pBar->GetDockContext();
        if (pContext)
            pContext->m_rectMRUDockPos = rcPlaced;
        CRect rcWindow;
        info.pBar->GetWindowRect(&rcWindow);
        ScreenToClient(&rcWindow);
        if (rcWindow != rcPlaced)
        {
            // The batch begins at the first bar that moves: a layout that
            // leaves every bar in place asks the system for no batch.
            if (!hDWP)
                hDWP = ::BeginDeferWindowPos(static_cast<int>(infos.size()));
            if (hDWP)
                hDWP = ::DeferWindowPos(hDWP, info.pBar->GetSafeHwnd(), nullptr, rcPlaced.left, rcPlaced.top,
                                        rcPlaced.Width(), rcPlaced.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        info.pBar->Redraw(nullptr, FALSE);
    }
    return nThickness;
}

CSize CQVTDockBar::CalcDockBarLayout(int nLength, DWORD dwMode)
{
    const BOOL bVert = IsVerticalDock();
    std::vector<std::vector<CQVTToolBar*>> rows(1);
    for (CQVTCommandBar* pBar : m_arrBars)
    {
        if (!pBar)
        {
            if (!rows.back().empty())
                rows.emplace_back();
            continue;
        }
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
        if (pToolBar && pToolBar->IsVisible() && pToolBar->GetParent() == this)
            rows.back().push_back(pToolBar);
    }
    int nOffset = 0;
    HDWP hDWP = nullptr;
    for (std::vector<CQVTToolBar*>& row : rows)
    {
        std::vector<CQVTToolBar*> arrRow;
        arrRow.swap(row);
        while (!arrRow.empty())
        {
            std::vector<CQVTToolBar*> arrOverflow;
            nOffset += LayoutRow(arrRow, nLength, dwMode, nOffset, arrOverflow, hDWP);
            arrRow.swap(arrOverflow);
        }
    }
    if (hDWP)
        ::EndDeferWindowPos(hDWP);
    return bVert ? CSize(nOffset, nLength) : CSize(nLength, nOffset);
}

LRESULT CQVTDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pLayout || !(GetStyle() & WS_VISIBLE))
        return 0;
    CRect rcAvail(pLayout->rect);
    const int nPosition = GetPosition();
    const BOOL bHorz = nPosition < 2;
    DWORD dwMode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    if (pLayout->bStretch)
        dwMode |= LM_STRETCH;
    const CSize size = CalcDockBarLayout(bHorz ? rcAvail.Width() : rcAvail.Height(), dwMode);

    CRect rc = rcAvail;
    switch (nPosition)
    {
    case 0:
        rc.bottom = rc.top + size.cy;
        pLayout->rect.top += size.cy;
        break;
    case 1:
        rc.top = rc.bottom - size.cy;
        pLayout->rect.bottom -= size.cy;
        break;
    case 2:
        rc.right = rc.left + size.cx;
        pLayout->rect.left += size.cx;
        break;
    default:
        rc.left = rc.right - size.cx;
        pLayout->rect.right -= size.cx;
        break;
    }
    // Every pass of the frame's layout comes here: a bar already in place
    // is not moved again.
    AfxRepositionWindow(pLayout, m_hWnd, rc);
    Invalidate(FALSE);
    return 0;
}

void CQVTDockBar::OnRButtonUp(UINT, CPoint point)
{
    if (!m_pCommandBars)
        return;
    ClientToScreen(&point);
    m_pCommandBars->ContextMenu(nullptr, point);
}

void CQVTDockBar::OnPaint()
{
    CPaintDC dc(this);
    if (m_pCommandBars && m_pCommandBars->GetPaintManager())
        m_pCommandBars->GetPaintManager()->FillDockBar(&dc, this);
}

LRESULT CQVTDockBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC && m_pCommandBars && m_pCommandBars->GetPaintManager())
        m_pCommandBars->GetPaintManager()->FillDockBar(pDC, this);
    return 1;
}

BOOL CQVTDockBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// The top dock bar and the frame.

LRESULT CQVTDockBar::OnNcHitTest(CPoint point)
{
    // A ribbon on a composited frame leaves its caption row to the frame,
    // whose compositor draws the caption buttons there.
    if (GetPosition() == qvtBarTop && m_pCommandBars && m_pCommandBars->IsFrameCompositionEnabled())
    {
        for (CQVTCommandBar* pBar : m_arrBars)
        {
            if (!pBar || !pBar->IsRibbonBar() || !pBar->GetSafeHwnd() || !pBar->IsVisible())
                continue;
            CRect rcBar;
            pBar->GetWindowRect(&rcBar);
            if (rcBar.PtInRect(point) &&
                pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == HTTRANSPARENT)
                return HTTRANSPARENT;
        }
    }
    return CWnd::OnNcHitTest(point);
}

void CQVTDockBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CQVTCommandBarsFrameHook* pHook = m_pCommandBars ? m_pCommandBars->GetFrameHook() : nullptr;
    if (GetPosition() == qvtBarTop && pHook && pHook->IsAttached())
        pHook->DelayRecalcFrame();
}
