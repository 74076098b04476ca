// A control worked on in customize mode: dragged to another place through
// the bars' drop source, or its width dragged by an edge. (A second file of
// CQVTControl: the two modal loops.)
#include <algorithm>
#include <cstdlib>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/customize/QVTCustomizeDropSource.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

void CQVTControl::CustomizeStartDrag(CPoint point)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!m_pParent || !pCommandBars)
        return;
    CQVTControlRef keepAlive(this);
    CQVTCommandBarRef keepParent(m_pParent);
    CQVTCommandBar* pParent = m_pParent;
    if (pParent->GetSelectedIndex() != m_nIndex)
    {
        pParent->SetPopuped(-1);
        pParent->SetSelected(-1);
    }
    if (pCommandBars->GetDragControl() == this && IsCustomizeResizeAllow() && CustomizeStartResize(point))
        return;
    pCommandBars->SetDragControl(this);
    if (m_dwFlags & qvtFlagNoMovable)
        return;
    const DWORD dwEffect = pCommandBars->GetDropSource()->DoDragDrop(this, FALSE);
    if ((dwEffect == qvtDropEffectNone || dwEffect == qvtDropEffectMove) && m_pControls)
    {
        // Moved away or dragged off every bar: the control leaves its bar.
        pParent->SetPopuped(-1);
        pParent->SetSelected(-1);
        if (pCommandBars->GetDragControl() == this)
            pCommandBars->SetDragControl(nullptr);
        CQVTControls* pControls = m_pControls;
        CQVTControl* pNext = pControls->GetAt(m_nIndex + 1);
        if (m_bBeginGroup && pNext)
            pNext->SetBeginGroup(TRUE);
        else if (m_nIndex == 0 && pNext)
            pNext->SetBeginGroup(FALSE);
        pControls->Remove(this);
        pParent->OnRecalcLayout();
    }
    // The site hears of the drag control again, whatever the drop made of it.
    if (CQVTControl* pCurrent = pCommandBars->GetDragControl())
    {
        CQVTControlRef keepCurrent(pCurrent);
        pCommandBars->SetDragControl(nullptr);
        pCommandBars->SetDragControl(pCurrent);
    }
}

namespace {

// The frame of a control being resized, drawn by inversion on the screen:
// four bars along its edges.
void ControlCustomizeInvertFrame(HDC hDC, const CRect& rc, int nThickness)
{
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), nThickness, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.bottom - nThickness, rc.Width(), nThickness, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.top + nThickness, nThickness, rc.Height() - 2 * nThickness, DSTINVERT);
    ::PatBlt(hDC, rc.right - nThickness, rc.top + nThickness, nThickness, rc.Height() - 2 * nThickness,
             DSTINVERT);
}

}  // namespace

BOOL CQVTControl::CustomizeStartResize(CPoint point)
{
    if (!m_pParent)
        return FALSE;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const int nGrip = pDpi->ScaleX(2);
    const BOOL bNearLeft = std::abs(point.x - m_rcControl.left) <= nGrip;
    const BOOL bNearRight = std::abs(point.x - m_rcControl.right) <= nGrip;
    if (point.y < m_rcControl.top || point.y >= m_rcControl.bottom || (!bNearLeft && !bNearRight))
        return FALSE;
    CQVTControlRef keepAlive(this);
    CQVTCommandBarRef keepParent(m_pParent);
    CQVTCommandBar* pParent = m_pParent;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        pCommandBars->SetDragControl(nullptr);
    pParent->Redraw(nullptr, FALSE);
    pParent->UpdateWindow();

    CRect rcStart = m_rcControl;
    pParent->ClientToScreen(&rcStart);
    CRect rc = rcStart;
    const BOOL bRightEdge = std::abs(point.x - m_rcControl.left) > nGrip;
    pParent->SetCapture();
    ::SetCursor(QVTResourceManager()->LoadCursor(QVT_IDC_COMMANDBARS_RESIZE));
    HWND hwndDesktop = ::GetDesktopWindow();
    // Where the lock is refused the frame is drawn without it.
    const BOOL bLocked = ::LockWindowUpdate(hwndDesktop);
    HDC hDC = ::GetDCEx(hwndDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    const int nThickness = pDpi->ScaleX(2);
    const int nMinWidth = std::max(GetCustomizeMinWidth(), 2 * nThickness + 1);
    if (hDC)
        ControlCustomizeInvertFrame(hDC, rc, nThickness);

    BOOL bAccepted = FALSE;
    BOOL bEnded = FALSE;
    while (!bEnded && ::GetCapture() == pParent->GetSafeHwnd())
    {
        MSG msg;
        const BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1)
        {
            if (bGot == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            CRect rcNew = rc;
            if (bRightEdge)
                rcNew.right = std::max(msg.pt.x, rcNew.left + nMinWidth);
            else
                rcNew.left = std::min(msg.pt.x, rcNew.right - nMinWidth);
            if (rcNew != rc)
            {
                if (hDC)
                    ControlCustomizeInvertFrame(hDC, rc, nThickness);
                rc = rcNew;
                if (hDC)
                    ControlCustomizeInvertFrame(hDC, rc, nThickness);
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                bEnded = TRUE;
            break;
        case WM_LBUTTONUP:
            bAccepted = TRUE;
            bEnded = TRUE;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
            break;
        }
    }
    if (hDC)
        ControlCustomizeInvertFrame(hDC, rc, nThickness);
    if (::GetCapture() == pParent->GetSafeHwnd())
        ::ReleaseCapture();
    if (bLocked)
        ::LockWindowUpdate(nullptr);
    if (hDC)
        ::ReleaseDC(hwndDesktop, hDC);
    if (pCommandBars)
        pCommandBars->SetDragControl(this);
    if (bAccepted && rc.Width() != rcStart.Width() && m_pParent == pParent)
    {
        int nWidth = rc.Width();
        if (pParent->IsPopupBar() && pParent->GetPaintManager())
            nWidth -= pParent->GetPaintManager()->GetPopupBarGutterWidth(pParent);
        SetWidth(nWidth);
        pParent->OnRecalcLayout();
    }
    pParent->Redraw(nullptr, FALSE);
    return TRUE;
}
