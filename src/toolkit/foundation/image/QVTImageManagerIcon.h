// One command image at one width, in up to five states, and the two kinds of
// image handle it keeps them in: raster (an icon or a 32-bit alpha bitmap,
// possibly a slice of a shared strip) and vector (a markup document).
#pragma once

#include <afxwin.h>
#include <objidl.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTImageManager;
class CQVTImageManagerIconSet;
class CQVTImageManagerImageList;
class CQVTMarkupContext;
class CQVTMarkupUIElement;
struct QVT_IMAGERESOURCE_INFO;

enum QVTIconState
{
    qvtImageNormal = 0,
    qvtImageDisabled = 1,
    qvtImageHot = 2,
    qvtImageChecked = 3,
    qvtImagePressed = 4
};

// Ids in a strip's id list that take no image.
const UINT QVT_IMAGE_SEPARATOR = 0;
const UINT QVT_IMAGE_SEPARATOR_ALT = 0xDEADBEAF;

class CQVTImageManagerRasterImageHandle
{
public:
    CQVTImageManagerRasterImageHandle();
    ~CQVTImageManagerRasterImageHandle();
    CQVTImageManagerRasterImageHandle(const CQVTImageManagerRasterImageHandle&) = delete;
    CQVTImageManagerRasterImageHandle& operator=(const CQVTImageManagerRasterImageHandle&) = delete;

    // Destroys what the handle owns and returns a slice to its strip.
    void Reset();
    // A shared handle is left alone when the handle lets go of it.
    void AttachIcon(HICON hIcon, BOOL bSharedHandle = FALSE);
    void AttachBitmap(HBITMAP hBitmap, BOOL bSharedHandle = FALSE);
    // A copy the handle owns; into the owner manager's strip when it pools.
    void CopyFrom(const CQVTImageManagerRasterImageHandle& source);

    CSize GetExtent() const { return m_szExtent; }
    BOOL IsEmpty() const;
    BOOL IsAlpha() const;
    HICON GetIcon() const { return m_hIcon; }
    // The bitmap, else the strip's bitmap.
    HBITMAP GetBitmap() const;
    // Makes the bitmap a premultiplied DIB section on first call.
    LPBYTE GetBits();
    BOOL IsPremultiplied() const { return m_pBits != nullptr; }
    QVT_IMAGERESOURCE_INFO* GetResourceInfo() const { return m_pResourceInfo; }

    // An icon or group-icon resource (modes: 0 exact, 1 the smallest at least
    // as large, 2 the largest at most as large).
    BOOL LoadIconResource(HMODULE hModule, LPCTSTR lpszName, CSize szIcon, BOOL bGroup, int nMode);
    BOOL LoadIconResource(LPCTSTR lpszName, CSize szIcon, BOOL bPreferGroup, int nMode);
    // One icon image (a DIB with its mask, or PNG bytes) as an icon resource
    // or an ".ico" file holds it.
    BOOL LoadIconImage(const BYTE* pData, DWORD nSize, CSize szIcon);

    // A new icon at the width scaled from the reference DPI to the screen's.
    HICON GetDpiScaledIcon(int nReferenceDpi = 96) const;

    CQVTImageManager* GetImageManager() const { return m_pImageManager; }
    void SetImageManager(CQVTImageManager* pImageManager) { m_pImageManager = pImageManager; }
    BOOL IsPoolable() const { return m_bPoolable; }
    void SetPoolable(BOOL bPoolable) { m_bPoolable = bPoolable; }

    // Draws at a point and size; a non-positive width mirrors an icon.
    void Draw(CDC* pDC, CPoint pt, CSize sz, BOOL bDrawIconWithAlpha = FALSE);

private:
    friend class CQVTImageManagerResource;
    friend class CQVTImageManagerIcon;

    void Measure();

    HICON m_hIcon = nullptr;
    HBITMAP m_hBitmap = nullptr;  // 32-bit alpha DIB section
    LPBYTE m_pBits = nullptr;     // set once the pixels are premultiplied
    BOOL m_bOwnsHandles = FALSE;
    CQVTImageManager* m_pImageManager = nullptr;        // whose strips and mirror rule apply
    QVT_IMAGERESOURCE_INFO* m_pResourceInfo = nullptr;  // a slice of a shared strip
    CSize m_szExtent;
    BOOL m_bPoolable = TRUE;
};

// Copies share one record, which the last handle frees.
class CQVTImageManagerVectorImageHandle
{
public:
    CQVTImageManagerVectorImageHandle();
    // Keeps one reference on the stream and the element; the context belongs
    // to the icon.
    CQVTImageManagerVectorImageHandle(IStream* pStream, CQVTMarkupContext* pContext,
                                      CQVTMarkupUIElement* pElement);
    CQVTImageManagerVectorImageHandle(const CQVTImageManagerVectorImageHandle& other);
    CQVTImageManagerVectorImageHandle& operator=(const CQVTImageManagerVectorImageHandle& other);
    ~CQVTImageManagerVectorImageHandle();

    BOOL HasImage() const { return m_pRecord != nullptr; }
    void Reset();

    IStream* GetStream() const;
    CQVTMarkupUIElement* GetElement() const;
    // The document's bytes, read from the stream once and kept; null for a
    // stream above 4 GB or one that cannot be read.
    const BYTE* GetData(DWORD& nSize) const;

    // A handle over a copy of the bytes, parsed with the context.
    static CQVTImageManagerVectorImageHandle AFX_CDECL FromBytes(const BYTE* pData, DWORD nSize,
                                                                 CQVTMarkupContext* pContext);

private:
    struct Record
    {
        LONG nRefs;
        HGLOBAL hCachedData;  // the saved bytes, made on first save
        DWORD nCachedSize;
        IStream* pStream;
        CQVTMarkupContext* pContext;
        CQVTMarkupUIElement* pElement;
    };

    Record* m_pRecord = nullptr;
};

class CQVTImageManagerIcon : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTImageManagerIcon)

public:
    enum ImageKind
    {
        kindNone = 0,
        kindRaster = 1,
        kindVector = 2
    };
    // The raster slots, in their stored order.
    enum RasterSlot
    {
        slotNormal = 0,
        slotReserved = 1,  // derived; never filled, dropped with the others
        slotShadow = 2,
        slotHot = 3,
        slotChecked = 4,
        slotPressed = 5,
        slotDisabled = 6,
        slotAutoDisabled = 7,
        rasterSlotCount = 8
    };
    enum VectorSlot
    {
        vectorNormal = 0,
        vectorHot = 1,
        vectorChecked = 2,
        vectorPressed = 3,
        vectorDisabled = 4,
        vectorSlotCount = 5
    };
    // The record marker of a vector icon and the schema written.
    static const DWORD kVectorMarker = 0xFFFF0002;
    static const UINT kSchema = 43;

    CQVTImageManagerIcon(UINT nID, int nWidth, int nHeight, CQVTImageManagerIconSet* pIconSet = nullptr);
    ~CQVTImageManagerIcon() override;

    void Serialize(CArchive& ar) override;

    int GetWidth() const;
    int GetHeight() const;
    CSize GetExtent() const;
    UINT GetID() const { return m_nID; }
    int GetKind() const { return m_nKind; }
    BOOL IsRasterIcon() const { return m_nKind == kindRaster; }
    BOOL IsVectorIcon() const { return m_nKind == kindVector; }
    BOOL IsAlpha() const;
    BOOL HasNormalImage() const;
    BOOL HasDisabledImage() const;
    CQVTImageManagerIconSet* GetIconSet() const { return m_pIconSet; }
    CQVTImageManager* GetImageManager() const;
    CQVTImageManagerImageList* GetImageList() const { return m_pImageList; }

    BOOL GetDrawIconsWithAlpha() const { return m_bDrawIconsWithAlpha; }
    void SetDrawIconsWithAlpha(BOOL bDraw) { m_bDrawIconsWithAlpha = bDraw; }

    // Slots with their fall-backs.
    CQVTImageManagerRasterImageHandle& GetNormalImage();
    CQVTImageManagerRasterImageHandle& GetHotImage();
    CQVTImageManagerRasterImageHandle& GetCheckedImage();
    CQVTImageManagerRasterImageHandle& GetPressedImage();
    CQVTImageManagerRasterImageHandle& GetShadowImage();
    // The disabled image, else the auto-disabled one made on demand.
    CQVTImageManagerRasterImageHandle& GetDisabledImage(BOOL bAuto = TRUE);
    CQVTImageManagerRasterImageHandle& GetImage(int nState);
    CQVTImageManagerRasterImageHandle& GetRasterSlot(int nSlot) { return m_rasterImages[nSlot]; }
    // A shared copy; a missing state falls back to the normal image.
    CQVTImageManagerVectorImageHandle GetVectorImage(int nState) const;
    const CQVTImageManagerVectorImageHandle& GetVectorSlot(int nSlot) const { return m_vectorImages[nSlot]; }

    // The normal image resets every other slot: set it first.
    BOOL SetNormalImage(const CQVTImageManagerRasterImageHandle& handle);
    BOOL SetHotImage(const CQVTImageManagerRasterImageHandle& handle);
    BOOL SetCheckedImage(const CQVTImageManagerRasterImageHandle& handle);
    BOOL SetPressedImage(const CQVTImageManagerRasterImageHandle& handle);
    BOOL SetDisabledImage(const CQVTImageManagerRasterImageHandle& handle);
    BOOL SetVectorImage(const CQVTImageManagerVectorImageHandle& handle, int nState);

    // Drops the shadow, auto-disabled and reserved images.
    void Refresh();
    // Both colours 0xFFFFFFFF: the gamma look; otherwise dark pixels take
    // clr2 and bright ones clr1.
    void CreateDisabledImage(COLORREF clr1 = 0xFFFFFFFF, COLORREF clr2 = 0xFFFFFFFF);
    void CreateShadowImage();

    // A size of 0 takes the icon's own; a height of 0 keeps its proportions.
    void Draw(CDC* pDC, CPoint pt);
    void DrawSized(CDC* pDC, CPoint pt, CSize sz);
    void DrawInState(CDC* pDC, CPoint pt, int nState);
    void DrawInStateSized(CDC* pDC, CPoint pt, CSize sz, int nState);
    // A one-colour silhouette of a non-alpha slot.
    void DrawMonochrome(CDC* pDC, CPoint pt, CQVTImageManagerRasterImageHandle& handle, CSize sz,
                        COLORREF clr);

    // The markup context of the vector images, made on first use.
    CQVTMarkupContext* GetMarkupContext();

private:
    friend class CQVTImageManager;
    friend class CQVTImageManagerIconSet;
    friend class CQVTImageManagerImageList;

    // Fails for a vector icon; an icon without a kind becomes raster.
    BOOL PrepareRaster();
    void SetRasterSlot(int nSlot, const CQVTImageManagerRasterImageHandle& handle);
    // A state other than normal: the derived images are dropped first.
    BOOL SetStateImage(int nSlot, const CQVTImageManagerRasterImageHandle& handle);
    void ResetAllSlots();
    void DrawVector(CDC* pDC, CPoint pt, CSize sz, int nState);
    void SerializeRasterSlot(CArchive& ar, int nSlot, UINT nSchema);
    void SerializeVectorSlot(CArchive& ar, int nSlot);

    BOOL m_bDrawIconsWithAlpha = FALSE;
    UINT m_nID;
    int m_nKind = kindNone;
    int m_nWidth;
    int m_nHeight;
    CQVTImageManagerRasterImageHandle m_rasterImages[rasterSlotCount];
    CQVTImageManagerIconSet* m_pIconSet;
    CQVTImageManagerImageList* m_pImageList = nullptr;  // the list an icon was made from
    CQVTMarkupContext* m_pMarkupContext = nullptr;
    CQVTImageManagerVectorImageHandle m_vectorImages[vectorSlotCount];
};

// Owns one HICON.
class CQVTIconHandle
{
public:
    CQVTIconHandle() = default;
    virtual ~CQVTIconHandle();
    CQVTIconHandle(const CQVTIconHandle&) = delete;
    CQVTIconHandle& operator=(const CQVTIconHandle&) = delete;

    CQVTIconHandle& operator=(HICON hIcon);
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};
