#include "toolkit/tabmanager/appearances/QVTTabThemePropertyPage2007.h"

#include <algorithm>
#include <vector>

#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

CAppearanceSetPropertyPage2007::CAppearanceSetPropertyPage2007()
{
    m_rcHeaderMargin.SetRect(4, 1, 0, 0);
}

int CAppearanceSetPropertyPage2007::GetDefaultColorSet() const
{
    return qvtTabColorOffice2007;
}

void CAppearanceSetPropertyPage2007::DrawImageTab(CDC* pDC, CQVTTabManagerItem* pItem, CRect rc)
{
    const BOOL bSelected = pItem->IsSelected(), bHighlighted = pItem->IsHighlighted();
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const int nFrame = bSelected && pTabManager && pTabManager->IsFocused() ? 5
                       : bSelected && bHighlighted                          ? 4
                       : bSelected                                          ? 3
                       : pItem->IsPressed()                                 ? 2
                       : bHighlighted                                       ? 1
                                                                            : 0;
    if (!QVTTabDrawResourceImage(pDC, _T("RIBBONTAB"), rc, nFrame, 6, CRect(5, 5, 5, 5)))
        GetColorSet()->FillNavigateArea(pDC, rc, pItem);
}

void CAppearanceSetPropertyPage2007::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    if (pItem->IsSelected() || pItem->IsHighlighted())
        QVTTabDrawTurned(pDC, pItem->GetRect(), GetPosition(),
                         [this, pItem](CDC* pTarget, CRect rc) { DrawImageTab(pTarget, pItem, rc); });
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

CRect CAppearanceSetPropertyPage2007::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pDC->FillSolidRect(pTabManager->GetHeaderRect(), pColorSet->GetHeaderColor());
    const CRect rcClient = GetClientRect(rcControl, pTabManager);
    if (m_pPaintManager->m_nClientFrame == 0)
    {
        const CRect rcMargins(8, 8, 8, 8);
        if (!QVTTabDrawResourceImage(pDC, _T("TABCONTROLPAGE"), rcClient, 0, 1, rcMargins) &&
            !QVTTabDrawResourceImage(pDC, _T("RIBBONGROUPS"), rcClient, 0, 1, rcMargins))
            FillFramedClient(pDC, pTabManager, rcControl, pColorSet->GetFrameColor(),
                             pColorSet->GetFrameColor());
    }
    else if (m_pPaintManager->m_nClientFrame == 1)
        DrawSingleLineBorder(pDC, rcClient, GetPosition(), pColorSet->GetFrameColor(),
                             pColorSet->GetFrameColor());
    return rcClient;
}

int CAppearanceSetPropertyPageAccess2007::GetDefaultColorSet() const
{
    return qvtTabColorOffice2007Access;
}

void CAppearanceSetPropertyPageAccess2007::RefreshMetrics()
{
    CAppearanceSetPropertyPage2007::RefreshMetrics();
    m_nFontHeight = std::max(m_nFontHeight, 24);
}

CRect CAppearanceSetPropertyPageAccess2007::GetHeaderMargin()
{
    CRect rc = m_rcHeaderMargin;
    rc.right += m_nFontHeight / 2;
    return rc;
}

CRect CAppearanceSetPropertyPageAccess2007::GetButtonDrawRect(const CQVTTabManagerItem* pItem)
{
    CRect rc = pItem->GetRect();
    CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, m_nFontHeight / 2, 0), GetPosition());
    return rc;
}

void CAppearanceSetPropertyPageAccess2007::DrawImageTab(CDC* pDC, CQVTTabManagerItem* pItem, CRect rc)
{
    const BOOL bSelected = pItem->IsSelected(), bHighlighted = pItem->IsHighlighted();
    const int nFrame = bSelected && bHighlighted ? 3 : bSelected ? 2 : bHighlighted ? 1 : 0;
    if (!QVTTabDrawResourceImage(pDC, _T("ACCESSTAB"), rc, nFrame, 4, CRect(5, 10, 22, 10)))
    {
        rc.right -= 10;
        GetColorSet()->FillNavigateArea(pDC, rc, pItem);
    }
}

void CAppearanceSetPropertyPageAccess2007::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    // Access tabs exist only as images.
    if (!QVTTabResourceImagesLoaded())
        return;
    CRect rc = pItem->GetRect();
    CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, m_nFontHeight / 2 - 1, 0), GetPosition());
    QVTTabDrawTurned(pDC, rc, GetPosition(),
                     [this, pItem](CDC* pTarget, CRect rcTop) { DrawImageTab(pTarget, pItem, rcTop); });
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

CRect CAppearanceSetPropertyPageAccess2007::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pDC->FillSolidRect(pTabManager->GetHeaderRect(), pColorSet->GetHeaderColor());
    return FillFramedClient(pDC, pTabManager, rcControl, pColorSet->GetFrameColor(),
                            pColorSet->GetFrameColor());
}
