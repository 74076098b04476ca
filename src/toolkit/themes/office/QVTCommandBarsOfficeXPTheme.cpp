#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/themes/office/QVTStatusBarThemeOfficeXP.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOfficeXPTheme, CQVTPaintManager)

namespace {
const WCHAR kGlyphArrowLeft = 74;
const WCHAR kGlyphArrowRight = 75;

BOOL IsKeyboardState(int nValue)
{
    return nValue == 2 || nValue == 3;
}
}  // namespace

CQVTCommandBarsOfficeXPTheme::CQVTCommandBarsOfficeXPTheme()
{
    SetStatusBarPaintManager(new CQVTStatusBarThemeOfficeXP(this));
    m_bFlatMenuBar = TRUE;
    m_bUseFadedIcons = TRUE;
    m_bUseDisabledIcons = TRUE;
    m_bIconsWithShadow = TRUE;
    m_bMakeDisabledImage = TRUE;
    m_bEmbossedDisabledText = FALSE;
    // Popups, and the controls that open them, cast drop shadows.
    m_pShadowManager->SetShadowOptions(CQVTShadowManager::shadowAlways |
                                       CQVTShadowManager::shadowExcludeRect);
    m_nPopupTextGap = DpiX(8);
}

void CQVTCommandBarsOfficeXPTheme::DrawBorderFill(CDC* pDC, const CRect& rc, int nBorder, int nFill)
{
    if (nFill >= 0)
        pDC->FillSolidRect(rc, GetColor(nFill));
    if (nBorder >= 0 && nBorder != nFill)
        pDC->Draw3dRect(rc, GetColor(nBorder), GetColor(nBorder));
}

void CQVTCommandBarsOfficeXPTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                                 int barPosition)
{
    const BOOL bInPopup = barType == qvtBarTypePopup || barPosition == qvtBarPopup;
    if (!bEnabled)
    {
        if (IsKeyboardState(bSelected))
            DrawBorderFill(pDC, rc, 32, barPosition == qvtBarPopup ? 41 : (bChecked ? 33 : 31));
        else if (bChecked)
            DrawBorderFill(pDC, rc, 58, bInPopup ? -1 : 36);
        return;
    }
    if (bPopuped)
        DrawBorderFill(pDC, rc, 43, 30);
    else if (bChecked == 2 && !bPressed)
        DrawBorderFill(pDC, rc, bSelected ? 50 : 37, bSelected ? 33 : 51);
    else if (bChecked && !bPressed)
        DrawBorderFill(pDC, rc, bSelected ? 50 : 37, bSelected ? 33 : 36);
    else if (IsKeyboardState(bPressed))
        DrawBorderFill(pDC, rc, 50, 33);
    else if (!bSelected && !bPressed)
        return;
    else if (!bSelected)
        DrawBorderFill(pDC, rc, 32, 31);
    else if (bPressed)
        DrawBorderFill(pDC, rc, 50, 33);
    else
        DrawBorderFill(pDC, rc, 32, 31);
}

COLORREF CQVTCommandBarsOfficeXPTheme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                                             BOOL bChecked, BOOL bPopuped, int barType,
                                                             int barPosition)
{
    if (barType == qvtBarTypePopup)
        return GetColor(!bEnabled ? 35 : bSelected ? 45 : 44);
    if (!bEnabled)
        return GetColor(60);
    if (bPopuped)
        return GetColor(46);
    if (bChecked && !bSelected && !bPressed)
        return GetColor(45);
    if (IsKeyboardState(bPressed))
        return GetColor(47);
    if (!bSelected && !bPressed)
        return GetColor(barPosition == qvtBarPopup ? 44 : 46);
    if (!bSelected)
        return GetColor(45);
    if (bPressed || bChecked)
        return GetColor(47);
    return GetColor(45);
}

void CQVTCommandBarsOfficeXPTheme::DrawPopupJoin(CDC* pDC, CQVTCommandBar* pBar)
{
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pBar);
    CQVTControlPopup* pOwner = pPopup ? pPopup->GetControlPopup() : nullptr;
    CQVTCommandBar* pOwnerBar = pOwner ? pOwner->GetParent() : nullptr;
    if (!pOwnerBar || pOwnerBar->GetType() == qvtBarTypePopup || !pOwnerBar->GetSafeHwnd() ||
        !pPopup->GetSafeHwnd())
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
    pDC->FillSolidRect(rcJoin, GetColor(30));
}

void CQVTCommandBarsOfficeXPTheme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarFloating)
    {
        const COLORREF clrBorder = GetColor(61);
        const int nFace = pBar->GetType() == qvtBarTypePopup ? 41 : IsFlatBar(pBar) ? COLOR_3DFACE : 30;
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
        rc.DeflateRect(1, 1);
        pDC->FillSolidRect(rc, GetColor(nFace));
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
        pDC->SetPixel(2, 2, clrBorder);
        pDC->SetPixel(rc.right - 2, 2, clrBorder);
        pDC->SetPixel(2, rc.bottom - 2, clrBorder);
        pDC->SetPixel(rc.right - 2, rc.bottom - 2, clrBorder);
        return;
    }
    if (nPosition == qvtBarPopup)
    {
        DrawBorderFill(pDC, rc, 43, 41);
        DrawPopupJoin(pDC, pBar);
        return;
    }
    if (IsFlatBar(pBar))
    {
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        return;
    }
    const COLORREF clrFace = GetColor(COLOR_3DFACE);
    pDC->FillSolidRect(rc, GetColor(30));
    pDC->Draw3dRect(rc, clrFace, clrFace);
    pDC->SetPixel(1, 1, clrFace);
    pDC->SetPixel(rc.right - 2, 1, clrFace);
    pDC->SetPixel(1, rc.bottom - 2, clrFace);
    pDC->SetPixel(rc.right - 2, rc.bottom - 2, clrFace);
}

void CQVTCommandBarsOfficeXPTheme::DrawStrokes(CDC* pDC, BOOL bVertical, int nLength, int nFrom, int nTo,
                                               int nStart, int nEnd)
{
    // Short one-pixel strokes every other pixel along the gripper.
    const COLORREF clr = GetColor(38);
    const int nStep = bVertical ? DpiX(2) : DpiY(2);
    for (int p = nStart; p < nEnd; p += std::max(2, nStep))
    {
        if (bVertical)
            VerticalLine(pDC, p, nFrom, nTo, clr);
        else
            HorizontalLine(pDC, nFrom, p, nTo, clr);
    }
}

CSize CQVTCommandBarsOfficeXPTheme::DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const CSize sz(DpiX(6), std::max(DpiY(22), GetTextHeight() + DpiY(4)));
    if (bDraw && pDC)
        DrawStrokes(pDC, FALSE, sz.cy, DpiX(3), DpiX(6), DpiY(6), sz.cy - DpiY(2));
    return sz;
}

CSize CQVTCommandBarsOfficeXPTheme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsDialogBar())
        return DrawSmallGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    CRect rcClient;
    if (pBar->GetSafeHwnd())
        pBar->GetClientRect(&rcClient);
    const BOOL bPopupType = pBar->GetType() == qvtBarTypePopup;
    const CRect rcBorders = GetScaledMargins(pBar);
    if (nPosition == qvtBarPopup)
    {
        if (bPopupType && bDraw && pDC)
            FillIconColumn(pDC, rcBorders.left - DpiX(1), rcBorders.top, GetPopupBarGutterWidth(pBar),
                           rcClient.Height() - rcBorders.top - rcBorders.bottom, FALSE);
        return CSize(0, 0);
    }
    if (nPosition == qvtBarFloating)
    {
        const CSize sz = CQVTPaintManager::DrawCommandBarGripper(pDC, pBar, bDraw);
        if (bPopupType && pBar->IsGripperVisible() && bDraw && pDC)
        {
            const int nTop = rcBorders.top + sz.cy + DpiY(1);
            FillIconColumn(pDC, rcBorders.left - DpiX(1), nTop, GetPopupBarGutterWidth(pBar),
                           rcClient.Height() - rcBorders.bottom - nTop, FALSE);
        }
        return sz;
    }
    if (nPosition == qvtBarLeft || nPosition == qvtBarRight)
    {
        if (bDraw && pDC)
            DrawStrokes(pDC, TRUE, rcClient.Width(), DpiY(3), DpiY(6), DpiX(5), rcClient.Width() - DpiX(5));
        return CSize(0, DpiY(8));
    }
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
    {
        if (bDraw && pDC)
            DrawStrokes(pDC, FALSE, rcClient.Height(), DpiX(3), DpiX(6), DpiY(5),
                        rcClient.Height() - DpiY(5));
        return CSize(DpiX(8), 0);
    }
    return CSize(0, 0);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                            CQVTControl* pControl, BOOL bDraw)
{
    const BOOL bPopup = pBar->GetType() == qvtBarTypePopup;
    if (!bDraw)
        return bPopup ? CSize(DpiX(3), DpiY(3)) : CSize(DpiX(6), DpiY(6));
    const COLORREF clr = GetColor(39);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    const int nPosition = pBar->GetPosition();
    if (bPopup)
    {
        if (!bWrap)
            HorizontalLine(pDC, rcControl.left - DpiX(1) + GetPopupBarGutterWidth(pBar) + GetPopupTextGap(),
                           rcControl.top - DpiY(2), rcControl.right + DpiX(1), clr);
        else
            VerticalLine(pDC, rcControl.left - DpiX(2), rcRow.top - DpiY(1), rcRow.bottom + DpiY(1), clr);
    }
    else if (nPosition != qvtBarLeft && nPosition != qvtBarRight)
    {
        if (!bWrap)
            VerticalLine(pDC, rcControl.left - DpiX(4), rcRow.top, rcRow.bottom, clr);
        else
            HorizontalLine(pDC, rcRow.left, rcRow.top - DpiY(4), rcRow.right, clr);
    }
    else
    {
        if (!bWrap)
            HorizontalLine(pDC, rcRow.left, rcControl.top - DpiY(4), rcRow.right, clr);
        else
            VerticalLine(pDC, rcRow.right + DpiX(2), rcRow.top + DpiY(4), rcRow.bottom, clr);
    }
    return CSize(0, 0);
}

void CQVTCommandBarsOfficeXPTheme::AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar)
        return;
    if (pBar->GetType() == qvtBarTypePopup)
    {
        rc.InflateRect(DpiX(1), 0);
        return;
    }
    if (pControl->GetType() == qvtControlComboBox)
        return;
    if (pBar->GetPosition() == qvtBarPopup && (pBar->GetFlags() & qvtBarFlagAdaptiveLayout))
        rc.DeflateRect(0, DpiY(1));
    else if (bVertical)
        rc.DeflateRect(DpiX(1), 0);
    else
        rc.DeflateRect(0, DpiY(1));
}

CSize CQVTCommandBarsOfficeXPTheme::DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw)
{
    if (!bDraw || !pDC)
        return CSize(0, DpiY(9));
    CRect rcStrip(1, 1, rc.right + 1, rc.Height() + 1);
    pDC->FillSolidRect(rcStrip, GetColor(41));
    rcStrip.DeflateRect(1, 1);
    const int nCenter = rcStrip.CenterPoint().x;
    const int nHalf = rcStrip.Width() < DpiX(52) ? std::max(0, rcStrip.Width() / 2 - DpiX(10)) : DpiX(16);
    if (bActive)
    {
        DrawBorderFill(pDC, rcStrip, 32, 31);
        for (int y : {4, 6})
            HorizontalLine(pDC, nCenter - nHalf, DpiY(y), nCenter + nHalf, GetColor(45));
    }
    else
    {
        pDC->FillSolidRect(rcStrip, GetColor(30));
        for (int y : {3, 5, 7})
            HorizontalLine(pDC, nCenter - nHalf, DpiY(y), nCenter + nHalf, GetColor(38));
    }
    return CSize(0, DpiY(9));
}

void CQVTCommandBarsOfficeXPTheme::DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags)
{
    pDC->FillSolidRect(rc, GetColor(30));
    auto dot = [&](int x, int y) {
        pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(COLOR_WINDOW));
        pDC->FillSolidRect(x, y, 2, 2, GetColor(38));
    };
    if (nFlags != 2)
    {
        const int r = rc.right - DpiX(4);
        const int b = rc.bottom - DpiY(4);
        dot(r, b);
        dot(r - DpiX(4), b);
        dot(r, b - DpiY(4));
        return;
    }
    const int c = rc.CenterPoint().x;
    for (int x = c - DpiX(8); x < c + DpiX(8); x += DpiX(4))
    {
        pDC->FillSolidRect(x + 1, rc.top + DpiY(4), 2, 2, GetColor(COLOR_WINDOW));
        pDC->FillSolidRect(x, rc.top + DpiY(3), 2, 2, GetColor(38));
    }
}

void CQVTCommandBarsOfficeXPTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CQVTImageManagerIcon* pImage,
                                             BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                             BOOL bPopuped, int nShadowFlags)
{
    if (!pImage)
        return;
    const BOOL bRaster = pImage->IsRasterIcon();
    if (!bEnabled || (bChecked == 2 && !bPressed))
    {
        if (!bRaster)
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageDisabled);
        else if (!pImage->IsAlpha() && (!m_bUseDisabledIcons || bChecked == 2))
            pImage->DrawMonochrome(pDC, pt, pImage->GetNormalImage(), sz, GetColor(40));
        else
        {
            if (m_bMakeDisabledImage && !pImage->HasDisabledImage())
                pImage->CreateDisabledImage(m_grcFace.clrLight, m_grcFace.clrDark);
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageDisabled);
        }
        return;
    }
    if (!bPopuped && !bChecked)
    {
        const BOOL bKeyboardPressed = bPressed == 2 || bPressed == 3;
        if (!bSelected && !bPressed)
            pImage->DrawInStateSized(pDC, pt, sz, qvtImageNormal);
        else if ((bSelected && bPressed) || (!bSelected && bKeyboardPressed))
            pImage->DrawInStateSized(pDC, pt, sz, qvtImagePressed);
        else if ((bSelected && !bPressed) || (!bSelected && bPressed == 1))
        {
            // Hot icons lift by a pixel over their shadow.
            if (bRaster && m_bIconsWithShadow && !pImage->GetShadowImage().IsEmpty())
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

void CQVTCommandBarsOfficeXPTheme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    pDC->FillSolidRect(x, y, cx, cy, GetColor(bTemporary ? 42 : 30));
}

void CQVTCommandBarsOfficeXPTheme::FillLabelBackground(CDC* pDC, CRect rc)
{
    pDC->FillSolidRect(rc, GetColor(56));
}

void CQVTCommandBarsOfficeXPTheme::DrawControlCheckFrame(CDC* pDC, CRect rc, CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    DrawRectangle(pDC, rc, pControl->GetSelected(), FALSE, GetEffectiveEnabled(pControl),
                  pControl->GetChecked(), FALSE, pBar ? pBar->GetType() : qvtBarTypePopup, qvtBarPopup);
}

void CQVTCommandBarsOfficeXPTheme::DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl)
{
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    COLORREF clrMark = GetColor(40);
    if (bEnabled)
        clrMark = CQVTColorManager::IsColorDistanceAbove(GetColor(36), RGB(0, 0, 0), FALSE, 50.0f)
                      ? RGB(0, 0, 0)
                      : RGB(255, 255, 255);
    if (pControl->GetType() == qvtControlRadioButton)
        DrawRadioMark(pDC, rc, clrMark, bEnabled);
    else
        DrawCheckMark(pDC, rc, clrMark, bEnabled);
}

void CQVTCommandBarsOfficeXPTheme::DrawPopupSplitDivider(CDC* pDC, CQVTControl* pControl, COLORREF clrText)
{
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const BOOL bSelected = pControl->GetSelected();
    const int nArrow = GetPopupSplitArrowWidth();
    if (bEnabled && bSelected && pControl->GetPopuped())
    {
        DrawBorderFill(pDC, CRect(rc.right - nArrow, rc.top, rc.right, rc.bottom), 32, 33);
        return;
    }
    const COLORREF clr = !bEnabled ? clrText : GetColor(bSelected ? 32 : COLOR_3DSHADOW);
    VerticalLine(pDC, rc.right - nArrow, rc.top + 1, rc.bottom - 1, clr);
}

void CQVTCommandBarsOfficeXPTheme::DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText)
{
    const CRect rc = pControl->GetRect();
    const BOOL bSplit = pControl->GetType() == qvtControlSplitButtonPopup;
    CRect rcArrow(rc.right - (bSplit ? GetPopupSplitArrowWidth() : rc.Height()), rc.top, rc.right, rc.bottom);
    rcArrow.DeflateRect(DpiX(4), DpiY(4));
    const COLORREF clr =
        bSplit && GetEffectiveEnabled(pControl) && pControl->GetSelected() && pControl->GetPopuped()
            ? GetColor(47)
            : clrText;
    QVTGlyphFont()->DrawGlyph(pDC, IsDCRightToLeft(pDC) ? kGlyphArrowLeft : kGlyphArrowRight, rcArrow, clr);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTFontDC font(pDC, GetControlFont(pControl));
    if (!bDraw)
        return CQVTPaintManager::DrawControlPopupParent(pDC, pControl, FALSE);

    CQVTCommandBar* pBar = pControl->GetParent();
    const int nType = pControl->GetType();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const int nChecked = pControl->GetChecked();
    const CRect rc = pControl->GetRect();

    CQVTImageManagerIcon* pImage = nullptr;
    if (pControl->GetIconId() != 0 && pControl->GetStyle() != qvtButtonCaption)
        pImage = pControl->GetImage(pControl->GetIconSize().cx);
    const CSize szIcon = pImage ? GetControlIconSize(pImage, pControl->GetIconSize(), pControl, CSize(0, 0))
                                : pControl->GetIconSize();
    const CSize szBox(szIcon.cx + DpiX(4), szIcon.cy + DpiY(4));
    const int nColumn = std::max<int>(szBox.cx, GetTextHeight() + DpiX(4));

    const int nGutter = GetPopupBarGutterWidth(pBar);
    if (pControl->IsTemporary() && rc.left < nGutter)
        FillIconColumn(pDC, rc.left - DpiX(1), rc.top, nGutter - rc.left + DpiX(1), rc.Height(), TRUE);

    if (nType == qvtControlLabel)
        FillLabelBackground(pDC, rc);
    else
        DrawRectangle(pDC, rc, nSelected, FALSE, bEnabled, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);

    CRect rcImage(CPoint(rc.left + (nColumn - szBox.cx) / 2, rc.top + (rc.Height() - szBox.cy) / 2), szBox);
    if (pBar && !pBar->IsGripperVisible())
        rcImage.OffsetRect(GetPopupTextGap() / 2 - DpiX(4) / 2, 0);
    if (nChecked)
        DrawControlCheckFrame(pDC, rcImage, pControl);
    if (pImage)
        DrawImage(pDC,
                  CPoint(rcImage.CenterPoint().x - szIcon.cx / 2, rcImage.CenterPoint().y - szIcon.cy / 2),
                  szIcon, pImage, nSelected, FALSE, bEnabled, nChecked, FALSE, 0);
    else if (nChecked)
    {
        CRect rcMark = rcImage;
        rcMark.DeflateRect(DpiX(3), DpiY(3));
        DrawPopupCheckMark(pDC, rcMark, pControl);
    }

    const COLORREF clrText = GetControlTextColor(pControl);
    pDC->SetTextColor(clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    if (nType == qvtControlSplitButtonPopup)
        DrawPopupSplitDivider(pDC, pControl, clrText);
    if (nType == qvtControlPopup || nType == qvtControlButtonPopup || nType == qvtControlSplitButtonPopup)
        DrawControlPopupArrow(pDC, pControl, clrText);
    CQVTPaintManager::DrawControlPopupParent(pDC, pControl, TRUE);
    pDC->SetBkMode(nOldMode);
    return CSize(0, 0);
}

void CQVTCommandBarsOfficeXPTheme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    const int barType = pBar ? pBar->GetType() : qvtBarTypeNormal;
    const int nPosition = pBar ? pBar->GetPosition() : qvtBarTop;
    const int nSelected = pControl->GetSelected();
    const int nPressed = pControl->GetPressed();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nChecked = pControl->GetChecked();
    const BOOL bHot = nSelected || nPressed;

    if (pControl->GetStyle() != qvtButtonIconAndCaptionBelow)
    {
        const int nSplit = GetSplitDropDownWidth();
        CRect rcCommand = rc;
        if (!bPopuped)
            rcCommand.right -= nSplit;
        DrawRectangle(pDC, rcCommand, nSelected, nPressed, bEnabled, nChecked, bPopuped, barType, nPosition);
        if (bHot && bEnabled && !bPopuped)
            DrawRectangle(pDC, CRect(rc.right - nSplit - 1, rc.top, rc.right, rc.bottom), TRUE, FALSE, TRUE,
                          FALSE, FALSE, barType, nPosition);
        DrawDropDownGlyph(pDC, pControl, CPoint(rc.right - nSplit / 2, rc.CenterPoint().y), nSelected,
                          bPopuped, bEnabled, FALSE);
        return;
    }

    const BOOL bHotAndPressed = nSelected && nPressed;
    DrawRectangle(pDC, rc, nSelected, bHotAndPressed ? FALSE : nPressed, bEnabled, nChecked, bPopuped,
                  barType, nPosition);
    if (!bHot || !bEnabled || bPopuped)
        return;
    const int t = GetTwoLineCaptionHeight();
    if (GetControlTextOrientation(pControl) == 1)
    {
        const int x = rc.left + t;
        VerticalLine(pDC, x, rc.top, rc.bottom, GetColor(32));
        if (bHotAndPressed)
            DrawRectangle(pDC, CRect(x, rc.top, rc.right, rc.bottom), nSelected, nPressed, bEnabled, nChecked,
                          FALSE, barType, nPosition);
    }
    else
    {
        const int y = rc.bottom - t - DpiY(1);
        HorizontalLine(pDC, rc.left, y, rc.right, GetColor(32));
        if (bHotAndPressed)
            DrawRectangle(pDC, CRect(rc.left, rc.top, rc.right, y), nSelected, nPressed, bEnabled, nChecked,
                          FALSE, barType, nPosition);
    }
}

void CQVTCommandBarsOfficeXPTheme::DrawStrokedTick(CDC* pDC, const CRect& rc, COLORREF clr, int nReach)
{
    // Three strokes of two segments, a pixel apart, mirrored right to left.
    const int cx = rc.CenterPoint().x;
    const int cy = rc.CenterPoint().y;
    const int m = IsDCRightToLeft(pDC) ? -1 : 1;
    CPen pen(PS_SOLID, 1, clr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    for (int i = 0; i < 3; ++i)
    {
        pDC->MoveTo(cx - 3 * m, cy - 1 + i);
        pDC->LineTo(cx - 1 * m, cy + 1 + i);
        pDC->LineTo(cx + nReach * m, cy - nReach + i);
    }
    pDC->SelectObject(pOldPen);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected,
                                                            BOOL bPressed, int nChecked, BOOL bEnabled)
{
    return DrawBoxMark(pDC, rc, bDraw, FALSE, bSelected, bPressed, nChecked, bEnabled);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected,
                                                               BOOL bPressed, int nChecked, BOOL bEnabled)
{
    return DrawBoxMark(pDC, rc, bDraw, TRUE, bSelected, bPressed, nChecked, bEnabled);
}

CSize CQVTCommandBarsOfficeXPTheme::DrawBoxMark(CDC* pDC, const CRect& rc, BOOL bDraw, BOOL bRadio,
                                                BOOL bSelected, BOOL bPressed, int nChecked, BOOL bEnabled)
{
    if (m_bThemedCheckBox && m_themeButton.GetThemeHandle())
        return bRadio ? CQVTPaintManager::DrawControlRadioButtonMark(pDC, rc, bDraw, bSelected, bPressed,
                                                                     nChecked, bEnabled)
                      : CQVTPaintManager::DrawControlCheckBoxMark(pDC, rc, bDraw, bSelected, bPressed,
                                                                  nChecked, bEnabled);
    const CSize szMark(DpiX(13), DpiY(13));
    if (!bDraw || !pDC)
        return szMark;
    const CRect rcMark(rc.TopLeft(), szMark);
    if (bRadio)
        DrawFlatRadioButtonMark(pDC, rcMark, bSelected, bPressed, nChecked, bEnabled);
    else
        DrawFlatCheckBoxMark(pDC, rcMark, bSelected, bPressed, nChecked, bEnabled);
    return szMark;
}

void CQVTCommandBarsOfficeXPTheme::DrawFlatCheckBoxMark(CDC* pDC, const CRect& rcMark, BOOL bSelected,
                                                        BOOL bPressed, int nChecked, BOOL bEnabled)
{
    if (bEnabled)
        DrawBorderFill(pDC, rcMark, (bSelected || bPressed) ? 32 : 52,
                       (bSelected && bPressed)   ? 33
                       : (bSelected || bPressed) ? 31
                                                 : COLOR_WINDOW);
    else
        DrawBorderFill(pDC, rcMark, 35, -1);
    if (nChecked)
        DrawStrokedTick(pDC, rcMark, GetColor(bEnabled && nChecked == 1 ? COLOR_BTNTEXT : 35), 5);
}

void CQVTCommandBarsOfficeXPTheme::DrawFlatRadioButtonMark(CDC* pDC, const CRect& rcBox, BOOL bSelected,
                                                           BOOL bPressed, int nChecked, BOOL bEnabled)
{
    // Round, so as wide as it is high whatever the screen's aspect.
    const CRect rcMark(rcBox.TopLeft(), CSize(rcBox.Width(), rcBox.Width()));
    int nBorder = 35;
    int nFill = 51;
    if (bEnabled)
    {
        nBorder = (bSelected || bPressed) ? 32 : 52;
        nFill = (bSelected && bPressed) ? 33 : (bSelected || bPressed) ? 31 : COLOR_WINDOW;
    }
    DrawAntialiasedCircle(pDC, rcMark, GetColor(nBorder), GetColor(nFill));
    if (nChecked)
    {
        const COLORREF clrDot = GetColor(bEnabled && nChecked == 1 ? COLOR_BTNTEXT : 35);
        DrawAntialiasedCircle(
            pDC,
            CRect(rcMark.left + DpiX(4), rcMark.top + DpiY(4), rcMark.left + DpiX(9), rcMark.top + DpiY(9)),
            clrDot, clrDot);
    }
}

CSize CQVTCommandBarsOfficeXPTheme::DrawListBoxControl(CDC* pDC, CQVTControl* pControl, CRect rc,
                                                       BOOL bSelected, BOOL bDraw,
                                                       CQVTCommandBars* pCommandBars)
{
    const CSize szImage = pControl->GetIconSize();
    const int nColumn = szImage.cx + DpiX(8);
    if (!bDraw)
        return CSize(rc.Width(), std::max<int>(szImage.cy + DpiY(6), rc.Height()));
    pDC->FillSolidRect(rc, GetColor(41));
    FillIconColumn(pDC, rc.left, rc.top, nColumn, rc.Height(), FALSE);
    if (bSelected)
        DrawRectangle(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
    CQVTImageManagerIcon* pImage = pControl->GetIconId() != 0 ? pControl->GetImage(szImage.cx) : nullptr;
    if (pImage)
    {
        const CSize sz = GetControlIconSize(pImage, szImage, pControl, CSize(nColumn, rc.Height()));
        DrawImage(pDC, CPoint(rc.left + (nColumn - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2), sz,
                  pImage, bSelected, FALSE, TRUE, FALSE, FALSE, 0);
    }
    CString strCaption = pControl->GetCaption();
    CQVTDrawHelpers::StripMnemonics(strCaption);
    const COLORREF clrText = GetColor(bSelected ? 45 : 46);
    CQVTFontDC font(pDC, GetRegularFont(), clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcCaption(rc.left + nColumn + DpiX(8), rc.top, rc.right, rc.bottom);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (pCommandBars && pCommandBars->IsLayoutRTL())
        nFormat |= DT_RTLREADING;
    pDC->DrawText(strCaption, rcCaption, nFormat);
    pDC->SetBkMode(nOldMode);
    const int nType = pControl->GetType();
    if (nType == qvtControlPopup || nType == qvtControlButtonPopup || nType == qvtControlSplitButtonPopup)
    {
        CRect rcArrow(rc.right - DpiX(20), rc.top, rc.right, rc.bottom);
        rcArrow.DeflateRect(DpiX(4), DpiY(4));
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphArrowRight, rcArrow, clrText);
        if (nType == qvtControlSplitButtonPopup)
            VerticalLine(pDC, rc.right - DpiX(20), rc.top + 1, rc.bottom - 1,
                         GetColor(bSelected ? 32 : COLOR_3DSHADOW));
    }
    return CSize(0, 0);
}
