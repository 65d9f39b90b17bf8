#pragma once

#include "PoolAllocator.h"
#include "Prefaulter.h"

#include <QStringView>

#include <memory>
#include <new>
#include <utility>
#include <vector>

class PackedTexts;

// The item texts, end to end in one buffer: a million items cost one allocation of their
// characters plus one offset each, and scanning them touches memory in order.
//
// Copies share the buffer until one of them changes (copy on write): a save or a scan keeps
// the list as it stood in a copy that costs nothing unless the list changes meanwhile.
class TextPool
{
public:
    TextPool();
    // The texts kept packed aside, as a pool of their own.
    static TextPool unpacked(const PackedTexts &packed);

    qsizetype size() const { return qsizetype(m_data->ends.size()); }
    bool empty() const { return m_data->ends.empty(); }

    QStringView at(qsizetype position) const
    {
        const qsizetype begin = beginOf(position);
        return QStringView(m_data->chars.data() + begin,
                           qsizetype(m_data->ends[size_t(position)]) - begin);
    }
    qsizetype length(qsizetype position) const
    {
        return qsizetype(m_data->ends[size_t(position)]) - beginOf(position);
    }
    // Where the item's characters begin in the buffer, and the characters found from there:
    // the item is span(offsetOf(position), length(position)) while the pool does not change.
    qsizetype offsetOf(qsizetype position) const { return beginOf(position); }
    QStringView span(qsizetype offset, qsizetype length) const
    {
        return QStringView(m_data->chars.data() + offset, length);
    }
    // Where the item's bounds are kept, for prefetching before it is read.
    const quint32 *boundsOf(qsizetype position) const
    {
        return m_data->ends.data() + (position == 0 ? 0 : position - 1);
    }
    // The first character of the item, for prefetching before it is read.
    const char16_t *charsOf(qsizetype position) const
    {
        return m_data->chars.data() + beginOf(position);
    }

    void append(QStringView text);
    // Appends every item of `other`, or its items [first, last).
    void append(const TextPool &other);
    void append(const TextPool &other, qsizetype first, qsizetype last);
    void reserve(qsizetype items, qsizetype characters);
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
    // `charactersAfter` (how many characters the pool holds once the removal is through),
    // the memory between the items closed up and those not handled yet that nothing will
    // be written to again goes back to the system at once: a removal that takes most of a
    // long list then needs little more memory than the list did, though it keeps what it
    // takes.
    qsizetype removeSortedUpTo(const std::vector<quint32> &ascendingPositions, qsizetype done,
                               qsizetype processed, qsizetype until,
                               PackedTexts *removedOut = nullptr, qsizetype charactersAfter = -1);
    // An insertion a slice at a time, from the end of the list down, the other way round:
    // `count` positions are where the items stand once all are in (the k-th is
    // texts[firstText + k]); the last `placed` of them are in, and with them every item from
    // row `settledFrom` of the final list on. Handles the final rows from `lowest` on and
    // returns how many items are placed then.
    qsizetype insertSortedDownTo(const quint32 *ascendingPositions, qsizetype count,
                                 const PackedTexts &texts, qsizetype firstText, qsizetype placed,
                                 qsizetype settledFrom, qsizetype lowest);
    bool settled() const { return m_data->gapItem < 0; }

    // Keeps the first `count` items.
    void truncate(qsizetype count);
    // The items from `first` on; shares the buffer when that is every item.
    TextPool tail(qsizetype first) const;

    qsizetype characterCount() const { return qsizetype(m_data->chars.size()); }
    // The memory the buffer holds (shared with every copy).
    qsizetype bytesHeld() const
    {
        return qsizetype(m_data->chars.capacity() * sizeof(char16_t) +
                         m_data->ends.capacity() * sizeof(quint32));
    }
    // Every item's characters end to end, for a scan of them all at memory speed; only while
    // no removal or insertion is part way through (settled()).
    QStringView characters() const
    {
        Q_ASSERT(settled());
        return QStringView(m_data->chars.data(), qsizetype(m_data->chars.size()));
    }

    // True when both share one buffer (nothing was copied).
    bool sharesWith(const TextPool &other) const { return m_data == other.m_data; }

    // The most characters a pool holds; more throw std::length_error.
    static constexpr qsizetype kMaxCharacters = qsizetype(UINT32_MAX);

private:
    friend class TextPoolBuilder;

    struct Data
    {
        std::vector<char16_t, PoolAllocator<char16_t>> chars;
        // One past each item's last character: 32 bits, as a pool holds fewer than 2^32
        // characters (kMaxCharacters), which makes it 4 bytes an item lighter.
        std::vector<quint32, PoolAllocator<quint32>> ends;
        // While a removal is under way, the items before `gapItem` are closed up and the rest
        // still stand where they were, the first of them at `gapBegin`.
        qsizetype gapItem = -1;
        qsizetype gapBegin = 0;
    };
    qsizetype beginOf(qsizetype position) const
    {
        if (position == m_data->gapItem)
            return m_data->gapBegin;
        return position == 0 ? 0 : qsizetype(m_data->ends[size_t(position - 1)]);
    }
    // Makes the buffer this pool's own before it changes.
    Data &writable();
    // Gives the whole pages in [from, to) of the buffer back to the system, when that is
    // worth a call.
    static void releasePages(char16_t *from, char16_t *to);

    std::shared_ptr<Data> m_data;
};

// Builds a pool from decoded text that arrives in pieces: each piece is decoded straight into
// the pool's buffer, then split into items at its line ends (CR LF, CR or LF) in place, so a
// file costs its items' memory and no copy of its text.
class TextPoolBuilder
{
public:
    // Room for `units` more decoded characters; write them there, then call added().
    char16_t *space(qsizetype units);
    void added(qsizetype units);
    // A last line without a line end becomes an item too.
    TextPool finish();

    // Room for this many items and characters in all. A large room has its pages faulted in
    // ahead of the decoding, on another core (Prefaulter).
    void reserve(qsizetype items, qsizetype characters);
    void clear();
    qsizetype itemCount() const { return m_pool.size(); }
    qsizetype characterCount() const { return m_written; }

private:
    // Stops faulting in the buffer's pages ahead, before it moves or is handed over.
    void stopFaultingAhead();

    TextPool m_pool;
    std::unique_ptr<Prefaulter> m_faultingAhead;
    qsizetype m_written = 0; // characters kept so far (line ends left out)
    bool m_afterCarriageReturn = false;
};
