// Windows under test as the screen shows them: a top-most place on the test
// display, painting waited for, and the window's pixels read back from the
// screen (the X server's image, as a screenshot takes it).
#pragma once

#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"

namespace screentest {

// Dispatches what is waiting for the thread, paint included.
inline void Pump()
{
    MSG msg;
    for (int round = 0; round < 4; ++round)
    {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// Repaints the window now and reads its screen rectangle.
inline std::unique_ptr<DibCanvas> Capture(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    GdiFlush();
    RECT rect;
    GetWindowRect(window, &rect);
    auto canvas = std::make_unique<DibCanvas>(rect.right - rect.left, rect.bottom - rect.top);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas->dc.m_hDC, 0, 0, canvas->Width(), canvas->Height(), screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas;
}

// Pixels of one colour within a rectangle of the canvas.
inline int CountIn(const DibCanvas& canvas, const CRect& area, COLORREF color)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += canvas.At(x, y) == color;
    return count;
}

// Pixels that differ from the background colour within a rectangle: ink.
inline int InkIn(const DibCanvas& canvas, const CRect& area, COLORREF background)
{
    return area.Width() * area.Height() - CountIn(canvas, area, background);
}

}  // namespace screentest
