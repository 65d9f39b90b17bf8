#include "ItemList.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {
// A few runs are removed row by row; beyond this many runs one pass over the buffer with one
// layout change is far cheaper than moving the buffer once per run.
constexpr size_t kMaxRunsRemovedSeparately = 8;

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

void ItemList::setChecked(qsizetype position, bool checked)
{
    m_checked[size_t(position)] = checked ? 1 : 0;
    const QModelIndex cell = index(int(position), 0);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
}

void ItemList::append(QStringView text)
{
    const int row = int(count());
    beginInsertRows({}, row, row);
    m_texts.append(text);
    m_checked.push_back(0);
    ++m_revision;
    endInsertRows();
}

void ItemList::appendAll(const std::vector<QStringView> &texts)
{
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
}

void ItemList::appendPool(const TextPool &texts)
{
    if (texts.empty())
        return;
    const int first = int(count());
    beginInsertRows({}, first, first + int(texts.size()) - 1);
    m_texts.append(texts);
    m_checked.resize(m_checked.size() + size_t(texts.size()), 0);
    ++m_revision;
    endInsertRows();
}

void ItemList::clear()
{
    beginResetModel();
    m_texts.clear();
    std::vector<quint8>().swap(m_checked);
    ++m_revision;
    ++m_clearCount;
    endResetModel();
}

void ItemList::removeAt(qsizetype position)
{
    removeRange(position, position);
}

void ItemList::removeRange(qsizetype first, qsizetype last)
{
    beginRemoveRows({}, int(first), int(last));
    std::vector<qsizetype> positions(size_t(last - first + 1));
    std::iota(positions.begin(), positions.end(), first);
    m_texts.removeSorted(positions);
    m_checked.erase(m_checked.begin() + first, m_checked.begin() + last + 1);
    ++m_revision;
    endRemoveRows();
}

void ItemList::removePositions(std::vector<qsizetype> positions)
{
    if (positions.empty())
        return;
    // Duplicate removal finds its positions from the end down.
    if (std::is_sorted(positions.rbegin(), positions.rend()))
        std::reverse(positions.begin(), positions.end());
    else
        std::sort(positions.begin(), positions.end());

    // Runs of consecutive positions, to decide between row-wise removal and a reset.
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    for (qsizetype position : positions) {
        if (!runs.empty() && runs.back().second + 1 == position)
            runs.back().second = position;
        else
            runs.emplace_back(position, position);
        if (runs.size() > kMaxRunsRemovedSeparately)
            break;
    }
    if (runs.size() <= kMaxRunsRemovedSeparately) {
        // From the highest run down, so the lower runs keep their positions.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            removeRange(run->first, run->second);
        return;
    }

    // One layout change rather than a reset: the view keeps its scroll position, and the
    // current and selected items follow their rows (or go, when removed).
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        const auto row = qsizetype(index.row());
        const auto below = std::lower_bound(positions.begin(), positions.end(), row);
        if (below != positions.end() && *below == row)
            after.append(QModelIndex());
        else
            after.append(this->index(int(row - (below - positions.begin())), index.column()));
    }
    changePersistentIndexList(before, after);

    m_texts.removeSorted(positions);
    // The check marks close up the same way, a run of kept items at a time.
    size_t write = 0;
    size_t next = 0;
    for (const qsizetype removed : positions) {
        std::copy(m_checked.begin() + qsizetype(next), m_checked.begin() + removed,
                  m_checked.begin() + qsizetype(write));
        write += size_t(removed) - next;
        next = size_t(removed) + 1;
    }
    std::copy(m_checked.begin() + qsizetype(next), m_checked.end(),
              m_checked.begin() + qsizetype(write));
    write += m_checked.size() - next;
    m_checked.resize(write);
    ++m_revision;
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
    return parent.isValid() ? 0 : clampToInt(count());
}

int ItemList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant ItemList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() >= count())
        return {};
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
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
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
