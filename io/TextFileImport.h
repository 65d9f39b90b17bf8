#pragma once

#include <QString>

class ItemList;
class ListHost;

namespace List {

// Appends one item per line of the file at `path`. A missing file is told to the user
// ("File not found") and is no failure; a file that cannot be read throws Failure.
void TextFileToListview(ItemList &listView, const QString &path, ListHost &host);

} // namespace List
