#include "toolkit/ribbon/paint/QVTRibbonTabTheme.h"

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTRibbonTabTheme::CQVTRibbonTabTheme(CQVTRibbonPaintManager* pRibbonPaintManager)
    : m_pRibbonPaintManager(pRibbonPaintManager)
{
    m_rcHeaderMargin.SetRect(0, 1, 0, 0);
}

int CQVTRibbonTabTheme::GetRowHeight(CQVTTabManager*)
{
    return m_pRibbonPaintManager->GetTabsHeight() + 1;
}

void CQVTRibbonTabTheme::DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTabManager);
    if (pControlTab && pControlTab->GetRibbonBar())
        m_pRibbonPaintManager->DrawContextTabBackground(pDC, pControlTab->GetRibbonBar(), rcControl);
    CAppearanceSetPropertyPageFlat::DrawTabControl(pTabManager, pDC, rcControl);
}

CRect CQVTRibbonTabTheme::FillClient(CDC*, CQVTTabManager*, CRect)
{
    // The ribbon draws its group area itself.
    return CRect(0, 0, 0, 0);
}

void CQVTRibbonTabTheme::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTRibbonTab* pTab = DYNAMIC_DOWNCAST(CQVTRibbonTab, pItem);
    if (pTab)
        m_pRibbonPaintManager->DrawRibbonTab(pDC, pTab);
    GetPaintManager()->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

int CQVTRibbonTabTheme::DrawText(CDC* pDC, CQVTTabManager* pTabManager, const CString& strText, LPRECT lpRect,
                                 UINT nFormat)
{
    if (nFormat & DT_CALCRECT)
        return pDC->DrawText(strText, lpRect, nFormat);
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTabManager);
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    const BOOL bOnGlass = CQVTRibbonPaintManager::IsRectOnGlassCaption(pRibbonBar, CRect(lpRect));
    CQVTPaintManager* pPaintManager = m_pRibbonPaintManager->GetPaintManager();
    if (!pPaintManager)
        return pDC->DrawText(strText, lpRect, nFormat);
    pPaintManager->DrawTextApi(pDC, strText, lpRect, nFormat, bOnGlass);
    return 1;
}

CQVTRibbonTabColorSet::CQVTRibbonTabColorSet()
{
    m_bLunaColors = TRUE;
}

void CQVTRibbonTabColorSet::SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem)
{
    if (!pItem->IsEnabled())
    {
        pDC->SetTextColor(m_clrTextDisabled);
        return;
    }
    BOOL bSelected = pItem->IsSelected();
    BOOL bHighlighted = pItem->IsHighlighted();
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pItem->GetTabManager());
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    if (bSelected && pRibbonBar)
    {
        const BOOL bFocused = pControlTab->IsFocused();
        const BOOL bPopupOpen = pControlTab->GetPopuped();
        if (pRibbonBar->IsRibbonMinimized())
        {
            if (bPopupOpen)
                bHighlighted = FALSE;
            else
            {
                bSelected = FALSE;
                if (bFocused && pControlTab->GetSelected())
                    bHighlighted = TRUE;
            }
        }
        if ((!pRibbonBar->IsRibbonMinimized() || bPopupOpen) && pRibbonBar->IsBackstageViewVisible() &&
            m_bLunaColors)
            bSelected = FALSE;
    }
    if (bSelected)
        pDC->SetTextColor(m_clrTextSelected);
    else if (bHighlighted)
        pDC->SetTextColor(m_clrTextHighlighted);
    else
        pDC->SetTextColor(m_clrText);
}
