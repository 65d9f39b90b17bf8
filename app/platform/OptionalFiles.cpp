#include "OptionalFiles.h"

#include <QStandardPaths>

namespace OptionalFiles {

QStringList candidates(const QString &programFolder, const QString &relative)
{
    const QString inOurFolder = QStringLiteral("/tarnwell/") + relative;
    QStringList paths{programFolder + u'/' + relative};
    paths.append(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 inOurFolder);
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        paths.append(data + inOurFolder);
    return paths;
}

QString find(const QString &programFolder, const QString &relative,
             const std::function<bool(const QString &)> &found)
{
    for (const QString &path : candidates(programFolder, relative)) {
        if (found(path))
            return path;
    }
    return {};
}

} // namespace OptionalFiles
