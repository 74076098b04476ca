#include "toolkit/commandbars/bars/QVTDockContext.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {
// A floating bar keeps this much of itself on the work area (96-DPI px).
const int kFloatMargin = 10;
}  // namespace

CQVTDockContext::CQVTDockContext(CQVTToolBar* pBar)
    : m_pBar(pBar), m_nMode(modeNone), m_ptLast(0, 0), m_uMRUDockPosition(qvtBarTop),
      m_rectMRUDockPos(0, 0, 0, 0), m_ptMRUFloatPos(0, 0), m_rectDragDock(0, 0, 0, 0),
      m_rectDragFrame(0, 0, 0, 0), m_rectTrack(0, 0, 0, 0)
{
}

CQVTDockContext::~CQVTDockContext() = default;

CRect CQVTDockContext::WorkAreaAt(CPoint point)
{
    return QVTMultiMonitor()->GetWorkAreaFromPoint(point);
}

void CQVTDockContext::StartDrag(CPoint point)
{
    if (!m_pBar->GetSafeHwnd() || m_nMode != modeNone)
        return;
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    m_nMode = modeDrag;
    m_ptLast = point;
    m_rectDragDock = rcWindow;
    m_rectDragFrame = rcWindow;
    if (!m_rectDragFrame.PtInRect(point))
        m_rectDragFrame.OffsetRect(point.x - m_rectDragFrame.left - 1, point.y - m_rectDragFrame.top - 1);
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));

    // Floating off a dock bar keeps where the bar was docked, so that a
    // double click brings it back there.
    const BOOL bWasDocked = !m_pBar->IsFloating() && m_pBar->GetDockBar() != nullptr;
    const int nDockPosition = m_uMRUDockPosition;
    const CRect rcDocked = m_rectMRUDockPos;

    Track();

    if (m_pBar->GetSafeHwnd() && m_pBar->IsFloating())
    {
        CRect rc;
        m_pBar->GetWindowRect(&rc);
        m_ptMRUFloatPos = rc.TopLeft();
        if (bWasDocked)
        {
            m_uMRUDockPosition = nDockPosition;
            m_rectMRUDockPos = rcDocked;
        }
    }
}

void CQVTDockContext::StartResize(int nHitTest, CPoint point)
{
    if (!m_pBar->GetSafeHwnd() || m_nMode != modeNone || nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT)
        return;
    m_nMode = nHitTest;
    m_ptLast = point;
    m_pBar->GetWindowRect(&m_rectDragFrame);
    m_rectTrack = m_rectDragFrame;

    Track();

    if (m_pBar->GetSafeHwnd() && m_pBar->IsFloating())
    {
        CRect rc;
        m_pBar->GetWindowRect(&rc);
        m_ptMRUFloatPos = rc.TopLeft();
        m_pBar->SetMRUWidth(rc.Width());
    }
}

BOOL CQVTDockContext::Track()
{
    if (!m_pBar->GetSafeHwnd() || ::GetCapture() != nullptr)
    {
        m_nMode = modeNone;
        return FALSE;
    }
    CQVTCommandBarRef keepAlive(m_pBar);
    CQVTCommandBars* pCommandBars = m_pBar->GetCommandBars();
    CQVTMouseManager* pMouseManager = CQVTCommandBars::GetMouseManager();
    pMouseManager->EnterDragLoop();
    m_pBar->SetCapture();

    while (m_pBar->GetSafeHwnd() && ::GetCapture() == m_pBar->GetSafeHwnd())
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message == WM_MOUSEMOVE)
        {
            // The message's own point: the bar's window moves under it.
            const CPoint point(msg.pt);
            if (point != m_ptLast)
            {
                if (m_nMode == modeDrag)
                    Move(point);
                else
                    Stretch(point);
            }
        }
        else
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (pCommandBars)
        {
            pCommandBars->UpdateDelayedFrameLayout();
            pCommandBars->InvalidateCommandBars();
        }
    }

    if (m_pBar->GetSafeHwnd() && ::GetCapture() == m_pBar->GetSafeHwnd())
        ::ReleaseCapture();
    pMouseManager->ExitDragLoop();
    m_nMode = modeNone;
    if (pCommandBars)
        pCommandBars->GetCommandBarsOptions()->bDirty = TRUE;
    return TRUE;
}

void CQVTDockContext::Move(CPoint point)
{
    const CSize delta = point - m_ptLast;
    m_ptLast = point;
    m_rectDragDock.OffsetRect(delta);
    m_rectDragFrame.OffsetRect(delta);

    CQVTCommandBars* pCommandBars = m_pBar->GetCommandBars();
    if (!pCommandBars)
        return;
    const DWORD dwFlags = m_pBar->GetFlags();
    CQVTDockBar* pDockBar = pCommandBars->CanDock(point, m_pBar->GetDockBar());
    if (pDockBar && (dwFlags & (1u << pDockBar->GetPosition())))
    {
        const BOOL bSame = m_pBar->GetDockBar() == pDockBar && !m_pBar->IsFloating();
        pCommandBars->DockCommandBar(m_pBar, &m_rectDragDock, pDockBar);
        if (!bSame)
        {
            pCommandBars->RecalcFrameLayout(FALSE);
            m_pBar->GetWindowRect(&m_rectDragDock);
        }
        return;
    }
    if (!(dwFlags & CQVTToolBar::dockFloat))
        return;
    if (!m_pBar->IsFloating() && !pCommandBars->FloatCommandBar(m_pBar))
        return;
    const CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    CRect rc(m_rectDragFrame.TopLeft(), size);
    // The pointer stays on the bar.
    if (point.x >= rc.right)
        rc.OffsetRect(point.x - rc.right + 1, 0);
    if (point.y >= rc.bottom)
        rc.OffsetRect(0, point.y - rc.bottom + 1);
    const CRect rcWork = WorkAreaAt(point);
    const int nMarginX = QVTDpiScaler()->ScaleX(kFloatMargin);
    const int nMarginY = QVTDpiScaler()->ScaleY(kFloatMargin);
    if (rc.left > rcWork.right - nMarginX)
        rc.OffsetRect(rcWork.right - nMarginX - rc.left, 0);
    if (rc.right < rcWork.left + nMarginX)
        rc.OffsetRect(rcWork.left + nMarginX - rc.right, 0);
    if (rc.top > rcWork.bottom - nMarginY)
        rc.OffsetRect(0, rcWork.bottom - nMarginY - rc.top);
    if (rc.bottom < rcWork.top + nMarginY)
        rc.OffsetRect(0, rcWork.top + nMarginY - rc.bottom);
    m_rectDragFrame = rc;
    m_pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pBar->Redraw(nullptr, FALSE);
}

void CQVTDockContext::Stretch(CPoint point)
{
    if (m_pBar->IsFreeSizing())
        StretchFreely(point);
    else if (m_pBar->IsFloating())
        StretchToolBar(point);
}

void CQVTDockContext::StretchFreely(CPoint point)
{
    const CSize delta = point - m_ptLast;
    m_ptLast = point;
    CRect rc = m_rectTrack;
    switch (m_nMode)
    {
    case HTLEFT:
    case HTTOPLEFT:
    case HTBOTTOMLEFT:
        rc.left += delta.cx;
        break;
    case HTRIGHT:
    case HTTOPRIGHT:
    case HTBOTTOMRIGHT:
        rc.right += delta.cx;
        break;
    default:
        break;
    }
    switch (m_nMode)
    {
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
        rc.top += delta.cy;
        break;
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        rc.bottom += delta.cy;
        break;
    default:
        break;
    }
    m_rectTrack = rc;
    if (rc.Size() == m_rectDragFrame.Size() && rc.TopLeft() == m_rectDragFrame.TopLeft())
        return;
    CRect rcMeet;
    if (!rcMeet.IntersectRect(rc, WorkAreaAt(point)))
        return;
    if (m_pBar->ResizeFreely(rc, m_nMode))
        m_rectDragFrame = rc;
}

void CQVTDockContext::StretchToolBar(CPoint point)
{
    const CSize delta = point - m_ptLast;
    m_ptLast = point;
    switch (m_nMode)
    {
    case HTLEFT:
        m_rectTrack.left += delta.cx;
        break;
    case HTRIGHT:
        m_rectTrack.right += delta.cx;
        break;
    case HTTOP:
        m_rectTrack.top += delta.cy;
        break;
    case HTBOTTOM:
        m_rectTrack.bottom += delta.cy;
        break;
    default:
        return;
    }
    const BOOL bHorizontalEdge = m_nMode == HTLEFT || m_nMode == HTRIGHT;
    const CSize size =
        bHorizontalEdge ? m_pBar->CalcDynamicLayout(m_rectTrack.Width(), LM_HORZ | LM_COMMIT)
                        : m_pBar->CalcDynamicLayout(m_rectTrack.Height(), LM_HORZ | LM_LENGTHY | LM_COMMIT);
    if (size == m_rectDragFrame.Size())
        return;
    // The edge opposite the dragged one stays where it is.
    CRect rc(m_rectDragFrame.TopLeft(), size);
    if (m_nMode == HTLEFT)
        rc.OffsetRect(m_rectDragFrame.right - rc.right, 0);
    if (m_nMode == HTTOP)
        rc.OffsetRect(0, m_rectDragFrame.bottom - rc.bottom);
    const CRect rcWork = WorkAreaAt(point);
    if (rc.right > rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.left < rcWork.left)
        rc.OffsetRect(rcWork.left - rc.left, 0);
    if (rc.bottom > rcWork.bottom)
        rc.OffsetRect(0, rcWork.bottom - rc.bottom);
    if (rc.top < rcWork.top)
        rc.OffsetRect(0, rcWork.top - rc.top);
    m_rectDragFrame = rc;
    m_pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->Redraw(nullptr, FALSE);
}

BOOL CQVTDockContext::ToggleDocking()
{
    CQVTCommandBars* pCommandBars = m_pBar->GetCommandBars();
    if (!pCommandBars || !m_pBar->GetSafeHwnd())
        return FALSE;
    const DWORD dwFlags = m_pBar->GetFlags();
    if (!m_pBar->IsFloating())
    {
        if (!(dwFlags & CQVTToolBar::dockFloat) || !pCommandBars->GetCommandBarsOptions()->bDblClickFloat)
            return FALSE;
        CPoint ptFloat = m_ptMRUFloatPos;
        if (ptFloat.x <= 0 || ptFloat.y <= 0)
        {
            ptFloat = m_rectMRUDockPos.TopLeft();
            CQVTDockBar* pDockBar = m_pBar->GetDockBar();
            if (pDockBar && pDockBar->GetSafeHwnd())
                pDockBar->ClientToScreen(&ptFloat);
        }
        if (!pCommandBars->FloatCommandBar(m_pBar))
            return FALSE;
        const CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        m_pBar->SetWindowPos(nullptr, ptFloat.x, ptFloat.y, size.cx, size.cy,
                             SWP_NOZORDER | SWP_NOACTIVATE | (m_pBar->IsVisible() ? SWP_SHOWWINDOW : 0));
        m_pBar->Redraw(nullptr, FALSE);
    }
    else
    {
        if (!(dwFlags & (CQVTToolBar::dockTop | CQVTToolBar::dockBottom | CQVTToolBar::dockLeft |
                         CQVTToolBar::dockRight)))
            return FALSE;
        CQVTDockBar* pDockBar = pCommandBars->GetDockBar(m_uMRUDockPosition);
        if (!pDockBar || !pDockBar->GetSafeHwnd())
            return FALSE;
        CRect rcWindow;
        m_pBar->GetWindowRect(&rcWindow);
        m_ptMRUFloatPos = rcWindow.TopLeft();
        CRect rc = m_rectMRUDockPos;
        pDockBar->ClientToScreen(&rc);
        if (!pCommandBars->DockCommandBar(m_pBar, rc.IsRectNull() ? nullptr : &rc, pDockBar))
            return FALSE;
        pCommandBars->RecalcFrameLayout(FALSE);
    }
    pCommandBars->GetCommandBarsOptions()->bDirty = TRUE;
    return TRUE;
}
