#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

using namespace QVTTabColors;

void CColorSetVisualStudio2003::RefreshMetrics()
{
    CQVTTabColorSetDefault::RefreshMetrics();
    SetStandard(m_grcHeaderFace, GetColorByIndex(48), GetColorByIndex(48));
    SetStandard(m_clrText, GetColorByIndex(49));
}

void CColorSetVisualStudio2005::RefreshVisualStudioBase()
{
    SetStandard(m_clrButtonSelected, GetColorByIndex(COLOR_WINDOW));
    SetStandard(m_clrTextSelected, GetColorByIndex(COLOR_WINDOWTEXT));
    SetStandard(m_clrButtonHighlighted, GetColorByIndex(36));
    SetStandard(m_clrButtonPressed, GetColorByIndex(33));
    SetStandard(m_clrTextHighlighted, GetColorByIndex(COLOR_BTNTEXT));
    SetStandard(m_clrFrameBorder, GetColorByIndex(57));
    SetStandard(m_csFrame[4], GetColorByIndex(57));
}

void CColorSetVisualStudio2005::FinishVisualStudio()
{
    SetStandard(m_clrTextSelectedHighlighted, m_clrText);
    SetStandard(m_clrButtonSelectedHighlighted, m_clrButton);
}

void CColorSetVisualStudio2005::RefreshMetrics()
{
    CQVTTabColorSetOffice2003::RefreshMetrics();
    RefreshVisualStudioBase();
    const int nTheme = QVTColorManager()->GetCurrentSystemTheme();
    if (IsPaletteAllowed() && (nTheme == qvtSystemThemeBlue || nTheme == qvtSystemThemeOlive))
        SetStandard(m_grcHeaderFace, 0xD5E2E4, 0xD5E2E4);
    else if (IsPaletteAllowed() && nTheme == qvtSystemThemeSilver)
    {
        SetStandard(m_grcHeaderFace, 0xEEEEEE, 0xEEEEEE);
        SetStandard(m_clrButton, 0xF8F5F5);
    }
    FinishVisualStudio();
}

void CQVTTabColorSetVisualStudio2008::RefreshMetrics()
{
    CQVTTabColorSetOffice2003::RefreshMetrics();
    RefreshVisualStudioBase();
    SetStandard(m_clrButtonSelected, GetColorByIndex(COLOR_3DFACE));
    SetStandard(m_clrButton, GetColorByIndex(COLOR_3DFACE));
    SetStandard(m_clrButtonHighlighted, GetColorByIndex(COLOR_WINDOW));
    if (IsPaletteAllowed())
    {
        struct
        {
            COLORREF clrSelected, clrHighlighted, clrFrame;
        } choice = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        switch (QVTColorManager()->GetCurrentSystemTheme())
        {
        case qvtSystemThemeBlue:
        case qvtSystemThemeRoyale:
            choice = {0xEED2C1, 0xE3BFA7, 0xE2B598};
            break;
        case qvtSystemThemeOlive:
            choice = {0x8DC6B6, 0x8EAFAF, 0x70A093};
            break;
        case qvtSystemThemeSilver:
            choice = {0xECE2E1, 0x80C9FF, 0xB09193};
            break;
        case qvtSystemThemeAero:
            choice = {0xFAE6D2, 0xF1D081, 0xBFA169};
            SetStandard(m_clrButton, 0xD2B498);
            break;
        }
        if (choice.clrSelected != 0xFFFFFFFF)
        {
            SetStandard(m_clrButtonSelected, choice.clrSelected);
            SetStandard(m_clrButtonHighlighted, choice.clrHighlighted);
            SetStandard(m_clrFrameBorder, choice.clrFrame);
            SetStandard(m_csFrame[4], choice.clrFrame);
        }
    }
    // Without palettes the system colours set above stand: the Office 2003
    // values already lie under them.
    FinishVisualStudio();
}

void CQVTTabColorSetVisualStudio2010::RefreshMetrics()
{
    CQVTTabColorSetVisualStudio2008::RefreshMetrics();
    SetStandard(m_grcHeaderFace, 0x5C3F2D, 0x5C3F2D);
    SetStandard(m_grcAutoHideFace, 0x5C3F2D, 0x5C3F2D);
    SetStandard(m_clrButton, 0x805D4A);
    SetStandard(m_clrButtonSelected, 0xA6E8FF);
    SetStandard(m_clrButtonHighlighted, 0x756B5F);
    SetStandard(m_clrButtonPressed, 0xA6E8FF);
    SetStandard(m_clrText, 0xFFFFFF);
    SetStandard(m_clrTextHighlighted, 0xFFFFFF);
    SetStandard(m_clrTextSelected, 0x000000);
    SetStandard(m_clrTextSelectedHighlighted, 0xDDD4CE);
    SetStandard(m_clrTextDisabled, 0xDDD4CE);
    SetStandard(m_clrFrameBorder, 0x5F412F);
    SetStandard(m_csFrame[4], 0x5F412F);
    SetStandard(m_csFrame[5], 0x563A29);
    SetStandard(m_csFrame[6], 0x563A29);
    SetStandard(m_csFrame[3], 0xB7A79B);
    SetStandard(m_clrButtonSelectedHighlighted, 0x805D4A);
    m_clrNavigateButtonBorder.SetCustomValue(0x65C3E5);
    if (!QVTOSVersion()->IsWinVistaOrGreater())
    {
        SetStandard(m_clrButtonHighlighted, 0x735D4A);
        SetStandard(m_clrButton, 0x735139);
        SetStandard(m_clrButtonSelected, 0xCEF3FF);
    }
}

void CQVTTabColorSetVisualStudio2010::SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem)
{
    COLORREF clr;
    if (!pItem->IsEnabled())
        clr = m_clrTextDisabled;
    else if (pItem->IsSelected())
        clr = IsStripActive(pItem) ? m_clrTextSelected : m_clrTextSelectedHighlighted;
    else if (pItem->IsHighlighted())
        clr = m_clrTextHighlighted;
    else
        clr = m_clrText;
    pDC->SetTextColor(clr);
}

void CQVTTabColorSetVisualStudio2010::FillHeader(CDC* pDC, CRect rc, CQVTTabManager* /*pTabManager*/)
{
    pDC->FillSolidRect(rc, m_grcHeaderFace.clrDark);
}

void CQVTTabColorSetVisualStudio2010::FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton,
                                                         CRect& rc)
{
    COLORREF clrGlyph = 0xDDD4CE;
    if (!pButton->IsStripButton())
        clrGlyph = pButton->IsItemSelected() ? 0x3D6375 : pButton->IsItemHighlighted() ? 0xDDD4CE : 0x523829;
    const BOOL bHot = pButton->IsHighlighted(), bPressed = pButton->IsPressed();
    if (pButton->IsEnabled() && (bHot || bPressed))
    {
        CQVTDrawHelpers::FillRectWithBorder(pDC, rc, m_clrNavigateButtonBorder,
                                            bHot && bPressed ? 0xA6E8FF : 0xF4FCFF);
        clrGlyph = 0;
    }
    pButton->DrawEntry(pDC, rc, clrGlyph, pButton->IsEnabled());
}

COLORREF CQVTTabColorSetVisualStudio2010::FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    const int nPosition = GetPosition();
    if (pItem->IsSelected() && IsStripActive(pItem))
    {
        pDC->FillSolidRect(rc, m_clrButtonSelected);
        if (QVTOSVersion()->IsWinVistaOrGreater() && !m_bPlainSelection)
        {
            // The outer half glows.
            CRect rcOuter = rc;
            switch (nPosition)
            {
            case qvtTabPositionLeft:
                rcOuter.right = rc.left + rc.Width() / 2;
                break;
            case qvtTabPositionBottom:
                rcOuter.top = rc.bottom - rc.Height() / 2;
                break;
            case qvtTabPositionRight:
                rcOuter.left = rc.right - rc.Width() / 2;
                break;
            default:
                rcOuter.bottom = rc.top + rc.Height() / 2;
            }
            GradientFill(pDC, rcOuter, 0xF2FCFF, 0xCFF3FF, nPosition);
        }
        return m_clrButtonSelected;
    }
    if (pItem->IsHighlighted())
    {
        GradientFill(pDC, rc, 0x76756D, m_clrButtonHighlighted, nPosition);
        return m_clrButtonHighlighted;
    }
    const COLORREF clr = GetItemColor(pItem);
    pDC->FillSolidRect(rc, clr);
    return clr;
}
