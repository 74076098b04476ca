#include "toolkit/ribbon/paint/QVTRibbonStatusBarTheme.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

IMPLEMENT_DYNAMIC(CQVTRibbonStatusBarTheme, CQVTStatusBarThemeResource)

namespace QVTRibbonStatusBarDetail {
const COLORREF kRibbonStatusKeyColor = RGB(0xFF, 0x00, 0xFF);
const int kRibbonSwitchFrames = 6;
}  // namespace QVTRibbonStatusBarDetail

using namespace QVTRibbonStatusBarDetail;

CQVTRibbonStatusBarTheme::CQVTRibbonStatusBarTheme(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarThemeResource(pPaintManager)
{
}

void CQVTRibbonStatusBarTheme::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    CQVTResourceImage* pLight = pTheme ? pTheme->LoadImage(_T("STATUSBARLIGHT")) : nullptr;
    CQVTResourceImage* pDark = pTheme ? pTheme->LoadImage(_T("STATUSBARDARK")) : nullptr;
    if (!pLight || !pDark || !pDC || !pBar)
    {
        CQVTStatusBarThemeResource::FillStatusBar(pDC, pBar);
        return;
    }
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    // The dark part starts at the first visible dark pane and runs to the
    // right end.
    int nDarkLeft = rcClient.right;
    for (int i = 0; i < pBar->GetPaneCount(); ++i)
    {
        CQVTStatusBarPane* pPane = pBar->GetPane(i);
        if (pPane->IsVisible() && pPane->IsDarkFace() && !pPane->GetRect().IsRectEmpty())
        {
            nDarkLeft = pPane->GetRect().left;
            break;
        }
    }
    pLight->DrawImageStretched(pDC, CRect(rcClient.left, rcClient.top, nDarkLeft, rcClient.bottom),
                               pLight->GetSource(0, 1));
    if (nDarkLeft >= rcClient.right)
        return;
    CQVTResourceImage* pDivider = pTheme->LoadImage(_T("STATUSBARDEVIDER"));
    int x = nDarkLeft;
    if (pDivider)
    {
        const CRect rcSource = pDivider->GetSource(0, 1);
        const int cx = CQVTPaintManager::DpiX(rcSource.Width());
        pDivider->DrawImageStretched(pDC, CRect(x, rcClient.top, x + cx, rcClient.bottom), rcSource);
        x += cx;
    }
    pDark->DrawImageStretched(pDC, CRect(x, rcClient.top, rcClient.right, rcClient.bottom),
                              pDark->GetSource(0, 1));
}

void CQVTRibbonStatusBarTheme::DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane,
                                              BOOL bGripperPane)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    CQVTResourceImage* pSeparator = pTheme ? pTheme->LoadImage(_T("STATUSBARSEPARATOR")) : nullptr;
    if (!pSeparator)
    {
        CQVTStatusBarThemeResource::DrawPaneBorder(pDC, rcItem, pPane, bGripperPane);
        return;
    }
    if ((pPane && pPane->IsButton()) || bGripperPane)
        return;
    const CRect rcSource = pSeparator->GetSource(0, 1);
    const int cx = CQVTPaintManager::DpiX(rcSource.Width());
    pSeparator->DrawImageColorKeyed(
        pDC, CRect(rcItem.right - cx / 2, rcItem.top, rcItem.right - cx / 2 + cx, rcItem.bottom), rcSource,
        CRect(0, 0, 0, 0), kRibbonStatusKeyColor);
}

int CQVTRibbonStatusBarTheme::DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    CQVTResourceImage* pSwitches = pTheme && pDC ? pTheme->LoadImage(_T("STATUSBARSWITCHES")) : nullptr;
    if (!pSwitches || !pPane)
        return CQVTStatusBarThemeResource::DrawSwitchPane(pDC, rcItem, pPane);
    const int cxSwitch = CQVTPaintManager::DpiX(18);
    CQVTStatusBar* pBar = pPane->GetStatusBar();
    CQVTImageManager* pImageManager = pBar ? pBar->GetImageManager() : QVTImageManager();
    const BOOL bEnabled = pPane->IsEnabled();
    int x = rcItem.left;
    for (int i = 0; i < pPane->GetSwitchCount(); ++i)
    {
        const CQVTStatusBarSwitchPane::SWITCH* pSwitch = pPane->GetSwitch(i);
        const CRect rc(x, rcItem.top, x + cxSwitch, rcItem.bottom);
        x += cxSwitch;
        // Frames: 0 idle, 1 hot, 2 pressed, 3 checked, 4 checked and hot,
        // 5 checked and pressed.
        int nFrame = 0;
        if (bEnabled)
            nFrame = (pSwitch->bChecked ? 3 : 0) + (pSwitch->bPressed ? 2 : pSwitch->bHot ? 1 : 0);
        else if (pSwitch->bChecked)
            nFrame = 3;
        if (nFrame > 0)
            pSwitches->DrawImageColorKeyed(pDC, rc, pSwitches->GetSource(nFrame, kRibbonSwitchFrames),
                                           CRect(2, 2, 2, 2), kRibbonStatusKeyColor);
        CQVTImageManagerIcon* pIcon = pImageManager && pSwitch->nIconId > 0
                                          ? pImageManager->GetImage(static_cast<UINT>(pSwitch->nIconId), 0)
                                          : nullptr;
        if (!pIcon)
            continue;
        const CSize szIcon(CQVTPaintManager::DpiX(pIcon->GetWidth()),
                           CQVTPaintManager::DpiY(pIcon->GetHeight()));
        pIcon->DrawInStateSized(
            pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2),
            szIcon, bEnabled ? 0 : 1);
    }
    return x - rcItem.left;
}
