#pragma once

#include "TextPool.h"

#include <QLocale>
#include <QtGlobal>

#include <vector>

class ItemList;
class ListHost;

namespace List {

// The order that sorts the list from A to Z, or from Z to A: natural order ("item2" before
// "item10") by the user's locale (see collationLocale), letter case ignored or matched as the case
// option says, equal items in the order they stand. order[i] is the position of the item that goes
// to i. Worked out in slices with yields in between, and again from the start when the list or the
// case option changes meanwhile.
std::vector<quint32> SortOrder(ItemList &listView, bool descending, ListHost &host);

// The locale whose collation sorts for a user of `userLocale`: the user's own, or English
// where no language is set.
QLocale collationLocale(const QLocale &userLocale);

// The order that turns the list round.
std::vector<quint32> ReversedOrder(qsizetype count);

// The list's items in `order` (order[i] goes to i), copied a slice at a time with yields in
// between; empty when the list changed meanwhile, or had a change under way (which it
// finishes): the order was worked out on another list then.
TextPool TextsInOrder(ItemList &listView, const std::vector<quint32> &order, ListHost &host);

} // namespace List
