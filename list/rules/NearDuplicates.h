#pragma once

#include "NearKey.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

class ItemList;
class ListHost;

// Groups of two or more items with one key, or, with slips, with keys that are slips of one
// another: their positions in list order, the largest
// group first (equal sizes in the order of their first items).
struct NearGroups
{
    std::vector<quint32> members;  // every group's members, one group after another
    std::vector<qsizetype> starts; // where each group begins in `members`, and the end
    qsizetype count() const { return qsizetype(starts.size()) - 1; }
    qsizetype size(qsizetype group) const
    {
        return starts[size_t(group + 1)] - starts[size_t(group)];
    }
    quint32 member(qsizetype group, qsizetype k) const
    {
        return members[size_t(starts[size_t(group)] + k)];
    }

    // Which member each group keeps unless the user picks another (from 0, within the group):
    // the last, but in a group joined by spelling slips the last of the spelling that most of
    // its items share, where one spelling is shared by more than any other.
    std::vector<quint32> kept;
    // For each group, how many of its items share the kept member's compared text when it is
    // kept for being that spelling; else 0.
    std::vector<quint32> keptSpellingShare;
    // Items left out of every group because they name more than one address (when addresses
    // are compared).
    qsizetype severalAddresses = 0;
    // The spelling-slip search found more pairs than anyone could review: no groups.
    bool tooManySlips = false;

    qsizetype keptMember(qsizetype group) const
    {
        return kept.empty() ? size(group) - 1 : qsizetype(kept[size_t(group)]);
    }
    qsizetype spellingShare(qsizetype group) const
    {
        return keptSpellingShare.empty() ? 0 : qsizetype(keptSpellingShare[size_t(group)]);
    }
};

namespace List {
// The list's near-duplicate groups, worked out a slice at a time with yields and again from
// the start when the list changes meanwhile; nothing when `abandon()` says so at a yield.
std::optional<NearGroups> FindNearDuplicates(
    ItemList &listView, const NearKeyOptions &options, ListHost &host,
    const std::function<bool()> &abandon = [] { return false; });
} // namespace List
