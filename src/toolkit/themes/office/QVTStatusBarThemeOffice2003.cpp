#include "toolkit/themes/office/QVTStatusBarThemeOffice2003.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeOffice2003, CQVTStatusBarPaintManager)

CQVTStatusBarThemeOffice2003::CQVTStatusBarThemeOffice2003(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarPaintManager(pPaintManager)
{
}

void CQVTStatusBarThemeOffice2003::RefreshMetrics()
{
    CQVTStatusBarPaintManager::RefreshMetrics();
    m_clrPaneBorder.SetStandardValue(
        CQVTColorManager::BlendColors(GetColorByIndex(COLOR_3DFACE), GetColorByIndex(COLOR_WINDOW), 70));
    switch (m_pPaintManager ? m_pPaintManager->GetCurrentSystemTheme() : qvtSystemThemeUnknown)
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeOlive:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        m_clrPaneBorder.SetStandardValue(RGB(0xD3, 0xD3, 0xD3));
        break;
    case qvtSystemThemeSilver:
        m_clrPaneBorder.SetStandardValue(RGB(0xEC, 0xEB, 0xDA));
        break;
    default:
        break;
    }
}

void CQVTStatusBarThemeOffice2003::DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane,
                                                  BOOL bGripperPane)
{
    if (GetStatusTheme())
    {
        CQVTStatusBarPaintManager::DrawPaneBorder(pDC, rcItem, pPane, bGripperPane);
        return;
    }
    pDC->Draw3dRect(rcItem, m_clrPaneBorder, m_clrPaneBorder);
}

void CQVTStatusBarThemeOffice2003::DrawGripper(CDC* pDC, CRect rcClient)
{
    if (GetStatusTheme())
    {
        CQVTStatusBarPaintManager::DrawGripper(pDC, rcClient);
        return;
    }
    // Three bands of 45-degree lines from the bottom edge to the right edge:
    // N dark lines then the light ones, one line of the face between bands.
    const int nDpi = QVTDpiScaler()->GetDpiX();
    const int nDark = nDpi >= 144 ? 4 : 3;
    const int nLight = nDpi >= 120 ? 2 : 1;
    const int nStep = nDark + (nDpi >= 120 ? 3 : 2);
    auto diagonal = [&](int nOffset, COLORREF clr) {
        // The line whose pixels lie nOffset steps from the bottom-right corner.
        for (int t = 0; t < nOffset; ++t)
            pDC->SetPixel(rcClient.right - nOffset + t, rcClient.bottom - 1 - t, clr);
    };
    for (int nBand = 0; nBand < 3; ++nBand)
    {
        const int nStart = 2 + nBand * nStep;
        for (int i = 0; i < nDark; ++i)
            diagonal(nStart + i, m_clrGripperDark);
        for (int i = 0; i < nLight; ++i)
            diagonal(nStart + nDark + i, m_clrGripperLite);
    }
}
