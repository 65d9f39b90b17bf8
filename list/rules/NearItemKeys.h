#pragma once

#include "NearKey.h"
#include "TextPool.h"

#include <functional>
#include <optional>
#include <vector>

class ItemList;
class ListHost;

// Every item's key (empty for an item without one) and its hash (0 for those), the positions
// of the items that have one, and how many were left out for naming several addresses. The
// keys stay in the slices they were made in: a million keys copied once more would cost
// more than looking them up.
struct NearItemKeys
{
    static constexpr qsizetype kSlice = 8192; // items whose keys are made in one go

    ItemText at(qsizetype position) const
    {
        return slices[size_t(position / kSlice)].at(position % kSlice);
    }
    qsizetype length(qsizetype position) const { return at(position).size(); }

    std::vector<TextPool> slices; // the keys of items [k * kSlice, (k + 1) * kSlice)
    std::vector<quint64> hashes;
    std::vector<quint32> grouped;
    qsizetype severalAddresses = 0;
};

// Every item's key, made a slice at a time on two threads from a copy of the list's texts
// that shares its buffer (a command run while the window takes its turns changes the list,
// never the copy); nothing when `giveUp()` says so at a turn. A failure on either thread is
// thrown here, on the window's.
std::optional<NearItemKeys> MakeNearItemKeys(const ItemList &listView,
                                             const NearKeyOptions &options, ListHost &host,
                                             const std::function<bool()> &giveUp);
