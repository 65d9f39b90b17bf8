#include "Prefaulter.h"

#include "LargeMemory.h"

#include <algorithm>
#include <chrono>

#include <sys/mman.h>

namespace {
constexpr size_t kStep = size_t(2) << 20; // a huge page at a time
// Far enough ahead that the writer does not catch up, near enough that pages faulted in and
// never written (a file shorter than its room) cost little.
constexpr size_t kAhead = size_t(64) << 20;
} // namespace

Prefaulter::Prefaulter(char *begin, size_t bytes, size_t from)
    : m_begin(begin), m_bytes(bytes), m_faulted(from / kStep * kStep), m_written(from),
      m_thread([this] { run(); })
{
}

Prefaulter::~Prefaulter()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void Prefaulter::run() noexcept
{
    while (!m_stop.load(std::memory_order_relaxed) && m_faulted < m_bytes) {
        // Whole steps, so that every stretch faulted in starts a page.
        const size_t ahead = m_written.load(std::memory_order_relaxed) + kAhead;
        const size_t target = std::min(m_bytes, (ahead + kStep - 1) / kStep * kStep);
        if (m_faulted >= target) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        const size_t to = std::min(target, m_faulted + kStep);
        // Where the system cannot fault pages in without writing them, the writer does.
        if (::madvise(m_begin + m_faulted, to - m_faulted, MADV_POPULATE_WRITE) != 0)
            return;
        m_faulted = to;
    }
}

void Prefaulter::finish(size_t used)
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_faulted > used)
        releasePages(m_begin + used, m_begin + m_faulted);
    m_faulted = std::min(m_faulted, used);
}
