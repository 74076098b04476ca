#include "toolkit/controls/button/QVTButtonTheme.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

#include <vssym32.h>

#include <algorithm>
#include <climits>

namespace {

BOOL IsCheckBoxKind(DWORD dwKind)
{
    return dwKind == BS_CHECKBOX || dwKind == BS_AUTOCHECKBOX || dwKind == BS_3STATE ||
           dwKind == BS_AUTO3STATE;
}

BOOL IsRadioKind(DWORD dwKind)
{
    return dwKind == BS_RADIOBUTTON || dwKind == BS_AUTORADIOBUTTON;
}

}  // namespace

CQVTButtonTheme::CQVTButtonTheme()
    : m_themeButton(new CQVTWinThemeWrapper(TRUE)), m_bUseVisualStyle(TRUE),
      m_nBorderGap(QVTDpiScaler()->ScaleX(4)), m_bFlatGlyphs(FALSE),
      m_cxBorder(::GetSystemMetrics(SM_CXBORDER)), m_cyBorder(::GetSystemMetrics(SM_CYBORDER)),
      m_cyEdge(::GetSystemMetrics(SM_CYEDGE)), m_cxEdge(::GetSystemMetrics(SM_CXEDGE))
{
    m_nThemeKind = 0;
}

CQVTButtonTheme::~CQVTButtonTheme()
{
    delete m_themeButton;
}

BOOL AFX_CDECL CQVTButtonTheme::IsDisabled(CQVTButton* pButton)
{
    return pButton->m_hWnd && !pButton->IsWindowEnabled();
}

int CQVTButtonTheme::Scale(int nValue) const
{
    return QVTDpiScaler()->ScaleX(nValue);
}

BOOL CQVTButtonTheme::IsNativeUse(CQVTButton* pButton) const
{
    return m_bUseVisualStyle && pButton->IsSystemLook() && m_themeButton->IsAppThemed() &&
           m_themeButton->GetThemeHandle() != nullptr;
}

UINT CQVTButtonTheme::GetUIState(CQVTButton* pButton) const
{
    return pButton->m_hWnd ? (UINT)::SendMessage(pButton->m_hWnd, WM_QUERYUISTATE, 0, 0) : 0;
}

void CQVTButtonTheme::RefreshMetrics(CQVTButton* pButton)
{
    QVTColorManager()->RefreshColors(FALSE);
    m_crTextDisabled.SetStandardValue(GetColorByIndex(COLOR_GRAYTEXT));
    m_crBorderHilite.SetStandardValue(GetColorByIndex(COLOR_BTNFACE));
    m_crBorderShadow.SetStandardValue(GetColorByIndex(COLOR_BTNSHADOW));
    m_crBorder3DHilite.SetStandardValue(GetColorByIndex(COLOR_BTNHIGHLIGHT));
    m_crBorder3DShadow.SetStandardValue(GetColorByIndex(COLOR_3DDKSHADOW));
    m_crBack.SetStandardValue(GetColorByIndex(COLOR_BTNFACE));
    m_crText.SetStandardValue(GetColorByIndex(COLOR_BTNTEXT));
    m_crTextCheck.SetStandardValue(GetColorByIndex(COLOR_BTNTEXT));
    m_themeButton->OpenThemeData(pButton ? pButton->GetSafeHwnd() : nullptr, u"BUTTON");
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
}

void CQVTButtonTheme::DrawButton(CDC* pDC, CQVTButton* pButton)
{
    DWORD dwKind = pButton->GetButtonStyle();
    if (pButton->IsPushButton())
    {
        DrawButtonBackground(pDC, pButton);
        DrawPushButtonText(pDC, pButton);
        DrawPushButtonIcon(pDC, pButton);
        if (::GetFocus() == pButton->m_hWnd && pButton->IsShowFocus())
            DrawFocusRect(pDC, pButton);
    }
    else if (IsCheckBoxKind(dwKind))
    {
        DrawCheckBoxMark(pDC, pButton);
        DrawCaption(pDC, pButton, GetCaptionRect(pDC, pButton, BP_CHECKBOX), FALSE);
    }
    else if (IsRadioKind(dwKind))
    {
        DrawRadioButtonMark(pDC, pButton);
        DrawCaption(pDC, pButton, GetCaptionRect(pDC, pButton, BP_RADIOBUTTON), FALSE);
    }
    else if (dwKind == BS_GROUPBOX)
    {
        DrawGroupBox(pDC, pButton);
        DrawCaption(pDC, pButton, GetGroupBoxCaptionRect(pDC, pButton), TRUE);
    }
}

void CQVTButtonTheme::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    BOOL bDown = pButton->GetPushedState() || pButton->GetChecked();
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, pButton->GetBackColor());
    if (pButton->GetButtonStyle() == BS_DEFPUSHBUTTON)
    {
        pDC->Draw3dRect(rc, m_crBorder3DShadow, m_crBorder3DShadow);
        rc.DeflateRect(1, 1);
    }
    if (bDown)
        pDC->Draw3dRect(rc, m_crBorder3DShadow, m_crBorder3DHilite);
    else
        pDC->Draw3dRect(rc, m_crBorder3DHilite, m_crBorder3DShadow);
    rc.DeflateRect(1, 1);
    if (bDown)
        pDC->Draw3dRect(rc, m_crBorderShadow, m_crBorderHilite);
    else
        pDC->Draw3dRect(rc, m_crBorderHilite, m_crBorderShadow);
}

void CQVTButtonTheme::DrawNativeBackground(CDC* pDC, CQVTButton* pButton)
{
    int nState;
    if (pButton->m_hWnd && !pButton->IsWindowEnabled())
        nState = PBS_DISABLED;
    else if (pButton->GetPushedState())
        nState = PBS_PRESSED;
    else if (!pButton->IsHighlighted())
        nState = pButton->GetChecked()
                     ? PBS_PRESSED
                     : (pButton->GetButtonStyle() == BS_DEFPUSHBUTTON ? PBS_DEFAULTED : PBS_NORMAL);
    else
        nState = PBS_HOT;
    CRect rc = pButton->GetButtonRect();
    m_themeButton->DrawThemeBackground(pDC->m_hDC, BP_PUSHBUTTON, nState, &rc, nullptr);
}

void CQVTButtonTheme::DrawFocusRect(CDC* pDC, CQVTButton* pButton)
{
    if (GetUIState(pButton) & UISF_HIDEFOCUS)
        return;
    pDC->SetTextColor(GetColorByIndex(COLOR_BTNTEXT));
    pDC->SetBkColor(GetColorByIndex(COLOR_WINDOW));
    CRect rc = pButton->GetButtonRect();
    rc.DeflateRect(m_nBorderGap, m_nBorderGap);
    pDC->DrawFocusRect(rc);
}

COLORREF CQVTButtonTheme::GetTextColor(CQVTButton* pButton)
{
    if (pButton->m_hWnd && !pButton->IsWindowEnabled())
        return m_crTextDisabled;
    COLORREF clrOwn = pButton->GetTextColor();
    if (clrOwn != (COLORREF)-1)
        return clrOwn;
    DWORD dwKind = pButton->GetButtonStyle();
    return (IsCheckBoxKind(dwKind) || IsRadioKind(dwKind)) ? m_crTextCheck : m_crText;
}

BOOL CQVTButtonTheme::MeasureCaption(CDC* pDC, CQVTButton* pButton, int nWidth, UINT nFormat,
                                     CSize& szCaption)
{
    szCaption = CSize(0, 0);
    if (CQVTMarkupUIElement* pElement = pButton->GetMarkupElement())
    {
        HFONT hFont = pButton->m_hWnd ? (HFONT)::SendMessage(pButton->m_hWnd, WM_GETFONT, 0, 0) : nullptr;
        MarkupSetDefaultFont(pButton->GetMarkupContext(), hFont, (COLORREF)-1);
        szCaption = MarkupMeasureElement(pElement, std::max(nWidth, 1), INT_MAX);
        return TRUE;
    }
    CString strText = pButton->GetButtonText();
    if (strText.IsEmpty())
        return FALSE;
    CRect rc(0, 0, std::max(nWidth, 1), 0);
    pDC->DrawText(strText, &rc, nFormat | DT_CALCRECT);
    szCaption = rc.Size();
    return TRUE;
}

void CQVTButtonTheme::DrawCaptionText(CDC* pDC, CQVTButton* pButton, CRect rc, UINT nFormat, COLORREF clrText)
{
    if (CQVTMarkupUIElement* pElement = pButton->GetMarkupElement())
    {
        MarkupSetDefaultFont(pButton->GetMarkupContext(), nullptr, clrText);
        MarkupRenderElement(pElement, pDC->m_hDC, rc);
        return;
    }
    CString strText = pButton->GetButtonText();
    if (strText.IsEmpty())
        return;
    if (GetUIState(pButton) & UISF_HIDEACCEL)
        nFormat |= DT_HIDEPREFIX;
    pDC->SetTextColor(clrText);
    pDC->DrawText(strText, rc, nFormat);
}

void CQVTButtonTheme::CalcPushButtonLayout(CDC* pDC, CQVTButton* pButton, CRect& rcImage, CRect& rcText,
                                           UINT& nFormat)
{
    CRect rcContent = pButton->GetButtonRect();
    int nGap = pButton->GetBorderGap();
    rcContent.DeflateRect(nGap, nGap);
    DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
    nFormat = pButton->GetTextFormat();
    if (pButton->m_hWnd && (pButton->GetExStyle() & WS_EX_RTLREADING))
        nFormat |= DT_RTLREADING;
    if (dwStyle & BS_MULTILINE)
        nFormat = (nFormat & ~DT_SINGLELINE) | DT_WORDBREAK | DT_EDITCONTROL;

    CSize szImage = pButton->GetImageSize();
    BOOL bImage = szImage.cx > 0 && szImage.cy > 0;
    int nRelation = pButton->GetTextImageRelation();
    BOOL bVertical =
        nRelation == CQVTButton::relationImageAboveText || nRelation == CQVTButton::relationTextAboveImage;

    // The width left for the text, and its size.
    CSize szImageBlock = szImage;
    int nTextWidth = rcContent.Width();
    BOOL bTextPresent = !pButton->GetButtonText().IsEmpty();
    if (bImage && bTextPresent)
    {
        if (bVertical)
            szImageBlock.cy += pButton->GetImageGap();
        else
        {
            szImageBlock.cx += pButton->GetImageGap();
            nTextWidth -= szImageBlock.cx;
        }
    }
    CSize szText(0, 0);
    BOOL bText = bTextPresent && MeasureCaption(pDC, pButton, nTextWidth, nFormat, szText);
    szText.cx = std::min<int>(szText.cx, std::max(nTextWidth, 0));

    auto place = [&rcContent](CSize sz, DWORD dwAlign) {
        int x, y;
        switch (dwAlign & 0x300)
        {
        case BS_LEFT:
            x = rcContent.left;
            break;
        case BS_RIGHT:
            x = rcContent.right - sz.cx;
            break;
        default:
            x = rcContent.left + (rcContent.Width() - sz.cx) / 2;
            break;
        }
        switch (dwAlign & 0xC00)
        {
        case BS_TOP:
            y = rcContent.top;
            break;
        case BS_BOTTOM:
            y = rcContent.bottom - sz.cy;
            break;
        default:
            y = rcContent.top + (rcContent.Height() - sz.cy) / 2;
            break;
        }
        return CRect(CPoint(x, y), sz);
    };

    rcImage.SetRectEmpty();
    rcText.SetRectEmpty();
    if (bImage && !bText)
    {
        rcImage = place(szImage, pButton->GetImageAlignment());
        return;
    }
    if (!bImage)
    {
        if (bText)
            rcText = place(szText, pButton->GetTextAlignment());
        return;
    }
    // Image and caption as one block, placed by the text alignment.
    CSize szBlock = bVertical ? CSize(std::max(szImage.cx, szText.cx), szImageBlock.cy + szText.cy)
                              : CSize(szImageBlock.cx + szText.cx, std::max(szImage.cy, szText.cy));
    CRect rcBlock = place(szBlock, pButton->GetTextAlignment());
    switch (nRelation)
    {
    case CQVTButton::relationImageAboveText:
        rcImage = CRect(CPoint(rcBlock.left + (szBlock.cx - szImage.cx) / 2, rcBlock.top), szImage);
        rcText =
            CRect(CPoint(rcBlock.left + (szBlock.cx - szText.cx) / 2, rcBlock.top + szImageBlock.cy), szText);
        break;
    case CQVTButton::relationTextAboveImage:
        rcText = CRect(CPoint(rcBlock.left + (szBlock.cx - szText.cx) / 2, rcBlock.top), szText);
        rcImage =
            CRect(CPoint(rcBlock.left + (szBlock.cx - szImage.cx) / 2, rcBlock.bottom - szImage.cy), szImage);
        break;
    case CQVTButton::relationTextBeforeImage:
        rcText = CRect(CPoint(rcBlock.left, rcBlock.top + (szBlock.cy - szText.cy) / 2), szText);
        rcImage =
            CRect(CPoint(rcBlock.right - szImage.cx, rcBlock.top + (szBlock.cy - szImage.cy) / 2), szImage);
        break;
    default:
        rcImage = CRect(CPoint(rcBlock.left, rcBlock.top + (szBlock.cy - szImage.cy) / 2), szImage);
        rcText =
            CRect(CPoint(rcBlock.left + szImageBlock.cx, rcBlock.top + (szBlock.cy - szText.cy) / 2), szText);
        break;
    }
}

void CQVTButtonTheme::DrawPushButtonText(CDC* pDC, CQVTButton* pButton)
{
    CRect rcImage, rcText;
    UINT nFormat = 0;
    CalcPushButtonLayout(pDC, pButton, rcImage, rcText, nFormat);
    if (rcText.IsRectEmpty())
        return;
    if ((pButton->GetChecked() || pButton->GetPushedState()) && m_bUseVisualStyle && !IsNativeUse(pButton))
        rcText.OffsetRect(Scale(1), QVTDpiScaler()->ScaleY(1));
    DrawCaptionText(pDC, pButton, rcText, nFormat, GetTextColor(pButton));
}

void CQVTButtonTheme::DrawPushButtonIcon(CDC* pDC, CQVTButton* pButton)
{
    CRect rcImage, rcText;
    UINT nFormat = 0;
    CalcPushButtonLayout(pDC, pButton, rcImage, rcText, nFormat);
    if (!rcImage.IsRectEmpty())
        pButton->DrawImage(pDC, rcImage);
}

void CQVTButtonTheme::DrawPushButtonDropDown(CDC*, CQVTButton*) {}

CSize CQVTButtonTheme::GetMarkSize(CDC* pDC, CQVTButton* pButton, int nPart)
{
    if (IsNativeUse(pButton))
    {
        SIZE sz = {0, 0};
        int nState = nPart == BP_CHECKBOX ? (int)CBS_UNCHECKEDNORMAL : (int)RBS_UNCHECKEDNORMAL;
        if (SUCCEEDED(m_themeButton->GetThemePartSize(pDC->m_hDC, nPart, nState, nullptr, TS_TRUE, &sz)) &&
            sz.cx > 0 && sz.cy > 0)
            return sz;
    }
    return CSize(Scale(13), QVTDpiScaler()->ScaleY(13));
}

CRect CQVTButtonTheme::GetMarkRect(CDC* pDC, CQVTButton* pButton, int nPart)
{
    CRect rc = pButton->GetButtonRect();
    CSize sz = GetMarkSize(pDC, pButton, nPart);
    DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
    DWORD dwVert = pButton->GetTextAlignment() & 0xC00;
    int y = rc.top;
    if (dwVert == BS_TOP || dwVert == BS_BOTTOM)
    {
        CSize szSpace = pDC->GetTextExtent(_T(" "), 1);
        int nLine = szSpace.cy + szSpace.cy / 4;
        y = (dwVert == BS_TOP ? rc.top : rc.bottom - nLine) + (nLine - sz.cy) / 2;
    }
    else if (dwVert == BS_VCENTER)
    {
        y = (rc.top + rc.bottom - sz.cy) / 2;
    }
    int x = (dwStyle & BS_LEFTTEXT) ? rc.right - sz.cx : rc.left;
    return CRect(CPoint(x, y), sz);
}

CRect CQVTButtonTheme::GetCaptionRect(CDC* pDC, CQVTButton* pButton, int nPart)
{
    CRect rc = pButton->GetButtonRect();
    int nTaken = GetMarkSize(pDC, pButton, nPart).cx + Scale(3);
    DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
    if (dwStyle & BS_LEFTTEXT)
        rc.right -= nTaken;
    else
        rc.left += nTaken;
    return rc;
}

CRect CQVTButtonTheme::GetGroupBoxCaptionRect(CDC* pDC, CQVTButton* pButton)
{
    CString strText = pButton->GetButtonText();
    CRect rc = pButton->GetButtonRect();
    if (strText.IsEmpty())
        return CRect(0, 0, 0, 0);
    CRect rcText(0, 0, 0, 0);
    pDC->DrawText(strText, &rcText, DT_CALCRECT | DT_SINGLELINE);
    int nWidth = rcText.Width() + 2 * m_cxEdge;
    DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
    if ((dwStyle & 0x300) == BS_RIGHT)
    {
        int nRight = rc.right - m_cxBorder - Scale(6);
        return CRect(nRight - nWidth, rc.top, nRight, rc.top + rcText.Height());
    }
    int nLeft = rc.left + m_cxBorder + Scale(8);
    return CRect(nLeft, rc.top, nLeft + nWidth, rc.top + rcText.Height());
}

CRect CQVTButtonTheme::GetGroupBoxFrameRect(CDC* pDC, CQVTButton* pButton)
{
    CRect rc = pButton->GetButtonRect();
    rc.top += pDC->GetTextExtent(_T(" "), 1).cy / 2;
    return rc;
}

void CQVTButtonTheme::DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton)
{
    CRect rcMark = GetMarkRect(pDC, pButton, BP_CHECKBOX);
    BOOL bDisabled = pButton->m_hWnd && !pButton->IsWindowEnabled();
    int nCheck = pButton->GetChecked();
    DWORD dwKind = pButton->GetButtonStyle();
    BOOL bIndeterminate = nCheck == BST_INDETERMINATE && (dwKind == BS_3STATE || dwKind == BS_AUTO3STATE);
    if (IsNativeUse(pButton))
    {
        int nState = bDisabled ? 4 : pButton->GetPushedState() ? 3 : pButton->IsHighlighted() ? 2 : 1;
        if (bIndeterminate)
            nState += 8;
        else if (nCheck)
            nState += 4;
        m_themeButton->DrawThemeBackground(pDC->m_hDC, BP_CHECKBOX, nState, &rcMark, nullptr);
        return;
    }
    UINT nFlags = DFCS_BUTTONCHECK;
    if (m_bFlatGlyphs)
        nFlags |= DFCS_FLAT;
    if (nCheck)
        nFlags |= DFCS_CHECKED;
    if (bDisabled)
        nFlags |= DFCS_INACTIVE;
    if (pButton->GetPushedState())
        nFlags |= DFCS_PUSHED;
    if (bIndeterminate)
        nFlags |= DFCS_BUTTON3STATE;
    pDC->DrawFrameControl(rcMark, DFC_BUTTON, nFlags);
}

void CQVTButtonTheme::DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton)
{
    CRect rcMark = GetMarkRect(pDC, pButton, BP_RADIOBUTTON);
    BOOL bDisabled = pButton->m_hWnd && !pButton->IsWindowEnabled();
    BOOL bChecked = pButton->GetChecked();
    if (IsNativeUse(pButton))
    {
        int nState = bDisabled ? 4 : pButton->GetPushedState() ? 3 : pButton->IsHighlighted() ? 2 : 1;
        if (bChecked)
            nState += 4;
        m_themeButton->DrawThemeBackground(pDC->m_hDC, BP_RADIOBUTTON, nState, &rcMark, nullptr);
        return;
    }
    UINT nFlags = DFCS_BUTTONRADIO;
    if (m_bFlatGlyphs)
        nFlags |= DFCS_FLAT;
    if (bChecked)
        nFlags |= DFCS_CHECKED;
    if (bDisabled)
        nFlags |= DFCS_INACTIVE;
    if (pButton->GetPushedState())
        nFlags |= DFCS_PUSHED;
    pDC->DrawFrameControl(rcMark, DFC_BUTTON, nFlags);
}

void CQVTButtonTheme::DrawGroupBox(CDC* pDC, CQVTButton* pButton)
{
    CRect rcCaption = GetGroupBoxCaptionRect(pDC, pButton);
    CRect rcFrame = GetGroupBoxFrameRect(pDC, pButton);
    if (!rcCaption.IsRectEmpty())
    {
        DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
        rcCaption.OffsetRect((dwStyle & 0x300) == BS_RIGHT ? m_cxEdge : -m_cxEdge, 0);
        pDC->ExcludeClipRect(rcCaption);
    }
    if (IsNativeUse(pButton))
    {
        BOOL bDisabled = pButton->m_hWnd && !pButton->IsWindowEnabled();
        m_themeButton->DrawThemeBackground(pDC->m_hDC, BP_GROUPBOX, bDisabled ? GBS_DISABLED : GBS_NORMAL,
                                           &rcFrame, nullptr);
    }
    else
    {
        pDC->DrawEdge(rcFrame, EDGE_ETCHED, BF_RECT | (m_bFlatGlyphs ? BF_FLAT | BF_MONO : 0));
    }
    pDC->SelectClipRgn(nullptr);
}

void CQVTButtonTheme::DrawCaption(CDC* pDC, CQVTButton* pButton, CRect rcCaption, BOOL bGroupBox)
{
    if (rcCaption.IsRectEmpty())
        return;
    DWORD dwStyle = pButton->m_hWnd ? pButton->GetStyle() : 0;
    UINT nFormat =
        (dwStyle & BS_MULTILINE) ? (DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL) : (DT_SINGLELINE | DT_NOCLIP);
    if (bGroupBox)
    {
        // The caption's rectangle already fits the text, with an edge each side.
        rcCaption.DeflateRect(m_cxEdge, 0);
        nFormat = DT_SINGLELINE | DT_NOCLIP;
    }

    // The content: a bitmap, an icon or the caption.
    HBITMAP hBitmap = nullptr;
    HICON hIcon = nullptr;
    CSize szContent(0, 0);
    if ((dwStyle & BS_BITMAP) && !bGroupBox)
    {
        hBitmap = (HBITMAP)::SendMessage(pButton->m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0);
        BITMAP bm;
        if (!hBitmap || !::GetObject(hBitmap, sizeof(bm), &bm))
            return;
        szContent = CSize(bm.bmWidth, bm.bmHeight);
    }
    else if ((dwStyle & BS_ICON) && !bGroupBox)
    {
        hIcon = (HICON)::SendMessage(pButton->m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0);
        if (!hIcon)
            return;
        szContent = CSize(Scale(16), QVTDpiScaler()->ScaleY(16));
    }
    else if (!MeasureCaption(pDC, pButton, rcCaption.Width(), nFormat, szContent))
    {
        return;
    }

    DWORD dwAlign = pButton->GetTextAlignment();
    CRect rcContent(rcCaption.TopLeft(), szContent);
    switch (dwAlign & 0x300)
    {
    case BS_RIGHT:
        rcContent.OffsetRect(rcCaption.right - rcContent.right, 0);
        nFormat |= DT_RIGHT;
        break;
    case BS_CENTER:
        rcContent.OffsetRect((rcCaption.Width() - szContent.cx) / 2, 0);
        nFormat |= DT_CENTER;
        break;
    }
    if (!bGroupBox)
    {
        switch (dwAlign & 0xC00)
        {
        case BS_BOTTOM:
            rcContent.OffsetRect(0, rcCaption.bottom - rcContent.bottom);
            break;
        case BS_VCENTER:
            rcContent.OffsetRect(0, (rcCaption.Height() - szContent.cy) / 2);
            break;
        }
    }

    COLORREF clrText = GetTextColor(pButton);
    if (hBitmap)
        pDC->DrawState(rcContent.TopLeft(), szContent, hBitmap, DST_BITMAP | DSS_NORMAL);
    else if (hIcon)
        pDC->DrawState(rcContent.TopLeft(), szContent, hIcon, DST_ICON | DSS_NORMAL, (HBRUSH) nullptr);
    else
    {
        if (pButton->m_hWnd && (pButton->GetExStyle() & WS_EX_RTLREADING))
            nFormat |= DT_RTLREADING;
        DrawCaptionText(pDC, pButton, rcContent, nFormat & ~(DT_RIGHT | DT_CENTER), clrText);
    }

    if (!bGroupBox && ::GetFocus() == pButton->m_hWnd && pButton->IsShowFocus() &&
        !(GetUIState(pButton) & UISF_HIDEFOCUS))
    {
        CRect rcFocus(rcContent);
        rcFocus.InflateRect(m_cxEdge, m_cyEdge);
        rcFocus.IntersectRect(rcFocus, pButton->GetButtonRect());
        pDC->SetTextColor(GetColorByIndex(COLOR_BTNTEXT));
        pDC->SetBkColor(GetColorByIndex(COLOR_WINDOW));
        pDC->DrawFocusRect(rcFocus);
    }
}
