#pragma once

#include "ItemStore.h"
#include "ListChange.h"
#include "SlicedChange.h"
#include "TextPool.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The item list behind the list view: its items (an ItemStore), the view told of every
// change to them, the history told of every change (a ListChange), and long removals done a
// slice at a time (a SlicedChange). Positions are 0-based here; the commands speak of
// 1..count. Removals, long ones in slices, are in ItemListRemoval.cpp; taking back and making
// again a recorded change is in ItemListReplay.cpp.
class ItemList : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ItemList(QObject *parent = nullptr);

    // Column headers: the list starts with none; start-up adds "Items:".
    void addColumn(const QString &header);
    int headerCount() const { return int(m_headers.size()); }
    QString headerText(int column) const { return m_headers.value(column); }

    qsizetype count() const { return m_store.count(); }
    ItemText text(qsizetype position) const { return m_store.text(position); }
    const TextPool &texts() const { return m_store.texts(); }
    bool isChecked(qsizetype position) const { return m_store.isChecked(position); }
    // Ticks or unticks the item at `position` as the view shows it, and tells the history.
    // While a removal is under way an item it takes cannot be ticked (false); a step being
    // taken back is put back whole first.
    bool setChecked(qsizetype position, bool checked);
    // Ticks or unticks the items at `positions` (as the view shows them) together, told to the
    // history as one change.
    void setCheckedAll(std::vector<qsizetype> positions, bool checked);

    // An append that fails (out of memory, or beyond the list's size: TextPool::tooMuchText())
    // leaves the list, the view and the history as they were.
    void append(QStringView text);
    void appendAll(const std::vector<QStringView> &texts);
    // Appends every item of `texts`, sharing its buffer, when the list is empty; otherwise
    // its items [first, last), after making room for all of `texts` once.
    void appendPool(const TextPool &texts);
    void appendPool(const TextPool &texts, qsizetype first, qsizetype last);
    // Appends `texts` to an empty list (or one whose rows the view has not been shown yet)
    // without telling the view: a load that duplicate removal follows then shows only the
    // items that removal keeps, and the view never lays out rows for the millions about to
    // go (it keeps 8 bytes for every row). The view hears of the items at showPendingRows(),
    // or first thing when anything changes the list. Otherwise as appendPool(texts).
    void appendPoolShownLater(const TextPool &texts);
    // Its items [first, last), as appendPool(texts, first, last) does when the view has been
    // shown every row.
    void appendPoolShownLater(const TextPool &texts, qsizetype first, qsizetype last);
    void showPendingRows();
    bool rowsPending() const { return m_rowsPending; }
    void clear();
    void removeAt(qsizetype position);
    // Removes the items at the given positions (any order, no repeats) in one pass. The texts
    // the history keeps of them may be gathered beforehand (gatherTexts, in list order).
    void removePositions(std::vector<qsizetype> positions, PackedTexts gathered = {});
    // A removal too large to close up without holding up the window goes a slice at a time:
    // startRemoval() tells the history of it, continueChange() handles the next slice (false
    // once none is left). Between slices the list is a whole list, the items of the slices
    // handled so far gone; the view keeps the rows they leave at the end, showing nothing and
    // taking no click, until the last slice. Taking back or making again such a removal (undo,
    // redo) goes the same way. Anything that changes the list meanwhile finishes the change
    // first (settle()); positions it is given number the list as it stands.
    void startRemoval(std::vector<qsizetype> positions, PackedTexts gathered = {});
    // The same for ascending positions with no repeats, 32 bits each, whose texts it packs
    // for the history as it goes (packsAsItRemoves).
    void startPackingRemoval(std::vector<quint32> ascending);
    bool continueChange();
    bool changeUnderWay() const { return m_sliced.has_value(); }
    void settle();
    // Finishes the change under way, as whatever reads the whole list does before each pass
    // over it: part way through, the list still holds items about to go and lacks items
    // coming back, and what is worked out from them would be wrong once the change is
    // through. Rows the view has not been shown stay so. Returns where `position` (numbering
    // the list as it stands) is then: where its item stands, or, when it goes, where the last
    // item before it that stays stands (-1: none).
    qsizetype finishChange(qsizetype position = -1);
    // How many items one slice of a removal handles.
    qsizetype itemsPerRemovalSlice() const { return m_itemsPerRemovalSlice; }
    void setItemsPerRemovalSlice(qsizetype items) { m_itemsPerRemovalSlice = items; }
    // How many items a large load adds to a list with items between two yields. A quarter of
    // a million items is about 15 MB: a few tens of milliseconds even where fresh memory is
    // slow to come by.
    qsizetype itemsPerInsertion() const { return m_itemsPerInsertion; }
    void setItemsPerInsertion(qsizetype items) { m_itemsPerInsertion = items; }
    // Puts positions in ascending order, cheaply when they are in order either way already.
    static void sortAscending(std::vector<qsizetype> &positions);
    // True when changes are kept for undo, so a removal keeps the texts it removes.
    bool recordsChanges() const { return m_observer != nullptr && !m_replaying; }
    // True when removing `ascending` packs their texts for the history as it goes, so that
    // gathering them beforehand is not needed.
    template <typename Position> bool packsAsItRemoves(const std::vector<Position> &ascending) const
    {
        return recordsChanges() && SlicedChange::beyondRuns(ascending, m_itemsPerRemovalSlice);
    }
    // Appends the texts at ascending[from..to) to `gathered` (reserving room for all of
    // them when from is 0), for a removal of `ascending` to come.
    PackedTexts gatherTexts(const std::vector<qsizetype> &ascending, qsizetype from, qsizetype to,
                            PackedTexts gathered = {}) const
    {
        return m_store.gatherTexts(ascending, from, to, std::move(gathered));
    }
    // Puts the items in a new order, their marks with them: the item at order[i] goes to i.
    // `texts` are the items in that order already (copied beforehand, with yields). The
    // history keeps the old texts: undo and redo exchange the two.
    // An order or texts worked out while a change was under way do not fit the list once it
    // is through: reorder() and rewrite() then finish the change and refuse (false).
    bool reorder(std::vector<quint32> order, TextPool texts);
    // Gives every item a new text (texts[i] for item i), marks staying with their items.
    bool rewrite(TextPool texts);
    // Removes every item but those at `kept` (ascending, at least one), whose texts `texts`
    // are, copied beforehand: for a removal that takes most of the list, cheaper than one
    // that closes up the list and copies what it removes, as the history keeps the old
    // texts whole. Positions given while a change is under way number the list as it stands.
    void keepOnly(std::vector<quint32> kept, TextPool texts);
    // Sets every check mark at once: `checks` holds one mark per item.
    void replaceChecks(std::vector<quint8> checks);
    const std::vector<quint8> &checks() const { return m_store.checks(); }

    // Every change above is told to the observer (none by default), except while a change
    // is being taken back or made again.
    void setObserver(ListChangeObserver *observer) { m_observer = observer; }
    // Takes back a change told to the observer, or makes it again; the list must be as that
    // change left it (or as it found it). The change keeps what doing the other needs.
    void undo(ListChange &change);
    void redo(ListChange &change);

    // Takes the items from `first` on out of the list into `aside`, and puts them back: for
    // taking back and making again a step that appended from `first` and left the items
    // before it alone. Nothing is told to the observer.
    using SetAside = ItemStore::SetAside;
    void takeTail(qsizetype first, SetAside &aside);
    void putTail(SetAside &aside);

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
    static QString displayText(ItemText text);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // Has `append` add items to the store, then tells the view of their rows; returns the
    // first of them. The store takes them first, where a failure leaves it as it was, so
    // the view never waits for rows that fail to come.
    qsizetype appendRows(const std::function<void()> &append);
    void removeRange(qsizetype first, qsizetype last);
    void remove(std::vector<qsizetype> positions, PackedTexts gathered, bool mayGoInSlices);
    // Removes `ascending` in one go, or starts removing them a slice at a time.
    void removeSortedPositions(const std::shared_ptr<const std::vector<quint32>> &ascending,
                               bool inSlices, std::shared_ptr<PackedTexts> removedOut = {},
                               bool givesMemoryBack = false);
    // Finishes a change under way, first moving `positions` (numbering the list as it
    // stands) to where they will be.
    void settleBefore(std::vector<qsizetype> &positions, PackedTexts &gathered);
    // The record of removing `ascending`, with their marks and texts.
    // Removes `ascending` (sorted, no repeats), recorded as one change.
    void removeSorted(std::shared_ptr<const std::vector<quint32>> ascending, PackedTexts gathered,
                      bool mayGoInSlices);
    // With `removedBytes` (how many bytes they take), the texts are not gathered
    // now but packed into room for them as the removal goes.
    ListChange removal(const std::vector<quint32> &ascending, PackedTexts &&gathered,
                       qsizetype removedBytes = -1) const;
    // Starts a change in slices: the first slice now when `inSlices`, else all of it.
    void startSliced(SlicedChange change, bool inSlices);
    // Does the next slice of the change under way (all of it when `items` is negative) and
    // tells the view; false once none is left.
    bool doSlice(qsizetype items);
    // Where the item now at `position` stands once the change under way is through; -1 when
    // it goes with it.
    qsizetype settledPosition(qsizetype position) const
    {
        return m_sliced ? m_sliced->settledRow(position) : position;
    }
    std::vector<qsizetype> settledPositions(const std::vector<qsizetype> &positions) const;
    // Takes back (or, `forward`, makes again) a recorded change.
    void replay(ListChange &change, bool forward);
    void takeRemovalBack(const ListChange &change);
    void makeRemovalAgain(ListChange &change);
    // Puts back the items of a removal that fall in a few runs, run by run.
    void insertRuns(const std::vector<std::pair<qsizetype, qsizetype>> &runs,
                    const ListChange &change);
    void record(ListChange &&change);
    void flipMarks(const std::vector<qsizetype> &positions);
    // Exchanges the texts with `texts` (as ItemStore::exchangeTexts) and tells the view.
    void exchangeTexts(ListChange &change, bool forward);
    // Tells the view of a change that leaves `newCount` items, the rows before
    // `firstChangedRow` as they were: the rows from there on changed, and the rows past the
    // end of the shorter list came or went; the current and selected rows go where `rowAfter`
    // says (-1: gone). The rows past the end of a shorter list stay in the view, showing
    // nothing, until dropRowsInPassing(): a removal in slices drops them after its last.
    void changeRows(qsizetype newCount, qsizetype firstChangedRow,
                    const std::function<qsizetype(qsizetype)> &rowAfter,
                    const std::function<void()> &change);
    // The view loses the rows past the end of the list.
    void dropRowsInPassing();
    // Exchanges every check mark with `checks` (one per item).
    void swapChecks(std::vector<quint8> &checks);
    // The view hears of every item at once; the list changed.
    void resetAround(const std::function<void()> &change);

    ItemStore m_store;
    QStringList m_headers;
    quint64 m_revision = 0;
    quint64 m_clearCount = 0;
    quint64 m_duplicatesRemoved = 0;
    ListChangeObserver *m_observer = nullptr;
    bool m_replaying = false;
    // Rows the view has past the end of the list, while a change tells the view of them or
    // a removal in slices goes on (they show nothing and take no click).
    qsizetype m_rowsInPassing = 0;
    // Items the store holds whose rows the view is about to hear of (appendRows()).
    qsizetype m_rowsUntold = 0;
    // Every item is one the view has not heard of: it has no rows (appendPoolShownLater).
    bool m_rowsPending = false;
    std::optional<SlicedChange> m_sliced;
    qsizetype m_itemsPerRemovalSlice = qsizetype(1) << 20;
    qsizetype m_itemsPerInsertion = qsizetype(1) << 18;
};
