#include "toolkit/foundation/gdi/QVTGdiObjectCache.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"

#include <mfc/utf16crt.h>

IMPLEMENT_DYNAMIC(CQVTCachedGdiObjectReferenceBase, CObject)
IMPLEMENT_DYNAMIC(CQVTGdiObjectCacheBase, CObject)
IMPLEMENT_DYNAMIC(CQVTFontCache, CQVTGdiObjectCacheBase)
IMPLEMENT_DYNAMIC(CQVTBrushCache, CQVTGdiObjectCacheBase)

QVT_IMPLEMENT_SINGLETON(CQVTFontCache, QVTFontCache, nullptr)
QVT_IMPLEMENT_SINGLETON(CQVTBrushCache, QVTBrushCache, nullptr)

namespace {
const UINT kHashTableSize = 17;
const INT_PTR kBlockSize = 10;

inline UINT HashTerm(UINT w, UINT i)
{
    return (w + i) * (i + 1) + (~w) * (i + 2);
}

UINT HashWords(const void* pData, UINT nWords)
{
    const BYTE* p = static_cast<const BYTE*>(pData);
    UINT h = 0;
    for (UINT i = 0; i < nWords; ++i)
    {
        UINT w;
        memcpy(&w, p + i * sizeof(UINT), sizeof(UINT));
        h += HashTerm(w, i);
    }
    return h;
}

// The face name's length, never beyond the field.
size_t FaceLength(const LOGFONTW& lf)
{
    size_t n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n] != 0)
        ++n;
    return n;
}

LOGFONTW LowerCasedKey(const LOGFONTW& lf)
{
    LOGFONTW key = lf;
    if (FaceLength(key) < LF_FACESIZE)
        _wcslwr_s(key.lfFaceName, LF_FACESIZE);
    else
        ::CharLowerBuffW(key.lfFaceName, LF_FACESIZE);
    return key;
}
}  // namespace

UINT AFXAPI QVTHashLogFont(const LOGFONTW& lf)
{
    static_assert(offsetof(LOGFONTW, lfFaceName) == 7 * sizeof(UINT), "seven words before the face");
    UINT h = HashWords(&lf, 7);
    const size_t nFace = FaceLength(lf);
    for (size_t k = 0; k < nFace; ++k)
        h += HashTerm(static_cast<UINT>(lf.lfFaceName[k]), static_cast<UINT>(k));
    return h;
}

UINT AFXAPI QVTHashLogBrush(const LOGBRUSH& lb)
{
    static_assert(sizeof(LOGBRUSH) == 4 * sizeof(UINT), "four words");
    return HashWords(&lb, 4);
}

BOOL AFXAPI QVTEqualLogFonts(const LOGFONTW& a, const LOGFONTW& b)
{
    if (a.lfHeight != b.lfHeight || a.lfWidth != b.lfWidth || a.lfEscapement != b.lfEscapement ||
        a.lfOrientation != b.lfOrientation || a.lfWeight != b.lfWeight || a.lfItalic != b.lfItalic ||
        a.lfUnderline != b.lfUnderline || a.lfStrikeOut != b.lfStrikeOut || a.lfCharSet != b.lfCharSet ||
        a.lfOutPrecision != b.lfOutPrecision || a.lfClipPrecision != b.lfClipPrecision ||
        a.lfQuality != b.lfQuality || a.lfPitchAndFamily != b.lfPitchAndFamily)
        return FALSE;
    for (int k = 0; k < LF_FACESIZE; ++k)
    {
        if (a.lfFaceName[k] != b.lfFaceName[k])
            return FALSE;
        if (a.lfFaceName[k] == 0)
            break;
    }
    return TRUE;
}

BOOL AFXAPI QVTEqualLogBrushes(const LOGBRUSH& a, const LOGBRUSH& b)
{
    return a.lbStyle == b.lbStyle && a.lbColor == b.lbColor && a.lbHatch == b.lbHatch;
}

// --- entries -----------------------------------------------------------------------

void CQVTCachedGdiObjectReferenceBase::Release()
{
    CQVTGdiObjectCacheBase* pCache = GetCache();
    if (pCache)
        pCache->GetLock().EnterWrite();

    if (InterlockedDecrement(&m_nRefCount) != 0)
    {
        if (pCache)
            pCache->GetLock().LeaveWrite();
        return;
    }

    if (pCache)
        pCache->Remove(GetKeyDescriptor());
    DeleteGdiObject();
    if (pCache)
        pCache->GetLock().LeaveWrite();

    this->~CQVTCachedGdiObjectReferenceBase();
    free(this);
}

// --- caches ------------------------------------------------------------------------

namespace {
// Lets every entry still held outlive the cache.
template <class MAP>
void DetachEntries(MAP& map, CQVTRWCriticalSection& lock)
{
    CQVTWriteLock writeLock(lock);
    for (auto* pPair = map.PGetFirstAssoc(); pPair; pPair = map.PGetNextAssoc(pPair))
        pPair->value->DetachCache();
    map.RemoveAll();
}
}  // namespace

CQVTFontCache::CQVTFontCache() : m_map(kBlockSize)
{
    m_map.InitHashTable(kHashTableSize, FALSE);
}

CQVTFontCache::~CQVTFontCache()
{
    DetachEntries(m_map, m_lock);
}

CQVTFontCache::CReference* CQVTFontCache::GetOrCreate(const LOGFONTW& lf)
{
    const QVTFontCacheKey key = {LowerCasedKey(lf)};

    CQVTWriteLock lock(m_lock);
    CReference* pReference = nullptr;
    if (m_map.Lookup(key, pReference))
    {
        pReference->AddRef();
        return pReference;
    }

    HFONT hFont = ::CreateFontIndirectW(&key.lf);
    if (!hFont)
        return nullptr;
    pReference = CReference::Create(this, hFont, key.lf);
    if (!pReference)
    {
        ::DeleteObject(hFont);
        return nullptr;
    }
    m_map.SetAt(key, pReference);
    return pReference;
}

void CQVTFontCache::Remove(QVTGDIOBJECTDESCRIPTOR* pDescriptor)
{
    if (!pDescriptor)
        return;
    const QVTFontCacheKey key = {static_cast<QVTLOGFONTDESCRIPTOR*>(pDescriptor)->key};
    CQVTWriteLock lock(m_lock);
    m_map.RemoveKey(key);
}

INT_PTR CQVTFontCache::GetCount()
{
    CQVTReadLock lock(m_lock);
    return m_map.GetCount();
}

CQVTBrushCache::CQVTBrushCache() : m_map(kBlockSize)
{
    m_map.InitHashTable(kHashTableSize, FALSE);
}

CQVTBrushCache::~CQVTBrushCache()
{
    DetachEntries(m_map, m_lock);
}

CQVTBrushCache::CReference* CQVTBrushCache::GetOrCreate(const LOGBRUSH& lb)
{
    const QVTBrushCacheKey key = {lb};

    CQVTWriteLock lock(m_lock);
    CReference* pReference = nullptr;
    if (m_map.Lookup(key, pReference))
    {
        pReference->AddRef();
        return pReference;
    }

    HBRUSH hBrush = ::CreateBrushIndirect(&key.lb);
    if (!hBrush)
        return nullptr;
    pReference = CReference::Create(this, hBrush, key.lb);
    if (!pReference)
    {
        ::DeleteObject(hBrush);
        return nullptr;
    }
    m_map.SetAt(key, pReference);
    return pReference;
}

void CQVTBrushCache::Remove(QVTGDIOBJECTDESCRIPTOR* pDescriptor)
{
    if (!pDescriptor)
        return;
    const QVTBrushCacheKey key = {static_cast<QVTLOGBRUSHDESCRIPTOR*>(pDescriptor)->key};
    CQVTWriteLock lock(m_lock);
    m_map.RemoveKey(key);
}

INT_PTR CQVTBrushCache::GetCount()
{
    CQVTReadLock lock(m_lock);
    return m_map.GetCount();
}
