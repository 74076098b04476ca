#include "toolkit/themes/office2013/QVTStatusBarThemeOffice2013.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeOffice2013, CQVTStatusBarPaintManager)

CQVTStatusBarThemeOffice2013::CQVTStatusBarThemeOffice2013(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarPaintManager(pPaintManager)
{
}

void CQVTStatusBarThemeOffice2013::RefreshMetrics()
{
    CQVTStatusBarPaintManager::RefreshMetrics();
    LPCTSTR s = _T("CommandBars.StatusBar");
    QVTReadIniColor(m_clrText, s, _T("TextColor"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrTextGray, s, _T("TextGrayColor"), RGB(43, 87, 154));
    QVTReadIniColor(m_clrBackground, s, _T("BackgroundColor"), RGB(43, 87, 154));
    QVTReadIniColor(m_clrButtonBack, s, _T("ButtonBack"), RGB(43, 87, 154));
    QVTReadIniColor(m_clrButtonBackChecked, s, _T("ButtonBackChecked"), RGB(25, 71, 138));
    QVTReadIniColor(m_clrButtonBackPushed, s, _T("ButtonBackPushed"), RGB(25, 71, 138));
    QVTReadIniColor(m_clrButtonBackHighlight, s, _T("ButtonBackHighlight"), RGB(62, 109, 181));
    QVTReadIniColor(m_clrButtonTextChecked, s, _T("ButtonTextChecked"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextPushed, s, _T("ButtonTextPushed"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrButtonTextHighlight, s, _T("ButtonTextHighlight"), RGB(68, 68, 68));
    m_clrGripperLite.SetStandardValue(m_clrBackground.GetStandardValue());
    m_clrGripperDark.SetStandardValue(m_clrBackground.GetStandardValue());
}

void CQVTStatusBarThemeOffice2013::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    if (!pDC || !pBar || m_clrBackground.GetValue() == CQVTPaintManagerColor::noColor)
        return;
    CRect rc;
    pBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrBackground);
}

COLORREF CQVTStatusBarThemeOffice2013::GetButtonBack(BOOL bPressed, BOOL bHot, BOOL bChecked) const
{
    if (bPressed)
        return m_clrButtonBackPushed;
    if (bHot)
        return m_clrButtonBackHighlight;
    if (bChecked)
        return m_clrButtonBackChecked;
    return m_clrButtonBack;
}

void CQVTStatusBarThemeOffice2013::DrawPaneButton(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane)
{
    if (!pDC || !pPane)
        return;
    const COLORREF clr = GetButtonBack(pPane->IsPressed(), pPane->IsHot(), pPane->IsPopOut());
    if (clr != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rcItem, clr);
}

COLORREF CQVTStatusBarThemeOffice2013::GetPaneTextColor(CQVTStatusBarPane* pPane)
{
    if (!pPane)
        return m_clrText;
    if (pPane->IsPressed())
        return m_clrButtonTextPushed;
    if (pPane->IsPopOut())
        return m_clrButtonTextChecked;
    if (pPane->IsHot())
        return m_clrButtonTextHighlight;
    return m_clrText;
}

int CQVTStatusBarThemeOffice2013::DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane)
{
    if (!pPane)
        return 0;
    const int cxSwitch = CQVTPaintManager::DpiX(38);
    if (!pDC)
        return cxSwitch * pPane->GetSwitchCount();
    CQVTStatusBar* pBar = pPane->GetStatusBar();
    CQVTImageManager* pImageManager = pBar ? pBar->GetImageManager() : QVTImageManager();
    const BOOL bEnabled = pPane->IsEnabled();
    int x = rcItem.left;
    for (int i = 0; i < pPane->GetSwitchCount(); ++i)
    {
        const CQVTStatusBarSwitchPane::SWITCH* pSwitch = pPane->GetSwitch(i);
        const CRect rc(x, rcItem.top, x + cxSwitch, rcItem.bottom);
        x += cxSwitch;
        const COLORREF clr = GetButtonBack(pSwitch->bPressed, pSwitch->bHot, pSwitch->bChecked);
        if (clr != CQVTPaintManagerColor::noColor)
            pDC->FillSolidRect(rc, clr);
        CQVTImageManagerIcon* pIcon = pImageManager && pSwitch->nIconId > 0
                                          ? pImageManager->GetImage(static_cast<UINT>(pSwitch->nIconId), 0)
                                          : nullptr;
        if (!pIcon)
            continue;
        const CSize szIcon(pIcon->GetWidth(), pIcon->GetHeight());
        const int nState = !bEnabled           ? qvtImageDisabled
                           : pSwitch->bChecked ? qvtImageChecked
                                               : qvtImageNormal;
        pIcon->DrawInStateSized(
            pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2),
            szIcon, nState);
    }
    return x - rcItem.left;
}
