#pragma once

#include "RecoveryRecord.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Writes a window's recovery record on a thread of its own, so the window never waits for
// the disk. Only the newest list waiting is written: one handed over while a write runs
// takes the place of any other still waiting, and is written when that write is through.
// An empty list removes the record instead: there is nothing to lose.
class RecordWriter
{
public:
    // Told on the writer's thread after each write: whether the record now holds the list
    // handed over last, or the reason it failed.
    using Done = std::function<void(bool written, const std::optional<QString> &failure)>;

    RecordWriter(QString path, Done done);
    // Stops a write under way (the record on disk stays as the last whole one) and waits.
    ~RecordWriter();
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void keep(KeptList list);
    // Room for the next list's marks: those of the last list written, so that ten million of
    // them are copied into memory already at hand rather than into pages the kernel must
    // first hand over, while the window waits.
    std::vector<quint8> takeSpareMarks();
    // The list is about to change: a write still reading its list gives it up (within a
    // block's time), and a list waiting is dropped, so that the change copies nothing for
    // them. True when one was; it is to be handed over again once the change is through.
    bool letGoOfList();
    // True when no list waits or is being written.
    bool idle();
    // Stops, and removes the record: the window closed normally.
    void removeRecord();

private:
    void run();
    void stopAndJoin();

    const QString m_path;
    Done m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<KeptList> m_waiting;
    std::vector<quint8> m_spareMarks;
    std::condition_variable m_released;
    bool m_quit = false;
    bool m_writing = false;          // a list taken, until the window is told
    bool m_holding = false;          // the write still reads its list
    std::atomic<bool> m_stop{false}; // the writer ends
    std::atomic<bool> m_cut{false};  // the write under way stops
    std::thread m_thread;
};
