#include "TextPool.h"

#include "Latin1Narrowing.h"
#include "PackedTexts.h"
#include "TextBytes.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

TextPool::TextPool() : m_data(std::make_shared<Data>()) {}

TextPool::Data &TextPool::writable()
{
    if (m_data.use_count() > 1)
        m_data = std::make_shared<Data>(*m_data);
    return *m_data;
}

namespace {

constexpr const char *kTooMuchText = QT_TRANSLATE_NOOP(
    "Tarnwell",
    "The list would hold more than 4 GB of text (4,294,967,295 characters of Western European "
    "scripts, or half as many of others), more than it can hold.");

// Refuses a pool of more bytes than its 32-bit item ends can reach.
void checkBytes(size_t bytes)
{
    if (bytes > size_t(TextPool::kMaxBytes))
        throw TextPool::tooMuchText();
}

char *growBytes(TextBytes &bytes, size_t count)
{
    return growTextBytes(bytes, count, kTooMuchText);
}

} // namespace

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

void TextPool::insertSorted(const quint32 *ascendingPositions, qsizetype count,
                            const PackedTexts &texts, qsizetype firstText)
{
    insertSortedDownTo(ascendingPositions, count, texts, firstText, 0, size() + count, 0);
}

qsizetype TextPool::insertSortedDownTo(const quint32 *positions, qsizetype count,
                                       const PackedTexts &texts, qsizetype firstText,
                                       qsizetype placed, qsizetype settledFrom, qsizetype lowest)
{
    const qsizetype waiting = count - placed;
    if (waiting == 0 || lowest >= settledFrom)
        return placed;
    // One way when every text is Latin-1 (most lists), one that keeps UTF-16 texts at even
    // bytes when not; an insertion goes all the way in the way it began.
    if (!m_data->finalEnds.empty() || !allLatin1() || texts.wideCount() > 0)
        return insertMixedDownTo(positions, count, texts, firstText, placed, settledFrom, lowest);
    return insertLatin1DownTo(positions, count, texts, firstText, placed, settledFrom, lowest);
}

bool TextPool::prepareInsertion(const quint32 *positions, qsizetype count, const PackedTexts &texts,
                                qsizetype firstText, qsizetype rows)
{
    if (count == 0 || (m_data->finalEnds.empty() && allLatin1() && texts.wideCount() == 0))
        return true;
    return layOutFinalEnds(writable(), positions, count, texts, firstText, rows);
}

bool TextPool::layOutFinalEnds(Data &data, const quint32 *positions, qsizetype count,
                               const PackedTexts &texts, qsizetype firstText, qsizetype rows)
{
    const qsizetype firstRow = qsizetype(positions[0]);
    // Called before any item is inserted: the final rows are today's items with the inserted
    // ones among them.
    const qsizetype finalCount = size() + count;
    const auto laidOut = [&] { return qsizetype(data.finalEnds.size()); };
    if (laidOut() == finalCount - firstRow)
        return true;
    if (data.finalEnds.empty()) {
        // Room for every row, touched only as it is written.
        data.finalEnds.reserve(size_t(finalCount - firstRow));
        data.finalEnd = firstRow == 0 ? 0 : qsizetype(endIn(data, firstRow - 1));
        data.finalInserted = 0;
    }
    qsizetype end = data.finalEnd;
    qsizetype k = data.finalInserted;
    const qsizetype last =
        rows < 0 ? finalCount : std::min(finalCount, firstRow + laidOut() + rows);
    for (qsizetype row = firstRow + laidOut(); row < last; ++row) {
        ItemText text;
        if (k < count && qsizetype(positions[k]) == row) {
            text = texts.at(firstText + k);
            ++k;
        } else {
            text = at(row - k);
        }
        end = text.isLatin1() ? end + text.size() : evenUp(end) + 2 * text.size();
        data.finalEnds.push_back(quint32(std::min<qsizetype>(end, kMaxBytes)));
    }
    data.finalEnd = end;
    data.finalInserted = k;
    if (laidOut() < finalCount - firstRow)
        return false;
    checkBytes(size_t(end));
    data.bytes.resize(size_t(end));
    return true;
}

TextPool::InsertionSlice TextPool::openUpSlice(const quint32 *positions, qsizetype count,
                                               qsizetype placed, qsizetype settledFrom,
                                               qsizetype lowest)
{
    Data &data = *m_data;
    InsertionSlice slice;
    slice.waiting = count - placed;
    slice.unmoved = settledFrom - slice.waiting;
    slice.settledItems = size() - slice.unmoved;
    slice.lowestWaiting =
        std::lower_bound(positions, positions + slice.waiting, quint32(lowest)) - positions;
    slice.inserting = slice.waiting - slice.lowestWaiting;
    slice.firstMoved = slice.unmoved - ((settledFrom - lowest) - slice.inserting);
    const qsizetype items = size();
    data.ends.resize(size_t(items + slice.inserting));
    if (slice.inserting > 0 && slice.settledItems > 0) {
        std::memmove(data.ends.data() + slice.unmoved + slice.inserting,
                     data.ends.data() + slice.unmoved,
                     size_t(slice.settledItems) * sizeof(quint32));
        data.wide.move(slice.unmoved + slice.inserting, slice.unmoved, slice.settledItems);
    }
    return slice;
}

qsizetype TextPool::insertLatin1DownTo(const quint32 *positions, qsizetype count,
                                       const PackedTexts &texts, qsizetype firstText,
                                       qsizetype placed, qsizetype settledFrom, qsizetype lowest)
{
    Data &data = writable();
    const bool firstSlice = placed == 0 && size() == settledFrom - count;
    qsizetype top = 0; // where the settled items' bytes begin
    if (firstSlice) {
        // The first slice: room for every item to come, at the end of the buffer.
        qsizetype insertedBytes = 0;
        if (firstText == 0 && count == texts.size()) {
            insertedBytes = texts.byteCount();
        } else {
            for (qsizetype k = 0; k < count; ++k)
                insertedBytes += texts.length(firstText + k);
        }
        top = qsizetype(data.bytes.size()) + insertedBytes;
        checkBytes(size_t(top));
        data.bytes.resize(size_t(top));
    } else {
        top = beginOf(settledFrom - (count - placed));
    }
    const auto [waiting, unmoved, settledItems, lowestWaiting, inserting, firstMoved] =
        openUpSlice(positions, count, placed, settledFrom, lowest);
    char *const bytes = data.bytes.data();
    quint32 *const ends = data.ends.data();

    // From the end down, so nothing is overwritten before it has moved: an old item only ever
    // moves up, by the bytes and items inserted before it. Items land at their final row
    // less the `lowestWaiting` items still to come below them.
    qsizetype writeByte = top;
    qsizetype oldEnd = unmoved; // old items [0, oldEnd) have not moved yet
    const qsizetype firstBegin = firstMoved == 0 ? 0 : beginOf(firstMoved);
    // firstMoved by copy: C++17 lets a lambda capture no structured binding.
    const auto moveRun = [&, firstMoved = firstMoved](qsizetype first, qsizetype insertedBefore) {
        if (first >= oldEnd)
            return;
        const qsizetype begin = first == firstMoved ? firstBegin : ends[first - 1];
        const qsizetype end = ends[oldEnd - 1];
        const qsizetype shift = writeByte - end;
        if (shift != 0)
            std::memmove(bytes + begin + shift, bytes + begin, size_t(end - begin));
        for (qsizetype item = oldEnd - 1; item >= first; --item)
            ends[item + insertedBefore] = quint32(ends[item] + shift);
        writeByte = begin + shift;
        oldEnd = first;
    };
    for (qsizetype k = waiting - 1; k >= lowestWaiting; --k) {
        const qsizetype position = qsizetype(positions[k]);
        moveRun(position - k, k + 1 - lowestWaiting); // old items after it move up
        ends[position - lowestWaiting] = quint32(writeByte);
        const ItemText text = texts.at(firstText + k);
        writeByte -= text.size();
        if (text.size() > 0)
            std::memcpy(bytes + writeByte, text.data(), size_t(text.size()));
    }
    moveRun(firstMoved, 0);

    const qsizetype below = firstMoved == 0 ? 0 : ends[firstMoved - 1];
    const bool gap = lowest > 0 && writeByte != below;
    data.gapItem = gap ? firstMoved : -1;
    data.gapBegin = gap ? writeByte : 0;
    return count - lowestWaiting;
}

qsizetype TextPool::insertMixedDownTo(const quint32 *positions, qsizetype count,
                                      const PackedTexts &texts, qsizetype firstText,
                                      qsizetype placed, qsizetype settledFrom, qsizetype lowest)
{
    Data &data = writable();
    // Rows before the first one inserted keep their place; from it on, each row's bounds
    // once all is in are worked out first, from the first row up, as appending would lay
    // them out. An item then only ever moves up, and each slice puts its rows there.
    const qsizetype firstRow = qsizetype(positions[0]);
    const auto endBefore = [&](qsizetype row) -> qsizetype {
        if (row > firstRow)
            return data.finalEnds[size_t(row - 1 - firstRow)];
        return row == 0 ? 0 : qsizetype(data.ends[size_t(row - 1)]);
    };
    if (placed == 0)
        layOutFinalEnds(data, positions, count, texts, firstText, -1);
    const auto [waiting, unmoved, settledItems, lowestWaiting, inserting, firstMoved] =
        openUpSlice(positions, count, placed, settledFrom, lowest);
    char *const bytes = data.bytes.data();
    quint32 *const ends = data.ends.data();
    // From the end down: the old item at `oldItem` and those below it have not moved yet.
    qsizetype k = waiting - 1;
    qsizetype oldItem = unmoved - 1;
    const qsizetype bottom = std::max(lowest, firstRow);
    for (qsizetype row = settledFrom - 1; row >= bottom; --row) {
        const qsizetype begin = endBefore(row);
        const qsizetype end = data.finalEnds[size_t(row - firstRow)];
        const qsizetype index = row - lowestWaiting;
        if (k >= 0 && qsizetype(positions[k]) == row) {
            const ItemText text = texts.at(firstText + k);
            const qsizetype target = text.isLatin1() ? begin : evenUp(begin);
            if (text.size() > 0)
                std::memcpy(bytes + target, text.data(),
                            size_t(text.size()) * (text.isLatin1() ? 1 : 2));
            ends[index] = quint32(end);
            data.wide.set(index, !text.isLatin1());
            --k;
            continue;
        }
        const ItemText text = at(oldItem);
        const qsizetype target = text.isLatin1() ? begin : evenUp(begin);
        if (bytes + target != text.data())
            std::memmove(bytes + target, text.data(),
                         size_t(text.size()) * (text.isLatin1() ? 1 : 2));
        ends[index] = quint32(end);
        data.wide.set(index, !text.isLatin1());
        --oldItem;
    }
    if (lowestWaiting == 0) {
        data.finalEnds = {};
        data.finalEnd = 0;
        data.finalInserted = 0;
        data.gapItem = -1;
        data.gapBegin = 0;
        data.wide.truncate(size());
        return count;
    }
    const qsizetype below = firstMoved == 0 ? 0 : ends[firstMoved - 1];
    const qsizetype lowestBegin = endBefore(bottom);
    const bool gap = lowestBegin != below;
    data.gapItem = gap ? firstMoved : -1;
    data.gapBegin = gap ? lowestBegin : 0;
    return count - lowestWaiting;
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

// ---- building from decoded text ------------------------------------------------------------

namespace {

// The first CR or LF in [from, to), or `to`.
const char16_t *findLineEnd(const char16_t *from, const char16_t *to)
{
#ifdef __SSE2__
    const __m128i carriageReturn = _mm_set1_epi16(u'\r');
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    for (; to - from >= 8; from += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        const int found = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi16(units, carriageReturn), _mm_cmpeq_epi16(units, lineFeed)));
        if (found != 0)
            return from + (__builtin_ctz(unsigned(found)) / 2);
    }
#endif
    for (; from < to; ++from) {
        if (*from == u'\r' || *from == u'\n')
            return from;
    }
    return to;
}

// The first CR or LF byte in [from, to), or `to`.
const char *findLineEndByte(const char *from, const char *to)
{
#ifdef __SSE2__
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (; to - from >= 16; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        const int found = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, carriageReturn), _mm_cmpeq_epi8(chunk, lineFeed)));
        if (found != 0)
            return from + __builtin_ctz(unsigned(found));
    }
#endif
    for (; from < to; ++from) {
        if (*from == '\r' || *from == '\n')
            return from;
    }
    return to;
}

} // namespace

void TextPoolBuilder::reserve(qsizetype items, qsizetype bytes)
{
    auto &buffer = m_pool.writable().bytes;
    const bool moves = buffer.capacity() < size_t(bytes);
    if (moves)
        stopFaultingAhead();
    m_pool.reserve(items, bytes);
    constexpr size_t kWorthIt = size_t(32) << 20;
    if (moves && buffer.capacity() >= kWorthIt) {
        try {
            m_faultingAhead =
                std::make_unique<Prefaulter>(buffer.data(), buffer.capacity(), buffer.size());
        } catch (const std::system_error &) {
            // No thread to be had (a process short of memory): the writer faults the pages in
            // as it writes them.
        }
    }
}

void TextPoolBuilder::stopFaultingAhead()
{
    if (m_faultingAhead) {
        m_faultingAhead->finish(m_pool.m_data->bytes.size());
        m_faultingAhead.reset();
    }
}

char16_t *TextPoolBuilder::space(qsizetype units)
{
    m_piece.resize(size_t(units));
    return m_piece.data();
}

char *TextPoolBuilder::grow(qsizetype bytes)
{
    auto &buffer = m_pool.m_data->bytes;
    if (buffer.capacity() < buffer.size() + size_t(bytes))
        stopFaultingAhead(); // the buffer moves
    return growBytes(buffer, size_t(bytes));
}

void TextPoolBuilder::takeIntoLine(const char16_t *units, qsizetype count)
{
    if (count == 0)
        return;
    auto &buffer = m_pool.m_data->bytes;
    if (!m_lineWide) {
        const size_t at = buffer.size();
        if (narrowToLatin1(units, count, grow(count)))
            return;
        // A character beyond Latin-1: the line so far becomes UTF-16, from an even byte on.
        buffer.resize(at);
        const qsizetype narrow = qsizetype(at) - m_lineBegin;
        const qsizetype first = evenUp(m_lineBegin);
        grow(first + 2 * narrow - qsizetype(at));
        char *const bytes = buffer.data();
        for (qsizetype i = narrow - 1; i >= 0; --i) {
            const char16_t unit = static_cast<unsigned char>(bytes[m_lineBegin + i]);
            std::memcpy(bytes + first + 2 * i, &unit, 2);
        }
        if (first != m_lineBegin)
            bytes[m_lineBegin] = 0;
        m_lineWide = true;
    }
    std::memcpy(grow(2 * count), units, size_t(count) * 2);
}

void TextPoolBuilder::endLine()
{
    TextPool::Data &data = *m_pool.m_data;
    const qsizetype item = qsizetype(data.ends.size());
    data.ends.push_back(quint32(data.bytes.size()));
    data.wide.set(item, m_lineWide);
    m_lineBegin = qsizetype(data.bytes.size());
    m_lineWide = false;
}

void TextPoolBuilder::added(qsizetype units)
{
    if (units == 0)
        return; // a piece that ended inside a character
    m_pool.writable();
    const char16_t *read = m_piece.data();
    const char16_t *const end = read + units;
    // Most pieces are Latin-1 throughout: narrowed in one pass, then split in place.
    if (!m_lineWide) {
        auto &buffer = m_pool.m_data->bytes;
        const size_t at = buffer.size();
        if (narrowToLatin1(read, units, grow(units))) {
            splitLatin1(qsizetype(at));
            return;
        }
        buffer.resize(at);
    }

    // An LF right after a CR that ended the last piece belongs to that line end.
    if (m_afterCarriageReturn && read < end && *read == u'\n')
        ++read;
    m_afterCarriageReturn = false;
    while (read < end) {
        const char16_t *lineEnd = findLineEnd(read, end);
        takeIntoLine(read, lineEnd - read);
        if (lineEnd == end)
            break;
        endLine();
        read = lineEnd + 1;
        if (*lineEnd == u'\r') {
            if (read == end)
                m_afterCarriageReturn = true;
            else if (*read == u'\n')
                ++read;
        }
    }
    if (m_faultingAhead)
        m_faultingAhead->written(m_pool.m_data->bytes.size());
}

char *TextPoolBuilder::latin1Space(qsizetype count)
{
    Q_ASSERT(takesLatin1());
    m_pool.writable();
    m_latin1At = qsizetype(m_pool.m_data->bytes.size());
    return grow(count);
}

void TextPoolBuilder::addedLatin1(qsizetype count)
{
    m_pool.m_data->bytes.resize(size_t(m_latin1At + count));
    if (count > 0)
        splitLatin1(m_latin1At);
}

void TextPoolBuilder::splitLatin1(qsizetype from)
{
    TextPool::Data &data = *m_pool.m_data;
    char *const bytes = data.bytes.data();
    const char *read = bytes + from;
    const char *const end = bytes + data.bytes.size();
    char *write = bytes + from;
    if (m_afterCarriageReturn && read < end && *read == '\n')
        ++read;
    m_afterCarriageReturn = false;
    const bool flagged = !data.wide.none();
    while (read < end) {
        const char *lineEnd = findLineEndByte(read, end);
        const qsizetype length = lineEnd - read;
        if (write != read)
            std::memmove(write, read, size_t(length));
        write += length;
        if (lineEnd == end)
            break;
        if (flagged)
            data.wide.set(qsizetype(data.ends.size()), false);
        data.ends.push_back(quint32(write - bytes));
        read = lineEnd + 1;
        if (*lineEnd == '\r') {
            if (read == end)
                m_afterCarriageReturn = true;
            else if (*read == '\n')
                ++read;
        }
    }
    if (!data.ends.empty() && qsizetype(data.ends.back()) > m_lineBegin)
        m_lineBegin = data.ends.back();
    data.bytes.resize(size_t(write - bytes));
    if (m_faultingAhead)
        m_faultingAhead->written(data.bytes.size());
}

TextPool TextPoolBuilder::finish()
{
    stopFaultingAhead();
    m_pool.writable();
    if (qsizetype(m_pool.m_data->bytes.size()) > m_lineBegin)
        endLine();
    TextPool result = std::move(m_pool);
    clear();
    return result;
}

void TextPoolBuilder::clear()
{
    stopFaultingAhead();
    m_pool = TextPool();
    m_piece = {};
    m_lineBegin = 0;
    m_lineWide = false;
    m_afterCarriageReturn = false;
}

TextPool TextPool::unpacked(const PackedTexts &packed)
{
    TextPool pool;
    pool.reserve(packed.size(), packed.byteCount() + packed.wideCount());
    for (qsizetype position = 0; position < packed.size(); ++position)
        pool.append(packed.at(position));
    return pool;
}
