#include "toolkit/themes/windows10/QVTCommandBarsNativeWindows10Theme.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTFrameThemeNativeWindows10.h"
#include "toolkit/themes/windows10/QVTStatusBarThemeNativeWindows10.h"
#include "toolkit/themes/windows10/QVTWindows10ElementThemes.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsNativeWindows10Theme, CQVTCommandBarsOffice2013Theme)
IMPLEMENT_DYNAMIC(CQVTCommandBarsVisualStudio2015Theme, CQVTCommandBarsNativeWindows10Theme)

namespace {
const COLORREF kWindows10ThemeNoColor = CQVTPaintManagerColor::noColor;
const WCHAR kWindows10GlyphArrowDown = 77;
// The "Close" command of the bars' own close buttons.
const int kWindows10CloseCommand = 9149;
}  // namespace

CQVTCommandBarsNativeWindows10Theme::CQVTCommandBarsNativeWindows10Theme()
{
    SetProgressPaintManager(new CQVTProgressThemeNativeWindows10(this));
    SetSliderPaintManager(new CQVTSliderThemeNativeWindows10(this));
    SetMessageBarPaintManager(new CQVTMessageBarThemeNativeWindows10(this));
    SetStatusBarPaintManager(new CQVTStatusBarThemeNativeWindows10(this));
    SetGalleryPaintManager(new CQVTControlGalleryNativeWindows10Theme(this));
    SetScrollBarPaintManager(new CQVTScrollBarThemeNativeWindows10());
    delete m_pFramePaintManager;
    m_pFramePaintManager = new CQVTFrameThemeNativeWindows10(this);
    m_pFramePaintManager->RefreshMetrics();
    // Waits for: Ribbon III (CQVTRibbonThemeNativeWindows10): the ribbon
    // paint manager's slot stays null, as the Office 2013 theme's does.
    // The bases refreshed before this object was complete.
    RefreshMetrics();
}

void CQVTCommandBarsNativeWindows10Theme::DrawCheckFrame(CDC* pDC, CRect rc, COLORREF clrFrame,
                                                         COLORREF clrBack)
{
    rc.DeflateRect(DpiX(2), DpiY(2));
    for (int i = 0; i < 2; ++i)
    {
        if (clrFrame != kWindows10ThemeNoColor && !rc.IsRectEmpty())
            pDC->Draw3dRect(rc, clrFrame, clrFrame);
        rc.DeflateRect(1, 1);
    }
    if (clrBack != kWindows10ThemeNoColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clrBack);
}

void CQVTCommandBarsNativeWindows10Theme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    if (pControl->GetStyle() == qvtButtonIconAndCaptionBelow)
    {
        CQVTCommandBarsOfficeXPTheme::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    CQVTCommandBar* pBar = pControl->GetParent();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const BOOL bSelected = pControl->GetSelected(), bPressed = pControl->GetPressed();
    const BOOL bPopuped = pControl->GetPopuped(), bChecked = pControl->GetChecked();
    DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped,
                  pBar ? pBar->GetType() : qvtBarTypeNormal, pBar ? pBar->GetPosition() : qvtBarTop);
    const int nDropDown = GetSplitDropDownWidth();
    const COLORREF clrLine = m_csToolbar.m_clrButtonBorderCheckedHighlight;
    // The line between the halves shows only on a hot, checked button.
    if (bEnabled && bSelected && !bPopuped && !bPressed && bChecked && clrLine != kWindows10ThemeNoColor)
        VerticalLine(pDC, rc.right - nDropDown - 1, rc.top, rc.bottom, clrLine);
    const CRect rcDropDown(rc.right - nDropDown, rc.top, rc.right, rc.bottom);
    DrawDropDownGlyph(pDC, pControl, rcDropDown.CenterPoint(), bSelected, bPopuped, bEnabled, FALSE);
}

CSize CQVTCommandBarsNativeWindows10Theme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    // The flat combo box, in the combo-box set also where a ribbon puts it
    // into the caption.
    const CSize sz = CQVTPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    if (!bDraw || !pCombo)
        return sz;
    const CQVTColorSetStateComboBox& cs = m_csComboBox;
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    COLORREF clrBack = cs.m_clrBack, clrBorder = cs.m_clrBorder, clrDropDownBack = cs.m_clrDropDownBack;
    COLORREF clrDropDownBorder = cs.m_clrDropDownBorder, clrMarker = cs.m_clrDropDownMarker;
    if (!bEnabled)
    {
        clrBack = cs.m_clrBackDisabled;
        clrBorder = cs.m_clrBorderDisabled;
        clrDropDownBack = cs.m_clrDropDownBackDisabled;
        clrDropDownBorder = cs.m_clrDropDownBorderDisabled;
        clrMarker = cs.m_clrDropDownMarkerDisabled;
    }
    else if (pControl->GetPopuped())
    {
        clrBack = cs.m_clrBackDropped;
        clrBorder = cs.m_clrBorderDropped;
        clrDropDownBack = cs.m_clrDropDownBackDropped;
        clrDropDownBorder = cs.m_clrDropDownBorderDropped;
        clrMarker = cs.m_clrDropDownMarkerDropped;
    }
    else if (pControl->GetSelected())
    {
        clrBack = cs.m_clrBackHighlight;
        clrBorder = cs.m_clrBorderHighlight;
        clrDropDownBack = cs.m_clrDropDownBackHighlight;
        clrDropDownBorder = cs.m_clrDropDownBorderHighlight;
        clrMarker = cs.m_clrDropDownMarkerHighlight;
    }
    const CRect rc = pControl->GetRect();
    const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    FillAndFrame(pDC, rcBox, clrBorder, clrBack);
    CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    rcButton.DeflateRect(1, 1);
    if (clrDropDownBack != kWindows10ThemeNoColor)
        pDC->FillSolidRect(rcButton, clrDropDownBack);
    if (bEnabled && clrDropDownBorder != kWindows10ThemeNoColor)
        VerticalLine(pDC, rcButton.left, rcButton.top, rcButton.bottom, clrDropDownBorder);
    {
        CQVTFontDC font(pDC, GetIconFont());
        CRect rcText(rcBox.left + DpiX(3), rcBox.top + DpiY(1), rcButton.left, rcBox.bottom - DpiY(1));
        pCombo->DrawEditText(pDC, rcText);
    }
    CRect rcMarker(rcButton);
    rcMarker.OffsetRect(1, 0);
    QVTGlyphFont()->DrawGlyph(pDC, kWindows10GlyphArrowDown, rcMarker, clrMarker);
    return CSize(0, 0);
}

COLORREF CQVTCommandBarsNativeWindows10Theme::GetControlTextColor(CQVTControl* pControl)
{
    const int nId = pControl->GetID();
    if ((nId == QVT_ID_TOOLBAR_EXPAND || nId == QVT_ID_ADDREMOVE_BUTTONS) &&
        (pControl->GetPopuped() || pControl->GetSelected()))
        return m_csToolbar.m_clrButtonTextHighlight;
    if (nId == kWindows10CloseCommand && pControl->GetPressed())
        return m_csToolbar.m_clrButtonTextPushed;
    return CQVTCommandBarsOffice2013Theme::GetControlTextColor(pControl);
}

void CQVTCommandBarsNativeWindows10Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                        BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                                        int barType, int barPosition)
{
    if (bEnabled && bPopuped && barType != qvtBarTypeNormal)
    {
        CQVTColorSetStateButton& cs = GetColorSet(barType);
        FillAndFrame(pDC, rc, cs.m_clrButtonBorderPushed, cs.m_clrButtonBackPushed);
        return;
    }
    CQVTCommandBarsOffice2013Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped,
                                                  barType, barPosition);
}

void CQVTCommandBarsNativeWindows10Theme::DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled,
                                                               BOOL bSelected, BOOL bPressed, BOOL bChecked,
                                                               int barType)
{
    if (barType == qvtBarTypePopup && (!bEnabled || bSelected || !bPressed))
    {
        if (!bEnabled)
            pDC->FillSolidRect(rc, m_csComboBox.m_clrBackDisabled);
        else if (bSelected && bPressed)
            FillAndFrame(pDC, rc, m_csToolbar.m_clrButtonBorderPushed, m_csToolbar.m_clrButtonBackPushed);
        else if (bSelected)
            FillAndFrame(pDC, rc, m_csToolbar.m_clrButtonBorderHighlight,
                         m_csToolbar.m_clrButtonBackHighlight);
        else
            pDC->FillSolidRect(rc, m_csComboBox.m_clrBack);
        return;
    }
    DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, FALSE, barType, qvtBarPopup);
}

CSize CQVTCommandBarsNativeWindows10Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const int nPosition = pBar->GetPosition();
    if ((nPosition != qvtBarTop && nPosition != qvtBarBottom) || pBar->IsDialogBar())
        return CQVTCommandBarsOfficeXPTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
    const CSize sz(DpiX(20), 0);
    if (!bDraw || !pDC || !pBar->IsGripperVisible() || !pBar->GetSafeHwnd())
        return sz;
    CRect rc;
    pBar->GetClientRect(&rc);
    const COLORREF clr = GetColor(38);
    if (clr == kWindows10ThemeNoColor)
        return sz;
    DrawDottedLine(pDC, rc.left + DpiX(10), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
    DrawDottedLine(pDC, rc.left + DpiX(12), rc.top + DpiY(7), rc.bottom - DpiY(5), clr, TRUE);
    DrawDottedLine(pDC, rc.left + DpiX(14), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
    return sz;
}

void CQVTCommandBarsNativeWindows10Theme::DrawControlCheckFrame(CDC* pDC, CRect rc, CQVTControl* pControl)
{
    if (!pControl->GetChecked())
    {
        CQVTCommandBarsOffice2013Theme::DrawControlCheckFrame(pDC, rc, pControl);
        return;
    }
    const BOOL bSelected = pControl->GetSelected(), bPressed = pControl->GetPressed();
    const CQVTColorSetStateCheckMark& cs = m_csCheckMark;
    rc.InflateRect(1, 1);
    if (!GetEffectiveEnabled(pControl))
        DrawCheckFrame(pDC, rc, cs.m_clrMarkDisabled, cs.m_clrBackDisabled);
    else if (bSelected && bPressed)
        DrawCheckFrame(pDC, rc, cs.m_clrMarkPushed, cs.m_clrBackPushed);
    else if (bSelected)
        DrawCheckFrame(pDC, rc, cs.m_clrMarkHighlight, cs.m_clrBackHighlight);
    else if (!bPressed)
        DrawCheckFrame(pDC, rc, cs.m_clrMark, cs.m_clrBack);
}

void CQVTCommandBarsNativeWindows10Theme::SetAccentColor(COLORREF clr)
{
    if (CQVTFrameThemeNativeWindows10* pFrame =
            DYNAMIC_DOWNCAST(CQVTFrameThemeNativeWindows10, m_pFramePaintManager))
        pFrame->SetAccentColor(clr);
    else if (CQVTFrameThemeVisualStudio2015* pStudioFrame =
                 DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2015, m_pFramePaintManager))
        pStudioFrame->SetAccentColor(clr);
    if (CQVTStatusBarThemeNativeWindows10* pStatusBar =
            DYNAMIC_DOWNCAST(CQVTStatusBarThemeNativeWindows10, m_pStatusBarPaintManager))
        pStatusBar->SetAccentColor(clr);
}

COLORREF CQVTCommandBarsNativeWindows10Theme::GetAccentColor()
{
    COLORREF clrFrame = kWindows10ThemeNoColor;
    if (CQVTFrameThemeNativeWindows10* pFrame =
            DYNAMIC_DOWNCAST(CQVTFrameThemeNativeWindows10, m_pFramePaintManager))
        clrFrame = pFrame->GetAccentColor();
    else if (CQVTFrameThemeVisualStudio2015* pStudioFrame =
                 DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2015, m_pFramePaintManager))
        clrFrame = pStudioFrame->GetAccentColor();
    CQVTStatusBarThemeNativeWindows10* pStatusBar =
        DYNAMIC_DOWNCAST(CQVTStatusBarThemeNativeWindows10, m_pStatusBarPaintManager);
    if (!pStatusBar || pStatusBar->GetAccentColor() != clrFrame)
        return kWindows10ThemeNoColor;
    return clrFrame;
}

CQVTCommandBarsVisualStudio2015Theme::CQVTCommandBarsVisualStudio2015Theme()
{
    SetProgressPaintManager(new CQVTProgressThemeVisualStudio2015(this));
    SetSliderPaintManager(new CQVTSliderThemeVisualStudio2015(this));
    SetMessageBarPaintManager(new CQVTMessageBarThemeVisualStudio2015(this));
    SetStatusBarPaintManager(new CQVTStatusBarThemeVisualStudio2015(this));
    SetGalleryPaintManager(new CQVTControlGalleryVisualStudio2015Theme(this));
    SetScrollBarPaintManager(new CQVTScrollBarThemeVisualStudio2015());
    delete m_pFramePaintManager;
    m_pFramePaintManager = new CQVTFrameThemeVisualStudio2015(this);
    m_pFramePaintManager->RefreshMetrics();
    // Waits for: Ribbon III (CQVTRibbonThemeVisualStudio2015): the ribbon
    // paint manager's slot stays null, as the Office 2013 theme's does.
    RefreshMetrics();
}
