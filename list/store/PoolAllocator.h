#pragma once

#include "LargeMemory.h"

#include <memory>
#include <new>
#include <utility>

// The allocator of the pool's buffers. New elements are left uninitialised: a buffer is
// written right after it grows, and zeroing hundreds of megabytes first would cost as much as
// the writing. Large buffers come from LargeMemory.
template <typename T> struct PoolAllocator : std::allocator<T>
{
    template <typename U> struct rebind
    {
        using other = PoolAllocator<U>;
    };
    PoolAllocator() = default;
    template <typename U> PoolAllocator(const PoolAllocator<U> &) noexcept {}
    template <typename U> void construct(U *place) noexcept
    {
        ::new (static_cast<void *>(place)) U;
    }
    template <typename U, typename... Args> void construct(U *place, Args &&...args)
    {
        ::new (static_cast<void *>(place)) U(std::forward<Args>(args)...);
    }

    T *allocate(size_t count)
    {
        const size_t bytes = count * sizeof(T);
        if (bytes < kLarge)
            return std::allocator<T>::allocate(count);
        return static_cast<T *>(allocateLarge(bytes));
    }
    void deallocate(T *elements, size_t count)
    {
        const size_t bytes = count * sizeof(T);
        if (bytes < kLarge)
            std::allocator<T>::deallocate(elements, count);
        else
            deallocateLarge(elements, bytes);
    }

private:
    static constexpr size_t kLarge = size_t(32) << 20;
};
