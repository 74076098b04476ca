// The base drawing of controls and bars that every theme inherits: control
// backgrounds, marks and glyphs, grippers, special controls, text on glass,
// the anti-aliased circle, icon sizes and the popup animations.
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include <cmath>
#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

namespace {
// Glyphs of the toolkit's glyph font.
enum Glyph : WCHAR
{
    glyphClose = 69,
    glyphCheck = 71,
    glyphCheckRTL = 72,
    glyphRadio = 73,
    glyphArrowLeft = 74,
    glyphArrowRight = 75,
    glyphArrowUp = 76,
    glyphArrowDown = 77,
    glyphHiddenVert = 98,
    glyphMore = 99
};

void DrawGlyph(CDC* pDC, WCHAR chGlyph, const CRect& rc, COLORREF clr)
{
    QVTGlyphFont()->DrawGlyph(pDC, chGlyph, rc, clr);
}

// A top-down 32-bit section holding a copy of the DC's pixels under a rectangle.
class DibCopy
{
public:
    DibCopy(CDC* pDC, const CRect& rc) : m_rc(rc)
    {
        if (rc.IsRectEmpty())
            return;
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = rc.Width();
        bmi.bmiHeader.biHeight = -rc.Height();
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(pDC->GetSafeHdc(), &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        if (!m_hBitmap)
            return;
        m_pBits = static_cast<DWORD*>(pBits);
        m_hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
        m_hOld = ::SelectObject(m_hMemDC, m_hBitmap);
        ::BitBlt(m_hMemDC, 0, 0, rc.Width(), rc.Height(), pDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
    }
    ~DibCopy()
    {
        if (m_hMemDC)
        {
            ::SelectObject(m_hMemDC, m_hOld);
            ::DeleteDC(m_hMemDC);
        }
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    DibCopy(const DibCopy&) = delete;
    DibCopy& operator=(const DibCopy&) = delete;

    BOOL IsValid() const { return m_pBits != nullptr; }
    DWORD* Bits() const { return m_pBits; }
    int Count() const { return m_rc.Width() * m_rc.Height(); }
    void WriteBack(CDC* pDC)
    {
        ::GdiFlush();
        ::BitBlt(pDC->GetSafeHdc(), m_rc.left, m_rc.top, m_rc.Width(), m_rc.Height(), m_hMemDC, 0, 0,
                 SRCCOPY);
    }
    HDC GetDC() const { return m_hMemDC; }

private:
    CRect m_rc;
    HBITMAP m_hBitmap = nullptr;
    HDC m_hMemDC = nullptr;
    HGDIOBJ m_hOld = nullptr;
    DWORD* m_pBits = nullptr;
};

DWORD PixelOf(COLORREF clr, BYTE alpha)
{
    return (static_cast<DWORD>(alpha) << 24) | (GetRValue(clr) << 16) | (GetGValue(clr) << 8) |
           GetBValue(clr);
}

COLORREF ColorOf(DWORD pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

COLORREF Mix(COLORREF clrA, COLORREF clrB, double dShareOfB)
{
    auto channel = [dShareOfB](int a, int b) {
        return static_cast<BYTE>(std::lround(a * (1.0 - dShareOfB) + b * dShareOfB));
    };
    return RGB(channel(GetRValue(clrA), GetRValue(clrB)), channel(GetGValue(clrA), GetGValue(clrB)),
               channel(GetBValue(clrA), GetBValue(clrB)));
}

BOOL IsHorizontalForGlyphs(int nPosition)
{
    return nPosition != qvtBarLeft && nPosition != qvtBarRight && nPosition != qvtBarPopup;
}
}  // namespace

CSize CQVTPaintManager::DrawControl(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    if (!pControl)
        return CSize(0, 0);
    const int nType = pControl->GetType();
    if (nType == qvtControlEdit)
        return DrawControlEdit(pDC, pControl, bDraw);
    if (nType == qvtControlComboBox)
        return DrawControlComboBox(pDC, pControl, bDraw);
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == qvtBarTypePopup)
        return DrawControlPopupParent(pDC, pControl, bDraw);
    return DrawControlToolBarParent(pDC, pControl, bDraw);
}

int CQVTPaintManager::GetEffectiveEnabled(CQVTControl* pControl) const
{
    const int nEnabled = pControl->GetEnabled();
    if (pControl->GetType() == qvtControlSplitButtonPopup && nEnabled == 5)
        return 0;
    return nEnabled;
}

void CQVTPaintManager::DrawControlEntry(CDC* pDC, CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    // The ribbon's own faces (grouped buttons) come first for its controls.
    if (pControl->GetRibbonGroup() || (pBar && pBar->IsRibbonBar()))
    {
        CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
        if (pRibbonPaintManager && pRibbonPaintManager->DrawRibbonGroupControlButton(pDC, pControl))
            return;
    }
    if (DrawControlEntryHook(pDC, pControl))
        return;
    const int barType = pBar ? pBar->GetType() : qvtBarTypeNormal;
    const int barPosition = pBar ? pBar->GetPosition() : qvtBarTop;
    DrawRectangle(pDC, pControl->GetRect(), pControl->GetSelected(), pControl->GetPressed(),
                  GetEffectiveEnabled(pControl), pControl->GetChecked(), pControl->GetPopuped(), barType,
                  barPosition);
}

COLORREF CQVTPaintManager::GetControlTextColor(CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    const int barType = pBar ? pBar->GetType() : qvtBarTypeNormal;
    const int barPosition = pBar ? pBar->GetPosition() : qvtBarTop;
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nType = pControl->GetType();
    if ((nType == qvtControlCheckBox || nType == qvtControlRadioButton) && barType != qvtBarTypePopup)
        return GetRectangleTextColor(FALSE, FALSE, bEnabled, FALSE, FALSE, barType, barPosition);
    return GetRectangleTextColor(pControl->GetSelected(), pControl->GetPressed(), bEnabled,
                                 pControl->GetChecked(), pControl->GetPopuped(), barType, barPosition);
}

void CQVTPaintManager::DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                            BOOL bChecked, int barType)
{
    DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, FALSE, barType, qvtBarPopup);
}

CSize CQVTPaintManager::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (!pBar || pBar->GetPosition() != qvtBarFloating || !pBar->GetSafeHwnd())
        return CSize(0, 0);
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    CQVTFontDC font(pDC, m_fontSmCaption.GetFont());
    const int nHeight = std::max(15, static_cast<int>(pDC->GetTextExtent(_T(" "), 1).cy));
    CRect rcTitle(3, 3, rcClient.right - 3, nHeight + 3);
    if (bDraw)
    {
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        pDC->FillSolidRect(rcTitle, m_clrShadow);
        const COLORREF clrOld = pDC->SetTextColor(m_clrLight);
        CRect rcText(5, rcTitle.top, rcTitle.right - 2 * rcTitle.Height(), rcTitle.bottom);
        const CString strTitle = pBar->GetTitle();
        pDC->DrawText(strTitle, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nOldMode);
    }
    return rcTitle.Size();
}

CSize CQVTPaintManager::CalcCommandBarGripperSize(CQVTCommandBar* pBar)
{
    if (!pBar || !pBar->GetSafeHwnd())
        return CSize(0, 0);
    CClientDC dc(pBar);
    CQVTFontDC font(&dc, GetCommandBarFont(pBar));
    return DrawCommandBarGripper(&dc, pBar, FALSE);
}

void CQVTPaintManager::FillDockBar(CDC* pDC, CQVTDockBar* pDockBar)
{
    if (!pDockBar || !pDockBar->GetSafeHwnd())
        return;
    CRect rc;
    pDockBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
}

void CQVTPaintManager::FillWorkspace(CDC* pDC, CRect rc)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_APPWORKSPACE));
}

void CQVTPaintManager::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    CQVTPenDC pen(pDC->GetSafeHdc(), clr);
    CQVTBrushDC brush(pDC->GetSafeHdc(), clr);
    const POINT pts[3] = {pt0, pt1, pt2};
    pDC->Polygon(pts, 3);
}

void CQVTPaintManager::DrawExpandGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical)
{
    CRect rc = pControl->GetRect();
    if (!bVertical)
        rc.top = rc.CenterPoint().y;
    else
        rc.left = rc.CenterPoint().x;
    rc.InflateRect(1, 1);
    DrawGlyph(pDC, bVertical ? glyphArrowRight : glyphArrowDown, rc, clr);
}

void CQVTPaintManager::DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical)
{
    CRect rc = pControl->GetRect();
    if (!bVertical)
        rc.bottom = rc.CenterPoint().y;
    else
        rc.right = rc.CenterPoint().x;
    DrawGlyph(pDC, bVertical ? glyphHiddenVert : glyphMore, rc, clr);
}

CSize CQVTPaintManager::DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar,
                                           BOOL bDraw, LPVOID lpParam)
{
    if (!pControl)
        return CSize(0, 0);
    const BOOL bHorizontal = !pBar || IsHorizontalForGlyphs(pBar->GetPosition());
    switch (nKind)
    {
    case qvtSpecialToolbarExpand:
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const COLORREF clr = GetControlTextColor(pControl);
            DrawExpandGlyph(pDC, pControl, clr, !bHorizontal);
            if (lpParam && *static_cast<BOOL*>(lpParam))
                DrawHiddenGlyph(pDC, pControl, clr, !bHorizontal);
        }
        else if (lpParam)
        {
            const CSize szBar = *static_cast<CSize*>(lpParam);
            CRect rc = bHorizontal ? CRect(szBar.cx - 11 - 2, 2, szBar.cx - 2, szBar.cy - 2)
                                   : CRect(2, szBar.cy - 11 - 2, szBar.cx - 2, szBar.cy - 2);
            pControl->SetRect(rc);
        }
        return CSize(0, 0);
    case qvtSpecialMore:
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            DrawGlyph(pDC, glyphMore, pControl->GetRect(), GetColor(0));
        }
        return CSize(0, 12);
    case qvtSpecialClose:
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const COLORREF clr = pControl->GetPressed() || pControl->GetSelected()
                                     ? GetControlTextColor(pControl)
                                     : m_clrLight.GetValue();
            DrawGlyph(pDC, glyphClose, pControl->GetRect(), clr);
        }
        return CSize(0, 0);
    case qvtSpecialDropDown:
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const COLORREF clr = pControl->GetSelected() || pControl->GetPopuped()
                                     ? GetControlTextColor(pControl)
                                     : m_clrLight.GetValue();
            DrawGlyph(pDC, glyphArrowDown, pControl->GetRect(), clr);
        }
        return CSize(0, 0);
    default:
        return CSize(0, 0);
    }
}

CRect CQVTPaintManager::GetScaledMargins(CQVTCommandBar* pBar)
{
    return CRect(DpiX(2), DpiY(2), DpiX(2), DpiY(2));
}

CRect CQVTPaintManager::GetSplitButtonCommandRect(CQVTControl* pControl)
{
    CRect rc = pControl->GetRect();
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == qvtBarTypePopup)
    {
        rc.right -= m_nPopupSplitArrowWidth;
        return rc;
    }
    if (pControl->GetStyle() == qvtButtonIconAndCaptionBelow)
    {
        if (GetControlTextOrientation(pControl) == 1)
            rc.left += m_nTwoLineCaptionHeight;
        else
            rc.bottom -= m_nTwoLineCaptionHeight;
        return rc;
    }
    rc.right -= m_nSplitButtonDropDownWidth + 1;
    return rc;
}

CSize CQVTPaintManager::DrawControlCheckBox(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw)
{
    return DrawControlCheckBoxMark(pDC, rc, bDraw, pControl->GetSelected(), pControl->GetPressed(),
                                   pControl->GetChecked(), GetEffectiveEnabled(pControl));
}

namespace {
CSize DrawMark(CQVTWinThemeWrapper& theme, BOOL bThemed, CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected,
               BOOL bPressed, int nChecked, BOOL bEnabled, BOOL bRadio)
{
    const CSize szMark(QVTDpiScaler()->ScaleX(13), QVTDpiScaler()->ScaleY(13));
    if (!bDraw || !pDC)
        return szMark;
    if (bThemed && theme.GetThemeHandle())
    {
        const int nBase = !bEnabled ? 3 : (bSelected && bPressed) ? 2 : bSelected ? 1 : 0;
        const int nState = nBase + (nChecked == 1 ? 4 : 0) + (nChecked == 2 ? 8 : 0) + 1;
        theme.DrawThemeBackground(pDC->GetSafeHdc(), bRadio ? 2 : 3, nState, &rc);
        return szMark;
    }
    UINT nFlags = bRadio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (nChecked != 0)
        nFlags |= DFCS_CHECKED;
    if (bPressed)
        nFlags |= DFCS_PUSHED;
    if (!bEnabled || nChecked == 2)
        nFlags |= DFCS_INACTIVE;
    pDC->DrawFrameControl(rc, DFC_BUTTON, nFlags);
    return szMark;
}
}  // namespace

CSize CQVTPaintManager::DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                                int nChecked, BOOL bEnabled)
{
    return DrawMark(m_themeButton, m_bThemedCheckBox, pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled,
                    FALSE);
}

CSize CQVTPaintManager::DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected,
                                                   BOOL bPressed, int nChecked, BOOL bEnabled)
{
    return DrawMark(m_themeButton, m_bThemedCheckBox, pDC, rc, bDraw, bSelected, bPressed, nChecked, bEnabled,
                    TRUE);
}

// Fonts by orientation.

int CQVTPaintManager::GetControlTextOrientation(CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar)
        return 2;
    if (pBar->GetTextOrientation() != 0)
        return pBar->GetTextOrientation();
    const int nPosition = pBar->GetPosition();
    return nPosition == qvtBarLeft || nPosition == qvtBarRight ? 1 : 2;
}

CFont* CQVTPaintManager::GetControlFont(CQVTControl* pControl)
{
    const BOOL bBold = pControl && pControl->IsItemDefault();
    if (pControl && GetControlTextOrientation(pControl) == 1)
        return bBold ? m_fontVertBold.GetFont() : m_fontVert.GetFont();
    return bBold ? m_fontBold.GetFont() : m_fontRegular.GetFont();
}

CFont* CQVTPaintManager::GetCommandBarFont(CQVTCommandBar* pBar)
{
    const int nOrientation = pBar ? pBar->GetTextOrientation() : 2;
    if (nOrientation == 0)
    {
        const int nPosition = pBar->GetPosition();
        return nPosition == qvtBarLeft || nPosition == qvtBarRight ? m_fontVert.GetFont()
                                                                   : m_fontRegular.GetFont();
    }
    return nOrientation == 1 ? m_fontVert.GetFont() : m_fontRegular.GetFont();
}

// Marks and glyphs.

void CQVTPaintManager::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    const WCHAR chGlyph = IsDCRightToLeft(pDC) ? glyphCheckRTL : glyphCheck;
    DrawGlyph(pDC, chGlyph, rc, clr);
    if (m_bBoldCheckMarks)
    {
        rc.OffsetRect(0, 1);
        DrawGlyph(pDC, chGlyph, rc, clr);
    }
}

void CQVTPaintManager::DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    DrawGlyph(pDC, glyphRadio, rc, clr);
}

void CQVTPaintManager::DrawPopupArrow(CDC* pDC, CRect rc, COLORREF clr)
{
    DrawGlyph(pDC, glyphArrowDown, rc, clr);
}

void CQVTPaintManager::DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl)
{
    CQVTFont font;
    font.CreatePointFont(80, _T("Marlett"), pDC);
    CFont* pOldFont = pDC->SelectObject(font.GetFont());
    const COLORREF clrOld = pDC->SetTextColor(GetControlTextColor(pControl));
    CRect rc = pControl->GetRect();
    DrawTextApi(pDC, pControl->GetCaption(), rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX,
                GetRibbonPaintManager() && GetRibbonPaintManager()->IsControlOnGlass(pControl));
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
}

void CQVTPaintManager::DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt, BOOL bSelected,
                                         BOOL bPopuped, BOOL bEnabled, BOOL bVertical)
{
    const COLORREF clr =
        GetRectangleTextColor(bSelected, FALSE, bEnabled, FALSE, bPopuped, qvtBarTypeNormal, qvtBarTop);
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    WCHAR chGlyph;
    switch (pBar ? pBar->GetPosition() : -1)
    {
    case qvtBarTop:
        chGlyph = glyphArrowDown;
        break;
    case qvtBarBottom:
        chGlyph = glyphArrowUp;
        break;
    case qvtBarLeft:
        chGlyph = glyphArrowRight;
        break;
    case qvtBarRight:
        chGlyph = glyphArrowLeft;
        break;
    default:
        chGlyph = bVertical ? glyphArrowLeft : glyphArrowDown;
        break;
    }
    const int nHalfX = DpiX(10) / 2;
    const int nHalfY = DpiY(10) / 2;
    DrawGlyph(pDC, chGlyph, CRect(pt.x - nHalfX, pt.y - nHalfY, pt.x + nHalfX, pt.y + nHalfY), clr);
}

int CQVTPaintManager::GetPopupBarGutterWidth(CQVTCommandBar* pBar)
{
    if (!pBar || pBar->GetType() != qvtBarTypePopup)
        return 0;
    // A popup with a double gripper keeps a check-mark column beside the
    // icons.
    const CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pBar);
    const int nColumns = pPopup && pPopup->IsDoubleGripper() ? 2 : 1;
    return GetPopupBarButtonSize(pBar).cx * nColumns + DpiX(1);
}

void CQVTPaintManager::DrawTooltipFrame(CDC* pDC, CWnd* pToolTip, BOOL bFlag, BOOL bInfoColor)
{
    if (bFlag || !pToolTip || !pToolTip->GetSafeHwnd())
        return;
    CRect rc;
    pToolTip->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(COLOR_INFOBK));
    pDC->Draw3dRect(rc, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DSHADOW));
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CQVTFontDC font(pDC, m_fontStatus.GetFont(), GetColor(bInfoColor ? COLOR_INFOTEXT : COLOR_GRAYTEXT));
    CString strText;
    pToolTip->GetWindowText(strText);
    pDC->DrawText(strText, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
}

BOOL CQVTPaintManager::IsFlatBar(CQVTCommandBar* pBar)
{
    if (!pBar)
        return m_bFlatToolBar;
    if (pBar->GetFlags() & qvtBarFlagFlat)
        return TRUE;
    return pBar->GetType() == qvtBarTypeMenuBar ? m_bFlatMenuBar : m_bFlatToolBar;
}

CSize CQVTPaintManager::GetPopupBarButtonSize(CQVTCommandBar* pBar)
{
    const CSize szImage = pBar ? pBar->GetIconSize() : CSize(DpiX(16), DpiY(16));
    return CSize(std::max(static_cast<int>(szImage.cx), m_nTextHeight) + DpiX(4),
                 std::max(static_cast<int>(szImage.cy) + DpiY(6), m_nTextHeight));
}

CSize CQVTPaintManager::DrawControlTextEx(CDC* pDC, const CString& strText, CRect rc, UINT nFormat,
                                          BOOL bDraw, BOOL bSelected, BOOL bEnabled)
{
    nFormat |= DT_SINGLELINE | DT_VCENTER;
    if (!bDraw)
    {
        // Wine cuts the text to the empty rectangle before measuring it when
        // an ellipsis is asked for: the measure is of the whole text.
        CRect rcCalc(0, 0, 0, 0);
        pDC->DrawText(strText, rcCalc,
                      (nFormat & ~(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) | DT_CALCRECT);
        return rcCalc.Size();
    }
    if (!bEnabled && !bSelected && m_bEmbossedDisabledText)
    {
        const COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_3DHIGHLIGHT));
        CRect rcShadow = rc;
        rcShadow.OffsetRect(DpiX(1), DpiY(1));
        pDC->DrawText(strText, rcShadow, nFormat);
        pDC->SetTextColor(clrOld);
    }
    pDC->DrawText(strText, rc, nFormat);
    return CSize(0, 0);
}

// Lines and frames.

void CQVTPaintManager::HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr)
{
    pDC->FillSolidRect(x0, y, x1 - x0, 1, clr);
}

void CQVTPaintManager::VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr)
{
    pDC->FillSolidRect(x, y0, 1, y1 - y0, clr);
}

void CQVTPaintManager::Line(CDC* pDC, CPoint p0, CPoint p1)
{
    pDC->MoveTo(p0);
    pDC->LineTo(p1);
}

void CQVTPaintManager::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen)
{
    const COLORREF clr = GetColor(std::max(0, nPen));
    if (x0 == x1)
        VerticalLine(pDC, x0, std::min(y0, y1), std::max(y0, y1), clr);
    else if (y0 == y1)
        HorizontalLine(pDC, std::min(x0, x1), y0, std::max(x0, x1), clr);
    else
    {
        CQVTPenDC pen(pDC->GetSafeHdc(), clr);
        Line(pDC, CPoint(x0, y0), CPoint(x1, y1));
    }
}

void CQVTPaintManager::DrawRectangleByColors(CDC* pDC, CRect rc, COLORREF clrBorder, COLORREF clrFill)
{
    if (clrFill != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rc, clrFill);
    if (clrBorder != CQVTPaintManagerColor::noColor && clrBorder != clrFill)
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

void CQVTPaintManager::Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush)
{
    const COLORREF clrFill = nBrush == -1 ? CQVTPaintManagerColor::noColor : GetColor(std::max(0, nBrush));
    const COLORREF clrBorder = nPen == -1 ? CQVTPaintManagerColor::noColor : GetColor(std::max(0, nPen));
    if (clrFill != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rc, clrFill);
    if (clrBorder != CQVTPaintManagerColor::noColor &&
        (nPen != nBrush || clrFill == CQVTPaintManagerColor::noColor))
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

void CQVTPaintManager::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight)
{
    pDC->Draw3dRect(rc, GetColor(std::max(0, nTopLeft)), GetColor(std::max(0, nBottomRight)));
}

void CQVTPaintManager::FillDither(CDC* pDC, CRect rc)
{
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap bmp;
    bmp.CreateBitmap(8, 8, 1, 1, kPattern);
    CBrush brush;
    brush.CreatePatternBrush(&bmp);
    const COLORREF clrOldText = pDC->SetTextColor(GetColor(COLOR_3DFACE));
    const COLORREF clrOldBack = pDC->SetBkColor(GetColor(COLOR_3DHIGHLIGHT));
    pDC->FillRect(rc, &brush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBack);
}

// Text on glass and opaque fills.

void CQVTPaintManager::DrawTextApi(CDC* pDC, const CString& str, LPRECT lpRect, UINT nFormat,
                                   BOOL bComposited)
{
    if (!bComposited)
    {
        pDC->DrawText(str, lpRect, nFormat);
        return;
    }
    CQVTWinThemeWrapper theme;
    if (!theme.OpenThemeData(nullptr, _T("GLOBALS")))
    {
        pDC->DrawText(str, lpRect, nFormat);
        return;
    }
    CRect rc(lpRect);
    BP_PAINTPARAMS params = {sizeof(BP_PAINTPARAMS)};
    HDC hBufferDC = nullptr;
    HPAINTBUFFER hBuffer =
        theme.BeginBufferedPaint(pDC->GetSafeHdc(), &rc, BPBF_TOPDOWNDIB, &params, &hBufferDC);
    if (!hBuffer || !hBufferDC)
    {
        pDC->DrawText(str, lpRect, nFormat);
        return;
    }
    ::BitBlt(hBufferDC, rc.left, rc.top, rc.Width(), rc.Height(), pDC->GetSafeHdc(), rc.left, rc.top,
             SRCCOPY);
    HGDIOBJ hOldFont = ::SelectObject(hBufferDC, ::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
    DTTOPTS options = {sizeof(DTTOPTS)};
    options.dwFlags = DTT_TEXTCOLOR | DTT_COMPOSITED;
    options.crText = pDC->GetTextColor();
    theme.DrawThemeTextEx(hBufferDC, 0, 0, str, str.GetLength(), nFormat, &rc, &options);
    ::SelectObject(hBufferDC, hOldFont);
    theme.EndBufferedPaint(hBuffer, TRUE);
}

void AFX_CDECL CQVTPaintManager::FillCompositeRect(CDC* pDC, LPCRECT lpRect, COLORREF clr)
{
    DibCopy copy(pDC, CRect(lpRect));
    if (!copy.IsValid())
        return;
    const DWORD pixel = PixelOf(clr, 0xFF);
    for (int i = 0; i < copy.Count(); ++i)
        copy.Bits()[i] = pixel;
    copy.WriteBack(pDC);
}

void AFX_CDECL CQVTPaintManager::FillCompositeAlpha(CDC* pDC, LPCRECT lpRect)
{
    DibCopy copy(pDC, CRect(lpRect));
    if (!copy.IsValid())
        return;
    for (int i = 0; i < copy.Count(); ++i)
        copy.Bits()[i] |= 0xFF000000;
    copy.WriteBack(pDC);
}

void AFX_CDECL CQVTPaintManager::DrawAntialiasedCircle(CDC* pDC, CRect rc, COLORREF clrBorder,
                                                       COLORREF clrFill)
{
    if (rc.IsRectEmpty() || rc.Width() != rc.Height())
        return;
    DibCopy copy(pDC, rc);
    if (!copy.IsValid())
        return;
    const double cx = (rc.left + rc.right - 1) / 2.0 - rc.left;
    const double cy = (rc.top + rc.bottom - 1) / 2.0 - rc.top;
    const double r = (rc.Width() - 1) / 2.0 - 0.25;
    for (int y = 0; y < rc.Height(); ++y)
        for (int x = 0; x < rc.Width(); ++x)
        {
            const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            DWORD& pixel = copy.Bits()[y * rc.Width() + x];
            if (d < r - 1)
                pixel = PixelOf(clrFill, 0);
            else if (d <= r + 1)
            {
                const COLORREF clrOther = d < r ? clrFill : ColorOf(pixel);
                pixel = PixelOf(Mix(clrBorder, clrOther, std::fabs(d - r)), 0);
            }
        }
    copy.WriteBack(pDC);
}

void AFX_CDECL CQVTPaintManager::SplitCaptionInTwoLines(const CString& strCaption, CString& strFirst,
                                                        CString& strSecond)
{
    strFirst = strCaption;
    strSecond.Empty();
    const int nLength = strCaption.GetLength();
    if (strCaption.Find(_T(' '), 1) < 1)
        return;
    const int m = nLength / 2;
    // Tried in the order m, m + 1, m - 1, m + 2, m - 2, ...: upward while
    // below 2m, downward while at 1 or later.
    for (int k = 0;; ++k)
    {
        BOOL bAny = FALSE;
        const int nUp = m + k;
        if (nUp < 2 * m && nUp < nLength)
        {
            bAny = TRUE;
            if (strCaption[nUp] == _T(' '))
            {
                strFirst = strCaption.Left(nUp);
                strSecond = strCaption.Mid(nUp + 1);
                return;
            }
        }
        const int nDown = m - k;
        if (k > 0 && nDown >= 1)
        {
            bAny = TRUE;
            if (strCaption[nDown] == _T(' '))
            {
                strFirst = strCaption.Left(nDown);
                strSecond = strCaption.Mid(nDown + 1);
                return;
            }
        }
        if (!bAny)
            return;
    }
}

// Icon sizes.

CSize CQVTPaintManager::GetAutoIconSize(BOOL bLarge) const
{
    if (!m_bAutoResizeIcons)
        return bLarge ? CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))
                      : CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    int h = GetControlHeightForIcons() - 4;
    if (bLarge)
        h *= 2;
    const int n = std::max(2, h / 8);
    return CSize(8 * n, 8 * n);
}

int CQVTPaintManager::GetControlHeightForIcons() const
{
    return std::max(18, m_nControlHeight);
}

BOOL CQVTPaintManager::IsCommandBarsIconDpiScaling(CQVTCommandBars* pCommandBars) const
{
    if (pCommandBars && pCommandBars->GetCommandBarsOptions())
        return pCommandBars->GetCommandBarsOptions()->IsDpiScalingEnabled();
    return TRUE;
}

BOOL CQVTPaintManager::IsControlIconDpiScaling(CQVTControl* pControl) const
{
    return IsCommandBarsIconDpiScaling(pControl ? pControl->GetCommandBars() : nullptr);
}

CSize AFX_CDECL CQVTPaintManager::AspectFitImage(CSize szImage, CSize szRequest)
{
    if (szImage.cx <= 0 || szImage.cy <= 0)
        return szRequest;
    const int cx = QVTDpiScaler()->ScaleX(szImage.cx);
    const int cy = QVTDpiScaler()->ScaleY(szImage.cy);
    const int h = cy * szRequest.cx / cx;
    if (h > szRequest.cy + 1)
        return CSize(cx * szRequest.cy / cy, szRequest.cy);
    return CSize(szRequest.cx, h);
}

CSize AFX_CDECL CQVTPaintManager::FitImageToBox(CSize szImage, CSize szBox, int nMargin, BOOL bScale)
{
    if (szImage.cx <= 0 || szImage.cy <= 0)
        return szBox;
    const CSize szRoom(szBox.cx - 2 * nMargin, szBox.cy - 2 * nMargin);
    if (bScale)
    {
        const CSize szScaled(std::min<int>(QVTDpiScaler()->ScaleX(szImage.cx), szRoom.cx),
                             std::min<int>(QVTDpiScaler()->ScaleY(szImage.cy), szRoom.cy));
        return AspectFitImage(szImage, szScaled);
    }
    if (szImage.cx < szRoom.cx && szImage.cy < szRoom.cy)
        return szImage;
    return AspectFitImage(szImage, szRoom);
}

CSize CQVTPaintManager::GetControlIconSize(CQVTImageManagerIcon* pImage, CSize szIcon, CQVTControl* pControl,
                                           CSize szButton)
{
    CSize sz = szIcon;
    if (pImage && pImage->IsVectorIcon() && pImage->GetWidth() > 0)
        sz = CSize(pImage->GetWidth(), pImage->GetHeight() > 0 ? pImage->GetHeight() : pImage->GetWidth());
    if (IsControlIconDpiScaling(pControl))
        sz = QVTDpiScaler()->ScaleSize(sz);
    if (szButton.cx > 0 && szButton.cy > 0)
    {
        sz.cx = std::min(sz.cx, szButton.cx);
        sz.cy = std::min(sz.cy, szButton.cy);
    }
    return sz;
}

// Popup animation.

void CQVTPaintManager::Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType)
{
    const int n = m_nAnimationSteps;
    if (n < 1)
        return;
    const int nPause = std::max(0, m_nAnimationTime / n);
    const int w = rc.Width();
    const int h = rc.Height();
    switch (nType)
    {
    case qvtAnimateUnfold:
        for (int k = 1; k <= n; ++k)
        {
            const int cx = w * k / n;
            const int cy = h * k / n;
            pDestDC->BitBlt(rc.left, rc.top, cx, cy, pSrcDC, rc.right - cx, rc.bottom - cy, SRCCOPY);
            ::Sleep(nPause);
        }
        break;
    case qvtAnimateSlide:
        for (int k = 1; k <= n; ++k)
        {
            const int cy = h * k / n;
            pDestDC->BitBlt(rc.left, rc.top, w, cy, pSrcDC, rc.left, rc.top + h - cy, SRCCOPY);
            ::Sleep(nPause);
        }
        break;
    case qvtAnimateFade:
    {
        DibCopy oldPicture(pDestDC, rc);
        DibCopy newPicture(pSrcDC, rc);
        DibCopy frame(pDestDC, rc);
        if (!oldPicture.IsValid() || !newPicture.IsValid() || !frame.IsValid())
            return;
        for (int k = 1; k < n; ++k)
        {
            const DWORD dwStart = ::GetTickCount();
            const DWORD a = 255 * k / n;
            for (int i = 0; i < frame.Count(); ++i)
            {
                const DWORD o = oldPicture.Bits()[i];
                const DWORD v = newPicture.Bits()[i];
                DWORD result = o & 0xFF000000;
                for (int shift = 0; shift < 24; shift += 8)
                {
                    const DWORD c = (((o >> shift) & 0xFF) * (255 - a) + ((v >> shift) & 0xFF) * a) / 256;
                    result |= c << shift;
                }
                frame.Bits()[i] = result;
            }
            frame.WriteBack(pDestDC);
            const DWORD dwSpent = ::GetTickCount() - dwStart;
            if (static_cast<int>(dwSpent) < nPause)
                ::Sleep(nPause - dwSpent);
        }
        break;
    }
    default:
        break;
    }
}

void CQVTPaintManager::AnimateExpanding(CQVTCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bDownward)
{
    const int n = m_nAnimationSteps;
    if (!pBar || n < 1)
        return;
    const int nPause = std::max(0, m_nAnimationTime / n);

    // Runs of visible controls of one state, walked in the animation's
    // direction.
    struct Run
    {
        int top, bottom;
        BOOL bNew;
    };
    std::vector<Run> runs;
    CQVTControls* pControls = pBar->GetControls();
    const int nCount = pControls ? pControls->GetCount() : 0;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTControl* pControl = pControls->GetAt(bDownward ? i : nCount - 1 - i);
        if (!pControl->IsVisible())
            continue;
        const CRect rc = pControl->GetRect();
        const BOOL bNew = pControl->GetUsageMark();
        if (!runs.empty() && runs.back().bNew == bNew)
        {
            runs.back().top = std::min<int>(runs.back().top, rc.top);
            runs.back().bottom = std::max<int>(runs.back().bottom, rc.bottom);
        }
        else
            runs.push_back(Run{rc.top, rc.bottom, bNew});
    }
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    for (int k = 1; k <= n; ++k)
    {
        int y = bDownward ? (runs.empty() ? 0 : runs.front().top) : (runs.empty() ? 0 : runs.front().bottom);
        for (const Run& run : runs)
        {
            const int hSource = run.bottom - run.top;
            const int hDest = run.bNew ? hSource * k / n : hSource;
            if (bDownward)
            {
                pDestDC->StretchBlt(0, y, rcClient.Width(), hDest, pSrcDC, 0, run.top, rcClient.Width(),
                                    hSource, SRCCOPY);
                y += hDest;
            }
            else
            {
                y -= hDest;
                pDestDC->StretchBlt(0, y, rcClient.Width(), hDest, pSrcDC, 0, run.top, rcClient.Width(),
                                    hSource, SRCCOPY);
            }
        }
        ::Sleep(nPause);
    }
}
