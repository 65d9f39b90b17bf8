#pragma once

#include "PackedTexts.h"
#include "TextPool.h"

#include <QtGlobal>

#include <memory>
#include <vector>

// What one change did to the list: enough to take it back and to make it again, and no more
// (removed items and where they stood, never a copy of the whole list).
struct ListChange
{
    enum class Kind {
        Appended,       // `count` items at `first` were added at the end
        Removed,        // the items `removed` at `removedAt` were removed
        Cleared,        // every item went: `texts`, with their marks `checks`
        ChecksReplaced, // every check mark changed at once; `checks` holds the other set
        MarksFlipped,   // the marks at `positions` were ticked or unticked by hand
        Rewritten,      // the `count` items were replaced by others: `texts` holds the
                        // other set; `order[i]` is where new item i stood, a new order of
                        // them all or the ascending positions of those kept (a removal that
                        // keeps the rest anew), empty when each stayed where it was
    };

    ListChange() = default;
    ListChange(Kind kind, qsizetype first, qsizetype count) : kind(kind), first(first), count(count)
    {
    }

    Kind kind = Kind::Appended;
    qsizetype first = 0;
    qsizetype count = 0;
    // MarksFlipped: the items whose marks changed, numbering the list as the change left it.
    std::vector<qsizetype> positions;
    // Removed: ascending positions in the list as it was before the removal, 32 bits each (a
    // list has fewer than 2^32 items); shared with the removal while it goes a slice at a time.
    std::shared_ptr<const std::vector<quint32>> removedAt;
    const std::vector<quint32> &removedPositions() const
    {
        static const std::vector<quint32> none;
        return removedAt ? *removedAt : none;
    }
    // Cleared: the items that went. Appended: the added items, once taken back. Rewritten:
    // the other set of texts.
    TextPool texts;
    // Removed: the items that went, in list order. Shared with the removal while it takes
    // them a slice at a time: it packs each as it goes (see ItemList::remove).
    std::shared_ptr<PackedTexts> removed;
    const PackedTexts &removedItems() const
    {
        static const PackedTexts none;
        return removed ? *removed : none;
    }
    // Removed and Cleared: their check marks. ChecksReplaced: the marks before (or after).
    // Rewritten, keeping some: every mark before.
    std::vector<quint8> checks;
    // Rewritten: for each position of the new order, the item's position before.
    std::vector<quint32> order;

    // The memory this record holds.
    qsizetype bytesHeld() const
    {
        return qsizetype(positions.capacity() * sizeof(qsizetype) + checks.capacity() +
                         (order.capacity() + removedPositions().capacity()) * sizeof(quint32)) +
               (texts.empty() ? 0 : texts.bytesHeld()) + removedItems().bytesHeld();
    }

    // Rewritten: true when it kept some of the items, not all of them in a new order.
    bool keptSome() const
    {
        return kind == Kind::Rewritten && !order.empty() && qsizetype(order.size()) < count;
    }

    // How many items this change took from the list.
    qsizetype removedCount() const
    {
        switch (kind) {
        case Kind::Removed:
            return count;
        case Kind::Cleared:
            return texts.size();
        case Kind::Rewritten:
            return keptSome() ? count - qsizetype(order.size()) : 0;
        default:
            return 0;
        }
    }
    // The items it took, in list order; only while it is made (not taken back).
    TextPool removedTexts() const;
};

// Told of every change to the list as it happens, with no yield in between.
class ListChangeObserver
{
public:
    virtual ~ListChangeObserver() = default;
    virtual void listChanged(ListChange &&change) = 0;
};
