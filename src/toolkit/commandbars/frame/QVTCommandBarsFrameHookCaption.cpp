// The frame hook's caption buttons (layout, hot tracking, the press loop and
// the system menu), the window region, the shadow and the window-event hook
// that re-fixes scroll styles after the system redraws a frame.
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/commandbars/frame/QVTWinEventHook.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"

namespace {
const UINT kFrameHookHotCheckMilliseconds = 50;
const UINT kFrameHookScrollStyleMilliseconds = 100;

// The process-wide window-event hook, made on first use, and the frames
// that want it.
CQVTWinEventHook& FrameHookWinEvents()
{
    static CQVTWinEventHook hook;
    return hook;
}
int g_nFrameHookWinEventUsers = 0;

BOOL FrameHookCloseEnabled(HWND hWnd)
{
    HMENU hMenu = ::GetSystemMenu(hWnd, FALSE);
    if (!hMenu)
        return TRUE;
    const UINT nState = ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND);
    return nState == static_cast<UINT>(-1) || !(nState & (MF_GRAYED | MF_DISABLED));
}
}  // namespace

// The caption button.

CQVTCommandBarsFrameHook::CControlCaptionButton::CControlCaptionButton(CQVTCommandBarsFrameHook* pFrame,
                                                                       int nId, int nHit)
    : m_nHit(nHit), m_pFrame(pFrame)
{
    SetID(nId);
}

int CQVTCommandBarsFrameHook::CControlCaptionButton::GetSelected() const
{
    return m_pFrame->GetHotButton() == this;
}

int CQVTCommandBarsFrameHook::CControlCaptionButton::GetPressed() const
{
    return GetSelected() && m_pFrame->IsButtonPressed();
}

// Layout.

void CQVTCommandBarsFrameHook::UpdateCaptionButtons()
{
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    if (!m_hwndFrame || !pFramePaintManager || !m_pCaptionButtons)
        return;
    const DWORD dwStyle = GetStyle();
    const BOOL bToolWindow = (GetExStyle() & WS_EX_TOOLWINDOW) != 0;
    const BOOL bMinimized = (dwStyle & WS_MINIMIZE) != 0;
    const BOOL bMaximized = (dwStyle & WS_MAXIMIZE) != 0;
    const BOOL bSysMenu = (dwStyle & WS_SYSMENU) != 0;
    const BOOL bBoxes = !bToolWindow && bSysMenu && (dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const BOOL bCloseEnabled =
        ((bSysMenu && !bToolWindow) || bBoxes) ? FrameHookCloseEnabled(m_hwndFrame) : TRUE;

    CRect rcCaption = pFramePaintManager->GetCaptionRect(this);
    for (int i = 0; i < m_pCaptionButtons->GetCount(); ++i)
    {
        CControlCaptionButton* pButton = static_cast<CControlCaptionButton*>(m_pCaptionButtons->GetAt(i));
        BOOL bShown = FALSE;
        BOOL bEnabled = FALSE;
        switch (pButton->GetID())
        {
        case SC_CLOSE:
            bShown = bSysMenu;
            bEnabled = bCloseEnabled;
            break;
        case SC_MINIMIZE:
            bShown = !bMinimized && bBoxes;
            bEnabled = (dwStyle & WS_MINIMIZEBOX) != 0;
            break;
        case SC_MAXIMIZE:
            bShown = !bMaximized && bBoxes;
            bEnabled = (dwStyle & WS_MAXIMIZEBOX) != 0;
            break;
        case SC_RESTORE:
            pButton->SetHitCode(bMinimized ? HTMINBUTTON : HTMAXBUTTON);
            bShown = (bMinimized || bMaximized) && bBoxes;
            bEnabled = (dwStyle & (bMinimized ? WS_MINIMIZEBOX : WS_MAXIMIZEBOX)) != 0;
            break;
        }
        pButton->SetHideFlags(bShown ? 0 : qvtHideGeneric);
        pButton->SetEnabled(bEnabled);
        if (!bShown)
        {
            pButton->SetRect(CRect(0, 0, 0, 0));
            continue;
        }
        const CSize sz = pFramePaintManager->GetCaptionButtonSize(pButton->GetID(), m_hwndFrame);
        pButton->SetRect(
            CRect(rcCaption.right - sz.cx, rcCaption.top, rcCaption.right, rcCaption.top + sz.cy));
        rcCaption.right -= sz.cx;
    }
    pFramePaintManager->OnCaptionButtonsLayout(this);
}

CQVTControl* CQVTCommandBarsFrameHook::HitTestCaptionButton(CPoint ptScreen) const
{
    if (!m_pCaptionButtons || !m_hwndFrame)
        return nullptr;
    const CPoint pt = ToWindow(ptScreen);
    for (int i = 0; i < m_pCaptionButtons->GetCount(); ++i)
    {
        CQVTControl* pButton = m_pCaptionButtons->GetAt(i);
        if (pButton->IsVisible() && pButton->GetEnabled() && pButton->GetRect().PtInRect(pt))
            return pButton;
    }
    return nullptr;
}

// Hot tracking and the press loop.

void CQVTCommandBarsFrameHook::OnNcMouseMove(CPoint ptScreen)
{
    CQVTControl* pHot = HitTestCaptionButton(ptScreen);
    if (pHot == m_pButtonHot)
        return;
    m_pButtonHot = pHot;
    RedrawFrame();
    if (m_pButtonHot)
        ::SetTimer(m_hwndFrame, QVT_FRAMEHOOK_TIMER_HOT, kFrameHookHotCheckMilliseconds, nullptr);
    else
        ::KillTimer(m_hwndFrame, QVT_FRAMEHOOK_TIMER_HOT);
}

BOOL CQVTCommandBarsFrameHook::OnTimer(UINT_PTR nIdEvent)
{
    if (nIdEvent == QVT_FRAMEHOOK_TIMER_SCROLLSTYLES)
    {
        FixScrollStyles();
        ::KillTimer(m_hwndFrame, QVT_FRAMEHOOK_TIMER_SCROLLSTYLES);
        return TRUE;
    }
    if (nIdEvent != QVT_FRAMEHOOK_TIMER_HOT || m_bDwmFrame)
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    if (::GetCapture() || HitTestCaptionButton(pt))
        return TRUE;
    m_pButtonHot = nullptr;
    RedrawFrame();
    ::KillTimer(m_hwndFrame, QVT_FRAMEHOOK_TIMER_HOT);
    return TRUE;
}

BOOL CQVTCommandBarsFrameHook::OnNcLButtonDown(CPoint ptScreen)
{
    if (!IsCaptionVisible() || m_bDwmFrame)
        return FALSE;
    CQVTControl* pButton = HitTestCaptionButton(ptScreen);
    if (!pButton)
        return FALSE;
    TrackCaptionButton(pButton);
    return TRUE;
}

void CQVTCommandBarsFrameHook::TrackCaptionButton(CQVTControl* pButton)
{
    // What the loop dispatches may destroy the frame or switch its theme off,
    // which deletes this hook: the loop holds the button and the alive flag,
    // and touches the hook only while the flag stands.
    std::shared_ptr<BOOL> pAlive = m_pAlive;
    const HWND hWnd = m_hwndFrame;
    pButton->InternalAddRef();
    const UINT nCommand = static_cast<UINT>(pButton->GetID());

    m_pButtonHot = pButton;
    m_bButtonPressed = TRUE;
    ::SetCapture(hWnd);
    RedrawFrame();
    BOOL bPressed = TRUE;
    MSG msg;
    while (*pAlive && ::IsWindow(hWnd) && ::GetCapture() == hWnd)
    {
        const BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (!bGot || msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            bPressed = FALSE;
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE)
        {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            const BOOL bOver = pButton->GetRect().PtInRect(ToWindow(pt));
            if (bOver != m_bButtonPressed)
            {
                m_bButtonPressed = bOver;
                RedrawFrame();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (!*pAlive || !::IsWindow(hWnd))
    {
        // The frame or its hook went inside the loop.
        if (::GetCapture() == hWnd)
            ::ReleaseCapture();
        pButton->InternalRelease();
        return;
    }
    bPressed = bPressed && m_bButtonPressed;
    m_pButtonHot = nullptr;
    m_bButtonPressed = FALSE;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    RedrawFrame();
    pButton->InternalRelease();
    if (bPressed)
        ::SendMessage(hWnd, WM_SYSCOMMAND, nCommand, 0);
}

void CQVTCommandBarsFrameHook::ShowSystemMenu(LPARAM lParam)
{
    m_pButtonHot = nullptr;
    RedrawFrame();
    ::SendMessage(m_hwndFrame, 0x0313, reinterpret_cast<WPARAM>(m_hwndFrame), lParam);
}

// The region.

void CQVTCommandBarsFrameHook::UpdateFrameRegion()
{
    if (!m_hwndFrame)
        return;
    CRect rc;
    ::GetWindowRect(m_hwndFrame, &rc);
    SetFrameRegion(rc.Size(), TRUE);
}

void CQVTCommandBarsFrameHook::SetFrameRegion(CSize sz, BOOL bForce)
{
    if (m_bInUpdateFrame || !m_hwndFrame)
        return;
    if (!bForce && sz == m_szFrameRegion)
        return;
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    m_bInUpdateFrame = TRUE;
    if (m_bDwmFrame)
    {
        int nTop = 0;
        if (m_pRibbonBar && !IsCaptionVisible())
        {
            nTop = GetCaptionHeight();
            if (pFramePaintManager && pFramePaintManager->m_bExtendTabsIntoFrame)
                nTop += m_pRibbonBar->GetTabsHeight() + QVTDpiScaler()->ScaleY(1);
        }
        if (m_bExtendTopDockBar && m_pCommandBars && m_pCommandBars->GetDockBar(0) &&
            m_pCommandBars->GetDockBar(0)->GetSafeHwnd())
        {
            CRect rcDock;
            m_pCommandBars->GetDockBar(0)->GetWindowRect(&rcDock);
            nTop += rcDock.Height();
        }
        CQVTWinThemeWrapper(FALSE).DwmExtendFrameIntoClientArea(m_hwndFrame, 0, nTop, 0, 0);
    }
    else
    {
        const DWORD dwStyle = GetStyle();
        HRGN hRgn = nullptr;
        if (IsMDIMaximized())
            hRgn = nullptr;
        else if ((dwStyle & WS_MAXIMIZE) && !(dwStyle & WS_CHILD))
        {
            MONITORINFO mi = {sizeof(mi)};
            CRect rcWindow;
            ::GetWindowRect(m_hwndFrame, &rcWindow);
            ::GetMonitorInfo(::MonitorFromWindow(m_hwndFrame, MONITOR_DEFAULTTONEAREST), &mi);
            CRect rcWork(mi.rcWork);
            rcWork.OffsetRect(-rcWindow.TopLeft());
            hRgn = ::CreateRectRgnIndirect(&rcWork);
        }
        else if (pFramePaintManager)
            hRgn = pFramePaintManager->CreateFrameRegion(this, sz);
        ::SetWindowRgn(m_hwndFrame, hRgn, TRUE);
    }
    m_szFrameRegion = sz;
    m_bInUpdateFrame = FALSE;
}

// The shadow.

BOOL CQVTCommandBarsFrameHook::IsShadowWindow(HWND hWnd) const
{
    return m_pShadow && hWnd && m_pShadow->IsShadowWindow(hWnd);
}

void CQVTCommandBarsFrameHook::CreateFrameShadow()
{
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    if (!m_hwndFrame || (GetStyle() & WS_CHILD) || !pFramePaintManager)
        return;
    RemoveFrameShadow();
    m_pShadow = pFramePaintManager->CreateShadow(CWnd::FromHandle(m_hwndFrame));
    if (m_pShadow)
        CQVTFrameShadowManager::GetInstance()->AddObserver(this);
}

void CQVTCommandBarsFrameHook::RemoveFrameShadow()
{
    if (!m_pShadow)
        return;
    CQVTFrameShadow* pShadow = m_pShadow;
    m_pShadow = nullptr;
    CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();
    pManager->RemoveObserver(this);
    const HWND hWndFrame = pShadow->GetFrame();
    if (pManager->GetShadow(hWndFrame) == pShadow)
        pManager->DisableShadow(hWndFrame);
    else if (pShadow->GetSafeHwnd())
        pShadow->DestroyWindow();
}

void CQVTCommandBarsFrameHook::OnShadowDestroyed(HWND, CQVTFrameShadow* pShadow)
{
    if (pShadow != m_pShadow)
        return;
    m_pShadow = nullptr;
    CQVTFrameShadowManager::GetInstance()->RemoveObserver(this);
}

// The window-event hook: the system redraws a reordered frame with its own
// scroll styles, so they are fixed again shortly after.

// Each hook counts itself once: a detach followed by the hook's deletion
// must not take another frame's use away.
void CQVTCommandBarsFrameHook::InstallWinEventHook()
{
    if (m_bWinEventUser)
        return;
    m_bWinEventUser = TRUE;
    if (++g_nFrameHookWinEventUsers == 1)
        FrameHookWinEvents().Install(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER,
                                     &CQVTCommandBarsFrameHook::WinEventProc);
}

void CQVTCommandBarsFrameHook::RemoveWinEventHook()
{
    if (!m_bWinEventUser || g_nFrameHookWinEventUsers == 0)
        return;
    m_bWinEventUser = FALSE;
    if (--g_nFrameHookWinEventUsers == 0)
        FrameHookWinEvents().Uninstall();
}

void CALLBACK CQVTCommandBarsFrameHook::WinEventProc(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG, LONG,
                                                     DWORD, DWORD)
{
    try
    {
        if (dwEvent != EVENT_OBJECT_REORDER)
            return;
        CQVTCommandBarsFrameHook* pHook = FromFrame(hWnd);
        if (!pHook || pHook->m_bDwmFrame)
            return;
        if (pHook->GetStyle() & (WS_CAPTION | WS_VSCROLL | WS_HSCROLL))
            ::SetTimer(hWnd, QVT_FRAMEHOOK_TIMER_SCROLLSTYLES, kFrameHookScrollStyleMilliseconds, nullptr);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}
