#include "TextFileImport.h"

#include "Failure.h"
#include "ItemList.h"
#include "ListHost.h"
#include "TextFileFormat.h"

#include <QFile>

namespace List {

void TextFileToListview(ItemList &listView, const QString &path, ListHost &host)
{
    if (!FileExists(path)) {
        host.notify(QStringLiteral("File not found"));
        return;
    }
    // Reading a large file takes a while; let the window breathe between the stages. The
    // text is ours alone, so whatever runs meanwhile cannot disturb it.
    YieldPacer pacer(host);
    QString text;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        text = decodeListFile(bytes);
    }
    if (pacer.due())
        host.yieldToEventLoop();
    const std::vector<QStringView> lines = splitLines(text);
    if (pacer.due())
        host.yieldToEventLoop();
    // One insertion for the whole file: the view does work for every insertion in
    // proportion to the rows it already shows, so batches would make large loads quadratic.
    listView.appendAll(lines);
}

} // namespace List
