// CQVTFrameShadow: the mouse over the bands and resizing the frame by
// dragging its shadow.
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"

namespace {
// Paint messages handled in one go of the loop: a window that never
// validates must not keep it from reading input.
const int kShadowPaintBatch = 64;

BOOL ShadowZoneDragsLeft(int nZone)
{
    return nZone == CQVTFrameShadow::zoneBottomLeft || nZone == CQVTFrameShadow::zoneLeft ||
           nZone == CQVTFrameShadow::zoneTopLeft;
}

BOOL ShadowZoneDragsRight(int nZone)
{
    return nZone == CQVTFrameShadow::zoneTopRight || nZone == CQVTFrameShadow::zoneRight ||
           nZone == CQVTFrameShadow::zoneBottomRight;
}

BOOL ShadowZoneDragsTop(int nZone)
{
    return nZone == CQVTFrameShadow::zoneTopLeft || nZone == CQVTFrameShadow::zoneTop ||
           nZone == CQVTFrameShadow::zoneTopRight;
}

BOOL ShadowZoneDragsBottom(int nZone)
{
    return nZone == CQVTFrameShadow::zoneBottomRight || nZone == CQVTFrameShadow::zoneBottom ||
           nZone == CQVTFrameShadow::zoneBottomLeft;
}
}  // namespace

LRESULT CQVTFrameShadow::CBand::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQVTFrameShadow* pShadow = m_pShadow;
    switch (message)
    {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SETCURSOR:
    {
        CPoint ptScreen;
        ::GetCursorPos(&ptScreen);
        return pShadow->OnBandSetCursor(ptScreen);
    }
    case WM_MOUSEACTIVATE:
        return pShadow->OnBandMouseActivate(HIWORD(lParam));
    case WM_LBUTTONDOWN:
    {
        // The resize loop may end with this band and the shadow gone:
        // nothing of either is touched after it.
        CPoint ptScreen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ::ClientToScreen(m_hWnd, &ptScreen);
        pShadow->OnBandLButtonDown(ptScreen);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        // Its pixels come from UpdateLayeredWindow.
        ::ValidateRect(m_hWnd, nullptr);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CQVTFrameShadow::OnBandSetCursor(CPoint ptScreen)
{
    LPCWSTR lpszCursor = IDC_ARROW;
    if (IsResizable())
    {
        switch (HitTestZone(ptScreen))
        {
        case zoneTop:
        case zoneBottom:
            lpszCursor = IDC_SIZENS;
            break;
        case zoneTopRight:
        case zoneBottomLeft:
            lpszCursor = IDC_SIZENESW;
            break;
        case zoneRight:
        case zoneLeft:
            lpszCursor = IDC_SIZEWE;
            break;
        case zoneBottomRight:
        case zoneTopLeft:
            lpszCursor = IDC_SIZENWSE;
            break;
        }
    }
    ::SetCursor(::LoadCursorW(nullptr, lpszCursor));
    return TRUE;
}

int CQVTFrameShadow::OnBandMouseActivate(UINT nMessage)
{
    return nMessage == WM_LBUTTONDOWN && IsResizable() ? MA_ACTIVATE : MA_NOACTIVATE;
}

void CQVTFrameShadow::OnBandLButtonDown(CPoint ptScreen)
{
    if (!m_bEnabled || m_bTracking || !IsResizable() || !::IsWindowEnabled(m_hWndFrame))
        return;
    const int nZone = HitTestZone(ptScreen);
    if (nZone != zoneNone)
        TrackResize(nZone, ptScreen);
}

void CQVTFrameShadow::TrackResize(int nZone, CPoint ptStart)
{
    // A handler dispatched here may destroy the frame or switch its theme
    // off, which lets go of this shadow: it is held until the loop is over,
    // and the frame is touched afterwards only while it still exists.
    InternalAddRef();
    const HWND hWndFrame = m_hWndFrame;
    m_bTracking = TRUE;
    CQVTMouseManager* pMouseManager = CQVTCommandBars::GetMouseManager();
    pMouseManager->EnterDragLoop();

    ::SetFocus(hWndFrame);
    ::SetCapture(hWndFrame);
    ::PostMessageW(hWndFrame, WM_ENTERSIZEMOVE, 0, 0);
    MINMAXINFO mmi = {};
    ::SendMessageW(hWndFrame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    const CSize szMin(mmi.ptMinTrackSize.x > 0 ? mmi.ptMinTrackSize.x : ::GetSystemMetrics(SM_CXMINTRACK),
                      mmi.ptMinTrackSize.y > 0 ? mmi.ptMinTrackSize.y : ::GetSystemMetrics(SM_CYMINTRACK));
    CRect rcStart;
    ::GetWindowRect(hWndFrame, &rcStart);
    // Where the cursor was taken from the dragged edges.
    const CSize szFromLeftTop = ptStart - rcStart.TopLeft();
    const CSize szFromRightBottom = ptStart - rcStart.BottomRight();

    // Switching the frame's theme off disables the shadow: the drag ends.
    while (m_bEnabled && ::IsWindow(hWndFrame) && ::GetCapture() == hWndFrame)
    {
        MSG msg;
        for (int i = 0; i < kShadowPaintBatch && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
             ++i)
            ::DispatchMessageW(&msg);
        if (!::GetMessageW(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_KILLFOCUS ||
            (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message != WM_MOUSEMOVE)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        CRect rc;
        ::GetWindowRect(hWndFrame, &rc);
        if (ShadowZoneDragsLeft(nZone))
            rc.left = std::min<LONG>(msg.pt.x - szFromLeftTop.cx, rc.right - szMin.cx);
        if (ShadowZoneDragsRight(nZone))
            rc.right = std::max<LONG>(msg.pt.x - szFromRightBottom.cx, rc.left + szMin.cx);
        if (ShadowZoneDragsTop(nZone))
            rc.top = std::min<LONG>(msg.pt.y - szFromLeftTop.cy, rc.bottom - szMin.cy);
        if (ShadowZoneDragsBottom(nZone))
            rc.bottom = std::max<LONG>(msg.pt.y - szFromRightBottom.cy, rc.top + szMin.cy);
        HWND hWndParent = ::GetParent(hWndFrame);
        if (hWndParent != nullptr && (::GetWindowLongW(hWndFrame, GWL_STYLE) & WS_CHILD))
            ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&rc), 2);
        ::SetWindowPos(hWndFrame, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
        if (::IsWindow(hWndFrame))
            ::UpdateWindow(hWndFrame);
        Update(FALSE, TRUE);
    }

    pMouseManager->ExitDragLoop();
    m_bTracking = FALSE;
    if (::IsWindow(hWndFrame))
    {
        ::PostMessageW(hWndFrame, WM_EXITSIZEMOVE, 0, 0);
        if (::GetCapture() == hWndFrame)
            ::ReleaseCapture();
        ::SetFocus(hWndFrame);
    }
    InternalRelease();
}
