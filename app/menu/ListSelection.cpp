#include "ListSelection.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <algorithm>

std::vector<ListSelection::RowRun> ListSelection::selectedRuns(const QAbstractItemView &view,
                                                               qsizetype items)
{
    // From the selection's ranges: a million selected rows would cost a million indexes.
    const QItemSelection selection = view.selectionModel()->selection();
    std::vector<RowRun> ranges;
    ranges.reserve(size_t(selection.size()));
    for (const QItemSelectionRange &range : selection) {
        // A range's bounds are persistent indexes, looked up afresh at each call.
        const qsizetype first = range.top();
        const qsizetype end = std::min<qsizetype>(range.bottom() + 1, items);
        if (first < end)
            ranges.push_back({first, end});
    }
    // Ctrl+A or a drag leaves them one after another; clicks with Ctrl in any order.
    std::sort(ranges.begin(), ranges.end(),
              [](const RowRun &a, const RowRun &b) { return a.first < b.first; });
    std::vector<RowRun> runs;
    for (const RowRun &range : ranges) {
        if (!runs.empty() && range.first <= runs.back().end)
            runs.back().end = std::max(runs.back().end, range.end);
        else
            runs.push_back(range);
    }
    return runs;
}

std::vector<qsizetype> ListSelection::selectedRows(const QAbstractItemView &view, qsizetype items)
{
    const std::vector<RowRun> runs = selectedRuns(view, items);
    size_t count = 0;
    for (const RowRun &run : runs)
        count += size_t(run.end - run.first);
    std::vector<qsizetype> rows;
    rows.reserve(count);
    for (const RowRun &run : runs) {
        for (qsizetype row = run.first; row < run.end; ++row)
            rows.push_back(row);
    }
    return rows;
}

void ListSelection::selectOnly(QAbstractItemView &view, int row)
{
    view.selectionModel()->setCurrentIndex(view.model()->index(row, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}
