#pragma once

#include "NearDuplicates.h"

#include <QAbstractItemModel>
#include <QSet>

#include <functional>
#include <vector>

class ItemList;

// The near-duplicate groups as the review shows them: a row for each group (its count, and
// a tick when all but one of its members are to go), its members below it in list order,
// invisible characters made visible, the member to keep marked in the second column, and in
// the third how a member's key differs from the kept one's, where it does (slips). The
// rows are worked out when the view asks for them: 100,000 groups cost a few vectors.
class NearGroupsModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit NearGroupsModel(const ItemList &items, QObject *parent = nullptr);

    // The key a member at a list position was grouped by.
    using KeyOf = std::function<QString(quint32 position)>;

    // What the review shows: the groups found, or none, and why.
    enum class Showing { Groups, Finding, Removing, Cancelled, Failed, TooManySlips };
    Showing showing() const { return m_showing; }
    // Counts the groups put in place, none included: a removal asked for under one generation
    // removes nothing under another, which the user may never have seen.
    quint64 generation() const { return m_generation; }

    // New groups, found at list revision `revision`, each keeping the member the grouping
    // chose; ticked, but for those with the key of a group the user left whole. Groups too
    // many slips made show as none.
    void setGroups(NearGroups groups, quint64 revision, KeyOf keyOf);
    // No groups, for reason `why` (not Groups).
    void showNone(Showing why);
    // Every group found from now on starts ticked.
    void forgetUntickedGroups() { m_untickedKeys.clear(); }
    const NearGroups &groups() const { return m_groups; }
    quint64 revision() const { return m_revision; }

    bool isTicked(qsizetype group) const { return m_ticked[size_t(group)] != 0; }
    void setTicked(qsizetype group, bool ticked);
    // Which member of the group stays (0-based within the group).
    qsizetype kept(qsizetype group) const { return m_kept[size_t(group)]; }
    void setKept(qsizetype group, qsizetype member);

    // How many items positionsToRemove() gives.
    qsizetype removalCount() const;
    // The positions of every member of a ticked group but the one it keeps, ascending.
    std::vector<qsizetype> positionsToRemove() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // What would go changed: a group ticked or not, another member chosen.
    void choiceChanged();

private:
    static constexpr int kColumns = 3;
    // A member row's internal id is its group + 1; a group row's is 0.
    static constexpr quintptr kGroupRow = 0;

    void putInPlace(NearGroups groups, Showing showing);
    // A group's row: its size and the member it keeps.
    QVariant heading(qsizetype group) const;

    const ItemList &m_items;
    NearGroups m_groups;
    Showing m_showing = Showing::Groups;
    quint64 m_generation = 0;
    quint64 m_revision = 0;
    std::vector<quint8> m_ticked;
    std::vector<qsizetype> m_kept;
    KeyOf m_keyOf;
    QSet<QString> m_untickedKeys; // of the groups the user left whole
};
