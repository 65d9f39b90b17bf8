#include "RecordWriter.h"

#include <QFile>

#include <exception>
#include <utility>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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
    m_cut = true;
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
    }
    m_wake.notify_one();
    // Started with the first list, so a window whose list never changes starts no thread.
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

std::vector<quint8> RecordWriter::takeSpareMarks()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_spareMarks, {});
}

bool RecordWriter::idle()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return !m_waiting && !m_writing;
}

bool RecordWriter::letGoOfList()
{
    std::optional<KeptList> dropped; // let go of outside the lock
    std::unique_lock<std::mutex> lock(m_mutex);
    dropped.swap(m_waiting);
    const bool cut = m_holding;
    if (cut) {
        m_cut = true;
        m_released.wait(lock, [this] { return !m_holding; });
    }
    return cut || dropped.has_value();
}

void RecordWriter::removeRecord()
{
    stopAndJoin();
    QFile::remove(m_path + QStringLiteral(".tmp"));
    QFile::remove(m_path);
}

void RecordWriter::run()
{
    // The window's thread comes first on a busy machine: the record is no reason to wait.
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
    for (;;) {
        KeptList list;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_waiting.has_value(); });
            if (m_quit)
                return;
            list = std::move(*m_waiting);
            m_waiting.reset();
            m_writing = true;
            m_holding = true;
            m_cut = false;
        }
        const auto released = [this] {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_holding = false;
            m_released.notify_all();
        };
        std::optional<QString> failure;
        if (list.texts.empty()) {
            list = KeptList();
            released();
            QFile record(m_path);
            if (record.exists() && !record.remove())
                failure = record.errorString();
        } else {
            // Nothing thrown here may end the program: the window hears of it as a failure.
            try {
                failure = RecoveryRecord::write(m_path, std::move(list), m_cut, released);
            } catch (const std::exception &error) {
                failure = QString::fromLocal8Bit(error.what());
            } catch (...) {
                failure = QStringLiteral("?");
            }
            list.texts = TextPool(); // for a write that threw before it let go of them
            released();              // again, harmless
        }
        if (m_stop)
            return;
        const bool written = !m_cut && !failure;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_writing = false;
            m_spareMarks = std::move(list.checks);
        }
        m_done(written, failure);
    }
}
