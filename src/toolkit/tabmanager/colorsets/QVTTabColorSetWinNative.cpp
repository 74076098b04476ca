#include "toolkit/tabmanager/colorsets/QVTTabColorSetWinNative.h"

#include <vssym32.h>

#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

using namespace QVTTabColors;

void CColorSetWinNative::RefreshMetrics()
{
    CQVTTabColorSetDefault::RefreshMetrics();
    m_themeTab.OpenThemeData(nullptr, _T("TAB"));
    m_themeToolbar.OpenThemeData(nullptr, _T("TOOLBAR"));
    if (!IsThemed())
        return;
    for (int i = 0; i < 3; ++i)
        SetStandard(m_csFrame[i], 0xFFFFFFFF);
    COLORREF clr = 0;
    if (SUCCEEDED(m_themeTab.GetThemeColor(TABP_PANE, 0, TMT_FILLCOLORHINT, &clr)))
        SetStandard(m_clrPaneFace, clr);
    SetStandard(m_clrTextHighlighted, m_clrText);
    SetStandard(m_clrTextSelectedHighlighted, m_clrText);
    if (SUCCEEDED(m_themeTab.GetThemeColor(TABP_TOPTABITEM, TIS_NORMAL, TMT_TEXTCOLOR, &clr)))
        SetStandard(m_clrText, clr);
    if (SUCCEEDED(m_themeTab.GetThemeColor(TABP_TOPTABITEM, TIS_SELECTED, TMT_TEXTCOLOR, &clr)))
        SetStandard(m_clrTextSelected, clr);
    if (SUCCEEDED(m_themeTab.GetThemeColor(TABP_TOPTABITEM, TIS_HOT, TMT_TEXTCOLOR, &clr)))
        SetStandard(m_clrTextHighlighted, clr);
}

BOOL CColorSetWinNative::IsThemed()
{
    return m_themeTab.IsAppThemeActive();
}

void CColorSetWinNative::FillClient(CDC* pDC, CRect rc, CQVTTabManager* pTabManager)
{
    if (!IsThemed())
    {
        CQVTTabColorSetDefault::FillClient(pDC, rc, pTabManager);
        return;
    }
    const int nPosition = GetPosition();
    if (nPosition == qvtTabPositionBottom)
        rc.bottom += 1;
    else if (nPosition == qvtTabPositionRight)
        rc.right += 1;
    m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), TABP_PANE, 0, rc);
}

void CColorSetWinNative::FillTabButton(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    if (!IsThemed() || !pItem->IsSelected())
    {
        CQVTTabColorSetDefault::FillTabButton(pDC, rc, pItem);
        return;
    }
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON,
                                       pItem->IsHighlighted() ? TS_HOTCHECKED : TS_CHECKED, rc);
}

void CColorSetWinNative::FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc)
{
    if (!IsThemed())
    {
        CQVTTabColorSetDefault::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    if (pButton->IsEnabled())
    {
        const int nState = pButton->IsPressed() ? TS_PRESSED : pButton->IsHighlighted() ? TS_HOT : TS_NORMAL;
        m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON, nState, rc);
    }
    pButton->DrawEntry(pDC, rc, m_clrActiveFilesGlyph, pButton->IsEnabled());
}

COLORREF CColorSetWinNative::FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    if (!IsThemed())
        return CQVTTabColorSetDefault::FillNavigateArea(pDC, rc, pItem);
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const BOOL bSelected = pItem->IsSelected();
    const BOOL bLast = pTabManager && pItem->GetIndex() == pTabManager->GetItemCount() - 1;
    const int nPart = pItem->GetIndex() == 0 ? TABP_TOPTABITEMLEFTEDGE
                      : bLast && !bSelected  ? TABP_TOPTABITEMRIGHTEDGE
                                             : TABP_TOPTABITEM;
    const int nState = bSelected ? TIS_SELECTED : pItem->IsHighlighted() ? TIS_HOT : TIS_NORMAL;
    const int nPosition = GetPosition();
    if (bSelected)
    {
        // Into the pane, over its edge.
        if (nPosition == qvtTabPositionTop)
            rc.bottom += 2;
        else if (nPosition == qvtTabPositionLeft)
            rc.right += 1;
    }
    QVTTabDrawTurned(pDC, rc, nPosition, [this, nPart, nState](CDC* pTarget, CRect rcTop) {
        m_themeTab.DrawThemeBackground(pTarget->GetSafeHdc(), nPart, nState, rcTop);
    });
    return GetItemColor(pItem);
}
