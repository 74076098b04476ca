#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeVisio.h"

#include <algorithm>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabClipScope.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CAppearanceSetVisio::CAppearanceSetVisio()
{
    m_rcHeaderMargin.SetRect(0, 0, 0, 0);
}

CRect CAppearanceSetVisio::GetHeaderRect(CRect /*rcControl*/, CQVTTabManager* /*pTabManager*/)
{
    return CRect(0, 0, 0, 0);
}

CRect CAppearanceSetVisio::GetClientRect(CRect rc, CQVTTabManager* pTabManager)
{
    const int nRow = GetRowHeight(pTabManager);
    const int nCount = pTabManager->GetItemCount();
    const int nSelected = std::max(pTabManager->GetCurSel(), 0);
    const BOOL bFlush = m_pPaintManager->m_nClientFrame == 2;
    CRect rcClient = rc;
    rcClient.top = rc.top + 1 + (nSelected + 1) * nRow;
    rcClient.bottom = std::max(rc.bottom - (nCount - nSelected - 1) * nRow, rcClient.top + nRow);
    if (!bFlush)
        rcClient.DeflateRect(1, 0);
    if (nSelected == nCount - 1)
        rcClient.bottom -= 1;
    return rcClient;
}

void CAppearanceSetVisio::AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient)
{
    const int nPosition = GetPosition();
    CQVTTabPaintManager::DeflateRectByPosition(rcClient, m_pPaintManager->m_rcControlMargin, nPosition);
    rcClient = GetClientRect(rcClient, pTabManager);
    CQVTTabPaintManager::DeflateRectByPosition(rcClient, GetClientMargin(), nPosition);
}

void CAppearanceSetVisio::RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rc)
{
    CQVTTabPaintManager::DeflateRectByPosition(rc, m_pPaintManager->m_rcControlMargin, GetPosition());
    const int nRow = GetRowHeight(pTabManager);
    const int nCount = pTabManager->GetItemCount();
    const int nSelected = pTabManager->GetCurSel();
    const int nLeft = rc.left + (m_pPaintManager->m_nClientFrame == 2 ? 0 : 1);
    int y = rc.top + 1;
    int nSelectedEnd = y;
    for (int i = 0; i < nCount; ++i)
    {
        if (i == nSelected + 1 && nSelected >= 0)
        {
            // The bars after the selected one sit at the bottom, leaving the
            // selected bar at least a row of page.
            y = std::max(rc.bottom - (nCount - i) * nRow, nSelectedEnd + nRow);
            y = std::min(y, static_cast<int>(rc.bottom) - 1);
        }
        CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = GetItemLength(pDC, pItem);
        SetItemLengths(pItem, nLength, nLength);
        pItem->SetRect(CRect(nLeft, y, rc.right, y + nRow));
        y += nRow;
        if (i == nSelected)
            nSelectedEnd = y;
    }
}

void CAppearanceSetVisio::DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rc)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pDC->FillSolidRect(rc, pColorSet->GetBackgroundColor());
    CQVTTabPaintManager::DeflateRectByPosition(rc, m_pPaintManager->m_rcControlMargin, GetPosition());
    CQVTTabClipScope clip(pDC);
    clip.Intersect(rc);
    if (m_pPaintManager->m_nClientFrame != 2)
        QVTTabDraw::FrameRect(pDC, rc, pColorSet->GetFrameColor());
    else if (pTabManager->GetItemCount() > 0)
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, pColorSet->GetFrameColor());
    pDC->SetBkMode(TRANSPARENT);
    for (int i = pTabManager->GetItemCount() - 1; i >= 0; --i)
    {
        CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
        CRect rcMeet;
        if (pItem->IsVisible() && rcMeet.IntersectRect(pItem->GetRect(), rc))
            DrawSingleButton(pDC, pItem);
    }
}

void CAppearanceSetVisio::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    CRect rc = pItem->GetRect();
    pColorSet->FillNavigateArea(pDC, rc, pItem);
    QVTTabDraw::Draw3dRect(pDC, rc, pColorSet->GetLightEdge(), pColorSet->GetDarkEdge());
    // A grip of short dashes near the right end.
    const COLORREF clrGrip = GetColorByIndex(38);
    for (int y = rc.top + 2; y < rc.bottom - 3; y += 2)
        pDC->FillSolidRect(rc.right - 7, y, 3, 1, clrGrip);
    rc.right -= 7;
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, rc, TRUE);
}
