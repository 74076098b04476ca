// The program's windows as they are on the screen, saved as PNG through
// GDI+. What lies between the windows stays black.
#include <windows.h>

#include <gdiplus.h>

#include <vector>

#include "crashreport/CrashReporter.h"

namespace crashreport {

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT rect;
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
        !IsRectEmpty(&rect))
        reinterpret_cast<std::vector<RECT>*>(param)->push_back(rect);
    return TRUE;
}

bool SavePng(HBITMAP bitmap, const std::u16string& path)
{
    using namespace Gdiplus;
    GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok)
        return false;
    // The PNG encoder's class id.
    const CLSID pngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    GpBitmap* image = nullptr;
    bool ok = false;
    if (DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Ok)
    {
        ok = DllExports::GdipSaveImageToFile(image, path.c_str(), &pngEncoder, nullptr) == Ok;
        DllExports::GdipDisposeImage(image);
    }
    GdiplusShutdown(token);
    return ok;
}

}  // namespace

bool WriteScreenshot(const std::u16string& path)
{
    std::vector<RECT> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT bounds = {};
    for (RECT& rect : windows)
    {
        IntersectRect(&rect, &rect, &screen);
        UnionRect(&bounds, &bounds, &rect);
    }
    if (IsRectEmpty(&bounds))
        return false;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    HDC screenDC = GetDC(nullptr);
    HDC memoryDC = CreateCompatibleDC(screenDC);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDC, width, height);
    bool ok = false;
    if (memoryDC != nullptr && bitmap != nullptr)
    {
        HGDIOBJ old = SelectObject(memoryDC, bitmap);
        RECT all = {0, 0, width, height};
        FillRect(memoryDC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        // Bottom of the z-order first, so that what covers lies on top.
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            BitBlt(memoryDC, it->left - bounds.left, it->top - bounds.top, it->right - it->left,
                   it->bottom - it->top, screenDC, it->left, it->top, SRCCOPY);
        SelectObject(memoryDC, old);
        ok = SavePng(bitmap, path);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memoryDC != nullptr)
        DeleteDC(memoryDC);
    ReleaseDC(nullptr, screenDC);
    return ok;
}

}  // namespace crashreport
