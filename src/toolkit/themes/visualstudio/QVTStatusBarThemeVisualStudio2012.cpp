#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2012.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeVisualStudio2012, CQVTStatusBarPaintManager)

CQVTStatusBarThemeVisualStudio2012::CQVTStatusBarThemeVisualStudio2012(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarPaintManager(pPaintManager)
{
}

void CQVTStatusBarThemeVisualStudio2012::RefreshMetrics()
{
    CQVTStatusBarPaintManager::RefreshMetrics();
    const LPCTSTR lpszSection = _T("StatusBar");
    const COLORREF clrBack = GetResourceImagesIniColor(lpszSection, _T("BackgroundColor"), RGB(1, 120, 208));
    m_clrBackground.SetCustomValue(clrBack);
    m_clrTextGray.SetCustomValue(GetResourceImagesIniColor(lpszSection, _T("TextGrayColor"), clrBack));
    m_clrGripperLite.SetCustomValue(
        GetResourceImagesIniColor(lpszSection, _T("GripperLite"), RGB(84, 191, 255)));
    m_clrGripperDark.SetCustomValue(
        GetResourceImagesIniColor(lpszSection, _T("GripperDark"), RGB(0, 91, 158)));
}

void CQVTStatusBarThemeVisualStudio2012::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    if (!pDC || !pBar)
        return;
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    if (m_clrBackground.GetValue() != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rcClient, m_clrBackground);
}

void CQVTStatusBarThemeVisualStudio2012::DrawGripper(CDC* pDC, CRect rcClient)
{
    DrawDottedGripper(pDC, rcClient, m_clrGripperDark, m_clrGripperLite);
}

void AFX_CDECL CQVTStatusBarThemeVisualStudio2012::DrawDottedGripper(CDC* pDC, const CRect& rc,
                                                                     COLORREF clrDark, COLORREF clrLite)
{
    if (!pDC)
        return;
    const int cxDot = CQVTPaintManager::DpiX(1), cyDot = CQVTPaintManager::DpiY(1);
    const int cxPitch = CQVTPaintManager::DpiX(2), cyPitch = CQVTPaintManager::DpiY(2);
    const int xLast = rc.right - CQVTPaintManager::DpiX(6), yLast = rc.bottom - CQVTPaintManager::DpiY(6);
    for (int nPass = 0; nPass < 2; ++nPass)
    {
        const COLORREF clr = nPass == 0 ? clrDark : clrLite;
        if (clr == CQVTPaintManagerColor::noColor)
            continue;
        for (int nRow = 0; nRow < 4; ++nRow)
        {
            for (int nDot = 0; nDot < 4 - nRow; ++nDot)
            {
                const int x = xLast - nDot * cxPitch + nPass, y = yLast - nRow * cyPitch + nPass;
                pDC->FillSolidRect(x, y, cxDot, cyDot, clr);
            }
        }
    }
}
