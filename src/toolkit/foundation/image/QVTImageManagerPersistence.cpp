// Saving and loading command images: the image manager's sets through any
// property-exchange back end, and each icon as an archive record of DIBs and
// markup bytes. A second file of CQVTImageManager and CQVTImageManagerIcon.
#include <afxwin.h>
#include <commctrl.h>

#include <vector>

#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImagePixels.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

using namespace QVTImagePixels;

namespace {
const char16_t kCheckSum[] = u"CQVTImageManagerIcons";
// Well above any icon's DIB: a larger count is damage, refused before it is
// allocated.
const DWORD_PTR kMaxDibHeaderBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 1024;
const DWORD_PTR kMaxBlockBytes = 64u * 1024u * 1024u;

// A count read from the archive that the archive can also deliver.
DWORD ReadBoundedCount(CArchive& ar, DWORD_PTR nLimit)
{
    DWORD_PTR nCount = ar.ReadCount();
    LONGLONG nRemaining = ar.GetRemainingLength();
    if (nCount > nLimit ||
        (nRemaining >= 0 && static_cast<ULONGLONG>(nCount) > static_cast<ULONGLONG>(nRemaining)))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    return static_cast<DWORD>(nCount);
}

// Colour-table entries a stored header has room for.
int ColorTableRoom(WORD nBitCount)
{
    return nBitCount == 4 ? 16 : nBitCount == 8 ? 256 : 3;
}

void WriteDib(CArchive& ar, HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    {
        ar.WriteCount(0);
        return;
    }
    const DWORD nHeaderBytes = sizeof(BITMAPINFOHEADER) + ColorTableRoom(bm.bmBitsPixel) * sizeof(RGBQUAD);
    std::vector<BYTE> header(nHeaderBytes, 0);
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(header.data());
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = bm.bmWidth;
    pHeader->biHeight = bm.bmHeight;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = bm.bmBitsPixel;
    pHeader->biCompression = BI_RGB;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, nullptr, reinterpret_cast<BITMAPINFO*>(pHeader),
                DIB_RGB_COLORS);
    DWORD nBits =
        pHeader->biSizeImage ? pHeader->biSizeImage : static_cast<DWORD>(bm.bmWidth) * bm.bmHeight * 4;
    std::vector<BYTE> bits(nBits, 0);
    int nLines = ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, bits.data(),
                             reinterpret_cast<BITMAPINFO*>(pHeader), DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    if (nLines != bm.bmHeight)
    {
        ar.WriteCount(0);
        return;
    }
    ar.WriteCount(nHeaderBytes);
    ar.Write(header.data(), nHeaderBytes);
    ar.WriteCount(nBits);
    ar.Write(bits.data(), nBits);
}

// A DIB section from a stored record, or null when there is none or the
// record does not describe one it holds; its bytes are consumed either way.
HBITMAP ReadDib(CArchive& ar, LPBYTE* ppBits)
{
    *ppBits = nullptr;
    DWORD nHeaderBytes = ReadBoundedCount(ar, kMaxDibHeaderBytes);
    if (nHeaderBytes == 0)
        return nullptr;
    std::vector<BYTE> header(nHeaderBytes);
    ar.EnsureRead(header.data(), nHeaderBytes);
    DWORD nBits = ReadBoundedCount(ar, kMaxBlockBytes);
    std::vector<BYTE> bits(nBits);
    if (nBits)
        ar.EnsureRead(bits.data(), nBits);

    if (nHeaderBytes < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(header.data());
    const WORD bpp = pHeader->biBitCount;
    const LONG cx = pHeader->biWidth;
    const LONG cy = pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight;
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > nHeaderBytes || cx <= 0 || cy <= 0 ||
        cx > 16384 || cy > 16384 || pHeader->biPlanes != 1 ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
        return nullptr;
    ULONGLONG nColors = pHeader->biClrUsed;
    if (nColors == 0 && bpp <= 8)
        nColors = 1ull << bpp;
    if (pHeader->biCompression == BI_BITFIELDS)
        nColors = 3;
    else if (pHeader->biCompression != BI_RGB)
        return nullptr;
    if (pHeader->biSize + nColors * sizeof(RGBQUAD) > nHeaderBytes)
        return nullptr;
    // The rows must all be in the pixel block.
    const ULONGLONG nNeeded = ((static_cast<ULONGLONG>(cx) * bpp + 31) / 32) * 4 * cy;
    if (nNeeded > nBits)
        return nullptr;
    if (pHeader->biSizeImage == 0)
        pHeader->biSizeImage = nBits;
    void* pTarget = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(pHeader), DIB_RGB_COLORS,
                                         &pTarget, nullptr, 0);
    if (!hBitmap)
        return nullptr;
    memcpy(pTarget, bits.data(), static_cast<size_t>(nNeeded));
    *ppBits = static_cast<LPBYTE>(pTarget);
    return hBitmap;
}
}  // namespace

void CQVTImageManager::Serialize(CArchive& ar)
{
    CQVTPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

void CQVTImageManager::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(u"IconSet"));
    if (pPX->IsStoring())
    {
        POSITION posEnum = pEnumerator->GetPosition(static_cast<DWORD>(m_mapImages.GetCount()));
        POSITION pos = m_mapImages.GetStartPosition();
        while (pos && posEnum)
        {
            UINT nCommand = 0;
            CQVTImageManagerIconSet* pIconSet = nullptr;
            m_mapImages.GetNextAssoc(pos, nCommand, pIconSet);
            CQVTPropExchangeSection section(pEnumerator->GetNext(posEnum));
            int nID = static_cast<int>(nCommand);
            PropExchangeIntNoDefault(&section, u"Id", nID);
            DoPropExchangeIconSet(nCommand, &section);
        }
        return;
    }

    POSITION posEnum = pEnumerator->GetPosition();
    while (posEnum)
    {
        CQVTPropExchangeSection section(pEnumerator->GetNext(posEnum));
        int nID = 0;
        PropExchangeIntNoDefault(&section, u"Id", nID);
        if (static_cast<UINT>(nID) > m_nHighestCommand)
            m_nHighestCommand = static_cast<UINT>(nID);
        DoPropExchangeIconSet(static_cast<UINT>(nID), &section);
    }
}

void CQVTImageManager::DoPropExchangeIconSet(UINT nCommand, CQVTPropExchange* pPX)
{
    CString strCheckSum = kCheckSum;
    PropExchangeString(pPX, u"CheckSum", strCheckSum, kCheckSum);
    if (pPX->IsLoading() && strCheckSum != kCheckSum)
        AfxThrowArchiveException(CArchiveException::badClass);

    CQVTPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(u"Icon"));
    CQVTImageManagerIconSet* pIconSet = GetIconSet(nCommand);
    if (pPX->IsStoring())
    {
        POSITION posEnum = pEnumerator->GetPosition(pIconSet ? static_cast<DWORD>(pIconSet->GetCount()) : 0);
        if (!pIconSet)
            return;
        POSITION pos = pIconSet->GetIcons()->GetStartPosition();
        while (pos && posEnum)
        {
            UINT nWidth = 0;
            CQVTImageManagerIcon* pIcon = nullptr;
            pIconSet->GetIcons()->GetNextAssoc(pos, nWidth, pIcon);
            CQVTPropExchangeSection section(pEnumerator->GetNext(posEnum));
            int nStoredWidth = static_cast<int>(nWidth);
            PropExchangeIntNoDefault(&section, u"Width", nStoredWidth);
            PropExchangeSerializeObject(&section, u"Data", pIcon);
        }
        return;
    }

    if (pIconSet)
        pIconSet->RemoveAll();
    else
        pIconSet = FindOrCreateIconSet(nCommand);
    POSITION posEnum = pEnumerator->GetPosition();
    while (posEnum)
    {
        CQVTPropExchangeSection section(pEnumerator->GetNext(posEnum));
        int nWidth = 16;
        PropExchangeIntNoDefault(&section, u"Width", nWidth);
        if (nWidth < 0)
            nWidth = 0;
        CQVTImageManagerIcon* pIcon = new CQVTImageManagerIcon(nCommand, nWidth, 15, pIconSet);
        pIcon->m_nKind = CQVTImageManagerIcon::kindRaster;
        try
        {
            PropExchangeSerializeObject(&section, u"Data", pIcon);
        }
        catch (...)
        {
            pIcon->InternalRelease();
            throw;
        }
        CQVTImageManagerIcon* pOld = nullptr;
        if (pIconSet->GetIcons()->Lookup(static_cast<UINT>(nWidth), pOld))
            pOld->InternalRelease();
        pIconSet->GetIcons()->SetAt(static_cast<UINT>(nWidth), pIcon);
    }
}

void CQVTImageManagerIcon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        const DWORD dwFirst = m_nKind == kindVector ? kVectorMarker : static_cast<DWORD>(m_nHeight);
        ar << static_cast<UINT>(dwFirst) << static_cast<UINT>(kSchema);
        if (m_nKind == kindVector)
        {
            for (int nSlot = vectorNormal; nSlot < vectorSlotCount; ++nSlot)
                SerializeVectorSlot(ar, nSlot);
        }
        else
        {
            for (int nSlot : {slotNormal, slotDisabled, slotHot, slotChecked, slotPressed})
                SerializeRasterSlot(ar, nSlot, kSchema);
        }
        return;
    }

    UINT dwFirst = 0, nSchema = 0;
    ar >> dwFirst >> nSchema;
    const int nKind = nSchema >= 43 && dwFirst == kVectorMarker ? kindVector : kindRaster;
    if (nKind != m_nKind)
    {
        for (int nSlot = slotReserved; nSlot < rasterSlotCount; ++nSlot)
            m_rasterImages[nSlot].Reset();
        for (CQVTImageManagerVectorImageHandle& slot : m_vectorImages)
            slot.Reset();
        if (nKind == kindRaster)
            m_nWidth = static_cast<int>(dwFirst);
    }
    m_nKind = nKind;
    if (nKind == kindVector)
    {
        m_nWidth = m_nHeight = 0;
        for (int nSlot = vectorNormal; nSlot < vectorSlotCount; ++nSlot)
            SerializeVectorSlot(ar, nSlot);
        return;
    }
    m_nHeight = static_cast<int>(dwFirst);
    for (CQVTImageManagerRasterImageHandle& slot : m_rasterImages)
        slot.Reset();
    SerializeRasterSlot(ar, slotNormal, nSchema);
    SerializeRasterSlot(ar, slotDisabled, nSchema);
    SerializeRasterSlot(ar, slotHot, nSchema);
    if (nSchema > 7)
        SerializeRasterSlot(ar, slotChecked, nSchema);
    if (nSchema > 16)
        SerializeRasterSlot(ar, slotPressed, nSchema);
    // The image decides the drawn size: a damaged height must not stretch it.
    if (!m_rasterImages[slotNormal].IsEmpty())
    {
        CSize extent = m_rasterImages[slotNormal].GetExtent();
        m_nWidth = extent.cx;
        m_nHeight = extent.cy;
    }
}

void CQVTImageManagerIcon::SerializeRasterSlot(CArchive& ar, int nSlot, UINT nSchema)
{
    if (ar.IsStoring())
    {
        CQVTImageManagerRasterImageHandle copy;
        copy.CopyFrom(m_rasterImages[nSlot]);
        copy.GetBits();
        if (copy.IsEmpty())
        {
            ar.WriteCount(0);
            ar.WriteCount(0);
        }
        else if (copy.IsAlpha())
        {
            WriteDib(ar, copy.GetBitmap());
            ar.WriteCount(0);
        }
        else
        {
            ICONINFO info = {};
            ::GetIconInfo(copy.GetIcon(), &info);
            WriteDib(ar, info.hbmColor);
            WriteDib(ar, info.hbmMask);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
        return;
    }

    LPBYTE pColourBits = nullptr, pMaskBits = nullptr;
    CQVTGdiObjectOwner colour(ReadDib(ar, &pColourBits));
    CQVTGdiObjectOwner mask(ReadDib(ar, &pMaskBits));
    if (!colour.Get())
        return;
    CQVTImageManagerRasterImageHandle handle;
    if (mask.Get())
    {
        BITMAP bm = {};
        ::GetObjectW(colour.Get(), sizeof bm, &bm);
        HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
        if (!hList)
            return;
        if (ImageList_Add(hList, static_cast<HBITMAP>(colour.Get()), static_cast<HBITMAP>(mask.Get())) == 0)
            handle.AttachIcon(ImageList_GetIcon(hList, 0, ILD_NORMAL));
        ImageList_Destroy(hList);
    }
    else
    {
        handle.AttachBitmap(static_cast<HBITMAP>(colour.Detach()));
        // Newer records hold premultiplied pixels; older ones are
        // premultiplied on first use.
        if (nSchema > 24)
            handle.m_pBits = pColourBits;
    }
    if (!handle.IsEmpty())
        m_rasterImages[nSlot].CopyFrom(handle);
}

void CQVTImageManagerIcon::SerializeVectorSlot(CArchive& ar, int nSlot)
{
    if (ar.IsStoring())
    {
        DWORD nSize = 0;
        const BYTE* pData = m_vectorImages[nSlot].GetData(nSize);
        if (!pData)
        {
            ar.WriteCount(0);
            return;
        }
        ar.WriteCount(nSize);
        ar.Write(pData, nSize);
        return;
    }

    DWORD nSize = ReadBoundedCount(ar, kMaxBlockBytes);
    m_vectorImages[nSlot].Reset();
    if (nSize == 0)
        return;
    std::vector<BYTE> bytes(nSize);
    ar.EnsureRead(bytes.data(), nSize);
    m_vectorImages[nSlot] =
        CQVTImageManagerVectorImageHandle::FromBytes(bytes.data(), nSize, GetMarkupContext());
}
