#include "ItemList.h"

#include <algorithm>
#include <limits>

namespace {
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
    showPendingRows();
    if (m_sliced && m_sliced->isInsertion()) {
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
    if (m_store.checks()[size_t(position)] == mark)
        return true;
    m_store.setMark(position, mark);
    const QModelIndex cell = index(int(position), 0);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
    ListChange change(ListChange::Kind::MarksFlipped, settled, 1);
    change.positions.push_back(settled);
    record(std::move(change));
    return true;
}

void ItemList::setCheckedAll(std::vector<qsizetype> positions, bool checked)
{
    showPendingRows();
    if (changeUnderWay()) {
        // Where those items stand once the change under way is through.
        positions = settledPositions(positions);
        settle();
    }
    const quint8 mark = checked ? 1 : 0;
    ListChange change(ListChange::Kind::MarksFlipped, 0, 0);
    for (const qsizetype position : positions) {
        if (m_store.checks()[size_t(position)] != mark)
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
    ListChange change(ListChange::Kind::Rewritten, 0, count());
    change.order = std::move(order);
    change.texts = std::move(texts);
    exchangeTexts(change, true); // the change keeps the old texts
    record(std::move(change));
}

void ItemList::rewrite(TextPool texts)
{
    settle();
    Q_ASSERT(texts.size() == count());
    ListChange change(ListChange::Kind::Rewritten, 0, count());
    change.texts = std::move(texts);
    exchangeTexts(change, true);
    record(std::move(change));
}

void ItemList::keepOnly(std::vector<quint32> kept, TextPool texts)
{
    const bool rowsPending = m_rowsPending && !changeUnderWay();
    if (!rowsPending)
        settle();
    Q_ASSERT(!kept.empty() && qsizetype(kept.size()) == texts.size() &&
             qsizetype(kept.size()) < count());
    ListChange change(ListChange::Kind::Rewritten, 0, count());
    change.order = std::move(kept);
    change.texts = std::move(texts);
    if (rowsPending) {
        // The view hears of the items kept only.
        resetAround([&] {
            m_store.exchangeTexts(change.texts, change.order, change.checks, true);
            m_rowsPending = false;
        });
    } else {
        exchangeTexts(change, true);
    }
    record(std::move(change));
}

void ItemList::exchangeTexts(ListChange &change, bool forward)
{
    const auto exchange = [&] {
        m_store.exchangeTexts(change.texts, change.order, change.checks, forward);
    };
    if (change.order.empty()) {
        // New texts in place: the rows stay, and so do the current and selected ones.
        exchange();
        ++m_revision;
        if (count() > 0)
            Q_EMIT dataChanged(index(0, 0), index(int(count() - 1), 0));
        return;
    }
    if (!change.keptSome()) {
        resetAround(exchange);
        return;
    }
    // Items go or come back: the rows before the first that goes keep theirs, and the
    // current row follows its item.
    const std::vector<quint32> &kept = change.order;
    qsizetype firstChanged = 0;
    while (firstChanged < qsizetype(kept.size()) && kept[size_t(firstChanged)] == firstChanged)
        ++firstChanged;
    if (forward) {
        changeRows(
            qsizetype(kept.size()), firstChanged,
            [&](qsizetype row) {
                const auto at = std::lower_bound(kept.begin(), kept.end(), quint32(row));
                return at != kept.end() && *at == quint32(row) ? qsizetype(at - kept.begin()) : -1;
            },
            exchange);
    } else {
        changeRows(
            change.count, firstChanged, [&](qsizetype row) { return qsizetype(kept[size_t(row)]); },
            exchange);
    }
}

void ItemList::changeRows(qsizetype newCount, qsizetype firstChangedRow,
                          const std::function<qsizetype(qsizetype)> &rowAfter,
                          const std::function<void()> &change)
{
    const qsizetype oldCount = count();
    // Rows coming are added at the end (showing nothing at first); the current and selected
    // items move to their new rows, or go, while every row exists.
    if (newCount > oldCount) {
        beginInsertRows({}, int(oldCount), int(newCount - 1));
        m_rowsInPassing = newCount - oldCount;
        endInsertRows();
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        const qsizetype row = rowAfter(index.row());
        after.append(row < 0 ? QModelIndex() : this->index(int(row), index.column()));
    }
    changePersistentIndexList(before, after);
    change();
    Q_ASSERT(count() == newCount);
    ++m_revision;
    // The rows from the first that moved on changed, then the rows past the end gone.
    m_rowsInPassing = std::max<qsizetype>(0, oldCount - newCount);
    if (firstChangedRow < std::max(oldCount, newCount))
        Q_EMIT dataChanged(index(int(firstChangedRow), 0),
                           index(int(std::max(oldCount, newCount) - 1), 0));
    if (m_rowsInPassing > 0) {
        beginRemoveRows({}, int(newCount), int(oldCount - 1));
        m_rowsInPassing = 0;
        endRemoveRows();
    }
}

void ItemList::resetAround(const std::function<void()> &change)
{
    beginResetModel();
    change();
    ++m_revision;
    endResetModel();
}

void ItemList::flipMarks(const std::vector<qsizetype> &positions)
{
    if (positions.empty())
        return;
    m_store.flipMarks(positions);
    // One signal for the span: a signal per row costs the view far more than the flips.
    const auto [lowest, highest] = std::minmax_element(positions.begin(), positions.end());
    Q_EMIT dataChanged(index(int(*lowest), 0), index(int(*highest), 0), {Qt::CheckStateRole});
}

void ItemList::swapChecks(std::vector<quint8> &checks)
{
    m_store.swapChecks(checks);
    if (count() > 0)
        Q_EMIT dataChanged(index(0, 0), index(int(count() - 1), 0), {Qt::CheckStateRole});
}

void ItemList::replaceChecks(std::vector<quint8> checks)
{
    showPendingRows();
    if (changeUnderWay()) {
        // One mark per item as the list stands now, part way through the change: each goes
        // where its item will stand; items coming back keep their own.
        std::vector<qsizetype> settledAt(checks.size());
        for (qsizetype position = 0; position < qsizetype(checks.size()); ++position)
            settledAt[size_t(position)] = settledPosition(position);
        settle();
        std::vector<quint8> settledChecks = m_store.checks();
        for (size_t position = 0; position < checks.size(); ++position) {
            if (settledAt[position] >= 0)
                settledChecks[size_t(settledAt[position])] = checks[position];
        }
        checks.swap(settledChecks);
    }
    ListChange change(ListChange::Kind::ChecksReplaced, 0, count());
    change.checks = std::move(checks);
    change.checks.resize(size_t(count()), 0);
    swapChecks(change.checks);
    record(std::move(change));
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
    m_store.append(text);
    ++m_revision;
    endInsertRows();
    record(ListChange(ListChange::Kind::Appended, row, 1));
}

void ItemList::appendAll(const std::vector<QStringView> &texts)
{
    settle();
    if (texts.empty())
        return;
    const int first = int(count());
    beginInsertRows({}, first, first + int(texts.size()) - 1);
    m_store.appendAll(texts);
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
    resetAround([&] { m_store.appendPool(texts); });
    record(ListChange(ListChange::Kind::Appended, 0, texts.size()));
}

void ItemList::appendPoolShownLater(const TextPool &texts)
{
    if (count() > 0 && !m_rowsPending) {
        appendPool(texts);
        return;
    }
    doSlice(-1); // a change under way is finished; the view is not told of these rows yet
    if (texts.empty())
        return;
    const qsizetype first = count();
    m_store.appendPool(texts);
    ++m_revision;
    m_rowsPending = true;
    record(ListChange(ListChange::Kind::Appended, first, texts.size()));
}

void ItemList::appendPoolShownLater(const TextPool &texts, qsizetype first, qsizetype last)
{
    if (!m_rowsPending || changeUnderWay()) {
        appendPool(texts, first, last);
        return;
    }
    if (first >= last)
        return;
    const qsizetype firstRow = count();
    m_store.appendPool(texts, first, last);
    ++m_revision;
    record(ListChange(ListChange::Kind::Appended, firstRow, last - first));
}

void ItemList::showPendingRows()
{
    if (!m_rowsPending)
        return;
    beginResetModel();
    m_rowsPending = false;
    endResetModel();
}

void ItemList::appendPool(const TextPool &texts, qsizetype first, qsizetype last)
{
    settle();
    if (first >= last)
        return;
    const int firstRow = int(count());
    beginInsertRows({}, firstRow, firstRow + int(last - first) - 1);
    m_store.appendPool(texts, first, last);
    ++m_revision;
    endInsertRows();
    record(ListChange(ListChange::Kind::Appended, firstRow, last - first));
}

void ItemList::clear()
{
    settle();
    ListChange change(ListChange::Kind::Cleared, 0, count());
    resetAround([&] {
        m_store.takeAll(change.texts, change.checks);
        ++m_clearCount;
    });
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
                             qsizetype removedCharacters) const
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
        if (removedCharacters >= 0) {
            // Packed by the removal as it goes, into room for them all.
            change.removed = std::make_shared<PackedTexts>();
            change.removed->reserve(qsizetype(ascending.size()), removedCharacters);
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
    qsizetype removedCharacters = -1;
    if (packs) {
        removedCharacters = 0;
        for (const quint32 position : positions)
            removedCharacters += m_store.texts().length(position);
    }
    ListChange change = removal(positions, std::move(gathered), removedCharacters);
    const bool inSlices =
        mayGoInSlices && SlicedChange::worthSlicing(positions, count(), m_itemsPerRemovalSlice);
    change.removedAt = std::move(ascending);
    removeSortedPositions(change.removedAt, inSlices, packs ? change.removed : nullptr,
                          packs ? m_store.texts().characterCount() - removedCharacters : -1);
    record(std::move(change));
}

void ItemList::removeSortedPositions(const std::shared_ptr<const std::vector<quint32>> &ascending,
                                     bool inSlices, std::shared_ptr<PackedTexts> removedOut,
                                     qsizetype charactersAfter)
{
    const auto runs = RunsOf(*ascending, SlicedChange::kMaxRunsSeparately);
    if (runs.size() <= SlicedChange::kMaxRunsSeparately) {
        showPendingRows(); // the view hears of each run
        // From the highest run down, so the lower runs keep their positions.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            removeRange(run->first, run->second);
        return;
    }
    startSliced(SlicedChange::removal(ascending, count(), std::move(removedOut), charactersAfter),
                inSlices);
}

void ItemList::startSliced(SlicedChange change, bool inSlices)
{
    m_sliced = std::move(change);
    if (inSlices)
        continueChange();
    else
        settle();
}

bool ItemList::continueChange()
{
    // A removal that packs what it takes writes that into fresh memory as well: a quarter
    // of the items make a slice as long.
    const qsizetype items = m_sliced && m_sliced->packs()
                                ? std::max<qsizetype>(1, m_itemsPerRemovalSlice / 4)
                                : m_itemsPerRemovalSlice;
    return doSlice(items);
}

void ItemList::settle()
{
    doSlice(-1);
    showPendingRows();
}

bool ItemList::doSlice(qsizetype items)
{
    if (!m_sliced)
        return false;
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
        return more;
    }
    // Rows are moved before the slice is applied, which may end the change.
    const SlicedChange *sliced = &*m_sliced;
    changeRows(
        count() + slice.rowsAdded - slice.rowsRemoved, slice.firstChangedRow,
        [&](qsizetype row) { return sliced->rowAfter(slice, row); }, apply);
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
    return parent.isValid() || m_rowsPending ? 0 : clampToInt(count() + m_rowsInPassing);
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
