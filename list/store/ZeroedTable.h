#pragma once

#include "LargeMemory.h"

#include <algorithm>
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

    // Brings up to `bytes` more of the table's memory in, from the front; false once all of
    // it is in. A table the work touches all over at once (hash slots) would otherwise have
    // every page zeroed in its first moments: spread over slices, that holds nothing up. One
    // huge page a call by default: on a busy machine the system may take milliseconds to
    // gather and zero each, so a few at once could hold the window up for a tenth of a second.
    bool bringInPart(size_t bytes = kHugePageBytes)
    {
        const size_t total = m_count * sizeof(T);
        if (m_broughtIn >= total)
            return false;
        // A write per page brings it in (a read would only map the shared zero page); the
        // elements are still zero, so writing zero changes nothing.
        auto *raw = reinterpret_cast<volatile char *>(m_elements);
        const size_t end = std::min(total, m_broughtIn + bytes);
        for (size_t at = m_broughtIn; at < end; at += kPageBytes)
            raw[at] = 0;
        m_broughtIn = end;
        return true;
    }

    T &operator[](size_t index) { return m_elements[index]; }
    const T &operator[](size_t index) const { return m_elements[index]; }
    size_t size() const { return m_count; }

private:
    static constexpr size_t kPageBytes = 4096;
    static constexpr size_t kHugePageBytes = size_t(2) << 20;

    size_t m_count;
    T *m_elements;
    size_t m_broughtIn = 0; // bytes, from the front
};
