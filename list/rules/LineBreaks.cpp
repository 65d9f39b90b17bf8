#include "LineBreaks.h"

#include "ListHost.h"
#include "TextPool.h"

#include <algorithm>
#include <cstring>

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

TextPool lines(QStringView text, ListHost &host)
{
    TextPool result;
    // Room for all of it at once: growing a pool of millions of items step by step copies it
    // over and over, and one of those copies would hold the window up.
    const qsizetype breaks =
        std::count_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    result.reserve(breaks + 1, text.size());
    host.yieldToEventLoop();
    YieldPacer pacer(host);
    qsizetype start = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t unit = text[k].unicode();
        if (unit != u'\r' && unit != u'\n')
            continue;
        result.append(text.mid(start, k - start));
        if (unit == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
            ++k;
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
    QString result;
    result.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
            ++k;
        result += text[k] == u'\r' || text[k] == u'\n' ? QChar(u' ') : text[k];
    }
    return result;
}

namespace {
// True when the characters hold `unit` (a character below 256): the C library finds its low
// byte at memory speed, several times faster than a loop over the characters.
bool holdsUnit(const char16_t *characters, qsizetype count, char16_t unit)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(characters);
    const size_t length = size_t(count) * 2;
    size_t from = 0;
    while (from < length) {
        const void *found = std::memchr(bytes + from, unit, length - from);
        if (found == nullptr)
            return false;
        const size_t at = size_t(static_cast<const unsigned char *>(found) - bytes);
        if (characters[at / 2] == unit)
            return true;
        from = at + 1; // the byte of some other character
    }
    return false;
}

// True when `texts` may hold a break: a pass over all characters at once, a chunk at a time,
// costs a fraction of reading them item by item, and most lists hold none.
bool mayHoldBreak(const TextPool &texts, ListHost &host)
{
    if (!texts.settled())
        return true;
    const QStringView characters = texts.characters();
    constexpr qsizetype kChunk = qsizetype(1) << 20;
    YieldPacer pacer(host);
    for (qsizetype from = 0; from < characters.size(); from += kChunk) {
        const char16_t *const chunk = characters.utf16() + from;
        const qsizetype length = std::min(kChunk, characters.size() - from);
        if (holdsUnit(chunk, length, u'\n') || holdsUnit(chunk, length, u'\r'))
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
