#include "toolkit/foundation/image/QVTImageManager.h"

#include <olectl.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTGraphicBitmapPng.h"
#include "toolkit/foundation/image/QVTImageManagerResource.h"
#include "toolkit/foundation/image/QVTImagePixels.h"
#include "toolkit/foundation/resource/QVTResource.h"

using namespace QVTImagePixels;

namespace {
const DWORD kPngSignatureWord = 0x474E5089;  // "\x89PNG" read little-endian

// The strips and derived images use the colour manager and the drawing
// helpers: both must outlive the image manager.
void InitImageManagerDependencies()
{
    QVTColorManager();
    QVTDrawHelpers();
}

BOOL IsSeparator(UINT nCommand)
{
    return nCommand == QVT_IMAGE_SEPARATOR || nCommand == QVT_IMAGE_SEPARATOR_ALT;
}

// The resource's bytes, held to its module's mapping (skins are modules
// the program did not build), or null.
const BYTE* LockResourceBytes(HMODULE hModule, HRSRC hResource, DWORD& nSize)
{
    return CQVTResource::LockBounded(hModule, hResource, &nSize);
}

BOOL StartsWithPng(const BYTE* pData, DWORD nSize)
{
    DWORD dwWord = 0;
    if (!pData || nSize < sizeof dwWord)
        return FALSE;
    memcpy(&dwWord, pData, sizeof dwWord);
    return dwWord == kPngSignatureWord;
}

// A 32-bit bitmap resource made into a DIB section with its own pixels.
HBITMAP LoadAlphaBitmapResource(const BYTE* pData, DWORD nSize)
{
    if (nSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof header);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > nSize || header.biBitCount != 32 ||
        header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > 16384 || header.biHeight > 16384 ||
        header.biHeight < -16384)
        return nullptr;
    DWORD nOffset = header.biSize;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        nOffset += 12;
    else if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
        return nullptr;
    const LONG cy = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const ULONGLONG nPixelBytes = static_cast<ULONGLONG>(header.biWidth) * cy * 4;
    if (nOffset + nPixelBytes > nSize)
        return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader = header;
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(nPixelBytes);
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap)
        memcpy(pBits, pData + nOffset, static_cast<size_t>(nPixelBytes));
    return hBitmap;
}

// Reads a file's first bytes; FALSE when it has fewer.
BOOL ReadFileStart(LPCTSTR lpszFileName, void* pBuffer, UINT nBytes)
{
    try
    {
        CFile file;
        if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
            return FALSE;
        return file.Read(pBuffer, nBytes) == nBytes;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return FALSE;
}

// Any picture format the system reads, drawn at screen DPI on the 3D face colour.
HBITMAP LoadPictureFile(LPCTSTR lpszFileName)
{
    IPicture* pPicture = nullptr;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(lpszFileName), nullptr, 0, 0, IID_IPicture,
                                    reinterpret_cast<void**>(&pPicture))) ||
        !pPicture)
        return nullptr;
    OLE_XSIZE_HIMETRIC cxHimetric = 0;
    OLE_YSIZE_HIMETRIC cyHimetric = 0;
    pPicture->get_Width(&cxHimetric);
    pPicture->get_Height(&cyHimetric);
    HDC hScreen = ::GetDC(nullptr);
    const int cx = ::MulDiv(cxHimetric, ::GetDeviceCaps(hScreen, LOGPIXELSX), 2540);
    const int cy = ::MulDiv(cyHimetric, ::GetDeviceCaps(hScreen, LOGPIXELSY), 2540);
    ::ReleaseDC(nullptr, hScreen);
    HBITMAP hBitmap = cx > 0 && cy > 0 ? CQVTImageManager::Create32BitDIBSection(nullptr, cx, cy) : nullptr;
    if (hBitmap)
    {
        CQVTSelectedBitmapDC dc(nullptr, hBitmap);
        CRect rc(0, 0, cx, cy);
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_3DFACE));
        pPicture->Render(dc, 0, 0, cx, cy, 0, cyHimetric, cxHimetric, -cyHimetric, nullptr);
    }
    pPicture->Release();
    return hBitmap;
}

// An ".ico" directory entry.
struct IcoEntry
{
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    DWORD dwImageOffset;
};
static_assert(sizeof(IcoEntry) == 16, "the file's entry size");
}  // namespace

QVT_IMPLEMENT_SINGLETON(CQVTImageManager, QVTImageManager, &InitImageManagerDependencies)

// Icon set

CQVTImageManagerIconSet::CQVTImageManagerIconSet(UINT nID, CQVTImageManager* pImageManager)
    : m_mapIcons(10), m_nID(nID), m_pImageManager(pImageManager)
{
}

CQVTImageManagerIconSet::~CQVTImageManagerIconSet()
{
    RemoveAll();
}

CQVTImageManagerIcon* CQVTImageManagerIconSet::GetIcon(int nWidth, BOOL bNearest)
{
    if (nWidth < 0)
        nWidth = 0;
    CQVTImageManagerIcon* pIcon = nullptr;
    if (nWidth >= 2 && m_mapIcons.Lookup(static_cast<UINT>(nWidth), pIcon))
        return pIcon;
    if (!bNearest)
        return nullptr;
    CQVTImageManagerIcon* pBest = nullptr;
    UINT nBestWidth = 0;
    POSITION pos = m_mapIcons.GetStartPosition();
    while (pos)
    {
        UINT nIconWidth = 0;
        m_mapIcons.GetNextAssoc(pos, nIconWidth, pIcon);
        BOOL bBetter = pBest == nullptr;
        if (!bBetter)
        {
            if (nWidth == 0)
                bBetter = nIconWidth < nBestWidth;
            else if (nWidth == 1)
                bBetter = nIconWidth > nBestWidth;
            else
                bBetter = std::abs(static_cast<int>(nIconWidth) - nWidth) <
                          std::abs(static_cast<int>(nBestWidth) - nWidth);
        }
        if (bBetter)
        {
            pBest = pIcon;
            nBestWidth = nIconWidth;
        }
    }
    return pBest;
}

CQVTImageManagerIcon* CQVTImageManagerIconSet::FindOrCreateIcon(int nWidth, int nKind)
{
    if (nWidth < 0)
        nWidth = 0;
    CQVTImageManagerIcon* pIcon = nullptr;
    if (m_mapIcons.Lookup(static_cast<UINT>(nWidth), pIcon))
        return pIcon;
    pIcon = new CQVTImageManagerIcon(m_nID, nWidth, 15, this);
    pIcon->m_nKind = nKind;
    m_mapIcons.SetAt(static_cast<UINT>(nWidth), pIcon);
    return pIcon;
}

void CQVTImageManagerIconSet::RefreshAll()
{
    POSITION pos = m_mapIcons.GetStartPosition();
    while (pos)
    {
        UINT nWidth = 0;
        CQVTImageManagerIcon* pIcon = nullptr;
        m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
        if (pIcon->IsRasterIcon())
            pIcon->Refresh();
    }
}

void CQVTImageManagerIconSet::RemoveAll()
{
    ReleaseIcons(m_mapIcons);
}

void AFX_CDECL CQVTImageManagerIconSet::ReleaseIcons(CQVTImageManagerIconMap& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos)
    {
        UINT nKey = 0;
        CQVTImageManagerIcon* pIcon = nullptr;
        map.GetNextAssoc(pos, nKey, pIcon);
        // An icon a caller still holds keeps no images and no way back.
        pIcon->ResetAllSlots();
        pIcon->m_pIconSet = nullptr;
        pIcon->m_pImageList = nullptr;
        pIcon->InternalRelease();
    }
    map.RemoveAll();
}

// Image list

CQVTImageManagerImageList::CQVTImageManagerImageList(CQVTImageManager* pImageManager, HIMAGELIST hImageList,
                                                     UINT nBaseCommand, BOOL bDestroyImageList)
    : m_hImageList(hImageList), m_bDestroyImageList(bDestroyImageList), m_nBaseCommand(nBaseCommand),
      m_mapIcons(10), m_pImageManager(pImageManager)
{
}

CQVTImageManagerImageList::~CQVTImageManagerImageList()
{
    RemoveAll();
    if (m_bDestroyImageList && m_hImageList)
        ImageList_Destroy(m_hImageList);
}

BOOL CQVTImageManagerImageList::Lookup(UINT nCommand) const
{
    return nCommand >= m_nBaseCommand &&
           static_cast<ULONGLONG>(nCommand) < static_cast<ULONGLONG>(m_nBaseCommand) +
                                                  static_cast<UINT>(ImageList_GetImageCount(m_hImageList));
}

CSize CQVTImageManagerImageList::GetIconSize() const
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(m_hImageList, &cx, &cy);
    return CSize(cx, cy);
}

CQVTImageManagerIcon* CQVTImageManagerImageList::GetIcon(UINT nCommand)
{
    if (!Lookup(nCommand))
        return nullptr;
    CQVTImageManagerIcon* pIcon = nullptr;
    if (m_mapIcons.Lookup(nCommand, pIcon))
        return pIcon;
    CSize size = GetIconSize();
    pIcon = new CQVTImageManagerIcon(nCommand, size.cx, size.cy);
    pIcon->m_pImageList = this;
    for (int i = 0; i < CQVTImageManagerIcon::rasterSlotCount; ++i)
        pIcon->m_rasterImages[i].SetImageManager(m_pImageManager);
    // The normal image lets the derived images be made as for any icon.
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(
        ImageList_GetIcon(m_hImageList, static_cast<int>(nCommand - m_nBaseCommand), ILD_NORMAL));
    if (!handle.IsEmpty())
        pIcon->SetNormalImage(handle);
    pIcon->m_nWidth = size.cx;
    pIcon->m_nHeight = size.cy;
    m_mapIcons.SetAt(nCommand, pIcon);
    return pIcon;
}

void CQVTImageManagerImageList::RemoveAll()
{
    CQVTImageManagerIconSet::ReleaseIcons(m_mapIcons);
}

void CQVTImageManagerImageList::Draw(CDC* pDC, CPoint pt, CQVTImageManagerIcon* pIcon, CSize sz)
{
    ImageList_DrawEx(m_hImageList, static_cast<int>(pIcon->GetID() - m_nBaseCommand), pDC->GetSafeHdc(), pt.x,
                     pt.y, sz.cx, sz.cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

// Manager

IMPLEMENT_DYNAMIC(CQVTImageManager, CQVTCmdTarget)

CQVTImageManager::CQVTImageManager() : m_mapImages(10), m_mapResources(10)
{
    m_mapImages.InitHashTable(127, FALSE);
}

CQVTImageManager::~CQVTImageManager()
{
    RemoveAll();
}

void CQVTImageManager::RemoveAll()
{
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos)
    {
        UINT nCommand = 0;
        CQVTImageManagerIconSet* pIconSet = nullptr;
        m_mapImages.GetNextAssoc(pos, nCommand, pIconSet);
        pIconSet->RemoveAll();
        pIconSet->InternalRelease();
    }
    m_mapImages.RemoveAll();

    // Image-list icons hold slices too: they go before the strips.
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        delete m_arrImageList[i];
    m_arrImageList.RemoveAll();

    pos = m_mapResources.GetStartPosition();
    while (pos)
    {
        DWORD dwSize = 0;
        CQVTImageManagerResource* pResource = nullptr;
        m_mapResources.GetNextAssoc(pos, dwSize, pResource);
        delete pResource;
    }
    m_mapResources.RemoveAll();
}

CQVTImageManager* AFX_CDECL CQVTImageManager::FromDispatch(IDispatch* pDispatch)
{
    if (!pDispatch)
        return nullptr;
    CCmdTarget* pTarget = CQVTCmdTarget::FromInterface(pDispatch);
    if (!pTarget || !pTarget->IsKindOf(RUNTIME_CLASS(CQVTImageManager)))
        AfxThrowOleException(E_INVALIDARG);
    return static_cast<CQVTImageManager*>(pTarget);
}

CQVTImageManagerIconSet* CQVTImageManager::GetIconSet(UINT nCommand) const
{
    CQVTImageManagerIconSet* pIconSet = nullptr;
    return m_mapImages.Lookup(nCommand, pIconSet) ? pIconSet : nullptr;
}

CQVTImageManagerIconSet* CQVTImageManager::FindOrCreateIconSet(UINT nCommand)
{
    CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand);
    if (!pIconSet)
    {
        pIconSet = new CQVTImageManagerIconSet(nCommand, this);
        m_mapImages.SetAt(nCommand, pIconSet);
    }
    return pIconSet;
}

CQVTImageManagerIcon* CQVTImageManager::GetImage(UINT nCommand, int nWidth)
{
    if (nWidth < 0)
        nWidth = 0;
    if (CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand))
        return pIconSet->GetIcon(nWidth, TRUE);
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        if (m_arrImageList[i]->Lookup(nCommand))
            return m_arrImageList[i]->GetIcon(nCommand);
    return nullptr;
}

BOOL CQVTImageManager::HasImage(UINT nCommand, int nWidth)
{
    if (CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand))
    {
        CQVTImageManagerIcon* pSmallest = pIconSet->GetIcon(0, TRUE);
        if (pSmallest && pSmallest->IsVectorIcon())
            return TRUE;
        if (nWidth >= 2)
            return pIconSet->GetIcon(nWidth, FALSE) != nullptr;
        return pIconSet->GetCount() > 0;
    }
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        if (m_arrImageList[i]->Lookup(nCommand))
            return nWidth == 0 || m_arrImageList[i]->GetIconSize().cx == nWidth;
    return FALSE;
}

BOOL CQVTImageManager::SetIcon(const CQVTImageManagerRasterImageHandle& handle, UINT nCommand, CSize szIcon,
                               int nState)
{
    if (handle.IsEmpty())
        return FALSE;
    if (szIcon.cx == 0 && szIcon.cy == 0)
    {
        szIcon = handle.GetExtent();
        if (szIcon.cx == 0 && szIcon.cy == 0)
            return FALSE;
    }
    const int nWidth = szIcon.cx < 0 ? 0 : szIcon.cx;

    CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand);
    if (!pIconSet)
    {
        if (nState != qvtImageNormal)
            return FALSE;
        pIconSet = FindOrCreateIconSet(nCommand);
    }
    CQVTImageManagerIcon* pIcon = pIconSet->FindOrCreateIcon(nWidth, CQVTImageManagerIcon::kindRaster);
    switch (nState)
    {
    case qvtImageNormal:
        pIcon->SetNormalImage(handle);
        break;
    case qvtImageDisabled:
        pIcon->SetDisabledImage(handle);
        break;
    case qvtImageHot:
        pIcon->SetHotImage(handle);
        break;
    case qvtImageChecked:
        pIcon->SetCheckedImage(handle);
        break;
    case qvtImagePressed:
        pIcon->SetPressedImage(handle);
        break;
    }
    return TRUE;
}

BOOL CQVTImageManager::SetIconFromResource(LPCTSTR lpszResourceName, UINT nCommand, CSize szIcon, int nState)
{
    HMODULE hModule = AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON);
    HRSRC hGroup = ::FindResourceW(hModule, lpszResourceName, RT_GROUP_ICON);
    if (hGroup)
    {
        DWORD nSize = 0;
        const BYTE* pDir = LockResourceBytes(hModule, hGroup, nSize);
        if (!pDir || nSize < 6)
            return TRUE;
        const int nCount = pDir[4] | (pDir[5] << 8);
        for (int i = 0; i < nCount; ++i)
        {
            // Entries past the directory's end are not there.
            if (6ull + 14ull * (i + 1) > nSize)
                break;
            const BYTE* pEntry = pDir + 6 + 14 * i;
            CSize szEntry(pEntry[0] ? pEntry[0] : 256, pEntry[1] ? pEntry[1] : 256);
            if ((szIcon.cx != 0 || szIcon.cy != 0) && szEntry != szIcon)
                continue;
            WORD nIconID = static_cast<WORD>(pEntry[12] | (pEntry[13] << 8));
            CQVTImageManagerRasterImageHandle handle;
            if (!handle.LoadIconResource(hModule, MAKEINTRESOURCEW(nIconID), szEntry, FALSE, 0) ||
                !SetIcon(handle, nCommand, szEntry, nState))
                break;
        }
        return TRUE;
    }
    CQVTImageManagerRasterImageHandle handle;
    if (!handle.LoadIconResource(AfxFindResourceHandle(lpszResourceName, RT_ICON), lpszResourceName, szIcon,
                                 FALSE, 0))
        return FALSE;
    return SetIcon(handle, nCommand, szIcon, nState);
}

BOOL CQVTImageManager::SetIconFromIcoFile(LPCTSTR lpszFileName, UINT nCommand, CSize szIcon, int nState)
{
    BOOL bResult = FALSE;
    try
    {
        CFile file;
        if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
            return FALSE;
        const ULONGLONG nFileSize = file.GetLength();
        WORD header[3] = {};
        if (file.Read(header, sizeof header) != sizeof header || header[1] != 1 || header[2] == 0)
            return FALSE;
        const WORD nCount = header[2];
        std::vector<IcoEntry> entries(nCount);
        const UINT nDirBytes = static_cast<UINT>(nCount * sizeof(IcoEntry));
        if (file.Read(entries.data(), nDirBytes) != nDirBytes)
            return FALSE;
        for (const IcoEntry& entry : entries)
        {
            CSize szEntry(entry.bWidth ? entry.bWidth : 256, entry.bHeight ? entry.bHeight : 256);
            if ((szIcon.cx != 0 || szIcon.cy != 0) && szEntry != szIcon)
                continue;
            // An entry that points past the file is not read.
            const DWORD nBytes = entry.dwBytesInRes > 0x7FFFFFFF ? 0x7FFFFFFF : entry.dwBytesInRes;
            if (nBytes == 0 || static_cast<ULONGLONG>(entry.dwImageOffset) + nBytes > nFileSize)
                continue;
            std::vector<BYTE> image(nBytes);
            file.Seek(entry.dwImageOffset, CFile::begin);
            if (file.Read(image.data(), nBytes) != nBytes)
                continue;
            CQVTImageManagerRasterImageHandle handle;
            if (handle.LoadIconImage(image.data(), nBytes, CSize(0, 0)) &&
                SetIcon(handle, nCommand, szEntry, nState))
                bResult = TRUE;
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    return bResult;
}

BOOL CQVTImageManager::SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount,
                                             CSize szIcon, int nState)
{
    if (!hImageList)
        return FALSE;
    const int nImageCount = ImageList_GetImageCount(hImageList);
    if (nCount == 0 && !pCommands)
        nCount = nImageCount;
    if (szIcon.cx == 0)
    {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(hImageList, &cx, &cy);
        szIcon = CSize(cx, cy);
    }
    const BOOL bSkipSeparators = pCommands && nImageCount != nCount;
    int nImage = 0;
    for (int i = 0; i < nCount; ++i)
    {
        const UINT nCommand = pCommands ? pCommands[i] : static_cast<UINT>(i);
        if (bSkipSeparators && IsSeparator(nCommand))
            continue;
        HICON hIcon = ImageList_GetIcon(hImageList, nImage++, ILD_NORMAL);
        if (!hIcon)
            return FALSE;
        CQVTImageManagerRasterImageHandle handle;
        handle.AttachIcon(hIcon, TRUE);
        SetIcon(handle, nCommand, szIcon, nState);
        handle.Reset();
        ::DestroyIcon(hIcon);
    }
    return TRUE;
}

BOOL CQVTImageManager::SetIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                          int nState, BOOL bAlpha)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof bm, &bm))
        return FALSE;
    const int cyBitmap = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if (szIcon.cx == 0 && nCount >= 1)
        szIcon = CSize(bm.bmWidth / nCount, cyBitmap);
    else if (nCount == 0 && szIcon.cx >= 1)
        nCount = bm.bmWidth / szIcon.cx;
    if (szIcon.cx <= 0 || szIcon.cy <= 0)
        return FALSE;

    if (!bAlpha)
    {
        HIMAGELIST hList = ImageList_Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
        if (!hList)
            return FALSE;
        COLORREF clrMask = m_clrMask != 0xFFFFFFFF ? m_clrMask : CQVTDrawHelpers::GetBitmapMaskColor(hBitmap);
        BOOL bResult = ImageList_AddMasked(hList, hBitmap, clrMask) >= 0 &&
                       SetIconsFromImageList(hList, pCommands, nCount, szIcon, nState);
        ImageList_Destroy(hList);
        return bResult;
    }

    if (bm.bmWidth % szIcon.cx != 0)
        return FALSE;
    const int nImages = bm.bmWidth / szIcon.cx;
    std::vector<HBITMAP> parts(nImages);
    if (!SplitBitmap(hBitmap, nImages, parts.data()))
        return FALSE;
    const BOOL bSkipSeparators = pCommands && nImages != nCount;
    int nImage = 0;
    for (int i = 0; i < nCount && nImage < nImages; ++i)
    {
        const UINT nCommand = pCommands ? pCommands[i] : static_cast<UINT>(i);
        if (bSkipSeparators && IsSeparator(nCommand))
            continue;
        CQVTImageManagerRasterImageHandle handle;
        handle.AttachBitmap(parts[nImage++], TRUE);
        SetIcon(handle, nCommand, szIcon, nState);
    }
    for (HBITMAP hPart : parts)
        ::DeleteObject(hPart);
    return TRUE;
}

BOOL CQVTImageManager::SetIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                int nState)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadBitmapFromResource(MAKEINTRESOURCEW(nIDResourceBitmap), &bAlpha);
    if (!hBitmap)
        return FALSE;
    BOOL bResult = SetIconsFromBitmap(hBitmap, pCommands, nCount, szIcon, nState, bAlpha);
    ::DeleteObject(hBitmap);
    return bResult;
}

BOOL CQVTImageManager::SetVectorIconFromResource(HMODULE hModule, LPCTSTR lpszResourceName,
                                                 LPCTSTR lpszResourceType, UINT nCommand, int nWidth,
                                                 int nState)
{
    DWORD nSize = 0;
    const BYTE* pData =
        LockResourceBytes(hModule, ::FindResourceW(hModule, lpszResourceName, lpszResourceType), nSize);
    if (!pData || nSize == 0)
        return FALSE;

    CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand);
    BOOL bNewSet = FALSE;
    if (!pIconSet)
    {
        if (nState != qvtImageNormal)
            return FALSE;
        pIconSet = FindOrCreateIconSet(nCommand);
        bNewSet = TRUE;
    }
    if (nWidth < 0)
        nWidth = 0;

    CQVTImageManagerIcon* pIcon = nullptr;
    BOOL bNewIcon = FALSE;
    if (!pIconSet->GetIcons()->Lookup(static_cast<UINT>(nWidth), pIcon))
    {
        // A new width takes the kind the set's icons agree on.
        int nKind = -1;
        POSITION pos = pIconSet->GetIcons()->GetStartPosition();
        while (pos)
        {
            UINT nOtherWidth = 0;
            CQVTImageManagerIcon* pOther = nullptr;
            pIconSet->GetIcons()->GetNextAssoc(pos, nOtherWidth, pOther);
            if (nKind == -1)
                nKind = pOther->GetKind();
            else if (nKind != pOther->GetKind())
                nKind = CQVTImageManagerIcon::kindNone;
        }
        pIcon = pIconSet->FindOrCreateIcon(nWidth, nKind == -1 ? CQVTImageManagerIcon::kindNone : nKind);
        bNewIcon = TRUE;
    }

    BOOL bResult = FALSE;
    if (!pIcon->IsRasterIcon())
    {
        CQVTImageManagerVectorImageHandle handle =
            CQVTImageManagerVectorImageHandle::FromBytes(pData, nSize, pIcon->GetMarkupContext());
        bResult = handle.HasImage() && pIcon->SetVectorImage(handle, nState);
    }
    if (!bResult && bNewIcon)
    {
        pIconSet->GetIcons()->RemoveKey(static_cast<UINT>(nWidth));
        pIcon->InternalRelease();
    }
    if (!bResult && bNewSet)
    {
        m_mapImages.RemoveKey(nCommand);
        pIconSet->InternalRelease();
    }
    return bResult;
}

BOOL CQVTImageManager::SetImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList)
{
    if (!hImageList)
        return FALSE;
    m_arrImageList.Add(new CQVTImageManagerImageList(this, hImageList, nBaseCommand, bDestroyImageList));
    return TRUE;
}

COLORREF CQVTImageManager::SetMaskColor(COLORREF clrMask)
{
    COLORREF clrOld = m_clrMask;
    m_clrMask = clrMask;
    return clrOld;
}

void CQVTImageManager::RefreshAll()
{
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos)
    {
        UINT nCommand = 0;
        CQVTImageManagerIconSet* pIconSet = nullptr;
        m_mapImages.GetNextAssoc(pos, nCommand, pIconSet);
        pIconSet->RefreshAll();
    }
    for (INT_PTR i = 0; i < m_arrImageList.GetSize(); ++i)
        m_arrImageList[i]->RemoveAll();
}

BOOL CQVTImageManager::IsMirrored(CDC* pDC) const
{
    switch (m_nMirrorMode)
    {
    case mirrorAlways:
        return TRUE;
    case mirrorRightToLeft:
        return pDC && CQVTDrawHelpers::IsDCRightToLeft(pDC);
    default:
        return FALSE;
    }
}

CQVTImageManagerResource* CQVTImageManager::GetResource(CSize szIcon)
{
    if (szIcon.cx <= 0 || szIcon.cy <= 0 || szIcon.cx > 0xFFFF || szIcon.cy > 0xFFFF)
        return nullptr;
    const DWORD dwKey = MAKELONG(szIcon.cx, szIcon.cy);
    CQVTImageManagerResource* pResource = nullptr;
    if (!m_mapResources.Lookup(dwKey, pResource))
    {
        pResource = new CQVTImageManagerResource(this, szIcon);
        m_mapResources.SetAt(dwKey, pResource);
    }
    return pResource;
}

// Bitmap loaders

BOOL AFX_CDECL CQVTImageManager::IsPngResource(HMODULE hModule, LPCTSTR lpszResource)
{
    DWORD nSize = 0;
    const BYTE* pData = LockResourceBytes(hModule, ::FindResourceW(hModule, lpszResource, u"PNG"), nSize);
    return StartsWithPng(pData, nSize);
}

BOOL AFX_CDECL CQVTImageManager::IsAlphaBitmapResource(HMODULE hModule, LPCTSTR lpszResource)
{
    DWORD nSize = 0;
    const BYTE* pData = LockResourceBytes(hModule, ::FindResourceW(hModule, lpszResource, RT_BITMAP), nSize);
    if (!pData || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;
    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof header);
    return header.biBitCount == 32;
}

BOOL AFX_CDECL CQVTImageManager::IsAlphaBitmapFile(LPCTSTR lpszFileName)
{
    BYTE start[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)] = {};
    if (!ReadFileStart(lpszFileName, start, sizeof start) || start[0] != 'B' || start[1] != 'M')
        return FALSE;
    BITMAPINFOHEADER header;
    memcpy(&header, start + sizeof(BITMAPFILEHEADER), sizeof header);
    return header.biBitCount == 32;
}

HBITMAP AFX_CDECL CQVTImageManager::LoadBitmapFromModule(HMODULE hModule, LPCTSTR lpszResource, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    HRSRC hPng = ::FindResourceW(hModule, lpszResource, u"PNG");
    DWORD nSize = 0;
    const BYTE* pData = LockResourceBytes(hModule, hPng, nSize);
    if (StartsWithPng(pData, nSize))
    {
        CQVTGraphicBitmapPng png;
        if (!png.LoadFromResource(hModule, hPng))
            return nullptr;
        if (pbAlpha)
            *pbAlpha = png.IsAlpha();
        return static_cast<HBITMAP>(png.Detach());
    }
    HRSRC hBitmap = ::FindResourceW(hModule, lpszResource, RT_BITMAP);
    pData = LockResourceBytes(hModule, hBitmap, nSize);
    if (pData && nSize >= sizeof(BITMAPINFOHEADER))
    {
        BITMAPINFOHEADER header;
        memcpy(&header, pData, sizeof header);
        if (header.biBitCount == 32)
        {
            HBITMAP hResult = LoadAlphaBitmapResource(pData, nSize);
            if (hResult && pbAlpha)
                *pbAlpha = TRUE;
            return hResult;
        }
    }
    return static_cast<HBITMAP>(::LoadImageW(hModule, lpszResource, IMAGE_BITMAP, 0, 0, 0));
}

HBITMAP AFX_CDECL CQVTImageManager::LoadBitmapFromResource(LPCTSTR lpszResource, BOOL* pbAlpha)
{
    HMODULE hPngModule = AfxFindResourceHandle(lpszResource, u"PNG");
    if (IsPngResource(hPngModule, lpszResource))
        return LoadBitmapFromModule(hPngModule, lpszResource, pbAlpha);
    return LoadBitmapFromModule(AfxFindResourceHandle(lpszResource, RT_BITMAP), lpszResource, pbAlpha);
}

HBITMAP AFX_CDECL CQVTImageManager::LoadBitmapFromFile(LPCTSTR lpszFileName, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    DWORD dwStart = 0;
    if (ReadFileStart(lpszFileName, &dwStart, sizeof dwStart) && dwStart == kPngSignatureWord)
    {
        CQVTGraphicBitmapPng png;
        if (!png.LoadFromFile(lpszFileName))
            return nullptr;
        if (pbAlpha)
            *pbAlpha = png.IsAlpha();
        return static_cast<HBITMAP>(png.Detach());
    }
    const BOOL bAlpha = IsAlphaBitmapFile(lpszFileName);
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageW(
        nullptr, lpszFileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | (bAlpha ? LR_CREATEDIBSECTION : 0)));
    if (hBitmap)
    {
        if (pbAlpha)
            *pbAlpha = bAlpha;
        return hBitmap;
    }
    return LoadPictureFile(lpszFileName);
}
