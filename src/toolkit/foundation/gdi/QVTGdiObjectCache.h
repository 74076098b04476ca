// Process-wide caches that make every distinct logical font and brush exist
// once as a GDI object, shared by reference count. An entry outlives its
// cache: holders still using it release it without one, and the last holder
// deletes the GDI object.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/foundation/core/QVTApplication.h"

class CQVTCachedGdiObjectReferenceBase;
class CQVTGdiObjectCacheBase;

// What every cache entry describes itself with.
struct QVTGDIOBJECTDESCRIPTOR
{
    CQVTCachedGdiObjectReferenceBase* pReference;
    volatile LONG nMarkCount;
};

// The key is a LOGFONTW whose face name is lower-cased.
struct QVTLOGFONTDESCRIPTOR : QVTGDIOBJECTDESCRIPTOR
{
    LOGFONTW key;
};

struct QVTLOGBRUSHDESCRIPTOR : QVTGDIOBJECTDESCRIPTOR
{
    LOGBRUSH key;
};

// The caches' word-sum hash: the sum over i of (w + i)(i + 1) + (~w)(i + 2).
UINT AFXAPI QVTHashLogFont(const LOGFONTW& lf);
UINT AFXAPI QVTHashLogBrush(const LOGBRUSH& lb);
BOOL AFXAPI QVTEqualLogFonts(const LOGFONTW& a, const LOGFONTW& b);
BOOL AFXAPI QVTEqualLogBrushes(const LOGBRUSH& a, const LOGBRUSH& b);

// Map keys.
struct QVTFontCacheKey
{
    LOGFONTW lf;
    bool operator==(const QVTFontCacheKey& other) const { return QVTEqualLogFonts(lf, other.lf); }
};

struct QVTBrushCacheKey
{
    LOGBRUSH lb;
    bool operator==(const QVTBrushCacheKey& other) const { return QVTEqualLogBrushes(lb, other.lb); }
};

template <>
inline UINT AFXAPI HashKey<const QVTFontCacheKey&>(const QVTFontCacheKey& key)
{
    return QVTHashLogFont(key.lf);
}

template <>
inline UINT AFXAPI HashKey<const QVTBrushCacheKey&>(const QVTBrushCacheKey& key)
{
    return QVTHashLogBrush(key.lb);
}

// A shared GDI object: a malloc'd block freed when its count reaches zero.
class CQVTCachedGdiObjectReferenceBase : public CObject
{
    DECLARE_DYNAMIC(CQVTCachedGdiObjectReferenceBase)

public:
    virtual QVTGDIOBJECTDESCRIPTOR* GetDescriptor() = 0;
    // TRUE when there was no handle left to delete.
    virtual BOOL DeleteGdiObject() = 0;
    virtual QVTGDIOBJECTDESCRIPTOR* GetKeyDescriptor() = 0;

    void AddRef() { InterlockedIncrement(&m_nRefCount); }
    // Drops one reference; the last one removes the entry from its cache,
    // deletes the GDI object and frees the entry.
    void Release();

    CGdiObject* GetObject() const { return m_pObject; }
    HGDIOBJ GetHandle() const { return m_pObject ? m_pObject->m_hObject : nullptr; }
    LONG GetRefCount() const { return m_nRefCount; }
    CQVTGdiObjectCacheBase* GetCache() const { return m_pCache.load(std::memory_order_acquire); }
    void DetachCache() { m_pCache.store(nullptr, std::memory_order_release); }

protected:
    CQVTCachedGdiObjectReferenceBase(CQVTGdiObjectCacheBase* pCache, CGdiObject* pObject)
        : m_pCache(pCache), m_pObject(pObject), m_nRefCount(1)
    {
    }

    std::atomic<CQVTGdiObjectCacheBase*> m_pCache;
    CGdiObject* m_pObject;
    volatile LONG m_nRefCount;
};

template <class DESCRIPTOR, class OBJECT, class CACHE>
class CQVTCachedGdiObjectReference : public CQVTCachedGdiObjectReferenceBase
{
public:
    template <class KEY>
    static CQVTCachedGdiObjectReference* Create(CACHE* pCache, HGDIOBJ hObject, const KEY& key)
    {
        void* pMemory = malloc(sizeof(CQVTCachedGdiObjectReference));
        if (!pMemory)
            return nullptr;
        return new (pMemory) CQVTCachedGdiObjectReference(pCache, hObject, key);
    }

    QVTGDIOBJECTDESCRIPTOR* GetDescriptor() override { return &m_descriptor; }
    BOOL DeleteGdiObject() override
    {
        if (!m_object.m_hObject)
            return TRUE;
        return m_object.DeleteObject();
    }
    QVTGDIOBJECTDESCRIPTOR* GetKeyDescriptor() override { return &m_descriptor; }

    const DESCRIPTOR& GetTypedDescriptor() const { return m_descriptor; }

private:
    template <class KEY>
    CQVTCachedGdiObjectReference(CACHE* pCache, HGDIOBJ hObject, const KEY& key)
        : CQVTCachedGdiObjectReferenceBase(pCache, &m_object)
    {
        m_object.Attach(hObject);
        m_descriptor.pReference = this;
        m_descriptor.nMarkCount = 0;
        m_descriptor.key = key;
    }

    OBJECT m_object;
    DESCRIPTOR m_descriptor;
};

class CQVTGdiObjectCacheBase : public CObject, public CQVTSynchronized
{
    DECLARE_DYNAMIC(CQVTGdiObjectCacheBase)

public:
    // Removes the entry of the descriptor's key, under the write lock.
    virtual void Remove(QVTGDIOBJECTDESCRIPTOR* pDescriptor) = 0;
};

class CQVTFontCache : public CQVTGdiObjectCacheBase
{
    DECLARE_DYNAMIC(CQVTFontCache)

public:
    typedef CQVTCachedGdiObjectReference<QVTLOGFONTDESCRIPTOR, CFont, CQVTFontCache> CReference;

    CQVTFontCache();
    ~CQVTFontCache() override;

    // The shared font of the LOGFONT with one more reference, or null when
    // the font cannot be made.
    CReference* GetOrCreate(const LOGFONTW& lf);
    void Remove(QVTGDIOBJECTDESCRIPTOR* pDescriptor) override;

    INT_PTR GetCount();

private:
    CMap<QVTFontCacheKey, const QVTFontCacheKey&, CReference*, CReference*> m_map;
};

class CQVTBrushCache : public CQVTGdiObjectCacheBase
{
    DECLARE_DYNAMIC(CQVTBrushCache)

public:
    typedef CQVTCachedGdiObjectReference<QVTLOGBRUSHDESCRIPTOR, CBrush, CQVTBrushCache> CReference;

    CQVTBrushCache();
    ~CQVTBrushCache() override;

    CReference* GetOrCreate(const LOGBRUSH& lb);
    void Remove(QVTGDIOBJECTDESCRIPTOR* pDescriptor) override;

    INT_PTR GetCount();

private:
    CMap<QVTBrushCacheKey, const QVTBrushCacheKey&, CReference*, CReference*> m_map;
};

CQVTFontCache* AFXAPI QVTFontCache();
CQVTBrushCache* AFXAPI QVTBrushCache();
