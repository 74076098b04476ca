#include "toolkit/tabmanager/appearances/QVTTabThemeOffice2000.h"

#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabThemeOffice2000::CQVTTabThemeOffice2000()
{
    m_rcHeaderMargin.SetRect(2, 3, 6, 0);
}

CRect CQVTTabThemeOffice2000::GetHeaderClipBox(CDC* pDC, CQVTTabManager* pTabManager)
{
    CRect rcHeader = pTabManager->GetHeaderRect();
    const int nPosition = GetPosition();
    if (nPosition == qvtTabPositionBottom)
        rcHeader.top -= 1;
    else if (nPosition == qvtTabPositionRight)
        rcHeader.left -= 1;
    return ClipBoxWithin(pDC, rcHeader);
}

CRect CQVTTabThemeOffice2000::GetClientMargin()
{
    CRect rc = CQVTTabPaintManagerTheme::GetClientMargin();
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    if (pColorSet && !pColorSet->IsThemed() && m_pPaintManager->m_nClientFrame == 0)
    {
        // Room for the frame's second shadow line.
        rc.right += 2;
        const int nPosition = GetPosition();
        if (nPosition == qvtTabPositionTop || nPosition == qvtTabPositionLeft)
            rc.bottom += 2;
    }
    return rc;
}

CRect CQVTTabThemeOffice2000::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    CRect rcHeader = pTabManager->GetHeaderRect();
    CQVTTabPaintManager::InflateRectByPosition(rcHeader, CRect(0, 0, 0, 1), nPosition);
    pColorSet->FillHeader(pDC, rcHeader, pTabManager);

    const CRect rcClient = GetClientRect(rcControl, pTabManager);
    pColorSet->FillClient(pDC, rcClient, pTabManager);
    const COLORREF clrLight = pColorSet->GetLightEdge();
    const COLORREF clrInner = pColorSet->GetInnerShadow();
    const COLORREF clrOuter = pColorSet->GetOuterShadow();
    if (m_pPaintManager->m_nClientFrame == 0)
    {
        QVTTabDraw::Draw3dRect(pDC, rcClient, clrLight, clrOuter);
        if (clrInner != 0xFFFFFFFF)
        {
            pDC->FillSolidRect(rcClient.left + 1, rcClient.bottom - 2, rcClient.Width() - 2, 1, clrInner);
            pDC->FillSolidRect(rcClient.right - 2, rcClient.top + 1, 1, rcClient.Height() - 2, clrInner);
        }
    }
    else if (m_pPaintManager->m_nClientFrame == 1)
    {
        if (nPosition == qvtTabPositionTop || nPosition == qvtTabPositionLeft)
        {
            if (clrLight != 0xFFFFFFFF)
                pDC->FillSolidRect(QVTTabDraw::HeaderSide(rcClient, nPosition), clrLight);
        }
        else
        {
            if (clrOuter != 0xFFFFFFFF)
                pDC->FillSolidRect(QVTTabDraw::HeaderSide(rcClient, nPosition), clrOuter);
            CRect rcInner = rcClient;
            CQVTTabPaintManager::DeflateRectByPosition(rcInner, CRect(0, 1, 0, 0), nPosition);
            if (clrInner != 0xFFFFFFFF)
                pDC->FillSolidRect(QVTTabDraw::HeaderSide(rcInner, nPosition), clrInner);
        }
    }
    return rcClient;
}

void CQVTTabThemeOffice2000::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    const BOOL bSelected = pItem->IsSelected();
    CRect rc = pItem->GetRect();
    if (bSelected)
        CQVTTabPaintManager::InflateRectByPosition(rc, CRect(2, 2, 2, 0), nPosition);

    const CQVTTabShape shape(rc, nPosition);
    const int w = shape.Along(), h = shape.Across();
    const COLORREF clrFill = pColorSet->FillNavigateArea(pDC, shape.MapRect(1, 1, w - 1, h), pItem);
    const COLORREF clrLight = pColorSet->GetLightEdge();
    const COLORREF clrInner = pColorSet->GetInnerShadow();
    const COLORREF clrOuter = pColorSet->GetOuterShadow();
    // Light falls from the top left: the outer edge of bottom and right
    // strips is in shadow.
    const BOOL bOuterLit = nPosition == qvtTabPositionTop || nPosition == qvtTabPositionLeft;

    shape.LineAcross(pDC, 0, 2, h - 2, clrLight);
    if (bOuterLit)
    {
        shape.Pixel(pDC, 1, 1, clrLight);
        shape.LineAlong(pDC, 2, 0, w - 4, clrLight);
    }
    else
    {
        shape.Pixel(pDC, 1, 1, clrOuter);
        shape.LineAlong(pDC, 2, 0, w - 4, clrOuter);
        shape.LineAlong(pDC, 2, 1, w - 5, clrInner);
    }
    shape.Pixel(pDC, w - 2, 1, clrOuter);
    shape.LineAcross(pDC, w - 1, 2, h - 3, clrOuter);
    shape.LineAcross(pDC, w - 2, 2, h - 3, clrInner);
    if (bSelected && pItem->GetItemRow() == 0)
        shape.LineAlong(pDC, 1, h - 1, w - 3, clrFill);

    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

void CAppearanceSetPropertyPageSelected::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    if (!pItem->IsSelected() && !pItem->IsHighlighted())
        m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
    else
        CQVTTabThemeOffice2000::DrawSingleButton(pDC, pItem);
}
