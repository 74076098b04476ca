// Helpers of the image tests: icons and alpha bitmaps painted pixel by
// pixel, and the test images copied beside the program.
#pragma once

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/dib_canvas.h"
#include "tests/support/solid_icon.h"
#include "toolkit/foundation/image/QVTImageManager.h"

// The colours the image tests paint and read back.
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kMagenta = RGB(255, 0, 255);

// Resource ids of image_test.rc.
const UINT IDB_STRIP5 = 300;
const UINT IDB_STRIP7 = 301;
const UINT IDB_ALPHASTRIP4 = 302;
const UINT IDB_ALPHASTRIP4_PNG = 303;

// A masked (non-alpha) icon: transparent where the predicate says so.
HICON MakeMaskedIcon(int cx, int cy, const std::function<COLORREF(int x, int y)>& colour,
                     const std::function<bool(int x, int y)>& transparent = nullptr);
// A top-down 32-bit DIB section of straight (not premultiplied) pixels
// 0xAARRGGBB.
HBITMAP MakeAlphaBitmap(int cx, int cy, const std::function<DWORD(int x, int y)>& pixel);
// A 24-bit DDB painted pixel by pixel.
HBITMAP MakeOpaqueBitmap(int cx, int cy, const std::function<COLORREF(int x, int y)>& colour);

// The widths of a set's icons, smallest first; none without a set.
std::vector<UINT> IconWidths(CQVTImageManagerIconSet* pSet);

// A test image beside the program.
std::u16string ImageDataPath(const char16_t* pszName);
std::u16string ImageTempPath(const char16_t* pszName);
void WriteBytesToFile(const std::u16string& path, const std::string& bytes);
std::string ReadBytesFromFile(const std::u16string& path);

// The raw 32-bit pixel (with alpha) of a canvas.
inline DWORD RawPixel(const DibCanvas& canvas, int x, int y)
{
    ::GdiFlush();
    return canvas.Pixels()[y * canvas.Width() + x];
}

// Draws the icon in a state on a fresh canvas of a background colour.
COLORREF DrawnPixel(CQVTImageManagerIcon* pIcon, int nState, int x, int y,
                    COLORREF background = RGB(255, 255, 255));
