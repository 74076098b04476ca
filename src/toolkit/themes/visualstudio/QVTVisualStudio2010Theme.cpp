#include "toolkit/themes/visualstudio/QVTVisualStudio2010Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/themes/visualstudio/QVTRoundedFrame.h"
#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2010.h"

IMPLEMENT_DYNAMIC(CQVTVisualStudio2010Theme, CQVTCommandBarsOffice2003Theme)

namespace {
#define VS2010_RGB(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

BOOL IsVisualStudio2010Vertical(int nPosition)
{
    return nPosition == qvtBarLeft || nPosition == qvtBarRight;
}
}  // namespace

CQVTVisualStudio2010Theme::CQVTVisualStudio2010Theme()
{
    SetStatusBarPaintManager(new CQVTStatusBarThemeVisualStudio2010(this));
    m_nPopupTextGap = DpiX(10);
    m_pShadowManager->SetShadowOptions(CQVTShadowManager::shadowAlways);
    m_bNoDotHighlight = TRUE;
    m_bNoSeparatorHighlight = TRUE;
    m_bThemedStatusBar = TRUE;
    m_nSeparatorIndent = 2;
}

BOOL CQVTVisualStudio2010Theme::IsVistaOrLater() const
{
    return QVTOSVersion()->IsWinVistaOrGreater();
}

void CQVTVisualStudio2010Theme::RefreshMetrics()
{
    CQVTCommandBarsOffice2003Theme::RefreshMetrics();

    // Every colour the scheme sets of the base could have touched is set
    // here, factors included, so that every scheme looks the same.
    m_grcToolBar.SetStandardValue(VS2010_RGB(0xBCC7D8));
    m_grcDockBar.SetStandardValue(VS2010_RGB(0x9CAAC1));
    m_clrToolbarShadow.SetStandardValue(VS2010_RGB(0xC9D2E1));
    m_clrShadow.SetStandardValue(VS2010_RGB(0x485C7F));
    m_grcPopuped.SetStandardValue(VS2010_RGB(0xE9ECEE));
    m_grcExpandButton.SetStandardValue(VS2010_RGB(0xD5DCE8));
    m_grcExpandedGripper.SetStandardValues(VS2010_RGB(0xCBDDF6), VS2010_RGB(0x79A1DC));
    m_grcPopupedSecond.SetStandardValues(VS2010_RGB(0xE3EFFE), VS2010_RGB(0x81A9E2));
    m_clrTearOff.SetStandardValue(VS2010_RGB(0xA9C7F0));
    // No scheme tint: the plain shadow.
    if (m_pShadowManager)
        m_pShadowManager->SetShadowColor(RGB(0, 0, 0));
    m_grcFace.SetStandardValues(VS2010_RGB(0xDDE3EB), VS2010_RGB(0x5F646C));
    m_arrColor[55].SetStandardValue(QVTColorManager()->GetColor(55));
    m_arrColor[53].SetStandardValue(VS2010_RGB(0x8591A2));
    m_arrColor[51].SetStandardValue(VS2010_RGB(0x9CAAC1));
    m_arrColor[52].SetStandardValue(VS2010_RGB(0x60728C));
    m_arrColor[12].SetStandardValue(VS2010_RGB(0x2F415F));
    m_arrColor[56].SetStandardValue(VS2010_RGB(0xE9ECEE));
    m_arrColor[38].SetStandardValue(VS2010_RGB(0x61738C));
    m_arrColor[39].SetStandardValue(VS2010_RGB(0x8591A2));
    m_arrColor[40].SetStandardValue(VS2010_RGB(0x808080));
    m_arrColor[41].SetStandardValue(VS2010_RGB(0xDDE2E8));
    m_arrColor[43].SetStandardValue(VS2010_RGB(0x9BA7B7));
    m_arrColor[31].SetStandardValue(VS2010_RGB(0xFFF3CE));
    m_arrColor[32].SetStandardValue(VS2010_RGB(0xE7C363));
    for (int nIndex : {50, 37})
        m_arrColor[nIndex].SetStandardValue(VS2010_RGB(0xE5C365));
    m_arrColor[33].SetStandardValue(VS2010_RGB(0xFFEBA5));
    m_arrColor[36].SetStandardValue(VS2010_RGB(0xFFEFBD));
    m_arrColor[30].SetStandardValue(VS2010_RGB(0xBCC7D8));
    m_arrColor[47].SetStandardValue(VS2010_RGB(0x000000));
    for (int nIndex : {35, 58, 60})
        m_arrColor[nIndex].SetStandardValue(VS2010_RGB(0x808080));
    m_arrColor[61].SetStandardValue(m_clrShadow.GetStandardValue());
    m_grcGripper.SetStandardValue(VS2010_RGB(0xE9ECEE));
    m_grcChecked.SetStandardValues(VS2010_RGB(0xFFFBF1), VS2010_RGB(0xFFEEBE));
    m_grcPressed.SetStandardValue(VS2010_RGB(0xFFE8A6));
    m_grcSelected.SetStandardValues(VS2010_RGB(0xFFFCF2), VS2010_RGB(0xFFECB5));
    m_arrColor[46].SetStandardValue(VS2010_RGB(0x1C2A3F));
    m_clrSeparator.SetStandardValue(VS2010_RGB(0xBEC3CB));

    m_bSchemeColors = IsVistaOrLater();
    if (!m_bSchemeColors)
    {
        m_grcDockBar.SetStandardValue(VS2010_RGB(0xADBACE));
        m_grcToolBar.SetStandardValue(VS2010_RGB(0xBDC7DE));
        m_clrToolbarShadow.SetStandardValue(VS2010_RGB(0xCED3E7));
        m_arrColor[41].SetStandardValue(VS2010_RGB(0xEFEFEF));
        m_arrColor[43].SetStandardValue(VS2010_RGB(0x9CA6B5));
        m_arrColor[38].SetStandardValue(VS2010_RGB(0x63718C));
        m_arrColor[39].SetStandardValue(VS2010_RGB(0x8492A5));
        m_arrColor[46].SetStandardValue(VS2010_RGB(0x182839));
        m_clrSeparator.SetStandardValue(VS2010_RGB(0xBDC3CE));
    }
    CreateGradientGlyph();
}

CRect CQVTVisualStudio2010Theme::GetScaledMargins(CQVTCommandBar* pBar)
{
    if (pBar && pBar->GetType() == qvtBarTypePopup && pBar->GetPosition() == qvtBarPopup)
        return CRect(DpiX(3), DpiY(3), DpiX(3), DpiY(3));
    return CQVTCommandBarsOffice2003Theme::GetScaledMargins(pBar);
}

CSize CQVTVisualStudio2010Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                         CQVTControl* pControl, BOOL bDraw)
{
    if (!bDraw || !pControl || pBar->GetType() != qvtBarTypePopup)
        return CQVTCommandBarsOffice2003Theme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    if (pControl->GetWrap())
        VerticalLine(pDC, rcControl.left - DpiX(2), rcRow.top + DpiY(1), rcRow.bottom - DpiY(1),
                     m_clrSeparator);
    else
        HorizontalLine(pDC, rcControl.left - DpiX(1) + GetPopupTextGap() + GetPopupBarGutterWidth(pBar),
                       rcControl.top - DpiY(2), rcControl.right + DpiX(1), m_clrSeparator);
    return CSize(0, 0);
}

void CQVTVisualStudio2010Theme::FillHighlight(CDC* pDC, const CRect& rc)
{
    if (m_bSchemeColors)
        FillGradient(pDC, rc, m_grcSelected, FALSE);
    else
        pDC->FillSolidRect(rc, GetColor(31));
}

void CQVTVisualStudio2010Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                              BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                              int barPosition)
{
    const BOOL bHotOnly = bSelected && !bChecked && !bPressed;
    if (barType == qvtBarTypeMenuBar && bHotOnly && bEnabled && !bPopuped)
    {
        QVTDrawRoundedFrame(pDC, rc, GetColor(32));
        CRect rcFace(rc);
        rcFace.DeflateRect(1, 1);
        CQVTDCSaveState state(pDC);
        for (const CPoint& pt :
             {rcFace.TopLeft(), CPoint(rcFace.right - 1, rcFace.top), CPoint(rcFace.left, rcFace.bottom - 1),
              CPoint(rcFace.right - 1, rcFace.bottom - 1)})
            pDC->ExcludeClipRect(pt.x, pt.y, pt.x + 1, pt.y + 1);
        FillHighlight(pDC, rcFace);
        return;
    }
    if (barType == qvtBarTypePopup && barPosition == qvtBarPopup && bHotOnly)
    {
        CRect rcFace(rc);
        rcFace.DeflateRect(1, 1);
        FillHighlight(pDC, rcFace);
        QVTDrawRoundedFrame(pDC, rc, GetColor(32));
        return;
    }
    CQVTCommandBarsOffice2003Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped,
                                                  barType, barPosition);
}

void CQVTVisualStudio2010Theme::FillDockedToolBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc,
                                                  BOOL bVertical)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    if (pBar->GetParent())
        FillParentBackground(pDC, pBar, ParentRectInBar(pBar));
    // The body: from one pixel in at the leading edge and two along the bar,
    // flat in the toolbar's dark colour, inside a rounded frame.
    const CRect rcBody = bVertical ? CRect(rc.left + 1, rc.top + 2, rc.right - 1, rc.bottom)
                                   : CRect(rc.left + 2, rc.top + 1, rc.right, rc.bottom - 1);
    CRect rcFace(rcBody);
    rcFace.DeflateRect(1, 1);
    pDC->FillSolidRect(rcFace, m_grcToolBar.clrDark);
    QVTDrawRoundedFrame(pDC, rcBody, m_clrToolbarShadow);
}

void CQVTVisualStudio2010Theme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    const int nPosition = pBar->GetPosition();
    CRect rc;
    pBar->GetClientRect(&rc);
    if (pBar->GetType() == qvtBarTypeMenuBar && nPosition != qvtBarFloating && nPosition != qvtBarPopup)
    {
        if (m_bSchemeColors)
            QVTDrawHelpers()->GradientFill(pDC, rc, VS2010_RGB(0xC8D1E0), VS2010_RGB(0xAEB9CD),
                                           IsVisualStudio2010Vertical(nPosition));
        else
            pDC->FillSolidRect(rc, m_grcDockBar.clrDark);
        return;
    }
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
        FillDockedToolBar(pDC, pBar, rc, FALSE);
    else if (IsVisualStudio2010Vertical(nPosition))
        FillDockedToolBar(pDC, pBar, rc, TRUE);
    else
        CQVTCommandBarsOffice2003Theme::FillCommandBarEntry(pDC, pBar);
}

#undef VS2010_RGB
