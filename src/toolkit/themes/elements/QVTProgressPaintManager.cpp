#include "toolkit/themes/elements/QVTProgressPaintManager.h"

#include <algorithm>
#include <cmath>

#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTProgressPaintManager, CObject)

CQVTProgressPaintManager::CQVTProgressPaintManager(CQVTPaintManager* pPaintManager)
    : m_pPaintManager(pPaintManager), m_cyProgress(CQVTPaintManager::DpiY(16))
{
}

void CQVTProgressPaintManager::RefreshMetrics()
{
    m_cyProgress = CQVTPaintManager::DpiY(16);
}

int AFX_CDECL CQVTProgressPaintManager::GetFillWidth(int nWidth, int nPos, int nLower, int nUpper)
{
    const LONGLONG nRange = static_cast<LONGLONG>(nUpper) - nLower;
    if (nRange == 0 || nWidth <= 0)
        return 0;
    const LONGLONG nDone = static_cast<LONGLONG>(nPos) - nLower;
    // Rounded as MulDiv rounds.
    const LONGLONG nFill = std::llround(static_cast<double>(nDone) * nWidth / static_cast<double>(nRange));
    return static_cast<int>(std::max<LONGLONG>(0, std::min<LONGLONG>(nWidth, nFill)));
}

void CQVTProgressPaintManager::DrawProgress(CDC* pDC, CQVTProgressBase* pProgress)
{
    if (!pDC || !pProgress)
        return;
    const CRect rc = pProgress->GetProgressRect();
    pDC->FillSolidRect(rc, GetColorByIndex(COLOR_3DFACE));
    pDC->Draw3dRect(rc, GetColorByIndex(COLOR_3DSHADOW), GetColorByIndex(COLOR_3DSHADOW));
    CRect rcInner(rc);
    rcInner.DeflateRect(2, 2);
    if (rcInner.Width() < 2)
        return;
    int nLower = 0, nUpper = 0;
    pProgress->GetRange(nLower, nUpper);
    rcInner.right = rcInner.left + GetFillWidth(rcInner.Width(), pProgress->GetPos(), nLower, nUpper);
    if (!rcInner.IsRectEmpty())
        pDC->FillSolidRect(rcInner, GetColorByIndex(COLOR_HIGHLIGHT));
}
