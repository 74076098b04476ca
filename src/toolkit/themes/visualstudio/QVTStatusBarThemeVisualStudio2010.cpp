#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2010.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeVisualStudio2010, CQVTStatusBarPaintManager)

CQVTStatusBarThemeVisualStudio2010::CQVTStatusBarThemeVisualStudio2010(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarPaintManager(pPaintManager)
{
}

void CQVTStatusBarThemeVisualStudio2010::RefreshMetrics()
{
    CQVTStatusBarPaintManager::RefreshMetrics();
    m_clrBackground.SetCustomValue(RGB(41, 57, 85));
    m_clrText.SetCustomValue(RGB(255, 255, 255));
}

BOOL CQVTStatusBarThemeVisualStudio2010::IsAppThemed() const
{
    CQVTWinThemeWrapper wrapper;
    return wrapper.IsAppThemed();
}

void CQVTStatusBarThemeVisualStudio2010::FillStatusBar(CDC* pDC, CQVTStatusBar* pBar)
{
    if (!pDC || !pBar)
        return;
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    pDC->FillSolidRect(rcClient, m_clrBackground);
}

void CQVTStatusBarThemeVisualStudio2010::DrawGripper(CDC* pDC, CRect rcClient)
{
    if (!IsAppThemed() || !GetStatusTheme())
    {
        CQVTStatusBarPaintManager::DrawGripper(pDC, rcClient);
        return;
    }
    // Rows of 4, 3, 2 and 1 dots from the bottom, each row flush right.
    for (int nRow = 0; nRow < 4; ++nRow)
        for (int nDot = 0; nDot < 4 - nRow; ++nDot)
        {
            const int x = rcClient.right - 4 - 3 * nDot;
            const int y = rcClient.bottom - 4 - 3 * nRow;
            pDC->SetPixel(x, y, RGB(248, 249, 250));
            pDC->SetPixel(x + 1, y, RGB(198, 206, 221));
            pDC->SetPixel(x, y + 1, RGB(227, 231, 238));
            pDC->SetPixel(x + 1, y + 1, RGB(170, 183, 205));
        }
}
