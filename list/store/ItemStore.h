#pragma once

#include "PackedTexts.h"
#include "TextPool.h"

#include <QStringView>

#include <algorithm>
#include <vector>

// The items and their check marks, kept in step: every operation that moves, adds or drops
// items does the same to their marks. Knows nothing of views or history.
class ItemStore
{
public:
    qsizetype count() const { return m_texts.size(); }
    ItemText text(qsizetype position) const { return m_texts.at(position); }
    const TextPool &texts() const { return m_texts; }
    bool isChecked(qsizetype position) const { return m_checks[size_t(position)] != 0; }
    const std::vector<quint8> &checks() const { return m_checks; }

    void setMark(qsizetype position, quint8 mark) { m_checks[size_t(position)] = mark; }
    // Sets the marks of the items from `first` on, one from `marks` each.
    void setMarks(qsizetype first, const std::vector<quint8> &marks)
    {
        std::copy(marks.begin(), marks.end(), m_checks.begin() + first);
    }
    void flipMarks(const std::vector<qsizetype> &positions);
    // Exchanges every check mark with `checks` (one per item).
    void swapChecks(std::vector<quint8> &checks) { checks.swap(m_checks); }

    // Every append either takes all it is given or fails (out of memory, or beyond the
    // list's size: TextPool::tooMuchText()) with the store as it was.
    void append(ItemText text);
    // Grows geometrically: imports append in many batches.
    void appendAll(const std::vector<QStringView> &texts);
    // Every item of `texts`; into an empty store the buffer is shared, not copied.
    void appendPool(const TextPool &texts);
    // Items [first, last) of `texts`, with room made for all of them when `first` is 0: the
    // parts after the first then cannot fail.
    void appendPool(const TextPool &texts, qsizetype first, qsizetype last);
    // Removes the items [first, last].
    void removeRange(qsizetype first, qsizetype last);
    // Hands over every item and mark, leaving the store empty.
    void takeAll(TextPool &texts, std::vector<quint8> &checks);
    void replaceAll(const TextPool &texts, const std::vector<quint8> &checks);

    // Exchanges the texts with `texts`, the other set of a Rewritten change; the marks move
    // as `order` says (forward: the mark at order[i] goes to i; else back), or stay where
    // they are when `order` is empty. When `order` keeps only some items, forward keeps
    // every mark before in `otherChecks`, and back puts them back from there.
    void exchangeTexts(TextPool &texts, const std::vector<quint32> &order,
                       std::vector<quint8> &otherChecks, bool forward);

    // The texts at ascending[from..to), appended to `gathered` (with room for all of
    // `ascending` reserved when from is 0).
    template <typename Position>
    PackedTexts gatherTexts(const std::vector<Position> &ascending, qsizetype from, qsizetype to,
                            PackedTexts gathered) const
    {
        if (from == 0) {
            qsizetype bytes = 0;
            for (const Position position : ascending)
                bytes += m_texts.bytesToAppend(qsizetype(position));
            gathered.reserve(qsizetype(ascending.size()), bytes);
        }
        for (qsizetype k = from; k < to; ++k)
            gathered.append(m_texts.at(qsizetype(ascending[size_t(k)])));
        return gathered;
    }

    // A removal of `ascending` (numbering the items as the removal began) a slice at a time:
    // the first `done` are gone, and every item before `processed` that was to go; handles
    // those before `until` and returns how many are done then. See TextPool::removeSortedUpTo.
    qsizetype removeSortedUpTo(const std::vector<quint32> &ascending, qsizetype done,
                               qsizetype processed, qsizetype until,
                               PackedTexts *removedOut = nullptr, bool givesMemoryBack = false);
    // Puts back texts[from..to) with their marks checks[from..to) at ascending[from..to)
    // (where they stand once back, the lower ones in already), in one go.
    void insertSorted(const std::vector<quint32> &ascending, qsizetype from, qsizetype to,
                      const PackedTexts &texts, const std::vector<quint8> &checks);
    // The same a slice at a time, from the end of the list down: all of `ascending` go back,
    // the last `placed` of them are in, and with them every item from row `settledFrom` of
    // the final list on. Handles the final rows from `lowest` on and returns how many are
    // placed then. See TextPool::insertSortedDownTo.
    qsizetype insertSortedDownTo(const std::vector<quint32> &ascending, const PackedTexts &texts,
                                 const std::vector<quint8> &checks, qsizetype placed,
                                 qsizetype settledFrom, qsizetype lowest);
    // Gets that insertion ready, `rows` rows a call; true once ready. See
    // TextPool::prepareInsertion.
    bool prepareInsertion(const std::vector<quint32> &ascending, const PackedTexts &texts,
                          qsizetype rows)
    {
        return m_texts.prepareInsertion(ascending.data(), qsizetype(ascending.size()), texts, 0,
                                        rows);
    }

    // The items from `first` on taken out and put back, for taking back and making again a
    // step that appended from `first`. Whichever part is smaller is copied; the rest keeps
    // its buffer (an empty list hands over the whole).
    struct SetAside
    {
        TextPool texts;             // the items from `first` on, or the whole list
        std::vector<quint8> checks; // their marks, likewise
        qsizetype first = 0;
        bool whole = false;
    };
    void takeTail(qsizetype first, SetAside &aside);
    void putTail(SetAside &aside);

private:
    // Room for `added` more marks, made before the texts go in: once they are in, their marks
    // must follow without fail.
    void makeRoomForMarks(qsizetype added);
    // Opens up the marks for items [from, to) of `positions` going back in, the k-th at
    // positions[k] - shift, the marks from `firstMoving` on moving up past them.
    void openUpChecks(const std::vector<quint32> &positions, qsizetype from, qsizetype to,
                      qsizetype shift, qsizetype firstMoving, const std::vector<quint8> &checks);

    TextPool m_texts;
    std::vector<quint8> m_checks;
};
