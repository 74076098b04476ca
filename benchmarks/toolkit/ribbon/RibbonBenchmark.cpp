// Times a full repaint of a ribbon like the recorder's main window at 1280
// pixels against blitting the same area from a prepared bitmap (the
// floor), and the layout of a thousand window widths from 1280 down to 300
// and back (layout and reduction only, no painting), per resize. Run by
// hand; not a test.
#include <afxext.h>

#include <cstdio>

#include "benchmarks/toolkit/gdi_timing.h"
#include "dib_canvas.h"
#include "tests/toolkit/ribbon/ribbon_host.h"

namespace {

const int kWidth = 1280;

// The picture of a canvas as a 32-bit top-down BMP file, for a look.
void SaveBitmap(const DibCanvas& canvas, const char* pszPath)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = canvas.Width();
    info.biHeight = -canvas.Height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD nBytes = static_cast<DWORD>(canvas.Width() * canvas.Height() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + nBytes;
    FILE* pFile = std::fopen(pszPath, "wb");
    if (!pFile)
        return;
    std::fwrite(&file, sizeof(file), 1, pFile);
    std::fwrite(&info, sizeof(info), 1, pFile);
    std::fwrite(canvas.Pixels(), nBytes, 1, pFile);
    std::fclose(pFile);
}

}  // namespace

int main(int argc, char** argv)
{
    ::CoInitialize(nullptr);
    {
        CRibbonHost host;
        if (!host.CreateHost(CRect(0, 600, kWidth + 10, 1000)))
        {
            std::printf("no host window\n");
            return 1;
        }
        CQVTRibbonBar* pRibbon = host.GetRibbon();
        const DWORD dwMode = LM_COMMIT | LM_HORZDOCK | LM_HORZ;
        if (argc > 2)
        {
            // A look at contextual tabs: the last two in one context.
            for (int i = 1; i < 3; ++i)
            {
                pRibbon->GetTab(i)->SetContextColor(qvtRibbonTabContextOrange);
                pRibbon->GetTab(i)->SetContextCaption(_T("Tools"));
            }
            pRibbon->SetCurrentTab(1);
        }
        const CSize sz = pRibbon->CalcDockingLayout(kWidth, dwMode);

        DibCanvas canvas(sz.cx, sz.cy);
        DibCanvas prepared(sz.cx, sz.cy);
        pRibbon->DrawCommandBar(&prepared.dc, CRect(0, 0, sz.cx, sz.cy));
        if (argc > 1)
            SaveBitmap(prepared, argv[1]);
        const double dRepaint =
            Seconds([&] { pRibbon->DrawCommandBar(&canvas.dc, CRect(0, 0, sz.cx, sz.cy)); }, 200);
        const double dBlit = Seconds(
            [&] { ::BitBlt(canvas.dc.m_hDC, 0, 0, sz.cx, sz.cy, prepared.dc.m_hDC, 0, 0, SRCCOPY); }, 200);
        std::printf("repaint %dx%d: %.3f ms, blit %.3f ms, ratio %.1f\n", static_cast<int>(sz.cx),
                    static_cast<int>(sz.cy), dRepaint * 1000, dBlit * 1000, dRepaint / dBlit);

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
    }
    ::CoUninitialize();
    return 0;
}
