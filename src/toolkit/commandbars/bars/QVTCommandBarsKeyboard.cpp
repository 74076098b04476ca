// The bars' keyboard across their bars: mnemonics that find a control on any
// shown bar, the bar that takes the keyboard, and popup menus tracked in a
// loop of their own until a command comes back. (A second file of
// CQVTCommandBars: the bar list and the site's messages are
// QVTCommandBars.cpp.)
#include "toolkit/commandbars/bars/QVTCommandBars.h"

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"

CQVTMouseManager* AFX_CDECL CQVTCommandBars::GetMouseManager()
{
    return CQVTMouseManager::GetThreadManager();
}

CQVTKeyboardManager* AFX_CDECL CQVTCommandBars::GetKeyboardManager()
{
    return CQVTKeyboardManager::GetThreadManager();
}

void AFX_CDECL CQVTCommandBars::ClosePopups(CQVTCommandBars*)
{
    CQVTMouseManager::GetThreadManager()->SendTrackLost();
}

void CQVTCommandBars::OnTrackingModeChanged(CQVTCommandBar*, int nMode)
{
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (nMode == 0 && m_bKeyboardCuesToggling && pMouseManager->GetTrackCount() == 0)
        ShowKeyboardCues(FALSE);
    if (m_nKeyboardTipsLevel > 0 && m_pOptions->bShowKeyboardTips)
    {
        HideKeyboardTips();
        CQVTCommandBar* pLast = pMouseManager->GetLastTracked();
        if (pLast && pLast->GetSafeHwnd() && pLast->GetSelectionReason() != CQVTCommandBar::selectByMouse)
            pLast->PostMessage(WM_TIMER, CQVTCommandBar::TIMER_KEYBOARDTIPS, 0);
    }
    if (m_pToolTipContext)
        m_pToolTipContext->DeactivateToolTip();
}

// Mnemonics.

CQVTControl* CQVTCommandBars::GetNextControl(CQVTControls*& pControls, int& nIndex) const
{
    if (!pControls)
        return nullptr;
    CQVTCommandBar* pStartBar = pControls->GetParent();
    int nNext = pControls->GetNextIndex(nIndex, 1, TRUE, FALSE, TRUE);
    const BOOL bWrapped = nNext == -1 || nNext <= nIndex;
    if (!(m_pOptions->keyboardCuesUse & 1) || !bWrapped || !pStartBar || pStartBar->GetParentCommandBar())
    {
        nIndex = nNext;
        return pControls->GetAt(nNext);
    }
    // On to the first navigable control of the next shown bar.
    const int nStart = FindIndex(pStartBar);
    for (int nStep = 1; nStep <= GetCount(); ++nStep)
    {
        CQVTCommandBar* pBar = GetAt((nStart + nStep) % GetCount());
        if (!pBar || !pBar->IsVisible())
            continue;
        const int nFirst = pBar->GetControls()->GetNextIndex(-1, 1, TRUE, FALSE, TRUE);
        if (nFirst == -1)
            continue;
        pControls = pBar->GetControls();
        nIndex = nFirst;
        return pControls->GetAt(nFirst);
    }
    nIndex = nNext;
    return pControls->GetAt(nNext);
}

CQVTControl* CQVTCommandBars::FindAccelControl(CQVTCommandBar* pBar, UINT nChar, BOOL& bAmbiguous)
{
    bAmbiguous = FALSE;
    if (!pBar)
        return nullptr;
    CQVTControls* pControls = pBar->GetControls();
    int nIndex = pBar->GetSelectedIndex();
    const int nUse = m_pOptions->keyboardCuesUse;
    CQVTControl* pMarked = nullptr;
    CQVTControl* pUnmarked = nullptr;
    CQVTControl* pStart = nullptr;
    // Every control is met once; the walk ends where it began.
    const int kMaxSteps = 100000;
    for (int nStep = 0; nStep < kMaxSteps; ++nStep)
    {
        CQVTControl* pControl = GetNextControl(pControls, nIndex);
        if (!pControl || pControl == pStart)
            break;
        if (!pStart)
            pStart = pControl;
        if (!pControl->GetEnabled() || !pControl->IsCaptionVisible())
            continue;
        const CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty())
            continue;
        const int nPos = CQVTShortcutManager::FindAccelPos(strCaption);
        if (nPos >= 0)
        {
            if (!CQVTShortcutManager::CompareAccelKey(strCaption[nPos + 1], nChar))
                continue;
            if (pMarked)
            {
                bAmbiguous = TRUE;
                return pMarked;
            }
            pMarked = pControl;
            continue;
        }
        CQVTCommandBar* pParent = pControl->GetParent();
        const BOOL bMayMatchFirst =
            !(nUse & 4) && pParent && (pParent->GetType() == qvtBarTypeMenuBar || pParent->IsTrackingMode());
        if (bMayMatchFirst && CQVTShortcutManager::CompareAccelKey(strCaption[0], nChar))
        {
            if (pUnmarked)
                bAmbiguous = TRUE;
            else
                pUnmarked = pControl;
        }
    }
    if (pMarked)
    {
        bAmbiguous = FALSE;
        return pMarked;
    }
    return pUnmarked;
}

BOOL CQVTCommandBars::ProcessMnemonic(UINT nChar)
{
    const int nUse = m_pOptions->keyboardCuesUse;
    if (nUse == 2)
        return FALSE;
    if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9 && !m_pOptions->bUseNumPadMnemonics)
        return FALSE;
    if (::MapVirtualKey(nChar, MAPVK_VK_TO_CHAR) == 0)
        return FALSE;

    CQVTCommandBar* pTarget = nullptr;
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar->IsTrackingMode())
        {
            pTarget = pBar;
            break;
        }
    if (!pTarget)
    {
        CQVTCommandBar* pMenuBar = GetMenuBar();
        if (pMenuBar && pMenuBar->IsVisible())
            pTarget = pMenuBar;
    }
    if (!pTarget && (nUse & 1))
        for (CQVTCommandBar* pBar : m_arrBars)
            if (pBar->IsVisible())
            {
                pTarget = pBar;
                break;
            }
    if (!pTarget || !pTarget->IsVisible())
        return FALSE;
    CQVTObjectRef<CQVTCommandBar> keepTarget(pTarget);
    if (pTarget->OnMnemonicKey(nChar))
        return TRUE;

    BOOL bAmbiguous = FALSE;
    CQVTControl* pControl = FindAccelControl(pTarget, nChar, bAmbiguous);
    if (!pControl || !pControl->GetParent())
        return FALSE;
    CQVTCommandBar* pBar = pControl->GetParent();
    CQVTObjectRef<CQVTCommandBar> keepBar(pBar);
    CQVTObjectRef<CQVTControl> keepControl(pControl);
    if (!pBar->IsTrackingMode())
        ClosePopups(this);
    ShowKeyboardCues(TRUE);
    m_nKeyboardTipsLevel = 1;
    pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pBar->SetSelected(pControl->GetIndex(), CQVTCommandBar::selectByMnemonic);
    if (!bAmbiguous)
        pControl->OnUnderlineActivate();
    return TRUE;
}

// The bar that takes the keyboard.

int CQVTCommandBars::GetNextVisibleBar(int nIndex, int nDirection) const
{
    const int nCount = GetCount();
    if (nCount == 0 || (nDirection != 1 && nDirection != -1))
        return -1;
    int i = nIndex;
    if (i == -1 && nDirection == -1)
        i = nCount;
    BOOL bWrapped = FALSE;
    for (int nStep = 0; nStep <= nCount + 1; ++nStep)
    {
        i += nDirection;
        if (i < 0 || i >= nCount)
        {
            if (bWrapped || nIndex == -1)
                return -1;
            bWrapped = TRUE;
            i = nDirection > 0 ? 0 : nCount - 1;
        }
        CQVTCommandBar* pBar = GetAt(i);
        if (pBar && pBar->IsVisible() && pBar->GetSafeHwnd() && ::IsWindowVisible(pBar->GetSafeHwnd()))
            return i;
    }
    return -1;
}

BOOL CQVTCommandBars::SetFocusedCommandBar(CQVTCommandBar* pBar, int nDirection)
{
    if (!pBar)
        return FALSE;
    if (nDirection != 0)
    {
        if (GetCount() < 2)
            return FALSE;
        const int nNext = GetNextVisibleBar(FindIndex(pBar), nDirection);
        CQVTCommandBar* pNext = GetAt(nNext);
        if (!pNext || pNext == pBar)
            return FALSE;
        pBar = pNext;
    }
    CQVTObjectRef<CQVTCommandBar> keepAlive(pBar);
    ClosePopups(this);
    ShowKeyboardCues(TRUE);
    m_nKeyboardTipsLevel = 1;
    pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    const BOOL bSkipTemporary = pBar->GetType() != qvtBarTypeMenuBar;
    pBar->SetSelected(pBar->GetControls()->GetNextIndex(-1, 1, TRUE, bSkipTemporary, TRUE),
                      CQVTCommandBar::selectByKeyboardForward);
    return TRUE;
}

// Modal popups.

int AFX_CDECL CQVTCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd,
                                              LPCRECT lpExclude, CWnd* pWndOwner,
                                              CQVTCommandBars* pCommandBars)
{
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(pCommandBars);
    pPopup->SetOwner(pWnd);
    pPopup->SetOwnerOverride(pWndOwner);
    if (!pPopup->LoadMenu(pMenu, TRUE))
    {
        pPopup->InternalRelease();
        return FALSE;
    }
    const MSG* pCurrent = CWnd::GetCurrentMessage();
    if (pCommandBars && pCurrent && pCurrent->message == WM_CONTEXTMENU && pCurrent->lParam == -1)
        pCommandBars->ShowKeyboardCues(TRUE);
    const int nResult = TrackPopupBar(pPopup, nFlags, x, y, pWnd, lpExclude, pWndOwner);
    pPopup->InternalRelease();
    return nResult;
}

int AFX_CDECL CQVTCommandBars::TrackPopupBar(CQVTPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd,
                                             LPCRECT lpExclude, CWnd* pWndOwner)
{
    if (!pPopup)
        return FALSE;
    CQVTObjectRef<CQVTCommandBar> keepAlive(pPopup);
    CQVTCommandBars* pCommandBars = pPopup->GetCommandBars();
    const MSG* pCurrent = CWnd::GetCurrentMessage();
    if (pCommandBars && pCurrent && pCurrent->message == WM_CONTEXTMENU && pCurrent->lParam == -1)
        pCommandBars->ShowKeyboardCues(TRUE);

    if (!pWnd)
        pWnd = pPopup->GetSite();
    pPopup->SetOwner(pWnd);
    if (pWndOwner)
        pPopup->SetOwnerOverride(pWndOwner);
    if (pWnd && pWnd->GetSafeHwnd() && (pWnd->GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)))
        nFlags |= TPM_RIGHTALIGN;

    int nResult = 1;
    const BOOL bReturnCommand = (nFlags & TPM_RETURNCMD) != 0;
    if (bReturnCommand)
    {
        nResult = 0;
        pPopup->SetCommandResult(&nResult);
    }
    const BOOL bRecurse = (nFlags & TPM_RECURSE) != 0;
    pPopup->SetTrackingFlags((nFlags & TPM_RIGHTBUTTON) != 0, (nFlags & TPM_NONOTIFY) != 0, bRecurse);
    DWORD dwDirection =
        (nFlags & TPM_BOTTOMALIGN) ? CQVTPopupBar::directionBottomAlign : CQVTPopupBar::directionBelow;
    if (nFlags & TPM_RIGHTALIGN)
        dwDirection |= CQVTPopupBar::directionReversed;
    pPopup->SetDirectionFlags(dwDirection);

    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (bRecurse)
    {
        pMouseManager->SendTrackLostRecurse();
        pMouseManager->LockMouseMove(TRUE);
    }
    else
    {
        pMouseManager->SendTrackLost();
        ::ReleaseCapture();
    }
    pMouseManager->SetSwallowNextButtonUp(TRUE);

    CRect rcExclude(0, 0, 0, 0);
    if (lpExclude)
        rcExclude = *lpExclude;
    if (!pPopup->PopupAt(x, y, &rcExclude, FALSE))
    {
        if (bRecurse)
            pMouseManager->LockMouseMove(FALSE);
        pPopup->SetCommandResult(nullptr);
        return FALSE;
    }
    PumpTrackingMessages(pPopup);
    if (bRecurse)
        pMouseManager->LockMouseMove(FALSE);
    pPopup->SetCommandResult(nullptr);
    return bReturnCommand ? nResult : 1;
}

void AFX_CDECL CQVTCommandBars::PumpTrackingMessages(CQVTCommandBar* pPopup)
{
    if (!pPopup)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(pPopup);
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    while (pPopup->IsTrackingMode())
    {
        MSG msg;
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            ::WaitMessage();
            continue;
        }
        if (pMouseManager->PreviewTrackLost(pPopup, &msg))
        {
            // The click that ends the menu stays queued for its window.
            pPopup->OnTrackLost();
            break;
        }
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT)
        {
            // The application is quitting: the menu ends, the quit goes on.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            pPopup->OnTrackLost();
            break;
        }
        if (!pPopup->IsTrackingMode())
        {
            ::PostMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (msg.message == WM_KICKIDLE)
            continue;
        if (!AfxPreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
}
