// Reading the frame themes' values from the resource images' INI: a value
// that is missing or does not parse as a whole leaves the default, so a
// damaged set never turns a border black or a size to 0.
#pragma once

#include <afxwin.h>

namespace QVTFrameIni {

// Exactly nCount integers separated by blanks; FALSE leaves pValues alone.
BOOL ReadInts(LPCTSTR lpszSection, LPCTSTR lpszKey, int* pValues, int nCount);
int ReadInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault);
// "r g b" with each part 0 to 255, or "-1" for none.
COLORREF ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault);

// The region made of those rectangles; empty ones are left out, so a frame
// too small for its corners gets no inverted pieces.
HRGN CreateRegionFromRects(const CRect* pRects, int nCount);

}  // namespace QVTFrameIni
