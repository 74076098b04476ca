#include "toolkit/controls/button/QVTButtonThemeOffice2013.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

#include <vssym32.h>

namespace {

const LPCTSTR kColorKeys[18] = {
    _T("Back"),         _T("BackHilite"),   _T("BackPushed"),    _T("BackDisabled"),   _T("Border"),
    _T("BorderHilite"), _T("BorderPushed"), _T("BorderDefault"), _T("BorderDisabled"), _T("Text"),
    _T("TextCheck"),    _T("TextHilite"),   _T("TextPushed"),    _T("TextDisabled"),   _T("Mark"),
    _T("MarkHilite"),   _T("MarkPushed"),   _T("MarkDisabled")};

BOOL IsMarkKind(DWORD dwKind)
{
    return (dwKind >= BS_CHECKBOX && dwKind <= BS_AUTO3STATE) || dwKind == BS_AUTORADIOBUTTON;
}

}  // namespace

const CQVTButtonThemeOffice2013::Defaults CQVTButtonThemeOffice2013::s_office2013Defaults = {
    {0xFDFDFD, 0xF2E1D5, 0xE3BDA3, 0xFDFDFD, 0xABABAB, 0xE3BDA3, 0x9A572B, 0x9A572B, 0xE1E1E1, 0x444444,
     0x444444, 0x444444, 0x444444, 0x989898, 0x8B8B8B, 0x504B43, 0x18140F, 0xC6C6C6}};

const CQVTButtonThemeOffice2013::Defaults CQVTButtonThemeOffice2013::s_visualStudio2015Defaults = {
    {0xF2EEEE, 0xF5DEC9, 0xCC7A00, 0xF2EEEE, 0xDBCECC, 0xCC7A00, 0xCC7A00, 0xCC7A00, 0xDBCECC, 0x1E1E1E,
     0x1E1E1E, 0x1E1E1E, 0xFFFFFF, 0xA5A4A2, 0x717171, 0x1E1E1E, 0xFFFFFF, 0xDBCECC}};

CQVTButtonThemeOffice2013::CQVTButtonThemeOffice2013()
{
    m_nThemeKind = 12;
    m_bFlatGlyphs = TRUE;
    m_nBorderGap = 1;
    m_bHiglightButtons = TRUE;
}

void CQVTButtonThemeOffice2013::LoadColors(const Defaults& defaults)
{
    CQVTPaintManagerColor* colors[18] = {
        &m_clrBack,         &m_clrBackHilite,   &m_clrBackPushed,    &m_clrBackDisabled,   &m_clrBorder,
        &m_clrBorderHilite, &m_clrBorderPushed, &m_clrBorderDefault, &m_clrBorderDisabled, &m_clrText,
        &m_clrTextCheck,    &m_clrTextHilite,   &m_clrTextPushed,    &m_clrTextDisabled,   &m_clrMark,
        &m_clrMarkHilite,   &m_clrMarkPushed,   &m_clrMarkDisabled};
    for (int i = 0; i < 18; ++i)
        colors[i]->SetStandardValue(
            GetResourceImagesIniColor(_T("Controls.Button"), kColorKeys[i], defaults.clr[i]));
}

void CQVTButtonThemeOffice2013::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::RefreshMetrics(pButton);
    LoadColors(s_office2013Defaults);
}

void CQVTButtonThemeOffice2013::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    BOOL bDefault = pButton->GetButtonStyle() == BS_DEFPUSHBUTTON;
    COLORREF clrFill, clrFrame;
    if (IsDisabled(pButton))
    {
        clrFill = m_clrBackDisabled;
        clrFrame = m_clrBorderDisabled;
    }
    else if (bHot && bPushed)
    {
        clrFill = m_clrBackPushed;
        clrFrame = m_clrBorderPushed;
    }
    else if (bHot || (bPushed && m_bHiglightButtons) || pButton->GetChecked())
    {
        clrFill = bDefault ? CQVTColorManager::BlendColors(m_clrBackPushed, m_clrBackHilite, 50)
                           : (COLORREF)m_clrBackHilite;
        clrFrame = bDefault ? CQVTColorManager::BlendColors(m_clrBorderPushed, m_clrBorderHilite, 50)
                            : (COLORREF)m_clrBorderHilite;
    }
    else
    {
        clrFill = m_clrBack;
        clrFrame = bDefault ? m_clrBorderHilite : m_clrBorder;
    }
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

COLORREF CQVTButtonThemeOffice2013::GetTextColor(CQVTButton* pButton)
{
    if (IsDisabled(pButton))
        return m_clrTextDisabled;
    if (IsMarkKind(pButton->GetButtonStyle()) && !pButton->IsPushButton())
        return m_clrTextCheck;
    COLORREF clrOwn = pButton->GetTextColor();
    if (clrOwn != (COLORREF)-1)
        return clrOwn;
    if (pButton->GetChecked() || pButton->GetPushedState())
        return m_clrTextPushed;
    if (pButton->IsHighlighted())
        return m_clrTextHilite;
    return m_clrText;
}

void CQVTButtonThemeOffice2013::DrawPushButtonText(CDC* pDC, CQVTButton* pButton)
{
    // As the standard theme, but a pressed caption does not move.
    CRect rcImage, rcText;
    UINT nFormat = 0;
    CalcPushButtonLayout(pDC, pButton, rcImage, rcText, nFormat);
    if (!rcText.IsRectEmpty())
        DrawCaptionText(pDC, pButton, rcText, nFormat, GetTextColor(pButton));
}

void CQVTButtonThemeOffice2013::DrawPushButtonIcon(CDC* pDC, CQVTButton* pButton)
{
    CRect rcImage, rcText;
    UINT nFormat = 0;
    CalcPushButtonLayout(pDC, pButton, rcImage, rcText, nFormat);
    if (!rcImage.IsRectEmpty())
        pButton->DrawImage(pDC, rcImage);
}

void CQVTButtonThemeOffice2013::DrawPushButtonDropDown(CDC*, CQVTButton*) {}

void CQVTButtonThemeOffice2013::GetMarkColors(CQVTButton* pButton, COLORREF& clrFill, COLORREF& clrMark,
                                              COLORREF& clrFrame)
{
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    if (IsDisabled(pButton))
    {
        clrFill = m_clrBackDisabled;
        clrMark = m_clrMarkDisabled;
        clrFrame = m_clrBorderDisabled;
    }
    else if (bHot && bPushed)
    {
        clrFill = m_clrBackPushed;
        clrMark = m_clrMarkPushed;
        clrFrame = m_clrBorderPushed;
    }
    else if (bHot || (bPushed && m_bHiglightButtons))
    {
        clrFill = m_clrBackHilite;
        clrMark = m_clrMarkHilite;
        clrFrame = m_clrBorderHilite;
    }
    else
    {
        clrFill = m_clrBack;
        clrMark = m_clrMark;
        clrFrame = m_clrBorder;
    }
}

void CQVTButtonThemeOffice2013::DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        CQVTButtonTheme::DrawCheckBoxMark(pDC, pButton);
        return;
    }
    CRect rc = GetMarkRect(pDC, pButton, BP_CHECKBOX);
    COLORREF clrFill, clrMark, clrFrame;
    GetMarkColors(pButton, clrFill, clrMark, clrFrame);
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
    int nCheck = pButton->GetChecked();
    if (nCheck == BST_INDETERMINATE)
    {
        CRect rcInner(rc);
        rcInner.DeflateRect(3, 3);
        pDC->FillSolidRect(rcInner, clrMark);
    }
    else if (nCheck)
    {
        QVTGlyphFont()->DrawGlyph(pDC, IsDCRightToLeft(pDC) ? 72 : 71, rc, clrMark);
    }
}

void CQVTButtonThemeOffice2013::DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        CQVTButtonTheme::DrawRadioButtonMark(pDC, pButton);
        return;
    }
    CRect rc = GetMarkRect(pDC, pButton, BP_RADIOBUTTON);
    COLORREF clrFill, clrMark, clrFrame;
    GetMarkColors(pButton, clrFill, clrMark, clrFrame);
    DrawAntialiasedDisc(pDC, rc, clrFrame, clrFill);
    if (pButton->GetChecked())
    {
        CQVTDpiScaler* pDpi = QVTDpiScaler();
        CRect rcDot(rc.left + pDpi->ScaleX(4), rc.top + pDpi->ScaleY(4), rc.left + pDpi->ScaleX(9),
                    rc.top + pDpi->ScaleY(9));
        DrawAntialiasedDisc(pDC, rcDot, clrMark, clrMark);
    }
}

void CQVTButtonThemeOffice2013::DrawGroupBox(CDC* pDC, CQVTButton* pButton)
{
    DrawFrameWithoutCaption(pDC, pButton, IsDisabled(pButton) ? m_clrBorderDisabled : m_clrBorder);
}

CQVTButtonThemeVisualStudio2012::CQVTButtonThemeVisualStudio2012(BOOL bDark) : m_bDark(bDark)
{
    m_nThemeKind = bDark ? 14 : 15;
    m_bUseVisualStyle = FALSE;
}

void CQVTButtonThemeVisualStudio2012::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeOffice2013::RefreshMetrics(pButton);
    COLORREF clrAccent = 0xCC7A00;
    m_crBack.SetStandardValue(m_bDark ? 0x302D2D : 0xF2EEEE);
    m_crBackHilite.SetStandardValue(m_bDark ? 0x201F1F : 0xF5DEC9);
    m_crBackPushed.SetStandardValue(clrAccent);
    m_crBorderHilite.SetStandardValue(clrAccent);
    m_crBorder3DHilite.SetStandardValue(clrAccent);
    m_crBorderPushed.SetStandardValue(clrAccent);
    m_crBorderShadow.SetStandardValue(m_bDark ? 0x464343 : 0xDBCECC);
    m_crBorder3DShadow.SetStandardValue(m_bDark ? 0x464343 : 0xDBCECC);
    COLORREF clrText = m_bDark ? 0xF1F1F1 : 0x1E1E1E;
    m_crText.SetStandardValue(clrText);
    m_crTextCheck.SetStandardValue(clrText);
    m_crTextHilite.SetStandardValue(clrText);
    m_crTextPushed.SetStandardValue(0xFFFFFF);
    m_crTextDisabled.SetStandardValue(m_bDark ? 0x656565 : 0xA5A4A2);
    m_crCheckMark.SetStandardValue(m_bDark ? 0x999999 : 0x717171);
}

void CQVTButtonThemeVisualStudio2012::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPushed = pButton->GetPushedState() != 0;
    BOOL bDefault = pButton->GetButtonStyle() == BS_DEFPUSHBUTTON;
    COLORREF clrFill, clrFrame;
    if (IsDisabled(pButton))
    {
        clrFill = m_crBack;
        clrFrame = m_crBorderShadow;
    }
    else if (bHot && bPushed)
    {
        clrFill = m_crBackPushed;
        clrFrame = m_crBorderPushed;
    }
    else if (bHot || (bPushed && m_bHiglightButtons))
    {
        clrFill = bDefault ? CQVTColorManager::BlendColors(m_crBackPushed, m_crBackHilite, 50)
                           : (COLORREF)m_crBackHilite;
        clrFrame = bDefault ? CQVTColorManager::BlendColors(m_crBorderPushed, m_crBorderHilite, 50)
                            : (COLORREF)m_crBorderHilite;
    }
    else if (bDefault)
    {
        clrFill = m_crBackHilite;
        clrFrame = m_crBorderHilite;
    }
    else
    {
        clrFill = m_crBack;
        clrFrame = m_crBorderShadow;
    }
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, clrFill);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

COLORREF CQVTButtonThemeVisualStudio2012::GetTextColor(CQVTButton* pButton)
{
    if (IsDisabled(pButton))
        return m_crTextDisabled;
    COLORREF clrOwn = pButton->GetTextColor();
    if (clrOwn != (COLORREF)-1)
        return clrOwn;
    if (IsMarkKind(pButton->GetButtonStyle()) && !pButton->IsPushButton())
        return m_crTextCheck;
    return pButton->GetPushedState() ? m_crTextPushed : m_crText;
}

void CQVTButtonThemeVisualStudio2012::DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::DrawCheckBoxMark(pDC, pButton);
}

void CQVTButtonThemeVisualStudio2012::DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::DrawRadioButtonMark(pDC, pButton);
}

CQVTButtonThemeVisualStudio2015::CQVTButtonThemeVisualStudio2015()
{
    m_nThemeKind = 16;
}

void CQVTButtonThemeVisualStudio2015::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::RefreshMetrics(pButton);
    LoadColors(s_visualStudio2015Defaults);
}

CQVTButtonThemeNativeWindows10::CQVTButtonThemeNativeWindows10()
{
    m_nThemeKind = 17;
}

void CQVTButtonThemeNativeWindows10::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::RefreshMetrics(pButton);
    LoadColors(s_visualStudio2015Defaults);
}
