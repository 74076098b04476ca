#include "toolkit/themes/visualstudio/QVTVisualStudio2008Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/themes/office/QVTStatusBarThemeOffice2003.h"
#include "toolkit/themes/visualstudio/QVTRoundedFrame.h"

IMPLEMENT_DYNAMIC(CQVTVisualStudio2008Theme, CQVTVisualStudio2005Theme)

namespace {
#define VS2008_RGB(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

BOOL IsVisualStudio2008PopupBar(int barType, int barPosition)
{
    return barType == qvtBarTypePopup && barPosition == qvtBarPopup;
}
}  // namespace

CQVTVisualStudio2008Theme::CQVTVisualStudio2008Theme()
{
    m_nPopupTextGap = DpiX(10);
    m_pShadowManager->SetShadowOptions(CQVTShadowManager::shadowAlways);
}

void CQVTVisualStudio2008Theme::RefreshMetrics()
{
    CQVTVisualStudio2005Theme::RefreshMetrics();

    m_grcGripper.SetStandardValues(CQVTColorManager::BlendColors(GetColor(15), GetColor(5), 40),
                                   GetColor(15));
    m_grcHighlight.SetStandardValue(GetColor(13));
    m_clrHighlightBorder.SetStandardValue(GetColor(13));
    m_clrHighlightText.SetStandardValue(GetColor(14));

    const int nScheme = GetColorScheme();
    switch (nScheme)
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
        m_clrHighlightBorder.SetStandardValue(VS2008_RGB(0x98B5E2));
        m_grcHighlight.SetStandardValues(VS2008_RGB(0xEFF3FA), VS2008_RGB(0xC1D2EE));
        m_grcGripper.SetStandardValue(VS2008_RGB(0xF1F1F1));
        m_grcExpandedGripper.SetStandardValue(VS2008_RGB(0xD7E3EA));
        m_arrColor[56].SetStandardValue(VS2008_RGB(0xDDE7EE));
        break;
    case qvtSystemThemeOlive:
        m_clrHighlightBorder.SetStandardValue(VS2008_RGB(0x93A070));
        m_grcHighlight.SetStandardValues(VS2008_RGB(0xEFF2E3), VS2008_RGB(0xC2CF9E));
        m_grcGripper.SetStandardValues(VS2008_RGB(0xF7F6EF), VS2008_RGB(0xE9E6D6));
        break;
    case qvtSystemThemeSilver:
        m_clrHighlightBorder.SetStandardValue(VS2008_RGB(0xFFC06F));
        m_grcHighlight.SetStandardValues(VS2008_RGB(0xFFF6CC), VS2008_RGB(0xFFC273));
        m_grcGripper.SetStandardValues(VS2008_RGB(0xE8E9F2), VS2008_RGB(0xC1C1D3));
        m_arrColor[39].SetStandardValue(VS2008_RGB(0x6E6D8F));
        m_grcPopuped.SetStandardValues(VS2008_RGB(0xE8E9F1), VS2008_RGB(0xC0BFD1));
        break;
    case qvtSystemThemeAero:
        m_clrHighlightBorder.SetStandardValue(VS2008_RGB(0x96D9F9));
        m_grcHighlight.SetStandardValues(VS2008_RGB(0xF1F8FB), VS2008_RGB(0xBAE4F6));
        m_grcGripper.SetStandardValues(VS2008_RGB(0xF4F7FC), VS2008_RGB(0xD4D8E6));
        m_grcDockBar.SetStandardValues(VS2008_RGB(0xE9ECFA), VS2008_RGB(0xF4F7FC));
        m_clrToolbarShadow.SetStandardValue(VS2008_RGB(0xB5BECE));
        m_grcToolBar.SetStandardValues(VS2008_RGB(0xFAFAFD), VS2008_RGB(0xC4CBDB), 0.75f);
        m_clrShadow.SetStandardValue(VS2008_RGB(0x808080));
        m_grcPopuped.SetStandardValues(VS2008_RGB(0xFFFFFF), VS2008_RGB(0x76B8DB));
        m_grcExpandButton.SetStandardValues(VS2008_RGB(0xC3CADA), VS2008_RGB(0xE9ECFA), 0.75f);
        if (CQVTStatusBarThemeOffice2003* pStatus =
                DYNAMIC_DOWNCAST(CQVTStatusBarThemeOffice2003, m_pStatusBarPaintManager))
            pStatus->m_clrPaneBorder.SetStandardValue(VS2008_RGB(0xA0A0B4));
        // No scheme tint: the plain shadow.
        if (m_pShadowManager)
            m_pShadowManager->SetShadowColor(RGB(0, 0, 0));
        m_grcFace.SetStandardValues(VS2008_RGB(0xF4F7FC), VS2008_RGB(0x717C98));
        m_arrColor[53].SetStandardValue(VS2008_RGB(0xF0F0F0));
        for (int nIndex : {38, 39})
            m_arrColor[nIndex].SetStandardValue(VS2008_RGB(0xA0A0B4));
        m_arrColor[40].SetStandardValue(VS2008_RGB(0x808080));
        m_arrColor[41].SetStandardValue(VS2008_RGB(0xF0F0F0));
        m_arrColor[43].SetStandardValue(VS2008_RGB(0xA0A0A0));
        m_arrColor[31].SetStandardValue(VS2008_RGB(0xB6E4F7));
        for (int nIndex : {32, 50})
            m_arrColor[nIndex].SetStandardValue(VS2008_RGB(0x2999FF));
        m_arrColor[37].SetStandardValue(VS2008_RGB(0x307FB1));
        for (int nIndex : {33, 36})
            m_arrColor[nIndex].SetStandardValue(VS2008_RGB(0xCEEDFA));
        m_arrColor[30].SetStandardValue(VS2008_RGB(0xE9ECFA));
        m_arrColor[47].SetStandardValue(VS2008_RGB(0x000000));
        m_grcChecked.SetStandardValues(VS2008_RGB(0xEDF8FD), VS2008_RGB(0x81C0E0));
        m_grcPressed.SetStandardValues(VS2008_RGB(0xE4F5FC), VS2008_RGB(0x7CB1CC));
        m_grcSelected.SetStandardValues(VS2008_RGB(0xEDF8FD), VS2008_RGB(0x81C0E0));
        m_bSchemeColors = TRUE;
        break;
    default:
        break;
    }
    if (nScheme >= qvtSystemThemeBlue && nScheme <= qvtSystemThemeAero)
        m_clrHighlightText.SetStandardValue(RGB(0, 0, 0));
}

void CQVTVisualStudio2008Theme::AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (pBar && pBar->GetType() == qvtBarTypePopup)
    {
        rc.InflateRect(DpiX(1), 0);
        return;
    }
    CQVTCommandBarsOfficeXPTheme::AdjustExcludeRect(rc, pControl, bVertical);
}

CSize CQVTVisualStudio2008Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                         CQVTControl* pControl, BOOL bDraw)
{
    // Docked and floating toolbars always show the light second line.
    const BOOL bNoHighlight = m_bNoSeparatorHighlight;
    m_bNoSeparatorHighlight = FALSE;
    const CSize sz = CQVTCommandBarsOffice2003Theme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    m_bNoSeparatorHighlight = bNoHighlight;
    return sz;
}

void CQVTVisualStudio2008Theme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    CQVTCommandBarsOffice2003Theme::FillIconColumn(pDC, x, y, cx, cy, bTemporary);
    pDC->FillSolidRect(x + cx, y, 1, cy, GetColor(39));
    pDC->FillSolidRect(x + cx + 1, y, 1, cy, GetColor(COLOR_BTNHIGHLIGHT));
}

CRect CQVTVisualStudio2008Theme::GetScaledMargins(CQVTCommandBar* pBar)
{
    if (pBar && IsVisualStudio2008PopupBar(pBar->GetType(), pBar->GetPosition()))
        return CRect(DpiX(4), DpiY(3), DpiX(4), DpiY(3));
    return CQVTVisualStudio2005Theme::GetScaledMargins(pBar);
}

void CQVTVisualStudio2008Theme::DrawMenuBarHighlight(CDC* pDC, const CRect& rc, BOOL bPopuped)
{
    // Room for the two frames and a face, or none of them.
    if (rc.Width() < 5 || rc.Height() < 5)
        return;
    const COLORREF clrOuter = GetColor(COLOR_WINDOW);
    pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, clrOuter);
    pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, clrOuter);
    pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, clrOuter);
    pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, clrOuter);

    CRect rcFrame(rc);
    rcFrame.DeflateRect(1, 1);
    const COLORREF clrFrame = GetColor(32);
    pDC->Draw3dRect(rcFrame, clrFrame, clrFrame);
    const COLORREF clrCorner = CQVTColorManager::BlendColors(clrFrame, clrOuter, 50);
    for (const CPoint& pt :
         {rcFrame.TopLeft(), CPoint(rcFrame.right - 1, rcFrame.top), CPoint(rcFrame.left, rcFrame.bottom - 1),
          CPoint(rcFrame.right - 1, rcFrame.bottom - 1)})
        pDC->SetPixel(pt, clrCorner);

    CRect rcFace(rcFrame);
    rcFace.DeflateRect(1, 1);
    if (bPopuped)
        FillGradient(pDC, rcFace, m_grcPopuped, FALSE);
    else if (!m_bSchemeColors)
        pDC->FillSolidRect(rcFace, GetColor(31));
    else
        FillGradient(pDC, rcFace, m_grcSelected, FALSE);
}

void CQVTVisualStudio2008Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                              BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                              int barPosition)
{
    const BOOL bHotOnly = bSelected && !bChecked && !bPressed;
    if (IsVisualStudio2008PopupBar(barType, barPosition) && bHotOnly)
    {
        CRect rcFace(rc);
        rcFace.DeflateRect(1, 1);
        FillGradient(pDC, rcFace, m_grcHighlight, FALSE);
        QVTDrawRoundedFrame(pDC, rc, m_clrHighlightBorder);
        return;
    }
    if (barType == qvtBarTypeMenuBar && bHotOnly && bEnabled)
    {
        DrawMenuBarHighlight(pDC, rc, bPopuped);
        return;
    }
    const BOOL bInPopup = barType == qvtBarTypePopup || barPosition == qvtBarPopup;
    if (!bInPopup && barType != qvtBarTypeMenuBar && bPopuped && bEnabled)
    {
        FrameGradient(pDC, rc, m_grcPopuped, 32, FALSE);
        return;
    }
    CQVTVisualStudio2005Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped,
                                             barType, barPosition);
}

COLORREF CQVTVisualStudio2008Theme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                                          BOOL bChecked, BOOL bPopuped, int barType,
                                                          int barPosition)
{
    if (IsVisualStudio2008PopupBar(barType, barPosition) && bSelected && !bPressed && bEnabled)
        return m_clrHighlightText;
    return CQVTVisualStudio2005Theme::GetRectangleTextColor(bSelected, bPressed, bEnabled, bChecked, bPopuped,
                                                            barType, barPosition);
}

#undef VS2008_RGB
