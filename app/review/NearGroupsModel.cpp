#include "NearGroupsModel.h"

#include "ItemList.h"
#include "ShowInvisibles.h"
#include "SpellingSlips.h"

#include <QCoreApplication>
#include <QFont>

#include <algorithm>

namespace {
// An item as a row shows it: one line, cut where the list cuts it, invisibles visible.
QString shown(QStringView text)
{
    const bool cut = text.size() > ItemList::kDisplayLength;
    QString row = ShowInvisibles(text.first(std::min(text.size(), ItemList::kDisplayLength)));
    if (cut)
        row += QChar(0x2026);
    return row;
}
} // namespace

NearGroupsModel::NearGroupsModel(const ItemList &items, QObject *parent)
    : QAbstractItemModel(parent), m_items(items)
{
    m_groups.starts.push_back(0);
}

void NearGroupsModel::setGroups(NearGroups groups, quint64 revision, KeyOf keyOf)
{
    if (groups.tooManySlips) {
        showNone(Showing::TooManySlips);
        return;
    }
    m_revision = revision;
    m_keyOf = std::move(keyOf);
    putInPlace(std::move(groups), Showing::Groups);
}

void NearGroupsModel::showNone(Showing why)
{
    NearGroups none;
    none.starts.push_back(0);
    putInPlace(std::move(none), why);
}

void NearGroupsModel::putInPlace(NearGroups groups, Showing showing)
{
    beginResetModel();
    m_groups = std::move(groups);
    m_showing = showing;
    ++m_generation;
    m_ticked.assign(size_t(m_groups.count()), 1);
    m_kept.resize(size_t(m_groups.count()));
    for (qsizetype group = 0; group < m_groups.count(); ++group) {
        m_kept[size_t(group)] = m_groups.keptMember(group);
        // Keys are worked out only when the user has left a group whole.
        if (!m_untickedKeys.isEmpty() &&
            m_untickedKeys.contains(m_keyOf(m_groups.member(group, 0))))
            m_ticked[size_t(group)] = 0;
    }
    endResetModel();
    Q_EMIT choiceChanged();
}

void NearGroupsModel::setTicked(qsizetype group, bool ticked)
{
    m_ticked[size_t(group)] = ticked ? 1 : 0;
    if (m_keyOf) {
        const QString key = m_keyOf(m_groups.member(group, 0));
        if (ticked)
            m_untickedKeys.remove(key);
        else
            m_untickedKeys.insert(key);
    }
    const QModelIndex row = index(int(group), 0);
    Q_EMIT dataChanged(row, row, {Qt::CheckStateRole});
    Q_EMIT choiceChanged();
}

void NearGroupsModel::setKept(qsizetype group, qsizetype member)
{
    m_kept[size_t(group)] = member;
    const QModelIndex parent = index(int(group), 0);
    // The other members' differences are from the new kept one.
    Q_EMIT dataChanged(index(0, 0, parent),
                       index(int(m_groups.size(group)) - 1, kColumns - 1, parent));
    Q_EMIT dataChanged(parent, parent, {Qt::DisplayRole}); // the heading names the kept one
    Q_EMIT choiceChanged();
}

qsizetype NearGroupsModel::removalCount() const
{
    qsizetype count = 0;
    for (qsizetype group = 0; group < m_groups.count(); ++group)
        count += isTicked(group) ? m_groups.size(group) - 1 : 0;
    return count;
}

std::vector<qsizetype> NearGroupsModel::positionsToRemove() const
{
    std::vector<qsizetype> positions;
    for (qsizetype group = 0; group < m_groups.count(); ++group) {
        if (!isTicked(group))
            continue;
        for (qsizetype member = 0; member < m_groups.size(group); ++member) {
            if (member != m_kept[size_t(group)])
                positions.push_back(m_groups.member(group, member));
        }
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

QModelIndex NearGroupsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= kColumns)
        return {};
    if (!parent.isValid())
        return row < m_groups.count() ? createIndex(row, column, kGroupRow) : QModelIndex();
    if (parent.internalId() != kGroupRow || row >= m_groups.size(parent.row()))
        return {};
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex NearGroupsModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kGroupRow)
        return {};
    return createIndex(int(child.internalId() - 1), 0, kGroupRow);
}

int NearGroupsModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_groups.count());
    if (parent.internalId() != kGroupRow || parent.column() != 0)
        return 0;
    return int(m_groups.size(parent.row()));
}

int NearGroupsModel::columnCount(const QModelIndex &) const
{
    return kColumns;
}

QVariant NearGroupsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == kGroupRow) {
        const qsizetype group = index.row();
        if (index.column() != 0)
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return heading(group);
        if (role == Qt::CheckStateRole)
            return isTicked(group) ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    const qsizetype group = qsizetype(index.internalId() - 1);
    const bool kept = m_kept[size_t(group)] == index.row();
    if (index.column() == 2) {
        if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || kept || !m_keyOf)
            return {};
        const quint32 position = m_groups.member(group, index.row());
        const quint32 keptPosition = m_groups.member(group, m_kept[size_t(group)]);
        if (qsizetype(std::max(position, keptPosition)) >= m_items.count())
            return {};
        const QString key = m_keyOf(position), keptKey = m_keyOf(keptPosition);
        if (key == keptKey)
            return {};
        const QString marked = ShowInvisibles(Slips::markedDifferences(key, keptKey));
        if (role == Qt::DisplayRole)
            return marked;
        return QCoreApplication::translate(
                   "Tarnwell", "Compared as %1; in brackets: its characters \u2192 the kept "
                               "item's")
            .arg(marked);
    }
    if (index.column() == 1) {
        if (role == Qt::CheckStateRole)
            return kept ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DisplayRole)
            return kept ? QCoreApplication::translate("Tarnwell", "kept") : QString();
        // A screen reader names the box of an item not kept by what ticking it does.
        if (role == Qt::AccessibleTextRole)
            return kept ? QCoreApplication::translate("Tarnwell", "kept")
                        : QCoreApplication::translate("Tarnwell", "Keep");
        return {};
    }
    const quint32 position = m_groups.member(group, index.row());
    if (qsizetype(position) >= m_items.count())
        return {}; // the list changed under the review; a removal finds the groups again
    switch (role) {
    case Qt::DisplayRole:
        return QStringLiteral("%1: %2")
            .arg(position + 1)
            .arg(shown(Utf16Text(m_items.text(position))));
    case Qt::FontRole: {
        QFont font;
        font.setBold(kept);
        return font;
    }
    default:
        return {};
    }
}

QVariant NearGroupsModel::heading(qsizetype group) const
{
    const qsizetype keptMember = m_kept[size_t(group)];
    const quint32 kept = m_groups.member(group, keptMember);
    if (qsizetype(kept) >= m_items.count())
        return {};
    const int size = int(m_groups.size(group));
    const QString keptText = shown(Utf16Text(m_items.text(kept)));
    if (!isTicked(group))
        return QCoreApplication::translate("Tarnwell", "%n items, all kept, like %1", nullptr, size)
            .arg(keptText);
    // Why the grouping chose it, while it is the one kept; before the text, which may be cut.
    const qsizetype share =
        keptMember == m_groups.keptMember(group) ? m_groups.spellingShare(group) : 0;
    if (share > 0)
        return QCoreApplication::translate(
                   "Tarnwell", "%1, keeping the spelling %n of them share: %2", nullptr, int(share))
            .arg(QCoreApplication::translate("Tarnwell", "%n item(s)", nullptr, size), keptText);
    return QCoreApplication::translate("Tarnwell", "%n items, keeping %1", nullptr, size)
        .arg(keptText);
}

bool NearGroupsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (index.internalId() == kGroupRow) {
        setTicked(index.row(), checked);
        return true;
    }
    // One member stays: choosing one is the choice; unchoosing the kept one does nothing.
    if (index.column() != 1 || !checked)
        return false;
    setKept(qsizetype(index.internalId() - 1), index.row());
    return true;
}

Qt::ItemFlags NearGroupsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if ((index.internalId() == kGroupRow && index.column() == 0) ||
        (index.internalId() != kGroupRow && index.column() == 1))
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant NearGroupsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QCoreApplication::translate("Tarnwell", "Groups and their items");
    case 1:
        return QCoreApplication::translate("Tarnwell", "Keep");
    default:
        return QCoreApplication::translate("Tarnwell", "Differs from the kept item");
    }
}
