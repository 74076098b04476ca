// Embedded archives under failing allocations: this program counts every
// allocation made through operator new and can make the n-th one fail, so
// that what an exception leaves behind shows.
#include <afx.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"

namespace {

std::atomic<long> g_nLive{0};
std::atomic<long> g_nFailIn{-1};  // allocations left before one fails; -1: none fails

void* Allocate(size_t nSize)
{
    if (g_nFailIn.load() >= 0 && g_nFailIn.fetch_sub(1) == 0)
        return nullptr;
    void* p = std::malloc(nSize ? nSize : 1);
    if (p)
        ++g_nLive;
    return p;
}

void Free(void* p)
{
    if (!p)
        return;
    --g_nLive;
    std::free(p);
}

}  // namespace

void* operator new(size_t nSize)
{
    void* p = Allocate(nSize);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void* operator new[](size_t nSize)
{
    return operator new(nSize);
}
void* operator new(size_t nSize, const std::nothrow_t&) noexcept
{
    return Allocate(nSize);
}
void* operator new[](size_t nSize, const std::nothrow_t&) noexcept
{
    return Allocate(nSize);
}
void operator delete(void* p) noexcept
{
    Free(p);
}
void operator delete[](void* p) noexcept
{
    Free(p);
}
void operator delete(void* p, size_t) noexcept
{
    Free(p);
}
void operator delete[](void* p, size_t) noexcept
{
    Free(p);
}

namespace {

// An exchange that keeps its one blob in memory.
class CMemoryExchange : public CQVTPropExchange
{
public:
    explicit CMemoryExchange(BOOL bLoading) { m_bLoading = bLoading; }

    BOOL ExchangeProp(LPCTSTR, VARTYPE, void*, const void*) override { return TRUE; }
    CQVTPropExchange* GetSection(LPCTSTR) override { return nullptr; }
    BOOL ExchangeBlob(LPCTSTR, BYTE*& pData, DWORD& nBytes) override
    {
        if (!IsLoading())
        {
            m_blob.assign(pData, pData + nBytes);
            return TRUE;
        }
        pData = static_cast<BYTE*>(std::malloc(m_blob.size()));
        std::memcpy(pData, m_blob.data(), m_blob.size());
        nBytes = static_cast<DWORD>(m_blob.size());
        return TRUE;
    }

    std::vector<BYTE> m_blob;
};

// Runs fn with the n-th allocation failing, for n = 0, 1, ... until fn gets
// through; after each failure everything allocated meanwhile is freed again.
template <class F>
void EveryAllocationFailingInTurn(F fn)
{
    for (long n = 0; n < 1000; ++n)
    {
        const long nBefore = g_nLive.load();
        bool bThrew = false;
        g_nFailIn = n;
        try
        {
            fn();
        }
        catch (std::bad_alloc&)
        {
            bThrew = true;
        }
        catch (CException* e)
        {
            e->Delete();
            bThrew = true;
        }
        g_nFailIn = -1;
        if (!bThrew)
            return;
        EXPECT_EQ(nBefore, g_nLive.load()) << "allocation " << n;
    }
    ADD_FAILURE() << "still failing after 1000 allocations";
}

// Writes a few values; as a stand-in for memory that runs out, it then makes
// the memory file unable to take the archive's final flush.
class CUnflushable : public CObject
{
public:
    void Serialize(CArchive& ar) override
    {
        ar << 1 << 2 << 3;
        static BYTE s_none[1];
        static_cast<CMemFile*>(ar.GetFile())->Attach(s_none, 0, 0);
    }
};

class CValues : public CObject
{
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << 1 << 2 << 3;
        else
            ar >> m_a >> m_b >> m_c;
    }
    int m_a = 0, m_b = 0, m_c = 0;
};

}  // namespace

TEST(EmbeddedArchives, NothingIsLeftBehindWhenMakingOrReleasingThemThrows)
{
    CMemoryExchange store(FALSE);
    CValues values;
    EveryAllocationFailingInTurn([&]() { PropExchangeSerializeObject(&store, u"Values", &values); });
    ASSERT_EQ(12u, store.m_blob.size());

    CMemoryExchange load(TRUE);
    load.m_blob = store.m_blob;
    CValues read;
    EveryAllocationFailingInTurn([&]() { PropExchangeSerializeObject(&load, u"Values", &read); });
    EXPECT_EQ(3, read.m_c);

    // A flush the memory file refuses.
    const long nBefore = g_nLive.load();
    CUnflushable unflushable;
    bool bRefused = false;
    try
    {
        PropExchangeSerializeObject(&store, u"Values", &unflushable);
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        bRefused = true;
    }
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(nBefore, g_nLive.load());
}
