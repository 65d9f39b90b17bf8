#include "SlicedChange.h"

#include "ItemStore.h"

#include <algorithm>

namespace {
// How many of the items put back at `positions` (where they stand once back) stand before
// the item that now stands at `row`, among the items that are not put back.
qsizetype insertedBefore(const std::vector<quint32> &positions, qsizetype row)
{
    qsizetype low = 0, high = qsizetype(positions.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (qsizetype(positions[size_t(middle)]) - middle <= row)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
} // namespace

SlicedChange SlicedChange::removal(std::shared_ptr<const std::vector<quint32>> ascending,
                                   qsizetype count, std::shared_ptr<PackedTexts> removedOut,
                                   bool givesMemoryBack)
{
    SlicedChange change;
    change.m_positions = std::move(ascending);
    change.m_originalCount = count;
    change.m_removedOut = std::move(removedOut);
    change.m_givesMemoryBack = givesMemoryBack;
    return change;
}

SlicedChange SlicedChange::insertion(const ListChange &removal, qsizetype countAfter)
{
    SlicedChange change;
    change.m_insertion = &removal;
    change.m_settledFrom = countAfter;
    return change;
}

qsizetype SlicedChange::settledRow(qsizetype row) const
{
    if (m_insertion != nullptr) {
        const auto &positions = m_insertion->removedPositions();
        const qsizetype unmoved = m_settledFrom - (qsizetype(positions.size()) - m_placed);
        if (row >= unmoved)
            return m_settledFrom + (row - unmoved);
        return row + insertedBefore(positions, row);
    }
    if (row < m_processed - m_done)
        return row;
    const quint32 original = quint32(row + m_done);
    const auto below = std::lower_bound(m_positions->begin(), m_positions->end(), original);
    if (below != m_positions->end() && *below == original)
        return -1;
    return qsizetype(original) - (below - m_positions->begin());
}

SlicedChange::Slice SlicedChange::next(qsizetype items) const
{
    Slice slice;
    if (m_insertion != nullptr) {
        const auto &positions = m_insertion->removedPositions();
        const qsizetype waiting = qsizetype(positions.size()) - m_placed;
        slice.reach = std::max<qsizetype>(0, m_settledFrom - items);
        slice.firstIndex =
            std::lower_bound(positions.begin(), positions.begin() + waiting, slice.reach) -
            positions.begin();
        slice.lastIndex = waiting;
        slice.rowsAdded = waiting - slice.firstIndex;
        // The first row that moves: below the final rows handled, less those coming back.
        const qsizetype unmoved = m_settledFrom - waiting;
        slice.firstChangedRow = unmoved - ((m_settledFrom - slice.reach) - slice.rowsAdded);
        return slice;
    }
    slice.reach = std::min(m_originalCount, m_processed + items);
    slice.firstIndex = m_done;
    slice.lastIndex =
        std::lower_bound(m_positions->begin() + m_done, m_positions->end(), quint32(slice.reach)) -
        m_positions->begin();
    slice.rowsRemoved = slice.lastIndex - slice.firstIndex;
    slice.firstChangedRow =
        slice.rowsRemoved > 0 ? qsizetype((*m_positions)[size_t(m_done)]) - m_done : 0;
    return slice;
}

SlicedChange::Slice SlicedChange::rest() const
{
    return next(m_insertion != nullptr ? m_settledFrom : m_originalCount);
}

qsizetype SlicedChange::rowAfter(const Slice &slice, qsizetype row) const
{
    if (m_insertion != nullptr) {
        const qsizetype unmoved = m_settledFrom - (slice.lastIndex);
        if (row >= unmoved)
            return row + slice.rowsAdded;
        if (row >= slice.firstChangedRow)
            return row + insertedBefore(m_insertion->removedPositions(), row) - slice.firstIndex;
        return row;
    }
    if (row < m_processed - m_done)
        return row;
    const auto sliceBegin = m_positions->begin() + slice.firstIndex;
    const auto sliceEnd = m_positions->begin() + slice.lastIndex;
    const quint32 original = quint32(row + m_done);
    const auto below = std::lower_bound(sliceBegin, sliceEnd, original);
    if (below != sliceEnd && *below == original)
        return -1;
    return row - (below - sliceBegin);
}

bool SlicedChange::prepare(ItemStore &store, qsizetype rows) const
{
    if (m_insertion == nullptr || m_placed > 0)
        return true;
    return store.prepareInsertion(m_insertion->removedPositions(), m_insertion->removedItems(),
                                  rows);
}

bool SlicedChange::apply(const Slice &slice, ItemStore &store)
{
    if (m_insertion != nullptr) {
        m_placed =
            store.insertSortedDownTo(m_insertion->removedPositions(), m_insertion->removedItems(),
                                     m_insertion->checks, m_placed, m_settledFrom, slice.reach);
        m_settledFrom = slice.reach;
        return m_settledFrom > 0;
    }
    m_done = store.removeSortedUpTo(*m_positions, m_done, m_processed, slice.reach,
                                    m_removedOut.get(), m_givesMemoryBack);
    m_processed = slice.reach;
    return m_processed < m_originalCount;
}
