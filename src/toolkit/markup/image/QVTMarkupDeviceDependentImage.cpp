#include "toolkit/markup/image/QVTMarkupDeviceDependentImage.h"

#include <map>
#include <memory>

#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/stream/QVTStreams.h"
#include "toolkit/markup/context/QVTMarkupContext.h"

IMPLEMENT_DYNAMIC(CQVTMarkupDeviceDependentImage, CObject)
IMPLEMENT_DYNAMIC(CQVTMarkupGdiImage, CQVTMarkupDeviceDependentImage)
IMPLEMENT_DYNAMIC(CQVTMarkupGdiPlusImage, CQVTMarkupDeviceDependentImage)

using namespace QVTGdiPlus;

namespace {
// The time dimension of animated pictures.
const GUID kFrameDimensionTime = {
    0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
// The property item holding each frame's delay in hundredths of a second.
const PROPID kPropertyFrameDelay = 0x5100;

bool IsAllDigits(LPCWSTR lpszText)
{
    if (lpszText == nullptr || *lpszText == 0)
        return false;
    for (; *lpszText != 0; ++lpszText)
    {
        if (*lpszText < u'0' || *lpszText > u'9')
            return false;
    }
    return true;
}

// A decimal command id; text that is not a number gives 0, and a number too
// large for an id saturates instead of wrapping.
UINT ReadCommandId(LPCWSTR lpszText)
{
    unsigned long long nValue = 0;
    if (lpszText == nullptr)
        return 0;
    while (*lpszText == u' ' || *lpszText == u'\t')
        ++lpszText;
    for (; *lpszText >= u'0' && *lpszText <= u'9'; ++lpszText)
    {
        nValue = nValue * 10 + (*lpszText - u'0');
        if (nValue > 0xFFFFFFFFull)
            return 0xFFFFFFFF;
    }
    return static_cast<UINT>(nValue);
}

// Frame timers fire on the thread that started them; each thread keeps the
// images whose timers it runs, so a tick finds its image or nothing.
class CFrameTimerRegistry
{
public:
    typedef std::map<UINT_PTR, CQVTMarkupGdiPlusImage*> CThreadMap;

    static CFrameTimerRegistry& Instance()
    {
        static CFrameTimerRegistry* s_pRegistry = new CFrameTimerRegistry();
        return *s_pRegistry;
    }

    // The calling thread's map, made on first use; null when the thread has
    // no slot for it.
    CThreadMap* GetThreadMap(BOOL bCreate)
    {
        if (m_nTlsIndex == TLS_OUT_OF_INDEXES)
            return nullptr;
        CThreadMap* pMap = static_cast<CThreadMap*>(::TlsGetValue(m_nTlsIndex));
        if (pMap != nullptr || !bCreate)
            return pMap;
        std::unique_ptr<CThreadMap> map(new CThreadMap());
        if (!::TlsSetValue(m_nTlsIndex, map.get()))
            return nullptr;
        ::EnterCriticalSection(&m_lock);
        m_maps.push_back(std::move(map));
        pMap = m_maps.back().get();
        ::LeaveCriticalSection(&m_lock);
        return pMap;
    }

private:
    CFrameTimerRegistry() : m_nTlsIndex(::TlsAlloc()) { ::InitializeCriticalSection(&m_lock); }

    CRITICAL_SECTION m_lock;  // guards the list of maps
    DWORD m_nTlsIndex;
    std::vector<std::unique_ptr<CThreadMap>> m_maps;
};
}  // namespace

// Base

CQVTMarkupDeviceDependentImage::CQVTMarkupDeviceDependentImage(IQVTMarkupDeviceDependentImageSite* pSite)
    : m_pSite(pSite), m_nWidth(0), m_nHeight(0), m_bImageManagerImage(FALSE), m_pImageManager(nullptr),
      m_pIcon(nullptr)
{
}

CQVTMarkupDeviceDependentImage::~CQVTMarkupDeviceDependentImage()
{
    ReleaseIcon();
}

void CQVTMarkupDeviceDependentImage::ReleaseIcon()
{
    if (m_pIcon != nullptr)
        m_pIcon->InternalRelease();
    m_pIcon = nullptr;
    if (m_pImageManager != nullptr)
        m_pImageManager->InternalRelease();
    m_pImageManager = nullptr;
}

CQVTImageManager* CQVTMarkupDeviceDependentImage::CreatePrivateImageManager()
{
    CQVTImageManager* pImageManager = new CQVTImageManager();
    CQVTMarkupContext* pContext = m_pSite != nullptr ? m_pSite->GetMarkupContext() : nullptr;
    if (pContext != nullptr)
        pImageManager->SetMaskColor(pContext->GetMaskColor());
    return pImageManager;
}

BOOL CQVTMarkupDeviceDependentImage::TakeIcon(CQVTImageManager* pImageManager, UINT nCommand, int nWidth)
{
    CQVTImageManagerIcon* pIcon =
        pImageManager != nullptr ? pImageManager->GetImage(nCommand, nWidth) : nullptr;
    if (pIcon == nullptr)
        return FALSE;
    pImageManager->InternalAddRef();
    pIcon->InternalAddRef();
    m_pImageManager = pImageManager;
    m_pIcon = pIcon;
    m_nWidth = static_cast<UINT>(std::max(pIcon->GetWidth(), 0));
    m_nHeight = static_cast<UINT>(std::max(pIcon->GetHeight(), 0));
    return TRUE;
}

BOOL CQVTMarkupDeviceDependentImage::LoadResourceIcon(LPCWSTR lpszName, int nWidth)
{
    if (lpszName == nullptr || *lpszName == 0)
        return FALSE;
    LPCWSTR lpszResource = lpszName;
    if (lpszName[0] == u'#')
    {
        // Resource ids are 16-bit: a larger number names nothing, not the id
        // it would wrap to.
        const UINT nId = ReadCommandId(lpszName + 1);
        if (nId == 0 || nId > 0xFFFF)
            return FALSE;
        lpszResource = MAKEINTRESOURCEW(nId);
    }
    CQVTImageManager* pImageManager = CreatePrivateImageManager();
    const UINT nCommand = 0;
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromModule(AfxGetResourceHandle(), lpszResource, &bAlpha);
    if (hBitmap == nullptr)
        hBitmap = CQVTImageManager::LoadBitmapFromResource(lpszResource, &bAlpha);
    if (hBitmap != nullptr)
    {
        pImageManager->SetIconsFromBitmap(hBitmap, &nCommand, 1, CSize(0, 0), qvtImageNormal, bAlpha);
        ::DeleteObject(hBitmap);
    }
    else
    {
        pImageManager->SetIconFromResource(lpszResource, nCommand);
    }
    const BOOL bFound = TakeIcon(pImageManager, nCommand, nWidth);
    pImageManager->InternalRelease();
    return bFound;
}

// GDI image

CQVTMarkupGdiImage::CQVTMarkupGdiImage(IQVTMarkupDeviceDependentImageSite* pSite)
    : CQVTMarkupDeviceDependentImage(pSite)
{
}

BOOL CQVTMarkupGdiImage::Load(LPCWSTR lpszSource, int nWidth)
{
    ReleaseIcon();
    m_nWidth = m_nHeight = 0;
    m_bImageManagerImage = FALSE;
    if (lpszSource == nullptr)
        return FALSE;
    if (_tcsncmp(lpszSource, u"file://", 7) == 0)
    {
        LPCWSTR lpszPath = lpszSource + 7;
        CQVTImageManager* pImageManager = CreatePrivateImageManager();
        const UINT nCommand = 0;
        const int nLength = static_cast<int>(_tcslen(lpszPath));
        const BOOL bIcoFile = nLength >= 3 && _tcsicmp(lpszPath + nLength - 3, u"ico") == 0;
        if (bIcoFile)
        {
            pImageManager->SetIconFromIcoFile(lpszPath, nCommand);
        }
        else
        {
            BOOL bAlpha = FALSE;
            if (HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromFile(lpszPath, &bAlpha))
            {
                pImageManager->SetIconsFromBitmap(hBitmap, &nCommand, 1, CSize(0, 0), qvtImageNormal, bAlpha);
                ::DeleteObject(hBitmap);
            }
        }
        const BOOL bFound = TakeIcon(pImageManager, nCommand, nWidth);
        pImageManager->InternalRelease();
        // An icon file that failed to load leaves no icon to speak of.
        m_bImageManagerImage = bIcoFile && bFound;
        return bFound;
    }
    if (_tcsncmp(lpszSource, u"res://", 6) == 0)
        return LoadResourceIcon(lpszSource + 6, nWidth);
    CQVTMarkupContext* pContext = m_pSite != nullptr ? m_pSite->GetMarkupContext() : nullptr;
    CQVTImageManager* pImageManager = pContext != nullptr ? pContext->GetImageManager() : QVTImageManager();
    m_bImageManagerImage = TakeIcon(pImageManager, ReadCommandId(lpszSource), nWidth);
    return m_bImageManagerImage;
}

// GDI+ image

CQVTMarkupGdiPlusImage::CQVTMarkupGdiPlusImage(IQVTMarkupDeviceDependentImageSite* pSite)
    : CQVTMarkupDeviceDependentImage(pSite), m_nFrameCount(0), m_nCurrentFrame(0), m_bHasDelays(FALSE),
      m_nTimerId(0)
{
}

CQVTMarkupGdiPlusImage::~CQVTMarkupGdiPlusImage()
{
    ReleaseAll();
}

void CQVTMarkupGdiPlusImage::ReleaseAll()
{
    StopTimer();
    m_delays.clear();
    m_bHasDelays = FALSE;
    m_image.Reset();
    m_nFrameCount = m_nCurrentFrame = 0;
    ReleaseIcon();
    m_nWidth = m_nHeight = 0;
    m_bImageManagerImage = FALSE;
}

void CQVTMarkupGdiPlusImage::StopTimer()
{
    if (m_nTimerId == 0)
        return;
    ::KillTimer(nullptr, m_nTimerId);
    if (CFrameTimerRegistry::CThreadMap* pMap = CFrameTimerRegistry::Instance().GetThreadMap(FALSE))
        pMap->erase(m_nTimerId);
    m_nTimerId = 0;
}

BOOL CQVTMarkupGdiPlusImage::Load(LPCWSTR lpszSource, int nWidth)
{
    ReleaseAll();
    if (lpszSource == nullptr || *lpszSource == 0)
        return FALSE;
    if (IsAllDigits(lpszSource))
    {
        // A command id never touches the file system.
        CQVTMarkupContext* pContext = m_pSite != nullptr ? m_pSite->GetMarkupContext() : nullptr;
        CQVTImageManager* pImageManager =
            pContext != nullptr ? pContext->GetImageManager() : QVTImageManager();
        m_bImageManagerImage = TakeIcon(pImageManager, ReadCommandId(lpszSource), nWidth);
        return m_bImageManagerImage;
    }
    QVTStreamLocation location;
    if (FAILED(ParseStreamUrl(lpszSource, &location)) || !EnsureStarted())
        return FALSE;
    IStream* pStream = nullptr;
    if (SUCCEEDED(CreateStreamFromLocation(&location, &pStream)) && pStream != nullptr)
    {
        CGpImage image;
        GdipLoadImageFromStream(pStream, image.Receive());
        pStream->Release();
        UINT cx = 0, cy = 0;
        if (image && GdipGetImageWidth(image, &cx) == Gdiplus::Ok &&
            GdipGetImageHeight(image, &cy) == Gdiplus::Ok && cx > 0 && cy > 0 && cx <= kMaxSide &&
            cy <= kMaxSide)
        {
            m_image = std::move(image);
            m_nWidth = cx;
            m_nHeight = cy;
            SetUpAnimation();
            return TRUE;
        }
    }
    if (location.nKind != QVTStreamLocation::kindResource || location.lpszName == nullptr)
        return FALSE;
    CString strName;
    if (IS_INTRESOURCE(location.lpszName))
        strName.Format(u"#%u", static_cast<UINT>(reinterpret_cast<UINT_PTR>(location.lpszName)));
    else
        strName = location.lpszName;
    m_bImageManagerImage = LoadResourceIcon(strName, nWidth);
    return m_bImageManagerImage;
}

void CQVTMarkupGdiPlusImage::SetUpAnimation()
{
    UINT nDimensions = 0;
    if (GdipImageGetFrameDimensionsCount(m_image, &nDimensions) != Gdiplus::Ok || nDimensions == 0)
        return;
    std::vector<GUID> dimensions(nDimensions);
    UINT nFrames = 0;
    if (GdipImageGetFrameDimensionsList(m_image, dimensions.data(), nDimensions) != Gdiplus::Ok ||
        GdipImageGetFrameCount(m_image, &dimensions[0], &nFrames) != Gdiplus::Ok)
        return;
    m_nFrameCount = nFrames;
    UINT nSize = 0;
    if (GdipGetPropertyItemSize(m_image, kPropertyFrameDelay, &nSize) != Gdiplus::Ok ||
        nSize < sizeof(Gdiplus::PropertyItem))
        return;
    std::vector<BYTE> buffer(nSize);
    Gdiplus::PropertyItem* pItem = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (GdipGetPropertyItem(m_image, kPropertyFrameDelay, nSize, pItem) != Gdiplus::Ok ||
        pItem->value == nullptr)
        return;
    // The item's length is checked against the block it came in.
    const BYTE* pEnd = buffer.data() + buffer.size();
    const BYTE* pValue = static_cast<const BYTE*>(pItem->value);
    if (pValue < buffer.data() || pValue > pEnd)
        return;
    const size_t nCount = std::min<size_t>(pItem->length, size_t(pEnd - pValue)) / sizeof(UINT);
    m_delays.assign(reinterpret_cast<const UINT*>(pValue), reinterpret_cast<const UINT*>(pValue) + nCount);
    m_bHasDelays = TRUE;
    m_nCurrentFrame = 0;
    ShowFrame();
}

void CQVTMarkupGdiPlusImage::ShowFrame()
{
    StopTimer();
    if (!m_image)
        return;
    GdipImageSelectActiveFrame(m_image, &kFrameDimensionTime, m_nCurrentFrame);
    if (m_pSite != nullptr)
        m_pSite->OnImageChanged();
    if (m_nFrameCount < 2)
        return;
    const UINT nDelay = m_nCurrentFrame < m_delays.size() ? m_delays[m_nCurrentFrame] : 0;
    m_nCurrentFrame = (m_nCurrentFrame + 1) % m_nFrameCount;
    // Delays are hundredths of a second; none at all means ten frames a second.
    const UINT nElapse =
        nDelay == 0 ? 100 : static_cast<UINT>(std::min<unsigned long long>(nDelay * 10ull, 0x7FFFFFFF));
    const UINT_PTR nId = ::SetTimer(nullptr, 0, nElapse, &CQVTMarkupGdiPlusImage::OnFrameTimer);
    if (nId == 0)
        return;
    m_nTimerId = nId;
    if (CFrameTimerRegistry::CThreadMap* pMap = CFrameTimerRegistry::Instance().GetThreadMap(TRUE))
        (*pMap)[nId] = this;
}

void CALLBACK CQVTMarkupGdiPlusImage::OnFrameTimer(HWND, UINT, UINT_PTR nId, DWORD)
{
    // A timer callback: nothing may unwind into the message loop.
    try
    {
        CFrameTimerRegistry::CThreadMap* pMap = CFrameTimerRegistry::Instance().GetThreadMap(FALSE);
        if (pMap == nullptr)
            return;
        auto it = pMap->find(nId);
        if (it == pMap->end())
            return;
        it->second->ShowFrame();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}
