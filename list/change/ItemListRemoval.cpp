// Removing items: a few at once, or a long removal a slice at a time (SlicedChange), with
// the items it takes packed for the history as it goes.

#include "ItemList.h"

#include "LargeMemory.h"

#include <algorithm>

void ItemList::removeAt(qsizetype position)
{
    removePositions({position});
}

void ItemList::removeRange(qsizetype first, qsizetype last)
{
    beginRemoveRows({}, int(first), int(last));
    m_store.removeRange(first, last);
    ++m_revision;
    endRemoveRows();
}

void ItemList::settleBefore(std::vector<qsizetype> &positions, PackedTexts &gathered)
{
    if (!changeUnderWay())
        return;
    // The positions number the list as it stands now, part way through the change.
    positions = settledPositions(positions);
    gathered.clear();
    settle();
}

std::vector<qsizetype> ItemList::settledPositions(const std::vector<qsizetype> &positions) const
{
    std::vector<qsizetype> settled;
    settled.reserve(positions.size());
    for (const qsizetype position : positions) {
        const qsizetype kept = settledPosition(position);
        if (kept >= 0)
            settled.push_back(kept);
    }
    return settled;
}

ListChange ItemList::removal(const std::vector<quint32> &ascending, PackedTexts &&gathered,
                             qsizetype removedBytes) const
{
    ListChange change(ListChange::Kind::Removed, 0, qsizetype(ascending.size()));
    change.checks.reserve(ascending.size());
    for (const quint32 position : ascending)
        change.checks.push_back(m_store.checks()[size_t(position)]);
    // What goes is kept for undo only when someone keeps a history.
    if (recordsChanges()) {
        if (gathered.size() == qsizetype(ascending.size())) {
            change.removed = std::make_shared<PackedTexts>(std::move(gathered));
            return change;
        }
        if (removedBytes >= 0) {
            // Packed by the removal as it goes, into room for them all.
            change.removed = std::make_shared<PackedTexts>();
            change.removed->reserve(qsizetype(ascending.size()), removedBytes);
        } else {
            change.removed = std::make_shared<PackedTexts>(
                m_store.gatherTexts(ascending, 0, qsizetype(ascending.size()), {}));
        }
    }
    return change;
}

void ItemList::removePositions(std::vector<qsizetype> positions, PackedTexts gathered)
{
    remove(std::move(positions), std::move(gathered), false);
}

void ItemList::startRemoval(std::vector<qsizetype> positions, PackedTexts gathered)
{
    remove(std::move(positions), std::move(gathered), true);
}

void ItemList::remove(std::vector<qsizetype> positions, PackedTexts gathered, bool mayGoInSlices)
{
    settleBefore(positions, gathered);
    if (positions.empty())
        return;
    sortAscending(positions);
    auto ascending =
        std::make_shared<const std::vector<quint32>>(positions.begin(), positions.end());
    std::vector<qsizetype>().swap(positions); // the 32-bit copy is all that is needed
    removeSorted(std::move(ascending), std::move(gathered), mayGoInSlices);
}

void ItemList::startPackingRemoval(std::vector<quint32> ascending)
{
    if (changeUnderWay()) {
        // They number the list as it stands, part way through a change.
        startRemoval(std::vector<qsizetype>(ascending.begin(), ascending.end()));
        return;
    }
    if (ascending.empty())
        return;
    removeSorted(std::make_shared<const std::vector<quint32>>(std::move(ascending)), {}, true);
}

void ItemList::removeSorted(std::shared_ptr<const std::vector<quint32>> ascending,
                            PackedTexts gathered, bool mayGoInSlices)
{
    const std::vector<quint32> &positions = *ascending;
    // A removal in slices is told to the history whole, at once: nothing else changes the
    // list before it is through (see settle()). Unless its texts were gathered beforehand,
    // it packs them for the history as it goes: gathering them first would need room for
    // them beside the whole list.
    const bool packs =
        gathered.size() != qsizetype(positions.size()) && packsAsItRemoves(positions);
    qsizetype removedBytes = -1;
    if (packs) {
        // The texts are packed into fresh memory as the list gives its own back: a spare
        // buffer (the scan's table) taken for them would be held from the start, beside
        // the whole list, and would make the removal's peak.
        releaseSpareMemory();
        // Room for their share of the list's bytes and a quarter more, which costs only
        // address space until it is written: adding up their sizes would read every one of
        // them, a pause of its own on a list of tens of millions.
        const double share = double(positions.size()) / double(std::max<qsizetype>(1, count()));
        removedBytes = std::min(m_store.texts().byteCount(),
                                qsizetype(double(m_store.texts().byteCount()) * share * 1.25)) +
                       qsizetype(positions.size());
    }
    ListChange change = removal(positions, std::move(gathered), removedBytes);
    const bool inSlices =
        mayGoInSlices && SlicedChange::worthSlicing(positions, count(), m_itemsPerRemovalSlice);
    change.removedAt = std::move(ascending);
    removeSortedPositions(change.removedAt, inSlices, packs ? change.removed : nullptr, packs);
    record(std::move(change));
}

void ItemList::removeSortedPositions(const std::shared_ptr<const std::vector<quint32>> &ascending,
                                     bool inSlices, std::shared_ptr<PackedTexts> removedOut,
                                     bool givesMemoryBack)
{
    // A few runs go row by row, unless the removal is to go in slices or pack what it takes.
    if (!inSlices && removedOut == nullptr) {
        const auto runs = RunsOf(*ascending, SlicedChange::kMaxRunsSeparately);
        if (runs.size() <= SlicedChange::kMaxRunsSeparately) {
            showPendingRows(); // the view hears of each run
            // From the highest run down, so the lower runs keep their positions.
            for (auto run = runs.rbegin(); run != runs.rend(); ++run)
                removeRange(run->first, run->second);
            return;
        }
    }
    startSliced(SlicedChange::removal(ascending, count(), std::move(removedOut), givesMemoryBack),
                inSlices);
}

void ItemList::startSliced(SlicedChange change, bool inSlices)
{
    Q_ASSERT(m_rowsInPassing == 0); // a change under way is settled first
    m_sliced = std::move(change);
    // No row has changed yet, but the list has: what a procedure that yielded meanwhile
    // worked out is out of date.
    ++m_revision;
    // In slices, the first comes at the caller's next turn: working out the change took
    // a while of its own on a long list.
    if (!inSlices)
        settle();
}

bool ItemList::continueChange()
{
    // A removal that packs what it takes writes that into fresh memory as well, and an
    // insertion writes every item it puts back there: a quarter of the items make a slice
    // as long.
    const qsizetype items = m_sliced && (m_sliced->packs() || m_sliced->isInsertion())
                                ? std::max<qsizetype>(1, m_itemsPerRemovalSlice / 4)
                                : m_itemsPerRemovalSlice;
    return doSlice(items);
}

void ItemList::settle()
{
    doSlice(-1);
    showPendingRows();
}

qsizetype ItemList::finishChange(qsizetype position)
{
    if (!m_sliced)
        return position;
    qsizetype settled = -1;
    for (qsizetype at = std::min(position, count() - 1); at >= 0 && settled < 0; --at)
        settled = settledPosition(at);
    doSlice(-1);
    return settled;
}

bool ItemList::doSlice(qsizetype items)
{
    if (!m_sliced)
        return false;
    // Getting ready changes no item: the list stays as it is, a whole list.
    if (items >= 0 && !m_sliced->prepare(m_store, items))
        return true;
    const SlicedChange::Slice slice = items < 0 ? m_sliced->rest() : m_sliced->next(items);
    bool more = false;
    const auto apply = [&] {
        more = m_sliced->apply(slice, m_store);
        if (!more)
            m_sliced.reset();
    };
    if (!slice.changesRows() || m_rowsPending) {
        apply(); // the view has no rows for these items yet
        ++m_revision;
    } else {
        // Rows are moved before the slice is applied, which may end the change.
        const SlicedChange *sliced = &*m_sliced;
        changeRows(
            count() + slice.rowsAdded - slice.rowsRemoved, slice.firstChangedRow,
            [&](qsizetype row) { return sliced->rowAfter(slice, row); }, apply);
    }
    if (!more)
        dropRowsInPassing();
    return more;
}

void ItemList::sortAscending(std::vector<qsizetype> &positions)
{
    // Filters find their positions in order, duplicate removal from the end down; sorting
    // millions of them when they are in order already would cost more than the removal.
    if (std::is_sorted(positions.begin(), positions.end()))
        return;
    if (std::is_sorted(positions.rbegin(), positions.rend()))
        std::reverse(positions.begin(), positions.end());
    else
        std::sort(positions.begin(), positions.end());
}
