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

bool ItemList::reorder(std::vector<quint32> order, TextPool texts)
{
    const bool workedOutPartWay = changeUnderWay();
    settle();
    if (workedOutPartWay)
        return false;
    Q_ASSERT(qsizetype(order.size()) == count() && texts.size() == count());
    ListChange change(ListChange::Kind::Rewritten, 0, count());
    change.order = std::move(order);
    change.texts = std::move(texts);
    exchangeTexts(change, true); // the change keeps the old texts
    record(std::move(change));
    return true;
}

bool ItemList::rewrite(TextPool texts)
{
    const bool workedOutPartWay = changeUnderWay();
    settle();
    if (workedOutPartWay)
        return false;
    Q_ASSERT(texts.size() == count());
    ListChange change(ListChange::Kind::Rewritten, 0, count());
    change.texts = std::move(texts);
    exchangeTexts(change, true);
    record(std::move(change));
    return true;
}

void ItemList::keepOnly(std::vector<quint32> kept, TextPool texts)
{
    if (changeUnderWay()) {
        // `kept` numbers the list part way through the change: the rest goes, moved to where
        // it will stand as any removal's positions are.
        std::vector<qsizetype> rest;
        rest.reserve(size_t(count()) - std::min(kept.size(), size_t(count())));
        auto next = kept.cbegin();
        for (qsizetype position = 0; position < count(); ++position) {
            if (next != kept.cend() && qsizetype(*next) == position)
                ++next;
            else
                rest.push_back(position);
        }
        removePositions(std::move(rest));
        return;
    }
    const bool rowsPending = m_rowsPending;
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
    dropRowsInPassing();
}

void ItemList::changeRows(qsizetype newCount, qsizetype firstChangedRow,
                          const std::function<qsizetype(qsizetype)> &rowAfter,
                          const std::function<void()> &change)
{
    const qsizetype oldCount = count();
    const qsizetype oldRows = oldCount + m_rowsInPassing;
    // Rows coming are added at the end (showing nothing at first); the current and selected
    // items move to their new rows, or go, while every row exists.
    if (newCount > oldRows) {
        beginInsertRows({}, int(oldRows), int(newCount - 1));
        m_rowsInPassing = newCount - oldCount;
        endInsertRows();
    }
    const qsizetype rows = std::max(oldRows, newCount);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        // A row showing nothing stays where it is until the change is through.
        const qsizetype row = index.row() < oldCount ? rowAfter(index.row()) : index.row();
        after.append(row < 0 ? QModelIndex() : this->index(int(row), index.column()));
    }
    changePersistentIndexList(before, after);
    change();
    Q_ASSERT(count() == newCount);
    ++m_revision;
    // The rows from the first that moved on changed; the rows past the end stay until the
    // change is through.
    m_rowsInPassing = rows - newCount;
    if (firstChangedRow < rows)
        Q_EMIT dataChanged(index(int(firstChangedRow), 0), index(int(rows - 1), 0));
}

void ItemList::dropRowsInPassing()
{
    // The view's every row removal costs it a pass over all its rows: a removal in slices
    // tells it once, at the end.
    if (m_rowsInPassing == 0)
        return;
    beginRemoveRows({}, int(count()), int(count() + m_rowsInPassing - 1));
    m_rowsInPassing = 0;
    endRemoveRows();
}

void ItemList::resetAround(const std::function<void()> &change)
{
    beginResetModel();
    try {
        change();
    } catch (...) {
        endResetModel(); // the store is as it was; the view starts afresh all the same
        throw;
    }
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

qsizetype ItemList::appendRows(const std::function<void()> &append)
{
    const qsizetype first = count();
    append();
    const qsizetype added = count() - first;
    if (added > 0) {
        m_rowsUntold = added; // the view hears of them as rows inserted, not there before
        beginInsertRows({}, int(first), int(first + added - 1));
        m_rowsUntold = 0;
        ++m_revision;
        endInsertRows();
    }
    return first;
}

void ItemList::append(QStringView text)
{
    settle();
    const qsizetype row = appendRows([&] { m_store.append(text); });
    record(ListChange(ListChange::Kind::Appended, row, 1));
}

void ItemList::appendAll(const std::vector<QStringView> &texts)
{
    settle();
    if (texts.empty())
        return;
    const qsizetype first = appendRows([&] { m_store.appendAll(texts); });
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
    const qsizetype firstRow = appendRows([&] { m_store.appendPool(texts, first, last); });
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

QString ItemList::displayText(ItemText text)
{
    const bool cut = text.size() > kDisplayLength;
    QString shown = text.sliced(0, std::min(text.size(), kDisplayLength)).toString();
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
    return parent.isValid() || m_rowsPending ? 0
                                             : clampToInt(count() + m_rowsInPassing - m_rowsUntold);
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
    if (!index.isValid() || index.row() >= count()) // a row about to go takes no click
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
