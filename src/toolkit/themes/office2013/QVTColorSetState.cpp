#include "toolkit/themes/office2013/QVTColorSetState.h"

#include "toolkit/foundation/image/QVTResourceImages.h"

void AFXAPI QVTReadIniColor(CQVTPaintManagerColor& clr, LPCTSTR lpszSection, LPCTSTR lpszKey,
                            COLORREF clrDefault)
{
    clr.SetStandardValue(GetResourceImagesIniColor(lpszSection, lpszKey, clrDefault));
}

namespace {
void ColorSetReadPair(CQVTPaintManagerColorGradient& grc, LPCTSTR lpszSection)
{
    QVTReadIniColor(grc.clrLight, lpszSection, _T("SeparatorLight"), RGB(255, 255, 255));
    QVTReadIniColor(grc.clrDark, lpszSection, _T("SeparatorDark"), RGB(225, 225, 225));
}
}  // namespace

CQVTColorSetStateButton::CQVTColorSetStateButton(LPCTSTR lpszSection, COLORREF clrBackCheckedHighlight,
                                                 COLORREF clrBorderCheckedHighlight)
    : m_lpszSection(lpszSection), m_clrDefaultBackCheckedHighlight(clrBackCheckedHighlight),
      m_clrDefaultBorderCheckedHighlight(clrBorderCheckedHighlight)
{
}

void CQVTColorSetStateButton::RefreshColors()
{
    LPCTSTR s = m_lpszSection;
    QVTReadIniColor(m_clrButtonText, s, _T("ButtonText"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextHighlight, s, _T("ButtonTextHighlight"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextPushed, s, _T("ButtonTextPushed"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextDisabled, s, _T("ButtonTextDisabled"), RGB(177, 177, 177));
    QVTReadIniColor(m_clrButtonTextChecked, s, _T("ButtonTextChecked"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextCheckedHighlight, s, _T("ButtonTextCheckedHighlight"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonBack, s, _T("ButtonBack"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrButtonBackHighlight, s, _T("ButtonBackHighlight"), RGB(213, 225, 242));
    QVTReadIniColor(m_clrButtonBackPushed, s, _T("ButtonBackPushed"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrButtonBackDisabled, s, _T("ButtonBackDisabled"), RGB(238, 238, 238));
    QVTReadIniColor(m_clrButtonBackChecked, s, _T("ButtonBackChecked"), RGB(194, 213, 242));
    QVTReadIniColor(m_clrButtonBackCheckedHighlight, s, _T("ButtonBackCheckedHighlight"),
                    m_clrDefaultBackCheckedHighlight);
    QVTReadIniColor(m_clrButtonBorder, s, _T("ButtonBorder"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrButtonBorderHighlight, s, _T("ButtonBorderHighlight"), RGB(213, 225, 242));
    QVTReadIniColor(m_clrButtonBorderPushed, s, _T("ButtonBorderPushed"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrButtonBorderDisabled, s, _T("ButtonBorderDisabled"), RGB(192, 193, 194));
    QVTReadIniColor(m_clrButtonBorderChecked, s, _T("ButtonBorderChecked"), RGB(194, 213, 242));
    QVTReadIniColor(m_clrButtonBorderCheckedHighlight, s, _T("ButtonBorderCheckedHighlight"),
                    m_clrDefaultBorderCheckedHighlight);
}

CQVTColorSetStateMenu::CQVTColorSetStateMenu()
    : CQVTColorSetStateButton(_T("CommandBars.Menu"), RGB(194, 213, 242), RGB(194, 213, 242))
{
}

void CQVTColorSetStateMenu::RefreshColors()
{
    CQVTColorSetStateButton::RefreshColors();
    LPCTSTR s = GetSection();
    QVTReadIniColor(m_clrBack, s, _T("Back"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBorder, s, _T("Border"), RGB(212, 212, 212));
    QVTReadIniColor(m_clrGripper, s, _T("Gripper"), RGB(255, 255, 255));
    ColorSetReadPair(m_grcSeparator, s);
}

CQVTColorSetStateRibbon::CQVTColorSetStateRibbon()
    : CQVTColorSetStateButton(_T("CommandBars.Ribbon"), RGB(213, 225, 242), RGB(163, 189, 227))
{
}

void CQVTColorSetStateRibbon::RefreshColors()
{
    CQVTColorSetStateButton::RefreshColors();
    LPCTSTR s = GetSection();
    QVTReadIniColor(m_clrTabTextInactive, s, _T("TabTextInactive"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrTabBackInactive, s, _T("TabBackInactive"), RGB(255, 255, 255));
}

CQVTColorSetStateToolbar::CQVTColorSetStateToolbar()
    : CQVTColorSetStateButton(_T("CommandBars.Toolbar"), RGB(213, 225, 242), RGB(163, 189, 227))
{
}

void CQVTColorSetStateToolbar::RefreshColors()
{
    CQVTColorSetStateButton::RefreshColors();
    LPCTSTR s = GetSection();
    QVTReadIniColor(m_clrBack, s, _T("Back"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBorder, s, _T("Border"), RGB(225, 225, 225));
    QVTReadIniColor(m_clrBorderEdit, s, _T("BorderEdit"), RGB(166, 172, 181));
    QVTReadIniColor(m_clrGripper, s, _T("Gripper"), RGB(166, 172, 181));
    QVTReadIniColor(m_clrDisabledIcon, s, _T("DisabledIcon"), RGB(212, 212, 212));
    ColorSetReadPair(m_grcSeparator, s);
}

void CQVTColorSetStateCheckMark::RefreshColors()
{
    LPCTSTR s = _T("CommandBars");
    QVTReadIniColor(m_clrMark, s, _T("CheckMark"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrMarkHighlight, s, _T("CheckMarkHighlight"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrMarkPushed, s, _T("CheckMarkPushed"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrMarkDisabled, s, _T("CheckMarkDisabled"), RGB(177, 177, 177));
    QVTReadIniColor(m_clrBack, s, _T("CheckMarkBack"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBackHighlight, s, _T("CheckMarkBackHighlight"), RGB(213, 225, 242));
    QVTReadIniColor(m_clrBackPushed, s, _T("CheckMarkBackPushed"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBackDisabled, s, _T("CheckMarkBackDisabled"), RGB(238, 238, 238));
}

void CQVTColorSetStateComboBox::RefreshColors()
{
    LPCTSTR s = _T("CommandBars");
    QVTReadIniColor(m_clrBack, s, _T("ComboBoxBack"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBackHighlight, s, _T("ComboBoxBackHighlight"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBackDropped, s, _T("ComboBoxBackDropped"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBackDisabled, s, _T("ComboBoxBackDisabled"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrBorder, s, _T("ComboBoxBorder"), RGB(171, 171, 171));
    QVTReadIniColor(m_clrBorderHighlight, s, _T("ComboBoxBorderHighlight"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBorderDropped, s, _T("ComboBoxBorderDropped"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBorderDisabled, s, _T("ComboBoxBorderDisabled"), RGB(225, 225, 225));
    QVTReadIniColor(m_clrDropDownBack, s, _T("DropDownBack"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrDropDownBackHighlight, s, _T("DropDownBackHighlight"), RGB(213, 225, 242));
    QVTReadIniColor(m_clrDropDownBackDropped, s, _T("DropDownBackDropped"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrDropDownBackDisabled, s, _T("DropDownBackDisabled"), RGB(253, 253, 253));
    QVTReadIniColor(m_clrDropDownBorder, s, _T("DropDownBorder"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrDropDownBorderHighlight, s, _T("DropDownBorderHighlight"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrDropDownBorderDropped, s, _T("DropDownBorderDropped"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrDropDownBorderDisabled, s, _T("DropDownBorderDisabled"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrDropDownMarker, s, _T("DropDownMarker"), RGB(119, 119, 119));
    QVTReadIniColor(m_clrDropDownMarkerHighlight, s, _T("DropDownMarkerHighlight"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrDropDownMarkerDropped, s, _T("DropDownMarkerDropped"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrDropDownMarkerDisabled, s, _T("DropDownMarkerDisabled"), RGB(198, 198, 198));
}

void CQVTColorSetStateCheckBox::RefreshColors()
{
    LPCTSTR s = _T("CommandBars.CheckBox");
    QVTReadIniColor(m_clrMark, s, _T("Mark"), RGB(139, 139, 139));
    QVTReadIniColor(m_clrMarkPushed, s, _T("MarkPushed"), RGB(15, 20, 24));
    QVTReadIniColor(m_clrMarkHighlight, s, _T("MarkHighlight"), RGB(67, 75, 80));
    QVTReadIniColor(m_clrMarkDisabled, s, _T("MarkDisabled"), RGB(198, 198, 198));
    QVTReadIniColor(m_clrBack, s, _T("Back"), RGB(253, 253, 253));
    QVTReadIniColor(m_clrBackHighlight, s, _T("BackHighlight"), RGB(213, 225, 242));
    QVTReadIniColor(m_clrBackPushed, s, _T("BackPushed"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBackDisabled, s, _T("BackDisabled"), RGB(253, 253, 253));
    QVTReadIniColor(m_clrBorder, s, _T("Border"), RGB(171, 171, 171));
    QVTReadIniColor(m_clrBorderPushed, s, _T("BorderPushed"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBorderHighlight, s, _T("BorderHighlight"), RGB(163, 189, 227));
    QVTReadIniColor(m_clrBorderDisabled, s, _T("BorderDisabled"), RGB(225, 225, 225));
}
