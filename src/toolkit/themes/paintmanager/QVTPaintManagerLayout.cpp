// How the base theme measures and draws one control: items of popup bars,
// controls of toolbars and menu bars, and the caption layout they share.
// Themes draw their own backgrounds and marks and call these for the
// captions and the size.
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

namespace {
CString WithoutMnemonics(const CString& str)
{
    CString strResult(str);
    CQVTDrawHelpers::StripMnemonics(strResult);
    return strResult;
}

CSize TextExtent(CDC* pDC, const CString& str)
{
    const CString strMeasured = str.IsEmpty() ? CString(_T(" ")) : str;
    return pDC->GetTextExtent(strMeasured, strMeasured.GetLength());
}

}  // namespace

void CQVTPaintManager::SetFieldLabelWidth(CQVTControl* pControl, int nLabelWidth)
{
    if (CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pControl))
        pEdit->SetLabelWidth(nLabelWidth);
    else if (CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl))
        pCombo->SetLabelWidth(nLabelWidth);
}

void CQVTPaintManager::DrawEditBuddyButton(CDC* pDC, CQVTControlEdit* pEdit)
{
    if (!pEdit || pEdit->GetBuddyButtonId() <= 0)
        return;
    const CRect rc = pEdit->GetBuddyButtonRect();
    const BOOL bEnabled = GetEffectiveEnabled(pEdit);
    const BOOL bHot = pEdit->GetSelected() == CQVTControlEdit::partBuddy;
    DrawRectangle(pDC, rc, bHot, pEdit->GetPressed() == CQVTControlEdit::partBuddy, bEnabled, FALSE, FALSE,
                  qvtBarTypeNormal, qvtBarTop);
    CQVTImageManager* pImageManager = pEdit->GetImageManager() ? pEdit->GetImageManager() : QVTImageManager();
    CQVTImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(pEdit->GetBuddyButtonId()), 16);
    if (!pIcon)
        return;
    const CSize sz = FitImageToBox(CSize(pIcon->GetWidth(), pIcon->GetHeight()), rc.Size(), 2, TRUE);
    pIcon->DrawInStateSized(pDC,
                            CPoint(rc.left + (rc.Width() - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2),
                            sz, bHot ? 2 : (bEnabled ? 0 : 1));
}

void CQVTPaintManager::SetComboButtonWidth(CQVTControl* pControl, int nWidth)
{
    if (CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl))
        pCombo->SetThumbWidth(nWidth);
}

CSize CQVTPaintManager::ApplySizeOverride(CQVTControl* pControl, CSize sz)
{
    const BOOL bVertical = GetControlTextOrientation(pControl) == 1;
    const int nWidth = pControl->GetWidth();
    const int nHeight = pControl->GetHeight();
    if (!bVertical)
    {
        if (nWidth > 0)
            sz.cx = nWidth;
        if (nHeight > 0)
            sz.cy = nHeight;
    }
    else
    {
        if (nWidth > 0)
            sz.cy = nWidth;
        if (nHeight > 0)
            sz.cx = nHeight;
    }
    return sz;
}

BOOL CQVTPaintManager::IsKeyboardCuesVisible(CQVTControl* pControl) const
{
    if (m_nKeyboardCues != -1)
        return m_nKeyboardCues != 0;
    CQVTCommandBar* pBar = pControl->GetParent();
    return pBar ? pBar->IsKeyboardCuesVisible() : TRUE;
}

void CQVTPaintManager::DrawKeyboardFocus(CDC* pDC, CQVTControl* pControl)
{
    const int nSelected = pControl->GetSelected();
    if (nSelected != 2 && nSelected != 3)
        return;
    const COLORREF clrOldText = pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
    const COLORREF clrOldBack = pDC->SetBkColor(GetColor(COLOR_3DFACE));
    CRect rc = pControl->GetRect();
    pDC->DrawFocusRect(rc);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBack);
}

COLORREF CQVTPaintManager::GetEditTextColor(int nIndex, COLORREF clrDefault) const
{
    const CQVTPaintManagerColor& clr = nIndex == COLOR_HIGHLIGHTTEXT ? m_clrEditTextHighlight
                                       : nIndex == COLOR_GRAYTEXT    ? m_clrEditTextDisabled
                                                                     : m_clrEditText;
    const COLORREF clrValue = clr.GetValue();
    return clrValue != CQVTPaintManagerColor::noColor ? clrValue : clrDefault;
}

COLORREF CQVTPaintManager::GetControlEditBackColor(CQVTControl* pControl)
{
    return GetColor(pControl && pControl->GetEnabled() ? COLOR_WINDOW : COLOR_3DFACE);
}

CSize CQVTPaintManager::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    return DrawFieldLabel(pDC, pControl, bDraw, TRUE);
}

CSize CQVTPaintManager::DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    return DrawFieldLabel(pDC, pControl, bDraw, FALSE);
}

// The label part of combo boxes and edits: image and caption in front of
// the field the control draws itself.
CSize CQVTPaintManager::DrawFieldLabel(CDC* pDC, CQVTControl* pControl, BOOL bDraw, BOOL bCombo)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    const BOOL bInPopup = pBar && pBar->GetType() == qvtBarTypePopup;
    if (bDraw && bInPopup)
        return DrawControlPopupParent(pDC, pControl, bDraw);

    CQVTFontDC font(pDC, GetRegularFont());
    const int nStyle = pControl->GetStyle();
    const CSize szIcon = pControl->GetIconSize();
    CQVTImageManagerIcon* pImage =
        nStyle != qvtButtonCaption && pControl->GetIconId() != 0 ? pControl->GetImage(szIcon.cx) : nullptr;
    const CSize szImage =
        pImage ? FitImageToBox(CSize(pImage->GetWidth(), pImage->GetHeight()), szIcon, 0, TRUE) : CSize(0, 0);
    const BOOL bCaption = pControl->IsCaptionVisible();
    const CRect rc = pControl->GetRect();

    if (bDraw)
    {
        int x = rc.left + DpiX(2);
        if (pImage)
        {
            pImage->DrawInStateSized(pDC, CPoint(rc.left + DpiX(3), rc.top + (rc.Height() - szImage.cy) / 2),
                                     szImage, 0);
            x = rc.left + 2 * DpiX(3) + szImage.cx;
        }
        if (bCaption)
        {
            const COLORREF clrOld = pDC->SetTextColor(GetRectangleTextColor(
                FALSE, FALSE, TRUE, FALSE, FALSE, pBar ? pBar->GetType() : qvtBarTypeNormal,
                pBar ? pBar->GetPosition() : qvtBarTop));
            DrawCaptionWithArrow(pDC, pControl, CRect(x, rc.top, rc.right, rc.bottom), TRUE, FALSE, FALSE,
                                 FALSE);
            pDC->SetTextColor(clrOld);
        }
        return CSize(0, 0);
    }

    const int cyBlank = TextExtent(pDC, CString()).cy;
    int h = pControl->GetHeight() >= 1 ? pControl->GetHeight()
                                       : (bCombo ? std::max(cyBlank + DpiY(7), DpiY(20)) : cyBlank + DpiY(7));
    if (bCaption)
        h = std::max(h, cyBlank + DpiY(7));
    if (bCombo)
        SetComboButtonWidth(pControl, std::max(h * DpiX(9) / DpiX(14) + DpiX(1), DpiX(15)));
    const int c = bCaption ? TextExtent(pDC, WithoutMnemonics(pControl->GetCaption())).cx + DpiX(5) : 0;

    int nLabelWidth = c;
    int nWidth = pControl->GetWidth();
    if (bInPopup)
    {
        const int nGutter = GetPopupBarGutterWidth(pBar);
        nLabelWidth = nGutter + m_nPopupTextGap + c;
        nWidth += nGutter;
    }
    else if (pImage)
    {
        nLabelWidth = szImage.cx + c + 2 * DpiX(3);
        h = std::max(h, static_cast<int>(pControl->GetButtonSize().cy));
    }
    SetFieldLabelWidth(pControl, nLabelWidth);
    return CSize(nWidth, h);
}

// Items of popup bars.

CSize CQVTPaintManager::DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    const int nType = pControl->GetType();
    const int nStyle = pControl->GetStyle();
    CString strCaption = pControl->GetCaption();
    const CString strShortcut = pControl->GetDisplayedShortcutText();
    const CString strFallbackShortcut = pControl->GetShortcutText();
    int g = GetPopupBarGutterWidth(pBar) - DpiX(1);
    const CSize szCell = GetPopupBarButtonSize(pBar);
    const BOOL bSelected = pControl->GetSelected();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    int nItemHeight = szCell.cy;

    if (nType == qvtControlLabel)
    {
        CQVTImageManagerIcon* pImage = nullptr;
        if (pControl->GetIconId() != 0 && nStyle != qvtButtonCaption)
            pImage = pControl->GetImage(pControl->GetIconSize().cx);
        if (!m_bLabelIndent && !pImage)
            g = 0;
        if (nStyle == qvtButtonCaption)
            nItemHeight = m_nTextHeight;
    }

    CRect rc = pControl->GetRect();
    CRect rcCaption = rc;
    rcCaption.left = rc.left + g + m_nPopupTextGap;
    CRect rcShortcut = rc;
    rcShortcut.left = rc.left + g + DpiX(8);
    rcShortcut.right = rc.right - DpiX(19);
    if (bDraw)
    {
        if (nType == qvtControlButton && !strShortcut.IsEmpty())
            rcCaption.right -= TextExtent(pDC, strShortcut).cx + DpiX(19);
        else if (nType == qvtControlButton && !strFallbackShortcut.IsEmpty())
            rcCaption.right -= TextExtent(pDC, strFallbackShortcut).cx + DpiX(19);
        else if (nType == qvtControlSplitButtonPopup)
            rcCaption.right -= m_nPopupSplitArrowWidth;
        else if (nType == qvtControlPopup || nType == qvtControlButtonPopup)
            rcCaption.right -= szCell.cx;
    }

    UINT nFormat = DT_END_ELLIPSIS;
    if (!IsKeyboardCuesVisible(pControl))
    {
        strCaption = WithoutMnemonics(strCaption);
        nFormat |= DT_NOPREFIX;
    }
    const BOOL bShowShortcut = nType == qvtControlButton || nType == qvtControlCheckBox;
    const CString strShownShortcut = !strShortcut.IsEmpty() ? strShortcut : strFallbackShortcut;

    const CString strDescription = pControl->GetDescription();
    if (nStyle == qvtButtonCaptionAndDescription && !strDescription.IsEmpty())
    {
        CFont* pOldFont = pDC->SelectObject(GetRegularBoldFont());
        if (bDraw)
        {
            const int nBottom = rc.top + TextExtent(pDC, CString()).cy + DpiY(10);
            rcCaption.bottom = nBottom;
            rcShortcut.bottom = nBottom;
        }
        const CSize szCaption =
            DrawControlTextEx(pDC, strCaption, rcCaption, nFormat, bDraw, bSelected, bEnabled);
        CSize szShortcut(0, 0);
        if (nType == qvtControlButton && !strShownShortcut.IsEmpty())
            szShortcut =
                DrawControlTextEx(pDC, strShownShortcut, rcShortcut, DT_RIGHT, bDraw, bSelected, bEnabled);
        pDC->SelectObject(pOldFont);
        if (bDraw)
        {
            CRect rcDescription(rcCaption.left, rcCaption.bottom - DpiY(2), rc.right - DpiX(10), rc.bottom);
            pDC->DrawText(strDescription, rcDescription, DT_WORDBREAK | DT_NOPREFIX);
            return CSize(0, 0);
        }
        CFont* pOld = pDC->SelectObject(GetRegularFont());
        const int d = TextExtent(pDC, strDescription).cx;
        CRect rcTwoLines(0, 0, (d + DpiX(20)) / 2, 0);
        pDC->DrawText(_T("1\n2"), 3, rcTwoLines, DT_WORDBREAK | DT_CALCRECT);
        pDC->SelectObject(pOld);
        const int nWidth =
            std::max<int>(szCaption.cx + DpiX(32) + szShortcut.cx, d / 2 + DpiX(32)) + g + m_nPopupTextGap;
        const int nHeight = std::max<int>(szCell.cy, szCaption.cy + DpiY(19) + rcTwoLines.Height());
        return ApplySizeOverride(pControl, CSize(nWidth, nHeight));
    }

    const CSize szCaption =
        DrawControlTextEx(pDC, strCaption, rcCaption, nFormat, bDraw, bSelected, bEnabled);
    CSize szShortcut(0, 0);
    if (bShowShortcut && !strShownShortcut.IsEmpty())
        szShortcut =
            DrawControlTextEx(pDC, strShownShortcut, rcShortcut, DT_RIGHT, bDraw, bSelected, bEnabled);
    if (bDraw)
        return CSize(0, 0);
    const CSize sz(szCaption.cx + szShortcut.cx + DpiX(32) + g + m_nPopupTextGap, nItemHeight);
    return ApplySizeOverride(pControl, sz);
}

// Controls of toolbars and menu bars.

// What measuring and drawing one control of a toolbar or menu bar share.
struct CQVTPaintManager::CToolBarControlLook
{
    CQVTCommandBar* pBar;
    CRect rc;  // the control's rectangle when drawing, else empty
    BOOL bVert;
    int nType;
    int nStyle;
    CSize szButton;
    CQVTImageManagerIcon* pImage;  // null when the style shows none
    CSize szDrawIcon;
    int nSelected;
    int nPressed;
    BOOL bEnabled;
    int nChecked;
    BOOL bPopuped;
    BOOL bCaption;
};

CSize CQVTPaintManager::DrawControlToolBarParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTFontDC font(pDC, GetControlFont(pControl));
    CToolBarControlLook look;
    GetToolBarControlLook(pControl, bDraw, look);

    // Check boxes and radio buttons: a mark, then the caption.
    if (look.nType == qvtControlCheckBox || look.nType == qvtControlRadioButton)
        return DrawToolBarCheckMarkControl(pDC, pControl, look, bDraw);

    if (bDraw)
    {
        if (look.nType == qvtControlSplitButtonPopup)
            DrawSplitButtonFrame(pDC, pControl, look.rc);
        else if (!pControl->IsTransparent())
            DrawControlEntry(pDC, pControl);
        pDC->SetTextColor(GetControlTextColor(pControl));
    }

    CSize szResult(0, 0);
    if (look.nStyle == qvtButtonIconAndCaptionBelow)
        szResult = DrawToolBarCaptionBelowIcon(pDC, pControl, look, bDraw);
    else if (look.pBar && look.pBar->IsTextBelowIcons() && look.pImage)
        szResult = DrawToolBarTextBelowIcon(pDC, pControl, look, bDraw);
    else
        szResult = DrawToolBarCaptionBesideIcon(pDC, pControl, look, bDraw);

    if (bDraw)
    {
        DrawKeyboardFocus(pDC, pControl);
        return CSize(0, 0);
    }
    return ApplySizeOverride(pControl, szResult);
}

// The control's state, its button and icon sizes, and the image its style
// shows.
void CQVTPaintManager::GetToolBarControlLook(CQVTControl* pControl, BOOL bDraw, CToolBarControlLook& look)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    look.pBar = pBar;
    look.rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);
    look.bVert = GetControlTextOrientation(pControl) == 1;
    look.nType = pControl->GetType();
    look.nStyle = pControl->GetStyle();
    const int nType = look.nType;
    const int nStyle = look.nStyle;
    const BOOL bPopupBar = pBar && pBar->GetType() == qvtBarTypePopup;
    const CSize szIcon = (nStyle == qvtButtonIconAndCaptionBelow && pBar && !bPopupBar)
                             ? pBar->GetLargeIconSize()
                             : pControl->GetIconSize();
    CSize szButton = pControl->GetButtonSize();
    if (nStyle != qvtButtonIconAndCaptionBelow)
    {
        if (pControl->GetWidth() > 0 || pControl->GetHeight() > 0)
            szButton = ApplySizeOverride(pControl, szButton);
    }
    else
    {
        szButton.cy =
            m_nControlHeight >= 1 ? 3 * m_nControlHeight : szIcon.cy + DpiY(7) + m_nTwoLineCaptionHeight;
        szButton.cx = std::max(2 * GetControlHeightForIcons() - DpiX(4), DpiX(42));
    }

    CQVTImageManagerIcon* pImage = nullptr;
    const BOOL bStyleShowsImage = nStyle == qvtButtonAutomatic || nStyle == qvtButtonIcon ||
                                  nStyle == qvtButtonIconAndCaption || nStyle == qvtButtonIconAndCaptionBelow;
    if (bStyleShowsImage && !(nStyle == qvtButtonAutomatic && nType == qvtControlPopup) &&
        pControl->GetIconId() != 0)
        pImage = pControl->GetImage(szIcon.cx);
    const CSize szDrawIcon =
        pImage ? GetControlIconSize(pImage, QVTDpiScaler()->UnscaleSize(szIcon), pControl, szButton)
               : CSize(0, 0);

    look.szButton = szButton;
    look.pImage = pImage;
    look.szDrawIcon = szDrawIcon;
    look.nSelected = pControl->GetSelected();
    look.nPressed = pControl->GetPressed();
    look.bEnabled = GetEffectiveEnabled(pControl);
    look.nChecked = pControl->GetChecked();
    look.bPopuped = pControl->GetPopuped();
    look.bCaption = pControl->IsCaptionVisible();
}

CSize CQVTPaintManager::DrawToolBarCheckMarkControl(CDC* pDC, CQVTControl* pControl,
                                                    const CToolBarControlLook& look, BOOL bDraw)
{
    const CRect& rc = look.rc;
    const BOOL bVert = look.bVert;
    const int nType = look.nType;
    const CSize& szButton = look.szButton;
    const int nSelected = look.nSelected, nPressed = look.nPressed, nChecked = look.nChecked;
    const BOOL bEnabled = look.bEnabled;
    const CSize szMark =
        nType == qvtControlCheckBox
            ? DrawControlCheckBox(pDC, pControl, rc, FALSE)
            : DrawControlRadioButtonMark(pDC, rc, FALSE, nSelected, nPressed, nChecked, bEnabled);
    if (!bDraw)
    {
        CSize sz = DrawControlTextAfterBox(pDC, pControl, rc, FALSE, FALSE, CSize(0, szButton.cy), FALSE);
        if (!bVert)
            sz.cx += szMark.cx + DpiX(5);
        else
            sz.cy += szMark.cy + DpiY(5);
        return ApplySizeOverride(pControl, sz);
    }
    const COLORREF clrOld = pDC->SetTextColor(GetControlTextColor(pControl));
    CRect rcMark;
    CRect rcText = rc;
    if (!bVert)
    {
        rcMark = CRect(CPoint(rc.left + DpiX(3), rc.CenterPoint().y - szMark.cy / 2), szMark);
        rcText.left += szMark.cx + DpiX(5);
    }
    else
    {
        rcMark = CRect(CPoint(rc.CenterPoint().x - szMark.cx / 2, rc.top + DpiY(3)), szMark);
        rcText.top += szMark.cy + DpiY(5);
    }
    if (nType == qvtControlCheckBox)
        DrawControlCheckBox(pDC, pControl, rcMark, TRUE);
    else
        DrawControlRadioButtonMark(pDC, rcMark, TRUE, nSelected, nPressed, nChecked, bEnabled);
    DrawControlTextAfterBox(pDC, pControl, rcText, TRUE, FALSE, CSize(0, szButton.cy), FALSE);
    pDC->SetTextColor(clrOld);
    DrawKeyboardFocus(pDC, pControl);
    return CSize(0, 0);
}

// Icon and two-line caption below it: the large button of a bar.
CSize CQVTPaintManager::DrawToolBarCaptionBelowIcon(CDC* pDC, CQVTControl* pControl,
                                                    const CToolBarControlLook& look, BOOL bDraw)
{
    const CRect& rc = look.rc;
    const BOOL bVert = look.bVert;
    const CSize& szButton = look.szButton;
    CQVTImageManagerIcon* pImage = look.pImage;
    const CSize& szDrawIcon = look.szDrawIcon;
    const int nSelected = look.nSelected, nPressed = look.nPressed, nChecked = look.nChecked;
    const BOOL bEnabled = look.bEnabled, bPopuped = look.bPopuped;
    CSize szResult(0, 0);
    const BOOL bArrow = pControl->GetCommandBar() != nullptr;
    const int t = m_nTwoLineCaptionHeight;
    CSize szBox = szButton;
    if (bVert)
        szBox = CSize(szButton.cy, szButton.cx);
    if (bDraw)
    {
        if (pImage)
        {
            const CPoint pt = !bVert
                                  ? CPoint(rc.left + (rc.Width() - szDrawIcon.cx) / 2, rc.top + DpiY(4))
                                  : CPoint(rc.left + DpiX(3) + t, rc.top + (rc.Height() - szDrawIcon.cy) / 2);
            DrawImage(pDC, pt, szDrawIcon, pImage, nSelected, nPressed, bEnabled, nChecked, bPopuped, 1);
        }
        const CSize szCaption = DrawControlTextBelowIcon(pDC, pControl, rc, FALSE, bVert, bArrow);
        const CRect rcCaption =
            !bVert ? CRect(rc.left, rc.bottom - DpiY(1) - szCaption.cy, rc.right, rc.bottom - DpiY(1))
                   : CRect(rc.left + t, rc.top, rc.right, rc.bottom);
        DrawControlTextBelowIcon(pDC, pControl, rcCaption, TRUE, bVert, bArrow);
    }
    else
    {
        const CSize szCaption = DrawControlTextBelowIcon(pDC, pControl, rc, FALSE, bVert, bArrow);
        szResult = szBox;
        if (!bVert)
            szResult.cx = std::max<int>(szBox.cx, szCaption.cx + DpiX(5));
        else
            szResult.cy = std::max<int>(szBox.cy, szCaption.cy + DpiY(6));
    }
    return szResult;
}

// A bar that puts its captions below the icons.
CSize CQVTPaintManager::DrawToolBarTextBelowIcon(CDC* pDC, CQVTControl* pControl,
                                                 const CToolBarControlLook& look, BOOL bDraw)
{
    const CRect& rc = look.rc;
    const int nType = look.nType;
    const CSize& szButton = look.szButton;
    CQVTImageManagerIcon* pImage = look.pImage;
    const CSize& szDrawIcon = look.szDrawIcon;
    const int nSelected = look.nSelected, nPressed = look.nPressed, nChecked = look.nChecked;
    const BOOL bEnabled = look.bEnabled, bPopuped = look.bPopuped;
    CSize szResult(0, 0);
    CQVTFontDC captionFont(pDC, pControl->IsItemDefault() ? GetRegularBoldFont() : GetRegularFont());
    const CString strCaption = pControl->GetCaption();
    const CSize szCaption = TextExtent(pDC, WithoutMnemonics(strCaption));
    if (bDraw)
    {
        CRect rcItem = rc;
        if (nType == qvtControlSplitButtonPopup)
            rcItem.right -= m_nSplitButtonDropDownWidth;
        DrawImage(pDC, CPoint(rcItem.left + (rcItem.Width() - szDrawIcon.cx) / 2, rcItem.top + DpiY(4)),
                  szDrawIcon, pImage, nSelected, nPressed, bEnabled, nChecked, bPopuped, 1);
        CRect rcCaption(rcItem.left, rcItem.top + DpiY(4) + szDrawIcon.cy, rcItem.right, rcItem.bottom);
        DrawCaptionWithArrow(pDC, pControl, rcCaption, TRUE, FALSE, TRUE, nType == qvtControlPopup);
    }
    else
    {
        szResult.cy = szButton.cy + szCaption.cy;
        szResult.cx = std::max<int>(szButton.cx, szCaption.cx + DpiX(10));
        if (nType == qvtControlSplitButtonPopup)
            szResult.cx += DpiX(11);
        szResult.cx = std::max(szResult.cx, szResult.cy);
    }
    return szResult;
}

// The icon, with the caption (and a popup's arrow) beside it.
CSize CQVTPaintManager::DrawToolBarCaptionBesideIcon(CDC* pDC, CQVTControl* pControl,
                                                     const CToolBarControlLook& look, BOOL bDraw)
{
    const CRect& rc = look.rc;
    const BOOL bVert = look.bVert;
    const int nType = look.nType;
    const CSize& szButton = look.szButton;
    CQVTImageManagerIcon* pImage = look.pImage;
    const CSize& szDrawIcon = look.szDrawIcon;
    const int nSelected = look.nSelected, nPressed = look.nPressed, nChecked = look.nChecked;
    const BOOL bEnabled = look.bEnabled, bPopuped = look.bPopuped;
    const BOOL bCaption = look.bCaption;
    CQVTCommandBar* pBar = look.pBar;
    CSize szResult(0, 0);
    // Caption beside the icon.
    if (bDraw && pImage)
    {
        CPoint pt;
        if (!bVert)
            pt = CPoint(rc.left + DpiX(3), rc.top + (rc.Height() - szDrawIcon.cy) / 2);
        else
            pt = CPoint(rc.left + (rc.Width() - szDrawIcon.cx) / 2, rc.top + DpiY(3));
        if ((nType == qvtControlButton || nType == qvtControlButtonPopup) && !bCaption)
            pt = CPoint(rc.left + (rc.Width() - szDrawIcon.cx) / 2,
                        rc.top + (rc.Height() - szDrawIcon.cy) / 2);
        else if (nType == qvtControlSplitButtonPopup || (nType == qvtControlPopup && !bCaption))
            pt.x = rc.left + DpiX(3);
        DrawImage(pDC, pt, szDrawIcon, pImage, nSelected, nPressed, bEnabled, nChecked, bPopuped, 1);
    }
    CSize szBox = pImage ? CSize(szDrawIcon.cx, szButton.cy) : CSize(18, szButton.cy);
    if (bVert)
        szBox = pImage ? CSize(szButton.cx, szDrawIcon.cy) : CSize(szButton.cx, 18);
    if (pImage)
    {
        if (!bVert)
            szBox.cx += DpiX(6);
        else
            szBox.cy += DpiY(6);
    }
    const BOOL bMenuBar = pBar && pBar->GetType() == qvtBarTypeMenuBar;
    switch (nType)
    {
    case qvtControlButton:
    case qvtControlButtonPopup:
    case qvtControlLabel:
    case qvtControlGallery:
        if (!bCaption)
            szResult = szButton;
        else
            szResult = DrawControlTextAfterBox(pDC, pControl, rc, bDraw, FALSE, szBox, pImage != nullptr);
        break;
    case qvtControlPopup:
        if (!pImage)
        {
            const BOOL bArrow = !(bDraw && bMenuBar);
            const CSize szCaption = DrawCaptionWithArrow(pDC, pControl, rc, bDraw, bVert, TRUE, bArrow);
            if (pControl->GetID() == QVT_ID_ADDREMOVE_BUTTONS)
                szResult = CSize(szCaption.cx + DpiX(14), szCaption.cy + DpiY(10));
            else
                szResult = CSize(szCaption.cx + DpiX(6), szCaption.cy + DpiY(6));
        }
        else if (!bCaption)
        {
            if (bDraw)
                DrawDropDownGlyph(pDC, pControl, CPoint(rc.right - DpiX(7), rc.CenterPoint().y), nSelected,
                                  bPopuped, bEnabled, bVert);
            szResult = CSize(szButton.cy + DpiX(7), szButton.cy);
        }
        else
            szResult = DrawControlTextAfterBox(pDC, pControl, rc, bDraw, !bMenuBar, szBox, TRUE);
        break;
    case qvtControlSplitButtonPopup:
        if (!bCaption)
            szResult = pImage ? CSize(szButton.cx + m_nSplitButtonDropDownWidth, szButton.cy)
                              : CSize(18 + m_nSplitButtonDropDownWidth, 18);
        else
        {
            CRect rcText = rc;
            rcText.right -= m_nSplitButtonDropDownWidth;
            szResult = DrawControlTextAfterBox(pDC, pControl, rcText, bDraw, FALSE, szBox, pImage != nullptr);
            szResult.cx += m_nSplitButtonDropDownWidth;
        }
        break;
    default:
        break;
    }
    return szResult;
}

// Captions.

CSize CQVTPaintManager::DrawControlTextAfterBox(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw,
                                                BOOL bArrow, CSize szBox, BOOL bImage)
{
    const BOOL bVert = GetControlTextOrientation(pControl) == 1;
    const BOOL O = m_bCaptionSpacing;
    CRect rcCaption = rc;
    if (bVert)
    {
        if (bImage)
            rcCaption.top += szBox.cy;
        const CSize szCaption = DrawCaptionWithArrow(pDC, pControl, rcCaption, bDraw, TRUE, !bImage, bArrow);
        if (bImage)
            return CSize(std::max<int>(szBox.cx, szCaption.cx + DpiX(6)), szBox.cy + szCaption.cy + DpiY(3));
        return CSize(std::max<int>(szBox.cx, szCaption.cx + DpiX(6)), szCaption.cy + DpiY(8));
    }
    if (bImage)
        rcCaption.left += O ? szBox.cx : szBox.cx - DpiX(1);
    const CSize szCaption = DrawCaptionWithArrow(pDC, pControl, rcCaption, bDraw, FALSE, !bImage, bArrow);
    if (bImage)
        return CSize(szBox.cx + szCaption.cx + DpiX(O ? 4 : 3),
                     std::max<int>(szBox.cy, szCaption.cy + DpiY(6)));
    return CSize(szCaption.cx + DpiX(8), std::max<int>(szBox.cy, szCaption.cy + DpiY(6)));
}

CSize CQVTPaintManager::DrawControlText(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw, BOOL bVertical,
                                        BOOL bCentered, BOOL bTriangled)
{
    return DrawCaptionWithArrow(pDC, pControl, rc, bDraw, bVertical, bCentered, bTriangled);
}

CSize CQVTPaintManager::DrawCaptionWithArrow(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw,
                                             BOOL bVertical, BOOL bCentered, BOOL bArrow)
{
    const CString strCaption = pControl->GetCaption();
    const CString strPlain = WithoutMnemonics(strCaption);
    if (bDraw && !bVertical && !bArrow)
    {
        // Without an arrow the text draws centred by itself: no measuring.
        DrawCaptionText(pDC, pControl, strCaption, strPlain, rc, FALSE, bCentered);
        return CSize(0, 0);
    }
    const CSize szText = TextExtent(pDC, strPlain);
    const BOOL O = m_bCaptionSpacing;
    if (!bDraw)
    {
        CSize sz = szText;
        if (bArrow)
            sz.cx += O ? DpiY(10) : DpiY(10) + DpiX(2);
        if (bVertical)
            sz = CSize(sz.cy, sz.cx);
        return sz;
    }

    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (!bVertical)
    {
        const int nBlock = szText.cx + (bArrow ? DpiX(6) : 0);
        CRect rcText = rc;
        if (bCentered)
            rcText.left += (rc.Width() - nBlock) / 2;
        DrawCaptionText(pDC, pControl, strCaption, strPlain, rcText, FALSE, FALSE);
        if (bArrow)
            DrawDropDownGlyph(pDC, pControl, CPoint(rcText.left + szText.cx + DpiX(6), rc.CenterPoint().y),
                              bSelected, bPopuped, bEnabled, FALSE);
        return CSize(0, 0);
    }
    const int nBlock = szText.cx + (bArrow ? DpiX(5) : 0);
    CRect rcText = rc;
    rcText.left = rc.right - (DpiY(1) + rc.Width() - szText.cy) / 2;
    if (bCentered)
        rcText.top += (rc.Height() - nBlock) / 2;
    DrawCaptionText(pDC, pControl, strCaption, strPlain, rcText, TRUE, FALSE);
    if (bArrow)
        DrawDropDownGlyph(pDC, pControl, CPoint(rc.CenterPoint().x, rcText.top + nBlock - DpiX(1)), bSelected,
                          bPopuped, bEnabled, TRUE);
    return CSize(0, 0);
}

void CQVTPaintManager::DrawCaptionText(CDC* pDC, CQVTControl* pControl, const CString& strCaption,
                                       const CString& strCaptionNoMnemonics, CRect rc, BOOL bVertical,
                                       BOOL bCentered)
{
    const BOOL bCues = IsKeyboardCuesVisible(pControl);
    const BOOL bDisabled = !GetEffectiveEnabled(pControl);
    auto draw = [&](const CRect& rcDraw) {
        if (bVertical)
        {
            pDC->ExtTextOut(rcDraw.left, rcDraw.top, 0, nullptr, strCaptionNoMnemonics,
                            strCaptionNoMnemonics.GetLength(), nullptr);
            return;
        }
        CRect rcText = rcDraw;
        UINT nFormat = DT_SINGLELINE | DT_VCENTER | (bCentered ? DT_CENTER : 0);
        if (bCues)
            DrawTextApi(pDC, strCaption, rcText, nFormat, FALSE);
        else
            DrawTextApi(pDC, strCaptionNoMnemonics, rcText, nFormat | DT_NOPREFIX, FALSE);
    };
    if (bDisabled && m_bEmbossedDisabledText)
    {
        const COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_3DHIGHLIGHT));
        CRect rcShadow = rc;
        rcShadow.OffsetRect(DpiX(1), DpiY(1));
        draw(rcShadow);
        pDC->SetTextColor(clrOld);
    }
    draw(rc);
}

CSize CQVTPaintManager::DrawControlTextBelowIcon(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw,
                                                 BOOL bVertical, BOOL bArrow)
{
    CString strFirst;
    CString strSecond;
    const CString strCaption = pControl->GetCaption();
    if (m_bSplitCaption)
        SplitCaptionInTwoLines(strCaption, strFirst, strSecond);
    else
        strFirst = strCaption;
    const CString strFirstPlain = WithoutMnemonics(strFirst);
    const CString strSecondPlain = WithoutMnemonics(strSecond);
    const CSize e1 = TextExtent(pDC, strCaption.IsEmpty() ? CString() : strFirstPlain);
    const CSize e2 =
        strSecondPlain.IsEmpty() && !strCaption.IsEmpty() ? CSize(0, e1.cy) : TextExtent(pDC, strSecondPlain);
    const int a = bArrow ? DpiY(10) : 0;
    if (!bDraw)
    {
        int w = e2.cx + a;
        w = std::max<int>(w, e1.cx);
        return bVertical ? CSize(DpiY(24), w) : CSize(w, 2 * e1.cy);
    }

    const BOOL bSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (!bVertical)
    {
        const int m = (rc.top + rc.bottom) / 2;
        CRect rcFirst(rc.left, rc.top, rc.right, m + 1);
        rcFirst.OffsetRect(0, DpiY(2));
        DrawCaptionText(pDC, pControl, strFirst, strFirstPlain, rcFirst, FALSE, TRUE);
        const int x = rc.left + (rc.Width() - (e2.cx + a)) / 2;
        if (!strSecond.IsEmpty())
            DrawCaptionText(pDC, pControl, strSecond, strSecondPlain, CRect(x, m, rc.right, rc.bottom), FALSE,
                            FALSE);
        if (bArrow)
        {
            const CPoint pt = strSecond.IsEmpty()
                                  ? CPoint((rc.left + rc.right) / 2 - DpiX(1), (m + rc.bottom) / 2 + DpiY(5))
                                  : CPoint(x + e2.cx + a - DpiY(5), (m + rc.bottom) / 2);
            DrawDropDownGlyph(pDC, pControl, pt, bSelected, bPopuped, bEnabled, FALSE);
        }
        return CSize(0, 0);
    }
    const int c = (rc.left + rc.right) / 2;
    const int L = rc.Height();
    CRect rcFirst((rc.right - DpiX(1)) - (DpiX(1) + (rc.right - DpiX(1) - c) - e1.cy) / 2,
                  rc.top + (DpiY(1) + L - e1.cx) / 2, rc.right - DpiX(1), rc.bottom);
    DrawCaptionText(pDC, pControl, strFirst, strFirstPlain, rcFirst, TRUE, FALSE);
    const int w2 = e2.cx + a;
    CRect rcSecond((c + DpiX(1)) - (DpiY(1) + (c - rc.left) - e2.cy) / 2, rc.top + (DpiX(1) + L - w2) / 2,
                   c + DpiX(1), rc.bottom);
    if (!strSecond.IsEmpty())
        DrawCaptionText(pDC, pControl, strSecond, strSecondPlain, rcSecond, TRUE, FALSE);
    if (bArrow)
        DrawDropDownGlyph(pDC, pControl,
                          CPoint((rc.left + c + DpiX(2)) / 2 - DpiX(2), rcSecond.top + w2 - DpiY(5)),
                          bSelected, bPopuped, bEnabled, TRUE);
    return CSize(0, 0);
}
