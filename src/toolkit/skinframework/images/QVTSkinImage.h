// One bitmap of a skin, a strip of frames, with what it takes to draw one
// frame into any rectangle: the nine-grid of sizing margins, stretching or
// tiling, a transparent colour or per-pixel alpha, right-to-left mirroring,
// colour filters, and solid fills for areas of one colour.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"

class CQVTSkinManagerSite;

// Sizing types of a skin part.
enum QVTSkinSizingType
{
    qvtSkinSizingTrueSize = 0,
    qvtSkinSizingStretch = 1,
    qvtSkinSizingTile = 2,
};

class CQVTSkinImage : public CQVTSynchronized
{
public:
    struct SOLIDRECT
    {
        RECT rc;       // bitmap coordinates
        COLORREF clr;  // with the alpha in the top byte for alpha images
    };

    CQVTSkinImage() = default;
    ~CQVTSkinImage();
    CQVTSkinImage(const CQVTSkinImage&) = delete;
    CQVTSkinImage& operator=(const CQVTSkinImage&) = delete;

    // A 32-bit bitmap with alpha is premultiplied when bConvertAlpha.
    BOOL LoadFile(LPCTSTR lpszPath, BOOL bConvertAlpha = TRUE);
    BOOL LoadBitmap(HMODULE hModule, LPCTSTR lpszResourceName, BOOL bConvertAlpha = TRUE);

    int GetWidth() const { return m_size.cx; }
    int GetHeight() const { return m_size.cy; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    BOOL IsAlphaImage() const { return m_bAlpha; }
    void SetMirrorAllowed(BOOL bAllowed) { m_bMirrorAllowed = bAllowed; }
    BOOL IsMirrored() const { return m_bMirrored; }

    // The rectangle of frame nIndex of nCount (horizontal: side by side);
    // the count is bounded by the pixels, and an index beyond it takes
    // frame 0. Empty when the frames would be empty.
    CRect GetFrameRect(int nCount, BOOL bHorizontal, int nIndex) const;

    void CreateSolidRectArray(int nCount, BOOL bHorizontal, const CRect& rcMargins);
    const std::vector<SOLIDRECT>& GetSolidRects() const { return m_solidRects; }

    // Draws the source frame into the destination. clrTransparent is -1
    // for none. Bad margins or an empty frame draw nothing.
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                   COLORREF clrTransparent, int nSizingType, BOOL bBorderOnly,
                   CQVTSkinManagerSite* pSite = nullptr);

    // The pixels as 32-bit rows from the top (BGRA), after any filtering
    // and without mirroring; FALSE without a bitmap.
    BOOL ReadPixels(std::vector<DWORD>& pixels) const;

private:
    BOOL TakeBitmap(HBITMAP hBitmap, BOOL bAlphaBitmap, BOOL bConvertAlpha);
    void ApplyColorFilters(COLORREF clrTransparent, CQVTSkinManagerSite* pSite);
    void SetMirrored(BOOL bMirrored);
    const SOLIDRECT* FindSolidRect(const CRect& rcSrc) const;
    // FALSE when the solid colour did not settle the part (a partial alpha).
    BOOL FillSolid(CDC* pDC, const CRect& rcDest, const SOLIDRECT& solid, COLORREF clrTransparent,
                   CQVTSkinManagerSite* pSite) const;

    struct DrawContext;
    void DrawNineGrid(DrawContext& context, const CRect& rcDest) const;
    void DrawPart(DrawContext& context, const CRect& rcDest, const CRect& rcSrc, BOOL bTileX,
                  BOOL bTileY) const;
    // From hdcSrc, whose picture is cxSource wide (mirrored like the bitmap).
    void CopyPart(DrawContext& context, HDC hdcSrc, int cxSource, const CRect& rcDest,
                  const CRect& rcSrc) const;
    // A 32-bit DIB holding whole copies of the part along each tiled axis,
    // in the bitmap's own orientation, selected into dcTile.
    BOOL MakeTile(DrawContext& context, const CRect& rcSrc, BOOL bTileX, BOOL bTileY, CDC& dcTile,
                  CBitmap& bmTile, CSize* pSize) const;

    BOOL m_bMirrorAllowed = TRUE;  // from MIRRORIMAGE
    HBITMAP m_hBitmap = nullptr;   // owned
    BOOL m_bAlpha = FALSE;         // 32 bits with per-pixel alpha
    BOOL m_bFiltered = FALSE;      // colour filters applied to the pixels
    BOOL m_bMirrored = FALSE;      // the bitmap holds its mirror image
    BOOL m_bSolidRectsMade = FALSE;
    CSize m_size;  // negative sizes read as 0
    std::vector<SOLIDRECT> m_solidRects;
};
