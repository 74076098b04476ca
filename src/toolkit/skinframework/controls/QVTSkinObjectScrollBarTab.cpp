#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

// The scroll-bar control: laid out and tracked by the frame's scroll-bar
// code with a record of its own.

IMPLEMENT_DYNCREATE(CQVTSkinObjectScrollBar, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectScrollBar, CQVTSkinObjectControl)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectScrollBar::OnScrollCreate)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectScrollBar::OnPrintClient)
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectScrollBar::OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, &CQVTSkinObjectScrollBar::OnScrollButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, &CQVTSkinObjectScrollBar::OnScrollButtonDown)
    ON_MESSAGE(SBM_SETSCROLLINFO, &CQVTSkinObjectScrollBar::OnSetScrollInfo)
    ON_MESSAGE(SBM_GETSCROLLINFO, &CQVTSkinObjectScrollBar::OnGetScrollInfo)
    ON_MESSAGE(SBM_SETPOS, &CQVTSkinObjectScrollBar::OnSetPos)
    ON_MESSAGE(WM_ENABLE, &CQVTSkinObjectScrollBar::OnScrollEnable)
    ON_MESSAGE(WM_SETFOCUS, &CQVTSkinObjectScrollBar::OnScrollSetFocus)
END_MESSAGE_MAP()

CQVTSkinObjectScrollBar::CQVTSkinObjectScrollBar()
{
    m_strClassName = u"SCROLLBAR";
    ZeroMemory(&m_spiCtl, sizeof(m_spiCtl));
    m_spiCtl.nBar = SB_CTL;
    m_spiCtl.fVisible = TRUE;
}

BOOL CQVTSkinObjectScrollBar::IsSizeBox()
{
    return (GetStyle() & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

LRESULT CQVTSkinObjectScrollBar::OnScrollCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnCreate(wParam, lParam);
    m_spiCtl.fVert = (GetStyle() & SBS_VERT) != 0;
    return lResult;
}

void CQVTSkinObjectScrollBar::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (IsSizeBox())
    {
        ::FillRect(pDC->GetSafeHdc(), &rc, GetParentBrush(WM_CTLCOLORSTATIC, pDC->GetSafeHdc()));
        CQVTSkinManagerClass* pClass = GetSkinClass();
        if ((GetStyle() & SBS_SIZEGRIP) && pClass != nullptr)
            pClass->DrawThemeBackground(pDC, 10, 1, rc);
        return;
    }
    m_spiCtl.fVert = (GetStyle() & SBS_VERT) != 0;
    if (m_pSBTrack == nullptr || m_pSBTrack->pSBInfo != &m_spiCtl)
        SetupScrollInfo(&m_spiCtl);
    CQVTSkinManagerSchema* pSchema = GetSchema();
    if (pSchema != nullptr)
        pSchema->DrawThemeScrollBar(pDC, this, &m_spiCtl);
}

void CQVTSkinObjectScrollBar::OnPaint()
{
    if (!IsPartSkinned(1))
    {
        Default();
        return;
    }
    CQVTSkinObjectPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC memDC(dc.GetSafeHdc(), rc);
    OnDraw(&memDC);
}

LRESULT CQVTSkinObjectScrollBar::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam != 0 && IsPartSkinned(1))
    {
        OnDraw(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return 0;
    }
    return Default();
}

void CQVTSkinObjectScrollBar::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    if (IsSizeBox() || !IsPartSkinned(1))
    {
        Default();
        return;
    }
    if (m_pSBTrack == nullptr)
        SetupScrollInfo(&m_spiCtl);
    const int ht = HitTestScrollBar(&m_spiCtl, point);
    if (ht != m_spiCtl.ht)
    {
        m_spiCtl.ht = ht;
        InvalidateClient();
        RequestLeaveNotice();
    }
}

LRESULT CQVTSkinObjectScrollBar::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_spiCtl.ht != qvtSkinScrollNone && m_pSBTrack == nullptr)
    {
        m_spiCtl.ht = qvtSkinScrollNone;
        InvalidateClient();
    }
    return 0;
}

LRESULT CQVTSkinObjectScrollBar::OnScrollButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (IsSizeBox() || !IsPartSkinned(1))
        return Default();
    if (::GetFocus() != m_hWnd && (GetStyle() & WS_TABSTOP))
        ::SetFocus(m_hWnd);
    SetupScrollInfo(&m_spiCtl);
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    TrackInit(point, &m_spiCtl, (wParam & MK_SHIFT) != 0);
    if (::IsWindow(m_hWnd))
        InvalidateClient();
    return 0;
}

LRESULT CQVTSkinObjectScrollBar::OnGetScrollInfo(WPARAM /*wParam*/, LPARAM lParam)
{
    const LRESULT lResult = Default();
    SCROLLINFO* pInfo = reinterpret_cast<SCROLLINFO*>(lParam);
    if (pInfo != nullptr && (pInfo->fMask & SIF_TRACKPOS) && m_pSBTrack != nullptr &&
        m_pSBTrack->pSBInfo == &m_spiCtl && m_pSBTrack->bTrackThumb)
        pInfo->nTrackPos = m_pSBTrack->posNew;
    return lResult;
}

LRESULT CQVTSkinObjectScrollBar::OnSetScrollInfo(WPARAM wParam, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    if (wParam != 0 && ::IsWindowVisible(m_hWnd) && IsPartSkinned(1))
    {
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        CQVTBufferDC memDC(dc.GetSafeHdc(), rc);
        OnDraw(&memDC);
    }
    return lResult;
}

LRESULT CQVTSkinObjectScrollBar::OnSetPos(WPARAM /*wParam*/, LPARAM lParam)
{
    const LRESULT lResult = Default();
    if (lParam != 0 && ::IsWindowVisible(m_hWnd) && IsPartSkinned(1))
    {
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        CQVTBufferDC memDC(dc.GetSafeHdc(), rc);
        OnDraw(&memDC);
    }
    return lResult;
}

LRESULT CQVTSkinObjectScrollBar::OnScrollEnable(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return DefaultInvalidate();
}

LRESULT CQVTSkinObjectScrollBar::OnScrollSetFocus(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // The skinned bar shows no focus: the system's blinking thumb is not drawn.
    return 0;
}

// The tab control.

IMPLEMENT_DYNCREATE(CQVTSkinObjectTab, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectTab, CQVTSkinObjectControl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectTab::OnPrintClient)
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectTab::OnMouseLeave)
END_MESSAGE_MAP()

CQVTSkinObjectTab::CQVTSkinObjectTab()
{
    m_strClassName = u"TAB";
}

CRect CQVTSkinObjectTab::GetTabRowArea()
{
    CRect rc;
    GetClientRect(&rc);
    const DWORD dwStyle = GetStyle();
    const int nSelected = static_cast<int>(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    CRect rcItem(0, 0, 0, 0);
    const int nItem = nSelected >= 0 ? nSelected : 0;
    if (!::SendMessageW(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(nItem),
                        reinterpret_cast<LPARAM>(&rcItem)))
        return CRect(rc.left, rc.top, rc.right, rc.top);
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    const int cyEdge = pMetrics != nullptr ? pMetrics->m_cyEdge : ::GetSystemMetrics(SM_CYEDGE);
    if ((dwStyle & TCS_BOTTOM) && (dwStyle & TCS_VERTICAL))
        rc.left = rcItem.left;
    else if (dwStyle & TCS_VERTICAL)
        rc.right = rcItem.right;
    else if (dwStyle & TCS_BOTTOM)
        rc.top = rcItem.top;
    else
    {
        const int nRows = static_cast<int>(::SendMessageW(m_hWnd, TCM_GETROWCOUNT, 0, 0));
        rc.bottom = (rc.top + rcItem.Height()) * (nRows > 0 ? nRows : 1) + cyEdge;
    }
    return rc;
}

BOOL CQVTSkinObjectTab::OnEraseBkgnd(CDC* pDC)
{
    if (!IsPartSkinned(9))
        return static_cast<BOOL>(Default());
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC memDC(pDC->GetSafeHdc(), rc);
    ::FillRect(memDC.GetSafeHdc(), &rc, GetParentBrush(WM_CTLCOLORSTATIC, memDC.GetSafeHdc()));
    if (!(GetStyle() & TCS_BUTTONS))
    {
        CRect rcPane(rc);
        const CRect rcRow = GetTabRowArea();
        const DWORD dwStyle = GetStyle();
        if ((dwStyle & TCS_BOTTOM) && (dwStyle & TCS_VERTICAL))
            rcPane.right = rcRow.left;
        else if (dwStyle & TCS_VERTICAL)
            rcPane.left = rcRow.right;
        else if (dwStyle & TCS_BOTTOM)
            rcPane.bottom = rcRow.top;
        else
            rcPane.top = rcRow.bottom;
        GetSkinClass()->DrawThemeBackground(&memDC, 9, 1, rcPane);
    }
    return TRUE;
}

void CQVTSkinObjectTab::DrawItem(CDC* pDC, int nItem, int nCount, int nSelected, BOOL bFocusShown)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    CRect rcItem;
    if (pClass == nullptr || !::SendMessageW(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(nItem),
                                             reinterpret_cast<LPARAM>(&rcItem)))
        return;
    const DWORD dwStyle = GetStyle();
    const BOOL bSelected = nItem == nSelected;
    const BOOL bFocused = bSelected && bFocusShown;
    const BOOL bHot = nItem == m_nHotItem;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    int nPart = 1;
    int nState = 1;
    if (dwStyle & TCS_BUTTONS)
    {
        CQVTSkinManagerClass* pButton = GetSchema() != nullptr ? GetSchema()->GetClass(u"BUTTON") : nullptr;
        nPart = 1;
        nState = bSelected ? 3 : 1;
        if (pButton != nullptr)
            pButton->DrawThemeBackground(pDC, nPart, nState, rcItem);
    }
    else
    {
        if (bSelected)
            rcItem.InflateRect(2, 2);
        nPart = QVTSkinTabItemPart(nItem, nCount, bSelected, bFocused);
        nState = QVTSkinTabItemState(bFocused, bSelected, bHot);
        pClass->DrawThemeBackground(pDC, nPart, nState, rcItem);
    }
    if (dwStyle & TCS_OWNERDRAWFIXED)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_TAB;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
        dis.itemID = static_cast<UINT>(nItem);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = bSelected ? ODS_SELECTED : 0;
        dis.hwndItem = m_hWnd;
        dis.hDC = pDC->GetSafeHdc();
        dis.rcItem = rcItem;
        ::SendMessageW(::GetParent(m_hWnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    const int cxEdge = pMetrics != nullptr ? pMetrics->m_cxEdge : ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = pMetrics != nullptr ? pMetrics->m_cyEdge : ::GetSystemMetrics(SM_CYEDGE);
    CString strText;
    int nImage = -1;
    QVTSkinGetTabItem(m_hWnd, nItem, &strText, &nImage);
    CRect rcText(rcItem);
    const BOOL bVertical = (dwStyle & TCS_VERTICAL) != 0;
    HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TCM_GETIMAGELIST, 0, 0));
    if (hImages != nullptr && nImage >= 0)
    {
        int cx = 0;
        int cy = 0;
        ::ImageList_GetIconSize(hImages, &cx, &cy);
        int x = rcItem.left + 2 * cxEdge;
        int y = rcItem.top + ((dwStyle & TCS_BOTTOM) ? pDpi->ScaleY(1) : cyEdge);
        if (bVertical)
        {
            x = rcItem.left + ((dwStyle & TCS_BOTTOM) ? pDpi->ScaleX(1) : cxEdge);
            y = rcItem.top + 2 * cyEdge;
            rcText.top = y + cy + cyEdge;
        }
        else
            rcText.left = x + cx + cxEdge;
        ::ImageList_Draw(hImages, nImage, pDC->GetSafeHdc(), x, y, ILD_TRANSPARENT);
    }
    if (strText.IsEmpty())
        return;
    UINT nFormat = DT_SINGLELINE | DT_NOCLIP;
    if (!bVertical)
    {
        nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
        if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
            nFormat |= DT_HIDEPREFIX;
        if (dwStyle & TCS_BUTTONS)
        {
            if (!bSelected)
                rcText.OffsetRect(0, -pDpi->ScaleY(1));
        }
        else
        {
            rcText.OffsetRect(0, bSelected ? -pDpi->ScaleY(2) : pDpi->ScaleY(1));
            if (nItem == 0)
                rcText.right -= pDpi->ScaleX(3);
        }
    }
    else
        nFormat |= DT_CENTER | DT_VCENTER;
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
    pClass->DrawThemeText(pDC, nPart, nState, strText, nFormat, rcText);
    if (bFocused)
    {
        CRect rcFocus(rcItem);
        rcFocus.DeflateRect(cxEdge / 2 + 1, cyEdge / 2 + 1);
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->DrawFocusRect(rcFocus);
    }
}

void CQVTSkinObjectTab::DrawItems(CDC* pDC)
{
    const int nCount = static_cast<int>(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    const int nSelected = static_cast<int>(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    const BOOL bFocusShown =
        ::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), hFont) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < nCount; ++i)
    {
        CRect rcItem;
        CRect rcTest;
        if (i == nSelected ||
            !::SendMessageW(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&rcItem)) ||
            !rcTest.IntersectRect(rcItem, rcClip))
            continue;
        DrawItem(pDC, i, nCount, nSelected, bFocusShown);
    }
    if (nSelected >= 0 && nSelected < nCount)
        DrawItem(pDC, nSelected, nCount, nSelected, bFocusShown);
    if (hOldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);
}

void CQVTSkinObjectTab::OnPaint()
{
    if (!IsPartSkinned(9))
    {
        Default();
        return;
    }
    const MSG* pMsg = GetCurrentMessage();
    const BOOL bGivenDC = pMsg != nullptr && pMsg->wParam != 0;
    CQVTSkinObjectPaintDC dc(this);
    CRect rcRow = GetTabRowArea();
    const DWORD dwStyle = GetStyle();
    const int nGrow = QVTDpiScaler()->ScaleY(2);
    if ((dwStyle & TCS_BOTTOM) && (dwStyle & TCS_VERTICAL))
        rcRow.left -= nGrow;
    else if (dwStyle & TCS_VERTICAL)
        rcRow.right += nGrow;
    else if (dwStyle & TCS_BOTTOM)
        rcRow.top -= nGrow;
    else
        rcRow.bottom += nGrow;
    CRect rcClient;
    GetClientRect(&rcClient);
    rcRow.IntersectRect(rcRow, rcClient);
    if (bGivenDC)
        OnEraseBkgnd(&dc);
    CQVTBufferDC memDC(dc.GetSafeHdc(), rcRow);
    // The buffer starts from what lies on the target (the pane's edge).
    memDC.BitBlt(rcRow.left, rcRow.top, rcRow.Width(), rcRow.Height(), &dc, rcRow.left, rcRow.top, SRCCOPY);
    DrawItems(&memDC);
}

LRESULT CQVTSkinObjectTab::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam == 0 || !IsPartSkinned(9))
        return Default();
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    OnEraseBkgnd(pDC);
    DrawItems(pDC);
    return 0;
}

void CQVTSkinObjectTab::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    int nHot = -1;
    const int nCount = static_cast<int>(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nCount && nHot == -1; ++i)
    {
        CRect rcItem;
        if (::SendMessageW(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&rcItem)) &&
            rcItem.PtInRect(point))
            nHot = i;
    }
    if (nHot != m_nHotItem)
    {
        m_nHotItem = nHot;
        CRect rcRow = GetTabRowArea();
        rcRow.bottom += 2;
        ::InvalidateRect(m_hWnd, rcRow, FALSE);
        RequestLeaveNotice();
    }
    Default();
}

LRESULT CQVTSkinObjectTab::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_nHotItem != -1)
    {
        m_nHotItem = -1;
        CRect rcRow = GetTabRowArea();
        rcRow.bottom += 2;
        ::InvalidateRect(m_hWnd, rcRow, FALSE);
    }
    return Default();
}
