#pragma once

#include "ListHost.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

// Tells a long loop when to yield: often enough for a responsive window, rarely enough that
// yielding costs next to nothing.
class YieldPacer
{
public:
    explicit YieldPacer(const ListHost &host) : m_intervalMs(host.yieldIntervalMs())
    {
        m_clock.start();
    }
    bool due()
    {
        if (m_clock.elapsed() < m_intervalMs)
            return false;
        m_clock.restart();
        return true;
    }

private:
    qint64 m_intervalMs;
    QElapsedTimer m_clock;
};

// Yields to the window at `step` of a long loop when a turn is due, looking at the clock only
// every `every` steps.
inline void yieldIfDue(ListHost &host, YieldPacer &pacer, size_t step, size_t every = 8192)
{
    if (step % every == 0 && pacer.due())
        host.yieldToEventLoop();
}

// Grows `entries` to `size`, the new ones `value`, a slice at a time with turns for the
// window: tens of megabytes of fresh memory filled at once would hold it up.
template <typename T>
void growFilled(std::vector<T> &entries, size_t size, const T &value, ListHost &host,
                YieldPacer &pacer)
{
    constexpr size_t kSlice = size_t(1) << 19;
    entries.reserve(size);
    while (entries.size() < size) {
        entries.resize(std::min(size, entries.size() + kSlice), value);
        if (pacer.due())
            host.yieldToEventLoop();
    }
}

// Waits until `ready()` for work done on another thread, the window taking its turns
// meanwhile; gives up, returning false, when `giveUp()` says so after a turn.
template <typename Ready, typename GiveUp = bool (*)()>
bool waitTakingTurns(
    ListHost &host, Ready ready, GiveUp giveUp = [] { return false; })
{
    YieldPacer pacer(host);
    while (!ready()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (pacer.due()) {
            host.yieldToEventLoop();
            if (giveUp())
                return false;
        }
    }
    return true;
}
