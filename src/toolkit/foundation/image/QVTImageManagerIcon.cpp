#include "toolkit/foundation/image/QVTImageManagerIcon.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerResource.h"
#include "toolkit/foundation/image/QVTImagePixels.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

using namespace QVTImagePixels;

namespace {
const BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Icon images are at most 256 pixels a side; a header beyond this lies.
const LONG kMaxIconSide = 1024;

BOOL IsPngData(const BYTE* pData, DWORD nSize)
{
    return nSize >= sizeof kPngSignature && memcmp(pData, kPngSignature, sizeof kPngSignature) == 0;
}

// The bytes a DIB icon image needs: header, colour table, colour and mask
// rows. 0 when the header cannot describe an icon image.
ULONGLONG IconImageBytes(const BITMAPINFOHEADER& header)
{
    const LONG cx = header.biWidth;
    const LONG cy = header.biHeight / 2;
    if (cx <= 0 || cx > kMaxIconSide || cy <= 0 || cy > kMaxIconSide)
        return 0;
    const WORD bpp = header.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return 0;
    ULONGLONG nColors = header.biClrUsed;
    if (nColors == 0 && bpp <= 8)
        nColors = 1ull << bpp;
    if (nColors > 256)
        return 0;
    if (header.biCompression == BI_BITFIELDS)
        nColors = 3;
    else if (header.biCompression != BI_RGB)
        return 0;
    const ULONGLONG xorStride = ((static_cast<ULONGLONG>(cx) * bpp + 31) / 32) * 4;
    const ULONGLONG andStride = ((static_cast<ULONGLONG>(cx) + 31) / 32) * 4;
    return header.biSize + nColors * 4 + (xorStride + andStride) * cy;
}

double Luminance(DWORD r, DWORD g, DWORD b)
{
    return (0.114 * b + 0.587 * g + 0.299 * r) / 255.0;
}

// One channel of the disabled look: gamma without colours, else the blend of
// the two colours' channels by luminance.
DWORD DisabledChannel(double dLuminance, BOOL bGamma, BYTE c1, BYTE c2)
{
    if (bGamma)
        return static_cast<DWORD>(255.0 * std::sqrt(dLuminance));
    return static_cast<DWORD>(c2 * (1.0 - dLuminance) + c1 * dLuminance);
}

// Rebuilds an icon with every opaque pixel (mask bit 0) recoloured.
template <class TRecolor>
HICON RecolorIcon(HICON hIcon, TRecolor recolor)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return nullptr;
    CQVTGdiObjectOwner colour(info.hbmColor), mask(info.hbmMask);
    if (!info.hbmColor || !info.hbmMask)
        return nullptr;
    BITMAP bm = {};
    ::GetObjectW(info.hbmColor, sizeof bm, &bm);
    {
        CQVTSelectedBitmapDC dcColour(nullptr, info.hbmColor);
        CQVTSelectedBitmapDC dcMask(nullptr, info.hbmMask);
        if (!dcColour.IsValid() || !dcMask.IsValid())
            return nullptr;
        for (int y = 0; y < bm.bmHeight; ++y)
            for (int x = 0; x < bm.bmWidth; ++x)
                if (::GetPixel(dcMask, x, y) == RGB(0, 0, 0))
                    ::SetPixel(dcColour, x, y, recolor(::GetPixel(dcColour, x, y)));
    }
    ICONINFO made = {TRUE, 0, 0, info.hbmMask, info.hbmColor};
    return ::CreateIconIndirect(&made);
}

// A copy of an alpha handle's premultiplied pixels, recoloured where
// alpha > 0; the recolouring keeps them premultiplied.
template <class TRecolor>
HBITMAP RecolorAlpha(CQVTImageManagerRasterImageHandle& handle, TRecolor recolor, LPBYTE* ppBits)
{
    if (!handle.GetBits())
        return nullptr;
    std::vector<DWORD> pixels;
    CSize size;
    if (!Read(handle.GetBitmap(), pixels, size))
        return nullptr;
    for (DWORD& pixel : pixels)
        if (pixel >> 24)
            pixel = recolor(pixel);
    return CreateSection(pixels.data(), size.cx, size.cy, ppBits);
}
}  // namespace

// Raster image handle

CQVTImageManagerRasterImageHandle::CQVTImageManagerRasterImageHandle() {}

CQVTImageManagerRasterImageHandle::~CQVTImageManagerRasterImageHandle()
{
    Reset();
}

void CQVTImageManagerRasterImageHandle::Reset()
{
    if (m_pResourceInfo)
    {
        m_pResourceInfo->pResource->Release(m_pResourceInfo);
        m_pResourceInfo = nullptr;
    }
    if (m_bOwnsHandles)
    {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    m_hIcon = nullptr;
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_bOwnsHandles = FALSE;
    m_szExtent = CSize(0, 0);
}

void CQVTImageManagerRasterImageHandle::AttachIcon(HICON hIcon, BOOL bSharedHandle)
{
    Reset();
    m_hIcon = hIcon;
    m_bOwnsHandles = !bSharedHandle;
    Measure();
}

void CQVTImageManagerRasterImageHandle::AttachBitmap(HBITMAP hBitmap, BOOL bSharedHandle)
{
    Reset();
    m_hBitmap = hBitmap;
    m_bOwnsHandles = !bSharedHandle;
    Measure();
}

void CQVTImageManagerRasterImageHandle::Measure()
{
    if (m_pResourceInfo)
    {
        m_szExtent = m_pResourceInfo->pResource->GetExtent();
    }
    else if (m_hIcon)
    {
        m_szExtent = CQVTImageManager::GetIconExtent(m_hIcon);
    }
    else if (m_hBitmap)
    {
        BITMAP bm = {};
        m_szExtent =
            ::GetObjectW(m_hBitmap, sizeof bm, &bm) ? CSize(bm.bmWidth, std::abs(bm.bmHeight)) : CSize(0, 0);
    }
    else
    {
        m_szExtent = CSize(0, 0);
    }
}

BOOL CQVTImageManagerRasterImageHandle::IsEmpty() const
{
    return (!m_hIcon && !m_hBitmap && !m_pResourceInfo) || (m_szExtent.cx == 0 && m_szExtent.cy == 0);
}

BOOL CQVTImageManagerRasterImageHandle::IsAlpha() const
{
    return m_hBitmap != nullptr || (m_pResourceInfo && m_pResourceInfo->bAlpha);
}

HBITMAP CQVTImageManagerRasterImageHandle::GetBitmap() const
{
    if (m_hBitmap)
        return m_hBitmap;
    return m_pResourceInfo ? m_pResourceInfo->pResource->GetBitmap() : nullptr;
}

LPBYTE CQVTImageManagerRasterImageHandle::GetBits()
{
    if (m_pBits || !m_hBitmap)
        return m_pBits;
    LPBYTE pBits = nullptr;
    HBITMAP hPremultiplied = CQVTImageManager::ConvertToAlphaBitmap(m_hBitmap, nullptr, &pBits);
    if (!hPremultiplied)
        return nullptr;
    if (m_bOwnsHandles)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hPremultiplied;
    m_bOwnsHandles = TRUE;
    m_pBits = pBits;
    return m_pBits;
}

void CQVTImageManagerRasterImageHandle::CopyFrom(const CQVTImageManagerRasterImageHandle& source)
{
    if (&source == this)
        return;
    Reset();
    if (source.IsEmpty())
        return;

    if (m_pImageManager && m_pImageManager->IsUseResources() && source.IsPoolable())
    {
        CQVTImageManagerRasterImageHandle plain;
        const CQVTImageManagerRasterImageHandle* pSource = &source;
        if (source.m_pResourceInfo)
        {
            source.m_pResourceInfo->pResource->CopyTo(source.m_pResourceInfo, plain);
            pSource = &plain;
        }
        CQVTImageManagerResource* pResource = m_pImageManager->GetResource(source.m_szExtent);
        m_pResourceInfo = pResource ? pResource->Add(*pSource) : nullptr;
        if (m_pResourceInfo)
        {
            m_bOwnsHandles = TRUE;
            m_bPoolable = source.m_bPoolable;
            m_szExtent = source.m_szExtent;
            return;
        }
    }

    if (source.m_hIcon)
    {
        m_hIcon = ::CopyIcon(source.m_hIcon);
    }
    else if (source.m_hBitmap)
    {
        LPBYTE pBits = nullptr;
        m_hBitmap = CQVTImageManager::CopyBitmap(source.m_hBitmap, &pBits);
        m_pBits = source.m_pBits ? pBits : nullptr;
    }
    else if (source.m_pResourceInfo)
    {
        source.m_pResourceInfo->pResource->CopyTo(source.m_pResourceInfo, *this);
    }
    m_bOwnsHandles = TRUE;
    m_bPoolable = source.m_bPoolable;
    m_szExtent = (m_hIcon || m_hBitmap || m_pResourceInfo) ? source.m_szExtent : CSize(0, 0);
}

BOOL CQVTImageManagerRasterImageHandle::LoadIconImage(const BYTE* pData, DWORD nSize, CSize szIcon)
{
    Reset();
    if (!pData || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;
    if (IsPngData(pData, nSize))
    {
        HICON hIcon = ::CreateIconFromResourceEx(const_cast<PBYTE>(pData), nSize, TRUE, 0x30000, szIcon.cx,
                                                 szIcon.cy, 0);
        if (!hIcon)
            return FALSE;
        AttachIcon(hIcon);
        return !IsEmpty();
    }

    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof header);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > nSize)
        return FALSE;
    const ULONGLONG nNeeded = IconImageBytes(header);
    if (nNeeded == 0)
        return FALSE;

    if (header.biBitCount != 32)
    {
        // The system reads the whole image: it must all be there.
        if (nNeeded > nSize)
            return FALSE;
        HICON hIcon = ::CreateIconFromResourceEx(const_cast<PBYTE>(pData), nSize, TRUE, 0x30000, szIcon.cx,
                                                 szIcon.cy, 0);
        if (!hIcon)
            return FALSE;
        AttachIcon(hIcon);
        return !IsEmpty();
    }

    // Colour plus mask in the header's height; the alpha bitmap takes the
    // colour rows only, and they must be all there.
    const LONG cx = header.biWidth;
    const LONG cy = header.biHeight / 2;
    DWORD nOffset = header.biSize + (header.biCompression == BI_BITFIELDS ? 12 : 0);
    const ULONGLONG nPixelBytes = static_cast<ULONGLONG>(cx) * cy * 4;
    if (nOffset + nPixelBytes > nSize)
        return FALSE;
    LPBYTE pBits = nullptr;
    HBITMAP hBitmap = CreateSection(reinterpret_cast<const DWORD*>(pData + nOffset), cx, cy, &pBits);
    if (!hBitmap)
        return FALSE;
    AttachBitmap(hBitmap);
    return TRUE;
}

BOOL CQVTImageManagerRasterImageHandle::LoadIconResource(HMODULE hModule, LPCTSTR lpszName, CSize szIcon,
                                                         BOOL bGroup, int nMode)
{
    HRSRC hGroup = bGroup ? ::FindResourceW(hModule, lpszName, RT_GROUP_ICON) : nullptr;
    if (hGroup)
    {
        DWORD nDirSize = 0;
        const BYTE* pDir = CQVTResource::LockBounded(hModule, hGroup, &nDirSize);
        if (!pDir || nDirSize < 6)
            return FALSE;
        // Only the entries the directory holds are read, whatever its count says.
        const int nCount = std::min<int>(pDir[4] | (pDir[5] << 8), static_cast<int>((nDirSize - 6) / 14));
        auto entry = [pDir](int i) { return pDir + 6 + 14 * i; };
        auto width = [&](int i) { return entry(i)[0] ? entry(i)[0] : 256; };
        auto height = [&](int i) { return entry(i)[1] ? entry(i)[1] : 256; };
        auto load = [&](int i) {
            WORD nIconID = static_cast<WORD>(entry(i)[12] | (entry(i)[13] << 8));
            return LoadIconResource(hModule, MAKEINTRESOURCEW(nIconID), CSize(width(i), height(i)), FALSE, 0);
        };
        if (nMode == 0)
        {
            for (int i = nCount - 1; i >= 0; --i)
                if (width(i) == szIcon.cx && height(i) == szIcon.cy && load(i))
                    return TRUE;
            return FALSE;
        }
        int nBest = -1;
        for (int i = nCount - 1; i >= 0; --i)
        {
            const int cx = width(i), cy = height(i);
            if (nMode == 1 && cx >= szIcon.cx && cy >= szIcon.cy &&
                (nBest < 0 || (cx < width(nBest) && cy < height(nBest))))
                nBest = i;
            else if (nMode == 2 && cx <= szIcon.cx && cy <= szIcon.cy &&
                     (nBest < 0 || (cx > width(nBest) && cy > height(nBest))))
                nBest = i;
        }
        return nBest >= 0 && load(nBest);
    }

    Reset();
    HRSRC hIcon = ::FindResourceW(hModule, lpszName, RT_ICON);
    if (!hIcon)
        return FALSE;
    DWORD nSize = 0;
    const BYTE* pData = CQVTResource::LockBounded(hModule, hIcon, &nSize);
    return pData && LoadIconImage(pData, nSize, szIcon);
}

BOOL CQVTImageManagerRasterImageHandle::LoadIconResource(LPCTSTR lpszName, CSize szIcon, BOOL bPreferGroup,
                                                         int nMode)
{
    if (bPreferGroup &&
        LoadIconResource(AfxFindResourceHandle(lpszName, RT_GROUP_ICON), lpszName, szIcon, TRUE, nMode))
        return TRUE;
    return LoadIconResource(AfxFindResourceHandle(lpszName, RT_ICON), lpszName, szIcon, FALSE, 0);
}

HICON CQVTImageManagerRasterImageHandle::GetDpiScaledIcon(int nReferenceDpi) const
{
    if (IsEmpty())
        return nullptr;
    const int nWidth = QVTDpiScaler()->ScaleX(m_szExtent.cx, nReferenceDpi);
    if (m_hIcon)
        return CQVTImageManager::ResizeIcon(m_hIcon, m_szExtent, nWidth);

    // Bitmaps and slices become an icon first: straight colours, empty mask.
    std::vector<DWORD> pixels;
    CSize size;
    CQVTImageManagerRasterImageHandle plain;
    HBITMAP hSource = m_hBitmap;
    BOOL bPremultiplied = m_pBits != nullptr;
    if (m_pResourceInfo)
    {
        m_pResourceInfo->pResource->CopyTo(m_pResourceInfo, plain);
        if (plain.GetIcon())
            return CQVTImageManager::ResizeIcon(plain.GetIcon(), m_szExtent, nWidth);
        hSource = plain.m_hBitmap;
        bPremultiplied = TRUE;
    }
    if (!Read(hSource, pixels, size))
        return nullptr;
    if (bPremultiplied)
    {
        for (DWORD& pixel : pixels)
        {
            DWORD a = pixel >> 24;
            if (a == 0)
                continue;
            DWORD b = std::min<DWORD>(255, (pixel & 0xFF) * 255 / a);
            DWORD g = std::min<DWORD>(255, ((pixel >> 8) & 0xFF) * 255 / a);
            DWORD r = std::min<DWORD>(255, ((pixel >> 16) & 0xFF) * 255 / a);
            pixel = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    CQVTGdiObjectOwner colour(CreateSection(pixels.data(), size.cx, size.cy));
    CQVTGdiObjectOwner mask(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    if (!colour.Get() || !mask.Get())
        return nullptr;
    {
        CQVTSelectedBitmapDC dcMask(nullptr, static_cast<HBITMAP>(mask.Get()));
        ::PatBlt(dcMask, 0, 0, size.cx, size.cy, BLACKNESS);
    }
    ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), static_cast<HBITMAP>(colour.Get())};
    CQVTIconHandle icon;
    icon = ::CreateIconIndirect(&info);
    return CQVTImageManager::ResizeIcon(icon, size, nWidth);
}

void CQVTImageManagerRasterImageHandle::Draw(CDC* pDC, CPoint pt, CSize sz, BOOL bDrawIconWithAlpha)
{
    if (!pDC || IsEmpty())
        return;
    if (m_pResourceInfo)
    {
        m_pResourceInfo->pResource->Draw(pDC, m_pResourceInfo, pt, sz, bDrawIconWithAlpha);
        return;
    }
    if (m_hBitmap)
    {
        if (!GetBits())
            return;
        CPoint ptSrc(0, 0);
        CSize szSrc = m_szExtent;
        // Only the rows below the top edge, where the image would start above it.
        if (pt.y < 0 && sz.cy == m_szExtent.cy)
        {
            ptSrc.y = -pt.y;
            szSrc.cy = m_szExtent.cy + pt.y;
            if (szSrc.cy < 1)
                return;
            sz.cy = szSrc.cy;
            pt.y = 0;
        }
        CQVTImageManager::DrawAlphaBitmap(pDC, m_hBitmap, pt, sz, ptSrc, szSrc);
        return;
    }
    if (!m_hIcon)
        return;
    CQVTImageManager* pManager = m_pImageManager ? m_pImageManager : QVTImageManager();
    if (pManager->IsMirrored(pDC))
    {
        // A negative width draws leftwards from its last column.
        pt.x += sz.cx - 1;
        sz.cx = -sz.cx;
    }
    if (bDrawIconWithAlpha)
        CQVTImageManager::DrawIconWithAlpha(pDC, pt, sz, m_hIcon);
    else
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, m_hIcon, sz.cx, sz.cy, 0, nullptr, DI_NORMAL);
}

// Vector image handle

CQVTImageManagerVectorImageHandle::CQVTImageManagerVectorImageHandle() {}

CQVTImageManagerVectorImageHandle::CQVTImageManagerVectorImageHandle(IStream* pStream,
                                                                     CQVTMarkupContext* pContext,
                                                                     CQVTMarkupUIElement* pElement)
{
    m_pRecord = new Record{1, nullptr, 0, pStream, pContext, pElement};
    if (pStream)
        pStream->AddRef();
}

CQVTImageManagerVectorImageHandle::CQVTImageManagerVectorImageHandle(
    const CQVTImageManagerVectorImageHandle& other)
    : m_pRecord(other.m_pRecord)
{
    if (m_pRecord)
        ::InterlockedIncrement(&m_pRecord->nRefs);
}

CQVTImageManagerVectorImageHandle& CQVTImageManagerVectorImageHandle::operator=(
    const CQVTImageManagerVectorImageHandle& other)
{
    if (other.m_pRecord)
        ::InterlockedIncrement(&other.m_pRecord->nRefs);
    Reset();
    m_pRecord = other.m_pRecord;
    return *this;
}

CQVTImageManagerVectorImageHandle::~CQVTImageManagerVectorImageHandle()
{
    Reset();
}

void CQVTImageManagerVectorImageHandle::Reset()
{
    Record* pRecord = m_pRecord;
    m_pRecord = nullptr;
    if (!pRecord || ::InterlockedDecrement(&pRecord->nRefs) != 0)
        return;
    if (pRecord->pElement)
        MarkupReleaseElement(pRecord->pElement);
    if (pRecord->pStream)
        pRecord->pStream->Release();
    if (pRecord->hCachedData)
        ::GlobalFree(pRecord->hCachedData);
    delete pRecord;
}

IStream* CQVTImageManagerVectorImageHandle::GetStream() const
{
    return m_pRecord ? m_pRecord->pStream : nullptr;
}

CQVTMarkupUIElement* CQVTImageManagerVectorImageHandle::GetElement() const
{
    return m_pRecord ? m_pRecord->pElement : nullptr;
}

const BYTE* CQVTImageManagerVectorImageHandle::GetData(DWORD& nSize) const
{
    nSize = 0;
    if (!m_pRecord)
        return nullptr;
    if (!m_pRecord->hCachedData)
    {
        IStream* pStream = m_pRecord->pStream;
        STATSTG stat = {};
        if (!pStream || FAILED(pStream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0xFFFFFFFFull)
            return nullptr;
        const DWORD nBytes = static_cast<DWORD>(stat.cbSize.QuadPart);
        HGLOBAL hData = ::GlobalAlloc(GMEM_FIXED, nBytes ? nBytes : 1);
        if (!hData)
            return nullptr;
        LARGE_INTEGER zero = {};
        ULONG nRead = 0;
        if (FAILED(pStream->Seek(zero, STREAM_SEEK_SET, nullptr)) ||
            (nBytes && (FAILED(pStream->Read(hData, nBytes, &nRead)) || nRead != nBytes)))
        {
            ::GlobalFree(hData);
            return nullptr;
        }
        m_pRecord->hCachedData = hData;
        m_pRecord->nCachedSize = nBytes;
    }
    nSize = m_pRecord->nCachedSize;
    return static_cast<const BYTE*>(m_pRecord->hCachedData);
}

CQVTImageManagerVectorImageHandle AFX_CDECL
CQVTImageManagerVectorImageHandle::FromBytes(const BYTE* pData, DWORD nSize, CQVTMarkupContext* pContext)
{
    if (!pData || nSize == 0)
        return CQVTImageManagerVectorImageHandle();
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (!hData)
        return CQVTImageManagerVectorImageHandle();
    void* pTarget = ::GlobalLock(hData);
    memcpy(pTarget, pData, nSize);
    ::GlobalUnlock(hData);
    IStream* pStream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hData, TRUE, &pStream)))
    {
        ::GlobalFree(hData);
        return CQVTImageManagerVectorImageHandle();
    }
    ULARGE_INTEGER size;
    size.QuadPart = nSize;
    pStream->SetSize(size);
    // A document that does not parse is no image; the bytes of one that
    // does are kept as they came, so saving writes them back unchanged.
    CQVTMarkupUIElement* pElement = nullptr;
    if (pContext)
    {
        pElement = MarkupParseDocument(pContext, pStream);
        LARGE_INTEGER zero = {};
        pStream->Seek(zero, STREAM_SEEK_SET, nullptr);
        if (!pElement)
        {
            pStream->Release();
            return CQVTImageManagerVectorImageHandle();
        }
    }
    CQVTImageManagerVectorImageHandle handle(pStream, pContext, pElement);
    pStream->Release();
    return handle;
}

// Icon

IMPLEMENT_DYNAMIC(CQVTImageManagerIcon, CQVTCmdTarget)

CQVTImageManagerIcon::CQVTImageManagerIcon(UINT nID, int nWidth, int nHeight,
                                           CQVTImageManagerIconSet* pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet)
{
    if (pIconSet)
        for (CQVTImageManagerRasterImageHandle& slot : m_rasterImages)
            slot.SetImageManager(pIconSet->GetImageManager());
}

CQVTImageManagerIcon::~CQVTImageManagerIcon()
{
    ResetAllSlots();
    // The slots' elements went first: they hold the context too.
    MarkupReleaseContext(m_pMarkupContext);
}

CQVTImageManager* CQVTImageManagerIcon::GetImageManager() const
{
    if (m_pIconSet)
        return m_pIconSet->GetImageManager();
    return m_pImageList ? m_pImageList->m_pImageManager : nullptr;
}

int CQVTImageManagerIcon::GetWidth() const
{
    return m_nKind == kindVector ? 0 : m_nWidth;
}

int CQVTImageManagerIcon::GetHeight() const
{
    return m_nKind == kindVector ? 0 : m_nHeight;
}

CSize CQVTImageManagerIcon::GetExtent() const
{
    return CSize(GetWidth(), GetHeight());
}

BOOL CQVTImageManagerIcon::IsAlpha() const
{
    return m_nKind != kindVector && m_rasterImages[slotNormal].IsAlpha();
}

BOOL CQVTImageManagerIcon::HasNormalImage() const
{
    if (m_nKind == kindVector)
        return m_vectorImages[vectorNormal].HasImage();
    return !m_rasterImages[slotNormal].IsEmpty();
}

BOOL CQVTImageManagerIcon::HasDisabledImage() const
{
    if (m_nKind == kindVector)
        return m_vectorImages[vectorDisabled].HasImage();
    return !m_rasterImages[slotDisabled].IsEmpty() || !m_rasterImages[slotAutoDisabled].IsEmpty();
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetNormalImage()
{
    return m_rasterImages[slotNormal];
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetHotImage()
{
    return !m_rasterImages[slotHot].IsEmpty() ? m_rasterImages[slotHot] : m_rasterImages[slotNormal];
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetCheckedImage()
{
    return !m_rasterImages[slotChecked].IsEmpty() ? m_rasterImages[slotChecked] : GetHotImage();
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetPressedImage()
{
    return !m_rasterImages[slotPressed].IsEmpty() ? m_rasterImages[slotPressed] : GetHotImage();
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetShadowImage()
{
    if (m_rasterImages[slotShadow].IsEmpty() && m_rasterImages[slotNormal].IsPoolable())
        CreateShadowImage();
    return m_rasterImages[slotShadow];
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetDisabledImage(BOOL bAuto)
{
    if (!m_rasterImages[slotDisabled].IsEmpty())
        return m_rasterImages[slotDisabled];
    if (bAuto && m_rasterImages[slotAutoDisabled].IsEmpty())
        CreateDisabledImage();
    return m_rasterImages[slotAutoDisabled];
}

CQVTImageManagerRasterImageHandle& CQVTImageManagerIcon::GetImage(int nState)
{
    switch (nState)
    {
    case qvtImageDisabled:
        return GetDisabledImage(TRUE);
    case qvtImageHot:
        return GetHotImage();
    case qvtImageChecked:
        return GetCheckedImage();
    case qvtImagePressed:
        return GetPressedImage();
    default:
        return GetNormalImage();
    }
}

CQVTImageManagerVectorImageHandle CQVTImageManagerIcon::GetVectorImage(int nState) const
{
    int nSlot = vectorNormal;
    switch (nState)
    {
    case qvtImageDisabled:
        nSlot = vectorDisabled;
        break;
    case qvtImageHot:
        nSlot = vectorHot;
        break;
    case qvtImageChecked:
        nSlot = vectorChecked;
        break;
    case qvtImagePressed:
        nSlot = vectorPressed;
        break;
    }
    return m_vectorImages[nSlot].HasImage() ? m_vectorImages[nSlot] : m_vectorImages[vectorNormal];
}

BOOL CQVTImageManagerIcon::PrepareRaster()
{
    if (m_nKind == kindVector)
        return FALSE;
    m_nKind = kindRaster;
    return TRUE;
}

void CQVTImageManagerIcon::ResetAllSlots()
{
    for (CQVTImageManagerRasterImageHandle& slot : m_rasterImages)
        slot.Reset();
    for (CQVTImageManagerVectorImageHandle& slot : m_vectorImages)
        slot.Reset();
}

void CQVTImageManagerIcon::SetRasterSlot(int nSlot, const CQVTImageManagerRasterImageHandle& handle)
{
    m_rasterImages[nSlot].CopyFrom(handle);
}

void CQVTImageManagerIcon::Refresh()
{
    m_rasterImages[slotReserved].Reset();
    m_rasterImages[slotShadow].Reset();
    m_rasterImages[slotAutoDisabled].Reset();
}

BOOL CQVTImageManagerIcon::SetNormalImage(const CQVTImageManagerRasterImageHandle& handle)
{
    if (!PrepareRaster())
        return FALSE;
    ResetAllSlots();
    SetRasterSlot(slotNormal, handle);
    CSize extent = handle.GetExtent();
    m_nWidth = extent.cx;
    m_nHeight = extent.cy;
    if (m_pIconSet)
        m_pIconSet->RefreshAll();
    return TRUE;
}

BOOL CQVTImageManagerIcon::SetStateImage(int nSlot, const CQVTImageManagerRasterImageHandle& handle)
{
    if (!PrepareRaster())
        return FALSE;
    Refresh();
    SetRasterSlot(nSlot, handle);
    return TRUE;
}

BOOL CQVTImageManagerIcon::SetHotImage(const CQVTImageManagerRasterImageHandle& handle)
{
    return SetStateImage(slotHot, handle);
}

BOOL CQVTImageManagerIcon::SetCheckedImage(const CQVTImageManagerRasterImageHandle& handle)
{
    return SetStateImage(slotChecked, handle);
}

BOOL CQVTImageManagerIcon::SetPressedImage(const CQVTImageManagerRasterImageHandle& handle)
{
    return SetStateImage(slotPressed, handle);
}

BOOL CQVTImageManagerIcon::SetDisabledImage(const CQVTImageManagerRasterImageHandle& handle)
{
    return SetStateImage(slotDisabled, handle);
}

BOOL CQVTImageManagerIcon::SetVectorImage(const CQVTImageManagerVectorImageHandle& handle, int nState)
{
    if (m_nKind == kindRaster)
        return FALSE;
    m_nKind = kindVector;
    switch (nState)
    {
    case qvtImageNormal:
        m_vectorImages[vectorNormal] = handle;
        break;
    case qvtImageDisabled:
        m_vectorImages[vectorDisabled] = handle;
        break;
    case qvtImageHot:
        m_vectorImages[vectorHot] = handle;
        break;
    case qvtImageChecked:
        m_vectorImages[vectorChecked] = handle;
        break;
    case qvtImagePressed:
        m_vectorImages[vectorPressed] = handle;
        break;
    }
    return TRUE;
}

CQVTMarkupContext* CQVTImageManagerIcon::GetMarkupContext()
{
    if (!m_pMarkupContext)
        m_pMarkupContext = MarkupCreateContext(nullptr, TRUE);
    return m_pMarkupContext;
}

void CQVTImageManagerIcon::CreateDisabledImage(COLORREF clr1, COLORREF clr2)
{
    CQVTImageManagerRasterImageHandle& normal = m_rasterImages[slotNormal];
    if (normal.IsEmpty() || !m_rasterImages[slotAutoDisabled].IsEmpty())
        return;
    const BOOL bGamma = clr1 == 0xFFFFFFFF && clr2 == 0xFFFFFFFF;
    CQVTImageManagerRasterImageHandle copy;
    copy.CopyFrom(normal);
    CQVTImageManagerRasterImageHandle disabled;
    if (copy.IsAlpha())
    {
        LPBYTE pBits = nullptr;
        HBITMAP hBitmap = RecolorAlpha(
            copy,
            [&](DWORD pixel) {
                const DWORD a = pixel >> 24;
                const DWORD b = (pixel & 0xFF) * 255 / a;
                const DWORD g = ((pixel >> 8) & 0xFF) * 255 / a;
                const DWORD r = ((pixel >> 16) & 0xFF) * 255 / a;
                const double l = Luminance(r, g, b);
                DWORD nr = DisabledChannel(l, bGamma, GetRValue(clr1), GetRValue(clr2)) & 0xFF;
                DWORD ng = DisabledChannel(l, bGamma, GetGValue(clr1), GetGValue(clr2)) & 0xFF;
                DWORD nb = DisabledChannel(l, bGamma, GetBValue(clr1), GetBValue(clr2)) & 0xFF;
                return (a << 24) | ((nr * a / 255) << 16) | ((ng * a / 255) << 8) | (nb * a / 255);
            },
            &pBits);
        if (!hBitmap)
            return;
        disabled.AttachBitmap(hBitmap);
        disabled.m_pBits = pBits;
    }
    else
    {
        HICON hIcon = RecolorIcon(copy.GetIcon(), [&](COLORREF clr) {
            const double l = Luminance(GetRValue(clr), GetGValue(clr), GetBValue(clr));
            return RGB(DisabledChannel(l, bGamma, GetRValue(clr1), GetRValue(clr2)),
                       DisabledChannel(l, bGamma, GetGValue(clr1), GetGValue(clr2)),
                       DisabledChannel(l, bGamma, GetBValue(clr1), GetBValue(clr2)));
        });
        if (!hIcon)
            return;
        disabled.AttachIcon(hIcon);
    }
    disabled.SetPoolable(normal.IsPoolable());
    SetRasterSlot(slotAutoDisabled, disabled);
}

void CQVTImageManagerIcon::CreateShadowImage()
{
    CQVTImageManagerRasterImageHandle& source = GetHotImage();
    if (source.IsEmpty() || !m_rasterImages[slotShadow].IsEmpty() || !m_rasterImages[slotNormal].IsPoolable())
        return;
    const COLORREF clrBase = GetColorByIndex(31);
    const DWORD r = static_cast<DWORD>(GetRValue(clrBase) * 0.75);
    const DWORD g = static_cast<DWORD>(GetGValue(clrBase) * 0.75);
    const DWORD b = static_cast<DWORD>(GetBValue(clrBase) * 0.75);
    CQVTImageManagerRasterImageHandle copy;
    copy.CopyFrom(source);
    CQVTImageManagerRasterImageHandle shadow;
    if (copy.IsAlpha())
    {
        LPBYTE pBits = nullptr;
        HBITMAP hBitmap = RecolorAlpha(
            copy,
            [&](DWORD pixel) {
                const DWORD a = pixel >> 24;
                return (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
            },
            &pBits);
        if (!hBitmap)
            return;
        shadow.AttachBitmap(hBitmap);
        shadow.m_pBits = pBits;
    }
    else
    {
        HICON hIcon = RecolorIcon(copy.GetIcon(), [&](COLORREF) { return RGB(r, g, b); });
        if (!hIcon)
            return;
        shadow.AttachIcon(hIcon);
    }
    shadow.SetPoolable(source.IsPoolable());
    SetRasterSlot(slotShadow, shadow);
}

void CQVTImageManagerIcon::Draw(CDC* pDC, CPoint pt)
{
    DrawInStateSized(pDC, pt, CSize(0, 0), qvtImageNormal);
}

void CQVTImageManagerIcon::DrawSized(CDC* pDC, CPoint pt, CSize sz)
{
    DrawInStateSized(pDC, pt, sz, qvtImageNormal);
}

void CQVTImageManagerIcon::DrawInState(CDC* pDC, CPoint pt, int nState)
{
    DrawInStateSized(pDC, pt, CSize(0, 0), nState);
}

void CQVTImageManagerIcon::DrawInStateSized(CDC* pDC, CPoint pt, CSize sz, int nState)
{
    if (!pDC)
        return;
    if (m_nKind == kindVector)
    {
        DrawVector(pDC, pt, sz, nState);
        return;
    }
    if (sz.cx == 0)
        sz.cx = m_nWidth;
    if (sz.cy == 0)
        sz.cy = m_nWidth > 0 ? sz.cx * m_nHeight / m_nWidth : 0;
    CQVTImageManagerRasterImageHandle& image = GetImage(nState);
    if (m_pImageList && &image == &m_rasterImages[slotNormal])
    {
        m_pImageList->Draw(pDC, pt, this, sz);
        return;
    }
    image.Draw(pDC, pt, sz, m_bDrawIconsWithAlpha);
}

void CQVTImageManagerIcon::DrawVector(CDC* pDC, CPoint pt, CSize sz, int nState)
{
    CQVTImageManagerVectorImageHandle image = GetVectorImage(nState);
    CRect rc(pt, sz);
    if (!image.HasImage() || rc.IsRectEmpty())
        return;
    MarkupRenderElement(image.GetElement(), pDC->GetSafeHdc(), rc);
}

void CQVTImageManagerIcon::DrawMonochrome(CDC* pDC, CPoint pt, CQVTImageManagerRasterImageHandle& handle,
                                          CSize sz, COLORREF clr)
{
    if (!pDC || handle.IsEmpty() || handle.IsAlpha())
        return;
    if (sz.cx == 0 && sz.cy == 0)
        sz = handle.GetExtent();
    CQVTGdiObjectOwner bitmap(::CreateCompatibleBitmap(pDC->GetSafeHdc(), sz.cx, sz.cy));
    if (!bitmap.Get())
        return;
    {
        CQVTBitmapDC dc;
        dc.CreateCompatibleDC(pDC);
        dc.SetBitmap(static_cast<HBITMAP>(bitmap.Get()));
        dc.FillSolidRect(0, 0, sz.cx, sz.cy, RGB(255, 255, 255));
        handle.Draw(&dc, CPoint(0, 0), sz, FALSE);
        dc.SetBitmap(nullptr);
    }
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::DrawStateW(pDC->GetSafeHdc(), hBrush, nullptr, reinterpret_cast<LPARAM>(bitmap.Get()), 0, pt.x, pt.y,
                 sz.cx, sz.cy, DST_BITMAP | DSS_MONO);
    ::DeleteObject(hBrush);
}

// Icon handle

CQVTIconHandle::~CQVTIconHandle()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

CQVTIconHandle& CQVTIconHandle::operator=(HICON hIcon)
{
    if (m_hIcon && m_hIcon != hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon;
    return *this;
}
