#pragma once

#include "ListChange.h"

#include <QtGlobal>

#include <memory>
#include <utility>
#include <vector>

class ItemStore;

// Runs of consecutive positions (ascending), up to one more than `limit`.
template <typename Position>
std::vector<std::pair<qsizetype, qsizetype>> RunsOf(const std::vector<Position> &ascending,
                                                    size_t limit)
{
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    for (const Position at : ascending) {
        const auto position = qsizetype(at);
        if (!runs.empty() && runs.back().second + 1 == position)
            runs.back().second = position;
        else
            runs.emplace_back(position, position);
        if (runs.size() > limit)
            break;
    }
    return runs;
}

// A removal of many scattered items, or the taking back of one, done a slice at a time so
// that a long list is not held up for the whole of it.
//
// What holds between slices:
// - The store is a whole list: a removal has taken the items of the slices handled so far
//   (from the top down), an insertion has put back those of the final rows from its
//   lowest slice on (from the bottom up); every other item stands as it did before.
// - Nothing else changes the store until the change is through: whatever would, finishes it
//   first, and positions given meanwhile are moved to where they will stand (settledRow).
// - An insertion reads the record of the removal it takes back, which outlives it.
class SlicedChange
{
public:
    // Worth doing in slices: a long list and more than a few runs of positions.
    template <typename Position>
    static bool worthSlicing(const std::vector<Position> &ascending, qsizetype listCount,
                             qsizetype itemsPerSlice)
    {
        return listCount > 2 * itemsPerSlice && beyondRuns(ascending, itemsPerSlice);
    }
    // True when removing `ascending` is more than a few runs of rows to take out one by one:
    // many runs, or many items even in a few runs (the view's share of removing millions of
    // rows at once holds the window up as much as the removal).
    template <typename Position>
    static bool beyondRuns(const std::vector<Position> &ascending, qsizetype itemsPerSlice)
    {
        return qsizetype(ascending.size()) > itemsPerSlice ||
               RunsOf(ascending, kMaxRunsSeparately).size() > kMaxRunsSeparately;
    }
    // A few runs go row by row; beyond this many, one pass over the buffer is cheaper.
    static constexpr size_t kMaxRunsSeparately = 8;

    // Removing `ascending` from a list of `count` items. With `removedOut`, the items are
    // packed into it as they go (see TextPool::removeSortedUpTo), and with `givesMemoryBack`
    // the list's memory they leave is given back as they go.
    static SlicedChange removal(std::shared_ptr<const std::vector<quint32>> ascending,
                                qsizetype count, std::shared_ptr<PackedTexts> removedOut = {},
                                bool givesMemoryBack = false);
    // Putting back the items `removal` took (a Removed change), into a list that will have
    // `countAfter` items then.
    static SlicedChange insertion(const ListChange &removal, qsizetype countAfter);

    bool isInsertion() const { return m_insertion != nullptr; }
    // True for a removal that packs the items it takes as it goes.
    bool packs() const { return m_removedOut != nullptr; }
    // Where the item now at `row` stands once the change is through; -1 when it goes.
    qsizetype settledRow(qsizetype row) const;

    // What one slice does to the rows.
    struct Slice
    {
        qsizetype reach = 0;           // removal: the first original row left; insertion:
                                       // the lowest final row done
        qsizetype rowsAdded = 0;       // rows the list gains
        qsizetype rowsRemoved = 0;     // rows the list loses
        qsizetype firstChangedRow = 0; // rows before it keep their items
        qsizetype firstIndex = 0;      // the slice's positions, [firstIndex, lastIndex)
        qsizetype lastIndex = 0;
        bool changesRows() const { return rowsAdded > 0 || rowsRemoved > 0; }
    };
    // The next slice of up to `items` items, or all that is left.
    Slice next(qsizetype items) const;
    Slice rest() const;
    // Where the row `row` stands after `slice` (numbering before it); -1 when it goes.
    qsizetype rowAfter(const Slice &slice, qsizetype row) const;
    // Does `slice` to the store; true while some is left.
    bool apply(const Slice &slice, ItemStore &store);
    // Gets the store ready for the first slice, `rows` rows a call, changing no item; true
    // once ready.
    bool prepare(ItemStore &store, qsizetype rows) const;

private:
    SlicedChange() = default;

    // A removal: ascending positions numbering the list as it was, of which `done` are gone,
    // and every item before `processed` handled.
    std::shared_ptr<const std::vector<quint32>> m_positions;
    qsizetype m_originalCount = 0;
    qsizetype m_done = 0;
    qsizetype m_processed = 0;
    std::shared_ptr<PackedTexts> m_removedOut;
    bool m_givesMemoryBack = false;
    // An insertion: the removal taken back, of whose items the last `m_placed` are back, and
    // with them every final row from `m_settledFrom` on.
    const ListChange *m_insertion = nullptr;
    qsizetype m_placed = 0;
    qsizetype m_settledFrom = 0;
};
