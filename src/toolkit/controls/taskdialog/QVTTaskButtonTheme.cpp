#include "toolkit/controls/taskdialog/QVTTaskButtonTheme.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

#include <vssym32.h>

#include <algorithm>
#include <climits>

namespace {

int DluToPixelsX(int nDlu)
{
    return ::MulDiv(QVTDpiScaler()->ScaleX(nDlu), LOWORD(::GetDialogBaseUnits()), 4);
}

int DluToPixelsY(int nDlu)
{
    return ::MulDiv(QVTDpiScaler()->ScaleY(nDlu), HIWORD(::GetDialogBaseUnits()), 8);
}

}  // namespace

CQVTTaskButtonTheme::CQVTTaskButtonTheme(BOOL bThemed)
    : m_szMargin(DluToPixelsX(5), DluToPixelsY(5)), m_nGlyphGap(QVTDpiScaler()->ScaleX(3)),
      m_pTitleFont(nullptr), m_pGlyph(nullptr), m_szGlyph(0, 0), m_clrPressedFace(0), m_clrOuterBorder(0),
      m_clrInnerLine1(0), m_clrInnerLine2(0), m_clrHotFace(0), m_clrBackFace(0), m_bThemed(bThemed)
{
}

CQVTTaskButtonTheme::~CQVTTaskButtonTheme()
{
    if (m_pGlyph)
        m_pGlyph->InternalRelease();
}

void CQVTTaskButtonTheme::SetGlyph(CQVTImageManagerIcon* pGlyph, CSize szGlyph)
{
    if (pGlyph)
        pGlyph->InternalAddRef();
    if (m_pGlyph)
        m_pGlyph->InternalRelease();
    m_pGlyph = pGlyph;
    m_szGlyph = pGlyph ? szGlyph : CSize(0, 0);
}

void CQVTTaskButtonTheme::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonTheme::RefreshMetrics(pButton);
    COLORREF clrWindow = GetColorByIndex(COLOR_WINDOW), clrFace = GetColorByIndex(COLOR_3DFACE);
    COLORREF clrShadow = GetColorByIndex(COLOR_BTNSHADOW);
    if (m_bThemed)
    {
        m_clrBackFace = clrWindow;
        m_clrTextNormal.SetStandardValue(0x551C15);
        m_clrTextHot.SetStandardValue(0xE54A00);
        m_clrHighlight.SetStandardValue(0xFFEDA3);
        m_clrPressedFace = CQVTColorManager::BlendColors(clrWindow, clrFace, 200);
        m_clrOuterBorder = CQVTColorManager::BlendColors(clrFace, clrShadow, 175);
        m_clrInnerLine1 = CQVTColorManager::BlendColors(clrFace, clrShadow, 775);
        m_clrInnerLine2 = CQVTColorManager::BlendColors(clrFace, clrShadow, 875);
        m_clrHotFace = clrFace;
    }
    else
    {
        m_clrBackFace = m_crBack;
        m_clrTextNormal.SetStandardValue(m_crText);
        m_clrTextHot.SetStandardValue(m_crText);
        m_clrHighlight.SetStandardValue(m_crBorder3DHilite);
        m_clrPressedFace = m_crBack;
        m_clrOuterBorder = m_crBorderShadow;
        m_clrInnerLine1 = m_crBorder3DShadow;
        m_clrInnerLine2 = m_crBorderHilite;
        m_clrHotFace = m_crBorder3DHilite;
    }
    RefreshCaption(pButton);
}

void CQVTTaskButtonTheme::RefreshCaption(CQVTButton* pButton)
{
    m_strCaption = pButton ? pButton->GetButtonText() : CString();
    int nBreak = m_strCaption.Find(_T('\n'));
    m_strTitle = nBreak < 0 ? m_strCaption : m_strCaption.Left(nBreak);
    m_strNote.Empty();
    if (nBreak >= 0)
    {
        CString strRest = m_strCaption.Mid(nBreak + 1);
        int nNext = strRest.Find(_T('\n'));
        m_strNote = nNext < 0 ? strRest : strRest.Left(nNext);
    }
}

COLORREF CQVTTaskButtonTheme::GetCaptionColor(CQVTButton* pButton)
{
    if (pButton->m_hWnd && !pButton->IsWindowEnabled())
        return GetColorByIndex(COLOR_GRAYTEXT);
    return pButton->IsHighlighted() ? m_clrTextHot : m_clrTextNormal;
}

void CQVTTaskButtonTheme::CalcTextLayout(CDC* pDC, CQVTButton* pButton, CRect& rcTitle, CRect& rcNote)
{
    if (m_strCaption != pButton->GetButtonText())
        RefreshCaption(pButton);
    CRect rc = pButton->GetButtonRect();
    rc.DeflateRect(m_szMargin.cx, m_szMargin.cy);
    if (m_pGlyph)
        rc.left += m_szGlyph.cx + m_nGlyphGap;
    int nWidth = std::max(1, rc.Width());
    CRect rcT(0, 0, nWidth, 0), rcN(0, 0, nWidth, 0);
    {
        CQVTFontDC font(pDC, m_pTitleFont);
        if (!m_strTitle.IsEmpty())
            pDC->DrawText(m_strTitle, &rcT, DT_CALCRECT | DT_WORDBREAK);
    }
    if (!m_strNote.IsEmpty())
        pDC->DrawText(m_strNote, &rcN, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int nNoteHeight = m_strNote.IsEmpty() ? 0 : rcN.Height() + 1;
    int nTop = rc.top + (rc.Height() - (rcT.Height() + nNoteHeight)) / 2;
    rcTitle = CRect(rc.left, nTop, rc.left + nWidth, nTop + rcT.Height());
    rcNote = CRect(rc.left, rcTitle.bottom + 1, rc.left + nWidth, rcTitle.bottom + 1 + rcN.Height());
    if (m_strNote.IsEmpty())
        rcNote.bottom = rcNote.top;
}

CSize CQVTTaskButtonTheme::GetButtonSize(CDC* pDC, CQVTButton* pButton, int nWidth)
{
    if (m_strCaption != pButton->GetButtonText())
        RefreshCaption(pButton);
    int nTextWidth = std::max(1, nWidth - 2 * m_szMargin.cx - (m_pGlyph ? m_szGlyph.cx + m_nGlyphGap : 0));
    if (CQVTMarkupUIElement* pElement = pButton->GetMarkupElement())
    {
        MarkupSetDefaultFont(pButton->GetMarkupContext(),
                             static_cast<HFONT>(m_pTitleFont ? m_pTitleFont->GetSafeHandle() : nullptr),
                             (COLORREF)-1);
        CSize szElement = MarkupMeasureElement(pElement, nTextWidth, INT_MAX);
        return CSize(nWidth, szElement.cy + 2 * m_szMargin.cy);
    }
    CRect rcT(0, 0, nTextWidth, 0), rcN(0, 0, nTextWidth, 0);
    {
        CQVTFontDC font(pDC, m_pTitleFont);
        if (!m_strTitle.IsEmpty())
            pDC->DrawText(m_strTitle, &rcT, DT_CALCRECT | DT_WORDBREAK);
    }
    if (!m_strNote.IsEmpty())
        pDC->DrawText(m_strNote, &rcN, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return CSize(nWidth, rcT.Height() + (m_strNote.IsEmpty() ? 0 : rcN.Height()) + 2 * m_szMargin.cy);
}

void CQVTTaskButtonTheme::DrawButton(CDC* pDC, CQVTButton* pButton)
{
    DrawButtonBackground(pDC, pButton);
    DrawPushButtonText(pDC, pButton);
    if (m_pGlyph)
    {
        CRect rcTitle, rcNote;
        CalcTextLayout(pDC, pButton, rcTitle, rcNote);
        int nLine = 0;
        {
            CQVTFontDC font(pDC, m_pTitleFont);
            nLine = pDC->GetTextExtent(_T("X"), 1).cy;
        }
        CPoint pt(QVTDpiScaler()->ScaleX(7), rcTitle.top + (nLine - m_szGlyph.cy) / 2);
        int nState =
            (pButton->m_hWnd && !pButton->IsWindowEnabled())
                ? qvtImageDisabled
                : (pButton->GetPushedState() ? qvtImagePressed
                                             : (pButton->IsHighlighted() ? qvtImageHot : qvtImageNormal));
        m_pGlyph->DrawInStateSized(pDC, pt, m_szGlyph, nState);
    }
    if (::GetFocus() == pButton->m_hWnd && pButton->IsShowFocus())
        DrawFocusRect(pDC, pButton);
}

void CQVTTaskButtonTheme::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    CRect rc = pButton->GetButtonRect();
    BOOL bDisabled = pButton->m_hWnd && !pButton->IsWindowEnabled();
    BOOL bPressed = pButton->GetPushedState() || pButton->GetChecked();
    BOOL bHot = pButton->IsHighlighted();
    if (m_bThemed && QVTOSVersion()->IsWinVistaOrGreater() && m_themeButton->IsAppThemed() &&
        m_themeButton->GetThemeHandle())
    {
        int nState = bDisabled                                       ? CMDLS_DISABLED
                     : bPressed                                      ? CMDLS_PRESSED
                     : bHot                                          ? CMDLS_HOT
                     : pButton->GetButtonStyle() == BS_DEFPUSHBUTTON ? CMDLS_DEFAULTED
                                                                     : CMDLS_NORMAL;
        if (SUCCEEDED(m_themeButton->DrawThemeBackground(pDC->m_hDC, BP_COMMANDLINK, nState, &rc, nullptr)))
            return;
    }
    if (bPressed && !bDisabled)
    {
        pDC->FillSolidRect(rc, m_clrPressedFace);
        pDC->Draw3dRect(rc, m_clrOuterBorder, m_clrOuterBorder);
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(rc, m_clrInnerLine1, m_clrInnerLine2);
    }
    else if (bHot && !bDisabled)
    {
        QVTDrawHelpers()->GradientFill(pDC, rc, m_clrBackFace, m_clrHotFace, FALSE);
        pDC->Draw3dRect(rc, m_clrOuterBorder, m_clrOuterBorder);
    }
}

void CQVTTaskButtonTheme::DrawPushButtonText(CDC* pDC, CQVTButton* pButton)
{
    if (CQVTMarkupUIElement* pElement = pButton->GetMarkupElement())
    {
        // A markup caption in the title's font, as one block at the margins.
        CRect rc = pButton->GetButtonRect();
        rc.DeflateRect(m_szMargin.cx, m_szMargin.cy);
        if (m_pGlyph)
            rc.left += m_szGlyph.cx + m_nGlyphGap;
        if (pButton->GetPushedState() || pButton->GetChecked())
            rc.OffsetRect(1, 1);
        MarkupSetDefaultFont(pButton->GetMarkupContext(),
                             static_cast<HFONT>(m_pTitleFont ? m_pTitleFont->GetSafeHandle() : nullptr),
                             GetCaptionColor(pButton));
        MarkupRenderElement(pElement, pDC->m_hDC, rc);
        return;
    }
    CRect rcTitle, rcNote;
    CalcTextLayout(pDC, pButton, rcTitle, rcNote);
    if (pButton->GetPushedState() || pButton->GetChecked())
    {
        rcTitle.OffsetRect(1, 1);
        rcNote.OffsetRect(1, 1);
    }
    pDC->SetTextColor(GetCaptionColor(pButton));
    pDC->SetBkMode(TRANSPARENT);
    UINT nHide = (GetUIState(pButton) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    {
        CQVTFontDC font(pDC, m_pTitleFont);
        pDC->DrawText(m_strTitle, rcTitle, DT_WORDBREAK | nHide);
    }
    if (!m_strNote.IsEmpty())
        pDC->DrawText(m_strNote, rcNote, DT_WORDBREAK | DT_NOPREFIX);
}

void CQVTTaskButtonTheme::DrawFocusRect(CDC* pDC, CQVTButton* pButton)
{
    if (GetUIState(pButton) & UISF_HIDEFOCUS)
        return;
    CRect rc = pButton->GetButtonRect();
    rc.DeflateRect(2, 2);
    pDC->SetTextColor(GetColorByIndex(COLOR_BTNTEXT));
    pDC->SetBkColor(GetColorByIndex(COLOR_WINDOW));
    pDC->DrawFocusRect(rc);
}

CQVTTaskButtonThemeExpando::CQVTTaskButtonThemeExpando() : m_themeTaskDialog(new CQVTWinThemeWrapper(TRUE)) {}

CQVTTaskButtonThemeExpando::~CQVTTaskButtonThemeExpando()
{
    delete m_themeTaskDialog;
}

void CQVTTaskButtonThemeExpando::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonTheme::RefreshMetrics(pButton);
    m_themeTaskDialog->OpenThemeData(pButton ? pButton->GetSafeHwnd() : nullptr, u"TASKDIALOG");
}

CRect CQVTTaskButtonThemeExpando::GetGlyphRect(CQVTButton* pButton) const
{
    CRect rc = pButton->GetButtonRect();
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    int nWidth = pDpi->ScaleX(18);
    int nHeight = std::min<int>(pDpi->ScaleY(20), rc.Height());
    int nTop = rc.top + (rc.Height() - nHeight) / 2;
    return CRect(rc.left, nTop, rc.left + nWidth, nTop + nHeight);
}

void CQVTTaskButtonThemeExpando::DrawButton(CDC* pDC, CQVTButton* pButton)
{
    CRect rc = pButton->GetButtonRect();
    pDC->FillSolidRect(rc, GetColorByIndex(COLOR_3DFACE));
    BOOL bExpanded = pButton->GetChecked();
    BOOL bHot = pButton->IsHighlighted();
    BOOL bPressed = pButton->GetPushedState() != 0;

    // The chevron: the system's when its style has one, else drawn here.
    CRect rcGlyph = GetGlyphRect(pButton);
    BOOL bDrawn = FALSE;
    if (m_bUseVisualStyle && m_themeTaskDialog->IsAppThemeActive())
    {
        int nState = bPressed ? TDLGEBS_PRESSED : bHot ? TDLGEBS_HOVER : TDLGEBS_NORMAL;
        bDrawn = SUCCEEDED(m_themeTaskDialog->DrawThemeBackground(
            pDC->m_hDC, TDLG_EXPANDOBUTTON, bExpanded ? nState + 3 : nState, &rcGlyph, nullptr));
    }
    if (!bDrawn)
    {
        COLORREF clrMark = GetColorByIndex(COLOR_BTNTEXT);
        if (bHot || bPressed)
        {
            CRect rcBox(rcGlyph);
            rcBox.DeflateRect(1, 1);
            COLORREF clrBox = GetColorByIndex(bPressed ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
            pDC->Draw3dRect(rcBox, clrBox, clrBox);
        }
        // Two stacked chevrons pointing up when expanded, down when not.
        CPoint ptCentre = rcGlyph.CenterPoint();
        int nHalf = std::max(2, rcGlyph.Width() / 4);
        for (int nChevron = 0; nChevron < 2; ++nChevron)
        {
            int yTip = ptCentre.y + (nChevron == 0 ? -nHalf / 2 - 1 : nHalf / 2 + 1);
            int nDir = bExpanded ? -1 : 1;
            for (int i = 0; i < 2; ++i)  // two pixels thick
            {
                CPoint pts[3] = {CPoint(ptCentre.x - nHalf, yTip - nDir * (nHalf / 2) + i),
                                 CPoint(ptCentre.x, yTip + nDir * (nHalf / 2) + i),
                                 CPoint(ptCentre.x + nHalf + 1, yTip - nDir * (nHalf / 2) - nDir + i)};
                CQVTDrawHelpers::DrawLine(pDC, pts[0].x, pts[0].y, pts[1].x, pts[1].y, clrMark);
                CQVTDrawHelpers::DrawLine(pDC, pts[1].x, pts[1].y, pts[2].x, pts[2].y, clrMark);
            }
        }
    }

    // The caption right of the chevron.
    CString strText = pButton->GetButtonText();
    CRect rcText(rc.left + QVTDpiScaler()->ScaleX(26), rc.top, rc.right, rc.bottom);
    CRect rcCalc(0, 0, std::max(1, rcText.Width()), 0);
    pDC->DrawText(strText, &rcCalc, DT_CALCRECT | DT_SINGLELINE);
    rcText.top += (rcText.Height() - rcCalc.Height()) / 2;
    rcText.bottom = rcText.top + rcCalc.Height();
    rcText.right = std::min<int>(rcText.left + rcCalc.Width(), rc.right);
    UINT nHide = (GetUIState(pButton) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    pDC->SetTextColor(GetColorByIndex(COLOR_BTNTEXT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_SINGLELINE | nHide);
    if (::GetFocus() == pButton->m_hWnd && pButton->IsShowFocus() && !(GetUIState(pButton) & UISF_HIDEFOCUS))
    {
        CRect rcFocus(rcText);
        rcFocus.InflateRect(1, 0);
        pDC->SetTextColor(GetColorByIndex(COLOR_BTNTEXT));
        pDC->SetBkColor(GetColorByIndex(COLOR_WINDOW));
        pDC->DrawFocusRect(rcFocus);
    }
}
