#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

using namespace QVTTabColors;

namespace {

struct Palette
{
    COLORREF clrFrameBorder, clrDarkShadow, clrLightShadow, clrSelectedBorder;
    COLORREF clrHeaderLight, clrHeaderDark, clrButton, clrButtonHighlighted, clrAutoHideLight,
        clrAutoHideDark;
};

const Palette kBlue = {0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4,
                       0xFEFDFC, 0xF6C0A2, 0xC9F0FF, 0xF5BE9E, 0xFADAC4};
const Palette kOlive = {0x588060, 0x6B7760, 0x8CC2B0, 0x385D3F, 0xE4F1F2,
                        0xFEFEFC, 0xAADED0, 0xC7F0FF, 0xA7D9D9, 0xE4F1F2};
const Palette kSilver = {0x947C7C, 0x927476, 0xCEB9BA, 0x6F4B4B, 0xF7F3F3,
                         0xFEFEFC, 0xE6D9D9, 0xC2EEFF, 0xE5D7D7, 0xF7F3F3};

}  // namespace

BOOL CQVTTabColorSetOffice2003::IsPaletteAllowed() const
{
    return !(m_pPaintManager && m_pPaintManager->IsLunaColorsDisabled()) &&
           !QVTColorManager()->IsThemeColorsDisabled();
}

void CQVTTabColorSetOffice2003::RefreshMetrics()
{
    CQVTTabColorSetDefault::RefreshMetrics();
    const COLORREF clrFace = GetColorByIndex(COLOR_3DFACE);
    SetStandard(m_grcHeaderFace, clrFace,
                CQVTColorManager::BlendColors(clrFace, GetColorByIndex(COLOR_WINDOW), 205));
    SetStandard(m_grcSelectedFace, GetColorByIndex(36), GetColorByIndex(36));
    SetStandard(m_grcSelectedBorder, GetColorByIndex(37), GetColorByIndex(37));
    SetStandard(m_clrButtonHighlighted, GetColorByIndex(36));
    SetStandard(m_clrButtonPressed, GetColorByIndex(33));
    SetStandard(m_clrTextHighlighted, GetColorByIndex(COLOR_BTNTEXT));
    SetStandard(m_clrNavigateButtonBorder, 0xFFFFFFFF);
    m_bLunaColors = FALSE;

    if (IsPaletteAllowed())
    {
        const Palette* pPalette = nullptr;
        switch (QVTColorManager()->GetCurrentSystemTheme())
        {
        case qvtSystemThemeBlue:
        case qvtSystemThemeRoyale:
        case qvtSystemThemeAero:
            pPalette = &kBlue;
            break;
        case qvtSystemThemeOlive:
            pPalette = &kOlive;
            break;
        case qvtSystemThemeSilver:
            pPalette = &kSilver;
            break;
        default:
            SetStandard(m_clrButtonSelected, GetColorByIndex(36));
        }
        if (pPalette)
        {
            SetStandard(m_clrFrameBorder, pPalette->clrFrameBorder);
            SetStandard(m_csFrame[4], pPalette->clrFrameBorder);
            SetStandard(m_csFrame[2], pPalette->clrDarkShadow);
            SetStandard(m_csFrame[3], pPalette->clrDarkShadow);
            SetStandard(m_csFrame[1], pPalette->clrLightShadow);
            SetStandard(m_csFrame[5], pPalette->clrLightShadow);
            SetStandard(m_csFrame[6], 0xFFFFFF);
            SetStandard(m_grcSelectedFace, 0x6FC0FF, 0x6FC0FF);
            SetStandard(m_grcSelectedBorder, pPalette->clrSelectedBorder, pPalette->clrSelectedBorder);
            SetStandard(m_clrNavigateButtonBorder, pPalette->clrSelectedBorder);
            SetStandard(m_grcHeaderFace, pPalette->clrHeaderLight, pPalette->clrHeaderDark);
            SetStandard(m_clrButton, pPalette->clrButton);
            SetStandard(m_clrButtonSelected, 0x73C2FF);
            SetStandard(m_clrButtonHighlighted, pPalette->clrButtonHighlighted);
            SetStandard(m_grcAutoHideFace, pPalette->clrAutoHideLight, pPalette->clrAutoHideDark);
            SetStandard(m_clrButtonPressed, 0x4B8EFE);
            m_bLunaColors = TRUE;
            for (int i = 0; i < 3; ++i)
            {
                SetStandard(m_csStateA[i], m_clrFrameBorder);
                SetStandard(m_csStateB[i], m_clrFrameBorder);
                SetStandard(m_csStateA[i + 3], 0xFFFFFFFF);
                SetStandard(m_csStateB[i + 3], 0xFFFFFFFF);
            }
        }
    }
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == qvtTabAppearanceStateButtons)
    {
        SetStandard(m_grcAutoHideFace, GetColorByIndex(15), GetColorByIndex(15));
        SetStandard(m_grcHeaderFace, clrFace, clrFace);
    }
}

void CQVTTabColorSetOffice2003::FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc)
{
    if (pButton->IsEnabled())
    {
        const BOOL bHot = pButton->IsHighlighted(), bPressed = pButton->IsPressed();
        if (bHot && bPressed)
        {
            if (m_bLunaColors)
            {
                QVTDrawHelpers()->GradientFill(pDC, rc, 0x4B8EFE, 0x8BCFFF, FALSE);
                pDC->Draw3dRect(rc, m_clrNavigateButtonBorder, m_clrNavigateButtonBorder);
            }
            else
            {
                CQVTDrawHelpers::FillRectWithBorder(pDC, rc, GetColorByIndex(50), GetColorByIndex(33));
                pDC->SetTextColor(GetColorByIndex(47));
            }
        }
        else if (bHot || bPressed)
        {
            if (m_bLunaColors)
            {
                QVTDrawHelpers()->GradientFill(pDC, rc, 0xC8F2FF, 0x97D4FF, FALSE);
                pDC->Draw3dRect(rc, m_clrNavigateButtonBorder, m_clrNavigateButtonBorder);
            }
            else
            {
                CQVTDrawHelpers::FillRectWithBorder(pDC, rc, GetColorByIndex(32), GetColorByIndex(31));
                pDC->SetTextColor(GetColorByIndex(45));
            }
        }
    }
    pButton->DrawEntry(pDC, rc, m_clrActiveFilesGlyph, pButton->IsEnabled());
}

COLORREF CQVTTabColorSetOffice2003::FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    const COLORREF clr = pItem->IsPressed()       ? m_clrButtonPressed.GetValue()
                         : pItem->IsHighlighted() ? m_clrButtonHighlighted.GetValue()
                                                  : GetItemColor(pItem);
    GradientFill(pDC, rc, CQVTColorManager::BlendColors(RGB(255, 255, 255), clr, 300), clr, GetPosition());
    return clr;
}

void CQVTTabColorSetOffice2007::RefreshMetrics()
{
    CQVTTabColorSetOffice2003::RefreshMetrics();
    SetStandard(m_clrButtonPressed, GetColorByIndex(33));
    SetStandard(m_grcSelectedFace, 0x6FC0FF, 0x6FC0FF);
    SetStandard(m_grcSelectedBorder, 0x800000, 0x800000);

    const BOOL bResources = QVTTabResourceImagesLoaded();
    auto color = [bResources](LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault) {
        return bResources ? QVTTabResourceColor(lpszSection, lpszKey, clrDefault) : clrDefault;
    };
    const COLORREF clrFrame = color(_T("TabManager"), _T("FrameBorder"), 0x9C613B);
    SetStandard(m_clrFrameBorder, clrFrame);
    SetStandard(m_csFrame[4], clrFrame);
    const COLORREF clrDark = color(_T("TabManager"), _T("DarkShadow"), 0x9A3500);
    SetStandard(m_csFrame[2], clrDark);
    SetStandard(m_csFrame[3], clrDark);
    const COLORREF clrLight = color(_T("TabManager"), _T("LightShadow"), 0xF1A675);
    SetStandard(m_csFrame[1], clrLight);
    SetStandard(m_csFrame[5], clrLight);
    SetStandard(m_csFrame[6], 0xFFFFFF);
    if (bResources)
    {
        const COLORREF clrFace = color(_T("Ribbon"), _T("RibbonFace"), 0xFADAC4);
        SetStandard(m_grcHeaderFace, clrFace, clrFace);
        SetStandard(m_grcAutoHideFace, clrFace, clrFace);
    }
    else
    {
        SetStandard(m_grcHeaderFace, 0xFADAC4, 0xFEFDFC);
        SetStandard(m_grcAutoHideFace, 0xF5BE9E, 0xFADAC4);
    }
    SetStandard(m_clrButton, color(_T("Window"), _T("ButtonFace"), 0xF6C0A2));
    SetStandard(m_clrButtonSelected, color(_T("Window"), _T("HighlightChecked"), 0x73C2FF));
    SetStandard(m_clrButtonHighlighted, color(_T("Window"), _T("HighlightSelected"), 0xC9F0FF));
    SetStandard(m_clrNavigateButtonBorder, color(_T("Window"), _T("WindowFrame"), 0xFFFFFFFF));
    const COLORREF clrText = color(_T("Ribbon"), _T("TabNormalText"), 0x8B4215);
    SetStandard(m_clrText, clrText);
    SetStandard(m_clrTextHighlighted, clrText);
    SetStandard(m_clrTextSelected, color(_T("Ribbon"), _T("TabSelectedText"), 0x8B4215));
}

void CQVTTabColorSetOffice2007Access::RefreshMetrics()
{
    CQVTTabColorSetOffice2007::RefreshMetrics();
    if (!QVTTabResourceImagesLoaded())
        return;
    SetStandard(m_clrText, 0);
    SetStandard(m_clrTextHighlighted, 0);
    SetStandard(m_clrTextSelected, 0);
    SetStandard(m_clrFrameBorder, QVTTabResourceColor(_T("TabManager"), _T("AccessBorder"), 0xFFFFFFFF));
    const COLORREF clrHeader = QVTTabResourceColor(_T("TabManager"), _T("AccessHeader"), 0xFADAC4);
    SetStandard(m_grcHeaderFace, clrHeader, clrHeader);
}
