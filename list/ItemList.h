#pragma once

#include "TextPool.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The item list behind the list view: the one place the items live. Positions are 0-based
// here; the commands speak of 1..count.
class ItemList : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ItemList(QObject *parent = nullptr);

    // Column headers: the list starts with none; start-up adds "Items:".
    void addColumn(const QString &header);
    int headerCount() const { return int(m_headers.size()); }
    QString headerText(int column) const { return m_headers.value(column); }

    qsizetype count() const { return m_texts.size(); }
    QStringView text(qsizetype position) const { return m_texts.at(position); }
    const TextPool &texts() const { return m_texts; }
    bool isChecked(qsizetype position) const { return m_checked[size_t(position)] != 0; }
    void setChecked(qsizetype position, bool checked);

    void append(QStringView text);
    void appendAll(const std::vector<QStringView> &texts);
    // Appends every item of `texts`; shares its buffer when the list is empty.
    void appendPool(const TextPool &texts);
    void clear();
    void removeAt(qsizetype position);
    // Removes the items at the given positions (any order, no repeats) in one pass.
    void removePositions(std::vector<qsizetype> positions);

    // Changes whenever items are added or removed, so that a procedure that yielded to the
    // event loop can tell that its positions are no longer valid.
    quint64 revision() const { return m_revision; }
    // Counts the times the list was emptied with clear(): a procedure that yielded can tell
    // that the list it was working on is gone.
    quint64 clearCount() const { return m_clearCount; }
    // The number of items duplicate removal has taken from this list so far. A removal run
    // that lets another one run inside it reports both runs' removals together.
    quint64 duplicatesRemovedTally() const { return m_duplicatesRemoved; }
    void addToDuplicatesRemovedTally(qsizetype removed) { m_duplicatesRemoved += quint64(removed); }

    // What the view shows of an item: long texts are cut, line breaks shown as blanks, so a
    // row is one line high and painting it costs the same whatever the item holds.
    static constexpr qsizetype kDisplayLength = 4096;
    static QString displayText(QStringView text);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void removeRange(qsizetype first, qsizetype last);

    TextPool m_texts;
    std::vector<quint8> m_checked;
    QStringList m_headers;
    quint64 m_revision = 0;
    quint64 m_clearCount = 0;
    quint64 m_duplicatesRemoved = 0;
};
