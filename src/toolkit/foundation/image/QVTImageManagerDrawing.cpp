// The image manager's pixel routines: blending, transparent copies, DIB
// sections, premultiplication and alpha detection, mirroring, resizing and
// cutting. A second file of CQVTImageManager, apart from its bookkeeping.
#include <afxwin.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImagePixels.h"

using namespace QVTImagePixels;

namespace {
// A 32-bit bitmap's pixels as GetBitmapBits reads them, freed with the reader.
class CThirtyTwoBitPixels
{
public:
    explicit CThirtyTwoBitPixels(HBITMAP hBitmap)
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        m_bValid = CQVTImageManager::GetBitmapBits(dc, hBitmap, m_pInfo, m_pBits, m_nSize);
    }
    ~CThirtyTwoBitPixels()
    {
        free(m_pInfo);
        free(m_pBits);
    }
    CThirtyTwoBitPixels(const CThirtyTwoBitPixels&) = delete;
    CThirtyTwoBitPixels& operator=(const CThirtyTwoBitPixels&) = delete;

    BOOL IsValid() const { return m_bValid; }
    int Width() const { return m_pInfo->bmiHeader.biWidth; }
    int Height() const { return m_pInfo->bmiHeader.biHeight; }
    const DWORD* Pixels() const { return static_cast<const DWORD*>(m_pBits); }

private:
    PBITMAPINFO m_pInfo = nullptr;
    LPVOID m_pBits = nullptr;
    UINT m_nSize = 0;
    BOOL m_bValid = FALSE;
};
}  // namespace

BOOL AFX_CDECL CQVTImageManager::AlphaBlend(HDC hdcDest, const CRect& rcDest, HDC hdcSrc, const CRect& rcSrc)
{
    if (!hdcDest || !hdcSrc || rcDest.Width() <= 0 || rcDest.Height() <= 0)
        return FALSE;
    CQVTOSVersion* pVersion = QVTOSVersion();
    if (CQVTDrawHelpers::IsHdcRightToLeft(hdcDest) && pVersion->IsWin9x())
        return AlphaBlendManual(hdcDest, rcDest, hdcSrc, rcSrc);

    CQVTDrawHelpers::PFNALPHABLEND pfnAlphaBlend = QVTDrawHelpers()->m_pfnAlphaBlend;
    if (pfnAlphaBlend &&
        (pVersion->IsWin2000OrGreater() || (rcSrc.left == 0 && rcSrc.top == 0 && rcDest.top >= 0)))
    {
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return pfnAlphaBlend(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc,
                             rcSrc.left, rcSrc.top, rcSrc.Width(), rcSrc.Height(), bf);
    }
    return AlphaBlendManual(hdcDest, rcDest, hdcSrc, rcSrc);
}

BOOL AFX_CDECL CQVTImageManager::AlphaBlendManual(HDC hdcDest, const CRect& rcDest, HDC hdcSrc,
                                                  const CRect& rcSrc)
{
    const int cx = rcDest.Width();
    const int cy = rcDest.Height();
    if (!hdcDest || !hdcSrc || cx <= 0 || cy <= 0 || rcSrc.Width() <= 0 || rcSrc.Height() <= 0)
        return FALSE;

    LPBYTE pSrcBits = nullptr, pDestBits = nullptr, pResultBits = nullptr;
    CQVTGdiObjectOwner srcCopy(Create32BitDIBSection(hdcDest, cx, cy, &pSrcBits));
    CQVTGdiObjectOwner destCopy(Create32BitDIBSection(hdcDest, cx, cy, &pDestBits));
    CQVTGdiObjectOwner result(Create32BitDIBSection(hdcDest, cx, cy, &pResultBits));
    if (!srcCopy.Get() || !destCopy.Get() || !result.Get())
        return FALSE;

    const BOOL bSrcRtl = CQVTDrawHelpers::IsHdcRightToLeft(hdcSrc);
    const BOOL bDestRtl = CQVTDrawHelpers::IsHdcRightToLeft(hdcDest);
    {
        CQVTSelectedBitmapDC dcSrcCopy(hdcDest, static_cast<HBITMAP>(srcCopy.Get()));
        CQVTSelectedBitmapDC dcDestCopy(hdcDest, static_cast<HBITMAP>(destCopy.Get()));
        if (!dcSrcCopy.IsValid() || !dcDestCopy.IsValid())
            return FALSE;
        CQVTDrawHelpers::SetDCLayoutReturnOld(dcSrcCopy, 0);
        CQVTDrawHelpers::SetDCLayoutReturnOld(dcDestCopy, 0);
        ::SetStretchBltMode(dcSrcCopy, HALFTONE);
        ::SetBrushOrgEx(dcSrcCopy, 0, 0, nullptr);
        ::StretchBlt(dcSrcCopy, 0, 0, cx, cy, hdcSrc, rcSrc.left, rcSrc.top, rcSrc.Width(), rcSrc.Height(),
                     SRCCOPY);
        ::BitBlt(dcDestCopy, 0, 0, cx, cy, hdcDest, rcDest.left, rcDest.top, SRCCOPY);
    }
    ::GdiFlush();

    BITMAP bmSrc = {}, bmDest = {}, bmResult = {};
    ::GetObjectW(srcCopy.Get(), sizeof bmSrc, &bmSrc);
    ::GetObjectW(destCopy.Get(), sizeof bmDest, &bmDest);
    ::GetObjectW(result.Get(), sizeof bmResult, &bmResult);
    for (const BITMAP* pBm : {&bmDest, &bmResult})
    {
        if (pBm->bmWidth != bmSrc.bmWidth || pBm->bmHeight != bmSrc.bmHeight || pBm->bmPlanes != 1 ||
            pBm->bmBitsPixel != 32 || bmSrc.bmPlanes != 1 || bmSrc.bmBitsPixel != 32)
            return FALSE;
    }

    const DWORD* pSrc = reinterpret_cast<const DWORD*>(pSrcBits);
    const DWORD* pDest = reinterpret_cast<const DWORD*>(pDestBits);
    DWORD* pResult = reinterpret_cast<DWORD*>(pResultBits);
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx; ++x)
        {
            const size_t row = static_cast<size_t>(y) * cx;
            DWORD s = pSrc[row + (bSrcRtl ? cx - 1 - x : x)];
            DWORD d = pDest[row + (bDestRtl ? cx - 1 - x : x)];
            DWORD sa = s >> 24;
            DWORD out = 0;
            for (int shift = 0; shift <= 24; shift += 8)
            {
                DWORD sc = (s >> shift) & 0xFF;
                DWORD dc = (d >> shift) & 0xFF;
                // Rounded as the system's blend rounds, so both give one result.
                DWORD c = std::min<DWORD>(255, sc + (dc * (255 - sa) + 127) / 255);
                out |= c << shift;
            }
            pResult[row + (bDestRtl ? cx - 1 - x : x)] = out;
        }
    }

    CQVTSelectedBitmapDC dcResult(hdcDest, static_cast<HBITMAP>(result.Get()));
    if (!dcResult.IsValid())
        return FALSE;
    CQVTDrawHelpers::SetDCLayoutReturnOld(dcResult, 0);
    return ::BitBlt(hdcDest, rcDest.left, rcDest.top, cx, cy, dcResult, 0, 0,
                    bDestRtl ? (NOMIRRORBITMAP | SRCCOPY) : SRCCOPY);
}

BOOL AFX_CDECL CQVTImageManager::TransparentBlt(HDC hdcDest, const CRect& rcDest, HDC hdcSrc,
                                                const CRect& rcSrc, UINT clrTransparent)
{
    CQVTDrawHelpers::PFNTRANSPARENTBLT pfnTransparentBlt = QVTDrawHelpers()->m_pfnTransparentBlt;
    if (pfnTransparentBlt && QVTOSVersion()->IsWin2000OrGreater())
        return pfnTransparentBlt(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc,
                                 rcSrc.left, rcSrc.top, rcSrc.Width(), rcSrc.Height(), clrTransparent);
    return TransparentBltManual(hdcDest, rcDest, hdcSrc, rcSrc, clrTransparent);
}

BOOL AFX_CDECL CQVTImageManager::TransparentBltManual(HDC hdcDest, const CRect& rcDest, HDC hdcSrc,
                                                      const CRect& rcSrc, UINT clrTransparent)
{
    const int cxSrc = rcSrc.Width();
    const int cySrc = rcSrc.Height();
    if (!hdcDest || !hdcSrc || cxSrc <= 0 || cySrc <= 0 || rcDest.IsRectEmpty())
        return FALSE;

    CQVTGdiObjectOwner colour(::CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    CQVTGdiObjectOwner mask(::CreateBitmap(cxSrc, cySrc, 1, 1, nullptr));
    if (!colour.Get() || !mask.Get())
        return FALSE;

    COLORREF clrOldBack = ::SetBkColor(hdcDest, RGB(255, 255, 255));
    COLORREF clrOldText = ::SetTextColor(hdcDest, RGB(0, 0, 0));
    BOOL bResult = FALSE;
    {
        CQVTSelectedBitmapDC dcColour(hdcDest, static_cast<HBITMAP>(colour.Get()));
        CQVTSelectedBitmapDC dcMask(hdcDest, static_cast<HBITMAP>(mask.Get()));
        if (dcColour.IsValid() && dcMask.IsValid())
        {
            ::BitBlt(dcColour, 0, 0, cxSrc, cySrc, hdcSrc, rcSrc.left, rcSrc.top, SRCCOPY);
            // Pixels of the background colour become 1 in the mask.
            ::SetBkColor(dcColour, clrTransparent);
            ::BitBlt(dcMask, 0, 0, cxSrc, cySrc, dcColour, 0, 0, SRCCOPY);
            if (clrTransparent != RGB(0, 0, 0))
            {
                ::SetBkColor(dcColour, RGB(0, 0, 0));
                ::SetTextColor(dcColour, RGB(255, 255, 255));
                ::BitBlt(dcColour, 0, 0, cxSrc, cySrc, dcMask, 0, 0, SRCAND);
            }
            if (rcDest.Width() == cxSrc && rcDest.Height() == cySrc)
            {
                ::BitBlt(hdcDest, rcDest.left, rcDest.top, cxSrc, cySrc, dcMask, 0, 0, SRCAND);
                bResult = ::BitBlt(hdcDest, rcDest.left, rcDest.top, cxSrc, cySrc, dcColour, 0, 0, SRCPAINT);
            }
            else
            {
                ::StretchBlt(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), dcMask, 0, 0,
                             cxSrc, cySrc, SRCAND);
                bResult = ::StretchBlt(hdcDest, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(),
                                       dcColour, 0, 0, cxSrc, cySrc, SRCPAINT);
            }
        }
    }
    ::SetBkColor(hdcDest, clrOldBack);
    ::SetTextColor(hdcDest, clrOldText);
    return bResult;
}

BOOL AFX_CDECL CQVTImageManager::DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest,
                                                 CPoint ptSrc, CSize szSrc)
{
    if (!pDC || !hBitmap)
        return FALSE;
    if (szSrc.cx == 0 && szSrc.cy == 0)
        szSrc = szDest;
    CQVTSelectedBitmapDC dcSrc(pDC->GetSafeHdc(), hBitmap);
    if (!dcSrc.IsValid())
        return FALSE;
    return AlphaBlend(pDC->GetSafeHdc(), CRect(ptDest, szDest), dcSrc, CRect(ptSrc, szSrc));
}

void AFX_CDECL CQVTImageManager::DrawIconWithAlpha(CDC* pDC, CPoint pt, CSize sz, HICON hIcon)
{
    const int cx = std::abs(sz.cx);
    const int cy = sz.cy;
    if (!pDC || !hIcon || cx == 0 || cy <= 0)
        return;
    LPBYTE pBits = nullptr;
    CQVTGdiObjectOwner section(Create32BitDIBSection(pDC->GetSafeHdc(), cx, cy, &pBits));
    if (!section.Get())
        return;
    DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    const size_t nCount = static_cast<size_t>(cx) * cy;
    {
        CQVTSelectedBitmapDC dc(pDC->GetSafeHdc(), static_cast<HBITMAP>(section.Get()));
        if (!dc.IsValid())
            return;
        ::GdiFlush();
        std::fill(pPixels, pPixels + nCount, 0x00FF00FF);
        ::DrawIconEx(dc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
    }
    if (sz.cx < 0)
        MirrorRows(pPixels, cx, cy);
    // What the icon left magenta is transparent; everything else is opaque.
    for (size_t i = 0; i < nCount; ++i)
        pPixels[i] = (pPixels[i] & 0x00FFFFFF) == 0x00FF00FF ? 0 : (pPixels[i] | 0xFF000000);
    DrawAlphaBitmap(pDC, static_cast<HBITMAP>(section.Get()), pt, CSize(cx, cy));
}

HBITMAP AFX_CDECL CQVTImageManager::Create32BitDIBSection(HDC hDC, int cx, int cy, LPBYTE* lpBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (lpBits)
        *lpBits = hBitmap ? static_cast<LPBYTE>(pBits) : nullptr;
    return hBitmap;
}

BOOL AFX_CDECL CQVTImageManager::GetBitmapBits(CDC& dcSrc, HBITMAP hBitmap, PBITMAPINFO& pBitmapInfo,
                                               LPVOID& pBits, UINT& nSize)
{
    pBitmapInfo = nullptr;
    pBits = nullptr;
    nSize = 0;
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof bm, &bm) || bm.bmBitsPixel != 32 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0 || bm.bmWidth > 16384 || bm.bmHeight > 16384)
        return FALSE;
    // Room for the header and three colour masks.
    pBitmapInfo = static_cast<PBITMAPINFO>(calloc(1, sizeof(BITMAPINFOHEADER) + 3 * sizeof(RGBQUAD)));
    const UINT nBytes = static_cast<UINT>(bm.bmWidth) * bm.bmHeight * 4;
    pBits = malloc(nBytes);
    if (!pBitmapInfo || !pBits)
    {
        free(pBitmapInfo);
        free(pBits);
        pBitmapInfo = nullptr;
        pBits = nullptr;
        return FALSE;
    }
    BITMAPINFOHEADER& header = pBitmapInfo->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = nBytes;
    if (::GetDIBits(dcSrc.GetSafeHdc(), hBitmap, 0, bm.bmHeight, pBits, pBitmapInfo, DIB_RGB_COLORS) !=
        bm.bmHeight)
    {
        free(pBitmapInfo);
        free(pBits);
        pBitmapInfo = nullptr;
        pBits = nullptr;
        return FALSE;
    }
    nSize = nBytes;
    return TRUE;
}

HBITMAP AFX_CDECL CQVTImageManager::CopyBitmap(HBITMAP hBitmap, LPBYTE* lpBits)
{
    CThirtyTwoBitPixels source(hBitmap);
    if (!source.IsValid())
        return nullptr;
    return CreateSection(source.Pixels(), source.Width(), source.Height(), lpBits);
}

HBITMAP AFX_CDECL CQVTImageManager::ConvertToAlphaBitmap(HBITMAP hBitmap, DWORD* pdwAlpha, LPBYTE* lpBits)
{
    CThirtyTwoBitPixels source(hBitmap);
    if (!source.IsValid())
        return nullptr;
    const int cx = source.Width();
    const int cy = source.Height();
    LPBYTE pBits = nullptr;
    HBITMAP hResult = CreateSection(source.Pixels(), cx, cy, &pBits);
    if (!hResult)
        return nullptr;
    DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    const size_t nCount = static_cast<size_t>(cx) * cy;
    Premultiply(pPixels, nCount);

    if (pdwAlpha)
    {
        BOOL bTransparentSeen = FALSE;
        const DWORD* pOriginal = source.Pixels();
        for (size_t i = 0; i < nCount && *pdwAlpha != 1; ++i)
        {
            DWORD a = pOriginal[i] >> 24;
            if (a == 0)
                bTransparentSeen = TRUE;
            else if (a < 255)
                *pdwAlpha = 1;
            else if (bTransparentSeen || *pdwAlpha == 0xFFFFFFFF)
                *pdwAlpha = 1;
        }
        // Without alpha the pixels stay as they were read.
        if (*pdwAlpha != 1)
            memcpy(pPixels, pOriginal, nCount * 4);
    }
    if (lpBits)
        *lpBits = pBits;
    return hResult;
}

HBITMAP AFX_CDECL CQVTImageManager::CreateMirroredBitmap(HBITMAP hBitmap)
{
    std::vector<DWORD> pixels;
    CSize size;
    if (!Read(hBitmap, pixels, size))
        return nullptr;
    MirrorRows(pixels.data(), size.cx, size.cy);
    return CreateSection(pixels.data(), size.cx, size.cy);
}

HICON AFX_CDECL CQVTImageManager::ResizeIcon(HICON hIcon, CSize szExtent, int nWidth)
{
    if (!hIcon || nWidth == 0 || szExtent.cx <= 0 || szExtent.cy <= 0)
        return nullptr;
    if (nWidth == szExtent.cx)
        return ::CopyIcon(hIcon);
    int nHeight = ::MulDiv(szExtent.cy, nWidth, szExtent.cx);
    HIMAGELIST hList = ImageList_Create(nWidth, nHeight, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (!hList)
        return nullptr;
    HICON hResult = nullptr;
    if (ImageList_ReplaceIcon(hList, -1, hIcon) == 0)
        hResult = ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ImageList_Destroy(hList);
    return hResult;
}

CSize AFX_CDECL CQVTImageManager::GetIconExtent(HICON hIcon)
{
    CSize size(0, 0);
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return size;
    BITMAP bm = {};
    if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof bm, &bm))
        size = CSize(bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return size;
}

BOOL AFX_CDECL CQVTImageManager::IsAlphaIconHandle(HICON hIcon)
{
    if (!hIcon)
        return FALSE;
    if (GetComCtlVersion() < MAKELONG(0, 6) && !QVTOSVersion()->IsWinXPOrGreater())
        return FALSE;
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info))
        return FALSE;
    DWORD dwAlpha = 0xFFFFFFFF;
    HBITMAP hConverted = info.hbmColor ? ConvertToAlphaBitmap(info.hbmColor, &dwAlpha) : nullptr;
    if (hConverted)
        ::DeleteObject(hConverted);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return hConverted && dwAlpha == 1;
}

BOOL AFX_CDECL CQVTImageManager::SplitBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps)
{
    if (nCount <= 0 || !pBitmaps)
        return FALSE;
    CThirtyTwoBitPixels source(hBitmap);
    if (!source.IsValid())
        return FALSE;
    const int cxAll = source.Width();
    const int cy = source.Height();
    const int cx = cxAll / nCount;
    BOOL bResult = cx > 0;
    for (int i = 0; i < nCount; ++i)
        pBitmaps[i] = nullptr;
    for (int i = 0; i < nCount && bResult; ++i)
    {
        LPBYTE pBits = nullptr;
        pBitmaps[i] = CreateSection(nullptr, cx, cy, &pBits);
        if (!pBitmaps[i])
        {
            bResult = FALSE;
            break;
        }
        DWORD* pTarget = reinterpret_cast<DWORD*>(pBits);
        for (int y = 0; y < cy; ++y)
            memcpy(pTarget + static_cast<size_t>(y) * cx,
                   source.Pixels() + static_cast<size_t>(y) * cxAll + i * cx, static_cast<size_t>(cx) * 4);
    }
    if (!bResult)
    {
        for (int i = 0; i < nCount; ++i)
        {
            if (pBitmaps[i])
                ::DeleteObject(pBitmaps[i]);
            pBitmaps[i] = nullptr;
        }
    }
    return bResult;
}
