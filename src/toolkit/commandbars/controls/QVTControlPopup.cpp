#include "toolkit/commandbars/controls/QVTControlPopup.h"

#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"

IMPLEMENT_SERIAL(CQVTControlPopup, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {

// Popups nest, and a forged layout could nest a bar in itself.
const int kMaxPopupDepth = 32;

BOOL ContainsPopup(const CQVTControlPopup* pThis, CQVTControlPopup* pOther, int nDepth)
{
    if (!pThis || !pOther || nDepth > kMaxPopupDepth)
        return FALSE;
    CQVTCommandBar* pBar = pThis->GetCommandBar();
    CQVTCommandBar* pOtherBar = pOther->GetCommandBar();
    if (!pBar || !pOtherBar)
        return FALSE;
    if (pBar == pOtherBar)
        return TRUE;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
    {
        CQVTControlPopup* pNested = DYNAMIC_DOWNCAST(CQVTControlPopup, pBar->GetControl(i));
        if (pNested &&
            (ContainsPopup(pNested, pOther, nDepth + 1) || ContainsPopup(pOther, pNested, nDepth + 1)))
            return TRUE;
    }
    return FALSE;
}

}  // namespace

CQVTControlPopup::CQVTControlPopup()
    : m_bPopuped(FALSE), m_pCommandBar(nullptr), m_nCommandBarId(0), m_bShowShadow(TRUE)
{
    m_controlType = qvtControlPopup;
}

CQVTControlPopup::~CQVTControlPopup()
{
    SetCommandBar(nullptr);
}

void CQVTControlPopup::SetCommandBar(CQVTCommandBar* pBar)
{
    if (pBar == m_pCommandBar)
        return;
    if (pBar)
        pBar->InternalAddRef();
    if (m_pCommandBar)
    {
        CQVTCommandBar* pOld = m_pCommandBar;
        m_pCommandBar = nullptr;
        if (pOld->IsTrackingMode())
            pOld->SetTrackingMode(FALSE, TRUE, FALSE);
        pOld->InternalRelease();
    }
    m_pCommandBar = pBar;
}

BOOL CQVTControlPopup::SetPopupFromMenu(CMenu* pMenu)
{
    if (!m_pCommandBar)
    {
        CQVTCommandBar* pPopup = CQVTPopupBar::CreatePopupBar(GetCommandBars());
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    return m_pCommandBar->LoadMenu(pMenu, TRUE);
}

CString CQVTControlPopup::GetCaption() const
{
    CString strCaption = CQVTControl::GetCaption();
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (m_pParent && m_pParent->GetType() == qvtBarTypeMenuBar && !m_pParent->IsRibbonBar() && pCommandBars &&
        pCommandBars->IsMenuUpperCase())
        strCaption.MakeUpper();
    return strCaption;
}

BOOL CQVTControlPopup::Compare(CQVTControl* pOther)
{
    if (!CQVTControl::Compare(pOther))
        return FALSE;
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pOther);
    if (!pPopup)
        return FALSE;
    if (m_pCommandBar && pPopup->m_pCommandBar && m_pCommandBar != pPopup->m_pCommandBar)
    {
        CQVTControls* pMine = m_pCommandBar->GetControls();
        CQVTControls* pTheirs = pPopup->m_pCommandBar->GetControls();
        if (pMine && pTheirs)
            return pMine->HasSameControls(pTheirs);
        return m_pCommandBar->GetControlCount() == 0 && pPopup->m_pCommandBar->GetControlCount() == 0;
    }
    return TRUE;
}

void CQVTControlPopup::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlButton::Copy(pSource, bRecursive);
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pSource);
    if (!pPopup || pPopup == this)
        return;
    if (bRecursive && pPopup->m_pCommandBar)
    {
        CQVTCommandBar* pClone = pPopup->m_pCommandBar->Clone(TRUE);
        SetCommandBar(pClone);
        pClone->InternalRelease();
    }
    else
        SetCommandBar(pPopup->m_pCommandBar);
}

BOOL CQVTControlPopup::IsInPopupBar() const
{
    return m_pParent && m_pParent->GetPosition() == qvtBarPopup;
}

CRect CQVTControlPopup::GetCommandPartRect() const
{
    return GetPaintManager()->GetSplitButtonCommandRect(const_cast<CQVTControlPopup*>(this));
}

void CQVTControlPopup::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    GetPaintManager()->AdjustExcludeRect(rc, this, bVertical);
}

void CQVTControlPopup::UpdateShadow()
{
    if (m_controlType < qvtControlPopup || m_controlType > qvtControlSplitButtonPopup || !m_pCommandBar ||
        !m_pParent || m_pParent->GetPosition() == qvtBarPopup)
        return;
    if (m_pParent->GetPosition() == qvtBarFloating && m_pParent->GetType() == qvtBarTypePopup)
        return;
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pCommandBar);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTShadowManager* pShadows = pPaintManager->GetShadowManager();
    if (!pShadows || !pShadows->GetShadowOptions() || !pPopup || !pPopup->IsShadowEnabled() ||
        !m_bShowShadow || IsCustomizeMode() || !pPopup->GetSafeHwnd() || !m_pParent->GetSafeHwnd())
        return;
    CRect rc = m_rcControl;
    m_pParent->ClientToScreen(&rc);
    pShadows->SetControlShadow(rc, pPopup);
}

// Opening and closing.

BOOL CQVTControlPopup::OnSetPopup(BOOL bPopup)
{
    if (!m_pCommandBar || (IsSplitButton() && GetEnabled() == enabledArrowDisabled) || !m_pParent ||
        !m_pParent->GetSafeHwnd())
        return FALSE;
    m_bPopuped = bPopup;
    if (bPopup)
    {
        RedrawParent(FALSE);
        if (!m_pCommandBar->IsTrackingMode())
        {
            const BOOL bKeyboard = m_bSelected == 2 || m_bSelected == 3;
            if (!m_pCommandBar->Popup(this, bKeyboard))
            {
                m_bPopuped = FALSE;
                return FALSE;
            }
        }
        UpdateShadow();
    }
    else
    {
        m_pCommandBar->SetTrackingMode(FALSE, TRUE, FALSE);
        RedrawParent(TRUE);
    }
    return TRUE;
}

void CQVTControlPopup::ExpandCommandBar()
{
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pCommandBar);
    if (m_bPopuped && pPopup && m_controlType == qvtControlPopup)
        pPopup->ExpandBar();
}

BOOL CQVTControlPopup::IsContainPopup(CQVTControlPopup* pOther) const
{
    return ContainsPopup(this, pOther, 0);
}

// Input.

void CQVTControlPopup::OnUnderlineActivate()
{
    if (m_pCommandBar && m_pParent)
        m_pParent->SetPopuped(m_nIndex, TRUE);
    else
        CQVTControl::OnUnderlineActivate();
}

void CQVTControlPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!GetEnabled() || !m_pParent)
        return;
    CQVTObjectRef<CQVTControl> keepAlive(this);
    const BOOL bCustomize = m_pParent->IsCustomizeMode();
    if (m_bPopuped && !IsInPopupBar())
    {
        m_pParent->SetTrackingMode(FALSE, FALSE, FALSE);
        if (bCustomize)
            CustomizeStartDrag(pt);
        return;
    }
    if (IsSplitButton() && !bCustomize)
    {
        if (bKeyboard)
        {
            if (GetEnabled() == enabledCommandDisabled)
                m_pParent->SetPopuped(m_nIndex);
            else
                OnExecute();
            return;
        }
        if (GetCommandPartRect().PtInRect(pt))
        {
            if (IsInPopupBar())
                m_pParent->KillTimer(CQVTCommandBar::TIMER_HOVER);
            else if (GetEnabled() != enabledCommandDisabled)
                TrackClick(GetCommandPartRect());
            return;
        }
        if (GetEnabled() == enabledArrowDisabled)
            return;
    }
    if (bCustomize && m_pCommandBar && !m_pCommandBar->IsCustomizable())
    {
        CustomizeStartDrag(pt);
        return;
    }
    m_pParent->SetPopuped(m_nIndex);
    if (bCustomize && m_bPopuped)
        CustomizeStartDrag(pt);
}

void CQVTControlPopup::OnLButtonUp(CPoint point)
{
    if (!m_pCommandBar)
    {
        CQVTControlButton::OnLButtonUp(point);
        return;
    }
    if (!IsSplitButton() || !GetEnabled() || !IsInPopupBar())
        return;
    const int nArrowLeft = m_rcControl.right - GetPaintManager()->GetPopupSplitArrowWidth();
    if (point.x < nArrowLeft && GetEnabled() != enabledCommandDisabled)
        OnExecute();
}

BOOL CQVTControlPopup::OnLButtonDblClk(CPoint point)
{
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pCommandBar);
    if ((m_controlType != qvtControlPopup && m_controlType != qvtControlButtonPopup) || !pPopup || !m_pParent)
        return CQVTControl::OnLButtonDblClk(point);
    if (!m_bPopuped)
    {
        m_pParent->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        return TRUE;
    }
    CQVTControl* pDefault = pPopup->GetDefaultItem();
    if (pDefault)
    {
        CQVTObjectRef<CQVTControl> keepDefault(pDefault);
        pDefault->OnExecute();
        return TRUE;
    }
    if (pPopup->IsExpandButtonShown() && !pPopup->IsExpanded())
    {
        ExpandCommandBar();
        return TRUE;
    }
    return FALSE;
}

void CQVTControlPopup::OnMouseMove(CPoint point)
{
    if (!IsSplitButton() || !GetEnabled() || !m_bSelected || !m_pParent)
        return;
    const int nState = GetCommandPartRect().PtInRect(point) ? selectedCommandPart : selectedArrowPart;
    if (nState != m_bSelected)
    {
        m_bSelected = nState;
        RedrawParent(FALSE);
    }
}

void CQVTControlPopup::OnMouseHover()
{
    if (m_pCommandBar && GetEnabled() && m_pParent &&
        (m_pParent->GetTrackingMode() == 2 || m_pParent->IsPopupBar()))
    {
        m_pParent->SetPopuped(m_nIndex);
        return;
    }
    CQVTControl::OnMouseHover();
}

BOOL CQVTControlPopup::OnSetSelected(int bSelected)
{
    if (!CQVTControl::OnSetSelected(bSelected))
        return FALSE;
    if (!m_pCommandBar || !m_pParent)
        return TRUE;
    const BOOL bEnabled = GetEnabled() != 0;
    if (bSelected == 1 && IsSplitButton() && bEnabled && m_pParent->GetSafeHwnd())
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        m_pParent->ScreenToClient(&pt);
        if (m_rcControl.PtInRect(pt))
            OnMouseMove(pt);
    }
    const BOOL bParentIsPopup = m_pParent->IsPopupBar();
    if (m_controlType != qvtControlPopup && !bParentIsPopup)
    {
        if (bEnabled && (bSelected == 2 || bSelected == 3) && m_pParent->GetTrackingMode() == 2)
            m_pParent->SetPopuped(m_nIndex);
        return TRUE;
    }
    if (bEnabled && bSelected != 0)
    {
        if (m_pParent->GetTrackingMode() == 2 && !bParentIsPopup)
            m_pParent->SetPopuped(m_nIndex);
    }
    else if (bSelected == 0 && m_bPopuped && !bParentIsPopup)
        m_pParent->SetPopuped(-1);
    return TRUE;
}

void CQVTControlPopup::OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point)
{
    if (!m_pParent || !m_pCommandBar || !m_pCommandBar->IsCustomizable())
        return;
    CQVTControlPopup* pDragged = DYNAMIC_DOWNCAST(CQVTControlPopup, pDataObject);
    if (pDragged && (pDragged->IsContainPopup(this) || IsContainPopup(pDragged)))
    {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
        return;
    }
    m_pParent->SetPopuped(m_nIndex);
}

BOOL CQVTControlPopup::IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint, DWORD&)
{
    for (int nDepth = 0; pCommandBar && nDepth <= kMaxPopupDepth; ++nDepth)
    {
        if (pCommandBar == m_pCommandBar)
            return FALSE;
        pCommandBar = pCommandBar->GetParentCommandBar();
    }
    return TRUE;
}
