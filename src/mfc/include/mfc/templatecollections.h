// CArray, CList and CMap with MFC's customisation points (HashKey,
// CompareElements, ConstructElements, DestructElements, CopyElements,
// SerializeElements), and the typed pointer wrappers CTypedPtrArray,
// CTypedPtrList and CTypedPtrMap.
//
// Elements are constructed, moved and destroyed as C++ objects (MFC moves
// them bitwise, which breaks types that point into themselves). Loading from
// an archive grows step by step, so a corrupt count ends in a
// CArchiveException at the end of the data rather than in a huge allocation.
#pragma once

#include <windows.h>
#include <new>
#include <type_traits>
#include <utility>

#include "mfc/afxdefs.h"
#include "mfc/object.h"
#include "mfc/cstring.h"
#include "mfc/exceptions.h"
#include "mfc/archive.h"

// --- Element helpers -------------------------------------------------------------
template <class TYPE>
AFX_INLINE void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; ++i)
        ::new (static_cast<void*>(pElements + i)) TYPE();
}

template <class TYPE>
AFX_INLINE void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; ++i)
        pElements[i].~TYPE();
}

template <class TYPE>
AFX_INLINE void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; ++i)
        pDest[i] = pSrc[i];
}

template <class TYPE, class ARG_TYPE>
AFX_INLINE BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// Pointers hash without their alignment bits; integers hash as themselves.
template <class ARG_KEY>
AFX_INLINE UINT AFXAPI HashKey(ARG_KEY key)
{
    using K = std::decay_t<ARG_KEY>;
    if constexpr (std::is_pointer<K>::value)
        return UINT(reinterpret_cast<DWORD_PTR>(key) >> 4);
    else if constexpr (sizeof(K) > sizeof(UINT))
        return UINT(static_cast<ULONGLONG>(key) ^ (static_cast<ULONGLONG>(key) >> 32));
    else
        return UINT(key);
}

UINT AFXAPI _AfxHashString(LPCWSTR key);
UINT AFXAPI _AfxHashString(LPCSTR key);
template <>
AFX_INLINE UINT AFXAPI HashKey<LPCWSTR>(LPCWSTR key)
{
    return _AfxHashString(key);
}
template <>
AFX_INLINE UINT AFXAPI HashKey<LPCSTR>(LPCSTR key)
{
    return _AfxHashString(key);
}
template <>
AFX_INLINE UINT AFXAPI HashKey<LPWSTR>(LPWSTR key)
{
    return _AfxHashString(key);
}
template <>
AFX_INLINE UINT AFXAPI HashKey<LPSTR>(LPSTR key)
{
    return _AfxHashString(key);
}
template <>
AFX_INLINE UINT AFXAPI HashKey<const CStringW&>(const CStringW& key)
{
    return _AfxHashString(key.GetString());
}
template <>
AFX_INLINE UINT AFXAPI HashKey<const CStringA&>(const CStringA& key)
{
    return _AfxHashString(key.GetString());
}
template <>
AFX_INLINE UINT AFXAPI HashKey<CStringW>(CStringW key)
{
    return _AfxHashString(key.GetString());
}
template <>
AFX_INLINE UINT AFXAPI HashKey<CStringA>(CStringA key)
{
    return _AfxHashString(key.GetString());
}

template <class T>
struct _AfxIsObjectPointer
    : std::integral_constant<bool,
                             std::is_pointer<T>::value &&
                                 std::is_base_of<CObject, std::remove_cv_t<std::remove_pointer_t<T>>>::value>
{
};

template <class T, class = void>
struct _AfxHasArchiveOperators : std::false_type
{
};
template <class T>
struct _AfxHasArchiveOperators<T, std::void_t<decltype(std::declval<CArchive&>() << std::declval<const T&>()),
                                              decltype(std::declval<CArchive&>() >> std::declval<T&>())>>
    : std::true_type
{
};

// Plain data travels as its bytes; strings and CObject pointers through the
// archive's own operators.
template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    if (nCount <= 0)
        return;
    if constexpr (std::is_same<TYPE, CStringW>::value || std::is_same<TYPE, CStringA>::value)
    {
        for (INT_PTR i = 0; i < nCount; ++i)
        {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    }
    else if constexpr (_AfxIsObjectPointer<TYPE>::value)
    {
        for (INT_PTR i = 0; i < nCount; ++i)
        {
            if (ar.IsStoring())
            {
                ar << static_cast<const CObject*>(pElements[i]);
            }
            else
            {
                CObject* pOb = nullptr;
                ar >> pOb;
                using Target = std::remove_cv_t<std::remove_pointer_t<TYPE>>;
                Target* pTarget = dynamic_cast<Target*>(pOb);
                if (pOb && !pTarget)  // an object of another class than stored here
                    AfxThrowArchiveException(CArchiveException::badClass);
                pElements[i] = pTarget;
            }
        }
    }
    else if constexpr (!std::is_trivially_copyable<TYPE>::value)
    {
        // Objects that know their own archive form; anything else cannot be
        // stored byte for byte.
        if constexpr (_AfxHasArchiveOperators<TYPE>::value)
        {
            for (INT_PTR i = 0; i < nCount; ++i)
            {
                if (ar.IsStoring())
                    ar << pElements[i];
                else
                    ar >> pElements[i];
            }
        }
        else
        {
            AfxThrowNotSupportedException();
        }
    }
    else
    {
        // In slices, so that the byte count always fits the archive's UINT.
        BYTE* p = reinterpret_cast<BYTE*>(pElements);
        ULONGLONG remaining = ULONGLONG(nCount) * sizeof(TYPE);
        while (remaining)
        {
            UINT chunk = UINT(std::min<ULONGLONG>(remaining, 0x40000000u));
            if (ar.IsStoring())
                ar.Write(p, chunk);
            else
                ar.EnsureRead(p, chunk);
            p += chunk;
            remaining -= chunk;
        }
    }
}

template <class TYPE>
void AFXAPI DumpElements(CDumpContext& dc, const TYPE* pElements, INT_PTR nCount)
{
    (void)dc;
    (void)pElements;
    (void)nCount;
}

// --- CArray ------------------------------------------------------------------------
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;
    ~CArray() override { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // nGrowBy: elements added per reallocation; -1 keeps it, 0 chooses.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize == 0)
        {
            RemoveAll();
            return;
        }
        if (nNewSize > m_nMaxSize)
        {
            INT_PTR grow = m_nGrowBy;
            if (grow == 0)
                grow = std::min<INT_PTR>(1024, std::max<INT_PTR>(4, m_nSize / 8));
            INT_PTR newMax =
                m_nMaxSize == 0 ? std::max(nNewSize, m_nGrowBy) : std::max(nNewSize, m_nMaxSize + grow);
            Reallocate(newMax);
        }
        if (nNewSize > m_nSize)
            ConstructElements<TYPE>(m_pData + m_nSize, nNewSize - m_nSize);
        else if (nNewSize < m_nSize)
            DestructElements<TYPE>(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
    }
    void FreeExtra()
    {
        if (m_nSize != m_nMaxSize)
            Reallocate(m_nSize);
    }
    void RemoveAll()
    {
        DestructElements<TYPE>(m_pData, m_nSize);
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    const TYPE& GetAt(INT_PTR nIndex) const
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    TYPE& GetAt(INT_PTR nIndex)
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        CheckIndex(nIndex);
        m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        TYPE value(newElement);  // newElement may live in this array
        if (nIndex >= m_nSize)
            SetSize(nIndex + 1);
        m_pData[nIndex] = std::move(value);
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src)
    {
        if (this == &src)
            AfxThrowInvalidArgException();
        INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + src.m_nSize);
        CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize);
        CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
    }

    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
        {
            if (nIndex < 0 || nCount < 0)
                AfxThrowInvalidArgException();
            return;
        }
        TYPE value(newElement);
        if (nIndex >= m_nSize)
        {
            SetSize(nIndex + nCount);
        }
        else
        {
            INT_PTR nOldSize = m_nSize;
            SetSize(m_nSize + nCount);
            // Shift the tail up; the opened gap keeps valid (moved-from) elements.
            for (INT_PTR i = nOldSize - 1; i >= nIndex; --i)
                m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = value;
    }
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0)
            AfxThrowInvalidArgException();
        if (pNewArray->GetSize() == 0)
            return;
        CArray copy;
        copy.Copy(*pNewArray);  // pNewArray may be this array
        INT_PTR n = copy.GetSize();
        InsertAt(nStartIndex, copy.GetAt(0), n);
        for (INT_PTR i = 1; i < n; ++i)
            m_pData[nStartIndex + i] = copy.m_pData[i];
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nCount > m_nSize - nIndex)
            AfxThrowInvalidArgException();
        if (nCount == 0)
            return;
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = std::move(m_pData[i + nCount]);
        DestructElements<TYPE>(m_pData + m_nSize - nCount, nCount);
        m_nSize -= nCount;
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_nSize));
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
        }
        else
        {
            DWORD_PTR nCount = ar.ReadCount();
            SetSize(0);
            // Grow with the data actually present, a slice at a time.
            const INT_PTR slice = 4096;
            for (DWORD_PTR done = 0; done < nCount;)
            {
                INT_PTR n = INT_PTR(std::min<DWORD_PTR>(slice, nCount - done));
                SetSize(m_nSize + n);
                SerializeElements<TYPE>(ar, m_pData + m_nSize - n, n);
                done += DWORD_PTR(n);
            }
        }
    }

private:
    void CheckIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
    }
    void Reallocate(INT_PTR newMax)
    {
        if (newMax > INT_PTR(PTRDIFF_MAX / sizeof(TYPE)))
            AfxThrowMemoryException();
        TYPE* pNew = newMax ? static_cast<TYPE*>(::operator new(size_t(newMax) * sizeof(TYPE), std::nothrow))
                            : nullptr;
        if (newMax && !pNew)
            AfxThrowMemoryException();
        for (INT_PTR i = 0; i < m_nSize; ++i)
        {
            ::new (static_cast<void*>(pNew + i)) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = pNew;
        m_nMaxSize = newMax;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};

// --- CList ---------------------------------------------------------------------------
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

    TYPE RemoveHead()
    {
        CNode* pNode = NonEmpty(m_pNodeHead);
        TYPE value(std::move(pNode->data));
        RemoveAt(ToPosition(pNode));
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = NonEmpty(m_pNodeTail);
        TYPE value(std::move(pNode->data));
        RemoveAt(ToPosition(pNode));
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertNode(nullptr, m_pNodeHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertNode(m_pNodeTail, nullptr, newElement); }
    void AddHead(CList* pNewList)
    {
        if (!pNewList)
            AfxThrowInvalidArgException();
        CList copy;
        copy.AddTail(pNewList);
        for (CNode* p = copy.m_pNodeTail; p; p = p->pPrev)
            AddHead(p->data);
    }
    void AddTail(CList* pNewList)
    {
        if (!pNewList)
            AfxThrowInvalidArgException();
        // Walk a fixed count so that appending a list to itself ends.
        CNode* p = pNewList->m_pNodeHead;
        for (INT_PTR n = pNewList->m_nCount; n > 0 && p; --n, p = p->pNext)
            AddTail(p->data);
    }
    void RemoveAll()
    {
        for (CNode* p = m_pNodeHead; p;)
        {
            CNode* pNext = p->pNext;
            delete p;
            p = pNext;
        }
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { FromPosition(pos)->data = newElement; }
    void RemoveAt(POSITION position)
    {
        CNode* pNode = FromPosition(position);
        (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        delete pNode;
        --m_nCount;
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddHead(newElement);
        CNode* pNode = FromPosition(position);
        return InsertNode(pNode->pPrev, pNode, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddTail(newElement);
        CNode* pNode = FromPosition(position);
        return InsertNode(pNode, pNode->pNext, newElement);
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* p = m_pNodeHead;
        while (nIndex--)
            p = p->pNext;
        return ToPosition(p);
    }
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* p = startAfter ? FromPosition(startAfter)->pNext : m_pNodeHead;
        for (; p; p = p->pNext)
            if (CompareElements<TYPE>(&p->data, &searchValue))
                return ToPosition(p);
        return nullptr;
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_nCount));
            for (CNode* p = m_pNodeHead; p; p = p->pNext)
                SerializeElements<TYPE>(ar, &p->data, 1);
        }
        else
        {
            DWORD_PTR nCount = ar.ReadCount();
            while (nCount--)
            {
                TYPE newData[1] = {};
                SerializeElements<TYPE>(ar, newData, 1);
                AddTail(newData[0]);
            }
        }
    }

private:
    static POSITION ToPosition(CNode* p) { return reinterpret_cast<POSITION>(p); }
    static CNode* FromPosition(POSITION pos)
    {
        if (!pos || pos == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(pos);
    }
    static CNode* NonEmpty(CNode* p)
    {
        if (!p)
            AfxThrowInvalidArgException();
        return p;
    }
    POSITION InsertNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
    {
        CNode* pNode = new CNode{pNext, pPrev, TYPE(newElement)};
        (pPrev ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return ToPosition(pNode);
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};

// --- CMap ----------------------------------------------------------------------------
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
public:
    class CPair
    {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

protected:
    class CAssoc : public CPair
    {
    public:
        CAssoc(ARG_KEY keyval, UINT hash) : CPair(keyval), nHashValue(hash) {}
        CAssoc* pNext = nullptr;
        UINT nHashValue;
    };

public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        const CAssoc* pAssoc = Find(key);
        if (!pAssoc)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }

    VALUE& operator[](ARG_KEY key)
    {
        UINT nHash = HashKey<ARG_KEY>(key);
        if (CAssoc* pAssoc = Find(key, nHash))
            return pAssoc->value;
        if (!m_pHashTable)
            InitHashTable(m_nHashTableSize);
        CAssoc* pAssoc = new CAssoc(key, nHash);
        UINT nBucket = nHash % m_nHashTableSize;
        pAssoc->pNext = m_pHashTable[nBucket];
        m_pHashTable[nBucket] = pAssoc;
        ++m_nCount;
        return pAssoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (!m_pHashTable)
            return FALSE;
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
        for (CAssoc* pAssoc = *ppPrev; pAssoc; ppPrev = &pAssoc->pNext, pAssoc = pAssoc->pNext)
        {
            if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key))
            {
                *ppPrev = pAssoc->pNext;
                delete pAssoc;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable)
        {
            for (UINT i = 0; i < m_nHashTableSize; ++i)
            {
                for (CAssoc* p = m_pHashTable[i]; p;)
                {
                    CAssoc* pNext = p->pNext;
                    delete p;
                    p = pNext;
                }
            }
            delete[] m_pHashTable;
        }
        m_pHashTable = nullptr;
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(FirstFrom(0)); }
    // Moves rNextPosition on before returning, so the key just returned may be
    // removed during the walk.
    // BEFORE_START_POSITION stands for the first entry, as in MFC.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* pAssoc =
            rNextPosition == BEFORE_START_POSITION ? FirstFrom(0) : reinterpret_cast<CAssoc*>(rNextPosition);
        if (!pAssoc)
            AfxThrowInvalidArgException();
        rKey = pAssoc->key;
        rValue = pAssoc->value;
        rNextPosition = reinterpret_cast<POSITION>(Next(pAssoc));
    }
    const CPair* PGetFirstAssoc() const { return FirstFrom(0); }
    CPair* PGetFirstAssoc() { return FirstFrom(0); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const
    {
        return pAssoc ? Next(static_cast<const CAssoc*>(pAssoc)) : nullptr;
    }
    CPair* PGetNextAssoc(const CPair* pAssoc)
    {
        return pAssoc ? Next(static_cast<const CAssoc*>(pAssoc)) : nullptr;
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Existing entries are carried over into the new table.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (hashSize == 0)
            AfxThrowInvalidArgException();
        if (!bAllocNow && m_nCount == 0)
        {
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
            m_nHashTableSize = hashSize;
            return;
        }
        CAssoc** pNew = new CAssoc*[hashSize]();
        if (m_pHashTable)
        {
            for (UINT i = 0; i < m_nHashTableSize; ++i)
            {
                for (CAssoc* p = m_pHashTable[i]; p;)
                {
                    CAssoc* pNext = p->pNext;
                    p->pNext = pNew[p->nHashValue % hashSize];
                    pNew[p->nHashValue % hashSize] = p;
                    p = pNext;
                }
            }
            delete[] m_pHashTable;
        }
        m_pHashTable = pNew;
        m_nHashTableSize = hashSize;
    }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_nCount));
            for (CAssoc* p = FirstFrom(0); p; p = Next(p))
            {
                KEY key(p->key);
                SerializeElements<KEY>(ar, &key, 1);
                SerializeElements<VALUE>(ar, &p->value, 1);
            }
        }
        else
        {
            DWORD_PTR nCount = ar.ReadCount();
            while (nCount--)
            {
                KEY newKey[1] = {};
                VALUE newValue[1] = {};
                SerializeElements<KEY>(ar, newKey, 1);
                SerializeElements<VALUE>(ar, newValue, 1);
                SetAt(newKey[0], newValue[0]);
            }
        }
    }

protected:
    CAssoc* Find(ARG_KEY key) const { return Find(key, HashKey<ARG_KEY>(key)); }
    CAssoc* Find(ARG_KEY key, UINT nHash) const
    {
        if (!m_pHashTable)
            return nullptr;
        for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p; p = p->pNext)
            if (p->nHashValue == nHash && CompareElements(&p->key, &key))
                return p;
        return nullptr;
    }
    CAssoc* FirstFrom(UINT nBucket) const
    {
        if (!m_pHashTable)
            return nullptr;
        for (UINT i = nBucket; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i])
                return m_pHashTable[i];
        return nullptr;
    }
    CAssoc* Next(const CAssoc* pAssoc) const
    {
        if (pAssoc->pNext)
            return pAssoc->pNext;
        return FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};

// --- Typed pointer wrappers ---------------------------------------------------------
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray<BASE_CLASS, TYPE>* pNewArray)
    {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
    TYPE operator[](INT_PTR nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
    TYPE* GetData() { return (TYPE*)BASE_CLASS::GetData(); }
    const TYPE* GetData() const { return (const TYPE*)BASE_CLASS::GetData(); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertAfter(position, newElement);
    }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS
{
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE value{};
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = (VALUE)value;
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY key{};
        typename BASE_CLASS::BASE_VALUE value{};
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;
        rValue = (VALUE)value;
    }
};
