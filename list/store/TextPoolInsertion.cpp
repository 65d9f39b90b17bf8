#include "TextPool.h"

#include "PackedTexts.h"

#include <algorithm>
#include <cstring>

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
    // Room for every item to come before the first slice: growing as they come, the ends
    // would move to fresh memory, all of them at once.
    if (placed == 0)
        data.ends.reserve(size_t(items + count));
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
