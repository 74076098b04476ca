// The ribbon command-bar theme's parts of single controls: split buttons,
// the split items and popup glyphs of menus, edit spin buttons, the menu's
// icon column and separators, toolbar expand buttons, popup resize
// grippers and the grippers of bars on a composited frame.
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"

namespace QVTRibbonThemeControlsDetail {

const COLORREF kRibbonControlsKeyColor = RGB(0xFF, 0x00, 0xFF);
const COLORREF kRibbonControlsHighlight = RGB(245, 245, 245);
// Spin buttons whose halves are larger than this (unscaled) take the
// gallery's larger arrow glyphs.
const int kRibbonSmallSpinGlyphLimit = 12;

// The frame of a five-frame button of a grouping group for the state.
int GroupingButtonFrame(CQVTControl* pControl)
{
    const int nSelected = pControl->GetSelected();
    const int nPressed = pControl->GetPressed();
    if (!pControl->GetEnabled())
        return (nSelected == 2 || nSelected == 3) ? 1 : 0;
    if (pControl->GetPopuped())
        return 3;
    if (pControl->GetChecked() && !nPressed)
        return nSelected ? 4 : 3;
    if (nPressed == 2 || nPressed == 3 || (nSelected && nPressed))
        return 2;
    return (nSelected || nPressed) ? 1 : 0;
}

// Whether the control opens or closes a run of buttons of its group.
void RunEnds(CQVTControl* pControl, BOOL& bFirst, BOOL& bLast)
{
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    const int nIndex = pGroup->IndexOf(pControl);
    CQVTControl* pNext = nullptr;
    for (int i = nIndex + 1; i < pGroup->GetCount() && !pNext; ++i)
        if (pGroup->GetAt(i)->IsVisible())
            pNext = pGroup->GetAt(i);
    bFirst = pControl->GetBeginGroup() || pControl->GetWrap() || nIndex == 0;
    bLast = !pNext || pNext->GetBeginGroup() || pNext->GetWrap();
}

}  // namespace QVTRibbonThemeControlsDetail

using namespace QVTRibbonThemeControlsDetail;

BOOL CQVTRibbonTheme::DrawCentredFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames)
{
    CQVTResourceImage* pImage = LoadImage(lpszImage);
    if (!pImage)
        return FALSE;
    const CRect rcSource = pImage->GetSource(nFrame, nFrames);
    const CSize sz(QVTDpiScaler()->ScaleX(rcSource.Width()), QVTDpiScaler()->ScaleY(rcSource.Height()));
    const CRect rcDest(CPoint(rc.left + (rc.Width() - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2), sz);
    pImage->DrawImageColorKeyed(pDC, rcDest, rcSource, CRect(0, 0, 0, 0), kRibbonControlsKeyColor);
    return TRUE;
}

// Bars.

CSize CQVTRibbonTheme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (!IsImagesLoaded() || !pBar || pBar->GetPosition() != qvtBarTop || !pBar->IsFrameCompositionActive())
        return CQVTResourceTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (bDraw && pDC)
    {
        // A column of dots on the glass, each with its light shadow.
        CRect rc;
        pBar->GetClientRect(&rc);
        const int x = QVTDpiScaler()->ScaleX(3);
        for (int y = QVTDpiScaler()->ScaleY(5); y < rc.Height() - QVTDpiScaler()->ScaleY(7);
             y += QVTDpiScaler()->ScaleY(4))
        {
            pDC->SetPixel(x, y, GetColor(38));
            if (!m_bFlatToolBar)
                pDC->SetPixel(x + 1, y + 1, GetColor(COLOR_WINDOW));
        }
    }
    return CSize(0, 0);
}

CSize CQVTRibbonTheme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl,
                                               BOOL bDraw)
{
    // Waits for: where "SYSTEMICONSEPARATOR" stands on a top bar of a
    // composited frame (only the image and that it goes beside the system
    // icon are known, not its place in the bar's row): meanwhile such a
    // bar draws the resource separator like any other.
    if (!bDraw || !IsImagesLoaded() || !pBar || !pControl || pBar->GetType() != qvtBarTypePopup)
        return CQVTResourceTheme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    if (!pControl->GetWrap())
    {
        const int x = rcControl.left - DpiX(1) + GetPopupBarGutterWidth(pBar) + GetPopupTextGap();
        const int y = rcControl.top - DpiY(2);
        HorizontalLine(pDC, x, y, rcControl.right + DpiX(1), m_clrMenuSeparator);
        HorizontalLine(pDC, x, y + 1, rcControl.right + DpiX(1), kRibbonControlsHighlight);
    }
    else
    {
        const int x = rcControl.left - DpiX(2);
        VerticalLine(pDC, x, rcRow.top - DpiY(1), rcRow.bottom + DpiY(1), m_clrMenuSeparator);
        VerticalLine(pDC, x + 1, rcRow.top - DpiY(1), rcRow.bottom + DpiY(1), kRibbonControlsHighlight);
    }
    return CSize(0, 0);
}

void CQVTRibbonTheme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    if (!IsImagesLoaded() || cx < 2)
    {
        CQVTResourceTheme::FillIconColumn(pDC, x, y, cx, cy, bTemporary);
        return;
    }
    const CRect rc(x, y, x + cx, y + cy);
    if (bTemporary && m_grcMenuExpandedGripper.clrLight.GetStandardValue() != 0xFFFFFFFF)
        FillGradient(pDC, rc, m_grcMenuExpandedGripper, TRUE);
    else if (!bTemporary && m_clrMenuGripper.GetStandardValue() != 0xFFFFFFFF)
        pDC->FillSolidRect(rc, m_clrMenuGripper);
    else
        CQVTResourceTheme::FillIconColumn(pDC, x, y, cx, cy, bTemporary);
    // The column's edge: a shadow line and a light one.
    VerticalLine(pDC, rc.right - 2, rc.top, rc.bottom, m_clrMenuGripperShadow);
    VerticalLine(pDC, rc.right - 1, rc.top, rc.bottom, kRibbonControlsHighlight);
}

CSize CQVTRibbonTheme::DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar,
                                          BOOL bDraw, LPVOID lpParam)
{
    if (!bDraw || nKind != qvtSpecialToolbarExpand || !pControl || !IsImagesLoaded())
        return CQVTResourceTheme::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    const CRect rc = pControl->GetRect();
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bVertical = pBar && (pBar->GetPosition() == qvtBarLeft || pBar->GetPosition() == qvtBarRight);
    BOOL bDrawn = FALSE;
    if (pBar && pBar->IsRibbonBar())
    {
        const int nFrame = !pControl->GetEnabled() ? 4 : bPopuped ? 2 : bSelected ? 1 : 0;
        bDrawn = DrawFrame(pDC, _T("RIBBONQUICKACCESSBUTTON"), rc, nFrame, 5, CRect(2, 2, 2, 2), TRUE);
    }
    else
    {
        const int nFrame = bPopuped ? 2 : bSelected ? 1 : 0;
        bDrawn = DrawFrame(
            pDC, bVertical ? _T("TOOLBAREXPANDBUTTONVERTICAL") : _T("TOOLBAREXPANDBUTTONHORIZONTAL"), rc,
            nFrame, 3, CRect(3, 3, 3, 3), TRUE);
    }
    if (!bDrawn)
        return CQVTResourceTheme::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    const COLORREF clr = GetControlTextColor(pControl);
    DrawExpandGlyph(pDC, pControl, clr, bVertical);
    if (lpParam && *static_cast<BOOL*>(lpParam))
        DrawHiddenGlyph(pDC, pControl, clr, bVertical);
    return CSize(0, 0);
}

void CQVTRibbonTheme::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    CQVTResourceImage* pFace = IsImagesLoaded() ? LoadImage(_T("POPUPBARRESIZEGRIPPERFACE")) : nullptr;
    if (!pFace)
    {
        CQVTResourceTheme::DrawPopupResizeGripper(pDC, rc, nFlags);
        return;
    }
    pFace->DrawImage(pDC, rc, pFace->GetSource(0, 1), CRect(1, 1, 1, 1));
    // A gripper that only resizes the height shows its mark at the middle.
    if (nFlags == 2)
    {
        CQVTResourceImage* pMark = LoadImage(_T("POPUPBARRESIZEGRIPPERHEIGHT"));
        if (pMark)
            DrawCentredFrame(pDC, _T("POPUPBARRESIZEGRIPPERHEIGHT"), rc, 0, 1);
        return;
    }
    CQVTResourceImage* pMark = LoadImage(_T("POPUPBARRESIZEGRIPPERWIDTH"));
    if (!pMark)
        return;
    const CRect rcSource = pMark->GetSource(0, 1);
    const CSize sz(DpiX(rcSource.Width()), DpiY(rcSource.Height()));
    pMark->DrawImageColorKeyed(pDC, CRect(CPoint(rc.right - sz.cx, rc.bottom - sz.cy), sz), rcSource,
                               CRect(0, 0, 0, 0), kRibbonControlsKeyColor);
}

// Buttons and menu items.

void CQVTRibbonTheme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (!IsImagesLoaded() ||
        (pBar && (pBar->GetType() == qvtBarTypePopup || pBar->GetPosition() == qvtBarPopup)))
    {
        CQVTResourceTheme::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    const int nSelected = pControl->GetSelected();
    const int nPressed = pControl->GetPressed();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const BOOL bLarge = pControl->GetStyle() == qvtButtonIconAndCaptionBelow;
    CRect rcCommand(rc);
    CRect rcDropDown(rc);
    if (bLarge)
        rcCommand.bottom = rcDropDown.top = rc.bottom - GetTwoLineCaptionHeight() - DpiY(1);
    else
        rcCommand.right = rcDropDown.left = rc.right - GetSplitDropDownWidth();

    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    if (pGroup && pGroup->IsControlsGrouping() && !bLarge)
    {
        BOOL bFirst = FALSE;
        BOOL bLast = FALSE;
        RunEnds(pControl, bFirst, bLast);
        const int nFrame = GroupingButtonFrame(pControl);
        DrawFrame(pDC, bFirst ? _T("TOOLBARBUTTONSSPECIALSPLITLEFT") : _T("TOOLBARBUTTONSSPECIALSPLITCENTER"),
                  rcCommand, bPopuped ? 0 : nFrame, 5, CRect(2, 2, 2, 2), TRUE);
        DrawFrame(pDC,
                  bLast ? _T("TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT")
                        : _T("TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER"),
                  rcDropDown, nFrame, 5, CRect(2, 2, 2, 2), TRUE);
    }
    else
    {
        const BOOL bSmall = rc.Height() < DpiY(33);
        // The part under the pointer is pressed; the other shows the hover.
        const int nFrame = ToolbarButtonFrame(nSelected, nPressed, bEnabled, pControl->GetChecked(), FALSE);
        const int nDropDown =
            bPopuped ? ToolbarButtonFrame(nSelected, nPressed, bEnabled, FALSE, TRUE) : nFrame;
        const int nCommand = bPopuped ? ToolbarButtonFrame(TRUE, FALSE, bEnabled, FALSE, FALSE) : nFrame;
        if (nCommand >= 0)
            DrawFrame(pDC, bSmall ? _T("TOOLBARBUTTONSSPLIT22") : _T("TOOLBARBUTTONSSPLIT50"), rcCommand,
                      nCommand, 4, CRect(2, 2, 2, 2), TRUE);
        if (nDropDown >= 0)
            DrawFrame(pDC, bSmall ? _T("TOOLBARBUTTONSSPLITDROPDOWN22") : _T("TOOLBARBUTTONSSPLITDROPDOWN50"),
                      rcDropDown, nDropDown, 4, CRect(2, 2, 2, 2), TRUE);
    }
    if (!bLarge)
        DrawDropDownGlyph(pDC, pControl, CPoint(rcDropDown.CenterPoint().x, rc.CenterPoint().y), nSelected,
                          bPopuped, bEnabled, FALSE);
}

void CQVTRibbonTheme::DrawPopupSplitDivider(CDC* pDC, CQVTControl* pControl, COLORREF clrText)
{
    if (!IsImagesLoaded() || !LoadImage(_T("MENUSPLITDROPDOWN")))
    {
        CQVTResourceTheme::DrawPopupSplitDivider(pDC, pControl, clrText);
        return;
    }
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    const CRect rcDropDown(rc.right - GetPopupSplitArrowWidth(), rc.top, rc.right, rc.bottom);
    const CRect rcItem(rc.left, rc.top, rcDropDown.left, rc.bottom);
    if (bEnabled && bSelected && rcItem.Height() > 0)
        DrawFrame(pDC, _T("MENUSPLITITEM"), rcItem, bPopuped ? 0 : 1, 3, CRect(2, 2, 2, 2), TRUE);
    const int nFrame = bEnabled && bPopuped ? 2 : bEnabled && bSelected ? 1 : 0;
    DrawFrame(pDC, _T("MENUSPLITDROPDOWN"), rcDropDown, nFrame, 3, CRect(2, 2, 2, 2), TRUE);
}

void CQVTRibbonTheme::DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText)
{
    CQVTResourceImage* pGlyph = IsImagesLoaded() ? LoadImage(_T("MENUPOPUPGLYPH")) : nullptr;
    if (!pGlyph)
    {
        CQVTResourceTheme::DrawControlPopupArrow(pDC, pControl, clrText);
        return;
    }
    const CRect rc = pControl->GetRect();
    const CRect rcSource = pGlyph->GetSource(GetEffectiveEnabled(pControl) ? 0 : 1, 2);
    const CSize sz(DpiX(rcSource.Width()), DpiY(rcSource.Height()));
    const CPoint pt(rc.right - DpiX(14), rc.top + (rc.Height() - sz.cy) / 2);
    pGlyph->DrawImageColorKeyed(pDC, CRect(pt, sz), rcSource, CRect(0, 0, 0, 0), kRibbonControlsKeyColor);
}

// Combo boxes and edits.

CSize CQVTRibbonTheme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    CQVTCommandBar* pBar = pControl->GetParent();
    if (!bDraw || !pCombo || !IsImagesLoaded() || !LoadImage(_T("TOOLBARBUTTONSCOMBODROPDOWN")) ||
        (pBar && pBar->GetType() == qvtBarTypePopup))
        return CQVTResourceTheme::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTPaintManager::DrawControlComboBox(pDC, pControl, TRUE);
    const CRect rc = pControl->GetRect();
    const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    const CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const BOOL bDropped = pControl->GetPopuped();
    pDC->FillSolidRect(rcBox, GetControlEditBackColor(pControl));
    const COLORREF clrBorder =
        !bEnabled && (nSelected == 2 || nSelected == 3) ? m_clrEditDisabledBorder : GetColor(53);
    pDC->Draw3dRect(rcBox, clrBorder, clrBorder);

    // An editable box the mouse is over, whose field has no focus, shows
    // its button half lit.
    int nFrame = 0;
    if (!bEnabled)
        nFrame = 4;
    else if (bDropped)
        nFrame = 3;
    else if (nSelected)
        nFrame = nSelected == 1 && pCombo->GetDropDownListStyle() && !pCombo->GetFocused() ? 1 : 2;
    DrawFrame(pDC, _T("TOOLBARBUTTONSCOMBODROPDOWN"), rcButton, nFrame, 5, CRect(2, 2, 2, 2), TRUE);

    CQVTFontDC font(pDC, GetIconFont());
    const CRect rcText(rcBox.left + DpiX(3), rcBox.top + DpiY(1), rcButton.left + DpiX(1),
                       rcBox.bottom - DpiY(1));
    pCombo->DrawEditText(pDC, rcText);
    const int nArrow = !bEnabled ? 40 : bDropped ? 47 : nSelected ? 45 : 46;
    DrawPopupArrow(pDC, rcButton, GetColor(nArrow));
    return CSize(0, 0);
}

CSize CQVTRibbonTheme::DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pControl);
    if (!bDraw || !pEdit || !IsImagesLoaded() || !pEdit->IsSpinButtonsVisible() ||
        !LoadImage(_T("TOOLBARBUTTONSPINARROWSVERTICAL")))
        return CQVTResourceTheme::DrawControlEdit(pDC, pControl, bDraw);
    CQVTPaintManager::DrawControlEdit(pDC, pControl, TRUE);
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == qvtBarTypePopup)
        return CSize(0, 0);
    const CRect rc = pControl->GetRect();
    const CRect rcField(rc.left + pEdit->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    pDC->FillSolidRect(rcField, GetControlEditBackColor(pControl));
    COLORREF clrBorder = GetColor(53);
    if (!bEnabled)
        clrBorder = nSelected == 2 || nSelected == 3 ? m_clrEditDisabledBorder : GetColor(40);
    pDC->Draw3dRect(rcField, clrBorder, clrBorder);
    CRect rcText(rcField);
    rcText.DeflateRect(DpiX(3), DpiY(1));
    pEdit->DrawEditIcon(pDC, rcText);
    DrawSpinButtons(pDC, pEdit, bEnabled);
    DrawEditBuddyButton(pDC, pEdit);
    return CSize(0, 0);
}

void CQVTRibbonTheme::DrawSpinButtons(CDC* pDC, CQVTControlEdit* pEdit, BOOL bEnabled)
{
    const CRect rcSpin = pEdit->GetSpinButtonsRect();
    const int nMiddle = rcSpin.top + rcSpin.Height() / 2;
    const CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, nMiddle);
    const CRect rcDown(rcSpin.left, nMiddle, rcSpin.right, rcSpin.bottom);
    const int nSelected = pEdit->GetSelected();
    const int nPressed = pEdit->GetPressed();
    const int nUp = CQVTControlEdit::partSpinUp;
    const int nDown = CQVTControlEdit::partSpinDown;

    int nUpFrame = 2;
    int nDownFrame = 6;
    if (!bEnabled)
    {
        nUpFrame = 4;
        nDownFrame = 9;
    }
    else if (!nSelected)
    {
        nUpFrame = 0;
        nDownFrame = 5;
    }
    else
    {
        nUpFrame = nPressed == nUp ? 3 : nSelected != nUp ? 1 : 2;
        nDownFrame = nPressed == nDown ? 8 : nSelected == nDown ? 7 : 6;
    }
    DrawFrame(pDC, _T("TOOLBARBUTTONSPINARROWSVERTICAL"), rcUp, nUpFrame, 10, CRect(2, 2, 2, 2), TRUE);
    DrawFrame(pDC, _T("TOOLBARBUTTONSPINARROWSVERTICAL"), rcDown, nDownFrame, 10, CRect(2, 2, 2, 2), TRUE);

    auto glyphFrame = [&](int nPart) {
        if (!bEnabled)
            return 3;
        if (!nSelected)
            return 0;
        return nPressed == nPart || nSelected == nPart ? 2 : 1;
    };
    const BOOL bLarge =
        rcUp.Width() > DpiX(kRibbonSmallSpinGlyphLimit) && rcUp.Height() > DpiY(kRibbonSmallSpinGlyphLimit);
    LPCTSTR lpszGlyphs = bLarge ? _T("CONTROLGALLERYSCROLLARROWGLYPHS") : _T("TOOLBARBUTTONSPINARROWGLYPHS");
    DrawCentredFrame(pDC, lpszGlyphs, rcUp, glyphFrame(nUp), 16);
    DrawCentredFrame(pDC, lpszGlyphs, rcDown, glyphFrame(nDown) + 4, 16);
}
