#include "toolkit/tabmanager/appearances/QVTTabThemeVisualStudio2003.h"

#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabThemeVisualStudio2003::CQVTTabThemeVisualStudio2003()
{
    m_rcHeaderMargin.SetRect(4, 2, 4, 0);
}

int CQVTTabThemeVisualStudio2003::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2003;
}

CRect CQVTTabThemeVisualStudio2003::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pColorSet->FillHeader(pDC, pTabManager->GetHeaderRect(), pTabManager);
    return FillFramedClient(pDC, pTabManager, rcControl, pColorSet->GetLightEdge(), pColorSet->GetDarkEdge());
}

void CQVTTabThemeVisualStudio2003::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    if (pItem->IsSelected())
    {
        CRect rc = pItem->GetRect();
        CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, 0, 1), nPosition);
        pColorSet->FillNavigateArea(pDC, rc, pItem);
        QVTTabDraw::Draw3dRect(pDC, rc, pColorSet->GetLightEdge(), pColorSet->GetDarkEdge());
    }
    else
    {
        const CQVTTabShape shape(pItem->GetRect(), nPosition);
        shape.LineAcross(pDC, shape.Along() - 1, 2, shape.Across() - 4, pColorSet->GetFrameColor());
    }
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}
