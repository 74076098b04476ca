// The drawing of the flat theme: control faces, bar backgrounds, grippers,
// separators, fields and marks, apart from its colours and metrics in
// QVTCommandBarsOffice2013Theme.cpp.
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

namespace {
const COLORREF kOffice2013NoColor = CQVTPaintManagerColor::noColor;

// Glyphs of the toolkit's glyph font.
const WCHAR kOffice2013GlyphArrowLeft = 74;
const WCHAR kOffice2013GlyphArrowRight = 75;
const WCHAR kOffice2013GlyphArrowUp = 76;
const WCHAR kOffice2013GlyphArrowDown = 77;
const WCHAR kOffice2013GlyphHiddenVert = 98;
const WCHAR kOffice2013GlyphMore = 99;

BOOL Office2013IsKeyboardState(int nValue)
{
    return nValue == 2 || nValue == 3;
}

// The face colours of one state; bInset: the fill lies 2 px inside the
// frame (a keyboard-selected disabled control).
struct Office2013Face
{
    COLORREF clrBorder = kOffice2013NoColor;
    COLORREF clrFill = kOffice2013NoColor;
    BOOL bInset = FALSE;
};
}  // namespace

void CQVTCommandBarsOffice2013Theme::FillAndFrame(CDC* pDC, const CRect& rc, COLORREF clrBorder,
                                                  COLORREF clrFill)
{
    if (clrFill != kOffice2013NoColor)
        pDC->FillSolidRect(rc, clrFill);
    if (clrBorder != clrFill && clrBorder != kOffice2013NoColor)
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

CQVTColorSetStateButton& CQVTCommandBarsOffice2013Theme::GetColorSet(int barType)
{
    if (barType == qvtBarTypePopup)
        return m_csMenu;
    if (barType == qvtBarTypeRibbon)
        return m_csRibbon;
    return m_csToolbar;
}

namespace {
BOOL Office2013FaceOf(CQVTCommandBarsOffice2013Theme* pTheme, CQVTColorSetStateButton& cs, BOOL bSelected,
                      BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                      Office2013Face& face)
{
    if (!bEnabled && !bChecked)
    {
        if (!Office2013IsKeyboardState(bSelected))
            return FALSE;
        face.clrBorder = cs.m_clrButtonBorderDisabled;
        face.clrFill = cs.m_clrButtonBackDisabled;
        face.bInset = TRUE;
        return TRUE;
    }
    if (!bEnabled)
    {
        if (Office2013IsKeyboardState(bSelected))
            return FALSE;
        face.clrBorder = face.clrFill = cs.m_clrButtonBackDisabled;
        return TRUE;
    }
    if (bPopuped)
    {
        if (barType != qvtBarTypeNormal)
        {
            face.clrBorder = cs.m_clrButtonBorderChecked;
            face.clrFill = cs.m_clrButtonBackChecked;
        }
        else
        {
            face.clrBorder = pTheme->m_csMenu.m_clrBorder;
            face.clrFill = pTheme->m_csMenu.m_clrBack;
        }
        return TRUE;
    }
    if (bChecked && !bPressed)
    {
        if (bSelected)
        {
            face.clrBorder = cs.m_clrButtonBorderCheckedHighlight;
            face.clrFill = cs.m_clrButtonBackCheckedHighlight;
        }
        else
        {
            face.clrBorder = cs.m_clrButtonBorderChecked;
            face.clrFill = bChecked == 2 ? cs.m_clrButtonBack : cs.m_clrButtonBackChecked;
        }
        return TRUE;
    }
    if (Office2013IsKeyboardState(bPressed) || (bSelected && bPressed))
    {
        face.clrBorder = cs.m_clrButtonBorderPushed;
        face.clrFill = cs.m_clrButtonBackPushed;
        return TRUE;
    }
    if (bSelected || bPressed)
    {
        face.clrBorder = cs.m_clrButtonBorderHighlight;
        face.clrFill = cs.m_clrButtonBackHighlight;
        return TRUE;
    }
    return FALSE;
}
}  // namespace

void CQVTCommandBarsOffice2013Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                                   int barPosition)
{
    Office2013Face face;
    if (!Office2013FaceOf(this, GetColorSet(barType), bSelected, bPressed, bEnabled, bChecked, bPopuped,
                          barType, face))
        return;
    if (!face.bInset)
    {
        FillAndFrame(pDC, rc, face.clrBorder, face.clrFill);
        return;
    }
    if (face.clrBorder != kOffice2013NoColor)
        pDC->Draw3dRect(rc, face.clrBorder, face.clrBorder);
    CRect rcInner(rc);
    rcInner.DeflateRect(2, 2);
    if (face.clrFill != kOffice2013NoColor && !rcInner.IsRectEmpty())
        pDC->FillSolidRect(rcInner, face.clrFill);
}

void CQVTCommandBarsOffice2013Theme::DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected,
                                                          BOOL bPressed, BOOL bChecked, int barType)
{
    Office2013Face face;
    if (!Office2013FaceOf(this, GetColorSet(barType), bSelected, bPressed, bEnabled, bChecked, FALSE, barType,
                          face))
        return;
    if (face.clrFill != kOffice2013NoColor)
    {
        const int cx = std::min<int>(DpiX(4), rc.Width());
        const int cy = std::min<int>(DpiY(4), rc.Height());
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), cy, face.clrFill);
        pDC->FillSolidRect(rc.left, rc.bottom - cy, rc.Width(), cy, face.clrFill);
        pDC->FillSolidRect(rc.left, rc.top, cx, rc.Height(), face.clrFill);
        pDC->FillSolidRect(rc.right - cx, rc.top, cx, rc.Height(), face.clrFill);
    }
    if (face.clrBorder != face.clrFill && face.clrBorder != kOffice2013NoColor)
        pDC->Draw3dRect(rc, face.clrBorder, face.clrBorder);
}

COLORREF CQVTCommandBarsOffice2013Theme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                                               BOOL bChecked, BOOL bPopuped, int barType,
                                                               int barPosition)
{
    if (barType == qvtBarTypePopup)
        return !bEnabled   ? m_csMenu.m_clrButtonTextDisabled
               : bSelected ? m_csMenu.m_clrButtonTextHighlight
                           : m_csMenu.m_clrButtonText;
    CQVTColorSetStateButton& cs =
        barType == qvtBarTypeNormal   ? static_cast<CQVTColorSetStateButton&>(m_csMenu)
        : barType == qvtBarTypeRibbon ? static_cast<CQVTColorSetStateButton&>(m_csRibbon)
                                      : static_cast<CQVTColorSetStateButton&>(m_csToolbar);
    if (!bEnabled)
        return cs.m_clrButtonTextDisabled;
    if (bPopuped)
        return cs.m_clrButtonTextPushed;
    if (bChecked && !bSelected && !bPressed)
        return cs.m_clrButtonTextChecked;
    if (Office2013IsKeyboardState(bPressed) || (bChecked && bPressed))
        return cs.m_clrButtonTextPushed;
    if (!bSelected && !bPressed)
        return barPosition == qvtBarPopup ? m_csMenu.m_clrButtonText : m_csToolbar.m_clrButtonText;
    return cs.m_clrButtonTextHighlight;
}

COLORREF CQVTCommandBarsOffice2013Theme::GetControlTextColor(CQVTControl* pControl)
{
    if (IsCaptionControl(pControl))
        return GetEffectiveEnabled(pControl) ? m_clrFrameCaptionTextActive : m_clrFrameCaptionTextInactive;
    if ((pControl->GetFlags() & 0x100) && !pControl->GetSelected() && !pControl->GetPopuped())
        return m_csRibbon.m_clrTabTextInactive;
    return CQVTCommandBarsModernUITheme::GetControlTextColor(pControl);
}

COLORREF CQVTCommandBarsOffice2013Theme::GetControlGlyphColor(CQVTControl* pControl)
{
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (IsCaptionControl(pControl))
        return bEnabled ? m_clrFrameCaptionTextActive : m_clrFrameCaptionTextInactive;
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    if ((pControl->GetFlags() & 0x100) && !bPopuped && !bSelected)
        return m_csRibbon.m_clrTabTextInactive;
    if (!bEnabled)
        return m_clrGlyphDisabled;
    CQVTCommandBar* pBar = pControl->GetParent();
    if ((pBar && pBar->GetType() == qvtBarTypePopup) || (!pControl->GetPressed() && !bPopuped))
        return bSelected ? m_clrGlyphHighlight : m_clrGlyph;
    const int nId = pControl->GetID();
    return nId == QVT_ID_TOOLBAR_EXPAND || nId == QVT_ID_ADDREMOVE_BUTTONS ? m_clrGlyphHighlight
                                                                           : m_clrGlyphPushed;
}

COLORREF CQVTCommandBarsOffice2013Theme::GetSeparatorColor(int barType, BOOL bDark)
{
    const CQVTPaintManagerColorGradient* pPair = nullptr;
    switch (barType)
    {
    case qvtBarTypeNormal:
    case qvtBarTypeMenuBar:
    case qvtBarTypeRibbon:
        pPair = &m_csToolbar.m_grcSeparator;
        break;
    case qvtBarTypePopup:
        pPair = &m_csMenu.m_grcSeparator;
        break;
    default:
        return RGB(255, 0, 0);
    }
    return bDark ? pPair->clrDark.GetValue() : pPair->clrLight.GetValue();
}

void CQVTCommandBarsOffice2013Theme::GetCheckBoxColors(BOOL bPressed, BOOL bHighlighted, BOOL bEnabled,
                                                       COLORREF& clrMark, COLORREF& clrBack,
                                                       COLORREF& clrBorder)
{
    const CQVTColorSetStateCheckBox& cs = m_csCheckBox;
    if (!bEnabled)
    {
        clrMark = cs.m_clrMarkDisabled;
        clrBack = cs.m_clrBackDisabled;
        clrBorder = cs.m_clrBorderDisabled;
    }
    else if (bPressed && bHighlighted)
    {
        clrMark = cs.m_clrMarkPushed;
        clrBack = cs.m_clrBackPushed;
        clrBorder = cs.m_clrBorderPushed;
    }
    else if (!bPressed && !bHighlighted)
    {
        clrMark = cs.m_clrMark;
        clrBack = cs.m_clrBack;
        clrBorder = cs.m_clrBorder;
    }
    else
    {
        clrMark = cs.m_clrMarkHighlight;
        clrBack = cs.m_clrBackHighlight;
        clrBorder = cs.m_clrBorderHighlight;
    }
}

void CQVTCommandBarsOffice2013Theme::DrawDottedLine(CDC* pDC, int x, int y, int nEnd, COLORREF clr,
                                                    BOOL bVertical)
{
    const int nStep = std::max(1, bVertical ? DpiY(4) : DpiX(4));
    const int cx = std::max(1, DpiX(1));
    const int cy = std::max(1, DpiY(1));
    if (bVertical)
    {
        for (int p = y; p < nEnd; p += nStep)
            pDC->FillSolidRect(x, p, cx, cy, clr);
    }
    else
    {
        for (int p = x; p <= nEnd; p += nStep)
            pDC->FillSolidRect(p, y, cx, cy, clr);
    }
}

void CQVTCommandBarsOffice2013Theme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarFloating)
    {
        FillAndFrame(pDC, rc, m_csToolbar.m_clrBorderEdit, m_csToolbar.m_clrButtonBack);
        return;
    }
    if (nPosition == qvtBarPopup)
    {
        FillAndFrame(pDC, rc, m_csMenu.m_clrBorder, m_csMenu.m_clrBack);
        DrawPopupGap(pDC, pBar);
        return;
    }
    if (IsFlatBar(pBar))
    {
        if (m_clrBack.GetValue() != kOffice2013NoColor)
            pDC->FillSolidRect(rc, m_clrBack);
        return;
    }
    FillAndFrame(pDC, rc, m_csToolbar.m_clrBorder, m_csToolbar.m_clrBack);
}

void CQVTCommandBarsOffice2013Theme::DrawPopupGap(CDC* pDC, CQVTCommandBar* pBar)
{
    // Where a popup meets the control of a toolbar that dropped it, its
    // border opens towards that control.
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pBar);
    CQVTControlPopup* pOwner = pPopup ? pPopup->GetControlPopup() : nullptr;
    CQVTCommandBar* pOwnerBar = pOwner ? pOwner->GetParent() : nullptr;
    if (!pOwnerBar || pOwnerBar->GetType() != qvtBarTypeNormal || pOwnerBar->GetPosition() == qvtBarPopup ||
        !pOwnerBar->GetSafeHwnd() || !pPopup->GetSafeHwnd() ||
        m_csMenu.m_clrBack.GetValue() == kOffice2013NoColor)
        return;
    CRect rcOwner = pOwner->GetRect();
    pOwnerBar->ClientToScreen(&rcOwner);
    CRect rcPopup;
    pPopup->GetWindowRect(&rcPopup);
    CRect rcJoin;
    if (!rcJoin.IntersectRect(rcPopup, rcOwner))
        return;
    pPopup->ScreenToClient(&rcJoin);
    if (rcJoin.Width() > 1)
        rcJoin.DeflateRect(1, 0);
    if (rcJoin.Height() > 1)
        rcJoin.DeflateRect(0, 1);
    pDC->FillSolidRect(rcJoin, m_csMenu.m_clrBack);
}

BOOL CQVTCommandBarsOffice2013Theme::DrawControlEntryHook(CDC* pDC, CQVTControl* pControl)
{
    const CRect rc = pControl->GetRect();
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    const int nId = pControl->GetID();
    if (nId == QVT_ID_TOOLBAR_EXPAND)
    {
        if (!bPopuped && !bSelected)
        {
            if (m_csToolbar.m_clrBack.GetValue() != kOffice2013NoColor)
                pDC->FillSolidRect(rc, m_csToolbar.m_clrBack);
        }
        else
        {
            CQVTCommandBar* pBar = pControl->GetParent();
            const BOOL bFloating = pBar && pBar->GetPosition() == qvtBarFloating;
            FillAndFrame(pDC, rc,
                         bFloating ? m_csToolbar.m_clrButtonBorderHighlight
                                   : m_csToolbar.m_clrButtonBackHighlight,
                         m_csToolbar.m_clrButtonBackHighlight);
        }
        return TRUE;
    }
    if (nId == QVT_ID_ADDREMOVE_BUTTONS)
    {
        if (!bPopuped && !bSelected)
            FillAndFrame(pDC, rc, m_csMenu.m_clrButtonBorder, m_csMenu.m_clrButtonBack);
        else
            FillAndFrame(pDC, rc, m_csToolbar.m_clrButtonBorderCheckedHighlight,
                         m_csToolbar.m_clrButtonBackHighlight);
        return TRUE;
    }
    if (!IsCaptionControl(pControl))
        return FALSE;
    if (!GetEffectiveEnabled(pControl))
        return TRUE;
    const BOOL bChecked = pControl->GetChecked();
    if (pControl->GetPressed() || bPopuped)
        pDC->FillSolidRect(rc, m_clrCaptionButtonPressedBack);
    else if (bSelected)
    {
        pDC->FillSolidRect(rc, m_clrCaptionButtonHotBack);
        if (bChecked)
            pDC->Draw3dRect(rc, m_clrCaptionButtonPressedBack, m_clrCaptionButtonPressedBack);
    }
    else if (bChecked)
        pDC->FillSolidRect(rc, m_clrCaptionButtonHotBack);
    return TRUE;
}

CSize CQVTCommandBarsOffice2013Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarFloating)
        return CQVTPaintManager::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (nPosition > qvtBarRight || pBar->IsDialogBar())
        return CQVTCommandBarsModernUITheme::DrawCommandBarGripper(pDC, pBar, bDraw);
    // The flat look's size, without its strokes.
    const CSize sz = CQVTCommandBarsModernUITheme::DrawCommandBarGripper(nullptr, pBar, FALSE);
    if (!bDraw || !pDC || !pBar->IsGripperVisible() || !pBar->GetSafeHwnd())
        return sz;
    CRect rc;
    pBar->GetClientRect(&rc);
    const COLORREF clr = m_csToolbar.m_clrGripper;
    if (clr == kOffice2013NoColor)
        return sz;
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
    {
        DrawDottedLine(pDC, rc.left + DpiX(3), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
        DrawDottedLine(pDC, rc.left + DpiX(5), rc.top + DpiY(7), rc.bottom - DpiY(4), clr, TRUE);
        DrawDottedLine(pDC, rc.left + DpiX(7), rc.top + DpiY(5), rc.bottom - DpiY(3), clr, TRUE);
    }
    else
    {
        DrawDottedLine(pDC, rc.left + DpiX(3), rc.top + DpiY(3), rc.right - DpiX(3), clr, FALSE);
        DrawDottedLine(pDC, rc.left + DpiX(5), rc.top + DpiY(5), rc.right - DpiX(4), clr, FALSE);
        DrawDottedLine(pDC, rc.left + DpiX(3), rc.top + DpiY(7), rc.right - DpiX(3), clr, FALSE);
    }
    return sz;
}

CSize CQVTCommandBarsOffice2013Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                              CQVTControl* pControl, BOOL bDraw)
{
    const int barType = pBar->GetType();
    const BOOL bPopup = barType == qvtBarTypePopup;
    if (!bDraw)
        return bPopup ? CSize(DpiX(3), DpiY(3)) : CSize(DpiX(6), DpiY(6));
    const COLORREF clrDark = GetSeparatorColor(barType, TRUE);
    const COLORREF clrLight = GetSeparatorColor(barType, FALSE);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    const int nPosition = pBar->GetPosition();
    // Each line of a pair sits at its own scaled offset.
    auto horizontalPair = [&](int yDark, int yLight, int x0, int x1) {
        HorizontalLine(pDC, x0, yDark, x1, clrDark);
        HorizontalLine(pDC, x0, yLight, x1, clrLight);
    };
    auto verticalPair = [&](int xDark, int xLight, int y0, int y1) {
        VerticalLine(pDC, xDark, y0, y1, clrDark);
        VerticalLine(pDC, xLight, y0, y1, clrLight);
    };
    if (bPopup)
    {
        if (!bWrap)
            horizontalPair(rcControl.top - DpiY(2), rcControl.top - DpiY(1),
                           rcControl.left + GetPopupBarGutterWidth(pBar) + GetPopupTextGap() - DpiX(1),
                           rcControl.right + DpiX(1));
        else
            verticalPair(rcControl.left - DpiX(2), rcControl.left - DpiX(1), rcRow.top - DpiY(1),
                         rcRow.bottom + DpiY(1));
    }
    else if (nPosition != qvtBarLeft && nPosition != qvtBarRight)
    {
        if (!bWrap)
            verticalPair(rcControl.left - DpiX(4), rcControl.left - DpiX(3), rcRow.top + DpiY(2),
                         rcRow.bottom);
        else
            horizontalPair(rcRow.top - DpiY(4), rcRow.top - DpiY(3), rcRow.left, rcRow.right);
    }
    else
    {
        if (!bWrap)
            horizontalPair(rcControl.top - DpiY(4), rcControl.top - DpiY(3), rcRow.left, rcRow.right);
        else
            verticalPair(rcRow.right + DpiX(2), rcRow.right + DpiX(3), rcRow.top + DpiY(4), rcRow.bottom);
    }
    return CSize(0, 0);
}

void CQVTCommandBarsOffice2013Theme::DrawAdjacentControlsSeparator(CDC* pDC, CRect rc, CQVTControl* pPrev,
                                                                   CQVTControl* pNext, BOOL bDraw)
{
    if (!bDraw || !pPrev || !pNext || !pDC)
        return;
    const CRect rcPrev = pPrev->GetRect();
    const CRect rcNext = pNext->GetRect();
    const int nTop = std::max(rcPrev.top, rcNext.top);
    const int nBottom = std::min(rcPrev.bottom, rcNext.bottom);
    if (nBottom <= nTop || m_csToolbar.m_clrButtonBorderHighlight.GetValue() == kOffice2013NoColor)
        return;
    VerticalLine(pDC, (rcPrev.right + rcNext.left) / 2, nTop, nBottom,
                 m_csToolbar.m_clrButtonBorderHighlight);
}

void CQVTCommandBarsOffice2013Theme::FillDockBar(CDC* pDC, CQVTDockBar* pDockBar)
{
    if (!pDockBar || !pDockBar->GetSafeHwnd() || m_clrBack.GetValue() == kOffice2013NoColor)
        return;
    CRect rc;
    pDockBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrBack);
}

void CQVTCommandBarsOffice2013Theme::FillWorkspace(CDC* pDC, CRect rc)
{
    QVTDrawHelpers()->GradientFillWithFactor(pDC, rc, m_grcWorkspace, FALSE);
}

void CQVTCommandBarsOffice2013Theme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    if (m_csMenu.m_clrGripper.GetValue() != kOffice2013NoColor)
        pDC->FillSolidRect(x, y, cx, cy, m_csMenu.m_clrGripper);
}

void CQVTCommandBarsOffice2013Theme::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    // The glyph colour follows the control being drawn, whatever the caller
    // passes; the line above makes the arrow a "more" glyph.
    (void)clr;
    const COLORREF clrGlyph = m_pGlyphControl ? GetControlGlyphColor(m_pGlyphControl) : m_clrGlyph.GetValue();
    HorizontalLine(pDC, pt2.x - DpiX(2), pt0.y - DpiY(3), pt1.x + DpiX(1), clrGlyph);
    CQVTCommandBarsModernUITheme::Triangle(pDC, pt0, pt1, pt2, clrGlyph);
}

namespace {
// Remembers the control whose glyph is being drawn, for Triangle.
class Office2013GlyphScope
{
public:
    Office2013GlyphScope(CQVTControl*& pSlot, CQVTControl* pControl) : m_pSlot(pSlot), m_pOld(pSlot)
    {
        pSlot = pControl;
    }
    ~Office2013GlyphScope() { m_pSlot = m_pOld; }

private:
    CQVTControl*& m_pSlot;
    CQVTControl* m_pOld;
};
}  // namespace

void CQVTCommandBarsOffice2013Theme::DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr,
                                                     BOOL bVertical)
{
    Office2013GlyphScope scope(m_pGlyphControl, pControl);
    CQVTCommandBarsModernUITheme::DrawHiddenGlyph(pDC, pControl, GetControlGlyphColor(pControl), bVertical);
}

void CQVTCommandBarsOffice2013Theme::DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt,
                                                       BOOL bSelected, BOOL bPopuped, BOOL bEnabled,
                                                       BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    WCHAR chGlyph;
    switch (pBar ? pBar->GetPosition() : -1)
    {
    case qvtBarTop:
        chGlyph = kOffice2013GlyphArrowDown;
        break;
    case qvtBarBottom:
        chGlyph = kOffice2013GlyphArrowUp;
        break;
    case qvtBarLeft:
        chGlyph = kOffice2013GlyphArrowRight;
        break;
    case qvtBarRight:
        chGlyph = kOffice2013GlyphArrowLeft;
        break;
    default:
        chGlyph = bVertical ? kOffice2013GlyphArrowLeft : kOffice2013GlyphArrowDown;
        break;
    }
    const COLORREF clr = pControl ? GetControlGlyphColor(pControl) : m_clrGlyph.GetValue();
    const int nHalfX = DpiX(10) / 2;
    const int nHalfY = DpiY(10) / 2;
    QVTGlyphFont()->DrawGlyph(pDC, chGlyph, CRect(pt.x - nHalfX, pt.y - nHalfY, pt.x + nHalfX, pt.y + nHalfY),
                              clr);
}

void CQVTCommandBarsOffice2013Theme::DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl)
{
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const COLORREF clr = !bEnabled                 ? m_csCheckMark.m_clrMarkDisabled
                         : pControl->GetSelected() ? m_csCheckMark.m_clrMarkHighlight
                                                   : m_csCheckMark.m_clrMark;
    if (pControl->GetType() == qvtControlRadioButton)
        DrawRadioMark(pDC, rc, clr, bEnabled);
    else
        DrawCheckMark(pDC, rc, clr, bEnabled);
}

void CQVTCommandBarsOffice2013Theme::DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText)
{
    const CRect rc = pControl->GetRect();
    const int nStyle = pControl->GetStyle();
    const int nSide = nStyle == 3 || nStyle == 4 ? GetPopupSplitArrowWidth() : rc.Height();
    CRect rcArrow(rc.right - nSide, rc.top, rc.right, rc.bottom);
    rcArrow.DeflateRect(DpiX(4), DpiY(4));
    QVTGlyphFont()->DrawGlyph(pDC,
                              IsDCRightToLeft(pDC) ? kOffice2013GlyphArrowLeft : kOffice2013GlyphArrowRight,
                              rcArrow, GetControlGlyphColor(pControl));
}

void CQVTCommandBarsOffice2013Theme::DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl)
{
    CQVTFont font;
    font.CreatePointFont(80, _T("Marlett"), pDC);
    CFont* pOldFont = pDC->SelectObject(font.GetFont());
    const BOOL bInactiveTab = (pControl->GetFlags() & 0x100) && !pControl->GetSelected();
    const COLORREF clrOld =
        pDC->SetTextColor(bInactiveTab ? m_csRibbon.m_clrTabTextInactive : m_csMenu.m_clrButtonText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rc = pControl->GetRect();
    DrawTextApi(pDC, pControl->GetCaption(), rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX, FALSE);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
}

CSize CQVTCommandBarsOffice2013Theme::DrawControlCheckBox(CDC* pDC, CQVTControl* pControl, CRect rc,
                                                          BOOL bDraw)
{
    if (!IsCaptionControl(pControl) || GetThemeId() == qvtThemeVisualStudio2015)
        return CQVTCommandBarsModernUITheme::DrawControlCheckBox(pDC, pControl, rc, bDraw);
    const CSize szMark(DpiX(13), DpiY(13));
    if (!bDraw || !pDC)
        return szMark;
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPressed = pControl->GetPressed();
    if (bSelected || bPressed)
    {
        const COLORREF clr =
            bSelected && bPressed ? m_clrCaptionButtonPressedBack : m_clrCaptionButtonHotBack;
        FillAndFrame(pDC, CRect(rc.TopLeft(), szMark), clr, clr);
    }
    if (pControl->GetChecked())
        DrawPopupCheckMark(pDC, CRect(rc.TopLeft(), szMark), pControl);
    return szMark;
}

void CQVTCommandBarsOffice2013Theme::DrawFlatCheckBoxMark(CDC* pDC, const CRect& rcMark, BOOL bSelected,
                                                          BOOL bPressed, int nChecked, BOOL bEnabled)
{
    COLORREF clrMark, clrBack, clrBorder;
    GetCheckBoxColors(bPressed, bSelected, bEnabled, clrMark, clrBack, clrBorder);
    FillAndFrame(pDC, rcMark, clrBorder, clrBack);
    if (nChecked && clrMark != kOffice2013NoColor)
        DrawStrokedTick(pDC, rcMark, clrMark, 4);
}

void CQVTCommandBarsOffice2013Theme::DrawFlatRadioButtonMark(CDC* pDC, const CRect& rcMark, BOOL bSelected,
                                                             BOOL bPressed, int nChecked, BOOL bEnabled)
{
    COLORREF clrMark, clrBack, clrBorder;
    GetCheckBoxColors(bPressed, bSelected, bEnabled, clrMark, clrBack, clrBorder);
    DrawAntialiasedCircle(pDC, rcMark, clrBorder, clrBack);
    if (nChecked)
        DrawAntialiasedCircle(
            pDC,
            CRect(rcMark.left + DpiX(4), rcMark.top + DpiY(4), rcMark.left + DpiX(9), rcMark.top + DpiY(9)),
            clrMark, clrMark);
}
