// The fields of edit controls and combo boxes in the Office 2000 look, apart
// from the theme's bar and button drawing in QVTCommandBarsOffice2000Theme.cpp.
#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

CSize CQVTCommandBarsOffice2000Theme::DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlEdit(pDC, pControl, bDraw);
    CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pControl);
    if (!bDraw || !pEdit)
        return sz;
    const CRect rc = pControl->GetRect();
    const CRect rcField(rc.left + pEdit->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (bEnabled)
    {
        CRect rcFill(rcField);
        rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, GetControlEditBackColor(pControl));
    }
    CRect rcText(rcField);
    rcText.DeflateRect(DpiX(3), DpiY(1));
    pEdit->DrawEditIcon(pDC, rcText);
    DrawEditFrame(pDC, rcField, bEnabled, pControl->GetSelected());
    if (pEdit->IsSpinButtonsVisible())
        DrawEditSpinButtons(pDC, pEdit);
    DrawEditBuddyButton(pDC, pEdit);
    return CSize(0, 0);
}

CSize CQVTCommandBarsOffice2000Theme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    if (!bDraw || !pCombo)
        return sz;
    const CRect rc = pControl->GetRect();
    const CRect rcField(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right - pCombo->GetThumbWidth(),
                        rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (bEnabled)
    {
        CRect rcFill(rcField);
        rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, GetControlEditBackColor(pControl));
    }
    CRect rcText(rcField);
    rcText.DeflateRect(DpiX(3), DpiY(1), -DpiX(1), DpiY(1));
    pCombo->DrawEditText(pDC, rcText);
    DrawComboDropDownButton(pDC, CRect(rcField.right, rc.top, rc.right, rc.bottom), bEnabled,
                            pControl->GetSelected() != 0, pControl->GetPopuped());
    DrawEditFrame(pDC, rcField, bEnabled, pControl->GetSelected());
    return CSize(0, 0);
}

void CQVTCommandBarsOffice2000Theme::DrawComboDropDownButton(CDC* pDC, CRect rc, BOOL bEnabled,
                                                             BOOL bSelected, BOOL bPopuped)
{
    rc.DeflateRect(DpiX(1), DpiY(2), DpiX(2), DpiY(2));
    if (bEnabled)
    {
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        if (bPopuped)
        {
            pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), GetColor(COLOR_3DFACE));
            DrawSunkenEdge(pDC, rc);
            rc.OffsetRect(1, 1);
        }
        else
        {
            if (bSelected)
                pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), GetColor(COLOR_3DFACE));
            Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT, bSelected ? COLOR_3DSHADOW : COLOR_3DHIGHLIGHT);
        }
    }
    DrawPopupArrow(pDC, rc, GetColor(COLOR_BTNTEXT));
}

void CQVTCommandBarsOffice2000Theme::DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected)
{
    CRect rcInner(rc);
    rcInner.DeflateRect(1, 1);
    if (bEnabled)
    {
        if (nSelected)
            DrawSunkenEdge(pDC, rc);
        Draw3dRect(pDC, rcInner, COLOR_3DFACE, COLOR_3DFACE);
        return;
    }
    const int nColor = nSelected == 2 || nSelected == 3 ? COLOR_3DSHADOW : COLOR_3DHIGHLIGHT;
    Draw3dRect(pDC, rcInner, nColor, nColor);
}

void CQVTCommandBarsOffice2000Theme::DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit)
{
    const CRect rc = pEdit->GetSpinButtonsRect();
    const int nMiddle = rc.top + rc.Height() / 2;
    const CRect rcUp(rc.left, rc.top, rc.right, nMiddle), rcDown(rc.left, nMiddle, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pEdit);
    if (bEnabled && pEdit->GetSelected())
    {
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        const int nPressed = pEdit->GetPressed();
        const BOOL bUpPressed = nPressed == CQVTControlEdit::partSpinUp;
        const BOOL bDownPressed = nPressed == CQVTControlEdit::partSpinDown;
        Draw3dRect(pDC, rcUp, bUpPressed ? COLOR_3DSHADOW : COLOR_WINDOW,
                   bUpPressed ? COLOR_WINDOW : COLOR_3DSHADOW);
        Draw3dRect(pDC, rcDown, bDownPressed ? COLOR_3DSHADOW : COLOR_WINDOW,
                   bDownPressed ? COLOR_WINDOW : COLOR_3DSHADOW);
    }
    else if (bEnabled)
    {
        CRect rcFace(rc);
        rcFace.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFace, GetColor(COLOR_3DFACE));
        Draw3dRect(pDC, rcFace, COLOR_WINDOW, COLOR_WINDOW);
    }
    const COLORREF clrGlyph = GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    QVTGlyphFont()->DrawGlyph(pDC, QVTGlyph::SpinUp, rcUp, clrGlyph);
    QVTGlyphFont()->DrawGlyph(pDC, QVTGlyph::SpinDown, rcDown, clrGlyph);
}
