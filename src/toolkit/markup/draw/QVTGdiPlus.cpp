#include "toolkit/markup/draw/QVTGdiPlus.h"

namespace QVTGdiPlus {
BOOL AFXAPI EnsureStarted()
{
    // A function-local static: started under the language's initialisation
    // guard, never shut down (at exit the process's system calls are gone).
    static const BOOL s_bStarted = []() {
        ULONG_PTR nToken = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&nToken, &input, nullptr) == Gdiplus::Ok;
    }();
    return s_bStarted;
}

CGpBrush AFXAPI CreateSolidFill(Gdiplus::ARGB argb)
{
    CGpBrush brush;
    Gdiplus::GpSolidFill* pFill = nullptr;
    if (GdipCreateSolidFill(argb, &pFill) == Gdiplus::Ok)
        brush.Reset(pFill);
    return brush;
}

CGpMatrix AFXAPI CreateMatrix()
{
    CGpMatrix matrix;
    GdipCreateMatrix(matrix.Receive());
    return matrix;
}

CGpMatrix AFXAPI CloneMatrix(Gdiplus::GpMatrix* pMatrix)
{
    CGpMatrix matrix;
    if (pMatrix != nullptr)
        GdipCloneMatrix(pMatrix, matrix.Receive());
    return matrix;
}
}  // namespace QVTGdiPlus
