#include "toolkit/tabmanager/appearances/QVTTabThemePropertyPage2003.h"

#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

namespace {

// A polyline through points given in the item's top-position terms.
void DrawMappedPolyline(CDC* pDC, const CQVTTabShape& shape, std::initializer_list<CPoint> points,
                        COLORREF clr)
{
    const CPoint* pPrevious = nullptr;
    for (const CPoint& pt : points)
    {
        if (pPrevious)
            QVTTabDraw::Line(pDC, shape.Map(pPrevious->x, pPrevious->y), shape.Map(pt.x, pt.y), clr);
        pPrevious = &pt;
    }
}

}  // namespace

CAppearanceSetPropertyPage2003::CAppearanceSetPropertyPage2003()
{
    m_rcHeaderMargin.SetRect(2, 3, 6, 0);
}

int CAppearanceSetPropertyPage2003::GetDefaultColorSet() const
{
    return qvtTabColorOffice2003;
}

CRect CAppearanceSetPropertyPage2003::GetHeaderMargin()
{
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nFontHeight;
    return rc;
}

CRect CAppearanceSetPropertyPage2003::GetButtonDrawRect(const CQVTTabManagerItem* pItem)
{
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const int nRow = pTabManager ? GetRowHeight(pTabManager) : 0;
    return QVTTabWidenAlong(pItem->GetRect(), GetPosition(), nRow, 2);
}

CRect CAppearanceSetPropertyPage2003::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pColorSet->FillHeader(pDC, pTabManager->GetHeaderRect(), pTabManager);
    if (m_pPaintManager->m_nClientFrame != 0 && m_pPaintManager->m_nClientFrame != 1)
        pColorSet->FillClient(pDC, GetClientRect(rcControl, pTabManager), pTabManager);
    return FillFramedClient(pDC, pTabManager, rcControl, pColorSet->GetFrameColor(),
                            pColorSet->GetFrameColor());
}

void CAppearanceSetPropertyPage2003::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const CQVTTabShape shape(pItem->GetRect(), GetPosition());
    const int w = shape.Along(), h = shape.Across();
    const CPoint arrFill[4] = {shape.Map(w - 1, h - 1), shape.Map(w - 1, 2), shape.Map(4, 2),
                               shape.Map(8 - h, h - 2)};
    const COLORREF clrFill = DrawPolygonGradient(pDC, pItem, arrFill, 4, TRUE);

    const BOOL bSelected = pItem->IsSelected();
    const COLORREF clrBorder =
        bSelected ? pColorSet->m_grcSelectedBorder.clrLight.GetValue() : pColorSet->GetFrameColor();
    const COLORREF clrHighlight1 = bSelected ? RGB(255, 255, 255) : pColorSet->GetHighlight1();
    const COLORREF clrHighlight2 = bSelected ? RGB(255, 255, 255) : pColorSet->GetHighlight2();
    DrawMappedPolyline(pDC, shape,
                       {{w, h - 2}, {w, 2}, {w - 2, 0}, {7, 0}, {2, 2}, {6 - h, h - 2}, {4 - h, h - 2}},
                       clrBorder);
    DrawMappedPolyline(pDC, shape, {{w - 3, 1}, {7, 1}, {2, 3}, {7 - h, h - 2}}, clrHighlight1);
    DrawMappedPolyline(pDC, shape, {{w - 1, 2}, {w - 1, h - 2}}, clrHighlight2);
    if (bSelected)
        shape.LineAlong(pDC, 6 - h, h - 1, w - 6 + h, clrFill);

    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

CAppearanceSetVisualStudio2005::CAppearanceSetVisualStudio2005()
{
    m_bForwardOrder = TRUE;
}

CRect CAppearanceSetVisualStudio2005::GetHeaderMargin()
{
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nFontHeight / 2;
    rc.right += m_nFontHeight / 2;
    return rc;
}

CRect CAppearanceSetVisualStudio2005::GetButtonDrawRect(const CQVTTabManagerItem* pItem)
{
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const int nHalf = pTabManager ? GetRowHeight(pTabManager) / 2 : 0;
    return QVTTabWidenAlong(pItem->GetRect(), GetPosition(), nHalf, nHalf);
}

void CAppearanceSetVisualStudio2005::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const CQVTTabShape shape(pItem->GetRect(), GetPosition());
    const int w = shape.Along(), h = shape.Across(), k = h / 2;
    const CPoint arrLocal[8] = {
        {w + k - 4, h - 1}, {w - 1, 5}, {w - 5, 1}, {w - 8, 0}, {8, 0}, {5, 1}, {2, 4}, {4 - k, h}};
    CPoint arrPoints[8];
    for (int i = 0; i < 8; ++i)
        arrPoints[i] = shape.Map(arrLocal[i].x, arrLocal[i].y);
    DrawPolygonGradient(pDC, pItem, arrPoints, 8, TRUE);

    const BOOL bSelected = pItem->IsSelected();
    const COLORREF clrBorder =
        bSelected ? pColorSet->m_grcSelectedBorder.clrLight.GetValue() : pColorSet->GetFrameColor();
    for (int i = 0; i + 1 < 8; ++i)
        QVTTabDraw::Line(pDC, arrPoints[i], arrPoints[i + 1], clrBorder);
    DrawMappedPolyline(pDC, shape, {{w + k - 5, h - 1}, {w - 2, 5}, {w - 5, 2}, {w - 8, 1}},
                       bSelected ? RGB(255, 255, 255) : pColorSet->GetHighlight1());

    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}
