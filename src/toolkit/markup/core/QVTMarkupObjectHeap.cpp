#include "toolkit/markup/core/QVTMarkupObjectHeap.h"

#include <cstdlib>
#include <new>

namespace {
const size_t kGranule = 32;
const size_t kClassCount = 32;  // blocks up to 1 KB are kept
const size_t kMaxKeptBytes = size_t(4) << 20;

// The free blocks of one size, newest last. Their addresses stand in an
// array of their own rather than in a list threaded through the blocks: a
// freed block has gone cold by the next build, and reading a link out of it
// stalled every allocation.
struct CFreeStack
{
    void** pItems;
    size_t nCount;
    size_t nCapacity;
};

// Each block is an allocation of its own, so whichever thread frees it last
// may keep it or give it back to the runtime. Plain data, so that reaching
// it costs one thread-storage lookup and it stays valid to the thread's end.
struct CThreadBlocks
{
    CFreeStack stacks[kClassCount];
    size_t nKeptBytes;
    size_t nKept;
    bool bCleanupSet;
    bool bGone;  // the blocks were given back: keep no more
};
thread_local CThreadBlocks t_blocks = {};

void GiveBackAll(CThreadBlocks& blocks)
{
    for (CFreeStack& stack : blocks.stacks)
    {
        for (size_t i = 0; i < stack.nCount; ++i)
            ::operator delete(stack.pItems[i]);
        std::free(stack.pItems);
        stack = CFreeStack{};
    }
    blocks.nKeptBytes = 0;
    blocks.nKept = 0;
}

// Gives the thread's blocks back when the thread ends; objects its last
// destructors free after that go straight to the runtime.
struct CThreadCleanup
{
    ~CThreadCleanup()
    {
        t_blocks.bGone = true;
        GiveBackAll(t_blocks);
    }
};
thread_local CThreadCleanup t_cleanup;

void* Take(CThreadBlocks& blocks, size_t nClass)
{
    CFreeStack& stack = blocks.stacks[nClass];
    if (stack.nCount == 0)
        return nullptr;
    void* pBlock = stack.pItems[--stack.nCount];
    // The array has gone cold since the blocks were freed: fetch the
    // addresses a few allocations ahead.
    if (stack.nCount >= 16)
        __builtin_prefetch(&stack.pItems[stack.nCount - 16]);
    blocks.nKeptBytes -= (nClass + 1) * kGranule;
    --blocks.nKept;
    return pBlock;
}

bool Keep(CThreadBlocks& blocks, void* p, size_t nClass)
{
    const size_t nBytes = (nClass + 1) * kGranule;
    if (blocks.bGone || blocks.nKeptBytes + nBytes > kMaxKeptBytes)
        return false;
    if (!blocks.bCleanupSet)
    {
        blocks.bCleanupSet = true;
        static_cast<void>(&t_cleanup);  // constructs it, so that it runs at the thread's end
    }
    CFreeStack& stack = blocks.stacks[nClass];
    if (stack.nCount == stack.nCapacity)
    {
        const size_t nCapacity = stack.nCapacity != 0 ? stack.nCapacity * 2 : 64;
        void** pItems = static_cast<void**>(std::realloc(stack.pItems, nCapacity * sizeof(void*)));
        if (pItems == nullptr)
            return false;
        stack.pItems = pItems;
        stack.nCapacity = nCapacity;
    }
    stack.pItems[stack.nCount++] = p;
    blocks.nKeptBytes += nBytes;
    ++blocks.nKept;
    return true;
}

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
    if (void* p = Take(t_blocks, nClass))
        return p;
    return ::operator new((nClass + 1) * kGranule);
}

void Free(void* p, size_t nSize) noexcept
{
    if (p == nullptr)
        return;
    const size_t nClass = ClassOf(nSize);
    if (nClass == kClassCount || !Keep(t_blocks, p, nClass))
        ::operator delete(p);
}

size_t GetKeptCount()
{
    return t_blocks.nKept;
}
}  // namespace QVTMarkupObjectHeap
