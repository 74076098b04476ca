#include "toolkit/themes/resource/QVTStatusBarThemeResource.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeResource, CQVTStatusBarThemeOffice2003)

namespace {
using QVTResourceThemeColors::kKey;
}

CQVTStatusBarThemeResource::CQVTStatusBarThemeResource(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarThemeOffice2003(pPaintManager)
{
}

CQVTResourceTheme* CQVTStatusBarThemeResource::GetValidTheme() const
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    return pTheme && pTheme->GetResourceImages() && pTheme->GetResourceImages()->IsValid() ? pTheme : nullptr;
}

void CQVTStatusBarThemeResource::RefreshMetrics()
{
    CQVTStatusBarThemeOffice2003::RefreshMetrics();
    CQVTResourceTheme* pTheme = GetValidTheme();
    if (!pTheme)
        return;
    CQVTResourceImages* pImages = pTheme->GetResourceImages();
    m_clrText.SetStandardValue(
        pImages->GetIniColor(_T("StatusBar"), _T("StatusBarText"), GetColorByIndex(COLOR_BTNTEXT)));
    m_clrTextGray.SetStandardValue(
        pImages->GetIniColor(_T("StatusBar"), _T("StatusBarTextGray"), GetColorByIndex(COLOR_GRAYTEXT)));
    m_clrGripperLite.SetStandardValue(
        pImages->GetIniColor(_T("StatusBar"), _T("GripperLite"), RGB(255, 255, 255)));
    m_clrGripperDark.SetStandardValue(
        pImages->GetIniColor(_T("StatusBar"), _T("GripperDark"), pTheme->GetColor(39)));
}

void CQVTStatusBarThemeResource::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    CQVTResourceImage* pLight = pTheme ? pTheme->LoadImage(_T("STATUSBARLIGHT")) : nullptr;
    if (!pLight || !pDC || !pBar)
    {
        CQVTStatusBarThemeOffice2003::FillStatusBar(pDC, pBar);
        return;
    }
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    pLight->DrawImageStretched(pDC, rcClient, pLight->GetSource(0, 1));
    CQVTResourceImage* pDark = pTheme->LoadImage(_T("STATUSBARDARK"));
    if (!pDark)
        return;
    // The last dark pane, with no visible pane after it, reaches the right end.
    int nLastVisible = -1;
    for (int i = 0; i < pBar->GetPaneCount(); ++i)
        if (pBar->GetPane(i)->IsVisible())
            nLastVisible = i;
    for (int i = 0; i < pBar->GetPaneCount(); ++i)
    {
        CQVTStatusBarPane* pPane = pBar->GetPane(i);
        if (!pPane->IsVisible() || !pPane->IsDarkFace())
            continue;
        CRect rcPane = pPane->GetRect();
        if (i == nLastVisible)
            rcPane.right = rcClient.right;
        pDark->DrawImageStretched(pDC, rcPane, pDark->GetSource(0, 1));
    }
}

void CQVTStatusBarThemeResource::DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane,
                                                BOOL bGripperPane)
{
    if (!GetValidTheme())
    {
        CQVTStatusBarThemeOffice2003::DrawPaneBorder(pDC, rcItem, pPane, bGripperPane);
        return;
    }
    if (pPane && pPane->IsButton())
        return;
    const int nBottom = rcItem.bottom - 2;
    if (nBottom <= rcItem.top)
        return;
    pDC->FillSolidRect(rcItem.right - 1, rcItem.top, 1, nBottom - rcItem.top, m_clrGripperDark);
    pDC->FillSolidRect(rcItem.right, rcItem.top, 1, nBottom - rcItem.top, m_clrGripperLite);
}

void CQVTStatusBarThemeResource::DrawGripper(CDC* pDC, CRect rcClient)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    CQVTResourceImage* pGripper = pTheme ? pTheme->LoadImage(_T("STATUSBARGRIPPER")) : nullptr;
    if (!pGripper)
    {
        CQVTStatusBarThemeOffice2003::DrawGripper(pDC, rcClient);
        return;
    }
    const CRect rcSource = pGripper->GetSource(0, 1);
    const CSize sz(CQVTPaintManager::DpiX(rcSource.Width()), CQVTPaintManager::DpiY(rcSource.Height()));
    const CPoint ptBottomRight(rcClient.right - 1, rcClient.bottom - 4);
    pGripper->DrawImageColorKeyed(pDC, CRect(CPoint(ptBottomRight.x - sz.cx, ptBottomRight.y - sz.cy), sz),
                                  rcSource, CRect(0, 0, 0, 0), kKey);
}
