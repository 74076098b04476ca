// Blocks of freed markup objects kept per thread by size, for the next
// object of that size. A page's build makes and frees thousands of objects
// of a few sizes at once, which the C runtime's heap sorts through its bins
// each time; a kept block comes back in a pointer move.
#pragma once

#include <cstddef>
#include <new>

namespace QVTMarkupObjectHeap {
void* Allocate(size_t nSize);
void Free(void* p, size_t nSize) noexcept;
// Blocks kept by the calling thread (for tests).
size_t GetKeptCount();

// For the small arrays markup objects hold (value slots, children).
template <typename T>
struct CAllocator
{
    using value_type = T;
    CAllocator() noexcept = default;
    template <typename U>
    CAllocator(const CAllocator<U>&) noexcept
    {
    }
    T* allocate(size_t n)
    {
        if (n > size_t(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(Allocate(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept { Free(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const CAllocator<U>&) const noexcept
    {
        return true;
    }
    template <typename U>
    bool operator!=(const CAllocator<U>&) const noexcept
    {
        return false;
    }
};
}  // namespace QVTMarkupObjectHeap
