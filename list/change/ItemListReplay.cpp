// Taking back and making again the changes the list told its observer of.

#include "ItemList.h"

#include <QScopedValueRollback>

#include <algorithm>

void ItemList::undo(ListChange &change)
{
    replay(change, false);
}

void ItemList::redo(ListChange &change)
{
    replay(change, true);
}

void ItemList::replay(ListChange &change, bool forward)
{
    settle();
    const QScopedValueRollback<bool> replaying(m_replaying, true);
    switch (change.kind) {
    case ListChange::Kind::Appended:
        if (forward) {
            appendPool(change.texts);
            m_store.setMarks(change.first, change.checks);
            change.texts = TextPool(); // the list holds them again
        } else {
            change.texts = texts().tail(change.first);
            change.checks.assign(checks().begin() + change.first, checks().end());
            removeRange(change.first, count() - 1);
        }
        break;
    case ListChange::Kind::Removed:
        if (forward)
            makeRemovalAgain(change);
        else
            takeRemovalBack(change);
        break;
    case ListChange::Kind::Cleared:
        if (forward) {
            change.checks = checks();
            clear(); // while replaying, nothing is recorded
        } else {
            resetAround([&] { m_store.replaceAll(change.texts, change.checks); });
        }
        break;
    case ListChange::Kind::ChecksReplaced:
        swapChecks(change.checks);
        break;
    case ListChange::Kind::MarksFlipped:
        flipMarks(change.positions);
        break;
    case ListChange::Kind::Rewritten:
        exchangeTexts(change, forward);
        break;
    }
}

void ItemList::takeRemovalBack(const ListChange &change)
{
    const auto runs = RunsOf(change.removedPositions(), SlicedChange::kMaxRunsSeparately);
    const qsizetype countAfter = count() + change.removedItems().size();
    // A few runs go back row by row, but millions of items even in one run (every item
    // selected and removed) go a slice at a time: at once they held the window up a second.
    const bool inSlices =
        SlicedChange::worthSlicing(change.removedPositions(), countAfter, m_itemsPerRemovalSlice);
    if (runs.size() <= SlicedChange::kMaxRunsSeparately && !inSlices) {
        insertRuns(runs, change);
        return;
    }
    // The change stays where it is, in the history, until this is through: nothing else
    // changes the list (or the history) before settling it.
    startSliced(SlicedChange::insertion(change, countAfter), inSlices);
}

void ItemList::makeRemovalAgain(ListChange &change)
{
    // The marks go as they are now: taking the step back again brings them back so.
    const std::vector<quint32> &positions = change.removedPositions();
    for (size_t k = 0; k < positions.size(); ++k)
        change.checks[k] = checks()[size_t(positions[k])];
    removeSortedPositions(change.removedAt,
                          SlicedChange::worthSlicing(positions, count(), m_itemsPerRemovalSlice));
}

void ItemList::insertRuns(const std::vector<std::pair<qsizetype, qsizetype>> &runs,
                          const ListChange &change)
{
    // The view hears of each run as rows inserted. `positions` are where the items stand
    // once back, so each run goes in where it ends up, the lower runs first.
    qsizetype from = 0;
    for (const auto &[first, last] : runs) {
        const qsizetype to = from + (last - first + 1);
        beginInsertRows({}, int(first), int(last));
        m_store.insertSorted(change.removedPositions(), from, to, change.removedItems(),
                             change.checks);
        ++m_revision;
        endInsertRows();
        from = to;
    }
}

void ItemList::takeTail(qsizetype first, SetAside &aside)
{
    settle();
    const qsizetype tail = count() - first;
    if (first > 0 && tail == 0) {
        m_store.takeTail(first, aside);
        return;
    }
    // From an empty list the view starts afresh, as it did for the load.
    if (first == 0)
        beginResetModel();
    else
        beginRemoveRows({}, int(first), int(count() - 1));
    m_store.takeTail(first, aside);
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
        resetAround([&] { m_store.putTail(aside); });
    else
        appendRows([&] { m_store.putTail(aside); });
}
