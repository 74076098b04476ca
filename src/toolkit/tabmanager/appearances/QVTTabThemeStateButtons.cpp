#include "toolkit/tabmanager/appearances/QVTTabThemeStateButtons.h"

#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CAppearanceSetStateButtons::CAppearanceSetStateButtons()
{
    m_rcHeaderMargin.SetRect(2, 2, 4, 2);
    m_nRowMargin = 0;
}

int CAppearanceSetStateButtons::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2003;
}

CRect CAppearanceSetStateButtons::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pColorSet->GradientFill(pDC, pTabManager->GetHeaderRect(), pColorSet->m_grcHeaderFace, GetPosition());
    return GetClientRect(rcControl, pTabManager);
}

void CAppearanceSetStateButtons::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    GetColorSet()->FillTabButton(pDC, pItem->GetRect(), pItem);
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}
