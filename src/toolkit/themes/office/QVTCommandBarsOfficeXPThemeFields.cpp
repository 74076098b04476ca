// The fields of edit controls and combo boxes in the Office XP look, apart
// from the theme's bar and button drawing in QVTCommandBarsOfficeXPTheme.cpp.
#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

CSize CQVTCommandBarsOfficeXPTheme::DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
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
    if (bEnabled)
    {
        CRect rcFill(rcField);
        rcFill.DeflateRect(1, 1);
        rcFill.right = rcField.right - (bSpin ? DpiX(18) : DpiX(2));
        pDC->FillSolidRect(rcFill, GetControlEditBackColor(pControl));
        pDC->Draw3dRect(rcField, GetColor(nSelected ? 32 : 53), GetColor(nSelected ? 32 : 53));
    }
    else
    {
        rcField.left += 1;
        pDC->FillSolidRect(rcField, GetControlEditBackColor(pControl));
        const int nFrame = nSelected == 2 || nSelected == 3 ? 32 : 40;
        pDC->Draw3dRect(rcField, GetColor(nFrame), GetColor(nFrame));
    }
    CRect rcText(rcField);
    rcText.DeflateRect(DpiX(3), DpiY(1));
    pEdit->DrawEditIcon(pDC, rcText);

    if (bSpin)
    {
        const CRect rcSpin = pEdit->GetSpinButtonsRect();
        const int nMiddle = rcSpin.top + rcSpin.Height() / 2;
        const CRect halves[2] = {CRect(rcSpin.left, rcSpin.top, rcSpin.right, nMiddle + 1),
                                 CRect(rcSpin.left, nMiddle, rcSpin.right, rcSpin.bottom)};
        const int parts[2] = {CQVTControlEdit::partSpinUp, CQVTControlEdit::partSpinDown};
        for (int i = 0; i < 2; ++i)
        {
            if (!bEnabled || nSelected != parts[i])
                continue;
            DrawBorderFill(pDC, halves[i], 32, pEdit->GetPressed() == parts[i] ? 33 : 31);
        }
        const COLORREF clrGlyph = GetColor(bEnabled ? COLOR_BTNTEXT : 40);
        QVTGlyphFont()->DrawGlyph(pDC, QVTGlyph::SpinUp, halves[0], clrGlyph);
        QVTGlyphFont()->DrawGlyph(pDC, QVTGlyph::SpinDown, halves[1], clrGlyph);
    }
    DrawEditBuddyButton(pDC, pEdit);
    return CSize(0, 0);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    if (!bDraw || !pCombo)
        return sz;
    CQVTFontDC font(pDC, GetIconFont());
    const CRect rc = pControl->GetRect();
    const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    const CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const BOOL bDropped = pControl->GetPopuped();
    const COLORREF clrField = GetControlEditBackColor(pControl);
    CQVTCommandBar* pBar = pControl->GetParent();
    if (bEnabled)
    {
        CRect rcField(rcBox.left + 1, rcBox.top + 1, rcButton.left + 1, rcBox.bottom - 1);
        pDC->FillSolidRect(rcField, clrField);
        if (nSelected || bDropped)
        {
            CRect rcInner(rcButton);
            rcInner.DeflateRect(1, 1);
            pDC->FillSolidRect(rcInner, clrField);
            pDC->Draw3dRect(rcBox, GetColor(32), GetColor(32));
            DrawRectangle(pDC, rcButton, TRUE, bDropped, TRUE, FALSE, FALSE, qvtBarTypeNormal,
                          pBar ? pBar->GetPosition() : qvtBarTop);
        }
        else
        {
            pDC->Draw3dRect(rcBox, GetColor(53), GetColor(53));
            CRect rcInner(rcButton);
            rcInner.DeflateRect(1, 1);
            if (pBar && pBar->GetPosition() == qvtBarPopup)
            {
                pDC->Draw3dRect(CRect(rcBox.left, rcBox.top, rcButton.left + 1, rcBox.bottom), GetColor(53),
                                GetColor(53));
                DrawBorderFill(pDC, rcInner, COLOR_WINDOW, 53);
            }
            else
                pDC->Draw3dRect(rcInner, clrField, clrField);
        }
    }
    else
    {
        pDC->FillSolidRect(rcBox, clrField);
        const int nFrame = nSelected == 2 || nSelected == 3 ? 32 : 40;
        pDC->Draw3dRect(rcBox, GetColor(nFrame), GetColor(nFrame));
    }
    CRect rcText(rcBox.left + DpiX(3), rcBox.top + DpiY(1), rcButton.left + DpiX(1), rcBox.bottom - DpiY(1));
    pCombo->DrawEditText(pDC, rcText);
    const int nArrow = !bEnabled ? 40 : bDropped ? 47 : nSelected ? 45 : 46;
    DrawPopupArrow(pDC, rcButton, GetColor(nArrow));
    return CSize(0, 0);
}
