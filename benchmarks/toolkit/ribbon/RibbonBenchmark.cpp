// Times a full repaint of Sondrel's own ribbon (the main window's: its three
// tabs, ten 32-pixel icons and quick-access row, in the program's resources)
// at 1280 pixels, drawn by the bar itself into a DIB each time (not the
// animation cache's copy of an unchanged bar), against blitting the same
// area from a prepared bitmap (the floor); and the layout of a thousand
// window widths from 1280 down to 300 and back (layout and reduction only,
// no painting), per resize. Goal: the repaint within 8 ms. Run by hand; not
// a test:
//   ribbon_benchmark [picture.bmp]
// saves the repainted ribbon's picture when given a path.
#include <afxext.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/mainwindow/MainDlg.h"
#include "app/mainwindow/MainWindowResource.h"
#include "app/program/SondrelApp.h"
#include "benchmarks/toolkit/gdi_timing.h"
#include "dib_canvas.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"

namespace {

const int kWidth = 1280;

// The main window made modeless, as the program's tests make it.
class CBenchmarkMainDlg : public CMainDlg
{
public:
    BOOL CreateModeless()
    {
        LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_MAINDLG);
        return pTemplate && CreateIndirect(pTemplate, nullptr);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    ::CoInitialize(nullptr);
    {
        auto pApp = std::make_unique<CSondrelApp>();
        pApp->m_nRibbonStyle = ID_STYLE_BLACK;
        pApp->m_nRunningCounter = 5;
        CBenchmarkMainDlg dlg;
        if (!dlg.CreateModeless() || dlg.GetRibbonBar() == nullptr)
        {
            std::printf("no main window or no ribbon\n");
            return 1;
        }
        CQVTRibbonBar* pRibbon = dlg.GetRibbonBar();
        const DWORD dwMode = LM_COMMIT | LM_HORZDOCK | LM_HORZ;
        const CSize sz = pRibbon->CalcDockingLayout(kWidth, dwMode);

        DibCanvas canvas(sz.cx, sz.cy);
        DibCanvas prepared(sz.cx, sz.cy);
        pRibbon->DrawCommandBar(&prepared.dc, CRect(0, 0, sz.cx, sz.cy));
        if (argc > 1)
            prepared.SaveAs(CString(argv[1]));
        // Rounds of each, alternating, so that a busy spell meets both.
        const int nRounds = 15;
        std::vector<double> repaints, blits;
        for (int i = 0; i < nRounds; ++i)
        {
            repaints.push_back(
                Seconds([&] { pRibbon->DrawCommandBar(&canvas.dc, CRect(0, 0, sz.cx, sz.cy)); }, 20));
            blits.push_back(Seconds(
                [&] { ::BitBlt(canvas.dc.m_hDC, 0, 0, sz.cx, sz.cy, prepared.dc.m_hDC, 0, 0, SRCCOPY); },
                20));
        }
        std::sort(repaints.begin(), repaints.end());
        std::sort(blits.begin(), blits.end());
        std::printf(
            "Sondrel's ribbon, %d tabs, repaint %dx%d: median %.3f ms (rounds %.3f to %.3f; goal at most "
            "8), blit %.3f ms, ratio %.1f\n",
            pRibbon->GetTabCount(), static_cast<int>(sz.cx), static_cast<int>(sz.cy),
            repaints[nRounds / 2] * 1000, repaints.front() * 1000, repaints.back() * 1000,
            blits[nRounds / 2] * 1000, repaints[nRounds / 2] / blits[nRounds / 2]);

        const int nSteps = 1000;
        const double dResize = Seconds(
            [&] {
                for (int i = 0; i < nSteps; ++i)
                {
                    const int nHalf = nSteps / 2;
                    const int nWidth = i < nHalf ? kWidth - (kWidth - 300) * i / nHalf
                                                 : 300 + (kWidth - 300) * (i - nHalf) / nHalf;
                    pRibbon->CalcDockingLayout(nWidth, dwMode);
                }
            },
            3);
        std::printf("resize layout: %.3f ms per width (%d widths from %d to 300 and back)\n",
                    dResize * 1000 / nSteps, nSteps, kWidth);
        dlg.DestroyWindow();
    }
    ::CoUninitialize();
    return 0;
}
