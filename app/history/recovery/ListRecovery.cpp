#include "ListRecovery.h"

#include "ItemList.h"
#include "RecordWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <unistd.h>

namespace {

constexpr char kRecordSuffix[] = ".rec";
constexpr char kLockSuffix[] = ".lock";
// How often a step that has not finished yet is looked at again.
constexpr int kSettleCheckMs = 100;

// A lock that a living window holds however long it has lived; only a lock whose process
// is gone counts as stale.
std::unique_ptr<QLockFile> lockFor(const QString &recordPath)
{
    auto lock = std::make_unique<QLockFile>(recordPath + QLatin1String(kLockSuffix));
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QString ListRecovery::standardFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tarnwell");
}

ListRecovery::ListRecovery(ItemList &items, QString folder, Window window, QObject *parent)
    : QObject(parent), m_items(items), m_folder(std::move(folder)), m_window(std::move(window))
{
    // A name no other window has: its process, the time, and a random part for windows of one
    // process. A folder that cannot be made or locked is told of when the first record fails.
    const bool folderMade = QDir().mkpath(m_folder);
    for (int attempt = 0; attempt < 8; ++attempt) {
        m_recordPath = m_folder +
                       QStringLiteral("/list-%1-%2-%3")
                           .arg(::getpid())
                           .arg(QDateTime::currentMSecsSinceEpoch())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')) +
                       QLatin1String(kRecordSuffix);
        m_lock = lockFor(m_recordPath);
        if (!folderMade || m_lock->tryLock(0))
            break;
    }
    m_writer = std::make_unique<RecordWriter>(
        m_recordPath, [this](bool done, const std::optional<QString> &failure) {
            QMetaObject::invokeMethod(
                this, [this, done, failure] { written(done, failure); }, Qt::QueuedConnection);
        });
    m_settleTimer.setSingleShot(true);
    connect(&m_settleTimer, &QTimer::timeout, this, &ListRecovery::keepWhenSettled);
    connect(&m_items, &ItemList::rowsInserted, this, &ListRecovery::listMayHaveChanged);
    connect(&m_items, &ItemList::rowsRemoved, this, &ListRecovery::listMayHaveChanged);
    connect(&m_items, &ItemList::dataChanged, this, &ListRecovery::listMayHaveChanged);
    connect(&m_items, &ItemList::modelReset, this, &ListRecovery::listMayHaveChanged);
    connect(&m_items, &ItemList::layoutChanged, this, &ListRecovery::listMayHaveChanged);
}

ListRecovery::~ListRecovery()
{
    m_writer.reset(); // before the members it reports to
}

void ListRecovery::listMayHaveChanged()
{
    if (m_closed)
        return;
    m_dirty = true;
    if (!m_settleTimer.isActive())
        m_settleTimer.start(0);
}

void ListRecovery::keepWhenSettled()
{
    if (m_closed || !m_dirty)
        return;
    // Only whole steps are kept: a command part way through waits until it is done.
    if (m_window.busy() || m_items.changeUnderWay()) {
        m_settleTimer.start(kSettleCheckMs);
        return;
    }
    KeptList list;
    list.texts = m_items.texts();
    const std::vector<quint8> &checks = m_items.checks();
    list.checks = m_writer->takeSpareMarks();
    list.checks.assign(checks.begin(), checks.end());
    const auto [ignoreCase, matchCase] = m_window.caseButtons();
    list.ignoreCase = ignoreCase;
    list.matchCase = matchCase;
    list.keptAtMs = QDateTime::currentMSecsSinceEpoch();
    m_dirty = false;
    m_awaitingWriter = true;
    m_writer->keep(std::move(list));
}

void ListRecovery::commandStarts()
{
    if (m_closed || !m_writer->letGoOfList())
        return;
    m_dirty = true;
    if (!m_settleTimer.isActive())
        m_settleTimer.start(kSettleCheckMs);
}

void ListRecovery::written(bool written, const std::optional<QString> &failure)
{
    m_awaitingWriter = !m_writer->idle();
    if (failure) {
        if (!m_toldFailure) {
            m_toldFailure = true;
            m_window.tell(
                QCoreApplication::translate("Tarnwell", "The list cannot be kept for recovery: %1")
                    .arg(*failure));
        }
    } else if (written) {
        for (LeftRecord &adopted : m_adopted)
            QFile::remove(adopted.path);
        m_adopted.clear();
    }
}

bool ListRecovery::upToDate() const
{
    return !m_dirty && !m_awaitingWriter;
}

void ListRecovery::closeNormally()
{
    m_closed = true;
    m_settleTimer.stop();
    m_writer->removeRecord();
    for (LeftRecord &adopted : m_adopted)
        QFile::remove(adopted.path);
    m_adopted.clear();
    m_lock->unlock();
}

void ListRecovery::adopt(LeftRecord record)
{
    m_adopted.push_back(std::move(record));
}

std::vector<LeftRecord> ListRecovery::leftRecords() const
{
    std::vector<LeftRecord> left;
    const QFileInfoList files =
        QDir(m_folder).entryInfoList({QStringLiteral("*") + QLatin1String(kRecordSuffix)},
                                     QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(m_recordPath).absoluteFilePath())
            continue;
        std::unique_ptr<QLockFile> lock = lockFor(path);
        // Held: its window still runs, or another window offers it right now.
        if (!lock->tryLock(0))
            continue;
        QFile::remove(path + QStringLiteral(".tmp")); // a write the end cut short
        left.push_back({path, std::move(lock)});
    }
    // The locks of windows that ended before they kept anything.
    const QStringList locks = QDir(m_folder).entryList(
        {QStringLiteral("*") + QLatin1String(kRecordSuffix) + QLatin1String(kLockSuffix)},
        QDir::Files);
    for (const QString &name : locks) {
        const QString path = QDir(m_folder).filePath(name.chopped(qsizetype(strlen(kLockSuffix))));
        if (QFileInfo::exists(path) || path == m_recordPath)
            continue;
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (lock->tryLock(0))
            QFile::remove(path + QStringLiteral(".tmp"));
    }
    return left;
}
