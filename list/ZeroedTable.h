#pragma once

#include <cstddef>
#include <new>

#include <sys/mman.h>

// A large table of zeroed elements straight from the kernel: no pass zeroes it up front (its
// pages arrive zeroed as they are first touched, spread over the work that touches them), and
// it is backed by huge pages where the system offers them, so that random access into a table
// far larger than the caches does not also miss the address translation cache at every turn.
template <typename T> class ZeroedTable
{
public:
    explicit ZeroedTable(size_t count) : m_count(count)
    {
        constexpr size_t kHugePage = size_t(2) << 20;
        const size_t bytes = count * sizeof(T);
        m_mappedSize = bytes + kHugePage;
        void *mapped = ::mmap(nullptr, m_mappedSize, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        m_mapped = static_cast<char *>(mapped);
        // Start on a huge-page boundary so that the whole table can be huge pages.
        const auto address = reinterpret_cast<size_t>(m_mapped);
        char *aligned = m_mapped + ((kHugePage - address % kHugePage) % kHugePage);
        ::madvise(aligned, bytes, MADV_HUGEPAGE);
        m_elements = reinterpret_cast<T *>(aligned);
    }
    ~ZeroedTable() { ::munmap(m_mapped, m_mappedSize); }
    ZeroedTable(const ZeroedTable &) = delete;
    ZeroedTable &operator=(const ZeroedTable &) = delete;

    T &operator[](size_t index) { return m_elements[index]; }
    const T &operator[](size_t index) const { return m_elements[index]; }
    size_t size() const { return m_count; }

private:
    size_t m_count;
    size_t m_mappedSize;
    char *m_mapped;
    T *m_elements;
};
