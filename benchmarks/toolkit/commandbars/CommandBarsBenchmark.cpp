// Times a full repaint of a 1280-pixel-wide dialog's bars (a menu-style bar
// and two bars of 30 buttons) in the default, double-gripper and flat
// themes, against drawing the same rectangles and texts with plain GDI
// calls, and prints each as a ratio to that baseline. Then moves the hot
// control across a shown bar and counts the controls each repaint draws.
// Run by hand; not a test.
#include <afxwin.h>

#include <cstdio>
#include <vector>

#include "benchmarks/toolkit/gdi_timing.h"
#include "dib_canvas.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const int kWidth = 1280;

// The flat theme, counting the controls it draws.
class CCountingTheme : public CQVTCommandBarsOfficeXPTheme
{
public:
    CSize DrawControlToolBarParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override
    {
        if (bDraw)
            ++m_nDrawn;
        return CQVTCommandBarsOfficeXPTheme::DrawControlToolBarParent(pDC, pControl, bDraw);
    }
    int m_nDrawn = 0;
};

CTestBar* MakeBar(CWnd* pHost, int nType, int nButtons, LPCTSTR lpszPrefix)
{
    CTestBar* pBar = new CTestBar();
    pBar->SetType(nType);
    pBar->m_pParentWnd = pHost;
    pBar->Create(qvtBarTop);
    for (int i = 0; i < nButtons; ++i)
    {
        CString strCaption;
        strCaption.Format(_T("%s%d"), lpszPrefix, i + 1);
        CQVTControl* pButton = pBar->GetControls()->AddByType(qvtControlButton, 1000 + i);
        pButton->SetCaption(strCaption);
        pButton->SetStyle(qvtButtonCaption);
        pButton->SetBeginGroup(i % 8 == 7);
    }
    return pBar;
}

void LayOut(const std::vector<CTestBar*>& bars)
{
    int y = 0;
    for (CTestBar* pBar : bars)
    {
        const CSize sz = pBar->Layout(kWidth);
        pBar->MoveWindow(0, y, kWidth, sz.cy);
        pBar->Layout(kWidth);
        y += sz.cy;
    }
}

// The same picture with plain GDI: each bar's face, each button's frame and
// caption in the bar's font.
void DrawPlain(CDC* pDC, const std::vector<CTestBar*>& bars, CFont* pFont)
{
    CFont* pOldFont = pDC->SelectObject(pFont);
    pDC->SetBkMode(TRANSPARENT);
    for (CTestBar* pBar : bars)
    {
        CRect rcBar;
        pBar->GetClientRect(&rcBar);
        pDC->FillSolidRect(rcBar, ::GetSysColor(COLOR_3DFACE));
        pDC->Draw3dRect(rcBar, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_3DSHADOW));
        for (int i = 0; i < pBar->GetControlCount(); ++i)
        {
            CQVTControl* pControl = pBar->GetControl(i);
            CRect rc = pControl->GetRect();
            pDC->Draw3dRect(rc, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_3DSHADOW));
            const CString strCaption = pControl->GetCaption();
            pDC->DrawText(strCaption, rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    }
    pDC->SelectObject(pOldFont);
}

}  // namespace

int main()
{
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), _T("Bars"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                  CRect(0, 0, kWidth, 200), nullptr, 0);
    std::vector<CTestBar*> bars = {MakeBar(&host, qvtBarTypeMenuBar, 8, _T("Menu ")),
                                   MakeBar(&host, qvtBarTypeNormal, 30, _T("B")),
                                   MakeBar(&host, qvtBarTypeNormal, 30, _T("C"))};
    DibCanvas canvas(kWidth, 200);
    const int repeats = 200;

    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
    LayOut(bars);
    const double baseline =
        Seconds([&]() { DrawPlain(&canvas.dc, bars, QVTPaintManager()->GetRegularFont()); }, repeats);

    std::printf("%d x 200 DIB, 3 bars, %d buttons, mean of %d repaints\n", kWidth, 68, repeats);
    std::printf("%-34s %8.3f ms  ratio 1.00\n", "plain GDI (baseline)", baseline * 1e3);
    const struct
    {
        int nTheme;
        const char* pszName;
    } themes[] = {{qvtThemeOffice2000, "theme 0, classic"},
                  {qvtThemeOfficeXP, "theme 1, flat"},
                  {qvtThemeVisualStudio6, "theme 8, double gripper"}};
    for (const auto& theme : themes)
    {
        CQVTPaintManager::SetTheme(theme.nTheme);
        LayOut(bars);
        const double seconds = Seconds(
            [&]() {
                int y = 0;
                for (CTestBar* pBar : bars)
                {
                    CRect rc;
                    pBar->GetClientRect(&rc);
                    canvas.dc.SetViewportOrg(0, y);
                    pBar->DrawCommandBar(&canvas.dc, rc);
                    y += rc.Height();
                }
                canvas.dc.SetViewportOrg(0, 0);
            },
            repeats);
        std::printf("%-34s %8.3f ms  ratio %.2f\n", theme.pszName, seconds * 1e3, seconds / baseline);
    }

    // Hot tracking: the hot control walks the second bar; each repaint
    // should draw the control that lost the hot state and the one that got it.
    CCountingTheme* pCounting = new CCountingTheme();
    CQVTPaintManager::SetCustomTheme(pCounting);
    LayOut(bars);
    host.UpdateWindow();
    for (CTestBar* pBar : bars)
        pBar->UpdateWindow();
    CTestBar* pBar = bars[1];
    pCounting->m_nDrawn = 0;
    int nMoves = 0;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
    {
        pBar->SetSelected(i, 0);
        pBar->UpdateWindow();
        ++nMoves;
    }
    std::printf("hot tracking: %d moves, %d controls drawn, %.2f per move\n", nMoves, pCounting->m_nDrawn,
                double(pCounting->m_nDrawn) / nMoves);

    for (CTestBar* pOld : bars)
        pOld->InternalRelease();
    return 0;
}
