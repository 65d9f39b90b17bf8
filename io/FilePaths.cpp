#include "FilePaths.h"

#include <QDateTime>
#include <QFileInfo>

QString FixDoubleSlashes(const QString &path, QChar separator)
{
    const QString pair(2, separator);
    if (!path.startsWith(separator))
        return QString(path).replace(pair, QString(separator));
    qsizetype restStart = 0;
    while (restStart < path.size() && path[restStart] == separator)
        ++restStart;
    return pair + path.mid(restStart).replace(pair, QString(separator));
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).lastModified().isValid();
}
