// The drawing of the Visual Studio 2012 theme: control faces, bar
// backgrounds, grippers, separators, fields, marks and glyphs, apart from
// its colours and metrics in QVTCommandBarsVisualStudio2012Theme.cpp.
#include "toolkit/themes/visualstudio/QVTCommandBarsVisualStudio2012Theme.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

namespace {
const COLORREF kVisualStudio2012NoColor = CQVTPaintManagerColor::noColor;

const WCHAR kVisualStudio2012GlyphArrowLeft = 74;
const WCHAR kVisualStudio2012GlyphArrowRight = 75;
const WCHAR kVisualStudio2012GlyphArrowUp = 76;
const WCHAR kVisualStudio2012GlyphArrowDown = 77;

// The bar type whose unchecked controls take the red face.
const int kVisualStudio2012RedBarType = 4;

// Remembers the control whose glyph is being drawn, for Triangle.
class VisualStudio2012GlyphScope
{
public:
    VisualStudio2012GlyphScope(CQVTControl*& pSlot, CQVTControl* pControl) : m_pSlot(pSlot), m_pOld(pSlot)
    {
        pSlot = pControl;
    }
    ~VisualStudio2012GlyphScope() { m_pSlot = m_pOld; }

private:
    CQVTControl*& m_pSlot;
    CQVTControl* m_pOld;
};
}  // namespace

void CQVTCommandBarsVisualStudio2012Theme::DrawFrameFill(CDC* pDC, CRect rc, COLORREF clrBorder,
                                                         COLORREF clrFill)
{
    if (clrBorder != kVisualStudio2012NoColor)
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
    rc.DeflateRect(1, 1);
    if (clrFill != kVisualStudio2012NoColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clrFill);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawCheckFrameFill(CDC* pDC, CRect rc, COLORREF clrBorder,
                                                              COLORREF clrFill)
{
    rc.DeflateRect(DpiX(2), DpiY(2));
    for (int i = 0; i < 2; ++i)
    {
        if (clrBorder != kVisualStudio2012NoColor && !rc.IsRectEmpty())
            pDC->Draw3dRect(rc, clrBorder, clrBorder);
        rc.DeflateRect(1, 1);
    }
    if (clrFill != kVisualStudio2012NoColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clrFill);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                         BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                                         int barType, int barPosition)
{
    if (bPopuped)
    {
        DrawFrameFill(pDC, rc, Entry(6), Entry(7));
        return;
    }
    if (barType == qvtBarTypePopup)
    {
        if (!bChecked)
            CQVTCommandBarsOfficeXPTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, FALSE, FALSE,
                                                        barType, barPosition);
        else if (!bEnabled)
            DrawCheckFrameFill(pDC, rc, Entry(24), Entry(28));
        else if (bSelected && bPressed)
            DrawCheckFrameFill(pDC, rc, Entry(23), Entry(27));
        else if (bSelected)
            DrawCheckFrameFill(pDC, rc, Entry(22), Entry(26));
        else if (!bPressed)
            DrawCheckFrameFill(pDC, rc, Entry(21), Entry(25));
        return;
    }
    if (bChecked)
    {
        if (bSelected && bPressed)
            DrawFrameFill(pDC, rc, Entry(9), Entry(13));
        else if (bSelected)
            DrawFrameFill(pDC, rc, Entry(10), Entry(12));
        else if (bPressed)
            CQVTCommandBarsOfficeXPTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked,
                                                        FALSE, barType, barPosition);
        else
            DrawFrameFill(pDC, rc, Entry(10), Entry(14));
        return;
    }
    if (barType == kVisualStudio2012RedBarType)
    {
        // The look asks for pure red here; kept as it is.
        DrawFrameFill(pDC, rc, RGB(255, 0, 0), RGB(255, 0, 0));
        return;
    }
    if (bSelected && bPressed)
        DrawFrameFill(pDC, rc, Entry(9), Entry(13));
    else if (bSelected)
        DrawFrameFill(pDC, rc, Entry(8), Entry(12));
    else
        CQVTCommandBarsOfficeXPTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, FALSE,
                                                    barType, barPosition);
}

void CQVTCommandBarsVisualStudio2012Theme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    if (pBar->GetPosition() != qvtBarPopup)
    {
        CQVTCommandBarsOfficeXPTheme::FillCommandBarEntry(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(41));
    pDC->Draw3dRect(rc, GetColor(43), GetColor(43));
    DrawPopupJoin(pDC, pBar);
}

void CQVTCommandBarsVisualStudio2012Theme::FillDockBar(CDC* pDC, CQVTDockBar* pDockBar)
{
    CRect rc;
    pDockBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(30));
}

int CQVTCommandBarsVisualStudio2012Theme::GetComboGroup(CQVTControl* pControl) const
{
    if (!GetEffectiveEnabled(pControl))
        return CQVTCommandBarsColorSet::comboDisabled;
    if (pControl->GetPopuped())
        return CQVTCommandBarsColorSet::comboDropped;
    if (pControl->GetSelected())
        return CQVTCommandBarsColorSet::comboSelected;
    return CQVTCommandBarsColorSet::comboNormal;
}

COLORREF CQVTCommandBarsVisualStudio2012Theme::GetControlEditBackColor(CQVTControl* pControl)
{
    if (!pControl || pControl->GetType() != qvtControlComboBox)
        return CQVTCommandBarsModernUITheme::GetControlEditBackColor(pControl);
    return Entry(GetComboGroup(pControl) + CQVTCommandBarsColorSet::comboBack);
}

BOOL CQVTCommandBarsVisualStudio2012Theme::DrawControlEntryHook(CDC* pDC, CQVTControl* pControl)
{
    const int nId = pControl->GetID();
    if (nId == QVT_ID_ADDREMOVE_BUTTONS)
    {
        DrawFrameFill(pDC, pControl->GetRect(), Entry(10), Entry(12));
        return TRUE;
    }
    if (nId == QVT_ID_TOOLBAR_EXPAND && pControl->GetPopuped())
    {
        DrawFrameFill(pDC, pControl->GetRect(), Entry(11), Entry(15));
        return TRUE;
    }
    return FALSE;
}

COLORREF CQVTCommandBarsVisualStudio2012Theme::GetControlGlyphColor(CQVTControl* pControl)
{
    if (!GetEffectiveEnabled(pControl))
        return Entry(24);
    if (!pControl->GetSelected())
        return Entry(51);
    if (!pControl->GetPressed())
        return Entry(53);
    return pControl->GetStyle() == qvtButtonIconAndCaptionBelow ? Entry(53) : Entry(52);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawDottedLine(CDC* pDC, int x, int y, int nEnd, COLORREF clr,
                                                          BOOL bVertical)
{
    if (!bVertical || clr == kVisualStudio2012NoColor)
        return;
    const int nStep = std::max(1, DpiY(4));
    const int cx = std::max(1, DpiX(1)), cy = std::max(1, DpiY(1));
    for (int p = y; p < nEnd; p += nStep)
        pDC->FillSolidRect(x, p, cx, cy, clr);
}

CSize CQVTCommandBarsVisualStudio2012Theme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTPaintManager::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    if (!bDraw || !pCombo)
        return sz;
    const int nGroup = GetComboGroup(pControl);
    const CRect rc = pControl->GetRect();
    const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
    DrawFrameFill(pDC, rcBox, Entry(nGroup + CQVTCommandBarsColorSet::comboBorder),
                  Entry(nGroup + CQVTCommandBarsColorSet::comboBack));
    CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    rcButton.DeflateRect(1, 1);
    const COLORREF clrDropDownBack = Entry(nGroup + CQVTCommandBarsColorSet::comboDropDownBack);
    if (clrDropDownBack != kVisualStudio2012NoColor)
        pDC->FillSolidRect(rcButton, clrDropDownBack);
    const COLORREF clrSeparator = Entry(nGroup + CQVTCommandBarsColorSet::comboSeparator);
    if (GetEffectiveEnabled(pControl) && clrSeparator != kVisualStudio2012NoColor)
        VerticalLine(pDC, rcButton.left, rcButton.top, rcButton.bottom, clrSeparator);
    {
        CQVTFontDC font(pDC, GetIconFont());
        CRect rcText(rcBox.left + DpiX(3), rcBox.top + DpiY(1), rcButton.left, rcBox.bottom - DpiY(1));
        pCombo->DrawEditText(pDC, rcText);
    }
    DrawPopupArrow(pDC, rcButton, Entry(nGroup + CQVTCommandBarsColorSet::comboMarker));
    return CSize(0, 0);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl)
{
    rc.left += DpiX(2);
    rc.right -= DpiX(2);
    rc.bottom -= DpiY(2);
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const COLORREF clr = !bEnabled ? Entry(24) : pControl->GetSelected() ? Entry(22) : Entry(21);
    if (pControl->GetType() == qvtControlRadioButton)
        DrawRadioMark(pDC, rc, clr, bEnabled);
    else
        DrawCheckMark(pDC, rc, clr, bEnabled);
}

CSize CQVTCommandBarsVisualStudio2012Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
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
    DrawDottedLine(pDC, rc.left + DpiX(10), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
    DrawDottedLine(pDC, rc.left + DpiX(12), rc.top + DpiY(7), rc.bottom - DpiY(5), clr, TRUE);
    DrawDottedLine(pDC, rc.left + DpiX(14), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
    return sz;
}

CSize CQVTCommandBarsVisualStudio2012Theme::DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw,
                                                                    BOOL bSelected, BOOL bPressed,
                                                                    int nChecked, BOOL bEnabled)
{
    const CSize sz(DpiX(13), DpiY(13));
    if (!bDraw || !pDC)
        return sz;
    const CRect rcBox(rc.left, rc.top + (rc.Height() - sz.cy) / 2, rc.left + sz.cx,
                      rc.top + (rc.Height() - sz.cy) / 2 + sz.cy);
    if (!bEnabled)
        pDC->Draw3dRect(rcBox, GetColor(35), GetColor(35));
    else if (bSelected && bPressed)
        DrawRectangleByColors(pDC, rcBox, GetColor(32), GetColor(33));
    else if (bSelected || bPressed)
        DrawRectangleByColors(pDC, rcBox, GetColor(32), GetColor(31));
    else
        DrawRectangleByColors(pDC, rcBox, GetColor(52), GetColor(5));
    if (nChecked)
    {
        const COLORREF clr = !bEnabled ? Entry(24) : bSelected ? Entry(22) : Entry(21);
        DrawCheckMark(pDC, rcBox, clr, bEnabled);
    }
    return sz;
}

void CQVTCommandBarsVisualStudio2012Theme::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2,
                                                    COLORREF clr)
{
    (void)clr;
    COLORREF clrGlyph = Entry(51);
    if (m_pGlyphControl && m_pGlyphControl->GetPopuped())
        clrGlyph = Entry(52);
    else if (m_pGlyphControl && m_pGlyphControl->GetSelected())
        clrGlyph = Entry(53);
    HorizontalLine(pDC, pt2.x - DpiX(2), pt0.y - DpiY(3), pt1.x + DpiX(1), clrGlyph);
    CQVTCommandBarsModernUITheme::Triangle(pDC, pt0, pt1, pt2, clrGlyph);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr,
                                                           BOOL bVertical)
{
    VisualStudio2012GlyphScope scope(m_pGlyphControl, pControl);
    const COLORREF clrGlyph = pControl->GetPopuped()    ? Entry(52)
                              : pControl->GetSelected() ? Entry(53)
                                                        : Entry(51);
    CQVTCommandBarsModernUITheme::DrawHiddenGlyph(pDC, pControl, clrGlyph, bVertical);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt,
                                                             BOOL bSelected, BOOL bPopuped, BOOL bEnabled,
                                                             BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    WCHAR chGlyph;
    switch (pBar ? pBar->GetPosition() : -1)
    {
    case qvtBarBottom:
        chGlyph = kVisualStudio2012GlyphArrowUp;
        break;
    case qvtBarLeft:
        chGlyph = kVisualStudio2012GlyphArrowRight;
        break;
    case qvtBarRight:
        chGlyph = kVisualStudio2012GlyphArrowLeft;
        break;
    case qvtBarTop:
        chGlyph = kVisualStudio2012GlyphArrowDown;
        break;
    default:
        chGlyph = bVertical ? kVisualStudio2012GlyphArrowLeft : kVisualStudio2012GlyphArrowDown;
        break;
    }
    COLORREF clr = Entry(51);
    if (pControl && pControl->GetPopuped())
        clr = pControl->GetStyle() == qvtButtonIconAndCaptionBelow ? Entry(52) : Entry(51);
    else if (pControl)
        clr = GetControlGlyphColor(pControl);
    const int nHalfX = DpiX(10) / 2, nHalfY = DpiY(10) / 2;
    QVTGlyphFont()->DrawGlyph(pDC, chGlyph, CRect(pt.x - nHalfX, pt.y - nHalfY, pt.x + nHalfX, pt.y + nHalfY),
                              clr);
}

void CQVTCommandBarsVisualStudio2012Theme::DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl,
                                                                 COLORREF clrText)
{
    const CRect rc = pControl->GetRect();
    const int nSide =
        pControl->GetStyle() == qvtButtonIconAndCaptionBelow ? GetPopupSplitArrowWidth() : rc.Height();
    CRect rcArrow(rc.right - nSide, rc.top, rc.right, rc.bottom);
    rcArrow.DeflateRect(DpiX(5), DpiY(5));
    QVTGlyphFont()->DrawGlyph(
        pDC, IsDCRightToLeft(pDC) ? kVisualStudio2012GlyphArrowLeft : kVisualStudio2012GlyphArrowRight,
        rcArrow, GetControlGlyphColor(pControl));
}

void CQVTCommandBarsVisualStudio2012Theme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    if (pControl->GetStyle() == qvtButtonIconAndCaptionBelow)
    {
        CQVTCommandBarsModernUITheme::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    const int nDropDown = GetSplitDropDownWidth();
    const CRect rcDropDown(rc.right - nDropDown, rc.top, rc.right, rc.bottom);
    if (GetEffectiveEnabled(pControl))
    {
        if (pControl->GetPopuped())
            pDC->FillSolidRect(rc, Entry(15));
        else if (pControl->GetSelected() || pControl->GetPressed())
        {
            pDC->FillSolidRect(rc, Entry(12));
            VerticalLine(pDC, rcDropDown.left, rc.top, rc.bottom, Entry(49));
            if (pControl->GetPressed())
                pDC->FillSolidRect(CRect(rc.left, rc.top, rcDropDown.left, rc.bottom), Entry(13));
        }
    }
    const CPoint pt = rcDropDown.CenterPoint();
    DrawDropDownGlyph(pDC, pControl, pt, pControl->GetSelected(), pControl->GetPopuped(),
                      GetEffectiveEnabled(pControl), FALSE);
}

CSize CQVTCommandBarsVisualStudio2012Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                                    CQVTControl* pControl, BOOL bDraw)
{
    const BOOL bPopup = pBar->GetType() == qvtBarTypePopup;
    if (!bDraw)
        return bPopup ? CSize(DpiX(3), DpiY(3)) : CSize(DpiX(6), DpiY(6));
    const COLORREF clrDark = Entry(49), clrLight = Entry(50);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    const int nPosition = pBar->GetPosition();
    auto horizontalPair = [&](int y, int x0, int x1) {
        HorizontalLine(pDC, x0, y, x1, clrDark);
        HorizontalLine(pDC, x0, y + DpiY(1), x1, clrLight);
    };
    auto verticalPair = [&](int x, int y0, int y1) {
        VerticalLine(pDC, x, y0, y1, clrDark);
        VerticalLine(pDC, x + DpiX(1), y0, y1, clrLight);
    };
    if (bPopup)
    {
        if (!bWrap)
            horizontalPair(rcControl.top - DpiY(2),
                           rcControl.left + GetPopupBarGutterWidth(pBar) + GetPopupTextGap() - DpiX(1),
                           rcControl.right + DpiX(1));
        else
            verticalPair(rcControl.left - DpiX(2), rcRow.top - DpiY(1), rcRow.bottom + DpiY(1));
    }
    else if (nPosition != qvtBarLeft && nPosition != qvtBarRight)
    {
        if (!bWrap)
            verticalPair(rcControl.left - DpiX(4), rcRow.top + DpiY(2), rcRow.bottom);
        else
            horizontalPair(rcRow.top - DpiY(4), rcRow.left, rcRow.right);
    }
    else
    {
        if (!bWrap)
            horizontalPair(rcControl.top - DpiY(4), rcRow.left, rcRow.right);
        else
            verticalPair(rcRow.right + DpiX(2), rcRow.top + DpiY(4), rcRow.bottom);
    }
    return CSize(0, 0);
}
