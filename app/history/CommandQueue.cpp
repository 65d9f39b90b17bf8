#include "CommandQueue.h"

#include "LargeMemory.h"

#include <QScopedValueRollback>

void CommandQueue::run(const QString &name, std::function<void()> command)
{
    if (m_closed)
        return;
    if (m_busy) {
        m_waiting.push_back({name, std::move(command)});
        if (m_waitNotice)
            m_waitNotice(name, m_running);
        return;
    }
    // The commands that wait run here, in the frame of the one that was running first.
    const QScopedValueRollback<bool> busy(m_busy, true);
    Entry next{name, std::move(command)};
    for (;;) {
        m_running = next.name;
        if (m_startNotice)
            m_startNotice();
        next.command();
        if (m_waiting.empty() || m_closed)
            break;
        next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (m_turnNotice)
            m_turnNotice();
    }
    m_running.clear();
    // Memory a command freed and may have meant to reuse goes back to the system.
    releaseSpareMemory();
}

std::function<void()> CommandQueue::bind(const QString &name, std::function<void()> command)
{
    return [this, name, command = std::move(command)] { run(name, command); };
}

void CommandQueue::close()
{
    m_closed = true;
    m_waiting.clear();
}
