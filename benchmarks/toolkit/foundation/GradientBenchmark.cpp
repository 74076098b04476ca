// Times the drawing helpers' gradient fill (through msimg32 and by hand) and
// the two colour blends over a 1920 x 1080 32-bit DIB, against msimg32's
// GradientFill called directly on the same rectangle, and prints each as a
// ratio to that baseline. Run by hand; not a test.
#include <afxwin.h>

#include <cstdio>

#include "benchmarks/toolkit/gdi_timing.h"
#include "dib_canvas.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

}  // namespace

int main()
{
    DibCanvas canvas(kWidth, kHeight);
    DWORD* pixels = canvas.Pixels();
    if (!pixels)
    {
        std::printf("cannot create the DIB section\n");
        return 1;
    }
    CDC& dc = canvas.dc;
    const CRect rect(0, 0, kWidth, kHeight);
    const COLORREF from = RGB(0xF5, 0xBE, 0x9E), to = RGB(0x96, 0x2D, 0x00);

    HMODULE hMsImg32 = ::LoadLibraryW(_T("msimg32.dll"));
    auto pfnGradientFill = reinterpret_cast<CQVTDrawHelpers::PFNGRADIENTFILL>(
        hMsImg32 ? ::GetProcAddress(hMsImg32, "GradientFill") : nullptr);
    if (!pfnGradientFill)
    {
        std::printf("msimg32 GradientFill is not available\n");
        return 1;
    }

    const int repeats = 20;
    const double baseline = Seconds(
        [&]() {
            TRIVERTEX vertices[2] = {{0, 0, COLOR16(GetRValue(from) << 8), COLOR16(GetGValue(from) << 8),
                                      COLOR16(GetBValue(from) << 8), 0},
                                     {kWidth, kHeight, COLOR16(GetRValue(to) << 8),
                                      COLOR16(GetGValue(to) << 8), COLOR16(GetBValue(to) << 8), 0}};
            GRADIENT_RECT mesh = {0, 1};
            pfnGradientFill(dc.m_hDC, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
        },
        repeats);

    CQVTDrawHelpers* pHelpers = QVTDrawHelpers();
    const double bound = Seconds([&]() { pHelpers->GradientFill(&dc, rect, from, to, TRUE); }, repeats);
    const double boundVertical =
        Seconds([&]() { pHelpers->GradientFill(&dc, rect, from, to, FALSE); }, repeats);

    CQVTDrawHelpers manual;
    manual.m_pfnGradientFill = nullptr;
    const double byHandH = Seconds([&]() { manual.GradientFill(&dc, rect, from, to, TRUE); }, repeats);
    const double byHandV = Seconds([&]() { manual.GradientFill(&dc, rect, from, to, FALSE); }, repeats);

    // One blend per pixel, written into the DIB: the cost of per-pixel colour work.
    const double blendFactor = Seconds(
        [&]() {
            ::GdiFlush();
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels[y * kWidth + x] = CQVTDrawHelpers::BlendColors(from, to, double(x) / kWidth);
        },
        5);
    const double blendWeight = Seconds(
        [&]() {
            ::GdiFlush();
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels[y * kWidth + x] = CQVTColorManager::BlendColors(from, to, x * 1000 / kWidth);
        },
        5);

    const double pixelsPerFill = double(kWidth) * kHeight;
    std::printf("1920x1080 32-bit DIB, mean of %d runs\n", repeats);
    std::printf("%-44s %9.3f ms  ratio 1.00\n", "msimg32 GradientFill (baseline)", baseline * 1e3);
    std::printf("%-44s %9.3f ms  ratio %.2f\n", "helpers GradientFill, msimg32, horizontal", bound * 1e3,
                bound / baseline);
    std::printf("%-44s %9.3f ms  ratio %.2f\n", "helpers GradientFill, msimg32, vertical",
                boundVertical * 1e3, boundVertical / baseline);
    std::printf("%-44s %9.3f ms  ratio %.2f\n", "helpers GradientFill, by hand, horizontal", byHandH * 1e3,
                byHandH / baseline);
    std::printf("%-44s %9.3f ms  ratio %.2f\n", "helpers GradientFill, by hand, vertical", byHandV * 1e3,
                byHandV / baseline);
    std::printf("%-44s %9.3f ms  ratio %.2f  (%.0f Mblends/s)\n", "BlendColors (factor), every pixel",
                blendFactor * 1e3, blendFactor / baseline, pixelsPerFill / blendFactor / 1e6);
    std::printf("%-44s %9.3f ms  ratio %.2f  (%.0f Mblends/s)\n", "BlendColors (weight), every pixel",
                blendWeight * 1e3, blendWeight / baseline, pixelsPerFill / blendWeight / 1e6);

    return 0;
}
