#include "toolkit/themes/office/QVTStatusBarThemeOfficeXP.h"

#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeOfficeXP, CQVTStatusBarPaintManager)

CQVTStatusBarThemeOfficeXP::CQVTStatusBarThemeOfficeXP(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarPaintManager(pPaintManager)
{
}

void CQVTStatusBarThemeOfficeXP::DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* /*pPane*/,
                                                BOOL /*bGripperPane*/)
{
    if (m_pPaintManager)
        m_pPaintManager->Draw3dRect(pDC, rcItem, COLOR_3DSHADOW, COLOR_3DSHADOW);
}

void CQVTStatusBarThemeOfficeXP::DrawPaneSeparator(CDC* pDC, CRect rcItem, CQVTStatusBarPane* /*pPane*/)
{
    if (m_pPaintManager)
        m_pPaintManager->VerticalLine(pDC, rcItem.left - 2, rcItem.top, rcItem.bottom,
                                      m_pPaintManager->GetColor(39));
}
