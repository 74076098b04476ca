#include "toolkit/foundation/image/QVTResourceImages.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/foundation/core/QVTNotifyConnection.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImagePixels.h"
#include "toolkit/foundation/resource/QVTResource.h"

using namespace QVTImagePixels;

namespace {
const char16_t kIniResourceType[] = u"TEXTFILE";
const char16_t kDefaultIni[] = u"OFFICE2007BLUE_INI";

void InitResourceImagesDependencies()
{
    QVTImageManager();
}

// The first INI resource a module enumerates.
BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR lpszName, LONG_PTR lParam)
{
    CString* pName = reinterpret_cast<CString*>(lParam);
    if (IS_INTRESOURCE(lpszName))
        pName->Format(u"#%u", static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszName)));
    else
        *pName = lpszName;
    return FALSE;
}

WCHAR UpperChar(WCHAR ch)
{
    return static_cast<WCHAR>(
        reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

// "%i ..." over the whole text: the count of numbers read, or 0 when
// anything is left over.
int ScanIntegers(const CString& strText, int* pValues, int nCount)
{
    CStringA strNarrow(strText);
    int nUsed = 0;
    int n = 0;
    switch (nCount)
    {
    case 1:
        n = sscanf(strNarrow, "%i%n", &pValues[0], &nUsed);
        break;
    case 2:
        n = sscanf(strNarrow, "%i %i%n", &pValues[0], &pValues[1], &nUsed);
        break;
    case 3:
        n = sscanf(strNarrow, "%i %i %i%n", &pValues[0], &pValues[1], &pValues[2], &nUsed);
        break;
    case 4:
        n = sscanf(strNarrow, "%i %i %i %i%n", &pValues[0], &pValues[1], &pValues[2], &pValues[3], &nUsed);
        break;
    }
    return n == nCount && nUsed == strNarrow.GetLength() ? n : 0;
}
}  // namespace

QVT_IMPLEMENT_SINGLETON(CQVTResourceImages, QVTResourceImages, &InitResourceImagesDependencies)

// One image

CQVTResourceImage::CQVTResourceImage(CQVTResourceImages* pImages) : m_pImages(pImages) {}

CQVTResourceImage::~CQVTResourceImage() {}

BOOL CQVTResourceImage::LoadFile(HMODULE hModule, LPCTSTR lpszResourceName)
{
    BOOL bAlpha = FALSE;
    CQVTGdiObjectOwner bitmap(CQVTImageManager::LoadBitmapFromModule(hModule, lpszResourceName, &bAlpha));
    BITMAP bm = {};
    if (!bitmap.Get() || !::GetObjectW(bitmap.Get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
        return FALSE;
    const int cx = bm.bmWidth;
    const int cy = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    if (bAlpha)
    {
        if (bm.bmBitsPixel != 32)
            return FALSE;
        HDC hDC = ::CreateCompatibleDC(nullptr);
        int nLines =
            ::GetDIBits(hDC, static_cast<HBITMAP>(bitmap.Get()), 0, cy, pixels.data(), &bmi, DIB_RGB_COLORS);
        ::DeleteDC(hDC);
        if (nLines != cy)
            return FALSE;
    }
    else
    {
        void* pBits = nullptr;
        CQVTGdiObjectOwner section(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        if (!section.Get())
            return FALSE;
        {
            CQVTSelectedBitmapDC dc(nullptr, static_cast<HBITMAP>(section.Get()));
            ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap.Get()), 0, 0, 0, cx, cy,
                         DST_BITMAP);
        }
        ::GdiFlush();
        memcpy(pixels.data(), pBits, pixels.size() * 4);
    }
    m_pixels.swap(pixels);
    m_nWidth = cx;
    m_nHeight = cy;
    m_bAlpha = bAlpha;
    m_bPremultiplied = FALSE;
    m_bFlipped = FALSE;
    return TRUE;
}

void CQVTResourceImage::Premultiply()
{
    if (!m_bAlpha || m_bPremultiplied)
        return;
    QVTImagePixels::Premultiply(m_pixels.data(), m_pixels.size());
    m_bPremultiplied = TRUE;
}

CRect CQVTResourceImage::GetSource(int nState, int nCount) const
{
    const int h = nCount > 0 ? m_nHeight / nCount : m_nHeight;
    return CRect(0, nState * h, m_nWidth, (nState + 1) * h);
}

void CQVTResourceImage::DrawFrame(CDC* pDC, const CRect& rcDest, int nFrame, int nFrames,
                                  const CRect& rcSizingMargins, COLORREF clrKey)
{
    const CRect rcSrc = GetSource(nFrame, nFrames);
    if (clrKey == CLR_NONE)
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins);
    else
        DrawImageColorKeyed(pDC, rcDest, rcSrc, rcSizingMargins, clrKey);
}

void CQVTResourceImage::DrawPart(CDC* pDC, HDC hdcSrc, const CRect& rcDest, const CRect& rcSrc)
{
    if (rcDest.IsRectEmpty() || rcSrc.IsRectEmpty())
        return;
    if (m_bAlpha)
        CQVTImageManager::AlphaBlend(pDC->GetSafeHdc(), rcDest, hdcSrc, rcSrc);
    else if (rcDest.Size() == rcSrc.Size())
        ::BitBlt(pDC->GetSafeHdc(), rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc,
                 rcSrc.left, rcSrc.top, SRCCOPY);
    else
        ::StretchBlt(pDC->GetSafeHdc(), rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), hdcSrc,
                     rcSrc.left, rcSrc.top, rcSrc.Width(), rcSrc.Height(), SRCCOPY);
}

void CQVTResourceImage::DrawImage(CDC* pDC, const CRect& rcDest, CRect rcSrc, CRect rcSizingMargins)
{
    if (!pDC || m_pixels.empty() || !m_pImages || rcDest.IsRectEmpty())
        return;
    // Only the image's own pixels are read, whatever rectangle is asked for.
    if (!rcSrc.IntersectRect(rcSrc, CRect(0, 0, m_nWidth, m_nHeight)))
        return;
    if (rcSizingMargins.top + rcSizingMargins.bottom > rcSrc.Height())
        return;

    CQVTCriticalSectionLock lock(m_pImages->m_lock);
    if (rcDest.Width() == rcSrc.Width())
        rcSizingMargins.left = rcSizingMargins.right = 0;
    if (rcDest.Height() == rcSrc.Height())
        rcSizingMargins.top = rcSizingMargins.bottom = 0;
    HDC hDC = pDC->GetSafeHdc();
    const int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);

    const BOOL bRtl = CQVTDrawHelpers::IsDCRightToLeft(pDC);
    if (m_bAlpha && m_bMirrorInRtl && m_bFlipped != bRtl)
    {
        MirrorRows(m_pixels.data(), m_nWidth, m_nHeight);
        m_bFlipped = !m_bFlipped;
    }

    int nStride = 0;
    DWORD* pWork = m_pImages->GetWorkBits(m_nWidth, m_nHeight, nStride);
    if (!pWork)
    {
        ::SetStretchBltMode(hDC, nOldMode);
        return;
    }
    ::GdiFlush();
    for (int y = rcSrc.top; y < rcSrc.bottom; ++y)
        memcpy(pWork + static_cast<size_t>(y) * nStride + rcSrc.left,
               m_pixels.data() + static_cast<size_t>(y) * m_nWidth + rcSrc.left,
               static_cast<size_t>(rcSrc.Width()) * 4);
    HDC hdcSrc = m_pImages->m_dc.GetSafeHdc();

    const CRect& m = rcSizingMargins;
    if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0)
    {
        DrawPart(pDC, hdcSrc, rcDest, rcSrc);
        ::SetStretchBltMode(hDC, nOldMode);
        return;
    }

    const int cxDest = rcDest.Width(), cyDest = rcDest.Height();
    int nTop = m.top, nBottom = m.bottom, nLeft = m.left, nRight = m.right;
    if (!(cyDest > m.top + m.bottom && rcSrc.Height() != m.top + m.bottom))
    {
        nTop = m.top + m.bottom ? ::MulDiv(cyDest, m.top, m.top + m.bottom) : 0;
        nBottom = cyDest - nTop;
        if (nBottom >= 1 && (nBottom & 1) != (m.bottom & 1))
            ++nBottom;
    }
    if (!(cxDest > m.left + m.right && rcSrc.Width() != m.left + m.right))
    {
        nLeft = m.left + m.right ? m.left * cxDest / (m.left + m.right) : 0;
        nRight = cxDest - nLeft;
    }

    // Source and destination columns and rows: outer edge, margin, margin, outer edge.
    const int xs[4] = {rcSrc.left, rcSrc.left + m.left, rcSrc.right - m.right, rcSrc.right};
    const int ys[4] = {rcSrc.top, rcSrc.top + m.top, rcSrc.bottom - m.bottom, rcSrc.bottom};
    const int xd[4] = {rcDest.left, rcDest.left + nLeft, rcDest.right - nRight, rcDest.right};
    const int yd[4] = {rcDest.top, rcDest.top + nTop, rcDest.bottom - nBottom, rcDest.bottom};
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            CRect rcPartSrc(xs[column], ys[row], xs[column + 1], ys[row + 1]);
            CRect rcPartDest(xd[column], yd[row], xd[column + 1], yd[row + 1]);
            if (bRtl && m_bAlpha)
                rcPartDest = CRect(rcDest.left + rcDest.right - rcPartDest.right, rcPartDest.top,
                                   rcDest.left + rcDest.right - rcPartDest.left, rcPartDest.bottom);
            DrawPart(pDC, hdcSrc, rcPartDest, rcPartSrc);
        }
    }
    ::SetStretchBltMode(hDC, nOldMode);
}

void CQVTResourceImage::DrawImageStretched(CDC* pDC, const CRect& rcDest, const CRect& rcSrc)
{
    DrawImage(pDC, rcDest, rcSrc, CRect(0, 0, 0, 0));
}

void CQVTResourceImage::DrawImageColorKeyed(CDC* pDC, const CRect& rcDest, const CRect& rcSrc,
                                            const CRect& rcSizingMargins, COLORREF clrKey)
{
    if (clrKey == 0xFFFFFFFF || m_bAlpha)
    {
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins);
        return;
    }
    if (!pDC || rcDest.IsRectEmpty())
        return;
    const CRect rcBuffer(0, 0, rcDest.Width(), rcDest.Height());
    CQVTGdiObjectOwner buffer(
        ::CreateCompatibleBitmap(pDC->GetSafeHdc(), rcBuffer.Width(), rcBuffer.Height()));
    if (!buffer.Get())
        return;
    CQVTBitmapDC dcBuffer;
    if (!dcBuffer.CreateCompatibleDC(pDC))
        return;
    dcBuffer.SetBitmap(static_cast<HBITMAP>(buffer.Get()));
    dcBuffer.FillSolidRect(rcBuffer, clrKey);
    DrawImage(&dcBuffer, rcBuffer, rcSrc, rcSizingMargins);
    CQVTImageManager::TransparentBlt(pDC->GetSafeHdc(), rcDest, dcBuffer.GetSafeHdc(), rcBuffer, clrKey);
    dcBuffer.SetBitmap(nullptr);
}

void CQVTResourceImage::DrawImageKeyedAlpha(CDC* pDC, const CRect& rcDest, const CRect& rcSrc,
                                            const CRect& rcSizingMargins, COLORREF clrKey, DWORD dwFlags)
{
    if (!(dwFlags & 1))
    {
        DrawImageColorKeyed(pDC, rcDest, rcSrc, rcSizingMargins, clrKey);
        return;
    }
    if (m_bAlpha)
    {
        DrawImage(pDC, rcDest, rcSrc, rcSizingMargins);
        return;
    }
    if (!pDC || rcDest.IsRectEmpty())
        return;
    const int cx = rcDest.Width(), cy = rcDest.Height();
    LPBYTE pBits = nullptr;
    CQVTGdiObjectOwner section(CQVTImageManager::Create32BitDIBSection(pDC->GetSafeHdc(), cx, -cy, &pBits));
    if (!section.Get())
        return;
    DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    const size_t nCount = static_cast<size_t>(cx) * cy;
    // The key as the DIB stores it (red in the third byte), so that any key
    // colour matches, not only those whose red and blue are equal.
    const DWORD dwKey = (GetRValue(clrKey) << 16) | (GetGValue(clrKey) << 8) | GetBValue(clrKey);
    {
        CQVTBitmapDC dc;
        if (!dc.CreateCompatibleDC(pDC))
            return;
        dc.SetBitmap(static_cast<HBITMAP>(section.Get()));
        ::GdiFlush();
        if (clrKey != 0xFFFFFFFF)
            std::fill(pPixels, pPixels + nCount, dwKey);
        DrawImage(&dc, CRect(0, 0, cx, cy), rcSrc, rcSizingMargins);
        ::GdiFlush();
        dc.SetBitmap(nullptr);
    }
    for (size_t i = 0; i < nCount; ++i)
        pPixels[i] =
            clrKey != 0xFFFFFFFF && (pPixels[i] & 0x00FFFFFF) == dwKey ? 0 : (pPixels[i] | 0xFF000000);
    CQVTImageManager::DrawAlphaBitmap(pDC, static_cast<HBITMAP>(section.Get()), rcDest.TopLeft(),
                                      CSize(cx, cy));
}

// The set

CQVTResourceImages::CQVTResourceImages() : m_mapImages(10)
{
    m_mapImages.InitHashTable(199, FALSE);
    m_dc.CreateCompatibleDC(nullptr);
    HMODULE hModule = AfxGetInstanceHandle();
    SetModule(hModule ? hModule : ::GetModuleHandleW(nullptr), nullptr, FALSE);
}

CQVTResourceImages::~CQVTResourceImages()
{
    m_dc.SetBitmap(nullptr);
    if (m_pConnection)
        m_pConnection->InternalRelease();
    RemoveAllImages();
    if (m_bFreeOnRelease && m_hModule)
        ::FreeLibrary(m_hModule);
    if (m_hWorkBitmap)
        ::DeleteObject(m_hWorkBitmap);
}

BOOL CQVTResourceImages::SetModule(HMODULE hModule, LPCTSTR lpszIniFileName, BOOL bFreeOnRelease)
{
    if (m_bFreeOnRelease && m_hModule && m_hModule != hModule)
    {
        RemoveAllImages();
        ::FreeLibrary(m_hModule);
    }
    m_hModule = hModule;
    m_bFreeOnRelease = bFreeOnRelease;
    return LoadIni(lpszIniFileName);
}

BOOL CQVTResourceImages::SetHandle(HMODULE hModule, LPCTSTR lpszIniFileName, LPCTSTR lpszIniFileName2,
                                   BOOL bFreeOnRelease)
{
    BOOL bResult = SetModule(hModule, lpszIniFileName, bFreeOnRelease);
    if (lpszIniFileName2)
    {
        CString strName(lpszIniFileName2);
        strName.Replace(u'.', u'_');
        ParseIniResource(strName);
    }
    return bResult;
}

BOOL CQVTResourceImages::LoadIni(LPCTSTR lpszIniFileName)
{
    RemoveAllImages();
    m_values.clear();
    BOOL bFound = FALSE;
    if (lpszIniFileName)
    {
        m_strIniFileName = lpszIniFileName;
        m_strIniFileName.Replace(u'.', u'_');
        bFound = ParseIniResource(m_strIniFileName);
    }
    else
    {
        m_strIniFileName.Empty();
        bFound = ParseIniResource(kDefaultIni);
        if (!bFound && m_hModule)
        {
            CString strFirst;
            ::EnumResourceNamesW(m_hModule, kIniResourceType, &TakeFirstName,
                                 reinterpret_cast<LONG_PTR>(&strFirst));
            if (!strFirst.IsEmpty())
                bFound = ParseIniResource(strFirst);
        }
    }
    if (m_pConnection)
        m_pConnection->FireEvent(QVT_NOTIFY_RESOURCE_IMAGES_CHANGED);
    m_bPremultiplyImages = GetIniInt(u"Global", u"PremultiplyImages", 0) != 0;
    return bFound;
}

BOOL CQVTResourceImages::ParseIniResource(LPCTSTR lpszResourceName)
{
    if (!m_hModule)
        return FALSE;
    DWORD nSize = 0;
    const BYTE* pText = CQVTResource::LockBounded(m_hModule, lpszResourceName, kIniResourceType, &nSize);
    if (!pText)
        return FALSE;
    ParseIniText(pText, nSize);
    return TRUE;
}

UINT AFX_CDECL CQVTResourceImages::HashKey(LPCTSTR lpszSection, LPCTSTR lpszKey)
{
    UINT h = 0;
    for (LPCTSTR p : {lpszSection, lpszKey})
        for (; p && *p; ++p)
            h = h * 33 + UpperChar(*p);
    return h;
}

void CQVTResourceImages::ParseIniText(const BYTE* pText, DWORD nSize)
{
    CString strSection;
    BOOL bInSection = FALSE;
    DWORD nPos = 0;
    while (nPos < nSize)
    {
        DWORD nEnd = nPos;
        while (nEnd < nSize && pText[nEnd] != '\r')
            ++nEnd;
        // A last line without its CR still counts.
        DWORD nNext = nEnd < nSize ? nEnd + 1 : nSize;
        if (nNext < nSize && pText[nNext] == '\n')
            ++nNext;
        CString strLine(CStringA(reinterpret_cast<const char*>(pText + nPos), static_cast<int>(nEnd - nPos)));
        nPos = nNext;

        strLine.TrimLeft(u" \t\n");
        int nComment = strLine.Find(u';');
        if (nComment >= 0)
            strLine = strLine.Left(nComment);
        if (strLine.IsEmpty())
            continue;
        if (strLine[0] == u'[')
        {
            strLine.TrimRight();
            strSection = strLine.GetLength() >= 2 ? strLine.Mid(1, strLine.GetLength() - 2) : CString();
            bInSection = TRUE;
            continue;
        }
        int nEquals = strLine.Find(u'=');
        if (!bInSection || nEquals < 1)
            continue;
        CString strKey = strLine.Left(nEquals);
        strKey.TrimRight();
        CString strValue = strLine.Mid(nEquals + 1);
        strValue.Trim();
        // Two pairs of one hash keep their own values.
        std::vector<IniValue>& values = m_values[HashKey(strSection, strKey)];
        auto it = std::find_if(values.begin(), values.end(), [&](const IniValue& v) {
            return v.strSection.CompareNoCase(strSection) == 0 && v.strKey.CompareNoCase(strKey) == 0;
        });
        if (it != values.end())
            it->strValue = strValue;
        else
            values.push_back(IniValue{strSection, strKey, strValue});
    }
}

const CString* CQVTResourceImages::FindValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const
{
    auto bucket = m_values.find(HashKey(lpszSection, lpszKey));
    if (bucket == m_values.end())
        return nullptr;
    for (const IniValue& value : bucket->second)
        if (value.strSection.CompareNoCase(lpszSection) == 0 && value.strKey.CompareNoCase(lpszKey) == 0)
            return &value.strValue;
    return nullptr;
}

CString CQVTResourceImages::GetIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault) const
{
    const CString* pValue = FindValue(lpszSection, lpszKey);
    return pValue && !pValue->IsEmpty() ? *pValue : CString(lpszDefault);
}

COLORREF CQVTResourceImages::GetIniColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault) const
{
    const CString* pValue = FindValue(lpszSection, lpszKey);
    if (!pValue || pValue->IsEmpty())
        return clrDefault;
    if (*pValue == u"-1")
        return 0xFFFFFFFF;
    int rgb[3] = {};
    if (!ScanIntegers(*pValue, rgb, 3))
        return 0;
    return RGB(rgb[0] & 255, rgb[1] & 255, rgb[2] & 255);
}

int CQVTResourceImages::GetIniInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault) const
{
    const CString* pValue = FindValue(lpszSection, lpszKey);
    if (!pValue || pValue->IsEmpty())
        return nDefault;
    int n = 0;
    return ScanIntegers(*pValue, &n, 1) ? n : 0;
}

CRect CQVTResourceImages::GetIniRect(LPCTSTR lpszSection, LPCTSTR lpszKey, const CRect& rcDefault) const
{
    const CString* pValue = FindValue(lpszSection, lpszKey);
    if (!pValue || pValue->IsEmpty())
        return rcDefault;
    int values[4] = {};
    if (!ScanIntegers(*pValue, values, 4))
        return CRect(0, 0, 0, 0);
    return CRect(values[0], values[1], values[2], values[3]);
}

CSize CQVTResourceImages::GetIniSize(LPCTSTR lpszSection, LPCTSTR lpszKey, const CSize& szDefault) const
{
    const CString* pValue = FindValue(lpszSection, lpszKey);
    if (!pValue || pValue->IsEmpty())
        return szDefault;
    int values[2] = {};
    if (!ScanIntegers(*pValue, values, 2))
        return CSize(0, 0);
    return CSize(values[0], values[1]);
}

CQVTResourceImage* CQVTResourceImages::LoadFile(LPCTSTR lpszImageFile)
{
    CQVTCriticalSectionLock lock(m_lock);
    CQVTResourceImage* pImage = nullptr;
    if (m_mapImages.Lookup(lpszImageFile, pImage))
        return pImage;
    CString strResource = GetIniString(u"Images", lpszImageFile, lpszImageFile);
    strResource.Replace(u'.', u'_');
    strResource.Replace(u'\\', u'_');
    pImage = new CQVTResourceImage(this);
    if (!pImage->LoadFile(m_hModule, strResource))
    {
        pImage->InternalRelease();
        pImage = nullptr;
    }
    else if (m_bPremultiplyImages)
    {
        pImage->Premultiply();
    }
    m_mapImages.SetAt(lpszImageFile, pImage);
    return pImage;
}

BOOL CQVTResourceImages::DrawImageFrame(CDC* pDC, LPCTSTR lpszImageFile, const CRect& rcDest, int nFrame,
                                        int nFrames, const CRect& rcSizingMargins, COLORREF clrKey)
{
    CQVTResourceImage* pImage = LoadFile(lpszImageFile);
    if (!pImage)
        return FALSE;
    pImage->DrawFrame(pDC, rcDest, nFrame, nFrames, rcSizingMargins, clrKey);
    return TRUE;
}

void CQVTResourceImages::RemoveAllImages()
{
    CQVTCriticalSectionLock lock(m_lock);
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos)
    {
        CString strName;
        CQVTResourceImage* pImage = nullptr;
        m_mapImages.GetNextAssoc(pos, strName, pImage);
        if (pImage)
            pImage->InternalRelease();
    }
    m_mapImages.RemoveAll();
}

void CQVTResourceImages::GetMissingImages(CStringArray& arrNames)
{
    CQVTCriticalSectionLock lock(m_lock);
    arrNames.RemoveAll();
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos)
    {
        CString strName;
        CQVTResourceImage* pImage = nullptr;
        m_mapImages.GetNextAssoc(pos, strName, pImage);
        if (!pImage)
            arrNames.Add(strName);
    }
}

CQVTNotifyConnection* CQVTResourceImages::GetConnection()
{
    if (!m_pConnection)
        m_pConnection = new CQVTNotifyConnection();
    return m_pConnection;
}

DWORD* CQVTResourceImages::GetWorkBits(int cx, int cy, int& nStride)
{
    const int nNeeded = std::max(cx, cy);
    if (!m_hWorkBitmap || m_nWorkSide < nNeeded)
    {
        int nSide = 1;
        while (nSide < nNeeded && nSide < 0x40000000)
            nSide <<= 1;
        LPBYTE pBits = nullptr;
        HBITMAP hBitmap = CQVTImageManager::Create32BitDIBSection(nullptr, nSide, -nSide, &pBits);
        if (!hBitmap)
            return nullptr;
        m_dc.SetBitmap(hBitmap);
        if (m_hWorkBitmap)
            ::DeleteObject(m_hWorkBitmap);
        m_hWorkBitmap = hBitmap;
        m_pWorkBits = reinterpret_cast<DWORD*>(pBits);
        m_nWorkSide = nSide;
    }
    nStride = m_nWorkSide;
    return m_pWorkBits;
}

// Global accessors

COLORREF AFXAPI GetResourceImagesIniColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->GetIniFileName().IsEmpty() ? clrDefault
                                               : pImages->GetIniColor(lpszSection, lpszKey, clrDefault);
}

int AFXAPI GetResourceImagesIniInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->GetIniFileName().IsEmpty() ? nDefault
                                               : pImages->GetIniInt(lpszSection, lpszKey, nDefault);
}

CRect AFXAPI GetResourceImagesIniRect(LPCTSTR lpszSection, LPCTSTR lpszKey, const CRect& rcDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->GetIniFileName().IsEmpty() ? rcDefault
                                               : pImages->GetIniRect(lpszSection, lpszKey, rcDefault);
}

CSize AFXAPI GetResourceImagesIniSize(LPCTSTR lpszSection, LPCTSTR lpszKey, const CSize& szDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->GetIniFileName().IsEmpty() ? szDefault
                                               : pImages->GetIniSize(lpszSection, lpszKey, szDefault);
}

CString AFXAPI GetResourceImagesIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->GetIniFileName().IsEmpty() ? CString(lpszDefault)
                                               : pImages->GetIniString(lpszSection, lpszKey, lpszDefault);
}
