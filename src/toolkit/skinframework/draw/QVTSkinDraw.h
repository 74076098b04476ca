// Drawing routines that paint with a skin's colours in place of the
// system's: fills and frames, an edge drawer and a frame-control drawer that
// stand in for DrawEdge and DrawFrameControl, text with a character-set
// fix, icon sizes, and the loader that turns a skin module's bitmap
// resource into a DIB.
// The edge and frame-control drawers come in two forms: with the metrics or
// schema to draw with, and with the skin the manager has loaded.
#pragma once

#include <afxwin.h>

class CQVTSkinManagerMetrics;
class CQVTSkinManagerSchema;

void AFXAPI QVTSkinFillSolidRect(HDC hDC, int x, int y, int cx, int cy, COLORREF clr);
void AFXAPI QVTSkinFillSolidRect(HDC hDC, const RECT& rc, COLORREF clr);
void AFXAPI QVTSkinFillRect(HDC hDC, int x, int y, int cx, int cy, HBRUSH hBrush);
// Four strips inside the rectangle: top and bottom nHeight high, left and
// right nWidth wide.
void AFXAPI QVTSkinFrameRect(HDC hDC, const RECT& rc, int nWidth, int nHeight, COLORREF clr);
void AFXAPI QVTSkinFrameRect(HDC hDC, const RECT& rc, int nSize, COLORREF clr);
void AFXAPI QVTSkinFrameRectBrush(HDC hDC, const RECT& rc, int nSize, HBRUSH hBrush);

// DrawTextW, with an ANSI-charset font swapped for its DEFAULT_CHARSET twin
// so that text outside the code page is drawn.
int AFXAPI QVTSkinDrawText(HDC hDC, LPCWSTR lpszText, int nLength, LPRECT lpRect, UINT nFormat,
                           const LOGFONT* pFont);
void AFXAPI QVTSkinGetIconSize(HICON hIcon, int* pnWidth, int* pnHeight);

// A bitmap resource as a DIB: 24 and 32 bits as DIB sections, fewer bits
// through their palette. Pixels are found after the header, bit-field
// masks and colour table; a resource too short for them gives null.
HBITMAP AFXAPI QVTSkinLoadDibFromResource(HMODULE hModule, LPCTSTR lpszName, BOOL* pbAlpha);
// The DIB of a block that holds a bitmap resource's bytes (a header and
// what follows it); null when the block is too short or the sizes overflow.
HBITMAP AFXAPI QVTSkinLoadDibFromMemory(const BYTE* pData, DWORD cbData, BOOL* pbAlpha);
HPALETTE AFXAPI QVTSkinCreatePalette(const BITMAPINFO* pInfo);
HBITMAP AFXAPI QVTSkinCreateDIBitmap(const BITMAPINFO* pInfo, const void* pBits, HPALETTE hPalette);

BOOL AFXAPI QVTSkinDrawEdge(CQVTSkinManagerMetrics* pMetrics, HDC hDC, LPRECT lpRect, UINT nEdge,
                            UINT nFlags);
BOOL AFXAPI QVTSkinDrawFrameControl(CQVTSkinManagerSchema* pSchema, HDC hDC, LPRECT lpRect, UINT nType,
                                    UINT nState);
// FALSE while no skin is loaded.
BOOL AFXAPI QVTSkinDrawEdge(HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags);
BOOL AFXAPI QVTSkinDrawFrameControl(HDC hDC, LPRECT lpRect, UINT nType, UINT nState);
