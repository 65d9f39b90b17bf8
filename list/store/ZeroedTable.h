#pragma once

#include "LargeMemory.h"

#include <cstddef>

// A large table of zeroed elements straight from the kernel: no pass zeroes it up front (its
// pages arrive zeroed as they are first touched, spread over the work that touches them), and
// it is backed by huge pages where the system offers them, so that random access into a table
// far larger than the caches does not also miss the address translation cache at every turn.
template <typename T> class ZeroedTable
{
public:
    explicit ZeroedTable(size_t count)
        : m_count(count), m_elements(static_cast<T *>(allocateZeroed(count * sizeof(T))))
    {
    }
    ~ZeroedTable() { deallocateLarge(m_elements, m_count * sizeof(T)); }
    ZeroedTable(const ZeroedTable &) = delete;
    ZeroedTable &operator=(const ZeroedTable &) = delete;

    T &operator[](size_t index) { return m_elements[index]; }
    const T &operator[](size_t index) const { return m_elements[index]; }
    size_t size() const { return m_count; }

private:
    size_t m_count;
    T *m_elements;
};
