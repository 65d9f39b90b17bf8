#include "Removal.h"

namespace List {

namespace {
constexpr qsizetype kSlice = 8192;
} // namespace

qsizetype copySlice(const ItemList &listView)
{
    return std::min(kSlice, listView.itemsPerRemovalSlice());
}

// Keeping the rest anew needs room for the items kept (their bytes and bounds), beside the
// whole list. Removing in place packs the items removed for the history as the list gives
// its own memory back, so it needs room only for what the history keeps beside the texts
// (their bounds and positions) and for what is packed ahead of what is given back: about
// twelve bytes an item removed, measured on lists of ten million. When at least two items go
// for each one kept, the one that needs less is chosen; otherwise the list is closed up in
// place.
bool keepsTheRest(const ItemList &listView, const ItemBits &taken)
{
    const qsizetype removed = taken.count();
    const qsizetype kept = listView.count() - removed;
    if (kept <= 0 || removed < 2 * kept)
        return false;
    // The items kept take about their share of the bytes (reading every one to be exact
    // would be a pause of its own on a list of tens of millions).
    const double keptBytes =
        double(listView.texts().byteCount()) * double(kept) / double(listView.count());
    const double roomKeepingTheRest = keptBytes + 8.0 * double(kept);
    const double roomInPlace = 12.0 * double(removed);
    return roomKeepingTheRest <= roomInPlace;
}

void remove(ItemList &listView, Removal &&removal, ListHost &host)
{
    if (!removal.kept.empty()) {
        listView.keepOnly(std::move(removal.kept), std::move(removal.keptTexts));
        return;
    }
    if (!removal.packedAsItGoes.empty())
        listView.startPackingRemoval(std::move(removal.packedAsItGoes));
    else
        listView.startRemoval(std::move(removal.positions), std::move(removal.texts));
    while (listView.changeUnderWay()) {
        host.yieldToEventLoop();
        listView.continueChange();
    }
}

} // namespace List
