#include "toolkit/foundation/image/QVTImagePixels.h"

#include "toolkit/foundation/image/QVTImageManager.h"

#include <algorithm>

namespace QVTImagePixels {

namespace {
// Far above any image the toolkit draws; keeps a lying header from asking for
// gigabytes.
const LONG kMaxSide = 16384;
}  // namespace

BOOL Read(HBITMAP hBitmap, std::vector<DWORD>& pixels, CSize& size)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
        bm.bmWidth > kMaxSide || bm.bmHeight > kMaxSide)
        return FALSE;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = bm.bmHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    try
    {
        pixels.assign(static_cast<size_t>(bm.bmWidth) * bm.bmHeight, 0);
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    HDC hDC = ::CreateCompatibleDC(nullptr);
    int nLines = ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    if (nLines != bm.bmHeight)
        return FALSE;
    size = CSize(bm.bmWidth, bm.bmHeight);
    return TRUE;
}

HBITMAP CreateSection(const DWORD* pPixels, int cx, int cy, LPBYTE* lpBits)
{
    if (cx <= 0 || cy <= 0)
        return nullptr;
    LPBYTE pBits = nullptr;
    HBITMAP hBitmap = CQVTImageManager::Create32BitDIBSection(nullptr, cx, cy, &pBits);
    if (!hBitmap)
        return nullptr;
    if (pPixels)
        memcpy(pBits, pPixels, static_cast<size_t>(cx) * cy * 4);
    if (lpBits)
        *lpBits = pBits;
    return hBitmap;
}

DWORD PremultiplyPixel(DWORD dwPixel)
{
    DWORD a = dwPixel >> 24;
    DWORD b = (dwPixel & 0xFF) * a / 255;
    DWORD g = ((dwPixel >> 8) & 0xFF) * a / 255;
    DWORD r = ((dwPixel >> 16) & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

void Premultiply(DWORD* pPixels, size_t nCount)
{
    for (size_t i = 0; i < nCount; ++i)
        pPixels[i] = PremultiplyPixel(pPixels[i]);
}

void MirrorRows(DWORD* pPixels, int cx, int cy)
{
    for (int y = 0; y < cy; ++y)
        std::reverse(pPixels + static_cast<size_t>(y) * cx, pPixels + static_cast<size_t>(y + 1) * cx);
}

CQVTSelectedBitmapDC::CQVTSelectedBitmapDC(HDC hCompatible, HBITMAP hBitmap)
    : m_hDC(::CreateCompatibleDC(hCompatible))
{
    if (m_hDC && hBitmap)
        m_hOld = ::SelectObject(m_hDC, hBitmap);
}

CQVTSelectedBitmapDC::~CQVTSelectedBitmapDC()
{
    if (!m_hDC)
        return;
    if (m_hOld)
        ::SelectObject(m_hDC, m_hOld);
    ::DeleteDC(m_hDC);
}

}  // namespace QVTImagePixels
