#include "LineBreaks.h"

#include "ListHost.h"
#include "TextPool.h"
#include "YieldPacing.h"

#include <algorithm>
#include <cstring>

namespace LineBreaks {

bool holdsBreak(ItemText text)
{
    return text.visit([](const auto *chars, qsizetype size) {
        return std::any_of(chars, chars + size, [](auto c) { return c == u'\r' || c == u'\n'; });
    });
}

QStringList nonEmptyLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k <= text.size(); ++k) {
        // The text's end ends its last line.
        const qsizetype length = k < text.size() ? breakLength(text, k) : 1;
        if (length == 0)
            continue;
        if (k > start)
            lines.append(text.mid(start, k - start).toString());
        k += length - 1;
        start = k + 1;
    }
    return lines;
}

TextPool lines(QStringView text, ListHost &host)
{
    TextPool result;
    // Room for all of it at once: growing a pool of millions of items step by step copies it
    // over and over, and one of those copies would hold the window up.
    YieldPacer pacer(host);
    qsizetype breaks = 0;
    constexpr qsizetype kCountedAtOnce = qsizetype(1) << 20;
    for (qsizetype from = 0; from < text.size(); from += kCountedAtOnce) {
        const QStringView part = text.sliced(from, std::min(kCountedAtOnce, text.size() - from));
        breaks +=
            std::count_if(part.begin(), part.end(), [](QChar c) { return isBreak(c.unicode()); });
        if (pacer.due())
            host.yieldToEventLoop();
    }
    result.reserve(breaks + 1, text.size());
    host.yieldToEventLoop();
    qsizetype start = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const qsizetype length = breakLength(text, k);
        if (length == 0)
            continue;
        result.append(text.mid(start, k - start));
        k += length - 1;
        start = k + 1;
        if (result.size() % 4096 == 0 && pacer.due())
            host.yieldToEventLoop();
    }
    if (start < text.size())
        result.append(text.mid(start));
    host.yieldToEventLoop();
    return result;
}

QString asBlanks(QStringView text)
{
    return withBreaksAs(text, u' ');
}

QString withBreaksAs(QStringView text, QChar mark)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const qsizetype length = breakLength(text, k);
        result += length > 0 ? mark : text[k];
        k += std::max<qsizetype>(length, 1) - 1;
    }
    return result;
}

namespace {
// True when `texts` may hold a break: a pass over all their bytes at once, a chunk at a time,
// costs a fraction of reading them item by item, and most lists hold none. The C library
// finds a CR or LF byte at memory speed; in a UTF-16 text such a byte may be half of some
// other character, so a byte found only says "maybe".
bool mayHoldBreak(const TextPool &texts, ListHost &host)
{
    if (!texts.settled())
        return true;
    const QByteArrayView bytes = texts.bytes();
    constexpr qsizetype kChunk = qsizetype(1) << 21;
    YieldPacer pacer(host);
    for (qsizetype from = 0; from < bytes.size(); from += kChunk) {
        const size_t length = size_t(std::min(kChunk, bytes.size() - from));
        if (std::memchr(bytes.data() + from, '\n', length) != nullptr ||
            std::memchr(bytes.data() + from, '\r', length) != nullptr)
            return true;
        if (pacer.due())
            host.yieldToEventLoop();
    }
    return false;
}
} // namespace

qsizetype countItemsWithBreaks(const TextPool &texts, ListHost &host)
{
    if (!mayHoldBreak(texts, host))
        return 0;
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
