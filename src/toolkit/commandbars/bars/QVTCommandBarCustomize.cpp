// A bar as the target of customize drags: where a dragged control would land
// (the insert mark), the drop that inserts its copy, and the mark drawn by
// inversion. (A fourth file of CQVTCommandBar.)
#include <cstdlib>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

DWORD CQVTCommandBar::OnCustomizeDragEnter(CQVTControl* pDataObject, CPoint point)
{
    m_rcInsertMark.SetRectEmpty();
    return OnCustomizeDragOver(pDataObject, point);
}

DWORD CQVTCommandBar::OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || (!IsCustomizable() && !pCommandBars->IsCustomizeAnything()) || !GetSafeHwnd() ||
        !IsWindowVisible())
        return qvtDropEffectNone;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    BOOL bAfter = TRUE;
    CRect rcMark;
    CalcInsertPosition(pDataObject, point, bAfter, rcMark);

    DWORD dwEffect = qvtDropEffectMove;
    CQVTControl* pUnder = m_pControls->HitTest(point);
    if (pUnder && pUnder != pDataObject)
    {
        CQVTObjectRef<CQVTControl> keepUnder(pUnder);
        if (!GetParentCommandBar() && pUnder->GetIndex() != m_nPopuped)
            CQVTCommandBars::ClosePopups();
        pUnder->OnCustomizeDragOver(pDataObject, point);
    }
    if (!GetSafeHwnd() || (pDataObject && !pDataObject->IsCustomizeDragOverAvail(this, point, dwEffect)))
    {
        OnCustomizeDragLeave();
        return qvtDropEffectNone;
    }
    if (rcMark != m_rcInsertMark)
    {
        m_rcInsertMark = rcMark;
        Redraw(nullptr, FALSE);
    }
    return dwEffect == qvtDropEffectNone ? static_cast<DWORD>(qvtDropEffectMove) : dwEffect;
}

void CQVTCommandBar::OnCustomizeDragLeave()
{
    if (m_rcInsertMark.IsRectEmpty())
        return;
    m_rcInsertMark.SetRectEmpty();
    Redraw(nullptr, FALSE);
}

void CQVTCommandBar::OnCustomizeDrop(CQVTControl* pDataObject, DWORD& dropEffect, CPoint ptDrop,
                                     CPoint ptDrag)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || !pDataObject)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    CQVTObjectRef<CQVTControl> keepDragged(pDataObject);
    BOOL bAfter = TRUE;
    CRect rcMark;
    int nIndex = CalcInsertPosition(pDataObject, ptDrop, bAfter, rcMark);
    CQVTControl* pTarget = GetControl(nIndex);
    if (pTarget && pTarget == pDataObject)
    {
        // Dropped on itself: a short sideways drag sets or clears the
        // separator before it, a shorter one nothing.
        CQVTDpiScaler* pDpi = QVTDpiScaler();
        const BOOL bMoved = std::abs(ptDrop.x - ptDrag.x) > pDpi->ScaleX(4) ||
                            std::abs(ptDrop.y - ptDrag.y) > pDpi->ScaleY(4);
        if (bMoved)
            pDataObject->SetBeginGroup(bAfter && nIndex != 0);
        dropEffect = qvtDropEffectCancelled;
    }
    else
    {
        if (bAfter)
            ++nIndex;
        SetPopuped(-1);
        SetSelected(-1);
        // A copy put before the first control of a group takes its separator.
        CQVTControl* pAt = GetControl(nIndex);
        const BOOL bBeginGroup = !bAfter && pAt && pAt->GetBeginGroup();
        CQVTControl* pCopy = m_pControls->AddCopy(pDataObject, nIndex, TRUE);
        if (pCopy)
        {
            if (bBeginGroup)
                pAt->SetBeginGroup(FALSE);
            pCopy->SetBeginGroup(bBeginGroup);
            pCommandBars->SetDragControl(pCopy);
        }
        else
        {
            // Its class cannot be made: the source keeps its control.
            dropEffect = qvtDropEffectCancelled;
        }
    }
    OnRecalcLayout();
    m_rcInsertMark.SetRectEmpty();
    Redraw(nullptr, FALSE);
}

void CQVTCommandBar::DrawInsertMark(CDC* pDC)
{
    const CRect rc = m_rcInsertMark;
    if (rc.IsRectEmpty())
        return;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const int sx = pDpi->ScaleX(1);
    const int sy = pDpi->ScaleY(1);
    const BOOL bVertical =
        m_barPosition == qvtBarLeft || m_barPosition == qvtBarRight || m_barType == qvtBarTypePopup;
    CBrush brush(::GetSysColor(COLOR_3DFACE));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    if (bVertical)
    {
        // A horizontal band: end caps of two columns, joined by a line.
        pDC->PatBlt(rc.left, rc.top, sx, rc.Height(), PATINVERT);
        pDC->PatBlt(rc.left + sx, rc.top + sy, sx, rc.Height() - 2 * sy, PATINVERT);
        pDC->PatBlt(rc.right - sx, rc.top, sx, rc.Height(), PATINVERT);
        pDC->PatBlt(rc.right - 2 * sx, rc.top + sy, sx, rc.Height() - 2 * sy, PATINVERT);
        pDC->PatBlt(rc.left + 2 * sx, rc.top + 2 * sy, rc.Width() - 4 * sx, 2 * sy, PATINVERT);
    }
    else
    {
        // A vertical band: the same turned by a quarter.
        pDC->PatBlt(rc.left, rc.top, rc.Width(), sy, PATINVERT);
        pDC->PatBlt(rc.left + sx, rc.top + sy, rc.Width() - 2 * sx, sy, PATINVERT);
        pDC->PatBlt(rc.left, rc.bottom - sy, rc.Width(), sy, PATINVERT);
        pDC->PatBlt(rc.left + sx, rc.bottom - 2 * sy, rc.Width() - 2 * sx, sy, PATINVERT);
        pDC->PatBlt(rc.left + 2 * sx, rc.top + 2 * sy, 2 * sx, rc.Height() - 4 * sy, PATINVERT);
    }
    pDC->SelectObject(pOldBrush);
}
