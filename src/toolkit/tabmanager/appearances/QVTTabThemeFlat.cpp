#include "toolkit/tabmanager/appearances/QVTTabThemeFlat.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabClipScope.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabThemeFlat::CQVTTabThemeFlat()
{
    m_rcHeaderMargin.SetRect(2, 2, 4, 0);
}

int CQVTTabThemeFlat::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2003;
}

CRect CQVTTabThemeFlat::FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    pColorSet->FillHeader(pDC, pTabManager->GetHeaderRect(), pTabManager);
    return FillFramedClient(pDC, pTabManager, rcControl, pColorSet->GetFrameColor(),
                            pColorSet->GetFrameColor());
}

void CQVTTabThemeFlat::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    CRect rc = pItem->GetRect();
    CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, 1, 0), nPosition);
    if (pItem->IsSelected())
        CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, 0, 1), nPosition);
    pColorSet->FillNavigateArea(pDC, rc, pItem);
    QVTTabDraw::FrameRect(pDC, rc, pColorSet->GetFrameColor());
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

int CAppearanceSetPropertyPageFlat::GetDefaultColorSet() const
{
    return qvtTabColorDefault;
}

void CAppearanceSetPropertyPageFlat::ExcludeItemCorners(CDC* pDC, const CRect& rc, BOOL bOuterOnly)
{
    const CQVTTabShape shape(rc, GetPosition());
    const int w = shape.Along(), h = shape.Across();
    const int cu = QVTDpiScaler()->ScaleX(1), cv = QVTDpiScaler()->ScaleY(1);
    pDC->ExcludeClipRect(shape.MapRect(0, 0, cu, cv));
    pDC->ExcludeClipRect(shape.MapRect(w - cu, 0, w, cv));
    if (!bOuterOnly)
    {
        pDC->ExcludeClipRect(shape.MapRect(0, h - cv, cu, h));
        pDC->ExcludeClipRect(shape.MapRect(w - cu, h - cv, w, h));
    }
}

void CAppearanceSetPropertyPageFlat::SoftenCorners(CDC* pDC, const CRect& rc, COLORREF clrFrame,
                                                   COLORREF clrBehind)
{
    const CQVTTabShape shape(rc, GetPosition());
    const int w = shape.Along();
    shape.BlendPixel(pDC, 0, 1, clrBehind, 120);
    shape.BlendPixel(pDC, 1, 0, clrBehind, 120);
    shape.BlendPixel(pDC, w - 2, 0, clrBehind, 120);
    shape.BlendPixel(pDC, w - 1, 1, clrBehind, 120);
    shape.BlendPixel(pDC, 1, 1, clrFrame, 180);
    shape.BlendPixel(pDC, w - 2, 1, clrFrame, 180);
    shape.BlendPixel(pDC, 2, 1, clrFrame, 60);
    shape.BlendPixel(pDC, 1, 2, clrFrame, 60);
    shape.BlendPixel(pDC, w - 3, 1, clrFrame, 60);
    shape.BlendPixel(pDC, w - 2, 2, clrFrame, 60);
}

void CAppearanceSetPropertyPageFlat::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    const BOOL bSelected = pItem->IsSelected(), bHighlighted = pItem->IsHighlighted();
    if (!m_bFrameUnselected && !bSelected && !bHighlighted)
    {
        m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
        return;
    }
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    CRect rc = pItem->GetRect();
    if (bSelected)
        CQVTTabPaintManager::InflateRectByPosition(rc, CRect(0, 0, 0, 1), nPosition);
    const COLORREF clrFrame =
        bHighlighted && !bSelected ? pColorSet->GetHighlightedFrameColor() : pColorSet->GetFrameColor();
    {
        CQVTTabClipScope clip(pDC);
        CRect rcCorners = pItem->GetRect();
        CQVTTabPaintManager::InflateRectByPosition(rcCorners, CRect(0, 0, 0, 1), nPosition);
        ExcludeItemCorners(pDC, rcCorners, FALSE);
        pColorSet->FillNavigateArea(pDC, rc, pItem);
        if (m_bFlatFrame)
            QVTTabDraw::FrameRect(pDC, rc, clrFrame);
        else
        {
            if (!bSelected)
                pDC->FillSolidRect(QVTTabDraw::HeaderSide(pItem->GetRect(), (nPosition + 2) % 4), clrFrame);
            CPen pen(PS_SOLID, 1, clrFrame);
            CPen* pOldPen = pDC->SelectObject(&pen);
            CBrush* pOldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
            pDC->RoundRect(rc, CPoint(6, 6));
            pDC->SelectObject(pOldBrush);
            pDC->SelectObject(pOldPen);
        }
    }
    if (m_bFlatFrame)
        SoftenCorners(pDC, rc, clrFrame, pColorSet->GetHeaderBackground());
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

CQVTTabThemeVisualStudio2010::CQVTTabThemeVisualStudio2010()
{
    m_bFlatFrame = TRUE;
    m_bFrameUnselected = FALSE;
}

int CQVTTabThemeVisualStudio2010::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2010;
}

void CQVTTabThemeVisualStudio2010::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    const BOOL bSelected = pItem->IsSelected(), bHighlighted = pItem->IsHighlighted();
    if (!bSelected && !bHighlighted)
    {
        m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
        return;
    }
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    CRect rc = pItem->GetRect();
    const BOOL bExtendInstead = bSelected && pColorSet->GetSelectedFrameColor() != 0xFFFFFFFF;
    if (bExtendInstead)
        CQVTTabPaintManager::InflateRectByPosition(rc, CRect(1, 1, 1, 0), nPosition);
    const COLORREF clrFrame = bSelected ? pColorSet->GetFrameColor() : pColorSet->GetHighlightedFrameColor();
    {
        CQVTTabClipScope clip(pDC);
        ExcludeItemCorners(pDC, rc, TRUE);
        pColorSet->FillNavigateArea(pDC, rc, pItem);
        if (!bExtendInstead)
            QVTTabDraw::FrameRect(pDC, rc, clrFrame);
    }
    SoftenCorners(pDC, rc, bExtendInstead ? pColorSet->GetItemColor(pItem) : clrFrame,
                  pColorSet->GetHeaderBackground());
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}
