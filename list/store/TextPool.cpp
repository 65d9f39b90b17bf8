#include "TextPool.h"

#include "PackedTexts.h"
#include "TextBytes.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

TextPool::TextPool() : m_data(std::make_shared<Data>()) {}

TextPool::Data &TextPool::writable()
{
    if (m_data.use_count() > 1)
        m_data = std::make_shared<Data>(*m_data);
    return *m_data;
}

const char *const TextPool::kTooMuchText = QT_TRANSLATE_NOOP(
    "Tarnwell",
    "The list would hold more than 4 GB of text (4,294,967,295 characters of Western European "
    "scripts, or half as many of others), more than it can hold.");

Failure TextPool::tooMuchText()
{
    return Failure(QCoreApplication::translate("Tarnwell", kTooMuchText));
}

void TextPool::cutBack(Data &data, qsizetype items, size_t bytes)
{
    data.bytes.resize(bytes);
    data.ends.resize(size_t(items));
    data.wide.truncate(items);
}

void TextPool::appendText(Data &data, ItemText text)
{
    const qsizetype item = qsizetype(data.ends.size());
    const size_t bytes = data.bytes.size();
    const bool wide = appendInItsForm(data.bytes, text, kTooMuchText);
    try {
        data.ends.push_back(quint32(data.bytes.size()));
        data.wide.set(item, wide);
    } catch (...) {
        cutBack(data, item, bytes);
        throw;
    }
}

void TextPool::append(ItemText text)
{
    appendText(writable(), text);
}

void TextPool::append(const TextPool &other)
{
    if (empty() && m_data.use_count() == 1) {
        m_data = other.m_data; // nothing to keep: share theirs
        return;
    }
    append(other, 0, other.size());
}

void TextPool::append(const TextPool &other, qsizetype first, qsizetype last)
{
    if (first >= last)
        return;
    const std::shared_ptr<Data> source = other.m_data; // `other` may be this pool
    Data &data = writable();
    const qsizetype begin = first == 0 ? 0 : endIn(*source, first - 1);
    const qsizetype end = endIn(*source, last - 1);
    const qsizetype offset = qsizetype(data.bytes.size()) - begin;
    const qsizetype firstNew = qsizetype(data.ends.size());
    const size_t bytesBefore = data.bytes.size();
    try {
        if (offset % 2 != 0 && source->wide.anyIn(first, last)) {
            // Moved by an odd number of bytes, its UTF-16 texts would begin at odd bytes.
            for (qsizetype item = first; item < last; ++item)
                appendText(data, other.at(item));
            return;
        }
        data.ends.reserve(data.ends.size() + size_t(last - first));
        char *out = growBytes(data.bytes, size_t(end - begin));
        if (end > begin)
            std::memcpy(out, source->bytes.data() + begin, size_t(end - begin));
        for (qsizetype item = first; item < last; ++item)
            data.ends.push_back(quint32(qsizetype(source->ends[size_t(item)]) + offset));
        if (!source->wide.none() || !data.wide.none())
            for (qsizetype item = first; item < last; ++item)
                data.wide.set(firstNew + item - first, source->wide.test(item));
    } catch (...) {
        cutBack(data, firstNew, bytesBefore);
        throw;
    }
}

void TextPool::reserve(qsizetype items, qsizetype bytes)
{
    Data &data = writable();
    data.ends.reserve(size_t(items));
    data.bytes.reserve(size_t(std::min(bytes, kMaxBytes)));
}

void TextPool::reserveToAppend(const TextPool &other)
{
    // Where the bytes end once every item is in: as the items are, moved by an even number of
    // bytes; laid out afresh one by one (a UTF-16 text at an even byte), moved by an odd one.
    qsizetype bytes = byteCount() + other.byteCount();
    if (byteCount() % 2 != 0 && !other.allLatin1()) {
        bytes = byteCount();
        for (qsizetype item = 0; item < other.size(); ++item) {
            const ItemText text = other.at(item);
            bytes = text.isLatin1() ? bytes + text.size() : evenUp(bytes) + 2 * text.size();
        }
    }
    checkBytes(size_t(bytes));
    const qsizetype items = size() + other.size();
    Data &data = writable();
    data.ends.reserve(size_t(items));
    data.bytes.reserve(size_t(bytes));
    if (!other.allLatin1() || !allLatin1())
        data.wide.reserve(items);
}

void TextPool::clear()
{
    // Give the memory back: a cleared million-item list should not keep its buffers.
    m_data = std::make_shared<Data>();
}

void TextPool::removeSorted(const std::vector<quint32> &ascendingPositions)
{
    removeSortedUpTo(ascendingPositions, 0, 0, size());
}

qsizetype TextPool::removeSortedUpTo(const std::vector<quint32> &positions, qsizetype done,
                                     qsizetype processed, qsizetype until, PackedTexts *removedOut,
                                     bool givesMemoryBack)
{
    Data &data = writable();
    char *const bytes = data.bytes.data();
    quint32 *const ends = data.ends.data();
    WideFlags &wide = data.wide;
    const qsizetype count = size();
    // In today's numbering an item not yet handled stands `done` places before where it stood.
    const qsizetype first = processed - done;
    const qsizetype stop = std::min(count, until - done);
    if (stop <= first)
        return done;
    const qsizetype firstBegin = beginOf(first);
    const qsizetype stopBegin = stop == count ? 0 : beginOf(stop);
    const qsizetype doneBefore = done;
    // The end of an item not handled yet, by its number today (see endsGapAt).
    const qsizetype endsApart = data.endsGapSize;
    const auto endOf = [&](qsizetype item) { return qsizetype(ends[item + endsApart]); };

    qsizetype writeItem = first;
    qsizetype writeByte = first == 0 ? 0 : ends[first - 1];
    const auto keepRun = [&](qsizetype from, qsizetype to) {
        if (from >= to)
            return;
        const qsizetype begin = from == first ? firstBegin : endOf(from - 1);
        const qsizetype shift = begin - writeByte;
        if (shift == 0 && writeItem == from && endsApart == 0) {
            writeItem = to;
            writeByte = ends[to - 1];
            return;
        }
        if (shift % 2 == 0 || !wide.anyIn(from, to)) {
            if (shift != 0)
                std::memmove(bytes + writeByte, bytes + begin, size_t(endOf(to - 1) - begin));
            wide.move(writeItem, from, to - from);
            for (qsizetype item = from; item < to; ++item)
                ends[writeItem++] = quint32(endOf(item) - shift);
            writeByte = ends[writeItem - 1];
            return;
        }
        // An odd shift would leave UTF-16 texts at odd bytes: each of them goes to the next
        // even one, the Latin-1 texts between them in runs.
        qsizetype itemBegin = begin;
        for (qsizetype item = from; item < to;) {
            const qsizetype wideItem = wide.nextIn(item, to);
            if (wideItem > item) {
                const qsizetype runEnd = endOf(wideItem - 1);
                const qsizetype runShift = itemBegin - writeByte;
                std::memmove(bytes + writeByte, bytes + itemBegin, size_t(runEnd - itemBegin));
                wide.move(writeItem, item, wideItem - item);
                for (; item < wideItem; ++item)
                    ends[writeItem++] = quint32(endOf(item) - runShift);
                writeByte = runEnd - runShift;
                itemBegin = runEnd;
            }
            if (item == to)
                break;
            const qsizetype end = endOf(item);
            const qsizetype source = evenUp(itemBegin);
            const qsizetype target = evenUp(writeByte);
            const qsizetype size = (end - source) & ~qsizetype(1);
            std::memmove(bytes + target, bytes + source, size_t(size));
            ends[writeItem] = quint32(target + size);
            wide.set(writeItem, true);
            ++writeItem;
            writeByte = target + size;
            itemBegin = end;
            ++item;
        }
    };
    qsizetype next = first;
    while (done < qsizetype(positions.size()) && qsizetype(positions[size_t(done)]) < until) {
        const qsizetype position = qsizetype(positions[size_t(done)]) - doneBefore;
        // Read before the run ahead of it closes up, which may overwrite where it began;
        // its bytes stay where they are until the run after it moves down.
        const qsizetype removedBegin = position == first ? firstBegin : endOf(position - 1);
        const qsizetype removedEnd = endOf(position);
        const bool removedWide = wide.test(position);
        keepRun(next, position);
        if (removedOut != nullptr)
            removedOut->append(textIn(bytes, removedBegin, removedEnd, removedWide));
        next = position + 1;
        ++done;
    }
    keepRun(next, stop);

    if (stop == count) {
        if (givesMemoryBack)
            releasePages(bytes + writeByte, bytes + data.bytes.size());
        data.bytes.resize(size_t(writeByte));
        data.ends.resize(size_t(writeItem));
        wide.truncate(writeItem);
        data.gapItem = -1;
        data.endsGapSize = 0;
        return done;
    }
    // The items not handled yet keep their bytes and their ends where they are; their form
    // flags close up.
    if (writeItem != stop) {
        wide.move(writeItem, stop, count - stop);
        wide.truncate(writeItem + count - stop);
    }
    data.endsGapSize = stop + endsApart - writeItem;
    data.endsGapAt = writeItem;
    const bool bytesApart = writeByte != stopBegin;
    data.gapItem = bytesApart ? writeItem : -1;
    data.gapBegin = bytesApart ? stopBegin : 0;
    if (givesMemoryBack)
        releasePages(bytes + writeByte, bytes + stopBegin);
    return done;
}

void TextPool::releasePages(char *from, char *to)
{
    constexpr qsizetype kWorthIt = qsizetype(2) << 20; // 2 MB
    if (to - from >= kWorthIt)
        ::releasePages(from, to);
}

void TextPool::truncate(qsizetype count)
{
    if (count >= size())
        return;
    Data &data = writable();
    data.bytes.resize(size_t(count == 0 ? 0 : data.ends[size_t(count - 1)]));
    data.ends.resize(size_t(count));
    data.wide.truncate(count);
}

TextPool TextPool::tail(qsizetype first) const
{
    if (first == 0)
        return *this;
    TextPool result;
    result.append(*this, first, size());
    return result;
}

TextPool TextPool::unpacked(const PackedTexts &packed)
{
    TextPool pool;
    pool.reserve(packed.size(), packed.byteCount() + packed.wideCount());
    for (qsizetype position = 0; position < packed.size(); ++position)
        pool.append(packed.at(position));
    return pool;
}
