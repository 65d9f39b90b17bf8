#pragma once

#include <QtGlobal>

#include <vector>

class QAbstractItemView;

// The list view's selection as the commands act on it.
namespace ListSelection {

// Consecutive rows, from `first` up to but not including `end`.
struct RowRun
{
    qsizetype first = 0;
    qsizetype end = 0;
};

// The selected rows of the first `items` as runs, ascending, none overlapping or touching
// another: rows past the end of the list (while a removal goes on in slices) hold no item.
// As many runs as the user made ranges, however many rows they hold.
std::vector<RowRun> selectedRuns(const QAbstractItemView &view, qsizetype items);
// The same rows one by one.
std::vector<qsizetype> selectedRows(const QAbstractItemView &view, qsizetype items);
// Makes the item at `row` current and the one selected item, whatever modifier keys are
// down (the view's own setCurrentIndex reads them).
void selectOnly(QAbstractItemView &view, int row);

} // namespace ListSelection
