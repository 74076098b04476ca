// The fields of the flat theme: edits, combo boxes and split buttons, apart
// from its faces and bars in QVTCommandBarsOffice2013ThemeDraw.cpp.
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

namespace {
const COLORREF kOffice2013FieldNoColor = CQVTPaintManagerColor::noColor;
const WCHAR kOffice2013FieldGlyphArrowDown = 77;

// The colours of a combo box in one state.
struct Office2013ComboColors
{
    COLORREF clrBack, clrBorder, clrDropDownBack, clrDropDownBorder, clrMarker;
};
}  // namespace

COLORREF CQVTCommandBarsOffice2013Theme::GetControlEditBackColor(CQVTControl* pControl)
{
    const int nType = pControl ? pControl->GetType() : -1;
    if (nType != qvtControlEdit && nType != qvtControlComboBox)
        return CQVTCommandBarsModernUITheme::GetControlEditBackColor(pControl);
    const CQVTColorSetStateComboBox& cs = m_csComboBox;
    if (!GetEffectiveEnabled(pControl))
        return cs.m_clrBackDisabled;
    if (pControl->GetPopuped())
        return cs.m_clrBackDropped;
    if (pControl->GetSelected())
        return cs.m_clrBackHighlight;
    return cs.m_clrBack;
}

void CQVTCommandBarsOffice2013Theme::DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit, BOOL bEnabled)
{
    const CRect rcSpin = pEdit->GetSpinButtonsRect();
    const int nMiddle = rcSpin.top + rcSpin.Height() / 2;
    const CRect halves[2] = {CRect(rcSpin.left, rcSpin.top, rcSpin.right, nMiddle + 1),
                             CRect(rcSpin.left, nMiddle, rcSpin.right, rcSpin.bottom)};
    const int parts[2] = {CQVTControlEdit::partSpinUp, CQVTControlEdit::partSpinDown};
    const CQVTColorSetStateComboBox& cs = m_csComboBox;
    for (int i = 0; i < 2; ++i)
    {
        const BOOL bHot = bEnabled && pEdit->GetSelected() == parts[i];
        const BOOL bPressed = bHot && pEdit->GetPressed() == parts[i];
        COLORREF clrArrow = bEnabled ? cs.m_clrDropDownMarker : cs.m_clrDropDownMarkerDisabled;
        if (bHot)
        {
            FillAndFrame(pDC, halves[i], cs.m_clrDropDownBorderDropped,
                         bPressed ? cs.m_clrDropDownBackDropped : cs.m_clrDropDownBackHighlight);
            clrArrow = bPressed ? cs.m_clrDropDownMarkerDropped : cs.m_clrDropDownMarkerHighlight;
        }
        QVTGlyphFont()->DrawGlyph(pDC, i == 0 ? QVTGlyph::SpinUp : QVTGlyph::SpinDown, halves[i], clrArrow);
    }
}

CSize CQVTCommandBarsOffice2013Theme::DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlEdit(pDC, pControl, bDraw);
    CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pControl);
    if (!bDraw || !pEdit)
        return sz;
    const CRect rc = pControl->GetRect();
    CRect rcField(rc.left + pEdit->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const BOOL bSpin = pEdit->IsSpinButtonsVisible();
    const CQVTColorSetStateComboBox& cs = m_csComboBox;
    if (bEnabled)
    {
        CRect rcFill(rcField);
        rcFill.DeflateRect(1, 1);
        if (bSpin)
            rcFill.right = rcField.right - DpiX(18);
        pDC->FillSolidRect(rcFill, GetControlEditBackColor(pControl));
        const COLORREF clrFrame = nSelected                ? cs.m_clrBorderHighlight
                                  : pControl->GetPressed() ? cs.m_clrBorderDropped
                                                           : cs.m_clrBorder;
        if (clrFrame != kOffice2013FieldNoColor)
            pDC->Draw3dRect(rcField, clrFrame, clrFrame);
    }
    else
    {
        pDC->FillSolidRect(rcField, GetControlEditBackColor(pControl));
        const COLORREF clrFrame =
            nSelected == 2 || nSelected == 3 ? cs.m_clrBorderHighlight : cs.m_clrBorderDisabled;
        if (clrFrame != kOffice2013FieldNoColor)
            pDC->Draw3dRect(rcField, clrFrame, clrFrame);
    }
    CRect rcText(rcField);
    rcText.DeflateRect(DpiX(3), DpiY(1));
    pEdit->DrawEditIcon(pDC, rcText);
    if (bSpin)
        DrawEditSpinButtons(pDC, pEdit, bEnabled);
    DrawEditBuddyButton(pDC, pEdit);
    return CSize(0, 0);
}

CSize CQVTCommandBarsOffice2013Theme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    if (!bDraw || !pCombo)
        return sz;
    const CQVTColorSetStateComboBox& cs = m_csComboBox;
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const BOOL bDropped = pControl->GetPopuped();
    const BOOL bSelected = pControl->GetSelected();
    Office2013ComboColors c = {cs.m_clrBack, cs.m_clrBorder, cs.m_clrDropDownBack, cs.m_clrDropDownBorder,
                               cs.m_clrDropDownMarker};
    if (!bEnabled)
        c = {cs.m_clrBackDisabled, cs.m_clrBorderDisabled, cs.m_clrDropDownBackDisabled,
             cs.m_clrDropDownBorderDisabled, cs.m_clrDropDownMarkerDisabled};
    else if (bDropped)
        c = {cs.m_clrBackDropped, cs.m_clrBorderDropped, cs.m_clrDropDownBackDropped,
             cs.m_clrDropDownBorderDropped, cs.m_clrDropDownMarkerDropped};
    else if (bSelected)
        c = {cs.m_clrBackHighlight, cs.m_clrBorderHighlight, cs.m_clrDropDownBackHighlight,
             cs.m_clrDropDownBorderHighlight, cs.m_clrDropDownMarkerHighlight};
    if (IsCaptionControl(pControl))
    {
        c.clrMarker = m_clrFrameCaptionTextActive;
        if (bDropped)
            c.clrBorder = c.clrDropDownBack = c.clrDropDownBorder = m_clrCaptionButtonPressedBack;
        else if (bSelected)
            c.clrBorder = c.clrDropDownBack = c.clrDropDownBorder = m_clrCaptionButtonHotBack;
    }
    const CRect rc = pControl->GetRect();
    const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    FillAndFrame(pDC, rcBox, c.clrBorder, c.clrBack);
    CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    rcButton.DeflateRect(1, 1);
    if (c.clrDropDownBack != kOffice2013FieldNoColor)
        pDC->FillSolidRect(rcButton, c.clrDropDownBack);
    if (bEnabled && c.clrDropDownBorder != kOffice2013FieldNoColor)
        VerticalLine(pDC, rcButton.left, rcButton.top, rcButton.bottom, c.clrDropDownBorder);
    {
        CQVTFontDC font(pDC, GetIconFont());
        CRect rcText(rcBox.left + DpiX(3), rcBox.top + DpiY(1), rcButton.left, rcBox.bottom - DpiY(1));
        pCombo->DrawEditText(pDC, rcText);
    }
    CRect rcMarker(rcButton);
    rcMarker.OffsetRect(1, 0);
    QVTGlyphFont()->DrawGlyph(pDC, kOffice2013FieldGlyphArrowDown, rcMarker, c.clrMarker);
    return CSize(0, 0);
}

void CQVTCommandBarsOffice2013Theme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    if (!GetEffectiveEnabled(pControl))
    {
        DrawControlEntryHook(pDC, pControl);
        return;
    }
    const CQVTColorSetStateToolbar& cs = m_csToolbar;
    const BOOL bCaption = IsCaptionControl(pControl);
    const BOOL bBelow = pControl->GetStyle() == qvtButtonIconAndCaptionBelow;
    const int nChecked = pControl->GetChecked();
    CRect rcButton(rc);
    CRect rcDropDown(rc);
    if (!bBelow)
    {
        rcButton.right -= GetSplitDropDownWidth();
        rcDropDown.left = rcButton.right;
    }
    else if (GetControlTextOrientation(pControl) == 1)
    {
        rcButton.right = rc.left + GetTwoLineCaptionHeight();
        rcDropDown.left = rcButton.right;
    }
    else
    {
        rcButton.bottom -= GetTwoLineCaptionHeight();
        rcDropDown.top = rcButton.bottom;
    }
    auto fill = [pDC](const CRect& r, COLORREF clr) {
        if (clr != kOffice2013FieldNoColor)
            pDC->FillSolidRect(r, clr);
    };
    auto frame = [pDC](const CRect& r, COLORREF clr) {
        if (clr != kOffice2013FieldNoColor)
            pDC->Draw3dRect(r, clr, clr);
    };
    if (pControl->GetPopuped())
        fill(rc, bCaption ? m_clrCaptionButtonHotBack : cs.m_clrButtonBackChecked.GetValue());
    else if (pControl->GetSelected())
    {
        const BOOL bPressed = pControl->GetPressed();
        if (bCaption)
            fill(rc, bPressed ? m_clrCaptionButtonPressedBack : m_clrCaptionButtonHotBack);
        else
        {
            // The part under the pointer lights up.
            CPoint pt;
            ::GetCursorPos(&pt);
            CQVTCommandBar* pBar = pControl->GetParent();
            if (pBar && pBar->GetSafeHwnd())
                pBar->ScreenToClient(&pt);
            if (rcDropDown.PtInRect(pt))
                fill(rcDropDown, bPressed ? cs.m_clrButtonBackPushed : cs.m_clrButtonBackHighlight);
            else
                fill(rcButton, cs.m_clrButtonBackHighlight);
        }
        if (!nChecked)
            frame(rc, bCaption ? m_clrCaptionButtonHotBack : cs.m_clrButtonBorderHighlight.GetValue());
        else if (bCaption)
        {
            fill(rc, m_clrCaptionButtonHotBack);
            frame(rc, m_clrCaptionButtonHotBack);
        }
        else
        {
            fill(rc, cs.m_clrButtonBackChecked);
            frame(rc, cs.m_clrButtonBorderHighlight);
        }
    }
    else if (nChecked)
    {
        if (bCaption)
        {
            if (nChecked != 2)
                fill(rc, m_clrCaptionButtonHotBack);
        }
        else
            FillAndFrame(pDC, rc, cs.m_clrButtonBorderChecked,
                         nChecked == 2 ? cs.m_clrButtonBack : cs.m_clrButtonBackChecked);
    }
    if (!bBelow)
        DrawDropDownGlyph(pDC, pControl, rcDropDown.CenterPoint(), pControl->GetSelected(),
                          pControl->GetPopuped(), TRUE, FALSE);
}
