// The frame's message handlers: non-client sizing, hit testing, painting,
// activation, sizes, system commands and the Alt key.
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
CPoint SkinFrameMsgPoint(LPARAM lParam)
{
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

const UINT kSkinFrameMsgSwpFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
}  // namespace

LRESULT CQVTSkinObjectFrame::OnNcPaint(WPARAM, LPARAM)
{
    if (IsFlatScrollBars())
        return Default();
    UpdateButtons();
    RedrawFrame();
    return 0;
}

LRESULT CQVTSkinObjectFrame::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    if (IsFlatScrollBars())
    {
        m_spi[0].fVisible = m_spi[1].fVisible = FALSE;
        return Default();
    }
    // Both forms begin with the proposed window rectangle.
    LPRECT lpRect =
        wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<LPRECT>(lParam);
    if (lpRect == nullptr)
        return 0;
    ReadBorders();
    lpRect->left += m_rcBorders.left;
    lpRect->top += m_rcBorders.top;
    lpRect->right -= m_rcBorders.right;
    lpRect->bottom -= m_rcBorders.bottom;
    const DWORD dwStyle = GetStyle();
    m_spi[0].fVisible = (dwStyle & WS_HSCROLL) != 0;
    m_spi[1].fVisible = (dwStyle & WS_VSCROLL) != 0;
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (m_spi[1].fVisible)
    {
        const int cx = pMetrics != nullptr ? pMetrics->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
        if (GetExStyle() & WS_EX_LEFTSCROLLBAR)
            lpRect->left += cx;
        else
            lpRect->right -= cx;
    }
    if (m_spi[0].fVisible)
        lpRect->bottom -= pMetrics != nullptr ? pMetrics->m_cyHScroll : ::GetSystemMetrics(SM_CYHSCROLL);
    lpRect->bottom = std::max(lpRect->bottom, lpRect->top);
    lpRect->right = std::max(lpRect->right, lpRect->left);
    return 0;
}

LRESULT CQVTSkinObjectFrame::OnNcMouseMove(WPARAM, LPARAM lParam)
{
    if (OnNcMouseMoveHook(SkinFrameMsgPoint(lParam)))
        return 0;
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnNcHitTest(WPARAM, LPARAM lParam)
{
    const LRESULT nDefault = Default();
    if (const UINT nHit = HitTestFrame(SkinFrameMsgPoint(lParam)))
        return nHit;
    switch (nDefault)
    {
    case HTMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        // Only the skin's buttons act as buttons.
        return HTCAPTION;
    case HTHSCROLL:
    case HTVSCROLL:
        return IsFlatScrollBars() ? nDefault : HTCLIENT;
    default:
        return nDefault;
    }
}

LRESULT CQVTSkinObjectFrame::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    const CPoint ptScreen = SkinFrameMsgPoint(lParam);
    // The button under the press, whatever the last move left hot.
    CCaptionButton* pButton = FindButtonAt(ptScreen);
    if (pButton != m_pButtonHot)
    {
        m_pButtonHot = pButton;
        RedrawFrame();
    }
    if (m_pButtonHot != nullptr)
    {
        TrackCaptionButton();
        return 0;
    }
    CPoint pt(ptScreen);
    ScreenToFrame(&pt);
    UpdateScrollBarsVisibility();
    for (SCROLLBARPOSINFO& spi : m_spi)
        if (spi.fVisible && ::PtInRect(&spi.rc, pt))
        {
            TrackInit(pt, &spi, ::GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
    if (wParam == HTMINBUTTON || wParam == HTMAXBUTTON || wParam == HTCLOSE || wParam == HTHELP)
        return 0;
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnNcRButtonUp(WPARAM, LPARAM lParam)
{
    CPoint pt = SkinFrameMsgPoint(lParam);
    ScreenToFrame(&pt);
    UpdateScrollBarsVisibility();
    for (SCROLLBARPOSINFO& spi : m_spi)
        if (spi.fVisible && ::PtInRect(&spi.rc, pt))
        {
            HWND hWnd = m_hWnd;
            ++m_nLockDrawing;
            CRect rc;
            ::GetWindowRect(hWnd, &rc);
            ::SendMessageW(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
            --m_nLockDrawing;
            ::SendMessageW(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), lParam);
            RedrawFrame();
            return 0;
        }
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnNcMouseLeave(WPARAM, LPARAM)
{
    if (OnNcMouseMoveHook(CPoint(-1, -1)))
        return 0;
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnNcActivate(WPARAM wParam, LPARAM lParam)
{
    if (!HasCaptionOrThickFrame())
        return Default();
    HWND hWnd = m_hWnd;
    if (m_nDialogTexture == 2)
    {
        // A dialog's procedure sees the message as it would without us.
        const BOOL bUnicode =
            ::SendMessageW(hWnd, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(hWnd), NF_QUERY) == NFR_UNICODE;
        const LONG_PTR nProc =
            bUnicode ? ::GetWindowLongPtrW(hWnd, DWLP_DLGPROC) : ::GetWindowLongPtrA(hWnd, DWLP_DLGPROC);
        if (nProc != 0 && ((static_cast<ULONG_PTR>(nProc) >> 16) & 0xFFFF) != 0xFFFF)
            ::CallWindowProcW(reinterpret_cast<WNDPROC>(nProc), hWnd, WM_NCACTIVATE, wParam, lParam);
        if (!::IsWindow(hWnd))
            return TRUE;
    }
    BOOL bActive = wParam != 0;
    if (!bActive)
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && (pWnd->m_nFlags & WF_STAYACTIVE))
            bActive = TRUE;
    }
    if (!::IsWindowEnabled(hWnd))
        bActive = FALSE;
    if (m_pMDIClient != nullptr && ::IsWindow(m_pMDIClient->GetSafeHwnd()))
    {
        HWND hChild =
            reinterpret_cast<HWND>(::SendMessageW(m_pMDIClient->GetSafeHwnd(), WM_MDIGETACTIVE, 0, 0));
        if (hChild != nullptr && hChild != hWnd)
        {
            ::SendMessageW(hChild, WM_NCACTIVATE, bActive, 0);
            ::SendMessageW(hChild, WM_NCPAINT, 1, 0);
        }
    }
    m_bActive = bActive;
    RedrawFrame();
    return TRUE;
}

LRESULT CQVTSkinObjectFrame::OnSetText(WPARAM, LPARAM)
{
    if ((GetStyle() & WS_CAPTION) != WS_CAPTION || !IsFramesSkinned())
        return Default();
    const LRESULT lResult = Default();
    // A hidden frame is drawn when it shows (WM_NCPAINT): drawing it now
    // reaches no screen.
    if (::IsWindowVisible(m_hWnd))
        RedrawFrame();
    if (IsMaximizedMDIChild())
        ::SendMessageW(GetTopLevelWindow(), WM_NCPAINT, 1, 0);
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnStyleChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    ReadBorders();
    const STYLESTRUCT* pStyle = reinterpret_cast<const STYLESTRUCT*>(lParam);
    if (pStyle != nullptr)
    {
        const DWORD dwChanged = pStyle->styleOld ^ pStyle->styleNew;
        const DWORD dwBits =
            wParam == static_cast<WPARAM>(GWL_EXSTYLE) ? WS_EX_TOOLWINDOW : (WS_CAPTION | WS_THICKFRAME);
        if (dwChanged & dwBits)
        {
            CRect rcWindow;
            ::GetWindowRect(m_hWnd, &rcWindow);
            m_szFrameRegion = CSize(0, 0);
            UpdateRegion(rcWindow.Size());
        }
    }
    if (HasCaptionOrThickFrame())
        ::PostMessageW(m_hWnd, WM_NCPAINT, 1, 0);
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnCreate(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    if (lResult != -1 && IsWindowAlive())
        FitFrame();
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    const LRESULT lResult = Default();
    WINDOWPOS* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pPos == nullptr)
        return lResult;
    if (IsMaximizedMDIChild() && IsMDIFitOptions())
    {
        CRect rcParent;
        ::GetClientRect(::GetParent(m_hWnd), &rcParent);
        ReadBorders();
        if (pPos->cx > rcParent.Width())
        {
            pPos->x = -m_rcBorders.left;
            pPos->y = -m_rcBorders.top;
            pPos->cx = rcParent.Width() + m_rcBorders.left + m_rcBorders.right;
            pPos->cy = rcParent.Height() + m_rcBorders.top + m_rcBorders.bottom;
        }
    }
    if (!(pPos->flags & SWP_NOSIZE) && CSize(pPos->cx, pPos->cy) != m_szFrameRegion &&
        !(GetExStyle() & WS_EX_RTLREADING))
        UpdateRegion(CSize(pPos->cx, pPos->cy));
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    m_bOnWindowPosChanged = TRUE;
    const LRESULT lResult = Default();
    m_bOnWindowPosChanged = FALSE;
    const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pPos != nullptr && !(pPos->flags & SWP_NOSIZE) && CSize(pPos->cx, pPos->cy) != m_szFrameRegion)
        UpdateRegion(CSize(pPos->cx, pPos->cy));
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnPaint(WPARAM, LPARAM)
{
    UpdateScrollBarsVisibility();
    const BOOL bBars = m_spi[0].fVisible || m_spi[1].fVisible;
    if (bBars)
    {
        // The strips of the bars are ours, whatever lies in the client.
        CPoint ptClient(0, 0);
        ClientToFrame(&ptClient);
        for (const SCROLLBARPOSINFO& spi : m_spi)
            if (spi.fVisible)
            {
                CRect rc(spi.rc);
                rc.OffsetRect(-ptClient);
                ::ValidateRect(m_hWnd, &rc);
            }
    }
    const LRESULT lResult = Default();
    if (bBars)
        RedrawFrame();
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnPrint(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 1;
    if (static_cast<DWORD>(lParam) != PRF_NONCLIENT)
    {
        ++m_nLockDrawing;
        lResult = Default();
        --m_nLockDrawing;
    }
    HDC hDC = reinterpret_cast<HDC>(wParam);
    if ((lParam & PRF_NONCLIENT) && hDC != nullptr)
    {
        if ((GetExStyle() & WS_EX_LAYOUTRTL) && !(::GetLayout(hDC) & LAYOUT_RTL))
            ::SetLayout(hDC, LAYOUT_RTL);
        CDC dc;
        dc.Attach(hDC);
        DrawFrame(&dc);
        dc.Detach();
    }
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnScroll(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    RedrawFrame();
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    const LRESULT lResult = Default();
    MINMAXINFO* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    if (pInfo == nullptr || !HasCaptionOrThickFrame() || !IsFramesSkinned())
        return lResult;
    ReadBorders();
    UpdateButtons();
    const int nButtons = static_cast<int>(m_arrButtons.size());
    pInfo->ptMinTrackSize.x = std::max<LONG>(pInfo->ptMinTrackSize.x, 2 * ::GetSystemMetrics(SM_CXEDGE) +
                                                                          ::GetSystemMetrics(SM_CYSIZE) +
                                                                          m_rcBorders.top * nButtons);
    pInfo->ptMinTrackSize.y = std::max<LONG>(pInfo->ptMinTrackSize.y, m_rcBorders.top + m_rcBorders.bottom);
    if (IsMDIChild() && IsMDIFitOptions())
    {
        const LONG nOldTop = pInfo->ptMaxPosition.y;
        pInfo->ptMaxPosition.y = -m_rcBorders.top;
        pInfo->ptMaxSize.y += m_rcBorders.top + nOldTop;
    }
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nCommand = static_cast<UINT>(wParam) & 0xFFF0;
    if (nCommand == SC_MAXIMIZE && IsMDIChild() && !(GetStyle() & WS_MAXIMIZE) && IsMDIFitOptions())
    {
        const LRESULT lResult = Default();
        if (IsWindowAlive())
        {
            CRect rcParent;
            ::GetClientRect(::GetParent(m_hWnd), &rcParent);
            ReadBorders();
            ::SetWindowPos(m_hWnd, nullptr, -m_rcBorders.left, -m_rcBorders.top,
                           rcParent.Width() + m_rcBorders.left + m_rcBorders.right,
                           rcParent.Height() + m_rcBorders.top + m_rcBorders.bottom,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return lResult;
    }
    if (OnSysCommandHook(static_cast<UINT>(wParam), lParam))
        return 0;
    if (nCommand == SC_MOVE && (GetStyle() & WS_MINIMIZE) && IsFramesSkinned())
    {
        CallDefWindowProc(WM_NCPAINT, 1, 0);
        RedrawFrame();
        return Default();
    }
    const LRESULT lResult = Default();
    if (nCommand == SC_MINIMIZE && IsFramesSkinned())
        RedrawFrame();
    return lResult;
}

BOOL CQVTSkinObjectFrame::OnSysCommandHook(UINT nID, LPARAM lParam)
{
    if (m_pManager == nullptr || (m_pManager->GetApplyOptions() & qvtSkinApplyMenus) == 0)
        return FALSE;
    const UINT nCommand = nID & 0xFFF0;
    if (nCommand == SC_MOUSEMENU)
        return TRUE;
    if (nCommand != SC_KEYMENU)
        return FALSE;
    if (!(GetStyle() & WS_CHILD))
        return TRUE;
    HWND hWnd = m_hWnd;
    for (int nDepth = 0; hWnd != nullptr && nDepth < 256; ++nDepth)
    {
        const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
        if ((dwStyle & WS_SYSMENU) || !(dwStyle & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    if (hWnd == nullptr || hWnd == m_hWnd)
        return FALSE;
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    if (::GetMenu(hWnd) == nullptr && !(dwStyle & WS_SYSMENU))
        return TRUE;
    CQVTSkinObject* pObject = m_pManager->Lookup(hWnd);
    if (pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
        static_cast<CQVTSkinObjectFrame*>(pObject)->OnSysCommandHook(nID, lParam);
    return TRUE;
}

LRESULT CQVTSkinObjectFrame::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    HDC hDC = reinterpret_cast<HDC>(wParam);
    if (m_nDialogTexture == 6 && pMetrics != nullptr && hDC != nullptr)
    {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        ::SetBrushOrgEx(hDC, 0, 0, nullptr);
        ::FillRect(hDC, &rc, GetPropertyPageBrush());
        return 1;
    }
    const ULONG_PTR nBrush = ::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND);
    if (pMetrics == nullptr || nBrush < 1 || nBrush > 30)
        return Default();
    HBRUSH hSkin = pMetrics->GetBrush(static_cast<int>(nBrush) - 1);
    if (hSkin == nullptr)
        return Default();
    // The class is shared: its brush is the skin's only while this window
    // erases.
    ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(hSkin));
    const LRESULT lResult = Default();
    if (::IsWindow(m_hWnd))
        ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(nBrush));
    return lResult;
}

LRESULT CQVTSkinObjectFrame::OnSysKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_MENU && !(lParam & (1 << 30)) && ::GetMenu(GetTopLevelWindow()) != nullptr)
        SetAltPressed(TRUE);
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnSysKeyUp(WPARAM wParam, LPARAM)
{
    if (wParam == VK_MENU && IsAltPressed())
    {
        SetAltPressed(FALSE);
        ::SendMessageW(GetTopLevelWindow(), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    }
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnKeyUp(WPARAM, LPARAM)
{
    return Default();
}

LRESULT CQVTSkinObjectFrame::OnSetIcon(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    if (::IsWindowVisible(m_hWnd))
        RedrawFrame();
    return lResult;
}

// The controls whose scroll state changes without a non-client paint.

BEGIN_MESSAGE_MAP(CQVTSkinObjectUser32Control, CQVTSkinObjectFrame)
    ON_MESSAGE(WM_VSCROLL, &CQVTSkinObjectUser32Control::OnRefreshingMessage)
    ON_MESSAGE(WM_HSCROLL, &CQVTSkinObjectUser32Control::OnRefreshingMessage)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, &CQVTSkinObjectUser32Control::OnRefreshingMessage)
    ON_MESSAGE(WM_KEYDOWN, &CQVTSkinObjectUser32Control::OnRefreshingMessage)
    ON_MESSAGE(WM_CHAR, &CQVTSkinObjectUser32Control::OnRefreshingMessage)
    ON_MESSAGE(WM_ERASEBKGND, &CQVTSkinObjectUser32Control::OnUser32EraseBkgnd)
END_MESSAGE_MAP()

LRESULT CQVTSkinObjectUser32Control::OnRefreshingMessage(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    RefreshScrollBars();
    return lResult;
}

LRESULT CQVTSkinObjectUser32Control::OnUser32EraseBkgnd(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnEraseBkgnd(wParam, lParam);
    RefreshScrollBars();
    return lResult;
}

BOOL CQVTSkinObjectUser32Control::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL bHandled = CQVTSkinObjectFrame::OnWndMsg(message, wParam, lParam, pResult);
    if (message == WM_MOUSEWHEEL && IsWindowAlive())
        RefreshScrollBars();
    return bHandled;
}

void CQVTSkinObjectUser32Control::RefreshScrollBars()
{
    if (GetComCtlVersion() >= MAKELONG(0, 6) || !IsWindowAlive())
        return;
    for (SCROLLBARPOSINFO& spi : m_spi)
    {
        if (!spi.fVisible || (m_pSBTrack != nullptr && m_pSBTrack->pSBInfo == &spi))
            continue;
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_RANGE | SIF_POS};
        if (!::GetScrollInfo(m_hWnd, spi.nBar, &si))
            continue;
        if (si.nPos != spi.pos || si.nMax != spi.posMax || si.nMin != spi.posMin)
            RedrawScrollBar(spi.nBar);
    }
}

void CQVTSkinObjectComCtl32Control::RefreshScrollBars()
{
    if (!QVTOSVersion()->IsWin9x())
        return;
    CQVTSkinObjectUser32Control::RefreshScrollBars();
}
