// The toolkit's store of command images: every command id owns images at
// several widths, each in up to five states. Lookups take the nearest width;
// missing disabled and shadow images are derived; images of one size are
// pooled into shared strips. The pixel routines are static members here
// because paint managers, controls and resource images call them directly.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>
#include <commctrl.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

class CQVTImageManagerResource;
class CQVTPropExchange;

typedef CMap<UINT, UINT, CQVTImageManagerIcon*, CQVTImageManagerIcon*> CQVTImageManagerIconMap;

// All widths of one command id.
class CQVTImageManagerIconSet : public CQVTCmdTarget
{
public:
    CQVTImageManagerIconSet(UINT nID, CQVTImageManager* pImageManager);
    ~CQVTImageManagerIconSet() override;

    // Nearest search: width 0 the smallest icon, 1 the largest, otherwise the
    // closest width (the first met of equally close ones).
    CQVTImageManagerIcon* GetIcon(int nWidth, BOOL bNearest = TRUE);
    CQVTImageManagerIconMap* GetIcons() { return &m_mapIcons; }
    int GetCount() const { return static_cast<int>(m_mapIcons.GetCount()); }
    UINT GetID() const { return m_nID; }
    CQVTImageManager* GetImageManager() const { return m_pImageManager; }

    // Drops the derived images of every raster icon.
    void RefreshAll();
    void RemoveAll();
    // Releases every icon of a map and empties it.
    static void AFX_CDECL ReleaseIcons(CQVTImageManagerIconMap& map);

private:
    friend class CQVTImageManager;

    // The icon of the width, made (raster, provisional height 15) when missing.
    CQVTImageManagerIcon* FindOrCreateIcon(int nWidth, int nKind);

    CQVTImageManagerIconMap m_mapIcons;  // width -> icon, owned
    UINT m_nID;
    CQVTImageManager* m_pImageManager;
};

// An image list registered with a base command id: image i is command
// base + i, made into an icon on first request.
class CQVTImageManagerImageList
{
public:
    CQVTImageManagerImageList(CQVTImageManager* pImageManager, HIMAGELIST hImageList, UINT nBaseCommand,
                              BOOL bDestroyImageList);
    ~CQVTImageManagerImageList();
    CQVTImageManagerImageList(const CQVTImageManagerImageList&) = delete;
    CQVTImageManagerImageList& operator=(const CQVTImageManagerImageList&) = delete;

    BOOL Lookup(UINT nCommand) const;
    CQVTImageManagerIcon* GetIcon(UINT nCommand);
    CSize GetIconSize() const;
    // Releases the icons made so far.
    void RemoveAll();
    void Draw(CDC* pDC, CPoint pt, CQVTImageManagerIcon* pIcon, CSize sz);

    HIMAGELIST m_hImageList;
    BOOL m_bDestroyImageList;
    UINT m_nBaseCommand;
    CQVTImageManagerIconMap m_mapIcons;  // command -> icon
    CQVTImageManager* m_pImageManager;
};

class CQVTImageManager : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTImageManager)

public:
    enum MirrorMode
    {
        mirrorNever = 0,
        mirrorAlways = 1,
        mirrorRightToLeft = 2  // when the target DC's layout is right-to-left
    };

    CQVTImageManager();
    ~CQVTImageManager() override;

    void Serialize(CArchive& ar) override;

    // The manager behind a COM pointer; COleException E_INVALIDARG when it is
    // another kind of object.
    static CQVTImageManager* AFX_CDECL FromDispatch(IDispatch* pDispatch);

    // Lookup.
    CQVTImageManagerIcon* GetImage(UINT nCommand, int nWidth = 0);
    BOOL HasImage(UINT nCommand, int nWidth = 0);
    CQVTImageManagerIconSet* GetIconSet(UINT nCommand) const;
    CMap<UINT, UINT, CQVTImageManagerIconSet*, CQVTImageManagerIconSet*>* GetIconSets()
    {
        return &m_mapImages;
    }

    // Setting images; each returns FALSE when nothing could be set.
    BOOL SetIcon(const CQVTImageManagerRasterImageHandle& handle, UINT nCommand, CSize szIcon = CSize(0, 0),
                 int nState = qvtImageNormal);
    BOOL SetIconFromResource(LPCTSTR lpszResourceName, UINT nCommand, CSize szIcon = CSize(0, 0),
                             int nState = qvtImageNormal);
    BOOL SetIconFromIcoFile(LPCTSTR lpszFileName, UINT nCommand, CSize szIcon = CSize(0, 0),
                            int nState = qvtImageNormal);
    BOOL SetIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState,
                            BOOL bAlpha);
    BOOL SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount, CSize szIcon,
                               int nState = qvtImageNormal);
    BOOL SetIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                  int nState = qvtImageNormal);
    BOOL SetVectorIconFromResource(HMODULE hModule, LPCTSTR lpszResourceName, LPCTSTR lpszResourceType,
                                   UINT nCommand, int nWidth, int nState = qvtImageNormal);
    // Registers a list whose image i is command nBaseCommand + i.
    BOOL SetImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList);
    // The previous mask colour.
    COLORREF SetMaskColor(COLORREF clrMask);
    COLORREF GetMaskColor() const { return m_clrMask; }

    // Drops every derived image and every icon made from an image list.
    void RefreshAll();

    int GetMirrorMode() const { return m_nMirrorMode; }
    void SetMirrorMode(int nMode) { m_nMirrorMode = nMode; }
    BOOL IsUseResources() const { return m_bUseResources; }
    void SetUseResources(BOOL bUseResources) { m_bUseResources = bUseResources; }
    UINT GetHighestCommand() const { return m_nHighestCommand; }
    // Whether an icon drawn into this DC is flipped.
    BOOL IsMirrored(CDC* pDC) const;

    // Persistence through any property-exchange back end.
    void DoPropExchange(CQVTPropExchange* pPX);
    void DoPropExchangeIconSet(UINT nCommand, CQVTPropExchange* pPX);

    // The shared strip of one image size, made on first request.
    CQVTImageManagerResource* GetResource(CSize szIcon);

    // Bitmap loaders; *pbAlpha tells whether the bitmap has an alpha channel.
    static HBITMAP AFX_CDECL LoadBitmapFromResource(LPCTSTR lpszResource, BOOL* pbAlpha);
    static HBITMAP AFX_CDECL LoadBitmapFromModule(HMODULE hModule, LPCTSTR lpszResource, BOOL* pbAlpha);
    static HBITMAP AFX_CDECL LoadBitmapFromFile(LPCTSTR lpszFileName, BOOL* pbAlpha);
    static BOOL AFX_CDECL IsAlphaBitmapFile(LPCTSTR lpszFileName);
    static BOOL AFX_CDECL IsAlphaBitmapResource(HMODULE hModule, LPCTSTR lpszResource);
    static BOOL AFX_CDECL IsPngResource(HMODULE hModule, LPCTSTR lpszResource);

    // Pixel routines.
    static BOOL AFX_CDECL AlphaBlend(HDC hdcDest, const CRect& rcDest, HDC hdcSrc, const CRect& rcSrc);
    // The blend by hand, for systems whose AlphaBlend is missing or unreliable.
    static BOOL AFX_CDECL AlphaBlendManual(HDC hdcDest, const CRect& rcDest, HDC hdcSrc, const CRect& rcSrc);
    static BOOL AFX_CDECL TransparentBlt(HDC hdcDest, const CRect& rcDest, HDC hdcSrc, const CRect& rcSrc,
                                         UINT clrTransparent);
    static BOOL AFX_CDECL TransparentBltManual(HDC hdcDest, const CRect& rcDest, HDC hdcSrc,
                                               const CRect& rcSrc, UINT clrTransparent);
    // A source size of 0 takes the destination size.
    static BOOL AFX_CDECL DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest,
                                          CPoint ptSrc = CPoint(0, 0), CSize szSrc = CSize(0, 0));
    static void AFX_CDECL DrawIconWithAlpha(CDC* pDC, CPoint pt, CSize sz, HICON hIcon);
    // A positive height makes a bottom-up section.
    static HBITMAP AFX_CDECL Create32BitDIBSection(HDC hDC, int cx, int cy, LPBYTE* lpBits = nullptr);
    // Only for 32-bit bitmaps; both blocks come from malloc.
    static BOOL AFX_CDECL GetBitmapBits(CDC& dcSrc, HBITMAP hBitmap, PBITMAPINFO& pBitmapInfo, LPVOID& pBits,
                                        UINT& nSize);
    static HBITMAP AFX_CDECL CopyBitmap(HBITMAP hBitmap, LPBYTE* lpBits = nullptr);
    // Premultiplies. With pdwAlpha, pixels are scanned for alpha (preset 0 or
    // 0xFFFFFFFF); finding none leaves them as they were read.
    static HBITMAP AFX_CDECL ConvertToAlphaBitmap(HBITMAP hBitmap, DWORD* pdwAlpha, LPBYTE* lpBits = nullptr);
    static HBITMAP AFX_CDECL CreateMirroredBitmap(HBITMAP hBitmap);
    static HICON AFX_CDECL ResizeIcon(HICON hIcon, CSize szExtent, int nWidth);
    static CSize AFX_CDECL GetIconExtent(HICON hIcon);
    static BOOL AFX_CDECL IsAlphaIconHandle(HICON hIcon);
    // Cuts a 32-bit bitmap into n side-by-side sections.
    static BOOL AFX_CDECL SplitBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps);

private:
    friend class CQVTImageManagerIcon;

    CQVTImageManagerIconSet* FindOrCreateIconSet(UINT nCommand);
    void RemoveAll();

    BOOL m_bUseResources = TRUE;  // poolable copies go into the shared strips
    COLORREF m_clrMask = 0xFFFFFFFF;
    CMap<UINT, UINT, CQVTImageManagerIconSet*, CQVTImageManagerIconSet*> m_mapImages;
    CArray<CQVTImageManagerImageList*, CQVTImageManagerImageList*> m_arrImageList;
    CMap<DWORD, DWORD, CQVTImageManagerResource*, CQVTImageManagerResource*>
        m_mapResources;                // MAKELONG(cx, cy)
    UINT m_nHighestCommand = 0x10AAA;  // raised to any larger id loaded
    int m_nMirrorMode = mirrorRightToLeft;
};

CQVTImageManager* AFXAPI QVTImageManager();
