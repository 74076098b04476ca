// The menus the bars make themselves: the toolbars context menu, the
// controls a toolbar's expand button lists, its "Add or Remove Buttons"
// popup, and which commands count as rarely used. (A further file of
// CQVTCommandBars.)
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlExtended.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

// The bars of a docked bar's row, in row order; a bar that no dock bar
// lists (one sitting on the edge of a site without dock bars) is its own
// row.
std::vector<CQVTCommandBar*> RowOf(const CQVTCommandBars* pCommandBars, CQVTCommandBar* pBar)
{
    std::vector<CQVTCommandBar*> row;
    const int nPosition = pBar->GetPosition();
    if (nPosition < qvtBarTop || nPosition > qvtBarRight)
        return row;
    CQVTDockBar* pDock = pCommandBars->GetDockBar(nPosition);
    const int nIndex = pDock ? pDock->FindBar(pBar) : -1;
    if (nIndex < 0)
    {
        row.push_back(pBar);
        return row;
    }
    const std::vector<CQVTCommandBar*>& bars = pDock->GetBars();
    int nStart = nIndex;
    while (nStart > 0 && bars[static_cast<size_t>(nStart - 1)])
        --nStart;
    for (size_t i = static_cast<size_t>(nStart); i < bars.size() && bars[i]; ++i)
        row.push_back(bars[i]);
    return row;
}

CString DoubledAmpersands(const CString& strText)
{
    CString str(strText);
    str.Replace(_T("&"), _T("&&"));
    return str;
}

}  // namespace

CQVTCommandBar* CQVTCommandBars::GetMenuBar() const
{
    CQVTCommandBar* pBar = GetToolBar(1);
    return pBar && pBar->IsKindOf(RUNTIME_CLASS(CQVTMenuBar)) ? pBar : nullptr;
}

BOOL CQVTCommandBars::IsHiddenCommand(UINT nId) const
{
    BOOL bValue = FALSE;
    return m_pOptions->m_mapHiddenCommands.Lookup(nId, bValue) &&
           !m_pOptions->m_mapUsedCommands.Lookup(nId, bValue);
}

BOOL CQVTCommandBars::IsHiddenControl(CQVTControl* pControl) const
{
    return IsHiddenControlAtDepth(pControl, 0);
}

BOOL CQVTCommandBars::IsHiddenControlAtDepth(CQVTControl* pControl, int nDepth) const
{
    if (!pControl)
        return FALSE;
    if (IsHiddenCommand(static_cast<UINT>(pControl->GetID())))
        return TRUE;
    if (!m_pOptions->bAutoHideUnusedPopups)
        return FALSE;
    const int nType = pControl->GetType();
    if (nType != qvtControlPopup && nType != qvtControlButtonPopup && nType != qvtControlSplitButtonPopup)
        return FALSE;
    CQVTCommandBar* pPopup = pControl->GetCommandBar();
    // Popups nest; a forged layout could nest a bar in itself.
    if (!pPopup || pPopup->GetControlCount() == 0 || nDepth > 32)
        return FALSE;
    for (int i = 0; i < pPopup->GetControlCount(); ++i)
        if (!IsHiddenControlAtDepth(pPopup->GetControl(i), nDepth + 1))
            return FALSE;
    return TRUE;
}

void CQVTCommandBars::SetCommandUsed(UINT nId)
{
    if (!IsHiddenCommand(nId))
        return;
    m_pOptions->m_mapUsedCommands.SetAt(nId, TRUE);
    m_pOptions->bDirty = TRUE;
}

CQVTPopupBar* CQVTCommandBars::GetToolbarsPopup()
{
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(this);
    CQVTControlToolbars::AddToolbarItems(pPopup->GetControls(), this, 0, FALSE, FALSE);
    if (m_bCustomizeAvail)
    {
        CQVTControl* pCustomize = pPopup->GetControls()->AddByType(qvtControlButton, QVT_ID_CUSTOMIZE);
        if (pCustomize)
            pCustomize->SetBeginGroup(TRUE);
    }
    return pPopup;
}

void CQVTCommandBars::ContextMenu(CQVTCommandBar* pBar, CPoint ptScreen)
{
    if (m_bCustomizeMode)
        return;
    CQVTPopupBar* pPopup = GetToolbarsPopup();
    CQVTObjectRef<CQVTCommandBar> keepAlive(pPopup);
    pPopup->InternalRelease();
    if (m_pSite && m_pSite->GetSafeHwnd())
        m_pSite->SendMessage(QVTWM_TOOLBARSCONTEXTMENU, reinterpret_cast<WPARAM>(pBar),
                             reinterpret_cast<LPARAM>(pPopup));
    if (pPopup->GetControlCount() == 0)
        return;
    if (IsLayoutRTL())
        pPopup->SetDirectionFlags(pPopup->GetDirectionFlags() | CQVTPopupBar::directionReversed);
    ClosePopups(this);
    if (pPopup->PopupAt(ptScreen.x, ptScreen.y))
        PumpTrackingMessages(pPopup);
}

void CQVTCommandBars::GetHiddenControls(CQVTCommandBar* pBar, CQVTPopupBar* pPopup)
{
    if (!pBar || !pPopup)
        return;
    for (CQVTCommandBar* pRowBar : RowOf(this, pBar))
    {
        for (int i = 0; i < pRowBar->GetControlCount(); ++i)
        {
            CQVTControl* pControl = pRowBar->GetControl(i);
            if (pControl->GetHideFlags() != qvtHideWrap)
                continue;
            CQVTControl* pCopy = pPopup->GetControls()->AddCopy(pControl, -1, TRUE);
            if (!pCopy)
                continue;
            pCopy->SetHideFlags(0);
            pCopy->SetBeginGroup(FALSE);
        }
    }
}

void CQVTCommandBars::GetAddOrRemovePopup(CQVTCommandBar* pBar, CQVTPopupBar* pPopup)
{
    if (!pBar || !pPopup)
        return;
    std::vector<CQVTCommandBar*> row = RowOf(this, pBar);
    if (row.empty())
        row.push_back(pBar);
    for (CQVTCommandBar* pRowBar : row)
    {
        CQVTControlPopup* pEntry = static_cast<CQVTControlPopup*>(
            pPopup->GetControls()->Add(new CQVTControlPopup(), 0, nullptr, -1, TRUE));
        pEntry->SetCaption(DoubledAmpersands(pRowBar->GetTitle()));
        pEntry->SetFlags(pEntry->GetFlags() | qvtFlagManualUpdate);
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pRowBar);
        const BOOL bEnabled =
            m_bCustomizeAvail && pToolBar && pToolBar->IsBuiltIn() && pToolBar->IsCustomizable();
        CQVTPopupBar* pList = CQVTPopupBar::CreatePopupBar(this);
        if (bEnabled)
            pToolBar->BuildCustomizeList(pList);
        pEntry->SetCommandBar(pList);
        pList->InternalRelease();
        pEntry->SetEnabled(bEnabled);
    }
    if (m_bCustomizeAvail)
    {
        CQVTControl* pCustomize =
            pPopup->GetControls()->AddByType(qvtControlButton, QVT_ID_CUSTOMIZE, nullptr, -1, TRUE);
        if (pCustomize)
            pCustomize->SetBeginGroup(TRUE);
    }
}
