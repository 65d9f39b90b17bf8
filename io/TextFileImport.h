#pragma once

#include "TextPool.h"

#include <QString>

#include <optional>

class ItemList;
class ListHost;

namespace List {

// Appends one item per line of the file at `path`. A missing file is told to the user
// ("File not found") and is no failure; a file that cannot be read throws Failure.
void TextFileToListview(ItemList &listView, const QString &path, ListHost &host);
// Appends `items` as a file's items are appended: at once into an empty list, a slice at a
// time with a yield before each into a list that has items. The view hears of items added to
// an empty list at the next change, or when the duplicate removal that follows every load
// is through (ItemList::appendPoolShownLater).
void PoolToListview(ItemList &listView, const TextPool &items, ListHost &host);

// The items of the file at `path`, read as TextFileToListview reads them; nothing when the
// file is missing or not a file (the user has been told).
std::optional<TextPool> ReadTextFile(const QString &path, ListHost &host);

} // namespace List
