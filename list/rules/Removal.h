#pragma once

#include "ItemBits.h"
#include "ItemList.h"
#include "ListHost.h"
#include "PackedTexts.h"
#include "TextPool.h"
#include "YieldPacing.h"

#include <algorithm>
#include <vector>

// How the procedures remove items: what a removal takes is prepared a slice at a time with
// yields, and again when the list changes meanwhile, then the list lets it go.
namespace List {

// What a removal takes: its positions (ascending) and, when the list keeps a history, their
// texts, copied beforehand. A removal that takes most of a long list keeps the rest anew
// instead: the positions and texts of the items it keeps, and the history takes the old
// texts whole, which costs no copy. Copying what is kept then touches far less new memory
// than copying what goes, and closing up the list is not needed at all.
struct Removal
{
    std::vector<qsizetype> positions;
    std::vector<quint32> packedAsItGoes; // positions of a removal that packs its texts itself
    PackedTexts texts;
    std::vector<quint32> kept;
    TextPool keptTexts;
    qsizetype count = 0; // items removed
};

// The items copied between two yields; fewer where the list is sliced finely (in tests).
qsizetype copySlice(const ItemList &listView);

// Whether removing `taken` keeps the rest anew rather than closing up the list in place.
bool keepsTheRest(const ItemList &listView, const ItemBits &taken);

// Removes what was prepared, a slice at a time with a yield between slices on long lists.
void remove(ItemList &listView, Removal &&removal, ListHost &host);

// Finds the items to remove with `find` (which starts over itself when the list changes
// while it yields), then copies the texts the history keeps of them, or of the items kept,
// a slice at a time, yielding between slices: copying millions of texts into new memory at
// once would hold the window up for a second. A change to the list meanwhile, or to what
// `stillHolds` checks, sends it back to finding.
template <typename Find, typename StillHolds = bool (*)()>
Removal prepareRemoval(
    const ItemList &listView, ListHost &host, Find find,
    StillHolds stillHolds = [] { return true; })
{
    for (;;) {
        const ItemBits taken = find();
        Removal removal;
        auto &positions = removal.positions;
        removal.count = taken.count();
        const qsizetype slice = copySlice(listView);
        if (!listView.recordsChanges() || removal.count <= slice) {
            positions = taken.setPositions();
            return removal; // the removal keeps them itself, at no cost worth a yield
        }
        const quint64 revision = listView.revision();
        YieldPacer pacer(host);
        bool changed = false;
        const auto yieldBetween = [&](bool last) {
            // The removal that follows has the window to itself too: yield after the last.
            if (pacer.due() || last) {
                host.yieldToEventLoop();
                changed = listView.revision() != revision || !stillHolds();
            }
        };
        const bool keepTheRest = keepsTheRest(listView, taken);
        yieldBetween(true);
        if (changed)
            continue;
        if (keepTheRest) {
            removal.kept = taken.clearPositions();
            const auto &kept = removal.kept;
            const qsizetype count = qsizetype(kept.size());
            qsizetype bytes = 0;
            for (const quint32 position : kept)
                bytes += listView.texts().bytesToAppend(position);
            removal.keptTexts.reserve(count, bytes);
            for (qsizetype from = 0; from < count && !changed; from += slice) {
                const qsizetype to = std::min(count, from + slice);
                for (qsizetype k = from; k < to; ++k)
                    removal.keptTexts.append(listView.text(kept[size_t(k)]));
                yieldBetween(to == count);
            }
        } else {
            // Millions of positions are written a part at a time, taking turns with the window.
            std::vector<quint32> ascending;
            ascending.reserve(size_t(removal.count));
            constexpr qsizetype kItemsAtOnce = qsizetype(1) << 22;
            for (qsizetype from = 0; from < taken.size() && !changed; from += kItemsAtOnce) {
                const qsizetype to = std::min(taken.size(), from + kItemsAtOnce);
                taken.appendSetPositions(ascending, from, to);
                yieldBetween(to == taken.size());
            }
            if (changed)
                continue;
            if (listView.packsAsItRemoves(ascending)) {
                removal.packedAsItGoes = std::move(ascending);
                // The removal packs the texts itself, a slice at a time, and has the window
                // to itself first.
                yieldBetween(true);
                if (!changed)
                    return removal;
                continue;
            }
            positions.assign(ascending.begin(), ascending.end());
            const qsizetype count = removal.count;
            for (qsizetype from = 0; from < count && !changed; from += slice) {
                const qsizetype to = std::min(count, from + slice);
                removal.texts = listView.gatherTexts(positions, from, to, std::move(removal.texts));
                yieldBetween(to == count);
            }
        }
        if (!changed)
            return removal;
    }
}

} // namespace List
