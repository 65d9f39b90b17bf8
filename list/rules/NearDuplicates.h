#pragma once

#include "ComparedPart.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

class ItemList;
class ListHost;

// Near duplicates: items whose texts are equal once a normalisation has made them alike
// (the key-collision fingerprint of data-cleaning tools). Each part can be switched off.
struct NearKeyOptions
{
    bool foldCase = true;      // full case folding: "MÜLLER" = "müller", "ß" = "ss"
    bool compatibility = true; // NFKC: "ﬁ" = "fi", full-width forms = ASCII
    bool blanks = true;        // white space trimmed and collapsed, invisibles dropped
    bool accents = true;       // marks dropped after decomposition: "José" = "Jose"
    bool punctuation = false;  // punctuation and symbols dropped: "o'brien" = "obrien"
    bool wordOrder = false;    // words in sorted order: "Smith, John" = "John Smith"
    bool slips = false;        // keys a slip of the keyboard apart: "jonh" = "john"
    ComparedPart compared;     // what of each item the parts above apply to
};

// The text `text` is grouped by under `options` (its compared part left to the caller).
QString NearKey(QStringView text, const NearKeyOptions &options);
// The key an item is grouped by: NearKey of what is compared of it; none when the item has
// nothing to compare (no address, too few columns), and is not grouped.
// With compared addresses, the key is the two sides of the "@", each made a key on its own.
std::optional<QString> NearGroupKey(QStringView item, const NearKeyOptions &options);
// True when addresses are compared and the item names more than one: it is never grouped.
bool NamesSeveralAddresses(QStringView item, const NearKeyOptions &options);

// The text as the review shows it: a no-break space as "·", blanks at either end as "␣",
// and every other invisible or unusual blank by name ("⟨ZWSP⟩", "⟨U+2003⟩").
QString ShowInvisibles(QStringView text);

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
