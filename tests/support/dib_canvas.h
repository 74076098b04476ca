// A memory DC with a top-down 32-bit DIB section selected, read pixel by
// pixel straight from the section's memory.
#pragma once

#include <afxwin.h>

#include <algorithm>

class DibCanvas
{
public:
    DibCanvas(int width, int height, COLORREF background = RGB(255, 255, 255))
        : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<DWORD*>(bits);
        dc.CreateCompatibleDC(nullptr);
        previous_ = ::SelectObject(dc.m_hDC, bitmap.m_hObject);
        if (pixels_)
            Clear(background);
    }
    ~DibCanvas() { ::SelectObject(dc.m_hDC, previous_); }

    void Clear(COLORREF color)
    {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            pixels_[i] = ToPixel(color);
    }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    int CountOf(COLORREF color) const
    {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                count += At(x, y) == color;
        return count;
    }
    // The smallest rectangle holding every pixel that differs from color.
    CRect BoundsOfAllBut(COLORREF color) const
    {
        CRect bounds(width_, height_, 0, 0);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != color)
                {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
        return bounds;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The section's memory, row by row; null when the section could not be made.
    DWORD* Pixels() const { return pixels_; }
    static DWORD ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
    // The picture as a 32-bit top-down BMP file, for a look at what was drawn.
    bool SaveAs(LPCWSTR pszPath) const
    {
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof(info);
        info.biWidth = width_;
        info.biHeight = -height_;
        info.biPlanes = 1;
        info.biBitCount = 32;
        const DWORD nBytes = static_cast<DWORD>(width_ * height_ * 4);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + nBytes;
        HANDLE hFile = ::CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE || pixels_ == nullptr)
        {
            if (hFile != INVALID_HANDLE_VALUE)
                ::CloseHandle(hFile);
            return false;
        }
        ::GdiFlush();
        DWORD nWritten = 0;
        const bool bWritten = ::WriteFile(hFile, &file, sizeof(file), &nWritten, nullptr) &&
                              ::WriteFile(hFile, &info, sizeof(info), &nWritten, nullptr) &&
                              ::WriteFile(hFile, pixels_, nBytes, &nWritten, nullptr);
        ::CloseHandle(hFile);
        return bWritten;
    }

    CBitmap bitmap;
    CDC dc;

private:
    int width_, height_;
    DWORD* pixels_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};
