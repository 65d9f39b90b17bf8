#pragma once

#include "Tidying.h"

#include "CaseOption.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

class ItemList;
class ListHost;
class TextPool;
class TextSearch;

// The procedures that work on the whole list. Each finishes a change under way before it
// reads the list, and before each pass over it again (ItemList::finishChange).
namespace List {

// The status line after a load: with no duplicates, without the count (nothing removed).
QString noDuplicatesStatus();
QString listLoadedStatus();

// Removes every item that equals a later item under the case option and reports the count.
void RemoveDupesAll(ItemList &listView, ListHost &host);
// Remove every item whose text contains / does not contain `searchText` (case-sensitive).
void RemoveItemsWith(ItemList &listView, const QString &searchText, ListHost &host);
void RemoveItemsWithout(ItemList &listView, const QString &searchText, ListHost &host);

QString duplicatesRemovedStatus(qsizetype count);
// The status line's note on items an address command passed over for naming more than one
// address ("2 items name more than one address and were left as they are.").
QString severalAddressesStatus(qsizetype count);

// The positions of the items that `matches`, found in slices with yields in between, and
// found again from the start when the list changes meanwhile.
std::vector<qsizetype> FindPositions(ItemList &listView, ListHost &host,
                                     const std::function<bool(ItemText)> &matches);

// How an item is looked up in a list: as a whole, or by the e-mail address in it (see
// EmailAddress), so that a list of bare addresses matches "Name <address>" items. By address,
// every address on a listed line counts, and an item naming several addresses is passed over:
// never removed, and kept by a keep-only list.
enum class ListedBy { WholeItem, EmailAddress };
struct ListedRemoval
{
    qsizetype removed = 0;
    qsizetype passedOver = 0; // the items left for naming several addresses
};
// Removes every item equal (under the case option) to one of `listed`.
ListedRemoval RemoveItemsListed(ItemList &listView, const TextPool &listed, ListHost &host,
                                ListedBy by = ListedBy::WholeItem);
// Removes every item equal to none of `listed` (by address: an item without one too).
ListedRemoval RemoveItemsNotListed(ItemList &listView, const TextPool &listed, ListHost &host,
                                   ListedBy by = ListedBy::WholeItem);

// The next item after `after` (numbering the list as it stands; -1: from the first) in which
// `search` finds its text, going round to the first item after the last; -1 when none does.
// Yields through `host` a slice at a time.
qsizetype FindNext(ItemList &listView, const TextSearch &search, qsizetype after, ListHost &host);

// Appends each of `lines` that the list does not hold yet, nor an earlier one of them, under
// the case option; returns how many it added and how many it refused.
struct AddedLines
{
    qsizetype added = 0;
    qsizetype refused = 0;
};
AddedLines AddLines(ItemList &listView, const QStringList &lines, ListHost &host);

// Gives every item the text `rule` makes of it (see Tidying.h) as one change, worked out a
// slice at a time with yields and again from the start when the list changes meanwhile;
// marks stay with their items. Returns how many items it changed.
qsizetype RewriteItems(ItemList &listView, ListHost &host, const Tidy::Rule &rule);
// Removes the items at `positions` (numbering the list at `revision`); nothing when the
// list has changed since. Returns how many it removed.
qsizetype RemoveItemsAt(ItemList &listView, std::vector<qsizetype> positions, quint64 revision,
                        ListHost &host);
// Removes the items that are empty or hold white space only; returns how many.
qsizetype RemoveBlankItems(ItemList &listView, ListHost &host);

// True when the list holds an item equal to `text` under `option`; looked for with yields.
bool ItemExists(ItemList &listView, QStringView text, CaseOption option, ListHost &host);

} // namespace List
