#pragma once

#include "TextPool.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// The list as one finished step left it, as a recovery record keeps it: every text in its
// order, every check mark, the case buttons, and when.
struct KeptList
{
    TextPool texts;
    std::vector<quint8> checks; // one mark per item, as the list holds them
    bool ignoreCase = true;     // the "Ignore case" button
    bool matchCase = false;     // the "Match case" button
    qint64 keptAtMs = 0;        // since the epoch, UTC
    qsizetype checkedCount() const;
};

// A recovery record on disk, its blocks packed with zstd (BlockCompressor). Every block
// carries a CRC-32 of itself as on disk and its place in the file, and the record ends with a
// block that only a whole record has: a record torn by a power cut, cut short by a full disk
// or changed on disk does not check out and is never read as a list. Writing goes to a file
// beside it, made durable with fsync before it takes the record's name, so the record on disk
// is always one whole step.
namespace RecoveryRecord {

// Writes `list` as the record at `path`. Stops early, leaving the old record as it was,
// when `stop` is set. The reason when it cannot be written; nothing when written or stopped.
// The texts are let go of once they are in the file, before the wait for the disk (`released`
// is told then, or when stopped): a list that changes meanwhile is not copied for their sake.
// The marks stay in `list`, a copy of the list's own.
std::optional<QString> write(const QString &path, KeptList &&list, const std::atomic<bool> &stop,
                             const std::function<void()> &released = {});

enum class Outcome { Read, Damaged, OtherVersion, Unreadable };

struct Reading
{
    Outcome outcome = Outcome::Unreadable;
    KeptList list;  // when Read
    QString reason; // when Unreadable
};

// Reads the record at `path`, checking every block; `betweenBlocks` runs after each one (the
// window yields there).
Reading read(const QString &path, const std::function<void()> &betweenBlocks = {});

} // namespace RecoveryRecord
