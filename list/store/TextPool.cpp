#include "TextPool.h"

#include "PackedTexts.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

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

// Refuses a pool of more characters than its 32-bit item ends can reach (8 GB of text).
void checkCharacters(size_t characters)
{
    if (characters > size_t(TextPool::kMaxCharacters))
        throw std::length_error("The list would hold more than 4,294,967,295 characters, more "
                                "than it can hold.");
}

// Appends characters with one copy. (Inserting a range would construct them one by one, as
// the buffer's allocator asks.)
template <typename Chars> void appendChars(Chars &chars, const char16_t *from, qsizetype count)
{
    const size_t size = chars.size();
    checkCharacters(size + size_t(count));
    if (chars.capacity() < size + size_t(count))
        chars.reserve(std::max(size + size_t(count), chars.capacity() * 3 / 2));
    chars.resize(size + size_t(count));
    if (count > 0)
        std::memcpy(chars.data() + size, from, size_t(count) * sizeof(char16_t));
}

} // namespace

void TextPool::append(QStringView text)
{
    Data &data = writable();
    appendChars(data.chars, text.utf16(), text.size());
    data.ends.push_back(quint32(data.chars.size()));
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
    Data &data = writable();
    const qsizetype begin = first == 0 ? 0 : other.m_data->ends[size_t(first - 1)];
    const qsizetype end = other.m_data->ends[size_t(last - 1)];
    const qsizetype offset = qsizetype(data.chars.size()) - begin;
    appendChars(data.chars, other.m_data->chars.data() + begin, end - begin);
    data.ends.reserve(data.ends.size() + size_t(last - first));
    for (qsizetype item = first; item < last; ++item)
        data.ends.push_back(quint32(qsizetype(other.m_data->ends[size_t(item)]) + offset));
}

void TextPool::reserve(qsizetype items, qsizetype characters)
{
    Data &data = writable();
    data.ends.reserve(size_t(items));
    data.chars.reserve(size_t(characters));
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
                                     qsizetype charactersAfter)
{
    Data &data = writable();
    char16_t *const chars = data.chars.data();
    quint32 *const ends = data.ends.data();
    const qsizetype count = size();
    // In today's numbering an item not yet handled stands `done` places before where it stood.
    const qsizetype first = processed - done;
    const qsizetype stop = std::min(count, until - done);
    if (stop <= first)
        return done;
    const qsizetype firstBegin = beginOf(first);
    const qsizetype stopBegin = stop == count ? 0 : beginOf(stop);
    const qsizetype doneBefore = done;

    qsizetype writeItem = first;
    qsizetype writeChar = first == 0 ? 0 : ends[first - 1];
    const auto keepRun = [&](qsizetype from, qsizetype to) {
        if (from >= to)
            return;
        const qsizetype begin = from == first ? firstBegin : ends[from - 1];
        const qsizetype shift = begin - writeChar;
        if (shift != 0)
            std::memmove(chars + writeChar, chars + begin,
                         size_t(ends[to - 1] - begin) * sizeof(char16_t));
        if (shift != 0 || writeItem != from) {
            for (qsizetype item = from; item < to; ++item)
                ends[writeItem++] = quint32(ends[item] - shift);
        } else {
            writeItem = to;
        }
        writeChar = ends[writeItem - 1];
    };
    qsizetype next = first;
    while (done < qsizetype(positions.size()) && qsizetype(positions[size_t(done)]) < until) {
        const qsizetype position = qsizetype(positions[size_t(done)]) - doneBefore;
        // Read before the run ahead of it closes up, which may overwrite where it began;
        // its characters stay where they are until the run after it moves down.
        const qsizetype removedBegin = position == first ? firstBegin : ends[position - 1];
        const qsizetype removedEnd = ends[position];
        keepRun(next, position);
        if (removedOut != nullptr)
            removedOut->append(QStringView(chars + removedBegin, removedEnd - removedBegin));
        next = position + 1;
        ++done;
    }
    keepRun(next, stop);

    if (stop == count) {
        if (charactersAfter >= 0)
            releasePages(chars + std::max(writeChar, charactersAfter), chars + data.chars.size());
        data.chars.resize(size_t(writeChar));
        data.ends.resize(size_t(writeItem));
        data.gapItem = -1;
        return done;
    }
    // The items not handled yet keep their characters where they are; their ends close up.
    if (writeItem != stop)
        std::memmove(ends + writeItem, ends + stop, size_t(count - stop) * sizeof(quint32));
    data.ends.resize(size_t(writeItem + count - stop));
    const bool gap = writeChar != stopBegin;
    data.gapItem = gap ? writeItem : -1;
    data.gapBegin = gap ? stopBegin : 0;
    if (charactersAfter >= 0)
        releasePages(chars + std::max(writeChar, charactersAfter), chars + stopBegin);
    return done;
}

void TextPool::releasePages(char16_t *from, char16_t *to)
{
    constexpr qsizetype kWorthIt = qsizetype(1) << 20; // characters: 2 MB
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
    const qsizetype waiting = count - placed; // items [0, waiting) are still to go in
    if (waiting == 0 || lowest >= settledFrom)
        return placed;
    Data &data = writable();
    const qsizetype currentItems = size();
    const qsizetype unmoved = settledFrom - waiting; // old items that have not moved yet
    const qsizetype settledItems = currentItems - unmoved;
    qsizetype top = 0; // where the settled items' characters begin
    if (placed == 0 && settledItems == 0) {
        // The first slice: room for every item to come, at the end of the buffer.
        qsizetype insertedChars = 0;
        if (firstText == 0 && count == texts.size()) {
            insertedChars = texts.characterCount();
        } else {
            for (qsizetype k = 0; k < count; ++k)
                insertedChars += texts.length(firstText + k);
        }
        top = qsizetype(data.chars.size()) + insertedChars;
        checkCharacters(size_t(top));
        data.chars.resize(size_t(top));
    } else {
        top = beginOf(unmoved);
    }
    const qsizetype lowestWaiting =
        std::lower_bound(positions, positions + waiting, quint32(lowest)) - positions;
    const qsizetype inserting = waiting - lowestWaiting;
    const qsizetype firstMoved = unmoved - ((settledFrom - lowest) - inserting);

    data.ends.resize(size_t(currentItems + inserting));
    char16_t *const chars = data.chars.data();
    quint32 *const ends = data.ends.data();
    if (inserting > 0 && settledItems > 0)
        std::memmove(ends + unmoved + inserting, ends + unmoved,
                     size_t(settledItems) * sizeof(quint32));

    // From the end down, so nothing is overwritten before it has moved: an old item only ever
    // moves up, by the characters and items inserted before it. Items land at their final
    // row less the `lowestWaiting` items still to come below them.
    qsizetype writeChar = top;
    qsizetype oldEnd = unmoved; // old items [0, oldEnd) have not moved yet
    const qsizetype firstBegin = firstMoved == 0 ? 0 : beginOf(firstMoved);
    const auto moveRun = [&](qsizetype first, qsizetype insertedBefore) {
        if (first >= oldEnd)
            return;
        const qsizetype begin = first == firstMoved ? firstBegin : ends[first - 1];
        const qsizetype end = ends[oldEnd - 1];
        const qsizetype shift = writeChar - end;
        if (shift != 0)
            std::memmove(chars + begin + shift, chars + begin, size_t(end - begin) * 2);
        for (qsizetype item = oldEnd - 1; item >= first; --item)
            ends[item + insertedBefore] = quint32(ends[item] + shift);
        writeChar = begin + shift;
        oldEnd = first;
    };
    for (qsizetype k = waiting - 1; k >= lowestWaiting; --k) {
        const qsizetype position = qsizetype(positions[k]);
        moveRun(position - k, k + 1 - lowestWaiting); // old items after it move up
        ends[position - lowestWaiting] = quint32(writeChar);
        writeChar -= texts.length(firstText + k);
        texts.copyTo(firstText + k, chars + writeChar);
    }
    moveRun(firstMoved, 0);

    const qsizetype below = firstMoved == 0 ? 0 : ends[firstMoved - 1];
    const bool gap = lowest > 0 && writeChar != below;
    data.gapItem = gap ? firstMoved : -1;
    data.gapBegin = gap ? writeChar : 0;
    return count - lowestWaiting;
}

void TextPool::truncate(qsizetype count)
{
    if (count >= size())
        return;
    Data &data = writable();
    data.chars.resize(size_t(count == 0 ? 0 : data.ends[size_t(count - 1)]));
    data.ends.resize(size_t(count));
}

TextPool TextPool::tail(qsizetype first) const
{
    if (first == 0)
        return *this;
    TextPool result;
    Data &data = result.writable();
    const qsizetype begin = first == 0 ? 0 : m_data->ends[size_t(first - 1)];
    appendChars(data.chars, m_data->chars.data() + begin, qsizetype(m_data->chars.size()) - begin);
    data.ends.reserve(size_t(size() - first));
    for (qsizetype item = first; item < size(); ++item)
        data.ends.push_back(quint32(m_data->ends[size_t(item)] - begin));
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

} // namespace

void TextPoolBuilder::reserve(qsizetype items, qsizetype characters)
{
    auto &chars = m_pool.writable().chars;
    const bool moves = chars.capacity() < size_t(characters);
    if (moves)
        stopFaultingAhead();
    m_pool.reserve(items, characters);
    constexpr size_t kWorthIt = size_t(32) << 20;
    const size_t bytes = chars.capacity() * sizeof(char16_t);
    if (moves && bytes >= kWorthIt)
        m_faultingAhead = std::make_unique<Prefaulter>(reinterpret_cast<char *>(chars.data()),
                                                       bytes, size_t(m_written) * sizeof(char16_t));
}

void TextPoolBuilder::stopFaultingAhead()
{
    if (m_faultingAhead) {
        m_faultingAhead->finish(size_t(m_written) * sizeof(char16_t));
        m_faultingAhead.reset();
    }
}

char16_t *TextPoolBuilder::space(qsizetype units)
{
    auto &chars = m_pool.writable().chars;
    checkCharacters(size_t(m_written + units));
    if (chars.capacity() < size_t(m_written + units)) {
        stopFaultingAhead();
        chars.reserve(std::max(size_t(m_written + units), chars.capacity() * 3 / 2));
    }
    chars.resize(size_t(m_written + units));
    return chars.data() + m_written;
}

void TextPoolBuilder::added(qsizetype units)
{
    if (units == 0)
        return; // a piece that ended inside a character
    TextPool::Data &data = m_pool.writable();
    char16_t *const chars = data.chars.data();
    const char16_t *read = chars + m_written;
    const char16_t *const end = read + units;
    char16_t *write = chars + m_written;

    // An LF right after a CR that ended the last piece belongs to that line end.
    if (m_afterCarriageReturn && read < end && *read == u'\n')
        ++read;
    m_afterCarriageReturn = false;
    while (read < end) {
        const char16_t *lineEnd = findLineEnd(read, end);
        const qsizetype length = lineEnd - read;
        if (write != read)
            std::memmove(write, read, size_t(length) * sizeof(char16_t));
        write += length;
        if (lineEnd == end)
            break;
        data.ends.push_back(quint32(write - chars));
        read = lineEnd + 1;
        if (*lineEnd == u'\r') {
            if (read == end)
                m_afterCarriageReturn = true;
            else if (*read == u'\n')
                ++read;
        }
    }
    m_written = write - chars;
    data.chars.resize(size_t(m_written));
    if (m_faultingAhead)
        m_faultingAhead->written(size_t(m_written) * sizeof(char16_t));
}

TextPool TextPoolBuilder::finish()
{
    stopFaultingAhead();
    TextPool::Data &data = m_pool.writable();
    const qsizetype lastEnd = data.ends.empty() ? 0 : data.ends.back();
    if (m_written > lastEnd)
        data.ends.push_back(quint32(m_written));
    TextPool result = std::move(m_pool);
    m_pool = TextPool();
    m_written = 0;
    m_afterCarriageReturn = false;
    return result;
}

void TextPoolBuilder::clear()
{
    stopFaultingAhead();
    m_pool.clear();
    m_written = 0;
    m_afterCarriageReturn = false;
}

TextPool TextPool::unpacked(const PackedTexts &packed)
{
    TextPool pool;
    pool.reserve(packed.size(), packed.characterCount());
    std::u16string text;
    for (qsizetype position = 0; position < packed.size(); ++position) {
        text.resize(size_t(packed.length(position)));
        packed.copyTo(position, text.data());
        pool.append(QStringView(text.data(), qsizetype(text.size())));
    }
    return pool;
}
