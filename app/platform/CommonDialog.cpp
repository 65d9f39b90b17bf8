#include "CommonDialog.h"

#include "Failure.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList CommonDialog::qtFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // "*.*" means every file; here a file needs no dot in its name, so that is "*".
        const QString everyFile = QStringLiteral("*.*");
        if (patterns == everyFile) {
            patterns = QStringLiteral("*");
            if (description.endsWith(u'(' + everyFile + u')'))
                description = description.chopped(everyFile.size() + 2) + u"(*)";
        }
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        // Qt reads the patterns from the parentheses; most descriptions carry them already.
        if (description.endsWith(u'(' + patterns + u')'))
            result.append(description);
        else
            result.append(description + u" (" + patterns + u')');
    }
    return result;
}

void CommonDialog::setResult(const QStringList &paths)
{
    QString result;
    if (paths.size() == 1) {
        result = paths.front();
    } else if (paths.size() > 1) {
        result = QDir::toNativeSeparators(QFileInfo(paths.front()).absolutePath());
        for (const QString &path : paths)
            result += QChar(u'\0') + QFileInfo(path).fileName();
    }
    // The name buffer also holds the terminating NUL (two after a list of names).
    const qsizetype needed = result.size() + (paths.size() > 1 ? 2 : 1);
    if (!result.isEmpty() && needed > kMaxFileNameLength) {
        FileName.clear();
        throw Failure(QCoreApplication::translate(
                          "Tarnwell", "The file name buffer is too small for the selected files"),
                      kBufferTooSmall);
    }
    FileName = result;
}

void CommonDialog::ShowOpen()
{
    setResult(m_dialogs.getOpenFileNames(DialogTitle, qtFilters(Filter),
                                         (Flags & kAllowMultiSelect) != 0));
}

void CommonDialog::ShowSave()
{
    const QString path = m_dialogs.getSaveFileName(DialogTitle, qtFilters(Filter));
    setResult(path.isEmpty() ? QStringList() : QStringList{path});
}
