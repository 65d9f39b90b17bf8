#include "TextFileImport.h"

#include "Failure.h"
#include "FilePaths.h"
#include "ItemList.h"
#include "ListHost.h"
#include "TextFileFormat.h"
#include "TextPool.h"
#include "YieldPacing.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a path that is not a plain file is, in words for the user; empty for a plain file.
QString notAFileKind(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("Tarnwell", "a named pipe");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("Tarnwell", "a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("Tarnwell", "a device");
    return QCoreApplication::translate("Tarnwell", "not a file");
}

// Tells the user when `mode` is not a plain file's (a folder is left to the caller).
bool refuseNotAFile(const QString &path, mode_t mode, ListHost &host)
{
    const QString kind = notAFileKind(mode);
    if (kind.isEmpty())
        return false;
    host.notify(
        QCoreApplication::translate("Tarnwell", "%1\r\rThis is %2, not a file; it was not loaded.")
            .arg(path, kind));
    return true;
}

// Opens a list file for reading. Only plain files are read: a pipe or a device could keep the
// window waiting for ever, so the test is made on what was opened, without waiting for a
// writer. Returns false (after telling the user) for anything else; throws Failure when the
// file cannot be opened.
bool openListFile(const QString &path, QFile &file, ListHost &host)
{
    // A socket cannot even be opened: tell what it is before trying.
    struct stat named = {};
    if (::stat(QFile::encodeName(path).constData(), &named) == 0 && !S_ISDIR(named.st_mode) &&
        refuseNotAFile(path, named.st_mode, host))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot open %1: %2")
                          .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot open %1: %2")
                          .arg(path, QString::fromLocal8Bit(std::strerror(error))));
    }
    if (S_ISDIR(status.st_mode)) {
        ::close(fd);
        throw Failure(
            QCoreApplication::translate("Tarnwell", "Cannot read %1: it is a folder").arg(path));
    }
    if (refuseNotAFile(path, status.st_mode, host)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot open %1: %2")
                          .arg(path, file.errorString()));
    }
    return true;
}

} // namespace

namespace List {

std::optional<TextPool> ReadTextFile(const QString &path, ListHost &host)
{
    if (!FileExists(path)) {
        host.notify(QCoreApplication::translate("Tarnwell", "File not found"));
        return std::nullopt;
    }
    // The file is read a chunk at a time, yielding in between, into a pool of its own:
    // whatever runs meanwhile cannot disturb it.
    YieldPacer pacer(host);
    QFile file;
    if (!openListFile(path, file, host))
        return std::nullopt;
    return readListFile(file, file.size(), [&] {
        if (pacer.due())
            host.yieldToEventLoop();
    });
}

void TextFileToListview(ItemList &listView, const QString &path, ListHost &host)
{
    if (const std::optional<TextPool> items = ReadTextFile(path, host))
        PoolToListview(listView, *items, host);
}

void PoolToListview(ItemList &listView, const TextPool &items, ListHost &host)
{
    // An empty list takes the items whole, which costs nothing, and the view hears of them
    // once the duplicate removal that follows a load has taken what it takes. A list with
    // items takes them a slice at a time: copying millions of items into memory the list has
    // never used, and the view's share of inserting their rows, would hold the window up.
    const qsizetype rowsPerInsertion = listView.itemsPerInsertion();
    if (listView.count() == 0) {
        host.yieldToEventLoop();
        listView.appendPoolShownLater(items);
        return;
    }
    for (qsizetype first = 0; first < items.size(); first += rowsPerInsertion) {
        host.yieldToEventLoop();
        listView.appendPoolShownLater(items, first,
                                      std::min(items.size(), first + rowsPerInsertion));
    }
}

} // namespace List
