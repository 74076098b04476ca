#include "toolkit/foundation/image/QVTGraphicBitmapPng.h"

#include <csetjmp>
#include <cstdlib>

#include "toolkit/foundation/resource/QVTResource.h"

// libpng is a native library.
#include "toolkit/foundation/stream/QVTNativeHeadersBegin.h"
#include <png.h>
#include "toolkit/foundation/stream/QVTNativeHeadersEnd.h"

namespace {
// Bounds that keep a hostile header from asking for unbounded memory.
const png_uint_32 kMaxDimension = 32767;
const size_t kMaxImageBytes = 256u * 1024u * 1024u;

void ReadFromFile(png_structp pPng, png_bytep pData, size_t nLength)
{
    CFile* pFile = static_cast<CFile*>(png_get_io_ptr(pPng));
    size_t nRead = 0;
    try
    {
        while (nRead < nLength)
        {
            size_t nChunk = nLength - nRead;
            if (nChunk > 0x40000000)
                nChunk = 0x40000000;
            UINT nGot = pFile->Read(pData + nRead, static_cast<UINT>(nChunk));
            if (nGot == 0)
                break;
            nRead += nGot;
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    // png_error leaves through the jump buffer: nothing above holds resources.
    if (nRead < nLength)
        png_error(pPng, "short read");
}

void OnError(png_structp pPng, png_const_charp)
{
    png_longjmp(pPng, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct DecodedImage
{
    png_uint_32 nWidth = 0;
    png_uint_32 nHeight = 0;
    size_t nRowBytes = 0;
    int nChannels = 0;
    png_bytep pPixels = nullptr;
    png_bytepp pRows = nullptr;
};

// Plain C control flow only: a decoding error jumps back to the setjmp here.
BOOL Decode(png_structp pPng, png_infop pInfo, DecodedImage* pImage)
{
    if (setjmp(png_jmpbuf(pPng)))
        return FALSE;

    png_set_sig_bytes(pPng, 8);
    png_set_user_limits(pPng, kMaxDimension, kMaxDimension);
    png_read_info(pPng, pInfo);

    png_uint_32 nWidth = 0, nHeight = 0;
    int nBitDepth = 0, nColorType = 0;
    png_get_IHDR(pPng, pInfo, &nWidth, &nHeight, &nBitDepth, &nColorType, nullptr, nullptr, nullptr);

    if (nBitDepth == 16)
        png_set_strip_16(pPng);
    if (nColorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(pPng);
    if (nBitDepth < 8)
        png_set_expand(pPng);
    if (png_get_valid(pPng, pInfo, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(pPng);
    if (nColorType == PNG_COLOR_TYPE_GRAY || nColorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(pPng);
    png_color_16p pBackground = nullptr;
    if (png_get_bKGD(pPng, pInfo, &pBackground) && pBackground != nullptr)
        png_set_background(pPng, pBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double dGamma = 0.0;
    if (png_get_gAMA(pPng, pInfo, &dGamma))
        png_set_gamma(pPng, 2.2, dGamma);

    png_read_update_info(pPng, pInfo);
    png_get_IHDR(pPng, pInfo, &nWidth, &nHeight, &nBitDepth, &nColorType, nullptr, nullptr, nullptr);
    size_t nRowBytes = png_get_rowbytes(pPng, pInfo);
    int nChannels = png_get_channels(pPng, pInfo);
    if (nWidth == 0 || nHeight == 0 || nBitDepth != 8 || (nChannels != 3 && nChannels != 4) ||
        nRowBytes < static_cast<size_t>(nWidth) * nChannels || nRowBytes > kMaxImageBytes / nHeight)
        return FALSE;

    pImage->nWidth = nWidth;
    pImage->nHeight = nHeight;
    pImage->nRowBytes = nRowBytes;
    pImage->nChannels = nChannels;
    pImage->pPixels = static_cast<png_bytep>(std::malloc(nRowBytes * nHeight));
    pImage->pRows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * nHeight));
    if (pImage->pPixels == nullptr || pImage->pRows == nullptr)
        return FALSE;
    for (png_uint_32 i = 0; i < nHeight; ++i)
        pImage->pRows[i] = pImage->pPixels + i * nRowBytes;
    png_read_image(pPng, pImage->pRows);
    png_read_end(pPng, nullptr);
    return TRUE;
}

HBITMAP CreateDibFromImage(const DecodedImage& image)
{
    if (image.nWidth > 0x7FFFFFFF || image.nHeight > 0x7FFFFFFF)
        return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = static_cast<LONG>(image.nWidth);
    bmi.bmiHeader.biHeight = -static_cast<LONG>(image.nHeight);
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr || pBits == nullptr)
    {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        return nullptr;
    }
    BYTE* pTarget = static_cast<BYTE*>(pBits);
    for (png_uint_32 y = 0; y < image.nHeight; ++y)
    {
        const BYTE* pSource = image.pRows[y];
        for (png_uint_32 x = 0; x < image.nWidth; ++x)
        {
            pTarget[0] = pSource[2];
            pTarget[1] = pSource[1];
            pTarget[2] = pSource[0];
            pTarget[3] = image.nChannels == 4 ? pSource[3] : 0;
            pTarget += 4;
            pSource += image.nChannels;
        }
    }
    return hBitmap;
}
}  // namespace

CQVTGraphicBitmapPng::CQVTGraphicBitmapPng() : m_bAlpha(FALSE) {}

CQVTGraphicBitmapPng::~CQVTGraphicBitmapPng() = default;

BOOL CQVTGraphicBitmapPng::LoadFromFile(LPCTSTR lpszFileName)
{
    m_bAlpha = FALSE;
    DeleteObject();
    CFile file;
    if (lpszFileName == nullptr || !file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    return LoadFromStream(&file);
}

BOOL CQVTGraphicBitmapPng::LoadFromResource(HMODULE hModule, HRSRC hResource)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (hResource == nullptr)
        return FALSE;
    DWORD nSize = 0;
    const BYTE* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
    if (pData == nullptr || nSize < 10)
        return FALSE;
    CMemFile file(const_cast<BYTE*>(pData), nSize);
    return LoadFromStream(&file);
}

BOOL CQVTGraphicBitmapPng::LoadFromStream(CFile* pFile)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (pFile == nullptr)
        return FALSE;

    png_byte signature[8] = {};
    try
    {
        if (pFile->Read(signature, 8) != 8)
            return FALSE;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    if (png_sig_cmp(signature, 0, 8) != 0)
        return FALSE;

    png_structp pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &OnError, &OnWarning);
    if (pPng == nullptr)
        return FALSE;
    png_infop pInfo = png_create_info_struct(pPng);
    if (pInfo == nullptr)
    {
        png_destroy_read_struct(&pPng, nullptr, nullptr);
        return FALSE;
    }
    png_set_read_fn(pPng, pFile, &ReadFromFile);

    DecodedImage image;
    BOOL bDecoded = Decode(pPng, pInfo, &image);
    png_destroy_read_struct(&pPng, &pInfo, nullptr);

    HBITMAP hBitmap = bDecoded ? CreateDibFromImage(image) : nullptr;
    std::free(image.pRows);
    std::free(image.pPixels);
    if (hBitmap == nullptr)
        return FALSE;
    Attach(hBitmap);
    m_bAlpha = image.nChannels == 4;
    return TRUE;
}
