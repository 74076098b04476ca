#include "toolkit/tabmanager/appearances/QVTTabThemeExcel2003.h"

#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabThemeExcel2003::CQVTTabThemeExcel2003()
{
    m_rcHeaderMargin.SetRect(2, 3, 2, 0);
}

int CQVTTabThemeExcel2003::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2003;
}

CRect CQVTTabThemeExcel2003::GetHeaderMargin()
{
    // Room for the slants of the first and last tab.
    CRect rc = m_rcHeaderMargin;
    rc.left += m_nFontHeight / 2;
    rc.right += m_nFontHeight / 2;
    return rc;
}

CRect CQVTTabThemeExcel2003::GetButtonDrawRect(const CQVTTabManagerItem* pItem)
{
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const int nHalf = pTabManager ? GetRowHeight(pTabManager) / 2 : 0;
    return QVTTabWidenAlong(pItem->GetRect(), GetPosition(), nHalf, nHalf);
}

void CQVTTabThemeExcel2003::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const CQVTTabShape shape(pItem->GetRect(), GetPosition());
    const int w = shape.Along();
    const int h = shape.Across() - 1;
    const int k = h / 2;
    // Wide at the client side, narrow outside, pulled back by a quarter row;
    // the outer edge lies on the item's outer row whatever the height's parity.
    const CPoint arrPoints[4] = {shape.Map(-k / 2, h), shape.Map(k / 2, 0), shape.Map(w - k / 2, 0),
                                 shape.Map(w + k / 2, h)};
    DrawPolygonGradient(pDC, pItem, arrPoints, 4, TRUE);

    const CQVTPaintManagerColor* pEdges = pItem->IsSelected() ? pColorSet->m_csStateB : pColorSet->m_csStateA;
    QVTTabDraw::Line(pDC, arrPoints[0], arrPoints[1], pEdges[0]);
    QVTTabDraw::Line(pDC, arrPoints[1], arrPoints[2], pEdges[1]);
    QVTTabDraw::Line(pDC, arrPoints[2], arrPoints[3], pEdges[2]);
    QVTTabDraw::Line(pDC, shape.Map(-k / 2 + 1, h), shape.Map(k / 2 + 1, 1), pEdges[3]);
    QVTTabDraw::Line(pDC, shape.Map(k / 2 + 1, 1), shape.Map(w - k / 2 - 1, 1), pEdges[4]);
    QVTTabDraw::Line(pDC, shape.Map(w - k / 2 - 1, 1), shape.Map(w + k / 2 - 1, h), pEdges[5]);

    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}
