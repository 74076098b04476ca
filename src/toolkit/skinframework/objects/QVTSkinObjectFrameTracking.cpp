// The frame's modal loops: a pressed caption button, and a pressed scroll
// bar with its auto-repeat and thumb drag. Each holds a reference to the
// frame, so a window destroyed inside ends the loop through the lost
// capture instead of freeing the object that runs it.
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"

namespace {
CPoint SkinFrameTrackPoint(LPARAM lParam)
{
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

class SkinFrameTrackHold
{
public:
    explicit SkinFrameTrackHold(CQVTSkinObjectFrame* pFrame) : m_pFrame(pFrame)
    {
        m_pFrame->InternalAddRef();
    }
    ~SkinFrameTrackHold() { m_pFrame->InternalRelease(); }
    SkinFrameTrackHold(const SkinFrameTrackHold&) = delete;
    SkinFrameTrackHold& operator=(const SkinFrameTrackHold&) = delete;

private:
    CQVTSkinObjectFrame* m_pFrame;
};

// A message of a loop: FALSE when the loop must end (WM_QUIT is posted
// again for the application's own loop).
BOOL SkinFrameTrackGetMessage(MSG* pMsg)
{
    const BOOL bResult = ::GetMessageW(pMsg, nullptr, 0, 0);
    if (bResult == 0)
        ::PostQuitMessage(static_cast<int>(pMsg->wParam));
    return bResult > 0;
}
}  // namespace

void CQVTSkinObjectFrame::TrackCaptionButton()
{
    if (m_pButtonHot == nullptr || !IsWindowAlive())
        return;
    SkinFrameTrackHold hold(this);
    HWND hWnd = m_hWnd;
    const UINT nHitCode = m_pButtonHot->m_nHTCode;
    const UINT nCommand = m_pButtonHot->m_nCommand;
    // Found again at each step: a style change inside the loop rebuilds
    // the buttons.
    auto tracked = [this, nHitCode]() -> CCaptionButton* {
        for (const auto& pButton : m_arrButtons)
            if (pButton->m_nHTCode == nHitCode)
                return pButton.get();
        return nullptr;
    };
    m_pButtonPressed = m_pButtonHot;
    RedrawFrame();
    ::SetCapture(hWnd);
    BOOL bClicked = FALSE;
    while (::GetCapture() == hWnd)
    {
        MSG msg;
        if (!SkinFrameTrackGetMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP)
        {
            CCaptionButton* pTracked = tracked();
            bClicked = pTracked != nullptr && m_pButtonPressed == pTracked;
            break;
        }
        if (msg.message == WM_NCMOUSELEAVE)
            continue;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWnd)
        {
            CPoint pt = SkinFrameTrackPoint(msg.lParam);
            ClientToFrame(&pt);
            CCaptionButton* pTracked = tracked();
            CCaptionButton* pPressed = pTracked != nullptr && pTracked->HitTest(pt) ? pTracked : nullptr;
            if (pPressed != m_pButtonPressed)
            {
                m_pButtonPressed = pPressed;
                RedrawFrame();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    m_pButtonHot = nullptr;
    m_pButtonPressed = nullptr;
    if (!IsWindowAlive())
        return;
    RedrawFrame();
    if (bClicked)
        ::SendMessageW(hWnd, WM_SYSCOMMAND, nCommand, static_cast<LPARAM>(::GetMessagePos()));
}

void CQVTSkinObjectFrame::TrackInit(CPoint ptHitTest, SCROLLBARPOSINFO* pSBInfo, BOOL bDirect)
{
    if (m_pSBTrack != nullptr || !IsWindowAlive())
        return;
    const int ht = HitTestScrollBar(pSBInfo, ptHitTest);
    if (ht == qvtSkinScrollNone)
        return;
    SkinFrameTrackHold hold(this);
    HWND hWnd = m_hWnd;
    SCROLLBARTRACKINFO track;
    ZeroMemory(&track, sizeof(track));
    track.nBar = pSBInfo->nBar;
    track.fNonClient = pSBInfo->nBar != SB_CTL;
    track.hWndSB = pSBInfo->nBar == SB_CTL ? hWnd : nullptr;
    track.hWndTrack = pSBInfo->nBar == SB_CTL ? ::GetParent(hWnd) : hWnd;
    track.fTrackVert = pSBInfo->fVert;
    track.pSBInfo = pSBInfo;
    track.posStart = pSBInfo->pos;
    switch (ht)
    {
    case qvtSkinScrollFirstArrow:
        track.cmdSB = SB_LINEUP;
        break;
    case qvtSkinScrollSecondArrow:
        track.cmdSB = SB_LINEDOWN;
        break;
    case qvtSkinScrollPageBefore:
        track.cmdSB = SB_PAGEUP;
        break;
    case qvtSkinScrollPageAfter:
        track.cmdSB = SB_PAGEDOWN;
        break;
    default:
        track.cmdSB = SB_THUMBTRACK;
        break;
    }
    const CRect rcPart = GetPartRect(pSBInfo, ht);
    track.rcTrack = rcPart;
    m_pSBTrack = &track;
    pSBInfo->ht = ht;

    const int pxMouse = pSBInfo->fVert ? ptHitTest.y : ptHitTest.x;
    if (ht == qvtSkinScrollThumb ||
        (bDirect && (ht == qvtSkinScrollPageBefore || ht == qvtSkinScrollPageAfter)))
    {
        if (pSBInfo->pxDownArrow - pSBInfo->pxUpArrow <= pSBInfo->cpxThumb)
        {
            // No room for the thumb: nothing to drag.
            pSBInfo->ht = qvtSkinScrollNone;
            m_pSBTrack = nullptr;
            return;
        }
        CRect rcTolerance(pSBInfo->rc);
        const int nThickness = pSBInfo->pxRight - pSBInfo->pxLeft;
        if (pSBInfo->fVert)
            rcTolerance.InflateRect(8 * nThickness, 2 * ::GetSystemMetrics(SM_CYVTHUMB));
        else
            rcTolerance.InflateRect(2 * ::GetSystemMetrics(SM_CXHTHUMB), 8 * nThickness);
        track.rcTrack = rcTolerance;
        track.bTrackThumb = TRUE;
        track.cmdSB = SB_THUMBTRACK;
        track.dpxThumb = ht == qvtSkinScrollThumb ? pSBInfo->pxThumbTop - pxMouse : -pSBInfo->cpxThumb / 2;
        pSBInfo->pxStart = pSBInfo->pxThumbTop;
        track.pxOld = pSBInfo->pxThumbTop;
        track.posOld = track.posNew = pSBInfo->pos;
        pSBInfo->ht = qvtSkinScrollThumb;
        DoScroll(SB_THUMBTRACK, track.posOld);
    }

    if (IsWindowAlive() && track.hWndTrack != nullptr)
    {
        ::SetCapture(hWnd);
        TrackMessage(WM_LBUTTONDOWN, ptHitTest);
    }
    while (IsWindowAlive() && ::GetCapture() == hWnd && track.hWndTrack != nullptr)
    {
        MSG msg;
        if (!SkinFrameTrackGetMessage(&msg))
            break;
        if (msg.message == WM_TIMER && msg.wParam == qvtSkinFrameRepeatTimer && msg.hwnd == hWnd)
        {
            ContScroll();
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.hwnd == hWnd)
        {
            CPoint pt = SkinFrameTrackPoint(msg.lParam);
            if (msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL)
                ::ScreenToClient(hWnd, &pt);
            if (track.fNonClient)
                ClientToFrame(&pt);
            TrackMessage(msg.message, pt);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    // Ended by a lost capture, a destroyed window or WM_QUIT: the target
    // still hears the end of the scroll.
    if (track.hWndTrack != nullptr)
        EndScroll(TRUE);
    if (IsWindowAlive())
        ::KillTimer(hWnd, qvtSkinFrameRepeatTimer);
    pSBInfo->ht = qvtSkinScrollNone;
    m_pSBTrack = nullptr;
    if (IsWindowAlive())
        RedrawScrollBar(pSBInfo->nBar);
}

void CQVTSkinObjectFrame::TrackMessage(UINT message, CPoint point)
{
    if (m_pSBTrack == nullptr)
        return;
    if (m_pSBTrack->bTrackThumb)
        TrackThumb(message, point);
    else
        TrackBox(message, point);
}

void CQVTSkinObjectFrame::TrackBox(UINT message, CPoint point)
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    if (message == WM_LBUTTONUP)
    {
        EndScroll(FALSE);
        return;
    }
    if (message != WM_LBUTTONDOWN && message != WM_MOUSEMOVE && message != WM_TIMER)
        return;
    SCROLLBARPOSINFO* pSBInfo = pTrack->pSBInfo;
    if (pTrack->cmdSB == SB_PAGEUP || pTrack->cmdSB == SB_PAGEDOWN)
    {
        // The page areas follow the thumb the scrolling moved.
        if (IsWindowAlive())
            SetupScrollInfo(pSBInfo);
        pTrack->rcTrack = GetPartRect(pSBInfo, pTrack->cmdSB == SB_PAGEUP ? qvtSkinScrollPageBefore
                                                                          : qvtSkinScrollPageAfter);
    }
    const BOOL bHit = ::PtInRect(&pTrack->rcTrack, point);
    if (bHit == pTrack->fHitOld)
        return;
    pTrack->fHitOld = bHit;
    RedrawTrackedBar();
    if (!bHit || message == WM_TIMER)
        return;
    const UINT nDelay =
        message == WM_LBUTTONDOWN ? ::GetDoubleClickTime() * 4 / 5 : ::GetDoubleClickTime() / 10;
    pTrack->hTimerSB = s_pfnSetTimer(m_hWnd, qvtSkinFrameRepeatTimer, nDelay, nullptr);
    DoScroll(pTrack->cmdSB, 0);
}

void CQVTSkinObjectFrame::ContScroll()
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    if (pTrack == nullptr || pTrack->bTrackThumb || !IsWindowAlive())
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    if (pTrack->fNonClient)
        ScreenToFrame(&pt);
    else
        ::ScreenToClient(m_hWnd, &pt);
    TrackBox(WM_TIMER, pt);
    if (m_pSBTrack == nullptr || pTrack->hWndTrack == nullptr || !IsWindowAlive())
        return;
    if (!pTrack->fHitOld)
    {
        ::KillTimer(m_hWnd, qvtSkinFrameRepeatTimer);
        pTrack->hTimerSB = 0;
        return;
    }
    pTrack->hTimerSB = s_pfnSetTimer(m_hWnd, qvtSkinFrameRepeatTimer, ::GetDoubleClickTime() / 10, nullptr);
    DoScroll(pTrack->cmdSB, 0);
}

void CQVTSkinObjectFrame::TrackThumb(UINT message, CPoint point)
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    if (message < WM_MOUSEFIRST || message > WM_MOUSELAST)
        return;
    if (message == WM_LBUTTONUP || (message != WM_LBUTTONDOWN && ::GetKeyState(VK_LBUTTON) >= 0))
    {
        EndScroll(FALSE);
        return;
    }
    SCROLLBARPOSINFO* pSBInfo = pTrack->pSBInfo;
    int px = pSBInfo->pxStart;
    if (::PtInRect(&pTrack->rcTrack, point))
    {
        const int pxMouse = pSBInfo->fVert ? point.y : point.x;
        px =
            std::min(std::max(pxMouse + pTrack->dpxThumb, pSBInfo->pxMin), pSBInfo->pxMin + pSBInfo->pxPopup);
    }
    if (px != pTrack->pxOld)
        MoveThumb(px);
}

void CQVTSkinObjectFrame::MoveThumb(int px)
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    SCROLLBARPOSINFO* pSBInfo = pTrack->pSBInfo;
    // Back at the start, the position the drag began with.
    const int nPos = px == pSBInfo->pxStart ? pTrack->posStart : PixelToScrollPos(pSBInfo, px);
    pTrack->pxOld = px;
    pSBInfo->pxThumbTop = px;
    pSBInfo->pxThumbBottom = px + pSBInfo->cpxThumb;
    if (nPos != pTrack->posOld)
    {
        // Only the new position: one message per move, whatever the range.
        pTrack->posOld = pTrack->posNew = nPos;
        DoScroll(SB_THUMBTRACK, nPos);
    }
    RedrawTrackedBar();
}

void CQVTSkinObjectFrame::RedrawTrackedBar()
{
    if (m_pSBTrack != nullptr && IsWindowAlive())
        RedrawScrollBar(m_pSBTrack->pSBInfo->nBar);
}

void CQVTSkinObjectFrame::EndScroll(BOOL bCancel)
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    if (pTrack == nullptr || pTrack->hWndTrack == nullptr)
        return;
    if (IsWindowAlive() && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (pTrack->bTrackThumb)
    {
        int nPos = pTrack->posOld;
        if (bCancel && IsWindowAlive())
        {
            SCROLLINFO si = {sizeof(SCROLLINFO), SIF_POS};
            if (::GetScrollInfo(m_hWnd, pTrack->nBar, &si))
                nPos = si.nPos;
        }
        DoScroll(SB_THUMBPOSITION, nPos);
        RedrawTrackedBar();
    }
    else if (IsWindowAlive())
    {
        ::KillTimer(m_hWnd, qvtSkinFrameRepeatTimer);
        pTrack->hTimerSB = 0;
    }
    DoScroll(SB_ENDSCROLL, 0);
    pTrack->hWndTrack = nullptr;
}

void CQVTSkinObjectFrame::DoScroll(UINT cmd, int pos)
{
    SCROLLBARTRACKINFO* pTrack = m_pSBTrack;
    if (pTrack == nullptr || pTrack->hWndTrack == nullptr || !::IsWindow(pTrack->hWndTrack))
        return;
    ::SendMessageW(pTrack->hWndTrack, pTrack->fTrackVert ? WM_VSCROLL : WM_HSCROLL,
                   MAKEWPARAM(cmd, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(pTrack->hWndSB));
}
