#include "LargeMemory.h"

#include <mutex>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// Smaller buffers are not worth keeping.
constexpr size_t kSmallestSpare = size_t(32) << 20;

size_t roundUp(size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

char *mapFresh(size_t size)
{
    void *mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    // Keep only a stretch that starts on a huge-page boundary.
    auto *start = static_cast<char *>(mapped);
    const size_t head = (kHugePage - reinterpret_cast<size_t>(start) % kHugePage) % kHugePage;
    if (head > 0)
        ::munmap(start, head);
    if (kHugePage - head > 0)
        ::munmap(start + head + size, kHugePage - head);
    ::madvise(start + head, size, MADV_HUGEPAGE);
    return start + head;
}

// The one buffer kept for reuse: memory the process already holds, like malloc's free lists.
struct Spare
{
    char *memory = nullptr;
    size_t size = 0;
};

std::mutex &spareLock()
{
    static std::mutex lock;
    return lock;
}

Spare &spare()
{
    static Spare kept;
    return kept;
}

Spare takeSpare()
{
    const std::lock_guard<std::mutex> guard(spareLock());
    return std::exchange(spare(), Spare{});
}

} // namespace

void *allocateLarge(size_t bytes)
{
    const size_t size = roundUp(bytes);
    const Spare taken = takeSpare();
    if (taken.memory == nullptr)
        return mapFresh(size);
    if (taken.size >= size) {
        if (taken.size > size)
            ::munmap(taken.memory + size, taken.size - size);
        return taken.memory;
    }
    // A fresh stretch of the size asked for, the spare buffer's pages moved to its start.
    char *grown = nullptr;
    try {
        grown = mapFresh(size);
    } catch (...) {
        ::munmap(taken.memory, taken.size);
        throw;
    }
    if (::mremap(taken.memory, taken.size, taken.size, MREMAP_MAYMOVE | MREMAP_FIXED, grown) ==
        MAP_FAILED)
        ::munmap(taken.memory, taken.size);
    return grown;
}

void *allocateZeroed(size_t bytes)
{
    return mapFresh(roundUp(bytes));
}

void deallocateLarge(void *memory, size_t bytes)
{
    const size_t size = roundUp(bytes);
    if (size < kSmallestSpare) {
        ::munmap(memory, size);
        return;
    }
    Spare older;
    {
        const std::lock_guard<std::mutex> guard(spareLock());
        older = std::exchange(spare(), Spare{static_cast<char *>(memory), size});
    }
    if (older.memory != nullptr)
        ::munmap(older.memory, older.size);
}

void releasePages(void *from, void *to)
{
    constexpr size_t kPage = 4096;
    const size_t begin = (reinterpret_cast<size_t>(from) + kPage - 1) / kPage * kPage;
    const size_t end = reinterpret_cast<size_t>(to) / kPage * kPage;
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED);
}

void releaseSpareMemory()
{
    const Spare taken = takeSpare();
    if (taken.memory != nullptr)
        ::munmap(taken.memory, taken.size);
}
