#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarPaintManager, CObject)

namespace {
// Parts of the "STATUS" visual style.
enum
{
    partBackground = 0,
    partPane = 1,
    partGripperPane = 2,
    partGripper = 3
};

// A button face as toolbar buttons on a bottom bar have it.
void DrawButtonFace(CQVTPaintManager* pPaintManager, CDC* pDC, const CRect& rc, BOOL bHot, BOOL bPressed,
                    BOOL bEnabled, BOOL bChecked)
{
    if (pPaintManager)
        pPaintManager->DrawRectangle(pDC, rc, bHot, bPressed, bEnabled, bChecked, FALSE, qvtBarTypeNormal,
                                     qvtBarBottom);
}
}  // namespace

CQVTStatusBarPaintManager::CQVTStatusBarPaintManager(CQVTPaintManager* pPaintManager)
    : m_pPaintManager(pPaintManager)
{
}

void CQVTStatusBarPaintManager::RefreshMetrics()
{
    m_clrText.SetStandardValue(
        GetResourceImagesIniColor(_T("StatusBar"), _T("TextColor"), ::GetSysColor(COLOR_BTNTEXT)));
    m_clrTextGray.SetStandardValue(
        GetResourceImagesIniColor(_T("StatusBar"), _T("TextGrayColor"), ::GetSysColor(COLOR_GRAYTEXT)));
    m_clrBackground.SetStandardValue(
        GetResourceImagesIniColor(_T("StatusBar"), _T("BackgroundColor"), ::GetSysColor(COLOR_3DFACE)));
    m_clrGripperLite.SetStandardValue(
        GetResourceImagesIniColor(_T("StatusBar"), _T("GripperLite"), ::GetSysColor(COLOR_3DHILIGHT)));
    m_clrGripperDark.SetStandardValue(
        GetResourceImagesIniColor(_T("StatusBar"), _T("GripperDark"), ::GetSysColor(COLOR_3DSHADOW)));
}

HTHEME CQVTStatusBarPaintManager::GetStatusTheme() const
{
    if (!m_pPaintManager || !m_pPaintManager->m_bThemedStatusBar)
        return nullptr;
    return m_pPaintManager->GetStatusBarTheme().GetThemeHandle();
}

void CQVTStatusBarPaintManager::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    if (!pDC || !pBar)
        return;
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    if (GetStatusTheme())
        m_pPaintManager->GetStatusBarTheme().DrawThemeBackground(pDC->GetSafeHdc(), partBackground, 0,
                                                                 rcClient, nullptr);
    else
        pDC->FillSolidRect(rcClient, GetColorByIndex(COLOR_3DFACE));
}

void CQVTStatusBarPaintManager::DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane,
                                               BOOL bGripperPane)
{
    if (GetStatusTheme())
    {
        m_pPaintManager->GetStatusBarTheme().DrawThemeBackground(
            pDC->GetSafeHdc(), bGripperPane ? partGripperPane : partPane, 0, rcItem, nullptr);
        return;
    }
    if (pPane && !pPane->IsButton() && m_pPaintManager)
        m_pPaintManager->Draw3dRect(pDC, rcItem, COLOR_3DSHADOW, COLOR_3DHILIGHT);
}

void CQVTStatusBarPaintManager::DrawPaneSeparator(CDC* pDC, CRect rcItem, CQVTStatusBarPane* /*pPane*/)
{
    if (m_pPaintManager)
        m_pPaintManager->Draw3dRect(pDC, CRect(rcItem.left - 2, rcItem.top, rcItem.left, rcItem.bottom),
                                    COLOR_3DSHADOW, COLOR_3DHILIGHT);
}

void CQVTStatusBarPaintManager::DrawGripper(CDC* pDC, CRect rcClient)
{
    if (GetStatusTheme())
    {
        const CRect rcGripper(rcClient.right - CQVTPaintManager::DpiX(18), rcClient.top, rcClient.right,
                              rcClient.bottom);
        m_pPaintManager->GetStatusBarTheme().DrawThemeBackground(pDC->GetSafeHdc(), partGripper, 0, rcGripper,
                                                                 nullptr);
        return;
    }
    CPen penDark(PS_SOLID, 1, m_clrGripperDark), penLite(PS_SOLID, 1, m_clrGripperLite);
    CPen* pOldPen = pDC->SelectObject(&penDark);
    for (int i = 1; i <= 3; ++i)
    {
        const int n = 4 * i;
        pDC->SelectObject(&penDark);
        pDC->MoveTo(rcClient.right - n, rcClient.bottom - 1);
        pDC->LineTo(rcClient.right, rcClient.bottom - n - 1);
        pDC->SelectObject(&penLite);
        pDC->MoveTo(rcClient.right - n + 1, rcClient.bottom - 1);
        pDC->LineTo(rcClient.right, rcClient.bottom - n);
    }
    pDC->SelectObject(pOldPen);
}

void CQVTStatusBarPaintManager::DrawPaneButton(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane)
{
    if (!pPane)
        return;
    const BOOL bHot = pPane->IsHot();
    if (!bHot && !pPane->IsPressed() && !pPane->IsPopOut())
        return;
    DrawButtonFace(m_pPaintManager, pDC, rcItem, bHot, pPane->IsPressed(), pPane->IsEnabled(),
                   pPane->IsPopOut());
}

COLORREF CQVTStatusBarPaintManager::GetPaneTextColor(CQVTStatusBarPane* pPane)
{
    if (pPane && pPane->IsButton() && (pPane->IsHot() || pPane->IsPressed()) && m_pPaintManager)
        return m_pPaintManager->GetRectangleTextColor(pPane->IsHot(), pPane->IsPressed(), pPane->IsEnabled(),
                                                      pPane->IsPopOut(), FALSE, qvtBarTypeNormal,
                                                      qvtBarBottom);
    return m_clrText;
}

void CQVTStatusBarPaintManager::DrawStatusBarPaneEntry(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane)
{
    if (!pDC || !pPane)
        return;
    if (pPane->GetBackgroundColor() != COLORREF(-1))
    {
        CRect rcFill(rcItem);
        if (pPane->HasBorders())
            rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, pPane->GetBackgroundColor());
    }
    if (pPane->IsButton())
        DrawPaneButton(pDC, rcItem, pPane);

    CQVTFontDC font(pDC, pPane->GetFont());
    CRect rc(rcItem);
    const CRect rcPadding = pPane->GetPadding();
    rc.DeflateRect(rcPadding.left, rcPadding.top, rcPadding.right, rcPadding.bottom);

    const BOOL bEnabled = pPane->IsEnabled();
    COLORREF clrText;
    if (bEnabled)
        clrText = pPane->GetTextColor() != COLORREF(-1) ? pPane->GetTextColor() : GetPaneTextColor(pPane);
    else
        clrText =
            pPane->GetTextGrayColor() != COLORREF(-1) ? pPane->GetTextGrayColor() : COLORREF(m_clrTextGray);
    CQVTStatusBar* pBar = pPane->GetStatusBar();
    const BOOL bShowText = bEnabled || !pBar || pBar->GetDrawDisabledText();
    const CString strText = pPane->GetDisplayText();
    CQVTMarkupUIElement* pMarkup = pPane->GetMarkupElement();

    CQVTImageManagerIcon* pIcon = pPane->GetIcon();
    CSize szIcon(0, 0);
    if (pIcon)
        szIcon = CSize(CQVTPaintManager::DpiX(pIcon->GetWidth()), CQVTPaintManager::DpiY(pIcon->GetHeight()));

    // The icon and text as one block, moved right or to the centre when it fits.
    if (pPane->GetTextAlignment() != 0)
    {
        int cxText = 0;
        if (bShowText && pMarkup)
        {
            MarkupSetDefaultFont(MarkupGetElementContext(pMarkup),
                                 static_cast<HFONT>(pPane->GetFont()->GetSafeHandle()), clrText);
            cxText = MarkupMeasureElement(pMarkup).cx;
        }
        else if (bShowText)
            cxText = pDC->GetTextExtent(strText).cx;
        const int cxBlock = (pIcon ? szIcon.cx + CQVTPaintManager::DpiX(2) : 0) + cxText;
        if (cxBlock < rc.Width())
            rc.left += pPane->GetTextAlignment() == 2 ? rc.Width() - cxBlock : (rc.Width() - cxBlock) / 2;
    }

    if (pIcon)
    {
        const CPoint pt(rc.left, rc.top + (rc.Height() - szIcon.cy) / 2);
        pIcon->DrawInStateSized(pDC, pt, szIcon, bEnabled ? 0 : 1);
        rc.left += szIcon.cx + CQVTPaintManager::DpiX(2);
    }
    if (!bShowText || rc.IsRectEmpty())
        return;
    if (pMarkup)
    {
        MarkupSetDefaultFont(MarkupGetElementContext(pMarkup),
                             static_cast<HFONT>(pPane->GetFont()->GetSafeHandle()), clrText);
        MarkupRenderElement(pMarkup, pDC->GetSafeHdc(), rc);
        return;
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(strText, rc, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}

int CQVTStatusBarPaintManager::DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane)
{
    if (!pPane)
        return 0;
    const int cxSwitch = CQVTPaintManager::DpiX(18);
    if (!pDC)
        return cxSwitch * pPane->GetSwitchCount();
    CQVTStatusBar* pBar = pPane->GetStatusBar();
    CQVTImageManager* pImageManager = pBar ? pBar->GetImageManager() : QVTImageManager();
    int x = rcItem.left;
    for (int i = 0; i < pPane->GetSwitchCount(); ++i)
    {
        const CQVTStatusBarSwitchPane::SWITCH* pSwitch = pPane->GetSwitch(i);
        const CRect rc(x, rcItem.top, x + cxSwitch, rcItem.bottom);
        x += cxSwitch;
        if (pSwitch->bHot || pSwitch->bPressed || pSwitch->bChecked)
            DrawButtonFace(m_pPaintManager, pDC, rc, pSwitch->bHot, pSwitch->bPressed, pPane->IsEnabled(),
                           pSwitch->bChecked);
        CQVTImageManagerIcon* pIcon = pImageManager && pSwitch->nIconId > 0
                                          ? pImageManager->GetImage(static_cast<UINT>(pSwitch->nIconId), 0)
                                          : nullptr;
        if (!pIcon)
            continue;
        const CSize szIcon(CQVTPaintManager::DpiX(pIcon->GetWidth()),
                           CQVTPaintManager::DpiY(pIcon->GetHeight()));
        pIcon->DrawInStateSized(
            pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2),
            szIcon, pPane->IsEnabled() ? 0 : 1);
    }
    return x - rcItem.left;
}
