// An opaque icon of one colour. It is made with a mask: the image manager
// takes an attached bitmap without one for an alpha bitmap, and an opaque
// bitmap then draws as fully transparent.
#pragma once

#include <afxwin.h>

inline HICON MakeSolidIcon(int cx, int cy, COLORREF colour)
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hColor);
    HBRUSH hBrush = ::CreateSolidBrush(colour);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hDC, hMask);
    ::PatBlt(hDC, 0, 0, cx, cy, BLACKNESS);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}
