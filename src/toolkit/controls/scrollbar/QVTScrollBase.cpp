#include "toolkit/controls/scrollbar/QVTScrollBase.h"

#include <algorithm>

#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

namespace {
// The range as the divisions use it: max - min + 1, at most 0x7FFFFFFF.
int RangeOf(const QVT_SCROLLBAR_POSINFO& spi)
{
    LONGLONG range = static_cast<LONGLONG>(spi.posMax) - spi.posMin + 1;
    return static_cast<int>(std::min<LONGLONG>(std::max<LONGLONG>(range, 0), 0x7FFFFFFF));
}

// MulDiv over 64 bits: position differences of the widest ranges do not fit
// an int.
int MulDiv64(LONGLONG nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const LONGLONG nProduct = nNumber * nNumerator;
    const BOOL bNegative = (nProduct < 0) != (nDenominator < 0);
    const LONGLONG nAbsProduct = nProduct < 0 ? -nProduct : nProduct;
    const LONGLONG nAbsDenominator = nDenominator < 0 ? -static_cast<LONGLONG>(nDenominator) : nDenominator;
    // Rounded half away from zero, as MulDiv rounds.
    const LONGLONG nQuotient = (nAbsProduct + nAbsDenominator / 2) / nAbsDenominator;
    const LONGLONG nResult = bNegative ? -nQuotient : nQuotient;
    return static_cast<int>(std::max<LONGLONG>(INT_MIN, std::min<LONGLONG>(INT_MAX, nResult)));
}

BOOL IsLeftButtonDown()
{
    const int nButton = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (::GetKeyState(nButton) & 0x8000) != 0;
}
}  // namespace

CQVTScrollBase::CQVTScrollBase()
    : m_spi(), m_nHotPart(0), m_nThemeStyle(0), m_bAnimating(FALSE), m_nRepeatInterval(0),
      m_bTrackingEnded(FALSE)
{
}

CQVTScrollBase::~CQVTScrollBase() {}

void CQVTScrollBase::CalcScrollBarInfo(LPRECT lprc, QVT_SCROLLBAR_POSINFO* pSBInfo, SCROLLINFO* pSI)
{
    if (!lprc || !pSBInfo || !pSI)
        return;
    pSBInfo->pxPopup = 0;
    pSBInfo->rc = *lprc;

    CQVTScrollBarPaintManager* pTheme = GetScrollBarPaintManager();
    if (pSBInfo->fVert)
    {
        pSBInfo->pxTop = lprc->top;
        pSBInfo->pxBottom = lprc->bottom;
        pSBInfo->pxLeft = lprc->left;
        pSBInfo->pxRight = lprc->right;
        pSBInfo->cpxThumb = pTheme ? pTheme->m_cyVScroll : ::GetSystemMetrics(SM_CYVSCROLL);
    }
    else
    {
        pSBInfo->pxTop = lprc->left;
        pSBInfo->pxBottom = lprc->right;
        pSBInfo->pxLeft = lprc->top;
        pSBInfo->pxRight = lprc->bottom;
        pSBInfo->cpxThumb = pTheme ? pTheme->m_cxHScroll : ::GetSystemMetrics(SM_CXHSCROLL);
    }

    pSBInfo->posMin = pSI->nMin;
    pSBInfo->posMax = pSI->nMax;
    pSBInfo->page = pSI->nPage < 0x80000000u ? static_cast<int>(pSI->nPage) : 0;
    pSBInfo->pos = std::max(std::min(pSI->nPos, pSBInfo->posMax), pSBInfo->posMin);

    const int nRange = RangeOf(*pSBInfo);
    const int cpxArrow = std::min((pSBInfo->pxBottom - pSBInfo->pxTop) / 2, pSBInfo->cpxThumb);
    pSBInfo->pxUpArrow = pSBInfo->pxTop + cpxArrow;
    pSBInfo->pxDownArrow = pSBInfo->pxBottom - cpxArrow;

    if (pSBInfo->page && nRange)
        pSBInfo->cpxThumb =
            std::max(::MulDiv(pSBInfo->pxDownArrow - pSBInfo->pxUpArrow, pSBInfo->page, nRange),
                     pSBInfo->cpxThumb / 2);
    const int nFixedThumb = pTheme ? pTheme->m_nThumbSize : 0;
    if (nFixedThumb > 0)
        pSBInfo->cpxThumb = nFixedThumb;

    pSBInfo->pxStart = pSBInfo->pxTop + cpxArrow;
    pSBInfo->cxy = pSBInfo->pxBottom - pSBInfo->pxStart - cpxArrow - pSBInfo->cpxThumb;

    const int nPage = std::max(pSBInfo->page, 1);
    if (nRange != nPage)
        pSBInfo->pxThumbTop =
            pSBInfo->pxStart +
            MulDiv64(static_cast<LONGLONG>(pSBInfo->pos) - pSBInfo->posMin, pSBInfo->cxy, nRange - nPage);
    else
        pSBInfo->pxThumbTop = pSBInfo->pxStart - 1;
    pSBInfo->pxThumbBottom = pSBInfo->pxThumbTop + pSBInfo->cpxThumb;
}

void CQVTScrollBase::UpdateScrollBarInfo()
{
    CRect rc;
    GetScrollBarRect(rc);
    SCROLLINFO si = {};
    si.cbSize = sizeof(SCROLLINFO);
    si.fMask = SIF_ALL | SIF_TRACKPOS;
    GetScrollInfo(&si);
    CalcScrollBarInfo(&rc, &m_spi, &si);
}

int CQVTScrollBase::HitTestScrollBar(POINT pt) const
{
    if (m_spi.fSizebox || !::PtInRect(&m_spi.rc, pt))
        return qvtScrollHitNone;
    const int c = m_spi.fVert ? pt.y : pt.x;
    if (c < m_spi.pxUpArrow)
        return qvtScrollHitUpArrow;
    if (m_spi.pxPopup >= 1 && c > m_spi.pxPopup)
        return qvtScrollHitBeyondTrack;
    if (c >= m_spi.pxDownArrow)
        return qvtScrollHitDownArrow;
    if (c < m_spi.pxThumbTop)
        return qvtScrollHitPageUp;
    if (c < m_spi.pxThumbBottom)
        return qvtScrollHitThumb;
    return qvtScrollHitPageDown;
}

int CQVTScrollBase::GetPressedPart() const
{
    if (!m_pSBTrack)
        return 0;
    if (m_pSBTrack->bTrackThumb)
        return qvtScrollHitThumb;
    return m_pSBTrack->fHitOld ? m_spi.ht : 0;
}

int CQVTScrollBase::PixelToPosition(int px) const
{
    const int nRange = RangeOf(m_spi);
    if (px < m_spi.pxStart)
        return m_spi.posMin;
    if (px >= m_spi.pxStart + m_spi.cxy)
        return m_spi.page ? m_spi.posMax - (m_spi.page - 1) : m_spi.posMax;
    if (m_spi.cxy == 0)
        return m_spi.posMin - 1;
    const LONGLONG nPos = static_cast<LONGLONG>(m_spi.posMin) +
                          MulDiv64(px - m_spi.pxStart, nRange - std::max(m_spi.page, 1), m_spi.cxy);
    return static_cast<int>(std::min<LONGLONG>(nPos, m_spi.posMax));
}

CRect CQVTScrollBase::GetPartRect(int ht) const
{
    int nFrom = 0, nTo = 0;
    switch (ht)
    {
    case qvtScrollHitUpArrow:
        nFrom = m_spi.pxTop, nTo = m_spi.pxUpArrow;
        break;
    case qvtScrollHitDownArrow:
        nFrom = m_spi.pxDownArrow, nTo = m_spi.pxBottom;
        break;
    case qvtScrollHitPageUp:
        nFrom = m_spi.pxUpArrow, nTo = m_spi.pxThumbTop;
        break;
    case qvtScrollHitPageDown:
        nFrom = m_spi.pxThumbBottom, nTo = m_spi.pxDownArrow;
        break;
    case qvtScrollHitThumb:
        nFrom = m_spi.pxThumbTop, nTo = m_spi.pxThumbBottom;
        break;
    default:
        return CRect(0, 0, 0, 0);
    }
    if (m_spi.fVert)
        return CRect(m_spi.pxLeft, nFrom, m_spi.pxRight, nTo);
    return CRect(nFrom, m_spi.pxLeft, nTo, m_spi.pxRight);
}

void CQVTScrollBase::CalcTrackDragRect(QVT_SCROLLBAR_TRACKINFO* pSBTrack, CRect& rc) const
{
    const QVT_SCROLLBAR_POSINFO* pSBInfo = pSBTrack->pSBInfo;
    const int cxAcross = (pSBInfo->pxRight - pSBInfo->pxLeft) * 8;
    const int cyAlong = ::GetSystemMetrics(pSBInfo->fVert ? SM_CYVTHUMB : SM_CXHTHUMB) * 2;
    if (pSBInfo->fVert)
        rc.SetRect(pSBInfo->pxLeft - cxAcross, pSBInfo->pxTop - cyAlong, pSBInfo->pxRight + cxAcross,
                   pSBInfo->pxBottom + cyAlong);
    else
        rc.SetRect(pSBInfo->pxTop - cyAlong, pSBInfo->pxLeft - cxAcross, pSBInfo->pxBottom + cyAlong,
                   pSBInfo->pxRight + cxAcross);
}

void CQVTScrollBase::StartRepeatTimer(UINT nInterval)
{
    m_nRepeatInterval = static_cast<int>(nInterval);
    m_pSBTrack->hTimerSB = ::SetTimer(m_pSBTrack->hWndTrack, TIMER_SCROLL_REPEAT, nInterval, nullptr);
}

void CQVTScrollBase::TrackScrollBar(CWnd* pWnd, CPoint point, QVT_SCROLLBAR_POSINFO* pSBInfo, BOOL bDirect)
{
    if (!pWnd || !pWnd->GetSafeHwnd() || !pSBInfo || m_pSBTrack || !IsEnabled())
        return;
    if (pSBInfo != &m_spi)
        m_spi = *pSBInfo;

    const int ht = HitTestScrollBar(point);
    if (ht < qvtScrollHitUpArrow || ht > qvtScrollHitThumb)
        return;

    auto pTrack = std::make_unique<QVT_SCROLLBAR_TRACKINFO>();
    *pTrack = {};
    pTrack->hWndTrack = pWnd->GetSafeHwnd();
    pTrack->pSBInfo = &m_spi;
    pTrack->cmdSB = static_cast<UINT>(ht == qvtScrollHitThumb ? SB_THUMBPOSITION : ht - qvtScrollHitUpArrow);
    pTrack->rcTrack = GetPartRect(ht);
    pTrack->posOld = m_spi.pos;
    pTrack->pxOld = m_spi.pxThumbTop;
    m_spi.ht = ht;

    const int c = m_spi.fVert ? point.y : point.x;
    const HWND hWnd = pTrack->hWndTrack;
    const BOOL bPage = ht == qvtScrollHitPageUp || ht == qvtScrollHitPageDown;
    if (ht == qvtScrollHitThumb || (bPage && bDirect))
    {
        // A thumb no shorter than the track cannot move.
        if (m_spi.pxDownArrow - m_spi.pxUpArrow <= m_spi.cpxThumb)
            return;
        pTrack->cmdSB = SB_THUMBPOSITION;
        pTrack->bTrackThumb = TRUE;
        pTrack->dpxThumb = ht == qvtScrollHitThumb ? m_spi.pxThumbTop - c : -m_spi.cpxThumb / 2;
        pTrack->pxStartDrag = m_spi.pxThumbTop;
        pTrack->posStartDrag = m_spi.pos;
        m_pSBTrack = std::move(pTrack);
        m_bTrackingEnded = FALSE;
        ::SetCapture(hWnd);
        int nPos = m_spi.pos;
        if (ht != qvtScrollHitThumb)
        {
            const int px =
                std::max(m_spi.pxStart, std::min(c + m_pSBTrack->dpxThumb, m_spi.pxStart + m_spi.cxy));
            nPos = PixelToPosition(px);
            m_pSBTrack->pxOld = px;
            m_spi.pxThumbTop = px;
            m_spi.pxThumbBottom = px + m_spi.cpxThumb;
        }
        m_pSBTrack->posOld = m_pSBTrack->posNew = nPos;
        DoScroll(SB_THUMBTRACK, nPos);
        RedrawScrollBar();
    }
    else
    {
        m_pSBTrack = std::move(pTrack);
        m_bTrackingEnded = FALSE;
        ::SetCapture(hWnd);
        OnPressMessage(WM_LBUTTONDOWN, point);
    }

    if (m_pSBTrack && !m_bTrackingEnded)
        RunTrackingLoop(hWnd);
    if (m_pSBTrack && !m_bTrackingEnded)
        EndTracking();

    if (::IsWindow(hWnd))
    {
        ::KillTimer(hWnd, TIMER_SCROLL_REPEAT);
        m_pSBTrack.reset();
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        ::ScreenToClient(hWnd, &ptCursor);
        m_nHotPart = HitTestScrollBar(ptCursor);
        RedrawScrollBar();
        while (m_bAnimating && ::IsWindow(hWnd))
        {
            MSG msg;
            if (!::GetMessage(&msg, nullptr, 0, 0))
            {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == TIMER_SCROLL_ANIMATION)
                OnAnimationTimer();
            else
            {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
    }
    else
        m_pSBTrack.reset();
}

void CQVTScrollBase::RunTrackingLoop(HWND hWnd)
{
    while (m_pSBTrack && !m_bTrackingEnded && ::GetCapture() == hWnd)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsWindow(hWnd))
            break;
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == TIMER_SCROLL_REPEAT)
            OnRepeatTimer();
        else if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == TIMER_SCROLL_ANIMATION)
            OnAnimationTimer();
        else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_XBUTTONDBLCLK)
        {
            CPoint point(msg.pt);
            ::ScreenToClient(hWnd, &point);
            if (m_pSBTrack->bTrackThumb)
                OnDragMessage(msg.message, msg.wParam, point);
            else
                OnPressMessage(msg.message, point);
        }
        else
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
}

void CQVTScrollBase::OnPressMessage(UINT message, CPoint point)
{
    if (message != WM_LBUTTONDOWN && message != WM_MOUSEMOVE && message != WM_LBUTTONUP)
        return;
    QVT_SCROLLBAR_TRACKINFO* pTrack = m_pSBTrack.get();

    // The inner edge of a page area follows the moving thumb.
    CRect rcPart(pTrack->rcTrack);
    if (pTrack->cmdSB == SB_PAGEUP || pTrack->cmdSB == SB_PAGEDOWN)
    {
        const int nEdge = pTrack->cmdSB == SB_PAGEUP ? m_spi.pxThumbTop : m_spi.pxThumbBottom;
        LONG& edge = m_spi.fVert ? (pTrack->cmdSB == SB_PAGEUP ? rcPart.bottom : rcPart.top)
                                 : (pTrack->cmdSB == SB_PAGEUP ? rcPart.right : rcPart.left);
        edge = nEdge;
        pTrack->rcTrack = rcPart;
    }

    const BOOL bHit = rcPart.PtInRect(point);
    if (bHit != pTrack->fHitOld)
    {
        pTrack->fHitOld = bHit;
        RedrawScrollBar();
        if (bHit)
        {
            DoScroll(static_cast<int>(pTrack->cmdSB), 0);
            if (m_pSBTrack)
                StartRepeatTimer(message == WM_LBUTTONDOWN ? ::GetDoubleClickTime() * 4 / 5
                                                           : ::GetDoubleClickTime() / 10);
        }
    }
    if (message == WM_LBUTTONUP && m_pSBTrack)
        EndTracking();
}

void CQVTScrollBase::OnRepeatTimer()
{
    QVT_SCROLLBAR_TRACKINFO* pTrack = m_pSBTrack.get();
    if (!pTrack || pTrack->bTrackThumb)
        return;
    // The owner may have moved the thumb meanwhile.
    UpdateScrollBarInfo();
    const BOOL bWasPressed = pTrack->fHitOld;
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(pTrack->hWndTrack, &point);
    OnPressMessage(WM_MOUSEMOVE, point);
    if (!m_pSBTrack || m_bTrackingEnded)
        return;
    if (bWasPressed && pTrack->fHitOld)
    {
        StartRepeatTimer(::GetDoubleClickTime() / 10);
        DoScroll(static_cast<int>(pTrack->cmdSB), 0);
    }
    else if (!pTrack->fHitOld)
        ::KillTimer(pTrack->hWndTrack, TIMER_SCROLL_REPEAT);
}

void CQVTScrollBase::OnDragMessage(UINT message, WPARAM wParam, CPoint point)
{
    QVT_SCROLLBAR_TRACKINFO* pTrack = m_pSBTrack.get();
    if (message == WM_LBUTTONUP || !(IsLeftButtonDown() || (wParam & MK_LBUTTON)))
    {
        EndTracking();
        return;
    }
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN)
        return;

    CRect rcDrag;
    CalcTrackDragRect(pTrack, rcDrag);
    const CQVTScrollBarPaintManager* pTheme = GetScrollBarPaintManager();
    int px;
    if (rcDrag.PtInRect(point) || (pTheme && pTheme->m_nThumbSize > 0))
    {
        const int c = m_spi.fVert ? point.y : point.x;
        px = std::max(m_spi.pxStart, std::min(c + pTrack->dpxThumb, m_spi.pxStart + m_spi.cxy));
    }
    else
        px = pTrack->pxStartDrag;

    if (px == pTrack->pxOld)
        return;
    const int nPos = px == pTrack->pxStartDrag ? pTrack->posStartDrag : PixelToPosition(px);
    pTrack->pxOld = px;
    m_spi.pxThumbTop = px;
    m_spi.pxThumbBottom = px + m_spi.cpxThumb;
    if (nPos != pTrack->posOld)
    {
        pTrack->posOld = pTrack->posNew = nPos;
        DoScroll(SB_THUMBTRACK, nPos);
    }
    if (m_pSBTrack)
        RedrawScrollBar();
}

void CQVTScrollBase::EndTracking()
{
    QVT_SCROLLBAR_TRACKINFO* pTrack = m_pSBTrack.get();
    if (!pTrack || m_bTrackingEnded)
        return;
    m_bTrackingEnded = TRUE;
    pTrack->fHitOld = FALSE;
    const HWND hWnd = pTrack->hWndTrack;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (pTrack->bTrackThumb)
    {
        DoScroll(SB_THUMBPOSITION, pTrack->posOld);
        RedrawScrollBar();
    }
    else
        ::KillTimer(hWnd, TIMER_SCROLL_REPEAT);
    DoScroll(SB_ENDSCROLL, 0);
}
