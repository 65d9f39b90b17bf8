#include "TextPoolBuilder.h"

#include "Latin1Narrowing.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    return TextPool::growBytes(buffer, size_t(bytes));
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
