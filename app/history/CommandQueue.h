#pragma once

#include <QString>

#include <deque>
#include <functional>

// Runs the window's commands one after another. A command asked for while another still runs
// (it yields now and then so the window stays live) waits until that one is through, then
// runs in its turn. So every command finds the list as whole commands left it, and each one
// is a whole step in the undo history.
class CommandQueue
{
public:
    // Told when `waiting` has to wait for `running`.
    using WaitNotice = std::function<void(const QString &waiting, const QString &running)>;
    // Told when a command that waited starts its turn: a notice that it waits is out of date.
    using TurnNotice = std::function<void()>;

    explicit CommandQueue(WaitNotice waitNotice = {}, TurnNotice turnNotice = {})
        : m_waitNotice(std::move(waitNotice)), m_turnNotice(std::move(turnNotice))
    {
    }
    CommandQueue(const CommandQueue &) = delete;
    CommandQueue &operator=(const CommandQueue &) = delete;

    // Runs `command` now when nothing runs, or once everything asked for before it is through.
    void run(const QString &name, std::function<void()> command);
    // A std::function that runs `command` through the queue: for binding to a signal.
    std::function<void()> bind(const QString &name, std::function<void()> command);

    // Told before each command runs, as the list may change from then on.
    void setStartNotice(std::function<void()> notice) { m_startNotice = std::move(notice); }

    bool busy() const { return m_busy; }
    const QString &running() const { return m_running; }
    qsizetype waitingCount() const { return qsizetype(m_waiting.size()); }
    // Forgets the commands still waiting and takes no new ones (the window is closing).
    void close();

private:
    struct Entry
    {
        QString name;
        std::function<void()> command;
    };

    WaitNotice m_waitNotice;
    TurnNotice m_turnNotice;
    std::function<void()> m_startNotice;
    std::deque<Entry> m_waiting;
    QString m_running;
    bool m_busy = false;
    bool m_closed = false;
};
