#pragma once

#include <QString>

// The context menu's commands on `items` items: undo of a large duplicate removal, the
// history's memory, check marks in bulk, the suppression list, find, the clipboard, removal of
// the selection and sorting. Each figure stands beside a peer from the same run: the duplicate
// removal it undoes, a plain pass over the items, GNU sort, tac, Clear All Items or a load of
// the same lines.
void benchListMenu(const QString &folder, int items = 1000000);
