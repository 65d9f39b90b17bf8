#pragma once

#include "Failure.h"
#include "ItemText.h"
#include "PoolAllocator.h"
#include "TextBytes.h"
#include "WideFlags.h"

#include <QByteArrayView>
#include <QStringView>

#include <memory>
#include <new>
#include <utility>
#include <vector>

class PackedTexts;

// The item texts, end to end in one buffer: a million items cost one allocation of their
// characters plus one offset each, and scanning them touches memory in order. Each text is
// kept in one byte a character when all of them fit (Latin-1), else in UTF-16 (see ItemText):
// most lists are Latin-1 throughout, and their texts then take half the memory.
//
// Copies share the buffer until one of them changes (copy on write): a save or a scan keeps
// the list as it stood in a copy that costs nothing unless the list changes meanwhile.
class TextPool
{
public:
    TextPool();
    // The texts kept packed aside, as a pool of their own.
    static TextPool unpacked(const PackedTexts &packed);

    qsizetype size() const { return qsizetype(m_data->ends.size()) - m_data->endsGapSize; }
    bool empty() const { return size() == 0; }

    ItemText at(qsizetype position) const
    {
        return textIn(m_data->bytes.data(), beginOf(position), endIn(*m_data, position),
                      m_data->wide.test(position));
    }
    qsizetype length(qsizetype position) const { return at(position).size(); }
    // The bytes the item takes in the buffer (a UTF-16 one may take one more than its
    // characters, to begin at an even byte).
    qsizetype storedBytes(qsizetype position) const
    {
        return qsizetype(endIn(*m_data, position)) - beginOf(position);
    }
    // The most bytes the item takes when appended to another buffer: a UTF-16 one may need
    // the byte more there, whether or not it has it here. Room reserved by these never runs
    // short, so a buffer filled with millions of items never moves while it is filled.
    qsizetype bytesToAppend(qsizetype position) const
    {
        return isWide(position) ? storedBytes(position) / 2 * 2 + 1 : storedBytes(position);
    }
    bool isWide(qsizetype position) const { return m_data->wide.test(position); }
    // True when no text is kept in UTF-16.
    bool allLatin1() const { return m_data->wide.none(); }
    // Where a Latin-1 item's characters begin in the buffer, and the characters found from
    // there: the item is latin1Span(offsetOf(position), length(position)) while the pool does
    // not change.
    qsizetype offsetOf(qsizetype position) const { return beginOf(position); }
    ItemText latin1Span(qsizetype offset, qsizetype length) const
    {
        return ItemText::latin1(m_data->bytes.data() + offset, length);
    }
    // Where the item's bounds are kept, for prefetching before it is read.
    const quint32 *boundsOf(qsizetype position) const
    {
        return m_data->ends.data() + (position == 0 ? 0 : endIndex(*m_data, position - 1));
    }
    // The item's first byte, for prefetching before it is read.
    const char *dataOf(qsizetype position) const
    {
        return m_data->bytes.data() + beginOf(position);
    }

    // Keeps the text in one byte a character when it fits.
    // Appending fails (out of memory, or tooMuchText() beyond kMaxBytes) with the pool's
    // items as they were.
    void append(ItemText text);
    // Appends every item of `other`, or its items [first, last).
    void append(const TextPool &other);
    void append(const TextPool &other, qsizetype first, qsizetype last);
    // Room for this many items and bytes of text in all (at most kMaxBytes).
    void reserve(qsizetype items, qsizetype bytes);
    // Room for all of `other` to be appended, in one go or a part at a time: then nothing
    // fails until it is in. Fails as append() does, before any of it is.
    void reserveToAppend(const TextPool &other);
    void clear();

    // Removes the items at the given positions (ascending, no repeats) in one pass, in place.
    void removeSorted(const std::vector<quint32> &ascendingPositions);
    // Puts `texts` back at `ascendingPositions` (where they stand afterwards), in place: the
    // buffer still has room where a removal left it, so taking one back touches no new memory.
    // `count` positions; the k-th item put back is texts[firstText + k].
    void insertSorted(const quint32 *ascendingPositions, qsizetype count, const PackedTexts &texts,
                      qsizetype firstText = 0);
    // A removal a slice at a time, for lists too long to close up in one go without holding
    // up the window: after each slice the pool is a whole list again, the items removed so
    // far gone, the rest still there. `ascendingPositions` number the items as they were when
    // the removal began; the first `done` of them are gone, and so is every item before
    // `processed` that was to go. Handles the items before `until` (same numbering) and
    // returns how many positions are done then. Nothing else may change the pool until
    // `until` reaches the end (settled() is true again).
    //
    // With `removedOut`, each item removed is appended to it first, in list order. With
    // `givesMemoryBack`, the memory between the items closed up and those not handled yet
    // goes back to the system after each slice (the items closed up later take fresh pages
    // there): a removal that takes most of a long list then needs little more memory than
    // the list did, though it keeps what it takes.
    qsizetype removeSortedUpTo(const std::vector<quint32> &ascendingPositions, qsizetype done,
                               qsizetype processed, qsizetype until,
                               PackedTexts *removedOut = nullptr, bool givesMemoryBack = false);
    // An insertion a slice at a time, from the end of the list down, the other way round:
    // `count` positions are where the items stand once all are in (the k-th is
    // texts[firstText + k]); the last `placed` of them are in, and with them every item from
    // row `settledFrom` of the final list on. Handles the final rows from `lowest` on and
    // returns how many items are placed then.
    qsizetype insertSortedDownTo(const quint32 *ascendingPositions, qsizetype count,
                                 const PackedTexts &texts, qsizetype firstText, qsizetype placed,
                                 qsizetype settledFrom, qsizetype lowest);
    bool settled() const { return m_data->gapItem < 0 && m_data->endsGapSize == 0; }
    // Gets an insertion of insertSortedDownTo ready before its first slice, up to `rows` rows
    // a call, changing no item: one that involves UTF-16 texts first works out where every
    // row from its first one on will end, a pass that at ten million rows would hold the
    // window up if the first slice made it whole. True once ready (at once when it needs no
    // such pass); the first slice finishes whatever is left.
    bool prepareInsertion(const quint32 *ascendingPositions, qsizetype count,
                          const PackedTexts &texts, qsizetype firstText, qsizetype rows);

    // Keeps the first `count` items.
    void truncate(qsizetype count);
    // The items from `first` on; shares the buffer when that is every item.
    TextPool tail(qsizetype first) const;

    // The bytes the texts take in the buffer.
    qsizetype byteCount() const { return qsizetype(m_data->bytes.size()); }
    // The memory the buffer holds (shared with every copy).
    qsizetype bytesHeld() const
    {
        return qsizetype(m_data->bytes.capacity() + m_data->ends.capacity() * sizeof(quint32));
    }
    // Every item's bytes end to end as kept, for a scan of them all at memory speed; only
    // while no removal or insertion is part way through (settled()).
    QByteArrayView bytes() const
    {
        Q_ASSERT(settled());
        return QByteArrayView(m_data->bytes.data(), qsizetype(m_data->bytes.size()));
    }

    // True when both share one buffer (nothing was copied).
    bool sharesWith(const TextPool &other) const { return m_data == other.m_data; }

    // The most bytes a pool's texts take (a character of Latin-1 takes one, any other two);
    // more fail with tooMuchText(), the list's size limit in the user's language.
    static constexpr qsizetype kMaxBytes = qsizetype(UINT32_MAX);
    static Failure tooMuchText();

private:
    friend class TextPoolBuilder;

    // The texts laid out as TextBytes says.
    struct Data
    {
        TextBytes bytes;
        // One past each item's last byte: 32 bits, as a pool holds fewer than 2^32 bytes of
        // text (kMaxBytes), which makes it 4 bytes an item lighter.
        std::vector<quint32, PoolAllocator<quint32>> ends;
        WideFlags wide;
        // While a removal is under way, the items before `gapItem` are closed up and the rest
        // still stand where they were, the first of them at `gapBegin`.
        qsizetype gapItem = -1;
        qsizetype gapBegin = 0;
        // The ends of the items not handled yet stay where they are too (closing them up
        // after every slice would move all of them, again and again): from item
        // `endsGapAt` on, an item's end is `endsGapSize` entries further on (none when
        // settled, wherever `endsGapAt` is).
        qsizetype endsGapAt = 0;
        qsizetype endsGapSize = 0;
        // While an insertion that involves UTF-16 texts is under way: where each of the rows
        // from its first one on ends once it is through (complete when it has a row for each
        // of them), and how far working that out has come: the end of the last row laid out,
        // and how many of the items to insert are among the rows laid out.
        std::vector<quint32> finalEnds;
        qsizetype finalEnd = 0;
        qsizetype finalInserted = 0;
    };
    static qsizetype endIndex(const Data &data, qsizetype position)
    {
        return position < data.endsGapAt ? position : position + data.endsGapSize;
    }
    static quint32 endIn(const Data &data, qsizetype position)
    {
        return data.ends[size_t(endIndex(data, position))];
    }
    qsizetype beginOf(qsizetype position) const
    {
        if (position == m_data->gapItem)
            return m_data->gapBegin;
        return position == 0 ? 0 : qsizetype(endIn(*m_data, position - 1));
    }
    // Makes the buffer this pool's own before it changes.
    Data &writable();
    // The size limit's message, untranslated (a text of the "Tarnwell" context).
    static const char *const kTooMuchText;
    // Refuses a pool of more bytes than its 32-bit item ends can reach.
    static void checkBytes(size_t bytes)
    {
        if (bytes > size_t(kMaxBytes))
            throw tooMuchText();
    }
    // Makes room for `count` more bytes at the end of `bytes`; returns where they go.
    static char *growBytes(TextBytes &bytes, size_t count)
    {
        return growTextBytes(bytes, count, kTooMuchText);
    }
    // Takes the pool back to its first `items` items in its first `bytes` bytes, after an
    // append that failed part way.
    static void cutBack(Data &data, qsizetype items, size_t bytes);
    // Appends the text at the end of the buffer, as the last item.
    static void appendText(Data &data, ItemText text);
    // Where one slice of insertSortedDownTo stands (rows of the final list, items of today's).
    struct InsertionSlice
    {
        qsizetype waiting = 0;       // texts [0, waiting) are still to go in
        qsizetype unmoved = 0;       // old items [0, unmoved) have not moved yet
        qsizetype settledItems = 0;  // items in already, from row `settledFrom` on
        qsizetype lowestWaiting = 0; // of those waiting, the ones below row `lowest`
        qsizetype inserting = 0;     // texts this slice puts in
        qsizetype firstMoved = 0;    // the lowest old item this slice moves
    };
    // The slice from row `lowest` on, with room made among the ends (and form flags) for the
    // texts it puts in: the settled items' move up past them.
    InsertionSlice openUpSlice(const quint32 *ascendingPositions, qsizetype count, qsizetype placed,
                               qsizetype settledFrom, qsizetype lowest);
    // The insertion of insertSortedDownTo when every text is Latin-1, and when not.
    qsizetype insertLatin1DownTo(const quint32 *ascendingPositions, qsizetype count,
                                 const PackedTexts &texts, qsizetype firstText, qsizetype placed,
                                 qsizetype settledFrom, qsizetype lowest);
    // Lays out up to `rows` more rows of the final ends (all that are left when negative);
    // true once every row is laid out, and the buffer has room for them all.
    bool layOutFinalEnds(Data &data, const quint32 *ascendingPositions, qsizetype count,
                         const PackedTexts &texts, qsizetype firstText, qsizetype rows);
    qsizetype insertMixedDownTo(const quint32 *ascendingPositions, qsizetype count,
                                const PackedTexts &texts, qsizetype firstText, qsizetype placed,
                                qsizetype settledFrom, qsizetype lowest);
    // Gives the whole pages in [from, to) of the buffer back to the system, when that is
    // worth a call.
    static void releasePages(char *from, char *to);

    std::shared_ptr<Data> m_data;
};
