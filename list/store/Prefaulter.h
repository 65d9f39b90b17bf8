#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

// Faults in the pages of a buffer being written from the front, on a thread of its own and a
// little ahead of the writer. First touching fresh memory (the kernel zeroing each page) is
// most of what reading a large file into a list costs; this way it runs beside the decoding,
// on another core. Faulting a page in changes nothing in it, so the thread and the writer
// never meet over the buffer's contents.
class Prefaulter
{
public:
    // Pages of [begin + from, begin + bytes); `begin` starts a page. Throws std::system_error
    // when no thread can be had.
    Prefaulter(char *begin, size_t bytes, size_t from);
    ~Prefaulter();
    Prefaulter(const Prefaulter &) = delete;
    Prefaulter &operator=(const Prefaulter &) = delete;

    // The writer has come this far into the buffer.
    void written(size_t bytes) { m_written.store(bytes, std::memory_order_relaxed); }
    // Stops the thread, and gives back the pages it faulted in beyond the first `used` bytes.
    void finish(size_t used);

private:
    // Nothing in it throws: a page it cannot fault in is left to the writer.
    void run() noexcept;

    char *const m_begin;
    const size_t m_bytes;
    size_t m_faulted; // the thread's own until it is joined
    std::atomic<size_t> m_written;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
