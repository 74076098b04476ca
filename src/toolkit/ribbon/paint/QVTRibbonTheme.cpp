#include "toolkit/ribbon/paint/QVTRibbonTheme.h"

#include <cstring>
#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/themes/frame/QVTRibbonOffice2007FrameTheme.h"
#include "toolkit/ribbon/paint/QVTRibbonStatusBarTheme.h"

IMPLEMENT_DYNAMIC(CQVTRibbonTheme, CQVTResourceTheme)

namespace QVTRibbonThemeDetail {
const COLORREF kRibbonThemeNoColor = 0xFFFFFFFF;
const COLORREF kRibbonThemeKeyColor = RGB(0xFF, 0x00, 0xFF);
}  // namespace QVTRibbonThemeDetail

using namespace QVTRibbonThemeDetail;

CQVTRibbonTheme::CQVTRibbonTheme()
    : m_clrEditNormal(kRibbonThemeNoColor), m_clrEditSelected(RGB(255, 255, 255)),
      m_clrEditDisabledBorder(kRibbonThemeNoColor), m_clrMenuSeparator(RGB(197, 197, 197)),
      m_clrRibbonText(kRibbonThemeNoColor), m_clrRibbonGrayText(RGB(141, 141, 141)),
      m_clrMenuGripperShadow(RGB(197, 197, 197)), m_bNoGroupSpacing(FALSE)
{
    // Ribbon frames are drawn from the scheme's images, and may take the
    // status bar into their bottom border.
    m_pFramePaintManager = new CQVTRibbonOffice2007FrameTheme(this);
    m_pFramePaintManager->m_bAllowStatusBarInFrame = TRUE;
    m_strOfficeFont = _T("Segoe UI");
    m_bUseOfficeFont = TRUE;
    // Wider menu gaps and split arrows, and a status bar a pixel taller.
    m_nPopupTextGap = QVTDpiScaler()->ScaleX(12);
    m_nPopupSplitArrowWidth = QVTDpiScaler()->ScaleX(26);
    m_nStatusBarMinHeight = QVTDpiScaler()->ScaleY(22);
    m_rcStatusBarPadding.SetRect(0, 0, 0, QVTDpiScaler()->ScaleY(1));
    SetStatusBarPaintManager(new CQVTRibbonStatusBarTheme(this));
    RefreshMetrics();
}

BOOL CQVTRibbonTheme::IsImagesLoaded() const
{
    return m_pImages && m_pImages->IsValid();
}

void CQVTRibbonTheme::RefreshMetrics()
{
    CQVTResourceTheme::RefreshMetrics();
    if (!IsImagesLoaded())
        return;
    CQVTResourceImages* pImages = m_pImages;
    auto color = [pImages](LPCTSTR lpszKey, COLORREF clrDefault) {
        return pImages->GetIniColor(_T("Ribbon"), lpszKey, clrDefault);
    };
    m_bNoGroupSpacing = pImages->GetIniInt(_T("Ribbon"), _T("GroupSpacing"), -1) == 0;
    if (m_pFramePaintManager)
    {
        m_pFramePaintManager->m_bAllowStatusBarInFrame = !m_bNoGroupSpacing;
        m_pFramePaintManager->m_bFrameStatusBar = m_bNoGroupSpacing;
    }
    m_arrColor[46].SetStandardValue(color(_T("GroupClientText"), kRibbonThemeNoColor));
    m_arrColor[60].SetStandardValue(RGB(141, 141, 141));
    m_clrEditNormal = color(_T("ControlEditNormal"), kRibbonThemeNoColor);
    m_clrEditSelected = color(_T("ControlEditSelected"), RGB(255, 255, 255));
    m_arrColor[44].SetStandardValue(color(_T("MenuPopupText"), kRibbonThemeNoColor));
    m_clrMenuGripper.SetStandardValue(color(_T("MenuPopupGripper"), kRibbonThemeNoColor));
    m_grcMenuExpandedGripper.SetStandardValues(
        color(_T("MenuPopupExpandedGripperLight"), kRibbonThemeNoColor),
        color(_T("MenuPopupExpandedGripperDark"), kRibbonThemeNoColor), 0.5f);
    m_arrColor[35].SetStandardValue(RGB(167, 167, 167));
    m_arrColor[45].SetStandardValue(color(_T("ControlHighlightText"), kRibbonThemeNoColor));
    m_arrColor[43].SetStandardValue(RGB(134, 134, 134));
    m_arrColor[41].SetStandardValue(RGB(250, 250, 250));
    m_clrMenuSeparator = color(_T("MenuPopupSeparator"), RGB(197, 197, 197));
    m_clrRibbonText = color(_T("RibbonText"), kRibbonThemeNoColor);
    m_clrRibbonGrayText = color(_T("RibbonGrayText"), RGB(141, 141, 141));
    m_clrMenuGripperShadow = color(_T("MenuPopupGripperShadow"), RGB(197, 197, 197));
    m_clrEditDisabledBorder =
        pImages->GetIniColor(_T("Toolbar"), _T("ControlEditDisabledBorder"), GetColor(53));
    CreateGradientGlyph();
}

BOOL CQVTRibbonTheme::DrawFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames,
                                CRect rcMargins, BOOL bKeyed)
{
    CQVTResourceImage* pImage = LoadImage(lpszImage);
    if (!pImage)
        return FALSE;
    pImage->DrawFrame(pDC, rc, nFrame, nFrames, rcMargins, bKeyed ? kRibbonThemeKeyColor : CLR_NONE);
    return TRUE;
}

void CQVTRibbonTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                    BOOL bChecked, BOOL bPopuped, int barType, int barPosition)
{
    if (!IsImagesLoaded())
    {
        CQVTResourceTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, barType,
                                         barPosition);
        return;
    }
    const BOOL bSmall = rc.Height() < QVTDpiScaler()->ScaleY(33);
    if (barType == qvtBarTypePopup || barPosition == qvtBarPopup)
    {
        if (bChecked)
        {
            DrawFrame(pDC, _T("MENUCHECKEDITEM"), rc, bEnabled ? 0 : 1, 2, CRect(2, 2, 2, 2), TRUE);
            return;
        }
        if (!bSelected)
        {
            CQVTCommandBarsOffice2003Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked,
                                                          bPopuped, barType, barPosition);
            return;
        }
        if (!bEnabled && bSelected != 2 && bSelected != 3)
            return;
        LPCTSTR lpszImage =
            bEnabled ? (bSmall ? _T("MENUSELECTEDITEM22") : _T("MENUSELECTEDITEM54"))
                     : (bSmall ? _T("MENUSELECTEDDISABLEDITEM22") : _T("MENUSELECTEDDISABLEDITEM54"));
        DrawFrame(pDC, lpszImage, rc, 0, 1, CRect(4, 4, 4, 4), FALSE);
        return;
    }
    const int nFrame = ToolbarButtonFrame(bSelected, bPressed, bEnabled, bChecked, bPopuped);
    if (nFrame < 0)
        return;
    DrawFrame(pDC, bSmall ? _T("TOOLBARBUTTONS22") : _T("TOOLBARBUTTONS50"), rc, nFrame, 4, CRect(8, 8, 8, 8),
              TRUE);
}

int CQVTRibbonTheme::ToolbarButtonFrame(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                        BOOL bPopuped)
{
    if (!bEnabled)
        return (bSelected == 2 || bSelected == 3) ? 0 : -1;
    if (bPopuped)
        return 2;
    if (bChecked && !bPressed)
        return bSelected ? 3 : 2;
    if (bPressed == 2 || bPressed == 3)
        return 1;
    if (bSelected && bPressed)
        return 1;
    if (bSelected || bPressed)
        return 0;
    return -1;
}

CSize CQVTRibbonTheme::DrawMark(CDC* pDC, LPCTSTR lpszImage, int nFrames, CRect rc, BOOL bDraw,
                                BOOL bSelected, BOOL bPressed, int nChecked, BOOL bEnabled)
{
    const CSize sz(QVTDpiScaler()->ScaleX(13), QVTDpiScaler()->ScaleY(13));
    if (!bDraw)
        return sz;
    int nFrame = !bEnabled ? 3 : (bSelected && bPressed ? 2 : (bSelected ? 1 : 0));
    if (nChecked == 1)
        nFrame += 4;
    else if (nChecked == 2 && nFrames == 12)
        nFrame += 8;
    const CRect rcMark(CPoint(rc.left, rc.CenterPoint().y - sz.cy / 2), sz);
    DrawFrame(pDC, lpszImage, rcMark, nFrame, nFrames, CRect(0, 0, 0, 0), TRUE);
    return sz;
}

CSize CQVTRibbonTheme::DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                               int nChecked, BOOL bEnabled)
{
    if (!IsImagesLoaded() || !LoadImage(_T("TOOLBARBUTTONCHECKBOX")))
        return CQVTResourceTheme::DrawControlCheckBoxMark(pDC, rc, bDraw, bSelected, bPressed, nChecked,
                                                          bEnabled);
    return DrawMark(pDC, _T("TOOLBARBUTTONCHECKBOX"), 12, rc, bDraw, bSelected, bPressed, nChecked, bEnabled);
}

CSize CQVTRibbonTheme::DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected,
                                                  BOOL bPressed, int nChecked, BOOL bEnabled)
{
    if (!IsImagesLoaded() || !LoadImage(_T("TOOLBARBUTTONRADIOBUTTON")))
        return CQVTResourceTheme::DrawControlRadioButtonMark(pDC, rc, bDraw, bSelected, bPressed, nChecked,
                                                             bEnabled);
    return DrawMark(pDC, _T("TOOLBARBUTTONRADIOBUTTON"), 8, rc, bDraw, bSelected, bPressed, nChecked ? 1 : 0,
                    bEnabled);
}

void CQVTRibbonTheme::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    CQVTResourceImage* pImage = IsImagesLoaded() ? LoadImage(_T("MENUCHECKEDITEMMARK")) : nullptr;
    if (!pImage)
    {
        CQVTResourceTheme::DrawCheckMark(pDC, rc, clr, bEnabled);
        return;
    }
    const CRect rcSrc = pImage->GetSource(bEnabled ? 0 : 1, 4);
    const CSize sz(QVTDpiScaler()->ScaleX(rcSrc.Width()), QVTDpiScaler()->ScaleY(rcSrc.Height()));
    const CRect rcDest(CPoint(rc.CenterPoint().x - sz.cx / 2, rc.CenterPoint().y - sz.cy / 2), sz);
    pImage->DrawImageColorKeyed(pDC, rcDest, rcSrc, CRect(0, 0, 0, 0), kRibbonThemeKeyColor);
}

void CQVTRibbonTheme::DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    CQVTResourceImage* pImage = IsImagesLoaded() ? LoadImage(_T("MENUCHECKEDITEMMARK")) : nullptr;
    if (!pImage)
    {
        CQVTResourceTheme::DrawRadioMark(pDC, rc, clr, bEnabled);
        return;
    }
    const CRect rcSrc = pImage->GetSource(bEnabled ? 2 : 3, 4);
    const CSize sz(QVTDpiScaler()->ScaleX(rcSrc.Width()), QVTDpiScaler()->ScaleY(rcSrc.Height()));
    const CRect rcDest(CPoint(rc.CenterPoint().x - sz.cx / 2, rc.CenterPoint().y - sz.cy / 2), sz);
    pImage->DrawImageColorKeyed(pDC, rcDest, rcSrc, CRect(0, 0, 0, 0), kRibbonThemeKeyColor);
}

COLORREF CQVTRibbonTheme::GetControlEditBackColor(CQVTControl* pControl)
{
    if (!IsImagesLoaded())
        return CQVTResourceTheme::GetControlEditBackColor(pControl);
    if (!pControl->GetEnabled())
        return GetColor(COLOR_3DFACE);
    if (pControl->GetSelected())
        return m_clrEditSelected;
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetPosition() == qvtBarPopup)
        return GetColor(41);
    return m_clrEditNormal != kRibbonThemeNoColor ? m_clrEditNormal
                                                  : CQVTResourceTheme::GetControlEditBackColor(pControl);
}

COLORREF CQVTRibbonTheme::GetControlTextColor(CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (IsImagesLoaded() && pBar && pBar->IsRibbonBar() && !pControl->GetRibbonGroup() &&
        !pControl->GetSelected() && !pControl->GetPressed() && !pControl->GetPopuped())
    {
        if (!pControl->GetEnabled())
            return m_clrRibbonGrayText;
        CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
        if (pRibbonPaintManager && pRibbonPaintManager->IsControlOnGlass(pControl))
            return 0;
        if (m_clrRibbonText != kRibbonThemeNoColor)
            return m_clrRibbonText;
    }
    return CQVTResourceTheme::GetControlTextColor(pControl);
}

void CQVTRibbonTheme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    if (!IsImagesLoaded() || pBar->IsRibbonBar())
    {
        CQVTResourceTheme::FillCommandBarEntry(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    if (pBar->IsFrameCompositionActive())
    {
        pDC->FillSolidRect(rc, 0);
        return;
    }
    const int nPosition = pBar->GetPosition();
    LPCTSTR lpszImage = nullptr;
    CRect rcMargins(5, 5, 5, 5);
    if (nPosition == qvtBarPopup)
    {
        lpszImage = _T("POPUPBARFRAME");
        rcMargins.SetRect(4, 4, 4, 4);
    }
    else if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
        lpszImage = _T("TOOLBARFACEHORIZONTAL");
    else if (nPosition == qvtBarLeft || nPosition == qvtBarRight)
        lpszImage = _T("TOOLBARFACEVERTICAL");
    if (!lpszImage || !DrawFrame(pDC, lpszImage, rc, 0, 1, rcMargins, FALSE))
        CQVTResourceTheme::FillCommandBarEntry(pDC, pBar);
}

void AFX_CDECL CQVTRibbonTheme::SetPopupRegion(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return;
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    const int w = rcWindow.Width();
    const int h = rcWindow.Height();
    const int cx = QVTDpiScaler()->ScaleX(1);
    const int cy = QVTDpiScaler()->ScaleY(1);
    const RECT rects[3] = {{cx, 0, w - cx, cy}, {0, cy, w, h - cy}, {cx, h - cy, w - cx, h}};
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + sizeof(rects));
    RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = 3;
    pData->rdh.nRgnSize = sizeof(rects);
    pData->rdh.rcBound = {0, 0, w, h};
    memcpy(pData->Buffer, rects, sizeof(rects));
    HRGN hRegion = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), pData);
    if (hRegion && !::SetWindowRgn(pWnd->GetSafeHwnd(), hRegion, FALSE))
        ::DeleteObject(hRegion);
}

void CQVTRibbonTheme::SetCommandBarRegion(CQVTCommandBar* pBar)
{
    if (pBar && pBar->GetPosition() == qvtBarPopup && IsImagesLoaded())
        SetPopupRegion(pBar);
}

void CQVTRibbonTheme::DrawTooltipFrame(CDC* pDC, CWnd* pToolTip, BOOL bFlag, BOOL bInfoColor)
{
    if (!IsImagesLoaded() || !pToolTip || !pToolTip->GetSafeHwnd())
    {
        CQVTResourceTheme::DrawTooltipFrame(pDC, pToolTip, bFlag, bInfoColor);
        return;
    }
    if (bFlag)
    {
        SetPopupRegion(pToolTip);
        return;
    }
    CRect rc;
    pToolTip->GetClientRect(&rc);
    const COLORREF clrLight = m_pImages->GetIniColor(_T("Window"), _T("TooltipLight"), RGB(255, 255, 255));
    const COLORREF clrDark = m_pImages->GetIniColor(_T("Window"), _T("TooltipDark"), clrLight);
    QVTDrawHelpers()->GradientFill(pDC, rc, clrLight, clrDark, FALSE);
    if (!DrawFrame(pDC, _T("TOOLTIPFRAME"), rc, 0, 1, CRect(3, 3, 3, 3), TRUE))
    {
        const COLORREF clrBorder =
            m_pImages->GetIniColor(_T("Window"), _T("TooltipBorder"), GetColor(COLOR_3DSHADOW));
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CQVTFontDC font(pDC, GetStatusFont(), GetColor(bInfoColor ? 18 : 17));
    CString strText;
    pToolTip->GetWindowText(strText);
    pDC->DrawText(strText, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
}
