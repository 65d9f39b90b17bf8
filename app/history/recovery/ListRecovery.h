#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class ItemList;
class RecordWriter;

// A record left by a window that ended without closing normally, held (its lock taken) while
// this window offers it, so that no other window offers it too.
struct LeftRecord
{
    QString path;
    std::unique_ptr<QLockFile> lock;
};

// Keeps a window's list for recovery: after each finished step (whenever the list has changed
// and no command runs or change is part way through) the list as it stands, with its marks and
// the case buttons, is handed to a writer on another thread as a copy-on-write view that
// costs nothing until the list changes again. One record per window, in `folder`, held by a
// lock while the window lives; a normal close removes it, any other end leaves it for the
// next start.
class ListRecovery : public QObject
{
    Q_OBJECT

public:
    struct Window
    {
        std::function<bool()> busy;                         // a command runs
        std::function<std::pair<bool, bool>()> caseButtons; // Ignore case, Match case
        std::function<void(const QString &)> tell;          // the status line
    };

    // $XDG_STATE_HOME/tarnwell, or ~/.local/state/tarnwell.
    static QString standardFolder();

    ListRecovery(ItemList &items, QString folder, Window window, QObject *parent = nullptr);
    // Not a normal close: the record stays for the next start.
    ~ListRecovery() override;

    const QString &folder() const { return m_folder; }
    const QString &recordPath() const { return m_recordPath; }
    // Something the record holds may have changed (the case buttons).
    void listMayHaveChanged();
    // A command starts: the record's writer lets go of the list, which the command would
    // otherwise copy as it changes it (at ten million items, seconds of a held-up window);
    // the list is kept again once the command is through.
    void commandStarts();
    // The window closed normally: the record goes, and nothing more is kept.
    void closeNormally();
    // The records other windows left when they ended without closing, oldest first.
    std::vector<LeftRecord> leftRecords() const;
    // A left record restored into this list: it goes once this window's own record holds the
    // list, and not before, so an end meanwhile loses nothing.
    void adopt(LeftRecord record);
    // True when every finished step is on disk.
    bool upToDate() const;

private:
    void keepWhenSettled();
    void written(bool written, const std::optional<QString> &failure);

    ItemList &m_items;
    const QString m_folder;
    Window m_window;
    QString m_recordPath;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<RecordWriter> m_writer;
    QTimer m_settleTimer;
    std::vector<LeftRecord> m_adopted;
    bool m_dirty = false;
    bool m_awaitingWriter = false; // a list was handed over, and the writer has not answered
    bool m_closed = false;
    bool m_toldFailure = false;
};
