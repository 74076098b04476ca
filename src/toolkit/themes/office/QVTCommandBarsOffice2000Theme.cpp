#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2000Theme, CQVTPaintManager)

namespace {
const WCHAR kGlyphSubmenuArrow = 75;
}

CQVTCommandBarsOffice2000Theme::CQVTCommandBarsOffice2000Theme() : m_nPopupBarText(COLOR_BTNTEXT)
{
    m_bFlatToolBar = FALSE;
    m_bFlatMenuBar = FALSE;
}

void CQVTCommandBarsOffice2000Theme::RefreshMetrics()
{
    CQVTPaintManager::RefreshMetrics();
    // Floating-bar titles in the caption colours.
    m_clrShadow.SetStandardValue(GetColor(COLOR_ACTIVECAPTION));
    m_clrLight.SetStandardValue(GetColor(COLOR_CAPTIONTEXT));
}

COLORREF CQVTCommandBarsOffice2000Theme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                                               BOOL bChecked, BOOL bPopuped, int barType,
                                                               int barPosition)
{
    if (barType != qvtBarTypePopup)
    {
        if (!bEnabled)
            return GetColor(COLOR_GRAYTEXT);
        return GetColor(barPosition == qvtBarPopup ? m_nPopupBarText : COLOR_BTNTEXT);
    }
    if (!bEnabled)
        return GetColor(COLOR_GRAYTEXT);
    if (bSelected && !bPressed)
        return GetColor(COLOR_HIGHLIGHTTEXT);
    return GetColor(m_nPopupBarText);
}

void CQVTCommandBarsOffice2000Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                                   int barPosition)
{
    if (barType == qvtBarTypePopup)
    {
        if (!bChecked)
        {
            if (bSelected || bPressed)
                DrawRectangleByColors(pDC, rc, GetColor(COLOR_HIGHLIGHT), GetColor(COLOR_HIGHLIGHT));
            return;
        }
        if (m_bCheckedPopupDither && barPosition == qvtBarPopup)
        {
            FillDither(pDC, rc);
            DrawSunkenEdge(pDC, rc);
            return;
        }
    }
    const BOOL bKeyboardSelected = bSelected == 2 || bSelected == 3;
    if (!bEnabled)
    {
        if (bChecked)
            DrawSunkenEdge(pDC, rc);
        if (bKeyboardSelected)
            DrawSunkenEdge(pDC, rc);
        return;
    }
    if (bChecked)
    {
        if (!bSelected && !bPressed)
            FillDither(pDC, rc);
        DrawSunkenEdge(pDC, rc);
        return;
    }
    const BOOL bKeyboardPressed = bPressed == 2 || bPressed == 3;
    if (!bPopuped && !bKeyboardPressed)
    {
        if (!bSelected && !bPressed)
            return;
        if (!bSelected || !bPressed)
        {
            DrawRaisedEdge(pDC, rc);
            return;
        }
    }
    DrawSunkenEdge(pDC, rc);
}

void CQVTCommandBarsOffice2000Theme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarFloating || nPosition == qvtBarPopup)
    {
        Draw3dRect(pDC, rc, COLOR_3DFACE, COLOR_3DDKSHADOW);
        rc.DeflateRect(1, 1);
        DrawRaisedEdge(pDC, rc);
    }
    else if (!IsFlatBar(pBar))
        DrawRaisedEdge(pDC, rc);
}

CSize CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsSmallGripper())
        return DrawSmallGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarFloating)
        return CQVTPaintManager::DrawCommandBarGripper(pDC, pBar, bDraw);
    CRect rcClient;
    if (pBar->GetSafeHwnd())
        pBar->GetClientRect(&rcClient);
    if (nPosition == qvtBarLeft || nPosition == qvtBarRight)
    {
        if (bDraw && pDC)
            DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(3), rcClient.Width() - DpiX(3), DpiY(6)));
        return CSize(0, DpiY(8));
    }
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
    {
        if (bDraw && pDC)
            DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(3), DpiX(6), rcClient.Height() - DpiY(3)));
        return CSize(DpiX(6), 0);
    }
    return CSize(0, 0);
}

CSize CQVTCommandBarsOffice2000Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                              CQVTControl* pControl, BOOL bDraw)
{
    const BOOL bPopup = pBar->GetType() == qvtBarTypePopup;
    if (!bDraw)
        return bPopup ? CSize(DpiX(8), DpiY(8)) : CSize(DpiX(6), DpiY(6));
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    const int nPosition = pBar->GetPosition();
    CRect rc;
    if (bPopup)
        rc = !bWrap ? CRect(rcControl.left + DpiX(11), rcControl.top - DpiY(5), rcControl.right - DpiX(11),
                            rcControl.top - DpiY(3))
                    : CRect(rcControl.left - DpiX(5), rcRow.top + DpiY(3), rcControl.left - DpiX(3),
                            rcRow.bottom - DpiY(3));
    else if (nPosition != qvtBarLeft && nPosition != qvtBarRight)
        rc = !bWrap ? CRect(rcControl.left - DpiX(4), rcRow.top, rcControl.left - DpiX(2), rcRow.bottom)
                    : CRect(rcRow.left + DpiX(4), rcRow.top - DpiY(4), rcRow.right, rcRow.top - DpiY(2));
    else
        rc = !bWrap ? CRect(rcRow.left, rcControl.top - DpiY(4), rcRow.right, rcControl.top - DpiY(2))
                    : CRect(rcRow.right + DpiX(2), rcRow.top + DpiY(4), rcRow.right + DpiX(4), rcRow.bottom);
    DrawSunkenEdge(pDC, rc);
    return CSize(0, 0);
}

void CQVTCommandBarsOffice2000Theme::AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar)
        return;
    if (pBar->GetType() != qvtBarTypePopup && pBar->GetPosition() != qvtBarPopup)
    {
        if (bVertical)
            rc.InflateRect(0, DpiY(1));
        else
            rc.InflateRect(DpiX(1), 0);
    }
    else if (pBar->GetType() == qvtBarTypePopup)
        rc.DeflateRect(DpiX(1), 0);
}

CRect CQVTCommandBarsOffice2000Theme::GetScaledMargins(CQVTCommandBar* pBar)
{
    if (pBar && pBar->GetType() == qvtBarTypePopup)
        return CRect(DpiX(3), DpiY(3), DpiX(3), DpiY(3));
    return CQVTPaintManager::GetScaledMargins(pBar);
}

CSize CQVTCommandBarsOffice2000Theme::DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw)
{
    if (bDraw && pDC)
    {
        CRect rcFill = rc;
        rcFill.bottom -= 1;
        pDC->FillSolidRect(rcFill, GetColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    }
    return CSize(0, DpiY(8));
}

CSize CQVTCommandBarsOffice2000Theme::DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const CSize sz(DpiX(6), std::max(DpiY(22), GetTextHeight() + DpiY(4)));
    if (bDraw && pDC)
        DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(3), DpiX(6), sz.cy));
    return sz;
}

CSize CQVTCommandBarsOffice2000Theme::GetPopupBarButtonSize(CQVTCommandBar* pBar)
{
    const CSize szImage = pBar ? pBar->GetIconSize() : CSize(DpiX(16), DpiY(16));
    return CSize(std::max<int>(szImage.cx + DpiX(4), GetTextHeight()),
                 std::max<int>(szImage.cy + DpiY(4), GetTextHeight()));
}

void CQVTCommandBarsOffice2000Theme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    const int nPosition = pBar ? pBar->GetPosition() : qvtBarTop;
    const int nSelected = pControl->GetSelected();
    const int nPressed = pControl->GetPressed();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    CRect rcCommand = rc;
    rcCommand.right -= DpiX(12);
    DrawRectangle(pDC, rcCommand, nSelected, nPressed, bEnabled, pControl->GetChecked(), bPopuped,
                  qvtBarTypeNormal, nPosition);
    CRect rcArrow = rc;
    rcArrow.left = rc.right - GetSplitDropDownWidth();
    if (nSelected || nPressed || bPopuped)
        DrawRectangle(pDC, rcArrow, nSelected, FALSE, bEnabled, FALSE, bPopuped, qvtBarTypeNormal, nPosition);
    DrawDropDownGlyph(pDC, pControl, CPoint(rc.right - GetSplitDropDownWidth() / 2, rc.CenterPoint().y),
                      nSelected, bPopuped, bEnabled, FALSE);
}

void CQVTCommandBarsOffice2000Theme::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    auto dot = [&](int x, int y) {
        pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(COLOR_WINDOW));
        pDC->FillSolidRect(x, y, 2, 2, GetColor(38));
    };
    if (nFlags != 2)
    {
        const int r = rc.right - DpiX(4);
        const int b = rc.bottom - DpiY(4);
        dot(r, b);
        dot(r - 4, b);
        dot(r, b - 4);
        return;
    }
    const int c = rc.CenterPoint().x;
    for (int x = c - 8; x < c + 8; x += 4)
    {
        pDC->FillSolidRect(CRect(x + 1, rc.top + DpiY(4), x + DpiX(3), rc.top + DpiY(6)),
                           GetColor(COLOR_WINDOW));
        pDC->FillSolidRect(CRect(x, rc.top + DpiY(3), x + DpiX(2), rc.top + DpiY(5)), GetColor(38));
    }
}

void CQVTCommandBarsOffice2000Theme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CQVTImageManagerIcon* pImage,
                                               BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                               BOOL bPopuped, int nShadowFlags)
{
    if (!pImage)
        return;
    // An icon without a disabled picture of its own shows as its outline:
    // embossed when disabled, flat when half-checked.
    const BOOL bSilhouette = pImage->IsRasterIcon() && !pImage->HasDisabledImage() && !pImage->IsAlpha();
    if (!bEnabled)
    {
        if (bSilhouette)
        {
            pImage->DrawMonochrome(pDC, pt + CPoint(1, 1), pImage->GetNormalImage(), sz,
                                   GetColor(COLOR_3DHIGHLIGHT));
            pImage->DrawMonochrome(pDC, pt, pImage->GetNormalImage(), sz, GetColor(COLOR_3DSHADOW));
        }
        else
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageDisabled);
        return;
    }
    if (bChecked == 2 && !bPressed)
    {
        if (bSilhouette)
            pImage->DrawMonochrome(pDC, pt, pImage->GetNormalImage(), sz, GetColor(COLOR_3DSHADOW));
        else
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageDisabled);
        return;
    }
    if (!bPopuped && !bChecked)
    {
        const BOOL bKeyboardPressed = bPressed == 2 || bPressed == 3;
        if (!bSelected && !bPressed)
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageNormal);
        else if ((bSelected && bPressed) || (!bSelected && bKeyboardPressed))
            pImage->DrawInStateSized(pDC, pt + CPoint(1, 1), sz, qvtImagePressed);
        else if ((bSelected && !bPressed) || (!bSelected && bPressed == 1))
        {
            if (m_bIconsWithShadow && pImage->IsRasterIcon())
            {
                pImage->GetShadowImage().Draw(pDC, pt + CPoint(1, 1), sz);
                pImage->DrawInStateSized(pDC, pt - CPoint(1, 1), sz, qvtImageHot);
            }
            else
                pImage->DrawInStateSized(pDC, pt, sz, qvtImageHot);
        }
        return;
    }
    pImage->DrawInStateSized(pDC, pt, sz, bChecked ? qvtImageChecked : qvtImageNormal);
}

CSize CQVTCommandBarsOffice2000Theme::DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl,
                                                         CQVTCommandBar* pBar, BOOL bDraw, LPVOID lpParam)
{
    if (bDraw && pControl && (nKind == qvtSpecialClose || nKind == qvtSpecialDropDown))
    {
        if (pControl->GetPressed() || pControl->GetSelected() ||
            (nKind == qvtSpecialDropDown && pControl->GetPopuped()))
            pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_3DFACE));
    }
    return CQVTPaintManager::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}

CSize CQVTCommandBarsOffice2000Theme::DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTFontDC font(pDC, GetControlFont(pControl));
    if (!bDraw)
        return CQVTPaintManager::DrawControlPopupParent(pDC, pControl, FALSE);

    CQVTCommandBar* pBar = pControl->GetParent();
    const int nType = pControl->GetType();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const int nChecked = pControl->GetChecked();
    const BOOL bPopuped = pControl->GetPopuped();
    const CRect rc = pControl->GetRect();

    CQVTImageManagerIcon* pImage = nullptr;
    if (pControl->GetIconId() != 0 && pControl->GetStyle() != qvtButtonCaption)
        pImage = pControl->GetImage(pControl->GetIconSize().cx);
    const CSize szIcon = pControl->GetIconSize();
    const int nColumn = std::max<int>(GetTextHeight(), szIcon.cx + DpiX(4));
    CRect rcColumn(rc.left, rc.top, rc.left + nColumn, rc.bottom);

    if (pControl->GetUsageMark())
    {
        pDC->FillSolidRect(rc, GetColor(22));
        const int nGutter = GetPopupBarGutterWidth(pBar);
        if (rc.left < nGutter)
            FillIconColumn(pDC, rc.left, rc.top, nGutter - rc.left, rc.Height(), pControl->IsTemporary());
    }
    const COLORREF clrText =
        GetRectangleTextColor(nSelected, FALSE, bEnabled, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
    pDC->SetTextColor(clrText);
    if (m_bFullRowHighlight && nSelected)
        DrawRectangle(pDC, rc, nSelected, FALSE, bEnabled, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);

    CRect rcText = rc;
    rcText.left = rcColumn.right;
    if (nChecked)
    {
        DrawRectangle(pDC, rcColumn, nSelected, FALSE, bEnabled, nChecked, FALSE, qvtBarTypePopup,
                      qvtBarPopup);
        rcText.left += DpiX(1);
    }
    if (pImage)
    {
        if (!m_bFullRowHighlight)
            DrawRectangle(pDC, rcColumn, nSelected, FALSE, bEnabled, nChecked, FALSE, qvtBarTypePopup,
                          qvtBarPopup);
        const CSize szImage = GetControlIconSize(pImage, szIcon, pControl, rcColumn.Size());
        DrawImage(
            pDC, CPoint(rcColumn.CenterPoint().x - szImage.cx / 2, rcColumn.CenterPoint().y - szImage.cy / 2),
            szImage, pImage, nSelected, FALSE, bEnabled, nChecked, FALSE, 0);
    }
    else if (nChecked)
    {
        CRect rcMark = rcColumn;
        rcMark.DeflateRect(DpiX(3), DpiY(3));
        const COLORREF clrMark = GetColor(bEnabled ? m_nPopupBarText : COLOR_GRAYTEXT);
        if (nType == qvtControlRadioButton)
            DrawRadioMark(pDC, rcMark, clrMark, bEnabled);
        else
            DrawCheckMark(pDC, rcMark, clrMark, bEnabled);
    }
    if (nType == qvtControlPopup || nType == qvtControlButtonPopup || nType == qvtControlSplitButtonPopup)
    {
        CRect rcArrow(rc.right - rc.Height(), rc.top, rc.right, rc.bottom);
        rcArrow.DeflateRect(DpiX(4), DpiY(4));
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphSubmenuArrow, rcArrow, clrText);
        if (nType == qvtControlSplitButtonPopup)
        {
            const CRect rcSplit(rc.right - DpiX(20), rc.top, rc.right, rc.bottom);
            if (bPopuped && bEnabled)
                Draw3dRect(pDC, rcSplit, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT);
            else
                VerticalLine(pDC, rcSplit.left, rc.top + DpiY(1), rc.bottom - DpiY(1), clrText);
        }
    }
    if (!m_bFullRowHighlight && nSelected)
    {
        DrawRectangle(pDC, rcText, nSelected, FALSE, bEnabled, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
        pDC->SetTextColor(clrText);
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CQVTPaintManager::DrawControlPopupParent(pDC, pControl, TRUE);
    pDC->SetBkMode(nOldMode);
    return CSize(0, 0);
}

CSize CQVTCommandBarsOffice2000Theme::DrawListBoxControl(CDC* pDC, CQVTControl* pControl, CRect rc,
                                                         BOOL bSelected, BOOL bDraw,
                                                         CQVTCommandBars* pCommandBars)
{
    const CSize szImage = pControl->GetIconSize();
    const CSize szColumn(std::max<int>(szImage.cx + DpiX(4), rc.Height()), szImage.cy + DpiY(4));
    if (!bDraw)
        return CSize(rc.Width(), std::max<int>(szColumn.cy, rc.Height()));

    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    const CRect rcColumn(rc.left, rc.top, rc.left + szColumn.cx, rc.bottom);
    const int nType = pControl->GetType();
    const int nStyle = pControl->GetStyle();
    const BOOL bStyleShowsImage = nStyle == qvtButtonIcon || nStyle == qvtButtonIconAndCaption ||
                                  (nStyle == qvtButtonAutomatic && nType != qvtControlPopup);
    if (pControl->GetIconId() != 0 && bStyleShowsImage)
    {
        DrawRectangle(pDC, rcColumn, bSelected, FALSE, TRUE, FALSE, FALSE, qvtBarTypeNormal, qvtBarPopup);
        CQVTImageManagerIcon* pImage = pControl->GetImage(szImage.cx);
        if (pImage)
        {
            const CSize sz = GetControlIconSize(pImage, szImage, pControl, szColumn);
            DrawImage(pDC, CPoint(rcColumn.CenterPoint().x - sz.cx / 2, rcColumn.CenterPoint().y - sz.cy / 2),
                      sz, pImage, bSelected, FALSE, TRUE, FALSE, FALSE, 0);
        }
    }
    CRect rcText(rcColumn.right, rc.top, rc.right, rc.bottom);
    if (bSelected)
        DrawRectangleByColors(pDC, rcText, GetColor(COLOR_HIGHLIGHT), GetColor(COLOR_HIGHLIGHT));
    const COLORREF clrText = GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    CString strCaption = pControl->GetCaption();
    CQVTDrawHelpers::StripMnemonics(strCaption);
    CQVTFontDC font(pDC, GetRegularFont(), clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcCaption(rcColumn.right + DpiX(4), rc.top, rc.right, rc.bottom);
    pDC->DrawText(strCaption, rcCaption, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
    if (nType == qvtControlPopup || nType == qvtControlButtonPopup || nType == qvtControlSplitButtonPopup)
    {
        CRect rcArrow(rc.right - rc.Height(), rc.top, rc.right, rc.bottom);
        rcArrow.DeflateRect(DpiX(4), DpiY(4));
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphSubmenuArrow, rcArrow, clrText);
        if (nType == qvtControlSplitButtonPopup)
            VerticalLine(pDC, rc.right - DpiX(20), rc.top + DpiY(1), rc.bottom - DpiY(1), clrText);
    }
    return CSize(0, 0);
}
