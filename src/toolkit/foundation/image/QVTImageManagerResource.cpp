#include "toolkit/foundation/image/QVTImageManagerResource.h"

#include <algorithm>
#include <vector>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImagePixels.h"

using namespace QVTImagePixels;

CQVTImageManagerResource::CQVTImageManagerResource(CQVTImageManager* pImageManager, CSize szIcon)
    : m_pImageManager(pImageManager), m_szIcon(szIcon)
{
    m_dc.CreateCompatibleDC(nullptr);
}

CQVTImageManagerResource::~CQVTImageManagerResource()
{
    m_dc.SetBitmap(nullptr);
    for (QVT_IMAGERESOURCE_INFO* pInfo : m_arrAllocated)
        delete pInfo;
    for (QVT_IMAGERESOURCE_INFO* pInfo : m_arrFree)
        delete pInfo;
    DeleteBitmaps();
}

void CQVTImageManagerResource::DeleteBitmaps()
{
    m_dc.SetBitmap(nullptr);
    if (m_hbmpImage)
        ::DeleteObject(m_hbmpImage);
    if (m_hbmpMask)
        ::DeleteObject(m_hbmpMask);
    m_hbmpImage = nullptr;
    m_hbmpMask = nullptr;
    m_pBits = nullptr;
}

BOOL CQVTImageManagerResource::GrowBy(int cx)
{
    const int cy = m_szIcon.cy;
    const int nNewWidth = m_nAllocatedWidth + cx;
    LPBYTE pBits = nullptr;
    HBITMAP hImage = CQVTImageManager::Create32BitDIBSection(nullptr, nNewWidth, cy, &pBits);
    HBITMAP hMask = hImage ? ::CreateBitmap(nNewWidth, cy, 1, 1, nullptr) : nullptr;
    if (!hMask)
    {
        if (hImage)
            ::DeleteObject(hImage);
        return FALSE;
    }
    m_dc.SetBitmap(nullptr);
    if (m_hbmpImage)
    {
        ::GdiFlush();
        DWORD* pNew = reinterpret_cast<DWORD*>(pBits);
        for (int y = 0; y < cy; ++y)
            memcpy(pNew + static_cast<size_t>(y) * nNewWidth,
                   m_pBits + static_cast<size_t>(y) * m_nAllocatedWidth,
                   static_cast<size_t>(m_nAllocatedWidth) * 4);
        CQVTSelectedBitmapDC dcMask(nullptr, hMask);
        ::DrawStateW(dcMask, nullptr, nullptr, reinterpret_cast<LPARAM>(m_hbmpMask), 0, 0, 0,
                     m_nAllocatedWidth, cy, DST_BITMAP);
    }
    DeleteBitmaps();
    m_hbmpImage = hImage;
    m_hbmpMask = hMask;
    m_pBits = reinterpret_cast<DWORD*>(pBits);
    return TRUE;
}

QVT_IMAGERESOURCE_INFO* CQVTImageManagerResource::AllocBitmap()
{
    QVT_IMAGERESOURCE_INFO* pInfo = nullptr;
    if (!m_arrFree.empty())
    {
        pInfo = m_arrFree.back();
        m_arrFree.pop_back();
    }
    else
    {
        if (!GrowBy(m_szIcon.cx))
            return nullptr;
        pInfo = new QVT_IMAGERESOURCE_INFO{
            FALSE, CRect(m_nAllocatedWidth, 0, m_nAllocatedWidth + m_szIcon.cx, m_szIcon.cy), this};
        m_nAllocatedWidth += m_szIcon.cx;
    }
    pInfo->bAlpha = FALSE;
    m_arrAllocated.push_back(pInfo);
    return pInfo;
}

void CQVTImageManagerResource::CopyRowsIn(const QVT_IMAGERESOURCE_INFO* pInfo, const DWORD* pPixels)
{
    ::GdiFlush();
    for (int y = 0; y < m_szIcon.cy; ++y)
        memcpy(m_pBits + static_cast<size_t>(y) * m_nAllocatedWidth + pInfo->rc.left,
               pPixels + static_cast<size_t>(y) * m_szIcon.cx, static_cast<size_t>(m_szIcon.cx) * 4);
}

QVT_IMAGERESOURCE_INFO* CQVTImageManagerResource::Add(const CQVTImageManagerRasterImageHandle& handle)
{
    CQVTCriticalSectionLock lock(m_lock);
    if (handle.IsEmpty() || handle.GetExtent() != m_szIcon || (!handle.m_hIcon && !handle.m_hBitmap))
        return nullptr;

    // Alpha pixels first, so a failure leaves the strip as it was.
    std::vector<DWORD> pixels;
    CSize size;
    BOOL bAlpha = FALSE;
    if (handle.m_hBitmap)
    {
        if (!Read(handle.m_hBitmap, pixels, size) || size != m_szIcon)
            return nullptr;
        if (!handle.m_pBits)
            Premultiply(pixels.data(), pixels.size());
        bAlpha = TRUE;
    }
    else if (GetComCtlVersion() >= MAKELONG(0, 6))
    {
        ICONINFO info = {};
        if (::GetIconInfo(handle.m_hIcon, &info))
        {
            DWORD dwAlpha = 0xFFFFFFFF;
            HBITMAP hConverted =
                info.hbmColor ? CQVTImageManager::ConvertToAlphaBitmap(info.hbmColor, &dwAlpha) : nullptr;
            if (hConverted && dwAlpha == 1 && Read(hConverted, pixels, size) && size == m_szIcon)
                bAlpha = TRUE;
            if (hConverted)
                ::DeleteObject(hConverted);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
    }

    QVT_IMAGERESOURCE_INFO* pInfo = AllocBitmap();
    if (!pInfo)
        return nullptr;
    if (bAlpha)
    {
        CopyRowsIn(pInfo, pixels.data());
        pInfo->bAlpha = TRUE;
        return pInfo;
    }

    const CRect& rc = pInfo->rc;
    HBRUSH hBlack = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    m_dc.SetBitmap(m_hbmpImage);
    ::FillRect(m_dc, &rc, hBlack);
    ::DrawIconEx(m_dc, rc.left, rc.top, handle.m_hIcon, rc.Width(), rc.Height(), 0, nullptr, DI_NORMAL);
    m_dc.SetBitmap(m_hbmpMask);
    ::FillRect(m_dc, &rc, hBlack);
    ::DrawIconEx(m_dc, rc.left, rc.top, handle.m_hIcon, rc.Width(), rc.Height(), 0, nullptr, DI_MASK);
    m_dc.SetBitmap(nullptr);
    return pInfo;
}

void CQVTImageManagerResource::Release(QVT_IMAGERESOURCE_INFO* pInfo)
{
    CQVTCriticalSectionLock lock(m_lock);
    auto it = std::find(m_arrAllocated.begin(), m_arrAllocated.end(), pInfo);
    if (it == m_arrAllocated.end())
        return;
    m_arrAllocated.erase(it);
    m_arrFree.push_back(pInfo);
    if (m_szIcon.cx * static_cast<int>(m_arrFree.size()) == m_nAllocatedWidth)
    {
        for (QVT_IMAGERESOURCE_INFO* pFree : m_arrFree)
            delete pFree;
        m_arrFree.clear();
        DeleteBitmaps();
        m_nAllocatedWidth = 0;
    }
}

void CQVTImageManagerResource::CopyTo(QVT_IMAGERESOURCE_INFO* pInfo,
                                      CQVTImageManagerRasterImageHandle& handle)
{
    CQVTCriticalSectionLock lock(m_lock);
    handle.Reset();
    if (!pInfo || !m_hbmpImage)
        return;
    const int cx = m_szIcon.cx, cy = m_szIcon.cy;
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy);
    ::GdiFlush();
    for (int y = 0; y < cy; ++y)
        memcpy(pixels.data() + static_cast<size_t>(y) * cx,
               m_pBits + static_cast<size_t>(y) * m_nAllocatedWidth + pInfo->rc.left,
               static_cast<size_t>(cx) * 4);
    LPBYTE pBits = nullptr;
    HBITMAP hColour = CreateSection(pixels.data(), cx, cy, &pBits);
    if (!hColour)
        return;
    if (pInfo->bAlpha)
    {
        handle.m_hBitmap = hColour;
        handle.m_pBits = pBits;
    }
    else
    {
        CQVTGdiObjectOwner colour(hColour);
        CQVTGdiObjectOwner mask(::CreateBitmap(cx, cy, 1, 1, nullptr));
        if (!mask.Get())
            return;
        {
            CQVTSelectedBitmapDC dcMask(nullptr, static_cast<HBITMAP>(mask.Get()));
            m_dc.SetBitmap(m_hbmpMask);
            ::BitBlt(dcMask, 0, 0, cx, cy, m_dc, pInfo->rc.left, 0, SRCCOPY);
            m_dc.SetBitmap(nullptr);
        }
        ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), hColour};
        handle.m_hIcon = ::CreateIconIndirect(&info);
        if (!handle.m_hIcon)
            return;
    }
    handle.m_bOwnsHandles = TRUE;
    handle.m_szExtent = m_szIcon;
}

void CQVTImageManagerResource::Draw(CDC* pDC, QVT_IMAGERESOURCE_INFO* pInfo, CPoint pt, CSize sz,
                                    BOOL bDrawIconWithAlpha)
{
    CQVTCriticalSectionLock lock(m_lock);
    if (!pDC || !pInfo || !m_hbmpImage)
        return;
    HDC hDC = pDC->GetSafeHdc();
    const CRect& rc = pInfo->rc;
    if (pInfo->bAlpha)
    {
        m_dc.SetBitmap(m_hbmpImage);
        CQVTImageManager::AlphaBlend(hDC, CRect(pt, sz), m_dc, rc);
        m_dc.SetBitmap(nullptr);
        return;
    }

    int nOldMode = ::SetStretchBltMode(hDC, HALFTONE);
    if (bDrawIconWithAlpha)
    {
        const int cx = std::abs(sz.cx), cy = std::abs(sz.cy);
        LPBYTE pBits = nullptr;
        CQVTGdiObjectOwner section(CQVTImageManager::Create32BitDIBSection(hDC, cx, cy, &pBits));
        if (section.Get())
        {
            {
                CQVTSelectedBitmapDC dcSection(hDC, static_cast<HBITMAP>(section.Get()));
                ::SetBkColor(dcSection, RGB(255, 255, 255));
                ::SetTextColor(dcSection, RGB(0, 0, 0));
                m_dc.SetBitmap(m_hbmpMask);
                ::StretchBlt(dcSection, 0, 0, cx, cy, m_dc, rc.left, 0, rc.Width(), rc.Height(), SRCCOPY);
                ::GdiFlush();
                // Transparent mask pixels (white) become 0, opaque ones alpha 255.
                DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
                for (size_t i = 0; i < static_cast<size_t>(cx) * cy; ++i)
                    pPixels[i] = (pPixels[i] & 0x00FFFFFF) ? 0 : 0xFF000000;
                m_dc.SetBitmap(m_hbmpImage);
                ::StretchBlt(dcSection, 0, 0, cx, cy, m_dc, rc.left, 0, rc.Width(), rc.Height(), SRCINVERT);
                m_dc.SetBitmap(nullptr);
            }
            CQVTImageManager::DrawAlphaBitmap(pDC, static_cast<HBITMAP>(section.Get()), pt, CSize(cx, cy));
        }
        ::SetStretchBltMode(hDC, nOldMode);
        return;
    }

    CQVTImageManager* pManager = m_pImageManager ? m_pImageManager : QVTImageManager();
    if (pManager->IsMirrored(pDC))
    {
        pt.x += sz.cx - 1;
        sz.cx = -sz.cx;
    }
    COLORREF clrOldBack = ::SetBkColor(hDC, RGB(255, 255, 255));
    COLORREF clrOldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    ::SetBkColor(m_dc, RGB(255, 255, 255));
    ::SetTextColor(m_dc, RGB(0, 0, 0));
    m_dc.SetBitmap(m_hbmpMask);
    ::StretchBlt(hDC, pt.x, pt.y, sz.cx, sz.cy, m_dc, rc.left, 0, rc.Width(), rc.Height(), SRCAND);
    m_dc.SetBitmap(m_hbmpImage);
    ::StretchBlt(hDC, pt.x, pt.y, sz.cx, sz.cy, m_dc, rc.left, 0, rc.Width(), rc.Height(), SRCINVERT);
    m_dc.SetBitmap(nullptr);
    ::SetBkColor(hDC, clrOldBack);
    ::SetTextColor(hDC, clrOldText);
    ::SetStretchBltMode(hDC, nOldMode);
}
