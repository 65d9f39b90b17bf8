#include "ListSelection.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <algorithm>

std::vector<qsizetype> ListSelection::selectedRows(const QAbstractItemView &view, qsizetype items)
{
    // From the selection's ranges: a million selected rows would cost a million indexes.
    const QItemSelection selection = view.selectionModel()->selection();
    const auto lastRow = [items](const QItemSelectionRange &range) {
        return int(std::min<qsizetype>(range.bottom(), items - 1));
    };
    qsizetype count = 0;
    bool ascending = true; // ranges one after another, as Ctrl+A or a drag leaves them
    int lastBottom = -1;
    for (const QItemSelectionRange &range : selection) {
        count += std::max(0, lastRow(range) - range.top() + 1);
        ascending = ascending && range.top() > lastBottom;
        lastBottom = range.bottom();
    }
    std::vector<qsizetype> rows;
    rows.reserve(size_t(count));
    for (const QItemSelectionRange &range : selection) {
        // A range's bounds are persistent indexes, looked up afresh at each call.
        for (int row = range.top(), bottom = lastRow(range); row <= bottom; ++row)
            rows.push_back(row);
    }
    if (!ascending) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    return rows;
}

void ListSelection::selectOnly(QAbstractItemView &view, int row)
{
    view.selectionModel()->setCurrentIndex(view.model()->index(row, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}
