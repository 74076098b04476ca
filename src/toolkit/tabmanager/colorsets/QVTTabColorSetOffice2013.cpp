#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2013.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

using namespace QVTTabColors;

void CQVTTabColorSetOffice2013::RefreshMetrics()
{
    CQVTTabColorSetVisualStudio2012::RefreshMetrics();
    ApplyTabManagerKeys(TRUE, defaultsOffice2013);
    SetStandard(m_clrButtonSeparator, QVTTabResourceColor(_T("TabManager"), _T("ButtonSeparator"), 0x999999));
    SetStandard(m_clrNonActiveButtonSeparator,
                QVTTabResourceColor(_T("TabManager"), _T("NonActiveButtonSeparator"), 0x999999));
    ApplyTabClientKeys(0xFFFFFF, 0xABABAB, TRUE, kKeyNone);
    SetStandard(m_grcSelectedFace, m_clrButtonSelected, m_clrButtonSelected);
    SetStandard(m_grcSelectedBorder, m_clrFrameBorder, m_clrFrameBorder);
    SetStandard(m_clrSeparatorHighlight, m_clrFrameBorder);
}

int CQVTTabColorSetOffice2013::GetStateIndex(CQVTTabManagerItem* pItem)
{
    const BOOL bSelected = pItem->IsSelected(), bHot = pItem->IsHighlighted(), bPressed = pItem->IsPressed();
    const int nState = bSelected && bHot       ? 0
                       : bSelected && bPressed ? 1
                       : bSelected             ? 2
                       : bHot                  ? 3
                       : bPressed              ? 4
                                               : 5;
    return IsStripActive(pItem) ? nState : nState + 6;
}

COLORREF CQVTTabColorSetOffice2013::GetItemColor(CQVTTabManagerItem* pItem)
{
    const CQVTPaintManagerColor* arrColors[12] = {&m_clrButtonSelectedHighlighted,
                                                  &m_clrButtonSelectedPressed,
                                                  &m_clrButtonSelected,
                                                  &m_clrButtonHighlighted,
                                                  &m_clrButtonPressed,
                                                  &m_clrButton,
                                                  &m_clrNonActiveButtonSelectedHighlighted,
                                                  &m_clrNonActiveButtonSelectedPressed,
                                                  &m_clrNonActiveButtonSelected,
                                                  &m_clrNonActiveButtonHighlighted,
                                                  &m_clrNonActiveButtonPressed,
                                                  &m_clrNonActiveButton};
    return arrColors[GetStateIndex(pItem)]->GetValue();
}

COLORREF CQVTTabColorSetOffice2013::GetItemTextColor(CQVTTabManagerItem* pItem)
{
    if (!pItem->IsEnabled())
        return m_clrTextDisabled;
    const CQVTPaintManagerColor* arrColors[12] = {&m_clrTextSelectedHighlighted,
                                                  &m_clrTextSelectedPressed,
                                                  &m_clrTextSelected,
                                                  &m_clrTextHighlighted,
                                                  &m_clrTextPressed,
                                                  &m_clrText,
                                                  &m_clrNonActiveTextSelectedHighlighted,
                                                  &m_clrNonActiveTextSelectedPressed,
                                                  &m_clrNonActiveTextSelected,
                                                  &m_clrNonActiveTextHighlighted,
                                                  &m_clrNonActiveTextPressed,
                                                  &m_clrNonActiveText};
    return arrColors[GetStateIndex(pItem)]->GetValue();
}

void CQVTTabColorSetOffice2013::SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem)
{
    pDC->SetTextColor(GetItemTextColor(pItem));
}

void CQVTTabColorSetOffice2013::GetCloseButtonColors(CQVTTabManagerNavigateButton* pButton, COLORREF& clrBack,
                                                     COLORREF& clrGlyph)
{
    CQVTTabManagerItem* pItem = pButton->GetItem();
    const BOOL bActive = IsStripActive(pItem);
    clrBack = GetItemColor(pItem);
    clrGlyph = GetItemTextColor(pItem);
    if (pButton->IsPressed())
        clrBack = bActive ? m_clrButtonPressed : m_clrNonActiveButtonSelectedPressed;
    else if (pButton->IsHighlighted())
        clrBack = bActive ? m_clrButtonHighlighted : m_clrNonActiveButtonHighlighted;
}

COLORREF CQVTTabColorSetOffice2013::FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    const COLORREF clr = GetItemColor(pItem);
    pDC->FillSolidRect(rc, clr);
    // Separators between neighbours that are both unselected.
    CQVTTabManager* pTabManager = pItem->GetTabManager();
    const int nIndex = pItem->GetIndex();
    if (pTabManager && !pItem->IsSelected() && nIndex + 1 < pTabManager->GetItemCount())
    {
        CQVTTabManagerItem* pNext = pTabManager->GetItem(nIndex + 1);
        if (!pNext->IsSelected() && pNext->IsVisible() && pNext->GetItemRow() == pItem->GetItemRow())
        {
            const COLORREF clrSeparator =
                IsStripActive(pItem) ? m_clrButtonSeparator : m_clrNonActiveButtonSeparator;
            if (QVTIsHorizontalTabPosition(GetPosition()))
            {
                const int nInset = QVTDpiScaler()->ScaleY(4);
                pDC->FillSolidRect(rc.right - 1, rc.top + nInset, 1, rc.Height() - 2 * nInset, clrSeparator);
            }
            else
            {
                const int nInset = QVTDpiScaler()->ScaleX(4);
                pDC->FillSolidRect(rc.left + nInset, rc.bottom - 1, rc.Width() - 2 * nInset, 1, clrSeparator);
            }
        }
    }
    return clr;
}
