#include "ItemList.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

namespace {
// A few runs are removed row by row; beyond this many runs one pass over the buffer, told to
// the view as rows changed and rows gone at the end, is far cheaper than a pass per run.
constexpr size_t kMaxRunsRemovedSeparately = 8;

// Runs of consecutive positions (ascending), up to one more than `limit`.
std::vector<std::pair<qsizetype, qsizetype>> runsOf(const std::vector<qsizetype> &positions,
                                                    size_t limit)
{
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    for (qsizetype position : positions) {
        if (!runs.empty() && runs.back().second + 1 == position)
            runs.back().second = position;
        else
            runs.emplace_back(position, position);
        if (runs.size() > limit)
            break;
    }
    return runs;
}

int clampToInt(qsizetype value)
{
    return int(std::min<qsizetype>(value, std::numeric_limits<int>::max()));
}
} // namespace

ItemList::ItemList(QObject *parent) : QAbstractTableModel(parent) {}

void ItemList::addColumn(const QString &header)
{
    const int column = int(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers.append(header);
    endInsertColumns();
}

bool ItemList::setChecked(qsizetype position, bool checked)
{
    if (m_pendingInsertion) {
        // The history would take the step being put back from under it.
        position = settledPosition(position);
        settle();
    }
    // The history hears where the item stands once the removal under way is through, so
    // that taking back the step's changes in turn meets the list as each left it.
    const qsizetype settled = settledPosition(position);
    if (settled < 0)
        return false;
    const quint8 mark = checked ? 1 : 0;
    if (m_checked[size_t(position)] == mark)
        return true;
    m_checked[size_t(position)] = mark;
    const QModelIndex cell = index(int(position), 0);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
    ListChange change(ListChange::Kind::MarksFlipped, settled, 1);
    change.positions.push_back(settled);
    record(std::move(change));
    return true;
}

void ItemList::setCheckedAll(std::vector<qsizetype> positions, bool checked)
{
    if (changeUnderWay()) {
        // Where those items stand once the change under way is through.
        positions = settledPositions(positions);
        settle();
    }
    const quint8 mark = checked ? 1 : 0;
    ListChange change(ListChange::Kind::MarksFlipped, 0, 0);
    for (const qsizetype position : positions) {
        if (m_checked[size_t(position)] != mark)
            change.positions.push_back(position);
    }
    if (change.positions.empty())
        return;
    flipMarks(change.positions);
    change.count = qsizetype(change.positions.size());
    change.first = *std::min_element(change.positions.begin(), change.positions.end());
    record(std::move(change));
}

void ItemList::reorder(std::vector<quint32> order, TextPool texts)
{
    settle();
    Q_ASSERT(qsizetype(order.size()) == count() && texts.size() == count());
    exchangeOrder(texts, order, true);
    ListChange change(ListChange::Kind::Reordered, 0, count());
    change.order = std::move(order);
    change.texts = std::move(texts); // the old order's
    record(std::move(change));
}

void ItemList::exchangeOrder(TextPool &texts, const std::vector<quint32> &order, bool forward)
{
    std::vector<quint8> checks(m_checked.size());
    for (size_t position = 0; position < order.size(); ++position) {
        if (forward)
            checks[position] = m_checked[order[position]];
        else
            checks[order[position]] = m_checked[position];
    }
    beginResetModel();
    std::swap(m_texts, texts);
    m_checked.swap(checks);
    ++m_revision;
    endResetModel();
}

void ItemList::flipMarks(const std::vector<qsizetype> &positions)
{
    if (positions.empty())
        return;
    for (const qsizetype position : positions)
        m_checked[size_t(position)] ^= 1;
    // One signal for the span: a signal per row costs the view far more than the flips.
    const auto [lowest, highest] = std::minmax_element(positions.begin(), positions.end());
    Q_EMIT dataChanged(index(int(*lowest), 0), index(int(*highest), 0), {Qt::CheckStateRole});
}

void ItemList::record(ListChange &&change)
{
    if (m_observer != nullptr && !m_replaying)
        m_observer->listChanged(std::move(change));
}

void ItemList::append(QStringView text)
{
    settle();
    const int row = int(count());
    beginInsertRows({}, row, row);
    m_texts.append(text);
    m_checked.push_back(0);
    ++m_revision;
    endInsertRows();
    record(ListChange(ListChange::Kind::Appended, row, 1));
}

void ItemList::appendAll(const std::vector<QStringView> &texts)
{
    settle();
    if (texts.empty())
        return;
    qsizetype characters = m_texts.characterCount();
    for (QStringView text : texts)
        characters += text.size();
    const int first = int(count());
    beginInsertRows({}, first, first + int(texts.size()) - 1);
    // Grow geometrically: imports append in many batches.
    m_texts.reserve(std::max(count() + qsizetype(texts.size()), count() * 3 / 2),
                    std::max(characters, m_texts.characterCount() * 3 / 2));
    for (QStringView text : texts)
        m_texts.append(text);
    m_checked.resize(m_checked.size() + texts.size(), 0);
    ++m_revision;
    endInsertRows();
    record(ListChange(ListChange::Kind::Appended, first, qsizetype(texts.size())));
}

void ItemList::appendPool(const TextPool &texts)
{
    settle();
    if (texts.empty())
        return;
    if (count() > 0) {
        appendPool(texts, 0, texts.size());
        return;
    }
    // Into an empty list the view starts afresh: telling it of ten million inserted rows
    // costs it four times what a reset does, and there is no current row or scroll position
    // to keep.
    beginResetModel();
    m_texts.append(texts);
    m_checked.assign(size_t(texts.size()), 0);
    ++m_revision;
    endResetModel();
    record(ListChange(ListChange::Kind::Appended, 0, texts.size()));
}

void ItemList::appendPool(const TextPool &texts, qsizetype first, qsizetype last)
{
    settle();
    if (first >= last)
        return;
    if (first == 0)
        m_texts.reserve(count() + texts.size(), m_texts.characterCount() + texts.characterCount());
    const int firstRow = int(count());
    beginInsertRows({}, firstRow, firstRow + int(last - first) - 1);
    m_texts.append(texts, first, last);
    m_checked.resize(m_checked.size() + size_t(last - first), 0);
    ++m_revision;
    endInsertRows();
    record(ListChange(ListChange::Kind::Appended, firstRow, last - first));
}

void ItemList::clear()
{
    settle();
    ListChange change(ListChange::Kind::Cleared, 0, count());
    change.texts = m_texts;
    beginResetModel();
    change.checks.swap(m_checked);
    m_texts.clear();
    ++m_revision;
    ++m_clearCount;
    endResetModel();
    if (change.count > 0)
        record(std::move(change));
}

void ItemList::removeAt(qsizetype position)
{
    removePositions({position});
}

void ItemList::removeRange(qsizetype first, qsizetype last)
{
    beginRemoveRows({}, int(first), int(last));
    if (last + 1 == count()) {
        m_texts.truncate(first);
    } else {
        std::vector<quint32> positions(size_t(last - first + 1));
        std::iota(positions.begin(), positions.end(), quint32(first));
        m_texts.removeSorted(positions);
    }
    m_checked.erase(m_checked.begin() + first, m_checked.begin() + last + 1);
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

ListChange ItemList::removal(const std::vector<qsizetype> &ascending, PackedTexts &&gathered) const
{
    ListChange change(ListChange::Kind::Removed, 0, qsizetype(ascending.size()));
    change.checks.reserve(ascending.size());
    for (const qsizetype position : ascending)
        change.checks.push_back(m_checked[size_t(position)]);
    // What goes is kept for undo only when someone keeps a history.
    if (recordsChanges()) {
        if (gathered.size() == qsizetype(ascending.size()))
            change.removed = std::move(gathered);
        else
            change.removed = gatherTexts(ascending, 0, qsizetype(ascending.size()));
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
    // A removal in slices is told to the history whole, at once: nothing else changes the
    // list before it is through (see settle()).
    ListChange change = removal(positions, std::move(gathered));
    removeSortedPositions(positions, mayGoInSlices && goesInSlices(positions, count()));
    change.positions = std::move(positions);
    record(std::move(change));
}

bool ItemList::continueChange()
{
    if (m_pendingInsertion)
        return insertSlice(m_itemsPerRemovalSlice);
    return removeSlice(m_itemsPerRemovalSlice);
}

void ItemList::settle()
{
    if (m_pending)
        removeSlice(m_pending->originalCount);
    if (m_pendingInsertion)
        insertSlice(m_pendingInsertion->settledFrom);
}

bool ItemList::goesInSlices(const std::vector<qsizetype> &positions, qsizetype listCount) const
{
    return listCount > 2 * m_itemsPerRemovalSlice &&
           runsOf(positions, kMaxRunsRemovedSeparately).size() > kMaxRunsRemovedSeparately;
}

namespace {
// How many of the items put back at `positions` (where they stand once back) stand before
// the item that now stands at `row`, among the items that are not put back.
qsizetype insertedBefore(const std::vector<qsizetype> &positions, qsizetype row)
{
    qsizetype low = 0, high = qsizetype(positions.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (positions[size_t(middle)] - middle <= row)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
} // namespace

bool ItemList::insertSlice(qsizetype rows)
{
    if (!m_pendingInsertion)
        return false;
    PendingInsertion &pending = *m_pendingInsertion;
    const ListChange &change = *pending.change;
    const auto &positions = change.positions;
    const qsizetype total = qsizetype(positions.size());
    const qsizetype waiting = total - pending.placed;
    const qsizetype lowest = std::max<qsizetype>(0, pending.settledFrom - rows);
    const qsizetype lowestWaiting =
        std::lower_bound(positions.begin(), positions.begin() + waiting, lowest) -
        positions.begin();
    const qsizetype inserting = waiting - lowestWaiting;
    const qsizetype oldCount = count();
    const qsizetype unmoved = pending.settledFrom - waiting;
    const qsizetype firstMoved = unmoved - ((pending.settledFrom - lowest) - inserting);

    // The view hears of it as rows added at the end (showing nothing at first), then the
    // rows from the first one that moves on changed.
    if (inserting > 0) {
        beginInsertRows({}, int(oldCount), int(oldCount + inserting - 1));
        m_rowsInPassing = inserting;
        endInsertRows();
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &index : before) {
            qsizetype row = index.row();
            if (row >= unmoved)
                row += inserting;
            else if (row >= firstMoved)
                row += insertedBefore(positions, row) - lowestWaiting;
            after.append(this->index(int(row), index.column()));
        }
        changePersistentIndexList(before, after);
    }

    pending.placed = m_texts.insertSortedDownTo(positions.data(), total, change.removed, 0,
                                                pending.placed, pending.settledFrom, lowest);
    pending.settledFrom = lowest;
    openUpChecks(positions, lowestWaiting, waiting, lowestWaiting, unmoved, change.checks);
    m_rowsInPassing = 0;
    ++m_revision;
    if (lowest == 0)
        m_pendingInsertion.reset(); // `pending` is gone from here on
    if (inserting > 0)
        Q_EMIT dataChanged(index(int(firstMoved), 0), index(int(count() - 1), 0));
    return m_pendingInsertion.has_value();
}

qsizetype ItemList::settledPosition(qsizetype position) const
{
    if (m_pendingInsertion) {
        const PendingInsertion &pending = *m_pendingInsertion;
        const qsizetype unmoved =
            pending.settledFrom - (qsizetype(pending.change->positions.size()) - pending.placed);
        if (position >= unmoved)
            return pending.settledFrom + (position - unmoved);
        return position + insertedBefore(pending.change->positions, position);
    }
    if (!m_pending || position < m_pending->processed - m_pending->done)
        return position;
    const auto &positions = m_pending->positions;
    const quint32 original = quint32(position + m_pending->done);
    const auto below = std::lower_bound(positions.begin(), positions.end(), original);
    if (below != positions.end() && *below == original)
        return -1;
    return qsizetype(original) - (below - positions.begin());
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

bool ItemList::removeSlice(qsizetype items)
{
    if (!m_pending)
        return false;
    PendingRemoval &pending = *m_pending;
    const auto &positions = pending.positions;
    const qsizetype doneBefore = pending.done;
    const qsizetype until = std::min(pending.originalCount, pending.processed + items);
    const qsizetype oldCount = count();
    const qsizetype firstRow = pending.processed - doneBefore;
    const qsizetype stopRow = until - doneBefore;
    const auto sliceBegin = positions.begin() + doneBefore;
    const auto sliceEnd = std::lower_bound(sliceBegin, positions.end(), quint32(until));
    const qsizetype removed = sliceEnd - sliceBegin;
    const auto rowOf = [&](std::vector<quint32>::const_iterator position) {
        return qsizetype(*position) - doneBefore;
    };

    // The current and selected items move to their new rows, or go, while every row exists.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        qsizetype row = index.row();
        if (row >= firstRow) {
            const auto below = std::lower_bound(sliceBegin, sliceEnd, quint32(row + doneBefore));
            if (below != sliceEnd && *below == quint32(row + doneBefore))
                row = -1;
            else
                row -= below - sliceBegin;
        }
        after.append(row < 0 ? QModelIndex() : this->index(int(row), index.column()));
    }
    changePersistentIndexList(before, after);

    pending.done = m_texts.removeSortedUpTo(positions, doneBefore, pending.processed, until);
    pending.processed = until;
    // The check marks close up the same way; those of the rows not handled yet move down.
    quint8 *const marks = m_checked.data();
    qsizetype write = firstRow;
    qsizetype next = firstRow;
    for (auto position = sliceBegin; position != sliceEnd; ++position) {
        const qsizetype row = rowOf(position);
        std::memmove(marks + write, marks + next, size_t(row - next));
        write += row - next;
        next = row + 1;
    }
    std::memmove(marks + write, marks + next, size_t(oldCount - next));
    m_checked.resize(size_t(write + oldCount - next));
    Q_ASSERT(stopRow <= oldCount);
    ++m_revision;
    const qsizetype firstRemovedRow = removed > 0 ? rowOf(sliceBegin) : 0;
    if (pending.processed >= pending.originalCount)
        m_pending.reset(); // `pending` and what it held are gone from here on

    if (removed > 0) {
        // As in a removal in one go: the rows from the first removed one on changed, then
        // the last rows gone.
        const qsizetype newCount = count();
        m_rowsInPassing = oldCount - newCount;
        Q_EMIT dataChanged(index(int(firstRemovedRow), 0), index(int(oldCount - 1), 0));
        beginRemoveRows({}, int(newCount), int(oldCount - 1));
        m_rowsInPassing = 0;
        endRemoveRows();
    }
    return m_pending.has_value();
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

PackedTexts ItemList::gatherTexts(const std::vector<qsizetype> &ascending, qsizetype from,
                                  qsizetype to, PackedTexts gathered) const
{
    if (from == 0) {
        qsizetype characters = 0;
        for (const qsizetype position : ascending)
            characters += m_texts.at(position).size();
        gathered.reserve(qsizetype(ascending.size()), characters);
    }
    for (qsizetype k = from; k < to; ++k)
        gathered.append(m_texts, ascending[size_t(k)]);
    return gathered;
}

void ItemList::removeSortedPositions(const std::vector<qsizetype> &positions, bool inSlices)
{
    const auto runs = runsOf(positions, kMaxRunsRemovedSeparately);
    if (runs.size() <= kMaxRunsRemovedSeparately) {
        // From the highest run down, so the lower runs keep their positions.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            removeRange(run->first, run->second);
        return;
    }
    PendingRemoval pending;
    pending.positions.assign(positions.begin(), positions.end());
    pending.originalCount = count();
    m_pending = std::move(pending);
    if (inSlices)
        continueChange();
    else
        settle();
}

void ItemList::openUpChecks(const std::vector<qsizetype> &positions, qsizetype from, qsizetype to,
                            qsizetype shift, qsizetype firstMoving,
                            const std::vector<quint8> &checks)
{
    const qsizetype oldCount = qsizetype(m_checked.size());
    const qsizetype inserting = to - from;
    m_checked.resize(size_t(oldCount + inserting));
    quint8 *const marks = m_checked.data();
    std::memmove(marks + firstMoving + inserting, marks + firstMoving,
                 size_t(oldCount - firstMoving));
    // From the end down, a run of old marks at a time.
    qsizetype old = firstMoving;
    qsizetype write = firstMoving + inserting;
    for (qsizetype k = to - 1; k >= from; --k) {
        const qsizetype row = positions[size_t(k)] - shift;
        const qsizetype run = write - (row + 1);
        old -= run;
        write -= run;
        std::memmove(marks + write, marks + old, size_t(run));
        marks[--write] = checks[size_t(k)];
    }
}

void ItemList::insertRuns(const std::vector<std::pair<qsizetype, qsizetype>> &runs,
                          const ListChange &change)
{
    // The view hears of each run as rows inserted. `positions` are where the items stand
    // once back, so each run goes in where it ends up, the lower runs first.
    qsizetype from = 0;
    for (const auto &[first, last] : runs) {
        const qsizetype to = from + (last - first + 1);
        const qsizetype oldCount = count();
        beginInsertRows({}, int(first), int(last));
        m_texts.insertSorted(change.positions.data() + from, to - from, change.removed, from);
        openUpChecks(change.positions, from, to, 0, oldCount, change.checks);
        ++m_revision;
        endInsertRows();
        from = to;
    }
}

void ItemList::swapChecks(std::vector<quint8> &checks)
{
    checks.swap(m_checked);
    if (count() > 0)
        Q_EMIT dataChanged(index(0, 0), index(int(count() - 1), 0), {Qt::CheckStateRole});
}

void ItemList::replaceChecks(std::vector<quint8> checks)
{
    if (changeUnderWay()) {
        // One mark per item as the list stands now, part way through the change: each goes
        // where its item will stand; items coming back keep their own.
        std::vector<qsizetype> settledAt(checks.size());
        for (qsizetype position = 0; position < qsizetype(checks.size()); ++position)
            settledAt[size_t(position)] = settledPosition(position);
        settle();
        std::vector<quint8> settledChecks = m_checked;
        for (size_t position = 0; position < checks.size(); ++position) {
            if (settledAt[position] >= 0)
                settledChecks[size_t(settledAt[position])] = checks[position];
        }
        checks.swap(settledChecks);
    }
    ListChange change(ListChange::Kind::ChecksReplaced, 0, count());
    change.checks = std::move(checks);
    change.checks.resize(m_checked.size(), 0);
    swapChecks(change.checks);
    record(std::move(change));
}

void ItemList::takeTail(qsizetype first, SetAside &aside)
{
    settle();
    aside.first = first;
    const qsizetype tail = count() - first;
    aside.whole = tail >= first;
    if (first == 0) {
        // From an empty list: the view starts afresh, as it did for the load.
        beginResetModel();
    } else if (tail > 0) {
        beginRemoveRows({}, int(first), int(count() - 1));
    } else {
        aside.texts = TextPool();
        aside.checks.clear();
        return;
    }
    if (aside.whole) {
        // Copy the few items before `first` for the list and keep the whole buffer aside.
        aside.texts = m_texts;
        TextPool head;
        head.append(m_texts, 0, first);
        m_texts = head;
        aside.checks.swap(m_checked);
        m_checked.assign(aside.checks.begin(), aside.checks.begin() + first);
    } else {
        aside.texts = m_texts.tail(first);
        aside.checks.assign(m_checked.begin() + first, m_checked.end());
        m_texts.truncate(first);
        m_checked.resize(size_t(first));
    }
    ++m_revision;
    if (first == 0)
        endResetModel();
    else
        endRemoveRows();
}

void ItemList::putTail(SetAside &aside)
{
    settle();
    Q_ASSERT(count() == aside.first);
    const qsizetype tail = aside.whole ? aside.texts.size() - aside.first : aside.texts.size();
    if (tail == 0)
        return;
    if (aside.first == 0)
        beginResetModel();
    else
        beginInsertRows({}, int(aside.first), int(aside.first + tail - 1));
    if (aside.whole) {
        // The items before `first` are as they were; their marks may have been clicked since.
        m_texts = aside.texts;
        std::copy(m_checked.begin(), m_checked.end(), aside.checks.begin());
        m_checked.swap(aside.checks);
    } else {
        m_texts.append(aside.texts);
        m_checked.insert(m_checked.end(), aside.checks.begin(), aside.checks.end());
    }
    aside.texts = TextPool(); // the list's own again: sharing it would copy it on change
    aside.checks.clear();
    ++m_revision;
    if (aside.first == 0)
        endResetModel();
    else
        endInsertRows();
}

void ItemList::undo(ListChange &change)
{
    settle();
    const QScopedValueRollback<bool> replaying(m_replaying, true);
    switch (change.kind) {
    case ListChange::Kind::Appended:
        change.texts = m_texts.tail(change.first);
        change.checks.assign(m_checked.begin() + change.first, m_checked.end());
        removeRange(change.first, count() - 1);
        break;
    case ListChange::Kind::Removed: {
        const auto runs = runsOf(change.positions, kMaxRunsRemovedSeparately);
        if (runs.size() <= kMaxRunsRemovedSeparately) {
            insertRuns(runs, change);
            break;
        }
        // The change stays where it is, in the history, until this is through: nothing else
        // changes the list (or the history) before settling it.
        m_pendingInsertion = PendingInsertion{&change, 0, count() + change.removed.size()};
        if (goesInSlices(change.positions, count() + change.removed.size()))
            continueChange();
        else
            settle();
        break;
    }
    case ListChange::Kind::Cleared:
        beginResetModel();
        m_texts = change.texts;
        m_checked = change.checks;
        ++m_revision;
        endResetModel();
        break;
    case ListChange::Kind::ChecksReplaced:
        swapChecks(change.checks);
        break;
    case ListChange::Kind::MarksFlipped:
        flipMarks(change.positions);
        break;
    case ListChange::Kind::Reordered:
        exchangeOrder(change.texts, change.order, false);
        break;
    }
}

void ItemList::redo(ListChange &change)
{
    settle();
    const QScopedValueRollback<bool> replaying(m_replaying, true);
    switch (change.kind) {
    case ListChange::Kind::Appended:
        appendPool(change.texts);
        std::copy(change.checks.begin(), change.checks.end(), m_checked.begin() + change.first);
        change.texts = TextPool(); // the list holds them again
        break;
    case ListChange::Kind::Removed:
        // The marks go as they are now: taking the step back again brings them back so.
        for (size_t k = 0; k < change.positions.size(); ++k)
            change.checks[k] = m_checked[size_t(change.positions[k])];
        removeSortedPositions(change.positions, goesInSlices(change.positions, count()));
        break;
    case ListChange::Kind::Cleared:
        change.checks = m_checked;
        clear(); // while replaying, nothing is recorded
        break;
    case ListChange::Kind::ChecksReplaced:
        swapChecks(change.checks);
        break;
    case ListChange::Kind::MarksFlipped:
        flipMarks(change.positions);
        break;
    case ListChange::Kind::Reordered:
        exchangeOrder(change.texts, change.order, true);
        break;
    }
}

QString ItemList::displayText(QStringView text)
{
    const bool cut = text.size() > kDisplayLength;
    QString shown = text.first(std::min(text.size(), kDisplayLength)).toString();
    for (QChar &c : shown) {
        const char16_t unit = c.unicode();
        if (unit == u'\n' || unit == u'\r' || unit == 0x2028 || unit == 0x2029 || unit == 0x85)
            c = u' ';
    }
    if (cut)
        shown += QChar(0x2026);
    return shown;
}

int ItemList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : clampToInt(count() + m_rowsInPassing);
}

int ItemList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant ItemList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0)
        return {};
    if (index.row() >= count()) // a row about to go
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(QString()) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(text(index.row()));
    case Qt::EditRole:
        return text(index.row()).toString();
    case Qt::CheckStateRole:
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool ItemList::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= count())
        return false;
    return setChecked(index.row(), value.toInt() == Qt::Checked);
}

Qt::ItemFlags ItemList::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant ItemList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
