#pragma once

#include "CaseRule.h"

#include <QString>
#include <QStringView>

class ItemList;
class ListHost;

// The procedures that work on the whole list.
namespace List {

inline constexpr char16_t kNoDuplicatesStatus[] = u"List loaded. No duplicates found.";
inline constexpr char16_t kListLoadedStatus[] = u"List loaded. ";

// Removes every item that equals a later item under the case option and reports the count.
void RemoveDupesAll(ItemList &listView, ListHost &host);
// Remove every item whose text contains / does not contain `searchText` (case-sensitive).
void RemoveItemsWith(ItemList &listView, const QString &searchText, ListHost &host);
void RemoveItemsWithout(ItemList &listView, const QString &searchText, ListHost &host);

QString duplicatesRemovedStatus(qsizetype count);

// True when the list holds an item equal to `text` under `option`.
bool ItemExists(const ItemList &listView, QStringView text, CaseOption option);

} // namespace List
