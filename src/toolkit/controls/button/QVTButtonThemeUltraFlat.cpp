#include "toolkit/controls/button/QVTButtonThemeUltraFlat.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

#include <vssym32.h>

#include <cmath>

namespace {

BOOL IsDefaultButton(CQVTButton* pButton)
{
    return pButton->GetButtonStyle() == BS_DEFPUSHBUTTON;
}

// Per channel the sum of whole percentages of three colours.
COLORREF MixPercent(COLORREF c1, int p1, COLORREF c2, int p2, COLORREF c3, int p3)
{
    auto channel = [&](int (*get)(COLORREF)) {
        return get(c1) * p1 / 100 + get(c2) * p2 / 100 + get(c3) * p3 / 100;
    };
    return RGB(channel([](COLORREF c) { return (int)GetRValue(c); }),
               channel([](COLORREF c) { return (int)GetGValue(c); }),
               channel([](COLORREF c) { return (int)GetBValue(c); }));
}

}  // namespace

CQVTButtonThemeFlat::CQVTButtonThemeFlat()
{
    m_nThemeKind = 1;
    m_bFlatGlyphs = TRUE;
}

void CQVTButtonThemeFlat::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, pButton->GetBackColor());
    COLORREF clrFrame = GetColorByIndex(COLOR_WINDOWFRAME);
    if (IsDefaultButton(pButton) || pButton->GetChecked())
    {
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
        rc.DeflateRect(1, 1);
    }
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, GetColorByIndex(COLOR_WINDOW), GetColorByIndex(COLOR_WINDOW));
}

CQVTButtonThemeUltraFlat::CQVTButtonThemeUltraFlat() : m_bHiglightButtons(TRUE)
{
    m_nThemeKind = 2;
    m_bFlatGlyphs = TRUE;
}

void CQVTButtonThemeUltraFlat::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonTheme::RefreshMetrics(pButton);
    COLORREF clrFace = pButton->GetBackColor();
    COLORREF clrShadow = GetColorByIndex(COLOR_BTNSHADOW);
    COLORREF clrWindow = GetColorByIndex(COLOR_WINDOW);
    m_crBack.SetStandardValue(clrFace);
    m_crBorderShadow.SetStandardValue(clrShadow);
    m_crBorderHilite.SetStandardValue(clrShadow);
    m_crBackPushed.SetStandardValue(CQVTColorManager::BlendColors(clrShadow, clrFace, 50));
    m_crBackHilite.SetStandardValue(CQVTColorManager::BlendColors(clrFace, clrWindow, 30));
    m_crBackChecked.SetStandardValue(MixPercent(clrWindow, 40, GetColorByIndex(30), 50, m_crBackHilite, 10));
    COLORREF clrText = pButton->GetTextColor();
    m_crText.SetStandardValue(clrText);
    m_crTextCheck.SetStandardValue(clrText);
    m_crTextHilite.SetStandardValue(clrText);
    m_crTextPushed.SetStandardValue(clrText);
    m_crCheckMark.SetStandardValue((COLORREF)-1);
}

CQVTButtonThemeUltraFlat::Look CQVTButtonThemeUltraFlat::GetLook(CQVTButton* pButton) const
{
    BOOL bPushed = pButton->GetPushedState() != 0;
    BOOL bHot = pButton->IsHighlighted();
    if (bPushed && (bHot || !m_bHiglightButtons))
        return Look::Pushed;
    if (bHot || bPushed)
        return Look::Hot;
    if (pButton->GetChecked())
        return Look::Checked;
    return Look::Normal;
}

void CQVTButtonThemeUltraFlat::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    CRect rc = pButton->GetButtonRect();
    if (IsDefaultButton(pButton) || pButton->GetChecked())
    {
        pDC->Draw3dRect(rc, m_crBorderShadow, m_crBorderShadow);
        rc.DeflateRect(1, 1);
    }
    COLORREF clrBorder, clrFill;
    switch (GetLook(pButton))
    {
    case Look::Pushed:
        clrBorder = m_crBorderShadow;
        clrFill = m_crBackPushed;
        break;
    case Look::Hot:
        clrBorder = m_crBorderHilite;
        clrFill = m_crBackHilite;
        break;
    case Look::Checked:
        clrBorder = m_crBorderHilite;
        clrFill = m_crBackChecked;
        break;
    default:
        clrBorder = m_crBorderShadow;
        clrFill = pButton->GetBackColor();
        break;
    }
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

void CQVTButtonThemeUltraFlat::GetMarkColors(CQVTButton* pButton, COLORREF& clrFill, COLORREF& clrFrame,
                                             COLORREF& clrMark)
{
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    int nCheck = pButton->GetChecked();
    if (IsDisabled(pButton))
    {
        clrFrame = GetColorByIndex(35);
        clrFill = GetColorByIndex(51);
    }
    else if (m_bHiglightButtons)
    {
        if (bHot && bPushed)
        {
            clrFill = m_crBackPushed;
            clrFrame = m_crBorderHilite;
        }
        else if (!bHot && !bPushed)
        {
            clrFill = m_crBack;
            clrFrame = m_crBorderShadow;
        }
        else
        {
            clrFill = m_crBackHilite;
            clrFrame = m_crBorderHilite;
        }
    }
    else
    {
        clrFill = (bHot && bPushed) ? (COLORREF)m_crBackPushed : (COLORREF)m_crBack;
        clrFrame = (bHot || bPushed) ? (COLORREF)m_crBorderHilite : (COLORREF)m_crBorderShadow;
    }
    if (m_crCheckMark.GetValue() != (COLORREF)-1)
        clrMark = m_crCheckMark;
    else
        clrMark = (!IsDisabled(pButton) && nCheck == BST_CHECKED) ? GetColorByIndex(COLOR_BTNTEXT)
                                                                  : GetColorByIndex(35);
}

void CQVTButtonThemeUltraFlat::DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton)
{
    CRect rc = GetMarkRect(pDC, pButton, BP_CHECKBOX);
    COLORREF clrFill, clrFrame, clrMark;
    GetMarkColors(pButton, clrFill, clrFrame, clrMark);
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
    if (pButton->GetChecked())
        QVTGlyphFont()->DrawGlyph(pDC, IsDCRightToLeft(pDC) ? 72 : 71, rc, clrMark);
}

void CQVTButtonThemeUltraFlat::DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton)
{
    CRect rc = GetMarkRect(pDC, pButton, BP_RADIOBUTTON);
    COLORREF clrFill, clrFrame, clrMark;
    GetMarkColors(pButton, clrFill, clrFrame, clrMark);
    DrawAntialiasedDisc(pDC, rc, clrFrame, clrFill);
    if (pButton->GetChecked())
    {
        CQVTDpiScaler* pDpi = QVTDpiScaler();
        CRect rcDot(rc.left + pDpi->ScaleX(4), rc.top + pDpi->ScaleY(4), rc.left + pDpi->ScaleX(9),
                    rc.top + pDpi->ScaleY(9));
        DrawAntialiasedDisc(pDC, rcDot, clrMark, clrMark);
    }
}

void CQVTButtonThemeUltraFlat::DrawFrameWithoutCaption(CDC* pDC, CQVTButton* pButton, COLORREF clrFrame)
{
    CRect rcCaption = GetGroupBoxCaptionRect(pDC, pButton);
    CRect rcFrame = GetGroupBoxFrameRect(pDC, pButton);
    if (!rcCaption.IsRectEmpty())
    {
        DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
        rcCaption.OffsetRect((dwStyle & 0x300) == BS_RIGHT ? m_cxEdge : -m_cxEdge, 0);
        pDC->ExcludeClipRect(rcCaption);
    }
    pDC->Draw3dRect(rcFrame, clrFrame, clrFrame);
    pDC->SelectClipRgn(nullptr);
}

void CQVTButtonThemeUltraFlat::DrawGroupBox(CDC* pDC, CQVTButton* pButton)
{
    DrawFrameWithoutCaption(pDC, pButton, m_crBorderShadow);
}

void AFX_CDECL CQVTButtonThemeUltraFlat::DrawAntialiasedDisc(CDC* pDC, const CRect& rc, COLORREF clrRing,
                                                             COLORREF clrFill)
{
    double cx = (rc.left + rc.right - 1) / 2.0;
    double cy = (rc.top + rc.bottom - 1) / 2.0;
    double dRadius = (rc.right - rc.left - 1) / 2.0 - 0.25;
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        for (int x = rc.left; x < rc.right; ++x)
        {
            double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            if (d < dRadius - 1)
            {
                pDC->SetPixel(x, y, clrFill);
            }
            else if (d <= dRadius + 1)
            {
                COLORREF clrBase = d < dRadius ? clrFill : pDC->GetPixel(x, y);
                double f = std::fabs(d - dRadius);
                auto mix = [f](int ring, int base) { return (int)(ring + (base - ring) * f); };
                pDC->SetPixel(x, y,
                              RGB(mix(GetRValue(clrRing), GetRValue(clrBase)),
                                  mix(GetGValue(clrRing), GetGValue(clrBase)),
                                  mix(GetBValue(clrRing), GetBValue(clrBase))));
            }
        }
    }
}

CQVTButtonThemeOffice2000::CQVTButtonThemeOffice2000()
{
    m_nThemeKind = 3;
    m_bHiglightButtons = FALSE;
}

void CQVTButtonThemeOffice2000::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, pButton->GetBackColor());
    if (pButton->GetPushedState() || pButton->GetChecked())
        pDC->Draw3dRect(rc, m_crBorderShadow, m_crBorder3DHilite);
    else
        pDC->Draw3dRect(rc, m_crBorder3DHilite, m_crBorderShadow);
}

CQVTButtonThemeOfficeXP::CQVTButtonThemeOfficeXP()
{
    m_nThemeKind = 4;
    m_bUseVisualStyle = FALSE;
}

void CQVTButtonThemeOfficeXP::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::RefreshMetrics(pButton);
    m_crBack.SetStandardValue(GetColorByIndex(30));
    m_crBackPushed.SetStandardValue(GetColorByIndex(33));
    m_crBackHilite.SetStandardValue(GetColorByIndex(31));
    m_crBorderShadow.SetStandardValue(GetColorByIndex(COLOR_BTNSHADOW));
    m_crBorderHilite.SetStandardValue(GetColorByIndex(32));
    m_crText.SetStandardValue(GetColorByIndex(46));
    m_crTextCheck.SetStandardValue(GetColorByIndex(46));
    m_crTextHilite.SetStandardValue(GetColorByIndex(45));
    m_crTextPushed.SetStandardValue(GetColorByIndex(47));
    m_crBackChecked.SetStandardValue(GetColorByIndex(36));
}

void CQVTButtonThemeOfficeXP::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    CRect rc = pButton->GetButtonRect();
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    BOOL bChecked = pButton->GetChecked() != 0;
    COLORREF clrFill, clrFrame = m_crBorderHilite;
    if (bHot && !bPushed && !bChecked)
        clrFill = m_crBackHilite;
    else if ((bHot && (bPushed || bChecked)) || bPushed)
        clrFill = m_crBackPushed;
    else if (bChecked)
        clrFill = m_crBackChecked;
    else
    {
        clrFill = m_crBack;
        clrFrame = m_crBorderShadow;
    }
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

CQVTButtonThemeOffice2003::CQVTButtonThemeOffice2003() : m_bLunaTheme(FALSE)
{
    m_nThemeKind = 5;
}

void CQVTButtonThemeOffice2003::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeOfficeXP::RefreshMetrics(pButton);
    int nScheme = QVTColorManager()->GetCurrentSystemTheme();
    m_bLunaTheme = nScheme != qvtSystemThemeUnknown;
    if (!m_bLunaTheme)
        return;
    m_crBackHilite.SetStandardValue(0xC2EEFF);
    m_crBackPushed.SetStandardValue(0x3E80FE);
    m_crBackChecked.SetStandardValue(0x6FC0FF);
    for (CQVTPaintManagerColor* pText : {&m_crText, &m_crTextCheck, &m_crTextHilite, &m_crTextPushed})
        pText->SetStandardValue(RGB(0, 0, 0));
    switch (nScheme)
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        m_crBack.SetStandardValue(0xF0C7A9);
        m_crBorderShadow.SetStandardValue(0xB99D7F);
        m_crBorderHilite.SetStandardValue(0x800000);
        break;
    case qvtSystemThemeOlive:
        m_crBack.SetStandardValue(0x9FD4C5);
        m_crBorderShadow.SetStandardValue(0x7FB9A4);
        m_crBorderHilite.SetStandardValue(0x385D3F);
        break;
    case qvtSystemThemeSilver:
        m_crBack.SetStandardValue(0xD3C0C0);
        m_crBorderShadow.SetStandardValue(0xB2ACA5);
        m_crBorderHilite.SetStandardValue(0x0B4B4B);
        break;
    }
}

void CQVTButtonThemeOffice2003::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (!m_bLunaTheme || IsNativeUse(pButton))
    {
        CQVTButtonThemeOfficeXP::DrawButtonBackground(pDC, pButton);
        return;
    }
    CRect rc = pButton->GetButtonRect();
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    BOOL bChecked = pButton->GetChecked() != 0;
    // The colour manager's button gradients: 7 checked, 8 pushed, 9 hot.
    const CQVTColorManager* pColors = QVTColorManager();
    if (bPushed)
        QVTDrawHelpers()->GradientFillWithFactor(pDC, rc, pColors->GetGradientColor(8), FALSE);
    else if (bHot)
        QVTDrawHelpers()->GradientFillWithFactor(pDC, rc, pColors->GetGradientColor(9), FALSE);
    else if (bChecked)
        QVTDrawHelpers()->GradientFillWithFactor(pDC, rc, pColors->GetGradientColor(7), FALSE);
    else
    {
        pDC->FillSolidRect(rc, m_crBack);
        pDC->Draw3dRect(rc, m_crBorderShadow, m_crBorderShadow);
        return;
    }
    pDC->Draw3dRect(rc, m_crBorderHilite, m_crBorderHilite);
}
