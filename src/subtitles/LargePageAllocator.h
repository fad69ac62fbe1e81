#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

// Storage for the large arrays of a loaded file: from 2 MB up, begun on a large-page boundary, so
// that all of an array can be backed by large pages (a fault per 2 MB instead of a thousand small
// pages at its start). Only what is touched is ever backed; the rounding up costs address space,
// not memory.
template <typename T>
struct LargePageAllocator
{
    using value_type = T;
    static constexpr std::size_t LargePage = 2 * 1024 * 1024;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t count)
    {
        // The rounding up below must not overflow.
        if (count > (static_cast<std::size_t>(-1) - LargePage) / sizeof(T))
            throw std::bad_alloc();
        const std::size_t bytes = count * sizeof(T);
        void* storage = bytes >= LargePage
            ? std::aligned_alloc(LargePage, (bytes + LargePage - 1) / LargePage * LargePage)
            : std::malloc(bytes);
        if (!storage)
            throw std::bad_alloc();
        return static_cast<T*>(storage);
    }
    void deallocate(T* storage, std::size_t) noexcept { std::free(storage); }

    template <typename U>
    bool operator==(const LargePageAllocator<U>&) const noexcept { return true; }
};
