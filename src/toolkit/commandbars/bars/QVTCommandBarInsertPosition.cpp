// Where a control dragged in customize mode lands on a bar: the nearest
// customizable control of the row under the point, the side of it, and the
// insert mark that shows the place. (A third file of CQVTCommandBar.)
#include "toolkit/commandbars/bars/QVTCommandBar.h"

#include <cstdlib>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

int CQVTCommandBar::CalcInsertPosition(CQVTControl* pDragged, CPoint point, BOOL& bAfter, CRect& rcMark) const
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const BOOL bVertical =
        m_barPosition == qvtBarLeft || m_barPosition == qvtBarRight || m_barType == qvtBarTypePopup;
    bAfter = TRUE;
    rcMark.SetRectEmpty();

    // Rows begin at controls that wrap: the scan stops at a row past the
    // point and starts anew at a row the point has reached. Bars whose rows
    // are no wrapped rows count the controls level with the point instead.
    const BOOL bByExtent = IsRowsByExtent();
    int nCandidate = -1;
    int nDistance = 0;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!pControl->IsVisible() || !pControl->IsCustomizeMode())
            continue;
        const CRect rc = pControl->GetRect();
        const int nCentre = bVertical ? rc.CenterPoint().y : rc.CenterPoint().x;
        const int nDistanceHere = std::abs(nCentre - (bVertical ? point.y : point.x));
        if (bByExtent)
        {
            if (bVertical ? point.x < rc.left || point.x >= rc.right
                          : point.y < rc.top || point.y >= rc.bottom)
                continue;
        }
        else if (pControl->GetWrap() && nCandidate != -1)
        {
            if (bVertical ? rc.left > point.x : rc.top > point.y)
                break;
            nCandidate = i;
            nDistance = nDistanceHere;
            continue;
        }
        if (nCandidate == -1 || nDistanceHere < nDistance)
        {
            nCandidate = i;
            nDistance = nDistanceHere;
        }
    }
    if (nCandidate == -1)
    {
        if (!IsRibbonBar() && GetSafeHwnd())
        {
            CRect rcClient;
            GetClientRect(&rcClient);
            rcMark.SetRect(rcClient.left + pDpi->ScaleX(2), rcClient.top + pDpi->ScaleY(2),
                           rcClient.left + pDpi->ScaleX(8), rcClient.bottom - pDpi->ScaleY(2));
        }
        return -1;
    }

    CQVTControl* pControl = GetControl(nCandidate);
    const CRect rc = pControl->GetRect();
    bAfter = (bVertical ? rc.CenterPoint().y : rc.CenterPoint().x) < (bVertical ? point.y : point.x);
    if (pControl == pDragged)
        return nCandidate;
    CQVTControl* pNext = GetControl(nCandidate + 1);
    const BOOL bOutside = pNext && !pNext->GetBeginGroup() && (bVertical || !pNext->GetWrap());
    if (bVertical)
    {
        const int nBand = pDpi->ScaleY(6);
        if (!bAfter)
            rcMark.SetRect(rc.left, rc.top, rc.right, rc.top + nBand);
        else if (bOutside)
            rcMark.SetRect(rc.left, rc.bottom, rc.right, rc.bottom + nBand);
        else
            rcMark.SetRect(rc.left, rc.bottom - nBand, rc.right, rc.bottom);
    }
    else
    {
        const int nBand = pDpi->ScaleX(6);
        if (!bAfter)
            rcMark.SetRect(rc.left, rc.top, rc.left + nBand, rc.bottom);
        else if (bOutside)
            rcMark.SetRect(rc.right, rc.top, rc.right + nBand, rc.bottom);
        else
            rcMark.SetRect(rc.right - nBand, rc.top, rc.right, rc.bottom);
    }
    return nCandidate;
}
