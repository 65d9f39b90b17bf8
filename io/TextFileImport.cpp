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

    // Append in batches, yielding now and then so that the window stays responsive.
    constexpr size_t kBatch = 16384;
    std::vector<QStringView> batch;
    batch.reserve(kBatch);
    YieldPacer pacer(host);
    LineSplitter lines(text);
    QStringView line;
    while (lines.next(line)) {
        batch.push_back(line);
        if (batch.size() == kBatch) {
            listView.appendAll(batch);
            batch.clear();
            if (pacer.due())
                host.yieldToEventLoop();
        }
    }
    listView.appendAll(batch);
}

} // namespace List
