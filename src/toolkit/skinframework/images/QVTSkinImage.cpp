#include "toolkit/skinframework/images/QVTSkinImage.h"

#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

namespace {
// Copies of a tiled part beyond this many come from a larger tile.
const int kSkinImageMaxTileCopies = 16;
// About how wide or high that tile grows along a tiled axis.
const int kSkinImageTileSide = 256;

COLORREF SkinImagePixelToColor(DWORD dwPixel, BOOL bAlpha)
{
    COLORREF clr = RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF);
    return bAlpha ? clr | (dwPixel & 0xFF000000) : clr;
}

DWORD SkinImageColorToPixel(COLORREF clr, DWORD dwAlpha)
{
    return (dwAlpha & 0xFF000000) | (GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr);
}

// A 32-bit top-down DIB section holding the given pixels.
HBITMAP SkinImageCreateSection(const std::vector<DWORD>& pixels, CSize size)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = size.cx;
    bmi.bmiHeader.biHeight = -size.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap != nullptr && pBits != nullptr)
        memcpy(pBits, pixels.data(), pixels.size() * sizeof(DWORD));
    return hBitmap;
}

// Margins that fit the frame: none negative, neither axis's pair larger
// than the frame along it.
bool SkinImageMarginsFit(const CRect& rcMargins, const CRect& rcSrc)
{
    if (rcMargins.left < 0 || rcMargins.right < 0 || rcMargins.top < 0 || rcMargins.bottom < 0)
        return false;
    return static_cast<long long>(rcMargins.left) + rcMargins.right <= rcSrc.Width() &&
           static_cast<long long>(rcMargins.top) + rcMargins.bottom <= rcSrc.Height();
}

// Destination margins of one axis: corners keep their size while they fit
// and the frame has a middle, else both shrink in proportion.
void SkinImageAxisMargins(int nDest, int nNear, int nFar, int nSource, int* pNear, int* pFar, BOOL* pbTile)
{
    *pNear = nNear;
    *pFar = nFar;
    int nSum = nNear + nFar;
    if (nSum == 0 || (nDest > nSum && nSource > nSum))
        return;
    *pNear = ::MulDiv(nDest, nNear, nSum);
    *pFar = nDest - *pNear;
    if ((*pFar & 1) != (nFar & 1))
        ++*pFar;
    *pbTile = FALSE;
}
}  // namespace

struct CQVTSkinImage::DrawContext
{
    CDC* pDC;
    CDC dcSource;
    BOOL bTileX;
    BOOL bTileY;
    BOOL bBorderOnly;
    COLORREF clrTransparent;
    CQVTSkinManagerSite* pSite;
    CRect rcSrc;      // the frame, in unmirrored bitmap coordinates
    CRect rcMargins;  // of the source
};

CQVTSkinImage::~CQVTSkinImage()
{
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
}

BOOL CQVTSkinImage::TakeBitmap(HBITMAP hBitmap, BOOL bAlphaBitmap, BOOL bConvertAlpha)
{
    if (hBitmap == nullptr)
        return FALSE;
    m_bAlpha = FALSE;
    if (bAlphaBitmap && bConvertAlpha)
    {
        HBITMAP hConverted = CQVTImageManager::ConvertToAlphaBitmap(hBitmap, nullptr);
        ::DeleteObject(hBitmap);
        if (hConverted == nullptr)
            return FALSE;
        hBitmap = hConverted;
        m_bAlpha = TRUE;
    }
    else if (bAlphaBitmap)
        m_bAlpha = TRUE;
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    BITMAP bm = {};
    ::GetObjectW(m_hBitmap, sizeof bm, &bm);
    m_size = CSize(std::max(0, static_cast<int>(bm.bmWidth)), std::max(0, static_cast<int>(bm.bmHeight)));
    return TRUE;
}

BOOL CQVTSkinImage::LoadFile(LPCTSTR lpszPath, BOOL bConvertAlpha)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromFile(lpszPath, &bAlpha);
    return TakeBitmap(hBitmap, bAlpha, bConvertAlpha);
}

BOOL CQVTSkinImage::LoadBitmap(HMODULE hModule, LPCTSTR lpszResourceName, BOOL bConvertAlpha)
{
    if (hModule == nullptr)
        return FALSE;
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = QVTSkinLoadDibFromResource(hModule, lpszResourceName, &bAlpha);
    return TakeBitmap(hBitmap, bAlpha, bConvertAlpha);
}

BOOL CQVTSkinImage::ReadPixels(std::vector<DWORD>& pixels) const
{
    if (m_hBitmap == nullptr || m_size.cx <= 0 || m_size.cy <= 0)
        return FALSE;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = m_size.cx;
    bmi.bmiHeader.biHeight = -m_size.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    try
    {
        pixels.assign(static_cast<size_t>(m_size.cx) * m_size.cy, 0);
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    // Any DC reads RGB pixels; a memory DC costs no trip to the window server.
    HDC hDC = ::CreateCompatibleDC(nullptr);
    int nLines = hDC ? ::GetDIBits(hDC, m_hBitmap, 0, m_size.cy, pixels.data(), &bmi, DIB_RGB_COLORS) : 0;
    if (hDC)
        ::DeleteDC(hDC);
    if (nLines != m_size.cy)
        return FALSE;
    if (m_bMirrored)
        for (int y = 0; y < m_size.cy; ++y)
            std::reverse(pixels.begin() + static_cast<size_t>(y) * m_size.cx,
                         pixels.begin() + static_cast<size_t>(y + 1) * m_size.cx);
    return TRUE;
}

CRect CQVTSkinImage::GetFrameRect(int nCount, BOOL bHorizontal, int nIndex) const
{
    nCount = std::max(1, nCount);
    // More frames than pixels would make every frame empty.
    if (nCount > (bHorizontal ? m_size.cx : m_size.cy))
        return CRect();
    if (nIndex < 0 || nIndex >= nCount)
        nIndex = 0;
    if (bHorizontal)
    {
        int cx = m_size.cx / nCount;
        return CRect(nIndex * cx, 0, (nIndex + 1) * cx, m_size.cy);
    }
    int cy = m_size.cy / nCount;
    return CRect(0, nIndex * cy, m_size.cx, (nIndex + 1) * cy);
}

void CQVTSkinImage::CreateSolidRectArray(int nCount, BOOL bHorizontal, const CRect& rcMargins)
{
    CQVTWriteLock lock(m_lock);
    if (m_hBitmap == nullptr || nCount < 1 || m_bSolidRectsMade || m_bFiltered)
        return;
    m_bSolidRectsMade = TRUE;
    if (GetFrameRect(nCount, bHorizontal, 0).IsRectEmpty())
        return;
    std::vector<DWORD> pixels;
    if (!ReadPixels(pixels))
        return;
    auto test = [&](const CRect& rc) {
        if (rc.IsRectEmpty() || rc.left < 0 || rc.top < 0 || rc.right > m_size.cx || rc.bottom > m_size.cy)
            return;
        DWORD dwFirst = pixels[static_cast<size_t>(rc.top) * m_size.cx + rc.left];
        for (int y = rc.top; y < rc.bottom; ++y)
        {
            const DWORD* pRow = pixels.data() + static_cast<size_t>(y) * m_size.cx;
            for (int x = rc.left; x < rc.right; ++x)
                if (pRow[x] != dwFirst)
                    return;
        }
        m_solidRects.push_back({rc, SkinImagePixelToColor(dwFirst, m_bAlpha)});
    };
    for (int i = 0; i < nCount; ++i)
    {
        CRect rcFrame = GetFrameRect(nCount, bHorizontal, i);
        CRect rcInner(rcFrame.left + rcMargins.left, rcFrame.top + rcMargins.top,
                      rcFrame.right - rcMargins.right, rcFrame.bottom - rcMargins.bottom);
        test(rcInner);
        test(CRect(rcFrame.left, rcInner.top, rcInner.left, rcInner.bottom));
        test(CRect(rcInner.right, rcInner.top, rcFrame.right, rcInner.bottom));
        test(CRect(rcInner.left, rcFrame.top, rcInner.right, rcInner.top));
        test(CRect(rcInner.left, rcInner.bottom, rcInner.right, rcFrame.bottom));
    }
}

void CQVTSkinImage::ApplyColorFilters(COLORREF clrTransparent, CQVTSkinManagerSite* pSite)
{
    if (m_bFiltered || pSite == nullptr || !pSite->HasColorFilters() || m_hBitmap == nullptr)
        return;
    BOOL bMirrored = m_bMirrored;
    SetMirrored(FALSE);
    std::vector<DWORD> pixels;
    if (!ReadPixels(pixels))
        return;
    for (DWORD& dwPixel : pixels)
    {
        COLORREF clr = SkinImagePixelToColor(dwPixel, FALSE);
        if (clr == clrTransparent)
            continue;
        pSite->ApplyColorFilter(&clr);
        dwPixel = SkinImageColorToPixel(clr, dwPixel);
    }
    HBITMAP hFiltered = SkinImageCreateSection(pixels, m_size);
    if (hFiltered == nullptr)
        return;
    ::DeleteObject(m_hBitmap);
    m_hBitmap = hFiltered;
    m_bFiltered = TRUE;
    SetMirrored(bMirrored);
}

void CQVTSkinImage::SetMirrored(BOOL bMirrored)
{
    if (m_bMirrored == bMirrored || m_hBitmap == nullptr)
        return;
    HBITMAP hMirror = CQVTImageManager::CreateMirroredBitmap(m_hBitmap);
    if (hMirror == nullptr)
        return;
    ::DeleteObject(m_hBitmap);
    m_hBitmap = hMirror;
    m_bMirrored = bMirrored;
}

const CQVTSkinImage::SOLIDRECT* CQVTSkinImage::FindSolidRect(const CRect& rcSrc) const
{
    for (const SOLIDRECT& solid : m_solidRects)
        if (rcSrc.left >= solid.rc.left && rcSrc.top >= solid.rc.top && rcSrc.right <= solid.rc.right &&
            rcSrc.bottom <= solid.rc.bottom)
            return &solid;
    return nullptr;
}

BOOL CQVTSkinImage::FillSolid(CDC* pDC, const CRect& rcDest, const SOLIDRECT& solid, COLORREF clrTransparent,
                              CQVTSkinManagerSite* pSite) const
{
    COLORREF clr = solid.clr & 0xFFFFFF;
    BYTE nAlpha = static_cast<BYTE>(solid.clr >> 24);
    if (m_bAlpha)
    {
        if (nAlpha == 0)
            return TRUE;
        if (nAlpha != 255)
            return FALSE;
    }
    else if (clr == clrTransparent)
        return TRUE;
    if (clr != clrTransparent && pSite != nullptr)
        pSite->ApplyColorFilter(&clr);
    QVTSkinFillSolidRect(pDC->GetSafeHdc(), rcDest, clr);
    return TRUE;
}

void CQVTSkinImage::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrcIn, const CRect& rcMargins,
                              COLORREF clrTransparent, int nSizingType, BOOL bBorderOnly,
                              CQVTSkinManagerSite* pSite)
{
    CQVTWriteLock lock(m_lock);
    CRect rcSrc(rcSrcIn);
    rcSrc.IntersectRect(rcSrc, CRect(0, 0, m_size.cx, m_size.cy));
    if (m_hBitmap == nullptr || pDC == nullptr || rcSrc.IsRectEmpty() || rcSrc != rcSrcIn ||
        rcDest.IsRectEmpty() || !SkinImageMarginsFit(rcMargins, rcSrc))
        return;
    if (!m_bAlpha && clrTransparent != CLR_INVALID)
        clrTransparent &= 0xFFFFFF;
    ApplyColorFilters(clrTransparent, pSite);

    if (const SOLIDRECT* pSolid = FindSolidRect(rcSrc))
        if (FillSolid(pDC, rcDest, *pSolid, clrTransparent, pSite))
            return;

    BOOL bMirrorDC = (pDC->GetLayout() & LAYOUT_RTL) != 0;
    SetMirrored(bMirrorDC && m_bMirrorAllowed);

    DrawContext context;
    context.bTileX = context.bTileY = nSizingType == qvtSkinSizingTile;
    context.bBorderOnly = bBorderOnly;
    context.clrTransparent = clrTransparent;
    context.pSite = pSite;
    context.rcSrc = rcSrc;
    context.rcMargins = rcMargins;
    if (!context.dcSource.CreateCompatibleDC(nullptr))
        return;
    HGDIOBJ hOldBitmap = ::SelectObject(context.dcSource.GetSafeHdc(), m_hBitmap);

    if (clrTransparent != CLR_INVALID && !m_bAlpha)
    {
        // Drawn on the transparent colour, then copied keyed on it.
        CDC dcBuffer;
        CBitmap bmBuffer;
        if (dcBuffer.CreateCompatibleDC(pDC) &&
            bmBuffer.CreateCompatibleBitmap(pDC, rcDest.Width(), rcDest.Height()))
        {
            CBitmap* pOld = dcBuffer.SelectObject(&bmBuffer);
            CRect rcBuffer(0, 0, rcDest.Width(), rcDest.Height());
            QVTSkinFillSolidRect(dcBuffer.GetSafeHdc(), rcBuffer, clrTransparent);
            context.pDC = &dcBuffer;
            dcBuffer.SetStretchBltMode(COLORONCOLOR);
            DrawNineGrid(context, rcBuffer);
            CQVTImageManager::TransparentBlt(pDC->GetSafeHdc(), rcDest, dcBuffer.GetSafeHdc(), rcBuffer,
                                             clrTransparent);
            dcBuffer.SelectObject(pOld);
        }
    }
    else
    {
        context.pDC = pDC;
        int nOldMode = pDC->SetStretchBltMode(clrTransparent != CLR_INVALID ? COLORONCOLOR : HALFTONE);
        DrawNineGrid(context, rcDest);
        pDC->SetStretchBltMode(nOldMode);
    }
    ::SelectObject(context.dcSource.GetSafeHdc(), hOldBitmap);
}

void CQVTSkinImage::DrawNineGrid(DrawContext& context, const CRect& rcDest) const
{
    const CRect& rcSrc = context.rcSrc;
    const CRect& m = context.rcMargins;
    if (m.left == 0 && m.right == 0 && m.top == 0 && m.bottom == 0)
    {
        DrawPart(context, rcDest, rcSrc, context.bTileX, context.bTileY);
        return;
    }
    BOOL bTileX = context.bTileX, bTileY = context.bTileY;
    int dl, dr, dt, db;
    SkinImageAxisMargins(rcDest.Width(), m.left, m.right, rcSrc.Width(), &dl, &dr, &bTileX);
    SkinImageAxisMargins(rcDest.Height(), m.top, m.bottom, rcSrc.Height(), &dt, &db, &bTileY);

    const int dx[4] = {rcDest.left, rcDest.left + dl, rcDest.right - dr, rcDest.right};
    const int dy[4] = {rcDest.top, rcDest.top + dt, rcDest.bottom - db, rcDest.bottom};
    const int sx[4] = {rcSrc.left, rcSrc.left + m.left, rcSrc.right - m.right, rcSrc.right};
    const int sy[4] = {rcSrc.top, rcSrc.top + m.top, rcSrc.bottom - m.bottom, rcSrc.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
        {
            if (row == 1 && col == 1 && context.bBorderOnly)
                continue;
            CRect rcPartDest(dx[col], dy[row], dx[col + 1], dy[row + 1]);
            CRect rcPartSrc(sx[col], sy[row], sx[col + 1], sy[row + 1]);
            if (rcPartDest.IsRectEmpty() || rcPartSrc.IsRectEmpty())
                continue;
            // Corners are copied, edges run along their length, the middle both ways.
            DrawPart(context, rcPartDest, rcPartSrc, col == 1 && bTileX, row == 1 && bTileY);
        }
}

void CQVTSkinImage::DrawPart(DrawContext& context, const CRect& rcDest, const CRect& rcSrc, BOOL bTileX,
                             BOOL bTileY) const
{
    if (const SOLIDRECT* pSolid = FindSolidRect(rcSrc))
        if (FillSolid(context.pDC, rcDest, *pSolid, context.clrTransparent, context.pSite))
            return;
    if (!bTileX && !bTileY)
    {
        CopyPart(context, context.dcSource.GetSafeHdc(), m_size.cx, rcDest, rcSrc);
        return;
    }
    HDC hdcSrc = context.dcSource.GetSafeHdc();
    int cxSource = m_size.cx;
    CRect rcFrom(rcSrc);
    int cxStep = bTileX ? rcSrc.Width() : rcDest.Width();
    int cyStep = bTileY ? rcSrc.Height() : rcDest.Height();
    // A part of a pixel or two would take a copy per pixel: past a few
    // copies they come from a larger tile of the same pattern.
    CBitmap bmTile;
    CDC dcTile;  // goes first, letting go of the tile
    CSize szTile;
    const long long nCopies = (static_cast<long long>(rcDest.Width()) + cxStep - 1) / cxStep *
                              ((static_cast<long long>(rcDest.Height()) + cyStep - 1) / cyStep);
    if (nCopies > kSkinImageMaxTileCopies &&
        MakeTile(context, rcSrc, bTileX, bTileY, dcTile, bmTile, &szTile))
    {
        hdcSrc = dcTile.GetSafeHdc();
        cxSource = szTile.cx;
        rcFrom.SetRect(0, 0, szTile.cx, szTile.cy);
        if (bTileX)
            cxStep = szTile.cx;
        if (bTileY)
            cyStep = szTile.cy;
    }
    for (int y = rcDest.top; y < rcDest.bottom; y += cyStep)
        for (int x = rcDest.left; x < rcDest.right; x += cxStep)
        {
            // The last copy of a row or column is cut, not squeezed.
            CRect rcTile(x, y, std::min(x + cxStep, static_cast<int>(rcDest.right)),
                         std::min(y + cyStep, static_cast<int>(rcDest.bottom)));
            CRect rcTileSrc(rcFrom);
            if (bTileX)
                rcTileSrc.right = rcTileSrc.left + rcTile.Width();
            if (bTileY)
                rcTileSrc.bottom = rcTileSrc.top + rcTile.Height();
            CopyPart(context, hdcSrc, cxSource, rcTile, rcTileSrc);
        }
}

BOOL CQVTSkinImage::MakeTile(DrawContext& context, const CRect& rcSrc, BOOL bTileX, BOOL bTileY, CDC& dcTile,
                             CBitmap& bmTile, CSize* pSize) const
{
    const int cxPart = rcSrc.Width(), cyPart = rcSrc.Height();
    // Whole copies only: the pattern then holds when the tile is mirrored too.
    const CSize szTile(bTileX ? cxPart * std::max(1, kSkinImageTileSide / cxPart) : cxPart,
                       bTileY ? cyPart * std::max(1, kSkinImageTileSide / cyPart) : cyPart);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = szTile.cx;
    bmi.bmiHeader.biHeight = -szTile.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    if (!bmTile.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0)) ||
        !dcTile.CreateCompatibleDC(nullptr))
        return FALSE;
    dcTile.SelectObject(&bmTile);
    const HDC hdcTile = dcTile.GetSafeHdc();
    const int xFrom = m_bMirrored ? m_size.cx - rcSrc.right : rcSrc.left;
    ::BitBlt(hdcTile, 0, 0, cxPart, cyPart, context.dcSource.GetSafeHdc(), xFrom, rcSrc.top, SRCCOPY);
    // Each pass doubles what is there.
    for (int cx = cxPart; cx < szTile.cx; cx *= 2)
        ::BitBlt(hdcTile, cx, 0, std::min(cx, szTile.cx - cx), cyPart, hdcTile, 0, 0, SRCCOPY);
    for (int cy = cyPart; cy < szTile.cy; cy *= 2)
        ::BitBlt(hdcTile, 0, cy, szTile.cx, std::min(cy, szTile.cy - cy), hdcTile, 0, 0, SRCCOPY);
    *pSize = szTile;
    return TRUE;
}

void CQVTSkinImage::CopyPart(DrawContext& context, HDC hdcSrc, int cxSource, const CRect& rcDest,
                             const CRect& rcSrcIn) const
{
    // The bitmap may hold its mirror image: the same part, seen from the right.
    CRect rcSrc(rcSrcIn);
    if (m_bMirrored)
    {
        rcSrc.left = cxSource - rcSrcIn.right;
        rcSrc.right = cxSource - rcSrcIn.left;
    }
    HDC hdcDest = context.pDC->GetSafeHdc();
    if (m_bAlpha)
        CQVTImageManager::AlphaBlend(hdcDest, rcDest, hdcSrc, rcSrc);
    else if (rcDest.Size() == rcSrc.Size())
        ::BitBlt(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc, rcSrc.left,
                 rcSrc.top, SRCCOPY);
    else
        ::StretchBlt(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc, rcSrc.left,
                     rcSrc.top, rcSrc.Width(), rcSrc.Height(), SRCCOPY);
}
