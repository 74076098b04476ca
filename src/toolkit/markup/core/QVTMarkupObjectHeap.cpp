#include "toolkit/markup/core/QVTMarkupObjectHeap.h"

#include <new>

namespace {
const size_t kGranule = 32;
const size_t kClassCount = 32;  // blocks up to 1 KB are kept
const size_t kMaxKeptBytes = size_t(4) << 20;

struct CFreeBlock
{
    CFreeBlock* pNext;
};

// Each block is an allocation of its own, so whichever thread frees it last
// may keep it or give it back to the runtime.
class CThreadBlocks
{
public:
    ~CThreadBlocks()
    {
        for (CFreeBlock*& pHead : m_heads)
        {
            while (pHead != nullptr)
            {
                CFreeBlock* pBlock = pHead;
                pHead = pBlock->pNext;
                ::operator delete(pBlock);
            }
        }
        m_nKeptBytes = 0;
        s_bGone = true;
    }

    void* Take(size_t nClass)
    {
        CFreeBlock* pBlock = m_heads[nClass];
        if (pBlock == nullptr)
            return nullptr;
        m_heads[nClass] = pBlock->pNext;
        m_nKeptBytes -= (nClass + 1) * kGranule;
        --m_nKept;
        return pBlock;
    }
    bool Keep(void* p, size_t nClass)
    {
        const size_t nBytes = (nClass + 1) * kGranule;
        if (m_nKeptBytes + nBytes > kMaxKeptBytes)
            return false;
        CFreeBlock* pBlock = static_cast<CFreeBlock*>(p);
        pBlock->pNext = m_heads[nClass];
        m_heads[nClass] = pBlock;
        m_nKeptBytes += nBytes;
        ++m_nKept;
        return true;
    }
    size_t GetKept() const { return m_nKept; }

    // Set once the thread's blocks are gone: objects freed by the thread's
    // last destructors go straight back to the runtime.
    static thread_local bool s_bGone;

private:
    CFreeBlock* m_heads[kClassCount] = {};
    size_t m_nKeptBytes = 0;
    size_t m_nKept = 0;
};

thread_local bool CThreadBlocks::s_bGone = false;
thread_local CThreadBlocks t_blocks;

// The class of a size, or kClassCount when blocks of it are not kept.
size_t ClassOf(size_t nSize)
{
    if (nSize == 0 || nSize > kClassCount * kGranule)
        return kClassCount;
    return (nSize - 1) / kGranule;
}
}  // namespace

namespace QVTMarkupObjectHeap {
void* Allocate(size_t nSize)
{
    const size_t nClass = ClassOf(nSize);
    if (nClass == kClassCount)
        return ::operator new(nSize);
    if (!CThreadBlocks::s_bGone)
    {
        if (void* p = t_blocks.Take(nClass))
            return p;
    }
    return ::operator new((nClass + 1) * kGranule);
}

void Free(void* p, size_t nSize) noexcept
{
    if (p == nullptr)
        return;
    const size_t nClass = ClassOf(nSize);
    if (nClass == kClassCount || CThreadBlocks::s_bGone || !t_blocks.Keep(p, nClass))
        ::operator delete(p);
}

size_t GetKeptCount()
{
    return CThreadBlocks::s_bGone ? 0 : t_blocks.GetKept();
}
}  // namespace QVTMarkupObjectHeap
