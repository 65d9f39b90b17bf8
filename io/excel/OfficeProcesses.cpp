#include "OfficeProcesses.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <unistd.h>

namespace OfficeProcesses {

namespace {
// The profile an office's command line names, as a folder; empty for none.
QString profileNamedIn(const QByteArrayList &arguments)
{
    static const QByteArray option = "-env:UserInstallation=";
    for (const QByteArray &argument : arguments) {
        if (argument.startsWith(option))
            return QUrl(QString::fromLocal8Bit(argument.mid(option.size()))).toLocalFile();
    }
    return {};
}

QString canonical(const QString &folder)
{
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : resolved;
}
} // namespace

bool runsWithProfile(const QString &profileFolder, const QString &defaultProfileFolder)
{
    const QString wanted = canonical(profileFolder);
    const bool wantedIsDefault = wanted == canonical(defaultProfileFolder);
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &process : processes) {
        bool isNumber = false;
        process.toLongLong(&isNumber);
        if (!isNumber)
            continue;
        const QString folder = QStringLiteral("/proc/") + process;
        if (QFileInfo(folder).ownerId() != getuid())
            continue;
        QFile commandLine(folder + QStringLiteral("/cmdline"));
        if (!commandLine.open(QIODevice::ReadOnly))
            continue; // gone meanwhile
        QByteArrayList arguments = commandLine.readAll().split('\0');
        if (arguments.isEmpty() || !arguments.front().endsWith("soffice.bin"))
            continue;
        const QString named = profileNamedIn(arguments);
        if (named.isEmpty() ? wantedIsDefault : canonical(named) == wanted)
            return true;
    }
    return false;
}

} // namespace OfficeProcesses
