#include "RecordWriter.h"

#include <QFile>

RecordWriter::RecordWriter(QString path, Done done)
    : m_path(std::move(path)), m_done(std::move(done))
{
}

RecordWriter::~RecordWriter()
{
    stopAndJoin();
}

void RecordWriter::stopAndJoin()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_waiting.reset();
    }
    m_stop = true;
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void RecordWriter::keep(KeptList list)
{
    std::optional<KeptList> replaced; // let go of outside the lock
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_quit)
            return;
        replaced.swap(m_waiting);
        m_waiting = std::move(list);
        m_busy = true;
    }
    m_wake.notify_one();
    // Started with the first list, so a window whose list never changes starts no thread.
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

bool RecordWriter::idle()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return !m_busy;
}

void RecordWriter::removeRecord()
{
    stopAndJoin();
    QFile::remove(m_path + QStringLiteral(".tmp"));
    QFile::remove(m_path);
}

void RecordWriter::run()
{
    for (;;) {
        KeptList list;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_waiting.has_value(); });
            if (m_quit)
                return;
            list = std::move(*m_waiting);
            m_waiting.reset();
        }
        std::optional<QString> failure;
        if (list.texts.empty()) {
            QFile record(m_path);
            if (record.exists() && !record.remove())
                failure = record.errorString();
        } else {
            failure = RecoveryRecord::write(m_path, std::move(list), m_stop);
        }
        list = KeptList(); // the list's texts are let go of before the window hears
        if (m_stop)
            return;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_busy = m_waiting.has_value();
        }
        m_done(failure);
    }
}
