// The bar's keys while it tracks: the thread's keyboard manager offers them
// through OnHookMessage; navigation, mnemonics and the keyboard tips' typed
// characters are answered here. (A second file of CQVTCommandBar: the window
// and drawing side is QVTCommandBar.cpp.)
#include "toolkit/commandbars/bars/QVTCommandBar.h"

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"

namespace {

BOOL IsKeyPressed(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

}  // namespace

void CQVTCommandBar::SetTrackingFlags(BOOL bRightButton, BOOL bNoNotify, BOOL bRecurse)
{
    m_bRightButtonTracking = bRightButton;
    m_bNoNotify = bNoNotify;
    m_bRecursePopup = bRecurse;
}

BOOL CQVTCommandBar::IsHorizontalBar() const
{
    if (m_barPosition == qvtBarTop || m_barPosition == qvtBarBottom || m_barPosition == qvtBarFloating)
        return TRUE;
    return m_barPosition == qvtBarPopup && m_barType == qvtBarTypeNormal;
}

int CQVTCommandBar::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&)
{
    if (!m_nTrackingMode)
        return hookContinue;
    if (nMessage == WM_KEYDOWN)
        return OnHookKeyDown(static_cast<UINT>(wParam), lParam);
    if (nMessage == WM_MOUSEWHEEL)
    {
        CQVTControl* pSelected = GetControl(m_nSelected);
        if (pSelected && pSelected->GetFocused())
        {
            pSelected->OnHookMouseWheel(wParam, lParam);
            return hookHandled;
        }
        HWND hFocus = ::GetFocus();
        return hFocus && GetSafeHwnd() && ::IsChild(m_hWnd, hFocus) ? hookStop : hookHandled;
    }
    return hookContinue;
}

int CQVTCommandBar::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (IsCustomizeMode() || IsInHelpMode())
        return keyPassOn;
    if (m_nPopupLock > 0)
        return keyHandled;

    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
    {
        pSite->SendMessage(QVTWM_TRACKINGKEY, reinterpret_cast<WPARAM>(&nChar),
                           reinterpret_cast<LPARAM>(this));
        // The site may have closed (and destroyed) the bar meanwhile.
        if (!GetSafeHwnd() || !m_nTrackingMode)
            return keyHandled;
    }

    CQVTControl* pSelected = GetControl(m_nSelected);
    if (pSelected && pSelected->GetFocused())
    {
        const int nAnswer = pSelected->OnHookKeyDown(nChar, lParam);
        if (nAnswer == keyHandled || nAnswer == keyPassOn)
            return nAnswer;
    }
    if (!GetSafeHwnd())
        return keyHandled;

    const BOOL bControl = IsKeyPressed(VK_CONTROL);
    int nAnswer = keyHandled;
    if (ProcessCommandKey(nChar, nAnswer))
        return nAnswer;

    HWND hFocus = ::GetFocus();
    if (hFocus && ::IsChild(m_hWnd, hFocus))
        return keyPassOn;

    const int nCode = GetArrowNavigation(nChar);
    if (nCode != -1)
        return ProcessNavigationKey(nCode) ? keyHandled : keyNotForBar;
    if (::MapVirtualKey(nChar, MAPVK_VK_TO_CHAR) != 0)
        ProcessCharacterKey(nChar, bControl);
    return keyHandled;
}

// Tab, Enter, Escape and Space; FALSE when the key is none of them (or
// Space opened no system menu).
BOOL CQVTCommandBar::ProcessCommandKey(UINT nChar, int& nAnswer)
{
    const BOOL bShift = IsKeyPressed(VK_SHIFT);
    const BOOL bControl = IsKeyPressed(VK_CONTROL);
    nAnswer = keyHandled;
    switch (nChar)
    {
    case VK_TAB:
    {
        CQVTCommandBars* pCommandBars = GetCommandBars();
        if (bControl && pCommandBars && !GetParentCommandBar() && m_barType == qvtBarTypeNormal &&
            m_barPosition != qvtBarPopup)
        {
            if (pCommandBars->SetFocusedCommandBar(this, bShift ? -1 : 1))
                return TRUE;
        }
        ProcessNavigationKey(bShift ? navigatePrevious : navigateNext);
        CQVTControl* pNew = GetControl(m_nSelected);
        if (pNew && pNew->IsFocusable())
            pNew->SetFocused(TRUE);
        return TRUE;
    }
    case VK_RETURN:
        nAnswer = ProcessNavigationKey(navigateExecute) ? keyHandled : keyNotForBar;
        return TRUE;
    case VK_ESCAPE:
        nAnswer = ProcessNavigationKey(navigateEscape) ? keyHandled : keyNotForBar;
        return TRUE;
    case VK_SPACE:
        return ProcessNavigationKey(navigateSystemMenu);
    default:
        return FALSE;
    }
}

// The navigation an arrow, Home or End key means on this bar, or -1.
int CQVTCommandBar::GetArrowNavigation(UINT nChar) const
{
    const BOOL bRightToLeft = IsLayoutRTL();
    const BOOL bHorizontal = IsHorizontalBar();
    int nCode = -1;
    switch (nChar)
    {
    case VK_LEFT:
        if (bHorizontal)
            nCode = bRightToLeft ? navigateNextHorizontal : navigatePreviousHorizontal;
        else
            nCode = bRightToLeft ? navigateExpand : navigateCollapse;
        break;
    case VK_RIGHT:
        if (bHorizontal)
            nCode = bRightToLeft ? navigatePreviousHorizontal : navigateNextHorizontal;
        else
            nCode = bRightToLeft ? navigateCollapse : navigateExpand;
        break;
    case VK_UP:
        nCode = bHorizontal ? navigateCollapse : navigatePrevious;
        break;
    case VK_DOWN:
        nCode = bHorizontal ? navigateExpand : navigateNext;
        break;
    case VK_HOME:
        nCode = navigateFirst;
        break;
    case VK_END:
        nCode = navigateLast;
        break;
    default:
        break;
    }
    return nCode;
}

// A character: a keyboard tip's, the bars' mnemonic, or the accelerator of
// a control of this bar; anything else beeps.
void CQVTCommandBar::ProcessCharacterKey(UINT nChar, BOOL bControl)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetKeyboardTipsLevel(this) > 0 && !bControl)
    {
        ShowKeyboardTipChar(nChar);
        return;
    }
    if (pCommandBars && m_pCommandBars && !IsPopupBar() && pCommandBars->ProcessMnemonic(nChar))
        return;
    if (!bControl)
    {
        BOOL bAmbiguous = FALSE;
        const int nFound = FindAccelControl(nChar, bAmbiguous);
        if (nFound != -1)
        {
            SetSelected(nFound, selectByKeyboardForward);
            CQVTControl* pControl = bAmbiguous ? nullptr : GetControl(nFound);
            if (pControl)
            {
                CQVTObjectRef<CQVTControl> keepControl(pControl);
                pControl->OnUnderlineActivate();
            }
            return;
        }
    }
    if (nChar != VK_SHIFT && nChar != VK_CONTROL)
        CQVTCommandBars::Beep();
}

int CQVTCommandBar::FindAccelControl(UINT nChar, BOOL& bAmbiguous) const
{
    bAmbiguous = FALSE;
    const int nCount = GetControlCount();
    int nMarked = -1;
    int nUnmarked = -1;
    int nIndex = m_nSelected;
    for (int nStep = 0; nStep < nCount; ++nStep)
    {
        nIndex = (nIndex + 1 + nCount) % nCount;
        CQVTControl* pControl = GetControl(nIndex);
        if (!pControl || !pControl->IsVisible(qvtHidePopup) || !pControl->GetEnabled() ||
            !pControl->IsCaptionVisible())
            continue;
        const CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty())
            continue;
        const int nPos = CQVTShortcutManager::FindAccelPos(strCaption);
        if (nPos >= 0)
        {
            if (!CQVTShortcutManager::CompareAccelKey(strCaption[nPos + 1], nChar))
                continue;
            if (nMarked != -1)
            {
                bAmbiguous = TRUE;
                return nMarked;
            }
            nMarked = nIndex;
        }
        else if (CQVTShortcutManager::CompareAccelKey(strCaption[0], nChar))
        {
            if (nUnmarked == -1)
                nUnmarked = nIndex;
            else
                bAmbiguous = TRUE;
        }
    }
    if (nMarked != -1)
    {
        bAmbiguous = FALSE;
        return nMarked;
    }
    return nUnmarked;
}

BOOL CQVTCommandBar::ProcessNavigationKey(int nCode)
{
    if (nCode == navigateSystemMenu)
        return OpenSystemMenuByKey();
    if (nCode == navigatePreviousHorizontal)
        nCode = navigatePrevious;
    else if (nCode == navigateNextHorizontal)
        nCode = navigateNext;
    if (nCode == navigateNext || nCode == navigatePrevious)
        HideKeyboardTips();

    const BOOL bPopupToolBar = m_barPosition == qvtBarPopup && m_barType == qvtBarTypeNormal;
    if (bPopupToolBar && m_nSelected != -1 && m_nSelected == m_nPopuped)
    {
        if (nCode == navigateNext)
            return FALSE;
        if (nCode == navigatePrevious)
            nCode = navigateCollapse;
    }
    CQVTControl* pSelected = GetControl(m_nSelected);
    if (nCode == navigateCollapse && m_nPopuped == -1 && pSelected)
    {
        const BOOL bMovesOut = !bPopupToolBar && GetParentCommandBar() != nullptr;
        if (!bMovesOut && pSelected->GetEnabled() && pSelected->GetCommandBar())
            nCode = navigateExpand;
    }

    if ((nCode == navigateCollapse || nCode == navigateExpand) && m_nPopuped == -1 &&
        (bPopupToolBar || m_barPosition == qvtBarFloating))
    {
        const int nDirection = nCode == navigateExpand ? 1 : -1;
        if (!pSelected)
        {
            SetSelected(m_pControls->GetNextIndex(-1, nDirection, TRUE, FALSE, TRUE),
                        selectByKeyboardForward);
            return TRUE;
        }
        if (!(pSelected->GetEnabled() && pSelected->GetCommandBar()))
        {
            SelectAcrossRows(pSelected, nDirection);
            return TRUE;
        }
    }

    switch (nCode)
    {
    case navigateNext:
        SetSelected(m_pControls->GetNextIndex(m_nSelected, 1, TRUE, FALSE, TRUE), selectByKeyboardForward);
        return TRUE;
    case navigatePrevious:
        SetSelected(m_pControls->GetNextIndex(m_nSelected, -1, TRUE, FALSE, TRUE), selectByKeyboardBackward);
        return TRUE;
    case navigateCollapse:
        if (m_nPopuped == -1)
            return FALSE;
        SetPopuped(-1);
        SetTrackingMode(1, FALSE, TRUE);
        return TRUE;
    case navigateExpand:
        if (!pSelected || m_nPopuped != -1)
            return FALSE;
        m_nSelectionReason = selectByKeyboardForward;
        if (pSelected->GetSelected() < 2)
            pSelected->OnSetSelected(selectByKeyboardForward);
        return SetPopuped(m_nSelected, FALSE);
    case navigateEscape:
        EscapeByKey();
        return TRUE;
    case navigateExecute:
        if (pSelected)
        {
            CQVTObjectRef<CQVTControl> keepControl(pSelected);
            m_nSelectionReason = selectByKeyboardForward;
            pSelected->OnClick(TRUE, CPoint(0, 0));
        }
        return TRUE;
    case navigateFirst:
        SetSelected(m_pControls->GetNextIndex(-1, 1, TRUE, FALSE, TRUE), selectByKeyboardForward);
        return TRUE;
    case navigateLast:
        SetSelected(m_pControls->GetNextIndex(GetControlCount(), -1, TRUE, FALSE, TRUE),
                    selectByKeyboardBackward);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CQVTCommandBar::OpenSystemMenuByKey()
{
    if (m_barType != qvtBarTypeMenuBar)
        return FALSE;
    CQVTCommandBars::ClosePopups(GetCommandBars());
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, _T(' '));
    return TRUE;
}

// Across the rows: the control of the next row nearest below (or above) the
// selected one.
void CQVTCommandBar::SelectAcrossRows(CQVTControl* pSelected, int nDirection)
{
    const CRect rcSelected = pSelected->GetRect();
    int nCandidate = -1;
    int nIndex = m_nSelected;
    for (int nStep = 0; nStep < GetControlCount(); ++nStep)
    {
        nIndex = m_pControls->GetNextIndex(nIndex, nDirection, TRUE, FALSE, TRUE);
        if (nIndex == -1 || nIndex == m_nSelected)
            break;
        const CRect rc = GetControl(nIndex)->GetRect();
        if (nCandidate == -1)
        {
            if (rc.top != rcSelected.top)
                nCandidate = nIndex;
            continue;
        }
        const CRect rcCandidate = GetControl(nCandidate)->GetRect();
        if (rc.top != rcCandidate.top)
            break;
        const BOOL bSameSide = (rc.left <= rcSelected.left) == (rcCandidate.left <= rcSelected.left);
        if (!bSameSide)
            break;
        nCandidate = nIndex;
    }
    if (nCandidate != -1)
        SetSelected(nCandidate, nDirection > 0 ? selectByKeyboardForward : selectByKeyboardBackward);
}

// Escape steps the keyboard tips down a level, else ends tracking here and
// gives it back to the parent bar.
void CQVTCommandBar::EscapeByKey()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const int nLevel = pCommandBars ? pCommandBars->GetKeyboardTipsLevel(this) : 0;
    if (nLevel >= 2)
    {
        pCommandBars->ShowKeyboardTips(this, nLevel - 1);
        return;
    }
    CQVTCommandBar* pParent = GetParentCommandBar();
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    SetTrackingMode(FALSE, TRUE, FALSE);
    if (pParent && pParent->IsTrackingMode())
        pParent->SetTrackingMode(1, FALSE, TRUE);
}
