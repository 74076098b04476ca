#include "toolkit/themes/office/QVTMessageBarThemeOffice2003.h"

#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"

IMPLEMENT_DYNAMIC(CQVTMessageBarThemeOffice2003, CQVTMessageBarPaintManager)

CQVTMessageBarThemeOffice2003::CQVTMessageBarThemeOffice2003(CQVTPaintManager* pPaintManager)
    : CQVTMessageBarPaintManager(pPaintManager)
{
}

void CQVTMessageBarThemeOffice2003::FillMessageBar(CDC* pDC, CQVTMessageBar* pBar)
{
    CQVTCommandBarsOffice2003Theme* pTheme =
        DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2003Theme, m_pPaintManager);
    if (!pDC || !pBar || !pTheme)
    {
        CQVTMessageBarPaintManager::FillMessageBar(pDC, pBar);
        return;
    }
    CRect rc = pBar->GetClientRect();
    // As wide as the dock bars' gradient, so that both line up.
    CRect rcGradient(rc);
    rcGradient.right = std::max<LONG>(rc.right, rc.left + ::GetSystemMetrics(SM_CXSCREEN) / 2);
    {
        CQVTDCSaveState state(pDC);
        pDC->IntersectClipRect(rc);
        QVTDrawHelpers()->GradientFillWithFactor(pDC, rcGradient, pTheme->m_grcDockBar, TRUE);
    }
    CRect rcMessage = pBar->GetContentRect();
    if (rcMessage.IsRectEmpty())
        return;
    const COLORREF clrFrame = pTheme->m_clrToolbarShadow;
    pDC->Draw3dRect(rcMessage, clrFrame, clrFrame);
    rcMessage.DeflateRect(1, 1);
    pDC->FillSolidRect(rcMessage, GetColorByIndex(COLOR_INFOBK));
}
