#include "toolkit/commandbars/managers/QVTMouseManager.h"

#include <algorithm>
#include <exception>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

namespace {

CThreadLocal<CQVTMouseManager> s_mouseManager;

const POINT kNoPosition = {-32000, -32000};

BOOL IsButtonDown(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL IsImeWindow(HWND hWnd)
{
    return hWnd && (::GetClassLongPtr(hWnd, GCL_STYLE) & CS_IME) != 0;
}

}  // namespace

CQVTMouseManager::CQVTMouseManager()
    : m_nCaptureCount(0), m_hHookMouse(nullptr), m_pSelectionBar(nullptr), m_hWndMouseLeave(nullptr),
      m_bSwallowNextButtonUp(FALSE), m_ptLast(kNoPosition), m_pModuleState(nullptr), m_bMenusExpanded(FALSE),
      m_nDragLoop(0)
{
    HINSTANCE hModule = AfxGetModuleState()->m_hCurrentInstanceHandle;
    m_hHookMouse = ::SetWindowsHookEx(WH_MOUSE, &MouseProc, hModule ? hModule : ::GetModuleHandle(nullptr),
                                      ::GetCurrentThreadId());
}

CQVTMouseManager::~CQVTMouseManager()
{
    if (m_hHookMouse)
        ::UnhookWindowsHookEx(m_hHookMouse);
    if (m_hWndMouseLeave && ::IsWindow(m_hWndMouseLeave))
        ::KillTimer(m_hWndMouseLeave, TIMER_MOUSELEAVE);
}

CQVTMouseManager* AFX_CDECL CQVTMouseManager::GetThreadManager()
{
    return s_mouseManager.GetData();
}

// Tracked bars.

CQVTCommandBar* CQVTMouseManager::GetTrackedAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetTrackCount())
        return nullptr;
    return m_arrTracked[static_cast<size_t>(nIndex)];
}

BOOL CQVTMouseManager::IsTracked(CQVTCommandBar* pBar) const
{
    return std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) != m_arrTracked.end();
}

void CQVTMouseManager::SetTrack(CQVTCommandBar* pBar)
{
    m_pModuleState = AfxGetModuleState();
    if (m_arrTracked.empty() && m_pSelectionBar && m_pSelectionBar != pBar)
    {
        CQVTCommandBar* pOld = m_pSelectionBar;
        m_pSelectionBar = nullptr;
        if (pOld->GetSafeHwnd())
            pOld->ClearSelection();
    }
    if (pBar && !IsTracked(pBar))
        m_arrTracked.push_back(pBar);
}

void CQVTMouseManager::RemoveTrack(CQVTCommandBar* pBar)
{
    auto it = std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar);
    if (it != m_arrTracked.end())
        m_arrTracked.erase(it);
    if (m_arrTracked.empty())
    {
        m_ptLast = kNoPosition;
        m_bMenusExpanded = FALSE;
        // A move to where the cursor is lets hot tracking look again.
        POINT pt;
        if (::GetCursorPos(&pt))
            ::SetCursorPos(pt.x, pt.y);
    }
    m_bSwallowNextButtonUp = FALSE;
}

void CQVTMouseManager::SendTrackLost()
{
    while (!m_arrTracked.empty())
    {
        CQVTCommandBar* pBar = m_arrTracked.front();
        CQVTObjectRef<CQVTCommandBar> keepAlive(pBar);
        pBar->OnTrackLost();
        // A bar that stays (a window already gone) is let go of here.
        if (!m_arrTracked.empty() && m_arrTracked.front() == pBar)
            RemoveTrack(pBar);
    }
}

void CQVTMouseManager::SendTrackLostRecurse()
{
    if (m_arrTracked.empty() || m_arrTracked.front()->GetPopupLock() <= 0)
        return;
    const std::vector<CQVTCommandBar*> tracked = m_arrTracked;
    for (CQVTCommandBar* pBar : tracked)
    {
        if (!IsTracked(pBar) || pBar->GetPopupLock() > 0)
            continue;
        CQVTObjectRef<CQVTCommandBar> keepAlive(pBar);
        pBar->OnTrackLost();
    }
}

void CQVTMouseManager::LockMouseMove(BOOL bLock)
{
    for (CQVTCommandBar* pBar : m_arrTracked)
        pBar->AdjustPopupLock(bLock ? 1 : -1);
}

BOOL CQVTMouseManager::IsTrackedLock(const CQVTCommandBar* pBar) const
{
    if (m_arrTracked.empty())
        return FALSE;
    if (!pBar || pBar->GetPopupLock() > 0)
        return TRUE;
    return std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) == m_arrTracked.end();
}

void CQVTMouseManager::RemoveCapture()
{
    if (m_nCaptureCount > 0)
        --m_nCaptureCount;
}

void CQVTMouseManager::OnBarRemoved(CQVTCommandBar* pBar)
{
    if (m_pSelectionBar == pBar)
        m_pSelectionBar = nullptr;
    if (IsTracked(pBar))
        RemoveTrack(pBar);
}

BOOL CQVTMouseManager::BarHoldsPoint(CQVTCommandBar* pBar, HWND hWndUnder, POINT ptScreen) const
{
    HWND hBar = pBar->GetSafeHwnd();
    if (!hBar)
        return FALSE;
    if (pBar->IsPointInBar(ptScreen) == TRUE)
        return TRUE;
    for (HWND hWnd = hWndUnder; hWnd; hWnd = ::GetParent(hWnd))
        if (hWnd == hBar)
            return TRUE;
    return FALSE;
}

CQVTCommandBar* CQVTMouseManager::HitTestTrackedBar(POINT ptScreen) const
{
    HWND hWndUnder = ::WindowFromPoint(ptScreen);
    for (auto it = m_arrTracked.rbegin(); it != m_arrTracked.rend(); ++it)
    {
        CQVTCommandBar* pBar = *it;
        if (!pBar->GetSafeHwnd())
            continue;
        const BOOL bInBar = pBar->IsPointInBar(ptScreen);
        if (bInBar == -2)
            continue;
        if (bInBar == TRUE || (hWndUnder && ::IsChild(pBar->GetSafeHwnd(), hWndUnder)))
            return pBar;
    }
    return nullptr;
}

// Trusted windows.

void CQVTMouseManager::AddTrustedWindow(HWND hWnd)
{
    if (hWnd && !IsTrustedWindow(hWnd))
        m_arrTrusted.push_back(hWnd);
}

void CQVTMouseManager::RemoveTrustedWindow(HWND hWnd)
{
    auto it = std::find(m_arrTrusted.begin(), m_arrTrusted.end(), hWnd);
    if (it != m_arrTrusted.end())
        m_arrTrusted.erase(it);
}

BOOL CQVTMouseManager::IsTrustedWindow(HWND hWnd) const
{
    for (HWND hTrusted : m_arrTrusted)
        if (hWnd && (hWnd == hTrusted || ::IsChild(hTrusted, hWnd)) && ::IsWindowVisible(hTrusted))
            return TRUE;
    return FALSE;
}

// The popup loop's question.

BOOL CQVTMouseManager::PreviewTrackLost(CQVTCommandBar* pPopup, const MSG* pMsg) const
{
    if (!pMsg)
        return FALSE;
    switch (pMsg->message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        break;
    default:
        return FALSE;
    }
    if (m_arrTracked.empty())
        return TRUE;
    const POINT pt = pMsg->pt;
    HWND hWndUnder = ::WindowFromPoint(pt);
    const BOOL bPopupLocked = pPopup && pPopup->GetPopupLock() > 0;
    for (CQVTCommandBar* pBar : m_arrTracked)
        if (BarHoldsPoint(pBar, hWndUnder, pt) && (pBar->GetPopupLock() <= 0 || bPopupLocked))
            return FALSE;
    if (IsTrustedWindow(hWndUnder) || IsImeWindow(hWndUnder))
        return FALSE;
    return TRUE;
}

// The mouse hook.

void CQVTMouseManager::ProcessTrackedBars(UINT message, POINT ptScreen)
{
    HWND hWndUnder = ::WindowFromPoint(ptScreen);
    for (auto it = m_arrTracked.rbegin(); it != m_arrTracked.rend(); ++it)
    {
        CQVTCommandBar* pBar = *it;
        if (!BarHoldsPoint(pBar, hWndUnder, ptScreen))
            continue;
        if (pBar->GetPopupLock() > 0 && IsButtonDown(message) && !m_bSwallowNextButtonUp)
        {
            // A click on a parent menu closes the child popups above it.
            SendTrackLostRecurse();
            m_ptLast = kNoPosition;
        }
        return;
    }
    if (IsTrustedWindow(hWndUnder) || IsImeWindow(hWndUnder))
        return;
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
    {
        const std::vector<CQVTCommandBar*> tracked = m_arrTracked;
        for (CQVTCommandBar* pBar : tracked)
        {
            if (!IsTracked(pBar) || pBar->GetPopupLock() > 0 || !pBar->GetSafeHwnd())
                continue;
            POINT ptClient = ptScreen;
            pBar->ScreenToClient(&ptClient);
            pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
        }
        return;
    }
    if (IsButtonDown(message))
        SendTrackLost();
    else if ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && !IsMouseLocked())
        SendTrackLost();
}

BOOL CQVTMouseManager::OnMouseHook(UINT message, POINT ptScreen)
{
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        m_bSwallowNextButtonUp = FALSE;
    else if ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && m_bSwallowNextButtonUp)
    {
        m_bSwallowNextButtonUp = FALSE;
        return TRUE;
    }
    if (!m_arrTracked.empty() && m_pModuleState)
    {
        if (message == WM_MOUSEMOVE && ptScreen.x == m_ptLast.x && ptScreen.y == m_ptLast.y)
            return FALSE;
        m_ptLast = ptScreen;
        ProcessTrackedBars(message, ptScreen);
    }
    return FALSE;
}

LRESULT CALLBACK CQVTMouseManager::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CQVTMouseManager* pManager = s_mouseManager.GetDataNA();
    if (pManager && nCode == HC_ACTION && lParam)
    {
        const MOUSEHOOKSTRUCT* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        try
        {
            if (pManager->OnMouseHook(static_cast<UINT>(wParam), pInfo->pt))
                return 1;
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (const std::exception&)
        {
        }
    }
    return ::CallNextHookEx(pManager ? pManager->m_hHookMouse : nullptr, nCode, wParam, lParam);
}

// Mouse-leave emulation: the system's own would not come while another
// window (a popup) has captured or covers the bar.

void CQVTMouseManager::TrackMouseLeave(HWND hWnd)
{
    if (hWnd == m_hWndMouseLeave)
        return;
    HWND hOld = m_hWndMouseLeave;
    m_hWndMouseLeave = nullptr;
    if (hOld && ::IsWindow(hOld))
    {
        ::KillTimer(hOld, TIMER_MOUSELEAVE);
        ::SendMessage(hOld, WM_MOUSELEAVE, 0, 0);
    }
    m_hWndMouseLeave = hWnd;
    if (hWnd)
        ::SetTimer(hWnd, TIMER_MOUSELEAVE, 50, &MouseLeaveTimerProc);
}

void CQVTMouseManager::OnMouseLeaveTimer(HWND hWnd)
{
    if (hWnd != m_hWndMouseLeave)
    {
        ::KillTimer(hWnd, TIMER_MOUSELEAVE);
        return;
    }
    if (::IsWindow(hWnd))
    {
        POINT pt;
        RECT rc;
        ::GetCursorPos(&pt);
        ::GetWindowRect(hWnd, &rc);
        const BOOL bInRect = ::PtInRect(&rc, pt);
        const BOOL bCounts = !::GetParent(hWnd) || (::GetWindowLong(hWnd, GWL_STYLE) & WS_POPUP) ||
                             CQVTDrawHelpers::IsApplicationActive(hWnd);
        if (bInRect && bCounts)
            return;
    }
    ::KillTimer(hWnd, TIMER_MOUSELEAVE);
    m_hWndMouseLeave = nullptr;
    if (::IsWindow(hWnd))
        ::PostMessage(hWnd, WM_MOUSELEAVE, 0, 0);
}

void CALLBACK CQVTMouseManager::MouseLeaveTimerProc(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    CQVTMouseManager* pManager = s_mouseManager.GetDataNA();
    if (!pManager)
    {
        ::KillTimer(hWnd, TIMER_MOUSELEAVE);
        return;
    }
    try
    {
        pManager->OnMouseLeaveTimer(hWnd);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::exception&)
    {
    }
}
