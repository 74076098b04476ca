// Times a full repaint of a 1280-pixel-wide dialog's bars (a menu-style bar
// and two bars of 30 buttons) in the default, double-gripper and flat
// themes, against drawing the same picture with plain GDI calls, and prints
// each as a ratio to that baseline (goal: at most 2). Then moves the hot
// control across a shown bar and counts the controls each repaint draws.
// Run by hand; not a test:
//   commandbars_benchmark [folder]
// saves the baseline's and the classic theme's pictures there as BMP files.
//
// Equal work: the baseline draws what the classic theme draws for these
// bars, each at its own place below the one before: the face and raised
// edge of each bar, its gripper, the sunken separators before each group,
// and each caption where the theme puts it, in the bar's font, with the
// font selected once. The two pictures are compared pixel by pixel and the
// count of differing pixels printed. Rounds alternate the baseline and the
// themes; the ratios are the medians over the rounds.
#include <afxwin.h>

#include <algorithm>
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

// Draws a bar at the viewport's origin moved down by y, as the timed
// themes are drawn.
template <class Draw>
void AtRows(CDC* pDC, const std::vector<CTestBar*>& bars, Draw draw)
{
    int y = 0;
    for (CTestBar* pBar : bars)
    {
        CRect rc;
        pBar->GetClientRect(&rc);
        pDC->SetViewportOrg(0, y);
        draw(pBar, rc);
        y += rc.Height();
    }
    pDC->SetViewportOrg(0, 0);
}

void DrawThemed(CDC* pDC, const std::vector<CTestBar*>& bars)
{
    AtRows(pDC, bars, [pDC](CTestBar* pBar, const CRect& rc) { pBar->DrawCommandBar(pDC, rc); });
}

// The classic theme's picture with plain GDI.
void DrawPlain(CDC* pDC, const std::vector<CTestBar*>& bars, CFont* pFont)
{
    const COLORREF clrFace = ::GetSysColor(COLOR_3DFACE), clrLight = ::GetSysColor(COLOR_3DHIGHLIGHT),
                   clrShadow = ::GetSysColor(COLOR_3DSHADOW), clrText = ::GetSysColor(COLOR_BTNTEXT);
    CFont* pOldFont = pDC->SelectObject(pFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clrText);
    AtRows(pDC, bars, [&](CTestBar* pBar, const CRect& rcBar) {
        pDC->FillSolidRect(rcBar, clrFace);
        pDC->Draw3dRect(rcBar, clrLight, clrShadow);
        pDC->Draw3dRect(CRect(3, 3, 6, rcBar.Height() - 3), clrLight, clrShadow);
        for (int i = 0; i < pBar->GetControlCount(); ++i)
        {
            CQVTControl* pControl = pBar->GetControl(i);
            const CRect rc = pControl->GetRect();
            if (pControl->GetBeginGroup() && i > 0)
            {
                const CRect rcRow = pControl->GetRowRect();
                pDC->Draw3dRect(CRect(rc.left - 4, rcRow.top, rc.left - 2, rcRow.bottom), clrShadow,
                                clrLight);
            }
            const CString strCaption = pControl->GetCaption();
            pDC->DrawText(strCaption, CRect(rc), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    });
    pDC->SelectObject(pOldFont);
}

int DifferingPixels(const DibCanvas& a, const DibCanvas& b)
{
    ::GdiFlush();
    int nDiffer = 0;
    for (int i = 0; i < a.Width() * a.Height(); ++i)
        nDiffer += (a.Pixels()[i] & 0xFFFFFF) != (b.Pixels()[i] & 0xFFFFFF);
    return nDiffer;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), _T("Bars"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                  CRect(0, 0, kWidth, 200), nullptr, 0);
    std::vector<CTestBar*> bars = {MakeBar(&host, qvtBarTypeMenuBar, 8, _T("Menu ")),
                                   MakeBar(&host, qvtBarTypeNormal, 30, _T("B")),
                                   MakeBar(&host, qvtBarTypeNormal, 30, _T("C"))};
    DibCanvas canvas(kWidth, 200);
    const int repeats = 50, rounds = 21;

    // The two pictures, compared.
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
    LayOut(bars);
    CFont* pFont = QVTPaintManager()->GetCommandBarFont(bars[1]);
    DibCanvas plain(kWidth, 200, RGB(255, 0, 255)), themed(kWidth, 200, RGB(255, 0, 255));
    DrawPlain(&plain.dc, bars, pFont);
    DrawThemed(&themed.dc, bars);
    if (argc > 1)
    {
        plain.SaveAs(CString(argv[1]) + _T("\\commandbars-plain.bmp"));
        themed.SaveAs(CString(argv[1]) + _T("\\commandbars-classic.bmp"));
    }
    std::printf(
        "%d x 200 DIB, 3 bars, %d buttons; the baseline's picture and the classic theme's differ in %d "
        "pixels\n",
        kWidth, 68, DifferingPixels(plain, themed));

    const struct
    {
        int nTheme;
        const char* pszName;
    } themes[] = {{qvtThemeOffice2000, "theme 0, classic"},
                  {qvtThemeOfficeXP, "theme 1, flat"},
                  {qvtThemeVisualStudio6, "theme 8, double gripper"}};
    const int nThemes = sizeof(themes) / sizeof(themes[0]);
    std::vector<double> baseline;
    std::vector<std::vector<double>> times(nThemes), ratios(nThemes);
    for (int round = 0; round < rounds; ++round)
    {
        CQVTPaintManager::SetTheme(qvtThemeOffice2000);
        LayOut(bars);
        pFont = QVTPaintManager()->GetCommandBarFont(bars[1]);
        const double dBaseline = Seconds([&]() { DrawPlain(&canvas.dc, bars, pFont); }, repeats);
        baseline.push_back(dBaseline);
        for (int t = 0; t < nThemes; ++t)
        {
            CQVTPaintManager::SetTheme(themes[t].nTheme);
            LayOut(bars);
            const double seconds = Seconds([&]() { DrawThemed(&canvas.dc, bars); }, repeats);
            times[t].push_back(seconds);
            ratios[t].push_back(seconds / dBaseline);
        }
    }
    std::printf("medians of %d rounds of %d repaints, baseline and themes alternating\n", rounds, repeats);
    std::printf("%-34s %8.3f ms  ratio 1.00\n", "plain GDI (baseline)", Median(baseline) * 1e3);
    for (int t = 0; t < nThemes; ++t)
        std::printf("%-34s %8.3f ms  ratio %.2f (rounds %.2f to %.2f; goal at most 2)\n", themes[t].pszName,
                    Median(times[t]) * 1e3, Median(ratios[t]),
                    *std::min_element(ratios[t].begin(), ratios[t].end()),
                    *std::max_element(ratios[t].begin(), ratios[t].end()));

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
