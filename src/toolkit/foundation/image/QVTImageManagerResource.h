// A shared image strip: every pooled image of one size lives side by side in
// one 32-bit colour strip and one 1-bit mask strip, so thousands of command
// icons need only a few GDI bitmaps. Icons hold slices of it.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCriticalSection.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"

class CQVTImageManager;
class CQVTImageManagerResource;
class CQVTImageManagerRasterImageHandle;

// One slice of a strip: always {x, 0, x + cx, cy}.
struct QVT_IMAGERESOURCE_INFO
{
    BOOL bAlpha;  // premultiplied colour pixels; the mask strip is not used
    CRect rc;
    CQVTImageManagerResource* pResource;
};

class CQVTImageManagerResource
{
public:
    CQVTImageManagerResource(CQVTImageManager* pImageManager, CSize szIcon);
    ~CQVTImageManagerResource();
    CQVTImageManagerResource(const CQVTImageManagerResource&) = delete;
    CQVTImageManagerResource& operator=(const CQVTImageManagerResource&) = delete;

    // A new slice holding a copy of the handle's image; null for an empty
    // handle or one of another size.
    QVT_IMAGERESOURCE_INFO* Add(const CQVTImageManagerRasterImageHandle& handle);
    // Gives the slice back; a strip whose slices are all free lets go of its
    // bitmaps.
    void Release(QVT_IMAGERESOURCE_INFO* pInfo);
    // A plain image (alpha bitmap or icon) made from a slice, owned by the handle.
    void CopyTo(QVT_IMAGERESOURCE_INFO* pInfo, CQVTImageManagerRasterImageHandle& handle);
    void Draw(CDC* pDC, QVT_IMAGERESOURCE_INFO* pInfo, CPoint pt, CSize sz, BOOL bDrawIconWithAlpha);

    CSize GetExtent() const { return m_szIcon; }
    HBITMAP GetBitmap() const { return m_hbmpImage; }
    HBITMAP GetMask() const { return m_hbmpMask; }
    int GetUsedWidth() const { return m_nAllocatedWidth; }
    int GetUsedCount() const { return static_cast<int>(m_arrAllocated.size()); }
    int GetFreeCount() const { return static_cast<int>(m_arrFree.size()); }

private:
    QVT_IMAGERESOURCE_INFO* AllocBitmap();
    BOOL GrowBy(int cx);
    void DeleteBitmaps();
    // Copies bottom-up premultiplied rows of the image size into the slice.
    void CopyRowsIn(const QVT_IMAGERESOURCE_INFO* pInfo, const DWORD* pPixels);

    HBITMAP m_hbmpImage = nullptr;  // colour strip, 32-bit bottom-up DIB section
    HBITMAP m_hbmpMask = nullptr;   // mask strip, 1 bit per pixel
    CQVTBitmapDC m_dc;              // either strip is selected while used
    DWORD* m_pBits = nullptr;       // colour strip pixels
    CQVTImageManager* m_pImageManager;
    CSize m_szIcon;
    int m_nAllocatedWidth = 0;  // strip width in use, a multiple of cx
    std::vector<QVT_IMAGERESOURCE_INFO*> m_arrAllocated;
    std::vector<QVT_IMAGERESOURCE_INFO*> m_arrFree;
    CQVTCriticalSection m_lock;  // strips are shared by every icon of one size
};
