#pragma once

#include <QtGlobal>

#include <vector>

class QAbstractItemView;

// The list view's selection as the commands act on it.
namespace ListSelection {

// The selected rows of the first `items`, ascending: rows past the end of the list (while
// a removal goes on in slices) hold no item.
std::vector<qsizetype> selectedRows(const QAbstractItemView &view, qsizetype items);
// Makes the item at `row` current and the one selected item, whatever modifier keys are
// down (the view's own setCurrentIndex reads them).
void selectOnly(QAbstractItemView &view, int row);

} // namespace ListSelection
