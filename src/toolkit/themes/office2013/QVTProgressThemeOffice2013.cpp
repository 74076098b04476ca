#include "toolkit/themes/office2013/QVTProgressThemeOffice2013.h"

#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"

IMPLEMENT_DYNAMIC(CQVTProgressThemeOffice2013, CQVTProgressPaintManager)

CQVTProgressThemeOffice2013::CQVTProgressThemeOffice2013(CQVTPaintManager* pPaintManager)
    : CQVTProgressPaintManager(pPaintManager)
{
}

void CQVTProgressThemeOffice2013::RefreshMetrics()
{
    CQVTProgressPaintManager::RefreshMetrics();
    QVTReadIniColor(m_clrBorder, _T("Controls.ProgressBar"), _T("Border"), RGB(188, 188, 188));
    QVTReadIniColor(m_clrBar, _T("Controls.ProgressBar"), _T("Bar"), RGB(6, 176, 37));
    QVTReadIniColor(m_clrBack, _T("Controls.ProgressBar"), _T("Back"), RGB(230, 230, 230));
}

void CQVTProgressThemeOffice2013::DrawProgress(CDC* pDC, CQVTProgressBase* pProgress)
{
    if (!pDC || !pProgress)
        return;
    const CRect rc = pProgress->GetProgressRect();
    if (m_clrBack.GetValue() != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rc, m_clrBack);
    if (m_clrBorder.GetValue() != CQVTPaintManagerColor::noColor)
        pDC->Draw3dRect(rc, m_clrBorder, m_clrBorder);
    CRect rcInner(rc);
    rcInner.DeflateRect(2, 2);
    if (rcInner.Width() <= 1 || m_clrBar.GetValue() == CQVTPaintManagerColor::noColor)
        return;
    int nLower = 0, nUpper = 0;
    pProgress->GetRange(nLower, nUpper);
    // Empty and reversed ranges, and positions outside them, keep the fill
    // within the track.
    rcInner.right = rcInner.left + GetFillWidth(rcInner.Width(), pProgress->GetPos(), nLower, nUpper);
    if (!rcInner.IsRectEmpty())
        pDC->FillSolidRect(rcInner, m_clrBar);
}
