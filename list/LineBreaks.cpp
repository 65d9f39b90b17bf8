#include "LineBreaks.h"

#include "ListHost.h"
#include "TextPool.h"

namespace LineBreaks {

bool holdsBreak(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

QStringList nonEmptyLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k <= text.size(); ++k) {
        if (k < text.size() && text[k] != u'\r' && text[k] != u'\n')
            continue;
        if (k > start)
            lines.append(text.mid(start, k - start).toString());
        if (k + 1 < text.size() && text[k] == u'\r' && text[k + 1] == u'\n')
            ++k;
        start = k + 1;
    }
    return lines;
}

QString asBlanks(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
            ++k;
        result += text[k] == u'\r' || text[k] == u'\n' ? QChar(u' ') : text[k];
    }
    return result;
}

qsizetype countItemsWithBreaks(const TextPool &texts, ListHost &host)
{
    YieldPacer pacer(host);
    qsizetype count = 0;
    for (qsizetype position = 0; position < texts.size(); ++position) {
        if (holdsBreak(texts.at(position)))
            ++count;
        if (position % 4096 == 0 && pacer.due())
            host.yieldToEventLoop();
    }
    return count;
}

} // namespace LineBreaks
