#include "toolkit/commandbars/customize/QVTCustomizeDropSource.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

CQVTCustomizeDropSource::CQVTCustomizeDropSource(CQVTCommandBars* pCommandBars)
    : m_hwndCapture(nullptr), m_pControl(nullptr), m_bMove(FALSE), m_bCopyOnly(FALSE), m_pTarget(nullptr),
      m_bTargetLost(FALSE), m_pCustomizeWindow(nullptr), m_pContextMenu(nullptr), m_ptStart(0, 0),
      m_pCommandBars(pCommandBars), m_hCursorNoDrop(nullptr), m_hCursorMove(nullptr), m_hCursorCopy(nullptr)
{
}

CQVTCustomizeDropSource::~CQVTCustomizeDropSource()
{
    SetCustomizeWindow(nullptr);
    if (m_pTarget)
    {
        m_pTarget->InternalRelease();
        m_pTarget = nullptr;
    }
}

void CQVTCustomizeDropSource::Register(CQVTCommandBar* pBar)
{
    if (pBar && !IsRegistered(pBar))
        m_arrTargets.push_back(pBar);
}

void CQVTCustomizeDropSource::Unregister(CQVTCommandBar* pBar)
{
    m_arrTargets.erase(std::remove(m_arrTargets.begin(), m_arrTargets.end(), pBar), m_arrTargets.end());
    // A bar destroyed under the drag is forgotten without hearing more.
    if (pBar && pBar == m_pTarget)
    {
        m_bTargetLost = TRUE;
        m_pTarget = nullptr;
        pBar->InternalRelease();
    }
}

BOOL CQVTCustomizeDropSource::IsRegistered(const CQVTCommandBar* pBar) const
{
    return std::find(m_arrTargets.begin(), m_arrTargets.end(), pBar) != m_arrTargets.end();
}

void CQVTCustomizeDropSource::SetCustomizeWindow(CWnd* pWnd, CQVTPopupBar* pContextMenu)
{
    if (pContextMenu)
        pContextMenu->InternalAddRef();
    if (m_pContextMenu)
        m_pContextMenu->InternalRelease();
    m_pContextMenu = pContextMenu;
    m_pCustomizeWindow = pWnd;
}

void CQVTCustomizeDropSource::ContextMenu(CPoint ptScreen)
{
    if (!m_pContextMenu || !m_pCustomizeWindow || !m_pCustomizeWindow->GetSafeHwnd())
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(m_pContextMenu);
    const UINT nFlags = m_pCommandBars && m_pCommandBars->IsLayoutRTL() ? 9 : 1;
    CQVTCommandBars::TrackPopupBar(m_pContextMenu, nFlags, ptScreen.x, ptScreen.y,
                                   m_pCommandBars ? m_pCommandBars->GetSite() : m_pCustomizeWindow);
}

HCURSOR CQVTCustomizeDropSource::GetCursor(UINT nId)
{
    HCURSOR& hCursor = nId == QVT_IDC_COMMANDBARS_DRAGCOPY   ? m_hCursorCopy
                       : nId == QVT_IDC_COMMANDBARS_DRAGMOVE ? m_hCursorMove
                                                             : m_hCursorNoDrop;
    if (!hCursor)
        hCursor = QVTResourceManager()->LoadCursor(nId);
    return hCursor ? hCursor : ::LoadCursor(nullptr, IDC_ARROW);
}

void CQVTCustomizeDropSource::UpdateCursor()
{
    UINT nId = QVT_IDC_COMMANDBARS_DRAGNONE;
    if (m_pTarget)
        nId = m_bMove && !m_bCopyOnly ? QVT_IDC_COMMANDBARS_DRAGMOVE : QVT_IDC_COMMANDBARS_DRAGCOPY;
    ::SetCursor(GetCursor(nId));
}

DWORD CQVTCustomizeDropSource::DoDragDrop(CQVTControl* pControl, BOOL bCopyOnly)
{
    if (!m_pCommandBars || !pControl || m_pControl)
        return qvtDropEffectNone;
    CWnd* pCaptureWnd = m_pCustomizeWindow ? m_pCustomizeWindow : m_pCommandBars->GetSite();
    if (!pCaptureWnd || !pCaptureWnd->GetSafeHwnd())
        return qvtDropEffectNone;

    // The loop dispatches messages whose handlers may release the control,
    // the bars' last reference included.
    CQVTObjectRef<CQVTControl> keepControl(pControl);
    m_pControl = pControl;
    m_bCopyOnly = bCopyOnly;
    m_bMove = FALSE;
    m_bTargetLost = FALSE;
    m_hwndCapture = pCaptureWnd->GetSafeHwnd();
    ::GetCursorPos(&m_ptStart);
    ::SetCapture(m_hwndCapture);
    // The bars' keyboard hook lets Escape and Ctrl through to the loop.
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    pMouseManager->EnterDragLoop();

    LoopEnd end = loopGoesOn;
    BOOL bFirstMove = TRUE;
    CPoint ptLast = m_ptStart;
    while (end == loopGoesOn)
    {
        if (::GetCapture() != m_hwndCapture)
        {
            end = loopCancel;
            break;
        }
        MSG msg;
        const BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1)
        {
            if (bGot == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            end = loopCancel;
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            ptLast = msg.pt;
        end = RunMessage(msg, bFirstMove);
    }

    DWORD dwEffect = qvtDropEffectCancelled;
    if (end == loopDrop)
        dwEffect = DropOnTarget(ptLast);
    LeaveTarget();
    pMouseManager->ExitDragLoop();
    if (::GetCapture() == m_hwndCapture)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    m_pControl = nullptr;
    m_hwndCapture = nullptr;
    return dwEffect;
}

CQVTCustomizeDropSource::LoopEnd CQVTCustomizeDropSource::RunMessage(MSG& msg, BOOL& bFirstMove)
{
    switch (msg.message)
    {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            return loopCancel;
        if (msg.wParam == VK_CONTROL)
        {
            m_bMove = msg.message == WM_KEYUP;
            UpdateCursor();
        }
        return loopGoesOn;
    case WM_MOUSEMOVE:
        if (bFirstMove)
        {
            // The drag has begun: the control hears of it at its start point
            // (its bar lets go of its popup and selection there).
            bFirstMove = FALSE;
            CPoint ptStart = m_ptStart;
            if (CQVTCommandBar* pParent = m_pControl->GetParent())
                if (pParent->GetSafeHwnd())
                    pParent->ScreenToClient(&ptStart);
            m_pControl->OnCustomizeDragOver(m_pControl, ptStart);
        }
        m_bMove = (msg.wParam & MK_CONTROL) == 0;
        TrackTarget(msg.pt);
        if (!(msg.wParam & MK_LBUTTON))
            return loopDrop;
        return loopGoesOn;
    case WM_LBUTTONUP:
        return loopDrop;
    case WM_RBUTTONDOWN:
        return loopCancel;
    default:
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        return loopGoesOn;
    }
}

CQVTCommandBar* CQVTCustomizeDropSource::FindTargetAt(CPoint ptScreen) const
{
    HWND hwndUnder = ::WindowFromPoint(ptScreen);
    for (auto it = m_arrTargets.rbegin(); it != m_arrTargets.rend(); ++it)
    {
        CQVTCommandBar* pBar = *it;
        HWND hwndBar = pBar->GetSafeHwnd();
        if (!hwndBar || !::IsWindowVisible(hwndBar))
            continue;
        CRect rcWindow;
        ::GetWindowRect(hwndBar, &rcWindow);
        if (!rcWindow.PtInRect(ptScreen))
            continue;
        if (hwndUnder == hwndBar || ::IsChild(hwndBar, hwndUnder))
            return pBar;
    }
    return nullptr;
}

void CQVTCustomizeDropSource::SetTarget(CQVTCommandBar* pTarget)
{
    if (pTarget)
        pTarget->InternalAddRef();
    if (m_pTarget)
        m_pTarget->InternalRelease();
    m_pTarget = pTarget;
}

void CQVTCustomizeDropSource::LeaveTarget()
{
    if (!m_pTarget)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(m_pTarget);
    SetTarget(nullptr);
    if (keepAlive.Get()->GetSafeHwnd())
        keepAlive.Get()->OnCustomizeDragLeave();
}

void CQVTCustomizeDropSource::TrackTarget(CPoint ptScreen)
{
    // A target whose window went while the loop dispatched is forgotten.
    if (m_pTarget && !m_pTarget->GetSafeHwnd())
    {
        m_bTargetLost = TRUE;
        SetTarget(nullptr);
    }
    CQVTCommandBar* pFound = FindTargetAt(ptScreen);
    CQVTObjectRef<CQVTCommandBar> keepFound(pFound);
    if (pFound && pFound == m_pTarget)
    {
        CPoint pt = ptScreen;
        pFound->ScreenToClient(&pt);
        if (pFound->OnCustomizeDragOver(m_pControl, pt) == qvtDropEffectNone)
            LeaveTarget();
    }
    else
    {
        LeaveTarget();
        if (pFound && pFound->GetSafeHwnd())
        {
            CPoint pt = ptScreen;
            pFound->ScreenToClient(&pt);
            if (pFound->OnCustomizeDragEnter(m_pControl, pt) != qvtDropEffectNone && pFound->GetSafeHwnd())
                SetTarget(pFound);
        }
    }
    UpdateCursor();
}

DWORD CQVTCustomizeDropSource::DropOnTarget(CPoint ptScreen)
{
    if (m_pTarget && !m_pTarget->GetSafeHwnd())
    {
        m_bTargetLost = TRUE;
        SetTarget(nullptr);
    }
    // Dropped where a bar went away under the drag: the source keeps its
    // control rather than losing it to a bar that is gone.
    if (!m_pTarget)
        return m_bTargetLost ? qvtDropEffectCancelled : qvtDropEffectNone;
    CQVTObjectRef<CQVTCommandBar> keepAlive(m_pTarget);
    CQVTCommandBar* pTarget = m_pTarget;
    SetTarget(nullptr);
    DWORD dwEffect = m_bMove && !m_bCopyOnly ? qvtDropEffectMove : qvtDropEffectCopy;
    CPoint ptDrop = ptScreen;
    CPoint ptStart = m_ptStart;
    pTarget->ScreenToClient(&ptDrop);
    pTarget->ScreenToClient(&ptStart);
    pTarget->OnCustomizeDrop(m_pControl, dwEffect, ptDrop, ptStart);
    return dwEffect;
}
