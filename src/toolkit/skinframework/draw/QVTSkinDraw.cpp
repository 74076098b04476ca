#include "toolkit/skinframework/draw/QVTSkinDraw.h"

#include <vector>

#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
// Sizes beyond these are refused before any arithmetic on them.
const LONG kSkinDibMaxSide = 0x8000;

struct SkinEdgeColors
{
    COLORREF clrTopLeft;
    COLORREF clrBottomRight;
};

// The colours of the outer (bInner FALSE) or inner edge.
bool SkinDrawEdgeColors(CQVTSkinManagerMetrics* pMetrics, UINT nEdge, UINT nFlags, bool bInner,
                        SkinEdgeColors* pColors)
{
    const bool bSoft = (nFlags & BF_SOFT) != 0;
    const bool bMono = (nFlags & BF_MONO) != 0;
    const bool bFlat = bMono || (nFlags & BF_FLAT) != 0;
    const COLORREF clrLight = pMetrics->GetColor(COLOR_3DLIGHT);
    const COLORREF clrHighlight = pMetrics->GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF clrShadow = pMetrics->GetColor(COLOR_BTNSHADOW);
    const COLORREF clrDark = pMetrics->GetColor(COLOR_3DDKSHADOW);
    UINT nBits = bInner ? (nEdge & BDR_INNER) : (nEdge & BDR_OUTER);
    if (nBits == 0)
        return false;
    COLORREF clr = 0;
    if (bMono)
        clr = pMetrics->GetColor(bInner ? COLOR_WINDOW : COLOR_WINDOWFRAME);
    else if (bFlat)
        clr = bInner ? pMetrics->GetColor(COLOR_BTNFACE) : clrShadow;
    if (bFlat)
    {
        *pColors = {clr, clr};
        return true;
    }
    if (!bInner)
        *pColors = (nBits & BDR_RAISEDOUTER) ? SkinEdgeColors{bSoft ? clrHighlight : clrLight, clrDark}
                                             : SkinEdgeColors{bSoft ? clrDark : clrShadow, clrHighlight};
    else
        *pColors = (nBits & BDR_RAISEDINNER) ? SkinEdgeColors{bSoft ? clrLight : clrHighlight, clrShadow}
                                             : SkinEdgeColors{bSoft ? clrShadow : clrDark, clrLight};
    return true;
}

void SkinDrawEdgeStrips(HDC hDC, CRect& rc, UINT nFlags, const SkinEdgeColors& colors, int cx, int cy)
{
    if (nFlags & BF_DIAGONAL)
    {
        // A staircase of border-sized steps between two corners.
        COLORREF clr = (nFlags & BF_BOTTOM) ? colors.clrBottomRight : colors.clrTopLeft;
        bool bRising = (nFlags & (BF_TOP | BF_RIGHT)) == (BF_TOP | BF_RIGHT) ||
                       (nFlags & (BF_BOTTOM | BF_LEFT)) == (BF_BOTTOM | BF_LEFT);
        int nSteps = std::min(rc.Width() / std::max(cx, 1), rc.Height() / std::max(cy, 1));
        for (int i = 0; i < nSteps; ++i)
        {
            int y = bRising ? rc.bottom - (i + 1) * cy : rc.top + i * cy;
            QVTSkinFillSolidRect(hDC, rc.left + i * cx, y, cx, cy, clr);
        }
        if (nFlags & BF_TOP)
            rc.top += cy;
        if (nFlags & BF_LEFT)
            rc.left += cx;
        return;
    }
    if (nFlags & BF_RIGHT)
    {
        QVTSkinFillSolidRect(hDC, rc.right - cx, rc.top, cx, rc.Height(), colors.clrBottomRight);
        rc.right -= cx;
    }
    if (nFlags & BF_BOTTOM)
    {
        QVTSkinFillSolidRect(hDC, rc.left, rc.bottom - cy, rc.Width(), cy, colors.clrBottomRight);
        rc.bottom -= cy;
    }
    if (nFlags & BF_LEFT)
    {
        QVTSkinFillSolidRect(hDC, rc.left, rc.top, cx, rc.Height(), colors.clrTopLeft);
        rc.left += cx;
    }
    if (nFlags & BF_TOP)
    {
        QVTSkinFillSolidRect(hDC, rc.left, rc.top, rc.Width(), cy, colors.clrTopLeft);
        rc.top += cy;
    }
}

// Entries of a colour table: biClrUsed, or all of them up to 8 bits.
DWORD SkinDibColorCount(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0)
        return header.biClrUsed;
    return header.biBitCount <= 8 ? (1u << header.biBitCount) : 0;
}
}  // namespace

void AFXAPI QVTSkinFillSolidRect(HDC hDC, int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rc = {x, y, x + cx, y + cy};
    QVTSkinFillSolidRect(hDC, rc, clr);
}

void AFXAPI QVTSkinFillSolidRect(HDC hDC, const RECT& rc, COLORREF clr)
{
    COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, clrOld);
}

void AFXAPI QVTSkinFillRect(HDC hDC, int x, int y, int cx, int cy, HBRUSH hBrush)
{
    RECT rc = {x, y, x + cx, y + cy};
    ::FillRect(hDC, &rc, hBrush);
}

void AFXAPI QVTSkinFrameRect(HDC hDC, const RECT& rc, int nWidth, int nHeight, COLORREF clr)
{
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    QVTSkinFillSolidRect(hDC, rc.left, rc.top, cx - nWidth, nHeight, clr);
    QVTSkinFillSolidRect(hDC, rc.left, rc.top, nWidth, cy - nHeight, clr);
    QVTSkinFillSolidRect(hDC, rc.right, rc.top, -nWidth, cy, clr);
    QVTSkinFillSolidRect(hDC, rc.left, rc.bottom, cx, -nHeight, clr);
}

void AFXAPI QVTSkinFrameRect(HDC hDC, const RECT& rc, int nSize, COLORREF clr)
{
    QVTSkinFrameRect(hDC, rc, nSize, nSize, clr);
}

void AFXAPI QVTSkinFrameRectBrush(HDC hDC, const RECT& rc, int nSize, HBRUSH hBrush)
{
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    QVTSkinFillRect(hDC, rc.left, rc.top, cx - nSize, nSize, hBrush);
    QVTSkinFillRect(hDC, rc.left, rc.top, nSize, cy - nSize, hBrush);
    QVTSkinFillRect(hDC, rc.right - nSize, rc.top, nSize, cy, hBrush);
    QVTSkinFillRect(hDC, rc.left, rc.bottom - nSize, cx, nSize, hBrush);
}

int AFXAPI QVTSkinDrawText(HDC hDC, LPCWSTR lpszText, int nLength, LPRECT lpRect, UINT nFormat,
                           const LOGFONT* pFont)
{
    LOGFONT lf = {};
    if (pFont != nullptr && pFont->lfCharSet == ANSI_CHARSET)
        lf = *pFont;
    else
    {
        HGDIOBJ hCurrent = ::GetCurrentObject(hDC, OBJ_FONT);
        if (hCurrent == nullptr || ::GetObjectW(hCurrent, sizeof lf, &lf) == 0 ||
            lf.lfCharSet != ANSI_CHARSET)
            return ::DrawTextW(hDC, lpszText, nLength, lpRect, nFormat);
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    HFONT hFont = ::CreateFontIndirectW(&lf);
    if (hFont == nullptr)
        return ::DrawTextW(hDC, lpszText, nLength, lpRect, nFormat);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    int nResult = ::DrawTextW(hDC, lpszText, nLength, lpRect, nFormat);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    return nResult;
}

void AFXAPI QVTSkinGetIconSize(HICON hIcon, int* pnWidth, int* pnHeight)
{
    *pnWidth = *pnHeight = 32;
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return;
    BITMAP bm = {};
    if (info.hbmMask != nullptr && ::GetObjectW(info.hbmMask, sizeof bm, &bm))
    {
        *pnWidth = bm.bmWidth;
        *pnHeight = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
}

HPALETTE AFXAPI QVTSkinCreatePalette(const BITMAPINFO* pInfo)
{
    if (pInfo == nullptr || pInfo->bmiHeader.biBitCount > 8)
        return nullptr;
    DWORD nColors = std::min<DWORD>(SkinDibColorCount(pInfo->bmiHeader), 256);
    if (nColors == 0)
        return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + nColors * sizeof(PALETTEENTRY));
    LOGPALETTE* pPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    pPalette->palVersion = 0x300;
    pPalette->palNumEntries = static_cast<WORD>(nColors);
    for (DWORD i = 0; i < nColors; ++i)
    {
        const RGBQUAD& q = pInfo->bmiColors[i];
        pPalette->palPalEntry[i] = {q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    return ::CreatePalette(pPalette);
}

HBITMAP AFXAPI QVTSkinCreateDIBitmap(const BITMAPINFO* pInfo, const void* pBits, HPALETTE hPalette)
{
    HDC hdcScreen = ::GetDC(nullptr);
    HPALETTE hOld = hPalette ? ::SelectPalette(hdcScreen, hPalette, FALSE) : nullptr;
    if (hPalette)
        ::RealizePalette(hdcScreen);
    HBITMAP hBitmap = ::CreateDIBitmap(hdcScreen, &pInfo->bmiHeader, CBM_INIT, pBits, pInfo, DIB_RGB_COLORS);
    if (hOld)
        ::SelectPalette(hdcScreen, hOld, FALSE);
    ::ReleaseDC(nullptr, hdcScreen);
    return hBitmap;
}

HBITMAP AFXAPI QVTSkinLoadDibFromMemory(const BYTE* pData, DWORD cbData, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    if (pData == nullptr || cbData < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof header);
    const WORD nBits = header.biBitCount;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > cbData || header.biWidth <= 0 ||
        header.biWidth > kSkinDibMaxSide || header.biHeight == 0 || header.biHeight > kSkinDibMaxSide ||
        header.biHeight < -kSkinDibMaxSide || header.biPlanes != 1)
        return nullptr;
    if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32)
        return nullptr;
    const bool bBitFields = header.biCompression == BI_BITFIELDS;
    if (header.biCompression != BI_RGB && !(bBitFields && (nBits == 16 || nBits == 32)))
        return nullptr;

    // Bit-field masks follow a plain 40-byte header; larger headers hold them.
    unsigned long long nOffset = header.biSize;
    DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (bBitFields)
    {
        const BYTE* pMasks = pData + sizeof(BITMAPINFOHEADER);
        if (header.biSize == sizeof(BITMAPINFOHEADER))
            nOffset += sizeof masks;
        if (nOffset > cbData || sizeof(BITMAPINFOHEADER) + sizeof masks > cbData)
            return nullptr;
        memcpy(masks, pMasks, sizeof masks);
    }
    const unsigned long long nColors = SkinDibColorCount(header);
    if (nBits <= 8 && (nColors == 0 || nColors > (1u << nBits)))
        return nullptr;
    const BYTE* pColors = pData + nOffset;
    nOffset += nColors * sizeof(RGBQUAD);
    const unsigned long long nStride =
        ((static_cast<unsigned long long>(header.biWidth) * nBits + 31) / 32) * 4;
    const unsigned long long nHeight =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    const unsigned long long nPixelBytes = nStride * nHeight;
    if (nOffset > cbData || nPixelBytes > cbData - nOffset)
        return nullptr;
    const BYTE* pPixels = pData + nOffset;

    // A BITMAPINFO of our own: the plain header, then masks or colours.
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    BITMAPINFO* pInfo = reinterpret_cast<BITMAPINFO*>(info.data());
    pInfo->bmiHeader = header;
    pInfo->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pInfo->bmiHeader.biSizeImage = static_cast<DWORD>(nPixelBytes);
    if (bBitFields)
        memcpy(pInfo->bmiColors, masks, sizeof masks);
    else if (nBits <= 8)
    {
        memcpy(pInfo->bmiColors, pColors, nColors * sizeof(RGBQUAD));
        pInfo->bmiHeader.biClrUsed = static_cast<DWORD>(nColors);
    }
    else
        pInfo->bmiHeader.biClrUsed = 0;

    if (nBits < 24)
    {
        HPALETTE hPalette = QVTSkinCreatePalette(pInfo);
        HBITMAP hBitmap = QVTSkinCreateDIBitmap(pInfo, pPixels, hPalette);
        if (hPalette)
            ::DeleteObject(hPalette);
        return hBitmap;
    }
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr || pBits == nullptr)
    {
        if (hBitmap)
            ::DeleteObject(hBitmap);
        return nullptr;
    }
    memcpy(pBits, pPixels, static_cast<size_t>(nPixelBytes));
    if (pbAlpha)
        *pbAlpha = nBits == 32;
    return hBitmap;
}

HBITMAP AFXAPI QVTSkinLoadDibFromResource(HMODULE hModule, LPCTSTR lpszName, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    if (hModule == nullptr || lpszName == nullptr)
        return nullptr;
    if (CQVTImageManager::IsPngResource(hModule, lpszName))
        return CQVTImageManager::LoadBitmapFromModule(hModule, lpszName, pbAlpha);
    DWORD cbData = 0;
    const BYTE* pData =
        CQVTSkinManagerResourceFile::LockResourceBounded(hModule, lpszName, RT_BITMAP, &cbData);
    return QVTSkinLoadDibFromMemory(pData, cbData, pbAlpha);
}

BOOL AFXAPI QVTSkinDrawEdge(CQVTSkinManagerMetrics* pMetrics, HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    if (pMetrics == nullptr || hDC == nullptr || lpRect == nullptr)
        return FALSE;
    if (nFlags & BF_MONO)
        nFlags |= BF_FLAT;
    CRect rc(*lpRect);
    const int cx = pMetrics->m_cxBorder, cy = pMetrics->m_cyBorder;
    SkinEdgeColors colors;
    if (SkinDrawEdgeColors(pMetrics, nEdge, nFlags, false, &colors))
        SkinDrawEdgeStrips(hDC, rc, nFlags, colors, cx, cy);
    if (SkinDrawEdgeColors(pMetrics, nEdge, nFlags, true, &colors))
        SkinDrawEdgeStrips(hDC, rc, nFlags, colors, cx, cy);
    BOOL bResult = TRUE;
    if (nFlags & BF_MIDDLE)
    {
        if (nFlags & BF_DIAGONAL)
            bResult = FALSE;
        else if (!rc.IsRectEmpty())
            QVTSkinFillSolidRect(hDC, rc,
                                 pMetrics->GetColor((nFlags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if (nFlags & BF_ADJUST)
        *lpRect = rc;
    return bResult;
}

BOOL AFXAPI QVTSkinDrawFrameControl(CQVTSkinManagerSchema* pSchema, HDC hDC, LPRECT lpRect, UINT nType,
                                    UINT nState)
{
    if (pSchema == nullptr || hDC == nullptr || lpRect == nullptr)
        return FALSE;
    CQVTSkinManagerMetrics* pMetrics = pSchema->GetMetrics();
    if (nType == DFC_SCROLL)
    {
        CQVTSkinManagerClass* pClass = pSchema->GetClass(u"SCROLLBAR");
        CDC* pDC = CDC::FromHandle(hDC);
        if (nState == DFCS_SCROLLSIZEGRIP)
        {
            QVTSkinFillSolidRect(hDC, *lpRect, pMetrics->GetColor(COLOR_BTNFACE));
            if (pClass)
                pClass->DrawThemeBackground(pDC, 10, 1, lpRect);
            return TRUE;
        }
        UINT nArrow = nState & 0xF;
        if (nArrow > DFCS_SCROLLRIGHT)
            return FALSE;
        int nStep = (nState & DFCS_INACTIVE) ? 4 : (nState & DFCS_PUSHED) ? 3 : 1;
        if (pClass)
            pClass->DrawThemeBackground(pDC, 1, static_cast<int>(nArrow * 4 + nStep), lpRect);
        return TRUE;
    }
    const UINT nPushBits = DFCS_PUSHED | DFCS_CHECKED | DFCS_ADJUSTRECT;
    if (nType == DFC_BUTTON && (nState & 0xFF) == DFCS_BUTTONPUSH && (nState & ~(0xFFu | nPushBits)) == 0)
    {
        CRect rc(*lpRect);
        UINT nEdge = (nState & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
        QVTSkinDrawEdge(pMetrics, hDC, &rc, nEdge, BF_RECT | BF_ADJUST);
        QVTSkinFillSolidRect(hDC, rc, pMetrics->GetColor(COLOR_BTNFACE));
        if (nState & DFCS_ADJUSTRECT)
            *lpRect = rc;
        return TRUE;
    }
    return FALSE;
}
