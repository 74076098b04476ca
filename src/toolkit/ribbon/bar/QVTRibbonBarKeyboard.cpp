// The ribbon's keyboard: the tips at their two levels (quick-access
// controls and tabs, then the current tab's controls), what a chosen tip
// does, Alt, the digits and the tabs' access keys, the arrow keys between
// laid-out controls, and the keys and wheel the ribbon takes from its
// frame while it tracks. (A fourth file of CQVTRibbonBar.)
#include <afxext.h>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

namespace QVTRibbonKeyboardDetail {

// Quick-access controls past this many get no tip.
const int kMaxQuickAccessTips = 18;

CQVTCommandBarKeyboardTip* AddTip(CQVTCommandBars* pCommandBars, CObject* pTarget, const CString& strCaption,
                                  CPoint pt, DWORD dwAlign, BOOL bEnabled, const CString& strExplicit)
{
    return pCommandBars->AddKeyboardTip(pTarget, strCaption, pt, dwAlign, bEnabled, strExplicit);
}

BOOL IsKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

}  // namespace QVTRibbonKeyboardDetail

using namespace QVTRibbonKeyboardDetail;

// Tips.

void CQVTRibbonBar::CreateKeyboardTips()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return;
    if (pCommandBars->GetKeyboardTipsLevel(this) >= 2)
    {
        if (GetCurrentTab() && !m_bMinimized)
            CreateTabKeyboardTips(this, GetCurrentTab());
        return;
    }
    CQVTDpiScaler* pDpi = QVTDpiScaler();

    int nNumber = 0;
    for (int i = 0; i < m_pQuickAccessControls->GetCount() && nNumber < kMaxQuickAccessTips; ++i)
    {
        CQVTControl* pControl = m_pQuickAccessControls->GetAt(i);
        if (!pControl->IsVisible())
            continue;
        ++nNumber;
        CString strText;
        if (nNumber <= 9)
            strText.Format(_T("%i"), nNumber);
        else
            strText.Format(_T("0%i"), nNumber - 9);
        const CRect rc = pControl->GetRect();
        AddTip(pCommandBars, pControl, strText, CPoint(rc.CenterPoint().x, rc.bottom - pDpi->ScaleY(11)),
               CQVTCommandBarKeyboardTip::alignCenterHorizontally, pControl->GetEnabled() != 0, strText);
    }

    if (m_pControlTab && m_pControlTab->IsVisible())
    {
        for (int i = 0; i < GetTabCount(); ++i)
        {
            CQVTRibbonTab* pTab = GetTab(i);
            if (pTab->GetCaption().IsEmpty() || !pTab->IsEnabled() || !pTab->IsVisible())
                continue;
            const CRect rc = pTab->GetRect();
            // Tips of targets other than controls are placed on the screen.
            CPoint pt(rc.CenterPoint().x, rc.bottom - pDpi->ScaleY(9));
            ClientToScreen(&pt);
            AddTip(pCommandBars, pTab, pTab->GetCaption(), pt,
                   CQVTCommandBarKeyboardTip::alignCenterHorizontally, TRUE, pTab->GetKeyboardTip());
        }
    }

    if (m_pControlSystemButton && m_pControlSystemButton->IsVisible())
    {
        const CRect rc = m_pControlSystemButton->GetRect();
        AddTip(pCommandBars, m_pControlSystemButton, m_pControlSystemButton->GetCaption(), rc.CenterPoint(),
               CQVTCommandBarKeyboardTip::alignCenterHorizontally |
                   CQVTCommandBarKeyboardTip::alignCenterVertically,
               m_pControlSystemButton->GetEnabled() != 0, m_pControlSystemButton->GetKeyboardTip());
    }

    if (GetTabCount() == 0)
    {
        for (int i = 0; i < GetControlCount(); ++i)
        {
            CQVTControl* pControl = GetControl(i);
            if (!pControl->IsVisible() || pControl->GetRibbonGroup() || IsQuickAccessControl(pControl) ||
                pControl == GetSystemButton() || pControl->GetCaption().IsEmpty() ||
                (pControl->GetFlags() & qvtFlagSkipFocus) || pControl->GetType() == qvtControlGallery)
                continue;
            const CRect rc = pControl->GetRect();
            AddTip(pCommandBars, pControl, pControl->GetCaption(),
                   CPoint(rc.left + pDpi->ScaleX(12), rc.bottom - pDpi->ScaleY(11)), 0,
                   pControl->GetEnabled() != 0, pControl->GetKeyboardTip());
        }
    }
}

void CQVTRibbonBar::CreateTabKeyboardTips(CQVTCommandBar* pBar, CQVTRibbonTab* pTab)
{
    if (!pTab)
        return;
    CQVTRibbonGroups* pGroups = pTab->GetGroups();
    for (int i = 0; i < pGroups->GetCount(); ++i)
    {
        CQVTRibbonGroup* pGroup = pGroups->GetAt(i);
        CreateGroupKeyboardTips(pBar, pGroup, pGroup->IsVisible());
    }
}

void CQVTRibbonBar::CreateGroupKeyboardTips(CQVTCommandBar* pBar, CQVTRibbonGroup* pGroup, BOOL bGroupVisible)
{
    if (!pGroup)
        return;
    for (int i = 0; i < pGroup->GetCount(); ++i)
        CreateControlKeyboardTip(pBar, pGroup->GetAt(i), nullptr, bGroupVisible);
    CQVTControl* pOption = pGroup->GetControlGroupOption();
    if (pOption && !(pOption->GetHideFlags() & qvtHideGeneric))
        CreateControlKeyboardTip(pBar, pOption, nullptr, bGroupVisible);
    // The popup button opens the group while it is reduced.
    CreateControlKeyboardTip(pBar, pGroup->GetControlGroupPopup(), _T("Z"), bGroupVisible);
}

void CQVTRibbonBar::CreateControlKeyboardTip(CQVTCommandBar* pBar, CQVTControl* pControl, LPCTSTR lpszPrefix,
                                             BOOL bGroupVisible)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || !pControl || (pControl->GetFlags() & qvtFlagSkipFocus))
        return;
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    const CString strCaption = pControl->GetCaption();
    const CString strExplicit = pControl->GetKeyboardTip();
    if (!pGroup || (strCaption.IsEmpty() && strExplicit.IsEmpty()))
        return;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
    const CRect rcGroup = pGroup->GetRect();
    const int nBandEnd = rcGroup.bottom - nCaption + pDpi->ScaleY(2);
    const CRect rc = pControl->GetRect();
    const int nType = pControl->GetType();
    const int nStyle =
        pControl->GetOwnStyle() != qvtButtonAutomatic ? pControl->GetOwnStyle() : pControl->GetRibbonStyle();

    CPoint pt;
    DWORD dwAlign = 0;
    CRect rcMeet;
    if (rcMeet.IntersectRect(rc, CRect(rcGroup.left, nBandEnd, rcGroup.right, rcGroup.bottom)))
    {
        pt = CPoint(rc.CenterPoint().x, rc.bottom - pDpi->ScaleY(6));
        dwAlign = CQVTCommandBarKeyboardTip::alignCenterHorizontally;
    }
    else if (nStyle == qvtButtonIconAndCaptionBelow && rc.Height() > (nBandEnd - rcGroup.top) / 2)
    {
        pt = CPoint(rc.CenterPoint().x, nBandEnd - pDpi->ScaleY(2));
        dwAlign = CQVTCommandBarKeyboardTip::alignCenterHorizontally |
                  CQVTCommandBarKeyboardTip::alignCenterVertically;
    }
    else if (nType != qvtControlGallery)
    {
        const int nThird = (nBandEnd - rcGroup.top) / 3;
        const int yCentre = rc.CenterPoint().y;
        int y = nBandEnd - pDpi->ScaleY(2);
        if (yCentre < rcGroup.top + nThird)
            y = rcGroup.top + pDpi->ScaleY(2);
        else if (yCentre < rcGroup.top + 2 * nThird)
            y = (nBandEnd + rcGroup.top) / 2 - pDpi->ScaleY(1);
        pt = CPoint(rc.left + pDpi->ScaleX(11), y);
        dwAlign = CQVTCommandBarKeyboardTip::alignCenterVertically;
    }
    else
    {
        pt = CPoint(rc.right, nBandEnd - pDpi->ScaleY(2));
        dwAlign = CQVTCommandBarKeyboardTip::alignCenterHorizontally |
                  CQVTCommandBarKeyboardTip::alignCenterVertically;
    }
    if (nType == qvtControlCheckBox || nType == qvtControlRadioButton)
        pt.x = rc.left + pDpi->ScaleX(6);
    if ((nType == qvtControlComboBox || nType == qvtControlEdit) && nStyle == qvtButtonAutomatic)
    {
        pt.x = rc.CenterPoint().x;
        dwAlign |= CQVTCommandBarKeyboardTip::alignCenterHorizontally;
    }

    CString strTip = strExplicit;
    if (strTip.IsEmpty() && lpszPrefix && *lpszPrefix)
    {
        // A prefixed tip is the prefix and the caption's access letter.
        CString strUpper = strCaption;
        strUpper.MakeUpper();
        const int nPos = CQVTShortcutManager::FindAccelPos(strUpper);
        const int nLetter = nPos >= 0 ? nPos + 1 : 0;
        if (nLetter < strUpper.GetLength())
            strTip = CString(lpszPrefix) + strUpper[nLetter];
    }
    CQVTCommandBarKeyboardTip* pTip =
        AddTip(pCommandBars, pControl, strCaption, pt, dwAlign, pControl->GetEnabled() != 0, strTip);
    CRect rcGroups;
    if (CQVTRibbonScrollableBar* pScrollable = CQVTRibbonScrollableBar::GetScrollableBar(pBar))
        rcGroups = pScrollable->GetGroupsArea();
    CRect rcInside;
    pTip->m_bVisible =
        bGroupVisible && pControl->IsVisible() && rcInside.IntersectRect(rc, rcGroups) && rcInside == rc;
}

void CQVTRibbonBar::OnKeyboardTip(CQVTCommandBarKeyboardTip* pTip)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pTip || !pCommandBars)
        return;
    CQVTCommandBarRef keepAlive(this);
    if (CQVTRibbonTab* pTab = DYNAMIC_DOWNCAST(CQVTRibbonTab, pTip->m_pTarget))
    {
        pCommandBars->HideKeyboardTips();
        m_pControlTab->SetSelectedItem(pTab);
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(m_pControlTab->GetIndex(), selectByMnemonic);
        m_pControlTab->SetFocused(TRUE);
        if (m_bMinimized)
            SetPopuped(m_pControlTab->GetIndex(), TRUE);
        else
            pCommandBars->ShowKeyboardTips(this, 2);
        return;
    }
    CQVTControl* pControl = DYNAMIC_DOWNCAST(CQVTControl, pTip->m_pTarget);
    CQVTRibbonGroup* pGroup = pControl ? pControl->GetRibbonGroup() : nullptr;
    if (pControl && pGroup && !pTip->m_bVisible && pControl->GetHideFlags() == qvtHideWrap)
    {
        // A control of a reduced group: its group opens, and the control is
        // reached in the group's popup.
        CQVTObjectRef<CQVTControl> keepControl(pControl);
        const int nIndex = pGroup->IndexOf(pControl);
        CQVTRibbonGroupControlPopup* pGroupPopup = pGroup->GetControlGroupPopup();
        pCommandBars->HideKeyboardTips();
        OnGroupRectChanged(pGroupPopup);
        pGroupPopup->OnUnderlineActivate();
        CQVTRibbonGroupPopupToolBar* pPopup =
            DYNAMIC_DOWNCAST(CQVTRibbonGroupPopupToolBar, pGroupPopup->GetCommandBar());
        if (pPopup && pPopup->IsTrackingMode() && pPopup->GetGroup() && nIndex >= 0 &&
            nIndex < pPopup->GetGroup()->GetCount())
        {
            CQVTObjectRef<CQVTCommandBar> keepPopup(pPopup);
            pCommandBars->ShowKeyboardTips(pPopup, 1);
            CQVTControl* pCopy = pPopup->GetGroup()->GetAt(nIndex);
            CQVTObjectRef<CQVTControl> keepCopy(pCopy);
            pCommandBars->HideKeyboardTips();
            pCopy->OnUnderlineActivate();
        }
        return;
    }
    CQVTMenuBar::OnKeyboardTip(pTip);
}

// Keys.

BOOL CQVTRibbonBar::OnMnemonicKey(UINT nChar)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || IsKeyDown(VK_CONTROL))
        return FALSE;
    CQVTCommandBarRef keepAlive(this);
    if (nChar == VK_MENU)
    {
        if (GetTabCount() == 0)
            return FALSE;
        ClosePopups();
        pCommandBars->ShowKeyboardCues(TRUE);
        pCommandBars->SetKeyboardTipsLevel(1);
        if (m_bMinimized)
        {
            SetTrackingMode(TRUE, TRUE, TRUE);
            return TRUE;
        }
        SetTrackingMode(TRUE, FALSE, TRUE);
        const BOOL bTabRow = m_pControlTab && m_pControlTab->IsVisible();
        // As by its access key: a keyboard selection of the strip would
        // clear the bar's selection again.
        SetSelected(bTabRow ? m_pControlTab->GetIndex() : 0, selectByMnemonic);
        if (bTabRow)
            m_pControlTab->SetFocused(TRUE);
        return TRUE;
    }
    if (nChar >= _T('1') && nChar <= _T('9'))
    {
        CQVTControl* pControl = m_pQuickAccessControls->GetVisibleControl(static_cast<int>(nChar - _T('1')));
        if (!pControl || !pControl->GetEnabled())
            return FALSE;
        CQVTObjectRef<CQVTControl> keepControl(pControl);
        ClosePopups();
        pCommandBars->ShowKeyboardCues(TRUE);
        pCommandBars->SetKeyboardTipsLevel(2);
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(pControl->GetIndex(), selectByMnemonic);
        pControl->OnUnderlineActivate();
        return TRUE;
    }
    for (int i = 0; i < GetTabCount(); ++i)
    {
        CQVTRibbonTab* pTab = GetTab(i);
        if (!pTab->IsEnabled() || !pTab->IsVisible())
            continue;
        const CString strCaption = pTab->GetCaption();
        const int nPos = CQVTShortcutManager::FindAccelPos(strCaption);
        if (nPos < 0 || !CQVTShortcutManager::CompareAccelKey(strCaption[nPos + 1], nChar))
            continue;
        if (!m_nTrackingMode)
            ClosePopups();
        pCommandBars->ShowKeyboardCues(TRUE);
        pCommandBars->SetKeyboardTipsLevel(1);
        m_pControlTab->SetSelectedItem(pTab);
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(m_pControlTab->GetIndex(), selectByMnemonic);
        m_pControlTab->SetFocused(TRUE);
        if (m_bMinimized)
            SetPopuped(m_pControlTab->GetIndex(), TRUE);
        else
            pCommandBars->ShowKeyboardTips(this, 2);
        return TRUE;
    }
    return FALSE;
}

BOOL CQVTRibbonBar::ProcessNavigationKey(int nCode)
{
    if (nCode != navigateEscape)
        HideKeyboardTips();
    if (NavigateGroups(nCode))
        return TRUE;
    return CQVTMenuBar::ProcessNavigationKey(nCode);
}

int CQVTRibbonBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (!m_nTrackingMode)
        return CQVTMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    CQVTCommandBars* pCommandBars = GetCommandBars();
    // The keyboard's context menu: Shift+F10 and the Apps key come as keys
    // while the ribbon holds the keyboard, as WM_CONTEXTMENU otherwise.
    const BOOL bContextKey =
        nMessage == WM_KEYDOWN && (wParam == VK_APPS || (wParam == VK_F10 && IsKeyDown(VK_SHIFT)));
    if (bContextKey || (nMessage == WM_CONTEXTMENU && lParam == -1))
    {
        CQVTControl* pSelected = GetControl(m_nSelected);
        if (pSelected && pSelected->GetParent())
        {
            CQVTCommandBarRef keepAlive(this);
            ShowContextMenu(pSelected->GetRect().TopLeft(), pSelected);
        }
        lResult = 0;
        return hookHandled;
    }
    if (nMessage == WM_MOUSEWHEEL)
    {
        if (CQVTMouseManager::GetThreadManager()->IsMouseLocked() ||
            (pCommandBars && pCommandBars->GetKeyboardTipCount() > 0))
            return CQVTMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
        m_pControlTab->PerformKeyDown(this, static_cast<short>(HIWORD(wParam)) <= 0 ? VK_RIGHT : VK_LEFT);
        return hookHandled;
    }
    if (nMessage == WM_KEYDOWN && wParam == VK_F10)
    {
        SetTrackingMode(FALSE, TRUE, FALSE);
        return hookHandled;
    }
    return CQVTMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

// Popups.

CQVTPopupBar* CQVTRibbonBar::CreateTabPopupToolBar(CQVTRibbonTab* pTab)
{
    CQVTRibbonTabPopupToolBar* pPopup = new CQVTRibbonTabPopupToolBar();
    pPopup->SetCommandBars(GetCommandBars());
    if (!pPopup->SetTab(pTab))
    {
        pPopup->InternalRelease();
        return nullptr;
    }
    return pPopup;
}
